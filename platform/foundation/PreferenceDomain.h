// A preference domain: one property list per domain under the user's configuration folder,
// with typed values. Changes stay in memory until `synchronize`, which writes atomically.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <QString>

#include <mutex>

class PreferenceDomain {
public:
    // `directory` empty: the user's configuration folder at the time of each read or write.
    explicit PreferenceDomain(const QString& domain, const QString& directory = QString());

    // The running program's own domain (set once at start-up by each program).
    static PreferenceDomain& standard();
    static void setStandardDomain(const QString& domain, const QString& directory = QString());

    QString domain() const { return m_domain; }
    QString filePath() const;

    PlistValue value(const QString& key) const;   // falls back to the registered defaults
    bool contains(const QString& key) const;      // set in the file or in memory, defaults not counted
    void setValue(const QString& key, const PlistValue& value);
    void remove(const QString& key);
    void registerDefaults(const PlistValue::Dictionary& defaults);
    PlistValue::Dictionary dictionary() const;

    // Writes pending changes and re-reads the file; false when writing failed.
    bool synchronize();
    // Drops unsaved changes and reads the file again.
    void reload();

private:
    void loadLocked() const;

    QString m_domain;
    QString m_directory;
    mutable std::mutex m_mutex;
    mutable bool m_loaded = false;
    mutable PlistValue::Dictionary m_values;
    PlistValue::Dictionary m_defaults;
    bool m_dirty = false;
};
