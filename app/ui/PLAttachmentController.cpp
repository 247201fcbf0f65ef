#include "app/ui/PLAttachmentController.h"

#include "app/core/BundleImage.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/ui/PLAttachmentInfoWindow.h"
#include "app/ui/PLImageController.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/appkit/MessagePresenter.h"
#include "platform/appkit/PanelService.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/FileReplaceCopy.h"
#include "platform/foundation/FormatString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/PlainFile.h"
#include "platform/foundation/TemporaryWrite.h"
#include "platform/store/DatabaseLayout.h"
#include "platform/workspace/FileManagerProperties.h"
#include "platform/workspace/Workspace.h"

#include <QApplication>
#include <QDir>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QScopeGuard>
#include <QStandardItemModel>

#include <algorithm>

namespace {

constexpr int kMsgNoSpace = 11;
constexpr int kMsgLocked = 10;
constexpr int kMsgMissing = 30;
constexpr int kMsgCannotReplace = 31;
constexpr int kMsgMissingToDelete = 38;
constexpr int kMsgBadName = 40;
constexpr int kMsgCannotCopy = 41;
constexpr int kMsgDatabase = 48;
constexpr int kMsgNameTaken = 60;
constexpr int kMsgFolderDropped = 61;
constexpr int kMsgTooMany = 62;
constexpr int kMsgRefusedCharacter = 64;
constexpr int kMsgRefusedFileName = 65;
constexpr int kMsgNoFolder = 77;
constexpr int kMsgCannotOpen = 79;
constexpr int kMsgCannotForceDelete = 80;

constexpr int kImageColumn = 0;
constexpr int kAlertFourthButtonReturn = kAlertThirdButtonReturn + 1;

const QString kAlertTitle = QStringLiteral("Pelmora");

bool isRenameRefusedByFolder(int status)
{
    return status == kDBAttributesMissing || status == kDBAttributesNotWritable;
}

// Makes `path` a folder when nothing is there; true when a writable folder is there afterwards.
bool makeFolder(const QString& path)
{
    FileAttributes attributes;
    if (!readFileAttributes(path, &attributes))
        return false;
    if (!attributes.exists) {
        if (!QDir().mkdir(path) || !readFileAttributes(path, &attributes))
            return false;
    }
    return attributes.isDirectory && attributes.writable && !attributes.immutable;
}

QString localized(const char* key)
{
    return getLocalString(QString::fromLatin1(key));
}

} // namespace

PLAttachmentController::PLAttachmentController(const OpenDatabase& database, QObject* parent) : QObject(parent), m_database(database) {}

PLAttachmentController::~PLAttachmentController() = default;

void PLAttachmentController::awakeFromNib()
{
    if (!_attachTableView)
        return;
    m_model = new QStandardItemModel(0, 2, this);
    _attachTableView->setModel(m_model);
    _attachTableView->horizontalHeader()->hide();
    _attachTableView->setIconSize(QSize(kIconSize, kIconSize));
    _attachTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    _attachTableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    _attachTableView->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    _attachTableView->setDataSource(this);
    connect(_attachTableView, &PLTableView::fileNameEdited, this, &PLAttachmentController::renameFileName);
    connect(_attachTableView, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) { openAttachFile(index.row()); });

    m_contextualMenu = makeMenu({{"IDS_MENU_ADD_ATTACHMENT", &PLAttachmentController::addAttachment},
                                 {"IDS_MENU_DELETE_ATTACHMENT", &PLAttachmentController::deleteAttachment},
                                 {"IDS_MENU_RENAME_ATTACHMENT", &PLAttachmentController::renameAttachment},
                                 {"IDS_MENU_ATTACHMENT_INFO", &PLAttachmentController::getAttachmentInfo}},
                                "attachmentContextualMenu");
    _attachTableView->setMenu(m_contextualMenu);
    m_attachmentMenu = makeMenu({{"IDS_MENU_ADD_ATTACHMENT", &PLAttachmentController::addAttachment},
                                 {"IDS_MENU_DELETE_ATTACHMENT", &PLAttachmentController::deleteAttachment},
                                 {"IDS_MENU_ATTACHMENT_INFO", &PLAttachmentController::getAttachmentInfo}},
                                "attachmentMenu");
    m_attachmentMenu->setTitle(localized("IDS_MENU_ATTACHMENTS"));
    addAttachmentIcon(false);
}

