#pragma once

// The controls of a device picture, as the page layouts name them:
//
//   "DeviceKeyButton"      CDeviceKeyButtonUI: one key or LED of the picture. It shows the key's
//                          live light (an LED colour and level), whether the key still does what
//                          it did from the factory, whether it is marked or being edited, and
//                          its cap text. A double click sends "dbclick".
//   "SelectPanel"          CSelectPanelUI: the picture itself. It places its children and lets
//                          the user drag a selection rectangle over the keys; "click_select_end"
//                          tells the window the rubber band was let go.
//   "HandImgButton"        CHandImgButtonUI: a button with a picture and, while hovered, a delete
//                          square ("click_handdelete").
//   "HandImgSelectButton"  CHandImgSelectButtonUI: a button showing part of a picture, with a
//                          pointer shape of its own.
//
// Skin attributes (dynamic properties of the layout):
//   DeviceKeyButton   "lightimage" (a white shape the LED colour tints; without one the LED is
//                     painted as a dot, or as a key-shaped backlight with "lightshape"="key"),
//                     "keysetimage" (drawn while the key does not do its factory function),
//                     "keyunsetimage" (drawn while the key is not marked), "gmnametextcolor"
//                     (accepted, no effect), "place".
//   SelectPanel       "bkimage" as any control; children with "place" ("x,y": the child's centre
//                     as fractions of the panel) are kept on their spots at every size and DPI;
//                     "paintskeys" (true) makes the panel draw its keys itself.
//   HandImgButton     "handimage", "deletenormalimage", "deletehotimage".
//   HandImgSelectButton "handimage" (with its source rectangle), "cursor".
//
// Images are descriptions in the toolkit's syntax (toolkit/SkinAttributes.h).

#include <QColor>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

namespace q407::pages {

inline constexpr char kSelectPanelClass[] = "SelectPanel";
inline constexpr char kKeyButtonClass[] = "DeviceKeyButton";

// A control's skin class: its "skinclass" property when it has one, else its C++ class name
// without the "C" prefix and "UI" suffix ("CDeviceKeyButtonUI" -> "DeviceKeyButton").
QString SkinClassOf(const QWidget* control);

// Registers the four picture controls with the control factory under their skin class names.
void RegisterPictureControls();

// The builder callback of device layouts: the page classes the control factory does not make
// (the mouse, keyboard, mouse pad and headset pages, named "CKestravaMouseDevice" or
// "KestravaMouseDevice" and so on); nullptr for any other class.
QWidget* DevicePageControl(const QString& className, QWidget* parent);

// The centre of a "place" property within `area`; nullopt when the property is absent or
// malformed (the control then keeps its position).
std::optional<QPoint> PlacedCentre(const QWidget* control, const QSize& area);

// The LED of a picture button as a colour whose alpha is the LED's level; invalid while the
// button shows no light (or is not a key button).
void SetLightColour(QWidget* button, const QColor& colour);
QColor LightColour(const QWidget* button);

class CDeviceKeyButtonUI : public QPushButton {
    Q_OBJECT
public:
    explicit CDeviceKeyButtonUI(QWidget* parent = nullptr);

    // The key's light: `value` is red + 256 × blue + 65536 × green (the order the pages use),
    // `level` 0-255. Repaints only when something changed.
    void SetLight(std::uint32_t value, int level, bool visible);
    std::uint32_t LightValue() const { return m_lightValue; }
    int LightLevel() const { return m_lightLevel; }
    bool IsLightVisible() const { return m_lightVisible; }
    // The light as a colour with the level as its alpha.
    QColor LightColour() const;

    // Each flag repaints the key only when it changes.
    void SetFactoryFunction(bool factory);
    bool IsFactoryFunction() const { return m_factoryFunction; }
    void SetMarked(bool marked);
    bool IsMarked() const { return m_marked; }
    void SetSelectedForEdit(bool selected);
    bool IsSelectedForEdit() const { return m_selectedForEdit; }
    void SetRubberBandSelected(bool selected);
    bool IsRubberBandSelected() const { return m_rubberBand; }
    // Draws the key (light, marks, text, outline) in its own coordinates.
    void Draw(QPainter& painter);
    // The key is drawn by its selection panel with all the others (the button keeps its state
    // and takes the pointer).
    void SetPaintedByPanel(bool painted);
    bool IsPaintedByPanel() const { return m_paintedByPanel; }
    void setVisible(bool visible) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetFlag(bool& flag, bool value);
    void Repaint();
    void PaintLight(QPainter& painter, const QRectF& area);
    void PaintCapText(QPainter& painter);

    std::uint32_t m_lightValue = 0;
    int m_lightLevel = 0;
    bool m_lightVisible = false;
    bool m_factoryFunction = true;
    bool m_marked = true;
    bool m_selectedForEdit = false;
    bool m_rubberBand = false;
    bool m_paintedByPanel = false;
    // The cap text drawn once per text, size and font, then copied on every repaint.
    QPixmap m_capText;
    QString m_capTextOf;
};

class CSelectPanelUI : public QWidget {
    Q_OBJECT
public:
    explicit CSelectPanelUI(QWidget* parent = nullptr);

    // With "paintskeys" the panel draws its key buttons itself, all in one pass: a keyboard's
    // lights change together at every frame of an effect, and a hundred widgets repainting
    // one by one cost many times more than one panel drawing them.
    void SetPaintsKeys(bool paints);
    bool PaintsKeys() const { return m_paintsKeys; }
    // Repaints `area` soon, together with every other area asked for meanwhile.
    void RepaintArea(const QRect& area);

    // The last selection rectangle, left <= right and top <= bottom, in panel coordinates.
    QRect SelectionRect() const { return m_selection; }
    bool IsDragging() const { return m_dragging; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    void PlaceChildren();
    void WatchKeys();
    // The three steps of a drag, in panel coordinates; true when the event was used.
    void Press(const QPoint& at);
    bool Move(const QPoint& at);
    bool Release();

    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_anchor;
    QPoint m_current;
    QRect m_selection;
    QPointer<QWidget> m_band;
    bool m_paintsKeys = false;
    QRect m_pendingRepaint;
};

class CHandImgButtonUI : public QPushButton {
    Q_OBJECT
public:
    explicit CHandImgButtonUI(QWidget* parent = nullptr);
    // The delete square: 20 × 20, 10 from the right edge and 9 from the bottom edge, at the
    // toolkit's DPI.
    QRect DeleteSquare() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_overDelete = false;
};

class CHandImgSelectButtonUI : public QPushButton {
    Q_OBJECT
    // The skin's "cursor" attribute names the pointer shape ("hand", "ibeam", ...); it stands in
    // for the widget's own cursor property under the same name.
    Q_PROPERTY(QString cursor READ CursorName WRITE SetCursorName)
public:
    explicit CHandImgSelectButtonUI(QWidget* parent = nullptr);
    // The pointer shape of a "cursor" attribute name; nullopt for a name it does not know.
    static std::optional<Qt::CursorShape> CursorOfName(const QString& name);
    // Unknown names keep the pointer as it is.
    void SetCursorName(const QString& name);
    QString CursorName() const { return m_cursorName; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString m_cursorName;
};

} // namespace q407::pages
