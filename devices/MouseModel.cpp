#include "devices/MouseModel.h"

#include "common/Diag.h"
#include "devices/BlockLight.h"
#include "devices/KeyAssignments.h"
#include "hid/DeviceTable.h"
#include "profiles/JsonFile.h"

#include <algorithm>
#include <cctype>
#include <future>
#include <limits>
#include <system_error>

namespace q407::devices {
namespace {

namespace p = protocol;
namespace mb = mouse_block;

constexpr std::uint16_t kOldFirmwareLimit = 0x0103;
constexpr int kNoPosition = 255;
// Hue steps between neighbouring LEDs of the ring frame.
constexpr unsigned kHueSpread = 12;

std::uint8_t ToByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 0xFF));
}

std::uint16_t ToWord(int value) {
    return static_cast<std::uint16_t>(std::clamp(value, 0, 0xFFFF));
}

// The field a MouseField names.
std::uint16_t& FieldOf(profiles::MouseSystemSettings& settings, MouseField field) {
    switch (field) {
    case MouseField::DoubleClickTime:
        return settings.doubleClickTime;
    case MouseField::PointerSpeed:
        return settings.pointerSpeed;
    case MouseField::ScrollByPage:
        return settings.scrollByPage;
    case MouseField::WheelLines:
        return settings.wheelLines;
    case MouseField::Dormancy:
        return settings.dormancyTime;
    case MouseField::AntiShake:
        return settings.antiShake;
    case MouseField::LiftOff:
        return settings.liftOffDistance;
    case MouseField::SensorLift:
        return settings.sensorLift;
    case MouseField::MotionSync:
        return settings.motionSync;
    case MouseField::AngleSnapping:
        return settings.angleSnapping;
    case MouseField::Debounce:
        return settings.keyDebounce;
    case MouseField::DeepSleep:
        return settings.deepSleepOff;
    }
    return settings.reserved;
}

} // namespace

// --- DPI values ----------------------------------------------------------------------------------

int ClampDpi(long long value) {
    const long long clamped = std::clamp<long long>(value, kDpiMin, kDpiMax);
    return static_cast<int>((clamped + kDpiGranule - 1) / kDpiGranule * kDpiGranule);
}

int ParseDpiText(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])) != 0) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        // Anything beyond the range clamps anyway; stop growing well before overflow.
        value = std::min<long long>(value * 10 + (text[at] - '0'), 1'000'000'000LL);
    }
    return ClampDpi(negative ? -value : value);
}

SensorInfo SensorFromDeviceInfo(std::span<const std::uint8_t> info) {
    SensorInfo sensor;
    if (info.size() < p::kDeviceInfoSize) {
        return sensor;
    }
    sensor.model =
        static_cast<std::uint16_t>(info[p::kInfoSensorId] | (info[p::kInfoSensorId + 1] << 8));
    sensor.step = info[p::kInfoDpiStep];
    sensor.base = info[p::kInfoDpiBase] | (info[p::kInfoDpiBase + 1] << 8);
    return sensor;
}

std::uint16_t DpiToStored(int dpi, const SensorInfo& sensor) {
    if (sensor.model != kSteppedSensor) {
        return ToWord(dpi);
    }
    const int step = std::max(sensor.step, 1);
    if (dpi <= sensor.base) {
        return 0;
    }
    return ToWord((dpi - sensor.base) / step);
}

int StoredToDpi(std::uint16_t stored, const SensorInfo& sensor) {
    if (sensor.model != kSteppedSensor) {
        return stored;
    }
    const long long value =
        static_cast<long long>(stored) * std::max(sensor.step, 1) + std::max(sensor.base, 0);
    return static_cast<int>((value + kDpiGranule - 1) / kDpiGranule * kDpiGranule);
}

bool IsDeviceField(MouseField field) {
    switch (field) {
    case MouseField::DoubleClickTime:
    case MouseField::PointerSpeed:
    case MouseField::ScrollByPage:
    case MouseField::WheelLines:
        return false;
    default:
        return true;
    }
}

// --- Construction ------------------------------------------------------------------------------

