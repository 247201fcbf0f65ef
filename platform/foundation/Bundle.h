// A program's resources: its Info.plist and its localised string tables.
// Layout of a resource folder: "Info.plist" and "<language>/<table>.plist" (a dictionary of key to text).
#pragma once

#include "platform/foundation/PlistValue.h"

#include <QHash>
#include <QString>

#include <memory>
#include <mutex>

// The suite's icon, shipped with the main application: relative to the application folder that
// holds Pelmora and the tools.
inline constexpr char kApplicationIconPath[] = "/Resources/Pelmora/Pelmora.svg";

class Bundle {
public:
    explicit Bundle(const QString& resourceDir, const QString& language = QStringLiteral("en"));

    // The running program's bundle: "<executable folder>/Resources/<application name>" unless set.
    static Bundle& main();
    static void setMain(const QString& resourceDir);

    QString resourcePath() const { return m_resourceDir; }
    QString pathForResource(const QString& name) const;
    // The file of a named image: the resource of that name, else one of the same base name drawn
    // as SVG or PNG (the images are delivered in the forms the toolkit reads, under the names the
    // code gives them); empty when there is none.
    QString pathForImageResource(const QString& name) const;

    // The Info.plist dictionary; a missing or malformed file gives an empty one (and a log line).
    PlistValue infoDictionary() const;
    PlistValue objectForInfoDictionaryKey(const QString& key) const;

    // The text of `key` in `table`; a key without entry answers the key itself.
    QString localizedString(const QString& key, const QString& table = QStringLiteral("Localizable")) const;
    bool hasLocalizedString(const QString& key, const QString& table = QStringLiteral("Localizable")) const;

private:
    const PlistValue::Dictionary& table(const QString& name) const;

    QString m_resourceDir;
    QString m_language;
    mutable std::mutex m_mutex;
    mutable bool m_infoLoaded = false;
    mutable PlistValue m_info;
    mutable QHash<QString, PlistValue::Dictionary> m_tables;
};
