// The CSV (separator ",") and text (tab) files. The chosen columns are resolved once per file to
// the attributes of the store's cards (card dictionaries are looked up by key); each card's row is
// then written straight into the file's text, which is handed on a piece at a time.
#pragma once

#include "app/export/ExportDates.h"
#include "app/export/ExportTarget.h"
#include "app/images/CardRecord.h"
#include "platform/store/ManagedObject.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <vector>

class ExportTable {
public:
    // The columns `mask` chooses, in the files' order.
    ExportTable(uint32_t mask, QChar separator);

    // The whole file in UTF-16 little-endian: a byte-order mark, the title row in the user's
    // language, then one row per card, each line ended by a line feed. It goes to `write` in pieces
    // of about kPieceBytes as its rows are made, so that the disk can start on them; false when
    // `write` stopped it.
    bool writeFile(const ManagedObjectList& cards, const ExportPieceWriter& write);
    bool writeFile(const QList<CardDict>& cards, const ExportPieceWriter& write);

    static constexpr qsizetype kPieceBytes = 256 * 1024;

private:
    // Each chosen column's value on the card into `values`, null where the card has none.
    void findValues(const ManagedObjectPtr& card, const QVariant** values);
    void findValues(const CardDict& card, const QVariant** values);
    void prefetchTexts(const QVariant* const* values) const;
    template <typename Cards> bool writeFileOf(const Cards& cards, const ExportPieceWriter& write);
    // Hands the text on as bytes and empties it, keeping its room.
    bool handOn(QString* text, const ExportPieceWriter& write);
    void appendTitle(QString* text) const;
    void appendRow(QString* text, const QVariant* const* values);
    // The text of a column's value; it lasts until the column's next value.
    QStringView cellText(const QVariant* value, size_t column);

    QChar m_separator;
    std::vector<size_t> m_columns; // indexes into the table of every column
    std::vector<QString> m_keys; // the chosen columns' card keys
    const EntityDescription* m_entity = nullptr; // the entity m_attributes belong to
    std::vector<int> m_attributes; // the chosen columns' attributes of m_entity, or -1
    static constexpr qsizetype kAhead = 4;
    std::vector<const QVariant*> m_values; // the values of the row written and of the kAhead after it
    ExportDates m_dates;
    std::vector<QStringView> m_cells; // the texts of the row being written
    std::vector<QString> m_texts; // the texts made for values that are not text
    QByteArray m_bytes; // a piece's bytes on a big-endian machine
};
