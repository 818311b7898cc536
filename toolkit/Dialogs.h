#pragma once

// Modal boxes, file dialogs and the colour picker, behind one service so windows never open a
// dialog directly: the program installs the Qt one, tests install a scripted one.

#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <variant>

class QWidget;

namespace q407::toolkit {

struct FileDialogOptions {
    QString title;
    QString defaultExtension; // without the dot, e.g. "json"
    QString initialName;      // e.g. "*.json" or "Profile1.json"
    QString filter;           // Qt filter text, e.g. "Profiles (*.json);;All files (*)"
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The confirmation box: returns 1 when the user confirmed, 0 otherwise. `textIsId` makes the
    // text a language text id. Button mode 0: confirm only; 1: confirm and cancel.
    virtual int MessageBox(QWidget* owner, const QString& title, const QString& text, bool textIsId,
                           int buttonMode) = 0;
    virtual std::optional<QString> OpenFile(QWidget* owner, const FileDialogOptions& options) = 0;
    virtual std::optional<QString> SaveFile(QWidget* owner, const FileDialogOptions& options) = 0;
    virtual std::optional<QColor> PickColor(QWidget* owner, const QColor& initial) = 0;
};

// The program's own colour window, when one is installed (the editors install theirs);
// QtDialogs::PickColor then shows it instead of Qt's colour dialog.
using ColourPicker = std::function<std::optional<QColor>(QWidget* owner, const QColor& initial)>;
void SetColourPicker(ColourPicker picker);

// The service in use; the Qt one unless another was installed.
Dialogs& GetDialogs();
// Installs a service (nullptr restores the Qt one).
void SetDialogs(std::unique_ptr<Dialogs> dialogs);

// The Qt implementation: the skin's confirmation box and Qt's file and colour dialogs.
class QtDialogs : public Dialogs {
public:
    int MessageBox(QWidget* owner, const QString& title, const QString& text, bool textIsId,
                   int buttonMode) override;
    std::optional<QString> OpenFile(QWidget* owner, const FileDialogOptions& options) override;
    std::optional<QString> SaveFile(QWidget* owner, const FileDialogOptions& options) override;
    std::optional<QColor> PickColor(QWidget* owner, const QColor& initial) override;
};

// Answers from a script and records what was asked; for tests and unattended runs. When the
// script runs dry, boxes are answered 0 and dialogs are cancelled.
class ScriptedDialogs : public Dialogs {
public:
    using Answer = std::variant<int, QString, QColor, std::monostate>; // monostate = cancel

    void Push(Answer answer) { m_answers.push_back(std::move(answer)); }
    // Every question asked, e.g. "box:message_text_22", "open:Import", "save:Export", "color".
    const QStringList& Asked() const { return m_asked; }

    int MessageBox(QWidget* owner, const QString& title, const QString& text, bool textIsId,
                   int buttonMode) override;
    std::optional<QString> OpenFile(QWidget* owner, const FileDialogOptions& options) override;
    std::optional<QString> SaveFile(QWidget* owner, const FileDialogOptions& options) override;
    std::optional<QColor> PickColor(QWidget* owner, const QColor& initial) override;

private:
    std::optional<Answer> Next();
    std::deque<Answer> m_answers;
    QStringList m_asked;
};

} // namespace q407::toolkit
