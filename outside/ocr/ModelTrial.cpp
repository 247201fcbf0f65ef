#include "outside/ocr/ModelTrial.h"

#include "outside/ocr/CardLanguage.h"
#include "outside/ocr/FaintRows.h"
#include "outside/ocr/LineRereading.h"

#include <QRegularExpression>

#include <algorithm>
#include <leptonica/allheaders.h>

std::vector<ModelTrialReading> readWithEachLanguage(TesseractEngine& engine, Pix* pix, int dpi, const std::vector<RecognizedLine>& lines,
                                                    const std::vector<int>& languages, size_t count)
{
    std::vector<ModelTrialReading> readings;
    const size_t n = std::min(count, lines.size());
    if (n == 0)
        return readings;
    const int width = int(pixGetWidth(pix)), height = int(pixGetHeight(pix));
    for (int language : languages) {
        const std::string models = modelsOfLanguage(language);
        if (!engine.hasLanguage(models))
            continue;
        ModelTrialReading reading;
        reading.language = language;
        // Longer lines say more: each line counts by its number of characters.
        int weighted = 0, characters = 0;
        for (size_t i = 0; i < n; ++i) {
            // The box another model found may clip the strokes this one needs: a margin of a
            // quarter of the line's height goes round it.
            const RecognizedLine& box = lines[i];
            const int margin = (box.bottom - box.top + 1) / 4;
            RecognizedLine read = engine.recognizeLine(pix, dpi, models, std::max(0, box.left - margin), std::max(0, box.top - margin),
                                                       std::min(width - 1, box.right + margin), std::min(height - 1, box.bottom + margin));
            const int size = std::max<int>(1, int(QString(read.text).remove(u' ').size()));
            weighted += (read.text.isEmpty() ? 0 : read.confidence) * size;
            characters += size;
            reading.lines.push_back(std::move(read));
        }
        reading.confidence = characters ? weighted / characters : 0;
        // A line no model reads well (a label of the script beside a number, a scrap of a logo)
        // says nothing: of three lines or more the least sure is left out.
        if (n >= 3) {
            const auto worst =
                std::min_element(reading.lines.begin(), reading.lines.end(),
                                 [](const RecognizedLine& a, const RecognizedLine& b) { return a.confidence < b.confidence; });
            const int size = std::max<int>(1, int(QString(worst->text).remove(u' ').size()));
            if (characters > size)
                reading.confidence = (weighted - (worst->text.isEmpty() ? 0 : worst->confidence) * size) / (characters - size);
        }
        readings.push_back(std::move(reading));
    }
    return readings;
}

const ModelTrialReading* surestReading(const std::vector<ModelTrialReading>& readings)
{
    const auto it = std::max_element(readings.begin(), readings.end(),
                                     [](const ModelTrialReading& a, const ModelTrialReading& b) { return a.confidence < b.confidence; });
    return it == readings.end() ? nullptr : &*it;
}

const ModelTrialReading* readingOf(const std::vector<ModelTrialReading>& readings, int language)
{
    const auto it =
        std::find_if(readings.begin(), readings.end(), [language](const ModelTrialReading& r) { return r.language == language; });
    return it == readings.end() ? nullptr : &*it;
}

