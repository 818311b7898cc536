#include "devices/KeyboardModel.h"

#include "common/Diag.h"
#include "devices/BlockLight.h"
#include "profiles/JsonFile.h"

#include <algorithm>

namespace q407::devices {
namespace {

namespace p = protocol;
namespace kbb = keyboard_block;

constexpr int kNoPosition = 255;
constexpr std::array<int, 4> kRepeatDelays{250, 500, 750, 1000};

std::uint8_t ToByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 0xFF));
}

KeyboardLight EngineLight(const profiles::LightInfo& info) {
    KeyboardLight light;
    light.mode = info.mode;
    light.brightness = info.brightness;
    light.speed = info.speed;
    light.direction = info.direction;
    light.multiColour = info.multiColor != 0;
    light.colour = {info.red, info.green, info.blue};
    light.secondaryMode = info.secondaryMode;
    return light;
}

KeyboardAudioLight EngineAudio(const profiles::AudioLightInfo& info) {
    KeyboardAudioLight audio;
    audio.audioMode = info.audioMode;
    audio.background = {info.backgroundRed, info.backgroundGreen, info.backgroundBlue};
    audio.foreground = {info.foregroundRed, info.foregroundGreen, info.foregroundBlue};
    audio.sevenColour = info.sevenColours != 0;
    return audio;
}

template <typename Target, typename Source>
void CopySettings(Target& target, const Source& source) {
    target.mode = source.mode;
    target.brightness = source.brightness;
    target.speed = source.speed;
    target.direction = source.direction;
    target.multiColour = source.multiColor != 0;
    target.colour = {source.red, source.green, source.blue};
}

std::vector<LedOverride> EngineOverrides(const std::vector<profiles::LightListEntry>& list) {
    std::vector<LedOverride> overrides;
    overrides.reserve(list.size());
    for (const profiles::LightListEntry& entry : list) {
        LedOverride o;
        CopySettings(o, entry);
        o.valid = entry.valid != 0;
        overrides.push_back(o);
    }
    return overrides;
}

std::vector<EffectStep> EngineEffect(const std::vector<profiles::LedEffectStep>& steps) {
    std::vector<EffectStep> effect;
    effect.reserve(steps.size());
    for (const profiles::LedEffectStep& step : steps) {
        EffectStep e;
        CopySettings(e, step);
        e.timeMs = step.time;
        e.cycle = step.cycle;
        effect.push_back(e);
    }
    return effect;
}

bool IsStreamedMode(int mode) {
    return mode == kMusicMode || mode == kColourInputMode;
}

} // namespace

int RepeatDelayMs(int option) {
    return kRepeatDelays[static_cast<std::size_t>(ShownOption(option, 3))];
}

int ShownOption(int value, int last) {
    return value < 0 || value > last ? 0 : value;
}

// --- Construction --------------------------------------------------------------------------------

KeyboardModel::KeyboardModel(hid::HidBackend& backend, LightClock* clock, LightRandom* random,
                             protocol::Pacer& pacer)
    : KeyedDeviceModel(backend, {kFirstKeyboardUserLightMode, "macro.config"}, clock, random,
                       pacer),
      m_ownRandom(random == nullptr
                      ? std::make_unique<SeededLightRandom>(SteadyLightClock().NowMs() ^ 0x4B42u)
                      : nullptr),
      m_engine(Clock(), random != nullptr ? *random : *m_ownRandom), m_pacer(pacer) {
    SetKind(kKindKeyboard);
    SetLightTable(kKeyboardLightTable);
    m_positionMap.fill(kb::kNoKey);
    m_ledMap.fill(kb::kNoKey);
    m_clientLedMap.fill(kb::kNoKey);
    m_profile.SetFirstCustomLightMode(kFirstKeyboardUserLightMode);
}

KeyboardModel::~KeyboardModel() {
    // The threads call this object's engine and frames: stop them before its members go.
    StopPageThreads();
}

// --- Reading and writing the keyboard ------------------------------------------------------------

