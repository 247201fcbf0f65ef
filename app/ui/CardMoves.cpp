#include "app/ui/CardMoves.h"

#include "app/core/CardEntities.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/DiskUtilities.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/ui/CardTrash.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/TrashPane.h"
#include "app/ui/logic/PLArrayController.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QItemSelectionModel>
#include <QSet>
#include <QTableView>
#include <QToolButton>

namespace {

constexpr int kButtonYes = 2;
constexpr int kButtonNo = 3;
constexpr int kMsgCannotSave = 48;

// The main window's processing flag, set around a move's loop and cleared however it ends.
class ProcessingScope {
public:
    explicit ProcessingScope(PLMainWindowController& window) : m_window(window) { m_window.setProcessingFlag(true); }
    ~ProcessingScope() { m_window.setProcessingFlag(false); }
    ProcessingScope(const ProcessingScope&) = delete;
    ProcessingScope& operator=(const ProcessingScope&) = delete;

private:
    PLMainWindowController& m_window;
};

bool askYesNo(PLMainWindowController& window, const QString& key)
{
    return PLMessage::ShowPLInfoMessageBySheet(window.window(), key, kButtonYes, kButtonNo, QString()) == 1;
}

QVariantList toVariants(const QList<int>& rows)
{
    QVariantList list;
    for (int row : rows)
        list.append(row);
    return list;
}

QList<int> toRows(const QVariant& value)
{
    QList<int> rows;
    for (const QVariant& row : value.toList())
        rows.append(row.toInt());
    return rows;
}
} // namespace

CardMoves::CardMoves(PLMainWindowController& window)
    : QObject(&window), m_window(window), m_pane(new TrashPane(window.ui(), *window.trashArrayController(), this))
{
    PLCardListController* list = m_window.cardListController();
    PLCardListController::TrashCommands commands;
    commands.removeRecord = [this] { removeRecord(); };
    commands.removeRecordInTrash = [this] { removeRecordInTrash(); };
    commands.returnRecord = [this] { returnRecord(); };
    commands.returnRecordToFolder = [this](const TreeNode& folder) { returnRecordToFolder(folder); };
    commands.moveRecordToFolder = [this](const TreeNode& folder) { moveRecordToFolder(folder); };
    commands.showTrashTable = [this] { m_pane->showTrashTable(); };
    commands.showTrash = [this] { m_pane->showTrash(); };
    commands.doCheckBeforeUndo = [this] { return doCheckBeforeUndo(); };
    list->setTrashCommands(std::move(commands));

    connect(m_window.ui()._clearBtn, &QToolButton::clicked, this, &CardMoves::ClearTrash);
    NotificationCenter::defaultCenter().addObserver(
        this, QString::fromLatin1(kClearTrashNotification),
        [this](const Notification& notification) { respondToClearTrashNotification(notification); }, this);
}

CardMoves::~CardMoves()
{
    Scheduler::shared().cancelPreviousPerformRequests(this);
    NotificationCenter::defaultCenter().removeObserver(this);
}

bool CardMoves::passesGuards(bool logged)
{
    const QString folder = m_window.database().folder();
    if (logged && checkDBAttributes(folder) != kDBAttributesOK)
        PLNSLog(QStringLiteral("the DB file is not usable."));
    if (!m_window.passesFolderGuard())
        return false;
    if (logged && checkDiskSize(folder, g_lDiskSize) != 0)
        PLNSLog(QStringLiteral("the disk size is not enough."));
    return m_window.passesSpaceGuard(folder);
}

bool CardMoves::doCheckBeforeUndo()
{
    return passesGuards(false);
}

void CardMoves::scrollToSelection(bool trash)
{
    QTableView* table = trash ? m_window.ui()._trashTableView : m_window.ui()._tvList;
    const PLArrayController* cards = trash ? m_window.trashArrayController() : m_window.arrayController();
    if (cards->selectionIndex() >= 0 && table->model())
        table->scrollTo(table->model()->index(cards->selectionIndex(), 0));
}

void CardMoves::showtrashIconLater()
{
    Scheduler::shared().performAfterDelay(this, QStringLiteral("showtrashIcon:"), 0, [this] { m_pane->showtrashIcon(); });
}

