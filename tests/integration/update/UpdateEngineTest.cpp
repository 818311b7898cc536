// The whole update flow against a loopback update server: check, confirm, download, install
// and the installer's reports, with a scripted launcher in place of real installers.

#include "update/UpdateEngine.h"

#include "LoopbackServer.h"
#include "common/AtomicFile.h"
#include "support/ScopedEnv.h"
#include "update/UpdateProtocol.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <thread>

namespace q407::update {
namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 20s; // bound of every wait; the flow normally takes milliseconds

// Mirrors what a window would show, and lets the test wait for it.
class RecordingObserver final : public UpdateObserver {
public:
    void RowAdded(std::size_t index, const UpdateRowView& row) override {
        Change([&] {
            if (m_rows.size() <= index) {
                m_rows.resize(index + 1);
            }
            m_rows[index] = row;
            m_added.push_back(row);
        });
    }
    void RowChanged(std::size_t index, const UpdateRowView& row) override {
        Change([&] {
            m_rows.at(index) = row;
            m_states[index].push_back(row.info.status);
        });
        if (onRowChanged) {
            onRowChanged(index, row);
        }
    }
    void RowProgress(std::size_t index, int percent) override {
        Change([&] { m_progress[index].push_back(percent); });
    }
    void StatusChanged(WindowStatus status, const std::string& date) override {
        Change([&] {
            m_statuses.push_back(status);
            m_date = date;
        });
    }
    void ConfirmAvailable(bool available) override {
        Change([&] { m_confirm.push_back(available); });
    }
    void InstallerStartFailed(std::size_t index) override {
        Change([&] { m_startFailures.push_back(index); });
    }

    // Waits until `condition` holds on the recorded state; false after kPatience.
    bool WaitFor(const std::function<bool(const RecordingObserver&)>& condition) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kPatience, [&] { return condition(*this); });
    }
    bool WaitForStatus(WindowStatus status) {
        return WaitFor([&](const RecordingObserver& o) {
            return !o.m_statuses.empty() && o.m_statuses.back() == status;
        });
    }
    bool WaitForState(std::size_t index, RowState state) {
        return WaitFor([&](const RecordingObserver& o) {
            return o.m_rows.size() > index && o.m_rows[index].info.status == state;
        });
    }
    template <typename F>
    auto Read(F f) const {
        std::lock_guard lock(m_mutex);
        return f(*this);
    }

    std::function<void(std::size_t, const UpdateRowView&)> onRowChanged;
    std::vector<UpdateRowView> m_rows;
    std::vector<UpdateRowView> m_added;
    std::map<std::size_t, std::vector<RowState>> m_states;
    std::map<std::size_t, std::vector<int>> m_progress;
    std::vector<WindowStatus> m_statuses;
    std::vector<bool> m_confirm;
    std::vector<std::size_t> m_startFailures;
    std::string m_date;

private:
    template <typename F>
    void Change(F f) {
        {
            std::lock_guard lock(m_mutex);
            f();
        }
        m_changed.notify_all();
    }
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
};

// Stands in for installers: records what it was asked to run and what the file held then.
class ScriptedLauncher final : public ProgramLauncher {
public:
    class Program final : public RunningProgram {
    public:
        explicit Program(ScriptedLauncher& owner) : m_owner(owner) {}
        bool WaitFor(std::chrono::milliseconds timeout) override {
            std::unique_lock lock(m_owner.m_mutex);
            return m_owner.m_changed.wait_for(lock, timeout, [&] { return m_owner.m_ended; });
        }

    private:
        ScriptedLauncher& m_owner;
    };

