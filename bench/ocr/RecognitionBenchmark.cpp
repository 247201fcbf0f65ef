// Times the recognition of cards in both scripts through PLRegController with automatic language
// and Quillant, with as many OCR applications as the machine has cores and with one, against as
// many `tesseract` processes (each reading its share of the same images from a list, with the
// models Quillant reads that script with and page segmentation with orientation, --psm 1).
// Prints cards per second, the e-mail addresses read right and the ratios to the anchor.
//
//   bench_ocr [--cards FOLDER] [count]
//
// Without --cards, the cards are drawn as the tests draw them (count of each script, 24 unless
// given, every fourth one turned). With --cards, they are the scanner card PDFs of FOLDER that have
// a truth file NAME.json beside them ("script" latin or japanese, "fields"/"email"); a missing
// folder is reported and the drawn cards are used.
#include "app/images/OcrApplicationLink.h"
#include "app/images/PLRegController.h"
#include "app/images/RecognitionImages.h"
#include "app/images/SeparationLibrary.h"
#include "tests/support/cards/SyntheticCard.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// The language the user leaves as it comes.
constexpr int kAutomatic = 11;

struct CardSet {
    const char* name;
    QString models; // what Quillant reads the script with, given to the tesseract command
    QList<QImage> images;
    QStringList mails; // the address printed on each card
};

class HeldImages : public RecognitionImages {
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

void drawCards(CardSet& latin, CardSet& japanese, int count)
{
    for (int i = 0; i < count; ++i) {
        const QImage english = englishCard(i);
        latin.images << (i % 4 == 3 ? turnedClockwise(english) : english);
        // The drawn English cards differ in their person; their company's domain is what they share.
        latin.mails << QStringLiteral("@acme-widgets.com");
        japanese.images << (i % 4 == 3 ? turnedClockwise(japaneseCard()) : japaneseCard());
        japanese.mails << QStringLiteral("taro.yamada@yamada-shoji.co.jp");
    }
}

// The scanner's JPEG of a one-page card PDF.
QImage scannedImage(const QString& pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    const qsizetype start = data.indexOf("\xff\xd8\xff");
    const qsizetype end = start < 0 ? -1 : data.indexOf("endstream", start);
    return end < 0 ? QImage() : QImage::fromData(data.mid(start, end - start).trimmed(), "JPEG");
}

bool loadScannedCards(const QString& folder, CardSet& latin, CardSet& japanese)
{
    const QDir dir(folder);
    const QStringList truths = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QString& name : truths) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject truth = QJsonDocument::fromJson(file.readAll()).object();
        const QString script = truth.value(u"script").toString();
        CardSet* set = script == u"latin" ? &latin : script == u"japanese" ? &japanese : nullptr;
        const QImage image = scannedImage(dir.filePath(truth.value(u"file").toString()));
        if (!set || image.isNull())
            continue;
        set->images << image;
        set->mails << truth.value(u"fields").toObject().value(u"email").toString();
    }
    return !latin.images.isEmpty() && !japanese.images.isEmpty();
}

struct Run {
    double seconds = 0;
    int mailsRight = 0;
};

