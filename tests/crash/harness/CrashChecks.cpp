#include "tests/crash/harness/CrashChecks.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/PLDatabaseMigration.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "platform/store/RawSqlite.h"
#include "platform/store/SqliteConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace {

QString storeOf(const QString& folder)
{
    return folder + QStringLiteral("/Pelmora1.sqldb");
}

std::optional<RawRows> query(const QString& store, const QString& sql)
{
    SqliteConnection connection;
    if (!QFileInfo(store).isFile() || connection.open(store, false) != 0)
        return std::nullopt;
    int code = 0;
    return rawQuery(connection, sql, &code);
}

} // namespace

QStringList CrashChecks::storeAndImages(const QString& folder)
{
    QStringList wrong;
    const std::optional<RawRows> integrity = query(storeOf(folder), QStringLiteral("PRAGMA integrity_check;"));
    if (!integrity || integrity->isEmpty() || integrity->first().value(QStringLiteral("integrity_check")) != QLatin1String("ok"))
        wrong << QStringLiteral("the store fails its integrity check or cannot be opened");
    const std::optional<RawRows> cards = query(storeOf(folder), QStringLiteral("select ZFACE_IMAGE_FILE from ZCARD;"));
    for (const RawRow& row : cards.value_or(RawRows())) {
        const QString image = row.value(QStringLiteral("ZFACE_IMAGE_FILE"));
        if (!image.isEmpty() && !QFileInfo::exists(folder + QStringLiteral("/Images/") + image))
            wrong << QStringLiteral("card without its image %1").arg(image);
    }
    return wrong;
}

void CrashChecks::writeCardImages(const QString& folder)
{
    QDir().mkpath(folder + QStringLiteral("/Images"));
    for (const RawRow& row : query(storeOf(folder), QStringLiteral("select ZFACE_IMAGE_FILE from ZCARD;")).value_or(RawRows())) {
        QFile file(folder + QStringLiteral("/Images/") + row.value(QStringLiteral("ZFACE_IMAGE_FILE")));
        if (!file.exists())
            file.open(QIODevice::WriteOnly);
    }
}

int CrashChecks::cardCount(const QString& folder)
{
    const std::optional<RawRows> rows = query(storeOf(folder), QStringLiteral("select count(*) as N from ZCARD;"));
    return rows && !rows->isEmpty() ? rows->first().value(QStringLiteral("N")).toInt() : -1;
}

QString CrashChecks::firstCardID(const QString& folder)
{
    const std::optional<RawRows> rows = query(storeOf(folder), QStringLiteral("select ZCARDID from ZCARD order by Z_PK limit 1;"));
    return rows && !rows->isEmpty() ? rows->first().value(QStringLiteral("ZCARDID")) : QString();
}

QStringList CrashChecks::openAsAStartDoes(const QString& folder)
{
    QString work;
    PLDatabaseMigration::CheckContext context;
    if (!PLDatabaseMigration::migrateDatabaseIfNeeded(false, folder, &work, context))
        return {QStringLiteral("the next start refuses the database")};
    std::unique_ptr<ManagedObjectContext> store = ManagedObjectContext::open(CardStore::currentModel(), storeOf(work));
    if (!store)
        return {QStringLiteral("the next start cannot open the store")};
    return storeAndImages(work);
}

QStringList CrashChecks::leftovers(const QString& folder, const QString& tempFolder)
{
    QStringList found;
    static const QRegularExpression work(QStringLiteral(
        "(_work\\d*(-journal)?$|^Pelmora_bk|^\\.PLMigration-|\\.restoring$|^Pelmora\\.CFG\\.|incomplete-)"));
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QString& name : QDir(folder).entryList(all) + QDir(QFileInfo(folder).path()).entryList(all))
        if (work.match(name).hasMatch())
            found << name;
    QSet<QString> named;
    for (const RawRow& row : query(storeOf(folder), QStringLiteral("select ZFACE_IMAGE_FILE, ZBACK_IMAGE_FILE from ZCARD;")).value_or(RawRows())) {
        named.insert(row.value(QStringLiteral("ZFACE_IMAGE_FILE")));
        named.insert(row.value(QStringLiteral("ZBACK_IMAGE_FILE")));
    }
    static const QRegularExpression cardImage(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}_N[12]\\.pdf"));
    for (const QString& name : QDir(folder + QStringLiteral("/Images")).entryList(all))
        if (cardImage.match(name).hasMatch() && !named.contains(name))
            found << QStringLiteral("Images/") + name;
    for (const QString& name : QDir(tempFolder).entryList({QStringLiteral("pelmora-*")}, QDir::Dirs))
        for (const QString& staging : QDir(tempFolder + QLatin1Char('/') + name).entryList({QStringLiteral("~plfile*")}, all))
            found << staging;
    return found;
}
