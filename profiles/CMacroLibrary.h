#pragma once

// The macro library of one device folder: the index file "macro.config" ("MacroInfo": name and
// identifier of each macro, in library order) and one event file per macro (identifier +
// ".mac"). Keys refer to macros by their library index, so deleting a macro renumbers the keys
// of every profile of the device.
//
// Files are never lost: every write is an atomic replace, an event file is written before the
// index names it and removed only after the index no longer does, a damaged index is kept as
// ".bak" before a fresh one replaces it, and identifiers read from files are checked before they
// name a file.

#include "profiles/Names.h"

#include <filesystem>
#include <json/value.h>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace q407::profiles {

struct MacroInfo {
    std::string name;
    std::string guid;
};

// One event of a macro. Kinds: 1 mouse button, 4 horizontal move, 5 vertical move, 9 keyboard
// modifier, 10 keyboard key (2 and 3 are other mouse events, only shown).
struct MacroEvent {
    bool down = false; // "Action": "down" or "up"
    int type = 0;      // "Type"
    int button = 0;    // "Button": key, button bit or distance by type
    int delay = 0;     // "Delay" in milliseconds after the event, 0-65535

    bool operator==(const MacroEvent&) const = default;
};

class CMacroLibrary {
public:
    static constexpr int kMaxMacros = 50;
    static constexpr int kMaxEvents = 4000;
    static constexpr int kMaxDelay = 65535;
    static constexpr int kEventFileVersion = 64;

    static constexpr int kWriteFailed = -1;
    static constexpr int kRefused = 0;
    static constexpr int kDone = 1;
    static constexpr int kBlankName = 2;

    // `indexFileName` is "macro.config" for keyboards and mice; other pages read their names
    // from "ravik_macro.config".
    explicit CMacroLibrary(std::filesystem::path folder,
                           std::string indexFileName = "macro.config");

    void SetClock(WallClock clock) { m_clock = std::move(clock); }
    const std::filesystem::path& GetFolder() const { return m_folder; }
    std::filesystem::path GetIndexPath() const;

    // The macros in library order; empty for a missing or unreadable index.
    std::vector<MacroInfo> Load() const;
    // The same, or nullopt when the index file is missing or cannot be read.
    std::optional<std::vector<MacroInfo>> TryLoad() const;

    // Appends "macro_N" (the first N not in use). Refused at 50 macros.
    int NewMacro();
    // Appends the macro file at `path` under its file name, made unique with "_N" suffixes, as
    // a byte-for-byte copy. Refused at 50 macros or when the file cannot be read.
    int ImportMacro(const std::filesystem::path& path);
    // Copies the macro's event file byte for byte to `target`.
    int ExportMacro(int index, const std::filesystem::path& target) const;
    // kBlankName, kRefused when the name is in use (the macro's own included, letter case
    // ignored) or there is no such macro, kDone, or kWriteFailed.
    int RenameMacro(int index, const std::string& name);
    // Deletes macro `index`: first every key of the listed profile files bound to it returns to
    // its default and keys bound to later macros move down by one (damaged profile files are
    // left alone), then the index drops the entry, then its event file goes. `changedProfiles`
    // receives the profile files that were rewritten. Profiles are saved at every change, so the
    // caller passes every stored profile of the device, the selected one included, and reloads
    // the selected one when it is among the changed files (then writes the device again).
    int DeleteMacro(int index, std::span<const std::filesystem::path> profileFiles, int deviceIndex,
                    std::vector<std::filesystem::path>* changedProfiles = nullptr);

    // Writes the macro's event file ("Version" 64). Refused above 4000 events.
    int SaveEvents(int index, const std::vector<MacroEvent>& events);
    // The events of a macro; empty when its file is missing or unreadable.
    std::vector<MacroEvent> ReadEvents(int index) const;
    std::vector<MacroEvent> ReadEventsOf(const std::string& guid) const;

    // The event file of an identifier, or an empty path when it cannot name a file.
    std::filesystem::path EventFilePath(const std::string& guid) const;

    // Keys of one profile entry: bound to macro `deleted` -> their default function; bound to a
    // later macro -> one index lower. True when any key changed.
    static bool RenumberMacroKeys(Json::Value& entry, int deleted);

    // Event file helpers, also used by the fuzz targets.
    static std::vector<MacroEvent> ParseEvents(const Json::Value& document);
    static Json::Value EventDocument(const std::string& name, const std::string& guid,
                                     const std::vector<MacroEvent>& events);

private:
    struct Index {
        Json::Value document;
        bool damaged = false;
    };
    Index ReadIndex() const;
    bool WriteIndex(const Index& index) const;
    std::string NewGuid(const std::vector<MacroInfo>& macros) const;
    int Append(Index index, const std::string& name, const std::string& guid);

    std::filesystem::path m_folder;
    std::string m_indexFileName;
    WallClock m_clock;
};

} // namespace q407::profiles
