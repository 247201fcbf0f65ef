#include "app/core/CardEntities.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/core/PLMessage.h"
#include "app/images/CardFileBatch.h"
#include "app/images/OcrApplicationLink.h"
#include "app/ui/PLApplicationServices.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/views/PLCardListTableView.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "platform/store/RawSqlite.h"
#include "platform/store/SqliteConnection.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/filemodes/FileModeCases.h"
#include "tests/app/images/FakeOcrServer.h"
#include "tests/support/pdf/TestPdf.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

class Import : public ::testing::Test {
protected:
    QTemporaryDir temp;
    TestBundle bundle{{}, {{QStringLiteral("IDS_MSG_ERR_0048"), PlistValue(QStringLiteral("E48"))}}};
    ScriptedMessagePresenter presenter;
    QString database;
    OpenDatabase openDatabase;
    std::unique_ptr<PLMainWindowController> window;
    std::unique_ptr<PLAppController> app;

    void SetUp() override
    {
        PreferenceDomain::setStandardDomain(QStringLiteral("test.import"), temp.filePath(QStringLiteral("prefs")));
        // No OCR program: recognition reports its failure and the cards stay.
        setOcrApplicationFolder(temp.filePath(QStringLiteral("no-ocr")));
        database = temp.filePath(QStringLiteral("Cards.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        openDatabase.choose(database);
        window = std::make_unique<PLMainWindowController>(openDatabase);
        app = std::make_unique<PLAppController>(window.get(), openDatabase, makeApplicationServices(), Bundle::main());
        window->setAppController(app.get());
        window->initDB();
        ASSERT_NE(window->managedObjectContext(), nullptr);
    }
    void TearDown() override
    {
        window.reset();
    }

    QString cardPdf(const QString& name)
    {
        const QString path = temp.filePath(name);
        EXPECT_TRUE(testpdf::writePdf(path, testpdf::scannerDocument(1)));
        return path;
    }
    ManagedObjectList fetch(const char* entity, Predicate predicate = {})
    {
        return window->managedObjectContext()->executeFetchRequest({QString::fromLatin1(entity), std::move(predicate), {}});
    }
    QString folderID(int type)
    {
        return fetch(CardStore::kEntityFolder, keyEquals(QStringLiteral("folder_Type"), type)).first()->stringValue(QStringLiteral("folder_ID"));
    }
};

} // namespace

TEST_F(Import, ScannerCardsArriveInTheInbox)
{
    const QString broken = temp.filePath(QStringLiteral("broken.pdf"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\nnot really");
    file.close();
    const QStringList paths{cardPdf("a.pdf"), broken, cardPdf("b.pdf"), cardPdf("c.pdf")};
    QStringList imported;
    window->scanData(paths, kInputTypeScanner, &imported);
    EXPECT_EQ(imported, (QStringList{paths[0], paths[2], paths[3]}));

    const ManagedObjectList cards = fetch(CardStore::kEntityCard);
    ASSERT_EQ(cards.size(), 3);
    const QString inbox = folderID(kFolderTypeInbox);
    for (const ManagedObjectPtr& card : cards) {
        const QString cardID = card->stringValue(QStringLiteral("cardID"));
        EXPECT_EQ(cardID, cardID.toUpper());
        EXPECT_EQ(card->stringValue(QStringLiteral("face_Image_File")), cardID + QStringLiteral("_N1.pdf"));
        EXPECT_TRUE(QFile::exists(database + QStringLiteral("/Images/") + cardID + QStringLiteral("_N1.pdf")));
        EXPECT_EQ(card->value(QStringLiteral("input_Type")).toInt(), 1);
        EXPECT_EQ(card->value(QStringLiteral("scanNow")).toInt(), 1);
        EXPECT_EQ(card->stringValue(QStringLiteral("flag1")), QStringLiteral("1"));
        EXPECT_EQ(card->stringValue(QStringLiteral("previous_Creator")), QStringLiteral("Brevix Scan"));
        EXPECT_FALSE(card->stringValue(QStringLiteral("sync_Email")).isEmpty());
    }
    const ManagedObjectList belongs = fetch(CardStore::kEntityCardBelong);
    ASSERT_EQ(belongs.size(), 3) << "no half-made record is kept for the broken file";
    for (const ManagedObjectPtr& belong : belongs) {
        EXPECT_EQ(belong->stringValue(QStringLiteral("folder_ID")), inbox);
        EXPECT_EQ(belong->relatedObject(QStringLiteral("ToCardRelation"))->stringValue(QStringLiteral("folder_ID")), inbox);
        EXPECT_EQ(belong->relatedObject(QStringLiteral("ToCardRelation"))->stringValue(QStringLiteral("cardID")),
                  belong->stringValue(QStringLiteral("cardID")));
    }
    EXPECT_EQ(window->selectedCardIDs(), QStringList{cards.last()->stringValue(QStringLiteral("cardID"))});
    EXPECT_FALSE(window->managedObjectContext()->hasChanges()) << "the import saves";
    EXPECT_FALSE(window->isImageProcessing());
}

TEST_F(Import, StagedFilesKeepTheirOriginalsAndStoreTheirSender)
{
    struct Case {
        int inputType;
        int stored;
    };
    for (const Case& c : {Case{kInputTypeFileManager, kInputTypeDrop}, Case{kInputTypeOther, kInputTypeOther}}) {
        const QString source = cardPdf(QStringLiteral("finder%1.pdf").arg(c.inputType));
        QStringList imported;
        window->scanData({source}, c.inputType, &imported);
        EXPECT_TRUE(QFile::exists(source));
        const ManagedObjectList cards = fetch(CardStore::kEntityCard, keyEquals(QStringLiteral("input_Type"), c.stored));
        EXPECT_EQ(cards.size(), 1) << c.inputType;
        EXPECT_FALSE(QFileInfo::exists(app->tempFolderPath())) << "the staging folder is removed";
    }
}

TEST_F(Import, DropsFileIntoTheirFolder)
{
    ManagedObjectContext* context = window->managedObjectContext();
    const ManagedObjectPtr folder = context->insertNewObject(QString::fromLatin1(CardStore::kEntityFolder));
    folder->setValue(QStringLiteral("folder_ID"), QStringLiteral("USER-FOLDER"));
    folder->setValue(QStringLiteral("folder_Type"), kFolderTypeUser);
    ASSERT_EQ(context->save(), 0);

    app->setBelongFolder(PLBelongFolder{QStringLiteral("USER-FOLDER"), kFolderTypeUser});
    window->scanData({cardPdf("user.pdf")}, kInputTypeDrop, nullptr);
    EXPECT_EQ(fetch(CardStore::kEntityCardBelong, keyEquals(QStringLiteral("folder_ID"), QStringLiteral("USER-FOLDER"))).size(), 1);
    EXPECT_EQ(fetch(CardStore::kEntityCard, keyEquals(QStringLiteral("folder_ID"), QStringLiteral("USER-FOLDER"))).size(), 1)
        << "the card carries its folder too";
    EXPECT_EQ(fetch(CardStore::kEntityCard, keyEquals(QStringLiteral("deletedFlag"), 0)).size(), 1) << "a new card is written as not deleted";
    EXPECT_EQ(window->selectedFolderID(), QStringLiteral("USER-FOLDER"));

    app->setBelongFolder(PLBelongFolder{folderID(kFolderTypeRoot), kFolderTypeRoot});
    window->scanData({cardPdf("root.pdf")}, kInputTypeDrop, nullptr);
    EXPECT_EQ(fetch(CardStore::kEntityCardBelong, keyEquals(QStringLiteral("folder_ID"), folderID(kFolderTypeInbox))).size(), 1);
}

TEST_F(Import, HiddenImportRemembersTheLastCardForTheNextDisplay)
{
    window->scanData({cardPdf("a.pdf"), cardPdf("b.pdf")}, kInputTypeScanner, nullptr);
    const ManagedObjectList version = fetch(CardStore::kEntityVersion);
    ASSERT_EQ(version.size(), 1);
    EXPECT_EQ(version.first()->stringValue(QStringLiteral("Sel_Folder_ID")), folderID(kFolderTypeInbox));
    EXPECT_EQ(version.first()->stringValue(QStringLiteral("Sel_Card_ID")), window->selectedCardIDs().first());
}

TEST_F(Import, TheShownWindowHoldsOnlyTheCardsItShows)
{
    // With the window up, the card list, the trash and the image pane all follow the import
    // (the merge window that would open after it is switched off).
    PreferenceDomain::standard().setValue(QStringLiteral("Auto run merge card function items"), 0);
    window->showWindow();
    QCoreApplication::processEvents();
    const QList<PLCardListTableView*> tables = window->window()->findChildren<PLCardListTableView*>();
    auto shownRows = [&tables] {
        qsizetype shown = 0;
        for (const PLCardListTableView* table : tables) {
            if (!table->isVisible() || !table->model() || table->model()->rowCount() == 0)
                continue;
            const int first = table->rowAt(0), last = table->rowAt(table->viewport()->height() - 1);
            shown += (last < 0 ? table->model()->rowCount() - 1 : last) - std::max(first, 0) + 1;
        }
        return shown;
    };
    const ManagedObjectContext* context = window->managedObjectContext();
    auto importCards = [&](const QString& batch) {
        QStringList paths;
        for (int i = 0; i < 60; ++i)
            paths.append(cardPdf(QStringLiteral("%1-%2.pdf").arg(batch).arg(i)));
        QStringList imported;
        window->scanData(paths, kInputTypeScanner, &imported);
        QCoreApplication::processEvents();
        EXPECT_EQ(imported.size(), 60);
    };

    // The cards of the shown rows and the selected one are objects; no other card, and no card's
    // folder record, stays one once the import is saved.
    importCards(QStringLiteral("first"));
    EXPECT_LE(context->liveObjectCount(QString::fromLatin1(CardStore::kEntityCard)), shownRows() + 1);
    EXPECT_EQ(context->liveObjectCount(QString::fromLatin1(CardStore::kEntityCardBelong)), 0);

    // Rows scrolled past and a list reloaded by the next import leave no objects behind them.
    for (PLCardListTableView* table : tables) {
        table->scrollToBottom();
        QCoreApplication::processEvents();
    }
    importCards(QStringLiteral("second"));
    EXPECT_LE(context->liveObjectCount(QString::fromLatin1(CardStore::kEntityCard)), shownRows() + 1);
    EXPECT_EQ(context->liveObjectCount(QString::fromLatin1(CardStore::kEntityCardBelong)), 0);
}

TEST_F(Import, BadFilesAreSkippedAndNothingIsLost)
{
    const QString folder = temp.filePath(QStringLiteral("a folder.pdf"));
    QDir().mkpath(folder);
    const QString empty = temp.filePath(QStringLiteral("empty.pdf"));
    QFile(empty).open(QIODevice::WriteOnly);
    const QString text = temp.filePath(QStringLiteral("notes.pdf"));
    QFile notes(text);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("just some text\n");
    notes.close();
    // A name whose bytes are not UTF-8, made below the file API.
    const QByteArray rawName = QFile::encodeName(temp.path()) + "/card-\xff\xfe.pdf";
    const QByteArray card = testpdf::buildPdf(testpdf::scannerDocument(1));
    const int fd = ::open(rawName.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, card.constData(), size_t(card.size())), card.size());
    ::close(fd);
    const QString good = cardPdf("good.pdf");

    const QStringList paths{folder, empty, text, QFile::decodeName(rawName), good};
    QStringList imported;
    window->scanData(paths, kInputTypeOther, &imported);
    EXPECT_EQ(imported.size(), 1);
    EXPECT_EQ(fetch(CardStore::kEntityCard).size(), 1);
    EXPECT_GE(presenter.shown().size(), 3) << "each refused file was named in a question";
    for (const QString& path : {empty, text, good})
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    EXPECT_EQ(::access(rawName.constData(), F_OK), 0);
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(Import, ACardIsStoredOnlyOnceItsFileIsOnDisk)
{
    const QStringList paths{cardPdf("a.pdf"), cardPdf("b.pdf"), cardPdf("c.pdf")};
    const QString storePath = database + QStringLiteral("/Pelmora1.sqldb");
    QStringList synced;
    qsizetype storedAtSync = 0;
    CardFileBatch::setSync([&](const QString& path) {
        synced << path;
        const auto reader = ManagedObjectContext::open(CardStore::currentModel(), storePath);
        storedAtSync += reader->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), {}, {}}).size();
        return synced.size() != 2; // the second card's file does not reach the disk
    });
    QStringList imported;
    window->scanData(paths, kInputTypeScanner, &imported);
    CardFileBatch::setSync(nullptr);

