#include "pages/CKestravaHS6533Device.h"

#include "editors/CMagicControlUI.h"
#include "editors/CVoice6533ControlUI.h"
#include "pages/PictureControls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"
#include "toolkit/WindowImplBase.h"

#include <QCoreApplication>

namespace q407::pages {
namespace devices = q407::devices;

CKestravaHS6533Device::CKestravaHS6533Device(QWidget* parent) : CLightBlockPage(parent) {}

CKestravaHS6533Device::~CKestravaHS6533Device() {
    if (HasModel()) {
        if (devices::AudioConfLib* library = Headset().AudioLibrary()) {
            library->SetDeviceChangeHandler({});
        }
    }
}

std::unique_ptr<devices::DeviceModel>
CKestravaHS6533Device::MakeModel(q407::hid::HidBackend& backend) {
    return std::make_unique<devices::HeadsetModel>(backend);
}

devices::HeadsetModel& CKestravaHS6533Device::Headset() {
    return static_cast<devices::HeadsetModel&>(Model());
}

editors::CVoice6533ControlUI* CKestravaHS6533Device::VoicePanel() {
    if (m_voicePanel == nullptr) {
        m_voicePanel = qobject_cast<editors::CVoice6533ControlUI*>(
            toolkit::FindSubControlByName(this, QStringLiteral("Voice6533ControlItem")));
    }
    return m_voicePanel;
}

editors::CMagicControlUI* CKestravaHS6533Device::MagicPanel() {
    if (m_magicPanel == nullptr) {
        m_magicPanel = qobject_cast<editors::CMagicControlUI*>(
            toolkit::FindSubControlByName(this, QStringLiteral("MagicControlItem")));
    }
    return m_magicPanel;
}

// --- Building and the audio library --------------------------------------------------------------

void CKestravaHS6533Device::InitPage() {
    BuildPage();
    if (HasModel()) {
        StartAudioLibrary();
    }
}

void CKestravaHS6533Device::StartAudioLibrary() {
    devices::HeadsetModel& headset = Headset();
    headset.SetAudioLibrary(devices::GetAudioLibrary());
    const devices::AudioStartUp result = headset.StartAudioLibrary();
    QWidget* owner = MainWindow() != nullptr ? static_cast<QWidget*>(MainWindow()) : this;
    if (result.initFailed) {
        toolkit::GetDialogs().MessageBox(owner, QString(),
                                         QStringLiteral("ConfLibInit called failed!"), false, 0);
    }
    for (int i = 0; i < result.shortFeatureLists; ++i) {
        toolkit::GetDialogs().MessageBox(owner, QString(),
                                         QStringLiteral("UpdateAPOAvailable failed!"), false, 0);
    }
    if (devices::AudioConfLib* library = headset.AudioLibrary()) {
        // The library calls from its own thread; the page binds again on the UI thread, if it
        // still exists then.
        const QPointer<CKestravaHS6533Device> self(this);
        library->SetDeviceChangeHandler([self] {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self] {
                    if (self != nullptr) {
                        self->RebindAudio();
                    }
                },
                Qt::QueuedConnection);
        });
    }
    RefreshPage();
}

void CKestravaHS6533Device::RebindAudio() {
    if (!HasModel()) {
        return;
    }
    Headset().BindAudioDevices();
    RefreshPage();
    TellShownChanged();
}

// --- Device interface ----------------------------------------------------------------------------

void CKestravaHS6533Device::Activate() {
    if (!HasModel()) {
        return;
    }
    LoadSelectedProfile();
    Headset().ReadAudioState();
    RefreshPage();
    auto& resources = toolkit::ResourceManager::Instance();
    ShowAbout("about_sound_card_value",
              resources.Text(Headset().AudioAvailable()
                                 ? QStringLiteral(QT_TRID_NOOP("sound_card_found"))
                                 : QStringLiteral(QT_TRID_NOOP("sound_card_missing"))));
    StartLightThreadWhenOpen();
}

void CKestravaHS6533Device::RefreshPage() {
    CLightBlockPage::RefreshPage();
    if (HasModel()) {
        ShowAudioSettings();
    }
}

