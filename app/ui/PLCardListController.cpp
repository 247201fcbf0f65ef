#include "app/ui/PLCardListController.h"

#include "app/core/CardEntities.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/core/VersionUtilities.h"
#include "app/ui/CardTableModel.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/logic/CardListColumns.h"
#include "app/ui/logic/CardListFilters.h"
#include "app/ui/logic/MainWindowLayout.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/SelectionBridge.h"
#include "app/ui/views/PLCardListTableView.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>

using CardListColumns::Column;

namespace {

PlistValue columnInfo(const QTableView* table, const CardTableModel* model)
{
    QList<CardListColumns::Stored> columns;
    if (!table || !model)
        return CardListColumns::columnInfo(columns);
    const QHeaderView* header = table->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        columns.append({model->columns().value(logical), double(header->sectionSize(logical))});
    }
    return CardListColumns::columnInfo(columns);
}

} // namespace

PLCardListController::PLCardListController(const OpenDatabase& database, QObject* parent)
    : QObject(parent), m_database(database)
{
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(PLCardListTableView::kKeyDownNotification),
                                                    [this](const Notification& notification) { keyDeleteRec(notification); });
    NotificationCenter::defaultCenter().addObserver(this, QLatin1String(ManagedObjectContext::kObjectsDidChangeNotification),
                                                    [this](const Notification& notification) { contextObjectsDidChange(notification); });
}

PLCardListController::~PLCardListController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    Scheduler::shared().cancelPreviousPerformRequests(this);
}

void PLCardListController::registerDragDropObservers()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QString::fromLatin1(kDragDropNotification),
                       [this](const Notification& notification) { respondToDragDropNotification(notification); });
    center.addObserver(this, QString::fromLatin1(kFileNamesDragDropNotification),
                       [this](const Notification& notification) { respondToFileNamesDragDropNotification(notification); });
    center.addObserver(this, QString::fromLatin1(kCardToFolderNotification),
                       [this](const Notification& notification) { respondToDragCardToAnotherFolderNotification(notification); });
}

void PLCardListController::awakeFromNib()
{
    if (!m_tableViewCard || !_trashTableView || !_acWndCard || !_acWndCardInTrash)
        return;
    m_displayMode = getDefaultDisplayMode();
    m_cardModel = new CardTableModel(*_acWndCard, true, this);
    m_trashModel = new CardTableModel(*_acWndCardInTrash, false, this);
    const PreferenceDomain& preferences = PreferenceDomain::standard();
    setupTable(m_tableViewCard, m_cardModel, preferences.value(QString::fromLatin1(kColumnInfoKey)));
    setupTable(_trashTableView, m_trashModel, preferences.value(QString::fromLatin1(kTrashColumnInfoKey)));
    createTableViewMenu();
    m_cardBridge = new SelectionBridge(*_acWndCard, *m_tableViewCard->selectionModel(), this);
    m_trashBridge = new SelectionBridge(*_acWndCardInTrash, *_trashTableView->selectionModel(), this);
    connect(_acWndCard, &ArrayController::selectionChanged, this, &PLCardListController::tableViewSelectionDidChange);
    for (PLArrayController* controller : {_acWndCard, _acWndCardInTrash}) {
        QTableView* table = controller == _acWndCard ? m_tableViewCard : _trashTableView;
        connect(controller, &ArrayController::arrangedObjectsChanged, table, [this, table] { showSortIndicator(table); });
    }
    for (QTableView* table : {m_tableViewCard, _trashTableView}) {
        if (auto* view = qobject_cast<PLCardListTableView*>(table)) {
            view->setTableDelegate(this);
            connect(view, &PLCardListTableView::lostUndo, this, [this, view] { lostUndo(view); });
        }
    }
    // Only the card table's focus retitles Delete: the trash taking the focus follows the card
    // table's losing it, which has retitled it already.
    if (auto* view = qobject_cast<PLCardListTableView*>(m_tableViewCard))
        connect(view, &PLCardListTableView::firstResponderChanged, this, &PLCardListController::changeDeleteMenuItemTitle);
    createContextualMenus();
    registerDragDropObservers();
    _acWndCardInTrash->setFilterPredicate(CardListFilters::trashFilter());
}

