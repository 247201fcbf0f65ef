#include "FakeOcrServer.h"
#include "ResultBuilder.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/images/CardFileRecognitionImages.h"
#include "app/images/JpegGreyDecoder.h"
#include "app/images/OcrApplicationLink.h"
#include "app/images/PLRegController.h"
#include "app/images/RecognitionImages.h"
#include "app/images/SeparationLibrary.h"
#include "platform/foundation/Bundle.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QMap>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QTransform>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace {

class FakeImages : public RecognitionImages {
public:
    QString databaseFolder() const override { return QStringLiteral("/db"); }
    int checkPDF(const QString& path) override { return badFiles.contains(path) ? 1 : kCardPdf; }
    int acquireCardImages(const QString& frontPath, const QString& backPath, CardBitmap* front,
                          CardBitmap* back) override
    {
        {
            std::lock_guard lock(mutex);
            acquired << frontPath + u'|' + backPath;
        }
        if (onAcquire)
            onAcquire(frontPath);
        *front = frontBitmap;
        // "c<k>_N1.pdf": card k's bitmap is 100 + k pixels wide, so a request tells its card.
        if (widthFromName)
            front->image = QImage(100 + frontPath.section(u'/', -1).mid(1).section(u'_', 0, 0).toInt(), 50,
                                  QImage::Format_Grayscale8);
        *back = backBitmap;
        return 0;
    }
    bool rotateBitmap(CardBitmap* bitmap, int degrees) override
    {
        bitmap->image = bitmap->image.transformed(QTransform().rotate(degrees));
        return true;
    }
    int rotatePDFPage(const QString& path, int page, int degrees) override
    {
        turned << QStringLiteral("%1:%2:%3").arg(path).arg(page).arg(degrees);
        return 0;
    }

    QStringList badFiles;
    bool widthFromName = false;
    std::mutex mutex; // cards are decoded on several threads at once
    QStringList acquired;
    std::function<void(const QString& frontPath)> onAcquire; // on the decoding thread
    QStringList turned;
    CardBitmap frontBitmap{QImage(300, 200, QImage::Format_Grayscale8), {0, 300, 300, 1}};
    CardBitmap backBitmap;
};

class Card : public CardRecord {
public:
    explicit Card(const QString& face = QStringLiteral("c1_N1.pdf")) { values.insert("face_Image_File", face); }
    QVariant valueForKey(const QString& key) const override { return values.value(key); }
    void setValueForKey(const QString& key, const QVariant& value) override
    {
        values.insert(key, value);
        if (writes && key == u"e_Mail")
            writes->append(value.toString());
    }
    QString text(const char* key) const { return values.value(QLatin1String(key)).toString(); }
    QVariantMap values;
    QStringList* writes = nullptr; // the e-mail addresses written, in order, shared by the cards of a run
};

class RecognitionRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        SeparationLibrary::setApplicationFolder(QString::fromLocal8Bit(qgetenv("PELMORA_STAGE_DIR")));
        script = std::make_shared<FakeOcrScript>();
        setOcrConnector([s = script] { return std::make_unique<FakeOcrConnection>(s); });
        setOcrTimeouts(60000, 60000, 60000); // only a guard against a hang on a busy machine
        // One OCR application: the scripted replies go out in the cards' order.
        setOcrWorkerCount(1);
        images.frontBitmap.image.fill(255);
        reg.setImages(&images);
    }
    void TearDown() override
    {
        setOcrConnector(nullptr);
        setOcrWorkerCount(kMaxOcrWorkers);
    }

    static FakeRunReply mapped(const QString& email, int turns = 0, int language = 0)
    {
        QByteArray result = emptyResult();
        setSlot(result, 23, email, 10, 20, 110, 40);
        setSlot(result, 0, u"Anna Lopez"_qs, 10, 50, 200, 80);
        return {0, result, orientationBlock(turns, language)};
    }
    // `count` applications, time-outs that only catch a hang on a busy machine, and cards told
    // apart by their requests; false when there are fewer cores.
    bool severalApplications(int count)
    {
        setOcrWorkerCount(count);
        setOcrTimeouts(30000, 10000, 10000);
        images.widthFromName = true;
        return ocrWorkerCount() >= count;
    }
    // The card of a request when the images are made with widthFromName.
    static int cardOf(const OcrMessage& request)
    {
        return ocr::readU16(reinterpret_cast<const uint8_t*>(request.param(ocr::kKeyImageInfo)->constData())) - 100;
    }
    // Cards "c0_N1.pdf", "c1_N1.pdf", ... whose e-mail writes go to `writes`; `owned` keeps them.
    static QList<CardRecord*> numberedCards(int count, QStringList* writes, std::vector<std::unique_ptr<Card>>* owned)
    {
        QList<CardRecord*> list;
        for (int k = 0; k < count; ++k) {
            owned->push_back(std::make_unique<Card>(QStringLiteral("c%1_N1.pdf").arg(k)));
            owned->back()->writes = writes;
            list << owned->back().get();
        }
        return list;
    }
    int run(QList<CardRecord*> cards, int type = 0, int language = 1, bool isRect = false, QRectF box = {})
    {
        return reg.recongnizeCard(box, &cards, isRect, type, language);
    }

    std::shared_ptr<FakeOcrScript> script;
    FakeImages images;
    PLRegController reg;
};

