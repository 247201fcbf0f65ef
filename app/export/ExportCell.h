// One cell of a CSV (separator ",") or text (tab) file, written straight onto its row.
#pragma once

#include <QString>
#include <QStringView>

// Writes the value as a cell at `out`, which has room for exportCellRoom(value.size())
// characters, and answers the end of the cell: characters no file can carry dropped, every line
// break (CR LF, CR or LF) a space; a text cell has its tabs made spaces and is trimmed, a CSV cell
// holding a double quote has it doubled and is quoted, as is one holding the separator.
char16_t* writeExportCell(char16_t* out, QStringView value, char16_t separator);

// The most a cell of a value of `size` characters takes: every one a doubled quote, and the two
// quotes around.
constexpr qsizetype exportCellRoom(qsizetype size)
{
    return 2 * size + 2;
}

// The cell appended to the row.
void appendExportCell(QString* row, QStringView value, QChar separator);
