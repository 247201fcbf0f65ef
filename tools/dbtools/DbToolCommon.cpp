#include "tools/dbtools/DbToolCommon.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/Md5.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/store/DatabaseLayout.h"
#include "platform/workspace/Workspace.h"

#include <QFile>
#include <QFileInfo>


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
    FileAttributes attributes;
    if (!readFileAttributes(path, &attributes))
        return false;
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
    return DatabaseLock::isLockFileHeld(lockFilePath);
}

int DbToolCommon::CheckDBAttributes(const QString& folder, ToolVariant variant)
{
    if (folder.isNull())
        return -1;
    // An item whose attributes cannot be read exists (something refused the look), with `readOk` false.
    struct Item {
        FileAttributes attributes;
        bool readOk = false;
        bool present() const { return !readOk || attributes.exists; }
    };
    const auto read = [](const QString& path) {
        Item item;
        item.readOk = readFileAttributes(path, &item.attributes);
        return item;
    };
    const Item folderItem = read(folder);
    const Item storeItem = read(DatabaseLayout::storeFilePath(folder));
    if (!folderItem.present() || !storeItem.present())
        return 1;

    Item images;
    Item files;
    QList<const Item*> tested{&folderItem, &storeItem};
    if (variant == ToolVariant::Vostrand) {
        images = read(DatabaseLayout::imagesFolderPath(folder));
        files = read(DatabaseLayout::filesFolderPath(folder));
        if (images.present())
            tested.append(&images);
        if (files.present())
            tested.append(&files);
    }
    for (const Item* item : tested) {
        if (!item->readOk)
            return -1;
        if (item->attributes.immutable)
            return 3;
    }
    const FileAttributes& folderAttributes = folderItem.attributes;
    const FileAttributes& storeAttributes = storeItem.attributes;

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
    for (const Item* item : tested) {
        allReadable = allReadable && item->attributes.readable;
        allWritable = allWritable && item->attributes.writable;
        noneWritable = noneWritable && !item->attributes.writable;
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
    FileAttributes attributes;
    if (path.isEmpty() || !readFileAttributes(path, &attributes) || !attributes.exists)
        return false;
    const std::optional<VolumeInfo> volume = Workspace::shared().volumeInfo(path);
    return volume && volume->freeBytes != 0 && volume->freeBytes >= fileSize;
}

QString DbToolCommon::getLocalString(const QString& key)
{
    if (key.isNull())
        return {};
    return Bundle::main().localizedString(key);
}

QString DbToolCommon::copyPelmoraDBPath()
{
    const PreferenceDomain domain(QLatin1String(DatabaseLayout::kMainApplicationDomain));
    const PlistValue value = domain.value(QLatin1String(DatabaseLayout::kDBPathKey));
    return value.isString() ? value.toString() : QString();
}

QString DbToolCommon::initialDBPath()
{
    const QString path = copyPelmoraDBPath();
    if (DatabaseLayout::hasDatabaseExtension(path) && isPathExists(path, kFolderKind))
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
