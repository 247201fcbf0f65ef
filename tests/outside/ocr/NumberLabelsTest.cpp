#include "outside/ocr/CardFields.h"
#include "outside/ocr/NumberLabels.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The lines of a card, set one below the other in body type.
std::vector<RecognizedLine> cardOf(std::initializer_list<const char16_t*> texts)
{
    std::vector<RecognizedLine> lines;
    int top = 10;
    for (const char16_t* text : texts) {
        lines.push_back({QString::fromUtf16(text), 20, top, 600, top + 29});
        top += 40;
    }
    return lines;
}

struct Numbers {
    const char16_t* telephone;
    const char16_t* mobile;
    const char16_t* fax;
};

void expectNumbers(const ResultSlots& f, const Numbers& want, const std::string& what)
{
    EXPECT_EQ(f[13].text, QString::fromUtf16(want.telephone)) << what;
    EXPECT_EQ(f[31].text, QString::fromUtf16(want.mobile)) << what;
    EXPECT_EQ(f[16].text, QString::fromUtf16(want.fax)) << what;
}

// Rows of round icons the engine reads as a stray mark or letter, or not at all: a number's kind
// then comes from its form, in the numbering of the country the card shows.
TEST(NumberLabels, IconRowsTakeTheirKindFromTheNumbersForm)
{
    const struct {
        std::initializer_list<const char16_t*> card;
        Numbers want;
    } cases[] = {
        {{u"© +44 20 7946 0123", u"® +44 7700 900123", u"anna@harbour.co.uk"}, {u"+44 20 7946 0123", u"+44 7700 900123", u""}},
        // Without a country code the mail's domain tells the country.
        {{u"Q 0161 496 0000", u"@ 07700 900123", u"anna@harbour.co.uk"}, {u"0161 496 0000", u"07700 900123", u""}},
        {{u"& 07700 900123", u"e 0161 496 0000", u"12 Park Row, Leeds LS1 5JL"}, {u"0161 496 0000", u"07700 900123", u""}},
        // A round icon read as "O" is no label of an office number.
        {{u"@ +34 955 316 325", u"O +34 718 649 921", u"info@empresa.es"}, {u"+34 955 316 325", u"+34 718 649 921", u""}},
        {{u"@ 07 3264 2325", u"O +61 469 762 875", u"www.granite.com.au"}, {u"07 3264 2325", u"+61 469 762 875", u""}},
        {{u"© 06 12 34 56 78", u"© 01 23 45 67 89", u"claire@lumiere.fr"}, {u"01 23 45 67 89", u"06 12 34 56 78", u""}},
        {{u"• 612 345 678", u"• 912 345 678", u"Calle Mayor 5, 28013 Madrid"}, {u"912 345 678", u"612 345 678", u""}},
        {{u"347 123 4567", u"02 1234 5678", u"info@studio.it"}, {u"02 1234 5678", u"347 123 4567", u""}},
        {{u"912 345 678", u"213 456 789", u"1000-001 Lisboa"}, {u"213 456 789", u"912 345 678", u""}},
        {{u"0412 345 678", u"(02) 9876 5432", u"Level 5, 1 Martin Place", u"Sydney NSW 2000"}, {u"(02) 9876 5432", u"0412 345 678", u""}},
        {{u"© 090-1234-5678", u"© 03-1234-5678", u"株式会社山田商事"}, {u"03-1234-5678", u"090-1234-5678", u""}},
        {{u"138 0013 8000", u"010-1234 5678", u"北京市朝阳区建国路88号"}, {u"010-1234 5678", u"138 0013 8000", u""}},
        {{u"010-1234-5678", u"02-1234-5678", u"김민준"}, {u"02-1234-5678", u"010-1234-5678", u""}},
        {{u"8 916 123-45-67", u"+7 495 123-45-67", u"Москва"}, {u"+7 495 123-45-67", u"8 916 123-45-67", u""}},
        // A Japanese number of an Osaka office is no French mobile, a Chicago one no Italian mobile, a
        // Madrid one no Portuguese mobile.
        {{u"© 06-6345-2201", u"〒530-0001 大阪市北区梅田1-1-1"}, {u"06-6345-2201", u"", u""}},
        {{u"312 555 0100", u"Chicago, IL 60601"}, {u"312 555 0100", u"", u""}},
        {{u"91 123 45 67", u"info@empresa.es"}, {u"91 123 45 67", u"", u""}},
        // Labels the engine misread or ran into a mark.
        {{u"Office +49 221 955054-0", u"Mose 0171/8920975"}, {u"+49 221 955054-0", u"0171/8920975", u""}},
        {{u"t +44 (0)117 496 0393 _m +44 7700 900951", u"M. +1 (415) 555-0165 -F. +1 617 555 0136"},
         {u"+44 (0)117 496 0393", u"+44 7700 900951", u"+1 617 555 0136"}},
        {{u"1:0330169472", u"152 allée des Tilleuls", u"59000 Lille"}, {u"0330169472", u"", u""}},
        {{u"8 +39 02 11176181", u"(] +39 335 5480069"}, {u"+39 02 11176181", u"+39 335 5480069", u""}},
        // An icon read as a digit; a postal code on a line of its own is no number.
        {{u"9 055 7637702", u"+39 340 141 5413"}, {u"055 7637702", u"+39 340 141 5413", u""}},
        {{u"13015-904", u"(19) 3242-1852"}, {u"(19) 3242-1852", u"", u""}},
        {{u"T1 0341 913 400", u"M | +49 (0)170 990 6652"}, {u"0341 913 400", u"+49 (0)170 990 6652", u""}},
        {{u"981 35 5153", u"0) 799 36 31 86", u"javier@construcciones-ibericas.es"}, {u"981 35 5153", u"799 36 31 86", u""}},
        {{u"0% 986 41 27 09", u"Paseo de Gracia 21, Barcelona"}, {u"986 41 27 09", u"", u""}},
        {{u"#9 055 7637702", u"0) +39 340 141 5413"}, {u"055 7637702", u"+39 340 141 5413", u""}},
        {{u"(7) 08 2789 6683", u"Adelaide SA 5000"}, {u"08 2789 6683", u"", u""}},
        // Before a number dialled with its plus, a digit or a short scrap is the icon.
        {{u"T 1 +49 (0)381 95801-0", u"18055 Rostock"}, {u"+49 (0)381 95801-0", u"", u""}},
        {{u"45 +7351 554 19 76", u"45 +7351 554 19 44", u"@ +7351 554 19 04", u"454091 Челябинск"},
         {u"+7351 554 19 76", u"", u"+7351 554 19 04"}},
        {{u"@ +7 343 416-79-19", u"о +7 926 231 42 62", u"[2] +7 343 416-79-91"}, {u"+7 343 416-79-19", u"+7 926 231 42 62", u"+7 343 416-79-91"}},
        // A letter of a label read as a digit ("Моб." in Latin letters with its б a six).
        {{u"Ten. +7 4852 422-12-97", u"Mo6. +7 916 885 11 52"}, {u"+7 4852 422-12-97", u"+7 916 885 11 52", u""}},
        // Two numbers on one row apart by a slash; a slash inside a German number stays.
        {{u"0161 496 0000 / 07700 900123", u"Leeds LS1 5JL"}, {u"0161 496 0000", u"07700 900123", u""}},
        // The name of another column run into the number's row before a bar.
        {{u"+49 40 448 8110", u"GUDRUN KUHN | @ 0151 900 17479", u"22767 Hamburg"}, {u"+49 40 448 8110", u"0151 900 17479", u""}},
        // Round icons the vertical models read as circled numbers.
        {{u"@+81-44-588-6946", u"@⑩⑬+81-90 9826 9801", u"③+81-44-588-6931", u"株式会社山田商事"},
         {u"+81-44-588-6946", u"+81-90 9826 9801", u"+81-44-588-6931"}},
        // A dot of a number read as a comma; a scrap of the icon's ink before the icon itself.
        {{u"H.P: 010.0999,5202", u"전화 02-6557-4907"}, {u"02-6557-4907", u"010.0999,5202", u""}},
        {{u"수 @ +82 31813 4901", u"@ +82 10 4926 0891", u"park@hanbitsoft.com"}, {u"+82 31813 4901", u"+82 10 4926 0891", u""}},
        // Of several icon rows, or rows whose label was lost, the telephone comes first and the fax
        // last; a number between them stays a telephone.
        {{u"+39 02 9623 2266 int. 858", u"() +39 348 313 3740", u"@ +39 02 9623 2223"},
         {u"+39 02 9623 2266 int. 858", u"+39 348 313 3740", u"+39 02 9623 2223"}},
        {{u"@ 305.038.0790", u"305.038.0700", u"@ 305.038.0735"}, {u"305.038.0790", u"", u"305.038.0735"}},
        {{u"t +44 (0)117 496 0393 _m +44 7700 900951", u"£0117 496 0779"}, {u"+44 (0)117 496 0393", u"+44 7700 900951", u"0117 496 0779"}},
        // A number of another exchange is no fax: a second office; nor is a direct line with the
        // mobile below it.
        {{u"@ +33 (0)5 78 28 42 19 poste 777", u"@ +33 (0)5 78 28 42 43", u"@ +33 6 40 73 77 79"},
         {u"+33 (0)5 78 28 42 19 poste 777", u"+33 6 40 73 77 79", u""}},
        {{u"Ta 0241931518", u"M 0241931544", u"(] +39 339 782 5886", u"Via dell'Indipendenza 98"}, {u"0241931518", u"+39 339 782 5886", u""}},
        {{u"@ +33 4 72 10 20 30", u"@ +33 1 45 67 89 10"}, {u"+33 4 72 10 20 30", u"", u""}},
        // The card's language tells the country where its addresses end in ".com".
        {{u"Directora de compras", u"Departamento de Administración", u"[ 766 576 682", u"Paseo de Gracia 21", u"gerencia@bodegas-ruiz.com"},
         {u"", u"766 576 682", u""}},
        {{u"Holzbau Kern GmbH", u"Leiterin für Vertrieb", u"@ 0761 225 887", u"© 0176 / 2162385", u"www.holzbau-kern.com"},
         {u"0761 225 887", u"0176 / 2162385", u""}},
        // A country code the engine cut takes the card's country's back.
        {{u"O +9 338 434 3453", u"35122 Padova PD"}, {u"", u"+39 338 434 3453", u""}},
        {{u"Tel. +4 20 7946 0123", u"London EC2V 7HH"}, {u"+44 20 7946 0123", u"", u""}},
        {{u"Tél. +352 26 12 34 56", u"12 rue de la Paix, 75002 Paris"}, {u"+352 26 12 34 56", u"", u""}},
        // A digit of the country's own code misread before one of its mobiles; its plus read as a one.
        {{u"휴대폰 +62 10 6579 2354", u"전화 02-8394-6898"}, {u"02-8394-6898", u"+82 10 6579 2354", u""}},
        {{u"휴대폰 18210 0215 3706", u"전화 182 2 8600 6877 내선 301"}, {u"+82 2 8600 6877 내선 301", u"+8210 0215 3706", u""}},
        {{u"M +62 812 3456 7890", u"Jl. Sudirman 5, Jakarta"}, {u"", u"+62 812 3456 7890", u""}},
        // An icon read as a digit before a number of a country that dials no trunk prefix.
        {{u"1 265 535 556 ext 480", u"2900-066 Setúbal", u"Portugal"}, {u"265 535 556 ext 480", u"", u""}},
        {{u"1 612 345 678", u"info@empresa.es"}, {u"", u"612 345 678", u""}},
        {{u"[1 3408391484", u"T +39 06 66351133", u"Via del Corso 12, 00186 Roma RM"}, {u"+39 06 66351133", u"3408391484", u""}},
        // Where nothing tells the country a number without a label is the telephone.
        {{u"07700 900123"}, {u"07700 900123", u"", u""}},
        // North American mobiles have no prefix of their own: a number of another exchange than the
        // telephone's is the mobile, one of the same exchange the fax.
        {{u"+1 801 555 0163", u"+1 415 555 0150"}, {u"+1 801 555 0163", u"+1 415 555 0150", u""}},
        {{u"© (303) 555-0198", u"415-555-0166", u"Denver, CO 80202"}, {u"(303) 555-0198", u"415-555-0166", u""}},
        {{u"OY 310-851-1173 Ext. 268", u"O) 617.555.0148", u"Chicago, IL 60601"}, {u"310-851-1173 Ext. 268", u"617.555.0148", u""}},
        {{u"© (312) 851-1173", u"© (312) 851-1180", u"Chicago, IL 60601"}, {u"(312) 851-1173", u"", u"(312) 851-1180"}},
        // A letter may be an icon misread: where the card names no mobile, or another number has a
        // mobile's form, the form decides.
        {{u"A 04 72 18 30 11", u"A 04 72 18 30 12", u"D 06.41.27.90.35", u"@ 04 72 18 30 19", u"8 rue Pasteur"},
         {u"04 72 18 30 11", u"06.41.27.90.35", u"04 72 18 30 19"}},
        {{u"M +333 80 41 22 10", u"(] +336 12 44 87 01"}, {u"+333 80 41 22 10", u"+336 12 44 87 01", u""}},
        // A label still wins over the form, and a labelled mobile keeps the mobile field.
        {{u"T +44 7700 900124", u"M +44 7700 900123"}, {u"+44 7700 900124", u"+44 7700 900123", u""}},
        {{u"M 07700 900123", u"07700 900125", u"a@b.co.uk"}, {u"07700 900125", u"07700 900123", u""}},
    };
    for (const auto& c : cases) {
        const auto lines = cardOf(c.card);
        expectNumbers(classifyCardLines(lines), c.want, lines.front().text.toStdString());
    }
}

