// printf-style formatting of resource texts without C varargs.
// Arguments are substituted in order; a conversion without an argument, or an argument of
// another kind, still gives text, so a wrong resource text can never crash the program.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <type_traits>

// Conversions: d i u x X o c s @ f F e E g G p and %%, with flags, width, precision and
// the length modifiers h hh l ll q z j t L; "%1$d"-style positions are honoured.
QString formatString(const QString& format, const QVariantList& args);

// One argument of formatText: C strings and string literals as text (UTF-8), anything else as its QVariant.
template <typename T>
QVariant formatArgument(const T& value)
{
    if constexpr (std::is_array_v<T> || std::is_same_v<T, const char*> || std::is_same_v<T, char*>)
        return QVariant(QString::fromUtf8(value));
    else
        return QVariant::fromValue(value);
}

template <typename... Args>
QVariantList formatArguments(const Args&... args)
{
    return QVariantList{formatArgument(args)...};
}

template <typename... Args>
QString formatText(const QString& format, const Args&... args)
{
    return formatString(format, formatArguments(args...));
}
