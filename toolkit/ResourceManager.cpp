#include "toolkit/ResourceManager.h"

#include "toolkit/WindowImplBase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>

namespace q407::toolkit {
namespace {

const char* const kTextIdProperty = "textid";
const char* const kFontIdProperty = "fontid";
const char* const kTipTextIdProperty = "tiptextid";

void ShowText(QWidget* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else if (control->isWindow()) {
        control->setWindowTitle(text);
    } else {
        control->setAccessibleName(text);
    }
}

// The style sheet a control was given for 96 DPI, kept when its lengths follow another DPI.
constexpr char kSheet96Property[] = "_q407_sheet96";

// Pages a stack hides keep the size hints of their last layout, and the stack still sizes itself
// by them: after fonts or texts change, every layout must forget what it measured.
void InvalidateAllLayouts() {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        for (QLayout* layout : window->findChildren<QLayout*>()) {
            layout->invalidate();
        }
        if (window->layout() != nullptr) {
            window->layout()->invalidate();
        }
    }
}

template <typename Visit>
void ForEachControl(Visit visit) {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        visit(window);
        const auto children = window->findChildren<QWidget*>();
        for (QWidget* child : children) {
            visit(child);
        }
    }
}

} // namespace

QString ScaledStyleSheet(const QString& sheet, double scale) {
    static const QRegularExpression length(QStringLiteral(R"((\d+(?:\.\d+)?)px\b)"));
    QString scaled;
    qsizetype from = 0;
    auto matches = length.globalMatch(sheet);
    while (matches.hasNext()) {
        const auto match = matches.next();
        scaled += sheet.mid(from, match.capturedStart() - from);
        const double value = match.captured(1).toDouble() * scale;
        scaled += QString::number(static_cast<int>(value + 0.5)) + QStringLiteral("px");
        from = match.capturedEnd();
    }
    return scaled + sheet.mid(from);
}

void SetScaledStyleSheet(QWidget* control, const QString& sheet96) {
    if (control == nullptr) {
        return;
    }
    control->setProperty(kSheet96Property, sheet96);
    const double scale = ResourceManager::Instance().Scale();
    control->setStyleSheet(scale == 1.0 ? sheet96 : ScaledStyleSheet(sheet96, scale));
}

ResourceManager::ResourceManager() = default;
ResourceManager::~ResourceManager() = default;

ResourceManager& ResourceManager::Instance() {
    static ResourceManager manager;
    return manager;
}

void ResourceManager::SetResourcePath(const QString& path) {
    m_resourcePath = path;
    if (!m_resourcePath.isEmpty() && !m_resourcePath.endsWith(QLatin1Char('/'))) {
        m_resourcePath += QLatin1Char('/');
    }
}

bool ResourceManager::LoadResource(const QString& indexFile) {
    m_index.clear();
    QFile file(m_resourcePath + indexFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QXmlStreamReader xml(&file);
    QHash<QString, QString> index;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        const auto attributes = xml.attributes();
        if (attributes.hasAttribute(QStringLiteral("name")) &&
            attributes.hasAttribute(QStringLiteral("file"))) {
            index.insert(attributes.value(QStringLiteral("name")).toString(),
                         attributes.value(QStringLiteral("file")).toString());
        }
    }
    if (xml.hasError()) {
        return false;
    }
    m_index = std::move(index);
    return true;
}

QString ResourceManager::ResolveFile(const QString& name) const {
    QString relative = m_index.value(name, name);
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(relative)) {
        return relative;
    }
    return m_resourcePath + relative;
}

void ResourceManager::Release() {
    m_index.clear();
    if (m_translator && QCoreApplication::instance() != nullptr) {
        QCoreApplication::removeTranslator(m_translator.get());
    }
    m_translator.reset();
    m_language.clear();
    m_textQuery = nullptr;
    m_fonts.clear();
}

QString ResourceManager::LanguagePath() const {
    if (!m_languagePath.isEmpty() || m_resourcePath.isEmpty()) {
        return m_languagePath;
    }
    // The skin may be reached through a symbolic link (the build tree links the sources' skin):
    // ".." is taken by name, not through the link.
    return QDir::cleanPath(m_resourcePath + QStringLiteral("../Language"));
}

bool ResourceManager::LoadLanguage(const QString& fileName) {
    if (fileName.isEmpty()) {
        return false;
    }
    const QString file =
        m_index.contains(fileName)
            ? ResolveFile(fileName)
            : QDir(LanguagePath())
                  .filePath(QString(fileName).replace(QLatin1Char('\\'), QLatin1Char('/')));
    auto translator = std::make_unique<QTranslator>();
    // Only the extension is dropped when the file is not found as named ("lan_en.xml" finds
    // "lan_en.qm"), never a part of the name: "lan_zz" must not fall back to some "lan.qm".
    const QFileInfo info(file);
    if (!translator->load(info.fileName(), info.path(), QStringLiteral("."))) {
        return false;
    }
    if (QCoreApplication::instance() != nullptr) {
        if (m_translator) {
            QCoreApplication::removeTranslator(m_translator.get());
        }
        QCoreApplication::installTranslator(translator.get());
    }
    m_translator = std::move(translator);
    return true;
}

QString ResourceManager::Text(const QString& idOrText) const {
    if (m_translator && !idOrText.isEmpty()) {
        if (QString text = m_translator->translate(nullptr, idOrText.toUtf8().constData());
            !text.isNull()) {
            return text;
        }
    }
    if (m_textQuery) {
        if (QString text = m_textQuery(idOrText); !text.isEmpty()) {
            return text;
        }
    }
    return idOrText;
}