QMenu* PLAttachmentController::makeMenu(const QList<std::pair<const char*, void (PLAttachmentController::*)()>>& items,
                                        const char* objectName)
{
    auto* menu = new QMenu(_attachTableView);
    menu->setObjectName(QString::fromLatin1(objectName));
    for (const auto& [titleKey, command] : items) {
        QAction* item = menu->addAction(localized(titleKey));
        connect(item, &QAction::triggered, this, [this, menu, item, command] {
            // A shortcut or a stale menu may still reach here: the rule decides again.
            menuNeedsUpdate(menu);
            if (item->isEnabled())
                (this->*command)();
        });
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { menuNeedsUpdate(menu); });
    return menu;
}

QWidget* PLAttachmentController::mainWindow() const
{
    if (_mainWinController)
        return _mainWinController->window();
    return _attachTableView ? _attachTableView->window() : nullptr;
}

QString PLAttachmentController::cardFolder() const
{
    // A card identifier that is not one plain name never leads anywhere.
    if (!isPlainFileName(_cardID))
        return {};
    const bool readOnly = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly;
    const QString database = readOnly ? g_strCurReadOnlyDBPath : m_database.folder();
    if (database.isEmpty())
        return {};
    // A received database may hold a link in place of "Files" or of the card's folder: what lies
    // behind it is not the card's, so it is neither listed nor written nor deleted.
    const QString folder = DatabaseLayout::filesFolderPath(database) + QLatin1Char('/') + _cardID;
    return isLinkFreeInside(folder, database) ? folder : QString();
}

void PLAttachmentController::showError(int number) const
{
    if (!PLNetDBLockController::ShowErrorMessageByPathType())
        PLMessage::ShowPLErrorMessageBySheet(mainWindow(), number);
}

// --- the list

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
    // The copy of an add that was killed is no attachment.
    if (!folder.isEmpty() && PLNetDBLockController::dbOpenMode() != PLNetDBLockController::kOpenModeReadOnly)
        removeTemporaryLeftovers(folder);
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
        _iconView->setPixmap(bundleImage(QStringLiteral("Attach.tiff")).pixmap(16, 16));
    }
    _iconView->setVisible(shown);
}

QIcon PLAttachmentController::iconImageOfSize(const QString& path)
{
    static const QFileIconProvider provider;
    const QIcon icon = provider.icon(QFileInfo(path));
    return icon.isNull() ? QIcon() : QIcon(icon.pixmap(kIconSize, kIconSize));
}

int PLAttachmentController::selectedRow() const
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return -1;
    const int current = _attachTableView->currentIndex().row();
    return rows.contains(current) ? current : rows.first();
}

