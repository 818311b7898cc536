#include "devices/BlockLight.h"

#include <algorithm>

namespace q407::devices {
namespace {

constexpr std::size_t kEffect = 1;
constexpr std::size_t kBrightness = 2;
constexpr std::size_t kSpeed = 3;
constexpr std::size_t kDirection = 4;
constexpr std::size_t kMultiColour = 5;
constexpr std::size_t kRed = 6;
constexpr int kMaxSpeedLevel = 4;

} // namespace

void TakeBlockLight(std::span<const std::uint8_t> block, const std::vector<int>& effectCodes,
                    profiles::LightInfo& info) {
    if (block.size() <= kRed + 2) {
        return;
    }
    const auto code = std::find(effectCodes.begin(), effectCodes.end(), block[kEffect]);
    if (code != effectCodes.end()) {
        info.mode = static_cast<std::uint8_t>(code - effectCodes.begin());
    }
    info.brightness = block[kBrightness];
    info.speed = block[kSpeed] <= kMaxSpeedLevel
                     ? static_cast<std::uint8_t>(kMaxSpeedLevel - block[kSpeed])
                     : 0;
    info.direction = block[kDirection];
    info.multiColor = block[kMultiColour];
    info.red = block[kRed];
    info.green = block[kRed + 1];
    info.blue = block[kRed + 2];
}

void PutBlockLight(const profiles::LightInfo& info, std::span<std::uint8_t> block) {
    if (block.size() <= kRed + 2) {
        return;
    }
    block[kBrightness] = info.brightness;
    block[kSpeed] =
        static_cast<std::uint8_t>(kMaxSpeedLevel - std::min<int>(info.speed, kMaxSpeedLevel));
    block[kDirection] = info.direction;
    block[kMultiColour] = info.multiColor;
    block[kRed] = info.red;
    block[kRed + 1] = info.green;
    block[kRed + 2] = info.blue;
}

} // namespace q407::devices