    EXPECT_EQ(storedAtSync, 0) << "no card is in the store before every file was flushed";
    ASSERT_EQ(synced.size(), 4) << "each card file, then their folder";
    EXPECT_EQ(synced.last(), QDir(database + QStringLiteral("/Images")).absolutePath());
    EXPECT_EQ(fetch(CardStore::kEntityCard).size(), 2);
    EXPECT_EQ(fetch(CardStore::kEntityCardBelong).size(), 2);
    EXPECT_EQ(QDir(database + QStringLiteral("/Images")).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(imported, (QStringList{paths[0], paths[2]})) << "the scan of the card not stored is kept";
    EXPECT_EQ(window->selectedCardIDs().size(), 1);
}

TEST_F(Import, AScannerFileWithMorePagesThanACardIsKept)
{
    const QString threePages = temp.filePath(QStringLiteral("three.pdf"));
    ASSERT_TRUE(testpdf::writePdf(threePages, testpdf::scannerDocument(3)));
    const QString twoPages = temp.filePath(QStringLiteral("two.pdf"));
    ASSERT_TRUE(testpdf::writePdf(twoPages, testpdf::scannerDocument(2)));
    QStringList imported;
    window->scanData({threePages, twoPages}, kInputTypeScanner, &imported);
    EXPECT_EQ(fetch(CardStore::kEntityCard).size(), 2);
    EXPECT_EQ(imported, QStringList{twoPages}) << "the third page is not in the database, so the file is not deleted";
}

namespace {

// Counts the paint events of the processing sheet and its indicator.
class SheetPaints : public QObject {
public:
    std::atomic<int> count{0};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget && widget->window()->objectName() == u"_wndProcessing"_qs)
            ++count;
        return false;
    }
};

} // namespace

