#include "pages/PictureControls.h"

#include "pages/CKestravaHS6533Device.h"
#include "pages/CKestravaKeyboardDevice.h"
#include "pages/CKestravaMouseDevice.h"
#include "pages/CKestravaMousePadDevice.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/Notify.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinAttributes.h"

#include <QApplication>
#include <QChildEvent>
#include <QDynamicPropertyChangeEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>
#include <QVariant>

namespace q407::pages {
namespace {

const QColor kAccent(0x19, 0xc3, 0xa6);

QString Attribute(const QWidget* control, const char* name) {
    return control->property(name).toString();
}

// The rectangle a drag leaves behind, drawn over the keys.
class RubberBand : public QWidget {
public:
    explicit RubberBand(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QColor fill = kAccent;
        fill.setAlpha(40);
        painter.fillRect(rect(), fill);
        painter.setPen(QPen(kAccent, 1, Qt::DashLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// The backlight of a key: the cap's top tinted and its edges lit, as strong as the LED's level,
// so the cap text stays readable in every colour. Only straight fills: a keyboard repaints a
// hundred of them at every frame of an effect.
void PaintKeyBacklight(QPainter& painter, const QRectF& area, const QColor& light) {
    QColor fill = light;
    fill.setAlphaF(light.alphaF() * 0.45);
    QColor rim = light;
    rim.setAlphaF(light.alphaF() * 0.95);
    const QRect cap = area.toAlignedRect();
    const int corner = std::max(2, std::min(cap.width(), cap.height()) / 7);
    painter.fillRect(cap.adjusted(2, 2, -2, -2), fill);
    painter.fillRect(QRect(cap.left() + corner, cap.top(), cap.width() - 2 * corner, 2), rim);
    painter.fillRect(QRect(cap.left() + corner, cap.bottom() - 1, cap.width() - 2 * corner, 2),
                     rim);
    painter.fillRect(QRect(cap.left(), cap.top() + corner, 2, cap.height() - 2 * corner), rim);
    painter.fillRect(QRect(cap.right() - 1, cap.top() + corner, 2, cap.height() - 2 * corner), rim);
}

// Lays `text` out in `width`, breaking at spaces; the lines and their total height.
qreal LayOut(QTextLayout& layout, qreal width) {
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

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
    const qsizetype scope = name.lastIndexOf(QLatin1Char(':'));
    if (scope >= 0) {
        name = name.mid(scope + 1);
    }
    if (name.size() > 3 && name.startsWith(QLatin1Char('C')) &&
        name.endsWith(QLatin1String("UI"))) {
        name = name.mid(1, name.size() - 3);
    }
    return name;
}

void RegisterPictureControls() {
    toolkit::RegistControl<CDeviceKeyButtonUI>(QString::fromLatin1(kKeyButtonClass));
    toolkit::RegistControl<CSelectPanelUI>(QString::fromLatin1(kSelectPanelClass));
    toolkit::RegistControl<CHandImgButtonUI>(QStringLiteral("HandImgButton"));
    toolkit::RegistControl<CHandImgSelectButtonUI>(QStringLiteral("HandImgSelectButton"));
}

QWidget* DevicePageControl(const QString& className, QWidget* parent) {
    const auto is = [&className](const char* name) {
        return className.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (is("CKestravaMouseDevice") || is("KestravaMouseDevice")) {
        return new CKestravaMouseDevice(parent);
    }
    if (is("CKestravaKeyboardDevice") || is("KestravaKeyboardDevice")) {
        return new CKestravaKeyboardDevice(parent);
    }
    if (is("CKestravaMousePadDevice") || is("KestravaMousePadDevice")) {
        return new CKestravaMousePadDevice(parent);
    }
    if (is("CKestravaHS6533Device") || is("KestravaHS6533Device")) {
        return new CKestravaHS6533Device(parent);
    }
    return nullptr;
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

void SetLightColour(QWidget* button, const QColor& colour) {
    if (auto* key = qobject_cast<CDeviceKeyButtonUI*>(button)) {
        const auto value = static_cast<std::uint32_t>(colour.red()) |
                           static_cast<std::uint32_t>(colour.blue()) << 8 |
                           static_cast<std::uint32_t>(colour.green()) << 16;
        key->SetLight(value, colour.alpha(), true);
    }
}

QColor LightColour(const QWidget* button) {
    const auto* key = qobject_cast<const CDeviceKeyButtonUI*>(button);
    return key != nullptr ? key->LightColour() : QColor();
}

// --- CDeviceKeyButtonUI --------------------------------------------------------------------------

CDeviceKeyButtonUI::CDeviceKeyButtonUI(QWidget* parent) : QPushButton(parent) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void CDeviceKeyButtonUI::SetLight(std::uint32_t value, int level, bool visible) {
    level = std::clamp(level, 0, 255);
    if (value == m_lightValue && level == m_lightLevel && visible == m_lightVisible) {
        return;
    }
    m_lightValue = value;
    m_lightLevel = level;
    m_lightVisible = visible;
    Repaint();
}

void CDeviceKeyButtonUI::SetPaintedByPanel(bool painted) {
    m_paintedByPanel = painted && parentWidget() != nullptr;
    setUpdatesEnabled(!m_paintedByPanel);
    Repaint();
}

void CDeviceKeyButtonUI::Repaint() {
    if (auto* panel = qobject_cast<CSelectPanelUI*>(parentWidget()); panel && m_paintedByPanel) {
        panel->RepaintArea(geometry());
    } else {
        update();
    }
}

bool CDeviceKeyButtonUI::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::EnabledChange:
        if (m_paintedByPanel) {
            Repaint(); // the hot look and the disabled look
        }
        break;
    default:
        break;
    }
    return QPushButton::event(event);
}

QColor CDeviceKeyButtonUI::LightColour() const {
    if (!m_lightVisible) {
        return {};
    }
    return QColor(static_cast<int>(m_lightValue & 0xFF),
                  static_cast<int>((m_lightValue >> 16) & 0xFF),
                  static_cast<int>((m_lightValue >> 8) & 0xFF), m_lightLevel);
}

void CDeviceKeyButtonUI::SetFlag(bool& flag, bool value) {
    if (flag != value) {
        flag = value;
        Repaint();
    }
}

void CDeviceKeyButtonUI::SetFactoryFunction(bool factory) {
    SetFlag(m_factoryFunction, factory);
}

void CDeviceKeyButtonUI::SetMarked(bool marked) {
    SetFlag(m_marked, marked);
}

void CDeviceKeyButtonUI::SetSelectedForEdit(bool selected) {
    SetFlag(m_selectedForEdit, selected);
}

void CDeviceKeyButtonUI::SetRubberBandSelected(bool selected) {
    SetFlag(m_rubberBand, selected);
}

void CDeviceKeyButtonUI::PaintLight(QPainter& painter, const QRectF& area) {
    const QColor light = LightColour();
    if (!light.isValid() || light.alpha() == 0) {
        return;
    }
    const QString image = Attribute(this, "lightimage");
    if (!image.isEmpty()) {
        const QImage tinted = toolkit::TintedSkinImage(image, size(), light);
        if (!tinted.isNull()) {
            painter.drawImage(QPoint(0, 0), tinted);
            return;
        }
    }
    painter.setPen(Qt::NoPen);
    if (Attribute(this, "lightshape") == QLatin1String("key")) {
        PaintKeyBacklight(painter, area, light);
        return;
    }
    // An LED: a soft halo and a bright core in its colour, as strong as its level.
    painter.setRenderHint(QPainter::Antialiasing);
    QColor halo = light;
    halo.setAlphaF(light.alphaF() * 0.35);
    painter.setBrush(halo);
    painter.drawEllipse(area);
    painter.setBrush(light);
    const qreal inset = area.width() / 5;
    painter.drawEllipse(area.adjusted(inset, inset, -inset, -inset));
    painter.setPen(QPen(QColor(255, 255, 255, 60), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(
        area.adjusted(area.width() / 4, area.height() / 4, -area.width() / 4, -area.height() / 4));
}

void CDeviceKeyButtonUI::PaintCapText(QPainter& painter) {
    const QString caption = text();
    if (caption.isEmpty()) {
        return;
    }
    const QColor ink = palette().color(QPalette::ButtonText);
    // The picture is dropped when the size, font or palette change (see changeEvent and
    // resizeEvent); the text is compared here.
    const QString& key = caption;
    if (key != m_capTextOf) {
        // A cap text is laid out once: it may be broken into two lines and set smaller until
        // it fits the cap, and its picture is reused on every repaint of the light.
        const qreal ratio = devicePixelRatioF();
        QPixmap picture(size() * ratio);
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::transparent);
        QPainter text(&picture);
        text.setRenderHint(QPainter::TextAntialiasing);
        text.setPen(ink);
        const QRectF room = QRectF(rect()).adjusted(2, 2, -2, -2);
        QFont shown = font();
        QTextLayout layout(caption, shown);
        QTextOption option(Qt::AlignHCenter);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        qreal height = LayOut(layout, room.width());
        for (int step = 0; step < 4 && (height > room.height() || layout.lineCount() > 2 ||
                                        layout.maximumWidth() > room.width());
             ++step) {
            shown.setPointSizeF(shown.pointSizeF() > 0 ? shown.pointSizeF() * 0.85 : 7);
            if (shown.pixelSize() > 0) {
                shown.setPixelSize(std::max(6, static_cast<int>(shown.pixelSize() * 0.85)));
            }
            layout.setFont(shown);
            height = LayOut(layout, room.width());
        }
        const QPointF origin(room.left(), room.top() + (room.height() - height) / 2);
        // A faint shadow keeps the text apart from a bright backlight.
        text.setPen(QColor(0, 0, 0, 140));
        layout.draw(&text, origin + QPointF(0, 1));
        text.setPen(ink);
        layout.draw(&text, origin);
        m_capText = picture;
        m_capTextOf = key;
    }
    painter.drawPixmap(0, 0, m_capText);
}

void CDeviceKeyButtonUI::paintEvent(QPaintEvent*) {
    // The status images (normal, hot, pushed) are drawn by the toolkit before this.
    QPainter painter(this);
    Draw(painter);
}

void CDeviceKeyButtonUI::Draw(QPainter& painter) {
    const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
    PaintLight(painter, area);
    if (!m_marked) {
        toolkit::DrawSkinImage(painter, rect(), Attribute(this, "keyunsetimage"));
    }
    painter.setRenderHint(QPainter::Antialiasing);
    if (!m_factoryFunction) {
        const QString image = Attribute(this, "keysetimage");
        if (!image.isEmpty()) {
            toolkit::DrawSkinImage(painter, rect(), image);
        } else {
            // A key that no longer does its factory function shows a corner mark.
            const qreal side = std::min(area.width(), area.height()) / 4;
            QPolygonF corner;
            corner << area.topRight() << area.topRight() - QPointF(side, 0)
                   << area.topRight() + QPointF(0, side);
            painter.setPen(Qt::NoPen);
            painter.setBrush(kAccent);
            painter.drawPolygon(corner);
        }
    }
    PaintCapText(painter);
    const bool outlined = isChecked() || isDown() || m_selectedForEdit || m_rubberBand;
    if (outlined || underMouse()) {
        painter.setPen(QPen(outlined ? kAccent : QColor(255, 255, 255, 140), 1.5));
        QColor fill = kAccent;
        fill.setAlpha(outlined ? 60 : 25);
        painter.setBrush(fill);
        const qreal radius = Attribute(this, "lightshape") == QLatin1String("key") ? 4 : 6;
        painter.drawRoundedRect(area, radius, radius);
    }
}

void CDeviceKeyButtonUI::setVisible(bool visible) {
    QPushButton::setVisible(visible);
    if (m_paintedByPanel) {
        Repaint();
    }
}

void CDeviceKeyButtonUI::mouseDoubleClickEvent(QMouseEvent* event) {
    if (isEnabled() && rect().contains(event->position().toPoint())) {
        // Pressed and hot; the toolkit raises "dbclick" for every named control.
        setDown(true);
        update();
    }
    QPushButton::mouseDoubleClickEvent(event);
}

void CDeviceKeyButtonUI::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::StyleChange) {
        m_capTextOf.clear();
    }
    QPushButton::changeEvent(event);
}

void CDeviceKeyButtonUI::resizeEvent(QResizeEvent* event) {
    m_capTextOf.clear();
    QPushButton::resizeEvent(event);
}

// --- CSelectPanelUI ------------------------------------------------------------------------------

CSelectPanelUI::CSelectPanelUI(QWidget* parent) : QWidget(parent) {}

void CSelectPanelUI::paintEvent(QPaintEvent* event) {
    // The skin's background is drawn by the toolkit before this; then, when the panel paints its
    // keys, every key in the order of the layout (lights under caps).
    if (!m_paintsKeys) {
        return;
    }
    QPainter painter(this);
    for (QObject* child : children()) {
        auto* key = qobject_cast<CDeviceKeyButtonUI*>(child);
        if (key == nullptr || key->isHidden() || !event->rect().intersects(key->geometry())) {
            continue;
        }
        painter.save();
        painter.translate(key->pos());
        painter.setClipRect(key->rect());
        key->Draw(painter);
        painter.restore();
    }
}

void CSelectPanelUI::RepaintArea(const QRect& area) {
    // The keys of a frame change together: one repaint of the area they span, not a region of
    // a hundred rectangles.
    const bool first = m_pendingRepaint.isNull();
    m_pendingRepaint = m_pendingRepaint.united(area);
    if (first) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                update(m_pendingRepaint);
                m_pendingRepaint = {};
            },
            Qt::QueuedConnection);
    }
}

void CSelectPanelUI::SetPaintsKeys(bool paints) {
    m_paintsKeys = paints;
    for (QObject* child : children()) {
        if (auto* key = qobject_cast<CDeviceKeyButtonUI*>(child)) {
            key->SetPaintedByPanel(paints);
        }
    }
    update();
}

bool CSelectPanelUI::event(QEvent* event) {
    if (event->type() == QEvent::DynamicPropertyChange &&
        static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == "paintskeys") {
        SetPaintsKeys(property("paintskeys").toBool());
    }
    return QWidget::event(event);
}

void CSelectPanelUI::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceChildren();
}

void CSelectPanelUI::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    PlaceChildren();
    WatchKeys();
}

