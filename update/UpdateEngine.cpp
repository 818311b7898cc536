#include "update/UpdateEngine.h"

#include "common/Diag.h"
#include "update/HttpClient.h"
#include "update/Sha256.h"
#include "update/UpdateProtocol.h"

#include <algorithm>
#include <climits>
#include <strings.h>
#include <system_error>

namespace q407::update {
namespace {

bool CheckEnabledIn(RowState state) {
    return state == RowState::UpdateAvailable || state == RowState::UpdateAvailableAlt ||
           state == RowState::Failed;
}

bool IsSettled(RowState state) {
    return CheckEnabledIn(state) || state == RowState::UpToDate;
}

// How a row looks before (or without) an answer from the server.
UpdateInfo FirstPassInfo(const UpdateComponent& component) {
    UpdateInfo info;
    info.name = component.chip == "ALL" ? "AP" : component.name;
    info.installedVersionText = component.hexVersions != 0
                                    ? InstalledVersionText(component.version, true)
                                    : component.versionText;
    info.status = RowState::UpToDate;
    return info;
}

// Only the file exactly as announced is run: a regular file of the downloaded length and, when
// the server named one, of its SHA-256.
bool IsIntactDownload(const std::filesystem::path& file, std::int64_t bytes,
                      const std::string& sha256) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(file, ec);
    if (ec || !std::filesystem::is_regular_file(status) || bytes <= 0 ||
        std::filesystem::file_size(file, ec) != static_cast<std::uintmax_t>(bytes) || ec) {
        return false;
    }
    if (sha256.empty()) {
        return true;
    }
    const auto digest = Sha256OfFile(file);
    return digest && SameSha256(*digest, sha256);
}

} // namespace

UpdateEngine::UpdateEngine(std::vector<UpdateComponent> components, UpdateEngineOptions options,
                           ProgramLauncher& launcher, UpdateObserver& observer)
    : m_components(std::move(components)), m_options(std::move(options)), m_launcher(launcher),
      m_observer(observer), m_checkCancel(std::make_unique<HttpCancel>()),
      m_downloadCancel(std::make_unique<HttpCancel>()) {}

UpdateEngine::~UpdateEngine() {
    Stop();
}

void UpdateEngine::Start() {
    if (m_started) {
        return; // one run per engine: the rows are built once
    }
    m_started = true;
    RemoveUnfinishedDownloads();
    if (!m_options.server.caFile.empty()) {
        SetHttpCertificateAuthorities(m_options.server.caFile);
    }
    std::string date;
    if (auto stored = ReadLastCheckDate(m_options.timeFile)) {
        date = *stored;
    } else {
        date = m_options.today();
        WriteLastCheckDate(m_options.timeFile, date);
    }
    {
        std::lock_guard lock(m_mutex);
        m_lastCheckDate = date;
        m_stop = false;
    }
    m_workers.emplace_back(&UpdateEngine::CheckWorker, this);
    m_workers.emplace_back(&UpdateEngine::DownloadWorker, this);
    m_workers.emplace_back(&UpdateEngine::InstallWorker, this);
}

void UpdateEngine::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_checkCancel->Cancel();
    m_downloadCancel->Cancel();
    for (auto& worker : m_workers) {
        worker.join();
    }
    m_workers.clear();
    Deliver();
}

void UpdateEngine::RemoveUnfinishedDownloads() const {
    // A download cut short by a crash leaves its private ".part." file behind.
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_options.downloadFolder, ec), end;
         !ec && it != end; it.increment(ec)) {
        if (it->path().filename().string().find(".part.") != std::string::npos) {
            std::filesystem::remove(it->path(), ec);
        }
    }
}

// ---- the check --------------------------------------------------------------------------

void UpdateEngine::CheckWorker() {
    {
        std::lock_guard lock(m_mutex);
        SetStatus(WindowStatus::Checking);
        for (const auto& component : m_components) {
            AddRow(FirstPassInfo(component));
        }
    }
    Deliver();

    std::size_t unreachable = 0;
    for (std::size_t k = 0; k < m_components.size(); ++k) {
        const UpdateComponent& component = m_components[k];
        UpdateInfo info =
            CheckForUpdate(m_options.server.baseUrl, BuildAppKey(component), component.version,
                           component.hexVersions != 0, m_checkCancel.get());
        if (::strcasecmp(info.name.c_str(), std::string(kNoLinkServer).c_str()) == 0) {
            ++unreachable;
            info.name.clear();
        }
        if (info.name.empty()) {
            info = FirstPassInfo(component);
        }
        info.name = component.name;
        {
            std::lock_guard lock(m_mutex);
            if (m_stop) {
                return;
            }
            UpdateRow(k, info);
        }
        WriteLastCheckDate(m_options.timeFile, m_options.today());
        Deliver();
    }

    {
        std::lock_guard lock(m_mutex);
        bool ticked = false;
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            Row& row = m_rows[i];
            const bool offer =
                row.info.status != RowState::UpToDate && row.info.status != RowState::Unknown;
            row.checkEnabled = offer;
            row.ticked = row.ticked || offer;
            ticked = ticked || offer;
            PostRowChanged(i);
        }
        if (ticked) {
            Post([](UpdateObserver& o) { o.ConfirmAvailable(true); });
            SetStatus(WindowStatus::UpdatesAvailable);
        } else {
            SetStatus(unreachable == m_components.size() ? WindowStatus::NoInformation
                                                         : WindowStatus::UpToDate);
        }
    }
    Deliver();
}

