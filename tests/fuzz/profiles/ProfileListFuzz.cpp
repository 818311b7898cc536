// A "ProfileList.ini" of any content: every list operation must keep to the device folder and
// leave a usable list behind.

#include "FuzzFolder.h"
#include "profiles/CProfileList.h"
#include "profiles/DeviceKinds.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace q407::profiles;
    static fuzz::FuzzFolder folder;
    folder.Reset();
    fuzz::FuzzFolder::Write(folder.Device() / "ProfileList.ini", data, size);

    // The input doubles as the default profile file.
    CProfileList list(folder.Device(), folder.Device() / "ProfileList.ini", kKindHeadset);
    list.InitProfiles();
    list.AddProfile();
    list.CopyProfile();
    list.SelectProfile(1);
    list.RenameProfile("../renamed");
    list.ResetProfileFile();
    list.ExportProfile(folder.Device() / "export.json");
    list.ImportProfile(folder.Device() / "export.json");
    list.DeleteProfile();
    list.RefreshSelectedUUID();
    const int count = list.GetStoredProfileCount();
    for (int i = 0; i < count; ++i) {
        const auto path = list.GetStoredProfilePath(i);
        if (!path.empty() && path.parent_path() != folder.Device()) {
            std::abort();
        }
    }
    if (list.GetRows().empty()) {
        std::abort(); // there is always at least one profile
    }
    folder.CheckNothingEscaped();
    return 0;
}
