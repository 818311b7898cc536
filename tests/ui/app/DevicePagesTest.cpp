// The main window with simulated products on the virtual bus: pages are created on arrival,
// their selector entries shown and selected, hidden again on removal with another entry
// selected, the same page reused on re-plug, and cable and receiver of one product share a page.

#include "app/CMainWnd.h"
#include "app/Startup.h"
#include "common/Diag.h"
#include "common/Paths.h"
#include "editors/CLightControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaUSBDevice.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/QtTestUtil.h"
#include "support/UiTestScopes.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"

#include <QStackedWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using q407::sim::SimProduct;
using q407::sim::SimulatedProduct;

class DevicePagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString skin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
        ASSERT_TRUE(q407::app::SetupUiResources(skin + QLatin1Char('/')));
    }
    void SetUp() override {
        ASSERT_TRUE(m_home.IsValid());
        m_window = std::make_unique<q407::app::CMainWnd>(nullptr, &m_bus);
        ASSERT_TRUE(m_window->Create(QStringLiteral("Q407"), QSize(800, 572)));
        ASSERT_TRUE(testutil::WaitUntil([&] { return m_window->isVisible(); }));
    }
    void TearDown() override {
        m_window.reset();
        for (auto& product : m_products) {
            product->Unplug();
        }
    }
    std::shared_ptr<SimulatedProduct> Plug(SimProduct kind) {
        auto product = SimulatedProduct::Create(kind);
        EXPECT_TRUE(product->PlugInto(m_bus));
        m_products.push_back(product);
        return product;
    }
    q407::app::DevicePages& Pages() { return *m_window->Pages(); }
    bool EntryVisible(int page) {
        return Pages().Entry(page) != nullptr && !Pages().Entry(page)->isHidden();
    }
    bool HintVisible() {
        return !m_window->FindControl(QStringLiteral("No_device_Link"))->isHidden();
    }

    testutil::UserFolderScope m_home;
    testutil::ScriptedDialogsScope m_dialogs;
    q407::diag::Capture m_diagnostics;
    q407::sim::VirtualHidBus m_bus;
    std::vector<std::shared_ptr<SimulatedProduct>> m_products;
    std::unique_ptr<q407::app::CMainWnd> m_window;
};

TEST_F(DevicePagesTest, NoDeviceShowsTheHintAndTheMousePagesExistHidden) {
    EXPECT_TRUE(HintVisible());
    ASSERT_EQ(Pages().PageCount(), 2) << "the two mouse products' pages are made in advance";
    EXPECT_FALSE(EntryVisible(0));
    EXPECT_FALSE(EntryVisible(1));
    EXPECT_EQ(Pages().SelectedPage(), -1);
}

TEST_F(DevicePagesTest, PlugShowsAndSelectsUnplugHidesAndReplugReusesThePage) {
    auto mouse = Plug(SimProduct::MouseA);
    ASSERT_TRUE(testutil::WaitUntil([&] { return EntryVisible(0); }));
    EXPECT_EQ(Pages().SelectedPage(), 0);
    EXPECT_FALSE(HintVisible());
    auto* pageStack = m_window->FindControl<QStackedWidget>(QStringLiteral("device_switch"));
    EXPECT_EQ(pageStack->currentWidget(), Pages().Page(0));
    EXPECT_TRUE(m_diagnostics.Contains("添加一个鼠标设备"));
    EXPECT_EQ(q407::toolkit::ControlText(q407::toolkit::FindSubControlByName(
                  Pages().Entry(0), QStringLiteral("device_select"))),
              QStringLiteral("Mouse"))
        << "the entry shows its product";
    q407::pages::CKestravaUSBDevice* page = Pages().Page(0);

    auto pad = Plug(SimProduct::MousePad);
    ASSERT_TRUE(testutil::WaitUntil([&] { return Pages().PageCount() == 3 && EntryVisible(2); }));
    EXPECT_EQ(Pages().SelectedPage(), 0) << "a second device does not take the selection";

    mouse->Unplug();
    ASSERT_TRUE(testutil::WaitUntil([&] { return !EntryVisible(0); }));
    EXPECT_EQ(Pages().SelectedPage(), 2) << "the next visible entry is selected";
    EXPECT_TRUE(m_diagnostics.Contains("鼠标设备丢失"));

    pad->Unplug();
    ASSERT_TRUE(testutil::WaitUntil([&] { return !EntryVisible(2); }));
    EXPECT_TRUE(HintVisible());

    auto again = Plug(SimProduct::MouseA);
    ASSERT_TRUE(testutil::WaitUntil([&] { return EntryVisible(0); }));
    EXPECT_EQ(Pages().Page(0), page) << "pages are never destroyed, only reattached";
    EXPECT_EQ(Pages().PageCount(), 3);
}

