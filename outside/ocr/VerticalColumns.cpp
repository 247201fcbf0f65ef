#include "outside/ocr/VerticalColumns.h"

#include "outside/ocr/ColumnDashes.h"
#include "outside/ocr/JapanesePersonWords.h"
#include "outside/ocr/LineRereading.h"
#include "outside/ocr/ScanCleanup.h"

#include <QRegularExpression>

#include <algorithm>
#include <leptonica/allheaders.h>

namespace {

// Ink is darker than this on the cleaned card (paper white, ink black).
constexpr int kInkLevel = 140;
// Runs of ink down a column shorter than this, and narrow, are specks; darker than this, ink.
constexpr int kLeastCellHeight = 8;
constexpr int kCellInk = 128;
// Characters of a column stand closer than this many widths of the column; a wider gap of paper
// starts another column below it.
constexpr double kColumnGapWidths = 2.0;
// The height at which the Japanese model reads a row of characters best, in pixels.
constexpr float kRowHeight = 40.0f;
// A column in type this much larger than the card's usual columns is a name's.
constexpr double kLargeColumn = 1.3;
// A part of a column cut apart in the ink that reads below this is no column of its own.
constexpr int kDoubtedPart = 45;
// A column read at a confidence below this is read again.
constexpr int kDoubtedColumn = 75;
// A column's characters set as a row and read at this confidence at least are taken for the
// column's reading when that is surer by these points.
constexpr int kSureRow = 60;
constexpr int kClearlySurer = 10;
// The share of a card's ink above its foot that the columns the page layout found hold at least.
constexpr double kColumnsHoldInk = 0.3;
// Below this confidence a column read as part of a block of columns is no text.
constexpr int kUnreadColumn = 25;
// The model that reads what the vertical models cannot: Latin letters and digits set sideways.
const std::string kSidewaysData = "eng";
const std::string kRowData = "jpn";

// Points of the engine's confidence by which a reading in another language must beat the first.
constexpr int kSurerReading = 5;

// A cell whose ink is a stroke along the column, three times as long as it is wide.
bool standsAsStroke(Pix* cell)
{
    const int w = int(pixGetWidth(cell)), h = int(pixGetHeight(cell));
    int left = w, right = -1;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            l_uint32 v = 255;
            pixGetPixel(cell, x, y, &v);
            if (int(v) < kInkLevel)
                left = std::min(left, x), right = std::max(right, x);
        }
    }
    return right >= left && 3 * (right - left + 1) <= h && 3 * h >= w;
}

// The cells of a column's characters, top to bottom: runs of ink down it, a gap of a pixel or two
// inside one. The strokes of a character of few strokes across (三, 二, 旦) stand apart by paper:
// a stroke across and the runs beside it that together are no taller than the column is wide are
// one character, and a stroke across half the column is a character (一) however thin. Specks go.
// In a column of numbers, a stroke across is a dash of its own: `strokesApart`.
std::vector<std::pair<int, int>> characterCells(Pix* pix, const RecognizedLine& column, bool strokesApart)
{
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix)), wpl = int(pixGetWpl(pix));
    const int left = std::max(0, column.left), right = std::min(width - 1, column.right);
    const int top = std::max(0, column.top), bottom = std::min(height - 1, column.bottom);
    const int w = right - left + 1;
    struct Run {
        int top, bottom, left, right;
    };
    std::vector<Run> runs;
    for (int y = top; y <= bottom; ++y) {
        const l_uint32* line = pixGetData(pix) + size_t(y) * size_t(wpl);
        int first = -1, last = -1, count = 0;
        for (int x = left; x <= right; ++x) {
            if (int(GET_DATA_BYTE(line, x)) < kCellInk)
                first = first < 0 ? x : first, last = x, ++count;
        }
        if (count < 2)
            continue;
        if (!runs.empty() && y - runs.back().bottom <= 3)
            runs.back() = {runs.back().top, y, std::min(runs.back().left, first), std::max(runs.back().right, last)};
        else
            runs.push_back({y, y, first, last});
    }
    const auto flat = [strokesApart](const Run& r) { return !strokesApart && 3 * (r.bottom - r.top + 1) <= r.right - r.left + 1; };
    std::vector<Run> joined;
    for (const Run& r : runs) {
        if (!joined.empty() && (flat(r) || flat(joined.back())) && r.bottom - joined.back().top < w
            && 2 * (r.top - joined.back().bottom) < w)
            joined.back() = {joined.back().top, r.bottom, std::min(joined.back().left, r.left), std::max(joined.back().right, r.right)};
        else
            joined.push_back(r);
    }
    std::vector<std::pair<int, int>> cells;
    for (const Run& r : joined) {
        if (r.bottom - r.top + 1 >= kLeastCellHeight || (flat(r) && 2 * (r.right - r.left + 1) >= w))
            cells.emplace_back(r.top, r.bottom);
    }
    return cells;
}

// A column's characters cut apart where paper runs across it and set side by side as a row, in an
// image of their own; a gap of half a character or more stays a blank. Null for one character.
// Characters set close touch one another: with `cutTouching`, a cell as tall as several
// characters is cut into as many, a character as tall as the column is wide.
PixPtr charactersAsRow(Pix* pix, const RecognizedLine& column, bool cutTouching = false, bool strokesApart = false)
{
    const int w = column.right - column.left + 1;
    std::vector<std::pair<int, int>> cells;
    for (const auto& [top, bottom] : characterCells(pix, column, strokesApart)) {
        const int h = bottom - top + 1;
        const int parts = cutTouching && 5 * h > 8 * w ? (h + w / 2) / w : 1;
        for (int i = 0; i < parts; ++i)
            cells.emplace_back(top + i * h / parts, top + (i + 1) * h / parts - 1);
    }
    if (cells.size() < 2)
        return nullptr;
    const auto gap = [&](size_t i) { return std::max(w / 8, std::min(w, cells[i].first - cells[i - 1].second)); };
    int high = 0, length = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        high = std::max(high, cells[i].second - cells[i].first + 1);
        length += w + (i ? gap(i) : 0);
    }
    const int pad = high / 4;
    PixPtr row(pixCreate(length + 2 * pad, high + 2 * pad, 8));
    if (!row)
        return nullptr;
    pixSetAll(row.get());
    int x = pad;
    for (size_t i = 0; i < cells.size(); ++i) {
        x += i ? gap(i) : 0;
        const int h = cells[i].second - cells[i].first + 1;
        BOX* clip = boxCreate(column.left, cells[i].first, w, h);
        PixPtr cell(pixClipRectangle(pix, clip, nullptr));
        boxDestroy(&clip);
        // A dash or a long vowel mark stands in a column as a stroke along it: across a row, it
        // lies across too.
        if (cell && standsAsStroke(cell.get()))
            cell.reset(pixRotateOrth(cell.get(), 1));
        if (cell) {
            const int cw = int(pixGetWidth(cell.get())), ch = int(pixGetHeight(cell.get()));
            pixRasterop(row.get(), x + (w - std::min(w, cw)) / 2, pad + std::max(0, high - ch) / 2, std::min(w, cw), std::min(high, ch),
                        PIX_SRC, cell.get(), 0, 0);
        }
        x += w;
    }
    return row;
}

int area(const RecognizedLine& l)
{
    return std::max(0, l.right - l.left + 1) * std::max(0, l.bottom - l.top + 1);
}

int overlapArea(const RecognizedLine& a, const RecognizedLine& b)
{
    const int w = std::min(a.right, b.right) - std::max(a.left, b.left) + 1;
    const int h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top) + 1;
    return w > 0 && h > 0 ? w * h : 0;
}

