// Exports N cards (10,000 unless given) to one CSV, one text and one ContactXML file and to one
// vCard file per card, and 4,000 cards that share one full name against 4,000 of different
// names, each against Python writing the same bytes (card by card into one file, or one file per
// vCard; Python's own clock, its start not counted). The vCard lines have a second anchor with
// the export's durability: a plain writer of the same files made durable in the same batches on
// as many threads as the export's pool (BatchedPlainWriter.h says exactly how), and say how many
// threads the export started (every thread the process starts is counted). Rounds alternate subject and anchor; the
// medians and their ratios are printed with the machine's load. The CSV and text files are made
// from the store's card objects, as the main window makes them. What the rounds wrote is deleted
// only at the end (up to 1.7 GB for 5 rounds): ext4 without a journal passes over the inodes freed in
// the last minute or more each time it makes a file, so files made just after thousands were
// deleted cost several times more, and whichever side ran first after a deletion paid for it.
// Each timed call starts after an untimed sync, so that no side pays for the writeback of the
// files written before it (the export flushes what it writes; the plain Python anchor does not).
//
//   bench_export [cards] [--rounds N] [--keep FOLDER] [--only WORD]
//   (--keep: the first round's files stay there; --only: the lines whose name holds the word)
#include "app/export/PLExporter.h"
#include "app/images/CardDictionary.h"
#include "bench/export/BatchedPlainWriter.h"
#include "bench/support/BenchRuns.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/DurableFileBatch.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <dlfcn.h>
#include <functional>
#include <pthread.h>
#include <unistd.h>

namespace {

std::atomic<int> g_threadsStarted{0};

} // namespace

// Every thread of the process starts here, Qt's and the standard library's alike.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*start)(void*), void* argument) noexcept
{
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const Create real = reinterpret_cast<Create>(::dlsym(RTLD_NEXT, "pthread_create"));
    ++g_threadsStarted;
    return real(thread, attributes, start, argument);
}

namespace {

constexpr int kSharedNameCards = 4000;

// Writes what the export wrote again: "one" splits the file into N chunks written one by one
// into one file, "each" writes every file of the folder into a file of its own. Prints ms.
const char* const kPythonWriter = R"(
import os, sys, time
mode, source, target, count = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
if mode == 'one':
    data = open(source, 'rb').read()
    size = len(data) // count + 1
    chunks = [data[i:i + size] for i in range(0, len(data), size)]
    start = time.perf_counter()
    with open(target, 'wb') as f:
        for chunk in chunks:
            f.write(chunk)
else:
    files = [(name, open(os.path.join(source, name), 'rb').read()) for name in sorted(os.listdir(source))]
    os.makedirs(target, exist_ok=True)
    start = time.perf_counter()
    for name, data in files:
        with open(os.path.join(target, name), 'wb') as f:
            f.write(data)
print((time.perf_counter() - start) * 1000.0)
)";

const QDateTime kRegistered(QDate(2024, 3, 5), QTime(10, 0));

CardDict benchCard(int i, const QString& fullName)
{
    const QString n = QString::number(i);
    return {{"full_Name", fullName},
            {"first_Name", "Card"},
            {"family_Name", "Person " + n},
            {"company", "Company, Ltd. " + n},
            {"department", "Sales; East"},
            {"job_Title", "Manager"},
            {"telephone_Number", "+1 555 01" + n},
            {"fax_Number", "+1 555 02" + n},
            {"mobile_Number", "+1 555 03" + n},
            {"address", "1 Main Street\nSpringfield"},
            {"street", "1 Main Street"},
            {"city", "Springfield"},
            {"zip_PostalCode", "12345"},
            {"country", "USA"},
            {"e_Mail", "person" + n + "@example.com"},
            {"web_Page_Address", "https://example.com/" + n},
            {"memo", "Met at the \"fair\",\trow " + n},
            {"register_Date", kRegistered}};
}

// The cards as the main window hands them to the CSV and text exports: the store's card objects,
// with registration dates as the store reads them (UTC), a few a day through most of a year, so
// that a file holds dates on both sides of each change of summer time.
ManagedObjectList storeCards(int count)
{
    const EntityDescription& entity = *CardStore::currentModel().entity(QString::fromLatin1(CardStore::kEntityCard));
    const QDateTime first(QDate(2024, 1, 20), QTime(8, 0), Qt::UTC);
    ManagedObjectList cards;
    for (int i = 0; i < count; ++i) {
        CardDict values = benchCard(i, "Card Person " + QString::number(i));
        values.insert(QStringLiteral("register_Date"), first.addSecs(qint64(i) * 47 * 60));
        auto card = std::make_shared<ManagedObject>(entity, nullptr);
        for (auto value = values.cbegin(); value != values.cend(); ++value)
            card->setValue(value.key(), value.value());
        cards.append(card);
    }
    return cards;
}