TEST_F(DevicePagesTest, OnlyTheSelectedPageOfAShownWindowAnimates) {
    ASSERT_GE(Pages().PageCount(), 2);
    EXPECT_TRUE(Pages().Page(0)->Model().IsPreviewPaused()) << "no device: nothing selected";
    Plug(SimProduct::MouseA);
    Plug(SimProduct::MousePad);
    ASSERT_TRUE(
        testutil::WaitUntil([&] { return EntryVisible(0) && Pages().VisibleEntryCount() == 2; }));
    const int pad = Pages().PageCount() - 1;
    ASSERT_TRUE(testutil::WaitUntil([&] { return Pages().Entry(pad)->IsActivated(); }));
    ASSERT_EQ(Pages().SelectedPage(), 0);
    EXPECT_FALSE(Pages().Page(0)->Model().IsPreviewPaused());
    EXPECT_TRUE(Pages().Page(pad)->Model().IsPreviewPaused());

    Pages().Select(pad);
    EXPECT_TRUE(Pages().Page(0)->Model().IsPreviewPaused());
    EXPECT_FALSE(Pages().Page(pad)->Model().IsPreviewPaused());

    m_window->hide();
    EXPECT_TRUE(Pages().Page(pad)->Model().IsPreviewPaused());
    EXPECT_FALSE(Pages().Entry(pad)->IsTimerActive(q407::pages::CDeviceOptionUI::kTimerPreview));
    ASSERT_TRUE(Pages().CreatePage(4)); // made while hidden
    EXPECT_TRUE(Pages().Page(Pages().PageCount() - 1)->Model().IsPreviewPaused());
    m_window->show();
    EXPECT_FALSE(Pages().Page(pad)->Model().IsPreviewPaused());
    EXPECT_TRUE(Pages().Entry(pad)->IsTimerActive(q407::pages::CDeviceOptionUI::kTimerPreview));
    EXPECT_TRUE(Pages().Page(0)->Model().IsPreviewPaused());
}

TEST_F(DevicePagesTest, EntryClickSelectsItsPage) {
    Plug(SimProduct::MouseA);
    Plug(SimProduct::MousePad);
    ASSERT_TRUE(testutil::WaitUntil([&] { return EntryVisible(0) && EntryVisible(2); }));
    Pages().Entry(2)->SetSelected(true); // as a click on its "device_select" option does
    EXPECT_EQ(Pages().SelectedPage(), 2);
    EXPECT_FALSE(Pages().Entry(0)->IsSelected());
    auto* pageStack = m_window->FindControl<QStackedWidget>(QStringLiteral("device_switch"));
    EXPECT_EQ(pageStack->currentWidget(), Pages().Page(2));
}

TEST_F(DevicePagesTest, LightControlReachesEveryLitPageAndPagesMadeLater) {
    ASSERT_GE(Pages().PageCount(), 1);
    EXPECT_TRUE(Pages().Page(0)->Model().LightOutput()) << "the program drives lighting at start";
    qint64 result = 0;
    m_window->HandleMessage(q407::app::MessageNumber(q407::app::RegisteredMessage::LightOwnerSet),
                            1, 0, result);
    EXPECT_FALSE(Pages().Page(0)->Model().LightOutput());
    ASSERT_TRUE(Pages().CreatePage(3)); // the mouse pad, made while another program has the light
    const int pad = Pages().PageCount() - 1;
    EXPECT_FALSE(Pages().Page(pad)->Model().LightOutput());

    m_window->HandleMessage(q407::app::MessageNumber(q407::app::RegisteredMessage::LightOwnerSet),
                            1, 1, result);
    EXPECT_TRUE(Pages().Page(0)->Model().LightOutput());
    EXPECT_TRUE(Pages().Page(pad)->Model().LightOutput());
    // Sleep takes the lighting away from every page; waking gives back the user's choice.
    m_window->HandleMessage(q407::app::kPowerBroadcastMessage, q407::app::kPowerSuspend, 0, result);
    EXPECT_FALSE(Pages().Page(pad)->Model().LightOutput());
    m_window->HandleMessage(q407::app::kPowerBroadcastMessage, q407::app::kPowerResume, 0, result);
    EXPECT_TRUE(Pages().Page(pad)->Model().LightOutput());
}

