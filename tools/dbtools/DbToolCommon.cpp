#include "tools/dbtools/DbToolCommon.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/Md5.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tools/dbtools/DatabaseFolder.h"
#include "tools/dbtools/FileAttributes.h"

#include <QFile>
#include <QFileInfo>

#include <sys/statvfs.h>

const QString& DbToolCommon::blankAndNewLineCharacters()
{
    static const QString characters = QString::fromUtf16(u"\u0009\u0020\u3000\u000A\u000D\u0085\u2028");
    return characters;
}

bool DbToolCommon::isBlank(const QString& text)
{
    const QString& blanks = blankAndNewLineCharacters();
    for (const QChar c : text) {
        if (!blanks.contains(c))
            return false;
    }
    return true;
}

bool DbToolCommon::isEmptyString(const QString& text)
{
    return text.isEmpty();
}

bool DbToolCommon::isPathExists(const QString& path, int pathKind, ToolVariant variant)
{
    if (isBlank(path))
        return false;
    const PathAttributes attributes = FileAttributes::current().attributes(path);
    switch (pathKind) {
    case kAnyKind:
        return variant == ToolVariant::Vostrand && attributes.exists;
    case kFileKind:
        return attributes.exists && !attributes.isDirectory;
    case kFolderKind:
        return attributes.isDirectory;
    default:
        return false;
    }
}

bool DbToolCommon::isValidPathLength(const QString& path, int lengthLimited)
{
    return isBlank(path) || QFile::encodeName(path).size() <= lengthLimited;
}

bool DbToolCommon::CheckDBFileIsLocked(const QString& lockFilePath)
{
    if (lockFilePath.isEmpty())
        return false;
    const QString folder = QFileInfo(lockFilePath).path();
    if (!FileAttributes::current().attributes(folder).exists)
        return false;
    return DatabaseLock::probe(folder) != DatabaseLock::Result::Locked;
}

int DbToolCommon::CheckDBAttributes(const QString& folder, ToolVariant variant)
{
    if (folder.isNull())
        return -1;
    const FileAttributes& provider = FileAttributes::current();
    const PathAttributes folderAttributes = provider.attributes(folder);
    const PathAttributes storeAttributes = provider.attributes(DatabaseFolder::storeFilePath(folder));
    if (!folderAttributes.exists || !storeAttributes.exists)
        return 1;

    PathAttributes images;
    PathAttributes files;
    QList<const PathAttributes*> tested{&folderAttributes, &storeAttributes};
    if (variant == ToolVariant::Vostrand) {
        images = provider.attributes(folder + QLatin1Char('/') + DatabaseFolder::kImagesFolderName);
        files = provider.attributes(folder + QLatin1Char('/') + DatabaseFolder::kFilesFolderName);
        if (images.exists)
            tested.append(&images);
        if (files.exists)
            tested.append(&files);
    }
    for (const PathAttributes* item : tested) {
        if (!item->attributesReadable)
            return -1;
        if (item->immutable)
            return 3;
    }

    if (variant == ToolVariant::Harnwick) {
        const bool readable = folderAttributes.readable && storeAttributes.readable;
        const bool writable = folderAttributes.writable && storeAttributes.writable;
        if (readable)
            return writable ? 7 : 4;
        return writable ? 5 : 6;
    }

    bool allReadable = true;
    bool allWritable = true;
    bool noneWritable = true;
    for (const PathAttributes* item : tested) {
        allReadable = allReadable && item->readable;
        allWritable = allWritable && item->writable;
        noneWritable = noneWritable && !item->writable;
    }
    if (allReadable && allWritable)
        return 7;
    if (allReadable && noneWritable)
        return 4;
    if (!allReadable)
        return 2;
    return 8;
}

bool DbToolCommon::CheckDiskSizeIsEnough(const QString& path, quint64 fileSize)
{
    if (path.isEmpty() || !FileAttributes::current().attributes(path).exists)
        return false;
    struct statvfs st {};
    if (::statvfs(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    const quint64 freeBytes = static_cast<quint64>(st.f_bavail) * static_cast<quint64>(st.f_frsize);
    return freeBytes != 0 && freeBytes >= fileSize;
}

QString DbToolCommon::getLocalString(const QString& key)
{
    if (key.isNull())
        return {};
    return Bundle::main().localizedString(key);
}

QString DbToolCommon::copyPelmoraDBPath()
{
    const PreferenceDomain domain(DatabaseFolder::kMainApplicationDomain);
    const PlistValue value = domain.value(DatabaseFolder::kDBPathKey);
    return value.isString() ? value.toString() : QString();
}

QString DbToolCommon::initialDBPath()
{
    const QString path = copyPelmoraDBPath();
    if (QFileInfo(DatabaseFolder::withoutTrailingSlash(path)).suffix().toLower() == DatabaseFolder::kExtension && isPathExists(path, kFolderKind))
        return path;
    return QString();
}

QString DbToolCommon::getIllegalCharactersInPwdString(const QString& password)
{
    if (password.isEmpty())
        return {};
    QList<char32_t> found;
    for (const char32_t c : password.toUcs4()) {
        if ((c < 0x20 || c > 0x7E || c == U';') && !found.contains(c))
            found.append(c);
    }
    return found.isEmpty() ? QStringLiteral("") : QString::fromUcs4(found.constData(), found.size());
}

QString DbToolCommon::getMD5String(const QString& text)
{
    return md5Hex(text.toUtf8());
}
