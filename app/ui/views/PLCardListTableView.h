// The table of the card list and of the trash: the Delete and Backspace keys post "key down"
// with the table as object, and focus changes are reported. A menu or a window switch taking
// the focus away is not a lost focus: the undo record must survive opening the Edit menu.
#pragma once

#include <QTableView>

class PLCardListTableView : public QTableView {
    Q_OBJECT
public:
    static constexpr const char* kKeyDownNotification = "key down";

    using QTableView::QTableView;

signals:
    // becomeFirstResponder (true) and resignFirstResponder (false).
    void firstResponderChanged(bool isFirstResponder);
    // The focus went elsewhere in the window: the one-level undo record is dropped.
    void lostUndo();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
