// One attribute's values for every row of a light fetch, held compactly: a row costs its storage
// class and eight bytes (the number itself, or where its text or data is kept), and a text the
// store's strings share between rows is kept once for all of them. Values are answered as the
// store's objects hold them (StoreValues' readStoreColumn), converted when asked.
#pragma once

#include "platform/store/StoreModel.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <array>
#include <vector>

class StoreStrings;
struct sqlite3_stmt;

class RowColumn {
public:
    explicit RowColumn(AttributeType type) : m_type(type) {}

    // Rows added by `resize` are null.
    void resize(qsizetype rows);
    // Lets go of the room kept for rows to come.
    void squeeze();
    // Reads result column `column` of `statement` as row `row`, appended when `row` is the count.
    // Texts of a text attribute are shared through `strings` when given.
    void read(qsizetype row, sqlite3_stmt* statement, int column, StoreStrings* strings);

    QVariant value(qsizetype row) const;
    // The value as text, as ManagedObject::stringValue gives it: "" for null.
    QString stringValue(qsizetype row) const;

private:
    // The place of a text in m_texts: the text met last with the same data, else a new place.
    quint64 placeOf(QString&& text);

    AttributeType m_type;
    std::vector<unsigned char> m_storage; // SQLite's storage class by row; 0 for null
    std::vector<quint64> m_payload; // integer, bits of a real, or the place of a text or data
    std::vector<QString> m_texts;
    std::vector<QByteArray> m_data;
    // Places of texts recently kept, by their data's address: equal texts shared by the store
    // point at the same data, so each is kept once.
    static constexpr std::size_t kRecentTexts = 64;
    std::array<std::pair<const QChar*, quint64>, kRecentTexts> m_recent{};
    quint64 m_lastText = ~quint64(0); // the place of the text read last
};
