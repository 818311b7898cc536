// q407-audio-capture against a real sound server of the test's own and a stand-in for the running
// Q407 on a private bus: tones played into the null output come out as spectrum blocks whose band
// levels rise in the tone's band and fall again when it stops; the colour input follows the
// commands and the style colour; the program ends on command, when Q407 leaves, and with a clear
// message when there is no sound server.

#include "app/AudioCaptureLink.h"
#include "app/AudioCaptureProtocol.h"
#include "app/InstanceBus.h"
#include "devices/MusicBands.h"
#include "support/PrivateBus.h"
#include "support/PrivateSoundServer.h"
#include "support/QtTestUtil.h"
#include "support/ScopedEnv.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

using q407::app::InstanceBus;

const QString kProgram = QStringLiteral(Q407_BIN_DIR "/q407-audio-capture");

std::vector<std::int32_t> Values(const QByteArray& bytes) {
    std::vector<std::int32_t> values(static_cast<std::size_t>(bytes.size()) / 4);
    std::memcpy(values.data(), bytes.constData(), values.size() * 4);
    return values;
}

class CaptureProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testutil::PrivateSoundServer::Available()) {
            GTEST_SKIP() << "pulseaudio and pacat are not installed";
        }
        m_sound = std::make_unique<testutil::PrivateSoundServer>();
        ASSERT_TRUE(m_sound->IsReady()) << m_sound->Log().toStdString();
        ASSERT_FALSE(m_bus.Address().isEmpty()) << "dbus-daemon cannot run here";
        m_instance =
            std::make_unique<InstanceBus>(QString::fromLatin1(q407::app::kBusService),
                                          QStringLiteral("capture-test.lock"), m_bus.Connect());
        ASSERT_EQ(m_instance->Acquire(), InstanceBus::Role::First);
        m_instance->SetDataHandler([this](qint64 kind, const QByteArray& data) {
            if (kind == q407::app::kSpectrumKind) {
                m_bands.OnBlock(Values(data), 1);
                m_levels.push_back(m_bands.Means());
            } else if (kind == q407::app::kColourInputKind) {
                m_colours.push_back(Values(data));
            }
        });
    }
    void TearDown() override {
        if (m_capture.state() != QProcess::NotRunning) {
            m_capture.kill();
            m_capture.waitForFinished(5000);
        }
    }

    void StartCapture(const QString& pulseServer = {}) {
        QProcessEnvironment environment =
            m_sound->Environment(QProcessEnvironment::systemEnvironment());
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus.Address());
        if (!pulseServer.isEmpty()) {
            environment.insert(QStringLiteral("PULSE_SERVER"), pulseServer);
        }
        m_capture.setProcessEnvironment(environment);
        m_capture.start(kProgram, {});
        ASSERT_TRUE(m_capture.waitForStarted(10000));
    }
    bool CaptureOnBus() {
        return m_bus.Connect()
            .interface()
            ->isServiceRegistered(QString::fromLatin1(q407::app::kCaptureBusService))
            .value();
    }
    void Call(const QString& member, const QVariantList& arguments) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(q407::app::kCaptureBusService),
            QString::fromLatin1(q407::app::kCaptureBusPath),
            QString::fromLatin1(q407::app::kCaptureBusInterface), member);
        call.setArguments(arguments);
        const QDBusMessage reply = m_bus.Connect().call(call, QDBus::Block, 5000);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }
    // Plays silence until the recording delivers: the output wakes up only once a player runs.
    void StartSound(testutil::PrivateSoundServer::Player& player) {
        ASSERT_TRUE(player.IsRunning());
        for (int i = 0; i < 250 && m_levels.empty(); ++i) {
            player.Play(testutil::PrivateSoundServer::Silence(20), 0);
        }
        ASSERT_FALSE(m_levels.empty()) << m_capture.readAllStandardError().toStdString();
    }
    // The highest level of each band over the blocks from `first` on.
    q407::devices::MusicLevels PeakSince(std::size_t first) const {
        q407::devices::MusicLevels peak{};
        for (std::size_t i = first; i < m_levels.size(); ++i) {
            for (std::size_t band = 0; band < peak.size(); ++band) {
                peak[band] = std::max(peak[band], m_levels[i][band]);
            }
        }
        return peak;
    }

    testutil::PrivateBus m_bus;
    std::unique_ptr<testutil::PrivateSoundServer> m_sound;
    std::unique_ptr<InstanceBus> m_instance;
    QProcess m_capture;
    q407::devices::MusicBands m_bands;
    std::vector<q407::devices::MusicLevels> m_levels;
    std::vector<std::vector<std::int32_t>> m_colours;
};

