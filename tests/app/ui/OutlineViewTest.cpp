// The folder tree's view as the user meets it: the contextual menu by the clicked row (none for
// the Inbox, no removal for the root, no new folder below the fourth level, nothing while the
// database is read-only), its items acting on the clicked folder, and the Delete key removing the
// selected folder.
#include "app/core/PLNetDBLockController.h"
#include "app/ui/ImageAndTextCell.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/logic/FolderMenuRules.h"
#include "app/ui/logic/PLArrayController.h"
#include "tests/app/ui/ImagePaneFixture.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QStandardItemModel>
#include <QTest>

TEST(FolderContextMenu, OffersByFolderKindLevelAndState)
{
    struct Case {
        const char* what;
        int type, level;
        bool editing, blocked;
        FolderContextMenu expected;
    } cases[] = {
        {"the root: no removal", 1, 1, false, false, {true, true, false, true}},
        {"the Inbox: no menu", 2, 2, false, false, {}},
        {"a user folder", 3, 2, false, false, {true, true, true, true}},
        {"a folder at the fourth level takes no sub-folder", 3, 4, false, false, {true, false, true, true}},
        {"its name being edited: no menu", 3, 2, true, false, {}},
        {"read-only or a sheet shown: nothing enabled", 3, 2, false, true, {true, false, true, false}},
        {"an unknown row: no menu", 0, 0, false, false, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(folderContextMenu(c.type, c.level, c.editing, c.blocked), c.expected) << c.what;
}

namespace {

class OutlineView : public ImagePaneFixture {
protected:
    PLOutlineViewController& folders() const { return *window->outlineViewController(); }
    PLOutlineView* view() const { return window->ui()._outlineView; }
    void TearDown() override
    {
        PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeOpened);
        ImagePaneFixture::TearDown();
    }
    // A folder named `name` under `parent`, stored.
    const TreeNode* makeFolder(const TreeNode* parent, const QString& name)
    {
        EXPECT_TRUE(folders().addFolder(parent));
        folders().endEditing(name);
        QCoreApplication::sendPostedEvents();
        return folders().getTreeNodeByFolderID(folders().getSelectedItem()->folderID);
    }
    QModelIndex rowOf(const QString& name) const
    {
        const QModelIndexList found = view()->model()->match(view()->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_FALSE(found.isEmpty()) << name.toStdString();
        view()->expandAll();
        return found.value(0);
    }
    QMenu* rightClick(const QString& name) const { return view()->menuForEvent(view()->visualRect(rowOf(name)).center()); }
    bool folderExists(const QString& name) const
    {
        return !view()->model()->match(view()->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly | Qt::MatchRecursive).isEmpty();
    }
};

} // namespace

TEST_F(OutlineView, ContextMenuFollowsTheClickedFolderAndRemovesIt)
{
    const TreeNode* clients = makeFolder(folders().rootNode(), QStringLiteral("Clients"));
    makeFolder(makeFolder(clients, QStringLiteral("Two")), QStringLiteral("Three"));
    makeFolder(folders().rootNode(), QStringLiteral("Gone"));
    const QString inbox = folders().rootNode()->children.first()->folderName;
    const QString root = folders().rootNode()->folderName;

    struct Case {
        QString row;
        bool menu, addEnabled, removeVisible;
    } cases[] = {
        {inbox, false, false, false},
        {root, true, true, false},
        {QStringLiteral("Clients"), true, true, true},
        {QStringLiteral("Three"), true, false, true},
    };
    for (const Case& c : cases) {
        QMenu* menu = rightClick(c.row);
        ASSERT_EQ(menu != nullptr, c.menu) << c.row.toStdString();
        if (!menu)
            continue;
        EXPECT_EQ(menu->actions()[0]->isEnabled(), c.addEnabled) << c.row.toStdString();
        EXPECT_EQ(menu->actions()[1]->isVisible(), c.removeVisible) << c.row.toStdString();
    }

    // The removal acts on the clicked folder, not the selected one.
    folders().openFolderWithFolderID(clients->folderID);
    QMenu* menu = rightClick(QStringLiteral("Gone"));
    ASSERT_NE(menu, nullptr);
    menu->actions()[1]->trigger();
    EXPECT_FALSE(folderExists(QStringLiteral("Gone")));
    EXPECT_TRUE(folderExists(QStringLiteral("Clients")));

    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeReadOnly);
    menu = rightClick(QStringLiteral("Clients"));
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->actions()[0]->isEnabled());
    EXPECT_FALSE(menu->actions()[1]->isEnabled());
}

