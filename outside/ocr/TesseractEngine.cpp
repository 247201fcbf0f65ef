#include "outside/ocr/TesseractEngine.h"

#include "outside/ocr/ScanCleanup.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <ctime>
#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/osdetect.h>
#include <tesseract/resultiterator.h>

namespace {

// Two columns side by side (a name left, the address right) come out of the engine as one line:
// a gap wider than this many heights of the lower word beside it starts a line of its own.
constexpr double kColumnGapHeights = 2.5;
// A label column stands this many heights of its type at most before the numbers; a scrap of a
// large name read as a letter ("s") is not the label of an address across the card.
constexpr double kLabelGapHeights = 10;
// Where Debian's packages put the engine's data.
constexpr char kSystemData[] = "/usr/share/tesseract-ocr/5/tessdata/";

// A label is a short word ("Tel", "M", "携帯"); a dash alone is a stroke of large type.
bool isLabel(const QString& text)
{
    return text.size() <= 10 && std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); })
        && std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

bool startsValue(const QString& text)
{
    return !text.isEmpty() && (text.front().isDigit() || text.front() == u'+' || text.front() == u'(' || text.contains(u'@'));
}

// The words of one line of the engine, as one line or as the columns it runs across; a label and
// the number or address printed at a distance after it stay together.
std::vector<RecognizedLine> piecesOfLine(const std::vector<RecognizedLine>& words)
{
    std::vector<RecognizedLine> pieces;
    std::vector<std::pair<int, int>> sure; // sum and number of the word confidences
    for (size_t i = 0; i < words.size(); ++i) {
        const RecognizedLine& w = words[i];
        if (w.text.trimmed().isEmpty())
            continue;
        bool join = !pieces.empty();
        if (join) {
            const RecognizedLine& last = pieces.back();
            const int low = std::min(w.bottom - w.top, words[i - 1].bottom - words[i - 1].top);
            const int high = std::max(w.bottom - w.top, words[i - 1].bottom - words[i - 1].top);
            // A name beside its address in smaller type: the size changes across a gap. A label is
            // never printed larger than its number: a larger "label" is a piece of a name.
            const bool newSize = 2 * high > 3 * low && w.left - last.right > low;
            const bool largerLabel = newSize && words[i - 1].bottom - words[i - 1].top == high;
            join = (w.left - last.right <= kColumnGapHeights * low && !newSize)
                || (isLabel(last.text) && startsValue(w.text.trimmed()) && !largerLabel && w.left - last.right <= kLabelGapHeights * high);
        }
        if (!join) {
            pieces.push_back(w);
            pieces.back().text = w.text.trimmed();
            sure.emplace_back(w.confidence, 1);
            continue;
        }
        RecognizedLine& last = pieces.back();
        last.text += w.text;
        last.left = std::min(last.left, w.left);
        last.top = std::min(last.top, w.top);
        last.right = std::max(last.right, w.right);
        last.bottom = std::max(last.bottom, w.bottom);
        sure.back().first += w.confidence;
        ++sure.back().second;
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        pieces[i].confidence = sure[i].first / sure[i].second;
        pieces[i].text = cleanRecognizedText(pieces[i].text);
    }
    return pieces;
}

} // namespace

TesseractEngine::TesseractEngine() = default;

TesseractEngine::~TesseractEngine()
{
    for (auto& [name, api] : m_engines)
        api->End();
    if (m_osd)
        m_osd->End();
}

bool TesseractEngine::open()
{
    if (!m_dataPath.empty())
        return true;
    // The engine's data lies where TESSDATA_PREFIX says, else where the system's packages put it;
    // only when it is in neither does an engine have to be made to say where it looks.
    const QByteArray prefix = qgetenv("TESSDATA_PREFIX");
    QString folder =
        prefix.isEmpty() || !QFileInfo::exists(QFile::decodeName(prefix)) ? QString::fromLatin1(kSystemData) : QFile::decodeName(prefix);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    if (QFileInfo::exists(folder + QStringLiteral("osd.traineddata"))) {
        m_dataPath = QFile::encodeName(folder).toStdString();
        return true;
    }
    if (!orientationEngine())
        return false;
    m_dataPath = m_osd->GetDatapath();
    return true;
}

tesseract::TessBaseAPI* TesseractEngine::orientationEngine()
{
    if (m_osd)
        return m_osd.get();
    auto osd = std::make_unique<tesseract::TessBaseAPI>();
    if (osd->Init(m_dataPath.empty() ? nullptr : m_dataPath.c_str(), "osd") != 0)
        return nullptr;
    osd->SetPageSegMode(tesseract::PSM_OSD_ONLY);
    m_osd = std::move(osd);
    return m_osd.get();
}

bool TesseractEngine::hasLanguage(const std::string& data) const
{
    if (data.empty() || m_dataPath.empty())
        return false;
    const std::string folder = m_dataPath.back() == '/' ? m_dataPath : m_dataPath + '/';
    // "jpn+eng": every model of the combination must be there.
    for (const QString& one : QString::fromStdString(data).split(u'+')) {
        if (one.isEmpty() || !QFileInfo::exists(QString::fromStdString(folder) + one + QStringLiteral(".traineddata")))
            return false;
    }
    return true;
}

