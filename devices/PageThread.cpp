#include "devices/PageThread.h"

#include "common/Diag.h"

namespace q407::devices {

PageThread::~PageThread() {
    if (m_shared) {
        m_shared->stop.Set();
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    JoinStraggler();
}

void PageThread::JoinStraggler() {
    if (m_straggler.joinable()) {
        m_straggler.join();
    }
}

void PageThread::Start(std::function<void(const Event& stop)> body) {
    if (m_shared) {
        Stop(std::chrono::milliseconds(1000));
    }
    JoinStraggler();
    auto shared = std::make_shared<Shared>();
    m_shared = shared;
    m_thread = std::thread([shared, body = std::move(body)] {
        body(shared->stop);
        shared->finished.Set();
    });
}

PageThread::StopResult PageThread::Stop(std::chrono::milliseconds bound,
                                        const std::function<void()>& wake) {
    if (!m_shared) {
        return StopResult::NotStarted;
    }
    m_shared->stop.Set();
    if (wake) {
        wake();
    }
    StopResult result = StopResult::Ended;
    if (m_thread.joinable()) {
        if (m_shared->finished.Wait(bound)) {
            m_thread.join();
            diag::Line("线程退出：：对象处于激发状态\n");
        } else {
            diag::Line("线程退出：：对象处于非激发状态，超时\n");
            JoinStraggler();
            m_straggler = std::move(m_thread);
            result = StopResult::TimedOut;
        }
    }
    m_shared.reset();
    return result;
}

bool PageThread::IsRunning() const {
    return m_shared != nullptr && !m_shared->finished.IsSet();
}

} // namespace q407::devices
