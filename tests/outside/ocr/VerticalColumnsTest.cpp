// Numbers set in columns, as the vertical models read them, and the order of a card's columns.
#include "outside/ocr/VerticalColumns.h"

#include "outside/ocr/ColumnDashes.h"
#include "tests/outside/ocr/ScannedCard.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

TEST(VerticalColumns, NumbersOfAColumnBecomeDigitsAndAddressesKeepTheirNumerals)
{
    const struct {
        QString read, wanted;
    } cases[] = {
        {u"〒一〇四'〇〇六一"_qs, u"〒104-0061"_qs},
        {u"電話 〇三|三五六七|八九〇一"_qs, u"電話 03-3567-8901"_qs},
        {u"TEL: 〇七五,四五一・四五〇六"_qs, u"TEL: 075-451-4506"_qs},
        {u"携帯 ０９０－１２３４－５６７８"_qs, u"携帯 090-1234-5678"_qs},
        {u"〇九〇'一二三四'五六七八"_qs, u"090-1234-5678"_qs},
        {u"〒三一〇-〇〇一五 茨城県水戸市宮町一-七-三三"_qs, u"〒310-0015 茨城県水戸市宮町一-七-三三"_qs},
        // Dashes the vertical model read as 1s, where the number's shape wants a dash.
        {u"〒60418152"_qs, u"〒604-8152"_qs},
        {u"電話 031409611480"_qs, u"電話 03-4096-1480"_qs},
        {u"TEL 052162917846"_qs, u"TEL 052-629-7846"_qs},
        {u"携帯 0801479710414"_qs, u"携帯 080-4797-0414"_qs},
        // An address, a name and a short number keep what the card prints.
        {u"東京都中央区銀座四丁目五番六号"_qs, u"東京都中央区銀座四丁目五番六号"_qs},
        {u"水戸市宮町一-七-三三"_qs, u"水戸市宮町一-七-三三"_qs},
        {u"山田 健一"_qs, u"山田 健一"_qs},
        {u"代表 一二"_qs, u"代表 一二"_qs},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withColumnNumbers(c.read), c.wanted) << c.read.toStdString();
}

// What the vertical models make of a column's kana and of a logo at the company's column.
TEST(VerticalColumns, KanaReadTwiceAndLogoScrapsComeOut)
{
    const struct {
        QString read, wanted;
    } kana[] = {
        {u"ピビル"_qs, u"ビル"_qs},
        {u"イシイィ ツョヨシ"_qs, u"イシイ ツヨシ"_qs},
        {u"マュユミ"_qs, u"マユミ"_qs},
        {u"さとうう"_qs, u"さとうう"_qs},
        // A small kana that belongs where it stands stays; so does the small tsu.
        {u"株式会社青空ソリュユーションズ"_qs, u"株式会社青空ソリューションズ"_qs},
        {u"パーティイ"_qs, u"パーティ"_qs},
        {u"ビッツ"_qs, u"ビッツ"_qs},
    };
    for (const auto& c : kana)
        EXPECT_EQ(withoutDoubledKana(c.read), c.wanted) << c.read.toStdString();
    const struct {
        QString read, wanted;
    } companies[] = {
        {u"蜂 株式会社 北辰物流"_qs, u"株式会社 北辰物流"_qs},
        {u"A購 北辰物流株式会社"_qs, u"北辰物流株式会社"_qs},
        {u"m還 信濃製作所有限会社"_qs, u"信濃製作所有限会社"_qs},
        {u"、 ⑳ 若葉不動産有限会社 フヴ。"_qs, u"若葉不動産有限会社"_qs},
        {u"| 合同会社丸山建設"_qs, u"合同会社丸山建設"_qs},
        {u"調間株式会社大洋食品"_qs, u"株式会社大洋食品"_qs},
        {u"人和導人 回詳園 株式会社みどり会計事務所 ーー"_qs, u"株式会社みどり会計事務所"_qs},
        // The company's own words stay, short or Latin; a column without a legal form is no company's.
        {u"株式会社 NTT"_qs, u"株式会社 NTT"_qs},
        {u"NTT データ 株式会社"_qs, u"NTT データ 株式会社"_qs},
        {u"東光電機株式会社"_qs, u"東光電機株式会社"_qs},
        {u"株式会社 青空ソリューショ ンズ"_qs, u"株式会社 青空ソリューショ ンズ"_qs},
        {u"山口 健一"_qs, u"山口 健一"_qs},
    };
    for (const auto& c : companies)
        EXPECT_EQ(withoutLogoScraps(c.read), c.wanted) << c.read.toStdString();
}

