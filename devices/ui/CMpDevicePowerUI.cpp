#include "devices/ui/CMpDevicePowerUI.h"

#include "app/toolkit/ResourceManager.h"
#include "app/toolkit/SkinAttributes.h"
#include "app/toolkit/SkinLoader.h"
#include "devices/PageEventTable.h"

#include <QProgressBar>

namespace devices_ui {
namespace {

QString Image(const char* file) {
    return QStringLiteral("file='power/%1.png'").arg(QLatin1String(file));
}

} // namespace

CMpDevicePowerUI::CMpDevicePowerUI(QWidget* parent) : QWidget(parent) {}

void CMpDevicePowerUI::SetImage(const char* control, const QString& image) {
    if (QWidget* target = ui::FindSubControlByName(this, QLatin1String(control))) {
        ui::SetAttribute(target, QStringLiteral("bkimage"), image);
    }
}

void CMpDevicePowerUI::SetVisible(const char* control, bool visible) {
    if (QWidget* target = ui::FindSubControlByName(this, QLatin1String(control))) {
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
            ui::FindSubControlByName(this, QStringLiteral("device_Power_progress")))) {
        progress->setRange(0, 100);
        progress->setValue(level);
    }
    if (QWidget* value = ui::FindSubControlByName(this, QStringLiteral("device_power_value"))) {
        ui::SetControlText(value, QStringLiteral("%1%2").arg(level).arg(QLatin1Char('%')));
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
        static constexpr const char* kPhones[] = {"Phone_type_no_device", "Phone_type_iphone",
                                                  "Phone_type_samsung", "Phone_type_other"};
        const char* phone = state[5] <= 3 ? kPhones[state[5]] : kPhones[0];
        if (QWidget* picture =
                ui::FindSubControlByName(this, QStringLiteral("device_phone_type"))) {
            ui::SetControlText(picture, QLatin1String(phone));
            ui::SetAttribute(picture, QStringLiteral("bkimage"), Image(phone));
        }
    }
}

} // namespace devices_ui
