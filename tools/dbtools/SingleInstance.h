// One running instance per tool and user. The first instance holds a lock file and listens on a
// local socket in the user's runtime folder; a later start asks it to come to the front and ends.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& signature, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first instance; false after the running one was asked to raise.
    bool start();

signals:
    void raiseRequested();

private:
    QString socketPath() const;

    QString m_signature;
    int m_lockFd = -1;
    QLocalServer* m_server = nullptr;
};
