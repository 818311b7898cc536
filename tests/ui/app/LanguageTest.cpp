// Languages in the running program: choosing one in the settings window re-texts every open
// window (checked on real texts) and keeps the choice; every text fits its control in every
// language at 96 and 144 DPI, with pictures of the mouse page per language for people to see.

#include "ShellFixture.h"
#include "app/CSetWnd.h"
#include "app/CSkinFrame.h"
#include "app/Languages.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "editors/CDeviceProfileUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaMouseDevice.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/QtTestUtil.h"
#include "support/UiTestScopes.h"
#include "toolkit/ResourceManager.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

using q407::app::CMainWnd;
using q407::app::CSetWnd;
using q407::pages::CKestravaMouseDevice;
using q407::sim::SimProduct;
using q407::sim::SimulatedProduct;

// Whether some character of `text` has no glyph in `font` nor in a font that stands in for it:
// it would be drawn as an empty box.
bool HasEmptyBoxes(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const auto glyphs = run.glyphIndexes();
        if (std::find(glyphs.begin(), glyphs.end(), 0u) != glyphs.end()) {
            return true;
        }
    }
    return false;
}

// The texts of `window` a user cannot read: "name: text" for each control that shows a text cut
// off or with empty boxes.
QStringList UnreadableTexts(const QWidget* window) {
    QStringList clipped;
    const auto report = [&](const QWidget* control, const QString& text) {
        clipped.append(control->objectName() + QStringLiteral(": ") + text);
    };
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        const QString text = q407::toolkit::ControlText(control);
        if (control->isVisibleTo(window) && HasEmptyBoxes(text, control->font())) {
            report(control, QStringLiteral("boxes in ") + text);
        }
    }
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(window) || control->width() <= 0) {
            continue;
        }
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            if (label->text().isEmpty() || label->pixmap().isNull() == false) {
                continue;
            }
            const bool fits = label->wordWrap()
                                  ? label->heightForWidth(label->width()) <= label->height()
                                  : label->minimumSizeHint().width() <= label->width();
            if (!fits) {
                report(label, label->text());
            }
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
            if (!button->text().isEmpty() && button->sizeHint().width() > button->width()) {
                report(button, button->text());
            }
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
            QStyleOptionFrame option;
            option.initFrom(edit);
            option.lineWidth = edit->hasFrame() ? 1 : 0;
            const QRect contents = edit->style()
                                       ->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                                       .marginsRemoved(edit->textMargins());
            // QLineEdit keeps two pixels of its contents free on each side.
            if (edit->fontMetrics().horizontalAdvance(edit->text()) > contents.width() - 4) {
                report(edit, edit->text());
            }
        } else if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            if (combo->fontMetrics().horizontalAdvance(combo->currentText()) > field.width()) {
                report(combo, combo->currentText());
            }
        } else if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
            if (group->minimumSizeHint().width() > group->width()) {
                report(group, group->title());
            }
        }
    }
    return clipped;
}

class LanguageTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(testutil::WaitUntil([&] { return m_window->isVisible(); }));
    }
    void TearDown() override {
        m_settings.reset();
        ShellTest::TearDown();
    }

    CKestravaMouseDevice* PlugMouse(SimProduct which) {
        Plug(which);
        return ActivatedSelectedPage<CKestravaMouseDevice>(*m_window);
    }
    CSetWnd& OpenSettings() {
        q407::app::SetWndServices services;
        services.languageCatalogue = q407::app::DefaultLanguageCatalogueFile();
        q407::app::SetWndRequest request;
        request.languageIndex = m_window->LanguageIndex();
        request.languageChosen = [this](int index) {
            qint64 result = 0;
            m_window->HandleMessage(q407::app::kLanguageChangedMessage, index, 0, result);
        };
        m_settings = std::make_unique<CSetWnd>(
            nullptr, std::vector<q407::update::UpdateComponent>{}, services, request);
        EXPECT_TRUE(m_settings->Create(QStringLiteral("SetWnd"), QSize(630, 500)));
        m_settings->show();
        return *m_settings;
    }
    QString Text(const QWidget* window, const char* name) const {
        return q407::toolkit::ControlText(window->findChild<QWidget*>(QString::fromLatin1(name)));
    }

    std::unique_ptr<CSetWnd> m_settings;
};

