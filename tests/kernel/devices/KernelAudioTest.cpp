// The ALSA audio library against the real kernel mixer inside the hid-vm, driven by the headset
// model as the page drives it, and read back with amixer: the Dummy card (one "Mic" volume for
// both directions and a capture switch, so no monitor) and the Loopback card given the controls
// a USB headset's card has ("Mic" capture and playback volume and switch, in dB).

#include "devices/AlsaAudioConfLib.h"
#include "devices/HeadsetModel.h"
#include "sim/VirtualHidBus.h"
#include "support/HidVm.h"
#include "support/ScopedEnv.h"

#include <alsa/asoundlib.h>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace q407::devices {
namespace {

namespace fs = std::filesystem;
using testutil::ScopedEnv;

constexpr int kDummyCard = 0;
constexpr int kLoopbackCard = 1;

std::string Run(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
        output += chunk;
    }
    ::pclose(pipe);
    return output;
}

// The values amixer shows for a control, as "63,63" or "on,on".
std::string AmixerValues(int card, const std::string& control) {
    const std::string output =
        Run("/usr/bin/amixer -c " + std::to_string(card) + " cget name='" + control + "'");
    const std::string marker = "  : values=";
    const std::size_t at = output.find(marker);
    if (at == std::string::npos) {
        return "(" + output + ")";
    }
    const std::size_t end = output.find('\n', at);
    return output.substr(at + marker.size(), end - at - marker.size());
}

void AmixerSet(int card, const std::string& control, const std::string& values) {
    Run("/usr/bin/amixer -c " + std::to_string(card) + " cset name='" + control + "' " + values);
}

// Gives the Loopback card the mixer of a USB headset: microphone level and switch, and its
// monitor (side tone) level and switch, with dB scales. Replaces them when an earlier case of
// this VM run added them.
void AddHeadsetControls(int card) {
    snd_ctl_t* control = nullptr;
    ASSERT_GE(snd_ctl_open(&control, ("hw:" + std::to_string(card)).c_str(), 0), 0);
    struct Added {
        const char* name;
        bool volume;
        long max;
        int dbMin; // hundredths of a dB
        int dbStep;
    };
    const Added added[] = {{"Mic Capture Volume", true, 127, -4000, 50},
                           {"Mic Capture Switch", false, 1, 0, 0},
                           {"Mic Playback Volume", true, 31, -3100, 100},
                           {"Mic Playback Switch", false, 1, 0, 0}};
    for (const Added& a : added) {
        snd_ctl_elem_id_t* id = nullptr;
        snd_ctl_elem_id_alloca(&id);
        snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
        snd_ctl_elem_id_set_name(id, a.name);
        snd_ctl_elem_remove(control, id);
        if (a.volume) {
            ASSERT_GE(snd_ctl_elem_add_integer(control, id, 2, 0, a.max, 1), 0) << a.name;
            unsigned int tlv[4] = {SND_CTL_TLVT_DB_SCALE, 2 * sizeof(unsigned int),
                                   static_cast<unsigned int>(a.dbMin),
                                   static_cast<unsigned int>(a.dbStep)};
            ASSERT_GE(snd_ctl_elem_tlv_write(control, id, tlv), 0) << a.name;
        } else {
            ASSERT_GE(snd_ctl_elem_add_boolean(control, id, 2), 0) << a.name;
        }
    }
    snd_ctl_close(control);
}

class KernelAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testutil::InsideHidVm()) {
            GTEST_SKIP() << "needs the hid-vm's sound cards (run-in-vm.sh)";
        }
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // A headset model on the library of the named card, started as the page starts it.
    std::unique_ptr<HeadsetModel> Start(const char* card) {
        const ScopedEnv named("Q407_AUDIO_CARD", card);
        m_library = std::make_shared<AlsaAudioConfLib>(AlsaCardMatch{}, Store());
        auto model = std::make_unique<HeadsetModel>(m_bus);
        model->SetAudioLibrary(m_library);
        EXPECT_TRUE(model->StartAudioLibrary().available) << card;
        return model;
    }
    fs::path Store() const { return m_folder / "AudioProperties.json"; }
    std::string Read(const char* property, int device = kAudioTypeRecording) {
        std::array<std::uint8_t, kAudioBufferSize> answer{};
        std::uint8_t* value = answer.data();
        const AudioDeviceRecord record{m_library->Card(), device, 0, 1};
        if (m_library->PropertyControl(record, property, &value, nullptr, kPropertyRead) != 0) {
            return "(failed)";
        }
        return reinterpret_cast<const char*>(answer.data());
    }

    fs::path m_folder = fs::temp_directory_path() / "q407-kernel-audio";
    sim::VirtualHidBus m_bus;
    std::shared_ptr<AlsaAudioConfLib> m_library;
};

