// The script trial of Automatic with the real engine: a card whose script a reading already tells
// is not read with the models of other scripts, whose engines cost as much to make as a card to
// read.
#include "outside/ocr/ModelTrial.h"

#include "outside/ocr/CardLanguage.h"
#include "tests/outside/ocr/ScannedCard.h"
#include "tests/support/cards/SyntheticCard.h"

#include <gtest/gtest.h>

namespace {

bool madeAnEngineOf(const TesseractEngine& engine, const std::vector<std::string>& models)
{
    const std::vector<std::string> made = engine.models();
    return std::any_of(made.begin(), made.end(), [&models](const std::string& m) {
        return std::any_of(models.begin(), models.end(), [&m](const std::string& one) { return m.find(one) != std::string::npos; });
    });
}

// The script Automatic's trial finds for a card whose first reading was made with `firstData`.
int scriptFound(TesseractEngine& engine, const QImage& card, const std::string& firstData, int* missing)
{
    const PixPtr pix = pixOf(card);
    std::vector<RecognizedLine> lines;
    int confidence = 0;
    if (!engine.open() || !engine.recognize(pix.get(), 300, firstData, 0, 0, card.width() - 1, card.height() - 1, &lines, &confidence))
        return -2;
    return scriptLanguageOfCard(engine, pix.get(), 300, lines, firstData, lines.size() < 3 || confidence < 65, missing);
}

TEST(ModelTrial, CardWhoseScriptAReadingTellsIsNotReadWithOtherScriptsModels)
{
    const struct {
        const char* what;
        QImage card;
        std::string firstData; // the models of the first reading, as Automatic chose them
        int language;
        std::vector<std::string> notMade;
    } cases[] = {
        // Kana-less but for one, with a legal form, the postal mark and a .jp domain only Japanese cards print.
        {"Japanese card in kanji", japaneseCard(), "jpn+eng", kLanguageJapanese, {"chi_", "kor"}},
        // Two lines of Japanese the English model could not read beside English ones.
        {"Japanese and English card read in English",
         drawCard({{u"Sakura Dental Clinic"_qs, 40},
                   {u"野村 由美"_qs, 64},
                   {u"さくら歯科クリニック"_qs, 40},
                   {u"ひかり通り 2-3"_qs, 40},
                   {u"Yumi Nomura, Dentist"_qs, 34},
                   {u"Phone +81 22 123 4567"_qs, 34},
                   {u"yumi.nomura@sakura-dental.com"_qs, 34}},
                  u"IPAGothic"_qs),
         "eng",
         kLanguageJapanese,
         {"chi_", "kor"}},
        // Hangul the Korean model reads surely beside English lines: no Chinese model reads it better.
        {"Korean and English card read in English",
         drawCard({{u"Hanul Tech Co., Ltd."_qs, 36},
                   {u"주식회사 한울테크"_qs, 36},
                   {u"김민준"_qs, 56},
                   {u"Kim Min-jun, Sales Manager"_qs, 32},
                   {u"영업부 과장"_qs, 34},
                   {u"서울특별시 강남구 테헤란로 123"_qs, 34},
                   {u"Tel +82 2 1234 5678"_qs, 32},
                   {u"minjun.kim@hanultech.co.kr"_qs, 30}},
                  u"WenQuanYi Micro Hei"_qs),
         "eng",
         kLanguageKorean,
         {"chi_"}},
        // Hangul the Japanese model made kanji and kana of, on a card that shows nothing of Korea
        // but its script: the Korean model reads its lines clearly surer.
        {"Korean card read in Japanese",
         drawCard({{u"주식회사 초록에너지"_qs, 40},
                   {u"전정희"_qs, 64},
                   {u"경영지원팀 센터장"_qs, 34},
                   {u"서울특별시 종로구 종로 124"_qs, 34},
                   {u"광교비즈니스센터 2층"_qs, 34},
                   {u"전화 02-8197-7048"_qs, 32},
                   {u"jeon@chorok.com"_qs, 30}},
                  u"NanumBarunGothic"_qs),
         "jpn+eng",
         kLanguageKorean,
         {"chi_"}},
        // Rows of numbers hold too few letters to count as read words, yet the English model read
        // them surely: they are no rows of Hangul the layout dropped.
        {"English card with rows of numbers",
         drawCard({{u"Bluefin Studio"_qs, 40},
                   {u"Anna Kowalski"_qs, 60},
                   {u"Lead Designer"_qs, 32},
                   {u"75 State Street, Boston, MA 02109"_qs, 30},
                   {u"T +1 617 555 0107      |      D 617.555.0165"_qs, 30},
                   {u"M 646.555.0123      |      F 617.555.0199"_qs, 30},
                   {u"anna@bluefinstudio.net"_qs, 30}},
                  u"DejaVu Sans"_qs),
         "eng",
         kLanguageEnglish,
         {"kor", "chi_"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TesseractEngine engine;
        int missing = 0;
        EXPECT_EQ(scriptFound(engine, c.card, c.firstData, &missing), c.language);
        EXPECT_FALSE(madeAnEngineOf(engine, c.notMade));
        EXPECT_EQ(missing, 0);
    }
}

// Chinese cards Automatic took for Japanese or English: Han lines the Chinese model reads clearly
// surer than the Japanese one, without a kana, on a card that prints nothing only Chinese cards
// print; and a card that reads well in English but for its Chinese lines, with a Chinese number
// and domain.
TEST(ModelTrial, ChineseCardIsChineseWithoutItsMarksOrWithOneLineUnread)
{
    const struct {
        const char* what;
        QImage card;
        std::string firstData;
        int language;
        int orLanguage; // nothing on the card tells its Chinese script
    } cases[] = {
        {"traditional card read in English, no mark of a Chinese card",
         drawCard({{u"Kang Jian Medical"_qs, 34},
                   {u"何建宏"_qs, 60},
                   {u"技術經理"_qs, 34},
                   {u"新北市板橋區文化路一段187號"_qs, 32},
                   {u"國際金融大樓30樓"_qs, 32},
                   {u"02-2121-2853"_qs, 32},
                   {u"chienhung.ho@kangjian-med.com"_qs, 30}},
                  u"WenQuanYi Micro Hei"_qs),
         "eng",
         kLanguageChineseTraditional,
         kLanguageChineseSimplified},
        {"simplified card read in English but for its company and name",
         drawCard({{u"天润食品股份有限公司"_qs, 40},
                   {u"林伟"_qs, 64},
                   {u"LIN Wei"_qs, 30},
                   {u"Tel. +86 21 6567 2105"_qs, 30},
                   {u"Fax. +86 21 6567 2187"_qs, 30},
                   {u"Email. wlin@tianrun-food.com.cn"_qs, 30},
                   {u"Web. tianrun-food.com.cn"_qs, 30}},
                  u"WenQuanYi Micro Hei"_qs),
         "eng",
         kLanguageChineseSimplified,
         kLanguageChineseSimplified},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TesseractEngine engine;
        int missing = 0;
        const int found = scriptFound(engine, c.card, c.firstData, &missing);
        EXPECT_TRUE(found == c.language || found == c.orLanguage) << found;
    }
}

// A Korean card whose Hangul rows the English layout dropped without a word, keeping only its
// Latin lines, which it reads well: the rows left unread are tried with the Korean models.
TEST(ModelTrial, HangulRowsTheEnglishReadingDroppedAreTried)
{
    const QImage card = drawCard({{u"주인호"_qs, 64},
                                  {u"CHU In-ho"_qs, 24},
                                  {u"연구기획팀 부회장"_qs, 32},
                                  {u"경상남도 진주시 문산읍 월아산로 221"_qs, 32},
                                  {u"Tel 055-758-9199"_qs, 30},
                                  {u"inho@interlink-kr.com"_qs, 30}},
                                 u"NanumMyeongjo"_qs);
    TesseractEngine engine;
    ASSERT_TRUE(engine.open());
    const PixPtr pix = pixOf(card);
    std::vector<RecognizedLine> read;
    int confidence = 0;
    ASSERT_TRUE(engine.recognize(pix.get(), 300, "eng", 0, 0, card.width() - 1, card.height() - 1, &read, &confidence));
    std::vector<RecognizedLine> latin;
    std::copy_if(read.begin(), read.end(), std::back_inserter(latin), [](const RecognizedLine& l) {
        return l.text.contains(u'@') || l.text.contains(u"9199"_qs) || l.text.contains(u"In-ho"_qs);
    });
    ASSERT_EQ(latin.size(), 3u);
    int missing = 0;
    EXPECT_EQ(scriptLanguageOfCard(engine, pix.get(), 300, latin, "eng", false, &missing), kLanguageKorean);
}

// A Russian card whose type the English model made Latin words of, too few of them of mixed case to
// look Cyrillic by themselves ("Tapacosa Avactacus", "Mnasybiii 6yxrantep"): its .ru domain and
// its number in the country's own form have its doubted lines tried with the Russian models.
TEST(ModelTrial, DoubtedLinesOfACardFromRussiaAreTriedInRussian)
{
    const QImage card = drawCard({{u"Тарасова Анастасия"_qs, 60},
                                  {u"Главный бухгалтер"_qs, 36},
                                  {u"Отдел кадров"_qs, 36},
                                  {u"Тел. 8 (812) 473-14-94"_qs, 34},
                                  {u"anastasiya@severnyi-veter.ru"_qs, 34}},
                                 u"DejaVu Sans"_qs);
    TesseractEngine engine;
    ASSERT_TRUE(engine.open());
    const PixPtr pix = pixOf(card);
    std::vector<RecognizedLine> lines;
    ASSERT_TRUE(engine.recognize(pix.get(), 300, "eng", 0, 0, card.width() - 1, card.height() - 1, &lines));
    ASSERT_EQ(lines.size(), 5u);
    // As the English model read a card set in another face.
    const char16_t* read[] = {u"Tapacosa Avactacus", u"Mnasybiii 6yxrantep", u"Orgen kagpos"};
    for (size_t i = 0; i < 3; ++i)
        lines[i] = {QString::fromUtf16(read[i]), lines[i].left, lines[i].top, lines[i].right, lines[i].bottom, 30};
    int missing = 0;
    EXPECT_EQ(scriptLanguageOfCard(engine, pix.get(), 300, lines, "eng", false, &missing), kLanguageRussian);
}

} // namespace
