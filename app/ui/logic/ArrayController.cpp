#include "app/ui/logic/ArrayController.h"

#include <algorithm>

ArrayController::ArrayController(QObject* parent) : QObject(parent) {}

ManagedObjectList ArrayController::content() const
{
    ManagedObjectList objects;
    for (qsizetype i = 0; i < contentCount(); ++i) {
        if (ManagedObjectPtr object = contentObject(i))
            objects.append(std::move(object));
    }
    return objects;
}

bool ArrayController::anyContentRow(const RowPredicate& predicate) const
{
    for (qsizetype i = 0; i < contentCount(); ++i) {
        const ManagedObject* object = madeObject(i);
        if ((object ? !object->isDeleted() : m_rows != nullptr) && predicate(contentRow(i)))
            return true;
    }
    return false;
}

void ArrayController::setContent(const ManagedObjectList& content)
{
    m_keepAfterReload = m_rows ? QSet<quintptr>() : selectedIdentities();
    m_rows.reset();
    m_rowObjects.clear();
    m_rowHasObject.clear();
    m_adoptedRows.clear();
    m_madeRows.clear();
    m_objects.assign(content.begin(), content.end());
    rearrangeObjects();
    emit contentChanged();
}

void ArrayController::setContent(const FetchedRowsPtr& rows, const ManagedObjectList& pending)
{
    // Rows of the same store keep their selection, and the objects made of them that hold changes
    // not saved yet or are selected; the new rows hold the saved values of the others, whose objects
    // are made again when asked for (the same ones while anybody holds them). Another store's keys
    // name other cards.
    const bool sameStore = rows && m_rows && rows->context() && rows->context() == m_rows->context();
    m_keepAfterReload = sameStore ? selectedIdentities() : QSet<quintptr>();
    ManagedObjectList made;
    if (sameStore) {
        auto keep = [this](const ManagedObjectPtr& object) {
            return object && object->primaryKey() > 0
                && (object->hasChanges() || m_keepAfterReload->contains(quintptr(object->primaryKey()))
                    || m_keepAfterReload->contains(quintptr(object.get())));
        };
        for (const ManagedObjectPtr& object : std::as_const(m_rowObjects)) {
            if (keep(object))
                made.append(object);
        }
        for (const ManagedObjectPtr& object : m_objects) {
            if (keep(object))
                made.append(object);
        }
    }
    m_rows = rows;
    m_rowObjects.clear();
    m_rowHasObject.assign(size_t(rowCount()), false);
    m_adoptedRows.clear();
    m_madeRows.clear();
    m_objects.clear();
    adopt(made);
    adopt(pending);
    for (const ManagedObjectPtr& object : pending) {
        if (rows && object && object->primaryKey() <= 0 && !object->isDeleted() && object->context() == rows->context()
            && object->entityName() == rows->entityName())
            m_objects.push_back(object);
    }
    rearrangeObjects();
    emit contentChanged();
}

void ArrayController::adoptObjects(const ManagedObjectList& objects)
{
    if (adopt(objects))
        emit contentChanged();
}

bool ArrayController::adopt(const ManagedObjectList& objects)
{
    if (!m_rows)
        return false;
    bool adopted = false;
    for (const ManagedObjectPtr& object : objects) {
        if (!object || object->primaryKey() <= 0 || object->context() != m_rows->context() || object->entityName() != m_rows->entityName())
            continue;
        const qsizetype row = m_rows->rowWithPrimaryKey(object->primaryKey());
        if (row >= 0) {
            setRowObject(row, object);
            m_adoptedRows.insert(row);
            m_sortedContentValid = false;
            adopted = true;
        }
    }
    return adopted;
}

void ArrayController::readAttributes(const QStringList& attributes) const
{
    if (m_rows)
        m_rows->readAttributes(attributes);
}

void ArrayController::setFilterPredicate(const RowPredicate& predicate)
{
    m_filter = predicate;
    // The content's order stands: only the filter changed.
    if (arrange(selectedIdentities()))
        emit selectionChanged();
}

void ArrayController::setSortDescriptors(const QList<SortDescriptor>& descriptors)
{
    m_sort = descriptors;
    rearrangeObjects();
}

void ArrayController::rearrangeObjects()
{
    if (arrange())
        emit selectionChanged();
}

const ManagedObject* ArrayController::madeObject(qsizetype index) const
{
    const qsizetype rows = rowCount();
    if (index >= rows)
        return m_objects[size_t(index - rows)].get();
    if (!m_rowHasObject[size_t(index)])
        return nullptr;
    const auto it = m_rowObjects.constFind(index);
    return it == m_rowObjects.cend() ? nullptr : it->get();
}

void ArrayController::setRowObject(qsizetype row, const ManagedObjectPtr& object) const
{
    m_rowObjects.insert(row, object);
    m_rowHasObject[size_t(row)] = true;
}

ListRow ArrayController::contentRow(qsizetype index) const
{
    return ListRow(m_rows.get(), index, madeObject(index));
}