TEST_F(CaptureProgramTest, TonesRaiseTheirOwnBandAndFallWhenTheyStop) {
    StartCapture();
    ASSERT_TRUE(testutil::WaitUntil([&] { return CaptureOnBus(); }, 10000))
        << m_capture.readAllStandardError().toStdString();
    testutil::PrivateSoundServer::Player player(*m_sound, 10);
    StartSound(player);

    struct Tone {
        double hz;
        std::size_t band; // 20 log-spaced bins a band: 440 Hz lies in bin 231, 4 kHz in 396
    };
    for (const Tone& tone : {Tone{440, 11}, Tone{4000, 19}}) {
        const std::size_t first = m_levels.size();
        player.Play(testutil::PrivateSoundServer::Tone(tone.hz, 0.5, 500));
        const q407::devices::MusicLevels during = PeakSince(first);
        // A high tone fills few of its band's bins, a low one all of them; silence stays below 10.
        EXPECT_GT(during[tone.band], 50) << tone.hz << " Hz";
        for (std::size_t band = 0; band < during.size(); ++band) {
            if (band + 3 < tone.band || band > tone.band + 3) {
                EXPECT_LT(during[band] * 5, during[tone.band])
                    << tone.hz << " Hz shows in band " << band;
            }
        }
        player.Play(testutil::PrivateSoundServer::Silence(400));
        ASSERT_FALSE(m_levels.empty());
        EXPECT_LT(m_levels.back()[tone.band], 10) << "after " << tone.hz << " Hz stopped";
    }
    Call(QStringLiteral("AudioRecordCtrl"), {qint64{q407::app::kCaptureStopRecording}, qint64{0}});
    ASSERT_TRUE(m_capture.waitForFinished(5000));
    EXPECT_EQ(m_capture.exitCode(), q407::app::kCaptureEnded);
    EXPECT_FALSE(CaptureOnBus());
    // Only whole bursts, so the window's count of blocks stays in step with them.
    testutil::WaitUntil([] { return false; }, 300); // the last blocks on their way
    EXPECT_EQ(m_levels.size() % q407::app::kBurstBlocks, 0u) << m_levels.size();
}

TEST_F(CaptureProgramTest, ColourInputTakesTheSlidersAndTheStyleColour) {
    StartCapture();
    ASSERT_TRUE(testutil::WaitUntil([&] { return CaptureOnBus(); }, 10000));
    Call(QStringLiteral("AudioRecordCtrl"), {qint64{q407::app::kCaptureRed}, qint64{40}});
    Call(QStringLiteral("AudioRecordCtrl"), {qint64{q407::app::kCaptureGreen}, qint64{400}});
    Call(QStringLiteral("AudioRecordCtrl"), {qint64{q407::app::kCaptureBlue}, qint64{0}});
    // Shown at once, sound or not: in silence the colour glows at a quarter.
    EXPECT_TRUE(testutil::WaitUntil(
        [&] {
            return !m_colours.empty() &&
                   m_colours.back() == std::vector<std::int32_t>{10, 64, 0, 64, 0, 0};
        },
        5000));
    testutil::PrivateSoundServer::Player player(*m_sound, 10);
    StartSound(player);
    player.Play(testutil::PrivateSoundServer::Tone(1000, 1.0, 300));
    const auto loudestSoFar = [&] {
        return *std::max_element(m_colours.begin(), m_colours.end(),
                                 [](const auto& a, const auto& b) { return a[3] < b[3]; });
    };
    // On a busy machine the last bursts of the tone may still be on their way.
    testutil::WaitUntil([&] { return loudestSoFar()[3] > 200; }, 2000);
    const auto loudest = loudestSoFar();
    EXPECT_GT(loudest[3], 200) << "a full-scale tone is loud";
    EXPECT_NEAR(loudest[0], 40 * loudest[3] / 255, 2);
    EXPECT_NEAR(loudest[1], loudest[3], 2) << "400 is taken as 255";
    EXPECT_EQ(loudest[2], 0);

    // The style colour: components 0-9, sent as 40 bytes.
    const std::int32_t style[10] = {9, 3, 1};
    Call(QStringLiteral("CopyData"),
         {qint64{q407::app::kStyleColourKind},
          QByteArray(reinterpret_cast<const char*>(style), q407::app::kStyleColourBytes)});
    m_colours.clear();
    player.Play(testutil::PrivateSoundServer::Tone(1000, 1.0, 300));
    ASSERT_FALSE(m_colours.empty());
    const auto& last = m_colours.back();
    EXPECT_NEAR(last[0], 255 * last[3] / 255, 2);
    EXPECT_NEAR(last[1], 85 * last[3] / 255, 2);
    EXPECT_NEAR(last[2], 28 * last[3] / 255, 2);

    // Q407 leaving the bus ends the program.
    m_instance->Release();
    ASSERT_TRUE(m_capture.waitForFinished(5000));
    EXPECT_EQ(m_capture.exitCode(), q407::app::kCaptureEnded);
}

