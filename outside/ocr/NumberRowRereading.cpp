#include "outside/ocr/NumberRowRereading.h"

#include "outside/ocr/LineRereading.h"
#include "outside/ocr/NumberLabels.h"
#include "outside/ocr/TesseractEngine.h"

#include <QRegularExpression>

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
    bool changed = false;
    int read = 0;
    for (RecognizedLine& line : *lines) {
        if (read >= kRowsRead)
            break;
        if (line.confidence >= kDoubtedRow || holdsContact(line.text))
            continue;
        const bool inBlock = std::any_of(lines->begin(), lines->end(), [&line](const RecognizedLine& row) {
            return &row != &line && row.confidence >= kDoubtedRow && holdsContact(row.text) && inBlockOf(line, row);
        });
        if (!inBlock)
            continue;
        ++read;
        RecognizedLine again = readBoxAt(engine, pix, data, line, kRowHeightRead);
        if (holdsNumber(again.text)) {
            line.text = again.text;
            line.confidence = again.confidence;
            changed = true;
        }
    }
    return changed;
}
