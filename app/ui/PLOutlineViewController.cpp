#include "app/ui/PLOutlineViewController.h"

#include "app/core/BundleImage.h"
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/DiskUtilities.h"
#include "app/core/Globals.h"
#include "app/core/Identifiers.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMainWindowHost.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/ui/FolderTitleView.h"
#include "app/ui/FolderTree.h"
#include "app/ui/ImageAndTextCell.h"
#include "app/ui/PLAttachmentController.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLDragSupportDataSource.h"
#include "app/ui/logic/FolderDropRules.h"
#include "app/ui/logic/MainWindowLayout.h"
#include "app/ui/views/PLOutlineView.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QHash>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSet>
#include <QStandardItemModel>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

namespace {

const QString kFolderID = QStringLiteral("folder_ID");
const QString kFolderName = QStringLiteral("folder_Name");
const QString kFolderLevel = QStringLiteral("folder_Level");
const QString kFolderParent = QStringLiteral("folder_Parent");
const QString kFolderType = QStringLiteral("folder_Type");
constexpr int kNodeRole = Qt::UserRole + 1;
constexpr int kMessageDBError = 48;
const QString kFolderDataType = QStringLiteral("Pelmora Private Folder Type");
const QString kCardTableName = QStringLiteral("_tvList");

// The tree's rows as the view drags them: a folder row carries the private folder type.
class FolderTreeModel : public QStandardItemModel {
public:
    FolderTreeModel(PLOutlineViewController* controller) : QStandardItemModel(controller), m_controller(controller) {}
    QStringList mimeTypes() const override { return {kFolderDataType}; }
    QMimeData* mimeData(const QModelIndexList& indexes) const override { return m_controller->writeItems(indexes); }
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }

private:
    PLOutlineViewController* m_controller;
};
constexpr int kMessageDiskSpace = 11;

} // namespace

PLOutlineViewController::PLOutlineViewController(const OpenDatabase& database, QObject* parent) : QObject(parent), m_database(database) {}

PLOutlineViewController::~PLOutlineViewController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void PLOutlineViewController::awakeFromNib()
{
    if (!_outlineView)
        return;
    m_model = new FolderTreeModel(this);
    _outlineView->setModel(m_model);
    m_cell = new ImageAndTextCell(this);
    m_cell->setImage(_outlineView->style()->standardPixmap(QStyle::SP_DirIcon));
    m_cell->setOutlineViewController(this);
    _outlineView->setItemDelegate(m_cell);
    // A double click opens or closes a folder; a click on the selected row or the edit key renames.
    _outlineView->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    connect(_outlineView->selectionModel(), &QItemSelectionModel::currentChanged, this, &PLOutlineViewController::selectionChanged);
    // The root is always open and shows no disclosure mark.
    _outlineView->setRootIsDecorated(false);
    connect(_outlineView, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (!index.parent().isValid())
            _outlineView->expand(index);
    });
    _outlineView->setDragEnabled(true);
    _outlineView->setAcceptDrops(true);
    _outlineView->viewport()->setAcceptDrops(true);
    _outlineView->setDragDropMode(QAbstractItemView::DragDrop);
    _outlineView->viewport()->installEventFilter(this);
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(kDeleteKeyDownNotification), [this](const Notification&) { keyDeleteRec(); });
    auto* outline = qobject_cast<PLOutlineView*>(_outlineView);
    if (!outline)
        return;
    outline->setFolderOfRow([this](const QModelIndex& index) {
        const TreeNode* node = nodeAt(index);
        return node ? std::pair(node->folderType, node->folderLevel) : std::pair(0, 0);
    });
    connect(outline, &PLOutlineView::rightClickRow, this, [this](const QModelIndex& index) {
        const TreeNode* node = nodeAt(index);
        m_rightClickFolderID = node ? node->folderID : QString();
        _rightClickRowForRec = index;
        _outlineView->viewport()->update();
    });
    // menuDidClose: the clicked row is no longer outlined.
    connect(outline->outlineMenu(), &QMenu::aboutToHide, this, [this] {
        _rightClickRowForRec = QPersistentModelIndex();
        _outlineView->viewport()->update();
    });
    const QList<QAction*> items = outline->outlineMenu()->actions();
    // The tree may be rebuilt while the menu is open: the clicked folder is found again by its identifier.
    connect(items[0], &QAction::triggered, this, [this] { addFolder(getTreeNodeByFolderID(m_rightClickFolderID)); });
    connect(items[1], &QAction::triggered, this, [this] { removeFolder(getTreeNodeByFolderID(m_rightClickFolderID)); });
}

