#include "outside/ocr/CardLanguage.h"

#include <gtest/gtest.h>

namespace {

std::vector<RecognizedLine> readLines(std::initializer_list<const char16_t*> texts, int confidence = 90)
{
    std::vector<RecognizedLine> lines;
    int top = 10;
    for (const char16_t* text : texts) {
        lines.push_back({QString::fromUtf16(text), 20, top, 600, top + 29, confidence});
        top += 40;
    }
    return lines;
}

// Cards as the English model reads them: its one accented letter is é, the others come out bare or
// as look-alikes ("Mufioz" of "Muñoz").
TEST(CardLanguage, LatinLanguageByTheWordsTheEnglishModelRead)
{
    const struct {
        std::initializer_list<const char16_t*> lines;
        int language;
        const char* what;
    } cases[] = {
        {{u"Groupe Etoile Conseil", u"Chargée de clientéle", u"Stéphane Moreau", u"25 quai des Célestins", u"75002 Paris",
          u"Tél. +33 2 22 67 48 28", u"Portable 06 98 91 15 86", u"stephane.moreau@groupe.fr"},
         kLanguageFrench,
         "French, its postal code before the town as in German"},
        {{u"Logistica Cantabrica S.L.", u"Departamento de Ventas — Jefe de ventas", u"Inigo Mufioz", u"Calle de Alcala, 45",
          u"48001 Bilbao", u"Tfno. +34 945 516 664", u"iimunoz@logistica.es"},
         kLanguageSpanish,
         "Spanish"},
        {{u"Caffe Moretti S.r.l.", u"Direttore commerciale", u"Niccolo Ferrari", u"Via Garibaldi, 24", u"20121 Milano (MI)",
          u"Cell. +39 347 123 4567"},
         kLanguageItalian,
         "Italian"},
        {{u"Conceicao Araujo", u"Téxteis do Minho, S.A.", u"Engenheiro de projeto", u"Rua Augusta, 125", u"4000-447 Porto",
          u"Tel. +351 283 202 143"},
         kLanguagePortuguese,
         "Portuguese"},
        {{u"Polaris Data GmbH", u"Johanna Keller", u"Projektleiterin", u"Hafenweg 8", u"48155 Minster", u"Tel. +49 251 5462 943"},
         kLanguageGerman,
         "German"},
        {{u"Anna Weber", u"MaximilianstraBe 35, 80539 Miinchen", u"Telefon 089 123456"}, kLanguageGerman, "ß and ü as the English model reads them"},
        {{u"Lena Vogt", u"Theodor-Heuss-Str. 12", u"70174 Stuttgart", u"Mobil 0151 2345678"}, kLanguageGerman, "a German card without its country"},
        {{u"LENA GUNTHER", u"Grimmaische Strafe 14", u"01067 Dresden", u"0351 237 374", u"l.gunther@sternberg-pharma.eu"},
         kLanguageGerman,
         "ß read as f, and the postal code before the town"},
        {{u"Begona Ibanez", u"Calle de Alcala, 45", u"28014 Madrid"}, kLanguageSpanish, "a Spanish postal code before the town"},
        {{u"Ian McBride", u"12 Abbey Road, London NW8 9AY", u"Mobile 07700 900123"}, kLanguageEnglish, "a B inside a Scottish name"},
        {{u"Acme Widgets Inc.", u"Anna Lopez", u"Senior Engineer", u"1 Main Street", u"Springfield, IL 62701", u"Tel: +1 217 555 0134",
          u"anna.lopez@acme-widgets.com"},
         kLanguageEnglish,
         "English"},
        {{u"Northwind Analytics Ltd", u"Sofia Ferreira", u"Head of Sales", u"12 Abbey Road, London NW8 9AY", u"Mobile 07700 900123"},
         kLanguageEnglish,
         "a Portuguese name on an English card"},
        {{u"Harbour Line", u"Los Angeles, CA 90012", u"Director of Operations", u"Phone (213) 555 0100"},
         kLanguageEnglish,
         "Spanish words of an American town"},
        {{u"Marie Dupont", u"Design Studio"}, kLanguageEnglish, "too little to tell"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(latinLanguageOf(readLines(c.lines)), c.language) << c.what;
}

TEST(CardLanguage, HanCharactersOfChineseAndOfJapaneseCards)
{
    // Kana the Japanese model is sure of make a card Japanese; Chinese shows its own words.
    EXPECT_TRUE(showsKana(readLines({u"株式会社 北斗システム", u"野村 由美"})));
    EXPECT_TRUE(showsKana(readLines({u"東京都千代田区丸の内1-1-1"})));
    EXPECT_FALSE(showsKana(readLines({u"北京华信科技有限公司", u"总经理", u"王小明"})));
    EXPECT_FALSE(showsKana(readLines({u"株式会社 北斗システム"}, 40))) << "kana of a doubted line";

    // What only a Chinese card prints, and what only a Japanese one does: a kana-less card showing
    // the latter and not the former is Japanese without trying the Chinese and Korean models.
    const struct {
        const char16_t* line;
        bool chinese, japanese;
    } cases[] = {
        {u"北京华信科技有限公司", true, false},
        {u"手機：0912 345 678", true, false},
        {u"电话：+86 10 8520 1234", true, false},
        {u"广东省深圳市南山区科技园路18号", true, false},
        {u"台北市信義區信義路五段7號", true, false},
        {u"電話 03-1234-5678", false, false},
        {u"(02) 123-4567", false, false},
        {u"東京都千代田区丸の内1-1-1", false, false},
        {u"株式会社山田商事", false, true},
        {u"〒460-0008 名古屋市中区栄3-4-5", false, true},
        {u"600-8216 京都市下京区東塩小路町", false, true},
        {u"携帯 090-1234-5678", false, true},
        {u"TEL +81 3 1234 5678", false, true},
        {u"m.abe@sakura-dental.jp", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(showsChinese(readLines({c.line})), c.chinese) << QString::fromUtf16(c.line).toStdString();
        EXPECT_EQ(showsJapanese(readLines({c.line})), c.japanese) << QString::fromUtf16(c.line).toStdString();
    }
    // A Chinese model reads the 号 and 区 of a Japanese address in its own script.
    EXPECT_FALSE(showsChinese(readLines({u"名古屋市中區榮3號"}), true));

    EXPECT_GT(traditionalLead(readLines({u"電話 +886 2 2345 6789", u"www.hongda.com.tw"})), 0);
    EXPECT_GT(traditionalLead(readLines({u"手機 0912 345 678"})), 0);
    EXPECT_LT(traditionalLead(readLines({u"+86 10 8520 1234", u"lihua@huaxin.com.cn"})), 0);
    EXPECT_LT(traditionalLead(readLines({u"手机 138 1234 5678"})), 0);
    EXPECT_EQ(traditionalLead(readLines({u"北京华信科技有限公司"})), 0);

    // The kinds of what only a Chinese card prints, as the Japanese or English model read them.
    EXPECT_EQ(chineseMarkCount(readLines({u"英徳科技股傍有限公司", u"電郵. w.1eeekaitak-tech .tw", u"Tel: (02) 3653-6767"})), 3);
    EXPECT_EQ(chineseMarkCount(readLines({u"@ +86 170 3068 7901", u"Email m.1in@twprecision. tw", u"邮编 : 200040"})), 3);
    EXPECT_EQ(chineseMarkCount(readLines({u"株式会社山田商事", u"電話 03-1234-5678", u"yamada@shoji.co.jp"})), 0);
}

// What only a card from Korea prints, however a model read the rest of its lines.
TEST(CardLanguage, CardsFromKoreaByTheirNumbersAndDomains)
{
    const struct {
        const char16_t* line;
        bool korea;
    } cases[] = {
        {u"AS}. +82 2 6547 5636", true},   {u"Tel 0082 31 813 4901", true}, {u"d.kwon@miraelogis.co.kr", true},
        {u"https://www.hanbit.kr/", true}, {u"H.P: 010.7989.6715", true},   {u"H. P 010-1234-5678", true},
        {u"TEL +81 3 1234 5678", false},   {u"+1 (415) 555-0182", false},   {u"tom@kraftwerk.de", false},
        {u"HP Enterprise", false},         {u"+828 555 0000", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(showsKorea(readLines({c.line})), c.korea) << QString::fromUtf16(c.line).toStdString();
}

// What only a card from Russia prints, however a model read the rest of its lines.
TEST(CardLanguage, CardsFromRussiaByTheirNumbersAndDomains)
{
    const struct {
        const char16_t* line;
        bool russia;
    } cases[] = {
        {u"T 8 (812) 473-14-94", true},  {u"Ten.: +7 495 294-30-90", true}, {u"+7 (916) 924-08-28", true},
        {u"d.volkov@stroyinvest.ru", true}, {u"www.severnyi-veter.ru/", true}, {u"+1 (415) 555-0182", false},
        {u"Tel 08 (0341) 123-45-67", false}, {u"+71 555 0000", false},        {u"tom@kraftwerk.de", false},
        {u"anna@rural.com", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(showsRussia(readLines({c.line})), c.russia) << QString::fromUtf16(c.line).toStdString();
}

TEST(CardLanguage, LinesOfAnotherScriptTheEnglishModelDoubted)
{
    std::vector<RecognizedLine> russian = readLines({u"OOO «CTpo/nHBecT»", u"MeHemxep no npofaxkam", u"191186 CankT-Netep6ypr"}, 50);
    russian.push_back({QString::fromUtf16(u"d.volkov@stroyinvest.ru"), 20, 200, 600, 229, 60});
    russian.push_back({QString::fromUtf16(u"Ten.: +7 495 294-30-90"), 20, 240, 600, 269, 92});
    russian.push_back({QString::fromUtf16(u"EEEEIEEETETEEEETTSYS"), 20, 280, 600, 309, 0});
    const std::vector<RecognizedLine> doubted = linesInDoubt(russian);
    ASSERT_EQ(doubted.size(), 3u) << "not the e-mail address, the line read surely or the logo's scrap";
    EXPECT_TRUE(readsLikeCyrillic(doubted));

    // Hangul read as letters, and a name in Latin letters the model doubts, do not look Cyrillic.
    EXPECT_FALSE(readsLikeCyrillic(readLines({u"FAISAL SEBEL", u"MBSH8A Set Bal et= 123"}, 30)));
    EXPECT_FALSE(readsLikeCyrillic(readLines({u"Inigo Mufioz", u"McAllister and DeSantis"}, 50)));
}

} // namespace