void PLCardListController::createContextualMenus()
{
    using CardListMenus::Command;
    m_cardTableMenu = contextualMenu(m_tableViewCard, {{Command::RemoveRecord, "IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_ACTIVE"},
                                                       {Command::ShowTrashTable, "IDS_MENU_SHOW_TRASH"}});
    m_cardTableMenu->setObjectName(QStringLiteral("cardTableMenu"));
    m_trashTableMenu = contextualMenu(_trashTableView, {{Command::ReturnRecord, "IDS_MENU_RETURN_RECORD"},
                                                        {Command::RemoveRecordInTrash, "IDS_MENU_DELETE_RECORD_IN_TRASH"},
                                                        {Command::ShowTrashTable, "IDS_MENU_SHOW_TRASH"}});
    m_trashTableMenu->setObjectName(QStringLiteral("trashTableMenu"));
}

QMenu* PLCardListController::contextualMenu(QTableView* table, const QList<std::pair<CardListMenus::Command, const char*>>& items)
{
    using CardListMenus::Command;
    auto* menu = new QMenu(table);
    // The restore of the contextual menu has tag 1: the trash need not have the focus.
    const int tag = 1;
    for (const auto& [command, titleKey] : items) {
        if (command == Command::ShowTrashTable)
            menu->addSeparator();
        QAction* item = menu->addAction(getLocalString(QString::fromLatin1(titleKey)));
        item->setData(tag);
        item->setCheckable(command == Command::ShowTrashTable);
        connect(item, &QAction::triggered, this, [this, command] {
            // A shortcut or a stale menu may still reach here: the rule decides again.
            if (!validateMenuItem(command, tag).enabled)
                return;
            switch (command) {
            case Command::RemoveRecord:
                m_trashCommands.removeRecord();
                break;
            case Command::RemoveRecordInTrash:
                m_trashCommands.removeRecordInTrash();
                break;
            case Command::ReturnRecord:
                m_trashCommands.returnRecord();
                break;
            case Command::ShowTrashTable:
                m_trashCommands.showTrashTable();
                break;
            default:
                break;
            }
        });
        connect(menu, &QMenu::aboutToShow, item, [this, item, command] {
            const CardListMenus::Validation validation = validateMenuItem(command, tag);
            item->setEnabled(validation.enabled);
            item->setChecked(validation.checked);
        });
    }
    if (auto* view = qobject_cast<PLCardListTableView*>(table))
        view->setMenu(menu);
    return menu;
}

CardListMenus::Validation PLCardListController::validateMenuItem(CardListMenus::Command command, int tag) const
{
    using CardListMenus::Command;
    // A command the trash does not offer stays off.
    const bool offered = [&] {
        switch (command) {
        case Command::RemoveRecord:
            return bool(m_trashCommands.removeRecord);
        case Command::RemoveRecordInTrash:
            return bool(m_trashCommands.removeRecordInTrash);
        case Command::ReturnRecord:
            return bool(m_trashCommands.returnRecord);
        case Command::ShowTrashTable:
            return bool(m_trashCommands.showTrashTable);
        default:
            return true;
        }
    }();
    auto hasSelectedRow = [](const QTableView* table) {
        return table && table->selectionModel() && SelectionBridge::selectedRow(*table->selectionModel()) >= 0;
    };
    CardListMenus::State state;
    state.sheetAttached = m_hasAttachedSheet && m_hasAttachedSheet();
    state.readOnly = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly;
    state.cardRowSelected = hasSelectedRow(m_tableViewCard);
    state.trashRowSelected = hasSelectedRow(_trashTableView);
    state.trashIsFirstResponder = _trashTableView && _trashTableView->window()->focusWidget() == _trashTableView;
    state.trashShown = _trashTableView && _trashTableView->isVisibleTo(_trashTableView->window());
    const Column* column = command == Command::Column ? CardListColumns::columnWithTag(tag) : nullptr;
    state.columnShown = column && (_intMenuDisplay & column->bit);
    CardListMenus::Validation validation = CardListMenus::validateMenuItem(command, tag, state);
    validation.enabled = validation.enabled && offered;
    return validation;
}

