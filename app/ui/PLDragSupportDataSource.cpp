#include "app/ui/PLDragSupportDataSource.h"

#include "app/core/CardEntities.h"
#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLChecker.h"
#include "app/core/PLNetDBLockController.h"
#include "app/images/CardImageFiles.h"
#include "app/ui/PLAttachmentController.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/TreeNode.h"
#include "app/ui/logic/CardDragFileName.h"
#include "app/ui/logic/FolderDropRules.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/views/PLCardListTableView.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PathCompare.h"
#include "platform/store/DatabaseLayout.h"
#include "platform/store/ManagedObject.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTableView>
#include <QUrl>

namespace {

// As the table draws it: near a row's top or bottom edge the drop goes between rows, and below
// the last row it goes after it.
bool isBetweenRows(const QTableView* table, const QPoint& position)
{
    const int row = table->rowAt(position.y());
    if (row < 0)
        return true;
    const int top = table->rowViewportPosition(row);
    const int height = table->rowHeight(row);
    const int margin = qBound(2, qRound(height / 5.5), 12);
    return position.y() - top < margin || top + height - 1 - position.y() < margin;
}

QStringList localFiles(const QMimeData* data)
{
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}

} // namespace

void PLDragSupportDataSource::awakeFromNib()
{
    CardDragFolder::sweepLeftovers();
    for (QTableView* table : {_tvCardList, _trashTVCardList}) {
        if (!table)
            continue;
        table->setDragDropMode(QAbstractItemView::DragDrop);
        table->viewport()->installEventFilter(this);
        // Other programs copy a card's PDF; inside the application rows move.
        const Qt::DropActions actions = table == _tvCardList ? Qt::CopyAction | Qt::MoveAction : Qt::MoveAction;
        if (auto* view = qobject_cast<PLCardListTableView*>(table))
            view->setDragSource([this, table](const QList<int>& rows) { return writeRowsWithIndexes(table, rows); }, actions);
    }
    if (_outlineViewController) {
        connect(_outlineViewController, &PLOutlineViewController::cardsDroppedOnFolder, this,
                [this](QObject* source, const QString& folderID) {
                    NotificationCenter::defaultCenter().post(
                        QString::fromLatin1(PLCardListController::kCardToFolderNotification), _outlineViewController,
                        {{QString::fromLatin1(PLCardListController::kDraggingSourceKey), QVariant::fromValue(source)},
                         {QString::fromLatin1(PLCardListController::kDraggingDestinationKey), folderID}});
                });
    }
}

QMimeData* PLDragSupportDataSource::writeRowsWithIndexes(QTableView* table, const QList<int>& rows)
{
    PLArrayController* controller = nullptr;
    if (_mainWinController)
        controller = table == _tvCardList ? _mainWinController->arrayController()
            : table == _trashTVCardList   ? _mainWinController->trashArrayController()
                                          : nullptr;
    if (!controller)
        return nullptr;
    controller->setSelectionIndexes(rows);
    const ManagedObjectList cards = controller->selectedObjects();
    if (cards.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kTableViewDataType), {});
    if (cards.size() == 1) {
        const QString pdf = writeCardPdf(*cards.first());
        if (!pdf.isEmpty())
            data->setUrls({QUrl::fromLocalFile(pdf)});
    }
    return data;
}

QString PLDragSupportDataSource::writeCardPdf(const ManagedObject& card)
{
    if (!_mainWinController)
        return {};
    const bool readOnly = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly;
    const QDir images(DatabaseLayout::imagesFolderPath(readOnly ? g_strCurReadOnlyDBPath : _mainWinController->database().folder()));
    // Image names come from the store: only a name inside the images folder is read.
    const QString front = card.stringValue(QStringLiteral("face_Image_File"));
    const QString back = card.stringValue(QStringLiteral("back_Image_File"));
    if (PLChecker::isBlank(front) || !isPlainFileName(front))
        return {};
    const QString backPath = !PLChecker::isBlank(back) && isPlainFileName(back) ? images.filePath(back) : QString();
    const QString folder = m_dragFolder.path();
    if (folder.isEmpty())
        return {};
    const QString name = cardDragFileName(card.stringValue(QStringLiteral("company")), card.stringValue(QStringLiteral("full_Name")),
                                          getLocalString(QStringLiteral("IDS_NO_NAME")));
    const QString pdf = QDir(folder).filePath(name);
    return exportCardImageFile(images.filePath(front), backPath, pdf) == 0 ? pdf : QString();
}