TEST_F(Import, TheProcessingSheetKeepsPaintingWhileCardsAreRecognised)
{
    PreferenceDomain::standard().setValue(QStringLiteral("Auto run merge card function items"), 0);
    auto script = std::make_shared<FakeOcrScript>();
    setOcrConnector([script] { return std::make_unique<FakeOcrConnection>(script); });
    setOcrTimeouts(60000, 60000, 60000); // only a guard against a hang
    window->window()->show();
    SheetPaints paints;
    qApp->installEventFilter(&paints);
    // The stand-in answers a card only once the sheet has painted after the card's request came:
    // with the main thread blocked in the wait, it never would.
    std::atomic<int> paintedBetweenCards{0};
    script->beforeRunReply = [&] {
        const int before = paints.count;
        QElapsedTimer safety;
        safety.start();
        // Under the import's minute: a sheet that never paints fails the count, not the run.
        while (paints.count == before && safety.elapsed() < 45000)
            std::this_thread::yield();
        if (paints.count != before)
            ++paintedBetweenCards;
    };
    QStringList paths;
    for (int i = 0; i < 10; ++i)
        paths << cardPdf(QStringLiteral("card%1.pdf").arg(i));
    EXPECT_EQ(window->scanData(paths, kInputTypeScanner, nullptr), 0);
    EXPECT_EQ(script->runRequests().size(), 10u);
    EXPECT_EQ(paintedBetweenCards, 10);
    EXPECT_EQ(fetch(CardStore::kEntityCard).size(), 10);

    // A stand-in that never answers: a timer keeps firing while the import waits out the time-out,
    // the run ends with the send error, and the next import starts a fresh stand-in.
    script->beforeRunReply = nullptr;
    FakeRunReply hung;
    hung.neverAnswer = true;
    script->runs = {hung};
    setOcrTimeouts(60000, 60000, 300);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(10);
    presenter.clear();
    const int connections = script->connections;
    EXPECT_EQ(window->scanData({cardPdf("hung.pdf")}, kInputTypeScanner, nullptr), 96);
    EXPECT_GT(ticks, 0);
    EXPECT_FALSE(isOCRApplicationRunning());
    setOcrTimeouts(60000, 60000, 60000);
    EXPECT_EQ(window->scanData({cardPdf("after.pdf")}, kInputTypeScanner, nullptr), 0);
    EXPECT_EQ(script->connections, connections + 1);
    EXPECT_EQ(fetch(CardStore::kEntityCard).size(), 12) << "the cards stay when recognition fails";
    qApp->removeEventFilter(&paints);
    setOcrConnector(nullptr);
}

