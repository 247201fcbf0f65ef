// The database folder chooser of both tools.
#pragma once

#include <QString>

class QWidget;

namespace FolderChooser {

inline const QString kPanelTitleKey = QStringLiteral("IDS_OPEN_PLDB_FILE_PANEL_TITLE");

// Where the chooser starts: the parent of `currentPath` when that names a ".cxdb" folder, else Documents.
QString startFolder(const QString& currentPath);
// The database folder (extension "cxdb") the user chose; empty when the chooser was cancelled or
// gave any other folder.
QString chooseDatabaseFolder(QWidget* window, const QString& currentPath);

} // namespace FolderChooser
