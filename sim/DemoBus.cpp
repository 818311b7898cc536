#include "sim/DemoBus.h"

#include "common/AtomicFile.h"
#include "common/Event.h"

#include <array>
#include <cctype>
#include <thread>

namespace q407::sim {
namespace {

std::filesystem::path StateFile(const std::filesystem::path& folder, const std::string& name) {
    std::string file;
    for (const char c : name) {
        file += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
    }
    return folder / (file + ".mem");
}

void KeepState(SimulatedProduct& product, const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::filesystem::path file = StateFile(folder, product.Firmware().Memory().name);
    if (const auto kept = ReadFileBounded(file, 1 << 20)) {
        const std::vector<std::uint8_t> bytes(kept->begin(), kept->end());
        product.Firmware().RestoreState(bytes); // a damaged file leaves the factory memories
    }
    product.Firmware().SetCommitHook([file](std::vector<std::uint8_t> state) {
        WriteFileAtomically(file, std::string(state.begin(), state.end()));
    });
}

} // namespace

// Types "Q407 DEMO " on the keyboard, one key every 300 ms, each held for 120 ms, until the bus
// goes.
class DemoTypist {
public:
    explicit DemoTypist(std::shared_ptr<SimulatedProduct> keyboard)
        : m_keyboard(std::move(keyboard)), m_thread([this] { Run(); }) {}
    ~DemoTypist() {
        m_stop.Set();
        m_thread.join();
    }
    DemoTypist(const DemoTypist&) = delete;
    DemoTypist& operator=(const DemoTypist&) = delete;

private:
    void Run() {
        // Key positions of keyboard K (they follow its logical keys): Q 4 0 7 space D E M O space.
        constexpr std::array<int, 10> kPhrase{43, 25, 31, 28, 108, 66, 45, 91, 51, 108};
        for (std::size_t at = 0; !m_stop.Wait(std::chrono::milliseconds(180)); ++at) {
            const int key = kPhrase[at % kPhrase.size()];
            m_keyboard->EmitKeyPress(key);
            if (m_stop.Wait(std::chrono::milliseconds(120))) {
                break;
            }
            m_keyboard->EmitKeyKind2(key);
        }
    }

    std::shared_ptr<SimulatedProduct> m_keyboard;
    Event m_stop{Event::Reset::Manual};
    std::thread m_thread;
};

DemoBus MakeDemoBus(const std::filesystem::path& stateFolder) {
    DemoBus demo;
    demo.bus = std::make_shared<VirtualHidBus>();
    for (const SimProduct product :
         {SimProduct::MouseA, SimProduct::MouseBReceiver, SimProduct::KeyboardK,
          SimProduct::MousePad, SimProduct::Headset}) {
        auto simulated = SimulatedProduct::Create(product);
        if (!stateFolder.empty()) {
            KeepState(*simulated, stateFolder);
        }
        simulated->PlugInto(*demo.bus);
        if (product == SimProduct::KeyboardK) {
            demo.typist = std::make_shared<DemoTypist>(simulated);
        }
        demo.products.push_back(std::move(simulated));
    }
    return demo;
}

} // namespace q407::sim
