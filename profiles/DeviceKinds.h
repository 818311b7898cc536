#pragma once

// Device kind codes and where each kind's read-only default profile lies.

#include <filesystem>
#include <string>

namespace q407::profiles {

inline constexpr int kKindKeyboard = 1;
inline constexpr int kKindMouse = 2;
inline constexpr int kKindMousePad = 3;
inline constexpr int kKindHeadset = 7;

// The folder name of a kind: the name of its folder below the user folder and the base name of
// its default profile file ("Mouse" for kind 2, ...). Empty for an unknown kind.
std::string DeviceFolderName(int kindCode);

// Index of the kind's entry in a profile's "Device" array: 0 keyboards and mice, 2 the mouse
// pad, 3 the headset; -1 for an unknown kind.
int DeviceIndexOfKind(int kindCode);

// The data folder's "DefaultData".
std::filesystem::path DefaultDataFolder();

// "DefaultData" / folder name + ".Json".
std::filesystem::path DefaultProfilePath(const std::string& deviceFolderName);

} // namespace q407::profiles
