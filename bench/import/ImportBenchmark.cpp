// Imports N one-page card PDFs (500 unless given) through the main window's import, with no OCR
// program so recognition ends at once, and times it against `cp` of the same files into a
// folder. Prints both times, their ratio and the peak memory of this process.
#include "app/core/Globals.h"
#include "app/core/PLAppController.h"
#include "app/images/OcrApplicationLink.h"
#include "app/ui/PLApplicationServices.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/pdf/TestPdf.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 500;

    QTemporaryDir temp;
    PreferenceDomain::setStandardDomain(QStringLiteral("bench.import"), temp.filePath(QStringLiteral("prefs")));
    PreferenceDomain::standard().setValue(QStringLiteral("Auto run merge card function items"), 0);
    setOcrConnector([] { return std::unique_ptr<OcrConnection>(); });
    ScriptedMessagePresenter presenter;

    QDir(temp.path()).mkpath(QStringLiteral("cards"));
    QStringList paths;
    const QByteArray card = testpdf::buildPdf(testpdf::scannerDocument(1));
    for (int i = 0; i < count; ++i) {
        paths.append(temp.filePath(QStringLiteral("cards/card%1.pdf").arg(i)));
        testpdf::writeBytes(paths.last(), card);
    }

    const QString database = temp.filePath(QStringLiteral("Bench.cxdb"));
    QDir().mkpath(database + QStringLiteral("/Images"));
    g_strCurDBPath = database;
    PLMainWindowController window;
    PLAppController delegate(&window, makeApplicationServices(), Bundle::main());
    g_strCurDBPath = database;
    window.setAppController(&delegate);
    window.initDB();

    QElapsedTimer timer;
    timer.start();
    QStringList imported;
    window.scanData(paths, kInputTypeScanner, &imported);
    const double importMs = timer.nsecsElapsed() / 1e6;

    QDir(temp.path()).mkpath(QStringLiteral("copies"));
    timer.restart();
    QProcess::execute(QStringLiteral("cp"), QStringList(paths) << temp.filePath(QStringLiteral("copies")));
    const double copyMs = timer.nsecsElapsed() / 1e6;

    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("cards imported: %lld of %d\n", static_cast<long long>(imported.size()), count);
    std::printf("import: %.1f ms (%.2f ms a card)\n", importMs, importMs / count);
    std::printf("cp of the same files: %.1f ms\n", copyMs);
    std::printf("ratio import / cp: %.1f\n", copyMs > 0 ? importMs / copyMs : 0.0);
    std::printf("peak memory: %.1f MiB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
