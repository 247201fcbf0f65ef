#include "outside/ocr/CyrillicAddressLines.h"

#include <QRegularExpression>

QString withCyrillicAddressMarks(const QString& address)
{
    static const QRegularExpression boulevard(QString::fromUtf8(R"((?<![\p{L}\p{N}])[6б]-[pр](?=\s))"));
    static const QRegularExpression elevenAsPe(QString::fromUtf8(R"((?<![\p{L}])((?:д|стр|корп|оф|кв)\.)\s?п(?=[,\s]|$))"));
    static const QRegularExpression blankAfterMark(QString::fromUtf8(R"((?<![\p{L}])(д|стр|корп|оф|кв|эт|пом)\.(?=[0-9]))"));
    // "42o111, г. Казань": the postal code opening the address with a zero read as the letter o.
    static const QRegularExpression postalCode(QString::fromUtf8(R"(^(?=[0-9oOоО]{6}(?:[,\s]|$))(?=(?:[oOоО]*[0-9]){4}))"));
    // A round pin before the address read as the letter o; "д." read as "4.", "корп." as "кори.".
    static const QRegularExpression pin(QString::fromUtf8(R"(^[ОоOo0©®@]\s+(?=\S))"));
    static const QRegularExpression houseAsFour(QString::fromUtf8(R"((?:^|(?<=,\s))4\.(?=\s?[0-9]))"));
    static const QRegularExpression building(QString::fromUtf8(R"((?<![\p{L}])кори\.)"));
    // "ул." read in Latin letters after a Cyrillic word or before a house mark: "Садовая yn., д. 38".
    static const QRegularExpression street(
        QString::fromUtf8(R"((?<=\p{Cyrillic}\s|^)yn\.(?=[\s,]|$)|(?<![\p{L}])yn\.(?=\s*\p{Cyrillic}))"));
    // A speck read as a quote before a word ("‘корп. 3").
    static const QRegularExpression quoteSpeck(QString::fromUtf8(R"((?<=^|\s)[‘’'`](?=\p{Cyrillic}))"));
    QString out = QString(address)
                      .remove(pin)
                      .remove(quoteSpeck)
                      .replace(houseAsFour, QString::fromUtf8("д."))
                      .replace(building, QString::fromUtf8("корп."))
                      .replace(street, QString::fromUtf8("ул."));
    if (postalCode.match(out).hasMatch()) {
        for (int i = 0; i < 6; ++i) {
            if (!out[i].isDigit())
                out[i] = u'0';
        }
    }
    return out
        .replace(boulevard, QString::fromUtf8("б-р"))
        .replace(elevenAsPe, QStringLiteral("\\1 11"))
        .replace(blankAfterMark, QStringLiteral("\\1. "));
}
