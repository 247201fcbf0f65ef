#include "platform/store/ManagedObjectContext.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PlistFile.h"
#include "platform/store/SqliteConnection.h"
#include "platform/store/StoreStrings.h"
#include "platform/store/StoreValues.h"

#include <QCryptographicHash>
#include <QSet>
#include <QUuid>

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>
#include <sqlite3.h>
#include <string>
#include <unordered_map>

namespace {

struct EntityState {
    const EntityDescription* entity = nullptr;
    bool tableExists = false;
    bool hasEnt = false;
    bool hasOpt = false;
    qint64 zEnt = 0;                 // from Z_PRIMARYKEY; 0 while the store has no row for the entity
    std::vector<char> hasColumn;     // by attribute index
    std::vector<int> readIndices;    // attributes whose columns exist, in select order
    AttributeBits readable;          // the same as bits
    std::vector<std::unique_ptr<StoreStrings>> strings; // by attribute index, made on first use
    SqliteStatement selectAll;
    SqliteStatement selectOne;
    SqliteStatement insert;
    SqliteStatement remove;
    std::unordered_map<std::string, SqliteStatement> updates; // keyed by the changed-column mask
    std::unordered_map<std::string, SqliteStatement> partialSelects; // keyed by the read-column mask
    // The values of the fetches whose objects still answer from them.
    std::vector<std::weak_ptr<const FetchedValues>> fetchedValues;
    // Objects of saved rows, held weakly: one nobody else holds is let go (changed and deleted
    // ones are held by the context's change lists until the next save).
    QHash<qint64, std::weak_ptr<ManagedObject>> registered;
    quint64 fetchCount = 0;
    qsizetype sweepAt = 1024; // registered's size at which handles of objects let go are removed
    // The unread attribute asked last, and of which object (compared, never followed).
    int lastUnread = -1;
    const ManagedObject* lastUnreadOf = nullptr;

    // A weak handle keeps the memory of an object made by make_shared, so handles of objects let go
    // are removed whenever the table has doubled since the last time, fetched or not.
    void registerObject(qint64 pk, const ManagedObjectPtr& object)
    {
        registered.insert(pk, object);
        if (registered.size() < sweepAt)
            return;
        registered.removeIf([](const QHash<qint64, std::weak_ptr<ManagedObject>>::iterator& it) { return it->expired(); });
        sweepAt = std::max<qsizetype>(1024, registered.size() * 2);
    }

    StoreStrings* stringsOf(int index)
    {
        if (strings.empty())
            strings.resize(size_t(entity->attributeCount()));
        std::unique_ptr<StoreStrings>& table = strings[size_t(index)];
        if (!table)
            table = std::make_unique<StoreStrings>();
        return table.get();
    }
    // The rows fetchRows read last while someone holds them, and the store's data version then;
    // a save forgets them.
    std::weak_ptr<const FetchedRows> lastRows;
    qint64 lastRowsDataVersion = -1;
};

QString errorText(sqlite3* db, int rc)
{
    if (db && rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        return QString::fromUtf8(sqlite3_errmsg(db));
    return QString::fromUtf8(sqlite3_errstr(rc));
}

QByteArray modelHash(const EntityDescription& entity)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(entity.name().toUtf8());
    for (const AttributeDescription& a : entity.attributes()) {
        hash.addData(a.name.toUtf8());
        hash.addData(a.sqlType());
    }
    return hash.result();
}

QByteArray metadataPlist(const ManagedObjectModel& model, const QString& uuid)
{
    PlistValue::Dictionary hashes;
    for (const EntityDescription& e : model.entities())
        hashes.insert(e.name(), modelHash(e));
    PlistValue::Dictionary meta;
    meta.insert(QStringLiteral("NSStoreType"), QStringLiteral("SQLite"));
    meta.insert(QStringLiteral("NSStoreUUID"), uuid);
    meta.insert(QStringLiteral("NSStoreModelVersionHashes"), hashes);
    meta.insert(QStringLiteral("NSStoreModelVersionHashesVersion"), 3);
    meta.insert(QStringLiteral("NSStoreModelVersionIdentifiers"), PlistValue::Array{QStringLiteral("")});
    meta.insert(QStringLiteral("NSPersistenceFrameworkVersion"), 1);
    meta.insert(QStringLiteral("_NSAutoVacuumLevel"), QStringLiteral("2"));
    return serializePlist(PlistValue(meta), PlistFormat::Binary);
}

} // namespace

struct ManagedObjectContext::Private {
    const ManagedObjectModel* model = nullptr;
    QString path;
    QString uuid;
    SqliteConnection db; // declared before the statements so that it closes after them
    std::vector<EntityState> entities;
    std::vector<ManagedObjectPtr> inserted;
    std::vector<ManagedObjectPtr> updated;
    std::vector<ManagedObjectPtr> deleted;
    ManagedObjectList notifyInserted;
    ManagedObjectList notifyUpdated;
    ManagedObjectList notifyDeleted;
    // Rows read by fetchRows hold it weakly: they ask nothing of a context that is gone.
    std::shared_ptr<char> alive = std::make_shared<char>();
    SqliteStatement dataVersion;

    // What the texts of attribute `a` in rows are shared through: the strings of the objects' values.
    StoreStrings* rowStrings(EntityState& es, int a)
    {
        return es.entity->attribute(a).type == AttributeType::String ? es.stringsOf(a) : nullptr;
    }
    // SQLite's count of the store's changes by other connections; -1 when it cannot be read.
    qint64 readDataVersion();
    // The entity a fetch names; null, with SQLITE_ERROR, for one the model does not have.
    EntityState* fetchedEntity(const QString& entityName, int* sqliteError)
    {
        const int i = stateIndex(entityName);
        if (sqliteError)
            *sqliteError = i < 0 ? SQLITE_ERROR : SQLITE_OK;
        return i < 0 ? nullptr : &entities[size_t(i)];
    }
    // The columns of rows one select fills: the attributes in select order, the rows' column of
    // each, and what its texts are shared through.
    struct RowsSelect {
        std::vector<int> indices;
        std::vector<size_t> columns;
        std::vector<StoreStrings*> strings;
    };
    // Adds to `rows` a column for each of `attributes` not read yet (an unknown name is left out,
    // one the store has no column for reads as null) and answers the select of those the store
    // has, in attribute order (the order partialSelect's statements are kept by).
    RowsSelect addRowColumns(EntityState& es, const FetchedRows& rows, const QStringList& attributes);

