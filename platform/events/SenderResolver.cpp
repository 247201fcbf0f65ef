#include "platform/events/SenderResolver.h"

#include <QFile>
#include <QFileInfo>

namespace {

QByteArray readProcFile(pid_t pid, const char* name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(64 * 1024);
}

} // namespace

pid_t ProcSenderResolver::parentOf(pid_t pid)
{
    // The command name in "stat" is in parentheses and may hold spaces: read after the last ')'.
    const QByteArray stat = readProcFile(pid, "stat");
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    if (fields.size() < 2)
        return -1;
    bool ok = false;
    const int ppid = fields.at(1).toInt(&ok);
    return ok ? static_cast<pid_t>(ppid) : -1;
}

QString ProcSenderResolver::processName(pid_t pid)
{
    const QByteArray cmdline = readProcFile(pid, "cmdline");
    const QByteArray argv0 = cmdline.left(cmdline.indexOf('\0') < 0 ? cmdline.size() : cmdline.indexOf('\0'));
    if (!argv0.isEmpty()) {
        const QString name = QFileInfo(QFile::decodeName(argv0)).fileName();
        if (!name.isEmpty())
            return name;
    }
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
    if (!exe.isEmpty())
        return QFileInfo(exe).fileName();
    return QString::fromUtf8(readProcFile(pid, "comm")).trimmed();
}

QString ProcSenderResolver::senderNameForProcess(pid_t pid) const
{
    const pid_t parent = parentOf(pid);
    return parent > 0 ? processName(parent) : QString();
}
