#include "outside/separation/PLSeparation.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// One staged library, opened as the application opens it.
class Library {
public:
    explicit Library(const char* relative)
    {
        const std::string path = std::string(std::getenv("PELMORA_STAGE_DIR")) + "/" + relative;
        m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (m_handle)
            m_ready = reinterpret_cast<PLInitLibraryFunc>(dlsym(m_handle, "initLibrary"))() == 0;
    }
    ~Library()
    {
        if (m_handle) {
            reinterpret_cast<PLFreeLibraryFunc>(dlsym(m_handle, "freeLibrary"))();
            dlclose(m_handle);
        }
    }
    bool ready() const { return m_ready; }
    template <typename F>
    F entry(const char* name) const { return reinterpret_cast<F>(dlsym(m_handle, name)); }

private:
    void* m_handle = nullptr;
    bool m_ready = false;
};

std::u16string part(const std::u16string& name, const int16_t* parts, int which)
{
    if (parts[2 * which] < 0)
        return u"-";
    return name.substr(parts[2 * which], parts[2 * which + 1] - parts[2 * which] + 1);
}

TEST(SeparationLibraries, EnglishNames)
{
    Library lib("En/Lib/libPLlibEnNamAddr.so");
    ASSERT_TRUE(lib.ready());
    auto sepa = lib.entry<PLEngNameSepaFunc>("eng_name_sepa");
    struct Case {
        std::u16string name, first, middle, family, prefix, suffix;
    };
    const Case cases[] = {
        {u"Anna", u"Anna", u"-", u"-", u"-", u"-"},
        {u"Anna Lopez", u"Anna", u"-", u"Lopez", u"-", u"-"},
        {u"Anna Maria Lopez", u"Anna", u"Maria", u"Lopez", u"-", u"-"},
        {u"Lopez, Anna Maria", u"Anna", u"Maria", u"Lopez", u"-", u"-"},
        {u"Lopez,Anna", u"Anna", u"-", u"Lopez", u"-", u"-"},
        {u"Dr. John Q. Smith Jr.", u"John", u"Q.", u"Smith", u"Dr.", u"Jr."},
        {u"Mr.Smith", u"Smith", u"-", u"-", u"Mr.", u"-"},
        {u"Prof. Dr. Ann Lee PhD", u"Ann", u"-", u"Lee", u"Prof. Dr.", u"PhD"},
        {u"Dr", u"Dr", u"-", u"-", u"-", u"-"},
    };
    for (const Case& c : cases) {
        std::vector<uint16_t> buffer(PL_NAME_BUFFER_UNITS, 0);
        std::copy(c.name.begin(), c.name.end(), buffer.begin());
        int16_t parts[10];
        ASSERT_EQ(sepa(buffer.data(), parts), 0);
        EXPECT_EQ(part(c.name, parts, PL_NAME_FIRST), c.first);
        EXPECT_EQ(part(c.name, parts, PL_NAME_MIDDLE), c.middle);
        EXPECT_EQ(part(c.name, parts, PL_NAME_FAMILY), c.family);
        EXPECT_EQ(part(c.name, parts, PL_NAME_PREFIX), c.prefix);
        EXPECT_EQ(part(c.name, parts, PL_NAME_SUFFIX), c.suffix);
    }
    std::vector<uint16_t> blank(PL_NAME_BUFFER_UNITS, 0);
    blank[0] = u' ';
    int16_t parts[10];
    EXPECT_NE(sepa(blank.data(), parts), 0);
    std::vector<uint16_t> unterminated(PL_NAME_BUFFER_UNITS, u'a');
    EXPECT_NE(sepa(unterminated.data(), parts), 0);
}

TEST(SeparationLibraries, CompanyReadings)
{
    Library lib("Jp/Lib/libPLlibJpCom.so");
    ASSERT_TRUE(lib.ready());
    auto reading = lib.entry<PLCompanyReadingFunc>("cname_search_cname2cyomi");
    const std::pair<const char*, const char*> cases[] = {
        {"株式会社山田商事", "ヤマダショウジ"},
        {"山田商事株式会社", "ヤマダショウジ"},
        {"（株）東京電気", "トウキョウデンキ"},
        {"㈱ 日本 物産", "ニッポンブッサン"},
        {"株式会社", ""},
    };
    for (const auto& [company, expected] : cases) {
        char out[512];
        ASSERT_EQ(reading(company, out, sizeof out), 0) << company;
        EXPECT_STREQ(out, expected) << company;
    }
    char tiny[4];
    EXPECT_NE(reading("山田商事", tiny, sizeof tiny), 0);
}