ManagedObjectPtr ArrayController::contentObject(qsizetype index) const
{
    const qsizetype rows = rowCount();
    if (index >= rows)
        return m_objects[size_t(index - rows)];
    if (m_rowHasObject[size_t(index)])
        return m_rowObjects.value(index);
    ManagedObjectPtr object = m_rows->object(index);
    if (object) {
        setRowObject(index, object);
        m_madeRows.push_back(index);
        // Let go once the caller is done: a row read just before may still point at an object.
        if (m_madeRows.size() > kHeldMadeObjects && !m_letGoPending) {
            m_letGoPending = true;
            QMetaObject::invokeMethod(const_cast<ArrayController*>(this), &ArrayController::letGoMadeObjects, Qt::QueuedConnection);
        }
    }
    return object;
}

void ArrayController::letGoMadeObjects()
{
    m_letGoPending = false;
    if (m_madeRows.size() <= kHeldMadeObjects)
        return;
    QSet<qsizetype> selected;
    for (int row : std::as_const(m_selection))
        selected.insert(qsizetype(m_arranged[size_t(row)]));
    // The oldest go first, down to half the limit; changed and selected ones stay.
    const std::size_t drop = m_madeRows.size() - kHeldMadeObjects / 2;
    std::vector<qsizetype> kept;
    for (std::size_t k = 0; k < m_madeRows.size(); ++k) {
        const qsizetype row = m_madeRows[k];
        if (m_adoptedRows.contains(row) || !m_rowHasObject[size_t(row)])
            continue;
        const ManagedObjectPtr& object = m_rowObjects[row];
        if (k >= drop || selected.contains(row) || object->hasChanges()) {
            kept.push_back(row);
            continue;
        }
        m_rowObjects.remove(row);
        m_rowHasObject[size_t(row)] = false;
    }
    m_madeRows = std::move(kept);
    // A row let go reads its fetched values again, which may be older than its object's.
    m_sortedContentValid = false;
}

ListRow ArrayController::arrangedRow(int row) const
{
    return contentRow(m_arranged[size_t(row)]);
}

ManagedObjectPtr ArrayController::arrangedObject(int row) const
{
    return row >= 0 && row < arrangedCount() ? contentObject(m_arranged[size_t(row)]) : nullptr;
}

ManagedObjectList ArrayController::arrangedObjects() const
{
    ManagedObjectList objects;
    objects.reserve(arrangedCount());
    for (qsizetype index : m_arranged) {
        if (ManagedObjectPtr object = contentObject(index))
            objects.append(std::move(object));
    }
    return objects;
}

quintptr ArrayController::identity(qsizetype index) const
{
    return index < rowCount() ? quintptr(m_rows->primaryKey(index)) : quintptr(madeObject(index));
}

QSet<quintptr> ArrayController::selectedIdentities() const
{
    QSet<quintptr> identities;
    for (int row : m_selection)
        identities.insert(identity(m_arranged[size_t(row)]));
    return identities;
}

namespace {

// One sort key's values for every row, in the cheapest form that orders them as compareValues
// does: numbers and dates as doubles, texts as strings, anything else as it is.
struct SortColumn {
    enum class Kind { Number, Text, Mixed } kind = Kind::Number;
    std::vector<char> null;
    std::vector<double> numbers;
    std::vector<QString> texts;
    std::vector<QVariant> values;

    int compare(size_t a, size_t b) const
    {
        if (null[a] || null[b])
            return int(null[b]) - int(null[a]);
        switch (kind) {
        case Kind::Number:
            return numbers[a] < numbers[b] ? -1 : (numbers[b] < numbers[a] ? 1 : 0);
        case Kind::Text:
            return texts[a].compare(texts[b]);
        case Kind::Mixed:
            break;
        }
        return compareValues(values[a], values[b]);
    }
};

enum class ValueKind { Null, Number, Date, Text, Other };

ValueKind kindOf(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return ValueKind::Null;
    if (isNumberValue(v))
        return ValueKind::Number;
    if (v.typeId() == QMetaType::QDateTime)
        return ValueKind::Date;
    return v.typeId() == QMetaType::QString ? ValueKind::Text : ValueKind::Other;
}

SortColumn sortColumn(std::vector<QVariant> values)
{
    SortColumn column;
    column.null.resize(values.size());
    // The one kind of every value that is not null; Other when they differ.
    ValueKind kind = ValueKind::Null;
    for (size_t i = 0; i < values.size(); ++i) {
        const ValueKind k = kindOf(values[i]);
        column.null[i] = k == ValueKind::Null;
        if (k != ValueKind::Null)
            kind = kind == ValueKind::Null || kind == k ? k : ValueKind::Other;
    }
    switch (kind) {
    case ValueKind::Null:
    case ValueKind::Number:
    case ValueKind::Date:
        column.kind = SortColumn::Kind::Number;
        column.numbers.resize(values.size());
        for (size_t i = 0; i < values.size(); ++i) {
            if (!column.null[i])
                column.numbers[i] = kind == ValueKind::Date ? double(values[i].toDateTime().toMSecsSinceEpoch()) : values[i].toDouble();
        }
        break;
    case ValueKind::Text:
        column.kind = SortColumn::Kind::Text;
        column.texts.resize(values.size());
        for (size_t i = 0; i < values.size(); ++i)
            column.texts[i] = values[i].toString();
        break;
    case ValueKind::Other:
        column.kind = SortColumn::Kind::Mixed;
        column.values = std::move(values);
        break;
    }
    return column;
}

} // namespace

