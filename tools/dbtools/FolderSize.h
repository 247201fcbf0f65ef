// Size of a folder tree as "du -k -s" reports it (allocated kibibytes, times 1024).
#pragma once

#include <QByteArray>
#include <QString>

namespace FolderSize {

inline const QString kErrorDomain = QStringLiteral("com.zor.Pelmora.Vostrand.ErrorDomain");
constexpr int kCommandFailed = -7;   // the command could not be run
constexpr int kBadOutput = -8;       // it failed or printed something that is not a size

// Size in bytes of `path`; `*error` is 0 or one of the codes above. A missing path gives 0 and no error.
quint64 getSizeWithPath(const QString& path, int* error);
// Reads du's output: the first tab-separated field, decimal digits only, in kibibytes.
quint64 parseDuOutput(const QByteArray& output, int* error);

} // namespace FolderSize
