#include "platform/events/LocalSocketAddress.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool fill(sockaddr_un* address, const QByteArray& path)
{
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address->sun_path))
        return false;
    std::memcpy(address->sun_path, path.constData(), size_t(path.size()));
    return true;
}

} // namespace

LocalSocketAddress::LocalSocketAddress(const QString& path)
{
    m_address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    if (fill(&m_address, native)) {
        m_valid = true;
        return;
    }
    if (native.isEmpty())
        return;
    const QFileInfo info(path);
    m_folderFd = ::open(QFile::encodeName(info.path()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0)
        return;
    m_valid = fill(&m_address, "/proc/self/fd/" + QByteArray::number(m_folderFd) + '/' + QFile::encodeName(info.fileName()));
}

LocalSocketAddress::~LocalSocketAddress()
{
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}
