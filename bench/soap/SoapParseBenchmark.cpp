// Times the binding's response reader on query pages of N Contact and of N Lead records as the
// service answers them (fields in the order the query selects them, dates and date-times, a nested
// record, empty and nil fields), the page's records then taken as the plug-in's query provider
// takes them and everything released; against libxml2 parsing and freeing the same bytes in this
// process, and `xmllint --noout` on the same file (its time includes starting the process).
// Warm: rounds alternating in one process, medians of the elapsed time and of the thread's
// processor time. Cold: the first page read in a fresh process whose binding is set up (as after
// the login), median of as many processes as rounds.
// Prints the times, their ratios and the machine's load. With `reader` or `libxml` only that side
// runs, on the Contact page, round after round (for a profiler).
//
//   bench_soap [records] [rounds] [reader|libxml]      (2,000 records and 5 rounds unless given)
#include "bench/support/BenchRuns.h"
#include "plugin/SforceService/SforceServiceSvc.h"
#include "plugin/SforceService/SforceServiceSvcBodies.h"
#include "plugin/SforceService/SoapResponseReader.h"
#include "tests/support/crm/FakeCrmService.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryFile>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <libxml/parser.h>

namespace {

QString number(int i, int width) { return QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0')); }

// A date-time as the service writes it, a few minutes apart from record to record.
QString stamp(int i, int day)
{
    return QStringLiteral("2012-%1-%2T%3:%4:%5.000Z")
        .arg(number(1 + i % 12, 2), number(1 + (day + i) % 28, 2), number(i % 24, 2), number(i % 60, 2), number((i * 7) % 60, 2));
}

QString contact(int i)
{
    return QStringLiteral(
               "<records xsi:type=\"sf:Contact\"><sf:Id>003A000000%1AAA</sf:Id>"
               "<sf:FirstName>Hanako</sf:FirstName><sf:LastName>Yamada %1</sf:LastName><sf:Name>Hanako Yamada %1</sf:Name>"
               "<sf:Email>hanako.yamada%1@example.co.jp</sf:Email><sf:Title>Sales Manager</sf:Title>"
               "<sf:Department>Overseas Sales &amp; Marketing</sf:Department><sf:Phone>+81 3 5555 %2</sf:Phone>"
               "<sf:MobilePhone xsi:nil=\"true\"/><sf:MailingStreet>1-2-3 Marunouchi, Chiyoda-ku</sf:MailingStreet>"
               "<sf:MailingCity>Tokyo</sf:MailingCity><sf:MailingState xsi:nil=\"true\"/>"
               "<sf:MailingPostalCode>100-0005</sf:MailingPostalCode><sf:MailingCountry>Japan</sf:MailingCountry>"
               "<sf:Birthdate>1975-%3-%4</sf:Birthdate><sf:AccountId>001A000000%1AAA</sf:AccountId>"
               "<sf:Account xsi:type=\"sf:Account\"><sf:Id xsi:nil=\"true\"/><sf:Name>Yamada Trading Co., Ltd. %1</sf:Name></sf:Account>"
               "<sf:OwnerId>005A0000001bcdeAAA</sf:OwnerId><sf:CreatedDate>%5</sf:CreatedDate>"
               "<sf:LastModifiedDate>%6</sf:LastModifiedDate><sf:SystemModstamp>%6</sf:SystemModstamp>"
               "<sf:LastActivityDate>2013-%3-%4</sf:LastActivityDate><sf:IsDeleted>false</sf:IsDeleted>"
               "<sf:Description></sf:Description></records>")
        .arg(number(i, 5), number(i % 10000, 4), number(1 + i % 12, 2), number(1 + i % 28, 2), stamp(i, 0), stamp(i, 9));
}

QString lead(int i)
{
    return QStringLiteral(
               "<records xsi:type=\"sf:Lead\"><sf:Id>00QA000000%1AAA</sf:Id>"
               "<sf:FirstName>John</sf:FirstName><sf:LastName>Smith %1</sf:LastName><sf:Name>John Smith %1</sf:Name>"
               "<sf:Company>Acme Widgets Inc.</sf:Company><sf:Title>Purchasing Director</sf:Title>"
               "<sf:Email>john.smith%1@acme-widgets.example</sf:Email><sf:Phone>(217) 555-%2</sf:Phone>"
               "<sf:Street>1 Main Street</sf:Street><sf:City>Springfield</sf:City><sf:State>IL</sf:State>"
               "<sf:PostalCode>62701</sf:PostalCode><sf:Country>USA</sf:Country><sf:Status>Open - Not Contacted</sf:Status>"
               "<sf:LeadSource>Trade Show</sf:LeadSource><sf:AnnualRevenue>%3.0</sf:AnnualRevenue>"
               "<sf:NumberOfEmployees>%4</sf:NumberOfEmployees><sf:IsConverted>false</sf:IsConverted>"
               "<sf:ConvertedDate xsi:nil=\"true\"/><sf:CreatedById>005A0000001bcdeAAA</sf:CreatedById>"
               "<sf:CreatedBy xsi:type=\"sf:User\"><sf:Id xsi:nil=\"true\"/><sf:Name>Taro Suzuki</sf:Name></sf:CreatedBy>"
               "<sf:CreatedDate>%5</sf:CreatedDate><sf:LastModifiedDate>%6</sf:LastModifiedDate>"
               "<sf:SystemModstamp>%6</sf:SystemModstamp><sf:LastActivityDate>2013-%7-%8</sf:LastActivityDate>"
               "<sf:IsDeleted>false</sf:IsDeleted></records>")
        .arg(number(i, 5), number(i % 10000, 4), QString::number(250000 + i * 1000), QString::number(10 + i % 500), stamp(i, 3),
             stamp(i, 17), number(1 + i % 12, 2), number(1 + i % 28, 2));
}

QByteArray page(int records, QString (*record)(int))
{
    QString body = QStringLiteral("<queryResponse><result><done>true</done><queryLocator xsi:nil=\"true\"/>");
    for (int i = 0; i < records; ++i)
        body += record(i);
    body += QStringLiteral("<size>%1</size></result></queryResponse>").arg(records);
    return FakeCrmService::envelope(body);
}

QByteArray page(int records, const QByteArray& kind) { return page(records, kind == "lead" ? lead : contact); }

// The reader's whole part: the response read, its records taken as the query provider takes
// them, and all of it released. Answers the records taken.
size_t readPage(const QByteArray& document)
{
    std::vector<std::shared_ptr<ens_sObject>> taken;
    {
        SoapBindingResponse response;
        readSoapResponse(document, "query", SforceServiceSvc_queryResponse::staticTypeInfo(), false, response);
        const auto& parts = response.getbodyParts();
        const auto reply = parts && !parts->empty() ? std::dynamic_pointer_cast<SforceServiceSvc_queryResponse>(parts->front()) : nullptr;
        const auto result = reply ? reply->result() : nullptr;
        if (result) {
            for (const auto& record : result->records())
                taken.push_back(record);
        }
    }
    return taken.size();
}

// libxml2 building the same tree from the same bytes, with the options the reader gives it.
void parseOnly(const QByteArray& document)
{
    xmlDocPtr doc = xmlReadMemory(document.constData(), int(document.size()), nullptr, nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlFreeDoc(doc);
}

double msOf(const std::function<void()>& run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return timer.nsecsElapsed() / 1e6;
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// In a child process: the first read of a page by one side, in milliseconds.
int coldChild(const QByteArray& kind, const QByteArray& side, int records)
{
    const QByteArray document = page(records, kind);
    double ms = 0;
    if (side == "reader") {
        SforceServiceSvc::initialize();
        ms = msOf([&] { readPage(document); });
    } else {
        xmlInitParser();
        ms = msOf([&] { parseOnly(document); });
    }
    std::printf("%.3f\n", ms);
    return 0;
}

double coldMedian(const QByteArray& kind, const QByteArray& side, int records, int rounds)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--cold"), QString::fromLatin1(kind), QString::fromLatin1(side), QString::number(records)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            return 0;
        times.push_back(child.readAllStandardOutput().trimmed().toDouble());
    }
    return medianOf(times);
}

// Elapsed and processor time of the reading thread: on a busy machine the elapsed time also holds
// the waits for a core, which the processor time leaves out.
struct Warm {
    double reader = 0;
    double libxml = 0;
    double readerCpu = 0;
    double libxmlCpu = 0;
    size_t taken = 0;
};

Warm warmMedians(const QByteArray& document, int rounds)
{
    Warm warm;
    std::vector<double> ours;
    std::vector<double> libxml;
    std::vector<double> oursCpu;
    std::vector<double> libxmlCpu;
    const auto read = [&] { warm.taken = readPage(document); };
    const auto parse = [&] { parseOnly(document); };
    // Each timed call follows an untimed one of its own kind, so that neither is timed on the heap
    // the other left: dropping a response can hand its pages back to the system (the next call
    // faults them in again) or leave freed blocks for the next large request to merge.
    const auto timed = [](const std::function<void()>& run, std::vector<double>& wall, std::vector<double>& cpu) {
        run();
        const double cpuBefore = threadCpuMs();
        wall.push_back(msOf(run));
        cpu.push_back(threadCpuMs() - cpuBefore);
    };
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            timed(read, ours, oursCpu);
            timed(parse, libxml, libxmlCpu);
        } else {
            timed(parse, libxml, libxmlCpu);
            timed(read, ours, oursCpu);
        }
    }
    warm.reader = medianOf(ours);
    warm.libxml = medianOf(libxml);
    warm.readerCpu = medianOf(oursCpu);
    warm.libxmlCpu = medianOf(libxmlCpu);
    return warm;
}

