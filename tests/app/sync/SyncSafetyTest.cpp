// What must not happen to a synchronisation whatever the cards and the folder hold: duplicates
// from line breaks or from two runs at once, and a program ended by a contact too large for memory.
#include "SyncFixture.h"
#include "tests/app/core/TestBundle.h"

#include <QRegularExpression>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using SyncSafety = SyncFixture;

// A carriage return in a name or company is written as a line break and read back as one: the
// card and its person still meet at the next run instead of each being added again.
TEST_F(SyncSafety, CarriageReturnsInNamesAndCompaniesAddNothingAtLaterRuns)
{
    addCard({{"first_Name", "Ann"}, {"family_Name", "Lee\rSmith"}, {"company", "Acme\r\nWest"}});
    addCard({{"family_Name", "Kim"}, {"company", QString::fromUtf8("Line\rBreak\x01 Ltd\u2028")}, {"e_Mail", "kim@x.example\r"}});
    addPerson("park.vcf", "N:Park;;;;\r\nORG:Two\\nLines\r\n");
    for (int run = 1; run <= 3; ++run) {
        ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins), 0) << run;
        EXPECT_EQ(cards().size(), 3) << "after run " << run;
        EXPECT_EQ(book()->people().size(), 3u) << "after run " << run;
    }
}

// Two windows or two instances synchronising one folder: the second is refused while the first
// runs, and says so, instead of adding every person a second time.
TEST_F(SyncSafety, ASecondRunOnTheSameFolderIsRefusedWhileTheFirstHoldsIt)
{
    TestBundle bundle({}, {{"IDS_MSG_ADDRESSBOOK_BUSY", "busy"}});
    addCard({{"family_Name", "Lee"}});
    auto first = AddressBook::open(bookFolder(), nullptr, AddressBook::Lock::ForRun);
    ASSERT_TRUE(first);

    PLSyncConnectController second;
    EXPECT_EQ(synchronise(PLSyncConnectController::kSelectCardWins, &second), PLSyncConnectController::kAddressBookError);
    EXPECT_TRUE(QDir(bookFolder()).entryList(QDir::Files).isEmpty()) << "the second run wrote nothing";
    EXPECT_EQ(second.runReport(), "busy");

    // The first run goes on as it would have, and then the folder is free again.
    first->newPerson()->setValue(QStringLiteral("Lee"), kABLastNameProperty);
    ASSERT_TRUE(first->save());
    first.reset();
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins), 0);
    EXPECT_EQ(book()->people().size(), 1u);
    EXPECT_EQ(cards().size(), 1);
}

// A contact with values far longer than any card's gives its card the values cut to the fields'
// lengths; the contact keeps them whole, also when the card wins at the next run.
TEST_F(SyncSafety, LongValuesOfAContactAreCutForItsCardAndKeptInTheContact)
{
    const QByteArray family(10000, 'L');
    const QByteArray company(600, 'O');
    const QByteArray note(100000, 'n');
    addPerson("long.vcf",
              "N:" + family + ";Ann;;;\r\nORG:" + company + "\r\nTITLE:Buyer\r\nNOTE:" + note
                  + "\r\n"
                    "TEL;TYPE=WORK:"
                  + QByteArray(5000, '1') + "\r\n");
    const QByteArray before = readBookFile("long.vcf");
    for (int mode : {PLSyncConnectController::kSelectCardWins, PLSyncConnectController::kSelectCardWins,
                     PLSyncConnectController::kSelectAddressBookWins}) {
        ASSERT_EQ(synchronise(mode), 0);
        ASSERT_EQ(cards().size(), 1);
        const ManagedObjectPtr card = cards().first();
        EXPECT_EQ(card->stringValue("family_Name"), QString(512, QLatin1Char('L')));
        EXPECT_EQ(card->stringValue("company"), QString(512, QLatin1Char('O')));
        EXPECT_EQ(card->stringValue("memo"), QString(16384, QLatin1Char('n')));
        EXPECT_EQ(card->stringValue("telephone_Number"), QString(2048, QLatin1Char('1')));
        EXPECT_EQ(card->stringValue("job_Title"), "Buyer");
        EXPECT_EQ(readBookFile("long.vcf"), before);
        EXPECT_EQ(book()->people().size(), 1u);
    }
}

qint64 virtualMemoryBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("VmSize:\\s+(\\d+) kB")).match(QString::fromLatin1(status.readAll()));
    return m.hasMatch() ? m.captured(1).toLongLong() * 1024 : -1;
}

// A contact file that needs more memory than is left is reported, and the run goes on: the
// program is not ended by the failed allocation. The run is made in a process of its own whose
// address space leaves 40 MB for it.
TEST_F(SyncSafety, AContactTooLargeForTheMemoryLeftIsReportedAndTheRunGoesOn)
{
    addCard({{"family_Name", "Lee"}});
    QByteArray photo = "PHOTO;ENCODING=b;TYPE=JPEG:";
    for (int i = 0; i < 400000; ++i)
        photo += QByteArray(74, 'A') + "\r\n ";
    addPerson("big.vcf", "N:Big;;;;\r\n" + photo + "A\r\n");
    addPerson("small.vcf", "N:Small;;;;\r\n");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlim_t limit = rlim_t(virtualMemoryBytes() + 40 * 1024 * 1024);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_AS, &rl);
        // What escapes the run ends the process as it would end the application.
        try {
            PLSyncConnectController controller;
            controller.setMainController(&host);
            controller.setAddressBookFolder(bookFolder());
            controller.setSelectStatus(PLSyncConnectController::kSelectCardWins);
            const int result = controller.connectAddressBook();
            const bool reported = controller.unreadFiles().join(u'|').startsWith(QLatin1String("big.vcf: "));
            ::_exit(result == 0 && reported ? 0 : 1);
        } catch (...) {
            ::abort();
        }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