bool holdsText(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// Whether `line` lies mostly (more than `share` of its area) on one of `others`.
bool liesOn(const RecognizedLine& line, const std::vector<RecognizedLine>& others, double share)
{
    return std::any_of(others.begin(), others.end(),
                       [&](const RecognizedLine& o) { return overlapArea(line, o) > share * double(area(line)); });
}

// Latin letters and digits set sideways in a column, as the vertical models misread them: Latin
// letters besides a number label, or a number label or postal mark with too few numerals after it.
bool holdsSidewaysType(const QString& text)
{
    static const QRegularExpression labels(QStringLiteral("\\b(?:TEL|Tel|FAX|Fax|Mobile|Phone)\\b"));
    // What the vertical models make of letters on their side: Latin letters and stray marks.
    static const QRegularExpression latin(QStringLiteral("[A-Za-z|』【】「」『;:!>]"));
    static const QRegularExpression labelled(
        QStringLiteral("(?:〒|電話|TEL|Tel|FAX|Fax|ＦＡＸ|ＴＥＬ|ファクス|ファックス|携帯|手机|手機|电话|傳真|传真)\\D{0,3}(.*)$"));
    if (QString(text).remove(labels).count(latin) >= 2)
        return true;
    const auto m = labelled.match(text);
    return m.hasMatch() && m.captured(1).count(QRegularExpression(QStringLiteral("[0-9０-９]"))) < 7;
}

// The column read with the Latin model as a line across, turned a quarter to the left: the
// letters and digits set sideways in it stand upright. The number found replaces what the
// vertical model read after the column's Japanese or Chinese words ("電話", "茨城県水戸市宮町").
void readSidewaysNumber(TesseractEngine& engine, Pix* pix, int dpi, RecognizedLine* column)
{
    const int margin = std::max(2, (column->right - column->left) / 4);
    const int l = std::max(0, column->left - margin), t = std::max(0, column->top - margin);
    const int r = std::min(int(pixGetWidth(pix)) - 1, column->right + margin),
              b = std::min(int(pixGetHeight(pix)) - 1, column->bottom + margin);
    BOX* clip = boxCreate(l, t, r - l + 1, b - t + 1);
    PixPtr crop(pixClipRectangle(pix, clip, nullptr));
    boxDestroy(&clip);
    PixPtr across(crop ? pixRotateOrth(crop.get(), 3) : nullptr);
    if (!across)
        return;
    const RecognizedLine read = engine.recognizeLine(across.get(), dpi, kSidewaysData, 0, 0, int(pixGetWidth(across.get())) - 1,
                                                     int(pixGetHeight(across.get())) - 1);
    static const QRegularExpression number(QStringLiteral("(?:\\b([A-Za-z]{1,6})[.:]?\\s*)?([+(]?[0-9][0-9()\\-–—_~.\\s]*[0-9])"));
    const auto m = number.match(read.text);
    if (!m.hasMatch() || m.captured(2).count(QRegularExpression(QStringLiteral("[0-9]"))) < 3)
        return;
    // A label set upright reads as a stray digit before the number ("2 082-003-9026").
    static const QRegularExpression stray(QStringLiteral("^[0-9]\\s+(?=[0-9+(])"));
    const QString digits = QString(m.captured(2)).remove(stray);
    qsizetype words = 0;
    while (words < column->text.size()
           && (column->text.at(words).isSpace() || column->text.at(words) == u'〒'
               || (column->text.at(words).isLetter() && column->text.at(words).unicode() >= 0x3040
                   && column->text.at(words).unicode() < 0xFF00)))
        ++words;
    const QString before = column->text.left(words).trimmed();
    if (!before.isEmpty()) {
        static const QRegularExpression label(
            QStringLiteral("(〒|電話|携帯|ファクス|ファックス|携帯電話|手机|手機|电话|傳真|传真|直通|代表)$"));
        column->text = before + (label.match(before).hasMatch() && !before.endsWith(u'〒') ? QStringLiteral(" ") : QString()) + digits;
        return;
    }
    // The label is Latin: set sideways it reads with the number; set upright, as one more row.
    static const QRegularExpression known(QStringLiteral("^(?:TEL|FAX|Mobile|Phone|Cell|Mob|Direct|Fax|Tel)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString label = m.captured(1);
    if (!known.match(label).hasMatch() && engine.hasLanguage(kRowData)) {
        if (PixPtr row = charactersAsRow(pix, *column); row) {
            const RecognizedLine upright = engine.recognizeLine(row.get(), dpi, kRowData + "+" + kSidewaysData, 0, 0,
                                                                int(pixGetWidth(row.get())) - 1, int(pixGetHeight(row.get())) - 1);
            static const QRegularExpression leading(QStringLiteral("^\\s*([A-Za-zＡ-Ｚａ-ｚ]{2,6})"));
            if (const auto w = leading.match(upright.text.normalized(QString::NormalizationForm_KC));
                w.hasMatch() && known.match(w.captured(1)).hasMatch())
                label = w.captured(1);
        }
    }
    column->text = known.match(label).hasMatch() ? label + u' ' + digits : digits;
}

bool isKana(const QString& text)
{
    return holdsText(text) && std::all_of(text.begin(), text.end(), [](QChar c) {
               return c.isSpace() || (c.unicode() >= 0x3041 && c.unicode() <= 0x30FC);
           });
}

// Whether kana columns `a` and `b`, one above the other, are the reading printed beside a name in
// larger type: its family name's beside the family name, its given name's beside the given name,
// the name's column running on past the gap between them.
bool isReadingBesideName(const RecognizedLine& a, const RecognizedLine& b, const std::vector<RecognizedLine>& columns)
{
    const int w = std::max(a.right - a.left, b.right - b.left);
    return isKana(a.text) && isKana(b.text) && std::any_of(columns.begin(), columns.end(), [&](const RecognizedLine& c) {
               const int cw = c.right - c.left;
               return 2 * cw > 3 * w && c.top <= a.bottom && c.bottom >= b.top && std::max(c.left - a.right, a.left - c.right) < cw;
           });
}

// A box the engine or the ink drew round two columns side by side and more (a card's border, the
// dark bed round a scanned card) is no column: the columns it holds are.
void dropBoxesRoundColumns(std::vector<RecognizedLine>* columns)
{
    const auto holdsColumns = [&](const RecognizedLine& box) {
        std::vector<const RecognizedLine*> held;
        for (const RecognizedLine& c : *columns) {
            if (&c != &box && 3 * (c.right - c.left) < 2 * (box.right - box.left) && overlapArea(c, box) * 5 > 4 * area(c))
                held.push_back(&c);
        }
        return std::any_of(held.begin(), held.end(), [&](const RecognizedLine* a) {
            return std::any_of(held.begin(), held.end(), [&](const RecognizedLine* b) { return a->right < b->left; });
        });
    };
    std::vector<RecognizedLine> kept;
    for (const RecognizedLine& c : *columns) {
        if (!holdsColumns(c))
            kept.push_back(c);
    }
    *columns = std::move(kept);
}

// Columns of one width set one above the other with less than two and a half widths of paper between them
// are one column the engine cut at a wide blank ("石川　裕子"); then, the name whole, so is its reading.
void joinCutColumns(std::vector<RecognizedLine>* columns)
{
    const auto joinWhere = [columns](const auto& oneColumn) {
        for (size_t i = 0; i + 1 < columns->size(); ++i) {
            RecognizedLine& a = (*columns)[i];
            const RecognizedLine& b = (*columns)[i + 1];
            const int wa = a.right - a.left, wb = b.right - b.left;
            const int shared = std::min(a.right, b.right) - std::max(a.left, b.left);
            if (shared * 5 < 3 * std::max(wa, wb) || b.top <= a.bottom || !oneColumn(a, b, std::max(wa, wb)))
                continue;
            a = {a.text + u' ' + b.text, std::min(a.left, b.left), a.top, std::max(a.right, b.right), b.bottom,
                 std::min(a.confidence, b.confidence)};
            columns->erase(columns->begin() + qsizetype(i) + 1);
            --i;
        }
    };
    joinWhere([](const RecognizedLine& a, const RecognizedLine& b, int w) { return 2 * (b.top - a.bottom) <= 5 * w; });
    joinWhere([columns](const RecognizedLine& a, const RecognizedLine& b, int) { return isReadingBesideName(a, b, *columns); });
}

// Columns right to left; of columns one above the other, the upper first.
void sortInReadingOrder(std::vector<RecognizedLine>* columns)
{
    std::sort(columns->begin(), columns->end(), [](const RecognizedLine& a, const RecognizedLine& b) { return a.right > b.right; });
    for (size_t i = 1; i < columns->size(); ++i) {
        for (size_t j = i; j > 0; --j) {
            RecognizedLine& a = (*columns)[j - 1];
            RecognizedLine& b = (*columns)[j];
            const int shared = std::min(a.right, b.right) - std::max(a.left, b.left);
            if (shared * 2 <= std::min(a.right - a.left, b.right - b.left) || b.top >= a.top)
                break;
            std::swap(a, b);
        }
    }
}

// Where an 8-bit card holds ink, but for the boxes of `masked`.
struct InkMap {
    int w = 0, h = 0;
    std::vector<uint8_t> ink;
    bool inRow(int y, int left, int right) const
    {
        const auto row = ink.begin() + qsizetype(y) * w;
        return std::any_of(row + std::max(0, left), row + std::min(w - 1, right) + 1, [](uint8_t v) { return v != 0; });
    }
};

InkMap inkMap(Pix* pix, const std::vector<RecognizedLine>& masked)
{
    InkMap map;
    map.w = int(pixGetWidth(pix)), map.h = int(pixGetHeight(pix));
    const int w = map.w, h = map.h;
    const l_uint32* data = pixGetData(pix);
    const int wpl = pixGetWpl(pix);
    std::vector<uint8_t>& ink = map.ink;
    ink.resize(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const l_uint32* line = data + size_t(y) * size_t(wpl);
        for (int x = 0; x < w; ++x)
            ink[size_t(y) * size_t(w) + size_t(x)] = GET_DATA_BYTE(line, x) < kInkLevel;
    }
    for (const RecognizedLine& m : masked) {
        for (int y = std::max(0, m.top); y <= std::min(h - 1, m.bottom); ++y)
            std::fill_n(ink.begin() + qsizetype(y) * w + std::max(0, m.left),
                        std::max(0, std::min(w - 1, m.right) - std::max(0, m.left) + 1), 0);
    }
    return map;
}

// The rows across at a column card's foot: the ink below the lowest band of paper across the card
// at least a twentieth of its height tall, when the ink above it is taller. Empty when there is none.
RecognizedLine footOfRows(const InkMap& map)
{
    // Specks and the edge of a dark bed at the card's sides are no rows.
    const int margin = map.w / 50;
    const auto inkIn = [&](int y) { return map.inRow(y, margin, map.w - 1 - margin); };
    int bottom = map.h - 1 - margin;
    while (bottom > 0 && !inkIn(bottom))
        --bottom;
    const int gap = std::max(8, map.h / 20);
    for (int y = bottom, paper = 0; y > margin; --y) {
        paper = inkIn(y) ? 0 : paper + 1;
        if (paper < gap)
            continue;
        const int top = y + paper;
        int above = y;
        while (above > margin && !inkIn(above))
            --above;
        if (above - margin < bottom - top || 3 * (bottom - top) > map.h)
            return {};
        return {{}, margin, top, map.w - 1 - margin, bottom, 0};
    }
    return {};
}

// The share of the ink in `area` of `map` that lies in one of `boxes`.
double inkShareIn(const InkMap& map, const std::vector<RecognizedLine>& boxes, const RecognizedLine& area)
{
    const int x0 = std::max(0, area.left), x1 = std::min(map.w - 1, area.right);
    const int y0 = std::max(0, area.top), y1 = std::min(map.h - 1, area.bottom);
    if (x1 < x0 || y1 < y0)
        return 0;
    std::vector<uint8_t> held(size_t(x1 - x0 + 1) * size_t(y1 - y0 + 1), 0);
    for (const RecognizedLine& b : boxes) {
        for (int y = std::max(y0, b.top - 2); y <= std::min(y1, b.bottom + 2); ++y)
            for (int x = std::max(x0, b.left - 2); x <= std::min(x1, b.right + 2); ++x)
                held[size_t(y - y0) * size_t(x1 - x0 + 1) + size_t(x - x0)] = 1;
    }
    qsizetype all = 0, in = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (map.ink[size_t(y) * size_t(map.w) + size_t(x)]) {
                ++all;
                in += held[size_t(y - y0) * size_t(x1 - x0 + 1) + size_t(x - x0)];
            }
        }
    }
    return all ? double(in) / double(all) : 0;
}

// Whether the reading across left a tenth of the ink at the foot out of its rows: an e-mail or web
// address cut where the engine lost a word of it ("okubo_h@", "-print.com" without "wakamatsu").
bool footLeftUnread(const InkMap& paper, const std::vector<RecognizedLine>& rows, const RecognizedLine& foot)
{
    bool inked = false;
    for (int y = foot.top; y <= foot.bottom && !inked; ++y)
        inked = paper.inRow(y, foot.left, foot.right);
    return inked && inkShareIn(paper, rows, foot) < 0.9;
}

// A row the reading across made up of characters of columns side by side ("電東〒", or Latin
// letters "we 4" on a card whose columns the layout took for rows): ink that stands in bands half
// the row's height apart and more, two of which run on above or below the row as columns do. An
// e-mail or web address in Latin letters is a row.
bool isMadeUpOfColumns(const InkMap& map, const RecognizedLine& row, bool address)
{
    if (address && !std::any_of(row.text.begin(), row.text.end(), [](QChar c) { return c.unicode() >= 0x3041 && c.unicode() < 0xA000; }))
        return false;
    const int h = row.bottom - row.top + 1;
    const int top = std::max(0, row.top), bottom = std::min(map.h - 1, row.bottom);
    std::vector<std::pair<int, int>> bands;
    for (int x = std::max(0, row.left); x <= std::min(map.w - 1, row.right); ++x) {
        bool any = false;
        for (int y = top; y <= bottom && !any; ++y)
            any = map.ink[size_t(y) * size_t(map.w) + size_t(x)] != 0;
        if (!any)
            continue;
        if (!bands.empty() && 2 * (x - bands.back().second) <= h)
            bands.back().second = x;
        else
            bands.emplace_back(x, x);
    }
    // How far the band's ink goes on from the row's edge at `from`, one way, over gaps of paper
    // of less than half the row's height.
    const auto runsOn = [&](const std::pair<int, int>& band, int from, int step) {
        int last = from, paper = 0;
        for (int y = from; y >= 0 && y < map.h && 2 * paper < h; y += step) {
            if (map.inRow(y, band.first, band.second))
                last = y, paper = 0;
            else
                ++paper;
        }
        return std::abs(last - from) >= h;
    };
    return std::count_if(bands.begin(), bands.end(), [&](const std::pair<int, int>& band) {
               return runsOn(band, row.top - 1, -1) || runsOn(band, row.bottom + 1, 1);
           })
        >= 2;
}

// The column grown up and down as far as its characters go on in the ink: the engine's box of a
// column often leaves out its first or last character.
RecognizedLine extendedToInk(const InkMap& map, RecognizedLine column)
{
    const int width = column.right - column.left + 1;
    const int left = column.left + width / 6, right = column.right - width / 6;
    const int gap = width * 6 / 5;
    for (int y = column.bottom + 1, paper = 0; y < map.h && paper <= gap; ++y) {
        if (map.inRow(y, left, right))
            column.bottom = y, paper = 0;
        else
            ++paper;
    }
    for (int y = column.top - 1, paper = 0; y >= 0 && paper <= gap; --y) {
        if (map.inRow(y, left, right))
            column.top = y, paper = 0;
        else
            ++paper;
    }
    return column;
}

// The width of a card's usual column: the median of its columns'.
int usualWidth(const std::vector<RecognizedLine>& columns)
{
    std::vector<int> widths;
    for (const RecognizedLine& c : columns)
        widths.push_back(c.right - c.left);
    std::nth_element(widths.begin(), widths.begin() + qsizetype(widths.size() / 2), widths.end());
    return widths.empty() ? 0 : widths[widths.size() / 2];
}

// The columns of ink in an area of a card: bands of ink across it from top to bottom, each cut
// where paper of more than two of its widths stands between its characters.
std::vector<RecognizedLine> inkColumns(const InkMap& map, const RecognizedLine& area)
{
    const int w = map.w;
    const std::vector<uint8_t>& ink = map.ink;
    const int x0 = std::max(0, area.left), x1 = std::min(map.w - 1, area.right);
    const int y0 = std::max(0, area.top), y1 = std::min(map.h - 1, area.bottom);
    std::vector<int> across(size_t(w), 0);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            across[size_t(x)] += ink[size_t(y) * size_t(w) + size_t(x)];
    // A card's type is a millimetre high at least: narrower bands are rules and specks.
    const int narrowest = std::max(4, w / 90);
    std::vector<RecognizedLine> columns;
    for (int x = x0; x <= x1;) {
        if (across[size_t(x)] < 2) {
            ++x;
            continue;
        }
        int end = x;
        for (int gap = 0; end + 1 <= x1 && gap <= 2; ++end)
            gap = across[size_t(end + 1)] < 2 ? gap + 1 : 0;
        while (end > x && across[size_t(end)] < 2)
            --end;
        const int bandWidth = end - x + 1;
        if (bandWidth >= narrowest) {
            int top = -1, last = -1;
            const auto close = [&] {
                if (top >= 0 && last - top + 1 >= bandWidth * 3 / 2)
                    columns.push_back({QString(), x, top, end, last, 0});
            };
            for (int y = y0; y <= y1; ++y) {
                const bool any = std::any_of(ink.begin() + qsizetype(y) * w + x, ink.begin() + qsizetype(y) * w + end + 1,
                                             [](uint8_t v) { return v != 0; });
                if (!any)
                    continue;
                if (top >= 0 && y - last > kColumnGapWidths * bandWidth) {
                    close();
                    top = -1;
                }
                if (top < 0)
                    top = y;
                last = y;
            }
            close();
        }
        x = end + 1;
    }
    return columns;
}


// An address's block numbers in kanji numerals ("駅元町一-四", "一丁目七番三三号", "二十七番地") as
// digits, so that the card's address rules, which know digits, know the address; empty when the
// text holds no address of that kind.
QString withBlockDigits(const QString& text)
{
    static const QRegularExpression place(QStringLiteral("[都道府県市区町村郡]"));
    static const QRegularExpression numerals(QStringLiteral("[〇一二三四五六七八九十百]+(?=[-－ー丁番号の]|$)"));
    const qsizetype start = text.indexOf(place);
    if (start < 0)
        return {};
    static const QString digits = QStringLiteral("〇一二三四五六七八九");
    QString out = text;
    bool changed = false;
    for (auto it = numerals.globalMatch(text, start + 1); it.hasNext();) {
        const auto m = it.next();
        const QString run = m.captured();
        int value = 0, part = 0;
        QString positional;
        for (QChar c : run) {
            if (c == u'十' || c == u'百') {
                value += std::max(1, part) * (c == u'十' ? 10 : 100);
                part = 0;
            } else {
                part = part * 10 + int(digits.indexOf(c));
                positional += QChar(char16_t(u'0' + digits.indexOf(c)));
            }
        }
        const QString number = run.contains(u'十') || run.contains(u'百') ? QString::number(value + part) : positional;
        out.replace(m.capturedStart() + (out.size() - text.size()), run.size(), number);
        changed = true;
    }
    return changed ? out : QString();
}


// A small kana (ィ, ュ, ョ) as the large one of its letter; other letters as they are.
QChar largeKana(QChar c)
{
    static const QString small = QStringLiteral("ぁぃぅぇぉゃゅょゎァィゥェォャュョヮ");
    return small.contains(c) ? QChar(char16_t(c.unicode() + 1)) : c;
}

// What the vertical models misread in a title's column: a long vowel mark, a stroke along the
// column, read as "1" or "|" after katakana ("チームリーダ1") and taken for the numeral one before
// a kanji, and the 士 of a licensed profession read as 十 or 二 ("一級建築十"). A column of numbers
// keeps its digits. A lone character after a title goes.
QString withTitleMarks(const QString& text)
{
    static const QRegularExpression longMark(
        QStringLiteral("(?<=[\\x{30A1}-\\x{30FA}])[1|｜lI](?=[\\x{30A1}-\\x{30FC}]|\\s|$)"));
    static const QRegularExpression digits(QStringLiteral("[0-9]"));
    static const QRegularExpression profession(
        QStringLiteral("(?<=建築|弁護|税理|会計|弁理|書|栄養|保育|福祉|診断|労務|鑑定)[十二土](?=\\s|$)"));
    // A long vowel mark follows a kana: one before a kanji is the numeral ("ー級建築士").
    static const QRegularExpression one(QStringLiteral("(?<![\\x{3041}-\\x{30FA}])ー(?=[\\x{4E00}-\\x{9FFF}])"));
    QString out = QString(text).replace(profession, QStringLiteral("士")).replace(one, QStringLiteral("一"));
    if (const QString marked = QString(out).replace(longMark, QStringLiteral("ー")); !marked.contains(digits))
        out = marked;
    // A title whose characters stand apart ("代 表 '取 締 役") is one word: the column's pitch
    // made blanks between them, and specks marks.
    static const QRegularExpression spaced(QStringLiteral("^[\\x{4E00}-\\x{9FFF}](?:[\\s'`\"・.]+[\\x{4E00}-\\x{9FFF}])+$"));
    if (const QString joined = QString(out).remove(QRegularExpression(QStringLiteral("[\\s'`\"・.]")));
        spaced.match(out).hasMatch() && isJapaneseTitleWord(joined))
        out = joined;
    // A character alone after a title ("係長 下") is a scrap of the column beside it.
    static const QRegularExpression scrap(QStringLiteral("^(\\S.*\\S)\\s+\\S$"));
    if (const auto m = scrap.match(out); m.hasMatch() && isJapaneseTitleWord(splitJapaneseDepartmentAndTitle(m.captured(1)).title))
        out = m.captured(1);
    return out;
}

// What a logo at a company's column reads as in the column: a kanji or two, or marks of mixed
// kinds ("蜂 株式会社 北辰物流", "m還 信濃製作所有限会社", "| 合同会社…", "…有限会社 フヴ。").
// Kana alone are words of the company cut apart ("ソリューショ ンズ"); dashes alone are not.
bool isLogoScrap(const QString& word)
{
    const auto kanji = [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; };
    const auto japanese = [&](QChar c) { return (c.unicode() >= 0x3041 && c.unicode() <= 0x30FC) || kanji(c); };
    const auto latin = [](QChar c) { return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'&' || c == u'.'); };
    return (word.size() <= 2 && std::all_of(word.begin(), word.end(), kanji))
        || std::all_of(word.begin(), word.end(), [](QChar c) { return c == u'ー'; })
        || !(std::all_of(word.begin(), word.end(), japanese) || std::all_of(word.begin(), word.end(), latin));
}

