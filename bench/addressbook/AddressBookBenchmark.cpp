// Synchronises N cards (10,000 unless given) with an address-book folder of N contacts, half of
// which match a card and lack its phone numbers, so the first run merges N/2, makes N/2 cards
// and N/2 persons; a second run changes nothing. Times both runs (the store saved after each)
// and prints them against the anchor: copying the folder as it was before the first run with
// `cp -r` and flushing the copy with `sync -f`. Prints the first run's processor time per contact
// too, beside the 0.31 to 0.40 ms it took before.
#include "app/sync/PLSyncConnectController.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

struct Host : PLSyncHost {
    ManagedObjectContext* context = nullptr;
    ManagedObjectContext* managedObjectContext() override { return context; }
    ManagedObjectList selectedCards() override { return {}; }
};

QString name(const char* kind, int i)
{
    return QStringLiteral("%1%2").arg(QLatin1String(kind)).arg(i, 5, 10, QLatin1Char('0'));
}

// The process's processor time so far, in the program (user) and in the system for it.
struct Cpu {
    double userMs = 0;
    double systemMs = 0;
};
Cpu cpu()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return {usage.ru_utime.tv_sec * 1000.0 + usage.ru_utime.tv_usec / 1000.0,
            usage.ru_stime.tv_sec * 1000.0 + usage.ru_stime.tv_usec / 1000.0};
}

// `cp -r` of the folder and `sync -f` of the copy, as one time.
qint64 anchorMs(const QString& folder, const QString& copy)
{
    QElapsedTimer timer;
    timer.start();
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), folder, copy});
    QProcess::execute(QStringLiteral("sync"), {QStringLiteral("-f"), copy});
    return std::max<qint64>(1, timer.elapsed());
}

qint64 timedRun(Host& host, const QString& folder, int* result)
{
    QElapsedTimer timer;
    timer.start();
    PLSyncConnectController controller;
    controller.setMainController(&host);
    controller.setAddressBookFolder(folder);
    controller.setSelectStatus(PLSyncConnectController::kSelectCardWins);
    *result = controller.connectAddressBook();
    host.context->save();
    return timer.elapsed();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(2, atoi(argv[1])) : 10000;
    QTemporaryDir temp;
    const QString folder = temp.filePath(QStringLiteral("book"));
    QDir().mkpath(folder);

    auto context = ManagedObjectContext::open(CardStore::currentModel(), temp.filePath(QStringLiteral("Pelmora1.sqldb")));
    ManagedObjectPtr inbox = context->insertNewObject(QLatin1String(CardStore::kEntityFolder));
    inbox->setValue(QStringLiteral("folder_ID"), QStringLiteral("INBOX"));
    inbox->setValue(QStringLiteral("folder_Type"), 2);
    for (int i = 0; i < count; ++i) {
        ManagedObjectPtr card = context->insertNewObject(QLatin1String(CardStore::kEntityCard));
        card->setValue(QStringLiteral("cardID"), name("card", i));
        card->setValue(QStringLiteral("deletedFlag"), 0);
        card->setValue(QStringLiteral("first_Name"), name("First", i));
        card->setValue(QStringLiteral("family_Name"), name("Family", i));
        card->setValue(QStringLiteral("company"), QStringLiteral("Company %1").arg(i % 97));
        card->setValue(QStringLiteral("e_Mail"), name("mail", i) + QLatin1String("@example.com"));
        card->setValue(QStringLiteral("telephone_Number"), QStringLiteral("03-%1").arg(i));
        card->setValue(QStringLiteral("mobile_Number"), QStringLiteral("090-%1").arg(i));
        card->setValue(QStringLiteral("street"), QStringLiteral("%1 Main Street").arg(i));
        card->setValue(QStringLiteral("city"), QStringLiteral("Springfield"));
    }
    context->save();
    for (int i = 0; i < count; ++i) {
        // Persons with an even number match card i/2's keys; the others are people of their own.
        const bool matching = i % 2 == 0;
        const int n = matching ? i / 2 : count + i;
        QFile f(folder + QLatin1Char('/') + name("person", i) + QLatin1String(".vcf"));
        f.open(QIODevice::WriteOnly);
        f.write(QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:x\r\nN:%2;%3;;;\r\nORG:Company %4\r\n"
                               "EMAIL;TYPE=INTERNET,WORK:%5@example.com\r\nTITLE:Title %6\r\nNOTE:a note\r\n"
                               "PHOTO;ENCODING=b;TYPE=JPEG:%7\r\nEND:VCARD\r\n")
                    .arg(name("person", i), name("Family", n), name("First", n))
                    .arg(n % 97)
                    .arg(name("mail", n))
                    .arg(i)
                    .arg(QString(600, QLatin1Char('Q')))
                    .toUtf8());
    }
    Host host;
    host.context = context.get();

    const qint64 anchor = anchorMs(folder, temp.filePath(QStringLiteral("anchor")));

    int firstResult = 0, secondResult = 0;
    const Cpu before = cpu();
    const qint64 first = timedRun(host, folder, &firstResult);
    const Cpu after = cpu();
    const double userPerContact = (after.userMs - before.userMs) / count;
    const double systemPerContact = (after.systemMs - before.systemMs) / count;
    const qint64 second = timedRun(host, folder, &secondResult);
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.vcf")}, QDir::Files);

    std::printf("cards %d, contacts %d (half matching), results %d and %d, %lld files after the first run\n", count, count,
                firstResult, secondResult, static_cast<long long>(files.size()));
    std::printf("first run (merge, new cards, new persons, store saved)  %8lld ms  ratio %.2f (at most 2)\n", static_cast<long long>(first),
                double(first) / anchor);
    std::printf("  processor time per contact                            %8.3f ms  (0.31 to 0.40 before), of it %.3f ms in the system\n",
                userPerContact + systemPerContact, systemPerContact);
    std::printf("second run (nothing to change)                          %8lld ms  ratio %.2f\n", static_cast<long long>(second),
                double(second) / anchor);
    std::printf("cp -r of the folder and sync -f of the copy (anchor)    %8lld ms\n", static_cast<long long>(anchor));
    return firstResult == 0 && secondResult == 0 ? 0 : 1;
}
