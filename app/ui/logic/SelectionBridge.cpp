#include "app/ui/logic/SelectionBridge.h"

#include "app/ui/logic/ArrayController.h"

#include <QItemSelectionModel>

#include <algorithm>

SelectionBridge::SelectionBridge(ArrayController& controller, QItemSelectionModel& selectionModel, QObject* parent)
    : QObject(parent), m_controller(controller), m_selectionModel(&selectionModel)
{
    connect(&controller, &ArrayController::selectionChanged, this, &SelectionBridge::pushToTable);
    connect(&controller, &ArrayController::arrangedObjectsChanged, this, &SelectionBridge::pushToTable);
    connect(&selectionModel, &QItemSelectionModel::selectionChanged, this, &SelectionBridge::pullFromTable);
    pushToTable();
}

int SelectionBridge::selectedRow(const QItemSelectionModel& selectionModel)
{
    const QModelIndex current = selectionModel.currentIndex();
    if (current.isValid() && selectionModel.isRowSelected(current.row(), current.parent()))
        return current.row();
    const QModelIndexList rows = selectionModel.selectedRows();
    if (rows.isEmpty())
        return -1;
    return std::min_element(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); })->row();
}

void SelectionBridge::pushToTable()
{
    if (m_updating || !m_selectionModel || !m_selectionModel->model())
        return;
    m_updating = true;
    const QAbstractItemModel* model = m_selectionModel->model();
    const int lastColumn = std::max(0, model->columnCount() - 1);
    QItemSelection selection;
    const QList<int> rows = m_controller.selectionIndexes();
    for (int row : rows) {
        if (row < model->rowCount())
            selection.select(model->index(row, 0), model->index(row, lastColumn));
    }
    m_selectionModel->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // The last row selected by code is the one a later "selected row" reads.
    if (!rows.isEmpty() && rows.last() < model->rowCount())
        m_selectionModel->setCurrentIndex(model->index(rows.last(), 0), QItemSelectionModel::NoUpdate);
    m_updating = false;
}

void SelectionBridge::pullFromTable()
{
    if (m_updating || !m_selectionModel)
        return;
    m_updating = true;
    QList<int> rows;
    for (const QModelIndex& index : m_selectionModel->selectedRows())
        rows.append(index.row());
    m_controller.setSelectionIndexes(rows);
    m_updating = false;
}
