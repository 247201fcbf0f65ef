#include "app/ui/PLAttachmentController.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/Globals.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/ui/views/PLTableView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/PathCompare.h"
#include "platform/store/DatabaseLayout.h"

#include <QDir>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>

namespace {

// Messages of a rename.
constexpr int kMsgLocked = 10;
constexpr int kMsgMissing = 30;
constexpr int kMsgBadName = 40;
constexpr int kMsgDatabase = 48;
constexpr int kMsgNameTaken = 60;
constexpr int kMsgRefusedCharacter = 64;

constexpr int kImageColumn = 0;

} // namespace

PLAttachmentController::PLAttachmentController(const OpenDatabase& database, QObject* parent) : QObject(parent), m_database(database) {}

void PLAttachmentController::awakeFromNib()
{
    if (!_attachTableView)
        return;
    m_model = new QStandardItemModel(0, 2, this);
    _attachTableView->setModel(m_model);
    _attachTableView->horizontalHeader()->hide();
    _attachTableView->setIconSize(QSize(kIconSize, kIconSize));
    _attachTableView->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    connect(_attachTableView, &PLTableView::fileNameEdited, this, &PLAttachmentController::renameFileName);
    addAttachmentIcon(false);
}

QString PLAttachmentController::cardFolder() const
{
    // A card identifier that is not one plain name never leads anywhere.
    if (!isPlainFileName(_cardID))
        return {};
    const bool readOnly = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly;
    const QString database = readOnly ? g_strCurReadOnlyDBPath : m_database.folder();
    return database.isEmpty() ? QString() : DatabaseLayout::filesFolderPath(database) + QLatin1Char('/') + _cardID;
}

void PLAttachmentController::setCardID(const QString& cardID)
{
    _cardID = cardID;
    if (cardID.isNull())
        clearTableRecord();
    else if (!cardID.isEmpty())
        attachExistFile();
}

void PLAttachmentController::attachExistFile()
{
    _arFilePaths.clear();
    _arFileIcons.clear();
    const QString folder = cardFolder();
    const QFileInfoList entries = folder.isEmpty() ? QFileInfoList()
        : QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    if (entries.isEmpty()) {
        clearTableRecord();
        return;
    }
    for (const QFileInfo& entry : entries) {
        _arFilePaths.append(entry.filePath());
        _arFileIcons.append(iconImageOfSize(entry.filePath()));
    }
    reloadTable();
    addAttachmentIcon(true);
}

void PLAttachmentController::clearTableRecord()
{
    _arFilePaths.clear();
    _arFileIcons.clear();
    reloadTable();
    addAttachmentIcon(false);
}

void PLAttachmentController::reloadTable()
{
    if (!m_model)
        return;
    m_model->removeRows(0, m_model->rowCount());
    for (qsizetype row = 0; row < _arFilePaths.size(); ++row) {
        auto* icon = new QStandardItem(_arFileIcons[row], QString());
        icon->setEditable(false);
        auto* name = new QStandardItem(QFileInfo(_arFilePaths[row]).fileName());
        name->setEditable(PLNetDBLockController::dbOpenMode() != PLNetDBLockController::kOpenModeReadOnly);
        m_model->appendRow({icon, name});
    }
    _attachTableView->resizeColumnToContents(kImageColumn);
}

void PLAttachmentController::addAttachmentIcon(bool shown)
{
    if (!_iconView)
        return;
    if (shown && _iconView->pixmap().isNull()) {
        const QString path = Bundle::main().pathForResource(QStringLiteral("Attach.tiff"));
        const QIcon badge = path.isEmpty() ? QIcon::fromTheme(QStringLiteral("mail-attachment")) : QIcon(path);
        _iconView->setPixmap(badge.pixmap(16, 16));
    }
    _iconView->setVisible(shown);
}

QIcon PLAttachmentController::iconImageOfSize(const QString& path)
{
    static const QFileIconProvider provider;
    const QIcon icon = provider.icon(QFileInfo(path));
    return icon.isNull() ? QIcon() : QIcon(icon.pixmap(kIconSize, kIconSize));
}

void PLAttachmentController::renameFileName(const QString& name)
{
    QWidget* window = _attachTableView ? _attachTableView->window() : nullptr;
    const int status = checkDBAttributes(m_database.folder());
    if (status == kDBAttributesMissing || status == kDBAttributesNotWritable) {
        if (!PLNetDBLockController::ShowErrorMessageByPathType())
            PLMessage::ShowPLErrorMessageBySheet(window, kMsgDatabase);
        return;
    }
    const int row = _attachTableView ? _attachTableView->currentIndex().row() : -1;
    if (name.isEmpty() || row < 0 || row >= _arFilePaths.size())
        return;
    if (name.size() > PLTableView::kNameMaxLength) {
        PLMessage::ShowPLErrorMessageBySheet(window, kMsgBadName);
        return;
    }
    const QString current = _arFilePaths[row];
    FileAttributes attributes;
    readFileAttributes(current, &attributes);
    if (attributes.immutable) {
        PLMessage::ShowPLErrorMessageBySheet(window, kMsgLocked);
        return;
    }
    if (!attributes.exists) {
        if (!PLNetDBLockController::ShowErrorMessageByPathType())
            PLMessage::ShowPLErrorMessageBySheet(window, kMsgMissing);
        return;
    }
    if (name == QFileInfo(current).fileName())
        return;
    if (name.startsWith(QLatin1Char('.')) || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char(':'))) {
        PLMessage::ShowPLErrorMessageBySheet(window, kMsgRefusedCharacter);
        return;
    }
    const QString renamed = cardFolder() + QLatin1Char('/') + name;
    for (const QString& path : std::as_const(_arFilePaths)) {
        if (QFileInfo(path).fileName() == name) {
            PLMessage::ShowPLErrorMessageBySheet(window, kMsgNameTaken);
            return;
        }
    }
    // QFile::rename never replaces a file that is there already.
    if (cardFolder().isEmpty() || !QFile::rename(current, renamed)) {
        if (!PLNetDBLockController::ShowErrorMessageByPathType())
            PLMessage::ShowPLErrorMessageBySheet(window, kMsgBadName);
        return;
    }
    _arFilePaths[row] = renamed;
    _arFileIcons[row] = iconImageOfSize(renamed);
    reloadTable();
    _attachTableView->setCurrentIndex(m_model->index(row, PLTableView::kNameColumn));
}
