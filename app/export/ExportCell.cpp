#include "app/export/ExportCell.h"

#include <algorithm>
#include <cstring>

namespace {

using Lanes = quint16 __attribute__((vector_size(16)));
constexpr qsizetype kLanes = sizeof(Lanes) / sizeof(quint16);

Lanes lanesAt(const char16_t* chars)
{
    Lanes u;
    std::memcpy(&u, chars, sizeof u);
    return u;
}

// Every lane that needs one of the rules below: a character a file cannot carry, a line break or
// tab, a double quote or the separator, half of a surrogate pair.
Lanes specialLanes(Lanes u, Lanes separator)
{
    const Lanes quote = Lanes{} + quint16('"');
    return Lanes((u < 0x20) | (u == quote) | (u == separator) | ((u & 0xF800) == 0xD800) | (u >= 0xFFFE));
}

bool anyLane(Lanes lanes)
{
    quint64 halves[2];
    std::memcpy(halves, &lanes, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

bool isSpecial(char16_t u, char16_t separator)
{
    return u < 0x20 || u == u'"' || u == separator || (u & 0xF800) == 0xD800 || u >= 0xFFFE;
}

// Copies the value to `out` and tells whether it needs none of the rules: eight characters at a
// time, the last eight again for a length not a multiple of it.
bool copyPlain(char16_t* out, const char16_t* chars, qsizetype size, char16_t separator)
{
    if (size < kLanes) {
        bool special = false;
        for (qsizetype i = 0; i < size; ++i) {
            special |= isSpecial(chars[i], separator);
            out[i] = chars[i];
        }
        return !special;
    }
    const Lanes separators = Lanes{} + quint16(separator);
    Lanes found{};
    for (qsizetype i = 0; i + kLanes <= size; i += kLanes) {
        const Lanes u = lanesAt(chars + i);
        found |= specialLanes(u, separators);
        std::memcpy(out + i, &u, sizeof u);
    }
    const Lanes last = lanesAt(chars + size - kLanes);
    found |= specialLanes(last, separators);
    std::memcpy(out + size - kLanes, &last, sizeof last);
    return !anyLane(found);
}

// The rules, character by character; a run of eight that needs none is copied as it stands.
char16_t* writeWithRules(char16_t* out, const char16_t* chars, qsizetype size, char16_t separator, bool textFile)
{
    // In a CSV file no rule below makes or removes a double quote or a separator, so the value
    // itself tells whether the cell is quoted.
    const bool quoted = !textFile && std::any_of(chars, chars + size, [separator](char16_t c) { return c == u'"' || c == separator; });
    const Lanes separators = Lanes{} + quint16(separator);
    char16_t* const first = out;
    if (quoted)
        *out++ = u'"';
    bool afterCarriageReturn = false;
    for (qsizetype i = 0; i < size; ++i) {
        if (i + kLanes <= size) {
            const Lanes u = lanesAt(chars + i);
            if (!anyLane(specialLanes(u, separators))) {
                std::memcpy(out, &u, sizeof u);
                out += kLanes;
                i += kLanes - 1;
                afterCarriageReturn = false;
                continue;
            }
        }
        char16_t u = chars[i];
        if (QChar::isHighSurrogate(u) && i + 1 < size && QChar::isLowSurrogate(chars[i + 1])) {
            *out++ = u;
            *out++ = chars[++i];
            afterCarriageReturn = false;
            continue;
        }
        if (QChar::isSurrogate(u))
            u = QChar::ReplacementCharacter;
        else if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF)
            continue;
        // A dropped character between CR and LF does not part them: they stay one line break.
        if (u == u'\n' && afterCarriageReturn) {
            afterCarriageReturn = false;
            continue;
        }
        afterCarriageReturn = u == u'\r';
        if (u == u'\r' || u == u'\n' || (textFile && u == u'\t'))
            u = u' ';
        else if (quoted && u == u'"')
            *out++ = u'"';
        *out++ = u;
    }
    if (quoted)
        *out++ = u'"';
    if (!textFile)
        return out;
    while (out > first && QChar::isSpace(out[-1]))
        --out;
    const char16_t* start = first;
    while (start < out && QChar::isSpace(*start))
        ++start;
    return std::copy(start, static_cast<const char16_t*>(out), first);
}

} // namespace

// A plain value, the most common, is copied as it is looked at; any other is written again with
// the rules.
char16_t* writeExportCell(char16_t* out, QStringView value, char16_t separator)
{
    const qsizetype size = value.size();
    const char16_t* const chars = value.utf16();
    const bool textFile = separator == u'\t';
    if (copyPlain(out, chars, size, separator)
        && (!textFile || size == 0 || (!QChar::isSpace(chars[0]) && !QChar::isSpace(chars[size - 1]))))
        return out + size;
    return writeWithRules(out, chars, size, separator, textFile);
}

void appendExportCell(QString* row, QStringView value, QChar separator)
{
    const qsizetype start = row->size();
    const qsizetype most = start + exportCellRoom(value.size());
    if (row->capacity() < most)
        row->reserve(std::max(2 * row->capacity(), most));
    row->resize(most);
    char16_t* const first = reinterpret_cast<char16_t*>(row->data());
    row->resize(writeExportCell(first + start, value, separator.unicode()) - first);
}
