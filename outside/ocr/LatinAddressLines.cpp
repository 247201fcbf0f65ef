#include "outside/ocr/LatinAddressLines.h"

#include "outside/ocr/JobTitleWords.h"

#include <QRegularExpression>

namespace {

// The states of Brazil, as an address's town line names them.
constexpr const char* kBrazilianStates = "AC|AL|AP|AM|BA|CE|DF|ES|GO|MA|MT|MS|MG|PA|PB|PR|PE|PI|RJ|RN|RS|RO|RR|SC|SP|SE|TO";

// The states, district and territories of the United States, as a town line names them.
constexpr const char* kUsStates = "AL|AK|AZ|AR|CA|CO|CT|DE|DC|FL|GA|HI|ID|IL|IN|IA|KS|KY|LA|ME|MD|MA|MI|MN|MS|MO|MT|NE|NV|NH|NJ|NM|NY|NC|ND|"
                                  "OH|OK|OR|PA|RI|SC|SD|TN|TX|UT|VT|VA|WA|WV|WI|WY|PR|GU|VI|AS|MP";

// The postcode forms, each with the code as its first group; tried in this order.
const std::vector<QRegularExpression>& postcodeForms()
{
    static const std::vector<QRegularExpression> forms = {
        // UK
        QRegularExpression(QStringLiteral(R"(\b([A-Z]{1,2}[0-9][A-Z0-9]?\s?[0-9][A-Z]{2})\b)")),
        // Canada, after the province
        QRegularExpression(QStringLiteral(R"(\b(?:AB|BC|MB|NB|NL|NS|NT|NU|ON|PE|QC|SK|YT)\s+([A-Z][0-9][A-Z]\s?[0-9][A-Z][0-9])\b)")),
        // US, after the state
        QRegularExpression(QStringLiteral(R"(\b(?:%1)\s+([0-9]{5}(?:-[0-9]{4})?)\b)").arg(QLatin1String(kUsStates))),
        // Australia, after the state or territory
        QRegularExpression(QStringLiteral(R"(\b(?:NSW|VIC|QLD|SA|WA|TAS|ACT|NT)\s+([0-9]{4})\b)")),
        // Portugal and Brazil
        QRegularExpression(QStringLiteral(R"((?<![0-9-])([0-9]{4}-[0-9]{3})\s+\p{Lu})")),
        QRegularExpression(QStringLiteral(R"((?<![0-9-])([0-9]{5}-[0-9]{3})(?![0-9-]))")),
        // Five digits before the town (Germany, France, Spain, Italy), with a country letter or
        // "C.P." before it
        QRegularExpression(QStringLiteral(R"((?:^|[\s,(]|[DFIE]-|C\.P\.\s?|CP\s)([0-9]{5})\s+\p{Lu}(?:[\p{Ll}\p{Lu}'’]|\s\p{Lu}))")),
        // Four digits after a country letter: Switzerland, Austria, Belgium, Luxembourg
        QRegularExpression(QStringLiteral(R"((?:^|[\s,])(?:CH|A|B|L)-([0-9]{4})\s+\p{Lu})")),
    };
    return forms;
}

} // namespace

QString latinPostcodeOf(const QString& line)
{
    for (const QRegularExpression& form : postcodeForms()) {
        if (const auto m = form.match(line); m.hasMatch())
            return m.captured(1);
    }
    // A Dutch postcode has its town after it, never a street: "1147 SW Morrison Street" is a house
    // number and a compass point.
    static const QRegularExpression dutch(QStringLiteral(R"((?:^|[\s,])([0-9]{4}\s?[A-Z]{2})\s+\p{Lu}\p{Ll})"));
    if (const auto m = dutch.match(line); m.hasMatch() && !hasLatinStreetWord(line.mid(m.capturedEnd(1))))
        return m.captured(1);
    return {};
}

QString latinPostcodeOverTown(const QString& line, const QString& below)
{
    static const QRegularExpression codeAtEnd(QStringLiteral(R"((?:^|[\s,])([0-9]{5}(?:-[0-9]{3})?|[0-9]{4}-[0-9]{3})$)"));
    const QString town = below.trimmed();
    const auto m = codeAtEnd.match(line.trimmed());
    if (!m.hasMatch() || town.isEmpty() || std::any_of(town.begin(), town.end(), [](QChar c) { return c.isDigit(); })
        || !latinPostcodeOf(line).isEmpty())
        return {};
    return latinPostcodeOf(m.captured(1) + u' ' + town);
}

