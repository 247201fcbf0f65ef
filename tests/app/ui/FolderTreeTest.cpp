// The folder tree: how it is built from the store (damaged stores included), the name and
// order rules, the drop decision, and the folder commands as the user meets them in the window,
// kept across a restart.

#include "app/ui/FolderTree.h"

#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/images/OcrApplicationLink.h"
#include "app/ui/CardTrash.h"
#include "app/ui/ImageAndTextCell.h"
#include "app/ui/MainWindowUi.h"
#include "app/ui/PLApplicationServices.h"
#include "app/ui/PLAttachmentController.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLDragSupportDataSource.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/logic/FolderDropRules.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/app/ui/MainWindowStart.h"
#include "tests/app/ui/ViewportDrag.h"
#include "tests/support/appkit/ManualClock.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/pdf/TestPdf.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {

QStringList outline(const TreeNode* node, const QString& indent = {})
{
    QStringList lines{indent + node->folderName + QStringLiteral(" (%1)").arg(node->folderLevel)};
    for (const auto& child : node->children)
        lines += outline(child.get(), indent + QStringLiteral("  "));
    return lines;
}

FolderRecord user(const char* id, const char* name, const char* parent, int level)
{
    return {QString::fromLatin1(id), QString::fromUtf8(name), QString::fromLatin1(parent), level, kFolderTypeUser};
}

// The scheduler's time moves only by hand while this lives.
struct ScriptedTime {
    ManualClock clock;
    ScriptedTime() { Scheduler::shared().setClock(&clock); }
    ~ScriptedTime() { Scheduler::shared().setClock(nullptr); }
};

const FolderRecord kRoot{QStringLiteral("R"), {}, {}, 1, kFolderTypeRoot};
const FolderRecord kInbox{QStringLiteral("I"), {}, QStringLiteral("R"), 2, kFolderTypeInbox};

} // namespace

TEST(FolderTree, BuildsTheTreeInOrderAndHangsWhatTheRootDoesNotReachUnderIt)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const QString longName(1000, QLatin1Char('x'));
    struct Case {
        const char* what;
        QList<FolderRecord> records;
        QStringList expected;
    } cases[] = {
        {"parents followed, Inbox first, names by collation rather than by code",
         {user("b", "beta", "R", 2), user("a2", "Zed", "a", 3), kInbox, user("a", "Alpha", "R", 2), user("C", "Cee", "R", 2), kRoot},
         {"All (1)", "  In (2)", "  Alpha (2)", "    Zed (3)", "  beta (2)", "  Cee (2)"}},
        {"a user folder may bear the Inbox's name",
         {kRoot, user("x", "Inbox", "R", 2), kInbox},
         {"All (1)", "  In (2)", "  Inbox (2)"}},
        {"missing parent: the folder and its sub-folder hang under the root as stored",
         {kRoot, kInbox, user("o", "Orphan", "gone", 3), user("oc", "Child", "o", 4)},
         {"All (1)", "  In (2)", "  Orphan (3)", "    Child (4)"}},
        {"a cycle of parents is cut once, nothing lost",
         {kRoot, kInbox, user("c1", "One", "c2", 2), user("c2", "Two", "c1", 3), user("self", "Self", "self", 2)},
         {"All (1)", "  In (2)", "  One (2)", "    Two (3)", "  Self (2)"}},
        {"two roots: the last one is the root, the other hangs under it",
         {FolderRecord{QStringLiteral("R0"), {}, {}, 1, kFolderTypeRoot}, kRoot, kInbox},
         {"All (1)", "  In (2)", "  All (1)"}},
        {"odd names are kept as they are",
         {kRoot, kInbox, user("s", "a/b", "R", 2), user("n", "line\nbreak", "R", 2), FolderRecord{"l", longName, "R", 2, kFolderTypeUser}},
         {"All (1)", "  In (2)", "  a/b (2)", "  line\nbreak (2)", QStringLiteral("  %1 (2)").arg(longName)}},
    };
    for (const Case& c : cases) {
        const auto root = buildFolderTree(c.records, QStringLiteral("All"), QStringLiteral("In"));
        ASSERT_NE(root, nullptr) << c.what;
        EXPECT_EQ(outline(root.get()), c.expected) << c.what;
        EXPECT_EQ(convertTreeToArray(root.get()).size(), c.records.size()) << c.what;
    }
    EXPECT_EQ(buildFolderTree({kInbox, user("a", "A", "R", 2)}, QStringLiteral("All"), QStringLiteral("In")), nullptr)
        << "no root: no tree";
    QLocale::setDefault(before);
}