    std::unique_ptr<RunningProgram> Run(const std::filesystem::path& program) override {
        std::lock_guard lock(m_mutex);
        m_runs.emplace_back(program, ReadFileBounded(program, 1 << 20).value_or("<unreadable>"));
        m_changed.notify_all();
        if (failStart) {
            return nullptr;
        }
        m_ended = endAtOnce;
        return std::make_unique<Program>(*this);
    }
    bool Open(const std::filesystem::path& file) override {
        std::lock_guard lock(m_mutex);
        m_opened.push_back(file);
        m_changed.notify_all();
        return true;
    }
    void EndProgram() {
        {
            std::lock_guard lock(m_mutex);
            m_ended = true;
        }
        m_changed.notify_all();
    }
    bool WaitForOpened() {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kPatience, [&] { return !m_opened.empty(); });
    }
    bool WaitForRuns(std::size_t count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kPatience, [&] { return m_runs.size() >= count; });
    }
    std::vector<std::pair<std::filesystem::path, std::string>> Runs() {
        std::lock_guard lock(m_mutex);
        return m_runs;
    }
    std::vector<std::filesystem::path> Opened() {
        std::lock_guard lock(m_mutex);
        return m_opened;
    }

    bool failStart = false;
    bool endAtOnce = false;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_ended = false;
    std::vector<std::pair<std::filesystem::path, std::string>> m_runs;
    std::vector<std::filesystem::path> m_opened;
};

UpdateComponent Firmware(const std::string& chip, std::int32_t version, const std::string& name) {
    UpdateComponent component;
    component.hexVersions = 1;
    component.version = version;
    component.vendor = "Q407";
    component.chip = chip;
    component.type = "MS";
    component.name = name;
    return component;
}

UpdateComponent Application(std::int32_t version) {
    UpdateComponent component;
    component.version = version;
    component.vendor = "Q407";
    component.chip = "ALL";
    component.type = "AP";
    component.name = "Driver";
    component.versionText = "V0101";
    return component;
}

class UpdateEngineTest : public ::testing::Test {
protected:
    UpdateEngineTest() {
        for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "ALL_PROXY"}) {
            ::unsetenv(name);
        }
        m_options.server.baseUrl = m_server.BaseUrl();
        m_options.downloadFolder = m_folder.Path() / "UpdateData";
        m_options.timeFile = m_folder.Path() / "updatetime.config";
        m_options.today = [] { return std::string("2026-12-9"); };
        m_options.pauseAfterDownload = 10ms;
        m_options.pauseBeforeInstall = 10ms;
        m_options.reportGrace = 300ms;
    }

    void Answer(const UpdateComponent& component, const std::string& json) {
        m_server.Answer(BuildAppKey(component), json);
    }
    // Offers `version` of the component as the file `file` with `content`.
    void Offer(const UpdateComponent& component, const std::string& version,
               const std::string& file, const std::string& content, int deviceId = 0) {
        m_server.Offer(BuildAppKey(component), component.name, version, file, content, deviceId);
    }
    std::string RequestBody(const UpdateComponent& component) {
        return m_server.RequestBody(BuildAppKey(component));
    }
    std::unique_ptr<UpdateEngine> Start(std::vector<UpdateComponent> components) {
        auto engine = std::make_unique<UpdateEngine>(std::move(components), m_options, m_launcher,
                                                     m_observer);
        engine->Start();
        return engine;
    }
    bool Checked() {
        return m_observer.WaitFor([](const RecordingObserver& o) {
            return !o.m_statuses.empty() && o.m_statuses.back() != WindowStatus::Checking;
        });
    }

    test::FakeUpdateServer m_server;
    test::TempFolder m_folder;
    // The default options name files in the user folder: keep it inside the test's folder.
    testutil::ScopedEnv m_userFolder{"XDG_DATA_HOME", (m_folder.Path() / "home").string()};
    UpdateEngineOptions m_options;
    RecordingObserver m_observer;
    ScriptedLauncher m_launcher;
};

