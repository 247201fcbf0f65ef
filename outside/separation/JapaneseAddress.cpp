// Japanese address separation: the prefecture at the start, then the city (with the ward of a
// designated city), the county and its town or village, or a Tokyo ward; the rest is the street.
// The parts are consecutive pieces of the input, so joined they always give it back.
#include "outside/separation/PLSeparation.h"

#include <array>
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

struct Char {
    char32_t code;
    size_t offset; // byte offset in the input
    size_t end;    // byte offset just past it
};

// Decodes UTF-8; a byte that is not part of a well-formed sequence stands for itself.
std::vector<Char> decode(std::string_view s)
{
    std::vector<Char> out;
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
        out.push_back({code, i, i + len});
        i += len;
    }
    return out;
}

bool isSpace(char32_t c) { return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == 0x3000; }
bool isDigitLike(char32_t c) { return (c >= U'0' && c <= U'9') || (c >= U'０' && c <= U'９') || c == U'-' || c == U'－'; }

// Index (exclusive end, in characters) of the city part starting at `from`, or `from` when none.
size_t cityEnd(const std::vector<Char>& chars, size_t from, bool tokyo)
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

bool copyPart(std::string_view part, char* out, size_t capacity)
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
    const std::string_view text(address);
    const std::vector<Char> chars = decode(text);

    size_t at = 0; // characters
    while (at < chars.size() && isSpace(chars[at].code))
        ++at;
    const size_t startByte = at < chars.size() ? chars[at].offset : text.size();
    size_t stateEndByte = 0;
    bool tokyo = false;
    for (std::string_view prefecture : kPrefectures) {
        if (text.substr(startByte, prefecture.size()) == prefecture) {
            stateEndByte = startByte + prefecture.size();
            tokyo = prefecture == "東京都";
            break;
        }
    }
    size_t cityStart = 0;
    if (stateEndByte > 0) {
        while (cityStart < chars.size() && chars[cityStart].offset < stateEndByte)
            ++cityStart;
    }
    // Spaces between the prefecture and the city stay with the prefecture.
    while (cityStart < chars.size() && isSpace(chars[cityStart].code))
        ++cityStart;
    const size_t stateBytes = cityStart < chars.size() ? chars[cityStart].offset : text.size();
    const size_t cityStop = cityEnd(chars, cityStart, tokyo);
    const size_t cityEndByte = cityStop < chars.size() ? chars[cityStop].offset : text.size();

    const std::string_view statePart = stateEndByte > 0 ? text.substr(0, stateBytes) : std::string_view();
    const size_t cityBegin = statePart.size();
    const std::string_view cityPart = text.substr(cityBegin, cityEndByte > cityBegin ? cityEndByte - cityBegin : 0);
    const std::string_view streetPart = text.substr(cityBegin + cityPart.size());
    if (!copyPart(statePart, state, stateCapacity) || !copyPart(cityPart, city, cityCapacity)
        || !copyPart(streetPart, street, streetCapacity))
        return 2;
    return 0;
}

} // extern "C"
