// One running instance per user: a second launch forwards its request over a local socket
// in the user's runtime folder and exits; the running instance receives it with the name of
// the program that sent it. The channel answers from a thread of its own, so a busy main thread
// never makes a launch give up; the request then waits in the main thread's queue. Connections
// from other users are dropped, and a launch hands its paths only to a server of its own user.
#pragma once

#include "platform/events/InstanceRequest.h"
#include "platform/events/SenderResolver.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Primary: this process is the instance. Forwarded: the running one took the request (the
    // caller exits). Busy: an instance is alive but did not take the request in time (the caller
    // exits as well: never a second instance). Failed: no usable channel (the caller runs alone).
    enum class Role { Primary, Forwarded, Busy, Failed };

    explicit SingleInstance(const QString& socketPath,
                            std::unique_ptr<SenderResolver> resolver = std::make_unique<ProcSenderResolver>(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // "<runtime folder>/com.orvane.zor.Pelmora.sock"; empty when the user has no private runtime
    // folder (then no channel is used).
    static QString defaultSocketPath();
    // The socket `name` in the user's private runtime folder; empty without one.
    static QString socketPathFor(const QString& name);

    Role start(const InstanceRequest& request, int timeoutMs = 5000);

signals:
    void requestReceived(const InstanceRequest& request, const QString& senderName);

private:
    enum class Forward { Delivered, NoServer, NoAnswer };
    Forward forward(const InstanceRequest& request, int timeoutMs);
    // True once this process listens; `heldElsewhere` tells that another process holds the lock.
    bool becomePrimary(bool* heldElsewhere);
    void serve();
    void answer(int client);

    QString m_socketPath;
    std::unique_ptr<SenderResolver> m_resolver;
    int m_lockFd = -1;
    int m_listenFd = -1;
    int m_stopPipe[2] = {-1, -1};
    std::thread m_thread;
};
