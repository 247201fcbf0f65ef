#include "outside/ocr/NumberRowRereading.h"

#include "outside/ocr/LineRereading.h"
#include "outside/ocr/NumberLabels.h"
#include "outside/ocr/TesseractEngine.h"

#include <QRegularExpression>
#include <QStringList>

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Below this the engine doubts a line enough that a number in it may be lost.
constexpr int kDoubtedRow = 65;
// The height a number row is read again at.
constexpr float kRowHeightRead = 40;
// Below this a number row without a label it knows may have lost its label to the misreading
// ("y:415-585-0138" for "M: 415-555-0138").
constexpr int kDoubtedLabel = 50;
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

bool holdsOnlyUnnamedNumbers(const QString& text)
{
    const std::vector<NumberOnLine> numbers = numbersOfLine(text);
    return !numbers.empty()
        && std::all_of(numbers.begin(), numbers.end(), [](const NumberOnLine& n) { return n.kind == NumberKind::Unknown; });
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

// "Тел. +7 (8442)": a number label or a plus and a few digits end the line, the rest of the number
// read into scraps beside it or not at all.
bool endsInStartedNumber(const QString& text)
{
    if (holdsNumber(text))
        return false;
    static const QRegularExpression tail(QStringLiteral(R"([+(]?[0-9][0-9()\s\-.]*$)"));
    const auto m = tail.match(text);
    if (!m.hasMatch())
        return false;
    const QString number = m.captured();
    const auto digits = std::count_if(number.begin(), number.end(), [](QChar c) { return c.isDigit(); });
    const QString lead = text.left(m.capturedStart()).trimmed();
    return digits >= 2 && digits <= 6 && (number.startsWith(u'+') || (!lead.isEmpty() && isNumberLabelOnly(lead)));
}

// The line's box run on to the right as far as the next line of text on its row (scraps of the
// number's own ink left aside), or the card's edge.
RecognizedLine runOnToTheRight(const std::vector<RecognizedLine>& lines, const RecognizedLine& line, int width)
{
    const int h = heightOf(line);
    RecognizedLine wide = line;
    wide.right = width - 1;
    for (const RecognizedLine& other : lines) {
        const int overlap = std::min(other.bottom, line.bottom) - std::max(other.top, line.top);
        if (&other != &line && 2 * overlap > h && other.left > line.right && other.right - other.left >= 4 * h)
            wide.right = std::min(wide.right, other.left - h / 2);
    }
    wide.right = std::max(wide.right, line.right);
    return wide;
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
        const RecognizedLine started = endsInStartedNumber(line.text) ? runOnToTheRight(*lines, line, int(pixGetWidth(pix))) : line;
        const bool runsOn = started.right > line.right + heightOf(line);
        const bool unnamed = line.confidence < kDoubtedLabel && holdsOnlyUnnamedNumbers(line.text);
        if (!cut && !runsOn && !unnamed && (line.confidence >= kDoubtedRow || holdsContact(line.text)))
            continue;
        const bool inBlock = cut || runsOn || unnamed || std::any_of(lines->begin(), lines->end(), [&line](const RecognizedLine& row) {
            return &row != &line && row.confidence >= kDoubtedRow && holdsContact(row.text) && inBlockOf(line, row);
        });
        if (!inBlock)
            continue;
        ++read;
        const RecognizedLine again = readBoxAt(engine, pix, data, runsOn ? started : line, kRowHeightRead);
        const bool better = cut       ? mendsCutNumber(line.text, again.text, country)
                            : runsOn  ? again.text.count(u'@') >= line.text.count(u'@')
                            : unnamed ? again.confidence >= kDoubtedRow && !holdsOnlyUnnamedNumbers(again.text)
                                            && mendsCutNumber(line.text, again.text, country)
                                      : true;
        if (holdsNumber(again.text) && better) {
            if (runsOn)
                line.right = again.right;
            line.text = again.text;
            line.confidence = again.confidence;
            changed = true;
        }
    }
    return changed;
}
