// The page side on the offscreen platform: a page built from its layout binds its picture
// buttons and shows the preview, passes on only its own notifications and switches its feature
// tabs; the battery indicator shows each power state; the selector entry drives a page attached
// to a simulated product with its timers, and the threads hand their work to the UI thread.

#include "common/Diag.h"
#include "common/Paths.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaUSBDevice.h"
#include "pages/CMpDevicePowerUI.h"
#include "pages/PictureControls.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/QtTestUtil.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"
#include "toolkit/WindowImplBase.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <gtest/gtest.h>

namespace q407::pages {
namespace {

namespace devices = q407::devices;
namespace hid = q407::hid;
namespace sim = q407::sim;

// A model whose link answer the test chooses.
class LinkModel : public devices::DeviceModel {
public:
    using DeviceModel::DeviceModel;
    bool IsLinkOnline() override { return online.load(); }
    std::atomic<bool> online{true};
};

// A page that counts the operations its selector entry and threads run.
class CountingPage : public CKestravaUSBDevice {
public:
    using CKestravaUSBDevice::CKestravaUSBDevice;
    void Activate() override {
        ++activations;
        Model().StartLightThread();
    }
    void OnProfileSelected() override { ++resyncs; }
    void RefreshPage() override { ++refreshes; }
    void PollPower() override { ++powerPolls; }
    LinkModel& Link() { return static_cast<LinkModel&>(Model()); }

    int activations = 0;
    int resyncs = 0;
    int refreshes = 0;
    int powerPolls = 0;
    QStringList notified;

protected:
    std::unique_ptr<devices::DeviceModel> MakeModel(hid::HidBackend& backend) override {
        return std::make_unique<LinkModel>(backend);
    }
    void HandlePageNotify(toolkit::TNotifyUI& msg) override { notified << msg.SenderName(); }
};

// The main window as the entry sees it: it receives the entry's show and hide messages.
class TestWindow : public toolkit::WindowImplBase {
public:
    QString GetSkinFile() const override { return {}; }
    QString GetWindowClassName() const override { return QStringLiteral("TestWnd"); }
    bool HandleMessage(uint message, qint64 wParam, qint64 lParam, qint64& result) override {
        result = 0;
        if (message == CDeviceOptionUI::kShowEntryMessage) {
            shows.push_back({wParam, lParam});
        }
        return true;
    }
    std::vector<std::pair<qint64, qint64>> shows;
};

const QString kPageLayout = testutil::TestData("devices/testdevicepage.xml");

class DevicePageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto& resources = toolkit::ResourceManager::Instance();
        const auto skin = q407::paths::DataDir() / "skin";
        resources.SetResourcePath(QString::fromStdString(skin.string()) + QLatin1Char('/'));
        ASSERT_TRUE(resources.LoadResource(QStringLiteral("res.xml")));
        RegisterDevicePageControls();
        // The page class of the test layout.
        toolkit::ControlFactory::Instance().RegistControl(
            QStringLiteral("CKestravaUSBDevice"),
            [](QWidget* parent) { return new CountingPage(parent); });
    }

    // Builds the test page for option row `row` and the given command-interface type.
    CountingPage* BuildPage(int row, std::uint16_t deviceType, std::string pageLayout) {
        m_layoutPath = std::move(pageLayout);
        auto* page = dynamic_cast<CountingPage*>(
            toolkit::BuildSubTree(kPageLayout, &window, DevicePageControl));
        if (page == nullptr) {
            return nullptr;
        }
        hid::DeviceLayout layout = hid::DeviceLayouts()[static_cast<std::size_t>(row)];
        layout.pageLayout = m_layoutPath;
        hid::DeviceIdentity identity;
        identity.deviceType = deviceType;
        EXPECT_TRUE(page->SetUp(bus, hid::DeviceOptions()[static_cast<std::size_t>(row)], layout,
                                row, identity, &window));
        return page;
    }

    CDeviceOptionUI* BuildEntry(CountingPage* page, int index) {
        auto* entry = qobject_cast<CDeviceOptionUI*>(toolkit::BuildSubTree(
            QStringLiteral("XML/CustomControlXML/DeviceOption.xml"), &window));
        if (entry != nullptr) {
            entry->SetPage(page, index);
        }
        return entry;
    }

    TestWindow window;
    sim::VirtualHidBus bus;
    std::string m_layoutPath;
};

