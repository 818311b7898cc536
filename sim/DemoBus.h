#pragma once

// The bus q407-demo runs on: the real program's discovery, pages and UI see simulated products
// exactly as they would see hardware.

#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"

#include <memory>
#include <vector>

namespace q407::sim {

// One simulated product of each kind (mouse A by cable, mouse B behind its receiver, keyboard K
// by cable, the mouse pad, the headset) plugged into a new virtual bus. Keep the whole struct
// alive while the bus is in use: the products answer the program's commands.
struct DemoBus {
    std::shared_ptr<VirtualHidBus> bus;
    std::vector<std::shared_ptr<SimulatedProduct>> products;
};
DemoBus MakeDemoBus();

} // namespace q407::sim
