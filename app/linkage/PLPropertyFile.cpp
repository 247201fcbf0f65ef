#include "app/linkage/PLPropertyFile.h"

#include "app/core/DiskUtilities.h"
#include "app/linkage/LinkageStatus.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PlistFile.h"

#include <QFile>
#include <QFileInfo>

PLPropertyFile::PLPropertyFile(const QString& fullFilePath) : _fullFilePath(fullFilePath) {}

int PLPropertyFile::open()
{
    if (_fullFilePath.isEmpty())
        return linkage::kNoPath;
    const QFileInfo info(_fullFilePath);
    if (!info.exists() || info.isDir())
        return linkage::kMissing;
    QFile file(_fullFilePath);
    if (!file.open(QIODevice::ReadOnly))
        return linkage::kReadFailed;
    const QByteArray bytes = file.read(kMaxPlistBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return linkage::kReadFailed;
    PlistValue root;
    PlistFormat format = PlistFormat::Xml;
    if (!parsePlist(bytes, root, &format)) {
        PLNSLog(QStringLiteral("Error reading plist: %@, format: %d"), QStringLiteral("not a property list"), 0);
        return linkage::kParseFailed;
    }
    if (!root.isDictionary())
        return linkage::kWrongType;
    _contents = root.toDictionary();
    return 0;
}

int PLPropertyFile::parse()
{
    return open();
}

int PLPropertyFile::validate()
{
    return 0;
}

int PLPropertyFile::save()
{
    return saveToFile(_fullFilePath);
}

int PLPropertyFile::saveToFile(const QString& path)
{
    if (path.isEmpty() || !_contents)
        return linkage::kArgument;
    const QByteArray bytes = serializePlist(PlistValue(*_contents), PlistFormat::Xml);
    if (bytes.isEmpty())
        return linkage::kParseFailed;
    const QString folder = QFileInfo(path).absolutePath();
    FileAttributes attributes;
    if (!readFileAttributes(folder, &attributes) || !attributes.exists || !attributes.isDirectory)
        return linkage::kMissing;
    if (!attributes.writable)
        return linkage::kNotWritable;
    if (checkDiskSize(folder, static_cast<uint64_t>(bytes.size()) + g_lDiskSize) != 0)
        return linkage::kNoSpace;
    return replaceSettingsFile(path, bytes) ? 0 : linkage::kWriteFailed;
}

PlistValue PLPropertyFile::valueForKey(const QString& key) const
{
    if (key.isEmpty() || !_contents)
        return PlistValue();
    return _contents->value(key);
}

void PLPropertyFile::setValue(const PlistValue& value, const QString& key)
{
    if (value.isNull() || key.isEmpty() || !_contents)
        return;
    _contents->insert(key, value);
}
