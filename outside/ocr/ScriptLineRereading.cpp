#include "outside/ocr/ScriptLineRereading.h"

#include "outside/ocr/CardLanguage.h"
#include "outside/ocr/LineRereading.h"
#include "outside/ocr/ScanCleanup.h"
#include "outside/ocr/ScriptCardFields.h"
#include "outside/ocr/WebAddressShape.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <leptonica/allheaders.h>

namespace {

// The height the engine reads a line best at (as for Japanese rows).
constexpr float kReadHeight = 40.0f;
// A line in Latin letters on a card of another script, read this surely, is English as printed.
constexpr int kDoubtedLatin = 80;
// A line read again replaces the first reading if about as sure: by this much less at most.
constexpr int kLessSure = 5;
// A line read again where there was none, or only Latin letters, is kept this sure.
constexpr int kSure = 60;
constexpr int kInk = 128;
// A pixel this far from the paper's level is ink, on light paper or on a dark band.
constexpr int kInkFromPaper = 80;
// Type this many tenths of the body's height is large.
constexpr int kLargeType = 13;
// Blocks of ink set apart by paper this many times the body's height are read apart.
constexpr int kBlockGap = 3;
const std::string kLatinModel = "eng";

qsizetype scriptLetters(int language, const QString& text)
{
    return std::count_if(text.begin(), text.end(), [language](QChar c) { return isLetterOfScript(language, c); });
}

// Where a line's e-mail or web address starts ("E-mail: ", a label in the script before it), -1 if
// it holds none.
qsizetype addressStart(const QString& text)
{
    static const QRegularExpression address(QStringLiteral(R"([^\s:：]*(?:@|www|https?:)\S*)"), QRegularExpression::CaseInsensitiveOption);
    const auto m = address.match(text);
    return m.hasMatch() ? m.capturedStart() : -1;
}

bool isMailOrWebLine(const QString& text)
{
    return addressStart(text) >= 0;
}

// A copy of a card on light paper whose type is set in grey, a line of it lighter than the ink
// level the rows are found by (a company beside its logo), with every level darkened so that
// what lies far enough from the paper's is ink; none where the paper is not so light.
PixPtr withGreyTypeDarkened(Pix* pix)
{
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix)), wpl = int(pixGetWpl(pix));
    l_uint32* data = pixGetData(pix);
    std::array<int, 256> levels{};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            ++levels[size_t(GET_DATA_BYTE(data + size_t(y) * size_t(wpl), x))];
    }
    const int paper = int(std::max_element(levels.begin(), levels.end()) - levels.begin());
    if (paper - kInkFromPaper <= kInk)
        return nullptr;
    PixPtr dark(pixCopy(nullptr, pix));
    l_uint32* out = pixGetData(dark.get());
    for (int y = 0; y < height; ++y) {
        l_uint32* row = out + size_t(y) * size_t(wpl);
        for (int x = 0; x < width; ++x) {
            const int level = 255 - (paper - int(GET_DATA_BYTE(row, x))) * (255 - kInk) / kInkFromPaper;
            SET_DATA_BYTE(row, x, std::clamp(level, 0, 255));
        }
    }
    return dark;
}

// The ink's box (inclusive) within a box of the image; all -1 when there is none.
struct InkExtent {
    int left = -1, top = -1, right = -1, bottom = -1;
};

InkExtent inkExtent(Pix* pix, int from, int top, int to, int bottom)
{
    const int wpl = int(pixGetWpl(pix));
    const l_uint32* data = pixGetData(pix);
    InkExtent ink;
    for (int y = top; y <= bottom; ++y) {
        const l_uint32* line = data + size_t(y) * size_t(wpl);
        for (int x = from; x <= to; ++x) {
            if (GET_DATA_BYTE(line, x) < kInk) {
                ink.left = ink.left < 0 ? x : std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = ink.top < 0 ? y : ink.top;
                ink.bottom = y;
            }
        }
    }
    return ink;
}

