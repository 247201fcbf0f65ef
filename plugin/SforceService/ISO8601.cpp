#include "plugin/SforceService/ISO8601.h"

#include <QByteArray>

#include <cctype>
#include <cfloat>
#include <cmath>
#include <ctime>

namespace {

enum class DateKind { MonthDay, Week, DayOfYear };

class Reader {
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    char peek(qsizetype ahead = 0) const
    {
        return m_pos + ahead < m_bytes.size() ? m_bytes[m_pos + ahead] : '\0';
    }
    bool digitAt(qsizetype ahead = 0) const { return std::isdigit(static_cast<unsigned char>(peek(ahead))) != 0; }
    bool spaceAt() const { return m_pos < m_bytes.size() && std::isspace(static_cast<unsigned char>(peek())) != 0; }
    void skip(qsizetype n = 1) { m_pos = std::min(m_pos + n, m_bytes.size()); }
    qsizetype pos() const { return m_pos; }

    // Every consecutive digit: value and count.
    std::pair<long long, int> segment()
    {
        long long value = 0;
        int count = 0;
        while (digitAt()) {
            if (value < 1'000'000'000'000LL)
                value = value * 10 + (peek() - '0');
            ++count;
            skip();
        }
        return {value, count};
    }

    // One or two digits; the first character is always consumed.
    int segment2Digits()
    {
        int value = digitAt() ? peek() - '0' : 0;
        skip();
        if (digitAt()) {
            value = value * 10 + (peek() - '0');
            skip();
        }
        return value;
    }

