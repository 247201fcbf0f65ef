// The card files of one import: each is written without waiting for the disk, and the whole
// batch is made durable in one pass (every file, then their folders) before the store that
// names the cards is saved, so a card never stands in the store before its file is on disk.
#pragma once

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

class CardFileBatch {
public:
    CardFileBatch() = default;
    ~CardFileBatch();
    CardFileBatch(const CardFileBatch&) = delete;
    CardFileBatch& operator=(const CardFileBatch&) = delete;

    // Starts the written file on its way to the disk, on a thread of the batch's so that the
    // import does not wait for it: the file is there or nearly by the time the batch is made durable.
    void add(const QString& cardID, const QString& path);
    // Makes every file durable; answers the cards whose files could not be made so (with their
    // folder unsynced, every card of that folder). The batch is empty afterwards.
    QStringList makeDurable();

    // How one written file or folder is flushed to the disk; tests replace it to make one fail.
    // The files of a batch are flushed on several threads at once, but a replacement is called
    // for them one after the other, in the order they were added, on the calling thread.
    using Sync = std::function<bool(const QString& path)>;
    static void setSync(Sync sync);

private:
    // Lets the writeback thread start what it has been handed and end.
    void finishWriteback();

    std::vector<std::pair<QString, QString>> m_files; // card identifier, file path
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<QString> m_toStart; // files added whose writeback is not started yet
    bool m_closing = false;
    std::thread m_writeback;
};
