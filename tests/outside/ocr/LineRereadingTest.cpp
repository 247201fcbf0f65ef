#include "outside/ocr/LineRereading.h"

#include "outside/ocr/FuriganaRereading.h"
#include "outside/ocr/JapaneseLineText.h"
#include "outside/ocr/LargeTypeRows.h"
#include "outside/ocr/NameRowCharacters.h"
#include "outside/ocr/ScanCleanup.h"

#include <gtest/gtest.h>

#include <leptonica/allheaders.h>

namespace {

void ink(Pix* pix, int left, int top, int width, int height)
{
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x)
            pixSetPixel(pix, x, y, 0);
    }
}

TEST(LineRereading, RowsOfInkInABox)
{
    PixPtr pix(pixCreate(400, 200, 8));
    pixSetAllArbitrary(pix.get(), 255);
    ink(pix.get(), 20, 20, 300, 30);  // a row of type
    ink(pix.get(), 20, 52, 300, 10);  // strokes two pixels below it: the same row ("三")
    ink(pix.get(), 20, 90, 200, 40);  // the next row
    ink(pix.get(), 20, 150, 300, 3);  // a rule, too thin for type
    ink(pix.get(), 380, 170, 2, 2);   // a speck outside the box
    const auto rows = inkRows(pix.get(), 10, 10, 360, 190);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], std::make_pair(20, 61));
    EXPECT_EQ(rows[1], std::make_pair(90, 129));
    EXPECT_TRUE(inkRows(pix.get(), 10, 160, 360, 199).empty());
}

TEST(LineRereading, CharactersOfANameRow)
{
    PixPtr pix(pixCreate(600, 120, 8));
    pixSetAllArbitrary(pix.get(), 255);
    // A row 60 high: a square character, one of three strokes (川), one of two halves with a
    // gap (颯), and, past a wider gap, a last one; a speck far right is no part of the row's box.
    ink(pix.get(), 20, 30, 56, 60);
    ink(pix.get(), 84, 30, 8, 60);
    ink(pix.get(), 108, 30, 8, 60);
    ink(pix.get(), 132, 30, 8, 60);
    ink(pix.get(), 150, 30, 24, 60);
    ink(pix.get(), 184, 30, 30, 60);
    ink(pix.get(), 260, 30, 50, 60);
    ink(pix.get(), 560, 60, 3, 3);
    const auto columns = characterColumns(pix.get(), 10, 30, 320, 89);
    const std::vector<std::pair<int, int>> expected{{20, 75}, {84, 139}, {150, 213}, {260, 309}};
    EXPECT_EQ(columns, expected);
}

TEST(LineRereading, LargeTypeRowsInTheInk)
{
    PixPtr pix(pixCreate(800, 400, 8));
    pixSetAllArbitrary(pix.get(), 255);
    // A name of three characters 80 high set apart; the last a frame round a piece of its own
    // (口 in 部), which makes no row of its own.
    ink(pix.get(), 20, 40, 80, 80);
    ink(pix.get(), 140, 40, 80, 80);
    ink(pix.get(), 260, 40, 80, 6);
    ink(pix.get(), 260, 114, 80, 6);
    ink(pix.get(), 260, 40, 6, 80);
    ink(pix.get(), 334, 40, 6, 80);
    ink(pix.get(), 280, 60, 40, 40);
    // Beside it two lines of small type close over each other, and below a word of large type:
    // wider than characters, they are no name's row.
    ink(pix.get(), 420, 40, 300, 20);
    ink(pix.get(), 420, 66, 300, 20);
    ink(pix.get(), 20, 200, 500, 80);
    const auto rows = largeTypeRows(pix.get(), 26);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].left, 20);
    EXPECT_EQ(rows[0].top, 40);
    EXPECT_EQ(rows[0].right, 339);
    EXPECT_EQ(rows[0].bottom, 119);
    // An English reading that saw only the small type leaves the name unread; one over it does not.
    std::vector<RecognizedLine> read{{"Tel. 045-553-3463", 420, 40, 719, 59, 90}, {"Fax 045-553-3464", 420, 66, 719, 85, 90}};
    EXPECT_TRUE(leavesCharacterRowUnread(pix.get(), read));
    read.push_back({"Maert Kr", 20, 40, 339, 119, 70});
    EXPECT_FALSE(leavesCharacterRowUnread(pix.get(), read));
}