// The stretches (inclusive left and right) of a box's ink set apart by paper at least `gap` wide.
std::vector<std::pair<int, int>> inkBlocks(Pix* pix, int from, int top, int to, int bottom, int gap)
{
    const int wpl = int(pixGetWpl(pix));
    const l_uint32* data = pixGetData(pix);
    std::vector<std::pair<int, int>> blocks;
    int paper = 0;
    for (int x = from; x <= to; ++x) {
        bool ink = false;
        for (int y = top; y <= bottom && !ink; ++y)
            ink = GET_DATA_BYTE(data + size_t(y) * size_t(wpl), x) < kInk;
        if (!ink) {
            ++paper;
        } else if (blocks.empty() || paper >= gap) {
            blocks.emplace_back(x, x);
            paper = 0;
        } else {
            blocks.back().second = x;
            paper = 0;
        }
    }
    return blocks;
}

// The line's box widened to the ink set on its row just beyond it, a character's width apart at
// most: the engine's layout may leave a first or last character of large type out of the line.
RecognizedLine extendedToInk(Pix* pix, const RecognizedLine& line)
{
    const int width = int(pixGetWidth(pix)), wpl = int(pixGetWpl(pix));
    const int gap = line.bottom - line.top + 1;
    const l_uint32* data = pixGetData(pix);
    const auto inkAt = [&](int x) {
        for (int y = line.top; y <= line.bottom; ++y) {
            if (GET_DATA_BYTE(data + size_t(y) * size_t(wpl), x) < kInk)
                return true;
        }
        return false;
    };
    RecognizedLine wider = line;
    for (int x = wider.left - 1, paper = 0; x >= 0 && paper <= gap; --x) {
        paper = inkAt(x) ? 0 : paper + 1;
        if (paper == 0)
            wider.left = x;
    }
    for (int x = wider.right + 1, paper = 0; x < width && paper <= gap; ++x) {
        paper = inkAt(x) ? 0 : paper + 1;
        if (paper == 0)
            wider.right = x;
    }
    return wider;
}

// Hangul set large is split by the engine's layout into two lines: the upper parts of the
// syllables, and touching or inside them, their final consonants or a circle read as scraps
// ("가선미" over "2ㄴ_" for 강성민, "Oo" inside "박도유" for 박도윤). Such a pair is read again as
// one line with the script's own model.
void joinSplitSyllableRows(TesseractEngine& engine, Pix* pix, const std::string& own, std::vector<RecognizedLine>* lines)
{
    static const QRegularExpression number(QStringLiteral("[0-9]{3}"));
    const auto scrap = [](const RecognizedLine& l) {
        return (scriptLetters(kLanguageKorean, l.text) == 0 || l.confidence < kSure) && !isMailOrWebLine(l.text)
            && !number.match(l.text).hasMatch();
    };
    for (size_t i = 0; i < lines->size(); ++i) {
        for (size_t j = 0; j < lines->size(); ++j) {
            RecognizedLine& upper = (*lines)[i];
            const RecognizedLine& lower = (*lines)[j];
            const int h = upper.bottom - upper.top + 1;
            const int across = std::min(upper.right, lower.right) - std::max(upper.left, lower.left);
            if (i == j || lower.top < upper.top - h / 4 || lower.top > upper.bottom + h / 4 || lower.bottom - lower.top + 1 >= h
                || 2 * across < std::min(upper.right - upper.left, lower.right - lower.left) || isMailOrWebLine(upper.text) || !scrap(lower)
                || (scriptLetters(kLanguageKorean, upper.text) == 0 && !scrap(upper)))
                continue;
            const RecognizedLine both{{},
                                      std::min(upper.left, lower.left),
                                      std::min(upper.top, lower.top),
                                      std::max(upper.right, lower.right),
                                      std::max(upper.bottom, lower.bottom),
                                      0};
            const RecognizedLine again = readBoxAt(engine, pix, own, extendedToInk(pix, both), kReadHeight);
            if (scriptLetters(kLanguageKorean, again.text) < std::max<qsizetype>(1, scriptLetters(kLanguageKorean, upper.text))
                || again.confidence < kSure)
                continue;
            upper = {again.text,      std::min(both.left, again.left), both.top, std::max(both.right, again.right), both.bottom,
                     again.confidence};
            lines->erase(lines->begin() + qsizetype(j));
            if (j < i)
                --i;
            j = 0;
        }
    }
}

