#include "app/DeviceBus.h"

#include "app/DeviceApiXml.h"
#include "app/DevicePages.h"
#include "devices/HeadsetModel.h"
#include "devices/MouseModel.h"
#include "devices/PageEventTable.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "hid/DeviceTable.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaHS6533Device.h"
#include "pages/CKestravaKeyboardDevice.h"
#include "pages/CKestravaMouseDevice.h"
#include "pages/CMpDevicePowerUI.h"
#include "profiles/CProfileList.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"

#include <QAbstractSlider>
#include <QComboBox>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

namespace q407::app {
namespace {

using q407::devices::KeyboardSwitch;
using q407::devices::MouseField;
using q407::pages::CKestravaHS6533Device;
using q407::pages::CKestravaKeyboardDevice;
using q407::pages::CKestravaMouseDevice;
using q407::pages::CKestravaUSBDevice;

constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";
constexpr std::array<int, 4> kCableRates{125, 250, 500, 1000};
constexpr std::array<int, 6> kReceiverRates{125, 250, 500, 1000, 2000, 4000};

// A refused call: the error's name and what the caller is told.
struct CallError {
    const char* name;
    QString message;
};
using Outcome = std::optional<CallError>;

// The page a call is about.
struct Target {
    CKestravaUSBDevice* page;
    CKestravaMouseDevice* mouse;       // nullptr for other kinds
    CKestravaKeyboardDevice* keyboard; // likewise
    CKestravaHS6533Device* headset;    // likewise
    int optionRow;
    int connection;
    int vendorId;
    int productId;
    DevicePages* pages;
};

Target TargetOf(DevicePages& pages, int pageIndex) {
    CKestravaUSBDevice* page = pages.Page(pageIndex);
    const hid::DeviceIdentity identity = pages.IdentityOf(pageIndex);
    return {page,
            qobject_cast<CKestravaMouseDevice*>(page),
            qobject_cast<CKestravaKeyboardDevice*>(page),
            qobject_cast<CKestravaHS6533Device*>(page),
            pages.OptionRowOf(pageIndex),
            pages.ConnectionOf(pageIndex),
            identity.vendorId,
            identity.productId,
            &pages};
}

bool Same(const char* a, const char* b) {
    return std::string_view(a) == std::string_view(b);
}

Outcome OutOfRange(const QString& what, int value, int low, int high) {
    return CallError{
        kErrorOutOfRange,
        QStringLiteral("%1 %2 is out of range (%3-%4)").arg(what).arg(value).arg(low).arg(high)};
}

// The result of a page operation that reaches the device: 1 when the device took it.
Outcome Written(int result) {
    if (result == 1) {
        return std::nullopt;
    }
    return CallError{kErrorWriteFailed, QStringLiteral("the device did not take the change")};
}

QString KindName(int kind) {
    switch (kind) {
    case devices::kKindMouse:
        return QStringLiteral("mouse");
    case devices::kKindKeyboard:
        return QStringLiteral("keyboard");
    case devices::kKindMousePad:
        return QStringLiteral("mousepad");
    case devices::kKindHeadset:
        return QStringLiteral("headset");
    default:
        return QStringLiteral("unknown");
    }
}

// Controls are looked up inside the page's panels, which are small: what the bus shows is
// compared every kPublishIntervalMs.
QComboBox* ProfileCombo(const Target& t) {
    editors::CDeviceProfileUI* panel = t.page->ProfilePanel();
    return panel == nullptr ? nullptr
                            : qobject_cast<QComboBox*>(toolkit::FindSubControlByName(
                                  panel, QStringLiteral("device_profile_combo")));
}

QStringList ProfileNames(const Target& t) {
    QStringList names;
    if (const QComboBox* combo = ProfileCombo(t)) {
        for (int row = 0; row < combo->count(); ++row) {
            names.append(combo->itemText(row));
        }
    }
    return names;
}

Outcome SelectProfile(const Target& t, int index) {
    editors::CDeviceProfileUI* panel = t.page->ProfilePanel();
    const int count = ProfileNames(t).size();
    if (panel == nullptr || count == 0) {
        return CallError{kErrorWrongKind, QStringLiteral("this device has no profiles")};
    }
    if (index < 0 || index >= count) {
        return OutOfRange(QStringLiteral("profile"), index, 0, count - 1);
    }
    panel->SelectProfile(index);
    return t.page->ApplySelectedProfile() == -1 ? Written(0) : std::nullopt;
}

// The profile list's results: 1 done, 0 refused by a rule, 2 a blank name, -1 a write failed.
Outcome ProfileResult(int result, const QString& refusal) {
    switch (result) {
    case profiles::CProfileList::kDone:
        return std::nullopt;
    case profiles::CProfileList::kWriteFailed:
        return CallError{kErrorWriteFailed,
                         QStringLiteral("the profile files could not be written")};
    default:
        return CallError{kErrorRefused, refusal};
    }
}

editors::CDeviceProfileUI* Profiles(const Target& t) {
    return ProfileNames(t).isEmpty() ? nullptr : t.page->ProfilePanel();
}

const CallError kNoProfiles{kErrorWrongKind, QStringLiteral("this device has no profiles")};

// New profiles are added at the end and not selected, as the window's buttons do.
Outcome AddProfile(const Target& t, bool copy) {
    editors::CDeviceProfileUI* panel = Profiles(t);
    if (panel == nullptr) {
        return kNoProfiles;
    }
    const int result = copy ? panel->CopyProfile() : panel->AddProfile();
    t.pages->ReloadProfileLists();
    return ProfileResult(
        result,
        QStringLiteral("no more than %1 profiles").arg(profiles::CProfileList::kMaxProfiles));
}

Outcome RenameProfile(const Target& t, const QString& name) {
    editors::CDeviceProfileUI* panel = Profiles(t);
    if (panel == nullptr) {
        return kNoProfiles;
    }
    const int result = panel->RenameProfile(name);
    return result == profiles::CProfileList::kBlankName
               ? CallError{kErrorRefused, QStringLiteral("a profile name cannot be blank")}
               : ProfileResult(result, QStringLiteral("another profile is called %1").arg(name));
}

// Files are read and written by the program, so their paths must not depend on its folder.
std::optional<std::filesystem::path> AbsoluteFile(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isAbsolute()) {
        return std::nullopt;
    }
    return std::filesystem::path(path.toStdString());
}

Outcome ExportProfile(const Target& t, const QString& path) {
    editors::CDeviceProfileUI* panel = Profiles(t);
    if (panel == nullptr) {
        return kNoProfiles;
    }
    const auto file = AbsoluteFile(path);
    if (!file) {
        return CallError{kErrorRefused, QStringLiteral("the file needs an absolute path")};
    }
    return ProfileResult(panel->ExportProfile(*file), QStringLiteral("no profile is selected"));
}

// The imported profile is added at the end, selected and written, as the window does it.
Outcome ImportProfile(const Target& t, const QString& path) {
    editors::CDeviceProfileUI* panel = Profiles(t);
    if (panel == nullptr) {
        return kNoProfiles;
    }
    const auto file = AbsoluteFile(path);
    if (!file) {
        return CallError{kErrorRefused, QStringLiteral("the file needs an absolute path")};
    }
    if (!editors::ImportableProfileFile(*file)) {
        return CallError{kErrorRefused, QStringLiteral("%1 is not a profile file").arg(path)};
    }
    if (Outcome refused = ProfileResult(
            panel->ImportProfile(*file),
            QStringLiteral("no more than %1 profiles").arg(profiles::CProfileList::kMaxProfiles))) {
        return refused;
    }
    t.pages->ReloadProfileLists();
    return SelectProfile(t, ProfileNames(t).size() - 1);
}

std::span<const int> Rates(const Target& t) {
    return ReportRatesOf(t.connection);
}

int StageCount(const Target& t) {
    return static_cast<int>(t.mouse->Mouse().GetDpiStages().size());
}

Outcome SetActiveStage(const Target& t, int stage) {
    const int count = StageCount(t);
    if (stage < 0 || stage >= count) {
        return OutOfRange(QStringLiteral("DPI stage"), stage, 0, count - 1);
    }
    return Written(t.mouse->ChangeActiveStage(stage));
}

Outcome SetReportRate(const Target& t, int hz) {
    const auto rates = Rates(t);
    const auto found = std::find(rates.begin(), rates.end(), hz);
    if (found == rates.end()) {
        QStringList offered;
        for (const int rate : rates) {
            offered.append(QString::number(rate));
        }
        return CallError{kErrorOutOfRange,
                         QStringLiteral("report rate %1 Hz is not offered through this "
                                        "connection (%2)")
                             .arg(hz)
                             .arg(offered.join(QStringLiteral(", ")))};
    }
    return Written(t.mouse->ChangeReportRate(static_cast<int>(found - rates.begin())));
}

Outcome SetDpi(const Target& t, int stage, int dpi) {
    if (stage < 0 || stage >= devices::kDpiStageCount) {
        return OutOfRange(QStringLiteral("DPI stage"), stage, 0, devices::kDpiStageCount - 1);
    }
    // The page rounds what is typed into range; a script is told instead.
    if (dpi < devices::kDpiMin || dpi > devices::kDpiMax || dpi % devices::kDpiGranule != 0) {
        return CallError{kErrorOutOfRange,
                         QStringLiteral("DPI %1 is not one the mouse takes (%2-%3 in steps of %4)")
                             .arg(dpi)
                             .arg(devices::kDpiMin)
                             .arg(devices::kDpiMax)
                             .arg(devices::kDpiGranule)};
    }
    return Written(t.mouse->ChangeDpiValue(stage, dpi));
}

Outcome SetStageEnabled(const Target& t, int stage, bool enabled) {
    const int count = StageCount(t);
    if (stage < 0 || stage >= count) {
        return OutOfRange(QStringLiteral("DPI stage"), stage, 0, count - 1);
    }
    // The DPI button must have a stage to step to.
    if (!enabled && stage == t.mouse->Mouse().ActiveStage()) {
        return CallError{kErrorRefused, QStringLiteral("the active stage cannot be switched off")};
    }
    return Written(t.mouse->ChangeStageEnabled(stage, enabled));
}

// "rrggbb" as the colour a value of the API stands for; nothing for other text.
std::optional<std::uint32_t> ColourOf(const QVariant& value) {
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    if (value.metaType() != QMetaType::fromType<QString>() ||
        !hex.match(value.toString()).hasMatch()) {
        return std::nullopt;
    }
    return value.toString().toUInt(nullptr, 16);
}

QString ColourText(int red, int green, int blue) {
    return QStringLiteral("%1%2%3")
        .arg(red, 2, 16, QLatin1Char('0'))
        .arg(green, 2, 16, QLatin1Char('0'))
        .arg(blue, 2, 16, QLatin1Char('0'));
}

Outcome SetStageColour(const Target& t, int stage, const QVariant& colour) {
    const int count = StageCount(t);
    if (stage < 0 || stage >= count) {
        return OutOfRange(QStringLiteral("DPI stage"), stage, 0, count - 1);
    }
    const auto rgb = ColourOf(colour);
    if (!rgb) {
        return CallError{kErrorOutOfRange, QStringLiteral("a colour is six hex digits, rrggbb")};
    }
    return Written(t.mouse->ChangeDpiColour(stage, 0xFF000000u | *rgb));
}

// The properties. A row without a setter is read-only; rows of the mouse interface are only
// answered for mice.
struct PropertyRow {
    const char* interface;
    const char* name;
    QVariant (*get)(const Target&);
    Outcome (*set)(const Target&, int);
};

const PropertyRow kProperties[] = {
    {kDeviceInterface, "Kind",
     [](const Target& t) { return QVariant(KindName(t.page->Model().Kind())); }, nullptr},
    {kDeviceInterface, "Name",
     [](const Target& t) {
         const auto options = hid::DeviceOptions();
         if (t.optionRow < 0 || static_cast<std::size_t>(t.optionRow) >= options.size()) {
             return QVariant(QString());
         }
         const auto& product = options[static_cast<std::size_t>(t.optionRow)].productName;
         return QVariant(toolkit::ResourceManager::Instance().Text(
             QStringLiteral("device_name_") +
             QString::fromLatin1(product.data(), static_cast<qsizetype>(product.size()))));
     },
     nullptr},
    {kDeviceInterface, "VendorId", [](const Target& t) { return QVariant(t.vendorId); }, nullptr},
    {kDeviceInterface, "ProductId", [](const Target& t) { return QVariant(t.productId); }, nullptr},
    {kDeviceInterface, "Connection",
     [](const Target& t) {
         return QVariant(t.connection == 2 ? QStringLiteral("receiver") : QStringLiteral("cable"));
     },
     nullptr},
    {kDeviceInterface, "FirmwareVersion",
     [](const Target& t) {
         return QVariant(t.mouse != nullptr ? t.mouse->FirmwareVersionText() : QString());
     },
     nullptr},
    {kDeviceInterface, "Battery",
     [](const Target& t) {
         const pages::CMpDevicePowerUI* power = t.page->PowerIndicator();
         if (!t.page->Model().HasPower() || power == nullptr) {
             return QVariant(-1);
         }
         return QVariant(std::min<int>(power->State()[0], 100));
     },
     nullptr},
    {kDeviceInterface, "Profiles", [](const Target& t) { return QVariant(ProfileNames(t)); },
     nullptr},
    {kDeviceInterface, "SelectedProfile",
     [](const Target& t) {
         const QComboBox* combo = ProfileCombo(t);
         return QVariant(combo != nullptr ? combo->currentIndex() : -1);
     },
     SelectProfile},
    {kMouseInterface, "DpiStages",
     [](const Target& t) {
         QList<int> stages;
         for (int stage = 0; stage < StageCount(t); ++stage) {
             stages.append(t.mouse->Mouse().ShownDpi(stage));
         }
         return QVariant::fromValue(stages);
     },
     nullptr},
    {kMouseInterface, "DpiStagesEnabled",
     [](const Target& t) {
         QList<bool> enabled;
         for (const auto& stage : t.mouse->Mouse().GetDpiStages()) {
             enabled.append(stage.enabled != 0);
         }
         return QVariant::fromValue(enabled);
     },
     nullptr},
    {kMouseInterface, "DpiStageColours",
     [](const Target& t) {
         QStringList colours;
         for (const auto& stage : t.mouse->Mouse().GetDpiStages()) {
             colours.append(ColourText(stage.red, stage.green, stage.blue));
         }
         return QVariant(colours);
     },
     nullptr},
    {kMouseInterface, "ActiveDpiStage",
     [](const Target& t) { return QVariant(t.mouse->Mouse().ActiveStage()); }, SetActiveStage},
    {kMouseInterface, "ReportRate",
     [](const Target& t) {
         const auto rates = Rates(t);
         const int choice = t.mouse->Mouse().ReportRate();
         return QVariant(choice >= 0 && static_cast<std::size_t>(choice) < rates.size()
                             ? rates[static_cast<std::size_t>(choice)]
                             : 0);
     },
     SetReportRate},
    {kMouseInterface, "ReportRates",
     [](const Target& t) {
         const auto rates = Rates(t);
         return QVariant::fromValue(QList<int>(rates.begin(), rates.end()));
     },
     nullptr},
};

// The keyboard's switches and its repeat delay (the page's options 0-3).
constexpr std::array<int, 4> kRepeatDelaysMs{250, 500, 750, 1000};

QVariant KeyboardSwitchValue(const Target& t, KeyboardSwitch which) {
    return QVariant(t.keyboard->Keyboard().GetSwitch(which));
}

Outcome SetKeyboardSwitch(const Target& t, KeyboardSwitch which, int on) {
    if (on != 0 && on != 1) {
        return OutOfRange(QStringLiteral("a switch"), on, 0, 1);
    }
    return Written(t.keyboard->ChangeSwitch(which, on == 1));
}

const PropertyRow kKeyboardProperties[] = {
    {kKeyboardInterface, "WinLock",
     [](const Target& t) { return KeyboardSwitchValue(t, KeyboardSwitch::WinLock); },
     [](const Target& t, int on) { return SetKeyboardSwitch(t, KeyboardSwitch::WinLock, on); }},
    {kKeyboardInterface, "WasdSwitch",
     [](const Target& t) { return KeyboardSwitchValue(t, KeyboardSwitch::WFlag); },
     [](const Target& t, int on) { return SetKeyboardSwitch(t, KeyboardSwitch::WFlag, on); }},
    {kKeyboardInterface, "SixKeyMode",
     [](const Target& t) { return KeyboardSwitchValue(t, KeyboardSwitch::Key6); },
     [](const Target& t, int on) { return SetKeyboardSwitch(t, KeyboardSwitch::Key6, on); }},
    {kKeyboardInterface, "RepeatDelay",
     [](const Target& t) {
         const auto option = t.keyboard->Keyboard().GetSystemSettings().repeatDelay;
         return QVariant(option < kRepeatDelaysMs.size() ? kRepeatDelaysMs[option] : 0);
     },
     [](const Target& t, int ms) -> Outcome {
         const auto* found = std::find(kRepeatDelaysMs.begin(), kRepeatDelaysMs.end(), ms);
         if (found == kRepeatDelaysMs.end()) {
             return CallError{
                 kErrorOutOfRange,
                 QStringLiteral("repeat delay %1 ms is not 250, 500, 750 or 1000").arg(ms)};
         }
         // The repeat delay is the computer's: stored and saved, not written to the keyboard.
         return Written(
             t.keyboard->ChangeRepeatDelay(static_cast<int>(found - kRepeatDelaysMs.begin())));
     }},
};

// The headset's sound: what the audio page shows. The built-in equaliser curves can be chosen;
// levels and mutes are only read here.
const PropertyRow kHeadsetProperties[] = {
    {kHeadsetInterface, "EqPreset",
     [](const Target& t) { return QVariant(t.headset->Headset().Settings().eqType); },
     [](const Target& t, int preset) -> Outcome {
         if (preset < 1 || preset > devices::kEqBuiltInCount) {
             return OutOfRange(QStringLiteral("equaliser curve"), preset, 1,
                               devices::kEqBuiltInCount);
         }
         t.headset->SelectEqPreset(preset);
         return std::nullopt;
     }},
    {kHeadsetInterface, "EqCurve",
     [](const Target& t) {
         const devices::EqCurve& curve = t.headset->Headset().EqCurveInUse();
         return QVariant::fromValue(QList<int>(curve.begin(), curve.end()));
     },
     nullptr},
    {kHeadsetInterface, "MicLevel",
     [](const Target& t) { return QVariant(t.headset->Headset().Settings().micInValue); }, nullptr},
    {kHeadsetInterface, "MicMuted",
     [](const Target& t) { return QVariant(t.headset->Headset().MicMuted()); }, nullptr},
    {kHeadsetInterface, "MonitorLevel",
     [](const Target& t) { return QVariant(t.headset->Headset().Settings().micMonitorValue); },
     nullptr},
    {kHeadsetInterface, "MonitorMuted",
     [](const Target& t) { return QVariant(t.headset->Headset().MonitorMuted()); }, nullptr},
};

// The mouse settings that are one number each, with what the page's controls offer.
struct SettingRow {
    const char* name;
    MouseField field;
    int low;
    int high;
};
constexpr SettingRow kSettings[] = {
    {"LiftOff", MouseField::LiftOff, 0, 2},
    {"MotionSync", MouseField::MotionSync, 0, 1},
    {"AngleSnapping", MouseField::AngleSnapping, 0, 1},
    {"SensorLift", MouseField::SensorLift, 0, 1},
    {"DeepSleep", MouseField::DeepSleep, 0, 1},
    {"Dormancy", MouseField::Dormancy, 1, 30},
    {"Debounce", MouseField::Debounce, 0, 20},
    {"AntiShake", MouseField::AntiShake, 0, 3},
};

Outcome SetSetting(const Target& t, const SettingRow& row, int value) {
    if (value < row.low || value > row.high) {
        return OutOfRange(QString::fromLatin1(row.name), value, row.low, row.high);
    }
    return Written(t.mouse->ChangeSetting(row.field, value));
}

bool Is(const QString& text, const char* latin1) {
    return text == QLatin1String(latin1);
}

// --- Lighting: what the page's lighting panel offers ---------------------------------------------

QComboBox* LightModeCombo(const Target& t) {
    editors::CLightControlUI* panel = t.page->LightPanel();
    return panel == nullptr ? nullptr
                            : qobject_cast<QComboBox*>(toolkit::FindSubControlByName(
                                  panel, QStringLiteral("light_combo_modeSelect")));
}

bool HasLight(const Target& t) {
    const QComboBox* combo = LightModeCombo(t);
    return combo != nullptr && combo->count() > 0;
}

// The range of the panel's brightness or speed slider.
std::pair<int, int> LightRange(const Target& t, const char* slider) {
    const auto* control = qobject_cast<QAbstractSlider*>(
        toolkit::FindSubControlByName(t.page->LightPanel(), QString::fromLatin1(slider)));
    return control == nullptr ? std::pair{0, 0} : std::pair{control->minimum(), control->maximum()};
}
constexpr const char* kBrightnessSlider = "deng_light_slider";
constexpr const char* kSpeedSlider = "deng_speed_slider";

// Modes the product does not have are rows the panel keeps hidden and disabled.
bool ModeOffered(const QComboBox* combo, int mode) {
    if (mode < 0 || mode >= combo->count()) {
        return false;
    }
    const auto* model = qobject_cast<const QStandardItemModel*>(combo->model());
    return model == nullptr || model->item(mode)->isEnabled();
}

QVariantMap LightProperties(const Target& t) {
    QVariantMap values;
    if (!HasLight(t)) {
        return values;
    }
    const QComboBox* combo = LightModeCombo(t);
    const profiles::LightInfo record = t.page->LightRecord();
    QList<int> modes;
    QStringList names;
    for (int row = 0; row < combo->count(); ++row) {
        names.append(combo->itemText(row));
        if (ModeOffered(combo, row)) {
            modes.append(row);
        }
    }
    values.insert(QStringLiteral("LightMode"), int{record.mode});
    values.insert(QStringLiteral("LightModes"), QVariant::fromValue(modes));
    values.insert(QStringLiteral("LightModeNames"), names);
    values.insert(QStringLiteral("Brightness"), int{record.brightness});
    values.insert(QStringLiteral("MaxBrightness"), LightRange(t, kBrightnessSlider).second);
    values.insert(QStringLiteral("Speed"), int{record.speed});
    values.insert(QStringLiteral("MaxSpeed"), LightRange(t, kSpeedSlider).second);
    values.insert(QStringLiteral("Colour"), ColourText(record.red, record.green, record.blue));
    return values;
}

const char* const kLightSettings[] = {"LightMode", "Brightness", "Speed", "Colour"};
const char* const kLightFacts[] = {"LightModes", "LightModeNames", "MaxBrightness", "MaxSpeed"};

bool Listed(const QString& name, std::span<const char* const> names) {
    return std::any_of(names.begin(), names.end(),
                       [&](const char* listed) { return Is(name, listed); });
}

// Every value is checked before the one record is applied, as the lighting panel applies it.
Outcome SetLight(const Target& t, const QVariantMap& changes) {
    if (!HasLight(t)) {
        return CallError{kErrorWrongKind, QStringLiteral("this device has no lighting")};
    }
    const QComboBox* combo = LightModeCombo(t);
    profiles::LightInfo record = t.page->LightRecord();
    for (auto change = changes.begin(); change != changes.end(); ++change) {
        const QString& name = change.key();
        const QVariant& value = change.value();
        if (!Listed(name, kLightSettings)) {
            return CallError{"org.freedesktop.DBus.Error.UnknownProperty",
                             QStringLiteral("no light setting %1").arg(name)};
        }
        if (Is(name, "Colour")) {
            const auto rgb = ColourOf(value);
            if (!rgb) {
                return CallError{kErrorOutOfRange,
                                 QStringLiteral("Colour takes six hex digits, rrggbb")};
            }
            record.red = static_cast<std::uint8_t>(*rgb >> 16);
            record.green = static_cast<std::uint8_t>(*rgb >> 8);
            record.blue = static_cast<std::uint8_t>(*rgb);
            record.multiColor = 0;
            continue;
        }
        if (value.metaType() != QMetaType::fromType<int>()) {
            return CallError{"org.freedesktop.DBus.Error.InvalidArgs",
                             QStringLiteral("%1 takes a 32-bit integer").arg(name)};
        }
        const int number = value.toInt();
        if (Is(name, "LightMode")) {
            if (!ModeOffered(combo, number)) {
                return CallError{kErrorOutOfRange,
                                 QStringLiteral("light mode %1 is not one this device offers (see "
                                                "LightModes)")
                                     .arg(number)};
            }
            record.mode = static_cast<std::uint8_t>(number);
            continue;
        }
        const bool brightness = Is(name, "Brightness");
        const auto [low, high] = LightRange(t, brightness ? kBrightnessSlider : kSpeedSlider);
        if (number < low || number > high) {
            return OutOfRange(name, number, low, high);
        }
        (brightness ? record.brightness : record.speed) = static_cast<std::uint8_t>(number);
    }
    // The page's own light edit ends its following of the shared effect, as in the window.
    t.page->Model().SetFollowsSharedLighting(false);
    const int result = t.page->ApplyLightRecord(record);
    t.page->ShowLightSettings();
    return Written(result);
}

QVariantMap MapOf(const QVariant& value) {
    return value.metaType() == QMetaType::fromType<QDBusArgument>()
               ? qdbus_cast<QVariantMap>(value.value<QDBusArgument>())
               : value.toMap();
}

QVariantMap PropertiesOf(const Target& t, const char* interface) {
    if (Same(interface, kLightInterface)) {
        return LightProperties(t);
    }
    QVariantMap values;
    if (Same(interface, kKeyboardInterface) || Same(interface, kHeadsetInterface)) {
        const bool keyboard = Same(interface, kKeyboardInterface);
        if (keyboard ? t.keyboard != nullptr : t.headset != nullptr) {
            for (const PropertyRow& row : keyboard
                                              ? std::span<const PropertyRow>(kKeyboardProperties)
                                              : std::span<const PropertyRow>(kHeadsetProperties)) {
                values.insert(QString::fromLatin1(row.name), row.get(t));
            }
        }
        return values;
    }
    const bool mouse = Same(interface, kMouseInterface);
    if (mouse && t.mouse == nullptr) {
        return values;
    }
    for (const PropertyRow& row : kProperties) {
        if (Same(row.interface, interface)) {
            values.insert(QString::fromLatin1(row.name), row.get(t));
        }
    }
    if (mouse) {
        for (const SettingRow& row : kSettings) {
            values.insert(QString::fromLatin1(row.name),
                          t.mouse->Mouse().GetSettingField(row.field));
        }
    }
    return values;
}

// Sets one property; the interface must be the property's own (empty: any).
Outcome SetProperty(const Target& t, const QString& interface, const QString& name,
                    const QVariant& value) {
    if (Listed(name, kLightSettings) || Listed(name, kLightFacts)) {
        if (!interface.isEmpty() && !Is(interface, kLightInterface)) {
            return CallError{"org.freedesktop.DBus.Error.UnknownProperty",
                             QStringLiteral("%1 has no property %2").arg(interface, name)};
        }
        if (Listed(name, kLightFacts)) {
            return CallError{"org.freedesktop.DBus.Error.PropertyReadOnly",
                             QStringLiteral("%1 is read-only").arg(name)};
        }
        return SetLight(t, {{name, value}});
    }
    const auto refuseKind = [&](const char* owner) -> Outcome {
        if (!interface.isEmpty() && !Is(interface, owner)) {
            return CallError{"org.freedesktop.DBus.Error.UnknownProperty",
                             QStringLiteral("%1 has no property %2").arg(interface, name)};
        }
        if (Same(owner, kMouseInterface) && t.mouse == nullptr) {
            return CallError{kErrorWrongKind, QStringLiteral("%1 is a property of mice").arg(name)};
        }
        if (Same(owner, kKeyboardInterface) && t.keyboard == nullptr) {
            return CallError{kErrorWrongKind,
                             QStringLiteral("%1 is a property of keyboards").arg(name)};
        }
        if (Same(owner, kHeadsetInterface) && t.headset == nullptr) {
            return CallError{kErrorWrongKind,
                             QStringLiteral("%1 is a property of headsets").arg(name)};
        }
        if (value.metaType() != QMetaType::fromType<int>() &&
            value.metaType() != QMetaType::fromType<bool>()) {
            return CallError{"org.freedesktop.DBus.Error.InvalidArgs",
                             QStringLiteral("%1 takes a 32-bit integer").arg(name)};
        }
        return std::nullopt;
    };
    std::vector<const PropertyRow*> rows;
    for (const PropertyRow& row : kProperties) {
        rows.push_back(&row);
    }
    for (const PropertyRow& row : kKeyboardProperties) {
        rows.push_back(&row);
    }
    for (const PropertyRow& row : kHeadsetProperties) {
        rows.push_back(&row);
    }
    for (const PropertyRow* listed : rows) {
        const PropertyRow& row = *listed;
        if (Is(name, row.name)) {
            if (row.set == nullptr) {
                return CallError{"org.freedesktop.DBus.Error.PropertyReadOnly",
                                 QStringLiteral("%1 is read-only").arg(name)};
            }
            if (Outcome refused = refuseKind(row.interface)) {
                return refused;
            }
            return row.set(t, value.toInt());
        }
    }
    for (const SettingRow& row : kSettings) {
        if (Is(name, row.name)) {
            if (Outcome refused = refuseKind(kMouseInterface)) {
                return refused;
            }
            return SetSetting(t, row, value.toInt());
        }
    }
    return CallError{"org.freedesktop.DBus.Error.UnknownProperty",
                     QStringLiteral("no property %1").arg(name)};
}

// The methods, with the signature of their arguments.
struct MethodRow {
    const char* interface;
    const char* name;
    const char* signature;
    Outcome (*run)(const Target&, const QVariantList&);
};

const MethodRow kMethods[] = {
    {kDeviceInterface, "SelectProfile", "i",
     [](const Target& t, const QVariantList& a) { return SelectProfile(t, a[0].toInt()); }},
    {kDeviceInterface, "AddProfile", "",
     [](const Target& t, const QVariantList&) { return AddProfile(t, false); }},
    {kDeviceInterface, "CopyProfile", "",
     [](const Target& t, const QVariantList&) { return AddProfile(t, true); }},
    {kDeviceInterface, "RenameProfile", "s",
     [](const Target& t, const QVariantList& a) { return RenameProfile(t, a[0].toString()); }},
    {kDeviceInterface, "ExportProfile", "s",
     [](const Target& t, const QVariantList& a) { return ExportProfile(t, a[0].toString()); }},
    {kDeviceInterface, "ImportProfile", "s",
     [](const Target& t, const QVariantList& a) { return ImportProfile(t, a[0].toString()); }},
    {kMouseInterface, "SetDpi", "ii",
     [](const Target& t, const QVariantList& a) { return SetDpi(t, a[0].toInt(), a[1].toInt()); }},
    {kMouseInterface, "SetActiveDpiStage", "i",
     [](const Target& t, const QVariantList& a) { return SetActiveStage(t, a[0].toInt()); }},
    {kMouseInterface, "SetDpiStageEnabled", "ib",
     [](const Target& t, const QVariantList& a) {
         return SetStageEnabled(t, a[0].toInt(), a[1].toBool());
     }},
    {kMouseInterface, "SetDpiStageColour", "is",
     [](const Target& t, const QVariantList& a) { return SetStageColour(t, a[0].toInt(), a[1]); }},
    {kMouseInterface, "SetReportRate", "i",
     [](const Target& t, const QVariantList& a) { return SetReportRate(t, a[0].toInt()); }},
    {kLightInterface, "SetLight", "a{sv}",
     [](const Target& t, const QVariantList& a) { return SetLight(t, MapOf(a[0])); }},
};

const std::array<const char*, 5> kObjectInterfaces{
    kDeviceInterface, kMouseInterface, kKeyboardInterface, kHeadsetInterface, kLightInterface};

QString DevicePath(int pageIndex) {
    return QString::fromLatin1(kDevicePathPrefix) + QString::number(pageIndex);
}

// The page index a device path names; -1 for any other path.
int PageIndexOfPath(const QString& path) {
    const QString prefix = QString::fromLatin1(kDevicePathPrefix);
    if (!path.startsWith(prefix)) {
        return -1;
    }
    bool number = false;
    const int index = path.mid(prefix.size()).toInt(&number);
    return number && index >= 0 && QString::number(index) == path.mid(prefix.size()) ? index : -1;
}

QDBusMessage Error(const QDBusMessage& call, const CallError& error) {
    return call.createErrorReply(QString::fromLatin1(error.name), error.message);
}

} // namespace

