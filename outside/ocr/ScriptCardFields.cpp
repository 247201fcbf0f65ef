#include "outside/ocr/ScriptCardFields.h"

#include "outside/ocr/CardLanguage.h"
#include "outside/ocr/CyrillicAddressLines.h"
#include "outside/ocr/KoreanAddressLines.h"
#include "outside/ocr/KoreanCardFields.h"
#include "outside/ocr/LatinAddressLines.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace {

// The common surnames (the hundred family names and those after them in frequency), in both
// scripts where they differ, and the compound ones.
const QString& chineseSurnames()
{
    static const QString names = QString::fromUtf8(
        "王李张張刘劉陈陳杨楊黄黃赵趙吴吳周徐孙孫马馬朱胡郭何高林罗羅郑鄭梁谢謝宋唐许許韩韓冯馮邓鄧曹彭曾肖萧蕭田董袁潘于蒋蔣"
        "蔡余杜叶葉程苏蘇魏吕呂丁任沈姚卢盧姜崔钟鍾谭譚陆陸汪范金石廖贾賈夏韦韋付方白邹鄒孟熊秦邱江尹薛闫閻段雷侯龙龍史陶黎"
        "贺賀顾顧毛郝龚龔邵万萬钱錢严嚴覃武戴莫孔向汤湯常温溫康施文牛樊葛邢安齐齊易乔喬伍庞龐颜顏倪庄莊聂聶章鲁魯岳翟殷詹申"
        "欧歐耿关關兰蘭焦俞左柳甘祝包宁寧尚符舒阮柯纪紀梅童凌毕畢单單季裴霍涂成苗谷盛曲翁冉骆駱蓝藍路游辛靳管柴蒙鲍鮑华華"
        "喻祁蒲房滕屈饶饒解牟艾尤阳陽时時穆农農司卓古吉缪繆简簡车車连連芦蘆麦麥褚娄婁窦竇戚岑景党黨宫宮费費卜冷晏席卫衛"
        "米柏宗瞿桂全佟应應臧闵閔苟邬鄔边邊卞姬师師和仇栾欒隋商刁沙荣榮巫寇桑郎甄丛叢仲虞敖巩鞏明佘池查麻苑迟遲邝鄺官封"
        "谈談匡鞠惠荆荊乐樂冀郁胥南班储儲原栗燕楚鄢劳勞谌諶奚皮粟冼蔺藺盘盤满滿闻聞位厉厲伊仝郜海阚闞花权權帅帥屠豆朴盖"
        "蓋练練廉禹井祖漆巴支卿狄平计計索宣晋晉相初云雲容敬来來扈晁芮都普阙闕浦戈伏鹿薄雍辜羊乌烏母裘亓修邰赫杭况況宿"
        "鲜鮮印逯隆茹诸諸战戰慕危玉银銀亢嵇公湛宾賓戎勾茅利於居揭干尉斯元束檀衣信展阴陰昝智幸奉植衡富尧堯");
    return names;
}

const QStringList& compoundChineseSurnames()
{
    static const QStringList names = QString::fromUtf8(
                                         "欧阳 歐陽 司马 司馬 上官 诸葛 諸葛 东方 東方 皇甫 尉迟 尉遲 公孙 公孫 慕容 长孙 長孫 宇文 司徒 夏侯 "
                                         "轩辕 軒轅 令狐 独孤 獨孤 端木 西门 西門 南宫 南宮 澹台 澹臺 申屠 万俟")
                                         .split(u' ', Qt::SkipEmptyParts);
    return names;
}

// The Korean surnames of the census, the most frequent first.
const QStringList& koreanSurnames()
{
    static const QStringList names = QString::fromUtf8(
                                         "김 이 박 최 정 강 조 윤 장 임 한 오 서 신 권 황 안 송 류 유 전 홍 고 문 양 손 배 백 허 남 심 노 하 곽 성 "
                                         "차 주 우 구 민 진 나 지 엄 채 원 천 방 공 현 함 변 염 여 추 도 소 석 선 설 마 길 연 위 표 명 기 반 왕 금 "
                                         "옥 육 인 맹 제 모 탁 국 어 은 편 용 예 경 봉 사 부 가 복 태 목 형 피 두 감 호 견 라 빈 당 계 범 팽 승 간 좌 갈 음 빙 온 "
                                         "곡 판 초 뇌 요 후 제갈 남궁 황보 선우 독고 사공 "
                                         "서문 동방")
                                         .split(u' ', Qt::SkipEmptyParts);
    return names;
}

