#include "outside/ocr/NameReading.h"

#include "outside/ocr/JapaneseNameCorrection.h"
#include "outside/ocr/JapanesePersonWords.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(NameReading, JapaneseNamesReadFromTheDictionary)
{
    const struct {
        const char16_t* name;
        const char16_t* reading;
    } cases[] = {
        // Printed without a blank: the family name ends where the dictionary says.
        {u"山田太郎", u"ヤマダ タロウ"},
        {u"服部直樹", u"ハットリ ナオキ"},
        // Printed with a blank, also the ideographic one: each word read alone.
        {u"中村 健一", u"ナカムラ ケンイチ"},
        {u"阿部\u3000誠", u"アベ マコト"},
        {u"  伊藤  翔太 ", u"イトウ ショウタ"},
        // Not wholly Japanese, or a part the dictionary cannot read: no reading rather than a guess.
        {u"Anna Lopez", u""},
        {u"山田 Taro", u""},
        {u"髙橋一郎", u""},
        {u"", u""},
        {u"\u3000", u""},
    };
    NameReading readings;
    for (const auto& c : cases) {
        EXPECT_EQ(readings.reading(QString::fromUtf16(c.name)), QString::fromUtf16(c.reading))
            << QString::fromUtf16(c.name).toStdString();
    }
}

TEST(NameReading, WhereTheFamilyNameEnds)
{
    const struct {
        const char16_t* name;
        int family;
    } cases[] = {
        // Family names of one to four characters, given names of one to three, in kanji or kana.
        {u"日下部肇", 3},
        {u"林薫", 1},
        {u"佐久間カオリ", 3},
        {u"勅使河原千尋", 4},
        // A family name the dictionary files as a place, or reads as two words, before a given name it knows.
        {u"薬袋美月", 2},
        {u"王生さやか", 2},
        // Departments, titles and places are no names.
        {u"九州支社", 0},
        {u"監査役", 0},
        {u"物流センター", 0},
        {u"横浜営業所", 0},
        {u"東京都", 0},
    };
    NameReading readings;
    for (const auto& c : cases)
        EXPECT_EQ(readings.familyNameLength(QString::fromUtf16(c.name)), c.family) << QString::fromUtf16(c.name).toStdString();
}

} // namespace

