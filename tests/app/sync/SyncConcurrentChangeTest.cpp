// Another program writes the book while a synchronisation runs, and persons far larger than usual.
#include "SyncFixture.h"

#include "platform/foundation/FileAttributes.h"

namespace {

using ConcurrentChange = SyncFixture;

// Rewrites a file of the book the moment the save looks at the folder, as a program that syncs
// the folder in the background would between the run's reading and its writing.
struct WriterBeforeSave : FileAttributeReader {
    QString path;
    QByteArray data;
    bool read(const QString& folder, FileAttributes* out) const override
    {
        QFile f(path);
        if (!data.isEmpty() && f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(data);
        return FileAttributeReader::read(folder, out);
    }
};

TEST_F(ConcurrentChange, FileWrittenByAnotherProgramDuringTheRunIsKeptAndTheSaveFails)
{
    const ManagedObjectPtr card = addCard({{"family_Name", "Lee"}, {"job_Title", "Engineer"}});
    addCard({{"family_Name", "Other"}, {"memo", "pushed"}});
    addPerson("lee.vcf", "N:Lee;;;;\r\nTITLE:Manager\r\n");

    WriterBeforeSave writer;
    writer.path = bookFile("lee.vcf");
    writer.data = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;;;;\r\nTITLE:Director\r\nNOTE:written elsewhere\r\nEND:VCARD\r\n";
    FileAttributeReader::setCurrent(&writer);
    const int result = synchronise(PLSyncConnectController::kSelectCardWins);
    FileAttributeReader::setCurrent(nullptr);

    EXPECT_EQ(result, PLSyncConnectController::kSaveFailed);
    EXPECT_EQ(readBookFile("lee.vcf"), writer.data);
    EXPECT_EQ(card->stringValue("job_Title"), "Engineer");
    EXPECT_TRUE(personNamed(*book(), "Other")); // the other persons were still written

    // The next run sees the other program's version and merges into it.
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins), 0);
    const QByteArray merged = readBookFile("lee.vcf");
    EXPECT_TRUE(merged.contains("TITLE:Engineer\r\nNOTE:written elsewhere\r\n")) << merged.toStdString();
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
