#include "app/export/ExportDates.h"

#include "app/export/ExportText.h"

#include <ctime>

namespace {

constexpr qint64 kMSecsPerDay = 24 * 60 * 60 * 1000;
constexpr qint64 kJulianDayOfEpoch = 2440588;

qint64 floorDivide(qint64 value, qint64 divisor)
{
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// The offset from UTC at a moment as QDateTime::toLocalTime() finds it. From 1970 on that is the
// C library's, asked without reading the zone again (ExportDates reads it once); Qt is asked for
// earlier moments, which it need not read as the C library does.
int offsetAt(qint64 msecs)
{
    if (msecs < 0)
        return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC).toLocalTime().offsetFromUtc();
    const time_t moment = time_t(msecs / 1000);
    struct tm parts {};
    if (!localtime_r(&moment, &parts))
        return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC).toLocalTime().offsetFromUtc();
    return int(parts.tm_gmtoff);
}

void writeNumber(char16_t* at, int value, int digits)
{
    for (int i = digits - 1; i >= 0; --i, value /= 10)
        at[i] = char16_t(u'0' + value % 10);
}

} // namespace

ExportDates::ExportDates()
{
    tzset();
}

int ExportDates::dayOffset(qint64 day)
{
    const auto known = m_offsets.constFind(day);
    if (known != m_offsets.cend())
        return *known;
    // The offset at both ends of the day holds all through it: no zone changes twice in a day.
    const int first = offsetAt(day * kMSecsPerDay);
    const int last = offsetAt(day * kMSecsPerDay + kMSecsPerDay - 1);
    const int offset = first == last ? first : kChanging;
    m_offsets.insert(day, offset);
    return offset;
}

QDate ExportDates::localDate(const QDateTime& moment)
{
    // A local time is a local date already; other times are read as the moment they name.
    if (moment.timeSpec() == Qt::LocalTime || !moment.isValid())
        return moment.date();
    const qint64 msecs = moment.toMSecsSinceEpoch();
    const int offset = dayOffset(floorDivide(msecs, kMSecsPerDay));
    if (offset == kChanging)
        return moment.toLocalTime().date();
    return QDate::fromJulianDay(kJulianDayOfEpoch + floorDivide(msecs + qint64(offset) * 1000, kMSecsPerDay));
}

QStringView ExportDates::text(const QVariant& value)
{
    QDate date;
    if (value.typeId() == QMetaType::QDateTime)
        date = localDate(*static_cast<const QDateTime*>(value.constData()));
    else if (value.typeId() == QMetaType::QDate)
        date = *static_cast<const QDate*>(value.constData());
    if (!date.isValid())
        return {};
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    if (year < 1 || year > 9999) {
        m_other = exportDateText(QVariant(date));
        return m_other;
    }
    writeNumber(m_digits, year, 4);
    m_digits[4] = u'-';
    writeNumber(m_digits + 5, month, 2);
    m_digits[7] = u'-';
    writeNumber(m_digits + 8, day, 2);
    return QStringView(m_digits, 10);
}
