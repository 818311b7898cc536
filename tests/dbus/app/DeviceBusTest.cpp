// The device API on a bus of the test's own, against the main window with simulated products:
// values read back as the pages hold them, changes reach the mouse's memory, the profile and the
// page, refused calls change nothing, the device's own buttons and plugging are told as signals,
// and q407ctl drives it all from outside with its output and exit codes.

#include "app/DeviceBus.h"

#include "app/CMainWnd.h"
#include "app/InstanceBus.h"
#include "app/OpenRgbSdkServer.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "devices/HeadsetModel.h"
#include "devices/LightBlockModel.h"
#include "editors/CLightControlUI.h"
#include "pages/CKestravaHS6533Device.h"
#include "pages/CKestravaKeyboardDevice.h"
#include "pages/CKestravaMouseDevice.h"
#include "profiles/JsonFile.h"
#include "sim/SimulatedAudioConfLib.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/PrivateBus.h"
#include "support/QtTestUtil.h"
#include "support/UiTestScopes.h"
#include "toolkit/Notify.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"
#include "ui/app/ShellFixture.h"

#include <QAbstractSlider>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <span>

namespace {

using q407::pages::CKestravaMouseDevice;
using q407::sim::SimProduct;
using q407::sim::SimulatedProduct;
namespace block = q407::devices::mouse_block;
namespace kbb = q407::devices::keyboard_block;
namespace lb = q407::devices::light_block;
namespace sdk = q407::devices::sdk;

constexpr int kMousePage = 0; // the cable mouse's page is made first
constexpr int kKeyboardPage = 2;

testutil::PrivateBus& Bus() {
    static testutil::PrivateBus bus;
    return bus;
}

QDBusConnection Connection(const QString& name) {
    return QDBusConnection::connectToBus(Bus().Address(), name);
}

QString DevicePath(int page) {
    return QString::fromLatin1(q407::app::kDevicePathPrefix) + QString::number(page);
}

// A dictionary from the bus: messages handed over whole carry it as a bus argument.
QVariantMap MapOf(const QVariant& value) {
    return value.metaType() == QMetaType::fromType<QDBusArgument>()
               ? qdbus_cast<QVariantMap>(value.value<QDBusArgument>())
               : value.toMap();
}

// Receives the device API's signals.
class SignalSink : public QObject {
    Q_OBJECT
public:
    std::vector<QVariantMap> changed;
    QStringList added;
    QStringList removed;
    std::vector<std::pair<qint64, qint64>> lightOwner;
public Q_SLOTS:
    void OnChanged(const QDBusMessage& message) {
        changed.push_back(MapOf(message.arguments().value(1)));
    }
    void OnAdded(const QDBusMessage& message) {
        added.append(message.arguments().value(0).value<QDBusObjectPath>().path());
    }
    void OnRemoved(const QDBusMessage& message) {
        removed.append(message.arguments().value(0).value<QDBusObjectPath>().path());
    }
    void OnLightOwner(const QDBusMessage& message) {
        lightOwner.emplace_back(message.arguments().value(0).toLongLong(),
                                message.arguments().value(1).toLongLong());
    }
};

// The shell's window fixture, the window owning the service name on the test's own bus.
class DeviceBusTest : public ShellTest {
protected:
    void SetUp() override {
        if (!Connection(QStringLiteral("main")).isConnected()) {
            GTEST_SKIP() << "dbus-daemon cannot run here";
        }
        m_instance = std::make_unique<q407::app::InstanceBus>(
            QString::fromLatin1(q407::app::kBusService), QStringLiteral("unused.lock"),
            Connection(QStringLiteral("main")));
        ASSERT_EQ(m_instance->Acquire(), q407::app::InstanceBus::Role::First);
        CreateWindow(m_instance.get());
    }
    void TearDown() override {
        ShellTest::TearDown();
        m_instance.reset();
    }

    // Plugs a product and waits until its object is on the bus.
    std::shared_ptr<SimulatedProduct> Plug(SimProduct product, int page) {
        ShellTest::Plug(product);
        EXPECT_TRUE(testutil::WaitUntil([&] { return Devices().contains(DevicePath(page)); }, 8000))
            << "page " << page << " never reached the bus";
        return m_products.back();
    }
    CKestravaMouseDevice* MousePage() {
        return qobject_cast<CKestravaMouseDevice*>(m_window->Pages()->Page(kMousePage));
    }

    // A call from another connection, as another process makes it; the window answers meanwhile.
    QDBusMessage Call(const QString& path, const QString& interface, const QString& member,
                      const QVariantList& arguments = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(q407::app::kBusService), path, interface, member);
        call.setArguments(arguments);
        QDBusPendingCall pending = m_client.asyncCall(call, 5000);
        EXPECT_TRUE(testutil::WaitUntil([&] { return pending.isFinished(); }, 6000));
        return pending.reply();
    }
    QDBusMessage Mouse(const char* member, const QVariantList& arguments, int page = kMousePage) {
        return Call(DevicePath(page), QString::fromLatin1(q407::app::kMouseInterface),
                    QString::fromLatin1(member), arguments);
    }
    QVariantMap GetAll(const char* interface, int page = kMousePage) {
        const QDBusMessage reply =
            Call(DevicePath(page), QStringLiteral("org.freedesktop.DBus.Properties"),
                 QStringLiteral("GetAll"), {QString::fromLatin1(interface)});
        return MapOf(reply.arguments().value(0));
    }
    QDBusMessage Method(int page, const char* interface, const char* member,
                        const QVariantList& arguments = {}) {
        return Call(DevicePath(page), QString::fromLatin1(interface), QString::fromLatin1(member),
                    arguments);
    }
    QDBusMessage SetProperty(int page, const char* interface, const char* name,
                             const QVariant& value) {
        return Call(DevicePath(page), QStringLiteral("org.freedesktop.DBus.Properties"),
                    QStringLiteral("Set"),
                    {QString::fromLatin1(interface), QString::fromLatin1(name),
                     QVariant::fromValue(QDBusVariant(value))});
    }
    // Each refused call answers with its error and a message.
    struct Refusal {
        const char* interface;
        const char* member; // a method, or "=Name" to set property Name to arguments[0]
        QVariantList arguments;
        const char* error;
    };
    void ExpectRefused(int page, std::span<const Refusal> refusals) {
        for (const Refusal& r : refusals) {
            const QDBusMessage reply =
                r.member[0] == '='
                    ? SetProperty(page, r.interface, r.member + 1, r.arguments.value(0))
                    : Method(page, r.interface, r.member, r.arguments);
            EXPECT_EQ(reply.errorName(), QString::fromLatin1(r.error))
                << r.member << " " << reply.errorMessage().toStdString();
            EXPECT_FALSE(reply.errorMessage().isEmpty()) << r.member;
        }
    }
    static Json::Value ProfileOf(q407::pages::CKestravaUSBDevice* page) {
        const Json::Value file = q407::profiles::ReadJsonFile(page->Model().GetProfilePath());
        return file["Device"][page->Model().GetDeviceIndex()];
    }
    QStringList Devices() {
        const QDBusMessage reply =
            Call(QString::fromLatin1(q407::app::kBusPath),
                 QString::fromLatin1(q407::app::kManagerInterface), QStringLiteral("Devices"));
        QStringList paths;
        for (const auto& path : qdbus_cast<QList<QDBusObjectPath>>(
                 reply.arguments().value(0).value<QDBusArgument>())) {
            paths.append(path.path());
        }
        return paths;
    }
    static QList<int> Ints(const QVariant& value) {
        return qdbus_cast<QList<int>>(value.value<QDBusArgument>());
    }
    std::vector<std::uint8_t> DeviceBlock(int slot = 0) {
        const auto memory = m_products.front()->Firmware().Memory().settingsMemory;
        const auto start = memory.begin() + slot * 96;
        return {start, start + block::kSize};
    }
    static int StageX(const std::vector<std::uint8_t>& b, int stage) {
        const std::size_t at = block::kStages + block::kStageSize * stage;
        return b[at + 2] | (b[at + 3] << 8);
    }
    Json::Value Profile() {
        return q407::profiles::ReadJsonFile(MousePage()->Mouse().GetProfilePath())["Device"][0];
    }

