// Times Vostrand's run (lock, backup copy of the folder, "vacuum; reindex;" through the sqlite3
// shell) on a 20,000-card database with 2,000 image files, against "cp -a" of the folder followed
// by the sqlite3 shell's "vacuum; reindex;" on the copy, in the same run, rounds alternating which
// goes first, and prints the ratio of the medians with the machine's load.
//
//   bench_dbtools [rounds]      (default 5; the median of the rounds is compared)

#include "bench/support/BenchRuns.h"
#include "tests/support/dbtools/TestDatabase.h"
#include "tools/optimize/VSOptimizeDBController.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kCards = 20000;
constexpr int kImageFiles = 2000;
constexpr int kImageBytes = 64 * 1024;

bool runCommand(const QString& program, const QStringList& arguments, const QByteArray& input = QByteArray())
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(-1))
        return false;
    process.write(input);
    process.closeWriteChannel();
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;

    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Pelmora DB.cxdb");
    const QString store = folder + QStringLiteral("/Pelmora1.sqldb");
    std::printf("making %d cards and %d image files of %d KiB...\n", kCards, kImageFiles, kImageBytes / 1024);
    std::fflush(stdout);
    if (!TestDatabase::create(folder, {.cards = kCards, .imageFiles = kImageFiles, .imageBytes = kImageBytes, .memoBytes = 300})
        || !TestDatabase::deleteCards(store, kCards / 10)) {
        std::fprintf(stderr, "could not make the database\n");
        return 1;
    }
    const QString reference = dir.path() + QStringLiteral("/reference.cxdb");
    // One copy first, so both sides start with the folder in the page cache.
    runCommand(QStringLiteral("cp"), {QStringLiteral("-a"), folder, reference});
    QDir(reference).removeRecursively();

    std::vector<double> tool;
    std::vector<double> baseline;
    const auto runTool = [&] {
        QElapsedTimer timer;
        timer.start();
        VSOptimizeDBController run(store);
        if (run.run() != VSOptimizeDBController::kSuccess)
            return false;
        tool.push_back(timer.nsecsElapsed() / 1e6);
        QDir(run.backupPath()).removeRecursively();
        return true;
    };
    const auto runReference = [&] {
        QElapsedTimer timer;
        timer.start();
        const bool copied = runCommand(QStringLiteral("cp"), {QStringLiteral("-a"), folder, reference});
        const bool vacuumed = copied
            && runCommand(QStringLiteral("/usr/bin/sqlite3"), {reference + QStringLiteral("/Pelmora1.sqldb")},
                          QByteArrayLiteral("vacuum;\nreindex;\n.quit\n"));
        baseline.push_back(timer.nsecsElapsed() / 1e6);
        QDir(reference).removeRecursively();
        return vacuumed;
    };
    for (int round = 0; round < rounds; ++round) {
        const bool ran = round % 2 == 0 ? runTool() && runReference() : runReference() && runTool();
        if (!ran) {
            std::fprintf(stderr, "the optimisation or the reference run failed\n");
            return 1;
        }
        std::printf("round %d: Vostrand %.1f ms, cp -a + sqlite3 %.1f ms\n", round + 1, tool.back(), baseline.back());
    }
    const double toolMs = medianOf(tool);
    const double baselineMs = medianOf(baseline);
    std::printf("median: Vostrand %.1f ms, cp -a + sqlite3 %.1f ms, ratio %.2fx (aim: at most 1.2x); load %s\n", toolMs, baselineMs,
                toolMs / baselineMs, machineLoad().constData());
    return 0;
}
