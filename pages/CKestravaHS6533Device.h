#pragma once

// The headset page, on the headset model (devices/HeadsetModel.h): the picture of the headset
// with its ear-cup LEDs, the lighting and profile panels, and the two audio panels
// (CVoice6533ControlUI "Voice6533ControlItem", CMagicControlUI "MagicControlItem"). The page
// carries each change of the audio panels to the model (which writes the audio library and
// stores the profile) and does the panels' part of it.
//
// Audio library. When the page is built it starts the program's audio library
// (devices::GetAudioLibrary()): "ConfLibInit called failed!" and "UpdateAPOAvailable failed!"
// are shown when the library says so; without a library or without its devices the audio
// features stay unavailable and nothing is shown. When the sound devices come or go the page
// binds them again (on the UI thread) and shows what they hold. The microphone and monitor rows
// are enabled only while the sound card has them.
//
// Lights. The preview is drawn on the picture; while the program drives the headset's LEDs
// (the light-output flag) each new frame also goes to the headset as its twelve LED output
// reports.

#include "devices/HeadsetModel.h"
#include "pages/CLightBlockPage.h"

#include <QPointer>
#include <QString>

namespace q407::editors {
class CMagicControlUI;
class CVoice6533ControlUI;
} // namespace q407::editors

namespace q407::pages {

class CKestravaHS6533Device : public CLightBlockPage {
    Q_OBJECT
public:
    explicit CKestravaHS6533Device(QWidget* parent = nullptr);
    ~CKestravaHS6533Device() override;

    q407::devices::HeadsetModel& Headset();
    editors::CVoice6533ControlUI* VoicePanel();
    editors::CMagicControlUI* MagicPanel();

    // --- Device interface ----------------------------------------------------------------------
    void InitPage() override;
    void RenderPreview() override;
    void Activate() override;
    void RefreshPage() override;
    void ResetToDefault() override;
    int ApplySelectedProfile() override;

    // --- Changes of the audio panels (main window handlers) --------------------------------
    // The handlers without a value take it from the panel's control; the device API gives it.
    void SelectEqPreset(int n);
    void ChangeEqBand(int band);
    void ChangeEqBand(int band, int value);
    void ApplyCustomEq();
    // Chooses curve `selection` of the user's own, as picking it in the list after "Custom" does.
    void SelectCustomEq(int selection);
    // 1 saved; 0 the name exists (the caller tells the user); -1 refused. An empty name saves
    // over custom curve `selection`.
    int SaveCustomEq();
    int SaveCustomEq(const QString& name, const q407::devices::EqCurve& sliders, int selection);
    void DeleteCustomEq();
    void ToggleMicMute();
    void ChangeMicLevel();
    void ChangeMicLevel(int level);
    void ToggleMonitorMute();
    void ChangeMonitorLevel();
    void ChangeMonitorLevel(int level);
    void ChangeMagicEnable();
    void ChangeMagicType(int voice);

    // The sound devices came or went: bind them again and show what they hold.
    void RebindAudio();

protected:
    std::unique_ptr<q407::devices::DeviceModel> MakeModel(q407::hid::HidBackend& backend) override;

private:
    void StartAudioLibrary();
    void ShowAudioSettings();
    void ShowBands();

    QPointer<editors::CVoice6533ControlUI> m_voicePanel;
    QPointer<editors::CMagicControlUI> m_magicPanel;
    std::uint32_t m_framesSent = 0;
};

} // namespace q407::pages
