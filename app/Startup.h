#pragma once

// The process from start to end: fonts, the instance on the bus (or the lock file), the toolkit's
// resources and control classes, the main window and its event loop, then everything torn down
// in reverse. Every path returns exit code 0.

#include "devices/AudioConfLib.h"
#include "hid/HidBackend.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace q407::app {

struct StartupOptions {
    // Where devices are found: hidraw for q407, the virtual bus with simulated products for
    // q407-demo. Called once the program knows it is the only instance.
    std::function<std::shared_ptr<q407::hid::HidBackend>()> makeBackend;
    // The headset's audio library: the ALSA mixer for q407, a simulated sound card for
    // q407-demo. Without one the headset's audio features are unavailable.
    std::function<std::shared_ptr<q407::devices::AudioConfLib>()> makeAudioLibrary;
};

int RunQ407(int argc, char** argv, const StartupOptions& options);

// The OpenRGB SDK server's port the command line asks for: "--sdk-server" gives the default
// port, "--sdk-server=N" port N (0: any free port). Nothing without the option or when N is not
// a port number.
std::optional<quint16> SdkServerPort(const QStringList& arguments);

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

} // namespace q407::app
