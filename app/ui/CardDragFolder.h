// The folder the PDFs of dragged cards are written to: a folder of this process only, made with
// an unpredictable name inside the user's private temporary folder (mode 0700), so that another
// user can neither read the cards nor put a link where a PDF is written. It goes when its owner
// does (at quit); what a process that ended without quitting left is removed at the next start.
#pragma once

#include <QString>

class CardDragFolder {
public:
    CardDragFolder() = default;
    ~CardDragFolder();
    CardDragFolder(const CardDragFolder&) = delete;
    CardDragFolder& operator=(const CardDragFolder&) = delete;

    // The folder, made on first use (and again when it was removed meanwhile); empty on failure.
    QString path();
    // Removes the folder and what it holds.
    void remove();

    // Removes this user's drag folders of processes that are gone.
    static void sweepLeftovers();

private:
    QString m_path;
};
