#include "sim/DemoBus.h"

#include "common/AtomicFile.h"

#include <cctype>

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
        demo.products.push_back(std::move(simulated));
    }
    return demo;
}

} // namespace q407::sim
