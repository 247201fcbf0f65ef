#include "outside/ocr/ChineseCardFields.h"
#include "outside/ocr/ScriptCardFields.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Line {
    const char16_t* text;
    int left, top, right, bottom;
    int confidence = 90;
};

std::vector<RecognizedLine> linesOf(std::initializer_list<Line> lines)
{
    std::vector<RecognizedLine> out;
    for (const Line& l : lines)
        out.push_back({QString::fromUtf16(l.text), l.left, l.top, l.right, l.bottom, l.confidence});
    return out;
}

QString textOf(const ResultSlots& fields, size_t slot)
{
    return fields[slot].filled ? fields[slot].text : QString();
}

} // namespace

// Postal codes and addresses as Chinese cards print them, and as the engine breaks them up.
TEST(ChineseCardFields, PostalCodeAndAddress)
{
    const struct {
        const char* what;
        std::initializer_list<Line> lines;
        const char16_t* postalCode;
        const char16_t* address;
    } cases[] = {
        {"a mainland code on its labelled line, read in two pieces",
         {{u"地址 : 杭州市西湖区文三路160号26楼", 61, 412, 566, 454}, {u"邮编", 61, 456, 116, 481}, {u": 310012", 139, 460, 242, 478}},
         u"310012",
         u"杭州市西湖区文三路160号26楼"},
        {"an address wrapped inside a word, its label a piece of its own, a line of the other column between",
         {{u"地址 :", 726, 481, 799, 523}, {u"北京市朝阳区建", 814, 481, 1017, 523}, {u"Guoqing Ouyang", 60, 500, 221, 520},
          {u"国路212号967室", 798, 525, 1014, 558}, {u"邮编", 827, 568, 880, 595}, {u": 100022", 902, 572, 1014, 591}},
         u"100022",
         u"北京市朝阳区建国路212号967室"},
        {"a Taiwanese code before the town, an icon read before it",
         {{u"© 106台北市大安區敦化 南路二段109號", 590, 534, 1018, 586}, {u"17樓之6", 916, 589, 1016, 615}},
         u"106",
         u"台北市大安區敦化 南路二段109號 17樓之6"},
        {"a Taiwanese code after the label, over the address",
         {{u"地址: 10487", 842, 527, 1017, 571}, {u"台北市中山區南京東路三段196號國際金融大樓6樓", 554, 575, 1016, 612}},
         u"10487",
         u"台北市中山區南京東路三段196號國際金融大樓6樓"},
        {"a line read twice, and a rule the engine ran into the lines",
         {{u"地址 : 深圳市南山区科技园科苑路766号                |", 60, 358, 1075, 385},
          {u"深圳市南山区科技园科苑路766号", 100, 358, 600, 385},
          {u"嘉里中心429室                        |", 63, 397, 1075, 423}},
         u"",
         u"深圳市南山区科技园科苑路766号 嘉里中心429室"},
        {"an address of three lines, its label apart; a title's region above it is no district",
         {{u"品保部區域銷售經理", 555, 250, 802, 276}, {u"地址:", 555, 286, 600, 327}, {u"北京市东城区", 610, 286, 805, 327},
          {u"东直门南大街110号", 556, 322, 790, 363}, {u"汇丰大厦3303室", 555, 357, 750, 397}},
         u"",
         u"北京市东城区东直门南大街110号 汇丰大厦3303室"},
        {"a rule read before the lines",
         {{u"| 地址: 西安市雁塔区高新", 545, 346, 886, 388}, {u"|   路254号望京SOHO19楼", 544, 383, 883, 425}},
         u"",
         u"西安市雁塔区高新路254号望京SOHO19楼"},
        {"a round icon read as a zero before the code", {{u"0 600 嘉義市西區中山路230號", 585, 375, 978, 408}, {u"5樓之7", 587, 411, 673, 449}}, u"600",
         u"嘉義市西區中山路230號 5樓之7"},
        {"the code read apart with its icon, above the address", {{u"QO 40756", 566, 340, 679, 373}, {u"台中市西屯區台灣大道三段284號環球大廈23樓", 570, 380, 995, 413}},
         u"40756", u"台中市西屯區台灣大道三段284號環球大廈23樓"},
        {"the code read apart with its icon, before the address", {{u"桃園市中靂區中正路163號遠企中心30樓", 166, 350, 669, 399}, {u"@》320", 64, 354, 96, 388}},
         u"320", u"桃園市中靂區中正路163號遠企中心30樓"},
        {"an address wrapped in its column, the company of the column to its left on the row of its second line",
         {{u"技术研发", 61, 318, 222, 352}, {u"O 南京市鼓楼区中山", 568, 339, 873, 395}, {u"恒通电力设备有限公司", 63, 378, 490, 436},
          {u"北路546号33楼", 569, 383, 794, 431}},
         u"",
         u"南京市鼓楼区中山北路546号33楼"},
        {"a building named after a bank, its room after it",
         {{u"地址: 广州市天河区天河", 60, 433, 369, 470}, {u"路512号招商银行大厦439室", 60, 467, 392, 506}},
         u"",
         u"广州市天河区天河路512号招商银行大厦439室"},
        {"a stroke of the line's last character read apart inside it",
         {{u"地址: 台北市中正區重慶南路一", 569, 509, 1013, 556}, {u"一", 997, 525, 1013, 527}, {u"段224號宏泰世紀大樓16樓", 649, 549, 1014, 595}},
         u"",
         u"台北市中正區重慶南路一段224號宏泰世紀大樓16樓"},
        {"Hong Kong: no code", {{u"地址: 香港中環德輔道中278號", 575, 348, 1014, 393}, {u"11樓", 577, 396, 643, 425}}, u"", u"香港中環德輔道中278號 11樓"},
        {"a round icon read in brackets before the address, its road wrapped",
         {{u"《@》 香港北角英皇", 579, 338, 813, 374}, {u"道120號科技大樓3樓", 583, 374, 864, 418}},
         u"",
         u"香港北角英皇道120號科技大樓3樓"},
    };
    for (const auto& c : cases) {
        ResultSlots fields{};
        fillChineseFields(fields, linesOf(c.lines));
        EXPECT_EQ(textOf(fields, kPostalCodeSlot).toStdString(), QString::fromUtf16(c.postalCode).toStdString()) << c.what;
        EXPECT_EQ(textOf(fields, kAddressSlot).toStdString(), QString::fromUtf16(c.address).toStdString()) << c.what;
    }
}

