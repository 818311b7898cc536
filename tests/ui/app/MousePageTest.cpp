// The mouse page in the running main window, with the simulated mouse by cable and through its
// receiver: what the user changes on the page lands in the profile file and in the mouse's own
// memory (read back from the simulator), the page shows what the mouse holds, the lighting and
// profile panels drive the same mouse, and each feature tab can be looked at as a PNG.

#include "ShellFixture.h"
#include "app/CMainWnd.h"
#include "app/Startup.h"
#include "common/Diag.h"
#include "common/Paths.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaMouseDevice.h"
#include "pages/CMpDevicePowerUI.h"
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
#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using q407::pages::CKestravaMouseDevice;
using q407::sim::SimProduct;
using q407::sim::SimulatedProduct;
namespace block = q407::devices::mouse_block;

class MousePageTest : public ::testing::TestWithParam<SimProduct> {
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
    }
    void TearDown() override {
        m_window.reset();
        if (m_mouse) {
            m_mouse->Unplug();
        }
    }

    // Plugs the mouse and waits until its page has read it and shows it.
    CKestravaMouseDevice* PlugMouse(SimProduct which) {
        m_mouse = SimulatedProduct::Create(which);
        EXPECT_TRUE(m_mouse->PlugInto(m_bus));
        return ActivatedPage();
    }
    // The selected mouse page once it has read its mouse; nullptr when none shows in time.
    CKestravaMouseDevice* ActivatedPage() {
        return ActivatedSelectedPage<CKestravaMouseDevice>(*m_window);
    }
    std::vector<std::uint8_t> DeviceBlock(int slot = 0) {
        const auto memory = m_mouse->Firmware().Memory().settingsMemory;
        const auto start = memory.begin() + slot * 96;
        return {start, start + block::kSize};
    }
    Json::Value ProfileEntry(CKestravaMouseDevice* page) {
        return q407::profiles::ReadJsonFile(page->Mouse().GetProfilePath())["Device"][0];
    }
    template <typename T>
    T* Find(CKestravaMouseDevice* page, const QString& name) {
        return qobject_cast<T*>(q407::toolkit::FindSubControlByName(page, name));
    }
    // A notification as the control itself would raise it.
    void Raise(QWidget* sender, const char* type, qint64 w = 0) {
        q407::toolkit::TNotifyUI msg;
        msg.sType = QString::fromLatin1(type);
        msg.pSender = sender;
        msg.wParam = w;
        m_window->Notify(msg);
    }
    void TypeDpi(CKestravaMouseDevice* page, int stage, const QString& text) {
        auto* edit = Find<QLineEdit>(page, QStringLiteral("DPI_edit_%1").arg(stage));
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
        Raise(edit, "killfocus");
    }
    static int StageX(const std::vector<std::uint8_t>& b, int stage) {
        const std::size_t at = block::kStages + block::kStageSize * stage;
        return b[at + 2] | (b[at + 3] << 8);
    }

    testutil::UserFolderScope m_home;
    testutil::ScriptedDialogsScope m_scriptedDialogs;
    q407::diag::Capture m_diagnostics;
    q407::sim::VirtualHidBus m_bus;
    std::shared_ptr<SimulatedProduct> m_mouse;
    q407::toolkit::ScriptedDialogs* m_dialogs = &m_scriptedDialogs.Dialogs();
    std::unique_ptr<q407::app::CMainWnd> m_window;
};

TEST_P(MousePageTest, ActivationShowsWhatTheMouseHolds) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    const auto device = DeviceBlock();
    const int active = device[block::kActiveStage];
    EXPECT_EQ(page->Mouse().ActiveStage(), active);
    for (int stage = 0; stage < 6; ++stage) {
        auto* edit = Find<QLineEdit>(page, QStringLiteral("DPI_edit_%1").arg(stage));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text().toInt(), page->Mouse().ShownDpi(stage)) << stage;
        EXPECT_EQ(edit->property("bordercolor").value<QColor>().rgba(),
                  stage == active ? q407::pages::kActiveStageBorder : q407::pages::kStageBorder);
        auto* enable = Find<QWidget>(page, QStringLiteral("DPI_enable_check_%1").arg(stage));
        EXPECT_EQ(enable->isEnabled(), stage != active)
            << "the active stage cannot be switched off";
    }
    // The fastest report rates exist only on the wireless link.
    const bool wireless = GetParam() != SimProduct::MouseA;
    EXPECT_EQ(Find<QWidget>(page, QStringLiteral("polling_rate_option_4"))->isHidden(), !wireless);
    EXPECT_EQ(Find<QWidget>(page, QStringLiteral("polling_rate_option_5"))->isHidden(), !wireless);
    EXPECT_FALSE(Find<QWidget>(page, QStringLiteral("polling_rate_option_3"))->isHidden());
    // The profile file exists and names the selected profile.
    EXPECT_TRUE(std::filesystem::exists(page->Mouse().GetProfilePath()));
}

