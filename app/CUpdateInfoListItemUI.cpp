#include "app/CUpdateInfoListItemUI.h"

#include "toolkit/Notify.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinAttributes.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <array>

namespace q407::app {
namespace {

struct StateLook {
    const char* textId;
    bool progress;
    bool done;
    bool checkEnabled;
    QRgb textColor;
    QRgb disabledTextColor;
};

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kGrey = 0xFF666666;
constexpr QRgb kBlue = 0xFF0099FF;
constexpr QRgb kDarkBlue = 0xFF0078C8;

constexpr std::array<StateLook, 9> kStates{{
    {QT_TRID_NOOP("LessUpdateText"), false, false, false, kWhite, kGrey},
    {QT_TRID_NOOP("NeedUpdateText"), false, false, true, kBlue, kDarkBlue},
    {QT_TRID_NOOP("NeedUpdateText"), false, false, true, kBlue, kDarkBlue},
    {QT_TRID_NOOP("DownloadWaitText"), false, false, false, kBlue, kDarkBlue},
    {QT_TRID_NOOP("DownloadIngText"), true, false, false, kBlue, kDarkBlue},
    {QT_TRID_NOOP("DownloadOkText"), false, true, false, kBlue, kDarkBlue},
    {QT_TRID_NOOP("UpdateIngText"), true, false, false, kBlue, kDarkBlue},
    {QT_TRID_NOOP("UpdateOkText"), false, false, false, kWhite, kGrey},
    {QT_TRID_NOOP("UpdateFailText"), false, false, true, kBlue, kDarkBlue},
}};

const QColor kDefaultHotBorder(0x2b, 0x8f, 0xd6);

void ShowPlainText(QWidget* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setProperty("textid", QVariant()); // server texts are never taken as text ids
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setProperty("textid", QVariant());
        button->setText(text);
    }
}

} // namespace

CUpdateInfoListItemUI::CUpdateInfoListItemUI(QWidget* parent) : QFrame(parent) {
    setAttribute(Qt::WA_Hover, true);
}

QAbstractButton* CUpdateInfoListItemUI::Check() const {
    return findChild<QAbstractButton*>(QStringLiteral("check_name_select"));
}

QLabel* CUpdateInfoListItemUI::Label(const char* name) const {
    return findChild<QLabel*>(QString::fromLatin1(name));
}

void CUpdateInfoListItemUI::SetState(int state) {
    if (state == m_state || state < 0 || state >= static_cast<int>(kStates.size())) {
        return;
    }
    m_state = state;
    const StateLook& look = kStates[static_cast<std::size_t>(state)];
    toolkit::SetControlText(Label("update_status_text"), QString::fromLatin1(look.textId));
    if (auto* bar = findChild<QWidget*>(QStringLiteral("update_status_ing"))) {
        bar->setVisible(look.progress);
    }
    if (QLabel* value = Label("update_progress_value")) {
        value->setVisible(look.progress);
    }
    SetPercent(0);
    if (QLabel* ok = Label("update_status_ok")) {
        ok->setVisible(look.done);
    }
    SetCheckEnabled(look.checkEnabled);
    m_textColor = QColor::fromRgba(look.textColor);
    m_disabledTextColor = QColor::fromRgba(look.disabledTextColor);
    ApplyCheckColors();
}

void CUpdateInfoListItemUI::SetPercent(int percent) {
    ShowPlainText(Label("update_progress_value"),
                  QStringLiteral("%1%2").arg(percent).arg(QLatin1Char('%')));
    if (auto* bar = findChild<QProgressBar*>(QStringLiteral("update_status_ing"))) {
        bar->setValue(std::clamp(percent, 0, 100));
    }
}

void CUpdateInfoListItemUI::SetName(const QString& name) {
    ShowPlainText(Check(), name);
}

void CUpdateInfoListItemUI::SetInstalledVersion(const QString& text) {
    ShowPlainText(Label("OldRev"), text);
}

void CUpdateInfoListItemUI::SetNewestVersion(const QString& text) {
    if (QLabel* newest = Label("updateRev")) {
        // Hidden, it keeps its column so the state stays under its heading.
        QSizePolicy policy = newest->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        newest->setSizePolicy(policy);
        ShowPlainText(newest, text);
        newest->setVisible(!text.isEmpty());
    }
}

void CUpdateInfoListItemUI::SetCheckEnabled(bool enabled) {
    if (QAbstractButton* check = Check()) {
        check->setEnabled(enabled);
    }
}

void CUpdateInfoListItemUI::SetTicked(bool ticked) {
    if (QAbstractButton* check = Check(); check != nullptr && check->isChecked() != ticked) {
        check->setChecked(ticked);
        update();
    }
}

bool CUpdateInfoListItemUI::Ticked() const {
    const QAbstractButton* check = Check();
    return check != nullptr && check->isChecked();
}

void CUpdateInfoListItemUI::ApplyCheckColors() {
    if (QAbstractButton* check = Check()) {
        check->setStyleSheet(
            QStringLiteral("QCheckBox { color: %1; } QCheckBox:checked { color: "
                           "%1; } QCheckBox:disabled { color: %2; }")
                .arg(m_textColor.name(QColor::HexArgb), m_disabledTextColor.name(QColor::HexArgb)));
    }
}

void CUpdateInfoListItemUI::enterEvent(QEnterEvent* event) {
    m_hot = true;
    update();
    QFrame::enterEvent(event);
}

void CUpdateInfoListItemUI::leaveEvent(QEvent* event) {
    m_hot = false;
    update();
    QFrame::leaveEvent(event);
}

void CUpdateInfoListItemUI::mouseDoubleClickEvent(QMouseEvent* event) {
    toolkit::SendNotify(this, QStringLiteral("itemactivate"));
    QFrame::mouseDoubleClickEvent(event);
}

void CUpdateInfoListItemUI::contextMenuEvent(QContextMenuEvent* event) {
    if (m_contextMenu) {
        toolkit::SendNotify(this, QStringLiteral("menu"), event->globalPos().x(),
                            event->globalPos().y());
    }
}

void CUpdateInfoListItemUI::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!m_hot || Ticked()) {
        return;
    }
    // The list decides the frame colour of its hot items ("itemhotbordercolor").
    QColor border = kDefaultHotBorder;
    for (const QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        const QVariant value = w->property("itemhotbordercolor");
        if (value.isValid()) {
            if (auto color = toolkit::ParseColor(value.toString())) {
                border = *color;
            }
            break;
        }
    }
    QPainter painter(this);
    painter.setPen(border);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace q407::app
