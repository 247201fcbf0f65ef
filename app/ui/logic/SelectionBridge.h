// Keeps a table's QItemSelectionModel and an ArrayController's selection in step, both ways,
// without feeding a change back to where it came from. Rows of the table's model are the rows
// of the controller's arranged objects.
//
// The table's "selected row" is the row selected last, not the lowest one: the current index
// when it is selected, else the lowest selected row (selectedRow).
#pragma once

#include <QObject>
#include <QPointer>

class ArrayController;
class QItemSelectionModel;

class SelectionBridge : public QObject {
    Q_OBJECT
public:
    SelectionBridge(ArrayController& controller, QItemSelectionModel& selectionModel, QObject* parent = nullptr);

    // The row selected last; -1 when no row is selected.
    static int selectedRow(const QItemSelectionModel& selectionModel);

private:
    void pushToTable();
    void pullFromTable();

    ArrayController& m_controller;
    QPointer<QItemSelectionModel> m_selectionModel;
    bool m_updating = false;
};
