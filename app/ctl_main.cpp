// q407ctl: the running Q407's devices from the command line, through its device API on the
// session bus (packaging/dbus/org.q407.Q407.Device.xml). Every change it makes is one call of
// that API, so it is saved, written and shown exactly as a click in the window would be.
// Exit codes (also in the manual page, packaging/q407ctl.1):
//   0 done, 1 usage, 2 no Q407 running, 3 no such device, 4 value or kind refused,
//   5 the device did not take the change or the program failed otherwise.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>

namespace {

enum Exit : int {
    kDone = 0,
    kUsage = 1,
    kNotRunning = 2,
    kNoDevice = 3,
    kRefused = 4,
    kFailed = 5,
};

constexpr const char* kService = "org.q407.Q407";
constexpr const char* kManagerPath = "/org/q407/Q407";
constexpr const char* kManagerInterface = "org.q407.Q407.Manager";
constexpr const char* kDeviceInterface = "org.q407.Q407.Device";
constexpr const char* kMouseInterface = "org.q407.Q407.Mouse";
constexpr const char* kKeyboardInterface = "org.q407.Q407.Keyboard";
constexpr const char* kHeadsetInterface = "org.q407.Q407.Headset";
constexpr const char* kLightInterface = "org.q407.Q407.Light";
constexpr const char* kDevicePathPrefix = "/org/q407/Q407/device/";
constexpr int kCallTimeoutMs = 10000;

const char* const kUsageText =
    "usage: q407ctl [--json] list\n"
    "       q407ctl [--json] DEVICE info\n"
    "       q407ctl DEVICE dpi set DPI [--stage N]\n"
    "       q407ctl DEVICE dpi stage N active|on|off\n"
    "       q407ctl DEVICE dpi stage N colour RRGGBB\n"
    "       q407ctl DEVICE rate HZ\n"
    "       q407ctl DEVICE set SETTING VALUE\n"
    "       q407ctl DEVICE light [--mode N] [--brightness N] [--speed N] [--colour RRGGBB]\n"
    "       q407ctl DEVICE light mode NAME|N [--brightness N] [--speed N] [--colour RRGGBB]\n"
    "       q407ctl [--json] DEVICE profile list\n"
    "       q407ctl DEVICE profile select N\n"
    "       q407ctl DEVICE profile add|copy\n"
    "       q407ctl DEVICE profile rename NAME\n"
    "       q407ctl DEVICE profile export|import FILE\n"
    "       q407ctl DEVICE profile delete N\n"
    "       q407ctl DEVICE profile reset\n"
    "       q407ctl [--json] DEVICE key N show\n"
    "       q407ctl DEVICE key N set FUNCTION\n"
    "       q407ctl DEVICE repeat delay MS|rate N\n"
    "       q407ctl [--json] DEVICE colours GROUP show\n"
    "       q407ctl DEVICE colours GROUP paint RRGGBB KEY...\n"
    "       q407ctl DEVICE mic|monitor LEVEL\n"
    "       q407ctl DEVICE mic|monitor mute on|off\n"
    "       q407ctl DEVICE eq preset N\n"
    "       q407ctl DEVICE eq save NAME B1 ... B10\n"
    "       q407ctl DEVICE eq select NAME\n"
    "DEVICE is the number `q407ctl list` shows. See q407ctl(1).\n";

QTextStream& Out() {
    static QTextStream stream(stdout);
    return stream;
}

int Fail(int code, const QString& message) {
    Out().flush();
    std::fprintf(stderr, "q407ctl: %s\n", message.toLocal8Bit().constData());
    return code;
}

int Usage(const QString& problem) {
    Out().flush();
    std::fprintf(stderr, "q407ctl: %s\n%s", problem.toLocal8Bit().constData(), kUsageText);
    return kUsage;
}

// The exit code of an error the program answered with.
int ExitOf(const QDBusMessage& error) {
    const QString name = error.errorName();
    if (name == QLatin1String("org.q407.Q407.Error.DeviceGone") ||
        name == QLatin1String("org.freedesktop.DBus.Error.UnknownObject")) {
        return kNoDevice;
    }
    if (name == QLatin1String("org.q407.Q407.Error.OutOfRange") ||
        name == QLatin1String("org.q407.Q407.Error.Refused") ||
        name == QLatin1String("org.q407.Q407.Error.WrongKind") ||
        name == QLatin1String("org.freedesktop.DBus.Error.InvalidArgs") ||
        name == QLatin1String("org.freedesktop.DBus.Error.UnknownProperty") ||
        name == QLatin1String("org.freedesktop.DBus.Error.PropertyReadOnly")) {
        return kRefused;
    }
    if (name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        name == QLatin1String("org.freedesktop.DBus.Error.NoReply")) {
        return kNotRunning;
    }
    return kFailed;
}

// Plain values from what the bus delivered: arrays of numbers and flags come as bus arguments.
QVariant Plain(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
        return Plain(value.value<QDBusVariant>().variant());
    }
    if (value.metaType() != QMetaType::fromType<QDBusArgument>()) {
        return value;
    }
    const auto argument = value.value<QDBusArgument>();
    const QString signature = argument.currentSignature();
    if (signature == QLatin1String("a{sv}")) {
        QVariantMap map = qdbus_cast<QVariantMap>(argument);
        for (auto item = map.begin(); item != map.end(); ++item) {
            item.value() = Plain(item.value());
        }
        return map;
    }
    QVariantList list;
    if (signature == QLatin1String("ai")) {
        for (const int item : qdbus_cast<QList<int>>(argument)) {
            list.append(item);
        }
    } else if (signature == QLatin1String("ab")) {
        for (const bool item : qdbus_cast<QList<bool>>(argument)) {
            list.append(item);
        }
    } else if (signature == QLatin1String("ao")) {
        for (const QDBusObjectPath& item : qdbus_cast<QList<QDBusObjectPath>>(argument)) {
            list.append(item.path());
        }
    }
    return list;
}

