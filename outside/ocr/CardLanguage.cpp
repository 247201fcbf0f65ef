#include "outside/ocr/CardLanguage.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <map>

namespace {

// A sign of a language on a card, and how much it says; each sign counts once a card.
struct Cue {
    int language;
    int weight;
    QRegularExpression pattern;
};

QRegularExpression words(const char* alternatives, bool anyCase = true)
{
    return QRegularExpression(QStringLiteral("(?:^|[^\\p{L}\\p{N}])(?:%1)(?=$|[^\\p{L}\\p{N}])").arg(QString::fromUtf8(alternatives)),
                              anyCase ? QRegularExpression::CaseInsensitiveOption : QRegularExpression::NoPatternOption);
}

QRegularExpression pattern(const char* text)
{
    return QRegularExpression(QString::fromUtf8(text));
}

// What the English model reads of each language's words: its one accented letter is é, so "Móvil"
// may come out as "Movil" or "Mévil" and "Telemóvel" as "Telemovel".
const std::vector<Cue>& cues()
{
    static const std::vector<Cue> all = {
        // French
        {kLanguageFrench, 2, words("rue|bd|boulevard|all[ée]e|impasse|quai|chemin|cedex|b[aâ]timent|lieu-dit")},
        {kLanguageFrench, 2, words("SARL|SAS|SASU|EURL|SCI|SNC", false)},
        {kLanguageFrench, 2, words("T[ée]l\\.?|Portable|Port\\.|Ligne directe|Standard|T[ée]l[ée]copie")},
        {kLanguageFrench, 1,
         words("Directeur|Directrice|Responsable|Charg[ée]e?|Ing[ée]nieure?|G[ée]rante?|Pr[ée]sidente?|Conseill(?:er|[eè]re)|Soci[ée]t[ée]|"
               "Service")},
        {kLanguageFrench, 1, words("de la|du|des|et|aux|chez|les")},
        {kLanguageFrench, 1, pattern("(?:^|\\s)[ldLD]['’]\\p{L}")},
        {kLanguageFrench, 2, words("France|Paris|Lyon|Marseille|Toulouse|Bordeaux|Nantes|Lille|Strasbourg|Belgique|Suisse|Qu[ée]bec")},
        {kLanguageFrench, 3, pattern("(?:\\+|\\b00)33\\b|\\.fr\\b")},
        {kLanguageFrench, 2, pattern("[èêàçôûùëïœ]")},
        // Spanish
        {kLanguageSpanish, 2, words("calle|c/|avda\\.?|paseo|ctra\\.?|carretera|pol[ií]gono|urbanizaci[oóé]n|rambla|gran v[ií]a|ronda|traves[ií]a")},
        {kLanguageSpanish, 2, pattern("\\p{Ll}ci[oóé]n\\b")},
        {kLanguageSpanish, 1, words("plaza|avenida|planta|piso|bajo|oficina")},
        {kLanguageSpanish, 2, words("S\\.L\\.?U?\\.?|S\\.L|SL|S\\.A\\.U\\.?|S\\. ?Coop\\.?", false)},
        {kLanguageSpanish, 2, words("Tfno\\.?|Tlfno\\.?|Tel[ée]fono|M[oóé]vil|M[oóé]v\\.")},
        {kLanguageSpanish, 1,
         words("Director|Directora|Gerente|Jefe|Jefa|Departamento|Responsable|T[eé]cnic[oa]|Ingenier[oa]|Administraci[oóé]n|Ventas|Compras|"
               "Atenci[oóé]n")},
        {kLanguageSpanish, 1, words("del|y|de la|los|las|el")},
        {kLanguageSpanish, 2, words("Espa[ñn]a|Madrid|Barcelona|Sevilla|Valencia|Bilbao|M[aá]laga|Zaragoza|Murcia|Palma|Valladolid|"
                                    "Coru[ñn]a|Alicante|C[oó]rdoba|Granada|Vigo|Gij[oó]n|M[eé]xico|Argentina|Chile|Colombia")},
        {kLanguageSpanish, 1, pattern("[0-9][º°]")},
        {kLanguageSpanish, 3, pattern("(?:\\+|\\b00)(?:34|52|54|56|57)\\b|\\.(?:es|mx|ar|cl)\\b")},
        {kLanguageSpanish, 1, pattern("[ñº¿¡]")},
        // Italian
        {kLanguageItalian, 2, pattern("(?:^|[^\\p{L}])(?:Via|Viale|Piazza|Piazzale|Corso|Vicolo|Largo|Contrada|Localit[àa])\\s+\\p{Lu}")},
        {kLanguageItalian, 2, words("S\\.?r\\.?l\\.?|S\\.p\\.A\\.?|SpA|Srl|S\\.a\\.s\\.|S\\.n\\.c\\.", false)},
        {kLanguageItalian, 2,
         words("Cellulare|Ufficio|Direttore|Direttrice|Responsabile|Amministratore|Ingegnere|Dott\\.(?:ssa)?|Avv\\.|Geom\\.|Consulente")},
        {kLanguageItalian, 1, words("Cell\\.?|Telefono")},
        {kLanguageItalian, 1, words("di|della|delle|dello|degli|per")},
        {kLanguageItalian, 2, words("Italia|Milano|Roma|Torino|Napoli|Firenze|Bologna|Genova|Venezia|Verona|Palermo|Bari|Padova|Brescia|"
                                    "Trieste|Parma|Modena|Perugia|Cagliari")},
        {kLanguageItalian, 2, pattern("\\b[0-9]{5}\\s+\\p{Lu}\\p{L}+\\s*\\(\\p{Lu}{2}\\)")},
        {kLanguageItalian, 3, pattern("(?:\\+|\\b00)39\\b|\\.it\\b")},
        // Portuguese
        {kLanguagePortuguese, 2, words("rua|travessa|alameda|estrada|pra[çc]a")},
        {kLanguagePortuguese, 1, words("avenida|av\\.|largo|andar|sala")},
        {kLanguagePortuguese, 2, words("Lda\\.?|Ltda\\.?|EIRELI", false)},
        {kLanguagePortuguese, 2, words("Telefone|Telem[oóé]vel|Tlm\\.?|Tlf\\.?|Celular")},
        {kLanguagePortuguese, 2, words("Diretor|Diretora|Engenheir[oa]|Respons[aáé]vel|Dire[çc][aã]o|Vendas|Assessor|Gest[aã]o")},
        {kLanguagePortuguese, 1, words("Gerente|Departamento|T[eé]cnic[oa]|Comercial|Compras")},
        {kLanguagePortuguese, 1, words("do|da|dos|das|em")},
        {kLanguagePortuguese, 2, words("Portugal|Brasil|Lisboa|Porto|Coimbra|Braga|S[aã]o Paulo|Rio de Janeiro")},
        {kLanguagePortuguese, 3, pattern("(?:\\+|\\b00)(?:351|55)\\b|\\.(?:pt|br)\\b|\\b[0-9]{4,5}-[0-9]{3}\\b")},
        {kLanguagePortuguese, 2, pattern("[ãõ]|[çc][aã]o\\b|[çc][oõ]es\\b")},
        // German: its umlauts and ß as the English model reads them ("MaximilianstraBe", "Miinchen").
        {kLanguageGerman, 3, words("GmbH|mbH|AG|KG|e\\.K\\.|UG|OHG|GbR", false)},
        {kLanguageGerman, 3, words("Telefon|Telefax|Mobil|Handy|Durchwahl|Zentrale")},
        {kLanguageGerman, 4, words("Deutschland|Germany|Österreich|Osterreich|Austria|Schweiz")},
        {kLanguageGerman, 3, pattern("(?i:stra(?:ß|ss|B|f)e\\b|str\\.)|\\p{L}{3,}(?:weg|platz|allee|gasse|damm|ring|ufer)\\b")},
        // The postal code before the town, which French, Spanish and Italian addresses share.
        {kLanguageGerman, 2, pattern("(?:^|\\s|D-)[0-9]{5}\\s+\\p{Lu}\\p{Ll}+$")},
        {kLanguageGerman, 3, pattern("(?:\\+|\\b00)(?:49|43)\\b|\\.(?:de|at)\\b")},
        {kLanguageGerman, 2, pattern("\\p{Ll}{2}B\\p{Ll}|[äöüÄÖÜß]|ii(?=\\p{Ll})")},
        {kLanguageGerman, 1, words("und|der|die|das|für|fur|von|im|bei")},
        // English: what a card in English shows of its language.
        {kLanguageEnglish, 1, words("Street|St\\.|Road|Rd\\.|Avenue|Ave\\.|Suite|Floor|Lane")},
        {kLanguageEnglish, 1, words("Ltd\\.?|Inc\\.?|LLC|Limited|Corp\\.?")},
        {kLanguageEnglish, 1, words("Manager|Director|Officer|Engineer|Head of|Senior")},
        {kLanguageEnglish, 1, words("Mobile|Phone|Office|Direct|Cell")},
        {kLanguageEnglish, 1, words("the|and|of|for")},
        {kLanguageEnglish, 2,
         pattern("(?:\\+|\\b00)(?:44|1|61|64|353)\\b|\\.(?:uk|us|au|nz|ie)\\b|\\b[A-Z]{1,2}[0-9][A-Z0-9]? [0-9][A-Z]{2}\\b|\\b[A-Z]{2} "
                 "[0-9]{5}\\b")},
    };
    return all;
}

bool isKana(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3041 && u <= 0x3096) || (u >= 0x30A1 && u <= 0x30FA);
}