TEST(SeparationLibraries, JapaneseAddressesSplitInTheirPrintedShape)
{
    Library lib("Jp/Lib/libPLlibJpAddr.so");
    ASSERT_TRUE(lib.ready());
    auto separate = lib.entry<PLSeparateAddressFunc>("SeparateAddress");
    struct Case {
        const char *address, *state, *city, *street;
    };
    const Case cases[] = {
        {"東京都千代田区丸の内1-1-1", "東京都", "千代田区", "丸の内1-1-1"},
        {"東京都八王子市元本郷町3-24-1", "東京都", "八王子市", "元本郷町3-24-1"},
        {"東京都西多摩郡瑞穂町箱根ケ崎2335", "東京都", "西多摩郡瑞穂町", "箱根ケ崎2335"},
        {"神奈川県横浜市中区山下町1", "神奈川県", "横浜市中区", "山下町1"},
        {"千葉県市川市八幡1-1", "千葉県", "市川市", "八幡1-1"},
        {"三重県四日市市諏訪町1-5", "三重県", "四日市市", "諏訪町1-5"},
        {"北海道 札幌市北区北8条西5", "北海道 ", "札幌市北区", "北8条西5"},
        {"長野県北佐久郡軽井沢町大字軽井沢", "長野県", "北佐久郡軽井沢町", "大字軽井沢"},
        {"沖縄県那覇市泉崎1-2-2", "沖縄県", "那覇市", "泉崎1-2-2"},
        {"渋谷区道玄坂1-2", "", "", "渋谷区道玄坂1-2"},
        {"123 Main Street", "", "", "123 Main Street"},
        {"", "", "", ""},
        // The address starts at its prefecture, or at its city when none is printed.
        {"〒150-0002 東京都渋谷区渋谷2-21-1", "東京都", "渋谷区", "渋谷2-21-1"},
        {"伊 Ras ロ 520-0043 滋賀県大津市中央3-2-1", "滋賀県", "大津市", "中央3-2-1"},
        {"渡部 ant   宇都宮市本町4-15\n宇都宮NIビル9F", "", "宇都宮市", "本町4-15\n宇都宮NIビル9F"},
        {"渋谷区渋谷2-21-1 東京都庁ビル", "", "", "渋谷区渋谷2-21-1 東京都庁ビル"},
        {"ーー\n北海道札幌市中央区北三条西6-1", "北海道", "札幌市中央区", "北三条西6-1"},
        {"ー ・", "", "", ""},
        // A prefecture's lost or misread mark comes back only before a city of its name or a Tokyo ward.
        {"新潟新潟市中央区東大通2-4-10", "新潟県", "新潟市中央区", "東大通2-4-10"},
        {"千葉果千葉市中央区新町3-13", "千葉県", "千葉市中央区", "新町3-13"},
        {"東京千代田区丸の内1-9-2", "東京都", "千代田区", "丸の内1-9-2"},
        {"大阪狭山市狭山1-2", "", "大阪狭山市", "狭山1-2"},
        {"京都市中京区河原町通4-8", "", "京都市中京区", "河原町通4-8"},
        // Dashes of block numbers read as other marks, in the width of their digits.
        {"名古屋市中区栄3.4-5", "", "名古屋市中区", "栄3-4-5"},
        {"新潟県新潟市中央区東大通2-4-.10", "新潟県", "新潟市中央区", "東大通2-4-10"},
        {"沖縄県那覇市久茂地２ー２一２", "沖縄県", "那覇市", "久茂地２－２－２"},
        {"東京都千代田区丸の内1 − 9 ー 2 15F", "東京都", "千代田区", "丸の内1-9-2 15F"},
        {"大阪府大阪市北区梅田1-2-3 ビル 3F", "大阪府", "大阪市北区", "梅田1-2-3 ビル 3F"},
        {"1-2-3 Marunouchi. 4 F", "", "", "1-2-3 Marunouchi. 4 F"},
        // Block numbers misread: a full-width one as ユ, a bracket before 番, 丁 as 本, blanks between digits.
        {"新潟県新潟市西区小新西ユー5-3", "新潟県", "新潟市西区", "小新西１－5-3"},
        {"千葉県佐倉市ユーカリが丘4-1ユ一1", "千葉県", "佐倉市", "ユーカリが丘4-1-1"},
        {"札幌市東区北十二条東7丁目 1]番1号", "", "札幌市東区", "北十二条東7丁目1番1号"},
        {"東京都中央区八丁堀三本 目1 2番8号", "東京都", "中央区", "八丁堀三丁目12番8号"},
        {"埼玉県秩父郡長瀞町長瀞1 4 1 7", "埼玉県", "秩父郡長瀞町", "長瀞1417"},
        {"大阪府大阪市北区梅田1-2-3 4F", "大阪府", "大阪市北区", "梅田1-2-3 4F"},
        {"長野県長野市南千歳].12-フ\n新正和ビル3F", "長野県", "長野市", "南千歳1-12-7\n新正和ビル3F"},
        {"東京都港区六本木6-10-1 ヒルズフロント", "東京都", "港区", "六本木6-10-1 ヒルズフロント"},
    };
    for (const Case& c : cases) {
        char state[256], city[256], street[256];
        ASSERT_EQ(separate(c.address, state, sizeof state, city, sizeof city, street, sizeof street), 0) << c.address;
        EXPECT_STREQ(state, c.state) << c.address;
        EXPECT_STREQ(city, c.city) << c.address;
        EXPECT_STREQ(street, c.street) << c.address;
    }
    // Invalid UTF-8 and odd input still rebuild exactly.
    for (const char* odd : {"東京都\xFF市", "東京都\xE3\x80", "市市市市", "郡町"}) {
        char state[64], city[64], street[64];
        ASSERT_EQ(separate(odd, state, sizeof state, city, sizeof city, street, sizeof street), 0);
        EXPECT_EQ(std::string(state) + city + street, odd);
    }
    // A part that does not fit, also one grown by a mark put back, is refused rather than overrun.
    char small[9], city[64], street[64];
    EXPECT_NE(separate("東京都千代田区", small, 4, city, sizeof city, street, sizeof street), 0);
    EXPECT_NE(separate("新潟新潟市1", small, sizeof small, city, sizeof city, street, sizeof street), 0);
}

} // namespace
