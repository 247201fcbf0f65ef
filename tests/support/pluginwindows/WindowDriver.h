// Drives the plug-in's windows as a user would: when a window with a given objectName is the
// active modal window, a scripted action runs on it (typing, ticking, pressing by objectName).
// Alerts are closed with OK and their texts kept. A window that waits for the user with no step for
// it fails the test, once the event queue has gone idle with it in front, and is closed, so that a
// run that went astray ends instead of hanging.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <map>

class WindowDriver {
public:
    using Action = std::function<void(QWidget* window)>;

    WindowDriver();
    ~WindowDriver();
    WindowDriver(const WindowDriver&) = delete;
    WindowDriver& operator=(const WindowDriver&) = delete;

    using Ready = std::function<bool(QWidget* window)>;

    // Runs `action` the next time `window` is the active modal window and `ready` holds for it
    // (a window busy with a service call is not ready for the user); actions run in order.
    void then(const QString& window, Action action, Ready ready = {});
    // Ready when the named button can be pressed.
    static Ready enabled(const char* button);
    // Runs `action` on every appearance of `window` that no scripted action is waiting for.
    void always(const QString& window, Action action);

    const QStringList& alerts() const { return m_alerts; }
    // The windows the actions ran on, in order.
    const QStringList& handled() const { return m_handled; }
    bool finished() const { return m_script.empty(); }

    // Helpers for actions.
    template <typename T>
    static T* child(QWidget* window, const char* name)
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    static void type(QWidget* window, const char* field, const QString& text);
    static void press(QWidget* window, const char* button);
    static void tick(QWidget* window, const char* box, bool on = true);
    static QString textOf(QWidget* window, const char* label);

private:
    void step();
    QWidget* frontWindow();
    void endUnhandled(QWidget* window);

    static WindowDriver* s_current;
    WindowDriver* m_previous = nullptr;
    QTimer m_timer;
    struct Scripted {
        QString window;
        Action action;
        Ready ready;
    };
    std::deque<Scripted> m_script;
    std::map<QString, Action> m_always;
    QStringList m_alerts;
    QStringList m_handled;
    QList<QPointer<QWidget>> m_opened;
    bool m_starting = false;
    // The unhandled window in front at the last step, and whether the event loop has gone idle since.
    QPointer<QWidget> m_unhandled;
    bool m_idleSince = false;
    QPointer<QWidget> m_rejected;
    int m_unhandledCount = 0;
};