// A department and a title on one line are told apart; a title taken for the name or a piece of the
// address taken for a department is put right.
TEST(ChineseCardFields, DepartmentAndTitle)
{
    const struct {
        const char16_t* taken; // what the general rules put in the title slot
        const char16_t* department;
        const char16_t* title;
    } cases[] = {
        {u"采购部技术总监", u"采购部", u"技术总监"},
        {u"業務部 行銷總監", u"業務部", u"行銷總監"},
        {u"人力资源部 ”项目经理", u"人力资源部", u"项目经理"},
        {u"采购部总经理                      国有", u"采购部", u"总经理"},
        {u"总经理", u"", u"总经理"},
        {u"董事長", u"", u"董事長"},
    };
    for (const auto& c : cases) {
        ResultSlots fields{};
        fields[kTitleSlot] = {QString::fromUtf16(c.taken), 60, 160, 300, 190, true};
        fillChineseFields(fields, {});
        EXPECT_EQ(textOf(fields, kDepartmentSlot), QString::fromUtf16(c.department)) << QString::fromUtf16(c.taken).toStdString();
        EXPECT_EQ(textOf(fields, kTitleSlot), QString::fromUtf16(c.title)) << QString::fromUtf16(c.taken).toStdString();
    }

    ResultSlots fields{};
    fields[kNameSlot] = {u"業務專 員"_qs, 71, 431, 186, 463, true};
    fields[kDepartmentSlot] = {u"95号银泰中心4层"_qs, 595, 587, 819, 627, true};
    fields[kTitleSlot + 1] = {u"华信科技有限公司"_qs, 194, 102, 490, 137, true};
    fields[kCompanySlot] = fields[kTitleSlot + 1];
    fillChineseFields(fields, linesOf({{u"成都市高新区天府大", 550, 552, 816, 596}, {u"95号银泰中心4层", 595, 597, 819, 637}}));
    EXPECT_EQ(textOf(fields, kNameSlot), QString()) << "a title is no name";
    EXPECT_EQ(textOf(fields, kTitleSlot), u"業務專員"_qs);
    EXPECT_EQ(textOf(fields, kTitleSlot + 1), QString()) << "the company is no second title";
    EXPECT_EQ(textOf(fields, kDepartmentSlot), QString()) << "a piece of the address is no department";
    EXPECT_EQ(textOf(fields, kAddressSlot), u"成都市高新区天府大95号银泰中心4层"_qs);
}

