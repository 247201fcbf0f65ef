// The local dates of one export's cards. Each date asks the zone for its offset from UTC only once
// per UTC day among all the export's dates, not once per date, and is written without a format.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <climits>

class ExportDates {
public:
    // Reads the system's time zone as it stands now.
    ExportDates();

    // The local calendar date of a moment, as QDateTime::toLocalTime() gives it.
    QDate localDate(const QDateTime& moment);
    // The value's date as exportDateText() writes it; empty when the value holds no date. The
    // view lasts until the next call.
    QStringView text(const QVariant& value);

private:
    // The zone's offset in seconds through the whole UTC day, or kChanging on a day the offset changes.
    int dayOffset(qint64 day);

    static constexpr int kChanging = INT_MIN;
    QHash<qint64, int> m_offsets;
    char16_t m_digits[10] = {};
    QString m_other;
};
