// The OpenRGB SDK server of the main window with a simulated keyboard, mouse, headset and pad,
// driven by the openrgb-sdk npm package (tests/interop/app/openrgb-client.js): the controllers it
// lists at two protocol versions, the client's per-key colours in the keyboard's streamed frame,
// its colour on the mouse and the pad and its colours on the headset's ear cups, segments of the
// ear cups, a native mode chosen through the mouse page, and the lights handed back when the client
// leaves. A damaged packet closes only the connection that sent it, and the other clients hear of a
// product plugged in later. A client's colours come back with a product that was unplugged and
// plugged in again. A client of protocol 6 (written here, as the npm package speaks 5 at most)
// addresses the controllers by ids that survive a replug, has its requests acknowledged, and hears
// of changes made in the window; what the server has none of is answered in the replies' own
// layouts.

#include "devices/KeyboardModel.h"
#include "devices/LightBlockModel.h"
#include "devices/MouseModel.h"
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

using q407::devices::Rgb;
using q407::sim::SimProduct;
namespace kbb = q407::devices::keyboard_block;
namespace lb = q407::devices::light_block;
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

void Send(QTcpSocket& socket, const std::vector<std::uint8_t>& packet) {
    socket.write(reinterpret_cast<const char*>(packet.data()), static_cast<qint64>(packet.size()));
}

// New colours for a controller's LEDs, as a client sends them.
void SendUpdateLeds(QTcpSocket& socket, std::uint32_t controller, const std::vector<Rgb>& colours) {
    std::vector<std::uint8_t> payload = sdk::EncodeU32(0);
    payload.push_back(static_cast<std::uint8_t>(colours.size()));
    payload.push_back(static_cast<std::uint8_t>(colours.size() >> 8));
    for (const Rgb colour : colours) {
        payload.insert(payload.end(), {colour.red, colour.green, colour.blue, 0});
    }
    Send(socket, sdk::EncodePacket(controller, sdk::kUpdateLeds, payload));
}

// The packets the server sends on `socket`, as they come.
class ServerStream {
public:
    explicit ServerStream(QTcpSocket& socket) : m_socket(socket) {}
    // The next packet of id `id` (those of other ids are kept for later), or nothing.
    std::optional<sdk::Packet> Next(std::uint32_t id, int timeoutMs = 5000) {
        std::optional<sdk::Packet> found;
        testutil::WaitUntil(
            [&] {
                const QByteArray bytes = m_socket.readAll();
                m_reader.Append(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                          static_cast<std::size_t>(bytes.size())));
                while (auto packet = m_reader.Next()) {
                    m_kept.push_back(std::move(*packet));
                }
                const auto match = std::find_if(m_kept.begin(), m_kept.end(),
                                                [&](const sdk::Packet& p) { return p.id == id; });
                if (match != m_kept.end()) {
                    found = *match;
                    m_kept.erase(match);
                }
                return found.has_value();
            },
            timeoutMs);
        return found;
    }
    // The acknowledgement of the next request of id `id`: its device id and status.
    std::optional<std::pair<std::uint32_t, std::uint32_t>> Ack(std::uint32_t id) {
        for (auto ack = Next(sdk::kAck); ack; ack = Next(sdk::kAck)) {
            if (ack->payload.size() == 8 && ack->payload[0] == (id & 0xFF) &&
                ack->payload[1] == (id >> 8)) {
                return std::pair{ack->device, static_cast<std::uint32_t>(ack->payload[4])};
            }
        }
        return std::nullopt;
    }
    void Forget() {
        Next(0xFFFFFFFF, 200);
        m_kept.clear();
    }

private:
    QTcpSocket& m_socket;
    sdk::PacketReader m_reader;
    std::vector<sdk::Packet> m_kept;
};

std::vector<std::uint32_t> U32s(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint32_t> values;
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        values.push_back(static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 |
                                                    bytes[at + 2] << 16 | bytes[at + 3] << 24));
    }
    return values;
}