TEST_F(LanguageTest, ChoosingALanguageReTextsEveryOpenWindowAndKeepsTheChoice) {
    CKestravaMouseDevice* page = PlugMouse(SimProduct::MouseAReceiver);
    ASSERT_NE(page, nullptr);
    CSetWnd& settings = OpenSettings();
    EXPECT_EQ(m_window->LanguageIndex(), 1) << "the C locale gives English";
    const QString settingsFile = QString::fromStdString(q407::app::LanguageSettingsFile().string());
    EXPECT_FALSE(QFile::exists(settingsFile)) << "nothing is stored before the user chooses";

    auto* combo = settings.FindControl<QComboBox>(QStringLiteral("Language_combox_info"));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(combo->itemText(3), QStringLiteral("Deutsch"));

    struct Expected {
        int index;
        int storedId;
        const char* light;    // main window
        const char* tip;      // a tool tip of the main window
        const char* title;    // settings window
        const char* language; // its label
        const char* dpiTitle; // mouse page, from the layout
        const char* sleep;    // mouse page, put together by the page
        const char* shake;    // a combo row of the page
        const char* entry;    // the selector entry
    };
    const Expected languages[] = {
        {3, 1031, "Beleuchtung wird gesteuert", "Schließen", "Einstellungen", "Sprache",
         "DPI-Stufen", "Min.", "Mittel", "Maus"},
        {2, 1028, "控制燈光", "關閉", "設定", "語言", "DPI 段位", "分鐘", "中", "滑鼠"},
        {0, 2052, "控制灯光", "关闭", "设置", "语言", "DPI 档位", "分钟", "中", "鼠标"},
        {1, 1033, "Controlling lights", "Close", "Settings", "Language", "DPI stages", "min",
         "Medium", "Mouse"},
    };
    for (const Expected& language : languages) {
        combo->setCurrentIndex(language.index);
        EXPECT_EQ(m_window->LanguageIndex(), language.index);
        EXPECT_EQ(Text(m_window.get(), "control_light_status"), QString::fromUtf8(language.light));
        EXPECT_EQ(m_window->FindControl(QStringLiteral("closebtn"))->toolTip(),
                  QString::fromUtf8(language.tip));
        EXPECT_EQ(Text(&settings, "title_text"), QString::fromUtf8(language.title));
        EXPECT_EQ(Text(&settings, "language_label"), QString::fromUtf8(language.language));
        EXPECT_EQ(Text(page, "dpi_heading"), QString::fromUtf8(language.dpiTitle));
        EXPECT_TRUE(Text(page, "Dormancy_value").endsWith(QString::fromUtf8(language.sleep)))
            << Text(page, "Dormancy_value").toStdString();
        EXPECT_EQ(
            page->findChild<QComboBox*>(QStringLiteral("Anti_Shake_combo_timeSelect"))->itemText(2),
            QString::fromUtf8(language.shake));
        EXPECT_EQ(
            Text(m_window->Pages()->Entry(m_window->Pages()->SelectedPage()), "device_select"),
            QString::fromUtf8(language.entry));
        EXPECT_EQ(combo->itemText(3), QStringLiteral("Deutsch")) << "names stay in their language";
        EXPECT_EQ(QSettings(settingsFile, QSettings::IniFormat).value(QStringLiteral("LANGUAGE")),
                  language.storedId);
    }
    // The interface face follows the language: the Chinese faces for Chinese, another for the
    // rest; each stands in for a face that is not ours to ship.
    combo->setCurrentIndex(0);
    EXPECT_EQ(q407::toolkit::ResourceManager::Instance().Font(-1).family(),
              QStringLiteral("汉仪菱心体简"));
    EXPECT_FALSE(QFont::substitutes(QStringLiteral("汉仪菱心体简")).isEmpty());
    for (const char* styled : {"control_light_status", "title_text", "No_device_Link"}) {
        EXPECT_EQ(m_window->FindControl(QString::fromLatin1(styled))->font().family(),
                  QStringLiteral("汉仪菱心体简"))
            << styled;
    }
    EXPECT_EQ(page->findChild<QWidget*>(QStringLiteral("dpi_heading"))->font().family(),
              QStringLiteral("汉仪菱心体简"));
}

