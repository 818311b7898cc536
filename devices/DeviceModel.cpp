#include "devices/DeviceModel.h"

#include "common/Diag.h"
#include "common/Paths.h"
#include "common/StorageStatus.h"
#include "profiles/CBasicProfiledata.h"
#include "profiles/JsonFile.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace q407::devices {
namespace {

using namespace std::chrono_literals;

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos && name.find('\0') == std::string::npos;
}

} // namespace

FeatureTabs FeatureTabsFor(int featurePage, int kind) {
    switch (featurePage) {
    case 2:
    case 6:
        return {0, 1};
    case 3:
    case 10:
        return {1, -1};
    case 4:
        if (kind == kKindKeyboard || kind == kKindMouse) {
            return {4, -1};
        }
        return {0, 2};
    case 7:
        return {0, 2};
    case 5:
        return {2, -1};
    case 8:
        return {3, -1};
    case 9:
        return {5, -1};
    default:
        return {0, 0};
    }
}

std::optional<std::uint16_t> EventValueOf(hid::CHidDevice& record,
                                          std::span<const std::uint8_t> report) {
    const hid::HidCollection* preparsed = record.PreparsedData();
    if (preparsed == nullptr || report.empty()) {
        return std::nullopt;
    }
    std::vector<hid::HidData>& data = record.Data(hid::HidReportType::Input);
    if (!hid::UnpackReport(report, hid::HidReportType::Input, data, *preparsed)) {
        return std::nullopt;
    }
    const auto first = std::find_if(data.begin(), data.end(), [&](const hid::HidData& item) {
        return item.reportId == report[0];
    });
    if (first == data.end() || first->status != hid::kHidStatusSuccess) {
        return std::nullopt;
    }
    if (first->isButton) {
        return first->usages.empty() ? std::uint16_t{0} : first->usages.front();
    }
    return static_cast<std::uint16_t>(first->value);
}

DeviceModel::DeviceModel(hid::HidBackend& backend, LightClock* clock, LightRandom* random,
                         protocol::Pacer& pacer)
    : m_backend(backend), m_protocol(backend, pacer), m_clock(clock), m_random(random) {
    if (m_clock == nullptr) {
        m_ownClock = std::make_unique<SteadyLightClock>();
        m_clock = m_ownClock.get();
    }
    if (m_random == nullptr) {
        m_ownRandom = std::make_unique<SeededLightRandom>(SteadyLightClock().NowMs());
        m_random = m_ownRandom.get();
    }
    for (auto& channel : m_channels) {
        channel = std::make_unique<Channel>(m_backend);
    }
}

DeviceModel::~DeviceModel() {
    StopPageThreads();
    m_protocol.Detach();
}

// --- Attachments --------------------------------------------------------------------------------

bool DeviceModel::AttachCommand(int mode, std::string_view path) {
    if (!m_protocol.Attach(mode, path)) {
        return false;
    }
    m_wireless.store(mode == protocol::kModeReceiver ? 1 : 0);
    OnCommandAttached();
    return true;
}

void DeviceModel::DetachCommand() {
    m_protocol.Detach();
}

// --- Listening channels ----------------------------------------------------------------------

DeviceModel::Channel* DeviceModel::ChannelFor(int channel) {
    return const_cast<Channel*>(std::as_const(*this).ChannelFor(channel));
}

const DeviceModel::Channel* DeviceModel::ChannelFor(int channel) const {
    if (m_kindCode != 0 && channel == m_kindCode) {
        return m_channels[0].get();
    }
    if ((m_kindCode == kKindMouse && channel == kChannelMouseReceiver) ||
        (m_kindCode == kKindKeyboard && channel == kChannelKeyboardReceiver)) {
        return m_channels[1].get();
    }
    return nullptr;
}

