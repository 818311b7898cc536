#pragma once

// The main window on the real skin for the shell's window tests, with a user folder (and
// settings) of its own, scripted dialogs, and the virtual bus for the products a test plugs in;
// they are unplugged and the DPI is 96 again afterwards.

#include "app/CMainWnd.h"
#include "app/Startup.h"
#include "common/Paths.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"
#include "support/UiTestScopes.h"
#include "toolkit/ResourceManager.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

class ShellTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString skin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
        ASSERT_TRUE(q407::app::SetupUiResources(skin + QLatin1Char('/')));
    }
    void SetUp() override {
        ASSERT_TRUE(m_home.IsValid());
        m_window = std::make_unique<q407::app::CMainWnd>(nullptr, &m_bus);
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
