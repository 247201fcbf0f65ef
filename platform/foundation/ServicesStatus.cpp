#include "platform/foundation/ServicesStatus.h"

#include "platform/foundation/PlistFile.h"
#include "platform/foundation/StandardPaths.h"

QString servicesStatusFilePath()
{
    return userConfigDir() + QStringLiteral("/com.orvane.zor/pbs.plist");
}

bool isServiceEnabled(const QString& serviceKey)
{
    PlistValue root;
    if (!readPlistFile(servicesStatusFilePath(), root))
        return true;
    const PlistValue flag = root.value(QLatin1String(kServicesStatusKey)).value(serviceKey).value(QLatin1String(kServicesMenuEnabledKey));
    return flag.toBool(true);
}
