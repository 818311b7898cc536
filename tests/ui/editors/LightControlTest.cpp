// The lighting panel built from the real skin: it shows a light record without raising anything,
// lays itself out per device kind and mode, offers the same-mode button only where it belongs,
// corrects colour edits, and its palette reports what the user picks.

#include "PanelFixture.h"
#include "editors/CColorPaletteUI.h"
#include "profiles/ProfileRecords.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QSlider>
#include <QStackedWidget>

namespace q407::editors::test {
namespace {

constexpr int kKeyboard = 1;
constexpr int kMouse = 2;
constexpr int kMousePad = 3;
constexpr int kHeadset = 7;

std::vector<std::string> ModeNames(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back("light_mode_" + std::to_string(i));
    }
    return names;
}

class LightControlTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        light->SetDeviceKind(kKeyboard);
        light->InitModeList(ModeNames(32), std::vector<int>(32, 1), 4, 4);
        window.received.clear();
    }
    bool Shown(const char* name) const { return !Find(light, name)->isHidden(); }
    bool Enabled(const char* name) const { return Find(light, name)->isEnabled(); }
    QString Text(const char* name) const { return Find<QAbstractButton>(light, name)->text(); }
    int ColourPage() const {
        return Find<QStackedWidget>(light, "light_color_tablayout")->currentIndex();
    }
};

TEST_F(LightControlTest, BuildsEveryControlFromItsLayout) {
    for (const char* name :
         {"light_combo_modeSelect", "light_combo_ZZCCmodeSelect", "light_combo_custommodeSelect"}) {
        EXPECT_NE(Find<QComboBox>(light, name), nullptr) << name;
    }
    for (const char* name : {"deng_light_slider", "deng_speed_slider"}) {
        EXPECT_NE(Find<QSlider>(light, name), nullptr) << name;
    }
    for (const char* name : {"deng_edit_R", "deng_edit_G", "deng_edit_B"}) {
        EXPECT_NE(Find<QLineEdit>(light, name), nullptr) << name;
    }
    for (const char* name :
         {"deng_colordp_btn", "deng_7color_check", "deng_FXL_check", "deng_FXR_check",
          "deng_same_mode", "custom_bright_color_btn", "custom_off_color_btn"}) {
        EXPECT_NE(Find<QAbstractButton>(light, name), nullptr) << name;
    }
    for (int n = 0; n < CLightControlUI::kPresetCount; ++n) {
        EXPECT_NE(
            Find<QAbstractButton>(light, qPrintable(QStringLiteral("color_option_%1").arg(n))),
            nullptr)
            << n;
    }
    for (const char* name :
         {"lighteffect_layout", "deng_color_layout", "colorpallet_layout", "deng_light_layout",
          "deng_speed_layout", "deng_fx_layout", "light_color_layout", "lightcustom_layout",
          "light_combo_ZZCCmodeSelectLayout", "light_combo_AudiomodeSelectLayout"}) {
        EXPECT_NE(Find(light, name), nullptr) << name;
    }
    EXPECT_NE(Find<CColorPaletteUI>(light, "deng_Color_Pallet"), nullptr);
    ASSERT_NE(Find<QStackedWidget>(light, "light_color_tablayout"), nullptr);
    EXPECT_EQ(Find<QStackedWidget>(light, "light_color_tablayout")->count(), 2);

    // Texts come from the language file, also the rows the layout gives its combos.
    EXPECT_EQ(Text("deng_FXL_check"), QStringLiteral("Right to left"));
    EXPECT_EQ(Find<QComboBox>(light, "light_combo_ZZCCmodeSelect")->itemText(1),
              QStringLiteral("Ripple"));
    ASSERT_TRUE(toolkit::ResourceManager::Instance().LoadLanguage(QStringLiteral("lan_cn.qm")));
    light->ReloadComboTexts();
    EXPECT_EQ(Find<QComboBox>(light, "light_combo_ZZCCmodeSelect")->itemText(1),
              QStringLiteral("涟漪"));
}

TEST_F(LightControlTest, ModeListRowsAreTextIdsAndHiddenByFlag) {
    ASSERT_TRUE(toolkit::ResourceManager::Instance().LoadLanguage(QStringLiteral("lan_en.qm")));
    light->InitModeList({"light_speed_text", "light_mode_1", "light_mode_2"}, {1, 0}, 3, 2);
    auto* combo = Find<QComboBox>(light, "light_combo_modeSelect");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Speed"));
    EXPECT_EQ(combo->itemData(0).toString(), QStringLiteral("light_speed_text"));
    auto* view = qobject_cast<QListView*>(combo->view());
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isRowHidden(0));
    EXPECT_TRUE(view->isRowHidden(1));
    EXPECT_FALSE(view->isRowHidden(2)) << "a row without a flag stays visible";
    // The hidden row is out of reach of the keys too.
    combo->setCurrentIndex(0);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(combo, &down);
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(Find<QSlider>(light, "deng_light_slider")->maximum(), 3);
    EXPECT_EQ(Find<QSlider>(light, "deng_speed_slider")->maximum(), 2);

    // A second list replaces the first, quietly.
    window.received.clear();
    light->InitModeList(ModeNames(2), {1, 1}, 4, 4);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_FALSE(view->isRowHidden(1));
    EXPECT_TRUE(window.received.empty());
}

