#include "pages/CMpDevicePowerUI.h"

#include "devices/PageEventTable.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinAttributes.h"
#include "toolkit/SkinLoader.h"

#include <QProgressBar>

namespace q407::pages {
namespace {

QString Image(const char* file) {
    return QStringLiteral("file='power/%1.png'").arg(QLatin1String(file));
}

} // namespace

CMpDevicePowerUI::CMpDevicePowerUI(QWidget* parent) : QWidget(parent) {}

void CMpDevicePowerUI::SetImage(const char* control, const QString& image) {
    if (QWidget* target = toolkit::FindSubControlByName(this, QLatin1String(control))) {
        toolkit::SetAttribute(target, QStringLiteral("bkimage"), image);
    }
}

void CMpDevicePowerUI::SetVisible(const char* control, bool visible) {
    if (QWidget* target = toolkit::FindSubControlByName(this, QLatin1String(control))) {
        target->setVisible(visible);
    }
}

void CMpDevicePowerUI::SetPowerState(std::span<const std::uint8_t> state, int kind) {
    if (state.size() < kStateSize) {
        return;
    }
    std::copy_n(state.begin(), kStateSize, m_state.begin());
    // A level above 100 is a reading fault; show it as full rather than past the bar's end.
    const int level = std::min<int>(state[0], 100);
    if (auto* progress = qobject_cast<QProgressBar*>(
            toolkit::FindSubControlByName(this, QStringLiteral("device_Power_progress")))) {
        progress->setRange(0, 100);
        progress->setValue(level);
    }
    if (QWidget* value =
            toolkit::FindSubControlByName(this, QStringLiteral("device_power_value"))) {
        toolkit::SetControlText(value, QStringLiteral("%1%2").arg(level).arg(QLatin1Char('%')));
    }

    const bool wireless = state[3] != 0;
    SetVisible("device_wuxian_logo_text", wireless);
    SetVisible("device_youxian_logo_text", !wireless);
    if (kind == q407::devices::kKindMouse || kind == q407::devices::kKindKeyboard) {
        SetImage("device_wuxian_logo", Image(wireless ? "WIFI_down" : "WIFI_normal"));
    }

    switch (state[1]) {
    case 0:
        SetImage("device_power_status", Image("powering"));
        SetImage("device_powering_status", Image("light"));
        break;
    case 1:
        SetImage("device_power_status", Image("powering_down"));
        SetImage("device_powering_status", Image("powering_down"));
        break;
    case 2:
        SetImage("device_power_status", Image("power"));
        SetImage("device_powering_status", Image("power"));
        break;
    default:
        break;
    }

    if (kind == q407::devices::kKindMousePad) {
        static constexpr const char* kPhones[] = {
            QT_TRID_NOOP("Phone_type_no_device"), QT_TRID_NOOP("Phone_type_iphone"),
            QT_TRID_NOOP("Phone_type_samsung"), QT_TRID_NOOP("Phone_type_other")};
        const char* phone = state[5] <= 3 ? kPhones[state[5]] : kPhones[0];
        if (QWidget* picture =
                toolkit::FindSubControlByName(this, QStringLiteral("device_phone_type"))) {
            // The picture says it; its name is the tool tip (re-texted with the language).
            picture->setProperty("tiptextid", QString::fromLatin1(phone));
            picture->setToolTip(toolkit::ResourceManager::Instance().Text(QLatin1String(phone)));
            toolkit::SetAttribute(picture, QStringLiteral("bkimage"), Image(phone));
            picture->setVisible(true);
        }
    }
}

} // namespace q407::pages