// An extension stays with its number, in the number's field, and turns no other number's kind.
TEST(NumberLabels, ExtensionsStayWithTheirNumber)
{
    const struct {
        std::initializer_list<const char16_t*> card;
        Numbers want;
    } cases[] = {
        {{u"T +44 20 7946 0123 ext. 45", u"M +44 7700 900123"}, {u"+44 20 7946 0123 ext. 45", u"+44 7700 900123", u""}},
        {{u"Tel. +49 89 1234567 App. 12", u"Mobil +49 171 1234567"}, {u"+49 89 1234567 App. 12", u"+49 171 1234567", u""}},
        {{u"Tel. +49 89 12345-0, Durchwahl -12"}, {u"+49 89 12345-0 Durchwahl -12", u"", u""}},
        {{u"Tél. 01 23 45 67 89 poste 123", u"Fax 01 23 45 67 90"}, {u"01 23 45 67 89 poste 123", u"", u"01 23 45 67 90"}},
        {{u"Phone 212-555-0100 x204 | Fax 212-555-0101"}, {u"212-555-0100 x204", u"", u"212-555-0101"}},
        {{u"@ +33 (0)417 60 54 46 p.55", u"francois@atelier-lumiere.fr"}, {u"+33 (0)417 60 54 46 p.55", u"", u""}},
        {{u"TEL 03-1234-5678（内線123）", u"携帯 090-1234-5678"}, {u"03-1234-5678 内線123", u"090-1234-5678", u""}},
        {{u"전화 02-1234-5678 내선 123"}, {u"02-1234-5678 내선 123", u"", u""}},
        // Icon rows: the office number with its extension and the mobile below it.
        {{u"© 0161 496 0000 ext. 204", u"© 07700 900123", u"a@b.co.uk"}, {u"0161 496 0000 ext. 204", u"07700 900123", u""}},
        // More digits after "x" are a number of their own.
        {{u"Tel 0161 496 0000 x 0161 496 0001"}, {u"0161 496 0000", u"", u""}},
    };
    for (const auto& c : cases) {
        const auto lines = cardOf(c.card);
        expectNumbers(classifyCardLines(lines), c.want, lines.front().text.toStdString());
    }
}

