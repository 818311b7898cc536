#include "devices/NameLists.h"

#include "profiles/CBasicProfiledata.h"
#include "profiles/CMacroLibrary.h"
#include "profiles/JsonFile.h"

namespace q407::devices {
namespace {

// "DefaultLightName" and "AreaLightName" hold either one list or one list per light table.
const Json::Value& LightTableList(const Json::Value& root, const char* key, int table) {
    const Json::Value& list = profiles::Member(root, key);
    const Json::Value& first = profiles::Element(list, 0);
    if (first.isArray()) {
        return profiles::Element(list, static_cast<Json::ArrayIndex>(table < 0 ? 0 : table));
    }
    return list;
}

} // namespace

NameLists ReadNameLists(const NameListSources& sources, profiles::CBasicProfiledata& profile) {
    NameLists lists;
    if (!sources.profileFolder.empty()) {
        const profiles::CMacroLibrary macros(sources.profileFolder, sources.macroIndexFile);
        for (const profiles::MacroInfo& macro : macros.Load()) {
            lists.macroNames.push_back(macro.name);
        }
    }

    const Json::Value lights = profiles::ReadJsonFile(sources.defaultFolder / "default_light.json");
    const Json::Value& modes = LightTableList(lights, "DefaultLightName", sources.lightTable);
    if (modes.isArray()) {
        for (const Json::Value& mode : modes) {
            lists.lightNames.push_back(profiles::AsString(profiles::Member(mode, "LightName")));
            lists.lightVisible.push_back(profiles::AsInt(profiles::Member(mode, "visible")));
            lists.effectCodes.push_back(profiles::AsInt(profiles::Member(mode, "value")));
        }
    }
    const Json::Value& areas = LightTableList(lights, "AreaLightName", sources.lightTable);
    if (areas.isArray()) {
        for (const Json::Value& area : areas) {
            lists.areaLightNames.push_back(profiles::AsString(profiles::Member(area, "LightName")));
        }
    }

    if (!profile.GetLightConfigPath().empty()) {
        const Json::Value config = profile.LoadLightConfig(profile.GetLightConfigPath());
        const Json::Value& saved =
            profiles::Element(profiles::Member(config, "LightInfo"),
                              static_cast<Json::ArrayIndex>(sources.deviceIndex));
        if (saved.isArray()) {
            for (const Json::Value& effect : saved) {
                lists.userLightNames.push_back(
                    profiles::AsString(profiles::Member(effect, "LightName")));
            }
        }
    }
    return lists;
}

} // namespace q407::devices
