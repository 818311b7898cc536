// The keyboard model against the simulated keyboard on the virtual bus, by cable and through the
// receiver: its key layout, the settings block both ways, the system switches, key tables with
// their macros, custom colour groups, streamed frames and key reactions. What the keyboard holds
// is always read back from the simulator.

#include "devices/KeyboardModel.h"

#include "integration/devices/ModelFolders.h"
#include "profiles/CMacroLibrary.h"
#include "profiles/JsonFile.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "unit/devices/LightTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace q407::devices {
namespace {

namespace fs = std::filesystem;
namespace p = protocol;
namespace kbb = keyboard_block;
using sim::SimProduct;

// Records the pauses the model asks for instead of waiting.
class RecordingPacer final : public p::Pacer {
public:
    void Pause(std::chrono::milliseconds length) override {
        if (length >= std::chrono::milliseconds(100)) {
            long_pauses.push_back(length);
        }
    }
    std::vector<std::chrono::milliseconds> long_pauses;
};

struct Folders : testutil::ModelFolders {
    Folders() : ModelFolders("keyboard", {"Keyboard.Json", "default_light.json"}, "Keyboard") {}
};

bool IsReceiver(SimProduct product) {
    return product == SimProduct::KeyboardKReceiver;
}

constexpr const char* kUuid = "2026_12_09_11_00_00_000";
constexpr int kKeyA = 64;  // logical key of A
constexpr int kKeyO = 51;  // logical key of O
constexpr int kEmpty = 18; // a logical key without a function

void Identify(KeyboardModel& model, SimProduct which) {
    hid::DeviceIdentity identity;
    identity.vendorId = hid::kVendorId;
    identity.productId =
        IsReceiver(which) ? hid::kProductKeyboardKReceiver : hid::kProductKeyboardK;
    identity.deviceType = IsReceiver(which) ? hid::kDeviceKeyboardReceiver : hid::kDeviceKeyboard;
    model.SetIdentity(identity);
    model.SetDeviceFolderName("Keyboard");
    model.SetProfileUuid(kUuid);
    model.SetLightConfigName("ravik_light");
    model.SetKeyCount(170);
    model.SetLedCount(170);
    model.SetLightOutput(true);
}

// One simulated keyboard on a bus and a keyboard model attached to it.
class Rig {
public:
    explicit Rig(SimProduct which, LightClock* clock = nullptr)
        : Rig(which, sim::SaneKeyboard(IsReceiver(which)), clock) {}
    Rig(SimProduct which, sim::FirmwareSpec spec, LightClock* clock = nullptr)
        : product(sim::SimulatedProduct::Create(which, std::move(spec))),
          model(bus, clock, &random, pacer) {
        EXPECT_TRUE(product->PlugInto(bus));
        Identify(model, which);
        EXPECT_TRUE(model.AttachCommand(IsReceiver(which) ? p::kModeReceiver : p::kModeCable,
                                        product->CommandPath(bus)));
        p::TransactTimeouts timeouts;
        timeouts.cableRead = 100;
        timeouts.receiverRead = 100;
        model.Protocol().SetTimeouts(timeouts);
    }

    // What the page's activation does with the model.
    void Activate() {
        ASSERT_EQ(model.ReadKeyTables(), 1);
        ASSERT_EQ(model.LoadProfile(), 1);
        ASSERT_EQ(model.ReadSettingsBlock(), 1);
    }
    // Light settings as the lighting panel applies them.
    void SetMode(int mode) {
        profiles::LightInfo info = model.GetLightParams();
        info.mode = static_cast<std::uint8_t>(mode);
        ASSERT_EQ(model.ApplyLightParams(info), 1);
    }

    sim::FirmwareModel& firmware() { return product->Firmware(); }
    std::vector<std::uint8_t> Block(int profile = 0) {
        const auto memory = firmware().Memory().settingsMemory;
        const auto start = memory.begin() + profile * 33;
        return {start, start + 34};
    }
    Json::Value Entry() { return profiles::ReadJsonFile(model.GetProfilePath())["Device"][0]; }
    // The three bytes LED slot `slot` holds in custom colour group `group`.
    Rgb GroupColour(int group, int slot) {
        const auto memory = firmware().Memory().indexedMemory;
        const std::size_t at = static_cast<std::size_t>(group) * 512 + 3 * slot;
        return {memory[at], memory[at + 1], memory[at + 2]};
    }
    std::vector<std::uint8_t> DeviceKey(std::size_t position) {
        const auto table = firmware().Memory().keyTable;
        return {table[3 * position], table[3 * position + 1], table[3 * position + 2]};
    }

