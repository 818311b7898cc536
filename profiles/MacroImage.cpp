#include "profiles/MacroImage.h"

#include <limits>

namespace q407::profiles {
namespace {

constexpr std::uint16_t kMagic = 0x55AA;
constexpr std::size_t kBlockHeaderBytes = 4;
constexpr std::size_t kEventBytes = 4;

void PutWord(std::vector<std::uint8_t>& image, std::size_t offset, std::size_t value) {
    image[offset] = static_cast<std::uint8_t>(value & 0xFF);
    image[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// A command result that is not success, as this operation reports it: "no answer" would read
// as success here, so it becomes -1 (the write failed).
int FailureOf(int commandResult) {
    return commandResult < 0 ? commandResult : -1;
}

} // namespace

std::size_t MacroCapacity(const DeviceInfoBlock& info) {
    return info[6] * kMacroMemoryUnitBytes;
}

std::size_t MacroImageLength(std::span<const std::vector<MacroEvent>> macros) {
    std::size_t length = kMacroImageHeaderBytes;
    for (const auto& events : macros) {
        length += 2 + kBlockHeaderBytes + kEventBytes * events.size();
    }
    return length;
}

int BuildMacroImage(std::span<const std::vector<MacroEvent>> macros, std::size_t capacity,
                    std::vector<std::uint8_t>& image) {
    image.clear();
    const std::size_t length = MacroImageLength(macros);
    if (length > capacity) {
        const std::size_t over = ((length - capacity) >> 2) + 1;
        return static_cast<int>(std::min<std::size_t>(over, std::numeric_limits<int>::max()));
    }
    if (length > std::numeric_limits<std::uint16_t>::max()) {
        return -1;
    }
    image.assign(length, 0);
    PutWord(image, 0, kMagic);
    PutWord(image, 2, length);
    PutWord(image, 4, macros.size());
    std::size_t block = kMacroImageHeaderBytes + 2 * macros.size();
    for (std::size_t m = 0; m < macros.size(); ++m) {
        PutWord(image, kMacroImageHeaderBytes + 2 * m, block);
        const auto& events = macros[m];
        PutWord(image, block, events.size());
        std::size_t at = block + kBlockHeaderBytes;
        for (const MacroEvent& event : events) {
            PutWord(image, at, static_cast<std::size_t>(event.delay) & 0xFFFF);
            image[at + 2] = static_cast<std::uint8_t>(event.type | (event.down ? 0x80 : 0));
            image[at + 3] = static_cast<std::uint8_t>(event.button & 0xFF);
            at += kEventBytes;
        }
        block = at;
    }
    return 0;
}

int WriteMacroImage(IMacroImageDevice& device, const CMacroLibrary& library,
                    std::span<const int> macroIndexes, DeviceInfoBlock& info) {
    const auto macros = library.TryLoad();
    if (!macros || macroIndexes.empty()) {
        return 0;
    }
    const bool open = device.IsOpen();
    if (open) {
        if (const int begun = device.BeginConfig(); begun != 1) {
            return FailureOf(begun);
        }
        if (const int read = device.ReadDeviceInfo(info); read != 1) {
            device.EndConfig(1);
            return FailureOf(read);
        }
    }
    // A listed index the library does not hold counts as a macro without events.
    std::vector<std::vector<MacroEvent>> events;
    for (const int index : macroIndexes) {
        const bool known = index >= 0 && index < static_cast<int>(macros->size());
        events.push_back(known
                             ? library.ReadEventsOf((*macros)[static_cast<std::size_t>(index)].guid)
                             : std::vector<MacroEvent>());
    }
    std::vector<std::uint8_t> image;
    const int built = BuildMacroImage(events, MacroCapacity(info), image);
    if (built != 0 || !open) {
        if (open) {
            device.EndConfig(1);
        }
        return built;
    }
    const int written = device.WriteMacroData(image);
    const int ended = device.EndConfig(1);
    if (written != 1) {
        return FailureOf(written);
    }
    return ended == 1 ? 0 : FailureOf(ended);
}

} // namespace q407::profiles