QList<int> PLAttachmentController::selectedRows() const
{
    QList<int> rows;
    if (!_attachTableView || !_attachTableView->selectionModel())
        return rows;
    for (const QModelIndex& index : _attachTableView->selectionModel()->selectedRows())
        if (index.row() < _arFilePaths.size())
            rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// --- menus

AttachmentRules::State PLAttachmentController::ruleState() const
{
    AttachmentRules::State state;
    state.readOnly = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly;
    state.sheetAttached = _mainWinController && _mainWinController->hasAttachedSheet();
    state.modalWindow = QApplication::activeModalWidget() != nullptr;
    state.cardShown = !_cardID.isEmpty();
    state.listVisible = _attachTableView && _attachTableView->isVisibleTo(_attachTableView->window());
    state.selectedRows = int(selectedRows().size());
    return state;
}

void PLAttachmentController::menuNeedsUpdate(QMenu* menu)
{
    const QList<QAction*> items = menu->actions();
    if (menu == m_contextualMenu) {
        const int clicked = _attachTableView->clickedRow();
        if (clicked >= 0 && clicked < _arFilePaths.size() && selectedRows().size() <= 1)
            _attachTableView->selectRow(clicked);
        const auto enabled = AttachmentRules::contextualMenuItems(ruleState());
        for (qsizetype i = 0; i < items.size() && i < qsizetype(enabled.size()); ++i)
            items[i]->setEnabled(enabled[size_t(i)]);
        return;
    }
    const auto enabled = AttachmentRules::mainMenuItems(ruleState());
    for (qsizetype i = 0; i < items.size() && i < qsizetype(enabled.size()); ++i)
        items[i]->setEnabled(enabled[size_t(i)]);
}

// --- adding

bool PLAttachmentController::isValidFilename(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

void PLAttachmentController::addAttachment()
{
    if (_mainWinController)
        _mainWinController->endFolderNameEditing();
    if (_arFilePaths.size() > kMaxAttachments - 1) {
        PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgTooMany);
        return;
    }
    PanelRequest request;
    request.window = mainWindow();
    request.title = localized("IDS_OPEN_FILE_PANEL_TITLE");
    request.allowsMultipleSelection = true;
    request.isValidFilename = &PLAttachmentController::isValidFilename;
    const QStringList chosen = PanelService::current().runOpenPanel(request);
    if (chosen.isEmpty())
        return;
    QList<QUrl> urls;
    for (const QString& path : chosen)
        urls.append(QUrl::fromLocalFile(path));
    Scheduler::performOnMainThread([controller = QPointer<PLAttachmentController>(this), urls] {
        if (controller)
            controller->doAddAttachment(urls);
    });
}

void PLAttachmentController::doAddAttachment(const QList<QUrl>& urls)
{
    if (!AttachmentRules::fitsBeside(_arFilePaths.size(), urls.size())) {
        PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgTooMany);
        return;
    }
    QStringList paths;
    for (const QUrl& url : urls)
        paths.append(url.toLocalFile());
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kShowAttachmentsNotification), this);
    addFile(paths);
}

int PLAttachmentController::askOverwrite(const QString& name, bool several) const
{
    QStringList buttons{localized("IDS_BUTTON_MSG_YES"), localized("IDS_BUTTON_MSG_NO")};
    if (several)
        buttons << localized("IDS_BUTTON_MSG_CANCEL") << localized("IDS_BUTTON_MSG_YES_ALL_OW");
    const AlertRequest request{mainWindow(), kAlertTitle, formatText(localized("IDS_MSG_OVERWRITE_ATTACH"), name), buttons};
    return MessagePresenter::current().runModal(request);
}

void PLAttachmentController::addFile(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    const QString database = m_database.folder();
    if (_mainWinController && !_mainWinController->passesFolderGuard())
        return;
    uint64_t total = 0;
    for (const QString& path : paths)
        total += uint64_t(std::max<qint64>(QFileInfo(path).size(), 0));
    if (!QFileInfo(database).isDir()) {
        showError(kMsgDatabase);
        return;
    }
    // The project's one free-space test, with the reserve every write into the database keeps.
    if (_mainWinController && !_mainWinController->passesSpaceGuard(database, total))
        return;
    // Whatever happens from here on, the list shows what the folder holds afterwards.
    const auto reload = qScopeGuard([this] { attachExistFile(); });
    const QString folder = cardFolder();
    if (folder.isEmpty() || !makeFolder(DatabaseLayout::filesFolderPath(database)) || !makeFolder(folder)) {
        showError(kMsgNoFolder);
        return;
    }
    _attachTableView->endEditing();
    bool overwriteAll = false;
    for (const QString& path : paths) {
        const QFileInfo source(path);
        if (!source.exists()) {
            PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgMissing);
            return;
        }
        const QString name = source.fileName();
        if (!AttachmentRules::isAcceptableName(name)) {
            PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgRefusedFileName);
            return;
        }
        const QString destination = folder + QLatin1Char('/') + name;
        if (entryExists(destination) && !overwriteAll) {
            PLNSLog(QStringLiteral("File has exist!"));
            const int answer = askOverwrite(name, paths.size() > 1);
            if (answer == kAlertSecondButtonReturn)
                continue;
            if (answer == kAlertThirdButtonReturn)
                return;
            overwriteAll = answer == kAlertFourthButtonReturn;
        }
        // Copied beside the old attachment and renamed over it: a failed copy keeps the old one.
        switch (copyFileReplacing(path, destination, "attachment-copied")) {
        case FileReplaceCopyResult::Copied: break;
        case FileReplaceCopyResult::ReplaceFailed: showError(kMsgCannotReplace); return;
        case FileReplaceCopyResult::CopyFailed: showError(kMsgCannotCopy); return;
        }
    }
}