QList<CardDict> benchCards(int count, bool sharedName)
{
    QList<CardDict> cards;
    for (int i = 0; i < count; ++i)
        cards.append(benchCard(i, sharedName ? QStringLiteral("Card Person") : "Card Person " + QString::number(i)));
    return cards;
}

// The card dictionaries of the ContactXML file, dated as the store reads them (UTC), a few a day
// through most of a year like the store's cards above, so that the file's dates cross each change
// of summer time.
QList<CardDict> storeDatedCards(int count)
{
    const QDateTime first(QDate(2024, 1, 20), QTime(8, 0), Qt::UTC);
    QList<CardDict> cards = benchCards(count, false);
    for (int i = 0; i < count; ++i)
        cards[i].insert(QStringLiteral("register_Date"), first.addSecs(qint64(i) * 47 * 60));
    return cards;
}

double pythonWrite(const char* mode, const QString& source, const QString& target, int count)
{
    QProcess python;
    python.start(
        QStringLiteral("python3"),
        {QStringLiteral("-c"), QString::fromLatin1(kPythonWriter), QString::fromLatin1(mode), source, target, QString::number(count)});
    if (!python.waitForFinished(-1) || python.exitCode() != 0)
        return -1;
    return python.readAllStandardOutput().trimmed().toDouble();
}