const TreeNode* PLOutlineViewController::nodeAt(const QModelIndex& index) const
{
    return index.isValid() ? reinterpret_cast<const TreeNode*>(index.data(kNodeRole).value<quintptr>()) : nullptr;
}

QMimeData* PLOutlineViewController::writeItems(const QModelIndexList& indexes)
{
    const TreeNode* node = indexes.size() == 1 ? nodeAt(indexes.first()) : nullptr;
    if (!node || node->folderType != kFolderTypeUser)
        return nullptr;
    m_dragFolderID = node->folderID;
    auto* data = new QMimeData;
    data->setData(kFolderDataType, {});
    return data;
}

int PLOutlineViewController::validateDrop(const QMimeData* data, QObject* source, const QModelIndex& index, bool onRow) const
{
    const TreeNode* destination = nodeAt(index);
    const TreeNode* dragged = getTreeNodeByFolderID(m_dragFolderID);
    FolderDropProposal proposal;
    proposal.hasDestination = destination != nullptr;
    proposal.childIndex = onRow ? -1 : 0;
    proposal.readOnlyDatabase = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly;
    proposal.windowBusy = windowBusy() || QApplication::activeModalWidget();
    proposal.hasAttachmentRows = data && data->hasFormat(QString::fromLatin1(PLAttachmentController::kAttachmentDataType));
    proposal.hasCardRows = data && data->hasFormat(QString::fromLatin1(PLDragSupportDataSource::kTableViewDataType));
    proposal.hasFolderRow = data && data->hasFormat(kFolderDataType) && dragged;
    proposal.hasFileNames = data && data->hasUrls();
    proposal.fileCount = data ? int(data->urls().size()) : 0;
    proposal.cardsFromCardTable = source && source->objectName() == kCardTableName;
    if (destination) {
        proposal.destinationIsSelected = destination == m_selected;
        proposal.destinationType = destination->folderType;
        proposal.destinationLevel = destination->folderLevel;
    }
    if (dragged && dragged->folderParent) {
        proposal.draggedParentLevel = dragged->folderParent->folderLevel;
        proposal.draggedDepth = getTreeNodeDepth(const_cast<TreeNode*>(dragged));
        proposal.destinationIsDraggedParent = destination == dragged->folderParent;
        proposal.destinationInsideDragged = destination && isInSubtree(const_cast<TreeNode*>(destination), const_cast<TreeNode*>(dragged));
    }
    return validateFolderDrop(proposal);
}

bool PLOutlineViewController::acceptDrop(const QMimeData* data, QObject* source, const QModelIndex& index, bool onRow)
{
    if (validateDrop(data, source, index, onRow) == kDragOperationNone)
        return false;
    const TreeNode* destination = nodeAt(index);
    if (data->hasFormat(QString::fromLatin1(PLDragSupportDataSource::kTableViewDataType))) {
        emit cardsDroppedOnFolder(source, destination->folderID);
        return true;
    }
    if (data->hasFormat(kFolderDataType))
        return MoveFolder(getTreeNodeByFolderID(m_dragFolderID), destination);
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return !files.isEmpty() && _cardListController && _cardListController->importDroppedFiles(files, destination);
}

int PLOutlineViewController::validateDropOnShownRows(const QMimeData* data, QObject* source, const QModelIndex& parent) const
{
    for (int row = 0; row < m_model->rowCount(parent); ++row) {
        const QModelIndex index = m_model->index(row, 0, parent);
        int operation = validateDrop(data, source, index, true);
        if (operation == kDragOperationNone && _outlineView->isExpanded(index))
            operation = validateDropOnShownRows(data, source, index);
        if (operation != kDragOperationNone)
            return operation;
    }
    return kDragOperationNone;
}