TEST_F(UpdateEngineTest, WithoutNetworkEveryRowIsUpToDateAndNothingIsKnown) {
    m_options.server.baseUrl =
        "http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/api/";
    auto engine = Start({Application(101)});
    ASSERT_TRUE(Checked());
    EXPECT_EQ(engine->Status(), WindowStatus::NoInformation);
    m_observer.Read([](const RecordingObserver& o) {
        // First "AP" with the fixed version text, then the component's own name.
        EXPECT_EQ(o.m_added.at(0).info.name, "AP");
        EXPECT_EQ(o.m_added.at(0).info.installedVersionText, "V0101");
        EXPECT_EQ(o.m_statuses.front(), WindowStatus::Checking);
        EXPECT_TRUE(o.m_confirm.empty());
        return 0;
    });
    const auto rows = engine->Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].info.name, "Driver");
    EXPECT_EQ(rows[0].info.status, RowState::UpToDate);
    EXPECT_EQ(rows[0].info.installedVersionText, "V0101");
    EXPECT_EQ(rows[0].newestVersionText, "");
    EXPECT_FALSE(rows[0].checkEnabled);
    EXPECT_TRUE(engine->CanClose());
    // The first opening records the day.
    EXPECT_EQ(ReadLastCheckDate(m_options.timeFile), "2026-12-9");
    EXPECT_EQ(engine->LastCheckDate(), "2026-12-9");
}

TEST_F(UpdateEngineTest, VersionsAreComparedInTheComponentsBase) {
    const auto hexNewer = Firmware("C1", 0x0103, "Ms");
    const auto hexSame = Firmware("C2", 0x0103, "Ms");
    const auto decimalSame = Application(101);
    auto decimalNewer = Application(101);
    decimalNewer.type = "AP2";
    const auto hostile = Firmware("C3", 1, "T62");
    const auto garbage = Firmware("C4", 1, "T62");
    Answer(hexNewer, R"({"path":"http://127.0.0.1/x.bin","name":"Ms","version":"104"})");
    Answer(hexSame, R"({"path":"http://127.0.0.1/x.bin","name":"Ms","version":"103"})");
    Answer(decimalSame, R"({"path":"http://127.0.0.1/a","name":"Driver","version":"101",
                            "version_name":"V1.0.1"})");
    Answer(decimalNewer, R"({"path":"http://127.0.0.1/a","name":"Driver","version":"102",
                             "version_name":"V1.0.2"})");
    Answer(hostile, R"({"path":"http://127.0.0.1/x","name":"../../x","version":"9"})");
    Answer(garbage, "<html>busy</html>");
    ASSERT_TRUE(WriteLastCheckDate(m_options.timeFile, "2020-1-1"));

    auto engine = Start({hexNewer, hexSame, decimalSame, decimalNewer, hostile, garbage});
    ASSERT_TRUE(Checked());
    EXPECT_EQ(RequestBody(hexNewer), std::string("app_key=Q407_1_C1_MS_1&version=103\0", 35));
    EXPECT_EQ(RequestBody(decimalSame), std::string("app_key=Q407_0_ALL_AP_1&version=101\0", 36));

    const auto rows = engine->Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].info.status, RowState::UpdateAvailable);
    EXPECT_EQ(rows[0].newestVersionText, "V104");
    EXPECT_EQ(rows[0].info.installedVersionText, "V0103");
    EXPECT_EQ(rows[1].info.status, RowState::UpToDate);
    EXPECT_EQ(rows[1].newestVersionText, "");
    EXPECT_EQ(rows[2].info.status, RowState::UpToDate);
    EXPECT_EQ(rows[2].info.installedVersionText, "V0101");
    EXPECT_EQ(rows[3].info.status, RowState::UpdateAvailable);
    EXPECT_EQ(rows[3].newestVersionText, "V1.0.2");
    EXPECT_EQ(rows[4].info.status, RowState::UpToDate); // hostile name: no usable answer
    EXPECT_EQ(rows[4].info.name, "T62");
    EXPECT_EQ(rows[4].info.downloadUrl, "");
    EXPECT_EQ(rows[5].info.status, RowState::UpToDate);
    for (const std::size_t offered : {0u, 3u}) {
        EXPECT_TRUE(rows[offered].checkEnabled && rows[offered].ticked) << offered;
    }
    for (const std::size_t settled : {1u, 2u, 4u, 5u}) {
        EXPECT_FALSE(rows[settled].checkEnabled || rows[settled].ticked) << settled;
    }
    EXPECT_EQ(engine->Status(), WindowStatus::UpdatesAvailable);
    m_observer.Read([](const RecordingObserver& o) {
        EXPECT_EQ(o.m_confirm, std::vector<bool>{true});
        return 0;
    });
    // The shown date stays the stored one; the file now holds the day of this check.
    EXPECT_EQ(engine->LastCheckDate(), "2020-1-1");
    EXPECT_EQ(ReadLastCheckDate(m_options.timeFile), "2026-12-9");

    // Unticking every offered row withdraws the confirm button.
    engine->SetTicked(0, false);
    engine->SetTicked(3, false);
    engine->SetTicked(1, true); // a disabled check cannot be ticked
    // Observer calls may be delivered by a worker that is still delivering: wait for them.
    EXPECT_TRUE(
        m_observer.WaitFor([](const RecordingObserver& o) { return o.m_confirm.size() >= 3; }));
    m_observer.Read([](const RecordingObserver& o) {
        EXPECT_EQ(o.m_confirm, (std::vector<bool>{true, true, false}));
        return 0;
    });
    EXPECT_FALSE(engine->Rows()[1].ticked);
}

