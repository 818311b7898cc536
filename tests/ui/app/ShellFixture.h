#pragma once

// The main window on the real skin for the shell's window tests, with a user folder (and
// settings) of its own, scripted dialogs, and the virtual bus for the products a test plugs in;
// they are unplugged and the DPI is 96 again afterwards.

#include "app/CMainWnd.h"
#include "app/DevicePages.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaUSBDevice.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/QtTestUtil.h"
#include "support/UiTestScopes.h"
#include "toolkit/ResourceManager.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The window's selected page as a page of type T once it has read its product; nullptr (and a
// failed expectation) when none shows within `timeoutMs`. The limit is generous: under the
// sanitizers on a busy machine, reading a product through its receiver takes many seconds, and a
// page that is ready sooner returns sooner.
template <typename T>
T* ActivatedSelectedPage(q407::app::CMainWnd& window, int timeoutMs = 20000) {
    T* page = nullptr;
    EXPECT_TRUE(testutil::WaitUntil(
        [&] {
            q407::app::DevicePages* pages = window.Pages();
            const int selected = pages == nullptr ? -1 : pages->SelectedPage();
            page = selected < 0 ? nullptr : qobject_cast<T*>(pages->Page(selected));
            return page != nullptr && pages->Entry(selected)->IsActivated();
        },
        timeoutMs));
    return page;
}

class ShellTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString skin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
        ASSERT_TRUE(q407::app::SetupUiResources(skin + QLatin1Char('/')));
    }
    void SetUp() override { CreateWindow(nullptr); }
    // The window, offering the device API through `instance` when there is one.
    void CreateWindow(q407::app::InstanceBus* instance) {
        ASSERT_TRUE(m_home.IsValid());
        m_window = std::make_unique<q407::app::CMainWnd>(instance, &m_bus);
        ASSERT_TRUE(m_window->Create(QStringLiteral("Q407"), QSize(1000, 640)));
    }
    void TearDown() override {
        m_window.reset();
        for (auto& product : m_products) {
            product->Unplug();
        }
        q407::toolkit::ResourceManager::Instance().SetAllDPI(96);
    }
    std::shared_ptr<q407::sim::SimulatedProduct> Plug(q407::sim::SimProduct product) {
        m_products.push_back(q407::sim::SimulatedProduct::Create(product));
        EXPECT_TRUE(m_products.back()->PlugInto(m_bus));
        return m_products.back();
    }

    testutil::UserFolderScope m_home;
    testutil::ScriptedDialogsScope m_dialogs;
    q407::sim::VirtualHidBus m_bus;
    std::vector<std::shared_ptr<q407::sim::SimulatedProduct>> m_products;
    std::unique_ptr<q407::app::CMainWnd> m_window;
};
