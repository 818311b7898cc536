// Messages between threads and the UI thread, the confirmation box, menus, the tray icon and the
// scripted dialogs service.

#include "ToolkitFixture.h"
#include "common/Diag.h"
#include "toolkit/CMsgWnd.h"
#include "toolkit/Dialogs.h"
#include "toolkit/TrayIcon.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <thread>

namespace {

using ServicesTest = ToolkitTest;

TEST_F(ServicesTest, MessagesFromWorkersAreHandledOnTheUiThread) {
    TestWindow window;
    ASSERT_TRUE(window.Create(QStringLiteral("Test")));
    EXPECT_EQ(window.SendMessage(0x0C11, 2, 3), 5) << "same thread: handled at once";

    qint64 answer = -1;
    std::thread worker([&] { answer = window.SendMessage(0x0C12, 4, 5); });
    ASSERT_TRUE(testutil::WaitUntil([&] { return answer != -1; }));
    worker.join();
    EXPECT_EQ(answer, 9);

    window.PostMessage(0x0C13, 0, 0);
    EXPECT_EQ(window.messages.size(), 2u) << "posted messages wait for the event loop";
    ASSERT_TRUE(testutil::WaitUntil([&] { return window.messages.size() == 3; }));
    EXPECT_EQ(window.messages.back(), 0x0C13u);
}

TEST_F(ServicesTest, WaitingWorkerGivesUpWhenItsStopEventIsSet) {
    TestWindow window;
    ASSERT_TRUE(window.Create(QStringLiteral("Test")));
    std::atomic<bool> stop{false};
    std::atomic<bool> returned{false};
    qint64 answer = -1;
    // The UI thread is busy (it runs no events here), as when it waits for this worker to end.
    std::thread worker([&] {
        answer = window.SendMessage(0x0C12, 1, 1, [&stop] { return stop.load(); });
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(returned.load());
    stop = true;
    worker.join();
    EXPECT_EQ(answer, 0);
    QCoreApplication::processEvents(); // the late message is still handled, harmlessly
}

TEST_F(ServicesTest, ConfirmationBoxReturnsTheUsersChoice) {
    const auto clickLater = [](const char* button) {
        QTimer::singleShot(0, [button] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* box = dynamic_cast<q407::toolkit::CMsgWnd*>(top);
                    box && box->isVisible()) {
                    auto* target = box->FindControl<QPushButton>(QString::fromLatin1(button));
                    EXPECT_TRUE(target->isVisible()) << button;
                    target->click();
                }
            }
        });
    };
    TestWindow owner;
    ASSERT_TRUE(owner.Create(QStringLiteral("Owner")));

    clickLater("confirm_btn");
    EXPECT_EQ(q407::toolkit::CMsgWnd::ShowMessageBox(
                  &owner, QString(), QStringLiteral("message_text_22"), 96, true, 1),
              1);
    clickLater("cancel_btn");
    EXPECT_EQ(q407::toolkit::CMsgWnd::ShowMessageBox(
                  &owner, QString(), QStringLiteral("message_text_22"), 96, true, 1),
              0);
    clickLater("closebtn");
    EXPECT_EQ(q407::toolkit::CMsgWnd::ShowMessageBox(&owner, QString(), QStringLiteral("x"), 96,
                                                     false, 0),
              0);
}

