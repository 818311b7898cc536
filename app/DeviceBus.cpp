#include "app/DeviceBus.h"

#include "app/DeviceApiXml.h"
#include "app/DevicePages.h"
#include "devices/HeadsetModel.h"
#include "devices/KeyAssignment.h"
#include "devices/KeyboardModel.h"
#include "devices/MouseModel.h"
#include "devices/PageEventTable.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "editors/CVoice6533ControlUI.h"
#include "hid/DeviceTable.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaHS6533Device.h"
#include "pages/CKestravaKeyboardDevice.h"
#include "pages/CKestravaMouseDevice.h"
#include "pages/CMpDevicePowerUI.h"
#include "pages/KeyMacroPanels.h"
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
#include <functional>
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
    int pageIndex;
    const std::function<void()>* pageReset; // what the window does when a profile is reset
};

Target TargetOf(DevicePages& pages, int pageIndex, const std::function<void()>& pageReset) {
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
            &pages,
            pageIndex,
            &pageReset};
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
// compared after every change notice.
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

// The window deletes the selected profile once the user agreed; a script names the profile, which
// is selected first as a click on it would select it. The profile before it is then applied.
Outcome DeleteProfile(const Target& t, int index) {
    editors::CDeviceProfileUI* panel = Profiles(t);
    if (panel == nullptr) {
        return kNoProfiles;
    }
    const int count = static_cast<int>(ProfileNames(t).size());
    if (index < 0 || index >= count) {
        return OutOfRange(QStringLiteral("profile"), index, 0, count - 1);
    }
    if (count == 1) {
        return CallError{kErrorRefused, QStringLiteral("the only profile cannot be deleted")};
    }
    if (index != panel->GetSelectedIndex()) {
        if (Outcome failed = SelectProfile(t, index)) {
            return failed;
        }
    }
    // The window applies the new selection of the page it shows when the panel announces it.
    const bool shown = t.pages->SelectedPage() == t.pageIndex;
    if (Outcome refused =
            ProfileResult(panel->DeleteProfile(), QStringLiteral("the profile was not deleted"))) {
        return refused;
    }
    return !shown && t.page->ApplySelectedProfile() == -1 ? Written(0) : std::nullopt;
}