TEST_F(CaptureProgramTest, WithoutASoundServerItSaysSoAndEnds) {
    StartCapture(QStringLiteral("unix:/nonexistent/q407-no-server"));
    ASSERT_TRUE(m_capture.waitForFinished(10000));
    EXPECT_EQ(m_capture.exitCode(), q407::app::kCaptureNoSoundServer);
    EXPECT_TRUE(m_capture.readAllStandardError().contains("no sound server"));
    EXPECT_FALSE(CaptureOnBus()) << "the name goes with the program";
}

// Q407's side: the link starts the program while it is needed, finds it on the bus so commands
// reach it, and ends it when it is no longer needed; without a sound server it says so.
TEST_F(CaptureProgramTest, LinkStartsFindsAndEndsTheProgram) {
    testutil::ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", m_bus.Address().toStdString());
    testutil::ScopedEnv sound("PULSE_SERVER", m_sound->Address().toStdString());
    q407::app::AudioCaptureLink link(m_bus.Connect(), kProgram);
    EXPECT_FALSE(link.SendCommand(q407::app::kCaptureRed, 0)) << "nothing to send to yet";
    link.SetNeeded(true);
    ASSERT_TRUE(testutil::WaitUntil([&] { return link.OnBus(); }, 10000));
    EXPECT_TRUE(link.SendCommand(q407::app::kCaptureRed, 0));
    EXPECT_TRUE(link.SendCommand(q407::app::kCaptureGreen, 0));
    EXPECT_TRUE(link.SendStyleColour({0, 0, 9}));
    testutil::PrivateSoundServer::Player player(*m_sound, 10);
    StartSound(player);
    player.Play(testutil::PrivateSoundServer::Tone(1000, 1.0, 300));
    ASSERT_FALSE(m_colours.empty());
    EXPECT_EQ(m_colours.back()[0], 0) << "the style colour has no red";
    EXPECT_GT(m_colours.back()[2], 0);

    link.SetNeeded(false);
    EXPECT_TRUE(testutil::WaitUntil([&] { return !link.Running() && !link.OnBus(); }, 5000));
    EXPECT_EQ(link.LastProblem(), q407::app::AudioCaptureLink::Problem::None);
    const std::size_t blocks = m_levels.size();
    player.Play(testutil::PrivateSoundServer::Tone(1000, 1.0, 200));
    EXPECT_EQ(m_levels.size(), blocks) << "an ended program sends nothing";
}

TEST_F(CaptureProgramTest, LinkTellsWhenThereIsNoSoundServerAndTriesAgain) {
    testutil::ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", m_bus.Address().toStdString());
    testutil::ScopedEnv sound("PULSE_SERVER", "unix:/nonexistent/q407-no-server");
    q407::app::AudioCaptureLink link(m_bus.Connect(), kProgram);
    link.SetRetryInterval(100);
    std::vector<q407::app::AudioCaptureLink::Problem> told;
    QObject::connect(
        &link, &q407::app::AudioCaptureLink::ProblemChanged,
        [&](q407::app::AudioCaptureLink::Problem problem) { told.push_back(problem); });
    link.SetNeeded(true);
    ASSERT_TRUE(testutil::WaitUntil(
        [&] { return link.LastProblem() == q407::app::AudioCaptureLink::Problem::NoSoundServer; },
        10000));
    // Once a server is there, the next try records.
    testutil::ScopedEnv server("PULSE_SERVER", m_sound->Address().toStdString());
    EXPECT_TRUE(testutil::WaitUntil([&] { return link.OnBus(); }, 10000));
    link.SetNeeded(false);
    EXPECT_EQ(link.LastProblem(), q407::app::AudioCaptureLink::Problem::None);
    EXPECT_EQ(told, (std::vector{q407::app::AudioCaptureLink::Problem::NoSoundServer,
                                 q407::app::AudioCaptureLink::Problem::None}));

    // A program that cannot be started at all is told too (once the other has left the bus).
    ASSERT_TRUE(testutil::WaitUntil([&] { return !link.Running() && !CaptureOnBus(); }, 5000));
    q407::app::AudioCaptureLink missing(m_bus.Connect(), QStringLiteral("/nonexistent/capture"));
    missing.SetNeeded(true);
    EXPECT_TRUE(testutil::WaitUntil(
        [&] { return missing.LastProblem() == q407::app::AudioCaptureLink::Problem::NotStarted; },
        5000));
}

} // namespace
