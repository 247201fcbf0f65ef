// Texts read from one column of a store, shared: a text met again (a folder identifier, a company,
// a flag) is handed out as the QString already made for it, so that the objects of many rows hold
// one copy. Bounded: a fixed table of recent texts, two for each hash; a text met again stays while
// texts met once take turns in the other place.
//
// Sharing pays only where texts come again. A column whose texts were nearly all new over the last
// stretch (an identifier, an e-mail address) is decoded as it comes, without hashing; one text in
// kSample is still looked up, so that sharing resumes once the column's texts come again.
#pragma once

#include <QString>

#include <array>
#include <cstddef>

// Whether the UTF-8 `bytes` spell `text`; ASCII is compared unit by unit, without decoding.
bool spellsText(QByteArrayView bytes, const QString& text);

class StoreStrings {
public:
    // The text of `size` bytes of UTF-8 at `utf8`.
    QString text(const char* utf8, qsizetype size);
    // Whether the next text, of `size` bytes, is to be shared (looked up in the table); counted as
    // one of the column's texts. A text that is not is decoded as it comes.
    bool looksUp(qsizetype size);
    // The shared text: the one in the table, else this one, kept in the table.
    QString shared(const char* utf8, qsizetype size);

private:
    static constexpr std::size_t kSets = 128;
    // Longer texts are seldom the same twice (a memo, an address) and are decoded as they come.
    static constexpr qsizetype kLongestShared = 128;
    // Texts in a stretch; sharing goes on while at least one in kWorthSharing looked up is met again.
    static constexpr int kStretch = 1024;
    static constexpr int kWorthSharing = 16;
    static constexpr int kSample = 32;
    struct Slot {
        std::size_t hash = 0;
        QString text;
    };
    struct Set {
        Slot entries[2];
        int recent = 0; // the entry last handed out
    };
    std::array<Set, kSets> m_sets;
    bool m_sharing = true;
    int m_texts = 0; // of this stretch
    int m_looked = 0; // of them looked up in the table
    int m_found = 0; // of those met again
};