// ---- downloads --------------------------------------------------------------------------

void UpdateEngine::DownloadWorker() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_downloadRequested; });
        if (m_stop) {
            return;
        }
        // Cleared before the walk, so a confirm made during it asks for another walk.
        m_downloadRequested = false;
        for (std::size_t i = 0; i < m_rows.size() && !m_stop; ++i) {
            const RowState state = m_rows[i].info.status;
            if (m_rows[i].ticked &&
                (state == RowState::WaitingForDownload || state == RowState::Failed)) {
                DownloadRow(lock, i);
                DeliverUnlocked(lock);
            }
        }
    }
}

void UpdateEngine::DownloadRow(std::unique_lock<std::mutex>& lock, std::size_t index) {
    diag::Line("等待下载");
    SetState(index, RowState::Downloading);
    SetStatus(WindowStatus::Updating);
    const std::filesystem::path target = m_rows[index].info.filePath;
    const std::string url = m_rows[index].info.downloadUrl;
    const std::string sha256 = m_rows[index].info.sha256;
    if (target.empty() || !IsAllowedDownloadUrl(url)) {
        diag::Line("update: no usable file name or address for this row");
        SetState(index, RowState::Failed);
        return;
    }
    // Rows named alike share a file; the next download waits until the previous file has been
    // handed to its installer.
    m_wake.wait(lock, [&] {
        return m_stop || std::none_of(m_rows.begin(), m_rows.end(), [&](const Row& other) {
                   return other.info.status == RowState::Downloaded &&
                          other.info.filePath == target.string();
               });
    });
    if (m_stop) {
        SetState(index, RowState::Failed);
        return;
    }
    lock.unlock();
    Deliver();
    std::error_code ec;
    std::filesystem::create_directories(m_options.downloadFolder, ec);
    std::filesystem::permissions(m_options.downloadFolder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace, ec);
    ProgressContext context{this, index};
    HttpDownloadFile(url, target, &UpdateEngine::OnProgress, &context, m_downloadCancel.get(),
                     sha256);
    lock.lock();
    Pause(lock, m_options.pauseAfterDownload);
}

void UpdateEngine::OnProgress(double total, double received, void* context) {
    const auto* progress = static_cast<ProgressContext*>(context);
    progress->engine->Progress(progress->index, total, received);
}

void UpdateEngine::Progress(std::size_t index, double total, double received) {
    {
        std::lock_guard lock(m_mutex);
        Row& row = m_rows[index];
        if (total > 0.0) {
            const int percent = static_cast<int>(received * 100.0 / total);
            if (percent != row.percent) {
                row.percent = percent;
                Post([index, percent](UpdateObserver& o) { o.RowProgress(index, percent); });
            }
            if (received == total) {
                row.completeBytes = static_cast<std::int64_t>(total);
                SetState(index, RowState::Downloaded);
                m_wake.notify_all();
            }
        } else {
            SetState(index, RowState::Failed);
        }
    }
    Deliver();
}

// ---- installs ---------------------------------------------------------------------------

void UpdateEngine::InstallWorker() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        // One step a round: the first ticked row that is installing holds the queue; the first
        // ticked downloaded row is installed.
        bool acted = false;
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (!m_rows[i].ticked) {
                continue;
            }
            if (m_rows[i].info.status == RowState::Installing) {
                break;
            }
            if (m_rows[i].info.status == RowState::Downloaded) {
                InstallRow(lock, i);
                DeliverUnlocked(lock);
                acted = true;
                break;
            }
        }
        if (!acted) {
            m_wake.wait_for(lock, std::chrono::milliseconds(200));
        }
    }
}

