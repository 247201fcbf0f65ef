// The detail editor's form, built in code in place of a nib: one row a field, each a button
// titled with the field's label (or a plain label) and a text field, in the form's order; the
// date row holds the date picker and the calendar that opens over it. objectName is the
// outlet's name.
#pragma once

#include <QList>

class PLDatePicker;
class PLTextBox;
class PLTextField;
class QCalendarWidget;
class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

struct DetailEditorUi {
    // One row: its button or label, its field (a one-line or a several-line one), the card
    // attribute it edits, its tag and its maximum length.
    struct Row {
        QPushButton* button = nullptr;
        QLabel* label = nullptr;
        PLTextField* field = nullptr;
        PLTextBox* box = nullptr;
        const char* attribute = "";
        int tag = 0;
        int maxLength = 0;
        QWidget* fieldWidget() const;
        QWidget* titleWidget() const;
    };

    QScrollArea* _scrollView = nullptr;
    QWidget* _detailCardView = nullptr; // the form
    QList<Row> rows;                     // in form order
    QLabel* _dateText = nullptr;
    PLDatePicker* _datePicker = nullptr;
    QCalendarWidget* _hidenDatePicker = nullptr;

    // Builds the form into `host` (the side pane's editor area).
    void build(QWidget* host);
    // The row of a card attribute; null when none edits it.
    const Row* rowOf(const char* attribute) const;
};
