// The names of the vCard files of one export: "<name>.vcf", "<name>1.vcf", ... in card order,
// around whatever the folder already holds.
#include "app/export/VCardFileNames.h"

#include "app/export/CardDataContainerConverter.h"
#include "app/export/PLExporter.h"
#include "tests/app/export/ExportFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

using VCardNames = ExportTest;

TEST_F(VCardNames, RepeatedAndSameNamesTakeTheNumbersInTurn)
{
    struct Case {
        const char* name;
        QStringList files; // in the folder before the export; "dir:" a folder, "link:" a link to nowhere
        QStringList cards;
        QStringList expected;
    };
    const Case cases[] = {
        {"three of one name", {}, {"Anna", "Anna", "Anna"}, {"Anna.vcf", "Anna1.vcf", "Anna2.vcf"}},
        {"gaps left by earlier files", {"Anna.vcf", "Anna2.vcf"}, {"Anna", "Anna", "Anna"}, {"Anna1.vcf", "Anna3.vcf", "Anna4.vcf"}},
        {"a name that ends in a number", {}, {"Anna1", "Anna", "Anna", "Anna1"}, {"Anna1.vcf", "Anna.vcf", "Anna2.vcf", "Anna11.vcf"}},
        {"folders and dead links hold their names", {"dir:Bo.vcf", "link:Bo1.vcf"}, {"Bo", "Bo"}, {"Bo2.vcf", "Bo3.vcf"}},
        {"names made safe first", {}, {".x/y:z", "_x_y_z"}, {"_x_y_z.vcf", "_x_y_z1.vcf"}},
        {"letter case makes another name", {"anna.vcf"}, {"Anna", "anna"}, {"Anna.vcf", "anna1.vcf"}},
        {"other files do not count", {"Anna.txt", "Anna1"}, {"Anna", "Anna"}, {"Anna.vcf", "Anna1.vcf"}},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = path(QStringLiteral("case%1").arg(index++));
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const QString& file : c.files) {
            if (file.startsWith(QLatin1String("dir:")))
                ASSERT_TRUE(QDir(folder).mkdir(file.mid(4)));
            else if (file.startsWith(QLatin1String("link:")))
                ASSERT_TRUE(QFile::link(folder + QStringLiteral("/nowhere"), folder + '/' + file.mid(5)));
            else
                ASSERT_TRUE(QFile(folder + '/' + file).open(QIODevice::WriteOnly));
        }
        VCardFileNames names(folder);
        QStringList taken;
        for (const QString& card : c.cards)
            taken.append(QFileInfo(names.take(card)).fileName());
        EXPECT_EQ(taken.join('|').toStdString(), c.expected.join('|').toStdString());
        EXPECT_EQ(PLExporter::getvCardFileName(folder, c.cards.first()).toStdString(),
                  QDir(folder).filePath(c.expected.first()).toStdString());
    }
}

TEST_F(VCardNames, AnExportWritesEachCardUnderItsNumberInOrder)
{
    setExportItems(0x1 | 0x4);
    const QString folder = path(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile(folder + QStringLiteral("/Anna1.vcf")).open(QIODevice::WriteOnly));
    QList<CardDict> table;
    for (int i = 0; i < 300; ++i)
        table.append({{"full_Name", "Anna"}, {"company", QStringLiteral("Company %1").arg(i)}});
    ASSERT_EQ(PLExporter::ExportToVCard(folder, table), 0);

    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 301);
    EXPECT_TRUE(readAll(folder + QStringLiteral("/Anna.vcf")).contains("ORG:Company 0;"));
    EXPECT_TRUE(readAll(folder + QStringLiteral("/Anna1.vcf")).isEmpty());
    EXPECT_TRUE(readAll(folder + QStringLiteral("/Anna2.vcf")).contains("ORG:Company 1;"));
    EXPECT_TRUE(readAll(folder + QStringLiteral("/Anna300.vcf")).contains("ORG:Company 299;"));
}

TEST_F(VCardNames, TheVolumeSpaceCountsEveryFileOfTheRun)
{
    setExportItems(0x1);
    const QString folder = path(QStringLiteral("small"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QList<CardDict> table{cards::nameOnly(QStringLiteral("Anna")), cards::nameOnly(QStringLiteral("Anna")),
                                cards::nameOnly(QStringLiteral("Anna"))};
    const qsizetype one = toVCardRepresentation(table[0], 0x1, nullptr).size();
    // Room for exactly three files: a file needs more free bytes than its own, so the third is
    // refused and the two before it stay.
    workspace.volume = VolumeInfo{QStringLiteral("ext4"), QStringLiteral("/"), QString(), quint64(3 * one)};
    EXPECT_EQ(PLExporter::ExportToVCard(folder, table), 11);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), (QStringList{"Anna.vcf", "Anna1.vcf"}));
}

} // namespace
