#include "outside/ocr/NumberRowRereading.h"

#include "outside/ocr/LineRereading.h"
#include "outside/ocr/NumberLabels.h"
#include "outside/ocr/TesseractEngine.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace {

// Below this the engine doubts a line enough that a number in it may be lost.
constexpr int kDoubtedRow = 65;
// The height a number row is read again at.
constexpr float kRowHeightRead = 40;
// Rows read again on one card at most.
constexpr int kRowsRead = 3;

bool holdsNumber(const QString& text)
{
    return !numbersOfLine(text).empty();
}

bool holdsContact(const QString& text)
{
    static const QRegularExpression address(QStringLiteral(R"(@\S+\.\S|www\.|https?:|\.(?:com|net|org)\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    return holdsNumber(text) || address.match(text).hasMatch();
}

// Whether a number of the line has a length no number of its country has ("04 28 49 704" in France,
// "+34 957 86155"): the engine lost or doubled a digit, or read a scrap into it.
bool holdsCutNumber(const QString& text, const QString& country)
{
    const std::vector<NumberOnLine> numbers = numbersOfLine(text);
    return std::any_of(numbers.begin(), numbers.end(),
                       [&country](const NumberOnLine& n) { return !hasLengthOfItsCountry(mendedForCountry(n, country).digits, country); });
}

// Whether a new reading of a row with a cut number is the better: all its numbers whole, none and no
// e-mail address lost.
bool mendsCutNumber(const QString& before, const QString& again, const QString& country)
{
    return !holdsCutNumber(again, country) && numbersOfLine(again).size() >= numbersOfLine(before).size()
        && again.count(u'@') >= before.count(u'@');
}

int heightOf(const RecognizedLine& l)
{
    return l.bottom - l.top + 1;
}

// Whether `line` is one of the rows of a contact block `row` belongs to: of its type size, starting
// or ending where it does, and the next row above or below it.
bool inBlockOf(const RecognizedLine& line, const RecognizedLine& row)
{
    const int h = heightOf(row);
    const int gap = std::max(line.top, row.top) - std::min(line.bottom, row.bottom);
    const bool aligned = std::abs(line.left - row.left) <= h || std::abs(line.right - row.right) <= h;
    return aligned && gap >= 0 && gap <= 2 * h && 2 * heightOf(line) <= 3 * h && 2 * heightOf(line) >= h;
}

} // namespace

bool rereadGarbledNumberRows(TesseractEngine& engine, Pix* pix, const std::string& data, std::vector<RecognizedLine>* lines)
{
    QStringList texts;
    for (const RecognizedLine& line : *lines)
        texts << line.text;
    const QString country = numberingCountryOf(texts);
    bool changed = false;
    int read = 0;
    for (RecognizedLine& line : *lines) {
        if (read >= kRowsRead)
            break;
        const bool cut = holdsCutNumber(line.text, country);
        if (!cut && (line.confidence >= kDoubtedRow || holdsContact(line.text)))
            continue;
        const bool inBlock = cut || std::any_of(lines->begin(), lines->end(), [&line](const RecognizedLine& row) {
            return &row != &line && row.confidence >= kDoubtedRow && holdsContact(row.text) && inBlockOf(line, row);
        });
        if (!inBlock)
            continue;
        ++read;
        RecognizedLine again = readBoxAt(engine, pix, data, line, kRowHeightRead);
        if (cut ? mendsCutNumber(line.text, again.text, country) : holdsNumber(again.text)) {
            line.text = again.text;
            line.confidence = again.confidence;
            changed = true;
        }
    }
    return changed;
}
