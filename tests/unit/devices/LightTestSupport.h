#pragma once

// A clock moved by hand and a random source that hands out a script, so light tests know every
// input of every frame.

#include "devices/KeyboardLightEngine.h"
#include "devices/LightSources.h"

#include <cstdint>
#include <deque>
#include <gtest/gtest.h>

namespace q407::devices::test {

class ManualClock final : public LightClock {
public:
    explicit ManualClock(std::uint32_t start = 1000) : now_(start) {}
    std::uint32_t NowMs() const override { return now_; }
    void Set(std::uint32_t ms) { now_ = ms; }
    void Advance(std::uint32_t ms) { now_ += ms; }

private:
    std::uint32_t now_;
};

class ScriptedRandom final : public LightRandom {
public:
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<std::uint32_t> values) : script_(values) {}
    void Push(std::uint32_t value) { script_.push_back(value); }
    std::uint32_t Below(std::uint32_t n) override {
        ++calls_;
        if (script_.empty()) {
            return fallback_ % n;
        }
        const std::uint32_t v = script_.front();
        script_.pop_front();
        EXPECT_LT(v, n) << "scripted value out of the asked range";
        return v;
    }
    // Value returned once the script is used up.
    void SetFallback(std::uint32_t v) { fallback_ = v; }
    int Calls() const { return calls_; }
    std::size_t Left() const { return script_.size(); }

private:
    std::deque<std::uint32_t> script_;
    std::uint32_t fallback_ = 0;
    int calls_ = 0;
};

inline LedColour Led(Rgb colour, std::uint8_t level) {
    return MakeLed(colour, level);
}

inline constexpr Rgb kTestColour{10, 20, 30};

inline KeyboardLight TestLight(std::uint8_t mode, bool multi = false, std::uint8_t direction = 1,
                               std::uint8_t brightness = 4, std::uint8_t speed = 0) {
    KeyboardLight light;
    light.mode = mode;
    light.brightness = brightness;
    light.speed = speed;
    light.direction = direction;
    light.multiColour = multi;
    light.colour = kTestColour;
    return light;
}

} // namespace q407::devices::test