TEST_F(LightControlTest, ShowLightInfoShowsTheRecordAndRaisesNothing) {
    q407::profiles::LightInfo info;
    info.mode = 12;
    info.brightness = 3;
    info.speed = 1;
    info.direction = 1;
    info.multiColor = 1;
    info.red = 18;
    info.green = 52;
    info.blue = 86;
    info.secondaryMode = 2;
    light->ShowLightInfo(info);

    EXPECT_EQ(light->GetSelectedMode(), 12);
    EXPECT_EQ(light->GetBrightness(), 3);
    EXPECT_EQ(light->GetSpeed(), 1);
    EXPECT_EQ(light->GetColourText(0), QStringLiteral("18"));
    EXPECT_EQ(light->GetColourText(1), QStringLiteral("52"));
    EXPECT_EQ(light->GetColourText(2), QStringLiteral("86"));
    EXPECT_EQ(light->GetPaletteColour(), 0xFF123456u);
    EXPECT_EQ(light->GetColourButton(), 0xFF123456u);
    EXPECT_TRUE(light->GetMultiColour());
    EXPECT_EQ(light->GetSelectedZzccMode(), 2);
    EXPECT_TRUE(Find<QAbstractButton>(light, "deng_FXL_check")->isChecked());
    EXPECT_FALSE(Find<QAbstractButton>(light, "deng_FXR_check")->isChecked());
    // Keyboard mode 12 moves vertically.
    EXPECT_EQ(Text("deng_FXL_check"), QStringLiteral("Bottom to top"));
    EXPECT_FALSE(Enabled("deng_color_layout"));
    EXPECT_TRUE(Enabled("deng_fx_layout"));

    info.mode = 1;
    info.direction = 0;
    info.multiColor = 0;
    light->ShowLightInfo(info);
    EXPECT_FALSE(Find<QAbstractButton>(light, "deng_FXL_check")->isChecked());
    EXPECT_TRUE(Find<QAbstractButton>(light, "deng_FXR_check")->isChecked());
    EXPECT_FALSE(light->GetMultiColour());
    EXPECT_EQ(Text("deng_FXL_check"), QStringLiteral("Right to left"));

    for (const auto& notification : window.received) {
        ADD_FAILURE() << "raised " << notification.type.toStdString() << " from "
                      << notification.sender.toStdString();
    }
}

TEST_F(LightControlTest, ColourEditLeftWithTooLargeAValueShowsTheLimit) {
    auto* green = Find<QLineEdit>(light, "deng_edit_G");
    green->setText(QStringLiteral("300"));
    // Leaving the field is what tells the main window to read it.
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(green, &out);
    const auto left = window.OfType(QStringLiteral("killfocus"));
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].sender, QStringLiteral("deng_edit_G"));

    EXPECT_EQ(light->CommitColourText(1), 255);
    EXPECT_EQ(green->text(), QStringLiteral("255"));
    green->setText(QString());
    EXPECT_EQ(light->CommitColourText(1), 0);
    EXPECT_EQ(green->text(), QStringLiteral("0"));
    green->setText(QStringLiteral("x1"));
    EXPECT_EQ(light->CommitColourText(1), 0);
    EXPECT_EQ(light->CommitColourText(3), -1);

    light->SetMultiColour(true);
    window.received.clear();
    light->SetMultiColour(false);
    light->SetColourText(1, QStringLiteral("255"));
    EXPECT_FALSE(light->GetMultiColour());
    EXPECT_TRUE(window.received.empty());
}

