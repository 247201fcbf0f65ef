#include "outside/ocr/FuriganaRereading.h"

#include "outside/ocr/JapaneseLineText.h"
#include "outside/ocr/LineRereading.h"
#include "outside/ocr/NameRowCharacters.h"
#include "outside/ocr/TesseractEngine.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

// Furigana is set at about a third of the name's height: between these shares of it.
constexpr double kLeastShare = 0.18;
constexpr double kMostShare = 0.6;
// ... within this share of the name's height of it, over or under, and no farther aside.
constexpr double kNearShare = 0.9;
constexpr double kAsideShare = 0.5;
// Height the furigana is read at, as the engine reads a row of type best.
constexpr float kReadHeight = 40.0f;
// A reading in kana only is taken only when this sure: below, the engine makes up kana of
// whatever it doubts ("グムアダイスケ" for ノムラ ダイスケ, read 53).
constexpr int kSureOfKana = 60;

bool isKana(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3041 && u <= 0x3096) || (u >= 0x30A1 && u <= 0x30FC);
}

bool isAllKana(const QString& text)
{
    const QString c = withoutBlanks(text);
    return !c.isEmpty() && std::all_of(c.begin(), c.end(), isKana);
}

// Hiragana alone, katakana with the long vowel mark, and both: the engine's lists of the characters
// it may read. Read in one script it may make up a wrong kana where the other reads right.
const std::array<std::string, 3>& kanaScripts()
{
    static const std::array<std::string, 3> scripts = [] {
        QString hiragana, katakana;
        for (ushort u = 0x3041; u <= 0x3096; ++u)
            hiragana += QChar(u);
        for (ushort u = 0x30A1; u <= 0x30FA; ++u)
            katakana += QChar(u);
        katakana += QChar(0x30FC);
        return std::array<std::string, 3>{hiragana.toStdString(), katakana.toStdString(), (hiragana + katakana).toStdString()};
    }();
    return scripts;
}

// Furigana is printed in hiragana or in katakana, never both: a reading in both ("グムんア") is
// made up.
bool isOneScript(const QString& kana)
{
    const bool hiragana = std::any_of(kana.begin(), kana.end(), [](QChar c) { return c.unicode() >= 0x3041 && c.unicode() <= 0x3096; });
    const bool katakana = std::any_of(kana.begin(), kana.end(), [](QChar c) { return c.unicode() >= 0x30A1 && c.unicode() <= 0x30FA; });
    return !(hiragana && katakana);
}

struct Band {
    int left, top, right, bottom;
};

// The row of ink of furigana's size nearest over (`above`) or under `name`, within its width.
bool furiganaBand(Pix* pix, const RecognizedLine& name, bool above, Band* band)
{
    const int high = name.bottom - name.top + 1;
    const int left = name.left - int(kAsideShare * high), right = name.right + int(kAsideShare * high);
    const int top = above ? name.top - int(kNearShare * high) : name.bottom + 1;
    const int bottom = above ? name.top - 1 : name.bottom + int(kNearShare * high);
    auto rows = inkRows(pix, left, top, right, bottom);
    if (above)
        std::reverse(rows.begin(), rows.end());
    for (const auto& [rowTop, rowBottom] : rows) {
        const int h = rowBottom - rowTop + 1;
        if (h < kLeastShare * high || h > kMostShare * high)
            return false;
        const auto columns = characterColumns(pix, left, rowTop, right, rowBottom);
        if (columns.empty())
            return false;
        *band = {columns.front().first, rowTop, columns.back().second, rowBottom};
        return true;
    }
    return false;
}

bool overlaps(const RecognizedLine& line, const Band& band)
{
    const int across = std::min(line.right, band.right) - std::max(line.left, band.left);
    const int down = std::min(line.bottom, band.bottom) - std::max(line.top, band.top);
    return across > 0 && down * 2 > band.bottom - band.top;
}

} // namespace

bool fitsNameReading(const QString& kana, int characters)
{
    const qsizetype n = withoutBlanks(kana).size();
    return n >= characters && n <= 3 * characters + 1;
}

