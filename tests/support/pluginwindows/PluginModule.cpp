#include "tests/support/pluginwindows/PluginModule.h"

#include <QFile>

#include <dlfcn.h>

PluginModule::PluginModule()
{
    const QString module = qEnvironmentVariable("PELMORA_STAGE_DIR") + "/Bundles/Quendrel.bundle/Contents/Linux/libQuendrel.so";
    m_handle = dlopen(QFile::encodeName(module).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        m_error = QString::fromLocal8Bit(dlerror());
        return;
    }
    m_entry = reinterpret_cast<QuendrelStartQDLFunction>(dlsym(m_handle, QUENDREL_ENTRY_SYMBOL));
    if (!m_entry)
        m_error = QStringLiteral("no entry");
}

PluginModule::~PluginModule()
{
    if (m_handle)
        dlclose(m_handle);
}

int PluginModule::upload(const QString& cardFile, bool outputCSV) const
{
    return m_entry(0, QFile::encodeName(cardFile).constData(), nullptr, outputCSV ? 1 : 0);
}

int PluginModule::settingsOnly() const
{
    return m_entry(1, nullptr, nullptr, 0);
}