MouseModel::MouseModel(hid::HidBackend& backend, LightClock* clock, LightRandom* random,
                       protocol::Pacer& pacer)
    : KeyedDeviceModel(backend, {kFirstUserLightMode, "macro.config"}, clock, random, pacer) {
    SetKind(kKindMouse);
}

MouseModel::~MouseModel() {
    // The threads call this object's frames: stop them before its members go.
    StopPageThreads();
}

// --- Reading the mouse ---------------------------------------------------------------------------

int MouseModel::ReadDevice(const protocol::DeviceFlagReport& flag) {
    if (!IsOpen()) {
        return 0;
    }
    p::DeviceTables tables;
    if (p::ReadMouse(Protocol(), tables, flag) != p::kResultOk) {
        return 0;
    }
    m_tables = tables;
    m_tablesRead = true;
    m_profile.SetRawBlock(std::span(m_tables.keyTable.data(), Protocol().TableSize()));
    PrepareKeyMap();
    return 1;
}

void MouseModel::PrepareKeyMap() {
    // The mouse's keys sit at the device position of their own number; keys beyond the
    // device's positions have none.
    const int positions = m_tables.deviceInfo[p::kInfoKeyPositions];
    const int keys = std::max({KeyCount(), static_cast<int>(m_keyList.size()), positions});
    std::map<int, int> map;
    std::map<std::uint8_t, std::uint8_t> profileMap;
    for (int key = 0; key < keys && key < kNoPosition; ++key) {
        const int position = key < positions ? key : kNoPosition;
        map[key] = position;
        profileMap[static_cast<std::uint8_t>(key)] = static_cast<std::uint8_t>(position);
    }
    SetDeviceMap(map);
    m_profile.SetDeviceMap(profileMap);
}

bool MouseModel::ReadBlock(std::uint8_t& slot, MouseConfigBlock& out) {
    if (!IsOpen()) {
        return false;
    }
    return p::ReadSettingsSequence(Protocol(), p::kMouseSettings, slot, out) == p::kResultOk;
}

int MouseModel::ReadDeviceConfig() {
    // The preview's pause belongs to the window (hidden) and to light streams, not to reading the
    // mouse: a resync while the window is hidden must not start the animation again.
    std::uint8_t slot = 0;
    MouseConfigBlock read{};
    if (!ReadBlock(slot, read)) {
        return 0;
    }
    m_currentSlot = slot;
    const Json::Value before = m_profile.GetRoot();
    TakeBlock(read);
    SaveIfChanged(before);
    return 1;
}

int MouseModel::ApplyDeviceButtons(int slot, int stage) {
    if (slot < 0 || slot > 0x0F) {
        return 0;
    }
    // Some firmware reports the button before its memory shows the change, so the slot and stage
    // come from the event, never from the current-slot byte or the block's stage byte.
    m_currentSlot = static_cast<std::uint8_t>(slot);
    const Json::Value before = m_profile.GetRoot();
    MouseConfigBlock read{};
    const bool blockRead =
        IsOpen() && p::ReadProfileSettingsSequence(Protocol(), p::kMouseSettings, m_currentSlot,
                                                   read) == p::kResultOk;
    if (blockRead) {
        TakeBlock(read);
    }
    if (stage >= 0 && stage < kDpiStageCount) {
        m_activeStage = stage;
        m_configBlock[mb::kActiveStage] = static_cast<std::uint8_t>(stage);
        m_profile.SetActiveStage(m_activeStage);
    }
    SaveIfChanged(before);
    return blockRead ? 1 : 0;
}

void MouseModel::SaveIfChanged(const Json::Value& before) {
    // A mouse that holds what the profile says needs no rewrite of the file (and no flush to
    // disk on every resynchronisation).
    if (m_profile.GetRoot() != before) {
        m_profile.SaveProfile();
    }
}