std::vector<ArrayController::ContentIndex> ArrayController::sorted(std::vector<ContentIndex> indices) const
{
    if (m_sort.isEmpty())
        return indices;
    // Each row's sort values are read once, so that the comparisons of a long list neither look
    // values up nor convert them again.
    std::vector<SortColumn> columns;
    for (const SortDescriptor& sort : m_sort) {
        const int column = m_rows ? m_rows->columnOf(sort.key) : -1;
        std::vector<QVariant> values(indices.size());
        for (size_t k = 0; k < indices.size(); ++k) {
            const ManagedObject* object = madeObject(indices[k]);
            if (object)
                values[k] = object->value(sort.key);
            else if (column >= 0)
                values[k] = m_rows->value(indices[k], column);
        }
        columns.push_back(sortColumn(std::move(values)));
    }
    std::vector<ContentIndex> order(indices.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = ContentIndex(k);
    std::stable_sort(order.begin(), order.end(), [&](ContentIndex a, ContentIndex b) {
        for (size_t k = 0; k < columns.size(); ++k) {
            const int result = columns[k].compare(size_t(a), size_t(b));
            if (result != 0)
                return m_sort[qsizetype(k)].ascending ? result < 0 : result > 0;
        }
        return false;
    });
    for (ContentIndex& k : order)
        k = indices[k];
    return order;
}

bool ArrayController::arrangeable(ContentIndex index) const
{
    const ManagedObject* object = madeObject(index);
    // A deleted object leaves the list; a list of objects has no rows without one.
    if (object ? object->isDeleted() : !m_rows)
        return false;
    return !m_filter || m_filter(ListRow(m_rows.get(), index, object));
}

bool ArrayController::arrange()
{
    const QSet<quintptr> keep = m_keepAfterReload ? *m_keepAfterReload : selectedIdentities();
    m_keepAfterReload.reset();
    m_sortedContentValid = false;
    return arrange(keep);
}

bool ArrayController::arrange(const QSet<quintptr>& keep)
{
    std::vector<ContentIndex> arranged;
    if (m_sortedContentValid) {
        for (ContentIndex i : m_sortedContent) {
            if (arrangeable(i))
                arranged.push_back(i);
        }
    } else {
        // Filtered first: a filter that leaves few rows (the trash of a large store) sorts only
        // those; otherwise the whole content is sorted once for the filters to come.
        const auto count = ContentIndex(contentCount());
        for (ContentIndex i = 0; i < count; ++i) {
            if (arrangeable(i))
                arranged.push_back(i);
        }
        if (m_filter && arranged.size() * kSortWholeContentShare < count) {
            arranged = sorted(std::move(arranged));
            m_sortedContent = std::vector<ContentIndex>();
        } else {
            std::vector<bool> passed(count, false);
            for (ContentIndex i : arranged)
                passed[i] = true;
            std::vector<ContentIndex> all(count);
            for (ContentIndex i = 0; i < count; ++i)
                all[i] = i;
            m_sortedContent = sorted(std::move(all));
            m_sortedContentValid = true;
            arranged.clear();
            for (ContentIndex i : m_sortedContent) {
                if (passed[i])
                    arranged.push_back(i);
            }
        }
    }
    // Held until the next arrangement: no room kept for rows the filter left out.
    arranged.shrink_to_fit();
    m_arranged = std::move(arranged);
    QList<int> selection;
    if (!keep.isEmpty()) {
        for (size_t row = 0; row < m_arranged.size(); ++row) {
            if (keep.contains(identity(m_arranged[row])))
                selection.append(int(row));
        }
    }
    const bool changed = selection != m_selection;
    m_selection = selection;
    emit arrangedObjectsChanged();
    return changed;
}

bool ArrayController::setSelectionIndexes(const QList<int>& indexes)
{
    QList<int> selection;
    for (int row : indexes) {
        if (row >= 0 && row < arrangedCount())
            selection.append(row);
    }
    std::sort(selection.begin(), selection.end());
    selection.erase(std::unique(selection.begin(), selection.end()), selection.end());
    if (selection == m_selection)
        return false;
    m_selection = selection;
    emit selectionChanged();
    return true;
}

ManagedObjectList ArrayController::selectedObjects() const
{
    ManagedObjectList objects;
    for (int row : m_selection) {
        if (ManagedObjectPtr object = arrangedObject(row))
            objects.append(std::move(object));
    }
    return objects;
}