TesseractEngine::Orientation TesseractEngine::detect(Pix* pix, int dpi)
{
    Orientation result;
    tesseract::TessBaseAPI* osd = orientationEngine();
    if (!osd)
        return result;
    osd->SetImage(pix);
    osd->SetSourceResolution(dpi);
    int degrees = 0;
    float orientationConfidence = 0, scriptConfidence = 0;
    const char* script = nullptr;
    if (osd->DetectOrientationScript(&degrees, &orientationConfidence, &script, &scriptConfidence)) {
        // The engine gives the clockwise angle by which the image is turned; we turn it back.
        result.turns = ((360 - degrees) % 360) / 90;
        if (script)
            result.script = script;
    }
    osd->Clear();
    return result;
}

tesseract::TessBaseAPI* TesseractEngine::engine(const std::string& data)
{
    auto it = m_engines.find(data);
    if (it != m_engines.end())
        return it->second.get();
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    if (api->Init(m_dataPath.empty() ? nullptr : m_dataPath.c_str(), data.c_str()) != 0)
        return nullptr;
    api->SetPageSegMode(tesseract::PSM_AUTO);
    return m_engines.emplace(data, std::move(api)).first->second.get();
}

std::vector<std::string> TesseractEngine::models() const
{
    std::vector<std::string> made;
    for (const auto& [data, api] : m_engines)
        made.push_back(data);
    return made;
}

namespace {

// Asked by the engine between words whether to stop; it then answers with what it has read.
struct ReadingLimit {
    qint64 threadTimeEnd;
    std::chrono::steady_clock::time_point latestEnd;
    bool stopped = false;

    static bool reached(void* self, int)
    {
        auto* limit = static_cast<ReadingLimit*>(self);
        limit->stopped = TesseractEngine::threadTimeMs() >= limit->threadTimeEnd
            || std::chrono::steady_clock::now() >= limit->latestEnd;
        return limit->stopped;
    }
};

} // namespace

qint64 TesseractEngine::threadTimeMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

bool TesseractEngine::recognize(Pix* pix, int dpi, const std::string& data, int left, int top, int right,
                                int bottom, std::vector<RecognizedLine>* lines, int* confidence, int milliseconds, AreaLayout layout)
{
    tesseract::TessBaseAPI* api = engine(data);
    if (!api)
        return false;
    api->SetPageSegMode(layout == AreaLayout::Columns ? tesseract::PSM_SINGLE_BLOCK_VERT_TEXT
                        : layout == AreaLayout::Rows  ? tesseract::PSM_SINGLE_COLUMN
                                                      : tesseract::PSM_AUTO);
    const std::unique_ptr<tesseract::TessBaseAPI, void (*)(tesseract::TessBaseAPI*)> autoAfter(
        api, [](tesseract::TessBaseAPI* a) { a->SetPageSegMode(tesseract::PSM_AUTO); });
    // A part of the card (a field box) is read as an image of its own: the engine reads nothing in
    // a rectangle as wide or as high as the image it lies on.
    const bool part = left > 0 || top > 0 || right < int(pixGetWidth(pix)) - 1 || bottom < int(pixGetHeight(pix)) - 1;
    PixPtr area;
    if (part) {
        BOX* box = boxCreate(left, top, right - left + 1, bottom - top + 1);
        area.reset(pixClipRectangle(pix, box, nullptr));
        boxDestroy(&box);
        if (!area)
            return false;
    }
    api->SetImage(part ? area.get() : pix);
    api->SetSourceResolution(dpi);
    const int dx = part ? left : 0, dy = part ? top : 0;
    tesseract::ETEXT_DESC monitor;
    ReadingLimit limit{threadTimeMs() + milliseconds, m_latestEnd};
    if (milliseconds > 0) {
        monitor.cancel = &ReadingLimit::reached;
        monitor.cancel_this = &limit;
    }
    if (api->Recognize(&monitor) != 0 && !limit.stopped) {
        api->Clear();
        return false;
    }
    if (confidence)
        *confidence = api->MeanTextConf();
    std::unique_ptr<tesseract::ResultIterator> it(api->GetIterator());
    std::vector<RecognizedLine> words;
    const auto endLine = [&] {
        for (const RecognizedLine& piece : piecesOfLine(words)) {
            if (!piece.text.isEmpty())
                lines->push_back(piece);
        }
        words.clear();
    };
    if (it && !it->Empty(tesseract::RIL_WORD)) {
        do {
            if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE))
                endLine();
            std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
            int l = 0, t = 0, r = 0, b = 0;
            if (!text || !it->BoundingBox(tesseract::RIL_WORD, &l, &t, &r, &b))
                continue;
            // The engine sets no blank between the words of Japanese text; the blank leads the word.
            const QString blank = it->BlanksBeforeWord() > 0 ? QStringLiteral(" ") : QString();
            words.push_back({blank + QString::fromUtf8(text.get()).trimmed(), l + dx, t + dy, std::max(l, r - 1) + dx,
                             std::max(t, b - 1) + dy, int(it->Confidence(tesseract::RIL_WORD))});
        } while (it->Next(tesseract::RIL_WORD));
        endLine();
    }
    api->Clear();
    return true;
}

