#include "tools/dbtools/HelpPage.h"

#include "platform/foundation/Bundle.h"
#include "platform/workspace/Workspace.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

namespace HelpPage {
namespace {
const QString kHelpBookKey = QStringLiteral("CFBundleHelpBookName");
const QString kMainApplicationResources = QStringLiteral("/Resources/Pelmora");
const QString kOwnHelpPage = QStringLiteral("/Help/index.html");
} // namespace

int LocateHelpPageByAnchor(const QString& anchor, const QString& applicationFolder)
{
    const QString folder = applicationFolder.isEmpty() ? QCoreApplication::applicationDirPath() : applicationFolder;
    const QString mainResources = folder + kMainApplicationResources;
    if (!anchor.isEmpty() && QFileInfo(mainResources).isDir()) {
        const QString book = Bundle(mainResources).objectForInfoDictionaryKey(kHelpBookKey).toString();
        if (book.isEmpty())
            return kNoHelpBook;
        Workspace::shared().openUrl(QUrl::fromLocalFile(mainResources + QLatin1Char('/') + book + QLatin1Char('/') + anchor));
        return 0;
    }
    Workspace::shared().openUrl(QUrl::fromLocalFile(Bundle::main().resourcePath() + kOwnHelpPage));
    return 0;
}

} // namespace HelpPage