TEST_P(MousePageTest, TypedDpiIsRoundedStoredAndWrittenToTheMouse) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    struct Case {
        const char* typed;
        int stored;
    };
    for (const Case& c : {Case{"49", 50}, Case{"26001", 26000}, Case{"1001", 1050}, Case{"", 50},
                          Case{"abc", 50}}) {
        TypeDpi(page, 1, QString::fromLatin1(c.typed));
        EXPECT_EQ(Find<QLineEdit>(page, QStringLiteral("DPI_edit_1"))->text().toInt(), c.stored)
            << c.typed;
        EXPECT_EQ(StageX(DeviceBlock(), 1), c.stored) << "the mouse holds " << c.typed;
        EXPECT_EQ(ProfileEntry(page)["DPIStages"]["StageDPIs"][1]["StageDPIX"].asInt(), c.stored)
            << "the profile file holds " << c.typed;
    }
}

TEST_P(MousePageTest, DpiAskedForByValueIsStoredWrittenAndShownOrRefused) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    struct Case {
        int stage;
        int dpi;
        int written; // 1 when the stage takes it
        int stored;
    };
    for (const Case& c : {Case{2, 1600, 1, 1600}, Case{0, 1024, 1, 1050}, Case{5, 30000, 1, 26000},
                          Case{6, 800, 0, 0}, Case{-1, 800, 0, 0}}) {
        const auto before = DeviceBlock();
        EXPECT_EQ(page->ChangeDpiValue(c.stage, c.dpi), c.written) << c.stage << " " << c.dpi;
        if (c.written == 0) {
            EXPECT_EQ(DeviceBlock(), before) << "a stage that does not exist writes nothing";
            continue;
        }
        EXPECT_EQ(StageX(DeviceBlock(), c.stage), c.stored) << c.dpi;
        EXPECT_EQ(ProfileEntry(page)["DPIStages"]["StageDPIs"][c.stage]["StageDPIX"].asInt(),
                  c.stored)
            << c.dpi;
        EXPECT_EQ(Find<QLineEdit>(page, QStringLiteral("DPI_edit_%1").arg(c.stage))->text().toInt(),
                  c.stored)
            << c.dpi;
    }
}

TEST_P(MousePageTest, SliderAndOptionsReachTheMouseAndTheProfile) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    auto* slider = Find<QSlider>(page, QStringLiteral("DPI_slider_2"));
    ASSERT_NE(slider, nullptr);
    slider->setValue(3200);
    Raise(slider, "valuechanged", 3200);
    EXPECT_EQ(StageX(DeviceBlock(), 2), 3200);

    // Lift-off and angle snapping live in the settings block; the report rate too.
    auto* lift = Find<QAbstractButton>(page, QStringLiteral("Silent_Altitude_option_2"));
    lift->setChecked(true); // raises selectchanged through the toolkit
    EXPECT_EQ(DeviceBlock()[block::kLiftOff], 2);
    EXPECT_EQ(ProfileEntry(page)["SystemStages"]["SilentAltitudeItem"].asInt(), 2);
    Find<QAbstractButton>(page, QStringLiteral("Linear_Calibration_option_1"))->setChecked(true);
    EXPECT_EQ(DeviceBlock()[block::kAngleSnapping], 1);
    Find<QAbstractButton>(page, QStringLiteral("polling_rate_option_1"))->setChecked(true);
    EXPECT_EQ(DeviceBlock()[block::kReportRate], 1);
    const bool wireless = GetParam() != SimProduct::MouseA;
    const Json::Value system = ProfileEntry(page)["SystemStages"];
    EXPECT_EQ(system[wireless ? "ReportSelectItem24K" : "ReportSelectItemUSB"].asInt(), 1);

    // Making stage 4 active moves the marks.
    Find<QAbstractButton>(page, QStringLiteral("DPI_select_check_4"))->setChecked(true);
    EXPECT_EQ(DeviceBlock()[block::kActiveStage], 4);
    EXPECT_FALSE(Find<QWidget>(page, QStringLiteral("DPI_enable_check_4"))->isEnabled());
    EXPECT_EQ(Find<QLineEdit>(page, QStringLiteral("DPI_edit_4"))
                  ->property("bordercolor")
                  .value<QColor>()
                  .rgba(),
              q407::pages::kActiveStageBorder);

    // Host settings are kept in the profile only: the mouse is not written for them.
    const int commits = m_mouse->Firmware().Commits();
    auto* pointer = Find<QSlider>(page, QStringLiteral("pointer_speed_slider"));
    pointer->setValue(7);
    Raise(pointer, "valuechanged", 7);
    EXPECT_EQ(ProfileEntry(page)["SystemStages"]["MouseSpeed"].asInt(), 7);
    EXPECT_EQ(m_mouse->Firmware().Commits(), commits);
}

