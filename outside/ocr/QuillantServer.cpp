#include "outside/ocr/QuillantServer.h"

#include "outside/ocr/AccentedNames.h"
#include "outside/ocr/AddressLines.h"
#include "outside/ocr/CardLanguage.h"
#include "outside/ocr/ChineseCardFields.h"
#include "outside/ocr/FaintRows.h"
#include "outside/ocr/InkDirection.h"
#include "outside/ocr/JapaneseNameCorrection.h"
#include "outside/ocr/JapanesePersonWords.h"
#include "outside/ocr/LatinAddressEnds.h"
#include "outside/ocr/LatinAccents.h"
#include "outside/ocr/LatinNameRereading.h"
#include "outside/ocr/LatinNameShape.h"
#include "outside/ocr/LineRereading.h"
#include "outside/ocr/MailRowRereading.h"
#include "outside/ocr/ModelTrial.h"
#include "outside/ocr/NameLineInk.h"
#include "outside/ocr/NumberRowRereading.h"
#include "outside/ocr/ScanCleanup.h"
#include "outside/ocr/ScriptCardFields.h"
#include "outside/ocr/ScriptLineRereading.h"
#include "outside/ocr/UnreadBlocks.h"
#include "outside/ocr/VerticalColumns.h"
#include "outside/ocr/WebAddressShape.h"
#include "platform/events/OcrProtocol.h"


#include <algorithm>
#include <leptonica/allheaders.h>
#include <memory>

namespace {

constexpr int kDefaultDpi = 300;
const std::string kJapaneseAndEnglish = "jpn+eng";
const std::string kJapaneseData = "jpn";
// All readings of one card stop after this much processor time, with the lines read by then: a
// card of hundreds of lines of small print gets its reply well within the time Pelmora waits for
// one. Counted in processor time, a busy machine does not cut a card short; the ceiling in wall
// time keeps the reply within Pelmora's two-minute wait however busy it is.
constexpr int kReadingTimeMs = 30000;
constexpr int kReadingCeilingMs = 100000;
// A card read well has its words at 65 and above on the engine's scale of 0 to 100.
constexpr int kDoubtfulReading = 55;
constexpr std::pair<size_t, size_t> kEmailSlots{23, 25};
constexpr std::pair<size_t, size_t> kWebSlots{27, 29};

// An 8-bit grey Pix of the request's bitmap (a 1-bit bitmap has 0 = black).
PixPtr makePix(const RecognitionRequest& r)
{
    PixPtr pix(pixCreate(r.width, r.height, 8));
    if (!pix)
        return nullptr;
    l_uint32* data = pixGetData(pix.get());
    const int wpl = pixGetWpl(pix.get());
    const auto* bytes = reinterpret_cast<const uint8_t*>(r.pixels.constData());
    for (int y = 0; y < r.height; ++y) {
        const uint8_t* row = bytes + size_t(y) * size_t(r.bytesPerRow);
        l_uint32* line = data + size_t(y) * size_t(wpl);
        for (int x = 0; x < r.width; ++x) {
            const uint8_t v = r.bitsPerPixel == 8 ? row[x] : ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
            SET_DATA_BYTE(line, x, v);
        }
    }
    pixSetResolution(pix.get(), r.hdpi, r.vdpi);
    return pix;
}

bool isJapaneseScript(const std::string& script)
{
    return script == "Han" || script == "Hiragana" || script == "Katakana" || script == "Japanese";
}

// The models that read a card of the script found; Japanese cards carry English beside the Japanese.
std::string languageOfScript(const std::string& script)
{
    if (isJapaneseScript(script))
        return kJapaneseAndEnglish;
    if (script == "Hangul" || script == "Korean")
        return modelsOfLanguage(kLanguageKorean);
    if (script == "Cyrillic")
        return modelsOfLanguage(kLanguageRussian);
    return "eng";
}

// Languages whose cards the Japanese rules (furigana, the name dictionary, the postal code
// directory) must leave alone, their Han characters or Hangul notwithstanding.
bool isOtherScript(int language)
{
    return language == kLanguageChineseSimplified || language == kLanguageChineseTraditional || language == kLanguageKorean
        || language == kLanguageRussian;
}

// The language of a card the orientation detection's script (Hangul, Cyrillic) had read with that
// script's own models, when the lines show its letters; -1 otherwise. The English model's trial of
// a few lines would only doubt what the card's own models read surely.
int languageOfOwnModelsReading(const std::string& data, const std::vector<RecognizedLine>& lines)
{
    constexpr qsizetype kLeastLetters = 4;
    for (int language : {kLanguageKorean, kLanguageRussian}) {
        if (data != modelsOfLanguage(language))
            continue;
        qsizetype letters = 0;
        for (const RecognizedLine& l : lines)
            letters += std::count_if(l.text.begin(), l.text.end(), [language](QChar c) { return isLetterOfScript(language, c); });
        return letters >= kLeastLetters ? language : -1;
    }
    return -1;
}

// The language of the vertical model that read a card's columns.
int languageOfColumns(const std::string& model)
{
    return model.rfind("chi_sim", 0) == 0   ? kLanguageChineseSimplified
         : model.rfind("chi_tra", 0) == 0 ? kLanguageChineseTraditional
                                          : kLanguageJapanese;
}

// Languages whose accents the English model does not know (its one accented letter is é).
bool isAccentedLatin(int language)
{
    return language == kLanguageFrench || language == kLanguageSpanish || language == kLanguageItalian || language == kLanguagePortuguese;
}

bool holdsJapaneseLetters(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3040 && c.unicode() <= 0x9FFF; });
}

