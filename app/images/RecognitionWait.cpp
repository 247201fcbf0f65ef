#include "app/images/RecognitionWait.h"

#include "platform/appkit/ModalScope.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <condition_variable>
#include <mutex>
#include <utility>

namespace {

std::mutex g_mutex;
std::condition_variable g_ended;
QEventLoop* g_waitLoop = nullptr; // main thread only

} // namespace

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
    QEventLoop loop;
    QEventLoop* const outer = std::exchange(g_waitLoop, &loop);
    while (!done())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    g_waitLoop = outer;
    // A wake-up taken by this loop may have been meant for the one it interrupted.
    if (outer)
        wakeRecognitionWaiters();
}
