#pragma once

// Both panels as a device page holds them: built by class name from a host layout into a window
// that records every notification it receives.

#include "common/Paths.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "editors/EditorControls.h"
#include "support/QtTestUtil.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"
#include "toolkit/WindowImplBase.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <gtest/gtest.h>
#include <vector>

namespace q407::editors::test {

struct Notification {
    QString type;
    QString sender;
    qint64 wParam = 0;
    qint64 lParam = 0;
};

class RecordingWindow : public toolkit::WindowImplBase {
public:
    QString GetSkinFile() const override { return {}; }
    QString GetWindowClassName() const override { return QStringLiteral("PanelTestWnd"); }
    void Notify(toolkit::TNotifyUI& msg) override {
        received.push_back({msg.sType, msg.SenderName(), msg.wParam, msg.lParam});
    }
    std::vector<Notification> OfType(const QString& type) const {
        std::vector<Notification> result;
        for (const auto& entry : received) {
            if (entry.type == type) {
                result.push_back(entry);
            }
        }
        return result;
    }
    std::vector<Notification> received;
};

class PanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto& resources = toolkit::ResourceManager::Instance();
        const auto skin = q407::paths::DataDir() / "skin";
        resources.SetResourcePath(QString::fromStdString(skin.string()) + QLatin1Char('/'));
        ASSERT_TRUE(resources.LoadResource(QStringLiteral("res.xml")));
        RegisterEditorControls();
    }

    void SetUp() override {
        ASSERT_TRUE(toolkit::ResourceManager::Instance().LoadLanguage(QStringLiteral("lan_en.qm")));
        host = toolkit::BuildSubTree(testutil::TestData("editors/panelhost.xml"), &window);
        ASSERT_NE(host, nullptr);
        profile = host->findChild<CDeviceProfileUI*>(QStringLiteral("DeviceProfileItem"));
        light = host->findChild<CLightControlUI*>(QStringLiteral("LightControlItem"));
        ASSERT_NE(profile, nullptr);
        ASSERT_NE(light, nullptr);
        window.received.clear();
    }

    template <typename T = QWidget>
    T* Find(const QWidget* panel, const char* name) const {
        return qobject_cast<T*>(toolkit::FindSubControlByName(panel, QLatin1String(name)));
    }

    // Writes a picture of `panel` on the dark page background, at 96 DPI and at 1.5 times that
    // scale (144 DPI).
    void SaveScreenshot(QWidget* panel, const QString& name) {
        // Laid out as on a page of the main window.
        window.show();
        // Layout requests travel up one level per pass.
        const auto settle = [] {
            for (int pass = 0; pass < 10; ++pass) {
                QCoreApplication::processEvents();
            }
        };
        settle();
        window.resize(760, 560);
        settle();
        const QSize size = panel->size();
        QDir().mkpath(QStringLiteral(Q407_SCREENSHOT_DIR));
        const QString base = QStringLiteral(Q407_SCREENSHOT_DIR "/") + name;
        for (const auto& [scale, suffix] :
             {std::pair{1.0, ".png"}, std::pair{1.5, "@144dpi.png"}}) {
            QPixmap picture(size * scale);
            picture.setDevicePixelRatio(scale);
            picture.fill(QColor(0x12, 0x18, 0x1d));
            panel->render(&picture, {}, {}, QWidget::DrawChildren);
            const QString file = base + QLatin1String(suffix);
            ASSERT_TRUE(picture.save(file));
            EXPECT_EQ(QImage(file).size(), size * scale);
        }
    }

    RecordingWindow window;
    QWidget* host = nullptr;
    CDeviceProfileUI* profile = nullptr;
    CLightControlUI* light = nullptr;
};

} // namespace q407::editors::test
