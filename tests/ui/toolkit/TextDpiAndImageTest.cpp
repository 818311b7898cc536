// Language texts and text ids, fonts and DPI scaling, and the skin's image attributes.

#include "ToolkitFixture.h"
#include "toolkit/SkinAttributes.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>

namespace {

using TextTest = ToolkitTest;

QRgb PixelOf(QWidget* control, QPoint at) {
    QImage image(control->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    control->render(&image);
    return image.pixel(at) & 0x00FFFFFF;
}

TEST_F(TextTest, LayoutTextsAreIdsResolvedThroughTheLanguage) {
    TestWindow window;
    ASSERT_TRUE(window.Create(QStringLiteral("Test")));
    auto* label = window.FindControl<QLabel>(QStringLiteral("hello_label"));
    auto* button = window.FindControl<QPushButton>(QStringLiteral("plain_btn"));
    EXPECT_EQ(label->text(), QStringLiteral("Hello"));
    EXPECT_EQ(button->text(), QStringLiteral("Hello"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Menu"));
    EXPECT_EQ(window.FindControl<QLabel>(QStringLiteral("radio_btn")), nullptr);

    auto& resources = q407::toolkit::ResourceManager::Instance();
    ASSERT_TRUE(resources.LoadLanguage(QStringLiteral("lan_b.qm")));
    resources.ReloadText();
    EXPECT_EQ(label->text(), QStringLiteral("Bonjour"));
    EXPECT_EQ(button->text(), QStringLiteral("Bonjour"));
    EXPECT_EQ(button->toolTip(), QStringLiteral("Menu principal"));
    EXPECT_EQ(qtTrId("menu_exit"), QStringLiteral("Quitter")) << "installed for qtTrId too";

    // A missing language file keeps the texts that were loaded; so does a name that only shares
    // a prefix with a language file.
    for (const char* missing : {"lan_zz.qm", "lan", "lan_a_b.qm", ""}) {
        EXPECT_FALSE(resources.LoadLanguage(QString::fromLatin1(missing))) << missing;
    }
    resources.ReloadText();
    EXPECT_EQ(label->text(), QStringLiteral("Bonjour"));
    // A name without ".qm" finds the compiled file of the same stem.
    ASSERT_TRUE(resources.LoadLanguage(QStringLiteral("lan_a.xml")));
    EXPECT_EQ(resources.Text(QStringLiteral("hello_text")), QStringLiteral("Hello"));
}

TEST_F(TextTest, HiddenTextTestLabelResolvesAnyTextId) {
    TestWindow window;
    ASSERT_TRUE(window.Create(QStringLiteral("Test")));
    QWidget* probe = window.FindControl(QStringLiteral("text_test"));
    q407::toolkit::SetControlText(probe, QStringLiteral("message_text_22"));
    EXPECT_EQ(q407::toolkit::ControlText(probe), QStringLiteral("Restore the defaults?"));
    q407::toolkit::SetControlText(probe, QStringLiteral("not an id"));
    EXPECT_EQ(q407::toolkit::ControlText(probe), QStringLiteral("not an id"));

    // Ids the language lacks are asked of the text-query callback.
    q407::toolkit::ResourceManager::Instance().SetTextQuery([](const QString& id) {
        return id == QLatin1String("device_name_7") ? QStringLiteral("Headset") : QString();
    });
    q407::toolkit::SetControlText(probe, QStringLiteral("device_name_7"));
    EXPECT_EQ(q407::toolkit::ControlText(probe), QStringLiteral("Headset"));
    q407::toolkit::SetControlText(probe, QStringLiteral("hello_text"));
    EXPECT_EQ(q407::toolkit::ControlText(probe), QStringLiteral("Hello"))
        << "the language file wins";
}

TEST_F(TextTest, SetAllDpiScalesWindowsFixedControlsAndFonts) {
    auto& resources = q407::toolkit::ResourceManager::Instance();
    resources.AddFont(3, {QStringLiteral("DejaVu Sans"), 12, true, false, false});
    TestWindow window;
    ASSERT_TRUE(window.Create(QStringLiteral("Test"), QSize(800, 572)));
    auto* button = window.FindControl<QPushButton>(QStringLiteral("plain_btn"));
    EXPECT_EQ(button->font().pixelSize(), 12);
    EXPECT_TRUE(button->font().bold());

    resources.SetAllDPI(144);
    EXPECT_EQ(resources.Dpi(), 144);
    EXPECT_EQ(window.size(), QSize(1200, 858));
    EXPECT_EQ(button->minimumSize(), QSize(60, 30));
    EXPECT_EQ(button->font().pixelSize(), 18);
    EXPECT_EQ(resources.Font(-1).pixelSize(), 18) << "default font scales too";

    resources.SetAllDPI(96);
    EXPECT_EQ(window.size(), QSize(800, 572));
    EXPECT_EQ(button->minimumSize(), QSize(40, 20));
    EXPECT_EQ(button->font().pixelSize(), 12);
    resources.SetAllDPI(0); // ignored
    EXPECT_EQ(resources.Dpi(), 96);
    resources.RemoveAllFonts();
}

TEST(ImageDescription, ParsesPlainNamesAndAttributeForm) {
    auto plain = q407::toolkit::ParseImageDescription(QStringLiteral(" common/close.png "));
    EXPECT_EQ(plain.file, QStringLiteral("common/close.png"));
    EXPECT_FALSE(plain.source.has_value());

    auto full = q407::toolkit::ParseImageDescription(
        QStringLiteral("file='power/WIFI_down.png' source='0,0,24,12' "
                       "dest='2,2,26,14' fade='128' mask='0xffff00ff'"));
    EXPECT_EQ(full.file, QStringLiteral("power/WIFI_down.png"));
    ASSERT_TRUE(full.source.has_value());
    EXPECT_EQ(*full.source, QRect(0, 0, 24, 12));
    EXPECT_EQ(*full.dest, QRect(2, 2, 24, 12));
    EXPECT_EQ(full.fade, 128);
    EXPECT_EQ(full.mask->rgba(), 0xFFFF00FFu);

    EXPECT_TRUE(q407::toolkit::ParseImageDescription(QString()).IsEmpty());
    EXPECT_FALSE(
        q407::toolkit::ParseImageDescription(QStringLiteral("file='x.png' source='9,9,1,1'"))
            .source)
        << "an inverted rectangle is ignored";
    EXPECT_FALSE(
        q407::toolkit::ParseImageDescription(QStringLiteral("file='x.png' source='1,2,3'")).source);
    EXPECT_EQ(q407::toolkit::ParseImageDescription(QStringLiteral("file='x.png' fade='900'")).fade,
              255);
}

TEST(ImageDescription, ParsesColoursInBothNotations) {
    EXPECT_EQ(q407::toolkit::ParseColor(QStringLiteral("0xFF00FF00"))->rgba(), 0xFF00FF00u);
    EXPECT_EQ(q407::toolkit::ParseColor(QStringLiteral("#80112233"))->rgba(), 0x80112233u);
    EXPECT_EQ(q407::toolkit::ParseColor(QStringLiteral("#112233"))->rgba(), 0xFF112233u);
    EXPECT_FALSE(q407::toolkit::ParseColor(QStringLiteral("112233")));
    EXPECT_FALSE(q407::toolkit::ParseColor(QStringLiteral("#12345")));
    EXPECT_FALSE(q407::toolkit::ParseColor(QStringLiteral("0xZZ")));
}

TEST_F(TextTest, ImagesFollowTheControlStateAndAttributesChangeAtRunTime) {
    TestWindow window;
    ASSERT_TRUE(window.Create(QStringLiteral("Test")));
    auto* button = window.FindControl<QPushButton>(QStringLiteral("image_btn"));
    EXPECT_EQ(PixelOf(button, {4, 4}), 0xFF0000u) << "normal image";
    button->setChecked(true);
    EXPECT_EQ(PixelOf(button, {4, 4}), 0x0000FFu) << "selected image";
    button->setChecked(false);

    EXPECT_EQ(PixelOf(window.FindControl(QStringLiteral("colour_panel")), {3, 3}), 0x00FF00u)
        << "background colour from the layout";

    // A source rectangle picks the right (magenta) half of the image.
    ASSERT_TRUE(
        q407::toolkit::SetAttribute(button, QStringLiteral("normalimage"),
                                    QStringLiteral("file='img/halves.png' source='4,0,8,8'")));
    EXPECT_EQ(PixelOf(button, {1, 4}), 0xFF00FFu);
    // A mask colour becomes transparent, so the white under it shows.
    ASSERT_TRUE(
        q407::toolkit::SetAttribute(button, QStringLiteral("normalimage"),
                                    QStringLiteral("file='img/halves.png' mask='0xffff00ff'")));
    EXPECT_EQ(PixelOf(button, {1, 4}), 0x00FF00u);
    EXPECT_EQ(PixelOf(button, {6, 4}), 0xFFFFFFu);
    // A missing image draws nothing rather than failing.
    ASSERT_TRUE(q407::toolkit::SetAttribute(button, QStringLiteral("normalimage"),
                                            QStringLiteral("img/none.png")));
    EXPECT_EQ(PixelOf(button, {4, 4}), 0xFFFFFFu);

    EXPECT_TRUE(
        q407::toolkit::SetAttribute(button, QStringLiteral("text"), QStringLiteral("hello_text")));
    EXPECT_EQ(button->text(), QStringLiteral("Hello"));
    EXPECT_TRUE(
        q407::toolkit::SetAttribute(button, QStringLiteral("visible"), QStringLiteral("false")));
    EXPECT_TRUE(button->isHidden());
    EXPECT_FALSE(
        q407::toolkit::SetAttribute(button, QStringLiteral("nonsense"), QStringLiteral("1")));
    EXPECT_FALSE(q407::toolkit::SetAttribute(nullptr, QStringLiteral("text"), QStringLiteral("1")));
}

} // namespace