bool hasLatinStreetWord(const QString& line)
{
    static const QRegularExpression street(QStringLiteral(
        R"((?<![\p{L}\p{N}])(?:street|st|avenue|ave|av|road|rd|boulevard|blvd|bd|lane|ln|drive|way|square|sq|plaza|place|court|ct|)"
        R"(row|hill|park|gardens|close|terrace|parkway|pkwy|highway|hwy|crescent|grove|mews|walk|quay|wharf|parade|circuit|esplanade|)"
        R"(building|house|unit|suite|floor|level|rue|allee|chemin|impasse|quai|cours|route|voie|passage|faubourg|fbg|)"
        R"(calle|avda|avenida|paseo|passeig|rambla|plaza|placa|pza|carrer|ronda|travesia|travessera|camino|carretera|ctra|glorieta|pasaje|poligono|)"
        R"(via|viale|piazza|piazzale|corso|largo|vicolo|strada|contrada|lungomare|borgo|rua|travessa|praca|estrada|alameda|)"
        R"(rodovia|quadra|setor|calcada|beco|praceta|rotunda|caminho|ladeira|viela|cais|urbanizacao|montee|chaussee|sentier|)"
        R"(promenade|parvis|rond-point|ruelle|traverse|cuesta|callejon|bulevar|senda|cres|tce|pde|cct)\.?(?![\p{L}\p{N}])|)"
        R"((?<![\p{L}\p{N}])(?:c/|(?:r|tv|trav|pc|pca|lg|estr|rod|cl|pl)\.(?=\s))|)"
        R"(\p{L}*(?:strasse|straße|str\.|weg|platz|allee|ring|gasse|damm|ufer|chaussee|kai|markt|graben|steig|stieg|pfad|straat|laan|gracht|kade|plein)(?=[\s,.]|$))"));
    return street.match(foldedForWords(line)).hasMatch();
}

bool isLatinStreetLine(const QString& line)
{
    static const QRegularExpression postBox(QStringLiteral(
        R"((?<![\p{L}\p{N}])(?:p\.?\s?o\.?\s?box|gpo\s?box|locked bag|postfach|b\.?p\.?|boite postale|apartado(?:\s+de\s+correos)?|)"
        R"(aptdo\.?|casella postale|caixa postal|cx\.?\s?postal|cs|tsa)\s*[0-9])"));
    const QString folded = foldedForWords(line);
    const bool number = std::any_of(line.begin(), line.end(), [](QChar c) { return c.isDigit(); });
    return number && (hasLatinStreetWord(line) || postBox.match(folded).hasMatch());
}

bool isCountryLine(const QString& line)
{
    static const QRegularExpression country(QStringLiteral(
        R"(^(?:united kingdom|uk|u\.k\.|great britain|england|scotland|wales|northern ireland|usa|u\.s\.a\.|united states|)"
        R"(united states of america|germany|deutschland|allemagne|alemania|germania|alemanha|france|frankreich|francia|franca|)"
        R"(spain|espana|spanien|espagne|spagna|espanha|italy|italia|italien|italie|portugal|brazil|brasil|bresil|australia|)"
        R"(australie|australien|canada|kanada|ireland|irland|irlande|netherlands|the netherlands|nederland|niederlande|)"
        R"(pays-bas|belgium|belgique|belgie|belgien|switzerland|schweiz|suisse|svizzera|austria|osterreich|autriche|japan|)"
        R"(japon|giappone|china|chine|cina|korea|south korea|republic of korea|coree|russia|russland|russie|rusia|mexico|)"
        R"(argentina|chile|colombia|peru|sweden|sverige|norway|norge|denmark|danmark|finland|suomi|poland|polska|luxembourg|)"
        R"(luxemburg|india|singapore|hong kong|taiwan|new zealand|south africa|united arab emirates|uae|israel|turkey|)"
        R"(greece|czech republic|hungary|日本|中国|中國|대한민국|한국|россия|российская федерация)\.?$)"));
    return country.match(foldedForWords(line.trimmed())).hasMatch();
}

bool isTownAndStateLine(const QString& line)
{
    static const QRegularExpression townAndState(
        QStringLiteral(R"(^\p{Lu}[\p{L} .'’\-]*?\p{L}(?:\s*(?:/|,|\s[–—−\-])\s*(?:%1)|\s[–—−\-]\s*(?:%2)))"
                       R"((?:$|[\s,]+(?:CEP\s*)?[0-9]{5}-?[0-9]{3}\b|[\s,]+(?:Brasil|Brazil)\.?$))")
            .arg(QLatin1String(kBrazilianStates), QString::fromLatin1(kBrazilianStates).toLower()));
    return townAndState.match(line.trimmed()).hasMatch();
}