    int stateIndex(const QString& entityName) const { return model->indexOf(entityName); }
    int createSchema(QString* error);
    int readLayout(QString* error);
    void addMissingColumns(const EntityState& es, QSet<QByteArray>& columns);
    int prepareEntity(EntityState& es);
    // Reads every column of the row (selectAll's order).
    void loadRow(EntityState& es, ManagedObject& object, sqlite3_stmt* s, bool keepChanged);
    // Reads the attributes of `indices`, in select order after Z_PK and Z_OPT; changed values
    // are kept when `keepChanged`.
    void loadColumns(ManagedObject& object, sqlite3_stmt* s, EntityState& es, const std::vector<int>& indices, bool keepChanged);
    // The object of the row `s` is on, its values read into the object itself. `indices` null:
    // every column (selectAll); else the columns of a lighter select, `fetched` the same as bits.
    ManagedObjectPtr materialize(EntityState& es, sqlite3_stmt* s, ManagedObjectContext* owner, const std::vector<int>* indices = nullptr,
                                 const AttributeBits* fetched = nullptr);
    // The object of the row `s` is on, answering from `values`, the fetch's columns, to which the
    // row is added; `lighter` when they are not every column of the entity.
    ManagedObjectPtr materializeFetched(EntityState& es, sqlite3_stmt* s, ManagedObjectContext* owner,
                                        const std::shared_ptr<FetchedValues>& values, const std::vector<StoreStrings*>& strings,
                                        bool lighter);
    // The values of a fetch of which fewer than half the rows still have an object are let go:
    // the objects that remain take their own values.
    void releaseSparseValues();
    // The select of Z_PK, Z_OPT and the columns of `indices`; null when it cannot be prepared.
    sqlite3_stmt* partialSelect(EntityState& es, const std::vector<int>& indices);
    int writeChanges(QString* error, std::vector<ManagedObject*>& assigned, std::vector<EntityState*>& newEnts);
    int nextKeyBase(EntityState& es, qint64* base);
};

int ManagedObjectContext::Private::createSchema(QString* error)
{
    uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    QByteArray sql = "BEGIN IMMEDIATE;";
    for (const EntityDescription& e : model->entities()) {
        sql += "CREATE TABLE " + e.table() + " ( Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER";
        for (const AttributeDescription& a : e.attributes())
            sql += QByteArray(", ") + a.column + ' ' + a.sqlType();
        sql += " );";
        for (const AttributeDescription& a : e.attributes())
            if (a.type == AttributeType::ToOne)
                sql += "CREATE INDEX " + e.table() + '_' + a.column + "_INDEX ON " + e.table() + " (" + a.column + ");";
    }
    sql += "CREATE TABLE Z_PRIMARYKEY (Z_ENT INTEGER PRIMARY KEY, Z_NAME VARCHAR, Z_SUPER INTEGER, Z_MAX INTEGER);";
    sql += "CREATE TABLE Z_METADATA (Z_VERSION INTEGER PRIMARY KEY, Z_UUID VARCHAR(255), Z_PLIST BLOB);";
    int n = 0;
    for (const EntityDescription& e : model->entities())
        sql += "INSERT INTO Z_PRIMARYKEY(Z_ENT, Z_NAME, Z_SUPER, Z_MAX) VALUES(" + QByteArray::number(++n) + ", '" +
               e.name().toUtf8() + "', 0, 0);";
    int rc = db.exec(sql.constData(), error);
    if (rc == SQLITE_OK) {
        SqliteStatement meta(db.handle(), "INSERT INTO Z_METADATA (Z_VERSION, Z_UUID, Z_PLIST) VALUES (1, ?, ?)");
        const QByteArray id = uuid.toUtf8();
        const QByteArray plist = metadataPlist(*model, uuid);
        sqlite3_bind_text(meta.get(), 1, id.constData(), int(id.size()), SQLITE_TRANSIENT);
        sqlite3_bind_blob(meta.get(), 2, plist.constData(), int(plist.size()), SQLITE_TRANSIENT);
        rc = meta.isValid() ? sqlite3_step(meta.get()) : SQLITE_ERROR;
        if (rc == SQLITE_DONE)
            rc = db.exec("COMMIT;", error);
        else if (error)
            *error = errorText(db.handle(), rc);
    }
    if (rc != SQLITE_OK)
        db.exec("ROLLBACK;");
    return rc;
}

int ManagedObjectContext::Private::readLayout(QString* error)
{
    QSet<QByteArray> tables;
    {
        SqliteStatement list(db.handle(), "SELECT upper(name) FROM sqlite_master WHERE type = 'table'");
        if (!list.isValid()) {
            const int rc = sqlite3_errcode(db.handle());
            if (error)
                *error = errorText(db.handle(), rc);
            return rc ? rc : SQLITE_ERROR;
        }
        int rc;
        while ((rc = sqlite3_step(list.get())) == SQLITE_ROW)
            tables.insert(reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 0)));
        if (rc != SQLITE_DONE) {
            if (error)
                *error = errorText(db.handle(), rc);
            return rc;
        }
    }
    if (tables.isEmpty()) {
        const int rc = createSchema(error);
        if (rc != SQLITE_OK)
            return rc;
        return readLayout(error);
    }

    QHash<QString, qint64> entityNumbers;
    if (tables.contains("Z_PRIMARYKEY")) {
        SqliteStatement keys(db.handle(), "SELECT Z_NAME, Z_ENT FROM Z_PRIMARYKEY");
        while (keys.isValid() && sqlite3_step(keys.get()) == SQLITE_ROW)
            entityNumbers.insert(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(keys.get(), 0))),
                                 sqlite3_column_int64(keys.get(), 1));
    }
    if (tables.contains("Z_METADATA")) {
        SqliteStatement meta(db.handle(), "SELECT Z_UUID FROM Z_METADATA LIMIT 1");
        if (meta.isValid() && sqlite3_step(meta.get()) == SQLITE_ROW && sqlite3_column_text(meta.get(), 0))
            uuid = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(meta.get(), 0)));
    }

    entities.clear();
    entities.resize(size_t(model->entities().size()));
    for (int i = 0; i < model->entities().size(); ++i) {
        EntityState& es = entities[size_t(i)];
        es.entity = &model->entities()[i];
        es.hasColumn.assign(size_t(es.entity->attributeCount()), 0);
        es.zEnt = entityNumbers.value(es.entity->name(), 0);
        es.tableExists = tables.contains(es.entity->table());
        if (!es.tableExists)
            continue;
        QSet<QByteArray> columns;
        SqliteStatement info(db.handle(), "PRAGMA table_info(" + es.entity->table() + ")");
        int rc;
        while (info.isValid() && (rc = sqlite3_step(info.get())) == SQLITE_ROW)
            columns.insert(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1))).toUpper());
        if (!columns.contains("Z_PK")) {
            if (error)
                *error = QStringLiteral("table %1 has no Z_PK").arg(QString::fromUtf8(es.entity->table()));
            return SQLITE_CORRUPT;
        }
        addMissingColumns(es, columns);
        es.hasEnt = columns.contains("Z_ENT");
        es.hasOpt = columns.contains("Z_OPT");
        for (int a = 0; a < es.entity->attributeCount(); ++a)
            if (columns.contains(es.entity->attribute(a).column)) {
                es.hasColumn[size_t(a)] = 1;
                es.readIndices.push_back(a);
                es.readable.set(a);
            }
        rc = prepareEntity(es);
        if (rc != SQLITE_OK) {
            if (error)
                *error = errorText(db.handle(), rc);
            return rc;
        }
    }
    return SQLITE_OK;
}

