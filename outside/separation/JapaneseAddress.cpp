// Japanese address separation: the prefecture at the start, then the city (with the ward of a
// designated city), the county and its town or village, or a Tokyo ward; the rest is the street.
// Before the split the address is put back into the shape addresses are printed in, as far as the
// shape alone tells: it starts at its prefecture or city, the prefecture keeps its 都/府/県, and block
// numbers are joined by dashes of the width of their digits.
#include "outside/separation/PLSeparation.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::array<std::string_view, 47> kPrefectures = {
    "北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県", "福島県", "茨城県", "栃木県", "群馬県",
    "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県", "石川県", "福井県", "山梨県", "長野県",
    "岐阜県", "静岡県", "愛知県", "三重県", "滋賀県", "京都府", "大阪府", "兵庫県", "奈良県", "和歌山県",
    "鳥取県", "島根県", "岡山県", "広島県", "山口県", "徳島県", "香川県", "愛媛県", "高知県", "福岡県",
    "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県", "鹿児島県", "沖縄県"};

constexpr char32_t kCity = U'市';
constexpr char32_t kWard = U'区';
constexpr char32_t kCounty = U'郡';
constexpr char32_t kTown = U'町';
constexpr char32_t kVillage = U'村';

// One character of the address with the bytes it came as, so that what is not repaired goes back
// exactly as it was given.
struct Char {
    char32_t code;
    std::string bytes;
};
using Text = std::vector<Char>;

std::string encode(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
    return out;
}

Char make(char32_t c)
{
    return {c, encode(c)};
}

// Decodes UTF-8; a byte that is not part of a well-formed sequence stands for itself.
Text decode(std::string_view s)
{
    Text out;
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = s[i];
        size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        char32_t code = c;
        if (len > 1 && i + len <= s.size()) {
            code = c & (0x7F >> len);
            for (size_t k = 1; k < len; ++k) {
                const unsigned char cc = s[i + k];
                if ((cc & 0xC0) != 0x80) {
                    len = 0;
                    break;
                }
                code = (code << 6) | (cc & 0x3F);
            }
        } else if (len != 1) {
            len = 0;
        }
        if (len == 0) {
            len = 1;
            code = c;
        }
        out.push_back({code, std::string(s.substr(i, len))});
        i += len;
    }
    return out;
}

std::string bytesOf(const Text& text, size_t from, size_t to)
{
    std::string out;
    for (size_t i = from; i < to && i < text.size(); ++i)
        out += text[i].bytes;
    return out;
}

bool isSpace(char32_t c) { return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == 0x3000; }
bool isDigit(char32_t c)
{
    return (c >= U'0' && c <= U'9') || (c >= U'０' && c <= U'９');
}
bool isWideDigit(char32_t c)
{
    return c >= U'０' && c <= U'９';
}
bool isDigitLike(char32_t c)
{
    return isDigit(c) || c == U'-' || c == U'－';
}
bool isMarker(char32_t c)
{
    return c == kCity || c == kWard || c == kCounty || c == kTown || c == kVillage;
}
bool isJapanese(char32_t c)
{
    return c >= 0x3040 && c != 0x3000;
}

// What the engine makes of the dash between block numbers: the long-vowel mark, the kanji one,
// other dashes, or a dot for one it barely saw.
bool isDashLike(char32_t c)
{
    static constexpr std::u32string_view kDashes = U"-－ーｰ一−‐‑‒–—―～〜~.．・･";
    return kDashes.find(c) != std::u32string_view::npos;
}

bool isMark(char32_t c)
{
    return isDashLike(c) || isSpace(c) || (c < 0x80 && !std::isalnum(int(c)));
}

