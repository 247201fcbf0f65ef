// The addresses the mail and web page commands open: a "mailto:" URL for the selected cards'
// e-mail fields and a web URL for a card's web page address. Card text is outside input: each
// address goes into the mail URL percent-encoded, so no card can add headers or parameters to it.
#pragma once

#include <QStringList>
#include <QUrl>

namespace CardUrls {

// The addresses of one e-mail field: its parts between ",", ";" and blanks that hold an "@".
QStringList mailAddresses(const QString& field);

// "mailto:" and the addresses of every field, each percent-encoded, joined by ","; an empty URL
// when no field holds one.
QUrl mailUrl(const QStringList& fields);

// The web page at `address` (trimmed; "http://" put in front unless it starts with "http:" or
// "https:" in any case); an invalid URL when none can be made or it names no host.
QUrl webPageUrl(const QString& address);

} // namespace CardUrls
