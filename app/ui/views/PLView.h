// A plain view that announces each size change as "view did resize" (object: the view).
#pragma once

#include <QWidget>

inline constexpr const char* kViewDidResizeNotification = "view did resize";

class PLView : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void resizeEvent(QResizeEvent* event) override;
};