std::span<const int> ReportRatesOf(int connection) {
    if (connection == 2) {
        return kReceiverRates;
    }
    return kCableRates;
}

QString InterfaceXml(const char* interface) {
    const QString xml = QString::fromUtf8(kDeviceApiXml);
    const QString start = QStringLiteral("<interface name=\"%1\">").arg(QLatin1String(interface));
    const qsizetype from = xml.indexOf(start);
    const QString end = QStringLiteral("</interface>");
    const qsizetype to = from < 0 ? -1 : xml.indexOf(end, from);
    return to < 0
               ? QString()
               : QStringLiteral("  ") + xml.mid(from, to + end.size() - from) + QLatin1Char('\n');
}

DeviceBus::DeviceBus(InstanceBus& bus, DevicePages& pages) : m_bus(bus), m_pages(pages) {
    m_bus.SetExtension(this);
    connect(&m_timer, &QTimer::timeout, this, &DeviceBus::Publish);
    m_timer.start(kPublishIntervalMs);
}

DeviceBus::~DeviceBus() {
    m_bus.SetExtension(nullptr);
}

QString DeviceBus::Introspect(const QString& path) const {
    const std::lock_guard lock(m_nodesLock);
    if (path == QLatin1String(kBusPath)) {
        return InterfaceXml(kManagerInterface) + QStringLiteral("  <node name=\"device\"/>\n");
    }
    QString xml;
    if (path + QLatin1Char('/') == QLatin1String(kDevicePathPrefix)) {
        for (const auto& [index, interfaces] : m_nodes) {
            xml += QStringLiteral("  <node name=\"%1\"/>\n").arg(index);
        }
        return xml;
    }
    const auto node = m_nodes.find(PageIndexOfPath(path));
    if (node == m_nodes.end()) {
        return xml;
    }
    for (const QString& interface : node->second) {
        xml += InterfaceXml(interface.toLatin1().constData());
    }
    // The bus library adds the properties interface itself.
    return xml;
}

