// The detail editor's date field: gaining the focus clears the field box on the card image; a
// double click on the date (left of the stepper) of an enabled picker opens the calendar.
#pragma once

#include <QDateEdit>

class PLDatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit PLDatePicker(QWidget* parent = nullptr);

    // The width of the stepper at the picker's right edge.
    static constexpr int kStepperWidth = 20;

signals:
    void becameFirstResponder();
    void calendarRequested();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
