#include "outside/ocr/InkDirection.h"

#include "outside/ocr/ScanCleanup.h"

#include <algorithm>
#include <cstddef>
#include <leptonica/allheaders.h>
#include <memory>
#include <vector>

namespace {

constexpr int kInk = 128;
// A band of text is paper for the most part; one inked over more than this is a stripe or a rule.
constexpr double kSolidBand = 0.6;

struct BoxaDeleter {
    void operator()(Boxa* boxa) const { boxaDestroy(&boxa); }
};
using BoxaPtr = std::unique_ptr<Boxa, BoxaDeleter>;

// The usual size of a character: the median of the longer sides of the pieces of ink of a
// character's size (not specks, not rules or pictures).
int characterSize(Pix* ink)
{
    const BoxaPtr pieces(pixConnCompBB(ink, 8));
    const int width = int(pixGetWidth(ink));
    std::vector<int> sizes;
    for (int i = 0; pieces && i < boxaGetCount(pieces.get()); ++i) {
        l_int32 x = 0, y = 0, w = 0, h = 0;
        boxaGetBoxGeometry(pieces.get(), i, &x, &y, &w, &h);
        if (const int size = std::max(w, h); size >= std::max(4, width / 150) && size < width / 4)
            sizes.push_back(size);
    }
    if (sizes.empty())
        return 0;
    std::nth_element(sizes.begin(), sizes.begin() + std::ptrdiff_t(sizes.size() / 2), sizes.end());
    return sizes[sizes.size() / 2];
}

// The area of the bands of text the ink joins into when smeared `along` (down the card) or
// across it by `reach` pixels.
long bandArea(Pix* ink, int reach, int character, bool along)
{
    const PixPtr smeared(along ? pixCloseBrick(nullptr, ink, 1, reach) : pixCloseBrick(nullptr, ink, reach, 1));
    const BoxaPtr bands(smeared ? pixConnCompBB(smeared.get(), 8) : nullptr);
    long total = 0;
    for (int i = 0; bands && i < boxaGetCount(bands.get()); ++i) {
        l_int32 x = 0, y = 0, w = 0, h = 0;
        boxaGetBoxGeometry(bands.get(), i, &x, &y, &w, &h);
        const int length = along ? h : w, thickness = along ? w : h;
        if (length < 3 * thickness || 3 * thickness < character)
            continue;
        BOX* box = boxCreate(x, y, w, h);
        const PixPtr inside(pixClipRectangle(ink, box, nullptr));
        boxDestroy(&box);
        l_int32 inked = 0;
        if (!inside || pixCountPixels(inside.get(), &inked, nullptr) != 0 || inked > kSolidBand * double(w) * double(h))
            continue;
        total += long(w) * long(h);
    }
    return total;
}

} // namespace

bool inkRunsInColumns(Pix* pix)
{
    const PixPtr ink(pixConvertTo1(pix, kInk));
    if (!ink)
        return false;
    const int character = characterSize(ink.get());
    if (character == 0)
        return false;
    const int reach = std::max(3, character / 2);
    // Rows of Latin letters at the foot of a card in columns (e-mail, web) weigh less than the
    // columns of dense characters above them.
    return 3 * bandArea(ink.get(), reach, character, true) > 2 * bandArea(ink.get(), reach, character, false);
}