// A store that cannot be altered (read-only, busy) is opened as it is: the attribute then reads as
// missing, as in any store without its column.
void ManagedObjectContext::Private::addMissingColumns(const EntityState& es, QSet<QByteArray>& columns)
{
    for (const ColumnAddition& addition : model->columnAdditions()) {
        const int a = addition.entity == es.entity->name() ? es.entity->indexOf(addition.attribute) : -1;
        if (a < 0 || columns.contains(es.entity->attribute(a).column))
            continue;
        const AttributeDescription& attribute = es.entity->attribute(a);
        const QByteArray sql = "BEGIN IMMEDIATE; ALTER TABLE " + es.entity->table() + " ADD COLUMN " + attribute.column + ' '
                               + attribute.sqlType() + "; " + addition.fill + "; COMMIT;";
        if (db.exec(sql.constData()) == SQLITE_OK)
            columns.insert(attribute.column);
        else
            db.exec("ROLLBACK;");
    }
}

int ManagedObjectContext::Private::prepareEntity(EntityState& es)
{
    const QByteArray& table = es.entity->table();
    QByteArray columns = es.hasOpt ? "Z_PK, Z_OPT" : "Z_PK, 0";
    for (int a : es.readIndices)
        columns += ", " + es.entity->attribute(a).selectExpression();
    int rc = es.selectAll.prepare(db.handle(), "SELECT " + columns + " FROM " + table);
    if (rc == SQLITE_OK)
        rc = es.selectOne.prepare(db.handle(), "SELECT " + columns + " FROM " + table + " WHERE Z_PK = ?");
    if (rc == SQLITE_OK)
        rc = es.remove.prepare(db.handle(), "DELETE FROM " + table + " WHERE Z_PK = ?");
    if (rc != SQLITE_OK)
        return rc;
    QByteArray names = "Z_PK", marks = "?";
    if (es.hasEnt) {
        names += ", Z_ENT";
        marks += ", ?";
    }
    if (es.hasOpt) {
        names += ", Z_OPT";
        marks += ", ?";
    }
    for (int a : es.readIndices) {
        names += ", " + es.entity->attribute(a).column;
        marks += ", ?";
    }
    return es.insert.prepare(db.handle(), "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")");
}

void ManagedObjectContext::Private::loadColumns(ManagedObject& object, sqlite3_stmt* s, EntityState& es,
                                                const std::vector<int>& indices, bool keepChanged)
{
    object.m_opt = sqlite3_column_int64(s, 1);
    // Each column's storage class is asked once (SQLite takes its lock for every question).
    std::array<unsigned char, AttributeBits::kCapacity> kinds;
    int count = 0;
    for (size_t k = 0; k < indices.size(); ++k) {
        kinds[k] = static_cast<unsigned char>(sqlite3_column_type(s, int(k) + 2));
        count += kinds[k] != SQLITE_NULL;
    }
    // A new object gets room for exactly the values the row has.
    object.reserveValues(count);
    for (size_t k = 0; k < indices.size(); ++k) {
        const int a = indices[k];
        if (!keepChanged || !object.m_dirty.test(a)) {
            const AttributeType type = es.entity->attribute(a).type;
            StoreStrings* strings = kinds[k] == SQLITE_TEXT && type == AttributeType::String ? es.stringsOf(a) : nullptr;
            object.storeValue(a, readStoreColumn(s, int(k) + 2, kinds[k], type, strings));
        }
        object.m_unread.reset(a);
    }
}

void ManagedObjectContext::Private::loadRow(EntityState& es, ManagedObject& object, sqlite3_stmt* s, bool keepChanged)
{
    loadColumns(object, s, es, es.readIndices, keepChanged);
    object.m_unread.clear();
}

ManagedObjectPtr ManagedObjectContext::Private::materialize(EntityState& es, sqlite3_stmt* s, ManagedObjectContext* owner,
                                                            const std::vector<int>* indices, const AttributeBits* fetched)
{
    const qint64 pk = sqlite3_column_int64(s, 0);
    ManagedObjectPtr object = es.registered.value(pk).lock();
    const bool known = object != nullptr;
    if (!known) {
        object = std::make_shared<ManagedObject>(*es.entity, owner);
        object->m_pk = pk;
        if (indices)
            object->m_unread = es.readable;
        es.registerObject(pk, object);
    }
    if (indices) {
        // A known object met by a lighter fetch keeps only what that fetch reads and what it
        // changed; the rest is read again on first use, so a list of many rows holds what it shows.
        if (known && !object->m_deleted)
            object->forgetValues(es.readable & ~*fetched & ~object->m_dirty);
        loadColumns(*object, s, es, *indices, known);
    } else
        loadRow(es, *object, s, known);
    return object;
}

