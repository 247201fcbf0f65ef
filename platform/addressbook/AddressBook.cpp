#include "platform/addressbook/AddressBook.h"

#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/PlainFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
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

} // namespace

AddressBook::FileStamp AddressBook::stampOf(const struct stat& st)
{
    return {st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, quint64(st.st_ino)};
}

std::unique_ptr<AddressBook> AddressBook::open(const QString& folder, QString* errorText)
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
    DIR* dir = ::opendir(encoded.constData());
    if (!dir)
        return fail(QStringLiteral("%1 cannot be read: %2").arg(path, systemError()));
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.endsWith(".vcf") && name.size() > 4)
            names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());

    std::unique_ptr<AddressBook> book(new AddressBook);
    book->m_folder = path;
    for (const QByteArray& name : std::as_const(names)) {
        const QString fileName = QFile::decodeName(name);
        const QByteArray filePath = encoded + '/' + name;
        const int fd = ::open(filePath.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        struct stat st;
        if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            book->m_skipped.append(fileName + QLatin1String(": not a readable file"));
            if (fd >= 0)
                ::close(fd);
            continue;
        }
        QByteArray data;
        const bool read = readWhole(fd, st.st_size, &data);
        ::close(fd);
        QString why = QStringLiteral("cannot be read");
        std::unique_ptr<ABPerson> person = read ? ABPerson::fromData(fileName, data, &why) : nullptr;
        if (!person) {
            book->m_skipped.append(fileName + QLatin1String(": ") + why);
            continue;
        }
        book->m_people.push_back(std::move(person));
        book->m_stamps.push_back(stampOf(st));
    }
    return book;
}

ABPerson* AddressBook::newPerson()
{
    m_people.push_back(ABPerson::newPerson());
    m_stamps.push_back(FileStamp());
    return m_people.back().get();
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
    QStringList failures;
    std::vector<PendingWrite> pending;
    for (size_t i = 0; i < m_people.size(); ++i) {
        if (!m_people[i]->hasChanges())
            continue;
        PendingWrite write;
        QString why;
        if (writeTemporary(i, &write, &why))
            pending.push_back(std::move(write));
        else
            failures.append(m_people[i]->fileName() + QLatin1String(": ") + why);
    }

    // One flush for every file written: each is on the disk before it replaces anything.
    const int dirFd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (!pending.empty() && (dirFd < 0 || ::syncfs(dirFd) != 0)) {
        const QString why = systemError();
        for (const PendingWrite& write : pending) {
            ::unlink(write.temporary.constData());
            failures.append(m_people[write.index]->fileName() + QLatin1String(": cannot be written: ") + why);
        }
        pending.clear();
    }
    for (const PendingWrite& write : pending) {
        QString why;
        if (!replaceWithTemporary(write, &why))
            failures.append(m_people[write.index]->fileName() + QLatin1String(": ") + why);
    }
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    if (errorText)
        *errorText = failures.join(QLatin1Char('\n'));
    return failures.isEmpty();
}

bool AddressBook::writeTemporary(size_t index, PendingWrite* write, QString* errorText)
{
    ABPerson& person = *m_people[index];
    write->index = index;
    write->data = person.vcardData();
    write->target = QFile::encodeName(m_folder + QLatin1Char('/') + person.fileName());
    write->temporary = write->target + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";

    const int fd = ::open(write->temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *errorText = QStringLiteral("cannot be written: ") + systemError();
        return false;
    }
    struct stat written;
    const bool ok = writeAll(fd, write->data) && ::fstat(fd, &written) == 0;
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

bool AddressBook::replaceWithTemporary(const PendingWrite& write, QString* errorText)
{
    FileStamp& stamp = m_stamps[write.index];
    auto discard = [&](const QString& why) {
        ::unlink(write.temporary.constData());
        *errorText = why;
        return false;
    };
    if (stamp.size >= 0) {
        struct stat now;
        if (::lstat(write.target.constData(), &now) != 0 || !(stampOf(now) == stamp))
            return discard(QStringLiteral("changed by another program since it was read"));
        ::chmod(write.temporary.constData(), now.st_mode & 07777);
        if (::rename(write.temporary.constData(), write.target.constData()) != 0)
            return discard(QStringLiteral("cannot be replaced: ") + systemError());
    } else if (::renameat2(AT_FDCWD, write.temporary.constData(), AT_FDCWD, write.target.constData(), RENAME_NOREPLACE) != 0) {
        return discard(QStringLiteral("cannot be added: ") + systemError());
    }
    stamp = write.stamp;
    ABPerson& person = *m_people[write.index];
    person.resetFromData(write.data);
    return true;
}
