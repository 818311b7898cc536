#include "devices/MousePadModel.h"

#include "devices/PageEventTable.h"

namespace q407::devices {

MousePadModel::MousePadModel(hid::HidBackend& backend, LightClock* clock, LightRandom* random,
                             protocol::Pacer& pacer)
    : LightBlockModel(backend, clock, random, pacer) {
    SetKind(kKindMousePad);
}

MousePadModel::~MousePadModel() {
    StopPageThreads();
}

} // namespace q407::devices
