// The settings window on the real skin against a loopback update server: what the rows and the
// status line show, the confirmation, downloads, installer reports arriving through the relay,
// closing, the language combo, and opening it the way the main window does.

#include "LoopbackServer.h"
#include "app/CSetWnd.h"
#include "app/CUpdateInfoListItemUI.h"
#include "app/RegisteredMessages.h"
#include "app/Startup.h"
#include "common/AtomicFile.h"
#include "common/Diag.h"
#include "common/Paths.h"
#include "support/QtTestUtil.h"
#include "support/ScopedEnv.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"
#include "update/UpdateProtocol.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QStackedWidget>
#include <QTimer>
#include <condition_variable>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;
using q407::app::CSetWnd;
using q407::app::CUpdateInfoListItemUI;
using q407::update::UpdateComponent;
using q407::update::WindowStatus;

constexpr int kPatienceMs = 20000; // bound of every wait; the flow normally takes milliseconds

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

UpdateComponent Application(std::int32_t version, const std::string& type = "AP") {
    UpdateComponent component;
    component.version = version;
    component.vendor = "Q407";
    component.chip = "ALL";
    component.type = type;
    component.name = "Driver";
    component.versionText = "V0101";
    return component;
}

// Stands in for firmware updaters. Each run is an "installer" thread that reports through the
// main window's relay, as a real updater does over the bus, and then ends.
class RelayingLauncher final : public q407::update::ProgramLauncher {
public:
    struct Started {
        std::filesystem::path program;
        std::string contents;
    };
    class Program final : public q407::update::RunningProgram {
    public:
        explicit Program(RelayingLauncher& owner, std::size_t run) : m_owner(owner), m_run(run) {}
        bool WaitFor(std::chrono::milliseconds timeout) override {
            std::unique_lock lock(m_owner.m_mutex);
            return m_owner.m_changed.wait_for(lock, timeout,
                                              [&] { return m_owner.m_ended.count(m_run) != 0; });
        }

    private:
        RelayingLauncher& m_owner;
        std::size_t m_run;
    };

    ~RelayingLauncher() override {
        for (auto& installer : m_installers) {
            installer.join();
        }
    }

    std::unique_ptr<q407::update::RunningProgram> Run(const std::filesystem::path& file) override {
        std::lock_guard lock(m_mutex);
        const std::size_t run = m_runs.size();
        m_runs.push_back({file, q407::ReadFileBounded(file, 1 << 20).value_or("")});
        m_changed.notify_all();
        if (failStart) {
            return nullptr;
        }
        if (reportAtOnce) {
            m_installers.emplace_back([this, run] { Report({{4, 50}, {1, 0}}, run); });
        }
        return std::make_unique<Program>(*this, run);
    }
    bool Open(const std::filesystem::path&) override { return false; }

    // The installer of run `run` reports (code, value) pairs in order, then ends.
    void Report(std::vector<std::pair<qint64, qint64>> reports, std::size_t run) {
        for (const auto& [code, value] : reports) {
            CSetWnd::OnRelayedMessage(code, value);
        }
        std::lock_guard lock(m_mutex);
        m_ended.insert({run, true});
        m_changed.notify_all();
    }
    std::vector<Started> Runs() {
        std::lock_guard lock(m_mutex);
        return m_runs;
    }

    bool reportAtOnce = false;
    bool failStart = false;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Started> m_runs;
    std::map<std::size_t, bool> m_ended;
    std::vector<std::thread> m_installers;
};

class SetWndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString skin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
        ASSERT_TRUE(q407::app::SetupUiResources(skin + QLatin1Char('/')));
    }

    SetWndTest() {
        for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "ALL_PROXY"}) {
            ::unsetenv(name);
        }
        q407::toolkit::ResourceManager::Instance().LoadLanguage(QStringLiteral("lan_en.qm"));
        m_services.engine.server.baseUrl = m_server.BaseUrl();
        m_services.engine.downloadFolder = m_folder.Path() / "UpdateData";
        m_services.engine.timeFile = m_folder.Path() / "updatetime.config";
        m_services.engine.today = [] { return std::string("2026-12-9"); };
        m_services.engine.pauseAfterDownload = 10ms;
        m_services.engine.pauseBeforeInstall = 10ms;
        m_services.engine.reportGrace = 2s;
        m_services.launcher = m_launcher;
        m_services.languageCatalogue = m_folder.Path() / "Language.config";
    }

    void Answer(const UpdateComponent& component, const std::string& json) {
        m_server.Answer(q407::update::BuildAppKey(component), json);
    }
    void Offer(const UpdateComponent& component, const std::string& version,
               const std::string& file, const std::string& content) {
        m_server.Offer(q407::update::BuildAppKey(component), component.name, version, file,
                       content);
    }

    CSetWnd& Open(std::vector<UpdateComponent> components, q407::app::SetWndRequest request = {}) {
        m_window = std::make_unique<CSetWnd>(nullptr, std::move(components), m_services,
                                             std::move(request));
        EXPECT_TRUE(m_window->Create(QStringLiteral("SetWnd"), QSize(630, 500)));
        m_window->show();
        return *m_window;
    }
    bool Checked() {
        return testutil::WaitUntil(
            [&] {
                return m_window->Status() != WindowStatus::Checking &&
                       m_window->RowCount() == m_window->Engine().Rows().size();
            },
            kPatienceMs);
    }
    bool WaitForState(std::size_t row, int state) {
        return testutil::WaitUntil(
            [&] { return m_window->Row(row) != nullptr && m_window->Row(row)->State() == state; },
            kPatienceMs);
    }
    void Click(const char* name) {
        auto* button = m_window->FindControl<QAbstractButton>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    QString Text(const char* name) const {
        return q407::toolkit::ControlText(m_window->FindControl(QString::fromLatin1(name)));
    }
    static QString Sub(CUpdateInfoListItemUI* row, const char* name) {
        return q407::toolkit::ControlText(row->findChild<QWidget*>(QString::fromLatin1(name)));
    }
    static bool SubShown(CUpdateInfoListItemUI* row, const char* name) {
        return !row->findChild<QWidget*>(QString::fromLatin1(name))->isHidden();
    }
    static QAbstractButton* Check(CUpdateInfoListItemUI* row) {
        return row->findChild<QAbstractButton*>(QStringLiteral("check_name_select"));
    }
    bool Shown(const char* name) const {
        const QWidget* control = m_window->FindControl(QString::fromLatin1(name));
        return control != nullptr && !control->isHidden();
    }
    static QString En(const char* id) {
        return q407::toolkit::ResourceManager::Instance().Text(QString::fromLatin1(id));
    }

    q407::test::FakeUpdateServer m_server;
    q407::test::TempFolder m_folder;
    // The default services name files in the user folder: keep it inside the test's folder.
    testutil::ScopedEnv m_userFolder{"XDG_DATA_HOME", (m_folder.Path() / "home").string()};
    std::shared_ptr<RelayingLauncher> m_launcher = std::make_shared<RelayingLauncher>();
    q407::app::SetWndServices m_services;
    std::unique_ptr<CSetWnd> m_window;
};