void PLCardListController::setDeleteMenuItem(QAction* item)
{
    _deleteMenuItem = item;
    const bool active = m_tableViewCard && m_tableViewCard->window()->focusWidget() == m_tableViewCard;
    changeDeleteMenuItemTitle(active);
}

void PLCardListController::changeDeleteMenuItemTitle(bool cardTableActive)
{
    if (!_deleteMenuItem)
        return;
    _deleteMenuItem->setText(getLocalString(cardTableActive ? QStringLiteral("IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_ACTIVE")
                                                            : QStringLiteral("IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_DEACTIVE")));
}

void PLCardListController::lostUndo(const QTableView* table)
{
    if (table == m_tableViewCard && _undoManager)
        _undoManager->removeAllActions();
}

bool PLCardListController::canDeleteRecords() const
{
    return PLNetDBLockController::dbOpenMode() != PLNetDBLockController::kOpenModeReadOnly;
}

void PLCardListController::keyDeleteRec(const Notification& notification)
{
    if (!canDeleteRecords())
        return;
    // Only this list's own tables: a key in another window's table is not this list's command.
    if (notification.object == m_tableViewCard && m_trashCommands.removeRecord)
        m_trashCommands.removeRecord();
    else if (notification.object == _trashTableView && m_trashCommands.removeRecordInTrash)
        m_trashCommands.removeRecordInTrash();
}

void PLCardListController::deleteTableViewItem(QWidget* firstResponder)
{
    if (firstResponder == m_tableViewCard && m_trashCommands.removeRecord)
        m_trashCommands.removeRecord();
    else if (firstResponder == _trashTableView && m_trashCommands.removeRecordInTrash)
        m_trashCommands.removeRecordInTrash();
}

void PLCardListController::respondToDragDropNotification(const Notification& notification)
{
    if (notification.userInfo.value(QString::fromLatin1(kDragDropKey)).toBool()) {
        if (m_trashCommands.removeRecord)
            m_trashCommands.removeRecord();
        return;
    }
    // Onto the card list: into the folder shown, or each card to its own folder from the root.
    const TreeNode* folder = _outlineViewController ? _outlineViewController->getSelectedItem() : nullptr;
    if (folder && folder->folderType == kFolderTypeRoot) {
        if (m_trashCommands.returnRecord)
            m_trashCommands.returnRecord();
    } else if (folder && m_trashCommands.returnRecordToFolder) {
        m_trashCommands.returnRecordToFolder(*folder);
    }
}

void PLCardListController::respondToFileNamesDragDropNotification(const Notification& notification)
{
    const QStringList paths = notification.userInfo.value(QString::fromLatin1(kFileNamesKey)).toStringList();
    importDroppedFiles(paths, _outlineViewController ? _outlineViewController->getSelectedItem() : nullptr);
}

bool PLCardListController::importDroppedFiles(const QStringList& paths, const TreeNode* folder)
{
    if (!_appController)
        return false;
    _appController->setBelongFolder(std::nullopt);
    if (folder)
        _appController->setBelongFolder(PLBelongFolder{folder->folderID, folder->folderType});
    PLAppController* appController = _appController;
    Scheduler::shared().performAfterDelay(this, QStringLiteral("loadOpenFilesDataArray:"), kFileDropDelayMs, [appController, paths] {
        appController->loadOpenFilesDataArray({paths, kInputTypeDrop});
    });
    return true;
}

