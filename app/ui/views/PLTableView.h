// The attachments list in the side pane. A name edited in place goes to whoever renames the
// file (fileNameEdited), not into the list: the list shows what the folder holds. Return ends
// the edit on its row instead of moving on to the next one, and the list keeps the focus.
// Rows are dragged out and files dropped in as its data source decides; a right click shows the
// list's menu, with the clicked row noted for the menu's commands.
#pragma once

#include <QTableView>

class QMenu;
class QMimeData;

class PLTableView : public QTableView {
    Q_OBJECT
public:
    // The column of the file names, which can be edited in place.
    static constexpr int kNameColumn = 1;
    // The longest name that can be typed.
    static constexpr int kNameMaxLength = 255;

    // What the list asks of whoever keeps its rows when rows are dragged or files dropped.
    class DataSource {
    public:
        virtual ~DataSource() = default;
        // What dragging these rows (ascending) carries; null refuses the drag.
        virtual QMimeData* writeRowsWithIndexes(const QList<int>& rows) const = 0;
        // Whether a drag carrying `data` may be dropped (copied in); `fromInside` when it began in this application.
        virtual bool validateDrop(const QMimeData* data, bool fromInside) const = 0;
        // Takes the dropped data; false when the drop is refused.
        virtual bool acceptDrop(const QMimeData* data) = 0;
    };

    explicit PLTableView(QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { m_dataSource = source; }
    void setMenu(QMenu* menu) { m_menu = menu; }
    QMenu* menu() const { return m_menu; }
    // The row under the last right click; -1 when it fell below the rows.
    int clickedRow() const { return m_clickedRow; }
    // The row the user edits in place, or -1.
    int editedRow() const;
    // Ends an edit in place, its name committed, and keeps the focus on the list.
    void endEditing();

signals:
    void fileNameEdited(const QString& name);

protected:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString m_editedName; // committed, told once the editor has closed
    DataSource* m_dataSource = nullptr;
    QMenu* m_menu = nullptr;
    int m_clickedRow = -1;
};
