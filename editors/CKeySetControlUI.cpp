#include "editors/CKeySetControlUI.h"

#include "toolkit/ResourceManager.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <array>
#include <span>

namespace q407::editors {
namespace {

namespace dev = q407::devices;

constexpr std::array<const char*, dev::kFunctionCount> kFunctionTexts{
    QT_TRID_NOOP("keyset_function_0"),  QT_TRID_NOOP("keyset_function_1"),
    QT_TRID_NOOP("keyset_function_2"),  QT_TRID_NOOP("keyset_function_3"),
    QT_TRID_NOOP("keyset_function_4"),  QT_TRID_NOOP("keyset_function_5"),
    QT_TRID_NOOP("keyset_function_6"),  QT_TRID_NOOP("keyset_function_7"),
    QT_TRID_NOOP("keyset_function_8"),  QT_TRID_NOOP("keyset_function_9"),
    QT_TRID_NOOP("keyset_function_10"), QT_TRID_NOOP("keyset_function_11"),
};

constexpr std::array<const char*, 5> kRepeatTexts{
    QT_TRID_NOOP("keyset_repeat_0"), QT_TRID_NOOP("keyset_repeat_1"),
    QT_TRID_NOOP("keyset_repeat_2"), QT_TRID_NOOP("keyset_repeat_3"),
    QT_TRID_NOOP("keyset_repeat_times")};

constexpr std::array<const char*, 2> kSwingTexts{QT_TRID_NOOP("mouse_key_left_Swing"),
                                                 QT_TRID_NOOP("mouse_key_right_Swing")};
constexpr std::array<const char*, 2> kWheelTexts{QT_TRID_NOOP("mouse_key_up_Swing"),
                                                 QT_TRID_NOOP("mouse_key_down_Swing")};

// Combos filled from the key function tables.
struct TableCombo {
    const char* name;
    std::span<const dev::KeyTableEntry> (*table)();
};
constexpr TableCombo kTableCombos[] = {
    {"keyset_mousekey_combo", &dev::MouseButtonTable}, {"keyset_mousedpi_combo", &dev::DpiTable},
    {"keyset_media_combo", &dev::ConsumerTable},       {"keyset_system_combo", &dev::SystemTable},
    {"keyset_combokey_combo", &dev::ShortcutTable},
};

constexpr const char* kModifierCheck = "key_ComBox_check_";

void SelectRow(QComboBox* combo, int row) {
    if (combo != nullptr) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(row >= 0 && row < combo->count() ? row : -1);
    }
}

int RowOf(const QComboBox* combo) {
    return combo != nullptr ? combo->currentIndex() : -1;
}

} // namespace

CKeySetControlUI::CKeySetControlUI(QWidget* parent)
    : CEditorPanel(QStringLiteral("XML/CustomControlXML/KeySetControl.xml"), parent) {
    if (auto* functions = Control<QComboBox>(QStringLiteral("keyset_function_combo"))) {
        const QSignalBlocker quiet(functions);
        for (int n = 0; n < dev::kFunctionCount; ++n) {
            AddTextRow(functions, QString::fromLatin1(kFunctionTexts[static_cast<std::size_t>(n)]));
            functions->setItemData(n, n, Qt::UserRole);
        }
    }
    FillTableCombos();
    ResetEditors();
    SetEditsPending(false);
}

void CKeySetControlUI::FillTableCombos() {
    const auto fill = [this](const char* name, auto texts) {
        if (auto* combo = Control<QComboBox>(QString::fromLatin1(name))) {
            const QSignalBlocker quiet(combo);
            combo->clear();
            for (const char* text : texts) {
                AddTextRow(combo, QString::fromLatin1(text));
            }
        }
    };
    for (const TableCombo& table : kTableCombos) {
        std::vector<const char*> texts;
        for (const dev::KeyTableEntry& entry : table.table()) {
            texts.push_back(entry.textId);
        }
        fill(table.name, texts);
    }
    fill("keyset_mouseswing_combo", kSwingTexts);
    fill("keyset_mousewheel_combo", kWheelTexts);
    fill("keyset_macro_over_combo", kRepeatTexts);
    std::vector<const char*> guns(dev::GunNames().begin(), dev::GunNames().end());
    fill("keyset_gunkey_combo", guns);
}

void CKeySetControlUI::SetDeviceKind(int kind) {
    m_kind = kind;
    auto* functions = Control<QComboBox>(QStringLiteral("keyset_function_combo"));
    if (functions == nullptr) {
        return;
    }
    const QSignalBlocker quiet(functions);
    for (int row = functions->count() - 1; row >= 0; --row) {
        if (!dev::IsFunctionOffered(functions->itemData(row, Qt::UserRole).toInt(), kind)) {
            functions->removeItem(row);
        }
    }
}

