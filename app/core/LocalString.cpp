#include "app/core/LocalString.h"

#include "app/core/VersionUtilities.h"
#include "platform/foundation/Bundle.h"

#include <QFileInfo>

namespace {
const QString kOS108Suffix = QStringLiteral("_OS108");
}

bool hasMainBundle()
{
    return QFileInfo(Bundle::main().resourcePath()).isDir();
}

QString getLocalString(const QString& key)
{
    if (key.isNull() || !hasMainBundle())
        return QString();
    return Bundle::main().localizedString(key);
}

QString getProperKey(const QString& key)
{
    if (key.isEmpty())
        return key;
    return getSystemVersion() >= 0x1080 ? key + kOS108Suffix : key;
}