// Whether `read` is `digits` with some of its 1s left out, as many as `dashes`.
bool isWithoutDashOnes(const QString& read, const QString& digits, qsizetype dashes)
{
    qsizetype j = 0, ones = 0;
    for (QChar c : read) {
        if (j < digits.size() && c == digits.at(j))
            ++j;
        else if (c == u'1')
            ++ones;
        else
            return false;
    }
    return j == digits.size() && ones == dashes && dashes > 0;
}

// Block numbers whose dashes the vertical model read as 1s ("烏丸通5128" for 5-28) are put right
// by the Japanese model's reading of the column's characters set as a row, where the dashes lie
// across: where its digits are the column's without those 1s, its numbers with dashes are taken.
void withDashesOfTheRow(TesseractEngine& engine, Pix* pix, int dpi, RecognizedLine* column)
{
    static const QRegularExpression ones(QStringLiteral("[0-9]*1[0-9]*"));
    if (!engine.hasLanguage(kRowData) || !ones.match(column->text).hasMatch())
        return;
    PixPtr row = charactersAsRow(pix, *column, false, true);
    if (!row)
        return;
    const QString read = engine.recognizeLine(row.get(), dpi, kRowData, 0, 0, int(pixGetWidth(row.get())) - 1, int(pixGetHeight(row.get())) - 1)
                             .text.normalized(QString::NormalizationForm_KC);
    static const QRegularExpression dashed(QStringLiteral("[0-9]+(?:\\s*[-ー‐—_~一]\\s*[0-9]+)+"));
    static const QRegularExpression digitRun(QStringLiteral("[0-9]{3,}"));
    for (auto it = dashed.globalMatch(read); it.hasNext();) {
        const QString found = it.next().captured();
        QString digits, shaped;
        qsizetype dashes = 0;
        for (QChar c : found) {
            if (c.isDigit())
                digits += c, shaped += c;
            else if (!c.isSpace())
                ++dashes, shaped += u'-';
        }
        for (auto runs = digitRun.globalMatch(column->text); runs.hasNext();) {
            const auto m = runs.next();
            if (isWithoutDashOnes(m.captured(), digits, dashes)) {
                column->text.replace(m.capturedStart(), m.capturedLength(), shaped);
                break;
            }
        }
    }
}

} // namespace

