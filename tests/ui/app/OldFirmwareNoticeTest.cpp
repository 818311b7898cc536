// The old-firmware notice: which reports need it, what the user is asked, and which upgrade
// program starts for which language.

#include "app/OldFirmwareNotice.h"

#include "toolkit/Dialogs.h"

#include <gtest/gtest.h>

namespace {

struct Start {
    QString program;
    QStringList arguments;
    QString folder;
};

class OldFirmwareNoticeTest : public ::testing::Test {
protected:
    OldFirmwareNoticeTest() {
        auto dialogs = std::make_unique<q407::toolkit::ScriptedDialogs>();
        m_dialogs = dialogs.get();
        q407::toolkit::SetDialogs(std::move(dialogs));
        m_notice.modelProductId = 0x1234;
        m_notice.folder = "/opt/q407/Update";
        m_notice.start = [this](const QString& program, const QStringList& arguments,
                                const QString& folder) {
            m_starts.push_back({program, arguments, folder});
            return m_startWorks;
        };
    }
    ~OldFirmwareNoticeTest() override { q407::toolkit::SetDialogs(nullptr); }

    q407::toolkit::ScriptedDialogs* m_dialogs = nullptr;
    q407::app::OldFirmwareNotice m_notice;
    std::vector<Start> m_starts;
    bool m_startWorks = true;
};

TEST_F(OldFirmwareNoticeTest, OnlyOldFirmwareOfTheModelNeedsTheNotice) {
    EXPECT_TRUE(q407::app::NeedsOldFirmwareNotice(m_notice, 0x1234, 0x0102));
    EXPECT_TRUE(q407::app::NeedsOldFirmwareNotice(m_notice, 0x1234, 0));
    EXPECT_FALSE(q407::app::NeedsOldFirmwareNotice(m_notice, 0x1234, 0x0103));
    EXPECT_FALSE(q407::app::NeedsOldFirmwareNotice(m_notice, 0x1235, 0x0100));
}

TEST_F(OldFirmwareNoticeTest, ConfirmStartsTheUpgraderOfTheLanguageFromTheUpdateFolder) {
    m_dialogs->Push(1);
    EXPECT_EQ(q407::app::AskOldFirmwareUpgrade(nullptr, m_notice, 0),
              q407::app::OldFirmwareAnswer::Upgrading);
    m_dialogs->Push(1);
    EXPECT_EQ(q407::app::AskOldFirmwareUpgrade(nullptr, m_notice, 3),
              q407::app::OldFirmwareAnswer::Upgrading);
    EXPECT_EQ(m_dialogs->Asked(),
              QStringList({QStringLiteral("box:message_text_30:confirm-cancel"),
                           QStringLiteral("box:message_text_30:confirm-cancel")}));
    ASSERT_EQ(m_starts.size(), 2u);
    EXPECT_EQ(m_starts[0].program, QStringLiteral("/opt/q407/Update/q407-firmware-upgrade-cn"));
    EXPECT_EQ(m_starts[1].program, QStringLiteral("/opt/q407/Update/q407-firmware-upgrade-en"));
    EXPECT_EQ(m_starts[0].arguments, QStringList{QStringLiteral("On the upgrade")});
    EXPECT_EQ(m_starts[0].folder, QStringLiteral("/opt/q407/Update"));
}

TEST_F(OldFirmwareNoticeTest, DecliningStartsNothingAndAFailedStartIsReported) {
    m_dialogs->Push(0);
    EXPECT_EQ(q407::app::AskOldFirmwareUpgrade(nullptr, m_notice, 1),
              q407::app::OldFirmwareAnswer::Declined);
    EXPECT_TRUE(m_starts.empty());
    m_startWorks = false;
    m_dialogs->Push(1);
    EXPECT_EQ(q407::app::AskOldFirmwareUpgrade(nullptr, m_notice, 1),
              q407::app::OldFirmwareAnswer::UpgraderMissing);
}

} // namespace