void PLCardListController::respondToDragCardToAnotherFolderNotification(const Notification& notification)
{
    const auto* source = notification.userInfo.value(QString::fromLatin1(kDraggingSourceKey)).value<QObject*>();
    const QString folderID = notification.userInfo.value(QString::fromLatin1(kDraggingDestinationKey)).toString();
    const TreeNode* folder = _outlineViewController ? _outlineViewController->getTreeNodeByFolderID(folderID) : nullptr;
    if (source != m_tableViewCard && source != _trashTableView) {
        PLNSLog(QStringLiteral("Unknown dragging source."));
        return;
    }
    if (!folder)
        return;
    if (source == m_tableViewCard && m_trashCommands.moveRecordToFolder)
        m_trashCommands.moveRecordToFolder(*folder);
    else if (source == _trashTableView && m_trashCommands.returnRecordToFolder)
        m_trashCommands.returnRecordToFolder(*folder);
}

void PLCardListController::setupTable(QTableView* table, CardTableModel* model, const PlistValue& preference)
{
    table->setModel(model);
    const QList<CardListColumns::Stored> columns = CardListColumns::storedColumns(preference, m_displayMode);
    QStringList keys;
    for (const CardListColumns::Stored& column : columns)
        keys.append(column.attribute);
    model->setColumns(keys);
    // The mask is the union of both tables' columns.
    _intMenuDisplay |= CardListColumns::maskOf(columns);

    QHeaderView* header = table->horizontalHeader();
    header->setMinimumSectionSize(int(CardListColumns::kMinWidth));
    header->setMaximumSectionSize(int(CardListColumns::kMaxWidth));
    for (int i = 0; i < columns.size(); ++i)
        table->setColumnWidth(i, int(columns[i].size));
    header->setSectionsClickable(true);
    header->setSectionsMovable(true);
    header->setSortIndicatorShown(true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(header, &QHeaderView::sectionClicked, this, [this, table](int logical) { tableViewDidClickTableColumn(table, logical); });
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this, [this, header](const QPoint& at) {
        m_cardTvMenu->popup(header->mapToGlobal(at));
    });
}

void PLCardListController::createTableViewMenu()
{
    if (!m_cardTvMenu) {
        m_cardTvMenu = new QMenu(m_tableViewCard);
        m_cardTvMenu->setObjectName(QStringLiteral("m_cardTvMenu"));
        // Validation: an item is checked while its column is shown.
        connect(m_cardTvMenu, &QMenu::aboutToShow, this, [this] {
            for (QAction* item : m_cardTvMenu->actions()) {
                const CardListMenus::Validation validation = validateMenuItem(CardListMenus::Command::Column, item->data().toInt());
                item->setEnabled(validation.enabled);
                item->setChecked(validation.checked);
            }
        });
    }
    m_cardTvMenu->clear();
    for (const Column& column : CardListColumns::columns()) {
        if (!CardListColumns::isOffered(column, m_displayMode))
            continue;
        QAction* item = m_cardTvMenu->addAction(getLocalString(QString::fromLatin1(column.titleKey)));
        item->setData(column.tag);
        item->setCheckable(true);
        item->setChecked(_intMenuDisplay & column.bit);
        connect(item, &QAction::triggered, this, [this, tag = column.tag] { switchAction(tag); });
    }
}

