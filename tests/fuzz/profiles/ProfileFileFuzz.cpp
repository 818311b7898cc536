// A profile file of any content: loading it into every kind of record, reading every member
// and saving it again must neither crash nor allocate without bound.

#include "FuzzFolder.h"
#include "profiles/CHs6533Profiledata.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/CMouseProfiledata.h"

namespace {

using namespace q407::profiles;

void ReadBase(CBasicProfiledata& record) {
    record.GetLightInfo();
    record.GetAudioLightInfo();
    record.GetLightList();
    record.GetKeyList();
    record.GetLedEffect();
    record.SetKeyAssignments(record.GetKeyList());
    record.SaveProfile();
}

template <typename Record>
Record& Prepare(Record& record, const fuzz::FuzzFolder& folder, int index) {
    record.SetDeviceIndex(index);
    record.SetDefaultPath(folder.Device() / "input.Json");
    record.SetProfilePath(folder.Device() / "out.Json");
    record.SetFirstCustomLightMode(1);
    record.SetLightConfigPath(folder.Device() / "input.Json");
    record.LoadLightConfig(folder.Device() / "input.Json");
    record.LoadProfile(folder.Device() / "input.Json");
    record.LoadOtherProfile(folder.Device() / "missing.Json");
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::FuzzFolder folder;
    folder.Reset();
    fuzz::FuzzFolder::Write(folder.Device() / "input.Json", data, size);

    CMouseProfiledata mouse;
    Prepare(mouse, folder, 0);
    ReadBase(mouse);
    mouse.SetDpiStages(mouse.GetDpiStages());
    mouse.GetActiveStage();
    mouse.SetMouseSettings(mouse.GetMouseSettings());

    CKeyboardProfiledata keyboard;
    Prepare(keyboard, folder, 0);
    ReadBase(keyboard);
    keyboard.GetKeyboardSettings();
    keyboard.GetCustomColours(keyboard.GetCustomGroupIndex(), 126);

    CHs6533Profiledata headset;
    Prepare(headset, folder, 3);
    ReadBase(headset);
    headset.GetHeadsetSettings();
    for (int type = 0; type <= 14; ++type) {
        headset.GetEqCurve(type);
    }
    headset.GetCustomEqCurve(headset.GetHeadsetSettings().customEqSelect);
    headset.SetCustomEqNames(headset.GetCustomEqNames());

    CBasicProfiledata pad;
    Prepare(pad, folder, 2);
    ReadBase(pad);

    folder.CheckNothingEscaped();
    return 0;
}
