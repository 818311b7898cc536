#include "profiles/CMouseProfiledata.h"

#include "profiles/RecordFields.h"

namespace q407::profiles {
namespace {

using detail::FieldSpec;
using detail::ReadAs;

const std::array<FieldSpec<DpiStage, std::uint8_t>, 5> kStageBytes{{
    {"StageActive", &DpiStage::enabled},
    {"StageXY", &DpiStage::separateXY},
    {"StageColorR", &DpiStage::red},
    {"StageColorG", &DpiStage::green},
    {"StageColorB", &DpiStage::blue},
}};

const std::array<FieldSpec<DpiStage, std::uint16_t>, 2> kStageWords{{
    {"StageDPIX", &DpiStage::dpiX},
    {"StageDPIY", &DpiStage::dpiY},
}};

// Every field of "SystemStages"; the report-rate choice lives in "ReportStages" and field 7 is
// not stored.
const std::array<FieldSpec<MouseSystemSettings, std::uint16_t>, 17> kSystemFields{{
    {"DoubleClickTime", &MouseSystemSettings::doubleClickTime},
    {"MouseSpeed", &MouseSystemSettings::pointerSpeed},
    {"PointerPrecision", &MouseSystemSettings::pointerPrecision},
    {"ScorllPage", &MouseSystemSettings::scrollByPage},
    {"WheelScorlllinse", &MouseSystemSettings::wheelLines},
    {"DormancyTime", &MouseSystemSettings::dormancyTime},
    {"AntiShake", &MouseSystemSettings::antiShake},
    {"SilentAltitudeItem", &MouseSystemSettings::liftOffDistance},
    {"SensorLif", &MouseSystemSettings::sensorLift, ReadAs::Bool},
    {"MotionSync", &MouseSystemSettings::motionSync, ReadAs::Bool},
    {"LinearCalibration", &MouseSystemSettings::angleSnapping},
    {"KeyDelay", &MouseSystemSettings::keyDebounce},
    {"DeepSleepOff", &MouseSystemSettings::deepSleepOff},
    {"sleeptime", &MouseSystemSettings::sleepTime},
    {"sleeptimeH", &MouseSystemSettings::sleepTimeHigh},
    {"ReportSelectItemUSB", &MouseSystemSettings::reportRateWired},
    {"ReportSelectItem24K", &MouseSystemSettings::reportRateWireless},
}};

const std::array<FieldSpec<MouseSystemSettings, std::uint16_t>, 1> kReportFields{{
    {"StageActive", &MouseSystemSettings::reportRate},
}};

} // namespace

std::vector<DpiStage> CMouseProfiledata::GetDpiStages() {
    const Json::Value& dpi = Member(GetRoot(), "DPIStages");
    const Json::Value& stored = Member(dpi, "StageDPIs");
    if (!stored.isArray()) {
        return m_dpiStages;
    }
    m_activeStage = AsInt(Member(dpi, "StageActive"));
    for (Json::ArrayIndex i = 0; i < stored.size(); ++i) {
        DpiStage stage;
        detail::ReadFields(stored[i], stage, kStageBytes);
        detail::ReadFields(stored[i], stage, kStageWords);
        if (i < m_dpiStages.size()) {
            m_dpiStages[i] = stage;
        } else {
            m_dpiStages.push_back(stage);
        }
    }
    return m_dpiStages;
}

void CMouseProfiledata::SetDpiStages(const std::vector<DpiStage>& stages) {
    m_dpiStages = stages;
    Json::Value& stored = MutableMember(MutableMember(MutableRoot(), "DPIStages"), "StageDPIs");
    for (std::size_t i = 0; i < stages.size(); ++i) {
        Json::Value& element = MutableElement(stored, static_cast<Json::ArrayIndex>(i));
        detail::WriteFields(element, stages[i], kStageBytes);
        detail::WriteFields(element, stages[i], kStageWords);
    }
}

int CMouseProfiledata::GetActiveStage() {
    const Json::Value& dpi = Member(GetRoot(), "DPIStages");
    if (dpi.isObject()) {
        m_activeStage = AsInt(Member(dpi, "StageActive"));
    }
    return m_activeStage;
}

void CMouseProfiledata::SetActiveStage(int stage) {
    m_activeStage = stage;
    MutableMember(MutableMember(MutableRoot(), "DPIStages"), "StageActive") = stage;
}

MouseSystemSettings CMouseProfiledata::GetMouseSettings() {
    const Json::Value& system = Member(GetRoot(), "SystemStages");
    if (system.isNull()) {
        m_mouseSettings = MouseSystemSettings{};
        return m_mouseSettings;
    }
    detail::ReadFields(system, m_mouseSettings, kSystemFields);
    detail::ReadFields(Member(GetRoot(), "ReportStages"), m_mouseSettings, kReportFields);
    return m_mouseSettings;
}

void CMouseProfiledata::SetMouseSettings(const MouseSystemSettings& settings) {
    m_mouseSettings = settings;
    detail::WriteFields(MutableMember(MutableRoot(), "SystemStages"), settings, kSystemFields);
    detail::WriteFields(MutableMember(MutableRoot(), "ReportStages"), settings, kReportFields);
}

} // namespace q407::profiles
