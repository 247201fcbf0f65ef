#include "tests/support/pluginwindows/WindowDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include <gtest/gtest.h>

WindowDriver::WindowDriver()
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] { step(); });
    m_timer.start(10);
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
    if (m_starting)
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
        return;
    }
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
