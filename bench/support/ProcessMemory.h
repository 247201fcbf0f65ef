// The memory figures of this process that benchmarks print.
#pragma once

#include <QByteArray>
#include <QFile>

#include <malloc.h>

// A line of /proc/self/status in KiB ("VmRSS" resident now, "VmHWM" its peak); 0 when unreadable.
inline long processStatusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return 0;
}

// Bytes the allocator has handed out and not had back: resident size less what it keeps unused.
// Large blocks (a long list's arrays) are mapped one by one and counted apart from the heap's.
inline double heapInUseMiB()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}
