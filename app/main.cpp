#include "app/Startup.h"
#include "common/Paths.h"
#include "devices/AlsaAudioConfLib.h"
#include "hid/DeviceTable.h"
#include "hid/LinuxHidBackend.h"

int main(int argc, char** argv) {
    q407::app::StartupOptions options;
    options.makeBackend = [] { return std::make_shared<q407::hid::LinuxHidBackend>(); };
    options.makeAudioLibrary = []() -> std::shared_ptr<q407::devices::AudioConfLib> {
        // The headset's own USB sound card; what the mixer cannot hold is kept in the user
        // folder.
        return std::make_shared<q407::devices::AlsaAudioConfLib>(
            q407::devices::AlsaCardMatch{q407::hid::kVendorId, q407::hid::kProductHeadset, {}},
            q407::paths::UserDir() / "Headset" / "AudioProperties.json");
    };
    return q407::app::RunQ407(argc, argv, options);
}
