// A table model over an array controller's arranged cards: one row per card, one column per
// attribute name. Qt's own sorting stays off: the array controller sorts.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

class ArrayController;

class CardTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CardTableModel(ArrayController& controller, QObject* parent = nullptr);

    void setColumns(const QStringList& keys);
    const QStringList& columns() const { return m_columns; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    ArrayController& m_controller;
    QStringList m_columns;
};
