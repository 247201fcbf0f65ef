// The values of the rows one fetch read, kept by attribute in compact columns (RowColumn): the
// objects the fetch made or met answer their values from here, each by its row, instead of each
// holding a QVariant per value. A number or a date then costs nine bytes and a text that many rows
// share is kept once. Written only while the fetch reads; shared by its objects afterwards.
#pragma once

#include "platform/store/AttributeBits.h"
#include "platform/store/RowColumn.h"
#include "platform/store/StoreModel.h"

#include <QVariant>

#include <vector>

class StoreStrings;
struct sqlite3_stmt;

class FetchedValues {
public:
    // Columns for the attributes of `indices`, which are in ascending order.
    FetchedValues(const EntityDescription& entity, const std::vector<int>& indices);

    // The attributes the rows hold a value for (null or not).
    const AttributeBits& attributes() const { return m_attributes; }
    quint32 rowCount() const { return m_rows; }
    QVariant value(quint32 row, int attribute) const { return m_columns[size_t(m_attributes.rank(attribute))].value(qsizetype(row)); }
    // Whether the row's value of the attribute is null.
    bool isNull(quint32 row, int attribute) const { return m_columns[size_t(m_attributes.rank(attribute))].isNull(qsizetype(row)); }

    // Appends the row `statement` is on, its attributes' values in result columns `first` on;
    // texts are shared through `strings` (by column, null for none). Answers the row's number.
    quint32 appendRow(sqlite3_stmt* statement, int first, const std::vector<StoreStrings*>& strings);
    // Lets go of the room kept for rows to come.
    void squeeze();

private:
    AttributeBits m_attributes;
    std::vector<RowColumn> m_columns; // in attribute order
    quint32 m_rows = 0;
};
