#include "outside/ocr/LineRereading.h"

#include "outside/ocr/ScanCleanup.h"
#include "outside/ocr/TesseractEngine.h"

#include <algorithm>
#include <leptonica/allheaders.h>

namespace {

// Height of a row of type, in pixels, that the engine reads best (measured on drawn cards).
constexpr float kBestRowHeight = 40.0f;
constexpr int kInk = 128;
// Rows lower than this are specks, underlines or the dots of a rule.
constexpr int kLeastRowHeight = 8;
// A reading this much less sure than the first one is not taken.
constexpr int kConfidenceMargin = 15;

bool hasWide(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const ushort u = c.unicode();
        return (u >= 0x3040 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF);
    });
}

// Lines worth reading again: Japanese ones, and what the engine doubts; not the e-mail and web
// addresses, which the English model reads best.
bool isRereadCandidate(const RecognizedLine& line)
{
    if (line.text.contains(u'@') || line.text.contains(QStringLiteral("www"), Qt::CaseInsensitive)
        || line.text.contains(QStringLiteral("http"), Qt::CaseInsensitive))
        return false;
    return hasWide(line.text) || line.confidence < 60;
}

} // namespace

std::vector<std::pair<int, int>> inkRows(Pix* pix, int left, int top, int right, int bottom)
{
    std::vector<std::pair<int, int>> rows;
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix)), wpl = int(pixGetWpl(pix));
    left = std::max(0, left);
    top = std::max(0, top);
    right = std::min(width - 1, right);
    bottom = std::min(height - 1, bottom);
    const int least = std::max(2, (right - left + 1) / 200);
    const l_uint32* data = pixGetData(pix);
    int start = -1;
    for (int y = top; y <= bottom + 1; ++y) {
        int ink = 0;
        if (y <= bottom) {
            const l_uint32* line = data + size_t(y) * size_t(wpl);
            for (int x = left; x <= right && ink < least; ++x)
                ink += GET_DATA_BYTE(line, x) < kInk;
        }
        if (ink >= least && start < 0) {
            start = y;
        } else if (ink < least && start >= 0) {
            // A gap of a pixel or two inside a row is part of it (the strokes of 三 or 二).
            if (!rows.empty() && start - rows.back().second <= 3)
                rows.back().second = y - 1;
            else
                rows.emplace_back(start, y - 1);
            start = -1;
        }
    }
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [](const std::pair<int, int>& r) { return r.second - r.first + 1 < kLeastRowHeight; }),
        rows.end());
    return rows;
}

void rereadJapaneseLines(TesseractEngine& engine, Pix* pix, const std::string& data, std::vector<RecognizedLine>* lines,
                         const std::function<bool()>& hasTime)
{
    std::vector<RecognizedLine> out;
    out.reserve(lines->size());
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix));
    for (const RecognizedLine& line : *lines) {
        if (!isRereadCandidate(line) || !hasTime()) {
            out.push_back(line);
            continue;
        }
        std::vector<RecognizedLine> again;
        int sure = 0;
        for (const auto& [rowTop, rowBottom] : inkRows(pix, line.left, line.top, line.right, line.bottom)) {
            const int rowHeight = rowBottom - rowTop + 1;
            const int pad = rowHeight / 4;
            const int l = std::max(0, line.left - pad), t = std::max(0, rowTop - pad);
            const int r = std::min(width - 1, line.right + pad), b = std::min(height - 1, rowBottom + pad);
            BOX* box = boxCreate(l, t, r - l + 1, b - t + 1);
            PixPtr crop(pixClipRectangle(pix, box, nullptr));
            boxDestroy(&box);
            if (!crop)
                continue;
            const float scale = kBestRowHeight / float(rowHeight);
            PixPtr scaled(pixScale(crop.get(), scale, scale));
            if (!scaled)
                continue;
            RecognizedLine read = engine.recognizeLine(scaled.get(), 300, data, 0, 0, int(pixGetWidth(scaled.get())) - 1,
                                                       int(pixGetHeight(scaled.get())) - 1);
            if (read.text.isEmpty())
                continue;
            read.left = line.left;
            read.right = line.right;
            read.top = rowTop;
            read.bottom = rowBottom;
            sure += read.confidence;
            again.push_back(read);
        }
        const bool better = !again.empty()
            && std::any_of(again.begin(), again.end(), [](const RecognizedLine& l) { return hasWide(l.text); })
            && sure / int(again.size()) + kConfidenceMargin >= line.confidence;
        if (better)
            out.insert(out.end(), again.begin(), again.end());
        else
            out.push_back(line);
    }
    *lines = std::move(out);
}
