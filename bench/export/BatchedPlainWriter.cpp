#include "bench/export/BatchedPlainWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <atomic>
#include <barrier>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

double writePlainBatched(const std::vector<std::pair<QByteArray, QByteArray>>& files, const QString& target, size_t batchFiles,
                         size_t threads)
{
    QElapsedTimer timer;
    timer.start();
    const int folder = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return -1;
    std::vector<int> batch;
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    bool done = false;
    std::barrier<> step(std::ptrdiff_t(threads + 1));
    std::vector<std::thread> pool;
    for (size_t t = 0; t < threads; ++t) {
        pool.emplace_back([&] {
            for (;;) {
                step.arrive_and_wait();
                if (done)
                    return;
                for (size_t i; (i = next.fetch_add(1)) < batch.size();) {
                    if (::fdatasync(batch[i]) != 0)
                        failed = true;
                }
                step.arrive_and_wait();
            }
        });
    }
    const auto flush = [&] {
        next = 0;
        step.arrive_and_wait();
        step.arrive_and_wait();
        if (::fsync(folder) != 0)
            failed = true;
        for (int fd : batch)
            ::close(fd);
        batch.clear();
    };
    for (const auto& [name, bytes] : files) {
        const int fd = ::openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
            failed = true;
        if (fd >= 0)
            batch.push_back(fd);
        if (batch.size() == batchFiles)
            flush();
    }
    if (!batch.empty())
        flush();
    done = true;
    step.arrive_and_wait();
    for (std::thread& thread : pool)
        thread.join();
    ::close(folder);
    const double ms = timer.nsecsElapsed() / 1e6;
    return failed ? -1 : ms;
}

std::vector<std::pair<QByteArray, QByteArray>> readFolderFiles(const QString& folder)
{
    std::vector<std::pair<QByteArray, QByteArray>> files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files.emplace_back(QFile::encodeName(name), file.readAll());
    }
    return files;
}