TEST_F(DevicePageTest, PictureButtonsAreBoundByPrefixAndRange) {
    CountingPage* page = BuildPage(0, hid::kDeviceMouse, "XML/DeviceXml/mousedevice.xml");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->SelectorEntry(), nullptr);
    ASSERT_EQ(page->KeyButtons().size(), 11);
    ASSERT_EQ(page->LightButtons().size(), 15);
    ASSERT_NE(page->PicturePanel(), nullptr);
    EXPECT_EQ(page->PicturePanel()->objectName(), QStringLiteral("device_picture"));

    EXPECT_EQ(page->KeyButtons()[3]->objectName(), QStringLiteral("key_3"));
    EXPECT_EQ(page->KeyButtons()[10]->objectName(), QStringLiteral("key_10"));
    EXPECT_EQ(page->KeyButtons()[5]->objectName(), QStringLiteral("KEY_5"))
        << "the key prefix is compared without case";
    EXPECT_EQ(page->KeyButtons()[7], nullptr) << "a plain button is no picture button";
    EXPECT_EQ(page->KeyButtons()[9], nullptr) << "only the picture panel's buttons are bound";
    QWidget* otherPrefix = toolkit::FindSubControlByName(page, QStringLiteral("light_0_2"));
    ASSERT_NE(otherPrefix, nullptr);
    EXPECT_FALSE(LightColour(otherPrefix).isValid()) << "\"light_0_\" is another prefix";
    EXPECT_EQ(page->LightButtons()[2]->objectName(), QStringLiteral("light_2"));
    for (int i = 0; i < 15; ++i) {
        ASSERT_NE(page->LightButtons()[i], nullptr) << i;
        EXPECT_EQ(LightColour(page->LightButtons()[i]), QColor(255, 255, 255, 255)) << i;
    }
    QWidget* light20 = toolkit::FindSubControlByName(page, QStringLiteral("light_20"));
    ASSERT_NE(light20, nullptr);
    EXPECT_FALSE(LightColour(light20).isValid()) << "light_20 lies beyond 15 LEDs";
}

TEST_F(DevicePageTest, PageWithoutLayoutHasNoPictureButtons) {
    CountingPage* page = BuildPage(0, hid::kDeviceMouse, "");
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->KeyButtons().isEmpty());
    EXPECT_TRUE(page->LightButtons().isEmpty());
    EXPECT_EQ(page->Model().KeyCount(), 0);
    EXPECT_EQ(page->Model().LedCount(), 0);
    page->Model().PreviewSteady(); // frames act on empty lists
    page->RenderPreview();
}

TEST_F(DevicePageTest, SetUpAppliesTheRows) {
    CountingPage* page = BuildPage(3, hid::kDeviceMousePad, "XML/DeviceXml/mousepaddevice.xml");
    ASSERT_NE(page, nullptr);
    const devices::DeviceModel& model = page->Model();
    EXPECT_EQ(model.Kind(), devices::kKindMousePad);
    EXPECT_EQ(model.LayoutIndex(), 3);
    EXPECT_EQ(model.LedCount(), 15);
    EXPECT_EQ(model.KeyCount(), 0);
    EXPECT_EQ(model.GetDeviceIndex(), 2);
    EXPECT_EQ(model.LightConfigName(), "ravik_light");
    EXPECT_EQ(model.DeviceFolderName(), "MousePad");
    EXPECT_EQ(page->MainWindow(), &window);
    EXPECT_FALSE(page->SetUp(bus, hid::DeviceOptions()[3], hid::DeviceLayouts()[3], 3, {}, &window))
        << "a page is set up once";
}

TEST_F(DevicePageTest, RenderPreviewPaintsVisibleLightButtonsWhileLightOutputIsOn) {
    CountingPage* page = BuildPage(0, hid::kDeviceMouse, "XML/DeviceXml/mousedevice.xml");
    ASSERT_NE(page, nullptr);
    devices::DeviceModel& model = page->Model();
    model.SetLedColour(4, {10, 20, 30, 40});
    page->RenderPreview();
    EXPECT_EQ(LightColour(page->LightButtons()[4]), QColor(255, 255, 255, 255))
        << "without light output the buttons keep their colour";

    model.SetLightOutput(true);
    page->LightButtons()[6]->hide();
    page->RenderPreview();
    EXPECT_EQ(LightColour(page->LightButtons()[4]), QColor(10, 20, 30, 40));
    EXPECT_EQ(LightColour(page->LightButtons()[0]), QColor(0, 0, 0, 0));
    EXPECT_EQ(LightColour(page->LightButtons()[6]), QColor(255, 255, 255, 255))
        << "a hidden button is left alone";
}