TEST_F(LightControlTest, KeyboardModesShowTheirSelectorsAndColourPage) {
    light->SelectMode(17);
    EXPECT_FALSE(Shown("deng_speed_layout"));
    EXPECT_TRUE(Shown("light_combo_ZZCCmodeSelectLayout"));
    EXPECT_FALSE(Enabled("light_color_layout"));
    EXPECT_EQ(ColourPage(), 0);

    light->SelectMode(29);
    EXPECT_EQ(ColourPage(), 1);
    EXPECT_TRUE(Shown("light_combo_AudiomodeSelectLayout"));
    EXPECT_FALSE(Shown("light_combo_ZZCCmodeSelectLayout"));
    EXPECT_FALSE(Shown("deng_speed_layout"));
    EXPECT_TRUE(Enabled("light_color_layout"));

    light->SelectMode(20);
    EXPECT_TRUE(Shown("lightcustom_layout"));
    EXPECT_EQ(ColourPage(), 0);
    EXPECT_FALSE(Enabled("deng_7color_check"));
    EXPECT_TRUE(Enabled("colorpallet_layout"));

    light->SelectMode(1);
    EXPECT_TRUE(Shown("deng_speed_layout"));
    EXPECT_FALSE(Shown("lightcustom_layout"));
    EXPECT_FALSE(Shown("light_combo_AudiomodeSelectLayout"));
    for (const char* group :
         {"lighteffect_layout", "deng_7color_check", "deng_color_layout", "colorpallet_layout",
          "deng_light_layout", "deng_speed_layout", "deng_fx_layout", "light_color_layout"}) {
        EXPECT_TRUE(Enabled(group)) << group;
    }
    light->SelectMode(0);
    EXPECT_TRUE(Enabled("lighteffect_layout")) << "the mode list stays usable when lights are off";
    EXPECT_FALSE(Enabled("deng_light_layout"));
    EXPECT_EQ(light->GetSelectedMode(), 0);
    EXPECT_TRUE(window.received.empty()) << "selecting a mode raises nothing";
}

TEST_F(LightControlTest, MouseKeepsTheKeyboardSelectorsAway) {
    light->SetDeviceKind(kMouse);
    light->SelectMode(11);
    EXPECT_EQ(ColourPage(), 1);
    EXPECT_FALSE(Shown("deng_speed_layout"));
    light->SelectMode(3);
    EXPECT_EQ(ColourPage(), 0);
    EXPECT_TRUE(Shown("deng_speed_layout"));
    EXPECT_FALSE(Enabled("deng_speed_layout"));
    EXPECT_FALSE(Shown("light_combo_ZZCCmodeSelectLayout"));
    EXPECT_FALSE(Shown("lightcustom_layout"));
    EXPECT_EQ(Text("deng_FXR_check"), QStringLiteral("Top to bottom"));

    // A kind without a table leaves the panel as it is.
    light->UpdateLightLayout(5, 0);
    EXPECT_TRUE(Enabled("deng_color_layout"));
}

TEST_F(LightControlTest, SameModeButtonNeedsASecondDeviceAndAModeThatOffersIt) {
    struct Case {
        int kind;
        std::vector<int> rows;
    };
    const Case offered[] = {{kKeyboard, {4, 5, 6, 23, 28}},
                            {kMousePad, {1, 2, 3, 4, 8}},
                            {kHeadset, {1, 2, 3, 4, 8}},
                            {kMouse, {}}};
    for (const auto& [kind, rows] : offered) {
        light->SetDeviceKind(kind);
        for (int row = 0; row < 32; ++row) {
            light->SetSameModeAvailable(false);
            light->SelectMode(row);
            EXPECT_FALSE(Shown("deng_same_mode")) << "one device: kind " << kind << " row " << row;
            light->SetSameModeAvailable(true);
            const bool expected = std::find(rows.begin(), rows.end(), row) != rows.end();
            EXPECT_EQ(Shown("deng_same_mode"), expected) << "kind " << kind << " row " << row;
        }
    }
    // Losing the second device takes the button away at once.
    light->SetDeviceKind(kKeyboard);
    light->SelectMode(4);
    ASSERT_TRUE(Shown("deng_same_mode"));
    light->SetSameModeAvailable(false);
    EXPECT_FALSE(Shown("deng_same_mode"));
    light->ShowSameModeButton(true);
    EXPECT_FALSE(Shown("deng_same_mode"));
}

TEST_F(LightControlTest, PresetsAndPaletteGiveOpaqueColours) {
    EXPECT_EQ(light->GetPresetColour(0), 0xFFFF0000u);
    EXPECT_EQ(light->GetPresetColour(7), 0xFFFFFFFFu);
    EXPECT_EQ(light->GetPresetColour(8), 0u);
    EXPECT_EQ(light->GetPresetColour(-1), 0u);

    light->SetPaletteColour(0x00336699u);
    EXPECT_EQ(light->GetPaletteColour(), 0xFF336699u);
    EXPECT_EQ(light->GetColourButton(), 0xFF336699u);
    light->SetColourButton(0xFF00FF00u);
    EXPECT_EQ(light->GetPaletteColour(), 0xFF336699u)
        << "the button alone does not move the palette";
    EXPECT_TRUE(window.received.empty());
}

