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

// Rows whose number the engine misread in a way the line shows are read again: a number of a
// length no number of the card's country has (a digit lost, or one of its icon taken in); a row
// ended after the label and first digits, read on to the next text of its row; a row the engine
// doubts deeply whose label it misread. A number of a right length, or a row read surely, keeps
// its reading even where a digit is wrong, since nothing shows the misreading.
TEST(NumberRowRereading, NumberRowsMisreadAsTheLineShowsAreReadAgain)
{
    struct Drawn {
        const char16_t* text;
        int pixelSize, x, baseline;
        const char16_t* read;
        int confidence;
    };
    const struct {
        std::vector<Drawn> lines;
        size_t row;
        int ninthsRead; // of the row's box the engine gave it
        const char16_t* digits;
    } cases[] = {
        {{{u"Amélie Faure", 56, 60, 120, u"Amélie Faure", 96},
          {u"04 28 49 70 65", 30, 580, 330, u"04 28 49 70 68", 90},
          {u"04 28 49 70 44", 30, 580, 380, u"04 28 49 704", 88},
          {u"afaure@etoile.fr", 24, 580, 430, u"afaure@etoile.fr", 90}},
         2, 9, u"0428497044"},
        {{{u"Stanislav Ershov", 56, 60, 120, u"Stanislav Ershov", 96},
          {u"Tel. +7 (8442) 728-21-27", 30, 60, 330, u"Tel. +7 (8442)", 91},
          {u"ershov@okakhim.ru", 30, 620, 330, u"ershov@okakhim.ru", 92}},
         1, 5, u"+784427282127"},
        {{{u"Bethany Kowalski", 56, 60, 120, u"Bethany Kowalski", 96},
          {u"T: 415-555-0100", 30, 580, 280, u"1: 415-555-0100", 88},
          {u"M: 415-555-0138", 30, 580, 330, u"y:415-585-0138", 8}},
         2, 9, u"4155550138"},
    };
    for (const auto& c : cases) {
        DrawnCard card;
        for (const Drawn& d : c.lines)
            card.draw(QString::fromUtf16(d.text), d.pixelSize, d.x, d.baseline, QString::fromUtf16(d.read), d.confidence);
        RecognizedLine& row = card.lines[c.row];
        row.right = row.left + (row.right - row.left) * c.ninthsRead / 9;
        SCOPED_TRACE(row.text.toStdString());
        card.expectRowReadAgain(c.row, QString::fromUtf16(c.digits));
    }
}

} // namespace
