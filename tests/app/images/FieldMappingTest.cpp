#include "ResultBuilder.h"

#include "app/images/PLRegController.h"
#include "app/images/SeparationLibrary.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString stageDir() { return QString::fromLocal8Bit(qgetenv("PELMORA_STAGE_DIR")); }
QString brokenDir(const char* name) { return QStringLiteral(PELMORA_BROKEN_LIBRARIES) + u'/' + QLatin1String(name); }

class FieldMapping : public ::testing::Test {
protected:
    void SetUp() override { SeparationLibrary::setApplicationFolder(stageDir()); }
    PLRegController reg;
    CardDict dict;
};

TEST_F(FieldMapping, NameSplitsByLanguage)
{
    struct Case {
        QString name, reading;
        int country;
        QString family, first, middle, familyReading, firstReading, middleReading;
    };
    const Case cases[] = {
        {u"Anna Maria Lopez"_qs, u""_qs, 1, u"Lopez"_qs, u"Anna"_qs, u"Maria"_qs, {}, u""_qs, {}},
        {u"王 小明"_qs, u"wang xiao ming"_qs, 3, u"王"_qs, u"小明"_qs, {}, u"wang"_qs, u"xiao ming"_qs, {}},
        {u"山田 太郎"_qs, u"やまだ たろう"_qs, 0, u"山田"_qs, u"太郎"_qs, {}, u"やまだ"_qs, u"たろう"_qs, {}},
        {u"John Smith"_qs, u"Jon Smis Jr"_qs, 1, u"Smith"_qs, u"John"_qs, {}, u"Jr"_qs, u"Jon"_qs, u"Smis"_qs},
        {u"李 明"_qs, u"li ming"_qs, 2, u"李"_qs, u"明"_qs, {}, u"li"_qs, u"ming"_qs, {}},
    };
    // The English library must not be needed when the words already give a family name.
    SeparationLibrary::setApplicationFolder(QStringLiteral("/nonexistent"));
    for (const Case& c : cases) {
        CardDict d;
        ASSERT_EQ(reg.separateNameAndYomi(c.name, c.reading, c.country, &d), 0) << c.name.toStdString();
        EXPECT_EQ(d.value("family_Name").toString(), c.family) << c.name.toStdString();
        EXPECT_EQ(d.value("first_Name").toString(), c.first) << c.name.toStdString();
        EXPECT_EQ(d.value("middle_Name").toString(), c.middle) << c.name.toStdString();
        EXPECT_EQ(d.value("family_Name_Kana").toString(), c.familyReading) << c.name.toStdString();
        EXPECT_EQ(d.value("first_Name_Kana").toString(), c.firstReading) << c.name.toStdString();
        EXPECT_EQ(d.value("middle_Name_Kana").toString(), c.middleReading) << c.name.toStdString();
    }
}

TEST_F(FieldMapping, ChineseReadingNeverRunsPastTheLastWord)
{
    // A family name of three characters against three reading words keeps one word for the first name.
    ASSERT_EQ(reg.separateNameAndYomi(u"王小明"_qs, u"wang xiao ming"_qs, 3, &dict), 0);
    EXPECT_EQ(dict.value("family_Name").toString(), u"王小明"_qs);
    EXPECT_EQ(dict.value("family_Name_Kana").toString(), u"wang xiao"_qs);
    EXPECT_EQ(dict.value("first_Name_Kana").toString(), u"ming"_qs);
}

TEST_F(FieldMapping, OneWordEnglishNameGoesThroughTheLibrary)
{
    ASSERT_EQ(reg.separateNameAndYomi(u"Lopez,Anna"_qs, u""_qs, 1, &dict), 0);
    EXPECT_EQ(dict.value("family_Name").toString(), u"Lopez"_qs);
    EXPECT_EQ(dict.value("first_Name").toString(), u"Anna"_qs);
    EXPECT_EQ(dict.value("family_Name_Kana").toString(), u"Lopez"_qs);

    CardDict prefixed;
    ASSERT_EQ(reg.separateNameAndYomi(u"Dr.Smith"_qs, u""_qs, 1, &prefixed), 0);
    EXPECT_EQ(prefixed.value("prefix_Name").toString(), u"Dr."_qs);
    EXPECT_EQ(prefixed.value("first_Name").toString(), u"Smith"_qs);

    // Index pairs outside the name are refused: the whole name becomes the first name.
    SeparationLibrary::setApplicationFolder(brokenDir("odd"));
    CardDict odd;
    ASSERT_EQ(reg.separateNameAndYomi(u"Smith"_qs, u""_qs, 1, &odd), 0);
    EXPECT_EQ(odd.value("first_Name").toString(), u"Smith"_qs);
    EXPECT_EQ(odd.value("first_Name_Kana").toString(), u"Smith"_qs);
}

