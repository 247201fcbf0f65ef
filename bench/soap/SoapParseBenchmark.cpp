// Times the binding's response reader on one query page of N records (typed records with text,
// number, date, boolean and nested fields) against libxml2 parsing the same bytes in this process,
// rounds alternating, and `xmllint --noout` on the same file (its time includes starting the
// process); prints the medians, their ratios and the machine's load. With `reader` or `libxml`
// only that side runs, round after round (for a profiler).
//
//   bench_soap [records] [rounds] [reader|libxml]      (2,000 records and 5 rounds unless given)
#include "bench/support/BenchRuns.h"
#include "plugin/SforceService/SforceServiceSvc.h"
#include "plugin/SforceService/SforceServiceSvcBodies.h"
#include "plugin/SforceService/SoapNamespaces.h"
#include "plugin/SforceService/SoapResponseReader.h"
#include "plugin/SforceService/SoapTypeRegistry.h"
#include "tests/support/crm/FakeCrmService.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <libxml/parser.h>

namespace {

class ens_BenchRecord__c : public ens_sObject {
    SOAP_VALUE_TYPE(ens_BenchRecord__c, ens_sObject)
};

using namespace SoapField;
SOAP_TYPE_INFO(ens_BenchRecord__c, kPrefixRecord, "ens:BenchRecord__c", &ens_sObject::staticTypeInfo(),
    number("AnnualRevenue"), text("BillingCity"), text("BillingCountry"), text("BillingStreet"), date("CreatedDate"),
    text("Description"), boolean("IsDeleted"), text("Name"), object("Owner", "ens_BenchRecord__c"), text("Phone"),
    text("Website"))

QByteArray page(int records)
{
    QString body = QStringLiteral("<queryResponse><result><done>true</done><queryLocator xsi:nil=\"true\"/>");
    for (int i = 0; i < records; ++i) {
        body += QStringLiteral(
            "<records xsi:type=\"sf:BenchRecord__c\"><sf:Id>001000000000%1AAA</sf:Id><sf:AnnualRevenue>%2.5</sf:AnnualRevenue>"
            "<sf:BillingCity>Tokyo</sf:BillingCity><sf:BillingCountry>Japan</sf:BillingCountry>"
            "<sf:BillingStreet>1-2-3 Chiyoda &amp; Co Bldg. %1F</sf:BillingStreet>"
            "<sf:CreatedDate>2010-05-12T10:20:30.000Z</sf:CreatedDate><sf:Description xsi:nil=\"true\"/>"
            "<sf:IsDeleted>false</sf:IsDeleted><sf:Name>Account number %1 &lt;ltd&gt;</sf:Name>"
            "<sf:Owner xsi:type=\"sf:BenchRecord__c\"><sf:Id>005000000000001AAA</sf:Id><sf:Name>Owner</sf:Name></sf:Owner>"
            "<sf:Phone>+81 3 1234 %1</sf:Phone><sf:Website>https://example.invalid/%1</sf:Website></records>")
                    .arg(i, 6, 10, QLatin1Char('0'))
                    .arg(i * 1000);
    }
    body += QStringLiteral("<size>%1</size></result></queryResponse>").arg(records);
    return FakeCrmService::envelope(body);
}

double msOf(const std::function<void()>& run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return timer.nsecsElapsed() / 1e6;
}

}

int main(int argc, char** argv)
{
    const int records = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    SforceServiceSvc::initialize();
    SoapTypeRegistry::instance().registerType(ens_BenchRecord__c::staticTypeInfo());
    const QByteArray document = page(records);
    QTemporaryFile file;
    if (!file.open() || file.write(document) != document.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write the document\n");
        return 1;
    }

    const auto readResponse = [&] {
        SoapBindingResponse response;
        readSoapResponse(document, "query", SforceServiceSvc_queryResponse::staticTypeInfo(), false, response);
    };
    size_t decoded = 0;
    {
        SoapBindingResponse response;
        readSoapResponse(document, "query", SforceServiceSvc_queryResponse::staticTypeInfo(), false, response);
        const auto reply = std::dynamic_pointer_cast<SforceServiceSvc_queryResponse>(response.getbodyParts()->front());
        decoded = reply->result()->records().size();
    }
    // libxml2 building the same tree from the same bytes, with the options the reader gives it.
    const auto parseOnly = [&] {
        xmlDocPtr doc = xmlReadMemory(document.constData(), int(document.size()), nullptr, nullptr,
                                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        xmlFreeDoc(doc);
    };
    readResponse();
    parseOnly();
    const QByteArray alone = argc > 3 ? QByteArray(argv[3]) : QByteArray();
    if (alone == "reader" || alone == "libxml") {
        const std::function<void()> side = alone == "reader" ? std::function<void()>(readResponse) : parseOnly;
        std::vector<double> times;
        for (int round = 0; round < rounds; ++round)
            times.push_back(msOf(side));
        std::printf("%s alone: %.2f ms, median of %d; load %s\n", alone.constData(), medianOf(times), rounds, machineLoad().constData());
        return 0;
    }
    std::vector<double> ours;
    std::vector<double> libxml;
    // Each timed call follows an untimed one of its own kind, so that neither is timed on the heap
    // the other left: dropping a response can hand its pages back to the system (the next call
    // faults them in again) or leave freed blocks for the next large request to merge.
    const auto timed = [](const std::function<void()>& run) {
        run();
        return msOf(run);
    };
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            ours.push_back(timed(readResponse));
            libxml.push_back(timed(parseOnly));
        } else {
            libxml.push_back(timed(parseOnly));
            ours.push_back(timed(readResponse));
        }
    }
    std::vector<double> xmllint;
    bool xmllintRan = true;
    for (int round = 0; round < rounds && xmllintRan; ++round) {
        xmllint.push_back(msOf([&] {
            QProcess process;
            process.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), file.fileName()});
            xmllintRan = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        }));
    }
    std::printf("document: %d records, %lld bytes; median of %d; load %s\n", records, static_cast<long long>(document.size()), rounds,
                machineLoad().constData());
    std::printf("binding reader: %.2f ms (%zu records decoded)\n", medianOf(ours), decoded);
    std::printf("libxml2 parse in this process: %.2f ms\n", medianOf(libxml));
    std::printf("ratio binding / libxml2 in process: %.2f\n", medianOf(ours) / medianOf(libxml));
    if (!xmllintRan) {
        std::printf("xmllint --noout: not available\n");
        return 0;
    }
    std::printf("xmllint --noout: %.2f ms (process included)\n", medianOf(xmllint));
    std::printf("ratio binding / xmllint: %.2f\n", medianOf(ours) / medianOf(xmllint));
    return 0;
}
