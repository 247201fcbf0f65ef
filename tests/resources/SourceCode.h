// The suite's sources as the string-key test reads them: each file's code with its comments
// blanked (offsets kept), and the brackets, calls and arguments around a place in it. String and
// character literals are skipped, so brackets and commas inside them do not count.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

struct Span {
    qsizetype start = 0;
    qsizetype end = 0; // one past the last character
};

class SourceFile {
public:
    SourceFile(QString path, const QString& source);

    const QString& path() const { return m_path; }
    const QString& text() const { return m_text; }
    QStringList lines() const { return m_text.split(QLatin1Char('\n')); }
    int lineOf(qsizetype pos) const;
    QString where(qsizetype pos) const { return QStringLiteral("%1:%2").arg(m_path).arg(lineOf(pos)); }
    bool inLiteral(qsizetype pos) const { return m_literal[size_t(pos)]; }

    // The innermost bracket ( [ or { open around `pos`, or -1.
    qsizetype enclosingOpen(qsizetype pos) const;
    // The bracket that closes the one open at `open`, or the text's end.
    qsizetype closing(qsizetype open) const;
    // The top-level arguments between the bracket open at `open` and its closing one, trimmed.
    QList<Span> arguments(qsizetype open) const;
    // The name called with the bracket open at `open` ("PLMessage::ShowPLErrorMessage"), or empty.
    QString callee(qsizetype open) const;
    Span calleeSpan(qsizetype open) const;
    // Where the statement around `pos` begins: after the ; { or } before it, a braced list inside
    // brackets being part of it.
    qsizetype statementStart(qsizetype pos) const;
    // Where it ends: its ; (or the text's end).
    qsizetype statementEnd(qsizetype pos) const;
    QString textOf(Span span) const { return m_text.mid(span.start, span.end - span.start); }

private:
    QString m_path;
    QString m_text;
    std::vector<bool> m_literal;
    QList<qsizetype> m_lineStarts;
};

// The sources (.cpp, .h) under the folders, relative to the source tree.
QList<SourceFile> readSources(const QString& sourceDir, const QStringList& folders);

// How many arguments a text used as a format takes: its conversions (%@, %d, %ld, …), or the
// highest position of "%2$@"-style ones; "%%" takes none.
int placeholderCount(const QString& format);

// Arguments after `index`; one braced list there counts as its items.
int argumentsAfter(const SourceFile& file, const QList<Span>& arguments, int index);
