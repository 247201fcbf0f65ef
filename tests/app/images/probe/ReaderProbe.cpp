// Reads one arriving file the way Pelmora does and prints the reading's status and its peak
// resident size in KiB. The reading runs in a child forked before anything is loaded: a process
// started from a large one carries that one's peak into its own figures (the kernel folds the old
// address space's peak in at exec), while a child of this small process starts from almost nothing.
// A JPEG is checked and converted to a card PDF, then the PDF is checked, classified and decoded.
#include "app/images/ArrivingFiles.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/CardPdfDecoding.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QVariantMap>

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int readFile(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString path = QFile::decodeName(argv[1]);
    if (QFileInfo(path).suffix().compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0) {
        GetJPEGCreator(path);
        QString converted;
        if (!ConvertJPEGToPDF(path, &converted))
            return 2;
        path = converted;
    }
    checkAddedFiles(path);
    QVariantMap result;
    checkPdfFile2(path, &result);
    CardBitmap front, back;
    return AcquireCardImageFromPDF(path, &front, &back);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 64;
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(readFile(argc, argv) & 0xFF);
    int status = 0;
    struct rusage usage {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status))
        return 1;
    std::printf("%d %ld\n", static_cast<signed char>(WEXITSTATUS(status)), usage.ru_maxrss);
    return 0;
}