// The store is held by another writer through the save: the import is reported and taken back,
// and the scanner's files stay where they were. Once the store is free the same files go in.
TEST_F(Import, AFailedSaveKeepsTheScannerFiles)
{
    const QStringList paths{cardPdf("a.pdf"), cardPdf("b.pdf")};
    SqliteConnection holder;
    ASSERT_EQ(holder.open(database + QStringLiteral("/Pelmora1.sqldb"), false), 0);
    ASSERT_EQ(holder.exec("BEGIN IMMEDIATE;"), 0);
    app->loadOpenFilesDataArray({paths, kInputTypeScanner});
    holder.exec("ROLLBACK;");
    holder.close();

    EXPECT_TRUE(presenter.texts().contains(QStringLiteral("E48"))) << presenter.texts().join(u'|').toStdString();
    for (const QString& path : paths)
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    EXPECT_TRUE(fetch(CardStore::kEntityCard).isEmpty());
    EXPECT_TRUE(QDir(database + QStringLiteral("/Images")).isEmpty()) << "no image without its card";
    EXPECT_FALSE(window->managedObjectContext()->hasChanges());

    app->loadOpenFilesDataArray({paths, kInputTypeScanner});
    EXPECT_EQ(fetch(CardStore::kEntityCard).size(), 2);
    for (const QString& path : paths)
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
}

