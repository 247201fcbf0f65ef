// English name separation by rules: courtesy prefixes, generational and degree suffixes,
// the "Family, First Middle" comma form, and otherwise first, middle and family by position.
#include "outside/separation/PLSeparation.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Token {
    int first;
    int last;          // inclusive
    bool commaAfter;   // a comma follows before the next token
};

constexpr std::array<std::u16string_view, 9> kPrefixes = {u"mr", u"mrs", u"ms", u"miss", u"dr", u"prof", u"sir",
                                                          u"mx", u"rev"};
constexpr std::array<std::u16string_view, 11> kSuffixes = {u"jr", u"sr", u"ii", u"iii", u"iv", u"phd", u"md",
                                                           u"esq", u"mba", u"dds", u"cpa"};

bool isSeparator(char16_t c) { return c == u' ' || c == u'\t' || c == u',' || c == 0x3000; }

std::u16string folded(std::u16string_view word)
{
    std::u16string out;
    for (char16_t c : word) {
        if (c == u'.')
            continue;
        out.push_back(c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c);
    }
    return out;
}

template <size_t N>
bool inList(const std::array<std::u16string_view, N>& list, std::u16string_view word)
{
    const std::u16string f = folded(word);
    return std::find(list.begin(), list.end(), f) != list.end();
}

std::vector<Token> tokenize(std::u16string_view name)
{
    std::vector<Token> tokens;
    int i = 0;
    const int n = int(name.size());
    while (i < n) {
        if (isSeparator(name[i])) {
            if (name[i] == u',' && !tokens.empty())
                tokens.back().commaAfter = true;
            ++i;
            continue;
        }
        int j = i;
        while (j < n && !isSeparator(name[j]))
            ++j;
        // "Dr.Smith": a known prefix ending in a full stop starts its own token.
        int cut = -1;
        for (int k = i; k < j - 1; ++k) {
            if (name[k] == u'.') {
                if (tokens.empty() && inList(kPrefixes, name.substr(i, k - i)))
                    cut = k;
                break;
            }
        }
        if (cut >= 0) {
            tokens.push_back({i, cut, false});
            i = cut + 1;
            continue;
        }
        tokens.push_back({i, j - 1, false});
        i = j;
    }
    return tokens;
}

void setPart(int16_t* parts, int part, int first, int last)
{
    parts[2 * part] = int16_t(first);
    parts[2 * part + 1] = int16_t(last);
}

} // namespace

extern "C" {

int initLibrary(void) { return 0; }

void freeLibrary(void) {}

int eng_name_sepa(const uint16_t* name, int16_t parts[2 * PL_NAME_PART_COUNT])
{
    if (!name || !parts)
        return 1;
    for (int i = 0; i < 2 * PL_NAME_PART_COUNT; ++i)
        parts[i] = -1;
    size_t length = 0;
    while (length < PL_NAME_BUFFER_UNITS && name[length] != 0)
        ++length;
    if (length == PL_NAME_BUFFER_UNITS)
        return 2;
    const std::u16string_view text(reinterpret_cast<const char16_t*>(name), length);
    std::vector<Token> tokens = tokenize(text);
    if (tokens.empty())
        return 3;

    size_t begin = 0;
    size_t end = tokens.size();
    while (begin + 1 < end && inList(kPrefixes, text.substr(tokens[begin].first, tokens[begin].last - tokens[begin].first + 1)))
        ++begin;
    if (begin > 0)
        setPart(parts, PL_NAME_PREFIX, tokens[0].first, tokens[begin - 1].last);
    size_t suffixStart = end;
    while (suffixStart - 1 > begin
           && inList(kSuffixes, text.substr(tokens[suffixStart - 1].first,
                                            tokens[suffixStart - 1].last - tokens[suffixStart - 1].first + 1)))
        --suffixStart;
    if (suffixStart < end)
        setPart(parts, PL_NAME_SUFFIX, tokens[suffixStart].first, tokens[end - 1].last);
    end = suffixStart;

    const size_t count = end - begin;
    const Token& head = tokens[begin];
    if (count >= 2 && head.commaAfter) {
        // "Lopez, Anna Maria"
        setPart(parts, PL_NAME_FAMILY, head.first, head.last);
        setPart(parts, PL_NAME_FIRST, tokens[begin + 1].first, tokens[begin + 1].last);
        if (count >= 3)
            setPart(parts, PL_NAME_MIDDLE, tokens[begin + 2].first, tokens[end - 1].last);
        return 0;
    }
    setPart(parts, PL_NAME_FIRST, head.first, head.last);
    if (count >= 2)
        setPart(parts, PL_NAME_FAMILY, tokens[end - 1].first, tokens[end - 1].last);
    if (count >= 3)
        setPart(parts, PL_NAME_MIDDLE, tokens[begin + 1].first, tokens[end - 2].last);
    return 0;
}

} // extern "C"
