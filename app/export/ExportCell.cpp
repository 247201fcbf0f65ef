#include "app/export/ExportCell.h"

#include <algorithm>
#include <cstring>

namespace {

using Lanes = quint16 __attribute__((vector_size(16)));
constexpr qsizetype kLanes = sizeof(Lanes) / sizeof(quint16);

// Every lane that needs one of the rules below: a character a file cannot carry, a line break or
// tab, a double quote or the separator, half of a surrogate pair.
Lanes specialLanes(Lanes u, Lanes separator)
{
    const Lanes quote = Lanes{} + quint16('"');
    return Lanes((u < 0x20) | (u == quote) | (u == separator) | ((u & 0xF800) == 0xD800) | (u >= 0xFFFE));
}

// The value needs none of the rules below; a text cell also has no space at either end to trim.
// Eight characters are looked at a time, the last eight again for a length not a multiple of it.
bool isPlainCell(QStringView value, char16_t separator, bool textFile)
{
    const qsizetype size = value.size();
    const char16_t* const chars = value.utf16();
    if (size >= kLanes) {
        const Lanes separators = Lanes{} + quint16(separator);
        Lanes found{};
        Lanes u;
        for (qsizetype i = 0; i + kLanes <= size; i += kLanes) {
            std::memcpy(&u, chars + i, sizeof u);
            found |= specialLanes(u, separators);
        }
        std::memcpy(&u, chars + size - kLanes, sizeof u);
        found |= specialLanes(u, separators);
        quint64 halves[2];
        std::memcpy(halves, &found, sizeof halves);
        if (halves[0] | halves[1])
            return false;
    } else {
        bool special = false;
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t u = chars[i];
            special |= (u < 0x20) | (u == u'"') | (u == separator) | ((u & 0xF800) == 0xD800) | (u >= 0xFFFE);
        }
        if (special)
            return false;
    }
    return !textFile || size == 0 || (!value.front().isSpace() && !value.back().isSpace());
}

} // namespace

// A plain value, the most common, is appended as it stands. Any other takes one pass written
// straight into the row's own buffer, without a copy of the value or a check of the buffer for
// each character.
void appendExportCell(QString* row, QStringView value, QChar separator)
{
    const bool textFile = separator == QLatin1Char('\t');
    if (isPlainCell(value, separator.unicode(), textFile)) {
        row->append(value);
        return;
    }
    // In a CSV file no rule below makes or removes a double quote or a separator, so the value
    // itself tells whether the cell is quoted.
    const bool quoted = !textFile && std::any_of(value.begin(), value.end(), [separator](QChar c) { return c == u'"' || c == separator; });
    const qsizetype start = row->size();
    const qsizetype most = value.size() * 2 + 2; // every quote doubled, and the two around
    if (row->capacity() - start < most)
        row->reserve(std::max(2 * row->capacity(), start + most));
    row->resize(start + most);
    char16_t* const first = reinterpret_cast<char16_t*>(row->data()) + start;
    char16_t* out = first;
    if (quoted)
        *out++ = u'"';
    bool afterCarriageReturn = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        char16_t u = value[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < value.size() && value[i + 1].isLowSurrogate()) {
            *out++ = u;
            *out++ = value[++i].unicode();
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
    qsizetype length = out - first;
    if (textFile) {
        while (length > 0 && QChar::isSpace(first[length - 1]))
            --length;
        qsizetype leading = 0;
        while (leading < length && QChar::isSpace(first[leading]))
            ++leading;
        std::copy(first + leading, first + length, first);
        length -= leading;
    }
    row->resize(start + length);
}
