#include "profiles/CKeyboardProfiledata.h"

#include "profiles/RecordFields.h"

namespace q407::profiles {
namespace {

using detail::FieldSpec;

const std::array<FieldSpec<KeyboardSystemSettings, std::uint16_t>, 6> kSystemFields{{
    {"Repeat", &KeyboardSystemSettings::repeat},
    {"RepeatDelay", &KeyboardSystemSettings::repeatDelay},
    {"Key6Flag", &KeyboardSystemSettings::key6Flag},
    {"PollingRate", &KeyboardSystemSettings::pollingRate},
    {"WFlag", &KeyboardSystemSettings::wFlag},
    {"WinFlag", &KeyboardSystemSettings::winFlag},
}};

const std::array<FieldSpec<CustomColour, std::uint8_t>, 4> kColourFields{{
    {"Red", &CustomColour::red},
    {"Green", &CustomColour::green},
    {"Blue", &CustomColour::blue},
    {"Alpha", &CustomColour::alpha},
}};

bool IsGroupInRange(int group) {
    return group >= 0 && group < CKeyboardProfiledata::kMaxColourGroups;
}

} // namespace

KeyboardSystemSettings CKeyboardProfiledata::GetKeyboardSettings() {
    // A missing object reads as all zeros.
    detail::ReadFields(Member(GetRoot(), "SystemStages"), m_keyboardSettings, kSystemFields);
    return m_keyboardSettings;
}

void CKeyboardProfiledata::SetKeyboardSettings(const KeyboardSystemSettings& settings) {
    m_keyboardSettings = settings;
    detail::WriteFields(MutableMember(MutableRoot(), "SystemStages"), settings, kSystemFields);
}

std::vector<CustomColour> CKeyboardProfiledata::GetCustomColours(int group, int count) {
    m_customColours.clear();
    if (!IsGroupInRange(group) || count <= 0 || count > kMaxColoursPerGroup) {
        return m_customColours;
    }
    Json::Value& groups =
        MutableMember(MutableMember(MutableRoot(), "CustomLightMode"), "LightColorInfo");
    Json::Value& colours = MutableElement(groups, static_cast<Json::ArrayIndex>(group));
    for (int led = 0; led < count; ++led) {
        Json::Value& element = MutableElement(colours, static_cast<Json::ArrayIndex>(led));
        CustomColour colour;
        if (element.isNull()) {
            detail::WriteFields(element, colour, kColourFields);
        } else {
            detail::ReadFields(element, colour, kColourFields);
        }
        m_customColours.push_back(colour);
    }
    return m_customColours;
}

void CKeyboardProfiledata::SetCustomColours(const std::vector<CustomColour>& colours, int group) {
    if (!IsGroupInRange(group) || colours.size() > kMaxColoursPerGroup) {
        return;
    }
    m_customColours = colours;
    Json::Value& groups =
        MutableMember(MutableMember(MutableRoot(), "CustomLightMode"), "LightColorInfo");
    Json::Value& stored = MutableElement(groups, static_cast<Json::ArrayIndex>(group));
    for (std::size_t led = 0; led < colours.size(); ++led) {
        detail::WriteFields(MutableElement(stored, static_cast<Json::ArrayIndex>(led)),
                            colours[led], kColourFields);
    }
}

int CKeyboardProfiledata::GetCustomGroupIndex() {
    m_customGroupIndex =
        AsInt(Member(Member(GetRoot(), "CustomLightMode"), "CustomLightModeGroupIndex"));
    return m_customGroupIndex;
}

void CKeyboardProfiledata::SetCustomGroupIndex(int group) {
    m_customGroupIndex = group;
    MutableMember(MutableMember(MutableRoot(), "CustomLightMode"), "CustomLightModeGroupIndex") =
        group;
}

} // namespace q407::profiles