bool DeviceModel::StartListening(std::string_view path, int channel) {
    Channel* target = ChannelFor(channel);
    if (target == nullptr) {
        return false;
    }
    // A thread still reading this channel would go on reading the newly opened interface; end
    // it first, through the cancel, so it cannot block past its bound.
    target->thread.Stop(kListenStopBound, [target] { target->hid.CancelTransfer(); });
    bool opened = false;
    {
        std::lock_guard lock(target->lock);
        opened = target->hid.Open(path, true, true, true, false);
        target->number = channel;
        target->open.store(opened ? 1 : 0);
    }
    target->thread.Start([this, target](const Event& stop) { ListenLoop(*target, stop); });
    return opened;
}

bool DeviceModel::RestartListening(std::string_view path, int channel) {
    StopListening(channel);
    return StartListening(path, channel);
}

void DeviceModel::StopListening(int channel) {
    Channel* target = ChannelFor(channel);
    if (target == nullptr) {
        return;
    }
    // A channel whose interface never opened still has its idling thread.
    target->thread.Stop(kListenStopBound, [target] { target->hid.CancelTransfer(); });
    if (target->open.load() == 0) {
        return;
    }
    std::lock_guard lock(target->lock);
    target->open.store(0);
    target->hid.Close();
}

bool DeviceModel::IsListening(int channel) const {
    const Channel* target = ChannelFor(channel);
    return target != nullptr && target->open.load() != 0 && target->thread.IsRunning();
}

void DeviceModel::ListenLoop(Channel& channel, const Event& stop) {
    std::vector<std::uint8_t> report;
    while (!stop.IsSet()) {
        if (channel.open.load() == 0) {
            // Nothing will open the interface while this thread runs: wait for the stop.
            stop.Wait(std::chrono::milliseconds(-1));
            break;
        }
        report.assign(std::max<std::size_t>(channel.hid.Caps().inputReportByteLength, 2), 0);
        std::size_t got = 0;
        if (!channel.hid.Read(report.data(), report.size(), &got, hid::kHidInfinite) || got == 0) {
            // A cancelled or failed read: the device may be gone. Do not spin on it.
            if (stop.Wait(kListenRetry)) {
                break;
            }
            continue;
        }
        const auto value = EventValueOf(channel.hid, std::span(report.data(), got));
        if (!value) {
            continue;
        }
        diag::Line("接收到自动添加设备的同步信息要求  TEST");
        HandleEvent(channel.number, *value);
    }
    diag::Line(m_kindCode == kKindMouse || m_kindCode == kKindKeyboard ? "MS 设备同步线程设定退出"
                                                                       : "MS设备同步线程设定退出");
}

void DeviceModel::HandleEvent(int channel, std::uint16_t value) {
    const EventDecision decision = DecideEvent(m_kindCode, channel, value);
    PageEvents* events = m_events.load();
    switch (decision.action) {
    case EventAction::Resync:
        diag::Line("接收到自动添加设备的同步信息要求");
        if (events != nullptr) {
            events->RequestResync(decision.delayMs);
        }
        break;
    case EventAction::Ripple:
        StartRipple();
        break;
    case EventAction::KeyLight:
        OnKeyLight(decision.keyPosition, decision.keyKind);
        break;
    case EventAction::ProfileSwitch:
        if (!IsOpen()) {
            break;
        }
        m_profileSlot.store(decision.slot);
        if (decision.stage >= 0) {
            m_dpiStage.store(decision.stage);
        }
        if (events != nullptr) {
            events->ProfileSlotChanged(decision.slot, decision.stage);
        }
        break;
    case EventAction::Counted:
    case EventAction::Ignore:
        break;
    }
}

void DeviceModel::StartRipple() {
    {
        std::lock_guard lock(m_previewMutex);
        if (m_lightParams.mode != 6) {
            return;
        }
    }
    std::lock_guard stateLock(m_ledStateLock);
    std::lock_guard randomLock(m_randomLock);
    for (LedState& state : m_ledStates) {
        state.ripple = 1;
        state.fadeLevel = 255;
        state.hue = static_cast<std::uint8_t>(m_random->Below(light::kHueCount));
    }
}

// --- Light thread --------------------------------------------------------------------------------

void DeviceModel::StartLightThread() {
    m_lightThread.Start([this](const Event& stop) { LightLoop(stop); });
}

