#include "profiles/DeviceKinds.h"

#include "common/Paths.h"

namespace q407::profiles {

std::string DeviceFolderName(int kindCode) {
    switch (kindCode) {
    case kKindKeyboard:
        return "Keyboard";
    case kKindMouse:
        return "Mouse";
    case kKindMousePad:
        return "MousePad";
    case kKindHeadset:
        return "Headset";
    default:
        return {};
    }
}

int DeviceIndexOfKind(int kindCode) {
    switch (kindCode) {
    case kKindKeyboard:
    case kKindMouse:
        return 0;
    case kKindMousePad:
        return 2;
    case kKindHeadset:
        return 3;
    default:
        return -1;
    }
}

std::filesystem::path DefaultDataFolder() {
    return paths::DataDir() / "DefaultData";
}

std::filesystem::path DefaultProfilePath(const std::string& deviceFolderName) {
    return DefaultDataFolder() / (deviceFolderName + ".Json");
}

} // namespace q407::profiles
