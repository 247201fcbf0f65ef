// The one source of a list's content: the objects, a filter predicate, sort descriptors and the
// selection, kept in memory. Tables show the arranged rows through a model and follow the
// selection through a SelectionBridge; they never filter or sort on their own.
//
// The content is a list of objects, or the rows of a light fetch (FetchedRows): then the filter
// and the sort read the rows' values and a row becomes an object only when asked for one
// (arrangedObject, selectedObjects), so a list of many rows makes objects of the few it needs.
// A row that has its object reads its values from it.
//
// Selection indexes are rows of the arranged content, kept in ascending order. Rearranging keeps
// the selected rows that are still arranged (by identity: the object, or the row's primary key),
// so a selection follows its rows through a sort, a filter or a reload. Main thread only.
#pragma once

#include "app/ui/logic/ListRow.h"
#include "platform/store/FetchRequest.h"
#include "platform/store/FetchedRows.h"
#include "platform/store/ManagedObject.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>

#include <optional>
#include <vector>

class ArrayController : public QObject {
    Q_OBJECT
public:
    explicit ArrayController(QObject* parent = nullptr);

    // Every content object; rows of a light fetch are made objects here (costly on many rows).
    ManagedObjectList content() const;
    // Whether a content row other than a deleted object passes `predicate`; no object is made.
    bool anyContentRow(const RowPredicate& predicate) const;
    // Replaces the content and rearranges.
    void setContent(const ManagedObjectList& content);
    // The content becomes `rows` (null: none) and the objects of `pending` that are not saved
    // yet; a saved one among them stands for its row (its changes are not in the rows). Of the
    // objects made of the former rows, those with unsaved changes and the selected ones stay with
    // theirs; the others are let go.
    void setContent(const FetchedRowsPtr& rows, const ManagedObjectList& pending = {});
    // Rows of these objects read their values from them from now on (objects that changed);
    // objects of no content row are left out. Rearranging shows the change.
    void adoptObjects(const ManagedObjectList& objects);
    // Rows of a light fetch read these attributes of every row now, in one pass, rather than
    // one by one when a filter or a sort first asks for them.
    void readAttributes(const QStringList& attributes) const;

    const RowPredicate& filterPredicate() const { return m_filter; }
    // Filters the content with `predicate` (empty: every row) and rearranges.
    virtual void setFilterPredicate(const RowPredicate& predicate);

    const QList<SortDescriptor>& sortDescriptors() const { return m_sort; }
    void setSortDescriptors(const QList<SortDescriptor>& descriptors);

    // Applies the filter and the sort to the content again.
    virtual void rearrangeObjects();
    int arrangedCount() const { return int(m_arranged.size()); }
    // The arranged row `row` as the filter reads it; its object is not made.
    ListRow arrangedRow(int row) const;
    // The object of the arranged row `row`, made when it has none yet; null when it cannot be.
    ManagedObjectPtr arrangedObject(int row) const;
    // Every arranged object, made as needed: costly on a long list; prefer the row operations.
    ManagedObjectList arrangedObjects() const;

    QList<int> selectionIndexes() const { return m_selection; }
    // Objects made of rows only to be read are let go, the oldest first, past this many; changed,
    // adopted and selected ones stay.
    static constexpr std::size_t kHeldMadeObjects = 256;

    // The first selected row; -1 for none.
    int selectionIndex() const { return m_selection.isEmpty() ? -1 : m_selection.first(); }
    // Rows outside the arranged content are dropped; answers whether the selection changed.
    bool setSelectionIndexes(const QList<int>& indexes);
    bool setSelectionIndex(int index) { return setSelectionIndexes(index < 0 ? QList<int>() : QList<int>{index}); }
    // The selected objects in ascending row order.
    ManagedObjectList selectedObjects() const;

signals:
    // The arranged rows were rebuilt (content, filter or sort).
    void arrangedObjectsChanged();
    // The content was replaced, or rows took objects whose values may differ from theirs: what the
    // whole content answers may have changed (a new filter or sort changes nothing of it).
    void contentChanged();
    void selectionChanged();

protected:
    // Sorts and filters again keeping the selected rows; the selection signal is the caller's to send.
    bool arrange();

private:
    // A content row's place: rows of a light fetch first, then m_objects.
    using ContentIndex = quint32;

    qsizetype rowCount() const { return m_rows ? m_rows->count() : 0; }
    // adoptObjects without the signal; answers whether any row took an object.
    bool adopt(const ManagedObjectList& objects);
    qsizetype contentCount() const { return rowCount() + qsizetype(m_objects.size()); }
    // The content row's object when it has one; rows of a light fetch have none until made.
    const ManagedObject* madeObject(qsizetype index) const;
    void setRowObject(qsizetype row, const ManagedObjectPtr& object) const;
    ListRow contentRow(qsizetype index) const;
    ManagedObjectPtr contentObject(qsizetype index) const;
    // Lets go of the oldest objects made of rows to be read, past kHeldMadeObjects.
    void letGoMadeObjects();
    // What stays the same of a content row through a reload: its object, or its primary key.
    quintptr identity(qsizetype index) const;
    QSet<quintptr> selectedIdentities() const;
    // Filters the sorted content; sorts it first when its order is not known.
    bool arrange(const QSet<quintptr>& keep);
    // Whether the content row is arranged: not a deleted object, and passing the filter.
    bool arrangeable(ContentIndex index) const;
    // The content rows `indices` in the order of the sort descriptors (stable).
    std::vector<ContentIndex> sorted(std::vector<ContentIndex> indices) const;
    // The whole content is sorted and kept when at least one row in this many is arranged.
    static constexpr std::size_t kSortWholeContentShare = 8;

    FetchedRowsPtr m_rows; // the content when it is rows
    // Objects made of the rows (or adopted by them), by row; the few a list of many rows needs.
    mutable QHash<qsizetype, ManagedObjectPtr> m_rowObjects;
    mutable std::vector<bool> m_rowHasObject;
    // Rows that took an object changed since the fetch: they read it until the next content.
    QSet<qsizetype> m_adoptedRows;
    // Rows whose objects were made to be read, oldest first.
    mutable std::vector<qsizetype> m_madeRows;
    mutable bool m_letGoPending = false;
    // After the rows: the objects not saved yet; without rows, the whole content.
    std::vector<ManagedObjectPtr> m_objects;
    RowPredicate m_filter;
    QList<SortDescriptor> m_sort;
    std::vector<ContentIndex> m_arranged; // content rows
    // Every content row in the order of the sort descriptors, kept while neither the content,
    // its values nor the sort change: a new filter walks it without sorting again. Not made
    // while the filter leaves few rows.
    std::vector<ContentIndex> m_sortedContent;
    bool m_sortedContentValid = false;
    QList<int> m_selection;
    // The selection a new content keeps, noted before the content changed.
    std::optional<QSet<quintptr>> m_keepAfterReload;
};
