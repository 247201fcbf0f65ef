#include "app/core/RectString.h"

#include <QStringList>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Truncation toward zero; NaN and values beyond the int range (undefined in a plain cast) are clamped.
int truncated(double value)
{
    const float f = static_cast<float>(value);
    if (std::isnan(f))
        return 0;
    if (f >= static_cast<float>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (f <= static_cast<float>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(f);
}

// The leading floating-point value of `part`, as the platform's string-to-float reading does:
// leading blanks skipped, an optional sign, then the longest number; 0 when there is none.
double leadingValue(const QString& part)
{
    const QByteArray bytes = part.toUtf8();
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f'))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    // Only digits or a decimal point start a number here: no second sign, no "inf" or "nan".
    if (p == end || !((*p >= '0' && *p <= '9') || *p == '.'))
        return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec != std::errc())
        return 0.0;
    return negative ? -value : value;
}

} // namespace

QString ConvertRectToString(const QRectF& rect)
{
    return QStringLiteral("%1/%2/%3/%4")
        .arg(truncated(rect.x()))
        .arg(truncated(rect.y()))
        .arg(truncated(rect.width()))
        .arg(truncated(rect.height()));
}

void ConvertStringToRect(const QString& text, QRectF* rect)
{
    if (text.isNull() || !rect)
        return;
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 4)
        return;
    rect->setRect(leadingValue(parts.at(0)), leadingValue(parts.at(1)), leadingValue(parts.at(2)), leadingValue(parts.at(3)));
}
