// The local dates of an export's registration dates, with the zone's offset read once a day: the
// same dates as QDateTime::toLocalTime() gives in zones with summer time, on both sides of each
// change and whatever the order of the dates.
#include "app/export/ExportDates.h"
#include "app/export/ExportText.h"
#include "tests/support/appkit/OtherZone.h"

#include <gtest/gtest.h>

namespace {

TEST_F(OtherZone, EveryQuarterHourOfAYearIsTheDateQtGives)
{
    // Moments every quarter of an hour through 2024, then the same backwards, and a few far off,
    // some written with an offset of their own.
    QList<QDateTime> moments;
    const QDateTime start(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC);
    for (qint64 quarter = 0; quarter < 366 * 96; ++quarter)
        moments.append(start.addSecs(quarter * 15 * 60));
    for (qsizetype i = moments.size() - 1; i >= 0; i -= 7)
        moments.append(moments.at(i));
    for (const QDateTime& far : {QDateTime(QDate(1965, 7, 1), QTime(3, 30), Qt::UTC), QDateTime(QDate(1969, 12, 31), QTime(23, 0), Qt::UTC),
                                 QDateTime(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC), QDateTime(QDate(2150, 3, 30), QTime(23, 30), Qt::UTC),
                                 QDateTime(QDate(9999, 12, 31), QTime(23, 59), Qt::UTC), QDateTime(QDate(50, 6, 1), QTime(12, 0), Qt::UTC)})
        moments.append(far);
    moments.append(QDateTime(QDate(2024, 3, 31), QTime(2, 30), Qt::OffsetFromUTC, 9 * 3600));
    moments.append(QDateTime(QDate(2024, 11, 3), QTime(23, 30), Qt::OffsetFromUTC, -10 * 3600));

    // Central Europe and the eastern United States, by rule and by the zone database, and a zone
    // south of the equator whose summer spans the new year.
    for (const char* zone :
         {"CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT,M3.2.0,M11.1.0", "NZST-12NZDT,M9.5.0,M4.1.0/3", "Europe/Berlin", "America/New_York"}) {
        use(zone);
        ExportDates dates;
        int mismatches = 0;
        for (const QDateTime& moment : std::as_const(moments)) {
            const QDate expected = moment.toLocalTime().date();
            const QString text = dates.text(QVariant(moment)).toString();
            if (dates.localDate(moment) != expected || text != exportDateText(QVariant(moment))) {
                ADD_FAILURE() << zone << " " << moment.toString(Qt::ISODate).toStdString() << ": " << text.toStdString() << " against "
                              << expected.toString(Qt::ISODate).toStdString();
                if (++mismatches == 5)
                    break;
            }
        }
    }
}

TEST_F(OtherZone, ValuesWithoutAMomentAreWrittenAsTheyStand)
{
    use("EST5EDT,M3.2.0,M11.1.0");
    ExportDates dates;
    EXPECT_EQ(dates.text(QVariant(QDate(2024, 3, 10))), u"2024-03-10");
    EXPECT_EQ(dates.text(QVariant(QDateTime(QDate(2024, 3, 10), QTime(23, 59)))), u"2024-03-10"); // local already
    EXPECT_EQ(dates.text(QVariant(QDate(99, 1, 2))), u"0099-01-02");
    EXPECT_EQ(dates.text(QVariant(QDate(12345, 1, 2))), exportDateText(QVariant(QDate(12345, 1, 2))));
    EXPECT_TRUE(dates.text(QVariant(QDateTime())).isEmpty());
    EXPECT_TRUE(dates.text(QVariant(QDate())).isEmpty());
    EXPECT_TRUE(dates.text(QVariant(QStringLiteral("2024-03-10"))).isEmpty());
}

} // namespace
