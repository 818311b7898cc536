// The system launcher with small shell scripts standing in for installers.

#include "update/ProgramLauncher.h"

#include "common/AtomicFile.h"

#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace q407::update {
namespace {

using namespace std::chrono_literals;

class ProgramLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() /
                   ("q407-launcher-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    // A script as it arrives from a download: not executable yet.
    std::filesystem::path Script(const char* name, const std::string& body) {
        const auto path = m_folder / name;
        EXPECT_TRUE(WriteFileAtomically(path, "#!/bin/sh\n" + body + "\n"));
        ::chmod(path.c_str(), 0600);
        return path;
    }
    // Waits (boundedly) for a file a script writes.
    bool Appears(const std::filesystem::path& path) {
        for (int i = 0; i < 400 && !std::filesystem::exists(path); ++i) {
            std::this_thread::sleep_for(25ms);
        }
        return std::filesystem::exists(path);
    }

    std::filesystem::path m_folder;
};

TEST_F(ProgramLauncherTest, RunMakesTheFileExecutableStartsItAndSeesItEnd) {
    const auto marker = m_folder / "ran";
    const auto installer = Script("Ms", "echo done > '" + marker.string() + "'");
    auto launcher = MakeSystemLauncher();
    auto program = launcher->Run(installer);
    ASSERT_TRUE(program);
    bool ended = false;
    for (int i = 0; i < 200 && !ended; ++i) {
        ended = program->WaitFor(50ms);
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(ReadFileBounded(marker, 64), "done\n");
    EXPECT_EQ(std::filesystem::status(installer).permissions(), std::filesystem::perms::owner_all);
    EXPECT_TRUE(program->WaitFor(0ms)); // stays ended
}

TEST_F(ProgramLauncherTest, WaitingIsBoundedAndARunningInstallerIsLeftAlone) {
    const auto release = m_folder / "release";
    const auto finished = m_folder / "finished";
    const auto installer =
        Script("T62", "i=0; while [ ! -e '" + release.string() + "' ] && [ $i -lt 400 ]; do " +
                          "sleep 0.05; i=$((i+1)); done; touch '" + finished.string() + "'");
    auto launcher = MakeSystemLauncher();
    auto program = launcher->Run(installer);
    ASSERT_TRUE(program);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(program->WaitFor(100ms));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    program.reset(); // nobody waits any more; the installer is not killed
    ASSERT_TRUE(WriteFileAtomically(release, ""));
    EXPECT_TRUE(Appears(finished));
}

TEST_F(ProgramLauncherTest, FailuresToStartAreReported) {
    auto launcher = MakeSystemLauncher(m_folder / "no-such-opener");
    EXPECT_FALSE(launcher->Run(m_folder / "missing"));
    const auto notAProgram = m_folder / "data.bin";
    ASSERT_TRUE(WriteFileAtomically(notAProgram, std::string(64, '\x7f')));
    EXPECT_FALSE(launcher->Run(notAProgram));
    EXPECT_FALSE(launcher->Open(notAProgram));
}

TEST_F(ProgramLauncherTest, OpenHandsTheFileToTheOpener) {
    const auto marker = m_folder / "opened";
    const auto opener = Script("opener", "echo \"$1\" > '" + marker.string() + "'");
    ::chmod(opener.c_str(), 0700);
    auto launcher = MakeSystemLauncher(opener);
    const auto package = m_folder / "Driver.deb";
    ASSERT_TRUE(WriteFileAtomically(package, "package"));
    EXPECT_TRUE(launcher->Open(package));
    ASSERT_TRUE(Appears(marker));
    // The opener may still be writing; wait for the whole line.
    const auto complete = [&] {
        const std::string text = ReadFileBounded(marker, 4096).value_or("");
        return !text.empty() && text.back() == '\n';
    };
    for (int i = 0; i < 200 && !complete(); ++i) {
        std::this_thread::sleep_for(25ms);
    }
    EXPECT_EQ(ReadFileBounded(marker, 4096), package.string() + "\n");
}

} // namespace
} // namespace q407::update
