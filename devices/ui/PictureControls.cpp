#include "devices/ui/PictureControls.h"

#include <QPushButton>
#include <QVariant>
#include <QWidget>

namespace devices_ui {

QString SkinClassOf(const QWidget* control) {
    if (control == nullptr) {
        return {};
    }
    const QVariant tagged = control->property("skinclass");
    if (tagged.isValid()) {
        return tagged.toString();
    }
    QString name = QString::fromLatin1(control->metaObject()->className());
    if (name.size() > 3 && name.startsWith(QLatin1Char('C')) &&
        name.endsWith(QLatin1String("UI"))) {
        name = name.mid(1, name.size() - 3);
    }
    return name;
}

QWidget* PictureFallbackControl(const QString& className, QWidget* parent) {
    QWidget* control = nullptr;
    if (className.compare(QLatin1String(kSelectPanelClass), Qt::CaseInsensitive) == 0) {
        control = new QWidget(parent);
        control->setProperty("skinclass", QString::fromLatin1(kSelectPanelClass));
    } else if (className.compare(QLatin1String(kKeyButtonClass), Qt::CaseInsensitive) == 0) {
        auto* button = new QPushButton(parent);
        button->setFlat(true);
        button->setProperty("skinclass", QString::fromLatin1(kKeyButtonClass));
        control = button;
    }
    return control;
}

void SetLightColour(QWidget* button, const QColor& colour) {
    if (button == nullptr || LightColour(button) == colour) {
        return;
    }
    button->setProperty("lightcolor", colour);
    button->update();
}

QColor LightColour(const QWidget* button) {
    if (button == nullptr) {
        return {};
    }
    return button->property("lightcolor").value<QColor>();
}

} // namespace devices_ui
