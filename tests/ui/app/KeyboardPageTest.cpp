// The keyboard page in the running main window, with the simulated keyboard by cable and through
// its receiver: the picture's keys, each system setting as it reaches the keyboard's memory (read
// back from the simulator) and the profile file, the lighting panel's keyboard selectors and
// custom colours, the rubber band, streaming in the host-driven modes, the macro download order,
// and a PNG of every tab at 96 DPI and one at 144 DPI.

#include "ShellFixture.h"
#include "app/CMainWnd.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "editors/CMacroControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaKeyboardDevice.h"
#include "pages/PictureControls.h"
#include "profiles/CMacroLibrary.h"
#include "profiles/JsonFile.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/QtTestUtil.h"
#include "support/UiTestScopes.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QStackedWidget>
#include <gtest/gtest.h>

namespace {

using q407::pages::CDeviceKeyButtonUI;
using q407::pages::CKestravaKeyboardDevice;
using q407::sim::SimProduct;
using q407::sim::SimulatedProduct;
namespace kbb = q407::devices::keyboard_block;

constexpr int kKeyO = 51;
constexpr int kKeyP = 52;

class KeyboardPageTest : public ::testing::TestWithParam<SimProduct> {
protected:
    static void SetUpTestSuite() {
        const QString skin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
        ASSERT_TRUE(q407::app::SetupUiResources(skin + QLatin1Char('/')));
    }
    void SetUp() override {
        ASSERT_TRUE(m_home.IsValid());
        m_window = std::make_unique<q407::app::CMainWnd>(nullptr, &m_bus);
        ASSERT_TRUE(m_window->Create(QStringLiteral("Q407"), QSize(1000, 640)));
        ASSERT_TRUE(testutil::WaitUntil([&] { return m_window->isVisible(); }));
        m_keyboard = SimulatedProduct::Create(GetParam());
        ASSERT_TRUE(m_keyboard->PlugInto(m_bus));
        m_page = ActivatedPage();
        ASSERT_NE(m_page, nullptr);
    }
    void TearDown() override {
        m_window.reset();
        if (m_keyboard) {
            m_keyboard->Unplug();
        }
    }

    CKestravaKeyboardDevice* ActivatedPage() {
        return ActivatedSelectedPage<CKestravaKeyboardDevice>(*m_window);
    }
    std::vector<std::uint8_t> DeviceBlock() {
        const auto memory = m_keyboard->Firmware().Memory().settingsMemory;
        return {memory.begin(), memory.begin() + kbb::kSize};
    }
    Json::Value ProfileEntry() {
        return q407::profiles::ReadJsonFile(m_page->Keyboard().GetProfilePath())["Device"][0];
    }
    q407::devices::Rgb GroupColour(int group, int key) {
        const auto memory = m_keyboard->Firmware().Memory().indexedMemory;
        const std::size_t at = group * 512 + 3 * m_page->Keyboard().LedMap()[key];
        return {memory[at], memory[at + 1], memory[at + 2]};
    }
    template <typename T>
    T* Find(const QString& name) {
        return qobject_cast<T*>(q407::toolkit::FindSubControlByName(m_page, name));
    }
    void Raise(QWidget* sender, const char* type, qint64 w = 0) {
        ASSERT_NE(sender, nullptr) << type;
        q407::toolkit::TNotifyUI msg;
        msg.sType = QString::fromLatin1(type);
        msg.pSender = sender;
        msg.wParam = w;
        m_window->Notify(msg);
    }
    void ShowFeature(int feature) {
        m_page->ProfilePanel()->SelectFeatureTab(feature);
        m_page->SelectFeaturePage(feature);
    }
    void SelectMode(int mode) {
        auto* combo = Find<QComboBox>(QStringLiteral("light_combo_modeSelect"));
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(mode); // raises itemselect
        ASSERT_EQ(m_page->Keyboard().GetLightParams().mode, mode);
    }
    QString Screenshots() {
        const QString folder = QStringLiteral(Q407_BIN_DIR "/screenshots");
        EXPECT_TRUE(QDir().mkpath(folder));
        return folder;
    }
    const char* Suffix() const {
        return GetParam() == SimProduct::KeyboardK ? "cable" : "receiver";
    }