// The models that read a card in the language chosen: its own and English beside it, or its own
// alone when English is missing.
std::string modelsOfRequest(const TesseractEngine& engine, int language)
{
    const std::string models = modelsOfLanguage(language);
    return engine.hasLanguage(models) ? models : ownModelOfLanguage(language);
}

// Lines standing on end: the engine reads a turned card's lines as vertical text.
bool standsOnEnd(const std::vector<RecognizedLine>& lines)
{
    const auto standing =
        std::count_if(lines.begin(), lines.end(), [](const RecognizedLine& l) { return l.bottom - l.top > l.right - l.left; });
    return standing * 2 > qsizetype(lines.size());
}

// Too few lines, words the engine itself doubts, or lines standing on end: the card may lie turned.
bool isWeakReading(const std::vector<RecognizedLine>& lines, int confidence)
{
    return lines.size() < 3 || confidence < 65 || standsOnEnd(lines);
}

// A Latin name with a capital after a word's first letter ("RAJ FITZGERALD", "RaJ") may be set in
// small capitals.
bool mayBeInSmallCaps(const QString& name)
{
    const QStringList words = name.split(u' ', Qt::SkipEmptyParts);
    return std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x3000; })
        && std::any_of(words.begin(), words.end(), [](const QString& w) {
               const auto upper = std::count_if(w.begin() + 1, w.end(), [](QChar c) { return c.isUpper(); });
               return w.size() >= 3 && upper > 0 && 2 * upper >= w.size() - 1;
           });
}

QByteArray statusBytes(int32_t status)
{
    QByteArray bytes(4, '\0');
    ocr::writeI32(reinterpret_cast<uint8_t*>(bytes.data()), status);
    return bytes;
}

} // namespace