void MouseModel::TakeBlock(const MouseConfigBlock& read) {
    m_configBlock = read;
    m_blockRead = true;
    EnsureEffectCodes();

    profiles::LightInfo info = m_profile.GetLightInfo();
    // While the shared effect or a client drives the lights, the light bytes hold the last frame
    // written into the block, not the page's light settings: those stay the profile's.
    if (!FollowsSharedLighting() && !IsClientDriven()) {
        TakeBlockLight(read, EffectCodes(), info);
    }

    // The report-rate byte belongs to the connection the block was read through.
    (IsWireless() ? m_settings.reportRateWireless : m_settings.reportRateWired) =
        read[mb::kReportRate];
    m_settings.liftOffDistance = read[mb::kLiftOff];
    m_settings.angleSnapping = read[mb::kAngleSnapping];

    m_dpiStages.resize(std::max<std::size_t>(m_dpiStages.size(), kDpiStageCount));
    for (std::size_t i = 0; i < kDpiStageCount; ++i) {
        const std::uint8_t* s = read.data() + mb::kStages + mb::kStageSize * i;
        profiles::DpiStage& stage = m_dpiStages[i];
        stage.enabled = s[0];
        stage.separateXY = s[1];
        stage.dpiX = static_cast<std::uint16_t>(s[2] | (s[3] << 8));
        stage.dpiY = static_cast<std::uint16_t>(s[4] | (s[5] << 8));
        stage.red = s[6];
        stage.green = s[7];
        stage.blue = s[8];
    }
    // A stage number the list does not hold keeps the profile's choice.
    if (read[mb::kActiveStage] < kDpiStageCount) {
        m_activeStage = read[mb::kActiveStage];
    }

    m_profile.SetDpiStages(m_dpiStages);
    m_profile.SetMouseSettings(m_settings);
    m_profile.SetActiveStage(m_activeStage);
    m_profile.SetLightInfo(info);
    DeviceModel::SetLightParams(info);
    MouseConfigBlock frameBlock = m_configBlock;
    BuildBlock(frameBlock, 0);
    RefreshFrameTemplate(frameBlock);
}

void MouseModel::BuildBlock(MouseConfigBlock& out, int value) const {
    const std::size_t stages = std::min<std::size_t>(m_dpiStages.size(), kDpiStageCount);
    for (std::size_t i = 0; i < stages; ++i) {
        const profiles::DpiStage& stage = m_dpiStages[i];
        std::uint8_t* s = out.data() + mb::kStages + mb::kStageSize * i;
        s[0] = stage.enabled;
        s[1] = stage.separateXY;
        s[2] = static_cast<std::uint8_t>(stage.dpiX & 0xFF);
        s[3] = static_cast<std::uint8_t>(stage.dpiX >> 8);
        s[4] = static_cast<std::uint8_t>(stage.dpiY & 0xFF);
        s[5] = static_cast<std::uint8_t>(stage.dpiY >> 8);
        s[6] = stage.red;
        s[7] = stage.green;
        s[8] = stage.blue;
    }
    out[mb::kReportRate] = ToByte(ReportRate());
    out[mb::kActiveStage] = ToByte(m_activeStage);
    out[mb::kAngleSnapping] = ToByte(m_settings.angleSnapping);
    out[mb::kLiftOff] = ToByte(m_settings.liftOffDistance);

    const profiles::LightInfo info = GetLightParams();
    // The user's saved effects run on the mouse as its first effect.
    const std::size_t position = info.mode >= kFirstUserLightMode ? 0 : info.mode;
    if (position < EffectCodes().size()) {
        out[mb::kEffect] = ToByte(EffectCodes()[position]);
    }
    PutBlockLight(info, out);

    out[mb::kValue] = ToByte(value);
    out[mb::kZero] = 0;
}

int MouseModel::WriteConfig(int slot, int value, int a, int b, int c) {
    (void)a;
    (void)b;
    (void)c;
    if (!IsOpen()) {
        return 0;
    }
    // The bytes the program does not know must come from the mouse, never from zeros.
    if (!m_blockRead) {
        std::uint8_t current = 0;
        if (!ReadBlock(current, m_configBlock)) {
            return 0;
        }
        m_currentSlot = current;
        m_blockRead = true;
    }
    EnsureEffectCodes();
    MouseConfigBlock out = m_configBlock;
    BuildBlock(out, value);
    FrameTemplate frameTemplate{
        {out.begin(), out.end()}, p::kMouseSettings, slot,     mb::kEffect,
        mb::kBrightness,          mb::kMultiColour,  mb::kRed, std::nullopt};
    if (const auto steady = LightModeFor(kKindMouse, SharedMode::Steady);
        steady && *steady < EffectCodes().size()) {
        frameTemplate.steadyEffect = ToByte(EffectCodes()[*steady]);
    }
    return WriteWithFrameTemplate(std::move(frameTemplate), [&] {
        return p::WriteSettingsSequence(Protocol(), p::kMouseSettings, slot, out) == p::kResultOk
                   ? 1
                   : 0;
    });
}

