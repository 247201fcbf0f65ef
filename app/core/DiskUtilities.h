// Free space, folder sizes and safe file names.
#pragma once

#include <QString>

#include <cstdint>

// Bytes demanded beyond every write into the database folder: Info.plist "PLDiskSize" (KiB) × 1024,
// set at start-up; kDefaultDiskSize until then.
constexpr uint64_t kDefaultDiskSize = 524288;
extern uint64_t g_lDiskSize;

// 0 when the volume holding `path` has at least `needed` bytes free and its free size is not 0;
// 1 when the path is null or missing, the free size cannot be read, is smaller, or is 0.
int checkDiskSize(const QString& path, uint64_t needed);

// The size in bytes of the file or folder tree at `path` as "/usr/bin/du -k -s" measures it.
// `*status` is 0 on success and -1 on every failure (size 0). A null path or status gives 0 and
// writes no status. Blocks until du has ended.
uint64_t getSizeWithPath(const QString& path, int32_t* status);

// A name safe as a file name: a leading "." becomes "_", then every ":" and "/" becomes "_".
// With `isPath` only the last component is cleaned and joined to the unchanged parent path.
QString checkFileName(const QString& name, bool isPath);
