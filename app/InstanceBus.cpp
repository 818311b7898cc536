#include "app/InstanceBus.h"

#include "common/Diag.h"
#include "common/Paths.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <dbus/dbus.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace q407::app {
namespace diag = q407::diag;
namespace {

// The largest data block a program sends is the 4284-byte spectrum; anything far beyond is
// refused before it is handed to the window.
constexpr qsizetype kMaxDataBlockBytes = 64 * 1024;

// libdbus stops reading a connection while the messages it has received but not yet released
// exceed a limit (63 MiB by default), and resumes only when new bytes arrive on the socket:
// messages it had already read then wait, so one large message followed by silence leaves the
// instance deaf (even to AppControl 4). Lowering the largest message size instead makes libdbus
// drop the whole connection, and with it the instance's name. So the limit is raised far above
// the largest message the bus can deliver (128 MiB); oversized blocks are refused in
// HandleCopyData.
constexpr long kReceivedBytesLimit = 1L << 30;

void AllowLargeMessagesThrough(const QDBusConnection& connection) {
    auto* raw = static_cast<DBusConnection*>(connection.internalPointer());
    if (raw != nullptr && dbus_connection_get_max_received_size(raw) < kReceivedBytesLimit) {
        dbus_connection_set_max_received_size(raw, kReceivedBytesLimit);
    }
}

} // namespace

class InstanceBus::BusObject : public QDBusVirtualObject {
public:
    explicit BusObject(InstanceBus& owner) : m_owner(owner) {}

    QString introspect(const QString& path) const override {
        QString xml = path == QLatin1String(kBusPath) ? InstanceBus::InterfaceXml() : QString();
        const std::lock_guard lock(m_owner.m_extensionLock);
        if (m_owner.m_extension != nullptr) {
            xml += m_owner.m_extension->Introspect(path);
        }
        return xml;
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.type() != QDBusMessage::MethodCallMessage) {
            return false;
        }
        const QString& interface = message.interface();
        // The bus library answers introspection and pings itself, from introspect() above.
        if (interface == QLatin1String("org.freedesktop.DBus.Introspectable") ||
            interface == QLatin1String("org.freedesktop.DBus.Peer")) {
            return false;
        }
        const bool messageInterface =
            interface.isEmpty() || interface == QLatin1String(kBusInterface);
        if (message.path() != QLatin1String(kBusPath) || !messageInterface) {
            return Forward(message, connection);
        }
        if (message.member() == QLatin1String(kCopyDataMember)) {
            return HandleCopyData(message, connection);
        }
        const auto id = FromBusMember(message.member().toStdString());
        if (!id || Info(*id).direction != MessageDirection::Received) {
            return interface.isEmpty() ? Forward(message, connection) : false;
        }
        if (message.signature() != QLatin1String("xx")) {
            connection.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                QStringLiteral("expected two 64-bit integers (wParam, lParam)")));
            return true;
        }
        const qint64 wParam = message.arguments().at(0).toLongLong();
        const qint64 lParam = message.arguments().at(1).toLongLong();
        message.setDelayedReply(true);
        const bool answersData = *id == RegisteredMessage::DeviceInfoRequest;
        m_owner.Deliver(*id, wParam, lParam,
                        [message, connection, answersData](const QByteArray& data) {
                            QDBusMessage reply = message.createReply();
                            if (answersData) {
                                reply << data;
                            }
                            QDBusConnection(connection).send(reply);
                        });
        return true;
    }

private:
    // Calls for the extension go to the UI thread, which answers them.
    bool Forward(const QDBusMessage& message, const QDBusConnection& connection) {
        message.setDelayedReply(true);
        QMetaObject::invokeMethod(
            &m_owner,
            [owner = &m_owner, message, connection] {
                if (owner->m_extension != nullptr) {
                    owner->m_extension->HandleCall(message, connection);
                    return;
                }
                const bool ownObject = message.path() == QLatin1String(kBusPath);
                QDBusConnection(connection)
                    .send(message.createErrorReply(
                        ownObject ? QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod")
                                  : QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
                        ownObject ? QStringLiteral("no method %1").arg(message.member())
                                  : QStringLiteral("no object at %1").arg(message.path())));
            },
            Qt::QueuedConnection);
        return true;
    }

    bool HandleCopyData(const QDBusMessage& message, const QDBusConnection& connection) {
        if (message.signature() != QLatin1String("xay")) {
            connection.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                QStringLiteral("expected a 64-bit kind and a byte array")));
            return true;
        }
        const qint64 kind = message.arguments().at(0).toLongLong();
        QByteArray data = message.arguments().at(1).toByteArray();
        if (data.size() > kMaxDataBlockBytes) {
            diag::Printf("data block of %lld bytes refused on the bus",
                         static_cast<long long>(data.size()));
            connection.send(message.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.LimitsExceeded"),
                QStringLiteral("the data block is larger than any the program takes")));
            return true;
        }
        QMetaObject::invokeMethod(
            &m_owner,
            [owner = &m_owner, kind, data = std::move(data)] {
                if (owner->m_dataHandler) {
                    owner->m_dataHandler(kind, data);
                }
            },
            Qt::QueuedConnection);
        // A stream of blocks asks for no answers; one nobody reads is only more work for the bus.
        if (message.isReplyRequired()) {
            connection.send(message.createReply());
        }
        return true;
    }

    InstanceBus& m_owner;
};

