// Times the recognition of drawn cards (every fourth one turned) through PLRegController with
// automatic language and Quillant, with as many OCR applications as the machine has cores and
// with one, against the tesseract command with the same language and page segmentation with
// orientation (--psm 1) on the same images in one process; prints cards per second and the ratios.
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

// The language the user leaves as it comes; it reads English cards with the English model, as the
// command below does.
constexpr int kAutomatic = 11;

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
        images.cards << (i % 4 == 3 ? turnedClockwise(englishCard(i)) : englishCard(i));
        files << dir.filePath(QStringLiteral("card%1.png").arg(i));
        images.cards.back().save(files.back());
    }
    QFile list(dir.filePath(QStringLiteral("cards.txt")));
    list.open(QIODevice::WriteOnly);
    list.write(files.join(u'\n').toUtf8() + '\n');
    list.close();

    PLRegController reg;
    reg.setImages(&images);
    const int cores = ocrWorkerCount();
    auto timeRun = [&](int workers) {
        setOcrWorkerCount(workers);
        // Warm-up: start the applications and load their engines, as the first import of a session does.
        {
            std::vector<Card> cards;
            QList<CardRecord*> list;
            for (int i = 0; i < workers; ++i)
                cards.emplace_back(i % count);
            for (Card& c : cards)
                list << &c;
            reg.recongnizeCard({}, &list, false, 0, kAutomatic);
        }
        std::vector<Card> cards;
        for (int i = 0; i < count; ++i)
            cards.emplace_back(i);
        QList<CardRecord*> list;
        for (Card& c : cards)
            list << &c;
        QElapsedTimer timer;
        timer.start();
        const int status = reg.recongnizeCard({}, &list, false, 0, kAutomatic);
        const double seconds = timer.nsecsElapsed() / 1e9;
        int withMail = 0;
        for (const Card& c : cards)
            withMail += c.values.value(QStringLiteral("e_Mail")).toString().endsWith(QStringLiteral("@acme-widgets.com"));
        std::printf("PLRegController, automatic language, %d OCR application(s): %d cards in %.2f s (%.2f cards/s), status %d, e-mail read on %d\n",
                    workers, count, seconds, count / seconds, status, withMail);
        return seconds;
    };
    const double parallel = timeRun(cores);
    const double single = timeRun(1);

    const double batch = runCommand({list.fileName(), dir.filePath(QStringLiteral("out")), QStringLiteral("-l"),
                                     QStringLiteral("eng"), QStringLiteral("--psm"), QStringLiteral("1"),
                                     QStringLiteral("--dpi"), QStringLiteral("300")});
    std::printf("tesseract -l eng --psm 1, all images in one process: %.2f s (%.2f cards/s)\n", batch, count / batch);
    std::printf("ratio, %d applications / command: %.2f\n", cores, parallel / batch);
    std::printf("ratio, 1 application / command: %.2f\n", single / batch);
    QuitOCRApplication();
    return 0;
}
