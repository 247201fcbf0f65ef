#include "platform/store/FetchedValues.h"

FetchedValues::FetchedValues(const EntityDescription& entity, const std::vector<int>& indices)
{
    m_columns.reserve(indices.size());
    for (int a : indices) {
        m_attributes.set(a);
        m_columns.emplace_back(entity.attribute(a).type, RowColumn::UnsharedTexts::AsBytes);
    }
}

quint32 FetchedValues::appendRow(sqlite3_stmt* statement, int first, const std::vector<StoreStrings*>& strings)
{
    for (size_t k = 0; k < m_columns.size(); ++k)
        m_columns[k].read(qsizetype(m_rows), statement, first + int(k), strings[k]);
    return m_rows++;
}

void FetchedValues::squeeze()
{
    for (RowColumn& column : m_columns)
        column.squeeze();
}
