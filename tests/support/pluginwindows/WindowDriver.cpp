#include "tests/support/pluginwindows/WindowDriver.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kMaxUnhandled = 20;

// Whether a window waits for the user: not one of the plug-in's windows that stand in front while a
// service call runs (only their Cancel can be pressed), nor one busy with a call of its own (its
// busy cursor shows it, or all its buttons are disabled).
bool waitsForTheUser(const QWidget* window)
{
    if (window->objectName() == QLatin1String("_waitingView") || window->objectName() == QLatin1String("_progressView"))
        return false;
    if (window->cursor().shape() == Qt::BusyCursor)
        return false;
    const QList<QPushButton*> buttons = window->findChildren<QPushButton*>();
    return std::any_of(buttons.begin(), buttons.end(),
                       [window](const QPushButton* button) { return button->isEnabled() && button->isVisibleTo(window); });
}

QString nameOf(const QWidget* window)
{
    return window->objectName().isEmpty() ? QString::fromLatin1(window->metaObject()->className()) : window->objectName();
}

}

WindowDriver* WindowDriver::s_current = nullptr;

// The driver made last drives; one made before it waits until it is gone.
WindowDriver::WindowDriver() : m_previous(s_current)
{
    s_current = this;
    QObject::connect(&m_timer, &QTimer::timeout, [this] { step(); });
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &m_timer,
                     [this] { m_idleSince = true; });
    m_timer.start(10);
}

WindowDriver::~WindowDriver()
{
    s_current = m_previous;
}

void WindowDriver::then(const QString& window, Action action, Ready ready)
{
    m_script.push_back({window, std::move(action), std::move(ready)});
}

WindowDriver::Ready WindowDriver::enabled(const char* button)
{
    return [button](QWidget* window) {
        auto* target = child<QAbstractButton>(window, button);
        return target && target->isEnabled();
    };
}

void WindowDriver::always(const QString& window, Action action)
{
    m_always[window] = std::move(action);
}

// The window the user faces: an open alert first, else the visible modal window opened last.
QWidget* WindowDriver::frontWindow()
{
    QWidget* front = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowModality() == Qt::NonModal)
            continue;
        if (qobject_cast<QMessageBox*>(window))
            return window;
        if (!m_opened.contains(window))
            m_opened.append(window);
    }
    m_opened.removeIf([](const QPointer<QWidget>& window) { return !window || !window->isVisible(); });
    if (!m_opened.isEmpty())
        front = m_opened.last();
    return front;
}

void WindowDriver::step()
{
    if (m_starting || s_current != this)
        return;
    QWidget* window = frontWindow();
    if (!window)
        return;
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        m_alerts.append(box->informativeText());
        box->accept();
        return;
    }
    Action action;
    if (!m_script.empty() && m_script.front().window == window->objectName()) {
        if (m_script.front().ready && !m_script.front().ready(window))
            return;
        action = std::move(m_script.front().action);
        m_script.pop_front();
    } else if (const auto found = m_always.find(window->objectName()); found != m_always.end()) {
        action = found->second;
    } else {
        endUnhandled(window);
        return;
    }
    m_unhandled = nullptr;
    m_rejected = nullptr;
    m_handled.append(window->objectName());
    // Run outside this timer's event: a timer does not fire again inside its own event, and an
    // action may open a nested modal loop (an alert) that this driver has to answer.
    m_starting = true;
    QTimer::singleShot(0, window, [this, action = std::move(action), target = QPointer<QWidget>(window)] {
        m_starting = false;
        if (target)
            action(target);
    });
}

// A window that waits for the user with no step for it would wait until the test is killed. It is
// judged only once the event queue has been idle with it in front: nothing already on its way changes it.
void WindowDriver::endUnhandled(QWidget* window)
{
    if (!waitsForTheUser(window)) {
        m_unhandled = nullptr;
        return;
    }
    if (m_unhandled != window) {
        m_unhandled = window;
        m_idleSince = false;
        return;
    }
    if (!m_idleSince)
        return;
    m_unhandled = nullptr;
    const QString expected =
        m_script.empty() ? QStringLiteral("none, all steps done") : QLatin1Char('"') + m_script.front().window + QLatin1Char('"');
    ADD_FAILURE() << "No step handles the window \"" << nameOf(window).toStdString()
                  << "\" in front; the step waited for: " << expected.toStdString();
    m_handled.append(QStringLiteral("unhandled ") + nameOf(window));
    // Closed as with its close box, so that its controller ends the run; one that stays in front after
    // that is ended outright. A run that keeps showing windows nobody handles cannot end: it stops here.
    if (++m_unhandledCount > kMaxUnhandled) {
        std::fprintf(stderr, "WindowDriver: %d windows came with no step for them; stopping.\n", kMaxUnhandled);
        std::abort();
    }
    auto* dialog = qobject_cast<QDialog*>(window);
    const bool outright = dialog && m_rejected == window;
    m_rejected = outright ? nullptr : window;
    m_starting = true;
    QTimer::singleShot(0, window, [this, dialog, outright, target = QPointer<QWidget>(window)] {
        m_starting = false;
        if (!target)
            return;
        if (outright)
            dialog->done(QDialog::Rejected);
        else if (dialog)
            dialog->reject();
        else
            target->close();
    });
}

void WindowDriver::type(QWidget* window, const char* field, const QString& text)
{
    auto* edit = child<QLineEdit>(window, field);
    ASSERT_TRUE(edit) << field;
    edit->setText(text);
}

void WindowDriver::press(QWidget* window, const char* button)
{
    auto* target = child<QAbstractButton>(window, button);
    ASSERT_TRUE(target) << button;
    ASSERT_TRUE(target->isEnabled()) << button;
    target->click();
}

void WindowDriver::tick(QWidget* window, const char* box, bool on)
{
    auto* target = child<QAbstractButton>(window, box);
    ASSERT_TRUE(target) << box;
    if (target->isChecked() != on)
        target->click();
}

QString WindowDriver::textOf(QWidget* window, const char* label)
{
    auto* target = child<QLabel>(window, label);
    return target ? target->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(label));
}