PixPtr columnAsRow(Pix* pix, int left, int top, int right, int bottom)
{
    return charactersAsRow(pix, {{}, left, top, right, bottom, 0});
}

bool isColumnScript(const std::string& script)
{
    return script == "Han" || script == "Hiragana" || script == "Katakana" || script == "Japanese";
}

std::vector<RecognizedLine> rowsReadStraight(TesseractEngine& engine, Pix* pix, int dpi, const std::string& data,
                                             const std::vector<RecognizedLine>& across, int milliseconds)
{
    float lean = 0;
    const PixPtr straight(milliseconds > 0 ? columnsStraightened(pix, &lean) : nullptr);
    const int w = int(pixGetWidth(pix)), h = int(pixGetHeight(pix));
    std::vector<RecognizedLine> rows;
    if (!straight || !engine.recognize(straight.get(), dpi, data, 0, 0, w - 1, h - 1, &rows, nullptr, milliseconds))
        return across;
    // A row's box takes in all of it as it leans on the card, as the box of a row read there would.
    for (RecognizedLine& r : rows)
        unturnBox(w, h, lean, &r.left, &r.top, &r.right, &r.bottom);
    return rows;
}

bool setInColumns(const std::vector<RecognizedLine>& lines)
{
    qint64 along = 0, across = 0;
    for (const RecognizedLine& l : lines) {
        if (l.bottom - l.top > l.right - l.left)
            along += l.bottom - l.top;
        else
            across += l.right - l.left;
    }
    return along > across;
}