TEST_F(RecognitionRun, StatusTable)
{
    const struct {
        int32_t status;
        int result;
        bool goesOn;
    } cases[] = {
        {1001, 0, true}, {1002, 91, false}, {1003, 92, false}, {1009, 92, false}, {1010, 92, false},
        {1004, 4, false}, {1005, 93, false}, {1006, 97, false}, {1007, 94, false}, {1008, 95, false},
        {0, 0, true},    {1500, 96, false}, // no blocks come with a status other than 0
    };
    for (const auto& c : cases) {
        script->runs = {c.status == 0 || c.status == 1500 ? mapped(u"a@b.example"_qs) : FakeRunReply{c.status},
                        mapped(u"second@b.example"_qs)};
        script->runs.front().status = c.status;
        Card first, second;
        first.values.insert("memo", u"keep"_qs);
        first.values.insert("company", u"Old Co"_qs);
        script->requests.clear();
        EXPECT_EQ(run({&first, &second}), c.result) << c.status;
        EXPECT_EQ(script->runRequests().size(), c.goesOn ? 2u : 1u) << c.status;
        if (c.status == 1001) {
            EXPECT_FALSE(first.values.value("company").isValid());
            EXPECT_FALSE(first.values.value("full_Name_XY").isValid());
            EXPECT_EQ(first.text("memo"), u"keep"_qs);
            EXPECT_EQ(second.text("e_Mail"), u"second@b.example"_qs);
        }
    }
}

TEST_F(RecognitionRun, EngineRefusalAndSendErrors)
{
    Card card;
    script->openStatus = 5;
    EXPECT_EQ(run({&card}), 81);
    script->openStatus = 0;
    script->statusStatus = 1;
    EXPECT_EQ(run({&card}), 81);
    script->statusStatus = 0;
    EXPECT_EQ(run({}), 0);

    // Replies shorter than their blocks are refused.
    FakeRunReply shortResult = mapped(u"a@b.example"_qs);
    shortResult.result.truncate(1000);
    FakeRunReply shortTurn = mapped(u"a@b.example"_qs);
    shortTurn.orientation.truncate(8);
    FakeRunReply noTurn = mapped(u"a@b.example"_qs);
    noTurn.orientation.clear();
    for (const FakeRunReply& reply : {shortResult, shortTurn, noTurn}) {
        script->runs = {reply};
        Card c;
        EXPECT_EQ(run({&c}), 96);
        EXPECT_FALSE(c.values.contains("e_Mail"));
    }
}

TEST_F(RecognitionRun, TimeOutAndDeadServerAreSendErrorsAndTheNextRunStartsAfresh)
{
    // The first reply goes out only after the run gave its request up, so the short time-out
    // fires however busy the machine; the runs after it have time-outs that only guard.
    setOcrTimeouts(60000, 60000, 100);
    FakeRunReply late = mapped(u"late@b.example"_qs);
    late.afterGivenUp = true;
    script->runs = {late, mapped(u"a@b.example"_qs)};
    Card card;
    EXPECT_EQ(run({&card}), 96);
    EXPECT_FALSE(card.values.contains("e_Mail"));
    setOcrTimeouts(60000, 60000, 60000);
    EXPECT_EQ(run({&card}), 0);
    EXPECT_EQ(card.text("e_Mail"), u"a@b.example"_qs); // not the late reply of the first request
    EXPECT_EQ(script->connections, 2);

    FakeRunReply hangUp;
    hangUp.hangUp = true;
    script->runs = {hangUp, mapped(u"again@b.example"_qs)};
    EXPECT_EQ(run({&card}), 96);
    EXPECT_FALSE(isOCRApplicationRunning());
    EXPECT_EQ(run({&card}), 0);
    EXPECT_EQ(card.text("e_Mail"), u"again@b.example"_qs);
    EXPECT_EQ(script->connections, 3);
}

TEST_F(RecognitionRun, QuarterTurnTurnsPagesAndTheMappingFrame)
{
    // Front bitmap 300 wide, 200 high; turned by one quarter the mapping's image height is 300.
    images.backBitmap = images.frontBitmap;
    script->runs = {mapped(u"a@b.example"_qs, 1)};
    Card card;
    card.values.insert("back_Image_File", u"c1_N2.pdf"_qs);
    ASSERT_EQ(run({&card}), 0);
    EXPECT_EQ(card.text("e_Mail_XY"), u"10/260/100/20"_qs);
    EXPECT_EQ(images.turned, (QStringList{"/db/Images/c1_N1.pdf:0:90", "/db/Images/c1_N2.pdf:0:270"}));

    // The back as page 2 of the front file, three quarter turns.
    images.turned.clear();
    script->runs = {mapped(u"a@b.example"_qs, 3)};
    Card single;
    ASSERT_EQ(run({&single}), 0);
    EXPECT_EQ(images.turned, (QStringList{"/db/Images/c1_N1.pdf:0:270", "/db/Images/c1_N1.pdf:1:90"}));

    // Only a new card (type 0) is turned; type 1 keeps the bitmap's frame.
    images.turned.clear();
    script->runs = {mapped(u"a@b.example"_qs, 1)};
    Card again;
    again.values.insert("memo", u"keep"_qs);
    ASSERT_EQ(run({&again}, 1), 0);
    EXPECT_TRUE(images.turned.isEmpty());
    EXPECT_EQ(again.text("e_Mail_XY"), u"10/160/100/20"_qs);
    EXPECT_EQ(again.text("memo"), u"keep"_qs);

    // A page rotation of the front is applied before the bitmap is sent.
    images.frontBitmap.info.rotation = 90;
    script->runs = {mapped(u"a@b.example"_qs)};
    ASSERT_EQ(run({&again}), 0);
    const OcrMessage request = script->runRequests().back();
    const QByteArray* info = request.param(ocr::kKeyImageInfo);
    ASSERT_TRUE(info);
    EXPECT_EQ(ocr::readU16(reinterpret_cast<const uint8_t*>(info->constData())), 200);
}

