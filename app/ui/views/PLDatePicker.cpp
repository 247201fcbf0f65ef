#include "app/ui/views/PLDatePicker.h"

#include <QMouseEvent>

PLDatePicker::PLDatePicker(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(false);
    // The least date stands for none: a card without a date shows an empty picker.
    setSpecialValueText(QStringLiteral(" "));
}

bool PLDatePicker::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
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

void PLDatePicker::changeEvent(QEvent* event)
{
    QDateEdit::changeEvent(event);
    if (event->type() != QEvent::EnabledChange)
        return;
    if (!isEnabled()) {
        const QColor current = palette().color(QPalette::Active, QPalette::Text);
        if (current != QColor(Qt::gray))
            _textColor = current;
        setTextColor(Qt::gray);
    } else if (_textColor.isValid()) {
        setTextColor(_textColor);
    }
}

void PLDatePicker::setTextColor(const QColor& color)
{
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::Text, color);
    setPalette(colours);
}
