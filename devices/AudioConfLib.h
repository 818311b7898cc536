#pragma once

// The headset's audio configuration library: the entry points the headset page calls, in the
// shape the page relies on. The page never knows how a library reaches the sound hardware; it
// binds a playback and a microphone device record and reads and writes named properties.
//
// Calls (all from the UI thread):
//   ConfLibInit()                         0 done, anything else a failure
//   CreateDeviceList()                    (re)builds the two device lists; result unused
//   GetDeviceCount(list, &count)          list 0 playback devices, 1 recording devices
//   GetDeviceById(list, index, &record)   a 16-byte record: id, type, third value, flag
//   PropertyControl(record, name, &value, &parameter or null, write)
//       read (write 0): 0 means the value buffer now holds the answer as NUL-terminated decimal
//       text ("1", "-12.50", "0.756", or for "GetSupportFeature" a comma-separated list);
//       write (write 1): the value is in the first four bytes of the value buffer (an int32, or
//       a float for the scalar volumes and the dB volumes); 0 means it was taken.
//       The parameter buffer, when given, carries int32 values (a channel, -1 for all).
// Value buffers are kAudioBufferSize bytes ("GetSupportFeature" is read into twice that); a
// library writes no more than kAudioBufferSize bytes of answer into them.
//
// A record the library does not know (an empty one, for instance) fails every property call.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace q407::devices {

struct AudioDeviceRecord {
    std::int32_t id = 0;
    std::int32_t type = 0;
    std::int32_t third = 0;
    std::int32_t flag = 0;
    friend bool operator==(const AudioDeviceRecord&, const AudioDeviceRecord&) = default;
};
static_assert(sizeof(AudioDeviceRecord) == 16);

inline constexpr int kAudioPlaybackList = 0;
inline constexpr int kAudioRecordingList = 1;
inline constexpr int kPropertyRead = 0;
inline constexpr int kPropertyWrite = 1;
inline constexpr std::size_t kAudioBufferSize = 1024;

// Device types the page looks for: playback 1 (then 12, 7, 4), recording 2.
inline constexpr std::int32_t kAudioTypeHeadsetPlayback = 1;
inline constexpr std::int32_t kAudioTypeRecording = 2;
// Bit of the microphone's first feature value that says the voice changer can be read.
inline constexpr std::int32_t kFeatureVoiceChanger = 0x20000;

class AudioConfLib {
public:
    virtual ~AudioConfLib() = default;

    virtual int ConfLibInit() = 0;
    virtual int CreateDeviceList() = 0;
    virtual int GetDeviceCount(int list, int* count) = 0;
    virtual int GetDeviceById(int list, int index, AudioDeviceRecord* record) = 0;
    virtual int PropertyControl(AudioDeviceRecord device, std::string_view property,
                                std::uint8_t** value, std::uint8_t** parameter, int write) = 0;

    // Called, from any thread, after the sound devices the library serves came or went; the
    // owner then builds the device lists again. Replaces an earlier handler; empty removes it.
    virtual void SetDeviceChangeHandler(std::function<void()> handler) = 0;
};

// The program's audio library, one per process: set at start-up (the ALSA one in q407, a
// simulated one in q407-demo and the tests). Without one the headset's audio features are
// unavailable.
void SetAudioLibrary(std::shared_ptr<AudioConfLib> library);
std::shared_ptr<AudioConfLib> GetAudioLibrary();

// --- Helpers for libraries and callers --------------------------------------------------------
// The int32 and float in the first four bytes of a buffer.
std::int32_t BufferInt(const std::uint8_t* buffer);
float BufferFloat(const std::uint8_t* buffer);
void PutBufferInt(std::uint8_t* buffer, std::int32_t value);
void PutBufferFloat(std::uint8_t* buffer, float value);
// Writes `text` as the answer of a read (cut to fit, NUL-terminated).
void PutAnswerText(std::uint8_t* buffer, std::string_view text);
// The answer of a read: the decimal number at the start of the buffer's text; nullopt when the
// text does not start with one.
std::optional<double> AnswerNumber(const std::uint8_t* buffer);
// A number as an answer: integers without a fraction, other values with up to six digits.
std::string AnswerText(double value);
// The fields of a comma-separated answer.
std::vector<std::string> AnswerFields(const std::uint8_t* buffer, std::size_t size);

} // namespace q407::devices
