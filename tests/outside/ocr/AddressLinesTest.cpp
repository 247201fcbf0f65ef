#include "outside/ocr/AddressLines.h"

#include "outside/ocr/PostalCodeDirectory.h"
#include "outside/ocr/WebAddressShape.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(AddressLines, PlaceSpelledAsItsPostalCodeSays)
{
    PostalCodeDirectory directory;
    ASSERT_EQ(directory.placesOf(u"3691305"_s), QStringList{u"埼玉県秩父郡長瀞町長瀞"_s}) << "skkdic-extra's postal code dictionary";
    EXPECT_GT(directory.placesOf(u"9500000"_s).size(), 1);
    EXPECT_TRUE(directory.placesOf(u"0000000"_s).isEmpty());
    EXPECT_TRUE(directory.placesOf(u"36913"_s).isEmpty());
    EXPECT_EQ(directory.codeOfPlace(u"千葉県袖ケ浦市福王台1-1"_s), u"2990261"_s);
    EXPECT_EQ(directory.codeOfPlace(u"京都市下京区東塩小路町721-1"_s), u"6008216"_s);
    EXPECT_TRUE(directory.codeOfPlace(u"新潟県新潟市西区1-2"_s).isEmpty()) << "a whole municipality names no district";
    EXPECT_TRUE(directory.codeOfPlace(u"41 Wharf Lane"_s).isEmpty());
    const auto placesOf = [&](const QString& code) { return directory.placesOf(code); };
    const struct {
        const char16_t *address, *code, *fixedAddress, *fixedCode;
    } cases[] = {
        // Rare kanji of the municipality and district, with and without the prefecture.
        {u"埼玉県秩父郡長海町長洛1417", u"369-1305", u"埼玉県秩父郡長瀞町長瀞1417", u"369-1305"},
        {u"秩父郡長滞町長潮1417\n長瀞ビル", u"369-1305", u"秩父郡長瀞町長瀞1417\n長瀞ビル", u"369-1305"},
        {u"東京者中央区八丁堀3-12-8", u"104-0032", u"東京都中央区八丁堀3-12-8", u"104-0032"},
        // What the card prints besides the directory's place stays: a street before the district, 大字.
        {u"京都府京都市中京区烏丸通三条下る饅頭屋町595-3", u"604-8161", u"京都府京都市中京区烏丸通三条下る饅頭屋町595-3", u"604-8161"},
        {u"長野県北佐久郡軽井沢町大字軽井沢1323-1", u"389-0102", u"長野県北佐久郡軽井沢町大字軽井沢1323-1", u"389-0102"},
        // A column card's place with a kanji or two of each name misread, its first one too, or a
        // numeral of the district lost; a street the card prints in the district's stead stays.
        {u"束京都文京区本郷7-3-1", u"113-0033", u"東京都文京区本郷7-3-1", u"113-0033"},
        {u"兵庫県妬路巾南叮2-53\n南町ビル", u"670-0912", u"兵庫県姫路市南町2-53\n南町ビル", u"670-0912"},
        {u"山山県尚山巾北区駅前町8-4", u"700-0023", u"岡山県岡山市北区駅前町8-4", u"700-0023"},
        {u"札幌市中央区北条西2-1", u"060-0001", u"札幌市中央区北一条西2-1", u"060-0001"},
        {u"京都市中京区烏丸通5-28", u"604-8152", u"京都市中京区烏丸通5-28", u"604-8152"},
        // A district of another name than the code's (two kanji side by side) and the directory's
        // digit for a printed kanji numeral stay; the municipality is still put right.
        {u"愛知県豊橋市中柴町48", u"441-8022", u"愛知県豊橋市中柴町48", u"441-8022"},
        {u"埼玉県秩父郡長海町中柴1417", u"369-1305", u"埼玉県秩父郡長瀞町中柴1417", u"369-1305"},
        {u"旭川市一条通8-108\nフィール旭川6F", u"070-0031", u"旭川市一条通8-108\nフィール旭川6F", u"070-0031"},
        {u"山形県山形市香澄町3-2-1\n山交ビル7階", u"990-0039", u"山形県山形市香澄町3-2-1\n山交ビル7階", u"990-0039"},
        // A designated city's ward of a code that stands for several.
        {u"新潟県新潟市西区小新西1-5-3", u"950-0000", u"新潟県新潟市西区小新西1-5-3", u"950-0000"},
        // A code one digit off whose place the address spells; a code of another place stays.
        {u"長野県北安曇郡白馬村北城3020番地", u"339-9301", u"長野県北安曇郡白馬村北城3020番地", u"399-9301"},
        {u"宮城県仙台市青葉区一番町1-2-3", u"380-0811", u"宮城県仙台市青葉区一番町1-2-3", u"980-0811"},
        {u"東京都千代田区丸の内1-9-2", u"530-0001", u"東京都千代田区丸の内1-9-2", u"530-0001"},
        {u"札幌市東区北十二条東7丁目1番1号", u"０６５－００１２", u"札幌市東区北十二条東7丁目1番1号", u"０６５－００１２"},
        {u"41 Wharf Lane", u"CF10 5BZ", u"41 Wharf Lane", u"CF10 5BZ"},
    };
    for (const auto& c : cases) {
        const JapaneseAddressPlace place = withPostalCodePlace(QString::fromUtf16(c.address), QString::fromUtf16(c.code), placesOf);
        EXPECT_EQ(place.address, QString::fromUtf16(c.fixedAddress)) << QString::fromUtf16(c.address).toStdString();
        EXPECT_EQ(place.postalCode, QString::fromUtf16(c.fixedCode)) << QString::fromUtf16(c.address).toStdString();
    }
}

