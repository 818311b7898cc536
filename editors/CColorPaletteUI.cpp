#include "editors/CColorPaletteUI.h"

#include "toolkit/Notify.h"

#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace q407::editors {
namespace {

constexpr int kInset = 1;
constexpr double kRadius = 6.0;

} // namespace

CColorPaletteUI::CColorPaletteUI(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::CrossCursor);
    setMinimumSize(minimumSizeHint());
    m_marker = PositionOf(m_colour);
}

std::uint32_t CColorPaletteUI::ColourAt(double x, double y) {
    x = std::clamp(x, 0.0, 1.0);
    y = std::clamp(y, 0.0, 1.0);
    // Hue 0-359 across, lightness 1 (white) at the top to 0 (black) at the bottom.
    const int hue = std::min(359, static_cast<int>(x * 360.0));
    const QColor colour = QColor::fromHslF(hue / 360.0f, 1.0f, static_cast<float>(1.0 - y));
    return 0xFF000000u | (colour.rgb() & 0x00FFFFFFu);
}

QPointF CColorPaletteUI::PositionOf(std::uint32_t colour) {
    const QColor hsl = QColor::fromRgb(colour | 0xFF000000u).toHsl();
    const double hue = hsl.hslHueF() < 0 ? 0.0 : hsl.hslHueF();
    return {hue, 1.0 - hsl.lightnessF()};
}

void CColorPaletteUI::SetColour(std::uint32_t colour) {
    m_colour = 0xFF000000u | colour;
    m_marker = PositionOf(m_colour);
    update();
}

QRectF CColorPaletteUI::Field() const {
    return QRectF(rect()).adjusted(kInset, kInset, -kInset, -kInset);
}

void CColorPaletteUI::resizeEvent(QResizeEvent* event) {
    m_field = QImage();
    QWidget::resizeEvent(event);
}

void CColorPaletteUI::paintEvent(QPaintEvent* /*event*/) {
    const QRectF field = Field();
    const qreal ratio = devicePixelRatioF();
    const QSize pixels((field.size() * ratio).toSize());
    if (m_field.size() != pixels && !pixels.isEmpty()) {
        m_field = QImage(pixels, QImage::Format_RGB32);
        for (int y = 0; y < pixels.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(m_field.scanLine(y));
            const double fy = pixels.height() > 1 ? double(y) / (pixels.height() - 1) : 0.0;
            for (int x = 0; x < pixels.width(); ++x) {
                const double fx = pixels.width() > 1 ? double(x) / (pixels.width() - 1) : 0.0;
                line[x] = ColourAt(fx, fy);
            }
        }
        m_field.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath clip;
    clip.addRoundedRect(field, kRadius, kRadius);
    painter.setClipPath(clip);
    painter.drawImage(field.topLeft(), m_field);
    painter.setClipping(false);
    painter.setPen(QPen(QColor(0x2b, 0x35, 0x40), 1.0));
    painter.drawRoundedRect(field, kRadius, kRadius);

    // The marker: a ring in the selected colour, outlined so it shows on any part of the field.
    const QPointF centre(field.left() + m_marker.x() * field.width(),
                         field.top() + m_marker.y() * field.height());
    painter.setBrush(QColor::fromRgb(m_colour));
    painter.setPen(QPen(Qt::white, 2.0));
    painter.drawEllipse(centre, 6.0, 6.0);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
    painter.drawEllipse(centre, 7.5, 7.5);
}

void CColorPaletteUI::PickAt(const QPointF& point) {
    const QRectF field = Field();
    if (field.width() <= 1 || field.height() <= 1) {
        return;
    }
    const double x = std::clamp((point.x() - field.left()) / (field.width() - 1), 0.0, 1.0);
    const double y = std::clamp((point.y() - field.top()) / (field.height() - 1), 0.0, 1.0);
    m_colour = ColourAt(x, y);
    m_marker = QPointF(x, y);
    update();
}

void CColorPaletteUI::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    PickAt(event->position());
}

void CColorPaletteUI::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) {
        PickAt(event->position());
    }
}

void CColorPaletteUI::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragging || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    PickAt(event->position());
    // One notification per pick: each one writes the device, so a drag is not sent step by step.
    toolkit::SendNotify(this, QStringLiteral("colorchanged"), m_colour);
}

} // namespace q407::editors
