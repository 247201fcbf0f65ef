// Imports N real-size scanner cards (one-page PDFs holding a 300 dpi JPEG, as the scanner writes
// them; 500 unless given) through the main window's import, from the scanner driver and from the
// file manager, each five times into a fresh database. Recognition is on, but the OCR application
// is a stand-in that answers every card at once (this program, started with --socket-fd), so the
// figures are those of the import itself; with --no-recognition there is no OCR application at all
// and the cards are not recognised, so the figures are the import's own work alone. The anchor is
// `cp` then `sync` of the same files, taken beside every run (before it in even runs, after it in
// odd ones), twice: `sync` of every volume, which also waits for whatever other programs have
// written, and `sync` of the copies and their folder by name, which fsyncs each file as the import
// makes it durable. Prints the medians, the ratios to both, the processor time of the import's
// threads (which a busy machine changes less than the elapsed time), the peak memory of this
// process and the machine's load:
// build/bench/import/bench_import [--no-recognition] [cards]
// With --batches N, imports N batches of the cards one after the other into one database through
// one shown main window (offscreen), as a long run of the application does, with the application's
// allocator settings, and prints after each batch the resident size, the heap in use and how many
// cards the context holds as objects, then the growth after the first:
// build/bench/import/bench_import --batches 20 1000
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/images/OcrApplicationLink.h"
#include "app/ui/PLApplicationServices.h"
#include "app/ui/PLMainWindowController.h"
#include "bench/support/BenchRuns.h"
#include "bench/support/ProcessMemory.h"
#include "platform/events/OcrChannel.h"
#include "platform/events/OcrChildProcess.h"
#include "platform/events/OcrProtocol.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/ProcessAllocator.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/cards/SyntheticCard.h"
#include "tests/support/pdf/TestPdf.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 5;

bool readFully(int fd, char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::read(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

uint32_t codeAt(const char* p)
{
    const auto* u = reinterpret_cast<const uint8_t*>(p);
    return uint32_t(u[0]) << 24 | uint32_t(u[1]) << 16 | uint32_t(u[2]) << 8 | u[3];
}

// The stand-in OCR application: the engine opens, and every card has nothing to read. It reads
// each request into one buffer kept for the next and looks only at its event, so that what it
// costs the machine is the reading alone, as an application that answers at once would.
int serveStandIn(int fd)
{
    OcrChannel channel(fd);
    std::vector<char> body;
    for (;;) {
        char header[8];
        if (!readFully(fd, header, sizeof header))
            return 0;
        const uint32_t length = ocr::readU32(reinterpret_cast<const uint8_t*>(header) + 4);
        if (length < 16 || length > OcrChannel::kMaxFrameBytes)
            return 0;
        body.resize(length);
        if (!readFully(fd, body.data(), length))
            return 0;
        OcrMessage reply;
        reply.eventClass = codeAt(body.data());
        reply.eventId = codeAt(body.data() + 4);
        reply.returnId = ocr::readU32(reinterpret_cast<const uint8_t*>(body.data()) + 8);
        if (reply.eventId == ocr::kQuitEvent)
            return 0;
        QByteArray status(4, '\0');
        ocr::writeI32(reinterpret_cast<uint8_t*>(status.data()), reply.eventId == ocr::kEventRun ? 1001 : 0);
        reply.params.emplace_back(ocr::kKeyStatus, status);
        if (channel.send(reply, true, 5000) != OcrChannel::Ok)
            return 0;
    }
}

// A drawn card as a scan: light paper noise, JPEG at quality 85, 300 dpi, one page of its size.
QByteArray scannedCard(int variant)
{
    QImage image = englishCard(variant).convertToFormat(QImage::Format_RGB32);
    QRandomGenerator random{quint32(variant)};
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(random.bounded(9)) - 4;
            const int grey = std::clamp(qGray(row[x]) - 6 + noise, 0, 255);
            row[x] = qRgb(grey, grey, std::clamp(grey - 3, 0, 255));
        }
    }
    const testpdf::Image jpeg = testpdf::jpegImage(image.convertToFormat(QImage::Format_RGB888), 85);
    testpdf::Document document = testpdf::scannerDocument(1, "Brevix Manager V6.2");
    document.pages = {testpdf::fullPage(jpeg, image.width() * 72.0 / 300, image.height() * 72.0 / 300)};
    return testpdf::buildPdf(document);
}

