#pragma once

// Telling the user when a folder of the program cannot take files (no permission, read-only file
// system, full disk or quota). The layers that write files know nothing of windows: they report
// here, and the main window installs a listener that shows the message. Each folder is told once
// per run; the diagnostic line is written every time.

#include <filesystem>
#include <functional>
#include <string>

namespace q407::storage {

// Called on the thread that failed to write; it must hand the message to its own thread and
// return without waiting for the user.
using UnwritableFolderListener =
    std::function<void(const std::filesystem::path& folder, const std::string& reason)>;

// Whether a failed write's error number says the folder cannot take files at all, rather than
// this one file having trouble.
bool MeansFolderUnwritable(int errorNumber);

// Installs the listener (an empty function removes it). Folders reported while there was none
// are passed to the new listener at once.
void SetUnwritableFolderListener(UnwritableFolderListener listener);

// Reports that `folder` could not be written because of `errorNumber`. Error numbers that do not
// mean an unwritable folder only give the diagnostic line.
void ReportWriteFailure(const std::filesystem::path& folder, int errorNumber);

namespace testing {
// Forgets which folders were told, for tests that run several cases in one process.
void ForgetToldFolders();
} // namespace testing

} // namespace q407::storage
