// The whole program on the virtual bus, offscreen: how long a plugged product takes to appear
// as a page in the window, and how much of a core the running program takes while nothing
// happens, with the four simulated products attached, the window hidden and shown.
//
// Counters: latency_ms (plug until the product's selector entry is shown), cpu_share (process
// CPU time over wall time while idle, as a fraction of one core) and ui_cpu_share (the UI
// thread's part of it). Goals: 20 ms; 0.003 hidden (also with the device API
// on a bus), 0.03 shown. And the keyboard streaming its host-driven light mode, streaming again
// after a replug, a DPI set from a script through the device API, and an SDK client's colours on
// the keyboard (see below).

#include "BenchCounters.h"
#include "LinkFloor.h"
#include "app/CMainWnd.h"
#include "app/DeviceBus.h"
#include "app/InstanceBus.h"
#include "app/OpenRgbSdkServer.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "devices/KeyboardModel.h"
#include "devices/MouseModel.h"
#include "devices/SharedLightEffect.h"
#include "editors/CLightControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaKeyboardDevice.h"
#include "pages/CKestravaUSBDevice.h"
#include "protocol/Frame.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/PrivateBus.h"
#include "toolkit/Notify.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

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

// Runs the event loop in windows of 4 s and adds up the process's and the UI thread's CPU time
// and the wall time they took.
class CpuMeter {
public:
    static constexpr int kWindowMs = 4000;
    // One window; its wall time in seconds.
    double RunWindow() {
        const double uiStart = ThreadCpuSeconds();
        const double cpuStart = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        RunFor(kWindowMs);
        const double spentWall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        m_cpu += ProcessCpuSeconds() - cpuStart;
        m_ui += ThreadCpuSeconds() - uiStart;
        m_wall += spentWall;
        return spentWall;
    }
    // `count` per second of all windows.
    double PerSecond(double count) const { return m_wall > 0 ? count / m_wall : 0; }
    // cpu_share of the whole program and, of it, the UI thread's part (timers, painting); the
    // rest is the worker threads.
    void Report(benchmark::State& state) const {
        state.counters["cpu_share"] = PerSecond(m_cpu);
        state.counters["ui_cpu_share"] = PerSecond(m_ui);
    }

private:
    double m_cpu = 0;
    double m_ui = 0;
    double m_wall = 0;
};

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
        // Qt keeps named connections: the next program's would be this one, to a dead bus.
        QDBusConnection::disconnectFromBus(QStringLiteral("bench"));
    }
    bool Ready() const { return m_ready; }
    // The private session bus of the device API (empty without it).
    QString BusAddress() const { return m_sessionBus ? m_sessionBus->Address() : QString(); }
    q407::app::CMainWnd& Window() { return *m_window; }
    std::shared_ptr<SimulatedProduct> Plug(SimProduct kind) {
        auto product = SimulatedProduct::Create(kind);
        product->PlugInto(m_bus);
        m_products.push_back(product);
        return product;
    }
    // Puts a product `Plug` made, unplugged since, back on the bus.
    bool Replug(SimulatedProduct& product) { return product.PlugInto(m_bus); }
    // The page of `kind` once it has read its product, or -1 after `timeoutMs`.
    int ActivePage(int kind, int timeoutMs = 8000) {
        int found = -1;
        WaitFor(
            [&] {
                auto* pages = m_window->Pages();
                for (int i = 0; i < pages->PageCount(); ++i) {
                    if (pages->Page(i)->Model().Kind() == kind && pages->Entry(i)->IsActivated() &&
                        pages->Page(i)->Model().IsOpen()) {
                        found = i;
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
        return found;
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
    CpuMeter meter;
    for (auto _ : state) {
        state.SetIterationTime(meter.RunWindow());
    }
    meter.Report(state);
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
    CpuMeter meter;
    int frames = 0;
    for (auto _ : state) {
        const int before = keyboard->Firmware().LightFramesCompleted();
        state.SetIterationTime(meter.RunWindow());
        frames += keyboard->Firmware().LightFramesCompleted() - before;
    }
    meter.Report(state);
    state.counters["fps"] = meter.PerSecond(frames);
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
    CpuMeter meter;
    std::uint32_t frames = 0;
    for (auto _ : state) {
        const std::uint32_t framesStart = program.Window().SharedLighting().FramesOffered();
        state.SetIterationTime(meter.RunWindow());
        frames += program.Window().SharedLighting().FramesOffered() - framesStart;
    }
    meter.Report(state);
    state.counters["fps"] = meter.PerSecond(frames);
    q407::bench::ReportRss(state);
}
BENCHMARK(BM_SharedEffectCpu)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// The keyboard streams light mode 30 (colour input) and is unplugged and plugged in again
// (range 0 by cable, 1 through its receiver), on the 1 ms USB frame link: latency_ms from the
// plug until the keyboard completed a streamed frame again. Goal: 1000 ms.
void BM_ReplugToStreamedFrame(benchmark::State& state) {
    const bool receiver = state.range(0) == 1;
    Program program;
    if (!program.Ready()) {
        state.SkipWithError("the program did not start");
        return;
    }
    auto keyboard = program.Plug(receiver ? SimProduct::KeyboardKReceiver : SimProduct::KeyboardK);
    keyboard->SetLink({std::chrono::microseconds(0), q407::bench::kLinkFrame});
    const int page = program.ActivePage(q407::devices::kKindKeyboard);
    if (page < 0) {
        state.SkipWithError("the keyboard page never showed");
        return;
    }
    auto* keyboardPage = program.Window().Pages()->Page(page);
    q407::profiles::LightInfo record = keyboardPage->LightRecord();
    record.mode = q407::devices::kColourInputMode;
    keyboardPage->ApplyLightRecord(record);
    RunFor(500);
    double total = 0;
    for (auto _ : state) {
        keyboard->Unplug();
        if (!WaitFor([&] { return !keyboardPage->Model().IsOpen(); }, 5000)) {
            state.SkipWithError("the keyboard was never let go");
            return;
        }
        RunFor(200);
        const int frames = keyboard->Firmware().LightFramesCompleted();
        const auto start = std::chrono::steady_clock::now();
        program.Replug(*keyboard);
        if (!WaitFor([&] { return keyboard->Firmware().LightFramesCompleted() > frames; }, 10000)) {
            state.SkipWithError("no frame after the replug");
            return;
        }
        const double spent =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(spent);
        total += spent;
        // Let the page finish reading the keyboard before it goes again.
        program.ActivePage(q407::devices::kKindKeyboard);
        RunFor(300);
    }
    state.counters["latency_ms"] = total * 1e3 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ReplugToStreamedFrame)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8);

// A script sets the mouse's first DPI stage through the device API (the bus method q407ctl's
// "dpi set" calls, from a connection of its own as another process would): latency_ms from the
// call until the simulated mouse closed the configuration sequence holding the new value, on
// the 1 ms USB frame link, and floor_ms, the protocol's floor of the requests it took
// (bench/LinkFloor.h) up to that moment; ratio_to_floor = latency / floor. Goal: latency <=
// 1.1 x floor + 5 ms.
void BM_BusDpiSetToDevice(benchmark::State& state) {
    constexpr std::chrono::milliseconds kAnswerPause{20};
    Program program(true);
    if (!program.Ready()) {
        state.SkipWithError("the program did not start");
        return;
    }
    auto mouse = program.Plug(SimProduct::MouseA);
    const int page = program.ActivePage(q407::devices::kKindMouse);
    if (page < 0) {
        state.SkipWithError("the mouse page never showed");
        return;
    }
    mouse->SetLink({std::chrono::microseconds(0), q407::bench::kLinkFrame});
    RunFor(500);
    std::mutex lock;
    std::optional<std::chrono::steady_clock::time_point> committed;
    int wanted = 0;
    mouse->Firmware().SetCommitHook([&](const std::vector<std::uint8_t>&) {
        const auto memory = mouse->Firmware().Memory().settingsMemory;
        const std::size_t at = q407::devices::mouse_block::kStages + 2;
        std::lock_guard guard(lock);
        if ((memory[at] | memory[at + 1] << 8) == wanted) {
            committed = std::chrono::steady_clock::now();
        }
    });
    QDBusConnection client =
        QDBusConnection::connectToBus(program.BusAddress(), QStringLiteral("bench-script"));
    std::chrono::duration<double> latency{0};
    std::chrono::duration<double> floor{0};
    int dpi = 800;
    for (auto _ : state) {
        dpi = dpi == 800 ? 1600 : 800;
        {
            std::lock_guard guard(lock);
            wanted = dpi;
            committed.reset();
        }
        QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(q407::app::kBusService),
            QString::fromLatin1(q407::app::kDevicePathPrefix) + QString::number(page),
            QString::fromLatin1(q407::app::kMouseInterface), QStringLiteral("SetDpi"));
        call.setArguments({0, dpi});
        q407::bench::FloorSinceLastCall(mouse->Firmware());
        const auto start = std::chrono::steady_clock::now();
        QDBusPendingCall pending = client.asyncCall(call, 5000);
        if (!WaitFor([&] { return pending.isFinished(); }, 6000) || pending.isError()) {
            state.SkipWithError("the call failed");
            return;
        }
        std::optional<std::chrono::steady_clock::time_point> end;
        {
            std::lock_guard guard(lock);
            end = committed;
        }
        if (!end) {
            state.SkipWithError("the mouse never held the new DPI");
            return;
        }
        const std::chrono::duration<double> spent = *end - start;
        latency += spent;
        // The mouse holds the block once the end request reaches it; the pause the floor counts
        // after that request is the host waiting for its answer.
        floor += q407::bench::FloorSinceLastCall(mouse->Firmware()) - kAnswerPause;
        state.SetIterationTime(spent.count());
    }
    mouse->Firmware().SetCommitHook({});
    QDBusConnection::disconnectFromBus(QStringLiteral("bench-script"));
    const double n = static_cast<double>(state.iterations());
    state.counters["latency_ms"] = latency.count() * 1e3 / n;
    state.counters["floor_ms"] = floor.count() * 1e3 / n;
    state.counters["ratio_to_floor"] = floor.count() > 0 ? latency / floor : 0;
    state.counters["goal_ms"] = 1.1 * floor.count() * 1e3 / n + 5;
}
BENCHMARK(BM_BusDpiSetToDevice)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// An OpenRGB SDK client sets every key of the keyboard (range 0 by cable, 1 through its
// receiver) with UpdateLEDs: latency_ms from the packet leaving the client until the simulated
// keyboard completed a streamed frame with the new colour, on the 1 ms USB frame link; floor_ms
// is the frame's own transfer (two link frames per light-stream transaction). Goal: latency
// <= one stream period (10 ms by cable, 50 ms through the receiver) + 5 ms.
void BM_SdkUpdateLedsToFrame(benchmark::State& state) {
    constexpr int kProbeKey = 51; // a letter key every layout has
    const bool receiver = state.range(0) == 1;
    Program program;
    if (!program.Ready()) {
        state.SkipWithError("the program did not start");
        return;
    }
    auto keyboard = program.Plug(receiver ? SimProduct::KeyboardKReceiver : SimProduct::KeyboardK);
    const int page = program.ActivePage(q407::devices::kKindKeyboard);
    if (page < 0) {
        state.SkipWithError("the keyboard page never showed");
        return;
    }
    keyboard->SetLink({std::chrono::microseconds(0), q407::bench::kLinkFrame});
    q407::app::OpenRgbSdkServer server(*program.Window().Pages());
    QTcpSocket client;
    if (!server.Listen(0)) {
        state.SkipWithError("the server cannot listen");
        return;
    }
    client.connectToHost(QHostAddress::LocalHost, server.Port());
    // The keyboard is listed once it has told which keys have lights, which takes a while
    // through the receiver.
    std::vector<int> controllers;
    const auto listed = [&] {
        controllers = server.ControllerPages();
        return std::find(controllers.begin(), controllers.end(), page) != controllers.end();
    };
    if (!WaitFor([&] { return server.ClientCount() == 1; }, 5000) || !WaitFor(listed, 10000)) {
        state.SkipWithError("the client did not get through");
        return;
    }
    const auto device = static_cast<std::uint32_t>(
        std::find(controllers.begin(), controllers.end(), page) - controllers.begin());
    const std::size_t leds = server.LedsOf(page).size();
    auto& model =
        static_cast<q407::devices::KeyboardModel&>(program.Window().Pages()->Page(page)->Model());
    const std::size_t at = 3U * model.LedMap()[kProbeKey];
    const auto send = [&](std::uint8_t red) {
        std::vector<std::uint8_t> payload =
            q407::devices::sdk::EncodeU32(static_cast<std::uint32_t>(4 + 2 + 4 * leds));
        payload.push_back(static_cast<std::uint8_t>(leds & 0xFF));
        payload.push_back(static_cast<std::uint8_t>(leds >> 8));
        for (std::size_t i = 0; i < leds; ++i) {
            payload.insert(payload.end(), {red, 0x20, 0x40, 0});
        }
        const auto packet =
            q407::devices::sdk::EncodePacket(device, q407::devices::sdk::kUpdateLeds, payload);
        client.write(reinterpret_cast<const char*>(packet.data()),
                     static_cast<qint64>(packet.size()));
        client.flush();
    };
    // The first colours take the lights over (the keyboard is told to take streamed frames).
    send(1);
    RunFor(500);

    // The frames as the keyboard completes them, watched from a thread of their own.
    std::atomic<int> wanted{-1};
    std::atomic<std::int64_t> seenAt{0};
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        int frames = keyboard->Firmware().LightFramesCompleted();
        while (!done.load()) {
            const int now = keyboard->Firmware().LightFramesCompleted();
            if (now != frames) {
                frames = now;
                const auto frame = keyboard->Firmware().LightFrame();
                if (wanted.load() >= 0 && at < frame.size() && frame[at] == wanted.load() &&
                    seenAt.load() == 0) {
                    seenAt = std::chrono::steady_clock::now().time_since_epoch().count();
                }
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    std::chrono::duration<double> latency{0};
    std::chrono::duration<double> floor{0};
    std::uint8_t red = 1;
    for (auto _ : state) {
        red = static_cast<std::uint8_t>(red == 0xF0 ? 2 : red + 1);
        seenAt = 0;
        wanted = red;
        keyboard->Firmware().ClearRequests();
        const auto start = std::chrono::steady_clock::now();
        send(red);
        if (!WaitFor([&] { return seenAt.load() != 0; }, 2000)) {
            done = true;
            watcher.join();
            state.SkipWithError("the colour never reached the keyboard");
            return;
        }
        const std::chrono::duration<double> spent =
            std::chrono::steady_clock::time_point(
                std::chrono::steady_clock::duration(seenAt.load())) -
            start;
        latency += spent;
        // One frame's transactions (the chunks of the frame before may still have been going).
        const int chunks = keyboard->Firmware().RequestCount(q407::protocol::kCmdLightStream);
        const std::size_t chunk = receiver ? 24 : 56;
        const auto perFrame = static_cast<int>((model.StreamBuffer().size() + chunk - 1) / chunk);
        floor += 2 * std::min(chunks, perFrame) * q407::bench::kLinkFrame;
        state.SetIterationTime(spent.count());
        // Frames no closer than the stream period, as a client animating would send them.
        RunFor(receiver ? 60 : 15);
    }
    done = true;
    watcher.join();
    const double n = static_cast<double>(state.iterations());
    state.counters["latency_ms"] = latency.count() * 1e3 / n;
    state.counters["floor_ms"] = floor.count() * 1e3 / n;
    state.counters["goal_ms"] = (receiver ? 50 : 10) + 5;
}
BENCHMARK(BM_SdkUpdateLedsToFrame)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);

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
