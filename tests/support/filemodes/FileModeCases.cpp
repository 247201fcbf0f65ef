#include "tests/support/filemodes/FileModeCases.h"

#include <QFile>

#include <sys/stat.h>

UmaskScope::UmaskScope(mode_t mask) : m_old(::umask(mask))
{
}

UmaskScope::~UmaskScope()
{
    ::umask(m_old);
}

int fileModeOf(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 07777);
}

bool prepareFileModeCase(const FileModeCase& c, const QString& path, const QByteArray& bytes)
{
    QFile::remove(path);
    if (!c.existing)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return ::chmod(QFile::encodeName(path).constData(), c.existingMode) == 0;
}
