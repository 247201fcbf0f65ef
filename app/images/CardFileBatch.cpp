#include "app/images/CardFileBatch.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <thread>
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

// A replacement set by a test; none flushes with flushToDisk.
CardFileBatch::Sync& syncFunction()
{
    static CardFileBatch::Sync sync;
    return sync;
}

// Whether each file was flushed. The flushes run side by side, so that their waits for the disk
// overlap rather than add up; a replacement is called in the batch's order on this thread.
std::vector<char> flushAll(const std::vector<std::pair<QString, QString>>& files)
{
    std::vector<char> flushed(files.size(), 0);
    if (const CardFileBatch::Sync& sync = syncFunction()) {
        for (size_t i = 0; i < files.size(); ++i)
            flushed[i] = sync(files[i].second);
        return flushed;
    }
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i; (i = next.fetch_add(1)) < files.size();)
            flushed[i] = flushToDisk(files[i].second);
    };
    const size_t threads = std::min(files.size(), size_t(std::max(1, QThread::idealThreadCount())));
    std::vector<std::thread> helpers;
    for (size_t t = 1; t < threads; ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return flushed;
}

bool flushFolder(const QString& folder)
{
    const CardFileBatch::Sync& sync = syncFunction();
    return sync ? sync(folder) : flushToDisk(folder);
}

} // namespace

void CardFileBatch::startWriteback(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    ::close(fd);
}

void CardFileBatch::setSync(Sync sync)
{
    syncFunction() = std::move(sync);
}

QStringList CardFileBatch::makeDurable()
{
    QStringList failed;
    QSet<QString> folders;
    const std::vector<char> flushed = flushAll(m_files);
    for (size_t i = 0; i < m_files.size(); ++i) {
        const auto& [cardID, path] = m_files[i];
        folders.insert(QFileInfo(path).absolutePath());
        if (!flushed[i] && !failed.contains(cardID))
            failed.append(cardID);
    }
    // The new names are durable once their folder is.
    for (const QString& folder : std::as_const(folders)) {
        if (flushFolder(folder))
            continue;
        for (const auto& [cardID, path] : m_files) {
            if (QFileInfo(path).absolutePath() == folder && !failed.contains(cardID))
                failed.append(cardID);
        }
    }
    m_files.clear();
    return failed;
}
