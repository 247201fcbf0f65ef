#include "app/images/ArrivingCardPreparation.h"

#include "app/images/CardImageFiles.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Outcome = ArrivingCardPreparation::Card::Outcome;

class ArrivingCards : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString database = temp.filePath(QStringLiteral("Cards.cxdb"));

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(database)); }

    // Cards of one and two pages, with files that are no card between them.
    QStringList arriving(int count)
    {
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            paths << temp.filePath(QStringLiteral("arriving%1.pdf").arg(i));
            if (i % 5 == 3) {
                QFile file(paths.last());
                EXPECT_TRUE(file.open(QIODevice::WriteOnly));
                file.write("%PDF-1.4\nnot a card");
            } else {
                EXPECT_TRUE(testpdf::writePdf(paths.last(), testpdf::scannerDocument(i % 5 == 4 ? 2 : 1)));
            }
        }
        return paths;
    }
    QStringList images() const { return QDir(cardImagesFolder(database)).entryList(QDir::Files); }
};

} // namespace

// Cards come in the files' order, however the threads finish them, each written under its own
// identifier into an Images folder made on the way.
TEST_F(ArrivingCards, EachFileIsTakenInItsOrderWithItsOwnCardFiles)
{
    const QStringList paths = arriving(30);
    QStringList expected;
    {
        ArrivingCardPreparation preparation(paths, database, 1);
        QSet<QString> identifiers;
        for (qsizetype i = 0; i < paths.size(); ++i) {
            const ArrivingCardPreparation::Card card = preparation.take(i);
            if (i % 5 == 3) {
                EXPECT_EQ(card.outcome, Outcome::NotACard) << i;
                continue;
            }
            ASSERT_EQ(card.outcome, Outcome::Imported) << i;
            EXPECT_EQ(card.pages, i % 5 == 4 ? 2 : 1);
            EXPECT_EQ(card.creator, QStringLiteral("Brevix Scan"));
            EXPECT_FALSE(identifiers.contains(card.cardID));
            identifiers.insert(card.cardID);
            expected << card.cardID + QLatin1String(kFrontSuffix);
            if (card.pages == 2)
                expected << card.cardID + QLatin1String(kBackSuffix);
        }
    }
    QStringList written = images();
    written.sort();
    expected.sort();
    EXPECT_EQ(written, expected) << "the files of every card taken stay";
    for (const QString& path : paths)
        EXPECT_TRUE(QFile::exists(path)) << "arriving files are read, not moved";
}

// An import that ends before it took every card leaves no files that no card names.
TEST_F(ArrivingCards, FilesOfCardsNotTakenAreRemoved)
{
    const QStringList paths = arriving(12);
    QString kept;
    {
        ArrivingCardPreparation preparation(paths, database, 1);
        kept = preparation.take(0).cardID + QLatin1String(kFrontSuffix);
    }
    EXPECT_EQ(images(), QStringList{kept});
}
