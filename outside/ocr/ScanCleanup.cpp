#include "outside/ocr/ScanCleanup.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr float kDegree = 3.14159265f / 180.0f;
// The engine reads lines askew by a few degrees as well as straight ones, better than after a
// turn that costs the letters their sharpness; further askew it runs the lines together.
constexpr float kLeastSkew = 5.0f;
// Below this the corners of bed are too thin to matter.
constexpr float kLeastBed = 0.2f;
constexpr float kSkewSweep = 10.0f;
// The skew finder is only sure of an angle with this confidence.
constexpr float kLeastSkewConfidence = 3.0f;
// A column leaning less than this reads as a straight one. A card's few columns give the skew
// finder less to go on than its rows: their lean is found right with less confidence.
constexpr float kLeastColumnLean = 1.0f;
constexpr float kLeastColumnLeanConfidence = 1.0f;
// Paper and the letters on a dark band are at least this light.
constexpr int kLight = 128;

// The grey levels below which `share` of the pixels lie.
int percentile(const std::array<long, 256>& histogram, long total, double share)
{
    long seen = 0;
    for (int v = 0; v < 256; ++v) {
        seen += histogram[size_t(v)];
        if (double(seen) >= share * double(total))
            return v;
    }
    return 255;
}

// Ink (the darkest hundredth) becomes black and paper (the bulk of the card) white, so that a
// faint or tinted scan reads like a crisp one; a crisp scan is left as it is.
PixPtr stretchContrast(Pix* grey)
{
    std::array<long, 256> histogram{};
    const int w = int(pixGetWidth(grey)), h = int(pixGetHeight(grey)), wpl = int(pixGetWpl(grey));
    const l_uint32* data = pixGetData(grey);
    for (int y = 0; y < h; y += 2) {
        const l_uint32* line = data + size_t(y) * size_t(wpl);
        for (int x = 0; x < w; x += 2)
            ++histogram[GET_DATA_BYTE(line, x)];
    }
    const long total = long((w + 1) / 2) * long((h + 1) / 2);
    const int ink = percentile(histogram, total, 0.01);
    const int paper = percentile(histogram, total, 0.5);
    // A card with next to no contrast is blank, and a dark card has its letters light: stretching
    // either would make noise into ink.
    if (paper - ink < 24 || paper < kLight)
        return PixPtr(pixCopy(nullptr, grey));
    return PixPtr(pixGammaTRC(nullptr, grey, 1.0f, ink, paper));
}

void whiten(Pix* pix, int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    BOX* box = boxCreate(x, y, w, h);
    pixSetInRectArbitrary(pix, box, 255);
    boxDestroy(&box);
}

// A row or column of scanner bed: dark all along, with no light pixel of a letter or of paper.
bool isDarkRow(Pix* pix, int y)
{
    const int w = int(pixGetWidth(pix));
    const l_uint32* line = pixGetData(pix) + size_t(y) * size_t(pixGetWpl(pix));
    int light = 0;
    for (int x = 0; x < w; ++x)
        light += GET_DATA_BYTE(line, x) >= kLight;
    return light * 50 < w;
}

bool isDarkColumn(Pix* pix, int x)
{
    const int h = int(pixGetHeight(pix)), wpl = int(pixGetWpl(pix));
    const l_uint32* data = pixGetData(pix);
    int light = 0;
    for (int y = 0; y < h; ++y)
        light += GET_DATA_BYTE(data + size_t(y) * size_t(wpl), x) >= kLight;
    return light * 50 < h;
}

// Rows and columns at the edges that are dark all along are the scanner bed round a card that
// lay straight; they go white, up to a twentieth of the image on each side.
void whitenDarkEdges(Pix* pix)
{
    const int w = int(pixGetWidth(pix)), h = int(pixGetHeight(pix));
    int top = 0, bottom = 0, left = 0, right = 0;
    while (top < h / 20 && isDarkRow(pix, top))
        ++top;
    while (bottom < h / 20 && isDarkRow(pix, h - 1 - bottom))
        ++bottom;
    while (left < w / 20 && isDarkColumn(pix, left))
        ++left;
    while (right < w / 20 && isDarkColumn(pix, w - 1 - right))
        ++right;
    whiten(pix, 0, 0, w, top);
    whiten(pix, 0, h - bottom, w, bottom);
    whiten(pix, 0, 0, left, h);
    whiten(pix, w - right, 0, right, h);
}

