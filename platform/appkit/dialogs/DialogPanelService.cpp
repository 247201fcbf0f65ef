#include "platform/appkit/dialogs/DialogPanelService.h"

#include "platform/appkit/dialogs/ModalDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

void prepare(QFileDialog& dialog, const PanelRequest& request)
{
    dialog.setWindowModality(sheetWindow(request.window) ? Qt::WindowModal : Qt::ApplicationModal);
    dialog.setWindowTitle(request.title);
    dialog.setDirectory(request.directory.isEmpty() ? QDir::homePath() : request.directory);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!request.prompt.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, request.prompt);
    if (!request.allowedTypes.isEmpty()) {
        QStringList patterns;
        for (const QString& type : request.allowedTypes)
            patterns.append(QStringLiteral("*.") + type);
        dialog.setNameFilter(patterns.join(QLatin1Char(' ')));
    }
}

// A save panel where a folder with an allowed extension is chosen as a whole: accepting the name of
// one takes it instead of opening it, and one entered from the list is left again with its name
// selected.
class PackageSaveDialog : public QFileDialog {
public:
    PackageSaveDialog(QWidget* parent, QStringList types) : QFileDialog(parent), m_types(std::move(types))
    {
        connect(this, &QFileDialog::directoryEntered, this, [this](const QString& folder) {
            if (m_types.isEmpty() || !hasAllowedType(folder, m_types))
                return;
            const QFileInfo package(folder);
            setDirectory(package.absolutePath());
            selectFile(package.fileName());
        });
    }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (!m_types.isEmpty() && !files.isEmpty() && QFileInfo(files.first()).isDir() && hasAllowedType(files.first(), m_types)) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }

private:
    QStringList m_types;
};

} // namespace

QStringList DialogPanelService::runOpenPanel(const PanelRequest& request)
{
    QFileDialog dialog(sheetWindow(request.window));
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.chooseDirectories ? QFileDialog::Directory
                                                 : request.allowsMultipleSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (execModal(dialog) != QDialog::Accepted)
        return {};
    QStringList paths;
    for (const QString& path : dialog.selectedFiles()) {
        if (!request.isValidFilename || request.isValidFilename(path))
            paths.append(path);
    }
    return paths;
}

QString DialogPanelService::runSavePanel(const PanelRequest& request)
{
    PackageSaveDialog dialog(sheetWindow(request.window), request.allowedTypes);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(request.name);
    if (!request.allowedTypes.isEmpty())
        dialog.setDefaultSuffix(request.allowedTypes.first());
    if (execModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    QString path = dialog.selectedFiles().first();
    const bool ownType = request.allowsOtherFileTypes && !QFileInfo(path).suffix().isEmpty();
    if (!request.allowedTypes.isEmpty() && !ownType && !hasAllowedType(path, request.allowedTypes))
        path += QLatin1Char('.') + request.allowedTypes.first();
    return path;
}

int DialogPanelService::runChoicePanel(const ChoicePanelRequest& request)
{
    QDialog panel(sheetWindow(request.window));
    panel.setObjectName(request.name);
    panel.setWindowModality(sheetWindow(request.window) ? Qt::WindowModal : Qt::ApplicationModal);
    panel.setWindowTitle(request.title);
    auto* layout = new QVBoxLayout(&panel);
    for (const PanelText& text : request.texts) {
        auto* label = new QLabel(text.text, &panel);
        label->setObjectName(text.name);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto* rows = new QButtonGroup(&panel);
    for (int row = 0; row < request.choices.size(); ++row) {
        auto* button = new QRadioButton(request.choices[row].text, &panel);
        button->setObjectName(request.choices[row].name);
        button->setChecked(row == request.chosen);
        rows->addButton(button, row);
        layout->addWidget(button);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &panel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &panel, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &panel, &QDialog::reject);
    layout->addWidget(buttons);
    if (execModal(panel) != QDialog::Accepted)
        return -1;
    return rows->checkedId();
}
