// Readings of Japanese company names through MeCab with the IPA dictionary.
// The legal-form words (株式会社, (株) …) are left out of the reading, as is usual for sorting.
#include "outside/separation/PLSeparation.h"

#include <mecab.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace {

mecab_t* g_tagger = nullptr;

constexpr std::array<std::string_view, 20> kLegalForms = {
    "特定非営利活動法人", "一般社団法人", "一般財団法人", "公益社団法人", "公益財団法人", "社団法人", "財団法人",
    "医療法人", "学校法人", "株式会社", "有限会社", "合同会社", "合資会社", "合名会社",
    "(株)", "（株）", "㈱", "(有)", "（有）", "㈲"};

bool isDirectory(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string withoutLegalForms(std::string text)
{
    for (std::string_view form : kLegalForms) {
        for (size_t at = text.find(form); at != std::string::npos; at = text.find(form, at))
            text.erase(at, form.size());
    }
    return text;
}

// Drops ASCII white space, line ends and the ideographic space.
std::string withoutSpaces(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        if (text.substr(i, 3) == "\xE3\x80\x80") {
            i += 2;
            continue;
        }
        out.push_back(char(c));
    }
    return out;
}

} // namespace

extern "C" {

int initLibrary(void)
{
    if (g_tagger)
        return 0;
    // A dictionary shipped beside the library wins over the system's one.
    std::string options = "-Oyomi";
    if (const char* folder = std::getenv("DIC_PATH_JP_COM"); folder && *folder) {
        const std::string local = std::string(folder) + "/ipadic";
        if (isDirectory(local))
            options += " -d " + local;
    }
    g_tagger = mecab_new2(options.c_str());
    return g_tagger ? 0 : 1;
}

void freeLibrary(void)
{
    if (g_tagger)
        mecab_destroy(g_tagger);
    g_tagger = nullptr;
}

int cname_search_cname2cyomi(const char* company, char* reading, size_t capacity)
{
    if (!company || !reading || capacity == 0)
        return 1;
    reading[0] = '\0';
    if (!g_tagger)
        return 2;
    const std::string name = withoutSpaces(withoutLegalForms(company));
    if (name.empty())
        return 0;
    const char* parsed = mecab_sparse_tostr(g_tagger, name.c_str());
    if (!parsed)
        return 3;
    const std::string result = withoutSpaces(parsed);
    if (result.size() + 1 > capacity)
        return 4;
    std::memcpy(reading, result.c_str(), result.size() + 1);
    return 0;
}

} // extern "C"