TEST_F(UpdateEngineTest, ConfirmedRowIsDownloadedInstalledAndReportedDone) {
    const auto mouse = Firmware("C1", 0x0103, "Ms");
    const auto pad = Firmware("C2", 0x0100, "Pad");
    Offer(mouse, "104", "fw-104.bin", std::string(5000, 'm'));
    Offer(pad, "101", "pad.bin", "pad");
    auto engine = Start({mouse, pad});
    ASSERT_TRUE(Checked());
    EXPECT_TRUE(engine->CanClose());

    engine->SetTicked(1, false);
    engine->Confirm();
    ASSERT_TRUE(m_launcher.WaitForRuns(1));
    ASSERT_TRUE(m_observer.WaitForState(0, RowState::Installing));
    const auto runs = m_launcher.Runs();
    EXPECT_EQ(runs[0].first, m_options.downloadFolder / "Ms.bin");
    EXPECT_EQ(runs[0].second, std::string(5000, 'm'));
    EXPECT_FALSE(engine->CanClose());
    EXPECT_EQ(engine->Status(), WindowStatus::Updating);
    // The unticked row was locked by the confirm and never fetched.
    EXPECT_FALSE(engine->Rows()[1].checkEnabled);
    EXPECT_EQ(engine->Rows()[1].info.status, RowState::UpdateAvailable);

    engine->OnInstallerReport(4, 55);
    engine->OnInstallerReport(4, 1000); // shown as at most 100
    engine->OnInstallerReport(1, 0);
    m_launcher.EndProgram();
    ASSERT_TRUE(m_observer.WaitForState(0, RowState::UpToDate));
    const auto rows = engine->Rows();
    EXPECT_EQ(rows[0].info.installedVersionText, "V104");
    EXPECT_EQ(rows[0].newestVersionText, "");
    EXPECT_FALSE(rows[0].ticked);
    // The row that is still offered gets its check back and the window offers updates again.
    EXPECT_TRUE(rows[1].checkEnabled);
    EXPECT_EQ(engine->Status(), WindowStatus::UpdatesAvailable);
    EXPECT_TRUE(engine->CanClose());
    ASSERT_TRUE(m_observer.WaitFor(
        [](const RecordingObserver& o) { return o.m_states.at(0).size() >= 8; }));
    m_observer.Read([](const RecordingObserver& o) {
        EXPECT_EQ(o.m_states.at(0),
                  (std::vector<RowState>{RowState::UpdateAvailable, RowState::UpdateAvailable,
                                         RowState::WaitingForDownload, RowState::Downloading,
                                         RowState::Downloaded, RowState::Installing,
                                         RowState::UpToDate, RowState::UpToDate}));
        const auto& progress = o.m_progress.at(0);
        EXPECT_EQ(progress.back(), 100);
        EXPECT_NE(std::find(progress.begin(), progress.end(), 55), progress.end());
        return 0;
    });
}

