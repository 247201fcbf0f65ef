// The strips behind buttons of the App List page: a centre image stretched over the whole strip,
// then an end-cap image at its right edge, as tall as the strip; both copied at full opacity.
// Until both images are set the strip draws nothing. PLAppListBtnView lies behind the page's row
// buttons, PLAppWndBtnView behind the buttons of the custom-application sheet.
#pragma once

#include <QPixmap>
#include <QWidget>

class PLAppListBtnView : public QWidget {
public:
    explicit PLAppListBtnView(QWidget* parent = nullptr);

    // Replaces both images only when both are given.
    void setImgCenter(const QPixmap& center, const QPixmap& right);
    const QPixmap& imgCenter() const { return m_imgCenter; }
    const QPixmap& imgRight() const { return m_imgRight; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_imgCenter;
    QPixmap m_imgRight;
};

class PLAppWndBtnView : public PLAppListBtnView {
public:
    using PLAppListBtnView::PLAppListBtnView;
};