TEST_F(SetWndTest, WithoutNetworkTheWindowHasNoInformation) {
    m_services.engine.server.baseUrl =
        "http://127.0.0.1:" + std::to_string(q407::test::UnusedLoopbackPort()) + "/api/";
    bool upToDateSignalled = false;
    q407::app::SetWndRequest request;
    request.upToDate = [&] { upToDateSignalled = true; };
    CSetWnd& window = Open({Application(101)}, request);
    EXPECT_EQ(window.objectName(), QStringLiteral("SetWnd"));
    ASSERT_TRUE(Checked());

    EXPECT_EQ(window.Status(), WindowStatus::NoInformation);
    EXPECT_EQ(Text("Update_Status_text"), En("NoUpdateInfoText"));
    EXPECT_FALSE(Shown("update_status_ring"));
    EXPECT_TRUE(Shown("update_status_image"));
    EXPECT_FALSE(Shown("update_fw_and_ap"));
    EXPECT_FALSE(upToDateSignalled) << "no information is not up to date";
    EXPECT_FALSE(Shown("Language_combox_info")) << "no language catalogue";

    ASSERT_EQ(window.RowCount(), 1u);
    CUpdateInfoListItemUI* row = window.Row(0);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->height(), 40);
    EXPECT_EQ(Check(row)->text(), QStringLiteral("Driver"));
    EXPECT_EQ(Sub(row, "OldRev"), QStringLiteral("V0101"));
    EXPECT_FALSE(SubShown(row, "updateRev"));
    EXPECT_EQ(row->State(), 7);
    EXPECT_EQ(Sub(row, "update_status_text"), En("UpdateOkText"));
    EXPECT_FALSE(Check(row)->isEnabled());
    EXPECT_TRUE(CSetWnd::RequestClose());
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(CSetWnd::IsOpen());
}

TEST_F(SetWndTest, RowsShowTheVersionsInTheirComponentsBase) {
    const auto hexNewer = Firmware("C1", 0x0103, "Ms");
    const auto decimalSame = Application(101);
    const auto decimalNewer = Application(101, "AP2");
    const auto hostile = Firmware("C3", 1, "T62");
    Answer(hexNewer, R"({"path":"http://127.0.0.1/x.bin","name":"Ms","version":"104"})");
    Answer(decimalSame, R"({"path":"http://127.0.0.1/a","name":"Driver","version":"101",
                            "version_name":"V1.0.1"})");
    Answer(decimalNewer, R"({"path":"http://127.0.0.1/a","name":"Driver","version":"102",
                             "version_name":"V1.0.2"})");
    Answer(hostile, R"({"path":"http://127.0.0.1/x","name":"../../x","version":"9"})");
    CSetWnd& window = Open({hexNewer, decimalSame, decimalNewer, hostile});
    ASSERT_TRUE(Checked());
    ASSERT_EQ(window.RowCount(), 4u);

    CUpdateInfoListItemUI* hex = window.Row(0);
    EXPECT_EQ(hex->State(), 1);
    EXPECT_EQ(Sub(hex, "update_status_text"), En("NeedUpdateText"));
    EXPECT_EQ(Sub(hex, "OldRev"), QStringLiteral("V0103"));
    EXPECT_EQ(Sub(hex, "updateRev"), QStringLiteral("V104"));
    EXPECT_TRUE(SubShown(hex, "updateRev"));
    EXPECT_TRUE(Check(hex)->isEnabled() && Check(hex)->isChecked());
    EXPECT_EQ(hex->CheckTextColor(), QColor::fromRgba(0xFF0099FF));
    EXPECT_EQ(hex->CheckDisabledTextColor(), QColor::fromRgba(0xFF0078C8));
    EXPECT_EQ(hex->property("userdata").toString(), QStringLiteral("http://127.0.0.1/x.bin"));

    CUpdateInfoListItemUI* same = window.Row(1);
    EXPECT_EQ(same->State(), 7);
    EXPECT_EQ(Sub(same, "OldRev"), QStringLiteral("V0101"));
    EXPECT_FALSE(SubShown(same, "updateRev"));
    EXPECT_FALSE(Check(same)->isEnabled() || Check(same)->isChecked());
    EXPECT_EQ(same->CheckTextColor(), QColor::fromRgba(0xFFFFFFFF));
    EXPECT_EQ(same->CheckDisabledTextColor(), QColor::fromRgba(0xFF666666));

    EXPECT_EQ(window.Row(2)->State(), 1);
    EXPECT_EQ(Sub(window.Row(2), "updateRev"), QStringLiteral("V1.0.2"));

    // A name that could leave the download folder is no usable answer.
    CUpdateInfoListItemUI* rejected = window.Row(3);
    EXPECT_EQ(rejected->State(), 7);
    EXPECT_EQ(Check(rejected)->text(), QStringLiteral("T62"));
    EXPECT_FALSE(SubShown(rejected, "updateRev"));
    EXPECT_EQ(rejected->property("userdata").toString(), QString());

    EXPECT_EQ(window.Status(), WindowStatus::UpdatesAvailable);
    EXPECT_EQ(Text("Update_Status_text"), En("HaveUpdateInfoText"));
    EXPECT_TRUE(Shown("update_fw_and_ap"));

    // A picture for people to look at.
    QDir().mkpath(QStringLiteral(Q407_SCREENSHOT_DIR));
    const QString picture = QStringLiteral(Q407_SCREENSHOT_DIR "/setwnd.png");
    ASSERT_TRUE(window.grab().save(picture));
    EXPECT_EQ(QImage(picture).size(), window.size());

    // Unticking every offered row withdraws the update button; ticking one brings it back.
    Check(hex)->click();
    Check(window.Row(2))->click();
    EXPECT_TRUE(testutil::WaitUntil([&] { return !Shown("update_fw_and_ap"); }));
    EXPECT_FALSE(window.Engine().Rows()[0].ticked);
    Check(window.Row(2))->click();
    EXPECT_TRUE(testutil::WaitUntil([&] { return Shown("update_fw_and_ap"); }));
    EXPECT_TRUE(window.Engine().Rows()[2].ticked);
}

