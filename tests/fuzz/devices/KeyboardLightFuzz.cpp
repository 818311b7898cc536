// Arbitrary sequences of light settings, light lists, user effects, key events, band levels,
// colour inputs and wakes: the engine must never read or write outside its tables (the debug
// build checks every index, the sanitizers the rest).

#include "devices/KeyColourData.h"
#include "devices/KeyboardLightEngine.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace q407::devices;

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::int32_t Int() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v = (v << 8) | Byte();
        }
        return static_cast<std::int32_t>(v);
    }
    Rgb Colour() { return {Byte(), Byte(), Byte()}; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

class FuzzClock final : public LightClock {
public:
    std::uint32_t NowMs() const override { return now; }
    std::uint32_t now = 0;
};

KeyboardLight ReadLight(Reader& in) {
    KeyboardLight light;
    light.mode = in.Byte();
    light.brightness = in.Byte();
    light.speed = in.Byte();
    light.direction = in.Byte();
    light.multiColour = (in.Byte() & 1) != 0;
    light.colour = in.Colour();
    light.secondaryMode = in.Byte();
    return light;
}

KeyboardAudioLight ReadAudio(Reader& in) {
    KeyboardAudioLight audio;
    audio.audioMode = in.Byte();
    audio.background = in.Colour();
    audio.foreground = in.Colour();
    audio.sevenColour = (in.Byte() & 1) != 0;
    return audio;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    FuzzClock clock;
    clock.now = static_cast<std::uint32_t>(in.Int());
    SeededLightRandom random(in.Byte());
    KeyboardLightEngine engine(clock, random);
    int operations = 0;
    while (!in.Empty() && ++operations < 2000) {
        switch (in.Byte() % 9) {
        case 0:
            engine.SetLight(ReadLight(in));
            break;
        case 1: {
            const KeyboardLight light = ReadLight(in);
            const KeyboardAudioLight audio = ReadAudio(in);
            std::vector<LedOverride> overrides(in.Byte() * 2u);
            for (LedOverride& entry : overrides) {
                entry.mode = in.Byte();
                entry.brightness = in.Byte();
                entry.speed = in.Byte();
                entry.multiColour = (in.Byte() & 1) != 0;
                entry.colour = in.Colour();
                entry.valid = (in.Byte() & 1) != 0;
            }
            std::vector<EffectStep> effect(in.Byte() % 16u);
            for (EffectStep& step : effect) {
                step.mode = in.Byte();
                step.brightness = in.Byte();
                step.speed = in.Byte();
                step.direction = in.Byte();
                step.multiColour = (in.Byte() & 1) != 0;
                step.colour = in.Colour();
                step.timeMs = in.Int();
            }
            engine.LoadLighting(light, audio, std::move(overrides), std::move(effect));
            break;
        }
        case 2: {
            const unsigned position = in.Byte();
            engine.OnDeviceKey(position, in.Byte() % 4u);
            break;
        }
        case 3: {
            std::vector<std::int32_t> levels(in.Byte() % 32u);
            for (std::int32_t& level : levels) {
                level = in.Int();
            }
            engine.SetMusicLevels(levels);
            break;
        }
        case 4: {
            std::vector<std::int32_t> values(in.Byte() % 8u);
            for (std::int32_t& value : values) {
                value = in.Int();
            }
            engine.SetColourInput(values);
            break;
        }
        case 5: {
            const unsigned wakes = in.Byte();
            const unsigned advance = in.Byte() % 8u;
            for (unsigned i = 0; i < wakes; ++i) {
                clock.now += advance;
                engine.Wake();
            }
            break;
        }
        case 6: {
            const unsigned steps = in.Byte();
            for (unsigned i = 0; i < steps; ++i) {
                engine.StepOnce();
            }
            break;
        }
        case 7: {
            KeyboardLightEngine::KeyBytes map;
            for (std::uint8_t& position : map) {
                position = in.Byte();
            }
            engine.SetPositionMap(map);
            engine.SetAudioLight(ReadAudio(in));
            // The keyboard's LED table and answer lengths are outside input too.
            std::vector<std::uint8_t> ledTable(in.Byte());
            for (std::uint8_t& slot : ledTable) {
                slot = in.Byte();
            }
            const kb::KeySlots ledMap = kb::BuildLedMap(map, ledTable);
            const std::size_t slotCount = in.Byte();
            const auto packed = kb::PackFrame(engine.GetFrame(), ledMap, slotCount);
            auto colours = engine.CustomColours();
            kb::UnpackColourGroup(std::span(packed).first(packed.size() / 2), ledMap, colours);
            engine.SetCustomColours(colours);
            break;
        }
        default:
            engine.SetCustomColour(in.Byte(), in.Colour());
            engine.RunLedStates((in.Byte() & 1) != 0);
            break;
        }
    }
    const auto frame = engine.GetFrame();
    return frame.size() == KeyboardLightEngine::kKeys ? 0 : 1;
}