// An UpdateMode request of protocol 6: the mode without its value.
std::vector<std::uint8_t> UpdateModeRequest(std::uint32_t index, const sdk::Mode& mode) {
    std::vector<std::uint8_t> request = sdk::EncodeU32(0);
    const auto u32 = [&](std::uint32_t v) {
        const auto bytes = sdk::EncodeU32(v);
        request.insert(request.end(), bytes.begin(), bytes.end());
    };
    u32(index);
    request.push_back(static_cast<std::uint8_t>(mode.name.size() + 1));
    request.push_back(0);
    request.insert(request.end(), mode.name.begin(), mode.name.end());
    request.push_back(0);
    for (const std::uint32_t v : {mode.flags, mode.speedMin, mode.speedMax, mode.brightnessMin,
                                  mode.brightnessMax, mode.coloursMin, mode.coloursMax, mode.speed,
                                  mode.brightness, mode.direction, mode.colourMode}) {
        u32(v);
    }
    request.insert(request.end(), {static_cast<std::uint8_t>(mode.colours.size()), 0});
    for (const Rgb colour : mode.colours) {
        request.insert(request.end(), {colour.red, colour.green, colour.blue, 0});
    }
    return request;
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
    auto pad = Plug(SimProduct::MousePad);
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
                   model->KeyTablesRead() && server->ControllerPages().size() == 4;
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

    // The listing, the same at protocol versions 3 and 5 (the newest both speak).
    const QString older = LineFrom(client, QStringLiteral("protocol3")).value_or(QString());
    const QString newer = LineFrom(client, QStringLiteral("protocol")).value_or(QString());
    ASSERT_TRUE(older.startsWith(QStringLiteral("3 "))) << m_clientOutput.toStdString();
    ASSERT_TRUE(newer.startsWith(QStringLiteral("5 "))) << m_clientOutput.toStdString();
    EXPECT_EQ(older.mid(2), newer.mid(2));
    const QJsonArray controllers = QJsonDocument::fromJson(newer.mid(2).toUtf8()).array();
    ASSERT_EQ(controllers.size(), 4);
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
            const int type = controller[QStringLiteral("type")].toInt();
            EXPECT_TRUE(type == sdk::kTypeMouse || type == sdk::kTypeMouseMat) << type;
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
    EXPECT_TRUE(testutil::WaitUntil(
        [&] {
            const auto& block = pad->Firmware().Memory().settingsMemory;
            return block[lb::kRed] == 78 && block[lb::kRed + 1] == 90 && block[lb::kRed + 2] == 12;
        },
        5000))
        << "the client's colour in the pad's settings block";
    EXPECT_GE(headset->Firmware().LedReports(), 12);
    const auto cups = headsetPage->Model().LedColours();
    ASSERT_GE(cups.size(), 13U);
    for (std::size_t i = 0; i < 13; ++i) {
        EXPECT_EQ((q407::devices::Rgb{cups[i].red, cups[i].green, cups[i].blue}),
                  (q407::devices::Rgb{static_cast<std::uint8_t>(10 * i), 5,
                                      static_cast<std::uint8_t>(200 - i)}))
            << "ear-cup LED " << i;
    }
    // A segment that fits the ear cups is kept, one past their last LED is not; clearing
    // removes it. The controllers are this machine's own, their zones of fixed size.
    const auto cupsLine = [&](const QString& prefix) {
        return QJsonDocument::fromJson(LineFrom(client, prefix).value_or(QString()).toUtf8())
            .object();
    };
    const QJsonObject segments = cupsLine(QStringLiteral("segments"));
    EXPECT_EQ(segments[QStringLiteral("flags")].toInt(), 1) << m_clientOutput.toStdString();
    EXPECT_EQ(segments[QStringLiteral("zoneFlags")].toInt(), 0);
    EXPECT_EQ(segments[QStringLiteral("altNames")].toInt(), 0);
    EXPECT_EQ(segments[QStringLiteral("segments")].toArray(),
              (QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("Left cup")},
                                      {QStringLiteral("type"), 1},
                                      {QStringLiteral("start"), 2},
                                      {QStringLiteral("length"), 5}}}));
    EXPECT_EQ(cupsLine(QStringLiteral("cleared"))[QStringLiteral("segments")].toArray(),
              QJsonArray{});

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
    Send(bad, packet);
    EXPECT_TRUE(testutil::WaitUntil(
        [&] { return bad.state() == QAbstractSocket::UnconnectedState; }, 5000));

    const auto request = sdk::EncodePacket(0, sdk::kRequestControllerCount);
    Send(good, request);
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

