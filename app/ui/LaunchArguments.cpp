#include "app/ui/LaunchArguments.h"

#include "platform/foundation/ServicesStatus.h"

#include <QFile>

#include <unistd.h>

LaunchArguments parseLaunchArguments(const QList<QByteArray>& arguments, const QByteArray& cwd)
{
    LaunchArguments parsed;
    bool onlyFiles = false;
    for (const QByteArray& argument : arguments) {
        if (!onlyFiles && argument == "--") {
            onlyFiles = true;
            continue;
        }
        if (!onlyFiles && argument == kServicesSearchOption) {
            parsed.searchSelection = true;
            continue;
        }
        if (argument.isEmpty()) {
            parsed.refused.append(QStringLiteral("an empty file name"));
            continue;
        }
        if (!onlyFiles && argument.startsWith('-')) {
            parsed.refused.append(QStringLiteral("unknown option %1 (a file whose name starts with \"-\" goes after \"--\")")
                                      .arg(QFile::decodeName(argument)));
            continue;
        }
        parsed.request.paths.append(argument.startsWith('/') ? argument : cwd + '/' + argument);
    }
    if (!parsed.request.paths.isEmpty())
        parsed.request.kind = InstanceRequest::Kind::OpenFiles;
    return parsed;
}

QStringList pathsForImport(const QList<QByteArray>& paths, const QString& aliasFolder, QStringList* refused)
{
    QStringList result;
    int number = 0;
    for (const QByteArray& path : paths) {
        const QString decoded = QFile::decodeName(path);
        if (QFile::encodeName(decoded) == path) {
            result.append(decoded);
            continue;
        }
        // The link keeps the readable part of the name and its extension, which the import reads.
        const qsizetype slash = decoded.lastIndexOf(QLatin1Char('/'));
        QString name = decoded.mid(slash + 1);
        name.replace(QChar(QChar::ReplacementCharacter), QLatin1Char('_'));
        const QString alias = QStringLiteral("%1/%2-%3").arg(aliasFolder).arg(++number).arg(name);
        if (aliasFolder.isEmpty() || ::symlink(path.constData(), QFile::encodeName(alias).constData()) != 0) {
            if (refused)
                refused->append(QStringLiteral("%1: the name cannot be read as text").arg(decoded));
            continue;
        }
        result.append(alias);
    }
    return result;
}
