// Texts read from one column of a store, shared: a text met again (a folder identifier, a company,
// a flag) is handed out as the QString already made for it, so that the objects of many rows hold
// one copy. Bounded: a fixed table of recent texts, two for each hash; a text met again stays while
// texts met once take turns in the other place.
#pragma once

#include <QString>

#include <array>
#include <cstddef>

class StoreStrings {
public:
    // The text of `size` bytes of UTF-8 at `utf8`.
    QString text(const char* utf8, qsizetype size);

private:
    static constexpr std::size_t kSets = 128;
    // Longer texts are seldom the same twice (a memo, an address) and are decoded as they come.
    static constexpr qsizetype kLongestShared = 128;
    struct Slot {
        std::size_t hash = 0;
        QString text;
    };
    struct Set {
        Slot entries[2];
        int recent = 0; // the entry last handed out
    };
    std::array<Set, kSets> m_sets;
};
