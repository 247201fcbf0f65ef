#include "outside/ocr/JapaneseLineText.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

bool isKanji(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0xF900 && u <= 0xFAFF) || u == 0x3005;
}

bool isKana(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3041 && u <= 0x30FF) || (u >= 0xFF66 && u <= 0xFF9F);
}

} // namespace

QString blockNumberDashes(const QString& text)
{
    // Digits joined by what the engine reads for a dash, a dot, or a blank that no floor or room
    // number ("1-2-3 5F") follows.
    static const QRegularExpression run(QStringLiteral(
        R"([0-9０-９]+(?:(?:[ .,・]*[-一ー—–‐－ｰ_][ .,・]*|[.,・]| +(?![0-9０-９]+ *[A-Za-zＡ-Ｚａ-ｚ階号室]))[0-9０-９]+)*)"));
    static const QRegularExpression dash(QStringLiteral(R"([ .,・]*[-一ー—–‐－ｰ_][ .,・]*|[.,・])"));
    static const QRegularExpression blank(QStringLiteral(" +"));
    static const QRegularExpression wideDigit(QStringLiteral("[０-９]"));
    QString out;
    qsizetype at = 0;
    for (auto it = run.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString numbers = m.captured();
        out += text.mid(at, m.capturedStart() - at);
        at = m.capturedEnd();
        if (numbers.contains(QRegularExpression(QStringLiteral("[0-9０-９][ .,・]*[-一ー—–‐－ｰ_]")))) {
            numbers.replace(dash, numbers.contains(wideDigit) ? QStringLiteral("－") : QStringLiteral("-"));
            numbers.remove(blank);
        }
        out += numbers;
    }
    return out + text.mid(at);
}

QString postalCodeDigits(const QString& text)
{
    static const QRegularExpression code(
        QStringLiteral(R"((?<![0-9A-Za-z])([0-9ODIlZSB]{3})-([0-9ODIlZSB]{4})(?=\s*[\x{3040}-\x{9FFF}]))"));
    static const QString shapes = QStringLiteral("ODIlZSB");
    static const QString digits = QStringLiteral("0011258");
    QString out = text;
    for (auto it = code.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString found = m.captured();
        if (std::count_if(found.begin(), found.end(), [](QChar c) { return c.isDigit(); }) < 5)
            continue;
        for (qsizetype i = m.capturedStart(); i < m.capturedEnd(); ++i) {
            if (const qsizetype shape = shapes.indexOf(out.at(i)); shape >= 0)
                out[i] = digits.at(shape);
        }
    }
    return out;
}

QChar kanjiShapedLike(QChar c)
{
    static const QString katakana = QStringLiteral("ニロエカタトハー");
    static const QString kanji = QStringLiteral("二口工力夕卜八一");
    const qsizetype shape = katakana.indexOf(c);
    return shape >= 0 ? kanji.at(shape) : QChar();
}

QString withoutBlanks(const QString& text)
{
    return QString(text).remove(u' ').remove(QChar(0x3000));
}

QString kanjiLookAlikes(const QString& text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar shaped = kanjiShapedLike(out.at(i));
        if (shaped.isNull())
            continue;
        const QChar before = i > 0 ? out.at(i - 1) : QChar(u' ');
        const QChar after = i + 1 < out.size() ? out.at(i + 1) : QChar(u' ');
        // A long vowel mark ends kana words too, so only one between two kanji is taken.
        const bool taken = out.at(i) == QChar(0x30FC)
            ? isKanji(before) && isKanji(after)
            : isKanji(before) && (isKanji(after) || (!isKana(after) && !after.isLetterOrNumber()));
        if (taken)
            out[i] = shaped;
    }
    return out;
}
