#include "tests/app/export/ExportFixture.h"

#include "platform/foundation/Bundle.h"
#include "tests/support/pdf/TestPdf.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>

void ExportTest::SetUp()
{
    ASSERT_TRUE(temp.isValid());
    Bundle::setMain(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora"));
    PreferenceDomain::setStandardDomain(QStringLiteral("test.export"), temp.filePath(QStringLiteral("prefs")));
    // Temporary pictures and packages go into this test's own folder: a hand-off clears the
    // earlier ones, which another test binary running at the same time may still be reading.
    savedTempDir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
}

void ExportTest::TearDown()
{
    qputenv("TMPDIR", savedTempDir);
    PreferenceDomain::standard().reload();
}

void CardDatabaseTest::SetUp()
{
    ExportTest::SetUp();
    database = path(QStringLiteral("Cards.cxdb"));
    ASSERT_TRUE(QDir().mkpath(database + QStringLiteral("/Images")));
    // An empty store file: the placeholder card image wants a usable database folder.
    QFile(database + QStringLiteral("/Pelmora1.sqldb")).open(QIODevice::WriteOnly);
    openDatabase.choose(database);
    for (const char* name : {"CARD-LATIN_N1.pdf", "CARD-JP_N1.pdf", "CARD-JP_N2.pdf"})
        ASSERT_TRUE(testpdf::writePdf(database + QStringLiteral("/Images/") + QLatin1String(name), testpdf::scannerDocument(1)));
}

QByteArray ExportTest::readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ExportTest::run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(120000)) << program.toStdString();
    const QByteArray errors = process.readAllStandardError();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << errors.toStdString();
    return process.readAllStandardOutput();
}

void ExportTest::setExportItems(int mask)
{
    PreferenceDomain::standard().setValue(QStringLiteral("Export items"), mask);
}

QString fromUtf16WithBom(const QByteArray& bytes)
{
    if (!bytes.startsWith("\xFF\xFE"))
        return QString();
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
}

QByteArray utf16le(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

namespace cards {

CardDict latin()
{
    return {
        {"full_Name", "Anna Berg"}, {"first_Name", "Anna"}, {"family_Name", "Berg"}, {"middle_Name", ""},
        {"prefix_Name", "Dr."}, {"suffix_Name", ""},
        {"company", "Nordlicht GmbH"}, {"department", "Sales"}, {"job_Title", "Manager"},
        {"telephone_Number", "+49 30 1234"}, {"fax_Number", "+49 30 1235"}, {"mobile_Number", "+49 170 1"},
        {"address", "Hauptstr. 1 10115 Berlin"}, {"street", "Hauptstr. 1"}, {"city", "Berlin"}, {"state", ""},
        {"zip_PostalCode", "10115"}, {"country", "Germany"},
        {"e_Mail", "anna@nordlicht.example"}, {"web_Page_Address", "https://nordlicht.example"}, {"memo", "met at the fair"},
        {"register_Date", QDateTime(QDate(2024, 3, 5), QTime(12, 0))},
        {"cardID", "CARD-LATIN"}, {"face_Image_File", "CARD-LATIN_N1.pdf"}, {"back_Image_File", ""},
    };
}

CardDict japanese()
{
    return {
        {"full_Name", QString::fromUtf8("山田 太郎")}, {"first_Name", QString::fromUtf8("太郎")}, {"family_Name", QString::fromUtf8("山田")},
        {"full_Name_Kana", QString::fromUtf8("やまだ たろう")}, {"first_Name_Kana", QString::fromUtf8("たろう")},
        {"family_Name_Kana", QString::fromUtf8("やまだ")},
        {"company", QString::fromUtf8("山田商事株式会社")}, {"company_Kana", QString::fromUtf8("やまだしょうじ")},
        {"job_Title", QString::fromUtf8("部長")}, {"telephone_Number", "03-1234-5678"},
        {"address", QString::fromUtf8("東京都千代田区1-1")}, {"state", QString::fromUtf8("東京都")}, {"city", QString::fromUtf8("千代田区")},
        {"street", "1-1"}, {"zip_PostalCode", "100-0001"}, {"e_Mail", "taro@yamada.example"},
        {"cardID", "CARD-JP"}, {"face_Image_File", "CARD-JP_N1.pdf"},
    };
}

CardDict japaneseTwoSided()
{
    CardDict card = japanese();
    card.insert(QStringLiteral("back_Image_File"), QStringLiteral("CARD-JP_N2.pdf"));
    return card;
}

CardDict nameOnly(const QString& name)
{
    return {{"full_Name", name}};
}

CardDict awkward()
{
    return {
        {"full_Name", QString::fromUtf8("O'Neil, \"Pat\"; Jr.")}, {"family_Name", "O'Neil"}, {"first_Name", "Pat"},
        {"company", "Smith; Sons, \"Tools\""}, {"department", "R&D <core>"},
        {"telephone_Number", "+1 555 0100"},
        {"e_Mail", "pat@example.com"},
        {"memo", QString::fromUtf8("line one\nline two\r\nC:\\new\\file\ttab 😀")},
        {"cardID", "CARD-AWK"},
    };
}

} // namespace cards
