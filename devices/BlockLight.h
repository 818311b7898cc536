#pragma once

// The light settings as the mouse's and the keyboard's settings blocks both keep them: byte 1
// the effect code, 2 brightness level, 3 4 - speed level, 4 direction, 5 multi-colour, 6-8 red,
// green, blue.

#include "profiles/ProfileRecords.h"

#include <cstdint>
#include <span>
#include <vector>

namespace q407::devices {

// The block's light settings into `info`. The mode is the effect code's position in
// `effectCodes`; a code the list does not know keeps `info`'s mode, so the panel never shows a
// row that does not exist. A stored speed above the last level shows as level 0. Nothing
// changes for a block too short to hold them.
void TakeBlockLight(std::span<const std::uint8_t> block, const std::vector<int>& effectCodes,
                    profiles::LightInfo& info);
// `info`'s light settings into the block, all but the effect code (the caller knows which code a
// mode is written as). A speed above the last level is written as the last level. Nothing
// changes for a block too short to hold them.
void PutBlockLight(const profiles::LightInfo& info, std::span<std::uint8_t> block);

} // namespace q407::devices