TEST_P(MousePageTest, AFailedWriteWritesNothingFurtherAndTellsNothing) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    const auto before = DeviceBlock();
    m_mouse->Firmware().StatusOnChunk(0x06, 0, 0xFF);
    m_mouse->Firmware().ClearRequests();
    TypeDpi(page, 0, QStringLiteral("5000"));
    EXPECT_EQ(DeviceBlock(), before) << "the refused block changed nothing in the mouse";
    EXPECT_EQ(m_mouse->Firmware().RequestCount(0x02), 0) << "no commit after the failed write";
    EXPECT_TRUE(m_dialogs->Asked().isEmpty());
}

TEST_P(MousePageTest, TheMousesOwnProfileButtonRefreshesThePage) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    // Slot 2 holds another first stage; the button switches the mouse to it.
    const std::size_t at = 2 * 96 + block::kStages + 2;
    m_mouse->Firmware().SetSettingsByte(at, 0x40); // 0x1F40 = 8000
    m_mouse->Firmware().SetSettingsByte(at + 1, 0x1F);
    m_mouse->Firmware().SetSettingsByte(0, 2);
    ASSERT_TRUE(m_mouse->EmitProfileSwitch(2));
    auto* edit = Find<QLineEdit>(page, QStringLiteral("DPI_edit_0"));
    EXPECT_TRUE(testutil::WaitUntil([&] { return edit->text() == QLatin1String("8000"); }, 4000))
        << edit->text().toStdString();
}

TEST_P(MousePageTest, TheMousesOwnButtonsShowTheSlotAndStageTheirEventNames) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    // The first stage of each slot holds a DPI of its own, so the page shows which slot it read.
    const auto firstDpiOf = [](int slot) { return 1000 * (slot + 4); };
    for (int slot = 1; slot <= 3; ++slot) {
        const std::size_t at = slot * 96 + block::kStages + 2;
        m_mouse->Firmware().SetSettingsByte(at, firstDpiOf(slot) & 0xFF);
        m_mouse->Firmware().SetSettingsByte(at + 1, firstDpiOf(slot) >> 8);
    }
    struct Press {
        bool eventFirst; // the firmware reports the button before its memory changes
        int slot;
        int stage; // negative: the profile button
    };
    auto* edit = Find<QLineEdit>(page, QStringLiteral("DPI_edit_0"));
    for (const Press& press : {Press{false, 1, 4}, Press{true, 2, 3}, Press{true, 3, -1}}) {
        m_mouse->Firmware().SetEventBeforeMemory(press.eventFirst);
        ASSERT_TRUE(press.stage < 0 ? m_mouse->PressProfileButton(press.slot)
                                    : m_mouse->PressDpiButton(press.slot, press.stage));
        const QString dpi = QString::number(firstDpiOf(press.slot));
        EXPECT_TRUE(testutil::WaitUntil([&] { return edit->text() == dpi; }, 4000))
            << "slot " << press.slot << " shows " << edit->text().toStdString();
        EXPECT_EQ(page->Mouse().CurrentSlot(), press.slot);
        if (press.stage >= 0) {
            EXPECT_EQ(page->Mouse().ActiveStage(), press.stage);
            EXPECT_TRUE(
                Find<QAbstractButton>(page, QStringLiteral("DPI_select_check_%1").arg(press.stage))
                    ->isChecked());
        }
    }
}

