#include "tests/support/dbtools/ToolTestEnvironment.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/DatabaseLayout.h"

#include <QDir>

ToolTestEnvironment::ToolTestEnvironment(const QString& toolName)
    : m_savedHome(qgetenv("HOME")), m_savedConfig(qgetenv("XDG_CONFIG_HOME")), m_savedRuntime(qgetenv("XDG_RUNTIME_DIR"))
{
    QDir().mkpath(path() + QStringLiteral("/home"));
    QDir().mkpath(path() + QStringLiteral("/config"));
    QDir().mkpath(path() + QStringLiteral("/runtime"));
    QFile::setPermissions(path() + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", QFile::encodeName(path() + QStringLiteral("/home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path() + QStringLiteral("/config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path() + QStringLiteral("/runtime")));
    Bundle::setMain(QString::fromLocal8Bit(qgetenv("PELMORA_SOURCE_DIR")) + QStringLiteral("/resources/") + toolName);
}

ToolTestEnvironment::~ToolTestEnvironment()
{
    qputenv("HOME", m_savedHome);
    qputenv("XDG_CONFIG_HOME", m_savedConfig);
    qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
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