ManagedObjectPtr ManagedObjectContext::Private::materializeFetched(EntityState& es, sqlite3_stmt* s, ManagedObjectContext* owner,
                                                                   const std::shared_ptr<FetchedValues>& values,
                                                                   const std::vector<StoreStrings*>& strings, bool lighter)
{
    const qint64 pk = sqlite3_column_int64(s, 0);
    const quint32 row = values->appendRow(s, 2, strings);
    const AttributeBits& fetched = values->attributes();
    ManagedObjectPtr object = es.registered.value(pk).lock();
    AttributeBits answered = fetched;
    if (!object) {
        object = std::make_shared<ManagedObject>(*es.entity, owner);
        object->m_pk = pk;
        if (lighter)
            object->m_unread = es.readable & ~fetched;
        es.registerObject(pk, object);
    } else {
        // A known object met by a lighter fetch keeps only what that fetch reads and what it
        // changed; the rest is read again on first use, so a list of many rows holds what it shows.
        if (lighter && !object->m_deleted)
            object->forgetValues(es.readable & ~fetched & ~object->m_dirty);
        answered = fetched & ~object->m_dirty;
        object->m_unread = object->m_unread & ~fetched;
    }
    object->m_opt = sqlite3_column_int64(s, 1);
    object->useRow(values, row, answered);
    return object;
}

void ManagedObjectContext::Private::releaseSparseValues()
{
    for (EntityState& es : entities)
        std::erase_if(es.fetchedValues, [&es](const std::weak_ptr<const FetchedValues>& handle) {
            const std::shared_ptr<const FetchedValues> values = handle.lock();
            if (!values)
                return true;
            // Each object answering from the values holds them once; so does `values` here.
            if (quint64(values.use_count() - 1) * 2 >= values->rowCount())
                return false;
            for (const std::weak_ptr<ManagedObject>& weak : std::as_const(es.registered))
                if (const ManagedObjectPtr object = weak.lock(); object && object->rowValues() == values.get())
                    object->keepRowValues();
            return true;
        });
}

sqlite3_stmt* ManagedObjectContext::Private::partialSelect(EntityState& es, const std::vector<int>& indices)
{
    std::string mask(size_t(es.entity->attributeCount()), '0');
    for (int a : indices)
        mask[size_t(a)] = '1';
    auto it = es.partialSelects.find(mask);
    if (it == es.partialSelects.end()) {
        QByteArray sql = es.hasOpt ? "SELECT Z_PK, Z_OPT" : "SELECT Z_PK, 0";
        for (int a : indices)
            sql += ", " + es.entity->attribute(a).selectExpression();
        SqliteStatement statement;
        if (statement.prepare(db.handle(), sql + " FROM " + es.entity->table()) != SQLITE_OK)
            return nullptr;
        it = es.partialSelects.emplace(mask, std::move(statement)).first;
    }
    return it->second.get();
}

ManagedObjectContext::ManagedObjectContext(std::unique_ptr<Private> p) : d(std::move(p)) {}

ManagedObjectContext::~ManagedObjectContext()
{
    for (EntityState& es : d->entities)
        for (const std::weak_ptr<ManagedObject>& weak : std::as_const(es.registered))
            if (ManagedObjectPtr o = weak.lock())
                o->m_context = nullptr;
    for (const ManagedObjectPtr& o : d->inserted)
        o->m_context = nullptr;
}

std::unique_ptr<ManagedObjectContext> ManagedObjectContext::open(const ManagedObjectModel& model,
                                                                 const QString& storePath, QString* errorText,
                                                                 bool createIfMissing)
{
    auto p = std::make_unique<Private>();
    p->model = &model;
    p->path = storePath;
    int rc = p->db.open(storePath, createIfMissing);
    if (rc != SQLITE_OK) {
        if (errorText)
            *errorText = QString::fromUtf8(sqlite3_errstr(rc));
        return nullptr;
    }
    rc = p->readLayout(errorText);
    if (rc != SQLITE_OK)
        return nullptr;
    return std::unique_ptr<ManagedObjectContext>(new ManagedObjectContext(std::move(p)));
}

const ManagedObjectModel& ManagedObjectContext::model() const { return *d->model; }
const QString& ManagedObjectContext::storePath() const { return d->path; }
const QString& ManagedObjectContext::storeUuid() const { return d->uuid; }

bool ManagedObjectContext::hasColumn(const QString& entityName, const QString& attributeName) const
{
    const int i = d->stateIndex(entityName);
    if (i < 0)
        return false;
    const EntityState& es = d->entities[size_t(i)];
    const int a = es.entity->indexOf(attributeName);
    return a >= 0 && es.hasColumn[size_t(a)];
}

ManagedObjectPtr ManagedObjectContext::insertNewObject(const QString& entityName)
{
    const int i = d->stateIndex(entityName);
    if (i < 0)
        return nullptr;
    auto object = std::make_shared<ManagedObject>(*d->entities[size_t(i)].entity, this);
    object->m_inserted = true;
    object->m_temporaryId = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    d->inserted.push_back(object);
    d->notifyInserted.append(object);
    return object;
}