int KeyboardModel::ReadKeyTables() {
    if (!IsOpen()) {
        return 0;
    }
    if (IsWireless() && !Protocol().QueryWirelessLink()) {
        return 0;
    }
    if (m_tablesRead) {
        // A keyboard that comes back (replugged, its link restored) with the device information
        // it had keeps the tables read from it before: the product fixes them, and reading them
        // again would hold its streamed frames back for about a second through the receiver.
        std::array<std::uint8_t, p::kDeviceInfoSize> info{};
        if (p::ReadDeviceInformation(Protocol(), info) != p::kResultOk) {
            return 0;
        }
        std::lock_guard lock(m_previewMutex);
        if (info == m_tables.deviceInfo) {
            return 1;
        }
    }
    p::DeviceTables tables;
    if (p::ReadKeyboard(Protocol(), tables) != p::kResultOk) {
        return 0;
    }
    const std::size_t positions = tables.deviceInfo[p::kInfoKeyPositions];
    std::vector<KeyFunctionCode> codes(positions);
    for (std::size_t k = 0; k < positions; ++k) {
        codes[k] = {tables.defaultKeyTable[3 * k], tables.defaultKeyTable[3 * k + 1],
                    tables.defaultKeyTable[3 * k + 2]};
    }
    const kb::KeySlots positionMap = kb::BuildPositionMap(codes);
    const kb::KeySlots ledMap =
        kb::BuildLedMap(positionMap, std::span(tables.ledIndexTable.data(), positions));

    std::map<int, int> map;
    std::map<std::uint8_t, std::uint8_t> profileMap;
    for (std::size_t j = 0; j < positionMap.size(); ++j) {
        map[static_cast<int>(j)] = positionMap[j];
        profileMap[static_cast<std::uint8_t>(j)] = positionMap[j];
    }
    {
        std::lock_guard lock(m_previewMutex); // the stream reads the LED map and slot count
        m_tables = tables;
        m_positionMap = positionMap;
        m_ledMap = ledMap;
        m_tablesRead = true;
    }
    m_engine.SetPositionMap(positionMap);
    SetDeviceMap(map);
    m_profile.SetDeviceMap(profileMap);
    m_streamWake.Set(); // the frame now lands on other LEDs
    return 1;
}

bool KeyboardModel::ReadBlock(std::uint8_t& profile, KeyboardConfigBlock& out) {
    return IsOpen() &&
           p::ReadSettingsSequence(Protocol(), p::kKeyboardSettings, profile, out) == p::kResultOk;
}

int KeyboardModel::ReadSettingsBlock() {
    std::uint8_t profile = 0;
    KeyboardConfigBlock read{};
    if (!ReadBlock(profile, read)) {
        return 0;
    }
    read[kbb::kZero] = 0;
    m_currentProfile = profile;
    m_configBlock = read;
    m_blockRead = true;
    EnsureEffectCodes();
    const Json::Value before = m_profile.GetRoot();

    profiles::LightInfo info = GetLightParams();
    // A code the list does not know (0xFE among them: a host-streamed mode) keeps the page's mode.
    TakeBlockLight(read, EffectCodes(), info);
    info.secondaryMode = read[kbb::kSecondaryMode];
    info.customGroup = read[kbb::kCustomGroup];

    m_settings.key6Flag = read[kbb::kKey6];
    m_settings.winFlag = read[kbb::kWinLock];
    m_settings.wFlag = read[kbb::kWFlag];
    m_profile.SetKeyboardSettings(m_settings);
    m_profile.SetLightInfo(info);
    m_profile.SetCustomGroupIndex(info.customGroup);
    DeviceModel::SetLightParams(info);
    if (m_engine.SetLight(EngineLight(info)) && info.mode == kCustomColourMode) {
        ReadCustomGroup(info.customGroup);
    }
    // A keyboard that holds what the profile says needs no rewrite of the file.
    if (m_profile.GetRoot() != before) {
        m_profile.SaveProfile();
    }
    // The keyboard answers (it may just have come back): a frame that found the page reading
    // goes again now.
    WakeStream();
    return 1;
}

void KeyboardModel::OnCommandAttached() {
    WakeStream();
}

