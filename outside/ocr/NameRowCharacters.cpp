#include "outside/ocr/NameRowCharacters.h"

#include "outside/ocr/JapaneseLineText.h"
#include "outside/ocr/LineRereading.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <array>

namespace {

constexpr int kInk = 128;
// Heights a character is read at: the engine knows rare kanji at one size and not the other.
constexpr std::array<float, 2> kCharacterHeights = {32.0f, 48.0f};
// Pieces of one character lie within a box this much wider than the row is high, with gaps less
// than this share of the height between them.
constexpr double kSquare = 1.15;
constexpr double kInnerGap = 0.3;
// The blank between family and given name is this many times wider than the next widest gap,
// and a fifth of the type's height at least.
constexpr double kBlankGapRatio = 1.6;
constexpr int kBlankGapShare = 5;

bool isKanaOrKanji(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3041 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF);
}

} // namespace

bool columnHasInk(Pix* pix, int x, int top, int bottom)
{
    const l_uint32* data = pixGetData(pix);
    const int wpl = int(pixGetWpl(pix));
    for (int y = top; y <= bottom; ++y) {
        if (GET_DATA_BYTE(data + size_t(y) * size_t(wpl), x) < kInk)
            return true;
    }
    return false;
}

std::vector<std::pair<int, int>> characterColumns(Pix* pix, int left, int top, int right, int bottom)
{
    std::vector<std::pair<int, int>> pieces;
    left = std::max(0, left);
    top = std::max(0, top);
    right = std::min(int(pixGetWidth(pix)) - 1, right);
    bottom = std::min(int(pixGetHeight(pix)) - 1, bottom);
    for (int x = left, start = -1; x <= right + 1; ++x) {
        const bool ink = x <= right && columnHasInk(pix, x, top, bottom);
        if (ink && start < 0) {
            start = x;
        } else if (!ink && start >= 0) {
            pieces.emplace_back(start, x - 1);
            start = -1;
        }
    }
    const int high = bottom - top + 1;
    std::vector<std::pair<int, int>> characters;
    for (const auto& piece : pieces) {
        if (!characters.empty()) {
            auto& last = characters.back();
            if (piece.second - last.first + 1 <= kSquare * high && piece.first - last.second - 1 < kInnerGap * high) {
                last.second = piece.second;
                continue;
            }
        }
        characters.push_back(piece);
    }
    return characters;
}

bool isKanaAndKanji(const QString& text)
{
    const QString compact = withoutBlanks(text);
    return !compact.isEmpty() && std::all_of(compact.begin(), compact.end(), isKanaOrKanji);
}

bool isDoubtfulNameRow(const QString& read, int confidence, int characters, int sure)
{
    return confidence < sure || withoutBlanks(read).size() != characters || !isKanaAndKanji(read);
}

QString withBlankAtWidestGap(const QString& text, const std::vector<std::pair<int, int>>& columns, int height)
{
    if (text.size() != qsizetype(columns.size()) || columns.size() < 2)
        return text;
    std::vector<int> gaps;
    for (size_t i = 1; i < columns.size(); ++i)
        gaps.push_back(columns[i].first - columns[i - 1].second - 1);
    const auto widest = std::max_element(gaps.begin(), gaps.end());
    int next = 0;
    for (auto g = gaps.begin(); g != gaps.end(); ++g)
        next = g == widest ? next : std::max(next, *g);
    if (*widest * kBlankGapShare < height || (gaps.size() > 1 && *widest < kBlankGapRatio * next))
        return text;
    return QString(text).insert(qsizetype(widest - gaps.begin()) + 1, u' ');
}

RecognizedLine readByCharacters(TesseractEngine& engine, Pix* pix, const std::string& data, const RecognizedLine& row,
                                const std::vector<std::pair<int, int>>& columns)
{
    RecognizedLine out{{}, row.left, row.top, row.right, row.bottom, 0};
    if (columns.empty())
        return out;
    const LineMode oneCharacter{true, {}};
    // The row's own reading, when it has a character for each box, has the say where one of the
    // character's readings agrees with it.
    const QString whole = QString(row.text).remove(u' ').remove(QChar(0x3000));
    QString text;
    int sure = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        const auto& [left, right] = columns[i];
        RecognizedLine best;
        bool agrees = false;
        for (const float height : kCharacterHeights) {
            const RecognizedLine read = readBoxAt(engine, pix, data, {{}, left, row.top, right, row.bottom, 0}, height, oneCharacter);
            const QString one = read.text.trimmed();
            if (one.size() != 1 || !isKanaOrKanji(one.front()) || agrees)
                continue;
            agrees = whole.size() == qsizetype(columns.size()) && whole.at(qsizetype(i)) == one.front();
            if (agrees || best.text.isEmpty() || read.confidence > best.confidence)
                best = {one, 0, 0, 0, 0, read.confidence};
        }
        if (best.text.isEmpty())
            return out;
        text += best.text;
        sure += best.confidence;
    }
    out.text = withBlankAtWidestGap(text, columns, row.bottom - row.top + 1);
    out.confidence = sure / int(columns.size());
    return out;
}
