// The fields of Korean cards from their lines as the engine reads them, with their places.
#include "outside/ocr/KoreanCardFields.h"

#include "outside/ocr/KoreanAddressLines.h"

#include "outside/ocr/CardFields.h"
#include "outside/ocr/CardLanguage.h"
#include "outside/ocr/ScriptCardFields.h"

#include <gtest/gtest.h>

namespace {

RecognizedLine at(const char16_t* text, int left, int top, int right, int bottom)
{
    return {QString::fromUtf16(text), left, top, right, bottom};
}

ResultSlots koreanFields(const std::vector<RecognizedLine>& lines)
{
    ResultSlots fields = classifyCardLines(lines);
    fillFieldsOfScript(fields, lines, kLanguageKorean);
    return fields;
}

} // namespace

// A role line's last title words are the title, the words before them the department when they
// end in a unit; lines of other fields are no role.
TEST(KoreanCardFields, RoleLinesSplitIntoDepartmentAndTitle)
{
    const struct {
        const char16_t* line;
        const char16_t* department;
        const char16_t* title;
    } cases[] = {
        {u"전략기획실 이사", u"전략기획실", u"이사"},
        {u"구매팀 상무이사", u"구매팀", u"상무이사"},
        {u"영업1팀 팀장", u"영업1팀", u"팀장"},
        {u"해외 영업팀", u"해외 영업팀", u""},
        {u"플랫폼개발파트", u"플랫폼개발파트", u""},
        {u"연구개발본부 | 수석연구원", u"연구개발본부", u"수석연구원"},
        {u"대표이사 사장", u"", u"대표이사 사장"},
        // The head of a unit no table lists.
        {u"지점장", u"", u"지점장"},
        {u"본부장", u"", u"본부장"},
        {u"공장", u"", u""},
        {u"서울특별시 중구", u"", u""},
        {u"주식회사 새봄디자인", u"", u""},
        {u"이메일 kim@hanbit.co.kr", u"", u""},
        // Units named in Latin letters, institutes and task forces; the word after a unit is its
        // holder's title though no table lists it.
        {u"R&D센터 수석", u"R&D센터", u"수석"},
        {u"인재개발원 코치", u"인재개발원", u"코치"},
        {u"신사업추진단 리더", u"신사업추진단", u"리더"},
        {u"안전환경팀 상무보", u"안전환경팀", u"상무보"},
        {u"생산관리과 차장대우", u"생산관리과", u"차장대우"},
        {u"김지원", u"", u""},
        {u"연구소 수석연구원", u"연구소", u"수석연구원"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.line).toStdString());
        const auto [department, title] = koreanDepartmentAndTitle(QString::fromUtf16(c.line));
        EXPECT_EQ(department.toStdString(), QString::fromUtf16(c.department).toStdString());
        EXPECT_EQ(title.toStdString(), QString::fromUtf16(c.title).toStdString());
    }
}

