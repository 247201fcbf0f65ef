// Kills the suite's programs in the middle of their work and checks that nothing was lost.
//
//   crash_harness --points [POINT]    every named kill point once (what CI runs), or the one named
//   crash_harness --random N [SEED]   N kills at random moments; prints the seed
//   crash_harness --replay SEED:TRIAL one trial of a random run again
//
// Each trial makes a database in a folder of its own, starts the program (Pelmora importing
// scanner files, a migration, a Vostrand backup and optimisation, a Harnwick password change),
// kills it, then checks: the store passes its integrity check and opens; no card without its
// image; no scanner file deleted without its card stored; the password file holds the old or the
// new digest; the next start succeeds and leaves no leftovers. The trials of the writers of the
// user's other files (an export, attachments, a linkage install, the preferences) are described
// in WriterTrials.h, the trial of an Address Book synchronisation in SyncTrial.h.
#include "tests/crash/harness/CrashChecks.h"
#include "tests/crash/harness/SyncTrial.h"
#include "tests/crash/harness/WriterTrials.h"

#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/Md5.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/PlistFile.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/cardstores/CardStoreFixtures.h"
#include "tests/support/dbtools/TestDatabase.h"
#include "tests/support/environment/TestEnvironment.h"
#include "tests/support/pdf/TestPdf.h"
#include "app/core/PLDatabaseMigration.h"
#include "tools/optimize/VSOptimizeDBController.h"
#include "tools/password/HWDatabaseController.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace F = CardStoreFixtures;

enum class Scenario { Import, Migration, Optimize, Password, Export, Attach, Install, Preferences, Sync };
constexpr Scenario kScenarios[] = {Scenario::Import, Scenario::Migration, Scenario::Optimize, Scenario::Password, Scenario::Export,
                                   Scenario::Attach, Scenario::Install,   Scenario::Preferences, Scenario::Sync};
using WriterTrials::Writer;

// The writer a scenario runs, for the writers' trials.
std::optional<Writer> writerOf(Scenario scenario)
{
    switch (scenario) {
    case Scenario::Export: return Writer::Export;
    case Scenario::Attach: return Writer::Attach;
    case Scenario::Install: return Writer::Install;
    case Scenario::Preferences: return Writer::Preferences;
    default: return std::nullopt;
    }
}
constexpr int kScannerFiles = 4;
constexpr int kMigratedCards = 300;
constexpr int kOptimizedCards = 1000;

const char* nameOf(Scenario scenario)
{
    switch (scenario) {
    case Scenario::Import: return "import";
    case Scenario::Migration: return "migration";
    case Scenario::Optimize: return "optimize";
    case Scenario::Password: return "password";
    case Scenario::Sync: return "sync";
    default: return WriterTrials::nameOf(*writerOf(scenario));
    }
}

// How long a scenario's program runs here at most, for the random moments.
int spanMs(Scenario scenario)
{
    switch (scenario) {
    case Scenario::Import: return 2000;
    case Scenario::Migration: return 300;
    case Scenario::Optimize: return 450;
    case Scenario::Password: return 30;
    case Scenario::Sync: return SyncTrial::spanMs();
    default: return WriterTrials::spanMs(*writerOf(scenario));
    }
}

struct Kill {
    Scenario scenario;
    QByteArray point; // PELMORA_CRASH_AT; empty: kill after `delayMs`
    int delayMs = 0;
};

const Kill kPoints[] = {
    {Scenario::Import, "import-card-copied", 0},
    {Scenario::Import, "import-card-copied:2", 0},
    {Scenario::Import, "import-before-save", 0},
    {Scenario::Import, "import-saved", 0},
    {Scenario::Import, "import-scanner-file-deleted:1", 0},
    {Scenario::Migration, "migration-before-switch", 0},
    {Scenario::Migration, "migration-after-switch", 0},
    {Scenario::Optimize, "optimize-backup-copied", 0},
    {Scenario::Optimize, "optimize-shell-started", 0},
    {Scenario::Password, "plain-file-written", 0},
    {Scenario::Export, "export-file-written", 0},
    {Scenario::Export, "export-file-written:9", 0},
    {Scenario::Attach, "attachment-copied", 0},
    {Scenario::Attach, "attachment-copied:2", 0},
    {Scenario::Install, "settings-file-written", 0},
    {Scenario::Preferences, "settings-file-written", 0},
    {Scenario::Preferences, "settings-file-written:1", 0},
    {Scenario::Sync, "sync-pull-card:2", 0},
    {Scenario::Sync, "sync-push-written:1", 0},
    {Scenario::Sync, "sync-push-renamed:1", 0},
    {Scenario::Sync, "sync-book-saved", 0},
};

