// Dragging cards out of the card list and the trash, and dropping cards and files on them: what a
// drag carries (a single card's PDF in a folder of this process only), the drop rules, and the
// drops handed to the card list, the trash and the open-files intake.
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/images/CardImageFiles.h"
#include "app/images/OcrApplicationLink.h"
#include "app/ui/PLApplicationServices.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLDragSupportDataSource.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/TreeNode.h"
#include "app/ui/logic/CardDragFileName.h"
#include "app/ui/logic/FolderDropRules.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/StandardPaths.h"
#include "platform/foundation/TreeRemoval.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/app/ui/MainWindowStart.h"
#include "tests/app/ui/ViewportDrag.h"
#include "tests/support/appkit/ManualClock.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/pdf/TestPdf.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QApplication>
#include <QTest>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUrl>

#include <functional>
#include <utility>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kNone = kDragOperationNone;
constexpr int kCopy = kDragOperationCopy;
constexpr int kMove = kDragOperationMove;

TEST(CardListDropRules, DecisionTable)
{
    // Each case changes the card-row drag from the card list onto the trash, or the file drag from
    // another program onto the card list, which both pass.
    CardListDropProposal cardRows;
    cardRows.hasSource = true;
    cardRows.betweenRows = true;
    cardRows.targetIsTrashTable = true;
    cardRows.hasCardRows = true;
    CardListDropProposal files;
    files.hasFileNames = true;
    files.fileCount = 2;
    struct Case {
        const char* what;
        CardListDropProposal proposal;
        std::function<void(CardListDropProposal&)> change;
        int expected;
    } cases[] = {
        {"card rows onto the trash", cardRows, [](auto&) {}, kMove},
        {"files onto the list", files, [](auto&) {}, kCopy},
        {"no open database", files, [](auto& p) { p.databaseOpen = false; }, kNone},
        {"read-only database", cardRows, [](auto& p) { p.readOnlyDatabase = true; }, kNone},
        {"a sheet or a modal window", files, [](auto& p) { p.windowBusy = true; }, kNone},
        {"from the trash onto the list in the root", cardRows,
         [](auto& p) {
             p.sourceIsTrashTable = true;
             p.targetIsTrashTable = false;
             p.rootSelected = true;
         },
         kNone},
        {"from the trash onto the list in a folder", cardRows,
         [](auto& p) {
             p.sourceIsTrashTable = true;
             p.targetIsTrashTable = false;
         },
         kMove},
        {"the root shown does not stop the list's rows", cardRows, [](auto& p) { p.rootSelected = true; }, kMove},
        {"onto a row", cardRows, [](auto& p) { p.betweenRows = false; }, kNone},
        {"onto the table they come from", cardRows, [](auto& p) { p.sourceIsTarget = true; }, kNone},
        {"card rows from another program", cardRows, [](auto& p) { p.hasSource = false; }, kNone},
        {"a card's PDF goes with its row", cardRows,
         [](auto& p) {
             p.hasFileNames = true;
             p.fileCount = 1;
         },
         kMove},
        {"a card's PDF onto its own table", cardRows,
         [](auto& p) {
             p.hasFileNames = true;
             p.fileCount = 1;
             p.sourceIsTarget = true;
         },
         kNone},
        {"files onto the trash", files, [](auto& p) { p.targetIsTrashTable = true; }, kNone},
        {"files onto a row", files, [](auto& p) { p.betweenRows = false; }, kCopy},
        {"an empty file list", files, [](auto& p) { p.fileCount = 0; }, kNone},
        {"files with attachment rows", files, [](auto& p) { p.hasAttachmentRows = true; }, kNone},
        {"attachment rows alone", CardListDropProposal{},
         [](auto& p) {
             p.hasAttachmentRows = true;
             p.hasSource = true;
             p.betweenRows = true;
         },
         kNone},
        {"nothing the tables know", CardListDropProposal{},
         [](auto& p) {
             p.hasSource = true;
             p.betweenRows = true;
         },
         kNone},
    };
    for (Case& c : cases) {
        c.change(c.proposal);
        EXPECT_EQ(validateCardListDrop(c.proposal), c.expected) << c.what;
    }
}

