#include "platform/foundation/Bundle.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/PlistFile.h"

#include <QCoreApplication>
#include <QFile>

namespace {
std::unique_ptr<Bundle>& mainBundleSlot()
{
    static std::unique_ptr<Bundle> bundle;
    return bundle;
}
std::mutex g_mainMutex;
}

Bundle::Bundle(const QString& resourceDir, const QString& language)
    : m_resourceDir(resourceDir), m_language(language)
{
}

Bundle& Bundle::main()
{
    std::lock_guard<std::mutex> lock(g_mainMutex);
    auto& slot = mainBundleSlot();
    if (!slot) {
        const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/Resources/") + QCoreApplication::applicationName();
        slot = std::make_unique<Bundle>(dir);
    }
    return *slot;
}

void Bundle::setMain(const QString& resourceDir)
{
    std::lock_guard<std::mutex> lock(g_mainMutex);
    mainBundleSlot() = std::make_unique<Bundle>(resourceDir);
}

QString Bundle::pathForResource(const QString& name) const
{
    const QString path = m_resourceDir + QLatin1Char('/') + name;
    return QFile::exists(path) ? path : QString();
}

QString Bundle::pathForImageResource(const QString& name) const
{
    if (name.isEmpty())
        return {};
    const QString exact = pathForResource(name);
    if (!exact.isEmpty())
        return exact;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    for (const char* extension : {".svg", ".png"}) {
        const QString drawn = pathForResource(base + QLatin1String(extension));
        if (!drawn.isEmpty())
            return drawn;
    }
    return {};
}

PlistValue Bundle::infoDictionary() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_infoLoaded) {
        m_infoLoaded = true;
        const QString path = m_resourceDir + QStringLiteral("/Info.plist");
        if (!readPlistFile(path, m_info) || !m_info.isDictionary()) {
            logLine(QStringLiteral("Info.plist missing or unreadable: %1").arg(path));
            m_info = PlistValue(PlistValue::Dictionary());
        }
    }
    return m_info;
}

PlistValue Bundle::objectForInfoDictionaryKey(const QString& key) const
{
    return infoDictionary().value(key);
}

const PlistValue::Dictionary& Bundle::table(const QString& name) const
{
    auto it = m_tables.find(name);
    if (it == m_tables.end()) {
        PlistValue value;
        const QString path = m_resourceDir + QLatin1Char('/') + m_language + QLatin1Char('/') + name + QStringLiteral(".plist");
        if (!readPlistFile(path, value) || !value.isDictionary())
            logLine(QStringLiteral("String table missing or unreadable: %1").arg(path));
        it = m_tables.insert(name, value.toDictionary());
    }
    return *it;
}

QString Bundle::localizedString(const QString& key, const QString& tableName) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto& t = table(tableName);
    auto it = t.constFind(key);
    return (it != t.constEnd() && it->isString()) ? it->toString() : key;
}

bool Bundle::hasLocalizedString(const QString& key, const QString& tableName) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto& t = table(tableName);
    auto it = t.constFind(key);
    return it != t.constEnd() && it->isString();
}