bool continuesLatinAddress(const QString& line)
{
    static const QRegularExpression floor(QStringLiteral(
        R"((?<![\p{L}])(?:level|lvl|suite|ste|unit|floor|fl|etage|stock|og|planta|piso|andar|piano|bldg|building|tower|torre|)"
        R"(edificio|batiment|bat|immeuble|gebaude|block|bloque|scala|apartment|apartamento|appartement|room|despacho|)"
        R"(zi|za|zac|zone|parc|lieu-dit|residence|domaine)(?![\p{L}]))"));
    const QString trimmed = line.trimmed();
    return isCountryLine(trimmed) || isTownAndStateLine(trimmed)
        || (floor.match(foldedForWords(trimmed)).hasMatch() && trimmed.split(u' ', Qt::SkipEmptyParts).size() <= 6);
}

bool continuesTownName(const QString& townLine, const QString& line)
{
    static const QRegularExpression rest(QStringLiteral(
        R"(^(?:de|del|de la|des|du|d'|en|sur|sous|lès|les|le|la|am|an der|an|im|in der|bei|ob|vor der|da|do|dos|das|di|del|della|dei|sul|sull')(?:\s|-|(?<=')\p{L})\p{L})"));
    const QString trimmed = line.trimmed();
    return !latinPostcodeOf(townLine).isEmpty() && rest.match(trimmed).hasMatch()
        && std::none_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isDigit(); })
        && trimmed.split(u' ', Qt::SkipEmptyParts).size() <= 4;
}

LineAboveAddress lineAboveAddress(const QString& line)
{
    static const QRegularExpression nameWithNumber(
        QStringLiteral(R"(^\p{Lu}[\p{L}'’.\- ]*\p{L},?\s+[0-9]{1,5}[A-Za-z]?(?:$|[\s,]))"));
    static const QRegularExpression district(QStringLiteral(R"(^\p{Lu}[\p{Ll}'’\-]+(?:\s+\p{L}[\p{Ll}'’\-]*){0,2}$)"));
    static const QRegularExpression houseFirst(
        QStringLiteral(R"(^[0-9]{1,5}(?:\s?(?:bis|ter|[A-Za-z]))?,?\s+(?:\p{L}{2,}(?:\s+\p{L}+)+|\p{Lu}\p{Ll}{3,})\s*$)"));
    const QString trimmed = line.trimmed();
    const bool digits = std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isDigit(); });
    if (isLatinStreetLine(trimmed) || houseFirst.match(trimmed).hasMatch() || (continuesLatinAddress(trimmed) && !isCountryLine(trimmed)))
        return LineAboveAddress::Street;
    if (hasLatinStreetWord(trimmed))
        return LineAboveAddress::StreetNameOnly;
    if (nameWithNumber.match(trimmed).hasMatch())
        return LineAboveAddress::NameWithNumber;
    if (!digits && district.match(trimmed).hasMatch() && !isCountryLine(trimmed))
        return LineAboveAddress::District;
    return LineAboveAddress::None;
}

QString withLatinStreetWordsAsPrinted(const QString& address)
{
    static const QRegularExpression sharpS(QStringLiteral(R"((?<=[sS]tra)[Bf](?=e(?:[\s,.]|$)))"));
    // "Besan¢gon": a c with its cedilla read as a cent sign, its tail as a g.
    static const QRegularExpression cedilla(QStringLiteral(R"((?<=\p{Ll})¢g?(?=\p{Ll}))"));
    return QString(address).replace(sharpS, QStringLiteral("ß")).replace(cedilla, QStringLiteral("ç"));
}

QString withFrenchFloorDigits(const QString& text)
{
    // The number's digit read as the letter of its shape: 7 or 1 as T, 5 as S, 2 as Z.
    static const QRegularExpression frenchFloor(QStringLiteral(R"((?<![\p{L}\p{N}])([TSZ])(e|ème|eme|er)(?=\s+étage\b))"));
    QString out = text;
    for (auto it = frenchFloor.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QChar letter = m.captured(1).front();
        out[m.capturedStart()] = letter == u'S' ? u'5' : letter == u'Z' ? u'2' : m.captured(2) == u"er" ? u'1' : u'7';
    }
    return out;
}