// A column 40 pixels wide of characters set upright one below the other, `step` pixels apart, a
// dash as a hairline stroke along the column; its box is its ink's.
PixPtr drawnColumn(const QString& family, const QString& text, RecognizedLine* box, int step = 36)
{
    QImage image(120, 60 + 40 * int(text.size()), QImage::Format_Grayscale8);
    image.fill(255);
    QPainter painter(&image);
    QFont font(family);
    font.setPixelSize(32);
    painter.setFont(font);
    int y = 30;
    for (QChar c : text) {
        if (c == u'-')
            painter.fillRect(59, y + 6, 2, 22, Qt::black);
        else
            painter.drawText(QRect(40, y - 2, 40, 38), Qt::AlignHCenter | Qt::AlignTop, QString(c));
        y += step;
    }
    painter.end();
    *box = {{}, 38, 26, 82, y + 4, 90};
    return pixOf(image);
}

// A dash set upright in a column is a plain stroke the vertical model reads as a 1; a 1 has a
// flag or a foot. Only where the run's cells are its characters does a 1 become a dash.
TEST(VerticalColumns, DashesOfNumbersInAColumnByTheirShape)
{
    const struct {
        QString family, printed, read, wanted;
        int step = 36;
    } cases[] = {
        {u"IPAMincho"_qs, u"通5-28"_qs, u"通5128"_qs, u"通5-28"_qs},
        {u"IPAMincho"_qs, u"西1-28-3"_qs, u"西112813"_qs, u"西1-28-3"_qs},
        {u"IPAGothic"_qs, u"町5-14-6"_qs, u"町5I1416"_qs, u"町5-14-6"_qs},
        {u"IPAGothic"_qs, u"+81-44-588-6946"_qs, u"+81144158816946"_qs, u"+81-44-588-6946"_qs},
        {u"IPAGothic"_qs, u"町7-10"_qs, u"町7 1 10"_qs, u"町7-10"_qs},
        {u"IPAGothic"_qs, u"+81 90-1234"_qs, u"+81 90 1 1234"_qs, u"+81 90-1234"_qs},
        // A Latin label a blank before the number; an icon read as a digit before it.
        {u"IPAGothic"_qs, u"TEL +81-44-588-6946"_qs, u"TEL +81144158816946"_qs, u"TEL +81-44-588-6946"_qs},
        {u"IPAGothic"_qs, u"●+81-77-846-1851"_qs, u"9 +81177184611851"_qs, u"9 +81-77-846-1851"_qs},
        // Kanji set close run together in the ink: the digits still stand out as narrower.
        {u"IPAMincho"_qs, u"京都市 中京区 烏丸通5-28"_qs, u"京都市 中京区 烏丸通5128"_qs, u"京都市 中京区 烏丸通5-28"_qs, 30},
        // A dash read as a long vowel mark; narrow kana beside the number make its run of cells longer.
        {u"IPAGothic"_qs, u"新町7-2-4"_qs, u"新町7ー214"_qs, u"新町7-2-4"_qs},
        {u"IPAGothic"_qs, u"馬場通り2-13"_qs, u"馬場通り2113"_qs, u"馬場通り2-13"_qs},
        {u"IPAMincho"_qs, u"駅前ビッグアイ5-14"_qs, u"駅前ビッグアイ5114"_qs, u"駅前ビッグアイ5-14"_qs},
        // Real 1s keep their flag and foot.
        {u"IPAMincho"_qs, u"町5-11"_qs, u"町5111"_qs, u"町5-11"_qs},
        {u"IPAGothic"_qs, u"町111"_qs, u"町111"_qs, u"町111"_qs},
        // A 1 read too many, a dash the model read no mark for, a plus read as "+4": the ink's
        // strokes and narrow 1s tell where each goes. A digit more than the ink shows is left as read.
        {u"IPAGothic"_qs, u"町5-19-13"_qs, u"町5I119113"_qs, u"町5-19-13"_qs},
        {u"IPAMincho"_qs, u"町1-18-3"_qs, u"町11813"_qs, u"町1-18-3"_qs},
        {u"IPAMincho"_qs, u"通5-28"_qs, u"通528"_qs, u"通5-28"_qs},
        {u"IPAGothic"_qs, u"TEL 092-426-2585"_qs, u"TEL 09214261I12585"_qs, u"TEL 092-426-2585"_qs},
        {u"IPAGothic"_qs, u"+81-52-380-8207"_qs, u"+481152138018207"_qs, u"+81-52-380-8207"_qs},
        {u"IPAMincho"_qs, u"通5-28"_qs, u"通51283"_qs, u"通51283"_qs},
    };
    for (const auto& c : cases) {
        RecognizedLine box;
        const PixPtr pix = drawnColumn(c.family, c.printed, &box, c.step);
        EXPECT_EQ(withDashesOfTheirShape(pix.get(), box.left, box.top, box.right, box.bottom, c.read), c.wanted)
            << c.family.toStdString() << " " << c.printed.toStdString();
    }
}

