// q407-audio-capture against a sound server of the run's own (a null output, as the audio test
// tier starts it) and a private bus.
//
// Counters: cpu_share (the capture program's CPU time over wall time while a tone plays, as a
// fraction of one core, with a stand-in for Q407 taking the blocks; goal 0.01) and latency_ms
// (the whole program with the simulated keyboard in the music mode: from writing the first
// samples of a tone to the player until the keyboard has taken the first streamed frame that
// lights a key; goal 40 ms, which includes the player's own 10 ms of buffering).

#include "BenchCounters.h"
#include "app/AudioCaptureLink.h"
#include "app/AudioCaptureProtocol.h"
#include "app/CMainWnd.h"
#include "app/InstanceBus.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "devices/MusicBands.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaKeyboardDevice.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/PrivateBus.h"
#include "support/PrivateSoundServer.h"
#include "toolkit/SkinLoader.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

namespace {

using testutil::PrivateSoundServer;

void RunFor(
    int ms, const std::function<bool()>& done = [] { return false; }) {
    QElapsedTimer timer;
    timer.start();
    QTimer tick;
    tick.start(1);
    while (timer.elapsed() < ms && !done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// CPU seconds a process's threads have run, from each thread's schedstat, which counts in
// nanoseconds: /proc/<pid>/stat counts in clock ticks (10 ms), and a 2 s window of a program that
// should stay under 1% of a core holds only two of them.
double ProcessCpuSeconds(qint64 pid) {
    std::error_code error;
    double ns = 0;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream stat(task.path() / "schedstat");
        double onCpu = 0;
        if (stat >> onCpu) {
            ns += onCpu;
        }
    }
    return ns * 1e-9;
}

// The sound server, the bus, the stand-in for Q407 and the capture program, started by the link
// the main window uses.
class Setup {
public:
    // `playerLatencyMs`: the buffering the player asks the server for, which sets how small the
    // blocks are that the null output renders and so how often its monitor hands out samples.
    explicit Setup(int playerLatencyMs) {
        if (!m_sound.IsReady() || m_bus.Address().isEmpty()) {
            return;
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.Address().toUtf8());
        qputenv("PULSE_SERVER", m_sound.Address().toUtf8());
        m_instance = std::make_unique<q407::app::InstanceBus>(
            QString::fromLatin1(q407::app::kBusService), QStringLiteral("capture-bench.lock"),
            m_bus.Connect());
        m_instance->Acquire();
        m_instance->SetDataHandler([this](qint64 kind, const QByteArray& data) {
            if (kind != q407::app::kSpectrumKind) {
                return;
            }
            std::vector<std::int32_t> values(static_cast<std::size_t>(data.size()) / 4);
            std::memcpy(values.data(), data.constData(), values.size() * 4);
            m_bands.OnBlock(values, 1);
            ++m_blocks;
        });
        // Q407_CAPTURE_PROGRAM measures another build of the program (a release build, say).
        const QString program = qEnvironmentVariableIsSet("Q407_CAPTURE_PROGRAM")
                                    ? qEnvironmentVariable("Q407_CAPTURE_PROGRAM")
                                    : QStringLiteral(Q407_BIN_DIR "/q407-audio-capture");
        m_link = std::make_unique<q407::app::AudioCaptureLink>(m_bus.Connect(), program);
        m_link->SetNeeded(true);
        RunFor(10000, [this] { return m_link->OnBus(); });
        m_player = std::make_unique<PrivateSoundServer::Player>(m_sound, playerLatencyMs);
        // The output wakes up once something plays.
        for (int i = 0; i < 250 && m_blocks == 0; ++i) {
            Play(PrivateSoundServer::Silence(20));
        }
        m_ready = m_blocks > 0;
    }
    ~Setup() { m_link->SetNeeded(false); }

    bool Ready() const { return m_ready; }
    qint64 CapturePid() const { return m_link->ProcessId(); }
    void Play(const QByteArray& samples) { m_player->Play(samples, 0); }
    void Write(const QByteArray& samples) { m_player->Write(samples); }

private:
    PrivateSoundServer m_sound;
    testutil::PrivateBus m_bus;
    std::unique_ptr<q407::app::InstanceBus> m_instance;
    std::unique_ptr<q407::app::AudioCaptureLink> m_link;
    std::unique_ptr<PrivateSoundServer::Player> m_player;
    q407::devices::MusicBands m_bands;
    int m_blocks = 0;
    bool m_ready = false;
};

// The argument is the player's requested latency in ms:
// - 10: a low-latency player (a game, a call); the output then renders in small blocks and the
//   monitor hands the capture program several hundred pieces a second.
// - 100: a typical music or video player, which asks for generous buffering (sound servers run a
//   desktop's music at 20 ms or more per quantum); the monitor's pieces are several times bigger.
void BM_CaptureCpu(benchmark::State& state) {
    Setup setup(static_cast<int>(state.range(0)));
    if (!setup.Ready()) {
        state.SkipWithError("no private sound server or bus");
        return;
    }
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double before = ProcessCpuSeconds(setup.CapturePid());
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 100; ++i) { // 2 s of music-like sound: a tone that changes
            setup.Play(PrivateSoundServer::Tone(220.0 * (1 + i % 7), 0.5, 20));
        }
        cpu += ProcessCpuSeconds(setup.CapturePid()) - before;
        wall += static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) * 1e-9);
    }
    state.counters["cpu_share"] = wall > 0 ? cpu / wall : 0;
}
BENCHMARK(BM_CaptureCpu)
    ->ArgName("player_latency_ms")
    ->Arg(10)
    ->Arg(100)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The whole program on a private bus with the simulated keyboard, its page in the music mode