struct Anchor {
    double machine = 0; // cp, then sync of every volume (whatever others have written meanwhile)
    double files = 0; // cp, then an fsync of each copy and of their folder, as the import does
};

double copyThenSync(const QStringList& paths, const QString& target, const QStringList& syncArguments)
{
    QDir().mkpath(target);
    QElapsedTimer timer;
    timer.start();
    QProcess::execute(QStringLiteral("cp"), QStringList(paths) << target);
    QProcess::execute(QStringLiteral("sync"), syncArguments);
    return timer.nsecsElapsed() / 1e6;
}

Anchor copyAndSync(const QStringList& paths, const QString& target)
{
    Anchor anchor;
    anchor.machine = copyThenSync(paths, target + QStringLiteral("-machine"), {});
    QStringList copies;
    for (const QString& path : paths)
        copies << target + QLatin1Char('/') + QFileInfo(path).fileName();
    anchor.files = copyThenSync(paths, target, QStringList(copies) << target);
    return anchor;
}

// A main window with its delegate on a new database in the temporary folder.
struct BenchWindow {
    OpenDatabase database;
    PLMainWindowController window{database};
    std::unique_ptr<PLAppController> delegate;

    BenchWindow(const QTemporaryDir& temp, const QString& name)
    {
        const QString folder = temp.filePath(name + QStringLiteral(".cxdb"));
        QDir().mkpath(folder + QStringLiteral("/Images"));
        database.choose(folder);
        delegate = std::make_unique<PLAppController>(&window, database, makeApplicationServices(), Bundle::main());
        window.setAppController(delegate.get());
        window.initDB();
    }
};

