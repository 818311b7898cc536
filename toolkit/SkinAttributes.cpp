#include "toolkit/SkinAttributes.h"

#include "toolkit/ResourceManager.h"

#include <QAbstractButton>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QRegularExpression>
#include <QWidget>

namespace q407::toolkit {
namespace {

const char* const kImageAttributes[] = {"normalimage",   "hotimage", "pushedimage", "selectedimage",
                                        "disabledimage", "bkimage",  "foreimage"};

std::optional<QRect> ParseRect(const QString& text) {
    const auto parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) {
        return std::nullopt;
    }
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    if (values[2] < values[0] || values[3] < values[1]) {
        return std::nullopt;
    }
    return QRect(QPoint(values[0], values[1]), QPoint(values[2] - 1, values[3] - 1));
}

// Skin pictures are kept decoded and scaled: a window's background, a device picture and their
// sizes at two DPIs take more than Qt's default 10 MiB, and a picture pushed out of the cache is
// decoded and scaled again on every repaint of what lies on it.
void EnsurePictureCache() {
    constexpr int kPictureCacheKiB = 64 * 1024;
    if (QPixmapCache::cacheLimit() < kPictureCacheKiB) {
        QPixmapCache::setCacheLimit(kPictureCacheKiB);
    }
}

QPixmap LoadImage(const ImageDescription& image) {
    EnsurePictureCache();
    const QString path = ResourceManager::Instance().ResolveFile(image.file);
    const QString key =
        path + QLatin1Char('|') + (image.mask ? image.mask->name(QColor::HexArgb) : QString());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) {
        return pixmap;
    }
    QImage loaded(path);
    if (loaded.isNull()) {
        return {};
    }
    if (image.mask) {
        loaded = loaded.convertToFormat(QImage::Format_ARGB32);
        const QRgb masked = image.mask->rgb();
        for (int y = 0; y < loaded.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(loaded.scanLine(y));
            for (int x = 0; x < loaded.width(); ++x) {
                if ((line[x] & 0x00FFFFFF) == (masked & 0x00FFFFFF)) {
                    line[x] = 0;
                }
            }
        }
    }
    pixmap = QPixmap::fromImage(loaded);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QPixmap ScaledPixmap(const QString& description, const ImageDescription& image, QSize size,
                     QRect& source) {
    const QPixmap pixmap = LoadImage(image);
    if (pixmap.isNull()) {
        return {};
    }
    source = image.source.value_or(pixmap.rect()).intersected(pixmap.rect());
    if (source.size() == size || size.isEmpty() || source.isEmpty()) {
        return pixmap;
    }
    // Scaled once per size and kept: pictures under animated controls are repainted often.
    const QString key = QStringLiteral("%1|%2,%3,%4,%5|%6x%7")
                            .arg(description)
                            .arg(source.x())
                            .arg(source.y())
                            .arg(source.width())
                            .arg(source.height())
                            .arg(size.width())
                            .arg(size.height());
    QPixmap scaled;
    if (!QPixmapCache::find(key, &scaled)) {
        scaled = pixmap.copy(source).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QPixmapCache::insert(key, scaled);
    }
    source = scaled.rect();
    return scaled;
}

void DrawImage(QPainter& painter, const QWidget* control, const QString& description) {
    DrawSkinImage(painter, control->rect(), description);
}

QString StateImage(const QWidget* control) {
    const auto property = [control](const char* name) {
        return control->property(name).toString();
    };
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    if (!control->isEnabled() && !property("disabledimage").isEmpty()) {
        return property("disabledimage");
    }
    if (button != nullptr && button->isChecked() && !property("selectedimage").isEmpty()) {
        return property("selectedimage");
    }
    if (button != nullptr && button->isDown() && !property("pushedimage").isEmpty()) {
        return property("pushedimage");
    }
    if (control->underMouse() && !property("hotimage").isEmpty()) {
        return property("hotimage");
    }
    return property("normalimage");
}

// Paints the background colour and images of a control before the control paints its own
// content (text, focus) on top.
class ImagePainter : public QObject {
public:
    static ImagePainter& Instance() {
        static ImagePainter painter;
        return painter;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) {
            return false;
        }
        auto* control = static_cast<QWidget*>(watched);
        QPainter painter(control);
        if (const auto colour = ParseColor(control->property("bkcolor").toString())) {
            painter.fillRect(control->rect(), *colour);
        }
        DrawImage(painter, control, control->property("bkimage").toString());
        DrawImage(painter, control, StateImage(control));
        DrawImage(painter, control, control->property("foreimage").toString());
        return false;
    }
};

void EnableImagePainting(QWidget* control) {
    if (control->property("_q407_painted").toBool()) {
        control->update();
        return;
    }
    control->setProperty("_q407_painted", true);
    control->setAttribute(Qt::WA_Hover);
    if (qobject_cast<QAbstractButton*>(control) != nullptr && control->styleSheet().isEmpty()) {
        control->setStyleSheet(QStringLiteral("border: none; background: transparent;"));
    }
    control->installEventFilter(&ImagePainter::Instance());
    control->update();
}

