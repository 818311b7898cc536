#include "sim/SimulatedProduct.h"

#include "hid/DeviceTable.h"
#include "hid/HidPath.h"

#include <algorithm>

namespace q407::sim {

namespace {

using Clock = std::chrono::steady_clock;

FirmwareSpec SaneSpecOf(SimProduct product) {
    switch (product) {
    case SimProduct::MouseA:
        return SaneMouseA(false);
    case SimProduct::MouseAReceiver:
        return SaneMouseA(true);
    case SimProduct::MouseBReceiver:
        return SaneMouseB();
    case SimProduct::KeyboardK:
        return SaneKeyboard(false);
    case SimProduct::KeyboardKReceiver:
        return SaneKeyboard(true);
    case SimProduct::MousePad:
        return SaneMousePad();
    case SimProduct::Headset:
        return SaneHeadset();
    }
    return {};
}

// The next frame boundary strictly after `now`.
Clock::time_point NextBoundary(Clock::time_point epoch, Clock::duration period,
                               Clock::time_point now) {
    const auto frames = (now - epoch) / period + 1;
    return epoch + frames * period;
}

} // namespace

std::shared_ptr<SimulatedProduct> SimulatedProduct::Create(SimProduct product, FirmwareSpec spec) {
    std::shared_ptr<SimulatedProduct> self(new SimulatedProduct(product, std::move(spec)));
    const std::weak_ptr<SimulatedProduct> weak = self;
    self->CommandInterface()->SetOutputHandler(
        [weak](VirtualHidDevice&, std::span<const std::uint8_t> report) {
            if (const auto alive = weak.lock()) {
                alive->OnRequest(report);
            }
        });
    return self;
}

std::shared_ptr<SimulatedProduct> SimulatedProduct::Create(SimProduct product) {
    return Create(product, SaneSpecOf(product));
}

SimulatedProduct::SimulatedProduct(SimProduct product, FirmwareSpec spec)
    : m_product(product), m_firmware(std::move(spec)), m_epoch(Clock::now()) {
    auto infos = InterfacesOfProduct(product);
    // The USB release number carries the firmware version, as the device information does.
    const auto& deviceInfo = m_firmware.Memory().deviceInfo;
    for (auto& info : infos) {
        info.version = static_cast<std::uint16_t>(deviceInfo[0] << 8 | deviceInfo[1]);
        m_interfaces.push_back(std::make_shared<VirtualHidDevice>(info));
    }
    // Which interface and collection carry commands and events: the product's table rows.
    const auto& first = infos.front();
    for (const auto& row : hid::SupportedDevices()) {
        if (row.vendorId != first.vendorId || row.productId != first.productId) {
            continue;
        }
        for (std::size_t i = 0; i < infos.size(); ++i) {
            if (infos[i].interfaceNumber != row.interfaceNumber) {
                continue;
            }
            if (row.interfaceRole == hid::kRoleCommand) {
                m_commandIndex = i;
                m_commandCollection = row.collectionNumber;
            } else {
                m_eventIndex = i;
                m_eventCollection = row.collectionNumber;
            }
        }
    }
    m_delivery = std::thread([this] { DeliveryLoop(); });
}

SimulatedProduct::~SimulatedProduct() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_delivery.join();
    CommandInterface()->SetOutputHandler({});
}

std::shared_ptr<VirtualHidDevice> SimulatedProduct::CommandInterface() const {
    return m_interfaces[m_commandIndex];
}

std::shared_ptr<VirtualHidDevice> SimulatedProduct::EventInterface() const {
    return m_interfaces[m_eventIndex];
}

bool SimulatedProduct::PlugInto(VirtualHidBus& bus) {
    for (const auto& device : m_interfaces) {
        if (bus.Plug(device).empty()) {
            return false;
        }
    }
    // Only a weak hold on the product: the action may outlive it.
    const std::weak_ptr<SimulatedProduct> weak = weak_from_this();
    SetUnplugAction([&bus, weak] {
        if (const auto self = weak.lock()) {
            for (const auto& device : self->Interfaces()) {
                bus.Unplug(device);
            }
        }
    });
    return true;
}

std::string SimulatedProduct::PathOf(const VirtualHidBus& bus,
                                     const std::shared_ptr<VirtualHidDevice>& device,
                                     std::uint16_t collection) const {
    for (const auto& path : bus.PathsOf(device)) {
        const std::uint16_t number = hid::CollectionNumberFromPath(path);
        if (number == collection || (number == 0 && collection == 1)) {
            return path;
        }
    }
    return {};
}

std::string SimulatedProduct::CommandPath(const VirtualHidBus& bus) const {
    return PathOf(bus, CommandInterface(), m_commandCollection);
}

std::string SimulatedProduct::EventPath(const VirtualHidBus& bus) const {
    return PathOf(bus, EventInterface(), m_eventCollection);
}

void SimulatedProduct::Unplug() {
    std::function<void()> action;
    {
        std::lock_guard lock(m_mutex);
        action = m_unplugAction;
        m_pending.clear();
    }
    if (action) {
        action();
    }
}

