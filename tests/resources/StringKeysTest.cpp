// Every localisation key a program of the suite hands to its string lookup has a text in that
// program's English table, no table defines a key twice, and a text that takes arguments is given
// them where it is shown: a key without a text would reach the user as it stands, of a key defined
// twice only one text is ever shown, and a placeholder left in reads "%@" or "(null)".
//
// The keys are read from the sources: every literal that names a key (IDS_…, PL_TEXT_… and
// PL_MSG_…, and MSG or LTL with five digits in the plug-in), and the numbered messages the code
// shows (the named message constants, and the numbers handed to the message functions or given
// to the variable handed there); a key looked up through getProperKey is looked up under its newer
// wording.
#include "tests/resources/KeyUses.h"
#include "tests/resources/MessageCalls.h"

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

// The message numbers a program shows: its named message constants, and the numbers its calls of
// the message function name.
QList<int> messageNumbers(const QList<SourceFile>& files, const QString& function)
{
    static const QRegularExpression constant(QStringLiteral(R"re(\bkMsg\w*\s*=\s*(\d+))re"));
    QSet<int> numbers;
    for (const SourceFile& file : files) {
        for (auto it = constant.globalMatch(file.text()); it.hasNext();)
            numbers.insert(it.next().captured(1).toInt());
    }
    for (const MessageCall& call : messageCalls(files, function, integerConstants(files)))
        numbers += call.numbers;
    // 0 is success, and numbers past the keys' range are shown as undefined errors by design.
    QList<int> shown;
    for (int number : numbers) {
        if (number > 0 && number < 1000)
            shown.append(number);
    }
    std::sort(shown.begin(), shown.end());
    return shown;
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
        const QList<SourceFile> files = readSources(sourceDir(), program.folders);
        ASSERT_FALSE(files.isEmpty()) << program.name;
        QStringList missing;
        for (const SourceFile& file : files) {
            const QStringList lines = file.lines();
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QString& line = lines[i];
                const QString where = QStringLiteral("%1:%2 ").arg(file.path()).arg(i + 1);
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

// A text that takes arguments is shown with them: a placeholder left in reaches the user as "%@"
// (a plug-in text) or "(null)" (a message). Numbered messages are checked at the calls that name
// their number; texts looked up by key wherever the code names the key (see KeyUses.h).
TEST(StringKeys, EveryTextShownIsGivenTheArgumentsItTakes)
{
    for (const Program& program : programs()) {
        const Table table = programTable(program);
        const QList<SourceFile> files = readSources(sourceDir(), program.folders);
        QHash<QString, int> formats;
        for (auto it = table.texts.cbegin(); it != table.texts.cend(); ++it) {
            if (const int placeholders = placeholderCount(it.value()))
                formats.insert(it.key(), placeholders);
        }
        QStringList unfilled;
        for (const UnfilledUse& use : unfilledKeyUses(files, formats))
            unfilled << QStringLiteral("%1 %2: %3").arg(use.where, use.key, use.how);
        if (program.messageFunction) {
            for (const MessageCall& call : messageCalls(files, QString::fromLatin1(program.messageFunction), integerConstants(files))) {
                for (int number : call.numbers) {
                    const int wanted = formats.value(QString::asprintf(program.messageKeyFormat, number));
                    if (call.arguments >= 0 && call.arguments < wanted)
                        unfilled << QStringLiteral("%1 message %2: its text takes %3 arguments, the call gives %4")
                                        .arg(call.where)
                                        .arg(number)
                                        .arg(wanted)
                                        .arg(call.arguments);
                }
            }
        }
        EXPECT_TRUE(unfilled.isEmpty()) << program.name << " shows texts without their arguments:\n  "
                                        << unfilled.join(QStringLiteral("\n  ")).toStdString();
    }
}

// The reading of texts and sources the test above relies on, on small samples.
TEST(StringKeys, PlaceholdersAndKeyUsesAreReadAsTheCodeMeansThem)
{
    struct Count {
        const char* text;
        int placeholders;
    };
    for (const Count& sample : {Count{"100%% done", 0}, Count{"%@ of %d", 2}, Count{"%2$@, %1$@", 2}, Count{"%ld cards, %5.1f%%", 2},
                                Count{"No Resource", 0}}) {
        EXPECT_EQ(placeholderCount(QString::fromLatin1(sample.text)), sample.placeholders) << sample.text;
    }

    const SourceFile file(QStringLiteral("sample.cpp"), QStringLiteral(R"cpp(
// alert(text("MSG1")) in a comment is no use
QString filled() { return formatText(text("MSG1"), name); }
void shownBare() { alert(text("MSG1"), window); }
void tooFew() { formatString(getLocalString(QStringLiteral("MSG2")), {a}); }
void asked() { ShowPLInfoMessage(QStringLiteral("MSG1"), 2, 3, QString(), name); }
void askedBare() { ShowPLInfoMessage(QStringLiteral("MSG1"), 2, 3, QString()); }
QString returnedAndFilled() { return QStringLiteral("MSG1"); }
QString caller(const QString& key) { if (key == QLatin1String("MSG1")) return formatText(text(key), detail); return key; }
QString returnedBare() { return cond ? QStringLiteral("MSG3") : QString(); }
constexpr const char* kHintKey = "MSG1";
void named() { setText(formatText(getLocalString(QLatin1String(kHintKey)), 5)); }
void namedBare() { const QString key = single ? QStringLiteral("MSG2") : other; alert(text(key)); }
const Row kRows[] = {{1, "MSG3"}};
void literals() { formatText(text("MSG1"), QStringLiteral("(")); }
QString afterAList() { return c ? format("MSG2", {a, b}) : QStringLiteral("MSG1"); }
)cpp"));
    QStringList found;
    for (const UnfilledUse& use : unfilledKeyUses({file}, {{QStringLiteral("MSG1"), 1}, {QStringLiteral("MSG2"), 2}, {QStringLiteral("MSG3"), 1}}))
        found << QStringLiteral("%1 %2").arg(use.where, use.key);
    found.sort();
    EXPECT_EQ(found, (QStringList{QStringLiteral("sample.cpp:10 MSG3"), QStringLiteral("sample.cpp:13 MSG2"),
                                  QStringLiteral("sample.cpp:4 MSG1"), QStringLiteral("sample.cpp:5 MSG2"), QStringLiteral("sample.cpp:7 MSG1")}));

    const SourceFile calls(QStringLiteral("calls.cpp"), QStringLiteral(R"cpp(
constexpr int kMsgFull = 11;
void a() { PLMessage::ShowPLErrorMessageBySheet(window, first ? 47 : kMsgFull, name); }
void b() { int message = 118; if (failed) message = Status::kMsgFull; PLMessage::ShowPLErrorMessage(message, text); }
void c() { PLMessage::ShowPLErrorMessageAlertSheet(window, {}, kMsgFull); PLMessage::ShowPLErrorMessageBySheet(window, result); }
)cpp"));
    QStringList read;
    for (const MessageCall& call : messageCalls({calls}, QStringLiteral("ShowPLErrorMessage"), integerConstants({calls}))) {
        QList<int> numbers(call.numbers.cbegin(), call.numbers.cend());
        std::sort(numbers.begin(), numbers.end());
        QStringList listed;
        for (int number : numbers)
            listed << QString::number(number);
        read << QStringLiteral("%1 %2 (%3)").arg(call.where, listed.join(u','), QString::number(call.arguments));
    }
    EXPECT_EQ(read, (QStringList{QStringLiteral("calls.cpp:3 11,47 (1)"), QStringLiteral("calls.cpp:4 11,118 (-1)"),
                                 QStringLiteral("calls.cpp:5 11 (0)")}));
}