std::uint16_t MouseModel::FirmwareVersion() const {
    auto& protocol = const_cast<MouseModel*>(this)->Protocol();
    if (!protocol.IsOpened()) {
        return 0;
    }
    const hid::CHidDevice& record =
        protocol.IsWireless() ? protocol.ReceiverRecord() : protocol.CableRecord();
    return record.Attributes().versionNumber;
}

bool MouseModel::NeedsOldFirmwareNotice() const {
    const std::uint16_t product = Identity().productId;
    const bool model = product == hid::kProductMouseA || product == hid::kProductMouseAReceiver;
    return !m_tipShown && model && IsOpen() && FirmwareVersion() < kOldFirmwareLimit;
}

// --- Profile -------------------------------------------------------------------------------------

void MouseModel::SetAudioLightParams(const profiles::AudioLightInfo& params) {
    DeviceModel::SetAudioLightParams(params);
    m_profile.SetAudioLightInfo(params);
}

void MouseModel::LoadLighting() {
    DeviceModel::SetLightParams(m_profile.GetLightInfo());
    DeviceModel::SetAudioLightParams(m_profile.GetAudioLightInfo());
    m_lightList = m_profile.GetLightList();
    if (!m_profile.GetLightConfigPath().empty()) {
        m_profile.LoadLightConfig(m_profile.GetLightConfigPath());
    }
    SetEffectSteps(m_profile.GetLedEffect());
    m_effectStart = Clock().NowMs();
}

void MouseModel::TakeProfile() {
    m_keyList = m_profile.GetKeyList();
    LoadLighting();
    m_dpiStages = m_profile.GetDpiStages();
    m_activeStage = m_profile.GetActiveStage();
    m_settings = m_profile.GetMouseSettings();
}

// --- Working copies and setting changes ----------------------------------------------------------

void MouseModel::SetSettings(const profiles::MouseSystemSettings& settings) {
    m_settings = settings;
    m_profile.SetMouseSettings(settings);
}

void MouseModel::SetDpiStages(const std::vector<profiles::DpiStage>& stages) {
    m_dpiStages = stages;
    m_profile.SetDpiStages(stages);
}

int MouseModel::SaveAndWrite() {
    // Nothing WriteConfig does then touches the profile record, so the file can be saved on a
    // helper thread meanwhile: its flush to disk takes about as long as a command's pause.
    EnsureEffectCodes();
    const Json::Value entry = m_profile.GetRoot();
    const std::filesystem::path path = m_profile.GetProfilePath();
    auto save = [&] { return !path.empty() && m_profile.WriteDeviceEntry(entry, path); };
    std::future<bool> saved;
    try {
        saved = std::async(std::launch::async, save);
    } catch (const std::system_error&) {
        save(); // no thread to spare: one after the other
    }
    const int result = WriteConfig(0, 0, 1, 0, 0);
    if (saved.valid()) {
        saved.wait();
    }
    return result;
}

int MouseModel::CommitStages() {
    m_profile.SetDpiStages(m_dpiStages);
    m_profile.SetActiveStage(m_activeStage);
    return SaveAndWrite();
}

int MouseModel::CommitSettings() {
    m_profile.SetMouseSettings(m_settings);
    return SaveAndWrite();
}

int MouseModel::SetDpiValue(int stage, int dpi) {
    if (stage < 0 || stage >= kDpiStageCount) {
        return 0;
    }
    if (static_cast<std::size_t>(stage) >= m_dpiStages.size()) {
        m_dpiStages.resize(static_cast<std::size_t>(stage) + 1);
    }
    profiles::DpiStage& target = m_dpiStages[static_cast<std::size_t>(stage)];
    target.dpiX = DpiToStored(ClampDpi(dpi), Sensor());
    if (target.separateXY == 0) {
        target.dpiY = target.dpiX;
    }
    return CommitStages();
}

