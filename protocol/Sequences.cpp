#include "protocol/Sequences.h"

namespace q407::protocol {

namespace {

// 0x01, 0x03 into `info`, and the key table size it gives.
int BeginAndReadInfo(CDeviceProtocol& protocol, std::span<std::uint8_t, kDeviceInfoSize> info) {
    int result = protocol.BeginConfig();
    if (result != kResultOk) {
        return result;
    }
    result = protocol.ReadDeviceInfo(info);
    if (result != kResultOk) {
        return result;
    }
    return protocol.SetTableSize(static_cast<std::uint16_t>(3U * info[kInfoKeyPositions]))
               ? kResultOk
               : kResultNoAnswer;
}

// 0x01, 0x03, the given write, 0x02, each behind the link query through the receiver.
template <typename Write>
int WriteSequence(CDeviceProtocol& protocol, Write write) {
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    int result = RunLinked(protocol, [&] { return protocol.BeginConfig(); });
    if (result == kResultOk) {
        result = RunLinked(protocol, [&] { return protocol.ReadDeviceInfo(info); });
    }
    if (result == kResultOk) {
        result = RunLinked(protocol, write);
    }
    if (result == kResultOk) {
        result = RunLinked(protocol, [&] { return protocol.EndConfig(1); });
    }
    return result;
}

} // namespace

int ReadMouse(CDeviceProtocol& protocol, DeviceTables& tables, const DeviceFlagReport& reportFlag) {
    if (protocol.IsWireless() && !protocol.QueryWirelessLink()) {
        return kResultNoAnswer;
    }
    int result = BeginAndReadInfo(protocol, tables.deviceInfo);
    if (result != kResultOk) {
        return result;
    }
    if (reportFlag) {
        reportFlag(tables.deviceInfo[kInfoDeviceFlag] != 0);
    }
    result = protocol.ReadDefaultKeyTable(tables.defaultKeyTable.data());
    if (result == kResultOk) {
        result = protocol.ReadKeyTable(tables.keyTable.data(), 0);
    }
    if (result == kResultOk) {
        result = protocol.EndConfig(1);
    }
    return result;
}

int ReadKeyboard(CDeviceProtocol& protocol, DeviceTables& tables) {
    int result = BeginAndReadInfo(protocol, tables.deviceInfo);
    if (result == kResultOk) {
        result = protocol.ReadDefaultKeyTable(tables.defaultKeyTable.data());
    }
    if (result == kResultOk) {
        result = protocol.ReadLedIndexTable(tables.ledIndexTable.data());
    }
    if (result == kResultOk) {
        result = protocol.EndConfig(1);
    }
    return result;
}

int ReadDeviceInformation(CDeviceProtocol& protocol,
                          std::span<std::uint8_t, kDeviceInfoSize> deviceInfo) {
    int result = protocol.BeginConfig();
    if (result == kResultOk) {
        result = protocol.ReadDeviceInfo(deviceInfo);
    }
    if (result == kResultOk) {
        result = protocol.EndConfig(1);
    }
    return result;
}

int WriteKeyTableSequence(CDeviceProtocol& protocol, std::span<const std::uint8_t> keyTable) {
    if (keyTable.size() < protocol.TableSize()) {
        return kResultNoAnswer; // the command would read past the caller's table
    }
    return WriteSequence(protocol, [&] { return protocol.WriteKeyTable(keyTable.data(), 0); });
}

int WriteMacroImageSequence(CDeviceProtocol& protocol, std::span<const std::uint8_t> image) {
    return WriteSequence(protocol,
                         [&] { return protocol.WriteMacroImage(image.data(), image.size()); });
}

int WriteRecoilSequence(CDeviceProtocol& protocol, std::span<const std::uint8_t> recoil) {
    return WriteSequence(protocol,
                         [&] { return protocol.WriteRecoilData(recoil.data(), recoil.size()); });
}

int WriteSettingsSequence(CDeviceProtocol& protocol, const SettingsLayout& layout, int profile,
                          std::span<const std::uint8_t> block) {
    if (profile < 0 || profile > 0xFF || block.size() < layout.writeLength) {
        return kResultNoAnswer;
    }
    const auto address = static_cast<std::uint16_t>(profile * layout.writeStride);
    int result = RunLinked(protocol, [&] { return protocol.BeginConfig(); });
    if (result == kResultOk) {
        result = RunLinked(protocol, [&] {
            return protocol.WriteSettings(block.data(), layout.writeLength, address);
        });
    }
    if (result == kResultOk) {
        result = RunLinked(protocol, [&] { return protocol.EndConfig(1); });
    }
    return result;
}

namespace {

// A block fits and, through the receiver, the mouse behind it answers the link query.
bool ReadyToReadBlock(CDeviceProtocol& protocol, const SettingsLayout& layout,
                      std::span<std::uint8_t> block) {
    return block.size() >= layout.readLength &&
           (!protocol.IsWireless() || protocol.QueryWirelessLink());
}

int ReadBlockOf(CDeviceProtocol& protocol, const SettingsLayout& layout, std::uint8_t profile,
                std::span<std::uint8_t> block) {
    const auto address = static_cast<std::uint16_t>(profile * layout.readStride);
    return protocol.ReadSettings(block.data(), layout.readLength, address);
}

} // namespace

int ReadSettingsSequence(CDeviceProtocol& protocol, const SettingsLayout& layout,
                         std::uint8_t& currentProfile, std::span<std::uint8_t> block) {
    if (!ReadyToReadBlock(protocol, layout, block)) {
        return kResultNoAnswer;
    }
    std::uint8_t profile = 0;
    const int result = protocol.ReadSettings(&profile, 1, 0);
    if (result != kResultOk) {
        return result;
    }
    currentProfile = profile;
    return ReadBlockOf(protocol, layout, profile, block);
}

int ReadProfileSettingsSequence(CDeviceProtocol& protocol, const SettingsLayout& layout,
                                std::uint8_t profile, std::span<std::uint8_t> block) {
    if (!ReadyToReadBlock(protocol, layout, block)) {
        return kResultNoAnswer;
    }
    return ReadBlockOf(protocol, layout, profile, block);
}

} // namespace q407::protocol
