// The trash as the user meets it in the main window: cards moved there by the Delete key and the
// menus, restored to their folders by identifier or by their path of names, moved by a drop on a
// folder, deleted for good with exactly their own files, the last move undone, and everything
// where it was in a second window on the same database.
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/Globals.h"
#include "app/core/OpenDatabase.h"
#include "app/ui/CardMoves.h"
#include "app/ui/CardTrash.h"
#include "app/ui/FolderTree.h"
#include "app/ui/MainWindowUi.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLDragSupportDataSource.h"
#include "app/ui/PLEditMenu.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/TrashPane.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/StatusTexts.h"
#include "app/ui/views/PLCardListTableView.h"
#include "platform/appkit/MessagePresenter.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ManualClock.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QDateTime>
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
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

const QString kRootName = QStringLiteral("IDS_FOLDER_NAME_ALL");

class CardTrashWindow : public ::testing::Test {
protected:
    QTemporaryDir temp;
    TestBundle bundle{{},
                      {{QStringLiteral("IDS_MSG_ERR_0213"), PlistValue(QStringLiteral("E213"))},
                       {QStringLiteral("IDS_MSG_IS_DELETE_RECORD"), PlistValue(QStringLiteral("Delete?"))},
                       {QStringLiteral("IDS_MSG_IS_DELETE_ALLRECORD"), PlistValue(QStringLiteral("Empty?"))},
                       {QStringLiteral("IDS_MSG_FOLDER_IS_DELETE"), PlistValue(QStringLiteral("Remove folder?"))}}};
    ScriptedMessagePresenter presenter;
    ManualClock clock;
    QString database;
    OpenDatabase openDatabase;
    std::unique_ptr<PLMainWindowController> window;

    // Folders Work / Clients / Key and Other beside them; cards A, B and C in Key (A with a back),
    // D in the Inbox (shared, connected 1), E in Other. Every card has its image files and an
    // attachment folder. Cards sort newest first: A, B, C, D, E.
    void SetUp() override
    {
        Scheduler::shared().setClock(&clock);
        PreferenceDomain::setStandardDomain(QStringLiteral("test.cardtrash"), temp.filePath(QStringLiteral("prefs")));
        database = temp.filePath(QStringLiteral("Cards.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        QDir().mkpath(database + QStringLiteral("/Files"));
        start();
        ManagedObjectContext* context = window->managedObjectContext();
        const QString root = tree().rootNode()->folderID;
        auto folder = [&](const char* id, const char* name, const QString& parent, int level) {
            const ManagedObjectPtr record = context->insertNewObject(QString::fromLatin1(CardStore::kEntityFolder));
            record->setValue(QStringLiteral("folder_ID"), QString::fromLatin1(id));
            record->setValue(QStringLiteral("folder_Name"), QString::fromLatin1(name));
            record->setValue(QStringLiteral("folder_Parent"), parent);
            record->setValue(QStringLiteral("folder_Level"), level);
            record->setValue(QStringLiteral("folder_Type"), kFolderTypeUser);
        };
        folder("W", "Work", root, 2);
        folder("C", "Clients", QStringLiteral("W"), 3);
        folder("K", "Key", QStringLiteral("C"), 4);
        folder("O", "Other", root, 2);
        const QString inbox = tree().getTreeNodeByFolderID(root)->children.first()->folderID;
        int age = 0;
        for (const auto& [id, folderID] : {std::pair{"A", QStringLiteral("K")},
                                           {"B", QStringLiteral("K")},
                                           {"C", QStringLiteral("K")},
                                           {"D", inbox},
                                           {"E", QStringLiteral("O")}})
            addCard(QString::fromLatin1(id), folderID, ++age);
        card(QStringLiteral("A"))->setValue(QStringLiteral("back_Image_File"), QStringLiteral("A_2.pdf"));
        touch(QStringLiteral("Images/A_2.pdf"));
        card(QStringLiteral("D"))->setValue(QStringLiteral("connected"), 1);
        ASSERT_EQ(context->save(), 0);
        restart();
    }
    void TearDown() override
    {
        window.reset();
        Scheduler::shared().setClock(nullptr);
    }

    void start()
    {
        openDatabase.choose(database);
        window = std::make_unique<PLMainWindowController>(openDatabase);
        window->setTerminate([] {});
        window->showActiveWindow();
        ASSERT_NE(window->managedObjectContext(), nullptr);
    }
    // Quits and starts a second window on the same database.
    void restart()
    {
        window->window()->close();
        window.reset();
        start();
    }
    void touch(const QString& relative)
    {
        QFile file(database + QLatin1Char('/') + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    void addCard(const QString& id, const QString& folderID, int age)
    {
        ManagedObjectContext* context = window->managedObjectContext();
        const ManagedObjectPtr c = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
        c->setValue(QStringLiteral("cardID"), id);
        c->setValue(QStringLiteral("family_Name"), QStringLiteral("Person ") + id);
        c->setValue(QStringLiteral("deletedFlag"), 0);
        c->setValue(QStringLiteral("connected"), 0);
        c->setValue(QStringLiteral("syncID"), QStringLiteral("sync-") + id);
        c->setValue(QStringLiteral("face_Image_File"), id + QStringLiteral(".pdf"));
        c->setValue(QStringLiteral("accept_Date"), QDateTime(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC).addSecs(-60 * age));
        const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), id);
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), c);
        assignCardFolder(*c, *belong, folderID);
        touch(QStringLiteral("Images/") + id + QStringLiteral(".pdf"));
        if (!id.isEmpty()) {
            QDir().mkpath(database + QStringLiteral("/Files/") + id);
            touch(QStringLiteral("Files/") + id + QStringLiteral("/note.txt"));
        }
    }

