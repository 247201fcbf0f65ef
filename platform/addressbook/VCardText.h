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
    QString value;        // unfolded, still escaped

    // Whether a TYPE parameter holds `type` (case-insensitive).
    bool hasType(const char* type) const;
    // The first value of a parameter ("" when there is none).
    QString parameter(const char* name) const;
};

// Splits the bytes of a vCard file into logical lines. False when they are not one vCard in
// UTF-8 text: NUL bytes, invalid UTF-8, no BEGIN:VCARD first or END:VCARD last, a second
// vCard, or a line without a colon. `lineEnd` receives the first line's end ("\r\n" or "\n").
bool splitVCardLines(const QByteArray& data, QList<VCardContentLine>* lines, QByteArray* lineEnd,
                     QString* errorText);

// Text value escapes: \\, \n or \N, \, and \; are decoded; any other backslash stays.
QString unescapeVCardText(const QString& text);
// Backslash, comma and semicolon are escaped and line ends (CR LF, CR, LF) become \n.
QString escapeVCardText(const QString& text);
// The parts of a structured value, split at separators that are not escaped; still escaped.
QStringList splitVCardValue(const QString& value, QChar separator);

// One logical line as bytes, folded after 75 octets without splitting a UTF-8 sequence, each
// physical line ended by `lineEnd`.
QByteArray foldVCardLine(const QByteArray& line, const QByteArray& lineEnd);