// The selected profile takes the product's defaults, and is applied.
Outcome ResetProfile(const Target& t) {
    editors::CDeviceProfileUI* panel = Profiles(t);
    if (panel == nullptr) {
        return kNoProfiles;
    }
    if (Outcome refused =
            ProfileResult(panel->ResetProfileFile(), QStringLiteral("no profile is selected"))) {
        return refused;
    }
    if (*t.pageReset) {
        (*t.pageReset)();
    }
    return t.page->ApplySelectedProfile() == -1 ? Written(0) : std::nullopt;
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

// The range of slider `name` below `parent`; (0, 0) without one.
std::pair<int, int> SliderRange(QWidget* parent, const char* name) {
    const auto* control =
        parent == nullptr ? nullptr
                          : qobject_cast<QAbstractSlider*>(
                                toolkit::FindSubControlByName(parent, QString::fromLatin1(name)));
    return control == nullptr ? std::pair{0, 0} : std::pair{control->minimum(), control->maximum()};
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

// The repeat rate takes what the page's slider offers; like the delay it is the computer's.
Outcome SetRepeatRate(const Target& t, int rate) {
    const auto [low, high] = SliderRange(t.page, "repeat_rate_slider");
    if (rate < low || rate > high) {
        return OutOfRange(QStringLiteral("repeat rate"), rate, low, high);
    }
    return Written(t.keyboard->ChangeRepeatRate(rate));
}

// --- Keyboard custom colour groups --------------------------------------------------------------

int CustomGroupCount(const Target& t) {
    const auto* combo =
        t.page->LightPanel() == nullptr
            ? nullptr
            : qobject_cast<QComboBox*>(toolkit::FindSubControlByName(
                  t.page->LightPanel(), QStringLiteral("light_combo_custommodeSelect")));
    return combo == nullptr ? 0 : combo->count();
}

// The keys of the keyboard's picture: the logical keys a colour can be given.
int PaintableKeys(const Target& t) {
    return static_cast<int>(t.keyboard->KeyButtons().size());
}

Outcome CheckCustomGroup(const Target& t, int group) {
    if (t.keyboard == nullptr) {
        return CallError{kErrorWrongKind, QStringLiteral("custom colour groups are a keyboard's")};
    }
    const int groups = CustomGroupCount(t);
    if (group < 0 || group >= groups) {
        return OutOfRange(QStringLiteral("custom colour group"), group, 0, groups - 1);
    }
    return std::nullopt;
}

// "rrggbb" per logical key, as the profile keeps the group.
Outcome ReadCustomColours(const Target& t, int group, QVariantList& out) {
    if (Outcome refused = CheckCustomGroup(t, group)) {
        return refused;
    }
    const auto colours = t.keyboard->Keyboard().Profile().GetCustomColours(group, PaintableKeys(t));
    QStringList texts;
    for (const profiles::CustomColour& colour : colours) {
        texts.append(ColourText(colour.red, colour.green, colour.blue));
    }
    out.append(texts);
    return std::nullopt;
}

// Keys painted as a click or a dragged rectangle paints them: the group is chosen as its combo
// chooses it, then the keys take the colour, stored, saved and written at once.
Outcome PaintCustomColours(const Target& t, int group, const QList<int>& keys,
                           const QVariant& colour) {
    if (Outcome refused = CheckCustomGroup(t, group)) {
        return refused;
    }
    const auto rgb = ColourOf(colour);
    if (!rgb) {
        return CallError{kErrorOutOfRange,
                         QStringLiteral("the colour takes six hex digits, rrggbb")};
    }
    if (keys.isEmpty()) {
        return CallError{kErrorRefused, QStringLiteral("no keys to paint")};
    }
    const int count = PaintableKeys(t);
    for (const int key : keys) {
        if (key < 0 || key >= count || t.keyboard->KeyButton(key) == nullptr) {
            return OutOfRange(QStringLiteral("key"), key, 0, count - 1);
        }
    }
    const int mode = t.page->LightRecord().mode;
    if (mode != devices::kCustomColourMode) {
        return CallError{
            kErrorRefused,
            QStringLiteral("keys are painted in light mode %1 (custom colours), not %2")
                .arg(devices::kCustomColourMode)
                .arg(mode)};
    }
    devices::KeyboardModel& keyboard = t.keyboard->Keyboard();
    if (group != keyboard.CustomGroup()) {
        const int chosen = t.keyboard->ChangeCustomGroup(group);
        t.page->ShowLightSettings();
        if (Outcome failed = Written(chosen)) {
            return failed;
        }
    }
    const std::vector<int> painted(keys.begin(), keys.end());
    return Written(
        keyboard.PaintCustomKeys(painted, devices::Rgb{static_cast<std::uint8_t>(*rgb >> 16),
                                                       static_cast<std::uint8_t>(*rgb >> 8),
                                                       static_cast<std::uint8_t>(*rgb)}));
}

// --- Key functions (mouse and keyboard) ---------------------------------------------------------

pages::CKeyMacroPanels* KeyPanels(const Target& t) {
    auto* page = dynamic_cast<pages::IKeyMacroPage*>(t.page);
    return page == nullptr ? nullptr : &page->Panels();
}

devices::KeyFunctionCode CodeOf(const profiles::KeyFunctionBytes& bytes) {
    return {bytes[0], bytes[1], bytes[2]};
}

// Key `key`'s entry of the selected profile, or why there is none.
Outcome FindKey(const Target& t, int key, profiles::KeyAssignmentEntry& entry) {
    const pages::CKeyMacroPanels* panels = KeyPanels(t);
    if (panels == nullptr) {
        return CallError{kErrorWrongKind, QStringLiteral("this device has no keys to assign")};
    }
    const auto list = panels->KeyList();
    const int count = static_cast<int>(list.size());
    if (key < 0 || key >= count) {
        return OutOfRange(QStringLiteral("key"), key, 0, count - 1);
    }
    entry = list[static_cast<std::size_t>(key)];
    return std::nullopt;
}

// The key's function and default as the profile stores them, and the text its button shows.
Outcome ReadKey(const Target& t, int key, QVariantList& out) {
    profiles::KeyAssignmentEntry entry;
    if (Outcome refused = FindKey(t, key, entry)) {
        return refused;
    }
    const devices::KeyFunctionCode code = CodeOf(entry.assignment);
    const std::vector<std::string> macros = KeyPanels(t)->MacroNames();
    out << QVariant::fromValue(devices::KeyFunctionToValue(code))
        << QVariant::fromValue(devices::KeyFunctionToValue(CodeOf(entry.defaultAssignment)))
        << pages::ChooseKeyText(code, macros).text;
    return std::nullopt;
}

// A function is taken when the key assignment panel can show it and stores it unchanged, so a
// script sets exactly what a click can set; it is stored and written as "write to device" does.
Outcome SetKey(const Target& t, int key, std::uint32_t function) {
    profiles::KeyAssignmentEntry entry;
    if (Outcome refused = FindKey(t, key, entry)) {
        return refused;
    }
    if (t.keyboard != nullptr && key == devices::kFnKey) {
        return CallError{
            kErrorRefused,
            QStringLiteral("key %1 switches the keyboard's layer and keeps it").arg(key)};
    }
    pages::CKeyMacroPanels& panels = *KeyPanels(t);
    const devices::KeyFunctionCode code = devices::KeyFunctionFromValue(function);
    const devices::KeyFunctionCode defaults = CodeOf(entry.defaultAssignment);
    const int macros = static_cast<int>(panels.MacroNames().size());
    const devices::KeyForm form =
        devices::ShowKeyFunction(code, defaults, devices::KeyForm{}, macros).form;
    const auto stored = devices::EncodeKeyForm(form, defaults, macros);
    if (function > 0xFFFFFFu || !stored || *stored != code ||
        !devices::IsFunctionOffered(form.page, t.page->Model().Kind())) {
        return CallError{kErrorOutOfRange,
                         QStringLiteral("0x%1 is not a function the key panel gives a key of this "
                                        "device")
                             .arg(function, 6, 16, QLatin1Char('0'))};
    }
    if (!panels.StoreKey(key, code)) {
        return CallError{kErrorWriteFailed, QStringLiteral("the profile could not be saved")};
    }
    const int written = panels.WriteKeys();
    if (written > 0) {
        return CallError{
            kErrorWriteFailed,
            QStringLiteral("the macros of the keys need more room than the device has")};
    }
    return written == 0 ? std::nullopt : Written(0);
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
    {kKeyboardInterface, "RepeatRate",
     [](const Target& t) {
         return QVariant(int{t.keyboard->Keyboard().GetSystemSettings().repeat});
     },
     SetRepeatRate},
    {kKeyboardInterface, "CustomColourGroups",
     [](const Target& t) { return QVariant(CustomGroupCount(t)); }, nullptr},
};

// A level as its slider gives it to the page; the sound card keeps it, the profile stores it.
Outcome SetSoundLevel(const Target& t, int level, bool monitor) {
    if (level < 0 || level > 100) {
        return OutOfRange(monitor ? QStringLiteral("monitor level")
                                  : QStringLiteral("microphone level"),
                          level, 0, 100);
    }
    if (monitor) {
        t.headset->ChangeMonitorLevel(level);
    } else {
        t.headset->ChangeMicLevel(level);
    }
    const auto& settings = t.headset->Headset().Settings();
    return Written((monitor ? settings.micMonitorValue : settings.micInValue) == level ? 1 : 0);
}

// A mute is the panel's check box: a change toggles it as a click does, and the sound card must
// then hold what was asked.
Outcome SetMute(const Target& t, int muted, bool monitor) {
    if (muted != 0 && muted != 1) {
        return OutOfRange(monitor ? QStringLiteral("monitor mute")
                                  : QStringLiteral("microphone mute"),
                          muted, 0, 1);
    }
    const auto isMuted = [&] {
        return monitor ? t.headset->Headset().MonitorMuted() : t.headset->Headset().MicMuted();
    };
    if (isMuted() != (muted == 1)) {
        if (monitor) {
            t.headset->ToggleMonitorMute();
        } else {
            t.headset->ToggleMicMute();
        }
    }
    const auto& settings = t.headset->Headset().Settings();
    const int selected = monitor ? settings.micMonitorSelect : settings.micInSelect;
    return Written(isMuted() == (muted == 1) && selected == 1 - muted ? 1 : 0);
}

// The user's own curve of that name, letter case aside; -1 when there is none.
int CustomEqIndex(const Target& t, const QString& name) {
    const std::vector<std::string>& names = t.headset->Headset().CustomEqNames();
    const auto same = std::find_if(names.begin(), names.end(), [&](const std::string& known) {
        return QString::fromStdString(known).compare(name, Qt::CaseInsensitive) == 0;
    });
    return same == names.end() ? -1 : static_cast<int>(same - names.begin());
}

// A curve of the user's own, chosen by its name as the list after "Custom" chooses it.
Outcome SelectEqCurve(const Target& t, const QString& name) {
    if (t.headset == nullptr) {
        return CallError{kErrorWrongKind, QStringLiteral("equaliser curves are a headset's")};
    }
    const int index = CustomEqIndex(t, name);
    if (index < 0) {
        return CallError{kErrorRefused, QStringLiteral("there is no curve named \"%1\"").arg(name)};
    }
    t.headset->SelectCustomEq(index);
    const auto& settings = t.headset->Headset().Settings();
    return Written(
        settings.eqType == devices::kEqCustomType && settings.customEqSelect == index ? 1 : 0);
}

// A curve of the user's own: the bands move as their sliders move them, then the curve is saved
// under its name (over the curve of that name when there is one), as the panel saves it.
Outcome SaveEqCurve(const Target& t, const QString& name, const QList<int>& bands) {
    if (t.headset == nullptr) {
        return CallError{kErrorWrongKind, QStringLiteral("equaliser curves are a headset's")};
    }
    if (bands.size() != devices::kEqBands) {
        return CallError{kErrorOutOfRange, QStringLiteral("a curve has %1 bands, not %2")
                                               .arg(devices::kEqBands)
                                               .arg(bands.size())};
    }
    const auto [low, high] = SliderRange(t.headset->VoicePanel(), "6533_eq_hz_slider_0");
    for (int band = 0; band < devices::kEqBands; ++band) {
        if (bands[band] < low || bands[band] > high) {
            return OutOfRange(QStringLiteral("band %1").arg(band + 1), bands[band], low, high);
        }
    }
    if (name.trimmed().isEmpty()) {
        return CallError{kErrorRefused, QStringLiteral("a curve needs a name")};
    }
    const int existing = CustomEqIndex(t, name);
    if (existing < 0 && t.headset->Headset().CustomEqNames().size() >=
                            static_cast<std::size_t>(devices::kMaxCustomEqCurves)) {
        return CallError{
            kErrorRefused,
            QStringLiteral("no more than %1 curves of your own").arg(devices::kMaxCustomEqCurves)};
    }
    devices::EqCurve curve{};
    for (int band = 0; band < devices::kEqBands; ++band) {
        curve[static_cast<std::size_t>(band)] = bands[band];
        t.headset->ChangeEqBand(band, bands[band]);
    }
    const int saved = t.headset->SaveCustomEq(existing < 0 ? name : QString(), curve, existing);
    if (saved != 1) {
        return CallError{kErrorWriteFailed, QStringLiteral("the curve was not saved")};
    }
    return std::nullopt;
}

// The headset's sound: what the audio page shows. The built-in equaliser curves can be chosen,
// the levels set and the microphone and monitor muted.
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
    {kHeadsetInterface, "CustomEqNames",
     [](const Target& t) {
         QStringList names;
         for (const std::string& name : t.headset->Headset().CustomEqNames()) {
             names.append(QString::fromStdString(name));
         }
         return QVariant(names);
     },
     nullptr},
    {kHeadsetInterface, "MicLevel",
     [](const Target& t) { return QVariant(t.headset->Headset().Settings().micInValue); },
     [](const Target& t, int level) { return SetSoundLevel(t, level, false); }},
    {kHeadsetInterface, "MicMuted",
     [](const Target& t) { return QVariant(t.headset->Headset().MicMuted()); },
     [](const Target& t, int muted) { return SetMute(t, muted, false); }},
    {kHeadsetInterface, "MonitorLevel",
     [](const Target& t) { return QVariant(t.headset->Headset().Settings().micMonitorValue); },
     [](const Target& t, int level) { return SetSoundLevel(t, level, true); }},
    {kHeadsetInterface, "MonitorMuted",
     [](const Target& t) { return QVariant(t.headset->Headset().MonitorMuted()); },
     [](const Target& t, int muted) { return SetMute(t, muted, true); }},
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
    return SliderRange(t.page->LightPanel(), slider);
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

QList<int> IntsOf(const QVariant& value) {
    return value.metaType() == QMetaType::fromType<QDBusArgument>()
               ? qdbus_cast<QList<int>>(value.value<QDBusArgument>())
               : value.value<QList<int>>();
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
    Outcome (*run)(const Target&, const QVariantList& in, QVariantList& out);
};

const MethodRow kMethods[] = {
    {kDeviceInterface, "SelectProfile", "i",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return SelectProfile(t, a[0].toInt());
     }},
    {kDeviceInterface, "AddProfile", "",
     [](const Target& t, const QVariantList&, QVariantList&) { return AddProfile(t, false); }},
    {kDeviceInterface, "CopyProfile", "",
     [](const Target& t, const QVariantList&, QVariantList&) { return AddProfile(t, true); }},
    {kDeviceInterface, "RenameProfile", "s",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return RenameProfile(t, a[0].toString());
     }},
    {kDeviceInterface, "ExportProfile", "s",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return ExportProfile(t, a[0].toString());
     }},
    {kDeviceInterface, "ImportProfile", "s",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return ImportProfile(t, a[0].toString());
     }},
    {kDeviceInterface, "DeleteProfile", "i",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return DeleteProfile(t, a[0].toInt());
     }},
    {kDeviceInterface, "ResetProfile", "",
     [](const Target& t, const QVariantList&, QVariantList&) { return ResetProfile(t); }},
    {kDeviceInterface, "GetKeyFunction", "i",
     [](const Target& t, const QVariantList& a, QVariantList& out) {
         return ReadKey(t, a[0].toInt(), out);
     }},
    {kDeviceInterface, "SetKeyFunction", "iu",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return SetKey(t, a[0].toInt(), a[1].toUInt());
     }},
    {kMouseInterface, "SetDpi", "ii",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return SetDpi(t, a[0].toInt(), a[1].toInt());
     }},
    {kMouseInterface, "SetActiveDpiStage", "i",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return SetActiveStage(t, a[0].toInt());
     }},
    {kMouseInterface, "SetDpiStageEnabled", "ib",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return SetStageEnabled(t, a[0].toInt(), a[1].toBool());
     }},
    {kMouseInterface, "SetDpiStageColour", "is",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return SetStageColour(t, a[0].toInt(), a[1]);
     }},
    {kMouseInterface, "SetReportRate", "i",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return SetReportRate(t, a[0].toInt());
     }},
    {kKeyboardInterface, "GetCustomColours", "i",
     [](const Target& t, const QVariantList& a, QVariantList& out) {
         return ReadCustomColours(t, a[0].toInt(), out);
     }},
    {kKeyboardInterface, "PaintCustomColours", "iais",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return PaintCustomColours(t, a[0].toInt(), IntsOf(a[1]), a[2]);
     }},
    {kHeadsetInterface, "SaveEqCurve", "sai",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return SaveEqCurve(t, a[0].toString(), IntsOf(a[1]));
     }},
    {kHeadsetInterface, "SelectEqCurve", "s",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return SelectEqCurve(t, a[0].toString());
     }},
    {kLightInterface, "SetLight", "a{sv}",
     [](const Target& t, const QVariantList& a, QVariantList&) {
         return SetLight(t, MapOf(a[0]));
     }},
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
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &DeviceBus::Publish);
    ScheduleUpdate(); // pages already shown
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
    const Target target = TargetOf(m_pages, pageIndex, m_pageReset);
    Shown shown;
    for (const char* interface : kObjectInterfaces) {
        QVariantMap values = PropertiesOf(target, interface);
        if (!values.isEmpty()) {
            shown.interfaces.emplace(QString::fromLatin1(interface), std::move(values));
        }
    }
    return shown;
}