void CSelectPanelUI::childEvent(QChildEvent* event) {
    // A key is watched once it is fully made (polished), so a drag can start on it.
    if (event->type() == QEvent::ChildPolished) {
        if (auto* key = qobject_cast<CDeviceKeyButtonUI*>(event->child())) {
            key->removeEventFilter(this);
            key->installEventFilter(this);
            key->SetPaintedByPanel(m_paintsKeys);
        }
    }
    QWidget::childEvent(event);
}

void CSelectPanelUI::PlaceChildren() {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (const auto centre = PlacedCentre(child, size())) {
            child->move(*centre - QPoint(child->width() / 2, child->height() / 2));
        }
    }
}

void CSelectPanelUI::WatchKeys() {
    for (auto* key : findChildren<CDeviceKeyButtonUI*>()) {
        key->removeEventFilter(this);
        key->installEventFilter(this);
        if (key->parentWidget() == this) {
            key->SetPaintedByPanel(m_paintsKeys);
        }
    }
}

void CSelectPanelUI::Press(const QPoint& at) {
    if (!isEnabled()) {
        return;
    }
    m_pressed = true;
    m_dragging = false;
    m_anchor = at;
    m_current = at;
}

bool CSelectPanelUI::Move(const QPoint& at) {
    if (!m_pressed) {
        return false;
    }
    m_current = at;
    if (!m_dragging && (at - m_anchor).manhattanLength() < QApplication::startDragDistance()) {
        return false;
    }
    if (!m_dragging) {
        m_dragging = true;
        // A key the drag started on is no longer pressed: the drag is not its click.
        for (auto* key : findChildren<CDeviceKeyButtonUI*>()) {
            key->setDown(false);
        }
    }
    m_selection =
        QRect(QPoint(std::min(m_anchor.x(), m_current.x()), std::min(m_anchor.y(), m_current.y())),
              QPoint(std::max(m_anchor.x(), m_current.x()), std::max(m_anchor.y(), m_current.y())));
    if (m_band == nullptr) {
        m_band = new RubberBand(this);
    }
    m_band->setGeometry(m_selection);
    m_band->show();
    m_band->raise();
    update();
    return true;
}

