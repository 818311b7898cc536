#pragma once

// The notice a mouse page raises (message kOldFirmwareNoticeMessage, wParam product id, lParam
// firmware version) when a model's firmware is too old to be driven: the user is asked to run
// the firmware upgrade program shipped in the data folder's "Update" folder, or to quit.
//
// The main window keeps the notice flag: it clears the flag and shows "No_device_Link" before
// asking (while the flag is clear, a tray click leaves "No_device_Link" alone), sets it again for
// any pair of values that needs no notice, and ends the program with exit code 0 when the user
// declines.

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <string>

class QWidget;

namespace q407::app {

inline constexpr unsigned kOldFirmwareNoticeMessage = 0x0D04;
// Firmware below this version of the model needs the upgrade program.
inline constexpr long long kOldFirmwareLimit = 0x0103;

struct OldFirmwareNotice {
    long long modelProductId = 0; // the one model the notice is about (from the mouse page)
    std::filesystem::path folder; // where the upgrade programs are: data folder / "Update"
    // The upgrade program for language index 0, and for every other language.
    std::string upgraderLanguage0 = "q407-firmware-upgrade-cn";
    std::string upgraderOtherLanguages = "q407-firmware-upgrade-en";
    // Starts `program` with `arguments` in `workingFolder` without waiting; false when it could
    // not be started. The default starts a detached process.
    std::function<bool(const QString& program, const QStringList& arguments,
                       const QString& workingFolder)>
        start;
};

// The notice with the program's folder and a detached start.
OldFirmwareNotice DefaultOldFirmwareNotice(long long modelProductId);

// Whether a report (product id, firmware version) needs the notice.
bool NeedsOldFirmwareNotice(const OldFirmwareNotice& notice, long long productId,
                            long long version);

enum class OldFirmwareAnswer {
    Upgrading,       // the user confirmed and the upgrade program started
    UpgraderMissing, // the user confirmed but the program could not be started
    Declined,        // the user declined: the program ends
};

// Asks the user (title "tips_text", text "message_text_30", confirm and cancel) and on
// confirmation starts the upgrade program for the language with the argument "On the upgrade"
// and the "Update" folder as its working folder. The program is taken from that folder only.
OldFirmwareAnswer AskOldFirmwareUpgrade(QWidget* owner, const OldFirmwareNotice& notice,
                                        int languageIndex);

} // namespace q407::app