// A client drives the keyboard and the mouse and asks for a rescan; both are unplugged, and
// products that remember nothing of it are plugged in: the client hears of both changes, and the
// same colours are on the new devices without the client sending anything again.
TEST_F(SdkInteropTest, AClientsColoursComeBackWhenItsProductsArePluggedInAgain) {
    std::shared_ptr<q407::sim::SimulatedProduct> keyboard = Plug(SimProduct::KeyboardK);
    std::shared_ptr<q407::sim::SimulatedProduct> mouse = Plug(SimProduct::MouseA);
    ASSERT_TRUE(m_window->StartSdkServer(0));
    auto* server = m_window->SdkServer();
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().size() == 2; }, 15000));
    q407::pages::CKestravaUSBDevice* keyboardPage = PageOfKind(q407::devices::kKindKeyboard);
    q407::pages::CKestravaUSBDevice* mousePage = PageOfKind(q407::devices::kKindMouse);
    ASSERT_NE(keyboardPage, nullptr);
    ASSERT_NE(mousePage, nullptr);
    const auto controllerOf = [&](const q407::pages::CKestravaUSBDevice* page) {
        const std::vector<int> pages = server->ControllerPages();
        return static_cast<std::uint32_t>(std::find(pages.begin(), pages.end(), PageIndexOf(page)) -
                                          pages.begin());
    };
    const std::size_t keyCount = server->LedsOf(PageIndexOf(keyboardPage)).size();
    ASSERT_GT(keyCount, 80U);

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server->Port());
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ClientCount() == 1; }));
    std::vector<Rgb> keyColours;
    for (std::size_t i = 0; i < keyCount; ++i) {
        keyColours.push_back(
            {static_cast<std::uint8_t>(i), 200, static_cast<std::uint8_t>(99 - i)});
    }
    const Rgb mouseColour{12, 34, 56};
    SendUpdateLeds(client, controllerOf(keyboardPage), keyColours);
    SendUpdateLeds(client, controllerOf(mousePage), {mouseColour});

    auto& keyboardModel = dynamic_cast<q407::devices::KeyboardModel&>(keyboardPage->Model());
    const std::vector<int> ledKeys = server->LedsOf(PageIndexOf(keyboardPage));
    const auto coloursOn = [&](q407::sim::SimulatedProduct& keys, q407::sim::SimulatedProduct& m) {
        const auto settings = m.Firmware().Memory().settingsMemory;
        const std::size_t red = q407::devices::mouse_block::kRed;
        if (settings.size() <= red + 2 ||
            Rgb{settings[red], settings[red + 1], settings[red + 2]} != mouseColour ||
            keys.Firmware().Memory().settingsMemory[kbb::kEffect] !=
                q407::devices::kHostStreamedEffect) {
            return false;
        }
        const auto frame = keys.Firmware().LightFrame();
        for (std::size_t i = 0; i < ledKeys.size(); ++i) {
            const std::size_t at =
                3U * keyboardModel.LedMap()[static_cast<std::size_t>(ledKeys[i])];
            if (at + 2 >= frame.size() ||
                Rgb{frame[at], frame[at + 1], frame[at + 2]} != keyColours[i]) {
                return false;
            }
        }
        return true;
    };
    ASSERT_TRUE(testutil::WaitUntil([&] { return coloursOn(*keyboard, *mouse); }, 5000));
    const QByteArray updated(
        reinterpret_cast<const char*>(sdk::EncodePacket(0, sdk::kDeviceListUpdated).data()), 16);
    // What the client was sent since it last looked: one "device list updated" or more.
    const auto heardOfChanges = [&] {
        testutil::WaitUntil([&] { return client.bytesAvailable() >= 16; }, 5000);
        const QByteArray bytes = client.readAll();
        return !bytes.isEmpty() && bytes.size() % 16 == 0 &&
               bytes == updated.repeated(bytes.size() / 16);
    };
    client.readAll();
    // A rescan finds the same products; the client hears that its list is current.
    Send(client, sdk::EncodePacket(0, sdk::kRequestRescanDevices));
    EXPECT_TRUE(heardOfChanges());

    keyboard->Unplug();
    mouse->Unplug();
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().empty(); }, 15000));
    EXPECT_TRUE(heardOfChanges());

    const auto newKeyboard = Plug(SimProduct::KeyboardK);
    const auto newMouse = Plug(SimProduct::MouseA);
    ASSERT_FALSE(coloursOn(*newKeyboard, *newMouse)) << "new products know nothing of the client";
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().size() == 2; }, 15000));
    EXPECT_TRUE(testutil::WaitUntil([&] { return coloursOn(*newKeyboard, *newMouse); }, 5000));
    EXPECT_TRUE(mousePage->Model().IsClientDriven());
    EXPECT_FALSE(mousePage->LightPanel()->GetClientStatus().isEmpty());
    EXPECT_TRUE(heardOfChanges());
}

