#include "app/KeyMacroActions.h"

#include "app/CMainWnd.h"
#include "app/PageActions.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CKeySetControlUI.h"
#include "editors/CMacroControlUI.h"
#include "editors/CShootControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaMouseDevice.h"
#include "pages/KeyMacroPanels.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/TrayIcon.h"

#include <QCursor>
#include <chrono>
#include <cstring>

namespace q407::app {
namespace {

namespace dev = q407::devices;
using editors::CMacroControlUI;
using profiles::CMacroLibrary;

bool Is(const QString& name, const char* row) {
    return name == QLatin1String(row);
}

// Edits of the key panel whose value is stored when they are left.
constexpr const char* kKeyEdits[] = {
    "keyset_mouseswing_num_edit",     "keyset_mouseswing_delay_edit",
    "keyset_mouseswing_speed_edit",   "keyset_mousewheel_num_edit",
    "keyset_mousewheel_delay_edit",   "keyset_mousewheel_speed_edit",
    "keyset_mousefire_interval_edit", "keyset_mousefire_num_edit",
    "keyset_macro_cycle_edit",
};

// Combos of the key panel whose choice is stored at once.
constexpr const char* kKeyCombos[] = {
    "keyset_mousekey_combo", "keyset_mouseswing_combo", "keyset_mousewheel_combo",
    "keyset_mousedpi_combo", "keyset_media_combo",      "keyset_system_combo",
    "keyset_macro_combo",    "keyset_macro_over_combo", "keyset_gunkey_combo",
    "keyset_combokey_combo",
};

// The four insert buttons, in the order of CMacroControlUI::InsertMove; compared with case.
constexpr const char* kMoveButtons[] = {
    "macro_inset_moveleftkey_btn",
    "macro_inset_moverightkey_btn",
    "macro_inset_moveupkey_btn",
    "macro_inset_movedownkey_btn",
};

// The event rows' menu: recording items and their mode and timing (timing 0: the start
// button's choice).
struct RecordItem {
    const char* name;
    int mode;
    int timing;
};
constexpr RecordItem kRecordItems[] = {
    {"redio_previous_record_time", dev::kHookRecordBefore, 0},
    {"redio_later_record_time", dev::kHookRecordAfter, 0},
    {"redio_previous_constant_time", dev::kHookRecordBefore, 2},
    {"redio_later_constant_time", dev::kHookRecordAfter, 2},
    {"redio_previous_ignore_time", dev::kHookRecordBefore, 3},
    {"redio_later_ignore_time", dev::kHookRecordAfter, 3},
    {"macro_action_edit", dev::kHookRecordReplace, 3},
};

struct ButtonItem {
    const char* prefix;
    dev::MouseButton button;
};
constexpr ButtonItem kButtonItems[] = {
    {"left_", dev::MouseButton::Left},   {"middle_", dev::MouseButton::Middle},
    {"right_", dev::MouseButton::Right}, {"forward_", dev::MouseButton::Forward},
    {"back_", dev::MouseButton::Back},
};

const QString kMacroFilter = QStringLiteral("Macro Files(*.mac)");
const QString kShootFilter = QStringLiteral("Shoot Files(*.shoot)");

} // namespace

KeyMacroActions::KeyMacroActions(CMainWnd& window)
    : m_window(window),
      m_hook(std::make_unique<CDeviceHook>(
          window, [this](int mode, const dev::KeyInput& key) { OnCapturedKey(mode, key); },
          [this](int mode, const dev::MouseInput& mouse) { OnCapturedMouse(mode, mouse); })) {}

KeyMacroActions::~KeyMacroActions() {
    StopRecording();
    m_hook->Remove();
}

std::uint64_t KeyMacroActions::NowMs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

pages::CKestravaUSBDevice* KeyMacroActions::Page() const {
    return m_window.SelectedPage();
}

pages::CKeyMacroPanels* KeyMacroActions::Panels() const {
    auto* page = dynamic_cast<pages::IKeyMacroPage*>(Page());
    return page != nullptr ? &page->Panels() : nullptr;
}

bool KeyMacroActions::Confirm(const char* textId) const {
    return ConfirmText(m_window, textId);
}

void KeyMacroActions::Tell(const char* textId, int value) const {
    TellText(m_window, QString::fromLatin1(textId), value);
}

void KeyMacroActions::TellWriteResult(int result) const {
    if (result == -1) {
        Tell(QT_TRID_NOOP("message_text_7"));
    } else if (result > 0) {
        Tell(QT_TRID_NOOP("message_text_16"), result);
    }
}

// --- Notifications -------------------------------------------------------------------------------

bool KeyMacroActions::Handle(const toolkit::TNotifyUI& msg) {
    const QString name = msg.SenderName();
    const auto [prefix, n] = SplitNumberedName(name);
    if (msg.sType == QLatin1String("click")) {
        return OnClick(prefix, n);
    }
    if (msg.sType == QLatin1String("selectchanged")) {
        return OnSelect(prefix, n, msg.wParam != 0);
    }
    if (msg.sType == QLatin1String("itemselect")) {
        return OnItem(name, static_cast<int>(msg.wParam));
    }
    if (msg.sType == QLatin1String("textchanged") && Is(name, "macro_name_list")) {
        RenameMacro();
        return true;
    }
    if (msg.sType == QLatin1String("killfocus")) {
        return OnKillFocus(name);
    }
    if (msg.sType == QLatin1String("setfocus") && Is(name, "keyset_keyboard_text_edit")) {
        qint64 result = 0;
        m_window.HandleMessage(kInputHookMessage, 1, 0, result);
        return true;
    }
    if (msg.sType == QLatin1String("menu") && Is(name, "macro_action_list")) {
        pages::CKeyMacroPanels* panels = Panels();
        CMacroControlUI* macros = panels != nullptr ? panels->MacroPanel() : nullptr;
        if (macros != nullptr && !macros->IsRecording()) {
            // The menu acts on the row under the pointer, else on the selected one.
            const auto row = static_cast<int>(msg.wParam);
            macros->SelectEvent(row >= 0 ? row : macros->Events().selected);
            toolkit::ShowPopupMenu(QStringLiteral("XML/Menus/macro_action_menu.xml"), &m_window,
                                   QCursor::pos(),
                                   [this](const QString& item) { OnMenuItem(item); });
        }
        return true;
    }
    return false;
}

bool KeyMacroActions::HandleMessage(unsigned message, qint64 wParam) {
    if (message != kInputHookMessage) {
        return false;
    }
    if (wParam == 1) {
        m_hook->Install(dev::kHookSingleKey);
    } else if (m_hook->Mode() == dev::kHookSingleKey) {
        m_hook->Remove(); // a recording keeps its capture
    }
    return true;
}

bool KeyMacroActions::OnClick(const QString& prefix, int n) {
    if (n >= 0) {
        if (Is(prefix, "key_")) {
            // The keyboard page decides itself what a click on its keys means.
            auto* mouse = qobject_cast<pages::CKestravaMouseDevice*>(Page());
            if (mouse == nullptr) {
                return false;
            }
            mouse->Panels().SelectKey(n);
            return true;
        }
        return false;
    }
    return OnKeyPanelClick(prefix) || OnMacroClick(prefix) || OnRecoilClick(prefix);
}

bool KeyMacroActions::OnKeyPanelClick(const QString& name) {
    pages::CKeyMacroPanels* panels = Panels();
    if (Is(name, "key_butt_keysave")) {
        if (panels != nullptr) {
            panels->StoreKey();
        }
    } else if (Is(name, "key_butt_keycancel")) {
        if (panels != nullptr) {
            panels->CancelKey();
        }
    } else if (Is(name, "key_butt_keydefalut")) {
        if (panels != nullptr) {
            TellWriteResult(panels->DefaultKey());
        }
    } else if (Is(name, "key_butt_prosave")) {
        if (panels != nullptr) {
            TellWriteResult(panels->WriteKeys());
        }
    } else {
        return false;
    }
    return true;
}

bool KeyMacroActions::OnMacroClick(const QString& name) {
    pages::CKeyMacroPanels* panels = Panels();
    CMacroControlUI* macros = panels != nullptr ? panels->MacroPanel() : nullptr;
    for (int direction = 0; direction < 4; ++direction) {
        if (Is(name, kMoveButtons[direction])) {
            if (macros != nullptr) {
                ListEdited(macros->InsertMove(direction));
            }
            return true;
        }
    }
    struct EditRow {
        const char* name;
        bool (CMacroControlUI::*edit)();
    };
    static constexpr EditRow kEdits[] = {
        {"macro_btn_up", &CMacroControlUI::MoveUp},
        {"macro_btn_down", &CMacroControlUI::MoveDown},
        {"macro_btn_uptop", &CMacroControlUI::MoveToTop},
        {"macro_btn_downbottom", &CMacroControlUI::MoveToBottom},
        {"macro_btn_delete", &CMacroControlUI::DeleteEvent},
        {"macro_btn_deleteall", &CMacroControlUI::DeleteAllEvents},
    };
    for (const EditRow& row : kEdits) {
        if (Is(name, row.name)) {
            if (macros != nullptr) {
                ListEdited((macros->*row.edit)());
            }
            return true;
        }
    }
    if (Is(name, "macro_btn_starredio")) {
        if (macros != nullptr) {
            StartRecording(macros->CheckedTiming(), dev::kHookRecord);
        }
    } else if (Is(name, "macro_btn_stopredio")) {
        StopRecording();
    } else if (Is(name, "macro_btn_save")) {
        if (macros != nullptr) {
            macros->SaveEvents();
        }
    } else if (Is(name, "macro_btn_cancel")) {
        if (macros != nullptr) {
            macros->ReloadEvents();
        }
    } else if (Is(name, "macro_btn_name_add")) {
        NewMacro();
    } else if (Is(name, "macro_btn_name_edit")) {
        RenameMacro();
    } else if (Is(name, "macro_btn_name_sub")) {
        DeleteMacro();
    } else if (Is(name, "macro_btn_import")) {
        ImportMacro();
    } else if (Is(name, "macro_btn_export")) {
        ExportMacro();
    } else {
        return false;
    }
    return true;
}

bool KeyMacroActions::OnRecoilClick(const QString& name) {
    pages::CKeyMacroPanels* panels = Panels();
    editors::CShootControlUI* recoil = panels != nullptr ? panels->ShootPanel() : nullptr;
    toolkit::FileDialogOptions options;
    options.defaultExtension = QStringLiteral("shoot");
    options.filter = kShootFilter;
    if (Is(name, "shootdate_save_btn")) {
        // The user asked for this write, so a mouse that did not take the tables is told.
        auto* mouse = qobject_cast<pages::CKestravaMouseDevice*>(Page());
        if (mouse != nullptr && mouse->WriteRecoilTables() != 1) {
            Tell(QT_TRID_NOOP("shoot_write_failed_text"));
        }
    } else if (Is(name, "shootdate_reset_btn")) {
        if (recoil != nullptr) {
            recoil->ResetGun();
        }
    } else if (Is(name, "shootdate_import_btn")) {
        options.title = QStringLiteral("Import");
        options.initialName = QStringLiteral("*.shoot");
        if (recoil == nullptr) {
            return true;
        }
        if (const auto path = toolkit::GetDialogs().OpenFile(&m_window, options);
            path && !path->isEmpty()) {
            recoil->ImportGun(path->toStdString());
        }
    } else if (Is(name, "shootdate_export_btn")) {
        options.title = QStringLiteral("Export");
        if (recoil == nullptr) {
            return true;
        }
        options.initialName = QString::fromStdString(profiles::GunFileName(recoil->SelectedGun()))
                                  .replace(QStringLiteral(".Shoot"), QStringLiteral(".shoot"));
        if (const auto path = toolkit::GetDialogs().SaveFile(&m_window, options);
            path && !path->isEmpty()) {
            recoil->ExportGun(path->toStdString());
        }
    } else if (Is(name, "bullet_selected_prev") || Is(name, "bullet_selected_next")) {
        if (recoil != nullptr) {
            Is(name, "bullet_selected_prev") ? recoil->PreviousBullet() : recoil->NextBullet();
        }
    } else {
        return false;
    }
    return true;
}

bool KeyMacroActions::OnSelect(const QString& prefix, int n, bool checked) {
    pages::CKeyMacroPanels* panels = Panels();
    editors::CShootControlUI* recoil = panels != nullptr ? panels->ShootPanel() : nullptr;
    if (n >= 0 && Is(prefix, "key_ComBox_check_")) {
        if (panels != nullptr && checked) {
            panels->StoreKey();
        }
    } else if (n >= 0 && Is(prefix, "shoot_gun_op_")) {
        if (recoil != nullptr && checked) {
            recoil->SelectGun(n);
            recoil->ShowBullet();
        }
    } else if (n >= 0 && Is(prefix, "bullet_op_")) {
        if (recoil != nullptr && checked) {
            recoil->SelectBullet(n);
        }
    } else if (n >= 0 && Is(prefix, "mouse_key_panel_option_")) {
        if (auto* mouse = qobject_cast<pages::CKestravaMouseDevice*>(Page()); mouse && checked) {
            mouse->SelectKeyPanel(n);
        }
    } else if (n < 0 && (Is(prefix, "bullet_x_check") || Is(prefix, "bullet_y_check"))) {
        if (recoil != nullptr) {
            // A direction is part of the bullet: it is stored as soon as it is chosen.
            recoil->ShowDirectionTexts();
            recoil->StoreBullet();
        }
    } else {
        return false;
    }
    return true;
}

bool KeyMacroActions::OnItem(const QString& name, int row) {
    pages::CKeyMacroPanels* panels = Panels();
    editors::CKeySetControlUI* keys = panels != nullptr ? panels->KeyPanel() : nullptr;
    if (Is(name, "keyset_function_combo")) {
        if (keys != nullptr) {
            keys->OnFunctionChosen(); // only the page changes; nothing is stored yet
        }
        return true;
    }
    for (const char* combo : kKeyCombos) {
        if (Is(name, combo)) {
            if (keys != nullptr) {
                keys->OnRepeatChosen();
                panels->StoreKey();
            }
            return true;
        }
    }
    if (Is(name, "macro_name_list")) {
        if (panels != nullptr && panels->MacroPanel() != nullptr && row >= 0) {
            panels->MacroPanel()->SelectMacro(row);
        }
        return true;
    }
    return false;
}

bool KeyMacroActions::OnKillFocus(const QString& name) {
    pages::CKeyMacroPanels* panels = Panels();
    if (Is(name, "keyset_keyboard_text_edit")) {
        qint64 result = 0;
        m_window.HandleMessage(kInputHookMessage, 0, 0, result);
        return true;
    }
    for (const char* edit : kKeyEdits) {
        if (Is(name, edit)) {
            if (panels != nullptr) {
                panels->StoreKey();
            }
            return true;
        }
    }
    if (Is(name, "bullet_x_eidt") || Is(name, "bullet_y_eidt") || Is(name, "bullet_delay_eidt")) {
        if (panels != nullptr && panels->ShootPanel() != nullptr) {
            panels->ShootPanel()->StoreBullet();
        }
        return true;
    }
    return false;
}

// --- Capture and recording -----------------------------------------------------------------------

void KeyMacroActions::OnCapturedKey(int mode, const dev::KeyInput& key) {
    if (mode == dev::kHookSingleKey) {
        pages::CKeyMacroPanels* panels = Panels();
        if (key.down && panels != nullptr && panels->KeyPanel() != nullptr &&
            panels->KeyPanel()->CaptureKey(key.scan)) {
            panels->StoreKey();
        }
        return;
    }
    if (m_recordingPanels != nullptr && m_recordingPanels->MacroPanel() != nullptr) {
        m_recordingPanels->MacroPanel()->OnRecordedKey(key, NowMs());
    }
}

void KeyMacroActions::OnCapturedMouse(int mode, const dev::MouseInput& mouse) {
    if (!dev::IsRecordingMode(mode) || m_recordingPanels == nullptr) {
        return;
    }
    CMacroControlUI* macros = m_recordingPanels->MacroPanel();
    if (macros == nullptr) {
        return;
    }
    // The capture keeps every click to itself, so a click on the stop button ends the recording
    // here.
    if (mouse.button == dev::MouseButton::Left && !mouse.down &&
        macros->StopButtonRect().contains(mouse.x, mouse.y)) {
        StopRecording();
        return;
    }
    macros->OnRecordedMouse(mouse, NowMs());
}

void KeyMacroActions::StartRecording(dev::MacroTiming timing, int mode) {
    pages::CKeyMacroPanels* panels = Panels();
    CMacroControlUI* macros = panels != nullptr ? panels->MacroPanel() : nullptr;
    if (macros == nullptr || macros->SelectedMacro() < 0 || macros->IsRecording()) {
        return;
    }
    if (mode != dev::kHookRecord && !macros->Events().HasSelection()) {
        return; // recording by the selection needs one
    }
    macros->StartRecording(timing, mode, NowMs());
    m_recordingPanels = panels;
    m_hook->Install(mode);
    EnableSelection(false);
}

void KeyMacroActions::StopRecording() {
    if (m_recordingPanels == nullptr) {
        return;
    }
    pages::CKeyMacroPanels* panels = m_recordingPanels;
    m_recordingPanels = nullptr;
    m_hook->Remove();
    if (panels->MacroPanel() != nullptr) {
        panels->MacroPanel()->StopRecording();
    }
    EnableSelection(true);
    ListEdited(true);
}

bool KeyMacroActions::IsRecording() const {
    return m_recordingPanels != nullptr;
}

void KeyMacroActions::EnableSelection(bool enabled) {
    // While recording, neither another device nor another profile can be chosen.
    if (DevicePages* pages = m_window.Pages()) {
        for (int i = 0; i < pages->PageCount(); ++i) {
            if (pages::CDeviceOptionUI* entry = pages->Entry(i)) {
                entry->setEnabled(enabled);
            }
            if (pages->Page(i) != nullptr && pages->Page(i)->ProfilePanel() != nullptr) {
                pages->Page(i)->ProfilePanel()->setEnabled(enabled);
            }
        }
    }
}

void KeyMacroActions::OnMenuItem(const QString& item) {
    pages::CKeyMacroPanels* panels = Panels();
    CMacroControlUI* macros = panels != nullptr ? panels->MacroPanel() : nullptr;
    if (macros == nullptr) {
        return;
    }
    for (const RecordItem& record : kRecordItems) {
        if (Is(item, record.name)) {
            const dev::MacroTiming timing = record.timing == 0
                                                ? macros->CheckedTiming()
                                                : static_cast<dev::MacroTiming>(record.timing);
            StartRecording(timing, record.mode);
            return;
        }
    }
    for (const ButtonItem& button : kButtonItems) {
        if (!item.startsWith(QLatin1String(button.prefix))) {
            continue;
        }
        const QString press = item.mid(static_cast<qsizetype>(std::strlen(button.prefix)));
        if (Is(press, "down")) {
            ListEdited(macros->InsertButton(button.button, CMacroControlUI::Press::Down));
        } else if (Is(press, "up")) {
            ListEdited(macros->InsertButton(button.button, CMacroControlUI::Press::Up));
        } else if (Is(press, "click")) {
            ListEdited(macros->InsertButton(button.button, CMacroControlUI::Press::Click));
        }
        return;
    }
}

void KeyMacroActions::ListEdited(bool changed) {
    pages::CKeyMacroPanels* panels = Panels();
    if (changed && panels != nullptr && panels->KeyPanel() != nullptr) {
        panels->KeyPanel()->SetEditsPending(true);
    }
}

// --- Library -------------------------------------------------------------------------------------

void KeyMacroActions::NewMacro() {
    pages::CKeyMacroPanels* panels = Panels();
    if (panels == nullptr || panels->MacroPanel() == nullptr ||
        !Confirm(QT_TRID_NOOP("message_text_28"))) {
        return;
    }
    if (panels->MacroPanel()->NewMacro() == CMacroLibrary::kDone) {
        panels->MacroLibraryChanged();
    }
}

void KeyMacroActions::RenameMacro() {
    pages::CKeyMacroPanels* panels = Panels();
    CMacroControlUI* macros = panels != nullptr ? panels->MacroPanel() : nullptr;
    if (macros == nullptr || macros->SelectedMacro() < 0) {
        return;
    }
    const int result = macros->RenameSelected(macros->EditedName().toStdString());
    if (result == CMacroLibrary::kRefused) {
        Tell(QT_TRID_NOOP("message_text_5"));
    } else if (result == CMacroLibrary::kDone) {
        panels->MacroLibraryChanged();
    }
}

void KeyMacroActions::DeleteMacro() {
    pages::CKeyMacroPanels* panels = Panels();
    CMacroControlUI* macros = panels != nullptr ? panels->MacroPanel() : nullptr;
    pages::CKestravaUSBDevice* page = Page();
    if (macros == nullptr || macros->SelectedMacro() < 0 ||
        !Confirm(QT_TRID_NOOP("message_text_4"))) {
        return;
    }
    const int index = macros->SelectedMacro();
    if (panels->ProfileUsesMacro(index) && !Confirm(QT_TRID_NOOP("message_text_2"))) {
        return;
    }
    // Every stored profile of the device gives up the macro, the selected one included.
    std::vector<std::filesystem::path> profiles;
    std::filesystem::path selected;
    if (editors::CDeviceProfileUI* list = page->ProfilePanel()) {
        for (int i = 0; i < list->GetStoredProfileCount(); ++i) {
            profiles.push_back(list->GetStoredProfilePath(i));
        }
        selected = list->GetSelectedProfilePath();
    }
    std::vector<std::filesystem::path> changed;
    if (macros->DeleteSelected(profiles, page->Model().GetDeviceIndex(), &changed) ==
        CMacroLibrary::kDone) {
        TellWriteResult(panels->AfterMacroDeleted(changed, selected));
    }
}

void KeyMacroActions::ImportMacro() {
    pages::CKeyMacroPanels* panels = Panels();
    if (panels == nullptr || panels->MacroPanel() == nullptr) {
        return;
    }
    toolkit::FileDialogOptions options;
    options.title = QStringLiteral("Import");
    options.defaultExtension = QStringLiteral("mac");
    options.initialName = QStringLiteral("*.mac");
    options.filter = kMacroFilter;
    const auto path = toolkit::GetDialogs().OpenFile(&m_window, options);
    if (path && !path->isEmpty() &&
        panels->MacroPanel()->ImportMacro(path->toStdString()) == CMacroLibrary::kDone) {
        panels->MacroLibraryChanged();
    }
}

void KeyMacroActions::ExportMacro() {
    pages::CKeyMacroPanels* panels = Panels();
    CMacroControlUI* macros = panels != nullptr ? panels->MacroPanel() : nullptr;
    if (macros == nullptr || macros->SelectedMacro() < 0) {
        return;
    }
    toolkit::FileDialogOptions options;
    options.title = QStringLiteral("Export");
    options.defaultExtension = QStringLiteral("mac");
    options.initialName = macros->EditedName() + QStringLiteral(".mac");
    options.filter = kMacroFilter;
    if (const auto path = toolkit::GetDialogs().SaveFile(&m_window, options);
        path && !path->isEmpty()) {
        macros->ExportSelected(path->toStdString());
    }
}

} // namespace q407::app
