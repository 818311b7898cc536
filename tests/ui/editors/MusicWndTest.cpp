// The music style window on the real skin, shown modally as the main window shows it: choosing a
// style shows its colour, the sliders change only that style, an emptied name is restored, and
// only the confirm button gives the edited styles back.

#include "editors/MusicWnd.h"

#include "common/Paths.h"
#include "editors/EditorControls.h"
#include "support/QtTestUtil.h"
#include "toolkit/ResourceManager.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace q407::editors {
namespace {

profiles::MusicStyleSet Stored() {
    profiles::MusicStyleSet styles;
    styles.index = 1;
    styles.names = {"One", "Two", "Three", "Four"};
    styles.colours = {{{1, 1, 1}, {2, 3, 4}, {5, 6, 7}, {8, 9, 0}}};
    return styles;
}

class MusicWndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto& resources = toolkit::ResourceManager::Instance();
        const auto skin = paths::DataDir() / "skin";
        resources.SetResourcePath(QString::fromStdString(skin.string()) + QLatin1Char('/'));
        ASSERT_TRUE(resources.LoadResource(QStringLiteral("res.xml")));
        RegisterEditorControls();
    }

    // Opens the window modally and lets `user` act on it once it shows.
    std::optional<profiles::MusicStyleSet> Run(const std::function<void(MusicWnd&)>& user) {
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(MusicWnd::IsOpen());
            for (toolkit::WindowImplBase* window : toolkit::WindowImplBase::AllWindows()) {
                if (auto* music = qobject_cast<MusicWnd*>(window)) {
                    user(*music);
                    return;
                }
            }
            ADD_FAILURE() << "no music window";
        });
        const auto result = MusicWnd::Edit(nullptr, 96, Stored());
        EXPECT_FALSE(MusicWnd::IsOpen());
        return result;
    }
    template <typename Control>
    static Control* Find(MusicWnd& window, const char* name) {
        auto* control = window.FindControl<Control>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    static std::array<int, 3> Sliders(MusicWnd& window) {
        return {Find<QAbstractSlider>(window, "audio_r_slider")->value(),
                Find<QAbstractSlider>(window, "audio_g_slider")->value(),
                Find<QAbstractSlider>(window, "audio_b_slider")->value()};
    }
};

TEST_F(MusicWndTest, StylesAreChosenEditedAndGivenBackOnConfirm) {
    const auto result = Run([](MusicWnd& window) {
        EXPECT_TRUE(Find<QAbstractButton>(window, "audio_select_tab2")->isChecked());
        EXPECT_EQ(Sliders(window), (std::array<int, 3>{2, 3, 4}));
        EXPECT_EQ(Find<QLineEdit>(window, "audio_edit_name3")->text(), QStringLiteral("Three"));

        Find<QAbstractButton>(window, "audio_select_tab4")->click();
        EXPECT_EQ(Sliders(window), (std::array<int, 3>{8, 9, 0}));
        Find<QAbstractSlider>(window, "audio_b_slider")->setValue(6);

        QLineEdit* name = Find<QLineEdit>(window, "audio_edit_name2");
        name->setText(QString());
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(name, &out);
        EXPECT_EQ(name->text(), QString::fromUtf8("第二组"));
        Find<QAbstractButton>(window, "okbtn")->click();
    });
    ASSERT_TRUE(result.has_value());
    profiles::MusicStyleSet expected = Stored();
    expected.index = 3;
    expected.colours[3] = {8, 9, 6};
    expected.names[1] = "第二组";
    EXPECT_EQ(*result, expected);
}

TEST_F(MusicWndTest, CloseButtonDropsEveryChange) {
    const auto result = Run([](MusicWnd& window) {
        Find<QAbstractSlider>(window, "audio_r_slider")->setValue(9);
        Find<QAbstractButton>(window, "closebtn")->click();
    });
    EXPECT_FALSE(result.has_value());
}

} // namespace
} // namespace q407::editors
