#pragma once

// A simulated product: its USB interfaces (VirtualHidDevice, from ProductInterfaces.h), the
// firmware model behind its command collection, the link that carries requests and answers
// (per-report latency, a 1 ms USB frame model, late answers, unplugging mid-command) and the
// event reports it sends by itself on its event collection. It plugs into the VirtualHidBus or,
// interface by interface, into the uhid bridge.

#include "sim/FirmwareModel.h"
#include "sim/ProductInterfaces.h"
#include "sim/UhidBridge.h"
#include "sim/VirtualHidBus.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace q407::sim {

// How the link between host and device carries reports.
struct LinkModel {
    // Added to every answer, counted from the moment the request reached the device.
    std::chrono::microseconds answerLatency{0};
    // Full-speed USB interrupt transfers: a report moves only at a frame boundary. A host write
    // completes at the next boundary; the answer goes out at the boundary after that. Zero: no
    // frame model.
    std::chrono::microseconds framePeriod{0};
};

// Event values a product reports on its event collection.
inline constexpr std::uint16_t kEventResync = 0x0401;
inline constexpr std::uint16_t kEventResyncProfile = 0x0402;
inline constexpr std::uint16_t kEventRipple = 0x0403;
inline constexpr std::uint16_t kEventCounted = 0x0404;

class SimulatedProduct : public std::enable_shared_from_this<SimulatedProduct> {
public:
    // A product with the given firmware (its receiver flag must match the product's interfaces).
    static std::shared_ptr<SimulatedProduct> Create(SimProduct product, FirmwareSpec spec);
    // A product with the sane firmware of its kind.
    static std::shared_ptr<SimulatedProduct> Create(SimProduct product);
    ~SimulatedProduct();
    SimulatedProduct(const SimulatedProduct&) = delete;
    SimulatedProduct& operator=(const SimulatedProduct&) = delete;

    SimProduct Product() const { return m_product; }
    FirmwareModel& Firmware() { return m_firmware; }
    const std::vector<std::shared_ptr<VirtualHidDevice>>& Interfaces() const {
        return m_interfaces;
    }
    // The USB interfaces that carry the command collection and the event collection.
    std::shared_ptr<VirtualHidDevice> CommandInterface() const;
    std::shared_ptr<VirtualHidDevice> EventInterface() const;
    // Top-level collection numbers (1-based) of the two collections on their interfaces.
    std::uint16_t CommandCollection() const { return m_commandCollection; }
    std::uint16_t EventCollection() const { return m_eventCollection; }

    // Plugs every interface into `bus` and lets Unplug() take them out again (`bus` must then
    // outlive the product, or Unplug() must no longer be called).
    bool PlugInto(VirtualHidBus& bus);
    // Interface paths on `bus` of the command and event collections ("" when not plugged).
    std::string CommandPath(const VirtualHidBus& bus) const;
    std::string EventPath(const VirtualHidBus& bus) const;
    // Removes the product from wherever it is plugged (as pulling the cable would).
    void Unplug();
    // What Unplug() does, for products put on the kernel through the uhid bridge.
    void SetUnplugAction(std::function<void()> action);

    // --- Link and link faults -------------------------------------------------------------------
    void SetLink(const LinkModel& link);
    // The next `count` answers arrive `delay` late (after a transaction has given up on them).
    void DelayAnswers(int count, std::chrono::milliseconds delay);
    // The product is unplugged when its `count`-th request from now arrives (0: the next one),
    // before that request is answered.
    void UnplugAtRequest(int count);

    // --- Event reports
    // ---------------------------------------------------------------------------- Sends one event
    // value (report id 5, value low byte first). False when unplugged.
    bool EmitEvent(std::uint16_t value);
    bool EmitResync() { return EmitEvent(kEventResync); }
    bool EmitProfileResync() { return EmitEvent(kEventResyncProfile); }
    bool EmitRipple() { return EmitEvent(kEventRipple); }
    // The profile button: 0x10s0 + slot.
    bool EmitProfileSwitch(int slot);
    // The DPI button: 0x11 in the high byte, stage and slot in the low one.
    bool EmitProfileAndStage(int slot, int stage);
    // The product's own buttons: the firmware changes its memory and reports the event, in the
    // order it was set to (FirmwareModel::SetEventBeforeMemory). False when unplugged.
    bool PressProfileButton(int slot);
    bool PressDpiButton(int slot, int stage);
    // Keyboard keys: pressed 0x0500 + position, kind 2 (0x0600 + position).
    bool EmitKeyPress(int position);
    bool EmitKeyKind2(int position);

private:
    SimulatedProduct(SimProduct product, FirmwareSpec spec);
    void OnRequest(std::span<const std::uint8_t> report);
    void Deliver(const protocol::Report& answer, std::chrono::steady_clock::time_point due);
    void DeliveryLoop();
    std::string PathOf(const VirtualHidBus& bus, const std::shared_ptr<VirtualHidDevice>& device,
                       std::uint16_t collection) const;

    const SimProduct m_product;
    FirmwareModel m_firmware;
    std::vector<std::shared_ptr<VirtualHidDevice>> m_interfaces;
    std::size_t m_commandIndex = 0;
    std::size_t m_eventIndex = 0;
    std::uint16_t m_commandCollection = 0;
    std::uint16_t m_eventCollection = 0;

    std::mutex m_mutex; // everything below
    LinkModel m_link;
    int m_delayCount = 0;
    std::chrono::milliseconds m_delay{0};
    int m_unplugAt = -1;
    std::function<void()> m_unplugAction;
    std::chrono::steady_clock::time_point m_epoch;
    std::multimap<std::chrono::steady_clock::time_point, protocol::Report> m_pending;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_delivery;
};

// Puts every interface of the product on the real kernel through the uhid bridge (each waits for
// its hidraw node); Unplug() then removes them. Empty, with `error` set, when one fails.
std::vector<std::shared_ptr<UhidBridge>>
PutOnKernel(const std::shared_ptr<SimulatedProduct>& product, std::string* error = nullptr);

} // namespace q407::sim
