// A context over one store file: the object store of this system, in the SQLite layout of the
// card databases (tables Z<ENTITY> with Z_PK, Z_ENT, Z_OPT and one Z<ATTRIBUTE> column per
// attribute; keys handed out from Z_PRIMARYKEY.Z_MAX; a property list in Z_METADATA).
//
// - Opening reads which columns each table has; a missing column reads as null and is never
//   written, a column the model does not know is left as it is. An empty or new file gets the
//   model's full layout.
// - One context per thread; it owns its own connection. Nothing here is locked.
// - Fetches always read the store, so rows another connection saved are seen by the next fetch;
//   each row maps to one object (identity map). Unchanged values of known objects are brought
//   up to date by a fetch; changed ones are kept.
// - Objects of saved rows are held weakly: one that nobody else holds, unchanged, is let go, so a
//   long run keeps only what the application itself holds.
// - The values a fetch reads are kept by the fetch in compact columns (FetchedValues) and its
//   objects answer from them; an object a predicate's fetch makes holds its own values instead, so
//   that the rows the predicate does not keep cost nothing. Once fewer than half of a fetch's
//   objects are held (a list let go but for a few), the next fetch or save has the remaining ones
//   take their own values and lets the columns go.
// - `save` writes every insert, update and delete in one transaction; on failure nothing is
//   written and the objects keep their changes.
// - Changes are announced with kObjectsDidChangeNotification (object: the context; userInfo:
//   ManagedObjectList values under "inserted", "updated" and "deleted") when
//   `processPendingChanges` runs, which `save` does first.
#pragma once

#include "platform/store/FetchRequest.h"
#include "platform/store/FetchedRows.h"
#include "platform/store/ManagedObject.h"
#include "platform/store/StoreModel.h"

#include <QString>

#include <memory>

class ManagedObjectContext {
public:
    static constexpr const char* kObjectsDidChangeNotification = "NSManagedObjectContextObjectsDidChangeNotification";
    static constexpr const char* kInsertedObjectsKey = "inserted";
    static constexpr const char* kUpdatedObjectsKey = "updated";
    static constexpr const char* kDeletedObjectsKey = "deleted";
    // What `save` answers when the store could not be written.
    static constexpr int kSaveFailed = -1012;

    // Opens the store at `storePath` with `model`, which must outlive the context; a missing file
    // is created when `createIfMissing` is set. Null when the file is missing (and not to be
    // created), is no SQLite database, is damaged or cannot be created; `errorText` says why.
    static std::unique_ptr<ManagedObjectContext> open(const ManagedObjectModel& model, const QString& storePath,
                                                      QString* errorText = nullptr, bool createIfMissing = true);
    ~ManagedObjectContext();
    ManagedObjectContext(const ManagedObjectContext&) = delete;
    ManagedObjectContext& operator=(const ManagedObjectContext&) = delete;

    const ManagedObjectModel& model() const;
    const QString& storePath() const;
    // The store's NSStoreUUID from Z_METADATA ("" when the store has none).
    const QString& storeUuid() const;
    // Whether the store has a column for the attribute (false for an unknown entity or attribute).
    bool hasColumn(const QString& entityName, const QString& attributeName) const;

    // A new object of the entity, registered as inserted; null for an unknown entity.
    ManagedObjectPtr insertNewObject(const QString& entityName);
    // The objects the request selects, sorted. `sqliteError` receives 0 or SQLite's result code;
    // on failure the list is empty.
    ManagedObjectList executeFetchRequest(const FetchRequest& request, int* sqliteError = nullptr);
    // Every stored row of the request's entity with the attributes of `propertiesToFetch` as
    // plain values, no objects (the predicate and the sort descriptors are not applied): a list
    // over many rows filters and sorts these and makes objects of the few it needs. Null for an
    // unknown entity or when the store cannot be read (`sqliteError`).
    // The rows last read are answered again while someone holds them, they hold the attributes
    // asked for and the store has not been written since, by this context or any other connection.
    FetchedRowsPtr fetchRows(const FetchRequest& request, int* sqliteError = nullptr);
    // The object of a row: the registered one, or read from the store; null when there is no such row.
    ManagedObjectPtr objectWithPrimaryKey(const QString& entityName, qint64 primaryKey);
    // Marks an object for deletion at the next save (an unsaved insert is simply dropped).
    void deleteObject(const ManagedObjectPtr& object);
    // Reloads the object's row: unchanged values always; changed values too unless `mergeChanges`.
    // An unsaved object, or one whose row is gone, is left as it is.
    void refreshObject(const ManagedObjectPtr& object, bool mergeChanges);
    // Takes back the object's unsaved changes: an insert is dropped, a deletion undone, changed
    // values read again from the store.
    void discardChanges(const ManagedObjectPtr& object);

    // How many objects of the entity are alive in the context: those of saved rows that someone
    // still holds, and the inserted ones not saved yet. What a long run keeps shows here.
    qsizetype liveObjectCount(const QString& entityName) const;

    bool hasChanges() const;
    ManagedObjectList insertedObjects() const;
    ManagedObjectList updatedObjects() const;
    ManagedObjectList deletedObjects() const;

    // Posts kObjectsDidChangeNotification for the changes made since the last post, if any.
    void processPendingChanges();
    // Writes every change in one transaction: 0, or kSaveFailed (nothing written).
    int save(QString* errorText = nullptr);

private:
    struct Private;
    explicit ManagedObjectContext(std::unique_ptr<Private> d);
    friend class ManagedObject;
    friend class FetchedRows;
    // Reads more attributes for every one of `rows` in one pass; unknown names are left out.
    void readRowsColumns(const FetchedRows& rows, const QStringList& attributes);
    void objectChanged(ManagedObject* object);
    // Reads an attribute a lighter fetch left unread of `object`: with the rest of its row, or for
    // every object of the entity that lacks it when the one before asked for it too.
    void readUnread(const ManagedObject& object, int index);
    // Reads one attribute that lighter fetches left unread, for every object of the entity that lacks it.
    void readAttribute(const EntityDescription& entity, int index);
    // Reads every attribute a lighter fetch left unread of one object from its row.
    void readObject(const ManagedObject& object);
    std::unique_ptr<Private> d;
};
