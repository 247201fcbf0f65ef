#include "outside/ocr/CardFields.h"

#include "outside/ocr/AccentedNames.h"
#include "outside/ocr/CardLanguage.h"
#include "outside/ocr/JapanesePersonWords.h"
#include "outside/ocr/JobTitleWords.h"
#include "outside/ocr/LatinNameShape.h"
#include "outside/ocr/NameReading.h"
#include "outside/ocr/RecognitionRequest.h"
#include "outside/ocr/ScriptCardFields.h"
#include "outside/ocr/TitleLines.h"
#include "platform/events/OcrProtocol.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

std::vector<RecognizedLine> linesOf(std::initializer_list<std::pair<const char16_t*, int>> texts)
{
    std::vector<RecognizedLine> lines;
    int top = 10;
    for (const auto& [text, height] : texts) {
        lines.push_back({QString::fromUtf16(text), 20, top, 600, top + height - 1});
        top += height + 10;
    }
    return lines;
}

TEST(CardFields, EnglishCard)
{
    const ResultSlots f = classifyCardLines(linesOf({{u"Acme Widgets Inc.", 40},
                                                     {u"Anna Lopez", 64},
                                                     {u"Senior Engineer", 30},
                                                     {u"Sales Department", 30},
                                                     {u"1 Main Street", 30},
                                                     {u"Springfield, IL 62701", 30},
                                                     {u"Tel: +1 217 555 0134  Fax: +1 217 555 0135", 30},
                                                     {u"Mobile +1 217 555 0199", 30},
                                                     {u"E-mail: anna.lopez@acme-widgets.com", 30},
                                                     {u"www.acme-widgets.com", 30},
                                                     {u"Thank you", 30}}));
    EXPECT_EQ(f[35].text, u"Acme Widgets Inc."_qs);
    EXPECT_EQ(f[0].text, u"Anna Lopez"_qs);
    EXPECT_EQ(f[0].top, 60);
    EXPECT_EQ(f[10].text, u"Senior Engineer"_qs);
    EXPECT_EQ(f[37].text, u"Sales Department"_qs);
    EXPECT_EQ(f[21].text, u"1 Main Street\nSpringfield, IL 62701"_qs);
    EXPECT_EQ(f[13].text, u"+1 217 555 0134"_qs);
    EXPECT_EQ(f[16].text, u"+1 217 555 0135"_qs);
    EXPECT_EQ(f[31].text, u"+1 217 555 0199"_qs);
    EXPECT_EQ(f[23].text, u"anna.lopez@acme-widgets.com"_qs);
    EXPECT_EQ(f[27].text, u"www.acme-widgets.com"_qs);
    EXPECT_FALSE(f[22].filled); // the replacement address stays empty
}

TEST(CardFields, JapaneseCard)
{
    const ResultSlots f = classifyCardLines(linesOf({{u"株式会社山田商事", 44},
                                                     {u"営業部", 34},
                                                     {u"部長", 34},
                                                     {u"山田太郎", 72},
                                                     {u"〒100-0005 東京都千代田区丸の内1-1-1", 34},
                                                     {u"TEL 03-1234-5678 FAX 03-1234-5679", 34},
                                                     {u"携帯 090-1234-5678", 34},
                                                     {u"taro. yamada@yamada-shoji.co. jp", 34}}));
    EXPECT_EQ(f[35].text, u"株式会社山田商事"_qs);
    EXPECT_EQ(f[37].text, u"営業部"_qs);
    EXPECT_EQ(f[10].text, u"部長"_qs);
    EXPECT_EQ(f[0].text, u"山田太郎"_qs);
    EXPECT_EQ(f[19].text, u"100-0005"_qs);
    EXPECT_EQ(f[21].text, u"東京都千代田区丸の内1-1-1"_qs);
    EXPECT_EQ(f[13].text, u"03-1234-5678"_qs);
    EXPECT_EQ(f[16].text, u"03-1234-5679"_qs);
    EXPECT_EQ(f[31].text, u"090-1234-5678"_qs);
    EXPECT_EQ(f[23].text, u"taro.yamada@yamada-shoji.co.jp"_qs);
}

// One line of a card and the slot it must fill.
struct LineCase {
    const char16_t* line;
    int slot;
    const char16_t* expected;
};

TEST(CardFields, NumberLabelsInTheirManyForms)
{
    const LineCase cases[] = {
        {u"T +44 20 7946 0123", 13, u"+44 20 7946 0123"},
        {u"t. 030 1234567", 13, u"030 1234567"},
        {u"P: (415) 555-0134", 13, u"(415) 555-0134"},
        {u"Direct +1 212 555 0100", 13, u"+1 212 555 0100"},
        {u"DD 0161 496 0000", 13, u"0161 496 0000"},
        {u"Office: 0117 496 0123", 13, u"0117 496 0123"},
        {u"Telefon +49 89 123456-0", 13, u"+49 89 123456-0"},
        {u"電話：03-1234-5678", 13, u"03-1234-5678"},
        {u"TEL:十81 17 596 6956", 13, u"+81 17 596 6956"},
        {u"Mob. 07700 900123", 31, u"07700 900123"},
        {u"Cell 415 555 0199", 31, u"415 555 0199"},
        {u"M 0171 1234567", 31, u"0171 1234567"},
        {u"携帯 090-1234-5678", 31, u"090-1234-5678"},
        {u"Telefax +49 89 123456-99", 16, u"+49 89 123456-99"},
        {u"FAX：06-1234-5679", 16, u"06-1234-5679"},
        {u"f 020 7946 0124", 16, u"020 7946 0124"},
        // A zero read as the letter O.
        {u"Tél. +33 4 76 96 O1 28", 13, u"+33 4 76 96 01 28"},
        {u"c. +1 312 555 O161", 31, u"+1 312 555 0161"},
        // A group's zeros and fives read as the letters o and s; a word after a number stays one.
        {u"M +39 349 864 oso1", 31, u"+39 349 864 0501"},
        {u"T 0113 496 S0o2", 13, u"0113 496 5002"},
        {u"Tel. 0113 496 0102 Leeds", 13, u"0113 496 0102"},
        // The label's stop read as a digit glued to the plus.
        {u"T1+33 2 55 90 90 55", 13, u"+33 2 55 90 90 55"},
        // German
        {u"Durchwahl +49 89 1234-567", 13, u"+49 89 1234-567"},
        {u"Tel.-Nr.: 089 123456-0", 13, u"089 123456-0"},
        {u"Handy 0171 1234567", 31, u"0171 1234567"},
        {u"Mobil: +49 171 1234567", 31, u"+49 171 1234567"},
        {u"Fax-Nr. 089 123456-99", 16, u"089 123456-99"},
        // French, with and without the accents the models keep
        {u"Tél. 01 23 45 67 89", 13, u"01 23 45 67 89"},
        {u"Tel. 01 23 45 67 89", 13, u"01 23 45 67 89"},
        {u"Ligne directe : 01 23 45 67 80", 13, u"01 23 45 67 80"},
        {u"Standard 01 23 45 67 00", 13, u"01 23 45 67 00"},
        {u"Portable 06 12 34 56 78", 31, u"06 12 34 56 78"},
        {u"Port. +33 6 12 34 56 78", 31, u"+33 6 12 34 56 78"},
        {u"Télécopie 01 23 45 67 90", 16, u"01 23 45 67 90"},
        // Italian
        {u"Telefono 02 1234 5678", 13, u"02 1234 5678"},
        {u"Cellulare 347 123 4567", 31, u"347 123 4567"},
        {u"Cell. +39 347 123 4567", 31, u"+39 347 123 4567"},
        // Spanish
        {u"Tfno. 912 345 678", 13, u"912 345 678"},
        {u"Teléfono: +34 912 345 678", 13, u"+34 912 345 678"},
        {u"Móvil 612 345 678", 31, u"612 345 678"},
        // A plus read as a four before a country code; the bracket closing a trunk zero read as a one.
        {u"Tel. 4351 253 410 772", 13, u"+351 253 410 772"},
        {u"电话 486-21-82501572", 13, u"+86-21-82501572"},
        {u"M +33 (017 32 38 66 45", 31, u"+33 (0)7 32 38 66 45"},
        {u"Tel. 415 555 0166", 13, u"415 555 0166"},
        {u"Movil: 612 345 678", 31, u"612 345 678"},
        {u"c. 612 345 678", 31, u"612 345 678"},
        {u"c: 612 345 678", 31, u"612 345 678"},
        {u"Teléfono móvil: 612 345 678", 31, u"612 345 678"},
        // Portuguese
        {u"Telefone +351 213 456 789", 13, u"+351 213 456 789"},
        {u"Telemóvel 912 345 678", 31, u"912 345 678"},
        {u"Tlm. 912 345 678", 31, u"912 345 678"},             {u"Telemével (11) 93239-7070", 31, u"(11) 93239-7070"},
        {u"Celular (11) 91234-5678", 31, u"(11) 91234-5678"},
        {u"Telm. 912 345 678", 31, u"912 345 678"},              {u"WhatsApp +55 11 91234-5678", 31, u"+55 11 91234-5678"},
        // Russian
        {u"Тел.: +7 495 123-45-67", 13, u"+7 495 123-45-67"},
        {u"Моб.: +7 916 123-45-67", 31, u"+7 916 123-45-67"},
        {u"Факс +7 495 123-45-68", 16, u"+7 495 123-45-68"},
        // Japanese, Chinese and Korean
        {u"携帯電話：090-1234-5678", 31, u"090-1234-5678"},
        {u"直通 03-1234-5670", 13, u"03-1234-5670"},
        {u"ＴＥＬ 03-1234-5678", 13, u"03-1234-5678"},
        {u"ファックス 03-1234-5679", 16, u"03-1234-5679"},
        {u"电话：010-1234 5678", 13, u"010-1234 5678"},
        {u"手机：138 0013 8000", 31, u"138 0013 8000"},
        {u"传真：010-1234 5679", 16, u"010-1234 5679"},
        {u"電話 02-2345-6788", 13, u"02-2345-6788"},
        {u"手機 0912-345-678", 31, u"0912-345-678"},
        {u"傳真 02-2345-6789", 16, u"02-2345-6789"},
        {u"전화 02-1234-5678", 13, u"02-1234-5678"},
        {u"휴대폰 010-1234-5678", 31, u"010-1234-5678"},
        {u"핸드폰 010-1234-5678", 31, u"010-1234-5678"},
        {u"팩스 02-1234-5679", 16, u"02-1234-5679"},
        {u"H.P. 010-1234-5678", 31, u"010-1234-5678"},
        // Icons with a character of their own, and a letter in a circle
        {u"☎ 0161 496 0000", 13, u"0161 496 0000"},
        {u"📱 07700 900123", 31, u"07700 900123"},
        {u"Ⓜ 07700 900123", 31, u"07700 900123"},
        {u"(F) 0161 496 0001", 16, u"0161 496 0001"},
        {u"Mobile phone +44 7700 900123", 31, u"+44 7700 900123"},
    };
    for (const LineCase& c : cases) {
        const ResultSlots f = classifyCardLines(linesOf({{c.line, 30}}));
        EXPECT_EQ(f[size_t(c.slot)].text, QString::fromUtf16(c.expected)) << QString::fromUtf16(c.line).toStdString();
    }

    const ResultSlots two = classifyCardLines(linesOf({{u"T +44 20 7946 0123 | F +44 20 7946 0124", 30}}));
    EXPECT_EQ(two[13].text, u"+44 20 7946 0123"_qs);
    EXPECT_EQ(two[16].text, u"+44 20 7946 0124"_qs);
    const ResultSlots both = classifyCardLines(linesOf({{u"Tel./Fax 089 123456", 30}}));
    EXPECT_EQ(both[13].text, u"089 123456"_qs);
    EXPECT_EQ(both[16].text, u"089 123456"_qs);
    // A word that begins with a label letter is not a label, and a short number is no telephone.
    const ResultSlots words = classifyCardLines(linesOf({{u"Parkstraße 12", 30}, {u"Mike Doe", 60}}));
    EXPECT_FALSE(words[13].filled);
    EXPECT_FALSE(words[31].filled);
}