bool CSelectPanelUI::Release() {
    if (!m_pressed) {
        return false;
    }
    m_pressed = false;
    if (!m_dragging) {
        return false;
    }
    m_dragging = false;
    if (m_band != nullptr) {
        m_band->hide();
    }
    for (auto* key : findChildren<CDeviceKeyButtonUI*>()) {
        const QRect place(key->mapTo(this, QPoint(0, 0)), key->size());
        key->SetRubberBandSelected(!key->isHidden() && place.intersects(m_selection));
    }
    update();
    toolkit::SendNotify(this, QStringLiteral("click_select_end"));
    return true;
}

void CSelectPanelUI::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Press(event->position().toPoint());
    }
    QWidget::mousePressEvent(event);
}

void CSelectPanelUI::mouseMoveEvent(QMouseEvent* event) {
    Move(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void CSelectPanelUI::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Release();
    }
    QWidget::mouseReleaseEvent(event);
}

bool CSelectPanelUI::eventFilter(QObject* watched, QEvent* event) {
    auto* key = qobject_cast<QWidget*>(watched);
    if (key == nullptr) {
        return false;
    }
    switch (event->type()) {
    case QEvent::Resize:
        // A key that changed size (the DPI changed) keeps its centre on its spot.
        if (const auto centre = PlacedCentre(key, size()); centre && key->parentWidget() == this) {
            key->move(*centre - QPoint(key->width() / 2, key->height() / 2));
        }
        return false;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            Press(key->mapTo(this, mouse->position().toPoint()));
        }
        return false; // the key is pressed as usual until a drag begins
    }
    case QEvent::MouseMove:
        return Move(key->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint()));
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            return Release();
        }
        return false;
    default:
        return false;
    }
}