TEST_F(DevicePageTest, OnlyThePagesOwnControlsArePassedOn) {
    CountingPage* page = BuildPage(0, hid::kDeviceMouse, "XML/DeviceXml/mousedevice.xml");
    ASSERT_NE(page, nullptr);
    QWidget* own = toolkit::FindSubControlByName(page, QStringLiteral("page_button"));
    ASSERT_NE(own, nullptr);
    QPushButton stranger;
    stranger.setObjectName(QStringLiteral("page_button"));

    q407::diag::Capture capture;
    toolkit::TNotifyUI fromPage{QStringLiteral("click"), own, 0, 0};
    page->Notify(fromPage);
    toolkit::TNotifyUI fromElsewhere{QStringLiteral("click"), &stranger, 0, 0};
    page->Notify(fromElsewhere);
    toolkit::TNotifyUI fromNobody{QStringLiteral("click"), nullptr, 0, 0};
    page->Notify(fromNobody);
    EXPECT_EQ(page->notified, QStringList{QStringLiteral("page_button")});
    EXPECT_TRUE(capture.Contains("测试成功"));
}

TEST_F(DevicePageTest, FeaturePagesSwitchTheTabs) {
    CountingPage* mouse = BuildPage(0, hid::kDeviceMouse, "XML/DeviceXml/mousedevice.xml");
    ASSERT_NE(mouse, nullptr);
    auto* function = qobject_cast<QStackedWidget*>(
        toolkit::FindSubControlByName(mouse, QStringLiteral("device_function_switch")));
    auto* keyFunction = qobject_cast<QStackedWidget*>(
        toolkit::FindSubControlByName(mouse, QStringLiteral("device_key_function_switch")));
    ASSERT_NE(function, nullptr);
    ASSERT_NE(keyFunction, nullptr);
    mouse->SelectFeaturePage(2);
    EXPECT_EQ(function->currentIndex(), 0);
    EXPECT_EQ(keyFunction->currentIndex(), 1);
    mouse->SelectFeaturePage(4);
    EXPECT_EQ(function->currentIndex(), 4);
    EXPECT_EQ(keyFunction->currentIndex(), 1) << "page 4 on a mouse leaves the key tab";
    EXPECT_EQ(mouse->Model().GetFeaturePage(), 4);

    CountingPage* pad = BuildPage(3, hid::kDeviceMousePad, "XML/DeviceXml/mousepaddevice.xml");
    ASSERT_NE(pad, nullptr);
    pad->SelectFeaturePage(4);
    auto* padFunction = qobject_cast<QStackedWidget*>(
        toolkit::FindSubControlByName(pad, QStringLiteral("device_function_switch")));
    auto* padKey = qobject_cast<QStackedWidget*>(
        toolkit::FindSubControlByName(pad, QStringLiteral("device_key_function_switch")));
    EXPECT_EQ(padFunction->currentIndex(), 0);
    EXPECT_EQ(padKey->currentIndex(), 2);
}