TEST(CardFields, PostalCodesAndAddresses)
{
    const struct {
        std::initializer_list<std::pair<const char16_t*, int>> lines;
        const char16_t* postal;
        const char16_t* address;
    } cases[] = {
        {{{u"41 Wharf Lane", 30}, {u"Cardiff CF10 5BZ", 30}, {u"United Kingdom", 30}},
         u"CF10 5BZ",
         u"41 Wharf Lane\nCardiff CF10 5BZ\nUnited Kingdom"},
        {{{u"500 Market Street, Suite 400", 30}, {u"San Francisco, CA 94105", 30}},
         u"94105",
         u"500 Market Street, Suite 400\nSan Francisco, CA 94105"},
        {{{u"Leopoldstraße 23", 30}, {u"80802 München", 30}}, u"80802", u"Leopoldstraße 23\n80802 München"},
        {{{u"〒650-0021 神戸市中央区三宮町1-5-6", 30}, {u"三宮ビル2F", 30}}, u"650-0021", u"神戸市中央区三宮町1-5-6\n三宮ビル2F"},
        {{{u"104-0061", 30}, {u"東京都中央区銀座4-2-1", 30}}, u"104-0061", u"東京都中央区銀座4-2-1"},
        // Addresses of more countries, with a floor or a post box and the country line
        {{{u"Level 12, 1 Martin Place", 30}, {u"Sydney NSW 2000", 30}, {u"Australia", 30}},
         u"2000",
         u"Level 12, 1 Martin Place\nSydney NSW 2000\nAustralia"},
        {{{u"12, rue de la Paix", 30}, {u"75002 Paris", 30}, {u"France", 30}}, u"75002", u"12, rue de la Paix\n75002 Paris\nFrance"},
        {{{u"25 quai des Célestins", 30}, {u"4e étage", 30}, {u"69002 LYON", 30}},
         u"69002",
         u"25 quai des Célestins\n4e étage\n69002 LYON"},
        {{{u"C/ Mayor, 12, 3° B", 30}, {u"28013 Madrid", 30}, {u"España", 30}}, u"28013", u"C/ Mayor, 12, 3º B\n28013 Madrid\nEspaña"},
        {{{u"Via Roma 12", 30}, {u"20121 Milano MI", 30}}, u"20121", u"Via Roma 12\n20121 Milano MI"},
        {{{u"Rua Augusta, 125", 30}, {u"1100-048 Lisboa", 30}}, u"1100-048", u"Rua Augusta, 125\n1100-048 Lisboa"},
        // A Brazilian address: the district and the town with its state on lines of their own, the
        // street's name over two lines; a dash between blanks read as a hyphen is an en dash.
        {{{u"Av. Paulista, 1000", 30}, {u"01310-100 São Paulo - SP", 30}, {u"Brasil", 30}},
         u"01310-100",
         u"Av. Paulista, 1000\n01310-100 São Paulo – SP\nBrasil"},
        {{{u"9 Avenida Brigadeiro", 30}, {u"Faria Lima, 47, conj. 20", 30}, {u"Centro Histórico", 30}, {u"Porto Alegre/RS", 30}, {u"90010-150", 30}},
         u"90010-150",
         u"Avenida Brigadeiro\nFaria Lima, 47, conj. 20\nCentro Histórico\nPorto Alegre/RS\n90010-150"},
        {{{u"Rua da Bahia, 146, sala 1545", 30}, {u"Centro Histórico", 30}, {u"90010-150 Porto Alegre-RS", 30}},
         u"90010-150",
         u"Rua da Bahia, 146, sala 1545\nCentro Histórico\n90010-150 Porto Alegre – RS"},
        {{{u"C9] Avenida Rio Branco, 66 —7º andar", 30}, {u"20040-002 Rio de Janeiro", 30}},
         u"20040-002",
         u"Avenida Rio Branco, 66 – 7º andar\n20040-002 Rio de Janeiro"},
        {{{u"12 rue de la Paix, 75002 Paris, France", 30}}, u"75002", u"12 rue de la Paix, 75002 Paris, France"},
        {{{u"PO Box 1234", 30}, {u"Sydney NSW 2001", 30}}, u"2001", u"PO Box 1234\nSydney NSW 2001"},
        {{{u"Postfach 10 11 12", 30}, {u"80333 München", 30}}, u"80333", u"Postfach 10 11 12\n80333 München"},
        // A US street with a compass point after its number is no Dutch postcode; a Dutch one is.
        {{{u"1147 SW Morrison Street, Ste 439", 30}, {u"Portland, OR 97205", 30}},
         u"97205",
         u"1147 SW Morrison Street, Ste 439\nPortland, OR 97205"},
        {{{u"Keizersgracht 123", 30}, {u"1015 CJ Amsterdam", 30}}, u"1015 CJ", u"Keizersgracht 123\n1015 CJ Amsterdam"},
        {{{u"Calle de Alcalá, 45", 30}, {u"Planta 3", 30}, {u"28014 Madrid", 30}},
         u"28014",
         u"Calle de Alcalá, 45\nPlanta 3\n28014 Madrid"},
        {{{u"Plaza de España, 99, planta 6", 30}, {u"15003 A Coruña", 30}}, u"15003", u"Plaza de España, 99, planta 6\n15003 A Coruña"},
        {{{u"Rambla de Catalunya, 32, 6º, 08007 Barcelona", 30}}, u"08007", u"Rambla de Catalunya, 32, 6º, 08007 Barcelona"},
        // A street line without its number over the town line; an address read into one line
        // with the e-mail address after it.
        {{{u"Corso Buenos Aires", 30}, {u"60, 70122 Bari BA", 30}}, u"70122", u"Corso Buenos Aires\n60, 70122 Bari BA"},
        {{{u"Rambla de Catalunya,", 30}, {u"32, 6º, 08007 Barcelona", 30}}, u"08007", u"Rambla de Catalunya,\n32, 6º, 08007 Barcelona"},
        {{{u"Via del Corso, 52, 40121 Bologna BO  martina@padana.it", 30}}, u"40121", u"Via del Corso, 52, 40121 Bologna BO"},
        // The town on a line of its own between the street and the postcode, the postcode's blank lost.
        {{{u"89 West George Street", 30}, {u"Birmingham", 30}, {u"B3 2BJ", 30}}, u"B3 2BJ", u"89 West George Street\nBirmingham\nB3 2BJ"},
        {{{u"125 West George Street", 30}, {u"Reading", 30}, {u"RG1IAZ", 30}}, u"RG1 1AZ", u"125 West George Street\nReading\nRG1 1AZ"},
        {{{u"91 Milsom Street", 30}, {u"Bristol BS: 4DJ", 30}}, u"BS1 4DJ", u"91 Milsom Street\nBristol BS1 4DJ"},
        {{{u"Apex House, Suite 4", 30}, {u"233 Deansgate", 30}, {u"Reading RG1 1AZ", 30}}, u"RG1 1AZ", u"Apex House, Suite 4\n233 Deansgate\nReading RG1 1AZ"},
        {{{u"Prinzipalmarkt", 30}, {u"82, 80331 München", 30}}, u"80331", u"Prinzipalmarkt\n82, 80331 München"},
        // A pin drawn before the address and read as a character is none of it, nor an icon or a
        // speck after it.
        {{{u"[9] Georgstraße 33, 70173 Stuttgart ©", 30}}, u"70173", u"Georgstraße 33, 70173 Stuttgart"},
        {{{u"9% Via Roma, 90", 30}, {u"00187 Roma", 30}}, u"00187", u"Via Roma, 90\n00187 Roma"},
        {{{u"9 Suite 708", 30}, {u"129 King Street", 30}, {u"Glasgow G2 1QX", 30}}, u"G2 1QX", u"Suite 708\n129 King Street\nGlasgow G2 1QX"},
        {{{u"Rua Ferreira Borges, 157, 3.º o", 30}, {u"3000-150 Coimbra ®t", 30}}, u"3000-150", u"Rua Ferreira Borges, 157, 3.º\n3000-150 Coimbra"},
        {{{u"Hauptstraße 12 b", 30}, {u"80331 München", 30}}, u"80331", u"Hauptstraße 12 b\n80331 München"},
        {{{u"0 PontstraBe 90", 30}, {u"07743 Jena", 30}}, u"07743", u"Pontstraße 90\n07743 Jena"},
        {{{u"9 Kaiser-Joseph-Straße 144", 30}, {u"48143 Münster", 30}}, u"48143", u"Kaiser-Joseph-Straße 144\n48143 Münster"},
        {{{u"9 Brandenburger Straße 21", 30}, {u"30159 Hannover", 30}}, u"30159", u"Brandenburger Straße 21\n30159 Hannover"},
        {{{u"9 Estr. do Coco, km, 168 – 19º", 30}, {u"andar, Londrina/PR, 86010-190", 30}},
         u"86010-190",
         u"Estr. do Coco, km, 168 – 19º\nandar, Londrina/PR, 86010-190"},
        {{{u"2 17th Street, Floor 2", 30}, {u"Nashville, TN 37203", 30}}, u"37203", u"2 17th Street, Floor 2\nNashville, TN 37203"},
        {{{u"9 696 Congress Avenue, Ste 616", 30}, {u"Denver, CO 80202", 30}}, u"80202", u"696 Congress Avenue, Ste 616\nDenver, CO 80202"},
        {{{u"q Prinzipalmarkt 109", 30}, {u"79098 Freiburg im Breisgau", 30}}, u"79098", u"Prinzipalmarkt 109\n79098 Freiburg im Breisgau"},
        {{{u"0 Königstraße 20", 30}, {u"60313 Frankfurt am Main", 30}}, u"60313", u"Königstraße 20\n60313 Frankfurt am Main"},
        {{{u"9 Main Street", 30}, {u"Springfield, IL 62701", 30}}, u"62701", u"9 Main Street\nSpringfield, IL 62701"},
        // Lines above the one the address is found by: a street's name over the rest of it with its
        // number, a district, the town with its state over "CEP …".
        {{{u"Avenida Conde da Boa", 30}, {u"Vista, 158 – 3º andar", 30}, {u"Aldeota", 30}, {u"60160-230 Fortaleza – CE", 30}},
         u"60160-230",
         u"Avenida Conde da Boa\nVista, 158 – 3º andar\nAldeota\n60160-230 Fortaleza – CE"},
        {{{u"O Travessa Mário", 30}, {u"Portela, 59, conj. 121", 30}, {u"Recife – PE", 30}, {u"CEP 50030-230", 30}},
         u"50030-230",
         u"Travessa Mário\nPortela, 59, conj. 121\nRecife – PE\nCEP 50030-230"},
        {{{u"Gran Vía de Don Diego", 30}, {u"López de Haro, 58, planta 8", 30}, {u"18009 Granada", 30}},
         u"18009",
         u"Gran Vía de Don Diego\nLópez de Haro, 58, planta 8\n18009 Granada"},
        {{{u"Paseo de Almería,", 30}, {u"156, planta 1", 30}, {u"45001 Toledo", 30}}, u"45001", u"Paseo de Almería,\n156, planta 1\n45001 Toledo"},
        // A postcode at a line's end whose town went on the line under it.
        {{{u"Am Wöhrder See 171, 79098", 30}, {u"Freiburg im Breisgau", 30}}, u"79098", u"Am Wöhrder See 171, 79098\nFreiburg im Breisgau"},
        {{{u"Calçada do Combro, 176, 2.º Esq., 3000-150", 30}, {u"Coimbra", 30}},
         u"3000-150",
         u"Calçada do Combro, 176, 2.º Esq., 3000-150\nCoimbra"},
        // A street the street words do not name, over a district or a post box; street words abbreviated.
        {{{u"Conjunto Nacional, 2073", 30}, {u"Bela Vista", 30}, {u"São Paulo/SP", 30}, {u"CEP 01311-300", 30}},
         u"01311-300",
         u"Conjunto Nacional, 2073\nBela Vista\nSão Paulo/SP\nCEP 01311-300"},
        {{{u"8 Cité Paradis", 30}, {u"CS 30012", 30}, {u"75010 Paris Cedex 10", 30}}, u"75010", u"8 Cité Paradis\nCS 30012\n75010 Paris Cedex 10"},
        {{{u"153 rue de Verdun, CS 40258, 87000 Limoges", 30}}, u"87000", u"153 rue de Verdun, CS 40258, 87000 Limoges"},
        {{{u"R. Ernesto de Paula Santos, 1368", 30}, {u"Boa Viagem", 30}, {u"Recife – PE", 30}, {u"51021-330", 30}},
         u"51021-330",
         u"R. Ernesto de Paula Santos, 1368\nBoa Viagem\nRecife – PE\n51021-330"},
        // Blanks the engine lost, specks after the town, a pin read as two capitals.
        {{{u"Rua XV de Novembro, 95, sala1383", 30}, {u"Boa Vista", 30}, {u"Recife/PE", 30}, {u"50030-230", 30}},
         u"50030-230",
         u"Rua XV de Novembro, 95, sala 1383\nBoa Vista\nRecife/PE\n50030-230"},
        {{{u"Rua Sergipe, 75, sala 1 158", 30}, {u"Gonzaga", 30}, {u"Santos – SP", 30}, {u"CEP 11060-001", 30}},
         u"11060-001",
         u"Rua Sergipe, 75, sala 1158\nGonzaga\nSantos – SP\nCEP 11060-001"},
        {{{u"Praça da República, 151,3.º", 30}, {u"4810-225 Guimarães Ot", 30}}, u"4810-225", u"Praça da República, 151, 3.º\n4810-225 Guimarães"},
        {{{u"Via del Corso, 52, 40121 Bologna BO E", 30}}, u"40121", u"Via del Corso, 52, 40121 Bologna BO"},
        {{{u"Avenida Sete de Setembro, 95 – 23º", 30}, {u"andar, Florianópolis – SC, CEP 88010-400 Email. gusmao@ceramica.com.br", 30}},
         u"88010-400",
         u"Avenida Sete de Setembro, 95 – 23º\nandar, Florianópolis – SC, CEP 88010-400"},
        {{{u"QO Travessa Mário Portela, 22, conj. 96,", 30}, {u"Centro, Curitiba/PR, 80020-310, Brazil", 30}},
         u"80020-310",
         u"Travessa Mário Portela, 22, conj. 96,\nCentro, Curitiba/PR, 80020-310, Brazil"},
        {{{u"Bâtiment B", 30}, {u"12 rue des Lilas", 30}, {u"20121 Milano MI", 30}}, u"20121", u"Bâtiment B\n12 rue des Lilas\n20121 Milano MI"},
        {{{u"12 rue des Artisans", 30}, {u"ZI des Vignes", 30}, {u"BP 42", 30}, {u"33700 Mérignac Cedex", 30}},
         u"33700",
         u"12 rue des Artisans\nZI des Vignes\nBP 42\n33700 Mérignac Cedex"},
        // The ordinal sign of a floor read as "2", "?", "%" or "2" after a dot.
        {{{u"Avenida Diagonal, 161, 12", 30}, {u"31001 Pamplona", 30}}, u"31001", u"Avenida Diagonal, 161, 1º\n31001 Pamplona"},
        {{{u"79 boulevard de la Liberté", 30}, {u"Te étage", 30}, {u"86000 POITIERS", 30}}, u"86000", u"79 boulevard de la Liberté\n7e étage\n86000 POITIERS"},
        {{{u"Calle Larios, 107, 1? C", 30}, {u"28046 Madrid", 30}}, u"28046", u"Calle Larios, 107, 1º C\n28046 Madrid"},
        {{{u"Rua Heliodoro Salgado, 13, 3.º Esa.", 30}, {u"3000-150 Coimbra", 30}}, u"3000-150", u"Rua Heliodoro Salgado, 13, 3.º Esq.\n3000-150 Coimbra"},
        {{{u"19) Paseo de Almería, 156, 22D", 30}, {u"07001 Palma", 30}}, u"07001", u"Paseo de Almería, 156, 2º D\n07001 Palma"},
        {{{u"Plaza del Pilar, 152,", 30}, {u"42, 14008 Córdoba, Spain", 30}}, u"14008", u"Plaza del Pilar, 152,\n4º, 14008 Córdoba, Spain"},
        {{{u"Rambla de Catalunya, 32, 6%, 08007 Barcelona", 30}}, u"08007", u"Rambla de Catalunya, 32, 6º, 08007 Barcelona"},
        {{{u"Avenida Lourenço Peixinho, 9, 5.2 Dto.", 30}, {u"3810-064 Aveiro", 30}},
         u"3810-064",
         u"Avenida Lourenço Peixinho, 9, 5.º Dto.\n3810-064 Aveiro"},
        {{{u"Via del Corso, 52, 40121 Bologna BO", 30}}, u"40121", u"Via del Corso, 52, 40121 Bologna BO"},
        // A UK postcode's S read as "$"; a street without a street word over the town; a town's name
        // that ran onto the next line; a Roman numeral's strokes read as l; an icon after a line.
        {{{u"8th Floor", 30}, {u"193 Union Terrace", 30}, {u"Southampton", 30}, {u"$014 2AQ", 30}},
         u"SO14 2AQ",
         u"8th Floor\n193 Union Terrace\nSouthampton\nSO14 2AQ"},
        {{{u"14 Micklegate", 30}, {u"Milton Keynes", 30}, {u"MK9 2FR", 30}}, u"MK9 2FR", u"14 Micklegate\nMilton Keynes\nMK9 2FR"},
        {{{u"11rue Édouard Herriot", 30}, {u"67000 STRASBOURG", 30}}, u"67000", u"11 rue Édouard Herriot\n67000 STRASBOURG"},
        {{{u"76N Michigan Avenue, Suite 706", 30}, {u"Austin, TX 78701", 30}}, u"78701", u"76 N Michigan Avenue, Suite 706\nAustin, TX 78701"},
        {{{u"221B Baker Street", 30}, {u"London NW1 6XE", 30}}, u"NW1 6XE", u"221B Baker Street\nLondon NW1 6XE"},
        {{{u"1st Floor, 12bis rue Thiers", 30}, {u"2e étage", 30}, {u"76600 Le Havre", 30}},
         u"76600",
         u"1st Floor, 12bis rue Thiers\n2e étage\n76600 Le Havre"},
        {{{u"Glorieta de Bilbao, 64, planta 5", 30}, {u"35001 Las Palmas", 30}, {u"de Gran Canaria", 30}},
         u"35001",
         u"Glorieta de Bilbao, 64, planta 5\n35001 Las Palmas de Gran Canaria"},
        {{{u"Große Bleiche 17", 30}, {u"63065 Offenbach", 30}, {u"am Main", 30}}, u"63065", u"Große Bleiche 17\n63065 Offenbach am Main"},
        {{{u"Avenida Dom João Il, 46, 3.º Esq.", 30}, {u"4800-045 Guimarães", 30}},
         u"4800-045",
         u"Avenida Dom João II, 46, 3.º Esq.\n4800-045 Guimarães"},
        {{{u"Via Il Prato, 12", 30}, {u"50123 Firenze", 30}}, u"50123", u"Via Il Prato, 12\n50123 Firenze"},
        {{{u"Avenida Paulista, 121, sala 1149, Bela (6)", 30}, {u"Vista, São Paulo/SP, CEP 01310-100, Brasil", 30}},
         u"01310-100",
         u"Avenida Paulista, 121, sala 1149, Bela\nVista, São Paulo/SP, CEP 01310-100, Brasil"},
        // The ordinal sign before "andar" read as "2", the round icon before the e-mail as "O".
        {{{u"Avenida Tancredo Neves, 85 — 82 O gusmao@ceramica.com.br", 30}, {u"andar, 88010-400 Florianópolis - SC", 30}},
         u"88010-400",
         u"Avenida Tancredo Neves, 85 – 8º\nandar, 88010-400 Florianópolis – SC"},
        // A Brazilian district whose word names departments too, over the town with its state read in
        // small letters or after the e-mail's row; a CEP read with a blank inside.
        {{{u"Avenida Afonso Pena, 4 – 10º andar", 30}, {u"Jardim Sumaré", 30}, {u"Ribeirão Preto - sp", 30}, {u"14025-000", 30}, {u"Brasil", 30}},
         u"14025-000",
         u"Avenida Afonso Pena, 4 – 10º andar\nJardim Sumaré\nRibeirão Preto – SP\n14025-000\nBrasil"},
        {{{u"9 Avenida Senador Virgílio", 30}, {u"Távora, 94, conj. 179", 30}, {u"Setor Oeste", 30}, {u"Goiânia - GO", 30}, {u"CEP 74120-010", 30}},
         u"74120-010",
         u"Avenida Senador Virgílio\nTávora, 94, conj. 179\nSetor Oeste\nGoiânia – GO\nCEP 74120-010"},
        {{{u"Q Alameda Santos, 72, conj. 65", 30}, {u"Salvador - BA O albuquerque@metalurgica-andrade.com.br", 30}, {u"CEP 40140-110", 30}},
         u"40140-110",
         u"Alameda Santos, 72, conj. 65\nSalvador – BA\nCEP 40140-110"},
        {{{u"Avenida Sete de Setembro, 142 – 5º andar,", 30}, {u"Setor Oeste, Goiânia/GO, CEP 741 20-010, Brasil", 30}},
         u"74120-010",
         u"Avenida Sete de Setembro, 142 – 5º andar,\nSetor Oeste, Goiânia/GO, CEP 74120-010, Brasil"},
        // A full stop read after the postcode; a French floor's 5 read as S; a Cyrillic letter of a
        // reading with the Russian model among Latin ones; Alameda's short form without its full stop.
        {{{u"14 Prince of Wales", 30}, {u"Road, London, WC2N 5DU.", 30}}, u"WC2N 5DU", u"14 Prince of Wales\nRoad, London, WC2N 5DU"},
        {{{u"61 rue du Docteur Roux", 30}, {u"Se étage", 30}, {u"51100 Reims", 30}}, u"51100", u"61 rue du Docteur Roux\n5e étage\n51100 Reims"},
        {{{u"178 boulevard de Strasbourg, Bâtiment \u0412, 30000 NÎMES, France", 30}},
         u"30000",
         u"178 boulevard de Strasbourg, Bâtiment B, 30000 NÎMES, France"},
        {{{u"AL das Palmeiras, 1, conj. 149", 30}, {u"Jardim Sumaré", 30}, {u"Ribeirão Preto/SP", 30}, {u"14025-270", 30}},
         u"14025-270",
         u"Al. das Palmeiras, 1, conj. 149\nJardim Sumaré\nRibeirão Preto/SP\n14025-270"},
        // A king's I read as a bar; a Spanish floor's sign lost before its door.
        {{{u"Corso Umberto | 167", 30}, {u"38122 Trento TN", 30}, {u"Italia", 30}}, u"38122", u"Corso Umberto I 167\n38122 Trento TN\nItalia"},
        {{{u"Calle del Paseo, 166, 8 D", 30}, {u"01001 Vitoria-Gasteiz", 30}}, u"01001", u"Calle del Paseo, 166, 8º D\n01001 Vitoria-Gasteiz"},
        // A pin read as a digit before an abbreviated avenue; a ç read as a cent sign.
        {{{u"9 Av. Tancredo Neves, 118, conj. 131", 30}, {u"Manaus – AM", 30}, {u"CEP 69055-010", 30}},
         u"69055-010",
         u"Av. Tancredo Neves, 118, conj. 131\nManaus – AM\nCEP 69055-010"},
        {{{u"92 cours Bosquet, BP 181, 25000 Besan¢gon", 30}}, u"25000", u"92 cours Bosquet, BP 181, 25000 Besançon"},
    };
    for (const auto& c : cases) {
        std::vector<RecognizedLine> lines = linesOf(c.lines);
        lines.push_back({u"Rachel Green"_qs, 20, 400, 600, 460}); // the next field ends the address
        const ResultSlots f = classifyCardLines(lines);
        EXPECT_EQ(f[19].text, QString::fromUtf16(c.postal)) << lines.front().text.toStdString();
        EXPECT_EQ(f[21].text, QString::fromUtf16(c.address)) << f[21].text.toStdString();
        EXPECT_FALSE(f[13].filled) << "a postal code is no telephone number";
        EXPECT_EQ(f[0].text, u"Rachel Green"_qs);
    }
    // A digit read far off on the street's row (an icon of the column beside it) does not end the
    // address before its town line.
    const ResultSlots f = classifyCardLines({{u"Barnaby Featherstonehaugh"_qs, 110, 73, 702, 127},
                                             {u"40 Union Street,"_qs, 155, 523, 351, 546},
                                             {u"1"_qs, 586, 517, 596, 547, 16},
                                             {u"Aberdeen, AB10 1XL"_qs, 109, 561, 348, 584}});
    EXPECT_EQ(f[21].text, u"40 Union Street,\nAberdeen, AB10 1XL"_qs);
    EXPECT_EQ(f[19].text, u"AB10 1XL"_qs);
    // A unit's line over the street, its icon read before it ("Q") and in small letters, stays a line
    // of its own.
    const ResultSlots unit = classifyCardLines({{u"PHILIPPA OYELARAN"_qs, 63, 223, 465, 254},
                                                {u"Q unit1"_qs, 560, 323, 677, 358, 52},
                                                {u"20 Queen Street"_qs, 562, 369, 776, 389},
                                                {u"Cardiff CF10 1EP"_qs, 563, 406, 779, 427},
                                                {u"Foxglove Pharmacy Inc."_qs, 62, 351, 478, 389}});
    EXPECT_EQ(unit[21].text, u"Unit 1\n20 Queen Street\nCardiff CF10 1EP"_qs);
    // The town line under a street whose pin the engine read as a piece of its own, a number of the
    // column beside it read between them.
    const ResultSlots pinned = classifyCardLines({{u"Clémence Leclerc"_qs, 122, 72, 541, 120},
                                                  {u"9"_qs, 120, 517, 138, 548},
                                                  {u"42 rue du Château"_qs, 159, 525, 380, 547},
                                                  {u"© 02.30.82.52.62"_qs, 789, 529, 1017, 559},
                                                  {u"14000 Caen"_qs, 114, 563, 252, 584}});
    EXPECT_EQ(pinned[21].text, u"42 rue du Château\n14000 Caen"_qs);
}

