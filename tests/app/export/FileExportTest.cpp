// The file exports: CSV, text, one vCard per card and one ContactXML file, written byte for
// byte, read back by independent readers, and refused or cleaned up as the target demands.
#include "app/export/PLExporter.h"
#include "platform/foundation/DurableFileBatch.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/export/ExportFixture.h"
#include "tests/support/dbtools/FakeFileAttributes.h"
#include "tests/support/workspace/SmallVolume.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using FileExport = ExportTest;

const QString kPython = QStringLiteral("/usr/bin/python3");

QJsonArray readBack(const QString& kind, const QStringList& files)
{
    const QString reader = qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/tests/app/export/readers.py");
    return QJsonDocument::fromJson(ExportTest::run(kPython, QStringList{reader, kind} + files)).array();
}

// The first value of a property the reader found; null when there is none.
QJsonValue first(const QJsonObject& card, const char* property)
{
    const QJsonArray values = card.value(QLatin1String(property)).toArray();
    return values.isEmpty() ? QJsonValue() : values.first();
}

QList<CardDict> tableOfCards()
{
    return {cards::latin(), cards::japanese(), cards::awkward(), cards::nameOnly(QString::fromUtf8("Émile 😀"))};
}


TEST_F(FileExport, CsvAndTextAreWrittenByteForByte)
{
    // Name, reading, company, department, postal code, address, telephone, e-mail, memo, date;
    // an English interface drops the reading.
    setExportItems(0x1 | 0x2 | 0x4 | 0x10 | 0x40 | 0x80 | 0x200 | 0x1000 | 0x4000 | 0x8000);
    QList<CardDict> table = tableOfCards();
    table[1].insert(QStringLiteral("memo"), QStringLiteral("\t padded\t"));
    ASSERT_EQ(PLExporter::ExportToCSV(path("cards.csv"), table), 0);
    ASSERT_EQ(PLExporter::ExportToText(path("cards.txt"), table), 0);

    const QString csv = QString::fromUtf8(
        "Name,Company,Department,Postal Code,Address,Telephone,E-mail,Memo,Registration Date\n"
        "Anna Berg,Nordlicht GmbH,Sales,10115,Hauptstr. 1 10115 Berlin,+49 30 1234,anna@nordlicht.example,met at the fair,2024-03-05\n"
        "山田 太郎,山田商事株式会社,,100-0001,東京都千代田区1-1,03-1234-5678,taro@yamada.example,\t padded\t,\n"
        "\"O'Neil, \"\"Pat\"\"; Jr.\",\"Smith; Sons, \"\"Tools\"\"\",R&D <core>,,,+1 555 0100,pat@example.com,line one line two C:\\new\\file\ttab 😀,\n"
        "Émile 😀,,,,,,,,\n");
    EXPECT_EQ(readAll(path("cards.csv")), utf16le(csv));

    const QString text = QString::fromUtf8(
        "Name\tCompany\tDepartment\tPostal Code\tAddress\tTelephone\tE-mail\tMemo\tRegistration Date\n"
        "Anna Berg\tNordlicht GmbH\tSales\t10115\tHauptstr. 1 10115 Berlin\t+49 30 1234\tanna@nordlicht.example\tmet at the fair\t2024-03-05\n"
        "山田 太郎\t山田商事株式会社\t\t100-0001\t東京都千代田区1-1\t03-1234-5678\ttaro@yamada.example\tpadded\t\n"
        "O'Neil, \"Pat\"; Jr.\tSmith; Sons, \"Tools\"\tR&D <core>\t\t\t+1 555 0100\tpat@example.com\tline one line two C:\\new\\file tab 😀\t\n"
        "Émile 😀\t\t\t\t\t\t\t\t\n");
    EXPECT_EQ(readAll(path("cards.txt")), utf16le(text));

    // Python's csv module reads every cell back as it was (line breaks as spaces).
    const QJsonArray rows = readBack(QStringLiteral("csv"), {path("cards.csv")});
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[3].toArray()[0].toString(), QStringLiteral("O'Neil, \"Pat\"; Jr."));
    EXPECT_EQ(rows[3].toArray()[1].toString(), QStringLiteral("Smith; Sons, \"Tools\""));
    const QJsonArray textRows = readBack(QStringLiteral("text"), {path("cards.txt")});
    ASSERT_EQ(textRows.size(), 5);
    for (const QJsonValue& row : textRows)
        EXPECT_EQ(row.toArray().size(), 9);
}