// --- CHandImgButtonUI ----------------------------------------------------------------------------

CHandImgButtonUI::CHandImgButtonUI(QWidget* parent) : QPushButton(parent) {
    setFlat(true);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

QRect CHandImgButtonUI::DeleteSquare() const {
    const double scale = toolkit::ResourceManager::Instance().Scale();
    const int side = static_cast<int>(20 * scale + 0.5);
    const int right = width() - static_cast<int>(10 * scale + 0.5);
    const int bottom = height() - static_cast<int>(9 * scale + 0.5);
    return {right - side, bottom - side, side, side};
}

void CHandImgButtonUI::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    toolkit::DrawSkinImage(painter, rect(), Attribute(this, "handimage"));
    if (!text().isEmpty()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
    if (!underMouse()) {
        return;
    }
    const QRect square = DeleteSquare();
    const QString image = Attribute(this, m_overDelete ? "deletehotimage" : "deletenormalimage");
    if (!image.isEmpty()) {
        toolkit::DrawSkinImage(painter, square, image);
        return;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_overDelete ? QColor(0xe0, 0x4f, 0x4f) : QColor(0, 0, 0, 150));
    painter.drawEllipse(square);
    painter.setPen(QPen(Qt::white, 1.5));
    const QRectF cross = QRectF(square).adjusted(square.width() * 0.32, square.height() * 0.32,
                                                 -square.width() * 0.32, -square.height() * 0.32);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
}

void CHandImgButtonUI::enterEvent(QEnterEvent* event) {
    update();
    QPushButton::enterEvent(event);
}

void CHandImgButtonUI::leaveEvent(QEvent* event) {
    m_overDelete = false;
    update();
    QPushButton::leaveEvent(event);
}

void CHandImgButtonUI::mouseMoveEvent(QMouseEvent* event) {
    const bool over = DeleteSquare().contains(event->position().toPoint());
    if (over != m_overDelete) {
        m_overDelete = over;
        update();
    }
    QPushButton::mouseMoveEvent(event);
}

void CHandImgButtonUI::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled() && isDown() &&
        DeleteSquare().contains(event->position().toPoint())) {
        // Let go on the delete square: that is its own notification, not a click.
        setDown(false);
        toolkit::SendNotify(this, QStringLiteral("click_handdelete"));
        return;
    }
    QPushButton::mouseReleaseEvent(event);
}

