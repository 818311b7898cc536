// The key assignment, macro and recoil panels of the mouse page in the running main window,
// against the simulated mouse: what the user sets reaches the profile and, once written, the
// mouse's key table, macro memory and recoil memory (read back from the simulator). Captured
// input comes from a scripted source in place of the window's grab, except where the grab itself
// is under test.

#include "ShellFixture.h"
#include "app/CMainWnd.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "devices/InputCapture.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CKeySetControlUI.h"
#include "editors/CMacroControlUI.h"
#include "editors/CShootControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaMouseDevice.h"
#include "pages/PictureControls.h"
#include "protocol/Frame.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/QtTestUtil.h"
#include "support/UiTestScopes.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QStackedWidget>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

namespace dev = q407::devices;
using q407::pages::CKestravaMouseDevice;
using q407::sim::SimProduct;
using q407::sim::SimulatedProduct;

constexpr dev::ScanCode kA{0x1E, false};
constexpr dev::ScanCode kB{0x30, false};

// Stands in for the window's grab: the test types and clicks through the sink it was given.
class ScriptedInput final : public dev::InputSource {
public:
    bool Start(bool withMouse, dev::InputSink& sink) override {
        m_sink = &sink;
        withMouseButtons = withMouse;
        return true;
    }
    void Stop() override { m_sink = nullptr; }
    bool Running() const { return m_sink != nullptr; }
    void Key(dev::ScanCode scan, bool down) {
        ASSERT_NE(m_sink, nullptr) << "nothing captures";
        m_sink->OnKeyInput({down, scan});
    }
    void Button(dev::MouseButton button, bool down, QPoint at) {
        ASSERT_NE(m_sink, nullptr) << "nothing captures";
        m_sink->OnMouseInput({button, down, at.x(), at.y()});
    }
    bool withMouseButtons = false;

private:
    dev::InputSink* m_sink = nullptr;
};

// Which keys reached a widget.
class KeysSeen final : public QObject {
public:
    QList<int> keys;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            keys.append(static_cast<QKeyEvent*>(event)->key());
        }
        return false;
    }
};

class KeyMacroPanelsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(testutil::WaitUntil([&] { return m_window->isVisible(); }));
        m_mouse = Plug(SimProduct::MouseA);
        m_page = ActivatedSelectedPage<CKestravaMouseDevice>(*m_window);
        ASSERT_NE(m_page, nullptr);
        auto input = std::make_unique<ScriptedInput>();
        m_input = input.get();
        m_window->KeyMacro().Hook().SetSource(std::move(input));
    }

    template <typename T = QWidget>
    T* Find(const char* name) {
        auto* control = qobject_cast<T*>(
            q407::toolkit::FindSubControlByName(m_page, QString::fromLatin1(name)));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void Raise(QWidget* sender, const char* type, qint64 w = 0) {
        q407::toolkit::TNotifyUI msg;
        msg.sType = QString::fromLatin1(type);
        msg.pSender = sender;
        msg.wParam = w;
        m_window->Notify(msg);
    }
    void Type(const char* edit, const QString& text) {
        auto* line = Find<QLineEdit>(edit);
        line->setText(text);
        Raise(line, "killfocus");
    }
    void ChooseFunction(int function) {
        auto* combo = Find<QComboBox>("keyset_function_combo");
        combo->setCurrentIndex(combo->findData(function));
    }
    // The three bytes the mouse holds for page key `key`.
    std::array<std::uint8_t, 3> DeviceKey(int key) {
        const int position = m_page->Mouse().KeyMap().at(key);
        const auto table = m_mouse->Firmware().Memory().keyTable;
        const auto at = static_cast<std::size_t>(position) * 3;
        return {table.at(at), table.at(at + 1), table.at(at + 2)};
    }
    std::array<std::uint8_t, 3> StoredKey(int key) {
        return m_page->Mouse().GetKeyList().at(static_cast<std::size_t>(key)).assignment;
    }
    bool Pending() { return Find<QWidget>("key_butt_prosave")->isEnabled(); }
    q407::editors::CMacroControlUI* Macros() { return m_page->Panels().MacroPanel(); }
    QStringList Asked() const { return m_script->Asked(); }

    q407::toolkit::ScriptedDialogs* m_script = &m_dialogs.Dialogs();
    std::shared_ptr<SimulatedProduct> m_mouse;
    CKestravaMouseDevice* m_page = nullptr;
    ScriptedInput* m_input = nullptr;
};

