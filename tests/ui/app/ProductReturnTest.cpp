// A product that comes back (replugged, its receiver's link restored, the machine resumed) gets
// everything the program drives from the host again: the keyboard's streamed frames, the shared
// lighting effect; and it is read as at first start, never rewritten from the program's copy of
// it. How soon (within a second) is measured by bench_program's BM_ReplugToStreamedFrame; the
// waits here only keep a busy machine from failing the test.

#include "ShellFixture.h"
#include "devices/KeyboardModel.h"
#include "devices/MouseModel.h"
#include "editors/CLightControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaUSBDevice.h"
#include "protocol/Frame.h"
#include "support/QtTestUtil.h"
#include "toolkit/SkinLoader.h"

namespace {

using q407::sim::SimProduct;
using q407::sim::SimulatedProduct;
namespace p = q407::protocol;
namespace mb = q407::devices::mouse_block;

constexpr int kPatienceMs = 5000;

class ProductReturnTest : public ShellTest {
protected:
    // The page of `kind` once its entry is shown and it has read its device, or -1.
    int ActivePage(int kind, int timeoutMs = 8000) {
        int found = -1;
        testutil::WaitUntil(
            [&] {
                auto* pages = m_window->Pages();
                for (int i = 0; i < pages->PageCount(); ++i) {
                    auto* entry = pages->Entry(i);
                    if (pages->Page(i)->Model().Kind() == kind && entry != nullptr &&
                        !entry->isHidden() && entry->IsActivated() &&
                        pages->Page(i)->Model().IsOpen()) {
                        found = i;
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
        return found;
    }
    q407::pages::CKestravaUSBDevice* Page(int index) { return m_window->Pages()->Page(index); }
    void SetMode(int page, int mode) {
        auto record = Page(page)->LightRecord();
        record.mode = static_cast<std::uint8_t>(mode);
        Page(page)->ApplyLightRecord(record);
    }
    void ShareLightingOf(int page) {
        m_window->Pages()->Select(page);
        QWidget* button = q407::toolkit::FindSubControlByName(Page(page)->LightPanel(),
                                                              QStringLiteral("deng_same_mode"));
        ASSERT_NE(button, nullptr);
        q407::toolkit::TNotifyUI msg;
        msg.sType = QStringLiteral("click");
        msg.pSender = button;
        m_window->Notify(msg);
    }
    // Unplugs `product` and waits until its page has let go of it.
    void Unplug(SimulatedProduct& product, int page) {
        product.Unplug();
        ASSERT_TRUE(testutil::WaitUntil([&] { return !Page(page)->Model().IsOpen(); }));
    }
    // Plugs `product` in again and waits for `arrived`.
    void Replug(SimulatedProduct& product, const std::function<bool()>& arrived) {
        EXPECT_TRUE(product.PlugInto(m_bus));
        EXPECT_TRUE(testutil::WaitUntil(arrived, kPatienceMs));
    }
    bool FramesFlow(SimulatedProduct& product, int timeoutMs = 2000) {
        const int before = product.Firmware().LightFramesCompleted();
        return testutil::WaitUntil(
            [&] { return product.Firmware().LightFramesCompleted() > before + 1; }, timeoutMs);
    }
};

class StreamedKeyboardReturnTest : public ProductReturnTest,
                                   public ::testing::WithParamInterface<SimProduct> {};

TEST_P(StreamedKeyboardReturnTest, FramesFlowAgainAfterReplugAndTheMemoryIsOnlyRead) {
    auto keyboard = Plug(GetParam());
    const int page = ActivePage(q407::devices::kKindKeyboard);
    ASSERT_GE(page, 0);
    SetMode(page, q407::devices::kColourInputMode);
    ASSERT_TRUE(FramesFlow(*keyboard));

    Unplug(*keyboard, page);
    keyboard->Firmware().ClearRequests();
    const int before = keyboard->Firmware().LightFramesCompleted();
    Replug(*keyboard, [&] { return keyboard->Firmware().LightFramesCompleted() > before; });
    ASSERT_GE(ActivePage(q407::devices::kKindKeyboard), 0);
    EXPECT_TRUE(FramesFlow(*keyboard));
    EXPECT_GT(keyboard->Firmware().RequestCount(p::kCmdReadSettings), 0) << "read as at start";
    EXPECT_EQ(keyboard->Firmware().RequestCount(p::kCmdWriteSettings), 0);
    EXPECT_EQ(keyboard->Firmware().RequestCount(p::kCmdWriteIndexedBlock), 0);
    EXPECT_EQ(Page(page)->LightRecord().mode, q407::devices::kColourInputMode);
}

INSTANTIATE_TEST_SUITE_P(Connections, StreamedKeyboardReturnTest,
                         ::testing::Values(SimProduct::KeyboardK, SimProduct::KeyboardKReceiver));

TEST_F(ProductReturnTest, PagesFollowTheSharedEffectAgainWhenEitherProductComesBack) {
    auto mouse = Plug(SimProduct::MouseA);
    auto keyboard = Plug(SimProduct::KeyboardK);
    const int mousePage = ActivePage(q407::devices::kKindMouse);
    const int keyboardPage = ActivePage(q407::devices::kKindKeyboard);
    ASSERT_GE(mousePage, 0);
    ASSERT_GE(keyboardPage, 0);
    SetMode(mousePage, 1); // colour cycle: a new colour on every frame
    ShareLightingOf(mousePage);
    const auto follows = [&](int page) { return Page(page)->Model().FollowsSharedLighting(); };
    ASSERT_TRUE(follows(mousePage) && follows(keyboardPage));
    const auto mouseWrites = [&] { return mouse->Firmware().RequestCount(p::kCmdWriteSettings); };

    struct Case {
        const char* away;
        SimulatedProduct* product;
        int page;
    };
    for (const Case& c :
         {Case{"mouse", mouse.get(), mousePage}, Case{"keyboard", keyboard.get(), keyboardPage}}) {
        SCOPED_TRACE(c.away);
        Unplug(*c.product, c.page);
        // Alone, the other page shows its own lighting again.
        const int other = c.page == mousePage ? keyboardPage : mousePage;
        ASSERT_TRUE(testutil::WaitUntil([&] { return !follows(other); }));
        // Changed on the device while away (its own DPI button, another computer).
        mouse->Firmware().SetSettingsByte(mb::kActiveStage, 3);
        const int writes = mouseWrites();
        Replug(*c.product, [&] {
            return follows(mousePage) && follows(keyboardPage) && mouseWrites() > writes + 1;
        });
        ASSERT_GE(ActivePage(c.product == mouse.get() ? q407::devices::kKindMouse
                                                      : q407::devices::kKindKeyboard),
                  0);
        const int more = mouseWrites();
        ASSERT_TRUE(testutil::WaitUntil([&] { return mouseWrites() > more + 1; }));
        EXPECT_EQ(mouse->Firmware().Memory().settingsMemory[mb::kActiveStage], 3)
            << "the frames carry the stage the mouse holds, not the program's copy";
        EXPECT_EQ(q407::devices::SharedModeOf(q407::devices::kKindMouse,
                                              Page(mousePage)->LightRecord().mode),
                  q407::devices::SharedMode::ColourCycle)
            << "the page keeps its lighting, not the last frame read back";
    }
}

TEST_F(ProductReturnTest, ResumeTakesTheLightingBackAndStreamsAgain) {
    auto keyboard = Plug(SimProduct::KeyboardK);
    const int page = ActivePage(q407::devices::kKindKeyboard);
    ASSERT_GE(page, 0);
    SetMode(page, q407::devices::kColourInputMode);
    ASSERT_TRUE(FramesFlow(*keyboard));
    qint64 result = 0;
    m_window->HandleMessage(q407::app::kPowerBroadcastMessage, q407::app::kPowerSuspend, 0, result);
    EXPECT_FALSE(FramesFlow(*keyboard, 400)) << "no frames while the machine sleeps";
    keyboard->Firmware().ClearRequests();
    const int before = keyboard->Firmware().LightFramesCompleted();
    m_window->HandleMessage(q407::app::kPowerBroadcastMessage, q407::app::kPowerResume, 0, result);
    EXPECT_TRUE(testutil::WaitUntil(
        [&] { return keyboard->Firmware().LightFramesCompleted() > before; }, kPatienceMs));
    EXPECT_EQ(keyboard->Firmware().RequestCount(p::kCmdResumeHostLighting), 1);
}

TEST_F(ProductReturnTest, DeviceIsReadAgainWhenItsReceiverLinkComesBack) {
    auto mouse = Plug(SimProduct::MouseAReceiver);
    const int page = ActivePage(q407::devices::kKindMouse);
    ASSERT_GE(page, 0);
    // The page has read its product once: each later activation is a return.
    auto* entry = m_window->Pages()->Entry(page);
    std::vector<int> returns;
    QObject::connect(entry, &q407::pages::CDeviceOptionUI::Activated, entry,
                     [&](int index) { returns.push_back(index); });
    mouse->Firmware().SetSwitchedOff(true);
    ASSERT_TRUE(testutil::WaitUntil([&] { return entry->isHidden(); }, 6000));
    mouse->Firmware().SetSettingsByte(mb::kActiveStage, 4);
    mouse->Firmware().ClearRequests();
    mouse->Firmware().SetSwitchedOff(false);
    EXPECT_TRUE(testutil::WaitUntil([&] { return !entry->isHidden(); }, kPatienceMs));
    ASSERT_TRUE(testutil::WaitUntil([&] { return !returns.empty(); }));
    EXPECT_EQ(returns, std::vector<int>{page});
    auto& model = static_cast<q407::devices::MouseModel&>(Page(page)->Model());
    EXPECT_EQ(model.ActiveStage(), 4) << "read back from the mouse";
    EXPECT_EQ(mouse->Firmware().RequestCount(p::kCmdWriteSettings), 0);
}

} // namespace
