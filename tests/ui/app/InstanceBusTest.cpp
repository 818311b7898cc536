// The instance's D-Bus interface: claiming the name, delivering received messages to the UI
// thread with their integers, answering with data, refusing malformed calls, and emitting sent
// messages as signals.

#include "app/InstanceBus.h"

#include "support/PrivateBus.h"
#include "support/QtTestUtil.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using q407::app::InstanceBus;
using q407::app::RegisteredMessage;

// The test's bus, and connections to it as other processes would have them: calls between
// objects of one connection never leave the process.
testutil::PrivateBus& Bus() {
    static testutil::PrivateBus bus;
    return bus;
}

QDBusConnection OtherConnection(const QString& name) {
    return QDBusConnection::connectToBus(Bus().Address(), name);
}

QString UniqueServiceName() {
    static int counter = 0;
    return QStringLiteral("org.q407.Test.p%1.n%2").arg(::getpid()).arg(++counter);
}

class InstanceBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!OtherConnection(QStringLiteral("main")).isConnected()) {
            GTEST_SKIP() << "dbus-daemon cannot run here";
        }
    }

    QDBusMessage Call(const QString& service, const QString& member, QVariantList arguments,
                      int timeoutMs = 5000) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(service, QString::fromLatin1(q407::app::kBusPath),
                                           QString::fromLatin1(q407::app::kBusInterface), member);
        call.setArguments(arguments);
        QDBusPendingCall pending =
            OtherConnection(QStringLiteral("client")).asyncCall(call, timeoutMs);
        EXPECT_TRUE(testutil::WaitUntil([&] { return pending.isFinished(); }, timeoutMs + 1000));
        return pending.reply();
    }
};

// Receives the instance's signals.
class SignalSink : public QObject {
    Q_OBJECT
public:
    std::vector<std::pair<qint64, qint64>> received;
public Q_SLOTS:
    void OnSignal(qint64 wParam, qint64 lParam) { received.emplace_back(wParam, lParam); }
};

TEST(RegisteredMessages, TableHoldsElevenDistinctMessagesOfTheRightForm) {
    QSet<QString> strings;
    QSet<QString> members;
    QSet<uint> numbers;
    const QRegularExpression guid(
        QStringLiteral(R"(^\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}$)"));
    int guidForm = 0;
    for (const auto& info : q407::app::kRegisteredMessages) {
        const QString text = QString::fromLatin1(
            info.registrationString.data(), static_cast<qsizetype>(info.registrationString.size()));
        strings.insert(text);
        members.insert(QString::fromLatin1(info.busMember.data(),
                                           static_cast<qsizetype>(info.busMember.size())));
        numbers.insert(info.number);
        guidForm += guid.match(text).hasMatch() ? 1 : 0;
        EXPECT_EQ(q407::app::FromNumber(info.number), info.id);
        EXPECT_EQ(q407::app::FromBusMember(info.busMember), info.id);
    }
    EXPECT_EQ(strings.size(), q407::app::kRegisteredMessages.size());
    EXPECT_EQ(members.size(), q407::app::kRegisteredMessages.size());
    EXPECT_EQ(numbers.size(), q407::app::kRegisteredMessages.size());
    EXPECT_EQ(q407::app::kRegisteredMessages.size(), 11u);
    EXPECT_EQ(guidForm, 5);
    EXPECT_EQ(q407::app::Info(RegisteredMessage::ShowInstance).registrationString, "Q407");
    EXPECT_EQ(q407::app::Info(RegisteredMessage::ExternalRelay).registrationString, "{1234567890}");
    EXPECT_EQ(q407::app::Info(RegisteredMessage::GameDeath).registrationString, "Game_Death");
    EXPECT_FALSE(q407::app::FromNumber(0x0C12).has_value());
    EXPECT_FALSE(q407::app::FromBusMember("Nothing").has_value());
}

TEST_F(InstanceBusTest, FirstClaimWinsAndSecondIsToldAnotherRuns) {
    const QString name = UniqueServiceName();
    InstanceBus first(name, QStringLiteral("unused.lock"), OtherConnection(QStringLiteral("main")));
    InstanceBus second(name, QStringLiteral("unused.lock"),
                       OtherConnection(QStringLiteral("second")));
    EXPECT_EQ(first.Acquire(), InstanceBus::Role::First);
    EXPECT_TRUE(first.HasBus());
    EXPECT_EQ(second.Acquire(), InstanceBus::Role::Second);
    first.Release();
    InstanceBus third(name, QStringLiteral("unused.lock"),
                      OtherConnection(QStringLiteral("third")));
    EXPECT_EQ(third.Acquire(), InstanceBus::Role::First) << "the name is free again";
}