// Icon rows the engine read out of their order on the card: the topmost is the telephone, the
// lowest the fax.
TEST(NumberLabels, IconRowsTakeTheirPlaceOnTheCard)
{
    const std::vector<RecognizedLine> lines = {
        {u"03.68.83.88.68"_s, 614, 178, 808, 200},        {u"O +337 31 675797"_s, 565, 209, 848, 245},
        {u"s 03.68.83.88.19"_s, 565, 247, 808, 320},      {u"loic@boulangeries-moreau.fr"_s, 611, 291, 988, 320},
        {u"67000 STRASBOURG"_s, 568, 448, 841, 470}, {u"8 03.68.83.88.57"_s, 565, 134, 808, 207},
    };
    expectNumbers(classifyCardLines(lines), {u"03.68.83.88.57", u"+337 31 675797", u"03.68.83.88.19"}, "rows out of order");
}

// A label set in a column of its own left of the numbers names the number on its row.
TEST(NumberLabels, ALabelColumnNamesTheNumbersBesideIt)
{
    const std::vector<RecognizedLine> lines = {
        {u"Móvil"_s, 20, 100, 100, 130}, {u"612 345 678"_s, 140, 100, 400, 130},
        {u"Tfno."_s, 20, 140, 100, 170}, {u"912 345 678"_s, 140, 140, 400, 170},
        {u"Fax"_s, 20, 180, 100, 210},   {u"912 345 679"_s, 140, 180, 400, 210},
    };
    expectNumbers(classifyCardLines(lines), {u"912 345 678", u"612 345 678", u"912 345 679"}, "label column");
    EXPECT_TRUE(isNumberLabelOnly(u"携帯"_s));
    EXPECT_TRUE(isNumberLabelOnly(u" Ligne directe :"_s));
    EXPECT_FALSE(isNumberLabelOnly(u"Marketing"_s));
    EXPECT_FALSE(isNumberLabelOnly(u"©"_s));
}