PageThread::StopResult DeviceModel::StopLightThread() {
    return m_lightThread.Stop(kLightStopBound);
}

void DeviceModel::StopPageThreads() {
    StopLightThread();
    for (const auto& channel : m_channels) {
        if (channel->number != 0) {
            StopListening(channel->number);
        }
    }
}

void DeviceModel::LightLoop(const Event& stop) {
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastFrame = Clock::now();
    Clock::time_point lastSharedWrite{};
    while (!stop.IsSet()) {
        if (!IsOpen()) {
            if (stop.Wait(kLightIdle)) {
                break;
            }
            lastFrame = Clock::now();
            continue;
        }
        if (FollowsSharedLighting() || IsClientDriven()) {
            // The shared effect, or a client's colours, replace the page's own animation.
            if (FollowSharedEffect(stop, lastSharedWrite)) {
                break;
            }
            lastFrame = Clock::now();
            continue;
        }
        if (m_previewPaused.load() && !KeepsRunningWhilePaused()) {
            // Nobody looks at the preview: check back rarely instead of at the frame rate.
            if (stop.Wait(kLightIdle)) {
                break;
            }
            lastFrame = Clock::now();
            continue;
        }
        int mode = 0;
        int speed = 0;
        {
            std::lock_guard lock(m_previewMutex);
            mode = m_lightParams.mode;
            speed = m_lightParams.speed;
        }
        // Sleep until the step that completes the mode's interval instead of counting each one.
        const int steps = IsCountedMode(mode) ? std::max(1, LightFrameInterval(mode, speed)) : 1;
        const Clock::time_point due = lastFrame + steps * kLightStep;
        const auto now = Clock::now();
        if (due > now && stop.Wait(std::chrono::ceil<std::chrono::milliseconds>(due - now))) {
            break;
        }
        // Keep the cadence, but do not try to catch up after a long stall.
        lastFrame = Clock::now() - due > 10 * kLightStep ? Clock::now() : due;
        RunLightFrame(mode);
        FramePassed();
    }
    diag::Line(m_kindCode == kKindKeyboard ? "KB灯光线程设定退出" : "MS灯光线程设定退出");
}

int DeviceModel::LightFrameInterval(int mode, int speed) const {
    return FrameInterval(m_kindCode, mode, speed);
}

bool DeviceModel::IsCountedMode(int mode) const {
    return FrameForMode(m_kindCode, mode) != PreviewFrame::EffectStep;
}

void DeviceModel::RunLightFrame(int mode) {
    switch (FrameForMode(m_kindCode, mode)) {
    case PreviewFrame::DeviceA:
        PreviewDeviceFrameA();
        break;
    case PreviewFrame::DeviceB:
        PreviewDeviceFrameB();
        break;
    case PreviewFrame::DeviceC:
        PreviewDeviceFrameC();
        break;
    case PreviewFrame::Spectrum:
        PreviewSpectrum();
        break;
    case PreviewFrame::Breathing:
        PreviewBreathing();
        break;
    case PreviewFrame::BreathingFixed:
        PreviewBreathingFixed();
        break;
    case PreviewFrame::Steady:
        PreviewSteady();
        break;
    case PreviewFrame::Blink:
        PreviewBlink();
        break;
    case PreviewFrame::BlinkFixed:
        PreviewBlinkFixed();
        break;
    case PreviewFrame::Off:
        PreviewOff();
        break;
    case PreviewFrame::EffectStep:
        RunEffectStep();
        break;
    case PreviewFrame::None:
        break;
    }
}

// --- Preview frames --------------------------------------------------------------------------

light::PreviewParams DeviceModel::CurrentPreviewParams() const {
    light::PreviewParams p;
    p.brightness = m_lightParams.brightness;
    p.speed = m_lightParams.speed;
    p.direction = m_lightParams.direction;
    p.multiColour = m_lightParams.multiColor != 0;
    p.colour = {m_lightParams.red, m_lightParams.green, m_lightParams.blue};
    return p;
}

