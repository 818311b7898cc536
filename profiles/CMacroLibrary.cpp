#include "profiles/CMacroLibrary.h"

#include "common/AtomicFile.h"
#include "profiles/JsonFile.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace q407::profiles {
namespace {

constexpr int kMacroCategory = 0x70;
constexpr int kRepeatedMacroCategory = 0x71;

std::vector<MacroInfo> MacrosOf(const Json::Value& document) {
    std::vector<MacroInfo> macros;
    const Json::Value& entries = Member(document, "MacroInfo");
    if (entries.isArray()) {
        for (const Json::Value& entry : entries) {
            macros.push_back(
                {AsString(Member(entry, "MacroName")), AsString(Member(entry, "Guid"))});
        }
    }
    return macros;
}

std::vector<std::string> NamesOf(const std::vector<MacroInfo>& macros) {
    std::vector<std::string> names;
    for (const auto& macro : macros) {
        names.push_back(macro.name);
    }
    return names;
}

bool GuidInUse(const std::vector<MacroInfo>& macros, const std::string& guid) {
    return std::any_of(macros.begin(), macros.end(), [&](const MacroInfo& macro) {
        return EqualsIgnoringCase(macro.guid, guid);
    });
}

bool IsIndexIn(const std::vector<MacroInfo>& macros, int index) {
    return index >= 0 && index < static_cast<int>(macros.size());
}

// Delays are decimal strings; anything that is not a number reads as 0 and values beyond the
// largest delay the device can hold are held at it.
int ParseDelay(const Json::Value& value) {
    unsigned long long delay = 0;
    if (value.isString()) {
        const std::string text = value.asString();
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), delay);
        if (error == std::errc::result_out_of_range) {
            delay = CMacroLibrary::kMaxDelay;
        } else if (error != std::errc()) {
            delay = 0;
        }
    } else {
        delay = static_cast<unsigned long long>(std::max(0, AsInt(value)));
    }
    return static_cast<int>(std::min<unsigned long long>(delay, CMacroLibrary::kMaxDelay));
}

} // namespace

CMacroLibrary::CMacroLibrary(std::filesystem::path folder, std::string indexFileName)
    : m_folder(std::move(folder)), m_indexFileName(std::move(indexFileName)) {}

std::filesystem::path CMacroLibrary::GetIndexPath() const {
    return m_folder / m_indexFileName;
}

std::filesystem::path CMacroLibrary::EventFilePath(const std::string& guid) const {
    return IsSafeFileStem(guid) ? m_folder / (guid + ".mac") : std::filesystem::path();
}

CMacroLibrary::Index CMacroLibrary::ReadIndex() const {
    JsonDocument file = ReadJsonDocument(GetIndexPath());
    Index index;
    if (file.state == JsonFileState::Invalid) {
        index.damaged = true;
    } else if (file.state == JsonFileState::Ok) {
        const Json::Value& entries = Member(file.value, "MacroInfo");
        index.damaged = !file.value.isObject() || !(entries.isNull() || entries.isArray());
        if (!index.damaged) {
            index.document = std::move(file.value);
        }
    }
    return index;
}

bool CMacroLibrary::WriteIndex(const Index& index) const {
    if (index.damaged && !SetAsideDamagedFile(GetIndexPath())) {
        return false;
    }
    return WriteJsonFile(index.document, GetIndexPath());
}

std::vector<MacroInfo> CMacroLibrary::Load() const {
    return MacrosOf(ReadIndex().document);
}

std::optional<std::vector<MacroInfo>> CMacroLibrary::TryLoad() const {
    const JsonDocument file = ReadJsonDocument(GetIndexPath());
    if (file.state != JsonFileState::Ok) {
        return std::nullopt;
    }
    return MacrosOf(file.value);
}

std::string CMacroLibrary::NewGuid(const std::vector<MacroInfo>& macros) const {
    return MakeUniqueTimestampName(m_clock, [&](const std::string& guid) {
        std::error_code ec;
        return GuidInUse(macros, guid) || std::filesystem::exists(EventFilePath(guid), ec);
    });
}

