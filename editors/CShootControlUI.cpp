#include "editors/CShootControlUI.h"

#include "toolkit/ResourceManager.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <algorithm>
#include <tuple>

namespace q407::editors {
namespace {

using profiles::Bullet;
using profiles::RecoilTables;

QString Numbered(const char* prefix, int n) {
    return QString::fromLatin1(prefix) + QString::number(n);
}

// Checked is left for x and up for y.
void ShowDirection(QAbstractButton* check, bool checked, const char* checkedText,
                   const char* clearText) {
    if (check == nullptr) {
        return;
    }
    {
        const QSignalBlocker quiet(check);
        check->setChecked(checked);
    }
    toolkit::SetControlText(check, QString::fromLatin1(checked ? checkedText : clearText));
}

} // namespace

CShootControlUI::CShootControlUI(QWidget* parent)
    : CEditorPanel(QStringLiteral("XML/CustomControlXML/ShootControl.xml"), parent) {}

bool CShootControlUI::IsComplete() const {
    for (const char* name :
         {"shoot_gun_op_0", "shoot_image_display_switch", "bullet_op_0", "bullet_select_index",
          "bullet_selected_prev", "bullet_selected_next", "bullet_edit_layout", "bullet_x_check",
          "bullet_y_check", "bullet_x_eidt", "bullet_y_eidt", "bullet_delay_eidt",
          "shootdate_save_btn", "shootdate_reset_btn", "shootdate_import_btn",
          "shootdate_export_btn"}) {
        if (Control<QWidget>(QString::fromLatin1(name)) == nullptr) {
            return false;
        }
    }
    return true;
}

void CShootControlUI::SetFolders(const std::filesystem::path& folder,
                                 const std::filesystem::path& factoryFolder) {
    m_folder = folder;
    m_factoryFolder = factoryFolder;
    if (!IsComplete() || m_folder.empty()) {
        return;
    }
    Tables().RestoreUnreadable();
    SelectGun(0);
    SelectBullet(0);
}

void CShootControlUI::SelectGun(int gun) {
    m_gun = std::clamp(gun, 0, profiles::kGunCount - 1);
    for (int n = 0; n < profiles::kGunCount; ++n) {
        SetSelected(Control<QAbstractButton>(Numbered("shoot_gun_op_", n)), n == m_gun);
    }
    if (auto* pictures = Control<QStackedWidget>(QStringLiteral("shoot_image_display_switch"))) {
        pictures->setCurrentIndex(std::min(m_gun, pictures->count() - 1));
    }
}

void CShootControlUI::SelectBullet(int bullet) {
    m_bullet = std::clamp(bullet, 0, profiles::kBulletCount - 1);
    for (int n = 0; n < profiles::kBulletCount; ++n) {
        SetSelected(Control<QAbstractButton>(Numbered("bullet_op_", n)), n == m_bullet);
    }
    if (auto* index = Control<QLabel>(QStringLiteral("bullet_select_index"))) {
        index->setText(QString::number(m_bullet + 1));
    }
    ShowBullet();
}

void CShootControlUI::PreviousBullet() {
    SelectBullet(m_bullet - 1);
}

void CShootControlUI::NextBullet() {
    SelectBullet(m_bullet + 1);
}

void CShootControlUI::ShowBullet() {
    if (m_bullet < 0 || m_folder.empty()) {
        return;
    }
    const Bullet bullet = Tables().ReadBullet(m_gun, m_bullet);
    ShowDirection(Control<QAbstractButton>(QStringLiteral("bullet_x_check")), bullet.left,
                  QT_TRID_NOOP("mouse_move_to_left_text"),
                  QT_TRID_NOOP("mouse_move_to_right_text"));
    ShowDirection(Control<QAbstractButton>(QStringLiteral("bullet_y_check")), bullet.up,
                  QT_TRID_NOOP("mouse_move_to_up_text"), QT_TRID_NOOP("mouse_move_to_down_text"));
    for (const auto& [name, value] :
         {std::pair{"bullet_x_eidt", bullet.x}, std::pair{"bullet_y_eidt", bullet.y},
          std::pair{"bullet_delay_eidt", bullet.delay}}) {
        if (auto* edit = Control<QLineEdit>(QString::fromLatin1(name))) {
            const QSignalBlocker quiet(edit);
            edit->setText(QString::number(value));
        }
    }
}

void CShootControlUI::ShowDirectionTexts() {
    for (const auto& [name, checkedText, clearText] :
         {std::tuple{"bullet_x_check", QT_TRID_NOOP("mouse_move_to_left_text"),
                     QT_TRID_NOOP("mouse_move_to_right_text")},
          std::tuple{"bullet_y_check", QT_TRID_NOOP("mouse_move_to_up_text"),
                     QT_TRID_NOOP("mouse_move_to_down_text")}}) {
        auto* check = Control<QAbstractButton>(QString::fromLatin1(name));
        ShowDirection(check, check != nullptr && check->isChecked(), checkedText, clearText);
    }
}

int CShootControlUI::EditNumber(const char* name) const {
    const auto* edit = Control<QLineEdit>(QString::fromLatin1(name));
    if (edit == nullptr) {
        return 0;
    }
    // Numbers of any length are held, not wrapped: 9999999999 is the most, not a small value.
    bool ok = false;
    const qlonglong value = edit->text().trimmed().toLongLong(&ok);
    return ok ? static_cast<int>(std::clamp<qlonglong>(value, -1, profiles::kMaxBulletDelay + 1))
              : 0;
}

int CShootControlUI::StoreBullet() {
    if (m_bullet < 0 || m_folder.empty()) {
        return RecoilTables::kRefused;
    }
    Bullet bullet;
    bullet.x = EditNumber("bullet_x_eidt");
    bullet.y = EditNumber("bullet_y_eidt");
    bullet.delay = EditNumber("bullet_delay_eidt");
    const auto* x = Control<QAbstractButton>(QStringLiteral("bullet_x_check"));
    const auto* y = Control<QAbstractButton>(QStringLiteral("bullet_y_check"));
    bullet.left = x != nullptr && x->isChecked();
    bullet.up = y != nullptr && y->isChecked();
    const int result = Tables().StoreBullet(m_gun, m_bullet, bullet);
    ShowBullet(); // a value beyond the mouse's limits shows as it was stored
    return result;
}

int CShootControlUI::ResetGun() {
    const int result = Tables().ResetGun(m_gun);
    ShowBullet();
    return result;
}

int CShootControlUI::ImportGun(const std::filesystem::path& file) {
    const int result = Tables().ImportGun(m_gun, file);
    ShowBullet();
    return result;
}

int CShootControlUI::ExportGun(const std::filesystem::path& file) const {
    return Tables().ExportGun(m_gun, file);
}

} // namespace q407::editors