namespace {

TEST(NameReading, MisreadKanjiPutRightByThePrintedReading)
{
    // `inkLike`: a kanji the printed ink of the name looks clearly like, where it stands.
    const struct {
        const char16_t* name;
        const char16_t* furigana;
        const char16_t* romanised;
        char16_t inkLike;
        const char16_t* corrected;
    } cases[] = {
        // A character the dictionary's name of that reading shares, or one the ink looks like.
        {u"官原 誠", u"すがわら まこと", u"", u'菅', u"菅原 誠"},
        {u"御手涯 さくら", u"ミタライ サクラ", u"", 0, u"御手洗 さくら"},
        {u"山日 由美", u"", u"YAMAGUCHI Yumi", 0, u"山口 由美"},
        {u"山日 由美", u"", u"Yumi Yamaguchi", 0, u"山口 由美"},
        {u"官原 誠", u"", u"s.sugawara@tsubakiyama.com", u'菅', u"菅原 誠"},
        {u"山田 誠", u"", u"s.sugawara@tsubakiyama.com", 0, u"山田 誠"},
        {u"官原 誠", u"", u"", u'菅', u"菅原 誠"},
        // Without a blank: where both parts have their readings.
        {u"官原誠", u"すがわら まこと", u"", u'菅', u"菅原 誠"},
        // Latin specks after the name go when the romanised name is printed apart.
        {u"岡部 28", u"", u"OKABE Makoto", 0, u"岡部"},
        {u"官原 誠 AA", u"", u"SUGAWARA Makoto", u'菅', u"菅原 誠"},
        {u"岡部 28", u"", u"Makoto Okabe", 0, u"岡部"},
        {u"岡部 28", u"", u"", 0, u"岡部 28"},
        {u"岡部 28", u"", u"Polaris Data", 0, u"岡部 28"},
        // A name that has its printed reading, or one the dictionary knows under another reading
        // whose ink looks like what was read, stays as read.
        {u"菅原 誠", u"スガハラ マコト", u"", 0, u"菅原 誠"},
        {u"栗栖 亜希子", u"くるす あきこ", u"", 0, u"栗栖 亜希子"},
        {u"官原 誠", u"すがわら まこと", u"", 0, u"官原 誠"},
        // Nothing in common with any name of that reading, no printed reading, or not Japanese.
        {u"山田 誠", u"すがわら まこと", u"", 0, u"山田 誠"},
        {u"官原 誠", u"", u"", 0, u"官原 誠"},
        {u"Anna Lopez", u"", u"Anna Lopez", 0, u"Anna Lopez"},
    };
    for (const auto& c : cases) {
        const QString romanised = QString::fromUtf16(c.romanised);
        const QStringList others = romanised.isEmpty() ? QStringList{u"営業部"_qs} : QStringList{u"営業部"_qs, romanised};
        const auto ink = [&c](qsizetype, QChar instead) { return instead.unicode() == c.inkLike ? 0.2 : -0.2; };
        EXPECT_EQ(correctedJapaneseName(QString::fromUtf16(c.name), QString::fromUtf16(c.furigana), others, ink),
                  QString::fromUtf16(c.corrected))
            << QString::fromUtf16(c.name).toStdString() << " / " << QString::fromUtf16(c.furigana).toStdString();
    }
}

// The ink of a name line tells a kanji the engine cannot read from the one it read instead.
TEST(NameReading, MisreadKanjiPutRightByTheInk)
{
    struct Ink {
        qsizetype at;
        char16_t looksLike;
        double gain;
    };
    const struct {
        const char16_t* name;
        const char16_t* furigana;
        const char16_t* other;
        std::vector<Ink> ink;
        const char16_t* corrected;
    } cases[] = {
        // The printed reading names the entry, the ink says which of its shapes.
        {u"坂部 葉", u"さかべ しおり", u"", {{2, u'栞', 0.3}}, u"坂部 栞"},
        {u"萬谷 康介", u"", u"k.tsutaya@ginrei.co.jp", {{0, u'蔦', 0.15}}, u"蔦谷 康介"},
        {u"萬谷 康介", u"", u"k.tsutaya@ginrei.co.jp", {}, u"萬谷 康介"},
        {u"坂部 葉", u"さかべ しおり", u"", {{2, u'栞', 0.005}}, u"坂部 葉"},
        // No printed reading: only a part the dictionary lacks, by one character the ink is
        // clearly more like, and one best.
        {u"鈴木 槽", u"", u"", {{2, u'梢', 0.2}}, u"鈴木 梢"},
        {u"鈴木 槽", u"", u"", {}, u"鈴木 槽"},
        {u"鈴木 槽", u"", u"", {{2, u'梢', 0.2}, {2, u'暁', 0.19}}, u"鈴木 槽"},
        {u"萬谷 碧", u"", u"", {{0, u'蔦', 0.3}}, u"萬谷 碧"},
    };
    for (const auto& c : cases) {
        const auto gain = [&c](qsizetype at, QChar instead) {
            for (const Ink& i : c.ink) {
                if (i.at == at && i.looksLike == instead.unicode())
                    return i.gain;
            }
            return -0.2;
        };
        const QString other = QString::fromUtf16(c.other);
        EXPECT_EQ(correctedJapaneseName(QString::fromUtf16(c.name), QString::fromUtf16(c.furigana), {u"営業部"_qs, other}, gain),
                  QString::fromUtf16(c.corrected))
            << QString::fromUtf16(c.name).toStdString() << " / " << c.ink.size();
    }
}

} // namespace

