#pragma once

// A protocol object attached to one simulated product on a virtual bus, with a pacer that
// records the pauses instead of sleeping, so the cases run fast and can check the pauses.

#include "common/Diag.h"
#include "protocol/CDeviceProtocol.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <vector>

namespace q407::testing {

class RecordingPacer final : public protocol::Pacer {
public:
    void Pause(std::chrono::milliseconds duration) override {
        std::lock_guard lock(m_mutex);
        m_pauses.push_back(duration);
    }
    std::vector<std::chrono::milliseconds> Pauses() const {
        std::lock_guard lock(m_mutex);
        return m_pauses;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::chrono::milliseconds> m_pauses;
};

inline bool IsReceiver(sim::SimProduct product) {
    return product == sim::SimProduct::MouseAReceiver ||
           product == sim::SimProduct::MouseBReceiver ||
           product == sim::SimProduct::KeyboardKReceiver;
}

struct ProtocolRig {
    explicit ProtocolRig(sim::SimProduct which)
        : ProtocolRig(sim::SimulatedProduct::Create(which)) {}
    explicit ProtocolRig(std::shared_ptr<sim::SimulatedProduct> simulated)
        : product(std::move(simulated)), protocol(bus, pacer) {
        EXPECT_TRUE(product->PlugInto(bus));
        const int mode =
            IsReceiver(product->Product()) ? protocol::kModeReceiver : protocol::kModeCable;
        EXPECT_TRUE(protocol.Attach(mode, product->CommandPath(bus)));
        // Short time-outs keep the no-answer cases quick; the rules do not depend on them.
        protocol::TransactTimeouts timeouts;
        timeouts.cableRead = 150;
        timeouts.receiverRead = 150;
        protocol.SetTimeouts(timeouts);
    }

    sim::FirmwareModel& firmware() { return product->Firmware(); }

    sim::VirtualHidBus bus;
    std::shared_ptr<sim::SimulatedProduct> product;
    RecordingPacer pacer;
    protocol::CDeviceProtocol protocol;
};

} // namespace q407::testing
