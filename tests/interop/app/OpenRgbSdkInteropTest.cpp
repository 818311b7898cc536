// The OpenRGB SDK server of the main window with a simulated keyboard, mouse and headset, driven by
// the openrgb-sdk npm package (tests/interop/app/openrgb-client.js): the controllers it lists at
// two protocol versions, the client's per-key colours in the keyboard's streamed frame, its colour
// on the mouse and its colours on the headset's ear cups, a native mode chosen through the mouse
// page, and the lights handed back when the client leaves. A damaged packet closes only the
// connection that sent it, and the other clients hear of a product plugged in later.

#include "devices/KeyboardModel.h"
#include "devices/OpenRgbSdk.h"
#include "devices/PageEventTable.h"
#include "editors/CLightControlUI.h"
#include "pages/CKestravaUSBDevice.h"
#include "support/QtTestUtil.h"
#include "ui/app/ShellFixture.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpSocket>
#include <optional>

using q407::sim::SimProduct;
namespace kbb = q407::devices::keyboard_block;
namespace sdk = q407::devices::sdk;

namespace {

const QString kCache = QStringLiteral(Q407_OPENRGB_SDK_CACHE);

// The package's folder, installed on first use; empty (with the reason) when npm cannot get it.
QString OpenRgbSdkModules(QString& why) {
    const QString modules = kCache + QStringLiteral("/node_modules");
    if (QDir(modules + QStringLiteral("/openrgb-sdk")).exists()) {
        return modules;
    }
    QProcess npm;
    npm.setProcessChannelMode(QProcess::MergedChannels);
    npm.start(QStringLiteral("npm"),
              {QStringLiteral("install"), QStringLiteral("--prefix"), kCache,
               QStringLiteral("--no-audit"), QStringLiteral("--no-fund"),
               QStringLiteral("--fetch-retries=1"), QStringLiteral("--fetch-timeout=20000"),
               QStringLiteral("openrgb-sdk@0.6.0")});
    if (!npm.waitForStarted(5000)) {
        why = QStringLiteral("npm is not installed (scripts/install-deps.sh installs it)");
        return {};
    }
    if (!npm.waitForFinished(90000) || npm.exitCode() != 0 ||
        !QDir(modules + QStringLiteral("/openrgb-sdk")).exists()) {
        why = QStringLiteral("npm could not install openrgb-sdk from the registry: ") +
              QString::fromLocal8Bit(npm.readAll()).right(400);
        return {};
    }
    return modules;
}

class SdkInteropTest : public ShellTest {
protected:
    q407::pages::CKestravaUSBDevice* PageOfKind(int kind) {
        auto* pages = m_window->Pages();
        for (int i = 0; i < pages->PageCount(); ++i) {
            if (pages->Page(i) != nullptr && pages->Page(i)->HasModel() &&
                pages->Page(i)->Model().IsOpen() && pages->Page(i)->Model().Kind() == kind) {
                return pages->Page(i);
            }
        }
        return nullptr;
    }
    int PageIndexOf(const q407::pages::CKestravaUSBDevice* page) {
        for (int i = 0; i < m_window->Pages()->PageCount(); ++i) {
            if (m_window->Pages()->Page(i) == page) {
                return i;
            }
        }
        return -1;
    }
    // What follows `prefix` on the next line the client printed that starts with it; nothing
    // when the client ended or took too long.
    std::optional<QString> LineFrom(QProcess& client, const QString& prefix,
                                    int timeoutMs = 20000) {
        std::optional<QString> found;
        testutil::WaitUntil(
            [&] {
                while (client.canReadLine()) {
                    const QString line = QString::fromUtf8(client.readLine()).trimmed();
                    m_clientOutput += line.left(200) + QLatin1Char('\n');
                    if (line.startsWith(prefix + QLatin1Char(' ')) || line == prefix) {
                        found = line.mid(prefix.size()).trimmed();
                        return true;
                    }
                }
                return client.state() == QProcess::NotRunning;
            },
            timeoutMs);
        return found;
    }
    QString m_clientOutput;
};

TEST_F(SdkInteropTest, AnOpenRgbClientListsTheProductsSetsModesAndDrivesTheirLights) {
    QString why;
    const QString modules = OpenRgbSdkModules(why);
    if (modules.isEmpty()) {
        GTEST_SKIP() << why.toStdString();
    }
    auto keyboard = Plug(SimProduct::KeyboardK);
    Plug(SimProduct::MouseA);
    auto headset = Plug(SimProduct::Headset);
    ASSERT_TRUE(m_window->StartSdkServer(0));
    auto* server = m_window->SdkServer();
    ASSERT_NE(server, nullptr);
    q407::pages::CKestravaUSBDevice* keyboardPage = nullptr;
    q407::pages::CKestravaUSBDevice* mousePage = nullptr;
    q407::pages::CKestravaUSBDevice* headsetPage = nullptr;
    ASSERT_TRUE(testutil::WaitUntil(
        [&] {
            keyboardPage = PageOfKind(q407::devices::kKindKeyboard);
            mousePage = PageOfKind(q407::devices::kKindMouse);
            headsetPage = PageOfKind(q407::devices::kKindHeadset);
            auto* model = keyboardPage == nullptr
                              ? nullptr
                              : dynamic_cast<q407::devices::KeyboardModel*>(&keyboardPage->Model());
            return mousePage != nullptr && headsetPage != nullptr && model != nullptr &&
                   model->KeyTablesRead() && server->ControllerPages().size() == 3;
        },
        15000));
    auto& keyboardModel = dynamic_cast<q407::devices::KeyboardModel&>(keyboardPage->Model());
    const auto effectByte = [&] {
        return keyboard->Firmware().Memory().settingsMemory[kbb::kEffect];
    };
    const std::uint8_t ownEffect = effectByte();
    ASSERT_NE(ownEffect, q407::devices::kHostStreamedEffect);

    QProcess client;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NODE_PATH"), modules);
    client.setProcessEnvironment(environment);
    client.start(QStringLiteral("node"),
                 {QStringLiteral(Q407_OPENRGB_CLIENT), QString::number(server->Port())});
    ASSERT_TRUE(client.waitForStarted(5000)) << "nodejs is not installed";

    // The listing, the same at protocol versions 3 and 4 (the newest this server speaks).
    const QString older = LineFrom(client, QStringLiteral("protocol3")).value_or(QString());
    const QString newer = LineFrom(client, QStringLiteral("protocol")).value_or(QString());
    ASSERT_TRUE(older.startsWith(QStringLiteral("3 "))) << m_clientOutput.toStdString();
    ASSERT_TRUE(newer.startsWith(QStringLiteral("4 "))) << m_clientOutput.toStdString();
    EXPECT_EQ(older.mid(2), newer.mid(2));
    const QJsonArray controllers = QJsonDocument::fromJson(newer.mid(2).toUtf8()).array();
    ASSERT_EQ(controllers.size(), 3);
    const std::vector<int> ledKeys = server->LedsOf(PageIndexOf(keyboardPage));
    for (const QJsonValue& value : controllers) {
        const QJsonObject controller = value.toObject();
        const QJsonArray modes = controller[QStringLiteral("modes")].toArray();
        const QJsonObject zone = controller[QStringLiteral("zones")].toArray()[0].toObject();
        EXPECT_EQ(modes[0].toObject()[QStringLiteral("name")].toString(), QStringLiteral("Direct"));
        EXPECT_GT(modes.size(), 2) << "the product's own modes follow";
        if (controller[QStringLiteral("type")].toInt() == sdk::kTypeKeyboard) {
            EXPECT_EQ(zone[QStringLiteral("type")].toInt(), sdk::kZoneMatrix);
            EXPECT_EQ(zone[QStringLiteral("matrix")].toArray(), (QJsonArray{6, 23}));
            EXPECT_EQ(zone[QStringLiteral("leds")].toInt(), static_cast<int>(ledKeys.size()));
            EXPECT_GT(ledKeys.size(), 80U);
        } else if (controller[QStringLiteral("type")].toInt() == sdk::kTypeHeadset) {
            EXPECT_EQ(zone[QStringLiteral("type")].toInt(), sdk::kZoneLinear);
            EXPECT_EQ(zone[QStringLiteral("leds")].toInt(), 13);
        } else {
            EXPECT_EQ(controller[QStringLiteral("type")].toInt(), sdk::kTypeMouse);
            EXPECT_EQ(zone[QStringLiteral("leds")].toInt(), 1);
        }
    }

    // Direct colours: every key's own colour in the frames the keyboard gets, the mouse's colour
    // on the mouse, and both pages say who has their lights.
    ASSERT_TRUE(LineFrom(client, QStringLiteral("direct"))) << m_clientOutput.toStdString();
    EXPECT_EQ(effectByte(), q407::devices::kHostStreamedEffect);
    const auto keyColoursArrived = [&] {
        const auto frame = keyboard->Firmware().LightFrame();
        for (std::size_t i = 0; i < ledKeys.size(); ++i) {
            const std::size_t at =
                3U * keyboardModel.LedMap()[static_cast<std::size_t>(ledKeys[i])];
            const std::array<std::uint8_t, 3> expected{static_cast<std::uint8_t>((i * 7) % 256),
                                                       static_cast<std::uint8_t>(255 - i), 42};
            if (at + 2 >= frame.size() || frame[at] != expected[0] ||
                frame[at + 1] != expected[1] || frame[at + 2] != expected[2]) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(testutil::WaitUntil(keyColoursArrived, 5000));
    EXPECT_TRUE(testutil::WaitUntil(
        [&] {
            const auto leds = mousePage->Model().LedColours();
            return !leds.empty() && leds[0].red == 12 && leds[0].green == 34 &&
                   leds[0].blue == 56 && mousePage->Model().SharedFramesWritten() > 0;
        },
        5000));
    EXPECT_GE(headset->Firmware().LedReports(), 12);
    const auto cups = headsetPage->Model().LedColours();
    ASSERT_GE(cups.size(), 13U);
    for (std::size_t i = 0; i < 13; ++i) {
        EXPECT_EQ((q407::devices::Rgb{cups[i].red, cups[i].green, cups[i].blue}),
                  (q407::devices::Rgb{static_cast<std::uint8_t>(10 * i), 5,
                                      static_cast<std::uint8_t>(200 - i)}))
            << "ear-cup LED " << i;
    }
    const QString status = QStringLiteral("A lighting program is controlling these lights.");
    EXPECT_EQ(keyboardPage->LightPanel()->GetClientStatus(), status);
    EXPECT_EQ(mousePage->LightPanel()->GetClientStatus(), status);

    // A native mode goes through the mouse page: its lights are its own again.
    client.write("mouse-mode\n");
    const QString mode = LineFrom(client, QStringLiteral("mouse-mode")).value_or(QString());
    ASSERT_FALSE(mode.isEmpty()) << m_clientOutput.toStdString();
    EXPECT_TRUE(
        testutil::WaitUntil([&] { return mousePage->LightRecord().mode == mode.toInt(); }, 5000));
    EXPECT_FALSE(mousePage->Model().IsClientDriven());
    EXPECT_TRUE(mousePage->LightPanel()->GetClientStatus().isEmpty());
    EXPECT_TRUE(keyboardModel.IsClientDriven());

    // Leaving hands the keyboard back: its own effect, written to the keyboard, and no status.
    client.write("bye\n");
    client.closeWriteChannel();
    EXPECT_TRUE(LineFrom(client, QStringLiteral("bye"))) << m_clientOutput.toStdString();
    EXPECT_TRUE(testutil::WaitUntil([&] { return client.state() == QProcess::NotRunning; }, 10000));
    EXPECT_TRUE(testutil::WaitUntil([&] { return !keyboardModel.IsClientDriven(); }, 5000));
    EXPECT_EQ(effectByte(), ownEffect);
    EXPECT_TRUE(keyboardPage->LightPanel()->GetClientStatus().isEmpty());
}

TEST_F(SdkInteropTest, ADamagedPacketClosesOnlyItsConnectionAndTheOthersHearOfNewProducts) {
    Plug(SimProduct::MouseA);
    ASSERT_TRUE(m_window->StartSdkServer(0));
    auto* server = m_window->SdkServer();
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().size() == 1; }, 15000));
    QTcpSocket good;
    QTcpSocket bad;
    for (QTcpSocket* socket : {&good, &bad}) {
        socket->connectToHost(QHostAddress::LocalHost, server->Port());
        ASSERT_TRUE(testutil::WaitUntil(
            [&] { return socket->state() == QAbstractSocket::ConnectedState; }));
    }
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ClientCount() == 2; }));
    // An UpdateLEDs request that claims a megabyte and a half of colours.
    auto packet = sdk::EncodePacket(0, sdk::kUpdateLeds);
    packet[14] = 0x18;
    bad.write(reinterpret_cast<const char*>(packet.data()), static_cast<qint64>(packet.size()));
    EXPECT_TRUE(testutil::WaitUntil(
        [&] { return bad.state() == QAbstractSocket::UnconnectedState; }, 5000));

    const auto request = sdk::EncodePacket(0, sdk::kRequestControllerCount);
    good.write(reinterpret_cast<const char*>(request.data()), static_cast<qint64>(request.size()));
    EXPECT_TRUE(testutil::WaitUntil([&] { return good.bytesAvailable() >= 20; }, 5000));
    const QByteArray reply = good.readAll();
    ASSERT_EQ(reply.size(), 20);
    EXPECT_EQ(reply.mid(16), QByteArray("\x01\0\0\0", 4));
    EXPECT_EQ(server->ClientCount(), 1);

    // A product plugged in later: the client is told to ask for the list again.
    Plug(SimProduct::MousePad);
    ASSERT_TRUE(testutil::WaitUntil([&] { return good.bytesAvailable() >= 16; }, 15000));
    const QByteArray updated = good.readAll();
    EXPECT_EQ(updated, QByteArray(reinterpret_cast<const char*>(
                                      sdk::EncodePacket(0, sdk::kDeviceListUpdated).data()),
                                  16));
    EXPECT_EQ(server->ControllerPages().size(), 2U);
}

} // namespace