bool DeviceBus::IsOnBus(int pageIndex) const {
    const CKestravaUSBDevice* page = m_pages.Page(pageIndex);
    const pages::CDeviceOptionUI* entry = m_pages.Entry(pageIndex);
    // The product counts once its page has read it and its entry shows in the window.
    return page != nullptr && page->HasModel() && entry != nullptr && !entry->isHidden() &&
           entry->IsActivated() && m_pages.ConnectionOf(pageIndex) != 0;
}

DeviceBus::Shown DeviceBus::Snapshot(int pageIndex) const {
    const Target target = TargetOf(m_pages, pageIndex);
    Shown shown;
    for (const char* interface : kObjectInterfaces) {
        QVariantMap values = PropertiesOf(target, interface);
        if (!values.isEmpty()) {
            shown.interfaces.emplace(QString::fromLatin1(interface), std::move(values));
        }
    }
    return shown;
}

void DeviceBus::Publish() {
    std::map<int, Shown> now;
    for (int index = 0; index < m_pages.PageCount(); ++index) {
        if (IsOnBus(index)) {
            now.emplace(index, Snapshot(index));
        }
    }
    {
        const std::lock_guard lock(m_nodesLock);
        m_nodes.clear();
        for (const auto& [index, shown] : now) {
            QStringList interfaces;
            for (const auto& [interface, values] : shown.interfaces) {
                interfaces.append(interface);
            }
            m_nodes.emplace(index, interfaces);
        }
    }
    QDBusConnection connection = m_bus.Connection();
    const auto managerSignal = [&](const char* member, int index) {
        QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kBusPath),
                                                         QString::fromLatin1(kManagerInterface),
                                                         QString::fromLatin1(member));
        signal << QVariant::fromValue(QDBusObjectPath(DevicePath(index)));
        connection.send(signal);
    };
    for (const auto& [index, shown] : m_shown) {
        if (now.find(index) == now.end()) {
            managerSignal("DeviceRemoved", index);
        }
    }
    for (const auto& [index, shown] : now) {
        const auto before = m_shown.find(index);
        if (before == m_shown.end()) {
            managerSignal("DeviceAdded", index);
            continue;
        }
        for (const auto& [interface, values] : shown.interfaces) {
            const QVariantMap& old = before->second.interfaces[interface];
            QVariantMap changed;
            for (auto value = values.begin(); value != values.end(); ++value) {
                if (old.value(value.key()) != value.value()) {
                    changed.insert(value.key(), value.value());
                }
            }
            if (changed.isEmpty()) {
                continue;
            }
            QDBusMessage signal = QDBusMessage::createSignal(
                DevicePath(index), QString::fromLatin1(kPropertiesInterface),
                QStringLiteral("PropertiesChanged"));
            signal << interface << changed << QStringList();
            connection.send(signal);
        }
    }
    m_shown = std::move(now);
}

