// The drag side of the card list and the trash. Card rows dragged out carry the private type
// "Pelmora Private TableView Data Type" (the cards are the table's selected rows); a single card
// also carries a PDF of its sides as a file for other programs. Drops on either table are decided
// by the card list's drop rules and handed to the card list as notifications: card rows moved
// between the list and the trash, files from outside for the open-files intake. Cards dropped on a
// folder of the tree are handed on the same way.
#pragma once

#include "app/ui/CardDragFolder.h"

#include <QList>
#include <QObject>

class ManagedObject;
class PLMainWindowController;
class PLOutlineViewController;
class QDropEvent;
class QMimeData;
class QTableView;

class PLDragSupportDataSource : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kTableViewDataType = "Pelmora Private TableView Data Type";

    using QObject::QObject;

    // Outlets.
    void setTables(QTableView* cards, QTableView* trash)
    {
        _tvCardList = cards;
        _trashTVCardList = trash;
    }
    void setOutlineViewController(PLOutlineViewController* controller) { _outlineViewController = controller; }
    void setMainWinController(PLMainWindowController* controller) { _mainWinController = controller; }
    // Makes both tables drag sources and drop targets, and removes what earlier runs left of
    // their drag folders.
    void awakeFromNib();

    // A drag of `rows` of `table` starts: the rows become the table's selection. Null when the
    // table shows no cards; the caller owns the answer.
    QMimeData* writeRowsWithIndexes(QTableView* table, const QList<int>& rows);
    // The operation a drag over `target` may end in (0 none, 1 copy, 16 move). `source` is the
    // drag's source inside the application (null: another program); `betweenRows` is false for
    // a drop onto a row.
    int validateDrop(QTableView* target, const QMimeData* data, QObject* source, bool betweenRows) const;
    // Ends a drop the rules allowed: card rows and files are handed to the card list.
    bool acceptDrop(QTableView* target, const QMimeData* data);
    // A drag entering or moving over a table's rows (`drop` false), or dropped on them: the event
    // is accepted with its operation or ignored. The tables' drag events arrive here.
    bool dragEvent(QTableView* target, QDropEvent* event, bool drop);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The PDF of one card's sides in the drag folder; empty when it could not be made.
    QString writeCardPdf(const ManagedObject& card);
    QTableView* tableOfViewport(const QObject* viewport) const;

    QTableView* _tvCardList = nullptr;
    QTableView* _trashTVCardList = nullptr;
    PLOutlineViewController* _outlineViewController = nullptr;
    PLMainWindowController* _mainWinController = nullptr;
    CardDragFolder m_dragFolder;
};
