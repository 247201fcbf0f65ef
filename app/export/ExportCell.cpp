#include "app/export/ExportCell.h"

#include <algorithm>

namespace {

// The value needs none of the rules below: no character a file cannot carry, no line break or tab,
// no double quote or separator, no surrogate; a text cell has no space at either end to trim.
bool isPlainCell(QStringView value, char16_t separator, bool textFile)
{
    bool special = false;
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        special |= (u < 0x20) | (u == u'"') | (u == separator) | ((u & 0xF800) == 0xD800) | (u >= 0xFFFE);
    }
    if (special)
        return false;
    return !textFile || value.isEmpty() || (!value.front().isSpace() && !value.back().isSpace());
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
