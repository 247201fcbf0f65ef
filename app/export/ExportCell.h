// One cell of a CSV (separator ",") or text (tab) file, written straight onto its row.
#pragma once

#include <QString>
#include <QStringView>

// Appends the value as a cell: characters no file can carry dropped, every line break (CR LF, CR
// or LF) a space; a text cell has its tabs made spaces and is trimmed, a CSV cell holding a
// double quote has it doubled and is quoted, as is one holding the separator.
void appendExportCell(QString* row, QStringView value, QChar separator);