    PLOutlineViewController& tree() const { return *window->outlineViewController(); }
    const MainWindowUi& ui() const { return window->ui(); }
    ManagedObjectPtr fetchOne(const char* entity, const QString& cardID) const
    {
        return window->managedObjectContext()
            ->executeFetchRequest({QString::fromLatin1(entity), keyEquals(QStringLiteral("cardID"), cardID), {}})
            .value(0);
    }
    ManagedObjectPtr card(const QString& id) const { return fetchOne(CardStore::kEntityCard, id); }
    bool inTrash(const QString& id) const { return card(id)->value(QStringLiteral("deletedFlag")).toInt() == 1; }
    QString folderOf(const QString& id) const { return card(id)->stringValue(QStringLiteral("folder_ID")); }
    QStringList pathNames(const QString& id) const
    {
        const ManagedObjectPtr belong = fetchOne(CardStore::kEntityCardBelong, id);
        QStringList names;
        for (int level = 1; level <= 4; ++level)
            names << belong->stringValue(QStringLiteral("folder%1_Name").arg(level));
        return names;
    }
    QString inboxID() const { return tree().rootNode()->children.first()->folderID; }
    const TreeNode* folderNamed(const QString& name) const
    {
        for (TreeNode* node : convertTreeToArray(const_cast<TreeNode*>(tree().rootNode()))) {
            if (node->folderName == name)
                return node;
        }
        return nullptr;
    }
    QModelIndex rowOf(const QString& name) const
    {
        QAbstractItemModel* model = ui()._outlineView->model();
        return model->match(model->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }
    // Opens the folder and selects these cards in the card list, the card table focused.
    void selectInFolder(const QString& folderID, const QStringList& ids)
    {
        ASSERT_TRUE(tree().openFolderWithFolderID(folderID));
        ASSERT_EQ(window->cardListController()->selectCardsWithIDs(ids), ids.size());
        ui()._tvList->setFocus(Qt::MouseFocusReason);
    }
    // Selects these cards in the trash, the trash focused.
    void selectInTrash(const QStringList& ids)
    {
        PLArrayController* trash = window->trashArrayController();
        QList<int> rows;
        for (int row = 0; row < trash->arrangedCount(); ++row) {
            if (ids.contains(trash->arrangedObject(row)->stringValue(QStringLiteral("cardID"))))
                rows << row;
        }
        ASSERT_EQ(rows.size(), ids.size());
        trash->setSelectionIndexes(rows);
        ui()._trashTableView->setFocus(Qt::MouseFocusReason);
    }
    static void trigger(QTableView* table, const QString& title)
    {
        for (QAction* item : qobject_cast<PLCardListTableView*>(table)->menu()->actions()) {
            if (item->text() == title) {
                emit qobject_cast<PLCardListTableView*>(table)->menu()->aboutToShow();
                item->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no item " << title.toStdString();
    }
    bool trashIconShown() const { return ui()._trashIconView->isVisibleTo(ui()._cardWindow); }
    bool exists(const QString& relative) const { return QFileInfo::exists(database + QLatin1Char('/') + relative); }
    // Card rows dropped on a folder row, as the folder tree takes a drop from the table.
    bool dropOnFolder(QTableView* from, const QString& folderName)
    {
        QMimeData rows;
        rows.setData(QString::fromLatin1(PLDragSupportDataSource::kTableViewDataType), QByteArray("rows"));
        return tree().acceptDrop(&rows, from, rowOf(folderName), true);
    }
};

} // namespace

TEST_F(CardTrashWindow, DeleteKeyAndMenusMoveCardsToTheTrashWithTheirPathAndRestoreFindsTheirFolder)
{
    selectInFolder(QStringLiteral("K"), {QStringLiteral("A")});
    EXPECT_FALSE(trashIconShown());
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    EXPECT_TRUE(inTrash(QStringLiteral("A")));
    EXPECT_EQ(folderOf(QStringLiteral("A")), QStringLiteral("K")) << "a trashed card keeps its folder";
    EXPECT_EQ(pathNames(QStringLiteral("A")), QStringList({kRootName, "Work", "Clients", "Key"}));
    EXPECT_NE(card(QStringLiteral("A"))->stringValue(QStringLiteral("syncID")), QStringLiteral("sync-A"));
    EXPECT_FALSE(card(QStringLiteral("A"))->stringValue(QStringLiteral("sync_Email")).isEmpty());
    clock.advance(0);
    EXPECT_TRUE(trashIconShown());
    // A search that hides every trashed card leaves the icon as the trash's content has it.
    QTest::keyClicks(ui()._searchFiled, QStringLiteral("no such card"));
    clock.advance(0);
    EXPECT_EQ(window->trashArrayController()->arrangedCount(), 0);
    EXPECT_TRUE(trashIconShown());
    ui()._searchFiled->selectAll();
    QTest::keyClick(ui()._searchFiled, Qt::Key_Delete);
    EXPECT_EQ(window->arrayController()->arrangedObjects().size(), 2) << "the folder shows B and C";
    EXPECT_EQ(ui()._currentSelectText->text(), StatusTexts::currentSelectText(1, 2));

    selectInFolder(QStringLiteral("K"), {QStringLiteral("B")});
    trigger(ui()._tvList, QStringLiteral("IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_ACTIVE"));
    EXPECT_TRUE(inTrash(QStringLiteral("B")));
    selectInFolder(inboxID(), {QStringLiteral("D")});
    window->editMenu()->perform(PLEditMenu::Item::Delete);
    EXPECT_TRUE(inTrash(QStringLiteral("D")));
    EXPECT_EQ(pathNames(QStringLiteral("D")), QStringList({kRootName, "IDS_FOLDER_NAME_INBOX", "", ""}));

    // Its own folder, renamed to other letters: still found by its identifier.
    ASSERT_TRUE(tree().renameFolder(folderNamed(QStringLiteral("Clients")), QStringLiteral("Partners")));
    selectInTrash({QStringLiteral("A")});
    trigger(ui()._trashTableView, QStringLiteral("IDS_MENU_RETURN_RECORD"));
    EXPECT_FALSE(inTrash(QStringLiteral("A")));
    EXPECT_EQ(folderOf(QStringLiteral("A")), QStringLiteral("K"));
    EXPECT_EQ(pathNames(QStringLiteral("A")), QStringList({"", "", "", ""}));
    EXPECT_NE(card(QStringLiteral("A"))->stringValue(QStringLiteral("syncID")), QString()) << "a named card gets a new identifier";

    // An Inbox card goes back to the Inbox even beside a user folder of the Inbox's name.
    ASSERT_TRUE(tree().renameFolder(folderNamed(QStringLiteral("Other")), QStringLiteral("IDS_FOLDER_NAME_INBOX")));
    selectInTrash({QStringLiteral("D")});
    trigger(ui()._trashTableView, QStringLiteral("IDS_MENU_RETURN_RECORD"));
    EXPECT_EQ(folderOf(QStringLiteral("D")), inboxID());
    EXPECT_EQ(card(QStringLiteral("D"))->value(QStringLiteral("connected")).toInt(), 1);

    // Its folder removed (only trashed cards in it): found again by its path of names, ignoring
    // case, once a folder stands there again; until then message 213 stops the restore, the
    // cards restored before it staying restored.
    selectInFolder(QStringLiteral("K"), {QStringLiteral("C")});
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    EXPECT_EQ(pathNames(QStringLiteral("C")), QStringList({kRootName, "Work", "Partners", "Key"}));
    selectInFolder(QStringLiteral("K"), {QStringLiteral("A")});
    ASSERT_TRUE(dropOnFolder(ui()._tvList, QStringLiteral("Work")));
    selectInFolder(QStringLiteral("W"), {QStringLiteral("A")});
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    ASSERT_TRUE(tree().removeFolder(folderNamed(QStringLiteral("Key"))));
    ASSERT_EQ(folderNamed(QStringLiteral("Key")), nullptr);
    presenter.clear();
    selectInTrash({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    trigger(ui()._trashTableView, QStringLiteral("IDS_MENU_RETURN_RECORD"));
    EXPECT_EQ(presenter.texts(), QStringList({QStringLiteral("E213")}));
    EXPECT_FALSE(inTrash(QStringLiteral("A"))) << "restored before the card without a folder";
    EXPECT_EQ(folderOf(QStringLiteral("A")), QStringLiteral("W"));
    EXPECT_TRUE(inTrash(QStringLiteral("B")));
    EXPECT_TRUE(inTrash(QStringLiteral("C"))) << "the restore stopped at B";

    ASSERT_TRUE(tree().addFolder(folderNamed(QStringLiteral("Partners"))));
    auto* editor = ui()._outlineView->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("KEY"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    const TreeNode* again = folderNamed(QStringLiteral("KEY"));
    ASSERT_NE(again, nullptr);
    const QString againID = again->folderID;
    presenter.clear();
    selectInTrash({QStringLiteral("C")});
    trigger(ui()._trashTableView, QStringLiteral("IDS_MENU_RETURN_RECORD"));
    EXPECT_TRUE(presenter.texts().isEmpty()) << presenter.texts().join(u'|').toStdString();
    EXPECT_FALSE(inTrash(QStringLiteral("C")));
    EXPECT_EQ(folderOf(QStringLiteral("C")), againID);
    EXPECT_EQ(fetchOne(CardStore::kEntityCardBelong, QStringLiteral("C"))->stringValue(QStringLiteral("folder_ID")), againID);
    // B's path still names the middle folder by its old name.
    selectInTrash({QStringLiteral("B")});
    trigger(ui()._trashTableView, QStringLiteral("IDS_MENU_RETURN_RECORD"));
    EXPECT_EQ(presenter.texts(), QStringList({QStringLiteral("E213")}));
    EXPECT_TRUE(inTrash(QStringLiteral("B")));
    window->cardMoves()->returnRecordToFolder(*again);
    EXPECT_FALSE(inTrash(QStringLiteral("B")));
    clock.advance(0);
    EXPECT_FALSE(trashIconShown());
}

TEST_F(CardTrashWindow, CardsDroppedOnAFolderMoveThereAndAreThereInASecondWindow)
{
    // From the card list: filed in the folder, no longer shared through the Inbox.
    selectInFolder(inboxID(), {QStringLiteral("D")});
    EXPECT_TRUE(dropOnFolder(ui()._tvList, QStringLiteral("Work")));
    EXPECT_EQ(folderOf(QStringLiteral("D")), QStringLiteral("W"));
    EXPECT_EQ(fetchOne(CardStore::kEntityCardBelong, QStringLiteral("D"))->stringValue(QStringLiteral("folder_ID")), QStringLiteral("W"));
    EXPECT_EQ(card(QStringLiteral("D"))->value(QStringLiteral("connected")).toInt(), 0);
    EXPECT_EQ(window->arrayController()->arrangedObjects().size(), 0) << "the Inbox shown no longer lists it";

    // From the trash: onto the root nothing; onto the Inbox `connected` stays; elsewhere cleared.
    card(QStringLiteral("E"))->setValue(QStringLiteral("connected"), 1);
    selectInFolder(QStringLiteral("O"), {QStringLiteral("E")});
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    selectInTrash({QStringLiteral("E")});
    EXPECT_FALSE(dropOnFolder(ui()._trashTableView, kRootName));
    window->cardMoves()->returnRecordToFolder(*tree().rootNode());
    EXPECT_TRUE(inTrash(QStringLiteral("E")));
    EXPECT_TRUE(dropOnFolder(ui()._trashTableView, QStringLiteral("IDS_FOLDER_NAME_INBOX")));
    EXPECT_FALSE(inTrash(QStringLiteral("E")));
    EXPECT_EQ(folderOf(QStringLiteral("E")), inboxID());
    EXPECT_EQ(card(QStringLiteral("E"))->value(QStringLiteral("connected")).toInt(), 1);
    selectInFolder(inboxID(), {QStringLiteral("E")});
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    selectInTrash({QStringLiteral("E")});
    EXPECT_TRUE(dropOnFolder(ui()._trashTableView, QStringLiteral("Clients")));
    EXPECT_EQ(folderOf(QStringLiteral("E")), QStringLiteral("C"));
    EXPECT_EQ(card(QStringLiteral("E"))->value(QStringLiteral("connected")).toInt(), 0);
    EXPECT_EQ(pathNames(QStringLiteral("E")), QStringList({"", "", "", ""}));

    // B to the trash, the trash hidden; the next start finds all of it as it was left.
    selectInFolder(QStringLiteral("K"), {QStringLiteral("B")});
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    ASSERT_TRUE(window->cardMoves()->trashPane().isShown());
    ui()._switchBtn->click();
    EXPECT_FALSE(ui()._trashTableView->isVisibleTo(ui()._cardWindow));
    EXPECT_FALSE(ui()._clearBtn->isVisibleTo(ui()._cardWindow));
    restart();
    EXPECT_FALSE(ui()._trashTableView->isVisibleTo(ui()._cardWindow)) << "the trash stays hidden";
    EXPECT_FALSE(ui()._switchBtn->isChecked());
    EXPECT_TRUE(trashIconShown());
    EXPECT_TRUE(inTrash(QStringLiteral("B")));
    EXPECT_EQ(folderOf(QStringLiteral("D")), QStringLiteral("W"));
    EXPECT_EQ(folderOf(QStringLiteral("E")), QStringLiteral("C"));
    ASSERT_EQ(window->trashArrayController()->arrangedObjects().size(), 1);
    ui()._switchBtn->click();
    EXPECT_TRUE(ui()._trashTableView->isVisibleTo(ui()._cardWindow));
    EXPECT_EQ(PreferenceDomain::standard().value(QString::fromLatin1(TrashPane::kShowTrashKey)).toInteger(), 1);
}

TEST_F(CardTrashWindow, DeletingForGoodRemovesExactlyTheTrashedCardsFiles)
{
    // A card without an identifier: its attachments would be the whole "Files" folder.
    addCard(QString(), QStringLiteral("O"), 9);
    ASSERT_EQ(window->managedObjectContext()->save(), 0);
    restart();
    selectInFolder(QStringLiteral("K"), {QStringLiteral("A"), QStringLiteral("B")});
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    ASSERT_TRUE(tree().openFolderWithFolderID(QStringLiteral("O")));
    const ManagedObjectList shown = window->arrayController()->arrangedObjects();
    const auto blank = std::find_if(shown.begin(), shown.end(),
                                    [](const ManagedObjectPtr& c) { return c->stringValue(QStringLiteral("cardID")).isEmpty(); });
    ASSERT_NE(blank, shown.end());
    window->arrayController()->setSelectionIndex(int(blank - shown.begin()));
    ui()._tvList->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    ASSERT_EQ(window->trashArrayController()->arrangedObjects().size(), 3);

    // The Delete key in the trash asks first; No keeps the card.
    selectInTrash({QStringLiteral("B")});
    presenter.queueAnswer(kAlertSecondButtonReturn);
    QTest::keyClick(ui()._trashTableView, Qt::Key_Delete);
    EXPECT_TRUE(exists(QStringLiteral("Images/B.pdf")));
    ASSERT_NE(card(QStringLiteral("B")), nullptr);
    presenter.queueAnswer(kAlertFirstButtonReturn);
    QTest::keyClick(ui()._trashTableView, Qt::Key_Delete);
    EXPECT_EQ(card(QStringLiteral("B")), nullptr);
    EXPECT_EQ(fetchOne(CardStore::kEntityCardBelong, QStringLiteral("B")), nullptr);
    EXPECT_FALSE(exists(QStringLiteral("Images/B.pdf")));
    EXPECT_FALSE(exists(QStringLiteral("Files/B")));
    EXPECT_TRUE(exists(QStringLiteral("Images/A.pdf")));
    EXPECT_EQ(window->trashArrayController()->arrangedObjects().size(), 2);

    // Empty Trash: declined, nothing; accepted, the trashed cards and only their files.
    presenter.queueAnswer(kAlertSecondButtonReturn);
    ui()._clearBtn->click();
    EXPECT_EQ(window->trashArrayController()->arrangedObjects().size(), 2);
    presenter.queueAnswer(kAlertFirstButtonReturn);
    ui()._clearBtn->click();
    clock.advance(0);
    EXPECT_EQ(window->trashArrayController()->arrangedObjects().size(), 0);
    EXPECT_EQ(card(QStringLiteral("A")), nullptr);
    for (const char* gone : {"Images/A.pdf", "Images/A_2.pdf", "Files/A", "Images/.pdf"})
        EXPECT_FALSE(exists(QString::fromLatin1(gone))) << gone;
    for (const char* kept : {"Images/C.pdf", "Files/C/note.txt", "Images/D.pdf", "Files/D", "Images/E.pdf", "Files/E/note.txt"})
        EXPECT_TRUE(exists(QString::fromLatin1(kept))) << kept;
    EXPECT_FALSE(trashIconShown());
    EXPECT_EQ(window->managedObjectContext()->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), {}, {}}).size(), 3);
    restart();
    EXPECT_EQ(window->managedObjectContext()->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), {}, {}}).size(), 3)
        << "the deletions were saved";
}

