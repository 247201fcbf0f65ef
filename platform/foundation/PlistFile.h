// Reading and writing property lists (XML and binary) through libplist.
// Files are replaced atomically: a temporary file in the same folder, then rename.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <QByteArray>
#include <QString>

enum class PlistFormat { Xml, Binary };

// No settings file of the suite comes near this; a larger one is refused unread.
constexpr qsizetype kMaxPlistBytes = qsizetype(16) << 20;

// Parses XML or binary property-list bytes. Answers false (and leaves `out` null) on malformed input
// and on a binary list that would read into more than BinaryPlistBounds allows.
bool parsePlist(const QByteArray& bytes, PlistValue& out, PlistFormat* format = nullptr);
QByteArray serializePlist(const PlistValue& value, PlistFormat format = PlistFormat::Xml);

// Reads a property-list file; false when it is missing, unreadable or malformed.
bool readPlistFile(const QString& path, PlistValue& out, PlistFormat* format = nullptr);
// Writes atomically (`replaceSettingsFile`); false when the folder is not writable or the rename fails.
bool writePlistFile(const QString& path, const PlistValue& value, PlistFormat format = PlistFormat::Xml);
// Replaces a settings file (preferences, linkage lists) through `writeThroughTemporary`, so that a
// killed write leaves the old file and a temporary file that the next write into the folder
// removes; a link is replaced where it leads.
bool replaceSettingsFile(const QString& path, const QByteArray& bytes);