int letterCount(const QString& text)
{
    return int(std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }));
}

} // namespace

bool isHanCharacter(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF);
}

bool isLetterOfScript(int language, QChar c)
{
    const ushort u = c.unicode();
    switch (language) {
    case kLanguageKorean:
        return u >= 0xAC00 && u <= 0xD7A3;
    case kLanguageRussian:
        return u >= 0x0400 && u <= 0x04FF;
    case kLanguageChineseSimplified:
    case kLanguageChineseTraditional:
        return isHanCharacter(c);
    case kLanguageJapanese:
        return isHanCharacter(c) || isKana(c);
    default:
        return false;
    }
}

std::string modelsOfLanguage(int language)
{
    const std::string own = ownModelOfLanguage(language);
    return own.empty() || own == "eng" ? own : own + "+eng";
}

std::string ownModelOfLanguage(int language)
{
    static const std::array<const char*, 11> kModels = {"jpn", "eng", "chi_tra", "chi_sim", "kor", "deu",
                                                        "fra", "ita", "spa",     "rus",     "por"};
    return language >= 0 && language < int(kModels.size()) ? kModels[size_t(language)] : "";
}

int latinLanguageOf(const std::vector<RecognizedLine>& lines)
{
    std::map<int, int> score;
    for (const Cue& cue : cues()) {
        if (std::any_of(lines.begin(), lines.end(), [&cue](const RecognizedLine& l) { return cue.pattern.match(l.text).hasMatch(); }))
            score[cue.language] += cue.weight;
    }
    int found = kLanguageEnglish;
    int best = score[kLanguageEnglish] + 1;
    for (const auto& [language, points] : score) {
        if (language != kLanguageEnglish && points >= 3 && points > best) {
            found = language;
            best = points;
        }
    }
    return found;
}

