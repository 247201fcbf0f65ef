// New files of one folder, each seen under its name only once its bytes are on the disk, with the
// waits for the disk shared: the files are written as they come, flushed a batch at a time by a
// fixed pool of threads while the next batch is written and the one before named, named in the
// order they were added, and the folder is flushed once per batch. A file is written without a
// name where the file system allows it, else under a locked temporary name (TemporaryWrite.h);
// a link at a name is replaced, never written through. A new file gets what the umask leaves of
// 0666, a file that takes another's name that file's mode (FileModes.h).
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <sys/types.h>
#include <thread>
#include <vector>

class DurableFileBatch {
public:
    // The threads that flush the files, started with the first batch and kept to the end: flushes
    // waiting at once let the disk serve them with one cache flush, so the more the fewer.
    static constexpr size_t kFlushThreads = 64;

    // `crashPointName` names the crash point passed for each file between its flush and its name;
    // `batchFiles` 0 takes a size that keeps the files held open well under the process's limit.
    explicit DurableFileBatch(const QString& folder, const char* crashPointName = nullptr, size_t batchFiles = 0);
    // Finishes what finish() has not.
    ~DurableFileBatch();
    DurableFileBatch(const DurableFileBatch&) = delete;
    DurableFileBatch& operator=(const DurableFileBatch&) = delete;

    // Writes the file `path` of the folder; it takes its name once its batch is on the disk.
    // False when it cannot be written or a file before it failed: nothing more is written, and
    // finish() names the files that came before the first failure.
    bool add(const QString& path, const QByteArray& bytes);

    // Waits until every file before the first failure is on the disk under its name, the folder
    // included, and removes the others; true when every file added got there. Call it once.
    bool finish();

    // The files a batch holds when `batchFiles` is 0.
    static size_t defaultBatchFiles();

    // How an open file or the folder is flushed; tests replace it to make one fail. The files of
    // a batch are flushed on several threads at once, but a replacement is called for them one
    // after the other, in the order they were added, then for the folder.
    using Sync = std::function<bool(int fd)>;
    static void setSync(Sync sync);

private:
    struct Pending {
        int fd = -1;
        QByteArray target;
        QByteArray temporary; // empty while the file has no name
        bool flushed = false;
    };
    using Batch = std::vector<Pending>;

    bool write(const QString& path, const QByteArray& bytes, Pending* file);
    void submit();
    void commitBatches();
    Batch nextBatch();
    void startFlushing(Batch& batch);
    void waitFlushed();
    void flushFiles();
    void name(Batch& batch);
    bool place(Pending& file);
    static void discard(Pending& file);

    const int m_folderFd;
    const char* const m_crashPointName;
    const size_t m_batchFiles;
    const mode_t m_newMode;
    bool m_unnamedFiles = true; // until the file system refuses them
    bool m_writeFailed = false;
    bool m_finished = false;
    Batch m_filling;

    std::atomic<bool> m_failed{false}; // a batch could not be flushed or named
    std::mutex m_mutex;
    std::condition_variable m_changed; // a batch is queued or taken, or the queue closes
    std::deque<Batch> m_queue;
    bool m_closing = false;
    std::thread m_committer;

    // The pool: the committer hands it one batch at a time and waits until every file is flushed.
    std::mutex m_flushMutex;
    std::condition_variable m_flushWork;
    std::condition_variable m_flushDone;
    Batch* m_flushing = nullptr;
    size_t m_flushNext = 0;
    size_t m_flushLeft = 0;
    bool m_stopFlushing = false;
    std::vector<std::thread> m_flushers;
};