namespace {

// A name's column read two ways (by the vertical model, and as a row): the name the dictionary
// and the printed reading support, or one made of both readings' characters, is taken.
TEST(NameReading, NameReadTwoWaysTakesTheOneTheDictionarySupports)
{
    const struct {
        const char16_t* name;
        const char16_t* other;
        const char16_t* furigana;
        const char16_t* taken; // empty: the name as it is
    } cases[] = {
        // Made of both: each reading has a kanji wrong, or one too many.
        {u"木下 沙給", u"本き下 沙 織", u"", u"木下沙織"},
        {u"小野寺 亮人", u"小野寺 介", u"", u"小野寺亮介"},
        // The other reading whole, a common family name before a given name both readings know.
        {u"清 和人", u"三浦和人", u"", u"三浦和人"},
        // Both known names: the printed reading, in either kana, tells them apart, or nothing does.
        {u"渡辺 和世", u"渡辺 和也", u"わたなべ かずや", u"渡辺和也"},
        {u"渡辺 和也", u"渡辺 和世", u"ワタナベ カズヤ", u""},
        {u"渡辺 和世", u"渡辺 和也", u"", u""},
        // A given name the dictionary lacks whole ("悠真") is no worse than one it knows.
        {u"渡辺 悠真", u"渡辺 悠一", u"", u""},
        // Readings too far apart, the same, or none: the name stays.
        {u"斎藤 拓海", u"セラーシゴに。ム』齋藤-大に", u"", u""},
        {u"中村 健一", u"中村 健一", u"", u""},
        {u"中村 健一", u"", u"", u""},
    };
    NameReading names;
    for (const auto& c : cases) {
        EXPECT_EQ(betterSupportedName(
                      QString::fromUtf16(c.name), QString::fromUtf16(c.other), QString::fromUtf16(c.furigana),
                      [&names](const QString& t) { return names.isKnownName(t); }, [&names](const QString& t) { return names.reading(t); }),
                  QString::fromUtf16(c.taken))
            << QString::fromUtf16(c.name).toStdString() << " / " << QString::fromUtf16(c.other).toStdString();
    }
}

// A title or department read with a kanji off takes the kanji another reading has for the place
// where the words then read as words; a role read right, or choices of no better words, stay.
TEST(NameReading, RoleTakesTheWeighedKanjiThatReadsAsWords)
{
    const auto one = [](const QString& text) {
        std::vector<std::vector<QString>> choices;
        for (QChar c : QString(text).remove(u' '))
            choices.push_back({QString(c)});
        return choices;
    };
    const auto with = [](std::vector<std::vector<QString>> choices, size_t at, const QString& other) {
        choices[at].push_back(other);
        return choices;
    };
    const struct {
        QString read;
        std::vector<std::vector<QString>> choices;
        QString taken;
    } cases[] = {
        {u"常業部"_qs, with(one(u"常業部"_qs), 0, u"営"_qs), u"営業部"_qs},
        {u"画支店長"_qs, with(one(u"画支店長"_qs), 0, u"副"_qs), u"副支店長"_qs},
        {u"二席研究員"_qs, with(one(u"二席研究員"_qs), 0, u"主"_qs), u"主席研究員"_qs},
        {u"営業本部 第二常業部"_qs, with(one(u"営業本部第二常業部"_qs), 6, u"営"_qs), u"営業本部 第二営業部"_qs},
        // Read right, a choice that makes no role ("技術語", "品質管理末") or no better words, a kana,
        // or not a list for each character.
        {u"営業部"_qs, with(one(u"営業部"_qs), 0, u"常"_qs), u"営業部"_qs},
        {u"技術部"_qs, with(one(u"技術部"_qs), 2, u"語"_qs), u"技術部"_qs},
        {u"品質管理部"_qs, with(one(u"品質管理部"_qs), 4, u"末"_qs), u"品質管理部"_qs},
        {u"監上"_qs, with(one(u"監上"_qs), 1, u"土"_qs), u"監上"_qs},
        {u"常業部"_qs, with(one(u"常業部"_qs), 0, u"ア"_qs), u"常業部"_qs},
        {u"常業部"_qs, with(one(u"常業"_qs), 0, u"営"_qs), u"常業部"_qs},
    };
    NameReading words;
    for (const auto& c : cases)
        EXPECT_EQ(roleWithWeighedCharacter(c.read, c.choices, [&words](const QString& t) { return words.wordCost(t); }), c.taken)
            << c.read.toStdString();
}

TEST(NameReading, PrintedReadingMisreadInAColumnIsMended)
{
    const struct {
        const char16_t* printed;
        const char16_t* dictionary;
        const char16_t* kept;
    } cases[] = {
        // Kana read twice, up to half as many again, in the printed kana's kind.
        {u"シミオズ マユミ", u"シミズ マユミ", u"シミズ マユミ"},
        {u"サカグチ マ ユーミ", u"サカグチ マユミ", u"サカグチ マユミ"},
        {u"まっつっつもと ここうじ", u"マツモト コウジ", u"まつもと こうじ"},
        // One kana lost, or the given name's reading missing.
        {u"たかみほ", u"タナカ ミホ", u"たなか みほ"},
        {u"もりた", u"モリタ タカシ", u"もりた たかし"},
        // A reading the dictionary spells otherwise, two kana short, or mostly other kana, stays as printed.
        {u"カズナリ", u"カズヤ", u"カズナリ"},
        {u"みずけい", u"シミズ ケイコ", u"みずけい"},
        {u"アカイウエオカキクケ", u"アカ イ", u"アカイウエオカキクケ"},
        {u"たかし", u"モリタ タカシ", u"たかし"},
        {u"シミズ マユミ", u"", u"シミズ マユミ"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mendedNameReading(QString::fromUtf16(c.printed), QString::fromUtf16(c.dictionary)), QString::fromUtf16(c.kept))
            << QString::fromUtf16(c.printed).toStdString();
}

// The dictionary knows a name whole as a family name and given names it files as such, a given
// name it lacks as a given name's character beside a common noun of one; not with suffixes,
// prefixes, verbs or other proper nouns.
TEST(NameReading, NamesTheDictionaryKnowsWhole)
{
    NameReading names;
    for (const char16_t* known : {u"三浦和人", u"木下 沙織", u"小野寺\u3000亮介", u"渡辺悠真"})
        EXPECT_TRUE(names.isKnownName(QString::fromUtf16(known))) << QString::fromUtf16(known).toStdString();
    for (const char16_t* unknown :
         {u"木下沙給", u"岡田降", u"柔原逆太", u"内田充也", u"藤田克過", u"上田克せ世", u"営業部長", u"中村", u"Anna Lopez", u""})
        EXPECT_FALSE(names.isKnownName(QString::fromUtf16(unknown))) << QString::fromUtf16(unknown).toStdString();
}

// A name read with an old form of a kanji takes the form used today only where the column's other
// reading, of as many characters, holds it there.
TEST(NameReading, OldKanjiFormsTakeTheFormTheOtherReadingHolds)
{
    const struct {
        const char16_t *name, *other, *kept;
    } cases[] = {
        {u"齋藤 真由美", u"斎藤 真由美", u"斎藤 真由美"},
        {u"渡邊 和也", u"渡辺和世", u"渡辺 和也"},
        {u"齋藤 真由美", u"齋藤 真由美", u"齋藤 真由美"},
        {u"齋藤 真由美", u"斎藤 真由", u"齋藤 真由美"},
        {u"髙橋 千尋", u"", u"髙橋 千尋"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withCommonKanjiForms(QString::fromUtf16(c.name), QString::fromUtf16(c.other)), QString::fromUtf16(c.kept))
            << QString::fromUtf16(c.name).toStdString();
}

} // namespace