void ResourceManager::ReloadText() {
    ForEachControl([this](QWidget* control) {
        const QVariant id = control->property(kTextIdProperty);
        if (id.isValid()) {
            ShowText(control, Text(id.toString()));
        }
        const QVariant tip = control->property(kTipTextIdProperty);
        if (tip.isValid()) {
            control->setToolTip(Text(tip.toString()));
        }
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            ShowComboRowTexts(combo, false);
        }
        const QVariant font = control->property(kFontIdProperty);
        if (font.isValid()) {
            control->setFont(Font(font.toInt()));
        }
    });
    InvalidateAllLayouts();
}

QFont ResourceManager::Font(int id) const {
    const auto it = m_fonts.find(id);
    const FontSpec& spec = it != m_fonts.end() ? it->second : m_defaultFont;
    QFont font;
    if (!spec.face.isEmpty()) {
        font.setFamilies({spec.face});
    }
    font.setPixelSize(std::max(1, static_cast<int>(spec.pixelSize * Scale() + 0.5)));
    font.setBold(spec.bold);
    font.setUnderline(spec.underline);
    font.setItalic(spec.italic);
    return font;
}

void ResourceManager::ApplyDefaultFont() const {
    if (m_defaultFont.face.isEmpty() || QCoreApplication::instance() == nullptr) {
        return;
    }
    QApplication::setFont(Font(-1));
    // A control a style sheet gave a font keeps the font it was polished with; polished again
    // (parents first, as their fonts are the base of their children's) it takes the new one.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        QList<QWidget*> controls = window->findChildren<QWidget*>();
        controls.prepend(window);
        for (QWidget* control : controls) {
            if (!control->styleSheet().isEmpty()) {
                control->setStyleSheet(control->styleSheet());
            }
        }
    }
}

void ResourceManager::ScaleControl(QWidget* control, int fromDpi) const {
    const double ratio = static_cast<double>(m_dpi) / fromDpi;
    // A length the layout may not change (a fixed width, height or both) follows the DPI; one
    // left free is the layout's to choose.
    const QSize least = control->minimumSize();
    const QSize most = control->maximumSize();
    if (least.width() == most.width() && least.width() > 0) {
        control->setFixedWidth(static_cast<int>(least.width() * ratio + 0.5));
    }
    if (least.height() == most.height() && least.height() > 0) {
        control->setFixedHeight(static_cast<int>(least.height() * ratio + 0.5));
    }
    // Lengths in style sheets (fonts, paddings, corners) follow the DPI as fixed sizes do.
    const QString sheet = control->styleSheet();
    if (!sheet.isEmpty() && sheet.contains(QLatin1String("px"))) {
        QVariant base = control->property(kSheet96Property);
        if (!base.isValid()) {
            base = ScaledStyleSheet(sheet, 96.0 / fromDpi);
        }
        SetScaledStyleSheet(control, base.toString());
    }
    const QVariant font = control->property(kFontIdProperty);
    if (font.isValid()) {
        control->setFont(Font(font.toInt()));
    }
}

void ResourceManager::ScaleNewControls(QWidget* root) const {
    if (root == nullptr || m_dpi == 96) {
        return;
    }
    QList<QWidget*> controls = root->findChildren<QWidget*>();
    controls.prepend(root);
    for (QWidget* control : controls) {
        ScaleControl(control, 96);
    }
}

void ResourceManager::SetAllDPI(int dpi) {
    if (dpi <= 0 || dpi == m_dpi) {
        return;
    }
    const int fromDpi = m_dpi;
    m_dpi = dpi;
    // First the application's font: style sheets set again below take it as their base.
    ApplyDefaultFont();
    ForEachControl([&](QWidget* control) { ScaleControl(control, fromDpi); });
    InvalidateAllLayouts();
    const double ratio = static_cast<double>(dpi) / fromDpi;
    for (WindowImplBase* window : WindowImplBase::AllWindows()) {
        window->resize(static_cast<int>(window->width() * ratio + 0.5),
                       static_cast<int>(window->height() * ratio + 0.5));
    }
}

void ShowComboRowTexts(QComboBox* combo, bool adoptTexts) {
    if (combo == nullptr) {
        return;
    }
    const ResourceManager& resources = ResourceManager::Instance();
    for (int row = 0; row < combo->count(); ++row) {
        QVariant id = combo->itemData(row, kComboTextIdRole);
        if (!id.isValid()) {
            if (!adoptTexts) {
                continue;
            }
            id = combo->itemText(row);
            combo->setItemData(row, id, kComboTextIdRole);
        }
        combo->setItemText(row, resources.Text(id.toString()));
    }
}

void SetControlText(QWidget* control, const QString& textOrId) {
    if (control == nullptr) {
        return;
    }
    control->setProperty(kTextIdProperty, textOrId);
    ShowText(control, ResourceManager::Instance().Text(textOrId));
}

QString ControlText(const QWidget* control) {
    if (control == nullptr) {
        return {};
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
        return group->title();
    }
    return control->isWindow() ? control->windowTitle() : control->accessibleName();
}

void SetControlFont(QWidget* control, int fontId) {
    if (control == nullptr) {
        return;
    }
    control->setProperty(kFontIdProperty, fontId);
    control->setFont(ResourceManager::Instance().Font(fontId));
}

} // namespace q407::toolkit
