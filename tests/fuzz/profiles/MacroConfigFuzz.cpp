// A "macro.config" of any content: every library operation and the image download must keep to
// the device folder and never crash.

#include "FuzzFolder.h"
#include "profiles/MacroImage.h"

namespace {

class QuietDevice : public q407::profiles::IMacroImageDevice {
public:
    bool IsOpen() const override { return true; }
    int BeginConfig() override { return 1; }
    int ReadDeviceInfo(q407::profiles::DeviceInfoBlock& info) override {
        info[6] = 8;
        return 1;
    }
    int WriteMacroData(std::span<const std::uint8_t> image) override {
        return image.size() <= 1024 ? 1 : -1;
    }
    int EndConfig(int) override { return 1; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace q407::profiles;
    static fuzz::FuzzFolder folder;
    folder.Reset();
    fuzz::FuzzFolder::Write(folder.Device() / "macro.config", data, size);
    // The same bytes as a profile, so the key renumbering reads them too.
    fuzz::FuzzFolder::Write(folder.Device() / "p.Json", data, size);

    CMacroLibrary library(folder.Device());
    const auto macros = library.Load();
    QuietDevice device;
    DeviceInfoBlock info{};
    const std::vector<int> all{0, 1, 2, 3, 60};
    if (WriteMacroImage(device, library, all, info) == -1) {
        std::abort(); // the image never exceeds what the device holds
    }
    library.ReadEvents(0);
    library.SaveEvents(0, {{true, 10, 4, 5}});
    library.RenameMacro(0, "renamed");
    library.ExportMacro(0, folder.Device() / "export.mac");
    library.ImportMacro(folder.Device() / "export.mac");
    const std::vector<std::filesystem::path> profiles{folder.Device() / "p.Json"};
    library.DeleteMacro(0, profiles, 0);
    library.NewMacro();
    folder.CheckNothingEscaped();
    return 0;
}
