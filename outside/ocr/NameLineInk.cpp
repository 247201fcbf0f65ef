#include "outside/ocr/NameLineInk.h"

#include "outside/ocr/GlyphShapes.h"
#include "outside/ocr/JapaneseLineText.h"
#include "outside/ocr/ScanCleanup.h"

#include <algorithm>
#include <leptonica/allheaders.h>
#include <numeric>

namespace {

// The name line is read at this height of its type, where the engine parts its characters best.
constexpr float kReadHeight = 48.0f;
// What the engine weighing a character for the place adds to the ink's word.
constexpr double kWeighedGain = 0.03;
constexpr int kInk = 128;

} // namespace

NameLineInk::NameLineInk(TesseractEngine& engine, GlyphShapes& shapes, Pix* pix, std::string data, int left, int top, int right, int bottom,
                         const QString& name)
    : m_engine(engine),
      m_shapes(shapes),
      m_pix(pix),
      m_data(std::move(data)),
      m_left(left),
      m_top(top),
      m_right(right),
      m_bottom(bottom),
      m_name(withoutBlanks(name))
{
}

const std::vector<TesseractEngine::Symbol>& NameLineInk::symbols()
{
    if (m_read)
        return m_symbols;
    m_read = true;
    const int width = int(pixGetWidth(m_pix)), height = int(pixGetHeight(m_pix));
    // The line alone on white paper: furigana just above it would be read as a line of its own.
    const int pad = (m_bottom - m_top + 1) / 4;
    const int l = std::max(0, m_left), t = std::max(0, m_top);
    const int r = std::min(width - 1, m_right), b = std::min(height - 1, m_bottom);
    if (r <= l || b <= t)
        return m_symbols;
    BOX* box = boxCreate(l, t, r - l + 1, b - t + 1);
    PixPtr line(pixClipRectangle(m_pix, box, nullptr));
    boxDestroy(&box);
    PixPtr crop(line ? pixAddBorder(line.get(), pad, 0xff) : nullptr);
    const float scale = kReadHeight / float(m_bottom - m_top + 1);
    PixPtr scaled(crop ? pixScale(crop.get(), scale, scale) : nullptr);
    if (!scaled)
        return m_symbols;
    const int readRight = int(pixGetWidth(scaled.get())) - 1, readBottom = int(pixGetHeight(scaled.get())) - 1;
    std::vector<TesseractEngine::Symbol> read = m_engine.recognizeSymbols(scaled.get(), 300, m_data, 0, 0, readRight, readBottom);
    if (read.size() != size_t(m_name.size()))
        read = m_engine.recognizeSymbols(scaled.get(), 300, m_data, 0, 0, readRight, readBottom, true);
    // Only a reading of as many characters as the name lets each be told by its place.
    if (read.size() != size_t(m_name.size()))
        return m_symbols;
    // The engine's boxes of single characters are rough; large type has paper between its
    // characters: the widest gaps of paper across the line part them.
    const int type = m_bottom - m_top + 1;
    const int from = std::max(0, m_left - type / 8), to = std::min(width - 1, m_right + type / 8);
    std::vector<std::pair<int, int>> runs; // columns of ink, first and last
    for (int x = from; x <= to; ++x) {
        int ink = 0;
        for (int y = m_top; y <= m_bottom && ink == 0; ++y)
            ink += GET_DATA_BYTE(pixGetData(m_pix) + size_t(y) * pixGetWpl(m_pix), x) < kInk;
        if (ink == 0)
            continue;
        if (!runs.empty() && runs.back().second == x - 1)
            runs.back().second = x;
        else
            runs.emplace_back(x, x);
    }
    if (runs.size() < read.size())
        return m_symbols;
    std::vector<size_t> gaps(runs.size() - 1);
    std::iota(gaps.begin(), gaps.end(), 0);
    std::stable_sort(gaps.begin(), gaps.end(),
                     [&runs](size_t a, size_t b) { return runs[a + 1].first - runs[a].second > runs[b + 1].first - runs[b].second; });
    gaps.resize(read.size() - 1);
    std::sort(gaps.begin(), gaps.end());
    int start = runs.front().first;
    for (size_t i = 0; i < read.size(); ++i) {
        const int end = i < gaps.size() ? runs[gaps[i]].second : runs.back().second;
        // A piece far narrower or wider than a character is no character.
        if (4 * (end - start + 1) < type || 2 * (end - start + 1) > 3 * type)
            return m_symbols;
        read[i].left = start;
        read[i].right = end;
        read[i].top = m_top;
        read[i].bottom = m_bottom;
        if (i < gaps.size())
            start = runs[gaps[i] + 1].first;
    }
    m_symbols = std::move(read);
    for (qsizetype i = 0; i < m_name.size(); ++i) {
        const TesseractEngine::Symbol& s = m_symbols[size_t(i)];
        m_readLikeness.push_back(m_shapes.likeness(m_pix, s.left, s.top, s.right, s.bottom, m_name.at(i)));
    }
    return m_symbols;
}

double NameLineInk::gain(qsizetype at, QChar instead)
{
    if (at < 0 || at >= m_name.size() || symbols().empty())
        return 0;
    const TesseractEngine::Symbol& s = m_symbols[size_t(at)];
    const double like = m_shapes.likeness(m_pix, s.left, s.top, s.right, s.bottom, QString(instead));
    if (like < -1 || m_readLikeness[size_t(at)] < -1)
        return 0;
    const bool weighed = std::find(s.choices.begin(), s.choices.end(), QString(instead)) != s.choices.end();
    return like - m_readLikeness[size_t(at)] + (weighed ? kWeighedGain : 0);
}
