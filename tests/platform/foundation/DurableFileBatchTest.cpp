// New files made durable a batch at a time: each appears whole under its name, in the order added;
// a flush that fails in the middle of a batch names the files before it and no other, and leaves
// nothing behind.
#include "platform/foundation/DurableFileBatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class DurableFileBatchTest : public ::testing::Test {
protected:
    QTemporaryDir temp;

    ~DurableFileBatchTest() override { DurableFileBatch::setSync({}); }

    QString path(const QString& name) const { return temp.filePath(name); }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList entries() const
    {
        return QDir(temp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
    static QString fileName(int i) { return QStringLiteral("card %1.vcf").arg(i, 2, 10, QLatin1Char('0')); }
    static QByteArray bytesOf(int i) { return "BEGIN:VCARD\nFN:" + QByteArray::number(i) + "\nEND:VCARD\n"; }
};

} // namespace

TEST_F(DurableFileBatchTest, FilesAppearWholeUnderTheirNamesAndReplaceWhatHeldThem)
{
    {
        QFile old(path(fileName(4)));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the file before");
    }
    ASSERT_TRUE(QFile::link(path(QStringLiteral("elsewhere")), path(fileName(6))));
    DurableFileBatch batch(temp.path(), nullptr, 3);
    QStringList expected;
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(batch.add(path(fileName(i)), bytesOf(i)));
        expected << fileName(i);
    }
    EXPECT_TRUE(batch.finish());
    EXPECT_EQ(entries(), expected) << "no temporary is left, the link's target is not made";
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(read(path(fileName(i))), bytesOf(i)) << i;
    EXPECT_FALSE(QFileInfo(path(fileName(6))).isSymLink());
}

// Batches of four; the flush that fails is the n-th of the files (or of the folder, after its batch).
TEST_F(DurableFileBatchTest, AFailedFlushNamesTheFilesBeforeItAndNoOther)
{
    struct Case {
        const char* name;
        int failingFile; // -1: none
        int failingFolder; // -1: none
        int named;
    } const cases[] = {
        {"the first file of the first batch", 0, -1, 0},
        {"in the middle of the second batch", 6, -1, 6},
        {"the last file of the second batch", 7, -1, 7},
        {"the folder after the second batch", -1, 1, 8},
    };
    for (const Case& c : cases) {
        for (const QString& name : entries())
            QFile::remove(path(name));
        int files = 0;
        int folders = 0;
        DurableFileBatch::setSync([&](int fd) {
            struct stat st {};
            ::fstat(fd, &st);
            if (S_ISDIR(st.st_mode))
                return folders++ != c.failingFolder;
            return files++ != c.failingFile;
        });
        DurableFileBatch batch(temp.path(), nullptr, 4);
        for (int i = 0; i < 11; ++i) {
            if (!batch.add(path(fileName(i)), bytesOf(i)))
                break;
        }
        EXPECT_FALSE(batch.finish()) << c.name;
        EXPECT_FALSE(batch.add(path(fileName(20)), bytesOf(20))) << c.name;
        QStringList expected;
        for (int i = 0; i < c.named; ++i)
            expected << fileName(i);
        EXPECT_EQ(entries(), expected) << c.name;
        for (int i = 0; i < c.named; ++i)
            EXPECT_EQ(read(path(fileName(i))), bytesOf(i)) << c.name << ": " << i;
    }
}