// A database folder from someone else whose "Images" is a link to a folder elsewhere: the import
// is refused with its message before anything is read, nothing lands behind the link, and the
// scanner's files stay.
TEST_F(Import, AnImagesFolderThatIsALinkRefusesTheImport)
{
    const QString elsewhere = temp.filePath(QStringLiteral("elsewhere"));
    QDir().mkpath(elsewhere);
    ASSERT_TRUE(QDir(database + QStringLiteral("/Images")).removeRecursively());
    ASSERT_TRUE(QFile::link(elsewhere, database + QStringLiteral("/Images")));
    const QStringList paths{cardPdf("a.pdf"), cardPdf("b.pdf")};
    app->loadOpenFilesDataArray({paths, kInputTypeScanner});

    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("E48")});
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    EXPECT_TRUE(fetch(CardStore::kEntityCard).isEmpty());
    for (const QString& path : paths)
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
}

// A store from elsewhere whose card keys are used up: the save is refused, not given keys that
// wrap round to negative ones, so the import is reported and taken back and the scanner's files stay.
TEST_F(Import, AStoreWithoutCardKeysLeftRefusesTheImport)
{
    {
        SqliteConnection store;
        ASSERT_EQ(store.open(database + QStringLiteral("/Pelmora1.sqldb"), false), 0);
        ASSERT_EQ(store.exec("update Z_PRIMARYKEY set Z_MAX = 9223372036854775807 where Z_NAME = 'Card';"), 0);
    }
    const QStringList paths{cardPdf("a.pdf")};
    app->loadOpenFilesDataArray({paths, kInputTypeScanner});

    EXPECT_TRUE(presenter.texts().contains(QStringLiteral("E48"))) << presenter.texts().join(u'|').toStdString();
    EXPECT_TRUE(fetch(CardStore::kEntityCard).isEmpty());
    EXPECT_TRUE(QDir(database + QStringLiteral("/Images")).isEmpty()) << "no image without its card";
    EXPECT_TRUE(QFile::exists(paths.first()));
    SqliteConnection store;
    ASSERT_EQ(store.open(database + QStringLiteral("/Pelmora1.sqldb"), false), 0);
    int code = 0;
    const std::optional<RawRows> rows = rawQuery(store, QStringLiteral("select count(*) as N from ZCARD"), &code);
    ASSERT_TRUE(rows && rows->size() == 1);
    EXPECT_EQ(rows->first().value(QStringLiteral("N")), QStringLiteral("0"));
}

