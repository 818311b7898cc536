#include "app/DirectBusSender.h"

#include <dbus/dbus.h>

namespace q407::app {

DirectBusSender::~DirectBusSender() {
    if (m_connection != nullptr) {
        dbus_connection_close(m_connection);
        dbus_connection_unref(m_connection);
    }
}

bool DirectBusSender::Connect(std::string& reason) {
    DBusError error;
    dbus_error_init(&error);
    m_connection = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
    if (m_connection == nullptr) {
        reason = error.message != nullptr ? error.message : "no session bus";
        dbus_error_free(&error);
        return false;
    }
    // Losing the bus ends the program through its own checks, not libdbus's exit().
    dbus_connection_set_exit_on_disconnect(m_connection, FALSE);
    return true;
}

bool DirectBusSender::Send(const char* service, const char* path, const char* interface,
                           const char* member, std::int64_t kind,
                           std::span<const std::uint8_t> bytes) {
    if (m_connection == nullptr || !dbus_connection_get_is_connected(m_connection)) {
        return false;
    }
    DBusMessage* message = dbus_message_new_method_call(service, path, interface, member);
    if (message == nullptr) {
        return false;
    }
    dbus_message_set_no_reply(message, TRUE);
    dbus_message_set_auto_start(message, FALSE);
    const dbus_int64_t value = kind;
    const std::uint8_t* data = bytes.data();
    const int size = static_cast<int>(bytes.size());
    bool sent = dbus_message_append_args(message, DBUS_TYPE_INT64, &value, DBUS_TYPE_ARRAY,
                                         DBUS_TYPE_BYTE, &data, size, DBUS_TYPE_INVALID) &&
                dbus_connection_send(m_connection, message, nullptr);
    dbus_message_unref(message);
    if (sent) {
        dbus_connection_flush(m_connection);
    }
    // Nothing is meant to arrive here; whatever does (the bus' greeting, a stray answer) is read
    // now and then and dropped, so it never piles up.
    if (++m_sent % kDrainEvery == 0) {
        dbus_connection_read_write(m_connection, 0);
        while (DBusMessage* incoming = dbus_connection_pop_message(m_connection)) {
            dbus_message_unref(incoming);
        }
    }
    return sent;
}

} // namespace q407::app
