// The whole way from the computer's sound to the keyboard page: the main window on the virtual
// bus with the simulated keyboard and on a private session bus, a private sound server. Choosing
// the music mode starts q407-audio-capture, a tone played raises the band levels the window hands
// to the first keyboard page in the tone's band and they fall after it, leaving the mode ends the
// program; without a sound server the audio page says so.

#include "app/AudioCaptureProtocol.h"
#include "app/CMainWnd.h"
#include "app/InstanceBus.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "editors/CLightControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaKeyboardDevice.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/PrivateBus.h"
#include "support/PrivateSoundServer.h"
#include "support/QtTestUtil.h"
#include "support/ScopedEnv.h"
#include "support/UiTestScopes.h"
#include "toolkit/ResourceManager.h"

#include <QComboBox>
#include <QSlider>
#include <array>
#include <gtest/gtest.h>
#include <memory>

namespace {

using q407::pages::CKestravaKeyboardDevice;
using testutil::PrivateSoundServer;

constexpr int kMusicMode = 29;
constexpr int kColourInputMode = 30;
constexpr std::size_t kKeyO = 51;
constexpr std::size_t kToneBand = 11; // 440 Hz

class KeyboardMusicTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString skin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
        ASSERT_TRUE(q407::app::SetupUiResources(skin + QLatin1Char('/')));
    }
    // The window with the keyboard's page shown; `pulseServer` overrides the private server.
    void Start(const std::string& pulseServer = {}) {
        if (!PrivateSoundServer::Available()) {
            GTEST_SKIP() << "pulseaudio and pacat are not installed";
        }
        ASSERT_TRUE(m_sound.IsReady()) << m_sound.Log().toStdString();
        ASSERT_FALSE(m_bus.Address().isEmpty()) << "dbus-daemon cannot run here";
        m_sessionBus = std::make_unique<testutil::ScopedEnv>("DBUS_SESSION_BUS_ADDRESS",
                                                             m_bus.Address().toStdString());
        m_pulse = std::make_unique<testutil::ScopedEnv>(
            "PULSE_SERVER", pulseServer.empty() ? m_sound.Address().toStdString() : pulseServer);
        m_instance = std::make_unique<q407::app::InstanceBus>(
            QString::fromLatin1(q407::app::kBusService), QStringLiteral("music-test.lock"),
            m_bus.Connect());
        ASSERT_EQ(m_instance->Acquire(), q407::app::InstanceBus::Role::First);
        m_window = std::make_unique<q407::app::CMainWnd>(m_instance.get(), &m_virtualBus);
        ASSERT_TRUE(m_window->Create(QStringLiteral("Q407"), QSize(1000, 640)));
        m_instance->SetDataHandler(
            [this](qint64 kind, const QByteArray& data) { m_window->OnDataBlock(kind, data); });
        m_keyboard = q407::sim::SimulatedProduct::Create(q407::sim::SimProduct::KeyboardK);
        ASSERT_TRUE(m_keyboard->PlugInto(m_virtualBus));
        ASSERT_TRUE(testutil::WaitUntil(
            [&] {
                auto* pages = m_window->Pages();
                const int selected = pages->SelectedPage();
                m_page = selected < 0
                             ? nullptr
                             : qobject_cast<CKestravaKeyboardDevice*>(pages->Page(selected));
                return m_page != nullptr && pages->Entry(selected)->IsActivated();
            },
            8000));
    }
    void TearDown() override {
        if (m_instance) {
            m_instance->SetDataHandler({});
        }
        m_window.reset();
        if (m_keyboard) {
            m_keyboard->Unplug();
        }
    }
    void SelectMode(int mode) {
        auto* combo =
            q407::toolkit::FindSubControlByName(m_page, QStringLiteral("light_combo_modeSelect"));
        ASSERT_NE(qobject_cast<QComboBox*>(combo), nullptr);
        qobject_cast<QComboBox*>(combo)->setCurrentIndex(mode); // raises itemselect
        ASSERT_EQ(m_page->Keyboard().GetLightParams().mode, mode);
    }
    std::int32_t Level() const { return m_window->MusicBands().Means()[kToneBand]; }

    testutil::UserFolderScope m_home;
    testutil::ScriptedDialogsScope m_dialogs;
    PrivateSoundServer m_sound;
    testutil::PrivateBus m_bus;
    std::unique_ptr<testutil::ScopedEnv> m_sessionBus;
    std::unique_ptr<testutil::ScopedEnv> m_pulse;
    std::unique_ptr<q407::app::InstanceBus> m_instance;
    q407::sim::VirtualHidBus m_virtualBus;
    std::unique_ptr<q407::app::CMainWnd> m_window;
    std::shared_ptr<q407::sim::SimulatedProduct> m_keyboard;
    CKestravaKeyboardDevice* m_page = nullptr;
};

