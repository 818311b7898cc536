// The headset model's sound side against the simulated audio library, and its LED output reports
// against the simulated headset: the library start-up in its order with its buffers, the choice
// of devices, the state read from the library, every change of the audio panels as it reaches
// the library and the profile file, and the re-binding when the sound card comes and goes.

#include "devices/HeadsetModel.h"

#include "integration/devices/ModelFolders.h"
#include "profiles/JsonFile.h"
#include "sim/SimulatedAudioConfLib.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace q407::devices {
namespace {

namespace fs = std::filesystem;
namespace p = protocol;
using sim::SimulatedAudioConfLib;
using Call = SimulatedAudioConfLib::Call;

class NoPause final : public p::Pacer {
public:
    void Pause(std::chrono::milliseconds) override {}
};

struct Folders : testutil::ModelFolders {
    Folders() : ModelFolders("headset", {"Headset.Json", "default_light.json"}) {}
};

// The headset's model on the simulated headset, with the simulated library and the profile
// loaded (the library not yet started).
struct Rig {
    Rig()
        : product(sim::SimulatedProduct::Create(sim::SimProduct::Headset)),
          library(std::make_shared<SimulatedAudioConfLib>()), model(bus, nullptr, nullptr, pacer) {
        EXPECT_TRUE(product->PlugInto(bus));
        hid::DeviceIdentity identity;
        identity.deviceType = hid::kDeviceHeadset;
        model.SetIdentity(identity);
        model.SetDeviceFolderName("Headset");
        model.SetDeviceIndex(3);
        model.SetLightTable(3);
        model.SetProfileUuid("2026_12_09_12_00_00_000");
        model.SetLedCount(13);
        EXPECT_TRUE(model.AttachCommand(p::kModeCable, product->CommandPath(bus)));
        EXPECT_EQ(model.LoadProfile(), 1);
        model.SetAudioLibrary(library);
    }
    // Started, with the calls of the start-up forgotten.
    Rig& Started() {
        EXPECT_TRUE(model.StartAudioLibrary().available);
        library->ClearCalls();
        return *this;
    }
    Json::Value Entry() { return profiles::ReadJsonFile(model.GetProfilePath())["Device"][3]; }
    std::vector<int> StoredCurve(const char* key, int index) {
        std::vector<int> values;
        const Json::Value entry = Entry();
        for (const Json::Value& band : entry[key][index]) {
            values.push_back(band["value"].asInt());
        }
        return values;
    }
    // The int32 values written to the ten bands, in band order.
    std::vector<int> WrittenBands() {
        std::vector<int> bands;
        for (int band = 1; band <= 10; ++band) {
            const auto writes = library->CallsOf("EQ_Slider" + std::to_string(band));
            bands.push_back(writes.empty() ? -999 : writes.back().valueInt);
        }
        return bands;
    }

