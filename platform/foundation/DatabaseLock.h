// The database folder's lock file ".PLLock.pllk": opened with create and never deleted,
// then locked with an exclusive, non-blocking flock. A lock that cannot be taken means
// another program has the database open. Shared by the application and the database tools.
// A lock path that is a link, not a plain file, or a file of several names is never opened:
// it counts as held, and isLockFileUsable tells it apart so that the folder is refused as unusable.
#pragma once

#include <QString>

class DatabaseLock {
public:
    enum class Result { Locked, InUse, OpenFailed };
    static constexpr const char* kFileName = ".PLLock.pllk";

    static QString lockFilePath(const QString& databaseFolder);
    // Takes the lock; on Locked, `*fd` holds the descriptor until `release`.
    static Result acquire(const QString& databaseFolder, int* fd);
    // What went wrong in `releaseReporting`: unlocking is tried first, closing in any case.
    enum class Release { Released, UnlockFailed, CloseFailed };
    // Unlocks and closes a descriptor from `acquire`; -1 is ignored. False when unlocking or closing failed.
    static bool release(int fd);
    static Release releaseReporting(int fd);
    // The unlock and close calls that `release` makes; tests replace them to make them fail.
    // Null restores flock and close.
    struct SystemCalls {
        int (*unlock)(int fd);
        int (*close)(int fd);
    };
    static void setSystemCalls(const SystemCalls* calls);
    // Takes and at once releases the lock: Locked means nobody holds it now.
    static Result probe(const QString& databaseFolder);
    // The probe that creates nothing: false for an empty path or a missing file; true when the
    // existing file cannot be opened read-write or its lock is held by another descriptor.
    static bool isLockFileHeld(const QString& lockFilePath);
    // Whether the lock file can serve: missing (taking the lock makes it), or a plain file of one
    // name that opens read-write. Anything else in its place makes the database unusable, which is
    // not the same as in use.
    static bool isLockFileUsable(const QString& lockFilePath);
};
