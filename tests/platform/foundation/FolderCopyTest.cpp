#include "platform/foundation/FolderCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct stat lstatOf(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

void setOldTimes(const QString& path)
{
    const struct timespec times[2] = {{1000000000, 5}, {1000000000, 7}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// A database folder with a nested folder, a hidden file, a read-only file, a relative link
// inside it, a link leading outside and a dangling link.
class FolderCopy : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString source, outside;

    void SetUp() override
    {
        source = temp.filePath("Cards.cxdb");
        outside = temp.filePath("outside");
        writeFile(outside + "/secret.txt", "secret");
        writeFile(source + "/Pelmora1.sqldb", QByteArray(200000, 's'));
        writeFile(source + "/.PLLock.pllk", "");
        writeFile(source + "/Images/A_N1.pdf", "pdf");
        writeFile(source + "/Files/A/note.txt", "note");
        ASSERT_TRUE(QFile::setPermissions(source + "/Files/A/note.txt", QFile::ReadOwner));
        ASSERT_EQ(::symlink("../Pelmora1.sqldb", QFile::encodeName(source + "/Images/store-link").constData()), 0);
        ASSERT_EQ(::symlink(QFile::encodeName(outside).constData(), QFile::encodeName(source + "/Files/out").constData()), 0);
        ASSERT_EQ(::symlink("nowhere", QFile::encodeName(source + "/dangling").constData()), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(source + "/Files/A").constData(), 0550), 0);
        for (const char* item : {"/Pelmora1.sqldb", "/Images/A_N1.pdf", "/Images/store-link", "/Files/A", "/Images", ""})
            setOldTimes(source + item);
    }
};

TEST_F(FolderCopy, CopiesContentModesAndLinksAsLinksWithTimesOnRequest)
{
    for (const bool keepTimes : {true, false}) {
        const QString copy = temp.filePath(keepTimes ? "kept.cxdb" : "fresh.cxdb");
        ASSERT_EQ(copyFolderTree(source, copy, keepTimes ? FolderCopyOptions(FolderCopyOption::KeepTimes) : FolderCopyOptions()), FolderCopyResult::Copied);

        QFile store(copy + "/Pelmora1.sqldb");
        ASSERT_TRUE(store.open(QIODevice::ReadOnly));
        EXPECT_EQ(store.readAll(), QByteArray(200000, 's'));
        EXPECT_TRUE(QFileInfo::exists(copy + "/.PLLock.pllk"));
        EXPECT_EQ(lstatOf(copy + "/Files/A/note.txt").st_mode & 07777, 0400u);
        EXPECT_EQ(lstatOf(copy + "/Files/A").st_mode & 07777, 0550u);

        // Links keep their own text: nothing is followed, nothing outside is copied.
        EXPECT_EQ(QFile::encodeName(QFile::symLinkTarget(copy + "/Images/store-link")),
                  QFile::encodeName(QFileInfo(copy + "/Pelmora1.sqldb").absoluteFilePath()));
        char text[64] = {};
        ASSERT_GT(::readlink(QFile::encodeName(copy + "/Images/store-link").constData(), text, sizeof text - 1), 0);
        EXPECT_STREQ(text, "../Pelmora1.sqldb");
        EXPECT_TRUE(S_ISLNK(lstatOf(copy + "/Files/out").st_mode));
        EXPECT_TRUE(S_ISLNK(lstatOf(copy + "/dangling").st_mode));

        for (const char* item : {"/Pelmora1.sqldb", "/Images/A_N1.pdf", "/Images/store-link", "/Files/A", "/Images", ""}) {
            const bool same = lstatOf(copy + item).st_mtim.tv_sec == lstatOf(source + item).st_mtim.tv_sec;
            EXPECT_EQ(same, keepTimes) << item << " keepTimes " << keepTimes;
        }
    }
}

TEST_F(FolderCopy, WhatIsThereAlreadyIsNeverTouched)
{
    const QString file = temp.filePath("file.cxdb");
    writeFile(file, "mine");
    const QString folder = temp.filePath("folder.cxdb");
    writeFile(folder + "/mine.txt", "mine");
    for (const QString& destination : {file, folder, outside}) {
        EXPECT_EQ(copyFolderTree(source, destination, FolderCopyOption::RemovePartial), FolderCopyResult::Failed);
    }
    QFile kept(file);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "mine");
    EXPECT_EQ(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"mine.txt"});
    EXPECT_TRUE(QFileInfo::exists(outside + "/secret.txt"));

    // A source that is missing or a plain file makes nothing.
    EXPECT_EQ(copyFolderTree(temp.filePath("none"), temp.filePath("a.cxdb")), FolderCopyResult::Failed);
    EXPECT_EQ(copyFolderTree(file, temp.filePath("b.cxdb")), FolderCopyResult::Failed);
    EXPECT_FALSE(QFileInfo::exists(temp.filePath("a.cxdb")));
    EXPECT_FALSE(QFileInfo::exists(temp.filePath("b.cxdb")));
}

TEST_F(FolderCopy, AStoppedOrFailedCopyIsRemovedOnlyWhenAsked)
{
    // A FIFO is never opened for reading: the copy fails on it.
    ASSERT_EQ(::mkfifo(QFile::encodeName(source + "/Images/pipe").constData(), 0600), 0);
    int calls = 0;
    const auto stopAtThird = [&calls] { return ++calls < 3; };
    const struct {
        const char* name;
        bool stop;
        bool removePartial;
        FolderCopyResult result;
    } cases[] = {
        {"failed-kept.cxdb", false, false, FolderCopyResult::Failed},
        {"failed-removed.cxdb", false, true, FolderCopyResult::Failed},
        {"stopped-kept.cxdb", true, false, FolderCopyResult::Stopped},
        {"stopped-removed.cxdb", true, true, FolderCopyResult::Stopped},
    };
    for (const auto& c : cases) {
        calls = 0;
        const QString copy = temp.filePath(c.name);
        const FolderCopyOptions options = c.removePartial ? FolderCopyOptions(FolderCopyOption::RemovePartial) : FolderCopyOptions();
        EXPECT_EQ(copyFolderTree(source, copy, options, c.stop ? std::function<bool()>(stopAtThird) : nullptr), c.result) << c.name;
        EXPECT_EQ(QFileInfo::exists(copy), !c.removePartial) << c.name;
        if (c.stop) {
            EXPECT_EQ(calls, 3) << c.name;
        }
    }
    // Stopped before its third item, the copy holds the first two entries in name order.
    EXPECT_EQ(QDir(temp.filePath("stopped-kept.cxdb")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System),
              (QStringList{".PLLock.pllk", "Files"}));
    EXPECT_TRUE(QFileInfo::exists(outside + "/secret.txt"));
}

} // namespace