// The company with the piece of its row the layout cut off before it, and no logo's mark; the
// department never the company; a label or a place is no name.
TEST(ChineseCardFields, CompanyDepartmentAndName)
{
    const auto lines = linesOf({{u"长江精", 78, 400, 177, 434}, {u"密仪器股份有限公司", 175, 403, 499, 448}, {u"物流中心", 61, 300, 180, 328},
                                {u"|   路254号望京SOHO19楼", 544, 383, 883, 425},
                                {u"« 华夏建工有限责任公司", 60, 60, 400, 110}});
    ResultSlots fields{};
    fields[kCompanySlot] = {u"密仪器股份有限公司"_qs, 175, 403, 499, 448, true};
    fields[kDepartmentSlot] = fields[kCompanySlot];
    fields[kNameSlot] = {u"網址"_qs, 621, 569, 665, 590, true};
    fillChineseFields(fields, lines);
    EXPECT_EQ(textOf(fields, kCompanySlot).toStdString(), "长江精密仪器股份有限公司");
    EXPECT_EQ(textOf(fields, kDepartmentSlot).toStdString(), "物流中心");
    EXPECT_EQ(textOf(fields, kNameSlot).toStdString(), "");

    fields = {};
    fields[kCompanySlot] = {u"« 华夏建工有限责任公司"_qs, 60, 60, 400, 110, true};
    fields[kNameSlot] = {u"北京市东城区"_qs, 659, 341, 838, 384, true};
    fillChineseFields(fields, {});
    EXPECT_EQ(textOf(fields, kCompanySlot).toStdString(), "华夏建工有限责任公司");
    EXPECT_EQ(textOf(fields, kNameSlot).toStdString(), "");

    // No legal form: the tallest line of Han characters that is no other field.
    fields = {};
    fields[kNameSlot] = {u"賴欣妤"_qs, 782, 150, 999, 217, true};
    fillChineseFields(fields, linesOf({{u"ul", 59, 59, 159, 161, 63}, {u"永泰五金", 192, 87, 334, 132, 96}, {u"賴欣妤", 782, 150, 999, 217},
                                       {u"品保部區域銷售經理", 745, 248, 1002, 274}, {u"地址:", 544, 519, 608, 559},
                                       {u"香港上環干諾道中251號7樓", 635, 519, 967, 559}}));
    EXPECT_EQ(textOf(fields, kCompanySlot).toStdString(), "永泰五金");
    EXPECT_EQ(textOf(fields, kNameSlot).toStdString(), "賴欣妤");
    EXPECT_EQ(textOf(fields, kAddressSlot).toStdString(), "香港上環干諾道中251號7樓");

    // A sales region is a department, no district opening the address.
    fields = {};
    fillChineseFields(fields, linesOf({{u"邹建军", 80, 100, 300, 170}, {u"北方大区", 80, 200, 200, 230}, {u"会计", 80, 240, 150, 270},
                                       {u"郑州市金水区花园路752号 24楼", 560, 400, 1000, 440}}));
    EXPECT_EQ(textOf(fields, kDepartmentSlot).toStdString(), "北方大区");
    EXPECT_EQ(textOf(fields, kAddressSlot).toStdString(), "郑州市金水区花园路752号 24楼");
}