TEST(CardFields, DepartmentsTitlesAndJapaneseSurnames)
{
    const struct {
        const char16_t* line;
        const char16_t* department;
        const char16_t* title;
    } cases[] = {
        {u"営業部部長", u"営業部", u"部長"},
        {u"第一営業課 課長代理", u"第一営業課", u"課長代理"},
        {u"Sales | Key Account Manager", u"Sales", u"Key Account Manager"},
        {u"Head of Procurement, Logistics Department", u"Logistics Department", u"Head of Procurement"},
        {u"Marketing", u"Marketing", u""},
        {u"Vertrieb · Teamleiterin", u"Vertrieb", u"Teamleiterin"},
        // English titles beyond the rank words, and departments
        {u"Office Manager", u"", u"Office Manager"},
        {u"Head of Partnerships", u"", u"Head of Partnerships"},
        {u"Receptionist", u"", u"Receptionist"},
        {u"Customer Success", u"Customer Success", u""},
        {u"People & Culture", u"People & Culture", u""},
        // German feminine forms and compounds
        {u"Geschäftsführerin", u"", u"Geschäftsführerin"},
        {u"Projektingenieurin", u"", u"Projektingenieurin"},
        {u"Rechtsanwältin", u"", u"Rechtsanwältin"},
        {u"Personalabteilung", u"Personalabteilung", u""},
        {u"Qualitätssicherung, Assistenz der Geschäftsführung", u"Qualitätssicherung", u"Assistenz der Geschäftsführung"},
        // French, with the accents the models keep or lose
        {u"Directeur commercial", u"", u"Directeur commercial"},
        {u"Directrice financiere", u"", u"Directrice financiere"},
        {u"Chargée de clientèle", u"", u"Chargée de clientèle"},
        {u"Service comptabilité", u"Service comptabilité", u""},
        {u"Direction commerciale", u"Direction commerciale", u""},
        {u"Ressources humaines", u"Ressources humaines", u""},
        // Spanish
        {u"Jefe de ventas", u"", u"Jefe de ventas"},
        {u"Técnico de calidad", u"", u"Técnico de calidad"},
        {u"Departamento de Ventas", u"Departamento de Ventas", u""},
        {u"Atención al cliente", u"Atención al cliente", u""},
        {u"Servicio técnico", u"Servicio técnico", u""},
        // Italian
        {u"Responsabile acquisti", u"", u"Responsabile acquisti"},
        {u"Amministratore delegato", u"", u"Amministratore delegato"},
        {u"Ufficio tecnico", u"Ufficio tecnico", u""},
        {u"Risorse Umane", u"Risorse Umane", u""},
        {u"Area Manager", u"", u"Area Manager"},
        // Portuguese
        {u"Engenheiro de projeto", u"", u"Engenheiro de projeto"},
        {u"Responsável de compras", u"", u"Responsável de compras"},
        {u"Direção Financeira", u"Direção Financeira", u""},
        {u"Exportação", u"Exportação", u""},
        {u"Responsable marketing,", u"", u"Responsable marketing"},
        // Russian
        {u"Генеральный директор", u"", u"Генеральный директор"},
        {u"Главный бухгалтер", u"", u"Главный бухгалтер"},
        {u"Отдел продаж", u"Отдел продаж", u""},
        {u"Бухгалтерия", u"Бухгалтерия", u""},
        // Chinese and Korean
        {u"销售经理", u"", u"销售经理"},
        {u"總經理", u"", u"總經理"},
        {u"财务处", u"财务处", u""},
        {u"市场部", u"市场部", u""},
        {u"대표이사", u"", u"대표이사"},
        {u"영업부장", u"", u"영업부장"},
        {u"마케팅팀", u"마케팅팀", u""},
        {u"大同顧問有限公司", u"", u""},
        // A slogan with a department's word is neither.
        {u"Engineering excellence", u"", u""},
    };
    for (const auto& c : cases) {
        const ResultSlots f = classifyCardLines(linesOf({{c.line, 30}}));
        EXPECT_EQ(f[37].text, QString::fromUtf16(c.department)) << QString::fromUtf16(c.line).toStdString();
        EXPECT_EQ(f[10].text, QString::fromUtf16(c.title)) << QString::fromUtf16(c.line).toStdString();
    }
    for (const char16_t* surname : {u"服部 健一", u"中村 美咲", u"阿部健", u"野村 翔"}) {
        const ResultSlots f = classifyCardLines(linesOf({{u"開発部", 30}, {surname, 60}}));
        EXPECT_EQ(f[0].text, QString::fromUtf16(surname));
        EXPECT_EQ(f[37].text, u"開発部"_qs);
        EXPECT_FALSE(f[21].filled);
    }
}

// Lines with the places the engine gives them, for the rules that hang on where a line is set.
RecognizedLine at(const char16_t* text, int left, int top, int right, int bottom)
{
    return {QString::fromUtf16(text), left, top, right, bottom};
}

// A title or department no word list knows is set just under the name in smaller type; the
// company's line, a line far below and a line in the name's type are none.
TEST(CardFields, TitlesAndDepartmentsByTheirPlaceUnderTheName)
{
    const struct {
        std::vector<RecognizedLine> lines;
        const char16_t* title;
        const char16_t* department;
    } cases[] = {
        {{at(u"Mara Lindholm", 60, 100, 500, 160), at(u"Brand Storyteller", 60, 175, 360, 205)}, u"Brand Storyteller", u""},
        {{at(u"Mara Lindholm", 60, 100, 500, 160), at(u"Chief Happiness Officer", 60, 175, 420, 205),
          at(u"Moonshot Guild", 60, 215, 300, 245), at(u"Nordlicht Studios GmbH", 60, 400, 500, 440)},
         u"Chief Happiness Officer",
         u"Moonshot Guild"},
        {{at(u"Mara Lindholm", 60, 100, 500, 160), at(u"Brand Storyteller", 60, 175, 360, 205),
          at(u"Service après-vente", 60, 215, 360, 245)},
         u"Brand Storyteller",
         u"Service après-vente"},
        {{at(u"Mara Lindholm", 60, 100, 500, 160), at(u"Nordlicht Studios", 60, 175, 360, 205)}, u"", u""},
        {{at(u"Mara Lindholm", 60, 100, 500, 160), at(u"Brand Storyteller", 60, 400, 360, 430)}, u"", u""},
        // A title read in two pieces on one row gives one title, not a department.
        {{at(u"Megan Okafor", 55, 70, 531, 142), at(u"Projekti", 54, 160, 160, 186), at(u"rojekfingenisur", 73, 163, 300, 191)},
         u"Projekti",
         u""},
        // A row the engine cut at its dash: beside the department, the part no list knows is the title.
        {{at(u"Mara Lindholm", 60, 100, 500, 160), at(u"Administrativa", 60, 175, 260, 205), at(u"—", 270, 190, 280, 191),
          at(u"Administración", 290, 175, 480, 205)},
         u"Administrativa",
         u"Administración"},
        // The company's name under its wordmark: the department under it is none of the company's.
        {{at(u"Groupe Etoile Conseil", 60, 40, 700, 100), at(u"Service après-vente", 60, 115, 400, 145),
          at(u"Stephane Moreau", 60, 200, 500, 260), at(u"stephane.moreau@groupe.fr", 60, 400, 500, 430)},
         u"",
         u"Service après-vente"},
    };
    for (const auto& c : cases) {
        const ResultSlots f = classifyCardLines(c.lines);
        EXPECT_EQ(f[10].text, QString::fromUtf16(c.title)) << c.lines.back().text.toStdString();
        EXPECT_EQ(f[37].text, QString::fromUtf16(c.department)) << c.lines.back().text.toStdString();
    }
}

// A partnership named after its founders carries no legal form but is the company, never the
// title its "Partner" would make it; a partner's own title stays a title.
TEST(CardFields, PartnershipsAreCompanies)
{
    const struct {
        std::vector<RecognizedLine> lines;
        const char16_t* company;
        const char16_t* title;
    } cases[] = {
        {{at(u"MÜLLER UND PARTNER", 61, 72, 586, 105), at(u"HANS-PETER WEISSENBORN", 63, 344, 559, 372), at(u"Meister", 59, 386, 177, 410)},
         u"MÜLLER UND PARTNER",
         u"Meister"},
        {{at(u"Brandt & Söhne", 60, 75, 551, 102), at(u"Friederike Maaß", 63, 313, 386, 353), at(u"Meisterin", 60, 387, 185, 409)},
         u"Brandt & Söhne",
         u"Meisterin"},
        {{at(u"Studio Legale Bianchi & Associati", 60, 75, 551, 102), at(u"Ettore Ferri", 63, 313, 386, 353), at(u"Avvocato", 60, 387, 185, 409)},
         u"Studio Legale Bianchi & Associati",
         u"Avvocato"},
        {{at(u"Wexford Print Works Ltd", 60, 75, 551, 102), at(u"Ettore Ferri", 63, 313, 386, 353),
          at(u"Founder & Partner", 60, 387, 285, 409)},
         u"Wexford Print Works Ltd",
         u"Founder & Partner"},
    };
    for (const auto& c : cases) {
        const ResultSlots f = classifyCardLines(c.lines);
        EXPECT_EQ(f[kCompanySlot].text, QString::fromUtf16(c.company));
        EXPECT_EQ(f[10].text, QString::fromUtf16(c.title));
    }
}

// A title's or a department's word the engine split at a blank is one again; words that are
// titles apart stay apart.
TEST(TitleLines, WordsSplitAtABlank)
{
    for (const auto& [read, whole] : {std::pair{u"Responsa bile commerciale", u"Responsabile commerciale"}, {u"Ab ogado", u"Abogado"},
                                      {u"Sales manager", u"Sales manager"}, {u"Head of sales", u"Head of sales"}})
        EXPECT_EQ(withTitleWordsWhole(QString::fromUtf16(read), namesAJobTitle), QString::fromUtf16(whole));
    const ResultSlots f = classifyCardLines(
        {at(u"Valentina Sartori", 60, 100, 500, 160), at(u"Responsa bile commerciale", 60, 175, 420, 205), at(u"valentina@lario.it", 60, 300, 500, 330)});
    EXPECT_EQ(f[10].text, u"Responsabile commerciale"_qs);
}

