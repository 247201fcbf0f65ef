#include "outside/ocr/LatinAddressEnds.h"

#include "outside/ocr/JobTitleWords.h"
#include "outside/ocr/LatinAddressLines.h"
#include "outside/ocr/LineRereading.h"
#include "outside/ocr/TesseractEngine.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <leptonica/allheaders.h>
#include <numeric>

namespace {

// A pixel this far from the paper's level is ink, on light paper or on a dark band.
constexpr int kInkFromPaper = 80;
// A column or row more than this many tenths unlike the line's paper is paper of another shade.
constexpr int kOtherPaper = 7;
// The height a line is read again at.
constexpr float kReadHeight = 40;
// A reading kept is this sure at least.
constexpr int kSure = 60;
// Lines read again on one card at most.
constexpr int kLinesRead = 2;

bool isAddressLine(const QString& text)
{
    if (text.contains(u'@') || text.contains(QLatin1String("www"), Qt::CaseInsensitive))
        return false;
    return isLatinStreetLine(text) || hasLatinStreetWord(text) || !latinPostcodeOf(text).isEmpty();
}

// The letters and digits of a text in small letters, without marks: what two readings are compared by.
QString bare(const QString& text)
{
    QString out;
    for (const QChar c : foldedForWords(text)) {
        if (c.isLetterOrNumber())
            out += c;
    }
    return out;
}

int levelAt(Pix* pix, int x, int y)
{
    return int(GET_DATA_BYTE(pixGetData(pix) + size_t(y) * size_t(pixGetWpl(pix)), x));
}

// The paper of a box: its middle level, as more of a line's box is paper than ink, and a band's
// level spreads with its noise where white type is all one level.
int paperOf(Pix* pix, int left, int top, int right, int bottom)
{
    std::array<int, 256> levels{};
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x)
            ++levels[size_t(levelAt(pix, x, y))];
    }
    const int count = std::accumulate(levels.begin(), levels.end(), 0);
    int paper = 0;
    for (int seen = 0; paper < 255 && (seen += levels[size_t(paper)]) * 2 < count;)
        ++paper;
    return paper;
}

// The row of ink set under `line` within its width, from the next row of paper down to a line's
// height below it, as a box; empty (bottom < top) where there is none, it is no line's height,
// or the paper changes shade there.
RecognizedLine rowUnder(Pix* pix, const RecognizedLine& line)
{
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix));
    const int h = line.bottom - line.top + 1;
    const int left = std::max(0, line.left), right = std::min(width - 1, line.right);
    if (right <= left || line.top < 0 || line.bottom >= height)
        return {{}, 0, 0, 0, -1, 0};
    const int paper = paperOf(pix, left, line.top, right, line.bottom);
    // How many pixels of a row are unlike the paper.
    const auto inkOf = [&](int y) {
        int ink = 0;
        for (int x = left; x <= right; ++x)
            ink += std::abs(levelAt(pix, x, y) - paper) > kInkFromPaper ? 1 : 0;
        return ink;
    };
    const auto otherPaper = [&](int y) { return inkOf(y) * 10 > kOtherPaper * (right - left + 1); };
    int y = line.bottom + 1;
    while (y < height && y <= line.bottom + h / 2 && inkOf(y) > 0)
        ++y;
    while (y < height && y <= line.bottom + h && inkOf(y) == 0)
        ++y;
    if (y >= height || y > line.bottom + h || otherPaper(y))
        return {{}, 0, 0, 0, -1, 0};
    RecognizedLine row{{}, right, y, left, y, 0};
    for (; row.bottom < height && inkOf(row.bottom) > 0 && !otherPaper(row.bottom) && row.bottom - row.top <= 2 * h; ++row.bottom) {
        for (int x = left; x <= right; ++x) {
            if (std::abs(levelAt(pix, x, row.bottom) - paper) > kInkFromPaper) {
                row.left = std::min(row.left, x);
                row.right = std::max(row.right, x);
            }
        }
    }
    --row.bottom;
    const int rowHeight = row.bottom - row.top + 1;
    if (2 * rowHeight < h || 2 * rowHeight > 3 * h || row.right < row.left)
        return {{}, 0, 0, 0, -1, 0};
    row.right = inkEndOfRow(pix, row);
    return row;
}

} // namespace

int inkEndOfRow(Pix* pix, const RecognizedLine& line)
{
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix));
    const int top = std::max(0, line.top), bottom = std::min(height - 1, line.bottom);
    if (bottom < top || line.right < line.left)
        return line.right;
    const int paper = paperOf(pix, std::max(0, line.left), top, std::min(width - 1, line.right), bottom);
    const int gap = bottom - top + 1;
    // Half a line above and below the row: letters leave it paper, a band's edge does not.
    const int above = std::max(0, top - gap / 2), below = std::min(height - 1, bottom + gap / 2);
    const auto unlikePaper = [&](int x, int y) { return std::abs(levelAt(pix, x, y) - paper) > kInkFromPaper; };
    int end = line.right;
    for (int x = line.right + 1, run = 0; x < width && run <= gap; ++x) {
        int ink = 0, other = 0;
        for (int y = above; y <= below; ++y) {
            const bool unlike = unlikePaper(x, y);
            other += unlike ? 1 : 0;
            ink += unlike && y >= top && y <= bottom ? 1 : 0;
        }
        if (other * 10 > kOtherPaper * (below - above + 1))
            break;
        run = ink > 0 ? 0 : run + 1;
        if (ink > 0)
            end = x;
    }
    return end;
}

void readCutLatinAddressEnds(TesseractEngine& engine, Pix* pix, const std::string& data, std::vector<RecognizedLine>* lines)
{
    int read = 0;
    for (RecognizedLine& line : *lines) {
        if (read >= kLinesRead)
            break;
        if (!isAddressLine(line.text))
            continue;
        const int h = line.bottom - line.top + 1;
        const RecognizedLine tail{{}, line.right + 1, line.top, inkEndOfRow(pix, line), line.bottom, 0};
        if (tail.right - tail.left < h || coveredByLine(*lines, tail))
            continue;
        ++read;
        const RecognizedLine again = readBoxAt(engine, pix, data, {{}, line.left, line.top, tail.right, line.bottom, 0}, kReadHeight);
        // The reading goes on from what was read, whose last character may have been cut.
        const QString before = bare(line.text), after = bare(again.text);
        if (again.confidence < kSure || after.size() < before.size() + 2 || !after.startsWith(before.chopped(std::min<qsizetype>(1, before.size()))))
            continue;
        line.text = again.text.simplified();
        line.right = tail.right;
        line.confidence = std::min(line.confidence, again.confidence);
    }
}

void readRowsUnderLatinAddresses(TesseractEngine& engine, Pix* pix, const std::string& data, std::vector<RecognizedLine>* lines)
{
    int read = 0;
    for (size_t i = 0; i < lines->size() && read < kLinesRead; ++i) {
        if (!isAddressLine((*lines)[i].text))
            continue;
        const RecognizedLine row = rowUnder(pix, (*lines)[i]);
        if (row.bottom < row.top || coveredByLine(*lines, row))
            continue;
        ++read;
        RecognizedLine again = readBoxAt(engine, pix, data, row, kReadHeight);
        again.text = again.text.simplified();
        if (again.confidence < kSure
            || !(isCountryLine(again.text) || isTownAndStateLine(again.text) || !latinPostcodeOf(again.text).isEmpty()))
            continue;
        lines->insert(lines->begin() + qsizetype(i) + 1, again);
    }
}