    std::unique_ptr<q407::app::InstanceBus> m_instance;
    QDBusConnection m_client = Connection(QStringLiteral("client"));
};

TEST_F(DeviceBusTest, PropertiesShowWhatThePagesHold) {
    struct Case {
        SimProduct product;
        int page;
        const char* connection;
        int rates;
    };
    for (const Case& c : {Case{SimProduct::MouseA, 0, "cable", 4},
                          Case{SimProduct::MouseBReceiver, 1, "receiver", 6}}) {
        Plug(c.product, c.page);
        auto* page = qobject_cast<CKestravaMouseDevice*>(m_window->Pages()->Page(c.page));
        ASSERT_NE(page, nullptr);
        const QVariantMap device = GetAll(q407::app::kDeviceInterface, c.page);
        EXPECT_EQ(device[QStringLiteral("Kind")].toString(), QStringLiteral("mouse"));
        EXPECT_EQ(device[QStringLiteral("Name")].toString(), QStringLiteral("Mouse"));
        EXPECT_EQ(device[QStringLiteral("Connection")].toString(),
                  QString::fromLatin1(c.connection));
        EXPECT_EQ(device[QStringLiteral("FirmwareVersion")].toString(),
                  page->FirmwareVersionText());
        EXPECT_EQ(device[QStringLiteral("Profiles")].toStringList(),
                  QStringList{QStringLiteral("Profile1")});
        EXPECT_EQ(device[QStringLiteral("SelectedProfile")].toInt(), 0);
        const QVariantMap mouse = GetAll(q407::app::kMouseInterface, c.page);
        const QList<int> stages = Ints(mouse[QStringLiteral("DpiStages")]);
        ASSERT_EQ(stages.size(), 6);
        for (int stage = 0; stage < 6; ++stage) {
            EXPECT_EQ(stages[stage], page->Mouse().ShownDpi(stage)) << stage;
        }
        EXPECT_EQ(mouse[QStringLiteral("ActiveDpiStage")].toInt(), page->Mouse().ActiveStage());
        const QList<int> rates = Ints(mouse[QStringLiteral("ReportRates")]);
        EXPECT_EQ(rates.size(), c.rates);
        EXPECT_EQ(mouse[QStringLiteral("ReportRate")].toInt(),
                  rates.value(page->Mouse().ReportRate()));
        EXPECT_EQ(mouse[QStringLiteral("LiftOff")].toInt(),
                  page->Mouse().GetSettingField(q407::devices::MouseField::LiftOff));
    }
    // Another kind has the common interface only.
    Plug(SimProduct::KeyboardK, kKeyboardPage);
    EXPECT_EQ(GetAll(q407::app::kDeviceInterface, kKeyboardPage)[QStringLiteral("Kind")],
              QStringLiteral("keyboard"));
    EXPECT_TRUE(GetAll(q407::app::kMouseInterface, kKeyboardPage).isEmpty());
}

TEST_F(DeviceBusTest, EveryIntrospectedPropertyOfAMouseCanBeRead) {
    Plug(SimProduct::MouseA, kMousePage);
    const QDBusMessage reply =
        Call(DevicePath(kMousePage), QStringLiteral("org.freedesktop.DBus.Introspectable"),
             QStringLiteral("Introspect"));
    const QString xml = reply.arguments().value(0).toString();
    const QRegularExpression property(QStringLiteral("<property name=\"(\\w+)\""));
    int count = 0;
    for (const auto& match : property.globalMatch(xml)) {
        ++count;
        const QDBusMessage get =
            Call(DevicePath(kMousePage), QStringLiteral("org.freedesktop.DBus.Properties"),
                 QStringLiteral("Get"), {QString(), match.captured(1)});
        EXPECT_EQ(get.type(), QDBusMessage::ReplyMessage)
            << match.captured(1).toStdString() << ": " << get.errorMessage().toStdString();
    }
    EXPECT_GT(count, 15) << "the device and mouse interfaces are introspected";
}

