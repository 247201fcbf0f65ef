// Tesseract behind the OCR application: one orientation-and-script engine on "osd", and one
// recognition engine per combination of models; each is made when a card first needs it, and kept.
#pragma once

#include "outside/ocr/CardFields.h"

#include <QString>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct Pix;
namespace tesseract {
class TessBaseAPI;
}

// How `TesseractEngine::recognizeLine` reads its box: as one line, or as one character; only the
// characters of `allowed` when it is not empty (UTF-8). A `raw` line is read without the engine's
// own search for its text line, which drops a short row of large characters filling its box.
struct LineMode {
    bool oneCharacter = false;
    std::string allowed;
    bool raw = false;
};

// How `TesseractEngine::recognize` finds the lines of its area: by the page's own layout, as one
// block of rows of type of any size one under another, or as one block of columns of vertical
// writing.
enum class AreaLayout { Page, Rows, Columns };

class TesseractEngine {
public:
    TesseractEngine();
    ~TesseractEngine();

    // Finds Tesseract's data; false when it is not there. No engine is made yet.
    bool open();
    bool isOpen() const { return !m_dataPath.empty(); }

    // Whether the data of every model of `data` ("fra+eng") is there.
    bool hasLanguage(const std::string& data) const;

    struct Orientation {
        int turns = 0;          // clockwise quarter turns that make the image upright
        std::string script;     // as the engine names it; empty when unknown
    };
    Orientation detect(Pix* pix, int dpi);

    // The text lines of the area (inclusive bounds) of an 8-bit image and the engine's mean word
    // confidence (0..100); false when the engine for `data` cannot be made. The engine stops after
    // `milliseconds` (when above 0) of this thread's processor time, or at the latest end, with the
    // lines it has read by then. `layout` says how the lines of the area are found.
    bool recognize(Pix* pix, int dpi, const std::string& data, int left, int top, int right, int bottom,
                   std::vector<RecognizedLine>* lines, int* confidence = nullptr, int milliseconds = 0,
                   AreaLayout layout = AreaLayout::Page);

    // One line of text in the box (inclusive bounds) of an 8-bit image, read as a single line; the
    // text is empty when the engine finds none or cannot be made.
    RecognizedLine recognizeLine(Pix* pix, int dpi, const std::string& data, int left, int top, int right, int bottom,
                                 const LineMode& mode = {});

    // The text of one column of vertical writing in the box (inclusive bounds), read as a single
    // block of text set from top to bottom; the text is empty when the engine finds none.
    RecognizedLine recognizeColumn(Pix* pix, int dpi, const std::string& data, int left, int top, int right, int bottom);

    // The characters of one line in the box (inclusive bounds, in the image's pixels), read as a
    // single line, each with its box, the engine's confidence and the other characters it weighed
    // for it, best first; empty when the engine finds none. `raw` reads the box as a line without
    // looking for the line's blocks first, which drops large characters set wide apart ("辻　忍").
    struct Symbol {
        QString text;
        int left = 0, top = 0, right = 0, bottom = 0;
        int confidence = 0;
        std::vector<QString> choices;
    };
    std::vector<Symbol> recognizeSymbols(Pix* pix, int dpi, const std::string& data, int left, int top, int right, int bottom,
                                         bool raw = false);

    // Readings with a time limit stop at `end` too, however much processor time they have left.
    void setLatestEnd(std::chrono::steady_clock::time_point end) { m_latestEnd = end; }

    // Processor time this thread has used, in milliseconds: the measure of a reading's time, which
    // a busy machine does not shorten as it does wall time.
    static qint64 threadTimeMs();

    // The models of the recognition engines made so far ("jpn+eng"), each once.
    std::vector<std::string> models() const;

private:
    tesseract::TessBaseAPI* engine(const std::string& data);
    tesseract::TessBaseAPI* orientationEngine();

    std::unique_ptr<tesseract::TessBaseAPI> m_osd;
    std::string m_dataPath;
    std::map<std::string, std::unique_ptr<tesseract::TessBaseAPI>> m_engines;
    std::chrono::steady_clock::time_point m_latestEnd = std::chrono::steady_clock::time_point::max();
};
