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

    // Reads the number rows again: line `row` must then hold one number of `digits`, and the
    // other lines keep their readings.
    void expectRowReadAgain(size_t row, const QString& digits) const
    {
        const PixPtr pix = pixOf(image.convertToFormat(QImage::Format_Grayscale8));
        TesseractEngine engine;
        ASSERT_TRUE(engine.open());
        std::vector<RecognizedLine> again = lines;
        ASSERT_TRUE(rereadGarbledNumberRows(engine, pix.get(), "eng", &again));
        const std::vector<NumberOnLine> numbers = numbersOfLine(again[row].text);
        ASSERT_EQ(numbers.size(), 1u) << again[row].text.toStdString();
        EXPECT_EQ(numbers.front().digits, digits);
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i != row) {
                EXPECT_EQ(again[i].text, lines[i].text);
            }
        }
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
    card.expectRowReadAgain(2, u"01273230436"_qs);
}

// A row whose number lost a digit, or took one of its icon, has a length no number of the card's
// country has, and is read again; a number of a right length keeps its reading even where the
// engine misread a digit of it, since nothing shows the misreading.
TEST(NumberRowRereading, ANumberOfALengthItsCountryHasNotIsReadAgain)
{
    DrawnCard card;
    card.draw(u"Amélie Faure"_qs, 56, 60, 120, u"Amélie Faure"_qs, 96);
    card.draw(u"04 28 49 70 65"_qs, 30, 580, 330, u"04 28 49 70 68"_qs, 90);
    card.draw(u"04 28 49 70 44"_qs, 30, 580, 380, u"04 28 49 704"_qs, 88);
    card.draw(u"afaure@etoile.fr"_qs, 24, 580, 430, u"afaure@etoile.fr"_qs, 90);
    card.expectRowReadAgain(2, u"0428497044"_qs);
}

} // namespace