void CKestravaHS6533Device::ShowAudioSettings() {
    const devices::HeadsetModel& headset = Headset();
    const q407::profiles::HeadsetSystemSettings& settings = headset.Settings();
    if (editors::CMagicControlUI* magic = MagicPanel()) {
        magic->SetMagicEnable(settings.magicEnable != 0);
        magic->ShowMagicType(settings.magicType);
    }
    editors::CVoice6533ControlUI* voice = VoicePanel();
    if (voice == nullptr) {
        return;
    }
    voice->SetMicInOption(settings.micInSelect != 0);
    voice->SetMicInLevel(settings.micInValue);
    voice->SetMicMonitorOption(settings.micMonitorSelect != 0);
    voice->SetMonitorLevel(settings.micMonitorValue);
    voice->ShowEqPreset(settings.eqType);
    voice->ClearCustomEqs();
    for (const std::string& name : headset.CustomEqNames()) {
        voice->AddCustomEqName(QString::fromStdString(name));
    }
    voice->SelectCustomEq(settings.customEqSelect);
    voice->SetCustomEqEnabled(settings.eqType == devices::kEqCustomType);
    ShowBands();
    voice->SetMicrophoneAvailable(headset.AudioAvailable() &&
                                  headset.MicrophoneRecord() != devices::AudioDeviceRecord{});
    voice->SetMonitorAvailable(headset.MonitorAvailable());
}

void CKestravaHS6533Device::ShowBands() {
    if (editors::CVoice6533ControlUI* voice = VoicePanel()) {
        const devices::EqCurve& curve = Headset().EqCurveInUse();
        for (int band = 0; band < devices::kEqBands; ++band) {
            voice->SetEqBand(band, curve[static_cast<std::size_t>(band)]);
        }
    }
}

void CKestravaHS6533Device::ResetToDefault() {
    CLightBlockPage::ResetToDefault();
    if (HasModel()) {
        Headset().ApplyAudioSettings();
    }
}

int CKestravaHS6533Device::ApplySelectedProfile() {
    const int result = CLightBlockPage::ApplySelectedProfile();
    if (HasModel()) {
        // The headset plays what the profile shows.
        Headset().ApplyAudioSettings();
        RefreshPage();
    }
    return result;
}

void CKestravaHS6533Device::RenderPreview() {
    if (!HasModel()) {
        return;
    }
    // The picture shows the preview even while the headset's own firmware drives its LEDs.
    const std::vector<devices::LedColour> colours = Model().LedColours();
    const auto& buttons = LightButtons();
    const qsizetype count = std::min<qsizetype>(buttons.size(), qsizetype(colours.size()));
    for (qsizetype i = 0; i < count; ++i) {
        QWidget* button = buttons[i];
        if (button != nullptr && !button->isHidden()) {
            const devices::LedColour& led = colours[static_cast<std::size_t>(i)];
            SetLightColour(button, QColor(led.red, led.green, led.blue, led.level));
        }
    }
    const std::uint32_t frames = Model().FrameCount();
    // While the headset follows the shared effect, its light thread writes the LEDs.
    if (Model().LightOutput() && !Model().FollowsSharedLighting() && frames != m_framesSent) {
        m_framesSent = frames;
        Headset().WriteLedReports(colours);
    }
}

// --- Changes of the audio panels -----------------------------------------------------------------

void CKestravaHS6533Device::SelectEqPreset(int n) {
    editors::CVoice6533ControlUI* voice = VoicePanel();
    if (!HasModel() || voice == nullptr) {
        return;
    }
    const int selection = voice->GetCustomEqSelection();
    if (!Headset().SelectEqPreset(n, selection)) {
        return;
    }
    const int type = Headset().Settings().eqType;
    voice->ShowEqPreset(type);
    voice->SetCustomEqEnabled(type == devices::kEqCustomType);
    // "Custom" without a chosen curve keeps the sliders as they are.
    if (n != devices::kEqCustomType || selection >= 0) {
        ShowBands();
    }
}

void CKestravaHS6533Device::ChangeEqBand(int band) {
    if (const editors::CVoice6533ControlUI* voice = VoicePanel()) {
        ChangeEqBand(band, voice->GetEqBand(band));
    }
}

void CKestravaHS6533Device::ChangeEqBand(int band, int value) {
    editors::CVoice6533ControlUI* voice = VoicePanel();
    if (!HasModel() || voice == nullptr) {
        return;
    }
    if (Headset().ChangeEqBand(band, value)) {
        voice->ShowEqPreset(devices::kEqCustomType);
        voice->SelectCustomEq(-1);
        voice->SetCustomEqEnabled(true);
    }
    voice->SetEqBand(band, value);
}

void CKestravaHS6533Device::ApplyCustomEq() {
    editors::CVoice6533ControlUI* voice = VoicePanel();
    if (!HasModel() || voice == nullptr) {
        return;
    }
    const int selection = voice->GetCustomEqSelection();
    Headset().ApplyCustomEq(selection);
    if (selection >= 0) {
        ShowBands();
    }
}