// A mouse behind its receiver is switched off while a client drives it: it leaves the list and
// its lights are handed back; switched on again, it is listed and driven again, and the client's
// colour is written to it once more.
TEST_F(SdkInteropTest, AClientDrivesAMouseAgainWhenItsReceiverReachesItAgain) {
    const auto mouse = Plug(SimProduct::MouseAReceiver);
    ASSERT_TRUE(m_window->StartSdkServer(0));
    auto* server = m_window->SdkServer();
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().size() == 1; }, 15000));
    q407::pages::CKestravaUSBDevice* page = PageOfKind(q407::devices::kKindMouse);
    ASSERT_NE(page, nullptr);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server->Port());
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ClientCount() == 1; }));
    SendUpdateLeds(client, 0, {{90, 80, 70}});
    ASSERT_TRUE(testutil::WaitUntil([&] { return page->Model().SharedFramesWritten() > 0; }, 5000));
    ASSERT_TRUE(page->Model().IsClientDriven());

    mouse->Firmware().SetSwitchedOff(true);
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().empty(); }, 15000));
    EXPECT_FALSE(page->Model().IsClientDriven());
    const int written = page->Model().SharedFramesWritten();

    mouse->Firmware().SetSwitchedOff(false);
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().size() == 1; }, 15000));
    EXPECT_TRUE(page->Model().IsClientDriven());
    EXPECT_TRUE(
        testutil::WaitUntil([&] { return page->Model().SharedFramesWritten() > written; }, 5000));
    const auto settings = mouse->Firmware().Memory().settingsMemory;
    const std::size_t red = q407::devices::mouse_block::kRed;
    EXPECT_EQ((Rgb{settings[red], settings[red + 1], settings[red + 2]}), (Rgb{90, 80, 70}));
}

} // namespace

