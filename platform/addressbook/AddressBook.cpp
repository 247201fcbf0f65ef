#include "platform/addressbook/AddressBook.h"

#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/FileModes.h"
#include "platform/foundation/PlainFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Makes the folder and each missing folder above it, private to the user.
bool makeFolder(const QByteArray& path)
{
    struct stat st;
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const int slash = path.lastIndexOf('/');
    if (slash > 0 && !makeFolder(path.left(slash)))
        return false;
    return ::mkdir(path.constData(), 0700) == 0 || errno == EEXIST;
}

bool readWhole(int fd, qint64 size, QByteArray* data)
{
    data->resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, data->data() + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// "<name>.vcf.<random>.tmp", as `save` names what it writes before renaming it into place.
bool isOwnTemporary(const QByteArray& name)
{
    if (!name.endsWith(".tmp"))
        return false;
    const QByteArray stem = name.chopped(4);
    const qsizetype dot = stem.lastIndexOf('.');
    return dot > 4 && stem.left(dot).endsWith(".vcf");
}

} // namespace

AddressBook::FileStamp AddressBook::stampOf(const struct stat& st)
{
    return {st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, quint64(st.st_ino)};
}

AddressBook::~AddressBook()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

std::unique_ptr<AddressBook> AddressBook::open(const QString& folder, QString* errorText, Lock lock, bool* busy)
{
    auto fail = [errorText](const QString& why) {
        if (errorText)
            *errorText = why;
        return nullptr;
    };
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path.isEmpty())
        return fail(QStringLiteral("no address book folder"));
    const QByteArray encoded = QFile::encodeName(path);
    if (!makeFolder(encoded))
        return fail(QStringLiteral("%1 cannot be made as a folder: %2").arg(path, systemError()));
    std::unique_ptr<AddressBook> book(new AddressBook);
    book->m_folder = path;
    if (lock == Lock::ForRun) {
        book->m_lockFd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (book->m_lockFd < 0)
            return fail(QStringLiteral("%1 cannot be read: %2").arg(path, systemError()));
        if (::flock(book->m_lockFd, LOCK_EX | LOCK_NB) != 0) {
            if (busy)
                *busy = errno == EWOULDBLOCK;
            return fail(QStringLiteral("%1 is being synchronised by another program").arg(path));
        }
    }
    DIR* dir = ::opendir(encoded.constData());
    if (!dir)
        return fail(QStringLiteral("%1 cannot be read: %2").arg(path, systemError()));
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.endsWith(".vcf") && name.size() > 4)
            names.append(name);
        else if (lock == Lock::ForRun && isOwnTemporary(name))
            ::unlinkat(dirfd(dir), name.constData(), 0);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());

    qint64 budget = kMaxReadBytes;
    for (const QByteArray& name : std::as_const(names)) {
        book->m_fileNames.insert(QFile::decodeName(name));
        book->readFile(name, encoded + '/' + name, &budget);
    }
    return book;
}

void AddressBook::readFile(const QByteArray& name, const QByteArray& path, qint64* budget)
{
    const QString fileName = QFile::decodeName(name);
    auto skip = [&](const QString& why) {
        m_skipped.append(fileName + QLatin1String(": ") + why);
        m_unreadFileNames.insert(fileName);
    };
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return skip(QStringLiteral("not a readable file"));
    }
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    if (st.st_size > kMaxFileBytes)
        return skip(QStringLiteral("larger than %1 MB").arg(kMaxFileBytes / (1024 * 1024)));
    if (st.st_size > *budget)
        return skip(QStringLiteral("not read: the address book's files take more than %1 MB in all").arg(kMaxReadBytes / (1024 * 1024)));
    *budget -= st.st_size;
    BookFile file{fileName, stampOf(st), {}};
    std::vector<std::unique_ptr<ABPerson>> people;
    int failures = 0;
    QString firstFailure;
    qsizetype pieceCount = 0;
    try {
        QByteArray data;
        if (!readWhole(fd, st.st_size, &data))
            return skip(QStringLiteral("cannot be read"));
        const QList<QByteArray> pieces = splitVCardFile(data);
        data.clear();
        pieceCount = pieces.size();
        for (const QByteArray& piece : pieces) {
            QString why;
            std::unique_ptr<ABPerson> person = ABPerson::fromData(fileName, piece, &why);
            if (person) {
                file.pieces.push_back({person.get(), {}});
                people.push_back(std::move(person));
            } else {
                file.pieces.push_back({nullptr, piece});
                if (++failures == 1)
                    firstFailure = pieces.size() == 1
                        ? why
                        : QStringLiteral("contact %1 of %2: %3").arg(file.pieces.size()).arg(pieces.size()).arg(why);
            }
        }
    } catch (const std::bad_alloc&) {
        // Not enough memory for this file: it is left out, and the others are still read.
        return skip(QStringLiteral("too large to read"));
    }
    // A file is named once, however many of its vCards did not read.
    if (failures > 1)
        m_skipped.append(
            QStringLiteral("%1: %2 of %3 contacts not read, the first %4").arg(fileName).arg(failures).arg(pieceCount).arg(firstFailure));
    else if (failures == 1)
        m_skipped.append(fileName + QLatin1String(": ") + firstFailure);
    if (people.empty()) {
        m_unreadFileNames.insert(fileName);
        return;
    }
    for (auto& person : people)
        m_people.push_back(std::move(person));
    m_files.push_back(std::move(file));
}