TEST_F(KeyMacroPanelsTest, ACapturedCombinationIsStoredWrittenAndUndoneByDefault) {
    auto* key = Find<q407::pages::CDeviceKeyButtonUI>("key_2");
    ASSERT_FALSE(Find("keyset_layout")->isVisibleTo(m_page)) << "no key chosen yet";
    key->click();
    EXPECT_TRUE(Find("keyset_layout")->isVisibleTo(m_page));
    EXPECT_TRUE(key->IsSelectedForEdit());
    EXPECT_FALSE(Pending());
    const auto factory = DeviceKey(2);

    ChooseFunction(6);
    Find<QAbstractButton>("key_ComBox_check_1")->setChecked(true); // Ctrl
    auto* edit = Find<QLineEdit>("keyset_keyboard_text_edit");
    Raise(edit, "setfocus");
    EXPECT_EQ(m_window->KeyMacro().Hook().Mode(), dev::kHookSingleKey);
    EXPECT_FALSE(m_input->withMouseButtons) << "a key capture leaves the mouse alone";
    m_input->Key(kA, true);
    m_input->Key(kA, false);
    Raise(edit, "killfocus");
    EXPECT_EQ(m_window->KeyMacro().Hook().Mode(), dev::kHookOff);
    EXPECT_FALSE(m_input->Running());

    EXPECT_EQ(edit->text(),
              q407::toolkit::ResourceManager::Instance().Text(QStringLiteral("keyboard_key_A")));
    EXPECT_EQ((StoredKey(2)), (std::array<std::uint8_t, 3>{0x20, 0x01, 0x04}));
    EXPECT_TRUE(Pending());
    EXPECT_EQ(DeviceKey(2), factory) << "stored, not yet written";
    // The profile on disk has it: a fresh read of the file shows it.
    ASSERT_EQ(m_page->Mouse().ReloadKeys(), 1);
    EXPECT_EQ((StoredKey(2)), (std::array<std::uint8_t, 3>{0x20, 0x01, 0x04}));

    // Cancel shows the stored function again after an unstored switch of the function kind.
    ChooseFunction(1);
    Find<QAbstractButton>("key_butt_keycancel")->click();
    EXPECT_EQ(Find<QComboBox>("keyset_function_combo")->currentData().toInt(), 6);
    EXPECT_FALSE(Pending());
    EXPECT_EQ(DeviceKey(2), factory);

    // Shift instead of Ctrl, written: the mouse holds it and the key is marked.
    Find<QAbstractButton>("key_ComBox_check_2")->setChecked(true);
    EXPECT_TRUE(Pending());
    Find<QAbstractButton>("key_butt_prosave")->click();
    EXPECT_EQ((DeviceKey(2)), (std::array<std::uint8_t, 3>{0x20, 0x02, 0x04}));
    EXPECT_TRUE(key->IsMarked());
    EXPECT_FALSE(key->IsFactoryFunction()) << "the picture shows the key does something else";
    EXPECT_FALSE(Pending());

    // Default puts the factory function back on the mouse.
    Find<QAbstractButton>("key_butt_keydefalut")->click();
    EXPECT_EQ(DeviceKey(2), factory);
    EXPECT_FALSE(key->IsMarked());
    EXPECT_TRUE(key->IsFactoryFunction());
    EXPECT_TRUE(Asked().isEmpty()) << Asked().join(QLatin1Char(',')).toStdString();
}