// The cards saved in a store, then fetched as the main window's list fetches them: the name alone
// read at first, the rest read from the store on first use, dates in UTC.
ManagedObjectList storeCards(const QList<CardDict>& table, const QString& store, std::unique_ptr<ManagedObjectContext>* context)
{
    {
        const auto writer = ManagedObjectContext::open(CardStore::currentModel(), store);
        for (const CardDict& card : table) {
            const ManagedObjectPtr object = writer->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
            for (auto value = card.cbegin(); value != card.cend(); ++value)
                object->setValue(value.key(), value.value());
        }
        if (writer->save() != 0)
            return {};
    }
    *context = ManagedObjectContext::open(CardStore::currentModel(), store);
    FetchRequest request{QString::fromLatin1(CardStore::kEntityCard), {}, {{QStringLiteral("memo"), true}}};
    request.propertiesToFetch = {QStringLiteral("full_Name")};
    return (*context)->executeFetchRequest(request);
}

TEST_F(FileExport, TheStoresCardsAreWrittenAsTheirDictionariesAre)
{
    setExportItems(0xFFFF);
    QList<CardDict> table = tableOfCards();
    table.append(cards::nameOnly(QStringLiteral(" ")));
    for (qsizetype i = 0; i < table.size(); ++i)
        table[i].insert(QStringLiteral("memo"), QStringLiteral("memo %1").arg(i)); // the order of the fetch
    std::unique_ptr<ManagedObjectContext> context;
    const ManagedObjectList objects = storeCards(table, path("cards.sqldb"), &context);
    ASSERT_EQ(objects.size(), table.size());
    for (int i = 0; i < 4; ++i)
        presenter.queueAnswer(kAlertFirstButtonReturn); // leave the nameless card out
    ASSERT_EQ(PLExporter::ExportToCSV(path("dicts.csv"), table), 0);
    ASSERT_EQ(PLExporter::ExportToCSV(path("objects.csv"), objects), 0);
    ASSERT_EQ(PLExporter::ExportToText(path("dicts.txt"), table), 0);
    ASSERT_EQ(PLExporter::ExportToText(path("objects.txt"), objects), 0);
    EXPECT_EQ(presenter.shown().size(), 4);
    EXPECT_EQ(fromUtf16WithBom(readAll(path("objects.csv"))).count(QLatin1Char('\n')), 5);
    EXPECT_EQ(fromUtf16WithBom(readAll(path("objects.csv"))), fromUtf16WithBom(readAll(path("dicts.csv"))));
    EXPECT_EQ(fromUtf16WithBom(readAll(path("objects.txt"))), fromUtf16WithBom(readAll(path("dicts.txt"))));

    presenter.queueAnswer(kAlertSecondButtonReturn);
    EXPECT_EQ(PLExporter::ExportToCSV(path("declined.csv"), objects), 0);
    EXPECT_FALSE(QFile::exists(path("declined.csv")));
    EXPECT_EQ(PLExporter::ExportToCSV(path("empty.csv"), ManagedObjectList()), 3);
}

TEST_F(FileExport, ExportItemsAreReadAsTheCommandsExpect)
{
    struct Case {
        const char* name;
        std::optional<int> stored;
        const char* titles;
    } const cases[] = {
        {"absent: name, company, telephone, e-mail", std::nullopt, "Name,Company,Telephone,E-mail"},
        {"without the name bit the default holds", 0x1204, "Name,Company,Telephone,E-mail"},
        {"name only", 0x1, "Name"},
        {"readings never on an English interface", 0x1 | 0x2 | 0x8, "Name"},
        {"images never reach a file", 0x1 | 0x10000, "Name"},
    };
    for (const Case& c : cases) {
        if (c.stored)
            setExportItems(*c.stored);
        ASSERT_EQ(PLExporter::ExportToCSV(path("m.csv"), {cards::latin()}), 0) << c.name;
        EXPECT_TRUE(fromUtf16WithBom(readAll(path("m.csv"))).startsWith(QLatin1String(c.titles) + QLatin1Char('\n'))) << c.name;
    }
}

