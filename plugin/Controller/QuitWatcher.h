// Calls back when the application is asked to quit (QCoreApplication::quit, the session's end)
// while it lives, so that a window waiting on the service can end its wait instead of outliving
// the request. The request itself goes on to the application.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <functional>
#include <utility>

class QuitWatcher : public QObject {
public:
    explicit QuitWatcher(std::function<void()> onQuit) : m_onQuit(std::move(onQuit))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit && m_onQuit)
            m_onQuit();
        return false;
    }

private:
    std::function<void()> m_onQuit;
};