TEST_F(RecognitionRun, LanguageFoundByTheApplicationDecidesTheMapping)
{
    auto withCompany = [](int language) {
        FakeRunReply reply = mapped(u"a@b.example"_qs, 0, language);
        setSlot(reply.result, 35, u"株式会社山田商事"_qs, 1, 1, 50, 20);
        setSlot(reply.result, 21, u"1 Main St\nSpringfield\nIL"_qs, 1, 30, 50, 60);
        return reply;
    };
    script->runs = {withCompany(1), withCompany(2), withCompany(0)};
    Card japanese, other, asked;
    ASSERT_EQ(run({&japanese}, 0, 11), 0);
    EXPECT_EQ(japanese.text("company_Kana"), u"ヤマダショウジ"_qs);
    ASSERT_EQ(run({&other}, 0, 11), 0);
    EXPECT_EQ(other.text("company_Kana"), u"株式会社山田商事"_qs);
    EXPECT_EQ(other.text("city"), u"Springfield"_qs); // language 12 splits addresses by lines
    ASSERT_EQ(run({&asked}, 0, 11), 0);
    EXPECT_FALSE(asked.values.contains("city")); // automatic, nothing found: no split

    // Another language the application names is mapped as that language: a Chinese card found
    // automatically splits its name's reading family first, takes its company's reading from its
    // slot, and its address is no Japanese one.
    auto chinese = [](int named) {
        FakeRunReply reply = mapped(u"a@b.example"_qs, 0, 2);
        reply.orientation[int(ocr::kOrientationFoundOtherOffset)] = char(named);
        setSlot(reply.result, 0, u"王 小明"_qs, 10, 50, 200, 80);
        setSlot(reply.result, 5, u"Wang Xiao Ming"_qs, 10, 85, 200, 100);
        setSlot(reply.result, 35, u"北京华信科技有限公司"_qs, 1, 1, 50, 20);
        setSlot(reply.result, 36, u"Beijing Huaxin Technology Co., Ltd."_qs, 1, 22, 50, 28);
        setSlot(reply.result, 21, u"北京市朝阳区建国路88号"_qs, 1, 30, 50, 60);
        return reply;
    };
    script->runs = {chinese(3 + 1), chinese(0)};
    Card named, unnamed;
    ASSERT_EQ(run({&named}, 0, 11), 0);
    EXPECT_EQ(named.text("family_Name_Kana"), u"Wang"_qs);
    EXPECT_EQ(named.text("first_Name_Kana"), u"Xiao Ming"_qs);
    EXPECT_EQ(named.text("company_Kana"), u"Beijing Huaxin Technology Co., Ltd."_qs);
    EXPECT_EQ(named.text("address"), u"北京市朝阳区建国路88号"_qs);
    EXPECT_EQ(named.text("street"), u"北京市朝阳区建国路88号"_qs);
    ASSERT_EQ(run({&unnamed}, 0, 11), 0);
    EXPECT_EQ(unnamed.text("company_Kana"), u"北京华信科技有限公司"_qs) << "mapped as another language, 12";
}

TEST_F(RecognitionRun, RequestBlocks)
{
    QImage mono(20, 2, QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)}); // 1 = black
    mono.fill(0);
    mono.setPixel(0, 0, 1);
    images.frontBitmap = {mono, {0, 400, 300, 0}};
    script->runs = {mapped(u"a@b.example"_qs)};
    Card card;
    ASSERT_EQ(run({&card}, 0, 6), 0);
    const OcrMessage request = script->runRequests().back();
    const auto* pa = reinterpret_cast<const uint8_t*>(request.param(ocr::kKeyParam)->constData());
    const auto* in = reinterpret_cast<const uint8_t*>(request.param(ocr::kKeyImageInfo)->constData());
    const QByteArray* im = request.param(ocr::kKeyImage);
    EXPECT_EQ(request.param(ocr::kKeyParam)->size(), 80);
    EXPECT_EQ(request.param(ocr::kKeyImageInfo)->size(), 24);
    EXPECT_EQ(pa[0] | pa[1] | pa[2], 0);
    EXPECT_EQ(pa[3], 0);
    EXPECT_EQ(ocr::readI32(pa + 20), 19);
    EXPECT_EQ(ocr::readI32(pa + 24), 1);
    EXPECT_EQ(ocr::readI32(pa + 60), 6);
    EXPECT_EQ(ocr::readU16(in + 0), 20);
    EXPECT_EQ(ocr::readU16(in + 2), 2);
    EXPECT_EQ(ocr::readU16(in + 4), 3);
    EXPECT_EQ(in[6], 2);
    EXPECT_EQ(ocr::readU16(in + 8), 300);  // vertical
    EXPECT_EQ(ocr::readU16(in + 10), 400); // horizontal
    EXPECT_EQ(ocr::readU32(in + 12), 6u);
    EXPECT_EQ(in[16], 1);
    ASSERT_EQ(im->size(), 6);
    // 0 = black whatever the bitmap's own colour table said.
    EXPECT_EQ(uint8_t(im->at(0)) & 0xE0, 0x60);
    EXPECT_EQ(uint8_t(im->at(3)) & 0xF0, 0xF0);
}

