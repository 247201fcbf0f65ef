#include "platform/foundation/PreferenceDomain.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/StandardPaths.h"

#include <QDir>
#include <QFile>

namespace {
std::unique_ptr<PreferenceDomain>& standardSlot()
{
    static std::unique_ptr<PreferenceDomain> domain;
    return domain;
}
std::mutex g_standardMutex;
}

PreferenceDomain::PreferenceDomain(const QString& domain, const QString& directory)
    : m_domain(domain), m_directory(directory)
{
}

PreferenceDomain& PreferenceDomain::standard()
{
    std::lock_guard<std::mutex> lock(g_standardMutex);
    auto& slot = standardSlot();
    if (!slot)
        slot = std::make_unique<PreferenceDomain>(QStringLiteral("com.orvane.zor.Pelmora"));
    return *slot;
}

void PreferenceDomain::setStandardDomain(const QString& domain, const QString& directory)
{
    std::lock_guard<std::mutex> lock(g_standardMutex);
    standardSlot() = std::make_unique<PreferenceDomain>(domain, directory);
}

QString PreferenceDomain::filePath() const
{
    const QString dir = m_directory.isEmpty() ? userConfigDir() : m_directory;
    return dir + QLatin1Char('/') + m_domain + QStringLiteral(".plist");
}

void PreferenceDomain::loadLocked() const
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_values.clear();
    const QString path = filePath();
    if (!QFile::exists(path))
        return;
    PlistValue root;
    if (!readPlistFile(path, root) || !root.isDictionary()) {
        logLine(QStringLiteral("Preferences unreadable, defaults used: %1").arg(path));
        return;
    }
    m_values = root.toDictionary();
}

PlistValue PreferenceDomain::value(const QString& key) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    loadLocked();
    auto it = m_values.constFind(key);
    if (it != m_values.constEnd())
        return *it;
    auto def = m_defaults.constFind(key);
    return def != m_defaults.constEnd() ? *def : PlistValue();
}

bool PreferenceDomain::contains(const QString& key) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    loadLocked();
    return m_values.contains(key);
}

void PreferenceDomain::setValue(const QString& key, const PlistValue& value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    loadLocked();
    if (value.isNull())
        m_values.remove(key);
    else
        m_values.insert(key, value);
    m_dirty = true;
}

void PreferenceDomain::remove(const QString& key)
{
    setValue(key, PlistValue());
}

void PreferenceDomain::registerDefaults(const PlistValue::Dictionary& defaults)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = defaults.constBegin(); it != defaults.constEnd(); ++it)
        m_defaults.insert(it.key(), it.value());
}

PlistValue::Dictionary PreferenceDomain::dictionary() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    loadLocked();
    PlistValue::Dictionary all = m_defaults;
    for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it)
        all.insert(it.key(), it.value());
    return all;
}

bool PreferenceDomain::synchronize()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    loadLocked();
    bool ok = true;
    if (m_dirty) {
        const QString path = filePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        ok = writePlistFile(path, PlistValue(m_values), PlistFormat::Xml);
        if (!ok)
            logLine(QStringLiteral("Preferences could not be written: %1").arg(path));
        else
            m_dirty = false;
    }
    if (ok) {
        m_loaded = false;
        loadLocked();
    }
    return ok;
}

void PreferenceDomain::reload()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dirty = false;
    m_loaded = false;
    loadLocked();
}
