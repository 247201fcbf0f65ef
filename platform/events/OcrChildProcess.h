// The OCR application as a child process of ours, holding the other end of a socket pair as
// file descriptor 3 ("--socket-fd 3" on its command line). Only this child is ever signalled.
#pragma once

#include "platform/events/OcrConnection.h"

#include <QString>

#include <memory>

class OcrChildProcess : public OcrConnection {
public:
    static constexpr int kChildSocketFd = 3;

    // Starts `program`; null when it cannot be started.
    static std::unique_ptr<OcrChildProcess> start(const QString& program);
    ~OcrChildProcess() override;

    OcrChannel& channel() override { return m_channel; }
    bool isAlive() override;
    // Closes the channel (end of file tells the child to quit), waits up to `graceMs`,
    // then ends it with SIGTERM and, if need be, SIGKILL.
    void stop() override { stop(2000); }
    void stop(int graceMs);
    pid_t pid() const { return m_pid; }

private:
    OcrChildProcess(pid_t pid, int fd) : m_channel(fd), m_pid(pid) {}
    bool reap(int waitMs);

    OcrChannel m_channel;
    pid_t m_pid;
};
