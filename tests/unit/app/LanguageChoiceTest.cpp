// Which language the program shows: the stored choice, else the user's locale, else English;
// and the choice kept in the settings file.

#include "app/Languages.h"
#include "support/ScopedEnv.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using q407::app::ChooseLanguageIndex;
using q407::app::LanguageCatalogue;

LanguageCatalogue Catalogue() {
    return {{2052, QStringLiteral("zh_CN"), QStringLiteral("lan_cn.qm"), QString()},
            {1033, QStringLiteral("en_US"), QStringLiteral("lan_en.qm"), QString()},
            {1028, QStringLiteral("zh_TW"), QStringLiteral("lan_tw.qm"), QString()},
            {1031, QStringLiteral("de_DE"), QStringLiteral("lan_de.qm"), QString()}};
}

TEST(LanguageChoice, StoredChoiceWinsThenTheLocaleThenEnglish) {
    struct Case {
        std::optional<int> stored;
        const char* locale; // as LANG gives it
        int index;
    };
    const Case cases[] = {
        {std::nullopt, "de_DE.UTF-8", 3}, {std::nullopt, "de_AT", 3},
        {std::nullopt, "fr_FR.UTF-8", 1}, {std::nullopt, "C", 1},
        {std::nullopt, "en_GB.UTF-8", 1}, {std::nullopt, "zh_CN.UTF-8", 0},
        {std::nullopt, "zh_TW.UTF-8", 2}, {std::nullopt, "zh_HK", 2},
        {std::nullopt, "zh_SG", 0},       {1028, "de_DE.UTF-8", 2},
        {2052, "en_US.UTF-8", 0},         {4242, "de_DE.UTF-8", 0}, // unknown id: index 0
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            ChooseLanguageIndex(Catalogue(), c.stored, QLocale(QString::fromLatin1(c.locale))),
            c.index)
            << c.locale << " stored " << c.stored.value_or(-1);
    }
    // Without a catalogue there is only index 0.
    EXPECT_EQ(ChooseLanguageIndex({}, std::nullopt, QLocale(QStringLiteral("de_DE"))), 0);
}

TEST(LanguageChoice, ChoiceIsKeptInTheSettingsFileUnderLanguage) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    testutil::ScopedEnv config("XDG_CONFIG_HOME",
                               home.filePath(QStringLiteral("config")).toStdString());
    EXPECT_EQ(q407::app::StoredLanguageId(), std::nullopt) << "nothing stored before a choice";
    ASSERT_TRUE(q407::app::StoreLanguageId(1031));
    EXPECT_EQ(q407::app::StoredLanguageId(), 1031);
    QFile file(home.path() + QStringLiteral("/config/Q407/Q407.conf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("LANGUAGE=1031"));
}

} // namespace
