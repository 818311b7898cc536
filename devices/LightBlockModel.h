#pragma once

// The device side the mouse pad and the headset share: their lighting lives in a 21-byte
// configuration block that is read as 34 bytes at slot × 33 and written as 21 bytes at slot × 64
// (callers write slot 0), their power state, their profile paths and name lists, and the light
// preview's device frames. MousePadModel and HeadsetModel add their profile record and, for the
// headset, the LED output reports and the audio library.
//
// Configuration block as the page keeps it:
//    0  as last read                      5  multi-colour flag
//    1  light effect NUMBER (position in  6, 7, 8  red, green, blue
//       the effect code list)             4, 9-20  as last read
//    2  brightness level
//    3  speed LEVEL
// Towards the device byte 1 is the effect CODE of that number and byte 3 is 4 - speed level.
// Bytes 1-3 and 5-8 follow the page's lighting whenever the block is written.

#include "devices/ProfiledDeviceModel.h"
#include "protocol/Sequences.h"

#include <array>
#include <cstdint>
#include <optional>

namespace q407::profiles {
class CBasicProfiledata;
}

namespace q407::devices {

namespace light_block {
inline constexpr std::size_t kEffect = 1;
inline constexpr std::size_t kBrightness = 2;
inline constexpr std::size_t kSpeed = 3;
inline constexpr std::size_t kMultiColour = 5;
inline constexpr std::size_t kRed = 6;
inline constexpr std::size_t kSize = 21;
inline constexpr std::size_t kReadSize = 34;
} // namespace light_block

using LightBlock = std::array<std::uint8_t, light_block::kSize>;

// Light modes of the pad and the headset: 0 device frame A, 1 spectrum, 2 breathing, 3 steady,
// 4 blink, 6 device frame C, 7 device frame B, 8 off.
inline constexpr int kLastBlockLightMode = 8;

class LightBlockModel : public ProfiledDeviceModel {
public:
    explicit LightBlockModel(hid::HidBackend& backend, LightClock* clock = nullptr,
                             LightRandom* random = nullptr,
                             protocol::Pacer& pacer = protocol::DefaultPacer());
    ~LightBlockModel() override;

    // --- Device I/O ------------------------------------------------------------------------------
    // 0x01, 0x03 into the device information, 0x02. 1 done; 0 closed or a command failed.
    int ReadDeviceInfo();
    // The current slot (1 byte at 0) and its block (34 bytes at slot × 33): the first 21 bytes
    // are kept, byte 1 turned from effect code into effect number (unchanged when the code is
    // not in the list) and byte 3 into the speed level. 1 read; 0 closed or a command failed
    // (the slot stays the last one known).
    int ReadDeviceConfig();
    // Writes the block (with the page's lighting) at `slot` × 64: 0x01, 0x06, 0x02. A block is
    // read first when none has been, so the bytes the program does not know come from the
    // device. 1 written, 0 not.
    int WriteConfig(int slot, int value, int a, int b, int c) override;
    // The power state (0x1A, 6 bytes at 0) with byte 3 replaced by the wireless flag; nothing
    // when closed or the read failed.
    std::optional<std::array<std::uint8_t, 6>> PollPowerState();

    // --- Profile (the pad and the headset have no saved user effects among their modes) -------
    // The profile's lighting becomes the preview's and fills the block.
    void LoadLighting() override;

    // --- Name lists (macro names from "ravik_macro.config") -----------------------------------
    using ProfiledDeviceModel::SetLightTable;

    // --- Preview -------------------------------------------------------------------------------
    // The ring runs along the edge: a marker at a position that has an LED lights that LED.
    void MarkRingLeds() override;
    void PreviewDeviceFrameA() override; // each LED steps along the hue wheel
    void PreviewDeviceFrameB() override; // one marker runs round the edge with a fading tail
    void PreviewDeviceFrameC() override; // three markers chase round the edge

    // --- Accessors -----------------------------------------------------------------------------
    const LightBlock& ConfigBlock() const { return m_configBlock; }
    bool BlockRead() const { return m_blockRead; }
    int CurrentSlot() const { return m_currentSlot; }
    const std::array<std::uint8_t, protocol::kDeviceInfoSize>& DeviceInfo() const {
        return m_deviceInfo;
    }

protected:
    // The effect code list position a light mode is sent as.
    virtual std::size_t EffectPositionOf(int mode) const;
    // Called by LoadProfile after the record was read.
    void TakeProfile() override { LoadLighting(); }

private:
    void FillBlockFromLighting(LightBlock& block) const;
    void RunRingFrame(int markers, int mode);

    std::array<std::uint8_t, protocol::kDeviceInfoSize> m_deviceInfo{};
    LightBlock m_configBlock{};
    bool m_blockRead = false;
    std::uint8_t m_currentSlot = 0;
};

} // namespace q407::devices
