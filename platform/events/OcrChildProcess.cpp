#include "platform/events/OcrChildProcess.h"

#include <QFile>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

std::unique_ptr<OcrChildProcess> OcrChildProcess::start(const QString& program)
{
    int fds[2];
    if (!OcrChannel::socketPair(fds))
        return nullptr;
    // dup2 onto the same number would keep close-on-exec: move the child's end out of the way first.
    if (fds[1] == kChildSocketFd) {
        const int moved = ::fcntl(fds[1], F_DUPFD_CLOEXEC, kChildSocketFd + 1);
        ::close(fds[1]);
        fds[1] = moved;
    }
    const QByteArray path = QFile::encodeName(program);
    const QByteArray fdText = QByteArray::number(kChildSocketFd);
    char* const argv[] = {const_cast<char*>(path.constData()), const_cast<char*>("--socket-fd"),
                          const_cast<char*>(fdText.constData()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], kChildSocketFd);
    pid_t pid = -1;
    const int rc = fds[1] < 0 ? -1 : ::posix_spawn(&pid, path.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (fds[1] >= 0)
        ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        return nullptr;
    }
    return std::unique_ptr<OcrChildProcess>(new OcrChildProcess(pid, fds[0]));
}

OcrChildProcess::~OcrChildProcess() { stop(); }

bool OcrChildProcess::reap(int waitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid || (r < 0 && errno != EINTR)) {
            m_pid = -1;
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool OcrChildProcess::isAlive()
{
    if (m_pid <= 0 || m_channel.isBroken())
        return false;
    return !reap(0);
}

void OcrChildProcess::stop(int graceMs)
{
    // A child that broke the exchange (no answer in time, a malformed reply) gets no grace.
    const bool broken = m_channel.isBroken();
    m_channel.close();
    if (m_pid <= 0)
        return;
    if (reap(broken ? 0 : graceMs))
        return;
    ::kill(m_pid, SIGTERM);
    if (reap(1000))
        return;
    ::kill(m_pid, SIGKILL);
    reap(5000);
}