TEST(FolderTree, NameRulesDefaultNamesAndDepth)
{
    struct Format {
        const char* name;
        int code;
    } formats[] = {{"", 210},      {"a/b", 205},  {"a=b", 205}, {"wow!", 205}, {"a\\b", 205}, {"x|y", 205},
                   {".hidden", 206}, {"./", 205}, {"Clients", 0}, {"a.b", 0},   {"Ünïcode", 0}};
    for (const Format& f : formats)
        EXPECT_EQ(checkFolderNameFormat(QString::fromUtf8(f.name)), f.code) << f.name;

    const auto root = buildFolderTree({kRoot, kInbox, user("n1", "New Folder", "R", 2), user("n2", "New Folder 2", "R", 2),
                                       user("w", "work", "R", 2), user("w1", "Deep", "w", 3), user("w2", "Deeper", "w1", 4)},
                                      QStringLiteral("All"), QStringLiteral("Inbox"));
    EXPECT_EQ(createDefaultFolderName(root.get(), QStringLiteral("New Folder")), QStringLiteral("New Folder 3"));
    EXPECT_EQ(createDefaultFolderName(root.get(), QStringLiteral("new folder")), QStringLiteral("new folder"))
        << "only an exact name blocks the default";
    EXPECT_EQ(createDefaultFolderName(nullptr, QStringLiteral("B")), QStringLiteral("B"));

    TreeNode* work = getTreeNodeByFolderID(QStringLiteral("w"), root.get());
    EXPECT_TRUE(checkSameFolder(QStringLiteral("NEW FOLDER"), work)) << "siblings' names ignore case";
    EXPECT_FALSE(checkSameFolder(QStringLiteral("Inbox"), work)) << "the Inbox's name is free";
    EXPECT_FALSE(checkSameFolder(QStringLiteral("WORK"), work)) << "a folder does not clash with itself";
    EXPECT_EQ(getTreeNodeDepth(work), 3);
    EXPECT_EQ(getTreeNodeDepth(getTreeNodeByFolderID(QStringLiteral("w2"), root.get())), 1);
    EXPECT_EQ(folderPathBelowRoot(getTreeNodeByFolderID(QStringLiteral("w2"), root.get())),
              (QStringList{"work", "Deep", "Deeper"}));

    moveNode(getTreeNodeByFolderID(QStringLiteral("w1"), root.get()), getTreeNodeByFolderID(QStringLiteral("n1"), root.get()));
    EXPECT_EQ(outline(getTreeNodeByFolderID(QStringLiteral("n1"), root.get())), (QStringList{"New Folder (2)", "  Deep (3)", "    Deeper (4)"}));
    EXPECT_TRUE(work->isLeaf());
}

TEST(FolderTree, DropDecision)
{
    auto cards = [](int type, bool fromTable, bool selected) {
        FolderDropProposal p;
        p.hasDestination = true;
        p.hasCardRows = true;
        p.cardsFromCardTable = fromTable;
        p.destinationIsSelected = selected;
        p.destinationType = type;
        return p;
    };
    auto folder = [](int destLevel, int destType, int parentLevel, int depth, bool onParent = false, bool inside = false) {
        FolderDropProposal p;
        p.hasDestination = true;
        p.hasFolderRow = true;
        p.destinationLevel = destLevel;
        p.destinationType = destType;
        p.draggedParentLevel = parentLevel;
        p.draggedDepth = depth;
        p.destinationIsDraggedParent = onParent;
        p.destinationInsideDragged = inside;
        return p;
    };
    auto files = [](int count, int type) {
        FolderDropProposal p;
        p.hasDestination = true;
        p.hasFileNames = true;
        p.fileCount = count;
        p.destinationType = type;
        return p;
    };
    auto with = [](FolderDropProposal p, auto change) {
        change(p);
        return p;
    };
    struct Case {
        const char* what;
        FolderDropProposal proposal;
        int expected;
    } cases[] = {
        {"cards onto a user folder", cards(kFolderTypeUser, true, false), kDragOperationMove},
        {"cards onto the Inbox", cards(kFolderTypeInbox, true, false), kDragOperationMove},
        {"cards onto the root", cards(kFolderTypeRoot, true, false), kDragOperationNone},
        {"cards onto the folder already shown", cards(kFolderTypeUser, true, true), kDragOperationNone},
        {"trashed cards onto the folder shown", cards(kFolderTypeUser, false, true), kDragOperationMove},
        {"between rows", with(cards(kFolderTypeUser, true, false), [](auto& p) { p.childIndex = 0; }), kDragOperationNone},
        {"no folder under the pointer", with(cards(kFolderTypeUser, true, false), [](auto& p) { p.hasDestination = false; }), kDragOperationNone},
        {"read-only database", with(cards(kFolderTypeUser, true, false), [](auto& p) { p.readOnlyDatabase = true; }), kDragOperationNone},
        {"a sheet on the window", with(files(2, kFolderTypeUser), [](auto& p) { p.windowBusy = true; }), kDragOperationNone},
        {"attachment rows", with(cards(kFolderTypeUser, true, false), [](auto& p) { p.hasAttachmentRows = true; }), kDragOperationNone},
        {"nothing we know", with(files(0, kFolderTypeUser), [](auto& p) { p.hasFileNames = false; }), kDragOperationNone},
        {"files onto the root", files(3, kFolderTypeRoot), kDragOperationCopy},
        {"files onto the Inbox", files(1, kFolderTypeInbox), kDragOperationCopy},
        {"an empty file list", files(0, kFolderTypeUser), kDragOperationNone},
        {"files with card rows move the cards", with(files(1, kFolderTypeUser), [](auto& p) { p.hasCardRows = true; }), kDragOperationMove},
        {"folder onto a level-2 sibling", folder(2, kFolderTypeUser, 1, 2), kDragOperationMove},
        {"folder onto the root", folder(1, kFolderTypeRoot, 2, 1), kDragOperationMove},
        {"folder onto its own parent", folder(2, kFolderTypeUser, 2, 1, true), kDragOperationNone},
        {"folder onto the Inbox", folder(2, kFolderTypeInbox, 1, 1), kDragOperationNone},
        {"folder onto a level-4 folder", folder(4, kFolderTypeUser, 1, 1), kDragOperationNone},
        {"leaf onto a level-3 folder", folder(3, kFolderTypeUser, 1, 1), kDragOperationMove},
        {"two levels onto a level-3 folder", folder(3, kFolderTypeUser, 1, 2), kDragOperationNone},
        {"folder into its own sub-folder", folder(3, kFolderTypeUser, 1, 1, false, true), kDragOperationNone},
    };
    for (const Case& c : cases)
        EXPECT_EQ(validateFolderDrop(c.proposal), c.expected) << c.what;
}