// Companies of the forms that name no legal form (a firm, a trading house, an agency) are no
// person's name; a logo read as a digit before the company is none of it, a character set apart
// is the company's.
TEST(ChineseCardFields, CompanyFormsAndLogoPieces)
{
    const struct {
        const char16_t* taken; // what the general rules took for the name or the company
        bool asName;
        const char16_t* company;
    } cases[] = {
        {u"聚豐營造行", true, u""},
        {u"翔鷹航太社", true, u""},
        {u"合興紡織企業", true, u""},
        {u"寶 島食品股份有限公司", false, u"寶 島食品股份有限公司"},
        {u"0   明德教育科技股份有限公司", false, u"明德教育科技股份有限公司"},
        {u"合)      北京中 科博瑞信息技术有限公司", false, u"北京中 科博瑞信息技术有限公司"},
        {u"大同顧問股份有限公司", false, u"大同顧問股份有限公司"},
    };
    for (const auto& c : cases) {
        ResultSlots fields{};
        const QString taken = QString::fromUtf16(c.taken);
        fields[c.asName ? kNameSlot : kCompanySlot] = {taken, 60, 60, 500, 110, true};
        fillChineseFields(fields, linesOf({{c.taken, 60, 60, 500, 110}}));
        EXPECT_EQ(textOf(fields, kNameSlot).toStdString(), "") << taken.toStdString();
        if (!c.asName) {
            EXPECT_EQ(textOf(fields, kCompanySlot).toStdString(), QString::fromUtf16(c.company).toStdString()) << taken.toStdString();
        }
    }
    EXPECT_TRUE(isScriptName(u"周志行"_qs)) << "a name of three characters may end so";
}

// An e-mail address whose "@" the engine read as a letter is found by the card's web address.
TEST(ChineseCardFields, MailAddressRunIntoTheWebHost)
{
    ResultSlots fields{};
    fields[27] = {u"www.hengtong-elec.cn"_qs, 597, 498, 994, 533, true};
    fillChineseFields(fields, linesOf({{u"邮箱 wu_lohengtong-elec.cn", 600, 466, 1009, 488}, {u"网址: www.hengtong-elec.cn", 597, 498, 994, 533}}));
    EXPECT_EQ(textOf(fields, 23).toStdString(), "wu_l@hengtong-elec.cn");
}

// A web address whose host lost its country's ending at the line's end takes the e-mail domain's;
// one whose host is another stays.
TEST(ChineseCardFields, WebHostWithoutItsCountryEnding)
{
    const struct {
        const char16_t* web;
        const char16_t* mail;
        const char16_t* stored;
    } cases[] = {
        {u"aoli-prop.com", u"hsiao_k@aoli-prop.com.tw", u"aoli-prop.com.tw"},
        {u"http://www.wantong.com/", u"k.au@wantong.com.hk", u"http://www.wantong.com.hk/"},
        {u"www.aoli-prop.com", u"hsiao_k@aoli-prop.com", u"www.aoli-prop.com"},
        {u"www.aoli.com", u"hsiao_k@aoli-prop.com.tw", u"www.aoli.com"},
        {u"www.aoli-prop.com", u"hsiao_k@aoli-prop.com.sg", u"www.aoli-prop.com"},
    };
    for (const auto& c : cases) {
        ResultSlots fields{};
        fields[27] = {QString::fromUtf16(c.web), 597, 498, 994, 533, true};
        fields[23] = {QString::fromUtf16(c.mail), 600, 466, 1009, 488, true};
        fillChineseFields(fields, {});
        EXPECT_EQ(textOf(fields, 27).toStdString(), QString::fromUtf16(c.stored).toStdString());
    }
}
