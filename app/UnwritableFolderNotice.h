#pragma once

// Tells the user, once per folder and run, that a folder of the program cannot take files (no
// permission, read-only, full disk): the writers below the window only report it to the storage
// status, which would otherwise reach nothing but the diagnostic lines. Lives as long as the
// window that owns the box.

#include <QPointer>
#include <QWidget>

namespace q407::app {

class UnwritableFolderNotice {
public:
    explicit UnwritableFolderNotice(QWidget* owner);
    ~UnwritableFolderNotice();
    UnwritableFolderNotice(const UnwritableFolderNotice&) = delete;
    UnwritableFolderNotice& operator=(const UnwritableFolderNotice&) = delete;

    // The text of the box for `folder`, failing with `reason`.
    static QString Text(const QString& folder, const QString& reason);
};

} // namespace q407::app
