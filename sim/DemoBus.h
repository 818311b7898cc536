#pragma once

// The bus q407-demo runs on: the real program's discovery, pages and UI see simulated products
// exactly as they would see hardware.

#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace q407::sim {

class DemoTypist;

// One simulated product of each kind (mouse A by cable, mouse B behind its receiver, keyboard K
// by cable, the mouse pad, the headset) plugged into a new virtual bus. Keep the whole struct
// alive while the bus is in use: the products answer the program's commands. Someone types on
// the keyboard now and then (its key reports start the reactive light modes).
struct DemoBus {
    std::shared_ptr<VirtualHidBus> bus;
    std::vector<std::shared_ptr<SimulatedProduct>> products;
    std::shared_ptr<DemoTypist> typist;
};
// With a state folder, each product starts with the memories it kept there (a file named after
// the product) and keeps them there after every configuration it takes, so settings written to
// the simulated devices survive a restart of the demo, as they would on hardware.
DemoBus MakeDemoBus(const std::filesystem::path& stateFolder = {});

} // namespace q407::sim
