// The scroll view around a card image: a dark grey background, and notifications that let the
// image pane show, hide and place the front/back button: "Pelmora Show Button" when the pointer
// enters, "Pelmora Hide Button" when it leaves, "Pelmora Set Button pos" after a size or position
// change. Nothing is posted while the view is hidden. None carries an object.
#pragma once

#include <QScrollArea>

inline constexpr const char* kShowButtonNotification = "Pelmora Show Button";
inline constexpr const char* kHideButtonNotification = "Pelmora Hide Button";
inline constexpr const char* kSetButtonPosNotification = "Pelmora Set Button pos";

class PLScrollView : public QScrollArea {
    Q_OBJECT
public:
    explicit PLScrollView(QWidget* parent = nullptr);

    // After the frame changed: posts "Pelmora Set Button pos" unless hidden.
    void framechanged();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void postUnlessHidden(const char* name);
};