// --- dragging and dropping

QMimeData* PLAttachmentController::writeRowsWithIndexes(const QList<int>& rows) const
{
    QList<QUrl> urls;
    for (int row : rows)
        if (row >= 0 && row < _arFilePaths.size())
            urls.append(QUrl::fromLocalFile(_arFilePaths[row]));
    if (urls.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setUrls(urls);
    data->setData(QString::fromLatin1(kAttachmentDataType), QByteArray());
    return data;
}

bool PLAttachmentController::validateDrop(const QMimeData* data, bool fromInside) const
{
    AttachmentRules::Drop drop;
    drop.fromInsideApplication = fromInside;
    drop.hasFiles = data && data->hasUrls();
    drop.listed = int(_arFilePaths.size());
    return AttachmentRules::offersCopy(ruleState(), drop);
}

bool PLAttachmentController::acceptDrop(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return false;
    attachExistFile();
    QStringList paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    if (!AttachmentRules::fitsBeside(_arFilePaths.size(), paths.size())) {
        PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgTooMany);
        return true;
    }
    for (const QString& path : std::as_const(paths)) {
        if (QFileInfo(path).isDir()) {
            PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgFolderDropped);
            return true;
        }
    }
    addFile(paths);
    return true;
}

// --- opening and the information window

void PLAttachmentController::openAttachFile(int row)
{
    if (row < 0 || row >= _arFilePaths.size())
        return;
    const QString path = _arFilePaths[row];
    if (!QFileInfo::exists(path)) {
        PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgMissingToDelete);
        return;
    }
    if (!Workspace::shared().openUrl(QUrl::fromLocalFile(path)))
        PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgCannotOpen);
}

void PLAttachmentController::getAttachmentInfo()
{
    if (_mainWinController)
        _mainWinController->endFolderNameEditing();
    const int row = selectedRow();
    showFileInfoWindow(row >= 0 ? _arFilePaths[row] : QString());
}

void PLAttachmentController::showFileInfoWindow(const QString& path)
{
    if (path.isEmpty()) {
        PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgMissing);
        return;
    }
    const int status = checkDBAttributes(m_database.folder());
    if (status == kDBAttributesMissing || status == kDBAttributesUnreadable || !QFileInfo::exists(path)) {
        showError(kMsgMissing);
        return;
    }
    // The file manager's own window when one answers; else ours.
    FileManagerProperties::showItemProperties(path, [controller = QPointer<PLAttachmentController>(this), path](bool shown) {
        if (shown || !controller)
            return;
        auto* window = new PLAttachmentInfoWindow(path, controller->mainWindow());
        window->setWindowFlag(Qt::Window);
        window->show();
    });
}

// --- deleting

void PLAttachmentController::deleteAttachment()
{
    if (_mainWinController)
        _mainWinController->endFolderNameEditing();
    if (isRenameRefusedByFolder(checkDBAttributes(m_database.folder()))) {
        showError(kMsgDatabase);
        return;
    }
    _attachTableView->endEditing();
    if (PLMessage::ShowPLInfoMessageBySheet(mainWindow(), QStringLiteral("IDS_MSG_IS_DELETEFILE"), 2, 3, QString()) != 1)
        return;
    // Every way out shows what the folder holds afterwards, files removed before a stop included.
    const auto reload = qScopeGuard([this] { attachExistFile(); });
    const QList<int> rows = selectedRows();
    QStringList failures;
    const QString folder = cardFolder();
    for (int row : rows) {
        const QString path = _arFilePaths[row];
        if (folder.isEmpty() || QFileInfo(path).path() != folder || !entryExists(path)) {
            showError(kMsgMissingToDelete);
            return;
        }
        if (!QFile::remove(path))
            failures.append(path);
    }
    deleteFailedFiles(failures, rows.size() > 1);
}