bool isHangul(QChar c)
{
    return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3;
}

QString compact(const QString& text)
{
    return QString(text).remove(u' ').remove(QChar(0x3000));
}

// The text without marks a logo or a rule leaves at its ends.
QString trimmedOfMarks(const QString& text)
{
    // A comma ending a line goes on to the next line of the address.
    // "㈜" opening or ending a Korean company is its legal form.
    static const QRegularExpression ends(QStringLiteral(R"(^[^\p{L}\p{N}(（«"㈜]+|[^\p{L}\p{N})）»".,，、㈜]+$)"));
    // A logo before the script's text reads as a Latin letter or two: "O 金桥投资有限公司".
    static const QRegularExpression scrap(QStringLiteral(R"(^[A-Za-z]{1,2}\s+(?=[\x{3400}-\x{9FFF}\x{AC00}-\x{D7A3}\x{0400}-\x{04FF}(（]))"));
    // A rule beside a Korean name reads as a loose letter of Hangul: "탁태윤 ㅣ", "ㅣ 고범수".
    static const QRegularExpression jamo(QStringLiteral(R"(\s+[\x{3131}-\x{318E}]+$|^[\x{3131}-\x{318E}]+\s+)"));
    return QString(text).remove(ends).remove(scrap).remove(jamo).remove(ends).trimmed();
}

// The pieces of one row the engine read apart ("(06236) 서울특별시 강남구" and "테헤란로 144,
// 한솔빌딩 23층"), joined with a blank; pieces of about one height, the gap between them a few
// heights at most.
std::vector<RecognizedLine> joinedRowPieces(std::vector<RecognizedLine> lines)
{
    std::stable_sort(lines.begin(), lines.end(), [](const RecognizedLine& a, const RecognizedLine& b) { return a.top < b.top; });
    for (size_t i = 0; i < lines.size(); ++i) {
        for (size_t j = i + 1; j < lines.size(); ++j) {
            RecognizedLine& a = lines[i];
            const RecognizedLine& b = lines[j];
            const int h = std::max(1, std::min(a.bottom - a.top, b.bottom - b.top));
            const bool sameRow = 2 * (std::min(a.bottom, b.bottom) - std::max(a.top, b.top)) > h
                && std::abs((a.bottom - a.top) - (b.bottom - b.top)) * 3 < h;
            const bool besides = b.left > a.right && b.left - a.right < 4 * h;
            if (!sameRow || !besides || a.text.contains(u'@') || b.text.contains(u'@'))
                continue;
            appendRowPiece(a, b);
            lines.erase(lines.begin() + qsizetype(j));
            --j;
        }
    }
    return lines;
}

// A line that goes on an address of the script: its building, floor, room or office.
bool continuesAddressOfScript(const QString& text)
{
    static const QRegularExpression building(QString::fromUtf8(
        "(?:大厦|大廈|中心|广场|廣場|大楼|大樓|楼|樓|层|層|室|座|빌딩|타워|센터|플라자|층|호|офис|оф\\.|этаж|корп\\.|стр\\.|кв\\.)"));
    // A Korean road or quarter and its number ("판교역로 102", "노형동 도령로 39", "보람동 150"), the
    // number the road's line wrapped before ("75, 한솔빌딩 2층"), or the floor alone at the end, its
    // "층" misread or lost ("대우트럼프월드 28증", "14", "145").
    static const QRegularExpression koreanRoad(QString::fromUtf8(
        R"((?:^|\s)[가-힣0-9]+(?:로|길|동|리|가)\s*[0-9]+(?:-[0-9]+)?(?=[,\s]|$)|^[0-9]{1,4}(?:-[0-9]+)?,\s*[가-힣]|)"
        R"((?:^|[가-힣]\s)[0-9]{1,2}\s*[층증충총중즘]$|^[0-9]{1,2}$|^[0-9]{2}[4589]$)"));
    return ((building.match(text).hasMatch() && std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }))
            || koreanRoad.match(text).hasMatch())
        && !text.contains(u'@');
}

