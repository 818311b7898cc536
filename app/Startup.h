#pragma once

// The process from start to end: fonts, the instance on the bus (or the lock file), the toolkit's
// resources and control classes, the main window and its event loop, then everything torn down
// in reverse. Every path returns exit code 0.

#include <QString>
#include <QStringList>

namespace app {

struct StartupOptions {
    bool demo = false; // q407-demo: the program on the virtual HID bus with simulated devices
};

int RunQ407(int argc, char** argv, const StartupOptions& options);

// Points the toolkit at `skinFolder`, loads its "res.xml" and registers the custom control
// classes. False when the resource index cannot be read.
bool SetupUiResources(const QString& skinFolder);

// The custom control classes layouts may name, in registration order, with whether this build
// has the class yet.
struct CustomControlEntry {
    const char* className;
    bool built;
};
QList<CustomControlEntry> CustomControlTable();

} // namespace app
