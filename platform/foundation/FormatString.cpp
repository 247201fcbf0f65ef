#include "platform/foundation/FormatString.h"

#include <QLocale>

namespace {

QString padded(QString body, int width, bool left, bool zero, bool numeric)
{
    if (width <= body.size())
        return body;
    const int fill = width - static_cast<int>(body.size());
    if (left)
        return body + QString(fill, QLatin1Char(' '));
    if (zero && numeric) {
        int signLen = (body.startsWith(QLatin1Char('-')) || body.startsWith(QLatin1Char('+')) || body.startsWith(QLatin1Char(' '))) ? 1 : 0;
        if (body.mid(signLen, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0)
            signLen += 2;
        return body.left(signLen) + QString(fill, QLatin1Char('0')) + body.mid(signLen);
    }
    return QString(fill, QLatin1Char(' ')) + body;
}

QString argText(const QVariant& v)
{
    if (!v.isValid())
        return QStringLiteral("(null)");
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

} // namespace

QString formatString(const QString& format, const QVariantList& args)
{
    QString out;
    out.reserve(format.size() + 16);
    qsizetype next = 0;
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%') || i + 1 >= n) {
            out.append(c);
            continue;
        }
        qsizetype j = i + 1;
        if (format.at(j) == QLatin1Char('%')) {
            out.append(QLatin1Char('%'));
            i = j;
            continue;
        }
        // Optional position "N$".
        qsizetype k = j;
        int position = 0;
        while (k < n && format.at(k).isDigit())
            position = position * 10 + format.at(k++).digitValue();
        if (k < n && format.at(k) == QLatin1Char('$') && position > 0)
            j = k + 1;
        else
            position = 0;
        bool left = false, zero = false, plus = false, space = false, alt = false;
        for (; j < n; ++j) {
            const QChar f = format.at(j);
            if (f == QLatin1Char('-')) left = true;
            else if (f == QLatin1Char('0')) zero = true;
            else if (f == QLatin1Char('+')) plus = true;
            else if (f == QLatin1Char(' ')) space = true;
            else if (f == QLatin1Char('#')) alt = true;
            else break;
        }
        int width = 0;
        while (j < n && format.at(j).isDigit())
            width = qMin(width * 10 + format.at(j++).digitValue(), 4096);
        int precision = -1;
        if (j < n && format.at(j) == QLatin1Char('.')) {
            precision = 0;
            ++j;
            while (j < n && format.at(j).isDigit())
                precision = qMin(precision * 10 + format.at(j++).digitValue(), 4096);
        }
        while (j < n && QStringLiteral("hlqzjtL").contains(format.at(j)))
            ++j;
        if (j >= n) {
            out.append(format.mid(i));
            break;
        }
        const QChar conv = format.at(j);
        QVariant arg;
        const qsizetype index = position > 0 ? position - 1 : next++;
        if (index < args.size())
            arg = args.at(index);
        QString body;
        bool numeric = true;
        switch (conv.toLatin1()) {
        case 'd':
        case 'i': {
            qlonglong v = arg.toLongLong();
            body = QString::number(v);
            if (precision >= 0 && body.size() - (v < 0 ? 1 : 0) < precision)
                body = (v < 0 ? QStringLiteral("-") : QString()) + QString(precision - (body.size() - (v < 0 ? 1 : 0)), QLatin1Char('0')) + body.mid(v < 0 ? 1 : 0);
            if (v >= 0 && plus) body.prepend(QLatin1Char('+'));
            else if (v >= 0 && space) body.prepend(QLatin1Char(' '));
            break;
        }
        case 'u':
            body = QString::number(arg.toULongLong());
            break;
        case 'x':
        case 'X':
        case 'o': {
            const int base = conv == QLatin1Char('o') ? 8 : 16;
            body = QString::number(arg.toULongLong(), base);
            if (conv == QLatin1Char('X'))
                body = body.toUpper();
            if (alt && base == 16)
                body.prepend(conv == QLatin1Char('X') ? QStringLiteral("0X") : QStringLiteral("0x"));
            break;
        }
        case 'c':
            numeric = false;
            body = arg.typeId() == QMetaType::QString ? arg.toString().left(1) : QString(QChar(static_cast<char16_t>(arg.toUInt())));
            break;
        case 's':
        case 'S':
        case '@':
            numeric = false;
            body = argText(arg);
            if (precision >= 0 && body.size() > precision)
                body.truncate(precision);
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
            body = QLocale::c().toString(arg.toDouble(), conv.toLatin1() == 'F' ? 'f' : conv.toLatin1(), precision < 0 ? 6 : precision);
            if (plus && !body.startsWith(QLatin1Char('-'))) body.prepend(QLatin1Char('+'));
            break;
        case 'p':
            body = QStringLiteral("0x") + QString::number(arg.toULongLong(), 16);
            break;
        default:
            // Not a conversion: keep the text as it stands.
            out.append(format.mid(i, j - i + 1));
            i = j;
            continue;
        }
        out.append(padded(body, width, left, zero && precision < 0, numeric));
        i = j;
    }
    return out;
}
