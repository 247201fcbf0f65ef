#include "platform/workspace/HelpBook.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/workspace/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace HelpBook {
namespace {
const QString kHelpBookNameKey = QStringLiteral("CFBundleHelpBookName");
const QString kStartPage = QStringLiteral("index.html");
const QString kLogNoPage = QStringLiteral("Help page not found: anchor [%@] in [%@]");
const QString kLogNotOpened = QStringLiteral("Help page could not be opened: [%@]");

bool isPlainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") && !name.contains(QLatin1Char('/'));
}
} // namespace

QString folder(const QString& mainResources)
{
    const PlistValue book = Bundle(mainResources).objectForInfoDictionaryKey(kHelpBookNameKey);
    if (!book.isString() || !isPlainName(book.toString()))
        return QString();
    return QDir(mainResources).filePath(book.toString());
}

QString pagePath(const QString& mainResources, const QString& anchor)
{
    const QString name = anchor.isEmpty() ? kStartPage : anchor;
    const QString book = folder(mainResources);
    if (book.isEmpty() || !isPlainName(name))
        return QString();
    const QString path = QDir(book).filePath(name);
    return QFileInfo(path).isFile() ? path : QString();
}

int openPage(const QString& mainResources, const QString& anchor)
{
    const QString path = pagePath(mainResources, anchor);
    if (path.isEmpty()) {
        logLine(formatText(kLogNoPage, anchor, mainResources));
        return kHelpBookMissing;
    }
    if (!Workspace::shared().openUrl(QUrl::fromLocalFile(path))) {
        logLine(formatText(kLogNotOpened, path));
        return kHelpBookMissing;
    }
    return 0;
}

} // namespace HelpBook