// A line of Hangul the engine's layout cut short: the first syllables of a role line left unread
// ("조정실 지사장" for 기획조정실 지사장) or read as scraps of their own beside it ("영", "업.",
// "본부 이사"). A line whose ink goes on beyond its box is read again out to that ink, and taken
// when it reads as before with more syllables run onto its ends, surely; the scraps inside it go.
void widenCutKoreanLines(TesseractEngine& engine, Pix* pix, const std::string& own, std::vector<RecognizedLine>* lines)
{
    const std::vector<RecognizedLine> read = *lines;
    for (const RecognizedLine& line : read) {
        // A scrap a line before took in is gone.
        if (std::none_of(lines->begin(), lines->end(), [&line](const RecognizedLine& o) {
                return o.left == line.left && o.top == line.top && o.right == line.right && o.text == line.text;
            }))
            continue;
        const int h = line.bottom - line.top + 1;
        const qsizetype hangul = scriptLetters(kLanguageKorean, line.text);
        if (hangul < 2 || std::any_of(line.text.begin(), line.text.end(), [](QChar c) { return c.isDigit() || c == u'@'; }))
            continue;
        const RecognizedLine wide = extendedToInk(pix, line);
        if ((line.left - wide.left) + (wide.right - line.right) < h / 2)
            continue;
        const auto inside = [&wide](const RecognizedLine& o) {
            return o.left >= wide.left - 2 && o.right <= wide.right + 2 && 2 * (std::min(o.bottom, wide.bottom) - std::max(o.top, wide.top)) > o.bottom - o.top;
        };
        qsizetype covered = 0;
        for (const RecognizedLine& o : *lines) {
            if (inside(o))
                covered += scriptLetters(kLanguageKorean, o.text);
        }
        const RecognizedLine again = readBoxAt(engine, pix, own, wide, kReadHeight);
        // The line as read before, with syllables run onto its first or last word: a logo's or an
        // icon's strokes read as words of their own, or the line read otherwise, are no cut part.
        const QString before = line.text.simplified(), after = again.text.simplified();
        static const QRegularExpression runOn(QStringLiteral(R"(^[\x{AC00}-\x{D7A3}]+$)"));
        const bool grown = (after.endsWith(before) && runOn.match(after.chopped(before.size())).hasMatch())
            || (after.startsWith(before) && runOn.match(after.mid(before.size())).hasMatch());
        if (!grown || again.confidence < kSure || scriptLetters(kLanguageKorean, again.text) < std::max(hangul + 1, covered))
            continue;
        const RecognizedLine whole{again.text, wide.left, line.top, wide.right, line.bottom, again.confidence};
        lines->erase(std::remove_if(lines->begin(), lines->end(), [&](const RecognizedLine& o) { return inside(o) && o.text != line.text; }),
                     lines->end());
        std::replace_if(lines->begin(), lines->end(), [&](const RecognizedLine& o) { return o.left == line.left && o.top == line.top && o.text == line.text; }, whole);
    }
}

// An address line the engine's layout ended at the road's number, leaving the building and floor
// set after it on the same row unread ("… 테헤란로 144," without "한솔빌딩 23층"). The ink going on
// beyond the line's end, where no other line was read, is read on its own and taken where it reads
// surely as Hangul words.
void readCutKoreanAddressEnds(TesseractEngine& engine, Pix* pix, const std::string& own, std::vector<RecognizedLine>* lines)
{
    for (RecognizedLine& line : *lines) {
        if (!isAddressOfScript(line.text))
            continue;
        const int h = line.bottom - line.top + 1;
        const RecognizedLine tail{{}, line.right + 1, line.top, extendedToInk(pix, line).right, line.bottom, 0};
        if (tail.right - tail.left < h || coveredByLine(*lines, tail))
            continue;
        const RecognizedLine again = readBoxAt(engine, pix, own, tail, kReadHeight);
        if (again.confidence < kSure || scriptLetters(kLanguageKorean, again.text) < 2)
            continue;
        // The comma after the number may be read again at the tail's start.
        static const QRegularExpression marks(QStringLiteral(R"(^[^\p{L}\p{N}]+)"));
        QString rest = again.text.simplified();
        const bool comma = rest.left(int(marks.match(rest).capturedLength())).contains(u',');
        rest.remove(marks);
        line.text = line.text.trimmed();
        if (comma && !line.text.endsWith(u','))
            line.text += u',';
        line.text += u' ' + rest;
        line.right = tail.right;
    }
}