// What a title or a department of the script ends in: a line ending so is no person's name.
bool endsAsTitleOrUnit(const QString& text)
{
    static const QRegularExpression ending(QString::fromUtf8(
        "(经理|經理|总监|總監|主管|主任|部长|部長|处长|處長|董事|总裁|總裁|助理|专员|專員|工程师|工程師|顾问|顧問|秘书|秘書|会计|會計|代表|"
        "院长|院長|所长|所長|教授|博士|律师|律師|医师|醫師|总|總|长|長|部|处|處|科|室|中心|组|組|课|課|厅|廳|局|"
        "사장|회장|이사|상무|전무|부장|차장|과장|대리|사원|주임|팀장|실장|소장|원장|연구원|교수|박사|변호사|회계사|세무사|의사|"
        "부|팀|과|실|소|센터|본부)$"));
    return ending.match(text).hasMatch();
}

} // namespace

bool isScriptName(const QString& text)
{
    const QString name = compact(text);
    if (name.size() < 2 || name.size() > 4 || endsAsTitleOrUnit(name) || isCompanyOfScript(name) || isAddressOfScript(name))
        return false;
    const bool han = std::all_of(name.begin(), name.end(), isHanCharacter);
    const bool hangul = std::all_of(name.begin(), name.end(), isHangul);
    return (han || hangul) && scriptSurnameLength(name) > 0 && scriptSurnameLength(name) < name.size();
}

namespace {

// A name in Latin letters as a card prints the reading of a Chinese or Korean name beside it:
// "Wang Xiaoming", "WANG Xiao Ming", "Chen Chih-Ming", "Kim Min-jun".
bool isRomanisedName(const QString& text)
{
    static const QRegularExpression shape(QStringLiteral(R"(^[A-Z][A-Za-z]+(?:[-'][A-Za-z]+)?(?: [A-Z][A-Za-z]+(?:[-'][A-Za-z]+)?){1,2}$)"));
    static const QRegularExpression business(
        QStringLiteral(R"(\b(?:Co|Ltd|Inc|Corp|Company|Limited|Group|Trading|Technology|Electronics|Logistics|International|Bank)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    return shape.match(text).hasMatch() && !business.match(text).hasMatch();
}

// A company's name in Latin letters beside the script's: its legal form, or its e-mail domain's words.
bool isLatinCompany(const QString& text, const QString& domain)
{
    static const QRegularExpression legal(
        QStringLiteral(R"(\b(?:Co\.|Ltd\.?|Inc\.?|Corp\.?|Corporation|Company|Limited|Group|LLC|PLC)(?=\W|$))"),
        QRegularExpression::CaseInsensitiveOption);
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x0400; }))
        return false;
    QString letters;
    for (QChar c : text) {
        if (c.isLetter())
            letters += c.toLower();
    }
    return legal.match(text).hasMatch() || (domain.size() >= 4 && letters.size() >= 4 && domain.startsWith(letters.left(4)));
}

int height(const RecognizedLine& l)
{
    return l.bottom - l.top;
}

SlotFill slotOf(const QString& text, const RecognizedLine& box)
{
    return {text, box.left, box.top, box.right, box.bottom, true};
}

// The letters of an e-mail address's domain before its first dot ("huaxin" of "li@huaxin.com.cn"),
// else of the web address's host.
QString mailDomain(const ResultSlots& fields)
{
    const QString mail = fields[23].text;
    const qsizetype at = mail.indexOf(u'@');
    if (at >= 0)
        return mail.mid(at + 1).section(u'.', 0, 0).toLower().remove(u'-');
    static const QRegularExpression host(QStringLiteral(R"(^(?:https?://)?(?:www\.)?([A-Za-z0-9\-]+)\.)"), QRegularExpression::CaseInsensitiveOption);
    const auto m = host.match(fields[27].text.trimmed());
    return m.hasMatch() ? m.captured(1).toLower().remove(u'-') : QString();
}

