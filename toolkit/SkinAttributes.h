#pragma once

// Skin attributes of controls: images in the toolkit's description syntax and colours.
//
// An image description is either a plain file name ("common/close.png") or attributes in single
// quotes: "file='power/WIFI_down.png' source='0,0,24,24' dest='2,2,26,26' fade='128'
// mask='0xffff00ff'". Files are relative to the skin folder. `source` picks a part of the image,
// `dest` a part of the control, `fade` is the opacity 0-255, `mask` a colour drawn transparent.
//
// Attributes a layout sets as dynamic properties, or code sets with SetAttribute:
//   "normalimage", "hotimage" (under the mouse), "pushedimage", "selectedimage" (checked),
//   "disabledimage", "bkimage", "foreimage", "bkcolor" (0xAARRGGBB or #AARRGGBB), "text",
//   "font" (font id; kept as the property "fontid"), "visible" ("true"/"false"), "virtualwnd".

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <optional>

class QPainter;
class QWidget;

namespace q407::toolkit {

struct ImageDescription {
    QString file;
    std::optional<QRect> source;
    std::optional<QRect> dest;
    int fade = 255;
    std::optional<QColor> mask;

    bool IsEmpty() const { return file.isEmpty(); }
};

// Parses an image description; an empty or unparsable one gives an empty description.
ImageDescription ParseImageDescription(const QString& text);
// Parses "0xAARRGGBB", "#AARRGGBB" or "#RRGGBB"; nullopt when it is none of those.
std::optional<QColor> ParseColor(const QString& text);

// Sets one attribute on a control. Returns false for an unknown attribute name.
bool SetAttribute(QWidget* control, const QString& name, const QString& value);

// Applies the attributes a freshly loaded tree carries as dynamic properties.
void ApplySkinAttributes(QWidget* root);

// Draws an image description into `area` (its "dest" is taken relative to `area`); nothing for
// an empty description or a missing file. Scaled pictures are cached.
void DrawSkinImage(QPainter& painter, const QRect& area, const QString& description);
// The image of a description scaled to `size`, its every pixel in `colour` with the image's own
// shape (alpha) times `colour`'s alpha: how a white light shape shows an LED. Null when there is
// no such image.
QImage TintedSkinImage(const QString& description, const QSize& size, const QColor& colour);

} // namespace q407::toolkit