Run recognise(PLRegController& reg, HeldImages& images, const CardSet& set, int workers)
{
    images.cards = set.images;
    const int count = int(set.images.size());
    setOcrWorkerCount(workers);
    // Warm-up: start the applications and load their engines, as the first import of a session does.
    {
        std::vector<Card> cards;
        for (int i = 0; i < workers; ++i)
            cards.emplace_back(i % count);
        QList<CardRecord*> list;
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
    Run run{timer.nsecsElapsed() / 1e9, 0};
    for (int i = 0; i < count; ++i) {
        const QString mail = cards[size_t(i)].values.value(QStringLiteral("e_Mail")).toString();
        const QString& expected = set.mails.at(i);
        run.mailsRight += !expected.isEmpty() && (expected.startsWith(u'@') ? mail.endsWith(expected) : mail == expected);
    }
    std::printf("  PLRegController, %d OCR application(s): %.2f s (%.2f cards/s), status %d, e-mail right on %d\n",
                workers, run.seconds, count / run.seconds, status, run.mailsRight);
    return run;
}

// The same images read by `processes` tesseract commands at once, each with every processes-th image.
double readWithCommand(const CardSet& set, const QStringList& files, int processes, const QDir& dir)
{
    std::vector<std::unique_ptr<QProcess>> running;
    QElapsedTimer timer;
    timer.start();
    for (int p = 0; p < processes; ++p) {
        QStringList share;
        for (int i = p; i < files.size(); i += processes)
            share << files.at(i);
        if (share.isEmpty())
            continue;
        const QString listName = dir.filePath(QStringLiteral("%1-list%2.txt").arg(QLatin1String(set.name)).arg(p));
        QFile list(listName);
        list.open(QIODevice::WriteOnly);
        list.write(share.join(u'\n').toUtf8() + '\n');
        list.close();
        running.push_back(std::make_unique<QProcess>());
        running.back()->start(QStringLiteral("tesseract"),
                              {listName, dir.filePath(QStringLiteral("%1-out%2").arg(QLatin1String(set.name)).arg(p)),
                               QStringLiteral("-l"), set.models, QStringLiteral("--psm"), QStringLiteral("1"),
                               QStringLiteral("--dpi"), QStringLiteral("300")});
    }
    for (auto& process : running)
        process->waitForFinished(-1);
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("  tesseract -l %s --psm 1, %d process(es): %.2f s (%.2f cards/s)\n", qPrintable(set.models), processes,
                seconds, files.size() / seconds);
    return seconds;
}

void timeSet(PLRegController& reg, HeldImages& images, const CardSet& set, int cores, const QDir& dir)
{
    std::printf("%s cards: %lld\n", set.name, qlonglong(set.images.size()));
    QStringList files;
    for (qsizetype i = 0; i < set.images.size(); ++i) {
        files << dir.filePath(QStringLiteral("%1-%2.png").arg(QLatin1String(set.name)).arg(i));
        set.images.at(i).save(files.back());
    }
    const Run parallel = recognise(reg, images, set, cores);
    const Run single = recognise(reg, images, set, 1);
    const double commands = readWithCommand(set, files, cores, dir);
    const double command = readWithCommand(set, files, 1, dir);
    std::printf("  ratio, %d applications / %d commands: %.2f\n", cores, cores, parallel.seconds / commands);
    std::printf("  ratio, 1 application / 1 command: %.2f\n", single.seconds / command);
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
    QStringList arguments = app.arguments().mid(1);
    QString folder;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--cards")); at >= 0 && at + 1 < arguments.size()) {
        folder = arguments.at(at + 1);
        arguments.remove(at, 2);
    }
    const int count = arguments.isEmpty() ? 24 : std::max(1, arguments.first().toInt());
    SeparationLibrary::setApplicationFolder(QStringLiteral(PELMORA_STAGE_DIR));
    setOcrApplicationFolder(QStringLiteral(PELMORA_STAGE_DIR));
    setOcrTimeouts(60000, 5000, 120000);

    CardSet latin{"English", QStringLiteral("eng"), {}, {}};
    CardSet japanese{"Japanese", QStringLiteral("jpn+eng"), {}, {}};
    if (!folder.isEmpty() && loadScannedCards(folder, latin, japanese)) {
        std::printf("Scanned cards of %s\n", qPrintable(folder));
    } else {
        if (!folder.isEmpty())
            std::printf("No scanned cards of both scripts in %s: the cards are drawn\n", qPrintable(folder));
        latin = {"English", QStringLiteral("eng"), {}, {}};
        japanese = {"Japanese", QStringLiteral("jpn+eng"), {}, {}};
        drawCards(latin, japanese, count);
    }

    QTemporaryDir dir;
    HeldImages images;
    PLRegController reg;
    reg.setImages(&images);
    const int cores = ocrWorkerCount();
    timeSet(reg, images, latin, cores, QDir(dir.path()));
    timeSet(reg, images, japanese, cores, QDir(dir.path()));
    QuitOCRApplication();
    return 0;
}