QString withLatinOrdinalSigns(const QString& address)
{
    QString out = withFrenchFloorDigits(address);
    static const QRegularExpression misread(QStringLiteral(R"((?<=[0-9]|[0-9]\.)°|(?<=[0-9])[?%](?=[\s,]|$))"));
    static const QRegularExpression dotTwo(QStringLiteral(R"((,\s?[0-9]{1,2}\.)2(?=[\s,]|$))"));
    static const QRegularExpression beforeAndar(QStringLiteral(R"((?<=[\s,])([1-9]|[12][0-9])2(?=\s+andar\b))"));
    static const QRegularExpression floorAfterHouse(
        QStringLiteral(R"((\p{L},\s?[0-9]{1,4}[A-Za-z]?,\s?)([1-9])2(?=(?:\s\p{Lu})?(?:,|\n|$)))"));
    // "3.º Esa." for "3.º Esq.": the left-hand door's q read as an a.
    static const QRegularExpression leftDoor(QStringLiteral(R"((?<=º\s)Esa\.)"));
    // "156, 22D" for "156, 2º D": the sign read as a 2 and the blank before the door's letter lost.
    static const QRegularExpression floorAndDoor(QStringLiteral(R"((\p{L},\s?[0-9]{1,4},\s?)([1-9])2(\p{Lu})(?=,|\n|$))"));
    // "166, 8 D" for "166, 8º D": the sign lost between the floor and its door's letter.
    static const QRegularExpression signLost(QStringLiteral(R"((\p{L},\s?[0-9]{1,4},\s?[1-9])(?=\s\p{Lu}(?:,|\n|$)))"));
    return out.replace(misread, QStringLiteral("º"))
        .replace(dotTwo, QStringLiteral("\\1º"))
        .replace(floorAfterHouse, QStringLiteral("\\1\\2º"))
        .replace(floorAndDoor, QStringLiteral("\\1\\2º \\3"))
        .replace(signLost, QStringLiteral("\\1º"))
        .replace(leftDoor, QStringLiteral("Esq."))
        .replace(beforeAndar, QStringLiteral("\\1º"));
}

QString withLatinAddressBlanks(const QString& address)
{
    static const QRegularExpression gluedNumber(QStringLiteral(
        R"((?<![\p{L}])((?:sala|conj\.|loja|andar|apto\.?|suite|ste|unit|level|floor|planta|piso|despacho|oficina)(?=[0-9]))|(,)(?=[0-9]{1,2}\.?º))"),
        QRegularExpression::CaseInsensitiveOption);
    // "sala 1 158": the narrow 1 opening a room's number set apart from the rest of it; not "Unit 1"
    // over "50 Strand".
    static const QRegularExpression splitRoom(
        QStringLiteral(R"((?<![\p{L}])((?:sala|conj\.|loja|apto\.?|suite|ste|unit|despacho|oficina) 1) (?=[0-9]{2,3}(?![0-9]|\s?º)))"),
        QRegularExpression::CaseInsensitiveOption);
    // A speck after a town read as a letter or two ("Coimbra Ot", "Bologna BO E"); a province's
    // or state's capitals stay.
    static const QRegularExpression speckAfterTown(QStringLiteral(R"((?<=\p{L}{3}|\b\p{Lu}{2})\s+(?:\p{Lu}\p{Ll}?|\p{Ll}{2})$)"));
    // "11rue Édouard Herriot", "76N Michigan Avenue": a house number run into its street's word or
    // the compass point before it; "1st", "2e", "12bis", "221B" stay.
    static const QRegularExpression houseIntoStreet(QStringLiteral(
        R"((?<=^|\n)([0-9]{1,5})(?=(?!(?:st|nd|rd|th|er|re|ère|ème|eme|bis|ter)\b)\p{Ll}{2,}\b|(?:[NSEW]|NE|NW|SE|SW)\s\p{Lu}\p{Ll}))"));
    QStringList lines = QString(address)
                            .replace(gluedNumber, QStringLiteral("\\1\\2 "))
                            .replace(splitRoom, QStringLiteral("\\1"))
                            .replace(houseIntoStreet, QStringLiteral("\\1 "))
                            .split(u'\n');
    for (QString& line : lines) {
        const QString code = latinPostcodeOf(line);
        if (code.isEmpty())
            continue;
        line.remove(speckAfterTown);
        // A speck after a postcode that ends its line read as a full stop ("London, WC2N 5DU.").
        if (line.endsWith(code + u'.'))
            line.chop(1);
    }
    return lines.join(u'\n');
}

