// Applications as the freedesktop desktop-entry files describe them ("<data dir>/applications/*.desktop"),
// searched in $XDG_DATA_HOME, then each folder of $XDG_DATA_DIRS; the first entry with a given id wins.
#pragma once

#include <QList>
#include <QString>

struct DesktopEntry {
    QString id;          // "com.orvane.zor.Quillant" for ".../applications/com.orvane.zor.Quillant.desktop"
    QString name;        // the untranslated "Name"
    QString executable;  // the program of "Exec", made absolute through $PATH; empty when not found
    QString icon;        // "Icon": a theme icon name or an absolute path
    QString filePath;
    QString exec;        // the "Exec" value as written
    QString version;     // "X-AppVersion", the application's own version; empty when not given
};

// Parses one entry; false when the file has no "[Desktop Entry]" group of type Application.
bool readDesktopEntry(const QString& filePath, const QString& id, DesktopEntry& entry);
// Every application entry visible to the user (shadowed and hidden ones left out).
QList<DesktopEntry> desktopEntries();
// The first token of an "Exec" value, with the quoting rules of desktop entries.
QString desktopExecProgram(const QString& exec);