bool readsAsScraps(const std::vector<RecognizedLine>& lines)
{
    const auto scraps = std::count_if(lines.begin(), lines.end(), [](const RecognizedLine& l) {
        return std::count_if(l.text.begin(), l.text.end(), [](QChar c) { return !c.isSpace(); }) <= 3;
    });
    return lines.size() >= 6 && 2 * scraps > qsizetype(lines.size());
}

std::string verticalModel(int language)
{
    switch (language) {
    case 0:
    case 11: return "jpn_vert";
    case 2: return "chi_tra_vert";
    case 3: return "chi_sim_vert";
    default: return {};
    }
}

// Of two kana of one base letter side by side the large one stays, else the second: a small kana
// never stands beside its own large one in a word; the small tsu is left alone ("ッツ").
QString withoutDoubledKana(const QString& text)
{
    const auto base = [](QChar c) {
        const QString d = c.decomposition();
        return largeKana(d.isEmpty() ? c : d.at(0));
    };
    const auto kana = [](QChar c) { return c.unicode() >= 0x3041 && c.unicode() <= 0x30FA; };
    // A small ya, yu or yo follows a kana of the i row ("リュ"), a small vowel one of the few that
    // take it ("ティ", "ウェ", "ファ"); else the large kana was meant ("マユミ", "イシイ").
    const auto fitsSmall = [](QChar before, QChar small) {
        static const QString iRow = QStringLiteral("きぎしじちぢにひびぴみりキギシジチヂニヒビピミリ");
        static const QString vowelTakers = QStringLiteral("うくぐすずつてでとどふゔウクグスズツテデトドフヴ");
        static const QString ys = QStringLiteral("ゃゅょャュョ");
        return ys.contains(small) ? iRow.contains(before) : vowelTakers.contains(before);
    };
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (kana(c) && kana(next) && c != next && base(c) == base(next)) {
            const bool smallPair = largeKana(c) != c || largeKana(next) != next;
            if (!smallPair)
                continue;
            const QChar small = largeKana(c) != c ? c : next;
            out += !out.isEmpty() && fitsSmall(out.back(), small) ? small : largeKana(small);
            ++i;
            continue;
        }
        out += c;
    }
    return out;
}

QString withoutLogoScraps(const QString& text)
{
    static const QRegularExpression legal(QStringLiteral("株式会社|有限会社|合同会社|合資会社|合名会社"));
    static const QRegularExpression blanks(QStringLiteral("[\\s\\x{3000}]+"));
    QStringList words = text.split(blanks, Qt::SkipEmptyParts);
    const qsizetype at = std::find_if(words.begin(), words.end(), [](const QString& w) { return legal.match(w).hasMatch(); }) - words.begin();
    if (at == words.size())
        return text;
    // A legal form set as a word of its own has the name beside it, however short.
    const bool alone = legal.match(words.at(at)).captured() == words.at(at);
    const qsizetype name = !alone ? at : at + 1 < words.size() ? at + 1 : at - 1;
    const qsizetype from = std::min(at, name), to = std::max(at, name);
    // A name stands on one side of its legal form only: before "株式会社 北辰物流" or
    // "株式会社北辰物流" stands no part of the company.
    const bool nameAfter = name > at || (!alone && legal.match(words.at(at)).capturedStart() == 0);
    qsizetype first = nameAfter ? at : 0, last = words.size() - 1;
    while (first < from && isLogoScrap(words.at(first)))
        ++first;
    while (last > to && isLogoScrap(words.at(last)))
        --last;
    words = words.mid(first, last - first + 1);
    // A scrap run into the company's word ("調間株式会社大洋食品"): a name stands on one side of
    // its legal form only, so the mark or two before it are the logo's.
    QString& word = words[at - first];
    if (const auto m = legal.match(word); m.capturedStart() > 0 && m.capturedStart() <= 2 && word.size() - m.capturedEnd() >= 2)
        word = word.mid(m.capturedStart());
    return words.join(u' ');
}

QString withColumnNumbers(const QString& text)
{
    static const QString numerals = QStringLiteral("〇○一二三四五六七八九");
    // A numeral, and a dash as the vertical models read one set in a column.
    static const QString num = QStringLiteral("[〇○一二三四五六七八九0-9０-９]");
    static const QString dash = QStringLiteral("[\\-－ー―—‐'’‘|｜︱丨・,，、「」_.!]");
    static const QString run =
        num + QStringLiteral("(?:") + num + QStringLiteral("|\\s*") + dash + QStringLiteral("+\\s*(?=") + num + QStringLiteral("))*");
    static const QRegularExpression labelled(QStringLiteral("(〒|電話|TEL|Tel|tel|FAX|Fax|fax|ＦＡＸ|ＴＥＬ|ファクス|ファックス|携帯|直通|"
                                                            "代表|手机|手機|电话|傳真|传真|邮编|郵編|Mobile|Phone)[^")
                                             + numerals + QStringLiteral("0-9０-９\\p{L}]{0,3}(") + run + QStringLiteral(")"));
    static const QRegularExpression alone(QStringLiteral("^\\s*(") + run + QStringLiteral(")\\s*$"));
    const auto digitsOf = [](const QString& found) {
        QString out;
        for (QChar c : found) {
            if (const qsizetype n = numerals.indexOf(c); n >= 0)
                out += QChar(char16_t(u'0' + std::max<qsizetype>(0, n - 1)));
            else if (c.isDigit())
                out += QChar(char16_t(u'0' + c.digitValue()));
            else if (!c.isSpace())
                out += u'-';
        }
        return out;
    };
    const auto numeralCount = [&](const QString& found) {
        return std::count_if(found.begin(), found.end(), [](QChar c) { return c.isDigit() || numerals.contains(c); });
    };
    QString out = text;
    // Nine numerals and more are a telephone number wherever they stand, whatever the label.
    static const QRegularExpression anyRun(run);
    for (auto it = anyRun.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        if (numeralCount(m.captured()) >= 9) {
            out.replace(m.capturedStart(), m.capturedLength(), digitsOf(m.captured()));
            it = anyRun.globalMatch(out, m.capturedStart() + 1);
        }
    }
    // Block numbers of an address keep their numerals; the marks the vertical models read for the
    // dash between them become the dash.
    static const QRegularExpression blockDash(QStringLiteral("(?<=") + num + QStringLiteral(")\\s*[,，.'’‘]+\\s*(?=") + num
                                              + QStringLiteral(")"));
    out.replace(blockDash, QStringLiteral("-"));
    // A dash standing in a column reads as a 1 now and then: a run of digits one or two longer
    // than a Japanese postal code or telephone number, with 1s where its dashes go, has them back.
    static const QRegularExpression bare(QStringLiteral("(?<![0-9+])[0-9]{8,13}(?![0-9])"));
    for (auto it = bare.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        const QString d = m.captured();
        QString shaped;
        if (d.size() == 8 && d.at(3) == u'1')
            shaped = d.left(3) + u'-' + d.mid(4);
        else if (d.size() == 13 && d.startsWith(u'0') && d.at(2) == u'0' && d.at(3) == u'1' && d.at(8) == u'1')
            shaped = d.left(3) + u'-' + d.mid(4, 4) + u'-' + d.mid(9);
        else if (d.size() == 12 && d.startsWith(u'0') && d.at(7) == u'1') {
            for (int area = 2; area <= 5 && shaped.isEmpty(); ++area) {
                if (d.at(area) == u'1')
                    shaped = d.left(area) + u'-' + d.mid(area + 1, 6 - area) + u'-' + d.mid(8);
            }
        }
        if (!shaped.isEmpty()) {
            out.replace(m.capturedStart(), m.capturedLength(), shaped);
            it = bare.globalMatch(out, m.capturedStart() + shaped.size());
        }
    }
    if (const auto m = alone.match(out); m.hasMatch() && numeralCount(m.captured(1)) >= 7)
        return digitsOf(m.captured(1));
    qsizetype from = 0;
    for (auto m = labelled.match(out, from); m.hasMatch(); m = labelled.match(out, from)) {
        if (numeralCount(m.captured(2)) < 3) {
            from = m.capturedEnd(1);
            continue;
        }
        const QString digits = digitsOf(m.captured(2));
        out.replace(m.capturedStart(2), m.capturedLength(2), digits);
        from = m.capturedStart(2) + digits.size();
    }
    return out;
}

