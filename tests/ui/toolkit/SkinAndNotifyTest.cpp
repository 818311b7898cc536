// Building windows from skin layouts, finding controls, and the notifications every control kind
// raises, with their routing to windows and virtual windows.

#include "ToolkitFixture.h"
#include "toolkit/SkinLoader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>

namespace {

using SkinTest = ToolkitTest;

TEST_F(SkinTest, WindowBuildsEveryControlKindAndInitialisesOnce) {
    TestWindow window;
    ASSERT_TRUE(window.Create(QStringLiteral("Test"), QSize(400, 300)));
    EXPECT_EQ(window.initCalls, 1);
    EXPECT_TRUE(window.Has(QStringLiteral("windowinit"), QStringLiteral("TestWnd")));
    EXPECT_EQ(window.size(), QSize(400, 300));

    const std::pair<const char*, const char*> expected[] = {
        {"plain_btn", "QPushButton"},  {"check_box", "QCheckBox"},
        {"radio_btn", "QRadioButton"}, {"text_test", "QLabel"},
        {"name_edit", "QLineEdit"},    {"mode_combo", "QComboBox"},
        {"speed_slider", "QSlider"},   {"macro_list", "QListWidget"},
        {"progress", "QProgressBar"},  {"notes_edit", "QTextEdit"},
        {"feature_tab", "QTabWidget"}, {"page_stack", "QStackedWidget"},
        {"callback_widget", "QFrame"}, {"test_dial", "CTestDialUI"},
    };
    for (const auto& [name, className] : expected) {
        QWidget* control = window.FindControl(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        if (QLatin1String(className) == QLatin1String("CTestDialUI")) {
            EXPECT_NE(dynamic_cast<CTestDialUI*>(control), nullptr) << "factory class";
        } else {
            EXPECT_TRUE(control->inherits(className))
                << name << " is " << control->metaObject()->className();
        }
    }
    EXPECT_EQ(window.FindControl(QStringLiteral("no_such_control")), nullptr);
    EXPECT_EQ(window.FindControl(QString()), nullptr);
    QWidget* area = window.FindControl(QStringLiteral("page_area"));
    EXPECT_EQ(q407::toolkit::FindSubControlByName(area, QStringLiteral("page_btn")),
              window.FindControl(QStringLiteral("page_btn")));
    EXPECT_EQ(q407::toolkit::FindSubControlByName(area, QStringLiteral("plain_btn")), nullptr)
        << "only inside the parent";
}

TEST_F(SkinTest, MissingOrBrokenSkinFailsWithoutATree) {
    TestWindow missing(QStringLiteral("XML_NOT_THERE"));
    EXPECT_FALSE(missing.Create(QStringLiteral("x")));
    EXPECT_EQ(missing.Root(), nullptr);
    EXPECT_EQ(missing.initCalls, 0);

    TestWindow broken(QStringLiteral("XML_BROKEN"));
    EXPECT_FALSE(broken.Create(QStringLiteral("x")));
    EXPECT_TRUE(broken.findChildren<QWidget*>().isEmpty()) << "nothing is left behind";
}

TEST_F(SkinTest, SubTreeBuildsIntoContainerOrReturnsNothing) {
    TestWindow window;
    ASSERT_TRUE(window.Create(QStringLiteral("Test")));
    QWidget* container = window.FindControl(QStringLiteral("container"));
    const int childrenBefore = static_cast<int>(container->findChildren<QWidget*>().size());

    EXPECT_EQ(q407::toolkit::BuildSubTree(QStringLiteral("XML_BROKEN"), container), nullptr);
    EXPECT_EQ(q407::toolkit::BuildSubTree(QStringLiteral("XML/none.xml"), container), nullptr);
    EXPECT_EQ(q407::toolkit::BuildSubTree(QStringLiteral("XML_PAGE"), nullptr), nullptr);
    EXPECT_EQ(container->findChildren<QWidget*>().size(), childrenBefore);

    QWidget* sub = q407::toolkit::BuildSubTree(QStringLiteral("XML_PAGE"), container);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->parentWidget(), container);
    auto* button = window.FindControl<QPushButton>(QStringLiteral("sub_btn"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Hello")) << "sub-trees get their texts too";
}

TEST_F(SkinTest, EveryControlKindRaisesItsNotificationsWithSender) {
    TestWindow window;
    ASSERT_TRUE(window.Create(QStringLiteral("Test")));
    window.show();
    window.received.clear();

    window.FindControl<QPushButton>(QStringLiteral("plain_btn"))->click();
    window.FindControl<QCheckBox>(QStringLiteral("check_box"))->click();
    auto* combo = window.FindControl<QComboBox>(QStringLiteral("mode_combo"));
    combo->setCurrentIndex(2);
    auto* slider = window.FindControl<QSlider>(QStringLiteral("speed_slider"));
    slider->setValue(3);
    slider->setSliderDown(true);
    slider->setSliderPosition(1);
    slider->setSliderDown(false);
    auto* edit = window.FindControl<QLineEdit>(QStringLiteral("name_edit"));
    edit->setText(QStringLiteral("abc"));
    Q_EMIT edit->returnPressed();
    window.FindControl<QTextEdit>(QStringLiteral("notes_edit"))->setPlainText(QStringLiteral("n"));
    auto* list = window.FindControl<QListWidget>(QStringLiteral("macro_list"));
    list->setCurrentRow(1);
    Q_EMIT list->clicked(list->model()->index(1, 0));
    Q_EMIT list->activated(list->model()->index(0, 0));
    window.FindControl<QTabWidget>(QStringLiteral("feature_tab"))->setCurrentIndex(1);
    window.FindControl<QStackedWidget>(QStringLiteral("page_stack"))->setCurrentIndex(1);

    QFocusEvent focusIn(QEvent::FocusIn);
    QFocusEvent focusOut(QEvent::FocusOut);
    QCoreApplication::sendEvent(edit, &focusIn);
    QCoreApplication::sendEvent(edit, &focusOut);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QEvent leave(QEvent::Leave);
    auto* dial = window.FindControl(QStringLiteral("test_dial"));
    QCoreApplication::sendEvent(dial, &enter);
    QCoreApplication::sendEvent(dial, &leave);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(1, 1), QPointF(1, 1),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dial, &doubleClick);
    QContextMenuEvent context(QContextMenuEvent::Mouse, QPoint(1, 1), QPoint(1, 1));
    QCoreApplication::sendEvent(dial, &context);
    q407::toolkit::SendNotify(dial, QStringLiteral("colorchanged"), 0xFF112233, 7);
    window.resize(500, 350);
    QCoreApplication::processEvents();

    const auto expect = [&](const char* type, const char* sender) {
        EXPECT_TRUE(window.Has(QString::fromLatin1(type), QString::fromLatin1(sender)))
            << type << " from " << sender;
    };
    expect("click", "plain_btn");
    expect("click", "check_box");
    expect("selectchanged", "check_box");
    expect("itemselect", "mode_combo");
    expect("valuechanged", "speed_slider");
    expect("movevaluechanged", "speed_slider");
    expect("textchanged", "name_edit");
    expect("return", "name_edit");
    expect("textchanged", "notes_edit");
    expect("itemselect", "macro_list");
    expect("itemclick", "macro_list");
    expect("itemactivate", "macro_list");
    expect("selectchanged", "feature_tab");
    expect("selectchanged", "page_stack");
    expect("setfocus", "name_edit");
    expect("killfocus", "name_edit");
    expect("msenter", "test_dial");
    expect("msleave", "test_dial");
    expect("dbclick", "test_dial");
    expect("menu", "test_dial");
    expect("colorchanged", "test_dial");
    expect("windowsize", "root");

    // The integers carry what the handlers need.
    const auto itemSelect = window.OfType(QStringLiteral("itemselect"));
    ASSERT_FALSE(itemSelect.empty());
    EXPECT_EQ(itemSelect.front().wParam, 2);
    EXPECT_EQ(itemSelect.front().lParam, 0) << "previous index";
    const auto values = window.OfType(QStringLiteral("valuechanged"));
    ASSERT_EQ(values.size(), 2u) << "no valuechanged while the slider is held";
    EXPECT_EQ(values[0].wParam, 3);
    EXPECT_EQ(values[1].wParam, 1);
    EXPECT_EQ(window.OfType(QStringLiteral("selectchanged")).front().wParam, 1) << "checked";
    const auto colour = window.OfType(QStringLiteral("colorchanged"));
    ASSERT_EQ(colour.size(), 1u);
    EXPECT_EQ(colour[0].wParam, 0xFF112233);
    EXPECT_EQ(colour[0].lParam, 7);
}

TEST_F(SkinTest, VirtualWindowsReceiveTheirControlsNotifications) {
    TestWindow window;
    ASSERT_TRUE(window.Create(QStringLiteral("Test")));
    NotifyRecorder page;
    window.AddVirtualWnd(QStringLiteral("devicepage"), &page);
    window.received.clear();

    window.FindControl<QPushButton>(QStringLiteral("page_btn"))->click();
    window.FindControl<QPushButton>(QStringLiteral("plain_btn"))->click();
    EXPECT_TRUE(page.Has(QStringLiteral("click"), QStringLiteral("page_btn")));
    EXPECT_FALSE(page.Has(QStringLiteral("click"), QStringLiteral("plain_btn")));
    EXPECT_FALSE(window.Has(QStringLiteral("click"), QStringLiteral("page_btn")));
    EXPECT_TRUE(window.Has(QStringLiteral("click"), QStringLiteral("plain_btn")));

    // A sub-tree built later with its own virtual-window name goes to that page.
    NotifyRecorder subPage;
    window.AddVirtualWnd(QStringLiteral("subpage"), &subPage);
    ASSERT_NE(q407::toolkit::BuildSubTree(QStringLiteral("XML_PAGE"),
                                          window.FindControl(QStringLiteral("container"))),
              nullptr);
    window.FindControl<QPushButton>(QStringLiteral("sub_btn"))->click();
    EXPECT_TRUE(subPage.Has(QStringLiteral("click"), QStringLiteral("sub_btn")));

    EXPECT_TRUE(window.RemoveVirtualWnd(QStringLiteral("devicepage")));
    EXPECT_FALSE(window.RemoveVirtualWnd(QStringLiteral("devicepage")));
    window.FindControl<QPushButton>(QStringLiteral("page_btn"))->click();
    EXPECT_TRUE(window.Has(QStringLiteral("click"), QStringLiteral("page_btn")))
        << "back to the window once the page is gone";
}

TEST_F(SkinTest, TimersRepeatUntilKilledAndDieWithTheirControl) {
    TestWindow window;
    ASSERT_TRUE(window.Create(QStringLiteral("Test")));
    QWidget* dial = window.FindControl(QStringLiteral("test_dial"));
    window.received.clear();

    ASSERT_TRUE(window.SetTimer(dial, 1011, 5));
    EXPECT_TRUE(window.HasTimer(dial, 1011));
    ASSERT_TRUE(
        testutil::WaitUntil([&] { return window.OfType(QStringLiteral("timer")).size() >= 3; }));
    for (const auto& timer : window.OfType(QStringLiteral("timer"))) {
        EXPECT_EQ(timer.sender, QStringLiteral("test_dial"));
        EXPECT_EQ(timer.wParam, 1011);
    }
    EXPECT_TRUE(window.KillTimer(dial, 1011));
    EXPECT_FALSE(window.KillTimer(dial, 1011));
    EXPECT_FALSE(window.HasTimer(dial, 1011));
    QCoreApplication::processEvents();
    const size_t afterKill = window.OfType(QStringLiteral("timer")).size();
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 40) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(window.OfType(QStringLiteral("timer")).size(), afterKill);

    // Two timers on one control are independent; deleting the control ends both.
    ASSERT_TRUE(window.SetTimer(dial, 1, 5));
    ASSERT_TRUE(window.SetTimer(dial, 2, 5));
    EXPECT_TRUE(window.KillTimer(dial, 1));
    EXPECT_TRUE(window.HasTimer(dial, 2));
    delete dial;
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.SetTimer(nullptr, 3, 5));
}

} // namespace
