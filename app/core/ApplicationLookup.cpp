#include "app/core/ApplicationLookup.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/workspace/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString kHelpBookNameKey = QStringLiteral("CFBundleHelpBookName");
const QString kHelpFolder = QStringLiteral("Help");
const QString kHelpStartPage = QStringLiteral("index.html");
const QString kDefaultIconResource = QStringLiteral("DefaultIconImage.tiff");
const QString kHelpMissingLog = QStringLiteral("Help pages not installed, cannot open anchor [%@] (%@)");
constexpr int kHelpBookMissing = -43;

std::optional<ApplicationInfo> findApplication(const QString& nameOrIdentifier)
{
    Workspace& workspace = Workspace::shared();
    auto app = workspace.applicationNamed(nameOrIdentifier);
    return app ? app : workspace.applicationWithIdentifier(nameOrIdentifier);
}

void openHelpPage(const QString& anchor)
{
    const QString folder = Bundle::main().resourcePath() + QLatin1Char('/') + kHelpFolder;
    if (!QFileInfo(folder).isDir()) {
        PLNSLog(kHelpMissingLog, anchor, folder);
        return;
    }
    QUrl url;
    // Anchors name pages ("db_password.html"); one that names no page is a fragment of the start page.
    if (!anchor.isEmpty() && !anchor.contains(QLatin1Char('/')) && QFileInfo(folder + QLatin1Char('/') + anchor).isFile()) {
        url = QUrl::fromLocalFile(folder + QLatin1Char('/') + anchor);
    } else {
        url = QUrl::fromLocalFile(folder + QLatin1Char('/') + kHelpStartPage);
        if (!anchor.isEmpty())
            url.setFragment(anchor);
    }
    Workspace::shared().openUrl(url);
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
    const QString fallback = Bundle::main().pathForResource(kDefaultIconResource);
    return fallback.isEmpty() ? QPixmap() : QPixmap(fallback);
}

int LocateHelpPageByAnchor(const QString& anchor)
{
    if (!anchor.isEmpty()) {
        const PlistValue book = Bundle::main().objectForInfoDictionaryKey(kHelpBookNameKey);
        if (!book.isString() || book.toString().isEmpty())
            return kHelpBookMissing;
    }
    openHelpPage(anchor);
    return 0;
}
