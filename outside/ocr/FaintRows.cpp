#include "outside/ocr/FaintRows.h"

#include "outside/ocr/LargeTypeRows.h"
#include "outside/ocr/ScanCleanup.h"
#include "outside/ocr/TesseractEngine.h"

#include <algorithm>
#include <array>
#include <leptonica/allheaders.h>

namespace {

// Ink is this much darker than the paper: faint grey type counts, the paper's grain does not.
constexpr int kInkBelowPaper = 40;
// A row of type is wider than this many of its heights.
constexpr int kRowWidthHeights = 4;
// A row of type this many tenths of the body's height or more may be the name.
constexpr int kNameSizeTenths = 12;
// Rows read on their own per card, and the time each may take.
constexpr size_t kMostRowsRead = 3;
constexpr int kRowReadingMs = 3000;
// Words the engine reads at this confidence and above are words, not a logo's shapes.
constexpr int kSureReading = 70;

// A line read as a few marks or letters, or not surely: "| \\ | C" of the first letters of a
// hairline name.
bool isScrap(const RecognizedLine& l)
{
    return l.confidence < kSureReading || std::count_if(l.text.begin(), l.text.end(), [](QChar c) { return c.isLetter(); }) < 3;
}

int paperLevel(Pix* grey)
{
    std::array<long, 256> histogram{};
    const int w = int(pixGetWidth(grey)), h = int(pixGetHeight(grey)), wpl = int(pixGetWpl(grey));
    const l_uint32* data = pixGetData(grey);
    long total = 0;
    for (int y = 0; y < h; y += 4) {
        for (int x = 0; x < w; x += 4) {
            ++histogram[size_t(GET_DATA_BYTE(data + y * wpl, x))];
            ++total;
        }
    }
    long seen = 0;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[size_t(v)];
        if (2 * seen >= total)
            return v;
    }
    return 255;
}

} // namespace

std::vector<RecognizedLine> unreadInkRows(Pix* grey, const std::vector<RecognizedLine>& lines, int least, size_t most,
                                          const std::function<bool(const RecognizedLine&)>& covers)
{
    const int paper = paperLevel(grey);
    if (paper <= kInkBelowPaper)
        return {};
    PixPtr ink(pixThresholdToBinary(grey, paper - kInkBelowPaper));
    if (!ink)
        return {};
    const int w = int(pixGetWidth(ink.get())), h = int(pixGetHeight(ink.get()));
    // What was read is no row left unread; scraps the engine made of the strokes it saw are.
    for (const RecognizedLine& l : lines) {
        if (covers ? !covers(l) : isScrap(l))
            continue;
        const int pad = std::max(2, (l.bottom - l.top) / 4);
        BOX* box = boxCreate(l.left - pad, l.top - pad, l.right - l.left + 1 + 2 * pad, l.bottom - l.top + 1 + 2 * pad);
        pixClearInRect(ink.get(), box);
        boxDestroy(&box);
    }
    // Letters and words of one row joined; specks of the paper's grain stay too small to count.
    const int join = std::max(3, least * 2 / 3) | 1;
    PixPtr joined(pixDilateBrick(nullptr, ink.get(), join, 3));
    BOXA* boxes = joined ? pixConnCompBB(joined.get(), 8) : nullptr;
    if (!boxes)
        return {};
    std::vector<RecognizedLine> found;
    for (int i = 0; i < boxaGetCount(boxes); ++i) {
        l_int32 x = 0, y = 0, bw = 0, bh = 0;
        boxaGetBoxGeometry(boxes, i, &x, &y, &bw, &bh);
        // Without what the joining added round the ink.
        const int rowHeight = bh - 2;
        if (rowHeight < least || rowHeight * 3 > h || bw - join < kRowWidthHeights * rowHeight)
            continue;
        found.push_back({{}, x + join / 2, y + 1, x + bw - 1 - join / 2, y + bh - 2});
    }
    boxaDestroy(&boxes);
    // The words of a name set apart are one row, read with a margin round it.
    found = joinedSideBySide(std::move(found));
    for (RecognizedLine& row : found) {
        const int pad = (row.bottom - row.top) / 4;
        row = {{},
               std::max(0, row.left - pad),
               std::max(0, row.top - pad),
               std::min(w - 1, row.right + pad),
               std::min(h - 1, row.bottom + pad)};
    }
    std::sort(found.begin(), found.end(),
              [](const RecognizedLine& a, const RecognizedLine& b) { return a.bottom - a.top > b.bottom - b.top; });
    if (found.size() > most)
        found.resize(most);
    return found;
}

void readInkRowsLeftUnread(TesseractEngine& engine, Pix* grey, int dpi, const std::string& data, std::vector<RecognizedLine>* lines)
{
    std::vector<int> heights;
    for (const RecognizedLine& l : *lines)
        heights.push_back(l.bottom - l.top);
    if (heights.empty())
        return;
    std::nth_element(heights.begin(), heights.begin() + qsizetype(heights.size() / 2), heights.end());
    const int body = heights[heights.size() / 2];
    // A name is set larger than the body, in the card's largest type but for the company's.
    const int nameSize = std::max(12, body * kNameSizeTenths / 10);
    for (const RecognizedLine& row : unreadInkRows(grey, *lines, nameSize, kMostRowsRead)) {
        std::vector<RecognizedLine> read;
        int confidence = 0;
        if (!engine.recognize(grey, dpi, data, row.left, row.top, row.right, row.bottom, &read, &confidence, kRowReadingMs))
            continue;
        // The row is one line, whatever blocks the engine made of its words.
        std::sort(read.begin(), read.end(), [](const RecognizedLine& a, const RecognizedLine& b) { return a.left < b.left; });
        RecognizedLine whole{{}, row.right, row.bottom, row.left, row.top, 100};
        for (const RecognizedLine& l : read) {
            whole.text += (whole.text.isEmpty() ? QString() : QStringLiteral(" ")) + l.text;
            whole.left = std::min(whole.left, l.left);
            whole.top = std::min(whole.top, l.top);
            whole.right = std::max(whole.right, l.right);
            whole.bottom = std::max(whole.bottom, l.bottom);
            whole.confidence = std::min(whole.confidence, l.confidence);
        }
        // What reads as lines one under another is no row of type left unread.
        const bool oneRow = std::all_of(read.begin(), read.end(), [&read](const RecognizedLine& l) {
            return std::all_of(read.begin(), read.end(), [&l](const RecognizedLine& o) {
                return 2 * (std::min(l.bottom, o.bottom) - std::max(l.top, o.top)) > std::min(l.bottom - l.top, o.bottom - o.top);
            });
        });
        const auto letters = std::count_if(whole.text.begin(), whole.text.end(), [](QChar c) { return c.isLetter(); });
        if (!oneRow)
            continue;
        if (letters < 3 || whole.confidence < kSureReading || whole.bottom - whole.top < body)
            continue;
        // The scraps read of the row before go.
        lines->erase(std::remove_if(lines->begin(), lines->end(),
                                    [&whole](const RecognizedLine& o) {
                                        return isScrap(o) && o.left >= whole.left - 4 && o.right <= whole.right + 4
                                            && o.top >= whole.top - 4 && o.bottom <= whole.bottom + 4;
                                    }),
                     lines->end());
        const auto after = std::find_if(lines->begin(), lines->end(), [&whole](const RecognizedLine& o) { return o.top > whole.top; });
        lines->insert(after, whole);
    }
}
