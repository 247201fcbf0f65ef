#include "app/export/ExportTarget.h"

#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/Log.h"
#include "platform/workspace/Workspace.h"

namespace {

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
