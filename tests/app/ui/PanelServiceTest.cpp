#include "app/core/PLDatabasePanels.h"
#include "tests/support/appkit/ScriptedPanelService.h"

#include <gtest/gtest.h>

TEST(PanelService, DatabasePanelsGoThroughItAndOpenOnlyDatabaseFolders)
{
    ScriptedPanelService panels;
    DialogDatabasePanels databases;
    PLDatabasePanels::Request request;
    request.title = QStringLiteral("Open");
    request.allowedTypes = {QStringLiteral("cxdb"), QStringLiteral("pldb")};
    panels.queueOpenAnswer({QStringLiteral("/data/Notes.txt")});
    panels.queueOpenAnswer({QStringLiteral("/data/Old.PLDB")});
    panels.queueSaveAnswer(QStringLiteral("/data/New.cxdb"));
    EXPECT_EQ(databases.runOpenPanel(request), QString());
    EXPECT_EQ(databases.runOpenPanel(request), QStringLiteral("/data/Old.PLDB"));
    EXPECT_EQ(databases.runSavePanel(request), QStringLiteral("/data/New.cxdb"));
    EXPECT_EQ(databases.runOpenPanel(request), QString()) << "nothing queued: cancelled";
    ASSERT_EQ(panels.requests().size(), 4);
    EXPECT_TRUE(panels.requests()[0].chooseDirectories);
    EXPECT_EQ(panels.requests()[2].title, QStringLiteral("Open"));
    EXPECT_EQ(panels.requests()[2].allowedTypes, request.allowedTypes);
}
