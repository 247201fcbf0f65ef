// The card files of one import: each is written without waiting for the disk, and the whole
// batch is made durable in one pass (every file, then their folders) before the store that
// names the cards is saved, so a card never stands in the store before its file is on disk.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

class CardFileBatch {
public:
    // Starts a file just written on its way to the disk without waiting for it, on the thread
    // that wrote it: it is there or nearly by the time its batch is made durable.
    static void startWriteback(const QString& path);

    void add(const QString& cardID, const QString& path) { m_files.emplace_back(cardID, path); }
    // Makes every file durable; answers the cards whose files could not be made so (with their
    // folder unsynced, every card of that folder). The batch is empty afterwards.
    QStringList makeDurable();

    // How one written file or folder is flushed to the disk; tests replace it to make one fail.
    // The files of a batch are flushed on several threads at once, but a replacement is called
    // for them one after the other, in the order they were added, on the calling thread.
    using Sync = std::function<bool(const QString& path)>;
    static void setSync(Sync sync);

private:
    std::vector<std::pair<QString, QString>> m_files; // card identifier, file path
};
