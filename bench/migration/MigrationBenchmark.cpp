// Times the migration of a version-51 database (a copy of the store altered, its Version row
// updated, moved into place) against `cp` of the same store file, in the same run, and prints
// the figures and their ratio. The migration runs without the progress sheet.
#include "app/core/PLDatabaseMigration.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/support/cardstores/CardStoreFixtures.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double copyWithCp(const QString& from, const QString& to)
{
    QElapsedTimer timer;
    timer.start();
    const int status = QProcess::execute(QStringLiteral("cp"), {from, to});
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (status != 0)
        std::fprintf(stderr, "cp failed: %d\n", status);
    return ms;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int cards = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    constexpr int kRuns = 3;

    QTemporaryDir temp;
    PreferenceDomain::setStandardDomain(QStringLiteral("bench.migration"), temp.filePath(QStringLiteral("prefs")));
    const QString source = temp.filePath(QStringLiteral("Source.sqldb"));
    if (!CardStoreFixtures::writeStore(source, false, 1, CardStoreFixtures::numberedCards(cards, QStringLiteral("1")))) {
        std::fprintf(stderr, "could not build the store\n");
        return 1;
    }
    std::printf("version-51 store: %d cards, %lld bytes\n", cards, QFileInfo(source).size());

    double bestMigration = 0;
    double bestCopy = 0;
    for (int run = 0; run < kRuns; ++run) {
        const QString folder = temp.filePath(QStringLiteral("Run%1.cxdb").arg(run));
        QDir().mkpath(folder + QStringLiteral("/Images"));
        const QString store = folder + QStringLiteral("/Pelmora1.sqldb");
        copyWithCp(source, store);

        const double copyMs = copyWithCp(source, temp.filePath(QStringLiteral("copy%1.sqldb").arg(run)));
        QElapsedTimer timer;
        timer.start();
        QString work;
        const bool migrated = PLDatabaseMigration::migrateDatabaseIfNeeded(false, folder, &work, {});
        const double migrationMs = double(timer.nsecsElapsed()) / 1e6;
        if (!migrated) {
            std::fprintf(stderr, "migration failed\n");
            return 1;
        }
        std::printf("run %d: migration %.1f ms, cp %.1f ms\n", run + 1, migrationMs, copyMs);
        if (run == 0 || migrationMs < bestMigration)
            bestMigration = migrationMs;
        if (run == 0 || copyMs < bestCopy)
            bestCopy = copyMs;
    }
    std::printf("best: migration %.1f ms, cp %.1f ms, ratio %.2f\n", bestMigration, bestCopy,
                bestCopy > 0 ? bestMigration / bestCopy : 0.0);
    return 0;
}
