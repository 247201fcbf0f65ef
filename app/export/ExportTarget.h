// What a file export asks of its target folder before it writes: that it can write there, and
// how many bytes its volume has free.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <functional>

// Takes the next piece of a file's bytes; false stops the file there.
using ExportPieceWriter = std::function<bool(QByteArrayView bytes)>;

// 0 with the free bytes of the folder's volume in `freeBytes`; 75 when the folder is missing or
// not writable or its volume cannot be read.
int checkSaveFolder(const QString& folder, quint64* freeBytes);

// A file of `bytes` fits in the `freeBytes` the volume reported.
bool hasRoomFor(quint64 bytes, quint64 freeBytes);
inline bool hasRoomFor(const QByteArray& data, quint64 freeBytes)
{
    return hasRoomFor(quint64(data.size()), freeBytes);
}

// Saves the file that `writeFile` hands on in pieces: written beside the path and renamed into
// place once flushed, so a failed export leaves no half-written file under the name. The volume's
// free space is checked as the pieces come, so a file larger than it answers 11 as it would whole;
// 75 when the folder fails its checks or a write fails.
int saveInPieces(const QString& filePath, const std::function<bool(const ExportPieceWriter& write)>& writeFile);
