// The colour palette window on the real skin: the edits correct what is typed, a selected empty
// user swatch collects the chosen colour and keeps it in the user's palette file, confirming
// returns the shown colour, and the default file stands in for a missing user file.

#include "common/Paths.h"
#include "editors/CColorSelectWnd.h"
#include "editors/CLightControlUI.h"
#include "editors/EditorControls.h"
#include "profiles/JsonFile.h"
#include "support/UiTestScopes.h"
#include "toolkit/ResourceManager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace q407::editors {
namespace {

namespace pj = q407::profiles;

class ColorSelectWndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto& resources = toolkit::ResourceManager::Instance();
        const auto skin = paths::DataDir() / "skin";
        resources.SetResourcePath(QString::fromStdString(skin.string()) + QLatin1Char('/'));
        ASSERT_TRUE(resources.LoadResource(QStringLiteral("res.xml")));
        RegisterEditorControls();
    }

    CColorSelectWnd& Open(std::uint32_t colour) {
        m_window = std::make_unique<CColorSelectWnd>(nullptr);
        EXPECT_TRUE(m_window->Create(QStringLiteral("PalletDialog"), QSize(800, 572)));
        m_window->SetColour(colour);
        m_window->EnableSevenColour(false);
        m_window->show();
        return *m_window;
    }
    QAbstractButton* Button(const QString& name) const {
        auto* button = m_window->FindControl<QAbstractButton>(name);
        EXPECT_NE(button, nullptr) << name.toStdString();
        return button;
    }
    QLineEdit* Edit(const char* name) const {
        auto* edit = m_window->FindControl<QLineEdit>(QString::fromLatin1(name));
        EXPECT_NE(edit, nullptr) << name;
        return edit;
    }
    // Types into an edit and leaves it, as the user does.
    void Type(const char* name, const QString& text) {
        QLineEdit* edit = Edit(name);
        edit->setText(text);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(edit, &out);
    }
    std::uint32_t Shown() const {
        return BackgroundColour(m_window->FindControl(QStringLiteral("color_show_btn")));
    }

    testutil::ScriptedDialogsScope m_dialogs;
    testutil::UserFolderScope m_user;
    std::unique_ptr<CColorSelectWnd> m_window;
};

TEST_F(ColorSelectWndTest, EditsCorrectWhatIsTypedAndComposeTheColour) {
    struct Case {
        const char* edit;
        const char* typed;
        const char* shown;
        std::uint32_t colour;
    };
    const Case cases[] = {
        {"color_edit_g", "300", "255", 0xFF10FF30u}, // above 255 is 255
        {"color_edit_b", "", "0", 0xFF102000u},      // empty counts as 0, the rest stays
        {"color_edit_r", "171", "171", 0xFFAB2030u},
    };
    for (const Case& c : cases) {
        CColorSelectWnd& window = Open(0xFF102030u);
        Type(c.edit, QString::fromLatin1(c.typed));
        EXPECT_EQ(Edit(c.edit)->text(), QString::fromLatin1(c.shown)) << c.edit;
        EXPECT_EQ(window.CurrentColour(), c.colour) << c.edit << " " << c.typed;
        EXPECT_EQ(Shown(), c.colour);
    }
}

TEST_F(ColorSelectWndTest, SelectedEmptyUserSwatchCollectsTheColourAndKeepsItInTheFile) {
    CColorSelectWnd& window = Open(0xFF000000u);
    EXPECT_TRUE(std::filesystem::exists(CColorSelectWnd::UserFile()))
        << "the default palette becomes the user's";
    EXPECT_EQ(window.CollectedIndex(), -1);
    Button(QStringLiteral("collect_color_option_3"))->click();
    EXPECT_EQ(window.CollectedIndex(), 3);
    Type("color_edit_r", QStringLiteral("18"));
    Type("color_edit_g", QStringLiteral("171"));
    Type("color_edit_b", QStringLiteral("52"));

    const Json::Value stored = pj::ReadJsonFile(CColorSelectWnd::UserFile());
    const Json::Value& swatch = stored["coloroptioninfo"]["palletDialogcollectcoloroption"][3];
    EXPECT_EQ(swatch["color"].asString(), "FF12AB34");
    EXPECT_EQ(swatch["UserData"].asString(), "1");
    EXPECT_EQ(stored["coloroptioninfo"]["palletDialogcollectcoloroption_selectitem"].asInt(), 3);

    // Opened again, the swatch shows its colour but is not selected.
    Open(0xFF000000u);
    QAbstractButton* again = Button(QStringLiteral("collect_color_option_3"));
    EXPECT_EQ(BackgroundColour(again), 0xFF12AB34u);
    EXPECT_FALSE(again->isChecked());
    EXPECT_EQ(again->property("userdata").toString(), QStringLiteral("1"));
    // Choosing it shows its colour, and confirming returns it.
    again->click();
    EXPECT_EQ(Shown(), 0xFF12AB34u);
    EXPECT_EQ(Edit("color_edit_g")->text(), QStringLiteral("171"));
    Button(QStringLiteral("okbtn"))->click();
    EXPECT_EQ(m_window->GetColour(), 0xFF12AB34u);
}

TEST_F(ColorSelectWndTest, PresetIsChosenAndRememberedAndTheCloseButtonChangesNothing) {
    CColorSelectWnd& window = Open(0xFF000000u);
    QAbstractButton* preset = Button(QStringLiteral("color_option_10"));
    preset->click();
    EXPECT_EQ(window.PresetIndex(), 10);
    EXPECT_EQ(window.CurrentColour(), BackgroundColour(preset));
    EXPECT_EQ(Shown(), BackgroundColour(preset));
    const Json::Value stored = pj::ReadJsonFile(CColorSelectWnd::UserFile());
    EXPECT_EQ(stored["coloroptioninfo"]["palletDialogcoloroption_selectitem"].asInt(), 10);
    EXPECT_EQ(stored["coloroptioninfo"]["palletDialogcoloroption"][10]["color"].asString(),
              ColourText(BackgroundColour(preset)).toStdString());
    // No user swatch was selected, so none collected the colour.
    for (const Json::Value& swatch : stored["coloroptioninfo"]["palletDialogcollectcoloroption"]) {
        EXPECT_NE(swatch["UserData"].asString(), "1");
    }
    EXPECT_EQ(Open(0xFF000000u).PresetIndex(), 10) << "the last preset is remembered";
}

} // namespace
} // namespace q407::editors