double xmllintMedian(const QByteArray& document, int rounds)
{
    QTemporaryFile file;
    if (!file.open() || file.write(document) != document.size() || !file.flush())
        return 0;
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        bool ran = false;
        times.push_back(msOf([&] {
            QProcess process;
            process.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), file.fileName()});
            ran = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        }));
        if (!ran)
            return 0;
    }
    return medianOf(times);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--cold") == 0)
        return coldChild(argv[2], argv[3], std::max(1, atoi(argv[4])));
    QCoreApplication application(argc, argv);
    const int records = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    SforceServiceSvc::initialize();

    const QByteArray alone = argc > 3 ? QByteArray(argv[3]) : QByteArray();
    if (alone == "reader" || alone == "libxml") {
        const QByteArray document = page(records, "contact");
        std::vector<double> times;
        for (int round = 0; round < rounds; ++round)
            times.push_back(msOf([&] { alone == "reader" ? void(readPage(document)) : parseOnly(document); }));
        std::printf("%s alone: %.2f ms, median of %d; load %s\n", alone.constData(), medianOf(times), rounds, machineLoad().constData());
        return 0;
    }

    std::printf("%d records a page; medians of %d; load %s\n", records, rounds, machineLoad().constData());
    for (const char* kind : {"contact", "lead"}) {
        const QByteArray document = page(records, kind);
        const Warm warm = warmMedians(document, rounds);
        const double coldReader = coldMedian(kind, "reader", records, rounds);
        const double coldLibxml = coldMedian(kind, "libxml", records, rounds);
        const double xmllint = xmllintMedian(document, rounds);
        std::printf("\n%s page: %lld bytes, %zu records taken\n", kind, static_cast<long long>(document.size()), warm.taken);
        std::printf("  warm: binding reader %.2f ms, libxml2 %.2f ms, ratio %.2f\n", warm.reader, warm.libxml, warm.reader / warm.libxml);
        std::printf("  warm, processor time: binding reader %.2f ms, libxml2 %.2f ms, ratio %.2f\n", warm.readerCpu, warm.libxmlCpu,
                    warm.readerCpu / warm.libxmlCpu);
        if (coldReader > 0 && coldLibxml > 0)
            std::printf("  cold: binding reader %.2f ms, libxml2 %.2f ms, ratio %.2f\n", coldReader, coldLibxml, coldReader / coldLibxml);
        else
            std::printf("  cold: a child process failed\n");
        if (xmllint > 0)
            std::printf("  xmllint --noout: %.2f ms (process included), ratio binding warm / xmllint %.2f\n", xmllint, warm.reader / xmllint);
        else
            std::printf("  xmllint --noout: not available\n");
    }
    return 0;
}
