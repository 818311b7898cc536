// The main window on the real skin: identity, hidden until the first scan, shown and raised by
// the show message, kept in the tray when closed, and ended by the app-control message.

#include "app/CMainWnd.h"
#include "app/Startup.h"
#include "common/AtomicFile.h"
#include "common/Diag.h"
#include "common/Paths.h"
#include "support/QtTestUtil.h"
#include "support/UiTestScopes.h"
#include "toolkit/ResourceManager.h"

#include <QPushButton>
#include <cerrno>
#include <gtest/gtest.h>
#include <thread>

namespace {

using q407::app::CMainWnd;
using q407::app::MessageNumber;
using q407::app::RegisteredMessage;

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString skin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
        ASSERT_TRUE(q407::app::SetupUiResources(skin + QLatin1Char('/'))) << skin.toStdString();
    }
    void SetUp() override {
        ASSERT_TRUE(m_userFolder.IsValid());
        m_window = std::make_unique<CMainWnd>();
        ASSERT_TRUE(m_window->Create(QStringLiteral("Q407"), QSize(800, 572)));
    }
    void Send(RegisteredMessage message, qint64 w, qint64 l) {
        m_window->OnRegisteredMessage(message, w, l);
    }

    testutil::UserFolderScope m_userFolder;
    testutil::ScriptedDialogsScope m_dialogs;
    q407::diag::Capture m_diagnostics;
    std::unique_ptr<CMainWnd> m_window;
};

TEST_F(MainWindowTest, StartsHiddenWithItsIdentityAndTray) {
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Q407"));
    EXPECT_EQ(m_window->size(), QSize(800, 572));
    EXPECT_EQ(m_window->objectName(), QStringLiteral("MainWnd"));
    EXPECT_FALSE(m_window->isVisible()) << "hidden until the first device scan";
    EXPECT_EQ(m_window->Tray().ToolTip(), QStringLiteral("Q407"));
    EXPECT_TRUE(m_diagnostics.Contains("InitWindow"));
    for (const char* name : {"closebtn", "minbtn", "maxbtn", "restorebtn", "skinbtn", "setbtn",
                             "gamemodebtn", "cloudbtn", "smarteyesbtn", "device_select_layout",
                             "device_switch", "device_power_switch", "No_device_Link",
                             "control_light_status", "setting_progress", "text_test", "root"}) {
        EXPECT_NE(m_window->FindControl(QString::fromLatin1(name)), nullptr) << name;
    }
}

TEST_F(MainWindowTest, ShowMessageShowsRestoresAndRaises) {
    Send(RegisteredMessage::ShowInstance, 0, 1);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_TRUE(m_diagnostics.Contains("软件标示 49153，0d1d"));

    m_window->showMinimized();
    Send(RegisteredMessage::ShowInstance, 0, 1);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_FALSE(m_window->isMinimized());

    // The close button only hides the window; the show message brings it back.
    m_window->FindControl<QPushButton>(QStringLiteral("closebtn"))->click();
    EXPECT_FALSE(m_window->isVisible());
    Send(RegisteredMessage::ShowInstance, 0, 0);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(MainWindowTest, TrayLeftClickTogglesTheWindow) {
    qint64 result = 0;
    m_window->HandleMessage(q407::app::kTrayCallbackMessage, 0, 0x0202, result);
    EXPECT_TRUE(m_window->isVisible());
    m_window->HandleMessage(q407::app::kTrayCallbackMessage, 0, 0x0202, result);
    EXPECT_FALSE(m_window->isVisible());
    // A right click arms the menu timer rather than opening a menu at once.
    m_window->HandleMessage(q407::app::kTrayCallbackMessage, 0, 0x0205, result);
    EXPECT_TRUE(m_window->HasTimer(m_window->Root(), q407::app::kTimerTrayMenu));
}

TEST_F(MainWindowTest, AppControlFourEndsTheProgramAndNothingShowsItAgain) {
    Send(RegisteredMessage::ShowInstance, 0, 0);
    Send(RegisteredMessage::AppControl, 3, 0);
    EXPECT_TRUE(m_window->isVisible()) << "other values are not for the main window";
    Send(RegisteredMessage::AppControl, 4, 0);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(m_window->Tray().IsCreated());
    Send(RegisteredMessage::ShowInstance, 0, 1);
    EXPECT_FALSE(m_window->isVisible()) << "an exiting window stays hidden";
}

TEST(CustomControls, TableKeepsTheRegistrationOrder) {
    const auto table = q407::app::CustomControlTable();
    ASSERT_EQ(table.size(), 25);
    EXPECT_STREQ(table.front().className, "CCircleProgressUI");
    EXPECT_STREQ(table[7].className, "CDeviceOptionUI");
    EXPECT_STREQ(table.back().className, "CKestravaHS6533Device");
}

} // namespace