bool PLOutlineViewController::dragEvent(QDropEvent* event, bool drop)
{
    const QPoint position = event->position().toPoint();
    const QModelIndex index = _outlineView->indexAt(position);
    // Only the row itself takes a drop; its top and bottom edges are between rows.
    const bool onRow = index.isValid() && _outlineView->visualRect(index).adjusted(0, 2, 0, -2).contains(position);
    // A refused entry gets no moves at all: entering takes any drag some shown row could take,
    // and each move decides by the row under the pointer.
    int operation = kDragOperationNone;
    if (drop)
        operation = acceptDrop(event->mimeData(), event->source(), index, onRow) ? kDragOperationCopy : kDragOperationNone;
    else if (event->type() == QEvent::DragEnter)
        operation = validateDropOnShownRows(event->mimeData(), event->source(), QModelIndex());
    else
        operation = validateDrop(event->mimeData(), event->source(), index, onRow);
    if (operation == kDragOperationNone) {
        event->ignore();
        return true;
    }
    if (!drop)
        event->setDropAction(operation == kDragOperationCopy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    return true;
}

bool PLOutlineViewController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == _outlineView->viewport()) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            return dragEvent(static_cast<QDropEvent*>(event), false);
        case QEvent::Drop:
            return dragEvent(static_cast<QDropEvent*>(event), true);
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void PLOutlineViewController::keyDeleteRec()
{
    if (m_selected && m_selected->folderType == kFolderTypeUser)
        removeFolder(m_selected);
}

void PLOutlineViewController::addFolderFromMainMenu()
{
    commitFolderNameEdit();
    if (validateMenuItem(QStringLiteral("addFolderFromMainMenu")))
        addFolder(m_selected);
}

void PLOutlineViewController::onListSideBar()
{
    if (m_showFolderPane && !windowBusy())
        m_showFolderPane(!isFolderPaneShown());
}

bool PLOutlineViewController::validateMenuItem(const QString& action) const
{
    if (windowBusy())
        return false;
    if (action == QLatin1String("addFolderFromMainMenu")) {
        // Under the root or a user folder with room for a level below; never under the Inbox.
        const bool canHoldFolder = m_selected
            && (m_selected->folderType == kFolderTypeRoot
                || (m_selected->folderType == kFolderTypeUser && m_selected->folderLevel < kFolderMaxLevel));
        return PLNetDBLockController::dbOpenMode() != PLNetDBLockController::kOpenModeReadOnly && isFolderPaneShown() && canHoldFolder;
    }
    return true;
}

bool PLOutlineViewController::windowBusy() const
{
    return _mainWinController && _mainWinController->hasAttachedSheet();
}

int PLOutlineViewController::shownFolderListViewWidth(int splitWidth, int dividerWidth) const
{
    const int width = std::max(m_hiddenWidth, MainWindowLayout::kFolderMinWidth);
    return width + MainWindowLayout::kCardAreaMinWidth + dividerWidth > splitWidth ? splitWidth - MainWindowLayout::kCardAreaMinWidth - dividerWidth : width;
}

void PLOutlineViewController::InitTreeListView(ManagedObjectContext* context)
{
    if (!m_model)
        return;
    m_context = context;
    if (!reloadTree())
        return;
    AssignFolderIDToCard();
    if (std::exchange(_isLaunchFromShortCutKey, false)) {
        selectNode(m_root.get());
        return;
    }
    const ManagedObjectList versions = context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityVersion), {}, {}});
    const QString folderID = versions.isEmpty() ? QString() : versions.first()->stringValue(QStringLiteral("Sel_Folder_ID"));
    const QString cardID = versions.isEmpty() ? QString() : versions.first()->stringValue(QStringLiteral("Sel_Card_ID"));
    if (folderID.isEmpty() || !openFolderWithFolderID(folderID))
        openInbox();
    if (_cardListController && !cardID.isEmpty())
        _cardListController->selectCardWithID(cardID);
}