namespace {

class FolderTreeWindow : public ::testing::Test {
protected:
    QTemporaryDir temp;
    TestBundle bundle{{},
                      {{QStringLiteral("IDS_MSG_ERR_0205"), PlistValue(QStringLiteral("E205"))},
                       {QStringLiteral("IDS_MSG_ERR_0207"), PlistValue(QStringLiteral("E207"))},
                       {QStringLiteral("IDS_MSG_ERR_0209"), PlistValue(QStringLiteral("E209"))},
                       {QStringLiteral("IDS_MSG_ERR_0214"), PlistValue(QStringLiteral("E214"))},
                       {QStringLiteral("IDS_MSG_ERR_0048"), PlistValue(QStringLiteral("E48"))},
                       {QStringLiteral("IDS_MSG_FOLDER_IS_DELETE"), PlistValue(QStringLiteral("IDS_MSG_FOLDER_IS_DELETE"))}}};
    ScriptedMessagePresenter presenter;
    QString database;
    OpenDatabase openDatabase;

    void SetUp() override
    {
        PreferenceDomain::setStandardDomain(QStringLiteral("test.foldertree"), temp.filePath(QStringLiteral("prefs")));
        database = temp.filePath(QStringLiteral("Cards.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        QDir().mkpath(database + QStringLiteral("/Files"));
    }
    std::unique_ptr<PLMainWindowController> start()
    {
        return startMainWindow(openDatabase, database);
    }
    static PLOutlineViewController& tree(PLMainWindowController& window) { return *window.outlineViewController(); }
    static const TreeNode* child(PLMainWindowController& window, const QString& name)
    {
        for (TreeNode* node : convertTreeToArray(const_cast<TreeNode*>(tree(window).rootNode()))) {
            if (node->folderName == name)
                return node;
        }
        return nullptr;
    }
    // Types a name into the editor the tree opened and presses Return, as a user does.
    static void typeName(PLMainWindowController& window, const QString& name)
    {
        QTreeView* view = tree(window).outlineView();
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << "the new folder's name is open for editing";
        editor->selectAll();
        QTest::keyClicks(editor, name);
        QTest::keyClick(editor, Qt::Key_Return);
        // The view commits the editor's text on its next pass, the tree stores it on the one after.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
    }
    static QStringList shownTree(PLMainWindowController& window) { return outline(tree(window).rootNode()); }
};

} // namespace

TEST_F(FolderTreeWindow, FoldersMadeRenamedMovedAndRemovedAreThereAfterARestart)
{
    {
        auto window = start();
        PLOutlineViewController& folders = tree(*window);
        ASSERT_NE(folders.rootNode(), nullptr);
        ASSERT_TRUE(folders.addFolder(folders.rootNode()));
        typeName(*window, QStringLiteral("Clients"));
        ASSERT_NE(child(*window, QStringLiteral("Clients")), nullptr) << presenter.texts().join(u'|').toStdString() << shownTree(*window).join(u'|').toStdString();
        ASSERT_TRUE(folders.addFolder(folders.rootNode()));
        typeName(*window, QStringLiteral("CLIENTS"));
        EXPECT_TRUE(presenter.texts().contains(QStringLiteral("E207"))) << "a sibling's name in other case is refused";
        const TreeNode* kept = folders.getSelectedItem();
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->folderName, QStringLiteral("PL_TEXT_NEWFOLDER")) << "the refused add keeps its default name";
        EXPECT_FALSE(folders.renameFolder(kept, QStringLiteral("a:b")));
        EXPECT_TRUE(presenter.texts().contains(QStringLiteral("E205")));
        EXPECT_TRUE(folders.renameFolder(kept, QStringLiteral("Suppliers")));
        ASSERT_TRUE(folders.addFolder(child(*window, QStringLiteral("Clients"))));
        typeName(*window, QStringLiteral("Old"));
        ASSERT_TRUE(folders.addFolder(child(*window, QStringLiteral("Clients"))));
        typeName(*window, QStringLiteral("Gone"));
        EXPECT_FALSE(folders.removeFolder(child(*window, QStringLiteral("Clients")))) << "a folder with sub-folders stays";
        EXPECT_TRUE(presenter.texts().contains(QStringLiteral("E209")));
        EXPECT_TRUE(folders.removeFolder(child(*window, QStringLiteral("Gone"))));
        ASSERT_TRUE(folders.openFolderWithFolderID(child(*window, QStringLiteral("Old"))->folderID));
        EXPECT_TRUE(folders.MoveFolder(child(*window, QStringLiteral("Old")), child(*window, QStringLiteral("Suppliers"))));
        EXPECT_EQ(folders.getSelectedItem(), child(*window, QStringLiteral("Old"))) << "the moved folder stays selected";
        EXPECT_EQ(window->ui()._bottomFolderStatusPath->text(), QStringLiteral("Suppliers/Old"));
        window->window()->close();
    }
    auto window = start();
    EXPECT_EQ(shownTree(*window), (QStringList{"IDS_FOLDER_NAME_ALL (1)", "  IDS_FOLDER_NAME_INBOX (2)", "  Clients (2)",
                                               "  Suppliers (2)", "    Old (3)"}))
        << shownTree(*window).join(u'|').toStdString();
}

TEST_F(FolderTreeWindow, AFolderHoldingCardsStaysUnlessTheyAreAllInTheTrash)
{
    auto window = start();
    PLOutlineViewController& folders = tree(*window);
    ASSERT_TRUE(folders.addFolder(folders.rootNode()));
    typeName(*window, QStringLiteral("Full"));
    const TreeNode* full = child(*window, QStringLiteral("Full"));
    ASSERT_NE(full, nullptr);
    const QString fullID = full->folderID;
    ManagedObjectContext* context = window->managedObjectContext();
    const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
    card->setValue(QStringLiteral("cardID"), QStringLiteral("C1"));
    const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
    belong->setValue(QStringLiteral("cardID"), QStringLiteral("C1"));
    assignCardFolder(*card, *belong, full->folderID);
    context->save();
    // The import leaves the flag unset: such a card is not in the trash.
    EXPECT_FALSE(folders.removeFolder(full));
    card->setValue(QStringLiteral("deletedFlag"), 1);
    presenter.queueAnswer(0);
    EXPECT_FALSE(folders.removeFolder(full)) << "not confirmed";
    EXPECT_TRUE(folders.removeFolder(full));
    EXPECT_EQ(child(*window, QStringLiteral("Full")), nullptr);
    EXPECT_EQ(belong->stringValue(QStringLiteral("folder_ID")), fullID) << "the trashed card keeps the removed folder's identifier";
}

TEST_F(FolderTreeWindow, ADamagedTreeOpensAndNothingIsRewritten)
{
    QString inbox;
    {
        auto window = start();
        ManagedObjectContext* context = window->managedObjectContext();
        auto folder = [&](const char* id, const char* name, const char* parent, int level) {
            const ManagedObjectPtr record = context->insertNewObject(QString::fromLatin1(CardStore::kEntityFolder));
            record->setValue(QStringLiteral("folder_ID"), QString::fromLatin1(id));
            record->setValue(QStringLiteral("folder_Name"), QString::fromLatin1(name));
            record->setValue(QStringLiteral("folder_Parent"), QString::fromLatin1(parent));
            record->setValue(QStringLiteral("folder_Level"), level);
            record->setValue(QStringLiteral("folder_Type"), kFolderTypeUser);
        };
        folder("o", "Orphan", "missing", 3);
        folder("c1", "Loop", "c2", 2);
        folder("c2", "Pool", "c1", 3);
        ASSERT_EQ(context->save(), 0);
        window->window()->close();
    }
    auto window = start();
    EXPECT_EQ(shownTree(*window), (QStringList{"IDS_FOLDER_NAME_ALL (1)", "  IDS_FOLDER_NAME_INBOX (2)", "  Loop (2)", "    Pool (3)",
                                               "  Orphan (3)"}))
        << shownTree(*window).join(u'|').toStdString();
    const ManagedObjectList records = window->managedObjectContext()->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_ID"), QStringLiteral("o")), {}});
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records.first()->stringValue(QStringLiteral("folder_Parent")), QStringLiteral("missing"));
}

