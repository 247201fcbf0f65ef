#include "tools/dbtools/FolderChooser.h"

#include "platform/foundation/StandardPaths.h"
#include "tools/dbtools/DatabaseFolder.h"
#include "tools/dbtools/DbToolCommon.h"
#include "tools/dbtools/ToolServices.h"

#include <QFileInfo>

namespace FolderChooser {

QString startFolder(const QString& currentPath)
{
    const QFileInfo current(DatabaseFolder::withoutTrailingSlash(currentPath));
    if (!currentPath.isEmpty() && current.suffix().toLower() == DatabaseFolder::kExtension)
        return current.path();
    return userDocumentsDir();
}

QString chooseDatabaseFolder(QWidget* window, const QString& currentPath)
{
    return ToolServices::current().chooseDatabaseFolder(
        window, DbToolCommon::getLocalString(kPanelTitleKey), startFolder(currentPath));
}

} // namespace FolderChooser