void UpdateEngine::InstallRow(std::unique_lock<std::mutex>& lock, std::size_t index) {
    diag::Line("下载成功");
    if (!Pause(lock, m_options.pauseBeforeInstall) ||
        m_rows[index].info.status != RowState::Downloaded || !m_rows[index].ticked) {
        return;
    }
    const std::filesystem::path file = m_rows[index].info.filePath;
    const std::int64_t bytes = m_rows[index].completeBytes;
    const std::string sha256 = m_rows[index].info.sha256;
    // Reading a large file takes a while; the window's calls must not wait for it.
    lock.unlock();
    const bool intact = IsIntactDownload(file, bytes, sha256);
    lock.lock();
    if (m_stop || m_rows[index].info.status != RowState::Downloaded || !m_rows[index].ticked) {
        return;
    }
    if (!intact) {
        diag::Printf("update: %s is not the announced file; removed, not run", file.c_str());
        std::error_code ec;
        std::filesystem::remove(file, ec);
        SetState(index, RowState::Failed);
        return;
    }
    SetState(index, RowState::Installing);
    SetStatus(WindowStatus::Updating);
    m_currentRow = static_cast<std::ptrdiff_t>(index);
    m_wake.notify_all();

    if (m_rows[index].info.deviceId == 1) {
        lock.unlock();
        Deliver();
        const bool opened = m_launcher.Open(file);
        lock.lock();
        if (!opened) {
            Post([index](UpdateObserver& o) { o.InstallerStartFailed(index); });
            SetState(index, RowState::Failed);
        }
        return;
    }

    m_installFlag = 1;
    lock.unlock();
    Deliver();
    std::unique_ptr<RunningProgram> program = m_launcher.Run(file);
    lock.lock();
    if (!program) {
        m_installFlag = -1;
        Post([index](UpdateObserver& o) { o.InstallerStartFailed(index); });
        SetState(index, RowState::Failed);
        return;
    }
    bool ended = false;
    while (!ended && !m_stop) {
        lock.unlock();
        ended = program->WaitFor(std::chrono::milliseconds(100));
        lock.lock();
    }
    if (!ended) {
        return; // stopping: the installer goes on alone
    }
    // The installer's last report travels through the main window and may trail its end.
    m_wake.wait_for(lock, m_options.reportGrace,
                    [&] { return m_stop || m_rows[index].info.status != RowState::Installing; });
    if (!m_stop && m_rows[index].info.status == RowState::Installing) {
        diag::Line("update: the installer ended without reporting a result");
        m_installFlag = -1;
        SetState(index, RowState::Failed);
    }
}

// ---- the window's actions ---------------------------------------------------------------

void UpdateEngine::SetTicked(std::size_t index, bool ticked) {
    {
        std::lock_guard lock(m_mutex);
        if (index >= m_rows.size() || !m_rows[index].checkEnabled ||
            m_rows[index].ticked == ticked) {
            return;
        }
        m_rows[index].ticked = ticked;
        PostRowChanged(index);
        Post([any = AnyTicked()](UpdateObserver& o) { o.ConfirmAvailable(any); });
    }
    Deliver();
}

void UpdateEngine::Confirm() {
    {
        std::lock_guard lock(m_mutex);
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            Row& row = m_rows[i];
            if (row.info.status != RowState::UpdateAvailable &&
                row.info.status != RowState::UpdateAvailableAlt) {
                continue;
            }
            if (row.ticked) {
                SetState(i, RowState::WaitingForDownload);
            } else if (row.checkEnabled) {
                row.checkEnabled = false;
                PostRowChanged(i);
            }
        }
        Post([](UpdateObserver& o) { o.ConfirmAvailable(false); });
        m_downloadRequested = true;
    }
    m_wake.notify_all();
    Deliver();
}

void UpdateEngine::OnInstallerReport(std::int64_t code, std::int64_t value) {
    // A code beyond 32 bits is no code an installer sends, never the one its low bits spell.
    if (code < INT32_MIN || code > INT32_MAX) {
        diag::Printf("update: installer report %lld ignored", static_cast<long long>(code));
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        if (m_currentRow < 0) {
            return;
        }
        const auto index = static_cast<std::size_t>(m_currentRow);
        Row& row = m_rows[index];
        switch (static_cast<InstallerReport>(code)) {
        case InstallerReport::Done: {
            row.info.installedVersionText = row.info.serverVersionText;
            row.info.serverVersionText.clear();
            row.ticked = false;
            SetState(index, RowState::UpToDate);
            PostRowChanged(index);
            m_installFlag = 0;
            const bool othersPending = std::any_of(m_rows.begin(), m_rows.end(), [](const Row& r) {
                return r.ticked && r.info.status != RowState::UpToDate;
            });
            if (othersPending) {
                break;
            }
            bool offered = false;
            for (std::size_t i = 0; i < m_rows.size(); ++i) {
                if (m_rows[i].info.status != RowState::UpToDate) {
                    m_rows[i].checkEnabled = true;
                    offered = true;
                    PostRowChanged(i);
                }
            }
            SetStatus(offered ? WindowStatus::UpdatesAvailable : WindowStatus::UpToDate);
            break;
        }
        case InstallerReport::Unsettled:
            if (m_installFlag != 0 && m_installFlag != 1) {
                SetState(index, RowState::Failed);
            }
            break;
        case InstallerReport::Failed:
            m_installFlag = -1;
            SetState(index, RowState::Failed);
            break;
        case InstallerReport::Progress: {
            const int percent = static_cast<int>(std::clamp<std::int64_t>(value, 0, 100));
            row.percent = percent;
            Post([index, percent](UpdateObserver& o) { o.RowProgress(index, percent); });
            break;
        }
        default:
            break;
        }
    }
    m_wake.notify_all();
    Deliver();
}

