// Opens arbitrary bytes as a card store, reads every entity, changes and saves what it read,
// and runs the version probe: nothing may crash, whatever the file holds.
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "platform/store/RawSqlite.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.sqldb"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    if (auto context = ManagedObjectContext::open(CardStore::currentModel(), path, nullptr, false)) {
        for (const EntityDescription& entity : CardStore::currentModel().entities()) {
            FetchRequest request;
            request.entityName = entity.name();
            request.sortDescriptors = {{entity.attribute(0).name, true}};
            const ManagedObjectList objects = context->executeFetchRequest(request);
            if (!objects.isEmpty()) {
                objects.first()->setValue(0, QStringLiteral("changed"));
                context->deleteObject(objects.last());
            }
            context->insertNewObject(entity.name());
        }
        context->save();
    }
    SqliteConnection connection;
    if (connection.open(path, false) == 0) {
        int rc = 0;
        rawQuery(connection, QStringLiteral("select ZDATABASE_VERSION from ZVERSION;"), &rc);
    }
    QFile::remove(path);
    return 0;
}