TEST_F(DevicePagesTest, GameEventPreviewsALightModeOnTheSelectedPageUntilItsTimerEnds) {
    auto mouse = Plug(SimProduct::MouseA);
    ASSERT_TRUE(testutil::WaitUntil([&] { return Pages().SelectedPage() == 0; }));
    auto& model = Pages().Page(0)->Model();
    const std::uint8_t own = model.GetLightParams().mode;
    const std::uint8_t game = own == 4 ? 3 : 4;

    m_window->OnRegisteredMessage(q407::app::RegisteredMessage::GameKill, 1, game);
    EXPECT_EQ(model.GetLightParams().mode, game);
    EXPECT_TRUE(m_window->HasTimer(m_window->Root(), q407::app::kTimerGameLight));
    // A second event while the first still shows keeps the page's own settings to go back to.
    m_window->OnRegisteredMessage(q407::app::RegisteredMessage::GameDeath, 2, 7);
    EXPECT_EQ(model.GetLightParams().mode, 7);
    m_window->OnRegisteredMessage(q407::app::RegisteredMessage::GameStart, 0, 300);
    EXPECT_EQ(model.GetLightParams().mode, 7) << "a mode beyond a byte is not a light mode";

    q407::toolkit::TNotifyUI timer;
    timer.sType = QStringLiteral("timer");
    timer.pSender = m_window->Root();
    timer.wParam = q407::app::kTimerGameLight;
    m_window->Notify(timer);
    EXPECT_EQ(model.GetLightParams().mode, own);
    EXPECT_FALSE(m_window->HasTimer(m_window->Root(), q407::app::kTimerGameLight));
}

TEST_F(DevicePagesTest, LightingPanelsOfferTheSameModeOnlyWithSeveralDevicesShown) {
    Plug(SimProduct::MouseA);
    ASSERT_TRUE(testutil::WaitUntil([&] { return EntryVisible(0); }));
    q407::editors::CLightControlUI* light = Pages().Page(0)->LightPanel();
    ASSERT_NE(light, nullptr);
    EXPECT_FALSE(light->IsSameModeAvailable());
    auto pad = Plug(SimProduct::MousePad);
    ASSERT_TRUE(testutil::WaitUntil([&] { return Pages().VisibleEntryCount() == 2; }));
    EXPECT_TRUE(light->IsSameModeAvailable());
    pad->Unplug();
    ASSERT_TRUE(testutil::WaitUntil([&] { return Pages().VisibleEntryCount() == 1; }));
    EXPECT_FALSE(light->IsSameModeAvailable());
}

TEST(PageRows, ReceiverSharesThePageOfItsCable) {
    const auto rows = q407::hid::SupportedDevices();
    // Mouse A: cable command row 4, receiver command row 6 pairs back to it.
    EXPECT_EQ(q407::app::PageRowOfSlot(rows[6]), 4);
    EXPECT_EQ(q407::app::PageRowOfSlot(rows[7]), 4) << "the receiver's event interface too";
    EXPECT_EQ(q407::app::PageRowOfSlot(rows[5]), 4);
    EXPECT_EQ(q407::app::PageRowOfSlot(rows[12]), 12) << "the mouse pad has no pair";
    q407::hid::DeviceIdentity unknown;
    unknown.vendorId = 1;
    EXPECT_EQ(q407::app::PageRowOfSlot(unknown), -1);
}

} // namespace