// A card scanned askew fills its image but for four corners of scanner bed: the card is the
// centred rectangle whose outline, turned by `degrees`, the image bounds. Everything outside it
// goes white; `straightened` tells that the image has been turned straight already.
void whitenOutsideCard(Pix* pix, float degrees, bool straightened)
{
    const int w = int(pixGetWidth(pix)), h = int(pixGetHeight(pix)), wpl = int(pixGetWpl(pix));
    const double c = std::cos(std::abs(degrees) * kDegree), s = std::sin(std::abs(degrees) * kDegree);
    // The angle found may be off by a tenth of a degree or so: a sliver of card goes with the bed.
    const double sliver = 0.005 * std::max(w, h) + 2;
    const double halfWidth = (w * c - h * s) / (c * c - s * s) / 2 - sliver;
    const double halfHeight = (h * c - w * s) / (c * c - s * s) / 2 - sliver;
    if (halfWidth <= 0 || halfHeight <= 0)
        return;
    // A point of the image as it lies goes where turning it straight takes it.
    const double turn = straightened ? 0.0 : degrees * kDegree;
    const double tc = std::cos(turn), ts = std::sin(turn), cx = w / 2.0, cy = h / 2.0;
    l_uint32* data = pixGetData(pix);
    for (int y = 0; y < h; ++y) {
        l_uint32* line = data + size_t(y) * size_t(wpl);
        for (int x = 0; x < w; ++x) {
            const double sx = (x - cx) * tc - (y - cy) * ts, sy = (x - cx) * ts + (y - cy) * tc;
            if (std::abs(sx) > halfWidth || std::abs(sy) > halfHeight)
                SET_DATA_BYTE(line, x, 255);
        }
    }
}

} // namespace

void PixDeleter::operator()(Pix* pix) const
{
    pixDestroy(&pix);
}

PixPtr cleanScan(Pix* grey, float* degrees)
{
    *degrees = 0;
    PixPtr pix(pixCopy(nullptr, grey));
    if (!pix)
        return nullptr;
    whitenDarkEdges(pix.get());
    PixPtr stretched = stretchContrast(pix.get());
    if (!stretched)
        return nullptr;
    PixPtr binary(pixThresholdToBinary(stretched.get(), 128));
    float angle = 0, confidence = 0;
    if (!binary
        || pixFindSkewSweepAndSearch(binary.get(), &angle, &confidence, 4, 2, kSkewSweep, 1.0f, 0.01f) != 0
        || std::abs(angle) < kLeastBed || confidence < kLeastSkewConfidence)
        return stretched;
    if (std::abs(angle) < kLeastSkew) {
        whitenOutsideCard(stretched.get(), angle, false);
        return stretched;
    }
    PixPtr straight(pixRotate(stretched.get(), angle * kDegree, L_ROTATE_SHEAR, L_BRING_IN_WHITE, 0, 0));
    if (!straight)
        return stretched;
    whitenOutsideCard(straight.get(), angle, true);
    *degrees = angle;
    return straight;
}

PixPtr columnsStraightened(Pix* clean, float* degrees)
{
    *degrees = 0;
    // The columns lie across the card turned a quarter, where the skew finder measures rows.
    const PixPtr binary(pixThresholdToBinary(clean, 128));
    const PixPtr across(binary ? pixRotate90(binary.get(), 1) : nullptr);
    float angle = 0, confidence = 0;
    if (!across || pixFindSkewSweepAndSearch(across.get(), &angle, &confidence, 4, 2, kSkewSweep, 1.0f, 0.01f) != 0
        || std::abs(angle) < kLeastColumnLean || confidence < kLeastColumnLeanConfidence)
        return nullptr;
    PixPtr straight(pixRotate(clean, angle * kDegree, L_ROTATE_AREA_MAP, L_BRING_IN_WHITE, 0, 0));
    if (straight)
        *degrees = angle;
    return straight;
}

void unturnBox(int width, int height, float degrees, int* left, int* top, int* right, int* bottom)
{
    if (degrees == 0)
        return;
    const double cx = width / 2.0, cy = height / 2.0;
    const double c = std::cos(degrees * kDegree), s = std::sin(degrees * kDegree);
    double minX = width, minY = height, maxX = 0, maxY = 0;
    for (const auto& [x, y] : {std::pair{*left, *top}, {*right, *top}, {*left, *bottom}, {*right, *bottom}}) {
        const double ux = cx + (x - cx) * c + (y - cy) * s;
        const double uy = cy - (x - cx) * s + (y - cy) * c;
        minX = std::min(minX, ux);
        maxX = std::max(maxX, ux);
        minY = std::min(minY, uy);
        maxY = std::max(maxY, uy);
    }
    *left = std::clamp(int(std::floor(minX)), 0, width - 1);
    *top = std::clamp(int(std::floor(minY)), 0, height - 1);
    *right = std::clamp(int(std::ceil(maxX)), *left, width - 1);
    *bottom = std::clamp(int(std::ceil(maxY)), *top, height - 1);
}
