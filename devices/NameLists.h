#pragma once

// The name lists a device page hands its panels, read from their files: macro names from the
// macro index of the profile folder, light modes (text ids, visibility, device effect codes) and
// area light names from "default_light.json" in the default data folder, and the names of the
// user's saved light effects from the light configuration file.

#include <filesystem>
#include <string>
#include <vector>

namespace q407::profiles {
class CBasicProfiledata;
}

namespace q407::devices {

struct NameLists {
    std::vector<std::string> macroNames;
    std::vector<std::string> lightNames; // text ids
    std::vector<int> lightVisible;
    std::vector<int> effectCodes;
    std::vector<std::string> areaLightNames;
    std::vector<std::string> userLightNames;
};

struct NameListSources {
    std::filesystem::path profileFolder; // empty: no macro names
    std::string macroIndexFile;          // "macro.config" or "ravik_macro.config"
    std::filesystem::path defaultFolder;
    // Row of "DefaultLightName" and "AreaLightName" when they hold one list per light table.
    int lightTable = 0;
    int deviceIndex = 0;
};

// Missing or damaged files give empty lists. The light configuration file is the one `profile`
// names (and is loaded into it).
NameLists ReadNameLists(const NameListSources& sources, profiles::CBasicProfiledata& profile);

} // namespace q407::devices
