// The ISO 8601 reader, lenient and strict, on arbitrary text; a date it reads is formatted again.
#include "plugin/SforceService/ISO8601.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QChar separator = QLatin1Char(char(data[0] & 0x7F ? data[0] & 0x7F : ':'));
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1778832000, Qt::UTC);
    for (bool strict : {false, true}) {
        ISO8601Range range;
        if (const auto date = dateWithString(text, strict, separator, &range, now)) {
            ISO8601DateString(*date);
            ISO8601OrdinalDateStringWithTime(*date, true);
            ISO8601WeekDateStringWithTime(*date, true, separator);
        }
    }
    return 0;
}
