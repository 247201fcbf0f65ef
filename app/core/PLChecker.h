// The application's small shared tests. Class methods only; nothing here keeps state, and only
// checkDataListBeforeExport talks to the user.
#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class PLChecker {
public:
    // Kinds for isPathExists.
    static constexpr int kPathAny = 0;
    static constexpr int kPathFile = 1;
    static constexpr int kPathFolder = 2;
    // Answers of checkPath.
    static constexpr int kPathLocal = 0;
    static constexpr int kPathMissing = 3;
    static constexpr int kPathNotLocal = 129;

    // True for null, or when nothing is left once blanks and line breaks are trimmed from both ends.
    static bool isBlank(const QString& text);
    // False for a blank path or an unknown kind; kind 1 exists and is not a folder, kind 2 is a folder.
    static bool isPathExists(const QString& path, int pathKind);
    // False for a null object; otherwise whether it is a `Class` or derives from it.
    template <typename Class, typename Object>
    static bool isKindOfClass(const Object* object)
    {
        return object && dynamic_cast<const Class*>(object);
    }
    // The same test for a value held in a dictionary or a preference.
    static bool isKindOfClass(QMetaType type, const QVariant& object);
    // True for a blank path; else whether its file-system form (bytes) is at most `lengthLimited` long.
    static bool isValidPathLength(const QString& path, int lengthLimited);
    // Whether the running system's version number is at least `version` (0x1060 for 10.6).
    static bool isMacOSXVersionAbove(int version);
    // Creates the missing folders of `path` one component at a time; false for a blank path or when
    // a creation fails (a file in the way included).
    static bool makeDirectoryIfNotExists(const QString& path);
    // Keeps the cards whose "full_Name" is not blank. When some were dropped, asks
    // "IDS_MSG_IS_SKIP_NO_NAME_DATA" on the main window; Cancel, or no card left, gives false.
    static bool checkDataListBeforeExport(const QList<QVariantMap>& dataList, QList<QVariantMap>* newDataList);
    // kPathMissing, kPathLocal for a path on a local, fixed volume of a native Linux file system,
    // kPathNotLocal otherwise (network, removable, foreign or unreadable).
    static int checkPath(const QString& path);
};