void CKestravaHS6533Device::SelectCustomEq(int selection) {
    editors::CVoice6533ControlUI* voice = VoicePanel();
    if (!HasModel() || voice == nullptr) {
        return;
    }
    voice->SelectCustomEq(selection);
    SelectEqPreset(devices::kEqCustomType);
}

int CKestravaHS6533Device::SaveCustomEq() {
    const editors::CVoice6533ControlUI* voice = VoicePanel();
    if (!HasModel() || voice == nullptr) {
        return -1;
    }
    devices::EqCurve sliders{};
    for (int band = 0; band < devices::kEqBands; ++band) {
        sliders[static_cast<std::size_t>(band)] = voice->GetEqBand(band);
    }
    return SaveCustomEq(voice->GetCustomEqName(), sliders, voice->GetCustomEqSelection());
}

int CKestravaHS6533Device::SaveCustomEq(const QString& name, const devices::EqCurve& sliders,
                                        int selection) {
    editors::CVoice6533ControlUI* voice = VoicePanel();
    if (!HasModel() || voice == nullptr) {
        return -1;
    }
    const int result = Headset().SaveCustomEq(name.toStdString(), sliders, selection);
    if (result == 1 && !name.isEmpty()) {
        voice->AddCustomEqName(name);
    }
    if (result == 1) {
        voice->SelectCustomEq(Headset().Settings().customEqSelect); // empties the name edit
    }
    return result;
}

void CKestravaHS6533Device::DeleteCustomEq() {
    editors::CVoice6533ControlUI* voice = VoicePanel();
    if (!HasModel() || voice == nullptr) {
        return;
    }
    const int selection = voice->GetCustomEqSelection();
    if (selection < 0) {
        return;
    }
    Headset().DeleteCustomEq(selection);
    voice->RemoveCustomEq(selection);
    if (Headset().CustomEqNames().empty()) {
        voice->ShowEqPreset(Headset().Settings().eqType);
        voice->SetCustomEqEnabled(false);
    } else {
        voice->SelectCustomEq(0);
    }
    ShowBands();
}

void CKestravaHS6533Device::ToggleMicMute() {
    if (!HasModel()) {
        return;
    }
    Headset().ToggleMicMute();
    if (editors::CVoice6533ControlUI* voice = VoicePanel()) {
        voice->SetMicInOption(!Headset().MicMuted());
    }
}

void CKestravaHS6533Device::ChangeMicLevel() {
    if (const editors::CVoice6533ControlUI* voice = VoicePanel()) {
        ChangeMicLevel(voice->GetMicInLevel());
    }
}

void CKestravaHS6533Device::ChangeMicLevel(int level) {
    editors::CVoice6533ControlUI* voice = VoicePanel();
    if (HasModel() && voice != nullptr) {
        Headset().ChangeMicLevel(level);
        voice->SetMicInLevel(level);
    }
}

void CKestravaHS6533Device::ToggleMonitorMute() {
    if (!HasModel()) {
        return;
    }
    Headset().ToggleMonitorMute();
    if (editors::CVoice6533ControlUI* voice = VoicePanel()) {
        voice->SetMicMonitorOption(!Headset().MonitorMuted());
    }
}

void CKestravaHS6533Device::ChangeMonitorLevel() {
    if (const editors::CVoice6533ControlUI* voice = VoicePanel()) {
        ChangeMonitorLevel(voice->GetMonitorLevel());
    }
}

void CKestravaHS6533Device::ChangeMonitorLevel(int level) {
    editors::CVoice6533ControlUI* voice = VoicePanel();
    if (HasModel() && voice != nullptr) {
        Headset().ChangeMonitorLevel(level);
        voice->SetMonitorLevel(level);
    }
}

void CKestravaHS6533Device::ChangeMagicEnable() {
    editors::CMagicControlUI* magic = MagicPanel();
    if (HasModel() && magic != nullptr) {
        magic->FollowMagicEnable();
        Headset().ChangeMagicEnable(magic->IsMagicEnabled());
    }
}

void CKestravaHS6533Device::ChangeMagicType(int voice) {
    if (!HasModel()) {
        return;
    }
    Headset().ChangeMagicType(voice);
    if (editors::CMagicControlUI* magic = MagicPanel()) {
        magic->ShowMagicType(Headset().Settings().magicType);
    }
}

} // namespace q407::pages
