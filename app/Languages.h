#pragma once

// The languages the program offers and the user's choice among them.
//
// "Language.config" (data folder's DefaultData) lists them: {"Language": [{"Language_ID": 2052,
// "Language_name": "zh_CN", "Language_file": "lan_cn.qm", "Language_text": "language_name_cn"},
// ...]}. The position in the list is the language index; index 0 is the fallback for a stored
// choice the list no longer has. "Language_name" is a locale name: it matches the catalogue
// against the user's locale when nothing is stored yet.
//
// The choice is stored as the "Language_ID" under key "LANGUAGE" of the settings file
// $XDG_CONFIG_HOME/Q407/Q407.conf, and only when the user chooses.

#include <QLocale>
#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

namespace q407::app {

struct LanguageEntry {
    int id = 0;     // "Language_ID"
    QString name;   // "Language_name"
    QString file;   // "Language_file"
    QString textId; // "Language_text"
};
using LanguageCatalogue = std::vector<LanguageEntry>;

std::filesystem::path DefaultLanguageCatalogueFile();
// The catalogue's elements in order; empty when the file is missing or unreadable.
LanguageCatalogue ReadLanguageCatalogue(const std::filesystem::path& file);

std::filesystem::path LanguageSettingsFile();
// The stored "Language_ID"; none when the file, the key or a number is missing.
std::optional<int> StoredLanguageId();
// Stores the id; false when the settings file cannot be written.
bool StoreLanguageId(int id);

// The index of the first element with this id; 0 when none has it.
int LanguageIndexOfId(const LanguageCatalogue& catalogue, int id);
// The index of the element that speaks the locale's user-interface languages (in the locale's
// order of preference; language and script must agree, so Hong Kong gets Traditional Chinese);
// -1 when none does.
int LanguageIndexForLocale(const LanguageCatalogue& catalogue, const QLocale& locale);
// The language to show: the stored one (0 when the catalogue lacks it); with nothing stored, the
// locale's, else English, else 0.
int ChooseLanguageIndex(const LanguageCatalogue& catalogue, std::optional<int> storedId,
                        const QLocale& locale);

// The interface face of a language index, and the free faces that stand in for each face
// (Qt font substitutions), so the interface needs none of the faces it names.
QString UiFaceForLanguage(int index);
void InstallUiFaceSubstitutions();
// Gives the toolkit the interface fonts of `face`: the default font and the font table.
void SetUiFonts(const QString& face);

} // namespace q407::app