// The rows of ink in `area` of an 8-bit image, top down, each with the box of its ink: pixels set
// apart from the area's paper (its commonest level, light or dark) by rows of paper.
std::vector<RecognizedLine> inkRowsIn(Pix* pix, const RecognizedLine& area)
{
    const int wpl = int(pixGetWpl(pix));
    const l_uint32* data = pixGetData(pix);
    const auto level = [&](int x, int y) { return int(GET_DATA_BYTE(data + size_t(y) * size_t(wpl), x)); };
    std::array<int, 256> levels{};
    for (int y = area.top; y <= area.bottom; ++y) {
        for (int x = area.left; x <= area.right; ++x)
            ++levels[size_t(level(x, y))];
    }
    const int paper = int(std::max_element(levels.begin(), levels.end()) - levels.begin());
    std::vector<RecognizedLine> rows;
    bool inRow = false;
    for (int y = area.top; y <= area.bottom; ++y) {
        int left = area.right + 1, right = area.left - 1;
        for (int x = area.left; x <= area.right; ++x) {
            if (std::abs(level(x, y) - paper) > kInkFromPaper) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        if (right < left) {
            inRow = false;
            continue;
        }
        if (!inRow)
            rows.push_back({{}, left, y, right, y, 0});
        inRow = true;
        RecognizedLine& row = rows.back();
        row.left = std::min(row.left, left);
        row.right = std::max(row.right, right);
        row.bottom = y;
    }
    return rows;
}

// The floor an address wrapped onto a line of its own below, too short for the engine's layout to
// read ("서울특별시 구로구 디지털로 253" over "5층"): the row of ink under the start of an address
// line, in its type and where no line was read, is read with the Korean model and taken as a line
// where it reads surely as a floor, a room or a building with its number.
void readFloorsBelowKoreanAddresses(TesseractEngine& engine, Pix* pix, const std::string& own, std::vector<RecognizedLine>* lines)
{
    static const QRegularExpression floor(QString::fromUtf8(R"(^(?:[가-힣A-Za-z0-9]+\s)?[0-9]{1,3}\s?(?:층|호|동)$)"));
    const auto scrap = [](const RecognizedLine& l) {
        return l.confidence < kSure || std::count_if(l.text.begin(), l.text.end(), [](QChar c) { return c.isLetterOrNumber(); }) < 2;
    };
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix));
    for (size_t i = 0; i < lines->size(); ++i) {
        const RecognizedLine line = (*lines)[i];
        const int h = line.bottom - line.top + 1;
        if (!isAddressOfScript(line.text))
            continue;
        // From the address line's top down to the next line read under it: the address's own row of
        // ink, then the floor's.
        RecognizedLine area{{}, std::max(0, line.left - h / 2), line.top, std::min(width - 1, line.left + 6 * h), std::min(height - 1, line.bottom + 2 * h), 0};
        for (const RecognizedLine& o : *lines) {
            if (!scrap(o) && o.top > line.top + h / 2 && o.right > area.left && o.left < area.right)
                area.bottom = std::min(area.bottom, o.top - 1);
        }
        const std::vector<RecognizedLine> rows = inkRowsIn(pix, area);
        if (rows.size() < 2 || rows[0].top > line.top + h / 2)
            continue;
        const RecognizedLine& ink = rows[1];
        const int inkHeight = ink.bottom - ink.top + 1;
        if (3 * inkHeight < h || 2 * inkHeight > 3 * h || ink.right - ink.left < h / 2)
            continue;
        RecognizedLine again = readBoxAt(engine, pix, own, ink, kReadHeight);
        again.text = again.text.simplified();
        if (again.confidence < kSure || !floor.match(again.text).hasMatch())
            continue;
        // Scraps the engine made of the floor go.
        const RecognizedLine found{again.text, ink.left, ink.top, ink.right, ink.bottom, again.confidence};
        lines->erase(std::remove_if(lines->begin() + qsizetype(i) + 1, lines->end(),
                                    [&found, &scrap](const RecognizedLine& o) {
                                        return scrap(o) && o.left >= found.left - 2 && o.right <= found.right + 2 && o.top >= found.top - 2
                                            && o.bottom <= found.bottom + 2;
                                    }),
                     lines->end());
        lines->insert(lines->begin() + qsizetype(i) + 1, found);
        ++i;
    }
}

// Whether the end of a line from `at` has the whole shape of an e-mail or a web address.
bool isWholeAddress(const QString& text, qsizetype at)
{
    static const QRegularExpression shape(
        QStringLiteral(R"(^(?:[a-z0-9._%+\-]+@[a-z0-9\-]+(?:\.[a-z0-9\-]+)+|(?:[a-z]{3,5}:\s*//)?(?:www\.)?[a-z0-9\-]+(?:\.[a-z0-9\-]+)+/?)$)"));
    return at >= 0 && shape.match(withWebAddressShape(text.mid(at).trimmed())).hasMatch();
}