TEST_F(SetWndTest, ConfirmedRowDownloadsAndItsInstallerReportsThroughTheRelay) {
    const auto mouse = Firmware("C1", 0x0103, "Ms");
    Offer(mouse, "104", "fw-104.bin", std::string(5000, 'm'));
    bool upToDateSignalled = false;
    q407::app::SetWndRequest request;
    request.upToDate = [&] { upToDateSignalled = true; };
    CSetWnd& window = Open({mouse}, request);
    ASSERT_TRUE(Checked());
    auto* pages = window.FindControl<QStackedWidget>(QStringLiteral("get_update_tab_layout"));
    Click("update_fw_and_ap");
    EXPECT_EQ(pages->currentIndex(), 1);
    Click("update_OK_btn");
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_FALSE(window.FindControl(QStringLiteral("update_fw_and_ap"))->isEnabled());

    CUpdateInfoListItemUI* row = window.Row(0);
    ASSERT_TRUE(WaitForState(0, 6));
    EXPECT_EQ(Sub(row, "update_status_text"), En("UpdateIngText"));
    EXPECT_TRUE(SubShown(row, "update_status_ing") && SubShown(row, "update_progress_value"));
    EXPECT_EQ(window.Status(), WindowStatus::Updating);
    EXPECT_EQ(m_launcher->Runs().at(0).contents, std::string(5000, 'm'));
    // Installing: the window refuses to close.
    EXPECT_FALSE(CSetWnd::RequestClose());
    EXPECT_TRUE(window.isVisible());

    // A report is read as 64 bits: 0x100000001 is no "done".
    std::thread installer([&] { m_launcher->Report({{0x100000001LL, 0}, {4, 40}}, 0); });
    installer.join();
    EXPECT_TRUE(testutil::WaitUntil(
        [&] { return Sub(row, "update_progress_value") == QStringLiteral("40%"); }));
    EXPECT_EQ(Sub(row, "update_status_text"), En("UpdateIngText"));
    EXPECT_TRUE(window.isVisible()) << "a progress report leaves the window open";

    std::thread finisher([&] { m_launcher->Report({{1, 0}}, 0); });
    finisher.join();
    ASSERT_TRUE(WaitForState(0, 7));
    EXPECT_EQ(Sub(row, "OldRev"), QStringLiteral("V104"));
    EXPECT_FALSE(SubShown(row, "updateRev"));
    EXPECT_FALSE(SubShown(row, "update_status_ing") || SubShown(row, "update_progress_value"));
    EXPECT_FALSE(Check(row)->isChecked());
    EXPECT_TRUE(testutil::WaitUntil([&] { return upToDateSignalled; }));
    EXPECT_EQ(Text("Update_Status_text"), En("UpdateOkText") + QStringLiteral(" 2026-12-9"));
    // The last report closes the window once nothing is busy.
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SetWndTest, ComponentsNamedAlikeDownloadInTurn) {
    const auto first = Firmware("C1", 0x0100, "Ms");
    const auto second = Firmware("C2", 0x0100, "Ms");
    Offer(first, "200", "first.bin", "first firmware");
    Offer(second, "200", "second.bin", "second firmware");
    m_launcher->reportAtOnce = true;
    CSetWnd& window = Open({first, second});
    ASSERT_TRUE(Checked());
    Click("update_fw_and_ap");
    Click("update_OK_btn");
    ASSERT_TRUE(WaitForState(1, 7));
    ASSERT_TRUE(WaitForState(0, 7));

    const auto runs = m_launcher->Runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].program, runs[1].program);
    EXPECT_EQ(runs[0].contents, "first firmware");
    EXPECT_EQ(runs[1].contents, "second firmware");
    // The first success could not close the window while the second row was still busy; the
    // second one did.
    EXPECT_TRUE(testutil::WaitUntil([&] { return !window.isVisible(); }));
    EXPECT_EQ(window.Status(), WindowStatus::UpToDate);
}