namespace {

TEST(DpiFit, ScreenSizeChoosesTheDpi) {
    EXPECT_EQ(q407::app::DpiForScreen({1920, 1080}), 144);
    EXPECT_EQ(q407::app::DpiForScreen({1366, 768}), 96);
    EXPECT_EQ(q407::app::DpiForScreen({1500, 961}), 96) << "the width must exceed 1500";
    EXPECT_EQ(q407::app::DpiForScreen({1501, 960}), 96) << "the height must exceed 960";
    EXPECT_EQ(q407::app::DpiForScreen({1501, 961}), 144);
}

TEST_F(MainWindowTest, DpiFitSizesForTheScreenAndKeepsVisibility) {
    // Qt's offscreen screen is 800 x 600: DPI 96, 1000 x 640.
    m_window->DpiFit();
    EXPECT_EQ(m_window->UiDpi(), 96);
    EXPECT_EQ(m_window->size(), QSize(1000, 640));
    EXPECT_FALSE(m_window->isVisible()) << "a hidden window stays hidden";
    Send(RegisteredMessage::ShowInstance, 0, 0);
    m_window->showMinimized();
    m_window->DpiFit();
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_FALSE(m_window->isMinimized());
}

TEST_F(MainWindowTest, LightOwnershipFollowsTheButtonAndOutsideRequests) {
    auto* status = m_window->FindControl<QPushButton>(QStringLiteral("control_light_status"));
    EXPECT_TRUE(m_window->LightControl());
    status->click();
    EXPECT_FALSE(m_window->LightControl());
    EXPECT_EQ(status->text(), QStringLiteral("Not controlling lights"));
    status->click();
    EXPECT_TRUE(m_window->LightControl());
    EXPECT_EQ(status->text(), QStringLiteral("Controlling lights"));

    Send(RegisteredMessage::LightOwnerSet, 1, 0);
    EXPECT_FALSE(m_window->LightControl());
    Send(RegisteredMessage::LightOwnerSet, 2, 1);
    EXPECT_FALSE(m_window->LightControl()) << "only wParam 1 sets the owner";
    Send(RegisteredMessage::LightOwnerSet, 1, 7);
    EXPECT_FALSE(m_window->LightControl()) << "only lParam 0 or 1";
    Send(RegisteredMessage::LightOwnerSet, 1, 1);
    EXPECT_TRUE(m_window->LightControl());
}

TEST_F(MainWindowTest, SleepSwitchesLightingOffAndIgnoresLaterMessagesUntilResume) {
    qint64 result = 0;
    m_window->HandleMessage(q407::app::kPowerBroadcastMessage, q407::app::kPowerSuspend, 0, result);
    EXPECT_FALSE(m_window->Running());
    EXPECT_TRUE(m_diagnostics.Contains("light control 0"));
    EXPECT_TRUE(m_window->LightControl()) << "the user's choice is kept";

    m_window->HandleMessage(q407::app::kTrayCallbackMessage, 0, q407::app::kTrayLeftUp, result);
    EXPECT_FALSE(m_window->isVisible()) << "ignored while asleep";
    Send(RegisteredMessage::ShowInstance, 0, 1);
    EXPECT_TRUE(m_window->isVisible()) << "the show message comes before the power message";

    m_window->HandleMessage(q407::app::kPowerBroadcastMessage, q407::app::kPowerResume, 0, result);
    EXPECT_TRUE(m_window->Running());
    EXPECT_TRUE(m_diagnostics.Lines().back() == "light control 1");
    m_window->HandleMessage(q407::app::kTrayCallbackMessage, 0, q407::app::kTrayLeftUp, result);
    EXPECT_FALSE(m_window->isVisible());
}

} // namespace