int kanaIn(const std::vector<RecognizedLine>& lines)
{
    int kana = 0;
    for (const RecognizedLine& l : lines) {
        // A line the model doubts may hold kana it made of another script's strokes.
        if (l.confidence >= 60)
            kana += int(std::count_if(l.text.begin(), l.text.end(), isKana));
    }
    return kana;
}

bool showsKana(const std::vector<RecognizedLine>& lines)
{
    int han = 0;
    for (const RecognizedLine& l : lines) {
        if (l.confidence >= 60)
            han += int(std::count_if(l.text.begin(), l.text.end(), isHanCharacter));
    }
    const int kana = kanaIn(lines);
    return kana >= 3 || (kana >= 1 && kana * 10 >= han);
}

bool showsChinese(const std::vector<RecognizedLine>& lines, bool byWordsOnly)
{
    static const QRegularExpression words(
        QString::fromUtf8("公司|集团|集團|电话|手机|手機|传真|傳真|邮箱|邮编|郵遞區號|电邮|電郵|地址|网址|網址|"
                          "(?:北京|上海|天津|重庆|重慶)市|[^\\s]{2,3}省|(?:\\+|\\b00)(?:86|852|853|886)\\b|\\.(?:cn|hk|tw|mo)\\b"));
    static const QRegularExpression forms(QString::fromUtf8("[號區]"));
    return std::any_of(lines.begin(), lines.end(), [byWordsOnly](const RecognizedLine& l) {
        return words.match(l.text).hasMatch() || (!byWordsOnly && forms.match(l.text).hasMatch());
    });
}

bool showsJapanese(const std::vector<RecognizedLine>& lines)
{
    static const QRegularExpression marks(
        QString::fromUtf8(R"(会社|〒|丁目|番地|携帯|^[0-9]{3}[-－][0-9]{4}(?:\s|$)|(?:\+|\b00)81\b|\.jp\b)"));
    return std::any_of(lines.begin(), lines.end(), [](const RecognizedLine& l) { return marks.match(l.text).hasMatch(); });
}

bool showsKorea(const std::vector<RecognizedLine>& lines)
{
    static const QRegularExpression marks(QStringLiteral(R"((?:\+|\b00)\s?82\b|\.kr\b|\bH\.\s?P\b)"));
    return std::any_of(lines.begin(), lines.end(), [](const RecognizedLine& l) { return marks.match(l.text).hasMatch(); });
}

bool showsRussia(const std::vector<RecognizedLine>& lines)
{
    static const QRegularExpression marks(QStringLiteral(R"((?:\+|\b00)\s?7[\s(]|\.ru\b|(?:^|\s)8\s?\(\d{3,5}\)\s?\d{1,3}-\d{2}-\d{2}\b)"));
    return std::any_of(lines.begin(), lines.end(), [](const RecognizedLine& l) { return marks.match(l.text).hasMatch(); });
}

