#include "app/ui/views/PLDatePicker.h"

#include <QMouseEvent>

PLDatePicker::PLDatePicker(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(false);
}

void PLDatePicker::focusInEvent(QFocusEvent* event)
{
    emit becameFirstResponder();
    QDateEdit::focusInEvent(event);
}

void PLDatePicker::mouseDoubleClickEvent(QMouseEvent* event)
{
    QDateEdit::mouseDoubleClickEvent(event);
    if (isEnabled() && event->position().x() < width() - kStepperWidth)
        emit calendarRequested();
}