TEST(LineRereading, BlankWhereTheFamilyNameEnds)
{
    struct Case {
        const char16_t* read;
        std::vector<std::pair<int, int>> columns;
        const char16_t* spaced;
    };
    const Case cases[] = {
        {u"菅原颯太", {{0, 49}, {55, 104}, {160, 209}, {215, 264}}, u"菅原 颯太"},
        {u"スガワラソウタ", {{0, 15}, {20, 35}, {40, 55}, {60, 75}, {100, 115}, {120, 135}, {140, 155}}, u"スガワラ ソウタ"},
        {u"梶梢", {{0, 49}, {70, 119}}, u"梶 梢"},
        // Letter-spaced evenly, set tight, or read as more or fewer characters than the ink shows.
        {u"矢部浩二", {{0, 49}, {75, 124}, {150, 199}, {225, 274}}, u"矢部浩二"},
        {u"川村", {{0, 49}, {53, 102}}, u"川村"},
        {u"日下部太", {{0, 49}, {55, 104}, {110, 159}, {220, 269}, {275, 324}}, u"日下部太"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withBlankAtWidestGap(QString::fromUtf16(c.read), c.columns, 50), QString::fromUtf16(c.spaced))
            << QString::fromUtf16(c.read).toStdString();
}

TEST(LineRereading, NameRowsAndReadingsInDoubt)
{
    struct Row {
        const char16_t* read;
        int confidence;
        int characters;
        bool doubtful;
    };
    const Row rows[] = {
        {u"菅原 颯太", 80, 4, false}, {u"薬師寺　颯太", 75, 5, false},
        {u"2H 忍", 68, 2, true}, // letters and digits the models made of kanji
        {u"官原 AA", 80, 4, true},    {u"日下部 太", 80, 5, true}, // fewer characters than the ink shows
        {u"村 槽", 80, 3, true},      {u"梶 、村", 80, 2, true}, // a mark inside a name
        {u"岩崎 忍", 50, 3, true}, // read unsurely
    };
    for (const Row& r : rows)
        EXPECT_EQ(isDoubtfulNameRow(QString::fromUtf16(r.read), r.confidence, r.characters, 60), r.doubtful)
            << QString::fromUtf16(r.read).toStdString();

    struct Reading {
        const char16_t* kana;
        int characters;
        bool fits;
    };
    const Reading readings[] = {
        {u"そがべ はやと", 4, true},
        {u"アベ", 2, true},
        {u"てしがわら りゅうのすけ", 7, true},
        {u"そがべ", 4, false}, // the given name's reading lost
        {u"ア", 2, false},
        {u"よしおむおらよしおむおら", 3, false}, // more kana than three characters read as
    };
    for (const Reading& r : readings)
        EXPECT_EQ(fitsNameReading(QString::fromUtf16(r.kana), r.characters), r.fits) << QString::fromUtf16(r.kana).toStdString();
}

TEST(LineRereading, FuriganaReadAgain)
{
    struct Held {
        const char16_t* read;
        FuriganaLine kind;
    };
    const Held held[] = {
        {u"そがべ はやと", FuriganaLine::ReadWell},
        {u"スガワラ ソウタ", FuriganaLine::ReadWell},
        {u"スガワラ:ソウタ", FuriganaLine::ReadBadly},
        {u"そがべ", FuriganaLine::ReadBadly}, // the given name's reading read as a line apart
        {u"ツガべ カズキ", FuriganaLine::ReadBadly}, // hiragana among katakana
        {u"グループ長", FuriganaLine::Other}, // a title
        {u"Sota Yakushiji", FuriganaLine::Other},
        {u"", FuriganaLine::Other},
    };
    for (const Held& h : held)
        EXPECT_EQ(furiganaLine(QString::fromUtf16(h.read), 4), h.kind) << QString::fromUtf16(h.read).toStdString();

    // Of the readings in hiragana, katakana and either, the surest of one script that fits.
    const auto surest = [](std::initializer_list<std::pair<const char16_t*, int>> read) {
        std::vector<RecognizedLine> readings;
        for (const auto& [text, sure] : read)
            readings.push_back({QString::fromUtf16(text), 0, 0, 0, 0, sure});
        const auto it = surestFurigana(readings, 4);
        return it == readings.end() ? QString() : it->text;
    };
    EXPECT_EQ(surest({{u"", 0}, {u"スガワラソウタ", 72}, {u"スガワラソウタ", 72}}), u"スガワラソウタ"_qs);
    EXPECT_EQ(surest({{u"そがべはやと", 77}, {u"ベ", 0}, {u"そがべはやと", 77}}), u"そがべはやと"_qs);
    EXPECT_EQ(surest({{u"ん", 0}, {u"グムアダイスケ", 53}, {u"グムんアダイスケ", 57}}), QString());
    EXPECT_EQ(surest({{u"そがべ", 90}, {u"ソガべカズキ", 88}}), QString());
}

TEST(LineRereading, JapanSeenInAnEnglishReading)
{
    const auto lines = [](const char16_t* text) { return std::vector<RecognizedLine>{{QString::fromUtf16(text)}}; };
    EXPECT_TRUE(showsJapan(lines(u"Mail y.kawamura@nishimura-kasei.jp")));
    EXPECT_TRUE(showsJapan(lines(u"Tel. +81 92 590 0674")));
    EXPECT_FALSE(showsJapan(lines(u"www.example.jpg.com/+812")));
    EXPECT_FALSE(showsJapan(lines(u"Tel: +1 217 555 0134")));
}

TEST(LineRereading, EnglishReadingOfJapaneseType)
{
    const auto lines = [](std::initializer_list<std::pair<const char16_t*, int>> read) {
        std::vector<RecognizedLine> out;
        for (const auto& [text, sure] : read)
            out.push_back({QString::fromUtf16(text), 0, 0, 0, 0, sure});
        return out;
    };
    EXPECT_TRUE(holdsUnreadType(lines({{u"RAE EB RNAi", 4}, {u"770-0831 @SbSSANB1—5", 44}, {u"Tel 077-582-7238", 91}})));
    // Addresses the engine doubts and specks are no Japanese type.
    EXPECT_FALSE(holdsUnreadType(lines({{u"hattori@maruyama-kensetsu.jp", 21}, {u"www.maruyama.jp", 30}, {u"RAE EB", 4}})));
    EXPECT_FALSE(holdsUnreadType(lines({{u".", 10}, {u"'", 12}, {u"Anna Lopez", 95}})));
    // Small print, a line doubted here and there: a page, not a card in Japanese.
    std::vector<RecognizedLine> page(60, {u"x12@example.com Lorem ipsum dolor"_qs, 0, 0, 0, 0, 80});
    for (size_t i = 0; i < page.size(); i += 3)
        page[i] = {u"Lorem ipsnm dulor"_qs, 0, 0, 0, 0, 30};
    EXPECT_FALSE(holdsUnreadType(page));
    EXPECT_FALSE(holdsUnreadType(lines({{u"RAE EB", 4}, {u"SbSSANB", 30}, {u"Tel 1", 90}, {u"Tel 2", 90}, {u"Tel 3", 90},
                                        {u"Tel 4", 90}, {u"Tel 5", 90}, {u"Tel 6", 90}, {u"Tel 7", 90}, {u"Tel 8", 90},
                                        {u"Tel 9", 90}})));
}

struct TextCase {
    QString (*rule)(const QString&);
    const char16_t* read;
    const char16_t* printed;
};

TEST(LineRereading, JapaneseLinesPutRight)
{
    const TextCase cases[] = {
        {blockNumberDashes, u"那覇市久茂地2一2ー2", u"那覇市久茂地2-2-2"},
        {blockNumberDashes, u"名古屋市中村区椿町1—16", u"名古屋市中村区椿町1-16"},
        {blockNumberDashes, u"名古屋市中区栄3.4-5", u"名古屋市中区栄3-4-5"},
        {blockNumberDashes, u"新潟市中央区東大通2-4-.10", u"新潟市中央区東大通2-4-10"},
        {blockNumberDashes, u"千葉市中央区新町3ー 1 3", u"千葉市中央区新町3-13"},
        {blockNumberDashes, u"松山市三番町４ー９ー６", u"松山市三番町４－９－６"},
        // A floor after the block numbers, numbers without a dash, and a telephone number stay.
        {blockNumberDashes, u"丸の内1-9-2 15F", u"丸の内1-9-2 15F"},
        {blockNumberDashes, u"TEL 03 5555 1234", u"TEL 03 5555 1234"},
        {blockNumberDashes, u"Tel. 086.503.8589", u"Tel. 086.503.8589"},
        {blockNumberDashes, u"〒100-0005 東京都", u"〒100-0005 東京都"},
        {postalCodeDigits, u"S20-0047 大津市浜大津1-2-3", u"520-0047 大津市浜大津1-2-3"},
        {postalCodeDigits, u"〒1OO-0005 東京都千代田区", u"〒100-0005 東京都千代田区"},
        // Too few digits, or no Japanese after it: a word, not a postal code.
        {postalCodeDigits, u"SOS-BOZO 東京", u"SOS-BOZO 東京"},
        {postalCodeDigits, u"Ref S20-0047", u"Ref S20-0047"},
        {kanjiLookAlikes, u"石井浩ニ", u"石井浩二"},
        {kanjiLookAlikes, u"入ロ 東エ場", u"入口 東工場"},
        {kanjiLookAlikes, u"第ー営業部", u"第一営業部"},
        // Katakana among katakana, and the long vowel mark of a katakana word, stay.
        {kanjiLookAlikes, u"東邦ロジテック", u"東邦ロジテック"},
        {kanjiLookAlikes, u"株式会社カタログ", u"株式会社カタログ"},
        {kanjiLookAlikes, u"マネージャー", u"マネージャー"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(c.rule(QString::fromUtf16(c.read)), QString::fromUtf16(c.printed)) << QString::fromUtf16(c.read).toStdString();
}

} // namespace