namespace {

// Models that read a script surer than the English one by this much, and at least this sure, are
// the script's.
constexpr int kSurerBy = 15;
constexpr int kSureEnough = 60;
// Japanese and Chinese models read the same Han characters: Chinese takes this lead at least.
constexpr int kChineseLead = 5;
// A line of words the English model doubts this much is type of another script.
constexpr int kUnread = 50;
// A script's models win only with this many of its letters read.
constexpr qsizetype kLeastLetters = 2;
// Lines read with each model.
constexpr size_t kLinesTried = 4;
// A Japanese reading this sure, with kana, is not one of Hangul or Chinese type; nor is a Korean
// one this sure, with this many Hangul, one of Chinese type.
constexpr int kSureReading = 80;
constexpr qsizetype kSureHangul = 4;
// Han lines the Japanese model reads this unsurely on the whole may be Hangul it made kanji of.
constexpr int kDoubtedHan = 65;
// A line the English model reads this surely is no line of another script's type.
constexpr int kReadSurely = 75;

qsizetype lettersOfScript(const ModelTrialReading& reading)
{
    qsizetype letters = 0;
    for (const RecognizedLine& l : reading.lines)
        letters += std::count_if(l.text.begin(), l.text.end(), [&reading](QChar c) { return isLetterOfScript(reading.language, c); });
    return letters;
}

// A Korean reading of lines that is the card's beside another model's reading of them: sure, clearly
// surer than the other, with Hangul enough.
bool surelyKoreanOver(const ModelTrialReading& korean, const ModelTrialReading* other)
{
    return korean.confidence >= kSureEnough && (!other || korean.confidence >= other->confidence + kSurerBy)
        && lettersOfScript(korean) >= kSureHangul;
}

// The engine's confidence in lines, each counting by its number of characters.
int confidenceOf(const std::vector<RecognizedLine>& lines)
{
    int weighted = 0, characters = 0;
    for (const RecognizedLine& l : lines) {
        const int size = std::max<int>(1, int(QString(l.text).remove(u' ').size()));
        weighted += l.confidence * size;
        characters += size;
    }
    return characters ? weighted / characters : 0;
}

// The lines of a Japanese-model reading with Han characters, the largest type first.
std::vector<RecognizedLine> hanLines(const std::vector<RecognizedLine>& lines)
{
    std::vector<RecognizedLine> han;
    for (const RecognizedLine& l : lines) {
        if (std::count_if(l.text.begin(), l.text.end(), isHanCharacter) >= 2)
            han.push_back(l);
    }
    std::stable_sort(han.begin(), han.end(),
                     [](const RecognizedLine& a, const RecognizedLine& b) { return a.bottom - a.top > b.bottom - b.top; });
    return han;
}

// Two kinds at least of what only a card in Chinese prints, and fewer kana than a Japanese card
// shows in its address or name reading; or three kinds, and none of what a Japanese card prints (the
// kana then are a logo's or a picture's strokes).
bool showsChineseMarks(const std::vector<RecognizedLine>& lines)
{
    static const QRegularExpression japanese(QString::fromUtf8("株式会社|有限会社|〒|丁目|番地|[都道府県]\\S{1,5}[市区町村]"));
    const int marks = chineseMarkCount(lines);
    return marks >= 2
        && (kanaIn(lines) < 3
            || (marks >= 3 && std::none_of(lines.begin(), lines.end(), [](const RecognizedLine& l) { return japanese.match(l.text).hasMatch(); })));
}

int chineseOf(const std::vector<RecognizedLine>& lines)
{
    return traditionalLead(lines) > 0 ? kLanguageChineseTraditional : kLanguageChineseSimplified;
}

// Chinese rather than Japanese: the card shows the marks of a Chinese card; or the Japanese model found no kana nor read the lines clearly surer, and the card shows
// what only a card in Chinese prints.
bool chineseBeforeJapanese(const std::vector<ModelTrialReading>& readings, const ModelTrialReading& chinese,
                           const std::vector<RecognizedLine>& lines)
{
    std::vector<RecognizedLine> all = lines;
    all.insert(all.end(), chinese.lines.begin(), chinese.lines.end());
    if (showsChineseMarks(all))
        return true;
    // A kana or two the Japanese model made of Chinese strokes does not outweigh a reading that
    // much surer.
    if (const ModelTrialReading* japanese = readingOf(readings, kLanguageJapanese); japanese
        && (kanaIn(japanese->lines) >= 3 || (showsKana(japanese->lines) && chinese.confidence < japanese->confidence + kSurerBy)
            || japanese->confidence > chinese.confidence + kChineseLead))
        return false;
    // Lines the Chinese model reads clearly surer, on a card where the Japanese model found no kana
    // and nothing only Japanese cards print, are Chinese type though the card shows nothing only
    // Chinese cards print.
    const ModelTrialReading* japanese = readingOf(readings, kLanguageJapanese);
    const bool japaneseSigns = showsKana(lines) || showsJapanese(lines) || (japanese && showsKana(japanese->lines));
    return (japanese && !japaneseSigns && chinese.confidence >= std::max(kSureEnough, japanese->confidence + kSurerBy))
        || showsChinese(lines) || showsChinese(chinese.lines, true);
}

// The reading of the Chinese script the card is in: the one its places or characters tell, else the
// surer of the two (each model reads the other script's characters as its own).
const ModelTrialReading* chineseReading(const std::vector<ModelTrialReading>& readings, const std::vector<RecognizedLine>& lines)
{
    const ModelTrialReading* simplified = readingOf(readings, kLanguageChineseSimplified);
    const ModelTrialReading* traditional = readingOf(readings, kLanguageChineseTraditional);
    if (!simplified || !traditional)
        return simplified ? simplified : traditional;
    const int lead = traditionalLead(lines);
    if (lead != 0)
        return lead > 0 ? traditional : simplified;
    return simplified->confidence >= traditional->confidence ? simplified : traditional;
}

// A card in Latin letters but for its name, set in Hangul in the card's largest type: the English
// model could not read that line ("4A\2", "(%) 2 |HHOle"). That one line alone is tried, with the
// Korean models only.
bool readsAsHangulName(TesseractEngine& engine, Pix* pix, int dpi, const std::vector<RecognizedLine>& lines)
{
    constexpr int kSureName = 75;
    const auto height = [](const RecognizedLine& l) { return l.bottom - l.top + 1; };
    const auto largest = std::max_element(lines.begin(), lines.end(),
                                          [&](const RecognizedLine& a, const RecognizedLine& b) { return height(a) < height(b); });
    if (largest == lines.end() || largest->confidence >= kUnread || largest->text.contains(u'@')
        || !engine.hasLanguage(modelsOfLanguage(kLanguageKorean)))
        return false;
    // Large type: half as tall again as the body at least.
    if (2 * height(*largest) < 3 * medianHeight(lines))
        return false;
    const std::vector<ModelTrialReading> korean = readWithEachLanguage(engine, pix, dpi, {*largest}, {kLanguageKorean}, 1);
    return !korean.empty() && korean.front().confidence >= kSureName && lettersOfScript(korean.front()) >= kLeastLetters;
}

// A row of ink inside a line the English model read surely was read, though it printed few letters
// (a row of numbers, "T +1 617 555 0107 | D 617.555.0165"): it is no Hangul the layout dropped.
bool readSurely(const RecognizedLine& row, const std::vector<RecognizedLine>& lines)
{
    const int middle = (row.top + row.bottom) / 2;
    return std::any_of(lines.begin(), lines.end(), [&row, middle](const RecognizedLine& l) {
        return l.confidence >= kReadSurely && l.top <= middle && middle <= l.bottom
            && 2 * (std::min(l.right, row.right) - std::max(l.left, row.left)) > row.right - row.left;
    });
}

} // namespace

