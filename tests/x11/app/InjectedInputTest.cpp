// Key capture and macro recording as a person does them, on a real X server: the pointer moves
// and clicks and the keys are typed through XTEST, so every event comes from the X server through
// Qt and the window's own grab (no scripted input source). The mouse is the simulated one.

#include "app/CMainWnd.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "devices/InputCapture.h"
#include "editors/CMacroControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaMouseDevice.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/QtTestUtil.h"
#include "support/UiTestScopes.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"
#include "ui/app/ShellFixture.h"
#include "x11/app/XTestInjector.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace {

namespace dev = q407::devices;
using q407::pages::CKestravaMouseDevice;

// The injector, and Qt's handling of what the server then sent on.
class Injector {
public:
    bool Usable() const { return m_x.Usable(); }
    void Type(unsigned long keysym) {
        m_x.Type(keysym);
        Settle();
    }
    // Clicks `button` (1 left, 3 right) at the middle of `widget`.
    void Click(const QWidget* widget, unsigned button = 1) {
        m_x.Click(widget->mapToGlobal(widget->rect().center()), button);
        Settle();
    }

private:
    static void Settle() {
        testutil::WaitUntil([] { return false; }, 150);
    }

    XTestInjector m_x;
};

class InjectedInputTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString skin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
        ASSERT_TRUE(q407::app::SetupUiResources(skin + QLatin1Char('/')));
    }
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        ASSERT_TRUE(m_input.Usable()) << "the X server offers no XTEST";
        ASSERT_TRUE(m_home.IsValid());
        m_window = std::make_unique<q407::app::CMainWnd>(nullptr, &m_bus);
        ASSERT_TRUE(m_window->Create(QStringLiteral("Q407"), QSize(1000, 640)));
        m_window->move(0, 0);
        ASSERT_TRUE(testutil::WaitUntil([&] { return m_window->isVisible(); }));
        m_mouse = q407::sim::SimulatedProduct::Create(q407::sim::SimProduct::MouseA);
        ASSERT_TRUE(m_mouse->PlugInto(m_bus));
        m_page = ActivatedSelectedPage<CKestravaMouseDevice>(*m_window);
        ASSERT_NE(m_page, nullptr);
        m_window->activateWindow();
        testutil::WaitUntil([&] { return m_window->isActiveWindow(); }, 2000);
    }
    void TearDown() override {
        m_window.reset();
        if (m_mouse) {
            m_mouse->Unplug();
        }
    }

    template <typename T = QWidget>
    T* Find(const char* name) {
        auto* control = qobject_cast<T*>(
            q407::toolkit::FindSubControlByName(m_page, QString::fromLatin1(name)));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    int HookMode() { return m_window->KeyMacro().Hook().Mode(); }

    Injector m_input;
    testutil::UserFolderScope m_home;
    testutil::ScriptedDialogsScope m_scriptedDialogs;
    q407::sim::VirtualHidBus m_bus;
    std::shared_ptr<q407::sim::SimulatedProduct> m_mouse;
    std::unique_ptr<q407::app::CMainWnd> m_window;
    CKestravaMouseDevice* m_page = nullptr;
};

TEST_F(InjectedInputTest, ATypedKeyIsCapturedWhileTheKeyEditHasTheFocus) {
    m_input.Click(Find("key_2"));
    auto* function = Find<QComboBox>("keyset_function_combo");
    function->setCurrentIndex(function->findData(6));
    auto* edit = Find<QLineEdit>("keyset_keyboard_text_edit");
    ASSERT_TRUE(testutil::WaitUntil([&] { return edit->isVisible(); }));

    m_input.Click(edit);
    ASSERT_TRUE(testutil::WaitUntil([&] { return HookMode() == dev::kHookSingleKey; }))
        << "focus on the key edit starts the capture";
    m_input.Type(XK_Control_R);
    m_input.Type(XK_q);
    EXPECT_TRUE(testutil::WaitUntil([&] {
        return m_page->Mouse().GetKeyList().at(2).assignment ==
               std::array<std::uint8_t, 3>{0x20, 0x01, 0x14};
    })) << "Right Ctrl chose the Ctrl option, Q the key";
    EXPECT_EQ(edit->text(),
              q407::toolkit::ResourceManager::Instance().Text(QStringLiteral("keyboard_key_Q")));

    // Focus elsewhere ends the capture; keys typed then change nothing.
    m_input.Click(Find("keyset_function_combo"));
    m_input.Type(XK_Escape); // closes the combo's list
    EXPECT_TRUE(testutil::WaitUntil([&] { return HookMode() == dev::kHookOff; }));
    m_input.Type(XK_w);
    EXPECT_EQ(m_page->Mouse().GetKeyList().at(2).assignment,
              (std::array<std::uint8_t, 3>{0x20, 0x01, 0x14}));
}

TEST_F(InjectedInputTest, TypingAndClickingAreRecordedUntilStopIsClicked) {
    m_page->SelectFeaturePage(3);
    m_scriptedDialogs.Dialogs().Push(1);
    m_input.Click(Find("macro_btn_name_add"));
    auto* macros = m_page->Panels().MacroPanel();
    ASSERT_EQ(macros->MacroCount(), 1);

    m_input.Click(Find("macro_btn_starredio"));
    ASSERT_TRUE(testutil::WaitUntil([&] { return HookMode() == dev::kHookRecord; }));
    m_input.Type(XK_a);
    m_input.Type(XK_Right); // an extended key
    m_input.Click(Find("macro_action_list"), 3);
    m_input.Click(Find("macro_btn_stopredio"));
    ASSERT_TRUE(testutil::WaitUntil([&] { return HookMode() == dev::kHookOff; }))
        << "the click on stop ends the recording";

    using q407::profiles::MacroEvent;
    const std::vector<MacroEvent> expected = {
        {true, 10, 0x04, 0},  {false, 10, 0x04, 0}, {true, 10, 0x4F, 0},
        {false, 10, 0x4F, 0}, {true, 1, 0x02, 0},   {false, 1, 0x02, 0},
    };
    std::vector<MacroEvent> saved = macros->Library().ReadEvents(0);
    for (MacroEvent& event : saved) {
        event.delay = 0; // real time: how long the injection took is not the point here
    }
    EXPECT_EQ(saved, expected) << "A, Right and a right click; the stop click left out";
}

} // namespace