void PLCardListController::switchAction(int tag)
{
    const Column* column = CardListColumns::columnWithTag(tag);
    if (!column || column->tag == 0 || !m_cardModel || !validateMenuItem(CardListMenus::Command::Column, tag).enabled)
        return;
    m_tableViewCard->setFocus(Qt::OtherFocusReason);
    const QString attribute = QString::fromLatin1(column->attribute);
    _intMenuDisplay ^= column->bit;
    if (_intMenuDisplay & column->bit) {
        for (QTableView* table : {m_tableViewCard, _trashTableView}) {
            CardTableModel* model = modelOf(table);
            if (model->columns().contains(attribute))
                continue;
            model->appendColumn(attribute);
            table->setColumnWidth(int(model->columns().size()) - 1, int(CardListColumns::kNewColumnWidth));
        }
    } else {
        resetSort(m_tableViewCard, attribute);
        resetSort(_trashTableView, attribute);
        m_cardModel->removeColumn(attribute);
        m_trashModel->removeColumn(attribute);
    }
    for (QAction* item : m_cardTvMenu->actions()) {
        if (item->data().toInt() == tag)
            item->setChecked(_intMenuDisplay & column->bit);
    }
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kMenuDisplayChangeNotification));
}

PLArrayController* PLCardListController::arrayControllerOf(const QTableView* table) const
{
    return table == _trashTableView ? _acWndCardInTrash : _acWndCard;
}

CardTableModel* PLCardListController::modelOf(const QTableView* table) const
{
    return table == _trashTableView ? m_trashModel : m_cardModel;
}

void PLCardListController::resetSort(QTableView* table, const QString& attribute)
{
    PLArrayController* controller = arrayControllerOf(table);
    controller->setSortDescriptors(CardListColumns::afterColumnRemoved(controller->sortDescriptors(), attribute));
}

void PLCardListController::tableViewDidClickTableColumn(QTableView* table, int logicalIndex)
{
    CardTableModel* model = modelOf(table);
    if (!model || logicalIndex < 0 || logicalIndex >= model->columns().size())
        return;
    PLArrayController* controller = arrayControllerOf(table);
    controller->setSortDescriptors(CardListColumns::afterHeaderClick(controller->sortDescriptors(), model->columns()[logicalIndex]));
    showSortIndicator(table);
    emit selectionDidChange();
}