// A title or department too long for its line goes on over the next in the same type: a line
// starting in a small letter, or any after a word that joins others; a number's or an address's
// line, a name and a line set apart go on with nothing.
TEST(CardFields, TitlesAndDepartmentsOverTwoLines)
{
    const RecognizedLine name = at(u"Mara Lindholm", 60, 100, 500, 160);
    const struct {
        std::vector<RecognizedLine> lines;
        const char16_t* title;
        const char16_t* department;
    } cases[] = {
        {{name, at(u"Начальник отдела", 60, 175, 360, 205), at(u"снабжения", 60, 212, 220, 242)}, u"Начальник отдела снабжения", u""},
        {{name, at(u"Специалист по", 60, 175, 300, 205), at(u"работе с клиентами", 60, 212, 380, 242)},
         u"Специалист по работе с клиентами",
         u""},
        {{name, at(u"Chef de projet", 60, 175, 300, 205), at(u"Direction des", 60, 212, 300, 242), at(u"systèmes d'information", 60, 249, 420, 279)},
         u"Chef de projet",
         u"Direction des systèmes d'information"},
        {{name, at(u"Assistenz der", 60, 175, 300, 205), at(u"Geschäftsführung", 60, 212, 380, 242)}, u"Assistenz der Geschäftsführung", u""},
        {{name, at(u"Directeur commercial", 60, 175, 400, 205), at(u"12 rue de la Paix", 60, 212, 380, 242)}, u"Directeur commercial", u""},
        {{at(u"Head of", 60, 40, 300, 70), at(u"Mara Lindholm", 60, 77, 360, 107)}, u"Head of", u""},
        {{name, at(u"Начальник отдела", 60, 175, 360, 205), at(u"снабжения", 60, 280, 220, 310)}, u"Начальник отдела", u""},
        {{name, at(u"Менеджер проектов", 60, 175, 360, 205), at(u"пе", 60, 212, 100, 242)}, u"Менеджер проектов", u""},
        // Lines of the column beside the title, read between it and its second line.
        {{name, at(u"Начальник отдела", 60, 175, 360, 205), at(u"+7 343 416-79-91", 570, 178, 870, 222), at(u"снабжения", 60, 212, 220, 242)},
         u"Начальник отдела снабжения",
         u""},
        {{name, at(u"Специалист по", 60, 175, 300, 205), at(u"@o", 570, 186, 610, 209), at(u"com", 960, 194, 990, 201),
          at(u"работе с клиентами", 60, 212, 380, 242)},
         u"Специалист по работе с клиентами",
         u""},
        // The line under the title in its own column ends the search, however the next one goes on.
        {{name, at(u"Начальник отдела", 60, 175, 360, 205), at(u"Россия", 60, 212, 220, 242), at(u"снабжения", 60, 249, 220, 279)},
         u"Начальник отдела",
         u""},
    };
    for (const auto& c : cases) {
        const ResultSlots f = classifyCardLines(c.lines);
        EXPECT_EQ(f[10].text, QString::fromUtf16(c.title)) << c.lines.back().text.toStdString();
        EXPECT_EQ(f[37].text, QString::fromUtf16(c.department)) << c.lines.back().text.toStdString();
    }
}

// The engine gives a dash set between blanks as a flat line of its own and cuts its row in two
// around it: the row is one line again, and the address goes on over the district.
TEST(CardFields, RowsTheEngineCutAtADash)
{
    const std::vector<RecognizedLine> lines = {
        at(u"Rafael Carvalho", 64, 265, 431, 304),        at(u"Coordenador de marketing", 61, 331, 449, 362),
        at(u"Rua da Bahia, 120", 62, 481, 295, 508),      at(u"—", 310, 495, 318, 496),
        at(u"17º andar", 327, 481, 455, 503),             at(u"Funcionários", 62, 520, 233, 542),
        at(u"30130-110 Belo Horizonte", 60, 560, 413, 582), at(u"—", 422, 574, 437, 575),
        at(u"MG", 448, 561, 490, 582),                    at(u"Brazil", 62, 599, 135, 621),
        at(u"Tel. +55 31 4738-7892", 711, 481, 1014, 503), at(u"Telemóvel. +55 31 90327-7872", 594, 520, 1014, 542),
    };
    const ResultSlots f = classifyCardLines(lines);
    EXPECT_EQ(f[21].text, u"Rua da Bahia, 120 – 17º andar\nFuncionários\n30130-110 Belo Horizonte – MG\nBrazil"_qs);
    EXPECT_EQ(f[19].text, u"30130-110"_qs);
    EXPECT_EQ(f[13].text, u"+55 31 4738-7892"_qs);
    EXPECT_EQ(f[31].text, u"+55 31 90327-7872"_qs);
    EXPECT_EQ(f[0].text, u"Rafael Carvalho"_qs);
}

// A social network's address or handle is not the web page, and no name; a country line is the
// address's last line wherever it stands, and never the name.
TEST(CardFields, SocialRowsAndCountryLines)
{
    const struct {
        std::vector<RecognizedLine> lines;
        int slot;
        const char16_t* expected;
    } cases[] = {
        {{at(u"Anna Lopez", 60, 100, 500, 160), at(u"linkedin.com/in/anna-lopez", 60, 300, 500, 330),
          at(u"www.acme-widgets.com", 60, 340, 500, 370)},
         27,
         u"www.acme-widgets.com"},
        {{at(u"Anna Lopez", 60, 100, 500, 160), at(u"x.com/acme | www.acme.io", 60, 300, 500, 330)}, 27, u"www.acme.io"},
        {{at(u"Anna Lopez", 60, 100, 500, 160), at(u"in linkedin.com/in/anna-lopez", 60, 300, 500, 330)}, 27, u""},
        {{at(u"Anna Lopez", 60, 100, 500, 160), at(u"https://www.instagram.com/acme.studio", 60, 300, 500, 330)}, 27, u""},
        {{at(u"@anna_lopez", 60, 100, 500, 160), at(u"Anna Lopez", 60, 200, 400, 240)}, 0, u"Anna Lopez"},
        {{at(u"in/anna-lopez", 60, 100, 500, 160), at(u"Anna Lopez", 60, 200, 400, 240)}, 0, u"Anna Lopez"},
        {{at(u"United Kingdom", 60, 100, 500, 160), at(u"Anna Lopez", 60, 200, 400, 240)}, 0, u"Anna Lopez"},
        {{at(u"Anna Lopez", 60, 100, 500, 160), at(u"41 Wharf Lane", 600, 300, 900, 330), at(u"Cardiff CF10 5BZ", 600, 340, 900, 370),
          at(u"Senior Engineer", 60, 170, 400, 200), at(u"United Kingdom", 600, 380, 900, 410)},
         21,
         u"41 Wharf Lane\nCardiff CF10 5BZ\nUnited Kingdom"},
        {{at(u"Anna Lopez", 60, 100, 500, 160), at(u"France", 60, 170, 200, 190), at(u"119, impasse des Lilas", 600, 300, 900, 330),
          at(u"31000 Toulouse", 600, 340, 900, 370)},
         21,
         u"119, impasse des Lilas\n31000 Toulouse"},
    };
    for (const auto& c : cases) {
        const ResultSlots f = classifyCardLines(c.lines);
        EXPECT_EQ(f[size_t(c.slot)].text, QString::fromUtf16(c.expected)) << c.lines.front().text.toStdString();
    }
}

// The English side of a Japanese firm's card: the address in Latin letters, block numbers first
// and the postal code after the city, is the address; a telephone number is none.
TEST(CardFields, JapaneseAddressInLatinLetters)
{
    const struct {
        std::vector<RecognizedLine> lines;
        const char16_t* address;
        const char16_t* postalCode;
    } cases[] = {
        {{at(u"Makoto Kuwabara", 60, 100, 500, 160), at(u"1-6-35 Chuo, Aoba-ku,", 60, 300, 500, 330),
          at(u"Sendai 980-0021", 60, 340, 400, 370), at(u"Japan", 60, 380, 200, 410), at(u"Phone +81-3-4963-8744", 60, 420, 500, 450)},
         u"1-6-35 Chuo, Aoba-ku,\nSendai 980-0021\nJapan",
         u"980-0021"},
        {{at(u"Rumi Miyasaka", 60, 100, 500, 160), at(u"22 Yamashita-cho, Naka-ku, Yokohama 231-0023, Japan", 60, 300, 900, 330),
          at(u"T 045-592-6331", 60, 340, 400, 370)},
         u"22 Yamashita-cho, Naka-ku, Yokohama 231-0023, Japan",
         u"231-0023"},
        {{at(u"Rumi Miyasaka", 60, 100, 500, 160), at(u"Shin-Otemachi Bldg. 5F", 60, 300, 500, 330),
          at(u"2-2-1 Otemachi, Chiyoda-ku,", 60, 340, 500, 370), at(u"Tokyo 100-0004", 60, 380, 400, 410)},
         u"Shin-Otemachi Bldg. 5F\n2-2-1 Otemachi, Chiyoda-ku,\nTokyo 100-0004",
         u"100-0004"},
        // A zero of the code read as a letter o.
        {{at(u"Makoto Kuwabara", 60, 100, 500, 160), at(u"3-2-1 Hakata-ekimae, Hakata-ku,", 60, 300, 500, 330),
          at(u"Fukuoka 812-oo11", 60, 340, 400, 370)},
         u"3-2-1 Hakata-ekimae, Hakata-ku,\nFukuoka 812-0011",
         u"812-0011"},
        {{at(u"Rumi Miyasaka", 60, 100, 500, 160), at(u"Tel 03-5291-3573 Fax 03-5291-3574", 60, 300, 700, 330)}, u"", u""},
    };
    for (const auto& c : cases) {
        const ResultSlots f = classifyCardLines(c.lines);
        EXPECT_EQ(f[21].text, QString::fromUtf16(c.address)) << c.lines[1].text.toStdString();
        EXPECT_EQ(f[19].text, QString::fromUtf16(c.postalCode)) << c.lines[1].text.toStdString();
    }
}

// A name and the title set on its row at the card's foot, read as one line: the name is the words
// the e-mail address spells; in the body's type a title of many words stays whole.
TEST(CardFields, NameAndTitleReadAsOneLine)
{
    const struct {
        std::vector<RecognizedLine> lines;
        const char16_t *name, *title;
    } cases[] = {
        {{at(u"Hokushin Systems Inc.", 60, 40, 500, 90), at(u"Phone +81-11-2769-7771", 60, 200, 500, 230),
          at(u"kuwabara@hokushin-sys.jp", 60, 240, 500, 270), at(u"Makoto Kuwabara General Manager", 60, 500, 1000, 560)},
         u"Makoto Kuwabara",
         u"General Manager"},
        {{at(u"Ludovica Ferraresi Consulente Senior", 60, 500, 1000, 570), at(u"Via dei Mille, 50", 60, 200, 500, 230),
          at(u"10121 Torino", 60, 240, 500, 270), at(u"ludovica.ferraresi@studioferraresi.it", 60, 280, 500, 310)},
         u"Ludovica Ferraresi",
         u"Consulente Senior"},
        {{at(u"Anna Lopez", 60, 40, 500, 100), at(u"Senior Vice President Sales", 60, 110, 500, 140), at(u"1 Main Street", 60, 200, 500, 230),
          at(u"Springfield, IL 62701", 60, 240, 500, 270)},
         u"Anna Lopez",
         u"Senior Vice President Sales"},
    };
    for (const auto& c : cases) {
        const ResultSlots f = classifyCardLines(c.lines);
        EXPECT_EQ(f[0].text.toStdString(), QString::fromUtf16(c.name).toStdString());
        EXPECT_EQ(f[10].text.toStdString(), QString::fromUtf16(c.title).toStdString());
    }
}

// A Russian card's name beside the company's wordmark in capitals: the line the e-mail address
// spells, not a company word that shares a few letters with it; Cyrillic small letters read as
// capitals in the name's words.
TEST(CardFields, RussianNameBesideTheWordmark)
{
    const struct {
        std::vector<RecognizedLine> lines;
        const char16_t* name;
    } cases[] = {
        {{at(u"КАМСКИЙ ЗАВОД МЕТАЛЛОКОНСТРУКЦИЙ", 94, 88, 1012, 138), at(u"ООО «Камский Завод Металлоконструкций»", 307, 139, 796, 172),
          at(u"РЯБИНИН Константин АРКАДЬЕВИЧ", 111, 187, 991, 268), at(u"Старший менеджер", 411, 286, 685, 319),
          at(u"@ konstantin@kamskii-zavod-metallokonstruktsii.com", 185, 507, 898, 556)},
         u"РЯБИНИН Константин АРКАДЬЕВИЧ"},
        {{at(u"СЕВЕРНЫЙ ВЕТЕР", 80, 71, 548, 117), at(u"000 «Северный Ветер»", 77, 120, 342, 158),
          at(u"МИХАИЛ АЛЕКСАНДРОВИЧ БогдАНов", 72, 313, 565, 356), at(u"Начальник отдела снабжения", 68, 372, 463, 415),
          at(u"E-mail mikhail-bogdanov@severnyi-veter.ru", 564, 390, 1013, 436)},
         u"МИХАИЛ АЛЕКСАНДРОВИЧ Богданов"},
        {{at(u"«СтройИнвест»", 80, 71, 548, 117), at(u"ДмитРИЙ Михайлович Лебедев", 72, 313, 565, 356),
          at(u"Тел. +7 846 469-85-53", 564, 390, 1013, 436)},
         u"Дмитрий Михайлович Лебедев"},
    };
    for (const auto& c : cases) {
        ResultSlots f = classifyCardLines(c.lines);
        fillFieldsOfScript(f, c.lines, kLanguageRussian);
        EXPECT_EQ(f[kNameSlot].text.toStdString(), QString::fromUtf16(c.name).toStdString());
    }
    // The legal form's О read as zeros, a logo before it as a letter.
    const std::vector<RecognizedLine> lines{at(u"п 000 «Кедр Консалтинг»", 80, 71, 548, 117), at(u"Константин Рябов", 72, 313, 565, 356)};
    ResultSlots f = classifyCardLines(lines);
    fillFieldsOfScript(f, lines, kLanguageRussian);
    EXPECT_EQ(f[35].text.toStdString(), "ООО «Кедр Консалтинг»");
}