    testutil::UserFolderScope m_home;
    testutil::ScriptedDialogsScope m_scriptedDialogs;
    q407::sim::VirtualHidBus m_bus;
    std::shared_ptr<SimulatedProduct> m_keyboard;
    q407::toolkit::ScriptedDialogs* m_dialogs = &m_scriptedDialogs.Dialogs();
    std::unique_ptr<q407::app::CMainWnd> m_window;
    CKestravaKeyboardDevice* m_page = nullptr;
};

TEST_P(KeyboardPageTest, EveryLogicalKeyHasItsButtonsAndTheFnKeyFollowsTheTab) {
    int shown = 0;
    for (int key = 0; key < 126; ++key) {
        CDeviceKeyButtonUI* button = m_page->KeyButton(key);
        ASSERT_NE(button, nullptr) << key;
        ASSERT_NE(m_page->LightButton(key), nullptr) << key;
        shown += button->isHidden() ? 0 : 1;
        EXPECT_FALSE(button->text().startsWith(QLatin1String("keyboard_key_")))
            << "key " << key << " has its name in the language: " << button->text().toStdString();
    }
    EXPECT_EQ(shown, 122) << "the four keys without a function are hidden";
    EXPECT_FALSE(m_page->KeyButton(0)->text().isEmpty()) << "caps carry their key names";
    EXPECT_TRUE(m_page->KeyButton(kKeyO)->toolTip().contains(m_page->KeyButton(kKeyO)->text()));
    // FN can be pressed on the lighting tab, never reassigned on the keys tab.
    ShowFeature(2);
    EXPECT_FALSE(m_page->KeyButton(110)->isEnabled());
    ShowFeature(1);
    EXPECT_TRUE(m_page->KeyButton(110)->isEnabled());
}

TEST_P(KeyboardPageTest, EverySystemSettingReachesTheKeyboardAndTheProfile) {
    ShowFeature(4);
    struct Case {
        const char* option;
        std::size_t byte;
        const char* key;
    };
    for (const Case c : {Case{"winlockflag_option", kbb::kWinLock, "WinFlag"},
                         Case{"wflag_option", kbb::kWFlag, "WFlag"},
                         Case{"6flag_option", kbb::kKey6, "Key6Flag"}}) {
        auto* option = Find<QAbstractButton>(QString::fromLatin1(c.option));
        ASSERT_NE(option, nullptr) << c.option;
        option->setChecked(true); // raises selectchanged through the toolkit
        EXPECT_EQ(DeviceBlock()[c.byte], 1) << c.option;
        EXPECT_EQ(ProfileEntry()["SystemStages"][c.key].asInt(), 1) << c.option;
        option->setChecked(false);
        EXPECT_EQ(DeviceBlock()[c.byte], 0) << c.option;
    }
    // Repeat delay and rate are kept by the host: in the profile, not in the keyboard.
    const int writes = m_keyboard->Firmware().RequestCount(0x06);
    Find<QAbstractButton>(QStringLiteral("repeat_delay_check_2"))->setChecked(true);
    EXPECT_EQ(ProfileEntry()["SystemStages"]["RepeatDelay"].asInt(), 2);
    const QString label = Find<QLabel>(QStringLiteral("repeat_delay_time_label1"))->text();
    EXPECT_TRUE(label.startsWith(m_page->TextOf(QStringLiteral("Repeat_Delay_Time"))));
    EXPECT_TRUE(label.endsWith(QStringLiteral("750ms"))) << label.toStdString();
    auto* rate = Find<QSlider>(QStringLiteral("repeat_rate_slider"));
    rate->setValue(12);
    EXPECT_EQ(ProfileEntry()["SystemStages"]["Repeat"].asInt(), 12);
    EXPECT_EQ(m_keyboard->Firmware().RequestCount(0x06), writes);

    auto* test = Find<QLineEdit>(QStringLiteral("repeat_input_richedit"));
    test->setText(QStringLiteral("aaaaaaa"));
    Raise(Find<QWidget>(QStringLiteral("reset_repeat_btn")), "click");
    EXPECT_TRUE(test->text().isEmpty());
    // The keyboard's report rate is shown, not changed here.
    EXPECT_TRUE(Find<QAbstractButton>(QStringLiteral("polling_rate_option_0"))->isChecked());
}

TEST_P(KeyboardPageTest, TheKeyboardsOwnProfileSwitchIsReadBack) {
    ShowFeature(4);
    const int channel = GetParam() == SimProduct::KeyboardK ? 1 : 9;
    ASSERT_TRUE(testutil::WaitUntil([&] { return m_page->Model().IsListening(channel); }));
    // The keyboard's own keys switched the Win lock on: it says so with 0x0402.
    m_keyboard->Firmware().SetSettingsByte(kbb::kWinLock, 1);
    ASSERT_TRUE(m_keyboard->EmitProfileResync());
    auto* option = Find<QAbstractButton>(QStringLiteral("winlockflag_option"));
    EXPECT_TRUE(testutil::WaitUntil([&] { return option->isChecked(); }, 4000));
    EXPECT_EQ(ProfileEntry()["SystemStages"]["WinFlag"].asInt(), 1);
}

TEST_P(KeyboardPageTest, KeyboardSelectorsAndCustomColoursReachTheKeyboard) {
    SelectMode(17);
    auto* zzcc = Find<QComboBox>(QStringLiteral("light_combo_ZZCCmodeSelect"));
    ASSERT_NE(zzcc, nullptr);
    zzcc->setCurrentIndex(2);
    EXPECT_EQ(DeviceBlock()[kbb::kSecondaryMode], 2);
    EXPECT_EQ(ProfileEntry()["LightInfo"]["ZZCCLedMode"].asInt(), 2);

    SelectMode(q407::devices::kCustomColourMode);
    auto* groups = Find<QComboBox>(QStringLiteral("light_combo_custommodeSelect"));
    ASSERT_NE(groups, nullptr);
    groups->setCurrentIndex(1);
    EXPECT_EQ(DeviceBlock()[kbb::kCustomGroup], 1);
    EXPECT_EQ(ProfileEntry()["LightInfo"]["CustomGroup"].asInt(), 1);

    // The palette's colour fills every key; "off" blackens them.
    m_page->LightPanel()->SetPaletteColour(0xFF204060);
    Raise(Find<QWidget>(QStringLiteral("custom_bright_color_btn")), "click");
    EXPECT_EQ(GroupColour(1, 0), (q407::devices::Rgb{0x20, 0x40, 0x60}));
    Raise(Find<QWidget>(QStringLiteral("custom_off_color_btn")), "click");
    EXPECT_EQ(GroupColour(1, kKeyO), (q407::devices::Rgb{0, 0, 0}));

    // A click on a key on the lighting tab paints it.
    m_page->LightPanel()->SetPaletteColour(0xFFFF8000);
    Raise(m_page->KeyButton(kKeyO), "click");
    EXPECT_EQ(GroupColour(1, kKeyO), (q407::devices::Rgb{0xFF, 0x80, 0}));
    EXPECT_EQ(GroupColour(1, kKeyP), (q407::devices::Rgb{0, 0, 0}));
    EXPECT_EQ(ProfileEntry()["CustomLightMode"]["LightColorInfo"][1][kKeyO]["Red"].asInt(), 0xFF);
}

TEST_P(KeyboardPageTest, TheRubberBandPaintsTheKeysItMeets) {
    SelectMode(q407::devices::kCustomColourMode);
    m_page->LightPanel()->SetPaletteColour(0xFF00FF00);
    auto* panel = Find<QWidget>(QStringLiteral("device_key_light"));
    ASSERT_NE(panel, nullptr);
    CDeviceKeyButtonUI* o = m_page->KeyButton(kKeyO);
    CDeviceKeyButtonUI* p = m_page->KeyButton(kKeyP);
    // From the middle of O to the middle of P, ending beyond the panel's bottom edge.
    const QPoint from = o->mapTo(panel, o->rect().center());
    const QPoint to(p->mapTo(panel, p->rect().center()).x(), panel->height() + 40);
    // The key grabs the pointer on the press, so every event of the drag goes to it.
    const auto send = [o](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), o->mapToGlobal(QPointF(at)), Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(o, &event);
    };
    send(QEvent::MouseButtonPress, o->rect().center(), Qt::LeftButton);
    send(QEvent::MouseMove, o->mapFrom(panel, (from + to) / 2), Qt::LeftButton);
    send(QEvent::MouseMove, o->mapFrom(panel, to), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, o->mapFrom(panel, to), Qt::NoButton);
    EXPECT_EQ(GroupColour(0, kKeyO), (q407::devices::Rgb{0, 0xFF, 0}));
    EXPECT_EQ(GroupColour(0, kKeyP), (q407::devices::Rgb{0, 0xFF, 0}));
    EXPECT_EQ(GroupColour(0, 93), (q407::devices::Rgb{0, 0xFF, 0}))
        << ". lies below, inside the band";
    EXPECT_NE(GroupColour(0, 0), (q407::devices::Rgb{0, 0xFF, 0})) << "Esc lies outside";
    EXPECT_FALSE(o->isDown()) << "the drag is no click";
}