int scriptLanguageOfCard(TesseractEngine& engine, Pix* pix, int dpi, const std::vector<RecognizedLine>& lines, const std::string& data,
                         bool weak, int* missing)
{
    std::vector<ModelTrialReading> readings;
    const auto clearWinner = [&readings]() -> const ModelTrialReading* {
        const ModelTrialReading* surest = surestReading(readings);
        const ModelTrialReading* english = readingOf(readings, kLanguageEnglish);
        if (!surest || surest->language == kLanguageEnglish || surest->confidence < kSureEnough
            || (english && surest->confidence < english->confidence + kSurerBy) || lettersOfScript(*surest) < kLeastLetters)
            return nullptr;
        return surest;
    };
    // Cyrillic either model made letters of is tried with the Russian models first; so are the
    // doubted lines of a card from Russia.
    const std::vector<RecognizedLine> doubted = linesInDoubt(lines);
    const bool cyrillic = readsLikeCyrillic(doubted) || (!doubted.empty() && showsRussia(lines));
    if (cyrillic && !engine.hasLanguage(modelsOfLanguage(kLanguageRussian)))
        *missing |= 1 << kLanguageRussian;
    if (cyrillic) {
        readings = readWithEachLanguage(engine, pix, dpi, doubted, {kLanguageEnglish, kLanguageRussian}, kLinesTried);
        if (const ModelTrialReading* russian = clearWinner())
            return russian->language;
    }

    const bool chineseData = engine.hasLanguage(modelsOfLanguage(kLanguageChineseSimplified))
        || engine.hasLanguage(modelsOfLanguage(kLanguageChineseTraditional));
    // Each model's engine costs as much to make as a card to read, and the Chinese ones read a line
    // slowly: the Japanese model, whose engine the card has made already, reads first, and the
    // others only where they could still take the card from it.
    const auto readWith = [&](const std::vector<RecognizedLine>& tried, std::initializer_list<int> languages) {
        std::vector<ModelTrialReading> more = readWithEachLanguage(engine, pix, dpi, tried, languages, kLinesTried);
        readings.insert(readings.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    };
    // Where the card's places or characters tell the Chinese script, only its model is tried.
    const auto readWithChinese = [&](const std::vector<RecognizedLine>& tried) {
        const int lead = traditionalLead(lines);
        if (lead == 0)
            readWith(tried, {kLanguageChineseSimplified, kLanguageChineseTraditional});
        else
            readWith(tried, {lead > 0 ? kLanguageChineseTraditional : kLanguageChineseSimplified});
    };
    const auto clearlyChinese = [&clearWinner] {
        const ModelTrialReading* winner = clearWinner();
        return winner && (winner->language == kLanguageChineseSimplified || winner->language == kLanguageChineseTraditional);
    };
    if (data.rfind("jpn", 0) == 0) {
        std::vector<RecognizedLine> han = hanLines(lines);
        const bool showsHan = !han.empty();
        // Hangul the Japanese model made kanji of is doubted.
        for (const RecognizedLine& l : doubted) {
            if (std::none_of(han.begin(), han.end(), [&l](const RecognizedLine& h) { return h.top == l.top && h.left == l.left; }))
                han.push_back(l);
        }
        std::stable_sort(han.begin(), han.end(),
                         [](const RecognizedLine& a, const RecognizedLine& b) { return a.bottom - a.top > b.bottom - b.top; });
        // On a card from Korea the kana the Japanese model made of Hangul strokes settle nothing:
        // the Korean models read its lines surer. Nor do they on a card whose Han lines the
        // Japanese model doubts (a 〒 or kana made of Hangul): a Korean reading clearly surer, with
        // Hangul enough, is the card's.
        const bool korea = showsKorea(lines);
        if ((korea || confidenceOf(hanLines(lines)) < kDoubtedHan) && !han.empty()) {
            const std::vector<ModelTrialReading> tried =
                readWithEachLanguage(engine, pix, dpi, han, {kLanguageJapanese, kLanguageKorean}, kLinesTried);
            const ModelTrialReading* japanese = readingOf(tried, kLanguageJapanese);
            if (const ModelTrialReading* korean = readingOf(tried, kLanguageKorean);
                korean
                && (korea ? korean->confidence >= kSureEnough && (!japanese || korean->confidence > japanese->confidence)
                          : surelyKoreanOver(*korean, japanese)))
                return kLanguageKorean;
        }
        // A kana or two the Japanese model made of a Chinese card's strokes do not make it Japanese;
        // nor does a reading without Han characters of a card that shows Chinese numbers or
        // domains, or whose lines the model doubted without a kana: the Japanese model may have
        // made Latin scraps of all its Han lines.
        if ((showsKana(lines) && !showsChineseMarks(lines)) || (!showsHan && chineseMarkCount(lines) == 0 && (doubted.empty() || showsKana(lines)))
            || (showsJapanese(lines) && !showsChinese(lines)) || han.empty())
            return kLanguageJapanese;
        readings.clear();
        readWith(han, {kLanguageJapanese});
        // Korean takes the card only by a lead of kSurerBy over the Japanese reading, and never one
        // that prints what only Chinese cards print.
        if (const ModelTrialReading* japanese = readingOf(readings, kLanguageJapanese);
            (!japanese || japanese->confidence + kSurerBy <= 100) && !showsChinese(lines))
            readWith(han, {kLanguageKorean});
        const ModelTrialReading* japanese = readingOf(readings, kLanguageJapanese);
        if (const ModelTrialReading* korean = readingOf(readings, kLanguageKorean);
            korean && korean->confidence >= kSureEnough && (!japanese || korean->confidence >= japanese->confidence + kSurerBy))
            return kLanguageKorean;
        if (!chineseData) {
            if (showsChinese(lines))
                *missing |= 1 << chineseOf(lines);
            return kLanguageJapanese;
        }
        // Kana the Japanese model is sure of keep the card Japanese, whatever a Chinese model reads.
        if (japanese && kanaIn(japanese->lines) >= 3 && !showsChineseMarks(lines))
            return kLanguageJapanese;
        readWithChinese(han);
        const ModelTrialReading* chinese = chineseReading(readings, lines);
        return chinese && chineseBeforeJapanese(readings, *chinese, lines) ? chinese->language : kLanguageJapanese;
    }

    // The English layout drops rows of Hangul without a word ("주인호", "연구기획팀", an address): a
    // card that would stay English and left two rows of type unread tries those rows with the
    // Korean models, and a clear, sure Korean reading of them is the card's.
    const auto hangulRowsDropped = [&] {
        std::vector<RecognizedLine> rows = unreadInkRows(pix, lines, medianHeight(lines) * 3 / 4, kLinesTried);
        rows.erase(std::remove_if(rows.begin(), rows.end(), [&lines](const RecognizedLine& row) { return readSurely(row, lines); }),
                   rows.end());
        if (rows.size() < 2 || !engine.hasLanguage(modelsOfLanguage(kLanguageKorean)))
            return false;
        // The English engine is made already; the Korean one is made only where the English model
        // reads the rows too unsurely for a Korean reading to be clearly surer.
        const std::vector<ModelTrialReading> english = readWithEachLanguage(engine, pix, dpi, rows, {kLanguageEnglish}, kLinesTried);
        if (!english.empty() && english.front().confidence + kSurerBy > 100)
            return false;
        const std::vector<ModelTrialReading> korean = readWithEachLanguage(engine, pix, dpi, rows, {kLanguageKorean}, kLinesTried);
        return !korean.empty() && surelyKoreanOver(korean.front(), english.empty() ? nullptr : &english.front());
    };
    // A card that reads well in English is tried only when two lines at least are of words the
    // model could not read: one such line is mostly a logo, and the trial makes and runs the
    // engines of four more models.
    const auto unread = std::count_if(doubted.begin(), doubted.end(), [](const RecognizedLine& l) { return l.confidence < kUnread; });
    if (doubted.empty() || (!weak && !cyrillic && unread < 2)) {
        // On a card that prints what only Chinese cards print (a Chinese number and domain), the
        // line the English model could not read is mostly Chinese type.
        if (chineseData && showsChineseMarks(lines) && !doubted.empty()) {
            readWith(doubted, {kLanguageEnglish});
            readWithChinese(doubted);
            if (clearlyChinese())
                return clearWinner()->language;
        }
        // On a card from Korea a line the English model doubts is mostly Hangul.
        if (showsKorea(lines) && !doubted.empty()) {
            readWith(doubted, {kLanguageEnglish, kLanguageKorean});
            if (const ModelTrialReading* winner = clearWinner(); winner && winner->language == kLanguageKorean)
                return kLanguageKorean;
        }
        return (unread < 2 && readsAsHangulName(engine, pix, dpi, lines)) || hangulRowsDropped() ? kLanguageKorean : kLanguageEnglish;
    }
    if (readings.empty())
        readWith(doubted, {kLanguageEnglish});
    readWith(doubted, {kLanguageJapanese});
    // Hangul and Chinese type the Japanese model reads give no kana it is sure of: a clear Japanese
    // reading with kana is the card's.
    if (const ModelTrialReading* winner = clearWinner();
        winner && winner->language == kLanguageJapanese && winner->confidence >= kSureReading && kanaIn(winner->lines) >= 3)
        return kLanguageJapanese;
    // A card whose places tell a Chinese script is read with that script's model before the Korean
    // one; a clear reading by it is the card's, whichever model might read it surer yet.
    const int lead = traditionalLead(lines);
    const int leading = lead > 0 ? kLanguageChineseTraditional : kLanguageChineseSimplified;
    const int other = lead > 0 ? kLanguageChineseSimplified : kLanguageChineseTraditional;
    if (lead != 0)
        readWith(doubted, {leading});
    if (lead == 0 || !clearlyChinese()) {
        readWith(doubted, {kLanguageKorean});
        // Neither Chinese model reads Hangul: a sure Korean reading of its letters is the card's, and
        // on a card from Korea a clear one.
        if (const ModelTrialReading* winner = clearWinner(); winner && winner->language == kLanguageKorean
            && (winner->confidence >= kSureReading || showsKorea(lines)) && lettersOfScript(*winner) >= kSureHangul)
            return kLanguageKorean;
        if (lead == 0)
            readWith(doubted, {kLanguageChineseSimplified, kLanguageChineseTraditional});
        else
            readWith(doubted, {other});
    }
    const ModelTrialReading* winner = clearWinner();
    if (!winner)
        return hangulRowsDropped() ? kLanguageKorean : kLanguageEnglish;
    // Han characters the Japanese model reads surest may still be a Chinese card's.
    if (winner->language == kLanguageChineseSimplified || winner->language == kLanguageChineseTraditional
        || winner->language == kLanguageJapanese) {
        const ModelTrialReading* chinese = chineseReading(readings, lines);
        return chinese && chineseBeforeJapanese(readings, *chinese, lines) ? chinese->language : kLanguageJapanese;
    }
    return winner->language;
}
