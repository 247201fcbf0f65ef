#include "outside/ocr/LatinAddressEnds.h"

#include "outside/ocr/JobTitleWords.h"
#include "outside/ocr/LatinAddressLines.h"
#include "outside/ocr/LineRereading.h"
#include "outside/ocr/TesseractEngine.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <numeric>
#include <cstdlib>
#include <leptonica/allheaders.h>

namespace {

// A pixel this far from the paper's level is ink, on light paper or on a dark band.
constexpr int kInkFromPaper = 80;
// A column of the row more than this many tenths unlike the line's paper is paper of another shade.
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

} // namespace

int inkEndOfRow(Pix* pix, const RecognizedLine& line)
{
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix)), wpl = int(pixGetWpl(pix));
    const int top = std::max(0, line.top), bottom = std::min(height - 1, line.bottom);
    if (bottom < top || line.right < line.left)
        return line.right;
    const l_uint32* data = pixGetData(pix);
    const auto level = [&](int x, int y) { return int(GET_DATA_BYTE(data + size_t(y) * size_t(wpl), x)); };
    std::array<int, 256> levels{};
    for (int y = top; y <= bottom; ++y) {
        for (int x = std::max(0, line.left); x <= std::min(width - 1, line.right); ++x)
            ++levels[size_t(level(x, y))];
    }
    // The paper is the middle level of the line's box: more of it is paper than ink, and a band's
    // level spreads with its noise where white type is all one level.
    const int count = std::accumulate(levels.begin(), levels.end(), 0);
    int paper = 0;
    for (int seen = 0; paper < 255 && (seen += levels[size_t(paper)]) * 2 < count;)
        ++paper;
    const int gap = bottom - top + 1;
    // Half a line above and below the row: letters leave it paper, a band's edge does not.
    const int above = std::max(0, top - gap / 2), below = std::min(height - 1, bottom + gap / 2);
    const auto unlikePaper = [&](int x, int y) { return std::abs(level(x, y) - paper) > kInkFromPaper; };
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
        const bool covered = std::any_of(lines->begin(), lines->end(), [&tail](const RecognizedLine& o) {
            return o.right > tail.left && o.left < tail.right
                && 2 * (std::min(o.bottom, tail.bottom) - std::max(o.top, tail.top)) > o.bottom - o.top;
        });
        if (tail.right - tail.left < h || covered)
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
