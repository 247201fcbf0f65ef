// A result record ('PLDA') from the OCR application, mapped into a card dictionary in every
// language that needs no separation library.
#include "app/images/PLRegController.h"
#include "platform/events/OcrProtocol.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    QByteArray result(reinterpret_cast<const char*>(data) + 3, qsizetype(size - 3));
    result.resize(qsizetype(ocr::kResultSize), '\0');
    const int languages[] = {2, 3, 4, 5, 6, 11, 12};
    const int language = languages[data[0] % 7];
    const int height = data[1] * 16 + data[2];
    PLRegController reg;
    CardDict dict;
    reg.setRecognizeStructToDbDict(&dict, &result, height, language);
    CardDict one;
    reg.setDetailRecognizeStructToDbDict(&one, &result, height, 21 + data[2] % 13, language);
    return 0;
}
