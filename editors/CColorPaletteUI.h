#pragma once

// The colour picker of the lighting panel: a field of every hue from left to right, white at the
// top through the full colour in the middle to black at the bottom. A click or a drag picks the
// colour under the pointer and raises "colorchanged" (wParam the colour, 0xAARRGGBB) when the
// button is released; SetColour only moves the marker.

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <cstdint>

namespace q407::editors {

class CColorPaletteUI : public QWidget {
    Q_OBJECT
public:
    explicit CColorPaletteUI(QWidget* parent = nullptr);

    // The selected colour, always with alpha 0xFF.
    std::uint32_t GetColour() const { return m_colour; }
    // Selects a colour without a notification.
    void SetColour(std::uint32_t colour);

    // The colour at a point of the field given in fractions of its width and height (0-1).
    static std::uint32_t ColourAt(double x, double y);
    // Where a colour lies in the field, in fractions of its width and height.
    static QPointF PositionOf(std::uint32_t colour);

    QSize sizeHint() const override { return {240, 120}; }
    QSize minimumSizeHint() const override { return {120, 60}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRectF Field() const;
    void PickAt(const QPointF& point);

    std::uint32_t m_colour = 0xFFFF0000u;
    QPointF m_marker;
    bool m_dragging = false;
    QImage m_field;
};

} // namespace q407::editors
