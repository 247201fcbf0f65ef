#include "tools/dbtools/FolderChooser.h"

#include "platform/foundation/StandardPaths.h"
#include "platform/store/DatabaseLayout.h"
#include "tools/dbtools/DbToolCommon.h"
#include "tools/dbtools/ToolServices.h"

#include <QFileInfo>

namespace FolderChooser {

QString startFolder(const QString& currentPath)
{
    if (!currentPath.isEmpty() && DatabaseLayout::hasDatabaseExtension(currentPath))
        return QFileInfo(DatabaseLayout::withoutTrailingSlash(currentPath)).path();
    return userDocumentsDir();
}

QString chooseDatabaseFolder(QWidget* window, const QString& currentPath)
{
    const QString chosen = ToolServices::current().chooseDatabaseFolder(
        window, DbToolCommon::getLocalString(kPanelTitleKey), startFolder(currentPath));
    // Only a database folder is ever taken, whatever the dialog let through.
    return DatabaseLayout::hasDatabaseExtension(chosen) ? chosen : QString();
}

} // namespace FolderChooser
