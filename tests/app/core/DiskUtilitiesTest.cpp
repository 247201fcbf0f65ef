#include "app/core/DiskUtilities.h"
#include "platform/foundation/Log.h"
#include "tests/support/workspace/FakeWorkspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeBytes(const QString& path, qint64 size)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(size, 'x'));
}

} // namespace

TEST(CheckDiskSize, ComparesFreeSpaceOnFull64Bits)
{
    QTemporaryDir dir;
    FakeWorkspace workspace;
    workspace.volume = VolumeInfo{"ext4", "/", "/dev/sda1", 0};
    EXPECT_EQ(checkDiskSize(dir.path(), 0), 1) << "a full volume has no room even for nothing";

    const uint64_t big = (uint64_t(1) << 32) + 10;   // beyond 32 bits
    workspace.volume->freeBytes = big;
    EXPECT_EQ(checkDiskSize(dir.path(), big), 0);
    EXPECT_EQ(checkDiskSize(dir.path(), big + 1), 1);
    EXPECT_EQ(checkDiskSize(dir.path(), 11), 0);
    EXPECT_EQ(checkDiskSize(dir.path(), UINT64_MAX), 1);

    EXPECT_EQ(checkDiskSize(dir.filePath("missing"), 0), 1);
    EXPECT_EQ(checkDiskSize(QString(), 0), 1);
    workspace.volumeUnreadable = true;
    EXPECT_EQ(checkDiskSize(dir.path(), 0), 1);
}

TEST(CheckDiskSize, RealVolumeOfATemporaryFolder)
{
    QTemporaryDir dir;
    EXPECT_EQ(checkDiskSize(dir.path(), 1), 0);
    EXPECT_EQ(checkDiskSize(dir.path(), UINT64_MAX), 1);
    EXPECT_EQ(g_lDiskSize, 524288u);
}

TEST(GetSizeWithPath, MeasuresFilesAndFoldersWithDu)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("-tree/sub");
    writeBytes(dir.filePath("-tree/a"), 100000);
    writeBytes(dir.filePath("-tree/sub/b"), 300000);

    int32_t status = 99;
    const uint64_t folder = getSizeWithPath(dir.filePath("-tree"), &status);
    EXPECT_EQ(status, 0);
    EXPECT_GE(folder, 400000u);
    EXPECT_EQ(folder % 1024, 0u);

    // A relative path that begins with "-" is a path, not an option.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    status = 99;
    const uint64_t relative = getSizeWithPath(QStringLiteral("-tree"), &status);
    QDir::setCurrent(cwd);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(relative, folder);
}

TEST(GetSizeWithPath, FailuresGiveZero)
{
    QTemporaryDir dir;
    int32_t status = 99;
    EXPECT_EQ(getSizeWithPath(dir.filePath("missing"), &status), 0u);
    EXPECT_EQ(status, -1);

    status = 99;
    EXPECT_EQ(getSizeWithPath(QString(), &status), 0u);
    EXPECT_EQ(status, 99) << "no status slot is written for a null path";
    EXPECT_EQ(getSizeWithPath(dir.path(), nullptr), 0u);
}
