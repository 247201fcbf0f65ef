#include "tests/support/dbtools/ToolTestEnvironment.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/DatabaseLayout.h"

#include <QDir>

ToolTestEnvironment::ToolTestEnvironment(const QString& toolName)
{
    for (const char* name : {"home", "config", "runtime"})
        QDir().mkpath(path() + QLatin1Char('/') + QLatin1String(name));
    QFile::setPermissions(path() + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    set("HOME", path() + QStringLiteral("/home"));
    set("XDG_CONFIG_HOME", path() + QStringLiteral("/config"));
    set("XDG_RUNTIME_DIR", path() + QStringLiteral("/runtime"));
    for (const char* name : {"XDG_DOCUMENTS_DIR", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        set(name, std::nullopt);
    Bundle::setMain(QString::fromLocal8Bit(qgetenv("PELMORA_SOURCE_DIR")) + QStringLiteral("/resources/") + toolName);
}

ToolTestEnvironment::~ToolTestEnvironment()
{
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        const auto& [name, value] = *it;
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
}

void ToolTestEnvironment::set(const char* name, const std::optional<QString>& value)
{
    m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt);
    if (value)
        qputenv(name, QFile::encodeName(*value));
    else
        qunsetenv(name);
}

QString ToolTestEnvironment::folder(const QString& name) const
{
    const QString folder = path() + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    return folder;
}

void ToolTestEnvironment::setDBPathPreference(const QString& dbPath) const
{
    PreferenceDomain domain(QLatin1String(DatabaseLayout::kMainApplicationDomain));
    domain.setValue(QLatin1String(DatabaseLayout::kDBPathKey), dbPath);
    domain.synchronize();
}