TEST_F(CardTrashWindow, ACardWhoseFolderIsNotInTheTreeGoesToTheTrashWithoutAPath)
{
    // Filed in a folder the store no longer holds: the root lists it, the trash takes it all the
    // same; back only into a folder the user chooses.
    fetchOne(CardStore::kEntityCardBelong, QStringLiteral("E"))->setValue(QStringLiteral("folder_ID"), QStringLiteral("GONE"));
    card(QStringLiteral("E"))->setValue(QStringLiteral("folder_ID"), QStringLiteral("GONE"));
    ASSERT_EQ(window->managedObjectContext()->save(), 0);
    restart();
    selectInFolder(tree().rootNode()->folderID, {QStringLiteral("E")});
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    EXPECT_TRUE(inTrash(QStringLiteral("E")));
    EXPECT_EQ(pathNames(QStringLiteral("E")), QStringList({"", "", "", ""}));
    selectInTrash({QStringLiteral("E")});
    presenter.clear();
    trigger(ui()._trashTableView, QStringLiteral("IDS_MENU_RETURN_RECORD"));
    EXPECT_EQ(presenter.texts(), QStringList({QStringLiteral("E213")}));
    EXPECT_TRUE(inTrash(QStringLiteral("E")));
    EXPECT_TRUE(dropOnFolder(ui()._trashTableView, QStringLiteral("Other")));
    EXPECT_FALSE(inTrash(QStringLiteral("E")));
    EXPECT_EQ(folderOf(QStringLiteral("E")), QStringLiteral("O"));
}

