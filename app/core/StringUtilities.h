// Small string and character-set functions shared by the whole application.
#pragma once

#include <QString>
#include <QVariant>

// The empty string for an invalid or null value; otherwise its text without leading and trailing
// white space (the space-and-tab class: tab and the Unicode space separators; line ends stay).
QString StrNullToEmpty(const QVariant& object);

// A character set, given as the string of its characters (all in the Basic Multilingual Plane).
// The seven blanks and line breaks: U+0009, U+0020, U+3000, U+000A, U+000D, U+0085, U+2028.
QString blankAndNewLineCharacters();

// `text` without its trailing characters of `set`; a null `set` stands for the white-space class
// (tab and the Unicode space separators). Null for null; leading characters stay.
QString stringByTrimmingCharactersFromEnd(const QString& text, const QString& set = QString());

// The number of UTF-16 units before the first zero unit, at most `maximum`; -1 for a null buffer,
// 0 when `maximum` is below 1.
int32_t get_unicharLen(const char16_t* buffer, int32_t maximum);

// Whether `c` belongs to the white-space class (tab and the Unicode space separators).
bool isWhiteSpaceCharacter(QChar c);
