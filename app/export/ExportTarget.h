// What a file export asks of its target folder before it writes: that it can write there, and
// how many bytes its volume has free.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// 0 with the free bytes of the folder's volume in `freeBytes`; 75 when the folder is missing or
// not writable or its volume cannot be read.
int checkSaveFolder(const QString& folder, quint64* freeBytes);

// A file of `bytes` fits in the `freeBytes` the volume reported.
bool hasRoomFor(quint64 bytes, quint64 freeBytes);
inline bool hasRoomFor(const QByteArray& data, quint64 freeBytes)
{
    return hasRoomFor(quint64(data.size()), freeBytes);
}