TEST_F(CardTrashWindow, UndoBringsTheLastMoveBackUntilTheTrashTakesTheFocus)
{
    window->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->window(), 60000)); // the minute only guards against a hang
    PLEditMenu* edit = window->editMenu();
    selectInFolder(QStringLiteral("K"), {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    ASSERT_EQ(window->trashArrayController()->arrangedObjects().size(), 3);
    ASSERT_EQ(window->window()->focusWidget(), ui()._tvList);
    edit->validate();
    ASSERT_TRUE(edit->action(PLEditMenu::Item::Undo)->isEnabled());
    edit->action(PLEditMenu::Item::Undo)->trigger();
    for (const char* id : {"A", "B", "C"}) {
        EXPECT_FALSE(inTrash(QString::fromLatin1(id))) << id;
        EXPECT_EQ(folderOf(QString::fromLatin1(id)), QStringLiteral("K")) << id;
        EXPECT_EQ(pathNames(QString::fromLatin1(id)), QStringList({"", "", "", ""})) << "a card back in its folder has no path";
    }
    EXPECT_EQ(window->arrayController()->arrangedObjects().size(), 3);
    clock.advance(0);
    EXPECT_FALSE(trashIconShown());
    edit->validate();
    EXPECT_FALSE(edit->action(PLEditMenu::Item::Undo)->isEnabled()) << "one level of undo";

    selectInFolder(QStringLiteral("K"), {QStringLiteral("A")});
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    ui()._trashTableView->setFocus(Qt::MouseFocusReason);
    ui()._tvList->setFocus(Qt::MouseFocusReason);
    edit->validate();
    EXPECT_FALSE(edit->action(PLEditMenu::Item::Undo)->isEnabled()) << "the trash took the focus: the move stays";
    EXPECT_TRUE(inTrash(QStringLiteral("A")));
}

TEST(CardTrash, RestoredCardsGetANewSynchronisationIdentifierOnlyWhenNamed)
{
    const bool judge = g_bSyncOSJudge;
    struct Case {
        bool judgeOn;
        const char* key; // the one name field set; none for a card without a name
        bool renewed;
    } cases[] = {
        {true, "family_Name", true}, {true, "first_Name", true},   {true, "middle_Name", true}, {true, "company", false},
        {true, nullptr, false},      {false, "family_Name", true}, {false, "company", true},    {false, nullptr, false},
    };
    for (const Case& c : cases) {
        g_bSyncOSJudge = c.judgeOn;
        ManagedObject card(*CardStore::currentModel().entity(QString::fromLatin1(CardStore::kEntityCard)), nullptr);
        card.setValue(QStringLiteral("syncID"), QStringLiteral("old"));
        if (c.key)
            card.setValue(QString::fromLatin1(c.key), QStringLiteral("x"));
        renewSyncIDOnRestore(card);
        const QString what = QStringLiteral("%1 %2").arg(c.judgeOn).arg(QString::fromLatin1(c.key ? c.key : "none"));
        if (c.renewed) {
            EXPECT_FALSE(card.stringValue(QStringLiteral("syncID")).isEmpty()) << what.toStdString();
            EXPECT_NE(card.stringValue(QStringLiteral("syncID")), QStringLiteral("old")) << what.toStdString();
        } else {
            EXPECT_TRUE(card.value(QStringLiteral("syncID")).isNull()) << what.toStdString();
        }
    }
    g_bSyncOSJudge = judge;
}

TEST_F(CardTrashWindow, DeleteIsTheEditMenusKeyUnlessATextOrTheFolderTreeTakesIt)
{
    EXPECT_EQ(window->editMenu()->action(PLEditMenu::Item::Delete)->shortcut(), QKeySequence(QKeySequence::Delete));
    window->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->window(), 60000)); // the minute only guards against a hang

    // Texts keep the key to delete a character: the search field, a folder's name being edited.
    // The card selected in the list stays.
    selectInFolder(QStringLiteral("K"), {QStringLiteral("C")});
    QLineEdit* search = ui()._searchFiled;
    search->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(search, QStringLiteral("abc"));
    search->setCursorPosition(0);
    QTest::keyClick(search, Qt::Key_Delete);
    EXPECT_EQ(search->text(), QStringLiteral("bc"));
    search->selectAll();
    QTest::keyClick(search, Qt::Key_Delete);
    EXPECT_EQ(search->text(), QString()) << "the search ends and the list shows the folder again";
    ASSERT_TRUE(tree().openFolderWithFolderID(QStringLiteral("O")));
    ui()._outlineView->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(ui()._outlineView, Qt::Key_F2);
    auto* name = ui()._outlineView->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(name, nullptr) << "the edit key opens the folder's name";
    name->setCursorPosition(0);
    QTest::keyClick(name, Qt::Key_Delete);
    EXPECT_EQ(name->text(), QStringLiteral("ther"));
    QTest::keyClick(name, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents();
    EXPECT_NE(folderNamed(QStringLiteral("Other")), nullptr);
    EXPECT_FALSE(inTrash(QStringLiteral("C")));

    // The card table: Delete and Backspace move the selected card to the trash.
    for (const auto& [id, key] : {std::pair{"A", Qt::Key_Delete}, {"B", Qt::Key_Backspace}, {"C", Qt::Key_Delete}}) {
        selectInFolder(QStringLiteral("K"), {QString::fromLatin1(id)});
        QTest::keyClick(ui()._tvList, key);
        EXPECT_TRUE(inTrash(QString::fromLatin1(id))) << id;
    }

    // The folder tree: Delete asks to remove the selected folder (its cards are all in the trash).
    ASSERT_TRUE(tree().openFolderWithFolderID(QStringLiteral("K")));
    ui()._outlineView->setFocus(Qt::MouseFocusReason);
    presenter.clear();
    presenter.queueAnswer(kAlertSecondButtonReturn);
    QTest::keyClick(ui()._outlineView, Qt::Key_Delete);
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("Remove folder?")});
    EXPECT_NE(folderNamed(QStringLiteral("Key")), nullptr) << "the question was answered No";
}