// The e-mail and web addresses of a Chinese card read again alone with the English model: beside
// the script's model the engine reads their letters as others ("jingiao" for "jinqiao", "1.guo",
// "chang,jiang"). The English reading's address takes the place of the first where it has an
// address's whole shape.
void rereadAddressesInLatin(TesseractEngine& engine, Pix* pix, std::vector<RecognizedLine>* lines)
{
    if (!engine.hasLanguage(kLatinModel))
        return;
    for (RecognizedLine& line : *lines) {
        const qsizetype at = addressStart(line.text);
        if (at < 0)
            continue;
        const RecognizedLine again = readBoxAt(engine, pix, kLatinModel, extendedToInk(pix, line), kReadHeight);
        const qsizetype atAgain = addressStart(again.text);
        // A blank read inside the address ("zheng z@…" for "zheng_z@…") leaves its start behind.
        static const QRegularExpression piece(QStringLiteral(R"((?:^|\s)[a-z0-9._\-]+\s+$)"));
        if (isWholeAddress(again.text, atAgain) && !piece.match(again.text.left(atAgain)).hasMatch()
            && (!isWholeAddress(line.text, at) || again.confidence > line.confidence))
            line.text = line.text.left(at) + again.text.mid(atAgain).trimmed();
    }
}

// Whether the first stretch of ink in a box is a logo before the type after it: it stands taller
// than the type, or apart from it by twice the widest gap between its characters. A rule or a speck
// before it is no part of it. `typeLeft` is where the type starts.
bool startsWithLogo(Pix* pix, const RecognizedLine& box, int* typeLeft)
{
    const int h = box.bottom - box.top + 1;
    std::vector<std::pair<int, int>> blocks = inkBlocks(pix, box.left, box.top, box.right, box.bottom, std::max(2, h / 5));
    std::erase_if(blocks, [h](const std::pair<int, int>& b) { return 6 * (b.second - b.first + 1) < h; });
    if (blocks.size() < 2)
        return false;
    const InkExtent logo = inkExtent(pix, blocks.front().first, box.top, blocks.front().second, box.bottom);
    const InkExtent type = inkExtent(pix, blocks[1].first, box.top, blocks.back().second, box.bottom);
    const std::vector<std::pair<int, int>> glyphs = inkBlocks(pix, blocks[1].first, box.top, box.right, box.bottom, 1);
    int widestGap = 0;
    for (size_t i = 1; i < glyphs.size(); ++i)
        widestGap = std::max(widestGap, glyphs[i].first - glyphs[i - 1].second);
    *typeLeft = blocks[1].first;
    return 4 * (logo.bottom - logo.top + 1) > 5 * (type.bottom - type.top + 1) || blocks[1].first - blocks.front().second >= 2 * widestGap;
}

// A logo set before a Chinese company's name, read as a character of its own on the company's line
// ("合  嘉禾影視有限公司", "令 天润食品集团有限公司") or as a line of one character just before it, goes.
// A character of the name set apart ("寶 島食品…") is as tall as the rest and as near.
void dropLogoBeforeCompany(Pix* pix, std::vector<RecognizedLine>* lines)
{
    static const QRegularExpression lead(QStringLiteral(R"(^[^\p{Han}\p{L}\p{N}]*\p{Han}\s+(?=\p{Han}{4,}))"));
    static const QRegularExpression oneCharacter(QStringLiteral(R"(^[^\p{Han}\p{L}\p{N}]*\p{Han}[^\p{Han}\p{L}\p{N}]*$)"));
    for (size_t i = 0; i < lines->size(); ++i) {
        RecognizedLine& line = (*lines)[i];
        const auto m = lead.match(line.text);
        const int h = line.bottom - line.top + 1;
        int typeLeft = 0;
        if (m.hasMatch()) {
            if (isCompanyOfScript(line.text.mid(m.capturedEnd())) && startsWithLogo(pix, line, &typeLeft)) {
                line.text = line.text.mid(m.capturedEnd());
                line.left = typeLeft;
            }
            continue;
        }
        if (!isCompanyOfScript(line.text))
            continue;
        const auto logo = std::find_if(lines->begin(), lines->end(), [&](const RecognizedLine& o) {
            const int overlap = std::min(o.bottom, line.bottom) - std::max(o.top, line.top) + 1;
            return &o != &line && oneCharacter.match(o.text).hasMatch() && 2 * overlap > std::min(h, o.bottom - o.top + 1)
                && o.right <= line.left + h / 4 && line.left - o.right < 2 * h;
        });
        if (logo == lines->end())
            continue;
        const RecognizedLine both{{}, logo->left, std::min(logo->top, line.top), line.right, std::max(logo->bottom, line.bottom), 0};
        if (startsWithLogo(pix, both, &typeLeft)) {
            lines->erase(logo);
            i = size_t(-1);
        }
    }
}

