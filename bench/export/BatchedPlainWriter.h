// The anchor of the vCard export: a plain writer of the same files with the same batched
// durability. Each file is created under its name (open with O_CREAT | O_EXCL, one write) and
// kept open; after every `batchFiles` files (the export's own batch size) the batch's files are
// flushed with fdatasync on `threads` threads at once (the export's pool, started once for the
// run), then the folder with fsync, and the files are closed. So every file is on the disk, under
// its name, at the end of its batch, as in the export; the writer neither pipelines batches nor
// names files only once they are whole.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <utility>
#include <vector>

// Writes `files` (name, bytes) into the existing empty folder `target`; answers the milliseconds
// it took, or -1 when a step failed.
double writePlainBatched(const std::vector<std::pair<QByteArray, QByteArray>>& files, const QString& target, size_t batchFiles,
                         size_t threads);

// The files of a folder, sorted by name, with their bytes.
std::vector<std::pair<QByteArray, QByteArray>> readFolderFiles(const QString& folder);
