// The CSV (separator ",") and text (tab) files. The chosen columns are resolved once per file to
// the attributes of the store's cards (card dictionaries are looked up by key); each card's row is
// then written straight into the file's text.
#pragma once

#include "app/export/ExportDates.h"
#include "app/images/CardRecord.h"
#include "platform/store/ManagedObject.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <vector>

class ExportTable {
public:
    // The columns `mask` chooses, in the files' order.
    ExportTable(uint32_t mask, QChar separator);

    // The whole file: a byte-order mark, the title row in the user's language, then one row per
    // card, each line ended by a line feed.
    QString fileText(const ManagedObjectList& cards);
    QString fileText(const QList<CardDict>& cards);
    // The text as UTF-16 little-endian bytes. On a little-endian machine they are the text's own
    // memory, so they last only as long as the text and its size does.
    static QByteArray littleEndianBytes(const QString& text);

private:
    // Each chosen column's value on the card into `values`, null where the card has none.
    void findValues(const ManagedObjectPtr& card, const QVariant** values);
    void findValues(const CardDict& card, const QVariant** values);
    void prefetchTexts(const QVariant* const* values) const;
    template <typename Cards> QString fileTextOf(const Cards& cards);
    void appendTitle(QString* text) const;
    void appendRow(QString* text, const QVariant* const* values);

    QChar m_separator;
    std::vector<size_t> m_columns; // indexes into the table of every column
    std::vector<QString> m_keys; // the chosen columns' card keys
    const EntityDescription* m_entity = nullptr; // the entity m_attributes belong to
    std::vector<int> m_attributes; // the chosen columns' attributes of m_entity, or -1
    std::vector<const QVariant*> m_values; // two rows' values: the one written, the next one
    ExportDates m_dates;
};
