#include "editors/CDeviceProfileUI.h"

#include "profiles/CProfileList.h"
#include "profiles/DeviceKinds.h"
#include "profiles/JsonFile.h"
#include "toolkit/Notify.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <array>
#include <system_error>

namespace q407::editors {
namespace {

using q407::profiles::CProfileList;

// The feature tabs by number; number 8 has no tab.
constexpr std::array<std::pair<int, const char*>, CDeviceProfileUI::kFeatureTabCount> kTabs{{
    {1, "deng_Op_tab"},
    {2, "key_Op_tab"},
    {3, "macro_Op_tab"},
    {4, "system_Op_tab"},
    {5, "cursor_Op_tab"},
    {6, "6533_voice_Op_tab"},
    {7, "magic_Op_tab"},
    {9, "About_Op_tab"},
    {10, "Virtual7.1_Op_tab"},
}};

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CDeviceProfileUI::CDeviceProfileUI(QWidget* parent)
    : CEditorPanel(QStringLiteral("XML/CustomControlXML/DeviceProfile.xml"), parent) {
    if (QComboBox* combo = Combo()) {
        // Rows come only from the list file: typing renames the selected profile, it never adds
        // a row, and no completion rewrites what the user types.
        combo->setInsertPolicy(QComboBox::NoInsert);
        if (QLineEdit* edit = combo->lineEdit()) {
            edit->setCompleter(nullptr);
        }
    }
}

CDeviceProfileUI::~CDeviceProfileUI() = default;

QComboBox* CDeviceProfileUI::Combo() const {
    return Control<QComboBox>(QStringLiteral("device_profile_combo"));
}

void CDeviceProfileUI::MakeList() {
    m_list = std::make_unique<CProfileList>(m_folder, m_defaultFile, m_kind);
}

void CDeviceProfileUI::SetDeviceKind(int kind) {
    m_kind = kind;
    if (m_list != nullptr) {
        const int row = m_list->GetSelectedIndex();
        MakeList();
        if (row >= 0) {
            m_list->SelectProfile(row);
        }
    }
}

void CDeviceProfileUI::SetProfilePaths(const std::filesystem::path& profileFolder,
                                       const std::filesystem::path& defaultProfileFile) {
    m_folder = profileFolder;
    m_defaultFile = defaultProfileFile;
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
    MakeList();
}

int CDeviceProfileUI::InitProfiles() {
    if (m_list == nullptr) {
        return CProfileList::kRefused;
    }
    const int result = m_list->InitProfiles();
    if (Combo() == nullptr) {
        return result;
    }
    SyncRows(-1);
    SelectProfile(m_list->GetStoredSelection());
    ShowFeatureTabsOfKind();
    return result;
}

void CDeviceProfileUI::ShowFeatureTabsOfKind() {
    const auto show = [this](const char* name, bool shown) {
        if (QWidget* tab = Lookup(QLatin1String(name))) {
            tab->setVisible(shown);
        }
    };
    switch (m_kind) {
    case q407::profiles::kKindKeyboard:
        show("cursor_Op_tab", false);
        break;
    case q407::profiles::kKindMousePad:
    case q407::profiles::kKindHeadset:
        for (const char* name : {"cursor_Op_tab", "macro_Op_tab", "system_Op_tab", "key_Op_tab"}) {
            show(name, false);
        }
        if (m_kind == q407::profiles::kKindHeadset) {
            for (const char* name : {"6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"}) {
                show(name, true);
            }
        }
        break;
    default:
        break;
    }
}

void CDeviceProfileUI::SelectFeatureTab(int n) {
    std::array<QAbstractButton*, kFeatureTabCount> tabs{};
    for (std::size_t i = 0; i < kTabs.size(); ++i) {
        tabs[i] = Control<QAbstractButton>(QLatin1String(kTabs[i].second));
        if (tabs[i] == nullptr) {
            return;
        }
    }
    // An exclusive group cannot be left without a selection, so it is opened while the tabs are
    // set; the tabs raise nothing meanwhile.
    QButtonGroup* group = tabs[0]->group();
    const bool exclusive = group != nullptr && group->exclusive();
    if (exclusive) {
        group->setExclusive(false);
    }
    for (std::size_t i = 0; i < kTabs.size(); ++i) {
        const QSignalBlocker blocker(tabs[i]);
        const bool autoExclusive = tabs[i]->autoExclusive();
        tabs[i]->setAutoExclusive(false);
        tabs[i]->setChecked(kTabs[i].first == n);
        tabs[i]->setAutoExclusive(autoExclusive);
    }
    if (exclusive) {
        group->setExclusive(true);
    }
}

int CDeviceProfileUI::GetSelectedFeatureTab() const {
    for (const auto& [number, name] : kTabs) {
        const auto* tab = Control<QAbstractButton>(QLatin1String(name));
        if (tab != nullptr && tab->isChecked()) {
            return number;
        }
    }
    return 0;
}

void CDeviceProfileUI::SyncRows(int row) {
    QComboBox* combo = Combo();
    if (combo == nullptr || m_list == nullptr) {
        return;
    }
    const std::vector<q407::profiles::ProfileRow> rows = m_list->GetRows();
    QLineEdit* edit = combo->lineEdit();
    const QString typed = edit != nullptr ? edit->text() : QString();
    const int cursor = edit != nullptr ? edit->cursorPosition() : 0;

    const QSignalBlocker blocker(combo);
    const int count = static_cast<int>(rows.size());
    while (combo->count() > count) {
        combo->removeItem(combo->count() - 1);
    }
    for (int i = 0; i < count; ++i) {
        const QString name = FromUtf8(rows[static_cast<std::size_t>(i)].name);
        if (i >= combo->count()) {
            AddPlainRow(combo, name);
        } else if (combo->itemText(i) != name) {
            combo->setItemText(i, name);
            combo->setItemData(i, name);
        }
    }
    if (row >= 0 && row < count && combo->currentIndex() != row) {
        combo->setCurrentIndex(row);
    }
    if (edit != nullptr && edit->text() == typed) {
        edit->setCursorPosition(cursor);
    }
}

void CDeviceProfileUI::ReloadProfileCombo() {
    if (Combo() == nullptr || m_list == nullptr) {
        return;
    }
    SyncRows(-1);
    SelectProfile(m_list->GetStoredSelection());
}

void CDeviceProfileUI::RefreshSelectedUUID() {
    if (m_list != nullptr) {
        m_list->RefreshSelectedUUID();
    }
}

int CDeviceProfileUI::SelectProfile(int row) {
    QComboBox* combo = Combo();
    if (combo == nullptr || m_list == nullptr || row < 0 || row >= combo->count()) {
        return CProfileList::kRefused;
    }
    {
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(row);
    }
    SetProfileNameText(combo->itemText(row));
    return m_list->SelectProfile(row);
}

int CDeviceProfileUI::GetSelectedIndex() const {
    const QComboBox* combo = Combo();
    return combo != nullptr ? combo->currentIndex() : -1;
}

int CDeviceProfileUI::GetProfileItemCount() const {
    const QComboBox* combo = Combo();
    return combo != nullptr ? combo->count() : -1;
}

QString CDeviceProfileUI::GetComboEditText() const {
    const QComboBox* combo = Combo();
    return combo != nullptr ? combo->currentText() : QString();
}

void CDeviceProfileUI::SetProfileNameText(const QString& text) {
    // A profile name is shown as it is, never looked up as a text id.
    QWidget* control = Lookup(QStringLiteral("device_profile_name_edit"));
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
}

void CDeviceProfileUI::ShowProfileMenu(bool show) {
    if (QWidget* menu = Lookup(QStringLiteral("profile_menu_layout"))) {
        menu->setVisible(show);
    }
}

bool CDeviceProfileUI::IsProfileMenuVisible() const {
    const QWidget* menu = Lookup(QStringLiteral("profile_menu_layout"));
    return menu != nullptr && !menu->isHidden();
}

int CDeviceProfileUI::GetStoredProfileCount() {
    return m_list != nullptr ? m_list->GetStoredProfileCount() : 0;
}

std::filesystem::path CDeviceProfileUI::GetStoredProfilePath(int index) const {
    return m_list != nullptr ? m_list->GetStoredProfilePath(index) : std::filesystem::path();
}

std::string CDeviceProfileUI::GetSelectedUUID() const {
    return m_list != nullptr ? m_list->GetSelectedUUID() : std::string();
}

std::filesystem::path CDeviceProfileUI::GetSelectedProfilePath() const {
    return m_list != nullptr ? m_list->ProfilePathOf(m_list->GetSelectedUUID())
                             : std::filesystem::path();
}

int CDeviceProfileUI::AddProfile() {
    if (Combo() == nullptr || m_list == nullptr) {
        return CProfileList::kRefused;
    }
    const int result = m_list->AddProfile();
    SyncRows(GetSelectedIndex());
    return result;
}

int CDeviceProfileUI::CopyProfile() {
    if (!FollowCombo()) {
        return CProfileList::kRefused;
    }
    const int result = m_list->CopyProfile();
    SyncRows(GetSelectedIndex());
    return result;
}

int CDeviceProfileUI::DeleteProfile() {
    QComboBox* combo = Combo();
    if (combo == nullptr || combo->count() <= 1 || !FollowCombo()) {
        return CProfileList::kRefused;
    }
    const int deleted = combo->currentIndex();
    const int result = m_list->DeleteProfile();
    if (result != CProfileList::kDone) {
        SyncRows(deleted);
        return result;
    }
    const int next = m_list->GetSelectedIndex();
    SyncRows(next);
    SetProfileNameText(combo->itemText(next));
    // The selected profile is gone: whoever applies selections must load the new one, even
    // when its row number equals the deleted one's.
    toolkit::SendNotify(combo, QStringLiteral("itemselect"), next, deleted);
    return result;
}

int CDeviceProfileUI::ImportProfile(const std::filesystem::path& path) {
    if (Combo() == nullptr || m_list == nullptr) {
        return CProfileList::kRefused;
    }
    const int result = m_list->ImportProfile(path);
    SyncRows(GetSelectedIndex());
    return result;
}

int CDeviceProfileUI::ExportProfile(const std::filesystem::path& path) {
    return FollowCombo() ? m_list->ExportProfile(path) : CProfileList::kRefused;
}

int CDeviceProfileUI::RenameProfile(const QString& name) {
    if (name.trimmed().isEmpty()) {
        return CProfileList::kBlankName;
    }
    if (!FollowCombo()) {
        return CProfileList::kRefused;
    }
    const int row = GetSelectedIndex();
    const int result = m_list->RenameProfile(name.toStdString());
    SyncRows(row);
    if (result == CProfileList::kDone) {
        SetProfileNameText(name);
    }
    return result;
}

int CDeviceProfileUI::ResetProfileFile() {
    return FollowCombo() ? m_list->ResetProfileFile() : CProfileList::kRefused;
}

bool CDeviceProfileUI::FollowCombo() {
    const int row = GetSelectedIndex();
    if (m_list == nullptr || row < 0) {
        return false;
    }
    return m_list->GetSelectedIndex() == row || m_list->SelectProfile(row) == CProfileList::kDone;
}

bool ImportableProfileFile(const std::filesystem::path& path) {
    using q407::profiles::Member;
    const Json::Value document = q407::profiles::ReadJsonFile(path);
    return document.isObject() && !Member(document, "profilename").isNull() &&
           !Member(document, "profileUUID").isNull();
}

} // namespace q407::editors