// --- Macro names ---------------------------------------------------------------------------------

void CKeySetControlUI::SetMacroNames(const std::vector<std::string>& names) {
    if (auto* combo = Control<QComboBox>(QStringLiteral("keyset_macro_combo"))) {
        const QSignalBlocker quiet(combo);
        combo->clear();
        for (const std::string& name : names) {
            AddPlainRow(combo, QString::fromStdString(name));
        }
    }
}

void CKeySetControlUI::AddMacroName(const std::string& name) {
    if (auto* combo = Control<QComboBox>(QStringLiteral("keyset_macro_combo"))) {
        const QSignalBlocker quiet(combo);
        AddPlainRow(combo, QString::fromStdString(name));
    }
}

void CKeySetControlUI::RenameMacro(int index, const std::string& name) {
    auto* combo = Control<QComboBox>(QStringLiteral("keyset_macro_combo"));
    if (combo != nullptr && index >= 0 && index < combo->count()) {
        const QSignalBlocker quiet(combo);
        combo->setItemText(index, QString::fromStdString(name));
        combo->setItemData(index, QString::fromStdString(name));
    }
}

void CKeySetControlUI::RemoveMacro(int index) {
    auto* combo = Control<QComboBox>(QStringLiteral("keyset_macro_combo"));
    if (combo != nullptr && index >= 0 && index < combo->count()) {
        const QSignalBlocker quiet(combo);
        combo->removeItem(index);
    }
}

int CKeySetControlUI::MacroCount() const {
    const auto* combo = Control<QComboBox>(QStringLiteral("keyset_macro_combo"));
    return combo != nullptr ? combo->count() : 0;
}

// --- Showing -------------------------------------------------------------------------------------

void CKeySetControlUI::ShowPanel(bool show) {
    if (QWidget* body = Control<QWidget>(QStringLiteral("keyset_layout"))) {
        body->setVisible(show);
    }
}

bool CKeySetControlUI::IsPanelShown() const {
    const QWidget* body = Control<QWidget>(QStringLiteral("keyset_layout"));
    return body != nullptr && !body->isHidden();
}

void CKeySetControlUI::ShowKey(int index, const dev::KeyFunctionCode& current,
                               const dev::KeyFunctionCode& defaults) {
    m_key = index;
    m_current = current;
    m_default = defaults;
    ShowCurrent();
}

void CKeySetControlUI::ShowCurrent() {
    ShowFunction(m_current);
}

void CKeySetControlUI::ShowDefault() {
    m_current = m_default;
    ShowFunction(m_default);
}

void CKeySetControlUI::ShowFunction(const dev::KeyFunctionCode& code) {
    const dev::ShownKey shown = dev::ShowKeyFunction(code, m_default, ReadForm(), MacroCount());
    if (shown.replacedCurrent) {
        m_current = *shown.replacedCurrent;
    }
    ShowForm(shown.form);
}

void CKeySetControlUI::SelectFunctionRow(int function) {
    auto* functions = Control<QComboBox>(QStringLiteral("keyset_function_combo"));
    const int row = functions != nullptr ? functions->findData(function, Qt::UserRole) : -1;
    SelectRow(functions, row);
    if (auto* pages = Control<QStackedWidget>(QStringLiteral("function_switch_tablayout"))) {
        if (row >= 0 && function < pages->count()) {
            pages->setCurrentIndex(function);
        }
    }
    ShowPanel(row >= 0);
}

int CKeySetControlUI::SelectedFunction() const {
    const auto* functions = Control<QComboBox>(QStringLiteral("keyset_function_combo"));
    if (functions == nullptr || functions->currentIndex() < 0) {
        return dev::kFunctionNone;
    }
    return functions->currentData(Qt::UserRole).toInt();
}

int CKeySetControlUI::EditNumber(const char* name) const {
    const auto* edit = Control<QLineEdit>(QString::fromLatin1(name));
    return edit != nullptr ? edit->text().trimmed().toInt() : 0; // not a number: 0
}

void CKeySetControlUI::SetEditNumber(const char* name, int value) {
    if (auto* edit = Control<QLineEdit>(QString::fromLatin1(name))) {
        const QSignalBlocker quiet(edit);
        edit->setText(QString::number(value));
    }
}

void CKeySetControlUI::ShowKeyName(int keyIndex) {
    m_keyIndex = keyIndex;
    if (auto* edit = Control<QLineEdit>(QStringLiteral("keyset_keyboard_text_edit"))) {
        const QSignalBlocker quiet(edit);
        const bool known = keyIndex >= 0 && keyIndex < static_cast<int>(dev::KeyTable().size());
        edit->setText(known ? toolkit::ResourceManager::Instance().Text(QString::fromLatin1(
                                  dev::KeyTable()[static_cast<std::size_t>(keyIndex)].textId))
                            : QString());
    }
}

