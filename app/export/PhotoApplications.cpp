#include "app/export/PhotoApplications.h"

#include "platform/foundation/PreferenceDomain.h"
#include "platform/workspace/Workspace.h"

#include <QStringList>

namespace {

QStringList photoApplicationIdentifiers(int appType)
{
    if (appType != 1 && appType != 2)
        return {};
    const QString key = QStringLiteral("Photo application %1 desktop entry").arg(appType);
    QStringList listed;
    for (const QString& id : PreferenceDomain::standard().value(key).toString().split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!id.trimmed().isEmpty())
            listed.append(id.trimmed());
    }
    if (!listed.isEmpty())
        return listed;
    return appType == 1 ? QStringList{QStringLiteral("shotwell"), QStringLiteral("org.gnome.Shotwell")}
                        : QStringList{QStringLiteral("org.kde.digikam")};
}

} // namespace

QString photoApplicationIdentifier(int appType)
{
    const QStringList listed = photoApplicationIdentifiers(appType);
    for (const QString& id : listed) {
        if (Workspace::shared().applicationWithIdentifier(id))
            return id;
    }
    return listed.value(0);
}

bool isPhotoApplicationInstalled(int appType)
{
    const QString identifier = photoApplicationIdentifier(appType);
    return !identifier.isEmpty() && Workspace::shared().applicationWithIdentifier(identifier).has_value();
}