TEST_F(SetWndTest, InstallerThatCannotStartFailsItsRowWithAMessage) {
    auto dialogs = std::make_unique<q407::toolkit::ScriptedDialogs>();
    q407::toolkit::ScriptedDialogs* asked = dialogs.get();
    q407::toolkit::SetDialogs(std::move(dialogs));
    const auto mouse = Firmware("C1", 1, "Ms");
    Offer(mouse, "2", "fw.bin", "firmware");
    m_launcher->failStart = true;
    CSetWnd& window = Open({mouse});
    ASSERT_TRUE(Checked());
    Click("update_fw_and_ap");
    Click("update_OK_btn");
    ASSERT_TRUE(WaitForState(0, 8));
    EXPECT_TRUE(testutil::WaitUntil([&] { return !asked->Asked().isEmpty(); }));
    EXPECT_EQ(asked->Asked(), QStringList{QStringLiteral("box:update_failed_text")});
    EXPECT_EQ(Sub(window.Row(0), "update_status_text"), En("UpdateFailText"));
    EXPECT_TRUE(Check(window.Row(0))->isEnabled()) << "offered again";
    q407::toolkit::SetDialogs(nullptr);
}

TEST_F(SetWndTest, CloseIsRefusedWhileDownloadingButTheCloseButtonStopsIt) {
    const auto mouse = Firmware("C1", 1, "Ms");
    Answer(mouse, R"({"path":")" + m_server.StallingUrl() + R"(","name":"Ms","version":"2"})");
    CSetWnd& window = Open({mouse});
    ASSERT_TRUE(Checked());
    Click("update_fw_and_ap");
    Click("update_OK_btn");
    ASSERT_TRUE(WaitForState(0, 4));
    EXPECT_EQ(Sub(window.Row(0), "update_status_text"), En("DownloadIngText"));
    EXPECT_EQ(Text("Update_Status_text"), En("ISUpdateINGText"));

    q407::diag::Capture diagnostics;
    qint64 result = 1;
    window.HandleMessage(q407::app::kCloseMessage, 0, 0, result);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(CSetWnd::RequestClose());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(diagnostics.Contains("not closing"));
    // An installer report that is no report about a running install does not close it either.
    CSetWnd::OnRelayedMessage(4, 10);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible());

    const auto start = std::chrono::steady_clock::now();
    Click("closebtn");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(CSetWnd::RequestClose()) << "a closed window refuses nothing";
}