    sim::VirtualHidBus bus;
    std::shared_ptr<sim::SimulatedProduct> product;
    RecordingPacer pacer;
    test::ScriptedRandom random;
    KeyboardModel model;
};

const SimProduct kBoth[] = {SimProduct::KeyboardK, SimProduct::KeyboardKReceiver};

TEST(KeyboardModel, KeyTablesMapEveryLogicalKeyToItsPositionAndLed) {
    for (const SimProduct which : kBoth) {
        // The keyboard lacks the A key (its position holds another code) and has a second
        // position with Esc's code.
        sim::FirmwareSpec spec = sim::SaneKeyboard(IsReceiver(which));
        spec.defaultKeyTable[3 * kKeyA + 2] = 0x99;
        spec.defaultKeyTable[3 * 140 + 2] = 0x29;
        Rig rig(which, spec);
        ASSERT_EQ(rig.model.ReadKeyTables(), 1);
        const auto& positions = rig.model.PositionMap();
        EXPECT_EQ(positions[kKeyO], kKeyO);
        EXPECT_EQ(positions[kKeyA], kb::kNoKey) << "a key the keyboard lacks has no position";
        EXPECT_EQ(positions[0], 0) << "the first position with the code wins";
        EXPECT_EQ(positions[kEmpty], positions[104]) << "keys with one code share a position";
        EXPECT_EQ(rig.model.LedMap()[kKeyO], spec.ledIndexTable[kKeyO]);
        EXPECT_EQ(rig.model.LedMap()[kKeyA], kb::kNoKey);
        const auto commands = rig.firmware().Requests();
        EXPECT_EQ(commands.front()[p::kPosCommand], IsReceiver(which) ? 0xAA : 0x01);
    }
    // A keyboard behind a receiver that is switched off gets the link query alone, and a table
    // too large to hold is refused; the maps stay as they were.
    Rig off(SimProduct::KeyboardKReceiver);
    off.firmware().SetSwitchedOff(true);
    EXPECT_EQ(off.model.ReadKeyTables(), 0);
    EXPECT_EQ(off.firmware().RequestCount(0x01), 0);
    EXPECT_EQ(off.model.PositionMap()[kKeyO], kb::kNoKey);
    sim::FirmwareSpec large = sim::SaneKeyboard();
    large.deviceInfo[p::kInfoKeyPositions] = 171;
    Rig tooLarge(SimProduct::KeyboardK, large);
    EXPECT_EQ(tooLarge.model.ReadKeyTables(), 0);
    EXPECT_FALSE(tooLarge.model.KeyTablesRead());
}

TEST(KeyboardModel, AKeyboardThatComesBackUnchangedKeepsItsTablesAnotherIsReadWhole) {
    // The same keyboard on the same bus, then one whose A key sits elsewhere (another layout).
    Rig rig(SimProduct::KeyboardK);
    ASSERT_EQ(rig.model.ReadKeyTables(), 1);
    sim::FirmwareSpec other = sim::SaneKeyboard();
    other.deviceInfo[30] ^= 1; // a byte of the device information differs
    other.defaultKeyTable[3 * kKeyA + 2] = 0x99;
    auto another = sim::SimulatedProduct::Create(SimProduct::KeyboardK, other);
    ASSERT_TRUE(another->PlugInto(rig.bus));
    struct Case {
        const char* what;
        std::shared_ptr<sim::SimulatedProduct> product;
        int tableReads;
        std::uint8_t positionOfA;
    };
    for (const Case& c : {Case{"replugged", rig.product, 0, kKeyA},
                          Case{"another keyboard", another, 1, kb::kNoKey}}) {
        SCOPED_TRACE(c.what);
        rig.model.DetachCommand();
        ASSERT_TRUE(rig.model.AttachCommand(p::kModeCable, c.product->CommandPath(rig.bus)));
        c.product->Firmware().ClearRequests();
        ASSERT_EQ(rig.model.ReadKeyTables(), 1);
        EXPECT_GT(c.product->Firmware().RequestCount(p::kCmdReadDeviceInfo), 0);
        EXPECT_EQ(c.product->Firmware().RequestCount(p::kCmdReadDefaultKeyTable) > 0 ? 1 : 0,
                  c.tableReads);
        EXPECT_EQ(rig.model.PositionMap()[kKeyA], c.positionOfA);
    }
    another->Unplug();
}

TEST(KeyboardModel, SettingsBlockComesIntoTheProfileAndHostSettingsStayTheHosts) {
    for (const SimProduct which : kBoth) {
        Folders folders;
        Rig rig(which);
        ASSERT_EQ(rig.model.ReadKeyTables(), 1);
        ASSERT_EQ(rig.model.LoadProfile(), 1);
        ASSERT_EQ(rig.model.SetRepeatDelay(1), 1);
        // The keyboard runs profile 2 in light mode 12 with the Win lock on.
        rig.firmware().SetSettingsByte(0, 2);
        const std::size_t b = 2 * 33;
        for (const auto& [at, value] :
             std::initializer_list<std::pair<std::size_t, std::uint8_t>>{{kbb::kEffect, 12},
                                                                         {kbb::kBrightness, 3},
                                                                         {kbb::kSpeed, 1},
                                                                         {kbb::kRed, 9},
                                                                         {kbb::kWinLock, 1},
                                                                         {kbb::kKey6, 1},
                                                                         {kbb::kPollingRate, 4},
                                                                         {kbb::kZero, 7}}) {
            rig.firmware().SetSettingsByte(b + at, value);
        }
        ASSERT_EQ(rig.model.ReadSettingsBlock(), 1);
        EXPECT_EQ(rig.model.CurrentProfileNumber(), 2);
        EXPECT_EQ(rig.model.ConfigBlock()[kbb::kZero], 0);
        const Json::Value entry = rig.Entry();
        EXPECT_EQ(entry["LightInfo"]["SelectItem"].asInt(), 12);
        EXPECT_EQ(entry["LightInfo"]["Light"].asInt(), 3);
        EXPECT_EQ(entry["LightInfo"]["Speed"].asInt(), 3);
        EXPECT_EQ(entry["LightInfo"]["Red"].asInt(), 9);
        EXPECT_EQ(entry["SystemStages"]["WinFlag"].asInt(), 1);
        EXPECT_EQ(entry["SystemStages"]["Key6Flag"].asInt(), 1);
        EXPECT_EQ(entry["SystemStages"]["PollingRate"].asInt(), 0) << "not taken from the keyboard";
        EXPECT_EQ(entry["SystemStages"]["RepeatDelay"].asInt(), 1);

        // A host-streamed mode reads back as 0xFE: the page keeps the mode it has.
        rig.firmware().SetSettingsByte(b + kbb::kEffect, kHostStreamedEffect);
        ASSERT_EQ(rig.model.ReadSettingsBlock(), 1);
        EXPECT_EQ(rig.model.GetLightParams().mode, 12);
    }
}

TEST(KeyboardModel, EverySwitchReachesTheKeyboardAndTheProfileFile) {
    struct Case {
        KeyboardSwitch which;
        std::size_t byte;
        const char* key;
    };
    const Case cases[] = {{KeyboardSwitch::WinLock, kbb::kWinLock, "WinFlag"},
                          {KeyboardSwitch::WFlag, kbb::kWFlag, "WFlag"},
                          {KeyboardSwitch::Key6, kbb::kKey6, "Key6Flag"}};
    for (const SimProduct which : kBoth) {
        Folders folders;
        Rig rig(which);
        rig.firmware().SetSettingsByte(30, 0x5A); // a byte the program does not know
        rig.Activate();
        for (const Case& c : cases) {
            for (const bool on : {true, false}) {
                ASSERT_EQ(rig.model.SetSwitch(c.which, on), 1);
                EXPECT_EQ(rig.Block()[c.byte], on ? 1 : 0) << c.key;
                EXPECT_EQ(rig.Entry()["SystemStages"][c.key].asInt(), on ? 1 : 0) << c.key;
                EXPECT_EQ(rig.model.GetSwitch(c.which), on);
            }
        }
        EXPECT_EQ(rig.Block()[30], 0x5A);
        // Repeat rate and delay are kept by the host alone: nothing is written for them.
        const int writes = rig.firmware().RequestCount(0x06);
        ASSERT_EQ(rig.model.SetRepeatRate(17), 1);
        ASSERT_EQ(rig.model.SetRepeatDelay(9), 1);
        EXPECT_EQ(rig.firmware().RequestCount(0x06), writes);
        EXPECT_EQ(rig.Entry()["SystemStages"]["Repeat"].asInt(), 17);
        EXPECT_EQ(rig.Entry()["SystemStages"]["RepeatDelay"].asInt(), 0) << "shown as option 0";
    }
}

TEST(KeyboardModel, LightModesTranslateAndHostStreamedModesWriteFe) {
    Folders folders;
    {
        // Effect codes that differ from the mode numbers.
        Json::Value lights = profiles::ReadJsonFile(folders.DefaultData() / "default_light.json");
        for (Json::ArrayIndex i = 0; i < lights["DefaultLightName"][1].size(); ++i) {
            lights["DefaultLightName"][1][i]["value"] = static_cast<int>(i) + 100;
        }
        lights["DefaultLightName"][1][29]["value"] = 29;
        lights["DefaultLightName"][1][30]["value"] = 30;
        ASSERT_TRUE(profiles::WriteJsonFile(lights, folders.DefaultData() / "default_light.json"));
    }
    Rig rig(SimProduct::KeyboardK);
    rig.Activate();
    struct Case {
        int mode;
        int code;
    };
    for (const Case c : {Case{5, 105}, Case{29, kHostStreamedEffect}, Case{30, kHostStreamedEffect},
                         Case{1, 101}}) {
        rig.SetMode(c.mode);
        EXPECT_EQ(rig.Block()[kbb::kEffect], c.code) << c.mode;
        EXPECT_EQ(rig.Entry()["LightInfo"]["SelectItem"].asInt(), c.mode);
    }
    profiles::LightInfo info = rig.model.GetLightParams();
    info.speed = 1;
    info.secondaryMode = 2;
    ASSERT_EQ(rig.model.ApplyLightParams(info), 1);
    EXPECT_EQ(rig.Block()[kbb::kSpeed], 3);
    EXPECT_EQ(rig.Block()[kbb::kSecondaryMode], 2);
    rig.firmware().SetSettingsByte(kbb::kEffect, 107);
    ASSERT_EQ(rig.model.ReadSettingsBlock(), 1);
    EXPECT_EQ(rig.model.GetLightParams().mode, 7);
}

TEST(KeyboardModel, MacrosAreRenumberedInFirstUseOrderAndOrphansRevert) {
    for (const SimProduct which : kBoth) {
        Folders folders;
        Rig rig(which);
        rig.Activate();
        profiles::CMacroLibrary library(folders.Profiles());
        for (int i = 0; i < 5; ++i) {
            ASSERT_EQ(library.NewMacro(), profiles::CMacroLibrary::kDone);
        }
        ASSERT_EQ(library.SaveEvents(1, {{true, 10, 4, 20}}), 1);
        ASSERT_EQ(library.SaveEvents(4, {{true, 1, 1, 0}, {false, 1, 1, 0}}), 1);
        // Keys bound to library macros 4, 1, 4 (in logical key order), one to a macro the
        // library does not hold, and a key the keyboard lacks bound to macro 2.
        const std::pair<int, std::uint32_t> bindings[] = {
            {1, 0x700400}, {2, 0x700100}, {3, 0x710400}, {4, 0x700900}};
        for (const auto& [key, function] : bindings) {
            ASSERT_TRUE(rig.model.SetKeyFunction(key, function));
        }
        EXPECT_EQ(rig.model.CollectUsedMacros(), (std::vector<int>{4, 1}));
        EXPECT_EQ(rig.model.GetMacroList(), (std::vector<std::string>{"macro_5", "macro_2"}));
        ASSERT_EQ(rig.model.WriteMacroImage(rig.model.CollectUsedMacros()), 0);
        EXPECT_EQ(rig.firmware().MacroMemory()[4], 2) << "two macros in the image";
        ASSERT_EQ(rig.model.WriteCurrentKeyTable(&rig.model.Profile()), 1);
        EXPECT_EQ(rig.DeviceKey(1), (std::vector<std::uint8_t>{0x70, 0, 0}));
        EXPECT_EQ(rig.DeviceKey(2), (std::vector<std::uint8_t>{0x70, 1, 0}));
        EXPECT_EQ(rig.DeviceKey(3), (std::vector<std::uint8_t>{0x71, 0, 0}));
        EXPECT_EQ(rig.DeviceKey(4), (std::vector<std::uint8_t>{0x20, 0, 0x3D})) << "F4 again";
        EXPECT_FALSE(rig.model.IsKeyChanged(4));
        EXPECT_EQ(rig.Entry()["KeyList"][4]["Assignment"].asInt(), 0x20003D);
        EXPECT_EQ(rig.DeviceKey(kKeyO), (std::vector<std::uint8_t>{0x20, 0, 0x12}));

        // The library shrinks to three macros: keys bound to macro 4 get their default back.
        ASSERT_EQ(library.DeleteMacro(4, {}, 0), profiles::CMacroLibrary::kDone);
        ASSERT_EQ(library.DeleteMacro(3, {}, 0), profiles::CMacroLibrary::kDone);
        ASSERT_TRUE(rig.model.SetKeyFunction(1, 0x700400));
        EXPECT_TRUE(rig.model.ResetOrphanMacroKeys());
        EXPECT_FALSE(rig.model.IsKeyChanged(1));
        EXPECT_TRUE(rig.model.IsKeyChanged(2)) << "macro 1 is still there";
        EXPECT_FALSE(rig.model.ResetOrphanMacroKeys());
    }
}

TEST(KeyboardModel, KeyTableWritesNeedTheFactoryTableAndSkipMissingKeys) {
    Folders folders;
    sim::FirmwareSpec spec = sim::SaneKeyboard();
    spec.defaultKeyTable[3 * kKeyA + 2] = 0x99; // the keyboard lacks A
    Rig rig(SimProduct::KeyboardK, spec);
    ASSERT_EQ(rig.model.LoadProfile(), 1);
    EXPECT_EQ(rig.model.WriteCurrentKeyTable(&rig.model.Profile()), 0);
    EXPECT_EQ(rig.firmware().RequestCount(0x09), 0);
    rig.Activate();
    ASSERT_TRUE(rig.model.SetKeyFunction(kKeyA, 0x200005));
    ASSERT_EQ(rig.model.WriteCurrentKeyTable(nullptr), 1);
    EXPECT_EQ(rig.DeviceKey(kKeyA), (std::vector<std::uint8_t>{0x20, 0, 0x99}))
        << "the position keeps its factory code";
}

TEST(KeyboardModel, CustomColourGroupsRoundTrip) {
    for (const SimProduct which : kBoth) {
        Folders folders;
        Rig rig(which);
        rig.Activate();
        const int slotO = rig.model.LedMap()[kKeyO];
        // Painting works in the custom colour mode only.
        EXPECT_EQ(rig.model.PaintCustomKey(kKeyO, {1, 2, 3}), 0);
        rig.SetMode(kCustomColourMode);
        ASSERT_EQ(rig.model.PaintCustomKey(kKeyO, {1, 2, 3}), 1);
        EXPECT_EQ(rig.GroupColour(0, slotO), (Rgb{1, 2, 3}));
        EXPECT_EQ(rig.Entry()["CustomLightMode"]["LightColorInfo"][0][kKeyO]["Green"].asInt(), 2);

        rig.model.SelectCustomGroup(3);
        ASSERT_EQ(rig.model.WriteConfig(0, 0, 1, 0, 0), 1);
        EXPECT_EQ(rig.Block()[kbb::kCustomGroup], 3);
        EXPECT_EQ(rig.Entry()["LightInfo"]["CustomGroup"].asInt(), 3);
        ASSERT_EQ(rig.model.FillCustomColours({200, 0, 100}), 1);
        for (const int key : {0, kKeyO, 125}) {
            EXPECT_EQ(rig.GroupColour(3, rig.model.LedMap()[key]), (Rgb{200, 0, 100})) << key;
        }
        EXPECT_EQ(rig.GroupColour(0, slotO), (Rgb{1, 2, 3})) << "group 0 is untouched";

        // Back on group 0: the profile's colours return to the engine and the keyboard.
        rig.model.SelectCustomGroup(0);
        ASSERT_EQ(rig.model.WriteConfig(0, 0, 1, 0, 0), 1);
        ASSERT_EQ(rig.model.ReloadCustomGroup(), 1);
        EXPECT_EQ(rig.model.Engine().CustomColours()[kKeyO], (Rgb{1, 2, 3}));

        // Colours the keyboard holds come back when the block says mode 20.
        rig.firmware().SetSettingsByte(kbb::kEffect, 1);
        ASSERT_EQ(rig.model.ReadSettingsBlock(), 1);
        const int reads = rig.firmware().RequestCount(0x0A);
        rig.firmware().SetSettingsByte(kbb::kEffect, kCustomColourMode);
        ASSERT_EQ(rig.model.ReadSettingsBlock(), 1);
        EXPECT_GT(rig.firmware().RequestCount(0x0A), reads);
        EXPECT_EQ(rig.model.Engine().CustomColours()[kKeyO], rig.GroupColour(0, slotO));

        // A refused write leaves the keyboard alone for a moment.
        rig.firmware().StatusOnChunk(0x0B, 0, 0xFF);
        EXPECT_NE(rig.model.FillCustomColours({0, 0, 0}), 1);
        ASSERT_FALSE(rig.pacer.long_pauses.empty());
        EXPECT_EQ(rig.pacer.long_pauses.back(), KeyboardModel::kFailurePause);
    }
}

TEST(KeyboardModel, HostStreamedModesStreamTheFrameAndPauseAfterAFailure) {
    Folders folders;
    test::ManualClock clock;
    Rig rig(SimProduct::KeyboardK, &clock);
    rig.Activate();
    rig.SetMode(1);
    EXPECT_EQ(rig.model.StreamKeyColours(), 0) << "the keyboard runs mode 1 itself";
    rig.SetMode(kColourInputMode);
    const std::int32_t input[] = {40, 80, 120};
    rig.model.SetColourInput(input);
    rig.model.Engine().StepOnce();
    ASSERT_EQ(rig.model.StreamKeyColours(), 1);
    const auto frame = rig.firmware().LightFrame();
    const std::size_t at = 3U * rig.model.LedMap()[kKeyO];
    const unsigned level = light::BrightnessLevel(rig.model.GetLightParams().brightness);
    EXPECT_EQ(frame[at], 40 * level >> 8);
    EXPECT_EQ(frame[at + 2], 120 * level >> 8);
    EXPECT_EQ(frame.size(), 510u);

    rig.model.SetLightOutput(false);
    EXPECT_EQ(rig.model.StreamKeyColours(), 0) << "another program drives the lights";
    rig.model.SetLightOutput(true);
    rig.firmware().StatusOnChunk(0x12, 0, 0xFF);
    EXPECT_EQ(rig.model.StreamKeyColours(), -1);
    clock.Advance(199);
    EXPECT_EQ(rig.model.StreamKeyColours(), 0);
    clock.Advance(1);
    EXPECT_EQ(rig.model.StreamKeyColours(), 1);
}

TEST(KeyboardModel, StreamingGoesOnWhileThePreviewIsPaused) {
    Folders folders;
    Rig rig(SimProduct::KeyboardK);
    rig.Activate();
    rig.model.SetPreviewPaused(true);
    rig.SetMode(kMusicMode);
    rig.model.StartLightThread();
    const auto waitFrames = [&](int frames) {
        for (int i = 0; i < 400 && rig.firmware().LightFramesCompleted() < frames; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return rig.firmware().LightFramesCompleted();
    };
    EXPECT_GE(waitFrames(3), 3);
    rig.SetMode(2); // the keyboard's own mode: the stream stops
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const int frames = rig.firmware().LightFramesCompleted();
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_EQ(rig.firmware().LightFramesCompleted(), frames);
    rig.model.StopPageThreads();
    EXPECT_FALSE(rig.model.IsStreamThreadRunning());
}

TEST(KeyboardModel, KeyReportsStartReactionsInTheReactiveModesOnly) {
    Folders folders;
    Rig rig(SimProduct::KeyboardK);
    rig.Activate();
    ASSERT_TRUE(rig.model.RestartListening(rig.product->EventPath(rig.bus), hid::kDeviceKeyboard));
    struct Case {
        int mode;
        bool reacts;
    };
    for (const Case c :
         {Case{7, true}, Case{8, true}, Case{9, true}, Case{25, true}, Case{1, false}}) {
        rig.SetMode(c.mode);
        rig.model.Engine().Restart();
        ASSERT_TRUE(rig.product->EmitKeyPress(kKeyO));
        bool reacted = false;
        for (int i = 0; i < 100 && !reacted; ++i) {
            const auto state = rig.model.Engine().GetState();
            reacted = state.ledLevels[kKeyO] != 0 ||
                      std::any_of(state.masks.begin(), state.masks.end(), [](const auto& m) {
                          return std::any_of(m.begin(), m.end(), [](auto b) { return b != 0; });
                      });
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        EXPECT_EQ(reacted, c.reacts) << "mode " << c.mode;
    }
    rig.model.StopPageThreads();
}

TEST(KeyboardModel, LoudMusicStartsARippleAtTheOKeyInAudioModeTwo) {
    Folders folders;
    Rig rig(SimProduct::KeyboardK);
    rig.Activate();
    rig.SetMode(kMusicMode);
    profiles::AudioLightInfo audio = rig.model.GetAudioLightParams();
    audio.audioMode = 2;
    rig.model.SetAudioLightParams(audio);
    rig.model.SaveProfile();
    EXPECT_EQ(rig.Entry()["AudioLightInfo"]["AudioMode"].asInt(), 2) << "stored in the profile";
    const std::vector<std::int32_t> loud(25, 2000);
    rig.model.SetMusicLevels(loud);
    rig.model.SetMusicLevels(loud);
    EXPECT_EQ(rig.model.Engine().GetState().musicTotal, 50);
    rig.model.SetMusicLevels(loud);
    const auto state = rig.model.Engine().GetState();
    EXPECT_EQ(state.musicTotal, 0);
    EXPECT_NE(state.masks[0][10], 0) << "a diamond starts in the O key's column";
}

TEST(KeyboardModel, PowerStateAndSettingsSurviveARestart) {
    for (const SimProduct which : kBoth) {
        Folders folders;
        Rig rig(which);
        rig.Activate();
        const auto power = rig.model.PollPowerState();
        ASSERT_TRUE(power.has_value());
        EXPECT_EQ((*power)[0], 80);
        EXPECT_EQ((*power)[3], IsReceiver(which) ? 1 : 0);
        ASSERT_EQ(rig.model.SetSwitch(KeyboardSwitch::WinLock, true), 1);
        rig.SetMode(kCustomColourMode);
        ASSERT_EQ(rig.model.FillCustomColours({5, 6, 7}), 1);
        rig.model.DetachCommand();
        EXPECT_FALSE(rig.model.PollPowerState().has_value());

        // The program starts again: a new model finds the profile and the keyboard agreeing.
        KeyboardModel again(rig.bus, nullptr, nullptr, rig.pacer);
        Identify(again, which);
        ASSERT_TRUE(again.AttachCommand(IsReceiver(which) ? p::kModeReceiver : p::kModeCable,
                                        rig.product->CommandPath(rig.bus)));
        ASSERT_EQ(again.ReadKeyTables(), 1);
        ASSERT_EQ(again.LoadProfile(), 1);
        ASSERT_EQ(again.ReadSettingsBlock(), 1);
        EXPECT_TRUE(again.GetSwitch(KeyboardSwitch::WinLock));
        EXPECT_EQ(again.GetLightParams().mode, kCustomColourMode);
        EXPECT_EQ(again.Engine().CustomColours()[kKeyO], (Rgb{5, 6, 7}));
    }
}

TEST(KeyboardModel, RepeatDelayOptionsAndShownOptions) {
    EXPECT_EQ(RepeatDelayMs(0), 250);
    EXPECT_EQ(RepeatDelayMs(2), 750);
    EXPECT_EQ(RepeatDelayMs(3), 1000);
    EXPECT_EQ(RepeatDelayMs(4), 250);
    EXPECT_EQ(RepeatDelayMs(-1), 250);
    EXPECT_EQ(ShownOption(5, 4), 0);
}

} // namespace
} // namespace q407::devices