TEST_F(InstanceBusTest, ReceivedMessagesReachTheHandlerOnTheUiThreadWithTheirIntegers) {
    const QString name = UniqueServiceName();
    InstanceBus bus(name, QStringLiteral("unused.lock"), OtherConnection(QStringLiteral("main")));
    ASSERT_EQ(bus.Acquire(), InstanceBus::Role::First);
    std::vector<std::tuple<RegisteredMessage, qint64, qint64>> handled;
    bus.SetHandler([&](RegisteredMessage message, qint64 w, qint64 l) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        handled.emplace_back(message, w, l);
        return message == RegisteredMessage::DeviceInfoRequest ? QByteArray(1024, '\x07')
                                                               : QByteArray("ignored");
    });

    EXPECT_EQ(Call(name, QStringLiteral("ShowInstance"), {qint64{0}, qint64{1}}).type(),
              QDBusMessage::ReplyMessage);
    EXPECT_EQ(Call(name, QStringLiteral("AppControl"), {qint64{7}, qint64{-3}}).type(),
              QDBusMessage::ReplyMessage);
    const QDBusMessage info =
        Call(name, QStringLiteral("DeviceInfoRequest"), {qint64{0}, qint64{0}});
    ASSERT_EQ(info.type(), QDBusMessage::ReplyMessage);
    ASSERT_EQ(info.arguments().size(), 1);
    EXPECT_EQ(info.arguments().at(0).toByteArray(), QByteArray(1024, '\x07'));

    ASSERT_EQ(handled.size(), 3u);
    EXPECT_EQ(handled[0], std::make_tuple(RegisteredMessage::ShowInstance, qint64{0}, qint64{1}));
    EXPECT_EQ(handled[1], std::make_tuple(RegisteredMessage::AppControl, qint64{7}, qint64{-3}));
    EXPECT_EQ(std::get<0>(handled[2]), RegisteredMessage::DeviceInfoRequest);
}

