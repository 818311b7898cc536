#include "hid/CHidDevice.h"

#include "sim/ProductInterfaces.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace q407::hid {
namespace {

// A backend that lists given paths and opens nothing; enough for the enumeration list.
class ListingBackend final : public HidBackend {
public:
    std::vector<std::string> paths;
    bool fail = false;

    bool Enumerate(std::vector<std::string>& out) override {
        if (fail) {
            out.clear();
            return false;
        }
        out = paths;
        return true;
    }
    std::unique_ptr<HidHandle> Open(std::string_view, const HidOpenFlags&) override {
        return nullptr;
    }
    bool IsPresent(std::string_view) override { return false; }
    std::unique_ptr<HidChangeWatch> WatchChanges() override { return nullptr; }
};

TEST(CHidDeviceList, EmptyEnumerationSucceedsWithNothingToWalk) {
    ListingBackend backend;
    CHidDevice device(backend);
    ASSERT_TRUE(device.FindDevices());
    EXPECT_EQ(device.PathCount(), 0u);
    EXPECT_EQ(device.NextPath(), nullptr);
}

TEST(CHidDeviceList, ListGrowsPastEightAndReturnsEveryPathOnceInOrder) {
    ListingBackend backend;
    for (int i = 0; i < 37; ++i) {
        backend.paths.push_back("/dev/hidraw" + std::to_string(i) + "&vid_0001&pid_0002&mi_00");
    }
    CHidDevice device(backend);
    ASSERT_TRUE(device.FindDevices());
    EXPECT_EQ(device.PathCount(), 37u);
    std::vector<std::string> walked;
    while (const char* path = device.NextPath()) {
        walked.emplace_back(path);
    }
    EXPECT_EQ(walked, backend.paths);
    EXPECT_EQ(device.NextPath(), nullptr);
    // A new enumeration starts the walk again.
    ASSERT_TRUE(device.FindDevices());
    ASSERT_NE(device.NextPath(), nullptr);
    device.ClearPaths();
    EXPECT_EQ(device.NextPath(), nullptr);
}

TEST(CHidDeviceList, FailedEnumerationLeavesTheListEmpty) {
    ListingBackend backend;
    backend.paths = {"/a", "/b"};
    CHidDevice device(backend);
    ASSERT_TRUE(device.FindDevices());
    backend.fail = true;
    EXPECT_FALSE(device.FindDevices());
    EXPECT_EQ(device.PathCount(), 0u);
    EXPECT_EQ(device.NextPath(), nullptr);
}

TEST(CHidDeviceRecord, ClosedRecordRefusesEverySafely) {
    ListingBackend backend;
    CHidDevice device(backend);
    EXPECT_FALSE(device.IsOpen());
    EXPECT_FALSE(device.Open("/dev/hidraw0&vid_0001&pid_0002", true, true, true, false));
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.DevicePath(), "/dev/hidraw0&vid_0001&pid_0002");
    std::uint8_t buffer[64] = {};
    std::size_t count = 99;
    EXPECT_FALSE(device.Read(buffer, sizeof buffer, &count, 10));
    EXPECT_EQ(count, 0u);
    count = 99;
    EXPECT_FALSE(device.Write(buffer, sizeof buffer, &count, 10));
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(device.SetOutputReport(buffer, sizeof buffer));
    EXPECT_EQ(device.PreparsedData(), nullptr);
    EXPECT_TRUE(device.ButtonCaps(HidReportType::Input).empty());
    device.Close();
    device.Close();
}

} // namespace
} // namespace q407::hid
