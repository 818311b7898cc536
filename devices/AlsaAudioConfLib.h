#pragma once

// The audio library on Linux: the ALSA mixer of the headset's own USB sound card.
//
// The card is the one whose USB device has the headset's vendor and product id (found through
// udev); the environment variable Q407_AUDIO_CARD names another card instead (by its id, such
// as "Dummy", or its number), for cards without USB ids. With the card present the playback list
// holds one record (type 1, flag 1) and, when the card has a microphone, the recording list one
// record (type 2); without it both lists are empty.
//
// Properties of the microphone record that reach the mixer:
//   "VolumeControl", "VolumeScalarControl", "MuteControl", "GetMaxVol", "GetMinVol",
//   "GetVolStep"      the card's capture control ("Mic", "Headset" or "Capture", else the first
//                     with a capture volume): level in dB (raw steps where the card gives no dB
//                     scale), level as a scalar 0-1, and the capture switch (muted = off)
//   "AAVolumeControl", "AAVolumeScalarControl", "AAMuteControl", "GetAAMaxVol", "GetAAMinVol",
//   "GetAAVolStep"    the monitor (side tone): a playback volume of its own on "Mic",
//                     "Sidetone", "Side Tone" or "Monitor"; a card without one fails them all
// Writes set every channel; reads give the channel the parameter names (-1: the first). A
// scalar written is answered as written while the mixer still holds the step it was set to, so
// a level survives the round trip through the card's coarser steps.
//
// Properties kept by the library in its store file (they do not change the sound): the
// equaliser ("Enable_EQ_GFX", "EQ_Slider1"-"EQ_Slider10"), surround
// ("VirtualSurroundEffectControl", "Enable_RFX_GFX", "RFX_ENVIRONMENT", "RFX_ROOMSIZE") on the
// playback record; noise reduction
// ("Enable_ENC_LFX"), the voice changer ("Enable_MAGICVOICE", "MagicVoice_Selection") and echo
// ("Enable_MICECHO") on the microphone record. One never written cannot be read.
//
// Sound cards coming and going (udev "sound" events) call the device-change handler from the
// library's watch thread, once per burst of events.

#include "devices/AudioConfLib.h"
#include "devices/PageThread.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace q407::devices {

struct AlsaCardMatch {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    // A card named by id or number instead of the USB ids (Q407_AUDIO_CARD when empty).
    std::string cardName;
};

class AlsaAudioConfLib final : public AudioConfLib {
public:
    AlsaAudioConfLib(AlsaCardMatch match, std::filesystem::path storeFile);
    ~AlsaAudioConfLib() override;
    AlsaAudioConfLib(const AlsaAudioConfLib&) = delete;
    AlsaAudioConfLib& operator=(const AlsaAudioConfLib&) = delete;

    int ConfLibInit() override;
    int CreateDeviceList() override;
    int GetDeviceCount(int list, int* count) override;
    int GetDeviceById(int list, int index, AudioDeviceRecord* record) override;
    int PropertyControl(AudioDeviceRecord device, std::string_view property, std::uint8_t** value,
                        std::uint8_t** parameter, int write) override;
    void SetDeviceChangeHandler(std::function<void()> handler) override;

    // The card bound by the last CreateDeviceList (-1: none) and its two controls.
    int Card() const;
    std::string CaptureControl() const;
    std::string MonitorControl() const;

private:
    struct Level {
        float scalar = 0;
        long raw = 0;
    };
    std::optional<int> FindCard() const;
    int MixerProperty(std::string_view property, bool monitor, std::uint8_t* value,
                      std::int32_t channel, bool write);
    int StoredProperty(const char* device, std::string_view property, std::uint8_t* value,
                       bool write);
    void WatchLoop(const Event& stop);

    AlsaCardMatch m_match;
    std::filesystem::path m_storeFile;
    mutable std::mutex m_mutex; // everything below
    bool m_initialised = false;
    int m_card = -1;
    std::string m_captureControl;
    std::string m_monitorControl;
    std::map<std::string, Level> m_levels; // last scalar written, per control and direction
    std::function<void()> m_handler;
    PageThread m_watch;
};

} // namespace q407::devices