bool PLOutlineViewController::reloadTree()
{
    m_selected = nullptr;
    m_root.reset();
    m_folderNameBeforeEdit = QString();
    m_model->clear();
    if (!m_context)
        return false;
    int error = 0;
    const ManagedObjectList folders = m_context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityFolder), {}, {}}, &error);
    if (error != 0)
        PLNSLog(QStringLiteral("fetchRequest failure!"));
    QList<FolderRecord> records;
    for (const ManagedObjectPtr& folder : folders) {
        records.append({folder->stringValue(kFolderID), folder->stringValue(kFolderName), folder->stringValue(kFolderParent),
                        folder->value(kFolderLevel).toInt(), folder->value(kFolderType).toInt()});
    }
    m_root = buildFolderTree(records, getLocalString(QStringLiteral("IDS_FOLDER_NAME_ALL")),
                             getLocalString(QStringLiteral("IDS_FOLDER_NAME_INBOX")));
    if (!m_root)
        return false;
    fillModel();
    return true;
}

void PLOutlineViewController::fillModel()
{
    const QString selectedID = m_selected ? m_selected->folderID : QString();
    m_filling = true;
    m_model->clear();
    auto addItems = [this](auto& self, QStandardItem* parent, const TreeNode* node) -> void {
        // A name is one line in the tree, whatever the record holds.
        auto* item = new QStandardItem(QString(node->folderName).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        item->setData(QVariant::fromValue(quintptr(node)), kNodeRole);
        item->setEditable(node->folderType == kFolderTypeUser);
        item->setToolTip(node->folderName);
        if (node->folderType != kFolderTypeUser)
            item->setData(folderImage(node), Qt::DecorationRole);
        parent->appendRow(item);
        for (const std::shared_ptr<TreeNode>& child : node->children)
            self(self, item, child.get());
    };
    addItems(addItems, m_model->invisibleRootItem(), m_root.get());
    _outlineView->expandAll();
    m_filling = false;
    if (const TreeNode* node = getTreeNodeByFolderID(selectedID))
        selectNode(node);
}

QStandardItem* PLOutlineViewController::itemForNode(const TreeNode* node) const
{
    if (!node || !m_model)
        return nullptr;
    const QModelIndexList found = m_model->match(m_model->index(0, 0), kNodeRole, QVariant::fromValue(quintptr(node)), 1,
                                                 Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : m_model->itemFromIndex(found.first());
}

const TreeNode* PLOutlineViewController::getTreeNodeByFolderID(const QString& folderID) const
{
    return ::getTreeNodeByFolderID(folderID, m_root.get());
}

bool PLOutlineViewController::openInbox()
{
    const auto inbox = m_root ? std::find_if(m_root->children.begin(), m_root->children.end(),
                                             [](const std::shared_ptr<TreeNode>& n) { return n->folderType == kFolderTypeInbox; })
                              : decltype(m_root->children.begin()){};
    if (!m_root || inbox == m_root->children.end())
        return false;
    selectNode(inbox->get());
    return true;
}

bool PLOutlineViewController::openFolderWithFolderID(const QString& folderID)
{
    // A folder made since the tree was built is shown once the tree is built again.
    if (!getTreeNodeByFolderID(folderID) && m_context)
        reloadTree();
    const TreeNode* node = getTreeNodeByFolderID(folderID);
    if (!node)
        return false;
    selectNode(node);
    return true;
}

void PLOutlineViewController::selectNode(const TreeNode* node)
{
    QStandardItem* item = itemForNode(node);
    if (!item)
        return;
    const QModelIndex index = item->index();
    _outlineView->setCurrentIndex(index);
    _outlineView->scrollTo(index);
    if (m_selected != node)
        selectionChanged();
}

void PLOutlineViewController::selectionChanged()
{
    if (m_filling)
        return;
    const QModelIndex current = _outlineView->currentIndex();
    m_selected = current.isValid() ? reinterpret_cast<const TreeNode*>(current.data(kNodeRole).value<quintptr>()) : nullptr;
    // A search goes on inside the folder chosen.
    if (_cardListController && _searchFiled && !_searchFiled->text().isEmpty())
        _cardListController->setSearchPredicate(_searchFiled->text(), _cardListController->searchScopeTag());
    else if (_cardListController)
        _cardListController->setPredicate();
    updateBottomFolderStatus();
    updateAboveFolderStatus();
    emit folderSelectionChanged();
}

int PLOutlineViewController::getFolderListViewWidth() const
{
    const int width = m_visibleWidth ? m_visibleWidth() : 0;
    return width > 1 ? width : m_hiddenWidth;
}

void PLOutlineViewController::setHiddenFolderListViewWidth(double width)
{
    m_hiddenWidth = std::max(MainWindowLayout::kFolderMinWidth, int(width));
}

void PLOutlineViewController::updateBottomFolderStatus()
{
    if (!_bottomFolderStatusLabel || !_bottomFolderStatusPath)
        return;
    QString labelKey = QStringLiteral("IDS_FOLDER_STATUS_NORMAL");
    QString path;
    if (m_selected && m_selected->folderType == kFolderTypeRoot) {
        // In the root, a selected card's own folder is named.
        const QString cardFolderID = _cardListController ? _cardListController->selectedCardFolderID() : QString();
        if (cardFolderID.isNull()) {
            path = m_selected->folderName;
        } else {
            labelKey = QStringLiteral("IDS_FOLDER_STATUS_ROOT");
            const TreeNode* folder = getTreeNodeByFolderID(cardFolderID);
            path = folder ? folderPathBelowRoot(folder).join(QLatin1Char('/')) : QString();
        }
    } else {
        path = folderPathBelowRoot(m_selected).join(QLatin1Char('/'));
    }
    _bottomFolderStatusLabel->setText(getLocalString(labelKey) + QStringLiteral(" :"));
    _bottomFolderStatusPath->setText(path);
    emit bottomFolderStatusUpdated();
}

QIcon PLOutlineViewController::folderImage(const TreeNode* node) const
{
    switch (node->folderType) {
    case kFolderTypeRoot: return bundleImage(QStringLiteral("IDI_TREE_FOLD_ROOT.ico"));
    case kFolderTypeInbox: return bundleImage(QStringLiteral("inbox_folder.png"));
    default: return m_cell ? QIcon(m_cell->image()) : QIcon();
    }
}

void PLOutlineViewController::updateAboveFolderStatus()
{
    if (!_aboveFolderStatus)
        return;
    if (m_selected)
        _aboveFolderStatus->setTitle(folderImage(m_selected).pixmap(ImageAndTextCell::kImageSide, ImageAndTextCell::kImageSide),
                                     m_selected->folderName);
    else
        _aboveFolderStatus->setTitle(QPixmap(), QString());
}

bool PLOutlineViewController::checkDBStatus()
{
    QWidget* window = _outlineView ? _outlineView->window() : nullptr;
    if (checkDBAttributes(m_database.folder()) != kDBAttributesOK) {
        PLNSLog(QStringLiteral("There is something wrong with DB file."));
        PLMessage::ShowPLErrorMessageBySheet(window, kMessageDBError);
        return false;
    }
    if (checkDiskSize(m_database.folder(), g_lDiskSize) != 0) {
        PLNSLog(QStringLiteral("Local disk is not enough."));
        PLMessage::ShowPLErrorMessageBySheet(window, kMessageDiskSpace);
        return false;
    }
    return true;
}

bool PLOutlineViewController::checkFormat(const QString& name, const TreeNode* node)
{
    int code = checkFolderNameFormat(name);
    if (code == 0 && checkSameFolder(name, node))
        code = kFolderNameDuplicate;
    if (code != 0 && code != kFolderNameEmpty)
        PLMessage::ShowPLErrorMessageBySheet(_outlineView ? _outlineView->window() : nullptr, code);
    return code == 0;
}

ManagedObjectPtr PLOutlineViewController::folderRecord(const QString& folderID)
{
    int error = 0;
    const ManagedObjectList found = m_context ? m_context->executeFetchRequest(
                                                    {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(kFolderID, folderID), {}}, &error)
                                              : ManagedObjectList{};
    if (error != 0)
        PLNSLog(QStringLiteral("fetchRequest failure!"));
    return found.isEmpty() ? nullptr : found.first();
}

bool PLOutlineViewController::saveStore()
{
    QString errorText;
    if (!m_context || m_context->save(&errorText) == 0)
        return true;
    PLNSLog(QStringLiteral("%@"), errorText);
    // The folder changes the store refused are taken back, so that the tree built again from the
    // store shows what it holds.
    const QString folderEntity = QString::fromLatin1(CardStore::kEntityFolder);
    for (const ManagedObjectList& changed : {m_context->insertedObjects(), m_context->updatedObjects(), m_context->deletedObjects()}) {
        for (const ManagedObjectPtr& object : changed) {
            if (object->entityName() == folderEntity)
                m_context->discardChanges(object);
        }
    }
    if (!PLNetDBLockController::ShowErrorMessageByPathType())
        PLMessage::ShowPLErrorMessageBySheet(_outlineView ? _outlineView->window() : nullptr, kMessageDBError);
    return false;
}

void PLOutlineViewController::showStoredTree(QString folderID)
{
    if (!reloadTree())
        return;
    if (!openFolderWithFolderID(folderID))
        openInbox();
}

bool PLOutlineViewController::addFolder(const TreeNode* parent)
{
    TreeNode* target = const_cast<TreeNode*>(::getTreeNodeByFolderID(parent ? parent->folderID : QString(), m_root.get()));
    if (!target || target->folderType == kFolderTypeInbox || target->folderLevel >= kFolderMaxLevel || !checkDBStatus())
        return false;
    auto node = std::make_shared<TreeNode>();
    node->folderID = getUUID();
    node->folderName = createDefaultFolderName(target, getLocalString(QStringLiteral("PL_TEXT_NEWFOLDER")));
    node->folderLevel = target->folderLevel + 1;
    node->folderParent = target;
    target->children.append(node);
    m_folderNameBeforeEdit = node->folderName;
    m_adding = true;
    fillModel();
    selectNode(node.get());
    if (QStandardItem* item = itemForNode(node.get()))
        _outlineView->edit(item->index());
    return true;
}

void PLOutlineViewController::AssignFolderIDToCard()
{
    // Every card and every folder record is compared by the few values the rule reads, without
    // an object per row; only the cards and records that change are made objects.
    int error = 0;
    const ManagedObjectList inboxes = m_context->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(kFolderType, kFolderTypeInbox), {}}, &error);
    const QString cardIDKey = QStringLiteral("cardID");
    const QString connectedKey = QStringLiteral("connected");
    FetchRequest request{QString::fromLatin1(CardStore::kEntityCardBelong), {}, {}};
    request.propertiesToFetch = {cardIDKey, kFolderID};
    const FetchedRowsPtr belongs = error == 0 && !inboxes.isEmpty() ? m_context->fetchRows(request, &error) : nullptr;
    request.entityName = QString::fromLatin1(CardStore::kEntityCard);
    request.propertiesToFetch = {cardIDKey, connectedKey, kFolderID};
    const FetchedRowsPtr cards = error == 0 && belongs ? m_context->fetchRows(request, &error) : nullptr;
    if (error != 0 || inboxes.isEmpty() || !belongs || !cards) {
        PLNSLog(QStringLiteral("fetchRequest failure!"));
        return;
    }
    const QString inboxID = inboxes.first()->stringValue(kFolderID);
    const int belongCardID = belongs->columnOf(cardIDKey), belongFolder = belongs->columnOf(kFolderID);
    const int cardID = cards->columnOf(cardIDKey), cardConnected = cards->columnOf(connectedKey), cardFolder = cards->columnOf(kFolderID);
    // Cards and their records are saved in pairs, so the store mostly answers them in the same
    // order: a record is looked up by its card's identifier only when out of step.
    QHash<QString, qsizetype> cardByID;
    auto cardOf = [&](qsizetype belong) {
        const QString id = belongs->stringValue(belong, belongCardID);
        if (belong < cards->count() && cards->stringValue(belong, cardID) == id)
            return belong;
        if (cardByID.isEmpty()) {
            cardByID.reserve(cards->count());
            for (qsizetype card = 0; card < cards->count(); ++card)
                cardByID.insert(cards->stringValue(card, cardID), card);
        }
        return cardByID.value(id, -1);
    };
    bool changed = false;
    std::vector<char> filed(size_t(cards->count()), 0);
    for (qsizetype belong = 0; belong < belongs->count(); ++belong) {
        const qsizetype card = cardOf(belong);
        if (card < 0) {
            PLNSLog(QStringLiteral("CardBelong's relation object is not exist."));
            continue;
        }
        filed[size_t(card)] = 1;
        const QString recordFolderID = belongs->stringValue(belong, belongFolder);
        const QString folderID = cards->value(card, cardConnected).toInt() >= 1 ? inboxID : recordFolderID;
        if (cards->stringValue(card, cardFolder) == folderID && recordFolderID == folderID)
            continue;
        const ManagedObjectPtr cardObject = cards->object(card);
        const ManagedObjectPtr belongObject = belongs->object(belong);
        if (cardObject && belongObject) {
            assignCardFolder(*cardObject, *belongObject, folderID);
            changed = true;
        }
    }
    for (qsizetype card = 0; card < cards->count(); ++card) {
        if (filed[size_t(card)] || cards->value(card, cardConnected).toInt() < 1 || !cards->stringValue(card, cardFolder).isEmpty())
            continue;
        const ManagedObjectPtr cardObject = cards->object(card);
        if (!cardObject)
            continue;
        const ManagedObjectPtr belong = m_context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(cardIDKey, cardObject->stringValue(cardIDKey));
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), cardObject);
        assignCardFolder(*cardObject, *belong, inboxID);
        changed = true;
    }
    // An unchanged store is not written at every start.
    if (changed)
        saveStore();
}

