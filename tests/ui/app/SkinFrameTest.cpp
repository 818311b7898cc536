// The skin chooser under "skinbtn": its colours and pictures repaint the main window, the list's
// choices are written to main.ini, the user's own picture comes from the file dialog, and the
// pop-up goes when it loses the focus.

#include "ShellFixture.h"
#include "app/CSkinFrame.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "support/QtTestUtil.h"
#include "support/UiTestScopes.h"
#include "toolkit/SkinAttributes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSettings>
#include <QStackedWidget>
#include <gtest/gtest.h>

namespace {

using q407::app::CMainWnd;
using q407::app::CSkinFrame;

class SkinFrameTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        m_window->show();
    }
    CSkinFrame* OpenFrame() {
        m_window->FindControl<QAbstractButton>(QStringLiteral("skinbtn"))->click();
        return m_window->SkinFrame();
    }
    // The n-th button of that name in the chooser.
    static QAbstractButton* Button(CSkinFrame* frame, const char* name, int n = 0) {
        const auto buttons = frame->findChildren<QAbstractButton*>(QString::fromLatin1(name));
        return n < buttons.size() ? buttons[n] : nullptr;
    }
    // The colour the main window shows where no control covers its background.
    QRgb Background() const {
        QWidget* root = m_window->FindControl(QStringLiteral("root"));
        return root->grab().toImage().pixel(root->width() / 2, root->height() - 20);
    }
    QString Attribute(const char* name) const {
        return m_window->FindControl(QStringLiteral("root"))->property(name).toString();
    }
    QSettings MainIni() const {
        return QSettings(QString::fromStdString((q407::paths::UserDir() / "main.ini").string()),
                         QSettings::IniFormat);
    }
};

TEST_F(SkinFrameTest, OpensUnderTheSkinButtonWithPicturesAndColours) {
    CSkinFrame* frame = OpenFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("skinframe"));
    EXPECT_EQ(frame->objectName(), QStringLiteral("UISkinFrame"));
    QWidget* button = m_window->FindControl(QStringLiteral("skinbtn"));
    const QPoint corner = button->mapToGlobal(QPoint(button->width(), button->height()));
    EXPECT_EQ(frame->geometry().topRight() + QPoint(1, 0), corner);
    EXPECT_GE(frame->findChildren<QAbstractButton*>(QStringLiteral("skin_image_btn")).size(), 3);
    EXPECT_GE(frame->findChildren<QAbstractButton*>(QStringLiteral("skin_color_btn")).size(), 3);

    auto* tabs = frame->FindControl<QStackedWidget>(QStringLiteral("skin_tab"));
    Button(frame, "skin_color")->click();
    EXPECT_EQ(tabs->currentIndex(), 1);
    Button(frame, "skin_image")->click();
    EXPECT_EQ(tabs->currentIndex(), 0);

    // A click elsewhere (which the pop-up sees first) closes it; it deletes itself.
    QMouseEvent outside(QEvent::MouseButtonPress, QPointF(-5, -5),
                        frame->mapToGlobal(QPointF(-5, -5)), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
    QApplication::sendEvent(frame, &outside);
    EXPECT_TRUE(testutil::WaitUntil([&] { return m_window->SkinFrame() == nullptr; }));
}

TEST_F(SkinFrameTest, ColoursAndPicturesRepaintTheMainWindow) {
    CSkinFrame* frame = OpenFrame();
    ASSERT_NE(frame, nullptr);
    const QRgb before = Background();

    QAbstractButton* colour = Button(frame, "skin_color_btn", 2);
    colour->click();
    EXPECT_EQ(Attribute("bkimage"), QString()) << "a colour clears the picture";
    const QColor chosen = *q407::toolkit::ParseColor(colour->property("bkcolor").toString());
    EXPECT_EQ(QColor(Background()), chosen);
    EXPECT_FALSE(MainIni().contains(QStringLiteral("SKINIMAGE/FLAGS"))) << "colours are not kept";

    QAbstractButton* picture = Button(frame, "skin_image_btn", 0);
    picture->click();
    const QString image = picture->property("bkimage").toString();
    EXPECT_EQ(Attribute("bkimage"), image);
    EXPECT_NE(Background(), chosen.rgb());
    EXPECT_EQ(MainIni().value(QStringLiteral("SKINIMAGE/FLAGS")).toString(), QStringLiteral("1"));
    EXPECT_EQ(MainIni().value(QStringLiteral("SKINIMAGE/IMAGE")).toString(), image);

    Button(frame, "skin_reset")->click();
    EXPECT_EQ(Attribute("bkimage"), QStringLiteral("common/background.png"));
    EXPECT_EQ(QColor::fromRgba(q407::toolkit::ParseColor(Attribute("bkcolor"))->rgba()).alpha(), 0);
    EXPECT_EQ(Background(), before);
    EXPECT_EQ(MainIni().value(QStringLiteral("SKINIMAGE/FLAGS")).toString(), QStringLiteral("0"));
    EXPECT_EQ(MainIni().value(QStringLiteral("SKINIMAGE/IMAGE")).toString(),
              QStringLiteral("common/background.png"));
}

TEST_F(SkinFrameTest, OwnPictureComesFromTheFileDialogAndCancelChangesNothing) {
    CSkinFrame* frame = OpenFrame();
    ASSERT_NE(frame, nullptr);
    QImage own(64, 64, QImage::Format_RGB32);
    own.fill(QColor(200, 40, 40));
    const QString file = m_home.Path() + QStringLiteral("/own.png");
    ASSERT_TRUE(own.save(file));

    m_dialogs.Dialogs().Push(std::monostate{});
    Button(frame, "skin_Custom")->click();
    EXPECT_EQ(Attribute("bkimage"), QStringLiteral("common/background.png"));

    m_dialogs.Dialogs().Push(file);
    Button(frame, "skin_Custom")->click();
    EXPECT_EQ(Attribute("bkimage"), file);
    EXPECT_EQ(QColor(Background()), QColor(200, 40, 40));
    EXPECT_EQ(m_dialogs.Dialogs().Asked().size(), 2);
    EXPECT_FALSE(MainIni().contains(QStringLiteral("SKINIMAGE/IMAGE")))
        << "the user's own picture is not written to main.ini";
}

// Receivers get a broadcast in the order they came, and leave the subject when they go.
TEST(SkinChangedSubject, BroadcastsInOrderAndForgetsReceiversThatWent) {
    struct Recorder : q407::app::SkinChangedReceiver {
        Recorder(std::vector<int>& received, int number) : log(received), id(number) {}
        int Receive(q407::app::SkinChangedParam param) override {
            log.push_back(id * 1000 + static_cast<int>(param.colour));
            return 1;
        }
        std::vector<int>& log;
        int id;
    };
    q407::app::SkinChangedSubject subject;
    std::vector<int> log;
    auto first = std::make_unique<Recorder>(log, 1);
    Recorder second(log, 2);
    subject.AddReceiver(first.get());
    subject.AddReceiver(&second);
    subject.AddReceiver(&second); // once only
    subject.Broadcast({true, 7, QString()});
    EXPECT_EQ(log, (std::vector<int>{1007, 2007}));
    first.reset();
    EXPECT_EQ(subject.ReceiverCount(), 1u);
    subject.Broadcast({true, 8, QString()});
    EXPECT_EQ(log.back(), 2008);
    subject.RemoveReceiver(&second);
    EXPECT_EQ(subject.ReceiverCount(), 0u);
}

} // namespace