TEST(NumberLabels, MobilePrefixesOfEachCountry)
{
    const struct {
        const char* digits;
        const char* country;
        bool mobile;
    } cases[] = {
        {"07700900123", "GB", true},    {"01614960000", "GB", false},  {"+447700900123", "", true},    {"+442079460123", "", false},
        {"01711234567", "DE", true},    {"015112345678", "DE", true},  {"0891234567", "DE", false},    {"01514960000", "GB", false},
        {"0612345678", "FR", true},     {"0712345678", "FR", true},    {"0123456789", "FR", false},    {"+33612345678", "DE", true},
        {"612345678", "ES", true},      {"912345678", "ES", false},    {"+34612345678", "", true},     {"3471234567", "IT", true},
        {"0212345678", "IT", false},    {"+393471234567", "", true},   {"912345678", "PT", true},      {"213456789", "PT", false},
        {"0412345678", "AU", true},     {"0298765432", "AU", false},   {"+61412345678", "", true},     {"09012345678", "JP", true},
        {"0663452201", "JP", false},    {"+819012345678", "", true},   {"13800138000", "CN", true},    {"01012345678", "CN", false},
        {"01012345678", "KR", true},    {"0212345678", "KR", false},   {"+821012345678", "", true},    {"89161234567", "RU", true},
        {"+79161234567", "", true},     {"+74951234567", "", false},   {"3125550100", "US", false},    {"+13125550100", "", false},
        {"11912345678", "BR", true},    {"+5511912345678", "", true},  {"07700900123", "", false},     {"+447700900123", "US", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hasMobileForm(QString::fromLatin1(c.digits), QString::fromLatin1(c.country)), c.mobile)
            << c.digits << " " << c.country;
    }
}