TEST_F(KeyMacroPanelsTest, EveryCategoryOfThePanelReachesTheMouse) {
    Find<QAbstractButton>("key_3")->click();
    struct Case {
        int function;
        const char* control; // the combo choosing a row, or the edit typed into
        int row;
        std::array<std::uint8_t, 3> expected;
    };
    const Case cases[] = {
        {1, "keyset_mousekey_combo", 2, {0x10, 0x02, 0x00}},      // right button
        {4, "keyset_mousedpi_combo", 2, {0x13, 0x03, 0x00}},      // DPI cycle
        {5, "keyset_mousefire_interval_edit", 60, {0x14, 60, 2}}, // fire every 60 ms, twice
        {7, "keyset_media_combo", 1, {0x30, 0xCD, 0x00}},         // play/pause
        {8, "keyset_system_combo", 1, {0x40, 0x02, 0x00}},        // sleep
        {10, "keyset_gunkey_combo", 3, {0x72, 0x03, 0x00}},       // gun 3
        {11, "keyset_combokey_combo", 4, {0x20, 0x10, 0x06}},     // copy
    };
    for (const Case& c : cases) {
        ChooseFunction(c.function);
        if (auto* combo = qobject_cast<QComboBox*>(
                q407::toolkit::FindSubControlByName(m_page, QString::fromLatin1(c.control)))) {
            combo->setCurrentIndex(-1);
            combo->setCurrentIndex(c.row); // stored as the choice is made
        } else {
            Type(c.control, QString::number(c.row)); // stored as the edit is left
        }
        EXPECT_EQ(StoredKey(3), c.expected) << c.function;
        Find<QAbstractButton>("key_butt_prosave")->click();
        EXPECT_EQ(DeviceKey(3), c.expected) << c.function;
    }
    // Swing and wheel: count, delay and speed from their edits, the direction from its combo.
    ChooseFunction(3);
    Find<QComboBox>("keyset_mousewheel_combo")->setCurrentIndex(1);
    Type("keyset_mousewheel_num_edit", QStringLiteral("3"));
    Type("keyset_mousewheel_delay_edit", QStringLiteral("5"));
    Type("keyset_mousewheel_speed_edit", QStringLiteral("28"));
    EXPECT_EQ((StoredKey(3)), (std::array<std::uint8_t, 3>{0x12, 0x35, 100 | 0x80}));
    // A count beyond the four bits it has is held at 15, and the edit says so.
    Type("keyset_mousewheel_num_edit", QStringLiteral("20"));
    EXPECT_EQ((StoredKey(3)), (std::array<std::uint8_t, 3>{0x12, 0xF5, 100 | 0x80}));
    EXPECT_EQ(Find<QLineEdit>("keyset_mousewheel_num_edit")->text(), QStringLiteral("15"));
    // Showing the key again decodes what it holds.
    Find<QAbstractButton>("key_0")->click();
    Find<QAbstractButton>("key_3")->click();
    EXPECT_EQ(Find<QComboBox>("keyset_function_combo")->currentData().toInt(), 3);
    EXPECT_EQ(Find<QLineEdit>("keyset_mousewheel_speed_edit")->text(), QStringLiteral("28"));
    EXPECT_EQ(Find<QComboBox>("keyset_mousewheel_combo")->currentIndex(), 1);
}

