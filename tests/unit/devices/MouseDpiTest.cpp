// The mouse page's DPI rules: typed text, clamping to the slider range and the 50-DPI grid, and
// the stepped sensor's stored units.

#include "devices/MouseModel.h"

#include <gtest/gtest.h>

namespace q407::devices {
namespace {

TEST(MouseDpi, TypedTextIsClampedAndRoundedUp) {
    EXPECT_EQ(ParseDpiText("49"), 50);
    EXPECT_EQ(ParseDpiText("26001"), 26000);
    EXPECT_EQ(ParseDpiText("1001"), 1050);
    EXPECT_EQ(ParseDpiText("1000"), 1000);
    EXPECT_EQ(ParseDpiText("25951"), 26000);
    EXPECT_EQ(ParseDpiText("  800 "), 800);
    EXPECT_EQ(ParseDpiText("+51"), 100);
}

TEST(MouseDpi, EmptyGarbageNegativeAndHugeTextNeverEscapeTheRange) {
    EXPECT_EQ(ParseDpiText(""), 50);
    EXPECT_EQ(ParseDpiText("dpi"), 50);
    EXPECT_EQ(ParseDpiText("-"), 50);
    EXPECT_EQ(ParseDpiText("-3200"), 50);
    EXPECT_EQ(ParseDpiText("1600x"), 1600); // the leading number counts
    EXPECT_EQ(ParseDpiText("99999999999999999999999999999999"), 26000);
    EXPECT_EQ(ParseDpiText(std::string_view("12\0"
                                            "34",
                                            5)),
              50);
    EXPECT_EQ(ClampDpi(-9'000'000'000'000LL), 50);
    EXPECT_EQ(ClampDpi(9'000'000'000'000LL), 26000);
}

TEST(MouseDpi, SteppedSensorStoresUnitsAndShowsTheDpiAgain) {
    const SensorInfo stepped{kSteppedSensor, 50, 100};
    EXPECT_EQ(DpiToStored(1600, stepped), 30);
    EXPECT_EQ(StoredToDpi(30, stepped), 1600);
    // A value between two units shows the next multiple of 50 above it.
    const SensorInfo odd{kSteppedSensor, 30, 100};
    EXPECT_EQ(DpiToStored(1650, odd), 51);
    EXPECT_EQ(StoredToDpi(51, odd), 1650);
    for (int dpi = kDpiMin; dpi <= kDpiMax; dpi += 350) {
        const int shown = StoredToDpi(DpiToStored(dpi, stepped), stepped);
        EXPECT_EQ(shown, dpi < 150 ? 100 : dpi) << dpi;
    }
}

TEST(MouseDpi, SteppedSensorWithoutStepOrBelowItsBaseStaysSound) {
    const SensorInfo noStep{kSteppedSensor, 0, 100};
    EXPECT_EQ(DpiToStored(1600, noStep), 1500);
    EXPECT_EQ(StoredToDpi(1500, noStep), 1600);
    const SensorInfo highBase{kSteppedSensor, 50, 800};
    EXPECT_EQ(DpiToStored(400, highBase), 0);
    EXPECT_EQ(StoredToDpi(0, highBase), 800);
    EXPECT_EQ(DpiToStored(26000, SensorInfo{kSteppedSensor, 1, 0}), 26000);
}

TEST(MouseDpi, OtherSensorsStoreTheDpiItself) {
    const SensorInfo plain{0x3325, 50, 100};
    EXPECT_EQ(DpiToStored(1600, plain), 1600);
    EXPECT_EQ(StoredToDpi(1600, plain), 1600);
    EXPECT_EQ(StoredToDpi(1234, plain), 1234);
}

TEST(MouseDpi, SensorIsReadFromTheDeviceInformation) {
    std::array<std::uint8_t, 34> info{};
    info[9] = 0x95;
    info[10] = 0x33;
    info[11] = 50;
    info[14] = 0x2C;
    info[15] = 0x01;
    EXPECT_EQ(SensorFromDeviceInfo(info), (SensorInfo{0x3395, 50, 300}));
    EXPECT_EQ(SensorFromDeviceInfo(std::span(info.data(), 10)), SensorInfo{});
}

TEST(MouseSettings, SystemPointerSpeedAndFieldKinds) {
    EXPECT_EQ(MouseModel::SystemPointerSpeed(0), 2);
    EXPECT_EQ(MouseModel::SystemPointerSpeed(4), 10);
    EXPECT_EQ(MouseModel::SystemPointerSpeed(9), 20);
    EXPECT_EQ(MouseModel::SystemPointerSpeed(50), 20);
    EXPECT_EQ(MouseModel::SystemPointerSpeed(-5), 1);
    EXPECT_FALSE(IsDeviceField(MouseField::PointerSpeed));
    EXPECT_FALSE(IsDeviceField(MouseField::WheelLines));
    EXPECT_TRUE(IsDeviceField(MouseField::Dormancy));
    EXPECT_TRUE(IsDeviceField(MouseField::AngleSnapping));
}

} // namespace
} // namespace q407::devices
