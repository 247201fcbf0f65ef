#include "app/images/CardFileBatch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString writeFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("card file");
    return path;
}

} // namespace

// The files of a batch are flushed side by side: a file that cannot be flushed (it went before
// its turn) fails its own card alone, a card's back as much as its front, and a folder that
// cannot be flushed fails every card in it.
TEST(CardFileBatch, AFileThatCannotBeFlushedFailsItsCardAlone)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("gone"));
    CardFileBatch batch;
    QStringList removed;
    for (int k = 0; k < 40; ++k) {
        const QString card = QStringLiteral("card%1").arg(k);
        batch.add(card, writeFile(dir.filePath(card + QStringLiteral("_N1.pdf"))));
        if (k == 7) {
            removed << dir.filePath(card + QStringLiteral("_N2.pdf"));
            batch.add(card, writeFile(removed.last()));
        }
        if (k == 13)
            removed << dir.filePath(card + QStringLiteral("_N1.pdf"));
    }
    batch.add(QStringLiteral("card40"), writeFile(dir.filePath(QStringLiteral("gone/card40_N1.pdf"))));
    for (const QString& path : std::as_const(removed))
        ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("gone/card40_N1.pdf"))));
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("gone")));

    EXPECT_EQ(batch.makeDurable(), (QStringList{"card7", "card13", "card40"}));
    EXPECT_TRUE(batch.makeDurable().isEmpty()) << "the batch is empty once made durable";
}
