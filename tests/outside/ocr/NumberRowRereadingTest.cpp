// A number row of the contact block the engine made nonsense of is read again alone.
#include "outside/ocr/NumberRowRereading.h"

#include "outside/ocr/NumberLabels.h"
#include "outside/ocr/TesseractEngine.h"
#include "tests/outside/ocr/ScannedCard.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct DrawnCard {
    QImage image{1075, 650, QImage::Format_RGB32};
    std::vector<RecognizedLine> lines;

    DrawnCard() { image.fill(Qt::white); }

    // Draws `text` and keeps it as the engine would read it: `read` with `confidence`.
    void draw(const QString& text, int pixelSize, int x, int baseline, const QString& read, int confidence)
    {
        lines.push_back(drawLine(&image, text, pixelSize, x, baseline, confidence));
        lines.back().text = read;
    }
};

TEST(NumberRowRereading, ANumberRowReadAsNonsenseIsReadAgain)
{
    DrawnCard card;
    card.draw(u"Niall Shackleton"_qs, 56, 60, 120, u"Niall Shackleton"_qs, 96);
    // A name the engine doubts, far from the numbers, is not read again.
    card.draw(u"Sales Executive"_qs, 30, 60, 180, u"Sa1es Exeeutive"_qs, 40);
    card.draw(u"01273 230436"_qs, 30, 580, 330, u"@ versus"_qs, 53);
    card.draw(u"+44 7459 657593"_qs, 30, 580, 380, u"+44 7459 657593"_qs, 88);
    card.draw(u"niall@bluebell-nurseries.co.uk"_qs, 24, 580, 430, u"niall@bluebell-nurseries.co.uk"_qs, 90);
    // A line of the block the engine doubts that is no number keeps its reading.
    card.draw(u"Field Services"_qs, 30, 580, 480, u"Fie1d Servlces"_qs, 50);
    const PixPtr pix = pixOf(card.image.convertToFormat(QImage::Format_Grayscale8));
    TesseractEngine engine;
    ASSERT_TRUE(engine.open());
    std::vector<RecognizedLine> lines = card.lines;
    ASSERT_TRUE(rereadGarbledNumberRows(engine, pix.get(), "eng", &lines));
    const std::vector<NumberOnLine> numbers = numbersOfLine(lines[2].text);
    ASSERT_EQ(numbers.size(), 1u) << lines[2].text.toStdString();
    EXPECT_EQ(numbers.front().digits, u"01273230436"_qs);
    for (size_t i : {0u, 1u, 3u, 4u, 5u})
        EXPECT_EQ(lines[i].text, card.lines[i].text);
}

} // namespace