TEST_F(DevicePageTest, PowerIndicatorShowsEachState) {
    auto* power = qobject_cast<CMpDevicePowerUI*>(
        toolkit::BuildSubTree(QStringLiteral("XML/CustomControlXML/MpDevicePower.xml"), &window));
    ASSERT_NE(power, nullptr);
    auto* progress = power->findChild<QProgressBar*>(QStringLiteral("device_Power_progress"));
    auto* value = power->findChild<QLabel*>(QStringLiteral("device_power_value"));
    QWidget* wirelessText =
        toolkit::FindSubControlByName(power, QStringLiteral("device_wuxian_logo_text"));
    QWidget* wiredText =
        toolkit::FindSubControlByName(power, QStringLiteral("device_youxian_logo_text"));
    QWidget* logo = toolkit::FindSubControlByName(power, QStringLiteral("device_wuxian_logo"));
    QWidget* status = toolkit::FindSubControlByName(power, QStringLiteral("device_power_status"));
    QWidget* phone = toolkit::FindSubControlByName(power, QStringLiteral("device_phone_type"));
    ASSERT_TRUE(progress && value && wirelessText && wiredText && logo && status && phone);

    const std::uint8_t wirelessCharging[6] = {57, 1, 0, 1, 0, 0};
    power->SetPowerState(wirelessCharging, devices::kKindMouse);
    EXPECT_EQ(progress->value(), 57);
    EXPECT_EQ(value->text(), QStringLiteral("57%"));
    EXPECT_FALSE(wirelessText->isHidden());
    EXPECT_TRUE(wiredText->isHidden());
    EXPECT_TRUE(logo->property("bkimage").toString().contains(QStringLiteral("WIFI_down")));
    EXPECT_TRUE(status->property("bkimage").toString().contains(QStringLiteral("powering_down")));

    const std::uint8_t wiredFull[6] = {100, 2, 0, 0, 0, 0};
    power->SetPowerState(wiredFull, devices::kKindKeyboard);
    EXPECT_TRUE(wirelessText->isHidden());
    EXPECT_FALSE(wiredText->isHidden());
    EXPECT_TRUE(logo->property("bkimage").toString().contains(QStringLiteral("WIFI_normal")));
    EXPECT_TRUE(
        status->property("bkimage").toString().contains(QStringLiteral("'power/power.png'")));

    const std::uint8_t padWithPhone[6] = {180, 0, 0, 0, 0, 2};
    power->SetPowerState(padWithPhone, devices::kKindMousePad);
    EXPECT_EQ(progress->value(), 100) << "an impossible level shows as full";
    EXPECT_EQ(value->text(), QStringLiteral("100%"));
    EXPECT_TRUE(
        phone->property("bkimage").toString().contains(QStringLiteral("Phone_type_samsung")));
    EXPECT_TRUE(logo->property("bkimage").toString().contains(QStringLiteral("WIFI_normal")))
        << "the mouse pad leaves the wireless logo alone";
    const std::uint8_t unknownPhone[6] = {10, 0, 0, 0, 0, 9};
    power->SetPowerState(unknownPhone, devices::kKindMousePad);
    EXPECT_TRUE(
        phone->property("bkimage").toString().contains(QStringLiteral("Phone_type_no_device")));

    const std::uint8_t tooShort[3] = {5, 0, 0};
    power->SetPowerState(tooShort, devices::kKindMouse);
    EXPECT_EQ(progress->value(), 10);
    EXPECT_EQ(power->State()[0], 10);
}

class AttachedPageTest : public DevicePageTest {
protected:
    void TearDown() override {
        delete page; // stops its threads before the product goes
    }

    void Attach(sim::SimProduct product, int row, std::uint16_t deviceType, int mode) {
        device = sim::SimulatedProduct::Create(product);
        ASSERT_TRUE(device->PlugInto(bus));
        page = BuildPage(row, deviceType, "XML/DeviceXml/mousedevice.xml");
        ASSERT_NE(page, nullptr);
        entry = BuildEntry(page, 7);
        ASSERT_NE(entry, nullptr);
        entry->hide();
        ASSERT_TRUE(page->AttachCommand(mode, device->CommandPath(bus)));
        ASSERT_TRUE(page->AttachEvents(device->EventPath(bus), deviceType));
    }

    std::shared_ptr<sim::SimulatedProduct> device;
    QPointer<CountingPage> page;
    CDeviceOptionUI* entry = nullptr;
};

TEST_F(AttachedPageTest, CableEntryActivatesOnceAndRunsItsTimers) {
    Attach(sim::SimProduct::MouseA, 0, hid::kDeviceMouse, 1);
    EXPECT_EQ(entry, page->SelectorEntry());
    entry->StartRefresh();
    ASSERT_TRUE(testutil::WaitUntil([&] { return page->activations == 1; }));
    EXPECT_TRUE(entry->IsTimerActive(CDeviceOptionUI::kTimerPreview));
    EXPECT_TRUE(entry->IsTimerActive(CDeviceOptionUI::kTimerPower)) << "the mouse row has power";
    EXPECT_FALSE(entry->IsTimerActive(CDeviceOptionUI::kTimerLink)) << "no link watch by cable";
    EXPECT_TRUE(window.shows.empty()) << "cable entries are shown by the main window";
    ASSERT_TRUE(testutil::WaitUntil([&] { return page->powerPolls >= 1; }));

    // The light thread animates, the preview timer carries the frames to the buttons of a page
    // on screen; a page nobody sees keeps its picture as it was.
    devices::DeviceModel& model = page->Model();
    q407::profiles::LightInfo steady;
    steady.mode = 3;
    steady.brightness = 4;
    steady.red = 250;
    model.SetLightParams(steady);
    model.SetLightOutput(true);
    EXPECT_FALSE(testutil::WaitUntil(
        [&] { return LightColour(page->LightButtons()[14]) == QColor(250, 0, 0, 255); }, 300));
    window.show();
    ASSERT_TRUE(testutil::WaitUntil(
        [&] { return LightColour(page->LightButtons()[14]) == QColor(250, 0, 0, 255); }));
    EXPECT_EQ(page->activations, 1);

    page->DetachCommand();
    EXPECT_FALSE(entry->IsTimerActive(CDeviceOptionUI::kTimerPreview));
    EXPECT_FALSE(entry->IsTimerActive(CDeviceOptionUI::kTimerPower));
}