// An address as the engine misreads it: scraps of its label, a city a syllable off, the floor's
// "층" lost or read as another syllable or a digit; what is printed so stays.
TEST(KoreanCardFields, AddressesAsPrinted)
{
    const struct {
        const char16_t* read;
        const char16_t* printed;
    } cases[] = {
        {u"4: (37754) 경상북도 포항시 남구 포스코대로 377 16층", u"(37754) 경상북도 포항시 남구 포스코대로 377 16층"},
        {u"구태 서울특별시 마포구 양화로12길 113, 5층", u"서울특별시 마포구 양화로12길 113, 5층"},
        {u"(06611) 서물특별시 서초구 강남대로 235, 17층", u"(06611) 서울특별시 서초구 강남대로 235, 17층"},
        {u"(62215) 공주광역시 광산구 하남산단6번로 282", u"(62215) 광주광역시 광산구 하남산단6번로 282"},
        {u"서울특별시 금천구 가산디지털1로 383, 정우빌딩 16증", u"서울특별시 금천구 가산디지털1로 383, 정우빌딩 16층"},
        {u"충청남도 천안시 서북구 불당대로 226, 무역회관 18", u"충청남도 천안시 서북구 불당대로 226, 무역회관 18층"},
        {u"대전광역시 서구 둔산로 283, 미래에셋센터원 145", u"대전광역시 서구 둔산로 283, 미래에셋센터원 14층"},
        {u"(61949) 광주광역시 서구 상무중앙로 62, 20", u"(61949) 광주광역시 서구 상무중앙로 62, 20층"},
        {u"제주특별자치도 제주시 노형동 도령로 90", u"제주특별자치도 제주시 노형동 도령로 90"},
        {u"세종특별자치시 한누리대로 보람동 150", u"세종특별자치시 한누리대로 보람동 150"},
        {u"충청남도 공주시 웅진로 12, 3층", u"충청남도 공주시 웅진로 12, 3층"},
        // The floor's "층" lost after the road's number or a building's name no table lists.
        {u"경기도 평택시 고덕면 삼성로 289 14", u"경기도 평택시 고덕면 삼성로 289 14층"},
        {u"경기도 부천시 원미구 길주로 173, 우리빌딩 신관 29", u"경기도 부천시 원미구 길주로 173, 우리빌딩 신관 29층"},
        {u"강원특별자치도 춘천시 동면 순환대로 83 대우트럼프월드 28", u"강원특별자치도 춘천시 동면 순환대로 83 대우트럼프월드 28층"},
        {u"(21371) 인천광역시 부평구 부평대로 221 한일빌딩 234", u"(21371) 인천광역시 부평구 부평대로 221 한일빌딩 23층"},
        {u"강원특별자치도 춘천시 동면 순환대로 16", u"강원특별자치도 춘천시 동면 순환대로 16"},
        {u"서울특별시 마포구 양화로12길 11", u"서울특별시 마포구 양화로12길 11"},
        {u"세종특별자치시 한누리대로 보람동 15", u"세종특별자치시 한누리대로 보람동 15"},
        // A town's 읍 read as 음; a road's 로 read apart from its name.
        {u"충청남도 아산시 배방음 희망로 229, 22층", u"충청남도 아산시 배방읍 희망로 229, 22층"},
        {u"경상남도 양산시 물금읍 양산역 로 82, 28층", u"경상남도 양산시 물금읍 양산역로 82, 28층"},
        {u"서울특별시 중구 을지로 3가 5", u"서울특별시 중구 을지로 3가 5"},
        // A division two syllables off; a district run into its road; a floor's "층" read as a
        // third digit; a comma run into the building.
        {u"(07995) 서움득별시 양천구 목동동로 214", u"(07995) 서울특별시 양천구 목동동로 214"},
        {u"전북득별자치도 익산시 하나로 86 15층", u"전북특별자치도 익산시 하나로 86 15층"},
        {u"부산광역시 영도구태종로 190 6층", u"부산광역시 영도구 태종로 190 6층"},
        {u"대구광역시 달서구달구벌대로 12", u"대구광역시 달서구 달구벌대로 12"},
        {u"대구광역시 달성군 다사읍 달구벌대로 169, 15층", u"대구광역시 달성군 다사읍 달구벌대로 169, 15층"},
        {u"서울특별시 구로구 남구로 12", u"서울특별시 구로구 남구로 12"},
        {u"경기도 광주시 오포로 12", u"경기도 광주시 오포로 12"},
        {u"(17962) 경기도 평택시 포승읍 평택항로 271 145", u"(17962) 경기도 평택시 포승읍 평택항로 271 14층"},
        {u"서울특별시 마포구 월드컵북로 67,IFC타워 15층", u"서울특별시 마포구 월드컵북로 67, IFC타워 15층"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(koreanAddressAsPrinted(QString::fromUtf16(c.read)).toStdString(), QString::fromUtf16(c.printed).toStdString());
}

// Cards as the engine read them (places from drawn cards): the role line beside the name, the
// address however the card wraps it, the name and company as printed.
TEST(KoreanCardFields, CardLinesAsTheEngineReadsThem)
{
    const std::vector<RecognizedLine> wrapped = {
        at(u"all 주식회사 새봄디자인", 59, 59, 466, 143),  at(u"Saebom Design Inc.", 168, 138, 387, 162),
        at(u"마케팅팀 매니저", 430, 196, 643, 227),        at(u"오현우", 443, 250, 633, 309),
        at(u"@ 경기도 성남시 분당구", 58, 436, 355, 471),  at(u"판교역로 102", 60, 468, 221, 514),
        at(u"송도센트럴파크빌딩 20층", 60, 512, 368, 552), at(u"@ 010-8538-3758", 58, 552, 317, 587)};
    const std::vector<RecognizedLine> building = {
        at(u"전화 02.9921.8258", 576, 201, 878, 226),    at(u"강유진", 67, 219, 317, 300),
        at(u"팩스 02.9921.8212", 575, 236, 877, 262),    at(u"상무이사", 61, 324, 178, 384),
        at(u"주소: 서울특별시", 575, 351, 782, 377),     at(u"마포구 월드컵북로 267", 575, 387, 861, 413),
        at(u"주식회사 세종정보기술", 61, 391, 492, 454), at(u"강남파이낸스센터 16층", 575, 419, 868, 458)};
    const std::vector<RecognizedLine> unknownTitle = {at(u"주)하늘정밀", 200, 234, 444, 301), at(u"권동 연", 223, 355, 410, 416),
                                                      at(u"책임프로", 236, 452, 348, 481),
                                                      at(u"haneul@haneul-pm.co.kr", 103, 848, 492, 896)};
    const std::vector<RecognizedLine> noLegalForm = {at(u"남민서", 86, 76, 282, 144),
                                                     at(u"Min-seo Nam", 85, 170, 212, 185),
                                                     at(u"물류센터 그룹장", 85, 212, 307, 239),
                                                     at(u"에이치엠테크", 88, 266, 349, 306),
                                                     at(u"주소: (28581) 충청북도", 60, 330, 300, 369),
                                                     at(u"청주시 흥덕구 직지대로 291", 60, 370, 400, 395),
                                                     at(u"13층", 60, 400, 120, 420),
                                                     at(u"휴대폰 010.9584.0549", 85, 440, 394, 465)};
    const std::vector<RecognizedLine> townBeforeRoad = {
        at(u"삼정물산(주)", 216, 256, 468, 324), at(u"이서윤", 250, 342, 439, 408), at(u"소: (63122) 제주특별자치도", 142, 914, 515, 947),
        at(u"제주시 노형동 도령로 53", 177, 947, 478, 987), at(u"6층", 307, 991, 347, 1016)};
    const std::vector<RecognizedLine> quarterFirst = {
        at(u"별빛제약(주)", 59, 59, 379, 140), at(u"민시우", 433, 236, 633, 305),
        at(u"주소: 4: (63122) 제주특별자치도 제주시", 60, 407, 362, 438), at(u"노형동 도령로 39, 우성오피스텔 22충", 60, 428, 366, 461),
        at(u"전화: 064-515-0717", 61, 463, 234, 480)};
    // The circled legal form read as marks or as a syllable; a round logo read as "(@)".
    const std::vector<RecognizedLine> circledAsMarks = {at(u"변명수", 70, 102, 272, 167), at(u"@) 서해수산", 773, 186, 1009, 267),
                                                        at(u"기술영업팀", 67, 191, 214, 219), at(u"주소: 경기도 안양시 동안구", 72, 358, 433, 395),
                                                        at(u"시민대로 301, 무역회관 13층", 73, 394, 464, 437)};
    const std::vector<RecognizedLine> circledAsSyllable = {at(u"쥐금강테크윈", 60, 60, 400, 130), at(u"최하늘별", 704, 96, 1008, 200),
                                                           at(u"빅데이터랩 차장대우", 753, 279, 1014, 324)};
    const std::vector<RecognizedLine> roundLogo = {at(u"|  (@) 아로마푸드", 26, 83, 417, 203), at(u"여아름", 819, 135, 1027, 203),
                                                   at(u"YEO A-reum", 898, 224, 1031, 242), at(u"@ 서울특별시 노원구 동일로 110", 576, 466, 903, 510)};
    const std::vector<RecognizedLine> spacedName = {at(u"김 민준", 223, 355, 410, 416), at(u"과장", 236, 452, 300, 481)};
    // The name the engine read only in its Latin reading; a logo before the company read as a
    // syllable; a rule after a name read as a loose letter.
    const std::vector<RecognizedLine> latinName = {
        at(u"소 성원엔지니어링(주)", 59, 82, 571, 169), at(u"Yook Tae-yoon", 220, 462, 374, 484),
        at(u"디지털혁신본부 부사장", 146, 510, 451, 537), at(u"전화 031.436.3850", 165, 801, 428, 828)};
    const std::vector<RecognizedLine> ruleAfterName = {at(u"더 | 진성기계(주)", 78, 117, 392, 179), at(u"탁태윤 ㅣ", 839, 190, 1084, 253),
                                                       at(u"Tak Tae-yoon", 855, 270, 1015, 298), at(u"공장장", 917, 314, 1015, 347)};
    const std::vector<RecognizedLine> nameUnread = {at(u"명성종합건설(주)", 97, 88, 395, 151), at(u"공장장", 87, 471, 146, 499),
                                                    at(u"전화 033-705-8626", 774, 395, 1041, 423)};
    // The floor on a line of its own below the address, its "층" misread or lost.
    const std::vector<RecognizedLine> floorMisread = {
        at(u"미소디자인(주)", 65, 86, 308, 122), at(u"서영민", 70, 334, 252, 439), at(u"주소: 강원특별자치도", 784, 490, 1026, 521),
        at(u"춘천시 동면 순환대로 83", 746, 528, 1026, 558), at(u"대우트럼프월드 28증", 786, 562, 1027, 592)};
    const std::vector<RecognizedLine> floorAlone = {at(u"시주희", 827, 153, 1010, 219), at(u"전문위원", 910, 245, 1018, 272),
                                                    at(u"주소: 경기도 평택시 고덕면 삼성로 289", 561, 528, 1013, 568),
                                                    at(u"14", 565, 576, 616, 600)};
    // A logo read as two syllables or as a bracketed mark before the company; a rule before the name.
    const std::vector<RecognizedLine> logoSyllables = {at(u"로더 동서식품산업 주식회사", 59, 59, 636, 149), at(u"ㅣ 탁다인", 796, 119, 995, 186),
                                                       at(u"감사팀", 919, 236, 998, 264)};
    const std::vector<RecognizedLine> logoMark = {at(u"(0) (주) 태평양물류", 63, 194, 428, 232), at(u"정승우", 64, 351, 258, 416)};
    const std::vector<RecognizedLine> twoWordName = {at(u"대성 주식회사", 63, 194, 428, 232), at(u"정승우", 64, 351, 258, 416)};
    // A building named after a bank, set in the address's type, which the engine boxes taller.
    const std::vector<RecognizedLine> bankBuilding = {
        at(u"주인호", 62, 57, 239, 114), at(u"(주)인터링크", 774, 216, 987, 254), at(u"주소: 경상남도 진주시 문산읍", 61, 458, 389, 482),
        at(u"월아산로 221, 신한은행빌딩 27층", 62, 487, 434, 535)};
    // The company set left of the address, on the row of its last line, which it joins.
    const std::vector<RecognizedLine> companyBesideAddress = {
        at(u"Chang-ho Tak", 60, 250, 208, 274),          at(u"안전환경팀 상무보", 60, 293, 286, 334),
        at(u"© (31156) 충청남도", 566, 299, 823, 331), at(u"천안시 서북구 불당대로 74", 569, 336, 867, 374),
        at(u"유한회사 대한정공", 61, 350, 440, 408),     at(u"10층", 571, 358, 628, 409)};
    const std::vector<RecognizedLine> circledAsJyeo = {at(u"져한솔테크", 171, 85, 328, 145), at(u"모미란", 435, 205, 645, 353)};
    // The postal code alone on the labelled first line of the address.
    const std::vector<RecognizedLine> postalCodeAlone = {
        at(u"| (주) 새솔건설", 133, 59, 423, 163),  at(u"이세영", 825, 97, 1011, 209),
        at(u"주소: (03154)", 549, 511, 733, 539), at(u"서울특별시 종로구 세종대로 52", 549, 547, 935, 587),
        at(u"10층", 553, 587, 613, 626),          at(u"휴대폰: 010.3958.9944", 60, 529, 374, 556)};
    // The city two syllables off after an icon and the postal code.
    const std::vector<RecognizedLine> cityMisread = {
        at(u"황보은정", 397, 293, 698, 403), at(u"@ (07995) 서움득별시", 77, 476, 311, 507), at(u"양천구 목동동로 214", 80, 504, 282, 541),
        at(u"지하1층 2층", 82, 527, 199, 570)};
    // The legal form after the company read as marks, and the engine's blank before it.
    const std::vector<RecognizedLine> circledAfter = {at(u"C 케이엠에스 @)", 64, 60, 392, 142), at(u"기기현", 432, 242, 635, 352)};
    const std::vector<RecognizedLine> bracketedAfter = {at(u"Hansung Robotics (#)", 64, 60, 392, 142), at(u"마소라", 432, 242, 635, 352)};
    const std::vector<RecognizedLine> syllableAfter = {at(u"새벽물산 쥐", 64, 60, 392, 142), at(u"기기현", 432, 242, 635, 352)};
    const std::vector<RecognizedLine> bracketBeforeLatin = {at(u"@)Nexgen Korea", 64, 60, 392, 142), at(u"기기현", 432, 242, 635, 352)};
    const std::vector<RecognizedLine> marksBeforeCircled = {at(u"|  '쥐동백조선", 59, 59, 344, 153), at(u"남궁예슬", 763, 158, 998, 213)};
    const std::vector<RecognizedLine> quoteMark = {at(u"\" 주식회사 한빛소프트", 60, 61, 496, 142), at(u"서지은", 441, 246, 633, 312)};
    const std::vector<RecognizedLine> digitsMark = {at(u"00 유한회사 우리들약품", 60, 61, 496, 142), at(u"서지은", 441, 246, 633, 312)};
    // A name of a rare surname under a company set larger.
    const std::vector<RecognizedLine> rareSurname = {at(u"태백광업 주식회사", 59, 59, 481, 143), at(u"자금팀 회계사", 61, 196, 229, 222),
                                                     at(u"견윤아", 65, 248, 279, 314), at(u"(28116) 충청북도 청주시", 61, 447, 297, 468)};
    const struct {
        const char* what;
        const std::vector<RecognizedLine>& lines;
        size_t slot;
        const char16_t* expected;
    } cases[] = {
        {"department and title of one line", wrapped, kDepartmentSlot, u"마케팅팀"},
        {"department and title of one line", wrapped, kTitleSlot, u"매니저"},
        {"a road line between the city and the building", wrapped, kAddressSlot,
         u"경기도 성남시 분당구 판교역로 102 송도센트럴파크빌딩 20층"},
        {"a logo's scrap before the company", wrapped, kCompanySlot, u"주식회사 새봄디자인"},
        {"three address lines stay one", building, kAddressSlot, u"서울특별시 마포구 월드컵북로 267 강남파이낸스센터 16층"},
        {"a building is no department", building, kDepartmentSlot, u""},
        {"a title alone", building, kTitleSlot, u"상무이사"},
        {"the legal form's lost bracket", unknownTitle, kCompanySlot, u"(주)하늘정밀"},
        {"a blank read inside the given name", unknownTitle, kNameSlot, u"권동연"},
        {"a title no table knows, beside the name", unknownTitle, kTitleSlot, u"책임프로"},
        {"a blank printed after the family name", spacedName, kNameSlot, u"김 민준"},
        {"a title holding a company's word", noLegalForm, kTitleSlot, u"그룹장"},
        {"a title holding a company's word", noLegalForm, kDepartmentSlot, u"물류센터"},
        {"a company without a legal form", noLegalForm, kCompanySlot, u"에이치엠테크"},
        {"a province alone on the address's first line", noLegalForm, kAddressSlot, u"(28581) 충청북도 청주시 흥덕구 직지대로 291 13층"},
        {"a province alone on the address's first line", noLegalForm, kPostalCodeSlot, u"28581"},
        {"a town and its quarter before the road", townBeforeRoad, kAddressSlot, u"(63122) 제주특별자치도 제주시 노형동 도령로 53 6층"},
        {"an address line led by its quarter", quarterFirst, kAddressSlot, u"(63122) 제주특별자치도 제주시 노형동 도령로 39, 우성오피스텔 22층"},
        {"a postal code after a label's scrap", quarterFirst, kPostalCodeSlot, u"63122"},
        {"the circled legal form read as marks", circledAsMarks, kCompanySlot, u"㈜ 서해수산"},
        {"the circled legal form read as a syllable", circledAsSyllable, kCompanySlot, u"㈜금강테크윈"},
        {"a round logo before the company", roundLogo, kCompanySlot, u"아로마푸드"},
        {"an icon before the address", roundLogo, kAddressSlot, u"서울특별시 노원구 동일로 110"},
        {"a role set larger than the name's reading", latinName, kDepartmentSlot, u"디지털혁신본부"},
        {"a role set larger than the name's reading", latinName, kTitleSlot, u"부사장"},
        {"a logo read as a syllable", latinName, kCompanySlot, u"성원엔지니어링(주)"},
        {"a logo read as marks", ruleAfterName, kCompanySlot, u"진성기계(주)"},
        {"a rule after the name", ruleAfterName, kNameSlot, u"탁태윤"},
        {"a rule after the name", ruleAfterName, kTitleSlot, u"공장장"},
        {"a title is no name", nameUnread, kNameSlot, u""},
        {"a title is no name", nameUnread, kTitleSlot, u"공장장"},
        {"a floor misread below the address", floorMisread, kAddressSlot, u"강원특별자치도 춘천시 동면 순환대로 83 대우트럼프월드 28층"},
        {"a floor's number alone below the address", floorAlone, kAddressSlot, u"경기도 평택시 고덕면 삼성로 289 14층"},
        {"a logo read as two syllables", logoSyllables, kCompanySlot, u"동서식품산업 주식회사"},
        {"a rule before the name", logoSyllables, kNameSlot, u"탁다인"},
        {"a logo read as a bracketed mark", logoMark, kCompanySlot, u"(주) 태평양물류"},
        {"a name of two syllables before the legal form", twoWordName, kCompanySlot, u"대성 주식회사"},
        {"a bank's building in the address is no company", bankBuilding, kCompanySlot, u"(주)인터링크"},
        {"a company beside the address is none of it", companyBesideAddress, kAddressSlot,
         u"(31156) 충청남도 천안시 서북구 불당대로 74 10층"},
        {"a company beside the address is none of it", companyBesideAddress, kCompanySlot, u"유한회사 대한정공"},
        {"the circled legal form read as another syllable", circledAsJyeo, kCompanySlot, u"㈜한솔테크"},
        {"a postal code alone opens the address", postalCodeAlone, kAddressSlot, u"(03154) 서울특별시 종로구 세종대로 52 10층"},
        {"a postal code alone opens the address", postalCodeAlone, kPostalCodeSlot, u"03154"},
        {"a city two syllables off", cityMisread, kAddressSlot, u"(07995) 서울특별시 양천구 목동동로 214 지하1층 2층"},
        {"a city two syllables off", cityMisread, kPostalCodeSlot, u"07995"},
        {"the circled legal form after the company read as marks", circledAfter, kCompanySlot, u"케이엠에스 ㈜"},
        {"the bracketed legal form after the company misread", bracketedAfter, kCompanySlot, u"Hansung Robotics(주)"},
        {"marks before the circled legal form read as a syllable", marksBeforeCircled, kCompanySlot, u"㈜동백조선"},
        {"a logo read as a quote mark", quoteMark, kCompanySlot, u"주식회사 한빛소프트"},
        {"a logo read as digits", digitsMark, kCompanySlot, u"유한회사 우리들약품"},
        {"the circled legal form after the company read as a syllable", syllableAfter, kCompanySlot, u"새벽물산 ㈜"},
        {"the circled legal form before a Latin name read as marks", bracketBeforeLatin, kCompanySlot, u"㈜Nexgen Korea"},
        {"a name of a rare surname", rareSurname, kNameSlot, u"견윤아"},
        {"a name of a rare surname", rareSurname, kCompanySlot, u"태백광업 주식회사"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(koreanFields(c.lines)[c.slot].text.toStdString(), QString::fromUtf16(c.expected).toStdString());
    }
}
