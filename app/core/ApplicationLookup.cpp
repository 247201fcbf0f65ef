#include "app/core/ApplicationLookup.h"

#include "platform/foundation/Bundle.h"
#include "platform/workspace/HelpBook.h"
#include "platform/workspace/Workspace.h"

#include <QFileInfo>

namespace {

const QString kDefaultIconResource = QStringLiteral("DefaultIconImage.tiff");

std::optional<ApplicationInfo> findApplication(const QString& nameOrIdentifier)
{
    Workspace& workspace = Workspace::shared();
    auto app = workspace.applicationNamed(nameOrIdentifier);
    return app ? app : workspace.applicationWithIdentifier(nameOrIdentifier);
}

} // namespace

bool IsApplicationExist(const QString& nameOrIdentifier)
{
    if (nameOrIdentifier.isEmpty())
        return false;
    const auto app = findApplication(nameOrIdentifier);
    if (!app)
        return false;
    const QFileInfo info(app->path);
    return info.isFile() && info.isExecutable();
}

QPixmap getAppIconFrombundleID(const QString& nameOrIdentifier, const QSize& size)
{
    if (nameOrIdentifier.isEmpty())
        return QPixmap();
    if (const auto app = findApplication(nameOrIdentifier)) {
        Workspace& workspace = Workspace::shared();
        QIcon icon = workspace.iconForApplication(*app);
        if (icon.isNull())
            icon = workspace.iconForFileType(QFileInfo(app->path).suffix());
        if (!icon.isNull())
            return icon.pixmap(size);
    }
    const QString fallback = Bundle::main().pathForImageResource(kDefaultIconResource);
    return fallback.isEmpty() ? QPixmap() : QPixmap(fallback);
}

int LocateHelpPageByAnchor(const QString& anchor)
{
    return HelpBook::openPage(Bundle::main().resourcePath(), anchor);
}