// Index (exclusive end, in characters) of the city part starting at `from`, or `from` when none.
size_t cityEnd(const Text& chars, size_t from, bool tokyo)
{
    auto find = [&](char32_t what, size_t start, size_t limit) -> size_t {
        for (size_t i = start; i < limit && i < chars.size(); ++i) {
            if (isDigitLike(chars[i].code) || isSpace(chars[i].code))
                return std::string::npos;
            if (chars[i].code == what)
                return i;
        }
        return std::string::npos;
    };
    const size_t n = chars.size();
    // A name needs a character before its marker: 市川市 is one city, not 市 + 川市.
    const size_t nameStart = from + 1;
    const size_t county = find(kCounty, nameStart, n);
    const size_t city = find(kCity, nameStart, n);
    if (county != std::string::npos && (city == std::string::npos || county < city)) {
        for (size_t i = county + 2; i < n && !isDigitLike(chars[i].code) && !isSpace(chars[i].code); ++i) {
            if (chars[i].code == kTown || chars[i].code == kVillage)
                return i + 1;
        }
        return county + 1;
    }
    if (city != std::string::npos) {
        size_t end = city + 1;
        if (end < n && chars[end].code == kCity) // 四日市市, 廿日市市
            ++end;
        // A designated city goes on to its ward when one follows within a few characters.
        const size_t ward = find(kWard, end + 1, end + 5);
        if (ward != std::string::npos)
            end = ward + 1;
        return end;
    }
    if (tokyo) {
        const size_t ward = find(kWard, nameStart, n);
        if (ward != std::string::npos)
            return ward + 1;
    }
    for (size_t i = nameStart; i < n && !isDigitLike(chars[i].code) && !isSpace(chars[i].code); ++i) {
        if (chars[i].code == kTown || chars[i].code == kVillage)
            return i + 1;
    }
    return from;
}

// Whether a city, county or ward starts at `from`: a name of its own before the marker.
bool cityStartsAt(const Text& chars, size_t from, bool tokyo)
{
    return from < chars.size() && !isMarker(chars[from].code) && !isDigitLike(chars[from].code) && !isSpace(chars[from].code)
        && cityEnd(chars, from, tokyo) > from;
}

bool startsWith(const Text& text, size_t at, std::string_view what)
{
    return bytesOf(text, at, std::min(text.size(), at + what.size())).rfind(what, 0) == 0;
}

size_t lengthOf(std::string_view utf8)
{
    return decode(utf8).size();
}

// The prefecture starting at `at`, or an empty view.
std::string_view prefectureAt(const Text& text, size_t at)
{
    for (std::string_view prefecture : kPrefectures) {
        if (startsWith(text, at, prefecture))
            return prefecture;
    }
    return {};
}

// The address starts at its prefecture, or at its city when none is printed: pieces of the first
// line before it (a postal code, the end of a neighbouring column) go. The address itself holds no
// blank but after its prefecture.
void startAtPrefectureOrCity(Text* text)
{
    // Lines of marks only, what is left of a postal code's line, go first.
    for (;;) {
        const auto lineEnd = std::find_if(text->begin(), text->end(), [](const Char& c) { return c.code == U'\n'; });
        if (lineEnd == text->begin() || !std::all_of(text->begin(), lineEnd, [](const Char& c) { return isMark(c.code); }))
            break;
        text->erase(text->begin(), lineEnd == text->end() ? lineEnd : lineEnd + 1);
    }
    const size_t lineEnd = size_t(std::find_if(text->begin(), text->end(), [](const Char& c) { return c.code == U'\n'; }) - text->begin());
    for (size_t at = 0; at < lineEnd; ++at) {
        const bool pieceStart = at == 0 || isSpace((*text)[at - 1].code);
        if (!prefectureAt(*text, at).empty() || (pieceStart && cityStartsAt(*text, at, true))) {
            text->erase(text->begin(), text->begin() + std::ptrdiff_t(at));
            return;
        }
    }
}

