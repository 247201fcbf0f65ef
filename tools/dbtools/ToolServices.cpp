#include "tools/dbtools/ToolServices.h"

#include "platform/appkit/ModalScope.h"
#include "platform/store/DatabaseLayout.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {
ToolServices* g_services = nullptr;

// Choosing a plain folder opens it; only a database folder is taken.
class DatabaseFolderDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (!files.isEmpty() && !DatabaseLayout::hasDatabaseExtension(files.first())) {
            if (QFileInfo(files.first()).isDir())
                setDirectory(files.first());
            return;
        }
        QFileDialog::accept();
    }
};
} // namespace

ToolServices& ToolServices::current()
{
    static QtToolServices qtServices;
    return g_services ? *g_services : qtServices;
}

void ToolServices::setCurrent(ToolServices* services)
{
    g_services = services;
}

QString QtToolServices::chooseDatabaseFolder(QWidget* window, const QString& title, const QString& startFolder)
{
    DatabaseFolderDialog dialog(window, title, startFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setNameFilter(QStringLiteral("*.") + QLatin1String(DatabaseLayout::kDatabaseExtension));
    ModalScope scope;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}
