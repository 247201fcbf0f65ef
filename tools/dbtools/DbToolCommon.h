// The checks and helpers both database tools share. The two tools differ in a few rules
// (which attribute codes exist, whether path kind 0 is allowed); those take the tool's variant.
#pragma once

#include <QString>
#include <QtGlobal>

enum class ToolVariant { Vostrand, Harnwick };

class DbToolCommon {
public:
    enum PathKind { kAnyKind = 0, kFileKind = 1, kFolderKind = 2 };
    // Limit in bytes on a store file's path, used by every caller.
    static constexpr int kPathLengthLimit = 504;

    // Tab, space, ideographic space, line feed, carriage return, next line and line separator.
    static const QString& blankAndNewLineCharacters();
    static bool isBlank(const QString& text);
    static bool isEmptyString(const QString& text);
    static bool isPathExists(const QString& path, int pathKind, ToolVariant variant = ToolVariant::Vostrand);
    static bool isValidPathLength(const QString& path, int lengthLimited);

    // Whether another program holds the lock of the database whose lock file is `lockFilePath`.
    static bool CheckDBFileIsLocked(const QString& lockFilePath);

    // Attribute code of a database folder: -1 unreadable, 1 missing, 2 to 6 and 8 not fully usable, 7 usable.
    static int CheckDBAttributes(const QString& folder, ToolVariant variant);

    static bool CheckDiskSizeIsEnough(const QString& path, quint64 fileSize);

    // Text of `key` in the tool's "Localizable" table; null for a null key.
    static QString getLocalString(const QString& key);

    // The main application's "DB path" preference, read afresh from its file at each call (so a
    // change the running main application saved is seen); null when unset.
    static QString copyPelmoraDBPath();
    // The path the window starts with: "DB path" when it names an existing ".cxdb" folder, else empty.
    static QString initialDBPath();

    // Each character a password may not hold (outside U+0020..U+007E, or ";"), once, in order of appearance.
    static QString getIllegalCharactersInPwdString(const QString& password);
    static QString getMD5String(const QString& text);
};