// Every text in every language fits its control, at 96 and 144 DPI; the mouse page of each
// language is written as a picture.
class LanguageFitTest : public LanguageTest, public ::testing::WithParamInterface<int> {};

TEST_P(LanguageFitTest, EveryTextFitsAt96And144Dpi) {
    CKestravaMouseDevice* page = PlugMouse(SimProduct::MouseAReceiver);
    ASSERT_NE(page, nullptr);
    CSetWnd& settings = OpenSettings();
    const QString folder = QStringLiteral(Q407_BIN_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(folder));
    auto& resources = q407::toolkit::ResourceManager::Instance();
    const char* const names[] = {"cn", "en", "tw", "de"};
    const int language = GetParam();
    {
        qint64 result = 0;
        m_window->HandleMessage(q407::app::kLanguageChangedMessage, language, 0, result);
        for (const int dpi : {96, 144}) {
            resources.SetAllDPI(96);
            testutil::WaitUntil([] { return false; }, 30); // layouts take the new fonts
            m_window->resize(1000, 640);
            settings.resize(630, 500);
            resources.SetAllDPI(dpi);
            testutil::WaitUntil([] { return false; }, 30);
            // The window keeps the size made for its DPI: no text asks for more room.
            EXPECT_EQ(m_window->size(), QSize(1000, 640) * dpi / 96) << names[language];
            for (const auto& [feature, tabs] :
                 {std::pair{1, 1}, std::pair{2, 1}, std::pair{3, 1}, std::pair{4, 3},
                  std::pair{5, 1}, std::pair{8, 1}, std::pair{9, 1}}) {
                page->ProfilePanel()->SelectFeatureTab(feature);
                page->SelectFeaturePage(feature);
                for (int tab = 0; tab < tabs; ++tab) {
                    if (feature == 4) {
                        page->SelectSettingsTab(tab);
                    }
                    testutil::WaitUntil([] { return false; }, 30); // let the layout settle
                    const QString where = QStringLiteral("%1 at %2 DPI, feature %3.%4")
                                              .arg(QString::fromLatin1(names[language]))
                                              .arg(dpi)
                                              .arg(feature)
                                              .arg(tab);
                    EXPECT_EQ(m_window->size(), QSize(1000, 640) * dpi / 96)
                        << where.toStdString() << ": a page asks for more room than the window has";
                    const QStringList clipped = UnreadableTexts(m_window.get());
                    EXPECT_TRUE(clipped.isEmpty())
                        << where.toStdString() << ": "
                        << clipped.join(QStringLiteral(" | ")).toStdString();
                    if (feature == 4 || feature == 1 || feature == 3) {
                        const QString file = QStringLiteral("%1/language-%2-%3dpi-%4-%5.png")
                                                 .arg(folder, QString::fromLatin1(names[language]))
                                                 .arg(dpi)
                                                 .arg(feature)
                                                 .arg(tab);
                        EXPECT_TRUE(m_window->grab().save(file)) << file.toStdString();
                    }
                }
            }
            const QStringList clipped = UnreadableTexts(&settings);
            // The skin chooser, made at this DPI.
            m_window->FindControl<QAbstractButton>(QStringLiteral("skinbtn"))->click();
            ASSERT_NE(m_window->SkinFrame(), nullptr);
            EXPECT_TRUE(UnreadableTexts(m_window->SkinFrame()).isEmpty())
                << "skin chooser, " << names[language] << " at " << dpi << ": "
                << UnreadableTexts(m_window->SkinFrame()).join(QStringLiteral(" | ")).toStdString();
            EXPECT_TRUE(m_window->SkinFrame()->grab().save(
                QStringLiteral("%1/skin-%2-%3dpi.png")
                    .arg(folder, QString::fromLatin1(names[language]))
                    .arg(dpi)));
            m_window->SkinFrame()->close();
            EXPECT_TRUE(clipped.isEmpty())
                << "settings window, " << names[language] << " at " << dpi << ": "
                << clipped.join(QStringLiteral(" | ")).toStdString();
        }
    }
}

std::string LanguageName(const ::testing::TestParamInfo<int>& info) {
    const char* const languages[] = {"SimplifiedChinese", "English", "TraditionalChinese",
                                     "German"};
    return languages[info.param];
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, LanguageFitTest, ::testing::Range(0, 4), LanguageName);

} // namespace
