// A button of the detail editor: when it takes the keyboard focus it asks for the recognition
// area to be shown (showRecogniseArea) and scrolls its scroll view to show itself.
#pragma once

#include <QPushButton>

class PLButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

signals:
    void showRecogniseArea();

protected:
    void focusInEvent(QFocusEvent* event) override;
};
