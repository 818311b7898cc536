#include "devices/KeyboardLightEngine.h"

#include <algorithm>

namespace q407::devices {
namespace {

using kb::GridKey;
using kb::IsKey;
using light::Hue;
using light::Step;

constexpr unsigned kHues = light::kHueCount;
constexpr int kColumns = static_cast<int>(kb::kGridColumns);
constexpr int kRows = static_cast<int>(kb::kGridRows);

std::uint8_t Byte(unsigned v) {
    return static_cast<std::uint8_t>(v);
}

// The key cells of one grid column or row.
template <typename F>
void ForColumn(int column, F&& f) {
    for (int r = 0; r < kRows; ++r) {
        const std::uint8_t k = GridKey(column, r);
        if (IsKey(k)) {
            f(k);
        }
    }
}

template <typename F>
void ForRow(int row, F&& f) {
    for (int c = 0; c < kColumns; ++c) {
        const std::uint8_t k = GridKey(c, row);
        if (IsKey(k)) {
            f(k);
        }
    }
}

template <typename F>
void ForKeyOrder(F&& f) {
    for (std::uint8_t k : kb::KeyOrder()) {
        if (IsKey(k)) {
            f(k);
        }
    }
}

template <typename F>
void ForRing(std::size_t ring, F&& f) {
    for (std::uint8_t listed : kb::Rings()[ring].Keys()) {
        const std::uint8_t k = kb::FindLogicalKey(listed);
        if (IsKey(k)) {
            f(k);
        }
    }
}

// First grid cell holding k, scanning columns left to right and each column top to bottom.
bool FindCell(unsigned k, int& column, int& row) {
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            if (GridKey(c, r) == k) {
                column = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

// Bar heights of the music modes. Band levels come from another program, so the products are
// taken in 64 bits.
std::int64_t Scaled(std::int64_t v) {
    return v * 600 / 2000;
}
std::int64_t Height(std::int64_t v) {
    return 600 - Scaled(v);
}
std::int64_t CappedHeight(std::int64_t v) {
    return Scaled(v) > 600 ? 500 : 600 - Scaled(v);
}

// Level of each group of consecutive bands: the sum of its bands / 3.
using BandGroups = std::array<std::array<std::size_t, 2>, 6>;
template <typename Levels>
std::array<std::int64_t, 6> GroupLevels(const Levels& levels, const BandGroups& groups) {
    std::array<std::int64_t, 6> g{};
    for (std::size_t i = 0; i < groups.size(); ++i) {
        for (std::size_t band = groups[i][0]; band <= groups[i][1]; ++band) {
            g[i] += levels[band];
        }
        g[i] /= 3;
    }
    return g;
}

struct NeighbourOffset {
    int dc, dr;
};
// The twelve neighbour cells a ripple touches: four direct, six diagonal or two rows off, and
// two cells two columns off.
constexpr NeighbourOffset kDirect[] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
constexpr NeighbourOffset kNear[] = {{0, -2}, {0, 2}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
constexpr NeighbourOffset kFar[] = {{-2, 0}, {2, 0}};
// Cells that count as near a held key: the cell itself and the same twelve.
constexpr NeighbourOffset kNearHeld[] = {{0, 0},  {0, -1}, {0, 1},   {0, -2}, {0, 2},
                                         {-1, 0}, {1, 0},  {-1, -1}, {-1, 1}, {1, -1},
                                         {1, 1},  {-2, 0}, {2, 0}};

} // namespace

KeyboardLightEngine::KeyboardLightEngine(const LightClock& clock, LightRandom& random)
    : clock_(clock), random_(random) {
    positionMap_.fill(kb::kNoKey);
}

// ---- Inputs -------------------------------------------------------------------------------------

void KeyboardLightEngine::SetPositionMap(const KeyBytes& positions) {
    std::lock_guard lock(mutex_);
    positionMap_ = positions;
}

void KeyboardLightEngine::LoadLighting(const KeyboardLight& light, const KeyboardAudioLight& audio,
                                       std::vector<LedOverride> overrides,
                                       std::vector<EffectStep> effect) {
    std::lock_guard lock(mutex_);
    SetLightLocked(light);
    audio_ = audio;
    overrides_ = std::move(overrides);
    RunLedStatesLocked(true, clock_.NowMs());
    if (light_.mode == 24) {
        keyHue_.fill(0);
    }
    preview_.phase = 0;
    effect_ = std::move(effect);
    effectIndex_ = 0;
}

bool KeyboardLightEngine::SetLight(const KeyboardLight& light) {
    std::lock_guard lock(mutex_);
    return SetLightLocked(light);
}

bool KeyboardLightEngine::SetLightLocked(const KeyboardLight& light) {
    const bool restart = light.mode != light_.mode || light.mode == 20;
    light_ = light;
    if (restart) {
        ResetLightEngine();
        RunEntryStep();
    }
    return restart;
}

void KeyboardLightEngine::SetAudioLight(const KeyboardAudioLight& audio) {
    std::lock_guard lock(mutex_);
    audio_ = audio;
}

void KeyboardLightEngine::SetCustomColours(std::span<const Rgb> colours) {
    std::lock_guard lock(mutex_);
    const std::size_t n = std::min(colours.size(), customColours_.size());
    std::copy_n(colours.begin(), n, customColours_.begin());
}

void KeyboardLightEngine::SetCustomColour(unsigned key, Rgb colour) {
    std::lock_guard lock(mutex_);
    if (IsKey(key)) {
        customColours_[key] = colour;
    }
}

void KeyboardLightEngine::FillCustomColours(Rgb colour) {
    std::lock_guard lock(mutex_);
    customColours_.fill(colour);
}

std::array<Rgb, KeyboardLightEngine::kKeys> KeyboardLightEngine::CustomColours() const {
    std::lock_guard lock(mutex_);
    return customColours_;
}

void KeyboardLightEngine::OnDeviceKey(unsigned position, unsigned kind) {
    std::lock_guard lock(mutex_);
    // 255 marks a key without a position; it never names a pressed key.
    if ((kind != kPress && kind != kRelease) || position >= kb::kNoKey) {
        return;
    }
    for (unsigned k = 0; k < kKeys; ++k) {
        if (positionMap_[k] == position) {
            StartKeyReaction(k, kind);
            return;
        }
    }
}

void KeyboardLightEngine::SetMusicLevels(std::span<const std::int32_t> levels) {
    std::lock_guard lock(mutex_);
    bandLevels_.fill(0);
    std::copy_n(levels.begin(), std::min(levels.size(), kBands), bandLevels_.begin());
    if (light_.mode != 29 || audio_.audioMode != 2) {
        return;
    }
    // Beat detector: a loud stretch of sound adds up quickly and starts a ripple at the O key.
    std::int64_t sum = 0;
    for (std::int32_t v : bandLevels_) {
        sum += CappedHeight(v);
    }
    bandLevels_.fill(0);
    const std::int64_t average = sum / static_cast<std::int64_t>(kBands);
    musicTotal_ += 25 - average * 25 / 600;
    if (musicTotal_ >= 71) {
        musicTotal_ = 0;
        SeedMasks(51, kPress);
    }
}

void KeyboardLightEngine::SetColourInput(std::span<const std::int32_t> values) {
    std::lock_guard lock(mutex_);
    colourInput_.fill(0);
    std::copy_n(values.begin(), std::min(values.size(), kColourInputs), colourInput_.begin());
}

// ---- Light thread -------------------------------------------------------------------------------

void KeyboardLightEngine::Wake() {
    std::lock_guard lock(mutex_);
    const std::uint32_t now = clock_.NowMs();
    const kb::ModeTiming timing = kb::KeyboardModeTiming(light_.mode, light_.speed);
    if (timing.timing == kb::StepTiming::Player) {
        PlayEffectStep(now);
    } else {
        if (now - lastTickMs_ > 1) {
            ++tickCount_;
            lastTickMs_ = now;
        }
        const bool due =
            timing.timing == kb::StepTiming::Music ? tickCount_ > 1 : tickCount_ >= timing.interval;
        if (due) {
            RunModeStep(now);
            tickCount_ = 0;
        }
    }
    RunLedStatesLocked(false, now);
}

void KeyboardLightEngine::StepOnce() {
    std::lock_guard lock(mutex_);
    RunModeStep(clock_.NowMs());
}

void KeyboardLightEngine::RunLedStates(bool reset) {
    std::lock_guard lock(mutex_);
    RunLedStatesLocked(reset, clock_.NowMs());
}

void KeyboardLightEngine::Restart() {
    std::lock_guard lock(mutex_);
    ResetLightEngine();
    RunEntryStep();
}

KeyboardLightEngine::Frame KeyboardLightEngine::GetFrame() const {
    std::lock_guard lock(mutex_);
    return frame_;
}

KeyboardLightEngine::State KeyboardLightEngine::GetState() const {
    std::lock_guard lock(mutex_);
    State state;
    state.ledLevels = ledLevels_;
    state.keyHue = keyHue_;
    state.keyState = keyState_;
    state.keyHeld = keyHeld_;
    state.keyPhase = keyPhase_;
    state.masks = masks_;
    state.phase = preview_.phase;
    state.colourIndex = preview_.colourIndex;
    state.subPhase = subPhase_;
    state.bandTimer = bandTimer_;
    state.musicTotal = musicTotal_;
    state.effectStepIndex = effectIndex_;
    return state;
}

// ---- Reset and entry steps ----------------------------------------------------------------------

void KeyboardLightEngine::ResetLightEngine() {
    preview_.phase = 0;
    subPhase_ = 0;
    ledLevels_.fill(0);
    keyHue_.fill(0);
    keyState_.fill(0);
    for (MaskRow& mask : masks_) {
        mask.fill(0);
    }
    ResetMusicState();
}

void KeyboardLightEngine::ResetMusicState() {
    bandLevels_.fill(0);
    columnFlags_.fill(1);
}

void KeyboardLightEngine::RunEntryStep() {
    const auto& tall = kb::TallKeyGrid();
    const auto& starts = kb::StartPhases();
    switch (light_.mode) {
    case 13:
        SetMaskBit(9, 6);
        break;
    case 15:
        for (std::size_t r = 0; r < kb::kTallGridRows; ++r) {
            for (std::size_t c = 0; c < kb::kGridColumns; ++c) {
                const std::uint8_t k = tall[r][c];
                // Row 6 reads the first value of the next column; the last column has no next.
                const std::size_t index = 6 * c + r;
                if (IsKey(k) && index < starts.size()) {
                    ledLevels_[k] = starts[index];
                    keyHue_[k] = Byte(7 * c);
                }
            }
        }
        break;
    case 16:
        SetMaskBit(1, 0);
        break;
    case 20:
        // The page brings the custom colour group (from the keyboard or the profile).
        break;
    case 22:
        for (std::size_t c = 0; c < kb::kGridColumns; ++c) {
            int v = 192 - 8 * static_cast<int>(c);
            for (std::size_t r = 0; r < kb::kTallGridRows; ++r) {
                v = v < 35 ? v + 158 : v - 35;
                const std::uint8_t k = tall[r][c];
                if (IsKey(k)) {
                    keyPhase_[k] = Byte(static_cast<unsigned>(v));
                    keyHue_[k] = Byte(7 * c);
                }
            }
        }
        break;
    default:
        for (unsigned k = 0; k < kKeys; ++k) {
            keyHue_[k] = Byte(33 * (k + 1) % kHues);
        }
        break;
    }
}

// ---- Helpers ------------------------------------------------------------------------------------

std::uint8_t KeyboardLightEngine::FullLevel() const {
    return light::BrightnessLevel(light_.brightness);
}

Rgb KeyboardLightEngine::ColourOf(unsigned k) const {
    return light_.multiColour ? Hue(keyHue_[k]) : light_.colour;
}

unsigned KeyboardLightEngine::LevelOf(unsigned k) const {
    return FullLevel() * ledLevels_[k] / 256u;
}

void KeyboardLightEngine::SetKey(unsigned k, Rgb colour, unsigned level) {
    if (IsKey(k)) {
        frame_[k] = MakeLed(colour, level);
    }
}

void KeyboardLightEngine::ShowKey(unsigned k) {
    SetKey(k, ColourOf(k), LevelOf(k));
}

void KeyboardLightEngine::Fade(unsigned k, unsigned mode) {
    light::FadeLedStep(ledLevels_, k, mode);
}

void KeyboardLightEngine::FadeAndShowAll(unsigned fadeMode) {
    for (unsigned k = 0; k < kKeys; ++k) {
        Fade(k, fadeMode);
        ShowKey(k);
    }
}

void KeyboardLightEngine::FadeAndShowKeyOrder(unsigned fadeMode) {
    ForKeyOrder([&](unsigned k) {
        Fade(k, fadeMode);
        ShowKey(k);
    });
}

void KeyboardLightEngine::FillAll(LedColour value) {
    frame_.fill(value);
}

light::PreviewParams KeyboardLightEngine::PreviewParamsOf() const {
    return {light_.brightness, light_.speed, light_.direction, light_.multiColour, light_.colour};
}

// ---- Wave masks ---------------------------------------------------------------------------------

void KeyboardLightEngine::SetMaskBit(std::size_t column, unsigned bit) {
    for (MaskRow& mask : masks_) {
        mask[column] = Byte(mask[column] | (1u << bit));
    }
}

std::uint8_t KeyboardLightEngine::MaskUnion(std::size_t column) const {
    return Byte(masks_[0][column] | masks_[1][column] | masks_[2][column] | masks_[3][column]);
}

void KeyboardLightEngine::SeedMasks(unsigned k, unsigned kind) {
    int c = 0;
    int r = 0;
    if (kind == kPress && FindCell(k, c, r)) {
        SetMaskBit(static_cast<std::size_t>(c), static_cast<unsigned>(r));
    }
}

void KeyboardLightEngine::LightMaskCells() {
    for (int c = 0; c < kColumns; ++c) {
        const std::uint8_t bits = MaskUnion(static_cast<std::size_t>(c));
        for (int r = 0; r < kRows; ++r) {
            const std::uint8_t k = GridKey(c, r);
            if ((bits & (1u << r)) == 0 || !IsKey(k)) {
                continue;
            }
            ledLevels_[k] = 255;
            if (light_.multiColour) {
                keyHue_[k] = Byte(random_.Below(kHues));
            }
        }
    }
}

void KeyboardLightEngine::SpreadMasks() {
    const std::array<MaskRow, 4> old = masks_;
    constexpr std::size_t last = kb::kGridColumns - 1;
    for (std::size_t c = 0; c <= last; ++c) {
        const std::uint8_t right = c < last ? old[kUpLeft][c + 1] : 0;
        const std::uint8_t rightDown = c < last ? old[kDownLeft][c + 1] : 0;
        const std::uint8_t left = c > 0 ? old[kUpRight][c - 1] : 0;
        const std::uint8_t leftDown = c > 0 ? old[kDownRight][c - 1] : 0;
        masks_[kUpLeft][c] = Byte((old[kUpLeft][c] >> 1) | right);
        masks_[kDownLeft][c] = Byte((old[kDownLeft][c] << 1) | rightDown);
        masks_[kUpRight][c] = Byte((old[kUpRight][c] >> 1) | left);
        masks_[kDownRight][c] = Byte((old[kDownRight][c] << 1) | leftDown);
    }
}

void KeyboardLightEngine::SlideMasks() {
    constexpr std::size_t last = kb::kGridColumns - 1;
    MaskRow& downLeft = masks_[kDownLeft];
    MaskRow& upRight = masks_[kUpRight];
    std::copy(downLeft.begin() + 1, downLeft.end(), downLeft.begin());
    downLeft[last] = 0;
    std::copy_backward(upRight.begin(), upRight.end() - 1, upRight.end());
    upRight[0] = 0;
    masks_[kUpLeft].fill(0);
    masks_[kDownRight].fill(0);
}

// ---- Key reactions ------------------------------------------------------------------------------

void KeyboardLightEngine::StartKeyReaction(unsigned k, unsigned kind) {
    switch (light_.mode) {
    case 7:
        LightPressedKey(k, kind);
        break;
    case 8:
    case 9:
        SeedMasks(k, kind);
        break;
    case 25:
        RippleKey(k, kind);
        break;
    default:
        break;
    }
}

void KeyboardLightEngine::LightPressedKey(unsigned k, unsigned kind) {
    keyState_[k] = Byte(kind);
    ledLevels_[k] = 255;
    keyHue_[k] = Byte(random_.Below(kHues));
}

void KeyboardLightEngine::RippleKey(unsigned k, unsigned kind) {
    int c = 0;
    int r = 0;
    if (!FindCell(k, c, r)) {
        return;
    }
    auto each = [&](const auto& offsets, auto&& f) {
        for (const NeighbourOffset& o : offsets) {
            const int nc = c + o.dc;
            const int nr = r + o.dr;
            const std::uint8_t n = GridKey(nc, nr);
            if (IsKey(n)) {
                f(n, nc, nr);
            }
        }
    };
    if (kind == kPress) {
        keyState_[k] = 1;
        keyHeld_[k] = 1;
        ledLevels_[k] = 255;
        auto raise = [this](unsigned by) {
            return [this, by](std::uint8_t n, int, int) {
                keyState_[n] = 1;
                ledLevels_[n] = Byte(std::min(255u, ledLevels_[n] + by));
            };
        };
        each(kDirect, raise(150));
        each(kNear, raise(90));
        each(kFar, raise(60));
        return;
    }
    auto lower = [this, k](unsigned by) {
        return [this, k, by](std::uint8_t n, int nc, int nr) {
            if (IsNearHeldKey(nc, nr, k)) {
                return;
            }
            keyState_[n] = 2;
            ledLevels_[n] = Byte(ledLevels_[n] > by ? ledLevels_[n] - by : 0);
        };
    };
    each(kDirect, lower(15));
    each(kNear, lower(90));
    each(kFar, lower(90));
    if (!IsNearHeldKey(c, r, k)) {
        keyState_[k] = 2;
    }
    keyHeld_[k] = 0;
}

bool KeyboardLightEngine::IsNearHeldKey(int column, int row, unsigned excluded) const {
    for (const NeighbourOffset& o : kNearHeld) {
        const std::uint8_t n = GridKey(column + o.dc, row + o.dr);
        if (IsKey(n) && n != excluded && keyHeld_[n] == 1) {
            return true;
        }
    }
    return false;
}

// ---- Steps --------------------------------------------------------------------------------------

void KeyboardLightEngine::RunModeStep(std::uint32_t nowMs) {
    std::span<LedColour> leds(frame_);
    switch (light_.mode) {
    case 1:
        StepColumnWave();
        break;
    case 2:
        StepSlowColumnWave();
        break;
    case 3:
        StepSnakeWave();
        break;
    case 4:
        light::PreviewSpectrum(leds, preview_, PreviewParamsOf());
        break;
    case 5:
        StepBreathing();
        break;
    case 6:
        StepRings();
        break;
    case 7:
    case 25:
        StepKeyLight();
        break;
    case 8:
        StepDiamonds();
        break;
    case 9:
        StepRowRipples();
        break;
    case 10:
        StepTwinkle();
        break;
    case 11:
        StepPerKeyRainbow();
        break;
    case 12:
        StepRowWave();
        break;
    case 13:
        StepRisingDiamonds();
        break;
    case 14:
        StepScriptedShow();
        break;
    case 15:
        StepStaggeredPulses();
        break;
    case 16:
        StepBouncingDiamonds();
        break;
    case 17:
        StepSingleColour();
        break;
    case 18:
        StepRotatingRings();
        break;
    case 20:
        StepCustomColours();
        break;
    case 21:
        StepTravellingDot();
        break;
    case 22:
        StepColourPulses();
        break;
    case 23:
        light::PreviewBlink(leds, preview_, PreviewParamsOf(), nowMs);
        break;
    case 24:
        StepTrails();
        break;
    case 26:
        light::PreviewBreathingFixed(leds, preview_, PreviewParamsOf());
        break;
    case 27:
        light::PreviewBlinkFixed(leds, preview_, PreviewParamsOf(), nowMs);
        break;
    case 28:
        light::PreviewOff(leds);
        break;
    case 29:
        StepMusic();
        break;
    case 30:
        StepColourInput();
        break;
    default:
        PlayEffectStep(nowMs);
        break;
    }
}

void KeyboardLightEngine::StepColumnWave() {
    const std::uint8_t b = FullLevel();
    if (light_.multiColour) {
        preview_.phase = Step(light_.direction, kHues, preview_.phase, 1);
        unsigned h = (preview_.phase + 1u) % kHues;
        for (int c = 0; c < kColumns; ++c) {
            ForColumn(c, [&](unsigned k) { SetKey(k, Hue(Byte(h)), b); });
            h = (h + 7) % kHues;
        }
        return;
    }
    const auto& wave = kb::WaveTable();
    preview_.phase = Step(light_.direction, 96, preview_.phase, 1);
    unsigned w = (preview_.phase + 1u) % 96;
    for (int c = 0; c < kColumns; ++c) {
        ForColumn(c, [&](unsigned k) { SetKey(k, light_.colour, b * wave[w] / 256u); });
        w = (w + 7) % 96;
    }
}

void KeyboardLightEngine::StepSlowColumnWave() {
    const std::uint8_t b = FullLevel();
    if (light_.multiColour) {
        preview_.phase = Step(light_.direction, kHues, preview_.phase, 1);
        unsigned h = preview_.phase;
        for (int c = 0; c < kColumns; ++c) {
            ForColumn(c, [&](unsigned k) { SetKey(k, Hue(Byte(h)), b); });
            h = (h + 2) % kHues;
        }
        return;
    }
    const auto& pulse = kb::PulseCurve();
    preview_.phase = Step(light_.direction, 128, preview_.phase, 1);
    unsigned w = preview_.phase;
    for (int c = 0; c < kColumns; ++c) {
        ForColumn(c, [&](unsigned k) { SetKey(k, light_.colour, b * pulse[w] / 256u); });
        w = (w + 7) % 128;
    }
}

void KeyboardLightEngine::StepSnakeWave() {
    const std::uint8_t b = FullLevel();
    if (light_.multiColour) {
        preview_.phase = Step(light_.direction, kHues, preview_.phase, 1);
        unsigned h = preview_.phase;
        ForKeyOrder([&](unsigned k) {
            SetKey(k, Hue(Byte(h)), b);
            h = (h + 5) % kHues;
        });
        return;
    }
    const auto& wave = kb::WaveTable();
    preview_.phase = Step(light_.direction, 96, preview_.phase, 1);
    unsigned w = preview_.phase;
    ForKeyOrder([&](unsigned k) {
        SetKey(k, light_.colour, b * wave[w] / 256u);
        w = (w + 5) % 96;
    });
}

void KeyboardLightEngine::StepBreathing() {
    preview_.phase = Byte(preview_.phase + 1u);
    if (preview_.phase >= 128) {
        preview_.phase = 0;
    }
    const unsigned level = light::BreathingCurve()[preview_.phase] * FullLevel() / 256u;
    for (int c = 0; c < kColumns; ++c) {
        const Rgb colour = light_.multiColour ? Hue(Byte(7 * c)) : light_.colour;
        ForColumn(c, [&](unsigned k) { SetKey(k, colour, level); });
    }
}

void KeyboardLightEngine::StepRings() {
    const std::uint8_t b = FullLevel();
    if (!light_.multiColour) {
        FillAll(MakeLed(light_.colour, b));
        return;
    }
    for (std::size_t i = 0; i < kb::Rings().size(); ++i) {
        const Rgb colour = Hue(Byte(138 - 12 * i));
        ForRing(i, [&](unsigned k) { SetKey(k, colour, b); });
    }
}

void KeyboardLightEngine::StepKeyLight() {
    for (unsigned k = 0; k < kKeys; ++k) {
        if (keyState_[k] == 1) {
            ledLevels_[k] = Byte(std::min(255u, ledLevels_[k] + 15u));
        } else if (keyState_[k] == 2) {
            ledLevels_[k] = Byte(ledLevels_[k] > 5 ? ledLevels_[k] - 5 : 0);
        }
        ShowKey(k);
    }
}

void KeyboardLightEngine::StepDiamonds() {
    LightMaskCells();
    SpreadMasks();
    for (unsigned k = 0; k < kKeys; ++k) {
        Fade(k, 8);
        keyHue_[k] = Step(1, kHues, keyHue_[k], 7);
        ShowKey(k);
    }
}

void KeyboardLightEngine::StepRowRipples() {
    LightMaskCells();
    SlideMasks();
    FadeAndShowAll(9);
}

void KeyboardLightEngine::StepTwinkle() {
    const auto& list = kb::TwinkleList();
    for (int i = 0; i < 6; ++i) {
        const std::uint8_t e = list[random_.Below(static_cast<std::uint32_t>(list.size()))];
        if (IsKey(e)) {
            keyHue_[e] = Byte(random_.Below(kHues));
            ledLevels_[e] = 255;
        }
    }
    for (unsigned k = 0; k < kKeys; ++k) {
        Fade(k, 10);
        ShowKey(k);
    }
}

void KeyboardLightEngine::StepPerKeyRainbow() {
    const std::uint8_t b = FullLevel();
    for (unsigned k = 0; k < kKeys; ++k) {
        keyHue_[k] = Byte(keyHue_[k] + 1u);
        if (keyHue_[k] >= kHues) {
            keyHue_[k] = 0;
        }
        SetKey(k, Hue(keyHue_[k]), b);
    }
}

void KeyboardLightEngine::StepRowWave() {
    const std::uint8_t b = FullLevel();
    preview_.phase = Step(light_.direction, kHues, preview_.phase, 1);
    unsigned h = (preview_.phase + 1u) % kHues;
    for (int r = 0; r < kRows; ++r) {
        ForRow(r, [&](unsigned k) { SetKey(k, Hue(Byte(h)), b); });
        h = (h + 24) % kHues;
    }
}

void KeyboardLightEngine::StepRisingDiamonds() {
    const std::uint8_t u = MaskUnion(9);
    if (u == 1) {
        SetMaskBit(9, 0);
    } else if (u == 64) {
        SetMaskBit(9, 6);
    }
    if (subPhase_ > 1) {
        subPhase_ = 0;
        LightMaskCells();
        SpreadMasks();
    }
    ++subPhase_;
    FadeAndShowAll(13);
}

void KeyboardLightEngine::StepScriptedShow() {
    auto lightKey = [this](std::uint8_t k) {
        if (!IsKey(k)) {
            return;
        }
        ledLevels_[k] = 255;
        if (light_.multiColour) {
            keyHue_[k] = Byte(random_.Below(kHues));
        }
    };
    std::uint8_t& phase = preview_.phase;
    switch (subPhase_) {
    case 0: {
        const auto& rows = kb::PatternRows();
        if (phase < rows.size()) {
            for (std::uint8_t k : rows[phase].Keys()) {
                lightKey(k);
            }
        }
        ++phase;
        if (phase >= rows.size()) {
            phase = 0;
            subPhase_ = 1;
        }
        break;
    }
    case 1: {
        const auto& pairs = kb::PatternPairs();
        if (phase <= 30) {
            const auto& pair = pairs[phase % pairs.size()];
            lightKey(pair[0]);
            lightKey(pair[1]);
            ++phase;
        } else if (ledLevels_[72] == 0) {
            subPhase_ = 2;
            phase = 0;
        }
        break;
    }
    case 2:
        SeedMasks(52, kPress);
        subPhase_ = 3;
        break;
    case 3:
        LightMaskCells();
        SpreadMasks();
        if (ledLevels_[124] != 0) {
            subPhase_ = 4;
        }
        break;
    case 4:
        if (ledLevels_[124] == 0) {
            subPhase_ = 0;
            phase = 0;
        }
        break;
    default:
        subPhase_ = 0;
        phase = 0;
        break;
    }
    FadeAndShowAll(14);
}

void KeyboardLightEngine::StepStaggeredPulses() {
    StepPulses(ledLevels_, 2);
}

void KeyboardLightEngine::StepBouncingDiamonds() {
    if (MaskUnion(1) == 1) {
        SetMaskBit(1, 0);
    }
    if (MaskUnion(22) == 64) {
        SetMaskBit(22, 6);
    }
    LightMaskCells();
    SpreadMasks();
    FadeAndShowKeyOrder(16);
}

void KeyboardLightEngine::StepSingleColour() {
    std::uint8_t h = 174;
    switch (light_.secondaryMode) {
    case 1:
        h = 25;
        break;
    case 2:
        h = 70;
        break;
    case 3:
        h = 95;
        break;
    default:
        break;
    }
    preview_.phase = h;
    FillAll(MakeLed(Hue(h), FullLevel()));
}

void KeyboardLightEngine::StepRotatingRings() {
    const std::uint8_t b = FullLevel();
    preview_.phase = Step(light_.direction, kHues, preview_.phase, 1);
    unsigned h = preview_.phase;
    for (std::size_t i = 0; i < kb::Rings().size(); ++i) {
        h = (h + 7) % kHues;
        ForRing(i, [&](unsigned k) { SetKey(k, Hue(Byte(h)), b); });
    }
}

void KeyboardLightEngine::StepCustomColours() {
    const std::uint8_t b = FullLevel();
    for (unsigned k = 0; k < kKeys; ++k) {
        SetKey(k, customColours_[k], b);
    }
}

void KeyboardLightEngine::StepTravellingDot() {
    const auto& path = kb::DotPath();
    std::uint8_t& phase = preview_.phase;
    auto lightDot = [&](unsigned position) {
        // The phase may come from another mode; only positions on the path light anything.
        if (position < path.size() && IsKey(path[position])) {
            ledLevels_[path[position]] = 254;
        }
    };
    if (light_.direction != 0) {
        if (phase < path.size()) {
            lightDot(phase);
            ++phase;
        } else {
            phase = 0;
        }
    } else if (phase == 0) {
        phase = Byte(path.size());
    } else {
        --phase;
        lightDot(phase);
    }
    FadeAndShowKeyOrder(21);
}

void KeyboardLightEngine::StepColourPulses() {
    StepPulses(keyPhase_, 1);
}

void KeyboardLightEngine::StepPulses(KeyBytes& phases, unsigned advance) {
    const auto& pulse = kb::PulseCurve();
    const std::uint8_t b = FullLevel();
    ForKeyOrder([&](unsigned k) {
        // A phase at the end of the curve (or past it) starts a new pulse in a new colour.
        unsigned p = phases[k] + advance;
        if (p >= pulse.size()) {
            p = 0;
            keyHue_[k] = Byte(random_.Below(kHues));
        }
        phases[k] = Byte(p);
        SetKey(k, ColourOf(k), b * pulse[p] / 256u);
    });
}

void KeyboardLightEngine::StepTrails() {
    const auto& trail = kb::TrailPath();
    const std::uint8_t b = FullLevel();
    preview_.phase = Step(light_.direction, static_cast<unsigned>(trail.size()), preview_.phase, 1);
    if (preview_.phase < trail.size()) {
        for (std::uint8_t k : trail[preview_.phase].Keys()) {
            if (IsKey(k)) {
                ledLevels_[k] = 255;
                keyHue_[k] = 0;
            }
        }
    }
    for (unsigned k = 0; k < kKeys; ++k) {
        ledLevels_[k] = Byte(ledLevels_[k] > 5 ? ledLevels_[k] - 5 : 0);
        keyHue_[k] = Byte(std::min(255u, keyHue_[k] + 3u));
        if (light_.multiColour) {
            SetKey(k, Hue(keyHue_[k]), b);
        } else {
            SetKey(k, light_.colour, LevelOf(k));
        }
    }
}

void KeyboardLightEngine::StepColourInput() {
    const Rgb colour{Byte(static_cast<unsigned>(colourInput_[0])),
                     Byte(static_cast<unsigned>(colourInput_[1])),
                     Byte(static_cast<unsigned>(colourInput_[2]))};
    FillAll(MakeLed(colour, FullLevel()));
}

// ---- Music (mode 29) ----------------------------------------------------------------------------

void KeyboardLightEngine::StepMusic() {
    const BandLevels levels = bandLevels_;
    bandLevels_.fill(0);
    switch (audio_.audioMode) {
    case 0:
        MusicColumns(levels);
        break;
    case 1:
        MusicRowsMiddle(levels);
        break;
    case 2:
        MusicBeatRipples();
        break;
    case 3:
        MusicRings(levels);
        break;
    case 4:
        MusicFallingPeaks(levels);
        break;
    case 5:
        MusicRowsLeft(levels);
        break;
    case 6:
        MusicRowsAlternating(levels);
        break;
    default:
        break;
    }
}

void KeyboardLightEngine::LightBar(unsigned k, Rgb colour) {
    ledLevels_[k] = 255;
    SetKey(k, colour, FullLevel() * 255u / 256u);
}

template <typename BarColour>
void KeyboardLightEngine::UnlitBar(unsigned k, BarColour barColour) {
    if (ledLevels_[k] > 9) {
        SetKey(k, barColour(), LevelOf(k));
    } else {
        SetKey(k, audio_.background, FullLevel());
    }
}

void KeyboardLightEngine::MusicFadeTest(unsigned k, std::uint8_t neighbour, bool alwaysFade) {
    if (alwaysFade || !IsKey(neighbour) || ledLevels_[neighbour] < 10) {
        Fade(k, 29);
    }
}

void KeyboardLightEngine::MusicColumns(const BandLevels& levels) {
    const unsigned d = light_.direction;
    preview_.phase = Step(d, kHues, preview_.phase, 1);
    unsigned cursor = preview_.phase;
    if (bandTimer_ > 30) {
        bandTimer_ = 0;
        preview_.colourIndex = Step(d, kBands, preview_.colourIndex, 1);
    }
    ++bandTimer_;
    unsigned band = preview_.colourIndex;
    for (int c = 0; c < kColumns; ++c) {
        band = (band + 1) % kBands;
        const std::int64_t n = (Height(levels[band]) + 100) * 6 / 600;
        cursor = (cursor + 10) % kHues;
        const Rgb bar = audio_.sevenColour ? Hue(Byte(cursor)) : audio_.foreground;
        for (int r = 0; r < kRows; ++r) {
            const std::uint8_t k = GridKey(c, r);
            if (!IsKey(k)) {
                continue;
            }
            MusicFadeTest(k, GridKey(c, r - 1), r == 0);
            if (r < n) {
                UnlitBar(k, [&] { return bar; });
            } else {
                LightBar(k, bar);
            }
        }
    }
}

void KeyboardLightEngine::MusicRowsMiddle(const BandLevels& levels) {
    const unsigned d = light_.direction;
    preview_.phase = Step(d, kHues, preview_.phase, 1);
    preview_.colourIndex = Step(d, kBands, preview_.colourIndex, 1);
    unsigned band = preview_.colourIndex;
    for (int r = 0; r < kRows; ++r) {
        band = (band + 3) % kBands;
        const std::int64_t nLeft = (CappedHeight(levels[band]) + 100) * 12 / 600;
        const std::int64_t nRight =
            (CappedHeight(levels[static_cast<std::size_t>(2 * r + 1)]) + 100) * 12 / 600;
        unsigned cursor = preview_.phase;
        for (int c = 0; c < kColumns; ++c) {
            cursor = (cursor + 7) % kHues;
            const std::uint8_t k = GridKey(c, r);
            if (!IsKey(k)) {
                continue;
            }
            const Rgb bar = audio_.sevenColour ? Hue(Byte(cursor)) : audio_.foreground;
            bool unlit = false;
            if (c <= 8) {
                MusicFadeTest(k, GridKey(c - 1, r), c <= 1);
                unlit = c < nLeft;
            } else {
                MusicFadeTest(k, GridKey(c + 1, r), c >= 21);
                unlit = c > 21 - nRight;
            }
            if (unlit) {
                UnlitBar(k, [&] { return bar; });
            } else {
                LightBar(k, bar);
            }
        }
    }
}

void KeyboardLightEngine::MusicBeatRipples() {
    LightMaskCells();
    SpreadMasks();
    for (unsigned k = 0; k < kKeys; ++k) {
        Fade(k, 29);
        keyHue_[k] = Step(1, kHues, keyHue_[k], 9);
        const Rgb colour = audio_.sevenColour ? Hue(keyHue_[k]) : audio_.foreground;
        UnlitBar(k, [&] { return colour; });
    }
}

void KeyboardLightEngine::MusicRings(const BandLevels& levels) {
    std::int64_t sum = 0;
    for (std::int32_t v : levels) {
        sum += CappedHeight(v);
    }
    const std::int64_t s = sum / static_cast<std::int64_t>(kBands) * 20 / 600;
    preview_.phase = Step(light_.direction, kHues, preview_.phase, Byte(static_cast<unsigned>(s)));
    unsigned cursor = preview_.phase;
    for (std::size_t i = 0; i < kb::Rings().size(); ++i) {
        cursor = (cursor + 9) % kHues;
        const bool lit = static_cast<std::int64_t>(i) < 20 - s;
        ForRing(i, [&](unsigned k) {
            if (lit) {
                ledLevels_[k] = 255;
                const Rgb colour = Hue(Byte(cursor));
                frame_[k].red = colour.red;
                frame_[k].green = colour.green;
                frame_[k].blue = colour.blue;
            } else {
                Fade(k, 0);
            }
            frame_[k].level = Byte(LevelOf(k));
        });
    }
}

void KeyboardLightEngine::MusicFallingPeaks(const BandLevels& levels) {
    preview_.phase = Step(light_.direction, kHues, preview_.phase, 1);
    if (bandTimer_ > 10) {
        bandTimer_ = 0;
    }
    ++bandTimer_;
    unsigned band = preview_.colourIndex;
    for (int c = 0; c < kColumns; ++c) {
        const auto column = static_cast<std::size_t>(c);
        band = (band + 1) % kBands;
        const std::int64_t n = (Height(levels[band]) + 100) * 6 / 600;
        for (int r = 0; r < kRows; ++r) {
            const std::uint8_t bottom = GridKey(c, kRows - 1);
            if (columnFlags_[column] != 0 && IsKey(bottom) && ledLevels_[bottom] < 10) {
                columnFlags_[column] = 0;
            }
            const std::uint8_t k = GridKey(c, r);
            if (!IsKey(k)) {
                continue;
            }
            const std::uint8_t above = GridKey(c, r - 1);
            if (!(r > 0 && IsKey(above) && ledLevels_[above] >= 5)) {
                Fade(k, 29);
            }
            UnlitBar(k, [&] { return audio_.sevenColour ? Hue(keyHue_[k]) : audio_.foreground; });
            if (r >= n && columnFlags_[column] == 0) {
                ledLevels_[k] = 255;
                columnFlags_[column] = 1;
            }
        }
    }
}

void KeyboardLightEngine::MusicRowsLeft(const BandLevels& levels) {
    // Consecutive band groups (band 24 belongs to none).
    const auto g = GroupLevels(levels, {{{0, 1}, {2, 4}, {5, 7}, {8, 11}, {12, 16}, {17, 23}}});
    const unsigned d = light_.direction;
    preview_.phase = Step(d, kHues, preview_.phase, 1);
    preview_.colourIndex = Step(d, 8, preview_.colourIndex, 1);
    for (int r = 0; r < kRows; ++r) {
        const std::int64_t n =
            23 - (CappedHeight(g[static_cast<std::size_t>(5 - r)]) + 100) * 23 / 600;
        unsigned cursor = preview_.phase;
        for (int c = 0; c < kColumns; ++c) {
            cursor = (cursor + 3) % kHues;
            const std::uint8_t k = GridKey(c, r);
            if (!IsKey(k)) {
                continue;
            }
            const Rgb bar = audio_.sevenColour ? Hue(Byte(cursor)) : audio_.foreground;
            MusicFadeTest(k, GridKey(c + 1, r), c >= 21);
            if (c > n) {
                UnlitBar(k, [&] { return bar; });
            } else {
                LightBar(k, bar);
            }
        }
    }
}

void KeyboardLightEngine::MusicRowsAlternating(const BandLevels& levels) {
    const auto g = GroupLevels(levels, {{{0, 1}, {2, 3}, {4, 6}, {7, 10}, {11, 15}, {16, 20}}});
    const unsigned d = light_.direction;
    preview_.phase = Step(d, kHues, preview_.phase, 1);
    preview_.colourIndex = Step(d, kBands, preview_.colourIndex, 1);
    for (int r = 0; r < kRows; ++r) {
        const std::int64_t n = CappedHeight(g[static_cast<std::size_t>(r)]) * 23 / 600;
        unsigned cursor = preview_.phase;
        // The cursor moves only when a seven-colour bar colour is actually taken.
        auto bar = [&]() -> Rgb {
            if (!audio_.sevenColour) {
                return audio_.foreground;
            }
            cursor = (cursor + 2) % kHues;
            return Hue(Byte(cursor));
        };
        for (int c = 0; c < kColumns; ++c) {
            const std::uint8_t k = GridKey(c, r);
            if (!IsKey(k)) {
                continue;
            }
            bool unlit = false;
            if (r % 2 == 1) {
                // Mirror of the even rows: n columns from the right stay unlit, so silence
                // lights nothing here either.
                MusicFadeTest(k, GridKey(c + 1, r), c >= 21);
                unlit = c > 22 - n;
            } else {
                MusicFadeTest(k, GridKey(c - 1, r), c <= 1);
                unlit = c < n;
            }
            if (unlit) {
                UnlitBar(k, bar);
            } else {
                LightBar(k, bar());
            }
        }
    }
}

// ---- Per-LED overrides
// -----------------------------------------------------------------------------

void KeyboardLightEngine::RunLedStatesLocked(bool reset, std::uint32_t nowMs) {
    // The override state covers one entry per key; a longer list is cut there.
    const std::size_t count = std::min(overrides_.size(), kKeys);
    const auto& curve = light::BreathingCurve();
    enum Kind : std::uint8_t { kBreathing = 0, kSteady = 1, kBlink = 2, kSpectrum = 3, kOff = 4 };

    for (std::size_t i = 0; i < count; ++i) {
        const LedOverride& e = overrides_[i];
        OverrideState& s = overrideState_[i];
        if (e.mode != kBreathing || !e.valid) {
            continue;
        }
        if (reset) {
            s.counter = 0;
            s.hue = 0;
        }
        s.counter = Byte(s.counter + e.speed + 4u);
        if (s.counter >= 128) {
            s.counter = 0;
            s.hue = Byte(s.hue + 1u);
            if (s.hue > kHues) {
                s.hue = kHues - 1;
            }
        }
        const Rgb colour = e.multiColour ? Hue(s.hue) : e.colour;
        frame_[i] = MakeLed(colour, curve[s.counter] * light::BrightnessLevel(e.brightness) / 256u);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const LedOverride& e = overrides_[i];
        if (e.mode == kSteady) {
            frame_[i] = MakeLed(e.colour, light::BrightnessLevel(e.brightness));
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        const LedOverride& e = overrides_[i];
        OverrideState& s = overrideState_[i];
        if (e.mode != kSpectrum || !e.valid) {
            continue;
        }
        if (reset) {
            s.hue = 0;
            s.counter = 0;
            s.limit = kb::EffectInterval(e.speed);
        }
        s.counter = Byte(s.counter + 1u);
        if (s.counter >= s.limit) {
            s.counter = 0;
            s.hue = Byte(s.hue + 1u);
            if (s.hue >= kHues) {
                s.hue = 0;
            }
        }
        frame_[i] = MakeLed(Hue(s.hue), light::BrightnessLevel(e.brightness));
    }
    for (std::size_t i = 0; i < count; ++i) {
        const LedOverride& e = overrides_[i];
        OverrideState& s = overrideState_[i];
        // Only blink entries keep a blink timer: toggling the others would jump the hue of a
        // breathing or spectrum LED.
        if (e.mode != kBlink) {
            continue;
        }
        if (reset) {
            s.toggleMs = 0;
            s.hue = 0;
            s.on = false;
            s.periodMs = kb::EffectInterval(e.speed) * light::kBlinkUnitMs;
        }
        if (nowMs - s.toggleMs >= s.periodMs) {
            s.on = !s.on;
            s.toggleMs = nowMs;
            s.hue = Byte(s.hue + 14u);
            if (s.hue >= kHues) {
                s.hue = 0;
            }
        }
        frame_[i] = s.on ? MakeLed(e.multiColour ? Hue(s.hue) : e.colour,
                                   light::BrightnessLevel(e.brightness))
                         : LedColour{};
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (overrides_[i].mode == kOff) {
            frame_[i] = {};
        }
    }
}

// ---- User-defined effect player -----------------------------------------------------------------

void KeyboardLightEngine::PlayEffectStep(std::uint32_t nowMs) {
    PlayerState& p = player_;
    if (!p.started) {
        p.started = true;
        p.stepStartMs = nowMs;
    }
    if (effectIndex_ >= effect_.size()) {
        effectIndex_ = 0;
    }
    if (effect_.empty()) {
        FillAll({});
        return;
    }
    const EffectStep step = effect_[effectIndex_];
    const std::uint8_t bs = light::BrightnessLevel(step.brightness);
    const unsigned interval = kb::EffectInterval(step.speed);
    p.tick = Byte(p.tick + 1u);
    switch (step.mode) {
    case 0: // breathing
        if (p.tick >= interval) {
            p.sub = Byte((p.sub + 1u) % 128);
            p.tick = 0;
            const Rgb colour = step.multiColour ? Hue(0) : step.colour;
            FillAll(MakeLed(colour, light::BreathingCurve()[p.sub] * bs / 256u));
        }
        break;
    case 1: // steady
        if (p.tick >= interval) {
            p.sub = Byte(p.sub + 1u);
            if (p.sub > 8) {
                p.sub = 0;
            }
            p.tick = 0;
            FillAll(MakeLed(step.colour, bs));
        }
        break;
    case 2: // blink
        p.sub = Byte((p.sub + 1u) % 128);
        if (p.tick >= interval) {
            p.tick = 0;
        }
        if (nowMs - p.lastToggleMs >= light::BlinkPeriodMs(light_.speed)) {
            p.on = !p.on;
            p.lastToggleMs = nowMs;
            p.hue = Byte(p.sub + 14u);
        }
        if (p.on) {
            FillAll(MakeLed(step.multiColour ? Hue(p.hue) : step.colour, bs));
        } else {
            FillAll({});
        }
        break;
    case 4: // wave
        if (p.tick >= interval) {
            p.sub = Byte((p.sub + 1u) % kHues);
            p.tick = 0;
            unsigned d = 0;
            if (step.direction == 0) {
                d = (p.sub + 1u) % kHues;
            } else {
                d = p.sub == 0 ? kHues - 1 : kHues - p.sub;
            }
            const auto& wave = kb::WaveTable();
            for (LedColour& led : frame_) {
                if (step.multiColour) {
                    led = MakeLed(Hue(Byte(d)), bs);
                    d = (d + 12) % kHues;
                } else {
                    d = (d + 12) % 96;
                    led = MakeLed(step.colour, bs * wave[d] / 256u);
                }
            }
        }
        break;
    case 5: // spectrum
        if (p.tick >= kb::KeyboardModeTiming(1, step.speed).interval) {
            p.sub = Byte((p.sub + 1u) % kHues);
            p.tick = 0;
            FillAll(MakeLed(Hue(p.sub), bs));
        }
        break;
    default:
        break;
    }
    if (p.tick == 255) {
        p.tick = 0;
    }
    const std::int64_t elapsed = static_cast<std::uint32_t>(nowMs - p.stepStartMs);
    if (elapsed > step.timeMs) {
        effectIndex_ = (effectIndex_ + 1) % effect_.size();
        p.stepStartMs = nowMs;
    }
}

} // namespace q407::devices
