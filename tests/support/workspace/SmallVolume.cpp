#include "tests/support/workspace/SmallVolume.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

SmallVolume::SmallVolume(int mebibytes, const QString& at) : m_path(at.isEmpty() ? m_folder.path() : at)
{
    const QByteArray options = "size=" + QByteArray::number(mebibytes) + "m,mode=0755";
    if (m_path.isEmpty() || !QDir().mkpath(m_path))
        m_reason = QStringLiteral("no folder to mount on");
    else if (::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", 0, options.constData()) != 0)
        m_reason = QStringLiteral("mounting a tmpfs failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    else
        m_mounted = true;
}

SmallVolume::~SmallVolume()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
}

void SmallVolume::fill(qint64 leftBytes) const
{
    QFile filler(path() + QStringLiteral("/.filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QByteArray block(4096, 'f');
    while (QStorageInfo(path()).bytesAvailable() >= leftBytes + block.size() && filler.write(block) == block.size())
        filler.flush();
    // The last bytes one by one, down to what was asked.
    while (QStorageInfo(path()).bytesAvailable() > leftBytes && filler.write("f", 1) == 1)
        filler.flush();
}
