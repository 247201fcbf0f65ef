// The numbered messages a program's sources show: the calls of its message function, with the
// numbers each can show and the format arguments it gives.
#pragma once

#include "tests/resources/SourceCode.h"

#include <QHash>
#include <QSet>

#include <optional>

// Every integer constant the sources define ("kName = 12"), by name; a name defined in several
// places has each value.
using Constants = QHash<QString, QSet<int>>;
Constants integerConstants(const QList<SourceFile>& files);

// The numbers an expression names: a number, a constant, or a choice ("c ? a : b") between them.
std::optional<QSet<int>> numbersOf(QString expression, const Constants& constants);

struct MessageCall {
    QSet<int> numbers;
    int arguments = -1; // the format arguments after the number; -1 where they are not the call's own
    QString where;
};

// The calls of `function` (and of its forms: …BySheet takes the window first, …AlertSheet the
// window and the delegate). The number is read where the call names it, or from the values its
// file gives the variable it passes ("message = 122;", "const int message = c ? kA : kB;"); a
// number that comes from elsewhere (a function's result) is not read here.
QList<MessageCall> messageCalls(const QList<SourceFile>& files, const QString& function, const Constants& constants);
