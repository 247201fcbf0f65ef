// A copy that replaces a file: what was at the destination stays until the copy is complete, a
// link at the destination is replaced and never written through, and only regular files are read.
#include "platform/foundation/FileReplaceCopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class FileReplaceCopy : public ::testing::Test {
protected:
    QTemporaryDir temp;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = temp.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList entries(const QString& folder) const
    {
        return QDir(temp.filePath(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
};

} // namespace

TEST_F(FileReplaceCopy, ReplacesAndKeepsTheReplacedFilesPermissions)
{
    const QString source = write(QStringLiteral("new.txt"), QByteArray(3 << 20, 'n'));
    ASSERT_TRUE(QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QDir().mkpath(temp.filePath(QStringLiteral("to")));
    const QString destination = write(QStringLiteral("to/old.txt"), "old");
    ASSERT_TRUE(QFile::setPermissions(destination, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(copyFileReplacing(source, destination), FileReplaceCopyResult::Copied);
    EXPECT_EQ(read(destination), QByteArray(3 << 20, 'n'));
    EXPECT_EQ(QFile::permissions(destination), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(entries(QStringLiteral("to")), QStringList{QStringLiteral("old.txt")}) << "no temporary file is left";

    // A new name is simply made, an empty file included.
    const QString empty = write(QStringLiteral("empty"), QByteArray());
    EXPECT_EQ(copyFileReplacing(empty, temp.filePath(QStringLiteral("to/empty copy"))), FileReplaceCopyResult::Copied);
    EXPECT_EQ(QFileInfo(temp.filePath(QStringLiteral("to/empty copy"))).size(), 0);
}

TEST_F(FileReplaceCopy, ALinkAtTheDestinationIsReplacedNotFollowed)
{
    const QString outside = write(QStringLiteral("outside.txt"), "outside");
    QDir().mkpath(temp.filePath(QStringLiteral("to")));
    const QString destination = temp.filePath(QStringLiteral("to/linked.txt"));
    ASSERT_TRUE(QFile::link(outside, destination));
    EXPECT_EQ(copyFileReplacing(write(QStringLiteral("new.txt"), "new"), destination), FileReplaceCopyResult::Copied);
    EXPECT_FALSE(QFileInfo(destination).isSymLink());
    EXPECT_EQ(read(destination), "new");
    EXPECT_EQ(read(outside), "outside");
}

TEST_F(FileReplaceCopy, FailuresLeaveTheDestinationAsItWas)
{
    QDir().mkpath(temp.filePath(QStringLiteral("to")));
    const QString destination = write(QStringLiteral("to/kept.txt"), "kept");
    const QString fifo = temp.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QDir().mkpath(temp.filePath(QStringLiteral("a folder")));
    QDir().mkpath(temp.filePath(QStringLiteral("to/busy/inside")));

    struct Case {
        const char* when;
        QString source, destination;
        FileReplaceCopyResult result;
    };
    const Case cases[] = {
        {"a missing source", temp.filePath(QStringLiteral("gone")), destination, FileReplaceCopyResult::CopyFailed},
        {"a folder as the source", temp.filePath(QStringLiteral("a folder")), destination, FileReplaceCopyResult::CopyFailed},
        {"a pipe as the source is never read", fifo, destination, FileReplaceCopyResult::CopyFailed},
        {"no folder for the destination", destination, temp.filePath(QStringLiteral("none/x.txt")), FileReplaceCopyResult::CopyFailed},
        {"a folder in the destination's place", destination, temp.filePath(QStringLiteral("to/busy")), FileReplaceCopyResult::ReplaceFailed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(copyFileReplacing(c.source, c.destination), c.result) << c.when;
        EXPECT_EQ(read(destination), "kept") << c.when;
        EXPECT_EQ(entries(QStringLiteral("to")), (QStringList{QStringLiteral("busy"), QStringLiteral("kept.txt")})) << c.when;
    }
}

TEST_F(FileReplaceCopy, HolesStayHoles)
{
    QFile sparse(temp.filePath(QStringLiteral("sparse.img")));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    ASSERT_TRUE(sparse.seek(qint64(64) << 20));
    sparse.write("middle");
    ASSERT_TRUE(sparse.resize(qint64(256) << 20));
    sparse.close();
    const QString copy = temp.filePath(QStringLiteral("copy.img"));
    ASSERT_EQ(copyFileReplacing(sparse.fileName(), copy), FileReplaceCopyResult::Copied);
    QFile copied(copy);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.size(), qint64(256) << 20);
    ASSERT_TRUE(copied.seek(qint64(64) << 20));
    EXPECT_EQ(copied.read(6), "middle");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(copy).constData(), &st), 0);
    EXPECT_LT(qint64(st.st_blocks) * 512, qint64(8) << 20);
}
