// q407-audio-capture against a sound server of the run's own (a null output, as the audio test
// tier starts it) and a stand-in for Q407 on a private bus.
//
// Counters: cpu_share (the capture program's CPU time over wall time while a tone plays, as a
// fraction of one core; goal 0.01) and latency_ms (from writing the first samples of a tone to
// the player until the band levels built from the blocks rise in the tone's band; goal 40 ms,
// which includes the player's own 10 ms of buffering).

#include "BenchCounters.h"
#include "app/AudioCaptureLink.h"
#include "app/AudioCaptureProtocol.h"
#include "app/InstanceBus.h"
#include "devices/MusicBands.h"
#include "support/PrivateBus.h"
#include "support/PrivateSoundServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <unistd.h>

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

// User and system CPU seconds of a process, from /proc.
double ProcessCpuSeconds(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos) {
        return 0;
    }
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; fields >> field && i <= 15; ++i) {
        if (i == 14 || i == 15) { // utime, stime
            ticks += std::stod(field);
        }
    }
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// The sound server, the bus, the stand-in for Q407 and the capture program, started by the link
// the main window uses.
class Setup {
public:
    Setup() {
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
        m_player = std::make_unique<PrivateSoundServer::Player>(m_sound, 10);
        // The output wakes up once something plays.
        for (int i = 0; i < 250 && m_blocks == 0; ++i) {
            Play(PrivateSoundServer::Silence(20));
        }
        m_ready = m_blocks > 0;
    }
    ~Setup() { m_link->SetNeeded(false); }

    bool Ready() const { return m_ready; }
    qint64 CapturePid() const { return m_link->ProcessId(); }
    const q407::devices::MusicBands& Bands() const { return m_bands; }
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

void BM_CaptureCpu(benchmark::State& state) {
    Setup setup;
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
BENCHMARK(BM_CaptureCpu)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SoundToBandLatency(benchmark::State& state) {
    Setup setup;
    if (!setup.Ready()) {
        state.SkipWithError("no private sound server or bus");
        return;
    }
    constexpr std::size_t kBand = 11; // 440 Hz
    double total = 0;
    int tones = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i) {
            setup.Play(PrivateSoundServer::Silence(300));
            const auto quiet = setup.Bands().Means()[kBand];
            QElapsedTimer clock;
            clock.start();
            setup.Write(PrivateSoundServer::Tone(440, 0.5, 200));
            RunFor(1000, [&] { return setup.Bands().Means()[kBand] > quiet + 50; });
            total += static_cast<double>(clock.nsecsElapsed()) * 1e-6;
            ++tones;
            RunFor(200);
        }
        state.SetIterationTime(total * 1e-3);
    }
    state.counters["latency_ms"] = tones > 0 ? total / tones : 0;
}
BENCHMARK(BM_SoundToBandLatency)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