TEST_P(MousePageTest, LightingPanelEditsReachTheMouse) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    q407::editors::CLightControlUI* light = page->LightPanel();
    ASSERT_NE(light, nullptr);
    auto* green = q407::toolkit::FindSubControlByName(light, QStringLiteral("deng_edit_G"));
    ASSERT_NE(green, nullptr);
    qobject_cast<QLineEdit*>(green)->setText(QStringLiteral("300"));
    Raise(green, "killfocus");
    EXPECT_EQ(qobject_cast<QLineEdit*>(green)->text(), QStringLiteral("255"));
    EXPECT_EQ(DeviceBlock()[block::kRed + 1], 255);
    EXPECT_EQ(DeviceBlock()[block::kMultiColour], 0);
    EXPECT_FALSE(light->GetMultiColour());
    EXPECT_EQ(ProfileEntry(page)["LightInfo"]["Green"].asInt(), 255);

    auto* speed = q407::toolkit::FindSubControlByName(light, QStringLiteral("deng_speed_slider"));
    ASSERT_NE(speed, nullptr);
    qobject_cast<QSlider*>(speed)->setValue(1);
    Raise(speed, "valuechanged", 1);
    EXPECT_EQ(DeviceBlock()[block::kSpeed], 4 - 1) << "the mouse takes 4 - speed";
}

TEST_P(MousePageTest, AudioPageEditsTheAudioRecordOfTheProfile) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    auto* light = page->LightPanel();
    ASSERT_NE(light, nullptr);
    const auto audio = [&] { return ProfileEntry(page)["AudioLightInfo"]; };
    const auto control = [&](const char* name) {
        QWidget* found = Find<QWidget>(page, QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    };
    const auto check = [&](const char* name, bool on) {
        auto* option = qobject_cast<QAbstractButton*>(control(name));
        option->setChecked(on);
        Raise(option, "selectchanged", on ? 1 : 0);
    };
    // The foreground side, then a preset: it becomes the foreground and ends the seven colours.
    check("audio_FgColor_check", true);
    EXPECT_EQ(audio()["ColorTypeFlags"].asInt(), 1) << "both options chosen: the side switches";
    EXPECT_TRUE(control("deng_7audiocolor_check")->isEnabled());
    check("deng_7audiocolor_check", true);
    EXPECT_EQ(audio()["7ColorFlags"].asInt(), 1);
    Raise(control("audiocolor_option_2"), "click");
    EXPECT_EQ(audio()["7ColorFlags"].asInt(), 0);
    const std::uint32_t preset = light->GetPresetAudioColour(2);
    EXPECT_EQ(audio()["FgColorR"].asInt(), static_cast<int>((preset >> 16) & 0xFF));
    EXPECT_EQ(audio()["FgColorG"].asInt(), static_cast<int>((preset >> 8) & 0xFF));

    // 999 typed is stored as 255 and stays in the edit as typed.
    auto* blue = qobject_cast<QLineEdit*>(control("deng_audioedit_B"));
    blue->setText(QStringLiteral("999"));
    Raise(blue, "killfocus");
    EXPECT_EQ(audio()["FgColorB"].asInt(), 255);
    EXPECT_EQ(blue->text(), QStringLiteral("999"));

    // The background side disables the seven colours and shows the background's colour.
    check("audio_BkColor_check", true);
    EXPECT_EQ(audio()["ColorTypeFlags"].asInt(), 0);
    EXPECT_FALSE(control("deng_7audiocolor_check")->isEnabled());
    EXPECT_EQ(light->GetAudioColourText(2), QString::number(audio()["BkColorB"].asInt()));
    Raise(control("audiocolor_option_0"), "click");
    EXPECT_NE(
        audio()["BkColorR"].asInt() + audio()["BkColorG"].asInt() + audio()["BkColorB"].asInt(), 0);
    Raise(control("Close_bkColor_btn"), "click");
    EXPECT_EQ(
        audio()["BkColorR"].asInt() + audio()["BkColorG"].asInt() + audio()["BkColorB"].asInt(), 0);
    EXPECT_EQ(audio()["FgColorB"].asInt(), 255) << "the foreground stays";

    // Audio mode 3 has no colours to edit.
    auto* mode = qobject_cast<QComboBox*>(control("light_combo_AudiomodeSelect"));
    for (int row : {3, 1}) {
        mode->setCurrentIndex(row);
        Raise(mode, "itemselect", row);
        EXPECT_EQ(audio()["AudioMode"].asInt(), row);
        EXPECT_EQ(control("light_audiocolor_layout")->isEnabled(), row != 3);
        EXPECT_EQ(control("audiocolorpallet_layout")->isEnabled(), row != 3);
    }
}

