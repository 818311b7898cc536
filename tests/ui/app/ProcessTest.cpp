// Start-up as a user meets it, with real q407 processes: a second start shows the first one and
// exits 0 without a window, the app-control message ends the program with 0, the program runs
// without its fonts, and without a session bus a lock file keeps it single. Each test runs its
// own D-Bus daemon, so tests running side by side never meet on one bus.

#include "common/Paths.h"
#include "support/PrivateBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kProgram = QStringLiteral(Q407_BIN_DIR "/q407");

class Q407Process {
public:
    explicit Q407Process(const QProcessEnvironment& environment) {
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(kProgram, {});
    }
    ~Q407Process() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // Waits until the diagnostics hold `text`.
    bool WaitForLine(const QString& text, int timeoutMs = 30000) {
        QElapsedTimer timer;
        timer.start();
        while (!Diagnostics().contains(text)) {
            if (timer.elapsed() > timeoutMs || m_process.state() == QProcess::NotRunning) {
                m_stderr += QString::fromUtf8(m_process.readAllStandardError());
                return Diagnostics().contains(text);
            }
            m_process.waitForReadyRead(100);
        }
        return true;
    }
    QString Diagnostics() {
        m_stderr += QString::fromUtf8(m_process.readAllStandardError());
        return m_stderr;
    }
    // Exit code once it ended by itself, or -1.
    int WaitForExit(int timeoutMs = 30000) {
        if (!m_process.waitForFinished(timeoutMs)) {
            return -1;
        }
        Diagnostics();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
    QString m_stderr;
};

class StartupProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("Q407_DEBUG"), QStringLiteral("1"));
        m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_environment.insert(QStringLiteral("HOME"), m_home.path());
        m_environment.insert(QStringLiteral("XDG_DATA_HOME"),
                             m_home.path() + QStringLiteral("/data"));
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                             m_home.path() + QStringLiteral("/config"));
        QDir(m_home.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(m_home.path() + QStringLiteral("/runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner);
        m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                             m_home.path() + QStringLiteral("/runtime"));
        m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus.Address());
    }

    bool RequireBus() const { return !m_bus.Address().isEmpty() && m_bus.Connect().isConnected(); }

    bool SendAppControl(qint64 wParam) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.q407.Q407"), QStringLiteral("/org/q407/Q407"),
            QStringLiteral("org.q407.Q407.Messages"), QStringLiteral("AppControl"));
        call << wParam << qint64{0};
        return m_bus.Connect().call(call, QDBus::Block, 10000).type() == QDBusMessage::ReplyMessage;
    }

    testutil::PrivateBus m_bus;
    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
};

const QString kFirstShow = QStringLiteral("软件标示 49153，0d0d");
const QString kShownBySecond = QStringLiteral("软件标示 49153，0d1d");

TEST_F(StartupProcessTest, SecondStartShowsTheRunningOneAndExitsZero) {
    if (!RequireBus()) {
        GTEST_SKIP() << "dbus-daemon cannot run here";
    }
    Q407Process first(m_environment);
    ASSERT_TRUE(first.WaitForLine(kFirstShow)) << first.Diagnostics().toStdString();

    Q407Process second(m_environment);
    EXPECT_EQ(second.WaitForExit(), 0) << second.Diagnostics().toStdString();
    EXPECT_TRUE(second.Diagnostics().contains(QStringLiteral("another instance runs")));
    EXPECT_FALSE(second.Diagnostics().contains(QStringLiteral("InitWindow")))
        << "the second start creates no window";
    EXPECT_TRUE(first.WaitForLine(kShownBySecond)) << first.Diagnostics().toStdString();

    ASSERT_TRUE(SendAppControl(4));
    EXPECT_EQ(first.WaitForExit(), 0) << first.Diagnostics().toStdString();
}

TEST_F(StartupProcessTest, StartsNormallyWithoutTheFontFolder) {
    if (!RequireBus()) {
        GTEST_SKIP() << "dbus-daemon cannot run here";
    }
    const QString data = m_home.path() + QStringLiteral("/share");
    ASSERT_TRUE(QDir().mkpath(data));
    const QString realSkin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
    ASSERT_TRUE(QFile::link(realSkin, data + QStringLiteral("/skin")));
    m_environment.insert(QStringLiteral("Q407_DATA_DIR"), data);

    Q407Process program(m_environment);
    ASSERT_TRUE(program.WaitForLine(kFirstShow)) << program.Diagnostics().toStdString();
    ASSERT_TRUE(SendAppControl(4));
    EXPECT_EQ(program.WaitForExit(), 0) << program.Diagnostics().toStdString();
}

TEST_F(StartupProcessTest, WithoutSessionBusALockFileKeepsItSingle) {
    m_environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                         QStringLiteral("unix:path=") + m_home.path() + QStringLiteral("/no-bus"));
    Q407Process first(m_environment);
    ASSERT_TRUE(first.WaitForLine(kFirstShow)) << first.Diagnostics().toStdString();
    EXPECT_TRUE(first.Diagnostics().contains(QStringLiteral("no session bus")));

    Q407Process second(m_environment);
    EXPECT_EQ(second.WaitForExit(), 0) << second.Diagnostics().toStdString();
    EXPECT_TRUE(second.Diagnostics().contains(QStringLiteral("another instance runs")));
    EXPECT_FALSE(second.Diagnostics().contains(QStringLiteral("InitWindow")));
}

} // namespace

namespace {

// At start the program shows the stored language, else the one of the user's locale, else
// English; starting stores nothing.
TEST_F(StartupProcessTest, LanguageFollowsTheStoredChoiceElseTheLocale) {
    struct Case {
        const char* lang;
        const char* storedId;
        const char* shown;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", nullptr, "language 3 de_DE"}, {"fr_FR.UTF-8", nullptr, "language 1 en_US"},
        {"zh_CN.UTF-8", nullptr, "language 0 zh_CN"}, {"de_DE.UTF-8", "1028", "language 2 zh_TW"},
        {"en_US.UTF-8", "4242", "language 0 zh_CN"},
    };
    for (const Case& c : cases) {
        QTemporaryDir config;
        ASSERT_TRUE(config.isValid());
        QProcessEnvironment environment = m_environment;
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) {
            environment.remove(QString::fromLatin1(name));
        }
        environment.insert(QStringLiteral("LANG"), QString::fromLatin1(c.lang));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        // Alone, without a bus: each start is the only instance.
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QStringLiteral("unix:path=") +
                               config.filePath(QStringLiteral("no-bus")));
        const QString settings = config.filePath(QStringLiteral("Q407/Q407.conf"));
        if (c.storedId != nullptr) {
            ASSERT_TRUE(QDir().mkpath(config.filePath(QStringLiteral("Q407"))));
            QFile file(settings);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("[General]\nLANGUAGE=") + c.storedId + "\n");
        }
        Q407Process program(environment);
        EXPECT_TRUE(program.WaitForLine(QString::fromLatin1(c.shown)))
            << c.lang << ": " << program.Diagnostics().toStdString();
        EXPECT_EQ(QFile::exists(settings), c.storedId != nullptr) << c.lang;
    }
}

} // namespace
