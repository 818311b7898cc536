#pragma once

// What the main window does with the key assignment, macro and recoil panels of the selected
// mouse or keyboard page, and with the input hook: key capture while the key edit has the focus
// (message 0x041E), macro recording started from the panel or the event rows' menu, the macro
// library's actions with their confirmations, and the recoil tables. Each row names a control or
// a prefix that a number follows; notifications of pages without these panels change nothing.

#include "app/CDeviceHook.h"
#include "devices/MacroRecorder.h"
#include "toolkit/Notify.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace q407::pages {
class CKeyMacroPanels;
class CKestravaUSBDevice;
} // namespace q407::pages

namespace q407::app {

class CMainWnd;

// wParam 1 installs the input hook in key capture mode, 0 removes it.
inline constexpr unsigned kInputHookMessage = 0x041E;

class KeyMacroActions {
public:
    explicit KeyMacroActions(CMainWnd& window);
    ~KeyMacroActions();
    KeyMacroActions(const KeyMacroActions&) = delete;
    KeyMacroActions& operator=(const KeyMacroActions&) = delete;

    // Acts on a notification of the panels; false when no row names the control.
    bool Handle(const toolkit::TNotifyUI& msg);
    // Message 0x041E; false for any other message.
    bool HandleMessage(unsigned message, qint64 wParam);

    // An item of the event rows' menu ("XML/Menus/macro_action_menu.xml"): record before or
    // after the selected event, replace its key, or insert a mouse button event.
    void OnMenuItem(const QString& item);
    // Ends a recording that runs (the device went away, the window closes).
    void StopRecording();
    bool IsRecording() const;

    CDeviceHook& Hook() { return *m_hook; }

private:
    bool OnClick(const QString& prefix, int n);
    bool OnKeyPanelClick(const QString& name);
    bool OnMacroClick(const QString& name);
    bool OnRecoilClick(const QString& name);
    bool OnSelect(const QString& prefix, int n, bool checked);
    bool OnItem(const QString& name, int row);
    bool OnKillFocus(const QString& name);

    // Capture and recording.
    void OnCapturedKey(int mode, const q407::devices::KeyInput& key);
    void OnCapturedMouse(int mode, const q407::devices::MouseInput& mouse);
    void StartRecording(q407::devices::MacroTiming timing, int mode);
    void EnableSelection(bool enabled);

    // Library actions.
    void NewMacro();
    void RenameMacro();
    void DeleteMacro();
    void ImportMacro();
    void ExportMacro();
    // A list edit done: the key panel's store, cancel and write buttons are enabled.
    void ListEdited(bool changed);

    // The key panel's write to the device, with its message.
    void TellWriteResult(int result) const;
    bool Confirm(const char* textId) const;
    void Tell(const char* textId, int value = 0) const;

    pages::CKestravaUSBDevice* Page() const;
    pages::CKeyMacroPanels* Panels() const;
    static std::uint64_t NowMs();

    CMainWnd& m_window;
    std::unique_ptr<CDeviceHook> m_hook;
    pages::CKeyMacroPanels* m_recordingPanels = nullptr;
};

} // namespace q407::app