bool UpdateEngine::CanClose() const {
    std::lock_guard lock(m_mutex);
    return std::all_of(m_rows.begin(), m_rows.end(),
                       [](const Row& row) { return IsSettled(row.info.status); });
}

std::vector<UpdateRowView> UpdateEngine::Rows() const {
    std::lock_guard lock(m_mutex);
    std::vector<UpdateRowView> rows;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        rows.push_back(View(i));
    }
    return rows;
}

WindowStatus UpdateEngine::Status() const {
    std::lock_guard lock(m_mutex);
    return m_status;
}

std::string UpdateEngine::LastCheckDate() const {
    std::lock_guard lock(m_mutex);
    return m_lastCheckDate;
}

// ---- state changes (m_mutex held) -------------------------------------------------------

void UpdateEngine::AddRow(const UpdateInfo& info) {
    Row row;
    row.info = info;
    row.info.filePath =
        DownloadFilePath(m_options.downloadFolder, info.name, info.downloadUrl).string();
    m_rows.push_back(row);
    const std::size_t index = m_rows.size() - 1;
    Post([index, view = View(index)](UpdateObserver& o) { o.RowAdded(index, view); });
}

void UpdateEngine::UpdateRow(std::size_t index, const UpdateInfo& info) {
    if (index >= m_rows.size()) {
        return;
    }
    Row& row = m_rows[index];
    row.info = info;
    row.info.filePath =
        DownloadFilePath(m_options.downloadFolder, info.name, info.downloadUrl).string();
    row.checkEnabled = false;
    row.percent = 0;
    PostRowChanged(index);
}

void UpdateEngine::SetState(std::size_t index, RowState state) {
    Row& row = m_rows[index];
    if (row.info.status == state) {
        return;
    }
    row.info.status = state;
    row.checkEnabled = CheckEnabledIn(state);
    row.percent = 0;
    PostRowChanged(index);
    m_wake.notify_all();
}

void UpdateEngine::SetStatus(WindowStatus status) {
    m_status = status;
    Post([status, date = m_lastCheckDate](UpdateObserver& o) { o.StatusChanged(status, date); });
}

void UpdateEngine::PostRowChanged(std::size_t index) {
    Post([index, view = View(index)](UpdateObserver& o) { o.RowChanged(index, view); });
}

UpdateRowView UpdateEngine::View(std::size_t index) const {
    const Row& row = m_rows[index];
    UpdateRowView view;
    view.info = row.info;
    view.newestVersionText =
        row.info.status == RowState::UpToDate ? std::string() : row.info.serverVersionText;
    view.checkEnabled = row.checkEnabled;
    view.ticked = row.ticked;
    view.percent = row.percent;
    return view;
}

bool UpdateEngine::AnyTicked() const {
    return std::any_of(m_rows.begin(), m_rows.end(), [](const Row& row) { return row.ticked; });
}

bool UpdateEngine::Pause(std::unique_lock<std::mutex>& lock, std::chrono::milliseconds duration) {
    return !m_wake.wait_for(lock, duration, [this] { return m_stop; });
}

// ---- observer calls, in order, with no lock held -----------------------------------------

void UpdateEngine::Post(Event event) {
    std::lock_guard lock(m_eventMutex);
    m_events.push_back(std::move(event));
}

void UpdateEngine::DeliverUnlocked(std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    Deliver();
    lock.lock();
}

void UpdateEngine::Deliver() {
    std::unique_lock lock(m_eventMutex);
    if (m_delivering) {
        return; // the thread delivering now takes these too
    }
    m_delivering = true;
    while (!m_events.empty()) {
        Event event = std::move(m_events.front());
        m_events.pop_front();
        lock.unlock();
        event(m_observer);
        lock.lock();
    }
    m_delivering = false;
}

} // namespace q407::update
