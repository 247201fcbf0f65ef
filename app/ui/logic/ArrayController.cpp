#include "app/ui/logic/ArrayController.h"

#include <algorithm>
#include <set>

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

bool ArrayController::arrange()
{
    const ManagedObjectList selected = selectedObjects();
    ManagedObjectList arranged;
    for (const ManagedObjectPtr& object : std::as_const(m_content)) {
        if (object && (!m_filter || m_filter(*object)))
            arranged.append(object);
    }
    if (!m_sort.isEmpty()) {
        std::stable_sort(arranged.begin(), arranged.end(), [this](const ManagedObjectPtr& a, const ManagedObjectPtr& b) {
            for (const SortDescriptor& d : std::as_const(m_sort)) {
                const int order = compareValues(a->value(d.key), b->value(d.key));
                if (order != 0)
                    return d.ascending ? order < 0 : order > 0;
            }
            return false;
        });
    }
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
