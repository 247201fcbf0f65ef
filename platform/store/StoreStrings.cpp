#include "platform/store/StoreStrings.h"

#include <QAnyStringView>
#include <QHash>

QString StoreStrings::text(const char* utf8, qsizetype size)
{
    if (size > kLongestShared)
        return QString::fromUtf8(utf8, size);
    const std::size_t hash = qHashBits(utf8, std::size_t(size));
    Set& set = m_sets[hash % kSets];
    const QUtf8StringView bytes(utf8, size);
    for (int i = 0; i < 2; ++i) {
        const Slot& slot = set.entries[i];
        if (slot.hash == hash && !slot.text.isNull() && QAnyStringView::equal(bytes, slot.text)) {
            set.recent = i;
            return slot.text;
        }
    }
    set.recent = 1 - set.recent;
    Slot& slot = set.entries[set.recent];
    slot.hash = hash;
    slot.text = QString::fromUtf8(utf8, size);
    return slot.text;
}
