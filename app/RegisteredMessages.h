#pragma once

// The program-wide messages other processes exchange with the running instance. On Linux each
// one is a member of the instance's D-Bus interface; the registration strings stay as the names
// the outside programs know them by, and each message keeps a fixed number so the main window's
// dispatch reads like the rest of its message table.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace q407::app {

enum class RegisteredMessage {
    ShowInstance,      // received: show, restore and raise the main window
    ExternalRelay,     // received: relayed to the settings window
    AppControl,        // received: wParam 4 ends the program, others go to the settings window
    LightOwnerNotify,  // sent: this program takes (lParam 1) or releases (0) the lighting
    LightOwnerSet,     // received: wParam 1, lParam 0/1 stop or resume driving the lighting
    DeviceInfoRequest, // received: answered with the 1024-byte device information block
    AudioRecordCtrl,   // sent: a command for the audio capture program in wParam
    // received from game integrations: wParam 0, 1 or 2, lParam a light mode the selected device
    // shows for a few seconds
    GameStart,
    GameEnd,
    GameKill,
    GameDeath,
};

enum class MessageDirection { Received, Sent };

struct RegisteredMessageInfo {
    RegisteredMessage id;
    std::string_view constantName;       // the name the code uses
    std::string_view registrationString; // the name outside programs register
    std::string_view busMember;          // D-Bus method (received) or signal (sent)
    MessageDirection direction;
    std::uint32_t number; // message number inside the program, in the registered range
};

// In registration order.
inline constexpr std::array<RegisteredMessageInfo, 11> kRegisteredMessages{{
    {RegisteredMessage::ShowInstance, "WM_SHOW_INSTANCE_MSG", "Q407", "ShowInstance",
     MessageDirection::Received, 0xC001},
    {RegisteredMessage::ExternalRelay, "WM_EXTERNAL_RELAY_MSG", "{1234567890}", "ExternalRelay",
     MessageDirection::Received, 0xC002},
    {RegisteredMessage::AppControl, "WM_APP_CONTROL_MSG", "{B50C9FE8-4D8C-457B-A437-7EEE957AEF42}",
     "AppControl", MessageDirection::Received, 0xC003},
    {RegisteredMessage::LightOwnerNotify, "WM_LIGHT_OWNER_NOTIFY_MSG",
     "{65517BE8-A7ED-447E-9355-508C4CC22C5D}", "LightOwnerNotify", MessageDirection::Sent, 0xC004},
    {RegisteredMessage::LightOwnerSet, "WM_LIGHT_OWNER_SET_MSG",
     "{1B9837F2-355F-44B7-B2C8-666225ADFD47}", "LightOwnerSet", MessageDirection::Received, 0xC005},
    {RegisteredMessage::DeviceInfoRequest, "WM_DEVICE_INFO_REQUEST_MSG",
     "{AC6A6EFD-F8AE-4F69-8376-6128724DC577}", "DeviceInfoRequest", MessageDirection::Received,
     0xC006},
    {RegisteredMessage::AudioRecordCtrl, "WM_AUDIO_RECORD_CTRL_MSG",
     "{56A0B563-800F-4B78-BCBB-DB58A0DCB026}", "AudioRecordCtrl", MessageDirection::Sent, 0xC007},
    {RegisteredMessage::GameStart, "Game_Start", "Game_Start", "GameStart",
     MessageDirection::Received, 0xC008},
    {RegisteredMessage::GameEnd, "Game_End", "Game_End", "GameEnd", MessageDirection::Received,
     0xC009},
    {RegisteredMessage::GameKill, "Game_Kill", "Game_Kill", "GameKill", MessageDirection::Received,
     0xC00A},
    {RegisteredMessage::GameDeath, "Game_Death", "Game_Death", "GameDeath",
     MessageDirection::Received, 0xC00B},
}};

constexpr const RegisteredMessageInfo& Info(RegisteredMessage id) {
    return kRegisteredMessages[static_cast<std::size_t>(id)];
}

constexpr std::uint32_t MessageNumber(RegisteredMessage id) {
    return Info(id).number;
}

// The message of a number or D-Bus member; nullopt for any other.
std::optional<RegisteredMessage> FromNumber(std::uint32_t number);
std::optional<RegisteredMessage> FromBusMember(std::string_view member);

// The D-Bus names of the running instance.
inline constexpr const char* kBusService = "org.q407.Q407";
inline constexpr const char* kBusPath = "/org/q407/Q407";
inline constexpr const char* kBusInterface = "org.q407.Q407.Messages";
// The method that carries data blocks into the program (spectrum and light effect data).
inline constexpr const char* kCopyDataMember = "CopyData";

} // namespace q407::app