dev::KeyForm CKeySetControlUI::ReadForm() const {
    dev::KeyForm form;
    form.page = SelectedFunction();
    form.mouseButton = RowOf(Control<QComboBox>(QStringLiteral("keyset_mousekey_combo")));
    form.swingDirection = RowOf(Control<QComboBox>(QStringLiteral("keyset_mouseswing_combo")));
    form.swingCount = EditNumber("keyset_mouseswing_num_edit");
    form.swingDelay = EditNumber("keyset_mouseswing_delay_edit");
    form.swingSpeed = EditNumber("keyset_mouseswing_speed_edit");
    form.wheelDirection = RowOf(Control<QComboBox>(QStringLiteral("keyset_mousewheel_combo")));
    form.wheelCount = EditNumber("keyset_mousewheel_num_edit");
    form.wheelDelay = EditNumber("keyset_mousewheel_delay_edit");
    form.wheelSpeed = EditNumber("keyset_mousewheel_speed_edit");
    form.dpi = RowOf(Control<QComboBox>(QStringLiteral("keyset_mousedpi_combo")));
    form.fireInterval = EditNumber("keyset_mousefire_interval_edit");
    form.fireCount = EditNumber("keyset_mousefire_num_edit");
    form.modifier = 0;
    for (int n = 1; n < dev::kModifierOptions; ++n) {
        const auto* option =
            Control<QAbstractButton>(QString::fromLatin1(kModifierCheck) + QString::number(n));
        if (option != nullptr && option->isChecked()) {
            form.modifier = n;
        }
    }
    const auto* keyEdit = Control<QLineEdit>(QStringLiteral("keyset_keyboard_text_edit"));
    form.keyIndex = keyEdit != nullptr && keyEdit->text().isEmpty() ? -1 : m_keyIndex;
    form.consumer = RowOf(Control<QComboBox>(QStringLiteral("keyset_media_combo")));
    form.system = RowOf(Control<QComboBox>(QStringLiteral("keyset_system_combo")));
    form.macro = RowOf(Control<QComboBox>(QStringLiteral("keyset_macro_combo")));
    form.repeat = RowOf(Control<QComboBox>(QStringLiteral("keyset_macro_over_combo")));
    form.macroCount = EditNumber("keyset_macro_cycle_edit");
    form.gun = RowOf(Control<QComboBox>(QStringLiteral("keyset_gunkey_combo")));
    form.shortcut = RowOf(Control<QComboBox>(QStringLiteral("keyset_combokey_combo")));
    return form;
}

void CKeySetControlUI::ShowForm(const dev::KeyForm& form) {
    SelectRow(Control<QComboBox>(QStringLiteral("keyset_mousekey_combo")), form.mouseButton);
    SelectRow(Control<QComboBox>(QStringLiteral("keyset_mouseswing_combo")), form.swingDirection);
    SetEditNumber("keyset_mouseswing_num_edit", form.swingCount);
    SetEditNumber("keyset_mouseswing_delay_edit", form.swingDelay);
    SetEditNumber("keyset_mouseswing_speed_edit", form.swingSpeed);
    SelectRow(Control<QComboBox>(QStringLiteral("keyset_mousewheel_combo")), form.wheelDirection);
    SetEditNumber("keyset_mousewheel_num_edit", form.wheelCount);
    SetEditNumber("keyset_mousewheel_delay_edit", form.wheelDelay);
    SetEditNumber("keyset_mousewheel_speed_edit", form.wheelSpeed);
    SelectRow(Control<QComboBox>(QStringLiteral("keyset_mousedpi_combo")), form.dpi);
    SetEditNumber("keyset_mousefire_interval_edit", form.fireInterval);
    SetEditNumber("keyset_mousefire_num_edit", form.fireCount);
    for (int n = 0; n < dev::kModifierOptions; ++n) {
        SetSelected(
            Control<QAbstractButton>(QString::fromLatin1(kModifierCheck) + QString::number(n)),
            n == form.modifier);
    }
    ShowKeyName(form.keyIndex);
    SelectRow(Control<QComboBox>(QStringLiteral("keyset_media_combo")), form.consumer);
    SelectRow(Control<QComboBox>(QStringLiteral("keyset_system_combo")), form.system);
    SelectRow(Control<QComboBox>(QStringLiteral("keyset_macro_combo")), form.macro);
    SelectRow(Control<QComboBox>(QStringLiteral("keyset_macro_over_combo")), form.repeat);
    SetEditNumber("keyset_macro_cycle_edit", form.macroCount);
    SelectRow(Control<QComboBox>(QStringLiteral("keyset_gunkey_combo")), form.gun);
    SelectRow(Control<QComboBox>(QStringLiteral("keyset_combokey_combo")), form.shortcut);
    OnRepeatChosen();
    SelectFunctionRow(form.page);
}

