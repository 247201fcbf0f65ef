// Times the recognition of drawn cards through PLRegController and the Quillant child, and the
// tesseract command on the same images (one process per image, and all images in one process),
// then prints cards per second and the ratios.
#include "app/images/OcrApplicationLink.h"
#include "app/images/PLRegController.h"
#include "app/images/RecognitionImages.h"
#include "app/images/SeparationLibrary.h"
#include "tests/support/cards/SyntheticCard.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class DrawnImages : public RecognitionImages {
public:
    QString databaseFolder() const override { return QStringLiteral("/db"); }
    int checkPDF(const QString&) override { return kCardPdf; }
    int acquireCardImages(const QString& frontPath, const QString&, CardBitmap* front, CardBitmap*) override
    {
        *front = {cards.at(frontPath.section(u'/', -1).section(u'_', 0, 0).toInt()), {0, 300, 300, 1}};
        return 0;
    }
    bool rotateBitmap(CardBitmap*, int) override { return false; }
    int rotatePDFPage(const QString&, int, int) override { return 0; }
    QList<QImage> cards;
};

class Card : public CardRecord {
public:
    explicit Card(int index) { values.insert(QStringLiteral("face_Image_File"), QStringLiteral("%1_N1.pdf").arg(index)); }
    QVariant valueForKey(const QString& key) const override { return values.value(key); }
    void setValueForKey(const QString& key, const QVariant& value) override { values.insert(key, value); }
    QVariantMap values;
};

double runCommand(const QStringList& arguments)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(QStringLiteral("tesseract"), arguments);
    process.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // One engine thread on both sides: timings stay comparable on a machine that is busy otherwise.
    if (qEnvironmentVariableIsEmpty("OMP_THREAD_LIMIT"))
        qputenv("OMP_THREAD_LIMIT", "1");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    SeparationLibrary::setApplicationFolder(QStringLiteral(PELMORA_STAGE_DIR));
    setOcrApplicationFolder(QStringLiteral(PELMORA_STAGE_DIR));
    setOcrTimeouts(60000, 5000, 120000);

    QTemporaryDir dir;
    DrawnImages images;
    QStringList files;
    for (int i = 0; i < count; ++i) {
        images.cards << englishCard(i);
        files << dir.filePath(QStringLiteral("card%1.png").arg(i));
        images.cards.back().save(files.back());
    }
    QFile list(dir.filePath(QStringLiteral("cards.txt")));
    list.open(QIODevice::WriteOnly);
    list.write(files.join(u'\n').toUtf8() + '\n');
    list.close();

    PLRegController reg;
    reg.setImages(&images);
    // Warm-up: start the child and load its engines once, as the first import of a session does.
    {
        Card card(0);
        const QList<CardRecord*> one{&card};
        reg.recongnizeCard({}, &one, false, 0, 1);
        reg.recongnizeCard({}, &one, false, 1, 1);
    }
    auto timeRun = [&](int type) {
        std::vector<Card> cards;
        for (int i = 0; i < count; ++i)
            cards.emplace_back(i);
        QList<CardRecord*> list;
        for (Card& c : cards)
            list << &c;
        QElapsedTimer timer;
        timer.start();
        const int status = reg.recongnizeCard({}, &list, false, type, 1);
        const double seconds = timer.nsecsElapsed() / 1e9;
        int withMail = 0;
        for (const Card& c : cards)
            withMail += c.values.value(QStringLiteral("e_Mail")).toString().endsWith(QStringLiteral("@acme-widgets.com"));
        std::printf("PLRegController type %d: %d cards in %.2f s (%.2f cards/s), status %d, e-mail read on %d\n",
                    type, count, seconds, count / seconds, status, withMail);
        return seconds;
    };
    const double newCards = timeRun(0);
    const double again = timeRun(1);

    double perImage = 0;
    for (const QString& file : files)
        perImage += runCommand({file, QStringLiteral("-"), QStringLiteral("-l"), QStringLiteral("eng"),
                                QStringLiteral("--dpi"), QStringLiteral("300")});
    const double batch = runCommand({list.fileName(), dir.filePath(QStringLiteral("out")), QStringLiteral("-l"),
                                     QStringLiteral("eng"), QStringLiteral("--dpi"), QStringLiteral("300")});
    std::printf("tesseract, one process per image: %.2f s (%.2f cards/s)\n", perImage, count / perImage);
    std::printf("tesseract, all images in one process: %.2f s (%.2f cards/s)\n", batch, count / batch);
    std::printf("ratio, no turn (type 1) / one-process command: %.2f\n", again / batch);
    std::printf("ratio, new cards (type 0) / command per image: %.2f\n", newCards / perImage);
    QuitOCRApplication();
    return 0;
}
