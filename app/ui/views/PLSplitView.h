// The split views of the main window. PLSplitView draws a one-point divider in grey 0.4; no pane
// collapses by dragging. PLSplitView2 (the folder tree beside the card area) announces its size
// changes as "split view will resize" and "split view did resize" (object: the split view), both
// sent once the new size is known, the first with the previous size in its user info ("oldSize").
#pragma once

#include <QSplitter>

inline constexpr const char* kSplitViewWillResizeNotification = "split view will resize";
inline constexpr const char* kSplitViewDidResizeNotification = "split view did resize";

class PLSplitView : public QSplitter {
    Q_OBJECT
public:
    explicit PLSplitView(Qt::Orientation orientation, QWidget* parent = nullptr);
};

class PLSplitView2 : public PLSplitView {
    Q_OBJECT
public:
    using PLSplitView::PLSplitView;

protected:
    void resizeEvent(QResizeEvent* event) override;
};