// (columns in red on black), and the capture program the window starts for it.
class LightSetup {
public:
    LightSetup() {
        if (!m_sound.IsReady() || m_bus.Address().isEmpty() || !m_home.isValid()) {
            return;
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.Address().toUtf8());
        qputenv("PULSE_SERVER", m_sound.Address().toUtf8());
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.path().toUtf8());
        static const bool resources = q407::app::SetupUiResources(
            QString::fromStdString((q407::paths::DataDir() / "skin").string()) + QLatin1Char('/'));
        m_instance = std::make_unique<q407::app::InstanceBus>(
            QString::fromLatin1(q407::app::kBusService), QStringLiteral("light-bench.lock"),
            m_bus.Connect());
        if (!resources || m_instance->Acquire() != q407::app::InstanceBus::Role::First) {
            return;
        }
        m_window = std::make_unique<q407::app::CMainWnd>(m_instance.get(), &m_virtualBus);
        if (!m_window->Create(QStringLiteral("Q407"), QSize(1000, 640))) {
            return;
        }
        m_instance->SetDataHandler(
            [this](qint64 kind, const QByteArray& data) { m_window->OnDataBlock(kind, data); });
        m_keyboard = q407::sim::SimulatedProduct::Create(q407::sim::SimProduct::KeyboardK);
        m_keyboard->PlugInto(m_virtualBus);
        q407::pages::CKestravaKeyboardDevice* page = nullptr;
        RunFor(8000, [&] {
            auto* pages = m_window->Pages();
            const int selected = pages->SelectedPage();
            page = selected < 0
                       ? nullptr
                       : qobject_cast<q407::pages::CKestravaKeyboardDevice*>(pages->Page(selected));
            return page != nullptr && pages->Entry(selected)->IsActivated() &&
                   page->Model().IsListening(q407::hid::kDeviceKeyboard);
        });
        auto* combo = page == nullptr
                          ? nullptr
                          : qobject_cast<QComboBox*>(q407::toolkit::FindSubControlByName(
                                page, QStringLiteral("light_combo_modeSelect")));
        if (combo == nullptr) {
            return;
        }
        q407::profiles::AudioLightInfo colours;
        colours.foregroundRed = 255;
        colours.colourType = 1;
        page->ApplyAudioLightRecord(colours);
        combo->setCurrentIndex(kMusicMode); // as the user picks it: the capture program starts
        q407::app::AudioCaptureLink* capture = m_window->AudioCapture();
        RunFor(10000, [&] { return capture != nullptr && capture->OnBus(); });
        m_player = std::make_unique<PrivateSoundServer::Player>(m_sound, 10);
        for (int i = 0; i < 250 && m_window->SpectrumBlocksTaken() == 0; ++i) {
            m_player->Play(PrivateSoundServer::Silence(20), 0);
        }
        m_ready = m_window->SpectrumBlocksTaken() > 0;
        // Watches the keyboard's side on a thread of its own, so the moment a frame arrives is
        // seen however busy the program's threads are.
        m_watch = std::thread([this] {
            int seen = m_keyboard->Firmware().LightFramesCompleted();
            while (!m_stop.load()) {
                const int frames = m_keyboard->Firmware().LightFramesCompleted();
                if (frames != seen) {
                    seen = frames;
                    const std::vector<std::uint8_t> frame = m_keyboard->Firmware().LightFrame();
                    const bool lit = std::any_of(frame.begin(), frame.end(),
                                                 [](std::uint8_t b) { return b != 0; });
                    m_lit = lit;
                    if (lit && m_litAt.load() == 0) {
                        m_litAt = std::chrono::steady_clock::now().time_since_epoch().count();
                    }
                }
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
    }
    ~LightSetup() {
        m_stop = true;
        if (m_watch.joinable()) {
            m_watch.join();
        }
        if (m_instance) {
            m_instance->SetDataHandler({});
        }
        m_window.reset();
        if (m_keyboard) {
            m_keyboard->Unplug();
        }
    }

    bool Ready() const { return m_ready; }
    void Play(const QByteArray& samples) { m_player->Play(samples, 0); }
    void Write(const QByteArray& samples) { m_player->Write(samples); }
    // The keyboard's last frame lights no key.
    bool Dark() const { return !m_lit.load(); }
    // From now on the first lit frame counts.
    void Arm() { m_litAt = 0; }
    // When the first lit frame since Arm arrived (0: none yet).
    std::chrono::steady_clock::time_point LitAt() const {
        const auto ticks = m_litAt.load();
        return ticks == 0 ? std::chrono::steady_clock::time_point{}
                          : std::chrono::steady_clock::time_point(
                                std::chrono::steady_clock::duration(ticks));
    }

private:
    static constexpr int kMusicMode = 29;
    QTemporaryDir m_home;
    PrivateSoundServer m_sound;
    testutil::PrivateBus m_bus;
    q407::sim::VirtualHidBus m_virtualBus;
    std::unique_ptr<q407::app::InstanceBus> m_instance;
    std::unique_ptr<q407::app::CMainWnd> m_window;
    std::shared_ptr<q407::sim::SimulatedProduct> m_keyboard;
    std::unique_ptr<PrivateSoundServer::Player> m_player;
    std::thread m_watch;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_lit{false};
    std::atomic<std::chrono::steady_clock::rep> m_litAt{0};
    bool m_ready = false;
};

void BM_SoundToLightLatency(benchmark::State& state) {
    LightSetup setup;
    if (!setup.Ready()) {
        state.SkipWithError("no private sound server or bus, or the keyboard page never showed");
        return;
    }
    double light = 0;
    int tones = 0;
    for (auto _ : state) {
        for (int i = 0; i < 20; ++i) {
            setup.Play(PrivateSoundServer::Silence(300));
            RunFor(1000, [&] { return setup.Dark(); });
            setup.Arm();
            const auto start = std::chrono::steady_clock::now();
            setup.Write(PrivateSoundServer::Tone(440, 0.5, 200));
            RunFor(1000, [&] { return setup.LitAt() != std::chrono::steady_clock::time_point{}; });
            const auto lit = setup.LitAt();
            light += std::chrono::duration<double, std::milli>(
                         (lit == std::chrono::steady_clock::time_point{}
                              ? std::chrono::steady_clock::now()
                              : lit) -
                         start)
                         .count();
            ++tones;
            RunFor(200);
        }
        state.SetIterationTime(light * 1e-3);
    }
    state.counters["latency_ms"] = tones > 0 ? light / tones : 0;
}
BENCHMARK(BM_SoundToLightLatency)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

// The window needs the application object for the whole run, so this program has its own main.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