TEST_F(SetWndTest, LanguageComboOffersTheCatalogueAndStatusFollowsTheLanguage) {
    ASSERT_TRUE(q407::WriteFileAtomically(m_services.languageCatalogue, R"({"Language": [
        {"Language_ID": 2052, "Language_name": "Chinese", "Language_file": "lan_cn.qm",
         "Language_text": "menu_exit"},
        {"Language_ID": 1033, "Language_name": "English", "Language_file": "lan_en.qm",
         "Language_text": "menu_show"}]})"));
    const auto app = Application(101);
    Answer(app, R"({"path":"http://127.0.0.1/a","name":"Driver","version":"101"})");
    std::vector<int> chosen;
    q407::app::SetWndRequest request;
    request.languageIndex = 1;
    request.languageChosen = [&](int index) { chosen.push_back(index); };
    CSetWnd& window = Open({app}, request);
    auto* combo = window.FindControl<QComboBox>(QStringLiteral("Language_combox_info"));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_FALSE(combo->isHidden());
    EXPECT_EQ(combo->itemText(0), En("menu_exit"));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_TRUE(chosen.empty()) << "filling the combo is no choice";
    ASSERT_TRUE(Checked());
    EXPECT_EQ(window.Status(), WindowStatus::UpToDate);
    EXPECT_EQ(Text("Update_Status_text"), QStringLiteral("Up to date 2026-12-9"));

    combo->setCurrentIndex(0);
    EXPECT_EQ(chosen, std::vector<int>{0});
    // The main window applies the language and tells the window.
    ASSERT_TRUE(
        q407::toolkit::ResourceManager::Instance().LoadLanguage(QStringLiteral("lan_cn.qm")));
    q407::toolkit::ResourceManager::Instance().ReloadText();
    CSetWnd::LanguageChanged();
    EXPECT_EQ(Text("Update_Status_text"), QStringLiteral("已是最新版本 2026-12-9"));
    EXPECT_EQ(combo->itemText(0), QStringLiteral("退出"));
    EXPECT_EQ(Sub(window.Row(0), "update_status_text"), QStringLiteral("已是最新版本"));
}

TEST_F(SetWndTest, SdkServerCheckShowsWhetherItRunsAndPassesOnTheChoice) {
    for (const bool running : {false, true}) {
        std::vector<bool> chosen;
        q407::app::SetWndRequest request;
        request.sdkServerOn = running;
        request.sdkServerChosen = [&](bool on) { chosen.push_back(on); };
        CSetWnd& window = Open({}, request);
        auto* check = window.FindControl<QCheckBox>(QStringLiteral("sdk_server_check"));
        ASSERT_NE(check, nullptr);
        EXPECT_EQ(check->isChecked(), running);
        EXPECT_EQ(check->text(), En("sdk_server_check_text"));
        EXPECT_TRUE(chosen.empty()) << "showing the state is no choice";
        check->click();
        EXPECT_EQ(chosen, std::vector<bool>{!running});
        CSetWnd::RequestClose();
    }
}