void DeviceModel::EditPreview(const std::function<void(PreviewBuffers&)>& frame) {
    std::lock_guard lock(m_previewMutex);
    PreviewBuffers buffers{m_ledColours, m_preview, m_ledLevels, m_ring, CurrentPreviewParams()};
    frame(buffers);
}

void DeviceModel::EditLedStates(const std::function<void(std::vector<LedState>&)>& edit) {
    std::lock_guard lock(m_ledStateLock);
    edit(m_ledStates);
}

void DeviceModel::PreviewBreathing() {
    std::lock_guard lock(m_previewMutex);
    light::PreviewBreathing(m_ledColours, m_preview, CurrentPreviewParams());
}

void DeviceModel::PreviewBreathingFixed() {
    std::lock_guard lock(m_previewMutex);
    light::PreviewBreathingFixed(m_ledColours, m_preview, CurrentPreviewParams());
}

void DeviceModel::PreviewSteady() {
    std::lock_guard lock(m_previewMutex);
    light::PreviewSteady(m_ledColours, CurrentPreviewParams());
}

void DeviceModel::PreviewSpectrum() {
    std::lock_guard lock(m_previewMutex);
    light::PreviewSpectrum(m_ledColours, m_preview, CurrentPreviewParams());
}

void DeviceModel::PreviewBlink() {
    const std::uint32_t now = m_clock->NowMs();
    std::lock_guard lock(m_previewMutex);
    light::PreviewBlink(m_ledColours, m_preview, CurrentPreviewParams(), now);
}

void DeviceModel::PreviewBlinkFixed() {
    const std::uint32_t now = m_clock->NowMs();
    std::lock_guard lock(m_previewMutex);
    light::PreviewBlinkFixed(m_ledColours, m_preview, CurrentPreviewParams(), now);
}

void DeviceModel::PreviewOff() {
    std::lock_guard lock(m_previewMutex);
    light::PreviewOff(m_ledColours);
}

void DeviceModel::SetLedColour(int index, LedColour colour) {
    std::lock_guard lock(m_previewMutex);
    if (index >= 0 && static_cast<std::size_t>(index) < m_ledColours.size()) {
        m_ledColours[static_cast<std::size_t>(index)] = colour;
    }
}

LedColour DeviceModel::GetLedColour(int index) const {
    std::lock_guard lock(m_previewMutex);
    if (index >= 0 && static_cast<std::size_t>(index) < m_ledColours.size()) {
        return m_ledColours[static_cast<std::size_t>(index)];
    }
    return {};
}

void DeviceModel::FadeLedStep(int led, int mode) {
    if (led < 0 || mode < 0) {
        return;
    }
    std::lock_guard lock(m_previewMutex);
    light::FadeLedStep(m_ledLevels, static_cast<std::size_t>(led), static_cast<unsigned>(mode));
}

void DeviceModel::MarkRingLeds() {
    std::lock_guard lock(m_previewMutex);
    for (std::size_t position = 0; position < 9; ++position) {
        const std::uint8_t led = m_ring[position];
        if (led != 0 && led < m_ledLevels.size()) {
            m_ledLevels[led] = 255;
        }
    }
}

void DeviceModel::RotateRing(int direction) {
    std::lock_guard lock(m_previewMutex);
    if (direction != 0) {
        std::rotate(m_ring.rbegin(), m_ring.rbegin() + 1, m_ring.rend());
    } else {
        std::rotate(m_ring.begin(), m_ring.begin() + 1, m_ring.end());
    }
}

void DeviceModel::ClearEffectBuffers() {
    std::lock_guard lock(m_previewMutex);
    m_ledLevels.fill(0);
    m_ring.fill(0);
}

// --- Other device operations -------------------------------------------------------------------

int DeviceModel::WriteKeyTable(profiles::CBasicProfiledata* profile, const KeyEntries& entries) {
    (void)profile;
    (void)entries;
    return 0;
}

int DeviceModel::WriteCurrentKeyTable(profiles::CBasicProfiledata* profile) {
    (void)profile;
    return 0;
}

int DeviceModel::WriteMacroImage(const std::vector<int>& macroIndices) {
    (void)macroIndices;
    return 0;
}

