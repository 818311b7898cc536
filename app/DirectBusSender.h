#pragma once

// Sends data blocks (method calls with a 64-bit kind and a byte array, "xay") on a private
// session bus connection of its own, written out on the calling thread and asking for no answer.
// Qt's connection hands every message to its own thread first: for a stream of blocks, each one a
// wake-up of that thread, more than the block itself costs to make.

#include <cstdint>
#include <span>
#include <string>

struct DBusConnection;

namespace q407::app {

class DirectBusSender {
public:
    DirectBusSender() = default;
    ~DirectBusSender();
    DirectBusSender(const DirectBusSender&) = delete;
    DirectBusSender& operator=(const DirectBusSender&) = delete;

    // Connects to the session bus (DBUS_SESSION_BUS_ADDRESS); false with the reason when it
    // cannot.
    bool Connect(std::string& reason);
    // Calls `member` of `service` with the kind and the bytes; false when the message could not
    // be written (no connection, the bus gone).
    bool Send(const char* service, const char* path, const char* interface, const char* member,
              std::int64_t kind, std::span<const std::uint8_t> bytes);

private:
    static constexpr unsigned kDrainEvery = 64;
    DBusConnection* m_connection = nullptr;
    unsigned m_sent = 0;
};

} // namespace q407::app
