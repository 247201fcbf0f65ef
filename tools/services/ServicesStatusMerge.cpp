#include "tools/services/ServicesStatusMerge.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/ServicesStatus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

MergeOutcome writeBytes(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !replaceSettingsFile(path, bytes)) {
        logLine(QStringLiteral("Could not write %1").arg(path));
        return MergeOutcome::WriteFailed;
    }
    return MergeOutcome::Merged;
}

} // namespace

MergeOutcome mergeServicesStatus(const QString& toolFilePath, const QString& userFilePath)
{
    const QString statusKey = QLatin1String(kServicesStatusKey);

    QFile toolFile(toolFilePath);
    if (!toolFile.open(QIODevice::ReadOnly))
        return MergeOutcome::NothingToMerge;
    const QByteArray toolBytes = toolFile.readAll();
    if (toolBytes.isEmpty())
        return MergeOutcome::NothingToMerge;
    PlistValue toolRoot;
    if (!parsePlist(toolBytes, toolRoot)) {
        logLine(QStringLiteral("%1 is not a property list").arg(toolFilePath));
        return MergeOutcome::NothingToMerge;
    }
    const PlistValue toolStatus = toolRoot.value(statusKey);
    if (!toolStatus.isDictionary())
        return MergeOutcome::NothingToMerge;
    const PlistValue::Dictionary toolEntries = toolStatus.toDictionary();
    if (toolEntries.isEmpty()) {
        logLine(QStringLiteral("%1 has an empty %2 dictionary").arg(toolFilePath, statusKey));
        return MergeOutcome::NothingToMerge;
    }
    const QString serviceKey = toolEntries.firstKey();

    QFile userFile(userFilePath);
    if (!userFile.exists())
        return writeBytes(userFilePath, toolBytes);
    if (!userFile.open(QIODevice::ReadOnly)) {
        logLine(QStringLiteral("%1 cannot be read; left as it is").arg(userFilePath));
        return MergeOutcome::UserFileKept;
    }
    const QByteArray userBytes = userFile.readAll();
    // An empty file holds no settings that could be lost.
    if (userBytes.isEmpty())
        return writeBytes(userFilePath, toolBytes);

    // Replacing a file we cannot parse would lose the user's other settings: leave it.
    PlistValue userRoot;
    PlistFormat format = PlistFormat::Binary;
    if (!parsePlist(userBytes, userRoot, &format) || !userRoot.isDictionary()) {
        logLine(QStringLiteral("%1 is not a property-list dictionary; left as it is").arg(userFilePath));
        return MergeOutcome::UserFileKept;
    }

    const PlistValue userStatus = userRoot.value(statusKey);
    if (userStatus.isDictionary()) {
        if (userStatus.contains(serviceKey))
            return MergeOutcome::AlreadyPresent;
        PlistValue merged = userStatus;
        merged.insert(serviceKey, toolEntries.first());
        userRoot.insert(statusKey, merged);
    } else {
        userRoot.insert(statusKey, toolStatus);
    }

    const QByteArray bytes = serializePlist(userRoot, format);
    if (bytes.isEmpty())
        return MergeOutcome::WriteFailed;
    return writeBytes(userFilePath, bytes);
}