// A prefecture whose 都/府/県 was lost (新潟新潟市) or read as another character (千葉果千葉市)
// gets it back when a city follows. Without the mark, the city must carry the prefecture's name
// or be a Tokyo ward: 大阪狭山市 is a city of its own.
void restorePrefectureMark(Text* text)
{
    for (std::string_view prefecture : kPrefectures) {
        const Text full = decode(prefecture);
        if (full.back().code == U'道')
            continue;
        const Text stem(full.begin(), full.end() - 1);
        const std::string stemBytes = bytesOf(stem, 0, stem.size());
        if (!startsWith(*text, 0, stemBytes) || startsWith(*text, 0, prefecture))
            continue;
        const bool tokyo = prefecture == "東京都";
        const auto cityOfThePrefecture = [&](size_t from) {
            return cityStartsAt(*text, from, tokyo)
                && (startsWith(*text, from, stemBytes) || (tokyo && (*text)[cityEnd(*text, from, tokyo) - 1].code == kWard));
        };
        const size_t at = stem.size();
        if (cityOfThePrefecture(at))
            text->insert(text->begin() + std::ptrdiff_t(at), full.back());
        else if (at < text->size() && isJapanese((*text)[at].code) && !isMarker((*text)[at].code) && cityOfThePrefecture(at + 1))
            (*text)[at] = full.back();
        return;
    }
}

// Block numbers: a dash read as another mark becomes a dash again, full width after a full-width
// digit; blanks around it go.
void repairBlockNumbers(Text* text)
{
    Text out;
    for (size_t i = 0; i < text->size(); ++i) {
        const Char& c = (*text)[i];
        if (!out.empty() && isDigit(out.back().code) && (isDashLike(c.code) || c.code == U' ')) {
            size_t j = i;
            bool dash = false;
            while (j < text->size() && (isDashLike((*text)[j].code) || (*text)[j].code == U' ')) {
                dash = dash || isDashLike((*text)[j].code);
                ++j;
            }
            // Only a short run between digits: "3.4-5", "2-4-.10", "1 ー 2".
            if (dash && j < text->size() && isDigit((*text)[j].code) && j - i <= 3) {
                out.push_back(make(isWideDigit(out.back().code) ? U'－' : U'-'));
                i = j - 1;
                continue;
            }
        }
        out.push_back(c);
    }
    *text = std::move(out);
}

bool isBlank(char32_t c)
{
    return c == U' ' || c == 0x3000;
}
bool isKanjiNumeral(char32_t c)
{
    static constexpr std::u32string_view kNumerals = U"一二三四五六七八九十";
    return kNumerals.find(c) != std::u32string_view::npos;
}
bool isKatakana(char32_t c)
{
    return c >= 0x30A1 && c <= 0x30FA;
}
// The words that follow block numbers: 1丁目, 3番, 2番地, 1号.
bool isBlockWord(char32_t c)
{
    return c == U'丁' || c == U'番' || c == U'号' || c == U'条';
}
// A floor or room after block numbers ("1-2-3 4F", "5 12階") stays apart from them.
bool startsFloor(const Text& text, size_t at)
{
    while (at < text.size() && isDigit(text[at].code))
        ++at;
    return at < text.size() && (text[at].code == U'F' || text[at].code == U'f' || text[at].code == U'Ｆ' || text[at].code == U'階');
}

