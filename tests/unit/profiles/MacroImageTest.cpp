#include "profiles/MacroImage.h"

#include "TempFolder.h"

#include <string>

namespace q407::profiles {
namespace {

std::vector<MacroEvent> Events(int count) {
    std::vector<MacroEvent> events;
    for (int i = 0; i < count; ++i) {
        events.push_back({i % 2 == 0, 10, 4 + i, 100 + i});
    }
    return events;
}

int Word(const std::vector<std::uint8_t>& image, std::size_t at) {
    return image.at(at) | (image.at(at + 1) << 8);
}

TEST(MacroImage, TwoMacrosOfThreeAndFiveEvents) {
    const std::vector<std::vector<MacroEvent>> macros{Events(3), Events(5)};
    std::vector<std::uint8_t> image;
    ASSERT_EQ(BuildMacroImage(macros, 1024, image), 0);
    ASSERT_EQ(image.size(), 60u);
    EXPECT_EQ(image[0], 0xAA);
    EXPECT_EQ(image[1], 0x55);
    EXPECT_EQ(Word(image, 2), 60);
    EXPECT_EQ(Word(image, 4), 2);
    EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 6, image.begin() + 16),
              std::vector<std::uint8_t>(10, 0));
    EXPECT_EQ(Word(image, 16), 20);
    EXPECT_EQ(Word(image, 18), 36);

    // Second block: count 5, two zero bytes, then the events.
    EXPECT_EQ(Word(image, 36), 5);
    EXPECT_EQ(Word(image, 38), 0);
    EXPECT_EQ(Word(image, 40), 100) << "delay";
    EXPECT_EQ(image[42], 0x8A) << "down sets bit 7 of the type";
    EXPECT_EQ(image[43], 4);
    EXPECT_EQ(image[46], 0x0A) << "up leaves it clear";
    EXPECT_EQ(image[47], 5);
    EXPECT_EQ(Word(image, 56), 104);
}

TEST(MacroImage, ButtonsKeepTheirLowByte) {
    std::vector<std::uint8_t> image;
    const std::vector<std::vector<MacroEvent>> macros{{{true, 4, 0x1FF, 0xFFFF}}};
    ASSERT_EQ(BuildMacroImage(macros, 128, image), 0);
    EXPECT_EQ(Word(image, 22), 0xFFFF);
    EXPECT_EQ(image[24], 0x84);
    EXPECT_EQ(image[25], 0xFF);
}

TEST(MacroImage, TooLargeForTheDeviceGivesTheExcessAndNoImage) {
    std::vector<std::uint8_t> image{1, 2, 3};
    const std::vector<std::vector<MacroEvent>> macros{Events(252)};
    EXPECT_EQ(MacroImageLength(macros), 1030u);
    EXPECT_EQ(BuildMacroImage(macros, 1024, image), 2);
    EXPECT_TRUE(image.empty());
    EXPECT_EQ(BuildMacroImage(macros, 1030, image), 0) << "exactly full fits";
}

// Records the command sequence; each command answers with its scripted result.
class FakeDevice : public IMacroImageDevice {
public:
    bool open = true;
    int beginResult = 1;
    int infoResult = 1;
    int writeResult = 1;
    std::uint8_t macroUnits = 8; // 1024 bytes
    std::vector<std::string> commands;
    std::vector<std::uint8_t> written;

    bool IsOpen() const override { return open; }
    int BeginConfig() override {
        commands.push_back("01");
        return beginResult;
    }
    int ReadDeviceInfo(DeviceInfoBlock& info) override {
        commands.push_back("03");
        info.fill(0);
        info[6] = macroUnits;
        return infoResult;
    }
    int WriteMacroData(std::span<const std::uint8_t> image) override {
        commands.push_back("15");
        written.assign(image.begin(), image.end());
        return writeResult;
    }
    int EndConfig(int argument) override {
        commands.push_back("02/" + std::to_string(argument));
        return 1;
    }
};