TEST_F(FileExport, VCardFilesReadBackWithAnIndependentParser)
{
    setExportItems(0xFFFF);
    const QString folder = path("vcards");
    QDir().mkdir(folder);
    QList<CardDict> table = tableOfCards();
    const QString longMemo = QString::fromUtf8("Ausführliche Notiz über das Treffen auf der Messe: 😀 ") + QString(40, QChar(0x3042));
    table[0].insert(QStringLiteral("memo"), longMemo);
    table.append(cards::nameOnly(QStringLiteral("Anna Berg")));
    table.append(cards::nameOnly(QStringLiteral("Anna Berg")));
    table.append(cards::nameOnly(QStringLiteral(".hidden/a:b")));
    ASSERT_EQ(PLExporter::ExportToVCard(folder, table), 0);

    QStringList expected{"Anna Berg.vcf", "Anna Berg1.vcf", "Anna Berg2.vcf", QString::fromUtf8("Émile 😀.vcf"),
                               "O'Neil, \"Pat\"; Jr..vcf", "_hidden_a_b.vcf", QString::fromUtf8("山田 太郎.vcf")};
    QStringList written = QDir(folder).entryList(QDir::Files);
    written.sort();
    expected.sort();
    EXPECT_EQ(written.join('|').toStdString(), expected.join('|').toStdString());

    const QJsonArray read = readBack(QStringLiteral("vcard"), {folder + "/Anna Berg.vcf", folder + "/O'Neil, \"Pat\"; Jr..vcf",
                                                                folder + QString::fromUtf8("/山田 太郎.vcf")});
    ASSERT_EQ(read.size(), 3);
    const QJsonObject latin = read[0].toObject();
    EXPECT_EQ(first(latin, "FN").toString(), QStringLiteral("Anna Berg"));
    EXPECT_EQ(first(latin, "UID").toString(), QStringLiteral("CARD-LATIN"));
    EXPECT_EQ(first(latin, "NOTE").toString(), longMemo) << "folded and unfolded whole";
    EXPECT_EQ(first(latin, "ORG").toArray(), (QJsonArray{"Nordlicht GmbH", "Sales"}));
    EXPECT_EQ(first(latin, "ADR").toArray(), (QJsonArray{"", "", "Hauptstr. 1", "Berlin", "", "10115", "Germany"}));
    EXPECT_EQ(first(latin, "EMAIL").toString(), QStringLiteral("anna@nordlicht.example"));
    const QJsonObject awkward = read[1].toObject();
    EXPECT_EQ(first(awkward, "FN").toString(), cards::awkward().value("full_Name").toString());
    EXPECT_EQ(first(awkward, "ORG").toArray(), (QJsonArray{"Smith; Sons, \"Tools\"", "R&D <core>"}));
    EXPECT_EQ(first(awkward, "NOTE").toString(), QString::fromUtf8("line one\nline two\nC:\\new\\file\ttab 😀"));
    const QJsonObject japanese = read[2].toObject();
    EXPECT_EQ(first(japanese, "N").toArray(), (QJsonArray{QString::fromUtf8("山田"), QString::fromUtf8("太郎"), "", "", ""}));
    EXPECT_EQ(first(japanese, "FN").toString(), QString::fromUtf8("山田 太郎")) << "family name first";
    // Readings stay out on an English interface.
    EXPECT_FALSE(japanese.contains("SORT-STRING"));

    // khard lists a folder's vCards only when they carry a UID.
    QFile config(path("khard.conf"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("[addressbooks]\n[[exported]]\npath = " + folder.toUtf8()
                 + "\n\n[general]\ndefault_action = list\n"
                   "editor = /bin/false\nmerge_editor = /bin/false\n\n[vcard]\npreferred_version = 3.0\n");
    config.close();
    const QString listed = QString::fromUtf8(run(QStringLiteral("khard"), {"-c", path("khard.conf"), "list", "--parsable"}));
    for (const char* uid : {"CARD-LATIN", "CARD-JP", "CARD-AWK"})
        EXPECT_TRUE(listed.contains(QLatin1String(uid))) << uid << " missing from: " << listed.toStdString();
}

TEST_F(FileExport, ContactXmlFileIsValidForXmllint)
{
    setExportItems(0xFFFF);
    ASSERT_EQ(PLExporter::ExportToXML(path("cards.xml"), tableOfCards()), 0);
    const QByteArray bytes = readAll(path("cards.xml"));
    EXPECT_TRUE(bytes.startsWith("\xFF\xFE<\0?\0x\0m\0l\0"));
    const QString memo = QString::fromUtf8(run(QStringLiteral("xmllint"), {QStringLiteral("--xpath"),
        QStringLiteral("string(//*[local-name()='ContactXMLItem'][3]//*[local-name()='ExtensionItem'])"), path("cards.xml")}));
    EXPECT_EQ(memo.toStdString(), "line one\nline two\r\nC:\\new\\file\ttab 😀\n");
    const QString names = QString::fromUtf8(run(QStringLiteral("xmllint"), {QStringLiteral("--xpath"),
        QStringLiteral("count(//*[local-name()='FullName'])"), path("cards.xml")}));
    EXPECT_EQ(names.trimmed(), QStringLiteral("4"));
}

TEST_F(FileExport, NamelessCardsAreLeftOutAfterAsking)
{
    const QList<CardDict> nameless{cards::nameOnly(QString()), cards::nameOnly(QStringLiteral(" \n\u3000"))};
    EXPECT_EQ(PLExporter::ExportToCSV(path("none.csv"), nameless), 0);
    EXPECT_EQ(presenter.shown().size(), 1);
    EXPECT_FALSE(QFile::exists(path("none.csv")));

    presenter.queueAnswer(kAlertSecondButtonReturn);
    EXPECT_EQ(PLExporter::ExportToXML(path("declined.xml"), {cards::latin(), nameless[0]}), 0);
    EXPECT_FALSE(QFile::exists(path("declined.xml")));

    presenter.queueAnswer(kAlertFirstButtonReturn);
    QDir().mkdir(path("v"));
    EXPECT_EQ(PLExporter::ExportToVCard(path("v"), {nameless[0], cards::latin(), nameless[1]}), 0);
    EXPECT_EQ(QDir(path("v")).entryList(QDir::Files), QStringList{"Anna Berg.vcf"});
    EXPECT_EQ(presenter.shown().size(), 3);
}

TEST_F(FileExport, BadTargetsAreRefusedAndLeaveNothingBehind)
{
    EXPECT_EQ(PLExporter::ExportToCSV(QString(), {cards::latin()}), 3);
    EXPECT_EQ(PLExporter::ExportToText(path("a.txt"), QList<CardDict>()), 3);

    {
        FakeFileAttributes attributes;
        attributes.set(temp.path(), FakeFileAttributes::ReadOnly);
        EXPECT_EQ(PLExporter::ExportToCSV(path("ro.csv"), {cards::latin()}), 75);
        EXPECT_FALSE(QFile::exists(path("ro.csv")));
    }
    EXPECT_EQ(PLExporter::ExportToXML(path("gone/cards.xml"), {cards::latin()}), 75);

    workspace.volumeUnreadable = true;
    EXPECT_EQ(PLExporter::ExportToCSV(path("unreadable.csv"), {cards::latin()}), 75);
    workspace.volumeUnreadable = false;

    // A volume with exactly as many free bytes as the file needs is refused; one more is enough.
    const QByteArray data(100, 'x');
    workspace.volume = VolumeInfo{QStringLiteral("ext4"), QStringLiteral("/"), QString(), 100};
    EXPECT_EQ(PLExporter::saveFile(data, path("full.bin")), 11);
    EXPECT_FALSE(QFile::exists(path("full.bin")));
    workspace.volume->freeBytes = 101;
    EXPECT_EQ(PLExporter::saveFile(data, path("full.bin")), 0);
    workspace.volume.reset();

    // A write that fails keeps the file it was to replace.
    {
        QFile old(path("keep.csv"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    QDir().mkdir(path("keep.csv.dir"));
    EXPECT_EQ(PLExporter::saveFile(data, path("keep.csv.dir")), 75);
    EXPECT_EQ(readAll(path("keep.csv")), QByteArray("old"));
    EXPECT_EQ(QDir(temp.path()).entryList({QStringLiteral("*.csv*")}, QDir::AllEntries).size(), 2);
}

} // namespace

TEST_F(FileExport, ANameThatIsALinkIsReplacedAndTheLinksTargetKept)
{
    const QString outside = path("outside");
    QDir().mkpath(outside);
    {
        QFile config(outside + QStringLiteral("/config"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write("someone's settings");
    }
    QDir().mkpath(path("chosen"));
    const QString target = path("chosen/cards.csv");
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/config"), target));
    ASSERT_EQ(PLExporter::ExportToCSV(target, {cards::latin()}), 0);
    EXPECT_EQ(readAll(outside + QStringLiteral("/config")), QByteArray("someone's settings"));
    EXPECT_FALSE(QFileInfo(target).isSymLink());
    EXPECT_TRUE(fromUtf16WithBom(readAll(target)).contains(QStringLiteral("Anna Berg")));

    // A vCard whose name is taken by a link that leads nowhere is not written through it.
    QDir().mkpath(path("v"));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/planted.vcf"), path("v/Anna Berg.vcf")));
    ASSERT_EQ(PLExporter::ExportToVCard(path("v"), {cards::latin()}), 0);
    EXPECT_FALSE(QFile::exists(outside + QStringLiteral("/planted.vcf")));
}

TEST_F(FileExport, TemporaryFilesOfAKilledExportGoAtTheNextOne)
{
    QDir().mkpath(path("v"));
    // One left by a killed export, one of an export still writing (it holds its lock), and a file
    // of the user's named alike.
    const QString killed = path("v/.pelmora-a1B2c3.tmp");
    const QString writing = path("v/.pelmora-d4E5f6.tmp");
    const QString users = path("v/.pelmora-notes.tmp");
    for (const QString& name : {killed, writing, users}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("half");
    }
    const int held = ::open(QFile::encodeName(writing).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // The lock is taken by a process of its own, as another writer holds it.
    const pid_t holder = ::fork();
    if (holder == 0) {
        ::pause();
        ::_exit(0);
    }
    ::close(held);
    ASSERT_EQ(PLExporter::ExportToVCard(path("v"), {cards::latin(), cards::japanese()}), 0);
    EXPECT_FALSE(QFile::exists(killed));
    EXPECT_TRUE(QFile::exists(writing));
    EXPECT_TRUE(QFile::exists(users));
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(QDir(path("v")).entryList(QDir::Files | QDir::Hidden).size(), 4) << "the two exported files beside the two kept";
}

// A full disk: each export fails with its status, the file it was to replace keeps its bytes, the
// files written before the disk filled are whole and nothing half-written is left.
TEST_F(FileExport, AFullDiskFailsTheExportAndKeepsWhatWasThere)
{
    SmallVolume volume(1);
    SKIP_WITHOUT_VOLUME(volume);
    const QString csv = volume.path() + QStringLiteral("/cards.csv");
    {
        QFile old(csv);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the export before");
    }
    QList<CardDict> many;
    for (int i = 0; i < 200; ++i) {
        CardDict card = cards::nameOnly(QStringLiteral("Person %1").arg(i));
        card.insert(QStringLiteral("company"), QString(3000, QLatin1Char('c')));
        many.append(card);
    }
    // The free-space test passes (a stale estimate); the writes themselves run out of room, the
    // CSV file's after its first pieces went to the disk.
    workspace.volume = VolumeInfo{QStringLiteral("tmpfs"), volume.path(), QString(), quint64(1) << 40};
    volume.fill(700 * 1024);
    EXPECT_EQ(PLExporter::ExportToCSV(csv, many), 75);
    EXPECT_EQ(readAll(csv), QByteArray("the export before"));
    EXPECT_EQ(QDir(volume.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral(".filler"), QStringLiteral("cards.csv")}));
    volume.fill(64 * 1024);

    QDir().mkpath(volume.path() + QStringLiteral("/v"));
    EXPECT_EQ(PLExporter::ExportToVCard(volume.path() + QStringLiteral("/v"), many), 75);
    const QStringList written = QDir(volume.path() + QStringLiteral("/v")).entryList(QDir::Files | QDir::Hidden);
    EXPECT_GT(written.size(), 0);
    EXPECT_LT(written.size(), many.size());
    for (const QString& name : written) {
        EXPECT_TRUE(name.endsWith(QStringLiteral(".vcf"))) << name.toStdString();
        EXPECT_TRUE(readAll(volume.path() + QStringLiteral("/v/") + name).trimmed().endsWith("END:VCARD")) << name.toStdString();
    }

    // Without the stale estimate the export is refused before it writes.
    workspace.volume.reset();
    volume.fill();
    EXPECT_EQ(PLExporter::ExportToCSV(csv, many), 11);
    EXPECT_EQ(readAll(csv), QByteArray("the export before"));
    EXPECT_EQ(QDir(volume.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral(".filler"), QStringLiteral("cards.csv")}));
}

// The disk refuses to flush the 26th vCard: the export fails with 75, the 25 cards before it are
// whole under their names, and no other file is left, named or not.
TEST_F(FileExport, AFlushThatFailsEndsTheExportAtItsCard)
{
    QList<CardDict> many;
    for (int i = 0; i < 40; ++i)
        many.append(cards::nameOnly(QStringLiteral("Person %1").arg(i, 2, 10, QLatin1Char('0'))));
    int flushed = 0;
    DurableFileBatch::setSync([&](int fd) {
        struct stat st {};
        return ::fstat(fd, &st) == 0 && (S_ISDIR(st.st_mode) || flushed++ != 25);
    });
    QDir().mkpath(path("v"));
    EXPECT_EQ(PLExporter::ExportToVCard(path("v"), many), 75);
    DurableFileBatch::setSync({});
    QStringList expected;
    for (int i = 0; i < 25; ++i)
        expected << QStringLiteral("Person %1.vcf").arg(i, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(QDir(path("v")).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), expected);
    for (const QString& name : expected)
        EXPECT_TRUE(readAll(path("v/") + name).trimmed().endsWith("END:VCARD")) << name.toStdString();
}