TEST_F(FieldMapping, LoaderFailuresAreReportedAndStopTheMapping)
{
    const struct {
        QString folder;
        int status;
    } cases[] = {{brokenDir("entry"), 88}, {brokenDir("init"), 89}, {QStringLiteral("/nonexistent"), 90}};
    for (const auto& c : cases) {
        SeparationLibrary::setApplicationFolder(c.folder);
        CardDict d;
        EXPECT_EQ(reg.separateNameAndYomi(u"Smith"_qs, u""_qs, 1, &d), c.status);
        EXPECT_EQ(reg.separateComYomi(u"山田商事"_qs, &d, 0), c.status);
        d.insert("address", u"東京都千代田区"_qs);
        EXPECT_EQ(reg.separateAddress(&d, 0), c.status);

        QByteArray result;
        setSlot(result, 0, u"Smith"_qs, 1, 2, 3, 4);
        setSlot(result, 23, u"a@b.example"_qs, 1, 2, 3, 4);
        CardDict mapped;
        EXPECT_EQ(reg.setRecognizeStructToDbDict(&mapped, &result, 100, 1), 92);
        EXPECT_EQ(mapped.value("full_Name").toString(), u"Smith"_qs);
        EXPECT_FALSE(mapped.contains("e_Mail")); // mapping stopped at the name
    }
    EXPECT_EQ(SeparationLibrary::libraryPath(SeparationLibrary::EnglishName),
              u"/nonexistent/En/Lib/libPLlibEnNamAddr.so"_qs);
    EXPECT_EQ(qgetenv("DIC_PATH_EN"), QByteArray("/nonexistent/En/Lib"));
    EXPECT_EQ(qgetenv("DIC_PATH_JP_COM"), QByteArray("/nonexistent/Jp/Lib"));
}

TEST_F(FieldMapping, RectangleRuleAndEmptyText)
{
    QByteArray result;
    setSlot(result, 0, u"Anna Maria Lopez"_qs, 10, 20, 110, 60);
    setSlot(result, 13, u"03-1234-5678"_qs, 5, 100, 205, 130);
    setSlot(result, 23, QString(), 50, 50, 60, 60); // a box without text
    setSlot(result, 33, u"memo text"_qs, 1, 1, 2, 2);
    ASSERT_EQ(reg.setRecognizeStructToDbDict(&dict, &result, 600, 1), 0);
    EXPECT_EQ(dict.value("full_Name_XY").toString(), u"10/540/100/40"_qs);
    EXPECT_EQ(dict.value("telephone_Number_XY").toString(), u"5/470/200/30"_qs);
    EXPECT_EQ(dict.value("e_Mail").toString(), u""_qs);
    EXPECT_EQ(dict.value("e_Mail_XY").toString(), u"0/0/0/0"_qs);
    EXPECT_EQ(dict.value("first_Name").toString(), u"Anna"_qs);
    EXPECT_FALSE(dict.contains("memo")); // never filled by a whole-card run
    EXPECT_FALSE(dict.contains("memo_XY"));

    CardDict memo;
    EXPECT_EQ(reg.setDetailRecognizeStructToDbDict(&memo, &result, 600, 32, 1), 0);
    EXPECT_EQ(memo.value("memo").toString(), u"memo text"_qs);
    CardDict none;
    EXPECT_EQ(reg.setDetailRecognizeStructToDbDict(&none, &result, 600, 28, 1), 0);
    EXPECT_EQ(reg.setDetailRecognizeStructToDbDict(&none, &result, 600, 40, 1), 0);
    EXPECT_TRUE(none.isEmpty());

    const QByteArray shortResult(100, '\0');
    EXPECT_EQ(reg.setRecognizeStructToDbDict(&dict, &shortResult, 600, 1), 3);
    EXPECT_EQ(reg.setRecognizeStructToDbDict(nullptr, &result, 600, 1), 3);
}

TEST_F(FieldMapping, TextLimitsPerFieldAndSurrogatePairs)
{
    QByteArray result;
    setSlot(result, 13, QString(40, u'1'));
    setSlot(result, 10, QString(130, u'x'));
    // A pair whose high half would be the 64th unit of the name.
    setSlot(result, 0, QString(63, u'a') + QString::fromUcs4(U"\U0002000B") + u"b"_qs);
    EXPECT_EQ(PLRegController::slotText(result, 13, 32).size(), 32);
    EXPECT_EQ(PLRegController::slotText(result, 10, 128).size(), 128);
    EXPECT_EQ(PLRegController::slotText(result, 0, 64), QString(63, u'a'));
}