// Block numbers as the engine misreads them: a full-width one read as ユ ("ユー5-3" for "１－５－３",
// its foot read apart after a 1 in "4-1ユ一1"), a one as "]" and a seven as フ ("南千歳].12-フ"), a
// bracket read into "1]番", 丁 read as 本 ("三本 目"),
// and blanks between digits or after 丁目 and 番 ("1 4 1 7", "7丁目 1番").
void repairBlockReadings(Text* text)
{
    const Text& in = *text;
    const auto at = [&](size_t i) { return i < in.size() ? in[i].code : char32_t(0); };
    const auto nextSolid = [&](size_t i) {
        while (i < in.size() && isBlank(in[i].code))
            ++i;
        return i;
    };
    Text out;
    for (size_t i = 0; i < in.size(); ++i) {
        const char32_t c = in[i].code;
        const char32_t before = out.empty() ? 0 : out.back().code;
        const bool dashedDigitAfter = isDashLike(at(i + 1)) && isDigit(at(i + 2));
        if (c == U'ユ' && (before == U'1' || before == U'１') && dashedDigitAfter)
            continue;
        if (c == U'ユ' && !isKatakana(before) && before != U'ー' && (dashedDigitAfter || isDigit(at(i + 1)))) {
            out.push_back(make(U'１'));
            continue;
        }
        // A one read as "]" or "|" before the dash at the start of the numbers, a seven as フ at their end.
        if ((c == U']' || c == U'|') && isJapanese(before) && dashedDigitAfter) {
            out.push_back(make(U'1'));
            continue;
        }
        if (c == U'フ' && isDashLike(before) && out.size() >= 2 && isDigit(out[out.size() - 2].code)
            && (i + 1 == in.size() || isSpace(at(i + 1)))) {
            out.push_back(make(U'7'));
            continue;
        }
        if (std::u32string_view(U"]}[|」「』『)").find(c) != std::u32string_view::npos && isDigit(before)
            && isBlockWord(at(nextSolid(i + 1)))) {
            i = nextSolid(i + 1) - 1;
            continue;
        }
        if (c == U'本' && (isDigit(before) || isKanjiNumeral(before)) && at(nextSolid(i + 1)) == U'目') {
            out.push_back(make(U'丁'));
            i = nextSolid(i + 1) - 1;
            continue;
        }
        if (isBlank(c) && (isDigit(before) || before == U'目' || before == U'番' || before == U'地')) {
            const size_t next = nextSolid(i);
            if (isDigit(at(next)) && !startsFloor(in, next)) {
                i = next - 1;
                continue;
            }
        }
        out.push_back(in[i]);
    }
    *text = std::move(out);
}

Text repaired(std::string_view address)
{
    Text text = decode(address);
    if (std::none_of(text.begin(), text.end(), [](const Char& c) { return isJapanese(c.code); }))
        return text;
    startAtPrefectureOrCity(&text);
    restorePrefectureMark(&text);
    repairBlockReadings(&text);
    repairBlockNumbers(&text);
    return text;
}

bool copyPart(const std::string& part, char* out, size_t capacity)
{
    if (part.size() + 1 > capacity)
        return false;
    std::memcpy(out, part.data(), part.size());
    out[part.size()] = '\0';
    return true;
}

} // namespace

extern "C" {

int initLibrary(void) { return 0; }

void freeLibrary(void) {}

int SeparateAddress(const char* address, char* state, size_t stateCapacity, char* city, size_t cityCapacity,
                    char* street, size_t streetCapacity)
{
    if (!address || !state || !city || !street || !stateCapacity || !cityCapacity || !streetCapacity)
        return 1;
    state[0] = city[0] = street[0] = '\0';
    const Text chars = repaired(address);

    size_t at = 0;
    while (at < chars.size() && isSpace(chars[at].code))
        ++at;
    const std::string_view prefecture = prefectureAt(chars, at);
    size_t nameAt = prefecture.empty() ? 0 : at + lengthOf(prefecture);
    while (nameAt < chars.size() && isSpace(chars[nameAt].code))
        ++nameAt;
    // Spaces between the prefecture and the city stay with the prefecture; without a prefecture
    // they go with the city.
    const size_t cityStart = prefecture.empty() ? 0 : nameAt;
    size_t cityStop = cityEnd(chars, nameAt, prefecture == "東京都");
    if (cityStop == nameAt)
        cityStop = cityStart;
    if (!copyPart(bytesOf(chars, 0, prefecture.empty() ? 0 : cityStart), state, stateCapacity)
        || !copyPart(bytesOf(chars, cityStart, cityStop), city, cityCapacity)
        || !copyPart(bytesOf(chars, cityStop, chars.size()), street, streetCapacity))
        return 2;
    return 0;
}

} // extern "C"
