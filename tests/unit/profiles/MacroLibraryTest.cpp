#include "TempFolder.h"
#include "profiles/CMacroLibrary.h"
#include "profiles/JsonFile.h"

namespace q407::profiles {
namespace {

using namespace std::chrono;

class MacroLibraryTest : public testing::TempFolderTest {
protected:
    CMacroLibrary MakeLibrary() {
        CMacroLibrary library(m_dir);
        library.SetClock([] { return system_clock::time_point(seconds(1709622489)); });
        return library;
    }

    static std::vector<std::string> Names(const CMacroLibrary& library) {
        std::vector<std::string> names;
        for (const auto& macro : library.Load()) {
            names.push_back(macro.name);
        }
        return names;
    }

    static Json::Value Key(int assignment, int defaultAssignment) {
        Json::Value key;
        key["Assignment"] = assignment;
        key["DefaultAssignment"] = defaultAssignment;
        return key;
    }
};

TEST_F(MacroLibraryTest, NewMacrosTakeTheFirstFreeNumberAndTheirOwnIdentifier) {
    Write(Path("macro.config"),
          R"({ "MacroInfo" : [ { "MacroName" : "Macro_1", "Guid" : "g" } ] })");
    CMacroLibrary library = MakeLibrary();
    ASSERT_EQ(library.NewMacro(), CMacroLibrary::kDone);
    ASSERT_EQ(library.NewMacro(), CMacroLibrary::kDone);
    const auto macros = library.Load();
    ASSERT_EQ(macros.size(), 3u);
    EXPECT_EQ(macros[1].name, "macro_2");
    EXPECT_EQ(macros[2].name, "macro_3");
    EXPECT_NE(macros[1].guid, macros[2].guid) << "made within one millisecond";
    EXPECT_EQ(Read(Path("macro.config")).back(), '\n');
}

TEST_F(MacroLibraryTest, FiftyMacrosAtMost) {
    CMacroLibrary library = MakeLibrary();
    for (int i = 0; i < CMacroLibrary::kMaxMacros; ++i) {
        ASSERT_EQ(library.NewMacro(), CMacroLibrary::kDone);
    }
    Write(Path("in.mac"), "{}");
    EXPECT_EQ(library.NewMacro(), CMacroLibrary::kRefused);
    EXPECT_EQ(library.ImportMacro(Path("in.mac")), CMacroLibrary::kRefused);
    EXPECT_EQ(library.Load().size(), 50u);
}

TEST_F(MacroLibraryTest, ImportsCopyTheFileAndAccumulateSuffixes) {
    const std::string bytes = "// recorded\n{ \"Events\" : [ { \"Action\" : \"down\", "
                              "\"Type\" : 10, \"Button\" : 4, \"Delay\" : \"15\" } ] }";
    std::filesystem::create_directories(Path("in"));
    Write(Path("in") / "a.mac", bytes);
    CMacroLibrary library = MakeLibrary();
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(library.ImportMacro(Path("in") / "a.mac"), CMacroLibrary::kDone);
    }
    EXPECT_EQ(Names(library), (std::vector<std::string>{"a", "a_1", "a_1_2"}));
    const auto macros = library.Load();
    EXPECT_EQ(Read(library.EventFilePath(macros[2].guid)), bytes) << "byte for byte";
    EXPECT_EQ(library.ReadEvents(2), (std::vector<MacroEvent>{{true, 10, 4, 15}}));