TEST_F(SetWndTest, RowStatesDecideWhatTheRowShows) {
    CSetWnd& window = Open({});
    QWidget* list = window.FindControl(QStringLiteral("device_update_list_info"));
    auto* row = qobject_cast<CUpdateInfoListItemUI*>(q407::toolkit::BuildFromSkin(
        QStringLiteral("XML/CustomControlXML/device_Update_list_item.xml"), list));
    ASSERT_NE(row, nullptr);
    struct Expected {
        int state;
        const char* textId;
        bool progress;
        bool done;
        bool checkEnabled;
    };
    for (const Expected& e : std::vector<Expected>{{0, "LessUpdateText", false, false, false},
                                                   {2, "NeedUpdateText", false, false, true},
                                                   {3, "DownloadWaitText", false, false, false},
                                                   {4, "DownloadIngText", true, false, false},
                                                   {5, "DownloadOkText", false, true, false},
                                                   {6, "UpdateIngText", true, false, false},
                                                   {7, "UpdateOkText", false, false, false},
                                                   {8, "UpdateFailText", false, false, true}}) {
        row->SetState(e.state);
        EXPECT_EQ(row->State(), e.state);
        EXPECT_EQ(Sub(row, "update_status_text"), En(e.textId)) << e.state;
        EXPECT_EQ(SubShown(row, "update_status_ing"), e.progress) << e.state;
        EXPECT_EQ(SubShown(row, "update_progress_value"), e.progress) << e.state;
        EXPECT_EQ(SubShown(row, "update_status_ok"), e.done) << e.state;
        EXPECT_EQ(Check(row)->isEnabled(), e.checkEnabled) << e.state;
    }
    // The same state again keeps the percentage; another state resets it.
    row->SetState(4);
    row->SetPercent(37);
    row->SetState(4);
    EXPECT_EQ(Sub(row, "update_progress_value"), QStringLiteral("37%"));
    row->SetState(6);
    EXPECT_EQ(Sub(row, "update_progress_value"), QStringLiteral("0%"));
    row->SetState(9); // no such state
    EXPECT_EQ(row->State(), 6);
}

TEST_F(SetWndTest, OpenBuildsTheRowsFromTheSelectorEntriesAndPlacesTheWindow) {
    auto main = std::make_unique<QWidget>();
    main->setGeometry(100, 100, 1000, 640);
    main->show();
    q407::app::SetWndRequest request;
    q407::update::SelectorEntryState cable;
    cable.open = true;
    cable.shown = true;
    cable.cableVersion = 0x0103;
    request.selectorEntries = {cable, {}, {}, {}};
    request.applicationVersion = 101;
    request.dpi = 100; // not one the toolkit supports
    q407::diag::Capture diagnostics;
    std::size_t rows = 0;
    QPoint position;
    QSize size;
    bool wasOpen = false;
    QTimer::singleShot(0, [&] {
        CSetWnd* window = CSetWnd::Current();
        wasOpen = CSetWnd::IsOpen();
        if (window == nullptr) {
            return;
        }
        testutil::WaitUntil([&] { return window->RowCount() == 2; }, kPatienceMs);
        rows = window->RowCount();
        position = window->pos();
        size = window->size();
        // A second request while it is open changes nothing.
        CSetWnd::Open(main.get(), {}, m_services);
        window->FindControl<QAbstractButton>(QStringLiteral("closebtn"))->click();
    });
    CSetWnd::Open(main.get(), request, m_services);
    EXPECT_TRUE(wasOpen);
    EXPECT_FALSE(CSetWnd::IsOpen());
    EXPECT_EQ(rows, 2u) << "the open cable device and the program";
    EXPECT_TRUE(diagnostics.Contains("SET_WND DPI SET ERROR"));
    const QRect frame = main->frameGeometry();
    EXPECT_EQ(position, QPoint(frame.right() + 1 - 630 - 30, frame.top() + 60));
    EXPECT_EQ(size, QSize(630, 500));

    // At 144 DPI the window and its offsets grow by half, centred or not.
    request.dpi = 144;
    request.selectorEntries.clear();
    QTimer::singleShot(0, [&] {
        CSetWnd* window = CSetWnd::Current();
        if (window != nullptr) {
            position = window->pos();
            size = window->size();
            window->FindControl<QAbstractButton>(QStringLiteral("closebtn"))->click();
        }
    });
    CSetWnd::Open(main.get(), request, m_services);
    q407::toolkit::ResourceManager::Instance().SetAllDPI(96);
    EXPECT_EQ(size, QSize(945, 750));
    EXPECT_EQ(position, QPoint(main->frameGeometry().right() + 1 - 945 - 45,
                               main->frameGeometry().top() + 90));
}

} // namespace