void CardMoves::removeRecord()
{
    PLArrayController* cards = m_window.arrayController();
    ManagedObjectContext* context = m_window.database().context();
    const ManagedObjectList selected = cards->selectedObjects();
    if (selected.isEmpty() || !context || !passesGuards(false))
        return;
    if (m_window.isSyncing() && !askYesNo(m_window, getProperKey(QStringLiteral("IDS_MSG_SYNC_IS_DELETE"))))
        return;
    {
        ProcessingScope processing(m_window);
        PLCardListController* list = m_window.cardListController();
        PLCardListUndoManager* undo = list->undoManagerForTableView(list->returnTV());
        undo->removeAllActions();
        undo->registerUndo(QString(), [this, selected] { undoInTrashTable(selected); });
        const CardMoveRecords records(*context, m_window.outlineViewController()->rootNode(), selected);
        for (const ManagedObjectPtr& card : selected)
            records.moveCardToTrash(*card);
    }
    m_window.saveAction();
    cards->rearrangeObjects();
    scrollToSelection(false);
    m_window.trashArrayController()->rearrangeObjects();
    m_window.updateSelectStatus();
    showtrashIconLater();
}

void CardMoves::undoInTrashTable(const ManagedObjectList& cards)
{
    ManagedObjectContext* context = m_window.database().context();
    if (!context)
        return;
    ManagedObjectList trashed;
    for (const ManagedObjectPtr& card : cards) {
        if (!card->isDeleted() && card->value(QStringLiteral("deletedFlag")).toInt() == 1)
            trashed.append(card);
    }
    const CardMoveRecords records(*context, m_window.outlineViewController()->rootNode(), trashed);
    for (const ManagedObjectPtr& card : trashed)
        records.undoMoveToTrash(*card);
    m_window.saveAction();
    m_window.arrayController()->rearrangeObjects();
    m_window.trashArrayController()->rearrangeObjects();
    m_window.updateSelectStatus();
    showtrashIconLater();
}

void CardMoves::restoreSelectedTrash(const FolderFor& folderFor, bool leaveInbox)
{
    ManagedObjectContext* context = m_window.database().context();
    PLArrayController* trash = m_window.trashArrayController();
    ManagedObjectList selected;
    for (const ManagedObjectPtr& card : trash->selectedObjects()) {
        if (card->value(QStringLiteral("deletedFlag")).toInt() == 1)
            selected.append(card);
    }
    {
        ProcessingScope processing(m_window);
        const CardMoveRecords records(*context, m_window.outlineViewController()->rootNode(), selected);
        for (const ManagedObjectPtr& card : selected) {
            QString folderID;
            if (!folderFor(records, *card, &folderID)) {
                PLMessage::ShowPLErrorMessageBySheet(m_window.window(), kMsgFolderPathNotFound);
                break;
            }
            records.returnCardToFolder(*card, folderID, leaveInbox);
        }
    }
    m_window.saveAction();
    m_window.arrayController()->rearrangeObjects();
    trash->rearrangeObjects();
    scrollToSelection(true);
    m_window.updateSelectStatus();
    showtrashIconLater();
}

void CardMoves::returnRecord()
{
    ManagedObjectContext* context = m_window.database().context();
    if (!context || m_window.trashArrayController()->selectedObjects().isEmpty() || !passesGuards(false))
        return;
    restoreSelectedTrash(
        [](const CardMoveRecords& records, const ManagedObject& card, QString* folderID) {
            QString path;
            return records.isFolderPathExist(card.stringValue(QStringLiteral("cardID")), &path, folderID);
        },
        false);
}

void CardMoves::returnRecordToFolder(const TreeNode& folder)
{
    if (!m_window.database().context() || m_window.trashArrayController()->selectedObjects().isEmpty()
        || folder.folderType == kFolderTypeRoot || !passesGuards(true))
        return;
    const QString folderID = folder.folderID;
    restoreSelectedTrash(
        [&folderID](const CardMoveRecords&, const ManagedObject&, QString* found) {
            *found = folderID;
            return true;
        },
        folder.folderType != kFolderTypeInbox);
}

