#include "outside/ocr/TesseractEngine.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/osdetect.h>
#include <tesseract/resultiterator.h>

#include <QFileInfo>

#include <array>

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
    if (m_osd)
        return true;
    auto osd = std::make_unique<tesseract::TessBaseAPI>();
    if (osd->Init(nullptr, "osd") != 0)
        return false;
    osd->SetPageSegMode(tesseract::PSM_OSD_ONLY);
    m_dataPath = osd->GetDatapath();
    m_osd = std::move(osd);
    return true;
}

std::string TesseractEngine::languageData(int language)
{
    // Japanese cards print addresses, numbers and names in English as well.
    static const std::array<const char*, 11> kData = {"jpn+eng", "eng", "chi_tra", "chi_sim", "kor", "deu",
                                                      "fra", "ita", "spa", "rus", "por"};
    return language >= 0 && language < int(kData.size()) ? kData[size_t(language)] : "";
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
    if (!m_osd)
        return result;
    m_osd->SetImage(pix);
    m_osd->SetSourceResolution(dpi);
    int degrees = 0;
    float orientationConfidence = 0, scriptConfidence = 0;
    const char* script = nullptr;
    if (m_osd->DetectOrientationScript(&degrees, &orientationConfidence, &script, &scriptConfidence)) {
        // The engine gives the clockwise angle by which the image is turned; we turn it back.
        result.turns = ((360 - degrees) % 360) / 90;
        if (script)
            result.script = script;
    }
    m_osd->Clear();
    return result;
}

tesseract::TessBaseAPI* TesseractEngine::engine(const std::string& data)
{
    auto it = m_engines.find(data);
    if (it != m_engines.end())
        return it->second.get();
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    if (api->Init(nullptr, data.c_str()) != 0)
        return nullptr;
    api->SetPageSegMode(tesseract::PSM_AUTO);
    return m_engines.emplace(data, std::move(api)).first->second.get();
}

bool TesseractEngine::recognize(Pix* pix, int dpi, const std::string& data, int left, int top, int right,
                                int bottom, std::vector<RecognizedLine>* lines, int* confidence, int milliseconds)
{
    tesseract::TessBaseAPI* api = engine(data);
    if (!api)
        return false;
    api->SetImage(pix);
    api->SetSourceResolution(dpi);
    api->SetRectangle(left, top, right - left + 1, bottom - top + 1);
    tesseract::ETEXT_DESC monitor;
    monitor.set_deadline_msecs(milliseconds);
    if (api->Recognize(&monitor) != 0 && !monitor.deadline_exceeded()) {
        api->Clear();
        return false;
    }
    if (confidence)
        *confidence = api->MeanTextConf();
    std::unique_ptr<tesseract::ResultIterator> it(api->GetIterator());
    if (it) {
        do {
            std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
            if (!text)
                continue;
            RecognizedLine line;
            line.text = cleanRecognizedText(QString::fromUtf8(text.get()));
            int l = 0, t = 0, r = 0, b = 0;
            if (line.text.isEmpty() || !it->BoundingBox(tesseract::RIL_TEXTLINE, &l, &t, &r, &b))
                continue;
            line.left = l;
            line.top = t;
            line.right = std::max(l, r - 1);
            line.bottom = std::max(t, b - 1);
            lines->push_back(line);
        } while (it->Next(tesseract::RIL_TEXTLINE));
    }
    api->Clear();
    return true;
}