TEST_F(FolderTreeWindow, TrashedCardsComeBackToTheirFolderAndDeletingForGoodTouchesOnlyTheirFiles)
{
    auto window = start();
    PLOutlineViewController& folders = tree(*window);
    ASSERT_TRUE(folders.addFolder(folders.rootNode()));
    typeName(*window, QStringLiteral("Work"));
    ASSERT_TRUE(folders.addFolder(child(*window, QStringLiteral("Work"))));
    typeName(*window, QStringLiteral("Clients"));
    const QString clients = child(*window, QStringLiteral("Clients"))->folderID;
    ManagedObjectContext* context = window->managedObjectContext();
    auto card = [&](const QString& id, const QString& folderID) {
        const ManagedObjectPtr c = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
        c->setValue(QStringLiteral("cardID"), id);
        c->setValue(QStringLiteral("face_Image_File"), id + QStringLiteral(".jpg"));
        c->setValue(QStringLiteral("family_Name"), QStringLiteral("Name"));
        const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), id);
        assignCardFolder(*c, *belong, folderID);
        QFile(database + QStringLiteral("/Images/") + id + QStringLiteral(".jpg")).open(QIODevice::WriteOnly);
        QDir().mkpath(database + QStringLiteral("/Files/") + (id.isEmpty() ? QStringLiteral("kept") : id));
        return c;
    };
    const ManagedObjectPtr moved = card(QStringLiteral("A"), clients);
    const ManagedObjectPtr kept = card(QStringLiteral("B"), clients);
    const ManagedObjectPtr blank = card(QString(), clients);
    ASSERT_EQ(context->save(), 0);

    const TreeNode* root = folders.rootNode();
    CardMoveRecords(*context, root, {moved}).moveCardToTrash(*moved);
    EXPECT_EQ(moved->value(QStringLiteral("deletedFlag")).toInt(), 1);
    EXPECT_EQ(moved->stringValue(QStringLiteral("folder_ID")), clients) << "a trashed card keeps its folder";
    // A rename in other case, then to another name: the card still finds its folder by identifier.
    ASSERT_TRUE(folders.renameFolder(child(*window, QStringLiteral("Clients")), QStringLiteral("Customers")));
    QString path;
    QString found;
    const CardMoveRecords records(*context, root, {moved});
    ASSERT_TRUE(records.isFolderPathExist(QStringLiteral("A"), &path, &found));
    EXPECT_EQ(found, clients);
    EXPECT_EQ(path, QStringLiteral("Work/Customers"));
    records.returnCardToFolder(*moved, found, true);
    EXPECT_EQ(moved->value(QStringLiteral("deletedFlag")).toInt(), 0);
    EXPECT_FALSE(moved->stringValue(QStringLiteral("syncID")).isEmpty()) << "a named card gets a new identifier";

    const CardMoveRecords both(*context, root, {moved, blank});
    both.moveCardToTrash(*moved);
    both.moveCardToTrash(*blank);
    ASSERT_EQ(deleteCardsForGood(*context, database, {moved, blank}), 0);
    EXPECT_FALSE(QFileInfo::exists(database + QStringLiteral("/Images/A.jpg")));
    EXPECT_FALSE(QFileInfo::exists(database + QStringLiteral("/Files/A")));
    EXPECT_TRUE(QFileInfo::exists(database + QStringLiteral("/Images/B.jpg")));
    EXPECT_TRUE(QFileInfo::exists(database + QStringLiteral("/Files/B")));
    EXPECT_TRUE(QFileInfo::exists(database + QStringLiteral("/Files/kept"))) << "a blank identifier never names the Files folder";
    EXPECT_EQ(context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), {}, {}}).size(), 1);
}

