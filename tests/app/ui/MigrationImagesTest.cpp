#include "app/core/OpenDatabase.h"
#include "app/images/CardImageFiles.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/RawSqlite.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/cardstores/CardStoreFixtures.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

namespace F = CardStoreFixtures;

// A version-1 database whose first card has a two-page scanned front: the migration splits it
// with the card image functions into a front and a back file and removes the old front.
TEST(MigrationImages, TwoPageFrontsAreSplitWithTheCardImageFunctions)
{
    QTemporaryDir temp;
    TestBundle bundle({}, {{QStringLiteral("PL_MSG_ConfirmMigrateDatabase"), PlistValue(QStringLiteral("Migrate?"))}});
    PreferenceDomain::setStandardDomain(QStringLiteral("test.migration.images"), temp.filePath(QStringLiteral("prefs")));
    ScriptedMessagePresenter presenter;
    const QString folder = temp.filePath(QStringLiteral("Old.cxdb"));
    QDir().mkpath(folder + QStringLiteral("/Images"));
    QList<F::Card> cards = F::numberedCards(2, QString());
    ASSERT_TRUE(testpdf::writePdf(folder + QStringLiteral("/Images/ID1_N1.pdf"), testpdf::scannerDocument(2)));
    ASSERT_TRUE(testpdf::writePdf(folder + QStringLiteral("/Images/ID2_N1.pdf"), testpdf::scannerDocument(1)));
    ASSERT_TRUE(F::writeOldStore(folder + QStringLiteral("/Pelmora.sqldb"), cards));

    OpenDatabase openDatabase;
    PLMainWindowController window(openDatabase);
    QString work;
    ASSERT_TRUE(window.migrateDatabaseIfNeeded(false, folder, &work));
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("Migrate?")});

    SqliteConnection connection;
    ASSERT_EQ(connection.open(folder + QStringLiteral("/Pelmora1.sqldb"), false), 0);
    int code = 0;
    const auto rows = rawQuery(connection,
                               QStringLiteral("select ZFACE_IMAGE_FILE, ZBACK_IMAGE_FILE, ZFACE_IMAGE_PAGE, ZBACK_IMAGE_PAGE, "
                                              "ZOTHER_IMAGE_PAGE from ZCARD order by Z_PK"),
                               &code);
    ASSERT_TRUE(rows.has_value()) << code;
    ASSERT_EQ(rows->size(), 2);
    const RawRow& split = rows->at(0);
    const QString face = split.value(QStringLiteral("ZFACE_IMAGE_FILE"));
    const QString back = split.value(QStringLiteral("ZBACK_IMAGE_FILE"));
    EXPECT_TRUE(face.endsWith(QStringLiteral("_N1.pdf")));
    EXPECT_NE(face, QStringLiteral("ID1_N1.pdf"));
    EXPECT_EQ(GetPDFPageCount(folder + QStringLiteral("/Images/") + face), 1);
    EXPECT_EQ(GetPDFPageCount(folder + QStringLiteral("/Images/") + back), 1);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/Images/ID1_N1.pdf")));
    EXPECT_EQ(split.value(QStringLiteral("ZBACK_IMAGE_PAGE")), QStringLiteral("1"));

    const RawRow& single = rows->at(1);
    EXPECT_EQ(single.value(QStringLiteral("ZFACE_IMAGE_FILE")), QStringLiteral("ID2_N1.pdf"));
    EXPECT_EQ(single.value(QStringLiteral("ZFACE_IMAGE_PAGE")), QStringLiteral("1"));
    EXPECT_EQ(single.value(QStringLiteral("ZOTHER_IMAGE_PAGE")), QStringLiteral("1"));
    EXPECT_EQ(single.value(QStringLiteral("ZBACK_IMAGE_PAGE")), QStringLiteral("0"));
}

} // namespace