// The heights a Chinese name's line is read again at: the engine's best for body type, and larger
// for the strokes of a name set large.
constexpr float kNameReadHeights[] = {kReadHeight, 64.0f};

// A Chinese name set large, often with its characters spaced apart, is read on the whole card as
// Latin scraps ("ER wo Re" for 邱品睿, "52 BAKE" for 彭明辉) or loses a character ("冯晓" of
// 冯晓燕). Where no line reads as a name, each line of large type that is no name yet is read
// alone with the script's own model, widened to the ink of its row, and a reading that is a name
// takes its place.
void rereadChineseName(TesseractEngine& engine, Pix* pix, const std::string& own, int body, std::vector<RecognizedLine>* lines)
{
    const auto isName = [](const RecognizedLine& l) { return isScriptName(l.text) && QString(l.text).remove(u' ').size() >= 3; };
    if (std::any_of(lines->begin(), lines->end(), isName))
        return;
    for (RecognizedLine& line : *lines) {
        const QString text = QString(line.text).remove(u' ');
        if ((line.bottom - line.top) * 10 < body * kLargeType || text.size() > 8 || isMailOrWebLine(text) || isCompanyOfScript(text)
            || std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
            continue;
        const RecognizedLine wide = extendedToInk(pix, line);
        for (const float height : kNameReadHeights) {
            const RecognizedLine again = readBoxAt(engine, pix, own, wide, height);
            if (isScriptName(again.text.trimmed())) {
                line = {again.text.trimmed(), wide.left, line.top, wide.right, line.bottom, again.confidence};
                return;
            }
        }
    }
}

} // namespace

void rereadScriptLines(TesseractEngine& engine, Pix* pix, int language, std::vector<RecognizedLine>* lines)
{
    const std::string own = ownModelOfLanguage(language);
    if (!engine.hasLanguage(own))
        return;
    if (language == kLanguageKorean) {
        joinSplitSyllableRows(engine, pix, own, lines);
        widenCutKoreanLines(engine, pix, own, lines);
        readCutKoreanAddressEnds(engine, pix, own, lines);
        readFloorsBelowKoreanAddresses(engine, pix, own, lines);
    }
    std::vector<int> heights;
    for (const RecognizedLine& line : *lines)
        heights.push_back(line.bottom - line.top);
    std::sort(heights.begin(), heights.end());
    const int body = heights.empty() ? 0 : heights[heights.size() / 2];
    if (language == kLanguageChineseSimplified || language == kLanguageChineseTraditional) {
        rereadAddressesInLatin(engine, pix, lines);
        rereadChineseName(engine, pix, own, body, lines);
    }
    for (RecognizedLine& line : *lines) {
        const qsizetype script = scriptLetters(language, line.text);
        const auto latin = std::count_if(line.text.begin(), line.text.end(), [](QChar c) { return c.isLetter() && c.unicode() < 0x250; });
        // The engine reads large type (a name, a company) worse on the whole card than alone at
        // the height it reads best.
        const bool large = script > 0 && (line.bottom - line.top) * 10 >= body * kLargeType;
        if ((latin == 0 && !large) || (script == 0 && line.confidence >= kDoubtedLatin) || isMailOrWebLine(line.text))
            continue;
        const RecognizedLine again = readBoxAt(engine, pix, own, large ? extendedToInk(pix, line) : line, kReadHeight);
        const qsizetype scriptAgain = scriptLetters(language, again.text);
        const bool better = latin == 0 ? (scriptAgain > script ? again.confidence + kLessSure >= line.confidence
                                                                : scriptAgain == script && again.confidence >= line.confidence + kLessSure)
            : script > 0              ? scriptAgain >= script && again.confidence + kLessSure >= line.confidence
                                      : scriptAgain > 0 && again.confidence >= kSure;
        if (better) {
            line.text = again.text;
            line.confidence = again.confidence;
            line.left = std::min(line.left, again.left);
            line.right = std::max(line.right, again.right);
        }
    }
}