ImageAndTextCell* PLOutlineViewController::selectedItemCell() const
{
    const QStandardItem* item = itemForNode(m_selected);
    return item && _outlineView->visualRect(item->index()).isValid() ? m_cell : nullptr;
}

QWidget* PLOutlineViewController::currentEditor() const
{
    const QStandardItem* item = itemForNode(m_selected);
    return item ? _outlineView->indexWidget(item->index()) : nullptr;
}

void PLOutlineViewController::commitFolderNameEdit()
{
    if (isInEditing())
        if (ImageAndTextCell* cell = selectedItemCell())
            cell->callEndEditing(currentEditor());
}

void PLOutlineViewController::endEditing(const QString& typed)
{
    if (m_folderNameBeforeEdit.isNull() || !m_selected)
        return;
    auto* node = const_cast<TreeNode*>(m_selected);
    const QString before = m_folderNameBeforeEdit;
    m_folderNameBeforeEdit = QString();
    const bool adding = std::exchange(m_adding, false);
    if (!checkDBStatus()) {
        // Nothing is stored: an added folder goes again, a renamed one keeps its name.
        if (adding && node->folderParent) {
            TreeNode* parent = node->folderParent;
            parent->children.removeIf([node](const std::shared_ptr<TreeNode>& c) { return c.get() == node; });
            m_selected = nullptr;
            fillModel();
            selectNode(parent);
        } else {
            node->folderName = before;
            fillModel();
        }
        return;
    }
    const QString name = typed.left(kFolderNameMaxLength);
    node->folderName = checkFormat(name, node) ? name : before;
    if (node->folderParent)
        sortChildren(*node->folderParent);
    fillModel();
    selectNode(node);
    bool saved = true;
    if (adding) {
        if (!m_context)
            return;
        const ManagedObjectPtr record = m_context->insertNewObject(QString::fromLatin1(CardStore::kEntityFolder));
        record->setValue(kFolderID, node->folderID);
        record->setValue(kFolderName, node->folderName);
        record->setValue(kFolderLevel, node->folderLevel);
        record->setValue(kFolderParent, node->folderParent ? node->folderParent->folderID : QString());
        record->setValue(kFolderType, kFolderTypeUser);
        saved = saveStore();
    } else if (const ManagedObjectPtr record = folderRecord(node->folderID)) {
        record->setValue(kFolderName, node->folderName);
        saved = saveStore();
    }
    if (!saved) {
        // An added folder is gone again; a renamed one keeps its stored name.
        showStoredTree(adding && node->folderParent ? node->folderParent->folderID : node->folderID);
        return;
    }
    updateBottomFolderStatus();
    updateAboveFolderStatus();
}