QString AddressBook::fileNameForUid(const QString& uid)
{
    // A plain name of letters, digits and a few marks, as contact tools name their files.
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._@+-]{0,199}$"));
    return plain.match(uid).hasMatch() ? uid + QLatin1String(".vcf") : QString();
}

bool AddressBook::hasUnreadFileFor(const QString& uid) const
{
    const QString name = fileNameForUid(uid);
    return !name.isEmpty() && m_unreadFileNames.contains(name);
}

ABPerson* AddressBook::newPerson(const QString& uid)
{
    std::unique_ptr<ABPerson> person = ABPerson::newPerson(uid, QString());
    QString name = fileNameForUid(person->uid());
    while (name.isEmpty() || m_fileNames.contains(name))
        name = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + QLatin1String(".vcf");
    person->m_fileName = name;
    m_fileNames.insert(name);
    m_people.push_back(std::move(person));
    m_files.push_back({name, FileStamp(), {{m_people.back().get(), {}}}});
    return m_people.back().get();
}

bool AddressBook::BookFile::hasChanges() const
{
    return std::any_of(pieces.begin(), pieces.end(), [](const Piece& p) { return p.person && p.person->hasChanges(); });
}

bool AddressBook::hasUnsavedChanges() const
{
    return std::any_of(m_people.begin(), m_people.end(), [](const auto& p) { return p->hasChanges(); });
}

bool AddressBook::save(QString* errorText)
{
    if (!hasUnsavedChanges())
        return true;
    FileAttributes attributes;
    if (!readFileAttributes(m_folder, &attributes) || !attributes.isDirectory || !attributes.writable || attributes.immutable) {
        if (errorText)
            *errorText = QStringLiteral("%1 is not a writable folder").arg(m_folder);
        return false;
    }
    m_changedElsewhere.clear();
    m_saveLackedSpace = false;
    QStringList failures;
    std::vector<PendingWrite> pending;
    const mode_t newMode = newFileMode();
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (!m_files[i].hasChanges())
            continue;
        PendingWrite write;
        QString why;
        if (writeTemporary(i, newMode, &write, &why)) {
            pending.push_back(std::move(write));
            crashPoint("sync-push-written");
        } else
            failures.append(m_files[i].name + QLatin1String(": ") + why);
    }

    // One flush for every file written: each is on the disk before it replaces anything.
    const int dirFd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (!pending.empty() && (dirFd < 0 || ::syncfs(dirFd) != 0)) {
        noteLackOfSpace();
        const QString why = systemError();
        for (const PendingWrite& write : pending) {
            ::unlink(write.temporary.constData());
            failures.append(m_files[write.file].name + QLatin1String(": cannot be written: ") + why);
        }
        pending.clear();
    }
    for (PendingWrite& write : pending) {
        QString why;
        if (!replaceWithTemporary(write, &why))
            failures.append(m_files[write.file].name + QLatin1String(": ") + why);
        crashPoint("sync-push-renamed");
    }
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    if (errorText)
        *errorText = failures.join(QLatin1Char('\n'));
    return failures.isEmpty();
}

