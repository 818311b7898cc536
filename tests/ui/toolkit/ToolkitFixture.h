#pragma once

#include "support/QtTestUtil.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/WindowImplBase.h"

#include <QFrame>
#include <gtest/gtest.h>
#include <vector>

// A custom control the factory knows.
class CTestDialUI : public QWidget {
public:
    explicit CTestDialUI(QWidget* parent) : QWidget(parent) {}
};

struct Received {
    QString type;
    QString sender;
    qint64 wParam;
    qint64 lParam;
};

class NotifyRecorder : public q407::toolkit::INotifyUI {
public:
    void Notify(q407::toolkit::TNotifyUI& msg) override {
        received.push_back({msg.sType, msg.SenderName(), msg.wParam, msg.lParam});
    }
    // Notifications of one type, in arrival order.
    std::vector<Received> OfType(const QString& type) const {
        std::vector<Received> result;
        for (const auto& entry : received) {
            if (entry.type == type) {
                result.push_back(entry);
            }
        }
        return result;
    }
    bool Has(const QString& type, const QString& sender) const {
        for (const auto& entry : received) {
            if (entry.type == type && entry.sender == sender) {
                return true;
            }
        }
        return false;
    }
    std::vector<Received> received;
};

class TestWindow : public q407::toolkit::WindowImplBase, public NotifyRecorder {
public:
    explicit TestWindow(QString skin = QStringLiteral("XML_TEST")) : m_skin(std::move(skin)) {}
    QString GetSkinFile() const override { return m_skin; }
    QString GetWindowClassName() const override { return QStringLiteral("TestWnd"); }
    void InitWindow() override { ++initCalls; }
    void Notify(q407::toolkit::TNotifyUI& msg) override { NotifyRecorder::Notify(msg); }
    QWidget* CreateControl(const QString& className, QWidget* parent) override {
        if (className == QLatin1String("CallbackOnlyUI")) {
            return new QFrame(parent);
        }
        return nullptr;
    }
    bool HandleMessage(uint message, qint64 wParam, qint64 lParam, qint64& result) override {
        messages.push_back(message);
        result = wParam + lParam;
        return true;
    }

    int initCalls = 0;
    std::vector<uint> messages;

private:
    QString m_skin;
};

class ToolkitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto& resources = q407::toolkit::ResourceManager::Instance();
        resources.SetResourcePath(testutil::TestData("toolkit/skin"));
        ASSERT_TRUE(resources.LoadResource(QStringLiteral("res.xml")));
        resources.SetLanguagePath(QStringLiteral(Q407_TEST_LANGUAGE_DIR));
        q407::toolkit::RegistControl<CTestDialUI>(QStringLiteral("CTestDialUI"));
    }
    void SetUp() override {
        auto& resources = q407::toolkit::ResourceManager::Instance();
        resources.SetAllDPI(96);
        ASSERT_TRUE(resources.LoadLanguage(QStringLiteral("lan_a.qm")));
        resources.SetTextQuery({});
    }
};
