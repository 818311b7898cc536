#pragma once

// The settings window ("SetWnd", skin "setwnd.xml"): one row per updatable component, the window
// status, the confirmation page and the language chooser. The update flow itself is the
// UpdateEngine; this window mirrors its observer calls onto the controls (re-posted to the UI
// thread, never blocking the worker that made them) and forwards the user's actions to it.
//
// What the main window does with it:
//   - message kOpenSettingsMessage (or "setbtn" / "setwnd_menu"): CSetWnd::Open with the facts of
//     its device selector entries; Open shows the window modally and returns when it is closed;
//   - every WM_EXTERNAL_RELAY_MSG, and WM_APP_CONTROL_MSG other than wParam 4, goes to
//     CSetWnd::OnRelayedMessage (installer reports);
//   - after applying a language, CSetWnd::LanguageChanged;
//   - SetWndRequest::upToDate clears the update mark of "setbtn" (message kClearUpdateMarkMessage);
//     SetWndRequest::languageChosen applies a language (message kLanguageChangedMessage).

#include "toolkit/WindowImplBase.h"
#include "update/UpdateComponents.h"
#include "update/UpdateEngine.h"

#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace q407::app {

class CUpdateInfoListItemUI;

// Message numbers of the settings window and of its exchange with the main window.
enum SetWndMessage : uint {
    kCloseMessage = 0x0010,           // close unless a row is busy; result 1 when it closed
    kLanguageChangedMessage = 0x0C11, // to the main window: wParam language index; to this
                                      // window: the language changed, re-text
    kOpenSettingsMessage = 0x0C15,    // to the main window: open the settings window centred
    kClearUpdateMarkMessage = 0x0C16, // to the main window: clear the update mark on "setbtn"
};

// What the main window hands over when it opens the window.
struct SetWndRequest {
    // The device selector entries in list order (see BuildUpdateComponents).
    std::vector<q407::update::SelectorEntryState> selectorEntries;
    // The program's installed version as a number (its version text without dots).
    std::int32_t applicationVersion = 0;
    int languageIndex = 0;
    int dpi = 96;
    bool centred = false;
    // The user chose a language in the combo (the main window applies it: message 0x0C11).
    std::function<void(int languageIndex)> languageChosen;
    // The window reached "up to date" (the main window clears "setbtn"'s mark: message 0x0C16).
    std::function<void()> upToDate;
    // Whether the OpenRGB SDK server runs, and what the user chose in "sdk_server_check" (the
    // main window starts or stops the server and stores the choice).
    bool sdkServerOn = false;
    std::function<void(bool on)> sdkServerChosen;
};

// What the window works with besides the request; the defaults are the program's own.
struct SetWndServices {
    q407::update::UpdateEngineOptions engine;
    std::shared_ptr<q407::update::ProgramLauncher> launcher;
    std::filesystem::path languageCatalogue; // "Language.config"
};
// The server from update.json, the system's launcher, the catalogue in DefaultData.
SetWndServices DefaultSetWndServices();

class CSetWnd : public toolkit::WindowImplBase, private q407::update::UpdateObserver {
    Q_OBJECT
public:
    CSetWnd(QWidget* owner, std::vector<q407::update::UpdateComponent> components,
            SetWndServices services, SetWndRequest request = {});
    ~CSetWnd() override;

    // --- for the main window (UI thread unless said otherwise) ------------------------------
    // Builds the components from the request, creates the window owned by `mainWindow`, places
    // it (centred, or at the main window's top right) and shows it modally; returns when it has
    // closed. Returns at once when a settings window is already open.
    static void Open(QWidget* mainWindow, SetWndRequest request,
                     SetWndServices services = DefaultSetWndServices());
    // True from the window's creation until it has closed.
    static bool IsOpen();
    // The settings window, also once closed until it is destroyed; nullptr when there is none.
    static CSetWnd* Current();
    // An installer report (wParam code, lParam value). Safe from any thread; ignored when no
    // settings window is open.
    static void OnRelayedMessage(qint64 wParam, qint64 lParam);
    // Closes the open window unless a row is busy; true when none is open any more.
    static bool RequestClose();
    // The language changed: re-text the window.
    static void LanguageChanged();

    // --- the window ---------------------------------------------------------------------------
    QString GetSkinFile() const override { return QStringLiteral("setwnd.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("SetWnd"); }
    void InitWindow() override;
    void Notify(toolkit::TNotifyUI& msg) override;
    bool HandleMessage(uint message, qint64 wParam, qint64 lParam, qint64& result) override;
    QWidget* CreateControl(const QString& className, QWidget* parent) override;

    // The row of component `index` (nullptr when there is none or its layout failed).
    CUpdateInfoListItemUI* Row(std::size_t index) const;
    std::size_t RowCount() const { return m_rows.size(); }
    q407::update::WindowStatus Status() const { return m_status; }
    const q407::update::UpdateEngine& Engine() const { return *m_engine; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // UpdateObserver: called on worker threads; each call is re-posted to the UI thread.
    void RowAdded(std::size_t index, const q407::update::UpdateRowView& row) override;
    void RowChanged(std::size_t index, const q407::update::UpdateRowView& row) override;
    void RowProgress(std::size_t index, int percent) override;
    void StatusChanged(q407::update::WindowStatus status,
                       const std::string& lastCheckDate) override;
    void ConfirmAvailable(bool available) override;
    void InstallerStartFailed(std::size_t index) override;
    template <typename F>
    void OnUiThread(F f);

    void BindSdkServerCheck();
    void AddRowControl(std::size_t index, const q407::update::UpdateRowView& row);
    void ApplyRow(std::size_t index, const q407::update::UpdateRowView& row);
    void ShowStatus(q407::update::WindowStatus status);
    void ShowConfirm(bool available);
    void ShowPage(int page);
    void FillLanguageCombo();
    void RetextLanguageCombo();
    std::ptrdiff_t RowIndexOf(const QWidget* control) const;
    void StopAndClose();

    std::unique_ptr<q407::update::UpdateEngine> m_engine;
    SetWndServices m_services;
    SetWndRequest m_request;
    std::vector<QPointer<CUpdateInfoListItemUI>> m_rows;
    q407::update::WindowStatus m_status = q407::update::WindowStatus::Checking;
    QString m_lastCheckDate;
    bool m_stopped = false;
};

} // namespace q407::app