void DeviceBus::ScheduleUpdate() {
    if (!m_timer.isActive()) {
        m_timer.start(0);
    }
}

void DeviceBus::Publish() {
    m_timer.stop();
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
    const Target target = TargetOf(m_pages, pageIndex, m_pageReset);
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
        const bool lacks =
            (Same(row.interface, kMouseInterface) && target.mouse == nullptr) ||
            (Same(row.interface, kKeyboardInterface) && target.keyboard == nullptr) ||
            (Same(row.interface, kHeadsetInterface) && target.headset == nullptr);
        if (lacks) {
            const QString kind = QString::fromLatin1(row.interface).section(QLatin1Char('.'), -1);
            return Error(call,
                         {kErrorWrongKind, QStringLiteral("%1 is a method of the %2 interface; "
                                                          "device %3 is a %4")
                                               .arg(member, kind)
                                               .arg(pageIndex)
                                               .arg(KindName(page->Model().Kind()))});
        }
        if (signature != QLatin1String(row.signature)) {
            return invalid(QStringLiteral("%1 takes (%2), not (%3)")
                               .arg(member, QLatin1String(row.signature), signature));
        }
        QVariantList results;
        if (Outcome refused = row.run(target, arguments, results)) {
            return Error(call, *refused);
        }
        return call.createReply(results);
    }
    return call.createErrorReply(
        QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
        QStringLiteral("no method %1 on %2").arg(member, call.interface()));
}

} // namespace q407::app
