// The photo hand-off: pictures made from the card PDFs in the form their scan calls for, handed
// in order to the photo application's desktop entry, or the type's message when there is none.
#include "app/export/PLExporter.h"
#include "app/export/PhotoApplications.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/app/export/ExportFixture.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTest>

#include <sys/time.h>
#include <tiffio.h>

namespace {

class PhotoHandOff : public CardDatabaseTest {
protected:
    QByteArray savedDirs;
    QByteArray savedHome;

    void SetUp() override
    {
        CardDatabaseTest::SetUp();
        savedDirs = qgetenv("XDG_DATA_DIRS");
        savedHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_DIRS", QFile::encodeName(path("data")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path("home")));
        // A front file with two scanned images.
        ASSERT_TRUE(testpdf::writePdf(database + "/Images/CARD-JP_N1.pdf", testpdf::scannerDocument(2)));
    }
    void TearDown() override
    {
        qputenv("XDG_DATA_DIRS", savedDirs);
        qputenv("XDG_DATA_HOME", savedHome);
        CardDatabaseTest::TearDown();
    }
    // A desktop entry whose program writes its arguments, one a line, to `record`; its Exec line
    // is the program followed by `arguments`.
    void installRecorder(const QString& id, const QString& record, const QByteArray& arguments = " %F")
    {
        const QString script = path(id + ".sh");
        QFile scriptFile(script);
        ASSERT_TRUE(scriptFile.open(QIODevice::WriteOnly));
        scriptFile.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.part\" && mv \"$0.part\" '" + record.toUtf8() + "'\n");
        scriptFile.close();
        scriptFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QDir().mkpath(path("data/applications"));
        QFile entry(path("data/applications/" + id + ".desktop"));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Photos\nExec=" + script.toUtf8() + arguments + "\n");
    }
    static QList<CardDict> twoCards() { return {cards::latin(), cards::japaneseTwoSided()}; }
    // The arguments the recorder was started with, once it has written them.
    QStringList received(const QString& record)
    {
        if (!QTest::qWaitFor([&] { return QFile::exists(record); }, 60000))
            return {};
        return QString::fromUtf8(readAll(record)).split('\n', Qt::SkipEmptyParts);
    }
};

TEST_F(PhotoHandOff, TheApplicationReceivesThePicturesInOrder)
{
    Workspace::setShared(nullptr);   // a real launch
    installRecorder(QStringLiteral("shotwell"), path("received")); // the entry's name in Debian
    ASSERT_TRUE(isPhotoApplicationInstalled(1));
    ASSERT_EQ(PLExporter::ExportToiPhoto(twoCards()), 0);
    const QStringList pictures = received(path("received"));
    QStringList names;
    for (const QString& picture : pictures)
        names.append(QFileInfo(picture).fileName());
    // The two-page front gives its second image as "<front file>back"; the back file its own.
    EXPECT_EQ(names, (QStringList{"CARD-LATIN_N1front.jpg", "CARD-JP_N1front.jpg", "CARD-JP_N1back.jpg", "CARD-JP_N2back.jpg"}));
    for (const QString& picture : pictures) {
        EXPECT_EQ(QFileInfo(QFileInfo(picture).absolutePath()).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);
        EXPECT_FALSE(QImageReader(picture).read().isNull()) << picture.toStdString();
    }
}

TEST_F(PhotoHandOff, WithoutTheApplicationTheTypesMessageNumber)
{
    installRecorder(QStringLiteral("org.gnome.Shotwell"), path("received"));
    EXPECT_EQ(photoApplicationIdentifier(1), QStringLiteral("org.gnome.Shotwell")) << "the second name listed for type 1";
    EXPECT_FALSE(isPhotoApplicationInstalled(2));
    EXPECT_EQ(PLExporter::ExportToPhotos(twoCards()), 244);
    workspace.launchSucceeds = false;
    EXPECT_EQ(PLExporter::ExportToiPhoto(twoCards()), 47);
    ASSERT_EQ(workspace.launches.size(), 1);
    EXPECT_TRUE(QFileInfo(workspace.launches[0].second.value(0)).isFile()) << "a start that failed may have handed some over";
    PreferenceDomain::standard().setValue(QStringLiteral("Photo application 2 desktop entry"), QStringLiteral("org.gnome.Shotwell"));
    EXPECT_TRUE(isPhotoApplicationInstalled(2));
    EXPECT_EQ(PLExporter::ExportToPhotos({}), 14);
    EXPECT_EQ(PLExporter::exportCardImagesToiPhoto(twoCards(), 3), 14);
}

TEST_F(PhotoHandOff, AnEntryWithoutAFileCodeGetsThePicturesAfterItsArguments)
{
    Workspace::setShared(nullptr); // a real launch
    // As Debian's digiKam entry: "Exec=digikam -qwindowtitle %c".
    installRecorder(QStringLiteral("org.kde.digikam"), path("received"), " -qwindowtitle %c");
    ASSERT_EQ(PLExporter::ExportToPhotos(twoCards()), 0);
    const QStringList arguments = received(path("received"));
    ASSERT_EQ(arguments.size(), 6);
    EXPECT_EQ(arguments.mid(0, 2), (QStringList{"-qwindowtitle", "Photos"}));
    for (const QString& picture : arguments.mid(2))
        EXPECT_TRUE(QFileInfo(picture).isFile()) << picture.toStdString();
}

