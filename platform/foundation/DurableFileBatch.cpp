#include "platform/foundation/DurableFileBatch.h"

#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/FileModes.h"
#include "platform/foundation/PlainFile.h"
#include "platform/foundation/TemporaryWrite.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Batches waiting while one is flushed, one named and the next written; each holds its files open.
constexpr size_t kQueuedBatches = 1;
constexpr size_t kLargestBatch = 512;
constexpr size_t kSmallestBatch = 16;

DurableFileBatch::Sync& syncFunction()
{
    static DurableFileBatch::Sync sync;
    return sync;
}

} // namespace

size_t DurableFileBatch::defaultBatchFiles()
{
    // The four batches under way hold at most a third of the limit.
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kLargestBatch;
    return std::clamp<size_t>(size_t(limit.rlim_cur / 12), kSmallestBatch, kLargestBatch);
}

DurableFileBatch::DurableFileBatch(const QString& folder, const char* crashPointName, size_t batchFiles)
    : m_folderFd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      m_crashPointName(crashPointName),
      m_batchFiles(batchFiles > 0 ? batchFiles : defaultBatchFiles()),
      m_newMode(newFileMode())
{
    m_filling.reserve(m_batchFiles);
}

DurableFileBatch::~DurableFileBatch()
{
    finish();
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}

void DurableFileBatch::setSync(Sync sync)
{
    syncFunction() = std::move(sync);
}

bool DurableFileBatch::add(const QString& path, const QByteArray& bytes)
{
    if (m_writeFailed || m_finished || m_failed)
        return false;
    Pending file;
    if (!write(path, bytes, &file)) {
        discard(file);
        m_writeFailed = true;
        return false;
    }
    m_filling.push_back(std::move(file));
    if (m_filling.size() >= m_batchFiles)
        submit();
    return true;
}

bool DurableFileBatch::write(const QString& path, const QByteArray& bytes, Pending* file)
{
    if (m_folderFd < 0)
        return false;
    file->target = QFile::encodeName(path);
    if (m_unnamedFiles) {
        // Made as a new file under its name would be: the kernel applies the umask.
        file->fd = ::openat(m_folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (file->fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR))
            m_unnamedFiles = false;
    }
    if (!m_unnamedFiles)
        file->fd = openLockedTemporary(path, &file->temporary);
    return file->fd >= 0 && writeAll(file->fd, bytes);
}

void DurableFileBatch::submit()
{
    std::unique_lock lock(m_mutex);
    if (!m_committer.joinable())
        m_committer = std::thread([this] { commitBatches(); });
    m_changed.wait(lock, [&] { return m_queue.size() < kQueuedBatches; });
    m_queue.push_back(std::move(m_filling));
    m_filling = Batch();
    m_filling.reserve(m_batchFiles);
    m_changed.notify_all();
}

bool DurableFileBatch::finish()
{
    if (!m_finished) {
        m_finished = true;
        if (!m_filling.empty())
            submit();
        {
            std::lock_guard lock(m_mutex);
            m_closing = true;
        }
        m_changed.notify_all();
        if (m_committer.joinable())
            m_committer.join();
        {
            std::lock_guard lock(m_flushMutex);
            m_stopFlushing = true;
        }
        m_flushWork.notify_all();
        for (std::thread& thread : m_flushers)
            thread.join();
        m_flushers.clear();
    }
    return !m_failed && !m_writeFailed;
}

void DurableFileBatch::commitBatches()
{
    // A batch is named while the next one is flushed.
    Batch flushed;
    for (;;) {
        Batch batch = nextBatch();
        if (!m_failed)
            startFlushing(batch);
        name(flushed);
        waitFlushed();
        if (batch.empty())
            return;
        flushed = std::move(batch);
    }
}

DurableFileBatch::Batch DurableFileBatch::nextBatch()
{
    Batch batch;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_queue.empty() || m_closing; });
        if (m_queue.empty())
            return batch;
        batch = std::move(m_queue.front());
        m_queue.pop_front();
    }
    m_changed.notify_all();
    return batch;
}

void DurableFileBatch::startFlushing(Batch& batch)
{
    if (const Sync& sync = syncFunction()) {
        for (Pending& file : batch)
            file.flushed = sync(file.fd);
        return;
    }
    if (batch.empty())
        return;
    {
        std::lock_guard lock(m_flushMutex);
        m_flushing = &batch;
        m_flushNext = 0;
        m_flushLeft = batch.size();
    }
    // Started once, for the whole run, as many as the first batch can keep busy.
    for (size_t t = m_flushers.size(); t < std::min(batch.size(), kFlushThreads); ++t)
        m_flushers.emplace_back([this] { flushFiles(); });
    m_flushWork.notify_all();
}

void DurableFileBatch::waitFlushed()
{
    std::unique_lock lock(m_flushMutex);
    m_flushDone.wait(lock, [&] { return m_flushLeft == 0; });
    m_flushing = nullptr;
}

void DurableFileBatch::flushFiles()
{
    std::unique_lock lock(m_flushMutex);
    for (;;) {
        m_flushWork.wait(lock, [&] { return m_stopFlushing || (m_flushing && m_flushNext < m_flushing->size()); });
        if (m_stopFlushing)
            return;
        Pending& file = (*m_flushing)[m_flushNext++];
        lock.unlock();
        file.flushed = ::fdatasync(file.fd) == 0;
        lock.lock();
        if (--m_flushLeft == 0)
            m_flushDone.notify_one();
    }
}

void DurableFileBatch::name(Batch& batch)
{
    // After a failure nothing more is named, so the files named are those before it.
    if (!m_failed && !batch.empty()) {
        size_t named = 0;
        while (named < batch.size() && batch[named].flushed && place(batch[named]))
            discard(batch[named++]);
        const Sync& sync = syncFunction();
        const bool folderFlushed = named == 0 || (sync ? sync(m_folderFd) : ::fsync(m_folderFd) == 0);
        if (named < batch.size() || !folderFlushed)
            m_failed = true;
    }
    for (Pending& file : batch)
        discard(file);
}

bool DurableFileBatch::place(Pending& file)
{
    if (m_crashPointName)
        crashPoint(m_crashPointName);
    if (file.temporary.isEmpty()) {
        if (linkUnnamed(file.fd, file.target.constData()))
            return true;
        // Something holds the name: the file takes its mode, then a temporary name, and replaces it.
        if (errno != EEXIST || !setReplacingMode(file.fd, file.target, m_newMode)
            || !linkLockedTemporary(file.fd, QFile::decodeName(file.target), &file.temporary))
            return false;
    } else if (!setReplacingMode(file.fd, file.target, m_newMode)) {
        return false;
    }
    if (::rename(file.temporary.constData(), file.target.constData()) != 0)
        return false;
    file.temporary.clear();
    return true;
}

void DurableFileBatch::discard(Pending& file)
{
    if (!file.temporary.isEmpty())
        ::unlink(file.temporary.constData());
    file.temporary.clear();
    if (file.fd >= 0)
        ::close(file.fd);
    file.fd = -1;
}