TEST_P(KeyboardPageTest, HostStreamedModesStreamAndTheLightsFollowTheFrame) {
    SelectMode(q407::devices::kColourInputMode);
    EXPECT_EQ(DeviceBlock()[kbb::kEffect], q407::devices::kHostStreamedEffect);
    // The colour input arrives as a data block from the outside program.
    std::array<std::int32_t, 6> input{10, 200, 90, 0, 0, 0};
    ASSERT_TRUE(m_window->OnDataBlock(
        2, QByteArray(reinterpret_cast<const char*>(input.data()), sizeof(input))));
    const int frames = m_keyboard->Firmware().LightFramesCompleted();
    EXPECT_TRUE(testutil::WaitUntil(
        [&] {
            const QColor light = q407::pages::LightColour(m_page->LightButton(kKeyO));
            return m_keyboard->Firmware().LightFramesCompleted() > frames + 2 &&
                   light.red() == 10 && light.green() == 200 && light.blue() == 90;
        },
        4000));
    const auto frame = m_keyboard->Firmware().LightFrame();
    const std::size_t at = 3U * m_page->Keyboard().LedMap()[kKeyO];
    EXPECT_GT(frame[at + 1], frame[at]) << "the keyboard shows the input's colour";

    // The sliders of the capture program's colour show in this mode only, each with its value.
    auto* sliders = Find<QWidget>(QStringLiteral("light_colourinput_layout"));
    ASSERT_NE(sliders, nullptr);
    EXPECT_TRUE(sliders->isVisible());
    auto* green = Find<QSlider>(QStringLiteral("G_light_slider"));
    ASSERT_NE(green, nullptr);
    green->setValue(100);
    EXPECT_EQ(q407::toolkit::ControlText(Find<QWidget>(QStringLiteral("G_light_label"))),
              QStringLiteral("G 100"));
    EXPECT_EQ(q407::toolkit::ControlText(Find<QWidget>(QStringLiteral("R_light_label"))),
              QStringLiteral("R 255"));
    SelectMode(1);
    EXPECT_FALSE(sliders->isVisible());
    SelectMode(q407::devices::kColourInputMode);

    // Hidden, the window paints nothing, and the keyboard still gets its frames.
    m_window->hide();
    m_window->Pages()->SetPreviewsPaused(true);
    const int hidden = m_keyboard->Firmware().LightFramesCompleted();
    EXPECT_TRUE(testutil::WaitUntil(
        [&] { return m_keyboard->Firmware().LightFramesCompleted() > hidden + 2; }, 4000));
    // On another tab the lights are dark.
    m_window->show();
    m_window->Pages()->SetPreviewsPaused(false);
    ShowFeature(4);
    EXPECT_EQ(q407::pages::LightColour(m_page->LightButton(kKeyO)).alpha(), 0);
}

