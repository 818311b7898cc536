#include "app/Languages.h"

#include "common/AtomicFile.h"
#include "common/Paths.h"
#include "toolkit/ResourceManager.h"

#include <QApplication>
#include <QFont>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

namespace q407::app {
namespace {

constexpr std::size_t kCatalogueLimit = 1 << 20;
const char* const kLanguageKey = "LANGUAGE";

// The interface faces: index 0 (Simplified Chinese), 2 (Traditional Chinese), 15 (Thai), others.
const char* const kFaceIndex0 = "汉仪菱心体简";
const char* const kFaceIndex2 = "Noto Sans CJK TC Regular";
const char* const kFaceIndex15 = "Noto Sans Thai";
const char* const kFaceOthers = "MiSans Normal";

bool SameLanguage(const QLocale& a, const QLocale& b) {
    return a.language() == b.language() &&
           (a.script() == b.script() || a.script() == QLocale::AnyScript ||
            b.script() == QLocale::AnyScript);
}

} // namespace

std::filesystem::path DefaultLanguageCatalogueFile() {
    return q407::paths::DataDir() / "DefaultData" / "Language.config";
}

LanguageCatalogue ReadLanguageCatalogue(const std::filesystem::path& file) {
    const auto contents = q407::ReadFileBounded(file, kCatalogueLimit);
    if (!contents) {
        return {};
    }
    LanguageCatalogue catalogue;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(*contents));
    for (const QJsonValue& element :
         document.object().value(QStringLiteral("Language")).toArray()) {
        const QJsonObject language = element.toObject();
        catalogue.push_back({language.value(QStringLiteral("Language_ID")).toInt(),
                             language.value(QStringLiteral("Language_name")).toString(),
                             language.value(QStringLiteral("Language_file")).toString(),
                             language.value(QStringLiteral("Language_text")).toString()});
    }
    return catalogue;
}

std::filesystem::path LanguageSettingsFile() {
    return q407::paths::ConfigDir() / "Q407.conf";
}

std::optional<int> StoredLanguageId() {
    const QSettings settings(QString::fromStdString(LanguageSettingsFile().string()),
                             QSettings::IniFormat);
    bool ok = false;
    const int id = settings.value(QLatin1String(kLanguageKey)).toInt(&ok);
    return ok ? std::optional<int>(id) : std::nullopt;
}

bool StoreLanguageId(int id) {
    QSettings settings(QString::fromStdString(LanguageSettingsFile().string()),
                       QSettings::IniFormat);
    settings.setValue(QLatin1String(kLanguageKey), id);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

int LanguageIndexOfId(const LanguageCatalogue& catalogue, int id) {
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (catalogue[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

int LanguageIndexForLocale(const LanguageCatalogue& catalogue, const QLocale& locale) {
    for (const QString& wanted : locale.uiLanguages()) {
        const QLocale asked(wanted);
        if (asked.language() == QLocale::C) {
            continue;
        }
        for (std::size_t i = 0; i < catalogue.size(); ++i) {
            if (SameLanguage(asked, QLocale(catalogue[i].name))) {
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

int ChooseLanguageIndex(const LanguageCatalogue& catalogue, std::optional<int> storedId,
                        const QLocale& locale) {
    if (storedId) {
        return LanguageIndexOfId(catalogue, *storedId);
    }
    if (const int index = LanguageIndexForLocale(catalogue, locale); index >= 0) {
        return index;
    }
    const int english = LanguageIndexForLocale(catalogue, QLocale(QLocale::English));
    return english >= 0 ? english : 0;
}

QString UiFaceForLanguage(int index) {
    switch (index) {
    case 0:
        return QString::fromUtf8(kFaceIndex0);
    case 2:
        return QString::fromLatin1(kFaceIndex2);
    case 15:
        return QString::fromLatin1(kFaceIndex15);
    default:
        return QString::fromLatin1(kFaceOthers);
    }
}

void InstallUiFaceSubstitutions() {
    // Free faces with the same script coverage, best first: Noto where it is installed, the
    // lighter WenQuanYi Micro Hei (both Chinese scripts) and Open Sans where it is not.
    const QString latin[] = {QStringLiteral("Noto Sans"), QStringLiteral("Open Sans"),
                             QStringLiteral("DejaVu Sans")};
    const QString microHei = QStringLiteral("WenQuanYi Micro Hei");
    const struct {
        QString face;
        QStringList substitutes;
    } table[] = {
        {QString::fromUtf8(kFaceIndex0),
         {QStringLiteral("Noto Sans CJK SC"), microHei, QStringLiteral("Droid Sans Fallback")}},
        {QString::fromLatin1(kFaceIndex2),
         {QStringLiteral("Noto Sans CJK TC"), microHei, QStringLiteral("Droid Sans Fallback")}},
        {QString::fromLatin1(kFaceIndex15),
         {QStringLiteral("Noto Sans Thai UI"), QStringLiteral("Loma"), latin[2]}},
        {QString::fromLatin1(kFaceOthers), {latin[0], latin[1], latin[2], microHei}},
    };
    for (const auto& row : table) {
        QFont::removeSubstitutions(row.face);
        QFont::insertSubstitutions(row.face, row.substitutes);
    }
}

void SetUiFonts(const QString& face) {
    struct FontRow {
        int id;
        int size;
        bool bold;
        bool underline;
    };
    static constexpr FontRow kFonts[] = {
        {0, 15, false, false}, {1, 14, false, true},  {2, 18, false, false}, {3, 30, false, false},
        {4, 16, false, false}, {5, 20, false, false}, {6, 22, false, false}, {7, 14, false, false},
        {8, 12, false, false}, {9, 10, false, false}, {10, 8, false, false}, {11, 28, false, false},
        {50, 14, true, false}, {51, 16, true, false},
    };
    auto& resources = toolkit::ResourceManager::Instance();
    resources.RemoveAllFonts();
    resources.SetDefaultFont({face, 11});
    for (const FontRow& row : kFonts) {
        resources.AddFont(row.id, {face, row.size, row.bold, row.underline});
    }
    resources.ApplyDefaultFont();
}

} // namespace q407::app
