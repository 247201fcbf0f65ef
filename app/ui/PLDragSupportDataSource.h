// What card rows dragged out of the card list or the trash carry: the private type
// "Pelmora Private TableView Data Type" with the dragged rows.
//
// The frame names the type; writing and reading the rows grows here.
#pragma once

#include <QObject>

class QTableView;

class PLDragSupportDataSource : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kTableViewDataType = "Pelmora Private TableView Data Type";

    using QObject::QObject;

    // Outlets.
    void setTables(QTableView* cards, QTableView* trash) { m_tableViewCard = cards; _trashTableView = trash; }
    void awakeFromNib() {}

private:
    QTableView* m_tableViewCard = nullptr;
    QTableView* _trashTableView = nullptr;
};