void KeyboardModel::WakeStream() {
    // A pause for a frame that failed while the keyboard was away is over once it is back.
    m_streamPaused.store(false);
    m_streamWake.Set();
}

int KeyboardModel::WriteSettingsBlock(int profile, int byte0) {
    if (!IsOpen()) {
        return 0;
    }
    // The bytes the program does not know must come from the keyboard, never from zeros.
    if (!m_blockRead) {
        std::uint8_t current = 0;
        if (!ReadBlock(current, m_configBlock)) {
            return 0;
        }
        m_currentProfile = current;
        m_blockRead = true;
    }
    EnsureEffectCodes();
    KeyboardConfigBlock out = m_configBlock;
    out[kbb::kWFlag] = ToByte(m_settings.wFlag);
    out[kbb::kKey6] = ToByte(m_settings.key6Flag);
    out[kbb::kWinLock] = ToByte(m_settings.winFlag);
    out[kbb::kPollingRate] = ToByte(m_settings.pollingRate);

    const profiles::LightInfo info = GetLightParams();
    if (IsClientDriven()) {
        out[kbb::kEffect] = kHostStreamedEffect;
    } else if (info.mode < EffectCodes().size()) {
        const int code = EffectCodes()[info.mode];
        out[kbb::kEffect] = IsStreamedMode(code) ? kHostStreamedEffect : ToByte(code);
    }
    PutBlockLight(info, out);
    out[kbb::kZero] = 0;
    out[kbb::kSecondaryMode] = info.secondaryMode;
    out[kbb::kCustomGroup] = info.customGroup;
    out[kbb::kProfile] = ToByte(byte0);
    return p::WriteSettingsSequence(Protocol(), p::kKeyboardSettings, profile, out);
}

int KeyboardModel::WriteConfig(int slot, int value, int a, int b, int c) {
    (void)a;
    (void)b;
    (void)c;
    return WriteSettingsBlock(slot, value) == p::kResultOk ? 1 : 0;
}

// --- Profile -------------------------------------------------------------------------------------

void KeyboardModel::SetAudioLightParams(const profiles::AudioLightInfo& params) {
    DeviceModel::SetAudioLightParams(params);
    m_profile.SetAudioLightInfo(params);
    m_engine.SetAudioLight(EngineAudio(params));
}

void KeyboardModel::TakeLightIntoEngine() {
    const profiles::LightInfo info = m_profile.GetLightInfo();
    const profiles::AudioLightInfo audio = m_profile.GetAudioLightInfo();
    DeviceModel::SetLightParams(info);
    DeviceModel::SetAudioLightParams(audio);
    if (!m_profile.GetLightConfigPath().empty()) {
        m_profile.LoadLightConfig(m_profile.GetLightConfigPath());
    }
    const std::vector<profiles::LedEffectStep> steps = m_profile.GetLedEffect();
    SetEffectSteps(steps);
    TakeCustomColoursFromProfile();
    m_engine.LoadLighting(EngineLight(info), EngineAudio(audio),
                          EngineOverrides(m_profile.GetLightList()), EngineEffect(steps));
}

void KeyboardModel::LoadLighting() {
    TakeLightIntoEngine();
    // Mode 20 shows the custom colours: the keyboard gets the group the profile holds.
    if (GetLightParams().mode == kCustomColourMode && IsOpen() && m_tablesRead) {
        WriteCustomGroup(CustomGroup());
    }
}

int KeyboardModel::ApplyLightParams(const profiles::LightInfo& params) {
    SetLightParams(params);
    SaveProfile();
    LoadLighting();
    return WriteConfig(0, 0, 1, 0, 0);
}

void KeyboardModel::TakeProfile() {
    m_keyList = m_profile.GetKeyList();
    m_settings = m_profile.GetKeyboardSettings();
    TakeLightIntoEngine();
}

// --- System settings -----------------------------------------------------------------------------

