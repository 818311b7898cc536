// A ".mac" event file of any content: parsing gives events that build an image within the
// format's limits and that survive a save and reload unchanged.

#include "profiles/JsonFile.h"
#include "profiles/MacroImage.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace q407::profiles;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto events = CMacroLibrary::ParseEvents(ParseJsonText(text));
    for (const MacroEvent& event : events) {
        if (event.delay < 0 || event.delay > CMacroLibrary::kMaxDelay) {
            std::abort();
        }
    }
    const std::vector<std::vector<MacroEvent>> macros{events, events};
    std::vector<std::uint8_t> image;
    const int built = BuildMacroImage(macros, 255 * kMacroMemoryUnitBytes, image);
    if ((built == 0) != (image.size() == MacroImageLength(macros)) || built < 0) {
        std::abort();
    }
    const Json::Value saved = CMacroLibrary::EventDocument("m", "g", events);
    if (CMacroLibrary::ParseEvents(ParseJsonText(StyledJsonText(saved))) != events) {
        std::abort();
    }
    return 0;
}
