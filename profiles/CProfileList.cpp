#include "profiles/CProfileList.h"

#include "profiles/DeviceKinds.h"
#include "profiles/JsonFile.h"

#include <algorithm>
#include <system_error>

namespace q407::profiles {
namespace {

constexpr const char* kListFileName = "ProfileList.ini";
constexpr const char* kHeadsetPresetKeys[] = {"CustomEQNameInfo", "CustomEQHzValueInfo"};

const Json::Value& Entries(const Json::Value& list) {
    return Member(list, "profilelist");
}

int RowCount(const Json::Value& list) {
    const Json::Value& entries = Entries(list);
    return entries.isArray() ? static_cast<int>(entries.size()) : 0;
}

ProfileRow RowOf(const Json::Value& list, int row) {
    const Json::Value& entry = Element(Entries(list), static_cast<Json::ArrayIndex>(row));
    return {AsString(Member(entry, "profilename")), AsString(Member(entry, "profileUUID"))};
}

std::vector<std::string> NamesOf(const Json::Value& list) {
    std::vector<std::string> names;
    for (int row = 0; row < RowCount(list); ++row) {
        names.push_back(RowOf(list, row).name);
    }
    return names;
}

bool UuidInList(const Json::Value& list, const std::string& uuid) {
    for (int row = 0; row < RowCount(list); ++row) {
        if (EqualsIgnoringCase(RowOf(list, row).uuid, uuid)) {
            return true;
        }
    }
    return false;
}

// A stored selection outside the list (only possible after outside editing) falls back to 0.
int StoredSelection(const Json::Value& list) {
    const Json::Value& stored = Member(list, "profileselect");
    const int row = AsInt(stored);
    return stored.isIntegral() && row >= 0 && row < RowCount(list) ? row : 0;
}

Json::Value MakeEntry(const std::string& name, const std::string& uuid) {
    Json::Value entry(Json::objectValue);
    entry["profilename"] = name;
    entry["profileUUID"] = uuid;
    entry["profileislink"] = 0;
    entry["profilelinkmame"] = "";
    return entry;
}

void NameDocument(Json::Value& document, const std::string& name, const std::string& uuid) {
    MutableMember(document, "profilename") = name;
    MutableMember(document, "profileUUID") = uuid;
}

// A profile file that cannot serve as one: unparsable, not an object, or with a "Device" member
// that is not a list.
bool IsDamagedProfile(const JsonDocument& file) {
    if (file.state != JsonFileState::Ok) {
        return true;
    }
    const Json::Value& devices = Member(file.value, "Device");
    return !file.value.isObject() || (!devices.isNull() && !devices.isArray());
}

// A profile file as this class writes it: its "profileUUID" names the file itself.
bool IsOwnProfileFile(const std::filesystem::path& path) {
    const std::string stem = path.stem().string();
    if (path.extension() != ".Json" || !IsSafeFileStem(stem)) {
        return false;
    }
    const JsonDocument file = ReadJsonDocument(path);
    return !IsDamagedProfile(file) && AsString(Member(file.value, "profileUUID")) == stem;
}

} // namespace

CProfileList::CProfileList(std::filesystem::path profileFolder,
                           std::filesystem::path defaultProfileFile, int kindCode)
    : m_folder(std::move(profileFolder)), m_defaultFile(std::move(defaultProfileFile)),
      m_kindCode(kindCode) {}

std::filesystem::path CProfileList::GetListPath() const {
    return m_folder / kListFileName;
}

std::filesystem::path CProfileList::ProfilePathOf(const std::string& uuid) const {
    return IsSafeFileStem(uuid) ? m_folder / (uuid + ".Json") : std::filesystem::path();
}

Json::Value CProfileList::ReadList() const {
    return ReadJsonFile(GetListPath());
}

std::string CProfileList::NewUuid(const Json::Value& list) const {
    return MakeUniqueTimestampName(m_clock, [&](const std::string& uuid) {
        std::error_code ec;
        return UuidInList(list, uuid) || std::filesystem::exists(ProfilePathOf(uuid), ec);
    });
}

Json::Value CProfileList::EnsureList() {
    const auto listPath = GetListPath();
    JsonDocument file = ReadJsonDocument(listPath);
    if (file.state == JsonFileState::Ok && RowCount(file.value) > 0) {
        return file.value;
    }
    if (file.state == JsonFileState::Ok || file.state == JsonFileState::Invalid) {
        // Keep what the user had; the profile files it named stay in the folder as well.
        if (!SetAsideDamagedFile(listPath)) {
            return {};
        }
    }
    Json::Value list(Json::objectValue);
    list["profilelist"] = Json::Value(Json::arrayValue);
    list["profileselect"] = 0;
    if (AdoptProfileFiles(list)) {
        return WriteJsonFile(list, listPath) ? ReadList() : Json::Value();
    }
    if (AppendProfile(list, ReadJsonFile(m_defaultFile), "Profile1") != kDone) {
        return {};
    }
    return ReadList();
}

bool CProfileList::AdoptProfileFiles(Json::Value& list) const {
    // A crash between writing a new profile file and the list naming it leaves the file alone
    // in the folder; a list made afresh takes such files back, in the order they were made,
    // instead of adding yet another profile at every start.
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code entryError;
        if (it->is_regular_file(entryError) && !it->is_symlink(entryError) &&
            IsOwnProfileFile(it->path())) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    if (files.size() > static_cast<std::size_t>(kMaxProfiles)) {
        files.resize(static_cast<std::size_t>(kMaxProfiles));
    }
    for (const auto& file : files) {
        const std::vector<std::string> names = NamesOf(list);
        std::string name = AsString(Member(ReadJsonFile(file), "profilename"));
        if (IsBlank(name)) {
            name = FirstFreeNumberedName(names, "Profile");
        }
        name = UniqueBySuffix(names, name, [](int n) { return "(" + std::to_string(n) + ")"; });
        list["profilelist"].append(MakeEntry(name, file.stem().string()));
    }
    return !files.empty();
}

int CProfileList::RepairProfileFile(const ProfileRow& row) const {
    const auto path = ProfilePathOf(row.uuid);
    if (path.empty()) {
        return kDone; // nothing a file could be made of
    }
    const JsonDocument file = ReadJsonDocument(path);
    if (!IsDamagedProfile(file)) {
        return kDone;
    }
    // What the user had is kept beside it; the fresh file carries the row's name and UUID, so
    // it can be exported and imported again like any other.
    if (file.state != JsonFileState::Missing && !SetAsideDamagedFile(path)) {
        return kWriteFailed;
    }
    Json::Value document = ReadJsonFile(m_defaultFile);
    NameDocument(document, row.name, row.uuid);
    return WriteJsonFile(document, path) ? kDone : kWriteFailed;
}

int CProfileList::AppendProfile(Json::Value list, Json::Value document, const std::string& name) {
    const std::string uuid = NewUuid(list);
    const auto profilePath = ProfilePathOf(uuid);
    NameDocument(document, name, uuid);
    if (!WriteJsonFile(document, profilePath)) {
        return kWriteFailed;
    }
    Json::Value& entries = MutableMember(list, "profilelist");
    if (!entries.isArray()) {
        entries = Json::Value(Json::arrayValue);
    }
    entries.append(MakeEntry(name, uuid));
    if (!WriteJsonFile(list, GetListPath())) {
        std::error_code ec;
        std::filesystem::remove(profilePath, ec);
        return kWriteFailed;
    }
    return kDone;
}

bool CProfileList::SelectedRowIn(const Json::Value& list) const {
    return m_selected >= 0 && m_selected < RowCount(list);
}

int CProfileList::InitProfiles() {
    const Json::Value list = EnsureList();
    if (RowCount(list) == 0) {
        return kWriteFailed;
    }
    return SelectProfile(StoredSelection(list));
}

std::vector<ProfileRow> CProfileList::GetRows() const {
    const Json::Value list = ReadList();
    std::vector<ProfileRow> rows;
    for (int row = 0; row < RowCount(list); ++row) {
        rows.push_back(RowOf(list, row));
    }
    return rows;
}

int CProfileList::SelectProfile(int row) {
    Json::Value list = EnsureList();
    if (row < 0 || row >= RowCount(list)) {
        return RowCount(list) == 0 ? kWriteFailed : kRefused;
    }
    if (RepairProfileFile(RowOf(list, row)) != kDone) {
        return kWriteFailed;
    }
    m_selected = row;
    m_selectedUuid = RowOf(list, row).uuid;
    const Json::Value& stored = Member(list, "profileselect");
    if (stored.isIntegral() && AsInt(stored) == row) {
        return kDone;
    }
    list["profileselect"] = row;
    return WriteJsonFile(list, GetListPath()) ? kDone : kWriteFailed;
}

void CProfileList::RefreshSelectedUUID() {
    const Json::Value list = ReadList();
    m_selectedUuid = RowOf(list, StoredSelection(list)).uuid;
}

int CProfileList::GetStoredSelection() const {
    return StoredSelection(ReadList());
}

int CProfileList::AddProfile() {
    const Json::Value list = EnsureList();
    if (RowCount(list) == 0) {
        return kWriteFailed;
    }
    if (RowCount(list) >= kMaxProfiles) {
        return kRefused;
    }
    const std::string name = FirstFreeNumberedName(NamesOf(list), "Profile");
    return AppendProfile(list, ReadJsonFile(m_defaultFile), name);
}

int CProfileList::CopyProfile() {
    const Json::Value list = EnsureList();
    if (RowCount(list) >= kMaxProfiles || !SelectedRowIn(list)) {
        return kRefused;
    }
    const ProfileRow source = RowOf(list, m_selected);
    const std::string name = UniqueBySuffix(NamesOf(list), source.name + " copy",
                                            [](int) { return std::string(" copy"); });
    return AppendProfile(list, ReadJsonFile(ProfilePathOf(source.uuid)), name);
}

int CProfileList::DeleteProfile() {
    Json::Value list = EnsureList();
    if (RowCount(list) <= 1 || !SelectedRowIn(list)) {
        return kRefused;
    }
    const int row = m_selected;
    const std::string uuid = RowOf(list, row).uuid;
    const int next = row == 0 ? 0 : row - 1;
    Json::Value removed;
    list["profilelist"].removeIndex(static_cast<Json::ArrayIndex>(row), &removed);
    list["profileselect"] = next;
    if (!WriteJsonFile(list, GetListPath())) {
        return kWriteFailed;
    }
    // The file goes only once the list no longer names it (and no other row shares it).
    if (const auto path = ProfilePathOf(uuid); !path.empty() && !UuidInList(list, uuid)) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
    m_selected = next;
    m_selectedUuid = RowOf(list, next).uuid;
    return kDone;
}

int CProfileList::RenameProfile(const std::string& name) {
    if (IsBlank(name)) {
        return kBlankName;
    }
    Json::Value list = EnsureList();
    if (!SelectedRowIn(list)) {
        return kRefused;
    }
    const std::vector<std::string> names = NamesOf(list);
    for (int row = 0; row < static_cast<int>(names.size()); ++row) {
        if (row != m_selected && EqualsIgnoringCase(names[static_cast<std::size_t>(row)], name)) {
            return kRefused;
        }
    }
    Json::Value& entry = list["profilelist"][static_cast<Json::ArrayIndex>(m_selected)];
    const std::string uuid = AsString(Member(entry, "profileUUID"));
    MutableMember(entry, "profilename") = name;
    // The profile file first, and back to what it was when the list cannot follow, so a failed
    // write never leaves the list and the file naming the profile differently. A damaged file is
    // kept as it is rather than replaced by one holding only the name.
    const auto path = ProfilePathOf(uuid);
    const Json::Value previous = path.empty() ? Json::Value() : ReadJsonFile(path);
    std::error_code error;
    const bool damaged = !previous.isObject() && std::filesystem::is_regular_file(path, error);
    const bool writeFile = !path.empty() && !damaged;
    if (writeFile) {
        Json::Value document = previous.isObject() ? previous : Json::Value(Json::objectValue);
        MutableMember(document, "profilename") = name;
        if (!WriteJsonFile(document, path)) {
            return kWriteFailed;
        }
    }
    if (!WriteJsonFile(list, GetListPath())) {
        if (writeFile && previous.isObject()) {
            WriteJsonFile(previous, path);
        } else if (writeFile) {
            std::filesystem::remove(path, error);
        }
        return kWriteFailed;
    }
    return kDone;
}

int CProfileList::ImportProfile(const std::filesystem::path& path) {
    const Json::Value list = EnsureList();
    if (RowCount(list) == 0) {
        return kWriteFailed;
    }
    if (RowCount(list) >= kMaxProfiles) {
        return kRefused;
    }
    Json::Value document = ReadJsonFile(path);
    if (!document.isObject() || Member(document, "profilename").isNull() ||
        Member(document, "profileUUID").isNull()) {
        return kRefused;
    }
    const std::vector<std::string> names = NamesOf(list);
    std::string name = path.stem().string();
    if (IsBlank(name)) {
        name = FirstFreeNumberedName(names, "Profile");
    }
    name = UniqueBySuffix(names, name, [](int n) { return "(" + std::to_string(n) + ")"; });
    return AppendProfile(list, std::move(document), name);
}

int CProfileList::ExportProfile(const std::filesystem::path& path) {
    const Json::Value list = EnsureList();
    if (!SelectedRowIn(list)) {
        return kRefused;
    }
    const Json::Value document = ReadJsonFile(ProfilePathOf(RowOf(list, m_selected).uuid));
    return WriteJsonFile(document, path) ? kDone : kWriteFailed;
}

int CProfileList::ResetProfileFile() {
    const Json::Value list = EnsureList();
    if (!SelectedRowIn(list)) {
        return kRefused;
    }
    const ProfileRow row = RowOf(list, m_selected);
    const auto path = ProfilePathOf(row.uuid);
    if (path.empty()) {
        return kRefused;
    }
    Json::Value document = ReadJsonFile(m_defaultFile);
    if (m_kindCode == kKindHeadset) {
        // The user's equaliser presets survive a reset, in whichever entry holds them.
        const Json::Value current = ReadJsonFile(path);
        const Json::Value& devices = Member(current, "Device");
        for (Json::ArrayIndex i = 0; devices.isArray() && i < devices.size(); ++i) {
            for (const char* key : kHeadsetPresetKeys) {
                const Json::Value& preset = Member(devices[i], key);
                if (!preset.isNull()) {
                    MutableMember(MutableElement(MutableMember(document, "Device"), i), key) =
                        preset;
                }
            }
        }
    }
    NameDocument(document, row.name, row.uuid);
    return WriteJsonFile(document, path) ? kDone : kWriteFailed;
}

int CProfileList::GetStoredProfileCount() {
    m_storedList = ReadList();
    return RowCount(m_storedList);
}

std::filesystem::path CProfileList::GetStoredProfilePath(int index) const {
    if (index < 0 || index >= RowCount(m_storedList)) {
        return {};
    }
    return ProfilePathOf(RowOf(m_storedList, index).uuid);
}

} // namespace q407::profiles
