#pragma once

// Scopes that keep a window test to itself: scripted dialogs, because nobody answers a real box on
// the offscreen platform and the test would wait for good; and a user folder of its own, so
// profiles and settings never land in the home folder of whoever runs the tests.

#include "support/ScopedEnv.h"
#include "toolkit/Dialogs.h"

#include <QTemporaryDir>
#include <memory>

namespace testutil {

class ScriptedDialogsScope {
public:
    ScriptedDialogsScope() {
        auto dialogs = std::make_unique<q407::toolkit::ScriptedDialogs>();
        m_dialogs = dialogs.get();
        q407::toolkit::SetDialogs(std::move(dialogs));
    }
    ~ScriptedDialogsScope() { q407::toolkit::SetDialogs(nullptr); }
    ScriptedDialogsScope(const ScriptedDialogsScope&) = delete;
    ScriptedDialogsScope& operator=(const ScriptedDialogsScope&) = delete;

    q407::toolkit::ScriptedDialogs& Dialogs() { return *m_dialogs; }

private:
    q407::toolkit::ScriptedDialogs* m_dialogs = nullptr;
};

class UserFolderScope {
public:
    bool IsValid() const { return m_folder.isValid(); }
    QString Path() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
    ScopedEnv m_env{"XDG_DATA_HOME", m_folder.path().toStdString()};
    ScopedEnv m_config{"XDG_CONFIG_HOME", m_folder.path().toStdString() + "/config"};
};

} // namespace testutil