void SimulatedProduct::SetUnplugAction(std::function<void()> action) {
    std::lock_guard lock(m_mutex);
    m_unplugAction = std::move(action);
}

void SimulatedProduct::SetLink(const LinkModel& link) {
    std::lock_guard lock(m_mutex);
    m_link = link;
}

void SimulatedProduct::DelayAnswers(int count, std::chrono::milliseconds delay) {
    std::lock_guard lock(m_mutex);
    m_delayCount = count;
    m_delay = delay;
}

void SimulatedProduct::UnplugAtRequest(int count) {
    std::lock_guard lock(m_mutex);
    m_unplugAt = count;
}

void SimulatedProduct::OnRequest(std::span<const std::uint8_t> report) {
    LinkModel link;
    bool unplug = false;
    std::chrono::milliseconds delay{0};
    {
        std::lock_guard lock(m_mutex);
        link = m_link;
        if (m_unplugAt >= 0) {
            unplug = m_unplugAt-- == 0;
        }
        if (m_delayCount > 0) {
            --m_delayCount;
            delay = m_delay;
        }
    }
    if (unplug) {
        Unplug();
        return;
    }
    auto arrived = Clock::now();
    if (link.framePeriod.count() > 0) {
        // The write completes when its frame goes out.
        arrived = NextBoundary(m_epoch, link.framePeriod, arrived);
        std::this_thread::sleep_until(arrived);
    }
    const auto answers = m_firmware.Respond(report);
    auto due = arrived + link.answerLatency + delay;
    for (const auto& answer : answers) {
        if (link.framePeriod.count() > 0) {
            due = NextBoundary(m_epoch, link.framePeriod, due);
        }
        Deliver(answer, due);
    }
}

void SimulatedProduct::Deliver(const protocol::Report& answer, Clock::time_point due) {
    {
        std::lock_guard lock(m_mutex);
        // Answers keep their order: none overtakes one already waiting.
        const bool queueEmpty = m_pending.empty();
        if (!queueEmpty || due > Clock::now()) {
            if (!queueEmpty) {
                due = std::max(due, std::prev(m_pending.end())->first);
            }
            m_pending.emplace(due, answer);
            m_wake.notify_all();
            return;
        }
    }
    CommandInterface()->SendInputReport(answer);
}

void SimulatedProduct::DeliveryLoop() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_stopping) {
            return;
        }
        if (m_pending.empty()) {
            m_wake.wait(lock);
            continue;
        }
        const auto due = m_pending.begin()->first;
        if (Clock::now() < due) {
            m_wake.wait_until(lock, due);
            continue;
        }
        const protocol::Report answer = m_pending.begin()->second;
        m_pending.erase(m_pending.begin());
        const auto device = CommandInterface();
        lock.unlock();
        device->SendInputReport(answer);
        lock.lock();
    }
}

bool SimulatedProduct::EmitEvent(std::uint16_t value) {
    const std::uint8_t report[3] = {kEventReportId, static_cast<std::uint8_t>(value & 0xFF),
                                    static_cast<std::uint8_t>(value >> 8)};
    return EventInterface()->SendInputReport(report);
}

bool SimulatedProduct::EmitProfileSwitch(int slot) {
    return EmitEvent(static_cast<std::uint16_t>(0x1000 | (slot & 0x0F)));
}

bool SimulatedProduct::EmitProfileAndStage(int slot, int stage) {
    return EmitEvent(static_cast<std::uint16_t>(0x1100 | ((stage & 0x0F) << 4) | (slot & 0x0F)));
}

bool SimulatedProduct::PressProfileButton(int slot) {
    return EmitEvent(m_firmware.PressButton(slot, -1));
}

bool SimulatedProduct::PressDpiButton(int slot, int stage) {
    return EmitEvent(m_firmware.PressButton(slot, stage < 0 ? 0 : stage));
}

bool SimulatedProduct::EmitKeyPress(int position) {
    return EmitEvent(static_cast<std::uint16_t>(0x0500 + (position & 0xFF)));
}

bool SimulatedProduct::EmitKeyKind2(int position) {
    return EmitEvent(static_cast<std::uint16_t>(0x0600 + (position & 0xFF)));
}

std::vector<std::shared_ptr<UhidBridge>>
PutOnKernel(const std::shared_ptr<SimulatedProduct>& product, std::string* error) {
    std::vector<std::shared_ptr<UhidBridge>> bridges;
    for (const auto& device : product->Interfaces()) {
        std::shared_ptr<UhidBridge> bridge = UhidBridge::Create(device, error);
        if (!bridge || bridge->WaitForNode(std::chrono::seconds(10)).empty()) {
            if (bridge && error != nullptr) {
                *error = "no hidraw node appeared for " + device->Info().name;
            }
            return {};
        }
        bridges.push_back(std::move(bridge));
    }
    std::vector<std::weak_ptr<UhidBridge>> weak(bridges.begin(), bridges.end());
    product->SetUnplugAction([weak] {
        for (const auto& bridge : weak) {
            if (const auto alive = bridge.lock()) {
                alive->Destroy();
            }
        }
    });
    return bridges;
}

} // namespace q407::sim
