#pragma once

// The running instance on the session bus: owning the service name is what makes this process
// the single instance of the user's session, and the object at kBusPath carries the program-wide
// messages of RegisteredMessages.h (methods for received messages, signals for sent ones), so
// outside programs and a shell (gdbus, busctl) can talk to it. Without a session bus the program
// still runs alone: a lock file in the runtime folder then keeps it single.

#include "app/RegisteredMessages.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QDBusMessage;

namespace q407::app {

// Further interfaces on the instance's object and on the objects below its path (the device API
// of DeviceBus.h).
class BusExtension {
public:
    virtual ~BusExtension() = default;
    // The interfaces and child nodes of `path` as introspection XML; called on the bus's thread.
    virtual QString Introspect(const QString& path) const = 0;
    // A call for one of those objects, on the UI thread; the extension sends the reply (or an
    // error) itself.
    virtual void HandleCall(const QDBusMessage& call, const QDBusConnection& connection) = 0;
};

// The bus name of the service tool that asks for the device information (DeviceInfoRequest).
inline constexpr const char* kServiceToolName = "org.q407.ZideZuru";
inline constexpr const char* kDeviceInformationMember = "DeviceInformation";
inline constexpr qint64 kDeviceInformationKind = 5;

class InstanceBus : public QObject {
    Q_OBJECT
public:
    enum class Role { First, Second };
    // Called on the UI thread for every received message; the returned bytes are the method's
    // answer (only the device information request answers with data).
    using Handler = std::function<QByteArray(RegisteredMessage, qint64 wParam, qint64 lParam)>;
    // Data blocks from outside programs (the method "CopyData": a kind and the bytes), called on
    // the UI thread: kind 1 spectrum data, kind 2 light effect data.
    using DataHandler = std::function<void(qint64 kind, const QByteArray& data)>;

    // `connection` is the session bus unless a test hands in a connection of its own.
    explicit InstanceBus(QString serviceName = QString::fromLatin1(kBusService),
                         QString lockFileName = QStringLiteral("Q407.lock"),
                         std::optional<QDBusConnection> connection = std::nullopt);
    ~InstanceBus() override;

    // Claims the instance: the bus name, or the lock file when there is no bus. Second means
    // another instance of this user runs already.
    Role Acquire();
    // Asks the running instance to show itself (ShowInstance with wParam 0, lParam 1).
    bool AskRunningToShow() const;
    void SetHandler(Handler handler) { m_handler = std::move(handler); }
    void SetDataHandler(DataHandler handler) { m_dataHandler = std::move(handler); }
    // Emits a sent message as a signal; false for received messages or without a bus.
    bool Broadcast(RegisteredMessage message, qint64 wParam, qint64 lParam) const;
    // Hands the device information block to the service tool when it is on the bus: the signal
    // "DeviceInformation" (kind 5, the block) addressed to `tool`. False without the tool.
    bool SendDeviceInformation(const QByteArray& block,
                               const QString& tool = QString::fromLatin1(kServiceToolName)) const;
    bool HasBus() const { return m_onBus; }
    // Hands the calls the message interface does not take (other interfaces, the properties
    // interface, objects below kBusPath) to `extension`; nullptr takes it away again, after which
    // such calls get an error. UI thread.
    void SetExtension(BusExtension* extension);
    // The bus this instance is on (helpers it starts join the same one).
    QDBusConnection Connection() const { return m_connection; }
    // Gives up the name or the lock.
    void Release();

    // The introspection of the interface, built from the message table.
    static QString InterfaceXml();

private:
    class BusObject;
    friend class BusObject;
    void Deliver(RegisteredMessage message, qint64 wParam, qint64 lParam,
                 std::function<void(const QByteArray&)> answer);

    QDBusConnection m_connection;
    QString m_serviceName;
    QString m_lockFileName;
    bool m_onBus = false;
    bool m_ownsName = false;
    int m_lockFd = -1;
    Handler m_handler;
    DataHandler m_dataHandler;
    mutable std::mutex m_extensionLock; // the bus's thread introspects through it
    BusExtension* m_extension = nullptr;
    std::unique_ptr<BusObject> m_object;
};

} // namespace q407::app
