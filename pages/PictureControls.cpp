#include "pages/PictureControls.h"

#include "pages/CKestravaHS6533Device.h"
#include "pages/CKestravaMouseDevice.h"
#include "pages/CKestravaMousePadDevice.h"

#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QVariant>
#include <QWidget>

namespace q407::pages {
namespace {

class PicturePanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        PlaceChildren();
    }
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        PlaceChildren();
    }

private:
    void PlaceChildren() {
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (const auto centre = PlacedCentre(child, size())) {
                child->move(*centre - QPoint(child->width() / 2, child->height() / 2));
            }
        }
    }
};

// A key or LED of the picture. An LED (a button with a light colour) paints a dot in its colour
// whose opacity is the LED's level; a key paints a thin outline when hovered or selected and its
// text, if any.
class PictureButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
        const QColor light = LightColour(this);
        if (light.isValid()) {
            // A soft halo and a bright core in the LED's colour, as strong as its level.
            QColor halo = light;
            halo.setAlphaF(light.alphaF() * 0.35);
            painter.setPen(Qt::NoPen);
            painter.setBrush(halo);
            painter.drawEllipse(area);
            painter.setBrush(light);
            const qreal inset = area.width() / 5;
            painter.drawEllipse(area.adjusted(inset, inset, -inset, -inset));
            painter.setPen(QPen(QColor(255, 255, 255, 60), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(area.adjusted(area.width() / 4, area.height() / 4,
                                              -area.width() / 4, -area.height() / 4));
            return;
        }
        if (isChecked() || underMouse() || isDown()) {
            painter.setPen(
                QPen(isChecked() ? QColor(0x19, 0xc3, 0xa6) : QColor(255, 255, 255, 140), 1.5));
            painter.setBrush(QColor(0x19, 0xc3, 0xa6, isChecked() ? 60 : 25));
            painter.drawRoundedRect(area, 6, 6);
        }
        if (!text().isEmpty()) {
            painter.setPen(QColor(0xe8, 0xec, 0xef, 200));
            painter.drawText(rect(), Qt::AlignCenter, text());
        }
    }
};

} // namespace

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
        control = new PicturePanel(parent);
        control->setProperty("skinclass", QString::fromLatin1(kSelectPanelClass));
    } else if (className.compare(QLatin1String(kKeyButtonClass), Qt::CaseInsensitive) == 0) {
        auto* button = new PictureButton(parent);
        button->setFlat(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setProperty("skinclass", QString::fromLatin1(kKeyButtonClass));
        control = button;
    }
    return control;
}

std::optional<QPoint> PlacedCentre(const QWidget* control, const QSize& area) {
    if (control == nullptr) {
        return std::nullopt;
    }
    const QStringList parts = control->property("place").toString().split(QLatin1Char(','));
    if (parts.size() != 2) {
        return std::nullopt;
    }
    bool xOk = false;
    bool yOk = false;
    const double x = parts[0].trimmed().toDouble(&xOk);
    const double y = parts[1].trimmed().toDouble(&yOk);
    if (!xOk || !yOk || x < 0 || x > 1 || y < 0 || y > 1) {
        return std::nullopt;
    }
    return QPoint(static_cast<int>(x * area.width() + 0.5),
                  static_cast<int>(y * area.height() + 0.5));
}

QWidget* DevicePageControl(const QString& className, QWidget* parent) {
    if (className.compare(QLatin1String("CKestravaMouseDevice"), Qt::CaseInsensitive) == 0 ||
        className.compare(QLatin1String("KestravaMouseDevice"), Qt::CaseInsensitive) == 0) {
        return new CKestravaMouseDevice(parent);
    }
    if (className.compare(QLatin1String("CKestravaMousePadDevice"), Qt::CaseInsensitive) == 0 ||
        className.compare(QLatin1String("KestravaMousePadDevice"), Qt::CaseInsensitive) == 0) {
        return new CKestravaMousePadDevice(parent);
    }
    if (className.compare(QLatin1String("CKestravaHS6533Device"), Qt::CaseInsensitive) == 0 ||
        className.compare(QLatin1String("KestravaHS6533Device"), Qt::CaseInsensitive) == 0) {
        return new CKestravaHS6533Device(parent);
    }
    return PictureFallbackControl(className, parent);
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

} // namespace q407::pages
