// The device picture controls on the offscreen platform: a key button's light and flags, its
// double click, the selection panel's rubber band, and the two hand-image buttons.

#include "pages/PictureControls.h"

#include "support/QtTestUtil.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/NotifyAdapter.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/WindowImplBase.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace q407::pages {
namespace {

// A window that keeps every notification it receives as "type:sender".
class RecordingWindow : public toolkit::WindowImplBase {
public:
    QString GetSkinFile() const override { return {}; }
    QString GetWindowClassName() const override { return QStringLiteral("PictureTestWnd"); }
    void Notify(toolkit::TNotifyUI& msg) override {
        seen << msg.sType + QLatin1Char(':') + msg.SenderName();
    }
    QStringList seen;
};

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

void Send(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held = Qt::LeftButton) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void Settle() {
    testutil::WaitUntil([] { return false; }, 30);
}

class PictureControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window.resize(400, 300);
        m_panel = new CSelectPanelUI(&m_window);
        m_panel->setObjectName(QStringLiteral("device_key_light"));
        m_panel->setGeometry(10, 10, 300, 200);
        // Three keys in a row: (20,20), (80,20) and (140,120), 40 x 40 each.
        for (const auto& [name, x, y] : {std::tuple{"key_0", 20, 20}, std::tuple{"key_1", 80, 20},
                                         std::tuple{"key_2", 140, 120}}) {
            auto* key = new CDeviceKeyButtonUI(m_panel);
            key->setObjectName(QString::fromLatin1(name));
            key->setGeometry(x, y, 40, 40);
            m_keys.push_back(key);
        }
        toolkit::ConnectNotifications(&m_window);
        m_window.show();
        Settle();
    }

    RecordingWindow m_window;
    CSelectPanelUI* m_panel = nullptr;
    std::vector<CDeviceKeyButtonUI*> m_keys;
};

TEST_F(PictureControlsTest, KeyLightTakesRedBlueGreenOrderAndHidesWhenNotVisible) {
    CDeviceKeyButtonUI& key = *m_keys[0];
    EXPECT_FALSE(key.LightColour().isValid()) << "no light before one is set";
    key.SetLight(0x10 | 0x30 << 8 | 0x20 << 16, 200, true);
    EXPECT_EQ(key.LightColour(), QColor(0x10, 0x20, 0x30, 200));
    SetLightColour(&key, QColor(1, 2, 3, 4));
    EXPECT_EQ(key.LightValue(), 1u | 3u << 8 | 2u << 16);
    key.SetLight(key.LightValue(), 999, true);
    EXPECT_EQ(key.LightLevel(), 255);
    key.SetLight(key.LightValue(), 10, false);
    EXPECT_FALSE(LightColour(&key).isValid());
}

TEST_F(PictureControlsTest, AFlagSetTwiceRepaintsOnce) {
    using Setter = void (CDeviceKeyButtonUI::*)(bool);
    using Getter = bool (CDeviceKeyButtonUI::*)() const;
    const std::pair<Setter, Getter> flags[] = {
        {&CDeviceKeyButtonUI::SetFactoryFunction, &CDeviceKeyButtonUI::IsFactoryFunction},
        {&CDeviceKeyButtonUI::SetMarked, &CDeviceKeyButtonUI::IsMarked},
        {&CDeviceKeyButtonUI::SetSelectedForEdit, &CDeviceKeyButtonUI::IsSelectedForEdit},
        {&CDeviceKeyButtonUI::SetRubberBandSelected, &CDeviceKeyButtonUI::IsRubberBandSelected}};
    CDeviceKeyButtonUI& key = *m_keys[1];
    for (const auto& [set, get] : flags) {
        const bool changed = !(key.*get)();
        PaintCounter counter;
        key.installEventFilter(&counter);
        (key.*set)(changed);
        Settle();
        (key.*set)(changed);
        Settle();
        key.removeEventFilter(&counter);
        EXPECT_EQ(counter.paints, 1) << "one change, one repaint";
        EXPECT_EQ((key.*get)(), changed);
    }
}

TEST_F(PictureControlsTest, DoubleClickPressesTheKeyAndSaysSoOnce) {
    CDeviceKeyButtonUI& key = *m_keys[0];
    Send(&key, QEvent::MouseButtonDblClick, QPoint(20, 20));
    EXPECT_TRUE(key.isDown());
    EXPECT_EQ(m_window.seen.count(QStringLiteral("dbclick:key_0")), 1);
}