int DeviceModel::WriteConfig(int slot, int value, int a, int b, int c) {
    (void)slot;
    (void)value;
    (void)a;
    (void)b;
    (void)c;
    return 0;
}

void DeviceModel::SetDeviceMap(const std::map<int, int>& map) {
    m_deviceMap = map;
}

FeatureTabs DeviceModel::SelectFeaturePage(int page) {
    m_featurePage = page;
    return FeatureTabsFor(page, m_kindCode);
}

int DeviceModel::ApplyLightParams(const profiles::LightInfo& params) {
    SetLightParams(params);
    SaveProfile();
    LoadLighting();
    return WriteConfig(0, 0, 1, 0, 0);
}

void DeviceModel::SetLightParams(const profiles::LightInfo& params) {
    std::lock_guard lock(m_previewMutex);
    m_lightParams = params;
}

void DeviceModel::ShowPreviewMode(std::uint8_t mode) {
    std::lock_guard lock(m_previewMutex);
    m_lightParams.mode = mode;
}

profiles::LightInfo DeviceModel::GetLightParams() const {
    std::lock_guard lock(m_previewMutex);
    return m_lightParams;
}

// --- Shared lighting effect ----------------------------------------------------------------------

void DeviceModel::OfferSharedFrame(const SharedFrame& frame) {
    std::lock_guard lock(m_sharedFrameLock);
    m_sharedFrame = frame;
    ++m_sharedFrameNumber;
}

bool DeviceModel::FollowSharedEffect(const Event& stop,
                                     std::chrono::steady_clock::time_point& lastWrite) {
    // The newest frame is taken once per interval: the effect may run at a thousand frames a
    // second, which neither the picture nor the device link needs.
    const auto interval = IsWireless() ? kSharedFrameIntervalReceiver : kSharedFrameInterval;
    if (stop.Wait(interval)) {
        return true;
    }
    SharedFrame frame;
    bool written = false;
    {
        std::lock_guard lock(m_sharedFrameLock);
        if (m_sharedFrameNumber == m_sharedFrameShown) {
            return false;
        }
        m_sharedFrameShown = m_sharedFrameNumber;
        frame = m_sharedFrame;
        written = m_sharedFrameWritten == frame;
    }
    EditPreview([&frame](PreviewBuffers& buffers) {
        std::fill(buffers.leds.begin(), buffers.leds.end(),
                  MakeLed({frame.red, frame.green, frame.blue}, frame.brightness));
    });
    FramePassed();
    const auto now = std::chrono::steady_clock::now();
    if (written || now - lastWrite < interval) {
        return false;
    }
    lastWrite = now;
    // The page may have stopped following while this thread waited; its own settings, written
    // by the UI thread through WriteWithFrameTemplate, must not be overwritten by a late frame.
    std::lock_guard writeLock(m_frameWriteLock);
    if (!FollowsSharedLighting() && !IsClientDriven()) {
        return false;
    }
    if (WriteSharedFrame(frame) == 1) {
        m_sharedFramesWritten.fetch_add(1);
        std::lock_guard lock(m_sharedFrameLock);
        m_sharedFrameWritten = frame;
    }
    return false;
}

void DeviceModel::SetClientDriven(bool driven) {
    if (m_clientDriven.exchange(driven) == driven) {
        return;
    }
    if (driven) {
        bool haveTemplate = false;
        {
            std::lock_guard lock(m_sharedFrameLock);
            haveTemplate = m_frameTemplate.has_value();
        }
        // The frames are written into the settings block as the page last wrote it; a page that
        // has written none yet writes it now (the keyboard's asks for streamed frames).
        if (haveTemplate) {
            return;
        }
    }
    // Handing back: a frame being written finishes first (WriteWithFrameTemplate waits for it),
    // then the page's own settings reach the device.
    WriteConfig(0, 0, 1, 0, 0);
}

void DeviceModel::SetClientColours(std::span<const Rgb> colours) {
    if (colours.empty()) {
        return;
    }
    OfferSharedFrame({colours[0].red, colours[0].green, colours[0].blue, 255});
}

