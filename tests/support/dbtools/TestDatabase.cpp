#include "tests/support/dbtools/TestDatabase.h"

#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

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

} // namespace

bool create(const QString& path, const Options& options)
{
    QDir dir;
    if (QFileInfo::exists(path) || !dir.mkpath(path) || !dir.mkpath(path + QStringLiteral("/Images"))
        || !dir.mkpath(path + QStringLiteral("/Files")))
        return false;
    const QString storePath = path + QLatin1Char('/') + options.storeName;
    {
        const std::unique_ptr<ManagedObjectContext> context =
            ManagedObjectContext::open(CardStore::currentModel(), storePath);
        if (!context)
            return false;
        const ManagedObjectPtr version = context->insertNewObject(QString::fromLatin1(CardStore::kEntityVersion));
        version->setValue(QStringLiteral("database_name"), QStringLiteral("Pelmora DB"));
        version->setValue(QStringLiteral("database_version"), options.databaseVersion);
        const struct {
            const char* id;
            const char* name;
            int type;
            int level;
        } folders[] = {{"ROOT", "All data", 1, 1}, {"INBOX", "Inbox", 2, 2}};
        for (const auto& f : folders) {
            const ManagedObjectPtr folder = context->insertNewObject(QString::fromLatin1(CardStore::kEntityFolder));
            folder->setValue(QStringLiteral("folder_ID"), QString::fromLatin1(f.id));
            folder->setValue(QStringLiteral("folder_Name"), QString::fromLatin1(f.name));
            folder->setValue(QStringLiteral("folder_Type"), f.type);
            folder->setValue(QStringLiteral("folder_Level"), f.level);
        }
        const QString memo(options.memoBytes, QLatin1Char('m'));
        for (int i = 1; i <= options.cards; ++i) {
            const QString id = QStringLiteral("CARD-%1").arg(i, 6, 10, QLatin1Char('0'));
            const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
            card->setValue(QStringLiteral("cardID"), id);
            card->setValue(QStringLiteral("full_Name"), QStringLiteral("Person %1").arg(i));
            card->setValue(QStringLiteral("company"), QStringLiteral("Company %1").arg(i % 97));
            card->setValue(QStringLiteral("e_Mail"), QStringLiteral("person%1@example.com").arg(i));
            card->setValue(QStringLiteral("face_Image_File"), id + QStringLiteral("_N1.pdf"));
            card->setValue(QStringLiteral("memo"), memo);
            card->setValue(QStringLiteral("flag1"), QStringLiteral("0"));
            card->setValue(QStringLiteral("input_Type"), 3);
            const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
            belong->setValue(QStringLiteral("folder_ID"), QStringLiteral("INBOX"));
            belong->setValue(QStringLiteral("cardID"), id);
            belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
        }
        if (context->save() != 0)
            return false;
    }

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

QStringList cardNames(const QString& storePath)
{
    QStringList names;
    const std::unique_ptr<ManagedObjectContext> context =
        ManagedObjectContext::open(CardStore::currentModel(), storePath, nullptr, false);
    if (!context)
        return names;
    FetchRequest request;
    request.entityName = QString::fromLatin1(CardStore::kEntityCard);
    request.sortDescriptors = {{QStringLiteral("cardID"), true}};
    for (const ManagedObjectPtr& card : context->executeFetchRequest(request))
        names.append(card->value(QStringLiteral("full_Name")).toString());
    return names;
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

} // namespace TestDatabase