QString Text(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QVariantList>()) {
        QStringList items;
        for (const QVariant& item : value.toList()) {
            items.append(Text(item));
        }
        return items.join(QStringLiteral(", "));
    }
    if (value.metaType() == QMetaType::fromType<QStringList>()) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    if (value.metaType() == QMetaType::fromType<bool>()) {
        return value.toBool() ? QStringLiteral("on") : QStringLiteral("off");
    }
    return value.toString();
}

class Client {
public:
    explicit Client(QDBusConnection bus) : m_bus(std::move(bus)) {}

    // Empty when the call was answered; else the exit code after the message was printed.
    std::optional<int> Call(const QString& path, const char* interface, const char* member,
                            const QVariantList& arguments, QVariantList* results = nullptr) {
        QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), path,
                                                           QString::fromLatin1(interface),
                                                           QString::fromLatin1(member));
        call.setArguments(arguments);
        const QDBusMessage reply = m_bus.call(call, QDBus::Block, kCallTimeoutMs);
        if (reply.type() == QDBusMessage::ErrorMessage) {
            return Fail(ExitOf(reply), reply.errorMessage());
        }
        if (results != nullptr) {
            for (const QVariant& value : reply.arguments()) {
                results->append(Plain(value));
            }
        }
        return std::nullopt;
    }

    std::optional<int> Properties(const QString& path, const char* interface, QVariantMap& out) {
        QVariantList results;
        if (auto failed = Call(path, "org.freedesktop.DBus.Properties", "GetAll",
                               {QString::fromLatin1(interface)}, &results)) {
            return failed;
        }
        const QVariantMap values = results.value(0).toMap();
        for (auto value = values.begin(); value != values.end(); ++value) {
            out.insert(value.key(), Plain(value.value()));
        }
        return std::nullopt;
    }

private:
    QDBusConnection m_bus;
};

QJsonValue Json(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QStringList>()) {
        return QJsonArray::fromStringList(value.toStringList());
    }
    return QJsonValue::fromVariant(value);
}