int MouseModel::ShownDpi(int stage) const {
    if (stage < 0 || static_cast<std::size_t>(stage) >= m_dpiStages.size()) {
        return 0;
    }
    return StoredToDpi(m_dpiStages[static_cast<std::size_t>(stage)].dpiX, Sensor());
}

int MouseModel::SetStageEnabled(int stage, bool enabled) {
    if (stage < 0 || static_cast<std::size_t>(stage) >= m_dpiStages.size() ||
        (!enabled && stage == m_activeStage)) {
        return 0;
    }
    m_dpiStages[static_cast<std::size_t>(stage)].enabled = enabled ? 1 : 0;
    return CommitStages();
}

int MouseModel::SelectActiveStage(int stage) {
    if (stage < 0 || static_cast<std::size_t>(stage) >= m_dpiStages.size()) {
        return 0;
    }
    m_activeStage = stage;
    m_dpiStages[static_cast<std::size_t>(stage)].enabled = 1;
    return CommitStages();
}

int MouseModel::SetDpiColour(int stage, std::uint32_t argb) {
    if (stage < 0 || static_cast<std::size_t>(stage) >= m_dpiStages.size()) {
        return 0;
    }
    profiles::DpiStage& target = m_dpiStages[static_cast<std::size_t>(stage)];
    target.red = static_cast<std::uint8_t>((argb >> 16) & 0xFF);
    target.green = static_cast<std::uint8_t>((argb >> 8) & 0xFF);
    target.blue = static_cast<std::uint8_t>(argb & 0xFF);
    return CommitStages();
}

std::uint32_t MouseModel::GetDpiColour(int stage) const {
    if (stage < 0 || static_cast<std::size_t>(stage) >= m_dpiStages.size()) {
        return 0;
    }
    const profiles::DpiStage& s = m_dpiStages[static_cast<std::size_t>(stage)];
    return 0xFF000000U + s.red * 65536U + s.green * 256U + s.blue;
}

int MouseModel::ReportRate() const {
    return IsWireless() ? m_settings.reportRateWireless : m_settings.reportRateWired;
}

int MouseModel::SetReportRate(int choice) {
    (IsWireless() ? m_settings.reportRateWireless : m_settings.reportRateWired) = ToWord(choice);
    return CommitSettings();
}

int MouseModel::SetSettingField(MouseField field, int value) {
    FieldOf(m_settings, field) = ToWord(value);
    if (IsDeviceField(field)) {
        return CommitSettings();
    }
    m_profile.SetMouseSettings(m_settings);
    return m_profile.SaveProfile() ? 1 : 0;
}

int MouseModel::GetSettingField(MouseField field) const {
    profiles::MouseSystemSettings copy = m_settings;
    return FieldOf(copy, field);
}

int MouseModel::ApplyLightParams(const profiles::LightInfo& params) {
    SetLightParams(params);
    SetEffectSteps(m_profile.GetLedEffect());
    m_effectStart = Clock().NowMs();
    return SaveAndWrite();
}

int MouseModel::SystemPointerSpeed(int slider) {
    const long long speed = static_cast<long long>(slider) * 2 + 2;
    return static_cast<int>(std::clamp<long long>(speed, 1, 20));
}

// --- Link and power ------------------------------------------------------------------------------

std::optional<std::array<std::uint8_t, 6>> MouseModel::PollPowerState() {
    if (!IsOpen() || PowerValue() != 0 || !Protocol().QueryWirelessLink()) {
        return std::nullopt;
    }
    std::array<std::uint8_t, 6> state{};
    state[3] = IsWireless() ? 1 : 0;
    return state;
}

// --- Key table, macros and recoil ---------------------------------------------------------------

std::vector<int> MouseModel::UsedMacros(const KeyEntries& entries) const {
    return devices::UsedMacros(entries, KeyMap(), MacroLibrarySize(*this), entries.size());
}

