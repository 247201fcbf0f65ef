// Fetching every card through a context (with the release of the cards and the context, and that
// release alone) against stepping a bare SELECT, and saving new cards through a context against
// bare prepared inserts, on the same files in the same run.
// First the peak memory (VmHWM) of fetching the 100,000 cards with every attribute, each way in a
// process of its own: the context keeping its objects, and a bare read keeping every value's bytes
// in one buffer (the least any reader can hold).
// Prints the ratios; a ratio is information, not a verdict.
#include "bench/support/ProcessMemory.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "platform/store/RawSqlite.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

constexpr int kFetchCards = 100000;
constexpr int kSaveCards = 10000;

QTemporaryDir& workDir()
{
    static QTemporaryDir dir;
    return dir;
}

void fillCard(ManagedObject& card, int i)
{
    const QString n = QString::number(i);
    card.setValue("cardID", "4F1C2D3E-0000-4000-8000-" + n.rightJustified(12, '0'));
    card.setValue("full_Name", "Person Number " + n);
    card.setValue("first_Name", QStringLiteral("Person"));
    card.setValue("family_Name", "Number " + n);
    card.setValue("full_Name_Kana", QStringLiteral("ぱーそん なんばー"));
    card.setValue("company", QStringLiteral("Example Trading Company Ltd."));
    card.setValue("department", QStringLiteral("Sales Department"));
    card.setValue("job_Title", QStringLiteral("Manager"));
    card.setValue("address", QStringLiteral("1-2-3 Example Street, Chiyoda-ku, Tokyo"));
    card.setValue("zip_PostalCode", QStringLiteral("100-0001"));
    card.setValue("telephone_Number", QStringLiteral("+81-3-1234-5678"));
    card.setValue("e_Mail", "person" + n + "@example.com");
    card.setValue("full_Name_XY", QStringLiteral("120/340/560/48"));
    card.setValue("company_XY", QStringLiteral("120/400/700/40"));
    card.setValue("face_Image_File", "4F1C2D3E-" + n + "_N1.pdf");
    card.setValue("accept_Date", QDateTime::fromSecsSinceEpoch(1600000000 + i, QTimeZone::utc()));
    card.setValue("update_Date", QDateTime::fromSecsSinceEpoch(1600000000 + i, QTimeZone::utc()));
    card.setValue("register_Date", QDateTime::fromSecsSinceEpoch(1600000000 + i, QTimeZone::utc()));
    card.setValue("scanNow", 0);
    card.setValue("deletedFlag", 0);
    card.setValue("face_Image_Page", 1);
    card.setValue("back_Image_page", 0);
    card.setValue("flag1", QStringLiteral("1"));
    card.setValue("input_Type", 1);
}

const QString& fetchStore()
{
    static const QString path = [] {
        const QString p = workDir().filePath("fetch.sqldb");
        auto context = ManagedObjectContext::open(CardStore::currentModel(), p);
        for (int i = 0; i < kFetchCards; ++i)
            fillCard(*context->insertNewObject("Card"), i);
        context->save();
        return p;
    }();
    return path;
}

void BM_BareSelect(benchmark::State& state)
{
    SqliteConnection connection;
    connection.open(fetchStore(), false);
    for (auto _ : state) {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(connection.handle(), "SELECT * FROM ZCARD", -1, &s, nullptr);
        const int columns = sqlite3_column_count(s);
        size_t bytes = 0;
        while (sqlite3_step(s) == SQLITE_ROW)
            for (int c = 0; c < columns; ++c)
                if (sqlite3_column_type(s, c) == SQLITE_TEXT)
                    bytes += size_t(sqlite3_column_bytes(s, c)) + (sqlite3_column_text(s, c) ? 1 : 0);
                else
                    bytes += size_t(sqlite3_column_int64(s, c) & 1);
        sqlite3_finalize(s);
        benchmark::DoNotOptimize(bytes);
    }
}