TEST_P(MousePageTest, ProfilesAddSwitchAndSurviveARestart) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    q407::editors::CDeviceProfileUI* profiles = page->ProfilePanel();
    ASSERT_NE(profiles, nullptr);
    TypeDpi(page, 0, QStringLiteral("1200"));

    m_dialogs->Push(1); // confirm the new profile
    Raise(q407::toolkit::FindSubControlByName(profiles, QStringLiteral("device_add_btn")), "click");
    ASSERT_EQ(profiles->GetProfileItemCount(), 2);
    EXPECT_TRUE(m_dialogs->Asked().contains(QStringLiteral("box:message_text_27:confirm-cancel")));

    // Choosing the new profile writes its (default) first stage to the mouse.
    auto* combo = qobject_cast<QComboBox*>(
        q407::toolkit::FindSubControlByName(profiles, QStringLiteral("device_profile_combo")));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(1); // raises itemselect
    const int defaultFirst = page->Mouse().ShownDpi(0);
    EXPECT_NE(defaultFirst, 1200);
    EXPECT_EQ(StageX(DeviceBlock(), 0), defaultFirst);
    EXPECT_TRUE(m_window->HasTimer(m_window->Root(), q407::app::kTimerProfileAgain));

    // Back to the first: its 1200 returns to the mouse.
    combo->setCurrentIndex(0);
    EXPECT_EQ(StageX(DeviceBlock(), 0), 1200);

    // A new window (the program started again) shows the stored profile.
    m_window.reset();
    m_window = std::make_unique<q407::app::CMainWnd>(nullptr, &m_bus);
    ASSERT_TRUE(m_window->Create(QStringLiteral("Q407"), QSize(1000, 640)));
    CKestravaMouseDevice* again = ActivatedPage();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->ProfilePanel()->GetProfileItemCount(), 2);
    EXPECT_EQ(Find<QLineEdit>(again, QStringLiteral("DPI_edit_0"))->text(), QStringLiteral("1200"));
}

