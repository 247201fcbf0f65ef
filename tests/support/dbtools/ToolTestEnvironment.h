// A private world for one tool test: temporary home, configuration and runtime folders, the
// tool's resources as its bundle, and the main application's "DB path" preference. The folders
// a desktop session exports (documents, data, cache) are taken away for the test's length, so
// the tool finds its default folders under the private home as on a plain login.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <optional>
#include <utility>
#include <vector>

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
    void set(const char* name, const std::optional<QString>& value);

    QTemporaryDir m_dir;
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};
