#include "app/images/RecognitionWait.h"

#include "platform/appkit/ModalScope.h"
#include "platform/appkit/QuitKeys.h"
#include "platform/appkit/Scheduler.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QThread>
#include <QWindow>

#include <condition_variable>
#include <mutex>
#include <utility>

namespace {

std::mutex g_mutex;
std::condition_variable g_ended;
QEventLoop* g_waitLoop = nullptr; // main thread only
std::function<bool(QWindow*)> g_quitHandler; // main thread only
const void* g_quitHandlerOwner = nullptr;

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop: return true;
    default: return false;
    }
}

bool isQuitKeys(QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
        return quitKeys().contains(QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()));
    return event->type() == QEvent::Shortcut && quitKeys().contains(static_cast<QShortcutEvent*>(event)->key());
}

// On the application while the main thread waits: user input is dropped, as it would be behind
// the processing sheet, but the user's way out is heard.
class QuitRequestFilter : public QObject {
public:
    explicit QuitRequestFilter(QCoreApplication* app) : m_app(app) { m_app->installEventFilter(this); }
    ~QuitRequestFilter() override { m_app->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (isQuitKeys(event)) {
            if (g_quitHandler)
                g_quitHandler(nullptr);
            return true;
        }
        if (isUserInput(event->type()))
            return true;
        // A window is closed through its platform window only by the user (or QWindow::close);
        // code closes the widget, which is not stopped here.
        if (event->type() != QEvent::Close || !watched->isWindowType())
            return false;
        auto* window = static_cast<QWindow*>(watched);
        event->ignore();
        if (!g_quitHandler || !g_quitHandler(window)) {
            // Any other window closes as asked once the run is over.
            Scheduler::shared().performAfterDelay(nullptr, QStringLiteral("close"), 0, [closing = QPointer<QWindow>(window)] {
                if (closing)
                    closing->close();
            });
        }
        return true;
    }

private:
    QCoreApplication* m_app;
};

} // namespace

void setRecognitionQuitHandler(const void* owner, std::function<bool(QWindow* window)> handler)
{
    if (!handler && owner != g_quitHandlerOwner)
        return;
    g_quitHandler = std::move(handler);
    g_quitHandlerOwner = g_quitHandler ? owner : nullptr;
}

void wakeRecognitionWaiters()
{
    {
        std::lock_guard lock(g_mutex);
    }
    g_ended.notify_all();
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            app,
            [] {
                if (g_waitLoop)
                    g_waitLoop->quit();
            },
            Qt::QueuedConnection);
    }
}

void waitForRecognitionWork(const std::function<bool()>& done)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        std::unique_lock lock(g_mutex);
        g_ended.wait(lock, done);
        return;
    }
    if (done())
        return;
    // Work that ends before the loop runs has queued its wake-up already: the loop sees it.
    ModalScope scope;
    QuitRequestFilter filter(app);
    QEventLoop loop;
    QEventLoop* const outer = std::exchange(g_waitLoop, &loop);
    while (!done())
        loop.exec();
    g_waitLoop = outer;
    // A wake-up taken by this loop may have been meant for the one it interrupted.
    if (outer)
        wakeRecognitionWaiters();
}
