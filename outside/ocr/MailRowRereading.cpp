#include "outside/ocr/MailRowRereading.h"

#include "outside/ocr/LineRereading.h"
#include "outside/ocr/TesseractEngine.h"
#include "outside/ocr/WebAddressShape.h"

#include <QRegularExpression>

#include <algorithm>
#include <leptonica/allheaders.h>

namespace {

// The height at which a row of small type is read again: the engine misreads type a few pixels
// high, which a long e-mail address fitted into the card's width often is.
constexpr float kSmallRowHeightRead = 48;
// Rows of small type read again on one card at most: a card of small print has many.
constexpr int kSmallRowsRead = 3;

// A mail label, or a piece of an address with its "@", without a whole address after it.
bool startsAMailAddress(const QString& text)
{
    static const QRegularExpression label(
        QStringLiteral(R"(^[^\p{L}\p{N}]{0,3}\s*(?:e-?mail|mail|correo(?:\s+electr[oó]nico)?|courriel|e)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression piece(QStringLiteral(R"([A-Za-z0-9._\-]+@)"));
    return label.match(text).hasMatch() || piece.match(text).hasMatch();
}

bool holdsMailAddress(const QString& text)
{
    return !mailAddressIn(withWebAddressShape(text)).isEmpty();
}

// The height most lines of the card have, specks left out.
int bodyHeight(const std::vector<RecognizedLine>& lines)
{
    std::vector<int> heights;
    for (const RecognizedLine& l : lines) {
        if (QString(l.text).remove(u' ').size() >= 3)
            heights.push_back(l.bottom - l.top + 1);
    }
    std::nth_element(heights.begin(), heights.begin() + qsizetype(heights.size() / 2), heights.end());
    return heights.empty() ? 0 : heights[heights.size() / 2];
}

bool onOneRow(const RecognizedLine& a, const RecognizedLine& b)
{
    const int overlap = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return 2 * overlap > std::min(a.bottom - a.top, b.bottom - b.top);
}

} // namespace

bool rereadCutMailRows(TesseractEngine& engine, Pix* pix, int dpi, const std::string& data, std::vector<RecognizedLine>* lines)
{
    if (lines->empty() || std::any_of(lines->begin(), lines->end(), [](const RecognizedLine& l) { return holdsMailAddress(l.text); }))
        return false;
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix));
    const int body = bodyHeight(*lines);
    // What the engine made of a row of small type it could not read: letters, no number, no web
    // address; or what it read of the row's start.
    const auto scrap = [body](const RecognizedLine& l) {
        static const QRegularExpression web(QStringLiteral(R"(www|https?:|://)"), QRegularExpression::CaseInsensitiveOption);
        const auto count = [&l](auto is) { return std::count_if(l.text.begin(), l.text.end(), is); };
        const int h = l.bottom - l.top + 1;
        return startsAMailAddress(l.text.trimmed())
            || (4 * h < 3 * body && 5 * h > body && (count([](QChar c) { return c.isLetter(); }) >= 2 || l.text.contains(u'@'))
                && count([](QChar c) { return c.isDigit(); }) < 3 && !web.match(l.text).hasMatch());
    };
    std::vector<RecognizedLine> rowsRead;
    for (size_t i = 0; i < lines->size(); ++i) {
        RecognizedLine& line = (*lines)[i];
        if (startsAMailAddress(line.text.trimmed())) {
            // A margin of paper round the row, as the engine wants to see it.
            const int h = std::max(1, line.bottom - line.top);
            const RecognizedLine again = engine.recognizeLine(pix, dpi, data, std::max(0, line.left - h / 2), std::max(0, line.top - h / 4),
                                                              width - 1, std::min(height - 1, line.bottom + h / 4));
            if (holdsMailAddress(again.text)) {
                line.text = again.text;
                line.right = std::max(line.right, again.right);
                return true;
            }
        }
        const auto read = [&line](const RecognizedLine& r) { return r.left <= line.left && r.right >= line.right && onOneRow(r, line); };
        if (!scrap(line) || int(rowsRead.size()) >= kSmallRowsRead || std::any_of(rowsRead.begin(), rowsRead.end(), read))
            continue;
        // A row of small type the engine broke into scraps ("El isaquíns", "iessdlarsandalizacom")
        // is read again larger, as one, between the lines of other fields beside it on its row.
        RecognizedLine row = line;
        row.left = 0;
        row.right = width - 1;
        for (const RecognizedLine& other : *lines) {
            const bool words = std::count_if(other.text.begin(), other.text.end(), [](QChar c) { return c.isLetterOrNumber(); }) >= 3;
            if (!scrap(other) && words && onOneRow(other, line)) {
                if (other.right < line.left)
                    row.left = std::max(row.left, other.right + 1);
                else if (other.left > line.right)
                    row.right = std::min(row.right, other.left - 1);
            }
        }
        const auto inRow = [&](const RecognizedLine& other) {
            return scrap(other) && other.left >= row.left && other.right <= row.right
                && std::min(other.bottom, line.bottom) > std::max(other.top, line.top);
        };
        // The row's height is its small type's, not that of an icon before it.
        bool smallType = false;
        for (const RecognizedLine& other : *lines) {
            if (inRow(other) && 4 * (other.bottom - other.top + 1) < 3 * body) {
                row.top = smallType ? std::min(row.top, other.top) : other.top;
                row.bottom = smallType ? std::max(row.bottom, other.bottom) : other.bottom;
                smallType = true;
            }
        }
        // The scraps may hold only the row's small letters: the row is its ink's.
        const int centre = (line.top + line.bottom) / 2;
        for (const auto& [top, bottom] : inkRows(pix, row.left, line.top - body / 2, row.right, line.bottom + body / 2)) {
            if (top <= centre && bottom >= centre && bottom - top < body) {
                row.top = std::min(row.top, top);
                row.bottom = std::max(row.bottom, bottom);
            }
        }
        rowsRead.push_back(row);
        RecognizedLine again = readBoxAt(engine, pix, data, row, kSmallRowHeightRead);
        if (!holdsMailAddress(again.text))
            continue;
        // The scraps of the row the reading took in go.
        std::vector<RecognizedLine> kept;
        for (size_t j = 0; j < lines->size(); ++j) {
            if (j == i)
                kept.push_back(again);
            else if (!inRow((*lines)[j]))
                kept.push_back((*lines)[j]);
        }
        *lines = std::move(kept);
        return true;
    }
    return false;
}
