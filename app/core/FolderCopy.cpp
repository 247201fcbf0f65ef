#include "app/core/FolderCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

FolderCopyResult copyFolderTree(const QString& source, const QString& destination,
                                const std::function<bool()>& shouldContinue)
{
    if (QFileInfo::exists(destination) || !QDir().mkdir(destination))
        return FolderCopyResult::Failed;
    QFile::setPermissions(destination, QFileInfo(source).permissions());
    const QFileInfoList entries = QDir(source).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (shouldContinue && !shouldContinue())
            return FolderCopyResult::Stopped;
        const QString target = destination + QLatin1Char('/') + entry.fileName();
        if (entry.isSymLink()) {
            if (!QFile::link(entry.symLinkTarget(), target))
                return FolderCopyResult::Failed;
        } else if (entry.isDir()) {
            const FolderCopyResult result = copyFolderTree(entry.filePath(), target, shouldContinue);
            if (result != FolderCopyResult::Copied)
                return result;
        } else if (!QFile::copy(entry.filePath(), target)) {
            return FolderCopyResult::Failed;
        }
    }
    return FolderCopyResult::Copied;
}
