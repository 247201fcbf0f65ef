#include "platform/store/RowColumn.h"

#include "platform/store/StoreStrings.h"
#include "platform/store/StoreValues.h"

#include <bit>
#include <sqlite3.h>

void RowColumn::resize(qsizetype rows)
{
    m_storage.resize(size_t(rows), 0);
    m_payload.resize(size_t(rows), 0);
}

void RowColumn::squeeze()
{
    m_storage.shrink_to_fit();
    m_payload.shrink_to_fit();
    m_texts.shrink_to_fit();
    m_bytes.shrink_to_fit();
    m_data.shrink_to_fit();
}

void RowColumn::read(qsizetype row, sqlite3_stmt* s, int column, StoreStrings* strings)
{
    const int storage = sqlite3_column_type(s, column);
    unsigned char kind = storage == SQLITE_NULL ? 0 : static_cast<unsigned char>(storage);
    if (kind == 0 && row >= qsizetype(m_storage.size()))
        return;
    quint64 payload = 0;
    switch (storage) {
    case SQLITE_INTEGER: payload = quint64(sqlite3_column_int64(s, column)); break;
    case SQLITE_FLOAT: payload = std::bit_cast<quint64>(sqlite3_column_double(s, column)); break;
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
        const int size = sqlite3_column_bytes(s, column);
        // Runs of rows with the same text (the cards of one folder, of one company) keep it once
        // without asking the strings.
        if (m_lastText < m_texts.size() && spellsText(QByteArrayView(text, size), m_texts[m_lastText])) {
            payload = m_lastText;
            break;
        }
        const bool shareable = strings && m_type == AttributeType::String;
        if (m_unshared == UnsharedTexts::Decoded) {
            payload = placeOf(shareable ? strings->text(text, size) : QString::fromUtf8(text, size));
        } else if (shareable && strings->looksUp(size)) {
            payload = placeOf(strings->shared(text, size));
        } else if (quint64(size) < (quint64(1) << kSizeBits) && m_bytes.size() < (size_t(1) << (64 - kSizeBits))) {
            payload = (quint64(m_bytes.size()) << kSizeBits) | quint64(size);
            m_bytes.insert(m_bytes.end(), text, text + size);
            kind = kTextBytes;
            break;
        } else {
            payload = placeOf(QString::fromUtf8(text, size));
        }
        m_lastText = payload;
        break;
    }
    case SQLITE_BLOB:
        payload = m_data.size();
        m_data.emplace_back(static_cast<const char*>(sqlite3_column_blob(s, column)), sqlite3_column_bytes(s, column));
        break;
    default: break;
    }
    if (row >= qsizetype(m_storage.size())) {
        if (row > qsizetype(m_storage.size()))
            resize(row);
        m_storage.push_back(kind);
        m_payload.push_back(payload);
    } else {
        m_storage[size_t(row)] = kind;
        m_payload[size_t(row)] = payload;
    }
}

quint64 RowColumn::placeOf(QString&& text)
{
    const QChar* data = text.constData();
    std::pair<const QChar*, quint64>& recent = m_recent[(quintptr(data) * 0x9E3779B97F4A7C15ull) >> 58];
    static_assert(kRecentTexts == 64, "the address hash picks one of 64 places");
    if (recent.first == data) {
        const QString& kept = m_texts[size_t(recent.second)];
        if (kept.constData() == data && kept.size() == text.size() && kept.isNull() == text.isNull())
            return recent.second;
    }
    recent = {data, quint64(m_texts.size())};
    m_texts.push_back(std::move(text));
    return recent.second;
}

QString RowColumn::textOfBytes(quint64 payload) const
{
    const quint64 size = payload & ((quint64(1) << kSizeBits) - 1);
    return QString::fromUtf8(m_bytes.data() + (payload >> kSizeBits), qsizetype(size));
}

QVariant RowColumn::value(qsizetype row) const
{
    if (isNull(row))
        return {};
    const quint64 payload = m_payload[size_t(row)];
    switch (m_storage[size_t(row)]) {
    case SQLITE_INTEGER: return valueOfStoreInteger(qint64(payload), m_type);
    case SQLITE_FLOAT: return valueOfStoreReal(std::bit_cast<double>(payload), m_type);
    case SQLITE_TEXT: return m_texts[size_t(payload)];
    case kTextBytes: return textOfBytes(payload);
    case SQLITE_BLOB: return m_data[size_t(payload)];
    default: return {};
    }
}

QString RowColumn::stringValue(qsizetype row) const
{
    switch (isNull(row) ? 0 : m_storage[size_t(row)]) {
    case 0: return QString(QLatin1String(""));
    case SQLITE_TEXT: return m_texts[size_t(m_payload[size_t(row)])];
    case kTextBytes: return textOfBytes(m_payload[size_t(row)]);
    default: {
        const QVariant v = value(row);
        return v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 17) : v.toString();
    }
    }
}
