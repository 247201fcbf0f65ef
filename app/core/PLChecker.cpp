#include "app/core/PLChecker.h"

#include "app/core/PLMessage.h"
#include "app/core/StringUtilities.h"
#include "app/core/VersionUtilities.h"
#include "platform/workspace/LocalVolume.h"
#include "platform/workspace/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

const QString kSkipNoNameQuestion = QStringLiteral("IDS_MSG_IS_SKIP_NO_NAME_DATA");
const QString kFullNameKey = QStringLiteral("full_Name");

} // namespace

bool PLChecker::isBlank(const QString& text)
{
    if (text.isNull())
        return true;
    // Made once: the check runs for every card of an export.
    static const QString set = blankAndNewLineCharacters();
    for (QChar c : text) {
        if (!set.contains(c))
            return false;
    }
    return true;
}

bool PLChecker::isPathExists(const QString& path, int pathKind)
{
    if (isBlank(path) || pathKind < kPathAny || pathKind > kPathFolder)
        return false;
    struct stat st {};
    if (stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    const bool folder = S_ISDIR(st.st_mode);
    return pathKind == kPathAny || (pathKind == kPathFolder) == folder;
}

bool PLChecker::isKindOfClass(QMetaType type, const QVariant& object)
{
    return object.isValid() && !object.isNull() && object.metaType() == type;
}

bool PLChecker::isValidPathLength(const QString& path, int lengthLimited)
{
    return isBlank(path) || QFile::encodeName(path).size() <= lengthLimited;
}

bool PLChecker::isMacOSXVersionAbove(int version)
{
    return getSystemVersion() >= version;
}

bool PLChecker::makeDirectoryIfNotExists(const QString& path)
{
    if (isBlank(path))
        return false;
    if (isPathExists(path, kPathFolder))
        return true;
    QString prefix = path.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    for (const QString& component : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!prefix.isEmpty() && !prefix.endsWith(QLatin1Char('/')))
            prefix += QLatin1Char('/');
        prefix += component;
        if (isPathExists(prefix, kPathFolder))
            continue;
        // Another thread may make the same folder meanwhile: the check below judges the result.
        if (mkdir(QFile::encodeName(prefix).constData(), 0777) != 0 && errno != EEXIST)
            return false;
    }
    return isPathExists(path, kPathFolder);
}

bool PLChecker::checkDataListBeforeExport(const QList<QVariantMap>& dataList, QList<QVariantMap>* newDataList)
{
    if (dataList.isEmpty() || !newDataList)
        return false;
    QList<QVariantMap> kept;
    for (const QVariantMap& card : dataList) {
        if (!isBlank(card.value(kFullNameKey).toString()))
            kept.append(card);
    }
    if (kept.size() != dataList.size()) {
        const int answer = PLMessage::ShowPLInfoMessageBySheet(nullptr, kSkipNoNameQuestion, 0, 1, QString());
        if (kept.isEmpty() || answer != 1)
            return false;
    }
    *newDataList = kept;
    return true;
}

int PLChecker::checkPath(const QString& path)
{
    if (!isPathExists(path, kPathAny))
        return kPathMissing;
    const Workspace& workspace = Workspace::shared();
    const auto volume = workspace.volumeInfo(path);
    if (!volume || !LocalVolume::isNativeFileSystem(volume->fileSystemType))
        return kPathNotLocal;
    return workspace.mountedRemovableMedia().contains(volume->mountPoint) ? kPathNotLocal : kPathLocal;
}
