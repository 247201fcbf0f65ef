#include "platform/events/SingleInstance.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/StandardPaths.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr char kAck = 'K';
constexpr int kClientIdleMs = 5000;
const char* const kBufferProperty = "instanceBuffer";

bool peerIsSameUser(QLocalSocket* socket, pid_t* pid)
{
    struct ucred cred {};
    socklen_t length = sizeof(cred);
    if (getsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &cred, &length) != 0)
        return false;
    *pid = cred.pid;
    return cred.uid == getuid();
}

} // namespace

SingleInstance::SingleInstance(const QString& socketPath, std::unique_ptr<SenderResolver> resolver, QObject* parent)
    : QObject(parent), m_socketPath(socketPath), m_resolver(std::move(resolver))
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString SingleInstance::defaultSocketPath()
{
    return userRuntimeDir() + QStringLiteral("/com.orvane.zor.Pelmora.sock");
}

SingleInstance::Role SingleInstance::start(const InstanceRequest& request, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (true) {
        if (forward(request, static_cast<int>(qMax<qint64>(100, deadline.remainingTime()))))
            return Role::Forwarded;
        if (becomePrimary())
            return Role::Primary;
        // Another launch holds the start-up lock and is becoming the instance: ask it again.
        if (deadline.hasExpired())
            return Role::Failed;
        QThread::msleep(50);
    }
}

bool SingleInstance::forward(const InstanceRequest& request, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(qMin(timeoutMs, 1000)))
        return false;
    socket.write(encodeInstanceRequest(request));
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    char ack = 0;
    return socket.read(&ack, 1) == 1 && ack == kAck;
}

bool SingleInstance::becomePrimary()
{
    if (m_server)
        return true;
    const QByteArray lockPath = QFile::encodeName(m_socketPath + QStringLiteral(".lock"));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    // Holding the start-up lock: any socket left behind belongs to an instance that has gone.
    QLocalServer::removeServer(m_socketPath);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_socketPath)) {
        logLine(QStringLiteral("Single instance: cannot listen on %1: %2").arg(m_socketPath, server->errorString()));
        delete server;
        ::close(fd);
        return false;
    }
    m_lockFd = fd;
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    return true;
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        pid_t pid = 0;
        if (!peerIsSameUser(socket, &pid)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setProperty("peerPid", static_cast<qlonglong>(pid));
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kClientIdleMs, socket, [socket] { socket->abort(); });
        readFrom(socket);
    }
}

void SingleInstance::readFrom(QLocalSocket* socket)
{
    QByteArray buffer = socket->property(kBufferProperty).toByteArray() + socket->readAll();
    if (buffer.size() >= 4) {
        const quint32 length = qFromLittleEndian<quint32>(buffer.constData());
        if (length > kInstanceFrameLimit) {
            socket->abort();
            return;
        }
        if (static_cast<quint64>(buffer.size()) >= 4ull + length) {
            InstanceRequest request;
            const bool ok = decodeInstanceRequest(buffer.mid(4, length), request);
            socket->setProperty(kBufferProperty, QByteArray());
            if (!ok) {
                socket->abort();
                return;
            }
            socket->write(&kAck, 1);
            socket->flush();
            const QString sender = m_resolver->senderNameForProcess(static_cast<pid_t>(socket->property("peerPid").toLongLong()));
            emit requestReceived(request, sender);
            return;
        }
    }
    socket->setProperty(kBufferProperty, buffer);
}
