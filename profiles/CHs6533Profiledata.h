#pragma once

// The headset page's profile record: system settings, the built-in equaliser curves, the user's
// custom curves and their names.

#include "profiles/CBasicProfiledata.h"

#include <array>
#include <string>
#include <vector>

namespace q407::profiles {

class CHs6533Profiledata : public CBasicProfiledata {
public:
    static constexpr int kBands = 10;
    // The equaliser type that has no curve of its own.
    static constexpr int kNoCurveType = 13;
    static constexpr int kMaxCustomSlots = 64;
    using EqCurve = std::array<int, kBands>;

    HeadsetSystemSettings GetHeadsetSettings();
    void SetHeadsetSettings(const HeadsetSystemSettings& settings);
    // The curve of an equaliser type: type 13 has none (empty, and nothing is written); type 0
    // and types above 13 use curve 1. Missing bands are written into the entry as 0.
    std::vector<int> GetEqCurve(int eqType);
    void SetEqCurve(int eqType, const EqCurve& values);
    std::vector<int> GetCustomEqCurve(int slot);
    void SetCustomEqCurve(int slot, const EqCurve& values);
    std::vector<std::string> GetCustomEqNames();
    void SetCustomEqNames(const std::vector<std::string>& names);

private:
    HeadsetSystemSettings m_headsetSettings;
};

} // namespace q407::profiles