TEST_F(PhotoHandOff, PicturesStayForADayAfterTheirHandOff)
{
    installRecorder(QStringLiteral("org.kde.digikam"), path("received"));
    ASSERT_EQ(PLExporter::ExportToPhotos({cards::latin()}), 0);
    ASSERT_EQ(PLExporter::ExportToPhotos({cards::latin()}), 0);
    ASSERT_EQ(workspace.launches.size(), 2);
    const QString first = workspace.launches[0].second.value(0);
    // The application may not have read the first pictures yet: the next hand-off leaves them.
    EXPECT_TRUE(QFileInfo(first).isFile());
    EXPECT_NE(QFileInfo(first).path(), QFileInfo(workspace.launches[1].second.value(0)).path());

    const QDateTime twoDaysAgo = QDateTime::currentDateTime().addDays(-2);
    const struct timeval times[2] = {{twoDaysAgo.toSecsSinceEpoch(), 0}, {twoDaysAgo.toSecsSinceEpoch(), 0}};
    ASSERT_EQ(utimes(QFile::encodeName(QFileInfo(first).path()).constData(), times), 0);
    ASSERT_EQ(PLExporter::ExportToPhotos({cards::latin()}), 0);
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(first).path())) << "a day later they go";
    EXPECT_TRUE(QFileInfo(workspace.launches[1].second.value(0)).isFile());
}

TEST_F(PhotoHandOff, CardsSentBeforeAreSentAgainOnlyWhenTheUserSaysSo)
{
    installRecorder(QStringLiteral("org.kde.digikam"), path("received"));
    QList<CardDict> selection = twoCards();
    selection[0].insert(QStringLiteral("flag2"), QStringLiteral("1"));   // sent to the other type: no question
    ASSERT_EQ(PLExporter::ExportToPhotos(selection), 0);
    EXPECT_TRUE(presenter.shown().isEmpty());
    ASSERT_EQ(workspace.launches.size(), 1);
    EXPECT_EQ(workspace.launches[0].second.size(), 4);

    selection[1].insert(QStringLiteral("flag2"), QStringLiteral("3"));
    presenter.queueAnswer(kAlertSecondButtonReturn);
    EXPECT_EQ(PLExporter::ExportToPhotos(selection), -50);
    EXPECT_EQ(presenter.shown().size(), 1);
    EXPECT_EQ(workspace.launches.size(), 1);
}

TEST_F(PhotoHandOff, AMissingFrontIsDrawnAsAPlaceholderAt300Dpi)
{
    installRecorder(QStringLiteral("org.gnome.Shotwell"), path("received"));
    CardDict card = cards::latin();
    card.insert(QStringLiteral("face_Image_File"), QStringLiteral("NEW_N1.pdf"));
    card.insert(QStringLiteral("back_Image_File"), QStringLiteral("GONE_N2.pdf"));
    ASSERT_EQ(PLExporter::ExportToiPhoto({card}), 0);
    ASSERT_EQ(workspace.launches.size(), 1);
    const QStringList pictures = workspace.launches[0].second;
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(QFileInfo(pictures[0]).fileName(), QStringLiteral("NEW_N1front.jpg"));
    const QImage picture = QImageReader(pictures[0]).read();
    EXPECT_EQ(qRound(picture.dotsPerMeterX() * 0.0254), 300);
}

TEST_F(PhotoHandOff, PictureFormatFollowsTheScan)
{
    QImage bilevel(40, 20, QImage::Format_Mono);
    bilevel.fill(0);
    QImage grey(40, 20, QImage::Format_Grayscale8);
    grey.fill(128);
    QImage colour(40, 20, QImage::Format_RGB888);
    colour.fill(Qt::red);
    const struct {
        const char* name;
        QImage image;
        PhotoPageInfo info;
        const char* extension;
        QSize size;
        bool grey;
    } cases[] = {
        {"bi-level scans are TIFF", bilevel, {0, 300, false}, "tiff", {40, 20}, true},
        {"a turned grey JPEG scan becomes colour", grey, {90, 200, true}, "jpg", {20, 40}, false},
        {"a colour JPEG scan stays JPEG", colour, {0, 150, true}, "jpg", {40, 20}, false},
        {"a grey scan not stored as JPEG is TIFF", grey, {180, 300, false}, "tiff", {40, 20}, true},
    };
    for (const auto& c : cases) {
        QString extension;
        int status = -1;
        const QByteArray bytes = PLExporter::imageDataForiPhoto(c.image, c.info, &extension, &status);
        ASSERT_EQ(status, 0) << c.name;
        EXPECT_EQ(extension, QLatin1String(c.extension)) << c.name;
        const QString file = path(QStringLiteral("picture.") + extension);
        ASSERT_TRUE(testpdf::writeBytes(file, bytes));
        if (extension == QLatin1String("jpg")) {
            const QImage decoded = QImageReader(file).read();
            EXPECT_EQ(decoded.size(), c.size) << c.name;
            EXPECT_EQ(decoded.format() == QImage::Format_Grayscale8, c.grey) << c.name;
            EXPECT_EQ(qRound(decoded.dotsPerMeterX() * 0.0254), c.info.resolution) << c.name;
            continue;
        }
        TIFF* tiff = TIFFOpen(QFile::encodeName(file).constData(), "r");
        ASSERT_NE(tiff, nullptr) << c.name;
        uint16_t compression = 0;
        uint32_t width = 0;
        float resolution = 0;
        TIFFGetField(tiff, TIFFTAG_COMPRESSION, &compression);
        TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &resolution);
        TIFFClose(tiff);
        EXPECT_EQ(compression, COMPRESSION_PACKBITS) << c.name;
        EXPECT_EQ(width, static_cast<uint32_t>(c.size.width())) << c.name;
        EXPECT_EQ(qRound(resolution), c.info.resolution) << c.name;
    }
}

} // namespace