TEST_F(RecognitionRun, BoxArithmeticAndFieldTagRuns)
{
    // Image 300 x 200: a box partly outside is clamped to the image.
    script->runs = {mapped(u"a@b.example"_qs)};
    Card card;
    card.values.insert("full_Name", u"Keep Me"_qs);
    const QList<CardRecord*> one{&card};
    ASSERT_EQ(reg.recongnizeDetailCard(QRectF(-10.5f, 150.9f, 60.9f, 100.f), 27, 1, &one), 0);
    const OcrMessage request = script->runRequests().back();
    const auto* pa = reinterpret_cast<const uint8_t*>(request.param(ocr::kKeyParam)->constData());
    EXPECT_EQ(pa[3], 27);
    EXPECT_EQ(ocr::readI32(pa + 12), 0);   // -10 raised to 0
    EXPECT_EQ(ocr::readI32(pa + 16), 0);   // 200 - 150.9 - 100 = -50.9 -> -50 -> 0
    EXPECT_EQ(ocr::readI32(pa + 20), 50);  // -10.5 + 60.9 = 50.4
    EXPECT_EQ(ocr::readI32(pa + 24), 49);  // 200 - 150.9 = 49.1
    EXPECT_EQ(card.text("e_Mail"), u"a@b.example"_qs);
    EXPECT_EQ(card.text("full_Name"), u"Keep Me"_qs);

    // A box wholly off the image is refused without a request.
    script->requests.clear();
    EXPECT_EQ(run({&card}, 27, 1, true, QRectF(400, 10, 20, 20)), 3);
    EXPECT_TRUE(script->runRequests().empty());

    // A field-tag run ends after the first card mapped; a card skipped before it does not end it.
    script->runs = {FakeRunReply{1001}, mapped(u"b@b.example"_qs), mapped(u"c@b.example"_qs)};
    Card noData, second, third;
    images.badFiles = {u"/db/Images/bad_N1.pdf"_qs};
    Card bad(u"bad_N1.pdf"_qs);
    EXPECT_EQ(run({&bad, &noData, &second, &third}, 27, 1, true, QRectF(0, 0, 100, 100)), 0);
    EXPECT_EQ(second.text("e_Mail"), u"b@b.example"_qs);
    EXPECT_FALSE(third.values.contains("e_Mail"));
}

TEST_F(RecognitionRun, TheRunAnswersTheLastCardsResultOrTheStatusThatEndedIt)
{
    images.badFiles = {u"/db/Images/bad_N1.pdf"_qs};
    auto noFace = [] {
        auto card = std::make_unique<Card>();
        card->values.remove("face_Image_File");
        return card;
    };
    const struct {
        const char* name;
        QList<int> cards; // 0 no front file name, 1 recognised, 2 not a card PDF, 3 ends the run with 1008
        int result;
    } cases[] = {
        {"missing front, then a good card", {0, 1}, 0},
        {"good card, then a missing front", {1, 0}, 84},
        {"a skipped PDF leaves the result before it", {0, 2}, 84},
        {"a skipped PDF after a good card", {1, 2}, 0},
        {"an ending status is never hidden behind an earlier 84", {0, 3, 1}, 95},
    };
    for (const auto& c : cases) {
        std::vector<std::unique_ptr<Card>> owned;
        QList<CardRecord*> cards;
        script->runs.clear();
        for (int kind : c.cards) {
            owned.push_back(kind == 0 ? noFace() : std::make_unique<Card>(kind == 2 ? u"bad_N1.pdf"_qs : u"c1_N1.pdf"_qs));
            cards << owned.back().get();
            if (kind == 1)
                script->runs.push_back(mapped(u"a@b.example"_qs));
            if (kind == 3)
                script->runs.push_back(FakeRunReply{1008});
        }
        EXPECT_EQ(run(cards), c.result) << c.name;
    }

    // A card whose image cannot be decoded is skipped with no result of its own and no request.
    Card noFaceFirst;
    noFaceFirst.values.remove("face_Image_File");
    Card good;
    images.frontBitmap.image = QImage();
    script->requests.clear();
    EXPECT_EQ(run({&noFaceFirst, &good}), 0);
    EXPECT_TRUE(script->runRequests().empty());
}

TEST_F(RecognitionRun, SeveralApplicationsWorkAtOnceAndResultsAreWrittenInTheCardsOrder)
{
    setOcrWorkerCount(4);
    if (ocrWorkerCount() < 4)
        GTEST_SKIP() << "fewer than four cores";
    setOcrTimeouts(60000, 60000, 60000); // a safety net on a busy machine
    images.widthFromName = true;
    std::atomic<int> received{0};
    std::atomic<int> receivedBeforeFirstReply{0};
    int endingCard = -1, hungCard = -1;
    // Card k is answered with "card<k>@b.example", later cards sooner; card 0 only once the four
    // applications all hold a request, which they never would if the cards went one at a time.
    script->answer = [&](const OcrMessage& request) {
        const int card = cardOf(request);
        ++received;
        if (card == 0) {
            QElapsedTimer safety;
            safety.start();
            while (received < 4 && safety.elapsed() < 30000)
                std::this_thread::yield();
            receivedBeforeFirstReply = int(received);
        }
        FakeRunReply reply = mapped(QStringLiteral("card%1@b.example").arg(card));
        reply.delayMs = (6 - card) * 5;
        if (card == endingCard)
            reply.status = 1008;
        reply.neverAnswer = card == hungCard;
        return reply;
    };
    auto runCards = [&](QStringList* writes) {
        std::vector<std::unique_ptr<Card>> cards;
        const QList<CardRecord*> list = numberedCards(6, writes, &cards);
        return run(list);
    };

    QStringList writes;
    EXPECT_EQ(runCards(&writes), 0);
    EXPECT_GE(receivedBeforeFirstReply, 4);
    EXPECT_EQ(writes, (QStringList{"card0@b.example", "card1@b.example", "card2@b.example", "card3@b.example",
                                   "card4@b.example", "card5@b.example"}));
    EXPECT_EQ(script->connections, 4);

    // A run-ending status: nothing of a later card is written, though it was answered first.
    endingCard = 2;
    writes.clear();
    EXPECT_EQ(runCards(&writes), 95);
    EXPECT_EQ(writes, (QStringList{"card0@b.example", "card1@b.example"}));

    // A hung application: the others go on meanwhile; the run ends with the send error at its
    // time-out, and only the hung one is replaced.
    endingCard = -1;
    hungCard = 1;
    setOcrTimeouts(10000, 10000, 1000);
    writes.clear();
    EXPECT_EQ(runCards(&writes), 96);
    EXPECT_EQ(writes, QStringList{"card0@b.example"});
    EXPECT_EQ(script->connections, 4);
    hungCard = -1;
    writes.clear();
    EXPECT_EQ(runCards(&writes), 0);
    EXPECT_EQ(writes.size(), 6);
    EXPECT_EQ(script->connections, 5);
}

