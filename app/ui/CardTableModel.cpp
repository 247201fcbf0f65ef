#include "app/ui/CardTableModel.h"

#include "app/core/LocalString.h"
#include "app/ui/logic/ArrayController.h"

#include <QDateTime>

CardTableModel::CardTableModel(ArrayController& controller, QObject* parent) : QAbstractTableModel(parent), m_controller(controller)
{
    connect(&controller, &ArrayController::arrangedObjectsChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

void CardTableModel::setColumns(const QStringList& keys)
{
    beginResetModel();
    m_columns = keys;
    endResetModel();
}

int CardTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_controller.arrangedObjects().size());
}

int CardTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant CardTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const QVariant value = m_controller.arrangedObjects()[index.row()]->value(m_columns[index.column()]);
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    // Line breaks show as blanks in a one-line cell.
    QString text = value.toString();
    text.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QChar(0x2028), QLatin1Char(' '));
    return text;
}

QVariant CardTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    return getLocalString(QStringLiteral("IDS_") + m_columns[section].toUpper());
}