namespace {

// A client of protocol 6 against a mouse and a headset: the server's name and flags, the
// controllers by id, a native mode chosen by its index, direct colours on the ear cups, a notice
// for a change made in the window, and the mouse's id kept when it is plugged in again.
TEST_F(SdkInteropTest, AClientOfProtocolSixKeepsItsIdsAndHearsOfChanges) {
    auto mouse = Plug(SimProduct::MouseA);
    Plug(SimProduct::Headset);
    ASSERT_TRUE(m_window->StartSdkServer(0));
    auto* server = m_window->SdkServer();
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().size() == 2; }, 15000));
    q407::pages::CKestravaUSBDevice* mousePage = PageOfKind(q407::devices::kKindMouse);
    q407::pages::CKestravaUSBDevice* headsetPage = PageOfKind(q407::devices::kKindHeadset);
    ASSERT_NE(mousePage, nullptr);
    ASSERT_NE(headsetPage, nullptr);
    const auto mouseId = static_cast<std::uint32_t>(PageIndexOf(mousePage));
    const auto headsetId = static_cast<std::uint32_t>(PageIndexOf(headsetPage));

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server->Port());
    ServerStream from(client);
    Send(client, sdk::EncodePacket(0, sdk::kRequestProtocolVersion, sdk::EncodeU32(6)));
    const auto version = from.Next(sdk::kRequestProtocolVersion);
    ASSERT_TRUE(version);
    EXPECT_EQ(version->payload, sdk::EncodeU32(6));
    const auto name = from.Next(sdk::kSetServerName);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->payload, (std::vector<std::uint8_t>{'Q', '4', '0', '7', 0}));
    Send(client,
         sdk::EncodePacket(0, sdk::kSetClientFlags, sdk::EncodeU32(sdk::kClientRequestsLocal)));
    const auto flags = from.Next(sdk::kSetServerFlags);
    ASSERT_TRUE(flags);
    EXPECT_EQ(U32s(flags->payload), (std::vector<std::uint32_t>{sdk::kServerSupportsControllers |
                                                                sdk::kServerSupportsDetection |
                                                                sdk::kServerLocalClient}));

    // The count and the ids in page order, then each controller's data by its id.
    const auto listed = [&] {
        Send(client, sdk::EncodePacket(0, sdk::kRequestControllerCount));
        const auto count = from.Next(sdk::kRequestControllerCount);
        return count ? U32s(count->payload) : std::vector<std::uint32_t>{};
    };
    const std::vector<std::uint32_t> both{2, std::min(mouseId, headsetId),
                                          std::max(mouseId, headsetId)};
    EXPECT_EQ(listed(), both);
    for (const auto& [id, type] :
         {std::pair{mouseId, sdk::kTypeMouse}, std::pair{headsetId, sdk::kTypeHeadset}}) {
        Send(client, sdk::EncodePacket(id, sdk::kRequestControllerData, sdk::EncodeU32(6)));
        const auto data = from.Next(sdk::kRequestControllerData);
        ASSERT_TRUE(data);
        EXPECT_EQ(data->device, id);
        EXPECT_EQ(U32s(data->payload).at(1), static_cast<std::uint32_t>(type))
            << "controller " << id;
        EXPECT_EQ(data->payload,
                  sdk::EncodeControllerData(server->Describe(static_cast<int>(id)), 6));
    }
    Send(client, sdk::EncodePacket(99, sdk::kRequestControllerData, sdk::EncodeU32(6)));
    EXPECT_EQ(from.Ack(sdk::kRequestControllerData),
              (std::pair{99U, std::uint32_t{sdk::kStatusInvalidId}}));

    // A native mode by its index: the page takes it, and every client hears of it.
    const sdk::Controller described = server->Describe(static_cast<int>(mouseId));
    std::uint32_t modeIndex = 1;
    while (modeIndex + 1 < described.modes.size() &&
           described.modes[modeIndex].value == mousePage->LightRecord().mode) {
        ++modeIndex;
    }
    sdk::Mode mode = described.modes[modeIndex];
    mode.value = 0; // not sent from protocol 6 on: the index says which mode
    mode.brightness = 2;
    mode.colours = {{1, 2, 3}};
    from.Forget();
    Send(client, sdk::EncodePacket(mouseId, sdk::kUpdateMode, UpdateModeRequest(modeIndex, mode)));
    EXPECT_EQ(from.Ack(sdk::kUpdateMode), (std::pair{mouseId, std::uint32_t{sdk::kStatusOk}}));
    EXPECT_EQ(mousePage->LightRecord().mode, described.modes[modeIndex].value);
    EXPECT_EQ(mousePage->LightRecord().brightness, 2);
    EXPECT_EQ(mousePage->LightRecord().red, 1);
    const auto modeNotice = from.Next(sdk::kSignalUpdate);
    ASSERT_TRUE(modeNotice);
    EXPECT_EQ(modeNotice->device, mouseId);
    EXPECT_EQ(U32s(modeNotice->payload)[1], std::uint32_t{sdk::kReasonUpdateMode});

    // Direct colours on the ear cups.
    std::vector<Rgb> cups;
    for (std::uint8_t i = 0; i < 13; ++i) {
        cups.push_back({static_cast<std::uint8_t>(20 * i), 7, static_cast<std::uint8_t>(250 - i)});
    }
    SendUpdateLeds(client, headsetId, cups);
    EXPECT_EQ(from.Ack(sdk::kUpdateLeds), (std::pair{headsetId, std::uint32_t{sdk::kStatusOk}}));
    EXPECT_TRUE(testutil::WaitUntil(
        [&] {
            const auto leds = headsetPage->Model().LedColours();
            return leds.size() >= 13 &&
                   std::equal(cups.begin(), cups.end(), leds.begin(),
                              [](Rgb want, const auto& led) {
                                  return want == Rgb{led.red, led.green, led.blue};
                              });
        },
        5000));

    // A change made in the window, as another program makes it through the page.
    from.Forget();
    q407::profiles::LightInfo record = mousePage->LightRecord();
    record.brightness = record.brightness == 1 ? 3 : 1;
    mousePage->ApplyLightRecord(record);
    const auto windowNotice = from.Next(sdk::kSignalUpdate);
    ASSERT_TRUE(windowNotice);
    EXPECT_EQ(windowNotice->device, mouseId);
    EXPECT_EQ(windowNotice->payload,
              sdk::EncodeSignalUpdate(sdk::kReasonUpdateMode,
                                      server->Describe(static_cast<int>(mouseId)), 6));

    // Unplugged, the mouse leaves the list; plugged in again, it has its id back.
    mouse->Unplug();
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().size() == 1; }, 15000));
    EXPECT_TRUE(from.Next(sdk::kDeviceListUpdated));
    EXPECT_EQ(listed(), (std::vector<std::uint32_t>{1, headsetId}));
    Plug(SimProduct::MouseA);
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().size() == 2; }, 15000));
    EXPECT_TRUE(from.Next(sdk::kDeviceListUpdated));
    EXPECT_EQ(listed(), both);
}

