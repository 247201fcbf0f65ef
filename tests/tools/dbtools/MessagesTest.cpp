#include "platform/foundation/Bundle.h"
#include "platform/foundation/PlistFile.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/workspace/FakeWorkspace.h"
#include "tests/support/dbtools/ToolTestEnvironment.h"
#include "tools/dbtools/HelpPage.h"
#include "tools/dbtools/ToolMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class ToolMessagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PlistValue::Dictionary table;
        table.insert(QStringLiteral("IDS_WINDOW_TITLE"), QStringLiteral("Tool"));
        table.insert(QStringLiteral("IDS_MSG_ERR_0107"), QStringLiteral("Shell failed"));
        table.insert(QStringLiteral("IDS_MSG_ERR_0110"), QStringLiteral("Bad characters: %@"));
        table.insert(QStringLiteral("IDS_MSG_ERR_0009"), QString());
        table.insert(QStringLiteral("IDS_MSG_ERR_306"), QStringLiteral("Not allowed: %@ (%d)"));
        table.insert(QStringLiteral("IDS_MSG_ERR_-01"), QStringLiteral("minus one"));
        table.insert(QStringLiteral("IDS_BUTTON_MSG_OK"), QStringLiteral("OK"));
        table.insert(QStringLiteral("IDS_BUTTON_MSG_CANCEL"), QStringLiteral("Cancel"));
        table.insert(QStringLiteral("IDS_BUTTON_MSG_YES"), QStringLiteral("Yes"));
        table.insert(QStringLiteral("IDS_BUTTON_MSG_NO"), QStringLiteral("No"));
        const QString bundle = env.folder(QStringLiteral("bundle/en"));
        ASSERT_TRUE(writePlistFile(bundle + QStringLiteral("/Localizable.plist"), PlistValue(table)));
        Bundle::setMain(env.path() + QStringLiteral("/bundle"));
    }
    ToolTestEnvironment env{QStringLiteral("Vostrand")};
};

TEST_F(ToolMessagesTest, KeysTextsAndFallbacks)
{
    const struct {
        int number;
        ToolVariant variant;
        QVariantList args;
        QString text;
    } cases[] = {
        {107, ToolVariant::Vostrand, {}, QStringLiteral("Shell failed")},
        {110, ToolVariant::Vostrand, {QStringLiteral(";")}, QStringLiteral("Bad characters: ;")},
        {9, ToolVariant::Vostrand, {}, QStringLiteral("Undefined Err:   9")},
        {10000, ToolVariant::Vostrand, {}, QStringLiteral("Undefined Err:10000")},
        {-1, ToolVariant::Vostrand, {}, QStringLiteral("Undefined Err:  -1")},
        {111, ToolVariant::Vostrand, {}, QStringLiteral("No Resource")},
        {306, ToolVariant::Harnwick, {QStringLiteral("%s"), 2}, QStringLiteral("Not allowed: %s (2)")},
        {-1, ToolVariant::Harnwick, {}, QStringLiteral("minus one")},
        {12345, ToolVariant::Harnwick, {}, QStringLiteral("No Resource")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToolMessages::errorText(c.number, c.variant, c.args), c.text) << c.number;
}

TEST_F(ToolMessagesTest, AlertAndQuestionGoThroughThePresenter)
{
    ScriptedMessagePresenter presenter;
    EXPECT_EQ(ToolMessages::showError(107, ToolVariant::Vostrand), QStringLiteral("Shell failed"));
    ASSERT_EQ(presenter.shown().size(), 1);
    EXPECT_EQ(presenter.shown().first().request.title, QStringLiteral("Tool"));

    presenter.queueAnswer(kAlertFirstButtonReturn);
    presenter.queueAnswer(kAlertSecondButtonReturn);
    presenter.queueAnswer(kAlertThirdButtonReturn);
    const QStringList buttons{QStringLiteral("Yes"), QStringLiteral("No")};
    EXPECT_EQ(ToolMessages::ask(QStringLiteral("Sure?"), buttons), 1);
    EXPECT_EQ(ToolMessages::ask(QStringLiteral("Sure?"), buttons), 0);
    EXPECT_EQ(ToolMessages::ask(QStringLiteral("Sure?"), buttons), 2);
    EXPECT_EQ(presenter.shown().last().request.buttons, buttons);
}

TEST_F(ToolMessagesTest, ButtonTitles)
{
    using namespace ToolMessages;
    EXPECT_EQ(defaultButtonTitle(kButtonYes), QStringLiteral("Yes"));
    EXPECT_EQ(defaultButtonTitle(kButtonNo), QStringLiteral("No"));
    EXPECT_EQ(defaultButtonTitle(kButtonCancel), QStringLiteral("OK"));
    EXPECT_EQ(defaultButtonTitle(7), QStringLiteral("OK"));
    EXPECT_EQ(alternateButtonTitle(kButtonNo), QStringLiteral("No"));
    EXPECT_EQ(alternateButtonTitle(kButtonYes), QStringLiteral("Yes"));
    EXPECT_EQ(alternateButtonTitle(kButtonOK), QStringLiteral("OK"));
    EXPECT_EQ(alternateButtonTitle(7), QStringLiteral("Cancel"));
}

TEST_F(ToolMessagesTest, HelpOpensPagesOfTheMainApplicationsBookOnly)
{
    FakeWorkspace workspace;
    const QString applications = env.folder(QStringLiteral("apps"));
    HelpPage::setApplicationFolder(applications);
    // No main application beside the tool, then one without a book, then a book without the page.
    EXPECT_EQ(HelpPage::LocateHelpPageByAnchor(QStringLiteral("db_optimized.html")), HelpPage::kNoHelpBook);
    const QString mainResources = env.folder(QStringLiteral("apps/Resources/Pelmora"));
    ASSERT_TRUE(writePlistFile(mainResources + QStringLiteral("/Info.plist"), PlistValue(PlistValue::Dictionary{})));
    EXPECT_EQ(HelpPage::LocateHelpPageByAnchor(QStringLiteral("db_optimized.html")), HelpPage::kNoHelpBook);
    PlistValue::Dictionary info;
    info.insert(QStringLiteral("CFBundleHelpBookName"), QStringLiteral("Pelmora Help"));
    ASSERT_TRUE(writePlistFile(mainResources + QStringLiteral("/Info.plist"), PlistValue(info)));
    EXPECT_EQ(HelpPage::LocateHelpPageByAnchor(QStringLiteral("db_optimized.html")), HelpPage::kNoHelpBook);
    EXPECT_TRUE(workspace.openedUrls.isEmpty());

    const QString page = mainResources + QStringLiteral("/Pelmora Help/db_optimized.html");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(page).path()));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(HelpPage::LocateHelpPageByAnchor(QStringLiteral("db_optimized.html")), 0);
    ASSERT_EQ(workspace.openedUrls.size(), 1);
    EXPECT_EQ(workspace.openedUrls.last().toLocalFile(), page);
    HelpPage::setApplicationFolder(QString());
}

} // namespace