// Opening, fetching and letting go of the cards and the context: a reader pays for all three.
void BM_ContextFetch(benchmark::State& state)
{
    for (auto _ : state) {
        auto context = ManagedObjectContext::open(CardStore::currentModel(), fetchStore());
        FetchRequest request;
        request.entityName = "Card";
        ManagedObjectList cards = context->executeFetchRequest(request);
        benchmark::DoNotOptimize(cards.size());
        cards.clear();
        context.reset();
    }
}

// The letting go alone: the fetched cards, then the context with the objects it registered.
void BM_ContextRelease(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto context = ManagedObjectContext::open(CardStore::currentModel(), fetchStore());
        FetchRequest request;
        request.entityName = "Card";
        ManagedObjectList cards = context->executeFetchRequest(request);
        state.ResumeTiming();
        cards.clear();
        context.reset();
    }
}

void BM_ContextRefetch(benchmark::State& state)
{
    auto context = ManagedObjectContext::open(CardStore::currentModel(), fetchStore());
    FetchRequest request;
    request.entityName = "Card";
    ManagedObjectList warm = context->executeFetchRequest(request);
    for (auto _ : state) {
        ManagedObjectList cards = context->executeFetchRequest(request);
        benchmark::DoNotOptimize(cards.size());
    }
}

QString freshStore(int n)
{
    const QString p = workDir().filePath(QStringLiteral("save%1.sqldb").arg(n));
    QFile::remove(p);
    ManagedObjectContext::open(CardStore::currentModel(), p);
    return p;
}

void BM_BareInsert(benchmark::State& state)
{
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SqliteConnection connection;
        connection.open(freshStore(++round), false);
        const EntityDescription& card = *CardStore::currentModel().entity("Card");
        QByteArray sql = "INSERT INTO ZCARD (Z_PK, Z_ENT, Z_OPT";
        QByteArray marks = "?, ?, ?";
        for (const AttributeDescription& a : card.attributes()) {
            sql += ", " + a.column;
            marks += ", ?";
        }
        sql += ") VALUES (" + marks + ")";
        const std::string company = "Example Trading Company Ltd.";
        state.ResumeTiming();

        connection.exec("BEGIN IMMEDIATE;");
        SqliteStatement insert(connection.handle(), sql);
        sqlite3_stmt* s = insert.get();
        for (int i = 1; i <= kSaveCards; ++i) {
            const std::string n = std::to_string(i);
            const std::string name = "Person Number " + n, mail = "person" + n + "@example.com";
            sqlite3_bind_int64(s, 1, i);
            sqlite3_bind_int64(s, 2, 1);
            sqlite3_bind_int64(s, 3, 1);
            // The same number of filled columns as a card of the context benchmark.
            for (int c = 0; c < 14; ++c)
                sqlite3_bind_text(s, 4 + c, c % 2 ? company.c_str() : name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 18, mail.c_str(), -1, SQLITE_TRANSIENT);
            for (int c = 0; c < 3; ++c)
                sqlite3_bind_double(s, 19 + c, 600000000.0 + i);
            for (int c = 0; c < 6; ++c)
                sqlite3_bind_int64(s, 22 + c, c & 1);
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        connection.exec("UPDATE Z_PRIMARYKEY SET Z_MAX = 10000 WHERE Z_NAME = 'Card'; COMMIT;");
    }
}

void BM_ContextSave(benchmark::State& state)
{
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto context = ManagedObjectContext::open(CardStore::currentModel(), freshStore(1000 + ++round));
        for (int i = 0; i < kSaveCards; ++i)
            fillCard(*context->insertNewObject("Card"), i);
        state.ResumeTiming();
        benchmark::DoNotOptimize(context->save());
    }
}

void BM_ContextInsertAndSave(benchmark::State& state)
{
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto context = ManagedObjectContext::open(CardStore::currentModel(), freshStore(2000 + ++round));
        state.ResumeTiming();
        for (int i = 0; i < kSaveCards; ++i)
            fillCard(*context->insertNewObject("Card"), i);
        benchmark::DoNotOptimize(context->save());
    }
}