TEST_F(UpdateEngineTest, LastInstallReportedDoneLeavesTheWindowUpToDate) {
    const auto mouse = Firmware("C1", 0x0103, "Ms");
    Offer(mouse, "104", "fw.bin", "firmware");
    auto engine = Start({mouse});
    ASSERT_TRUE(Checked());
    engine->Confirm();
    ASSERT_TRUE(m_observer.WaitForState(0, RowState::Installing));
    engine->OnInstallerReport(1, 0);
    EXPECT_EQ(engine->Status(), WindowStatus::UpToDate);
    m_launcher.EndProgram();
    engine->Stop();
    EXPECT_EQ(engine->Rows()[0].info.status, RowState::UpToDate);
}

TEST_F(UpdateEngineTest, InstallerReportsActOnlyOnTheRowBeingInstalled) {
    const auto mouse = Firmware("C1", 0x0103, "Ms");
    Offer(mouse, "104", "fw.bin", "firmware");
    auto engine = Start({mouse});
    ASSERT_TRUE(Checked());
    engine->OnInstallerReport(3, 0); // nothing is being installed yet
    EXPECT_EQ(engine->Rows()[0].info.status, RowState::UpdateAvailable);

    engine->Confirm();
    ASSERT_TRUE(m_observer.WaitForState(0, RowState::Installing));
    engine->OnInstallerReport(2, 0); // not a failure while the installer runs
    engine->OnInstallerReport(9, 0); // unknown
    engine->OnInstallerReport(4, -20);
    EXPECT_EQ(engine->Rows()[0].info.status, RowState::Installing);
    EXPECT_EQ(engine->Rows()[0].percent, 0);
    EXPECT_FALSE(engine->CanClose());

    engine->OnInstallerReport(3, 0);
    const auto row = engine->Rows()[0];
    EXPECT_EQ(row.info.status, RowState::Failed);
    EXPECT_TRUE(row.checkEnabled && row.ticked);
    EXPECT_EQ(row.info.installedVersionText, "V0103");
    EXPECT_TRUE(engine->CanClose());
    m_launcher.EndProgram();
}

TEST_F(UpdateEngineTest, ComponentsNamedAlikeDownloadToOneFileInTurn) {
    const auto first = Firmware("C1", 0x0100, "Ms");
    const auto second = Firmware("C2", 0x0100, "Ms");
    Offer(first, "200", "first.bin", "first firmware");
    Offer(second, "200", "second.bin", "second firmware");
    auto engine = Start({first, second});
    ASSERT_TRUE(Checked());
    engine->Confirm();

    ASSERT_TRUE(m_launcher.WaitForRuns(1));
    engine->OnInstallerReport(1, 0);
    m_launcher.EndProgram();
    ASSERT_TRUE(m_launcher.WaitForRuns(2));
    engine->OnInstallerReport(1, 0);
    ASSERT_TRUE(m_observer.WaitForState(1, RowState::UpToDate));

    const auto runs = m_launcher.Runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].first, m_options.downloadFolder / "Ms.bin");
    EXPECT_EQ(runs[1].first, m_options.downloadFolder / "Ms.bin");
    // Each installer ran its own download, not the file of the other row.
    EXPECT_EQ(runs[0].second, "first firmware");
    EXPECT_EQ(runs[1].second, "second firmware");
    EXPECT_EQ(engine->Status(), WindowStatus::UpToDate);
}