TEST_F(OutlineView, DeleteKeyRemovesTheSelectedUserFolderOnly)
{
    const TreeNode* gone = makeFolder(folders().rootNode(), QStringLiteral("Gone"));
    const TreeNode* kept = makeFolder(folders().rootNode(), QStringLiteral("Kept"));
    const QString keptID = kept->folderID;
    view()->setFocus();
    folders().openFolderWithFolderID(gone->folderID);
    QTest::keyClick(view(), Qt::Key_Delete);
    EXPECT_FALSE(folderExists(QStringLiteral("Gone")));

    // Read-only, the key is the tree's own again and removes nothing.
    folders().openFolderWithFolderID(keptID);
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeReadOnly);
    QTest::keyClick(view(), Qt::Key_Backspace);
    EXPECT_TRUE(folderExists(QStringLiteral("Kept")));
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeOpened);

    // The Inbox stays.
    folders().openInbox();
    QTest::keyClick(view(), Qt::Key_Delete);
    ASSERT_NE(folders().getSelectedItem(), nullptr);
    EXPECT_EQ(folders().getSelectedItem()->folderType, 2);
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("IDS_MSG_FOLDER_IS_DELETE")}) << "asked once, for the removed folder";
}

// A right click on a folder, as the mouse gives it (the button's press, then the menu's event),
// opens the menu with the folder outlined in the focus colour from the tree's left edge, and
// leaves the selection and the card list on the folder that was selected; closing the menu takes
// the outline away. On the selected row the outline takes the colour of the row's text.
TEST_F(OutlineView, ARightClickOutlinesTheFolderAndLeavesTheSelectionWhereItWas)
{
    const QString workID = makeFolder(folders().rootNode(), QStringLiteral("Work"))->folderID;
    addCard(QStringLiteral("A"), {{QStringLiteral("deletedFlag"), 0}});
    select({});
    ASSERT_TRUE(folders().openInbox());
    const QString inboxID = folders().getSelectedItem()->folderID;
    ASSERT_EQ(window->arrayController()->arrangedObjects().size(), 1);

    QWidget* viewport = view()->viewport();
    // The press as the platform delivers it, then the menu's event, which follows a press on Linux.
    const auto rightClick = [&](const QPoint& at) {
        QTest::mousePress(viewport, Qt::RightButton, Qt::NoModifier, at);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QCoreApplication::sendEvent(viewport, &menuEvent);
        QApplication::processEvents();
    };
    // The colour at the outline's left side, by name so that a failure reads.
    const auto edgeOf = [&](const QRect& row) {
        return viewport->grab().toImage().pixelColor(ImageAndTextCell::kFocusRingX, row.center().y()).name().toStdString();
    };
    const QRect work = view()->visualRect(rowOf(QStringLiteral("Work")));
    const std::string focus = view()->palette().color(QPalette::Highlight).name().toStdString();
    EXPECT_NE(edgeOf(work), focus);

    rightClick(work.center());
    ASSERT_TRUE(view()->outlineMenu()->isVisible());
    EXPECT_EQ(folders().rightClickRowForRec(), rowOf(QStringLiteral("Work")));
    EXPECT_EQ(edgeOf(work), focus);
    EXPECT_EQ(folders().getSelectedItem()->folderID, inboxID);
    EXPECT_NE(view()->currentIndex(), rowOf(QStringLiteral("Work")));
    EXPECT_EQ(window->arrayController()->arrangedObjects().size(), 1) << "the card list still shows the Inbox";

    view()->outlineMenu()->close();
    EXPECT_FALSE(folders().rightClickRowForRec().isValid());
    EXPECT_NE(edgeOf(work), focus);
    EXPECT_EQ(folders().getSelectedItem()->folderID, inboxID);

    // The selected folder, right-clicked, shows its outline on its highlighted ground: a pixel
    // inside the row, so that the ground frames it also along the row's top, where the view's
    // ground above is of the outline's colour.
    ASSERT_TRUE(folders().openFolderWithFolderID(workID));
    const auto pixel = [&](int x, int y) { return viewport->grab().toImage().pixelColor(x, y).name().toStdString(); };
    const int insideX = ImageAndTextCell::kFocusRingX + 1;
    const std::string ground = pixel(insideX, work.center().y());
    const std::string text = view()->palette().color(QPalette::HighlightedText).name().toStdString();
    ASSERT_NE(ground, text);
    rightClick(work.center());
    ASSERT_TRUE(view()->outlineMenu()->isVisible());
    EXPECT_EQ(pixel(insideX, work.center().y()), text);
    EXPECT_EQ(pixel(insideX + 3, work.top() + 1), text);
    EXPECT_EQ(pixel(insideX + 3, work.top()), ground);
    EXPECT_EQ(pixel(ImageAndTextCell::kFocusRingX, work.center().y()), ground);
    view()->outlineMenu()->close();
    EXPECT_EQ(pixel(insideX, work.center().y()), ground);
    EXPECT_EQ(folders().getSelectedItem()->folderID, workID);
}