int DeviceModel::WriteWithFrameTemplate(FrameTemplate frameTemplate,
                                        const std::function<int()>& write) {
    // Held through the page's write: a frame taken meanwhile is written after the page's block,
    // never before it, where the block would cover it.
    std::lock_guard writeLock(m_frameWriteLock);
    {
        std::lock_guard lock(m_sharedFrameLock);
        m_frameTemplate = std::move(frameTemplate);
        m_frameTemplateCurrent = true;
    }
    const int result = write();
    // The device now shows the page's own light: the newest frame is due again.
    std::lock_guard lock(m_sharedFrameLock);
    OfferLastFrameAgain();
    return result;
}

void DeviceModel::OfferLastFrameAgain() {
    m_sharedFrameWritten.reset();
    if (m_sharedFrameNumber != 0) {
        m_sharedFrameShown = m_sharedFrameNumber - 1;
    }
}

void DeviceModel::RefreshFrameTemplate(std::span<const std::uint8_t> block) {
    std::lock_guard writeLock(m_frameWriteLock);
    std::lock_guard lock(m_sharedFrameLock);
    if (m_frameTemplate && m_frameTemplate->block.size() == block.size()) {
        m_frameTemplate->block.assign(block.begin(), block.end());
        // A device back from away holds its own light, and a frame taken while it was away was
        // not written: the newest one is due again.
        if (!m_frameTemplateCurrent) {
            OfferLastFrameAgain();
        }
        m_frameTemplateCurrent = true;
    }
}

void DeviceModel::MarkDeviceAway() {
    std::lock_guard lock(m_sharedFrameLock);
    m_frameTemplateCurrent = false;
}

int DeviceModel::WriteSharedFrame(const SharedFrame& frame) {
    std::optional<FrameTemplate> frameTemplate;
    {
        std::lock_guard lock(m_sharedFrameLock);
        if (m_frameTemplateCurrent) {
            frameTemplate = m_frameTemplate;
        }
    }
    // Another program may own the lighting; the preview still shows the effect.
    if (!frameTemplate || !IsOpen() || !LightOutput()) {
        return 0;
    }
    std::vector<std::uint8_t>& block = frameTemplate->block;
    const std::size_t last = std::max({frameTemplate->effectAt, frameTemplate->brightnessAt,
                                       frameTemplate->multiColourAt, frameTemplate->redAt + 2});
    if (last >= block.size()) {
        return 0;
    }
    // A steady light at full brightness, the frame's brightness folded into its colour.
    if (frameTemplate->steadyEffect) {
        block[frameTemplate->effectAt] = *frameTemplate->steadyEffect;
    }
    block[frameTemplate->brightnessAt] = 4;
    block[frameTemplate->multiColourAt] = 0;
    const std::array<std::uint8_t, 3> colour{frame.red, frame.green, frame.blue};
    for (std::size_t c = 0; c < colour.size(); ++c) {
        block[frameTemplate->redAt + c] =
            static_cast<std::uint8_t>(colour[c] * unsigned{frame.brightness} / 255);
    }
    return protocol::WriteSettingsSequence(Protocol(), frameTemplate->layout, frameTemplate->slot,
                                           block) == protocol::kResultOk
               ? 1
               : 0;
}

void DeviceModel::SetAudioLightParams(const profiles::AudioLightInfo& params) {
    m_audioLightParams = params;
}

profiles::AudioLightInfo DeviceModel::GetAudioLightParams() const {
    return m_audioLightParams;
}

// --- Paths ---------------------------------------------------------------------------------------

std::filesystem::path DeviceModel::GetProfileFolder() const {
    if (!IsPlainName(m_deviceFolderName)) {
        return {};
    }
    const std::filesystem::path folder = paths::UserDir() / m_deviceFolderName;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        diag::Line("device folder cannot be created: " + folder.string());
        storage::ReportWriteFailure(folder.parent_path(), error.value());
    }
    return folder;
}

