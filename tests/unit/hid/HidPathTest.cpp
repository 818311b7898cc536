#include "hid/HidPath.h"

#include "hid/LinuxHidBackend.h"

#include <gtest/gtest.h>

namespace q407::hid {
namespace {

TEST(HidPath, ParsersReadTheHexadecimalNumberAfterEachMarker) {
    const std::string path = "/dev/hidraw7&vid_abcd&pid_1234&mi_01&col03";
    EXPECT_EQ(VendorIdFromPath(path), 0xabcd);
    EXPECT_EQ(ProductIdFromPath(path), 0x1234);
    EXPECT_EQ(InterfaceNumberFromPath(path), 1);
    EXPECT_EQ(CollectionNumberFromPath(path), 3);
    // The same markers in a Windows-style path, upper case.
    const std::string windows = R"(\\?\HID#VID_ABCD&PID_1234&MI_01&COL0A#7&1a2b&0&0009#{guid})";
    EXPECT_EQ(VendorIdFromPath(windows), 0xabcd);
    EXPECT_EQ(ProductIdFromPath(windows), 0x1234);
    EXPECT_EQ(InterfaceNumberFromPath(windows), 1);
    EXPECT_EQ(CollectionNumberFromPath(windows), 10);
}

TEST(HidPath, MissingMarkersGiveZero) {
    EXPECT_EQ(InterfaceNumberFromPath("/dev/hidraw0&vid_abcd&pid_1234"), 0);
    EXPECT_EQ(CollectionNumberFromPath("/dev/hidraw0&vid_abcd&pid_1234"), 0);
    const std::string bare = "/dev/hidraw0";
    EXPECT_EQ(VendorIdFromPath(bare), 0);
    EXPECT_EQ(ProductIdFromPath(bare), 0);
    EXPECT_EQ(InterfaceNumberFromPath(bare), 0);
    EXPECT_EQ(CollectionNumberFromPath(bare), 0);
    EXPECT_EQ(VendorIdFromPath(""), 0);
    // A marker at the very end, or followed by no digit.
    EXPECT_EQ(VendorIdFromPath("x&vid_"), 0);
    EXPECT_EQ(ProductIdFromPath("x&pid_zz"), 0);
    // "mi_" without the '&' is not the interface marker.
    EXPECT_EQ(InterfaceNumberFromPath("xmi_05"), 0);
    // Wide numbers keep their low 16 bits.
    EXPECT_EQ(VendorIdFromPath("vid_123456"), 0x3456);
}

TEST(HidPath, BuiltPathsCarryTheMarkersTheParsersRead) {
    const std::string single = MakeInterfacePath("/dev/hidraw2", 0xF5A7, 0x4A01, 3, 1, 1);
    EXPECT_EQ(single, "/dev/hidraw2&vid_f5a7&pid_4a01&mi_03");
    const std::string fifth = MakeInterfacePath("/dev/hidraw2", 0xF5A7, 0x4A01, 0, 5, 5);
    EXPECT_EQ(fifth, "/dev/hidraw2&vid_f5a7&pid_4a01&mi_00&col05");
    EXPECT_EQ(NodeOfPath(fifth), "/dev/hidraw2");
    EXPECT_EQ(VendorIdFromPath(fifth), 0xF5A7);
    EXPECT_EQ(ProductIdFromPath(fifth), 0x4A01);
    EXPECT_EQ(CollectionNumberFromPath(fifth), 5);
    EXPECT_EQ(CollectionNumberFromPath(MakeInterfacePath("/n", 1, 2, 3, 300, 300)), 300);
}

TEST(HidPath, CollectionIndexNamesOnlyExistingCollections) {
    EXPECT_EQ(CollectionIndexOfPath("/n&vid_1&pid_2&mi_00", 1), 0);
    EXPECT_EQ(CollectionIndexOfPath("/n&vid_1&pid_2&mi_00&col01", 1), 0);
    EXPECT_EQ(CollectionIndexOfPath("/n&vid_1&pid_2&mi_00&col02", 1), -1);
    EXPECT_EQ(CollectionIndexOfPath("/n&vid_1&pid_2&mi_00", 3), -1);
    EXPECT_EQ(CollectionIndexOfPath("/n&vid_1&pid_2&mi_00&col03", 3), 2);
    EXPECT_EQ(CollectionIndexOfPath("/n&vid_1&pid_2&mi_00&col04", 3), -1);
    EXPECT_EQ(CollectionIndexOfPath("/n&vid_1&pid_2&mi_00&col01", 0), -1);
}

TEST(HidPath, InterfaceNumberFromPhysReadsTheInputSuffix) {
    EXPECT_EQ(InterfaceNumberFromPhys("usb-0000:00:14.0-1/input1"), 1);
    EXPECT_EQ(InterfaceNumberFromPhys("q407-virtual/input12"), 12);
    EXPECT_EQ(InterfaceNumberFromPhys("usb-0000:00:14.0-1/input"), 0);
    EXPECT_EQ(InterfaceNumberFromPhys("usb-0000:00:14.0-1/input2x"), 0);
    EXPECT_EQ(InterfaceNumberFromPhys("bluetooth-aa:bb"), 0);
    EXPECT_EQ(InterfaceNumberFromPhys(""), 0);
    EXPECT_EQ(InterfaceNumberFromPhys("input99999999999"), 0);
}

} // namespace
} // namespace q407::hid