TEST_P(KeyboardPageTest, KeyPressReportsLightTheKeyInTheReactiveMode) {
    SelectMode(7);
    // The event interface may arrive after the command interface: report once it is read.
    const int channel = GetParam() == SimProduct::KeyboardK ? 1 : 9;
    ASSERT_TRUE(testutil::WaitUntil([&] { return m_page->Model().IsListening(channel); }));
    ASSERT_TRUE(m_keyboard->EmitKeyPress(kKeyO));
    EXPECT_TRUE(testutil::WaitUntil(
        [&] { return q407::pages::LightColour(m_page->LightButton(kKeyO)).alpha() > 0; }, 4000));
}

TEST_P(KeyboardPageTest, AppliedProfileWritesMacrosKeyTableAndColours) {
    q407::profiles::CMacroLibrary library(m_page->Keyboard().GetProfileFolder());
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(library.NewMacro(), q407::profiles::CMacroLibrary::kDone);
    }
    ASSERT_EQ(library.SaveEvents(4, {{true, 10, 4, 20}}), 1);
    ASSERT_EQ(library.SaveEvents(1, {{true, 10, 4, 21}}), 1);
    ASSERT_TRUE(m_page->Keyboard().SetKeyFunction(1, 0x700400));
    ASSERT_TRUE(m_page->Keyboard().SetKeyFunction(2, 0x700100));
    ASSERT_TRUE(m_page->Keyboard().SetKeyFunction(3, 0x700400));
    EXPECT_EQ(m_page->ApplySelectedProfile(), 0);
    const auto table = m_keyboard->Firmware().Memory().keyTable;
    EXPECT_EQ((std::vector<int>{table[3], table[4], table[6], table[7], table[9], table[10]}),
              (std::vector<int>{0x70, 0, 0x70, 1, 0x70, 0}));
    EXPECT_EQ(m_keyboard->Firmware().MacroMemory()[4], 2);
    EXPECT_TRUE(m_dialogs->Asked().isEmpty());
    EXPECT_FALSE(m_page->KeyButton(1)->IsFactoryFunction()) << "the key shows it was changed";

    // A keyboard that refuses the key table: the user is told.
    m_keyboard->Firmware().StatusOnChunk(0x09, 0, 0xFF);
    m_dialogs->Push(1);
    Raise(Find<QWidget>(QStringLiteral("device_profile_combo")), "itemselect");
    const QString told =
        q407::toolkit::ResourceManager::Instance().Text(QStringLiteral("message_text_7"));
    EXPECT_TRUE(m_dialogs->Asked().join(QLatin1Char(' ')).contains(told))
        << m_dialogs->Asked().join(QLatin1Char(' ')).toStdString();
}

