// One attribute's values for every row of a light fetch, held compactly: a row costs its storage
// class and eight bytes (the number itself, or where its text or data is kept), and a text the
// store's strings share between rows is kept once for all of them; null rows at the end cost
// nothing. Values are answered as the store's objects hold them (StoreValues' readStoreColumn),
// converted when asked.
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
    // How the column keeps a text its strings do not share: decoded once (a list that filters and
    // sorts by it again and again), or as the store's UTF-8 bytes, decoded whenever it is asked for
    // (the values of a fetch's objects, asked far less often, of which a text of its own would
    // otherwise cost more than twice its bytes).
    enum class UnsharedTexts { Decoded, AsBytes };

    explicit RowColumn(AttributeType type, UnsharedTexts unshared = UnsharedTexts::Decoded) : m_type(type), m_unshared(unshared) {}

    // Rows added by `resize` are null.
    void resize(qsizetype rows);
    // Lets go of the room kept for rows to come.
    void squeeze();
    // Reads result column `column` of `statement` as row `row`, appended when `row` is the count.
    // Texts of a text attribute are shared through `strings` when given.
    void read(qsizetype row, sqlite3_stmt* statement, int column, StoreStrings* strings);

    QVariant value(qsizetype row) const;
    bool isNull(qsizetype row) const { return row >= qsizetype(m_storage.size()) || m_storage[size_t(row)] == 0; }
    // The value as text, as ManagedObject::stringValue gives it: "" for null.
    QString stringValue(qsizetype row) const;

private:
    // The place of a text in m_texts: the text met last with the same data, else a new place.
    quint64 placeOf(QString&& text);

    // The text of a row kept as bytes.
    QString textOfBytes(quint64 payload) const;

    // The storage class of a text kept as its bytes (beside SQLite's, which end at SQLITE_NULL).
    static constexpr unsigned char kTextBytes = 6;
    // A text kept as bytes has its place in m_bytes above these bits of its payload, its size in them.
    static constexpr int kSizeBits = 24;

    AttributeType m_type;
    UnsharedTexts m_unshared;
    std::vector<unsigned char> m_storage; // SQLite's storage class by row; 0 for null; rows past the end are null
    std::vector<quint64> m_payload; // integer, bits of a real, or the place of a text or data
    std::vector<QString> m_texts;
    std::vector<char> m_bytes; // texts kept as bytes, one after the other
    std::vector<QByteArray> m_data;
    // Places of texts recently kept, by their data's address: equal texts shared by the store
    // point at the same data, so each is kept once.
    static constexpr std::size_t kRecentTexts = 64;
    std::array<std::pair<const QChar*, quint64>, kRecentTexts> m_recent{};
    quint64 m_lastText = ~quint64(0); // the place of the text read last
};
