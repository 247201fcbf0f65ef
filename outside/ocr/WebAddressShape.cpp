#include "outside/ocr/WebAddressShape.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

QString withWebAddressShape(const QString& line)
{
    static const QRegularExpression looksWeb(QStringLiteral(R"(@|www|https?:|[a-z0-9]\.\s?(?:jp|com|net|org|io|uk|de)\b)"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (!looksWeb.match(line).hasMatch())
        return line;
    QString out = line;
    // The scheme's slashes and the "w" after them read as "/A", "A" or "v", or set apart.
    static const QRegularExpression scheme(QStringLiteral(R"(\b(https?)\s?:\s?/{0,2}\s?A?(?:[vV]ww|www)[.,]\s?)"));
    out.replace(scheme, QStringLiteral("\\1://www."));
    static const QRegularExpression schemeOnly(QStringLiteral(R"(\b(https?)\s?:\s?/{1,2}\s?(?=[a-z0-9]))"));
    out.replace(schemeOnly, QStringLiteral("\\1://"));
    static const QRegularExpression www(QStringLiteral(R"((?<![\p{L}\p{N}.\-])(?:A?vww|www)(?:[.,]\s?|\s)(?=[a-z0-9\-]+\.[a-z]))"));
    out.replace(www, QStringLiteral("www."));
    // Blanks inside the address: after a dot before a label, around "@".
    static const QRegularExpression dotBlank(
        QStringLiteral(R"((?<=[a-z0-9])\.\s(?=(?:co\.|or\.|ne\.|ac\.)?(?:jp|com|net|org|io|uk|de)\b))"));
    out.replace(dotBlank, QStringLiteral("."));
    static const QRegularExpression atBlank(QStringLiteral(R"((?<=[A-Za-z0-9._\-])\s?@\s?(?=[a-z0-9\-]+\.))"));
    out.replace(atBlank, QStringLiteral("@"));
    // A host with no dot left before its ending.
    static const QRegularExpression lostDot(QStringLiteral(R"(((?:@|www\.|://)[a-z0-9\-]+?)(co|or|ne|ac)?(jp|com)\b(?![.\-@]))"));
    QString fixed;
    qsizetype from = 0;
    for (auto it = lostDot.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        fixed += out.mid(from, m.capturedStart() - from) + m.captured(1) + u'.'
            + (m.captured(2).isEmpty() ? QString() : m.captured(2) + u'.') + m.captured(3);
        from = m.capturedEnd();
    }
    return fixed + out.mid(from);
}
