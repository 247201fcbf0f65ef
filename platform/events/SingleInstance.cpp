#include "platform/events/SingleInstance.h"

#include "platform/events/LocalSocketAddress.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/StandardPaths.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QMetaObject>
#include <QThread>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kAck = 'K';
// A client has this long to send its whole request; the server has this long to answer.
constexpr int kClientIdleMs = 5000;

bool peerCredentials(int fd, struct ucred* cred)
{
    socklen_t length = sizeof(*cred);
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, cred, &length) == 0;
}

// Waits for `events` on `fd` until `deadline`; false on time-out or error.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline)
{
    while (true) {
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (rc < 0 && errno == EINTR)
            continue;
        return rc > 0 && (p.revents & (events | POLLHUP)) != 0;
    }
}

// Moves all `size` bytes through `step` (one send or one receive) before `deadline`.
template <typename Step>
bool transferAll(int fd, short events, size_t size, const QDeadlineTimer& deadline, Step step)
{
    size_t done = 0;
    while (done < size) {
        if (!waitFor(fd, events, deadline))
            return false;
        const ssize_t n = step(done);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

bool sendAll(int fd, const char* data, size_t size, const QDeadlineTimer& deadline)
{
    return transferAll(fd, POLLOUT, size, deadline, [&](size_t done) { return ::send(fd, data + done, size - done, MSG_NOSIGNAL); });
}

bool receiveAll(int fd, char* data, size_t size, const QDeadlineTimer& deadline)
{
    return transferAll(fd, POLLIN, size, deadline, [&](size_t done) { return ::recv(fd, data + done, size - done, 0); });
}

} // namespace

SingleInstance::SingleInstance(const QString& socketPath, std::unique_ptr<SenderResolver> resolver, QObject* parent)
    : QObject(parent), m_socketPath(socketPath), m_resolver(std::move(resolver))
{
}

SingleInstance::~SingleInstance()
{
    if (m_thread.joinable()) {
        const char stop = 1;
        while (::write(m_stopPipe[1], &stop, 1) < 0 && errno == EINTR) {
        }
        m_thread.join();
    }
    for (int fd : {m_stopPipe[0], m_stopPipe[1], m_listenFd})
        if (fd >= 0)
            ::close(fd);
    // Still holding the start-up lock: the socket is ours to remove.
    if (m_listenFd >= 0)
        ::unlink(QFile::encodeName(m_socketPath).constData());
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString SingleInstance::socketPathFor(const QString& name)
{
    const QString folder = userRuntimeDir();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

QString SingleInstance::defaultSocketPath()
{
    return socketPathFor(QStringLiteral("com.orvane.zor.Pelmora.sock"));
}

SingleInstance::Role SingleInstance::start(const InstanceRequest& request, int timeoutMs)
{
    if (m_socketPath.isEmpty())
        return Role::Failed;
    QDeadlineTimer deadline(timeoutMs);
    while (true) {
        if (forward(request, int(qMax<qint64>(100, deadline.remainingTime()))) == Forward::Delivered)
            return Role::Forwarded;
        bool heldElsewhere = false;
        if (becomePrimary(&heldElsewhere))
            return Role::Primary;
        // Another process holds the start-up lock: it is the instance, or is becoming it.
        if (deadline.hasExpired())
            return heldElsewhere ? Role::Busy : Role::Failed;
        QThread::msleep(50);
    }
}

SingleInstance::Forward SingleInstance::forward(const InstanceRequest& request, int timeoutMs)
{
    const LocalSocketAddress address(m_socketPath);
    if (!address.isValid())
        return Forward::NoServer;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Forward::NoServer;
    Forward result = Forward::NoServer;
    if (::connect(fd, address.address(), address.size()) == 0) {
        // Paths go only to a server of this user.
        struct ucred cred {};
        if (!peerCredentials(fd, &cred) || cred.uid != ::getuid()) {
            logLine(QStringLiteral("Single instance: the server at %1 belongs to another user").arg(m_socketPath));
        } else {
            const QDeadlineTimer deadline(timeoutMs);
            const QByteArray frame = encodeInstanceRequest(request);
            char ack = 0;
            result = sendAll(fd, frame.constData(), size_t(frame.size()), deadline) && receiveAll(fd, &ack, 1, deadline) && ack == kAck
                         ? Forward::Delivered
                         : Forward::NoAnswer;
        }
    }
    ::close(fd);
    return result;
}

bool SingleInstance::becomePrimary(bool* heldElsewhere)
{
    if (m_thread.joinable())
        return true;
    if (m_lockFd < 0) {
        const QByteArray lockPath = QFile::encodeName(m_socketPath + QStringLiteral(".lock"));
        const int lockFd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (lockFd < 0)
            return false;
        if (flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
            *heldElsewhere = errno == EWOULDBLOCK;
            ::close(lockFd);
            return false;
        }
        m_lockFd = lockFd;
    }
    // Holding the start-up lock: any socket left behind belongs to an instance that has gone.
    const QByteArray socketPath = QFile::encodeName(m_socketPath);
    ::unlink(socketPath.constData());
    const LocalSocketAddress address(m_socketPath);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool listening = fd >= 0 && address.isValid() && ::bind(fd, address.address(), address.size()) == 0
        && ::chmod(socketPath.constData(), 0600) == 0 && ::listen(fd, 64) == 0;
    if (!listening || ::pipe2(m_stopPipe, O_CLOEXEC) != 0) {
        logLine(QStringLiteral("Single instance: cannot listen on %1: %2").arg(m_socketPath, QString::fromLocal8Bit(std::strerror(errno))));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_listenFd = fd;
    m_thread = std::thread([this] { serve(); });
    return true;
}

void SingleInstance::serve()
{
    while (true) {
        pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0)
            return;
        if ((fds[0].revents & POLLIN) == 0)
            continue;
        const int client = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0)
            continue;
        answer(client);
        ::close(client);
    }
}

void SingleInstance::answer(int client)
{
    struct ucred cred {};
    if (!peerCredentials(client, &cred) || cred.uid != ::getuid())
        return;
    const QDeadlineTimer deadline(kClientIdleMs);
    char prefix[4];
    if (!receiveAll(client, prefix, sizeof(prefix), deadline))
        return;
    const quint32 length = qFromLittleEndian<quint32>(prefix);
    if (length > kInstanceFrameLimit)
        return;
    QByteArray payload(qsizetype(length), Qt::Uninitialized);
    InstanceRequest request;
    if (!receiveAll(client, payload.data(), size_t(length), deadline) || !decodeInstanceRequest(payload, request))
        return;
    // The sender is named while it still waits for the answer, so its process is still there.
    const QString sender = m_resolver->senderNameForProcess(cred.pid);
    if (!sendAll(client, &kAck, 1, deadline))
        return;
    QMetaObject::invokeMethod(this, [this, request, sender] { emit requestReceived(request, sender); }, Qt::QueuedConnection);
}