namespace {

ColumnReading readColumnsWith(TesseractEngine& engine, Pix* pix, int dpi, const std::string& model,
                              const std::vector<RecognizedLine>& across, int milliseconds)
{
    ColumnReading reading;
    reading.model = model;
    std::vector<RecognizedLine> lines;
    if (!engine.recognize(pix, dpi, model, 0, 0, int(pixGetWidth(pix)) - 1, int(pixGetHeight(pix)) - 1, &lines, &reading.confidence,
                          milliseconds))
        return reading;
    // The vertical model reads rows across as made-up columns: the rows come from `across`, and
    // only what stands on end is a column.
    for (const RecognizedLine& l : lines) {
        if (l.bottom - l.top >= l.right - l.left && holdsText(l.text))
            reading.columns.push_back(l);
    }
    dropBoxesRoundColumns(&reading.columns);
    // Rows the engine doubts are mostly columns it ran together across the card; an e-mail or web
    // address read in a model of other letters is doubted too, and is a row all the same.
    const InkMap paper = inkMap(pix, {});
    static const QRegularExpression address(QStringLiteral("@|www\\.|https?:|\\.(?:com|net|org|jp|cn|tw|kr)\\b"));
    // The page layout now and then takes the columns of a card for rows (a card shaded on a dark
    // bed): where the columns it found hold little of the ink above the rows at the foot, that part
    // is read again as one block of columns, and the columns that hold more of its ink are taken.
    const RecognizedLine foot = footOfRows(paper);
    RecognizedLine block{{}, 0, 0, paper.w - 1, (foot.bottom > foot.top ? foot.top : paper.h) - 1, 0};
    for (const RecognizedLine& l : across) {
        if (2 * l.top > paper.h && l.right - l.left > 3 * (l.bottom - l.top) / 2 && holdsText(l.text)
            && (l.confidence >= kDoubtedColumn || address.match(l.text).hasMatch()))
            block.bottom = std::min(block.bottom, l.top - 1);
    }
    if (const double held = inkShareIn(paper, reading.columns, block); held < kColumnsHoldInk) {
        std::vector<RecognizedLine> again, columns;
        if (engine.recognize(pix, dpi, model, block.left, block.top, block.right, block.bottom, &again, nullptr, milliseconds, AreaLayout::Columns)) {
            // Columns it cannot read at all are the card's edges and shadows.
            for (const RecognizedLine& l : again) {
                if (l.bottom - l.top >= l.right - l.left && holdsText(l.text) && l.confidence >= kUnreadColumn)
                    columns.push_back(l);
            }
            dropBoxesRoundColumns(&columns);
            // Of a column both readings found, the surer stays (below).
            if (inkShareIn(paper, columns, block) > held)
                reading.columns.insert(reading.columns.end(), columns.begin(), columns.end());
        }
    }
    for (const RecognizedLine& l : across) {
        const int h = l.bottom - l.top;
        if (l.right - l.left > 3 * h / 2 && h >= 8 && holdsText(l.text) && !liesOn(l, reading.columns, 0.3)
            && (l.confidence >= kDoubtedPart || address.match(l.text).hasMatch())
            && !isMadeUpOfColumns(paper, l, address.match(l.text).hasMatch()))
            reading.rows.push_back(l);
    }
    // A column's characters set as a row and read with the Japanese model; nothing for one character.
    // Touching characters are cut apart only where nothing else read the column.
    const auto readAsRow = [&](const RecognizedLine& column, bool cutTouching) {
        const PixPtr row = engine.hasLanguage(kRowData) ? charactersAsRow(pix, column, cutTouching) : nullptr;
        if (!row)
            return RecognizedLine{};
        const int pad = int(pixGetHeight(row.get())) / 6;
        const RecognizedLine box{{}, pad, pad, int(pixGetWidth(row.get())) - 1 - pad, int(pixGetHeight(row.get())) - 1 - pad, 0};
        const RecognizedLine read = readBoxAt(engine, row.get(), kRowData, box, kRowHeight);
        if (holdsText(read.text))
            return read;
        // The engine's search for the text line finds none in a short row of large characters
        // ("課長", "総務課長"): such a row is read as it stands, at two sizes, the surer taken.
        const RecognizedLine raw = readBoxAt(engine, row.get(), kRowData, box, kRowHeight, {false, {}, true});
        const RecognizedLine asCut = readBoxAt(engine, row.get(), kRowData, box, float(box.bottom - box.top + 1), {false, {}, true});
        return asCut.confidence > raw.confidence ? asCut : raw;
    };
    const auto readAlone = [&](const RecognizedLine& box) {
        const int margin = std::max(2, (box.right - box.left) / 4);
        RecognizedLine read = engine.recognizeColumn(pix, dpi, model, std::max(0, box.left - margin), std::max(0, box.top - margin),
                                                     std::min(int(pixGetWidth(pix)) - 1, box.right + margin),
                                                     std::min(int(pixGetHeight(pix)) - 1, box.bottom + margin));
        read.left = box.left, read.top = box.top, read.right = box.right, read.bottom = box.bottom;
        return read;
    };
    // Where the reading across took the rows at the foot for columns too, or left a piece of them
    // unread, the foot alone is read across, and the rows' areas take in that foot. Columns
    // running into the foot end above it.
    std::vector<RecognizedLine> rowAreas;
    if (foot.bottom > foot.top && engine.hasLanguage(kRowData + "+" + kSidewaysData)
        && (std::none_of(reading.rows.begin(), reading.rows.end(), [&](const RecognizedLine& r) { return r.top >= foot.top; })
            || footLeftUnread(paper, reading.rows, foot))) {
        reading.rows.erase(std::remove_if(reading.rows.begin(), reading.rows.end(), [&](const RecognizedLine& r) { return r.top >= foot.top; }),
                           reading.rows.end());
        rowAreas.push_back(foot);
        std::vector<RecognizedLine> footLines;
        engine.recognize(pix, dpi, kRowData + "+" + kSidewaysData, foot.left, foot.top, foot.right, foot.bottom, &footLines, nullptr,
                         milliseconds);
        for (const RecognizedLine& l : footLines) {
            if (l.right - l.left > 3 * (l.bottom - l.top) / 2 && holdsText(l.text))
                reading.rows.push_back(l);
        }
    }
    for (RecognizedLine& c : reading.columns) {
        if (foot.bottom > foot.top && c.top < foot.top && c.bottom >= foot.top)
            c = readAlone({{}, c.left, c.top, c.right, foot.top - 1, 0});
    }
    rowAreas.insert(rowAreas.end(), reading.rows.begin(), reading.rows.end());
    reading.columns.erase(std::remove_if(reading.columns.begin(), reading.columns.end(),
                                         [&](const RecognizedLine& c) { return liesOn(c, rowAreas, 0.5); }),
                          reading.columns.end());
    const InkMap ink = inkMap(pix, rowAreas);
    // A box the engine drew round two columns side by side is two columns, each read alone.
    std::vector<RecognizedLine> split;
    for (auto c = reading.columns.begin(); c != reading.columns.end();) {
        // The strokes of one character (川, 州) stand apart by less than a third of its width, and
        // run no longer than a character and a half; longer bands are columns side by side.
        std::vector<RecognizedLine> parts;
        for (const RecognizedLine& band : inkColumns(ink, *c)) {
            RecognizedLine* last = parts.empty() ? nullptr : &parts.back();
            const int narrower = last ? std::min(last->right - last->left, band.right - band.left) : 0;
            const int longer = last ? std::max(last->bottom - last->top, band.bottom - band.top) : 0;
            if (last && band.left - last->right < narrower / 3 + 3 && band.top <= last->bottom && band.bottom >= last->top
                && 2 * longer <= 3 * (band.right - last->left + 1))
                *last = {{}, last->left, std::min(last->top, band.top), band.right, std::max(last->bottom, band.bottom), 0};
            else
                parts.push_back(band);
        }
        if (parts.size() < 2) {
            ++c;
            continue;
        }
        std::vector<RecognizedLine> reads;
        for (const RecognizedLine& part : parts)
            reads.push_back(readAlone(part));
        // Parts the engine cannot read surely are pieces of the one column after all, unless they
        // are in type half as large again as a part read surely: a name beside its title.
        const auto widthOf = [](const RecognizedLine& p) { return p.right - p.left + 1; };
        int sureWidth = 0;
        for (const RecognizedLine& r : reads) {
            if (r.confidence >= kDoubtedPart)
                sureWidth = sureWidth ? std::min(sureWidth, widthOf(r)) : widthOf(r);
        }
        if (std::any_of(reads.begin(), reads.end(), [&](const RecognizedLine& r) {
                return !holdsText(r.text) || (r.confidence < kDoubtedPart && (!sureWidth || 2 * widthOf(r) < 3 * sureWidth));
            })) {
            ++c;
            continue;
        }
        split.insert(split.end(), reads.begin(), reads.end());
        c = reading.columns.erase(c);
    }
    reading.columns.insert(reading.columns.end(), split.begin(), split.end());
    // A column whose characters go on beyond its box is read again whole.
    for (RecognizedLine& c : reading.columns) {
        const RecognizedLine whole = extendedToInk(ink, c);
        const int third = (c.right - c.left) / 3;
        if (whole.top >= c.top - third && whole.bottom <= c.bottom + third)
            continue;
        const RecognizedLine read = readAlone(whole);
        const auto letters = [](const QString& t) { return std::count_if(t.begin(), t.end(), [](QChar ch) { return ch.isLetterOrNumber(); }); };
        if (letters(read.text) > letters(c.text))
            c = read;
    }
    // Columns the engine's layout missed (set apart, in large type, beside a rule) are read alone.
    std::vector<RecognizedLine> missed;
    for (const RecognizedLine& box : inkColumns(ink, {{}, 0, 0, ink.w - 1, ink.h - 1, 0})) {
        if (!liesOn(box, reading.columns, 0.3)) {
            missed.push_back(box);
            continue;
        }
        // Ink that goes on past the columns read on it (a given name after a wide blank below the
        // family name) is looked at alone.
        std::vector<RecognizedLine> on;
        std::copy_if(reading.columns.begin(), reading.columns.end(), std::back_inserter(on),
                     [&](const RecognizedLine& c) { return overlapArea(box, c) > 0; });
        std::sort(on.begin(), on.end(), [](const RecognizedLine& a, const RecognizedLine& b) { return a.top < b.top; });
        std::vector<std::pair<int, int>> beyond;
        int top = box.top;
        for (const RecognizedLine& c : on) {
            if (c.top > top)
                beyond.emplace_back(top, c.top - 1);
            top = std::max(top, c.bottom + 1);
        }
        beyond.emplace_back(top, box.bottom);
        for (const auto& [from, to] : beyond) {
            for (const RecognizedLine& part : to > from ? inkColumns(ink, {{}, box.left, from, box.right, to, 0}) : std::vector<RecognizedLine>{}) {
                if (!liesOn(part, reading.columns, 0.3))
                    missed.push_back(part);
            }
        }
    }
    for (const RecognizedLine& box : missed) {
        RecognizedLine read = readAlone(box);
        // The vertical models read nothing of a short column in small type (a title of two or three
        // kanji beside the name); set as a row, the Japanese model reads it.
        if (!holdsText(read.text)) {
            const RecognizedLine row = readAsRow(box, true);
            // A role's word ends it in a rank or a unit, which scraps of ink do not read as.
            if (holdsText(row.text) && (row.confidence >= kDoubtedColumn || (row.confidence >= kUnreadColumn && namesAJapaneseRole(row.text))))
                read.text = row.text, read.confidence = row.confidence;
        }
        if (holdsText(read.text))
            reading.columns.push_back(read);
    }
    dropBoxesRoundColumns(&reading.columns);
    // Of two columns on one another, the one read the more surely stays.
    std::sort(reading.columns.begin(), reading.columns.end(),
              [](const RecognizedLine& a, const RecognizedLine& b) { return a.confidence > b.confidence; });
    for (size_t i = 0; i < reading.columns.size(); ++i) {
        const std::vector<RecognizedLine> surer(reading.columns.begin(), reading.columns.begin() + qsizetype(i));
        if (liesOn(reading.columns[i], surer, 0.5))
            reading.columns.erase(reading.columns.begin() + qsizetype(i--));
    }
    sortInReadingOrder(&reading.columns);
    joinCutColumns(&reading.columns);
    const int usual = usualWidth(reading.columns);
    reading.otherReadings.assign(reading.columns.size(), QString());
    for (RecognizedLine& c : reading.columns) {
        // A name in large type, and words the vertical model doubts, read better with the
        // Japanese model, their characters set as a row; not numbers, whose dashes would stand across.
        // Nor numerals of strokes across (一, 二), which the cutting into characters takes for rules.
        // A short column that names no role may be a title or department with a kanji misread.
        static const QRegularExpression numbers(QStringLiteral("[0-9０-９〇一二三〒A-Za-z]"));
        static const QRegularExpression hiragana(QStringLiteral("[\\x{3041}-\\x{3096}]"));
        const qsizetype characters = QString(c.text).remove(QRegularExpression(QStringLiteral("\\s"))).size();
        const bool mayNameARole = characters >= 2 && characters <= 6 && !namesAJapaneseRole(c.text) && !c.text.contains(hiragana);
        if ((c.right - c.left > kLargeColumn * usual
             || ((c.confidence < kDoubtedColumn || mayNameARole) && !c.text.contains(numbers) && !holdsSidewaysType(c.text)))
            && engine.hasLanguage(kRowData)) {
            if (const RecognizedLine read = readAsRow(c, false); read.right > 0) {
                // The row's reading is taken when it is surer, or when it names a role and the
                // column's, of as many characters, does not.
                const bool role = mayNameARole && read.confidence >= kDoubtedPart && namesAJapaneseRole(read.text)
                    && QString(read.text).remove(QRegularExpression(QStringLiteral("\\s"))).size() == characters;
                // Words of kanji only: a reading's kana read as a row lose the blank between its
                // names, and an address the dashes of its numbers.
                static const QRegularExpression kanji(QStringLiteral("[\\x{4E00}-\\x{9FFF}]"));
                const bool surer = read.confidence >= kDoubtedColumn
                    ? read.confidence > c.confidence
                    : read.confidence >= kSureRow && read.confidence >= c.confidence + kClearlySurer && c.text.contains(kanji)
                        && !c.text.contains(numbers);
                const bool taken = role || (surer && holdsText(read.text));
                reading.otherReadings[size_t(&c - reading.columns.data())] = taken ? c.text : read.text;
                if (taken)
                    c.text = read.text, c.confidence = read.confidence;
            }
        }
        c.text = withColumnNumbers(withoutDoubledKana(withDashesOfTheirShape(pix, c.left, c.top, c.right, c.bottom, c.text)));
        if (holdsSidewaysType(c.text) && engine.hasLanguage(kSidewaysData)) {
            readSidewaysNumber(engine, pix, dpi, &c);
            c.text = withColumnNumbers(c.text);
        }
        withDashesOfTheRow(engine, pix, dpi, &c);
        // A label the vertical model made up of one set on its side ("mr", ">") says nothing.
        static const QRegularExpression madeUpLabel(QStringLiteral("^(?!(?:TEL|FAX|Tel|Fax)\\b)[A-Za-z>]{1,3}\\s+(?=[0-9+(])"));
        c.text.remove(madeUpLabel);
    }
    std::sort(reading.rows.begin(), reading.rows.end(),
              [](const RecognizedLine& a, const RecognizedLine& b) { return a.top != b.top ? a.top < b.top : a.left < b.left; });
    int sum = 0, count = 0;
    for (const std::vector<RecognizedLine>* kept : {&reading.columns, &reading.rows}) {
        for (const RecognizedLine& l : *kept) {
            sum += l.confidence;
            ++count;
        }
    }
    reading.confidence = count ? sum / count : 0;
    return reading;
}

// Kana, a postal mark, a Japanese legal form or block word: the card is Japanese.
bool showsJapanese(const std::vector<RecognizedLine>& lines)
{
    static const QRegularExpression marks(QStringLiteral("[\\x{3041}-\\x{30FA}〒]|会社|丁目|番地"));
    return std::any_of(lines.begin(), lines.end(), [](const RecognizedLine& l) { return marks.match(l.text).hasMatch(); });
}

} // namespace