OcrMessage QuillantServer::handle(const OcrMessage& request, bool* quit)
{
    *quit = false;
    OcrMessage reply;
    reply.eventClass = request.eventClass;
    reply.eventId = request.eventId;
    reply.returnId = request.returnId;
    if (request.eventClass == ocr::kQuitClass && request.eventId == ocr::kQuitEvent) {
        *quit = true;
        return reply;
    }
    int32_t status = kStatusEngineError;
    QByteArray result, orientation;
    if (request.eventClass == ocr::kEventClass) {
        if (request.eventId == ocr::kEventOpen)
            status = m_engine.open() ? kStatusOk : kStatusEngineError;
        else if (request.eventId == ocr::kEventIsOk)
            status = m_engine.isOpen() ? kStatusOk : kStatusEngineError;
        else if (request.eventId == ocr::kEventRun) {
            RecognitionRequest parsed;
            status = parseRecognitionRequest(request, &parsed);
            if (status == kStatusOk)
                status = m_engine.isOpen() ? recognize(parsed, &result, &orientation) : kStatusEngineError;
        }
    }
    reply.params.emplace_back(ocr::kKeyStatus, statusBytes(status));
    if (status == kStatusOk) {
        reply.params.emplace_back(ocr::kKeyResult, result);
        reply.params.emplace_back(ocr::kKeyOrientation, orientation);
    }
    return reply;
}

void QuillantServer::serve(OcrChannel& channel)
{
    for (;;) {
        OcrMessage request;
        if (channel.receive(&request, false, -1) != OcrChannel::Ok)
            return;
        bool quit = false;
        const OcrMessage reply = handle(request, &quit);
        if (quit || channel.send(reply, true, 30000) != OcrChannel::Ok)
            return;
    }
}