// A card's image files are new files of the user's: they get what the umask leaves of 0666.
TEST_F(Import, ACardsImageFilesGetWhatTheUmaskLeaves)
{
    for (const FileModeCase& c : kFileModeCases) {
        if (c.existing)
            continue; // an import never writes over a card's file
        SCOPED_TRACE(c.name);
        const QDir images(database + QStringLiteral("/Images"));
        const QStringList before = images.entryList(QDir::Files);
        {
            const UmaskScope umask(c.umask);
            window->scanData({cardPdf("card.pdf")}, kInputTypeScanner, nullptr);
        }
        QStringList added = images.entryList(QDir::Files);
        for (const QString& name : before)
            added.removeAll(name);
        ASSERT_EQ(added.size(), 1);
        EXPECT_EQ(fileModeOf(images.filePath(added.first())), int(c.expected));
    }
}

TEST_F(Import, NewCardsAreHandedToThePhotoApplication)
{
    FakeWorkspace workspace;
    const QByteArray savedDirs = qgetenv("XDG_DATA_DIRS");
    const QByteArray savedTempDir = qgetenv("TMPDIR");
    qputenv("XDG_DATA_DIRS", QFile::encodeName(temp.filePath(QStringLiteral("data"))));
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    PreferenceDomain::standard().setValue(QStringLiteral("Auto iphone register items"), true);
    PreferenceDomain::standard().setValue(QStringLiteral("conncet to Photos state"), 2);

    // Not installed: its message, and the import is otherwise complete.
    window->scanData({cardPdf("missing.pdf")}, kInputTypeScanner, nullptr);
    EXPECT_TRUE(presenter.texts().contains(PLMessage::errorText(47)));
    EXPECT_TRUE(workspace.launches.isEmpty());
    ASSERT_EQ(fetch(CardStore::kEntityCard).size(), 1);

    QDir().mkpath(temp.filePath(QStringLiteral("data/applications")));
    QFile entry(temp.filePath(QStringLiteral("data/applications/org.gnome.Shotwell.desktop")));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Photos\nExec=/bin/true %F\n");
    entry.close();
    window->scanData({cardPdf("one.pdf"), cardPdf("two.pdf")}, kInputTypeScanner, nullptr);
    qputenv("XDG_DATA_DIRS", savedDirs);
    qputenv("TMPDIR", savedTempDir);
    ASSERT_EQ(workspace.launches.size(), 1);
    EXPECT_EQ(workspace.launches[0].second.size(), 2);
    const ManagedObjectList sent = fetch(CardStore::kEntityCard, keyEquals(QStringLiteral("flag2"), QStringLiteral("1")));
    EXPECT_EQ(sent.size(), 2);
}