// An extra application is opened without the run waiting for it: the cards go on to the first
// one meanwhile. Card 0 is answered only once the second application has been sent 'OPEN', and that
// 'OPEN' only once every card has been sent. Opened, the second serves the next run as it is.
TEST_F(RecognitionRun, CardsGoOnToTheFirstApplicationWhileAnotherOpens)
{
    if (!severalApplications(2))
        GTEST_SKIP() << "one core";
    constexpr int kCards = 4;
    std::mutex mutex;
    std::condition_variable changed;
    bool secondOpenIn = false;
    int runsIn = 0;
    int runsInWhileOpenHeld = -1;
    QList<int> opens; // the connection of each 'OPEN'
    script->answerOpening = [&](int connection, const OcrMessage& request) {
        std::unique_lock lock(mutex);
        if (request.eventId == ocr::kEventOpen) {
            opens << connection;
            if (connection == 1 && !secondOpenIn) {
                secondOpenIn = true;
                changed.notify_all();
                changed.wait_for(lock, std::chrono::seconds(10), [&] { return runsIn == kCards; });
                runsInWhileOpenHeld = runsIn;
            }
        }
        return FakeRunReply{};
    };
    script->answer = [&](const OcrMessage& request) {
        const int card = cardOf(request);
        std::unique_lock lock(mutex);
        ++runsIn;
        changed.notify_all();
        if (card == 0)
            changed.wait_for(lock, std::chrono::seconds(10), [&] { return secondOpenIn; });
        return mapped(QStringLiteral("card%1@b.example").arg(card));
    };
    const QStringList all{"card0@b.example", "card1@b.example", "card2@b.example", "card3@b.example"};
    QStringList writes;
    std::vector<std::unique_ptr<Card>> cards;
    const QList<CardRecord*> list = numberedCards(kCards, &writes, &cards);
    EXPECT_EQ(run(list), 0);
    EXPECT_EQ(writes, all);
    EXPECT_EQ(runsInWhileOpenHeld, kCards);
    EXPECT_EQ(opens, (QList<int>{0, 1}));

    writes.clear();
    runsIn = 0;
    EXPECT_EQ(run(list), 0);
    EXPECT_EQ(writes, all);
    EXPECT_EQ(opens, (QList<int>{0, 1, 0})); // the first application is opened for every run
    EXPECT_EQ(script->connections, 2);
}

// An extra application whose engine refuses or does not answer is ended and left out of the run:
// the card it would have had goes to the first, and the run comes out as with one application.
TEST_F(RecognitionRun, AnApplicationThatCannotBeOpenedIsLeftOutAndItsCardGoesToAnother)
{
    if (!severalApplications(2))
        GTEST_SKIP() << "one core";
    auto answerCard = [](const OcrMessage& request) {
        FakeRunReply reply = mapped(QStringLiteral("card%1@b.example").arg(cardOf(request)));
        reply.status = cardOf(request) == 2 ? 1001 : 0;
        return reply;
    };
    auto runCards = [&](QStringList* writes) {
        std::vector<std::unique_ptr<Card>> cards;
        return run(numberedCards(4, writes, &cards));
    };
    setOcrWorkerCount(1);
    script->answer = answerCard;
    QStringList alone;
    const int aloneResult = runCards(&alone);
    ASSERT_EQ(alone, (QStringList{"card0@b.example", "card1@b.example", "", "card3@b.example"})); // card 2 read nothing
    setOcrWorkerCount(2);

    FakeRunReply hangUp;
    hangUp.hangUp = true;
    FakeRunReply silent;
    silent.neverAnswer = true;
    const struct {
        const char* name;
        uint32_t event;
        FakeRunReply reply;
    } cases[] = {
        {"'OPEN' refused", ocr::kEventOpen, FakeRunReply{5}}, {"'ISOK' refused", ocr::kEventIsOk, FakeRunReply{1}},
        {"closed at 'OPEN'", ocr::kEventOpen, hangUp},        {"closed at 'ISOK'", ocr::kEventIsOk, hangUp},
        {"'ISOK' unanswered", ocr::kEventIsOk, silent},
    };
    for (const auto& c : cases) {
        script = std::make_shared<FakeOcrScript>();
        setOcrConnector([s = script] { return std::make_unique<FakeOcrConnection>(s); });
        setOcrTimeouts(10000, 1000, 10000);
        std::mutex mutex;
        std::condition_variable changed;
        bool failing = false;
        bool firstHeldUntilFailing = false;
        // Card 0 is answered once the second application has its failing request, so that
        // another card waits for an application meanwhile.
        script->answerOpening = [&](int connection, const OcrMessage& request) {
            if (connection != 1 || request.eventId != c.event)
                return FakeRunReply{};
            std::lock_guard lock(mutex);
            failing = true;
            changed.notify_all();
            return c.reply;
        };
        script->answer = [&](const OcrMessage& request) {
            if (cardOf(request) == 0) {
                std::unique_lock lock(mutex);
                firstHeldUntilFailing = changed.wait_for(lock, std::chrono::seconds(10), [&] { return failing; });
            }
            return answerCard(request);
        };
        QStringList writes;
        EXPECT_EQ(runCards(&writes), aloneResult) << c.name;
        EXPECT_EQ(writes, alone) << c.name;
        EXPECT_TRUE(firstHeldUntilFailing) << c.name;
        EXPECT_EQ(script->runRequests().size(), 4u) << c.name;
        EXPECT_EQ(script->connections, 2) << c.name;
        EXPECT_FALSE(isOcrWorkerRunning(1)) << c.name;
    }
}