TEST_F(LightControlTest, PalettePickRaisesColourChangedOnRelease) {
    auto* palette = Find<CColorPaletteUI>(light, "deng_Color_Pallet");
    palette->resize(361, 121);
    const auto send = [palette](QEvent::Type type, QPointF at) {
        QMouseEvent event(type, at, palette->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(palette, &event);
    };
    // Pressed near the top left (almost white), dragged to the middle of the left edge (red).
    send(QEvent::MouseButtonPress, {2, 2});
    send(QEvent::MouseMove, {1, 60});
    EXPECT_TRUE(window.OfType(QStringLiteral("colorchanged")).empty()) << "not while dragging";
    send(QEvent::MouseButtonRelease, {1, 60});
    const auto picked = window.OfType(QStringLiteral("colorchanged"));
    ASSERT_EQ(picked.size(), 1u);
    EXPECT_EQ(picked[0].sender, QStringLiteral("deng_Color_Pallet"));
    EXPECT_EQ(static_cast<std::uint32_t>(picked[0].wParam), light->GetPaletteColour());
    const QColor colour = QColor::fromRgba(light->GetPaletteColour());
    EXPECT_EQ(colour.alpha(), 255);
    EXPECT_GT(colour.red(), 240);
    EXPECT_LT(colour.green(), 16);
    EXPECT_LT(colour.blue(), 16);

    // Showing a colour moves the marker there without raising anything.
    window.received.clear();
    palette->SetColour(0xFF0000FFu);
    EXPECT_EQ(palette->GetColour(), 0xFF0000FFu);
    EXPECT_TRUE(window.received.empty());
    const QPointF blue = CColorPaletteUI::PositionOf(0xFF0000FFu);
    EXPECT_EQ(CColorPaletteUI::ColourAt(blue.x(), blue.y()), 0xFF0000FFu);
}

TEST_F(LightControlTest, MissingControlsMakeOperationsDoNothing) {
    delete Find(light, "deng_Color_Pallet");
    delete Find(light, "light_combo_modeSelect");
    delete Find(light, "deng_light_slider");
    delete Find(light, "deng_edit_R");
    EXPECT_EQ(light->GetPaletteColour(), 0xFF000000u);
    EXPECT_EQ(light->GetSelectedMode(), -1);
    EXPECT_EQ(light->GetBrightness(), 0);
    EXPECT_EQ(light->GetColourText(0), QString());
    light->SetPaletteColour(0xFF010203u);
    light->SelectMode(3);
    light->SetBrightness(2);
    light->SetColourText(0, QStringLiteral("9"));
    EXPECT_EQ(light->GetColourButton(), 0xFF010203u);
    EXPECT_EQ(light->CommitColourText(0), -1);
}

TEST_F(PanelTest, StyleFollowsTheDpiOfTheWindows) {
    EXPECT_EQ(
        ScaledStyleSheet(QStringLiteral("a { font-size: 13px; margin: -5px 0; b: 1.5px }"), 1.5),
        QStringLiteral("a { font-size: 20px; margin: -8px 0; b: 2px }"));
    auto* caption = Find<QLabel>(light, "light_mode_row_caption");
    caption->ensurePolished();
    EXPECT_EQ(caption->font().pixelSize(), 13);

    auto& resources = toolkit::ResourceManager::Instance();
    resources.SetAllDPI(144);
    RecordingWindow large;
    QWidget* built = toolkit::BuildSubTree(testutil::TestData("editors/panelhost.xml"), &large);
    ASSERT_NE(built, nullptr);
    auto* scaled = Find<QLabel>(built, "light_mode_row_caption");
    scaled->ensurePolished();
    EXPECT_EQ(scaled->font().pixelSize(), 20);
    auto* tab = Find<QAbstractButton>(built, "deng_Op_tab");
    tab->ensurePolished();
    EXPECT_EQ(tab->font().pixelSize(), 20);
    // Back at 96 DPI every panel, whenever it was built, has its lengths of 96 DPI again.
    resources.SetAllDPI(96);
    scaled->ensurePolished();
    EXPECT_EQ(scaled->font().pixelSize(), 13);
    caption->ensurePolished();
    EXPECT_EQ(caption->font().pixelSize(), 13);
    resources.SetAllDPI(144);
    caption->ensurePolished();
    EXPECT_EQ(caption->font().pixelSize(), 20) << "a panel built at 96 DPI follows to 144";
    resources.SetAllDPI(96);
}

TEST_F(LightControlTest, Screenshot) {
    light->SetDeviceKind(kMouse);
    light->InitModeList({"Off", "Steady", "Breathing", "Neon", "Wave", "Colour cycle", "Flash"},
                        {1, 1, 1, 1, 1, 1, 1}, 4, 4);
    q407::profiles::LightInfo info;
    info.mode = 5;
    info.brightness = 3;
    info.speed = 2;
    info.red = 25;
    info.green = 195;
    info.blue = 166;
    light->ShowLightInfo(info);
    SaveScreenshot(light, QStringLiteral("light_panel"));
}

} // namespace
} // namespace q407::editors::test
