// Times the arriving-file work on scanner-sized input against a plain tool doing the least
// comparable job on the same files in the same run, and prints the medians of five rounds, their
// ratios and the machine's load. Every page is a card of its own as a scanner gives it: a colour
// JPEG at 300 dpi of about 90 KB, paper grain, print and a logo, no two pages alike.
//
//   bench_pdf [pages]      (200 unless given)
#include "app/images/ArrivingFiles.h"
#include "bench/support/BenchRuns.h"
#include "tests/support/pdf/TestPdf.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>

namespace {

constexpr int kRounds = 5;

struct Job {
    std::function<void()> prepare;
    std::function<bool()> work;
    std::vector<double> times;
};

// Rounds of the subject and its anchor, alternating which goes first, each from a clean folder;
// the medians of both.
std::pair<double, double> alternate(Job subject, Job anchor)
{
    for (int round = 0; round < kRounds; ++round) {
        for (Job* job : round % 2 == 0 ? std::array<Job*, 2>{&subject, &anchor} : std::array<Job*, 2>{&anchor, &subject}) {
            job->prepare();
            QElapsedTimer timer;
            timer.start();
            if (!job->work()) {
                std::fprintf(stderr, "a run failed\n");
                return {-1, -1};
            }
            job->times.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    return {medianOf(subject.times), medianOf(anchor.times)};
}

// A 91 x 55 mm card scanned at 300 dpi: paper with grain, lines of print and a coloured logo,
// different for every seed; JPEG at the quality a scanner writes, with its density and comment.
QByteArray scannedCard(quint32 seed)
{
    QRandomGenerator random(seed);
    QImage card(1075, 650, QImage::Format_RGB888);
    card.setDotsPerMeterX(11811);
    card.setDotsPerMeterY(11811);
    for (int y = 0; y < card.height(); ++y) {
        uchar* line = card.scanLine(y);
        for (int x = 0; x < card.width() * 3; x += 3) {
            const int grain = int(random.bounded(9)) - 4;
            line[x] = uchar(std::clamp(238 + grain, 0, 255));
            line[x + 1] = uchar(std::clamp(234 + grain, 0, 255));
            line[x + 2] = uchar(std::clamp(226 + grain, 0, 255));
        }
    }
    QPainter painter(&card);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor::fromHsv(int(random.bounded(360)), 180, 160));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRect(60 + int(random.bounded(40)), 60, 160, 160));
    painter.setPen(QColor(30, 30, 40));
    for (int row = 0; row < 9; ++row) {
        QFont font(QStringLiteral("Sans"));
        font.setPixelSize(row == 0 ? 56 : 30);
        painter.setFont(font);
        painter.drawText(QPoint(row == 0 ? 300 : 80, 120 + row * 56),
                         QStringLiteral("Card %1 line %2 +81 3 %3").arg(seed).arg(row).arg(random.bounded(100000)));
    }
    painter.end();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(85);
    writer.write(card);
    return testpdf::insertJpegSegment(jpeg, 0xFE, QByteArrayLiteral("Brevix Scan"));
}

void clearFolder(const QString& folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

void report(const char* what, double ours, const char* other, double theirs)
{
    std::printf("%-44s %9.1f ms\n%-44s %9.1f ms\nratio %.2f\n\n", what, ours, other, theirs,
                theirs > 0 ? ours / theirs : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(2, std::atoi(argv[1])) : 200;
    QTemporaryDir dir;

    // A scanner PDF: every page one colour JPEG of a card at 300 dpi.
    std::vector<QByteArray> cards;
    qint64 jpegBytes = 0;
    for (int i = 0; i < count; ++i) {
        cards.push_back(scannedCard(quint32(i + 1)));
        jpegBytes += cards.back().size();
    }
    testpdf::Document document;
    document.creator = "Brevix Scan";
    for (const QByteArray& jpeg : cards) {
        testpdf::Image image;
        image.width = 1075;
        image.height = 650;
        image.filter = "/DCTDecode";
        image.data = jpeg;
        document.pages.push_back(testpdf::fullPage(image, 258, 156));
    }
    const QString splitFolder = dir.filePath("split");
    const QString source = dir.filePath("scan.pdf");
    testpdf::writePdf(source, document);
    std::printf("%d pages, %lld bytes, %.1f KB of JPEG a page; load %s\n\n", count, (long long)QFileInfo(source).size(),
                double(jpegBytes) / count / 1000.0, machineLoad().constData());

    const QString qpdfOutput = splitFolder + "/page.pdf";
    const QString copy = splitFolder + "/scan.pdf";
    const auto [ours, qpdf] = alternate({[&] {
                                             clearFolder(splitFolder);
                                             QFile::copy(source, copy);
                                         },
                                         [&] {
                                             bool ok = false;
                                             return checkAddedFiles(copy) == 0 && divideMultiPagePDF(copy, &ok) && ok;
                                         },
                                         {}},
                                        {[&] { clearFolder(splitFolder); },
                                         [&] {
                                             return QProcess::execute("qpdf", {"--split-pages", source, qpdfOutput}) == 0;
                                         },
                                         {}});
    report("check and split (checkAddedFiles + divide)", ours, "qpdf --split-pages", qpdf);

    const QString jpegFolder = dir.filePath("jpegs");
    const QString copies = dir.filePath("copies");
    auto prepareJpegs = [&] {
        clearFolder(jpegFolder);
        for (int i = 0; i < count; ++i)
            testpdf::writeBytes(QStringLiteral("%1/card%2.jpg").arg(jpegFolder).arg(i), cards[size_t(i)]);
    };
    const auto [converting, copying] =
        alternate({prepareJpegs,
                   [&] {
                       for (int i = 0; i < count; ++i) {
                           QString pdf;
                           if (!ConvertJPEGToPDF(QStringLiteral("%1/card%2.jpg").arg(jpegFolder).arg(i), &pdf))
                               return false;
                       }
                       return true;
                   },
                   {}},
                  {[&] {
                       prepareJpegs();
                       clearFolder(copies);
                   },
                   [&] {
                       for (int i = 0; i < count; ++i) {
                           std::error_code error;
                           std::filesystem::copy_file(QStringLiteral("%1/card%2.jpg").arg(jpegFolder).arg(i).toStdString(),
                                                      QStringLiteral("%1/card%2.jpg").arg(copies).arg(i).toStdString(), error);
                           if (error)
                               return false;
                       }
                       return true;
                   },
                   {}});
    report("JPEG to card PDF (ConvertJPEGToPDF)", converting, "copying the JPEGs", copying);
    return 0;
}
