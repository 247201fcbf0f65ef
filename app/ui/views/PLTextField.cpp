#include "app/ui/views/PLTextField.h"

#include <QFocusEvent>
#include <QMouseEvent>

PLTextField::PLTextField(QWidget* parent) : QLineEdit(parent) {}

void PLTextField::focusInEvent(QFocusEvent* event)
{
    emit becameFirstResponder();
    setPlaceholderText(QString());
    QLineEdit::focusInEvent(event);
}

void PLTextField::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        emit becameFirstResponder();
    QLineEdit::mousePressEvent(event);
}