    Folders folders;
    sim::VirtualHidBus bus;
    std::shared_ptr<sim::SimulatedProduct> product;
    std::shared_ptr<SimulatedAudioConfLib> library;
    NoPause pacer;
    HeadsetModel model;
};

std::vector<std::string> Sequence(const std::vector<Call>& calls) {
    std::vector<std::string> names;
    for (const Call& call : calls) {
        names.push_back(call.function == "PropertyControl"
                            ? call.property + (call.write == kPropertyWrite ? "=" : "?")
                            : call.function + (call.list >= 0 ? std::to_string(call.list) : ""));
    }
    return names;
}

TEST(HeadsetModel, StartUpBindsResetsWhatCannotBeReadAndTakesTheLibraryState) {
    Rig rig;
    rig.library->SetValue(2, "VolumeScalarControl", "0.756");
    const AudioStartUp result = rig.model.StartAudioLibrary();
    EXPECT_TRUE(result.available);
    EXPECT_FALSE(result.initFailed);
    EXPECT_EQ(result.shortFeatureLists, 0);
    EXPECT_EQ(rig.model.PlaybackRecord(), SimulatedAudioConfLib::kPlayback);
    EXPECT_EQ(rig.model.MicrophoneRecord(), SimulatedAudioConfLib::kMicrophone);
    EXPECT_EQ(rig.model.Features(1), (std::array<std::int32_t, 3>{0x20000, 1, 0}));

    const std::vector<std::string> order = Sequence(rig.library->Calls());
    const std::vector<std::string> start(order.begin(), order.begin() + 10);
    EXPECT_EQ(start,
              (std::vector<std::string>{
                  "ConfLibInit", "CreateDeviceList", "GetDeviceCount0", "GetDeviceById0",
                  "GetDeviceCount1", "GetDeviceById1", "GetSupportFeature?", "GetSupportFeature?",
                  "VirtualSurroundEffectControl?", "VirtualSurroundEffectControl="}));
    // Surround reset carries its parameter buffer; a property that can be read is left alone.
    const auto surround = rig.library->CallsOf("VirtualSurroundEffectControl");
    EXPECT_EQ(surround.back().parameter, (std::vector<std::int32_t>{4, -1, 0}));
    EXPECT_EQ(surround.back().valueInt, 0);
    EXPECT_EQ(rig.library->CallsOf("MuteControl").front().write, kPropertyRead);
    const std::pair<std::int32_t, const char*> reset[] = {
        {1, "Enable_EQ_GFX"},  {1, "EQ_Slider10"},       {1, "RFX_ROOMSIZE"},
        {2, "Enable_ENC_LFX"}, {2, "Enable_MAGICVOICE"}, {2, "MagicVoice_Selection"}};
    for (const auto& [device, property] : reset) {
        EXPECT_EQ(rig.library->Value(device, property), "0") << property;
    }
    // The state: 0.756 is level 75, the monitor muted, the voice changer read (its bit is set).
    EXPECT_EQ(rig.model.Settings().micInValue, 75);
    EXPECT_EQ(rig.model.Settings().micInSelect, 1);
    EXPECT_EQ(rig.model.Settings().micMonitorValue, 30);
    EXPECT_EQ(rig.model.Settings().micMonitorSelect, 0);
    EXPECT_TRUE(rig.model.MonitorAvailable());
    EXPECT_EQ(rig.model.Settings().magicEnable, 0);
    EXPECT_EQ(rig.model.Settings().magicType, 1); // selection 0
}

TEST(HeadsetModel, PlaybackDeviceIsChosenByTypeAndFlag) {
    struct Case {
        std::vector<AudioDeviceRecord> playback;
        std::int32_t chosen; // id; 0: none
    };
    const Case cases[] = {
        {{{10, 4, 0, 1}, {11, 12, 0, 1}}, 11}, {{{10, 4, 0, 1}, {11, 7, 0, 1}, {12, 12, 0, 1}}, 12},
        {{{10, 1, 0, 0}, {11, 7, 0, 1}}, 11},  {{{10, 4, 0, 1}, {11, 1, 0, 1}}, 11},
        {{{10, 3, 0, 1}, {11, 12, 0, 0}}, 0},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.library->SetDevices(kAudioPlaybackList, c.playback);
        rig.model.StartAudioLibrary();
        EXPECT_EQ(rig.model.PlaybackRecord().id, c.chosen);
    }
}

TEST(HeadsetModel, MissingPartsOfTheLibraryLeaveTheProfileValues) {
    {
        // No recording device of type 2: every microphone call fails, the profile's values stay.
        Rig rig;
        rig.library->SetDevices(kAudioRecordingList, {{5, 3, 0, 1}});
        const auto profile = rig.model.Settings();
        EXPECT_TRUE(rig.model.StartAudioLibrary().available);
        EXPECT_EQ(rig.model.MicrophoneRecord(), AudioDeviceRecord{});
        for (const Call& call : rig.library->Calls()) {
            if (call.function == "PropertyControl" && call.device == AudioDeviceRecord{}) {
                EXPECT_NE(call.result, 0) << call.property;
            }
        }
        EXPECT_EQ(rig.model.Settings().micInValue, profile.micInValue);
        EXPECT_FALSE(rig.model.MonitorAvailable());
    }
    {
        // A failing init is told, a short feature list too, and then the voice changer is not read.
        Rig rig;
        rig.library->SetInitResult(3);
        rig.library->SetValue(2, "GetSupportFeature", "131072,0,0");
        const AudioStartUp result = rig.model.StartAudioLibrary();
        EXPECT_TRUE(result.initFailed);
        EXPECT_EQ(result.shortFeatureLists, 1);
        EXPECT_EQ(rig.library->CallsOf("Enable_MAGICVOICE").size(), 2u) << "only the reset";
    }
    {
        // No devices, or no library: nothing works and nothing more is called.
        Rig rig;
        rig.library->SetDevices(kAudioPlaybackList, {});
        EXPECT_FALSE(rig.model.StartAudioLibrary().available);
        EXPECT_EQ(Sequence(rig.library->Calls()).back(), "GetDeviceCount0");
        rig.model.SetAudioLibrary(nullptr);
        EXPECT_FALSE(rig.model.StartAudioLibrary().available);
        rig.model.ToggleMicMute();
        rig.model.SelectEqPreset(4, -1);
        EXPECT_EQ(rig.Entry()["SystemSetStages"]["MicInSelect"].asInt(), 1) << "not stored";
        EXPECT_EQ(rig.Entry()["SystemSetStages"]["EqType"].asInt(), 4) << "stored";
    }
}

TEST(HeadsetModel, LevelsAreHundredthsOfTheScalar) {
    const std::pair<double, int> cases[] = {{0.756, 75}, {0.29, 29}, {0.999, 99}, {1.0, 100},
                                            {0, 0},      {1.7, 100}, {-0.2, 0}};
    for (const auto& [scalar, level] : cases) {
        EXPECT_EQ(LevelOfScalar(scalar), level) << scalar;
    }
}

TEST(HeadsetModel, EqualiserPresetsBandsAndCustomCurves) {
    Rig rig;
    rig.Started();
    // Curve 5 is ten zero bands, stored as type 5 with its curve.
    ASSERT_TRUE(rig.model.SelectEqPreset(5, -1));
    EXPECT_EQ(rig.WrittenBands(), std::vector<int>(10, 0));
    EXPECT_EQ(rig.library->CallsOf("Enable_EQ_GFX").back().valueInt, 1);
    EXPECT_EQ(rig.library->CallsOf("EQ_Slider1").back().device, SimulatedAudioConfLib::kPlayback);
    EXPECT_EQ(rig.Entry()["SystemSetStages"]["EqType"].asInt(), 5);
    EXPECT_FALSE(rig.model.SelectEqPreset(14, -1));

    // A band moved under curve 3 switches to custom without storing anything.
    ASSERT_TRUE(rig.model.SelectEqPreset(3, -1));
    EXPECT_EQ(rig.StoredCurve("EQHzValueInfo", 3),
              (std::vector<int>{10, 4, 0, -3, -4, -3, -2, -1, 0, 0}));
    EXPECT_TRUE(rig.model.ChangeEqBand(2, 7));
    EXPECT_EQ(rig.library->CallsOf("EQ_Slider3").back().valueInt, 7);
    EXPECT_EQ(rig.model.Settings().eqType, kEqCustomType);
    EXPECT_EQ(rig.Entry()["SystemSetStages"]["EqType"].asInt(), 3);
    EXPECT_FALSE(rig.model.ChangeEqBand(3, 1)) << "already custom";

    // Saved under two names; a third differing only in letter case is refused.
    EqCurve bass{};
    bass[0] = 9;
    EqCurve voice{};
    voice[5] = 4;
    EXPECT_EQ(rig.model.SaveCustomEq("Bass", bass, -1), 1);
    EXPECT_EQ(rig.model.SaveCustomEq("Voice", voice, 0), 1);
    EXPECT_EQ(rig.model.SaveCustomEq("BASS", voice, 1), 0);
    EXPECT_EQ(rig.Entry()["CustomEQNameInfo"].size(), 2u);
    EXPECT_EQ(rig.model.Settings().customEqSelect, 1);
    // An empty name overwrites the selected curve; with nothing selected it is refused.
    EqCurve changed = voice;
    changed[9] = -5;
    EXPECT_EQ(rig.model.SaveCustomEq("", changed, 1), 1);
    EXPECT_EQ(rig.StoredCurve("CustomEQHzValueInfo", 1)[9], -5);
    EXPECT_EQ(rig.model.SaveCustomEq("", changed, -1), -1);
    rig.model.ApplyCustomEq(0);
    EXPECT_EQ(rig.WrittenBands()[0], 9);
    EXPECT_EQ(rig.Entry()["SystemSetStages"]["CustomEqSeletIndex"].asInt(), 0);

    // Deleting "Bass" moves "Voice" and its curve to slot 0, and the headset plays it.
    rig.model.DeleteCustomEq(0);
    EXPECT_EQ(rig.Entry()["CustomEQNameInfo"][0]["Name"].asString(), "Voice");
    EXPECT_EQ(rig.StoredCurve("CustomEQHzValueInfo", 0)[9], -5);
    EXPECT_EQ(rig.WrittenBands()[9], -5);
    // Deleting the last one returns to curve 1 and leaves no names.
    rig.model.DeleteCustomEq(0);
    EXPECT_EQ(rig.Entry()["CustomEQNameInfo"].size(), 0u);
    EXPECT_EQ(rig.Entry()["SystemSetStages"]["EqType"].asInt(), 1);
    EXPECT_EQ(rig.model.EqCurveInUse(), BuiltInEqCurve(1));
    EXPECT_EQ(rig.WrittenBands()[0], BuiltInEqCurve(1)[0]);
}

TEST(HeadsetModel, TwentyCustomCurvesAtMost) {
    Rig rig;
    rig.Started();
    for (int i = 0; i < kMaxCustomEqCurves; ++i) {
        ASSERT_EQ(rig.model.SaveCustomEq("c" + std::to_string(i), EqCurve{}, -1), 1);
    }
    EXPECT_EQ(rig.model.SaveCustomEq("one more", EqCurve{}, -1), -1);
    EXPECT_EQ(rig.Entry()["CustomEQNameInfo"].size(), 20u);
}

TEST(HeadsetModel, MicrophoneMonitorAndVoiceChangerReachTheLibraryAndTheProfile) {
    Rig rig;
    rig.Started();
    rig.model.ChangeMicLevel(75);
    const Call level = rig.library->CallsOf("VolumeScalarControl").back();
    EXPECT_FLOAT_EQ(level.valueFloat, 0.75F);
    EXPECT_EQ(level.parameter.front(), -1);
    EXPECT_EQ(rig.library->CallsOf("VolumeControl").back().write, kPropertyRead);
    EXPECT_EQ(rig.Entry()["SystemSetStages"]["MicInValue"].asInt(), 75);

    rig.model.ChangeMonitorLevel(40);
    EXPECT_EQ(rig.library->CallsOf("AAVolumeScalarControl").back().parameter.front(), 0);
    EXPECT_EQ(rig.library->CallsOf("AAVolumeControl").back().parameter.front(), 1);
    EXPECT_EQ(rig.Entry()["SystemSetStages"]["MicMoniterValue"].asInt(), 40);

    rig.model.ToggleMicMute();
    EXPECT_EQ(rig.library->Value(2, "MuteControl"), "1");
    EXPECT_EQ(rig.Entry()["SystemSetStages"]["MicInSelect"].asInt(), 0);
    rig.model.ToggleMonitorMute(); // muted before
    EXPECT_EQ(rig.library->Value(2, "AAMuteControl"), "0");
    EXPECT_EQ(rig.Entry()["SystemSetStages"]["MicMoniterSelect"].asInt(), 1);

    // A write the library refuses stores nothing.
    rig.library->FailProperty("VolumeScalarControl", 1);
    rig.model.ChangeMicLevel(20);
    EXPECT_EQ(rig.Entry()["SystemSetStages"]["MicInValue"].asInt(), 75);

    rig.model.ChangeMagicEnable(true);
    EXPECT_EQ(rig.library->Value(2, "Enable_MAGICVOICE"), "1");
    EXPECT_EQ(rig.library->Value(2, "Enable_MICECHO"), "0");
    rig.model.ChangeMagicType(3);
    EXPECT_EQ(rig.library->CallsOf("MagicVoice_Selection").back().valueInt, 2);
    rig.model.ChangeMagicType(0);
    EXPECT_EQ(rig.Entry()["SystemSetStages"]["MagicType"].asInt(), 3);
    EXPECT_EQ(rig.Entry()["SystemSetStages"]["MagicEnable"].asInt(), 1);
}

TEST(HeadsetModel, SoundCardGoingAndComingBackRebindsTheLibrary) {
    Rig rig;
    rig.Started();
    rig.library->Unplug();
    EXPECT_FALSE(rig.model.BindAudioDevices().available);
    rig.model.ChangeMicLevel(10);
    EXPECT_TRUE(rig.library->CallsOf("VolumeScalarControl").empty());
    rig.library->SetValue(2, "VolumeScalarControl", "0.62");
    rig.library->Plug();
    EXPECT_TRUE(rig.model.BindAudioDevices().available);
    EXPECT_EQ(rig.model.Settings().micInValue, 62);
    EXPECT_TRUE(rig.library->CallsOf("Enable_EQ_GFX").empty()) << "no reset on a re-bind";
}

TEST(HeadsetModel, AppliedProfileSetsTheLibrary) {
    Rig rig;
    rig.Started();
    rig.model.SelectEqPreset(7, -1);
    rig.model.ChangeMagicType(2);
    rig.model.ChangeMicLevel(64);
    rig.library->SetValue(2, "MagicVoice_Selection", "3");
    rig.library->SetValue(2, "VolumeScalarControl", "0.1");
    rig.library->SetValue(1, "EQ_Slider1", "0");
    ASSERT_EQ(rig.model.LoadProfile(), 1);
    rig.model.ApplyAudioSettings();
    EXPECT_EQ(rig.library->Value(2, "MagicVoice_Selection"), "1");
    EXPECT_EQ(rig.library->Value(2, "VolumeScalarControl"), "0.64");
    EXPECT_EQ(rig.library->Value(1, "EQ_Slider1"), std::to_string(BuiltInEqCurve(7)[0]));
}

TEST(HeadsetModel, LedReportsCarryTheFrameLimitedTo247) {
    std::vector<LedColour> leds(13, LedColour{255, 255, 255, 255});
    leds[7] = {255, 0, 64, 128};
    const auto reports = BuildLedReports(leds);
    const std::pair<std::uint8_t, std::uint8_t> order[] = {
        {0x22, 0xAA}, {0x44, 0xAA}, {0x22, 0xAD}, {0x44, 0xAD}, {0x22, 0xAB}, {0x44, 0xAB},
        {0x22, 0xAE}, {0x44, 0xAE}, {0x22, 0xAC}, {0x44, 0xAC}, {0x22, 0xAF}, {0x44, 0xAF}};
    for (std::size_t i = 0; i < reports.size(); ++i) {
        EXPECT_EQ(reports[i][0], 0xFF);
        EXPECT_EQ(reports[i][1], order[i].first) << i;
        EXPECT_EQ(reports[i][2], order[i].second) << i;
        EXPECT_EQ(reports[i][3], 0);
    }
    EXPECT_EQ(reports[0][4], 247);     // red of LED 0 at full level
    EXPECT_EQ(reports[2][4], 127);     // red of LED 7 at level 128
    EXPECT_EQ(reports[6][4], 0);       // its green
    EXPECT_EQ(reports[10][4], 32);     // its blue: 64 × 128 / 256
    EXPECT_EQ(reports[2][4 + 5], 247); // LED 12
    EXPECT_EQ(reports[2][4 + 6], 0);   // nothing past it
    EXPECT_EQ(reports[0][4 + 6], 247); // the first part holds seven LEDs
    EXPECT_EQ(reports[0][4 + 7], 0);

    Rig rig;
    EXPECT_EQ(rig.model.WriteLedReports(leds), 12);
    EXPECT_EQ(rig.product->Firmware().LedReports(), 12);
    const auto red = rig.product->Firmware().LedRegister(0x44, 0xAD);
    ASSERT_GE(red.size(), 7u);
    EXPECT_EQ(red[0], 127);
    rig.model.DetachCommand();
    EXPECT_EQ(rig.model.WriteLedReports(leds), 0);
}

} // namespace
} // namespace q407::devices
