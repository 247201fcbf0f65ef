#include "platform/foundation/TreeRemoval.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
}

class TreeRemoval : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString outside;

    void SetUp() override
    {
        outside = temp.filePath(QStringLiteral("outside"));
        writeFile(outside + QStringLiteral("/sub/keep.txt"));
    }
    void expectOutsideKept() const
    {
        EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/sub/keep.txt")));
    }
};

TEST_F(TreeRemoval, LinksAreRemovedAsLinksWhereverTheyAre)
{
    const QString link = temp.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(outside, link));
    EXPECT_TRUE(removeTree(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    expectOutsideKept();

    const QString tree = temp.filePath(QStringLiteral("tree"));
    writeFile(tree + QStringLiteral("/a/b/file"));
    ASSERT_TRUE(QFile::link(outside, tree + QStringLiteral("/a/toFolder")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/sub/keep.txt"), tree + QStringLiteral("/a/b/toFile")));
    ASSERT_TRUE(QFile::link(temp.filePath(QStringLiteral("nowhere")), tree + QStringLiteral("/dangling")));
    EXPECT_TRUE(removeTree(tree));
    EXPECT_FALSE(QFileInfo::exists(tree));
    expectOutsideKept();
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/sub")));
}

TEST_F(TreeRemoval, ReadOnlyFoldersAndMissingPaths)
{
    const QString tree = temp.filePath(QStringLiteral("copy"));
    writeFile(tree + QStringLiteral("/ro/inner/file"));
    QFile::setPermissions(tree + QStringLiteral("/ro/inner"), QFile::ReadOwner | QFile::ExeOwner);
    QFile::setPermissions(tree + QStringLiteral("/ro"), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(removeTree(tree));
    EXPECT_FALSE(QFileInfo::exists(tree));
    EXPECT_TRUE(removeTree(temp.filePath(QStringLiteral("never-was"))));
    EXPECT_FALSE(removeTree(QString()));
}

TEST_F(TreeRemoval, NamesFromDataStayInTheirFolder)
{
    const QString folder = temp.filePath(QStringLiteral("db"));
    writeFile(folder + QStringLiteral("/Images/a.pdf"));
    for (const char* name : {"", ".", "..", "../outside", "Images/..", "sub/../.."})
        EXPECT_FALSE(removeTreeIn(folder, QString::fromUtf8(name))) << name;
    expectOutsideKept();
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/Images/a.pdf")));
    EXPECT_TRUE(removeTreeIn(folder, QStringLiteral("Images")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/Images")));
}

} // namespace
