// The App List page's table: rows are reordered by dragging them between other rows. The page
// decides through three hooks; the table only turns mouse positions into drop rows.
#pragma once

#include <QTableWidget>

#include <functional>

class PLAppListTableView : public QTableWidget {
public:
    // What a drag of rows inside this table carries; drags from elsewhere are refused.
    static constexpr char kRowDragType[] = "application/x-pelmora-app-list-row";

    explicit PLAppListTableView(QWidget* parent);

    // The row a drop at `pos` (viewport coordinates) proposes, and whether it lands between rows
    // ("above" that row) rather than on it. Below the last row is above the row count.
    int dropRowAt(const QPoint& pos, bool* above) const;

    std::function<bool(int row)> writeRows;
    std::function<bool(int row, bool above)> validateDrop;
    std::function<bool(int row)> acceptDrop;

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