TEST_F(FieldMapping, CompanyReading)
{
    QByteArray result;
    setSlot(result, 35, u"株式会社山田商事"_qs, 1, 1, 5, 5);
    setSlot(result, 36, u"shanda"_qs);
    ASSERT_EQ(reg.setDetailRecognizeStructToDbDict(&dict, &result, 100, 30, 0), 0);
    EXPECT_EQ(dict.value("company_Kana").toString(), u"ヤマダショウジ"_qs);

    CardDict chinese;
    ASSERT_EQ(reg.setDetailRecognizeStructToDbDict(&chinese, &result, 100, 30, 3), 0);
    EXPECT_EQ(chinese.value("company_Kana").toString(), u"shanda"_qs);
    CardDict english;
    ASSERT_EQ(reg.setDetailRecognizeStructToDbDict(&english, &result, 100, 30, 1), 0);
    EXPECT_EQ(english.value("company_Kana").toString(), u"株式会社山田商事"_qs);

    // A reading of 200 units is cut to 128, and the cut does not split the pair at 127..128.
    SeparationLibrary::setApplicationFolder(brokenDir("odd"));
    CardDict longReading;
    ASSERT_EQ(reg.separateComYomi(u"長い会社"_qs, &longReading, 0), 0);
    EXPECT_EQ(longReading.value("company_Kana").toString(), QString(127, QChar(0x30A2)));
}

TEST_F(FieldMapping, AddressSplits)
{
    struct Case {
        int country;
        QString address;
        QString street, city, state, joined;
    };
    const Case cases[] = {
        {6, u"12 rue de la Paix\nParis\nIle-de-France"_qs, u"12 rue de la Paix"_qs, u"Paris"_qs, u"Ile-de-France"_qs,
         u"12 rue de la Paix Paris Ile-de-France"_qs},
        {3, u"中山路1号\n南京市\n江苏省"_qs, u"中山路1号"_qs, u"南京市"_qs, u"江苏省"_qs, u"江苏省南京市中山路1号"_qs},
        // Lines past the third stay in the address.
        {1, u"1 Main St\nSpringfield\nIL\nUSA"_qs, u"1 Main St"_qs, u"Springfield"_qs, u"IL"_qs, u"1 Main St Springfield IL USA"_qs},
        {1, u"  1 Main St, Springfield  \n"_qs, u"  1 Main St, Springfield  \n"_qs, {}, {}, u"1 Main St, Springfield  "_qs},
        {0, u"東京都千代田区丸の内1-1-1"_qs, u"丸の内1-1-1"_qs, u"千代田区"_qs, u"東京都"_qs, u"東京都千代田区丸の内1-1-1"_qs},
        {0, u"神奈川県横浜市中区山下町1"_qs, u"山下町1"_qs, u"横浜市中区"_qs, u"神奈川県"_qs, u"神奈川県横浜市中区山下町1"_qs},
        // Three lines: the library sees the first, the address keeps all of them (less trailing line feeds).
        {0, u"大阪府大阪市北区梅田1\n梅田ビル\n3階\n"_qs, u"梅田1"_qs, u"大阪市北区"_qs, u"大阪府"_qs,
         u"大阪府大阪市北区梅田1\n梅田ビル\n3階"_qs},
        // The address becomes its parts as the library gives them back: from the prefecture on,
        // with the dashes of its block numbers; lines it did not see follow.
        {0, u"〒530-0001 大阪府大阪市北区梅田1ー2一3\n梅田ビル\n3階"_qs, u"梅田1-2-3"_qs, u"大阪市北区"_qs, u"大阪府"_qs,
         u"大阪府大阪市北区梅田1-2-3\n梅田ビル\n3階"_qs},
        // A Japanese address of a card found to be in another language is split as Japanese.
        {12, u"東京都千代田区丸の内1.9-2\n丸の内トラストタワー15F"_qs, u"丸の内1-9-2\n丸の内トラストタワー15F"_qs, u"千代田区"_qs,
         u"東京都"_qs, u"東京都千代田区丸の内1-9-2\n丸の内トラストタワー15F"_qs},
        {11, u"a\nb\nc\n"_qs, {}, {}, {}, u"a\nb\nc"_qs},
    };
    for (const Case& c : cases) {
        CardDict d;
        d.insert("address", c.address);
        ASSERT_EQ(reg.separateAddress(&d, c.country), 0);
        EXPECT_EQ(d.value("street").toString(), c.street) << c.address.toStdString();
        EXPECT_EQ(d.value("city").toString(), c.city) << c.address.toStdString();
        EXPECT_EQ(d.value("state").toString(), c.state) << c.address.toStdString();
        EXPECT_EQ(d.value("address").toString(), c.joined) << c.address.toStdString();
    }
    CardDict missing;
    ASSERT_EQ(reg.separateAddress(&missing, 0), 0);
    EXPECT_EQ(missing.value("address").toString(), u""_qs);
    EXPECT_FALSE(missing.contains("street"));

    // A failed Japanese separation leaves the whole address in the street.
    SeparationLibrary::setApplicationFolder(brokenDir("odd"));
    CardDict failed;
    failed.insert("address", u"どこか1-2"_qs);
    ASSERT_EQ(reg.separateAddress(&failed, 0), 0);
    EXPECT_EQ(failed.value("street").toString(), u"どこか1-2"_qs);
    EXPECT_EQ(failed.value("address").toString(), u"どこか1-2"_qs);
}

