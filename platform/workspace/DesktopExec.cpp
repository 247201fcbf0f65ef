#include "platform/workspace/DesktopExec.h"

#include <QUrl>

namespace {

// The escapes of desktop-entry string values, applied before the quoting rules.
QString unescapeValue(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out.append(c);
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's': out.append(QLatin1Char(' ')); break;
        case 'n': out.append(QLatin1Char('\n')); break;
        case 't': out.append(QLatin1Char('\t')); break;
        case 'r': out.append(QLatin1Char('\r')); break;
        case '\\': out.append(QLatin1Char('\\')); break;
        default: out.append(QLatin1Char('\\')); out.append(next); break;
        }
    }
    return out;
}

bool isReservedUnquoted(QChar c)
{
    return QStringLiteral("\"'\\><~|&;$*?#()`").contains(c);
}

QString fileUrl(const QString& path)
{
    return QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
}

// Expands the field codes of one argument with one file (or none).
QString expandSingle(const QString& argument, const DesktopEntry& entry, const QString& file)
{
    QString out;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        const QChar c = argument.at(i);
        if (c != QLatin1Char('%') || i + 1 == argument.size()) {
            out.append(c);
            continue;
        }
        switch (argument.at(++i).unicode()) {
        case '%': out.append(QLatin1Char('%')); break;
        case 'f': out.append(file); break;
        case 'u': out.append(file.isEmpty() ? QString() : fileUrl(file)); break;
        case 'c': out.append(entry.name); break;
        case 'k': out.append(entry.filePath); break;
        default: break;   // deprecated or list codes inside a word: nothing
        }
    }
    return out;
}

} // namespace

std::optional<QStringList> splitDesktopExec(const QString& exec)
{
    const QString value = unescapeValue(exec);
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < value.size() && QStringLiteral("\"`$\\").contains(value.at(i + 1)))
                current.append(value.at(++i));
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                current.append(c);
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inArgument = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inArgument)
                arguments.append(current);
            current.clear();
            inArgument = false;
        } else if (isReservedUnquoted(c)) {
            return std::nullopt;
        } else {
            current.append(c);
            inArgument = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArgument)
        arguments.append(current);
    return arguments;
}

QList<QStringList> desktopExecCommands(const DesktopEntry& entry, const QStringList& paths)
{
    const std::optional<QStringList> arguments = splitDesktopExec(entry.exec);
    if (!arguments || arguments->isEmpty())
        return {};
    const bool perFile = std::any_of(arguments->begin(), arguments->end(), [](const QString& argument) {
        return argument.contains(QLatin1String("%f")) || argument.contains(QLatin1String("%u"));
    });
    const bool listed = arguments->contains(QLatin1String("%F")) || arguments->contains(QLatin1String("%U"));
    const QStringList files = perFile && !paths.isEmpty() ? paths : QStringList{QString()};
    QList<QStringList> commands;
    for (const QString& file : files) {
        QStringList command;
        for (const QString& argument : *arguments) {
            if (argument == QLatin1String("%F")) {
                command += paths;
            } else if (argument == QLatin1String("%U")) {
                for (const QString& path : paths)
                    command.append(fileUrl(path));
            } else if (argument == QLatin1String("%i")) {
                if (!entry.icon.isEmpty())
                    command += QStringList{QStringLiteral("--icon"), entry.icon};
            } else {
                const QString expanded = expandSingle(argument, entry, file);
                // A word that was only a field code with nothing to put in it disappears.
                if (!expanded.isEmpty() || !argument.startsWith(QLatin1Char('%')))
                    command.append(expanded);
            }
        }
        // An entry without a file code (an application that imports from its own window) still
        // gets the files, after its own arguments, all in one start.
        if (!perFile && !listed)
            command += paths;
        commands.append(command);
    }
    return commands;
}
