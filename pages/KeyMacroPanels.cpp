#include "pages/KeyMacroPanels.h"

#include "editors/CKeySetControlUI.h"
#include "editors/CMacroControlUI.h"
#include "editors/CShootControlUI.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"

#include <algorithm>

namespace q407::pages {
namespace {

namespace dev = q407::devices;

template <typename Panel>
Panel* FindPanel(QWidget* page, const char* name) {
    return qobject_cast<Panel*>(toolkit::FindSubControlByName(page, QString::fromLatin1(name)));
}

dev::KeyFunctionCode CodeOf(const profiles::KeyFunctionBytes& bytes) {
    return {bytes[0], bytes[1], bytes[2]};
}

} // namespace

KeyTextChoice ChooseKeyText(const dev::KeyFunctionCode& code,
                            std::span<const std::string> macroNames) {
    const dev::KeyText text = dev::KeyFunctionText(code, macroNames);
    switch (text.kind) {
    case dev::KeyText::Kind::Keep:
        return {true, {}};
    case dev::KeyText::Kind::Plain:
        return {false, text.parts.empty() ? QString() : QString::fromStdString(text.parts[0])};
    case dev::KeyText::Kind::TextIds:
        break;
    }
    QStringList parts;
    for (const std::string& id : text.parts) {
        parts.append(toolkit::ResourceManager::Instance().Text(QString::fromStdString(id)));
    }
    return {false, parts.join(QLatin1Char('+'))};
}

void CKeyMacroPanels::Bind(QWidget* page, dev::DeviceModel& model, dev::KeyAssignmentDevice& keys,
                           int kind, PageHooks hooks) {
    m_model = &model;
    m_keys = &keys;
    m_hooks = std::move(hooks);
    m_keyPanel = FindPanel<editors::CKeySetControlUI>(page, "KeySetControlItem");
    m_macroPanel = FindPanel<editors::CMacroControlUI>(page, "MacroControlItem");
    m_shootPanel = FindPanel<editors::CShootControlUI>(page, "ShootControlItem");
    const std::filesystem::path folder = model.GetProfileFolder();
    if (m_macroPanel != nullptr) {
        m_macroPanel->SetMacroFolder(folder);
    }
    if (m_keyPanel != nullptr) {
        m_keyPanel->SetDeviceKind(kind);
        m_keyPanel->SetMacroNames(MacroNames());
        m_keyPanel->ShowPanel(false);
    }
    if (m_shootPanel != nullptr && !folder.empty()) {
        m_shootPanel->SetFolders(folder, model.GetDefaultFolder());
    }
}

editors::CKeySetControlUI* CKeyMacroPanels::KeyPanel() const {
    return m_keyPanel;
}

editors::CMacroControlUI* CKeyMacroPanels::MacroPanel() const {
    return m_macroPanel;
}

editors::CShootControlUI* CKeyMacroPanels::ShootPanel() const {
    return m_shootPanel;
}

std::vector<std::string> CKeyMacroPanels::MacroNames() const {
    if (m_macroPanel != nullptr) {
        return m_macroPanel->MacroNames();
    }
    std::vector<std::string> names;
    if (m_model != nullptr && !m_model->GetProfileFolder().empty()) {
        for (const profiles::MacroInfo& macro :
             profiles::CMacroLibrary(m_model->GetProfileFolder()).Load()) {
            names.push_back(macro.name);
        }
    }
    return names;
}

// --- Keys ----------------------------------------------------------------------------------------

void CKeyMacroPanels::SelectKey(int key) {
    if (m_model == nullptr) {
        return;
    }
    m_selectedKey = key;
    m_model->SelectKey(key);
    if (m_hooks.markKeys) {
        m_hooks.markKeys(key);
    }
    ShowSelectedKey();
}

void CKeyMacroPanels::ShowSelectedKey() {
    if (m_keyPanel == nullptr || m_keys == nullptr) {
        return;
    }
    const std::vector<profiles::KeyAssignmentEntry> list = m_keys->GetKeyList();
    if (m_selectedKey < 0 || static_cast<std::size_t>(m_selectedKey) >= list.size()) {
        m_keyPanel->ShowPanel(false);
        return;
    }
    const profiles::KeyAssignmentEntry& entry = list[static_cast<std::size_t>(m_selectedKey)];
    m_keyPanel->ShowKey(m_selectedKey, CodeOf(entry.assignment), CodeOf(entry.defaultAssignment));
    m_keyPanel->SetEditsPending(false);
}

bool CKeyMacroPanels::StoreKey() {
    if (m_keyPanel == nullptr || m_selectedKey < 0) {
        return false;
    }
    return StoreKey(m_selectedKey, m_keyPanel->Encode());
}

bool CKeyMacroPanels::StoreKey(int key, const dev::KeyFunctionCode& code) {
    if (m_keys == nullptr || !m_keys->SetKeyFunction(key, dev::KeyFunctionToValue(code))) {
        return false;
    }
    if (m_hooks.showKeyTexts) {
        m_hooks.showKeyTexts();
    }
    if (m_keyPanel != nullptr && key == m_selectedKey) {
        if (m_keyPanel->Encode() != code) {
            ShowSelectedKey(); // changed from elsewhere: the panel shows what is stored
        }
        m_keyPanel->SetEditsPending(true);
    }
    return true;
}

std::vector<profiles::KeyAssignmentEntry> CKeyMacroPanels::KeyList() const {
    return m_keys != nullptr ? m_keys->GetKeyList() : std::vector<profiles::KeyAssignmentEntry>{};
}

void CKeyMacroPanels::CancelKey() {
    ShowSelectedKey();
}

int CKeyMacroPanels::DefaultKey() {
    if (m_keyPanel == nullptr || m_selectedKey < 0) {
        return 0;
    }
    m_keyPanel->ShowDefault();
    StoreKey();
    const int result = WriteKeys();
    m_keyPanel->SetEditsPending(true);
    return result;
}

int CKeyMacroPanels::WriteKeys() {
    if (m_keys == nullptr) {
        return 0;
    }
    const int result = m_keys->WriteKeysToDevice();
    if (m_hooks.markKeys) {
        m_hooks.markKeys(m_selectedKey);
    }
    if (m_keyPanel != nullptr) {
        m_keyPanel->SetEditsPending(false);
    }
    return result;
}

// --- Macros --------------------------------------------------------------------------------------

void CKeyMacroPanels::MacroLibraryChanged() {
    if (m_keyPanel != nullptr) {
        m_keyPanel->SetMacroNames(MacroNames());
        if (m_keyPanel->IsPanelShown()) {
            ShowSelectedKey();
        }
    }
    if (m_hooks.showKeyTexts) {
        m_hooks.showKeyTexts();
    }
}

bool CKeyMacroPanels::ProfileUsesMacro(int index) const {
    if (m_keys == nullptr) {
        return false;
    }
    const std::vector<profiles::KeyAssignmentEntry> list = m_keys->GetKeyList();
    return std::any_of(list.begin(), list.end(), [index](const profiles::KeyAssignmentEntry& key) {
        const dev::KeyFunctionCode code = CodeOf(key.assignment);
        return (code.category == dev::category::kMacro ||
                code.category == dev::category::kMacroTimes) &&
               code.param1 == index;
    });
}

int CKeyMacroPanels::AfterMacroDeleted(const std::vector<std::filesystem::path>& changedProfiles,
                                       const std::filesystem::path& selectedProfile) {
    const bool selectedChanged = std::find(changedProfiles.begin(), changedProfiles.end(),
                                           selectedProfile) != changedProfiles.end();
    int result = 0;
    if (selectedChanged && m_keys != nullptr) {
        m_keys->ReloadKeys();
        result = WriteKeys();
    }
    MacroLibraryChanged();
    return result;
}

} // namespace q407::pages