// A Russian text in the Latin letters its e-mail and web addresses spell it with: "Волков" gives
// "volkov", "Северный Ветер" "severnyyveter"; letters only, in lower case.
QString transliterated(const QString& text)
{
    static const QString cyrillic = QString::fromUtf8("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    static const char* const latin[] = {"a", "b", "v", "g", "d", "e", "e", "zh", "z", "i", "y", "k", "l", "m", "n", "o", "p",
                                        "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "sch", "", "y", "", "e", "yu", "ya"};
    QString out;
    for (QChar c : text.toLower()) {
        if (const qsizetype at = cyrillic.indexOf(c); at >= 0)
            out += QString::fromLatin1(latin[at]);
        else if (c.isLetter() && c.unicode() < 0x80)
            out += c;
    }
    return out;
}

// Whether two spellings in Latin letters share a run of `least` letters ("severnyyveter" and
// "severny-veter").
bool shareLetters(const QString& a, const QString& b, int least)
{
    if (a.size() < least || b.size() < least)
        return false;
    for (qsizetype i = 0; i + least <= a.size(); ++i) {
        if (b.contains(a.mid(i, least)))
            return true;
    }
    return false;
}

// Whether a word of a name is the one a part of the e-mail address's name spells: most of the
// shorter of the two in one run ("Рябинин" for "k.ryabinin", not "Металлоконструкций" for
// "konstantin", which share "kons" only).
bool spellsMailNamePart(const QString& word, const QString& mailName)
{
    static const QRegularExpression separators(QStringLiteral("[._\\-+0-9]"));
    const QString spelled = transliterated(word);
    for (const QString& part : mailName.split(separators, Qt::SkipEmptyParts)) {
        const qsizetype shorter = std::min(spelled.size(), part.size());
        const int least = std::max(4, int((shorter * 7 + 9) / 10));
        if (shorter >= 4 && shareLetters(spelled, part, least))
            return true;
    }
    return false;
}

// A Russian person's name: two or three capitalised Cyrillic words (given name, patronymic, family
// name in either order), or the same in capitals.
bool isRussianName(const QString& text)
{
    static const QRegularExpression shape(QString::fromUtf8(R"(^(?:[А-ЯЁ][а-яё]+|[А-ЯЁ]{2,})(?:-[А-ЯЁа-яё]+)?(?:\s+(?:[А-ЯЁ][а-яё]+|[А-ЯЁ]{2,})(?:-[А-ЯЁа-яё]+)?){1,2}$)"));
    return shape.match(text).hasMatch() && !isCompanyOfScript(text) && !isAddressOfScript(text);
}

// Many Cyrillic small letters (и, к, н, т, в, л, м) are small capitals in shape, and the engine
// reads some of a word's as capitals: "ДмитРИЙ", "БогдАНнов". A word that starts with a capital and
// has small letters after it is spelled in small letters after its first; a word in capitals stays.
QString withCyrillicNameCase(const QString& text)
{
    static const QRegularExpression mixed(QString::fromUtf8(R"((?<![\p{L}])([А-ЯЁ])((?=[А-ЯЁа-яё]*[а-яё])(?=[А-ЯЁа-яё]*[А-ЯЁ])[А-ЯЁа-яё]+))"));
    QString out = text;
    for (auto it = mixed.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out.replace(m.capturedStart(2), m.capturedLength(2), m.captured(2).toLower());
    }
    return out;
}

// Whether a line spells the company's name without its legal form and quotes: the wordmark
// "СЕВЕРНЫЙ ВЕТЕР" of "ООО «Северный Ветер»".
bool namesTheCompany(const QString& text, const QString& company)
{
    static const QRegularExpression legalForm(QString::fromUtf8(R"(^\s*(?:ООО|ОАО|ЗАО|ПАО|АО|НАО|ИП|000)\s+)"));
    const auto letters = [](const QString& t) {
        QString out;
        for (QChar c : t) {
            if (c.isLetterOrNumber())
                out += c.toLower();
        }
        return out;
    };
    const QString named = letters(QString(company).remove(legalForm));
    return named.size() >= 4 && letters(text) == named;
}

// Russian companies and names the general rules took one for the other: the company is the line
// with a legal form, else the line its web or e-mail domain spells; the name the line of a name's
// shape the e-mail address spells, else the other line of a name's shape.
void fillRussianCompanyAndName(ResultSlots& fields, const std::vector<RecognizedLine>& lines, const QString& domain,
                               const RecognizedLine* company)
{
    const QString mailName = fields[23].text.section(u'@', 0, 0).toLower();
    if (!company) {
        for (const RecognizedLine& line : lines) {
            const QString text = trimmedOfMarks(line.text);
            if (!text.contains(u'@') && !isAddressOfScript(text) && shareLetters(transliterated(text), domain, 5)
                && !shareLetters(transliterated(text), mailName, 5) && (!company || height(line) > height(*company)))
                company = &line;
        }
        if (company)
            fields[kCompanySlot] = slotOf(trimmedOfMarks(company->text), *company);
    }
    const RecognizedLine* name = nullptr;
    const QString& companyText = fields[kCompanySlot].text;
    const bool nameIsCompanys =
        compact(fields[kNameSlot].text) == compact(companyText) || namesTheCompany(fields[kNameSlot].text, companyText);
    for (const RecognizedLine& line : lines) {
        const QString text = withCyrillicNameCase(trimmedOfMarks(line.text));
        if (&line == company || !isRussianName(text) || namesTheCompany(text, companyText))
            continue;
        const QStringList words = text.split(u' ');
        const bool spelled =
            std::any_of(words.begin(), words.end(), [&mailName](const QString& w) { return spellsMailNamePart(w, mailName); });
        if (spelled || (!name && nameIsCompanys))
            name = &line;
        if (spelled)
            break;
    }
    if (name)
        fields[kNameSlot] = slotOf(withCyrillicNameCase(trimmedOfMarks(name->text)), *name);
    else if (nameIsCompanys)
        fields[kNameSlot] = {};
    else
        fields[kNameSlot].text = withCyrillicNameCase(fields[kNameSlot].text);
}

} // namespace

