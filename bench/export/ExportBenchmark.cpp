// Exports N cards (10,000 unless given) to one CSV file, one ContactXML file and one vCard file
// per card, and times each against writing the same bytes with a plain loop of fwrite (one
// fwrite per card, and one file per card for the vCards). Prints the times and their ratios.
#include "app/export/PLExporter.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

CardDict benchCard(int i)
{
    const QString n = QString::number(i);
    return {{"full_Name", "Card Person " + n}, {"first_Name", "Card"}, {"family_Name", "Person " + n},
            {"company", "Company, Ltd. " + n}, {"department", "Sales; East"}, {"job_Title", "Manager"},
            {"telephone_Number", "+1 555 01" + n}, {"fax_Number", "+1 555 02" + n}, {"mobile_Number", "+1 555 03" + n},
            {"address", "1 Main Street\nSpringfield"}, {"street", "1 Main Street"}, {"city", "Springfield"},
            {"zip_PostalCode", "12345"}, {"country", "USA"}, {"e_Mail", "person" + n + "@example.com"},
            {"web_Page_Address", "https://example.com/" + n}, {"memo", "Met at the \"fair\", row " + n},
            {"register_Date", QDateTime::currentDateTime()}};
}

// Writes the chunks with fwrite into one file, or into one file each; milliseconds.
double plainWrite(const QString& folder, const QList<QByteArray>& chunks, bool filePerChunk)
{
    QElapsedTimer timer;
    timer.start();
    FILE* file = nullptr;
    for (qsizetype i = 0; i < chunks.size(); ++i) {
        if (!file || filePerChunk) {
            if (file)
                std::fclose(file);
            file = std::fopen(QFile::encodeName(QDir(folder).filePath(QStringLiteral("plain%1").arg(filePerChunk ? i : 0))).constData(), "wb");
            if (!file)
                return -1;
        }
        std::fwrite(chunks[i].constData(), 1, static_cast<size_t>(chunks[i].size()), file);
    }
    if (file)
        std::fclose(file);
    return timer.nsecsElapsed() / 1e6;
}

QList<QByteArray> chunksOf(const QByteArray& bytes, int count)
{
    QList<QByteArray> chunks;
    const qsizetype size = bytes.size() / count + 1;
    for (qsizetype at = 0; at < bytes.size(); at += size)
        chunks.append(bytes.mid(at, size));
    return chunks;
}

void report(const char* what, double exportMs, double plainMs)
{
    std::printf("%-28s export %9.1f ms   fwrite %8.1f ms   ratio %6.1f\n", what, exportMs, plainMs, plainMs > 0 ? exportMs / plainMs : 0.0);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    Bundle::setMain(QStringLiteral(PELMORA_RESOURCES));
    QTemporaryDir temp;
    PreferenceDomain::setStandardDomain(QStringLiteral("bench.export"), temp.filePath(QStringLiteral("prefs")));
    PreferenceDomain::standard().setValue(QStringLiteral("Export items"), 0xFFFF);
    ScriptedMessagePresenter presenter;
    QList<CardDict> cards;
    for (int i = 0; i < count; ++i)
        cards.append(benchCard(i));
    for (const char* folder : {"csv", "xml", "vcf", "plain-csv", "plain-xml", "plain-vcf"})
        QDir(temp.path()).mkdir(QLatin1String(folder));
    std::printf("%d cards\n", count);

    // One file for all cards, against the same bytes written card by card.
    const auto oneFile = [&](const char* what, const QString& file, int (*exporter)(const QString&, const QList<CardDict>&), const char* plain) {
        QElapsedTimer timer;
        timer.start();
        exporter(temp.filePath(file), cards);
        const double exportMs = timer.nsecsElapsed() / 1e6;
        QFile written(temp.filePath(file));
        written.open(QIODevice::ReadOnly);
        report(what, exportMs, plainWrite(temp.filePath(QLatin1String(plain)), chunksOf(written.readAll(), count), false));
    };
    oneFile("one CSV file", QStringLiteral("csv/cards.csv"), &PLExporter::ExportToCSV, "plain-csv");
    oneFile("one ContactXML file", QStringLiteral("xml/cards.xml"), &PLExporter::ExportToXML, "plain-xml");

    QElapsedTimer timer;
    timer.start();
    PLExporter::ExportToVCard(temp.filePath(QStringLiteral("vcf")), cards);
    const double vcfMs = timer.nsecsElapsed() / 1e6;
    QList<QByteArray> vcards;
    const QDir vcfFolder(temp.filePath(QStringLiteral("vcf")));
    for (const QString& name : vcfFolder.entryList(QDir::Files)) {
        QFile file(vcfFolder.filePath(name));
        file.open(QIODevice::ReadOnly);
        vcards.append(file.readAll());
    }
    report("one vCard file per card", vcfMs, plainWrite(temp.filePath(QStringLiteral("plain-vcf")), vcards, true));
    return 0;
}
