#include "outside/ocr/WebAddressShape.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// Replaces every match by what `with` makes of it.
template <typename With> QString replaced(const QString& text, const QRegularExpression& pattern, With with)
{
    QString out;
    qsizetype from = 0;
    for (auto it = pattern.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += text.mid(from, m.capturedStart() - from) + with(m);
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

// A host ends in a country's two letters or a generic ending; "jpo" or "hika" is a host cut or
// misread at its end.
bool endsLikeAHost(const QString& host)
{
    static const QRegularExpression ending(QStringLiteral(R"(\.(?:[a-z]{2}|com|net|org|info|biz|edu|gov)$)"),
                                           QRegularExpression::CaseInsensitiveOption);
    return ending.match(host).hasMatch();
}

// Whether two texts differ by at most one character put in, left out or read as another.
bool oneEditApart(const QString& a, const QString& b)
{
    if (std::abs(a.size() - b.size()) > 1)
        return false;
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a.at(i) == b.at(i))
        ++i;
    const QStringView restA = QStringView(a).mid(i), restB = QStringView(b).mid(i);
    return restA.isEmpty() || restB.isEmpty() || restA.mid(1) == restB.mid(1) || restA.mid(1) == restB || restA == restB.mid(1);
}

} // namespace

QString withWebAddressShape(const QString& line)
{
    static const QRegularExpression looksWeb(
        QStringLiteral(R"(@|⑥|www|https?:|[a-z0-9]\.\s?(?:jp|com|net|org|io|uk|de|fr|es|it|pt|br|au|us|eu)\b)"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (!looksWeb.match(line).hasMatch())
        return line;
    QString out = line;
    // The scheme's slashes and the "w" after them read as "/A", "A" or "v", set apart, or with a
    // speck read as a quote mark.
    static const QRegularExpression scheme(QStringLiteral(R"(\b(https?)\s?:\s?/{0,2}\s?[‘’'`]?A?(?:[vV]ww|www)[.,]\s?)"));
    out.replace(scheme, QStringLiteral("\\1://www."));
    static const QRegularExpression schemeOnly(QStringLiteral(R"(\b(https?)\s?:\s?/{1,2}\s?(?=[a-z0-9]))"));
    out.replace(schemeOnly, QStringLiteral("\\1://"));
    // "www" misread ("Avww", "wwwr") or cut from its host by a blank or a comma, or its dot set apart
    // ("http://www .x.com.tw").
    static const QRegularExpression www(
        QStringLiteral(
            R"((?<![\p{L}\p{N}.\-])(?:A?vww|www|wwwr|wvw|wwv|vvw|mww|wmw|wwm)(?!\s?www\.)(?:\s?[.,]\s?(?=[a-z0-9\-]{3})|\s(?=[a-z0-9\-]+\.[a-z])))"),
        QRegularExpression::CaseInsensitiveOption);
    // A "www" label before an address with its scheme ("www.https://www.x.com").
    static const QRegularExpression wwwLabel(QStringLiteral(R"((?<![\p{L}\p{N}.\-/])www\s*[.:]?\s*(?=https?://))"));
    out.remove(wwwLabel);
    out.replace(www, QStringLiteral("www."));
    // "www" run into its host ("https://wwwsakurai-chem.com").
    static const QRegularExpression wwwRunIn(QStringLiteral(R"((^|\s|://)www(?=[a-z0-9\-]{3,}\.[a-z]))"));
    out.replace(wwwRunIn, QStringLiteral("\\1www."));
    // A host split by a blank after "www." or the scheme ("www.hika ri-hoken.jp").
    static const QRegularExpression splitHost(QStringLiteral(R"((www\.|://)([a-z0-9\-]+)\s(?=[a-z0-9\-]+\.[a-z]))"));
    out.replace(splitHost, QStringLiteral("\\1\\2"));
    // A hyphen of a host the engine set apart from the rest ("hanse- steuerberatung.de",
    // "logistica- -guanabara.com.br").
    static const QRegularExpression splitHyphen(QStringLiteral(R"((?<=[a-z0-9])-\s+-?(?=[a-z0-9][a-z0-9\-]*\.[a-z]))"));
    out.replace(splitHyphen, QStringLiteral("-"));
    // A host's dot before its ending read as a colon set apart ("meridian-health-partners: .co.uk/").
    static const QRegularExpression colonBeforeEnding(QStringLiteral(R"((?<=[a-z0-9])[:;]\s*(?=\.(?:[a-z]{2,3}\.)?[a-z]{2,3}(?:/|\s|$)))"));
    out.remove(colonBeforeEnding);
    // "@" read as a capital Q or O, or as "(Q", between an address's small letters and its host, on
    // a line without one: "thiago.costaQclinica-sao-joao.com.br", "ferreiracostaO logistica.com.br".
    static const QRegularExpression atAsLetter(
        QStringLiteral(R"((?<![\p{L}\p{N}./:])(?!www\.)(I?[a-z0-9](?:[a-z0-9._\-]*[a-z0-9])?)\s?\(?[QO]\s?(?=[a-z0-9][a-z0-9\-]*(?:\.[a-z0-9\-]+)*\.[a-z]{2,4}\b))"));
    if (!out.contains(u'@'))
        out.replace(atAsLetter, QStringLiteral("\\1@"));
    // "Ibennett@": an address in small letters starts with "l", which the engine reads as a capital I.
    static const QRegularExpression capitalI(QStringLiteral(R"((?<![\p{L}\p{N}._\-])I(?=[a-z0-9._\-]+@[a-z0-9.\-]+\b))"));
    out.replace(capitalI, QStringLiteral("l"));
    // The same after a dot, hyphen or underscore of a name in small letters ("faure_I@").
    static const QRegularExpression capitalIAfterMark(QStringLiteral(R"((?<![\p{L}\p{N}._\-])([a-z0-9._\-]*[a-z0-9][._\-])I(?=[a-z0-9._\-]*@[a-z0-9.\-]+\b))"));
    out.replace(capitalIAfterMark, QStringLiteral("\\1l"));
    // A host in small letters has no capital I: it is a small l ("-de-I-ouest.fr").
    static const QRegularExpression hostWithI(QStringLiteral(R"((?<=@|www\.|://)[A-Za-z0-9\-]*I[A-Za-z0-9.\-]*)"));
    out = replaced(out, hostWithI, [](const QRegularExpressionMatch& m) {
        const QString host = m.captured();
        const bool small = std::none_of(host.begin(), host.end(), [](QChar c) { return c.isUpper() && c != u'I'; })
            && std::any_of(host.begin(), host.end(), [](QChar c) { return c.isLower(); });
        return small ? QString(host).replace(u'I', u'l') : host;
    });
    // A small l read as a one after a dot, hyphen or underscore of an address's name and before its
    // letters ("m.1in@", "yuhang-1i@"): a name's part does not start with a digit run into letters.
    static const QRegularExpression oneForL(QStringLiteral(R"((?<=[a-z][._\-])1(?=[a-z][a-z._\-]*@))"));
    out.replace(oneForL, QStringLiteral("l"));
    // A small l read as a bar before a dot of an address's name ("E-mail |.yao@").
    static const QRegularExpression barForL(QStringLiteral(R"((?<=\s)\|(?=\.[a-z0-9][a-z0-9._\-]*@))"));
    out.replace(barForL, QStringLiteral("l"));
    // "www" with a "w" lost after the scheme ("https://ww.x.cn").
    static const QRegularExpression lostW(QStringLiteral(R"((?<=://)ww\.(?=[a-z0-9\-]+\.[a-z]))"));
    out.replace(lostW, QStringLiteral("www."));
    // "@" read as a circled six; blanks around "@" or after a dot; a comma for a dot between labels.
    static const QRegularExpression at(QStringLiteral(R"((?<=[A-Za-z0-9._\-])\s?[@⑥]\s?(?=[a-z0-9\-]+[.,]))"));
    out.replace(at, QStringLiteral("@"));
    // A "de" with a word after it is the Romance word after an abbreviation ("Avda. de la …").
    static const QRegularExpression dotBlank(
        QStringLiteral(R"((?<=[a-z0-9])\.\s(?=(?:co\.|or\.|ne\.|ac\.)?(?:jp|com|net|org|io|uk|de(?!\s+\p{L}))\b))"));
    out.replace(dotBlank, QStringLiteral("."));
    // A host's last dot read as a blank or set apart from its ending at the end of the line or its
    // host: "www.moreau. fr", "https://www.x-engineering com", "x@lyon fr", "x-elec.com. tw", "x-ph.com, tw".
    static const QRegularExpression lastDot(
        QStringLiteral(R"(((?:://(?:www\.)?|www\.|@)([a-z0-9\-]+(?:\.[a-z0-9\-]+)*))(?:[.,]\s+|\s+\.?)(com|net|org|[a-z]{2})(?=/|\s*$))"),
        QRegularExpression::CaseInsensitiveOption);
    out = replaced(out, lastDot, [](const QRegularExpressionMatch& m) {
        static const QRegularExpression secondLevel(QStringLiteral(R"(\.(?:com|co|net|org|ac|gov|edu)$)"), QRegularExpression::CaseInsensitiveOption);
        const bool cut = !m.captured(2).contains(u'.') || (m.captured(3).size() == 2 && secondLevel.match(m.captured(2)).hasMatch());
        // A mail host in capitals is more likely noise than an address cut at its dot.
        const bool mailInCapitals = m.captured(1).startsWith(u'@') && m.captured(2) != m.captured(2).toLower();
        return cut && !mailInCapitals ? m.captured(1) + u'.' + m.captured(3) : m.captured();
    });
    // The same for a host of hyphenated words printed without "www" ("transports-de-l-ouest. fr").
    static const QRegularExpression bareHostDot(
        QStringLiteral(R"((?<![\p{L}\p{N}.@\-/])([a-z0-9]+(?:-[a-z0-9]+)+)\.\s+(com|net|org|[a-z]{2})$)"));
    out.replace(bareHostDot, QStringLiteral("\\1.\\2"));
    static const QRegularExpression comma(QStringLiteral(R"(((?:@|www\.)[a-z0-9\-.]+),(co|or|ne|ac|jp|kr|com|net|org))"),
                                          QRegularExpression::CaseInsensitiveOption);
    out.replace(comma, QStringLiteral("\\1.\\2"));
    // A letter read after a Japanese ending ("x.co.jpo") or in it ("x.cOojp", "x.coJjjp").
    static const QRegularExpression afterEnding(QStringLiteral(R"((\.(?:co|or|ne|ac|go)\.jp)[a-z]\b)"));
    out.replace(afterEnding, QStringLiteral("\\1"));
    // A Japanese ending one letter off ("x.co.jo") or after a capital J the engine doubled ("xJ.jp").
    static const QRegularExpression offEnding(QStringLiteral(R"(\.(co|or|ne|ac|go)\.(?:j[a-oq-z]|[a-ik-z]p)\b)"));
    out.replace(offEnding, QStringLiteral(".\\1.jp"));
    static const QRegularExpression inEnding(QStringLiteral(R"((?<=[a-z0-9])\.c[oO0][A-Za-z]{1,2}?\.?jp\b)"));
    out.replace(inEnding, QStringLiteral(".co.jp"));
    // A host that lost the dots of its Japanese ending ("x-seiko.cojp", "x-chozaijp") or of ".com".
    static const QRegularExpression lostDot(QStringLiteral(R"(((?:@|www\.|://)[a-z0-9\-.]*?)\.?(co|or|ne|ac|go)?(jp|com)\b(?![.\-@]))"),
                                            QRegularExpression::CaseInsensitiveOption);
    out = replaced(out, lostDot, [](const QRegularExpressionMatch& m) {
        const bool dotted = m.captured().contains(u'.' + m.captured(2) + u'.') || m.captured().endsWith(u'.' + m.captured(3));
        if (dotted && m.captured(2).isEmpty())
            return m.captured();
        return m.captured(1) + u'.' + (m.captured(2).isEmpty() ? QString() : m.captured(2).toLower() + u'.') + m.captured(3).toLower();
    });
    static const QRegularExpression doubledJ(QStringLiteral(R"((?<=[a-z0-9])J(?=\.jp\b))"));
    return out.remove(doubledJ);
}

QString webAddressByMailDomain(const QString& url, const QString& email)
{
    const qsizetype at = email.indexOf(u'@');
    static const QRegularExpression parts(QStringLiteral(R"(^((?:https?://)?(?:www\.)?)([^/]+)(.*)$)"),
                                          QRegularExpression::CaseInsensitiveOption);
    const auto m = parts.match(url);
    if (at < 0 || !m.hasMatch())
        return url;
    const QString domain = email.mid(at + 1).toLower();
    const QString host = m.captured(2).toLower();
    if (host == domain || !endsLikeAHost(domain) || domain.size() < 6)
        return url;
    // Cut or misread at its end ("www.hika", "x.co.jpo"), or cut inside its first label ("hoken.jp"
    // of "hikari-hoken.jp", "le.co.uk" of "quarryvale.co.uk"; a host of its own ends at a dot).
    static const QRegularExpression marks(QStringLiteral("[^a-z0-9]"));
    // A host with a character no host has ("heide+eisen.eu" for "heide-reisen.eu") is misread.
    static const QRegularExpression notOfAHost(QStringLiteral("[^a-z0-9.\\-]"));
    const bool misread = notOfAHost.match(host).hasMatch();
    // "wwofficine-x.com" for the mail's "officine-x.com": "www." read as other w's run into the host.
    static const QRegularExpression wwwMisread(QStringLiteral("^[wvm]{2,4}\\.?$"));
    if (host.size() > domain.size() && host.endsWith(domain) && m.captured(1).isEmpty()
        && wwwMisread.match(host.left(host.size() - domain.size())).hasMatch())
        return QStringLiteral("www.") + domain + m.captured(3);
    const bool agrees =
        ((!endsLikeAHost(host) || misread)
         && (oneEditApart(QString(host).remove(marks), QString(domain).remove(marks)) || (host.size() >= 3 && domain.startsWith(host))))
        || (host.size() >= 5 && host.size() < domain.size() && domain.endsWith(host) && domain.at(domain.size() - host.size() - 1) != u'.');
    return agrees ? m.captured(1) + domain + m.captured(3) : url;
}