TEST(ImageAndTextCell, IconAtSixteenAndTheTextBesideIt)
{
    ImageAndTextCell cell;
    EXPECT_EQ(cell.cellSize(QSize(50, 17)), QSize(53, 17)) << "without an icon the gap before the text is still kept";
    EXPECT_EQ(cell.titleRectForBounds(QRect(0, 0, 100, 20)), QRect(5, 0, 97, 20));
    EXPECT_FALSE(cell.isGroupCell(QString()));
    EXPECT_TRUE(cell.isGroupCell(QStringLiteral("Title")));
    QPixmap big(64, 40);
    big.fill(Qt::red);
    cell.setImage(big);
    EXPECT_EQ(cell.image().size(), QSize(16, 10)) << "any icon is drawn within 16 x 16";
    EXPECT_FALSE(cell.isGroupCell(QStringLiteral("Title")));
    EXPECT_EQ(cell.cellSize(QSize(50, 17)), QSize(69, 17));
    EXPECT_EQ(cell.titleRectForBounds(QRect(0, 0, 100, 20)), QRect(21, 0, 81, 20));
    // The title above the card list has no tree: it opens no editor and ends none.
    QWidget parent;
    EXPECT_EQ(cell.createEditor(&parent, {}, {}), nullptr);
    cell.callEndEditing(nullptr);
}

TEST_F(FolderTreeWindow, ANameBeingEditedIsCommittedBeforeACommandAndAnAddAlwaysEndsStored)
{
    {
        auto window = start();
        PLOutlineViewController& folders = tree(*window);
        QTreeView* view = folders.outlineView();

        // An empty name and Escape both keep the default name, and the folder is stored with it.
        ASSERT_TRUE(folders.addFolder(folders.rootNode()));
        typeName(*window, QString());
        ASSERT_NE(child(*window, QStringLiteral("PL_TEXT_NEWFOLDER")), nullptr);
        EXPECT_FALSE(folders.isInEditing());
        EXPECT_TRUE(presenter.texts().isEmpty()) << "an empty name is refused silently";
        ASSERT_TRUE(folders.addFolder(folders.rootNode()));
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        EXPECT_FALSE(folders.isInEditing());
        ASSERT_NE(child(*window, QStringLiteral("PL_TEXT_NEWFOLDER 2")), nullptr);

        // The user opens a rename with the edit key, types, and runs a command before pressing Return.
        ASSERT_TRUE(folders.openFolderWithFolderID(child(*window, QStringLiteral("PL_TEXT_NEWFOLDER"))->folderID));
        view->setFocus();
        QTest::keyClick(view, Qt::Key_F2);
        EXPECT_TRUE(folders.isInEditing());
        ASSERT_NE(folders.selectedItemCell(), nullptr);
        editor = qobject_cast<QLineEdit*>(folders.currentEditor());
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Zoo"));
        window->endFolderNameEditing();
        EXPECT_FALSE(folders.isInEditing()) << "committed at once, before the command acts";
        ASSERT_NE(child(*window, QStringLiteral("Zoo")), nullptr);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        EXPECT_NE(child(*window, QStringLiteral("Zoo")), nullptr) << "the view's own late commit changes nothing";
        window->endFolderNameEditing();

        // The root and the Inbox are never renamed in place.
        ASSERT_TRUE(folders.openInbox());
        QTest::keyClick(view, Qt::Key_F2);
        EXPECT_FALSE(folders.isInEditing());
        EXPECT_EQ(folders.currentEditor(), nullptr);
        window->window()->close();
    }
    auto again = start();
    EXPECT_EQ(shownTree(*again), (QStringList{"IDS_FOLDER_NAME_ALL (1)", "  IDS_FOLDER_NAME_INBOX (2)", "  PL_TEXT_NEWFOLDER 2 (2)",
                                              "  Zoo (2)"}))
        << shownTree(*again).join(u'|').toStdString();
}

