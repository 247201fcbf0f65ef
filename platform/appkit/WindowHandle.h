// A window as the layers without widgets name it: they hand it on to alerts, sheets and panels,
// and only the dialog layer (platform/appkit/dialogs) turns it back into a widget. It does not
// own the window and reads as null once the window is gone. Main thread only.
//
// It converts implicitly from a window pointer (a QWidget* where widgets are known) and from a
// QPointer to one, so that callers with widgets pass their windows as they stand.
#pragma once

#include <QObject>
#include <QPointer>

class WindowHandle {
public:
    WindowHandle() = default;
    WindowHandle(std::nullptr_t) {}
    WindowHandle(QObject* window) : m_window(window) {}
    template <typename T>
    WindowHandle(const QPointer<T>& window) : m_window(window.data())
    {
    }

    QObject* object() const { return m_window.data(); }
    bool isNull() const { return m_window.isNull(); }
    explicit operator bool() const { return !isNull(); }
    bool operator==(const WindowHandle& other) const { return m_window == other.m_window; }

private:
    QPointer<QObject> m_window;
};
