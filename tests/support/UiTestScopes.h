#pragma once

// Scopes that keep a window test to itself: scripted dialogs, because nobody answers a real box on
// the offscreen platform and the test would wait for good; and a user folder of its own, so
// profiles never land in the home folder of whoever runs the tests.

#include "app/toolkit/Dialogs.h"
#include "support/ScopedEnv.h"

#include <QTemporaryDir>
#include <memory>

namespace testutil {

class ScriptedDialogsScope {
public:
    ScriptedDialogsScope() {
        auto dialogs = std::make_unique<ui::ScriptedDialogs>();
        m_dialogs = dialogs.get();
        ui::SetDialogs(std::move(dialogs));
    }
    ~ScriptedDialogsScope() { ui::SetDialogs(nullptr); }
    ScriptedDialogsScope(const ScriptedDialogsScope&) = delete;
    ScriptedDialogsScope& operator=(const ScriptedDialogsScope&) = delete;

    ui::ScriptedDialogs& Dialogs() { return *m_dialogs; }

private:
    ui::ScriptedDialogs* m_dialogs = nullptr;
};

class UserFolderScope {
public:
    bool IsValid() const { return m_folder.isValid(); }
    QString Path() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
    ScopedEnv m_env{"XDG_DATA_HOME", m_folder.path().toStdString()};
};

} // namespace testutil
