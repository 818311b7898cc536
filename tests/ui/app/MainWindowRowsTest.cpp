// The main window's rows for the desktop around it: the keyboard and mouse settings of the
// running desktop (or a message saying what to open), the previous and next selector entries,
// the project's web page, the foreground flag the pages are told, and the device information for
// the service tool on the bus.

#include "ShellFixture.h"
#include "app/InstanceBus.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaUSBDevice.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/PrivateBus.h"
#include "support/QtTestUtil.h"
#include "support/ScopedEnv.h"
#include "support/UiTestScopes.h"
#include "toolkit/ResourceManager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using q407::app::CMainWnd;
using q407::sim::SimProduct;

class UrlRecorder : public QObject {
    Q_OBJECT
public Q_SLOTS:
    void Open(const QUrl& url) { opened.append(url); }

public:
    QList<QUrl> opened;
};

class MainWindowRowsTest : public ShellTest {
protected:
    void Click(const char* name) {
        QWidget sender;
        sender.setObjectName(QString::fromLatin1(name));
        q407::toolkit::TNotifyUI msg{QStringLiteral("click"), &sender, 0, 0};
        m_window->Notify(msg);
    }
    QStringList Boxes() { return m_dialogs.Dialogs().Asked(); }
};

TEST_F(MainWindowRowsTest, DeviceSettingsOpenTheDesktopsOwnOrSayWhatToOpen) {
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    // A stand-in for the desktop's settings program: it notes what it was asked to open.
    const QString record = bin.filePath(QStringLiteral("opened"));
    const QString program = bin.filePath(QStringLiteral("gnome-control-center"));
    {
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$@\" > '" + record.toUtf8() + "'\n");
    }
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    testutil::ScopedEnv path("PATH", bin.path().toStdString());

    struct Case {
        const char* desktop;
        const char* control;
        const char* opened; // the program's arguments, or nullptr when a message says more
        const char* message;
    };
    const Case cases[] = {
        {"ubuntu:GNOME", "windowdeviceset_1", "mouse", nullptr},
        {"GNOME", "windowdeviceset_0", "keyboard", nullptr},
        {"KDE", "windowdeviceset_1", nullptr, "systemsettings is not installed"},
        {"Sway", "windowdeviceset_1", nullptr, "The mouse settings of this desktop"},
        {"", "windowdeviceset_0", nullptr, "The keyboard settings of this desktop"},
    };
    for (const Case& c : cases) {
        QFile::remove(record);
        testutil::ScopedEnv desktop("XDG_CURRENT_DESKTOP", c.desktop);
        const qsizetype asked = Boxes().size();
        Click(c.control);
        if (c.opened != nullptr) {
            EXPECT_TRUE(testutil::WaitUntil([&] { return QFile::exists(record); })) << c.desktop;
            QFile opened(record);
            ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
            EXPECT_EQ(opened.readAll().trimmed(), QByteArray(c.opened)) << c.desktop;
            EXPECT_EQ(Boxes().size(), asked) << "no message when the settings open";
        } else {
            ASSERT_EQ(Boxes().size(), asked + 1) << c.desktop << ": never a silent no-op";
            EXPECT_TRUE(Boxes().back().contains(QString::fromLatin1(c.message)))
                << Boxes().back().toStdString();
        }
    }
    // Other numbers open nothing and say nothing.
    const qsizetype asked = Boxes().size();
    Click("windowdeviceset_2");
    EXPECT_EQ(Boxes().size(), asked);
}

TEST_F(MainWindowRowsTest, PreviousAndNextSelectTheNeighbouringVisibleEntry) {
    for (SimProduct product : {SimProduct::MouseA, SimProduct::MousePad, SimProduct::Headset}) {
        Plug(product);
    }
    auto* pages = m_window->Pages();
    ASSERT_TRUE(testutil::WaitUntil([&] { return pages->VisibleEntryCount() == 3; }, 8000));
    std::vector<int> visible;
    for (int i = 0; i < pages->PageCount(); ++i) {
        if (!pages->Entry(i)->isHidden()) {
            visible.push_back(i);
        }
    }
    pages->Select(visible[0]);
    const struct {
        const char* control;
        int selected; // position in `visible`
    } steps[] = {{"device_select_prev", 0},
                 {"device_select_next", 1},
                 {"device_select_next", 2},
                 {"device_select_next", 2},
                 {"device_select_prev", 1}};
    for (const auto& step : steps) {
        Click(step.control);
        EXPECT_EQ(pages->SelectedPage(), visible[static_cast<std::size_t>(step.selected)])
            << step.control;
    }
}

