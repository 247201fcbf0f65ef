#include "outside/ocr/ColumnDashes.h"

#include <QRegularExpression>

#include <algorithm>
#include <leptonica/allheaders.h>
#include <vector>

namespace {

// Ink is darker than this on the cleaned card.
constexpr int kInkLevel = 140;
// Paper of up to this many rows inside a character is still the character.
constexpr int kGapInCharacter = 2;
// Cells lower than this are specks.
constexpr int kLeastCell = 3;

// A character of the column cut apart where paper runs across it: its rows, the span of its ink
// across the column, and the ink's usual and largest width in a row.
struct Cell {
    int top = 0, bottom = 0;
    int left = 0, right = 0;
    int stroke = 0, widest = 0;
};

// Clearly narrower than the column's characters stand apart: a digit, a dash or a Latin letter
// set upright, not a kanji or most kana, nor characters run together where little paper stands
// between them.
bool isNarrow(const Cell& c, int pitch)
{
    return 10 * (c.right - c.left + 1) <= 7 * pitch;
}

// How far apart the column's characters usually stand: the median step from one cell's top to the
// next. A cell far taller than the column is wide is characters run together, and its step no
// character's.
int pitchOf(const std::vector<Cell>& cells, int columnWidth)
{
    std::vector<int> steps, ofRunTogether;
    for (size_t i = 1; i < cells.size(); ++i) {
        const int step = cells[i].top - cells[i - 1].top;
        (2 * (cells[i - 1].bottom - cells[i - 1].top + 1) <= 3 * columnWidth ? steps : ofRunTogether).push_back(step);
    }
    if (steps.empty())
        steps = ofRunTogether;
    if (steps.empty())
        return 0;
    std::nth_element(steps.begin(), steps.begin() + std::ptrdiff_t(steps.size() / 2), steps.end());
    return steps[steps.size() / 2];
}

// A stroke along the column as wide as it is all the way, with nothing jutting out of it.
bool isPlainStroke(const Cell& c)
{
    const int w = c.right - c.left + 1, h = c.bottom - c.top + 1;
    return 3 * w <= h && w <= c.stroke + 1 && c.widest <= c.stroke + 1;
}

std::vector<Cell> cellsOf(Pix* pix, int left, int top, int right, int bottom)
{
    left = std::max(0, left), top = std::max(0, top);
    right = std::min(int(pixGetWidth(pix)) - 1, right), bottom = std::min(int(pixGetHeight(pix)) - 1, bottom);
    const l_uint32* data = pixGetData(pix);
    const int wpl = int(pixGetWpl(pix));
    std::vector<Cell> cells;
    std::vector<int> widths;
    const auto close = [&] {
        Cell& c = cells.back();
        std::sort(widths.begin(), widths.end());
        c.stroke = widths[widths.size() / 2];
        c.widest = widths.back();
        widths.clear();
        if (c.bottom - c.top + 1 < kLeastCell)
            cells.pop_back();
    };
    for (int y = top; y <= bottom; ++y) {
        const l_uint32* line = data + size_t(y) * size_t(wpl);
        int first = -1, last = -1;
        for (int x = left; x <= right; ++x) {
            if (int(GET_DATA_BYTE(line, x)) < kInkLevel)
                first = first < 0 ? x : first, last = x;
        }
        if (first < 0)
            continue;
        if (cells.empty() || y - cells.back().bottom > kGapInCharacter + 1) {
            if (!cells.empty())
                close();
            cells.push_back({y, y, first, last, 0, 0});
        }
        Cell& c = cells.back();
        c.bottom = y, c.left = std::min(c.left, first), c.right = std::max(c.right, last);
        widths.push_back(last - first + 1);
    }
    if (!cells.empty())
        close();
    return cells;
}

bool isOneLike(QChar c)
{
    return c == u'1' || c == u'I' || c == u'l' || c == u'|' || c == u'｜';
}

bool isHalfWidth(QChar c)
{
    return c.isDigit() || isOneLike(c) || c == u'-' || c == u'－' || c == u'+';
}

// How wide the cells [first, end) that are no plain stroke usually stand: a digit other than 1
// stands about so wide.
int usualWidth(const std::vector<Cell>& cells, size_t first, size_t end)
{
    std::vector<int> widths;
    for (size_t k = first; k < end; ++k) {
        if (!isPlainStroke(cells[k]))
            widths.push_back(cells[k].right - cells[k].left + 1);
    }
    std::sort(widths.begin(), widths.end());
    return widths.empty() ? 0 : widths[widths.size() / 2];
}

// The run of text `read` (digits, 1s and what the model made of dashes) laid over the cells
// [first, end) of the column from their end back, each cell a character: a plain stroke is a dash,
// any other cell a digit. The model may have read a 1 too many, or no mark at all for a dash; a
// digit other than 1 never stands on a stroke, and no digit goes unread. The number as the ink has
// it, from the fewest such slips (at most two, and one way only), else empty. A 1 (flagged or
// footed) stands narrower than the other digits.
QString runOverCells(const std::vector<Cell>& cells, size_t first, size_t end, const QString& read)
{
    const auto isDashRead = [](QChar c) { return isOneLike(c) || c == u'ー' || c == u'-' || c == u'－'; };
    constexpr int kMaxSlips = 2;
    struct Way {
        int slips = kMaxSlips + 1;
        QString number;
        bool ambiguous = false;
    };
    const int digitWidth = usualWidth(cells, first, end);
    const size_t n = size_t(read.size());
    // ways[i][j]: the last i characters of the text over the last j cells.
    std::vector<std::vector<Way>> ways(n + 1, std::vector<Way>(end - first + 1));
    ways[0][0].slips = 0;
    const auto offer = [](Way& to, const Way& from, int slips, QChar put) {
        if (from.slips + slips > kMaxSlips)
            return;
        const QString number = put.isNull() ? from.number : QString(put) + from.number;
        if (from.slips + slips < to.slips)
            to = {from.slips + slips, number, from.ambiguous};
        else if (from.slips + slips == to.slips && (number != to.number || from.ambiguous))
            to.ambiguous = true;
    };
    for (size_t i = 0; i <= n; ++i) {
        for (size_t j = 0; j <= end - first; ++j) {
            const Way& here = ways[i][j];
            if (here.slips > kMaxSlips)
                continue;
            const QChar c = i < n ? read.at(qsizetype(n - 1 - i)) : QChar();
            if (i < n && j < end - first) {
                const Cell& cell = cells[end - 1 - j];
                const bool stroke = isPlainStroke(cell);
                // A 1 stands narrower than the other digits, and they no narrower than a 1.
                const int width = cell.right - cell.left + 1;
                const bool one = isOneLike(c) && 20 * width <= 17 * digitWidth;
                const bool digit = (c.isDigit() || c == u'+') && !isOneLike(c) && 10 * width >= 7 * digitWidth;
                if (stroke && isDashRead(c))
                    offer(ways[i + 1][j + 1], here, 0, u'-');
                else if (!stroke && (one || digit))
                    offer(ways[i + 1][j + 1], here, 0, isOneLike(c) ? QChar(u'1') : c);
            }
            if (i < n && isOneLike(c))
                offer(ways[i + 1][j], here, 1, QChar());
            if (j < end - first && isPlainStroke(cells[end - 1 - j]))
                offer(ways[i][j + 1], here, 1, u'-');
        }
    }
    // The cells before the number's are letters or kana beside it, never a dash of its own.
    const Way* best = nullptr;
    bool ambiguous = false;
    for (size_t j = 1; j <= end - first; ++j) {
        const Way& w = ways[n][j];
        if (w.slips > kMaxSlips || w.number.startsWith(u'-') || w.number.endsWith(u'-')
            || (j < end - first && isPlainStroke(cells[end - 1 - j])))
            continue;
        if (!best || w.slips < best->slips)
            best = &w, ambiguous = w.ambiguous;
        else if (w.slips == best->slips && (w.number != best->number || w.ambiguous))
            ambiguous = true;
    }
    return best && !ambiguous ? best->number : QString();
}

} // namespace

