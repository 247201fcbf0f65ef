#include "tests/resources/SourceCode.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {

bool isOpen(QChar c)
{
    return c == u'(' || c == u'[' || c == u'{';
}

bool isClose(QChar c)
{
    return c == u')' || c == u']' || c == u'}';
}

} // namespace

SourceFile::SourceFile(QString path, const QString& source)
    : m_path(std::move(path)), m_text(source), m_literal(size_t(source.size()) + 1, false)
{
    const qsizetype n = m_text.size();
    const auto blank = [this](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i) {
            if (m_text[i] != u'\n')
                m_text[i] = u' ';
        }
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = m_text[i];
        if (c == u'/' && i + 1 < n && m_text[i + 1] == u'/') {
            const qsizetype end = m_text.indexOf(u'\n', i);
            blank(i, end < 0 ? n : end);
            i = end < 0 ? n : end;
        } else if (c == u'/' && i + 1 < n && m_text[i + 1] == u'*') {
            const qsizetype end = m_text.indexOf(QLatin1String("*/"), i + 2);
            blank(i, end < 0 ? n : end + 2);
            i = end < 0 ? n : end + 2;
        } else if (c == u'R' && i + 1 < n && m_text[i + 1] == u'"' && (i == 0 || !m_text[i - 1].isLetterOrNumber())) {
            // A raw string: R"delimiter( … )delimiter"
            const qsizetype paren = m_text.indexOf(u'(', i + 2);
            const QString close = QLatin1Char(')') + m_text.mid(i + 2, paren - i - 2) + QLatin1Char('"');
            const qsizetype end = paren < 0 ? -1 : m_text.indexOf(close, paren);
            const qsizetype stop = end < 0 ? n : end + close.size();
            std::fill(m_literal.begin() + i, m_literal.begin() + stop, true);
            i = stop;
        } else if (c == u'"' || (c == u'\'' && !(i > 0 && m_text[i - 1].isDigit()))) {
            // A string or character literal (an apostrophe after a digit separates digits).
            qsizetype j = i + 1;
            while (j < n && m_text[j] != c && m_text[j] != u'\n')
                j += m_text[j] == u'\\' ? 2 : 1;
            const qsizetype stop = std::min(j + 1, n);
            std::fill(m_literal.begin() + i, m_literal.begin() + stop, true);
            i = stop;
        } else {
            ++i;
        }
    }
    m_lineStarts.append(0);
    for (qsizetype i = 0; i < n; ++i) {
        if (m_text[i] == u'\n')
            m_lineStarts.append(i + 1);
    }
}

int SourceFile::lineOf(qsizetype pos) const
{
    return int(std::upper_bound(m_lineStarts.cbegin(), m_lineStarts.cend(), pos) - m_lineStarts.cbegin());
}

qsizetype SourceFile::enclosingOpen(qsizetype pos) const
{
    int depth = 0;
    for (qsizetype i = pos - 1; i >= 0; --i) {
        if (inLiteral(i))
            continue;
        if (isClose(m_text[i]))
            ++depth;
        else if (isOpen(m_text[i]) && depth-- == 0)
            return i;
    }
    return -1;
}

qsizetype SourceFile::closing(qsizetype open) const
{
    int depth = 0;
    for (qsizetype i = open; i < m_text.size(); ++i) {
        if (inLiteral(i))
            continue;
        if (isOpen(m_text[i]))
            ++depth;
        else if (isClose(m_text[i]) && --depth == 0)
            return i;
    }
    return m_text.size();
}

QList<Span> SourceFile::arguments(qsizetype open) const
{
    QList<Span> list;
    const qsizetype close = closing(open);
    const auto add = [&](qsizetype from, qsizetype to) {
        while (from < to && m_text[from].isSpace())
            ++from;
        while (to > from && m_text[to - 1].isSpace())
            --to;
        if (to > from || !list.isEmpty())
            list.append({from, to});
    };
    int depth = 0;
    qsizetype from = open + 1;
    for (qsizetype i = open + 1; i < close; ++i) {
        if (inLiteral(i))
            continue;
        if (isOpen(m_text[i])) {
            ++depth;
        } else if (isClose(m_text[i])) {
            --depth;
        } else if (m_text[i] == u',' && depth == 0) {
            add(from, i);
            from = i + 1;
        }
    }
    add(from, close);
    return list;
}

Span SourceFile::calleeSpan(qsizetype open) const
{
    qsizetype start = open;
    while (start > 0 && m_text[start - 1].isSpace())
        --start;
    const qsizetype end = start;
    while (start > 0 && (m_text[start - 1].isLetterOrNumber() || m_text[start - 1] == u'_' || m_text[start - 1] == u':'))
        --start;
    return {start, end};
}

QString SourceFile::callee(qsizetype open) const
{
    return m_text[open] == u'(' ? textOf(calleeSpan(open)) : QString();
}

qsizetype SourceFile::statementStart(qsizetype pos) const
{
    for (qsizetype i = pos - 1; i >= 0; --i) {
        const QChar c = m_text[i];
        if (inLiteral(i) || (c != u';' && c != u'{' && c != u'}'))
            continue;
        // A braced list given as an argument ("format(K, {a, b})") is part of the statement; a
        // lambda's body is not.
        const qsizetype open = c == u'}' ? enclosingOpen(i) : i;
        qsizetype before = open - 1;
        while (before >= 0 && m_text[before].isSpace())
            --before;
        const qsizetype container = open < 0 ? -1 : enclosingOpen(open);
        const bool argument = before >= 0 && (m_text[before] == u'(' || m_text[before] == u',');
        if (c == u';' || container < 0 || m_text[container] == u'{' || !argument)
            return i + 1;
        i = open;
    }
    return 0;
}

qsizetype SourceFile::statementEnd(qsizetype pos) const
{
    for (qsizetype i = pos; i < m_text.size(); ++i) {
        if (!inLiteral(i) && m_text[i] == u';')
            return i;
    }
    return m_text.size();
}

QList<SourceFile> readSources(const QString& sourceDir, const QStringList& folders)
{
    QList<SourceFile> files;
    for (const QString& folder : folders) {
        QDirIterator it(sourceDir + QLatin1Char('/') + folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                files.append(SourceFile(file.fileName().mid(sourceDir.size() + 1), QString::fromUtf8(file.readAll())));
        }
    }
    return files;
}

int placeholderCount(const QString& format)
{
    static const QRegularExpression conversion(
        QStringLiteral(R"re(%(?:(\d+)\$)?[-+ 0#]*\d*(?:\.\d+)?(?:hh|h|ll|l|q|z|j|t|L)?([diuxXocsS@fFeEgGp%]))re"));
    int count = 0;
    int highest = 0;
    for (auto it = conversion.globalMatch(format); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(2) == QLatin1String("%"))
            continue;
        if (match.capturedLength(1) > 0)
            highest = std::max(highest, match.captured(1).toInt());
        else
            ++count;
    }
    return std::max(count, highest);
}

int argumentsAfter(const SourceFile& file, const QList<Span>& arguments, int index)
{
    const int after = int(arguments.size()) - index - 1;
    if (after == 1 && file.text()[arguments.last().start] == u'{')
        return int(file.arguments(arguments.last().start).size());
    return std::max(after, 0);
}
