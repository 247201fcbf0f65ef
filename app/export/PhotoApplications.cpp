#include "app/export/PhotoApplications.h"

#include "platform/foundation/PreferenceDomain.h"
#include "platform/workspace/Workspace.h"

QString photoApplicationIdentifier(int appType)
{
    if (appType != 1 && appType != 2)
        return QString();
    const QString key = QStringLiteral("Photo application %1 desktop entry").arg(appType);
    const QString stored = PreferenceDomain::standard().value(key).toString().trimmed();
    if (!stored.isEmpty())
        return stored;
    return appType == 1 ? QStringLiteral("org.gnome.Shotwell") : QStringLiteral("org.kde.digikam");
}

bool isPhotoApplicationInstalled(int appType)
{
    const QString identifier = photoApplicationIdentifier(appType);
    return !identifier.isEmpty() && Workspace::shared().applicationWithIdentifier(identifier).has_value();
}
