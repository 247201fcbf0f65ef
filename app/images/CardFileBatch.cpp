#include "app/images/CardFileBatch.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <fcntl.h>
#include <unistd.h>

namespace {

bool flushToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool flushed = ::fsync(fd) == 0;
    ::close(fd);
    return flushed;
}

// Starts writing a file's data out without waiting for it, so that the files of a batch go to
// the disk together and each flush after it finds its data on the way.
void startWriteback(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    ::close(fd);
}

CardFileBatch::Sync& syncFunction()
{
    static CardFileBatch::Sync sync = flushToDisk;
    return sync;
}

} // namespace

void CardFileBatch::setSync(Sync sync)
{
    syncFunction() = sync ? std::move(sync) : Sync(flushToDisk);
}

QStringList CardFileBatch::makeDurable()
{
    QStringList failed;
    QSet<QString> folders;
    for (const auto& [cardID, path] : m_files)
        startWriteback(path);
    for (const auto& [cardID, path] : m_files) {
        folders.insert(QFileInfo(path).absolutePath());
        if (!syncFunction()(path) && !failed.contains(cardID))
            failed.append(cardID);
    }
    // The new names are durable once their folder is.
    for (const QString& folder : std::as_const(folders)) {
        if (syncFunction()(folder))
            continue;
        for (const auto& [cardID, path] : m_files) {
            if (QFileInfo(path).absolutePath() == folder && !failed.contains(cardID))
                failed.append(cardID);
        }
    }
    m_files.clear();
    return failed;
}