// A Russian address's abbreviations and house numbers as the engine misreads them.
TEST(CardFields, RussianAddressesAsPrinted)
{
    const struct {
        std::initializer_list<std::pair<const char16_t*, int>> lines;
        const char16_t* address;
    } cases[] = {
        {{{u"ул. Кирова, д. п, стр. 4", 30}, {u"394036 Воронеж", 30}}, u"ул. Кирова, д. 11, стр. 4\n394036 Воронеж"},
        {{{u"664003, г. Иркутск, 6-p Гагарина, д. 25, стр.1", 30}}, u"664003, г. Иркутск, б-р Гагарина, д. 25, стр. 1"},
        {{{u"6-р Гагарина, д. 22, оф.2", 30}, {u"690091 Владивосток", 30}}, u"б-р Гагарина, д. 22, оф. 2\n690091 Владивосток"},
        {{{u"ул. Пушкинская, д. 5, кв. 6", 30}, {u"614000 Пермь", 30}}, u"ул. Пушкинская, д. 5, кв. 6\n614000 Пермь"},
        {{{u"42o111, г. Казань,", 30}, {u"ул. Ленина, д. 14, офис 736", 30}}, u"420111, г. Казань,\nул. Ленина, д. 14, офис 736"},
        {{{u"О 443010, г. Самара, ул. Красная,", 30}, {u"4. 54, кори. 3, оф. 13", 30}}, u"443010, г. Самара, ул. Красная,\nд. 54, корп. 3, оф. 13"},
        // "ул." read in Latin letters; the e-mail of another column read onto the address's row; the
        // house number run onto the postal code's line.
        {{{u"191186, г. Санкт-Петербург, Большая", 30}, {u"Садовая yn., д.38, офис 713", 30}},
         u"191186, г. Санкт-Петербург, Большая\nСадовая ул., д. 38, офис 713"},
        {{{u"344002, г. Ростов-на-Дону, Большая Садовая sergei.volkov@torgovaya.com", 30}, {u"ул., д. 18, корп. 1, офис 511, Россия", 30}},
         u"344002, г. Ростов-на-Дону, Большая Садовая\nул., д. 18, корп. 1, офис 511, Россия"},
        {{{u"ул. Тверская, д.", 30}, {u"50, 420111 Казань", 30}}, u"ул. Тверская, д.\n50, 420111 Казань"},
        {{{u"454091, г. Челябинск, ул.", 30}, {u"ЗАО «Дальневосточный Рыбак» Кирова, д. 17, корп. 1", 30}},
         u"454091, г. Челябинск, ул.\nКирова, д. 17, корп. 1"},
        // A number of the column beside it read onto the address's row.
        {{{u"Мобильный. +7 926 963-53-13 ул. Карла Маркса, д. 38, оф. 36", 30}, {u"664003 Иркутск", 30}},
         u"ул. Карла Маркса, д. 38, оф. 36\n664003 Иркутск"},
        // A speck read as a quote before a word.
        {{{u"664003, г. Иркутск,", 30}, {u"Комсомольский пр-т, д. 57, ‘корп. 3, офис 861", 30}},
         u"664003, г. Иркутск,\nКомсомольский пр-т, д. 57, корп. 3, офис 861"},
        // A speck under the street read as a digit is no line of the address.
        {{{u"Ленинский пр-т, д. 40, стр. 2, офис 159", 30}, {u"4", 30}, {u"664003 Иркутск", 30}},
         u"Ленинский пр-т, д. 40, стр. 2, офис 159\n664003 Иркутск"},
    };
    for (const auto& c : cases) {
        std::vector<RecognizedLine> lines = linesOf(c.lines);
        lines.insert(lines.begin(), {u"Полина Тимофеева"_qs, 20, -100, 600, -40});
        ResultSlots f = classifyCardLines(lines);
        fillFieldsOfScript(f, lines, kLanguageRussian);
        EXPECT_EQ(f[kAddressSlot].text.toStdString(), QString::fromUtf16(c.address).toStdString());
        EXPECT_EQ(f[kPostalCodeSlot].text, QRegularExpression(u"[0-9]{6}"_qs).match(QString::fromUtf16(c.address)).captured());
    }
    // The country under the town, with the e-mail of the column beside it read between them.
    const std::vector<RecognizedLine> lines = {
        {u"Медведева Вероника Борисовна"_qs, 156, 88, 925, 149},
        {u"ул. Карла Маркса, д. 7, корп. 3"_qs, 163, 434, 584, 470},
        {u"М +7 (999) 748-20-48"_qs, 748, 462, 1051, 495},
        {u"160000 Вологда"_qs, 167, 481, 402, 505},
        {u"Е vmedvedeva@polyarnaya-zvezda.ru"_qs, 656, 505, 1052, 532},
        {u"Россия"_qs, 168, 525, 271, 546},
    };
    ResultSlots f = classifyCardLines(lines);
    fillFieldsOfScript(f, lines, kLanguageRussian);
    EXPECT_EQ(f[kAddressSlot].text, u"ул. Карла Маркса, д. 7, корп. 3\n160000 Вологда\nРоссия"_qs);
}