TEST_F(ServicesTest, ConfirmationBoxModesTextsAndDpi) {
    TestWindow owner;
    ASSERT_TRUE(owner.Create(QStringLiteral("Owner")));
    bool cancelShown = true;
    QString shownText;
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* box = dynamic_cast<q407::toolkit::CMsgWnd*>(top); box && box->isVisible()) {
                cancelShown = box->FindControl(QStringLiteral("cancel_btn"))->isVisible();
                shownText = box->FindControl<QLabel>(QStringLiteral("MessageText"))->text();
                box->FindControl<QPushButton>(QStringLiteral("confirm_btn"))->click();
            }
        }
    });
    q407::diag::Capture diagnostics;
    EXPECT_EQ(q407::toolkit::CMsgWnd::ShowMessageBox(
                  &owner, QString(), QStringLiteral("message_text_22"), 97, true, 0),
              1);
    EXPECT_FALSE(cancelShown) << "button mode 0 shows only the confirm button";
    EXPECT_EQ(shownText, QStringLiteral("Restore the defaults?"));
    EXPECT_TRUE(diagnostics.Contains("MSG_WND DPI SET ERROR"));
    EXPECT_EQ(q407::toolkit::ResourceManager::Instance().Dpi(), 96);

    // Plain text is shown as it is even when it looks like an id.
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* box = dynamic_cast<q407::toolkit::CMsgWnd*>(top); box && box->isVisible()) {
                shownText = box->FindControl<QLabel>(QStringLiteral("MessageText"))->text();
                box->FindControl<QPushButton>(QStringLiteral("confirm_btn"))->click();
            }
        }
    });
    q407::toolkit::CMsgWnd::ShowMessageBox(&owner, QString(), QStringLiteral("message_text_22"),
                                           144, false, 0);
    EXPECT_EQ(shownText, QStringLiteral("message_text_22"));
    EXPECT_EQ(q407::toolkit::ResourceManager::Instance().Dpi(), 144);
    q407::toolkit::ResourceManager::Instance().SetAllDPI(96);
}

TEST_F(ServicesTest, MenusComeFromLayoutFilesWithTranslatedItems) {
    auto menu = q407::toolkit::BuildMenu(QStringLiteral("menu.xml"), nullptr);
    ASSERT_NE(menu, nullptr);
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->objectName(), QStringLiteral("show"));
    EXPECT_EQ(actions[1]->objectName(), QStringLiteral("exit"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Exit"));
    EXPECT_EQ(q407::toolkit::BuildMenu(QStringLiteral("XML/none.xml"), nullptr), nullptr);
    EXPECT_EQ(q407::toolkit::BuildMenu(QStringLiteral("XML_PAGE"), nullptr), nullptr) << "no items";
}

TEST_F(ServicesTest, TrayIconKeepsItsTooltipAndReportsClicks) {
    q407::toolkit::TrayIcon tray;
    std::vector<q407::toolkit::TrayClick> clicks;
    tray.Create(QIcon(), QStringLiteral("Q407"),
                [&](q407::toolkit::TrayClick click) { clicks.push_back(click); });
    EXPECT_TRUE(tray.IsCreated());
    EXPECT_EQ(tray.ToolTip(), QStringLiteral("Q407"));
    tray.Delete();
    EXPECT_FALSE(tray.IsCreated());
}

TEST(ScriptedDialogs, AnswersInOrderAndRecordsQuestions) {
    q407::toolkit::ScriptedDialogs dialogs;
    dialogs.Push(1);
    dialogs.Push(QStringLiteral("/tmp/profile"));
    dialogs.Push(std::monostate{});
    dialogs.Push(QColor(Qt::red));
    EXPECT_EQ(dialogs.MessageBox(nullptr, QString(), QStringLiteral("message_text_27"), true, 1),
              1);
    EXPECT_EQ(dialogs.SaveFile(nullptr, {QStringLiteral("Export"), QStringLiteral("json"), {}, {}}),
              QStringLiteral("/tmp/profile.json"));
    EXPECT_EQ(dialogs.OpenFile(nullptr, {QStringLiteral("Import"), {}, {}, {}}), std::nullopt);
    EXPECT_EQ(dialogs.PickColor(nullptr, Qt::black), QColor(Qt::red));
    EXPECT_EQ(dialogs.MessageBox(nullptr, QString(), QStringLiteral("x"), false, 0), 0)
        << "a dry script cancels";
    EXPECT_EQ(dialogs.Asked(),
              (QStringList{QStringLiteral("box:message_text_27:confirm-cancel"),
                           QStringLiteral("save:Export"), QStringLiteral("open:Import"),
                           QStringLiteral("color"), QStringLiteral("box:x")}));
}

TEST(ScriptedDialogs, InstalledServiceIsTheOneWindowsUse) {
    auto scripted = std::make_unique<q407::toolkit::ScriptedDialogs>();
    q407::toolkit::ScriptedDialogs* raw = scripted.get();
    q407::toolkit::SetDialogs(std::move(scripted));
    EXPECT_EQ(&q407::toolkit::GetDialogs(), raw);
    q407::toolkit::SetDialogs(nullptr);
    EXPECT_NE(dynamic_cast<q407::toolkit::QtDialogs*>(&q407::toolkit::GetDialogs()), nullptr);
}

} // namespace
