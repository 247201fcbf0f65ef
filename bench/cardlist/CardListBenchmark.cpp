// The card list on a database of 100,000 cards: opening to the first painted list, the first search
// keystroke after opening and a repeated one to the filtered list, and one header-click sort, each
// (but the first keystroke) the median of five, against a bare SQLite query that filters or orders
// the same store in the same run. Every step ends with the list painted for real into an offscreen
// picture, rows and cells drawn by the view. Prints the ratios and the machine's load; a ratio is
// information, not a verdict. Run offscreen: QT_QPA_PLATFORM=offscreen bench_cardlist
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/OpenDatabase.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLMainWindowController.h"
#include "bench/support/BenchRuns.h"
#include "bench/support/ProcessMemory.h"
#include "platform/appkit/MessagePresenter.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/ProcessAllocator.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace {

// A message would wait for a click that never comes: it is printed and answered at once.
class PrintingPresenter : public MessagePresenter {
public:
    int runModal(const AlertRequest& request) override
    {
        std::printf("message: %s %s\n", qPrintable(request.title), qPrintable(request.informativeText));
        return kAlertFirstButtonReturn;
    }
    void beginSheet(const AlertRequest& request, Completion done) override { done(runModal(request)); }
};

constexpr int kCards = 100000;
constexpr int kRuns = 5;

// Paints the list as the screen would get it: the view draws its visible rows into a picture.
void paintList(QTableView* list)
{
    const QPixmap picture = list->grab();
    if (picture.isNull())
        std::fprintf(stderr, "the list did not paint\n");
}

double medianMs(const std::function<double()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
        times.push_back(run());
    std::sort(times.begin(), times.end());
    return times[kRuns / 2];
}

// Steps every row of `sql` and reads the shown columns, as a list would.
double bareQueryMs(const QString& storeFile, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(storeFile).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QElapsedTimer timer;
    timer.start();
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    qint64 bytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int column = 0; column < sqlite3_column_count(statement); ++column)
            bytes += sqlite3_column_bytes(statement, column);
    }
    sqlite3_finalize(statement);
    const double ms = timer.nsecsElapsed() / 1e6;
    sqlite3_close(db);
    return bytes >= 0 ? ms : 0;
}

void fill(PLMainWindowController& window)
{
    ManagedObjectContext* context = window.managedObjectContext();
    const ManagedObjectList inbox = context->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), kFolderTypeInbox), {}});
    const QString inboxID = inbox.first()->stringValue(QStringLiteral("folder_ID"));
    for (int i = 0; i < kCards; ++i) {
        const QString n = QString::number(i);
        const QString cardID = QStringLiteral("CARD-") + n;
        const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
        card->setValue(QStringLiteral("cardID"), cardID);
        card->setValue(QStringLiteral("full_Name"), QStringLiteral("Person %1").arg((i * 7919) % kCards));
        card->setValue(QStringLiteral("company"), i % 10 ? QStringLiteral("Example Trading Ltd.") : QStringLiteral("Nordwerk GmbH"));
        card->setValue(QStringLiteral("telephone_Number"), QStringLiteral("+81-3-1234-") + n);
        card->setValue(QStringLiteral("e_Mail"), QStringLiteral("person") + n + QStringLiteral("@example.com"));
        card->setValue(QStringLiteral("deletedFlag"), 0);
        card->setValue(QStringLiteral("scanNow"), 0);
        card->setValue(QStringLiteral("accept_Date"), QDateTime::fromSecsSinceEpoch(1600000000 + i));
        const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), cardID);
        assignCardFolder(*card, *belong, inboxID);
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
    }
    window.saveAction();
}

} // namespace