InstanceBus::InstanceBus(QString serviceName, QString lockFileName,
                         std::optional<QDBusConnection> connection)
    : m_connection(connection.value_or(QDBusConnection::sessionBus())),
      m_serviceName(std::move(serviceName)), m_lockFileName(std::move(lockFileName)),
      m_object(std::make_unique<BusObject>(*this)) {}

InstanceBus::~InstanceBus() {
    Release();
}

InstanceBus::Role InstanceBus::Acquire() {
    QDBusConnection& bus = m_connection;
    m_onBus = bus.isConnected();
    if (m_onBus) {
        AllowLargeMessagesThrough(bus);
        const auto reply = bus.interface()->registerService(
            m_serviceName, QDBusConnectionInterface::DontQueueService,
            QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
            return Role::Second;
        }
        m_ownsName = true;
        if (!bus.registerVirtualObject(QString::fromLatin1(kBusPath), m_object.get(),
                                       QDBusConnection::SubPath)) {
            diag::Line("cannot register the instance object on the session bus");
        }
        return Role::First;
    }

    diag::Line("no session bus: single instance by lock file");
    const std::string lockPath =
        (q407::paths::RuntimeDir() / m_lockFileName.toStdString()).string();
    m_lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_lockFd < 0) {
        // Like a failed mutex: run, only without single-instance protection.
        return Role::First;
    }
    if (::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
        return Role::Second;
    }
    return Role::First;
}

bool InstanceBus::AskRunningToShow() const {
    if (!m_onBus) {
        return false; // without a bus there is no way to reach the other instance
    }
    QDBusMessage call = QDBusMessage::createMethodCall(m_serviceName, QString::fromLatin1(kBusPath),
                                                       QString::fromLatin1(kBusInterface),
                                                       QStringLiteral("ShowInstance"));
    call << qint64{0} << qint64{1};
    const QDBusMessage reply = m_connection.call(call, QDBus::Block, 5000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool InstanceBus::Broadcast(RegisteredMessage message, qint64 wParam, qint64 lParam) const {
    const auto& info = Info(message);
    if (!m_onBus || info.direction != MessageDirection::Sent) {
        return false;
    }
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kBusPath), QString::fromLatin1(kBusInterface),
        QString::fromLatin1(info.busMember.data(), static_cast<qsizetype>(info.busMember.size())));
    signal << wParam << lParam;
    return m_connection.send(signal);
}

bool InstanceBus::SendDeviceInformation(const QByteArray& block, const QString& tool) const {
    if (!m_onBus || !m_connection.interface()->isServiceRegistered(tool).value()) {
        return false;
    }
    QDBusMessage signal = QDBusMessage::createTargetedSignal(
        tool, QString::fromLatin1(kBusPath), QString::fromLatin1(kBusInterface),
        QString::fromLatin1(kDeviceInformationMember));
    signal << kDeviceInformationKind << block;
    return m_connection.send(signal);
}

void InstanceBus::SetExtension(BusExtension* extension) {
    const std::lock_guard lock(m_extensionLock);
    m_extension = extension;
}

void InstanceBus::Deliver(RegisteredMessage message, qint64 wParam, qint64 lParam,
                          std::function<void(const QByteArray&)> answer) {
    // The bus may call from its own thread; the program handles messages on the UI thread.
    QMetaObject::invokeMethod(
        this,
        [this, message, wParam, lParam, answer = std::move(answer)] {
            answer(m_handler ? m_handler(message, wParam, lParam) : QByteArray());
        },
        Qt::QueuedConnection);
}

void InstanceBus::Release() {
    if (m_ownsName) {
        m_connection.unregisterObject(QString::fromLatin1(kBusPath));
        m_connection.interface()->unregisterService(m_serviceName);
        m_ownsName = false;
    }
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
    }
}

QString InstanceBus::InterfaceXml() {
    QString xml = QStringLiteral("  <interface name=\"%1\">\n").arg(QLatin1String(kBusInterface));
    for (const auto& info : kRegisteredMessages) {
        const QString member = QString::fromLatin1(info.busMember.data(),
                                                   static_cast<qsizetype>(info.busMember.size()));
        if (info.direction == MessageDirection::Sent) {
            xml += QStringLiteral("    <signal name=\"%1\"><arg name=\"wParam\" type=\"x\"/>"
                                  "<arg name=\"lParam\" type=\"x\"/></signal>\n")
                       .arg(member);
            continue;
        }
        xml +=
            QStringLiteral("    <method name=\"%1\"><arg name=\"wParam\" type=\"x\" "
                           "direction=\"in\"/><arg name=\"lParam\" type=\"x\" direction=\"in\"/>")
                .arg(member);
        if (info.id == RegisteredMessage::DeviceInfoRequest) {
            xml += QStringLiteral("<arg name=\"block\" type=\"ay\" direction=\"out\"/>");
        }
        xml += QStringLiteral("</method>\n");
    }
    xml += QStringLiteral("    <signal name=\"%1\"><arg name=\"kind\" type=\"x\"/>"
                          "<arg name=\"block\" type=\"ay\"/></signal>\n")
               .arg(QLatin1String(kDeviceInformationMember));
    xml += QStringLiteral("    <method name=\"%1\"><arg name=\"kind\" type=\"x\" direction=\"in\"/>"
                          "<arg name=\"data\" type=\"ay\" direction=\"in\"/></method>\n")
               .arg(QLatin1String(kCopyDataMember));
    xml += QStringLiteral("  </interface>\n");
    return xml;
}

} // namespace q407::app