// Extra applications start side by side: each 'OPEN' is answered only once all three have been
// sent theirs. Four applications answering at their own pace, the cards are written in order.
TEST_F(RecognitionRun, ApplicationsStartSideBySideAndTheirCardsAreWrittenInOrder)
{
    if (!severalApplications(4))
        GTEST_SKIP() << "fewer than four cores";
    constexpr int kCards = 12;
    std::mutex mutex;
    std::condition_variable changed;
    int opensIn = 0;
    int sideBySide = 0;
    bool firstHeldUntilOpens = false;
    script->answerOpening = [&](int connection, const OcrMessage& request) {
        if (connection > 0 && request.eventId == ocr::kEventOpen) {
            std::unique_lock lock(mutex);
            ++opensIn;
            changed.notify_all();
            sideBySide += changed.wait_for(lock, std::chrono::seconds(5), [&] { return opensIn == 3; }) ? 1 : 0;
        }
        return FakeRunReply{};
    };
    // Card 0 is answered once the three have been sent 'OPEN', so that the others wait for them.
    script->answer = [&](const OcrMessage& request) {
        const int card = cardOf(request);
        if (card == 0) {
            std::unique_lock lock(mutex);
            firstHeldUntilOpens = changed.wait_for(lock, std::chrono::seconds(5), [&] { return opensIn == 3; });
        }
        FakeRunReply reply = mapped(QStringLiteral("card%1@b.example").arg(card));
        reply.delayMs = (kCards - card) % 4 * 5;
        return reply;
    };
    QStringList writes;
    std::vector<std::unique_ptr<Card>> cards;
    EXPECT_EQ(run(numberedCards(kCards, &writes, &cards)), 0);
    QStringList expected;
    for (int k = 0; k < kCards; ++k)
        expected << QStringLiteral("card%1@b.example").arg(k);
    EXPECT_EQ(writes, expected);
    EXPECT_TRUE(firstHeldUntilOpens);
    EXPECT_EQ(sideBySide, 3);
    EXPECT_EQ(script->connections, 4);
}

// Cards are decoded on several threads: a later card decoded first still goes to the OCR
// application and has its result written after the earlier ones.
TEST_F(RecognitionRun, CardsDecodedOutOfOrderAreSentAndWrittenInTheirOrder)
{
    if (QThread::idealThreadCount() < 2)
        GTEST_SKIP() << "one core: cards are decoded one at a time";
    images.widthFromName = true;
    std::mutex mutex;
    std::condition_variable decoded;
    QStringList finished; // decodings in the order they ended
    bool laterFirst = false;
    images.onAcquire = [&](const QString& front) {
        std::unique_lock lock(mutex);
        if (front.endsWith(u"/c0_N1.pdf"))
            laterFirst = decoded.wait_for(lock, std::chrono::seconds(10), [&] { return finished.contains(u"c1"_qs); });
        finished << front.section(u'/', -1).section(u'_', 0, 0);
        decoded.notify_all();
    };
    script->answer = [](const OcrMessage& request) {
        const int card = cardOf(request);
        return mapped(QStringLiteral("card%1@b.example").arg(card));
    };
    QStringList writes;
    std::vector<std::unique_ptr<Card>> cards;
    const QList<CardRecord*> list = numberedCards(3, &writes, &cards);
    EXPECT_EQ(run(list), 0);
    EXPECT_TRUE(laterFirst);
    QList<int> sent;
    for (const OcrMessage& request : script->runRequests())
        sent << cardOf(request);
    EXPECT_EQ(sent, (QList<int>{0, 1, 2}));
    EXPECT_EQ(writes, (QStringList{"card0@b.example", "card1@b.example", "card2@b.example"}));
}

// An import hands each card on as soon as its file is written: the run that starts then goes on in
// recongnizeCard, each card decoded once, the replies taken as they come (later cards sooner) and
// written in the cards' order; a run-ending reply stops what follows; a run given other cards than
// those handed on starts afresh with its own.
TEST_F(RecognitionRun, CardsHandedOnDuringAnImportAreDecodedOnceAndWrittenInTheirOrder)
{
    setOcrWorkerCount(4);
    setOcrTimeouts(10000, 10000, 10000); // a safety net on a busy machine
    images.widthFromName = true;
    int endingCard = -1;
    script->answer = [&](const OcrMessage& request) {
        const int card = cardOf(request);
        FakeRunReply reply = mapped(QStringLiteral("card%1@b.example").arg(card));
        reply.delayMs = (6 - card) * 5;
        if (card == endingCard)
            reply.status = 1008;
        return reply;
    };
    auto importCards = [&](QStringList* writes, int handedOn, const QString& handedOnInstead = {}) {
        std::vector<std::unique_ptr<Card>> cards;
        const QList<CardRecord*> list = numberedCards(6, writes, &cards);
        const Card other(handedOnInstead);
        for (int k = 0; k < handedOn; ++k)
            reg.recognizeCardAhead(handedOnInstead.isEmpty() ? *list.at(k) : static_cast<const CardRecord&>(other), 0, 1);
        return run(list);
    };
    const QStringList all{"card0@b.example", "card1@b.example", "card2@b.example", "card3@b.example", "card4@b.example", "card5@b.example"};
    const struct {
        const char* name;
        int handedOn;
        int endingCard;
        int result;
        QStringList writes;
    } cases[] = {
        {"every card handed on", 6, -1, 0, all},
        {"the first cards handed on, the others joining in recongnizeCard", 2, -1, 0, all},
        {"a run-ending reply", 6, 2, 95, {"card0@b.example", "card1@b.example"}},
    };
    for (const auto& c : cases) {
        endingCard = c.endingCard;
        images.acquired.clear();
        QStringList writes;
        EXPECT_EQ(importCards(&writes, c.handedOn), c.result) << c.name;
        EXPECT_EQ(writes, c.writes) << c.name;
        if (c.result == 0) {
            images.acquired.sort();
            EXPECT_EQ(images.acquired.size(), 6) << c.name;
            EXPECT_EQ(images.acquired.removeDuplicates(), 0) << c.name;
        }
    }

    endingCard = -1;
    QStringList writes;
    EXPECT_EQ(importCards(&writes, 1, u"c7_N1.pdf"_qs), 0);
    EXPECT_EQ(writes, all);
}