TEST_F(MainWindowRowsTest, NetworkButtonOpensTheHomePageOfTheMetainfo) {
    QFile metainfo(QStringLiteral(Q407_TEST_DATA_DIR "/../../packaging/q407.metainfo.xml"));
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    const auto match = QRegularExpression(QStringLiteral("<url type=\"homepage\">([^<]+)</url>"))
                           .match(QString::fromUtf8(metainfo.readAll()));
    ASSERT_TRUE(match.hasMatch());
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "Open");
    m_window->FindControl<QAbstractButton>(QStringLiteral("network_btn"))->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    EXPECT_EQ(recorder.opened, QList<QUrl>{QUrl(match.captured(1))});
}

TEST_F(MainWindowRowsTest, PagesAreToldWhetherTheWindowIsInFront) {
    ASSERT_GE(m_window->Pages()->PageCount(), 1);
    q407::pages::CKestravaUSBDevice* page = m_window->Pages()->Page(0);
    const auto send = [&](QEvent::Type type) {
        QEvent event(type);
        QApplication::sendEvent(m_window.get(), &event);
    };
    // Not active: the mouse over the window decides.
    send(QEvent::Enter);
    EXPECT_TRUE(m_window->IsForeground());
    EXPECT_TRUE(page->IsForeground());
    send(QEvent::Leave);
    EXPECT_FALSE(page->IsForeground());
    // Active: leaving changes nothing until the window is deactivated.
    m_window->show();
    m_window->activateWindow();
    QApplication::setActiveWindow(m_window.get());
    if (!testutil::WaitUntil([&] { return m_window->isActiveWindow(); })) {
        GTEST_SKIP() << "this platform does not activate windows";
    }
    EXPECT_TRUE(page->IsForeground());
    send(QEvent::Leave);
    EXPECT_TRUE(page->IsForeground());
}

class DeviceInfoSink : public QObject {
    Q_OBJECT
public Q_SLOTS:
    void OnInformation(qint64 kind, const QByteArray& block) { received.emplace_back(kind, block); }

public:
    std::vector<std::pair<qint64, QByteArray>> received;
};

// The device information goes to the service tool as a signal when the tool is on the bus.
TEST(DeviceInformationSignal, ReachesTheServiceToolOnlyWhenItIsThere) {
    testutil::PrivateBus bus;
    if (bus.Address().isEmpty()) {
        GTEST_SKIP() << "dbus-daemon cannot run here";
    }
    const auto connect = [&](const char* name) {
        return QDBusConnection::connectToBus(bus.Address(), QString::fromLatin1(name));
    };
    q407::app::InstanceBus instance(QStringLiteral("org.q407.Q407.InfoTest"),
                                    QStringLiteral("unused.lock"), connect("instance"));
    ASSERT_EQ(instance.Acquire(), q407::app::InstanceBus::Role::First);
    const QString tool = QStringLiteral("org.q407.InfoTestTool");
    const QByteArray block = q407::app::DeviceInformationBlock();
    EXPECT_FALSE(instance.SendDeviceInformation(block, tool)) << "no tool on the bus";

    QDBusConnection toolConnection = connect("tool");
    ASSERT_TRUE(toolConnection.registerService(tool));
    DeviceInfoSink sink;
    ASSERT_TRUE(toolConnection.connect(QString(), QString::fromLatin1(q407::app::kBusPath),
                                       QString::fromLatin1(q407::app::kBusInterface),
                                       QStringLiteral("DeviceInformation"), &sink,
                                       SLOT(OnInformation(qint64, QByteArray))));
    EXPECT_TRUE(instance.SendDeviceInformation(block, tool));
    ASSERT_TRUE(testutil::WaitUntil([&] { return !sink.received.empty(); }));
    EXPECT_EQ(sink.received.front().first, 5);
    EXPECT_EQ(sink.received.front().second, block);
    EXPECT_EQ(block.size(), 1024);
}

} // namespace

#include "MainWindowRowsTest.moc"