// The store refuses every change of the folder table (and, at the next start, of the cards):
// each folder command and the reconcile at start say so with message 48, and the tree shows what
// the store holds.
TEST_F(FolderTreeWindow, FolderChangesTheStoreRefusesAreReportedAndTheTreeShowsTheStore)
{
    const auto exec = [this](const char* sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(database + QStringLiteral("/Pelmora1.sqldb")).constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
        sqlite3_close(db);
    };
    const QString refused = QStringLiteral("E48");
    QStringList stored;
    {
        auto window = start();
        PLOutlineViewController& folders = tree(*window);
        QTreeView* view = folders.outlineView();
        for (const char* name : {"Clients", "Old"}) {
            ASSERT_TRUE(folders.addFolder(folders.rootNode()));
            typeName(*window, QString::fromLatin1(name));
        }
        stored = shownTree(*window);
        for (const char* change : {"insert", "update", "delete"})
            exec(qPrintable(QStringLiteral("create trigger refuse_%1 before %1 on ZFOLDER begin select raise(fail, 'refused'); end")
                                .arg(QLatin1String(change))));

        ASSERT_TRUE(folders.addFolder(folders.rootNode()));
        typeName(*window, QStringLiteral("New"));
        EXPECT_EQ(presenter.texts(), QStringList{refused}) << "add";
        EXPECT_EQ(shownTree(*window), stored);

        presenter.clear();
        ASSERT_TRUE(folders.openFolderWithFolderID(child(*window, QStringLiteral("Clients"))->folderID));
        view->setFocus();
        QTest::keyClick(view, Qt::Key_F2);
        typeName(*window, QStringLiteral("Customers"));
        EXPECT_EQ(presenter.texts(), QStringList{refused}) << "rename";
        EXPECT_EQ(shownTree(*window), stored);
        ASSERT_NE(folders.getSelectedItem(), nullptr);
        EXPECT_EQ(folders.getSelectedItem()->folderName, QStringLiteral("Clients"));

        presenter.clear();
        ASSERT_TRUE(folders.openFolderWithFolderID(child(*window, QStringLiteral("Old"))->folderID));
        QTest::keyClick(view, Qt::Key_Delete);
        EXPECT_EQ(presenter.texts(), (QStringList{QStringLiteral("IDS_MSG_FOLDER_IS_DELETE"), refused})) << "remove";
        EXPECT_EQ(shownTree(*window), stored);

        presenter.clear();
        EXPECT_FALSE(folders.MoveFolder(child(*window, QStringLiteral("Old")), child(*window, QStringLiteral("Clients"))));
        EXPECT_EQ(presenter.texts(), QStringList{refused}) << "move";
        EXPECT_EQ(shownTree(*window), stored);
        EXPECT_FALSE(window->managedObjectContext()->hasChanges()) << "nothing refused waits for a later save";

        // A card shared with the address book, filed in a folder, goes back to the Inbox at the
        // next start; the store refuses that too.
        ManagedObjectContext* context = window->managedObjectContext();
        const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
        card->setValue(QStringLiteral("cardID"), QStringLiteral("C1"));
        card->setValue(QStringLiteral("connected"), 1);
        const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), QStringLiteral("C1"));
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
        assignCardFolder(*card, *belong, child(*window, QStringLiteral("Clients"))->folderID);
        ASSERT_EQ(context->save(), 0);
        window->window()->close();
    }
    exec("create trigger refuse_card before update on ZCARD begin select raise(fail, 'refused'); end");
    presenter.clear();
    auto again = start();
    EXPECT_TRUE(presenter.texts().contains(refused)) << "the reconcile at start: " << presenter.texts().join(u'|').toStdString();
    EXPECT_EQ(shownTree(*again), stored);
}

