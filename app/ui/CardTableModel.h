// A table model over an array controller's arranged cards: one row per card, one column per
// attribute of the column table. Qt's own sorting stays off: the array controller sorts.
// Cells show the column's formatter text, dates in the locale's short format, the placeholder
// "IDS_NO_NAME" for a card without a name and, in the card list, new cards in bold.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

class ArrayController;

class CardTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `boldNewCards`: cards whose scanNow is 1 are drawn bold (the card list, not the trash).
    CardTableModel(ArrayController& controller, bool boldNewCards, QObject* parent = nullptr);

    void setColumns(const QStringList& keys);
    const QStringList& columns() const { return m_columns; }
    void appendColumn(const QString& key);
    void removeColumn(const QString& key);
    // Draws the rows again (after a card's values changed in place).
    void redraw();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Rows can be dragged: the tables' drag source says what they carry.
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return QAbstractTableModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
    }

    // The text of one cell of `key` for `value`.
    static QString displayText(const QString& key, const QVariant& value);

private:
    ArrayController& m_controller;
    bool m_boldNewCards;
    QStringList m_columns;
};