TEST_F(KeyMacroPanelsTest, ARecordedMacroIsBoundToAKeyAndReachesTheMouse) {
    m_page->SelectFeaturePage(3);
    m_script->Push(1);
    Find<QAbstractButton>("macro_btn_name_add")->click();
    ASSERT_EQ(Macros()->MacroCount(), 1);
    EXPECT_EQ(Macros()->SelectedMacro(), 0);
    EXPECT_EQ(m_page->Panels().KeyPanel()->MacroCount(), 1) << "the key panel offers it too";

    Find<QAbstractButton>("macro_btn_starredio")->click();
    EXPECT_EQ(m_window->KeyMacro().Hook().Mode(), dev::kHookRecord);
    EXPECT_TRUE(m_input->withMouseButtons);
    EXPECT_FALSE(m_page->ProfilePanel()->isEnabled()) << "no other profile while recording";
    EXPECT_TRUE(Find("macro_btn_starredio")->isHidden());
    EXPECT_TRUE(Find("macro_btn_stopredio")->isEnabled()) << "stop stays within reach";
    EXPECT_FALSE(Find("macro_check_time")->isEnabled()) << "the timing is fixed meanwhile";
    // A held key repeats; a right click is recorded; the left click on stop ends it unrecorded.
    for (const bool down : {true, true, true, false}) {
        m_input->Key(kA, down);
    }
    m_input->Key(kB, true);
    m_input->Key(kB, false);
    const QPoint away = Find("macro_action_list")->mapToGlobal(QPoint(5, 5));
    m_input->Button(dev::MouseButton::Right, true, away);
    m_input->Button(dev::MouseButton::Right, false, away);
    const QPoint stop = Macros()->StopButtonRect().center();
    ASSERT_FALSE(Macros()->StopButtonRect().isEmpty());
    m_input->Button(dev::MouseButton::Left, true, stop);
    m_input->Button(dev::MouseButton::Left, false, stop);

    EXPECT_FALSE(Macros()->IsRecording());
    EXPECT_EQ(m_window->KeyMacro().Hook().Mode(), dev::kHookOff);
    EXPECT_TRUE(m_page->ProfilePanel()->isEnabled());
    ASSERT_EQ(Macros()->Events().events.size(), 6u);
    EXPECT_EQ(Find<QTableWidget>("macro_action_list")->rowCount(), 6);
    const auto stored = Macros()->Library().ReadEvents(0);
    EXPECT_EQ(stored.size(), 6u) << "the recording is saved when it stops";

    // Bound to key 4 with a repeat count, then written: the key table names the first macro of
    // the image and the macro memory holds it.
    Find<QAbstractButton>("key_4")->click();
    ChooseFunction(9);
    Find<QComboBox>("keyset_macro_combo")->setCurrentIndex(0);
    Find<QComboBox>("keyset_macro_over_combo")->setCurrentIndex(4);
    EXPECT_TRUE(Find("keyset_macro_cycle_layout")->isVisibleTo(m_page->Panels().KeyPanel()));
    Type("keyset_macro_cycle_edit", QStringLiteral("3"));
    EXPECT_EQ((StoredKey(4)), (std::array<std::uint8_t, 3>{0x71, 0x00, 0x03}));
    const auto emptyMacros = m_mouse->Firmware().MacroMemory();
    Find<QAbstractButton>("key_butt_prosave")->click();
    EXPECT_EQ((DeviceKey(4)), (std::array<std::uint8_t, 3>{0x71, 0x00, 0x03}));
    EXPECT_NE(m_mouse->Firmware().MacroMemory(), emptyMacros);
    EXPECT_EQ(Asked(), QStringList{QStringLiteral("box:message_text_28:confirm-cancel")})
        << "the write tells nothing when it succeeds";

    // Deleting it asks twice (it is in use); the key gives it up and the mouse follows.
    m_script->Push(1);
    m_script->Push(1);
    Find<QAbstractButton>("macro_btn_name_sub")->click();
    EXPECT_TRUE(Asked().contains(QStringLiteral("box:message_text_4:confirm-cancel")));
    EXPECT_TRUE(Asked().contains(QStringLiteral("box:message_text_2:confirm-cancel")));
    EXPECT_EQ(Macros()->MacroCount(), 0);
    EXPECT_EQ(m_page->Panels().KeyPanel()->MacroCount(), 0);
    EXPECT_NE(StoredKey(4)[0], 0x71);
    EXPECT_EQ(DeviceKey(4), StoredKey(4));
}