void readMissedRows(TesseractEngine& engine, Pix* card, int language, std::vector<RecognizedLine>* lines)
{
    const std::string own = ownModelOfLanguage(language);
    if (!engine.hasLanguage(own))
        return;
    // On a Korean card a line set in light grey is found and read on a darkened copy.
    const PixPtr darkened = language == kLanguageKorean ? withGreyTypeDarkened(card) : nullptr;
    Pix* pix = darkened ? darkened.get() : card;
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix));
    std::vector<int> heights;
    for (const RecognizedLine& line : *lines)
        heights.push_back(line.bottom - line.top + 1);
    std::sort(heights.begin(), heights.end());
    const int body = heights.empty() ? 0 : heights[heights.size() / 2];
    std::vector<RecognizedLine> found;
    for (const auto& [rowTop, rowBottom] : inkRows(pix, 0, 0, width - 1, height - 1)) {
        // On a Korean or Chinese card a name set beside a logo, beside the company's lines or
        // beside a column of numbers makes one row of ink with them across the card: each block
        // of the row is taken apart.
        std::vector<RecognizedLine> rows;
        if (language != kLanguageRussian && body > 0) {
            for (const auto& [from, to] : inkBlocks(pix, 0, rowTop, width - 1, rowBottom, kBlockGap * body)) {
                for (const auto& [top, bottom] : inkRows(pix, from, rowTop, to, rowBottom))
                    rows.push_back({{}, from, top, to, bottom, 0});
            }
        } else {
            rows.push_back({{}, 0, rowTop, width - 1, rowBottom, 0});
        }
        for (const RecognizedLine& box : rows) {
            const int rowHeight = box.bottom - box.top + 1;
            // A line covers the row when it lies across half the row's height; a line of Latin
            // letters the engine doubts there may be the row's script read as English.
            std::vector<size_t> over;
            for (size_t i = 0; i < lines->size(); ++i) {
                const RecognizedLine& l = (*lines)[i];
                if (2 * (std::min(box.bottom, l.bottom) - std::max(box.top, l.top) + 1) > std::min(rowHeight, l.bottom - l.top + 1)
                    && l.left <= box.right && l.right >= box.left)
                    over.push_back(i);
            }
            const bool doubted = !over.empty() && std::all_of(over.begin(), over.end(), [&](size_t i) {
                const RecognizedLine& l = (*lines)[i];
                return scriptLetters(language, l.text) == 0 && l.confidence < kDoubtedLatin && !isMailOrWebLine(l.text);
            });
            if (!over.empty() && !doubted)
                continue;
            const auto [left, inkTop, right, inkBottom] = inkExtent(pix, box.left, box.top, box.right, box.bottom);
            if (left < 0 || right - left < rowHeight)
                continue;
            RecognizedLine row = readBoxAt(engine, pix, own, {{}, left, box.top, right, box.bottom, 0}, kReadHeight);
            // A Korean company set beside its logo reads as nothing with the logo: the type is
            // read alone.
            if (int typeLeft = 0; language == kLanguageKorean && (scriptLetters(language, row.text) == 0 || row.confidence < kSure)
                                  && startsWithLogo(pix, {{}, left, box.top, right, box.bottom, 0}, &typeLeft))
                row = readBoxAt(engine, pix, own, {{}, typeLeft, box.top, right, box.bottom, 0}, kReadHeight);
            row.text = cleanRecognizedText(row.text);
            if (scriptLetters(language, row.text) == 0 || row.confidence < kSure)
                continue;
            for (auto it = over.rbegin(); it != over.rend(); ++it)
                lines->erase(lines->begin() + qsizetype(*it));
            found.push_back(std::move(row));
        }
    }
    lines->insert(lines->end(), found.begin(), found.end());
    std::stable_sort(lines->begin(), lines->end(), [](const RecognizedLine& a, const RecognizedLine& b) { return a.top < b.top; });
    if (language == kLanguageChineseSimplified || language == kLanguageChineseTraditional)
        dropLogoBeforeCompany(card, lines);
}
