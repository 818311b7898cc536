// A whole mouse read sequence against the real hidraw driver: mouse A behind its receiver (both
// of its USB interfaces) is put on the kernel through /dev/uhid and the protocol object talks to it
// with the Linux backend. Needs the hid-vm (run-in-vm.sh), where /dev/uhid exists and the test runs
// as root.

#include "hid/HidPath.h"
#include "hid/LinuxHidBackend.h"
#include "protocol/Sequences.h"
#include "sim/SimulatedProduct.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace q407::protocol {
namespace {

using namespace std::chrono_literals;

bool InsideHidVm() {
    const char* runvm = std::getenv("RUNVM"); // NOLINT(concurrency-mt-unsafe): read at start
    return runvm != nullptr && std::string_view(runvm) == "1" && ::access("/dev/uhid", W_OK) == 0;
}

class KernelProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!InsideHidVm()) {
            GTEST_SKIP() << "needs /dev/uhid inside the hid-vm (run-in-vm.sh)";
        }
    }

    // Puts the product on the kernel; returns the path of its command collection.
    std::string PutOnKernel(const std::shared_ptr<sim::SimulatedProduct>& product) {
        std::string error;
        bridges = sim::PutOnKernel(product, &error);
        EXPECT_FALSE(bridges.empty()) << error;
        std::vector<std::string> paths;
        EXPECT_TRUE(backend.Enumerate(paths));
        for (const auto& path : paths) {
            if (hid::ProductIdFromPath(path) == product->CommandInterface()->Info().productId &&
                hid::InterfaceNumberFromPath(path) ==
                    product->CommandInterface()->Info().interfaceNumber &&
                hid::CollectionNumberFromPath(path) == product->CommandCollection()) {
                return path;
            }
        }
        ADD_FAILURE() << "the command collection is not listed";
        return {};
    }

    hid::LinuxHidBackend backend;
    std::vector<std::shared_ptr<sim::UhidBridge>> bridges;
};

TEST_F(KernelProtocolTest, FullMouseReadSequenceThroughHidraw) {
    auto product = sim::SimulatedProduct::Create(sim::SimProduct::MouseAReceiver);
    const std::string path = PutOnKernel(product);
    ASSERT_FALSE(path.empty());
    CDeviceProtocol protocol(backend); // the real 20 ms pauses
    ASSERT_TRUE(protocol.Attach(kModeReceiver, path));

    DeviceTables tables;
    bool flag = false;
    ASSERT_EQ(ReadMouse(protocol, tables, [&](bool f) { flag = f; }), kResultOk);
    const auto memory = product->Firmware().Memory();
    EXPECT_EQ(tables.deviceInfo, memory.deviceInfo);
    EXPECT_TRUE(flag);
    EXPECT_EQ(protocol.TableSize(), memory.defaultKeyTable.size());
    EXPECT_TRUE(std::equal(memory.defaultKeyTable.begin(), memory.defaultKeyTable.end(),
                           tables.defaultKeyTable.begin()));
    EXPECT_TRUE(
        std::equal(memory.keyTable.begin(), memory.keyTable.end(), tables.keyTable.begin()));

    std::uint8_t current = 0xEE;
    std::vector<std::uint8_t> block(80);
    ASSERT_EQ(ReadSettingsSequence(protocol, kMouseSettings, current, block), kResultOk);
    EXPECT_EQ(current, 0);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), memory.settingsMemory.begin()));

    // Unplugged in the middle of a multi-chunk read: the command fails, nothing hangs.
    product->UnplugAtRequest(1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(protocol.ReadSettings(block.data(), block.size(), 96), kResultOk); // four chunks
    EXPECT_EQ(product->Firmware().RequestCount(kCmdReadSettings), 6);            // 1 + 4, then 1
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(protocol.BeginConfig(), kResultWriteFailed);
}

} // namespace
} // namespace q407::protocol
