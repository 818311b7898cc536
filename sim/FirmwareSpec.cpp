#include "sim/FirmwareSpec.h"

#include <initializer_list>

namespace q407::sim {

namespace {

constexpr std::size_t kProfiles = 5;
constexpr std::size_t kSettingsMemory = 512;

void SetInfo(FirmwareSpec& spec, std::uint8_t keyPositions, std::uint8_t macroUnits,
             std::uint16_t sensor, std::uint8_t dpiStep, std::uint16_t dpiBase) {
    auto& info = spec.deviceInfo;
    info[0] = 0x01; // firmware 1.03
    info[1] = 0x03;
    info[2] = 0x00;
    info[3] = static_cast<std::uint8_t>(spec.kind);
    info[4] = spec.throughReceiver ? 1 : 0;
    info[5] = keyPositions;
    info[6] = macroUnits;
    info[7] = 1;
    info[9] = static_cast<std::uint8_t>(sensor & 0xFF);
    info[10] = static_cast<std::uint8_t>(sensor >> 8);
    info[11] = dpiStep;
    info[14] = static_cast<std::uint8_t>(dpiBase & 0xFF);
    info[15] = static_cast<std::uint8_t>(dpiBase >> 8);
}

// The mouse's key positions: the five buttons, wheel up/down, DPI up/down and spare keys.
std::vector<std::uint8_t> MouseKeyCodes(std::size_t positions) {
    std::vector<std::uint8_t> table;
    for (std::size_t k = 0; k < positions; ++k) {
        const bool button = k < 5;
        table.push_back(button ? 0x10 : 0x30);
        table.push_back(static_cast<std::uint8_t>(button ? (1U << k) : k));
        table.push_back(0x00);
    }
    return table;
}

struct KeyCode {
    std::uint8_t category, param1, param2;
};

// Factory codes of the keyboard's positions 0..125 in logical key order, then empty positions.
std::vector<std::uint8_t> KeyboardKeyCodes(std::size_t positions) {
    auto key = [](std::uint8_t usage) { return KeyCode{0x20, 0x00, usage}; };
    auto mod = [](std::uint8_t bit) { return KeyCode{0x20, bit, 0x00}; };
    const KeyCode empty{0x20, 0x00, 0x00};
    std::vector<KeyCode> codes = {key(0x29)};
    for (std::uint8_t f = 0x3A; f <= 0x45; ++f) {
        codes.push_back(key(f));
    }
    for (const KeyCode c : {key(0x46), key(0x47), key(0x48), KeyCode{0xA0, 0x1B, 0x00},
                            KeyCode{0xA0, 0x24, 0x00}, empty, empty, empty, key(0x35)}) {
        codes.push_back(c);
    }
    for (std::uint8_t d = 0x1E; d <= 0x27; ++d) {
        codes.push_back(key(d));
    }
    const std::initializer_list<KeyCode> rest = {key(0x2D),
                                                 key(0x2E),
                                                 key(0x2A),
                                                 key(0x49),
                                                 key(0x4A),
                                                 key(0x4B),
                                                 key(0x53),
                                                 key(0x54),
                                                 key(0x55),
                                                 key(0x56),
                                                 key(0x2B),
                                                 key(0x14),
                                                 key(0x1A),
                                                 key(0x08),
                                                 key(0x15),
                                                 key(0x17),
                                                 key(0x1C),
                                                 key(0x18),
                                                 key(0x0C),
                                                 key(0x12),
                                                 key(0x13),
                                                 key(0x2F),
                                                 key(0x30),
                                                 key(0x31),
                                                 key(0x4C),
                                                 key(0x4D),
                                                 key(0x4E),
                                                 key(0x5F),
                                                 key(0x60),
                                                 key(0x61),
                                                 key(0x32),
                                                 key(0x39),
                                                 key(0x04),
                                                 key(0x16),
                                                 key(0x07),
                                                 key(0x09),
                                                 key(0x0A),
                                                 key(0x0B),
                                                 key(0x0D),
                                                 key(0x0E),
                                                 key(0x0F),
                                                 key(0x33),
                                                 key(0x34),
                                                 key(0x28),
                                                 key(0x5C),
                                                 key(0x5D),
                                                 key(0x5E),
                                                 key(0x8A),
                                                 key(0x8B),
                                                 key(0x90),
                                                 key(0x91),
                                                 key(0x88),
                                                 mod(0x02),
                                                 key(0x1D),
                                                 key(0x1B),
                                                 key(0x06),
                                                 key(0x19),
                                                 key(0x05),
                                                 key(0x11),
                                                 key(0x10),
                                                 key(0x36),
                                                 key(0x37),
                                                 key(0x38),
                                                 mod(0x20),
                                                 key(0x52),
                                                 key(0x59),
                                                 key(0x5A),
                                                 key(0x5B),
                                                 key(0x87),
                                                 key(0x89),
                                                 key(0x64),
                                                 key(0x85),
                                                 empty,
                                                 mod(0x01),
                                                 mod(0x08),
                                                 mod(0x04),
                                                 key(0x2C),
                                                 mod(0x40),
                                                 {0xA0, 0x01, 0x00},
                                                 key(0x65),
                                                 mod(0x10),
                                                 key(0x50),
                                                 key(0x51),
                                                 key(0x4F),
                                                 key(0x62),
                                                 key(0x63),
                                                 key(0x58),
                                                 key(0x57),
                                                 {0xD0, 0xA2, 0x01},
                                                 {0xD0, 0xA2, 0x02},
                                                 {0xD0, 0xA2, 0x03},
                                                 {0xD0, 0xA2, 0x04},
                                                 {0xD0, 0xA2, 0x05},
                                                 mod(0x80)};
    codes.insert(codes.end(), rest);
    std::vector<std::uint8_t> table;
    for (std::size_t k = 0; k < positions; ++k) {
        const KeyCode c = k < codes.size() ? codes[k] : empty;
        table.insert(table.end(), {c.category, c.param1, c.param2});
    }
    return table;
}

// A mouse block: light, report rate, six DPI stages, angle snapping, lift-off distance.
void FillMouseBlocks(FirmwareSpec& spec, bool stepped) {
    spec.settingsMemory.assign(kSettingsMemory, 0);
    const std::uint16_t dpis[6] = {400, 800, 1600, 3200, 6400, 12800};
    const std::uint8_t colours[6][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                        {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
    const std::uint16_t base = spec.deviceInfo[14] | (spec.deviceInfo[15] << 8);
    const std::uint8_t step = spec.deviceInfo[11] != 0 ? spec.deviceInfo[11] : 1;
    for (std::size_t p = 0; p < kProfiles; ++p) {
        std::uint8_t* b = spec.settingsMemory.data() + p * kMouseBlockStride;
        b[1] = 1;                                 // light effect code
        b[2] = 4;                                 // brightness
        b[3] = 2;                                 // 4 - speed
        b[5] = 1;                                 // multi-colour
        b[6] = 255;                               // red
        b[11] = 3;                                // report rate choice
        b[12] = static_cast<std::uint8_t>(p % 6); // active stage
        for (std::size_t i = 0; i < 6; ++i) {
            std::uint8_t* s = b + 14 + 9 * i;
            const std::uint16_t value =
                stepped ? static_cast<std::uint16_t>((dpis[i] - base) / step) : dpis[i];
            s[0] = 1;
            s[1] = 0;
            s[2] = static_cast<std::uint8_t>(value & 0xFF);
            s[3] = static_cast<std::uint8_t>(value >> 8);
            s[4] = s[2];
            s[5] = s[3];
            s[6] = colours[i][0];
            s[7] = colours[i][1];
            s[8] = colours[i][2];
        }
        b[77] = 0; // angle snapping
        b[78] = 1; // lift-off distance
    }
    spec.settingsMemory[0] = 0; // current profile
}

// Light blocks of the keyboard, mouse pad and headset (34 bytes at profile × 33).
void FillLightBlocks(FirmwareSpec& spec) {
    spec.settingsMemory.assign(kSettingsMemory, 0);
    for (std::size_t p = kProfiles; p-- > 0;) { // later blocks first: blocks overlap by one byte
        std::uint8_t* b = spec.settingsMemory.data() + p * kKeyboardBlockStride;
        b[0] = static_cast<std::uint8_t>(p);
        b[1] = 2; // effect code
        b[2] = 4;
        b[3] = 2;
        b[5] = 1;
        b[6] = 0;
        b[7] = 128;
        b[8] = 255;
        if (spec.kind == ProductKind::Keyboard) {
            b[19] = 0; // "W" switch
            b[20] = 0; // 6-key mode
            b[21] = 0; // Win lock
            b[22] = 3; // report rate index
            b[25] = 0; // custom colour group
        }
    }
}

FirmwareSpec BaseSpec(const char* name, ProductKind kind, bool throughReceiver) {
    FirmwareSpec spec;
    spec.name = name;
    spec.kind = kind;
    spec.throughReceiver = throughReceiver;
    spec.powerState = {80, 0, 0, 0, 1, 0, 0, 0};
    return spec;
}

FirmwareSpec Mouse(const char* name, bool throughReceiver, std::uint16_t sensor) {
    FirmwareSpec spec = BaseSpec(name, ProductKind::Mouse, throughReceiver);
    SetInfo(spec, 16, 32, sensor, 50, 100);
    spec.defaultKeyTable = MouseKeyCodes(spec.KeyPositions());
    spec.keyTable = spec.defaultKeyTable;
    spec.ledIndexTable.resize(spec.KeyPositions(), 0xFF);
    FillMouseBlocks(spec, sensor == 0x3395);
    spec.recoilMemorySize = 4096;
    return spec;
}

} // namespace

FirmwareSpec SaneMouseA(bool throughReceiver) {
    return Mouse(throughReceiver ? "mouse A (receiver)" : "mouse A", throughReceiver, 0x3325);
}

FirmwareSpec SaneMouseB() {
    return Mouse("mouse B (receiver)", true, 0x3395);
}

FirmwareSpec SaneKeyboard(bool throughReceiver) {
    FirmwareSpec spec = BaseSpec(throughReceiver ? "keyboard K (receiver)" : "keyboard K",
                                 ProductKind::Keyboard, throughReceiver);
    SetInfo(spec, 170, 64, 0, 0, 0);
    spec.deviceInfo[7] = 0;
    spec.defaultKeyTable = KeyboardKeyCodes(spec.KeyPositions());
    spec.keyTable = spec.defaultKeyTable;
    spec.ledIndexTable.resize(spec.KeyPositions());
    for (std::size_t k = 0; k < spec.ledIndexTable.size(); ++k) {
        // a permutation of the LED slots, so position and LED slot differ
        spec.ledIndexTable[k] = static_cast<std::uint8_t>((k * 7) % spec.KeyPositions());
    }
    FillLightBlocks(spec);
    // Five custom colour groups; the first holds a gradient across the LED slots, so the custom
    // colour mode shows something before the user paints.
    spec.indexedMemory.assign(5 * 512, 0);
    for (std::size_t slot = 0; slot < spec.KeyPositions(); ++slot) {
        const auto share = static_cast<std::uint8_t>(slot * 255 / spec.KeyPositions());
        spec.indexedMemory[3 * slot] = share;
        spec.indexedMemory[3 * slot + 1] = static_cast<std::uint8_t>(255 - share);
        spec.indexedMemory[3 * slot + 2] = 160;
    }
    spec.lightFrameSize = 3 * spec.KeyPositions();
    return spec;
}

FirmwareSpec SaneMousePad() {
    FirmwareSpec spec = BaseSpec("mouse pad", ProductKind::MousePad, false);
    SetInfo(spec, 0, 0, 0, 0, 0);
    FillLightBlocks(spec);
    spec.powerState = {100, 2, 0, 0, 0, 1, 0, 0};
    return spec;
}

FirmwareSpec SaneHeadset() {
    FirmwareSpec spec = BaseSpec("headset", ProductKind::Headset, false);
    SetInfo(spec, 0, 0, 0, 0, 0);
    FillLightBlocks(spec);
    return spec;
}

} // namespace q407::sim
