// Quitting while a card is out with the OCR program: the processing sheet says that the run is
// being finished, the card is still read and stored, and the window then closes, which quits.
// The OCR program is a fake that holds its answer until the test has quit.
#include "app/core/LocalString.h"
#include "app/core/PLAppController.h"
#include "app/images/OcrApplicationLink.h"
#include "app/images/SeparationLibrary.h"
#include "app/ui/PLMainMenu.h"
#include "platform/appkit/Scheduler.h"
#include "tests/app/images/FakeOcrServer.h"
#include "tests/app/images/ResultBuilder.h"
#include "tests/app/ui/ImagePaneFixture.h"
#include "tests/support/appkit/ManualClock.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

class QuitDuringRecognition : public ImagePaneFixture {
protected:
    ManualClock clock;

    void SetUp() override
    {
        ImagePaneFixture::SetUp();
        Scheduler::shared().setClock(&clock);
        SeparationLibrary::setApplicationFolder(QString::fromLocal8Bit(qgetenv("PELMORA_STAGE_DIR")));
        Bundle::setMain(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora"));
    }
    void TearDown() override
    {
        setOcrConnector(nullptr);
        Scheduler::shared().setClock(nullptr);
        ImagePaneFixture::TearDown();
        Bundle::setMain(bundle.dir.path());
    }
    QString storedMail()
    {
        const auto reader = ManagedObjectContext::open(CardStore::currentModel(), storeFile());
        const FetchRequest request{QString::fromLatin1(CardStore::kEntityCard), keyEquals(QStringLiteral("cardID"), QStringLiteral("Q")), {}};
        return reader->executeFetchRequest(request).value(0)->stringValue(QStringLiteral("e_Mail"));
    }
};

} // namespace

TEST_F(QuitDuringRecognition, TheSheetSaysTheRunIsFinishedAndTheWindowQuitsAfterIt)
{
    const struct {
        const char* name;
        std::function<void(QDialog* sheet)> quit;
    } cases[] = {
        {"the Quit keys", [](QDialog* sheet) { QTest::keyClick(sheet->windowHandle(), Qt::Key_Q, Qt::ControlModifier); }},
        {"the sheet's window closed",
         [](QDialog* sheet) {
             // What the window manager's close button sends: a close of the platform window.
             QCloseEvent close;
             QCoreApplication::sendEvent(sheet->windowHandle(), &close);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!window->window()->isVisible()) {
            // As at the next launch, once the window before has quit.
            window.reset();
            startWindow();
        }
        PLAppController delegate(window.get(), openDatabase, PLAppServices{}, Bundle::main());
        PLMainMenu menu(*window, delegate);
        bool terminated = false;
        window->setTerminate([&terminated] { terminated = true; });
        writeScanner(QStringLiteral("Q_N1.pdf"), 1);
        addCard(QStringLiteral("Q"), {{QStringLiteral("face_Image_File"), QStringLiteral("Q_N1.pdf")}});
        select({QStringLiteral("Q")});

        // The fake holds its answer; meanwhile the main thread, waiting for it, is asked to quit.
        auto script = std::make_shared<FakeOcrScript>();
        QByteArray result = emptyResult();
        setSlot(result, 23, QStringLiteral("anna@acme.example"), 10, 20, 110, 40);
        script->runs = {FakeRunReply{0, result, orientationBlock(0, 0)}};
        std::mutex mutex;
        std::condition_variable answered;
        bool release = false;
        QString sheetText;
        bool sheetShown = false;
        script->beforeRunReply = [&] {
            QMetaObject::invokeMethod(
                qApp,
                [&] {
                    auto* sheet = window->window()->findChild<QDialog*>(QStringLiteral("_wndProcessing"));
                    sheetShown = sheet && sheet->isVisible();
                    if (sheet) {
                        c.quit(sheet);
                        sheetText = sheet->findChild<QLabel*>(QStringLiteral("_processingText"))->text();
                    }
                    std::lock_guard lock(mutex);
                    release = true;
                    answered.notify_all();
                },
                Qt::QueuedConnection);
            // The time-out is only a safety net for a main thread that never comes.
            std::unique_lock lock(mutex);
            answered.wait_for(lock, std::chrono::seconds(20), [&] { return release; });
        };
        setOcrConnector([script] { return std::make_unique<FakeOcrConnection>(script); });
        setOcrTimeouts(30000, 30000, 30000);

        presenter.queueAnswer(kAlertFirstButtonReturn);
        window->window()->findChild<QToolButton*>(QStringLiteral("_recognizeBarButton"))->click();

        EXPECT_TRUE(sheetShown);
        EXPECT_EQ(sheetText, getLocalString(QStringLiteral("IDS_INDICATOR_OCR_QUIT")));
        EXPECT_NE(sheetText, QStringLiteral("IDS_INDICATOR_OCR_QUIT")) << "a sentence of the string table";
        EXPECT_EQ(storedMail(), QStringLiteral("anna@acme.example")) << "the run was finished";
        EXPECT_TRUE(window->window()->isVisible()) << "the window stays until the command is over";
        clock.advance(0);
        clock.advance(0);
        EXPECT_FALSE(window->window()->isVisible());
        EXPECT_TRUE(terminated);
        setOcrConnector(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