TEST(CardDragFileName, CompanyAndNameCutAndMadeSafe)
{
    const QString thirty = QString(30, QLatin1Char('c'));
    // "𝒜" lies outside the basic plane: two UTF-16 units, one character.
    const QString wide = QString::fromUtf8("\xF0\x9D\x92\x9C");
    struct Case {
        QString company;
        QString name;
        QString expected;
    } cases[] = {
        {QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("B_A.pdf")},
        {QString(), QStringLiteral("A"), QStringLiteral("A.pdf")},
        {QStringLiteral("B"), QStringLiteral(" \n"), QStringLiteral("B.pdf")},
        {QStringLiteral("  "), QString(), QStringLiteral("NONAME.pdf")},
        {thirty, thirty, thirty + QLatin1Char('_') + thirty + QStringLiteral(".pdf")},
        {thirty + QLatin1Char('x'), QStringLiteral("A") + thirty, thirty + QStringLiteral("_A") + thirty.left(29) + QStringLiteral(".pdf")},
        {QString(29, QLatin1Char('c')) + wide + QStringLiteral("x"), QString(),
         QString(29, QLatin1Char('c')) + wide + QStringLiteral(".pdf")},
        {wide.repeated(31), QString(), wide.repeated(30) + QStringLiteral(".pdf")},
        {QStringLiteral(".hidden"), QStringLiteral("a/b:c"), QStringLiteral("_hidden_a_b_c.pdf")},
        {QStringLiteral("../.."), QString(), QStringLiteral("_._...pdf")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cardDragFileName(c.company, c.name, QStringLiteral("NONAME")), c.expected)
            << c.company.toStdString() << "|" << c.name.toStdString();
}

struct CardRow {
    const char* cardID;
    const char* name;
    const char* company;
    const char* front; // the stored front image name
    bool back;
    int deleted;
};

// The trash's commands as the card list calls them, recorded.
struct TrashCalls {
    QStringList calls;
    PLCardListController::TrashCommands commands()
    {
        return {[this] { calls << QStringLiteral("removeRecord"); },
                [this] { calls << QStringLiteral("removeRecordInTrash"); },
                [this] { calls << QStringLiteral("returnRecord"); },
                [this](const TreeNode& folder) { calls << QStringLiteral("returnRecordToFolder ") + folder.folderName; },
                [this](const TreeNode& folder) { calls << QStringLiteral("moveRecordToFolder ") + folder.folderName; },
                [this] { calls << QStringLiteral("showTrashTable"); },
                {},
                {}};
    }
    QStringList take() { return std::exchange(calls, {}); }
};

class DragAndDrop : public ::testing::Test {
protected:
    QTemporaryDir temp;
    TestBundle bundle;
    ScriptedMessagePresenter presenter;
    ManualClock clock;
    QString database;
    OpenDatabase openDatabase;
    const QString kWorkID = QStringLiteral("WORK-FOLDER");

    void SetUp() override
    {
        Scheduler::shared().setClock(&clock);
        PreferenceDomain::setStandardDomain(QStringLiteral("test.draganddrop"), temp.filePath(QStringLiteral("prefs")));
        setOcrApplicationFolder(temp.filePath(QStringLiteral("no-ocr")));
        database = temp.filePath(QStringLiteral("Cards.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
    }
    void TearDown() override
    {
        PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeNone);
        Scheduler::shared().setClock(nullptr);
    }

    std::unique_ptr<PLMainWindowController> start()
    {
        return startMainWindow(openDatabase, database);
    }
    // The Inbox shows, newest first: Bob of Acme (front and back), a card without name or company,
    // Carol whose stored image name reaches outside the images folder; Trashed is in the trash.
    // A user folder "Work" lies under the root.
    std::unique_ptr<PLMainWindowController> startWithCards()
    {
        const CardRow rows[] = {
            {"A", "Bob", "Acme", "A_N1.pdf", true, 0},
            {"B", "", "", "B_N1.pdf", false, 0},
            {"C", "Carol", "", "../C_N1.pdf", false, 0},
            {"T", "Trashed", "", "T_N1.pdf", false, 1},
        };
        {
            auto window = start();
            ManagedObjectContext* context = window->managedObjectContext();
            const QString inbox = folderID(*window, kFolderTypeInbox);
            int minutes = 0;
            for (const CardRow& row : rows) {
                const QString front = QString::fromLatin1(row.front);
                // Carol's image is there too, outside the images folder.
                EXPECT_TRUE(testpdf::writePdf(QDir(database + QStringLiteral("/Images")).filePath(front), testpdf::scannerDocument(1)));
                const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
                card->setValue(QStringLiteral("cardID"), QString::fromLatin1(row.cardID));
                card->setValue(QStringLiteral("full_Name"), QString::fromLatin1(row.name));
                card->setValue(QStringLiteral("company"), QString::fromLatin1(row.company));
                card->setValue(QStringLiteral("face_Image_File"), front);
                if (row.back) {
                    const QString back = QString::fromLatin1(row.cardID) + QStringLiteral("_N2.pdf");
                    EXPECT_TRUE(testpdf::writePdf(database + QStringLiteral("/Images/") + back, testpdf::scannerDocument(1)));
                    card->setValue(QStringLiteral("back_Image_File"), back);
                }
                card->setValue(QStringLiteral("deletedFlag"), row.deleted);
                card->setValue(QStringLiteral("scanNow"), 0);
                card->setValue(QStringLiteral("accept_Date"), QDateTime::currentDateTimeUtc().addSecs(-60 * ++minutes));
                const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
                belong->setValue(QStringLiteral("cardID"), QString::fromLatin1(row.cardID));
                assignCardFolder(*card, *belong, inbox);
                belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
            }
            const ManagedObjectPtr work = context->insertNewObject(QString::fromLatin1(CardStore::kEntityFolder));
            work->setValue(QStringLiteral("folder_ID"), kWorkID);
            work->setValue(QStringLiteral("folder_Name"), QStringLiteral("Work"));
            work->setValue(QStringLiteral("folder_Level"), 2);
            work->setValue(QStringLiteral("folder_Parent"), folderID(*window, kFolderTypeRoot));
            work->setValue(QStringLiteral("folder_Type"), kFolderTypeUser);
            window->saveAction();
            window->window()->close();
        }
        auto window = start();
        window->outlineViewController()->openInbox();
        return window;
    }
    static QString folderID(PLMainWindowController& window, int type)
    {
        const ManagedObjectList folders = window.managedObjectContext()->executeFetchRequest(
            {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), type), {}});
        return folders.isEmpty() ? QString() : folders.first()->stringValue(QStringLiteral("folder_ID"));
    }
    // A drag from another program enters the table's rows at `at` and moves there: what it would
    // end in. It leaves again, or with `drop` is dropped there.
    static int dragOver(QTableView* table, const QMimeData* data, const QPoint& at, bool drop = false)
    {
        return dragOverViewport(table->viewport(), data, at, at, drop);
    }
    static QPoint middleOfRow(QTableView* table, int row) { return table->visualRect(table->model()->index(row, 0)).center(); }
};

