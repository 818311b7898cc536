#pragma once

// The device API on the instance's bus name: the manager object at kBusPath lists the connected
// products, each of which is an object kDevicePathPrefix + its page index with the product's
// values as properties and methods to change them (packaging/dbus/org.q407.Q407.Device.xml
// describes the interfaces, and is what introspection shows). Every change goes through the same
// page operation a click in the window uses, so it is stored in the profile, written to the
// device and shown in the window; arguments are checked first, so a refused call changes
// nothing. What the API shows is compared with what it showed last after every call and after
// every change notice (ScheduleUpdate: the window's controls, the device's own buttons, its
// battery, a product coming or going); an idle program does no work for the bus.

#include "app/InstanceBus.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <functional>
#include <map>
#include <mutex>
#include <span>

namespace q407::app {

class DevicePages;

inline constexpr const char* kManagerInterface = "org.q407.Q407.Manager";
inline constexpr const char* kDeviceInterface = "org.q407.Q407.Device";
inline constexpr const char* kMouseInterface = "org.q407.Q407.Mouse";
inline constexpr const char* kKeyboardInterface = "org.q407.Q407.Keyboard";
inline constexpr const char* kHeadsetInterface = "org.q407.Q407.Headset";
inline constexpr const char* kLightInterface = "org.q407.Q407.Light";
inline constexpr const char* kDevicePathPrefix = "/org/q407/Q407/device/";

inline constexpr const char* kErrorOutOfRange = "org.q407.Q407.Error.OutOfRange";
inline constexpr const char* kErrorWrongKind = "org.q407.Q407.Error.WrongKind";
inline constexpr const char* kErrorDeviceGone = "org.q407.Q407.Error.DeviceGone";
inline constexpr const char* kErrorWriteFailed = "org.q407.Q407.Error.WriteFailed";
inline constexpr const char* kErrorRefused = "org.q407.Q407.Error.Refused";

// Reports per second of the mouse's report-rate choices through a connection (1 cable,
// 2 receiver): the receiver offers two more.
std::span<const int> ReportRatesOf(int connection);

// The interface elements of the installed introspection file, by interface name.
QString InterfaceXml(const char* interface);

class DeviceBus : public QObject, public BusExtension {
    Q_OBJECT
public:
    // Serves the calls `bus` does not take itself for the pages of `pages`; both outlive it.
    DeviceBus(InstanceBus& bus, DevicePages& pages);
    ~DeviceBus() override;
    DeviceBus(const DeviceBus&) = delete;
    DeviceBus& operator=(const DeviceBus&) = delete;

    QString Introspect(const QString& path) const override;
    void HandleCall(const QDBusMessage& call, const QDBusConnection& connection) override;

    // Tells the bus what changed since the last time: DeviceAdded and DeviceRemoved on the
    // manager, PropertiesChanged on the devices.
    void Publish();
    // Something the API shows may have changed: Publish runs once the event loop is free, once
    // for any number of notices before it.
    void ScheduleUpdate();
    // What the window does for a profile reset besides the page's part; run for the API's
    // resets too.
    void SetPageResetHook(std::function<void()> hook) { m_pageReset = std::move(hook); }

private:
    struct Shown {
        std::map<QString, QVariantMap> interfaces; // interface name -> properties
    };
    bool IsOnBus(int pageIndex) const;
    Shown Snapshot(int pageIndex) const;
    QDBusMessage Answer(const QDBusMessage& call, int pageIndex);

    InstanceBus& m_bus;
    DevicePages& m_pages;
    QTimer m_timer; // single shot: the pending Publish of ScheduleUpdate
    std::function<void()> m_pageReset;
    std::map<int, Shown> m_shown;
    // The interfaces of the pages on the bus, for introspection on the bus's thread.
    mutable std::mutex m_nodesLock;
    std::map<int, QStringList> m_nodes;
};

} // namespace q407::app