TEST(NumberLabels, TheCountryACardsNumbersFollow)
{
    const struct {
        QStringList lines;
        const char* country;
    } cases[] = {
        {{u"T +49 89 123456"_s, u"M +49 171 1234567"_s}, "DE"},
        {{u"anna@harbour.co.uk"_s, u"0161 496 0000"_s}, "GB"},
        {{u"12 Park Row"_s, u"Leeds LS1 5JL"_s}, "GB"},
        {{u"12 rue de la Paix"_s, u"75002 Paris"_s}, "FR"},
        {{u"Calle Mayor 5"_s, u"28013 Madrid"_s}, "ES"},
        {{u"Via Roma 12"_s, u"20121 Milano MI"_s}, "IT"},
        {{u"Rua Augusta 100"_s, u"1100-048 Lisboa"_s}, "PT"},
        {{u"Level 5, 1 Martin Place"_s, u"Sydney NSW 2000"_s}, "AU"},
        {{u"東京都千代田区丸の内1-1-1"_s, u"やまだ たろう"_s}, "JP"},
        {{u"서울특별시 강남구 테헤란로 123"_s}, "KR"},
        {{u"г. Москва, ул. Тверская, д. 1"_s}, "RU"},
        {{u"Móvil 612 345 678"_s}, "ES"},
        // Legal forms and street words of one country only.
        {{u"Vetreria Moro S.r.l."_s}, "IT"},
        {{u"Norte Sul, Lda."_s}, "PT"},
        {{u"Anna Lopez"_s, u"Senior Engineer"_s}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numberingCountryOf(c.lines), QString::fromLatin1(c.country)) << c.lines.join(u" / ").toStdString();
}

} // namespace