ManagedObjectList ManagedObjectContext::executeFetchRequest(const FetchRequest& request, int* sqliteError)
{
    EntityState* state = d->fetchedEntity(request.entityName, sqliteError);
    if (!state)
        return {};
    EntityState& es = *state;
    ManagedObjectList result;
    if (es.tableExists) {
        // A lighter fetch reads the columns asked for, in select order; attributes the store
        // has no column for are not asked of it.
        std::vector<int> indices;
        AttributeBits fetched;
        if (!request.propertiesToFetch.isEmpty()) {
            for (int a : es.readIndices)
                if (request.propertiesToFetch.contains(es.entity->attribute(a).name)) {
                    indices.push_back(a);
                    fetched.set(a);
                }
        }
        const bool lighter = !request.propertiesToFetch.isEmpty() && indices.size() < es.readIndices.size();
        sqlite3_stmt* s = lighter ? d->partialSelect(es, indices) : es.selectAll.get();
        if (!s) {
            if (sqliteError)
                *sqliteError = SQLITE_ERROR;
            return {};
        }
        const std::vector<int>& columns = lighter ? indices : es.readIndices;
        auto values = std::make_shared<FetchedValues>(*es.entity, columns);
        std::vector<StoreStrings*> strings;
        for (int a : columns)
            strings.push_back(d->rowStrings(es, a));
        if (es.registered.isEmpty())
            es.registered.reserve(1024);
        const quint64 generation = ++es.fetchCount;
        qsizetype rows = 0;
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            ++rows;
            // A predicate most often keeps few of the rows (a card by its identifier): an object it
            // makes holds its own values, so that those of the rows it does not keep go as they are
            // read. Objects already held answer from the fetch's columns.
            const bool own = request.predicate && es.registered.value(sqlite3_column_int64(s, 0)).expired();
            ManagedObjectPtr object = own ? d->materialize(es, s, this, lighter ? &indices : nullptr, &fetched)
                                          : d->materializeFetched(es, s, this, values, strings, lighter);
            object->m_seenInFetch = generation;
            if (request.includesPendingChanges && object->m_deleted)
                continue;
            if (!request.predicate || request.predicate(*object))
                result.append(std::move(object));
        }
        sqlite3_reset(s);
        values->squeeze();
        es.fetchedValues.push_back(values);
        values.reset();
        if (rc != SQLITE_DONE) {
            if (sqliteError)
                *sqliteError = rc;
            return {};
        }
        // Objects let go, and unchanged objects of rows removed by another connection, leave the
        // context; one that is still held keeps its values itself from now on.
        if (es.registered.size() > rows || es.registered.size() > result.size())
            es.registered.removeIf([generation](const QHash<qint64, std::weak_ptr<ManagedObject>>::iterator& it) {
                const ManagedObjectPtr o = it->lock();
                if (o && (o->m_seenInFetch == generation || o->m_pendingUpdate || o->m_deleted))
                    return false;
                if (o)
                    o->keepRowValues();
                return true;
            });
        d->releaseSparseValues();
    }
    if (request.includesPendingChanges)
        for (const ManagedObjectPtr& object : d->inserted)
            if (&object->entity() == es.entity && (!request.predicate || request.predicate(*object)))
                result.append(object);
    if (!request.sortDescriptors.isEmpty()) {
        QList<int> indices;
        for (const SortDescriptor& sd : request.sortDescriptors)
            indices.append(es.entity->indexOf(sd.key));
        // Each object's keys are asked for once, not at every comparison: a value read from a
        // fetch's columns is made anew whenever it is asked for.
        const auto keyCount = size_t(indices.size());
        std::vector<QVariant> keys(size_t(result.size()) * keyCount);
        for (qsizetype i = 0; i < result.size(); ++i)
            for (size_t k = 0; k < keyCount; ++k)
                if (indices[qsizetype(k)] >= 0)
                    keys[size_t(i) * keyCount + k] = result[i]->currentValue(indices[qsizetype(k)]);
        std::vector<qsizetype> order(size_t(result.size()));
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            for (size_t k = 0; k < keyCount; ++k) {
                const int c = compareValues(keys[size_t(a) * keyCount + k], keys[size_t(b) * keyCount + k]);
                if (c != 0)
                    return request.sortDescriptors[qsizetype(k)].ascending ? c < 0 : c > 0;
            }
            return false;
        });
        ManagedObjectList sorted;
        sorted.reserve(result.size());
        for (qsizetype i : order)
            sorted.append(std::move(result[i]));
        result = std::move(sorted);
    }
    return result;
}

void ManagedObjectContext::readUnread(const ManagedObject& object, int index)
{
    // One object asking is a card shown: its row is read. A second object asking for the same
    // attribute is most likely a list's filter or sort going through every object: the column is
    // read for all of them at once.
    EntityState& es = d->entities[size_t(d->stateIndex(object.entityName()))];
    const bool listWide = es.lastUnread == index && es.lastUnreadOf != &object;
    es.lastUnread = index;
    es.lastUnreadOf = &object;
    if (listWide)
        readAttribute(object.entity(), index);
    else
        readObject(object);
}

qint64 ManagedObjectContext::Private::readDataVersion()
{
    if (!dataVersion.isValid() && dataVersion.prepare(db.handle(), "PRAGMA data_version") != SQLITE_OK)
        return -1;
    const qint64 version = sqlite3_step(dataVersion.get()) == SQLITE_ROW ? sqlite3_column_int64(dataVersion.get(), 0) : -1;
    dataVersion.reset();
    return version;
}

ManagedObjectContext::Private::RowsSelect ManagedObjectContext::Private::addRowColumns(EntityState& es, const FetchedRows& rows,
                                                                                    const QStringList& attributes)
{
    std::vector<std::pair<int, size_t>> selected; // attribute index, column of the rows
    for (const QString& name : attributes) {
        const int a = es.entity->indexOf(name);
        if (a < 0 || rows.m_attributes.contains(name))
            continue;
        if (es.tableExists && es.hasColumn[size_t(a)])
            selected.emplace_back(a, rows.m_columns.size());
        rows.m_attributes.append(name);
        rows.m_columns.emplace_back(es.entity->attribute(a).type);
        rows.m_columns.back().resize(rows.count());
    }
    std::sort(selected.begin(), selected.end());
    RowsSelect select;
    for (const auto& [a, column] : selected) {
        select.indices.push_back(a);
        select.columns.push_back(column);
        select.strings.push_back(rowStrings(es, a));
    }
    return select;
}

