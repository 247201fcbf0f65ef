#include "app/ui/views/PLTextBox.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QTextCursor>

PLTextBox::PLTextBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        m_edited = true;
        keepWithinMaxLength();
    });
}

void PLTextBox::setText(const QString& text)
{
    const QSignalBlocker block(this);
    setPlainText(text);
    m_edited = false;
}

void PLTextBox::keepWithinMaxLength()
{
    const QString text = toPlainText();
    if (m_maxLength <= 0 || text.size() <= m_maxLength)
        return;
    // Never keep half of a surrogate pair.
    int keep = m_maxLength;
    if (text.at(keep - 1).isHighSurrogate())
        --keep;
    const QSignalBlocker block(this);
    setPlainText(text.left(keep));
    moveCursor(QTextCursor::End);
}

void PLTextBox::focusInEvent(QFocusEvent* event)
{
    emit becameFirstResponder();
    QPlainTextEdit::focusInEvent(event);
}

void PLTextBox::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    // A menu or another window taking the focus for a moment does not end the edit.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    if (m_edited) {
        m_edited = false;
        emit editingFinished();
    }
}

void PLTextBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        emit becameFirstResponder();
    QPlainTextEdit::mousePressEvent(event);
}
