#include "outside/ocr/LargeTypeRows.h"

#include "outside/ocr/ScanCleanup.h"

#include <algorithm>
#include <iterator>
#include <leptonica/allheaders.h>

namespace {

constexpr int kInk = 128;
// Strokes of one character lie closer than this share of the least height; characters set apart
// in a name leave wider gaps.
constexpr int kStrokeGapShare = 4;
// Characters of one row are of about one height, and set no further apart than this many heights.
constexpr double kSameSize = 1.5;
constexpr double kLetterGapHeights = 2.5;

int heightOf(const RecognizedLine& box)
{
    return box.bottom - box.top + 1;
}

} // namespace

std::vector<RecognizedLine> joinedSideBySide(std::vector<RecognizedLine> boxes)
{
    std::vector<RecognizedLine> rows;
    std::sort(boxes.begin(), boxes.end(), [](const RecognizedLine& a, const RecognizedLine& b) { return a.left < b.left; });
    for (const RecognizedLine& box : boxes) {
        const auto sameRow = std::find_if(rows.begin(), rows.end(), [&box](const RecognizedLine& r) {
            const int high = std::min(heightOf(r), heightOf(box));
            const int down = std::min(r.bottom, box.bottom) - std::max(r.top, box.top) + 1;
            return 2 * down > high && std::max(heightOf(r), heightOf(box)) < kSameSize * high && box.left > r.right
                && box.left - r.right < kLetterGapHeights * high;
        });
        if (sameRow == rows.end()) {
            rows.push_back(box);
            continue;
        }
        sameRow->right = box.right;
        sameRow->top = std::min(sameRow->top, box.top);
        sameRow->bottom = std::max(sameRow->bottom, box.bottom);
    }
    return rows;
}

std::vector<RecognizedLine> largeTypeRows(Pix* pix, int least)
{
    PixPtr ink(pixConvertTo1(pix, kInk));
    const int join = std::max(3, least / kStrokeGapShare) | 1;
    PixPtr grown(ink ? pixDilateBrick(nullptr, ink.get(), join, join) : nullptr);
    BOXA* boxes = grown ? pixConnCompBB(grown.get(), 8) : nullptr;
    if (!boxes)
        return {};
    const int height = int(pixGetHeight(pix));
    std::vector<RecognizedLine> blobs;
    for (int i = 0; i < boxaGetCount(boxes); ++i) {
        l_int32 x = 0, y = 0, w = 0, h = 0;
        boxaGetBoxGeometry(boxes, i, &x, &y, &w, &h);
        w -= join - 1;
        h -= join - 1;
        // A character is about as wide as high (kana a little narrower); wider blobs are words.
        if (h >= least && h < height / 3 && 2 * w >= h && w <= h * 5 / 4)
            blobs.push_back({{}, x + join / 2, y + join / 2, x + join / 2 + w - 1, y + join / 2 + h - 1, 0});
    }
    boxaDestroy(&boxes);
    const std::vector<RecognizedLine> rows = joinedSideBySide(std::move(blobs));
    // Pieces of a character that did not join (the 口 of 部) make a lower row within its row.
    std::vector<RecognizedLine> whole;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(whole), [&rows](const RecognizedLine& r) {
        return std::none_of(rows.begin(), rows.end(), [&r](const RecognizedLine& other) {
            return heightOf(other) > heightOf(r) && other.left <= r.left && other.right >= r.right && other.top <= r.top
                && other.bottom >= r.bottom;
        });
    });
    return whole;
}
