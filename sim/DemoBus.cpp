#include "sim/DemoBus.h"

namespace q407::sim {

DemoBus MakeDemoBus() {
    DemoBus demo;
    demo.bus = std::make_shared<VirtualHidBus>();
    for (const SimProduct product :
         {SimProduct::MouseA, SimProduct::MouseBReceiver, SimProduct::KeyboardK,
          SimProduct::MousePad, SimProduct::Headset}) {
        auto simulated = SimulatedProduct::Create(product);
        simulated->PlugInto(*demo.bus);
        demo.products.push_back(std::move(simulated));
    }
    return demo;
}

} // namespace q407::sim