TEST_P(MousePageTest, ProfileButtonsAskFirstAndKeepTheMouseInStep) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    q407::editors::CDeviceProfileUI* profiles = page->ProfilePanel();
    const auto click = [&](const char* name) {
        Raise(q407::toolkit::FindSubControlByName(page, QString::fromLatin1(name)), "click");
    };
    TypeDpi(page, 0, QStringLiteral("2400"));

    m_dialogs->Push(0); // the copy is not confirmed: nothing happens
    click("device_copy_btn");
    EXPECT_EQ(profiles->GetProfileItemCount(), 1);
    m_dialogs->Push(1);
    click("device_copy_btn");
    ASSERT_EQ(profiles->GetProfileItemCount(), 2);

    // Renaming the selected profile to the copy's name is refused with a message.
    auto* combo = qobject_cast<QComboBox*>(
        q407::toolkit::FindSubControlByName(profiles, QStringLiteral("device_profile_combo")));
    const QString copyName = combo->itemText(1);
    combo->lineEdit()->setText(copyName);
    click("device_profile_edit_save_btn");
    EXPECT_TRUE(m_dialogs->Asked().last().startsWith(QStringLiteral("box:")));
    EXPECT_NE(combo->itemText(0), copyName);

    // Export, then import: the imported profile is selected and its first stage reaches the mouse.
    const QString exported = m_home.Path() + QStringLiteral("/Game.json");
    m_dialogs->Push(exported);
    click("device_export_btn");
    ASSERT_TRUE(QFile::exists(exported));
    TypeDpi(page, 0, QStringLiteral("800"));
    m_dialogs->Push(exported);
    click("device_import_btn");
    ASSERT_EQ(profiles->GetProfileItemCount(), 3);
    EXPECT_EQ(profiles->GetSelectedIndex(), 2);
    EXPECT_EQ(combo->itemText(2), QStringLiteral("Game"));
    EXPECT_EQ(StageX(DeviceBlock(), 0), 2400);

    // Deleting it selects the one before and applies it to the mouse.
    m_dialogs->Push(1);
    click("device_sub_btn");
    EXPECT_EQ(profiles->GetProfileItemCount(), 2);
    EXPECT_EQ(profiles->GetSelectedIndex(), 1);
    EXPECT_EQ(StageX(DeviceBlock(), 0), page->Mouse().ShownDpi(0));

    // The stage colour comes from the colour chooser.
    m_dialogs->Push(QColor(10, 20, 30));
    click("DPI_color_option_3");
    const std::size_t colour = block::kStages + block::kStageSize * 3 + 6;
    EXPECT_EQ(DeviceBlock()[colour], 10);
    EXPECT_EQ(DeviceBlock()[colour + 2], 30);

    // The page's defaults, confirmed, reach the mouse.
    TypeDpi(page, 0, QStringLiteral("5000"));
    m_dialogs->Push(1);
    click("default_btn");
    EXPECT_NE(StageX(DeviceBlock(), 0), 5000);
    EXPECT_EQ(StageX(DeviceBlock(), 0), page->Mouse().ShownDpi(0));
}

TEST_P(MousePageTest, ScreenshotsOfEveryFeatureTab) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    m_window->resize(1000, 640);
    const QString folder = QStringLiteral(Q407_BIN_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(folder));
    const char* suffix = GetParam() == SimProduct::MouseA ? "cable" : "receiver";
    for (const auto& [feature, name] :
         {std::pair{1, "lighting"}, std::pair{2, "keys"}, std::pair{3, "macro"},
          std::pair{4, "settings"}, std::pair{5, "pointer"}, std::pair{9, "about"}}) {
        page->ProfilePanel()->SelectFeatureTab(feature);
        page->SelectFeaturePage(feature);
        for (int tab = 0; tab < (feature == 4 ? 3 : 1); ++tab) {
            if (feature == 4) {
                page->SelectSettingsTab(tab);
            }
            testutil::WaitUntil([] { return false; }, 30); // let the layout settle
            const QImage shot = m_window->grab().toImage();
            EXPECT_FALSE(shot.isNull());
            const QString file =
                QStringLiteral("%1/mouse-%2-%3%4.png")
                    .arg(folder, QString::fromLatin1(suffix), QString::fromLatin1(name),
                         feature == 4 ? QStringLiteral("-%1").arg(tab) : QString());
            EXPECT_TRUE(shot.save(file)) << file.toStdString();
        }
    }
}

TEST_P(MousePageTest, ScreenshotAt144Dpi) {
    CKestravaMouseDevice* page = PlugMouse(GetParam());
    ASSERT_NE(page, nullptr);
    q407::toolkit::ResourceManager::Instance().SetAllDPI(96);
    m_window->resize(1000, 640);
    q407::toolkit::ResourceManager::Instance().SetAllDPI(144);
    testutil::WaitUntil([] { return false; }, 50);
    const QString folder = QStringLiteral(Q407_BIN_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(folder));
    page->ProfilePanel()->SelectFeatureTab(4);
    page->SelectFeaturePage(4);
    EXPECT_TRUE(m_window->grab().toImage().save(folder + QStringLiteral("/mouse-144dpi.png")));
    q407::toolkit::ResourceManager::Instance().SetAllDPI(96);
}

INSTANTIATE_TEST_SUITE_P(CableAndReceiver, MousePageTest,
                         ::testing::Values(SimProduct::MouseA, SimProduct::MouseAReceiver),
                         [](const auto& param) {
                             return param.param == SimProduct::MouseA ? "Cable" : "Receiver";
                         });

} // namespace
