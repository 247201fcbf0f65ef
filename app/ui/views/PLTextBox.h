// The detail editor's field for the two rows that keep line breaks (address and memo): a text
// field of several lines that ends its edit when it loses the focus, as a one-line field does.
#pragma once

#include <QPlainTextEdit>

class PLTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PLTextBox(QWidget* parent = nullptr);

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    // Typing stops at this many UTF-16 units; 0 for no limit.
    void setMaxLength(int length) { m_maxLength = length; }
    QString text() const { return toPlainText(); }
    // Shows `text` as the field's value; an edit starts from it.
    void setText(const QString& text);

signals:
    void becameFirstResponder();
    void editingFinished();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void keepWithinMaxLength();

    int m_tag = 0;
    int m_maxLength = 0;
    bool m_edited = false;
};