RecognizedLine TesseractEngine::recognizeLine(Pix* pix, int dpi, const std::string& data, int left, int top, int right, int bottom,
                                              const LineMode& mode)
{
    RecognizedLine line{{}, left, top, right, bottom, 0};
    tesseract::TessBaseAPI* api = engine(data);
    if (!api)
        return line;
    api->SetPageSegMode(mode.oneCharacter ? tesseract::PSM_SINGLE_CHAR
                            : mode.raw        ? tesseract::PSM_RAW_LINE
                                              : tesseract::PSM_SINGLE_LINE);
    if (!mode.allowed.empty())
        api->SetVariable("tessedit_char_whitelist", mode.allowed.c_str());
    api->SetImage(pix);
    api->SetSourceResolution(dpi);
    api->SetRectangle(left, top, right - left + 1, bottom - top + 1);
    if (std::unique_ptr<char[]> text(api->GetUTF8Text()); text) {
        line.text = cleanRecognizedText(QString::fromUtf8(text.get()));
        line.confidence = api->MeanTextConf();
    }
    api->Clear();
    if (!mode.allowed.empty())
        api->SetVariable("tessedit_char_whitelist", "");
    api->SetPageSegMode(tesseract::PSM_AUTO);
    return line;
}

RecognizedLine TesseractEngine::recognizeColumn(Pix* pix, int dpi, const std::string& data, int left, int top, int right, int bottom)
{
    RecognizedLine line{{}, left, top, right, bottom, 0};
    tesseract::TessBaseAPI* api = engine(data);
    if (!api)
        return line;
    api->SetPageSegMode(tesseract::PSM_SINGLE_BLOCK_VERT_TEXT);
    api->SetImage(pix);
    api->SetSourceResolution(dpi);
    api->SetRectangle(left, top, right - left + 1, bottom - top + 1);
    // The words of a column, with a blank only where the engine saw one (not between every word).
    std::unique_ptr<tesseract::ResultIterator> it(api->Recognize(nullptr) == 0 ? api->GetIterator() : nullptr);
    for (bool more = it && !it->Empty(tesseract::RIL_WORD); more; more = it->Next(tesseract::RIL_WORD)) {
        if (std::unique_ptr<char[]> word(it->GetUTF8Text(tesseract::RIL_WORD)); word) {
            const bool blank = !line.text.isEmpty() && (it->BlanksBeforeWord() > 0 || it->IsAtBeginningOf(tesseract::RIL_TEXTLINE));
            line.text += (blank ? QStringLiteral(" ") : QString()) + QString::fromUtf8(word.get()).trimmed();
        }
    }
    line.text = cleanRecognizedText(line.text);
    line.confidence = api->MeanTextConf();
    api->Clear();
    api->SetPageSegMode(tesseract::PSM_AUTO);
    return line;
}

std::vector<TesseractEngine::Symbol> TesseractEngine::recognizeSymbols(Pix* pix, int dpi, const std::string& data, int left, int top,
                                                                       int right, int bottom, bool raw)
{
    std::vector<Symbol> symbols;
    tesseract::TessBaseAPI* api = engine(data);
    if (!api)
        return symbols;
    // The recogniser's own alternatives per character are kept only while this line is read.
    api->SetVariable("lstm_choice_mode", "2");
    api->SetPageSegMode(raw ? tesseract::PSM_RAW_LINE : tesseract::PSM_SINGLE_LINE);
    api->SetImage(pix);
    api->SetSourceResolution(dpi);
    api->SetRectangle(left, top, right - left + 1, bottom - top + 1);
    std::unique_ptr<tesseract::ResultIterator> it(api->Recognize(nullptr) == 0 ? api->GetIterator() : nullptr);
    for (bool more = it && !it->Empty(tesseract::RIL_SYMBOL); more; more = it->Next(tesseract::RIL_SYMBOL)) {
        std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_SYMBOL));
        Symbol symbol;
        if (!text || !it->BoundingBox(tesseract::RIL_SYMBOL, &symbol.left, &symbol.top, &symbol.right, &symbol.bottom))
            continue;
        symbol.text = QString::fromUtf8(text.get()).trimmed();
        symbol.right = std::max(symbol.left, symbol.right - 1);
        symbol.bottom = std::max(symbol.top, symbol.bottom - 1);
        symbol.confidence = int(it->Confidence(tesseract::RIL_SYMBOL));
        tesseract::ChoiceIterator choice(*it);
        do {
            if (const char* alternative = choice.GetUTF8Text())
                symbol.choices.push_back(QString::fromUtf8(alternative));
        } while (choice.Next());
        if (!symbol.text.isEmpty())
            symbols.push_back(std::move(symbol));
    }
    api->Clear();
    api->SetVariable("lstm_choice_mode", "0");
    api->SetPageSegMode(tesseract::PSM_AUTO);
    return symbols;
}