// A run decodes its cards into the buffers of earlier cards' bitmaps, on several threads, while
// earlier requests are still going out: each request carries its own card's pixels all the same.
TEST_F(RecognitionRun, EveryCardOfARunIsSentWithItsOwnPixels)
{
    setOcrWorkerCount(4);
    setOcrTimeouts(10000, 10000, 10000); // a safety net on a busy machine
    QTemporaryDir db;
    ASSERT_TRUE(QDir(db.path()).mkpath(u"Images"_qs));
    // Card k: noise of its own, 160 - k pixels wide (later cards fit the buffers of earlier ones),
    // so that a pixel left from another card shows.
    constexpr int kCards = 24;
    std::vector<QImage> expected;
    std::vector<std::unique_ptr<Card>> owned;
    QList<CardRecord*> cards;
    for (int k = 0; k < kCards; ++k) {
        QImage noise(160 - k, 60, QImage::Format_RGB888);
        QRandomGenerator random(quint32(k + 1));
        for (int y = 0; y < noise.height(); ++y) {
            uchar* row = noise.scanLine(y);
            for (int x = 0; x < 3 * noise.width(); ++x)
                row[x] = uchar(random.bounded(256));
        }
        testpdf::Document document = testpdf::scannerDocument(0);
        const testpdf::Image jpeg = testpdf::jpegImage(noise);
        document.pages.push_back(testpdf::fullPage(jpeg));
        const QString name = QStringLiteral("c%1_N1.pdf").arg(k);
        ASSERT_TRUE(testpdf::writePdf(db.filePath(u"Images/"_qs + name), document));
        QImage grey;
        ASSERT_EQ(decodeJpegToGrey(jpeg.data.constData(), size_t(jpeg.data.size()), &grey), JpegGreyResult::Decoded);
        expected.push_back(grey);
        owned.push_back(std::make_unique<Card>(name));
        cards << owned.back().get();
    }
    // Replies a little late: cards are decoded ahead and wait with their bitmaps to be sent.
    script->answer = [](const OcrMessage&) {
        FakeRunReply reply;
        reply.status = 1001;
        reply.delayMs = 5;
        return reply;
    };
    OpenDatabase database;
    ASSERT_TRUE(database.choose(db.path()));
    CardFileRecognitionImages cardFiles(database);
    PLRegController files;
    files.setImages(&cardFiles);
    EXPECT_EQ(files.recongnizeCard(QRectF(), &cards, false, 0, 1), 0);

    const std::vector<OcrMessage> requests = script->runRequests();
    ASSERT_EQ(requests.size(), size_t(kCards));
    std::vector<int> sent;
    for (const OcrMessage& request : requests) {
        const auto* info = reinterpret_cast<const uint8_t*>(request.param(ocr::kKeyImageInfo)->constData());
        const int card = 160 - ocr::readU16(info + ocr::kInfoWidthOffset);
        ASSERT_TRUE(card >= 0 && card < kCards) << card;
        sent.push_back(card);
        const QImage& grey = expected[size_t(card)];
        const int bytesPerRow = ocr::readU16(info + ocr::kInfoBytesPerRowOffset);
        const QByteArray& pixels = *request.param(ocr::kKeyImage);
        ASSERT_EQ(ocr::readU16(info + ocr::kInfoHeightOffset), grey.height()) << card;
        ASSERT_EQ(pixels.size(), qsizetype(bytesPerRow) * grey.height()) << card;
        int differentRows = 0;
        for (int y = 0; y < grey.height(); ++y)
            differentRows += std::memcmp(pixels.constData() + qsizetype(y) * bytesPerRow, grey.constScanLine(y), size_t(grey.width())) != 0;
        EXPECT_EQ(differentRows, 0) << "card " << card;
    }
    std::sort(sent.begin(), sent.end());
    EXPECT_EQ(std::unique(sent.begin(), sent.end()), sent.end());
}

// Without the card images there is no database to read the cards from: no card is sent.
TEST_F(RecognitionRun, CardsAreRecognisedOnlyWithTheCardImages)
{
    PLRegController bare;
    Card card;
    script->runs = {mapped(u"a@b.example"_qs)};
    const QList<CardRecord*> cards{&card};
    EXPECT_EQ(bare.recongnizeCard(QRectF(), &cards, false, 0, 1), PLRegController::kMissingArgument);
    EXPECT_TRUE(script->runRequests().empty());
    EXPECT_FALSE(card.values.contains("e_Mail"));
}

TEST_F(RecognitionRun, StoreCardsAreWrittenThrough)
{
    QTemporaryDir dir;
    auto context = ManagedObjectContext::open(CardStore::currentModel(), dir.filePath(u"Pelmora1.sqldb"_qs));
    ASSERT_TRUE(context);
    ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
    card->setValue(u"face_Image_File"_qs, u"c1_N1.pdf"_qs);
    card->setValue(u"memo"_qs, u"keep"_qs);
    script->runs = {mapped(u"a@b.example"_qs)};
    const ManagedObjectList cards{card, nullptr};
    EXPECT_EQ(reg.recongnizeCard(QRectF(), &cards, false, 0, 1), 3); // the missing record is a failure
    EXPECT_EQ(card->value(u"e_Mail"_qs).toString(), u"a@b.example"_qs);
    EXPECT_EQ(card->value(u"family_Name"_qs).toString(), u"Lopez"_qs);
    EXPECT_EQ(card->value(u"e_Mail_XY"_qs).toString(), u"10/160/100/20"_qs);
    EXPECT_EQ(card->value(u"memo"_qs).toString(), u"keep"_qs);
}