QString withLatinRomanNumerals(const QString& address)
{
    // "Corso Umberto | 167": a lone I after a name's word read as a bar, before the house number.
    static const QRegularExpression bar(QStringLiteral(R"(((?<![\p{L}\p{N}])\p{Lu}\p{Ll}+ )\|(?=,|\s[0-9]{1,3}(?![0-9.\-])))"));
    const QString text = QString(address).replace(bar, QStringLiteral("\\1I"));
    // After a name's word, not after a street word ("Via Il Prato" keeps its article).
    static const QRegularExpression numeral(QStringLiteral(R"((?<=\p{Ll}\p{Ll} )I[Il]*l[Il]*(?=[\s,.]|$))"));
    QString out;
    qsizetype from = 0;
    for (auto it = numeral.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const qsizetype wordStart = text.lastIndexOf(u' ', m.capturedStart() - 2) + 1;
        const QString word = text.mid(wordStart, m.capturedStart() - 1 - wordStart);
        if (m.capturedLength() > 3 || !word.front().isUpper() || hasLatinStreetWord(word))
            continue;
        out += text.mid(from, m.capturedStart() - from) + QString(m.capturedLength(), u'I');
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

QString withLatinAddressDashes(const QString& address)
{
    static const QRegularExpression spacedDash(QStringLiteral(R"((?<=\S)(?:\s+[-–—−]\s*|\s*[-–—−]\s+)(?=\S))"));
    static const QRegularExpression townDashState(
        QStringLiteral(R"((?<=\p{Ll})[-–—](?=(?:%1)\b))").arg(QLatin1String(kBrazilianStates)));
    // A state read in small letters after its town's dash ("Ribeirão Preto – sp").
    static const QRegularExpression smallState(
        QStringLiteral(R"((?<=\p{Ll} – )(?:%1)(?=\n|$|[\s,]))").arg(QString::fromLatin1(kBrazilianStates).toLower()));
    QString out = QString(address).replace(spacedDash, QStringLiteral(" – ")).replace(townDashState, QStringLiteral(" – "));
    for (auto it = smallState.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        out.replace(m.capturedStart(), m.capturedLength(), m.captured().toUpper());
    }
    return out;
}

QString withLatinLettersForCyrillic(const QString& address)
{
    // The capitals and small letters the two alphabets draw alike.
    static const QString cyrillic = QString::fromUtf8("АВЕКМНОРСТХаеорсху");
    static const QString latin = QStringLiteral("ABEKMHOPCTXaeopcxy");
    QStringList lines = address.split(u'\n');
    for (QString& line : lines) {
        const auto count = [&line](auto test) { return std::count_if(line.begin(), line.end(), test); };
        const auto cyrillicLetters = count([](QChar c) { return c.script() == QChar::Script_Cyrillic; });
        const auto latinLetters = count([](QChar c) { return c.isLetter() && c.script() == QChar::Script_Latin; });
        if (cyrillicLetters == 0 || latinLetters <= 2 * cyrillicLetters)
            continue;
        for (QChar& c : line) {
            if (const qsizetype at = cyrillic.indexOf(c); at >= 0)
                c = latin.at(at);
        }
    }
    return lines.join(u'\n');
}

QString withLatinStreetAbbreviations(const QString& address)
{
    // "AL das Palmeiras", "AV Brasil": Alameda's and Avenida's short forms with their full stop
    // read as a capital L or V's tail; a US state never opens a line.
    static const QRegularExpression shortForm(QStringLiteral(R"((?<=^|\n)A[LV](?=\s+(?:d[aoe]s?\s|\p{Lu}\p{Ll})))"));
    // "unit1": a floor's word opening a line read in small letters.
    static const QRegularExpression smallFloor(QStringLiteral(R"((?<=^|\n)(?:unit|suite|level|floor)(?=\s?[0-9]))"));
    QString out = address;
    for (auto it = smallFloor.globalMatch(address); it.hasNext();) {
        const qsizetype at = it.next().capturedStart();
        out[at] = out[at].toUpper();
    }
    for (auto it = shortForm.globalMatch(address); it.hasNext();) {
        const auto m = it.next();
        const qsizetype shift = out.size() - address.size();
        out[shift + m.capturedStart() + 1] = out[shift + m.capturedStart() + 1].toLower();
        out.insert(shift + m.capturedEnd(), u'.');
    }
    return out;
}
