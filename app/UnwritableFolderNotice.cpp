#include "app/UnwritableFolderNotice.h"

#include "common/StorageStatus.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"

#include <QCoreApplication>

namespace q407::app {
namespace {

// Reported on whichever thread failed to write; the box belongs to the UI thread.
void TellOnUiThread(const QPointer<QWidget>& owner, const std::filesystem::path& folder,
                    const std::string& reason) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return;
    }
    const QString path = QString::fromStdString(folder.string());
    const QString why = QString::fromLocal8Bit(reason.c_str());
    QMetaObject::invokeMethod(
        application,
        [owner, path, why] {
            if (!owner.isNull()) {
                toolkit::GetDialogs().MessageBox(owner, QString(),
                                                 UnwritableFolderNotice::Text(path, why), false, 0);
            }
        },
        Qt::QueuedConnection);
}

} // namespace

UnwritableFolderNotice::UnwritableFolderNotice(QWidget* owner) {
    storage::SetUnwritableFolderListener(
        [owner = QPointer<QWidget>(owner)](const std::filesystem::path& folder,
                                           const std::string& reason) {
            TellOnUiThread(owner, folder, reason);
        });
}

UnwritableFolderNotice::~UnwritableFolderNotice() {
    storage::SetUnwritableFolderListener({});
}

QString UnwritableFolderNotice::Text(const QString& folder, const QString& reason) {
    return toolkit::ResourceManager::Instance()
        .Text(QStringLiteral(QT_TRID_NOOP("folder_unwritable_text")))
        .arg(folder, reason);
}

} // namespace q407::app
