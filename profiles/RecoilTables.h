#pragma once

// The recoil tables of a mouse: four guns of thirty bullets, one file per gun in the device
// folder ("ShootData_N.Shoot", N = 0-3), with factory copies of the same names in the program's
// default data folder. A gun file is a macro event file whose "Button" and "Delay" are JSON
// integers. Each bullet is six events, bullet b at 6b … 6b+5:
//
//   6b    "down" left button  delay 10      the shot
//   6b+1  "up"   left button  delay 0
//   6b+2  x direction, Type 4 (horizontal move) x distance, delay 5
//   6b+3  y direction, Type 5 (vertical move)   y distance, delay = the bullet's delay
//   6b+4  x direction, Type 4, distance 0, delay 0
//   6b+5  y direction, Type 5, distance 0, delay 0
//
// A direction is "down" for left (x) or up (y) and "up" for right or down. The mouse receives
// the four guns as one image in the layout of the device macro image (profiles/MacroImage.h).
//
// The mouse keeps the low 8 bits of a distance and the low 16 bits of a delay, so values beyond
// them are held at 255 and 65535 before they are stored: what the file holds is what the mouse
// plays.

#include "profiles/CMacroLibrary.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace q407::profiles {

inline constexpr int kGunCount = 4;
inline constexpr int kBulletCount = 30;
inline constexpr int kEventsPerBullet = 6;
inline constexpr int kMaxBulletDistance = 0xFF;
inline constexpr int kMaxBulletDelay = 0xFFFF;

struct Bullet {
    int x = 0;
    int y = 0;
    bool left = false; // x direction: left, else right
    bool up = false;   // y direction: up, else down
    int delay = 0;
    friend bool operator==(const Bullet&, const Bullet&) = default;
};

// Distances held at 0-255, the delay at 0-65535.
Bullet ClampBullet(Bullet bullet);

// "ShootData_" + gun + ".Shoot".
std::string GunFileName(int gun);

class RecoilTables {
public:
    static constexpr int kWriteFailed = -1;
    static constexpr int kRefused = 0;
    static constexpr int kDone = 1;

    // `folder` holds the user's gun files; `factoryFolder` their factory copies.
    RecoilTables(std::filesystem::path folder, std::filesystem::path factoryFolder);

    std::filesystem::path GunPath(int gun) const;
    std::filesystem::path FactoryPath(int gun) const;

    // Gun files that cannot be read are restored from their factory copies (a damaged one is
    // kept as ".bak"). Returns how many were restored.
    int RestoreUnreadable();

    // Bullet b of gun g; empty values when the file or the bullet is missing.
    Bullet ReadBullet(int gun, int bullet) const;
    // Replaces the six events of the bullet (clamped as ClampBullet) and writes the file; every
    // other event and member stays. A file too short for the bullet is first filled up with
    // empty bullets.
    int StoreBullet(int gun, int bullet, const Bullet& values);
    // Copies the factory file byte for byte over the gun file.
    int ResetGun(int gun);
    // Copies `source` byte for byte over the gun file; refused when it is not a JSON document,
    // so a wrong file never replaces the gun's table.
    int ImportGun(int gun, const std::filesystem::path& source);
    int ExportGun(int gun, const std::filesystem::path& target) const;

    std::vector<MacroEvent> GunEvents(int gun) const;
    // The four guns as the image written with command 0x17.
    std::vector<std::uint8_t> BuildImage() const;

private:
    static bool IsGun(int gun) { return gun >= 0 && gun < kGunCount; }
    int CopyFile(const std::filesystem::path& from, const std::filesystem::path& to) const;

    std::filesystem::path m_folder;
    std::filesystem::path m_factoryFolder;
};

} // namespace q407::profiles
