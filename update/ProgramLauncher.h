#pragma once

// Starting a downloaded installer. A firmware updater is a program of its own: it is made
// executable, started, and waited for (it reports its progress over the session bus while it
// runs). An application package is handed to the desktop's opener (xdg-open), which picks the
// installer the desktop uses for it; nothing waits for that.

#include <chrono>
#include <filesystem>
#include <memory>

namespace q407::update {

class RunningProgram {
public:
    virtual ~RunningProgram() = default;
    // Waits up to `timeout`; true once the program has ended.
    virtual bool WaitFor(std::chrono::milliseconds timeout) = 0;
};

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Makes `program` executable by its owner and starts it; nullptr when it cannot be started.
    virtual std::unique_ptr<RunningProgram> Run(const std::filesystem::path& program) = 0;
    // Hands `file` to the desktop's opener; false when the opener could not be started.
    virtual bool Open(const std::filesystem::path& file) = 0;
};

// The launcher of this system. `opener` is the program that opens files for the desktop.
std::unique_ptr<ProgramLauncher> MakeSystemLauncher(std::filesystem::path opener = "xdg-open");

} // namespace q407::update