TEST_F(AttachedPageTest, EventReportsReachTheUiThread) {
    Attach(sim::SimProduct::MouseA, 0, hid::kDeviceMouse, 1);
    ASSERT_TRUE(device->EmitProfileAndStage(3, 2));
    ASSERT_TRUE(testutil::WaitUntil([&] { return page->refreshes == 1; }));
    EXPECT_EQ(page->Model().ProfileSlot(), 3);
    EXPECT_EQ(page->Model().DpiStage(), 2);

    ASSERT_TRUE(device->EmitResync());
    ASSERT_TRUE(testutil::WaitUntil([&] { return page->resyncs == 1; }));
    EXPECT_FALSE(entry->IsTimerActive(CDeviceOptionUI::kTimerResync)) << "the resync runs once";
}

TEST_F(AttachedPageTest, MousePadResynchronisesThroughTimer1002After500ms) {
    Attach(sim::SimProduct::MousePad, 3, hid::kDeviceMousePad, 1);
    ASSERT_TRUE(device->EmitProfileResync()); // ignored on a mouse pad
    ASSERT_TRUE(device->EmitResync());
    ASSERT_TRUE(
        testutil::WaitUntil([&] { return entry->IsTimerActive(CDeviceOptionUI::kTimerResync); }));
    QElapsedTimer armed;
    armed.start();
    ASSERT_TRUE(testutil::WaitUntil([&] { return page->resyncs == 1; }));
    EXPECT_GE(armed.elapsed(), 300) << "the mouse pad waits 500 ms before it reads again";
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(page->resyncs, 1);
}

TEST_F(AttachedPageTest, ReceiverEntryFollowsTheLink) {
    Attach(sim::SimProduct::MouseAReceiver, 0, hid::kDeviceMouseReceiver, 2);
    page->Link().online = false;
    entry->show();
    entry->StartRefresh();
    ASSERT_TRUE(testutil::WaitUntil([&] { return !window.shows.empty(); }));
    EXPECT_EQ(window.shows.front(), std::make_pair(qint64{7}, qint64{0}))
        << "an offline device hides its entry";
    EXPECT_FALSE(entry->IsOnline());
    EXPECT_EQ(page->activations, 0);
    EXPECT_TRUE(entry->IsTimerActive(CDeviceOptionUI::kTimerActivate)) << "asked again later";

    entry->hide();
    page->Link().online = true;
    entry->StartTimer(CDeviceOptionUI::kTimerActivate, 0); // do not wait the 2000 ms here
    ASSERT_TRUE(testutil::WaitUntil([&] { return page->activations == 1; }));
    // The entry asks to be shown with a posted message: on a busy machine it arrives later.
    ASSERT_TRUE(testutil::WaitUntil([&] { return window.shows.size() > 1; }));
    EXPECT_EQ(window.shows.back(), std::make_pair(qint64{7}, qint64{1}));
    EXPECT_TRUE(entry->IsOnline());
    EXPECT_TRUE(entry->IsTimerActive(CDeviceOptionUI::kTimerLink));
}

TEST_F(AttachedPageTest, DestroyingThePageStopsItsThreadsWithinTheirBounds) {
    Attach(sim::SimProduct::MouseA, 0, hid::kDeviceMouse, 1);
    page->Model().StartLightThread();
    QElapsedTimer timer;
    timer.start();
    q407::diag::Capture capture;
    delete page;
    EXPECT_LT(timer.elapsed(), 900);
    EXPECT_TRUE(capture.Contains("MS灯光线程设定退出"));
    EXPECT_TRUE(capture.Contains("MS 设备同步线程设定退出"));
    EXPECT_FALSE(capture.Contains("超时"));
    EXPECT_TRUE(page.isNull());
    EXPECT_EQ(entry->Page(), nullptr);
    entry->StartRefresh();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100); // a page-less entry does nothing
}

} // namespace
} // namespace q407::pages