int CMacroLibrary::Append(Index index, const std::string& name, const std::string& guid) {
    Json::Value& entries = MutableMember(index.document, "MacroInfo");
    if (!entries.isArray()) {
        entries = Json::Value(Json::arrayValue);
    }
    Json::Value entry(Json::objectValue);
    entry["MacroName"] = name;
    entry["Guid"] = guid;
    entries.append(entry);
    return WriteIndex(index) ? kDone : kWriteFailed;
}

int CMacroLibrary::NewMacro() {
    Index index = ReadIndex();
    const auto macros = MacrosOf(index.document);
    if (macros.size() >= kMaxMacros) {
        return kRefused;
    }
    const std::string name = FirstFreeNumberedName(NamesOf(macros), "macro_");
    return Append(std::move(index), name, NewGuid(macros));
}

int CMacroLibrary::ImportMacro(const std::filesystem::path& path) {
    Index index = ReadIndex();
    const auto macros = MacrosOf(index.document);
    if (macros.size() >= kMaxMacros) {
        return kRefused;
    }
    const auto bytes = ReadFileBounded(path, kMaxJsonFileBytes);
    if (!bytes) {
        return kRefused;
    }
    const auto names = NamesOf(macros);
    std::string name = path.stem().string();
    if (IsBlank(name)) {
        name = FirstFreeNumberedName(names, "macro_");
    }
    name = UniqueBySuffix(names, name, [](int n) { return "_" + std::to_string(n); });
    const std::string guid = NewGuid(macros);
    const auto eventFile = EventFilePath(guid);
    if (!WriteFileAtomically(eventFile, *bytes)) {
        return kWriteFailed;
    }
    const int result = Append(std::move(index), name, guid);
    if (result != kDone) {
        std::error_code ec;
        std::filesystem::remove(eventFile, ec);
    }
    return result;
}

int CMacroLibrary::ExportMacro(int index, const std::filesystem::path& target) const {
    const auto macros = Load();
    if (!IsIndexIn(macros, index)) {
        return kRefused;
    }
    const auto source = EventFilePath(macros[static_cast<std::size_t>(index)].guid);
    const auto bytes = source.empty() ? std::nullopt : ReadFileBounded(source, kMaxJsonFileBytes);
    if (!bytes) {
        return kRefused;
    }
    return WriteFileAtomically(target, *bytes) ? kDone : kWriteFailed;
}

int CMacroLibrary::RenameMacro(int index, const std::string& name) {
    if (IsBlank(name)) {
        return kBlankName;
    }
    Index file = ReadIndex();
    const auto macros = MacrosOf(file.document);
    if (!IsIndexIn(macros, index) || ContainsIgnoringCase(NamesOf(macros), name)) {
        return kRefused;
    }
    MutableMember(file.document["MacroInfo"][static_cast<Json::ArrayIndex>(index)], "MacroName") =
        name;
    return WriteIndex(file) ? kDone : kWriteFailed;
}

bool CMacroLibrary::RenumberMacroKeys(Json::Value& entry, int deleted) {
    if (!Member(entry, "KeyList").isArray()) {
        return false;
    }
    bool changed = false;
    for (Json::Value& key : entry["KeyList"]) {
        if (!key.isObject()) {
            continue;
        }
        const int assignment = AsInt(Member(key, "Assignment"));
        const int category = (assignment >> 16) & 0xFF;
        const int macro = (assignment >> 8) & 0xFF;
        if (category != kMacroCategory && category != kRepeatedMacroCategory) {
            continue;
        }
        if (macro == deleted) {
            key["Assignment"] = AsInt(Member(key, "DefaultAssignment"));
            changed = true;
        } else if (macro > deleted) {
            key["Assignment"] = (category << 16) | ((macro - 1) << 8) | (assignment & 0xFF);
            changed = true;
        }
    }
    return changed;
}

