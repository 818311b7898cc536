#pragma once

// What the main window does with the notifications of the device pages' controls: the mouse's
// and the keyboard's settings, the headset's audio panels, the lighting panel and the profile
// panel of the selected page. Each table row names a control, or a prefix that a number follows
// ("DPI_slider_" + n); the first row that matches acts. Notifications whose page or panel does
// not exist change nothing.

#include "toolkit/Notify.h"

#include <QString>

class QWidget;

namespace q407::pages {
class CKestravaUSBDevice;
class CKestravaMouseDevice;
class CKestravaKeyboardDevice;
class CKestravaHS6533Device;
} // namespace q407::pages

namespace q407::editors {
class CDeviceProfileUI;
class CLightControlUI;
} // namespace q407::editors

namespace q407::app {

class CMainWnd;

// The user's consent to text `textId` (confirm or cancel); true when given.
bool ConfirmText(QWidget& owner, const char* textId);
// Text `textId` told in a message box, with "%d" replaced by `value`.
void TellText(QWidget& owner, const QString& textId, int value = 0);

class PageActions {
public:
    explicit PageActions(CMainWnd& window) : m_window(window) {}

    // Acts on a notification of a page control; false when no row names the control.
    bool Handle(const toolkit::TNotifyUI& msg);

    // Loads and writes the profile chosen in the selected page's profile panel, telling the user
    // when the device did not take it. Returns the page's result.
    int ApplySelectedProfile();

private:
    // The audio page of the lighting panel; false when the control is not one of it.
    bool OnAudioLight(const QString& type, const QString& prefix, int n);
    bool OnClick(const QString& prefix, int n);
    bool OnSelect(const QString& prefix, int n, bool checked);
    bool OnValue(const QString& prefix, int n, int value, bool moving);
    bool OnItem(const QString& name, int row);
    bool OnKillFocus(const QString& prefix, int n);
    bool OnColour(const QString& name);
    bool OnSelectEnd(const QString& name);

    pages::CKestravaUSBDevice* Page() const;
    pages::CKestravaMouseDevice* Mouse() const;
    pages::CKestravaKeyboardDevice* Keyboard() const;
    pages::CKestravaHS6533Device* Headset() const;
    // The headset panels' rows; false when none names the control.
    bool OnHeadsetSelect(const QString& prefix, int n, bool checked);
    // The selected page's panels; nullptr without a page or panel.
    editors::CDeviceProfileUI* ProfilePanel() const;
    editors::CLightControlUI* LightPanel() const;
    bool Confirm(const char* textId) const;
    void Tell(const QString& textId, int value = 0) const;
    // The profile actions of the panel buttons.
    void AddProfile();
    void DeleteProfile();
    void CopyProfile();
    void ImportProfile();
    void ExportProfile();
    void ResetProfile();
    void RenameProfile();
    // Feature tab n shown on the selected page and on every mouse page.
    void ShowFeature(int n);
    // The lighting panel's colour (and its components) applied to the selected page.
    void ApplyColour(std::uint32_t argb, bool setPalette);
    // "deng_same_mode": every open page takes the selected page's light mode as the shared
    // effect and follows it; nothing changes when the mode has no shared equivalent.
    void ShareSelectedLighting();
    // The page's own light edits end its following of the shared effect.
    static void StopFollowing(pages::CKestravaUSBDevice* page);

    CMainWnd& m_window;
};

} // namespace q407::app
