// The script trial of Automatic with the real engine: a card the Japanese model tells as Japanese
// is not read with the Chinese and Korean models, whose engines cost as much to make as a card to
// read.
#include "outside/ocr/ModelTrial.h"

#include "outside/ocr/CardLanguage.h"
#include "tests/outside/ocr/ScannedCard.h"
#include "tests/support/cards/SyntheticCard.h"

#include <gtest/gtest.h>

namespace {

bool madeAnEngineOfAnotherScript(const TesseractEngine& engine)
{
    const std::vector<std::string> made = engine.models();
    return std::any_of(made.begin(), made.end(),
                       [](const std::string& m) { return m.find("chi_") != std::string::npos || m.find("kor") != std::string::npos; });
}

TEST(ModelTrial, CardTheJapaneseModelTellsIsReadWithNoOtherScriptsModels)
{
    const struct {
        const char* what;
        QImage card;
        std::string firstData; // the models of the first reading, as Automatic chose them
    } cases[] = {
        // Kana-less but for one, with a legal form, the postal mark and a .jp domain only Japanese cards print.
        {"Japanese card in kanji", japaneseCard(), "jpn+eng"},
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
         "eng"},
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
        EXPECT_EQ(scriptLanguageOfCard(engine, pix.get(), 300, lines, c.firstData, confidence < 65, &missing), kLanguageJapanese);
        EXPECT_FALSE(madeAnEngineOfAnotherScript(engine));
        EXPECT_EQ(missing, 0);
    }
}

} // namespace