int KeyboardModel::SetSwitch(KeyboardSwitch which, bool on) {
    const std::uint16_t value = on ? 1 : 0;
    switch (which) {
    case KeyboardSwitch::WinLock:
        m_settings.winFlag = value;
        break;
    case KeyboardSwitch::WFlag:
        m_settings.wFlag = value;
        break;
    case KeyboardSwitch::Key6:
        m_settings.key6Flag = value;
        break;
    }
    m_profile.SetKeyboardSettings(m_settings);
    m_profile.SaveProfile();
    return WriteSettingsBlock(0, 0);
}

bool KeyboardModel::GetSwitch(KeyboardSwitch which) const {
    switch (which) {
    case KeyboardSwitch::WinLock:
        return m_settings.winFlag != 0;
    case KeyboardSwitch::WFlag:
        return m_settings.wFlag != 0;
    case KeyboardSwitch::Key6:
        return m_settings.key6Flag != 0;
    }
    return false;
}

int KeyboardModel::SetRepeatDelay(int option) {
    m_settings.repeatDelay = static_cast<std::uint16_t>(ShownOption(option, 3));
    m_profile.SetKeyboardSettings(m_settings);
    return m_profile.SaveProfile() ? 1 : 0;
}

int KeyboardModel::SetRepeatRate(int rate) {
    m_settings.repeat = static_cast<std::uint16_t>(std::clamp(rate, 0, 0xFFFF));
    m_profile.SetKeyboardSettings(m_settings);
    return m_profile.SaveProfile() ? 1 : 0;
}

// --- Keys and macros -----------------------------------------------------------------------------

std::vector<int> KeyboardModel::CollectUsedMacros() const {
    return UsedMacros(CurrentKeyEntries(), DeviceMap(), MacroLibrarySize(*this), kb::kUsedKeys);
}

int KeyboardModel::WriteKeyTable(profiles::CBasicProfiledata* profile, const KeyEntries& entries) {
    // The table is built on the keyboard's factory table; without it every key the program
    // does not assign would be blanked.
    if (!IsOpen() || !m_tablesRead) {
        return 0;
    }
    const bool own = profile == nullptr || profile == &m_profile;
    std::vector<profiles::KeyAssignmentEntry> keys = own ? m_keyList : profile->GetKeyList();
    const std::vector<std::uint8_t> table =
        BuildKeyTable(std::span(m_tables.defaultKeyTable.data(), 3U * KeyPositions()), DeviceMap(),
                      entries, keys, MacroLibrarySize(*this), kb::kUsedKeys);
    if (own && keys != m_keyList) {
        // Keys whose macro is gone now do what the keyboard is told they do.
        m_keyList = keys;
        m_profile.SetKeyAssignments(m_keyList);
        m_profile.SaveProfile();
    }
    return p::WriteKeyTableSequence(Protocol(), table) == p::kResultOk ? 1 : 0;
}

bool KeyboardModel::ResetOrphanMacroKeys() {
    const int count = MacroLibrarySize(*this);
    bool changed = false;
    for (profiles::KeyAssignmentEntry& key : m_keyList) {
        const auto function =
            static_cast<std::uint32_t>(profiles::KeyFunctionToInt(key.assignment));
        if (IsMacroFunction(function) && MacroIndexOf(function) >= count) {
            key.assignment = key.defaultAssignment;
            changed = true;
        }
    }
    if (changed) {
        m_profile.SetKeyAssignments(m_keyList);
        m_profile.SaveProfile();
    }
    return changed;
}

// --- Custom colours ------------------------------------------------------------------------------

int KeyboardModel::CustomGroup() const {
    return GetLightParams().customGroup;
}

void KeyboardModel::StoreCustomColours() {
    const auto colours = m_engine.CustomColours();
    std::vector<profiles::CustomColour> stored;
    stored.reserve(colours.size());
    for (const Rgb& c : colours) {
        stored.push_back({c.red, c.green, c.blue, 0xFF});
    }
    m_profile.SetCustomColours(stored, CustomGroup());
}

void KeyboardModel::TakeCustomColoursFromProfile() {
    const std::vector<profiles::CustomColour> stored =
        m_profile.GetCustomColours(CustomGroup(), static_cast<int>(kb::kKeySlots));
    std::vector<Rgb> colours;
    colours.reserve(stored.size());
    for (const profiles::CustomColour& c : stored) {
        colours.push_back({c.red, c.green, c.blue});
    }
    m_engine.SetCustomColours(colours);
}