int MouseModel::WriteKeyTable(profiles::CBasicProfiledata* profile, const KeyEntries& entries) {
    // The table is built on the factory table the mouse gave; without it the write would
    // blank every key the program does not assign.
    if (!IsOpen() || !m_tablesRead) {
        return 0;
    }
    std::vector<profiles::KeyAssignmentEntry> keys =
        profile != nullptr ? profile->GetKeyList() : m_keyList;
    const std::vector<std::uint8_t> table =
        BuildKeyTable(std::span(m_tables.defaultKeyTable.data(), Protocol().TableSize()), KeyMap(),
                      entries, keys, MacroLibrarySize(*this), entries.size());
    return p::WriteKeyTableSequence(Protocol(), table) == p::kResultOk ? 1 : 0;
}

int MouseModel::WriteRecoilImage(std::span<const std::uint8_t> image) {
    if (!IsOpen() || image.empty()) {
        return 0;
    }
    return p::WriteRecoilSequence(Protocol(), image) == p::kResultOk ? 1 : 0;
}

// --- Preview -------------------------------------------------------------------------------------

void MouseModel::PreviewDeviceFrameA() {
    const int leds = LedCount();
    const profiles::LightInfo params = GetLightParams();
    EditPreview([&](PreviewBuffers& b) {
        // An empty ring gets one marker per LED (LED 0 is the ring's empty mark).
        if (std::all_of(b.ring.begin(), b.ring.end(), [](std::uint8_t v) { return v == 0; })) {
            for (std::size_t i = 1; i < b.ring.size() && static_cast<int>(i) < leds; ++i) {
                b.ring[i] = static_cast<std::uint8_t>(i);
            }
        }
    });
    RotateRing(params.direction);
    for (int led = 0; led < leds; ++led) {
        FadeLedStep(led, 0);
    }
    MarkRingLeds();
    EditPreview([](PreviewBuffers& b) {
        light::PreviewRingColours(b.leds, b.state, b.params, b.levels, kHueSpread);
    });
}

void MouseModel::PreviewDeviceFrameB() {
    EditPreview([](PreviewBuffers& b) { light::PreviewHueWave(b.leds, b.state, b.params); });
}

void MouseModel::PreviewDeviceFrameC() {
    std::vector<LedState> states;
    EditLedStates([&](std::vector<LedState>& live) {
        for (LedState& state : live) {
            if (state.ripple == 0) {
                continue;
            }
            state.fadeLevel = light::FadeLevel(state.fadeLevel, 6);
            state.hue = static_cast<std::uint8_t>((state.hue + 1) % light::kHueCount);
            if (state.fadeLevel == 0) {
                state.ripple = 0;
            }
        }
        states = live;
    });
    EditPreview([&](PreviewBuffers& b) {
        const unsigned full = light::BrightnessLevel(b.params.brightness);
        for (std::size_t i = 0; i < b.leds.size(); ++i) {
            const bool lit = i < states.size() && states[i].ripple != 0;
            b.leds[i] = lit ? MakeLed(light::Hue(states[i].hue), states[i].fadeLevel * full / 255)
                            : LedColour{};
        }
    });
}

void MouseModel::RunEffectStep() {
    const std::vector<profiles::LedEffectStep> steps = EffectSteps();
    if (steps.empty()) {
        PreviewOff();
        return;
    }
    // Each step shows for its time (at least one light step); the list then starts again.
    std::uint64_t total = 0;
    for (const profiles::LedEffectStep& step : steps) {
        total += static_cast<std::uint64_t>(std::max<std::int32_t>(step.time, 2));
    }
    std::uint64_t at = (Clock().NowMs() - m_effectStart.load()) % total;
    const profiles::LedEffectStep* current = &steps.front();
    for (const profiles::LedEffectStep& step : steps) {
        const auto length = static_cast<std::uint64_t>(std::max<std::int32_t>(step.time, 2));
        if (at < length) {
            current = &step;
            break;
        }
        at -= length;
    }
    EditPreview([&](PreviewBuffers& b) {
        const unsigned full = light::BrightnessLevel(current->brightness);
        if (current->multiColor != 0) {
            b.state.phase = light::Step(current->direction, light::kHueCount, b.state.phase, 1);
        }
        const Rgb colour = current->multiColor != 0
                               ? light::Hue(b.state.phase)
                               : Rgb{current->red, current->green, current->blue};
        for (LedColour& led : b.leds) {
            led = MakeLed(colour, full);
        }
    });
}

} // namespace q407::devices
