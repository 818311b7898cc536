#include "devices/SharedLightEffect.h"

#include "devices/PageEventTable.h"

namespace q407::devices {
namespace {

// Each kind's light mode for the shared modes, in SharedMode order.
struct KindModes {
    int kind;
    std::array<std::uint8_t, kSharedModeCount> modes;
};
constexpr std::array<KindModes, 4> kKindModes{{
    {kKindKeyboard, {5, 6, 23, 4, 28}},
    {kKindMouse, {2, 3, 4, 1, 10}},
    {kKindMousePad, {2, 3, 4, 1, 8}},
    {kKindHeadset, {2, 3, 4, 1, 8}},
}};

const KindModes* ModesOf(int kind) {
    for (const KindModes& entry : kKindModes) {
        if (entry.kind == kind) {
            return &entry;
        }
    }
    return nullptr;
}

constexpr std::array<unsigned, 5> kFrameTicks{8, 6, 4, 2, 1};

} // namespace

std::optional<SharedMode> SharedModeOf(int kind, int mode) {
    const KindModes* modes = ModesOf(kind);
    if (modes == nullptr) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < modes->modes.size(); ++i) {
        if (modes->modes[i] == mode) {
            return static_cast<SharedMode>(i);
        }
    }
    return std::nullopt;
}

std::optional<std::uint8_t> LightModeFor(int kind, SharedMode mode) {
    const KindModes* modes = ModesOf(kind);
    if (modes == nullptr) {
        return std::nullopt;
    }
    return modes->modes[static_cast<std::size_t>(mode)];
}

std::optional<SharedSettings> SharedSettingsOf(int kind, const profiles::LightInfo& record) {
    const std::optional<SharedMode> mode = SharedModeOf(kind, record.mode);
    if (!mode) {
        return std::nullopt;
    }
    SharedSettings settings;
    settings.mode = *mode;
    settings.brightness = record.brightness;
    settings.speed = record.speed;
    settings.direction = record.direction;
    settings.colourful = record.multiColor != 0;
    settings.colour = {record.red, record.green, record.blue};
    return settings;
}

profiles::LightInfo FollowingRecord(int kind, const profiles::LightInfo& record,
                                    const SharedSettings& settings) {
    const std::optional<std::uint8_t> mode = LightModeFor(kind, settings.mode);
    if (!mode) {
        return record;
    }
    profiles::LightInfo out = record;
    out.mode = *mode;
    out.brightness = settings.brightness;
    out.speed = settings.speed;
    out.direction = settings.direction;
    out.multiColor = settings.colourful ? 1 : 0;
    out.red = settings.colour.red;
    out.green = settings.colour.green;
    out.blue = settings.colour.blue;
    return out;
}

unsigned SharedFrameTicks(unsigned speed) {
    // Any speed beyond the table moves on every tick.
    return speed < kFrameTicks.size() ? kFrameTicks[speed] : 1;
}

void SharedLightEffect::SetSettings(const SharedSettings& settings) {
    m_settings = settings;
    m_ticks = 0;
}

std::optional<SharedFrame> SharedLightEffect::Tick(std::uint32_t nowMs) {
    if (++m_ticks < SharedFrameTicks(m_settings.speed)) {
        return std::nullopt;
    }
    m_ticks = 0;
    return NextFrame(nowMs);
}

SharedFrame SharedLightEffect::Lit(Rgb colour, unsigned brightness) const {
    return {colour.red, colour.green, colour.blue, static_cast<std::uint8_t>(brightness)};
}

SharedFrame SharedLightEffect::NextFrame(std::uint32_t nowMs) {
    const unsigned level = light::BrightnessLevel(m_settings.brightness);
    switch (m_settings.mode) {
    case SharedMode::ColourCycle:
        m_hue = light::Step(1, light::kHueCount, m_hue, 1);
        return Lit(light::Hue(m_hue), level);
    case SharedMode::Breathing: {
        m_phase = light::Step(m_settings.direction, 128, m_phase, 1);
        if (m_settings.colourful && m_phase < 2) {
            m_hue = light::Step(1, light::kHueCount, m_hue, 16);
        }
        const Rgb colour = m_settings.colourful ? light::Hue(m_hue) : m_settings.colour;
        return Lit(colour, level * light::BreathingCurve()[m_phase] / 256);
    }
    case SharedMode::Flashing: {
        // The flash keeps its own time, so a slow tick rate does not stretch it.
        const std::uint32_t period = SharedFrameTicks(m_settings.speed) * kFlashUnitMs;
        if (nowMs - m_lastToggleMs >= period) {
            m_flashOn = !m_flashOn;
            m_hue = light::Step(1, light::kHueCount, m_hue, 14);
            m_lastToggleMs = nowMs;
        }
        if (!m_flashOn) {
            return {};
        }
        return Lit(m_settings.colourful ? light::Hue(m_hue) : m_settings.colour, level);
    }
    case SharedMode::Steady:
        return Lit(m_settings.colour, level);
    case SharedMode::Off:
        break;
    }
    return {};
}

} // namespace q407::devices