TEST_F(RecognitionRun, SenderReadsReplyBlocksOnlyOnSuccess)
{
    ASSERT_TRUE(LaunchOCRApplication());
    const QByteArray pa(80, '\0');
    auto send = [&](QByteArray* result, QByteArray* orientation, int32_t* status) {
        return PLSendEventToOCR(ocr::kEventRun, {ocr::kKeyParam, pa.constData(), 80}, {ocr::kKeyUnused, nullptr, 0},
                                {ocr::kKeyUnused, nullptr, 0}, status, {ocr::kKeyResult, result},
                                {ocr::kKeyOrientation, orientation});
    };
    FakeRunReply refused = mapped(u"a@b.example"_qs);
    refused.status = 1007;
    FakeRunReply empty;
    empty.emptyResult = true;
    empty.orientation = orientationBlock(0, 0);
    script->runs = {refused, empty, mapped(u"a@b.example"_qs)};
    QByteArray result("old"), orientation;
    int32_t status = 0;
    EXPECT_EQ(send(&result, &orientation, &status), 0);
    EXPECT_EQ(status, 1007);
    EXPECT_EQ(result, QByteArray("old")); // nothing read with a status other than 0
    EXPECT_EQ(send(&result, &orientation, &status), kOcrErrEmptyReply);
    EXPECT_TRUE(result.isEmpty());
    EXPECT_EQ(send(&result, &orientation, &status), 0);
    EXPECT_EQ(size_t(result.size()), ocr::kResultSize);
    EXPECT_EQ(size_t(orientation.size()), ocr::kOrientationSize);
    // Only the slots used travel: the request carried 'PLPA' alone.
    EXPECT_EQ(script->runRequests().back().params.size(), 1u);
}

// Whatever a run ends with reaches the user as a numbered message: every result, those of the
// statuses that end a run (the controller's own table) and those of the run's own failures, has
// a sentence in the shipped English table, never "No Resource" or "Undefined Err".
TEST_F(RecognitionRun, EveryResultReachesTheUserAsASentence)
{
    QMap<int, QString> results; // result -> how it came
    const auto note = [&results](int result, const QString& how) {
        EXPECT_NE(result, 0) << how.toStdString();
        results.insert(result, how);
    };
    const auto runOne = [&](const QString& how, std::optional<FakeRunReply> reply, bool withFront = true, int language = 1) {
        script->runs.clear();
        if (reply)
            script->runs.push_back(*reply);
        Card card;
        if (!withFront)
            card.values.remove("face_Image_File");
        note(run({&card}, 0, language), how);
    };
    for (const PLRegController::EndingStatus& rule : PLRegController::kEndingStatuses)
        runOne(QStringLiteral("status %1").arg(rule.status), FakeRunReply{rule.status});
    script->openStatus = 5;
    runOne(QStringLiteral("the engine refused to open"), std::nullopt);
    script->openStatus = 0;
    FakeRunReply noBlocks = mapped(u"a@b.example"_qs);
    noBlocks.orientation.clear();
    runOne(QStringLiteral("a reply without its blocks"), noBlocks);
    runOne(QStringLiteral("a card without a front image"), std::nullopt, false);
    FakeRunReply missingData = mapped(u"a@b.example"_qs);
    ocr::writeI32(reinterpret_cast<uint8_t*>(missingData.orientation.data()) + ocr::kOrientationMissingDataOffset,
                  ocr::kMissingJapaneseData);
    runOne(QStringLiteral("recognition data missing"), missingData);
    const QString broken = QStringLiteral(PELMORA_BROKEN_LIBRARIES);
    SeparationLibrary::setApplicationFolder(QStringLiteral("/nonexistent"));
    // A Japanese card's address is always split by its library.
    runOne(QStringLiteral("no separation library"), mapped(u"a@b.example"_qs), true, 0);
    for (const QString& folder : {broken + QStringLiteral("/entry"), broken + QStringLiteral("/init"), QStringLiteral("/nonexistent")}) {
        SeparationLibrary::setApplicationFolder(folder);
        CardDict dict;
        note(reg.separateNameAndYomi(u"Smith"_qs, QString(), 1, &dict), QStringLiteral("a separation library in ") + folder);
    }
    SeparationLibrary::setApplicationFolder(QString::fromLocal8Bit(qgetenv("PELMORA_STAGE_DIR")));
    PLRegController bare;
    Card card;
    const QList<CardRecord*> cards{&card};
    note(bare.recongnizeCard(QRectF(), &cards, false, 0, 1), QStringLiteral("no card images"));

    Bundle::setMain(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora"));
    const QVariantList package{QStringLiteral("tesseract-ocr-jpn")};
    for (auto it = results.cbegin(); it != results.cend(); ++it) {
        const std::string text = PLMessage::errorText(it.key(), package).toStdString();
        EXPECT_NE(text, "No Resource") << it.key() << " (" << it.value().toStdString() << ")";
        EXPECT_NE(text.rfind("Undefined Err", 0), 0u) << it.key() << " (" << it.value().toStdString() << ")";
    }
    EXPECT_TRUE(PLMessage::errorText(PLRegController::kLanguageDataMissing, package).contains(u"tesseract-ocr-jpn"_qs));
    Bundle::setMain(QStringLiteral("/nonexistent"));
}

TEST_F(RecognitionRun, QuitGoesOnlyToARunningApplication)
{
    QuitOCRApplication();
    EXPECT_EQ(script->connections, 0);
    ASSERT_TRUE(LaunchOCRApplication());
    EXPECT_TRUE(LaunchOCRApplication());
    EXPECT_EQ(script->connections, 1);
    QuitOCRApplication();
    EXPECT_TRUE(script->quitReceived);
    EXPECT_FALSE(isOCRApplicationRunning());
}

} // namespace