TEST_F(UpdateEngineTest, FailedDownloadsAndInstallersEndInTheFailedState) {
    const auto missing = Firmware("C1", 1, "Gone");
    const auto unstartable = Firmware("C2", 1, "Broken");
    Offer(missing, "2", "nowhere.bin", "now here");
    Offer(unstartable, "2", "broken.bin", "cannot run");
    m_server.RemoveFile("nowhere.bin"); // announced, but the server answers 404
    m_launcher.failStart = true;
    auto engine = Start({missing, unstartable});
    ASSERT_TRUE(Checked());
    engine->Confirm();
    ASSERT_TRUE(m_observer.WaitForState(0, RowState::Failed));
    ASSERT_TRUE(m_observer.WaitForState(1, RowState::Failed));
    m_observer.Read([](const RecordingObserver& o) {
        EXPECT_EQ(o.m_startFailures, std::vector<std::size_t>{1});
        return 0;
    });
    const auto rows = engine->Rows();
    EXPECT_TRUE(rows[0].checkEnabled && rows[0].ticked); // offered again on the next confirm
    EXPECT_TRUE(engine->CanClose());

    // A failed ticked row is fetched again when the user confirms again.
    m_server.SetFile("nowhere.bin", "now here");
    m_launcher.failStart = false;
    m_launcher.endAtOnce = true;
    engine->SetTicked(1, false);
    engine->Confirm();
    ASSERT_TRUE(m_launcher.WaitForRuns(2));
    EXPECT_EQ(m_launcher.Runs().back().second, "now here");
    // That installer ends without ever reporting: the row fails instead of hanging.
    ASSERT_TRUE(m_observer.WaitFor([](const RecordingObserver& o) {
        const auto& states = o.m_states.at(0);
        return states.size() >= 2 && states.back() == RowState::Failed &&
               states[states.size() - 2] == RowState::Installing;
    }));
    EXPECT_TRUE(engine->CanClose());
}

TEST_F(UpdateEngineTest, FileChangedAfterItsDownloadIsNotRun) {
    const auto mouse = Firmware("C1", 1, "Ms");
    Offer(mouse, "2", "fw.bin", std::string(3000, 'f'));
    m_options.pauseBeforeInstall = 300ms;
    m_observer.onRowChanged = [this](std::size_t, const UpdateRowView& row) {
        if (row.info.status == RowState::Downloaded) {
            WriteFileAtomically(row.info.filePath, "short");
        }
    };
    auto engine = Start({mouse});
    ASSERT_TRUE(Checked());
    engine->Confirm();
    ASSERT_TRUE(m_observer.WaitFor([](const RecordingObserver& o) {
        const auto& states = o.m_states.at(0);
        return !states.empty() && states.back() == RowState::Failed;
    }));
    EXPECT_TRUE(m_launcher.Runs().empty());
}

// Someone on the network path, or a server that lies: whatever it does, only the file the
// answer announced, fetched from an allowed address, is ever run, and nothing else stays behind.
TEST_F(UpdateEngineTest, OnlyTheAnnouncedFileFromAnAllowedAddressIsRun) {
    const std::string firmware(4000, 'f');
    test::LoopbackServer path; // answers for any remote http host, as a proxy on the path would
    path.Server().Get(".*", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(firmware, "application/octet-stream");
    });
    m_server.SetFile("fw.bin", firmware);
    m_server.SetFile("other.bin", firmware.substr(0, 100));
    m_server.Redirect("away", "http://updates.example/fw.bin");
    m_server.Redirect("home", "http://127.0.0.1.example.com/fw.bin");
    const std::string digest = test::Sha256Hex(firmware);
    const auto answer = [&](const std::string& url, const std::string& sha256Member) {
        return R"({"path":")" + url + R"(","name":"Ms","version":"2")" + sha256Member + "}";
    };
    struct Case {
        std::string json;
        RowState ends; // UpToDate: the answer was unusable, nothing was offered
    };
    const std::vector<Case> cases{
        {answer(m_server.FileUrl("fw.bin"), R"(,"sha256":")" + digest + R"(")"),
         RowState::Installing},
        {answer(m_server.FileUrl("fw.bin"), R"(,"sha256":")" + test::Sha256Hex("x") + R"(")"),
         RowState::Failed},
        {answer(m_server.FileUrl("fw.bin"), R"(,"sha256":"12ab")"), RowState::UpToDate},
        {answer("http://127.0.0.1.example.com/fw.bin", ""), RowState::UpToDate},
        {answer(m_server.RedirectUrl("away"), ""), RowState::Failed},
        {answer(m_server.RedirectUrl("home"), ""), RowState::Failed},
        {answer(m_server.FileUrl("other.bin"), R"(,"sha256":")" + digest + R"(")"),
         RowState::Failed},
    };
    const std::string proxy = path.Url("");
    testutil::ScopedEnv viaPath{"http_proxy", proxy};
    testutil::ScopedEnv direct{"no_proxy", "127.0.0.1"};
    std::vector<UpdateComponent> components;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        components.push_back(Firmware("C" + std::to_string(i), 1, "Ms"));
        Answer(components.back(), cases[i].json);
    }
    auto engine = Start(components);
    ASSERT_TRUE(Checked());
    engine->Confirm();
    // Rows share the file name "Ms.bin": they are fetched one after the other, and the first
    // holds the queue while it is installed; its installer fails to let the others through.
    ASSERT_TRUE(m_observer.WaitForState(0, RowState::Installing));
    engine->OnInstallerReport(0x100000001, 0); // not "done": a report is read as 64 bits
    EXPECT_EQ(engine->Rows()[0].info.status, RowState::Installing);
    engine->OnInstallerReport(3, 0);
    m_launcher.EndProgram();
    for (std::size_t i = 1; i < cases.size(); ++i) {
        EXPECT_TRUE(m_observer.WaitForState(i, cases[i].ends)) << cases[i].json;
    }
    const auto runs = m_launcher.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].second, firmware);
    // Only the first row's file is there; the refused downloads left nothing, not even parts.
    const std::vector<std::filesystem::path> left(
        std::filesystem::directory_iterator(m_options.downloadFolder), {});
    EXPECT_EQ(left, std::vector<std::filesystem::path>{m_options.downloadFolder / "Ms.bin"});
    EXPECT_EQ(ReadFileBounded(m_options.downloadFolder / "Ms.bin", 1 << 20), firmware);
}