std::vector<RecognizedLine>::const_iterator surestFurigana(const std::vector<RecognizedLine>& readings, int characters)
{
    auto surest = readings.end();
    for (auto r = readings.begin(); r != readings.end(); ++r) {
        const QString kana = r->text.simplified();
        if (r->confidence >= kSureOfKana && isAllKana(kana) && isOneScript(kana) && fitsNameReading(kana, characters)
            && (surest == readings.end() || r->confidence > surest->confidence))
            surest = r;
    }
    return surest;
}

FuriganaLine furiganaLine(const QString& text, int characters)
{
    // A title ("グループ長") or a romanised name is no furigana: only a line the engine read mostly
    // in kana, and without kanji, is.
    const QString held = withoutBlanks(text);
    const auto kanaHeld = std::count_if(held.begin(), held.end(), isKana);
    const bool kanji = std::any_of(held.begin(), held.end(), [](QChar c) { return c.unicode() >= 0x3400 && c.unicode() <= 0x9FFF; });
    if (held.isEmpty() || kanaHeld * 2 < held.size() || kanji)
        return FuriganaLine::Other;
    // Kana read fairly among the card's lines stay: read in kana only, the engine makes up kana
    // where it doubts one ("グムアダイスケ" for ノムラ ダイスケ).
    return isAllKana(text) && isOneScript(text) && fitsNameReading(text, characters) ? FuriganaLine::ReadWell : FuriganaLine::ReadBadly;
}

void rereadFurigana(TesseractEngine& engine, Pix* pix, const std::string& data, int nameHeight, std::vector<RecognizedLine>* lines)
{
    std::vector<RecognizedLine> names;
    std::copy_if(lines->begin(), lines->end(), std::back_inserter(names), [nameHeight](const RecognizedLine& l) {
        const qsizetype n = withoutBlanks(l.text).size();
        return l.bottom - l.top + 1 >= nameHeight && n >= 2 && n <= 7 && isKanaAndKanji(l.text) && !isAllKana(l.text);
    });
    for (const RecognizedLine& name : names) {
        const int characters = int(withoutBlanks(name.text).size());
        for (const bool above : {true, false}) {
            Band band{};
            if (!furiganaBand(pix, name, above, &band))
                continue;
            // Kana the card's reading already holds well need no reading again, nor does a line
            // there that is no furigana: the three readings in kana are the costly part.
            const auto there = std::find_if(lines->begin(), lines->end(), [&band](const RecognizedLine& l) { return overlaps(l, band); });
            const FuriganaLine kind = there == lines->end() ? FuriganaLine::ReadBadly : furiganaLine(there->text, characters);
            if (kind == FuriganaLine::Other)
                continue;
            if (kind == FuriganaLine::ReadWell)
                break;
            std::vector<RecognizedLine> readings;
            for (const std::string& script : kanaScripts())
                readings.push_back(
                    readBoxAt(engine, pix, data, {{}, band.left, band.top, band.right, band.bottom, 0}, kReadHeight, {false, script}));
            const auto surest = surestFurigana(readings, characters);
            if (surest == readings.end())
                continue;
            RecognizedLine read = *surest;
            read.text = withBlankAtWidestGap(withoutBlanks(read.text), characterColumns(pix, band.left, band.top, band.right, band.bottom),
                                             band.bottom - band.top + 1);
            if (there == lines->end()) {
                const auto at = std::find_if(lines->begin(), lines->end(), [&name](const RecognizedLine& l) {
                    return l.left == name.left && l.top == name.top && l.text == name.text;
                });
                lines->insert(above || at == lines->end() ? at : at + 1, read);
                break;
            }
            // The furigana read in pieces ("そがべ", "はやと") is one line.
            *there = read;
            lines->erase(std::remove_if(there + 1, lines->end(),
                                        [&band](const RecognizedLine& l) { return overlaps(l, band) && isAllKana(l.text); }),
                         lines->end());
            break;
        }
    }
}