int KeyboardModel::ReadCustomGroup(int group) {
    if (!IsOpen() || !m_tablesRead || group < 0) {
        return 0;
    }
    std::vector<std::uint8_t> data(3U * static_cast<std::size_t>(KeyPositions()));
    const int result = p::RunLinked(Protocol(), [&] {
        return Protocol().ReadIndexedBlock(data.data(), data.size(), group, kCustomGroupStride);
    });
    if (result != p::kResultOk) {
        return 0;
    }
    auto colours = m_engine.CustomColours();
    kb::UnpackColourGroup(data, m_ledMap, colours);
    m_engine.SetCustomColours(colours);
    StoreCustomColours();
    m_profile.SaveProfile();
    return 1;
}

int KeyboardModel::WriteCustomGroup(int group) {
    if (!IsOpen() || !m_tablesRead || group < 0) {
        return 0;
    }
    const auto colours = m_engine.CustomColours();
    const std::vector<std::uint8_t> data =
        kb::PackColourGroup(colours, m_ledMap, static_cast<std::size_t>(KeyPositions()));
    int result = p::RunLinked(Protocol(), [&] { return Protocol().BeginConfig(); });
    if (result == p::kResultOk) {
        result = p::RunLinked(Protocol(), [&] {
            return Protocol().WriteIndexedBlock(data.data(), data.size(), group,
                                                kCustomGroupStride);
        });
    }
    if (result == p::kResultOk) {
        result = p::RunLinked(Protocol(), [&] { return Protocol().EndConfig(1); });
    }
    if (result != p::kResultOk) {
        // A keyboard that refused the colours is given a moment before anything else is sent.
        m_pacer.Pause(kFailurePause);
    }
    return result;
}

int KeyboardModel::ReloadCustomGroup() {
    TakeCustomColoursFromProfile();
    return IsOpen() ? WriteCustomGroup(CustomGroup()) : 0;
}

int KeyboardModel::PaintCustomKeys(std::span<const int> keys, Rgb colour) {
    if (GetLightParams().mode != kCustomColourMode) {
        return 0;
    }
    bool painted = false;
    for (const int key : keys) {
        if (key >= 0 && static_cast<std::size_t>(key) < kb::kKeySlots) {
            m_engine.SetCustomColour(static_cast<unsigned>(key), colour);
            painted = true;
        }
    }
    if (!painted) {
        return 0;
    }
    StoreCustomColours();
    m_profile.SaveProfile();
    return WriteCustomGroup(CustomGroup());
}

int KeyboardModel::FillCustomColours(Rgb colour) {
    m_engine.FillCustomColours(colour);
    const int result = WriteCustomGroup(CustomGroup());
    StoreCustomColours();
    m_profile.SaveProfile();
    return result;
}

void KeyboardModel::SelectCustomGroup(int group) {
    profiles::LightInfo info = GetLightParams();
    info.customGroup = ToByte(group);
    SetLightParams(info);
    m_profile.SetCustomGroupIndex(info.customGroup);
    m_profile.SaveProfile();
}

// --- Streaming -----------------------------------------------------------------------------------

bool KeyboardModel::IsHostStreamedMode() const {
    return IsStreamedMode(GetLightParams().mode);
}

std::vector<std::uint8_t> KeyboardModel::StreamBuffer() const {
    if (IsClientDriven()) {
        std::lock_guard lock(m_previewMutex);
        return kb::PackColourGroup(m_clientColours, m_clientLedMap,
                                   m_tables.deviceInfo[protocol::kInfoKeyPositions]);
    }
    const KeyboardLightEngine::Frame frame = m_engine.GetFrame();
    std::lock_guard lock(m_previewMutex);
    return kb::PackFrame(frame, m_ledMap, m_tables.deviceInfo[protocol::kInfoKeyPositions]);
}

