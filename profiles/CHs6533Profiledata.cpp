#include "profiles/CHs6533Profiledata.h"

#include "profiles/RecordFields.h"

#include <optional>

namespace q407::profiles {
namespace {

using detail::FieldSpec;

const std::array<FieldSpec<HeadsetSystemSettings, std::int32_t>, 8> kSystemFields{{
    {"MagicEnable", &HeadsetSystemSettings::magicEnable},
    {"MagicType", &HeadsetSystemSettings::magicType},
    {"EqType", &HeadsetSystemSettings::eqType},
    {"CustomEqSeletIndex", &HeadsetSystemSettings::customEqSelect},
    {"MicInSelect", &HeadsetSystemSettings::micInSelect},
    {"MicInValue", &HeadsetSystemSettings::micInValue},
    {"MicMoniterSelect", &HeadsetSystemSettings::micMonitorSelect},
    {"MicMoniterValue", &HeadsetSystemSettings::micMonitorValue},
}};

std::optional<Json::ArrayIndex> CurveOfType(int eqType) {
    if (eqType == CHs6533Profiledata::kNoCurveType) {
        return std::nullopt;
    }
    if (eqType <= 0 || eqType > CHs6533Profiledata::kNoCurveType) {
        return 1;
    }
    return static_cast<Json::ArrayIndex>(eqType);
}

std::optional<Json::ArrayIndex> CustomSlot(int slot) {
    if (slot < 0 || slot >= CHs6533Profiledata::kMaxCustomSlots) {
        return std::nullopt;
    }
    return static_cast<Json::ArrayIndex>(slot);
}

std::vector<int> ReadCurve(Json::Value& entry, const char* key, Json::ArrayIndex curve) {
    std::vector<int> values(CHs6533Profiledata::kBands, 0);
    const Json::Value& stored = Element(Member(entry, key), curve);
    const bool missing = stored.isNull();
    for (Json::ArrayIndex band = 0; band < values.size(); ++band) {
        if (missing) {
            Json::Value& curves = MutableMember(entry, key);
            MutableMember(MutableElement(MutableElement(curves, curve), band), "value") = 0;
        } else {
            values[band] = AsInt(Member(Element(stored, band), "value"));
        }
    }
    return values;
}

void WriteCurve(Json::Value& entry, const char* key, Json::ArrayIndex curve,
                const CHs6533Profiledata::EqCurve& values) {
    Json::Value& stored = MutableElement(MutableMember(entry, key), curve);
    for (Json::ArrayIndex band = 0; band < values.size(); ++band) {
        MutableMember(MutableElement(stored, band), "value") = values[band];
    }
}

} // namespace

HeadsetSystemSettings CHs6533Profiledata::GetHeadsetSettings() {
    // A missing object reads as all zeros.
    detail::ReadFields(Member(GetRoot(), "SystemSetStages"), m_headsetSettings, kSystemFields);
    return m_headsetSettings;
}

void CHs6533Profiledata::SetHeadsetSettings(const HeadsetSystemSettings& settings) {
    m_headsetSettings = settings;
    detail::WriteFields(MutableMember(MutableRoot(), "SystemSetStages"), settings, kSystemFields);
}

std::vector<int> CHs6533Profiledata::GetEqCurve(int eqType) {
    const auto curve = CurveOfType(eqType);
    return curve ? ReadCurve(MutableRoot(), "EQHzValueInfo", *curve) : std::vector<int>();
}

void CHs6533Profiledata::SetEqCurve(int eqType, const EqCurve& values) {
    if (const auto curve = CurveOfType(eqType)) {
        WriteCurve(MutableRoot(), "EQHzValueInfo", *curve, values);
    }
}

std::vector<int> CHs6533Profiledata::GetCustomEqCurve(int slot) {
    const auto index = CustomSlot(slot);
    return index ? ReadCurve(MutableRoot(), "CustomEQHzValueInfo", *index) : std::vector<int>();
}

void CHs6533Profiledata::SetCustomEqCurve(int slot, const EqCurve& values) {
    if (const auto index = CustomSlot(slot)) {
        WriteCurve(MutableRoot(), "CustomEQHzValueInfo", *index, values);
    }
}

std::vector<std::string> CHs6533Profiledata::GetCustomEqNames() {
    std::vector<std::string> names;
    const Json::Value& stored = Member(GetRoot(), "CustomEQNameInfo");
    if (stored.isArray()) {
        for (const Json::Value& element : stored) {
            names.push_back(AsString(Member(element, "Name")));
        }
    }
    return names;
}

void CHs6533Profiledata::SetCustomEqNames(const std::vector<std::string>& names) {
    Json::Value stored(Json::arrayValue);
    for (const std::string& name : names) {
        Json::Value element(Json::objectValue);
        element["Name"] = name;
        stored.append(element);
    }
    MutableMember(MutableRoot(), "CustomEQNameInfo") = stored;
}

} // namespace q407::profiles
