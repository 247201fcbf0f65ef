// vCard text at the level of content lines: splitting a file into logical lines while keeping
// each line's bytes as they stand, parameters, value escapes and folding.
//
// A line keeps its raw bytes (continuation lines and line end included), so a line that nobody
// changes is written back byte for byte. Names and parameter names are compared in upper case.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct VCardParameter {
    QByteArray name;    // upper case; a bare parameter ("WORK" in "TEL;WORK:") is read as TYPE
    QStringList values; // unquoted, comma lists split
};

struct VCardContentLine {
    QByteArray raw;       // as read: folded lines and line end included
    QByteArray group;     // "item1" in "item1.TEL:…"; empty when none
    QByteArray name;      // upper case
    QByteArray paramText; // the parameters as they stand, with their leading ";"
    QList<VCardParameter> parameters;
    // Unfolded, quoted-printable decoded, read in the line's CHARSET (else UTF-8, else
    // Windows-1252), still escaped. Left empty for properties nobody reads (photos, sounds).
    QString value;
    // The charset the value's bytes were read in: empty for ASCII (and values not read), "UTF-8",
    // the CHARSET the line names, or kUndeclaredCharset for bytes that are not UTF-8 and name none.
    QByteArray charset;

    // Whether a TYPE parameter holds `type` (case-insensitive).
    bool hasType(const char* type) const;
    // The first value of a parameter ("" when there is none).
    QString parameter(const char* name) const;
};

// What bytes that are not UTF-8 and name no charset are read as (and, in their file, written as).
inline constexpr const char* kUndeclaredCharset = "windows-1252";

// Splits the bytes of one vCard into logical lines: folded lines and vCard 2.1 quoted-printable
// soft line breaks are joined. False when they are not one vCard: NUL bytes, no BEGIN:VCARD first
// or END:VCARD last, a second vCard, or a line without a colon. `lineEnd` receives the first
// line's end ("\r\n" or "\n").
bool splitVCardLines(const QByteArray& data, QList<VCardContentLine>* lines, QByteArray* lineEnd,
                     QString* errorText);
// The vCards of a file, each from its BEGIN:VCARD to the next one (blank lines after it
// included), so that the pieces joined are the file again. A file with no BEGIN:VCARD is one piece.
QList<QByteArray> splitVCardFile(const QByteArray& data);

// The parameters of a line that is written anew: those it had but ENCODING and CHARSET, which
// described the bytes it no longer has.
QByteArray paramsForRewrittenLine(const QByteArray& paramText);

// The text in `charset` (empty: UTF-8); false when a character has no byte in it.
bool encodeVCardText(const QString& text, const QByteArray& charset, QByteArray* bytes);
// Whether two charset names name one charset (case and "-" or "_" aside).
bool sameCharset(const QByteArray& a, const QByteArray& b);

// Text value escapes: \\, \n or \N, \, and \; are decoded, and so is a backslash before any other
// mark or blank (a needless escape, "\:" in "http\://"); a backslash before a letter or digit stays.
QString unescapeVCardText(const QString& text);
// The text as written (vcardTextAsWritten), then backslash, comma and semicolon escaped and
// line breaks written as \n.
QString escapeVCardText(const QString& text);
// What a text value is once written and read back: every line break (CR LF, CR, LF, VT, FF,
// NEL, U+2028, U+2029) a line feed, and the other control characters left out, which some
// readers take as line ends and others as the sign of a binary file.
QString vcardTextAsWritten(const QString& text);
// The parts of a structured value, split at separators that are not escaped; still escaped.
QStringList splitVCardValue(const QString& value, QChar separator);

// One logical line as bytes, folded after 75 octets without splitting a UTF-8 sequence, each
// physical line ended by `lineEnd`.
QByteArray foldVCardLine(const QByteArray& line, const QByteArray& lineEnd);
