// Times the arriving-file work on scanner-sized input against a plain tool doing the least
// comparable job on the same files in the same run, and prints the ratios.
#include "app/images/ArrivingFiles.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

namespace {

constexpr int kRounds = 5;

// The best of a few rounds, each starting from a clean folder.
double bestMilliseconds(const std::function<void()>& prepare, const std::function<bool()>& work)
{
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        if (!work()) {
            std::fprintf(stderr, "a run failed\n");
            return -1;
        }
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
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

    // A scanner PDF: every page one colour JPEG of a 91 x 55 mm card at 300 dpi.
    testpdf::JpegOptions options;
    options.comment = QByteArray("Brevix Scan");
    const QByteArray cardJpeg = testpdf::makeJpeg(1075, 650, options);
    testpdf::Image image;
    image.width = 1075;
    image.height = 650;
    image.filter = "/DCTDecode";
    image.data = cardJpeg;
    testpdf::Document document;
    document.creator = "Brevix Scan";
    for (int i = 0; i < count; ++i)
        document.pages.push_back(testpdf::fullPage(image, 258, 156));
    const QString splitFolder = dir.filePath("split");
    const QString source = dir.filePath("scan.pdf");
    testpdf::writePdf(source, document);
    std::printf("%d pages, %lld bytes\n\n", count, (long long)QFileInfo(source).size());

    const QString qpdfOutput = splitFolder + "/page.pdf";
    const double qpdf = bestMilliseconds([&] { clearFolder(splitFolder); }, [&] {
        return QProcess::execute("qpdf", {"--split-pages", source, qpdfOutput}) == 0;
    });
    const QString copy = splitFolder + "/scan.pdf";
    const double ours = bestMilliseconds(
        [&] {
            clearFolder(splitFolder);
            QFile::copy(source, copy);
        },
        [&] {
            bool ok = false;
            return checkAddedFiles(copy) == 0 && divideMultiPagePDF(copy, &ok) && ok;
        });
    report("check and split (checkAddedFiles + divide)", ours, "qpdf --split-pages", qpdf);

    const QString jpegFolder = dir.filePath("jpegs");
    const QString copies = dir.filePath("copies");
    auto prepareJpegs = [&] {
        clearFolder(jpegFolder);
        for (int i = 0; i < count; ++i)
            testpdf::writeBytes(QStringLiteral("%1/card%2.jpg").arg(jpegFolder).arg(i), cardJpeg);
    };
    const double copying = bestMilliseconds(
        [&] {
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
        });
    const double converting = bestMilliseconds(prepareJpegs, [&] {
        for (int i = 0; i < count; ++i) {
            QString pdf;
            if (!ConvertJPEGToPDF(QStringLiteral("%1/card%2.jpg").arg(jpegFolder).arg(i), &pdf))
                return false;
        }
        return true;
    });
    report("JPEG to card PDF (ConvertJPEGToPDF)", converting, "copying the JPEGs", copying);
    return 0;
}