bool isCompanyOfScript(const QString& text)
{
    static const QRegularExpression company(QString::fromUtf8(
        "公司|集团|集團|事务所|事務所|研究院|银行|銀行|大学|大學|学院|學院|医院|醫院|工作室|商行|"
        // A firm, a trading house or an agency ("合興企業", "福興茶行", "遠航旅行社"): no person's name of
        // two or three characters ends so.
        "\\p{Han}{2,}(?:企業|企业)$|\\p{Han}{3,}(?:行|社)$|"
        "주식회사|㈜|\\(주\\)|（주）|^주\\)(?=[가-힣])|유한회사|\\(유\\)|그룹|은행|대학교|병원|연구소|재단|협회|"
        "(?:^|[^\\p{L}])(?:ООО|ОАО|ЗАО|ПАО|АО|ИП|НПО|ГК|ФГУП|ООО|АНО)(?=$|[^\\p{L}])|«[^»]+»"));
    // A building named after a bank or a group is no company where its floor or room follows
    // ("招商银行大厦2003室").
    static const QRegularExpression premises(QString::fromUtf8(R"([0-9０-９]\s*(?:号|號|楼|樓|层|層|室))"));
    return company.match(text).hasMatch() && !premises.match(text).hasMatch();
}

int scriptSurnameLength(const QString& name)
{
    if (name.size() < 2)
        return 0;
    if (isHangul(name.front())) {
        const QString two = name.left(2);
        if (name.size() >= 4 && koreanSurnames().contains(two))
            return 2;
        return koreanSurnames().contains(name.left(1)) ? 1 : 0;
    }
    if (name.size() >= 3 && compoundChineseSurnames().contains(name.left(2)))
        return 2;
    return chineseSurnames().contains(name.front()) ? 1 : 0;
}

void appendRowPiece(RecognizedLine& row, const RecognizedLine& piece)
{
    row.text += u' ' + piece.text;
    row.right = piece.right;
    row.top = std::min(row.top, piece.top);
    row.bottom = std::max(row.bottom, piece.bottom);
    row.confidence = std::min(row.confidence, piece.confidence);
}