ColumnReading readColumns(TesseractEngine& engine, Pix* pix, int dpi, int language, const std::vector<RecognizedLine>& across,
                          const std::function<int()>& timeLeft)
{
    if (timeLeft() == 0)
        return {};
    const std::string model = verticalModel(language);
    ColumnReading best = readColumnsWith(engine, pix, dpi, model, across, timeLeft());
    // Columns of Han characters alone may be Chinese; the Chinese reading must be clearly surer.
    if (language != 11 || best.columns.empty() || showsJapanese(best.columns))
        return best;
    for (const std::string chinese : {"chi_sim_vert", "chi_tra_vert"}) {
        if (!engine.hasLanguage(chinese) || timeLeft() == 0)
            continue;
        ColumnReading again = readColumnsWith(engine, pix, dpi, chinese, across, timeLeft());
        if (!again.columns.empty() && again.confidence > best.confidence + kSurerReading)
            best = std::move(again);
    }
    return best;
}

ResultSlots classifyColumnCard(const ColumnReading& reading, int width, const FamilyNameLength& familyNameLength,
                               const NameReadingOf& readingOf)
{
    // A column stands for a line of the card turned a quarter to the left: its top is where the
    // line starts, the right edge of the card the top of the card. The rows follow below them.
    std::vector<RecognizedLine> lines, onCard;
    std::vector<std::pair<QString, QString>> printed; // a column's block numbers in digits, and as printed
    for (const RecognizedLine& c : reading.columns) {
        QString text = withTitleMarks(withoutLogoScraps(c.text));
        if (const QString digits = withBlockDigits(text); !digits.isEmpty()) {
            printed.emplace_back(digits, text);
            text = digits;
        }
        lines.push_back({text, c.top, width - 1 - c.right, c.bottom, width - 1 - c.left, c.confidence});
        onCard.push_back(c);
    }
    int y = width + width / 10;
    for (const RecognizedLine& r : reading.rows) {
        const int h = r.bottom - r.top;
        lines.push_back({r.text, r.left, y, r.right, y + h, r.confidence});
        onCard.push_back(r);
        y += h + h / 2;
    }
    ResultSlots fields = classifyCardLines(lines, familyNameLength, readingOf);
    // The address keeps the numerals the card prints.
    for (const auto& [digits, asPrinted] : printed)
        fields[kAddressSlot].text.replace(digits, asPrinted);
    for (SlotFill& slot : fields) {
        if (!slot.filled)
            continue;
        RecognizedLine box{{}, -1, 0, 0, 0, 0};
        for (size_t i = 0; i < lines.size(); ++i) {
            const RecognizedLine& l = lines[i];
            if (l.left < slot.left - 2 || l.top < slot.top - 2 || l.right > slot.right + 2 || l.bottom > slot.bottom + 2)
                continue;
            const RecognizedLine& c = onCard[i];
            box = box.left < 0
                ? c
                : RecognizedLine{
                    {}, std::min(box.left, c.left), std::min(box.top, c.top), std::max(box.right, c.right), std::max(box.bottom, c.bottom),
                    0};
        }
        if (box.left >= 0)
            slot.left = box.left, slot.top = box.top, slot.right = box.right, slot.bottom = box.bottom;
    }
    return fields;
}

