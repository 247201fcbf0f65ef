#include "outside/ocr/UnreadBlocks.h"

#include "outside/ocr/FaintRows.h"
#include "outside/ocr/LineRereading.h"
#include "outside/ocr/TesseractEngine.h"

#include <algorithm>
#include <leptonica/allheaders.h>

namespace {

// A block is two rows of ink or more left unread; one row alone is a faint name's (FaintRows).
constexpr size_t kLeastRows = 2;
constexpr size_t kMostRows = 16;
// Type is at least this many pixels high at 300 dpi (under 1 mm: a small print's capitals).
constexpr int kLeastRowHeight = 10;
// A line of the block read at this confidence or above, with letters or digits, is text, if
// perhaps of a script the models do not read (they try others on it); specks and the strokes of a
// logo read lower.
constexpr int kReadLine = 10;
constexpr qsizetype kReadSigns = 2;
// A line read this surely is text wherever it lies.
constexpr int kSureLine = 60;
// The lines read on a row of ink are that row when they span this share of its width.
constexpr int kWholeRow = 3;
constexpr int kWholeRowOf = 4;

bool readsAsText(const RecognizedLine& l)
{
    return l.confidence >= kReadLine
        && std::count_if(l.text.begin(), l.text.end(), [](QChar c) { return c.isLetterOrNumber(); }) >= kReadSigns;
}

// Whether two lines lie on one row and overlap across.
bool overlap(const RecognizedLine& a, const RecognizedLine& b)
{
    return 2 * (std::min(a.bottom, b.bottom) - std::max(a.top, b.top)) > std::min(a.bottom - a.top, b.bottom - b.top)
        && std::min(a.right, b.right) > std::max(a.left, b.left);
}

} // namespace

void readBlocksLeftUnread(TesseractEngine& engine, Pix* grey, int dpi, const std::string& data, std::vector<RecognizedLine>* lines,
                          int milliseconds)
{
    const int least = std::max(kLeastRowHeight * dpi / 300, medianHeight(*lines) / 2);
    // Whatever the layout found text in, however badly read, is no row it left unread: the models'
    // trials and the rows' own re-readings read it better.
    std::vector<RecognizedLine> rows = unreadInkRows(grey, *lines, least, kMostRows, [](const RecognizedLine&) { return true; });
    // The dark bed of the scanner along an edge of the card is no row of type.
    const int width = int(pixGetWidth(grey)), height = int(pixGetHeight(grey));
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [width, height](const RecognizedLine& r) {
                                  return r.left <= 0 || r.top <= 0 || r.right >= width - 1 || r.bottom >= height - 1;
                              }),
               rows.end());
    if (rows.size() < kLeastRows)
        return;
    RecognizedLine area = rows.front();
    for (const RecognizedLine& row : rows) {
        area.left = std::min(area.left, row.left);
        area.top = std::min(area.top, row.top);
        area.right = std::max(area.right, row.right);
        area.bottom = std::max(area.bottom, row.bottom);
    }
    // Across, the block runs out to the lines read beside it, or to the card's edges: what the
    // layout left of a row may be more than the rows of ink found (words apart, a smaller type).
    int left = 0, right = width - 1;
    for (const RecognizedLine& o : *lines) {
        if (std::min(o.bottom, area.bottom) < std::max(o.top, area.top))
            continue;
        if (o.right < area.left)
            left = std::max(left, o.right + 1);
        if (o.left > area.right)
            right = std::min(right, o.left - 1);
    }
    area.left = left;
    area.right = right;
    std::vector<RecognizedLine> read;
    if (!engine.recognize(grey, dpi, data, area.left, area.top, area.right, area.bottom, &read, nullptr, milliseconds, AreaLayout::Rows))
        return;
    // The lines of a row of ink are taken when they read most of its width: a row read in part (a
    // company's name without the legal form set smaller beside it) is left to the rows' own
    // re-reading. A line on no row found (a short row of words set apart) is taken when read surely.
    const auto isNew = [lines](const RecognizedLine& line) {
        return readsAsText(line) && std::none_of(lines->begin(), lines->end(), [&line](const RecognizedLine& o) { return overlap(o, line); });
    };
    const auto readWhole = [&](const RecognizedLine& row) {
        int across = 0;
        for (const RecognizedLine& line : read) {
            if (isNew(line) && overlap(line, row))
                across += std::min(line.right, row.right) - std::max(line.left, row.left);
        }
        return kWholeRow * (row.right - row.left) <= across * kWholeRowOf;
    };
    std::vector<RecognizedLine> taken;
    for (const RecognizedLine& line : read) {
        const auto row = std::find_if(rows.begin(), rows.end(), [&line](const RecognizedLine& r) { return overlap(line, r); });
        if (isNew(line) && (row == rows.end() ? line.confidence >= kSureLine : readWhole(*row)))
            taken.push_back(line);
    }
    for (const RecognizedLine& line : taken) {
        if (std::any_of(lines->begin(), lines->end(), [&line](const RecognizedLine& o) { return overlap(o, line); }))
            continue;
        const auto after = std::find_if(lines->begin(), lines->end(), [&line](const RecognizedLine& o) { return o.top > line.top; });
        lines->insert(after, line);
    }
}