class WriteMacroImageTest : public testing::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        m_library = CMacroLibrary(m_dir);
        ASSERT_EQ(m_library.NewMacro(), CMacroLibrary::kDone);
        ASSERT_EQ(m_library.NewMacro(), CMacroLibrary::kDone);
        ASSERT_EQ(m_library.SaveEvents(0, Events(3)), CMacroLibrary::kDone);
        ASSERT_EQ(m_library.SaveEvents(1, Events(5)), CMacroLibrary::kDone);
    }

    CMacroLibrary m_library{std::filesystem::path()};
    FakeDevice m_device;
    DeviceInfoBlock m_info{};

    int Run(std::vector<int> indexes) {
        return WriteMacroImage(m_device, m_library, indexes, m_info);
    }
};

TEST_F(WriteMacroImageTest, WritesTheImageInOneSequence) {
    EXPECT_EQ(Run({1, 0}), 0);
    EXPECT_EQ(m_device.commands, (std::vector<std::string>{"01", "03", "15", "02/1"}));
    ASSERT_EQ(m_device.written.size(), 60u);
    EXPECT_EQ(Word(m_device.written, 16), 20);
    EXPECT_EQ(Word(m_device.written, 20), 5) << "download order, not library order";
    EXPECT_EQ(m_info[6], 8) << "the page's information block is refreshed";
}

TEST_F(WriteMacroImageTest, NothingIsWrittenForAnEmptyListOrLibrary) {
    EXPECT_EQ(Run({}), 0);
    std::filesystem::remove(m_library.GetIndexPath());
    EXPECT_EQ(Run({0}), 0) << "no macro.config";
    EXPECT_TRUE(m_device.commands.empty());
}

TEST_F(WriteMacroImageTest, TooLargeImageIsRefusedAndTheSequenceClosed) {
    ASSERT_EQ(m_library.SaveEvents(0, Events(252)), CMacroLibrary::kDone);
    EXPECT_EQ(Run({0}), 2);
    EXPECT_EQ(m_device.commands, (std::vector<std::string>{"01", "03", "02/1"}));
    EXPECT_TRUE(m_device.written.empty());
}

TEST_F(WriteMacroImageTest, UnknownIndexesAndMissingEventFilesCountAsEmptyMacros) {
    std::filesystem::remove(m_library.EventFilePath(m_library.Load()[1].guid));
    EXPECT_EQ(Run({1, 7}), 0);
    EXPECT_EQ(m_device.written.size(), 16u + 2 * 6u);
}

TEST_F(WriteMacroImageTest, FailedCommandsAreReportedNeverAsSuccess) {
    m_device.writeResult = -103;
    EXPECT_EQ(Run({0}), -103);
    EXPECT_EQ(m_device.commands.back(), "02/1") << "the sequence is closed";

    m_device = FakeDevice{};
    m_device.writeResult = 0; // no answer
    EXPECT_EQ(Run({0}), -1);

    m_device = FakeDevice{};
    m_device.infoResult = -101;
    EXPECT_EQ(Run({0}), -101);
    EXPECT_EQ(m_device.commands, (std::vector<std::string>{"01", "03", "02/1"}));

    m_device = FakeDevice{};
    m_device.beginResult = -1;
    EXPECT_EQ(Run({0}), -1);
    EXPECT_EQ(m_device.commands, (std::vector<std::string>{"01"}));
}

TEST_F(WriteMacroImageTest, ClosedDeviceUsesTheKeptInformationAndWritesNothing) {
    m_device.open = false;
    m_info[6] = 1; // 128 bytes
    EXPECT_EQ(Run({0, 1}), 0) << "60 bytes fit";
    m_info[6] = 0;
    EXPECT_EQ(Run({0, 1}), 16);
    EXPECT_TRUE(m_device.commands.empty());
}

} // namespace
} // namespace q407::profiles
