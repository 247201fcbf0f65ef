#include "app/export/ExportCell.h"

// One pass over the value, so that a row of many cells is built without a copy of each value.
void appendExportCell(QString* row, QStringView value, QChar separator)
{
    const qsizetype start = row->size();
    const bool textFile = separator == QLatin1Char('\t');
    bool quoted = false;
    bool afterCarriageReturn = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        char16_t u = value[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < value.size() && value[i + 1].isLowSurrogate()) {
            row->append(value[i]);
            row->append(value[++i]);
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
        if (u == u'\r' || u == u'\n' || (textFile && u == u'\t')) {
            u = u' ';
        } else if (!textFile && u == u'"') {
            quoted = true;
            row->append(QLatin1Char('"'));
        } else if (u == separator.unicode()) {
            quoted = true;
        }
        row->append(QChar(u));
    }
    if (textFile) {
        qsizetype end = row->size();
        while (end > start && row->at(end - 1).isSpace())
            --end;
        qsizetype first = start;
        while (first < end && row->at(first).isSpace())
            ++first;
        row->truncate(end);
        row->remove(start, first - start);
    } else if (quoted) {
        row->insert(start, QLatin1Char('"'));
        row->append(QLatin1Char('"'));
    }
}
