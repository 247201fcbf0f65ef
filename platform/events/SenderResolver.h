// Names the program that sent a request: the parent of the connecting process, as the
// open-files sender test matches it by name. Tests replace it with a fixed answer.
#pragma once

#include <QString>

#include <sys/types.h>

class SenderResolver {
public:
    virtual ~SenderResolver() = default;
    // The name of the program that started process `pid`; empty when it cannot be read.
    virtual QString senderNameForProcess(pid_t pid) const = 0;
};

// Reads /proc: the parent's argv[0] base name, else the base name of its executable, else its comm.
class ProcSenderResolver : public SenderResolver {
public:
    QString senderNameForProcess(pid_t pid) const override;
    static pid_t parentOf(pid_t pid);
    static QString processName(pid_t pid);
};
