// The staged plug-in loaded as the host loads it: dlopen of the bundle's module, the C entry.
#pragma once

#include "plugin/Entry/QuendrelEntry.h"

#include <QString>

class PluginModule {
public:
    PluginModule();
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Null when the module or its entry could not be found; error() tells why.
    QuendrelStartQDLFunction entry() const { return m_entry; }
    const QString& error() const { return m_error; }

    int upload(const QString& cardFile, bool outputCSV = false) const;
    int settingsOnly() const;

private:
    void* m_handle = nullptr;
    QuendrelStartQDLFunction m_entry = nullptr;
    QString m_error;
};