    double readDouble()
    {
        double value = 0;
        while (digitAt()) {
            value = value * 10 + (peek() - '0');
            skip();
        }
        if (peek() == ',' || peek() == '.') {
            skip();
            double weight = 0.1;
            while (digitAt()) {
                value += (peek() - '0') * weight;
                weight /= 10;
                skip();
            }
        }
        return value;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

bool isLeapYear(long long year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Weekday of 1 January, Monday 0 to Sunday 6.
int weekdayOfFirstJanuary(long long year)
{
    const long long y = year - 1;
    const long long yy = y % 100;
    const long long c = y / 100;
    return int(((yy + yy / 4 + 5 * (c % 4)) % 7 + 7) % 7);
}

// The offset from UTC in force at a moment, from the zone as the C library holds it (localtime_r
// does not read the zone again, as mktime does on every call).
long offsetAt(time_t moment)
{
    struct tm parts {};
    localtime_r(&moment, &parts);
    return parts.tm_gmtoff;
}

// A wall-clock time of the system's time zone as seconds since the epoch, as mktime gives it: near
// a change of offset, a time that occurs twice is the earlier one and a time that never occurs is
// read with the offset in force before the change.
time_t localWallClockToEpoch(struct tm wall)
{
    constexpr time_t kDay = 24 * 60 * 60;
    const time_t asUtc = timegm(&wall);
    const long before = offsetAt(asUtc - kDay);
    const long after = offsetAt(asUtc + kDay);
    if (before == after || offsetAt(asUtc - before) == before)
        return asUtc - before;
    if (offsetAt(asUtc - after) == after)
        return asUtc - after;
    return asUtc - before;
}
}

std::optional<QDateTime> dateWithString(const QString& text, bool strictly, QChar timeSeparator, ISO8601Range* range, const QDateTime& now)
{
    return dateWithUtf8String(text.toUtf8(), strictly, timeSeparator, range, now);
}

std::optional<QDateTime> dateWithUtf8String(QByteArrayView bytes, bool strictly, QChar timeSeparator, ISO8601Range* range,
                                            const QDateTime& now)
{
    if (range)
        *range = ISO8601Range();
    if (timeSeparator.isNull()) {
        Q_ASSERT_X(false, "dateWithString", "Time separator must not be NUL.");
        return std::nullopt;
    }
    if (bytes.isEmpty())
        return std::nullopt;
    const char sep = strictly ? ':' : char(timeSeparator.unicode() < 0x80 ? timeSeparator.unicode() : 0);
    Reader r(bytes);
    if (r.spaceAt()) {
        if (strictly)
            return std::nullopt;
        while (r.spaceAt())
            r.skip();
    }
    const qsizetype start = r.pos();

    // The current date only when the text leaves a part out: a complete date asks for no clock
    // and no time zone.
    struct tm nowTm {};
    bool nowRead = false;
    const auto today = [&]() -> const struct tm&
    {
        if (!nowRead) {
            const time_t nowSecs = time_t(now.isValid() ? now.toSecsSinceEpoch() : QDateTime::currentSecsSinceEpoch());
            localtime_r(&nowSecs, &nowTm);
            nowRead = true;
        }
        return nowTm;
    };
    const auto currentYear = [&] { return static_cast<long long>(today().tm_year) + 1900; };
    const auto century = [&] { return currentYear() - currentYear() % 100; };
    const auto decade = [&] { return currentYear() % 100 - currentYear() % 10; };

    DateKind kind = DateKind::MonthDay;
    std::optional<long long> year; // the current year unless the text gives one
    long long monthOrWeek = 1;
    long long day = 1;
    bool valid = true;
    bool atWeek = false;  // standing on the "W" of a week date

    if (r.peek() == 'T') {
        monthOrWeek = today().tm_mon + 1;
        day = today().tm_mday;
        r.skip();
        valid = r.digitAt();
        // The time is read below from the digit after the "T".
    } else {
        int hyphens = 0;
        while (r.peek() == '-') {
            ++hyphens;
            r.skip();
        }
        const auto [segment, digits] = r.segment();
        const bool twoDigitYear = digits == 2 || (digits == 1 && !strictly);
        if (digits == 0) {
            if ((hyphens == 1 || (hyphens == 2 && !strictly)) && r.peek() == 'W' && r.peek(1) == '-' && r.digitAt(2)) {
                kind = DateKind::Week;
                monthOrWeek = 1;
                r.skip(2);
                day = r.segment2Digits();
            } else if (hyphens == 1 && r.peek() == 'W') {
                atWeek = true;
            } else {
                valid = false;
            }
        } else if (digits == 1 && strictly && hyphens == 1) {
            if (r.peek() == '-')
                r.skip();
            if (r.peek() == 'W') {
                year = century() + decade() + segment;
                atWeek = true;
            } else {
                valid = false;
            }
        } else if (twoDigitYear) {
            if (hyphens == 0) {
                if (r.peek() == 'W' || (r.peek() == '-' && r.peek(1) == 'W')) {
                    if (r.peek() == '-')
                        r.skip();
                    year = century() + segment;
                    atWeek = true;
                } else if (r.peek() == '-' && r.digitAt(1)) {
                    r.skip();
                    year = century() + segment;
                    const auto [value, count] = r.segment();
                    if (count == 2 || (count == 1 && !strictly)) {
                        monthOrWeek = value;
                        if (r.peek() == '-' && r.digitAt(1)) {
                            r.skip();
                            day = r.segment2Digits();
                        }
                    } else if (count == 3) {
                        kind = DateKind::DayOfYear;
                        day = value;
                    } else if (count == 4) {
                        monthOrWeek = value / 100;
                        day = value % 100;
                    } else {
                        valid = false;
                    }
                } else {
                    year = segment * 100 + currentYear() % 100;
                }
            } else if (hyphens == 1) {
                year = century() + segment + (digits == 1 ? decade() : 0);
                if (r.peek() == '-') {
                    r.skip();
                    monthOrWeek = r.segment2Digits();
                }
            } else if (hyphens == 2) {
                monthOrWeek = segment;
                if (r.peek() == '-') {
                    r.skip();
                    day = r.segment2Digits();
                }
            } else if (hyphens == 3) {
                monthOrWeek = today().tm_mon + 1;
                day = segment;
            } else {
                valid = false;
            }
        } else if (digits == 3) {
            if (hyphens == 1 || hyphens == 2 || (strictly && hyphens >= 1)) {
                kind = DateKind::DayOfYear;
                day = segment;
            } else {
                valid = false;
            }
        } else if (digits == 4) {
            if (hyphens == 0) {
                year = segment;
                if (r.peek() == '-')
                    r.skip();
                if (r.digitAt()) {
                    const auto [value, count] = r.segment();
                    if (count == 3) {
                        kind = DateKind::DayOfYear;
                        day = value;
                    } else if (count == 4) {
                        monthOrWeek = value / 100;
                        day = value % 100;
                    } else if (count == 2) {
                        monthOrWeek = value;
                        if (r.peek() == '-')
                            r.skip();
                        if (r.digitAt())
                            day = r.segment().first;
                    } else {
                        valid = false;
                    }
                } else if (r.peek() == 'W') {
                    atWeek = true;
                }
            } else if (hyphens == 1) {
                year = segment / 100;
                monthOrWeek = segment % 100;
                if (r.peek() == '-')
                    r.skip();
                if (r.digitAt())
                    day = r.segment().first;
            } else if (hyphens == 2) {
                monthOrWeek = segment / 100;
                day = segment % 100;
            } else {
                valid = false;
            }
        } else if (digits == 6 && hyphens == 0) {
            year = century() + segment / 10000;
            monthOrWeek = (segment / 100) % 100;
            day = segment % 100;
        } else if (digits == 7 && hyphens == 0) {
            kind = DateKind::DayOfYear;
            year = segment / 1000;
            day = segment % 1000;
        } else if (digits == 8 && hyphens == 0) {
            year = segment / 10000;
            monthOrWeek = (segment / 100) % 100;
            day = segment % 100;
        } else {
            valid = false;
        }
    }

    if (valid && atWeek) {
        r.skip();  // the "W"
        if (r.digitAt()) {
            kind = DateKind::Week;
            monthOrWeek = r.segment2Digits();
            if (r.peek() == '-')
                r.skip();
            day = r.digitAt() ? r.segment2Digits() : 1;
        } else if (strictly) {
            valid = false;
        } else {
            monthOrWeek = 1;
            day = 1;
        }
    }
    if (!valid)
        return std::nullopt;
    const long long fullYear = year ? *year : currentYear();
    if (strictly && kind == DateKind::DayOfYear && day > (isLeapYear(fullYear) ? 366 : 365))
        return std::nullopt;

    int hour = 0;
    double minute = 0;
    double second = 0;
    std::optional<long> offsetSeconds;
    if (r.spaceAt() || r.peek() == 'T')
        r.skip();
    if (r.digitAt()) {
        hour = r.segment2Digits();
        if (sep && r.peek() == sep) {
            r.skip();
            if (sep == ',' || sep == '.') {
                minute = r.segment2Digits();
                if (r.peek() == sep) {
                    r.skip();
                    second = r.segment2Digits();
                }
            } else {
                minute = r.readDouble();
                const double fraction = minute - std::floor(minute);
                if (fraction > DBL_EPSILON) {
                    second = fraction * 60.0;
                } else if (r.peek() == sep) {
                    r.skip();
                    second = r.readDouble();
                }
            }
        }
        if (r.peek() == 'Z') {
            offsetSeconds = 0;
            r.skip();
        } else if ((r.peek() == '+' || r.peek() == '-') && r.digitAt(1)) {
            const int sign = r.peek() == '-' ? -1 : 1;
            r.skip();
            const int zoneHours = r.segment2Digits();
            if (sep && r.peek() == sep)
                r.skip();
            const int zoneMinutes = r.digitAt() ? r.segment2Digits() : 0;
            offsetSeconds = sign * (zoneHours * 3600L + zoneMinutes * 60L);
        }
    }

    // Minutes and seconds are read as numbers of any length; one past what a clock could mean is
    // no time (and would not fit the broken-down time).
    constexpr double kClockLimit = 1e6;
    if (!(minute < kClockLimit && second < kClockLimit))
        return std::nullopt;

    struct tm t {};
    t.tm_year = int(fullYear - 1900);
    t.tm_hour = hour;
    t.tm_min = int(minute);
    t.tm_sec = int(second);
    t.tm_isdst = -1;
    if (kind == DateKind::MonthDay) {
        t.tm_mon = int(monthOrWeek - 1);
        t.tm_mday = int(day);
    } else {
        long long dayOfYear = day;
        if (kind == DateKind::Week) {
            const int w = weekdayOfFirstJanuary(fullYear);
            dayOfYear = day + 7 * (monthOrWeek - 1) - w + (w >= 4 ? 7 : 0);
        }
        t.tm_mon = 0;
        t.tm_mday = int(dayOfYear);
    }
    const time_t seconds = offsetSeconds ? timegm(&t) - *offsetSeconds : localWallClockToEpoch(t);
    if (range) {
        range->location = start;
        range->length = r.pos() - start;
    }
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}

static QString timePart(const struct tm& t, QChar separator)
{
    return QString::asprintf("%02d", t.tm_hour) + separator + QString::asprintf("%02d", t.tm_min) + separator
        + QString::asprintf("%02d", t.tm_sec);
}

static struct tm utcParts(const QDateTime& date)
{
    const time_t secs = time_t(date.toSecsSinceEpoch());
    struct tm t {};
    gmtime_r(&secs, &t);
    return t;
}

QString ISO8601DateStringWithTime(const QDateTime& date, bool withTime, QChar timeSeparator)
{
    const struct tm t = utcParts(date);
    QString text = QString::asprintf("%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    if (withTime)
        text += QLatin1Char('T') + timePart(t, timeSeparator) + QLatin1Char('Z');
    return text;
}

QString ISO8601OrdinalDateStringWithTime(const QDateTime& date, bool withTime, QChar timeSeparator)
{
    const struct tm t = utcParts(date);
    QString text = QString::asprintf("%u-%03u", unsigned(t.tm_year + 1900), unsigned(t.tm_yday + 1));
    if (withTime)
        text += QLatin1Char('T') + timePart(t, timeSeparator) + QLatin1Char('Z');
    return text;
}

QString ISO8601WeekDateStringWithTime(const QDateTime& date, bool withTime, QChar timeSeparator)
{
    const struct tm t = utcParts(date);
    long long year = t.tm_year + 1900;
    const int w = weekdayOfFirstJanuary(year);
    const int d = t.tm_yday + 1;
    const int wd = (d + w - 1) % 7;
    int week;
    if (w > 3 && d <= 7 - w) {
        --year;
        week = (w == 4 || (w == 5 && isLeapYear(year))) ? 53 : 52;
    } else if ((isLeapYear(year) ? 366 : 365) - d < 3 - wd) {
        ++year;
        week = 1;
    } else {
        week = (w + d - wd + 6) / 7 - (w >= 4 ? 1 : 0);
    }
    QString text = QString::asprintf("%u-W%02u-%02u", unsigned(year), unsigned(week), unsigned(wd + 1));
    if (withTime)
        text += QLatin1Char('T') + timePart(t, timeSeparator) + QLatin1Char('Z');
    return text;
}

QString ISO8601DateString(const QDateTime& date)
{
    return ISO8601DateStringWithTime(date, true);
}
