#include "tools/dbtools/HelpPage.h"

#include <QCoreApplication>

namespace HelpPage {
namespace {
const QString kMainApplicationResources = QStringLiteral("/Resources/Pelmora");
QString g_applicationFolder;
} // namespace

void setApplicationFolder(const QString& folder)
{
    g_applicationFolder = folder;
}

int LocateHelpPageByAnchor(const QString& anchor)
{
    const QString folder = g_applicationFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_applicationFolder;
    return HelpBook::openPage(folder + kMainApplicationResources, anchor);
}

} // namespace HelpPage