TEST_F(FolderTreeWindow, BuildingTheTreeFilesEachCardByItsFolderRecordAndSharedCardsInTheInbox)
{
    QString work;
    QString inbox;
    {
        auto window = start();
        PLOutlineViewController& folders = tree(*window);
        ASSERT_TRUE(folders.addFolder(folders.rootNode()));
        typeName(*window, QStringLiteral("Work"));
        work = child(*window, QStringLiteral("Work"))->folderID;
        inbox = folders.rootNode()->children.first()->folderID;
        ManagedObjectContext* context = window->managedObjectContext();
        auto card = [&](const char* id, const QString& cardFolder, const QString& belongFolder, int connected) {
            const ManagedObjectPtr c = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
            c->setValue(QStringLiteral("cardID"), QString::fromLatin1(id));
            c->setValue(QStringLiteral("folder_ID"), cardFolder);
            c->setValue(QStringLiteral("connected"), connected);
            if (belongFolder.isNull())
                return;
            const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
            belong->setValue(QStringLiteral("cardID"), QString::fromLatin1(id));
            belong->setValue(QStringLiteral("folder_ID"), belongFolder);
        };
        card("drifted", inbox, work, 0);
        card("shared", work, work, 1);
        card("unfiled", QString(), QString(), 1);
        card("loose", QString(), QString(), 0);
        ASSERT_EQ(context->save(), 0);
        window->window()->close();
    }
    auto window = start();
    ManagedObjectContext* context = window->managedObjectContext();
    auto folderOf = [&](const char* entity, const char* id) {
        const ManagedObjectList found = context->executeFetchRequest(
            {QString::fromLatin1(entity), keyEquals(QStringLiteral("cardID"), QString::fromLatin1(id)), {}});
        return found.size() == 1 ? found.first()->stringValue(QStringLiteral("folder_ID")) : QStringLiteral("%1 records").arg(found.size());
    };
    struct Case {
        const char* card;
        QString folder;
    } cases[] = {{"drifted", work}, {"shared", inbox}, {"unfiled", inbox}, {"loose", QString()}};
    for (const Case& c : cases) {
        EXPECT_EQ(folderOf(CardStore::kEntityCard, c.card), c.folder) << c.card;
        if (!c.folder.isEmpty()) {
            EXPECT_EQ(folderOf(CardStore::kEntityCardBelong, c.card), c.folder) << c.card;
        }
    }
    EXPECT_EQ(folderOf(CardStore::kEntityCardBelong, "loose"), QStringLiteral("0 records")) << "a card of nobody's is left alone";
}

TEST_F(FolderTreeWindow, ASearchThatOpensTheWindowShowsEveryCardAndTheHiddenPaneComesBackAtLeast190Wide)
{
    openDatabase.choose(database);
    PLMainWindowController window(openDatabase);
    window.setTerminate([] {});
    window.searchText(QStringLiteral("anything"));
    ASSERT_NE(tree(window).getSelectedItem(), nullptr);
    EXPECT_EQ(tree(window).getSelectedItem()->folderType, kFolderTypeRoot);
    window.showActiveWindow();
    EXPECT_EQ(tree(window).getSelectedItem()->folderType, kFolderTypeInbox) << "the flag serves one build";

    PLOutlineViewController& folders = tree(window);
    struct Case {
        double remembered;
        int split;
        int expected;
    } cases[] = {{250, 800, 250}, {100, 800, 190}, {250, 300, 300 - 150 - 1}};
    for (const Case& c : cases) {
        folders.setHiddenFolderListViewWidth(c.remembered);
        EXPECT_EQ(folders.shownFolderListViewWidth(c.split, 1), c.expected) << c.remembered << " in " << c.split;
    }
}

