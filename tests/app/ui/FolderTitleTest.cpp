// The title above the card list names the folder the tree shows, centred in its bar, and cut with
// the full name as tool tip when the bar is too narrow.
#include "app/core/CardEntities.h"
#include "app/core/OpenDatabase.h"
#include "app/ui/FolderTitleView.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/TreeNode.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QDir>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

TEST(FolderTitlePlacement, CentredInTheBarOrCutFromTheLeft)
{
    struct Case {
        int bar;
        int needed;
        FolderTitleView::Placement expected;
    } cases[] = {
        {220, 100, {60, 100, false}}, {121, 100, {10, 100, false}}, {120, 100, {10, 100, false}},
        {119, 100, {10, 99, true}},   {15, 100, {10, 0, true}},     {200, 0, {100, 0, false}},
    };
    for (const Case& c : cases) {
        const FolderTitleView::Placement placement = FolderTitleView::placeTitle(c.bar, c.needed);
        EXPECT_EQ(placement.x, c.expected.x) << c.bar << " " << c.needed;
        EXPECT_EQ(placement.width, c.expected.width) << c.bar << " " << c.needed;
        EXPECT_EQ(placement.cut, c.expected.cut) << c.bar << " " << c.needed;
    }
}

class FolderTitle : public ::testing::Test {
protected:
    QTemporaryDir temp;
    TestBundle bundle;
    ScriptedMessagePresenter presenter;
    OpenDatabase openDatabase;
    // Forty characters, as long as a folder name may be.
    const QString kLongName = QStringLiteral("Suppliers of the northern region 2026 Q4");

    std::unique_ptr<PLMainWindowController> start()
    {
        PreferenceDomain::setStandardDomain(QStringLiteral("test.foldertitle"), temp.filePath(QStringLiteral("prefs")));
        const QString database = temp.filePath(QStringLiteral("Cards.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        openDatabase.choose(database);
        auto window = std::make_unique<PLMainWindowController>(openDatabase);
        window->setTerminate([] {});
        window->showActiveWindow();
        return window;
    }
};

} // namespace

TEST_F(FolderTitle, NamesTheShownFolderAndIsCutWhenTheBarIsNarrow)
{
    auto window = start();
    PLOutlineViewController* folders = window->outlineViewController();
    FolderTitleView* title = window->ui()._aboveFolderStatus;
    ASSERT_NE(title, nullptr);
    ASSERT_NE(folders->getSelectedItem(), nullptr);
    EXPECT_EQ(title->title(), folders->getSelectedItem()->folderName);
    EXPECT_FALSE(title->title().isEmpty());

    // Clicking the root in the tree names it.
    QTreeView* tree = folders->outlineView();
    tree->expandAll();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(tree->model()->index(0, 0)).center());
    ASSERT_EQ(folders->getSelectedItem()->folderType, kFolderTypeRoot);
    EXPECT_EQ(title->title(), folders->getSelectedItem()->folderName);

    // A renamed folder's new name shows at once; in a wide window centred, no tool tip.
    window->window()->resize(1600, 900);
    ASSERT_TRUE(folders->addFolder(folders->rootNode()));
    folders->commitFolderNameEdit();
    const TreeNode* added = folders->getSelectedItem();
    ASSERT_NE(added, nullptr);
    ASSERT_EQ(added->folderType, kFolderTypeUser);
    ASSERT_TRUE(folders->renameFolder(added, kLongName));
    EXPECT_EQ(title->title(), kLongName);
    const QRect shown = title->titleRect();
    EXPECT_NEAR(shown.center().x(), title->width() / 2, 1);
    EXPECT_TRUE(title->toolTip().isEmpty());

    // Too narrow for the name: it starts at the left, cut, and the tool tip says it in full.
    title->resize(title->sizeHint().width() - 40, title->height());
    EXPECT_EQ(title->titleRect().x(), FolderTitleView::kSideMargin);
    EXPECT_EQ(title->titleRect().width(), title->width() - 2 * FolderTitleView::kSideMargin);
    EXPECT_EQ(title->toolTip(), kLongName);
}
