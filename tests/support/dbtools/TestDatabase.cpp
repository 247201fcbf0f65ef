#include "tests/support/dbtools/TestDatabase.h"

#include "platform/foundation/PlistFile.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

namespace TestDatabase {
namespace {

class Connection {
public:
    explicit Connection(const QString& path)
    {
        if (sqlite3_open(QFile::encodeName(path).constData(), &m_db) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
        }
    }
    ~Connection() { sqlite3_close(m_db); }
    bool ok() const { return m_db != nullptr; }
    bool exec(const QString& sql) const
    {
        return m_db && sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    QList<QStringList> rows(const QString& sql) const
    {
        QList<QStringList> result;
        sqlite3_stmt* statement = nullptr;
        if (!m_db || sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
            return result;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                row.append(text ? QString::fromUtf8(text) : QStringLiteral("<null>"));
            }
            result.append(row);
        }
        sqlite3_finalize(statement);
        return result;
    }
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

const char* const kSchema = R"(
PRAGMA journal_mode = DELETE;
CREATE TABLE Z_PRIMARYKEY (Z_ENT INTEGER PRIMARY KEY, Z_NAME VARCHAR, Z_SUPER INTEGER, Z_MAX INTEGER);
CREATE TABLE Z_METADATA (Z_VERSION INTEGER PRIMARY KEY, Z_UUID VARCHAR(255), Z_PLIST BLOB);
CREATE TABLE ZCARD (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZCARD_ID VARCHAR,
  ZFULL_NAME VARCHAR, ZCOMPANY VARCHAR, ZE_MAIL VARCHAR, ZFACE_IMAGE_FILE VARCHAR, ZMEMO VARCHAR,
  ZFLAG1 VARCHAR, ZINPUT_TYPE INTEGER, ZCREATE_DATE TIMESTAMP);
CREATE INDEX ZCARD_ZCARD_ID_INDEX ON ZCARD (ZCARD_ID);
CREATE TABLE ZCARDBELONG (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZTOCARDRELATION INTEGER, ZFOLDER_ID VARCHAR);
CREATE INDEX ZCARDBELONG_ZTOCARDRELATION_INDEX ON ZCARDBELONG (ZTOCARDRELATION);
CREATE TABLE ZFOLDER (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZFOLDER_ID VARCHAR, ZFOLDER_NAME VARCHAR, ZFOLDER_TYPE INTEGER, ZLEVEL INTEGER);
CREATE TABLE ZVERSION (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZDATABASE_NAME VARCHAR, ZDATABASE_VERSION INTEGER);
INSERT INTO Z_PRIMARYKEY VALUES (1, 'Card', 0, 0), (2, 'CardBelong', 0, 0), (3, 'Folder', 0, 2), (4, 'Version', 0, 1);
INSERT INTO ZFOLDER VALUES (1, 3, 1, 'ROOT', 'All data', 1, 1), (2, 3, 1, 'INBOX', 'Inbox', 2, 2);
)";

} // namespace

bool create(const QString& path, const Options& options)
{
    QDir dir;
    if (QFileInfo::exists(path) || !dir.mkpath(path) || !dir.mkpath(path + QStringLiteral("/Images"))
        || !dir.mkpath(path + QStringLiteral("/Files")))
        return false;
    const QString storePath = path + QLatin1Char('/') + options.storeName;
    Connection db(storePath);
    if (!db.ok() || !db.exec(QString::fromUtf8(kSchema)))
        return false;
    const QString uuid = QStringLiteral("6F1D7E0A-3C55-4B8E-9A51-0B8C2D4E7F10");
    PlistValue::Dictionary metadata;
    metadata.insert(QStringLiteral("NSStoreType"), QStringLiteral("SQLite"));
    metadata.insert(QStringLiteral("NSStoreUUID"), uuid);
    metadata.insert(QStringLiteral("NSStoreModelVersionHashesVersion"), 3);
    metadata.insert(QStringLiteral("NSStoreModelVersionIdentifiers"), PlistValue::Array{PlistValue(QString())});
    const QByteArray plist = serializePlist(PlistValue(metadata), PlistFormat::Binary);
    if (!db.exec(QStringLiteral("INSERT INTO Z_METADATA VALUES (1, '%1', x'%2');").arg(uuid, QString::fromLatin1(plist.toHex()))))
        return false;
    if (!db.exec(QStringLiteral("INSERT INTO ZVERSION VALUES (1, 4, 1, 'Pelmora DB', %1);").arg(options.databaseVersion)))
        return false;
    db.exec(QStringLiteral("BEGIN;"));
    sqlite3_stmt* card = nullptr;
    sqlite3_prepare_v2(db.handle(),
        "INSERT INTO ZCARD VALUES (?, 1, 1, ?, ?, ?, ?, ?, ?, '0', 3, 800000000.5)", -1, &card, nullptr);
    sqlite3_stmt* belong = nullptr;
    sqlite3_prepare_v2(db.handle(), "INSERT INTO ZCARDBELONG VALUES (?, 2, 1, ?, 'INBOX')", -1, &belong, nullptr);
    const QByteArray memo(options.memoBytes, 'm');
    for (int i = 1; i <= options.cards; ++i) {
        const QByteArray id = QStringLiteral("CARD-%1").arg(i, 6, 10, QLatin1Char('0')).toUtf8();
        const QByteArray name = QStringLiteral("Person %1").arg(i).toUtf8();
        const QByteArray company = QStringLiteral("Company %1").arg(i % 97).toUtf8();
        const QByteArray mail = QStringLiteral("person%1@example.com").arg(i).toUtf8();
        const QByteArray image = id + "_N1.pdf";
        sqlite3_bind_int(card, 1, i);
        sqlite3_bind_text(card, 2, id.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(card, 3, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(card, 4, company.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(card, 5, mail.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(card, 6, image.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(card, 7, memo.constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(card) != SQLITE_DONE)
            return false;
        sqlite3_reset(card);
        sqlite3_bind_int(belong, 1, i);
        sqlite3_bind_int(belong, 2, i);
        if (sqlite3_step(belong) != SQLITE_DONE)
            return false;
        sqlite3_reset(belong);
    }
    sqlite3_finalize(card);
    sqlite3_finalize(belong);
    db.exec(QStringLiteral("UPDATE Z_PRIMARYKEY SET Z_MAX = %1 WHERE Z_ENT IN (1, 2);").arg(options.cards));
    if (!db.exec(QStringLiteral("COMMIT;")))
        return false;

    QByteArray bytes(options.imageBytes, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 31 + 7) & 0xFF);
    for (int i = 1; i <= options.imageFiles; ++i) {
        QFile image(path + QStringLiteral("/Images/CARD-%1_N1.pdf").arg(i, 6, 10, QLatin1Char('0')));
        if (!image.open(QIODevice::WriteOnly) || image.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

int cardCount(const QString& storePath)
{
    const QList<QStringList> rows = Connection(storePath).rows(QStringLiteral("SELECT count(*) FROM ZCARD"));
    return rows.isEmpty() ? -1 : rows.first().first().toInt();
}

bool deleteCards(const QString& storePath, int count)
{
    return Connection(storePath).exec(
        QStringLiteral("DELETE FROM ZCARDBELONG WHERE ZTOCARDRELATION IN (SELECT Z_PK FROM ZCARD ORDER BY Z_PK LIMIT %1);"
                       "DELETE FROM ZCARD WHERE Z_PK IN (SELECT Z_PK FROM ZCARD ORDER BY Z_PK LIMIT %1);").arg(count));
}

QStringList tableNames(const QString& storePath)
{
    QStringList names;
    for (const QStringList& row : Connection(storePath).rows(
             QStringLiteral("SELECT type || ':' || name FROM sqlite_master ORDER BY type, name")))
        names.append(row.first());
    return names;
}

QStringList allRows(const QString& storePath)
{
    const Connection db(storePath);
    QStringList result;
    for (const QStringList& tableRow : db.rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"))) {
        const QString table = tableRow.first();
        for (const QStringList& row : db.rows(QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(table)))
            result.append(table + QLatin1Char('|') + row.join(QLatin1Char('|')));
    }
    return result;
}

bool execute(const QString& storePath, const QString& sql)
{
    return Connection(storePath).exec(sql);
}

} // namespace TestDatabase
