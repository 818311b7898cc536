#pragma once

// The mouse page: the page control of a mouse by cable or through its receiver, on the mouse
// model (devices/MouseModel.h). It builds its picture, profile panel and lighting panel from the
// page layout, shows the model's values in its controls (RefreshPage) and carries the user's
// edits to the model, which stores them in the profile, saves it and writes the mouse.
//
// Controls whose name ends in "_" and a number: DPI controls take the stage (0-5), option groups
// the value (the option whose number equals the setting is selected). A control the layout lacks
// is skipped.
//
// Messages to the main window: 0x0D01 after the battery state was first given, 0x0D04 for old
// firmware (wParam product id, lParam version, once), 0x0D05 / 0x0D06 with the device flag read
// at activation (0x0D06 hides "No_device_Link").

#include "devices/MouseModel.h"
#include "pages/CKestravaUSBDevice.h"
#include "pages/KeyMacroPanels.h"

#include <QPointer>
#include <QString>
#include <QVector>
#include <cstdint>
#include <optional>

class QAbstractSlider;
class QLineEdit;

namespace q407::pages {

inline constexpr unsigned kPowerShownMessage = 0x0D01;
inline constexpr unsigned kMouseOldFirmwareMessage = 0x0D04;
inline constexpr unsigned kDeviceFlagSetMessage = 0x0D05;
inline constexpr unsigned kDeviceFlagClearMessage = 0x0D06;

// Edit-box border colours of the active stage and the others.
inline constexpr std::uint32_t kActiveStageBorder = 0xFF06FF00;
inline constexpr std::uint32_t kStageBorder = 0xFFFFFFFF;

class CKestravaMouseDevice : public CKestravaUSBDevice, public IKeyMacroPage {
    Q_OBJECT
public:
    explicit CKestravaMouseDevice(QWidget* parent = nullptr);
    ~CKestravaMouseDevice() override;

    q407::devices::MouseModel& Mouse();
    const q407::devices::MouseModel& Mouse() const;

    // --- Device interface ----------------------------------------------------------------------
    void InitPage() override;
    void RenderPreview() override;
    void Activate() override;
    void OnProfileSelected() override;
    void PollPower() override;
    void RefreshPage() override;
    void ResetToDefault() override;
    void LoadNameLists() override;
    int ApplySelectedProfile() override;
    void OnDeviceButtons(int slot, int stage) override;

    // --- Page operations of the main window's handlers ------------------------------------------
    q407::profiles::MouseSystemSettings GetSettings() const;
    void SetSettings(const q407::profiles::MouseSystemSettings& settings);
    // Shows stage i with `value` as its DPI: slider, edit, and the active-stage marks.
    void ShowDpiStage(int stage, int value);
    // The DPI of slider / edit i as a stage would take it (50-26000, multiples of 50); 0 when the
    // control is missing.
    int ReadDpiSlider(int stage) const;
    int ReadDpiEdit(int stage) const;
    void SetDpiColour(int stage, std::uint32_t argb);
    std::uint32_t GetDpiColour(int stage) const;
    // The mouse's firmware version as the about tab shows it ("1.03").
    QString FirmwareVersionText() const;
    // Tab n of "mouse_device_seting_layout" and its option in "mouse_option_layout".
    void SelectSettingsTab(int tab);

    // The setting changes. Each stores the change in the profile, saves it and (for settings of
    // the mouse itself) writes the settings block; the result is the write's (1 written, 0 not).
    // The page then shows the model's values again.
    int ChangeDpiFromSlider(int stage);
    int CommitDpiEdit(int stage);
    // Stage `stage` takes `dpi` (rounded into 50-26000 like a typed value); what the edit commits
    // and what a script asks for, so both save, write and show the same way.
    int ChangeDpiValue(int stage, int dpi);
    int ChangeStageEnabled(int stage, bool enabled);
    int ChangeActiveStage(int stage);
    int ChangeDpiColour(int stage, std::uint32_t argb);
    int ChangeReportRate(int choice);
    int ChangeSetting(q407::devices::MouseField field, int value);

    // Getters of the pointer controls (-1 when missing).
    int PointerSpeedValue() const;
    int ScrollSpeedValue() const;
    int DoubleClickValue() const;
    int SliderValue(const char* name) const;
    int ComboRow(const char* name) const;

    // --- Keys, macros and recoil -----------------------------------------------------------------
    CKeyMacroPanels& Panels() override { return m_panels; }
    // The keys' tool tips: what each key was made for and what it does now.
    void ShowKeyTexts();
    // Keys whose function is not their default are marked; `selected` is outlined as the key
    // being edited.
    void MarkKeys(int selected);
    // The keys page shows the key assignment panel (0) or the recoil tables (1).
    void SelectKeyPanel(int panel);
    // The four guns' recoil tables to the mouse: 1 written, 0 not (closed, or a command failed).
    int WriteRecoilTables();

    // The picture's extra light buttons ("light_0_" + n) and the logo button.
    const QVector<QPointer<QWidget>>& ExtraLightButtons() const { return m_extraLightButtons; }

protected:
    std::unique_ptr<q407::devices::DeviceModel> MakeModel(q407::hid::HidBackend& backend) override;

private:
    void BuildPage();
    void BindExtraPictureButtons();
    void ShowLayoutTexts();
    void ShowSlider(const char* name, int value, const char* valueLabel = nullptr,
                    const QString& unit = {});
    void ShowCombo(const char* name, int row);
    void ShowAbout();

    QVector<QPointer<QWidget>> m_extraLightButtons;
    QPointer<QWidget> m_logoButton;
    QPointer<QWidget> m_pictureForRepaint;
    QPointer<QWidget> m_pollingOption4;
    QPointer<QWidget> m_pollingOption5;
    int m_logoIndex = -1;
    bool m_powerSent = false;
    CKeyMacroPanels m_panels;
};

} // namespace q407::pages
