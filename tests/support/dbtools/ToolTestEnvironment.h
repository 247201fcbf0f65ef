// A private world for one tool test: temporary home, configuration and runtime folders, the
// tool's resources as its bundle, and the main application's "DB path" preference.
#pragma once

#include <QString>
#include <QTemporaryDir>

class ToolTestEnvironment {
public:
    // `toolName` names the folder under resources/ used as the main bundle.
    explicit ToolTestEnvironment(const QString& toolName);
    ~ToolTestEnvironment();

    QString path() const { return m_dir.path(); }
    // A fresh folder for databases.
    QString folder(const QString& name) const;
    void setDBPathPreference(const QString& path) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_savedHome;
    QByteArray m_savedConfig;
    QByteArray m_savedRuntime;
};
