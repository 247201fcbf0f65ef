#include "app/export/ExportTarget.h"

#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/TemporaryWrite.h"
#include "platform/workspace/Workspace.h"

#include <QFileInfo>

namespace {

constexpr int kStatusNoSpace = 11;
constexpr int kStatusWriteFailed = 75;
// Free space this large always passes the space test.
constexpr quint64 kAlwaysEnoughSpace = quint64(4) << 30;

} // namespace

int checkSaveFolder(const QString& folder, quint64* freeBytes)
{
    FileAttributes attributes;
    if (!readFileAttributes(folder, &attributes) || !attributes.exists || !attributes.isDirectory || !attributes.writable) {
        PLNSLog(QStringLiteral("file path can't write!"));
        return kStatusWriteFailed;
    }
    const std::optional<VolumeInfo> volume = Workspace::shared().volumeInfo(folder);
    if (!volume) {
        PLNSLog(QStringLiteral("file path is mouted file system!"));
        return kStatusWriteFailed;
    }
    *freeBytes = volume->freeBytes;
    return 0;
}

bool hasRoomFor(quint64 bytes, quint64 freeBytes)
{
    return freeBytes >= kAlwaysEnoughSpace || freeBytes > bytes;
}

int saveInPieces(const QString& filePath, const std::function<bool(const ExportPieceWriter& write)>& writeFile)
{
    const QString folder = QFileInfo(filePath).absolutePath();
    quint64 freeBytes = 0;
    if (const int status = checkSaveFolder(folder, &freeBytes))
        return status;
    removeTemporaryLeftovers(folder);
    TemporaryWrite file(filePath);
    if (!file.isOpen())
        return kStatusWriteFailed;
    quint64 size = 0;
    bool roomLeft = true;
    const bool written = writeFile([&](QByteArrayView bytes) {
        size += quint64(bytes.size());
        roomLeft = hasRoomFor(size, freeBytes);
        return roomLeft && file.append(bytes);
    });
    if (!roomLeft)
        return kStatusNoSpace;
    return written && file.place("export-file-written") ? 0 : kStatusWriteFailed;
}