TEST_F(FieldMapping, ReplacementAddressSlotWins)
{
    QByteArray result;
    setSlot(result, 21, u"1 Main St\nSpringfield\nIL"_qs, 0, 0, 10, 10);
    setSlot(result, 22, u"  PO Box 5\n"_qs);
    ASSERT_EQ(reg.setDetailRecognizeStructToDbDict(&dict, &result, 100, 26, 1), 0);
    EXPECT_EQ(dict.value("address").toString(), u"PO Box 5"_qs);
    EXPECT_EQ(dict.value("city").toString(), u"Springfield"_qs);
}

TEST_F(FieldMapping, PostalCodeFollowsTheAddressShape)
{
    struct Case {
        QString postal, address, wantPostal, wantAddress;
    };
    const Case cases[] = {
        // Read in part, missed, or read right and left alone.
        {u"O15 2AQ"_qs, u"Suite 210\nSouthampton $O15 2AQ"_qs, u"SO15 2AQ"_qs, u"Suite 210\nSouthampton SO15 2AQ"_qs},
        {u""_qs, u"1100 Louisiana Street\nHouston, TX 77002"_qs, u"77002"_qs, u"1100 Louisiana Street\nHouston, TX 77002"_qs},
        {u"NG13AL"_qs, u"88 Broad Street, Nottingham NG13AL"_qs, u"NG13AL"_qs, u"88 Broad Street, Nottingham NG1 3AL"_qs},
        {u"21675"_qs, u"Prinzregentenplatz 7\n81675 München"_qs, u"21675"_qs, u"Prinzregentenplatz 7\n81675 München"_qs},
    };
    for (const Case& c : cases) {
        QByteArray result;
        setSlot(result, ocr::kSlotPostalCode, c.postal, 1, 2, 3, 4);
        setSlot(result, ocr::kSlotAddress, c.address, 10, 20, 30, 40);
        CardDict d;
        ASSERT_EQ(reg.setRecognizeStructToDbDict(&d, &result, 100, 12), 0);
        EXPECT_EQ(d.value("zip_PostalCode").toString(), c.wantPostal) << c.address.toStdString();
        EXPECT_EQ(d.value("address").toString(), c.wantAddress) << c.address.toStdString();
        EXPECT_NE(d.value("zip_PostalCode_XY").toString(), u"0/0/0/0"_qs) << c.address.toStdString();
    }
}

class FakeCard : public CardRecord {
public:
    QVariant valueForKey(const QString& key) const override { return values.value(key); }
    void setValueForKey(const QString& key, const QVariant& value) override
    {
        log << key;
        values.insert(key, value);
    }
    QVariantMap values;
    QStringList log;
};

TEST_F(FieldMapping, ClearingAndCopyingTags)
{
    FakeCard card;
    card.values.insert("memo", u"keep"_qs);
    card.values.insert("company", u"Old"_qs);
    EXPECT_EQ(reg.cleanDateToManagedObject(&card, 30), 0);
    EXPECT_EQ(card.log, (QStringList{"company", "company_XY", "company_Kana"}));
    EXPECT_FALSE(card.values.value("company").isValid());
    EXPECT_EQ(reg.cleanDateToManagedObject(&card, 28), 0);
    EXPECT_EQ(reg.cleanDateToManagedObject(nullptr, 21), 3);

    card.log.clear();
    CardDict d{{"company", u"New"_qs}, {"e_Mail", u"a@b.example"_qs}};
    EXPECT_EQ(reg.setDetailDateDictToManagedObject(&card, &d, 30), 0);
    EXPECT_EQ(card.log, QStringList{"company"}); // keys without a value leave the card alone
    EXPECT_EQ(reg.setDataDictToManagedObject(&card, &d), 0);
    EXPECT_EQ(card.values.value("e_Mail").toString(), u"a@b.example"_qs);
    EXPECT_EQ(card.values.value("memo").toString(), u"keep"_qs);
    EXPECT_EQ(reg.setDataDictToManagedObject(nullptr, &d), 3);
    EXPECT_EQ(reg.setDetailDateDictToManagedObject(nullptr, nullptr, 21), 3);
}

} // namespace
