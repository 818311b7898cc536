#include "toolkit/Dialogs.h"

#include "toolkit/CMsgWnd.h"
#include "toolkit/ResourceManager.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>

namespace q407::toolkit {
namespace {

std::unique_ptr<Dialogs>& Installed() {
    static std::unique_ptr<Dialogs> dialogs;
    return dialogs;
}

ColourPicker& InstalledColourPicker() {
    static ColourPicker picker;
    return picker;
}

QString WithExtension(QString path, const QString& extension) {
    if (!extension.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1Char('.') + extension;
    }
    return path;
}

} // namespace

Dialogs& GetDialogs() {
    if (!Installed()) {
        Installed() = std::make_unique<QtDialogs>();
    }
    return *Installed();
}

void SetDialogs(std::unique_ptr<Dialogs> dialogs) {
    Installed() = std::move(dialogs);
}

void SetColourPicker(ColourPicker picker) {
    InstalledColourPicker() = std::move(picker);
}

int QtDialogs::MessageBox(QWidget* owner, const QString& title, const QString& text, bool textIsId,
                          int buttonMode) {
    return CMsgWnd::ShowMessageBox(owner, title, text, ResourceManager::Instance().Dpi(), textIsId,
                                   buttonMode);
}

std::optional<QString> QtDialogs::OpenFile(QWidget* owner, const FileDialogOptions& options) {
    const QString path =
        QFileDialog::getOpenFileName(owner, options.title, options.initialName, options.filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

std::optional<QString> QtDialogs::SaveFile(QWidget* owner, const FileDialogOptions& options) {
    const QString path =
        QFileDialog::getSaveFileName(owner, options.title, options.initialName, options.filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return WithExtension(path, options.defaultExtension);
}

std::optional<QColor> QtDialogs::PickColor(QWidget* owner, const QColor& initial) {
    if (const ColourPicker& picker = InstalledColourPicker()) {
        return picker(owner, initial);
    }
    const QColor colour = QColorDialog::getColor(initial, owner);
    if (!colour.isValid()) {
        return std::nullopt;
    }
    return colour;
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::Next() {
    if (m_answers.empty()) {
        return std::nullopt;
    }
    Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

int ScriptedDialogs::MessageBox(QWidget*, const QString& title, const QString& text, bool,
                                int buttonMode) {
    m_asked << QStringLiteral("box:") + (text.isEmpty() ? title : text) +
                   (buttonMode == 1 ? QStringLiteral(":confirm-cancel") : QString());
    const auto answer = Next();
    return answer && std::holds_alternative<int>(*answer) ? std::get<int>(*answer) : 0;
}

std::optional<QString> ScriptedDialogs::OpenFile(QWidget*, const FileDialogOptions& options) {
    m_asked << QStringLiteral("open:") + options.title;
    const auto answer = Next();
    if (answer && std::holds_alternative<QString>(*answer)) {
        return std::get<QString>(*answer);
    }
    return std::nullopt;
}

std::optional<QString> ScriptedDialogs::SaveFile(QWidget*, const FileDialogOptions& options) {
    m_asked << QStringLiteral("save:") + options.title;
    const auto answer = Next();
    if (answer && std::holds_alternative<QString>(*answer)) {
        return WithExtension(std::get<QString>(*answer), options.defaultExtension);
    }
    return std::nullopt;
}

std::optional<QColor> ScriptedDialogs::PickColor(QWidget*, const QColor&) {
    m_asked << QStringLiteral("color");
    const auto answer = Next();
    if (answer && std::holds_alternative<QColor>(*answer)) {
        return std::get<QColor>(*answer);
    }
    return std::nullopt;
}

} // namespace q407::toolkit