void Print(const QJsonValue& value) {
    Out() << (value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject()))
                 .toJson(QJsonDocument::Indented);
}

bool ToInt(const QString& text, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

int List(Client& client, bool json) {
    QVariantList results;
    if (auto failed = client.Call(QString::fromLatin1(kManagerPath), kManagerInterface, "Devices",
                                  {}, &results)) {
        return *failed;
    }
    QJsonArray devices;
    for (const QVariant& item : results.value(0).toList()) {
        const QString path = item.toString();
        QVariantMap values;
        if (auto failed = client.Properties(path, kDeviceInterface, values)) {
            return *failed;
        }
        const QString number = path.mid(static_cast<qsizetype>(qstrlen(kDevicePathPrefix)));
        if (json) {
            devices.append(QJsonObject{
                {QStringLiteral("device"), number.toInt()},
                {QStringLiteral("path"), path},
                {QStringLiteral("kind"), Json(values[QStringLiteral("Kind")])},
                {QStringLiteral("name"), Json(values[QStringLiteral("Name")])},
                {QStringLiteral("connection"), Json(values[QStringLiteral("Connection")])}});
            continue;
        }
        Out() << number << ": " << values[QStringLiteral("Name")].toString() << " ("
              << values[QStringLiteral("Kind")].toString() << ", "
              << values[QStringLiteral("Connection")].toString() << ")\n";
    }
    if (json) {
        Print(devices);
    } else if (devices.isEmpty() && results.value(0).toList().isEmpty()) {
        Out() << "no devices connected\n";
    }
    return kDone;
}

int Info(Client& client, const QString& path, bool json) {
    QVariantMap values;
    if (auto failed = client.Properties(path, kDeviceInterface, values)) {
        return *failed;
    }
    // A product without one of these interfaces has no values there.
    for (const char* interface :
         {kMouseInterface, kKeyboardInterface, kHeadsetInterface, kLightInterface}) {
        if (auto failed = client.Properties(path, interface, values)) {
            return *failed;
        }
    }
    if (json) {
        QJsonObject object;
        for (auto value = values.begin(); value != values.end(); ++value) {
            object.insert(value.key(), Json(value.value()));
        }
        Print(object);
        return kDone;
    }
    for (auto value = values.begin(); value != values.end(); ++value) {
        Out() << value.key() << ": " << Text(value.value()) << '\n';
    }
    return kDone;
}

int Profiles(Client& client, const QString& path, bool json) {
    QVariantMap values;
    if (auto failed = client.Properties(path, kDeviceInterface, values)) {
        return *failed;
    }
    const QStringList names = values.value(QStringLiteral("Profiles")).toStringList();
    const int selected = values.value(QStringLiteral("SelectedProfile")).toInt();
    if (json) {
        Print(QJsonObject{{QStringLiteral("profiles"), QJsonArray::fromStringList(names)},
                          {QStringLiteral("selected"), selected}});
        return kDone;
    }
    for (int i = 0; i < names.size(); ++i) {
        Out() << i << ": " << names[i] << (i == selected ? " (selected)" : "") << '\n';
    }
    return kDone;
}

// A key function as typed: decimal, or hex after "0x".
bool ToFunction(const QString& text, uint& value) {
    bool ok = false;
    value = text.toUInt(&ok, 0);
    return ok;
}

int ShowKey(Client& client, const QString& path, int key, bool json) {
    QVariantList results;
    if (auto failed = client.Call(path, kDeviceInterface, "GetKeyFunction", {key}, &results)) {
        return *failed;
    }
    const uint function = results.value(0).toUInt();
    const uint defaults = results.value(1).toUInt();
    const QString hex = QStringLiteral("0x%1").arg(function, 6, 16, QLatin1Char('0'));
    const QString defaultHex = QStringLiteral("0x%1").arg(defaults, 6, 16, QLatin1Char('0'));
    if (json) {
        Print(QJsonObject{{QStringLiteral("key"), key},
                          {QStringLiteral("function"), hex},
                          {QStringLiteral("default"), defaultHex},
                          {QStringLiteral("text"), results.value(2).toString()}});
        return kDone;
    }
    Out() << "key " << key << ": " << hex << " " << results.value(2).toString()
          << (function == defaults ? QStringLiteral(" (default)\n")
                                   : QStringLiteral(" (default %1)\n").arg(defaultHex));
    return kDone;
}

int ShowColours(Client& client, const QString& path, int group, bool json) {
    QVariantList results;
    if (auto failed =
            client.Call(path, kKeyboardInterface, "GetCustomColours", {group}, &results)) {
        return *failed;
    }
    const QStringList colours = results.value(0).toStringList();
    if (json) {
        Print(QJsonObject{{QStringLiteral("group"), group},
                          {QStringLiteral("colours"), QJsonArray::fromStringList(colours)}});
        return kDone;
    }
    for (int key = 0; key < colours.size(); ++key) {
        Out() << key << ": " << colours[key] << '\n';
    }
    return kDone;
}

// Numbers from `words`, all of them; false at the first that is not one.
// A light mode as a script names it: compared without case, spaces or punctuation, so
// "breathing" and "Breathing" are the same and "Breathing, fixed colours" is another.
QString ModeKey(const QString& name) {
    QString key;
    for (const QChar c : name) {
        if (c.isLetterOrNumber()) {
            key.append(c.toLower());
        }
    }
    return key;
}

QList<int> OfferedModes(const QVariantMap& light) {
    QList<int> modes;
    for (const QVariant& mode : Plain(light.value(QStringLiteral("LightModes"))).toList()) {
        modes.append(mode.toInt());
    }
    return modes;
}

QStringList OfferedModeNames(const QVariantMap& light) {
    const QStringList names = light.value(QStringLiteral("LightModeNames")).toStringList();
    QStringList offered;
    for (const int mode : OfferedModes(light)) {
        offered.append(names.value(mode));
    }
    return offered;
}

// The mode `name` stands for among those the product offers: a name the window shows (in its
// language) or the mode's number.
std::optional<int> LightModeNamed(const QVariantMap& light, const QString& name) {
    const QList<int> offered = OfferedModes(light);
    int number = 0;
    if (ToInt(name, number)) {
        return offered.contains(number) ? std::optional(number) : std::nullopt;
    }
    const QStringList names = light.value(QStringLiteral("LightModeNames")).toStringList();
    for (const int mode : offered) {
        if (!ModeKey(name).isEmpty() && ModeKey(names.value(mode)) == ModeKey(name)) {
            return mode;
        }
    }
    return std::nullopt;
}

bool ToInts(const QStringList& words, QList<int>& values) {
    for (const QString& word : words) {
        int value = 0;
        if (!ToInt(word, value)) {
            return false;
        }
        values.append(value);
    }
    return true;
}

// The commands that are not about the mouse's DPI, rate and light; nothing when none matched.
std::optional<int> MoreCommands(Client& client, const QString& path, const QStringList& words,
                                bool json) {
    const QString command = words.value(0);
    const QString what = words.value(1);
    const auto call = [&](const char* interface, const char* member, const QVariantList& args) {
        const auto failed = client.Call(path, interface, member, args);
        return failed ? *failed : int{kDone};
    };
    const auto setProperty = [&](const char* interface, const char* name, int value) {
        return call("org.freedesktop.DBus.Properties", "Set",
                    {QString::fromLatin1(interface), QString::fromLatin1(name),
                     QVariant::fromValue(QDBusVariant(value))});
    };
    int number = 0;
    if (command == QLatin1String("profile") && what == QLatin1String("delete") &&
        words.size() == 3) {
        if (!ToInt(words[2], number)) {
            return Usage(QStringLiteral("the profile must be a number: ") + words[2]);
        }
        return call(kDeviceInterface, "DeleteProfile", {number});
    }
    if (command == QLatin1String("profile") && what == QLatin1String("reset") &&
        words.size() == 2) {
        return call(kDeviceInterface, "ResetProfile", {});
    }
    if (command == QLatin1String("key") && words.size() >= 3) {
        if (!ToInt(what, number)) {
            return Usage(QStringLiteral("the key must be a number: ") + what);
        }
        if (words[2] == QLatin1String("show") && words.size() == 3) {
            return ShowKey(client, path, number, json);
        }
        uint function = 0;
        if (words[2] == QLatin1String("set") && words.size() == 4) {
            if (!ToFunction(words[3], function)) {
                return Usage(QStringLiteral("the function must be a number: ") + words[3]);
            }
            return call(kDeviceInterface, "SetKeyFunction", {number, function});
        }
    }
    if (command == QLatin1String("repeat") && words.size() == 3 &&
        (what == QLatin1String("delay") || what == QLatin1String("rate"))) {
        if (!ToInt(words[2], number)) {
            return Usage(QStringLiteral("the value must be a number: ") + words[2]);
        }
        return setProperty(kKeyboardInterface,
                           what == QLatin1String("delay") ? "RepeatDelay" : "RepeatRate", number);
    }
    if ((command == QLatin1String("colours") || command == QLatin1String("colors")) &&
        words.size() >= 3) {
        if (!ToInt(what, number)) {
            return Usage(QStringLiteral("the group must be a number: ") + what);
        }
        if (words[2] == QLatin1String("show") && words.size() == 3) {
            return ShowColours(client, path, number, json);
        }
        QList<int> keys;
        if (words[2] == QLatin1String("paint") && words.size() >= 5) {
            if (!ToInts(words.mid(4), keys)) {
                return Usage(QStringLiteral("the keys must be numbers"));
            }
            return call(kKeyboardInterface, "PaintCustomColours",
                        {number, QVariant::fromValue(keys), words[3]});
        }
    }
    if ((command == QLatin1String("mic") || command == QLatin1String("monitor")) &&
        what == QLatin1String("mute") && words.size() == 3) {
        const bool on = words[2] == QLatin1String("on");
        if (!on && words[2] != QLatin1String("off")) {
            return Usage(QStringLiteral("mute is on or off: ") + words[2]);
        }
        return setProperty(kHeadsetInterface,
                           command == QLatin1String("mic") ? "MicMuted" : "MonitorMuted", on);
    }
    if ((command == QLatin1String("mic") || command == QLatin1String("monitor")) &&
        words.size() == 2) {
        if (!ToInt(what, number)) {
            return Usage(QStringLiteral("the level must be a number: ") + what);
        }
        return setProperty(kHeadsetInterface,
                           command == QLatin1String("mic") ? "MicLevel" : "MonitorLevel", number);
    }
    if (command == QLatin1String("eq") && what == QLatin1String("preset") && words.size() == 3) {
        if (!ToInt(words[2], number)) {
            return Usage(QStringLiteral("the curve must be a number: ") + words[2]);
        }
        return setProperty(kHeadsetInterface, "EqPreset", number);
    }
    if (command == QLatin1String("eq") && what == QLatin1String("select") && words.size() == 3) {
        return call(kHeadsetInterface, "SelectEqCurve", {words[2]});
    }
    if (command == QLatin1String("eq") && what == QLatin1String("save") && words.size() >= 4) {
        QList<int> bands;
        if (!ToInts(words.mid(3), bands)) {
            return Usage(QStringLiteral("the bands must be numbers"));
        }
        return call(kHeadsetInterface, "SaveEqCurve", {words[2], QVariant::fromValue(bands)});
    }
    return std::nullopt;
}

// DEVICE's commands; `words` are the arguments after DEVICE (options taken out).
int DeviceCommand(Client& client, const QString& path, const QStringList& words,
                  std::optional<int> stage, const QVariantMap& light, bool json) {
    const QString command = words.value(0);
    if (stage && !(command == QLatin1String("dpi") && words.value(1) == QLatin1String("set"))) {
        return Usage(QStringLiteral("--stage belongs to dpi set"));
    }
    const bool lightModeByName =
        command == QLatin1String("light") && words.size() >= 3 && words[1] == QLatin1String("mode");
    if (!light.isEmpty() != (command == QLatin1String("light")) && !lightModeByName) {
        return Usage(QStringLiteral("light takes --mode, --brightness, --speed or --colour"));
    }
    int number = 0;
    const auto call = [&](const char* interface, const char* member, const QVariantList& args) {
        const auto failed = client.Call(path, interface, member, args);
        return failed ? *failed : int{kDone};
    };
    if (command == QLatin1String("info") && words.size() == 1) {
        return Info(client, path, json);
    }
    if (command == QLatin1String("dpi") && words.size() == 3 && words[1] == QLatin1String("set")) {
        if (!ToInt(words[2], number)) {
            return Usage(QStringLiteral("DPI must be a number: ") + words[2]);
        }
        if (!stage) {
            QVariantMap values;
            if (auto failed = client.Properties(path, kMouseInterface, values)) {
                return *failed;
            }
            stage = values.value(QStringLiteral("ActiveDpiStage")).toInt();
        }
        return call(kMouseInterface, "SetDpi", {*stage, number});
    }
    if (command == QLatin1String("dpi") && words.size() >= 4 &&
        words[1] == QLatin1String("stage")) {
        if (!ToInt(words[2], number)) {
            return Usage(QStringLiteral("the stage must be a number: ") + words[2]);
        }
        const QString what = words[3];
        if (what == QLatin1String("active") && words.size() == 4) {
            return call(kMouseInterface, "SetActiveDpiStage", {number});
        }
        if ((what == QLatin1String("on") || what == QLatin1String("off")) && words.size() == 4) {
            return call(kMouseInterface, "SetDpiStageEnabled",
                        {number, what == QLatin1String("on")});
        }
        if ((what == QLatin1String("colour") || what == QLatin1String("color")) &&
            words.size() == 5) {
            return call(kMouseInterface, "SetDpiStageColour", {number, words[4]});
        }
    }
    if (command == QLatin1String("rate") && words.size() == 2) {
        if (!ToInt(words[1], number)) {
            return Usage(QStringLiteral("the report rate must be a number: ") + words[1]);
        }
        return call(kMouseInterface, "SetReportRate", {number});
    }
    if (command == QLatin1String("set") && words.size() == 3) {
        if (!ToInt(words[2], number)) {
            return Usage(QStringLiteral("the value must be a number: ") + words[2]);
        }
        // No interface named: the program finds the property in either.
        return call("org.freedesktop.DBus.Properties", "Set",
                    {QString(), words[1], QVariant::fromValue(QDBusVariant(number))});
    }
    if (lightModeByName) {
        if (light.contains(QStringLiteral("LightMode"))) {
            return Usage(QStringLiteral("the mode is given twice"));
        }
        QVariantMap now;
        if (auto failed = client.Properties(path, kLightInterface, now)) {
            return *failed;
        }
        if (!now.contains(QStringLiteral("LightModes"))) {
            return Fail(kRefused, QStringLiteral("this product has no light modes"));
        }
        const QString name = words.mid(2).join(QLatin1Char(' '));
        const std::optional<int> mode = LightModeNamed(now, name);
        if (!mode) {
            return Fail(kUsage, QStringLiteral("no light mode \"%1\" on this product; it has: %2")
                                    .arg(name, OfferedModeNames(now).join(QStringLiteral(", "))));
        }
        QVariantMap values = light;
        values.insert(QStringLiteral("LightMode"), *mode);
        return call(kLightInterface, "SetLight", {values});
    }
    if (command == QLatin1String("light") && words.size() == 1) {
        // One call, so the program checks every value before it changes any.
        return call(kLightInterface, "SetLight", {light});
    }
    if (command == QLatin1String("profile") && words.size() == 2 &&
        words[1] == QLatin1String("list")) {
        return Profiles(client, path, json);
    }
    if (command == QLatin1String("profile") && words.size() == 3 &&
        words[1] == QLatin1String("select")) {
        if (!ToInt(words[2], number)) {
            return Usage(QStringLiteral("the profile must be a number: ") + words[2]);
        }
        return call(kDeviceInterface, "SelectProfile", {number});
    }
    if (command == QLatin1String("profile") && words.size() == 2 &&
        (words[1] == QLatin1String("add") || words[1] == QLatin1String("copy"))) {
        return call(kDeviceInterface,
                    words[1] == QLatin1String("add") ? "AddProfile" : "CopyProfile", {});
    }
    if (command == QLatin1String("profile") && words.size() == 3 &&
        words[1] == QLatin1String("rename")) {
        return call(kDeviceInterface, "RenameProfile", {words[2]});
    }
    if (command == QLatin1String("profile") && words.size() == 3 &&
        (words[1] == QLatin1String("export") || words[1] == QLatin1String("import"))) {
        // The program reads and writes the file, from its own folder: the path goes whole.
        return call(kDeviceInterface,
                    words[1] == QLatin1String("export") ? "ExportProfile" : "ImportProfile",
                    {QFileInfo(words[2]).absoluteFilePath()});
    }
    if (const auto done = MoreCommands(client, path, words, json)) {
        return *done;
    }
    return Usage(QStringLiteral("unknown command: ") + words.join(QLatin1Char(' ')));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QStringList words = QCoreApplication::arguments().mid(1);
    bool json = false;
    std::optional<int> stage;
    QVariantMap light;
    // The light command's options and the settings they name.
    const std::pair<const char*, const char*> lightOptions[] = {
        {"--mode", "LightMode"}, {"--brightness", "Brightness"}, {"--speed", "Speed"},
        {"--colour", "Colour"},  {"--color", "Colour"},
    };
    for (int i = 0; i < words.size();) {
        if (words[i] == QLatin1String("--help") || words[i] == QLatin1String("-h")) {
            Out() << kUsageText;
            return kDone;
        }
        if (words[i] == QLatin1String("--json")) {
            json = true;
            words.removeAt(i);
        } else if (words[i] == QLatin1String("--stage")) {
            int number = 0;
            if (i + 1 >= words.size() || !ToInt(words[i + 1], number)) {
                return Usage(QStringLiteral("--stage needs a number"));
            }
            stage = number;
            words.remove(i, 2);
        } else if (words[i].startsWith(QLatin1String("--"))) {
            const auto* option =
                std::find_if(std::begin(lightOptions), std::end(lightOptions),
                             [&](const auto& row) { return words[i] == QLatin1String(row.first); });
            if (option == std::end(lightOptions)) {
                return Usage(QStringLiteral("unknown option ") + words[i]);
            }
            if (i + 1 >= words.size()) {
                return Usage(words[i] + QStringLiteral(" needs a value"));
            }
            const QString setting = QString::fromLatin1(option->second);
            int number = 0;
            if (setting == QLatin1String("Colour")) {
                light.insert(setting, words[i + 1]);
            } else if (ToInt(words[i + 1], number)) {
                light.insert(setting, number);
            } else {
                return Usage(words[i] + QStringLiteral(" needs a number"));
            }
            words.remove(i, 2);
        } else {
            ++i;
        }
    }
    if (words.isEmpty()) {
        return Usage(QStringLiteral("no command"));
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return Fail(kNotRunning, QStringLiteral("no session bus, so no Q407 running"));
    }
    if (!bus.interface()->isServiceRegistered(QString::fromLatin1(kService)).value()) {
        return Fail(kNotRunning, QStringLiteral("no Q407 is running"));
    }
    Client client(bus);
    if (words[0] == QLatin1String("list") && words.size() == 1) {
        return List(client, json);
    }
    int device = 0;
    if (!ToInt(words[0], device) || device < 0) {
        return Usage(QStringLiteral("unknown command or device: ") + words[0]);
    }
    if (words.size() < 2) {
        return Usage(QStringLiteral("no command for device ") + words[0]);
    }
    return DeviceCommand(client, QString::fromLatin1(kDevicePathPrefix) + QString::number(device),
                         words.mid(1), stage, light, json);
}
