// The one source of a list's content: the objects, a filter predicate, sort descriptors and the
// selection, kept in memory. Tables show `arrangedObjects` through a model and follow the selection
// through a SelectionBridge; they never filter or sort on their own.
//
// Selection indexes are rows of the arranged objects, kept in ascending order. Rearranging keeps
// the selected objects that are still arranged (by identity), so a selection follows its objects
// through a sort or a filter. Main thread only.
#pragma once

#include "platform/store/FetchRequest.h"
#include "platform/store/ManagedObject.h"

#include <QList>
#include <QObject>

class ArrayController : public QObject {
    Q_OBJECT
public:
    explicit ArrayController(QObject* parent = nullptr);

    const ManagedObjectList& content() const { return m_content; }
    // Replaces the content and rearranges.
    void setContent(const ManagedObjectList& content);

    const Predicate& filterPredicate() const { return m_filter; }
    // Filters the content with `predicate` (empty: every object) and rearranges.
    virtual void setFilterPredicate(const Predicate& predicate);

    const QList<SortDescriptor>& sortDescriptors() const { return m_sort; }
    void setSortDescriptors(const QList<SortDescriptor>& descriptors);

    // Applies the filter and the sort to the content again.
    virtual void rearrangeObjects();
    const ManagedObjectList& arrangedObjects() const { return m_arranged; }

    QList<int> selectionIndexes() const { return m_selection; }
    // The first selected row; -1 for none.
    int selectionIndex() const { return m_selection.isEmpty() ? -1 : m_selection.first(); }
    // Rows outside the arranged objects are dropped; answers whether the selection changed.
    bool setSelectionIndexes(const QList<int>& indexes);
    bool setSelectionIndex(int index) { return setSelectionIndexes(index < 0 ? QList<int>() : QList<int>{index}); }
    // The selected objects in ascending row order.
    ManagedObjectList selectedObjects() const;

signals:
    // The arranged objects were rebuilt (content, filter or sort).
    void arrangedObjectsChanged();
    void selectionChanged();

protected:
    // Rearranges keeping the selected objects; the selection signal is the caller's to send.
    bool arrange();

private:
    ManagedObjectList sorted(const ManagedObjectList& objects) const;

private:
    ManagedObjectList m_content;
    Predicate m_filter;
    QList<SortDescriptor> m_sort;
    ManagedObjectList m_arranged;
    QList<int> m_selection;
};
