#include "app/ui/logic/ArrayController.h"

#include <algorithm>
#include <set>
#include <vector>

ArrayController::ArrayController(QObject* parent) : QObject(parent) {}

void ArrayController::setContent(const ManagedObjectList& content)
{
    m_content = content;
    rearrangeObjects();
}

void ArrayController::setFilterPredicate(const Predicate& predicate)
{
    m_filter = predicate;
    if (arrange())
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

ManagedObjectList ArrayController::sorted(const ManagedObjectList& objects) const
{
    // Each object's sort values are read once, dates as milliseconds, so that the comparisons of
    // a large list neither look values up nor convert dates again.
    const qsizetype keys = m_sort.size();
    std::vector<QVariant> values(size_t(objects.size() * keys));
    for (qsizetype i = 0; i < objects.size(); ++i) {
        for (qsizetype k = 0; k < keys; ++k) {
            QVariant value = objects[i]->value(m_sort[k].key);
            if (value.typeId() == QMetaType::QDateTime)
                value = QVariant(value.toDateTime().toMSecsSinceEpoch());
            values[size_t(i * keys + k)] = std::move(value);
        }
    }
    std::vector<qsizetype> order(size_t(objects.size()));
    for (qsizetype i = 0; i < objects.size(); ++i)
        order[size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        for (qsizetype k = 0; k < keys; ++k) {
            const int result = compareValues(values[size_t(a * keys + k)], values[size_t(b * keys + k)]);
            if (result != 0)
                return m_sort[k].ascending ? result < 0 : result > 0;
        }
        return false;
    });
    ManagedObjectList result;
    result.reserve(objects.size());
    for (qsizetype i : order)
        result.append(objects[i]);
    return result;
}

bool ArrayController::arrange()
{
    const ManagedObjectList selected = selectedObjects();
    ManagedObjectList arranged;
    for (const ManagedObjectPtr& object : std::as_const(m_content)) {
        if (object && (!m_filter || m_filter(*object)))
            arranged.append(object);
    }
    if (!m_sort.isEmpty())
        arranged = sorted(arranged);
    m_arranged = arranged;
    const std::set<const ManagedObject*> keep = [&selected] {
        std::set<const ManagedObject*> set;
        for (const ManagedObjectPtr& object : selected)
            set.insert(object.get());
        return set;
    }();
    QList<int> selection;
    for (int row = 0; row < m_arranged.size(); ++row) {
        if (keep.count(m_arranged[row].get()))
            selection.append(row);
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
        if (row >= 0 && row < m_arranged.size())
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
    for (int row : m_selection)
        objects.append(m_arranged[row]);
    return objects;
}
