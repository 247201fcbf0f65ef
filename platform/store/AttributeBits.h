// One bit per attribute of an entity, held inline: which attributes an object holds a value for,
// which it has changed, which a lighter fetch left unread. An entity has at most kCapacity
// attributes (EntityDescription refuses more).
#pragma once

#include <bit>
#include <cstdint>

class AttributeBits {
public:
    static constexpr int kCapacity = 128;

    bool test(int index) const { return (m_words[word(index)] >> bit(index)) & 1u; }
    void set(int index) { m_words[word(index)] |= std::uint64_t(1) << bit(index); }
    void reset(int index) { m_words[word(index)] &= ~(std::uint64_t(1) << bit(index)); }
    void clear() { m_words[0] = m_words[1] = 0; }
    bool any() const { return (m_words[0] | m_words[1]) != 0; }
    int count() const { return std::popcount(m_words[0]) + std::popcount(m_words[1]); }
    // How many bits below `index` are set: the position of `index` among the set ones.
    int rank(int index) const
    {
        const std::uint64_t below = (std::uint64_t(1) << bit(index)) - 1;
        return word(index) == 0 ? std::popcount(m_words[0] & below)
                                : std::popcount(m_words[0]) + std::popcount(m_words[1] & below);
    }

    friend AttributeBits operator&(AttributeBits a, const AttributeBits& b)
    {
        a.m_words[0] &= b.m_words[0];
        a.m_words[1] &= b.m_words[1];
        return a;
    }
    friend AttributeBits operator|(AttributeBits a, const AttributeBits& b)
    {
        a.m_words[0] |= b.m_words[0];
        a.m_words[1] |= b.m_words[1];
        return a;
    }
    AttributeBits operator~() const
    {
        AttributeBits inverse;
        inverse.m_words[0] = ~m_words[0];
        inverse.m_words[1] = ~m_words[1];
        return inverse;
    }

private:
    static int word(int index) { return index >> 6; }
    static int bit(int index) { return index & 63; }
    std::uint64_t m_words[2] = {0, 0};
};