// --- Reading back --------------------------------------------------------------------------------

dev::KeyFunctionCode CKeySetControlUI::Encode() {
    const dev::KeyForm form = ReadForm();
    const auto code = dev::EncodeKeyForm(form, m_default, MacroCount());
    if (!code) {
        return m_current;
    }
    m_current = *code;
    // Numbers the key cannot keep (a count above 15, a speed above 127, …) were held at its
    // limits: the edits show what was stored rather than what was typed.
    const bool numeric = form.page == dev::kFunctionSwing || form.page == dev::kFunctionWheel ||
                         form.page == dev::kFunctionFire || form.page == dev::kFunctionMacro;
    const dev::KeyForm stored = dev::ShowKeyFunction(*code, {}, form, MacroCount()).form;
    if (!numeric || stored.page != form.page) {
        return m_current;
    }
    const std::pair<const char*, int> numbers[] = {
        {"keyset_mouseswing_num_edit", stored.swingCount},
        {"keyset_mouseswing_delay_edit", stored.swingDelay},
        {"keyset_mouseswing_speed_edit", stored.swingSpeed},
        {"keyset_mousewheel_num_edit", stored.wheelCount},
        {"keyset_mousewheel_delay_edit", stored.wheelDelay},
        {"keyset_mousewheel_speed_edit", stored.wheelSpeed},
        {"keyset_mousefire_interval_edit", stored.fireInterval},
        {"keyset_mousefire_num_edit", stored.fireCount},
        {"keyset_macro_cycle_edit", stored.macroCount},
    };
    for (const auto& [name, value] : numbers) {
        SetEditNumber(name, value);
    }
    return m_current;
}

void CKeySetControlUI::ResetEditors() {
    const dev::KeyForm reset = dev::ResetKeyForm(ReadForm());
    for (const char* name : {"keyset_mousekey_combo", "keyset_mousedpi_combo", "keyset_media_combo",
                             "keyset_system_combo", "keyset_macro_combo", "keyset_macro_over_combo",
                             "keyset_gunkey_combo", "keyset_combokey_combo"}) {
        SelectRow(Control<QComboBox>(QString::fromLatin1(name)), 0);
    }
    SetEditNumber("keyset_mousefire_interval_edit", reset.fireInterval);
    SetEditNumber("keyset_mousefire_num_edit", reset.fireCount);
    SetEditNumber("keyset_macro_cycle_edit", reset.macroCount);
    OnRepeatChosen();
}

void CKeySetControlUI::OnFunctionChosen() {
    const int function = SelectedFunction();
    if (auto* pages = Control<QStackedWidget>(QStringLiteral("function_switch_tablayout"))) {
        if (function >= 0 && function < pages->count()) {
            pages->setCurrentIndex(function);
        }
    }
    if (function == dev::kFunctionKeyboard) {
        ShowKeyName(-1);
        for (int n = 0; n < dev::kModifierOptions; ++n) {
            SetSelected(
                Control<QAbstractButton>(QString::fromLatin1(kModifierCheck) + QString::number(n)),
                false);
        }
    }
}

void CKeySetControlUI::OnRepeatChosen() {
    const int repeat = RowOf(Control<QComboBox>(QStringLiteral("keyset_macro_over_combo")));
    if (QWidget* cycle = Control<QWidget>(QStringLiteral("keyset_macro_cycle_layout"))) {
        cycle->setVisible(repeat == dev::kRepeatTimes);
    }
}

bool CKeySetControlUI::CaptureKey(dev::ScanCode scan) {
    dev::KeyForm form = ReadForm();
    if (!dev::CaptureKey(form, scan)) {
        return false;
    }
    for (int n = 0; n < dev::kModifierOptions; ++n) {
        SetSelected(
            Control<QAbstractButton>(QString::fromLatin1(kModifierCheck) + QString::number(n)),
            n == form.modifier);
    }
    ShowKeyName(form.keyIndex);
    return true;
}

void CKeySetControlUI::SetEditsPending(bool pending) {
    m_pending = pending;
    for (const char* name : {"key_butt_keysave", "key_butt_keycancel", "key_butt_prosave"}) {
        if (QWidget* button = Control<QWidget>(QString::fromLatin1(name))) {
            button->setEnabled(pending);
        }
    }
}

} // namespace q407::editors