TEST_F(FolderTreeWindow, DragsOverTheTreeAreDecidedByRowAndContentAndDroppedFilesAreImportedIntoTheFolder)
{
    setOcrApplicationFolder(temp.filePath(QStringLiteral("no-ocr")));
    ScriptedTime time;
    ManualClock& clock = time.clock;
    auto window = start();
    PLAppController app(window.get(), openDatabase, makeApplicationServices(), Bundle::main());
    window->setAppController(&app);
    PLOutlineViewController& folders = tree(*window);
    QTreeView* view = folders.outlineView();
    ASSERT_TRUE(folders.addFolder(folders.rootNode()));
    typeName(*window, QStringLiteral("Work"));
    ASSERT_TRUE(folders.addFolder(folders.rootNode()));
    typeName(*window, QStringLiteral("Home"));
    ASSERT_TRUE(folders.openFolderWithFolderID(child(*window, QStringLiteral("Home"))->folderID));
    auto indexOf = [&](const QString& name) {
        return view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    };
    const QModelIndex root = view->model()->index(0, 0);
    const QModelIndex inbox = indexOf(QStringLiteral("IDS_FOLDER_NAME_INBOX"));
    const QModelIndex work = indexOf(QStringLiteral("Work"));
    const QModelIndex home = indexOf(QStringLiteral("Home"));

    // Starting a drag: one user folder only.
    EXPECT_EQ(folders.writeItems({root}), nullptr);
    EXPECT_EQ(folders.writeItems({inbox}), nullptr);
    EXPECT_EQ(folders.writeItems({work, home}), nullptr);
    std::unique_ptr<QMimeData> folderDrag(folders.writeItems({home}));
    ASSERT_NE(folderDrag, nullptr);

    const QString pdf = temp.filePath(QStringLiteral("dropped.pdf"));
    ASSERT_TRUE(testpdf::writePdf(pdf, testpdf::scannerDocument(1)));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(pdf)});
    QMimeData noFiles;
    noFiles.setData(QStringLiteral("text/plain"), "x");
    // Attachment rows carry their files too, and still never land on a folder.
    QMimeData attachmentRows;
    attachmentRows.setUrls({QUrl::fromLocalFile(pdf)});
    attachmentRows.setData(QString::fromLatin1(PLAttachmentController::kAttachmentDataType), {});
    QMimeData cards;
    cards.setData(QString::fromLatin1(PLDragSupportDataSource::kTableViewDataType), {});
    QTableView* cardTable = window->ui()._tvList;
    QTableView* trashTable = window->ui()._trashTableView;

    // Where a drag meets the tree: a row's middle, its top edge (between rows), the empty space
    // below the last row.
    auto middle = [&](const QModelIndex& index) { return view->visualRect(index).center(); };
    auto edge = [&](const QModelIndex& index) { return QPoint(view->visualRect(index).center().x(), view->visualRect(index).top()); };
    const QModelIndex lastRow = view->model()->index(view->model()->rowCount(root) - 1, 0, root);
    const QPoint empty(middle(root).x(), view->visualRect(lastRow).bottom() + 10);
    ASSERT_FALSE(view->indexAt(empty).isValid());
    ASSERT_TRUE(view->viewport()->rect().contains(empty)) << "the tree shows empty space below its rows";
    // A drag enters the tree's viewport at `enter` and moves to `at`: what it would end in. It
    // leaves again, or with `drop` is dropped at `at`.
    auto dragOver = [&](const QMimeData* data, const QPoint& enter, const QPoint& at, bool drop = false) {
        return dragOverViewport(view->viewport(), data, enter, at, drop);
    };
    struct Case {
        const char* what;
        const QMimeData* data;
        QPoint enter;
        QPoint at;
        int expected;
    } cases[] = {
        {"files onto the root are copied in", &files, middle(root), middle(root), kDragOperationCopy},
        {"files onto a folder", &files, middle(work), middle(work), kDragOperationCopy},
        {"files entering over empty space, then onto a folder", &files, empty, middle(work), kDragOperationCopy},
        {"files entering over a row's edge, then onto a folder", &files, edge(home), middle(work), kDragOperationCopy},
        {"files held over empty space", &files, middle(work), empty, kDragOperationNone},
        {"files between rows", &files, middle(work), edge(work), kDragOperationNone},
        {"nothing the tree knows", &noFiles, middle(work), middle(work), kDragOperationNone},
        {"attachment rows", &attachmentRows, middle(work), middle(work), kDragOperationNone},
        {"a folder onto a sibling", folderDrag.get(), middle(work), middle(work), kDragOperationMove},
        {"a folder entering over empty space, then onto a sibling", folderDrag.get(), empty, middle(work), kDragOperationMove},
        {"a folder onto its own parent", folderDrag.get(), middle(work), middle(root), kDragOperationNone},
        {"a folder onto the Inbox", folderDrag.get(), middle(work), middle(inbox), kDragOperationNone},
        {"a folder onto itself", folderDrag.get(), middle(work), middle(home), kDragOperationNone},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dragOver(c.data, c.enter, c.at), c.expected) << c.what;
    // Card rows: the table they come from decides whether the folder shown takes them.
    EXPECT_EQ(folders.validateDrop(&cards, cardTable, home, true), kDragOperationNone) << "cards onto the folder they are shown in";
    EXPECT_EQ(folders.validateDrop(&cards, trashTable, home, true), kDragOperationMove) << "trashed cards onto the folder shown";
    EXPECT_EQ(folders.validateDrop(&cards, cardTable, root, true), kDragOperationNone) << "cards onto the root";
    EXPECT_EQ(folders.validateDrop(&cards, cardTable, inbox, true), kDragOperationMove) << "cards onto the Inbox";
    QString droppedOn;
    QObject* droppedFrom = nullptr;
    QObject::connect(&folders, &PLOutlineViewController::cardsDroppedOnFolder, [&](QObject* source, const QString& folderID) {
        droppedFrom = source;
        droppedOn = folderID;
    });
    EXPECT_TRUE(folders.acceptDrop(&cards, cardTable, work, true));
    EXPECT_EQ(droppedFrom, cardTable);
    EXPECT_EQ(droppedOn, child(*window, QStringLiteral("Work"))->folderID);

    // The folder drop moves the folder; the file drop imports into the folder under the pointer,
    // half a second later.
    EXPECT_EQ(dragOver(folderDrag.get(), empty, middle(work), true), kDragOperationMove);
    EXPECT_EQ(child(*window, QStringLiteral("Home"))->folderParent, child(*window, QStringLiteral("Work")));
    const QString workID = child(*window, QStringLiteral("Work"))->folderID;
    EXPECT_EQ(dragOver(&files, empty, middle(indexOf(QStringLiteral("Work"))), true), kDragOperationCopy);
    ASSERT_TRUE(app.belongFolder().has_value());
    EXPECT_EQ(app.belongFolder()->folderID, workID);
    ManagedObjectContext* context = window->managedObjectContext();
    auto cardsInWork = [&] {
        return context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("folder_ID"), workID), {}}).size();
    };
    clock.advance(PLCardListController::kFileDropDelayMs - 1);
    EXPECT_EQ(cardsInWork(), 0) << "nothing is read before half a second has passed";
    clock.advance(1);
    EXPECT_EQ(cardsInWork(), 1) << "the dropped file becomes a card of the folder";
    EXPECT_EQ(folders.getSelectedItem(), child(*window, QStringLiteral("Work"))) << "the import opens the folder";
}