bool PLOutlineViewController::renameFolder(const TreeNode* node, const QString& name)
{
    if (!node || node->folderType != kFolderTypeUser)
        return false;
    selectNode(node);
    m_folderNameBeforeEdit = node->folderName;
    // A refused save builds the tree again: the folder is found by its identifier.
    const QString folderID = node->folderID;
    endEditing(name);
    const TreeNode* renamed = getTreeNodeByFolderID(folderID);
    return renamed && renamed->folderName == name;
}

bool PLOutlineViewController::removeFolder(const TreeNode* node)
{
    if (!node || node->folderType != kFolderTypeUser || !m_context || !checkDBStatus())
        return false;
    QWidget* window = _outlineView->window();
    if (!node->children.isEmpty()) {
        PLNSLog(QStringLiteral("the delete folder has child folder"));
        PLMessage::ShowPLErrorMessageBySheet(window, kFolderNotEmpty);
        return false;
    }
    int error = 0;
    const ManagedObjectList belongs = m_context->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityCardBelong), keyEquals(kFolderID, node->folderID), {}}, &error);
    if (error != 0) {
        PLNSLog(QStringLiteral("fetchRequest failure!"));
        return false;
    }
    // Cards in the trash do not keep a folder; a card without the flag is not in the trash.
    const bool holdsCards = std::any_of(belongs.begin(), belongs.end(), [&](const ManagedObjectPtr& belong) {
        const ManagedObjectList cards = m_context->executeFetchRequest(
            {QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("cardID"), belong->stringValue(QStringLiteral("cardID"))), {}});
        return std::any_of(cards.begin(), cards.end(), [](const ManagedObjectPtr& card) { return card->value(QStringLiteral("deletedFlag")).toInt() != 1; });
    });
    if (holdsCards) {
        PLNSLog(QStringLiteral("the delete folder has card"));
        PLMessage::ShowPLErrorMessageBySheet(window, kFolderNotEmpty);
        return false;
    }
    if (PLMessage::ShowPLInfoMessageBySheet(window, QStringLiteral("IDS_MSG_FOLDER_IS_DELETE"), 2, 3, QString()) != 1 || !checkDBStatus())
        return false;
    if (const ManagedObjectPtr record = folderRecord(node->folderID))
        m_context->deleteObject(record);
    if (!saveStore()) {
        showStoredTree(node->folderID);
        return false;
    }
    TreeNode* parent = node->folderParent;
    parent->children.removeIf([node](const std::shared_ptr<TreeNode>& c) { return c.get() == node; });
    if (m_selected == node)
        m_selected = nullptr;
    fillModel();
    if (!m_selected)
        selectNode(parent);
    return true;
}

bool PLOutlineViewController::MoveFolder(const TreeNode* draggedNode, const TreeNode* destinationNode)
{
    auto* dragged = const_cast<TreeNode*>(draggedNode);
    auto* destination = const_cast<TreeNode*>(destinationNode);
    if (!dragged || !destination || !m_context || isInSubtree(destination, dragged)
        || destination->folderLevel + getTreeNodeDepth(dragged) > kFolderMaxLevel)
        return false;
    if (hasChildNamed(destination, dragged->folderName)) {
        PLMessage::ShowPLErrorMessageBySheet(_outlineView->window(), kFolderMoveDuplicate);
        return false;
    }
    if (!checkDBStatus())
        return false;
    moveNode(dragged, destination);
    for (TreeNode* each : convertTreeToArray(dragged)) {
        const ManagedObjectPtr record = folderRecord(each->folderID);
        if (!record)
            continue;
        record->setValue(kFolderLevel, each->folderLevel);
        if (each == dragged)
            record->setValue(kFolderParent, destination->folderID);
    }
    if (!saveStore()) {
        showStoredTree(m_selected ? m_selected->folderID : QString());
        return false;
    }
    fillModel();
    return true;
}
