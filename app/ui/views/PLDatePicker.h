// The detail editor's date field: gaining the focus clears the field box on the card image; a
// double click on the date (left of the stepper) of an enabled picker opens the calendar. A
// disabled picker draws its date gray and gets its own colour back when enabled again.
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
    // Tab leaves the picker, as it leaves every field of the form; the arrow keys move between
    // day, month and year.
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setTextColor(const QColor& color);

    // The text colour kept while disabled; invalid when none is kept.
    QColor _textColor;
};
