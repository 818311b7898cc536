#include "app/ThreadSlots.h"

#include "common/Diag.h"

#include <thread>

namespace q407::app {

struct ThreadSlots::Worker {
    q407::Event stop{q407::Event::Reset::Manual};
    q407::Event finished{q407::Event::Reset::Manual};
    std::thread thread;
    std::function<void()> signalStop;
    std::function<bool(std::chrono::milliseconds)> waitEnded;
};

ThreadSlots::~ThreadSlots() {
    for (int slot = 0; slot < kThreadSlotCount; ++slot) {
        if (IsBusy(slot)) {
            StopAll();
            return;
        }
    }
}

bool ThreadSlots::Start(int slot, Body body) {
    if (slot < 0 || slot >= kThreadSlotCount || IsBusy(slot) || !body) {
        return false;
    }
    auto worker = std::make_shared<Worker>();
    // The thread shares the worker's state, so a straggler left running after its wait still
    // finds its events alive.
    worker->thread = std::thread([worker, body = std::move(body)] {
        body(worker->stop);
        worker->finished.Set();
    });
    m_slots[static_cast<std::size_t>(slot)] = std::move(worker);
    return true;
}

bool ThreadSlots::Adopt(int slot, std::function<void()> signalStop,
                        std::function<bool(std::chrono::milliseconds)> waitEnded) {
    if (slot < 0 || slot >= kThreadSlotCount || IsBusy(slot) || !signalStop || !waitEnded) {
        return false;
    }
    auto worker = std::make_shared<Worker>();
    worker->signalStop = std::move(signalStop);
    worker->waitEnded = std::move(waitEnded);
    m_slots[static_cast<std::size_t>(slot)] = std::move(worker);
    return true;
}

bool ThreadSlots::IsBusy(int slot) const {
    return slot >= 0 && slot < kThreadSlotCount &&
           m_slots[static_cast<std::size_t>(slot)] != nullptr;
}

int ThreadSlots::StopAll(std::chrono::milliseconds bound) {
    for (const auto& worker : m_slots) {
        if (worker == nullptr) {
            continue;
        }
        worker->stop.Set();
        if (worker->signalStop) {
            worker->signalStop();
        }
    }
    int stragglers = 0;
    for (int slot = 0; slot < kThreadSlotCount; ++slot) {
        std::shared_ptr<Worker> worker = std::move(m_slots[static_cast<std::size_t>(slot)]);
        if (worker == nullptr) {
            q407::diag::Printf("错误\n%d", slot);
            continue;
        }
        const bool ended =
            worker->waitEnded ? worker->waitEnded(bound) : worker->finished.Wait(bound);
        if (ended) {
            q407::diag::Line("所有对象处于激发状态\n");
            if (worker->thread.joinable()) {
                worker->thread.join();
            }
        } else {
            q407::diag::Line("所有对象处于非激发状态，超时\n");
            if (worker->thread.joinable()) {
                worker->thread.detach();
            }
            ++stragglers;
        }
    }
    return stragglers;
}

} // namespace q407::app