TEST(CardFields, LinesReadByHowCardsAreSet)
{
    NameReading names;
    const FamilyNameLength family = [&names](const QString& t) { return names.familyNameLength(t); };
    const NameReadingOf reading = [&names](const QString& t) { return names.reading(t); };
    const struct {
        std::vector<RecognizedLine> lines;
        int slot;
        const char16_t* expected;
    } cases[] = {
        // A surname with 村 and a given name with a kanji numeral is a name, split where the
        // dictionary's family name ends, and no address.
        {{at(u"北村雄一", 20, 10, 300, 80)}, 0, u"北村 雄一"},
        {{at(u"北村雄一", 20, 10, 300, 80)}, 21, u""},
        // A company line without a blank is no name.
        {{at(u"さくら不動産", 20, 10, 300, 80), at(u"川村 剛", 20, 100, 200, 140)}, 0, u"川村 剛"},
        // "矢部　浩二" set wide apart comes in two pieces of one row.
        {{at(u"矢部", 20, 10, 130, 70), at(u"浩二", 240, 12, 350, 70)}, 0, u"矢部 浩二"},
        // Block numbers the engine set apart at the end of the address's row; dashes as read.
        {{at(u"〒950-0087 新潟県新潟市中央区東大通", 20, 10, 500, 40), at(u"2-4-10", 540, 12, 620, 38)},
         21,
         u"新潟県新潟市中央区東大通\n2-4-10"},
        {{at(u"愛知県名古屋市中村区椿町1一16", 20, 10, 500, 40)}, 21, u"愛知県名古屋市中村区椿町1-16"},
        {{at(u"茨城県水戸市南町３ー４ー１０", 20, 10, 500, 40)}, 21, u"茨城県水戸市南町３－４－１０"},
        // A Japanese address by its shape, with or without its postal code, after text the engine
        // read into its line from another column; the code with blanks or a dot read into it.
        {{at(u"KATO Mariko        960-8031 福島県福島市栄町6-6", 20, 10, 900, 50)}, 21, u"福島県福島市栄町6-6"},
        {{at(u"KATO Mariko        960-8031 福島県福島市栄町6-6", 20, 10, 900, 50)}, 19, u"960-8031"},
        {{at(u"52-0231 神奈川県相模原市中央区相模原3-8-25", 20, 10, 900, 50)}, 21, u"神奈川県相模原市中央区相模原3-8-25"},
        {{at(u"日 下部 Wal AK 京都市下京区東塩小路町721-1", 20, 10, 900, 50)}, 21, u"京都市下京区東塩小路町721-1"},
        {{at(u"〒1 04-0061 東京都中央区銀座4-5-6", 20, 10, 900, 50)}, 19, u"104-0061"},
        {{at(u"AP JON 7320-0033 栃木県宇都宮市本町4-15", 20, 10, 900, 50)}, 19, u"320-0033"},
        {{at(u"020.0021 岩手県盛岡市中央通2-1-21", 20, 10, 900, 50)}, 19, u"020-0021"},
        // Another column's words the engine read into the address's row: before a rule, after the
        // e-mail address.
        {{at(u"PENNANT CIVIL WORKS | @ 119 Hunter Street", 87, 342, 836, 399), at(u"Fremantle WA 6160", 599, 389, 824, 407)},
         21,
         u"119 Hunter Street\nFremantle WA 6160"},
        {{at(u"Suite 802", 544, 470, 652, 488), at(u"E-mail: g.chadwick@quarry-lane.com.au 218 Cavill Avenue", 61, 502, 753, 528),
          at(u"Canberra ACT 2601", 545, 535, 769, 554)},
         21,
         u"Suite 802\n218 Cavill Avenue\nCanberra ACT 2601"},
        {{at(u"Suite 802", 544, 470, 652, 488), at(u"E-mail: g.chadwick@quarry-lane.com.au 218 Cavill Avenue", 61, 502, 753, 528)},
         23,
         u"g.chadwick@quarry-lane.com.au"},
        {{at(u"Calle Uría, 161, 1° B, 50001 Zaragoza W: https://www.papelera-del-ebro.es", 61, 559, 1013, 586)},
         21,
         u"Calle Uría, 161, 1º B, 50001 Zaragoza"},
        {{at(u"161 Princes Street, Glasgow G2 6DS _—_ vanhouten_t@summit-ridge.uk", 149, 498, 1004, 534)},
         21,
         u"161 Princes Street, Glasgow G2 6DS"},
        // The town line read into the e-mail's row of the other column, the two rows merged; the
        // company's wordmark in the other column read into the town line's row; a building before
        // the town in a right-aligned address is no other column's.
        {{at(u"19 route de Narbonne", 552, 544, 817, 567), at(u"poirier@etude-notariale-pages.com 76000 Rouen", 79, 555, 716, 602)},
         21,
         u"19 route de Narbonne\n76000 Rouen"},
        {{at(u"kestrel-packaging.com.au", 574, 290, 967, 333), at(u"Q PO Box 6874", 580, 338, 811, 375),
          at(u"KESTREL PACKAGING Townsville QLD 4810", 76, 370, 874, 422)},
         21,
         u"PO Box 6874\nTownsville QLD 4810"},
        {{at(u"19 allée des Tilleuls,", 699, 517, 943, 543), at(u"Bâtiment B, 13001 MARSEILLE", 574, 558, 943, 584)},
         21,
         u"19 allée des Tilleuls,\nBâtiment B, 13001 MARSEILLE"},
        // The town over a postcode alone on its line, the street's line lost.
        {{at(u"Brighton", 540, 576, 636, 603), at(u"BN1 3FD", 540, 615, 638, 638)}, 21, u"Brighton\nBN1 3FD"},
        // A pin beside an address read as letters is no line above it; a street set right-aligned
        // over the rest of its name.
        {{at(u"gq", 82, 540, 106, 581), at(u"Am Wohrder See 5", 129, 539, 392, 570), at(u"50667 Köln", 82, 585, 240, 613)},
         21,
         u"Am Wohrder See 5\n50667 Köln"},
        {{at(u"Gran Vía de Don Diego", 800, 528, 1075, 553), at(u"López de Haro, 58, planta 8", 744, 562, 1077, 596),
          at(u"18009 Granada", 890, 599, 1077, 624)},
         21,
         u"Gran Vía de Don Diego\nLópez de Haro, 58, planta 8\n18009 Granada"},
        {{at(u"京都府京都市下京区東塩小路町", 20, 10, 500, 40)}, 21, u"京都府京都市下京区東塩小路町"},
        {{at(u"〒330-0854 埼玉県さいたま市大宮区桜木町1-7-5", 20, 10, 900, 50)}, 21, u"埼玉県さいたま市大宮区桜木町1-7-5"},
        {{at(u"〒 510-0086 三重県四 日市市諏訪栄町7-34", 20, 10, 900, 50)}, 21, u"三重県四日市市諏訪栄町7-34"},
        {{at(u"〒510-0086 四 日市市諏訪栄町7-34", 20, 10, 900, 50)}, 21, u"四日市市諏訪栄町7-34"},
        {{at(u"山田 太 郎 福島市栄町6-6", 20, 10, 900, 50)}, 21, u"福島市栄町6-6"},
        // A rule before the postal code is no address; the address follows elsewhere.
        {{at(u"ーー 〒310-0021", 370, 390, 650, 410), at(u"水戸市南町3-4-10", 530, 420, 710, 440)}, 21, u"水戸市南町3-4-10"},
        // A postal code at the end of a line of the other column, its 〒 read as a letter.
        {{at(u"弁護士 892-0842", 67, 273, 663, 314), at(u"鹿児島市東千石町1-38", 530, 308, 822, 334)}, 19, u"892-0842"},
        {{at(u"弁護士 892-0842", 67, 273, 663, 314), at(u"鹿児島市東千石町1-38", 530, 308, 822, 334)}, 10, u"弁護士"},
        {{at(u"F 850-0035", 471, 425, 605, 444), at(u"長崎市元船町14-10", 421, 457, 649, 481)}, 19, u"850-0035"},
        {{at(u"F 850-0035", 471, 425, 605, 444), at(u"長崎市元船町14-10", 421, 457, 649, 481)}, 16, u""},
        // Large Japanese type of the other column read into the line as mixed scraps: the Latin
        // scraps are no field, the Japanese the line starts with is read on.
        {{at(u"テナ vie i + 812-0011", 69, 324, 683, 362), at(u"福岡県福岡市博多区博多駅前2-1-1", 70, 370, 990, 438)}, 19, u"812-0011"},
        {{at(u"テナ vie i + 812-0011", 69, 324, 683, 362), at(u"福岡県福岡市博多区博多駅前2-1-1", 70, 370, 990, 438)}, 10, u""},
        {{at(u"いとう まこと", 58, 379, 228, 403), at(u"伊 Aas ロ 520-0043 滋賀県大津市中央3-2-1", 58, 411, 955, 505)}, 0, u"伊"},
        // 〒 read as 7 or 1: a postal code beside a Japanese address, a telephone number elsewhere.
        {{at(u"7030-0801", 460, 410, 610, 440), at(u"青森県青森市新町1-3-7", 430, 450, 640, 480)}, 19, u"030-0801"},
        {{at(u"7030-0801", 460, 410, 610, 440), at(u"青森県青森市新町1-3-7", 430, 450, 640, 480)}, 13, u""},
        {{at(u"1880-0805", 460, 410, 610, 440), at(u"TEL 0985-58-8607", 430, 450, 640, 480)}, 13, u"0985-58-8607"},
        {{at(u"7030-0801", 460, 410, 610, 440), at(u"ARH EA 1-3-7", 430, 450, 640, 480), at(u"服部 美咲", 300, 500, 700, 560)},
         19,
         u"030-0801"},
        {{at(u"7030-0801", 460, 410, 610, 440), at(u"12 Abbey Road", 430, 450, 640, 480)}, 13, u"7030-0801"},
        {{at(u"Q 7060-0807", 59, 443, 258, 476), at(u"札幌市北区北七条西5-19", 61, 478, 368, 517)}, 19, u"060-0807"},
        {{at(u"Q 7060-0807", 59, 443, 258, 476), at(u"札幌市北区北七条西5-19", 61, 478, 368, 517)}, 13, u""},
        // A town line with its postcode misread in ways the code's shape undoes; a street without
        // a number over it; a slogan with a year set well above an address that holds its street.
        {{at(u"Unit 3B, Castle Court", 570, 238, 810, 257), at(u"Cardiff CF10 IBY", 570, 269, 773, 302)},
         21,
         u"Unit 3B, Castle Court\nCardiff CF10 1BY"},
        {{at(u"17 Park Row", 53, 414, 211, 435), at(u"Leeds Ls1 SJL", 49, 456, 242, 477)}, 19, u"LS1 5JL"},
        // The street's word the engine read apart on its row.
        {{at(u"QUARRY LANE STUDIOS", 60, 378, 487, 402), at(u"227 Boar", 568, 361, 678, 405), at(u"Lane", 702, 366, 763, 387),
          at(u"Leeds LS1 5AB", 570, 405, 769, 427)},
         21,
         u"227 Boar Lane\nLeeds LS1 5AB"},
        {{at(u"800 Boylston Street", 54, 450, 259, 476), at(u"Boston, MA02199", 55, 488, 245, 511)},
         21,
         u"800 Boylston Street\nBoston, MA 02199"},
        {{at(u"1100 Louisiana Street", 573, 230, 886, 251), at(u"Samuel Braun", 67, 249, 515, 298),
          at(u"Houston, Tx 77002", 573, 267, 844, 290)},
         21,
         u"1100 Louisiana Street\nHouston, TX 77002"},
        {{at(u"The Old Mill, Mill Lane", 60, 522, 360, 548), at(u"i NORTHWIND", 566, 482, 1011, 538),
          at(u"Sheffield S3 8NP", 62, 562, 274, 583)},
         21,
         u"The Old Mill, Mill Lane\nSheffield S3 8NP"},
        {{at(u"Since 1987", 75, 402, 214, 423), at(u"1550 Wewatta Street, 2nd Floor, Denver, CO 80202", 491, 498, 1013, 522)},
         21,
         u"1550 Wewatta Street, 2nd Floor, Denver, CO 80202"},
        {{at(u"8 Station Approach", 69, 390, 313, 420), at(u"Cambridge CB1 2]W", 69, 427, 330, 458)}, 19, u"CB1 2JW"},
        // What follows the postcode was read in from another column; a house number set apart on
        // the street's row; a piece read again within the address's line; a rule after a line.
        {{at(u"12 E 49th Street, #1100,", 53, 568, 299, 616), at(u"New York, NY 10017 AX Altamira Capital", 318, 568, 1024, 621)},
         21,
         u"12 E 49th Street, #1100,\nNew York, NY 10017"},
        {{at(u"渡部 ant 〒320-0033 宇都宮市本町4-15", 73, 325, 862, 418), at(u"宇都宮NIビル9F", 528, 363, 702, 385)},
         21,
         u"宇都宮市本町4-15\n宇都宮NIビル9F"},
        {{at(u"3000 K", 129, 578, 217, 614), at(u"Street NW, Suite 275", 237, 583, 519, 605),
          at(u"Washington, DC 20007", 165, 619, 482, 645)},
         21,
         u"3000 K Street NW, Suite 275\nWashington, DC 20007"},
        {{at(u"380-0811 宮城県仙台市青葉区一番町1-2-3", 75, 385, 555, 410), at(u"番町1-23", 441, 381, 555, 418),
          at(u"一番町ビル3F", 74, 415, 219, 435)},
         21,
         u"宮城県仙台市青葉区一番町1-2-3\n一番町ビル3F"},
        {{at(u"〒104-0061 東京都中央区銀座4-5-6", 326, 394, 735, 422), at(u"銀座センタービル8F_", 427, 427, 635, 451)},
         21,
         u"東京都中央区銀座4-5-6\n銀座センタービル8F"},
        // A building's line in Latin letters with its room number goes on a Japanese address; a
        // romanised department below it does not.
        {{at(u"〒135-0064 東京都江東区青海2-7-4", 75, 385, 555, 410), at(u"theSOHO 1104", 75, 415, 230, 437)},
         21,
         u"東京都江東区青海2-7-4\ntheSOHO 1104"},
        {{at(u"〒135-0064 東京都江東区青海2-7-4", 75, 385, 555, 410), at(u"Overseas Business Section 2", 75, 415, 400, 437)},
         21,
         u"東京都江東区青海2-7-4"},
        // A building named after its place keeps the place's kanji the engine took for a look-alike.
        {{at(u"〒600-8008 京都市下京区烏丸通四条下る水銀屋町620", 75, 385, 655, 410), at(u"COCON鳥丸4F", 75, 415, 230, 437)},
         21,
         u"京都市下京区烏丸通四条下る水銀屋町620\nCOCON烏丸4F"},
        {{at(u"〒650-0021 神戸市中央区三宮町15-6", 75, 385, 555, 410), at(u"三室ビルSF", 75, 415, 230, 437)},
         21,
         u"神戸市中央区三宮町15-6\n三宮ビル5F"},
        // A building's line ending in its room goes on the address; "ピル" and a numeral after 第 read
        // as kana or a dash are put back.
        {{at(u"〒520-0047 大津市浜大津4-24-14", 75, 385, 555, 410), at(u"大通ハイツ509号室", 75, 415, 300, 437)},
         21,
         u"大津市浜大津4-24-14\n大通ハイツ509号室"},
        {{at(u"〒810-0001 福岡市中央区天神3-15-18", 75, 385, 555, 410), at(u"アーバンネット中央ピル883号室", 75, 415, 400, 437)},
         21,
         u"福岡市中央区天神3-15-18\nアーバンネット中央ビル883号室"},
        {{at(u"〒700-0023 岡山県岡山市北区駅前町4-10", 75, 385, 555, 410), at(u"日本橋第-ビル25階", 75, 415, 300, 437)},
         21,
         u"岡山県岡山市北区駅前町4-10\n日本橋第一ビル25階"},
        {{at(u"〒890-0053 鹿児島市中央町2-28-10", 75, 385, 555, 410), at(u"丸之内第ニビル18F", 75, 415, 300, 437)},
         21,
         u"鹿児島市中央町2-28-10\n丸之内第二ビル18F"},
        // A floor's 階 read as another kanji, a numeral read twice, scraps inside the building's name.
        {{at(u"〒910-0005 福井市大手3-4-1", 75, 385, 555, 410), at(u"大手フロントタワー21随", 75, 415, 300, 437)},
         21,
         u"福井市大手3-4-1\n大手フロントタワー21階"},
        {{at(u"〒770-0834 徳島市元町1-24", 75, 385, 555, 410), at(u"元町第ニニビル7F", 75, 415, 300, 437)},
         21,
         u"徳島市元町1-24\n元町第二ビル7F"},
        {{at(u"〒850-0862 長崎市出島町2-5", 75, 385, 555, 410), at(u"べべ        出島ハー!バービル1203有号室", 75, 415, 400, 437)},
         21,
         u"長崎市出島町2-5\n出島ハーバービル1203号室"},
        {{at(u"〒810-0001 福岡市中央区天神3-15-18", 75, 385, 555, 410), at(u"天神ビル2号館", 75, 415, 300, 437)},
         21,
         u"福岡市中央区天神3-15-18\n天神ビル2号館"},
        // A Japanese card's number row with the address or postal code of the column beside it read
        // into it, the blanks before the code lost.
        {{at(u"営業部 主任", 451, 198, 632, 226), at(u"Fax. +81 79 587 4415        兵庫県姫路市南町6-10", 0, 548, 1074, 575)},
         21,
         u"兵庫県姫路市南町6-10"},
        {{at(u"営業部 主任", 451, 198, 632, 226), at(u"Fax. +81 79 587 4415        兵庫県姫路市南町6-10", 0, 548, 1074, 575)},
         16,
         u"+81 79 587 4415"},
        {{at(u"営業部 主任", 451, 198, 632, 226), at(u"携帯 : +818052552149604-8152", 0, 541, 1074, 570)}, 31, u"+818052552149"},
        {{at(u"営業部 主任", 451, 198, 632, 226), at(u"携帯 : +818052552149604-8152", 0, 541, 1074, 570)}, 19, u"604-8152"},
        {{at(u"営業部 主任", 451, 198, 632, 226), at(u"TEL 0752552149604-8152", 0, 541, 1074, 570)}, 13, u"0752552149"},
        // A label column beside the numbers.
        {{at(u"Cell:", 571, 310, 624, 328), at(u"Fax:", 572, 347, 620, 365), at(u"+44 7700 900125", 667, 309, 861, 328),
          at(u"029 2018 0764", 666, 347, 832, 366)},
         16,
         u"029 2018 0764"},
        {{at(u"Cell", 70, 888, 125, 928), at(u"917.555.0176", 195, 896, 387, 922)}, 31, u"917.555.0176"},
        // Postal codes after the address on its line and with a mark misread, blanks in a prefecture.
        {{at(u"- 村 it 福岡県福岡市博多区博多駅前2-1-1 + 812-0011", 70, 336, 990, 438)}, 21, u"福岡県福岡市博多区博多駅前2-1-1"},
        {{at(u"- 村 it 福岡県福岡市博多区博多駅前2-1-1 + 812-0011", 70, 336, 990, 438)}, 19, u"812-0011"},
        {{at(u"〒812-0011 福岡 県福岡市博多区博多駅前2-1", 256, 450, 842, 487)}, 19, u"812-0011"},
        {{at(u"〒812-0011 福岡 県福岡市博多区博多駅前2-1", 256, 450, 842, 487)}, 21, u"福岡県福岡市博多区博多駅前2-1"},
        {{at(u"〒エ640-8331", 543, 406, 680, 426), at(u"和歌山市美園町5-1-2", 539, 438, 795, 463)}, 19, u"640-8331"},
        {{at(u"日 下部 Wal AK 京都市下京区東塩小路町721-1 BH", 86, 411, 987, 501)}, 21, u"京都市下京区東塩小路町721-1"},
        // A line far wider than its letters spans two columns: the words before its number are the
        // other column's (here the end of the wordmark).
        {{at(u"O Oakridge Dental", 52, 262, 386, 306), at(u"Care 2nd Floor, Apex House", 53, 310, 1005, 344),
          at(u"Edinburgh EH3 8BL", 768, 351, 1004, 375)},
         21,
         u"2nd Floor, Apex House\nEdinburgh EH3 8BL"},
        // A town line set below the street within its width, a mark widening the street's line.
        {{at(u"= 2nd Floor, 9 Market Square", 360, 263, 866, 290), at(u"Lukas F. Rossi", 79, 266, 365, 304),
          at(u"Oxford OX1 3EQ", 579, 293, 756, 315)},
         21,
         u"2nd Floor, 9 Market Square\nOxford OX1 3EQ"},
        // Two columns: the town line below the street, the name between them in the engine's order.
        {{at(u"Unit 12, Enterprise Park", 570, 260, 860, 285), at(u"Nathan Hargreaves", 60, 300, 400, 335),
          at(u"Swindon SN2 2PJ", 574, 294, 780, 314)},
         21,
         u"Unit 12, Enterprise Park\nSwindon SN2 2PJ"},
        {{at(u"Am Markt 3", 570, 260, 760, 285), at(u"Anna Weber", 60, 250, 400, 300), at(u"28195 Bremen", 570, 294, 760, 318)},
         21,
         u"Am Markt 3\n28195 Bremen"},
        // "3AG" is part of a postcode, not a legal form; a slogan with a street word is no street.
        {{at(u"101 Colmore Row", 20, 10, 300, 30), at(u"Birmingham B3 3AG", 20, 40, 300, 60)}, 35, u""},
        {{at(u"Care close to home", 20, 10, 300, 30)}, 21, u""},
        // Departments and titles of both scripts, with and without a department word.
        {{at(u"製造部 品質管理課 常務取締役", 20, 10, 400, 40)}, 10, u"常務取締役"},
        {{at(u"製造部 品質管理課 常務取締役", 20, 10, 400, 40)}, 37, u"製造部 品質管理課"},
        {{at(u"Accounts Payable", 20, 10, 300, 30)}, 37, u"Accounts Payable"},
        {{at(u"Personalabteilung", 20, 10, 300, 30)}, 37, u"Personalabteilung"},
        {{at(u"Engineering excellence", 20, 10, 300, 30)}, 37, u""},
        {{at(u"General Counsel", 20, 10, 300, 30)}, 10, u"General Counsel"},
        {{at(u"Creative Director, Business Development P +44 1793 496 0676", 20, 10, 800, 40)}, 37, u"Business Development"},
        {{at(u"Creative Director, Business Development P +44 1793 496 0676", 20, 10, 800, 40)}, 13, u"+44 1793 496 0676"},
        // A title after a department on its line, also one no rule knows; units of every kind.
        {{at(u"大阪支店 法人営業課 支社長", 20, 10, 400, 40)}, 10, u"支社長"},
        {{at(u"大阪支店 法人営業課 支社長", 20, 10, 400, 40)}, 37, u"大阪支店 法人営業課"},
        {{at(u"経営管理本部 財務経理部 シニアコンサルタント", 20, 10, 500, 40)}, 10, u"シニアコンサルタント"},
        {{at(u"九州支社 担当課長", 20, 10, 400, 40)}, 37, u"九州支社"},
        {{at(u"経営企画室室長", 20, 10, 400, 40)}, 37, u"経営企画室"},
        {{at(u"お客様相談室", 20, 10, 400, 40)}, 37, u"お客様相談室"},
        {{at(u"地域の未来を創るグループ", 20, 10, 400, 40)}, 37, u""},
        // A title by its rank word is no name; one without is the line set just above the name.
        {{at(u"監査役", 20, 10, 120, 40), at(u"官原 AA", 20, 60, 300, 130)}, 10, u"監査役"},
        {{at(u"主筆", 20, 10, 120, 40), at(u"林 薫", 20, 60, 300, 130)}, 10, u"主筆"},
        // Furigana over the name, and a katakana title that does not read as the name.
        {{at(u"アナリスト", 20, 10, 200, 40), at(u"おにづか ことね", 20, 50, 260, 70), at(u"鬼塚琴音", 20, 80, 340, 140)},
         10,
         u"アナリスト"},
        {{at(u"アナリスト", 20, 10, 200, 40), at(u"おにづか ことね", 20, 50, 260, 70), at(u"鬼塚琴音", 20, 80, 340, 140)},
         5,
         u"おにづか ことね"},
        {{at(u"ウエムラカオル", 20, 10, 200, 30), at(u"上村 薫", 20, 40, 300, 100)}, 5, u"ウエムラカオル"},
        {{at(u"プロデューサー", 20, 10, 200, 40), at(u"辻 カオリ", 20, 60, 300, 130)}, 10, u"プロデューサー"},
        // Look-alike katakana among kanji and a mark after the name; a split by the printed furigana.
        {{at(u"ト部 千尋", 20, 10, 300, 80)}, 0, u"卜部 千尋"},
        {{at(u"石井 浩ニ", 20, 10, 300, 80)}, 0, u"石井 浩二"},
        {{at(u"佐久間 カオリ|", 20, 10, 300, 80)}, 0, u"佐久間 カオリ"},
        {{at(u"岩崎 佳奈子     了", 20, 10, 500, 80)}, 0, u"岩崎 佳奈子"},
        {{at(u"あいもの まこと", 20, 10, 200, 30), at(u"四十物誠", 20, 40, 300, 100)}, 0, u"四十物 誠"},
        {{at(u"四十物誠", 20, 10, 300, 80), at(u"Makoto Aimono", 20, 90, 300, 110)}, 0, u"四十物 誠"},
        {{at(u"四十物誠", 20, 10, 300, 80), at(u"AIMONO Makoto", 20, 90, 300, 110)}, 0, u"四十物 誠"},
        // A family name ending in a unit ("日下部") before a given name the dictionary lacks,
        // in the name's large type, is the name; the department is set small.
        {{at(u"株式会社鶴見精機", 60, 40, 500, 80), at(u"開発部", 60, 120, 180, 150), at(u"日下部 颯太", 60, 170, 420, 240),
          at(u"TEL 03-5210-4471", 60, 300, 360, 330)},
         0,
         u"日下部 颯太"},
        {{at(u"株式会社鶴見精機", 60, 40, 500, 80), at(u"開発部", 60, 120, 180, 150), at(u"日下部 颯太", 60, 170, 420, 240),
          at(u"TEL 03-5210-4471", 60, 300, 360, 330)},
         37,
         u"開発部"},
        {{at(u"主任", 60, 120, 140, 150), at(u"曽我部 琉生", 60, 170, 360, 240), at(u"鶴見精機株式会社", 60, 300, 400, 330)},
         0,
         u"曽我部 琉生"},
        {{at(u"主任", 60, 120, 140, 150), at(u"曽我部 琉生", 60, 170, 360, 240), at(u"鶴見精機株式会社", 60, 300, 400, 330)}, 10, u"主任"},
        {{at(u"長谷部 琉生", 60, 100, 300, 170), at(u"技術部 開発課", 60, 200, 300, 230), at(u"営業推進グループ", 60, 240, 300, 265)},
         0,
         u"長谷部 琉生"},
        {{at(u"長谷部 琉生", 60, 100, 300, 170), at(u"技術部 開発課", 60, 200, 300, 230), at(u"営業推進グループ", 60, 240, 300, 265)},
         37,
         u"技術部 開発課"},
        {{at(u"主任", 60, 100, 140, 130), at(u"そがべ るい", 60, 140, 240, 160), at(u"曽我部 琉 生", 60, 170, 360, 240),
          at(u"TEL 06-6345-2201", 60, 300, 400, 330)},
         0,
         u"曽我部 琉生"},
        // Letter-spaced, the two parts come as pieces of one row.
        {{at(u"日下部", 60, 100, 180, 170), at(u"颯太", 300, 102, 420, 170), at(u"営業部", 60, 200, 180, 230),
          at(u"TEL 06-6345-2201", 60, 240, 360, 270)},
         0,
         u"日下部 颯太"},
        // In the body's type, the romanised name on the card says it is one.
        {{at(u"曽我部 琉生", 60, 100, 300, 130), at(u"Rui Sogabe", 60, 140, 300, 170), at(u"営業部", 60, 180, 180, 210)},
         0,
         u"曽我部 琉生"},
        // The English company name the e-mail's domain names is no department.
        {{at(u"Shirakaba Accounting Office", 20, 10, 400, 30), at(u"Mail k.mori@shirakaba-ac.jp", 20, 50, 400, 70)}, 37, u""},
        // Companies without a legal form; logo scraps the domain lacks.
        {{at(u"しらかば会計事務所", 20, 10, 400, 60)}, 35, u"しらかば会計事務所"},
        {{at(u"Wi MARLOW CREATIVE", 20, 10, 400, 60), at(u"E: nowak@marlowcreative.com", 20, 80, 400, 100)}, 35, u"MARLOW CREATIVE"},
        {{at(u"Ci Éditions Sablier", 20, 10, 400, 60), at(u"Mél. lea@editions-sablier.fr", 20, 80, 400, 100)}, 35, u"Éditions Sablier"},
        {{at(u"Millbrook Dairy pic", 20, 10, 400, 60), at(u"E: j.doe@millbrookdairy.com", 20, 80, 400, 100)}, 35, u"Millbrook Dairy plc"},
        // Web and e-mail addresses with labels, lost dots and a misread "//".
        {{at(u"URL.www.hikari-eye.co.jp", 20, 10, 400, 30)}, 27, u"www.hikari-eye.co.jp"},
        {{at(u"Web. asesoria-fiscal-montana.es", 20, 10, 400, 30)}, 27, u"asesoria-fiscal-montana.es"},
        {{at(u"tecnologia-lusitana.com.br", 20, 10, 400, 30)}, 27, u"tecnologia-lusitana.com.br"},
        // A card without a legal form: its name set over the person's, or under the title with no
        // department word, is the company; a department word under the title stays the department.
        {{at(u"Larkspur Legal", 62, 68, 347, 109), at(u"Tyler Whitaker", 60, 227, 441, 284), at(u"Solicitor", 60, 302, 154, 322),
          at(u"125 Deansgate", 60, 463, 213, 491), at(u"Belfast BT1 5GS", 60, 501, 238, 527)},
         35,
         u"Larkspur Legal"},
        {{at(u"Loic Delacroix", 66, 229, 547, 299), at(u"Architecte", 60, 326, 206, 365), at(u"Vignobles de la Côte", 59, 390, 391, 424),
          at(u"59000 Lille", 574, 377, 724, 400)},
         35,
         u"Vignobles de la Côte"},
        {{at(u"Loic Delacroix", 66, 229, 547, 299), at(u"Architecte", 60, 326, 206, 365), at(u"Ressources humaines", 59, 390, 391, 424),
          at(u"59000 Lille", 574, 377, 724, 400)},
         37,
         u"Ressources humaines"},
        {{at(u"Thiago Ferreira Goncalves", 59, 249, 455, 281), at(u"Diretor-geral", 61, 325, 220, 352),
          at(u"Tecnologia Lusitana Eireli", 60, 385, 460, 416)},
         35,
         u"Tecnologia Lusitana Eireli"},
        // Legal forms of more kinds of firm: "S.L.L." is no "S.L." followed by a letter.
        {{at(u"Martín Benítez Galán", 60, 100, 500, 160), at(u"Abogado", 60, 175, 200, 205),
          at(u"Consultoría Ágora S.L.L.", 60, 380, 400, 410), at(u"Calle Mayor, 14", 60, 430, 400, 455)},
         35,
         u"Consultoría Ágora S.L.L."},
        {{at(u"Jonas Weber", 60, 100, 500, 160), at(u"Elbtal Stahlbau OHG", 60, 380, 400, 410)}, 35, u"Elbtal Stahlbau OHG"},
        {{at(u"Kai-Uwe Haberl", 60, 100, 500, 160), at(u"Sportfreunde Ulm e.V.", 60, 380, 400, 410)}, 35, u"Sportfreunde Ulm e.V."},
        // A Korean department set over the name stays the department.
        {{at(u"마케팅팀", 478, 195, 593, 223), at(u"차장", 508, 237, 567, 265), at(u"이현우", 421, 288, 658, 368),
          at(u"Lee Hyun-woo", 450, 396, 625, 420)},
         37,
         u"마케팅팀"},
        // The tail of an e-mail address whose "@" was misread is no web page.
        {{at(u"E-mail gilhernandez_jeasesoria-fiscal-montana.es", 65, 453, 586, 476), at(u"Web", 64, 486, 110, 503),
          at(u"https://www.asesoria-fiscal-montana.es", 159, 484, 554, 506)},
         27,
         u"https://www.asesoria-fiscal-montana.es"},
        // The ending of an e-mail address the engine broke apart is no web page.
        {{at(u"E-mail wingsze-wang@] ianhua-trade .com. tw", 20, 10, 400, 30)}, 27, u""},
        {{at(u"URL https:/Awww.hokuriku.co.jp", 20, 10, 400, 30)}, 27, u"www.hokuriku.co.jp"},
        {{at(u"E-mail y.kawamura@nishimura-kasei jp", 20, 10, 400, 30)}, 23, u"y.kawamura@nishimura-kasei.jp"},
        {{at(u"wwwshirakaba-ac.jp", 20, 10, 400, 30), at(u"Mail k.mori@shirakaba-ac.jp", 20, 50, 400, 70)}, 27, u"www.shirakaba-ac.jp"},
        {{at(u"E__w.braun@kingsleymoore.com", 20, 10, 400, 30)}, 23, u"w.braun@kingsleymoore.com"},
        // A Latin card's name is the line set just over the title, not the larger wordmark of a
        // company (a kind of business, a logo mark before it, the words of the web address).
        {{at(u"A TERN CAPITAL", 262, 60, 785, 121), at(u"Henrik Kuznetsova", 222, 209, 828, 254),
          at(u"Solicitor, IT Services", 355, 284, 696, 315)},
         0,
         u"Henrik Kuznetsova"},
        {{at(u"A TERN CAPITAL", 262, 60, 785, 121), at(u"Henrik Kuznetsova", 222, 209, 828, 254),
          at(u"Solicitor, IT Services", 355, 284, 696, 315)},
         35,
         u"TERN CAPITAL"},
        {{at(u"Dominik Whitcombe", 65, 60, 511, 104), at(u"WEB: halberdsec.co.uk", 679, 106, 1012, 128),
          at(u"Chief Financial Officer", 63, 123, 493, 146), at(u"Halberd Security", 572, 524, 1012, 587)},
         0,
         u"Dominik Whitcombe"},
        {{at(u"STERLING VANCE", 60, 40, 600, 110), at(u"Lukas Keller", 60, 200, 400, 240), at(u"www.sterlingvance.com", 60, 400, 400, 420)},
         0,
         u"Lukas Keller"},
        {{at(u"STERLING VANCE", 60, 40, 600, 110), at(u"Lukas Keller", 60, 200, 400, 240), at(u"www.sterlingvance.com", 60, 400, 400, 420)},
         35,
         u"STERLING VANCE"},
        // Particles, and what the engine read after the name on its row.
        {{at(u"Dr. Thaddeus ten Brink | 5022; 874 0566", 58, 286, 769, 337), at(u"Vertriebsleiterin", 59, 345, 243, 378)},
         0,
         u"Dr. Thaddeus ten Brink"},
        {{at(u"Benjamin Dubois | §\"p59 2018 c", 58, 286, 769, 337)}, 0, u"Benjamin Dubois"},
        // A name read into one line with the e-mail address on its row; a name set just under a
        // wordmark is no second line of it; a scrap of the name's large type is no name.
        {{at(u"Fenella A. Abernethy fenella.abernethy@copperleafstudio.uk", 71, 88, 1008, 160),
          at(u"Chief Financial Officer", 71, 159, 356, 186), at(u"Copperleaf Studio", 640, 543, 1023, 593)},
         0,
         u"Fenella A. Abernethy"},
        {{at(u"Sterling Vance", 293, 86, 781, 162), at(u"Lukas Keller", 342, 211, 728, 273),
          at(u"Senior Software Engineer", 322, 298, 741, 339), at(u"Web www.sterlingvance.com", 324, 511, 726, 545)},
         0,
         u"Lukas Keller"},
        {{at(u"Sterling Vance", 293, 86, 781, 162), at(u"Lukas Keller", 342, 211, 728, 273),
          at(u"Senior Software Engineer", 322, 298, 741, 339), at(u"Web www.sterlingvance.com", 324, 511, 726, 545)},
         35,
         u"Sterling Vance"},
        {{at(u"li", 124, 60, 154, 105), at(u"Fe 1X Ke er", 54, 63, 382, 106), at(u"Sales Director", 55, 140, 257, 164)}, 0, u"Fe 1X Ke er"},
        {{at(u"Andrew Lindqvist — ®x-.waczi0s", 58, 286, 769, 337)}, 0, u"Andrew Lindqvist"},
    };
    for (const auto& c : cases) {
        const ResultSlots f = classifyCardLines(c.lines, family, reading);
        EXPECT_EQ(f[size_t(c.slot)].text, QString::fromUtf16(c.expected)) << c.lines.front().text.toStdString();
    }
}