    ASSERT_EQ(library.ExportMacro(0, Path("out.mac")), CMacroLibrary::kDone);
    EXPECT_EQ(Read(Path("out.mac")), bytes);
    EXPECT_EQ(library.ExportMacro(3, Path("none.mac")), CMacroLibrary::kRefused);
    EXPECT_EQ(library.ImportMacro(Path("missing.mac")), CMacroLibrary::kRefused);
}

TEST_F(MacroLibraryTest, RenameNeedsANewNameUnlikeAnyInTheLibrary) {
    CMacroLibrary library = MakeLibrary();
    library.NewMacro();
    library.NewMacro();
    EXPECT_EQ(library.RenameMacro(0, "  "), CMacroLibrary::kBlankName);
    EXPECT_EQ(library.RenameMacro(0, "MACRO_2"), CMacroLibrary::kRefused);
    EXPECT_EQ(library.RenameMacro(0, "Macro_1"), CMacroLibrary::kRefused) << "its own, too";
    EXPECT_EQ(library.RenameMacro(2, "jump"), CMacroLibrary::kRefused) << "no such macro";
    EXPECT_EQ(library.RenameMacro(0, "jump"), CMacroLibrary::kDone);
    EXPECT_EQ(Names(library), (std::vector<std::string>{"jump", "macro_2"}));
}

TEST_F(MacroLibraryTest, SavedEventsUseTheFileLayout) {
    CMacroLibrary library = MakeLibrary();
    library.NewMacro();
    const std::vector<MacroEvent> events{
        {true, 1, 0x01, 30}, {false, 1, 0x01, 70000}, {true, 9, 0x02, 0}};
    ASSERT_EQ(library.SaveEvents(0, events), CMacroLibrary::kDone);
    const MacroInfo macro = library.Load()[0];
    const Json::Value file = ReadJsonFile(library.EventFilePath(macro.guid));
    EXPECT_EQ(file["Version"], Json::Value(64));
    EXPECT_EQ(file["MacroName"].asString(), "macro_1");
    EXPECT_EQ(file["Guid"].asString(), macro.guid);
    ASSERT_EQ(file["Events"].size(), 3u);
    EXPECT_EQ(file["Events"][0]["Action"], Json::Value("down"));
    EXPECT_EQ(file["Events"][0]["Delay"], Json::Value("30")) << "delays are decimal strings";
    EXPECT_EQ(file["Events"][1]["Delay"], Json::Value("65535"));
    EXPECT_EQ(file["Events"][2]["Type"], Json::Value(9));
    EXPECT_EQ(file["Events"][2]["Button"], Json::Value(2));

    auto expected = events;
    expected[1].delay = 65535;
    EXPECT_EQ(library.ReadEvents(0), expected);

    EXPECT_EQ(library.SaveEvents(0, std::vector<MacroEvent>(4001)), CMacroLibrary::kRefused);
    EXPECT_EQ(library.SaveEvents(0, std::vector<MacroEvent>(4000)), CMacroLibrary::kDone);
}

TEST_F(MacroLibraryTest, OddDelaysReadAsZeroOrTheLargestDelay) {
    const Json::Value document = ParseJsonText(R"({ "Events" : [
        { "Delay" : "abc" }, { "Delay" : "-5" }, { "Delay" : "99999999999999999999999" },
        { "Delay" : 250 }, { "Delay" : "12ms" }, { "Delay" : null }, 7 ] })");
    const auto events = CMacroLibrary::ParseEvents(document);
    ASSERT_EQ(events.size(), 7u);
    const std::vector<int> delays{0, 0, 65535, 250, 12, 0, 0};
    for (std::size_t i = 0; i < delays.size(); ++i) {
        EXPECT_EQ(events[i].delay, delays[i]) << i;
    }
}

TEST_F(MacroLibraryTest, DeleteReturnsKeysToDefaultsAndRenumbersLaterMacros) {
    CMacroLibrary library = MakeLibrary();
    for (int i = 0; i < 3; ++i) {
        library.NewMacro();
    }
    ASSERT_EQ(library.SaveEvents(1, {{true, 10, 4, 1}}), CMacroLibrary::kDone);
    const auto macros = library.Load();

    Json::Value profile;
    Json::Value& keys = profile["Device"][0]["KeyList"];
    keys.append(Key(0x700000, 0x100100)); // macro 0: stays
    keys.append(Key(0x700102, 0x100200)); // macro 1: back to its default
    keys.append(Key(0x710103, 0x100400)); // macro 1 repeated: back to its default
    keys.append(Key(0x700201, 0x100800)); // macro 2: becomes macro 1
    keys.append(Key(0x710205, 0x101000)); // macro 2 repeated five times: becomes macro 1
    keys.append(Key(0x200004, 0x200004)); // a key: stays
    profile["Device"][1]["KeyList"].append(Key(0x700100, 0)); // another device's entry
    ASSERT_TRUE(WriteJsonFile(profile, Path("a.Json")));
    Json::Value untouched;
    untouched["Device"][0]["KeyList"].append(Key(0x700000, 0));
    ASSERT_TRUE(WriteJsonFile(untouched, Path("b.Json")));
    const std::string untouchedText = Read(Path("b.Json"));

    std::vector<std::filesystem::path> changed;
    const std::vector<std::filesystem::path> files{Path("a.Json"), Path("b.Json"),
                                                   Path("missing.Json")};
    ASSERT_EQ(library.DeleteMacro(1, files, 0, &changed), CMacroLibrary::kDone);
    EXPECT_EQ(changed, (std::vector<std::filesystem::path>{Path("a.Json")}));

    const Json::Value after = ReadJsonFile(Path("a.Json"));
    std::vector<int> assignments;
    for (const Json::Value& key : after["Device"][0]["KeyList"]) {
        assignments.push_back(key["Assignment"].asInt());
    }
    EXPECT_EQ(assignments,
              (std::vector<int>{0x700000, 0x100200, 0x100400, 0x700101, 0x710105, 0x200004}));
    EXPECT_EQ(after["Device"][1]["KeyList"][0]["Assignment"].asInt(), 0x700100)
        << "only this device's entry";
    EXPECT_EQ(Read(Path("b.Json")), untouchedText) << "unchanged profiles are not rewritten";

    EXPECT_EQ(Names(library), (std::vector<std::string>{"macro_1", "macro_3"}));
    EXPECT_FALSE(std::filesystem::exists(library.EventFilePath(macros[1].guid)));
    EXPECT_EQ(library.DeleteMacro(2, {}, 0), CMacroLibrary::kRefused);
}

TEST_F(MacroLibraryTest, OtherPagesReadTheirOwnIndexFile) {
    Write(Path("ravik_macro.config"), R"({ "MacroInfo" : [ { "MacroName" : "pad" } ] })");
    const CMacroLibrary library(m_dir, "ravik_macro.config");
    ASSERT_EQ(library.Load().size(), 1u);
    EXPECT_EQ(library.Load()[0].name, "pad");
    EXPECT_TRUE(CMacroLibrary(m_dir).Load().empty());
}

} // namespace
} // namespace q407::profiles
