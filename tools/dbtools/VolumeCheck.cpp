#include "tools/dbtools/VolumeCheck.h"

#include "platform/foundation/StandardPaths.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace VolumeCheck {
namespace {

bool readSysFlag(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll().trimmed() == "1";
}

// A partition has no "removable" of its own: its disk, the parent folder in sysfs, has.
bool isRemovableDevice(unsigned major, unsigned minor)
{
    const QString device = QStringLiteral("/sys/dev/block/%1:%2").arg(major).arg(minor);
    if (!QFileInfo::exists(device))
        return false;
    if (QFileInfo::exists(device + QStringLiteral("/removable")))
        return readSysFlag(device + QStringLiteral("/removable"));
    const QString disk = QFileInfo(QFileInfo(device).canonicalFilePath()).path();
    return readSysFlag(disk + QStringLiteral("/removable"));
}

} // namespace

bool findMount(const QByteArray& mountInfo, unsigned major, unsigned minor, QString* fsType, QString* source)
{
    const QByteArray device = QByteArray::number(major) + ':' + QByteArray::number(minor);
    bool found = false;
    for (const QByteArray& line : mountInfo.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 7 || fields.at(2) != device)
            continue;
        const qsizetype separator = fields.indexOf("-", 6);
        if (separator < 0 || separator + 2 >= fields.size())
            continue;
        *fsType = QString::fromUtf8(fields.at(separator + 1));
        *source = QString::fromUtf8(fields.at(separator + 2));
        found = true;
    }
    return found;
}

bool isLocalFixedFileSystem(const QString& fsType, bool removable)
{
    static const QStringList remoteTypes{
        QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("cifs"), QStringLiteral("smb3"),
        QStringLiteral("smbfs"), QStringLiteral("ncpfs"), QStringLiteral("afs"), QStringLiteral("ceph"),
        QStringLiteral("9p"), QStringLiteral("glusterfs"), QStringLiteral("lustre"), QStringLiteral("davfs"),
        QStringLiteral("fuse"), QStringLiteral("fuseblk")};
    if (fsType.isEmpty() || remoteTypes.contains(fsType) || fsType.startsWith(QLatin1String("fuse.")))
        return false;
    return !removable;
}

bool isOnLocalFixedVolume(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    struct stat home {};
    if (::stat(QFile::encodeName(userHomeDir()).constData(), &home) == 0 && home.st_dev == st.st_dev)
        return true;
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString fsType;
    QString source;
    const unsigned maj = ::major(st.st_dev);
    const unsigned min = ::minor(st.st_dev);
    if (!findMount(file.readAll(), maj, min, &fsType, &source))
        return false;
    return isLocalFixedFileSystem(fsType, isRemovableDevice(maj, min));
}

} // namespace VolumeCheck
