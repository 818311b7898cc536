// Built instead of EvdevInputSource.cpp when libevdev is not installed: the grab stays the only
// input source.

#include "devices/InputCapture.h"

namespace q407::devices {

std::unique_ptr<InputSource> MakeEvdevInputSource() {
    return nullptr;
}

} // namespace q407::devices