TEST(AddressLines, WebAndMailAddressesPutBackTogether)
{
    const struct {
        const char16_t *read, *shaped;
    } cases[] = {
        {u"URL https://www.yugeta-tekko. jp", u"URL https://www.yugeta-tekko.jp"},
        {u"Mail chino@yugeta-tekko. jp", u"Mail chino@yugeta-tekko.jp"},
        {u"URL: www. michinoku-mokuzai.co.jp", u"URL: www.michinoku-mokuzai.co.jp"},
        {u"WEB www juniperridge.io", u"WEB www.juniperridge.io"},
        {u"Web: www,juniperridge.com", u"Web: www.juniperridge.com"},
        {u"W https:/Avww.stonecrop.co.uk", u"W https://www.stonecrop.co.uk"},
        {u"Web: https: //www,juniperridge.com", u"Web: https://www.juniperridge.com"},
        {u"W https:/juniperridge.io", u"W https://juniperridge.io"},
        {u"Avww.sanriku-kaiyo.co.jp", u"www.sanriku-kaiyo.co.jp"},
        {u"Mail kuwamura-s @ michinoku-mokuzai.co.jp", u"Mail kuwamura-s@michinoku-mokuzai.co.jp"},
        {u"www.himawari-chozaijp", u"www.himawari-chozai.jp"},
        {u"E-mail. chino@himawari-chozaicojp", u"E-mail. chino@himawari-chozai.co.jp"},
        {u"E-mail ichimura@soku-sol.jp wwwr.soku-soljp", u"E-mail ichimura@soku-sol.jp www.soku-sol.jp"},
        {u"Web. https://www.hika ri-hoken.jp", u"Web. https://www.hikari-hoken.jp"},
        {u"Ermail:iisobe⑥mikawa-seiko.cojp", u"Ermail:iisobe@mikawa-seiko.co.jp"},
        {u"URL www.mikawa-seiko.co,jpo", u"URL www.mikawa-seiko.co.jp"},
        {u"Web:wwwr.tonegawa-sake.coJp", u"Web:www.tonegawa-sake.co.jp"},
        {u"E:uemura-a@chidori-denso.coJjjp", u"E:uemura-a@chidori-denso.co.jp"},
        {u"hyoshimura@wakasa-seiki.cOojp", u"hyoshimura@wakasa-seiki.co.jp"},
        {u"sobue@sanuki-seimenki.co.jo", u"sobue@sanuki-seimenki.co.jp"},
        {u"Mail:a.abe@hinode-foodsJjp", u"Mail:a.abe@hinode-foods.jp"},
        {u"https://wwwsakurai-chem.com", u"https://www.sakurai-chem.com"},
        {u"wwm.rheinwerk-mb.com", u"www.rheinwerk-mb.com"},
        {u"a@b.co.uk www.x.co.id", u"a@b.co.uk www.x.co.id"},
        {u"WwW www.greenhollow.co.uk", u"WwW www.greenhollow.co.uk"},
        // The last dot read as a blank or set apart from the ending.
        {u"Cw} https://www.boulangeries-moreau. fr", u"Cw} https://www.boulangeries-moreau.fr"},
        {u"® https://www.blackwater-engineering com", u"® https://www.blackwater-engineering.com"},
        {u"E delacroix@pharmacie-centrale-de-lyon fr", u"E delacroix@pharmacie-centrale-de-lyon.fr"},
        {u"https://hongda-elec.com. tw", u"https://hongda-elec.com.tw"},
        {u"E-mail: pchiu@juichang-ph.com, tw", u"E-mail: pchiu@juichang-ph.com.tw"},
        {u"hahn@sandeul.co,kr", u"hahn@sandeul.co.kr"},
        {u"E | Sangwoo@taebaek.co,kr", u"E | Sangwoo@taebaek.co.kr"},
        {u"m.1in@twprecision.tw", u"m.lin@twprecision.tw"},
        {u"yuhang-1i@zhongchen-cons.com", u"yuhang-li@zhongchen-cons.com"},
        {u"t.1985@x.com a.1b2@x.com", u"t.1985@x.com a.1b2@x.com"},
        {u"网址 https://ww.tianrun-food.cn", u"网址 https://www.tianrun-food.cn"},
        {u"http://www .kangjian-med.com.tw/", u"http://www.kangjian-med.com.tw/"},
        {u"E-mail |.yao@kamshing.tw", u"E-mail l.yao@kamshing.tw"},
        {u"E | brandao s@papelaria-lis.com", u"E | brandao s@papelaria-lis.com"},
        {u"www.kaitak-tech. tw/", u"www.kaitak-tech.tw/"},
        {u"http:// ‘www.meridian-health-partners: .co.uk/", u"http://www.meridian-health-partners.co.uk/"},
        {u"Web: x-bau.de; Tel: 030 1234", u"Web: x-bau.de; Tel: 030 1234"},
        // "@" read as a capital Q or O, a hyphen set apart from its host, a small l read as I.
        {u"thiago.costaQclinica-sao-joao.com.br", u"thiago.costa@clinica-sao-joao.com.br"},
        {u"E f ferreiracostaO logistica-guanabara.com.br", u"E f ferreiracosta@logistica-guanabara.com.br"},
        {u"glopes(Qconsultoria-ipe.com.br", u"glopes@consultoria-ipe.com.br"},
        {u"fschmitz@hanse- steuerberatung.de", u"fschmitz@hanse-steuerberatung.de"},
        {u"mmagalhaes @logistica- -guanabara.com.br", u"mmagalhaes@logistica-guanabara.com.br"},
        {u"@ Ibennett@wattle-gum-design.us", u"@ lbennett@wattle-gum-design.us"},
        {u"faure_I@cabinet-durand.com", u"faure_l@cabinet-durand.com"},
        {u"John.Ivanov@example.com", u"John.Ivanov@example.com"},
        {u"0) IvaughanOcobalt-bay.com", u"0) lvaughan@cobalt-bay.com"},
        // A "www" label before an address with its own scheme or "www.".
        {u"www.https://www.briar-patch.com", u"https://www.briar-patch.com"},
        {u"www https://union-square.us", u"https://union-square.us"},
        {u"www.studioQlisboa.pt", u"www.studioQlisboa.pt"},
        {u"Ian.Smith@Harbour.co.uk", u"Ian.Smith@Harbour.co.uk"},
        // A capital I in a host of small letters is a small l; a host in capitals keeps it.
        {u"kerouac_g@transports-de-I-ouest.fr", u"kerouac_g@transports-de-l-ouest.fr"},
        {u"https://www.vaI-d-isere.fr", u"https://www.val-d-isere.fr"},
        {u"info@IBM-IT.COM", u"info@IBM-IT.COM"},
        // A hyphenated host without "www" or scheme whose last dot was set apart at the line's end.
        {u"Web _ transports-de-l-ouest. fr", u"Web _ transports-de-l-ouest.fr"},
        {u"Vente à Saint-Malo. Fr", u"Vente à Saint-Malo. Fr"},
        // A word after a whole address is no ending of it.
        {u"www.stonecrop.co.uk or", u"www.stonecrop.co.uk or"},
        {u"Web www.agence.fr et www.agence.com", u"Web www.agence.fr et www.agence.com"},
        {u"sa7S@Ccemne com", u"sa7S@Ccemne com"},
        // A Romance "de" after an abbreviation's dot is a word, no host's ending.
        {u"Avda. de la Constitución, 16, 2º", u"Avda. de la Constitución, 16, 2º"},
        {u"Dpto. de Ventas", u"Dpto. de Ventas"},
        {u"mail@druckerei-auerbach. de", u"mail@druckerei-auerbach.de"},
        // Addresses already whole, and other lines, stay as they are.
        {u"https://www.telecom-x.jp", u"https://www.telecom-x.jp"},
        {u"info@jcom.ne.jp www.ajp.example.com", u"info@jcom.ne.jp www.ajp.example.com"},
        {u"Sanriku Kaiyo Kaihatsu Co., Ltd.", u"Sanriku Kaiyo Kaihatsu Co., Ltd."},
        {u"東京都中央区八丁堀3-12-8", u"東京都中央区八丁堀3-12-8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withWebAddressShape(QString::fromUtf16(c.read)).toStdString(), QString::fromUtf16(c.shaped).toStdString());
}

TEST(AddressLines, WebAddressAgreesWithTheMailDomain)
{
    const struct {
        const char16_t *url, *email, *fixed;
    } cases[] = {
        {u"https://www.hika", u"m.omura@hikari-hoken.jp", u"https://www.hikari-hoken.jp"},
        {u"www.mikawa-seiko.co.jpo", u"a@mikawa-seiko.co.jp", u"www.mikawa-seiko.co.jp"},
        {u"https://hoken.jp/", u"a@hikari-hoken.jp", u"https://hikari-hoken.jp/"},
        {u"le.co.uk", u"mcallister@quarryvale.co.uk", u"quarryvale.co.uk"},
        {u"www.company.com", u"a@mail.company.com", u"www.company.com"},
        {u"https://maruyama-law.co,p,", u"a@maruyama-law.co.jp", u"https://maruyama-law.co.jp"},
        // A web address of a whole host of its own stays, also one letter off the mail domain.
        {u"www.hikari-hoken.com", u"a@hikari-hoken.co.jp", u"www.hikari-hoken.com"},
        {u"www.ginrei-oharma.co.jp", u"a@ginrei-pharma.co.jp", u"www.ginrei-oharma.co.jp"},
        {u"www.example.jp", u"no mail", u"www.example.jp"},
        // A character no host has makes a whole-looking host misread.
        {u"http://www.luneburger-heide+eisen.eu/", u"c.kessler@luneburger-heide-reisen.eu", u"http://www.luneburger-heide-reisen.eu/"},
        {u"www.heide+reisen.eu", u"a@nord-kontor.de", u"www.heide+reisen.eu"},
        // "www." read as other w's run into the host; a host of its own that starts so stays.
        {u"wwofficine-meccaniche-lario.com", u"valentina@officine-meccaniche-lario.com", u"www.officine-meccaniche-lario.com"},
        {u"vwwofficine-lario.com/it", u"a@officine-lario.com", u"www.officine-lario.com/it"},
        {u"www.wvinhos-douro.pt", u"a@wvinhos-douro.pt", u"www.wvinhos-douro.pt"},
        {u"wolkenbau.de", u"a@olkenbau.de", u"wolkenbau.de"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(webAddressByMailDomain(QString::fromUtf16(c.url), QString::fromUtf16(c.email)).toStdString(),
                  QString::fromUtf16(c.fixed).toStdString());
}

} // namespace