TEST_F(DeviceBusTest, ChangesReachTheMouseTheProfileAndThePage) {
    Plug(SimProduct::MouseA, kMousePage);
    CKestravaMouseDevice* page = MousePage();
    ASSERT_NE(page, nullptr);

    ASSERT_EQ(Mouse("SetDpi", {2, 1650}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(StageX(DeviceBlock(), 2), 1650);
    EXPECT_EQ(Profile()["DPIStages"]["StageDPIs"][2]["StageDPIX"].asInt(), 1650);
    EXPECT_EQ(page->ReadDpiEdit(2), 1650) << "the window shows it";

    ASSERT_EQ(Mouse("SetActiveDpiStage", {3}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(DeviceBlock()[block::kActiveStage], 3);

    ASSERT_EQ(Mouse("SetDpiStageEnabled", {5, false}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(DeviceBlock()[block::kStages + block::kStageSize * 5], 0) << "stage 5 is skipped";
    ASSERT_EQ(Mouse("SetDpiStageColour", {1, QStringLiteral("00ff80")}).type(),
              QDBusMessage::ReplyMessage);
    const std::size_t colour = block::kStages + block::kStageSize * 1 + 6;
    EXPECT_EQ((std::vector<int>{DeviceBlock()[colour], DeviceBlock()[colour + 1],
                                DeviceBlock()[colour + 2]}),
              (std::vector<int>{0x00, 0xFF, 0x80}));

    ASSERT_EQ(Mouse("SetReportRate", {500}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(DeviceBlock()[block::kReportRate], 2) << "500 Hz is the third choice";

    const QDBusMessage set =
        Call(DevicePath(kMousePage), QStringLiteral("org.freedesktop.DBus.Properties"),
             QStringLiteral("Set"),
             {QString::fromLatin1(q407::app::kMouseInterface), QStringLiteral("LiftOff"),
              QVariant::fromValue(QDBusVariant(2))});
    ASSERT_EQ(set.type(), QDBusMessage::ReplyMessage) << set.errorMessage().toStdString();
    EXPECT_EQ(DeviceBlock()[block::kLiftOff], 2);
    EXPECT_EQ(GetAll(q407::app::kMouseInterface)[QStringLiteral("LiftOff")].toInt(), 2);

    const QVariantMap light{{QStringLiteral("Colour"), QStringLiteral("ff8800")},
                            {QStringLiteral("Brightness"), 2},
                            {QStringLiteral("Speed"), 1}};
    const QDBusMessage lit =
        Call(DevicePath(kMousePage), QString::fromLatin1(q407::app::kLightInterface),
             QStringLiteral("SetLight"), {light});
    ASSERT_EQ(lit.type(), QDBusMessage::ReplyMessage) << lit.errorMessage().toStdString();
    const auto memory = DeviceBlock();
    EXPECT_EQ(
        (std::vector<int>{memory[block::kRed], memory[block::kRed + 1], memory[block::kRed + 2],
                          memory[block::kBrightness], memory[block::kSpeed]}),
        (std::vector<int>{0xFF, 0x88, 0x00, 2, 4 - 1}));
    EXPECT_EQ(Profile()["LightInfo"]["Red"].asInt(), 0xFF);
    EXPECT_EQ(page->LightPanel()->GetBrightness(), 2) << "the lighting panel shows it";
}

TEST_F(DeviceBusTest, KeyboardSwitchesReachTheKeyboardAndTheProfile) {
    auto keyboard = Plug(SimProduct::KeyboardK, kKeyboardPage);
    auto* page =
        qobject_cast<q407::pages::CKestravaKeyboardDevice*>(m_window->Pages()->Page(kKeyboardPage));
    ASSERT_NE(page, nullptr);
    const auto set = [&](const char* name, const QVariant& value) {
        return Call(DevicePath(kKeyboardPage), QStringLiteral("org.freedesktop.DBus.Properties"),
                    QStringLiteral("Set"),
                    {QString::fromLatin1(q407::app::kKeyboardInterface), QString::fromLatin1(name),
                     QVariant::fromValue(QDBusVariant(value))});
    };
    const auto profile = [&] {
        return q407::profiles::ReadJsonFile(
            page->Keyboard().GetProfilePath())["Device"][0]["SystemStages"];
    };
    struct Case {
        const char* name;
        std::size_t byte;
        const char* key;
    };
    for (const Case& c :
         {Case{"WinLock", kbb::kWinLock, "WinFlag"}, Case{"WasdSwitch", kbb::kWFlag, "WFlag"},
          Case{"SixKeyMode", kbb::kKey6, "Key6Flag"}}) {
        ASSERT_EQ(set(c.name, true).type(), QDBusMessage::ReplyMessage) << c.name;
        EXPECT_EQ(keyboard->Firmware().Memory().settingsMemory[c.byte], 1) << c.name;
        EXPECT_EQ(profile()[c.key].asInt(), 1) << c.name;
        EXPECT_TRUE(
            GetAll(q407::app::kKeyboardInterface, kKeyboardPage)[QString::fromLatin1(c.name)]
                .toBool());
    }
    ASSERT_EQ(set("RepeatDelay", 750).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(profile()["RepeatDelay"].asInt(), 2) << "750 ms is the third option";
    EXPECT_EQ(set("RepeatDelay", 600).errorName(),
              QString::fromLatin1(q407::app::kErrorOutOfRange));
    EXPECT_EQ(set("WinLock", 2).errorName(), QString::fromLatin1(q407::app::kErrorOutOfRange));
    EXPECT_EQ(profile()["RepeatDelay"].asInt(), 2);
}

TEST_F(DeviceBusTest, HeadsetEqualiserCurvesAreChosenAndRead) {
    auto library = std::make_shared<q407::sim::SimulatedAudioConfLib>();
    q407::devices::SetAudioLibrary(library);
    constexpr int kHeadsetPage = 2; // the first page made after the two mice's
    Plug(SimProduct::Headset, kHeadsetPage);
    const auto setPreset = [&](int preset) {
        return Call(DevicePath(kHeadsetPage), QStringLiteral("org.freedesktop.DBus.Properties"),
                    QStringLiteral("Set"),
                    {QString::fromLatin1(q407::app::kHeadsetInterface), QStringLiteral("EqPreset"),
                     QVariant::fromValue(QDBusVariant(preset))});
    };
    ASSERT_EQ(setPreset(5).type(), QDBusMessage::ReplyMessage);
    const q407::devices::EqCurve& curve = q407::devices::BuiltInEqCurve(5);
    EXPECT_EQ(library->Value(1, "EQ_Slider4"), std::to_string(curve[3])) << "the sound card has it";
    const QVariantMap headset = GetAll(q407::app::kHeadsetInterface, kHeadsetPage);
    EXPECT_EQ(headset[QStringLiteral("EqPreset")].toInt(), 5);
    EXPECT_EQ(Ints(headset[QStringLiteral("EqCurve")]), QList<int>(curve.begin(), curve.end()));
    EXPECT_EQ(setPreset(13).errorName(), QString::fromLatin1(q407::app::kErrorOutOfRange));
    EXPECT_EQ(
        GetAll(q407::app::kHeadsetInterface, kHeadsetPage)[QStringLiteral("EqPreset")].toInt(), 5);
    m_window.reset(); // the page lets the library go before the test does
    q407::devices::SetAudioLibrary(nullptr);
}

TEST_F(DeviceBusTest, RefusedCallsAnswerWithTheirErrorAndChangeNothing) {
    Plug(SimProduct::MouseA, kMousePage);
    Plug(SimProduct::KeyboardK, kKeyboardPage);
    const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
    const QString mouse = QString::fromLatin1(q407::app::kMouseInterface);
    const QString light = QString::fromLatin1(q407::app::kLightInterface);
    const int active = MousePage()->Mouse().ActiveStage();
    struct Case {
        int page;
        QString interface;
        const char* member;
        QVariantList arguments;
        const char* error;
    };
    const Case cases[] = {
        {kMousePage, mouse, "SetDpi", {0, 26050}, q407::app::kErrorOutOfRange},
        {kMousePage, mouse, "SetDpi", {0, 0}, q407::app::kErrorOutOfRange},
        {kMousePage, mouse, "SetDpi", {0, 1024}, q407::app::kErrorOutOfRange},
        {kMousePage, mouse, "SetDpi", {6, 800}, q407::app::kErrorOutOfRange},
        {kMousePage,
         mouse,
         "SetDpi",
         {QStringLiteral("800")},
         "org.freedesktop.DBus.Error.InvalidArgs"},
        {kMousePage, mouse, "SetActiveDpiStage", {-1}, q407::app::kErrorOutOfRange},
        {kMousePage,
         mouse,
         "SetDpiStageColour",
         {0, QStringLiteral("red")},
         q407::app::kErrorOutOfRange},
        {kMousePage, mouse, "SetDpiStageEnabled", {active, false}, q407::app::kErrorRefused},
        {kMousePage, mouse, "SetReportRate", {2000}, q407::app::kErrorOutOfRange},
        {kMousePage,
         properties,
         "Set",
         {mouse, QStringLiteral("LiftOff"), QVariant::fromValue(QDBusVariant(3))},
         q407::app::kErrorOutOfRange},
        {kMousePage,
         properties,
         "Set",
         {mouse, QStringLiteral("DpiStages"), QVariant::fromValue(QDBusVariant(3))},
         "org.freedesktop.DBus.Error.PropertyReadOnly"},
        {kMousePage,
         QString::fromLatin1(q407::app::kDeviceInterface),
         "SelectProfile",
         {1},
         q407::app::kErrorOutOfRange},
        {kMousePage,
         light,
         "SetLight",
         {QVariantMap{{QStringLiteral("LightMode"), 99}}},
         q407::app::kErrorOutOfRange},
        {kMousePage,
         light,
         "SetLight",
         {QVariantMap{{QStringLiteral("Colour"), QStringLiteral("12345")}}},
         q407::app::kErrorOutOfRange},
        // The first value would do; the second is refused, so neither is applied.
        {kMousePage,
         light,
         "SetLight",
         {QVariantMap{{QStringLiteral("Colour"), QStringLiteral("00ff00")},
                      {QStringLiteral("Speed"), 9}}},
         q407::app::kErrorOutOfRange},
        {kKeyboardPage, mouse, "SetDpi", {0, 800}, q407::app::kErrorWrongKind},
        {1, mouse, "SetDpi", {0, 800}, q407::app::kErrorDeviceGone},
        {9, mouse, "SetDpi", {0, 800}, "org.freedesktop.DBus.Error.UnknownObject"},
    };
    const auto memory = DeviceBlock();
    const Json::Value profile = Profile();
    for (const Case& c : cases) {
        const QDBusMessage reply =
            Call(DevicePath(c.page), c.interface, QString::fromLatin1(c.member), c.arguments);
        EXPECT_EQ(reply.errorName(), QString::fromLatin1(c.error)) << c.member;
        EXPECT_FALSE(reply.errorMessage().isEmpty()) << c.member;
    }
    EXPECT_EQ(DeviceBlock(), memory);
    EXPECT_EQ(Profile(), profile);
}

TEST_F(DeviceBusTest, ProfilesAreAddedRenamedExportedAndImportedAsInTheWindow) {
    Plug(SimProduct::MouseA, kMousePage);
    const QString device = QString::fromLatin1(q407::app::kDeviceInterface);
    const auto profiles = [&] {
        return GetAll(q407::app::kDeviceInterface)[QStringLiteral("Profiles")].toStringList();
    };
    const auto call = [&](const char* member, const QVariantList& arguments = {}) {
        return Call(DevicePath(kMousePage), device, QString::fromLatin1(member), arguments)
            .errorName();
    };
    const QString refused = QString::fromLatin1(q407::app::kErrorRefused);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString exported = folder.filePath(QStringLiteral("work.json"));
    QFile notAProfile(folder.filePath(QStringLiteral("notes.json")));
    ASSERT_TRUE(notAProfile.open(QIODevice::WriteOnly));
    notAProfile.write("{\"shopping\": [\"milk\"]}");
    notAProfile.close();

    EXPECT_EQ(call("RenameProfile", {QStringLiteral("Work")}), QString());
    EXPECT_EQ(call("AddProfile"), QString());
    EXPECT_EQ(profiles().size(), 2);
    EXPECT_EQ(profiles().value(0), QStringLiteral("Work"));
    EXPECT_EQ(call("SelectProfile", {1}), QString());
    EXPECT_EQ(call("RenameProfile", {QStringLiteral("WORK")}), refused) << "names ignore case";
    EXPECT_EQ(call("RenameProfile", {QStringLiteral("  ")}), refused);
    EXPECT_EQ(call("ImportProfile", {QStringLiteral("relative.json")}), refused);
    EXPECT_EQ(call("ImportProfile", {notAProfile.fileName()}), refused);
    EXPECT_EQ(profiles().size(), 2) << "refused imports add nothing";

    EXPECT_EQ(call("SelectProfile", {0}), QString());
    EXPECT_EQ(call("ExportProfile", {exported}), QString());
    ASSERT_TRUE(QFile::exists(exported));
    EXPECT_EQ(call("ImportProfile", {exported}), QString());
    EXPECT_EQ(profiles().size(), 3);
    EXPECT_EQ(GetAll(q407::app::kDeviceInterface)[QStringLiteral("SelectedProfile")].toInt(), 2);
}

TEST_F(DeviceBusTest, DeviceButtonsAndPluggingAreToldAsSignals) {
    SignalSink sink;
    const QString service = QString::fromLatin1(q407::app::kBusService);
    ASSERT_TRUE(m_client.connect(service, QString::fromLatin1(q407::app::kBusPath),
                                 QString::fromLatin1(q407::app::kManagerInterface),
                                 QStringLiteral("DeviceAdded"), &sink,
                                 SLOT(OnAdded(QDBusMessage))));
    ASSERT_TRUE(m_client.connect(service, QString::fromLatin1(q407::app::kBusPath),
                                 QString::fromLatin1(q407::app::kManagerInterface),
                                 QStringLiteral("DeviceRemoved"), &sink,
                                 SLOT(OnRemoved(QDBusMessage))));
    ASSERT_TRUE(m_client.connect(
        service, DevicePath(kMousePage), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"), &sink, SLOT(OnChanged(QDBusMessage))));

    auto mouse = Plug(SimProduct::MouseA, kMousePage);
    EXPECT_TRUE(testutil::WaitUntil([&] { return sink.added.contains(DevicePath(kMousePage)); }));

    // The mouse's own DPI button: the page follows it, and so does the bus.
    const int stage = (MousePage()->Mouse().ActiveStage() + 2) % 6;
    ASSERT_TRUE(mouse->PressDpiButton(0, stage));
    EXPECT_TRUE(testutil::WaitUntil(
        [&] {
            return std::any_of(sink.changed.begin(), sink.changed.end(), [&](const QVariantMap& m) {
                return m.value(QStringLiteral("ActiveDpiStage"), -1).toInt() == stage;
            });
        },
        4000));

    mouse->Unplug();
    EXPECT_TRUE(
        testutil::WaitUntil([&] { return sink.removed.contains(DevicePath(kMousePage)); }, 4000));
    EXPECT_FALSE(Devices().contains(DevicePath(kMousePage)));
    EXPECT_EQ(Mouse("SetDpi", {0, 800}).errorName(),
              QString::fromLatin1(q407::app::kErrorDeviceGone));
}

TEST_F(DeviceBusTest, ProfilesAreDeletedAndResetAsInTheWindow) {
    Plug(SimProduct::MouseA, kMousePage);
    const char* device = q407::app::kDeviceInterface;
    const auto shown = [&] { return GetAll(device); };
    const int factory = StageX(DeviceBlock(), 2);
    ASSERT_EQ(Method(kMousePage, device, "RenameProfile", {QStringLiteral("First")}).errorName(),
              QString());
    ASSERT_EQ(Method(kMousePage, device, "AddProfile").errorName(), QString());
    ASSERT_EQ(Method(kMousePage, device, "AddProfile").errorName(), QString());

    // Reset: the changed stage goes back to the defaults in the profile and on the mouse.
    ASSERT_EQ(Mouse("SetDpi", {2, factory + 500}).errorName(), QString());
    ASSERT_EQ(StageX(DeviceBlock(), 2), factory + 500);
    ASSERT_EQ(Method(kMousePage, device, "ResetProfile").errorName(), QString());
    EXPECT_EQ(StageX(DeviceBlock(), 2), factory);
    EXPECT_EQ(Profile()["DPIStages"]["StageDPIs"][2]["StageDPIX"].asInt(), factory);

    // Deleting profile 2 while 0 is selected: it is selected, deleted, and 1 is applied.
    ASSERT_EQ(Method(kMousePage, device, "DeleteProfile", {2}).errorName(), QString());
    EXPECT_EQ(shown()[QStringLiteral("Profiles")].toStringList().size(), 2);
    EXPECT_EQ(shown()[QStringLiteral("SelectedProfile")].toInt(), 1);

    const Refusal refusals[] = {
        {device, "DeleteProfile", {2}, q407::app::kErrorOutOfRange},
        {device, "DeleteProfile", {-1}, q407::app::kErrorOutOfRange},
        {device, "DeleteProfile", {QStringLiteral("1")}, "org.freedesktop.DBus.Error.InvalidArgs"},
        {device, "ResetProfile", {1}, "org.freedesktop.DBus.Error.InvalidArgs"},
    };
    ExpectRefused(kMousePage, refusals);
    ASSERT_EQ(Method(kMousePage, device, "DeleteProfile", {0}).errorName(), QString());
    EXPECT_EQ(shown()[QStringLiteral("Profiles")].toStringList(),
              QStringList{QStringLiteral("Profile1")})
        << "the profile after the first was the one left";
    EXPECT_EQ(Method(kMousePage, device, "DeleteProfile", {0}).errorName(),
              QString::fromLatin1(q407::app::kErrorRefused))
        << "the only profile stays";
}

TEST_F(DeviceBusTest, KeyFunctionsAreTheKeyPanelsCodesOnMiceAndKeyboards) {
    auto mouse = Plug(SimProduct::MouseA, kMousePage);
    auto keyboard = Plug(SimProduct::KeyboardK, kKeyboardPage);
    auto* keyboardPage =
        qobject_cast<q407::pages::CKestravaKeyboardDevice*>(m_window->Pages()->Page(kKeyboardPage));
    ASSERT_NE(keyboardPage, nullptr);
    const char* device = q407::app::kDeviceInterface;
    // The three bytes the product holds for a page's key.
    const auto deviceKey = [&](int page, int key) {
        const bool isMouse = page == kMousePage;
        const auto table = (isMouse ? mouse : keyboard)->Firmware().Memory().keyTable;
        const int position = isMouse ? MousePage()->Mouse().KeyMap().at(key)
                                     : keyboardPage->Keyboard().PositionMap()[key];
        const std::size_t at = 3 * static_cast<std::size_t>(position);
        return (table[at] << 16) | (table[at + 1] << 8) | table[at + 2];
    };
    struct Case {
        int page;
        int key;
        uint function;
        const char* text; // what the key shows
    };
    for (const Case& c :
         {Case{kMousePage, 2, 0x100200, "mouse_key_right"}, Case{kMousePage, 3, 0x130100, nullptr},
          Case{kKeyboardPage, 10, 0x200004, nullptr}, Case{kKeyboardPage, 11, 0x400200, nullptr}}) {
        const std::string what = std::to_string(c.page) + "/" + std::to_string(c.key);
        const QDBusMessage set = Method(c.page, device, "SetKeyFunction", {c.key, c.function});
        ASSERT_EQ(set.errorName(), QString()) << what << set.errorMessage().toStdString();
        EXPECT_EQ(static_cast<uint>(deviceKey(c.page, c.key)), c.function) << what;
        const Json::Value stored =
            ProfileOf(m_window->Pages()->Page(c.page))["KeyList"][c.key]["Assignment"];
        EXPECT_EQ(stored.asUInt(), c.function) << what;
        const QVariantList read = Method(c.page, device, "GetKeyFunction", {c.key}).arguments();
        ASSERT_EQ(read.size(), 3) << what;
        EXPECT_EQ(read[0].toUInt(), c.function) << what;
        EXPECT_NE(read[1].toUInt(), c.function) << what << ": the default differs";
        if (c.text != nullptr) {
            EXPECT_EQ(read[2].toString(),
                      q407::toolkit::ResourceManager::Instance().Text(QString::fromLatin1(c.text)));
        }
    }

    const auto mouseTable = mouse->Firmware().Memory().keyTable;
    const auto keyboardTable = keyboard->Firmware().Memory().keyTable;
    const Refusal refusals[] = {
        {device, "SetKeyFunction", {2, 0x220001u}, q407::app::kErrorOutOfRange}, // shown only
        {device, "SetKeyFunction", {2, 0x100300u}, q407::app::kErrorOutOfRange}, // two buttons
        {device, "SetKeyFunction", {2, 0x700900u}, q407::app::kErrorOutOfRange}, // no macro 9
        {device, "SetKeyFunction", {2, 0x1000100u}, q407::app::kErrorOutOfRange},
        {device, "SetKeyFunction", {99, 0x100200u}, q407::app::kErrorOutOfRange},
        {device, "GetKeyFunction", {-1}, q407::app::kErrorOutOfRange},
        {device, "SetKeyFunction", {2, 5}, "org.freedesktop.DBus.Error.InvalidArgs"},
    };
    ExpectRefused(kMousePage, refusals);
    const Refusal keyboardRefusals[] = {
        {device, "SetKeyFunction", {10, 0x130100u}, q407::app::kErrorOutOfRange}, // DPI key
        {device, "SetKeyFunction", {q407::devices::kFnKey, 0x200004u}, q407::app::kErrorRefused},
    };
    ExpectRefused(kKeyboardPage, keyboardRefusals);
    EXPECT_EQ(mouse->Firmware().Memory().keyTable, mouseTable);
    EXPECT_EQ(keyboard->Firmware().Memory().keyTable, keyboardTable);
}

TEST_F(DeviceBusTest, KeyboardRepeatRateAndCustomColoursReachTheKeyboardAndTheProfile) {
    auto keyboard = Plug(SimProduct::KeyboardK, kKeyboardPage);
    auto* page =
        qobject_cast<q407::pages::CKestravaKeyboardDevice*>(m_window->Pages()->Page(kKeyboardPage));
    ASSERT_NE(page, nullptr);
    const char* board = q407::app::kKeyboardInterface;
    const auto deviceColour = [&](int group, int key) {
        const auto memory = keyboard->Firmware().Memory().indexedMemory;
        const std::size_t at = group * 512 + 3 * page->Keyboard().LedMap()[key];
        return QStringLiteral("%1%2%3")
            .arg(memory[at], 2, 16, QLatin1Char('0'))
            .arg(memory[at + 1], 2, 16, QLatin1Char('0'))
            .arg(memory[at + 2], 2, 16, QLatin1Char('0'));
    };
    const auto colours = [&](int group) {
        return Method(kKeyboardPage, board, "GetCustomColours", {group})
            .arguments()
            .value(0)
            .toStringList();
    };
    const int groups = GetAll(board, kKeyboardPage)[QStringLiteral("CustomColourGroups")].toInt();
    ASSERT_GT(groups, 1);
    EXPECT_EQ(colours(0).size(), page->KeyButtons().size());

    // Refused first: outside the custom-colour mode, and bad values in it.
    const auto memory = keyboard->Firmware().Memory();
    const Json::Value profile = ProfileOf(page);
    const QVariant keys = QVariant::fromValue(QList<int>{3, 4});
    const Refusal refusals[] = {
        {board,
         "PaintCustomColours",
         {1, keys, QStringLiteral("ff0000")},
         q407::app::kErrorRefused},
        {board, "=RepeatRate", {32}, q407::app::kErrorOutOfRange},
        {board, "=RepeatRate", {-1}, q407::app::kErrorOutOfRange},
        {board, "GetCustomColours", {groups}, q407::app::kErrorOutOfRange},
    };
    ExpectRefused(kKeyboardPage, refusals);
    ASSERT_EQ(Call(DevicePath(kKeyboardPage), QString::fromLatin1(q407::app::kLightInterface),
                   QStringLiteral("SetLight"),
                   {QVariantMap{{QStringLiteral("LightMode"), q407::devices::kCustomColourMode}}})
                  .errorName(),
              QString());
    const auto colourMemory = keyboard->Firmware().Memory().indexedMemory;
    const Json::Value colourProfile = ProfileOf(page)["CustomLightMode"];
    const Refusal paintRefusals[] = {
        {board,
         "PaintCustomColours",
         {groups, keys, QStringLiteral("ff0000")},
         q407::app::kErrorOutOfRange},
        {board,
         "PaintCustomColours",
         {1, keys, QStringLiteral("red")},
         q407::app::kErrorOutOfRange},
        // The first key would do; the second is no key, so neither is painted.
        {board,
         "PaintCustomColours",
         {1, QVariant::fromValue(QList<int>{3, 999}), QStringLiteral("ff0000")},
         q407::app::kErrorOutOfRange},
        {board,
         "PaintCustomColours",
         {1, QVariant::fromValue(QList<int>{}), QStringLiteral("ff0000")},
         q407::app::kErrorRefused},
    };
    ExpectRefused(kKeyboardPage, paintRefusals);
    EXPECT_EQ(keyboard->Firmware().Memory().indexedMemory, colourMemory);
    EXPECT_EQ(ProfileOf(page)["CustomLightMode"], colourProfile);
    EXPECT_EQ(keyboard->Firmware().Memory().keyTable, memory.keyTable);
    EXPECT_EQ(ProfileOf(page)["SystemStages"], profile["SystemStages"]);

    ASSERT_EQ(SetProperty(kKeyboardPage, board, "RepeatRate", 12).errorName(), QString());
    EXPECT_EQ(ProfileOf(page)["SystemStages"]["Repeat"].asInt(), 12);
    EXPECT_EQ(GetAll(board, kKeyboardPage)[QStringLiteral("RepeatRate")].toInt(), 12);

    ASSERT_EQ(
        Method(kKeyboardPage, board, "PaintCustomColours", {1, keys, QStringLiteral("ff8000")})
            .errorName(),
        QString());
    EXPECT_EQ(page->Keyboard().CustomGroup(), 1) << "group 1 became the keyboard's";
    EXPECT_EQ(keyboard->Firmware().Memory().settingsMemory[kbb::kCustomGroup], 1);
    for (const int key : {3, 4}) {
        EXPECT_EQ(deviceColour(1, key), QStringLiteral("ff8000")) << key;
        EXPECT_EQ(colours(1).value(key), QStringLiteral("ff8000")) << key;
        EXPECT_EQ(ProfileOf(page)["CustomLightMode"]["LightColorInfo"][1][key]["Red"].asInt(),
                  0xFF);
    }
    EXPECT_NE(colours(1).value(5), QStringLiteral("ff8000")) << "other keys keep theirs";
}

TEST_F(DeviceBusTest, HeadsetLevelsAndOwnCurvesReachTheSoundCardAndTheProfile) {
    auto library = std::make_shared<q407::sim::SimulatedAudioConfLib>();
    q407::devices::SetAudioLibrary(library);
    constexpr int kHeadsetPage = 2;
    Plug(SimProduct::Headset, kHeadsetPage);
    auto* page =
        qobject_cast<q407::pages::CKestravaHS6533Device*>(m_window->Pages()->Page(kHeadsetPage));
    ASSERT_NE(page, nullptr);
    const char* headset = q407::app::kHeadsetInterface;
    const auto scalar = [&](const char* property) {
        return std::stod(library->Value(2, property).value_or("-1"));
    };
    const auto shown = [&] { return GetAll(headset, kHeadsetPage); };

    struct Level {
        const char* property;
        const char* scalar;
        const char* stored;
    };
    for (const Level& l : {Level{"MicLevel", "VolumeScalarControl", "MicInValue"},
                           Level{"MonitorLevel", "AAVolumeScalarControl", "MicMoniterValue"}}) {
        ASSERT_EQ(SetProperty(kHeadsetPage, headset, l.property, 40).errorName(), QString())
            << l.property;
        EXPECT_NEAR(scalar(l.scalar), 0.4, 0.001) << l.property;
        EXPECT_EQ(ProfileOf(page)["SystemSetStages"][l.stored].asInt(), 40) << l.property;
        EXPECT_EQ(shown()[QString::fromLatin1(l.property)].toInt(), 40);
    }
    struct Mute {
        const char* property;
        const char* control;
        const char* stored;
    };
    for (const Mute& m : {Mute{"MicMuted", "MuteControl", "MicInSelect"},
                          Mute{"MonitorMuted", "AAMuteControl", "MicMoniterSelect"}}) {
        for (const bool muted : {true, true, false}) { // asking twice changes nothing more
            ASSERT_EQ(SetProperty(kHeadsetPage, headset, m.property, muted).errorName(), QString())
                << m.property;
            EXPECT_EQ(library->Value(2, m.control), muted ? "1" : "0") << m.property;
            EXPECT_EQ(ProfileOf(page)["SystemSetStages"][m.stored].asInt(), muted ? 0 : 1);
            EXPECT_EQ(shown()[QString::fromLatin1(m.property)].toBool(), muted);
        }
    }

    const QList<int> bands{-4, -2, 0, 2, 4, 6, 4, 2, 0, -20};
    const auto save = [&](const QString& name, const QList<int>& curve) {
        return Method(kHeadsetPage, headset, "SaveEqCurve", {name, QVariant::fromValue(curve)});
    };
    ASSERT_EQ(save(QStringLiteral("Voices"), bands).errorName(), QString());
    EXPECT_EQ(library->Value(1, "EQ_Slider10"), "-20") << "the sound card has the curve";
    EXPECT_EQ(Ints(shown()[QStringLiteral("EqCurve")]), bands);
    EXPECT_EQ(shown()[QStringLiteral("EqPreset")].toInt(), q407::devices::kEqCustomType);
    EXPECT_EQ(shown()[QStringLiteral("CustomEqNames")].toStringList(),
              QStringList{QStringLiteral("Voices")});
    // The same name in other letters saves over that curve.
    QList<int> louder = bands;
    louder[0] = 8;
    ASSERT_EQ(save(QStringLiteral("VOICES"), louder).errorName(), QString());
    EXPECT_EQ(library->Value(1, "EQ_Slider1"), "8");
    EXPECT_EQ(Ints(shown()[QStringLiteral("EqCurve")]), louder);
    EXPECT_EQ(shown()[QStringLiteral("CustomEqNames")].toStringList().size(), 1);
    // A built-in curve, then the own one again by its name.
    ASSERT_EQ(SetProperty(kHeadsetPage, headset, "EqPreset", 4).errorName(), QString());
    EXPECT_NE(Ints(shown()[QStringLiteral("EqCurve")]), louder);
    ASSERT_EQ(
        Method(kHeadsetPage, headset, "SelectEqCurve", {QStringLiteral("voices")}).errorName(),
        QString());
    EXPECT_EQ(Ints(shown()[QStringLiteral("EqCurve")]), louder);
    EXPECT_EQ(library->Value(1, "EQ_Slider1"), "8");
    EXPECT_EQ(shown()[QStringLiteral("EqPreset")].toInt(), q407::devices::kEqCustomType);
    EXPECT_NE(q407::profiles::ReadJsonFile(page->Model().GetProfilePath())
                  .toStyledString()
                  .find("Voices"),
              std::string::npos);

    const Json::Value profile = ProfileOf(page);
    QList<int> tooHigh = bands;
    tooHigh[3] = 21;
    const Refusal refusals[] = {
        {headset, "=MicLevel", {101}, q407::app::kErrorOutOfRange},
        {headset, "=MonitorLevel", {-1}, q407::app::kErrorOutOfRange},
        {headset, "=MicMuted", {2}, q407::app::kErrorOutOfRange},
        {headset,
         "SaveEqCurve",
         {QStringLiteral("Short"), QVariant::fromValue(bands.mid(0, 9))},
         q407::app::kErrorOutOfRange},
        {headset,
         "SaveEqCurve",
         {QStringLiteral("High"), QVariant::fromValue(tooHigh)},
         q407::app::kErrorOutOfRange},
        {headset,
         "SaveEqCurve",
         {QStringLiteral(" "), QVariant::fromValue(bands)},
         q407::app::kErrorRefused},
        {q407::app::kKeyboardInterface, "GetCustomColours", {0}, q407::app::kErrorWrongKind},
    };
    ExpectRefused(kHeadsetPage, refusals);
    EXPECT_EQ(ProfileOf(page), profile);
    EXPECT_EQ(Ints(shown()[QStringLiteral("EqCurve")]), louder);
    EXPECT_EQ(shown()[QStringLiteral("MicLevel")].toInt(), 40);
    EXPECT_EQ(library->Value(1, "EQ_Slider1"), "8");
    m_window.reset(); // the page lets the library go before the test does
    q407::devices::SetAudioLibrary(nullptr);
}

// Changes made without the API are told by the pages' own notices: a control of the window, and
// another program editing the lights through the page.
TEST_F(DeviceBusTest, ChangesFromTheWindowAndOtherProgramsAreToldAsSignals) {
    SignalSink sink;
    ASSERT_TRUE(m_client.connect(
        QString::fromLatin1(q407::app::kBusService), DevicePath(kMousePage),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
        &sink, SLOT(OnChanged(QDBusMessage))));
    Plug(SimProduct::MouseA, kMousePage);
    CKestravaMouseDevice* page = MousePage();
    ASSERT_NE(page, nullptr);
    const auto told = [&](const char* property) {
        return testutil::WaitUntil(
            [&] {
                return std::any_of(sink.changed.begin(), sink.changed.end(),
                                   [&](const QVariantMap& m) {
                                       return m.contains(QString::fromLatin1(property));
                                   });
            },
            4000);
    };
    struct Case {
        const char* property;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"DpiStages",
         [&] {
             auto* slider = qobject_cast<QAbstractSlider*>(
                 q407::toolkit::FindSubControlByName(page, QStringLiteral("DPI_slider_1")));
             ASSERT_NE(slider, nullptr);
             slider->setValue(slider->value() == slider->maximum() ? slider->minimum()
                                                                   : slider->maximum());
             q407::toolkit::TNotifyUI msg{QStringLiteral("valuechanged"), slider, slider->value(),
                                          0};
             m_window->Notify(msg);
         }},
        {"Brightness",
         [&] {
             q407::profiles::LightInfo record = page->LightRecord();
             record.brightness = record.brightness == 1 ? 2 : 1;
             page->ApplyLightRecord(record);
         }},
    };
    for (const Case& c : cases) {
        sink.changed.clear();
        c.change();
        EXPECT_TRUE(told(c.property)) << c.property;
    }
}

TEST_F(DeviceBusTest, OtherLightingToolsHearWhileAnSdkClientHoldsTheLights) {
    SignalSink sink;
    ASSERT_TRUE(m_client.connect(
        QString::fromLatin1(q407::app::kBusService), QString::fromLatin1(q407::app::kBusPath),
        QString::fromLatin1(q407::app::kBusInterface), QStringLiteral("LightOwnerNotify"), &sink,
        SLOT(OnLightOwner(QDBusMessage))));
    Plug(SimProduct::MouseA, kMousePage);
    ASSERT_TRUE(m_window->StartSdkServer(0));
    auto* server = m_window->SdkServer();
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ControllerPages().size() == 1; }, 15000));
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server->Port());
    ASSERT_TRUE(testutil::WaitUntil([&] { return server->ClientCount() == 1; }));
    const auto heard = [&](std::pair<qint64, qint64> message) {
        return testutil::WaitUntil(
            [&] {
                return std::find(sink.lightOwner.begin(), sink.lightOwner.end(), message) !=
                       sink.lightOwner.end();
            },
            5000);
    };

    // UpdateLEDs for controller 0 with one colour: the client takes the mouse's lights.
    std::vector<std::uint8_t> payload = sdk::EncodeU32(10);
    payload.insert(payload.end(), {1, 0, 0x20, 0x40, 0x60, 0});
    const auto packet = sdk::EncodePacket(0, sdk::kUpdateLeds, payload);
    client.write(reinterpret_cast<const char*>(packet.data()), static_cast<qint64>(packet.size()));
    EXPECT_TRUE(heard({1, 0}));
    EXPECT_TRUE(MousePage()->Model().IsClientDriven());
    const auto clientColourShown = [&] {
        return testutil::WaitUntil(
            [&] {
                const auto b = DeviceBlock();
                return b[block::kRed] == 0x20 && b[block::kRed + 1] == 0x40 &&
                       b[block::kRed + 2] == 0x60;
            },
            5000);
    };
    EXPECT_TRUE(clientColourShown());
    // A setting changed meanwhile rewrites the block; the client's colour stays on the mouse.
    ASSERT_EQ(Mouse("SetDpi", {2, 1650}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(StageX(DeviceBlock(), 2), 1650);
    EXPECT_TRUE(clientColourShown()) << "a DPI change took the client's colour away";
    sink.lightOwner.clear();

    client.disconnectFromHost();
    EXPECT_TRUE(heard({1, 1})) << "our lighting is back when the client lets go";
    EXPECT_FALSE(MousePage()->Model().IsClientDriven());
}

// --- q407ctl ---------------------------------------------------------------------------------

struct CtlResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs q407ctl against the test's bus while the window keeps answering.
CtlResult RunCtl(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), Bus().Address());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(Q407_BIN_DIR "/q407ctl"), arguments);
    EXPECT_TRUE(process.waitForStarted(5000));
    EXPECT_TRUE(
        testutil::WaitUntil([&] { return process.state() == QProcess::NotRunning; }, 20000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(Q407Ctl, SaysWhenNoQ407RunsAndExitsWithTwo) {
    if (!Connection(QStringLiteral("probe")).isConnected()) {
        GTEST_SKIP() << "dbus-daemon cannot run here";
    }
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("list")},
          QStringList{QStringLiteral("0"), QStringLiteral("info")}}) {
        const CtlResult result = RunCtl(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.contains(QStringLiteral("no Q407 is running")))
            << result.err.toStdString();
    }
}

TEST_F(DeviceBusTest, CtlPrintsAndExitsAsDocumented) {
    Plug(SimProduct::MouseA, kMousePage);
    Plug(SimProduct::KeyboardK, kKeyboardPage);
    struct Case {
        QStringList arguments;
        int exitCode;
        QString output; // a line of standard output, or of standard error on failure
    };
    const auto args = [](const char* line) {
        return QString::fromLatin1(line).split(QLatin1Char(' '));
    };
    const Case cases[] = {
        {args("list"), 0,
         QStringLiteral("0: Mouse (mouse, cable)\n2: Keyboard (keyboard, cable)\n")},
        {args("0 info"), 0, QStringLiteral("Connection: cable\n")},
        {args("2 info"), 0, QStringLiteral("Kind: keyboard\n")},
        {args("0 profile list"), 0, QStringLiteral("0: Profile1 (selected)\n")},
        {args("0 dpi set 1650 --stage 4"), 0, QString()},
        {args("0 dpi set 1234"), 4, QStringLiteral("steps of 50")},
        {args("0 dpi stage 1 colour 00ff00"), 0, QString()},
        {args("0 dpi stage 9 off"), 4, QStringLiteral("out of range")},
        {args("0 rate 2000"), 4, QStringLiteral("not offered")},
        {args("2 rate 1000"), 4, QStringLiteral("keyboard")},
        {args("0 set LiftOff 7"), 4, QStringLiteral("out of range")},
        {args("2 set WinLock 1"), 0, QString()},
        {args("0 set WinLock 1"), 4, QStringLiteral("keyboards")},
        {args("0 profile select 3"), 4, QStringLiteral("out of range")},
        {args("2 light --colour 00ff00 --speed 1"), 0, QString()},
        {args("0 light --mode 99"), 4, QStringLiteral("LightModes")},
        {args("0 light"), 1, QStringLiteral("--mode")},
        {args("0 light mode dancing"), 1, QStringLiteral("it has: ")},
        {args("0 light mode 2 --mode 3"), 1, QStringLiteral("twice")},
        {args("0 light mode breathing --speed 2"), 0, QString()},
        {args("0 profile add"), 0, QString()},
        {args("0 profile import /nonexistent/q407.json"), 4, QStringLiteral("not a profile")},
        {args("1 info"), 3, QStringLiteral("not connected")},
        {args("7 info"), 3, QStringLiteral("no object")},
        {args("0 dpi set many"), 1, QStringLiteral("usage:")},
        {args("0 fly"), 1, QStringLiteral("usage:")},
        {args("--stage 2 0 rate 500"), 1, QStringLiteral("--stage")},
        {args("--help"), 0, QStringLiteral("usage:")},
    };
    for (const Case& c : cases) {
        const CtlResult result = RunCtl(c.arguments);
        const std::string what = c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(result.exitCode, c.exitCode) << what << "\n" << result.err.toStdString();
        const QString& text = c.exitCode == 0 ? result.out : result.err;
        EXPECT_TRUE(text.contains(c.output)) << what << ":\n" << text.toStdString();
    }
    EXPECT_EQ(StageX(DeviceBlock(), 4), 1650) << "dpi set reached the mouse";
    EXPECT_EQ(MousePage()->LightRecord().mode, 2) << "the mode named breathing was chosen";
    EXPECT_EQ(MousePage()->LightRecord().speed, 2);

    // The JSON of the active stage's change, read back as a script would.
    const int active = MousePage()->Mouse().ActiveStage();
    ASSERT_EQ(RunCtl(args("0 dpi set 3200")).exitCode, 0);
    const CtlResult info = RunCtl(args("--json 0 info"));
    ASSERT_EQ(info.exitCode, 0);
    const QJsonObject object = QJsonDocument::fromJson(info.out.toUtf8()).object();
    EXPECT_EQ(object[QStringLiteral("DpiStages")].toArray()[active].toInt(), 3200);
    EXPECT_EQ(object[QStringLiteral("Kind")].toString(), QStringLiteral("mouse"));
    const QJsonArray list =
        QJsonDocument::fromJson(RunCtl(args("--json list")).out.toUtf8()).array();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[1].toObject()[QStringLiteral("kind")].toString(), QStringLiteral("keyboard"));
    EXPECT_EQ(list[1].toObject()[QStringLiteral("device")].toInt(), kKeyboardPage);
}

TEST_F(DeviceBusTest, CtlDrivesProfilesKeysColoursAndSound) {
    auto library = std::make_shared<q407::sim::SimulatedAudioConfLib>();
    q407::devices::SetAudioLibrary(library);
    Plug(SimProduct::MouseA, kMousePage);
    Plug(SimProduct::KeyboardK, kKeyboardPage);
    Plug(SimProduct::Headset, 3);
    auto pad = Plug(SimProduct::MousePad, 4);
    struct Case {
        const char* line;
        int exitCode;
        const char* output; // in standard output, or standard error on failure
    };
    const Case cases[] = {
        {"0 key 2 set 0x100200", 0, ""},
        {"0 key 2 show", 0, "key 2: 0x100200"},
        {"0 key 2 set 0x100300", 4, "not a function"},
        {"0 key 99 show", 4, "out of range"},
        {"0 key two show", 1, "usage:"},
        {"3 key 1 show", 4, "no keys"},
        {"2 repeat rate 8", 0, ""},
        {"2 repeat rate 40", 4, "out of range"},
        {"2 repeat delay 750", 0, ""},
        {"2 colours 0 paint 00ff00 3", 4, "light mode 20"},
        {"2 light --mode 20", 0, ""},
        {"2 colours 0 paint 00ff00 3 4", 0, ""},
        {"2 colours 0 show", 0, "\n4: 00ff00\n"},
        {"2 colours 0 paint 00ff00 x", 1, "usage:"},
        {"0 colours 0 show", 4, "Keyboard interface"},
        {"3 mic 55", 0, ""},
        {"3 monitor 101", 4, "out of range"},
        {"3 mic mute on", 0, ""},
        {"3 monitor mute maybe", 1, "usage:"},
        {"0 mic 5", 4, "headsets"},
        {"3 eq save Mine 1 2 3 4 5 6 7 8 9 10", 0, ""},
        {"3 eq save Mine 1 2", 4, "10 bands"},
        {"3 eq preset 4", 0, ""},
        {"3 eq preset 13", 4, "out of range"},
        {"3 eq select mine", 0, ""},
        {"3 eq select Theirs", 4, "no curve named"},
        {"0 profile add", 0, ""},
        {"0 profile delete 1", 0, ""},
        {"0 profile delete 0", 4, "only profile"},
        {"0 profile delete x", 1, "usage:"},
        {"0 profile reset", 0, ""},
        {"3 profile reset now", 1, "usage:"},
        {"4 info", 0, "Kind: mousepad\n"},
        {"4 light mode 1 --colour 4080c0", 0, ""},
        {"4 dpi set 800", 4, "a mousepad"},
    };
    for (const Case& c : cases) {
        const CtlResult result = RunCtl(QString::fromLatin1(c.line).split(QLatin1Char(' ')));
        EXPECT_EQ(result.exitCode, c.exitCode) << c.line << "\n" << result.err.toStdString();
        const QString& text = c.exitCode == 0 ? result.out : result.err;
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.output))) << c.line << ":\n"
                                                                  << text.toStdString();
    }
    const QJsonObject key =
        QJsonDocument::fromJson(
            RunCtl({QStringLiteral("--json"), QStringLiteral("0"), QStringLiteral("key"),
                    QStringLiteral("2"), QStringLiteral("show")})
                .out.toUtf8())
            .object();
    EXPECT_EQ(key[QStringLiteral("function")], key[QStringLiteral("default")])
        << "the reset gave key 2 its default back";
    EXPECT_NE(key[QStringLiteral("function")].toString(), QStringLiteral("0x100200"));
    EXPECT_FALSE(key[QStringLiteral("text")].toString().isEmpty());
    const QJsonObject colours =
        QJsonDocument::fromJson(
            RunCtl({QStringLiteral("--json"), QStringLiteral("2"), QStringLiteral("colours"),
                    QStringLiteral("0"), QStringLiteral("show")})
                .out.toUtf8())
            .object();
    EXPECT_EQ(colours[QStringLiteral("colours")].toArray()[3].toString(), QStringLiteral("00ff00"));
    const auto& padBlock = pad->Firmware().Memory().settingsMemory;
    EXPECT_EQ((std::array{padBlock[lb::kRed], padBlock[lb::kRed + 1], padBlock[lb::kRed + 2]}),
              (std::array<std::uint8_t, 3>{0x40, 0x80, 0xc0}))
        << "the pad's colour reached its settings block";
    m_window.reset(); // the page lets the library go before the test does
    q407::devices::SetAudioLibrary(nullptr);
}

} // namespace

#include "DeviceBusTest.moc"
