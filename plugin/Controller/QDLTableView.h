// A table with an enable switch: switched off, its text turns gray, it takes no keyboard focus and
// its selection cannot change; Enter or Return on a row sends the row's choice like a click.
#pragma once

#include <QTableWidget>

class QDLTableView : public QTableWidget {
    Q_OBJECT
public:
    QDLTableView(QWidget* parent, const char* objectName);

    void SetQDLTableViewEnabled(bool enabled);
    bool GetQDLTableViewEnabled() const { return m_QDLTableEnable; }

signals:
    // A row was clicked or Enter or Return was pressed on the selected row.
    void rowChosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_QDLTableEnable = true;
};