TEST_P(KeyboardPageTest, TheKeyPanelAndTheMacroPanelReachTheKeyboard) {
    ShowFeature(2);
    const auto deviceKey = [&](int key) {
        const auto table = m_keyboard->Firmware().Memory().keyTable;
        const std::size_t at = 3 * static_cast<std::size_t>(m_page->Keyboard().PositionMap()[key]);
        return std::vector<int>{table[at], table[at + 1], table[at + 2]};
    };
    m_page->KeyButton(10)->click();
    auto* function = Find<QComboBox>(QStringLiteral("keyset_function_combo"));
    ASSERT_NE(function, nullptr);
    EXPECT_TRUE(Find<QWidget>(QStringLiteral("keyset_layout"))->isVisibleTo(m_page));
    EXPECT_EQ(function->findData(4), -1) << "a keyboard has no DPI keys";
    EXPECT_EQ(function->findData(10), -1) << "nor gun keys";

    // Sleep on key 10, written.
    function->setCurrentIndex(function->findData(8));
    Find<QComboBox>(QStringLiteral("keyset_system_combo"))->setCurrentIndex(1);
    Find<QAbstractButton>(QStringLiteral("key_butt_prosave"))->click();
    EXPECT_EQ(deviceKey(10), (std::vector<int>{0x40, 0x02, 0x00}));
    EXPECT_TRUE(m_page->KeyButton(10)->IsMarked());
    EXPECT_FALSE(m_page->KeyButton(10)->IsFactoryFunction());

    // A macro made in the macro tab, bound to key 11 and written with its image.
    ShowFeature(3);
    m_dialogs->Push(1);
    Find<QAbstractButton>(QStringLiteral("macro_btn_name_add"))->click();
    ASSERT_EQ(m_page->Panels().MacroPanel()->MacroCount(), 1);
    Find<QAbstractButton>(QStringLiteral("macro_inset_moveleftkey_btn"))->click();
    ShowFeature(2);
    m_page->KeyButton(11)->click();
    function->setCurrentIndex(function->findData(9));
    auto* macro = Find<QComboBox>(QStringLiteral("keyset_macro_combo"));
    macro->setCurrentIndex(-1);
    macro->setCurrentIndex(0); // stored as the choice is made
    const auto before = m_keyboard->Firmware().MacroMemory();
    Find<QAbstractButton>(QStringLiteral("key_butt_prosave"))->click();
    EXPECT_EQ(deviceKey(11)[0], 0x70);
    EXPECT_EQ(deviceKey(11)[1], 0) << "the first macro of the image";
    EXPECT_NE(m_keyboard->Firmware().MacroMemory(), before);
    EXPECT_EQ(deviceKey(10), (std::vector<int>{0x40, 0x02, 0x00})) << "key 10 kept";
    EXPECT_EQ(m_dialogs->Asked().size(), 1)
        << m_dialogs->Asked().join(QLatin1Char(',')).toStdString();
}

