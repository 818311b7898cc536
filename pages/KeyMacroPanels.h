#pragma once

// What mouse and keyboard pages share about their key assignment, macro and recoil panels
// ("KeySetControlItem", "MacroControlItem", "ShootControlItem"): finding and setting them up,
// showing the selected key, storing and writing key functions, and keeping the key panel's macro
// names in step with the macro library. The page supplies its model's key side and how it shows
// its keys' texts and marks.

#include "devices/DeviceModel.h"
#include "devices/KeyAssignmentDevice.h"
#include "devices/KeyFunctions.h"

#include <QPointer>
#include <QString>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

class QWidget;

namespace q407::editors {
class CKeySetControlUI;
class CMacroControlUI;
class CShootControlUI;
} // namespace q407::editors

namespace q407::pages {

// The text a key shows for its function in the current language: text ids translated and
// joined with "+", a macro's name as it is. `keep` when the key keeps the text it has.
struct KeyTextChoice {
    bool keep = false;
    QString text;
};
KeyTextChoice ChooseKeyText(const q407::devices::KeyFunctionCode& code,
                            std::span<const std::string> macroNames);

class CKeyMacroPanels {
public:
    // How the page shows its keys: their texts (after any change of a function or of the macro
    // names) and their marks (changed from the default, selected).
    struct PageHooks {
        std::function<void()> showKeyTexts;
        std::function<void(int selectedKey)> markKeys;
    };

    // Finds the panels below `page` and sets them up: the key panel for `kind` with the macro
    // names, hidden until a key is selected; the macro panel on the device folder; the recoil
    // panel (mouse pages) on the device folder and the default data folder.
    void Bind(QWidget* page, q407::devices::DeviceModel& model,
              q407::devices::KeyAssignmentDevice& keys, int kind, PageHooks hooks);

    // The panels; nullptr where the page's layout has none.
    editors::CKeySetControlUI* KeyPanel() const;
    editors::CMacroControlUI* MacroPanel() const;
    editors::CShootControlUI* ShootPanel() const;

    // The macro library's names, in library order.
    std::vector<std::string> MacroNames() const;

    // --- Keys ------------------------------------------------------------------------------------
    // Key `key` chosen on the picture: remembered, marked, and shown in the key panel.
    void SelectKey(int key);
    int SelectedKey() const { return m_selectedKey; }
    // The key panel's function becomes the selected key's (stored in the profile, saved); the
    // key texts follow and edits are pending. False without a selected key.
    bool StoreKey();
    // Key `key` gets `code` as StoreKey gives it the panel's function (the device API's way in).
    // False for a key the list lacks.
    bool StoreKey(int key, const q407::devices::KeyFunctionCode& code);
    // The current and default function of every key of the selected profile.
    std::vector<profiles::KeyAssignmentEntry> KeyList() const;
    // The key panel shows the selected key's stored function again; nothing is pending.
    void CancelKey();
    // The selected key's default function is stored and written; its result as WriteKeys.
    int DefaultKey();
    // The keys and the macros they use go to the device (KeyAssignmentDevice::WriteKeysToDevice);
    // then the marks are refreshed and nothing is pending.
    int WriteKeys();

    // --- Macros
    // ------------------------------------------------------------------------------------ The
    // library changed: the key panel's macro combo and the key texts follow it.
    void MacroLibraryChanged();
    // Whether a key of the selected profile is bound to macro `index`.
    bool ProfileUsesMacro(int index) const;
    // After a deletion rewrote profile files: reloads the keys when the selected profile was
    // among them and writes them to the device; the write's result, or 0 when nothing changed.
    int AfterMacroDeleted(const std::vector<std::filesystem::path>& changedProfiles,
                          const std::filesystem::path& selectedProfile);

private:
    void ShowSelectedKey();

    q407::devices::DeviceModel* m_model = nullptr;
    q407::devices::KeyAssignmentDevice* m_keys = nullptr;
    PageHooks m_hooks;
    QPointer<editors::CKeySetControlUI> m_keyPanel;
    QPointer<editors::CMacroControlUI> m_macroPanel;
    QPointer<editors::CShootControlUI> m_shootPanel;
    int m_selectedKey = -1;
};

// A page that has these panels (the mouse and keyboard pages).
class IKeyMacroPage {
public:
    virtual ~IKeyMacroPage() = default;
    virtual CKeyMacroPanels& Panels() = 0;
};

} // namespace q407::pages
