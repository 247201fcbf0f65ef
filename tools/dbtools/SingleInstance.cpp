#include "tools/dbtools/SingleInstance.h"

#include "platform/foundation/StandardPaths.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
const QByteArray kRaiseRequest = "raise\n";
constexpr int kConnectAttempts = 20;
constexpr int kConnectWaitMs = 100;
} // namespace

SingleInstance::SingleInstance(const QString& signature, QObject* parent)
    : QObject(parent), m_signature(signature)
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString SingleInstance::socketPath() const
{
    return userRuntimeDir() + QStringLiteral("/%1-%2").arg(m_signature).arg(getuid());
}

bool SingleInstance::start()
{
    const QByteArray lockPath = QFile::encodeName(socketPath() + QStringLiteral(".lock"));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_lockFd = fd;
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        QLocalServer::removeServer(socketPath());
        m_server->listen(socketPath());
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* peer = m_server->nextPendingConnection()) {
                connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                    if (peer->readAll().contains(kRaiseRequest))
                        emit raiseRequested();
                    peer->disconnectFromServer();
                });
                connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            }
        });
        return true;
    }
    if (fd >= 0)
        ::close(fd);
    // The first instance may still be starting: give its socket a moment to appear.
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(kConnectWaitMs)) {
            socket.write(kRaiseRequest);
            socket.waitForBytesWritten(kConnectWaitMs);
            socket.disconnectFromServer();
            return false;
        }
        usleep(kConnectWaitMs * 1000);
    }
    return false;
}
