// What benchmarks share to report their runs: the median of the rounds and the machine's load.
#pragma once

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <vector>

inline double medianOf(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The load averages over 1, 5 and 15 minutes as /proc/loadavg gives them.
inline QByteArray machineLoad()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("unknown");
    const QList<QByteArray> fields = file.readAll().split(' ');
    return fields.size() >= 3 ? fields[0] + ' ' + fields[1] + ' ' + fields[2] : QByteArrayLiteral("unknown");
}