bool KeyboardModel::HasStreamedLight(int key) const {
    std::lock_guard lock(m_previewMutex);
    if (!m_tablesRead || key < 0 || static_cast<std::size_t>(key) >= m_ledMap.size()) {
        return false;
    }
    const std::uint8_t slot = m_ledMap[static_cast<std::size_t>(key)];
    return slot != kb::kNoKey && slot < m_tables.deviceInfo[protocol::kInfoKeyPositions];
}

bool KeyboardModel::StreamPaused() const {
    if (!m_streamPaused.load()) {
        return false;
    }
    return static_cast<std::int32_t>(Clock().NowMs() - m_streamResumeMs.load()) < 0;
}

bool KeyboardModel::CanStream() const {
    if (!IsOpen() || !LightOutput() || !(IsHostStreamedMode() || IsClientDriven()) ||
        StreamPaused()) {
        return false;
    }
    std::lock_guard lock(m_previewMutex);
    return m_tablesRead;
}

void KeyboardModel::SetClientKeyColours(std::span<const int> keys, std::span<const Rgb> colours) {
    std::lock_guard lock(m_previewMutex);
    m_clientColours.fill({});
    m_clientLedMap.fill(kb::kNoKey);
    for (std::size_t i = 0; i < std::min(keys.size(), colours.size()); ++i) {
        if (keys[i] >= 0 && static_cast<std::size_t>(keys[i]) < m_clientColours.size()) {
            const auto key = static_cast<std::size_t>(keys[i]);
            m_clientColours[key] = colours[i];
            m_clientLedMap[key] = m_ledMap[key];
        }
    }
    m_streamWake.Set();
}

int KeyboardModel::SendFrame(const std::vector<std::uint8_t>& frame,
                             const std::function<bool()>& giveUp) {
    if (frame.empty()) {
        return 0;
    }
    if (Protocol().StreamLight(frame.data(), frame.size(), giveUp) != p::kResultOk) {
        m_streamResumeMs.store(Clock().NowMs() + static_cast<std::uint32_t>(kFailurePause.count()));
        m_streamPaused.store(true);
        return -1;
    }
    m_streamPaused.store(false);
    m_streamedFrames.fetch_add(1);
    return 1;
}

int KeyboardModel::StreamKeyColours() {
    return CanStream() ? SendFrame(StreamBuffer()) : 0;
}

void KeyboardModel::StreamLoop(const Event& stop) {
    using SteadyClock = std::chrono::steady_clock;
    SteadyClock::time_point sentAt{};
    std::vector<std::uint8_t> sent;
    const std::array<int, 2> wakeUp{stop.NativeHandle(), m_streamWake.NativeHandle()};
    // Waits `timeout`, or less when there is something new to stream; true when stopped.
    const auto idle = [&](std::chrono::milliseconds timeout) {
        const int woken = WaitForAny(wakeUp.data(), 2, timeout);
        if (woken == 1) {
            m_streamWake.Consume();
        }
        return woken == 0;
    };
    while (!stop.IsSet()) {
        if (!CanStream()) {
            sent.clear();
            if (idle(kLightIdle)) {
                break;
            }
            continue;
        }
        // One frame per interval; a link slower than that carries them back to back.
        const auto now = SteadyClock::now();
        const auto next = sentAt + (IsWireless() ? kStreamReceiver : kStreamCable);
        if (next > now) {
            if (stop.Wait(std::chrono::ceil<std::chrono::milliseconds>(next - now))) {
                break;
            }
            continue; // a wait may end a little early: look at the clock again
        }
        // The keyboard keeps the last frame it got: an unchanged frame is sent again only now
        // and then (a chunk dropped for a command in progress is made good that way). The light
        // thread wakes the loop with each new frame, and a client with its colours, so a change
        // (the first beat of the music) goes out at once without looking at the frame meanwhile.
        std::vector<std::uint8_t> frame = StreamBuffer();
        if (frame == sent && now - sentAt < kStreamRefresh) {
            if (idle(std::chrono::ceil<std::chrono::milliseconds>(sentAt + kStreamRefresh - now))) {
                break;
            }
            continue;
        }
        // A refresh only repeats what the keyboard shows: a new frame (a client's colours) cuts
        // it short and goes at once instead of waiting behind it and a whole interval. Through
        // the receiver a frame takes most of an interval on the link.
        const bool refresh = frame == sent;
        bool gaveUp = false;
        const std::function<bool()> newFrameWaits = [&] {
            gaveUp = m_streamWake.IsSet();
            return gaveUp;
        };
        const auto lastSentAt = sentAt;
        sentAt = now;
        const std::uint64_t dropped = Protocol().DroppedLightChunks();
        // A frame with chunks dropped for a command in progress (the page reading the keyboard
        // that just came back) goes again at the next interval, not only at the refresh.
        if (SendFrame(frame, refresh ? newFrameWaits : std::function<bool()>{}) == 1 &&
            Protocol().DroppedLightChunks() == dropped) {
            sent = std::move(frame);
        } else {
            sent.clear();
        }
        if (gaveUp) {
            sentAt = lastSentAt;
        }
    }
}