QString withDashesOfTheirShape(Pix* pix, int left, int top, int right, int bottom, const QString& read)
{
    if (!pix || pixGetDepth(pix) != 8)
        return read;
    // A plus set upright reads as "+4" now and then: "+481 70…" is Japan's +81.
    static const QRegularExpression plusReadTwice(QStringLiteral(R"(\+\s?4(?=\s?8\s?1))"));
    const QString text = QString(read).replace(plusReadTwice, QStringLiteral("+"));
    const std::vector<Cell> cells = cellsOf(pix, left, top, right, bottom);
    const int pitch = pitchOf(cells, right - left + 1);
    // The runs of narrow cells, as [first, end) indexes of `cells`, and where a blank stands in one
    // (a Latin label before its number, the blank between a number's parts), every stretch of it
    // between blanks as well: which of them a run of the text is, its length tells.
    std::vector<std::pair<size_t, size_t>> narrowRuns, wholeRuns;
    for (size_t i = 0; i < cells.size();) {
        size_t end = i;
        while (end < cells.size() && isNarrow(cells[end], pitch))
            ++end;
        if (end > i)
            wholeRuns.emplace_back(i, end);
        std::vector<size_t> blanks{i};
        for (size_t k = i + 1; k < end; ++k) {
            if (cells[k].top - cells[k - 1].top > 3 * pitch / 2)
                blanks.push_back(k);
        }
        blanks.push_back(end);
        for (size_t from = 0; from + 1 < blanks.size(); ++from) {
            for (size_t to = from + 1; to < blanks.size(); ++to)
                narrowRuns.emplace_back(blanks[from], blanks[to]);
        }
        i = std::max(end, i + 1);
    }
    QString out;
    size_t nextCell = 0;
    for (qsizetype i = 0; i < text.size();) {
        if (!isHalfWidth(text.at(i))) {
            out += text.at(i++);
            continue;
        }
        // A run of digits and what the model made of dashes (a 1, a long vowel mark between
        // digits), with the blanks it read inside them ("7 1 0").
        std::vector<qsizetype> at;
        qsizetype end = i;
        while (end < text.size()) {
            const QChar c = text.at(end);
            if (isHalfWidth(c) || (c == u'ー' && text.at(end - 1).isDigit() && end + 1 < text.size() && text.at(end + 1).isDigit()))
                at.push_back(end++);
            else if (c == u' ' && end + 1 < text.size() && isHalfWidth(text.at(end + 1)) && text.at(end + 1) != u'+')
                ++end;
            else
                break;
        }
        const size_t length = at.size();
        // The run read over the cells from `first` on: which of its 1s stand as dashes, and whether
        // the ink agrees with the reading; `strict` where the cells were only guessed, when every
        // digit but a 1 must stand as wide as the column's digits do.
        std::vector<bool> dash(length, false);
        QString shaped;
        const auto readOver = [&](size_t first, bool strict, int digitWidth) {
            shaped.clear();
            for (size_t k = 0; k < length; ++k) {
                const Cell& cell = cells[first + k];
                const QChar c = text.at(at[k]);
                dash[k] = (isOneLike(c) || c == u'ー') && k > 0 && k + 1 < length && isPlainStroke(cell);
                // A digit other than 1 standing as a plain stroke: the cells are not the run's characters.
                const bool digit = c.isDigit() && c != u'1';
                if (digit && (isPlainStroke(cell) || (strict && 10 * (cell.right - cell.left + 1) < 7 * digitWidth)))
                    return false;
                shaped += dash[k] ? QChar(u'-') : c;
            }
            return true;
        };
        // The run's cells are the next run of narrow cells of its length. A run too short to hold a
        // dash between digits (an icon read as a digit) takes none.
        size_t run = length < 3 ? narrowRuns.size() : 0;
        while (run < narrowRuns.size()
               && (narrowRuns[run].first < nextCell || narrowRuns[run].second - narrowRuns[run].first != length))
            ++run;
        bool agrees = run < narrowRuns.size() && readOver(narrowRuns[run].first, false, 0);
        static const QRegularExpression dashed(QStringLiteral("^[0-9０-９+]+(?:-[0-9０-９]+)+$"));
        // A reading with a 1 too many or a dash unread fits no run of its length: the number is laid
        // over the next run of narrow cells from the run's end, where the column's narrow
        // characters end with it (a kanji or the column's end after it, not a letter).
        if (!agrees && length >= 3 && (end == text.size() || text.at(end).unicode() >= 0x3400)) {
            const auto whole = std::find_if(wholeRuns.begin(), wholeRuns.end(), [&](const std::pair<size_t, size_t>& r) {
                return r.second > nextCell && r.second - r.first >= length - 2;
            });
            QString digits;
            for (qsizetype k : at)
                digits += text.at(k);
            if (const QString number =
                    whole == wholeRuns.end() ? QString() : runOverCells(cells, std::max(whole->first, nextCell), whole->second, digits);
                dashed.match(number).hasMatch()) {
                out += number;
                nextCell = whole->second;
                i = end;
                continue;
            }
        }
        if (run < narrowRuns.size()) {
            nextCell = narrowRuns[run].second;
        } else if (length >= 3) {
            // Narrow kana or letters beside the number ("通り2-13") make its run of cells longer:
            // the one place in it where the digits stand as wide as digits and the dashes as strokes.
            const auto whole = std::find_if(wholeRuns.begin(), wholeRuns.end(), [&](const std::pair<size_t, size_t>& r) {
                return r.first >= nextCell && r.second - r.first > length;
            });
            if (whole != wholeRuns.end()) {
                const int digitWidth = usualWidth(cells, whole->first, whole->second);
                std::vector<size_t> fits;
                for (size_t first = whole->first; first + length <= whole->second; ++first) {
                    if (readOver(first, true, digitWidth))
                        fits.push_back(first);
                }
                agrees = fits.size() == 1 && readOver(fits.front(), true, digitWidth);
                if (agrees)
                    nextCell = fits.front() + length;
            }
        }
        if (!agrees || std::find(dash.begin(), dash.end(), true) == dash.end() || !dashed.match(shaped).hasMatch()) {
            out += text.mid(i, end - i);
        } else {
            // A blank the model read beside a dash is none.
            for (size_t k = 0; k < length; ++k) {
                out += shaped.at(qsizetype(k));
                if (k + 1 < length && at[k + 1] > at[k] + 1 && !dash[k] && !dash[k + 1])
                    out += u' ';
            }
        }
        i = end;
    }
    return out;
}
