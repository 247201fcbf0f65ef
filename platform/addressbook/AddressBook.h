// An address book on a folder of vCard files (the vdir layout of Linux contact tools): one
// person per ".vcf" file, which other tools may read, change and synchronise at any time.
//
// - `open` reads every ".vcf" file of the folder, creating the folder (mode 0700) when it is
//   missing. A file may hold several vCards: each is a person, and writing one back keeps the
//   others in the file as they were. A file, or a vCard in one, that does not read (or a file
//   larger than kMaxFileBytes, or one that would take what is read in all above kMaxReadBytes)
//   is skipped and listed in `skippedFiles`, once however many of its vCards did not read; it is
//   never written.
// - `people` are in the order of their file names, byte by byte, then as they stand in the file.
// - `save` writes new and changed persons only, each to "<name>.<random>.tmp" in the folder;
//   what is written must read back as the persons it was written from, else the file is left as
//   it was. Once all are flushed to the disk, each is renamed over the file it replaces, so
//   readers see the old or the new file and never half of one. A file that changed on disk since it was
//   read (another program wrote it) is not replaced: the save answers false and says which.
//   Nothing is ever deleted.
// - One object per command: changes that a failed command left unsaved go away with it.
// - A synchronisation opens the book `ForRun`: it holds the folder's lock (flock on the folder)
//   until the object goes, so a second run on the same folder, from this program or another
//   instance, is refused instead of adding every person again. Under the lock, temporary files
//   that a killed run left behind are removed.
#pragma once

#include "platform/addressbook/ABPerson.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <sys/types.h>
#include <vector>

struct stat;

class AddressBook {
public:
    // Contact files above this size are not read: a vCard with a photo is a few megabytes, and
    // reading costs a few times the size in memory.
    static constexpr qint64 kMaxFileBytes = 32 * 1024 * 1024;
    // What one book reads in all: thousands of contacts with photos, not a folder of such files
    // that would take gigabytes of memory.
    static constexpr qint64 kMaxReadBytes = 256 * 1024 * 1024;

    enum class Lock { None, ForRun };
    // Null when the folder is missing and cannot be made, is not a readable folder, or (ForRun)
    // another run holds its lock (`busy` is then set).
    static std::unique_ptr<AddressBook> open(const QString& folder, QString* errorText = nullptr, Lock lock = Lock::None,
                                             bool* busy = nullptr);
    ~AddressBook();

    QString folder() const { return m_folder; }
    const std::vector<std::unique_ptr<ABPerson>>& people() const { return m_people; }
    // A new person of this book with this UID (a new one when empty), written at the next save
    // into "<UID>.vcf", or a file of a new name when the UID makes no plain file name or that
    // file exists.
    ABPerson* newPerson(const QString& uid = QString());
    // Files left out at `open`, each once as "name: why".
    QStringList skippedFiles() const { return m_skipped; }
    // Whether the file a person of this UID would be written to is in the folder but was not read.
    bool hasUnreadFileFor(const QString& uid) const;

    bool hasUnsavedChanges() const;
    // Writes every new or changed person; true when all were written. A person that cannot be
    // written does not stop the others; `errorText` lists the failures.
    bool save(QString* errorText = nullptr);
    // The files the last save left as another program wrote them after they were read.
    QStringList changedElsewhere() const { return m_changedElsewhere; }
    // Whether a write of the last save failed for want of space on the disk (or of the user's quota).
    bool lastSaveLackedSpace() const { return m_saveLackedSpace; }

private:
    // What tells a file's version apart: another program's write changes one of these.
    struct FileStamp {
        qint64 size = -1;
        qint64 mtimeNs = 0;
        quint64 inode = 0;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp stampOf(const struct stat& st);
    // One file of the folder: its stamp as read (size -1: a new file) and its pieces in order,
    // each a person or bytes that did not read as one, kept as they are.
    struct BookFile {
        QString name;
        FileStamp stamp;
        struct Piece {
            ABPerson* person = nullptr;
            QByteArray bytes;
        };
        std::vector<Piece> pieces;
        bool hasChanges() const;
    };
    struct PendingWrite {
        size_t file = 0;
        QList<QByteArray> pieces; // what each piece was written as
        // Each person as read back from what was written (null for pieces that are no person):
        // once the file is in place, that is what the person was read from.
        std::vector<std::unique_ptr<ABPerson>> readBack;
        QByteArray target;
        QByteArray temporary;
        FileStamp stamp;
    };
    void readFile(const QByteArray& name, const QByteArray& path, qint64* budget);
    // "<uid>.vcf" when the UID is a plain file name, else empty.
    static QString fileNameForUid(const QString& uid);
    // Writes the file's new bytes beside it, with its mode or else `newMode`, a new file's.
    bool writeTemporary(size_t file, mode_t newMode, PendingWrite* write, QString* errorText);
    // Records a failure of the call just made that errno tells was for want of space.
    void noteLackOfSpace();
    bool replaceWithTemporary(PendingWrite& write, QString* errorText);

    QString m_folder;
    std::vector<std::unique_ptr<ABPerson>> m_people;
    std::vector<BookFile> m_files;
    QStringList m_skipped;
    QSet<QString> m_fileNames; // every ".vcf" file of the folder and every new one
    QSet<QString> m_unreadFileNames;
    QStringList m_changedElsewhere;
    bool m_saveLackedSpace = false;
    int m_lockFd = -1;
};