void DeviceBus::HandleCall(const QDBusMessage& call, const QDBusConnection& connection) {
    const QString& path = call.path();
    QDBusMessage reply;
    if (path == QLatin1String(kBusPath)) {
        if (Is(call.member(), "Devices") &&
            (call.interface().isEmpty() || Is(call.interface(), kManagerInterface))) {
            Publish();
            QList<QDBusObjectPath> devices;
            for (const auto& [index, shown] : m_shown) {
                devices.append(QDBusObjectPath(DevicePath(index)));
            }
            reply = call.createReply(QVariant::fromValue(devices));
        } else {
            reply = call.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                QStringLiteral("no method %1 on %2").arg(call.member(), call.interface()));
        }
    } else {
        const int index = PageIndexOfPath(path);
        if (index < 0 || index >= m_pages.PageCount()) {
            reply =
                call.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
                                      QStringLiteral("no object at %1").arg(path));
        } else if (!IsOnBus(index)) {
            reply = call.createErrorReply(QString::fromLatin1(kErrorDeviceGone),
                                          QStringLiteral("device %1 is not connected").arg(index));
        } else {
            reply = Answer(call, index);
            Publish(); // the change is told before the call returns
        }
    }
    QDBusConnection(connection).send(reply);
}

QDBusMessage DeviceBus::Answer(const QDBusMessage& call, int pageIndex) {
    CKestravaUSBDevice* page = m_pages.Page(pageIndex);
    const Target target = TargetOf(m_pages, pageIndex);
    const QString& member = call.member();
    const QVariantList arguments = call.arguments();
    const QString signature = call.signature();
    const auto invalid = [&](const QString& text) {
        return call.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                     text);
    };

    if (Is(call.interface(), kPropertiesInterface)) {
        if (Is(member, "GetAll") && signature == QLatin1String("s")) {
            const QString interface = arguments[0].toString();
            for (const char* known : kObjectInterfaces) {
                if (Is(interface, known)) {
                    return call.createReply(QVariant(PropertiesOf(target, known)));
                }
            }
            return call.createReply(QVariant(QVariantMap()));
        }
        if (Is(member, "Get") && signature == QLatin1String("ss")) {
            const QString interface = arguments[0].toString();
            const QString name = arguments[1].toString();
            for (const char* known : kObjectInterfaces) {
                const QVariantMap values = PropertiesOf(target, known);
                if ((interface.isEmpty() || Is(interface, known)) && values.contains(name)) {
                    return call.createReply(QVariant::fromValue(QDBusVariant(values.value(name))));
                }
            }
            if (target.mouse == nullptr && Is(interface, kMouseInterface)) {
                return Error(
                    call, {kErrorWrongKind, QStringLiteral("%1 is a property of mice").arg(name)});
            }
            return call.createErrorReply(
                QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
                QStringLiteral("no property %1").arg(name));
        }
        if (Is(member, "Set") && signature == QLatin1String("ssv")) {
            const QVariant value = arguments[2].value<QDBusVariant>().variant();
            if (Outcome refused =
                    SetProperty(target, arguments[0].toString(), arguments[1].toString(), value)) {
                return Error(call, *refused);
            }
            return call.createReply();
        }
        return invalid(QStringLiteral("unknown properties call %1(%2)").arg(member, signature));
    }

    for (const MethodRow& row : kMethods) {
        if (!Is(member, row.name) ||
            !(call.interface().isEmpty() || Is(call.interface(), row.interface))) {
            continue;
        }
        if (Same(row.interface, kMouseInterface) && target.mouse == nullptr) {
            return Error(
                call, {kErrorWrongKind, QStringLiteral("%1 is a method of mice; device %2 is a %3")
                                            .arg(member)
                                            .arg(pageIndex)
                                            .arg(KindName(page->Model().Kind()))});
        }
        if (signature != QLatin1String(row.signature)) {
            return invalid(QStringLiteral("%1 takes (%2), not (%3)")
                               .arg(member, QLatin1String(row.signature), signature));
        }
        if (Outcome refused = row.run(target, arguments)) {
            return Error(call, *refused);
        }
        return call.createReply();
    }
    return call.createErrorReply(
        QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
        QStringLiteral("no method %1 on %2").arg(member, call.interface()));
}

} // namespace q407::app