TEST_F(UpdateEngineTest, PackagesMarkedForDirectUseGoToTheDesktopOpener) {
    const auto app = Application(101);
    Offer(app, "102", "q407-1.0.2.deb", "package", 1);
    auto engine = Start({app});
    ASSERT_TRUE(Checked());
    engine->Confirm();
    ASSERT_TRUE(m_observer.WaitForState(0, RowState::Installing));
    ASSERT_TRUE(m_launcher.WaitForOpened());
    EXPECT_EQ(m_launcher.Opened(),
              std::vector<std::filesystem::path>{m_options.downloadFolder / "Driver.deb"});
    EXPECT_TRUE(m_launcher.Runs().empty());
    EXPECT_EQ(m_options.downloadFolder.string().find(m_folder.Path().string()), 0u);
    EXPECT_EQ(std::filesystem::status(m_options.downloadFolder).permissions(),
              std::filesystem::perms::owner_all);
}

TEST_F(UpdateEngineTest, UnfinishedDownloadsOfAnEarlierRunAreRemoved) {
    std::filesystem::create_directories(m_options.downloadFolder);
    const auto stale = m_options.downloadFolder / "Ms.bin.part.Xy12Zq";
    const auto kept = m_options.downloadFolder / "Ms.bin";
    ASSERT_TRUE(WriteFileAtomically(stale, "half"));
    ASSERT_TRUE(WriteFileAtomically(kept, "whole"));
    auto engine = Start({Firmware("C1", 1, "Ms")});
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(kept));
}

TEST_F(UpdateEngineTest, StopEndsAStalledDownloadPromptly) {
    const auto mouse = Firmware("C1", 1, "Ms");
    Answer(mouse, R"({"path":")" + m_server.StallingUrl() + R"(","name":"Ms","version":"2"})");
    auto engine = Start({mouse});
    ASSERT_TRUE(Checked());
    engine->Confirm();
    ASSERT_TRUE(m_observer.WaitForState(0, RowState::Downloading));
    EXPECT_FALSE(engine->CanClose());
    const auto start = std::chrono::steady_clock::now();
    engine->Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_FALSE(std::filesystem::exists(m_options.downloadFolder / "Ms.bin"));
}

} // namespace
} // namespace q407::update
