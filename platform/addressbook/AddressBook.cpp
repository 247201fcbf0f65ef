#include "platform/addressbook/AddressBook.h"

#include "platform/foundation/FileAttributes.h"

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

bool writeWhole(int fd, const QByteArray& data)
{
    qint64 done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

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
        book->m_stamps.push_back({st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, quint64(st.st_ino)});
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
    for (size_t i = 0; i < m_people.size(); ++i) {
        ABPerson& person = *m_people[i];
        if (!person.hasChanges())
            continue;
        QString why;
        if (!writePerson(person, &why))
            failures.append(person.fileName() + QLatin1String(": ") + why);
    }
    const int dirFd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    if (errorText)
        *errorText = failures.join(QLatin1Char('\n'));
    return failures.isEmpty();
}

bool AddressBook::writePerson(ABPerson& person, QString* errorText)
{
    const size_t index = size_t(std::find_if(m_people.begin(), m_people.end(), [&](const auto& p) { return p.get() == &person; })
                                - m_people.begin());
    FileStamp& stamp = m_stamps[index];
    const QByteArray data = person.vcardData();
    const QByteArray target = QFile::encodeName(m_folder + QLatin1Char('/') + person.fileName());
    const QByteArray temporary =
        target + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";

    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *errorText = QStringLiteral("cannot be written: ") + systemError();
        return false;
    }
    struct stat written;
    const bool ok = writeWhole(fd, data) && ::fdatasync(fd) == 0 && ::fstat(fd, &written) == 0;
    const QString writeError = systemError();
    ::close(fd);
    auto discard = [&](const QString& why) {
        ::unlink(temporary.constData());
        *errorText = why;
        return false;
    };
    if (!ok)
        return discard(QStringLiteral("cannot be written: ") + writeError);

    if (stamp.size >= 0) {
        struct stat now;
        const bool same = ::lstat(target.constData(), &now) == 0
                          && FileStamp{now.st_size, qint64(now.st_mtim.tv_sec) * 1000000000 + now.st_mtim.tv_nsec, quint64(now.st_ino)}
                                 == stamp;
        if (!same)
            return discard(QStringLiteral("changed by another program since it was read"));
        ::fchmodat(AT_FDCWD, temporary.constData(), now.st_mode & 07777, 0);
        if (::rename(temporary.constData(), target.constData()) != 0)
            return discard(QStringLiteral("cannot be replaced: ") + systemError());
    } else if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) != 0) {
        return discard(QStringLiteral("cannot be added: ") + systemError());
    }
    stamp = {written.st_size, qint64(written.st_mtim.tv_sec) * 1000000000 + written.st_mtim.tv_nsec, quint64(written.st_ino)};
    person.resetFromData(data);
    person.m_new = false;
    return true;
}
