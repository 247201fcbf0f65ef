#include "platform/store/StoreStrings.h"

#include <QAnyStringView>
#include <QHash>

bool spellsText(QByteArrayView bytes, const QString& text)
{
    if (bytes.size() == text.size()) {
        const QChar* units = text.constData();
        qsizetype i = 0;
        for (; i < bytes.size() && uchar(bytes[i]) < 0x80; ++i) {
            if (char16_t(uchar(bytes[i])) != units[i].unicode())
                return false;
        }
        if (i == bytes.size())
            return true;
    }
    return QAnyStringView::equal(QUtf8StringView(bytes), text);
}

QString StoreStrings::text(const char* utf8, qsizetype size)
{
    return looksUp(size) ? shared(utf8, size) : QString::fromUtf8(utf8, size);
}

bool StoreStrings::looksUp(qsizetype size)
{
    if (size > kLongestShared)
        return false;
    if (++m_texts == kStretch) {
        m_sharing = m_found * kWorthSharing >= m_looked;
        m_texts = m_looked = m_found = 0;
    }
    if (!m_sharing && m_texts % kSample != 0)
        return false;
    ++m_looked;
    return true;
}

QString StoreStrings::shared(const char* utf8, qsizetype size)
{
    const std::size_t hash = qHashBits(utf8, std::size_t(size));
    Set& set = m_sets[hash % kSets];
    const QByteArrayView bytes(utf8, size);
    for (int i = 0; i < 2; ++i) {
        const Slot& slot = set.entries[i];
        if (slot.hash == hash && !slot.text.isNull() && spellsText(bytes, slot.text)) {
            set.recent = i;
            ++m_found;
            return slot.text;
        }
    }
    set.recent = 1 - set.recent;
    Slot& slot = set.entries[set.recent];
    slot.hash = hash;
    slot.text = QString::fromUtf8(utf8, size);
    return slot.text;
}