FetchedRowsPtr ManagedObjectContext::fetchRows(const FetchRequest& request, int* sqliteError)
{
    EntityState* state = d->fetchedEntity(request.entityName, sqliteError);
    if (!state)
        return nullptr;
    EntityState& es = *state;
    d->releaseSparseValues();
    // Two readers of one store's rows in a row (a list and the folder tree at opening) share one read.
    const qint64 version = d->readDataVersion();
    FetchedRowsPtr last = es.lastRows.lock();
    if (last && version >= 0 && version == es.lastRowsDataVersion
        && std::all_of(request.propertiesToFetch.begin(), request.propertiesToFetch.end(),
                       [&](const QString& name) { return es.entity->indexOf(name) < 0 || last->m_attributes.contains(name); }))
        return last;
    std::shared_ptr<FetchedRows> rows(new FetchedRows);
    rows->m_context = this;
    rows->m_contextAlive = d->alive;
    rows->m_entityName = es.entity->name();
    const Private::RowsSelect select = d->addRowColumns(es, *rows, request.propertiesToFetch);
    if (es.tableExists) {
        sqlite3_stmt* s = d->partialSelect(es, select.indices);
        int rc = s ? SQLITE_OK : SQLITE_ERROR;
        while (s && (rc = sqlite3_step(s)) == SQLITE_ROW) {
            const auto row = qsizetype(rows->m_keys.size());
            rows->m_keys.push_back(sqlite3_column_int64(s, 0));
            for (size_t k = 0; k < select.columns.size(); ++k)
                rows->m_columns[select.columns[k]].read(row, s, int(k) + 2, select.strings[k]);
        }
        if (s)
            sqlite3_reset(s);
        if (rc != SQLITE_DONE) {
            if (sqliteError)
                *sqliteError = rc;
            return nullptr;
        }
    }
    // Held as they are from now on: no room kept for rows to come.
    rows->m_keys.shrink_to_fit();
    for (RowColumn& column : rows->m_columns) {
        column.resize(qsizetype(rows->m_keys.size()));
        column.squeeze();
    }
    es.lastRows = rows;
    es.lastRowsDataVersion = version;
    return rows;
}

void ManagedObjectContext::readRowsColumns(const FetchedRows& rows, const QStringList& attributes)
{
    EntityState& es = d->entities[size_t(d->stateIndex(rows.m_entityName))];
    const Private::RowsSelect select = d->addRowColumns(es, rows, attributes);
    if (select.indices.empty())
        return;
    sqlite3_stmt* s = d->partialSelect(es, select.indices);
    if (!s)
        return;
    // The store answers in the order of the first read unless rows came or went since: a row is
    // looked up by its key only when out of step. Rows gone since keep null values.
    const qsizetype count = rows.count();
    qsizetype next = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        const qint64 pk = sqlite3_column_int64(s, 0);
        const qsizetype row = next < count && rows.m_keys[size_t(next)] == pk ? next : rows.rowWithPrimaryKey(pk);
        if (row < 0)
            continue;
        for (size_t k = 0; k < select.columns.size(); ++k)
            rows.m_columns[select.columns[k]].read(row, s, int(k) + 2, select.strings[k]);
        next = row + 1;
    }
    sqlite3_reset(s);
    for (size_t column : select.columns)
        rows.m_columns[column].squeeze();
}

void ManagedObjectContext::readAttribute(const EntityDescription& entity, int index)
{
    EntityState& es = d->entities[size_t(d->stateIndex(entity.name()))];
    sqlite3_stmt* s = es.tableExists ? d->partialSelect(es, {index}) : nullptr;
    if (!s)
        return;
    const std::vector<int> indices{index};
    while (sqlite3_step(s) == SQLITE_ROW) {
        const ManagedObjectPtr object = es.registered.value(sqlite3_column_int64(s, 0)).lock();
        if (object && object->m_unread.test(index))
            d->loadColumns(*object, s, es, indices, true);
    }
    sqlite3_reset(s);
}

void ManagedObjectContext::readObject(const ManagedObject& object)
{
    EntityState& es = d->entities[size_t(d->stateIndex(object.entityName()))];
    // The context's own handle on the object: the one it registered for the row.
    const ManagedObjectPtr registered = es.registered.value(object.m_pk).lock();
    if (!es.tableExists || registered.get() != &object)
        return;
    sqlite3_stmt* s = es.selectOne.get();
    sqlite3_bind_int64(s, 1, object.m_pk);
    if (sqlite3_step(s) == SQLITE_ROW)
        d->loadRow(es, *registered, s, true);
    es.selectOne.reset();
}

ManagedObjectPtr ManagedObjectContext::objectWithPrimaryKey(const QString& entityName, qint64 primaryKey)
{
    const int i = d->stateIndex(entityName);
    if (i < 0)
        return nullptr;
    EntityState& es = d->entities[size_t(i)];
    if (ManagedObjectPtr known = es.registered.value(primaryKey).lock())
        return known;
    if (!es.tableExists)
        return nullptr;
    sqlite3_stmt* s = es.selectOne.get();
    sqlite3_bind_int64(s, 1, primaryKey);
    ManagedObjectPtr object;
    if (sqlite3_step(s) == SQLITE_ROW)
        object = d->materialize(es, s, this);
    es.selectOne.reset();
    return object;
}

void ManagedObjectContext::deleteObject(const ManagedObjectPtr& object)
{
    if (!object || object->m_context != this || object->m_deleted)
        return;
    object->m_deleted = true;
    if (object->m_inserted) {
        d->inserted.erase(std::remove(d->inserted.begin(), d->inserted.end(), object), d->inserted.end());
        d->notifyInserted.removeAll(object);
        return;
    }
    if (object->m_pendingUpdate) {
        d->updated.erase(std::remove(d->updated.begin(), d->updated.end(), object), d->updated.end());
        object->m_pendingUpdate = false;
    }
    if (object->m_notifyPending) {
        d->notifyUpdated.removeAll(object);
        object->m_notifyPending = false;
    }
    d->deleted.push_back(object);
    d->notifyDeleted.append(object);
}

void ManagedObjectContext::refreshObject(const ManagedObjectPtr& object, bool mergeChanges)
{
    if (!object || object->m_context != this || object->m_pk <= 0 || object->m_deleted)
        return;
    EntityState& es = d->entities[size_t(d->stateIndex(object->entityName()))];
    if (!es.tableExists)
        return;
    sqlite3_stmt* s = es.selectOne.get();
    sqlite3_bind_int64(s, 1, object->m_pk);
    if (sqlite3_step(s) == SQLITE_ROW) {
        d->loadRow(es, *object, s, mergeChanges);
        if (!mergeChanges) {
            object->clearChanges();
            object->m_targets.clear();
            d->updated.erase(std::remove(d->updated.begin(), d->updated.end(), object), d->updated.end());
        }
    }
    es.selectOne.reset();
}