QString md5Of(const char* password)
{
    return md5Hex(QByteArray(password));
}

void writeEmpty(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

class Trial {
public:
    explicit Trial(const Kill& kill) : m_kill(kill)
    {
        // CRASH_HARNESS_KEEP keeps each trial's folder to look at.
        m_temp.setAutoRemove(qEnvironmentVariableIsEmpty("CRASH_HARNESS_KEEP"));
        if (!m_temp.autoRemove())
            std::printf("trial folder %s\n", qPrintable(m_temp.path()));
        std::fflush(stdout);
        m_folder = m_temp.filePath(QStringLiteral("Cards.cxdb"));
        m_tmp = m_temp.filePath(QStringLiteral("tmp"));
        QDir().mkpath(m_tmp);
        qputenv("TMPDIR", QFile::encodeName(m_tmp));
        PreferenceDomain::setStandardDomain(QStringLiteral("crash.harness"), m_temp.filePath(QStringLiteral("prefs")));
    }

    QStringList run()
    {
        if (const std::optional<Writer> writer = writerOf(m_kill.scenario)) {
            WriterTrials::prepare(*writer, m_temp.path());
            runProgram();
            QStringList wrong = WriterTrials::checkAfterKill(*writer, m_temp.path());
            if (!m_kill.point.isEmpty() && !m_killed)
                wrong << QStringLiteral("the program never reached the point");
            if (runProgram(WriterTrials::arguments(*writer, m_temp.path(), true)) != 0)
                wrong << QStringLiteral("the next start fails");
            return wrong + WriterTrials::checkAfterNextStart(*writer, m_temp.path());
        }
        if (m_kill.scenario == Scenario::Sync) {
            SyncTrial::prepare(m_temp.path());
            runProgram();
            QStringList wrong = SyncTrial::checkAfterKill(m_temp.path());
            if (!m_kill.point.isEmpty() && !m_killed)
                wrong << QStringLiteral("the program never reached the point");
            if (runProgram(SyncTrial::arguments(m_temp.path())) != 0)
                wrong << QStringLiteral("the next start fails");
            return wrong + SyncTrial::checkAfterNextStart(m_temp.path());
        }
        prepare();
        runProgram();
        return check();
    }

private:
    void prepare()
    {
        switch (m_kill.scenario) {
        case Scenario::Import: {
            QDir().mkpath(m_folder + QStringLiteral("/Images"));
            QList<F::Card> cards = F::numberedCards(2, QStringLiteral("1"));
            F::writeStore(m_folder + QStringLiteral("/Pelmora1.sqldb"), true, 2, cards);
            for (const F::Card& card : cards)
                writeEmpty(m_folder + QStringLiteral("/Images/") + card.faceImageFile);
            QDir().mkpath(m_temp.filePath(QStringLiteral("scans")));
            for (int i = 0; i < kScannerFiles; ++i) {
                m_scans << m_temp.filePath(QStringLiteral("scans/card%1.pdf").arg(i));
                testpdf::writePdf(m_scans.last(), testpdf::scannerDocument(1));
            }
            break;
        }
        case Scenario::Migration: {
            QDir().mkpath(m_folder + QStringLiteral("/Images"));
            const QList<F::Card> cards = F::numberedCards(kMigratedCards, QStringLiteral("1"));
            F::writeStore(m_folder + QStringLiteral("/Pelmora1.sqldb"), false, 1, cards);
            for (const F::Card& card : cards)
                writeEmpty(m_folder + QStringLiteral("/Images/") + card.faceImageFile);
            break;
        }
        case Scenario::Optimize:
            TestDatabase::create(m_folder, {.cards = kOptimizedCards, .memoBytes = 1000});
            TestDatabase::deleteCards(m_folder + QStringLiteral("/Pelmora1.sqldb"), kOptimizedCards / 2);
            CrashChecks::writeCardImages(m_folder);
            break;
        case Scenario::Password: {
            TestDatabase::create(m_folder, {.cards = 2});
            CrashChecks::writeCardImages(m_folder);
            HWDatabaseController tool;
            tool.setDBPath(m_folder);
            tool.addPassword(QStringLiteral("old"));
            break;
        }
        default: break;
        }
        m_cardsBefore = CrashChecks::cardCount(m_folder);
    }

    // The program runs in a process of its own, killed at the point or after the delay; with
    // `nextStart`, a writer's next start runs instead, to its end. Answers its exit status.
    int runProgram(const QList<QByteArray>& nextStart = {})
    {
        QList<QByteArray> args;
        QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
        QByteArray argv0 = program;
        switch (m_kill.scenario) {
        case Scenario::Import:
            // Pelmora itself, started by a program named as the scanner driver, hidden: it
            // imports the files, deletes them and quits.
            QDir().mkpath(m_temp.filePath(QStringLiteral("config")));
            writePlistFile(m_temp.filePath(QStringLiteral("config/com.orvane.zor.Pelmora.plist")),
                           PlistValue::Dictionary{{"DB path", m_folder}, {"General display items", 0},
                                                  {"Auto run merge card function items", 0}});
            program = QFile::encodeName(QString::fromLocal8Bit(qgetenv("PELMORA_STAGE_DIR")) + QStringLiteral("/Pelmora"));
            argv0 = program;
            for (const QString& scan : m_scans)
                args << QFile::encodeName(scan);
            break;
        case Scenario::Migration:
            args << "--migrate" << QFile::encodeName(m_folder);
            break;
        case Scenario::Optimize:
            args << "--optimize" << QFile::encodeName(m_folder + QStringLiteral("/Pelmora1.sqldb"));
            break;
        case Scenario::Password:
            args << "--password" << QFile::encodeName(m_folder);
            break;
        case Scenario::Sync:
            args = nextStart.isEmpty() ? SyncTrial::arguments(m_temp.path()) : nextStart;
            break;
        default: args = nextStart.isEmpty() ? WriterTrials::arguments(*writerOf(m_kill.scenario), m_temp.path(), false) : nextStart; break;
        }
        QDir().mkpath(m_temp.filePath(QStringLiteral("run")));
        QFile::setPermissions(m_temp.filePath(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("HOME", QFile::encodeName(m_temp.path()).constData(), 1);
            ::setenv("XDG_CONFIG_HOME", QFile::encodeName(m_temp.filePath(QStringLiteral("config"))).constData(), 1);
            ::setenv("XDG_RUNTIME_DIR", QFile::encodeName(m_temp.filePath(QStringLiteral("run"))).constData(), 1);
            ::setenv("XDG_DATA_HOME", QFile::encodeName(m_temp.filePath(QStringLiteral("data"))).constData(), 1);
            if (!m_kill.point.isEmpty() && nextStart.isEmpty())
                ::setenv("PELMORA_CRASH_AT", m_kill.point.constData(), 1);
            if (m_kill.scenario == Scenario::Import) {
                // The scanner driver's name is read from Pelmora's parent: this process, renamed.
                const pid_t child = ::fork();
                if (child == 0)
                    execProgram(program, argv0, args);
                char name[] = "Brevix Manager";
                std::vector<char*> argv{name, const_cast<char*>("--wait"), nullptr};
                const QByteArray pidText = QByteArray::number(child);
                argv.insert(argv.end() - 1, const_cast<char*>(pidText.constData()));
                const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
                ::execv(self.constData(), argv.data());
                ::_exit(127);
            }
            execProgram(program, argv0, args);
        }
        // The renamed launcher waits for Pelmora, so killing the launcher's group ends both.
        const QDeadlineTimer limit(m_kill.point.isEmpty() && nextStart.isEmpty() ? m_kill.delayMs : 120000);
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (limit.hasExpired()) {
                killTree(pid);
                ::waitpid(pid, &status, 0);
                break;
            }
            QThread::msleep(2);
        }
        if (nextStart.isEmpty())
            m_killed = WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGKILL);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    [[noreturn]] static void execProgram(QByteArray program, QByteArray argv0, QList<QByteArray> args)
    {
        std::vector<char*> argv{argv0.data()};
        for (QByteArray& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execv(program.constData(), argv.data());
        ::_exit(127);
    }

    static void killTree(pid_t pid)
    {
        // The launcher's one child is Pelmora; the others have no child worth keeping.
        const QByteArray children = [&] {
            QFile file(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        for (const QByteArray& child : children.split(' '))
            if (child.toInt() > 0)
                ::kill(pid_t(child.toInt()), SIGKILL);
        ::kill(pid, SIGKILL);
    }

    QStringList check()
    {
        QStringList wrong;
        if (!m_kill.point.isEmpty() && !m_killed)
            wrong << QStringLiteral("the program never reached the point");
        // A killed program's children (the OCR stand-in, the SQLite shell) end with it; the two
        // minutes only guard against a hang on a busy machine.
        QDeadlineTimer settle(120000);
        while (!settle.hasExpired() && DatabaseLock::probe(m_folder) != DatabaseLock::Result::Locked)
            QThread::msleep(20);
        if (DatabaseLock::probe(m_folder) != DatabaseLock::Result::Locked)
            wrong << QStringLiteral("the folder is still locked after the kill");
        wrong << CrashChecks::storeAndImages(m_folder);
        const int cards = CrashChecks::cardCount(m_folder);
        switch (m_kill.scenario) {
        case Scenario::Import: {
            int deleted = 0;
            for (const QString& scan : m_scans)
                deleted += QFile::exists(scan) ? 0 : 1;
            if (deleted > cards - m_cardsBefore)
                wrong << QStringLiteral("%1 scanner files deleted, %2 cards stored").arg(deleted).arg(cards - m_cardsBefore);
            break;
        }
        case Scenario::Optimize:
            if (cards != m_cardsBefore)
                wrong << QStringLiteral("%1 cards before, %2 after").arg(m_cardsBefore).arg(cards);
            for (const QString& backup : QDir(m_temp.path()).entryList({QStringLiteral("Cards_bak*.cxdb")}, QDir::Dirs))
                if (CrashChecks::cardCount(m_temp.filePath(backup)) != m_cardsBefore)
                    wrong << QStringLiteral("the backup %1 is not whole").arg(backup);
            break;
        case Scenario::Password: {
            QFile cfg(m_folder + QStringLiteral("/Pelmora.CFG"));
            const QString digest = cfg.open(QIODevice::ReadOnly) ? QString::fromLatin1(cfg.readAll()) : QString();
            if (digest != md5Of("old") && digest != md5Of("new"))
                wrong << QStringLiteral("the password file holds neither digest");
            break;
        }
        default: break;
        }
        wrong << CrashChecks::openAsAStartDoes(m_folder);
        if (m_kill.scenario == Scenario::Migration && CrashChecks::cardCount(m_folder) != m_cardsBefore)
            wrong << QStringLiteral("%1 cards before the migration, %2 after").arg(m_cardsBefore).arg(CrashChecks::cardCount(m_folder));
        if (m_kill.scenario == Scenario::Optimize) {
            VSOptimizeDBController again(m_folder + QStringLiteral("/Pelmora1.sqldb"));
            if (again.run() != VSOptimizeDBController::kSuccess)
                wrong << QStringLiteral("the next optimisation fails");
        }
        wrong << CrashChecks::leftovers(m_folder, m_tmp);
        return wrong;
    }

    Kill m_kill;
    QTemporaryDir m_temp;
    QString m_folder;
    QString m_tmp;
    QStringList m_scans;
    int m_cardsBefore = 0;
    bool m_killed = false;
};

// The programs run by the trials' child processes.
int runChildMode(const QByteArray& mode, const QString& argument)
{
    if (mode == "--migrate") {
        ScriptedMessagePresenter presenter;
        PreferenceDomain::setStandardDomain(QStringLiteral("crash.harness.child"), QDir::tempPath() + QStringLiteral("/child-prefs"));
        QString work;
        PLDatabaseMigration::CheckContext context;
        return PLDatabaseMigration::migrateDatabaseIfNeeded(false, argument, &work, context) ? 0 : 1;
    }
    if (mode == "--optimize")
        return -VSOptimizeDBController(argument).run();
    if (mode == "--password") {
        HWDatabaseController tool;
        tool.setDBPath(argument);
        return tool.changePassword(QStringLiteral("old"), QStringLiteral("new"));
    }
    if (mode == "--wait") {
        int status = 0;
        ::waitpid(pid_t(argument.toInt()), &status, 0);
        return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    }
    return 2;
}

int report(int trials, int failures)
{
    std::printf("%d trials, %d failures\n", trials, failures);
    return failures == 0 ? 0 : 1;
}

bool runOne(const Kill& kill, const QString& label)
{
    QElapsedTimer timer;
    timer.start();
    Trial trial(kill);
    const QStringList wrong = trial.run();
    std::printf("%s %s %s (%lld ms): %s\n", qPrintable(label), nameOf(kill.scenario),
                kill.point.isEmpty() ? qPrintable(QStringLiteral("after %1 ms").arg(kill.delayMs)) : kill.point.constData(),
                timer.elapsed(), wrong.isEmpty() ? "ok" : qPrintable(wrong.join(QStringLiteral("; "))));
    std::fflush(stdout);
    return wrong.isEmpty();
}

Kill randomKill(std::mt19937& random)
{
    const Scenario scenario = kScenarios[std::uniform_int_distribution<int>(0, int(std::size(kScenarios)) - 1)(random)];
    return {scenario, {}, std::uniform_int_distribution<int>(0, spanMs(scenario))(random)};
}

} // namespace

int main(int argc, char* argv[])
{
    testenvironment::enter();
    if (argc == 3 && SyncTrial::isChildMode(QByteArray(argv[1]))) {
        QCoreApplication app(argc, argv);
        return SyncTrial::runChild(QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 3 && WriterTrials::isChildMode(QByteArray(argv[1]))) {
        QApplication app(argc, argv);
        return WriterTrials::runChild(QByteArray(argv[1]), QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 3 && std::strncmp(argv[1], "--", 2) == 0 && std::strcmp(argv[1], "--random") != 0 && std::strcmp(argv[1], "--replay") != 0
        && std::strcmp(argv[1], "--points") != 0) {
        QCoreApplication app(argc, argv);
        return runChildMode(QByteArray(argv[1]), QString::fromLocal8Bit(argv[2]));
    }
    QApplication app(argc, argv);
    ScriptedMessagePresenter presenter;
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("--points");
    int trials = 0, failures = 0;
    if (mode == "--points") {
        // A point named after the mode runs alone.
        for (const Kill& kill : kPoints) {
            if (argc > 2 && kill.point != argv[2])
                continue;
            ++trials;
            failures += runOne(kill, QStringLiteral("point")) ? 0 : 1;
        }
        return report(trials, failures);
    }
    if (mode == "--random" && argc >= 3) {
        const unsigned seed = argc >= 4 ? unsigned(std::strtoul(argv[3], nullptr, 10)) : std::random_device{}();
        std::printf("seed %u\n", seed);
        std::mt19937 random(seed);
        const int count = std::atoi(argv[2]);
        for (int i = 0; i < count; ++i) {
            const Kill kill = randomKill(random);
            ++trials;
            failures += runOne(kill, QStringLiteral("%1:%2").arg(seed).arg(i)) ? 0 : 1;
        }
        std::printf("seed %u\n", seed);
        return report(trials, failures);
    }
    if (mode == "--replay" && argc >= 3) {
        const QStringList parts = QString::fromLatin1(argv[2]).split(QLatin1Char(':'));
        if (parts.size() != 2)
            return 2;
        std::mt19937 random(parts[0].toUInt());
        Kill kill = randomKill(random);
        for (int i = 0; i < parts[1].toInt(); ++i)
            kill = randomKill(random);
        return report(1, runOne(kill, QString::fromLatin1(argv[2])) ? 0 : 1);
    }
    std::fprintf(stderr, "usage: crash_harness [--points | --random N [SEED] | --replay SEED:TRIAL]\n");
    return 2;
}