// The processor time of this process's threads so far, or of the calling thread alone, in
// milliseconds.
double processorMs(int who = RUSAGE_SELF)
{
    struct rusage usage {};
    getrusage(who, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The main thread's own processor time is the import loop's critical path, as recognition and
// the disk run on other threads beside it.
double importOnce(const QTemporaryDir& temp, const QString& name, const QStringList& paths, int inputType, qsizetype* imported,
                  double* processor, double* mainThread)
{
    BenchWindow bench(temp, name);
    PLMainWindowController& window = bench.window;
    QElapsedTimer timer;
    timer.start();
    const double processorBefore = processorMs();
    const double mainThreadBefore = processorMs(RUSAGE_THREAD);
    QStringList done;
    window.scanData(paths, inputType, &done);
    const double ms = timer.nsecsElapsed() / 1e6;
    *processor = processorMs() - processorBefore;
    *mainThread = processorMs(RUSAGE_THREAD) - mainThreadBefore;
    *imported = inputType == kInputTypeScanner ? done.size() : paths.size();
    return ms;
}

void importBatches(const QTemporaryDir& temp, const QStringList& paths, int batches)
{
    BenchWindow bench(temp, QStringLiteral("Batches"));
    PLMainWindowController& window = bench.window;
    // The window is up, so its card list is loaded and drawn after every import, as in the application.
    window.showWindow();
    QCoreApplication::processEvents();
    long first = 0, resident = 0;
    for (int batch = 1; batch <= batches; ++batch) {
        QElapsedTimer timer;
        timer.start();
        QStringList done;
        window.scanData(paths, kInputTypeScanner, &done);
        QCoreApplication::processEvents();
        // The scanner's files are copied in, so the same files serve every batch.
        resident = processStatusKiB("VmRSS");
        if (batch == 1)
            first = resident;
        const ManagedObjectContext* context = window.managedObjectContext();
        std::printf("batch %d: %lld cards in %.1f s, resident %.1f MiB (%+.1f MiB since the first batch), heap in use %.1f MiB, "
                    "cards held as objects %lld\n",
                    batch, static_cast<long long>(done.size()), timer.nsecsElapsed() / 1e9, resident / 1024.0,
                    (resident - first) / 1024.0, heapInUseMiB(),
                    static_cast<long long>(context ? context->liveObjectCount(QString::fromLatin1(CardStore::kEntityCard)) : 0));
        std::fflush(stdout);
    }
    std::printf("resident growth after the first batch: %.1f MiB over %d batches (aim: within 20 MiB)\n",
                (resident - first) / 1024.0, batches - 1);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 2 && std::strcmp(argv[1], "--socket-fd") == 0)
        return serveStandIn(atoi(argv[2]));
    // The application's own allocator settings, which its main sets.
    configureProcessAllocator();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool recognition = true;
    if (argc > 1 && std::strcmp(argv[1], "--no-recognition") == 0) {
        recognition = false;
        ++argv;
        --argc;
    }
    int batches = 0;
    if (argc > 2 && std::strcmp(argv[1], "--batches") == 0) {
        batches = std::max(1, atoi(argv[2]));
        argv += 2;
        argc -= 2;
    }
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : batches ? 1000 : 500;

    QTemporaryDir temp;
    PreferenceDomain::setStandardDomain(QStringLiteral("bench.import"), temp.filePath(QStringLiteral("prefs")));
    PreferenceDomain::standard().setValue(QStringLiteral("Auto run merge card function items"), 0);
    ScriptedMessagePresenter presenter;
    // The stand-in is this program, installed where the OCR application is looked for; without
    // recognition that folder stays empty.
    const QString ocrFolder = temp.filePath(QStringLiteral("app/OCR/Tamberl"));
    QDir().mkpath(ocrFolder);
    if (recognition)
        QFile::link(QCoreApplication::applicationFilePath(), ocrFolder + QStringLiteral("/Quillant"));
    setOcrApplicationFolder(temp.filePath(QStringLiteral("app")));

    QDir(temp.path()).mkpath(QStringLiteral("cards"));
    QStringList paths;
    qint64 bytes = 0;
    for (int i = 0; i < count; ++i) {
        paths.append(temp.filePath(QStringLiteral("cards/card%1.pdf").arg(i)));
        const QByteArray card = scannedCard(i);
        bytes += card.size();
        testpdf::writeBytes(paths.last(), card);
    }
    if (batches) {
        importBatches(temp, paths, batches);
        QuitOCRApplication();
        return 0;
    }
    std::printf("%d cards of %.0f KB on average (1075 x 650 pixels, 300 dpi JPEG), %d runs each, %s; load %s\n", count,
                bytes / 1024.0 / count, kRuns, recognition ? "recognised by a stand-in that answers at once" : "no recognition",
                machineLoad().constData());

    struct Path {
        const char* name;
        int inputType;
    };
    for (const Path& path : {Path{"scanner driver", kInputTypeScanner}, Path{"file manager", kInputTypeFileManager}}) {
        std::vector<double> imports, processors, mainThreads, machineAnchors, fileAnchors;
        qsizetype imported = 0;
        for (int run = 0; run < kRuns; ++run) {
            const QString tag = QStringLiteral("%1-%2").arg(path.inputType).arg(run);
            const auto anchorRun = [&] {
                const Anchor anchor = copyAndSync(paths, temp.filePath(QStringLiteral("copies-") + tag));
                machineAnchors.push_back(anchor.machine);
                fileAnchors.push_back(anchor.files);
            };
            double processor = 0, mainThread = 0;
            if (run % 2 == 0)
                anchorRun();
            imports.push_back(
                importOnce(temp, QStringLiteral("Bench-") + tag, paths, path.inputType, &imported, &processor, &mainThread));
            if (run % 2 == 1)
                anchorRun();
            processors.push_back(processor);
            mainThreads.push_back(mainThread);
            for (const QString& folder : {QStringLiteral("copies-") + tag, QStringLiteral("copies-") + tag + QStringLiteral("-machine"),
                                          QStringLiteral("Bench-") + tag + QStringLiteral(".cxdb")})
                QDir(temp.filePath(folder)).removeRecursively();
        }
        const double import = medianOf(imports), machine = medianOf(machineAnchors), files = medianOf(fileAnchors);
        const double processor = medianOf(processors), mainThread = medianOf(mainThreads);
        std::printf("%s: %lld cards imported; import %.1f ms (%.2f ms a card), processor time of its threads %.1f ms (%.2f ms a card)\n"
                    "  main thread alone %.1f ms (%.2f ms a card)\n"
                    "  cp + sync: %.1f ms, ratio %.2f; cp + per-file fsync: %.1f ms, ratio %.2f\n",
                    path.name, static_cast<long long>(imported), import, import / count, processor, processor / count, mainThread,
                    mainThread / count, machine, machine > 0 ? import / machine : 0.0, files, files > 0 ? import / files : 0.0);
    }
    QuitOCRApplication();

    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %.1f MiB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