int mode(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

TEST_F(DragAndDrop, OneCardDraggedOutCarriesItsPdfFromAFolderOfThisProcessThatGoesAtQuit)
{
    auto window = startWithCards();
    PLDragSupportDataSource* source = window->dragSupportDataSource();
    QTableView* list = window->ui()._tvList;
    QTableView* trash = window->ui()._trashTableView;
    const QString cardType = QString::fromLatin1(PLDragSupportDataSource::kTableViewDataType);
    ASSERT_EQ(list->model()->rowCount(), 3);

    std::unique_ptr<QMimeData> bob(source->writeRowsWithIndexes(list, {0}));
    ASSERT_NE(bob, nullptr);
    EXPECT_TRUE(bob->hasFormat(cardType));
    ASSERT_EQ(bob->urls().size(), 1);
    const QString pdf = bob->urls().first().toLocalFile();
    EXPECT_EQ(QFileInfo(pdf).fileName(), QStringLiteral("Acme_Bob.pdf"));
    EXPECT_EQ(GetPDFPageCount(pdf), 2) << "the front and the back";
    const QString folder = QFileInfo(pdf).absolutePath();
    EXPECT_EQ(QFileInfo(folder).absolutePath(), privateTempDir());
    EXPECT_TRUE(QFileInfo(folder).fileName().startsWith(QStringLiteral("drag%1-").arg(::getpid())));
    EXPECT_EQ(mode(folder), 0700);
    EXPECT_EQ(window->selectedCardIDs(), QStringList{QStringLiteral("A")}) << "the drag selects its rows";

    // The card without name or company; the one whose image name reaches out offers no file, nor
    // do two cards; each still moves inside the application. The trash's cards drag alike.
    struct Case {
        QTableView* table;
        QList<int> rows;
        QString file;
    } cases[] = {
        {list, {1}, QStringLiteral("IDS_NO_NAME.pdf")},
        {list, {2}, QString()},
        {list, {0, 1}, QString()},
        {trash, {0}, QStringLiteral("Trashed.pdf")},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QMimeData> data(source->writeRowsWithIndexes(c.table, c.rows));
        ASSERT_NE(data, nullptr);
        EXPECT_TRUE(data->hasFormat(cardType));
        const QString file = data->urls().isEmpty() ? QString() : data->urls().first().toLocalFile();
        EXPECT_EQ(QFileInfo(file).fileName(), c.file) << c.rows.size();
        if (!file.isEmpty()) {
            EXPECT_EQ(QFileInfo(file).absolutePath(), folder) << "one folder for the run";
        }
    }
    EXPECT_EQ(window->selectedCardIDs(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(source->writeRowsWithIndexes(list, {7}), nullptr) << "no card at that row";

    window.reset();
    EXPECT_FALSE(QFileInfo::exists(folder)) << "the folder goes at quit";
}

TEST_F(DragAndDrop, DragFoldersLeftByProcessesThatAreGoneAreRemovedAtTheNextStart)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const QString base = privateTempDir();
    const QString gone = base + QStringLiteral("/drag%1-Ab3dEf").arg(child);
    const QString running = base + QStringLiteral("/drag%1-Zz9yXw").arg(::getpid());
    const QString other = base + QStringLiteral("/dragged-things");
    for (const QString& path : {gone, running, other}) {
        ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/inside")));
        QFile file(path + QStringLiteral("/inside/Acme_Bob.pdf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    auto window = start();
    EXPECT_FALSE(QFileInfo::exists(gone));
    EXPECT_TRUE(QFileInfo::exists(running + QStringLiteral("/inside/Acme_Bob.pdf"))) << "a running process's drag stays";
    EXPECT_TRUE(QFileInfo::exists(other)) << "only drag folders by their naming";
    removeTree(running);
    removeTree(other);
}

TEST_F(DragAndDrop, DropsOnTheListAndTheTrashFollowTheRulesAndReachTheTrashCommands)
{
    auto window = startWithCards();
    PLDragSupportDataSource* source = window->dragSupportDataSource();
    PLOutlineViewController* folders = window->outlineViewController();
    QTableView* list = window->ui()._tvList;
    QTableView* trash = window->ui()._trashTableView;
    TrashCalls calls;
    window->cardListController()->setTrashCommands(calls.commands());

    // Drags from another program: files, a link that is no file, card rows from elsewhere.
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(temp.filePath(QStringLiteral("scan.pdf")))});
    QMimeData link;
    link.setUrls({QUrl(QStringLiteral("https://example.org/card.pdf"))});
    QMimeData foreignRows;
    foreignRows.setData(QString::fromLatin1(PLDragSupportDataSource::kTableViewDataType), {});
    const QPoint belowTheRows(10, list->viewport()->height() - 2);
    EXPECT_EQ(dragOver(list, &files, middleOfRow(list, 0)), kCopy);
    EXPECT_EQ(dragOver(list, &files, belowTheRows), kCopy);
    EXPECT_EQ(dragOver(trash, &files, QPoint(10, 2)), kNone);
    EXPECT_EQ(dragOver(list, &link, belowTheRows), kNone);
    EXPECT_EQ(dragOver(list, &foreignRows, belowTheRows), kNone);
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeReadOnly);
    EXPECT_EQ(dragOver(list, &files, belowTheRows), kNone);
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeOpened);
    {
        QDialog modal;
        modal.setWindowModality(Qt::ApplicationModal);
        modal.show();
        EXPECT_EQ(dragOver(list, &files, belowTheRows), kNone);
    }

    // Card rows dragged inside the application, as their drag's source tells.
    std::unique_ptr<QMimeData> fromList(source->writeRowsWithIndexes(list, {0}));
    std::unique_ptr<QMimeData> fromTrash(source->writeRowsWithIndexes(trash, {0}));
    EXPECT_EQ(source->validateDrop(trash, fromList.get(), list, true), kMove);
    EXPECT_EQ(source->validateDrop(trash, fromList.get(), list, false), kNone) << "onto a row";
    EXPECT_EQ(source->validateDrop(list, fromList.get(), list, true), kNone) << "onto its own table";
    EXPECT_EQ(source->validateDrop(list, fromTrash.get(), trash, true), kMove) << "back into the Inbox shown";
    EXPECT_TRUE(source->acceptDrop(trash, fromList.get()));
    EXPECT_TRUE(source->acceptDrop(list, fromTrash.get()));
    EXPECT_EQ(calls.take(), (QStringList{QStringLiteral("removeRecord"), QStringLiteral("returnRecordToFolder IDS_FOLDER_NAME_INBOX")}));
    ASSERT_TRUE(folders->openFolderWithFolderID(folderID(*window, kFolderTypeRoot)));
    EXPECT_EQ(source->validateDrop(list, fromTrash.get(), trash, true), kNone) << "the root shows no folder to restore into";
    EXPECT_EQ(source->validateDrop(trash, fromList.get(), list, true), kMove);
    EXPECT_TRUE(source->acceptDrop(list, fromTrash.get()));
    EXPECT_EQ(calls.take(), QStringList{QStringLiteral("returnRecord")});

    // Onto a folder of the tree: moved from the list, restored from the trash.
    const QModelIndex work = folders->outlineView()
                                 ->model()
                                 ->match(folders->outlineView()->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("Work"), 1,
                                         Qt::MatchExactly | Qt::MatchRecursive)
                                 .value(0);
    ASSERT_TRUE(work.isValid());
    EXPECT_TRUE(folders->acceptDrop(fromList.get(), list, work, true));
    EXPECT_TRUE(folders->acceptDrop(fromTrash.get(), trash, work, true));
    EXPECT_EQ(calls.take(), (QStringList{QStringLiteral("moveRecordToFolder Work"), QStringLiteral("returnRecordToFolder Work")}));

    // Files are never taken by the trash, even when a drop comes.
    EXPECT_FALSE(source->acceptDrop(trash, &files));
    EXPECT_TRUE(calls.take().isEmpty());
}

TEST_F(DragAndDrop, FilesDroppedOnTheListBecomeDroppedCardsOfTheShownFolderHalfASecondLater)
{
    auto window = startWithCards();
    PLAppController app(window.get(), window->database(), makeApplicationServices(), Bundle::main());
    window->setAppController(&app);
    QTableView* list = window->ui()._tvList;
    ASSERT_TRUE(window->outlineViewController()->openFolderWithFolderID(kWorkID));
    const QString pdf = temp.filePath(QStringLiteral("dropped.pdf"));
    ASSERT_TRUE(testpdf::writePdf(pdf, testpdf::scannerDocument(1)));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(pdf)});
    auto cardsInWork = [&] {
        return window->managedObjectContext()->executeFetchRequest(
            {QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("folder_ID"), kWorkID), {}});
    };

    // Read-only, the drop is refused and nothing is read.
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeReadOnly);
    EXPECT_EQ(dragOver(list, &files, QPoint(10, 2), true), kNone);
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeOpened);
    clock.advance(PLCardListController::kFileDropDelayMs);
    EXPECT_TRUE(cardsInWork().isEmpty());

    EXPECT_EQ(dragOver(list, &files, QPoint(10, 2), true), kCopy);
    ASSERT_TRUE(app.belongFolder().has_value());
    EXPECT_EQ(app.belongFolder()->folderID, kWorkID);
    clock.advance(PLCardListController::kFileDropDelayMs - 1);
    EXPECT_TRUE(cardsInWork().isEmpty());
    clock.advance(1);
    const ManagedObjectList cards = cardsInWork();
    ASSERT_EQ(cards.size(), 1) << presenter.texts().join(u'|').toStdString();
    EXPECT_EQ(cards.first()->value(QStringLiteral("input_Type")).toInt(), kInputTypeDrop);
    EXPECT_EQ(window->outlineViewController()->getSelectedItem()->folderID, kWorkID);
}

TEST_F(DragAndDrop, DraggingARowWithTheMouseWritesThePdfOfItsCard)
{
    auto window = startWithCards();
    QTableView* list = window->ui()._tvList;
    const QString pdfName = QStringLiteral("Acme_Bob.pdf");
    auto written = [&] {
        const QDir base(privateTempDir());
        for (const QString& folder : base.entryList({QStringLiteral("drag%1-*").arg(::getpid())}, QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (QFileInfo::exists(base.filePath(folder) + QLatin1Char('/') + pdfName))
                return true;
        }
        return false;
    };
    ASSERT_FALSE(written());
    // Press on Bob's row and move the mouse: the drag starts from the card under the pointer.
    const QPoint start = middleOfRow(list, 0);
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, start);
    const QPoint away = start + QPoint(QApplication::startDragDistance() + 10, 0);
    for (const QPoint& at : {start + QPoint(1, 0), away}) {
        QMouseEvent move(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &move);
    }
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, away);
    EXPECT_TRUE(written());
    EXPECT_EQ(window->selectedCardIDs(), QStringList{QStringLiteral("A")});
}