int32_t QuillantServer::recognize(const RecognitionRequest& request, QByteArray* result, QByteArray* orientation)
{
    PixPtr pix = makePix(request);
    if (!pix)
        return kStatusEngineError;
    // Only a whole card is cleaned up and straightened: a box is drawn on the image as it lies.
    const bool wholeImage = request.left == 0 && request.top == 0 && request.right == request.width - 1
        && request.bottom == request.height - 1;
    float skew = 0;
    if (PixPtr clean(wholeImage ? cleanScan(pix.get(), &skew) : nullptr); clean)
        pix = std::move(clean);
    const int dpi = request.hdpi >= 70 ? request.hdpi : kDefaultDpi;
    const bool automatic = request.language == kLanguageAutomatic;
    // Automatic reads in English first: most cards are, and a card that is not reads badly.
    std::string requested = automatic ? "eng" : modelsOfRequest(m_engine, request.language);
    // Without the Japanese data a Japanese card is still read in English (its numbers, mail and
    // Latin lines), and the reply says what was missing, so that the user is told.
    int32_t missingData = 0;
    if (request.language == kLanguageJapanese && !m_engine.hasLanguage(requested) && m_engine.hasLanguage("eng")) {
        requested = "eng";
        missingData |= ocr::kMissingJapaneseData;
    }
    if (!m_engine.hasLanguage(requested))
        return kStatusLanguageError;
    struct Reading {
        std::vector<RecognizedLine> lines;
        int confidence = 0;
        int turns = 0;
        std::string data;
        float skew = 0; // degrees by which the image read was turned straight
    };
    Reading best{{}, 0, 0, requested, skew};
    const auto latestEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReadingCeilingMs);
    m_engine.setLatestEnd(latestEnd);
    const qint64 threadTimeAtStart = TesseractEngine::threadTimeMs();
    const auto timeLeft = [latestEnd, threadTimeAtStart] {
        if (std::chrono::steady_clock::now() >= latestEnd)
            return 0;
        return int(std::max<qint64>(0, kReadingTimeMs - (TesseractEngine::threadTimeMs() - threadTimeAtStart)));
    };
    if (!m_engine.recognize(pix.get(), dpi, requested, request.left, request.top, request.right, request.bottom,
                            &best.lines, &best.confidence, kReadingTimeMs))
        return kStatusEngineError;
    PixPtr turned;
    // A reading with the models `data` of the card as it lies, or as turned upright.
    const auto readAgain = [&](const std::string& data, Reading* again) {
        if (timeLeft() == 0)
            return false;
        if (again->turns)
            return m_engine.recognize(turned.get(), dpi, data, 0, 0, int(pixGetWidth(turned.get())) - 1,
                                      int(pixGetHeight(turned.get())) - 1, &again->lines, &again->confidence,
                                      timeLeft());
        return m_engine.recognize(pix.get(), dpi, data, request.left, request.top, request.right, request.bottom,
                                  &again->lines, &again->confidence, timeLeft());
    };
    // A card whose lines run across but read badly in English is mostly a Japanese card lying
    // upright: it is read in Japanese before the costly orientation detection.
    const bool japaneseTried =
        automatic && isWeakReading(best.lines, best.confidence) && !standsOnEnd(best.lines) && m_engine.hasLanguage(kJapaneseAndEnglish);
    if (japaneseTried) {
        Reading again{{}, 0, 0, kJapaneseAndEnglish, skew};
        if (readAgain(kJapaneseAndEnglish, &again) && !isWeakReading(again.lines, again.confidence))
            best = std::move(again);
    } else if (automatic && wholeImage && m_engine.hasLanguage(kJapaneseAndEnglish)
               && leavesCharacterRowUnread(pix.get(), best.lines)) {
        // A Japanese card of few lines may read well enough in English but for its name, of which
        // the English model saw nothing: it is read in Japanese too, and the surer reading taken.
        Reading again{{}, 0, 0, kJapaneseAndEnglish, skew};
        if (readAgain(kJapaneseAndEnglish, &again) && !isWeakReading(again.lines, again.confidence)
            && again.confidence > best.confidence)
            best = std::move(again);
    }
    // Lines standing on end on a card lying upright are columns of vertical writing. The card is
    // read in its columns, which costs a horizontal card nothing: it has no lines standing on end.
    // Where the engine ran the characters of neighbouring columns into made-up lines across, the
    // reading is weak or mostly scraps, and the ink itself tells.
    const bool columnsPossible = wholeImage && request.type <= 1 && m_engine.hasLanguage(verticalModel(request.language))
        && (setInColumns(best.lines)
            || ((isWeakReading(best.lines, best.confidence) || readsAsScraps(best.lines)) && inkRunsInColumns(pix.get())));
    ColumnReading columns;
    int columnTurns = 0;
    float columnSkew = skew;
    // Orientation and script detection cost as much as reading a card: they run only when the
    // card does not read well as it lies. Only a new card is turned upright.
    if ((isWeakReading(best.lines, best.confidence) || columnsPossible) && (request.type == 0 || automatic || columnsPossible)) {
        const TesseractEngine::Orientation found = m_engine.detect(pix.get(), dpi);
        // The detection names the script of a card in columns and rows across unreliably (Latin,
        // Arabic): that the card lies upright is what tells columns from a card on its side.
        if (columnsPossible && found.turns == 0) {
            columns = readColumns(m_engine, pix.get(), dpi, request.language,
                                  rowsReadStraight(m_engine, pix.get(), dpi, best.data, best.lines, timeLeft()), timeLeft);
            if (columns.confidence < std::max(kDoubtfulReading, best.confidence))
                columns = {};
        }
        const int turns = request.type == 0 && columns.columns.empty() ? found.turns : 0;
        turned.reset(turns ? pixRotateOrth(pix.get(), turns) : nullptr);
        if (turns && !turned)
            return kStatusEngineError;
        // A card that lay on its side is straightened only now that its lines run across.
        float turnedSkew = 0;
        if (PixPtr clean(turned ? cleanScan(turned.get(), &turnedSkew) : nullptr); clean)
            turned = std::move(clean);
        std::vector<std::string> tries;
        if (turns)
            tries.push_back(automatic ? languageOfScript(found.script) : requested);
        // A Japanese card read in English reads badly, whatever script the detection saw.
        if (automatic && m_engine.hasLanguage(kJapaneseAndEnglish) && (tries.empty() || tries.front() != kJapaneseAndEnglish)
            && (turns || !japaneseTried))
            tries.push_back(kJapaneseAndEnglish);
        if (automatic && !m_engine.hasLanguage(kJapaneseAndEnglish))
            missingData |= ocr::kMissingJapaneseData;
        if (!columns.columns.empty())
            tries.clear();
        std::vector<RecognizedLine> turnedLines;
        std::string turnedData;
        for (const std::string& data : tries) {
            if (!m_engine.hasLanguage(data))
                continue;
            Reading again{{}, 0, turns, data, turns ? skew + turnedSkew : skew};
            const bool read = readAgain(data, &again);
            // A reading that stands up beats a weak one; among equals the engine's confidence decides.
            const bool weak = isWeakReading(best.lines, best.confidence);
            const bool againWeak = isWeakReading(again.lines, again.confidence);
            if (read) {
                turnedLines = again.lines;
                turnedData = data;
            }
            if (read && !again.lines.empty()
                && ((weak && !againWeak) || (weak == againWeak && again.confidence > best.confidence)))
                best = std::move(again);
            if (!isWeakReading(best.lines, best.confidence))
                break;
        }
        // A card in columns that lay on the glass turned stands in columns once turned upright.
        if (turns && request.type == 0 && setInColumns(turnedLines) && m_engine.hasLanguage(verticalModel(request.language))) {
            columns = readColumns(m_engine, turned.get(), dpi, request.language,
                                  rowsReadStraight(m_engine, turned.get(), dpi, turnedData, turnedLines, timeLeft()), timeLeft);
            if (columns.confidence < std::max(kDoubtfulReading, best.confidence))
                columns = {};
            columnTurns = turns;
            columnSkew = skew + turnedSkew;
        }
    }
    if (!columns.columns.empty()) {
        best.lines = columns.columns;
        best.lines.insert(best.lines.end(), columns.rows.begin(), columns.rows.end());
        best.confidence = columns.confidence;
        best.data = columns.model;
        best.turns = columnTurns;
        best.skew = columnSkew;
    }
    // Rows of type the page layout found no text in are read as a block of rows: before the card's
    // language is looked for in its lines, and again once it is read in the language found.
    const auto readBlocksOfRows = [&] {
        if (request.type <= 1 && wholeImage && columns.columns.empty() && timeLeft() > 0)
            readBlocksLeftUnread(m_engine, best.turns ? turned.get() : pix.get(), dpi, best.data, &best.lines, timeLeft());
    };
    readBlocksOfRows();
    // The language of the card: the language chosen, or what Automatic found.
    int language = automatic ? -1 : request.language;
    if (automatic && !columns.columns.empty()) {
        language = languageOfColumns(columns.model);
    } else if (automatic && !best.lines.empty()) {
        // A script the English and Japanese models cannot read is read with its own models; the
        // English model reads French, Spanish, Italian, Portuguese and German without most of
        // their accents, umlauts and ß ("MaximilianstraBe", "Miinchen"): a card whose words show
        // the language is read again with its model first and the English one beside it.
        const int readAs = languageOfOwnModelsReading(best.data, best.lines);
        const int script = readAs >= 0 ? readAs
                                       : scriptLanguageOfCard(m_engine, best.turns ? turned.get() : pix.get(), dpi, best.lines, best.data,
                                                              isWeakReading(best.lines, best.confidence), &missingData);
        const int found = isOtherScript(script)                ? script
            : script == kLanguageEnglish && best.data == "eng" ? latinLanguageOf(best.lines)
            : best.data.rfind("jpn", 0) == 0                   ? kLanguageJapanese
                                                               : -1;
        const std::string models = found >= 0 && found != kLanguageEnglish && found != kLanguageJapanese ? modelsOfLanguage(found) : "";
        if (!models.empty() && m_engine.hasLanguage(models)) {
            Reading again{{}, 0, best.turns, models, best.skew};
            const bool read = readAgain(models, &again) && !again.lines.empty();
            // A script's own models take the card when they read it no worse; a Latin language's
            // when the card reads well with them.
            if (read
                && (isOtherScript(found) ? again.confidence >= best.confidence || !isWeakReading(again.lines, again.confidence)
                                         : !isWeakReading(again.lines, again.confidence))) {
                best = std::move(again);
                readBlocksOfRows();
            }
        } else if (!models.empty()) {
            missingData |= 1 << found;
        }
        language = found >= 0 && modelsOfLanguage(found) == best.data ? found : best.data.rfind("jpn", 0) == 0 ? kLanguageJapanese : -1;
    }
    if (best.lines.empty())
        return kStatusNoData;
    // The language's model alone keeps the accents its words lose beside English.
    if (request.type <= 1 && isAccentedLatin(language) && best.data == modelsOfLanguage(language)) {
        Reading own{{}, 0, best.turns, ownModelOfLanguage(language), best.skew};
        if (readAgain(own.data, &own))
            takeAccentedWords(own.lines, &best.lines);
    }
    Pix* read = best.turns ? turned.get() : pix.get();
    if (request.type <= 1 && isOtherScript(language) && best.data == modelsOfLanguage(language)) {
        rereadScriptLines(m_engine, read, language, &best.lines);
        readMissedRows(m_engine, read, language, &best.lines);
    }
    // A card in both scripts that reads well in English still has its Japanese lines read again:
    // the English model leaves them as scraps.
    if (request.type <= 1 && m_engine.hasLanguage(kJapaneseData) && columns.columns.empty() && !isOtherScript(language)
        && (best.data.rfind("jpn", 0) == 0 || (automatic && (showsJapan(best.lines) || holdsUnreadType(best.lines)))))
        rereadJapaneseLines(m_engine, read, kJapaneseData, m_engine.hasLanguage("eng") ? "eng" : "", &best.lines, [&timeLeft] { return timeLeft() > 0; });
    // A name in thin or light type the layout left unread is read on its own.
    if (request.type <= 1 && columns.columns.empty() && best.data.rfind("jpn", 0) != 0 && timeLeft() > 0)
        readInkRowsLeftUnread(m_engine, read, dpi, best.data, &best.lines);
    // An e-mail row the layout ended early is read again out to the card's edge; not on a card the
    // engine doubts as a whole, where only what has an address's shape is kept.
    if (request.type <= 1 && columns.columns.empty() && best.data.rfind("jpn", 0) != 0 && !isOtherScript(language)
        && best.confidence >= kDoubtfulReading && timeLeft() > 0)
        rereadCutMailRows(m_engine, read, dpi, best.data, &best.lines);
    // A number row of the contact block the engine made nonsense of is read again alone.
    if (request.type <= 1 && columns.columns.empty() && best.data.rfind("jpn", 0) != 0
        && (!isOtherScript(language) || language == kLanguageRussian) && timeLeft() > 0)
        rereadGarbledNumberRows(m_engine, read, best.data, &best.lines);
    // An address line the engine ended early (light type on a dark band) is read on to its ink's end,
    // and a town or country line it left out under an address line is read.
    if (request.type <= 1 && columns.columns.empty() && best.data.rfind("jpn", 0) != 0 && !isOtherScript(language) && timeLeft() > 0) {
        readCutLatinAddressEnds(m_engine, read, best.data, &best.lines);
        readRowsUnderLatinAddresses(m_engine, read, best.data, &best.lines);
    }
    for (std::vector<RecognizedLine>* lines : {&best.lines, &columns.columns, &columns.rows}) {
        for (RecognizedLine& line : *lines)
            line.text = withWebAddressShape(line.text);
    }
    const auto classify = [&] {
        // The Japanese name dictionary knows no Chinese or Korean names.
        const bool japaneseNames = !isOtherScript(language);
        const FamilyNameLength familyNameLength = [this, japaneseNames](const QString& t) {
            return japaneseNames ? m_readings.familyNameLength(t) : 0;
        };
        const NameReadingOf readingOf = [this, japaneseNames](const QString& t) { return japaneseNames ? m_readings.reading(t) : QString(); };
        if (!columns.columns.empty())
            return classifyColumnCard(columns, int(pixGetWidth(pix.get())), familyNameLength, readingOf);
        if (request.type > 1)
            return fieldTagSlots(best.lines, request.type);
        ResultSlots sorted = classifyCardLines(best.lines, familyNameLength, readingOf);
        if (isOtherScript(language))
            fillFieldsOfScript(sorted, best.lines, language);
        if (language == kLanguageChineseSimplified || language == kLanguageChineseTraditional)
            fillChineseFields(sorted, best.lines);
        return sorted;
    };
    ResultSlots fields = classify();
    // A Latin card's name split inside its words is read again on its own.
    if (request.type <= 1 && best.data.rfind("jpn", 0) != 0 && columns.columns.empty() && !isOtherScript(language) && timeLeft() > 0
        && rereadSplitLatinName(m_engine, read, dpi, best.data, fields[kNameSlot], &best.lines))
        fields = classify();
    // A Japanese address spells the place of its postal code as the postal code directory does; a
    // code the card prints after its mark but the engine could not read is the one of the place the
    // address starts with (a card that prints no code gets none).
    const bool printsPostalMark =
        std::any_of(best.lines.begin(), best.lines.end(), [](const RecognizedLine& l) { return l.text.contains(u'〒'); });
    if (SlotFill& address = fields[kAddressSlot], &code = fields[kPostalCodeSlot]; !isOtherScript(language) && address.filled
        && !code.filled && printsPostalMark
        && std::any_of(address.text.begin(), address.text.end(), [](QChar c) { return c.unicode() >= 0x3040; })) {
        if (const QString found = m_postalCodes.codeOfPlace(address.text.section(u'\n', 0, 0)); !found.isEmpty())
            code = {found.left(3) + u'-' + found.mid(3), address.left, address.top, address.right, address.bottom, true};
    }
    if (SlotFill& address = fields[kAddressSlot], &code = fields[kPostalCodeSlot];
        !isOtherScript(language) && address.filled && code.filled) {
        const JapaneseAddressPlace place =
            withPostalCodePlace(address.text, code.text, [this](const QString& c) { return m_postalCodes.placesOf(c); });
        address.text = place.address;
        code.text = place.postalCode;
    }
    if (SlotFill& web = fields[kWebSlots.first]; web.filled && fields[kEmailSlots.first].filled)
        web.text = webAddressByMailDomain(web.text, fields[kEmailSlots.first].text);
    // Of the two ways a name's column was read, the name the dictionary and the printed reading
    // support, before the ink's correction and after it.
    if (request.type <= 1 && !columns.columns.empty() && !isOtherScript(language))
        takeBetterSupportedName(columns, m_readings, &fields);
    // A Japanese name's kanji the engine cannot read are put right by what the ink of its row looks
    // like; a name set in a column, by its characters set as a row.
    const PixPtr nameRow = columns.columns.empty() || !fields[kNameSlot].filled
        ? nullptr
        : columnAsRow(read, fields[kNameSlot].left, fields[kNameSlot].top, fields[kNameSlot].right, fields[kNameSlot].bottom);
    if (SlotFill& name = fields[kNameSlot]; request.type <= 1 && name.filled && (columns.columns.empty() || nameRow)
        && !isOtherScript(language) && holdsJapaneseLetters(name.text) && m_engine.hasLanguage(kJapaneseData)) {
        QStringList others;
        for (const RecognizedLine& line : best.lines)
            others << line.text;
        others << fields[kEmailSlots.first].text;
        // The row of a column's characters has paper of a quarter of their height round them.
        const int pad = nameRow ? int(pixGetHeight(nameRow.get())) / 6 : 0;
        NameLineInk ink = nameRow
            ? NameLineInk(m_engine, m_shapes, nameRow.get(), kJapaneseData, pad, pad, int(pixGetWidth(nameRow.get())) - 1 - pad,
                          int(pixGetHeight(nameRow.get())) - 1 - pad, name.text)
            : NameLineInk(m_engine, m_shapes, read, kJapaneseData, name.left, name.top, name.right, name.bottom, name.text);
        name.text = correctedJapaneseName(name.text, fields[kNameReadingSlot].text, others,
                                          [&ink](qsizetype at, QChar instead) { return ink.gain(at, instead); });
    }
    if (request.type <= 1 && !columns.columns.empty() && !isOtherScript(language)) {
        takeBetterSupportedName(columns, m_readings, &fields);
        // A title or department in a column with a kanji off takes the one its characters set as
        // a row read for its place where its words then read as words.
        for (const size_t slot : {kTitleSlot, kDepartmentSlot}) {
            if (SlotFill& role = fields[slot]; role.filled)
                role.text = roleWithWeighedCharacter(role.text,
                                                     characterReadingsOfColumn(m_engine, read, role.left, role.top, role.right, role.bottom),
                                                     [this](const QString& t) { return m_readings.wordCost(t); });
        }
    }
    // A Latin name in small capitals reads as capitals; the heights of its letters tell it.
    if (SlotFill& name = fields[kNameSlot]; request.type <= 1 && name.filled && mayBeInSmallCaps(name.text)) {
        std::vector<LetterExtent> letters;
        for (const TesseractEngine::Symbol& s : m_engine.recognizeSymbols(read, dpi, best.data, name.left, name.top, name.right, name.bottom)) {
            if (symbolStandsForALetter(s.text))
                letters.push_back({s.top, s.bottom});
        }
        name.text = latinNameOutOfSmallCaps(name.text, letters);
    }
    // A name's accents no reading holds come back from the names of the card's language.
    if (SlotFill& name = fields[kNameSlot]; name.filled)
        name.text = withAccentsOfKnownNames(name.text, language);
    // An address's too, from the places of the language its words show where no reading took the
    // card's language (a card the script detection read with another script's models).
    if (SlotFill& address = fields[kAddressSlot]; address.filled)
        address.text = withAccentsOfKnownPlaces(address.text, language >= 0 ? language : latinLanguageOf(best.lines));
    // A reading the engine itself doubts as a whole (small print, noise, a mirrored card) is made-up
    // words but for what has the form of an e-mail or web address: the rest stays empty. A field
    // box's value is its surest line, whatever scraps of other lines the box took in.
    if (request.type <= 1 && best.confidence < kDoubtfulReading) {
        for (size_t slot = 0; slot < fields.size(); ++slot) {
            if (!(slot >= kEmailSlots.first && slot <= kEmailSlots.second) && !(slot >= kWebSlots.first && slot <= kWebSlots.second))
                fields[slot] = {};
        }
    }
    // The lines are sorted by their places on the straightened card; the boxes go back to the
    // image as it was sent (turned by quarters only, as the page will be).
    for (SlotFill& slot : fields) {
        if (slot.filled)
            unturnBox(int(pixGetWidth(read)), int(pixGetHeight(read)), best.skew, &slot.left, &slot.top, &slot.right,
                      &slot.bottom);
    }
    // A Japanese name without furigana printed over it gets the dictionary's reading.
    const SlotFill& name = fields[kNameSlot];
    if (SlotFill& reading = fields[kNameReadingSlot]; name.filled && !reading.filled && !isOtherScript(language)) {
        if (const QString read = m_readings.reading(name.text); !read.isEmpty())
            reading = {read, name.left, name.top, name.right, name.bottom, true};
    }
    *result = encodeResultSlots(fields);
    *orientation = QByteArray(int(ocr::kOrientationSize), '\0');
    (*orientation)[int(ocr::kOrientationTurnsOffset)] = char(best.turns);
    const int32_t foundLanguage = !automatic ? 0
        : best.data.rfind("jpn", 0) == 0   ? ocr::kFoundJapanese
                                           : ocr::kFoundOtherLanguage;
    ocr::writeI32(reinterpret_cast<uint8_t*>(orientation->data()) + ocr::kOrientationLanguageOffset, foundLanguage);
    // Which other language: the mapping treats a card Automatic found in Chinese as one read in Chinese.
    if (foundLanguage == ocr::kFoundOtherLanguage && language > kLanguageEnglish)
        (*orientation)[int(ocr::kOrientationFoundOtherOffset)] = char(language + 1);
    ocr::writeI32(reinterpret_cast<uint8_t*>(orientation->data()) + ocr::kOrientationMissingDataOffset, missingData);
    return kStatusOk;
}