int main(int argc, char** argv)
{
    // The allocator as the application sets it, so that the open's time and memory are the application's.
    configureProcessAllocator();
    QApplication app(argc, argv);
    // The application's own resources: its strings and the placeholder image of cards without one.
    Bundle::setMain(QStringLiteral(PELMORA_RESOURCES));
    PrintingPresenter presenter;
    MessagePresenter::setCurrent(&presenter);
    QTemporaryDir dir;
    PreferenceDomain::setStandardDomain(QStringLiteral("bench.cardlist"), dir.filePath(QStringLiteral("prefs")));
    const QString folder = dir.filePath(QStringLiteral("Bench.cxdb"));
    QDir().mkpath(folder + QStringLiteral("/Images"));
    OpenDatabase database;
    {
        database.choose(folder);
        PLMainWindowController window(database);
        window.setTerminate([] {});
        window.showActiveWindow();
        if (!window.managedObjectContext())
            return 1;
        fill(window);
        window.window()->close();
    }
    // The memory figures are those of opening alone: the peak is counted afresh from here.
    malloc_trim(0);
    {
        QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
        if (clearRefs.open(QIODevice::WriteOnly))
            clearRefs.write("5");
    }
    const double heapBefore = heapInUseMiB();
    const QString store = folder + QStringLiteral("/Pelmora1.sqldb");
    const char* columns = "ZFULL_NAME, ZCOMPANY, ZTELEPHONE_NUMBER, ZE_MAIL";

    std::unique_ptr<PLMainWindowController> window;
    const double open = medianMs([&] {
        window.reset();
        QElapsedTimer timer;
        timer.start();
        database.choose(folder);
        window = std::make_unique<PLMainWindowController>(database);
        window->setTerminate([] {});
        window->showActiveWindow();
        paintList(window->ui()._tvList);
        return timer.nsecsElapsed() / 1e6;
    });
    const double heapOpen = heapInUseMiB();
    const long peakKiB = processStatusKiB("VmHWM");
    // The store's part of opening: every card into objects, with every attribute or with those
    // the list reads (the rest is read when first asked for).
    auto fetchMs = [&](const QStringList& properties) {
        return medianMs([&] {
            QElapsedTimer timer;
            timer.start();
            auto context = ManagedObjectContext::open(CardStore::currentModel(), store);
            FetchRequest request{QString::fromLatin1(CardStore::kEntityCard), {}, {}};
            request.propertiesToFetch = properties;
            const qsizetype cards = context ? context->executeFetchRequest(request).size() : 0;
            return cards >= 0 ? timer.nsecsElapsed() / 1e6 : 0.0;
        });
    };
    const double fetch = fetchMs({});
    const double lighterFetch = fetchMs(window->cardListController()->listedAttributes());
    const QByteArray openSql = QByteArray("SELECT ") + columns + " FROM ZCARD WHERE ZDELETEDFLAG IS NOT 1 ORDER BY ZACCEPT_DATE DESC";
    const double openBare = medianMs([&] { return bareQueryMs(store, openSql.constData()); });

    QTableView* list = window->ui()._tvList;
    QLineEdit* search = window->ui()._searchFiled;
    const auto typeW = [&] {
        search->clear();
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier, QStringLiteral("w"));
        QCoreApplication::sendEvent(search, &press);
        paintList(list);
        return timer.nsecsElapsed() / 1e6;
    };
    // The first keystroke after opening reads what the search needs; the repeated one finds it read.
    const double firstKeystroke = typeW();
    const double keystroke = medianMs(typeW);
    const int found = list->model()->rowCount();
    const QByteArray searchSql = QByteArray("SELECT ") + columns +
        " FROM ZCARD WHERE ZDELETEDFLAG IS NOT 1 AND (ZFULL_NAME LIKE '%w%' OR ZCOMPANY LIKE '%w%' OR ZTELEPHONE_NUMBER LIKE '%w%'"
        " OR ZE_MAIL LIKE '%w%' OR ZJOB_TITLE LIKE '%w%' OR ZFAX_NUMBER LIKE '%w%' OR ZZIP_POSTALCODE LIKE '%w%' OR ZADDRESS LIKE '%w%'"
        " OR ZWEB_PAGE_ADDRESS LIKE '%w%' OR ZDEPARTMENT LIKE '%w%' OR ZMEMO LIKE '%w%' OR ZMOBILE_NUMBER LIKE '%w%' OR ZCOUNTRY LIKE '%w%'"
        " OR ZFULL_NAME_KANA LIKE '%w%' OR ZCOMPANY_KANA LIKE '%w%') ORDER BY ZACCEPT_DATE DESC";
    const double keystrokeBare = medianMs([&] { return bareQueryMs(store, searchSql.constData()); });

    // The search emptied as the user does, so that the sort orders the folder's whole list.
    search->selectAll();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(search, &press);
    const int sorted = list->model()->rowCount();
    QHeaderView* header = list->horizontalHeader();
    const double sort = medianMs([&] {
        QElapsedTimer timer;
        timer.start();
        // Ascending from the default order, then back: one click each way is timed once.
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 20, header->height() / 2));
        paintList(list);
        const double ms = timer.nsecsElapsed() / 1e6;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 20, header->height() / 2));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 20, header->height() / 2));
        return ms;
    });
    const QByteArray sortSql = QByteArray("SELECT ") + columns + " FROM ZCARD WHERE ZDELETEDFLAG IS NOT 1 ORDER BY ZFULL_NAME";
    const double sortBare = medianMs([&] { return bareQueryMs(store, sortSql.constData()); });

    std::printf("cards: %d (search \"w\" finds %d; the sort orders %d); load %s\n", kCards, found, sorted, machineLoad().constData());
    std::printf("open to first painted list: %9.1f ms, bare query %7.1f ms, ratio %5.2f\n", open, openBare, open / openBare);
    std::printf("  the store's fetch of every card: %.1f ms with every attribute, %.1f ms with those the list reads\n", fetch, lighterFetch);
    std::printf("  memory: heap %.1f MiB before opening, %.1f MiB with the list open (%.0f bytes a card); peak resident %.1f MiB\n",
                heapBefore, heapOpen, (heapOpen - heapBefore) * 1024 * 1024 / kCards, peakKiB / 1024.0);
    std::printf("first search keystroke:     %9.1f ms, bare query %7.1f ms, ratio %5.2f\n", firstKeystroke, keystrokeBare,
                firstKeystroke / keystrokeBare);
    std::printf("repeated search keystroke:  %9.1f ms, bare query %7.1f ms, ratio %5.2f\n", keystroke, keystrokeBare,
                keystroke / keystrokeBare);
    std::printf("header-click sort:          %9.1f ms, bare query %7.1f ms, ratio %5.2f\n", sort, sortBare, sort / sortBare);
    window->window()->close();
    return 0;
}