void DeviceModel::PrepareProfilePaths(profiles::CBasicProfiledata& profile,
                                      int firstCustomLightMode) const {
    profile.SetDeviceIndex(m_deviceIndex);
    profile.SetDefaultPath(GetDefaultProfilePath());
    profile.SetFirstCustomLightMode(firstCustomLightMode);
    const std::filesystem::path folder = GetProfileFolder();
    if (folder.empty()) {
        return;
    }
    if (IsPlainName(m_profileUuid)) {
        profile.SetProfilePath(folder / (m_profileUuid + ".Json"));
    }
    if (IsPlainName(m_lightConfigName)) {
        profile.SetLightConfigPath(folder / (m_lightConfigName + ".config"));
    }
}

bool DeviceModel::ReadProfileFile(profiles::CBasicProfiledata& profile) const {
    const std::filesystem::path path = profile.GetProfilePath();
    return !path.empty() && !profile.LoadProfile(path).isNull();
}

bool DeviceModel::ReadDefaultProfile(profiles::CBasicProfiledata& profile) const {
    const std::filesystem::path defaults = GetDefaultProfilePath();
    const Json::Value entry =
        profiles::Element(profiles::Member(profiles::ReadJsonFile(defaults), "Device"),
                          static_cast<Json::ArrayIndex>(m_deviceIndex));
    if (defaults.empty() || entry.isNull()) {
        return false;
    }
    profile.LoadProfile(defaults);
    return true;
}

std::filesystem::path DeviceModel::GetDefaultFolder() const {
    return paths::DataDir() / "DefaultData";
}

std::filesystem::path DeviceModel::GetDefaultProfilePath() const {
    if (!IsPlainName(m_deviceFolderName)) {
        return {};
    }
    return GetDefaultFolder() / (m_deviceFolderName + ".Json");
}

// --- Set-up
// ----------------------------------------------------------------------------------------

void DeviceModel::SetLedCount(int count) {
    const std::size_t size = count < 0 ? 0 : static_cast<std::size_t>(count);
    {
        std::lock_guard lock(m_previewMutex);
        m_ledColours.assign(size, LedColour{});
    }
    std::lock_guard stateLock(m_ledStateLock);
    m_ledStates.assign(size, LedState{});
}

int DeviceModel::LedCount() const {
    std::lock_guard lock(m_previewMutex);
    return static_cast<int>(m_ledColours.size());
}

void DeviceModel::SetIdentity(const hid::DeviceIdentity& identity) {
    m_identity = identity;
    m_kindCode = hid::KindOfDeviceType(identity.deviceType);
}

// --- Preview buffers
// ---------------------------------------------------------------------------------

std::vector<LedColour> DeviceModel::LedColours() const {
    std::lock_guard lock(m_previewMutex);
    return m_ledColours;
}

light::PreviewState DeviceModel::PreviewState() const {
    std::lock_guard lock(m_previewMutex);
    return m_preview;
}

std::array<std::uint8_t, kLedLevelCount> DeviceModel::LedLevels() const {
    std::lock_guard lock(m_previewMutex);
    return m_ledLevels;
}

void DeviceModel::SetLedLevel(int led, std::uint8_t level) {
    std::lock_guard lock(m_previewMutex);
    if (led >= 0 && static_cast<std::size_t>(led) < m_ledLevels.size()) {
        m_ledLevels[static_cast<std::size_t>(led)] = level;
    }
}

std::array<std::uint8_t, kRingSize> DeviceModel::Ring() const {
    std::lock_guard lock(m_previewMutex);
    return m_ring;
}

void DeviceModel::SetRing(const std::array<std::uint8_t, kRingSize>& ring) {
    std::lock_guard lock(m_previewMutex);
    m_ring = ring;
}

std::vector<LedState> DeviceModel::LedStates() const {
    std::lock_guard lock(m_ledStateLock);
    return m_ledStates;
}

void DeviceModel::SetEffectSteps(std::vector<profiles::LedEffectStep> steps) {
    std::lock_guard lock(m_effectLock);
    m_effectSteps = std::move(steps);
}

std::vector<profiles::LedEffectStep> DeviceModel::EffectSteps() const {
    std::lock_guard lock(m_effectLock);
    return m_effectSteps;
}

} // namespace q407::devices
