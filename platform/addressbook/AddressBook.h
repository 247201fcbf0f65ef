// An address book on a folder of vCard files (the vdir layout of Linux contact tools): one
// person per ".vcf" file, which other tools may read, change and synchronise at any time.
//
// - `open` reads every ".vcf" file of the folder, creating the folder (mode 0700) when it is
//   missing. A file that is not one vCard in UTF-8 is skipped and listed in `skippedFiles`; it
//   is never written.
// - `people` are in the order of their file names, byte by byte.
// - `save` writes new and changed persons only, each to "<name>.<random>.tmp" in the folder;
//   once all are flushed to the disk, each is renamed over the file it replaces, so readers see
//   the old or the new file and never half of one. A file that changed on disk since it was
//   read (another program wrote it) is not replaced: the save answers false and says which.
//   Nothing is ever deleted.
// - One object per command: changes that a failed command left unsaved go away with it.
#pragma once

#include "platform/addressbook/ABPerson.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

struct stat;

class AddressBook {
public:
    // Null when the folder is missing and cannot be made, or is not a readable folder.
    static std::unique_ptr<AddressBook> open(const QString& folder, QString* errorText = nullptr);

    QString folder() const { return m_folder; }
    const std::vector<std::unique_ptr<ABPerson>>& people() const { return m_people; }
    // A new person of this book, written at the next save.
    ABPerson* newPerson();
    // Files left out at `open`, each as "name: why".
    QStringList skippedFiles() const { return m_skipped; }

    bool hasUnsavedChanges() const;
    // Writes every new or changed person; true when all were written. A person that cannot be
    // written does not stop the others; `errorText` lists the failures.
    bool save(QString* errorText = nullptr);

private:
    // What tells a file's version apart: another program's write changes one of these.
    struct FileStamp {
        qint64 size = -1;
        qint64 mtimeNs = 0;
        quint64 inode = 0;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp stampOf(const struct stat& st);
    struct PendingWrite {
        size_t index = 0;
        QByteArray data;
        QByteArray target;
        QByteArray temporary;
        FileStamp stamp;
    };
    bool writeTemporary(size_t index, PendingWrite* write, QString* errorText);
    bool replaceWithTemporary(const PendingWrite& write, QString* errorText);

    QString m_folder;
    std::vector<std::unique_ptr<ABPerson>> m_people;
    std::vector<FileStamp> m_stamps; // as read, by person; size -1 for a person without a file
    QStringList m_skipped;
};
