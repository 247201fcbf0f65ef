#include "plugin/Common/HandoffFolder.h"

#include "plugin/Common/LogManager.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

// An absolute path without "." or ".." segments, as the host writes it.
bool isPlainAbsolute(const QString& path)
{
    return QDir::isAbsolutePath(path) && QDir::cleanPath(path) == path;
}

QString refuse(const QString& why)
{
    LogManager::LogOutput(kLogError, QStringLiteral("Card image folder left in place: ") + why);
    return QString();
}

}

QString HandoffFolder::folderToDelete(const QString& cardFilePath, const CardList& cards)
{
    QSet<QString> images;
    for (const auto& card : cards) {
        for (const QString& path : {card->ImageFilePathN1, card->ImageFilePathN2}) {
            if (path.isEmpty())
                continue;
            if (!isPlainAbsolute(path))
                return refuse(path);
            images.insert(path);
        }
    }
    if (images.isEmpty())
        return QString();
    const QString folder = QFileInfo(*images.begin()).absolutePath();
    for (const QString& path : images) {
        if (QFileInfo(path).absolutePath() != folder)
            return refuse(QStringLiteral("the images lie in several folders"));
    }
    const QFileInfo folderInfo(folder);
    if (folderInfo.isSymLink() || !folderInfo.isDir())
        return refuse(folder);
    const QString cardFolder = QFileInfo(cardFilePath).canonicalPath();
    const QFileInfo canonicalFolder(folderInfo.canonicalFilePath());
    if (cardFolder.isEmpty() || canonicalFolder.absolutePath() != cardFolder || canonicalFolder.absoluteFilePath() == cardFolder)
        return refuse(folder + QStringLiteral(" is not beside the card file"));
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || !entry.isFile() || !images.contains(QDir(folder).filePath(entry.fileName())))
            return refuse(folder + QStringLiteral(" holds other files"));
    }
    return canonicalFolder.absoluteFilePath();
}