TEST_F(InstanceBusTest, MalformedAndUnknownCallsAreRefusedWithoutReachingTheHandler) {
    const QString name = UniqueServiceName();
    InstanceBus bus(name, QStringLiteral("unused.lock"), OtherConnection(QStringLiteral("main")));
    ASSERT_EQ(bus.Acquire(), InstanceBus::Role::First);
    int calls = 0;
    bus.SetHandler([&](RegisteredMessage, qint64, qint64) {
        ++calls;
        return QByteArray();
    });
    const QDBusMessage wrongTypes = Call(name, QStringLiteral("AppControl"), {QStringLiteral("4")});
    EXPECT_EQ(wrongTypes.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(wrongTypes.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"));
    EXPECT_EQ(Call(name, QStringLiteral("LightOwnerNotify"), {qint64{1}, qint64{1}}).type(),
              QDBusMessage::ErrorMessage)
        << "a sent message is no method";
    EXPECT_EQ(Call(name, QStringLiteral("Nothing"), {qint64{1}, qint64{1}}).type(),
              QDBusMessage::ErrorMessage);
    // Objects below the instance's path are answered too, by an error while nothing serves them.
    QDBusMessage below = QDBusMessage::createMethodCall(
        name, QString::fromLatin1(q407::app::kBusPath) + QStringLiteral("/device/0"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
    below << QString();
    QDBusPendingCall pending = OtherConnection(QStringLiteral("client")).asyncCall(below, 5000);
    ASSERT_TRUE(testutil::WaitUntil([&] { return pending.isFinished(); }, 6000));
    EXPECT_EQ(pending.reply().errorName(),
              QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"));
    EXPECT_EQ(calls, 0);
}

TEST_F(InstanceBusTest, DataBlocksReachTheDataHandler) {
    const QString name = UniqueServiceName();
    InstanceBus bus(name, QStringLiteral("unused.lock"), OtherConnection(QStringLiteral("main")));
    ASSERT_EQ(bus.Acquire(), InstanceBus::Role::First);
    std::vector<std::pair<qint64, QByteArray>> blocks;
    bus.SetDataHandler(
        [&](qint64 kind, const QByteArray& data) { blocks.emplace_back(kind, data); });
    EXPECT_EQ(Call(name, QStringLiteral("CopyData"), {qint64{2}, QByteArray(160, '\x07')}).type(),
              QDBusMessage::ReplyMessage);
    EXPECT_EQ(Call(name, QStringLiteral("CopyData"), {qint64{1}, QStringLiteral("text")}).type(),
              QDBusMessage::ErrorMessage);
    ASSERT_TRUE(testutil::WaitUntil([&] { return !blocks.empty(); }));
    EXPECT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].first, 2);
    EXPECT_EQ(blocks[0].second, QByteArray(160, '\x07'));
}

TEST_F(InstanceBusTest, OversizedBlocksAreRefusedAndTheInstanceKeepsAnswering) {
    const QString name = UniqueServiceName();
    InstanceBus bus(name, QStringLiteral("unused.lock"), OtherConnection(QStringLiteral("main")));
    ASSERT_EQ(bus.Acquire(), InstanceBus::Role::First);
    std::vector<qsizetype> blocks;
    bus.SetDataHandler([&](qint64, const QByteArray& data) { blocks.push_back(data.size()); });
    int appControls = 0;
    bus.SetHandler([&](RegisteredMessage message, qint64, qint64) {
        appControls += message == RegisteredMessage::AppControl ? 1 : 0;
        return QByteArray();
    });

    // Another program sends the largest array a message may carry, twice, without waiting for
    // answers; its call to the bus itself returns once the bus has both.
    QDBusConnection hostile = OtherConnection(QStringLiteral("hostile"));
    QDBusMessage flood =
        QDBusMessage::createMethodCall(name, QString::fromLatin1(q407::app::kBusPath),
                                       QString::fromLatin1(q407::app::kBusInterface),
                                       QString::fromLatin1(q407::app::kCopyDataMember));
    flood.setArguments({qint64{1}, QByteArray(qsizetype{64} << 20, '\x55')});
    ASSERT_TRUE(hostile.send(flood));
    ASSERT_TRUE(hostile.send(flood));
    QDBusPendingCall ping = hostile.asyncCall(
        QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")),
        60000);
    ASSERT_TRUE(testutil::WaitUntil([&] { return ping.isFinished(); }, 60000));

    // Calls made now queue behind the flood, and are still answered.
    EXPECT_EQ(Call(name, QStringLiteral("AppControl"), {qint64{4}, qint64{0}}, 60000).type(),
              QDBusMessage::ReplyMessage);
    EXPECT_EQ(Call(name, QString::fromLatin1(q407::app::kCopyDataMember),
                   {qint64{1}, QByteArray(4284, '\x01')})
                  .type(),
              QDBusMessage::ReplyMessage);
    EXPECT_TRUE(testutil::WaitUntil([&] { return appControls == 1 && !blocks.empty(); }));
    EXPECT_EQ(blocks, std::vector<qsizetype>{4284})
        << "the oversized blocks never reach the window";
}

TEST_F(InstanceBusTest, SentMessagesAreSignalsAndTheInterfaceIntrospects) {
    const QString name = UniqueServiceName();
    InstanceBus bus(name, QStringLiteral("unused.lock"), OtherConnection(QStringLiteral("main")));
    ASSERT_EQ(bus.Acquire(), InstanceBus::Role::First);
    SignalSink sink;
    ASSERT_TRUE(OtherConnection(QStringLiteral("listener"))
                    .connect(QString(), QString::fromLatin1(q407::app::kBusPath),
                             QString::fromLatin1(q407::app::kBusInterface),
                             QStringLiteral("LightOwnerNotify"), &sink,
                             SLOT(OnSignal(qint64, qint64))));
    EXPECT_TRUE(bus.Broadcast(RegisteredMessage::LightOwnerNotify, 1, 0));
    EXPECT_FALSE(bus.Broadcast(RegisteredMessage::ShowInstance, 0, 1)) << "received-only message";
    ASSERT_TRUE(testutil::WaitUntil([&] { return !sink.received.empty(); }));
    EXPECT_EQ(sink.received.front(), std::make_pair(qint64{1}, qint64{0}));

    QDBusMessage introspect = QDBusMessage::createMethodCall(
        name, QString::fromLatin1(q407::app::kBusPath),
        QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"));
    QDBusPendingCall pending =
        OtherConnection(QStringLiteral("client")).asyncCall(introspect, 5000);
    ASSERT_TRUE(testutil::WaitUntil([&] { return pending.isFinished(); }));
    const QString xml = pending.reply().arguments().value(0).toString();
    for (const char* member :
         {"ShowInstance", "ExternalRelay", "AppControl", "LightOwnerSet", "DeviceInfoRequest",
          "LightOwnerNotify", "AudioRecordCtrl", "CopyData"}) {
        EXPECT_TRUE(xml.contains(QString::fromLatin1(member))) << member;
    }
}

} // namespace

#include "InstanceBusTest.moc"
