#include "profiles/RecoilTables.h"

#include "common/AtomicFile.h"
#include "profiles/JsonFile.h"
#include "profiles/MacroImage.h"

#include <algorithm>
#include <limits>

namespace q407::profiles {
namespace {

constexpr int kLeftButton = 0x01;
constexpr int kButtonType = 1;
constexpr int kMoveXType = 4;
constexpr int kMoveYType = 5;
constexpr int kShotDelay = 10;
constexpr int kMoveDelay = 5;

Json::Value EventValue(bool down, int button, int delay, int type) {
    Json::Value event(Json::objectValue);
    event["Action"] = down ? "down" : "up";
    event["Button"] = button;
    event["Delay"] = delay;
    event["Type"] = type;
    return event;
}

// The six events of a bullet, in file order.
std::vector<Json::Value> BulletEvents(const Bullet& b) {
    return {EventValue(true, kLeftButton, kShotDelay, kButtonType),
            EventValue(false, kLeftButton, 0, kButtonType),
            EventValue(b.left, b.x, kMoveDelay, kMoveXType),
            EventValue(b.up, b.y, b.delay, kMoveYType),
            EventValue(b.left, 0, 0, kMoveXType),
            EventValue(b.up, 0, 0, kMoveYType)};
}

bool IsBullet(int bullet) {
    return bullet >= 0 && bullet < kBulletCount;
}

} // namespace

Bullet ClampBullet(Bullet bullet) {
    bullet.x = std::clamp(bullet.x, 0, kMaxBulletDistance);
    bullet.y = std::clamp(bullet.y, 0, kMaxBulletDistance);
    bullet.delay = std::clamp(bullet.delay, 0, kMaxBulletDelay);
    return bullet;
}

std::string GunFileName(int gun) {
    return "ShootData_" + std::to_string(gun) + ".Shoot";
}

RecoilTables::RecoilTables(std::filesystem::path folder, std::filesystem::path factoryFolder)
    : m_folder(std::move(folder)), m_factoryFolder(std::move(factoryFolder)) {}

std::filesystem::path RecoilTables::GunPath(int gun) const {
    return m_folder / GunFileName(gun);
}

std::filesystem::path RecoilTables::FactoryPath(int gun) const {
    return m_factoryFolder / GunFileName(gun);
}

int RecoilTables::CopyFile(const std::filesystem::path& from,
                           const std::filesystem::path& to) const {
    const auto bytes = ReadFileBounded(from, kMaxJsonFileBytes);
    if (!bytes) {
        return kRefused;
    }
    return WriteFileAtomically(to, *bytes) ? kDone : kWriteFailed;
}

int RecoilTables::RestoreUnreadable() {
    int restored = 0;
    for (int gun = 0; gun < kGunCount; ++gun) {
        const JsonDocument file = ReadJsonDocument(GunPath(gun));
        if (file.state == JsonFileState::Ok) {
            continue;
        }
        if (file.state != JsonFileState::Missing && !SetAsideDamagedFile(GunPath(gun))) {
            continue;
        }
        if (CopyFile(FactoryPath(gun), GunPath(gun)) == kDone) {
            ++restored;
        }
    }
    return restored;
}

Bullet RecoilTables::ReadBullet(int gun, int bullet) const {
    Bullet values;
    if (!IsGun(gun) || !IsBullet(bullet)) {
        return values;
    }
    const Json::Value events = Member(ReadJsonFile(GunPath(gun)), "Events");
    const auto first = static_cast<Json::ArrayIndex>(bullet * kEventsPerBullet);
    const Json::Value& x = Element(events, first + 2);
    const Json::Value& y = Element(events, first + 3);
    values.left = AsString(Member(x, "Action")) == "down";
    values.x = AsInt(Member(x, "Button"));
    values.up = AsString(Member(y, "Action")) == "down";
    values.y = AsInt(Member(y, "Button"));
    values.delay = AsInt(Member(y, "Delay"));
    return values;
}

int RecoilTables::StoreBullet(int gun, int bullet, const Bullet& values) {
    if (!IsGun(gun) || !IsBullet(bullet)) {
        return kRefused;
    }
    JsonDocument file = ReadJsonDocument(GunPath(gun));
    if (file.state == JsonFileState::Invalid && !SetAsideDamagedFile(GunPath(gun))) {
        return kWriteFailed;
    }
    Json::Value document = file.state == JsonFileState::Ok && file.value.isObject()
                               ? std::move(file.value)
                               : Json::Value(Json::objectValue);
    if (!document.isMember("Version")) {
        document["Version"] = CMacroLibrary::kEventFileVersion;
    }
    Json::Value& events = MutableMember(document, "Events");
    if (!events.isArray()) {
        events = Json::Value(Json::arrayValue);
    }
    const auto first = static_cast<Json::ArrayIndex>(bullet * kEventsPerBullet);
    // Bullets before this one that the file lacks are empty shots, so the events keep their
    // places.
    while (events.size() < first) {
        for (const Json::Value& event : BulletEvents(Bullet{})) {
            events.append(event);
        }
    }
    const std::vector<Json::Value> replacement = BulletEvents(ClampBullet(values));
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        events[first + static_cast<Json::ArrayIndex>(i)] = replacement[i];
    }
    return WriteJsonFile(document, GunPath(gun)) ? kDone : kWriteFailed;
}

int RecoilTables::ResetGun(int gun) {
    return IsGun(gun) ? CopyFile(FactoryPath(gun), GunPath(gun)) : kRefused;
}

int RecoilTables::ImportGun(int gun, const std::filesystem::path& source) {
    if (!IsGun(gun) || ReadJsonDocument(source).state != JsonFileState::Ok) {
        return kRefused;
    }
    return CopyFile(source, GunPath(gun));
}

int RecoilTables::ExportGun(int gun, const std::filesystem::path& target) const {
    return IsGun(gun) ? CopyFile(GunPath(gun), target) : kRefused;
}

std::vector<MacroEvent> RecoilTables::GunEvents(int gun) const {
    return IsGun(gun) ? CMacroLibrary::ParseEvents(ReadJsonFile(GunPath(gun)))
                      : std::vector<MacroEvent>();
}

std::vector<std::uint8_t> RecoilTables::BuildImage() const {
    std::vector<std::vector<MacroEvent>> guns;
    for (int gun = 0; gun < kGunCount; ++gun) {
        guns.push_back(GunEvents(gun));
    }
    // The recoil memory is not measured against the macro capacity; only the image's own
    // 16-bit length limits it.
    std::vector<std::uint8_t> image;
    BuildMacroImage(guns, std::numeric_limits<std::uint16_t>::max(), image);
    return image;
}

} // namespace q407::profiles
