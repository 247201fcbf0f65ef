// Dates without a zone designator read in a zone with summer time: the reader's own conversion
// gives the moment the C library's mktime gives for the same wall-clock time.
#include "plugin/SforceService/ISO8601.h"
#include "tests/support/appkit/OtherZone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

TEST_F(OtherZone, WallClockTimesReadAsMktimeReadsThem)
{
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1778832000, Qt::UTC);
    // Central Europe and the eastern United States, with their changes to and from summer time,
    // and a zone south of the equator whose summer spans the new year.
    for (const char* zone : {"CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT,M3.2.0,M11.1.0", "NZST-12NZDT,M9.5.0,M4.1.0/3"}) {
        use(zone);
        int mismatches = 0;
        for (int day = 0; day < 366 && mismatches < 5; ++day) {
            for (int minute = 0; minute < 24 * 60; minute += 15) {
                struct tm wall {};
                wall.tm_year = 2024 - 1900;
                wall.tm_mon = 0;
                wall.tm_mday = 1 + day;
                wall.tm_hour = minute / 60;
                wall.tm_min = minute % 60;
                wall.tm_isdst = -1;
                timegm(&wall); // the month and day of the year's day
                wall.tm_isdst = -1;
                struct tm copy = wall;
                const time_t expected = mktime(&copy);
                const QString text = QString::asprintf("%04d-%02d-%02dT%02d:%02d:00", wall.tm_year + 1900, wall.tm_mon + 1, wall.tm_mday,
                                                       wall.tm_hour, wall.tm_min);
                const auto read = dateWithString(text, false, ':', nullptr, now);
                ASSERT_TRUE(read) << text.toStdString();
                if (read->toSecsSinceEpoch() != expected) {
                    ++mismatches;
                    ADD_FAILURE() << zone << " " << text.toStdString() << ": " << read->toSecsSinceEpoch() << " against mktime's "
                                  << expected;
                }
            }
        }
    }
}

} // namespace
