#include "app/core/DiskUtilities.h"

#include "app/core/PLChecker.h"
#include "platform/foundation/Log.h"
#include "platform/workspace/Workspace.h"

#include <QProcess>
#include <QStringDecoder>

#include <exception>

uint64_t g_lDiskSize = kDefaultDiskSize;

namespace {
const QString kDuProgram = QStringLiteral("/usr/bin/du");
const QString kDuFailed = QStringLiteral("Du failed, result %d");
const QString kDuNothing = QStringLiteral("Get nothing from Du command. Path:[%@]");
const QString kDuNotNumber = QStringLiteral("The value got from Du command is not number. Path:[%@]");
const QString kDuException = QStringLiteral("Exception happended when get file size by using du command. Exception:[%@]");

uint64_t measureWithDu(const QString& path, int32_t* status)
{
    QProcess du;
    du.setProgram(kDuProgram);
    // "--" keeps a path that begins with "-" from being read as an option.
    du.setArguments({QStringLiteral("-k"), QStringLiteral("-s"), QStringLiteral("--"), path});
    du.setReadChannel(QProcess::StandardOutput);
    du.setStandardErrorFile(QProcess::nullDevice());
    du.start(QIODevice::ReadOnly);
    if (!du.waitForStarted(-1))
        return 0;
    du.waitForFinished(-1);
    const QByteArray output = du.readAllStandardOutput();
    du.close();
    const int exitCode = du.exitStatus() == QProcess::NormalExit ? du.exitCode() : -1;
    if (exitCode != 0 || output.isEmpty()) {
        PLNSLog(kDuFailed, exitCode);
        return 0;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(output);
    if (decoder.hasError())
        return 0;
    const QStringList parts = text.split(QLatin1Char('\t'));
    if (parts.isEmpty() || parts.first().isEmpty()) {
        PLNSLog(kDuNothing, path);
        return 0;
    }
    const QString& kib = parts.first();
    for (QChar c : kib) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            PLNSLog(kDuNotNumber, path);
            return 0;
        }
    }
    const double value = kib.toDouble();
    if (value >= 18446744073709551616.0 / 1024.0) {
        PLNSLog(kDuNotNumber, path);
        return 0;
    }
    *status = 0;
    return static_cast<uint64_t>(value) * 1024;
}

} // namespace

int checkDiskSize(const QString& path, uint64_t needed)
{
    if (!PLChecker::isPathExists(path, 0))
        return 1;
    const std::optional<quint64> free = Workspace::shared().freeBytes(path);
    if (!free || *free == 0 || *free < needed)
        return 1;
    return 0;
}

uint64_t getSizeWithPath(const QString& path, int32_t* status)
{
    if (path.isNull() || !status)
        return 0;
    *status = -1;
    if (!PLChecker::isPathExists(path, 0))
        return 0;
    try {
        return measureWithDu(path, status);
    } catch (const std::exception& e) {
        PLNSLog(kDuException, QString::fromLocal8Bit(e.what()));
        *status = -1;
        return 0;
    }
}

QString checkFileName(const QString& name, bool isPath)
{
    QString parent;
    QString component = name;
    if (isPath) {
        const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
        if (slash >= 0) {
            parent = name.left(slash + 1);
            component = name.mid(slash + 1);
        }
    }
    if (component.startsWith(QLatin1Char('.')))
        component[0] = QLatin1Char('_');
    component.replace(QLatin1Char(':'), QLatin1Char('_'));
    component.replace(QLatin1Char('/'), QLatin1Char('_'));
    return parent + component;
}