struct Line {
    const char* what;
    std::vector<double> subject;
    std::vector<double> anchor;
    std::vector<double> durableAnchor; // one file per card: the plain writer with the export's batched durability
    std::vector<int> threads; // one file per card: threads the export started
};

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int count = 10000;
    int rounds = 5;
    QString keep;
    QString only;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--rounds") && i + 1 < argc)
            rounds = std::max(1, atoi(argv[++i]));
        else if (arg == QLatin1String("--keep") && i + 1 < argc)
            keep = QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--only") && i + 1 < argc)
            only = QString::fromLocal8Bit(argv[++i]);
        else
            count = std::max(1, arg.toInt());
    }
    Bundle::setMain(QStringLiteral(PELMORA_RESOURCES));
    QTemporaryDir temp;
    PreferenceDomain::setStandardDomain(QStringLiteral("bench.export"), temp.filePath(QStringLiteral("prefs")));
    PreferenceDomain::standard().setValue(QStringLiteral("Export items"), 0xFFFF);
    ScriptedMessagePresenter presenter;
    const QList<CardDict> cards = benchCards(count, false);
    const QList<CardDict> datedCards = storeDatedCards(count);
    const ManagedObjectList tableCards = storeCards(count);
    const QList<CardDict> sharedName = benchCards(kSharedNameCards, true);
    const QList<CardDict> differentNames = benchCards(kSharedNameCards, false);
    const size_t batchFiles = DurableFileBatch::defaultBatchFiles();
    const size_t flushThreads = DurableFileBatch::kFlushThreads;
    std::printf("%d cards; %d of one name against %d of different names; %d rounds; load %s\n", count, kSharedNameCards, kSharedNameCards,
                rounds, machineLoad().constData());
    std::printf("vCards made durable %zu files a batch on a pool of %zu flushing threads; the batched anchor likewise\n", batchFiles,
                flushThreads);

    using Exporter = std::function<int(const QString&)>;
    struct Subject {
        Line line;
        Exporter exporter;
        bool folder;
        int cards;
    };
    std::vector<Subject> subjects;
    subjects.push_back(
        {{"one CSV file", {}, {}, {}, {}}, [&](const QString& t) { return PLExporter::ExportToCSV(t, tableCards); }, false, count});
    subjects.push_back(
        {{"one text file", {}, {}, {}, {}}, [&](const QString& t) { return PLExporter::ExportToText(t, tableCards); }, false, count});
    subjects.push_back(
        {{"one ContactXML file", {}, {}, {}, {}}, [&](const QString& t) { return PLExporter::ExportToXML(t, datedCards); }, false, count});
    subjects.push_back(
        {{"one vCard file per card", {}, {}, {}, {}}, [&](const QString& t) { return PLExporter::ExportToVCard(t, cards); }, true, count});
    subjects.push_back({{"vCards, one name", {}, {}, {}, {}},
                        [&](const QString& t) { return PLExporter::ExportToVCard(t, sharedName); },
                        true,
                        kSharedNameCards});
    subjects.push_back({{"vCards, different names", {}, {}, {}, {}},
                        [&](const QString& t) { return PLExporter::ExportToVCard(t, differentNames); },
                        true,
                        kSharedNameCards});

    if (!only.isEmpty())
        std::erase_if(subjects, [&](const Subject& s) { return !QString::fromLatin1(s.line.what).contains(only); });
    // The files kept until the end, about: a block for each vCard of the three writers, and each
    // table file of the two writers at a few KB a card. The volume is shared: a run that would
    // leave less than a GiB free does not start.
    qint64 keptBytes = 0;
    for (const Subject& subject : subjects)
        keptBytes += subject.folder ? qint64(3) * subject.cards * 4096 : qint64(2) * subject.cards * 2048;
    keptBytes *= rounds;
    const qint64 freeBytes = QStorageInfo(temp.path()).bytesAvailable();
    if (freeBytes < keptBytes + (qint64(1) << 30)) {
        std::fprintf(stderr, "the rounds keep about %lld MB until the end and %lld MB are free: give fewer rounds or cards\n",
                     keptBytes >> 20, freeBytes >> 20);
        return 1;
    }
    for (int round = 0; round < rounds; ++round) {
        for (size_t s = 0; s < subjects.size(); ++s) {
            Subject& subject = subjects[s];
            const QString target = temp.filePath(QStringLiteral("out%1-%2").arg(round).arg(s));
            const QString plain = target + QStringLiteral("-python");
            if (subject.folder)
                QDir().mkpath(target);
            const auto runSubject = [&] {
                ::sync();
                const int threadsBefore = g_threadsStarted;
                QElapsedTimer timer;
                timer.start();
                if (subject.exporter(target) != 0)
                    std::fprintf(stderr, "%s: the export failed\n", subject.line.what);
                subject.line.subject.push_back(timer.nsecsElapsed() / 1e6);
                if (subject.folder)
                    subject.line.threads.push_back(g_threadsStarted - threadsBefore);
            };
            // The anchor needs the exported bytes, so in odd rounds it writes the previous round's.
            const QString previous = temp.filePath(QStringLiteral("out%1-%2").arg(round - 1).arg(s));
            const auto runAnchors = [&](const QString& source) {
                ::sync();
                subject.line.anchor.push_back(pythonWrite(subject.folder ? "each" : "one", source, plain, subject.cards));
                if (subject.folder) {
                    const QString durable = plain + QStringLiteral("-batched");
                    QDir().mkpath(durable);
                    const auto files = readFolderFiles(source);
                    ::sync();
                    subject.line.durableAnchor.push_back(writePlainBatched(files, durable, batchFiles, flushThreads));
                }
            };
            if (round % 2 == 1 && QFileInfo::exists(previous)) {
                runAnchors(previous);
                runSubject();
            } else {
                runSubject();
                runAnchors(target);
            }
            if (round == 0 && !keep.isEmpty() && !subject.folder) {
                QDir().mkpath(keep);
                const QString kept = QDir(keep).filePath(QString::fromLatin1(subject.line.what).replace(' ', '_'));
                QFile::remove(kept);
                QFile::copy(target, kept);
            }
        }
    }

    double sharedMs = 0;
    double differentMs = 0;
    for (const Subject& subject : subjects) {
        const double ours = medianOf(subject.line.subject);
        const double python = medianOf(subject.line.anchor);
        std::printf("%-26s export %9.1f ms   Python %8.1f ms   ratio %6.2f", subject.line.what, ours, python,
                    python > 0 ? ours / python : 0.0);
        if (!subject.line.durableAnchor.empty()) {
            const double durable = medianOf(subject.line.durableAnchor);
            const auto [fewest, most] = std::minmax_element(subject.line.threads.begin(), subject.line.threads.end());
            std::printf("   plain batched durable %8.1f ms   ratio %6.2f   threads started %d to %d", durable,
                        durable > 0 ? ours / durable : 0.0, *fewest, *most);
        }
        std::printf("\n");
        if (QByteArray(subject.line.what) == "vCards, one name")
            sharedMs = ours;
        if (QByteArray(subject.line.what) == "vCards, different names")
            differentMs = ours;
    }
    std::printf("%d cards of one name against %d of different names: ratio %.2f\n", kSharedNameCards, kSharedNameCards,
                differentMs > 0 ? sharedMs / differentMs : 0.0);
    std::printf("load after: %s\n", machineLoad().constData());
    return 0;
}
