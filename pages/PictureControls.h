#pragma once

// How the page side recognises the controls of a device picture and colours its light buttons.
//
// A control's skin class is its "skinclass" property when it has one, else its C++ class name
// without the "C" prefix and "UI" suffix ("CDeviceKeyButtonUI" -> "DeviceKeyButton"). The
// picture controls proper (key buttons, selection panel) are built with the feature editors;
// until a layout's class is registered, PictureFallbackControl stands in for it, tagged with its
// skin class, so pages bind and preview the same way.
//
// A light button shows an LED through its "lightcolor" property (a QColor whose alpha is the
// LED's level); the button control paints it as a glowing dot.
//
// A picture panel places each child that has a "place" property ("x,y": the child's centre as
// fractions of the panel's width and height) whenever the panel's size changes, so a drawn
// device picture keeps its buttons on the right spots at every DPI.

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>

class QWidget;

namespace q407::pages {

inline constexpr char kSelectPanelClass[] = "SelectPanel";
inline constexpr char kKeyButtonClass[] = "DeviceKeyButton";

QString SkinClassOf(const QWidget* control);

// A stand-in for "SelectPanel" (a plain container) and "DeviceKeyButton" (a flat push button);
// nullptr for any other class. Suits a toolkit builder callback.
QWidget* PictureFallbackControl(const QString& className, QWidget* parent);

// The centre of a "place" property within `area`; nullopt when the property is absent or
// malformed (it then keeps its position).
std::optional<QPoint> PlacedCentre(const QWidget* control, const QSize& area);

// The builder callback of device layouts: the page classes the control factory does not make
// (the mouse, mouse pad and headset pages, named "CKestravaMouseDevice" or
// "KestravaMouseDevice" and so on), then the picture stand-ins; nullptr for any other class.
QWidget* DevicePageControl(const QString& className, QWidget* parent);

void SetLightColour(QWidget* button, const QColor& colour);
QColor LightColour(const QWidget* button);

} // namespace q407::pages
