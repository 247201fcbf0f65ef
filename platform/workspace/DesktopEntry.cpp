#include "platform/workspace/DesktopEntry.h"

#include "platform/foundation/StandardPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>

namespace {

QStringList applicationDirs()
{
    QStringList dirs{userDataDir() + QStringLiteral("/applications")};
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        dirs.append(dir + QStringLiteral("/applications"));
    return dirs;
}

} // namespace

QString desktopExecProgram(const QString& exec)
{
    QString token;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size())
                token.append(exec.at(++i));
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                token.append(c);
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c.isSpace()) {
            if (!token.isEmpty())
                break;
        } else {
            token.append(c);
        }
    }
    return token;
}

bool readDesktopEntry(const QString& filePath, const QString& id, DesktopEntry& entry)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    bool inGroup = false;
    bool application = false;
    bool hidden = false;
    QString exec, tryExec;
    entry = DesktopEntry{id, {}, {}, {}, filePath, {}, {}};
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inGroup || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("Type"))
            application = value == QLatin1String("Application");
        else if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("Exec"))
            exec = value;
        else if (key == QLatin1String("TryExec"))
            tryExec = value;
        else if (key == QLatin1String("Icon"))
            entry.icon = value;
        else if (key == QLatin1String("X-AppVersion"))
            entry.version = value;
        else if (key == QLatin1String("Hidden"))
            hidden = value == QLatin1String("true");
    }
    if (!application || hidden)
        return false;
    entry.exec = exec;
    const QString program = desktopExecProgram(tryExec.isEmpty() ? exec : tryExec);
    if (!program.isEmpty())
        entry.executable = QDir::isAbsolutePath(program) ? program : QStandardPaths::findExecutable(program);
    return true;
}

QList<DesktopEntry> desktopEntries()
{
    QList<DesktopEntry> entries;
    QSet<QString> seen;
    for (const QString& dir : applicationDirs()) {
        QDirIterator it(dir, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QString id = QDir(dir).relativeFilePath(path);
            id.chop(8); // ".desktop"
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            if (seen.contains(id))
                continue;
            seen.insert(id);
            DesktopEntry entry;
            if (readDesktopEntry(path, id, entry))
                entries.append(entry);
        }
    }
    return entries;
}