// One way of reading every card of the store, in this process; prints the rows read and the peak.
int measurePeak(const char* way, const QString& store)
{
    size_t rows = 0;
    std::string keepBare;
    ManagedObjectList keepObjects;
    std::unique_ptr<ManagedObjectContext> context;
    if (std::strcmp(way, "bare") == 0) {
        SqliteConnection connection;
        connection.open(store, false);
        SqliteStatement select(connection.handle(), "SELECT * FROM ZCARD");
        sqlite3_stmt* s = select.get();
        const int columns = sqlite3_column_count(s);
        // Each value as its column number, its length and its bytes. Reserved pages that are never
        // written take no memory, so the room is generous and the buffer never moves.
        std::string values;
        values.reserve(size_t(QFileInfo(store).size()) * 2);
        while (sqlite3_step(s) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < columns; ++c) {
                if (sqlite3_column_type(s, c) == SQLITE_NULL)
                    continue;
                const auto* bytes = static_cast<const char*>(sqlite3_column_blob(s, c));
                const auto size = unsigned(sqlite3_column_bytes(s, c));
                values.push_back(char(c));
                values.append(reinterpret_cast<const char*>(&size), sizeof size);
                values.append(bytes, size);
            }
        }
        keepBare = std::move(values);
    } else {
        context = ManagedObjectContext::open(CardStore::currentModel(), store);
        if (std::strcmp(way, "context") == 0) {
            FetchRequest request;
            request.entityName = "Card";
            keepObjects = context->executeFetchRequest(request);
            rows = size_t(keepObjects.size());
        }
    }
    std::printf("%zu %ld\n", rows, processStatusKiB("VmHWM"));
    return 0;
}

struct Peak {
    long rows = 0;
    long kib = 0;
};

Peak peakInChild(const char* way)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--peak"), QString::fromLatin1(way), fetchStore()});
    child.waitForFinished(-1);
    const QList<QByteArray> words = child.readAllStandardOutput().trimmed().split(' ');
    return words.size() == 2 ? Peak{words[0].toLong(), words[1].toLong()} : Peak{};
}

void printPeaks()
{
    const Peak opened = peakInChild("open"), bare = peakInChild("bare"), objects = peakInChild("context");
    std::printf("Peak memory (VmHWM) reading %d cards with every attribute, each in a process of its own\n", kFetchCards);
    std::printf("  store opened, nothing read:            %7.1f MiB\n", opened.kib / 1024.0);
    std::printf("  bare SELECT, values kept in one buffer: %7.1f MiB (%ld rows)\n", bare.kib / 1024.0, bare.rows);
    std::printf("  context fetch, objects kept:           %7.1f MiB (%ld rows)\n", objects.kib / 1024.0, objects.rows);
    if (bare.kib > 0)
        std::printf("  context / bare = %.2f (aim: under 120 MiB for the context)\n\n", double(objects.kib) / double(bare.kib));
    std::fflush(stdout);
}

BENCHMARK(BM_BareSelect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContextFetch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContextRefetch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContextRelease)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareInsert)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContextSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContextInsertAndSave)->Unit(benchmark::kMillisecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--peak") == 0)
        return measurePeak(argv[2], QString::fromLocal8Bit(argv[3]));
    QCoreApplication application(argc, argv);
    printPeaks();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* a, const char* b) {
        const auto x = reporter.times.find(a), y = reporter.times.find(b);
        if (x != reporter.times.end() && y != reporter.times.end() && y->second > 0)
            std::printf("%-26s / %-14s = %.2f\n", a, b, x->second / y->second);
    };
    std::printf("\nRatios (aims: fetch at most 3, save under 2)\n");
    ratio("BM_ContextFetch", "BM_BareSelect");
    ratio("BM_ContextRefetch", "BM_BareSelect");
    ratio("BM_ContextRelease", "BM_BareSelect");
    ratio("BM_ContextSave", "BM_BareInsert");
    ratio("BM_ContextInsertAndSave", "BM_BareInsert");
    benchmark::Shutdown();
    return 0;
}
