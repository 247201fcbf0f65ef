// The database password file: the lower-case hexadecimal MD5 of the UTF-8 password, alone in
// the file. It marks the database as protected; it is no encryption of the data.
#pragma once

#include <QString>

inline constexpr int kPasswordMaxLength = 16;

// The 32 lower-case hexadecimal characters of the MD5 of the text's UTF-8 bytes.
QString getMD5String(const QString& text);

// Null for a null or empty text; otherwise each character outside U+0020..U+007E, or ";", once,
// in the order first seen (empty when the text is valid).
QString getIllegalCharactersInPwdString(const QString& text);