// What a client of protocol 6 may ask for beyond the lights: the server has no profiles,
// settings, log, device information or zone modes of its own and answers each request in its
// reply's own layout, or acknowledges it with a refusal; a short request is refused, not read past.
TEST_F(SdkInteropTest, AClientOfProtocolSixGetsAnAnswerToEveryRequest) {
    Plug(SimProduct::MouseA);
    ASSERT_TRUE(m_window->StartSdkServer(0));
    auto* server = m_window->SdkServer();
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().size() == 1; }, 15000));
    const auto id = static_cast<std::uint32_t>(server->ControllerPages()[0]);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server->Port());
    ServerStream from(client);
    Send(client, sdk::EncodePacket(0, sdk::kRequestProtocolVersion, sdk::EncodeU32(9)));
    ASSERT_TRUE(from.Next(sdk::kSetServerName));

    const std::vector<std::uint8_t> emptyList = sdk::EncodeEmptyList();
    std::vector<std::uint8_t> zoneMode = {0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<std::uint8_t> mode = UpdateModeRequest(0, sdk::Mode{});
    const auto withIndex = [&](std::uint32_t index) {
        std::vector<std::uint8_t> request = zoneMode;
        const auto bytes = sdk::EncodeU32(index);
        request.insert(request.end(), bytes.begin(), bytes.end());
        request.insert(request.end(), mode.begin() + 8, mode.end());
        return request;
    };
    struct Case {
        std::uint32_t id;
        std::uint32_t device;
        std::vector<std::uint8_t> payload;
        std::vector<std::uint8_t> reply; // the reply of the same id, or empty for an ack
        std::uint32_t status = sdk::kStatusOk;
    };
    const std::vector<Case> cases{
        {sdk::kRequestProfileList, 0, {}, emptyList},
        {sdk::kGetI2cBusInfo, 0, {}, emptyList},
        {sdk::kGetHidDeviceInfo, 0, {}, emptyList},
        {sdk::kGetUsbDeviceInfo, 0, {}, emptyList},
        {sdk::kGetSerialPorts, 0, {}, emptyList},
        {sdk::kGetUsbSerialPorts, 0, {}, emptyList},
        {sdk::kGetActiveProfile, 0, {}, {0}},
        {sdk::kDownloadProfile, 0, {'a', 0}, {0}},
        {sdk::kGetSettings, 0, {'k', 0}, {'{', '}', 0}},
        {sdk::kGetLogLevel, 0, {}, sdk::EncodeU32(0)},
        {sdk::kSetClientName, 0, {'t', 0}, {}, sdk::kStatusOk},
        {sdk::kClearActiveProfile, 0, {}, {}, sdk::kStatusOk},
        {sdk::kSaveProfile, 0, {'a', 0}, {}, sdk::kStatusUnsupported},
        {sdk::kUploadProfile, 0, {'{', '}', 0}, {}, sdk::kStatusUnsupported},
        {sdk::kSetSettings, 0, {'{', '}', 0}, {}, sdk::kStatusUnsupported},
        {sdk::kSetLogLevel, 0, {1, 0}, {}, sdk::kStatusInvalidData},
        {sdk::kPluginSpecific, 0, sdk::EncodeU32(1), {}, sdk::kStatusInvalidId},
        {sdk::kUpdateZoneMode, id, withIndex(0xFFFFFFFF), {}, sdk::kStatusOk},
        {sdk::kUpdateZoneMode, id, withIndex(0), {}, sdk::kStatusInvalidId},
        {sdk::kUpdateZoneMode, id, {1, 2, 3}, {}, sdk::kStatusInvalidData},
        {sdk::kUpdateSingleLed, id, {1, 2, 3}, {}, sdk::kStatusInvalidData},
        {sdk::kUpdateZoneLeds, id, {6, 0, 0, 0, 1, 0, 0, 0, 0, 0}, {}, sdk::kStatusInvalidId},
        {sdk::kConfigureDevice, id, {}, {}, sdk::kStatusUnsupported},
        {sdk::kSetHidden, id, {1}, {}, sdk::kStatusUnsupported},
        {sdk::kSetCustomMode, id + 50, {}, {}, sdk::kStatusInvalidId},
    };
    for (const Case& c : cases) {
        Send(client, sdk::EncodePacket(c.device, c.id, c.payload));
        if (!c.reply.empty()) {
            const auto reply = from.Next(c.id);
            ASSERT_TRUE(reply) << "packet " << c.id;
            EXPECT_EQ(reply->payload, c.reply) << "packet " << c.id;
        } else {
            EXPECT_EQ(from.Ack(c.id), (std::pair{c.device, c.status})) << "packet " << c.id;
        }
    }

    // A rescan: detection starts, the list is current, detection is complete.
    from.Forget();
    Send(client, sdk::EncodePacket(0, sdk::kRequestRescanDevices));
    for (const std::uint32_t notice : {sdk::kDetectionStarted, sdk::kDeviceListUpdated,
                                       sdk::kDetectionProgressChanged, sdk::kDetectionComplete}) {
        EXPECT_TRUE(from.Next(notice)) << "packet " << notice;
    }
    EXPECT_EQ(from.Ack(sdk::kRequestRescanDevices), (std::pair{0U, std::uint32_t{sdk::kStatusOk}}));
    EXPECT_EQ(client.state(), QAbstractSocket::ConnectedState);
}

} // namespace
