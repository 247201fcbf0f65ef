// Times the upload chain on N cards (default 1,000), each with a two-page card PDF (two
// attachments), in batches of 100 against the fake service on loopback. Prints cards per second,
// the number of HTTP calls, and the ratio of the plug-in's CPU time on the main thread (conversion,
// PDF splitting, booking) to the time spent in the binding's HTTP exchanges. One call is in flight
// at a time and the main thread only waits while it runs, so the exchange time is the run's wall
// time less that CPU time; it includes the fake service's own work, done in the same process.
#include "plugin/Common/GlobalData.h"
#include "plugin/Logic/CardHandler.h"
#include "plugin/Logic/LoginInfoHandler.h"
#include "plugin/SforceService/SforceServiceSvc.h"
#include "platform/foundation/NotificationCenter.h"
#include "tests/support/crm/FakeCrmService.h"
#include "tests/support/pdf/TestPdf.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

double threadCpuSeconds()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

}

int main(int argc, char** argv)
{
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;

    FakeCrmService fake;
    SforceServiceSvc::setLoginBaseUrl(fake.baseUrl());
    GlobalData global;
    global.setSFTimeOut(60);
    global.setSFADDTimeOut(120);
    LoginInfo login;
    login.setUserName("user@example.com");
    login.setPassword("secret");
    if (LoginInfoHandler(global).Login(login) != 0) {
        std::fprintf(stderr, "login to the fake service failed\n");
        return 1;
    }

    QTemporaryDir images;
    const QString pdf = images.filePath("card.pdf");
    testpdf::writePdf(pdf, testpdf::scannerDocument(2, "Brevix Pelmora"));
    std::vector<std::shared_ptr<CardInfo>> cards;
    for (int i = 0; i < count; ++i) {
        auto card = std::make_shared<CardInfo>();
        card->FullName = QStringLiteral("Card %1").arg(i);
        card->LastName = QStringLiteral("Card%1").arg(i);
        card->OrganizationName = QStringLiteral("Company %1").arg(i);
        card->Email = QStringLiteral("card%1@example.com").arg(i);
        card->ImageFilePathN1 = pdf;
        cards.push_back(card);
    }

    const int callsBefore = int(fake.requests().size());
    CardHandler handler(global);
    int uploaded = 0;
    bool done = false;
    NotificationCenter::defaultCenter().addObserver(&handler, kQDLEVENTLOUPLOADCOMPLETED, [&](const Notification& n) {
        for (const auto& row : n.userInfo.value("KEY_CODE").value<UploadResults>())
            uploaded += row->Status == kUploadDone ? 1 : 0;
        done = true;
    });
    const double cpuStart = threadCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    for (int first = 0; first < count; first += 100) {
        const std::vector<std::shared_ptr<CardInfo>> batch(cards.begin() + first, cards.begin() + std::min(count, first + 100));
        done = false;
        handler.UploadAsACAsync(batch, nullptr);
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = threadCpuSeconds() - cpuStart;
    const double waitSeconds = std::max(0.0, seconds - cpu);
    std::printf("cards: %d (%d uploaded) in %.2f s: %.1f cards per second\n", count, uploaded, seconds, count / seconds);
    std::printf("HTTP calls: %d\n", int(fake.requests().size()) - callsBefore);
    std::printf("plug-in CPU on the main thread: %.2f s; HTTP exchanges: %.2f s; ratio %.2f\n", cpu,
        waitSeconds, waitSeconds > 0 ? cpu / waitSeconds : 0.0);
    NotificationCenter::defaultCenter().removeObserver(&handler);
    return uploaded == count ? 0 : 1;
}
