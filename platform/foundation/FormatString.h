// printf-style formatting of resource texts without C varargs.
// Arguments are substituted in order; a conversion without an argument, or an argument of
// another kind, still gives text, so a wrong resource text can never crash the program.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

// Conversions: d i u x X o c s @ f F e E g G p and %%, with flags, width, precision and
// the length modifiers h hh l ll q z j t L; "%1$d"-style positions are honoured.
QString formatString(const QString& format, const QVariantList& args);

template <typename... Args>
QString formatText(const QString& format, const Args&... args)
{
    return formatString(format, QVariantList{QVariant::fromValue(args)...});
}
