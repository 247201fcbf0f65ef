#include "app/ui/CardTableModel.h"

#include "app/core/LocalString.h"
#include "app/ui/logic/ArrayController.h"
#include "app/ui/logic/CardListColumns.h"
#include "app/ui/logic/PLMatter.h"

#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QPalette>

CardTableModel::CardTableModel(ArrayController& controller, bool boldNewCards, QObject* parent)
    : QAbstractTableModel(parent), m_controller(controller), m_boldNewCards(boldNewCards)
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

void CardTableModel::appendColumn(const QString& key)
{
    beginInsertColumns({}, int(m_columns.size()), int(m_columns.size()));
    m_columns.append(key);
    endInsertColumns();
}

void CardTableModel::removeColumn(const QString& key)
{
    const int column = int(m_columns.indexOf(key));
    if (column < 0)
        return;
    beginRemoveColumns({}, column, column);
    m_columns.removeAt(column);
    endRemoveColumns();
}

void CardTableModel::redraw()
{
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int CardTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_controller.arrangedCount();
}

int CardTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString CardTableModel::displayText(const QString& key, const QVariant& value)
{
    const CardListColumns::Column* column = CardListColumns::columnWithAttribute(key);
    if (column && column->cell == CardListColumns::Cell::Date) {
        const QDateTime date = value.toDateTime();
        return date.isValid() ? QLocale().toString(date.toLocalTime().date(), QLocale::ShortFormat) : QString();
    }
    // A row is one line: the list's cells show line breaks as blanks.
    const quint16 max = column ? column->maxLength : 0;
    if (column && column->cell == CardListColumns::Cell::Matter)
        return PLCardMatter(0).stringForObjectValue(PLMatter(max).stringForObjectValue(value));
    return PLCardMatter(max).stringForObjectValue(value);
}

QVariant CardTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    // Drawing makes objects of the rows it shows, and of no others.
    const ManagedObjectPtr object = m_controller.arrangedObject(index.row());
    if (!object)
        return {};
    const ManagedObject& card = *object;
    const QString& key = m_columns[index.column()];
    const bool noName = key == QLatin1String(CardListColumns::kFullName) && card.stringValue(key).isEmpty();
    switch (role) {
    case Qt::DisplayRole:
        return noName ? getLocalString(QStringLiteral("IDS_NO_NAME")) : displayText(key, card.value(key));
    case Qt::ForegroundRole:
        if (noName)
            return QPalette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::FontRole:
        if (m_boldNewCards && card.value(QStringLiteral("scanNow")).toInt() == 1) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant CardTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    const CardListColumns::Column* column = CardListColumns::columnWithAttribute(m_columns[section]);
    return column ? getLocalString(QString::fromLatin1(column->titleKey)) : m_columns[section];
}