// --- CHandImgSelectButtonUI ----------------------------------------------------------------------

CHandImgSelectButtonUI::CHandImgSelectButtonUI(QWidget* parent) : QPushButton(parent) {
    setFlat(true);
    setAttribute(Qt::WA_Hover);
}

std::optional<Qt::CursorShape> CHandImgSelectButtonUI::CursorOfName(const QString& name) {
    static const std::pair<const char*, Qt::CursorShape> kShapes[] = {
        {"arrow", Qt::ArrowCursor},        {"ibeam", Qt::IBeamCursor},
        {"wait", Qt::WaitCursor},          {"cross", Qt::CrossCursor},
        {"uparrow", Qt::UpArrowCursor},    {"size", Qt::SizeAllCursor},
        {"icon", Qt::ArrowCursor},         {"sizenwse", Qt::SizeFDiagCursor},
        {"sizenesw", Qt::SizeBDiagCursor}, {"sizewe", Qt::SizeHorCursor},
        {"sizens", Qt::SizeVerCursor},     {"sizeall", Qt::SizeAllCursor},
        {"no", Qt::ForbiddenCursor},       {"hand", Qt::PointingHandCursor},
    };
    for (const auto& [shapeName, shape] : kShapes) {
        if (name.compare(QLatin1String(shapeName), Qt::CaseInsensitive) == 0) {
            return shape;
        }
    }
    return std::nullopt;
}

void CHandImgSelectButtonUI::SetCursorName(const QString& name) {
    m_cursorName = name;
    if (const auto shape = CursorOfName(name)) {
        setCursor(*shape);
    }
}

void CHandImgSelectButtonUI::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    toolkit::DrawSkinImage(painter, rect(), Attribute(this, "handimage"));
    if (isChecked() || underMouse()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(isChecked() ? kAccent : QColor(255, 255, 255, 140), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}

void CHandImgSelectButtonUI::enterEvent(QEnterEvent* event) {
    update();
    QPushButton::enterEvent(event);
}

void CHandImgSelectButtonUI::leaveEvent(QEvent* event) {
    update();
    QPushButton::leaveEvent(event);
}

} // namespace q407::pages