// Columns right to left stand for lines top to bottom, the rows across after them; each field's
// box is the box of its column on the card.
TEST(VerticalColumns, ColumnsGoToTheFieldsInReadingOrderWithTheirBoxes)
{
    ColumnReading reading;
    reading.columns = {
        {u"株式会社光陽電機"_qs, 540, 90, 600, 450, 90},   {u"営業部 部長"_qs, 475, 130, 530, 325, 90},
        {u"〒104-0061"_qs, 280, 100, 300, 340, 90},        {u"岡山市北区駅元町一-四"_qs, 205, 100, 245, 560, 90},
        {u"電話 03-3567-8901"_qs, 150, 100, 185, 520, 90}, {u"山口 健一"_qs, 360, 170, 435, 560, 90},
    };
    std::swap(reading.columns[2], reading.columns[5]);
    reading.rows = {{u"k.yamaguchi@koyo-denki.co.jp"_qs, 60, 985, 420, 1010, 90}};
    const ResultSlots fields = classifyColumnCard(reading, 650);
    EXPECT_EQ(fields[0].text, u"山口 健一"_qs);
    EXPECT_EQ(fields[35].text, u"株式会社光陽電機"_qs);
    EXPECT_EQ(fields[37].text, u"営業部"_qs);
    EXPECT_EQ(fields[10].text, u"部長"_qs);
    EXPECT_EQ(fields[19].text, u"104-0061"_qs);
    // An address in kanji numerals is one, and keeps them.
    EXPECT_EQ(fields[21].text, u"岡山市北区駅元町一-四"_qs);
    EXPECT_EQ(fields[13].text, u"03-3567-8901"_qs);
    EXPECT_EQ(fields[23].text, u"k.yamaguchi@koyo-denki.co.jp"_qs);
    const SlotFill& name = fields[0];
    EXPECT_EQ(std::tuple(name.left, name.top, name.right, name.bottom), std::tuple(360, 170, 435, 560));
    const SlotFill& mail = fields[23];
    EXPECT_EQ(std::tuple(mail.left, mail.top, mail.right, mail.bottom), std::tuple(60, 985, 420, 1010));
}

// A title's column as the vertical models misread it: the long vowel mark as a 1, the numeral one
// as a long vowel mark, a profession's 士 as 十 or 二, its characters apart.
TEST(VerticalColumns, TitleOfAColumnComesOutAsPrinted)
{
    const struct {
        QString read, title;
    } cases[] = {
        {u"チームリーダ1"_qs, u"チームリーダー"_qs},
        {u"一級建築十"_qs, u"一級建築士"_qs},
        {u"ー級建築二"_qs, u"一級建築士"_qs},
        {u"弁護十"_qs, u"弁護士"_qs},
        {u"係長 下"_qs, u"係長"_qs},
        {u"広報室専務取締役 店"_qs, u"専務取締役"_qs},
        {u"マネージャー"_qs, u"マネージャー"_qs},
        {u"代 表 '取 締 役"_qs, u"代表取締役"_qs},
        {u"課 長"_qs, u"課長"_qs},
    };
    for (const auto& c : cases) {
        ColumnReading reading;
        reading.columns = {
            {u"株式会社光陽電機"_qs, 540, 90, 600, 450, 90},
            {c.read, 475, 130, 530, 325, 90},
            {u"山口 健一"_qs, 360, 170, 435, 560, 90},
            {u"電話 03-3567-8901"_qs, 150, 100, 185, 520, 90},
        };
        EXPECT_EQ(classifyColumnCard(reading, 650)[10].text, c.title) << c.read.toStdString();
    }
}

// The name's reading in a column of its own beside the name, with the title set at its head in
// the same column, and misread: the title is the title, the reading the name's.
TEST(VerticalColumns, TitleAtTheHeadOfTheReadingsColumnIsTheTitle)
{
    const struct {
        QString read, reading, title;
    } cases[] = {
        {u"チーフエンジニア おかだ かずや"_qs, u"おかだ かずや"_qs, u"チーフエンジニア"_qs},
        {u"おかだ かずずや"_qs, u"おかだ かずや"_qs, u""_qs},
        {u"おかだ かずや"_qs, u"おかだ かずや"_qs, u""_qs},
    };
    NameReading names;
    for (const auto& c : cases) {
        ColumnReading reading;
        reading.columns = {
            {u"株式会社光陽電機"_qs, 540, 90, 600, 450, 90},
            {c.read, 450, 130, 470, 560, 90},
            {u"岡田 和也"_qs, 360, 170, 435, 560, 90},
            {u"電話 03-3567-8901"_qs, 150, 100, 185, 520, 90},
        };
        reading.otherReadings.resize(reading.columns.size());
        ResultSlots fields = classifyColumnCard(reading, 650, [&names](const QString& t) { return names.familyNameLength(t); },
                                                [&names](const QString& t) { return names.reading(t); });
        takeBetterSupportedName(reading, names, &fields);
        EXPECT_EQ(fields[kNameSlot].text, u"岡田 和也"_qs) << c.read.toStdString();
        EXPECT_EQ(fields[kNameReadingSlot].text, c.reading) << c.read.toStdString();
        EXPECT_EQ(fields[kTitleSlot].text, c.title) << c.read.toStdString();
    }
}
