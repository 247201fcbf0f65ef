// Selecting 200 cards one after another in the image pane, each its own 300 dpi scanner card
// PDF: the time from the selection to the painted image, against rendering the same pages at
// the same size with Qt PDF alone. Prints the medians and their ratio; never fails on a time.
#include "app/core/OpenDatabase.h"
#include "app/ui/PLImageController.h"
#include "app/ui/views/PLImageView.h"
#include "app/ui/views/PLScrollView.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/pdf/PdfPageRenderer.h"
#include "tests/support/cards/SyntheticCard.h"
#include "tests/support/pdf/TestPdf.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kCards = 200;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    PreferenceDomain::setStandardDomain(QStringLiteral("bench.imagepane"), dir.filePath(QStringLiteral("prefs")));
    OpenDatabase database;
    database.choose(dir.filePath(QStringLiteral("Bench.cxdb")));
    const QDir images(database.folder() + QStringLiteral("/Images"));
    QDir().mkpath(images.path());

    // 1,075 x 650 pixel cards at 300 dpi, each a file of its own.
    QList<CardDict> cards;
    for (int i = 0; i < kCards; ++i) {
        testpdf::Document document = testpdf::scannerDocument(0);
        document.pages.push_back(testpdf::fullPage(testpdf::jpegImage(englishCard(i).convertToFormat(QImage::Format_RGB888)), 258, 156));
        const QString name = QStringLiteral("C%1_N1.pdf").arg(i);
        if (!testpdf::writePdf(images.filePath(name), document))
            return 1;
        cards.append({{QStringLiteral("cardID"), QStringLiteral("C%1").arg(i)}, {QStringLiteral("face_Image_File"), name}});
    }

    QWidget pane;
    auto* layout = new QVBoxLayout(&pane);
    auto* faceScroll = new PLScrollView(&pane);
    auto* backScroll = new PLScrollView(&pane);
    layout->addWidget(faceScroll);
    layout->addWidget(backScroll);
    backScroll->hide();
    auto* face = new PLImageView;
    face->setScrollView(faceScroll);
    auto* back = new PLImageView;
    back->setScrollView(backScroll);
    pane.resize(800, 500);
    pane.show();
    QApplication::processEvents();

    PLImageController controller(database);
    controller.setScrollViews(faceScroll, backScroll);
    controller.setImageViews(face, back);

    std::vector<double> paneMs, renderMs;
    std::vector<QSize> shownSizes;
    for (const CardDict& card : cards) {
        QElapsedTimer timer;
        timer.start();
        controller.setCardData({card}, PLImageController::kModeSelected);
        face->repaint();
        paneMs.push_back(timer.nsecsElapsed() / 1e6);
        shownSizes.push_back((face->imageSize() * face->zoomFactor()).toSize());
    }
    for (int i = 0; i < kCards; ++i) {
        QElapsedTimer timer;
        timer.start();
        const auto renderer = PdfPageRenderer::openFile(images.filePath(cards[i].value(QStringLiteral("face_Image_File")).toString()));
        const QImage page = renderer ? renderer->render(0, shownSizes[size_t(i)]) : QImage();
        renderMs.push_back(timer.nsecsElapsed() / 1e6);
        if (page.isNull())
            return 1;
    }
    const double shown = median(paneMs);
    const double anchor = median(renderMs);
    std::printf("cards: %d, shown at %dx%d\n", kCards, shownSizes.front().width(), shownSizes.front().height());
    std::printf("selection to painted image: median %.2f ms\n", shown);
    std::printf("Qt PDF render of the same page at that size: median %.2f ms\n", anchor);
    std::printf("ratio pane / Qt PDF: %.2f\n", shown / anchor);
    return 0;
}
