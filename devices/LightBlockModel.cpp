#include "devices/LightBlockModel.h"

#include "profiles/CBasicProfiledata.h"

#include <algorithm>

namespace q407::devices {
namespace {

namespace p = protocol;
namespace lb = light_block;

constexpr int kMaxSpeedLevel = 4;
// Hue steps between neighbouring LEDs of the marker frames.
constexpr unsigned kHueSpread = 12;

} // namespace

LightBlockModel::LightBlockModel(hid::HidBackend& backend, LightClock* clock, LightRandom* random,
                                 protocol::Pacer& pacer)
    // The pad and the headset have no saved user effects among their modes.
    : ProfiledDeviceModel(backend, {kLastBlockLightMode + 1, "ravik_macro.config"}, clock, random,
                          pacer) {}

LightBlockModel::~LightBlockModel() {
    // The threads call this object's frames: stop them before its members go.
    StopPageThreads();
}

// --- Device I/O ----------------------------------------------------------------------------------

int LightBlockModel::ReadDeviceInfo() {
    if (!IsOpen()) {
        return 0;
    }
    return p::ReadDeviceInformation(Protocol(), m_deviceInfo) == p::kResultOk ? 1 : 0;
}

int LightBlockModel::ReadDeviceConfig() {
    if (!IsOpen()) {
        return 0;
    }
    std::uint8_t slot = 0;
    std::array<std::uint8_t, lb::kReadSize> read{};
    if (p::ReadSettingsSequence(Protocol(), p::kPadSettings, slot, read) != p::kResultOk) {
        return 0;
    }
    EnsureEffectCodes();
    m_currentSlot = slot;
    std::copy_n(read.begin(), lb::kSize, m_configBlock.begin());
    RefreshFrameTemplate(std::span(read.data(), lb::kSize));
    const std::vector<int>& codes = EffectCodes();
    const auto code = std::find(codes.begin(), codes.end(), read[lb::kEffect]);
    if (code != codes.end()) {
        m_configBlock[lb::kEffect] = static_cast<std::uint8_t>(code - codes.begin());
    }
    // A stored speed above the last level is a fault of the device; show it as level 0.
    m_configBlock[lb::kSpeed] = read[lb::kSpeed] <= kMaxSpeedLevel
                                    ? static_cast<std::uint8_t>(kMaxSpeedLevel - read[lb::kSpeed])
                                    : 0;
    m_blockRead = true;
    return 1;
}

std::size_t LightBlockModel::EffectPositionOf(int mode) const {
    return static_cast<std::size_t>(std::max(mode, 0));
}

void LightBlockModel::FillBlockFromLighting(LightBlock& block) const {
    const profiles::LightInfo info = GetLightParams();
    block[lb::kEffect] = info.mode;
    block[lb::kBrightness] = info.brightness;
    block[lb::kSpeed] = static_cast<std::uint8_t>(std::min<int>(info.speed, kMaxSpeedLevel));
    block[lb::kMultiColour] = info.multiColor;
    block[lb::kRed] = info.red;
    block[lb::kRed + 1] = info.green;
    block[lb::kRed + 2] = info.blue;
}

int LightBlockModel::WriteConfig(int slot, int value, int a, int b, int c) {
    (void)value;
    (void)a;
    (void)b;
    (void)c;
    if (!IsOpen()) {
        return 0;
    }
    // The bytes the program does not know must come from the device, never from zeros.
    if (!m_blockRead && ReadDeviceConfig() != 1) {
        return 0;
    }
    EnsureEffectCodes();
    FillBlockFromLighting(m_configBlock);
    LightBlock out = m_configBlock;
    const std::size_t position = EffectPositionOf(m_configBlock[lb::kEffect]);
    if (position < EffectCodes().size()) {
        out[lb::kEffect] = static_cast<std::uint8_t>(std::clamp(EffectCodes()[position], 0, 0xFF));
    }
    out[lb::kSpeed] = static_cast<std::uint8_t>(kMaxSpeedLevel - m_configBlock[lb::kSpeed]);
    FrameTemplate frameTemplate{{out.begin(), out.end()}, p::kPadSettings,  slot,     lb::kEffect,
                                lb::kBrightness,          lb::kMultiColour, lb::kRed, std::nullopt};
    if (const auto steady = LightModeFor(Kind(), SharedMode::Steady)) {
        if (const std::size_t at = EffectPositionOf(*steady); at < EffectCodes().size()) {
            frameTemplate.steadyEffect =
                static_cast<std::uint8_t>(std::clamp(EffectCodes()[at], 0, 0xFF));
        }
    }
    return WriteWithFrameTemplate(std::move(frameTemplate), [&] {
        return p::WriteSettingsSequence(Protocol(), p::kPadSettings, slot, out) == p::kResultOk ? 1
                                                                                                : 0;
    });
}

std::optional<std::array<std::uint8_t, 6>> LightBlockModel::PollPowerState() {
    if (!IsOpen()) {
        return std::nullopt;
    }
    std::array<std::uint8_t, 6> state{};
    const int result =
        p::RunLinked(Protocol(), [&] { return Protocol().ReadPowerState(state.data(), 6, 0); });
    if (result != p::kResultOk) {
        return std::nullopt;
    }
    state[3] = IsWireless() ? 1 : 0;
    return state;
}

// --- Profile -------------------------------------------------------------------------------------

void LightBlockModel::LoadLighting() {
    profiles::CBasicProfiledata& record = Record();
    DeviceModel::SetLightParams(record.GetLightInfo());
    FillBlockFromLighting(m_configBlock);
    record.GetLightList();
    if (!record.GetLightConfigPath().empty()) {
        record.LoadLightConfig(record.GetLightConfigPath());
    }
    SetEffectSteps(record.GetLedEffect());
}

// --- Preview -------------------------------------------------------------------------------------

void LightBlockModel::MarkRingLeds() {
    const auto leds = static_cast<std::size_t>(LedCount());
    EditPreview([leds](PreviewBuffers& b) {
        const std::size_t reach = std::min({leds, b.ring.size(), b.levels.size()});
        for (std::size_t position = 0; position < reach; ++position) {
            if (b.ring[position] != 0) {
                b.levels[position] = 255;
            }
        }
    });
}

void LightBlockModel::PreviewDeviceFrameA() {
    EditPreview([](PreviewBuffers& b) { light::PreviewHueWave(b.leds, b.state, b.params); });
}

void LightBlockModel::RunRingFrame(int markers, int mode) {
    const int leds = LedCount();
    const profiles::LightInfo params = GetLightParams();
    EditPreview([markers](PreviewBuffers& b) {
        if (std::all_of(b.ring.begin(), b.ring.end(), [](std::uint8_t v) { return v == 0; })) {
            for (int k = 0; k < markers; ++k) {
                b.ring[static_cast<std::size_t>(k) * b.ring.size() /
                       static_cast<std::size_t>(markers)] = 1;
            }
        }
    });
    RotateRing(params.direction);
    for (int led = 0; led < leds; ++led) {
        FadeLedStep(led, mode);
    }
    MarkRingLeds();
    EditPreview([](PreviewBuffers& b) {
        light::PreviewRingColours(b.leds, b.state, b.params, b.levels, kHueSpread);
    });
}

void LightBlockModel::PreviewDeviceFrameB() {
    RunRingFrame(1, 7);
}

void LightBlockModel::PreviewDeviceFrameC() {
    RunRingFrame(3, 6);
}

} // namespace q407::devices
