// Another program writes the book while a synchronisation runs, and persons far larger than usual.
#include "SyncFixture.h"
#include "platform/foundation/FileAttributes.h"
#include "tests/app/core/TestBundle.h"

namespace {

using ConcurrentChange = SyncFixture;

// Rewrites a file of the book the moment the save looks at the folder, as khard does (a new
// file under a temporary name, renamed over the old one): between the pull's reading and the
// push's writing.
struct WriterBeforeSave : FileAttributeReader {
    QString path;
    QByteArray data;
    bool read(const QString& folder, FileAttributes* out) const override
    {
        QFile f(path + QStringLiteral(".khard.tmp"));
        if (!data.isEmpty() && f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            f.write(data);
            f.close();
            ::rename(QFile::encodeName(f.fileName()).constData(), QFile::encodeName(path).constData());
        }
        return FileAttributeReader::read(folder, out);
    }
};

TEST_F(ConcurrentChange, FileWrittenByAnotherProgramDuringTheRunIsKeptReportedAndMergedOnce)
{
    TestBundle bundle({}, {{"IDS_MSG_ADDRESSBOOK_CHANGED_ELSEWHERE", "%d changed elsewhere:"}});
    const ManagedObjectPtr card = addCard({{"family_Name", "Lee"}, {"job_Title", "Engineer"}, {"telephone_Number", "03-1111"}});
    addCard({{"family_Name", "Other"}, {"memo", "pushed"}});
    addPerson("lee.vcf", "N:Lee;;;;\r\nTITLE:Manager\r\nTEL;TYPE=WORK,FAX:03-9999\r\n");

    WriterBeforeSave writer;
    writer.path = bookFile("lee.vcf");
    writer.data = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;;;;\r\nTITLE:Director\r\nTEL;TYPE=WORK,FAX:03-9999\r\n"
                  "NOTE:written elsewhere\r\nEND:VCARD\r\n";
    FileAttributeReader::setCurrent(&writer);
    PLSyncConnectController controller;
    const int result = synchronise(PLSyncConnectController::kSelectCardWins, &controller);
    FileAttributeReader::setCurrent(nullptr);

    EXPECT_EQ(result, PLSyncConnectController::kSaveFailed);
    EXPECT_EQ(readBookFile("lee.vcf"), writer.data);
    EXPECT_EQ(controller.filesChangedElsewhere(), QStringList{"lee.vcf"});
    EXPECT_EQ(controller.runReport(), "1 changed elsewhere:\nlee.vcf");
    EXPECT_EQ(card->stringValue("job_Title"), "Engineer");
    EXPECT_EQ(card->stringValue("fax_Number"), "03-9999");
    EXPECT_TRUE(personNamed(*book(), "Other")); // the other persons were still written
    EXPECT_FALSE(QDir(bookFolder()).entryList(QDir::Files).join(u'|').contains(QLatin1String(".tmp")));

    // The next run sees the other program's version and merges into it, once.
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins), 0);
    const QByteArray merged = readBookFile("lee.vcf");
    EXPECT_EQ(merged,
              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;;;;\r\nTITLE:Engineer\r\nTEL;TYPE=WORK,VOICE:03-1111\r\n"
              "TEL;TYPE=WORK,FAX:03-9999\r\nNOTE:written elsewhere\r\nEND:VCARD\r\n");
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins), 0);
    EXPECT_EQ(readBookFile("lee.vcf"), merged);
    EXPECT_EQ(cards().size(), 2);
    EXPECT_EQ(book()->people().size(), 2u);
}

TEST_F(ConcurrentChange, TenMegabytePhotoIsKeptWhenItsPersonIsMerged)
{
    addCard({{"family_Name", "Big"}, {"job_Title", "Engineer"}});
    QByteArray photo = "PHOTO;ENCODING=b;TYPE=JPEG:";
    for (int i = 0; i < 140000; ++i)
        photo += QByteArray(74, 'A') + "\r\n ";
    photo += "A\r\n";
    addPerson("big.vcf", "N:Big;;;;\r\n" + photo);
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins), 0);
    const QByteArray after = readBookFile("big.vcf");
    EXPECT_EQ(after, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Big;;;;\r\n" + photo + "TITLE:Engineer\r\nEND:VCARD\r\n");
}

} // namespace