TEST_F(PictureControlsTest, RubberBandSelectsTheKeysItMeetsAndEndsOnce) {
    CDeviceKeyButtonUI& start = *m_keys[1];
    // From the middle of key 1 up and to the left, ending outside the panel.
    Send(&start, QEvent::MouseButtonPress, QPoint(20, 20));
    Send(&start, QEvent::MouseMove, QPoint(0, 5));
    Send(&start, QEvent::MouseMove, QPoint(-150, -60));
    EXPECT_TRUE(m_panel->IsDragging());
    Send(&start, QEvent::MouseButtonRelease, QPoint(-150, -60), Qt::NoButton);
    const QRect band = m_panel->SelectionRect();
    EXPECT_EQ(band, QRect(QPoint(-70, -40), QPoint(100, 40)))
        << "left <= right, top <= bottom, even beyond the panel";
    EXPECT_TRUE(m_keys[0]->IsRubberBandSelected());
    EXPECT_TRUE(m_keys[1]->IsRubberBandSelected());
    EXPECT_FALSE(m_keys[2]->IsRubberBandSelected());
    EXPECT_EQ(m_window.seen.count(QStringLiteral("click_select_end:device_key_light")), 1);
    EXPECT_EQ(m_window.seen.count(QStringLiteral("click:key_1")), 0) << "a drag is no click";

    // A press and release without a drag only disarms: nothing is selected anew.
    Send(m_panel, QEvent::MouseButtonPress, QPoint(200, 10));
    Send(m_panel, QEvent::MouseButtonRelease, QPoint(200, 10), Qt::NoButton);
    EXPECT_TRUE(m_keys[0]->IsRubberBandSelected());
    EXPECT_EQ(m_window.seen.count(QStringLiteral("click_select_end:device_key_light")), 1);
}

TEST(HandImgButton, DeleteSquareFollowsTheDpiAndReleasingOnItIsNoClick) {
    auto& resources = toolkit::ResourceManager::Instance();
    struct Case {
        int dpi;
        QRect square;
    };
    for (const Case c : {Case{96, QRect(70, 71, 20, 20)}, Case{144, QRect(55, 56, 30, 30)}}) {
        resources.SetAllDPI(c.dpi);
        RecordingWindow window;
        auto* button = new CHandImgButtonUI(&window);
        button->setObjectName(QStringLiteral("hand_0"));
        button->setGeometry(0, 0, 100, 100);
        toolkit::ConnectNotifications(&window);
        window.show();
        EXPECT_EQ(button->DeleteSquare(), c.square) << c.dpi;

        Send(button, QEvent::MouseButtonPress, c.square.center());
        Send(button, QEvent::MouseButtonRelease, c.square.center(), Qt::NoButton);
        EXPECT_EQ(window.seen, QStringList{QStringLiteral("click_handdelete:hand_0")});
        Send(button, QEvent::MouseButtonPress, QPoint(10, 10));
        Send(button, QEvent::MouseButtonRelease, QPoint(10, 10), Qt::NoButton);
        EXPECT_TRUE(window.seen.contains(QStringLiteral("click:hand_0")));
    }
    resources.SetAllDPI(96);
}

TEST(HandImgSelectButton, CursorAttributeNamesThePointerShape) {
    struct Case {
        const char* name;
        Qt::CursorShape shape;
    };
    for (const Case c : {Case{"hand", Qt::PointingHandCursor}, Case{"IBEAM", Qt::IBeamCursor},
                         Case{"sizenwse", Qt::SizeFDiagCursor}, Case{"no", Qt::ForbiddenCursor},
                         Case{"bogus", Qt::PointingHandCursor}}) {
        CHandImgSelectButtonUI button;
        button.setCursor(Qt::PointingHandCursor);
        // The layout sets the attribute as the property of that name.
        button.setProperty("cursor", QString::fromLatin1(c.name));
        EXPECT_EQ(button.cursor().shape(), c.shape) << c.name;
    }
}

TEST(PictureControls, RegisteredUnderTheirSkinClassNames) {
    RegisterPictureControls();
    for (const char* name :
         {"DeviceKeyButton", "SelectPanel", "HandImgButton", "HandImgSelectButton"}) {
        std::unique_ptr<QWidget> control(
            toolkit::ControlFactory::Instance().CreateControl(QString::fromLatin1(name), nullptr));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(SkinClassOf(control.get()), QString::fromLatin1(name));
    }
}

} // namespace
} // namespace q407::pages
