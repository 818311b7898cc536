#pragma once

// The program's folders on Linux.
// - Data folder (read-only: "skin", "DefaultData", "Font"): <executable dir>/../share/q407, which
//   holds both in the build tree and when installed; Q407_DATA_DIR overrides it.
// - User folder: $XDG_DATA_HOME/Q407 (default ~/.local/share/Q407), created when missing.
// - Config folder: $XDG_CONFIG_HOME/Q407 (default ~/.config/Q407).
// - Cache folder: $XDG_CACHE_HOME/Q407 (default ~/.cache/Q407), created when missing.
// - Runtime folder: $XDG_RUNTIME_DIR, or the temporary folder when it is not set.

#include <filesystem>

namespace q407::paths {

std::filesystem::path ExecutableDir();
std::filesystem::path DataDir();
std::filesystem::path UserDir();
std::filesystem::path ConfigDir();
std::filesystem::path CacheDir();
std::filesystem::path RuntimeDir();

} // namespace q407::paths
