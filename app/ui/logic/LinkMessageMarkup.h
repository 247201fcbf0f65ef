// The small mark-up of the link message panel: <help anchor="name">words</help> makes the words a
// link to a help page. Anything that is not a complete, well-formed link stays as written.
#pragma once

#include <QList>
#include <QString>

namespace LinkMessageMarkup {

struct Link {
    int location = 0;   // in the plain text, UTF-16 units
    int length = 0;
    QString anchor;
    // The key a link is stored under: "<location>/<length>".
    QString key() const;
};

struct Parsed {
    QString text;
    QList<Link> links;
};

Parsed parseMessageString(const QString& message);

// What follows `prefix` in `text` once leading blanks (spaces, tabs) are skipped; null when
// `text` does not start so.
QString stringRemovePrefixIngoreBlank(const QString& text, const QString& prefix);

// The button that takes Return (0, 1 or 2) for a default button number and the buttons shown.
int defaultButton(int number, bool secondShown, bool thirdShown);

} // namespace LinkMessageMarkup
