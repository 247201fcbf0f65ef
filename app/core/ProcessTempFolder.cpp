#include "app/core/ProcessTempFolder.h"

#include "platform/foundation/StandardPaths.h"
#include "platform/foundation/TreeRemoval.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

QString makeProcessTempFolder(const QString& prefix)
{
    const QString base = privateTempDir();
    if (base.isEmpty())
        return {};
    QByteArray pattern = QFile::encodeName(base + QLatin1Char('/') + prefix + QString::number(::getpid()) + QStringLiteral("-XXXXXX"));
    if (!mkdtemp(pattern.data()))
        return {};
    return QFile::decodeName(pattern);
}

void sweepProcessTempFolders(const QString& prefix)
{
    const QString base = privateTempDir();
    if (base.isEmpty())
        return;
    const QRegularExpression folder(QStringLiteral("^") + QRegularExpression::escape(prefix) + QStringLiteral("(\\d+)-[A-Za-z0-9]{6}$"));
    for (const QString& name : QDir(base).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = folder.match(name);
        if (!match.hasMatch())
            continue;
        // A process id in use again keeps the folder: only a process that is surely gone loses it.
        const pid_t pid = pid_t(match.captured(1).toLongLong());
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            removeTreeIn(base, name);
    }
}
