// Rectangle strings come from card databases: any text must read without a crash, and what is
// read must write back as four integers.
#include "app/core/RectString.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QRectF rect(1, 2, 3, 4);
    ConvertStringToRect(text, &rect);
    const QString written = ConvertRectToString(rect);
    if (written.split(QLatin1Char('/')).size() != 4)
        std::abort();
    return 0;
}