bool isAddressOfScript(const QString& text)
{
    static const QRegularExpression chinese(QString::fromUtf8(
        "^(?:地址[:：]?\\s*)?.{0,12}(?:省|市|区|區|县|縣|镇|鎮|乡|鄉).*(?:路|街|道|巷|弄|号|號|大厦|大廈|楼|樓|室|层|層|段)|"
        ".{2,}(?:路|街|道)[0-9０-９一二三四五六七八九十]+(?:号|號|段)"));
    static const QRegularExpression korean(QString::fromUtf8(
        "특별시|광역시|특별자치시|특별자치도|[가-힣]+도\\s+[가-힣]+(?:시|군)|[가-힣]+(?:시|군|구)\\s+[가-힣0-9]+(?:로|길|대로)(?:\\s|$)|"
        // A province alone on its line, or a town or district before the road and its number.
        "(?:경기|강원|충청북|충청남|전라북|전라남|경상북|경상남|충북|충남|전북|전남|경북|경남)도(?:\\s|$)|"
        "[가-힣]+(?:시|군|구)\\s.*[가-힣0-9]+(?:로|길)\\s*[0-9]+"));
    static const QRegularExpression russian(QString::fromUtf8(
        "(?:^|[\\s,])(?:ул\\.|улица|пр\\.|пр-т|проспект|пер\\.|переулок|ш\\.|шоссе|наб\\.|набережная|б-р|бульвар|пл\\.|площадь|"
        "д\\.|дом|корп\\.|стр\\.|офис|оф\\.|кв\\.|г\\.|обл\\.|область|р-н)(?=\\s|[0-9]|$)|(?:^|[\\s,])[0-9]{6},?\\s+\\p{Lu}\\p{Ll}+|"
        "\\p{Lu}\\p{Ll}+,\\s*[0-9]{6}$"));
    return chinese.match(text).hasMatch() || korean.match(text).hasMatch() || russian.match(text).hasMatch();
}

