// Reading and writing property lists (XML and binary) through libplist.
// Files are replaced atomically: a temporary file in the same folder, then rename.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <QByteArray>
#include <QString>

enum class PlistFormat { Xml, Binary };

// Parses XML or binary property-list bytes. Answers false (and leaves `out` null) on malformed input.
bool parsePlist(const QByteArray& bytes, PlistValue& out, PlistFormat* format = nullptr);
QByteArray serializePlist(const PlistValue& value, PlistFormat format = PlistFormat::Xml);

// Reads a property-list file; false when it is missing, unreadable or malformed.
bool readPlistFile(const QString& path, PlistValue& out, PlistFormat* format = nullptr);
// Writes atomically; false when the folder is not writable or the rename fails.
bool writePlistFile(const QString& path, const PlistValue& value, PlistFormat format = PlistFormat::Xml);
// Replaces a file's bytes atomically (temporary file in the same folder, then rename).
bool writeFileAtomically(const QString& path, const QByteArray& bytes);