namespace {

TEST_F(MainWindowTest, DataBlocksNeverGoBeyondTheirBuffers) {
    EXPECT_TRUE(m_window->OnDataBlock(1, QByteArray(4284, '\x11')));
    EXPECT_EQ(m_window->SpectrumBuffer(), QByteArray(4284, '\x11'));
    EXPECT_TRUE(m_window->OnDataBlock(1, QByteArray(10, '\x22')));
    EXPECT_EQ(m_window->SpectrumBuffer().left(11), QByteArray(10, '\x22') + '\x11');

    EXPECT_FALSE(m_window->OnDataBlock(1, QByteArray(4285, '\x33'))) << "longer than the buffer";
    EXPECT_EQ(m_window->SpectrumBuffer().at(0), '\x22') << "a refused block changes nothing";
    EXPECT_EQ(m_window->SpectrumBuffer().size(), 4284);

    EXPECT_TRUE(m_window->OnDataBlock(2, QByteArray(160, '\x44')));
    EXPECT_FALSE(m_window->OnDataBlock(2, QByteArray(161, '\x55')));
    EXPECT_EQ(m_window->EffectBuffer(), QByteArray(160, '\x44'));
    EXPECT_FALSE(m_window->OnDataBlock(3, QByteArray(4, '\x01'))) << "unknown kind";
    EXPECT_FALSE(m_window->OnDataBlock(1, QByteArray())) << "empty";
}

TEST_F(MainWindowTest, FolderThatCannotBeWrittenIsToldOnceWithItsPath) {
    const std::filesystem::path folder = q407::paths::UserDir() / "Mouse";
    std::filesystem::create_directories(folder);
    // Profiles are saved on helper threads; the disk is full for two saves in a row.
    std::thread saver([&] {
        for (int save = 0; save < 2; ++save) {
            q407::testing::FailNextWriteAfter(1, 0, ENOSPC);
            EXPECT_FALSE(q407::WriteFileAtomically(folder / "ProfileList.ini", "{}"));
        }
    });
    saver.join();
    ASSERT_TRUE(testutil::WaitUntil([&] { return !m_dialogs.Dialogs().Asked().isEmpty(); }));
    testutil::WaitUntil([] { return false; }, 200); // a second box would have come by now
    const QStringList asked = m_dialogs.Dialogs().Asked();
    ASSERT_EQ(asked.size(), 1) << asked.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(asked[0].contains(QString::fromStdString(folder.string())))
        << asked[0].toStdString();
    EXPECT_FALSE(asked[0].contains(QLatin1String("folder_unwritable_text"))) << "a text, not an id";
}

TEST_F(MainWindowTest, DeviceInformationRequestIsAnsweredWithTheBlock) {
    EXPECT_EQ(m_window->OnRegisteredMessage(RegisteredMessage::DeviceInfoRequest, 0, 0),
              q407::app::DeviceInformationBlock());
    EXPECT_TRUE(m_window->OnRegisteredMessage(RegisteredMessage::ShowInstance, 0, 0).isEmpty());
}

} // namespace

namespace {

TEST(ClickTable, NumberedNamesSplitIntoPrefixAndNumber) {
    EXPECT_EQ(q407::app::SplitNumberedName(QStringLiteral("DPI_edit_3")),
              std::make_pair(QStringLiteral("DPI_edit_"), 3));
    EXPECT_EQ(q407::app::SplitNumberedName(QStringLiteral("key_125")),
              std::make_pair(QStringLiteral("key_"), 125));
    EXPECT_EQ(q407::app::SplitNumberedName(QStringLiteral("closebtn")),
              std::make_pair(QStringLiteral("closebtn"), -1));
    EXPECT_EQ(q407::app::SplitNumberedName(QStringLiteral("123")),
              std::make_pair(QStringLiteral("123"), -1))
        << "a number alone has no prefix";
    EXPECT_EQ(q407::app::SplitNumberedName(QStringLiteral("key_99999999999")).second, -1)
        << "an absurd number is no index";
}

TEST(ClickTable, SystemDeviceSettingsFollowTheDesktop) {
    EXPECT_EQ(q407::app::SystemDeviceSettingsCommand(QStringLiteral("ubuntu:GNOME"), 0),
              (QStringList{QStringLiteral("gnome-control-center"), QStringLiteral("keyboard")}));
    EXPECT_EQ(q407::app::SystemDeviceSettingsCommand(QStringLiteral("KDE"), 1),
              (QStringList{QStringLiteral("systemsettings"), QStringLiteral("kcm_mouse")}));
    EXPECT_EQ(q407::app::SystemDeviceSettingsCommand(QStringLiteral("XFCE"), 1),
              (QStringList{QStringLiteral("xfce4-mouse-settings")}));
    EXPECT_TRUE(q407::app::SystemDeviceSettingsCommand(QStringLiteral("GNOME"), 2).isEmpty())
        << "other pages open nothing";
    EXPECT_TRUE(q407::app::SystemDeviceSettingsCommand(QString(), 0).isEmpty());
}

TEST_F(MainWindowTest, UnknownNumberedControlsChangeNothing) {
    Send(RegisteredMessage::ShowInstance, 0, 0);
    auto* status = m_window->FindControl<QPushButton>(QStringLiteral("control_light_status"));
    status->setObjectName(QStringLiteral("windowdeviceset_7"));
    status->click(); // a page number no desktop has: nothing opens, nothing else happens
    EXPECT_TRUE(m_diagnostics.Contains("no keyboard or mouse settings of this desktop"));
    EXPECT_TRUE(m_window->LightControl());
    EXPECT_TRUE(m_window->isVisible());
}

} // namespace