void PLCardListController::showSortIndicator(QTableView* table)
{
    const CardTableModel* model = modelOf(table);
    const QList<SortDescriptor>& sort = arrayControllerOf(table)->sortDescriptors();
    const int column = sort.isEmpty() || !model ? -1 : int(model->columns().indexOf(sort.first().key));
    QHeaderView* header = table->horizontalHeader();
    QSignalBlocker quiet(header);
    header->setSortIndicator(column, column >= 0 && !sort.first().ascending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

QStringList PLCardListController::listedAttributes() const
{
    // What the folder filter and the sorts read of every card, the identifiers by which cards
    // are selected, and the flag the folder tree reads with the folder when it files the cards
    // (one read of the rows serves both). The cells read the cards they show; a search reads its
    // attributes when it starts.
    QStringList keys = {QStringLiteral("deletedFlag"), QStringLiteral("folder_ID"), QString::fromLatin1(CardListColumns::kAcceptDate),
                        QStringLiteral("cardID"), QStringLiteral("connected")};
    for (const PLArrayController* controller : {_acWndCard, _acWndCardInTrash}) {
        for (const SortDescriptor& sort : controller ? controller->sortDescriptors() : QList<SortDescriptor>())
            keys.append(sort.key);
    }
    keys.removeDuplicates();
    return keys;
}

void PLCardListController::reloadCards(ManagedObjectContext* context)
{
    // An undo record names cards of the store that was open.
    if (context != m_context)
        lostUndo(m_tableViewCard);
    m_context = context;
    // The list reads the rows' values it shows and filters by; a card becomes an object only
    // when it is selected or asked for, and is read whole then.
    FetchRequest request{QString::fromLatin1(CardStore::kEntityCard), {}, {}};
    request.propertiesToFetch = listedAttributes();
    const FetchedRowsPtr cards = context ? context->fetchRows(request) : nullptr;
    // The store's rows with the changes not saved yet, as a fetch sees them.
    const ManagedObjectList pending =
        context ? context->insertedObjects() + context->updatedObjects() + context->deletedObjects() : ManagedObjectList();
    if (_acWndCard)
        _acWndCard->setContent(cards, pending);
    if (_acWndCardInTrash)
        _acWndCardInTrash->setContent(cards, pending);
}

void PLCardListController::contextObjectsDidChange(const Notification& notification)
{
    if (notification.object != m_context)
        return;
    // Changed cards are read from their objects from now on, so that a rearrangement shows the change.
    ManagedObjectList changed;
    for (const char* key : {ManagedObjectContext::kUpdatedObjectsKey, ManagedObjectContext::kDeletedObjectsKey})
        changed += notification.userInfo.value(QLatin1String(key)).value<ManagedObjectList>();
    for (PLArrayController* controller : {_acWndCard, _acWndCardInTrash}) {
        if (controller)
            controller->adoptObjects(changed);
    }
}

namespace {

CardListFilters::Folder selectedFolder(const PLOutlineViewController* tree)
{
    const TreeNode* folder = tree ? tree->getSelectedItem() : nullptr;
    return folder ? CardListFilters::Folder{true, folder->folderType, folder->folderID} : CardListFilters::Folder{};
}

} // namespace

void PLCardListController::setPredicate(bool keepCardListFilter)
{
    if (!_acWndCard)
        return;
    _acWndCardInTrash->setFilterPredicate(CardListFilters::trashFilter());
    if (!keepCardListFilter)
        _acWndCard->setFilterPredicate(CardListFilters::cardListFilter(selectedFolder(_outlineViewController)));
    emit selectionDidChange();
}

void PLCardListController::setSearchPredicate(const QString& text, int scopeTag)
{
    if (!_acWndCard)
        return;
    m_searchScopeTag = scopeTag;
    if (text.isEmpty()) {
        setPredicate(false);
        return;
    }
    const CardListFilters::SearchFilters filters =
        CardListFilters::searchFilters(selectedFolder(_outlineViewController), text, scopeTag, m_displayMode);
    // The searched attributes of every card in one pass, before the filter reads them card by card.
    const QStringList searched = CardListFilters::searchAttributes(scopeTag, m_displayMode);
    _acWndCard->readAttributes(searched);
    _acWndCardInTrash->readAttributes(searched);
    // A list whose selected row now shows another card tells so through its selection signal.
    _acWndCard->setFilterPredicate(filters.cardList);
    _acWndCardInTrash->setFilterPredicate(filters.trash);
    emit selectionDidChange();
}

int PLCardListController::minimumListPaneHeight() const
{
    return MainWindowLayout::kCardListMinRows * m_tableViewCard->verticalHeader()->defaultSectionSize();
}

void PLCardListController::changeSplitMaxHeight()
{
    if (!m_tableViewCard || !m_listPane.getCardListViewHeight)
        return;
    const int rows = minimumListPaneHeight();
    if (rows > m_listPane.getCardListViewHeight())
        m_listPane.SetImgViewHeight(rows);
    m_listPane.SetSplitMaxHeight(rows);
}

void PLCardListController::tableViewSelectionDidChange()
{
    emit selectionDidChange();
    // In the root, the folder status names the folder of the selected card.
    const TreeNode* folder = _outlineViewController ? _outlineViewController->getSelectedItem() : nullptr;
    if (folder && folder->folderType == kFolderTypeRoot)
        _outlineViewController->updateBottomFolderStatus();
    if (_timerDisplay) {
        Scheduler::shared().cancel(_timerDisplay);
        _timerDisplay = 0;
    }
    const int row = currentSelected();
    if (row < 0 || row >= _acWndCard->arrangedCount() || PLNetDBLockController::dbOpenMode() == 1)
        return;
    const ManagedObjectPtr card = _acWndCard->arrangedObject(row);
    if (!card || card->value(QStringLiteral("scanNow")).toInt() != 1)
        return;
    const QString cardID = card->stringValue(QStringLiteral("cardID"));
    _timerDisplay = Scheduler::shared().performAfterDelay(this, QStringLiteral("displayFont:"), kNewCardDelayMs, [this, cardID] {
        _timerDisplay = 0;
        displayFont(cardID);
    });
}

void PLCardListController::displayFont(const QString& cardID)
{
    if (cardID.isEmpty() || !m_context)
        return;
    if (checkDBAttributes(m_database.folder()) != kDBAttributesOK) {
        PLMessage::ShowPLErrorMessageAlertSheet(m_tableViewCard ? m_tableViewCard->window() : nullptr, {}, 48);
        return;
    }
    int error = 0;
    const ManagedObjectList cards = m_context->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("cardID"), cardID), {}}, &error);
    if (error != 0 || cards.isEmpty()) {
        PLNSLog(QStringLiteral("%@"), QStringLiteral("displayFont: no card %1").arg(cardID));
        return;
    }
    cards.first()->setValue(QStringLiteral("scanNow"), 0);
    if (m_saveAction)
        m_saveAction();
    if (m_cardModel)
        m_cardModel->redraw();
}