TEST_F(CardTrashWindow, EmptyTrashNeverRemovesThroughALinkOutOfTheDatabase)
{
    // A received database whose "Images" and "Files" lead elsewhere: to folders holding a file
    // named as card A's image and a folder named as card A's identifier.
    const QString outside = temp.filePath(QStringLiteral("outside"));
    QDir().mkpath(outside + QStringLiteral("/images"));
    QDir().mkpath(outside + QStringLiteral("/files/A"));
    QDir().mkpath(outside + QStringLiteral("/elsewhere"));
    for (const QString& file : {QStringLiteral("/images/A.pdf"), QStringLiteral("/files/A/id_rsa"), QStringLiteral("/elsewhere/key")}) {
        QFile f(outside + file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    selectInFolder(QStringLiteral("K"), {QStringLiteral("A"), QStringLiteral("B")});
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    ASSERT_EQ(window->trashArrayController()->arrangedObjects().size(), 2);
    const QString files = database + QStringLiteral("/Files");
    ASSERT_TRUE(QDir(files).rename(files, database + QStringLiteral("/Files.real")));
    ASSERT_TRUE(QDir(database + QStringLiteral("/Images")).removeRecursively());
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/images"), database + QStringLiteral("/Images")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/files"), files));

    presenter.queueAnswer(kAlertFirstButtonReturn);
    ui()._clearBtn->click();
    clock.advance(0);
    EXPECT_EQ(window->trashArrayController()->arrangedObjects().size(), 0);
    EXPECT_TRUE(QFile::exists(outside + QStringLiteral("/images/A.pdf")));
    EXPECT_TRUE(QFile::exists(outside + QStringLiteral("/files/A/id_rsa")));

    // With "Files" a folder again, a card's folder that is a link goes as a link.
    ASSERT_TRUE(QFile::remove(files));
    ASSERT_TRUE(QDir().rename(database + QStringLiteral("/Files.real"), files));
    selectInFolder(QStringLiteral("K"), {QStringLiteral("C")});
    QTest::keyClick(ui()._tvList, Qt::Key_Delete);
    ASSERT_TRUE(QDir(files + QStringLiteral("/C")).removeRecursively());
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/elsewhere"), files + QStringLiteral("/C")));
    presenter.queueAnswer(kAlertFirstButtonReturn);
    ui()._clearBtn->click();
    clock.advance(0);
    EXPECT_FALSE(QFileInfo(files + QStringLiteral("/C")).isSymLink());
    EXPECT_TRUE(QFile::exists(outside + QStringLiteral("/elsewhere/key")));
}