void PLAttachmentController::deleteFailedFiles(QStringList failures, bool several)
{
    bool continueAll = false;
    while (!failures.isEmpty()) {
        const QString path = failures.first();
        if (!continueAll) {
            QStringList buttons{localized("IDS_BUTTON_MSG_CONTINUE"), localized("IDS_BUTTON_MSG_STOP")};
            if (several)
                buttons << localized("IDS_BUTTON_MSG_SKIP") << localized("IDS_BUTTON_MSG_ALL_CONTINUE");
            const QString text = formatText(localized("IDS_MSG_ERR_0063"), QFileInfo(path).fileName());
            const int answer = MessagePresenter::current().runModal(AlertRequest{mainWindow(), kAlertTitle, text, buttons});
            if (answer == kAlertSecondButtonReturn)
                return;
            if (answer == kAlertThirdButtonReturn) {
                failures.removeFirst();
                continue;
            }
            continueAll = answer == kAlertFourthButtonReturn;
        }
        FileAttributes attributes;
        if (!readFileAttributes(path, &attributes))
            return;
        if (attributes.immutable)
            clearImmutableFlag(path);
        if (!QFile::remove(path)) {
            showError(kMsgCannotForceDelete);
            return;
        }
        failures.removeFirst();
    }
}

// --- renaming

void PLAttachmentController::renameAttachment()
{
    if (_mainWinController)
        _mainWinController->endFolderNameEditing();
    const int clicked = _attachTableView->clickedRow();
    const int row = clicked >= 0 && clicked < _arFilePaths.size() ? clicked : selectedRow();
    if (row < 0 || PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly)
        return;
    const QModelIndex index = m_model->index(row, PLTableView::kNameColumn);
    _attachTableView->selectRow(row);
    _attachTableView->setCurrentIndex(index);
    _attachTableView->edit(index);
    if (auto* editor = qobject_cast<QLineEdit*>(_attachTableView->indexWidget(index)))
        editor->selectAll();
}

void PLAttachmentController::renameFileName(const QString& name)
{
    if (isRenameRefusedByFolder(checkDBAttributes(m_database.folder()))) {
        showError(kMsgDatabase);
        return;
    }
    const int row = _attachTableView ? _attachTableView->currentIndex().row() : -1;
    if (name.isEmpty() || row < 0 || row >= _arFilePaths.size())
        return;
    if (name.size() > PLTableView::kNameMaxLength) {
        PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgBadName);
        return;
    }
    const QString current = _arFilePaths[row];
    if (cardFolder().isEmpty() || QFileInfo(current).path() != cardFolder()) {
        showError(kMsgMissing);
        return;
    }
    FileAttributes attributes;
    readFileAttributes(current, &attributes);
    if (attributes.immutable) {
        PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgLocked);
        return;
    }
    if (!attributes.exists) {
        showError(kMsgMissing);
        return;
    }
    if (name == QFileInfo(current).fileName())
        return;
    if (!AttachmentRules::isAcceptableName(name)) {
        PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgRefusedCharacter);
        return;
    }
    const QString renamed = cardFolder() + QLatin1Char('/') + name;
    for (const QString& path : std::as_const(_arFilePaths)) {
        if (QFileInfo(path).fileName() == name) {
            PLMessage::ShowPLErrorMessageBySheet(mainWindow(), kMsgNameTaken);
            return;
        }
    }
    // QFile::rename never replaces a file that is there already.
    if (cardFolder().isEmpty() || !QFile::rename(current, renamed)) {
        showError(kMsgBadName);
        return;
    }
    _arFilePaths[row] = renamed;
    _arFileIcons[row] = iconImageOfSize(renamed);
    reloadTable();
    _attachTableView->setCurrentIndex(m_model->index(row, PLTableView::kNameColumn));
}
