#include "profiles/JsonFile.h"

#include "TempFolder.h"
#include "common/AtomicFile.h"
#include "common/Diag.h"

#include <string>

namespace q407::profiles {
namespace {

using JsonFileTest = testing::TempFolderTest;

TEST(StyledJsonText, UsesThreeSpacesAndEndsInOneLineFeed) {
    Json::Value value(Json::objectValue);
    value["Inner"]["Key"] = 5;
    value["List"].append(1);
    value["List"].append(2);
    EXPECT_EQ(StyledJsonText(value),
              "{\n   \"Inner\" : {\n      \"Key\" : 5\n   },\n   \"List\" : [ 1, 2 ]\n}\n");
    EXPECT_EQ(StyledJsonText(Json::Value()), "null\n");
}

TEST(StyledJsonText, BreaksArraysThatPassTheRightMargin) {
    Json::Value shortList(Json::arrayValue);
    Json::Value longList(Json::arrayValue);
    for (int i = 0; i < 10; ++i) {
        shortList.append(i);
        longList.append(1000000 + i);
    }
    EXPECT_EQ(StyledJsonText(shortList), "[ 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 ]\n");
    const std::string text = StyledJsonText(longList);
    EXPECT_EQ(text.substr(0, 14), "[\n   1000000,\n") << text;
}

TEST_F(JsonFileTest, ReadsCommentsAndReportsTheStateOfEachFile) {
    Write(Path("ok.json"), "// comment\n{ \"A\" : 1 /* inline */ }\n");
    Write(Path("empty.json"), "");
    Write(Path("broken.json"), "{ \"A\" : ");
    Write(Path("null.json"), "null");

    const auto ok = ReadJsonDocument(Path("ok.json"));
    EXPECT_EQ(ok.state, JsonFileState::Ok);
    EXPECT_EQ(ok.value["A"].asInt(), 1);
    EXPECT_EQ(ReadJsonDocument(Path("empty.json")).state, JsonFileState::Empty);
    EXPECT_EQ(ReadJsonDocument(Path("broken.json")).state, JsonFileState::Invalid);
    EXPECT_EQ(ReadJsonDocument(Path("missing.json")).state, JsonFileState::Missing);
    EXPECT_EQ(ReadJsonDocument(Path("null.json")).state, JsonFileState::Ok);
    EXPECT_EQ(ReadJsonDocument(m_dir).state, JsonFileState::Missing) << "a folder is no file";
    for (const char* name : {"empty.json", "broken.json", "missing.json"}) {
        EXPECT_TRUE(ReadJsonFile(Path(name)).isNull()) << name;
    }
}

TEST_F(JsonFileTest, MissingFileWritesTheUnreadableDiagnostic) {
    diag::Capture capture;
    ReadJsonFile(Path("missing.json"));
    EXPECT_TRUE(capture.Contains("readjsonFile 错误吗：：2")) << "ENOENT is 2";
}

TEST_F(JsonFileTest, HugeAndDeeplyNestedFilesReadAsNull) {
    Write(Path("huge.json"), "[" + std::string(kMaxJsonFileBytes, ' ') + "]");
    EXPECT_EQ(ReadJsonDocument(Path("huge.json")).state, JsonFileState::Invalid);

    Write(Path("deep.json"), std::string(100000, '[') + std::string(100000, ']'));
    EXPECT_EQ(ReadJsonDocument(Path("deep.json")).state, JsonFileState::Invalid);
    Write(Path("nested.json"), std::string(20, '[') + std::string(20, ']'));
    EXPECT_EQ(ReadJsonDocument(Path("nested.json")).state, JsonFileState::Ok);
}

TEST_F(JsonFileTest, FailedWriteKeepsTheOldFileAndSaysSo) {
    Json::Value first(Json::objectValue);
    first["Version"] = 1;
    ASSERT_TRUE(WriteJsonFile(first, Path("f.json")));
    Json::Value second = first;
    second["Version"] = 2;
    q407::testing::FailNextWriteAfter(4);
    EXPECT_FALSE(WriteJsonFile(second, Path("f.json")));
    EXPECT_EQ(ReadJsonFile(Path("f.json")), first);
    EXPECT_EQ(Entries().size(), 1u) << "no temporary file left";
    EXPECT_FALSE(WriteJsonFile(first, ""));
    EXPECT_FALSE(WriteJsonFile(first, m_dir / ""));
}

TEST_F(JsonFileTest, SetAsideMovesTheDamagedFileBesideItself) {
    Write(Path("x.config"), "{ broken");
    EXPECT_TRUE(SetAsideDamagedFile(Path("x.config")));
    EXPECT_FALSE(std::filesystem::exists(Path("x.config")));
    EXPECT_EQ(Read(Path("x.config.bak")), "{ broken");
    EXPECT_FALSE(SetAsideDamagedFile(Path("gone.config")));
}

TEST(JsonAccessors, NeverThrowOnWronglyTypedValues) {
    const Json::Value document = ParseJsonText(R"({
        "i": 7, "big": 1e300, "neg": -3, "real": 2.9, "t": true, "f": false,
        "s": "12", "arr": [1, 2], "obj": {"k": 1}, "huge": 18446744073709551615 })");
    ASSERT_TRUE(document.isObject());
    EXPECT_EQ(AsInt(document["i"]), 7);
    EXPECT_EQ(AsInt(document["neg"]), -3);
    EXPECT_EQ(AsInt(document["real"]), 2);
    EXPECT_EQ(AsInt(document["t"]), 1);
    for (const char* key : {"big", "s", "arr", "obj", "huge", "absent"}) {
        EXPECT_EQ(AsInt(Member(document, key)), 0) << key;
    }
    EXPECT_EQ(AsBool(document["t"]), 1);
    EXPECT_EQ(AsBool(document["f"]), 0);
    EXPECT_EQ(AsBool(document["i"]), 1);
    EXPECT_EQ(AsBool(document["s"]), 0);
    EXPECT_EQ(AsString(document["s"]), "12");
    EXPECT_EQ(AsString(document["i"]), "");

    // Members of arrays and scalars, and elements of objects, read as null.
    EXPECT_TRUE(Member(document["arr"], "k").isNull());
    EXPECT_TRUE(Member(document["i"], "k").isNull());
    EXPECT_TRUE(Element(document["obj"], 0).isNull());
    EXPECT_TRUE(Element(document["arr"], 2).isNull());
    EXPECT_EQ(AsInt(Element(document["arr"], 1)), 2);
}

TEST(JsonAccessors, MutableAccessReplacesWronglyTypedValues) {
    Json::Value value = 5;
    MutableMember(value, "k") = 1;
    EXPECT_EQ(value["k"].asInt(), 1);
    Json::Value list = "text";
    MutableElement(list, 2) = 3;
    ASSERT_TRUE(list.isArray());
    EXPECT_EQ(list.size(), 3u);
    EXPECT_TRUE(list[0].isNull());
}

} // namespace
} // namespace q407::profiles