int chineseMarkCount(const std::vector<RecognizedLine>& lines)
{
    static const std::array<QRegularExpression, 4> marks = {
        QRegularExpression(QString::fromUtf8("有限公司|股份公司|集团|集團")),
        QRegularExpression(QString::fromUtf8("电话|手机|手機|传真|傳真|邮箱|邮编|郵遞區號|电邮|電郵|网址|網址|地址|分机|分機")),
        QRegularExpression(QStringLiteral(R"((?:\+|\b00)(?:86|852|853|886)\b)")),
        // "twprecision. tw": the engine may read the last dot of a host with a blank after it.
        QRegularExpression(QStringLiteral(R"(\.\s?(?:cn|hk|tw|mo)\b)"), QRegularExpression::CaseInsensitiveOption),
    };
    return int(std::count_if(marks.begin(), marks.end(), [&lines](const QRegularExpression& mark) {
        return std::any_of(lines.begin(), lines.end(), [&mark](const RecognizedLine& l) { return mark.match(l.text).hasMatch(); });
    }));
}

int traditionalLead(const std::vector<RecognizedLine>& lines)
{
    // Taiwan, Hong Kong and Macao write the traditional script, the mainland the simplified one:
    // their telephone codes, mobile numbers and web domains say which, whatever model read them.
    static const QRegularExpression traditionalPlaces(
        QStringLiteral(R"((?:\+|\b00)(?:886|852|853)\b|\.(?:tw|hk|mo)\b|(?:^|[^0-9])09[0-9]{2}[- ]?[0-9]{3}[- ]?[0-9]{3}(?:$|[^0-9]))"));
    static const QRegularExpression simplifiedPlaces(
        QStringLiteral(R"((?:\+|\b00)86\b|\.cn\b|(?:^|[^0-9+])1[3-9][0-9][- ]?[0-9]{4}[- ]?[0-9]{4}(?:$|[^0-9]))"));
    // Traditional forms the Japanese model knows and the simplified script writes otherwise.
    static const QString traditional = QString::fromUtf8("國華電業務東陳張達麗機會門開車長書");
    int lead = 0;
    for (const RecognizedLine& l : lines) {
        if (traditionalPlaces.match(l.text).hasMatch())
            lead += 3;
        if (simplifiedPlaces.match(l.text).hasMatch())
            lead -= 3;
        lead += int(std::count_if(l.text.begin(), l.text.end(), [](QChar c) { return traditional.contains(c); })) > 0 ? 1 : 0;
    }
    return lead;
}

std::vector<RecognizedLine> linesInDoubt(const std::vector<RecognizedLine>& lines)
{
    static const QRegularExpression address(QStringLiteral(R"(@|www|https?:|\.(?:com|net|org)\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    std::vector<RecognizedLine> doubted;
    for (const RecognizedLine& l : lines) {
        if (l.confidence >= 75 || letterCount(l.text) < 3 || address.match(l.text).hasMatch())
            continue;
        // A scrap of a logo or a rule: a few letters, or a few repeated ("EEEEIEEETETEEEETTSYS").
        QString distinct;
        for (QChar c : l.text) {
            if (c.isLetter() && !distinct.contains(c.toLower()))
                distinct += c.toLower();
        }
        if ((letterCount(l.text) < 4 && l.text.size() < 4) || distinct.size() * 3 < letterCount(l.text))
            continue;
        doubted.push_back(l);
    }
    std::stable_sort(doubted.begin(), doubted.end(),
                     [](const RecognizedLine& a, const RecognizedLine& b) { return a.bottom - a.top > b.bottom - b.top; });
    return doubted;
}

bool readsLikeCyrillic(const std::vector<RecognizedLine>& doubted)
{
    // "CTpo/nHBecT", "MeHemxep", "CankT-Netep6ypr": a capital after a small letter, or a digit
    // between letters, inside one word.
    // Names keep their capital after a particle ("McAllister", "DeSantis").
    static const QRegularExpression mixed(QStringLiteral(R"(\p{Ll}\p{Lu}|\p{L}[0-9]\p{L})"));
    static const QRegularExpression particle(QStringLiteral(R"(^(?:Mc|Mac|De|Di|Da|Du|La|Le|Van|Von|Fitz)(?=\p{Lu}))"));
    int words = 0;
    for (const RecognizedLine& l : doubted) {
        for (const QString& word : l.text.split(u' ', Qt::SkipEmptyParts)) {
            if (word.size() >= 4 && mixed.match(QString(word).remove(particle)).hasMatch())
                ++words;
        }
    }
    return words >= 2;
}
