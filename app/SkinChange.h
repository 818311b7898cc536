#pragma once

// A change of the main window's background, sent by the skin chooser to its receivers (the main
// window) through one process-wide subject.

#include <QString>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace q407::app {

struct SkinChangedParam {
    bool useColour = false;
    std::uint32_t colour = 0; // 0xAARRGGBB
    QString image;            // a skin image description or a file path
};

template <typename ReturnT, typename Param>
class ObserverImpl;

// Something that takes what a subject broadcasts; it leaves its subject when it goes.
template <typename ReturnT, typename Param>
class ReceiverImpl {
public:
    ReceiverImpl() = default;
    ReceiverImpl(const ReceiverImpl&) = delete;
    ReceiverImpl& operator=(const ReceiverImpl&) = delete;
    virtual ~ReceiverImpl() {
        if (m_subject != nullptr) {
            m_subject->RemoveReceiver(this);
        }
    }
    virtual ReturnT Receive(Param param) = 0;
    void SetSubject(ObserverImpl<ReturnT, Param>* subject) { m_subject = subject; }

private:
    ObserverImpl<ReturnT, Param>* m_subject = nullptr;
};

template <typename ReturnT, typename Param>
class ObserverImpl {
public:
    using Receiver = ReceiverImpl<ReturnT, Param>;

    void AddReceiver(Receiver* receiver) {
        if (receiver != nullptr && !Has(receiver)) {
            m_receivers.push_back(receiver);
            receiver->SetSubject(this);
        }
    }
    void RemoveReceiver(Receiver* receiver) {
        if (Has(receiver)) {
            m_receivers.erase(std::find(m_receivers.begin(), m_receivers.end(), receiver));
            receiver->SetSubject(nullptr);
        }
    }
    // Hands `param` to every receiver in the order they were added; one that a receiver removed
    // meanwhile is skipped.
    void Broadcast(const Param& param) {
        const std::vector<Receiver*> receivers = m_receivers;
        for (Receiver* receiver : receivers) {
            if (Has(receiver)) {
                receiver->Receive(param);
            }
        }
    }
    std::size_t ReceiverCount() const { return m_receivers.size(); }

private:
    bool Has(const Receiver* receiver) const {
        return std::find(m_receivers.begin(), m_receivers.end(), receiver) != m_receivers.end();
    }
    std::vector<Receiver*> m_receivers;
};

using SkinChangedSubject = ObserverImpl<int, SkinChangedParam>;
using SkinChangedReceiver = ReceiverImpl<int, SkinChangedParam>;

// The process's subject, made on first use.
SkinChangedSubject& SkinChanges();

} // namespace q407::app
