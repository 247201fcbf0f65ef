// Times the binding's response reader on one query page of N records (typed records with text,
// number, date, boolean and nested fields) and `xmllint --noout` on the same file, best of five
// runs each, and prints both with their ratio. xmllint's time includes starting the process.
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

template <typename F>
double bestOfFive(F run)
{
    double best = 1e300;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

}

int main(int argc, char** argv)
{
    const int records = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    SforceServiceSvc::initialize();
    SoapTypeRegistry::instance().registerType(ens_BenchRecord__c::staticTypeInfo());
    const QByteArray document = page(records);
    QTemporaryFile file;
    if (!file.open() || file.write(document) != document.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write the document\n");
        return 1;
    }

    size_t decoded = 0;
    const double ours = bestOfFive([&] {
        SoapBindingResponse response;
        readSoapResponse(document, "query", SforceServiceSvc_queryResponse::staticTypeInfo(), false, response);
        const auto reply = std::dynamic_pointer_cast<SforceServiceSvc_queryResponse>(response.getbodyParts()->front());
        decoded = reply->result()->records().size();
    });
    bool xmllintRan = true;
    const double xmllint = bestOfFive([&] {
        QProcess process;
        process.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), file.fileName()});
        xmllintRan = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    });
    std::printf("document: %d records, %lld bytes\n", records, static_cast<long long>(document.size()));
    std::printf("binding reader: %.2f ms (%zu records decoded)\n", ours, decoded);
    if (!xmllintRan) {
        std::printf("xmllint --noout: not available\n");
        return 0;
    }
    std::printf("xmllint --noout: %.2f ms (process included)\n", xmllint);
    std::printf("ratio binding / xmllint: %.2f\n", ours / xmllint);
    return 0;
}
