// The sixteen columns the card list and the trash can show: mask bit, menu tag, the Card
// attribute, the title key and the cell's formatter; the stored column preferences; the
// header-click sort cycle and the sort reset when a column goes.
#pragma once

#include "platform/foundation/PlistValue.h"
#include "platform/store/FetchRequest.h"

#include <QList>
#include <QString>

namespace CardListColumns {

enum class Cell { Matter, CardMatter, Date };

struct Column {
    quint16 bit;
    int tag;
    const char* attribute;
    const char* titleKey;
    Cell cell;
    quint16 maxLength;
};

inline constexpr double kMinWidth = 80.0;
inline constexpr double kMaxWidth = 1000.0;
inline constexpr double kNewColumnWidth = 100.0;
inline constexpr const char* kFullName = "full_Name";
inline constexpr const char* kAcceptDate = "accept_Date";

// In tag order 0 to 15.
const QList<Column>& columns();
const Column* columnWithAttribute(const QString& attribute);
const Column* columnWithTag(int tag);
// Whether the display mode offers the column (the two reading columns need their bit).
bool isOffered(const Column& column, int displayMode);

struct Stored {
    QString attribute;
    double size;
    friend bool operator==(const Stored&, const Stored&) = default;
};
// The columns of a stored preference ("identify", "size") that the display mode offers, in order,
// widths kept within 80 to 1000; unknown or repeated attributes are skipped. The four default
// columns when the preference is missing or names none.
QList<Stored> storedColumns(const PlistValue& preference, int displayMode);
quint32 maskOf(const QList<Stored>& columns);
PlistValue columnInfo(const QList<Stored>& columns);

// "accept_Date" descending, the order of both tables until the user picks another.
QList<SortDescriptor> defaultSort();
// The order after a click on the header of `attribute`: the table's own step (the attribute
// becomes first, reversed when it already was, ascending when new), then the cycle ascending,
// descending, default order.
QList<SortDescriptor> afterHeaderClick(const QList<SortDescriptor>& current, const QString& attribute);
// The order after the column of `attribute` is removed: the default when the table was sorted
// by it or not at all, else unchanged.
QList<SortDescriptor> afterColumnRemoved(const QList<SortDescriptor>& current, const QString& attribute);

} // namespace CardListColumns