TEST(LatinNameShape, NamesAndWhatTheEngineMakesOfThem)
{
    const struct {
        const char16_t* text;
        bool name;
        bool split;
    } cases[] = {
        {u"Hannah Chen", true, false},           {u"Élodie zu Löwenstein", true, false},
        {u"Fenella A. de la Cruz", true, false}, {u"Dr. Saoirse N'Diaye-McCready", true, false},
        {u"MEI-LING DEVRIES", true, false},      {u"Sales and Marketing", false, true},
        {u"Han nah Chen", false, true},          {u"To b ias M O reau", false, true},
        {u"G COrge A eye mI", false, true},      {u"Al DA N ROSSI", true, true},
        {u"Sophie L ndqvist", false, true},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(isLatinNameShaped(text), c.name) << text.toStdString();
        EXPECT_EQ(looksSplitInsideWords(text), c.split) << text.toStdString();
    }
}

TEST(LatinNameShape, NamesPutRightByTheirEmailAddress)
{
    const struct {
        const char16_t* name;
        const char16_t* mail;
        const char16_t* expected;
    } cases[] = {
        {u"Han nah Chen", u"hannah.chen@lumenoptics.co.uk", u"Hannah Chen"},
        {u"James Oka for", u"j.okafor@lumenoptics.co.uk", u"James Okafor"},
        {u"MEI LING KUZNETSOVA", u"mei-ling.k@corvidrobotics.co.uk", u"MEI-LING KUZNETSOVA"},
        {u"Sophie L ndqvist", u"sophie.lindqvist@x.com", u"Sophie Lindqvist"},
        {u"Sophie Lndqvist", u"slindqvist@x.com", u"Sophie Lindqvist"},
        {u"Élodie Lafayette", u"elodie.lafayette@x.com", u"Élodie Lafayette"},
        // Words of their own stay apart; an address that spells another name changes nothing.
        {u"Anna Lopez", u"annalopez@x.com", u"Anna Lopez"},
        {u"Lukas Keller", u"lkeller@x.com", u"Lukas Keller"},
        {u"Hannah Mitchell", u"h.mitchelli@x.com", u"Hannah Mitchell"},
        {u"Eleanor Harrington", u"eleanor-harrington@x.com", u"Eleanor Harrington"},
        {u"Saoirse N Diaye", u"s.ndiaye@x.com", u"Saoirse N'Diaye"},
        {u"Anna Lopez", u"info@x.com", u"Anna Lopez"},
        {u"Anna Lopez", u"", u"Anna Lopez"},
    };
    for (const auto& [read, spelled] : {std::pair{u"PIERLUIG! LOMBARDI", u"PIERLUIGI LOMBARDI"}, {u"Márcio (GUIMARÃES", u"Márcio GUIMARÃES"},
                                        {u"Nicolás García- Olmedo", u"Nicolás García-Olmedo"}, {u"Aoife Mcintyre", u"Aoife McIntyre"},
                                        {u"Ann Macintosh (Sales)", u"Ann Macintosh (Sales)"}, {u"Fiona Mc Gill", u"Fiona Mc Gill"}})
        EXPECT_EQ(latinNameWithLettersForMarks(QString::fromUtf16(read)), QString::fromUtf16(spelled));
    // The address's dots stand between the name's words only.
    for (const auto& [mail, name, whole] :
         {std::tuple{u"simone.dossa.ntossimoes@x.com.br", u"SIMONE DOS SANTOS SIMÕES", u"simone.dossantossimoes@x.com.br"},
          {u"simone.dos.santos@x.com.br", u"Simone dos Santos", u"simone.dos.santos@x.com.br"},
          {u"jeanl.uc.mccready@x.fr", u"Jean-Luc McCready", u"jeanluc.mccready@x.fr"},
          {u"j.smith@x.com", u"John Smith", u"j.smith@x.com"},
          {u"sales.team@x.com", u"Anna Lopez", u"sales.team@x.com"}})
        EXPECT_EQ(mailAddressWithNameWordsWhole(QString::fromUtf16(mail), QString::fromUtf16(name)), QString::fromUtf16(whole));
    EXPECT_EQ(latinNameWithInitialStops(u"Tobias R Wolff"_qs), u"Tobias R. Wolff"_qs);
    EXPECT_EQ(latinNameWithInitialStops(u"Robert S$. Novak"_qs), u"Robert S. Novak"_qs);
    EXPECT_EQ(latinNameWithInitialStops(u"ISOLDE S. BRIAIN"_qs), u"ISOLDE S. BRIAIN"_qs);
    EXPECT_EQ(latinNameWithInitialStops(u"MEI LING DEVRIES"_qs), u"MEI LING DEVRIES"_qs);
    for (const auto& c : cases) {
        EXPECT_EQ(latinNameSpelledByMail(QString::fromUtf16(c.name), QString::fromUtf16(c.mail)), QString::fromUtf16(c.expected))
            << QString::fromUtf16(c.name).toStdString();
    }
}

