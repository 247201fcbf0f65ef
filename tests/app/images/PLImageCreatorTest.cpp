#include "app/images/CardPdfCheck.h"
#include "app/images/PLImageCreator.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/NotificationCenter.h"

#include <QDir>
#include <QFile>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString pageText(const QString& path)
{
    QPdfDocument document;
    if (document.load(path) != QPdfDocument::Error::None)
        return QString();
    return document.getAllText(0).text();
}

class Placeholder : public ::testing::Test {
protected:
    void SetUp() override
    {
        Bundle::setMain(qEnvironmentVariable("PELMORA_SOURCE_DIR") + "/resources/Pelmora");
        m_db = m_dir.filePath("Cards.cxdb");
        QDir().mkpath(m_db);
        QFile store(m_db + "/Pelmora1.sqldb");
        store.open(QIODevice::WriteOnly);
        NotificationCenter::defaultCenter().addObserver(this, kDummyImageCreatedNotification,
                                                        [this](const Notification& n) {
                                                            m_posted.push_back(n.userInfo);
                                                            EXPECT_EQ(n.object, PLImageCreator::notificationObject());
                                                        });
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserver(this);
        PLImageCreator::setPreferredLanguage([] { return QStringLiteral("en"); });
    }
    QString write(const CardDict& card, int expected = 0)
    {
        EXPECT_EQ(PLImageCreator::writeCardImage(m_db, card), expected);
        return m_db + "/Images/" + card.value("cardID").toString() + "_N1.pdf";
    }

    QTemporaryDir m_dir;
    QString m_db;
    std::vector<QVariantMap> m_posted;
};

} // namespace

TEST_F(Placeholder, WritesTheCardsTextsAsOwnPdf)
{
    PLImageCreator::setPreferredLanguage([] { return QStringLiteral("en-US"); });
    const CardDict card{{"cardID", "p1"},
                        {"full_Name", "Ada Lovelace"},
                        {"company", "Analytical\nEngines"},
                        {"telephone_Number", "03-1234-5678"},
                        {"fax_Number", ""},
                        {"e_Mail", "ada@example.org"},
                        {"zip_PostalCode", "100-0001"},
                        {"address", "1 Chiyoda\nTokyo"},
                        {"job_Title", "Countess"}};
    // The card carries the day it was made: the test may run over midnight.
    const QString madeOn = QDate::currentDate().toString("yyyy/MM/dd");
    const QString path = write(card);
    EXPECT_EQ(CheckPDF(path), kPdfOwnOrImageless);
    const QString text = pageText(path);
    for (const char* expected : {"Ada Lovelace", "Analytical Engines", "TEL.03-1234-5678", "E-mail:ada@example.org",
                                 "100-0001", "1 Chiyoda Tokyo", "Countess"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("FAX.")) << text.toStdString();
    EXPECT_FALSE(text.contains(QChar(0x3012)));
    EXPECT_TRUE(text.contains(madeOn) || text.contains(QDate::currentDate().toString("yyyy/MM/dd"))) << text.toStdString();
    ASSERT_EQ(m_posted.size(), 1u);
    EXPECT_EQ(m_posted[0].value("full_Name"), "Ada Lovelace");
}

TEST_F(Placeholder, PostalMarkAndCuts)
{
    PLImageCreator::setPreferredLanguage([] { return QStringLiteral("ja-JP"); });
    const QString longZip = QString("1234567890").repeated(5);
    QString address;
    for (int i = 0; i < 60; ++i)
        address += QStringLiteral("Word%1 ").arg(i);
    const QString path = write({{"cardID", "p2"}, {"zip_PostalCode", longZip}, {"address", address}});
    const QString text = pageText(path);
    EXPECT_TRUE(text.contains(QChar(0x3012) + longZip.left(40))) << text.toStdString();
    EXPECT_FALSE(text.contains(longZip.left(41)));
    EXPECT_TRUE(text.contains("Word1 "));
    EXPECT_FALSE(text.contains("Word59")); // two lines of 225 points hold far less
}

TEST_F(Placeholder, NamesAndFailures)
{
    const CardDict named{{"cardID", "p3"}, {"face_Image_File", "front.pdf"}, {"full_Name", "N"}};
    EXPECT_EQ(PLImageCreator::writeCardImage(m_db, named), 0);
    EXPECT_TRUE(QFile::exists(m_db + "/Images/front.pdf"));
    EXPECT_EQ(PLImageCreator::writeCardImage(m_db, {{"cardID", "p4"}, {"face_Image_File", "../x.pdf"}}), -20);

    EXPECT_EQ(PLImageCreator::writeCardImage(m_dir.filePath("missing"), named), -1);
    EXPECT_EQ(PLImageCreator::writeCardImage(QString(), named), -1);
    Bundle::setMain(m_dir.path());
    EXPECT_EQ(PLImageCreator::writeCardImage(m_db, {{"cardID", "p5"}}), -1);
    EXPECT_EQ(m_posted.size(), 1u);
    EXPECT_FALSE(QFile::exists(m_db + "/Images/p5_N1.pdf"));
}

TEST(PlaceholderText, UnitsAndTrimming)
{
    const QString pair = QString::fromUtf8("a\xF0\x9F\x98\x80"); // "a" and one emoji as two units
    EXPECT_EQ(getUniChar(pair, 2), "a");
    EXPECT_EQ(getUniChar(pair, 3), pair);
    EXPECT_EQ(getUniChar("abc", 0), "");
    QString lines = QString("a\nb\rc") + QChar(0x2028) + "d";
    replaceLineSeparatorCharacter(lines);
    EXPECT_EQ(lines, "a b c d");
    EXPECT_EQ(stringByTrimmingCharactersFromStart(QString(" \t") + QChar(0x3000) + "x "), "x ");
    EXPECT_EQ(stringByTrimmingCharactersFromStart("   "), "");
    EXPECT_EQ(stringByTrimmingCharactersFromStart("xxay", "x"), "ay");
}
