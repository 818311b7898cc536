#pragma once

// The keyboard page's profile record: system settings and the custom colour groups.

#include "profiles/CBasicProfiledata.h"

#include <vector>

namespace q407::profiles {

class CKeyboardProfiledata : public CBasicProfiledata {
public:
    // Bounds of a colour group request; values outside read nothing and write nothing, so a
    // damaged group index can never grow the document without limit.
    static constexpr int kMaxColourGroups = 256;
    static constexpr int kMaxColoursPerGroup = 1024;

    KeyboardSystemSettings GetKeyboardSettings();
    void SetKeyboardSettings(const KeyboardSystemSettings& settings);
    // The first `count` colours of `group`; a missing colour is written into the entry as zeros
    // and read as a zero colour.
    std::vector<CustomColour> GetCustomColours(int group, int count);
    void SetCustomColours(const std::vector<CustomColour>& colours, int group);
    int GetCustomGroupIndex();
    void SetCustomGroupIndex(int group);

private:
    KeyboardSystemSettings m_keyboardSettings;
    std::vector<CustomColour> m_customColours;
    int m_customGroupIndex = 0;
};

} // namespace q407::profiles
