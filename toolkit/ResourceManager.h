#pragma once

// The process-wide resources of the toolkit: where the skin lives, the resource index "res.xml"
// (names of layouts, images and language files mapped to files below the resource path), the
// current language with its texts, the shared fonts and the DPI applied to every window.
//
// res.xml:
//   <Res>
//     <Layout name="XML_MAIN" file="XML/main.xml"/>
//     <Image name="logo" file="common/logo.png"/>
//   </Res>
// A name that the index does not list is taken as a path relative to the resource path.
//
// Language files are Qt translation files (.qm, compiled by lrelease -idbased from the .ts
// sources), keyed by text id: "message_text_22" -> "Restore the defaults?". They are looked up in
// the language folder, by default the folder "Language" beside the skin folder.

#include <QFont>
#include <QHash>
#include <QString>
#include <Qt>
#include <functional>
#include <map>
#include <memory>

class QTranslator;
class QWidget;

class QComboBox;

namespace q407::toolkit {

// A style sheet with every length in pixels ("13px") multiplied by `scale` and rounded.
QString ScaledStyleSheet(const QString& sheet, double scale);
// Gives `control` the style sheet `sheet96` (written for 96 DPI) at the toolkit's DPI, and keeps
// it so SetAllDPI can scale it again.
void SetScaledStyleSheet(QWidget* control, const QString& sheet96);

class ResourceManager {
public:
    static ResourceManager& Instance();

    // --- resources ---------------------------------------------------------------------
    void SetResourcePath(const QString& path); // the skin folder, ending in '/'
    QString ResourcePath() const { return m_resourcePath; }
    // Reads the resource index; false (and an empty index) when it is missing or malformed.
    bool LoadResource(const QString& indexFile);
    // The absolute file for a resource name ("XML_MAIN", "menu.xml", "power/WIFI_down.png").
    QString ResolveFile(const QString& name) const;
    // Forgets the index, the language and the fonts (shutdown).
    void Release();

    // --- language and texts ------------------------------------------------------------
    void SetLanguage(const QString& name) { m_language = name; }
    QString Language() const { return m_language; }
    // Where compiled language files lie; empty: the folder "Language" beside the resource path.
    void SetLanguagePath(const QString& path) { m_languagePath = path; }
    QString LanguagePath() const;
    // Loads a language file ("lan_en.qm"; a name without ".qm" finds the .qm of the same stem)
    // from the language folder, or the file the resource index names. It is installed into the
    // application, so qtTrId() sees it too. False when it cannot be read; the language loaded
    // before then stays.
    bool LoadLanguage(const QString& fileName);
    // The text-query callback asked for ids the language file does not have.
    using TextQuery = std::function<QString(const QString& id)>;
    void SetTextQuery(TextQuery query) { m_textQuery = std::move(query); }
    // The text for an id; a string that is no known id is returned as it is.
    QString Text(const QString& idOrText) const;
    // Re-texts every control of every open window from its text id: texts, tool tips
    // ("tiptextid") and the combo rows that carry a text id.
    void ReloadText();

    // --- fonts -------------------------------------------------------------------------
    struct FontSpec {
        QString face;
        int pixelSize = 12;
        bool bold = false;
        bool underline = false;
        bool italic = false;
    };
    void SetDefaultFont(const FontSpec& spec) { m_defaultFont = spec; }
    void AddFont(int id, const FontSpec& spec) { m_fonts[id] = spec; }
    void RemoveAllFonts() { m_fonts.clear(); }
    bool HasFont(int id) const { return m_fonts.count(id) != 0; }
    // The font for an id at the current DPI; the default font for an unknown id (or -1).
    QFont Font(int id) const;
    // Makes the default font the application's, so every control without a font of its own
    // shows it (done again by SetAllDPI); nothing while the default font names no face.
    void ApplyDefaultFont() const;

    // --- DPI ---------------------------------------------------------------------------
    int Dpi() const { return m_dpi; }
    double Scale() const { return m_dpi / 96.0; }
    // Applies a DPI to every window: sizes, fixed control sizes and fonts scale by the ratio.
    void SetAllDPI(int dpi);
    // Brings a tree just built from a layout (made for 96 DPI) to the current DPI, as SetAllDPI
    // did for the trees that existed then.
    void ScaleNewControls(QWidget* root) const;

private:
    ResourceManager();
    // One control from `fromDpi` to the current DPI: fixed size, style sheet lengths, font.
    void ScaleControl(QWidget* control, int fromDpi) const;
    ~ResourceManager();

    QString m_resourcePath;
    QHash<QString, QString> m_index; // resource name -> relative file
    QString m_language;
    QString m_languagePath;
    std::unique_ptr<QTranslator> m_translator;
    TextQuery m_textQuery;
    FontSpec m_defaultFont;
    std::map<int, FontSpec> m_fonts;
    int m_dpi = 96;
};

// --- control text, fonts and attributes --------------------------------------------------

// Gives a control its text. The text is kept as the control's text id and shown resolved through
// the current language, so a later language switch re-texts it.
void SetControlText(QWidget* control, const QString& textOrId);
// The text a control shows.
QString ControlText(const QWidget* control);
// Gives a control a font of the font table (and keeps the id for DPI and language changes).
void SetControlFont(QWidget* control, int fontId);

// The item data role holding a combo row's text id.
inline constexpr int kComboTextIdRole = Qt::UserRole + 1;
// Shows every combo row that has a text id in the current language. With `adoptTexts`, a row
// without one first takes its text as its id, as the rows a layout gives its combos are ids.
void ShowComboRowTexts(QComboBox* combo, bool adoptTexts);

} // namespace q407::toolkit
