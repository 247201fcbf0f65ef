#include "app/ui/logic/MainWindowLayout.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace MainWindowLayout;

namespace {

const QRect kScreen(0, 0, 1920, 1080);

SavedLayout full(int detail, int folder)
{
    SavedLayout s;
    s.windowX = 100;
    s.windowY = 50;
    s.windowWidth = 1200;
    s.windowHeight = 800;
    s.imageWidth = 500;
    s.imageHeight = 300;
    s.dataWidth = 900;
    s.dataHeight = 400;
    s.detailWidth = detail;
    s.folderWidth = folder;
    return s;
}

} // namespace

TEST(MainWindowLayout, RestoreRaisesHidesAndFallsBackToTheBuiltLayout)
{
    struct Case {
        const char* name;
        SavedLayout saved;
        int detail, detailSegment, folder, folderSegment, hiddenFolder;
        bool framed;
    };
    SavedLayout detailHidden = full(500, 250);
    detailHidden.showDetail = 0;
    SavedLayout folderHidden = full(500, 250);
    folderHidden.showFolder = 0;
    SavedLayout firstLaunchHidden;
    firstLaunchHidden.showDetail = 0;
    firstLaunchHidden.showFolder = 0;
    SavedLayout zeroWindow = full(500, 250);
    zeroWindow.windowWidth = 0;
    const Case cases[] = {
        {"first launch", SavedLayout{}, 360, 1, 220, 1, 220, false},
        {"narrow panes raised", full(200, 100), 340, 1, 190, 1, 190, true},
        {"negative widths raised", full(-40, -7), 340, 1, 190, 1, 190, true},
        {"detail hidden", detailHidden, 0, 0, 250, 1, 250, true},
        {"folder hidden keeps its width", folderHidden, 500, 1, 0, 0, 250, true},
        {"hidden panes on first launch", firstLaunchHidden, 0, 0, 0, 0, 190, false},
        {"a zero-sized window is built again", zeroWindow, 360, 1, 220, 1, 220, false},
    };
    for (const Case& c : cases) {
        const RestorePlan plan = planRestore(c.saved, 360, 220, kScreen);
        EXPECT_EQ(plan.detailWidth, c.detail) << c.name;
        EXPECT_EQ(plan.detailSegment, c.detailSegment) << c.name;
        EXPECT_EQ(plan.folderWidth, c.folder) << c.name;
        EXPECT_EQ(plan.folderSegment, c.folderSegment) << c.name;
        EXPECT_EQ(plan.hiddenFolderWidth, c.hiddenFolder) << c.name;
        EXPECT_EQ(plan.frame.has_value(), c.framed) << c.name;
    }
}

TEST(MainWindowLayout, ASavedFrameIsFittedOntoTheScreen)
{
    SavedLayout huge = full(400, 200);
    huge.windowX = -3000;
    huge.windowY = 5000;
    huge.windowWidth = 8000;
    huge.windowHeight = 600;
    EXPECT_EQ(planRestore(huge, 360, 220, kScreen).frame, QRect(0, 480, 1920, 600));
    EXPECT_EQ(planRestore(full(400, 200), 360, 220, kScreen).frame, QRect(100, 50, 1200, 800));
}

TEST(MainWindowLayout, PreferencesOfTheWrongTypeOrRangeReadAsAbsent)
{
    QTemporaryDir dir;
    PreferenceDomain prefs(QStringLiteral("test.layout"), dir.path());
    prefs.setValue(QString::fromLatin1(kMainWindowWidth), QStringLiteral("wide"));
    prefs.setValue(QString::fromLatin1(kMainWindowHeight), -20);
    prefs.setValue(QString::fromLatin1(kImgViewWidth), 1e12);
    prefs.setValue(QString::fromLatin1(kDataViewWidth), 640.7);
    prefs.setValue(QString::fromLatin1(kShowDetailView), false);
    prefs.setValue(QString::fromLatin1(kShowFolderListView), QStringLiteral("0"));
    prefs.setValue(QString::fromLatin1(kDetailViewWidth), -5);
    const SavedLayout saved = readSavedLayout(prefs);
    EXPECT_FALSE(saved.windowWidth);
    EXPECT_FALSE(saved.windowHeight);
    EXPECT_FALSE(saved.imageWidth);
    EXPECT_EQ(saved.dataWidth, 640);
    EXPECT_EQ(saved.showDetail, 0) << "a boolean NO is the number 0";
    EXPECT_FALSE(saved.showFolder) << "the text \"0\" is not the number 0";
    EXPECT_EQ(saved.detailWidth, -5);
    EXPECT_FALSE(saved.complete());
}

TEST(MainWindowLayout, SaveAndResizeRules)
{
    EXPECT_EQ(folderWidthToSave(false, 400, 500), 400);
    EXPECT_EQ(folderWidthToSave(true, 300, 500), 300);
    EXPECT_EQ(folderWidthToSave(true, 400, 500), 349) << "a hidden tree leaves the card area 150 and the divider";

    EXPECT_EQ(detailWidthAfterResize(0, 900), std::nullopt);
    EXPECT_EQ(detailWidthAfterResize(400, 1200), 400) << "the left pane keeps 350: the detail keeps its width";
    EXPECT_EQ(detailWidthAfterResize(400, 700), 348) << "700 - 350 - 1 - 1";
    EXPECT_EQ(detailWidthAfterResize(400, 100), 0);
}

TEST(MainWindowLayout, StatusLinePathIsCutWithAToolTipOnlyWhenItDoesNotFit)
{
    struct Case {
        int width, path;
        int pathWidth;
        bool toolTip;
    };
    // Label at 10 + 60; language 120, export 100; room = W - 70 - 30 - 120 - 30 - 100 - 10.
    const Case cases[] = {{1000, 300, 300, false}, {600, 300, 240, true}, {300, 300, 130, true}, {1000, 640, 640, false}};
    for (const Case& c : cases) {
        const StatusLineLayout layout = layoutStatusLine({c.width, 10, 60, c.path, 120, 100});
        EXPECT_EQ(layout.pathX, 70);
        EXPECT_EQ(layout.pathWidth, c.pathWidth) << c.width;
        EXPECT_EQ(layout.pathToolTip, c.toolTip) << c.width;
        EXPECT_EQ(layout.languageX, 70 + c.pathWidth + 30);
        EXPECT_EQ(layout.exportX, layout.languageX + 120 + 30);
    }
}
