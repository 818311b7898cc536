#pragma once

// The keyboard page: the page control of a keyboard by cable or through its receiver, on the
// keyboard model (devices/KeyboardModel.h). Its picture ("keyboard_device_key_light", a selection
// panel "device_key_light" inside) holds one key button "key_N" and one light button "light_N"
// per logical key; the light buttons show the lighting engine's frame while the lighting tab is
// shown. The page carries its system settings (Win lock, "W", 6-key mode, repeat delay and rate
// with a test box, the report rate), the lighting panel with the keyboard's two extra selectors
// and custom colour groups, and the profile panel. The key assignment and macro panels
// ("KeySetControlItem", "MacroControlItem") have their places in the layout; the page finds them
// by name once they exist.
//
// Texts are text ids, resolved through the page's hidden label "text_test".

#include "devices/KeyboardModel.h"
#include "pages/CKestravaUSBDevice.h"

#include <QPointer>
#include <QString>
#include <cstdint>
#include <span>

class QAbstractButton;

namespace q407::pages {

class CDeviceKeyButtonUI;

class CKestravaKeyboardDevice : public CKestravaUSBDevice {
    Q_OBJECT
public:
    // The feature page the keyboard opens on: its lighting.
    static constexpr int kFirstFeature = 1;
    static constexpr int kLightingFeature = 1;
    static constexpr int kKeysFeature = 2;

    explicit CKestravaKeyboardDevice(QWidget* parent = nullptr);
    ~CKestravaKeyboardDevice() override;

    q407::devices::KeyboardModel& Keyboard();
    const q407::devices::KeyboardModel& Keyboard() const;

    // --- Device interface ----------------------------------------------------------------------
    void InitPage() override;
    void RenderPreview() override;
    // The keyboard's hundred lights change together: its picture is painted at most 20 times a
    // second, which keeps a shown window within its share of the processor.
    int PreviewFrameGapMs() const override { return 50; }
    void Activate() override;
    void OnProfileSelected() override;
    void PollPower() override;
    void RefreshPage() override;
    void RefreshKeyAssignments() override;
    void ResetToDefault() override;
    void LoadNameLists() override;
    void SelectFeaturePage(int page) override;
    void ShowLightSettings() override;
    // Loads and writes the chosen profile: settings block, macro image, key table and custom
    // colours. 0 done (or no keyboard to write to), -1 a command failed, n > 0 the macros need
    // about n - 1 events more than the keyboard holds (nothing further written).
    int ApplySelectedProfile() override;
    void OnDeviceButtons(int slot, int stage) override;

    // --- Keys ------------------------------------------------------------------------------------
    // A click on key button n: in the custom colour mode on the lighting tab it paints the key
    // with the lighting panel's colour; on the keys tab it selects the key.
    void OnKeyClicked(int key);
    // Remembers key n as selected, shows the key assignment panel and marks the keys: changed
    // from their default, and selected.
    void SelectKey(int key);
    // Clears the selection marks of every key.
    void ClearKeyMarks();
    // Tool tips and factory marks of the key buttons from the current key functions.
    void RebuildKeyTexts();
    // The end of a rubber-band selection: in the custom colour mode the keys it met take the
    // lighting panel's colour (written once). Returns how many keys were painted.
    int PaintSelectedKeys();
    CDeviceKeyButtonUI* KeyButton(int key) const;
    CDeviceKeyButtonUI* LightButton(int key) const;

    // --- System settings ---------------------------------------------------------------------
    // Each stores, saves and (for the three switches) writes; the page then shows the model.
    int ChangeSwitch(q407::devices::KeyboardSwitch which, bool on);
    int ChangeRepeatDelay(int option);
    int ChangeRepeatRate(int rate);
    void ResetRepeatTest();
    void ShowSystemSettings();

    // --- Lighting panel actions (keyboard only) ------------------------------------------------
    // Custom colour group of "light_combo_custommodeSelect": selected, stored, written, and its
    // colours sent to the keyboard.
    int ChangeCustomGroup(int group);
    // "custom_bright_color_btn" (the panel's colour) and "custom_off_color_btn" (black).
    int FillCustomColours(bool withPanelColour);
    // The lighting panel's colour as the keys take it.
    q407::devices::Rgb PanelColour();

    // --- Music-mode inputs -----------------------------------------------------------------------
    void SetMusicLevels(std::span<const std::int32_t> levels);
    void SetColourInput(std::span<const std::int32_t> values);

    // A text id in the current language, through the hidden label "text_test".
    QString TextOf(const QString& id);

protected:
    std::unique_ptr<q407::devices::DeviceModel> MakeModel(q407::hid::HidBackend& backend) override;

private:
    void BuildPage();
    void ShowAbout();

    QPointer<QWidget> m_picture;
    int m_selectedKey = -1;
};

} // namespace q407::pages