// Letters' extents as the engine gives them for names in small capitals and in capitals, their
// lines slanting slightly.
TEST(LatinNameShape, SmallCapitalsSpelledAsPrinted)
{
    const std::vector<LetterExtent> raj = {{216, 261}, {228, 260}, {227, 259}, {214, 259}, {225, 258}, {214, 259}, {225, 257},
                                           {224, 256}, {223, 256}, {223, 255}, {222, 255}, {222, 254}, {221, 254}};
    const std::vector<LetterExtent> sophie = {{82, 120}, {81, 120}, {79, 119}, {78, 118}, {78, 117}, {77, 116}, {77, 115},
                                              {76, 115}, {75, 114}, {74, 114}, {74, 112}, {71, 114}, {72, 112}, {71, 111}};
    // J, e, a, n, B, a, p, t, i, s, t, e, O, C, o, n, n, o, r: the capitals 40 pixels high, the
    // small capitals 28.
    // Á, L, V, A, R, O, G, A, R, C, Í, A in capitals of one height, the accents standing over them
    // and the line slanting a little.
    const std::vector<LetterExtent> alvaro = {{10, 50}, {22, 50}, {22, 50}, {22, 50}, {22, 50}, {22, 50},
                                              {22, 50}, {24, 50}, {24, 50}, {24, 50}, {12, 50}, {24, 50}};
    std::vector<LetterExtent> jeanBaptiste(19, {22, 50});
    for (const size_t capital : {0, 4, 12, 13})
        jeanBaptiste[capital] = {10, 50};
    // D, r, A, n, n, e, K, a, t, h, r, i, n, R, ü, c, k, e, r, t.
    std::vector<LetterExtent> anneKathrin(20, {22, 50});
    for (const size_t capital : {0, 2, 6, 13})
        anneKathrin[capital] = {10, 50};
    // D, r, A, n, n, e, K, a, t, h, r, i, n, M, c, C, r, e, a, d, y.
    std::vector<LetterExtent> anneMcCready(21, {22, 50});
    for (const size_t capital : {0, 2, 6, 13, 15})
        anneMcCready[capital] = {10, 50};
    // S, i, m, o, n, e, d, o, s, S, a, n, t, o, s and C, a, l, l, u, m, D, e, S, o, u, z, a: a
    // particle in small capitals, and one with its capital.
    std::vector<LetterExtent> simoneDos(15, {22, 50});
    for (const size_t capital : {0, 9})
        simoneDos[capital] = {10, 50};
    std::vector<LetterExtent> callumDe(13, {22, 50});
    for (const size_t capital : {0, 6, 8})
        callumDe[capital] = {10, 50};
    const struct {
        const char16_t* name;
        const std::vector<LetterExtent>& letters;
        const char16_t* spelled;
    } cases[] = {
        {u"RaJ FITZGERALD", raj, u"Raj Fitzgerald"},
        {u"RAJ FITZGERALD", raj, u"Raj Fitzgerald"},
        {u"JEAN-BAPTISTE O'CONNOR", jeanBaptiste, u"Jean-Baptiste O'Connor"},
        {u"Jean-Baptiste O'Connor", jeanBaptiste, u"Jean-Baptiste O'Connor"},
        {u"DR. ANNE-KATHRIN RÜCKERT", anneKathrin, u"Dr. Anne-Kathrin Rückert"},
        {u"DR. ANNE-KATHRIN MCCREADY", anneMcCready, u"Dr. Anne-Kathrin McCready"},
        {u"SIMONE DOS SANTOS", simoneDos, u"Simone dos Santos"},
        {u"CALLUM DE SOUZA", callumDe, u"Callum De Souza"},
        // Capitals of one height are printed so.
        {u"DR. SOPHIE DUBOIS", sophie, u"DR. SOPHIE DUBOIS"},
        {u"ÁLVARO GARCÍA", alvaro, u"ÁLVARO GARCÍA"},
        // Letters that are not the name's leave it as it is.
        {u"RAJ FITZ GERALD", sophie, u"RAJ FITZ GERALD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(latinNameOutOfSmallCaps(QString::fromUtf16(c.name), c.letters), QString::fromUtf16(c.spelled)) << QString::fromUtf16(c.name).toStdString();

    // "LOÏC FAURE" in small capitals: the line reads "Loïc FAURE", the symbols of its box "|OIC
    // FAURE", the L a bar; without the bar the extents fall one letter behind the name's.
    const struct {
        const char* symbol;
        int top;
    } symbols[] = {{"|", 172}, {"O", 181}, {"I", 174}, {"C", 181}, {"F", 172}, {"A", 181}, {"U", 181}, {"R", 181}, {"E", 181}, {".", 205}};
    std::vector<LetterExtent> loic;
    for (const auto& s : symbols) {
        if (symbolStandsForALetter(QString::fromLatin1(s.symbol)))
            loic.push_back({s.top, 209});
    }
    EXPECT_EQ(latinNameOutOfSmallCaps(u"Loïc FAURE"_qs, loic), u"Loïc Faure"_qs);
}

// Names read without their marks, on cards of each language.
TEST(AccentedNames, NamesTakeTheMarksOfTheirLanguage)
{
    const struct {
        int language;
        const char16_t* read;
        const char16_t* spelled;
    } cases[] = {
        {kLanguageFrench, u"Loic Benard", u"Loïc Bénard"},
        {kLanguageFrench, u"Jean-Loic LEMAITRE", u"Jean-Loïc LEMAÎTRE"},
        {kLanguageFrench, u"Dr Helene d'Aubigne", u"Dr Hélène d'Aubigné"},
        // An accent read wrong is put right; a name spelled both ways stays as read.
        {kLanguageFrench, u"Loìc Lefevre", u"Loïc Lefèvre"},
        {kLanguageFrench, u"Eric Leo Martin", u"Eric Leo Martin"},
        {kLanguageSpanish, u"Inaki Ordonez de la Pena", u"Iñaki Ordóñez de la Peña"},
        {kLanguagePortuguese, u"Joao Goncalves", u"João Gonçalves"},
        {kLanguagePortuguese, u"Antonio Simoes", u"Antonio Simões"},
        {kLanguageItalian, u"Niccolo Cantu", u"Niccolò Cantù"},
        {kLanguageGerman, u"Jurgen Muller-Schafer", u"Jürgen Müller-Schäfer"},
        {kLanguageGerman, u"Volker Kuhn", u"Volker Kuhn"},
        // Only the card's own language's names: "Jose" on an English or German card, "Muller" on
        // a French one, "Loic" on a Russian one.
        {kLanguageEnglish, u"Jose Garcia", u"Jose Garcia"},
        {kLanguageGerman, u"Jose Garcia", u"Jose Garcia"},
        {kLanguageFrench, u"Anna Muller", u"Anna Muller"},
        {kLanguageRussian, u"Loic", u"Loic"},
        {-1, u"Loic", u"Loic"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withAccentsOfKnownNames(QString::fromUtf16(c.read), c.language), QString::fromUtf16(c.spelled))
            << QString::fromUtf16(c.read).toStdString() << " " << c.language;
}

TEST(AccentedNames, PlacesTakeTheMarksOfTheirLanguage)
{
    const struct {
        int language;
        const char16_t* read;
        const char16_t* spelled;
    } cases[] = {
        {kLanguageFrench, u"38 rue Paul Bert, 30000 Nimes", u"38 rue Paul Bert, 30000 Nîmes"},
        {kLanguageFrench, u"146 rue Edouard Herriot\n2 allee des Erables\n45000 ORLEANS", u"146 rue Édouard Herriot\n2 allée des Érables\n45000 ORLÉANS"},
        {kLanguageGerman, u"Konigstraße 5\n50667 Koln", u"Königstraße 5\n50667 Köln"},
        {kLanguagePortuguese, u"Av. Sao Joao, 12\n4810-225 Guimaraes", u"Av. São João, 12\n4810-225 Guimarães"},
        {kLanguageSpanish, u"Calle Colon, 5\n29015 MALAGA", u"Calle Colón, 5\n29015 MÁLAGA"},
        {kLanguageSpanish, u"Carrer de la Forca, 21\n17004 Girona", u"Carrer de la Força, 21\n17004 Girona"},
        // A word spelled both ways stays as read; so does every word of a card of another language,
        // and a word no list holds.
        {kLanguagePortuguese, u"Rua Antonio Carlos, 4", u"Rua Antonio Carlos, 4"},
        {kLanguageSpanish, u"Via Augusta, 12\n08006 Barcelona", u"Via Augusta, 12\n08006 Barcelona"},
        {kLanguageEnglish, u"30000 Nimes", u"30000 Nimes"},
        {-1, u"50667 Koln", u"50667 Koln"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withAccentsOfKnownPlaces(QString::fromUtf16(c.read), c.language), QString::fromUtf16(c.spelled))
            << QString::fromUtf16(c.read).toStdString() << " " << c.language;
}

TEST(JapanesePersonWords, ReadingsInLatinLetters)
{
    const struct {
        const char16_t* katakana;
        const char16_t* latin;
        bool same;
    } cases[] = {
        {u"サトウ", u"Sato", true},  {u"サトウ", u"SATOU", true},     {u"オオノ", u"Ohno", true},    {u"イノウエ", u"Inoue", true},
        {u"ホンマ", u"Homma", true}, {u"ハットリ", u"Hattori", true}, {u"キョウコ", u"Kyoko", true}, {u"ショウタ", u"Shota", true},
        {u"ユウキ", u"Yuki", true},  {u"サトウ", u"Saito", false},    {u"アイ", u"Aimono", false},   {u"", u"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readsAsRomanised(QString::fromUtf16(c.katakana), QString::fromUtf16(c.latin)), c.same)
            << QString::fromUtf16(c.katakana).toStdString() << " " << QString::fromUtf16(c.latin).toStdString();
    }
}

TEST(CardFields, EmailNamesTheCompanyAndThePerson)
{
    // A wordmark without a legal form, a larger slogan, and the person in smaller type.
    const ResultSlots f = classifyCardLines(linesOf({{u"H A R B O U R L I N E", 50},
                                                     {u"Moving Things Forward", 70},
                                                     {u"Aidan Nakamura", 40},
                                                     {u"email a.nakamura@harbourline.co.uk", 30}}));
    EXPECT_EQ(f[35].text, u"H A R B O U R L I N E"_qs);
    EXPECT_EQ(f[0].text, u"Aidan Nakamura"_qs);

    // The Japanese name goes before its English form, and furigana above it is its reading.
    const ResultSlots j = classifyCardLines(linesOf({{u"@ 株式会社日之出食品", 40},
                                                     {u"いとう しょうた", 20},
                                                     {u"伊藤 翔太", 60},
                                                     {u"Shota Ito", 30},
                                                     {u"E-mail :ito-s@hinode-foods.co.jp", 30}}));
    EXPECT_EQ(j[35].text, u"株式会社日之出食品"_qs);
    EXPECT_EQ(j[0].text, u"伊藤 翔太"_qs);
    EXPECT_EQ(j[5].text, u"いとう しょうた"_qs);
    EXPECT_EQ(j[23].text, u"ito-s@hinode-foods.co.jp"_qs);
}

// The local part of an e-mail address whose underscore or dot the engine set apart or read as a
// blank, and labels run into the addresses of a line.
TEST(CardFields, MailAndWebAddressesTheEngineBroke)
{
    const struct {
        const char16_t *read, *mail, *web;
    } cases[] = {
        {u"E | brandao s@papelaria-lis.com", u"brandao_s@papelaria-lis.com", u""},
        {u"E-mail: quayle _d@apex-3-robotics.com", u"quayle_d@apex-3-robotics.com", u""},
        {u"© solene vasseur@menuiserie-3d.fr", u"solene.vasseur@menuiserie-3d.fr", u""},
        {u"E f almeida@atlas-seguros.com.br", u"f.almeida@atlas-seguros.com.br", u""},
        // A scrap of an icon, a digit of a number or a label before the address is none of it.
        {u"ia pennington@keel-point.io", u"pennington@keel-point.io", u""},
        {u"0161 496 0000 tessier@sud-telecom.fr", u"tessier@sud-telecom.fr", u""},
        {u"email vaughan@wren-hart.co.uk", u"vaughan@wren-hart.co.uk", u""},
        {u"E-mail. nogueira@gr-girassol.pt Site. gr-girassol.pt", u"nogueira@gr-girassol.pt", u"gr-girassol.pt"},
        {u"Courriel m.renaud@joly.fr Web https://www.joly.fr", u"m.renaud@joly.fr", u"https://www.joly.fr"},
        {u"E-mail. mankit. hsieh@lianhua-trade.tw", u"mankit.hsieh@lianhua-trade.tw", u""},
        // A scrap of an icon before the label; letters of a name no English address has.
        {u"e Correo. andres.hernandez@asesoria-montana.es", u"andres.hernandez@asesoria-montana.es", u""},
        // A label of one letter before an address starting with the same letter and a dot.
        {u"e e.martin@northwind.com", u"e.martin@northwind.com", u""},
        {u"E E.Martin@northwind.com", u"E.Martin@northwind.com", u""},
        {u"Wilhelmshöher Allee 96, 18055 Rostock E-Mail. pfeiffer_i@westfalen-agrar.de", u"pfeiffer_i@westfalen-agrar.de", u""},
        {u"Mail strauß@auerbach-druckerei. de", u"strauß@auerbach-druckerei.de", u""},
        {u"© gstrauß@auerbach-druckerei.com", u"gstrauß@auerbach-druckerei.com", u""},
        {u"jürgen.weiß@müller-bau.de", u"jürgen.weiß@müller-bau.de", u""},
        // A small e and a dot run into the name are its initial; a capital E so is a label.
        {u"e.belousov@ladoga-treid.com", u"e.belousov@ladoga-treid.com", u""},
        {u"© e.belousov@ladoga-treid.com", u"e.belousov@ladoga-treid.com", u""},
        {u"E.yumi@sakura.jp", u"yumi@sakura.jp", u""},
        {u"E. yumi@sakura.jp", u"yumi@sakura.jp", u""},
        // A label before a name the engine broke at a blank.
        {u"E-mail. simone.dossantos simoes@estrela.com.br", u"simone.dossantos.simoes@estrela.com.br", u""},
        // A small l read as a bar.
        {u"ponomarev_|@pryaniki.ru", u"ponomarev_l@pryaniki.ru", u""},
        {u"pau|.ruiz@sur.es", u"paul.ruiz@sur.es", u""},
    };
    for (const auto& c : cases) {
        const QString read = QString::fromUtf16(c.read);
        bool social = false;
        EXPECT_EQ(mailAddressIn(read).toStdString(), QString::fromUtf16(c.mail).toStdString()) << read.toStdString();
        EXPECT_EQ(webAddressIn(read, &social).toStdString(), QString::fromUtf16(c.web).toStdString()) << read.toStdString();
    }
}

// A number set on the e-mail address's row is still the card's number.
TEST(CardFields, NumberBesideTheMailAddress)
{
    const ResultSlots f = classifyCardLines(linesOf({{u"Yannick Courtois", 50},
                                                     {u"© courtois@imprimerie-lambertin.fr © +33 (0)2 96 41 20 18", 30},
                                                     {u"12 rue Pasteur, 29200 Brest", 30}}));
    EXPECT_EQ(f[23].text, u"courtois@imprimerie-lambertin.fr"_qs);
    EXPECT_EQ(f[13].text, u"+33 (0)2 96 41 20 18"_qs);
}

TEST(CardFields, TextCleaningAndEncoding)
{
    const ResultSlots both = classifyCardLines(linesOf({{u"営業部 部長", 30}, {u"山田 太郎", 60}}));
    EXPECT_EQ(both[37].text, u"営業部"_qs);
    EXPECT_EQ(both[10].text, u"部長"_qs);
    EXPECT_EQ(both[0].text, u"山田 太郎"_qs);

    EXPECT_EQ(cleanRecognizedText(u"  山 田 太 郎 Tel 03 "_qs), u"山田太郎 Tel 03"_qs);
    EXPECT_EQ(cleanRecognizedText(u"山田 太郎"_qs), u"山田 太郎"_qs);
    EXPECT_EQ(cleanRecognizedText(u"営 業 部 部長"_qs), u"営業部 部長"_qs);

    ResultSlots f{};
    f[0] = {QString(130, u'a') + QString::fromUcs4(U"\U0002000B"), 1, 2, 3, 4, true};
    const QByteArray encoded = encodeResultSlots(f);
    ASSERT_EQ(size_t(encoded.size()), ocr::kResultSize);
    const auto* slot = reinterpret_cast<const uint8_t*>(encoded.constData());
    EXPECT_EQ(ocr::readU16(slot + ocr::kFieldRightOffset), 3);
    EXPECT_EQ(ocr::readU16(slot + ocr::kFieldTextOffset + 2 * 129), u'a');
    EXPECT_EQ(ocr::readU16(slot + ocr::kFieldTextOffset + 2 * 130), 0); // the pair would not fit whole
    EXPECT_EQ(ocr::readU16(slot + ocr::kFieldTextOffset + 2 * 131), 0);
}

OcrMessage request(int width, int height, int bytesPerRow, int bpp, uint32_t claimed, int dataSize,
                   int type = 0, int language = 1, int right = -1, int bottom = -1)
{
    QByteArray pa(80, '\0'), in(24, '\0');
    auto* p = reinterpret_cast<uint8_t*>(pa.data());
    auto* i = reinterpret_cast<uint8_t*>(in.data());
    p[3] = uint8_t(type);
    ocr::writeI32(p + 20, right < 0 ? width - 1 : right);
    ocr::writeI32(p + 24, bottom < 0 ? height - 1 : bottom);
    ocr::writeI32(p + 60, language);
    ocr::writeU16(i, uint16_t(width));
    ocr::writeU16(i + 2, uint16_t(height));
    ocr::writeU16(i + 4, uint16_t(bytesPerRow));
    i[6] = 2;
    ocr::writeU32(i + 12, claimed);
    i[16] = uint8_t(bpp);
    OcrMessage m;
    m.eventClass = ocr::kEventClass;
    m.eventId = ocr::kEventRun;
    m.params = {{ocr::kKeyParam, pa}, {ocr::kKeyImageInfo, in}, {ocr::kKeyImage, QByteArray(dataSize, '\xFF')}};
    return m;
}

TEST(RecognitionRequest, Validation)
{
    const struct {
        OcrMessage message;
        int32_t status;
        const char* what;
    } cases[] = {
        {request(16, 4, 16, 8, 64, 64), kStatusOk, "grey"},
        {request(16, 4, 2, 1, 8, 8), kStatusOk, "mono"},
        {request(16, 4, 16, 8, 64, 64, 27, 0, 3, 2), kStatusOk, "field tag with a box"},
        {request(0, 0, 0, 8, 0, 0), kStatusFormError, "zero size"},
        {request(16, 4, 16, 8, 64, 60), kStatusFormError, "bitmap shorter than described"},
        {request(16, 4, 16, 8, 60, 60), kStatusFormError, "size disagreeing with the rows"},
        {request(16, 4, 1, 1, 4, 4), kStatusFormError, "rows too short"},
        {request(16, 4, 16, 24, 64, 64), kStatusFormError, "unknown pixel format"},
        {request(20000, 20000, 20000, 8, 400000000u, 0), kStatusFormError, "20,000 x 20,000 claim"},
        {request(16, 4, 16, 8, 64, 64, 5), kStatusFormError, "unknown type"},
        {request(16, 4, 16, 8, 64, 64, 0, 12), kStatusLanguageError, "unknown language"},
        {request(16, 4, 16, 8, 64, 64, 0, 1, 16, 3), kStatusFormError, "area past the right edge"},
    };
    for (const auto& c : cases) {
        RecognitionRequest parsed;
        EXPECT_EQ(parseRecognitionRequest(c.message, &parsed), c.status) << c.what;
    }
    OcrMessage missing = request(16, 4, 16, 8, 64, 64);
    missing.params.pop_back();
    RecognitionRequest parsed;
    EXPECT_EQ(parseRecognitionRequest(missing, &parsed), kStatusFormError);
}

} // namespace

