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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TesseractEngine engine;
        ASSERT_TRUE(engine.open());
        const PixPtr pix = pixOf(c.card);
        std::vector<RecognizedLine> lines;
        int confidence = 0;
        ASSERT_TRUE(engine.recognize(pix.get(), 300, c.firstData, 0, 0, c.card.width() - 1, c.card.height() - 1, &lines, &confidence));
        int missing = 0;
        EXPECT_EQ(scriptLanguageOfCard(engine, pix.get(), 300, lines, c.firstData, lines.size() < 3 || confidence < 65, &missing),
                  c.language);
        EXPECT_FALSE(madeAnEngineOf(engine, c.notMade));
        EXPECT_EQ(missing, 0);
    }
}

} // namespace
