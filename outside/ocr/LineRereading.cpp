#include "outside/ocr/LineRereading.h"

#include "outside/ocr/FuriganaRereading.h"
#include "outside/ocr/JapaneseLineText.h"
#include "outside/ocr/LargeTypeRows.h"
#include "outside/ocr/NameRowCharacters.h"
#include "outside/ocr/ScanCleanup.h"
#include "outside/ocr/TesseractEngine.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <leptonica/allheaders.h>

namespace {

// Height of a row of type, in pixels, that the engine reads best (measured on drawn cards).
constexpr float kBestRowHeight = 40.0f;
// A row read at the best height less surely than this is read at the last of these heights too,
// and a row of large type (this high) at all of them.
constexpr int kSureOfRow = 85;
constexpr int kLargeRowHeight = 56;
constexpr std::array<float, 2> kSmallerRowHeights = {24.0f, 32.0f};
constexpr int kInk = 128;
// Rows lower than this are specks, underlines or the dots of a rule.
constexpr int kLeastRowHeight = 8;
// A reading this much less sure than the first one is not taken.
constexpr int kConfidenceMargin = 15;
// Ink the engine left unread is only taken as text when read this surely.
constexpr int kSureOfUnread = 70;
// Below this the engine doubts a line: a Latin line of a Japanese card so read may be Japanese
// type the English model made letters of ("#Wib=Bey4—9-6").
constexpr int kDoubtedLine = 75;
// Letter-spaced names leave gaps of up to this many heights of their type between characters.
constexpr double kLetterGapHeights = 2.5;
// An English reading with lines below this holds type the English model could not read.
constexpr int kUnreadType = 50;
// ... on one line in this many at least, of a card of this many lines at most: small print the
// engine doubts here and there holds no Japanese type.
constexpr qsizetype kUnreadShare = 5;
constexpr qsizetype kCardLines = 40;
// An e-mail or web address the Japanese model read this surely has its dots.
constexpr int kSureOfAddress = 90;
// Below this a line is read again whatever its script.
constexpr int kUnsureLine = 60;
// Type this many times the usual height of the card's lines, in a row of this many characters at
// most, may be a name: a row of it the engine doubts is read again character by character.
constexpr double kNameSize = 1.4;
constexpr size_t kNameCharacters = 7;
// A name read again in kana and kanji is taken in place of letters when read this surely.
constexpr int kSureOfName = 25;
// A row of characters this many times the usual height of the card's rows of type, set apart in
// the ink, may be a name the layout missed.
constexpr double kNameRowSize = 1.3;

struct Area {
    int left, top, right, bottom;
};

bool hasWide(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const ushort u = c.unicode();
        return (u > 0x3000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF);
    });
}

int wideCount(const QString& text)
{
    return int(std::count_if(text.begin(), text.end(), [](QChar c) { return hasWide(QString(c)); }));
}

// Kana and kanji, not the full-width letters the Japanese model gives Latin type now and then.
int japaneseCount(const QString& text)
{
    return int(std::count_if(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3040 && c.unicode() <= 0x9FFF; }));
}

// Lines worth reading again: Japanese ones, and what the engine doubts; not the e-mail and web
// addresses, which the English model reads best.
bool isMailOrWeb(const QString& text)
{
    // An "@" alone is no address: the English model reads Japanese type as "@SbSSANB1—5".
    static const QRegularExpression mail(QStringLiteral(R"(\w@|@\S+\.\S)"));
    return mail.match(text).hasMatch() || text.contains(QStringLiteral("www"), Qt::CaseInsensitive)
        || text.contains(QStringLiteral("http"), Qt::CaseInsensitive);
}

