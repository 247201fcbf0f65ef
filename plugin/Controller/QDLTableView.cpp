#include "plugin/Controller/QDLTableView.h"

#include <QHeaderView>
#include <QKeyEvent>

QDLTableView::QDLTableView(QWidget* parent, const char* objectName) : QTableWidget(parent)
{
    setObjectName(QString::fromLatin1(objectName));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    connect(this, &QTableWidget::cellClicked, this, [this] {
        if (m_QDLTableEnable)
            emit rowChosen();
    });
}

void QDLTableView::SetQDLTableViewEnabled(bool enabled)
{
    m_QDLTableEnable = enabled;
    const QColor colour = enabled ? QColor(Qt::black) : QColor(Qt::gray);
    for (int row = 0; row < rowCount(); ++row) {
        for (int column = 0; column < columnCount(); ++column) {
            if (QTableWidgetItem* cell = item(row, column))
                cell->setForeground(colour);
        }
    }
    setEnabled(enabled);
    setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
}

void QDLTableView::keyPressEvent(QKeyEvent* event)
{
    const QString keys = event->text();
    const bool enter = event->key() == Qt::Key_Enter || event->key() == Qt::Key_Return
        || (!keys.isEmpty() && (keys[0] == QChar(3) || keys[0] == QChar(10) || keys[0] == QChar(13)));
    if (enter) {
        if (m_QDLTableEnable)
            emit rowChosen();
        return;
    }
    QTableWidget::keyPressEvent(event);
}
