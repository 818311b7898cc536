#pragma once

// The update flow of the settings window, without any widget: it asks the server about each
// component, keeps the rows and the window status, downloads the rows the user confirmed and
// runs their installers. The window is a thin layer on top:
//
//   - it implements UpdateObserver and mirrors every call onto its controls (calls arrive on
//     worker threads; a Qt window re-posts them to its own thread and must never block in them);
//   - it forwards the user's actions: SetTicked ("check_name_select"), Confirm ("update_OK_btn"),
//     OnInstallerReport (the relayed installer messages), and asks CanClose before closing;
//   - it calls Stop (or destroys the engine) when it closes.
//
// Three workers run while the engine is started: the check (once), the downloads and the
// installs. Every wait of theirs ends at once on Stop.

#include "update/ProgramLauncher.h"
#include "update/UpdateFiles.h"
#include "update/UpdateTypes.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace q407::update {

class HttpCancel;

// One row as the window shows it.
struct UpdateRowView {
    UpdateInfo info;
    std::string newestVersionText; // "updateRev": empty in state 7, hidden when empty
    bool checkEnabled = false;
    bool ticked = false;
    int percent = 0; // shown while downloading or installing
};

// Installer reports, relayed from the installer through the main window.
enum class InstallerReport : std::int32_t {
    Done = 1,
    Unsettled = 2, // fails the row only after an earlier failure report
    Failed = 3,
    Progress = 4, // value: percentage
};

class UpdateObserver {
public:
    virtual ~UpdateObserver() = default;
    virtual void RowAdded(std::size_t index, const UpdateRowView& row) = 0;
    // State, texts, check or tick changed (a state change also resets the percentage to 0).
    virtual void RowChanged(std::size_t index, const UpdateRowView& row) = 0;
    virtual void RowProgress(std::size_t index, int percent) = 0;
    // Status 4 shows "UpdateOkText" followed by `lastCheckDate`, and clears the main window's
    // update mark.
    virtual void StatusChanged(WindowStatus status, const std::string& lastCheckDate) = 0;
    // "update_fw_and_ap" enabled and shown, or disabled and hidden.
    virtual void ConfirmAvailable(bool available) = 0;
    // An installer could not be started ("Update failed!").
    virtual void InstallerStartFailed(std::size_t index) = 0;
};

struct UpdateEngineOptions {
    UpdateServerSettings server;
    std::filesystem::path downloadFolder = DefaultDownloadFolder();
    std::filesystem::path timeFile = UpdateTimeFile();
    std::function<std::string()> today = TodayText;
    // Pauses of the flow: after each download, and between a download and its installer.
    std::chrono::milliseconds pauseAfterDownload{4000};
    std::chrono::milliseconds pauseBeforeInstall{1000};
    // How long an installer's final report may trail the installer's end.
    std::chrono::milliseconds reportGrace{3000};
};

class UpdateEngine {
public:
    // `components` are the rows to offer (those with an installed version), in table order.
    UpdateEngine(std::vector<UpdateComponent> components, UpdateEngineOptions options,
                 ProgramLauncher& launcher, UpdateObserver& observer);
    ~UpdateEngine();
    UpdateEngine(const UpdateEngine&) = delete;
    UpdateEngine& operator=(const UpdateEngine&) = delete;

    // Reads (or creates) the last-check record and starts the three workers; once per engine.
    void Start();
    // Ends the workers; a running installer is left to finish on its own. After Stop returns,
    // the observer is not called any more.
    void Stop();

    // The user ticked or unticked a row (ignored while its check is disabled).
    void SetTicked(std::size_t index, bool ticked);
    // The user confirmed: ticked rows with an update wait for download, the others are locked.
    void Confirm();
    // An installer's report about the row being installed; unknown codes (also any beyond 32
    // bits) are ignored.
    void OnInstallerReport(std::int64_t code, std::int64_t value);

    // False while a row is waiting, downloading, downloaded or installing.
    bool CanClose() const;
    std::vector<UpdateRowView> Rows() const;
    WindowStatus Status() const;
    std::string LastCheckDate() const;

private:
    struct Row {
        UpdateInfo info;
        bool checkEnabled = false;
        bool ticked = false;
        int percent = 0;
        std::int64_t completeBytes = 0; // size of the finished download
    };
    struct ProgressContext {
        UpdateEngine* engine;
        std::size_t index;
    };
    using Event = std::function<void(UpdateObserver&)>;

    void RemoveUnfinishedDownloads() const;
    void CheckWorker();
    void DownloadWorker();
    void InstallWorker();

    void DownloadRow(std::unique_lock<std::mutex>& lock, std::size_t index);
    void InstallRow(std::unique_lock<std::mutex>& lock, std::size_t index);
    static void OnProgress(double total, double received, void* context);
    void Progress(std::size_t index, double total, double received);

    // State changes, all with m_mutex held; each posts its event.
    void AddRow(const UpdateInfo& info);
    void UpdateRow(std::size_t index, const UpdateInfo& info);
    void SetState(std::size_t index, RowState state);
    void SetStatus(WindowStatus status);
    void PostRowChanged(std::size_t index);
    UpdateRowView View(std::size_t index) const;
    bool AnyTicked() const;
    // Waits up to `duration` unless stopped; false once stopped.
    bool Pause(std::unique_lock<std::mutex>& lock, std::chrono::milliseconds duration);

    void Post(Event event);
    // Calls the observer with every event posted so far; never with m_mutex held.
    void Deliver();
    void DeliverUnlocked(std::unique_lock<std::mutex>& lock);

    const std::vector<UpdateComponent> m_components;
    const UpdateEngineOptions m_options;
    ProgramLauncher& m_launcher;
    UpdateObserver& m_observer;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::vector<Row> m_rows;
    WindowStatus m_status = WindowStatus::Checking;
    std::string m_lastCheckDate;
    bool m_downloadRequested = false;
    std::int32_t m_installFlag = 0; // 0 idle, 1 installer running, -1 last one failed
    std::ptrdiff_t m_currentRow = -1;
    // One each, so a stop wakes both transfers at once.
    std::unique_ptr<HttpCancel> m_checkCancel;
    std::unique_ptr<HttpCancel> m_downloadCancel;
    bool m_started = false;

    std::mutex m_eventMutex;
    std::deque<Event> m_events;
    bool m_delivering = false;

    std::vector<std::thread> m_workers;
};

} // namespace q407::update