void takeBetterSupportedName(const ColumnReading& reading, NameReading& names, ResultSlots* fields)
{
    SlotFill& name = (*fields)[kNameSlot];
    SlotFill& furigana = (*fields)[kNameReadingSlot];
    if (!name.filled)
        return;
    std::vector<size_t> inBox;
    for (size_t i = 0; i < reading.columns.size() && i < reading.otherReadings.size(); ++i) {
        const RecognizedLine& c = reading.columns[i];
        if (c.left >= name.left - 2 && c.top >= name.top - 2 && c.right <= name.right + 2 && c.bottom <= name.bottom + 2)
            inBox.push_back(i);
    }
    if (inBox.size() == 1 && !reading.otherReadings[inBox.front()].isEmpty()) {
        const QString better = betterSupportedName(
            name.text, reading.otherReadings[inBox.front()], furigana.filled ? furigana.text : QString(),
            [&names](const QString& t) { return names.isKnownName(t); }, [&names](const QString& t) { return names.reading(t); });
        if (!better.isEmpty()) {
            const int family = names.familyNameLength(better);
            name.text = family > 0 && family < better.size() ? better.left(family) + u' ' + better.mid(family) : better;
        } else {
            name.text = withCommonKanjiForms(name.text, reading.otherReadings[inBox.front()]);
        }
    }
    // A title set at the head of the reading's column ("チーフエンジニア おかだ かずや") is the title.
    if (SlotFill& title = (*fields)[kTitleSlot]; furigana.filled && !title.filled) {
        const QString head = furigana.text.section(u' ', 0, 0);
        if (isJapaneseTitleWord(head) && furigana.text.size() > head.size() + 1) {
            title = furigana;
            title.text = head;
            furigana.text = furigana.text.mid(head.size() + 1).trimmed();
        }
    }
    if (furigana.filled)
        furigana.text = mendedNameReading(furigana.text, names.reading(QString(name.text).remove(u' ')));
}

std::vector<std::vector<QString>> characterReadingsOfColumn(TesseractEngine& engine, Pix* pix, int left, int top, int right, int bottom)
{
    std::vector<std::vector<QString>> choices;
    const PixPtr row = engine.hasLanguage(kRowData) ? charactersAsRow(pix, {{}, left, top, right, bottom, 0}) : nullptr;
    if (!row)
        return choices;
    // Read at the height the row re-readings read at.
    const float scale = kRowHeight / float(std::max(1, int(pixGetHeight(row.get())) * 2 / 3));
    const PixPtr scaled(pixScale(row.get(), scale, scale));
    if (!scaled)
        return choices;
    for (const TesseractEngine::Symbol& s : engine.recognizeSymbols(scaled.get(), 300, kRowData, 0, 0, int(pixGetWidth(scaled.get())) - 1,
                                                                    int(pixGetHeight(scaled.get())) - 1))
        choices.push_back({s.text});
    return choices;
}