int PLCardListController::currentSelected() const
{
    return m_tableViewCard && m_tableViewCard->selectionModel() ? SelectionBridge::selectedRow(*m_tableViewCard->selectionModel()) : -1;
}

QString PLCardListController::selectedCardFolderID() const
{
    const int row = currentSelected();
    if (!_acWndCard || row < 0 || row >= _acWndCard->arrangedCount())
        return QString();
    return _acWndCard->arrangedRow(row).stringValue(QStringLiteral("folder_ID"));
}

bool PLCardListController::selectCardWithID(const QString& cardID)
{
    return selectCardsWithIDs({cardID}) == 1;
}

int PLCardListController::selectCardsWithIDs(const QStringList& cardIDs)
{
    if (!_acWndCard)
        return 0;
    // One pass over the list; the rows in the order of the identifiers, the last one shown.
    const QSet<QString> wanted(cardIDs.begin(), cardIDs.end());
    const QString key = QStringLiteral("cardID");
    QHash<QString, int> rowOf;
    for (int row = 0; row < _acWndCard->arrangedCount() && rowOf.size() < wanted.size(); ++row) {
        const QString cardID = _acWndCard->arrangedRow(row).stringValue(key);
        if (!cardID.isEmpty() && wanted.contains(cardID) && !rowOf.contains(cardID))
            rowOf.insert(cardID, row);
    }
    QList<int> rows;
    for (const QString& cardID : cardIDs) {
        if (rowOf.contains(cardID))
            rows.append(rowOf.value(cardID));
    }
    if (rows.isEmpty())
        return 0;
    _acWndCard->setSelectionIndexes(rows);
    if (m_tableViewCard && m_cardModel)
        m_tableViewCard->scrollTo(m_cardModel->index(rows.last(), 0));
    return int(rows.size());
}

PlistValue PLCardListController::returnTVColumnInfo() const
{
    return columnInfo(m_tableViewCard, m_cardModel);
}

PlistValue PLCardListController::returnTrashTVColumnInfo() const
{
    return columnInfo(_trashTableView, m_trashModel);
}

bool PLCardListController::validateUndoInTrashTable() const
{
    return m_tableViewCard && m_tableViewCard->window()->focusWidget() == m_tableViewCard && _undoManager && _undoManager->hasUndoRecords();
}

PLCardListUndoManager* PLCardListController::undoManagerForTableView(const QTableView* table)
{
    if (!table || table != m_tableViewCard)
        return nullptr;
    if (!_undoManager) {
        _undoManager = std::make_unique<PLCardListUndoManager>();
        _undoManager->setController({[this] { return validateUndoInTrashTable(); }, [this] { return doCheckBeforeUndo(); }});
        _undoManager->setLevelsOfUndo(1);
    }
    return _undoManager.get();
}
