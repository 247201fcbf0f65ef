// Every localisation key a program of the suite hands to its string lookup has a text in that
// program's English table, and no table defines a key twice: a key without a text would reach
// the user as it stands, and of a key defined twice only one text is ever shown.
//
// The keys are read from the sources: every literal that names a key (IDS_…, PL_TEXT_… and
// PL_MSG_…, and MSG or LTL with five digits in the plug-in), and the numbered messages the code
// shows (the named message constants and the numbers handed to the message functions); a key
// looked up through getProperKey is looked up under its newer wording.
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

QString sourceDir()
{
    return qEnvironmentVariable("PELMORA_SOURCE_DIR");
}

struct Table {
    QHash<QString, QString> texts;
    QStringList duplicates;
};

// The top-level dictionary of a property-list string table, read as written so that a key
// given twice is seen.
Table readTable(const QString& path)
{
    Table table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return table;
    QXmlStreamReader xml(&file);
    int depth = 0;
    QString key;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            // plist > dict > key/string
            if (depth == 3 && xml.name() == QLatin1String("key")) {
                key = xml.readElementText();
                --depth;
                if (table.texts.contains(key))
                    table.duplicates.append(key);
            } else if (depth == 3 && xml.name() == QLatin1String("string")) {
                table.texts.insert(key, xml.readElementText());
                --depth;
            }
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return table;
}

struct SourceFile {
    QString path;
    QStringList lines;
};

QList<SourceFile> sources(const QStringList& folders)
{
    QList<SourceFile> files;
    for (const QString& folder : folders) {
        QDirIterator it(sourceDir() + QLatin1Char('/') + folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            files.append({file.fileName().mid(sourceDir().size() + 1), QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))});
        }
    }
    return files;
}

// The code of a line without its comment.
QString code(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1String("//")) || trimmed.startsWith(QLatin1Char('*')) || trimmed.startsWith(QLatin1String("/*")))
        return {};
    const qsizetype comment = line.indexOf(QLatin1String(" // "));
    return comment < 0 ? line : line.left(comment);
}

struct Program {
    const char* name; // its resource folder
    QStringList folders; // the sources that look up its texts
    const char* messageFunction; // shows a numbered message (the name's prefix); null: none
    const char* messageKeyFormat; // the key of a message number
};

const QList<Program>& programs()
{
    static const QList<Program> list = {
        {"Pelmora", {QStringLiteral("app"), QStringLiteral("platform")}, "ShowPLErrorMessage", "IDS_MSG_ERR_%04d"},
        {"Quendrel", {QStringLiteral("plugin")}, nullptr, nullptr},
        {"Vostrand", {QStringLiteral("tools/optimize"), QStringLiteral("tools/dbtools")}, "ShowErrorMessage", "IDS_MSG_ERR_%04d"},
        {"Harnwick", {QStringLiteral("tools/password"), QStringLiteral("tools/dbtools")}, "ShowHWErrorMessage", "IDS_MSG_ERR_%03d"},
        {"Tolbeck", {QStringLiteral("tools/services")}, nullptr, nullptr},
    };
    return list;
}

const QRegularExpression kKeyLiteral(QStringLiteral(R"re("(IDS_[A-Za-z0-9_]+|PL_(?:TEXT|MSG)_[A-Za-z0-9_]+|(?:MSG|LTL)\d{5})")re"));
// A key completed at run time: only the message keys' formats are, with the numbers below.
const QRegularExpression kKeyFormatLiteral(QStringLiteral(R"re("((?:IDS_|MSG|LTL)[A-Za-z0-9_]*%[^"]*)")re"));

// The message numbers a program shows: its named message constants, and the first number handed
// to each call of its message function.
QList<int> messageNumbers(const QList<SourceFile>& files, const QString& function)
{
    const QRegularExpression constant(QStringLiteral(R"re(\bkMsg\w*\s*=\s*(\d+))re"));
    const QRegularExpression call(QStringLiteral(R"re(\b%1\w*\s*\(([^;]*?)\)\s*;)re").arg(function));
    const QRegularExpression number(QStringLiteral(R"re((?<![\w.])(\d{1,3})(?![\w.]))re"));
    QList<int> numbers;
    for (const SourceFile& file : files) {
        QString text;
        for (const QString& line : file.lines)
            text += code(line) + QLatin1Char('\n');
        for (auto it = constant.globalMatch(text); it.hasNext();)
            numbers.append(it.next().captured(1).toInt());
        for (auto it = call.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch first = number.match(it.next().captured(1));
            if (first.hasMatch())
                numbers.append(first.captured(1).toInt());
        }
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

Table programTable(const Program& program)
{
    return readTable(sourceDir() + QStringLiteral("/resources/%1/en/Localizable.plist").arg(QString::fromLatin1(program.name)));
}

} // namespace

TEST(StringKeys, EveryKeyTheCodeLooksUpHasAnEnglishText)
{
    ASSERT_FALSE(sourceDir().isEmpty());
    for (const Program& program : programs()) {
        const Table table = programTable(program);
        const QList<SourceFile> files = sources(program.folders);
        ASSERT_FALSE(files.isEmpty()) << program.name;
        QStringList missing;
        for (const SourceFile& file : files) {
            for (qsizetype i = 0; i < file.lines.size(); ++i) {
                const QString line = code(file.lines[i]);
                const QString where = QStringLiteral("%1:%2 ").arg(file.path).arg(i + 1);
                for (auto it = kKeyLiteral.globalMatch(line); it.hasNext();) {
                    QString key = it.next().captured(1);
                    // This system's version looks the newer wording up.
                    if (line.contains(QLatin1String("getProperKey(")))
                        key += QStringLiteral("_OS108");
                    if (!table.texts.contains(key))
                        missing << where + key;
                }
                for (auto it = kKeyFormatLiteral.globalMatch(line); it.hasNext();) {
                    const QString format = it.next().captured(1);
                    // The database tools share their message code: each tool's format is checked with its own numbers.
                    const bool listed = std::any_of(programs().cbegin(), programs().cend(), [&](const Program& any) {
                        return any.messageKeyFormat && format == QLatin1String(any.messageKeyFormat);
                    });
                    if (!listed)
                        missing << where + format + QStringLiteral(" (a key made at run time that this test cannot list)");
                }
            }
        }
        if (program.messageFunction) {
            const QList<int> numbers = messageNumbers(files, QString::fromLatin1(program.messageFunction));
            EXPECT_GT(numbers.size(), 5) << program.name << ": the message numbers were not found";
            for (int number : numbers) {
                const QString key = QString::asprintf(program.messageKeyFormat, number);
                if (!table.texts.contains(key))
                    missing << QStringLiteral("message %1: ").arg(number) + key;
            }
        }
        EXPECT_TRUE(missing.isEmpty()) << program.name << " has no text for:\n  " << missing.join(QStringLiteral("\n  ")).toStdString();
    }
}

TEST(StringKeys, NoTableDefinesAKeyTwice)
{
    ASSERT_FALSE(programTable(programs().first()).texts.isEmpty());
    for (const Program& program : programs()) {
        const Table table = programTable(program);
        EXPECT_TRUE(table.duplicates.isEmpty()) << program.name << " defines more than once: " << table.duplicates.join(u' ').toStdString();
    }
}