bool IsImageAttribute(const QString& name) {
    for (const char* attribute : kImageAttributes) {
        if (name == QLatin1String(attribute)) {
            return true;
        }
    }
    return false;
}

} // namespace

ImageDescription ParseImageDescription(const QString& text) {
    ImageDescription image;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return image;
    }
    if (!trimmed.contains(QLatin1Char('='))) {
        image.file = trimmed;
        return image;
    }
    static const QRegularExpression pair(QStringLiteral(R"((\w+)\s*=\s*'([^']*)')"));
    auto matches = pair.globalMatch(trimmed);
    while (matches.hasNext()) {
        const auto match = matches.next();
        const QString key = match.captured(1).toLower();
        const QString value = match.captured(2);
        if (key == QLatin1String("file")) {
            image.file = value;
        } else if (key == QLatin1String("source")) {
            image.source = ParseRect(value);
        } else if (key == QLatin1String("dest")) {
            image.dest = ParseRect(value);
        } else if (key == QLatin1String("fade")) {
            image.fade = std::clamp(value.toInt(), 0, 255);
        } else if (key == QLatin1String("mask")) {
            image.mask = ParseColor(value);
        }
    }
    return image;
}

std::optional<QColor> ParseColor(const QString& text) {
    QString digits = text.trimmed();
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        digits = digits.mid(2);
    } else if (digits.startsWith(QLatin1Char('#'))) {
        digits = digits.mid(1);
    } else {
        return std::nullopt;
    }
    bool ok = false;
    const uint value = digits.toUInt(&ok, 16);
    if (!ok || (digits.size() != 8 && digits.size() != 6)) {
        return std::nullopt;
    }
    return digits.size() == 6 ? QColor::fromRgb(0xFF000000u | value) : QColor::fromRgba(value);
}

bool SetAttribute(QWidget* control, const QString& name, const QString& value) {
    if (control == nullptr) {
        return false;
    }
    if (IsImageAttribute(name) || name == QLatin1String("bkcolor")) {
        control->setProperty(name.toLatin1().constData(), value);
        EnableImagePainting(control);
        return true;
    }
    if (name == QLatin1String("text")) {
        SetControlText(control, value);
        return true;
    }
    if (name == QLatin1String("font")) {
        SetControlFont(control, value.toInt());
        return true;
    }
    if (name == QLatin1String("visible")) {
        control->setVisible(value.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0);
        return true;
    }
    if (name == QLatin1String("virtualwnd")) {
        control->setProperty("virtualwnd", value);
        return true;
    }
    return false;
}

void ApplySkinAttributes(QWidget* root) {
    if (root == nullptr) {
        return;
    }
    QList<QWidget*> controls = root->findChildren<QWidget*>();
    controls.prepend(root);
    for (QWidget* control : controls) {
        bool painted = !control->property("bkcolor").toString().isEmpty();
        for (const char* attribute : kImageAttributes) {
            painted = painted || !control->property(attribute).toString().isEmpty();
        }
        if (painted) {
            EnableImagePainting(control);
        }
        if (const QVariant font = control->property("fontid"); font.isValid()) {
            SetControlFont(control, font.toInt());
        }
    }
}

void DrawSkinImage(QPainter& painter, const QRect& area, const QString& description) {
    const ImageDescription image = ParseImageDescription(description);
    if (image.IsEmpty()) {
        return;
    }
    const QRect target = image.dest ? image.dest->translated(area.topLeft()) : area;
    QRect source;
    const QPixmap pixmap = ScaledPixmap(description, image, target.size(), source);
    if (pixmap.isNull()) {
        return;
    }
    const qreal opacity = painter.opacity();
    painter.setOpacity(opacity * image.fade / 255.0);
    if (source.size() == target.size()) {
        painter.drawPixmap(target.topLeft(), pixmap, source);
    } else {
        painter.drawPixmap(target, pixmap, source);
    }
    painter.setOpacity(opacity);
}

QImage TintedSkinImage(const QString& description, const QSize& size, const QColor& colour) {
    const ImageDescription image = ParseImageDescription(description);
    if (image.IsEmpty() || size.isEmpty()) {
        return {};
    }
    QRect source;
    const QPixmap pixmap = ScaledPixmap(description, image, size, source);
    if (pixmap.isNull()) {
        return {};
    }
    QImage tinted(size, QImage::Format_ARGB32_Premultiplied);
    tinted.fill(Qt::transparent);
    QPainter painter(&tinted);
    painter.drawPixmap(QRect(QPoint(0, 0), size), pixmap, source);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(tinted.rect(), colour);
    return tinted;
}

} // namespace q407::toolkit
