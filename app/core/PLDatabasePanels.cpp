#include "app/core/PLDatabasePanels.h"

#include "platform/appkit/ModalScope.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

PLDatabasePanels* g_panels = nullptr;

void prepare(QFileDialog& dialog, const PLDatabasePanels::Request& request)
{
    const bool sheet = request.window && request.window->isVisible();
    dialog.setWindowModality(sheet ? Qt::WindowModal : Qt::ApplicationModal);
    dialog.setWindowTitle(request.title);
    dialog.setDirectory(request.directory);
    // Qt's own dialog, so that a database folder can be picked as one item.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    QStringList patterns;
    for (const QString& type : request.allowedTypes)
        patterns.append(QStringLiteral("*.") + type);
    dialog.setNameFilter(patterns.join(QLatin1Char(' ')));
}

bool hasAllowedType(const QString& path, const QStringList& types)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const QString& type : types) {
        if (suffix.compare(type, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// A database folder is chosen as a whole: accepting the name of one takes it instead of opening
// it, and one entered from the list is left again with its name selected.
class DatabaseSaveDialog : public QFileDialog {
public:
    DatabaseSaveDialog(QWidget* parent, QStringList types) : QFileDialog(parent), m_types(std::move(types))
    {
        connect(this, &QFileDialog::directoryEntered, this, [this](const QString& folder) {
            if (!hasAllowedType(folder, m_types))
                return;
            const QFileInfo database(folder);
            setDirectory(database.absolutePath());
            selectFile(database.fileName());
        });
    }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (!files.isEmpty() && QFileInfo(files.first()).isDir() && hasAllowedType(files.first(), m_types)) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }

private:
    QStringList m_types;
};

} // namespace

PLDatabasePanels& PLDatabasePanels::current()
{
    static DialogDatabasePanels dialogs;
    return g_panels ? *g_panels : dialogs;
}

void PLDatabasePanels::setCurrent(PLDatabasePanels* panels)
{
    g_panels = panels;
}

QString DialogDatabasePanels::runSavePanel(const Request& request)
{
    DatabaseSaveDialog dialog(request.window && request.window->isVisible() ? request.window : nullptr, request.allowedTypes);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setLabelText(QFileDialog::Accept, request.prompt);
    dialog.selectFile(request.name);
    if (!request.allowedTypes.isEmpty())
        dialog.setDefaultSuffix(request.allowedTypes.first());
    ModalScope scope;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    QString path = dialog.selectedFiles().first();
    if (!request.allowedTypes.isEmpty() && !hasAllowedType(path, request.allowedTypes))
        path += QLatin1Char('.') + request.allowedTypes.first();
    return path;
}

QString DialogDatabasePanels::runOpenPanel(const Request& request)
{
    QFileDialog dialog(request.window && request.window->isVisible() ? request.window : nullptr);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A database is a folder: directories are what is chosen, one at a time.
    dialog.setFileMode(QFileDialog::Directory);
    ModalScope scope;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString path = dialog.selectedFiles().first();
    if (!request.allowedTypes.isEmpty() && !hasAllowedType(path, request.allowedTypes))
        return QString();
    return path;
}
