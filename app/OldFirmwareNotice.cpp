#include "app/OldFirmwareNotice.h"

#include "common/Diag.h"
#include "common/Paths.h"
#include "toolkit/Dialogs.h"

#include <QProcess>

namespace q407::app {

OldFirmwareNotice DefaultOldFirmwareNotice(long long modelProductId) {
    OldFirmwareNotice notice;
    notice.modelProductId = modelProductId;
    notice.folder = q407::paths::DataDir() / "Update";
    notice.start = [](const QString& program, const QStringList& arguments,
                      const QString& workingFolder) {
        return QProcess::startDetached(program, arguments, workingFolder);
    };
    return notice;
}

bool NeedsOldFirmwareNotice(const OldFirmwareNotice& notice, long long productId,
                            long long version) {
    return version < kOldFirmwareLimit && productId == notice.modelProductId;
}

OldFirmwareAnswer AskOldFirmwareUpgrade(QWidget* owner, const OldFirmwareNotice& notice,
                                        int languageIndex) {
    if (toolkit::GetDialogs().MessageBox(owner, QStringLiteral(QT_TRID_NOOP("tips_text")),
                                         QStringLiteral(QT_TRID_NOOP("message_text_30")), true,
                                         1) != 1) {
        return OldFirmwareAnswer::Declined;
    }
    const std::string& name =
        languageIndex != 0 ? notice.upgraderOtherLanguages : notice.upgraderLanguage0;
    // Always the shipped program: a bare name would be looked up along PATH.
    const QString program = QString::fromStdString((notice.folder / name).string());
    if (!notice.start || !notice.start(program, {QStringLiteral("On the upgrade")},
                                       QString::fromStdString(notice.folder.string()))) {
        q407::diag::Line("firmware upgrade program could not be started: " + program.toStdString());
        return OldFirmwareAnswer::UpgraderMissing;
    }
    return OldFirmwareAnswer::Upgrading;
}

} // namespace q407::app
