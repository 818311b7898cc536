// q407-demo: the same program, on the virtual HID bus with one simulated product of each kind
// instead of hidraw, and a simulated sound card for the headset.
#include "app/Startup.h"
#include "common/Paths.h"
#include "sim/DemoBus.h"
#include "sim/SimulatedAudioConfLib.h"

int main(int argc, char** argv) {
    q407::app::StartupOptions options;
    options.makeBackend = [] {
        // The products answer the program's commands, so they live as long as the bus.
        // What the program writes to the products is kept beside the user's profiles, so the
        // products come back as they were left.
        auto demo = std::make_shared<q407::sim::DemoBus>(
            q407::sim::MakeDemoBus(q407::paths::UserDir() / "demo-devices"));
        return std::shared_ptr<q407::hid::HidBackend>(demo, demo->bus.get());
    };
    options.makeAudioLibrary = []() -> std::shared_ptr<q407::devices::AudioConfLib> {
        // The headset's sound card keeps its settings beside the simulated products.
        auto library = std::make_shared<q407::sim::SimulatedAudioConfLib>();
        library->KeepIn(q407::paths::UserDir() / "demo-devices" / "headset-sound-card.json");
        return library;
    };
    return q407::app::RunQ407(argc, argv, options);
}