void AddressBook::noteLackOfSpace()
{
    if (errno == ENOSPC || errno == EDQUOT)
        m_saveLackedSpace = true;
}

bool AddressBook::writeTemporary(size_t file, mode_t newMode, PendingWrite* write, QString* errorText)
{
    write->file = file;
    const std::vector<BookFile::Piece>& pieces = m_files[file].pieces;
    // The charset each person is written in (empty when ASCII): a file is written in one, so
    // once a person needs UTF-8, the others of its file are written in UTF-8 too.
    QList<QByteArray> charsets;
    for (const BookFile::Piece& piece : pieces) {
        bool inUtf8 = false;
        write->pieces.append(piece.person ? piece.person->vcardData(false, &inUtf8) : piece.bytes);
        const QByteArray& bytes = write->pieces.last();
        const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        charsets.append(!piece.person || ascii ? QByteArray() : inUtf8 ? QByteArray("UTF-8") : piece.person->m_charset);
    }
    const bool utf8 = charsets.contains("UTF-8");
    QByteArray data;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const qsizetype p = qsizetype(i);
        if (utf8 && !charsets[p].isEmpty() && charsets[p] != "UTF-8")
            write->pieces[p] = pieces[i].person->vcardData(true);
        write->readBack.push_back(pieces[i].person ? pieces[i].person->readBack(write->pieces[p], errorText) : nullptr);
        if (pieces[i].person && !write->readBack.back())
            return false;
        data += write->pieces[p];
    }
    write->target = QFile::encodeName(m_folder + QLatin1Char('/') + m_files[file].name);
    write->temporary = write->target + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";

    const int fd = ::open(write->temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        noteLackOfSpace();
        *errorText = QStringLiteral("cannot be written: ") + systemError();
        return false;
    }
    struct stat written;
    const bool ok = writeAll(fd, data) && setReplacingMode(fd, write->target, newMode) && ::fstat(fd, &written) == 0;
    if (!ok)
        noteLackOfSpace();
    const QString why = systemError();
    ::close(fd);
    if (!ok) {
        ::unlink(write->temporary.constData());
        *errorText = QStringLiteral("cannot be written: ") + why;
        return false;
    }
    write->stamp = stampOf(written);
    return true;
}

bool AddressBook::replaceWithTemporary(PendingWrite& write, QString* errorText)
{
    BookFile& file = m_files[write.file];
    FileStamp& stamp = file.stamp;
    auto discard = [&](const QString& why) {
        ::unlink(write.temporary.constData());
        *errorText = why;
        return false;
    };
    const QString changed = QStringLiteral("changed by another program since it was read");
    if (stamp.size >= 0) {
        struct stat now;
        if (::lstat(write.target.constData(), &now) != 0 || !(stampOf(now) == stamp)) {
            m_changedElsewhere.append(file.name);
            return discard(changed);
        }
        // Exchanged rather than renamed over, so the file that leaves is looked at once more: a
        // version another program renamed in since the check above goes back in place.
        if (::renameat2(AT_FDCWD, write.temporary.constData(), AT_FDCWD, write.target.constData(), RENAME_EXCHANGE) == 0) {
            struct stat left;
            if (::lstat(write.temporary.constData(), &left) == 0 && !(stampOf(left) == stamp)) {
                ::renameat2(AT_FDCWD, write.temporary.constData(), AT_FDCWD, write.target.constData(), RENAME_EXCHANGE);
                m_changedElsewhere.append(file.name);
                return discard(changed);
            }
            ::unlink(write.temporary.constData());
        } else if (errno != EINVAL || ::rename(write.temporary.constData(), write.target.constData()) != 0) {
            return discard(QStringLiteral("cannot be replaced: ") + systemError());
        }
    } else if (::renameat2(AT_FDCWD, write.temporary.constData(), AT_FDCWD, write.target.constData(), RENAME_NOREPLACE) != 0) {
        return discard(QStringLiteral("cannot be added: ") + systemError());
    }
    stamp = write.stamp;
    for (size_t i = 0; i < file.pieces.size(); ++i) {
        if (file.pieces[i].person)
            *file.pieces[i].person = std::move(*write.readBack[i]);
    }
    return true;
}