int PLDragSupportDataSource::validateDrop(QTableView* target, const QMimeData* data, QObject* source, bool betweenRows) const
{
    const TreeNode* folder = _outlineViewController ? _outlineViewController->getSelectedItem() : nullptr;
    CardListDropProposal proposal;
    proposal.databaseOpen =
        _mainWinController && _mainWinController->database().isOpen() && !_mainWinController->database().folder().isEmpty();
    proposal.readOnlyDatabase = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly;
    proposal.windowBusy = (_mainWinController && _mainWinController->hasAttachedSheet()) || QApplication::activeModalWidget();
    proposal.hasSource = source != nullptr;
    proposal.sourceIsTrashTable = source && source == _trashTVCardList;
    proposal.sourceIsTarget = source && source == target;
    proposal.rootSelected = folder && folder->folderType == kFolderTypeRoot;
    proposal.targetIsTrashTable = target == _trashTVCardList;
    proposal.betweenRows = betweenRows;
    proposal.hasCardRows = data && data->hasFormat(QString::fromLatin1(kTableViewDataType));
    proposal.hasAttachmentRows = data && data->hasFormat(QString::fromLatin1(PLAttachmentController::kAttachmentDataType));
    proposal.hasFileNames = data && data->hasUrls();
    proposal.fileCount = data ? int(localFiles(data).size()) : 0;
    return validateCardListDrop(proposal);
}

bool PLDragSupportDataSource::acceptDrop(QTableView* target, const QMimeData* data)
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    if (data && data->hasFormat(QString::fromLatin1(kTableViewDataType))) {
        center.post(QString::fromLatin1(PLCardListController::kDragDropNotification), this,
                    {{QString::fromLatin1(PLCardListController::kDragDropKey), target == _trashTVCardList}});
        return true;
    }
    if (!data || !data->hasUrls() || target == _trashTVCardList)
        return false;
    center.post(QString::fromLatin1(PLCardListController::kFileNamesDragDropNotification), this,
                {{QString::fromLatin1(PLCardListController::kFileNamesKey), localFiles(data)}});
    return true;
}

bool PLDragSupportDataSource::dragEvent(QTableView* target, QDropEvent* event, bool drop)
{
    const QMimeData* data = event->mimeData();
    int operation = kDragOperationNone;
    if (event->type() == QEvent::DragEnter) {
        // A drag move follows at once and decides by the place: entering takes any drag the
        // table could take somewhere.
        operation = validateDrop(target, data, event->source(), true);
        if (operation == kDragOperationNone)
            operation = validateDrop(target, data, event->source(), false);
    } else {
        operation = validateDrop(target, data, event->source(), isBetweenRows(target, event->position().toPoint()));
        if (drop && operation != kDragOperationNone && !acceptDrop(target, data))
            operation = kDragOperationNone;
    }
    if (operation == kDragOperationNone) {
        event->ignore();
        return true;
    }
    event->setDropAction(operation == kDragOperationCopy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    return true;
}

QTableView* PLDragSupportDataSource::tableOfViewport(const QObject* viewport) const
{
    for (QTableView* table : {_tvCardList, _trashTVCardList}) {
        if (table && table->viewport() == viewport)
            return table;
    }
    return nullptr;
}

bool PLDragSupportDataSource::eventFilter(QObject* watched, QEvent* event)
{
    QTableView* table = tableOfViewport(watched);
    if (table) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: return dragEvent(table, static_cast<QDropEvent*>(event), false);
        case QEvent::Drop: return dragEvent(table, static_cast<QDropEvent*>(event), true);
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}
