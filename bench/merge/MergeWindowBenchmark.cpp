// Opening the merge window in mode 0 on 5,000 cards of which 50 are candidates: the time to the
// first painted page against the time of the store query alone, and what checking every card's
// front file would cost instead. Prints medians of a few runs; never fails on a time.
#include "app/images/CardPdfCheck.h"
#include "app/images/merge/PLCardMergerWindowController.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "tests/support/merge/MergeFixture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kCards = 5000;
constexpr int kCandidateEvery = 100; // 50 candidates
constexpr int kRuns = 5;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool build(mergefixture::Database& db)
{
    const QString shared = db.imagesFolder() + QStringLiteral("/shared_front.pdf");
    if (!mergefixture::writeCardPdf(shared, 0))
        return false;
    for (int i = 1; i <= kCards; ++i) {
        const bool candidate = i % kCandidateEvery == 0;
        ManagedObjectPtr card = db.addCard(i, mergefixture::CardOptions{.writeFront = candidate});
        if (!card)
            return false;
        if (!candidate) {
            // Cards that already have a back still have a real front file to open.
            const QString id = mergefixture::Database::cardID(i);
            const QString front = db.imagesFolder() + QLatin1Char('/') + id + QStringLiteral("_N1.pdf");
            if (::link(QFile::encodeName(shared).constData(), QFile::encodeName(front).constData()) != 0)
                return false;
            card->setValue("back_Image_File", id + QStringLiteral("_N2.pdf"));
            card->setValue("back_Image_page", 1);
        }
    }
    return db.save() == 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    PreferenceDomain::setStandardDomain(QStringLiteral("com.orvane.zor.Pelmora"), dir.filePath(QStringLiteral("prefs")));
    QElapsedTimer timer;
    timer.start();
    auto db = mergefixture::Database::create(dir.path());
    if (!db || !build(*db)) {
        std::fprintf(stderr, "could not build the database\n");
        return 1;
    }
    std::printf("database: %d cards, %d candidates, built in %.0f ms\n", kCards, kCards / kCandidateEvery,
                double(timer.elapsed()));
    const QString path = db->path();
    db.reset();

    std::vector<double> query, open, everyFront;
    qsizetype candidates = 0;
    for (int run = 0; run < kRuns; ++run) {
        {
            auto fresh = mergefixture::Database::open(path);
            timer.restart();
            const ManagedObjectList cards = fresh->context().executeFetchRequest(
                FetchRequest{QString::fromLatin1(CardStore::kEntityCard), keyEquals("deletedFlag", 0), {{"accept_Date", true}}});
            query.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (run == 0) {
                timer.restart();
                for (const ManagedObjectPtr& card : cards)
                    isImagePdf(QDir(fresh->imagesFolder()).filePath(card->stringValue("face_Image_File")), 1);
                everyFront.push_back(double(timer.nsecsElapsed()) / 1e6);
            }
        }
        {
            auto fresh = mergefixture::Database::open(path);
            mergefixture::Host host(*fresh);
            host.select(fresh->card(mergefixture::Database::cardID(kCandidateEvery)));
            timer.restart();
            PLCardMergerWindowController window;
            window.setMainWinController(&host);
            if (!window.prepareWindow(PLMergeModel::kModeSearch, {}))
                return 1;
            window.show();
            window.repaint();
            QApplication::processEvents();
            open.push_back(double(timer.nsecsElapsed()) / 1e6);
            candidates = window.model().arrangedCandidates().size();
            window.hide();
        }
    }
    const double q = median(query), o = median(open);
    std::printf("candidates found:                      %lld\n", static_cast<long long>(candidates));
    std::printf("store query alone (median of %d):       %8.1f ms\n", kRuns, q);
    std::printf("first painted page (median of %d):      %8.1f ms\n", kRuns, o);
    std::printf("ratio page / query:                    %8.2f\n", o / q);
    std::printf("checking every front file instead:     %8.1f ms (%.1f x the first page)\n", everyFront.front(),
                everyFront.front() / o);
    return 0;
}