int CMacroLibrary::DeleteMacro(int index, std::span<const std::filesystem::path> profileFiles,
                               int deviceIndex,
                               std::vector<std::filesystem::path>* changedProfiles) {
    Index file = ReadIndex();
    const auto macros = MacrosOf(file.document);
    if (!IsIndexIn(macros, index) || deviceIndex < 0) {
        return kRefused;
    }
    for (const auto& profileFile : profileFiles) {
        JsonDocument profile = ReadJsonDocument(profileFile);
        const Json::Value& devices = Member(profile.value, "Device");
        const auto entry = static_cast<Json::ArrayIndex>(deviceIndex);
        if (profile.state != JsonFileState::Ok || !devices.isArray() || entry >= devices.size()) {
            continue;
        }
        if (RenumberMacroKeys(profile.value["Device"][entry], index)) {
            if (!WriteJsonFile(profile.value, profileFile)) {
                return kWriteFailed;
            }
            if (changedProfiles != nullptr) {
                changedProfiles->push_back(profileFile);
            }
        }
    }
    const std::string guid = macros[static_cast<std::size_t>(index)].guid;
    Json::Value removed;
    file.document["MacroInfo"].removeIndex(static_cast<Json::ArrayIndex>(index), &removed);
    if (!WriteIndex(file)) {
        return kWriteFailed;
    }
    if (const auto eventFile = EventFilePath(guid);
        !eventFile.empty() && !GuidInUse(MacrosOf(file.document), guid)) {
        std::error_code ec;
        std::filesystem::remove(eventFile, ec);
    }
    return kDone;
}

Json::Value CMacroLibrary::EventDocument(const std::string& name, const std::string& guid,
                                         const std::vector<MacroEvent>& events) {
    Json::Value document(Json::objectValue);
    document["MacroName"] = name;
    document["Guid"] = guid;
    Json::Value& list = document["Events"] = Json::Value(Json::arrayValue);
    for (const MacroEvent& event : events) {
        Json::Value element(Json::objectValue);
        element["Action"] = event.down ? "down" : "up";
        element["Button"] = event.button;
        element["Type"] = event.type;
        element["Delay"] = std::to_string(std::clamp(event.delay, 0, kMaxDelay));
        list.append(element);
    }
    document["Version"] = kEventFileVersion;
    return document;
}

std::vector<MacroEvent> CMacroLibrary::ParseEvents(const Json::Value& document) {
    std::vector<MacroEvent> events;
    const Json::Value& list = Member(document, "Events");
    if (list.isArray()) {
        events.reserve(list.size());
        for (const Json::Value& element : list) {
            events.push_back({AsString(Member(element, "Action")) == "down",
                              AsInt(Member(element, "Type")), AsInt(Member(element, "Button")),
                              ParseDelay(Member(element, "Delay"))});
        }
    }
    return events;
}

int CMacroLibrary::SaveEvents(int index, const std::vector<MacroEvent>& events) {
    if (events.size() > kMaxEvents) {
        return kRefused;
    }
    const auto macros = Load();
    if (!IsIndexIn(macros, index)) {
        return kRefused;
    }
    const MacroInfo& macro = macros[static_cast<std::size_t>(index)];
    const auto path = EventFilePath(macro.guid);
    if (path.empty()) {
        return kRefused;
    }
    return WriteJsonFile(EventDocument(macro.name, macro.guid, events), path) ? kDone
                                                                              : kWriteFailed;
}

std::vector<MacroEvent> CMacroLibrary::ReadEvents(int index) const {
    const auto macros = Load();
    return IsIndexIn(macros, index) ? ReadEventsOf(macros[static_cast<std::size_t>(index)].guid)
                                    : std::vector<MacroEvent>();
}

std::vector<MacroEvent> CMacroLibrary::ReadEventsOf(const std::string& guid) const {
    const auto path = EventFilePath(guid);
    return path.empty() ? std::vector<MacroEvent>() : ParseEvents(ReadJsonFile(path));
}

} // namespace q407::profiles
