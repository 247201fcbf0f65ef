// The message text of the link message panel: Return or Enter posts "return down" (no object)
// and goes no further; every other key behaves as usual.
#pragma once

#include <QTextBrowser>

inline constexpr const char* kReturnDownNotification = "return down";

class PLLinkTextView : public QTextBrowser {
    Q_OBJECT
public:
    using QTextBrowser::QTextBrowser;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
