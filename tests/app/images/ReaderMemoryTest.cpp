// Hostile card files are refused without exhausting memory. Each file is read by the reader probe,
// which reads it in a child of its own and reports the child's peak resident size from the kernel
// (wait4), so the figure depends neither on this test's own memory nor on what ran before.
#include "tests/support/pdf/TestPdf.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using testpdf::Document;
using testpdf::Image;
using testpdf::Page;

constexpr long kPeakLimitKiB = 64 * 1024;
// Far past the decoding ceiling: a reader without one holds all of it.
constexpr qint64 kInflatedBytes = qint64(256) << 20;
constexpr const char* kTwiceDeflated = "[/FlateDecode /FlateDecode]";

struct Reading {
    bool exited = false;
    int status = -1;
    long peakKiB = 0;
};

Reading readInOwnProcess(const QString& path)
{
    Reading reading;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return reading;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    const QByteArray file = QFile::encodeName(path);
    char* argv[] = {const_cast<char*>(PELMORA_READER_PROBE), const_cast<char*>(file.constData()), nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, PELMORA_READER_PROBE, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    QByteArray printed;
    char buffer[256];
    for (ssize_t got; spawned == 0 && (got = ::read(out[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0)
            printed.append(buffer, got);
        else if (errno != EINTR)
            break;
    }
    ::close(out[0]);
    if (spawned != 0)
        return reading;
    int waitStatus = 0;
    if (::waitpid(pid, &waitStatus, 0) != pid)
        return reading;
    const QList<QByteArray> fields = printed.trimmed().split(' ');
    reading.exited = WIFEXITED(waitStatus) && WEXITSTATUS(waitStatus) == 0 && fields.size() == 2;
    if (reading.exited) {
        reading.status = fields[0].toInt();
        reading.peakKiB = fields[1].toLong();
    }
    return reading;
}

QByteArray onePageCard(const Page& page)
{
    Document document = testpdf::scannerDocument(0);
    document.pages.push_back(page);
    return testpdf::buildPdf(document);
}

// A JPEG whose frame header claims `width` x `height` pixels at `dpi`, over a small image's data.
QByteArray jpegClaiming(int width, int height, int dpi)
{
    QByteArray jpeg = testpdf::makeJpeg(64, 32, {.xDpi = dpi, .yDpi = dpi, .comment = QByteArray("Brevix Scan")});
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame >= 0 && frame + 9 <= jpeg.size()) {
        jpeg[frame + 5] = char(height >> 8);
        jpeg[frame + 6] = char(height & 0xFF);
        jpeg[frame + 7] = char(width >> 8);
        jpeg[frame + 8] = char(width & 0xFF);
    }
    return jpeg;
}

TEST(ReaderMemory, HostileFilesAreRefusedWithinTheCeiling)
{
    QTemporaryDir dir;
    const Image jpeg = testpdf::jpegImage(testpdf::patternImage(600, 300));
    const QByteArray bomb = testpdf::deflated(testpdf::deflatedZeros(kInflatedBytes));
    const std::string fullPageDraw = "q 288 0 0 144 0 0 cm /Im0 Do Q q 288 0 0 144 0 0 cm /Im1 Do Q";

    Page contentBomb = testpdf::fullPage(jpeg);
    contentBomb.content = bomb.toStdString();
    contentBomb.contentFilter = kTwiceDeflated;

    Image inflatingSamples = testpdf::flateImage(4000, 4000, 8, "/DeviceGray", bomb);
    inflatingSamples.filter = kTwiceDeflated;
    inflatingSamples.encoded = true;
    // Two layers: the page is rendered, and the renderer decodes the second layer's samples.
    Page layeredBomb;
    layeredBomb.content = fullPageDraw;
    layeredBomb.images = {jpeg, inflatingSamples};
    layeredBomb.images[1].name = "Im1";
    layeredBomb.images[1].width = 600;
    layeredBomb.images[1].height = 300;

    Page hugeLayers;
    hugeLayers.content = fullPageDraw;
    hugeLayers.images = {testpdf::flateImage(9000, 4500, 8, "/DeviceGray", QByteArray(16, '\0')),
                         testpdf::flateImage(9000, 4500, 8, "/DeviceGray", QByteArray(16, '\0'))};
    hugeLayers.images[1].name = "Im1";

    Image claimsMegapixels = jpeg;
    claimsMegapixels.data = jpegClaiming(8000, 8000, 300);
    claimsMegapixels.width = 8000;
    claimsMegapixels.height = 8000;

    Image gigapixels = jpeg;
    gigapixels.width = 60000;
    gigapixels.height = 60000;

    QByteArray deepOperators;
    for (int i = 0; i < 1'000'000; ++i)
        deepOperators.append("q\n");
    Page deepContent = testpdf::fullPage(jpeg);
    deepContent.content = testpdf::deflated(deepOperators).toStdString();
    deepContent.contentFilter = "/FlateDecode";

    Page repeatedContent = testpdf::fullPage(jpeg);
    repeatedContent.content = std::string(4096, ' ') + "q 288 0 0 144 0 0 cm /Im0 Do Q";
    repeatedContent.contentCopies = 100'000;

    Page loopingForm = testpdf::fullPage(jpeg);
    loopingForm.content = "q 288 0 0 144 0 0 cm /Fm0 Do Q";
    loopingForm.formContent = "/Fm0 Do";
    loopingForm.formNamesItself = true;

    Document encrypted = testpdf::scannerDocument(1);
    encrypted.userPassword = "secret";

    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"content.pdf", onePageCard(contentBomb)},
        {"samples.pdf", onePageCard(testpdf::fullPage(inflatingSamples))},
        {"layered-samples.pdf", onePageCard(layeredBomb)},
        {"layered-huge.pdf", onePageCard(hugeLayers)},
        {"claims-64-megapixels.pdf", onePageCard(testpdf::fullPage(claimsMegapixels))},
        {"gigapixels.pdf", onePageCard(testpdf::fullPage(gigapixels))},
        {"deep-operators.pdf", onePageCard(deepContent)},
        {"repeated-content.pdf", onePageCard(repeatedContent)},
        {"looping-form.pdf", onePageCard(loopingForm)},
        {"encrypted.pdf", testpdf::buildPdf(encrypted)},
        {"claims-64-megapixels.jpg", jpegClaiming(8000, 8000, 1300)},
        {"claims-4-gigapixels.jpg", jpegClaiming(65535, 65535, 72)},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(testpdf::writeBytes(path, c.bytes)) << c.name;
        // Small files: the harm lies in what they decode to.
        EXPECT_LT(c.bytes.size(), 4 << 20) << c.name;
        const Reading reading = readInOwnProcess(path);
        std::printf("reader peak %s: %ld KiB, status %d\n", c.name, reading.peakKiB, reading.status);
        EXPECT_TRUE(reading.exited) << c.name;
        EXPECT_EQ(reading.status, 2) << c.name;
        EXPECT_LT(reading.peakKiB, kPeakLimitKiB) << c.name;
    }

    // A sound card goes through the same reading.
    const QString card = dir.filePath("card.pdf");
    ASSERT_TRUE(testpdf::writePdf(card, testpdf::scannerDocument(1)));
    const Reading reading = readInOwnProcess(card);
    std::printf("reader peak card.pdf: %ld KiB, status %d\n", reading.peakKiB, reading.status);
    EXPECT_TRUE(reading.exited);
    EXPECT_EQ(reading.status, 0);
}

} // namespace
