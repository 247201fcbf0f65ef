#include "tools/dbtools/FolderSize.h"

#include "platform/foundation/FileAttributes.h"

#include <QProcess>

namespace FolderSize {

quint64 parseDuOutput(const QByteArray& output, int* error)
{
    *error = 0;
    const QList<QByteArray> fields = output.split('\t');
    if (fields.isEmpty()) {
        *error = kBadOutput;
        return 0;
    }
    const QByteArray& first = fields.first();
    if (first.isEmpty())
        return 0;
    for (const char c : first) {
        if (c < '0' || c > '9') {
            *error = kBadOutput;
            return 0;
        }
    }
    bool ok = false;
    const quint64 kibibytes = first.toULongLong(&ok);
    if (!ok || kibibytes > (~quint64(0) >> 10)) {
        *error = kBadOutput;
        return 0;
    }
    return kibibytes << 10;
}

quint64 getSizeWithPath(const QString& path, int* error)
{
    *error = 0;
    FileAttributes attributes;
    if (path.isEmpty() || (readFileAttributes(path, &attributes) && !attributes.exists))
        return 0;
    QProcess du;
    du.setProcessChannelMode(QProcess::SeparateChannels);
    du.setStandardErrorFile(QProcess::nullDevice());
    du.start(QStringLiteral("/usr/bin/du"), {QStringLiteral("-k"), QStringLiteral("-s"), path});
    if (!du.waitForStarted(-1)) {
        *error = kCommandFailed;
        return 0;
    }
    du.closeWriteChannel();
    du.waitForFinished(-1);
    const QByteArray output = du.readAllStandardOutput();
    if (du.exitStatus() != QProcess::NormalExit || du.exitCode() != 0 || output.isEmpty()) {
        *error = kBadOutput;
        return 0;
    }
    return parseDuOutput(output, error);
}

} // namespace FolderSize