// A short Latin scrap ("AL", "TEM HBA") is what the Latin model makes of large Japanese type.
bool isScrap(const QString& text)
{
    return text.size() <= 8 && std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

bool isRereadCandidate(const RecognizedLine& line)
{
    return !isMailOrWeb(line.text) && (hasWide(line.text) || line.confidence < kDoubtedLine || isScrap(line.text));
}

// Whether the rows read again replace `line`: they must hold Japanese, and be about as sure as the
// line or read all it holds; a Latin line the engine only doubted is replaced only by a surer
// reading in Japanese.
bool takesRereading(const RecognizedLine& line, const std::vector<RecognizedLine>& again, int sure, int usualHeight)
{
    if (std::none_of(again.begin(), again.end(), [](const RecognizedLine& l) { return hasWide(l.text); }))
        return false;
    // Large type of which the models together made letters and digits ("2H 忍", "2h 25"), read
    // again alone as a name: the confidence of letters the English model made up says nothing.
    if (again.size() == 1 && again.front().bottom - again.front().top + 1 >= kNameSize * usualHeight
        && QString(line.text).remove(u' ').size() <= qsizetype(kNameCharacters) && !isKanaAndKanji(line.text)
        && isKanaAndKanji(again.front().text) && again.front().confidence >= kSureOfName)
        return true;
    // Rows that read what the line holds and more ("加藤 誠" for "加 藤") take in type it left out.
    QString read;
    for (const RecognizedLine& l : again)
        read += l.text;
    const QString held = QString(line.text).remove(u' ');
    if (read.remove(u' ').size() > held.size() && read.contains(held))
        return true;
    if (hasWide(line.text) || line.confidence < kUnsureLine || isScrap(line.text))
        return sure + kConfidenceMargin >= line.confidence;
    return sure > line.confidence
        && std::any_of(again.begin(), again.end(), [](const RecognizedLine& l) { return japaneseCount(l.text) >= 2; });
}

// Rows of ink (top to bottom) between the columns `left` and `right` within a row's band.
int inkHeight(Pix* pix, int left, int right, int top, int bottom)
{
    const l_uint32* data = pixGetData(pix);
    const int wpl = int(pixGetWpl(pix));
    int first = -1, last = -1;
    for (int y = top; y <= bottom; ++y) {
        const l_uint32* line = data + size_t(y) * size_t(wpl);
        for (int x = left; x <= right; ++x) {
            if (GET_DATA_BYTE(line, x) < kInk) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

// The row's ink goes on past the box the engine gave (a last character it left out) as long as
// no gap wider than half the row's height comes.
void widenToInk(Pix* pix, Area* row)
{
    const int width = int(pixGetWidth(pix));
    const int gap = std::max(2, (row->bottom - row->top + 1) / 2);
    for (int x = row->right + 1, blank = 0; x < width && blank <= gap; ++x) {
        if (columnHasInk(pix, x, row->top, row->bottom)) {
            row->right = x;
            blank = 0;
        } else {
            ++blank;
        }
    }
    for (int x = row->left - 1, blank = 0; x >= 0 && blank <= gap; --x) {
        if (columnHasInk(pix, x, row->top, row->bottom)) {
            row->left = x;
            blank = 0;
        } else {
            ++blank;
        }
    }
    // Letter-spaced type ("矢 部    浩 二"), which the engine breaks into pieces: past a wider gap, a
    // character of the row's size goes on the row; a block of smaller lines there does not.
    const int high = row->bottom - row->top + 1;
    const auto letterBeyond = [&](int from, int step, int* edge) {
        int x = from;
        while (x >= 0 && x < width && std::abs(x - from) < kLetterGapHeights * high && !columnHasInk(pix, x, row->top, row->bottom))
            x += step;
        if (x < 0 || x >= width || std::abs(x - from) >= kLetterGapHeights * high)
            return false;
        int end = x;
        for (int c = x, blank = 0; c >= 0 && c < width && blank <= gap && std::abs(c - x) <= 2 * high; c += step) {
            if (columnHasInk(pix, c, row->top, row->bottom)) {
                end = c;
                blank = 0;
            } else {
                ++blank;
            }
        }
        // Not a character: wider than one and a half, a hairline, or the scanner's edge.
        const int left = std::min(x, end), right = std::max(x, end);
        if (2 * (right - left + 1) > 3 * high || 4 * (right - left + 1) < high || left == 0 || right == width - 1
            || 2 * inkHeight(pix, left, right, row->top, row->bottom) < high)
            return false;
        *edge = end;
        return true;
    };
    while (letterBeyond(row->right + 1, 1, &row->right)) {}
    while (letterBeyond(row->left - 1, -1, &row->left)) {}
}

RecognizedLine readRowAt(TesseractEngine& engine, Pix* pix, const std::string& data, const Area& row, float rowHeightRead)
{
    return readBoxAt(engine, pix, data, {{}, row.left, row.top, row.right, row.bottom, 0}, rowHeightRead);
}

// A row the engine doubts at the usual height often has a character wrong (亮 as 館, 斗 as 半, 千
// as 寺): it is read smaller as well, large type at two heights, and the reading the engine is
// surest of is taken.
RecognizedLine readRow(TesseractEngine& engine, Pix* pix, const std::string& data, const Area& row)
{
    RecognizedLine best = readRowAt(engine, pix, data, row, kBestRowHeight);
    if (best.confidence >= kSureOfRow)
        return best;
    const bool large = row.bottom - row.top + 1 >= kLargeRowHeight;
    for (const float smaller : kSmallerRowHeights) {
        if (!large && smaller != kSmallerRowHeights.back())
            continue;
        RecognizedLine again = readRowAt(engine, pix, data, row, smaller);
        if (again.confidence > best.confidence)
            best = std::move(again);
    }
    return best;
}

template <typename Box> int rowHeight(const Box& row)
{
    return row.bottom - row.top + 1;
}

} // namespace

int medianHeight(const std::vector<RecognizedLine>& lines)
{
    std::vector<int> heights;
    for (const RecognizedLine& l : lines)
        heights.push_back(l.bottom - l.top + 1);
    if (heights.empty())
        return 0;
    std::nth_element(heights.begin(), heights.begin() + qsizetype(heights.size() / 2), heights.end());
    return heights[heights.size() / 2];
}

bool coveredByLine(const std::vector<RecognizedLine>& lines, const RecognizedLine& box)
{
    return std::any_of(lines.begin(), lines.end(), [&box](const RecognizedLine& o) {
        return o.right > box.left && o.left < box.right && 2 * (std::min(o.bottom, box.bottom) - std::max(o.top, box.top)) > o.bottom - o.top;
    });
}

namespace {

// A row of a name's size whose reading is in doubt is read character by character; that reading
// is taken when surer, or nearly as sure where the row's reading cannot be a name ("2H 忍").
RecognizedLine readAsName(TesseractEngine& engine, Pix* pix, const std::string& data, RecognizedLine read)
{
    const auto columns = characterColumns(pix, read.left, read.top, read.right, read.bottom);
    if (columns.size() < 2 || columns.size() > kNameCharacters)
        return read;
    if (!isDoubtfulNameRow(read.text, read.confidence, int(columns.size()), kUnsureLine)) {
        // The engine sets blanks in letter-spaced type where it likes ("藤 田       俊    介"): the
        // one blank goes where the ink's gap is clearly the widest.
        read.text = withBlankAtWidestGap(withoutBlanks(read.text), columns, rowHeight(read));
        return read;
    }
    RecognizedLine characters = readByCharacters(engine, pix, data, read, columns);
    if (characters.text.isEmpty())
        return read;
    const bool unlikeName = isDoubtfulNameRow(read.text, 0, int(columns.size()), 0);
    const bool surer = unlikeName ? characters.confidence + kConfidenceMargin >= read.confidence : characters.confidence > read.confidence;
    return surer ? characters : read;
}

bool overlaps(const Area& a, const RecognizedLine& b)
{
    const int across = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int down = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return across > 0 && down * 2 > std::min(a.bottom - a.top, b.bottom - b.top);
}

// The characters of a row of large type that may be a name: 2 to kNameCharacters, in one row of
// ink (lines of small type one over the other join into a block); 0 when it may not.
int nameCharacters(Pix* pix, const Area& row)
{
    const auto columns = characterColumns(pix, row.left, row.top, row.right, row.bottom);
    if (columns.size() < 2 || columns.size() > kNameCharacters || inkRows(pix, row.left, row.top, row.right, row.bottom).size() != 1)
        return 0;
    return int(columns.size());
}

// The name's row found in the ink, where no line reads it well (the layout dropped it, cut it into
// scraps or ran it into the column beside it), is read as a name; the scraps go, and a line run
// into it keeps what lies beside it, read again with `readRows`.
void readNameRowsInInk(TesseractEngine& engine, Pix* pix, const std::string& data, std::vector<RecognizedLine>* lines,
                       const std::function<void(const RecognizedLine&, std::vector<RecognizedLine>*)>& readRows)
{
    const int usual = medianHeight(*lines);
    for (const RecognizedLine& found : largeTypeRows(pix, int(kNameRowSize * usual))) {
        // Characters of few strokes set apart (三, 一) do not join into a blob: the row takes them in.
        Area row{found.left, found.top, found.right, found.bottom};
        widenToInk(pix, &row);
        const int characters = nameCharacters(pix, row);
        if (characters == 0)
            continue;
        const int high = rowHeight(row);
        const auto inRow = [&row, high](const RecognizedLine& l) {
            const int across = std::min(l.right, row.right) - std::max(l.left, row.left);
            const int down = std::min(l.bottom, row.bottom) - std::max(l.top, row.top);
            return across > 0 && down * 2 > std::min(high, rowHeight(l));
        };
        // A line over the row, of its size, that the engine is sure of and reads as Japanese words
        // is its reading already; lower lines in it are scraps of its strokes. One that reads as a
        // name of the row's characters, but less surely, gives way only to a clearly surer reading.
        const auto ofRow = [&](const RecognizedLine& l) { return inRow(l) && 2 * rowHeight(l) >= high; };
        const bool readWell = std::any_of(lines->begin(), lines->end(), [&](const RecognizedLine& l) {
            return ofRow(l) && l.confidence >= kUnsureLine && japaneseCount(l.text) >= 2;
        });
        if (readWell)
            continue;
        int nameSure = -1;
        for (const RecognizedLine& l : *lines) {
            if (ofRow(l) && !isDoubtfulNameRow(l.text, 0, characters, 0))
                nameSure = std::max(nameSure, l.confidence);
        }
        const RecognizedLine read = readAsName(engine, pix, data, readRowAt(engine, pix, data, row, kBestRowHeight));
        if (!isKanaAndKanji(read.text) || isDoubtfulNameRow(read.text, read.confidence, characters, kUnsureLine)
            || (nameSure >= 0 && read.confidence < nameSure + kConfidenceMargin))
            continue;
        std::vector<RecognizedLine> kept;
        for (const RecognizedLine& l : *lines) {
            if (!inRow(l)) {
                kept.push_back(l);
                continue;
            }
            const bool wider = l.right > row.right + high || l.left < row.left - high;
            std::vector<RecognizedLine> beside;
            if (l.right > row.right + high)
                readRows({{}, row.right + high / 2, l.top, l.right, l.bottom, 0}, &beside);
            if (l.left < row.left - high)
                readRows({{}, l.left, l.top, row.left - high / 2, l.bottom, 0}, &beside);
            const bool readBeside = !beside.empty();
            // Rows another line reads already stay that line's.
            std::erase_if(beside, [&](const RecognizedLine& b) {
                return std::any_of(lines->begin(), lines->end(), [&](const RecognizedLine& other) {
                    return &other != &l && overlaps(Area{b.left, b.top, b.right, b.bottom}, other);
                });
            });
            int sure = 0;
            for (const RecognizedLine& b : beside)
                sure += b.confidence;
            // What was read beside the name replaces the line only when read as surely; a line
            // with nothing readable beside the name was a scrap of it.
            if (wider && readBeside && (beside.empty() || sure < l.confidence * int(beside.size())))
                kept.push_back(l);
            else
                kept.insert(kept.end(), beside.begin(), beside.end());
        }
        const auto below = std::find_if(kept.begin(), kept.end(), [&read](const RecognizedLine& l) { return l.top > read.bottom; });
        kept.insert(below, read);
        *lines = std::move(kept);
    }
}

// The engine sometimes cuts a row in two ("…東大通" and "2-4-10"), or reads a piece of it as a line
// of its own that overlaps the rest ("AN" over "北村 Bari"): pieces of one row that overlap or lie
// close together are read again as one.
std::vector<RecognizedLine> joinedRows(Pix* pix, const std::vector<RecognizedLine>& lines)
{
    // The height of the tallest row of ink in a line's box: the size of its type, which the box's
    // own height (taller round a few large characters) does not tell.
    const auto typeSize = [pix](const RecognizedLine& l) {
        int size = 0;
        for (const auto& [top, bottom] : inkRows(pix, l.left, l.top, l.right, l.bottom))
            size = std::max(size, bottom - top + 1);
        return size;
    };
    std::vector<RecognizedLine> out;
    for (const RecognizedLine& line : lines) {
        const auto sameRow = [&line, &out, &typeSize](const RecognizedLine& last) {
            const int h = std::min(last.bottom - last.top, line.bottom - line.top);
            const int down = std::min(last.bottom, line.bottom) - std::max(last.top, line.top);
            const int high = std::max(last.bottom - last.top, line.bottom - line.top);
            const int across = std::min(last.right, line.right) - std::max(last.left, line.left);
            const int narrow = std::min(last.right - last.left, line.right - line.left);
            // Over half of another, or beside the line before it: a scrap, or type of about its
            // size (not a name beside the address in small type).
            if (down * 2 <= h || !isRereadCandidate(last) || !isRereadCandidate(line))
                return false;
            if (across * 2 > narrow)
                return true;
            // The engine gives the pieces of a right-aligned name in either order ("彩花" before "吉 村").
            const int gap = line.left > last.right ? line.left - last.right : last.left - line.right;
            if (&last != &out.back() || gap <= 0 || gap >= std::min(2 * high, 4 * h))
                return false;
            const RecognizedLine& small = last.bottom - last.top < line.bottom - line.top ? last : line;
            if (small.right - small.left < 2 * high)
                return true;
            const int one = typeSize(last), other = typeSize(line);
            return 2 * std::min(one, other) > std::max(one, other);
        };
        if (const auto row = std::find_if(out.begin(), out.end(), sameRow); row != out.end()) {
            RecognizedLine& last = *row;
            last.text = line.left >= last.left ? last.text + u' ' + line.text : line.text + u' ' + last.text;
            last.left = std::min(last.left, line.left);
            last.right = std::max(last.right, line.right);
            last.top = std::min(last.top, line.top);
            last.bottom = std::max(last.bottom, line.bottom);
            last.confidence = std::min(last.confidence, line.confidence);
            continue;
        }
        out.push_back(line);
    }
    // Lines printed close take in the top of the next one (三宮ビル under 三宮町1-5-6): a line ends
    // above the top of a line below it that it overlaps.
    std::vector<RecognizedLine> trimmed = out;
    for (RecognizedLine& line : trimmed) {
        for (const RecognizedLine& below : out) {
            const int across = std::min(line.right, below.right) - std::max(line.left, below.left);
            const int down = line.bottom - below.top;
            if (across > 0 && below.top > line.top && down >= 0 && down * 2 < std::min(line.bottom - line.top, below.bottom - below.top))
                line.bottom = std::min(line.bottom, below.top - 1);
        }
    }
    return trimmed;
}

// Areas of ink no line covers: type the engine took for a picture.
std::vector<Area> unreadAreas(Pix* pix, const std::vector<RecognizedLine>& lines)
{
    std::vector<Area> areas;
    PixPtr ink(pixConvertTo1(pix, kInk));
    if (!ink)
        return areas;
    for (const RecognizedLine& l : lines) {
        BOX* box = boxCreate(l.left - 3, l.top - 3, l.right - l.left + 7, l.bottom - l.top + 7);
        pixClearInRect(ink.get(), box);
        boxDestroy(&box);
    }
    // Letters of one row grow together across the gaps between them, rows stay apart.
    constexpr int kAcross = 31, kDown = 5;
    PixPtr grown(pixDilateBrick(nullptr, ink.get(), kAcross, kDown));
    BOXA* boxes = grown ? pixConnCompBB(grown.get(), 8) : nullptr;
    if (!boxes)
        return areas;
    const int height = int(pixGetHeight(pix));
    for (int i = 0; i < boxaGetCount(boxes); ++i) {
        l_int32 x = 0, y = 0, w = 0, h = 0;
        boxaGetBoxGeometry(boxes, i, &x, &y, &w, &h);
        w -= kAcross - 1;
        h -= kDown - 1;
        if (h >= 2 * kLeastRowHeight && w >= h && h < height / 3)
            areas.push_back({x + kAcross / 2, y + kDown / 2, x + kAcross / 2 + w - 1, y + kDown / 2 + h - 1});
    }
    boxaDestroy(&boxes);
    // A letter-spaced name ("吉 村    彩花") falls into pieces of one row: they are read as one.
    std::vector<RecognizedLine> pieces;
    for (const Area& area : areas)
        pieces.push_back({{}, area.left, area.top, area.right, area.bottom, 0});
    std::vector<Area> rows;
    for (const RecognizedLine& row : joinedSideBySide(std::move(pieces)))
        rows.push_back({row.left, row.top, row.right, row.bottom});
    return rows;
}

} // namespace

RecognizedLine readBoxAt(TesseractEngine& engine, Pix* pix, const std::string& data, const RecognizedLine& box, float heightRead,
                         const LineMode& mode)
{
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix));
    const int boxHeight = box.bottom - box.top + 1;
    const int pad = boxHeight / 4;
    const int l = std::max(0, box.left - pad), t = std::max(0, box.top - pad);
    const int r = std::min(width - 1, box.right + pad), b = std::min(height - 1, box.bottom + pad);
    BOX* clip = boxCreate(l, t, r - l + 1, b - t + 1);
    PixPtr crop(pixClipRectangle(pix, clip, nullptr));
    boxDestroy(&clip);
    const float scale = heightRead / float(boxHeight);
    PixPtr scaled(crop ? pixScale(crop.get(), scale, scale) : nullptr);
    if (!scaled)
        return {};
    RecognizedLine read =
        engine.recognizeLine(scaled.get(), 300, data, 0, 0, int(pixGetWidth(scaled.get())) - 1, int(pixGetHeight(scaled.get())) - 1, mode);
    read.left = box.left;
    read.top = box.top;
    read.right = box.right;
    read.bottom = box.bottom;
    return read;
}

bool showsJapan(const std::vector<RecognizedLine>& lines)
{
    static const QRegularExpression japan(QStringLiteral(R"(\.jp\b|\+81\b|〒|\bJapan\b)"), QRegularExpression::CaseInsensitiveOption);
    return std::any_of(lines.begin(), lines.end(), [](const RecognizedLine& l) { return japan.match(l.text).hasMatch(); });
}

bool holdsUnreadType(const std::vector<RecognizedLine>& lines)
{
    const auto doubted = std::count_if(lines.begin(), lines.end(), [](const RecognizedLine& l) {
        return l.confidence < kUnreadType && !isMailOrWeb(l.text) && QString(l.text).remove(u' ').size() >= 2;
    });
    return doubted >= 2 && doubted * kUnreadShare >= qsizetype(lines.size()) && qsizetype(lines.size()) <= kCardLines;
}

bool leavesCharacterRowUnread(Pix* pix, const std::vector<RecognizedLine>& lines)
{
    const auto rows = largeTypeRows(pix, int(kNameRowSize * medianHeight(lines)));
    return std::any_of(rows.begin(), rows.end(), [&](const RecognizedLine& row) {
        const Area area{row.left, row.top, row.right, row.bottom};
        return nameCharacters(pix, area) > 0
            && std::none_of(lines.begin(), lines.end(), [&area](const RecognizedLine& l) { return overlaps(area, l); });
    });
}

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

void rereadJapaneseLines(TesseractEngine& engine, Pix* pix, const std::string& data, const std::string& latinData,
                         std::vector<RecognizedLine>* lines, const std::function<bool()>& hasTime)
{
    std::vector<RecognizedLine> out;
    out.reserve(lines->size());
    std::vector<RecognizedLine> taken; // rows read again so far: a row two boxes share is read once
    const int usualHeight = medianHeight(*lines);
    const auto readRows = [&](const RecognizedLine& line, std::vector<RecognizedLine>* again) {
        int sure = 0;
        for (const auto& [rowTop, rowBottom] : inkRows(pix, line.left, line.top, line.right, line.bottom)) {
            Area row{line.left, rowTop, line.right, rowBottom};
            if (std::any_of(taken.begin(), taken.end(), [&row](const RecognizedLine& t) { return overlaps(row, t); }))
                continue;
            // A last character left out is taken in, but not a row read already beside it.
            Area wide = row;
            widenToInk(pix, &wide);
            if (std::none_of(taken.begin(), taken.end(), [&wide](const RecognizedLine& t) { return overlaps(wide, t); }))
                row = wide;
            RecognizedLine read = readRow(engine, pix, data, row);
            if (rowHeight(row) >= kNameSize * usualHeight)
                read = readAsName(engine, pix, data, std::move(read));
            if (read.text.isEmpty())
                continue;
            sure += read.confidence;
            again->push_back(read);
        }
        return again->empty() ? 0 : sure / int(again->size());
    };
    for (const RecognizedLine& line : joinedRows(pix, *lines)) {
        if (!hasTime()) {
            out.push_back(line);
            continue;
        }
        // E-mail and web addresses are read again alone with the Latin model: the Japanese one
        // loses their small dots, though not from an address it read surely.
        if (isMailOrWeb(line.text) && !latinData.empty()) {
            if (line.confidence >= kSureOfAddress) {
                out.push_back(line);
                continue;
            }
            Area row{line.left, line.top, line.right, line.bottom};
            widenToInk(pix, &row);
            RecognizedLine read = readRowAt(engine, pix, latinData, row, kBestRowHeight);
            out.push_back(isMailOrWeb(read.text) && read.confidence > line.confidence ? read : line);
            continue;
        }
        if (!isRereadCandidate(line)) {
            out.push_back(line);
            continue;
        }
        std::vector<RecognizedLine> again;
        const int sure = readRows(line, &again);
        if (takesRereading(line, again, sure, usualHeight)) {
            taken.insert(taken.end(), again.begin(), again.end());
            out.insert(out.end(), again.begin(), again.end());
        } else {
            out.push_back(line);
        }
    }
    // Pieces of a row that was read again whole go: "浩" beside "石井浩二", as the row holds their
    // text, and the scraps the engine made of its strokes ("YE { ーー" over "浩 二"), as the row
    // read their ink.
    const auto compact = [](const QString& t) { return QString(t).remove(u' '); };
    out.erase(std::remove_if(out.begin(), out.end(),
                             [&](const RecognizedLine& l) {
                                 return std::any_of(taken.begin(), taken.end(), [&](const RecognizedLine& t) {
                                     const int across = std::min(l.right, t.right) - std::max(l.left, t.left);
                                     const int down = std::min(l.bottom, t.bottom) - std::max(l.top, t.top);
                                     return (l.left != t.left || l.top != t.top) && across * 10 >= (l.right - l.left) * 7
                                         && down * 2 > std::min(l.bottom - l.top, t.bottom - t.top)
                                         && (compact(t.text).contains(compact(l.text)) || isRereadCandidate(l));
                                 });
                             }),
              out.end());
    // Rows found in unread ink go in before the first line below them.
    std::vector<RecognizedLine> unread;
    for (const Area& area : unreadAreas(pix, out))
        unread.push_back({{}, area.left, area.top, area.right, area.bottom, 0});
    for (const RecognizedLine& area : unread) {
        if (!hasTime())
            break;
        std::vector<RecognizedLine> again;
        readRows(area, &again);
        for (const RecognizedLine& read : again) {
            if (wideCount(read.text) < 2 || read.confidence < kSureOfUnread)
                continue;
            const auto below = std::find_if(out.begin(), out.end(), [&read](const RecognizedLine& l) { return l.top > read.bottom; });
            out.insert(below, read);
        }
    }
    if (hasTime())
        readNameRowsInInk(engine, pix, data, &out,
                          [&readRows](const RecognizedLine& box, std::vector<RecognizedLine>* again) { readRows(box, again); });
    if (hasTime())
        rereadFurigana(engine, pix, data, int(kNameSize * usualHeight), &out);
    for (RecognizedLine& line : out) {
        if (japaneseCount(line.text) > 0)
            line.text = kanjiLookAlikes(blockNumberDashes(postalCodeDigits(line.text)));
    }
    *lines = std::move(out);
}