// --- Music-mode inputs ---------------------------------------------------------------------------

void KeyboardModel::SetMusicLevels(std::span<const std::int32_t> levels) {
    m_engine.SetMusicLevels(levels);
}

void KeyboardModel::SetColourInput(std::span<const std::int32_t> values) {
    m_engine.SetColourInput(values);
}

// --- Link and power ------------------------------------------------------------------------------

std::optional<std::array<std::uint8_t, 6>> KeyboardModel::PollPowerState() {
    if (!IsOpen() || (IsWireless() && !Protocol().QueryWirelessLink())) {
        return std::nullopt;
    }
    std::array<std::uint8_t, 6> state{};
    if (Protocol().ReadPowerState(state.data(), static_cast<std::uint8_t>(state.size()), 0) !=
        p::kResultOk) {
        return std::nullopt;
    }
    state[3] = IsWireless() ? 1 : 0;
    return state;
}

// --- Light thread --------------------------------------------------------------------------------

void KeyboardModel::StartLightThread() {
    DeviceModel::StartLightThread();
    m_streamThread.Start([this](const Event& stop) { StreamLoop(stop); });
}

PageThread::StopResult KeyboardModel::StopLightThread() {
    // A frame on its way ends within one transaction.
    m_streamThread.Stop(kLightStopBound);
    return DeviceModel::StopLightThread();
}

int KeyboardModel::LightFrameInterval(int mode, int speed) const {
    const kb::ModeTiming timing =
        kb::KeyboardModeTiming(static_cast<unsigned>(mode), static_cast<unsigned>(speed));
    // A music step is due as soon as more than one tick has passed.
    return timing.timing == kb::StepTiming::Music ? 2 : static_cast<int>(timing.interval);
}

bool KeyboardModel::IsCountedMode(int mode) const {
    return kb::KeyboardModeTiming(static_cast<unsigned>(mode), 0).timing != kb::StepTiming::Player;
}

void KeyboardModel::RunLightFrame(int mode) {
    // A game event shows another mode for a while: the engine follows the mode the thread runs.
    if (m_streamFrameMode.exchange(mode) != mode) {
        profiles::LightInfo info = GetLightParams();
        info.mode = static_cast<std::uint8_t>(mode);
        m_engine.SetLight(EngineLight(info));
    }
    m_engine.StepOnce();
    m_engine.RunLedStates(false);
    // Only a frame that differs is worth waking the stream for; the music modes step every few
    // milliseconds, mostly without a change.
    if (IsHostStreamedMode()) {
        const KeyboardLightEngine::Frame frame = m_engine.GetFrame();
        if (frame != m_lastRunFrame) {
            m_lastRunFrame = frame;
            m_streamWake.Set();
        }
    }
}

bool KeyboardModel::KeepsRunningWhilePaused() const {
    return LightOutput() && IsHostStreamedMode();
}

void KeyboardModel::OnKeyLight(int position, int kind) {
    if (position < 0 || position >= kNoPosition || kind < 0) {
        return;
    }
    m_engine.OnDeviceKey(static_cast<unsigned>(position), static_cast<unsigned>(kind));
}

} // namespace q407::devices
