// The whole program on the virtual bus, offscreen: how long a plugged product takes to appear
// as a page in the window, and how much of a core the running program takes while nothing
// happens, with the four simulated products attached, the window hidden and shown.
//
// Counters: latency_ms (plug until the product's selector entry is shown), cpu_share (process
// CPU time over wall time while idle, as a fraction of one core) and ui_cpu_share (the UI
// thread's part of it). Goals: 20 ms; 0.003 hidden (also with the device API on a bus),
// 0.03 shown. And the keyboard streaming its host-driven light mode (see below).

#include "BenchCounters.h"
#include "app/CMainWnd.h"
#include "app/InstanceBus.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "devices/SharedLightEffect.h"
#include "editors/CLightControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaKeyboardDevice.h"
#include "pages/CKestravaUSBDevice.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/PrivateBus.h"
#include "toolkit/Notify.h"

#include <QApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>

namespace {

using q407::sim::SimProduct;
using q407::sim::SimulatedProduct;

// Runs the event loop until `done` holds, checking it at least every 2 ms; the thread sleeps
// between events, so the waiting itself costs next to nothing.
bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    QTimer tick;
    tick.start(2);
    while (!done()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Runs the event loop for `ms` milliseconds.
void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One running program: the application object, a private user folder, the main window on a
// virtual bus.
class Program {
public:
    // With `deviceApi` the program owns its name on a session bus of its own and offers the
    // device API there, as it does on a desktop.
    explicit Program(bool deviceApi = false) {
        qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
        static const bool resources = q407::app::SetupUiResources(
            QString::fromStdString((q407::paths::DataDir() / "skin").string()) + QLatin1Char('/'));
        m_ready = resources;
        if (deviceApi) {
            m_sessionBus = std::make_unique<testutil::PrivateBus>();
            m_instance = std::make_unique<q407::app::InstanceBus>(
                QString::fromLatin1(q407::app::kBusService), QStringLiteral("unused.lock"),
                QDBusConnection::connectToBus(m_sessionBus->Address(), QStringLiteral("bench")));
            m_ready = m_ready && m_instance->Acquire() == q407::app::InstanceBus::Role::First;
        }
        m_window = std::make_unique<q407::app::CMainWnd>(m_instance.get(), &m_bus);
        m_ready = m_ready && m_window->Create(QStringLiteral("Q407"), QSize(800, 572)) &&
                  WaitFor([this] { return m_window->isVisible(); }, 5000);
    }
    ~Program() {
        m_window.reset();
        for (auto& product : m_products) {
            product->Unplug();
        }
        m_instance.reset();
    }
    bool Ready() const { return m_ready; }
    q407::app::CMainWnd& Window() { return *m_window; }
    std::shared_ptr<SimulatedProduct> Plug(SimProduct kind) {
        auto product = SimulatedProduct::Create(kind);
        product->PlugInto(m_bus);
        m_products.push_back(product);
        return product;
    }
    bool EntryShown(int page) {
        auto* pages = m_window->Pages();
        return pages != nullptr && page < pages->PageCount() && pages->Entry(page) != nullptr &&
               !pages->Entry(page)->isHidden();
    }

private:
    QTemporaryDir m_home;
    std::unique_ptr<testutil::PrivateBus> m_sessionBus;
    std::unique_ptr<q407::app::InstanceBus> m_instance;
    q407::sim::VirtualHidBus m_bus;
    std::vector<std::shared_ptr<SimulatedProduct>> m_products;
    std::unique_ptr<q407::app::CMainWnd> m_window;
    bool m_ready = false;
};

void BM_PlugToPage(benchmark::State& state) {
    Program program;
    if (!program.Ready()) {
        state.SkipWithError("the program did not start");
        return;
    }
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto mouse = program.Plug(SimProduct::MouseA);
        if (!WaitFor([&] { return program.EntryShown(0); }, 5000)) {
            state.SkipWithError("the mouse page never showed");
            return;
        }
        const double spent =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(spent);
        total += spent;
        mouse->Unplug();
        WaitFor([&] { return !program.EntryShown(0); }, 5000);
    }
    state.counters["latency_ms"] = total * 1e3 / static_cast<double>(state.iterations());
    q407::bench::ReportRss(state);
}
BENCHMARK(BM_PlugToPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// state.range(0): 0 window hidden, 1 shown, 2 shown with the lighting left to another program
// (no preview animation), 3 hidden with the device API on a session bus (nobody calling it: the
// API must cost nothing while nothing changes).
void BM_IdleCpu(benchmark::State& state) {
    Program program(state.range(0) == 3);
    if (!program.Ready()) {
        state.SkipWithError("the program did not start");
        return;
    }
    for (SimProduct product :
         {SimProduct::MouseA, SimProduct::KeyboardK, SimProduct::MousePad, SimProduct::Headset}) {
        program.Plug(product);
    }
    // Let every page activate and its first battery poll pass before measuring.
    RunFor(3000);
    if (state.range(0) == 0 || state.range(0) == 3) {
        program.Window().hide();
    } else {
        program.Window().show();
    }
    if (state.range(0) == 2) {
        program.Window().OnRegisteredMessage(q407::app::RegisteredMessage::LightOwnerSet, 1, 0);
    }
    constexpr int kWindowMs = 4000;
    double cpu = 0;
    double ui = 0;
    double wall = 0;
    for (auto _ : state) {
        const double uiStart = ThreadCpuSeconds();
        const double cpuStart = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        RunFor(kWindowMs);
        const double spentWall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += ProcessCpuSeconds() - cpuStart;
        ui += ThreadCpuSeconds() - uiStart;
        wall += spentWall;
        state.SetIterationTime(spentWall);
    }
    state.counters["cpu_share"] = wall > 0 ? cpu / wall : 0;
    // The UI thread's part of it (timers, painting); the rest is the worker threads.
    state.counters["ui_cpu_share"] = wall > 0 ? ui / wall : 0;
    q407::bench::ReportRss(state);
}
BENCHMARK(BM_IdleCpu)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The keyboard alone, its page selected, streaming light mode 30 (colour input) to the simulated
// keyboard while an outside program sends a new colour 30 times a second (as a data block, the
// way a screen-colour source would): the whole program's share of a core with the window hidden
// (range 0: only the stream runs; goal 0.01) and shown (range 1: the page's lights are painted
// too; goal 0.03), and the frames the keyboard took per second.
void BM_KeyboardStreamingCpu(benchmark::State& state) {
    Program program;
    if (!program.Ready()) {
        state.SkipWithError("the program did not start");
        return;
    }
    auto keyboard = program.Plug(SimProduct::KeyboardK);
    q407::pages::CKestravaKeyboardDevice* page = nullptr;
    const bool activated = WaitFor(
        [&] {
            auto* pages = program.Window().Pages();
            const int selected = pages->SelectedPage();
            page = selected < 0
                       ? nullptr
                       : qobject_cast<q407::pages::CKestravaKeyboardDevice*>(pages->Page(selected));
            return page != nullptr && pages->Entry(selected)->IsActivated();
        },
        8000);
    // The event interface arrives after the command interface; its arrival raises the window.
    if (!activated ||
        !WaitFor([&] { return page->Model().IsListening(q407::hid::kDeviceKeyboard); }, 5000)) {
        state.SkipWithError("the keyboard page never showed");
        return;
    }
    q407::profiles::LightInfo record = page->LightRecord();
    record.mode = q407::devices::kColourInputMode;
    page->ApplyLightRecord(record);
    std::int32_t colour[6] = {0, 40, 90, 0, 0, 0};
    QTimer source;
    QObject::connect(&source, &QTimer::timeout, [&] {
        colour[0] = (colour[0] + 7) & 0xFF;
        program.Window().OnDataBlock(
            2, QByteArray(reinterpret_cast<const char*>(colour), sizeof(colour)));
    });
    source.start(33);
    if (state.range(0) == 0 || state.range(0) == 3) {
        program.Window().hide();
    } else {
        program.Window().show();
    }
    RunFor(1000);
    constexpr int kWindowMs = 4000;
    double cpu = 0;
    double ui = 0;
    double wall = 0;
    int frames = 0;
    for (auto _ : state) {
        const int before = keyboard->Firmware().LightFramesCompleted();
        const double uiStart = ThreadCpuSeconds();
        const double cpuStart = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        RunFor(kWindowMs);
        const double spentWall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += ProcessCpuSeconds() - cpuStart;
        ui += ThreadCpuSeconds() - uiStart;
        wall += spentWall;
        frames += keyboard->Firmware().LightFramesCompleted() - before;
        state.SetIterationTime(spentWall);
    }
    state.counters["cpu_share"] = wall > 0 ? cpu / wall : 0;
    state.counters["ui_cpu_share"] = wall > 0 ? ui / wall : 0;
    state.counters["fps"] = wall > 0 ? frames / wall : 0;
    q407::bench::ReportRss(state);
}
BENCHMARK(BM_KeyboardStreamingCpu)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The four simulated products follow one effect (colour cycle, handed out from the mouse page by
// "deng_same_mode"), the window hidden: cpu_share of the whole program (goal 0.02) and how many
// frames the effect offered per second (fps).
void BM_SharedEffectCpu(benchmark::State& state) {
    Program program;
    if (!program.Ready()) {
        state.SkipWithError("the program did not start");
        return;
    }
    for (SimProduct product :
         {SimProduct::MouseA, SimProduct::KeyboardK, SimProduct::MousePad, SimProduct::Headset}) {
        program.Plug(product);
    }
    RunFor(3000);
    auto* pages = program.Window().Pages();
    q407::pages::CKestravaUSBDevice* mouse = pages != nullptr ? pages->Page(0) : nullptr;
    if (mouse == nullptr || !mouse->HasModel() || mouse->LightPanel() == nullptr) {
        state.SkipWithError("no mouse page");
        return;
    }
    pages->Select(0);
    const auto mode =
        q407::devices::LightModeFor(mouse->Model().Kind(), q407::devices::SharedMode::ColourCycle);
    if (!mode) {
        state.SkipWithError("the mouse has no colour cycle");
        return;
    }
    auto record = mouse->LightRecord();
    record.mode = *mode;
    mouse->ApplyLightRecord(record);
    q407::toolkit::SendNotify(
        mouse->LightPanel()->findChild<QWidget*>(QStringLiteral("deng_same_mode")),
        QStringLiteral("click"));
    program.Window().hide();
    RunFor(1000);
    constexpr int kWindowMs = 4000;
    double cpu = 0;
    double wall = 0;
    std::uint32_t frames = 0;
    for (auto _ : state) {
        const std::uint32_t framesStart = program.Window().SharedLighting().FramesOffered();
        const double cpuStart = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        RunFor(kWindowMs);
        const double spentWall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += ProcessCpuSeconds() - cpuStart;
        frames += program.Window().SharedLighting().FramesOffered() - framesStart;
        wall += spentWall;
        state.SetIterationTime(spentWall);
    }
    state.counters["cpu_share"] = wall > 0 ? cpu / wall : 0;
    state.counters["fps"] = wall > 0 ? frames / wall : 0;
    q407::bench::ReportRss(state);
}
BENCHMARK(BM_SharedEffectCpu)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

// The widgets need the application object for the whole run, so this program has its own main.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