void CardMoves::moveRecordToFolder(const TreeNode& folder)
{
    PLArrayController* cards = m_window.arrayController();
    ManagedObjectContext* context = m_window.database().context();
    const ManagedObjectList selected = cards->selectedObjects();
    if (!context || selected.isEmpty() || folder.folderType == kFolderTypeRoot || !passesGuards(true))
        return;
    {
        ProcessingScope processing(m_window);
        const CardMoveRecords records(*context, m_window.outlineViewController()->rootNode(), selected);
        for (const ManagedObjectPtr& card : selected)
            records.moveCardToFolder(*card, folder.folderID);
    }
    m_window.saveAction();
    cards->rearrangeObjects();
    scrollToSelection(false);
    m_window.updateSelectStatus();
}

void CardMoves::removeRecordInTrash()
{
    const ManagedObjectList selected = m_window.trashArrayController()->selectedObjects();
    if (selected.isEmpty() || !askYesNo(m_window, QStringLiteral("IDS_MSG_IS_DELETE_RECORD")) || !passesGuards(false))
        return;
    deleteForGood(selected, true);
}

void CardMoves::ClearTrash()
{
    ManagedObjectContext* context = m_window.database().context();
    if (!context || m_window.trashArrayController()->selectionIndex() < 0)
        return;
    m_window.endFolderNameEditing();
    if (!askYesNo(m_window, QStringLiteral("IDS_MSG_IS_DELETE_ALLRECORD")) || !passesGuards(false))
        return;
    int error = 0;
    const ManagedObjectList trashed = context->executeFetchRequest(
        {QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("deletedFlag"), 1), {}}, &error);
    if (error == 0 && !trashed.isEmpty())
        deleteForGood(trashed, false);
}

void CardMoves::deleteForGood(const ManagedObjectList& cards, bool noteTrashSelection)
{
    PLCardListController* list = m_window.cardListController();
    PLArrayController* cardList = m_window.arrayController();
    PLArrayController* trash = m_window.trashArrayController();
    list->lostUndo(list->returnTV());
    QVariantMap revert{{QString::fromLatin1(kRevertWhenClearTrashKey), toVariants(cardList->selectionIndexes())},
                       {QString::fromLatin1(kRevertLastSelectedKey), list->currentSelected()}};
    if (noteTrashSelection)
        revert.insert(QString::fromLatin1(kRevertTrashSelectionKey), toVariants(trash->selectionIndexes()));
    // The records go first and are saved; the files follow only a save that succeeded.
    if (deleteCardsForGood(*m_window.database().context(), m_window.database().folder(), cards) != 0
        && !PLNetDBLockController::ShowErrorMessageByPathType())
        PLMessage::ShowPLErrorMessageBySheet(m_window.window(), kMsgCannotSave);
    // Deleted cards leave both lists as they are rearranged; the lists keep their rows.
    cardList->rearrangeObjects();
    trash->rearrangeObjects();
    Scheduler::shared().performAfterDelay(this, QStringLiteral("postClearTrash"), 0, [this, revert] {
        NotificationCenter::defaultCenter().post(QString::fromLatin1(kClearTrashNotification), this, revert);
    });
    showtrashIconLater();
}

void CardMoves::respondToClearTrashNotification(const Notification& notification)
{
    const int lastSelected = notification.userInfo.value(QString::fromLatin1(kRevertLastSelectedKey), -1).toInt();
    const QList<int> cardRows = toRows(notification.userInfo.value(QString::fromLatin1(kRevertWhenClearTrashKey)));
    const QList<int> trashRows = toRows(notification.userInfo.value(QString::fromLatin1(kRevertTrashSelectionKey)));
    PLArrayController* cardList = m_window.arrayController();
    PLArrayController* trash = m_window.trashArrayController();
    QTableView* table = m_window.ui()._tvList;
    const int cardCount = cardList->arrangedCount();
    if (lastSelected >= 0 && lastSelected < cardCount) {
        QList<int> rows;
        for (int row : cardRows) {
            if (row < cardCount)
                rows.append(row);
        }
        cardList->setSelectionIndexes(rows);
        // The last selected row becomes the current one, as if the user had added it last.
        if (table->selectionModel() && table->model())
            table->selectionModel()->setCurrentIndex(table->model()->index(lastSelected, 0),
                                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    if (trash->selectionIndex() >= 0 && trash->arrangedCount() > 1 && !trashRows.isEmpty()
        && trashRows.first() < trash->arrangedCount())
        trash->setSelectionIndex(trashRows.first());
}