TEST_F(KeyboardMusicTest, MusicModeListensAndTheKeyboardsBandRisesAndFalls) {
    Start();
    q407::app::AudioCaptureLink* capture = m_window->AudioCapture();
    ASSERT_NE(capture, nullptr);
    EXPECT_FALSE(capture->Running()) << "nothing listens yet";
    SelectMode(kMusicMode);
    ASSERT_TRUE(testutil::WaitUntil([&] { return capture->OnBus(); }, 10000));

    PrivateSoundServer::Player player(m_sound, 10);
    ASSERT_TRUE(player.IsRunning());
    // The output wakes up once something plays.
    for (int i = 0; i < 250 && m_window->SpectrumBlocksTaken() == 0; ++i) {
        player.Play(PrivateSoundServer::Silence(20), 0);
    }
    player.Play(PrivateSoundServer::Silence(300));
    const std::int32_t quiet = Level();
    std::int32_t loudest = 0;
    const QByteArray tone = PrivateSoundServer::Tone(440, 0.5, 400);
    for (int at = 0; at < tone.size(); at += 3840) {
        player.Play(tone.mid(at, 3840), 0);
        loudest = std::max(loudest, Level());
    }
    // On a busy machine the last blocks of the tone may still be on their way.
    testutil::WaitUntil(
        [&] {
            loudest = std::max(loudest, Level());
            return loudest > quiet + 50;
        },
        2000);
    EXPECT_GT(loudest, quiet + 50) << "the tone's band rises";
    player.Play(PrivateSoundServer::Silence(400));
    EXPECT_TRUE(testutil::WaitUntil([&] { return Level() < 10; }, 2000))
        << "and falls once the tone stops: " << Level();

    SelectMode(0);
    EXPECT_TRUE(testutil::WaitUntil([&] { return !capture->Running() && !capture->OnBus(); }, 5000))
        << "no page listens any more";
}

TEST_F(KeyboardMusicTest, ColourSlidersPaintTheColourInputModeEvenInSilence) {
    Start();
    SelectMode(kColourInputMode);
    q407::app::AudioCaptureLink* capture = m_window->AudioCapture();
    ASSERT_TRUE(testutil::WaitUntil([&] { return capture->OnBus(); }, 10000));
    // The colour the keyboard streams for the O key.
    const auto keyO = [&] {
        const auto frame = m_keyboard->Firmware().LightFrame();
        const std::size_t at = 3U * m_page->Keyboard().LedMap()[kKeyO];
        return at + 2 < frame.size() ? std::array<int, 3>{frame[at], frame[at + 1], frame[at + 2]}
                                     : std::array<int, 3>{};
    };
    // Nothing plays: white glows dimly.
    EXPECT_TRUE(testutil::WaitUntil(
        [&] {
            const auto o = keyO();
            return o[0] > 30 && o[0] < 100 && o[1] == o[0] && o[2] == o[0];
        },
        5000));
    for (const char* name : {"G_light_slider", "B_light_slider"}) {
        auto* slider = qobject_cast<QSlider*>(
            q407::toolkit::FindSubControlByName(m_page, QString::fromLatin1(name)));
        ASSERT_NE(slider, nullptr) << name;
        slider->setValue(0);
    }
    EXPECT_TRUE(testutil::WaitUntil(
        [&] {
            const auto o = keyO();
            return o[0] > 30 && o[1] == 0 && o[2] == 0;
        },
        5000))
        << "red glows";
}

TEST_F(KeyboardMusicTest, WithoutASoundServerTheAudioPageSaysSo) {
    Start("unix:/nonexistent/q407-no-server");
    SelectMode(kMusicMode);
    q407::editors::CLightControlUI* light = m_page->LightPanel();
    ASSERT_NE(light, nullptr);
    ASSERT_TRUE(testutil::WaitUntil([&] { return !light->GetAudioStatus().isEmpty(); }, 10000));
    EXPECT_EQ(light->GetAudioStatus(), q407::toolkit::ResourceManager::Instance().Text(
                                           QStringLiteral("audio_no_sound_server_text")));
    SelectMode(0);
    EXPECT_TRUE(light->GetAudioStatus().isEmpty()) << "nothing to tell while nothing listens";
}

} // namespace
