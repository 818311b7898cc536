// The language files against everything that shows a text: every text id a layout, a menu, a
// data file or the code uses has a finished translation in every language "Language.config"
// lists, no translation leaves out a placeholder of its source text, and the compiled files say
// what their sources say.

#include "common/Paths.h"
#include "hid/DeviceTable.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>

namespace {

struct Message {
    QString source;
    QString translation;
    bool finished = false;
};
using Messages = std::map<QString, Message>;

// A text id and where it is used.
using Uses = std::map<QString, QString>;

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

Messages ReadTs(const QString& path) {
    Messages messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString id;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("message")) {
            id = xml.attributes().value(QStringLiteral("id")).toString();
        } else if (xml.name() == QLatin1String("source")) {
            messages[id].source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            // Qt Linguist marks what still needs a translator's look with a type.
            messages[id].finished = xml.attributes().value(QStringLiteral("type")).isEmpty();
            messages[id].translation = xml.readElementText();
        }
    }
    return messages;
}

bool LooksLikeId(const QString& text) {
    static const QRegularExpression id(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    return id.match(text).hasMatch();
}

void ScanLayouts(const QDir& root, Uses& uses) {
    QDirIterator files(root.filePath(QStringLiteral("skin/XML")), {QStringLiteral("*.xml")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        QXmlStreamReader xml(&file);
        const QString where = root.relativeFilePath(path);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            // Menus name their texts in an attribute.
            if (const auto text = xml.attributes().value(QStringLiteral("text")); !text.isEmpty()) {
                uses.emplace(text.toString(), where);
            }
            const QString property = xml.attributes().value(QStringLiteral("name")).toString();
            if (xml.name() != QLatin1String("property") ||
                (property != QLatin1String("text") && property != QLatin1String("textid") &&
                 property != QLatin1String("tiptextid") && property != QLatin1String("toolTip"))) {
                continue;
            }
            if (xml.readNextStartElement() && xml.name() == QLatin1String("string")) {
                const QString value = xml.readElementText();
                // Numbers and symbols ("0%", "●") are shown as they are; a plain tool tip is a
                // text that no language translates.
                if (LooksLikeId(value) ||
                    (property == QLatin1String("toolTip") && !value.isEmpty())) {
                    uses.emplace(value, where);
                }
            }
        }
    }
}

void ScanCode(const QDir& root, Uses& uses) {
    static const QRegularExpression marked(
        QStringLiteral(R"re((?:QT_TRID_NOOP|QT_TRID_N_NOOP|qtTrId)\s*\(\s*"([^"]+)")re"));
    for (const char* folder : {"toolkit", "editors", "pages", "app"}) {
        QDirIterator files(root.filePath(QString::fromLatin1(folder)),
                           {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            auto matches = marked.globalMatch(ReadAll(path));
            while (matches.hasNext()) {
                uses.emplace(matches.next().captured(1), root.relativeFilePath(path));
            }
        }
    }
}

void ScanData(const QDir& root, const QJsonArray& languages, Uses& uses) {
    for (const QJsonValue& language : languages) {
        uses.emplace(language[QStringLiteral("Language_text")].toString(),
                     QStringLiteral("data/Language.config"));
    }
    const QJsonDocument lights = QJsonDocument::fromJson(
        ReadAll(root.filePath(QStringLiteral("data/default_light.json"))).toUtf8());
    // The mode and area names, as one list or as one list per light table.
    for (const char* key : {"DefaultLightName", "AreaLightName"}) {
        for (const QJsonValue& entry : lights[QLatin1String(key)].toArray()) {
            const QJsonArray table =
                entry.isArray() ? entry.toArray() : QJsonArray{QJsonValue(entry)};
            for (const QJsonValue& light : table) {
                uses.emplace(light[QStringLiteral("LightName")].toString(),
                             QStringLiteral("data/default_light.json"));
            }
        }
    }
}

QStringList Placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%(?:[1-9]|l?[ds])"));
    QStringList found;
    auto matches = placeholder.globalMatch(text);
    while (matches.hasNext()) {
        found.append(matches.next().captured());
    }
    found.sort();
    return found;
}

// Every fault of the language files of the tree at `root`: the catalogue's languages, their
// sources in skin/Language and, when `compiled` is given, the .qm files there.
QStringList CheckLanguages(const QDir& root, const QString& compiled, Uses uses) {
    QStringList problems;
    const QJsonArray languages =
        QJsonDocument::fromJson(ReadAll(root.filePath(QStringLiteral("data/Language.config")))
                                    .toUtf8())[QStringLiteral("Language")]
            .toArray();
    if (languages.isEmpty()) {
        return {QStringLiteral("no languages in data/Language.config")};
    }
    ScanLayouts(root, uses);
    ScanCode(root, uses);
    ScanData(root, languages, uses);

    std::map<QString, Messages> sources; // by language file
    for (const QJsonValue& language : languages) {
        const QString file = language[QStringLiteral("Language_file")].toString();
        const QString ts = QStringLiteral("skin/Language/") + QFileInfo(file).completeBaseName() +
                           QStringLiteral(".ts");
        Messages messages = ReadTs(root.filePath(ts));
        if (messages.empty()) {
            problems.append(file + QStringLiteral(": no source ") + ts);
            continue;
        }
        // An id one language has is used by someone: every language needs it.
        for (const auto& [id, message] : messages) {
            uses.emplace(id, ts);
        }
        sources[file] = std::move(messages);
    }
    for (const auto& [file, messages] : sources) {
        for (const auto& [id, where] : uses) {
            const auto it = messages.find(id);
            if (it == messages.end() || !it->second.finished || it->second.translation.isEmpty()) {
                problems.append(file + QStringLiteral(": no translation of ") + id +
                                QStringLiteral(" (") + where + QLatin1Char(')'));
            } else if (Placeholders(it->second.translation) != Placeholders(it->second.source)) {
                problems.append(file + QStringLiteral(": ") + id +
                                QStringLiteral(" changes the placeholders of its source"));
            }
        }
        if (compiled.isEmpty()) {
            continue;
        }
        QTranslator translator;
        if (!translator.load(QDir(compiled).filePath(file))) {
            problems.append(file + QStringLiteral(": not compiled"));
            continue;
        }
        for (const auto& [id, message] : messages) {
            if (translator.translate(nullptr, id.toUtf8().constData()) != message.translation) {
                problems.append(file + QStringLiteral(": compiled text of ") + id +
                                QStringLiteral(" differs from its source"));
            }
        }
    }
    return problems;
}

QDir SourceTree() {
    return QDir(QDir::cleanPath(QStringLiteral(Q407_TEST_DATA_DIR "/../..")));
}

TEST(LanguageFiles, EveryTextIdHasItsTranslationInEveryListedLanguage) {
    Uses products;
    for (const auto& option : q407::hid::DeviceOptions()) {
        products.emplace(QStringLiteral("device_name_") +
                             QString::fromLatin1(option.productName.data(),
                                                 static_cast<qsizetype>(option.productName.size())),
                         QStringLiteral("hid/DeviceTable.cpp"));
    }
    const QString compiled = QString::fromStdString((q407::paths::DataDir() / "Language").string());
    const QStringList problems = CheckLanguages(SourceTree(), compiled, products);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
}

TEST(LanguageFiles, CatalogueStartsWithSimplifiedChineseAndOffersFourLanguages) {
    const QJsonArray languages =
        QJsonDocument::fromJson(
            ReadAll(SourceTree().filePath(QStringLiteral("data/Language.config")))
                .toUtf8())[QStringLiteral("Language")]
            .toArray();
    QStringList names;
    QList<int> ids;
    for (const QJsonValue& language : languages) {
        names.append(language[QStringLiteral("Language_name")].toString());
        ids.append(language[QStringLiteral("Language_ID")].toInt());
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("zh_CN"), QStringLiteral("en_US"),
                                  QStringLiteral("zh_TW"), QStringLiteral("de_DE")}));
    EXPECT_EQ(ids, (QList<int>{2052, 1033, 1028, 1031}));
}

// The check itself must find the faults it is there for, in a small tree made to have them.
TEST(LanguageFiles, CheckFindsMissingTranslationsAndDroppedPlaceholders) {
    const QStringList problems =
        CheckLanguages(QDir(QStringLiteral(Q407_TEST_DATA_DIR "/languages")), QString(),
                       {{QStringLiteral("device_name_pad"), QStringLiteral("table")}});
    QStringList expected{
        QStringLiteral("lan_a.qm: no translation of device_name_pad (table)"),
        QStringLiteral("lan_a.qm: no translation of Plain tip (skin/XML/page.xml)"),
        QStringLiteral("lan_b.qm: no translation of code_text (app/Code.cpp)"),
        QStringLiteral("lan_b.qm: no translation of device_name_pad (table)"),
        QStringLiteral("lan_b.qm: no translation of draft_text (skin/Language/lan_a.ts)"),
        QStringLiteral("lan_b.qm: no translation of menu_text (skin/XML/menu.xml)"),
        QStringLiteral("lan_b.qm: no translation of Plain tip (skin/XML/page.xml)"),
        QStringLiteral("lan_b.qm: error_text changes the placeholders of its source"),
        QStringLiteral("lan_a.qm: layout_text changes the placeholders of its source"),
        QStringLiteral("lan_c.qm: no source skin/Language/lan_c.ts"),
    };
    QStringList found = problems;
    found.sort();
    expected.sort();
    EXPECT_EQ(found, expected);
}

} // namespace