void ManagedObjectContext::discardChanges(const ManagedObjectPtr& object)
{
    if (!object || object->m_context != this)
        return;
    if (object->m_inserted) {
        deleteObject(object);
        return;
    }
    if (object->m_deleted) {
        d->deleted.erase(std::remove(d->deleted.begin(), d->deleted.end(), object), d->deleted.end());
        d->notifyDeleted.removeAll(object);
        object->m_deleted = false;
    }
    refreshObject(object, false);
}

void ManagedObjectContext::objectChanged(ManagedObject* object)
{
    if (object->m_inserted || object->m_deleted)
        return;
    if (!object->m_pendingUpdate) {
        object->m_pendingUpdate = true;
        d->updated.push_back(object->shared_from_this());
    }
    if (!object->m_notifyPending) {
        object->m_notifyPending = true;
        d->notifyUpdated.append(object->shared_from_this());
    }
}

qsizetype ManagedObjectContext::liveObjectCount(const QString& entityName) const
{
    const int i = d->stateIndex(entityName);
    if (i < 0)
        return 0;
    const EntityState& es = d->entities[size_t(i)];
    const auto held = std::count_if(es.registered.cbegin(), es.registered.cend(),
                                    [](const std::weak_ptr<ManagedObject>& object) { return !object.expired(); });
    const auto inserted = std::count_if(d->inserted.cbegin(), d->inserted.cend(),
                                        [&es](const ManagedObjectPtr& object) { return &object->entity() == es.entity; });
    return qsizetype(held + inserted);
}

bool ManagedObjectContext::hasChanges() const
{
    return !d->inserted.empty() || !d->updated.empty() || !d->deleted.empty();
}

ManagedObjectList ManagedObjectContext::insertedObjects() const
{
    return ManagedObjectList(d->inserted.begin(), d->inserted.end());
}

ManagedObjectList ManagedObjectContext::updatedObjects() const
{
    return ManagedObjectList(d->updated.begin(), d->updated.end());
}

ManagedObjectList ManagedObjectContext::deletedObjects() const
{
    return ManagedObjectList(d->deleted.begin(), d->deleted.end());
}

void ManagedObjectContext::processPendingChanges()
{
    if (d->notifyInserted.isEmpty() && d->notifyUpdated.isEmpty() && d->notifyDeleted.isEmpty())
        return;
    QVariantMap info;
    info.insert(QLatin1String(kInsertedObjectsKey), QVariant::fromValue(d->notifyInserted));
    info.insert(QLatin1String(kUpdatedObjectsKey), QVariant::fromValue(d->notifyUpdated));
    info.insert(QLatin1String(kDeletedObjectsKey), QVariant::fromValue(d->notifyDeleted));
    for (const ManagedObjectPtr& o : std::as_const(d->notifyUpdated))
        o->m_notifyPending = false;
    d->notifyInserted.clear();
    d->notifyUpdated.clear();
    d->notifyDeleted.clear();
    NotificationCenter::defaultCenter().post(QLatin1String(kObjectsDidChangeNotification), this, info);
}

int ManagedObjectContext::Private::nextKeyBase(EntityState& es, qint64* base)
{
    qint64 highest = 0;
    {
        SqliteStatement maxKey(db.handle(), "SELECT max(Z_PK) FROM " + es.entity->table());
        if (!maxKey.isValid())
            return sqlite3_errcode(db.handle());
        if (sqlite3_step(maxKey.get()) == SQLITE_ROW)
            highest = sqlite3_column_int64(maxKey.get(), 0);
    }
    SqliteStatement zmax(db.handle(), "SELECT Z_MAX FROM Z_PRIMARYKEY WHERE Z_NAME = ?");
    if (zmax.isValid()) {
        const QByteArray name = es.entity->name().toUtf8();
        sqlite3_bind_text(zmax.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(zmax.get()) == SQLITE_ROW)
            highest = std::max(highest, qint64(sqlite3_column_int64(zmax.get(), 0)));
    }
    *base = highest;
    return SQLITE_OK;
}

