// A text field of the detail editor. Gaining the focus (or a right mouse press) asks the editor
// to close the calendar and show the field's box on the card image; the placeholder goes.
#pragma once

#include <QLineEdit>

class PLTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit PLTextField(QWidget* parent = nullptr);

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

signals:
    void becameFirstResponder();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int m_tag = 0;
};
