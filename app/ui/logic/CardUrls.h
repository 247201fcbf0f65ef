// The addresses the mail and web page commands open: a "mailto:" URL for the selected cards'
// e-mail addresses and a web URL for a card's web page address. Card text is outside input, so
// only plain addresses go into a mail URL, each percent-encoded: no card can add recipients,
// headers or parameters to it.
#pragma once

#include <QStringList>
#include <QUrl>

namespace CardUrls {

// Whether `address` (already trimmed) is one plain e-mail address: a local part and a domain of
// letters, digits and hyphens, without blanks, separators or URL syntax.
bool isPlainMailAddress(const QString& address);

// "mailto:" and the plain addresses among `addresses` (trimmed), joined by ","; an empty URL when
// none is plain.
QUrl mailUrl(const QStringList& addresses);

// The web page at `address` (trimmed; "http://" put in front unless it starts with "http:" or
// "https:" in any case); an invalid URL when none can be made or it names no host.
QUrl webPageUrl(const QString& address);

} // namespace CardUrls