TEST_P(KeyboardPageTest, ScreenshotsOfEveryTab) {
    m_window->resize(1000, 640);
    for (const auto& [feature, name] :
         {std::pair{1, "lighting"}, std::pair{2, "keys"}, std::pair{3, "macros"},
          std::pair{4, "system"}, std::pair{9, "about"}}) {
        ShowFeature(feature);
        if (feature == 1) {
            SelectMode(1);
        }
        testutil::WaitUntil([] { return false; }, 120); // a few frames of the engine
        const QImage shot = m_window->grab().toImage();
        EXPECT_EQ(m_window->size(), QSize(1000, 640)) << "the page fits the window: " << name;
        const QString file =
            QStringLiteral("%1/keyboard-%2-%3.png")
                .arg(Screenshots(), QString::fromLatin1(Suffix()), QString::fromLatin1(name));
        EXPECT_TRUE(shot.save(file)) << file.toStdString();
    }
    SelectMode(q407::devices::kCustomColourMode);
    testutil::WaitUntil([] { return false; }, 60);
    EXPECT_TRUE(
        m_window->grab().toImage().save(QStringLiteral("%1/keyboard-%2-custom.png")
                                            .arg(Screenshots(), QString::fromLatin1(Suffix()))));
}

TEST_P(KeyboardPageTest, ScreenshotAt144Dpi) {
    auto& resources = q407::toolkit::ResourceManager::Instance();
    resources.SetAllDPI(96);
    m_window->resize(1000, 640);
    resources.SetAllDPI(144);
    ShowFeature(1);
    testutil::WaitUntil([] { return false; }, 80);
    const QImage shot = m_window->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral("%1/keyboard-%2-144dpi.png")
                              .arg(Screenshots(), QString::fromLatin1(Suffix()))));
    // The picture keeps its keys on their caps: O lies right of I and above K at every DPI.
    EXPECT_GT(m_page->KeyButton(kKeyO)->x(), m_page->KeyButton(50)->x());
    EXPECT_LT(m_page->KeyButton(kKeyO)->y(), m_page->KeyButton(71)->y());
    EXPECT_EQ(m_page->KeyButton(kKeyO)->width(), 42) << "28 px caps at 96 DPI, 42 at 144";
    // The colour input mode's three sliders fit the panel, whole, at both scales.
    SelectMode(q407::devices::kColourInputMode);
    for (const int dpi : {144, 96}) {
        resources.SetAllDPI(dpi);
        testutil::WaitUntil([] { return false; }, 80);
        auto* blue = Find<QWidget>(QStringLiteral("B_light_slider"));
        ASSERT_NE(blue, nullptr);
        const QRect shown = blue->visibleRegion().boundingRect();
        EXPECT_EQ(shown.size(), blue->size()) << dpi << " DPI";
        EXPECT_TRUE(
            m_window->grab().toImage().save(QStringLiteral("%1/keyboard-%2-colourinput-%3dpi.png")
                                                .arg(Screenshots(), QString::fromLatin1(Suffix()))
                                                .arg(dpi)));
    }
}

INSTANTIATE_TEST_SUITE_P(CableAndReceiver, KeyboardPageTest,
                         ::testing::Values(SimProduct::KeyboardK, SimProduct::KeyboardKReceiver),
                         [](const auto& param) {
                             return param.param == SimProduct::KeyboardK ? "Cable" : "Receiver";
                         });

} // namespace
