#include "outside/ocr/KoreanAddressLines.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// The provinces and the metropolitan and special cities an address starts with.
const QStringList& topDivisions()
{
    static const QStringList names = QString::fromUtf8(
                                         "서울특별시 부산광역시 대구광역시 인천광역시 광주광역시 대전광역시 울산광역시 세종특별자치시 "
                                         "제주특별자치도 강원특별자치도 전북특별자치도 경기도 강원도 충청북도 충청남도 전라북도 전라남도 "
                                         "경상북도 경상남도")
                                         .split(u' ', Qt::SkipEmptyParts);
    return names;
}

// The number of characters to change, add or take away to make one text the other.
int editDistance(const QString& a, const QString& b)
{
    std::vector<int> row(size_t(b.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] = std::min({above + 1, row[size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// The districts (구) of the special and metropolitan cities and of the large cities of the
// provinces.
const QStringList& districts()
{
    static const QStringList names = QString::fromUtf8(
                                         "종로구 중구 용산구 성동구 광진구 동대문구 중랑구 성북구 강북구 도봉구 노원구 은평구 서대문구 마포구 "
                                         "양천구 강서구 구로구 금천구 영등포구 동작구 관악구 서초구 강남구 송파구 강동구 서구 동구 영도구 "
                                         "부산진구 동래구 남구 북구 해운대구 사하구 금정구 연제구 수영구 사상구 수성구 달서구 미추홀구 연수구 "
                                         "남동구 부평구 계양구 광산구 유성구 대덕구 장안구 권선구 팔달구 영통구 수정구 중원구 분당구 덕양구 "
                                         "일산동구 일산서구 처인구 기흥구 수지구 만안구 동안구 상록구 단원구 원미구 소사구 오정구 상당구 서원구 "
                                         "흥덕구 청원구 동남구 서북구 완산구 덕진구 의창구 성산구 마산합포구 마산회원구 진해구")
                                         .split(u' ', Qt::SkipEmptyParts);
    return names;
}

// "서물특별시", "서울득별시", "전북득별자치도", "서움득별시": a word of a province's or a city's
// ending one syllable off a top division, or two off one of five syllables or more that no other
// division is as near.
QString asTopDivision(const QString& word)
{
    static const QRegularExpression shape(QString::fromUtf8("^[가-힣]{2,6}[시도]$"));
    if (!shape.match(word).hasMatch() || topDivisions().contains(word))
        return word;
    QString nearest;
    int best = 3, ties = 0;
    for (const QString& name : topDivisions()) {
        if (name.size() != word.size())
            continue;
        if (const int d = editDistance(name, word); d < best) {
            best = d;
            nearest = name;
            ties = 1;
        } else if (d == best) {
            ++ties;
        }
    }
    return ties == 1 && (best == 1 || (best == 2 && word.size() >= 5)) ? nearest : word;
}

} // namespace

QString withKoreanPlaceNames(const QString& text)
{
    QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    for (QString& word : words) {
        word = asTopDivision(word);
        // "영도구태종로", "중구세종대로": a district the engine ran into the road after it.
        for (const QString& district : districts()) {
            static const QRegularExpression road(QString::fromUtf8("^[가-힣]{2,10}(?:대로|로|길)$"));
            if (word.startsWith(district) && road.match(word.mid(district.size())).hasMatch()) {
                word.insert(district.size(), u' ');
                break;
            }
        }
    }
    return words.join(u' ');
}

QString koreanAddressAsPrinted(const QString& address)
{
    QString out = withKoreanPlaceNames(address);
    // A town's 읍 read as 음 ("아산시 배방음"), and a road's 로 or 길 read apart from its name
    // ("양산역 로 82").
    static const QRegularExpression townEup(QString::fromUtf8(R"(([시군]\s[가-힣]{1,3})음(?=\s))"));
    out.replace(townEup, QString::fromUtf8("\\1읍"));
    static const QRegularExpression roadApart(QString::fromUtf8(R"((?<=[가-힣0-9])\s(?=(?:대로|로|길)\s[0-9]))"));
    out.remove(roadApart);
    // "4: (37754) …", "; (62215) …", "구태 서울특별시 …": what the label "주소:" or a mark left.
    static const QRegularExpression beforeCode(QStringLiteral(R"(^[^(（\x{AC00}-\x{D7A3}]{1,4}(?=[(（][0-9]{5}[)）]))"));
    out.remove(beforeCode);
    if (const QString first = out.section(u' ', 0, 0); first.size() <= 3 && !topDivisions().contains(first)
        && topDivisions().contains(out.section(u' ', 1, 1)))
        out = out.section(u' ', 1);
    // The floor after a building or after the road's number and a comma: "16증", "18" for "18층",
    // "145" for "14층".
    static const QRegularExpression misreadFloor(QString::fromUtf8(R"((?<=\s)([0-9]{1,2})(?:증|충|총|중|즘)$)"));
    out.replace(misreadFloor, QStringLiteral("\\1층"));
    static const QRegularExpression bareFloor(QString::fromUtf8(
        R"((?:빌딩|타워|센터|센터원|회관|프라자|플라자|오피스텔|별관|본관|하이츠|아크로텔|밸리|파크|스퀘어|[A-Z0-9]동|[0-9],)\s([0-9]{1,2})([458]?)$)"));
    // A number after the road's number, or after a building's name that is no road nor quarter
    // ("삼성로 289 14", "대우트럼프월드 28", "우리빌딩 신관 29"), is the floor.
    static const QRegularExpression floorAfter(QString::fromUtf8(
        R"((?:\s[0-9]{1,4}(?:-[0-9]+)?|\s[가-힣A-Za-z0-9]*[가-힣A-Za-z](?<![로길동리가읍면구시군]))\s([0-9]{1,2})$)"));
    // "평택항로 271 145": no building is a hundred floors high, so a third digit after a floor's
    // two is its "층" misread.
    static const QRegularExpression floorReadOn(QString::fromUtf8(R"([로길]\s[0-9]{1,4}\s([0-9]{2})[4589]$)"));
    if (const auto m = bareFloor.match(out); m.hasMatch())
        out = out.left(m.capturedStart(1)) + m.captured(1) + QString::fromUtf8("층");
    else if (const auto f = floorAfter.match(out); f.hasMatch())
        out += QString::fromUtf8("층");
    else if (const auto r = floorReadOn.match(out); r.hasMatch())
        out = out.left(r.capturedStart(1)) + r.captured(1) + QString::fromUtf8("층");
    // "월드컵북로 67,IFC타워": a comma after the road's number is followed by a blank.
    static const QRegularExpression commaRunOn(QStringLiteral(R"((?<=[0-9]),(?=\S))"));
    out.replace(commaRunOn, QStringLiteral(", "));
    return out;
}

QString koreanPostalCodeOf(const QString& address)
{
    static const QRegularExpression code(QStringLiteral(R"(^[(（]([0-9]{5})[)）])"));
    const auto m = code.match(address);
    return m.hasMatch() ? m.captured(1) : QString();
}
