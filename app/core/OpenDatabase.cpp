#include "app/core/OpenDatabase.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/Globals.h"
#include "app/core/PLDatabaseController.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/Log.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <utility>

namespace {

// The copies that code written against the process-wide names reads; publish() alone writes them.
QString s_curDBPath;
int s_dbLockFile = -1;

// The folder's store and its lock, both or neither.
OpenDatabase::Result openAndLock(const QString& folder, std::unique_ptr<ManagedObjectContext>* context, int* lock)
{
    QString error;
    *context = ManagedObjectContext::open(CardStore::currentModel(), DatabaseLayout::currentStoreFilePath(folder), &error);
    if (!*context) {
        PLNSLog(QStringLiteral("Init ManagedObjectContext. ErrCode:[%d]"), -1008);
        return OpenDatabase::Result::StoreFailed;
    }
    // A lock that cannot be taken means another program has the database open: it is not used.
    switch (DatabaseLock::acquire(folder, lock)) {
    case DatabaseLock::Result::Locked:
        break;
    case DatabaseLock::Result::InUse:
        context->reset();
        return OpenDatabase::Result::InUse;
    case DatabaseLock::Result::OpenFailed:
        context->reset();
        return OpenDatabase::Result::LockUnusable;
    }
    return OpenDatabase::Result::Opened;
}

void seedFolder(const QString& folder)
{
    std::unique_ptr<PLDatabaseController> controller = PLDatabaseController::initDBwithPath(folder);
    if (!controller)
        return;
    controller->insertFolderData();
    controller->insertVersionData();
    controller->save();
}

} // namespace

const QString& g_strCurDBPath = s_curDBPath;
const int& g_DBLockFile = s_dbLockFile;

OpenDatabase::OpenDatabase(QObject* parent) : QObject(parent)
{
    publish();
}

OpenDatabase::~OpenDatabase()
{
    close();
}

void OpenDatabase::publish() const
{
    s_curDBPath = m_folder;
    s_dbLockFile = m_lock;
}

bool OpenDatabase::choose(const QString& folder)
{
    if (isOpen())
        return folder == m_folder;
    m_folder = folder;
    publish();
    return true;
}

OpenDatabase::Result OpenDatabase::open()
{
    if (isOpen())
        return Result::Opened;
    if (m_folder.isEmpty())
        return Result::NoFolder;
    std::unique_ptr<ManagedObjectContext> context;
    int lock = -1;
    const Result result = openAndLock(m_folder, &context, &lock);
    if (result == Result::Opened)
        install(m_folder, std::move(context), lock);
    return result;
}

OpenDatabase::Result OpenDatabase::switchTo(const QString& folder)
{
    if (folder.isEmpty())
        return Result::NoFolder;
    std::unique_ptr<ManagedObjectContext> context;
    int lock = -1;
    const Result result = openAndLock(folder, &context, &lock);
    if (result != Result::Opened)
        return result;
    seedFolder(folder);
    install(folder, std::move(context), lock);
    return Result::Opened;
}

void OpenDatabase::seed()
{
    if (isOpen())
        seedFolder(m_folder);
}

void OpenDatabase::close()
{
    const bool wasOpen = isOpen();
    m_context.reset();
    DatabaseLock::release(m_lock);
    m_lock = -1;
    m_folder.clear();
    publish();
    if (wasOpen)
        emit contextChanged(nullptr);
}

void OpenDatabase::install(const QString& folder, std::unique_ptr<ManagedObjectContext> context, int lock)
{
    // The new context is in place before the old one goes, so a listener never sees none.
    std::unique_ptr<ManagedObjectContext> old = std::exchange(m_context, std::move(context));
    const int oldLock = std::exchange(m_lock, lock);
    m_folder = folder;
    publish();
    emit contextChanged(m_context.get());
    old.reset();
    DatabaseLock::release(oldLock);
}
