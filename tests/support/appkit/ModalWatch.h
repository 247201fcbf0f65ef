// Acts once on the first modal window of type T that comes up: the timer fires from the event
// loop that the modal run spins, so a test can answer a window its command opens and waits on.
#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

template <class T>
class ModalWatch {
public:
    explicit ModalWatch(std::function<void(T*)> act)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, act = std::move(act)] {
            auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!window)
                return;
            m_timer.stop();
            m_ran = true;
            act(window);
        });
        m_timer.start(0);
    }
    bool ran() const { return m_ran; }

private:
    QTimer m_timer;
    bool m_ran = false;
};
