// ISO 8601 dates: a lenient (or strict) parser of calendar, ordinal and week dates with an
// optional time of day and zone, and formatters that write in UTC.
#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <optional>

struct ISO8601Range {
    qsizetype location = -1;  // -1: not found
    qsizetype length = 0;     // both counted in UTF-8 bytes
};

// Missing date parts come from `now` in the system's time zone (an invalid `now`: the clock, read
// only when a part is missing); a text without zone designator is read in the system's time zone
// as the C library last read it (tzset). In strict mode the time separator is always ":".
std::optional<QDateTime> dateWithString(const QString& text, bool strictly = false, QChar timeSeparator = QLatin1Char(':'),
                                        ISO8601Range* range = nullptr, const QDateTime& now = QDateTime());
// The same for UTF-8 text.
std::optional<QDateTime> dateWithUtf8String(QByteArrayView text, bool strictly = false, QChar timeSeparator = QLatin1Char(':'),
                                            ISO8601Range* range = nullptr, const QDateTime& now = QDateTime());

QString ISO8601DateStringWithTime(const QDateTime& date, bool withTime, QChar timeSeparator = QLatin1Char(':'));
QString ISO8601OrdinalDateStringWithTime(const QDateTime& date, bool withTime, QChar timeSeparator = QLatin1Char(':'));
QString ISO8601WeekDateStringWithTime(const QDateTime& date, bool withTime, QChar timeSeparator = QLatin1Char(':'));
// "yyyy-MM-ddTHH:mm:ssZ" in UTC, whole seconds: the form in which the service receives date-times.
QString ISO8601DateString(const QDateTime& date);
