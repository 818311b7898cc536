#pragma once

// The mouse page's profile record: DPI stages, the active stage and the system settings.

#include "profiles/CBasicProfiledata.h"

#include <vector>

namespace q407::profiles {

class CMouseProfiledata : public CBasicProfiledata {
public:
    // Stages read from "DPIStages"."StageDPIs" replace the held stages in order; held stages
    // beyond the stored array stay. Without stored stages the held ones are returned unchanged.
    std::vector<DpiStage> GetDpiStages();
    void SetDpiStages(const std::vector<DpiStage>& stages);
    int GetActiveStage();
    void SetActiveStage(int stage);
    MouseSystemSettings GetMouseSettings();
    void SetMouseSettings(const MouseSystemSettings& settings);

private:
    std::vector<DpiStage> m_dpiStages;
    int m_activeStage = 0;
    MouseSystemSettings m_mouseSettings;
};

} // namespace q407::profiles