TEST_F(KeyMacroPanelsTest, EventRowsAreEditedAndDeclinedDeletionsKeepTheMacro) {
    m_page->SelectFeaturePage(3);
    m_script->Push(1);
    Find<QAbstractButton>("macro_btn_name_add")->click();
    ASSERT_EQ(Macros()->SelectedMacro(), 0);
    Find<QAbstractButton>("macro_btn_starredio")->click();
    m_input->Key(kA, true);
    m_input->Key(kA, false);
    Find<QAbstractButton>("macro_btn_stopredio")->click();
    ASSERT_EQ(Macros()->Events().events.size(), 2u);

    // A click and a move inserted after the selected row, each saved at once.
    Macros()->SelectEvent(0);
    auto* rows = Find<QTableWidget>("macro_action_list");
    QContextMenuEvent menuAt(QContextMenuEvent::Mouse, QPoint(5, 5),
                             rows->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(rows->viewport(), &menuAt);
    QMenu* menu = nullptr;
    ASSERT_TRUE(testutil::WaitUntil([&] {
        menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu != nullptr;
    })) << "the rows' menu opens";
    auto* item = menu->findChild<QAction*>(QStringLiteral("middle_click"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    Type("mouse_x_left_edit", QStringLiteral("7"));
    Find<QAbstractButton>("macro_inset_moveleftkey_btn")->click();
    auto saved = Macros()->Library().ReadEvents(0);
    ASSERT_EQ(saved.size(), 5u);
    EXPECT_EQ(saved[1].type, 1);
    EXPECT_EQ(saved[1].button, 0x04);
    EXPECT_TRUE(saved[1].down);
    EXPECT_FALSE(saved[2].down);
    EXPECT_EQ(saved[3].type, 4);
    EXPECT_EQ(saved[3].button, 7);

    // A typed delay is held at 65535; the bottom row moves to the top.
    Macros()->CommitDelay(4, QStringLiteral("99999"));
    EXPECT_EQ(Macros()->Library().ReadEvents(0)[4].delay, 65535);
    Macros()->SelectEvent(4);
    Find<QAbstractButton>("macro_btn_uptop")->click();
    EXPECT_EQ(Macros()->Library().ReadEvents(0)[0].delay, 65535);
    EXPECT_EQ(rows->rowCount(), 5);

    // Exported as a ".mac" file and imported back as a second macro with the same events.
    const QString file = m_home.Path() + QStringLiteral("/exported.mac");
    m_script->Push(file);
    Find<QAbstractButton>("macro_btn_export")->click();
    m_script->Push(file);
    Find<QAbstractButton>("macro_btn_import")->click();
    ASSERT_EQ(Macros()->MacroCount(), 2);
    EXPECT_EQ(Macros()->MacroNames()[1], "exported");
    EXPECT_EQ(Macros()->Library().ReadEvents(1), Macros()->Library().ReadEvents(0));
    EXPECT_EQ(m_page->Panels().KeyPanel()->MacroCount(), 2);
    Macros()->SelectMacro(0);

    // Renamed in the list itself: a name in use (case aside) is refused and the row shows the
    // stored name again; a free one is taken everywhere.
    auto* names = Find<QListWidget>("macro_name_list");
    const QString before = names->item(0)->text();
    names->item(0)->setText(QStringLiteral("EXPORTED"));
    EXPECT_EQ(Asked().last(),
              QStringLiteral("box:") + q407::toolkit::ResourceManager::Instance().Text(
                                           QStringLiteral("message_text_5")));
    EXPECT_EQ(names->item(0)->text(), before);
    EXPECT_EQ(Macros()->MacroNames()[0], before.toStdString());
    names->item(0)->setText(QStringLiteral("Burst"));
    EXPECT_EQ(Macros()->Library().Load()[0].name, "Burst");
    EXPECT_EQ(names->item(0)->text(), QStringLiteral("Burst"));
    EXPECT_EQ(Find<QLineEdit>("macro_edit_macroname")->text(), QStringLiteral("Burst"));

    // Declining the deletion changes nothing; delete all empties the macro.
    m_script->Push(0);
    Find<QAbstractButton>("macro_btn_name_sub")->click();
    EXPECT_EQ(Macros()->MacroCount(), 2);
    Find<QAbstractButton>("macro_btn_deleteall")->click();
    EXPECT_TRUE(Macros()->Library().ReadEvents(0).empty());
    EXPECT_EQ(rows->rowCount(), 0);
}

TEST_F(KeyMacroPanelsTest, RecoilEditsAreHeldVisiblyAndTheFourGunsReachTheMouse) {
    m_page->SelectKeyPanel(1);
    EXPECT_EQ(Find<QStackedWidget>("mouse_key_panel_switch")->currentIndex(), 1);
    auto* recoil = m_page->Panels().ShootPanel();
    ASSERT_NE(recoil, nullptr);
    Find<QAbstractButton>("shoot_gun_op_2")->setChecked(true);
    Find<QAbstractButton>("bullet_op_5")->setChecked(true);
    ASSERT_EQ(recoil->SelectedGun(), 2);
    ASSERT_EQ(recoil->SelectedBullet(), 5);

    struct Case {
        const char* edit;
        const char* typed;
        const char* shown;
    };
    for (const Case& c : {Case{"bullet_x_eidt", "300", "255"}, Case{"bullet_y_eidt", "12", "12"},
                          Case{"bullet_delay_eidt", "70000", "65535"}}) {
        Type(c.edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(Find<QLineEdit>(c.edit)->text(), QString::fromLatin1(c.shown)) << c.edit;
    }
    const q407::profiles::Bullet bullet = recoil->Tables().ReadBullet(2, 5);
    EXPECT_EQ(bullet.x, 255);
    EXPECT_EQ(bullet.y, 12);
    EXPECT_EQ(bullet.delay, 65535);

    m_mouse->Firmware().ClearRequests();
    Find<QAbstractButton>("shootdate_save_btn")->click();
    const std::vector<std::uint8_t> image = recoil->Tables().BuildImage();
    ASSERT_EQ(image.size(), 2920u);
    const auto memory = m_mouse->Firmware().RecoilMemory();
    ASSERT_GE(memory.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin()));
    std::vector<std::uint8_t> commands;
    for (const auto& request : m_mouse->Firmware().Requests()) {
        const std::uint8_t command = request[q407::protocol::kPosCommand];
        if (commands.empty() || commands.back() != command) {
            commands.push_back(command);
        }
    }
    EXPECT_EQ(commands, (std::vector<std::uint8_t>{0x01, 0x03, 0x17, 0x02}));
    EXPECT_EQ(m_mouse->Firmware().RequestCount(0x17), (2920 + 55) / 56);

    EXPECT_TRUE(Asked().isEmpty());

    // A mouse that refuses a piece is told about; the next write goes through.
    m_mouse->Firmware().StatusOnChunk(0x17, 3, 0xFF);
    Find<QAbstractButton>("shootdate_save_btn")->click();
    const QString failed =
        q407::toolkit::ResourceManager::Instance().Text(QStringLiteral("shoot_write_failed_text"));
    EXPECT_EQ(Asked(), QStringList{QStringLiteral("box:") + failed});
    Find<QAbstractButton>("shootdate_save_btn")->click();
    EXPECT_EQ(Asked().size(), 1);

    // The bullet steppers stop at the first and the last bullet.
    Find<QAbstractButton>("bullet_op_29")->setChecked(true);
    Find<QAbstractButton>("bullet_selected_next")->click();
    EXPECT_EQ(recoil->SelectedBullet(), 29);
    EXPECT_EQ(Find<QLabel>("bullet_select_index")->text(), QStringLiteral("30"));
    Find<QAbstractButton>("bullet_op_0")->setChecked(true);
    Find<QAbstractButton>("bullet_selected_prev")->click();
    EXPECT_EQ(recoil->SelectedBullet(), 0);
    Find<QAbstractButton>("bullet_op_5")->setChecked(true);

    // A gun exported and imported over another one gives it the same table.
    const QString gunFile = m_home.Path() + QStringLiteral("/gun.shoot");
    m_script->Push(gunFile);
    Find<QAbstractButton>("shootdate_export_btn")->click();
    Find<QAbstractButton>("shoot_gun_op_0")->setChecked(true);
    m_script->Push(gunFile);
    Find<QAbstractButton>("shootdate_import_btn")->click();
    EXPECT_EQ(recoil->Tables().ReadBullet(0, 5), bullet);
    EXPECT_EQ(Find<QLineEdit>("bullet_x_eidt")->text(), QStringLiteral("255")) << "shown at once";
    Find<QAbstractButton>("shoot_gun_op_2")->setChecked(true);

    // Reset brings the factory bullet back.
    Find<QAbstractButton>("shootdate_reset_btn")->click();
    EXPECT_NE(recoil->Tables().ReadBullet(2, 5), bullet);
    EXPECT_NE(Find<QLineEdit>("bullet_x_eidt")->text(), QStringLiteral("255"));
}

TEST_F(KeyMacroPanelsTest, TheWindowsGrabTakesKeysAndLetsLockKeysThrough) {
    // The window's own grab, as q407 runs it: keys reach the capture and not the focused edit.
    m_window->KeyMacro().Hook().SetSource(nullptr);
    Find<QAbstractButton>("key_2")->click();
    ChooseFunction(6);
    auto* edit = Find<QLineEdit>("keyset_keyboard_text_edit");
    KeysSeen seen;
    edit->installEventFilter(&seen);
    const auto name = [](const char* id) {
        return q407::toolkit::ResourceManager::Instance().Text(QString::fromLatin1(id));
    };
    struct Case {
        quint32 xKeycode;
        Qt::Key key;
        bool capturing;
        bool reachesTheEdit;
        const char* shown; // text id of what the edit shows afterwards
    };
    // A (X key code 38) is taken; Caps Lock (66) is taken and passed on, so it still toggles;
    // with the capture ended, keys reach the edit again and change nothing.
    const Case cases[] = {{38, Qt::Key_A, true, false, "keyboard_key_A"},
                          {66, Qt::Key_CapsLock, true, true, "keyboard_key_Caplk"},
                          {56, Qt::Key_B, false, true, "keyboard_key_Caplk"}};
    for (const Case& c : cases) {
        Raise(edit, c.capturing ? "setfocus" : "killfocus");
        seen.keys.clear();
        QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier, c.xKeycode, 0, 0);
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, c.key, Qt::NoModifier, c.xKeycode, 0, 0);
        QApplication::sendEvent(edit, &release);
        EXPECT_EQ(seen.keys.contains(c.key), c.reachesTheEdit) << c.xKeycode;
        EXPECT_EQ(edit->text(), name(c.shown)) << c.xKeycode;
    }
    EXPECT_EQ(m_window->KeyMacro().Hook().Mode(), dev::kHookOff);
}

} // namespace