int ManagedObjectContext::Private::writeChanges(QString* error, std::vector<ManagedObject*>& assigned,
                                                std::vector<EntityState*>& newEnts)
{
    sqlite3* h = db.handle();
    auto fail = [&](int rc) {
        if (error)
            *error = errorText(h, rc);
        return rc == SQLITE_OK ? SQLITE_ERROR : rc;
    };

    // Keys for new rows, continuing from Z_MAX (or a higher key already in the table).
    std::unordered_map<EntityState*, qint64> lastKey;
    for (const ManagedObjectPtr& o : inserted) {
        EntityState& es = entities[size_t(stateIndex(o->entityName()))];
        if (!es.tableExists) {
            if (error)
                *error = QStringLiteral("no table %1").arg(QString::fromUtf8(es.entity->table()));
            return SQLITE_ERROR;
        }
        auto it = lastKey.find(&es);
        if (it == lastKey.end()) {
            qint64 base = 0;
            const int rc = nextKeyBase(es, &base);
            if (rc != SQLITE_OK)
                return fail(rc);
            it = lastKey.emplace(&es, base).first;
        }
        // The keys are used up (a store from elsewhere may say so): the row is refused, never
        // given a key that wraps round to a negative one.
        if (it->second == std::numeric_limits<qint64>::max()) {
            if (error)
                *error = QStringLiteral("no primary key left in %1").arg(QString::fromUtf8(es.entity->table()));
            return SQLITE_FULL;
        }
        o->m_pk = ++it->second;
        assigned.push_back(o.get());
    }

    if (!lastKey.empty()) {
        int rc = db.exec("CREATE TABLE IF NOT EXISTS Z_PRIMARYKEY (Z_ENT INTEGER PRIMARY KEY, Z_NAME VARCHAR, "
                         "Z_SUPER INTEGER, Z_MAX INTEGER);");
        if (rc != SQLITE_OK)
            return fail(rc);
        for (auto& [es, last] : lastKey) {
            const QByteArray name = es->entity->name().toUtf8();
            if (es->zEnt == 0) {
                SqliteStatement add(h, "INSERT INTO Z_PRIMARYKEY (Z_ENT, Z_NAME, Z_SUPER, Z_MAX) "
                                       "VALUES ((SELECT ifnull(max(Z_ENT), 0) + 1 FROM Z_PRIMARYKEY), ?, 0, ?)");
                sqlite3_bind_text(add.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
                sqlite3_bind_int64(add.get(), 2, last);
                if ((rc = sqlite3_step(add.get())) != SQLITE_DONE)
                    return fail(rc);
                SqliteStatement number(h, "SELECT Z_ENT FROM Z_PRIMARYKEY WHERE Z_NAME = ?");
                sqlite3_bind_text(number.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
                if (sqlite3_step(number.get()) == SQLITE_ROW)
                    es->zEnt = sqlite3_column_int64(number.get(), 0);
                newEnts.push_back(es);
            } else {
                SqliteStatement update(h, "UPDATE Z_PRIMARYKEY SET Z_MAX = ? WHERE Z_NAME = ?");
                sqlite3_bind_int64(update.get(), 1, last);
                sqlite3_bind_text(update.get(), 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
                if ((rc = sqlite3_step(update.get())) != SQLITE_DONE)
                    return fail(rc);
            }
        }
    }

    // Relationship targets saved in this same transaction now have keys.
    auto resolveTargets = [](ManagedObject& o) {
        for (size_t a = 0; a < o.m_targets.size(); ++a)
            if (o.m_targets[a])
                o.storeValue(int(a), o.m_targets[a]->m_pk > 0 ? QVariant(qlonglong(o.m_targets[a]->m_pk)) : QVariant());
    };

    for (const ManagedObjectPtr& o : inserted) {
        resolveTargets(*o);
        EntityState& es = entities[size_t(stateIndex(o->entityName()))];
        sqlite3_stmt* s = es.insert.get();
        int p = 1;
        int rc = sqlite3_bind_int64(s, p++, o->m_pk);
        if (es.hasEnt)
            rc |= sqlite3_bind_int64(s, p++, es.zEnt);
        if (es.hasOpt)
            rc |= sqlite3_bind_int64(s, p++, 1);
        for (int a : es.readIndices) {
            const QVariant& v = o->storedValue(a);
            // Bindings start out NULL after a reset.
            if (v.isValid())
                rc |= bindStoreValue(s, p, v, es.entity->attribute(a).type);
            ++p;
        }
        if (rc == SQLITE_OK)
            rc = sqlite3_step(s);
        es.insert.reset();
        if (rc != SQLITE_DONE)
            return fail(rc);
    }

    for (const ManagedObjectPtr& o : updated) {
        resolveTargets(*o);
        EntityState& es = entities[size_t(stateIndex(o->entityName()))];
        if (!es.tableExists)
            return fail(SQLITE_ERROR);
        std::string mask(size_t(es.entity->attributeCount()), '0');
        for (int a : es.readIndices)
            if (o->m_dirty.test(a))
                mask[size_t(a)] = '1';
        auto it = es.updates.find(mask);
        if (it == es.updates.end()) {
            QByteArray sql = "UPDATE " + es.entity->table() + " SET Z_PK = Z_PK";
            if (es.hasOpt)
                sql += ", Z_OPT = ifnull(Z_OPT, 0) + 1";
            for (int a : es.readIndices)
                if (mask[size_t(a)] == '1')
                    sql += ", " + es.entity->attribute(a).column + " = ?";
            sql += " WHERE Z_PK = ?";
            SqliteStatement statement;
            const int rc = statement.prepare(h, sql);
            if (rc != SQLITE_OK)
                return fail(rc);
            it = es.updates.emplace(mask, std::move(statement)).first;
        }
        sqlite3_stmt* s = it->second.get();
        int p = 1;
        int rc = SQLITE_OK;
        for (int a : es.readIndices)
            if (mask[size_t(a)] == '1')
                rc |= bindStoreValue(s, p++, o->storedValue(a), es.entity->attribute(a).type);
        rc |= sqlite3_bind_int64(s, p, o->m_pk);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(s);
        it->second.reset();
        if (rc != SQLITE_DONE)
            return fail(rc);
    }

    for (const ManagedObjectPtr& o : deleted) {
        EntityState& es = entities[size_t(stateIndex(o->entityName()))];
        if (!es.tableExists)
            continue;
        sqlite3_stmt* s = es.remove.get();
        sqlite3_bind_int64(s, 1, o->m_pk);
        const int rc = sqlite3_step(s);
        es.remove.reset();
        if (rc != SQLITE_DONE)
            return fail(rc);
    }
    return SQLITE_OK;
}

int ManagedObjectContext::save(QString* errorText)
{
    processPendingChanges();
    if (!hasChanges())
        return 0;
    int rc = d->db.exec("BEGIN IMMEDIATE;", errorText);
    if (rc != SQLITE_OK)
        return kSaveFailed;
    std::vector<ManagedObject*> assigned;
    std::vector<EntityState*> newEnts;
    rc = d->writeChanges(errorText, assigned, newEnts);
    if (rc == SQLITE_OK)
        rc = d->db.exec("COMMIT;", errorText);
    // Rows read before no longer show the store, whether or not the write went through.
    for (EntityState& es : d->entities)
        es.lastRows.reset();
    if (rc != SQLITE_OK) {
        d->db.exec("ROLLBACK;");
        for (ManagedObject* o : assigned)
            o->m_pk = 0;
        for (EntityState* es : newEnts)
            es->zEnt = 0;
        return kSaveFailed;
    }

    for (const ManagedObjectPtr& o : d->inserted) {
        EntityState& es = d->entities[size_t(d->stateIndex(o->entityName()))];
        o->m_opt = 1;
        o->clearChanges();
        o->m_targets = {};
        o->m_temporaryId = QString(); // named by its key from now on
        o->m_values.shrink_to_fit();  // filled a few values at a time; held as it is from now on
        es.registerObject(o->m_pk, o);
    }
    for (const ManagedObjectPtr& o : d->updated) {
        ++o->m_opt;
        o->clearChanges();
        o->m_targets = {};
    }
    for (const ManagedObjectPtr& o : d->deleted) {
        d->entities[size_t(d->stateIndex(o->entityName()))].registered.remove(o->m_pk);
        o->m_context = nullptr;
        // Held elsewhere, it keeps its values itself: the context no longer sees it.
        if (o.use_count() > 1)
            o->keepRowValues();
    }
    d->inserted.clear();
    d->updated.clear();
    d->deleted.clear();
    d->releaseSparseValues();
    return 0;
}