namespace {

void fillFieldsOfScriptShapes(ResultSlots& fields, const std::vector<RecognizedLine>& lines, int language)
{
    const bool russian = language == kLanguageRussian;
    const QString domain = mailDomain(fields);
    const std::vector<RecognizedLine> rows = joinedRowPieces(lines);
    // The address: its lines in reading order, labels and postal codes taken out.
    // "소:" is "주소:" with its first syllable lost.
    static const QRegularExpression label(QString::fromUtf8(R"(^(?:地址|住址|주?소\s*[:：]|주소|Адрес)\s*[:：]?\s*)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression chinesePostal(QString::fromUtf8(R"((?:邮编|郵編|郵遞區號|우편번호|\(우\)|우\))\s*[:：]?\s*([0-9]{3,6}))"));
    // A Korean address starts with its postal code in brackets: "(06236) 서울특별시 …".
    static const QRegularExpression koreanPostal(QStringLiteral(R"(^[(（]([0-9]{5})[)）])"));
    static const QRegularExpression sixDigits(QStringLiteral(R"((?:^|[^0-9])([0-9]{6})(?:$|[^0-9]))"));
    SlotFill address;
    QString postal;
    const RecognizedLine* postalBox = nullptr;
    const RecognizedLine* lastAddress = nullptr;
    for (const RecognizedLine& line : rows) {
        QString text = russian ? withCyrillicAddressMarks(trimmedOfMarks(line.text)) : trimmedOfMarks(line.text);
        if (const auto m = chinesePostal.match(text); m.hasMatch()) {
            postal = m.captured(1);
            postalBox = &line;
            text = (text.left(m.capturedStart()) + u' ' + text.mid(m.capturedEnd())).trimmed();
        }
        text.remove(label);
        // An e-mail address of another column read onto the address's row: the address is the row's
        // words before it ("344002, г. Ростов-на-Дону, Большая Садовая sergei.volkov@…").
        // A company of the column left of it read onto the row is none of the address ("ЗАО «…» Кирова, д. 17").
        if (russian) {
            static const QRegularExpression mailAfter(QStringLiteral(R"(\s+\S+@\S*$)"));
            if (const auto m = mailAfter.match(text); m.hasMatch() && isAddressOfScript(text.left(m.capturedStart())))
                text.truncate(m.capturedStart());
            // A number of the column beside it read onto the row ("Мобильный. +7 926 963-53-13 ул. …").
            static const QRegularExpression numberBefore(QStringLiteral(R"(^(?:\p{L}+\.?:?\s*)?\+?[0-9][0-9 ()\-]{6,}[0-9]\s+(?=\S))"));
            if (const auto m = numberBefore.match(text); m.hasMatch() && isAddressOfScript(text.mid(m.capturedEnd())))
                text.remove(0, m.capturedLength());
            static const QRegularExpression companyBefore(QString::fromUtf8(R"(^(?:ООО|ОАО|ЗАО|ПАО|АО)\s*«[^»]+»\s+(?=\S))"));
            if (const auto m = companyBefore.match(text); m.hasMatch() && isAddressOfScript(text.mid(m.capturedEnd())))
                text.remove(0, m.capturedLength());
        }
        const bool below = lastAddress && line.top > lastAddress->top && line.top - lastAddress->bottom < 3 * std::max(1, height(*lastAddress)) / 2;
        // "주소: (03154)" over "서울특별시 종로구 …": a Korean postal code alone on its line opens the
        // address printed under it.
        const bool opensAddress = !address.filled && koreanPostal.match(text).capturedLength() == text.size()
            && std::any_of(rows.begin(), rows.end(), [&line](const RecognizedLine& o) {
                   return o.top > line.top && o.top - line.bottom < 3 * std::max(1, height(line)) / 2 && o.right > line.left && o.left < line.right
                       && isAddressOfScript(trimmedOfMarks(o.text));
               });
        // A Russian address goes on in words: a bare number under it is a speck or a scrap ("4").
        const bool goesOn = below && continuesAddressOfScript(text)
            && (!russian || std::any_of(text.begin(), text.end(), [](QChar c) { return c.script() == QChar::Script_Cyrillic; }));
        if (text.contains(u'@') || !(isAddressOfScript(text) || opensAddress || goesOn))
            continue;
        // A line read far from the address before it starts another block of the card.
        if (lastAddress && line.top - lastAddress->bottom > 3 * std::max(1, height(*lastAddress)))
            continue;
        if (const auto m = koreanPostal.match(text); m.hasMatch() && postal.isEmpty()) {
            postal = m.captured(1);
            postalBox = &line;
        }
        if (russian && postal.isEmpty()) {
            if (const auto m = sixDigits.match(text); m.hasMatch()) {
                postal = m.captured(1);
                postalBox = &line;
            }
        }
        if (!address.filled) {
            address = slotOf(text, line);
        } else {
            address.text += u'\n' + text;
            address.left = std::min(address.left, line.left);
            address.right = std::max(address.right, line.right);
            address.bottom = std::max(address.bottom, line.bottom);
        }
        lastAddress = &line;
    }
    // A Russian town line below the street ("191186 Санкт-Петербург") goes on the address.
    if (russian && lastAddress) {
        const auto next = std::find_if(rows.begin(), rows.end(), [&](const RecognizedLine& l) { return l.top > lastAddress->top; });
        static const QRegularExpression town(QStringLiteral(R"(^(?:[0-9]{6},?\s+)?\p{Lu}\p{Ll}+(?:[- ]\p{Lu}\p{Ll}+)?(?:,\s*[0-9]{6})?$)"));
        if (next != rows.end() && town.match(trimmedOfMarks(next->text)).hasMatch() && next->top - lastAddress->bottom < 2 * height(*lastAddress)
            && !address.text.contains(trimmedOfMarks(next->text))) {
            const QString text = trimmedOfMarks(next->text);
            address.text += u'\n' + text;
            address.bottom = std::max(address.bottom, next->bottom);
            if (const auto m = sixDigits.match(text); m.hasMatch() && postal.isEmpty()) {
                postal = m.captured(1);
                postalBox = &*next;
            }
            lastAddress = &*next;
        }
        // The country under the town in its column ("Россия") ends the address.
        const RecognizedLine* country = nullptr;
        for (const RecognizedLine& l : rows) {
            if (l.top > lastAddress->top && l.left < lastAddress->right && l.right > lastAddress->left && (!country || l.top < country->top))
                country = &l;
        }
        if (country && isCountryLine(trimmedOfMarks(country->text)) && country->top - lastAddress->bottom < 2 * height(*lastAddress)) {
            address.text += u'\n' + trimmedOfMarks(country->text);
            address.bottom = std::max(address.bottom, country->bottom);
        }
    }
    if (address.filled)
        fields[kAddressSlot] = address;
    if (!postal.isEmpty() && postalBox)
        fields[kPostalCodeSlot] = slotOf(postal, *postalBox);

    // The company: the tallest line with a legal form of the script; its reading, the line that
    // names it in Latin letters.
    const RecognizedLine* company = nullptr;
    for (const RecognizedLine& line : lines) {
        const QString text = trimmedOfMarks(line.text);
        if (isCompanyOfScript(text) && !text.contains(u'@') && (!company || height(line) > height(*company)))
            company = &line;
    }
    if (company) {
        // The engine reads the Cyrillic О of a legal form as a zero: "000 «Сибирь Энерго»".
        // A logo before it reads as a letter or two: "п 000 «Кедр Консалтинг»".
        static const QRegularExpression zeros(QString::fromUtf8(R"(^(?:\S{1,2}\s+)?[0OО]{3}(?=\s*«))"));
        fields[kCompanySlot] = slotOf(trimmedOfMarks(company->text).replace(zeros, QString::fromUtf8("ООО")), *company);
    }
    if (russian) {
        fillRussianCompanyAndName(fields, lines, domain, company);
        return;
    }

    // The name: on a Chinese or Korean card the tallest line of a surname and a given name; its
    // reading, a romanised name set near it or spelled by the e-mail address.
    const RecognizedLine* name = nullptr;
    for (const std::vector<RecognizedLine>* candidates : {&lines, &rows}) {
        for (const RecognizedLine& line : *candidates) {
            if (isScriptName(trimmedOfMarks(line.text)) && (!name || height(line) > height(*name)))
                name = &line;
        }
    }
    if (company && !russian) {
        const RecognizedLine* latin = nullptr;
        for (const RecognizedLine& line : lines) {
            const QString text = trimmedOfMarks(line.text);
            if (&line != company && !text.contains(u'@') && !text.contains(QStringLiteral("www"), Qt::CaseInsensitive)
                && isLatinCompany(text, domain) && !isRomanisedName(text)
                && (!latin || std::abs(line.top - company->top) < std::abs(latin->top - company->top)))
                latin = &line;
        }
        if (latin)
            fields[kCompanyReadingSlot] = slotOf(trimmedOfMarks(latin->text), *latin);
    }
    if (!name)
        return;
    // A Chinese name gets a blank after its surname, as a Japanese one after its family name, so
    // that the mapping splits it; a Korean name stays as printed, with or without its blank.
    const QString nameText = compact(trimmedOfMarks(name->text));
    const int surname = scriptSurnameLength(nameText);
    fields[kNameSlot] = slotOf(language == kLanguageKorean ? trimmedOfMarks(name->text) : nameText.left(surname) + u' ' + nameText.mid(surname),
                               *name);
    const QString mailName = fields[23].text.section(u'@', 0, 0).toLower().remove(QRegularExpression(QStringLiteral("[^a-z]")));
    const RecognizedLine* reading = nullptr;
    for (const RecognizedLine& line : lines) {
        const QString text = trimmedOfMarks(line.text);
        if (!isRomanisedName(text))
            continue;
        QString letters = text.toLower();
        letters.remove(QRegularExpression(QStringLiteral("[^a-z]")));
        const bool near = std::abs(line.top - name->bottom) < 3 * height(*name) || std::abs(name->top - line.bottom) < 3 * height(*name);
        const QStringList words = text.split(u' ');
        const bool spelled = !mailName.isEmpty() && letters.size() >= 4
            && std::any_of(words.begin(), words.end(), [&mailName](const QString& w) {
                   return w.size() >= 2 && mailName.contains(QString(w).toLower().remove(u'-'));
               });
        if ((near || spelled) && (!reading || std::abs(line.top - name->top) < std::abs(reading->top - name->top)))
            reading = &line;
    }
    if (reading)
        fields[kNameReadingSlot] = slotOf(trimmedOfMarks(reading->text), *reading);
    // What the general rules took for the title or department from these lines goes.
    for (size_t slot : {kTitleSlot, kDepartmentSlot}) {
        const QString taken = compact(fields[slot].text);
        if (fields[slot].filled && (taken == nameText || (company && taken == compact(trimmedOfMarks(company->text)))))
            fields[slot] = {};
    }
}

} // namespace

void fillFieldsOfScript(ResultSlots& fields, const std::vector<RecognizedLine>& lines, int language)
{
    if (language != kLanguageKorean) {
        fillFieldsOfScriptShapes(fields, lines, language);
        return;
    }
    std::vector<RecognizedLine> korean = withKoreanLegalForms(lines);
    for (RecognizedLine& line : korean)
        line.text = withKoreanPlaceNames(line.text);
    fillFieldsOfScriptShapes(fields, korean, language);
    fillKoreanFields(fields, korean);
}
