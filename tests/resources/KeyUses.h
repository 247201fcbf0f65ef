// Where a program's sources look up a text that takes arguments ("%@", "%d"), and whether each
// look-up fills them: a text shown with its placeholder left in reads "%@" (or "(null)") to the
// user.
#pragma once

#include "tests/resources/SourceCode.h"

#include <QHash>

struct UnfilledUse {
    QString key;
    QString where;
    QString how;
};

// The uses of `keys` (each with the number of arguments its text takes) that leave arguments
// unfilled. A key is filled where it, or its looked-up text, is the format of a call that gives
// the arguments after it (formatText(text(K), a), format(K, a), askContinue(K, a),
// ShowPLInfoMessage(K, default, alternate, other, a)); a key a function returns is filled when
// its callers compare what they get with it and fill it there. A key given a name
// ("const QString key = …K…", "kHintKey = K") is followed to the uses of that name; a key in a
// table of data ({number, K}) is not followed.
QList<UnfilledUse> unfilledKeyUses(const QList<SourceFile>& files, const QHash<QString, int>& keys);