TEST_F(KernelAudioTest, DummyCardMicrophoneLevelAndMuteRoundTripWithoutAMonitor) {
    AmixerSet(kDummyCard, "Mic Volume", "0,0");
    AmixerSet(kDummyCard, "Mic Capture Switch", "off,off");
    auto model = Start("Dummy");
    EXPECT_EQ(m_library->Card(), kDummyCard);
    EXPECT_EQ(m_library->CaptureControl(), "Mic");
    // "Mic" has one volume for both directions: that is no side tone.
    EXPECT_EQ(m_library->MonitorControl(), "");
    EXPECT_FALSE(model->MonitorAvailable());
    EXPECT_EQ(Read("GetAAMaxVol"), "(failed)");
    EXPECT_EQ(Read("GetMaxVol"), "0");
    EXPECT_EQ(Read("GetMinVol"), "-45");
    EXPECT_EQ(Read("GetVolStep"), "0.3");
    EXPECT_EQ(model->Settings().micInValue, 33); // raw 0 of -50..100
    EXPECT_TRUE(model->MicMuted());

    model->ChangeMicLevel(75);
    EXPECT_EQ(AmixerValues(kDummyCard, "Mic Volume"), "63,63"); // -50 + 0.75 × 150
    EXPECT_EQ(Read("VolumeControl"), "-11.1");
    model->ReadAudioState();
    EXPECT_EQ(model->Settings().micInValue, 75) << "the level survives the card's steps";

    model->ToggleMicMute();
    EXPECT_EQ(AmixerValues(kDummyCard, "Mic Capture Switch"), "on,on");
    AmixerSet(kDummyCard, "Mic Volume", "100,100");
    AmixerSet(kDummyCard, "Mic Capture Switch", "off,off");
    model->ReadAudioState();
    EXPECT_EQ(model->Settings().micInValue, 100) << "what others set is read";
    EXPECT_TRUE(model->MicMuted());
}

TEST_F(KernelAudioTest, HeadsetCardMonitorRoundTripsAndTheOtherPropertiesAreKept) {
    AddHeadsetControls(kLoopbackCard);
    auto model = Start("Loopback");
    EXPECT_EQ(m_library->Card(), kLoopbackCard);
    EXPECT_EQ(m_library->MonitorControl(), "Mic");
    ASSERT_TRUE(model->MonitorAvailable());
    EXPECT_EQ(Read("GetAAMaxVol"), "0");
    EXPECT_EQ(Read("GetAAMinVol"), "-31");
    EXPECT_TRUE(model->MonitorMuted()); // a new switch is off

    model->ChangeMonitorLevel(40);
    EXPECT_EQ(AmixerValues(kLoopbackCard, "Mic Playback Volume"), "12,12"); // 0.4 × 31
    model->ToggleMonitorMute();
    EXPECT_EQ(AmixerValues(kLoopbackCard, "Mic Playback Switch"), "on,on");
    model->ChangeMicLevel(50);
    EXPECT_EQ(AmixerValues(kLoopbackCard, "Mic Capture Volume"), "64,64"); // 0.5 × 127
    model->ReadAudioState();
    EXPECT_EQ(model->Settings().micMonitorValue, 40);
    EXPECT_EQ(model->Settings().micInValue, 50);
    EXPECT_FALSE(model->MonitorMuted());

    // The equaliser and the voice changer are kept by the library, across instances.
    model->SelectEqPreset(2, -1);
    model->ChangeMagicType(3);
    auto again = Start("Loopback");
    EXPECT_EQ(Read("EQ_Slider1", kAudioTypeHeadsetPlayback), "7");
    EXPECT_EQ(Read("EQ_Slider10", kAudioTypeHeadsetPlayback), "13");
    EXPECT_EQ(again->Settings().magicType, 3);
    EXPECT_EQ(Read("Enable_EQ_GFX", kAudioTypeHeadsetPlayback), "1");
    EXPECT_EQ(Read("NoSuchProperty"), "(failed)");
}

} // namespace
} // namespace q407::devices
