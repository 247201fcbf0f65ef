// One running instance per user: a second launch forwards its request over a local socket
// in the user's runtime folder and exits; the running instance receives it with the name of
// the program that sent it. Connections from other users are dropped.
#pragma once

#include "platform/events/InstanceRequest.h"
#include "platform/events/SenderResolver.h"

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Role { Primary, Forwarded, Failed };

    explicit SingleInstance(const QString& socketPath,
                            std::unique_ptr<SenderResolver> resolver = std::make_unique<ProcSenderResolver>(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // "$XDG_RUNTIME_DIR/com.orvane.zor.Pelmora.sock" (or the private fallback folder).
    static QString defaultSocketPath();

    // Hands `request` to a running instance (Forwarded: the caller exits), or becomes the
    // instance (Primary: requests arrive through requestReceived). Failed: neither was possible.
    Role start(const InstanceRequest& request, int timeoutMs = 5000);

signals:
    void requestReceived(const InstanceRequest& request, const QString& senderName);

private:
    bool forward(const InstanceRequest& request, int timeoutMs);
    bool becomePrimary();
    void acceptConnection();
    void readFrom(QLocalSocket* socket);

    QString m_socketPath;
    std::unique_ptr<SenderResolver> m_resolver;
    QLocalServer* m_server = nullptr;
    int m_lockFd = -1;
};
