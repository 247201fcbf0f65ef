// Text rules every export format shares: what a card value may carry into a file, and the one
// date form the files use.
#pragma once

#include <QString>
#include <QVariant>

// The value as text: nothing for a missing value, a date in the files' date form.
QString exportValueText(const QVariant& value);
// Drops the control characters no export format can carry (C0 except tab, line feed and carriage
// return, and U+FFFE/U+FFFF) and puts U+FFFD for each half of a broken surrogate pair, so no
// card text can break a file or be cut by an encoder.
QString cleanExportText(const QString& text);
// Every carriage return with its line feed, and every lone carriage return, becomes a line feed.
QString unifyLineBreaks(const QString& text);
// "yyyy-MM-dd" in local time; empty when the value holds no date.
QString exportDateText(const QVariant& value);
// The value is a date the card has.
bool hasExportDate(const QVariant& value);
// The absolute file URL of a path, percent-encoded as the files carry it.
QString exportFileUrl(const QString& path);
