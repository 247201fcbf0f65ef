// The one view of the merge window, in four roles: a thumbnail of a page, the front preview, the
// back preview and the zoom view. It draws its card bitmap fitted into itself, starts drags of
// its card, takes drops on the previews, and hands clicks, menus and arrow keys to the window
// controller, which holds every state beyond the view's own.
#pragma once

#include "app/images/PLMergeInfo.h"

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

class PLCardMergerWindowController;
#include <QMenu>

// The drag carries only this format and no data; the drop side reads the card from the source view.
inline constexpr char kMergeCardDragType[] = "Pelmora Private PLMergeCardImageView Data Type";

class PLMergeCardImageView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kEmptySlot = 0, kFacePreview = 1, kBackPreview = 2, kThumbnail = 3, kZoomView = 4;

    explicit PLMergeCardImageView(QWidget* parent = nullptr);

    int index() const { return _index; }
    void setIndex(int index) { _index = index; }
    int cardImageType() const { return _cardImageType; }
    void setCardImageType(int type) { _cardImageType = type; }
    void setController(PLCardMergerWindowController* controller) { _controller = controller; }
    const QImage& imageRep() const { return _imageRep; }
    // A null bitmap also forgets where the last one was drawn.
    void setImageRep(const QImage& image);
    const QRect& drawImageRect() const { return _drawImageRect; }
    void setDrawImageRect(const QRect& rect) { _drawImageRect = rect; }
    const PLMergeInfoPtr& mergeInfo() const { return _mergeInfo; }
    void setMergeInfo(const PLMergeInfoPtr& info) { _mergeInfo = info; }
    void setMenu(QMenu* menu) { _menu = menu; }
    bool isHighlight() const { return _isHighlight; }
    bool isPreview() const { return _cardImageType == kFacePreview || _cardImageType == kBackPreview; }

    // The image fitted into `rect` keeping its proportions (scaled up or down), centred, rounded
    // outward to whole points; a size of 0 or less counts as 1.
    static QRect computeDrawImageRect(const QRectF& rect, const QSizeF& imageSize);

    // Starts dragging this view's card when the press lay on the drawn bitmap.
    void doMouseDragged(const QPoint& pressPosition);
    // The operations this view offers as a drag source: copy for a thumbnail, move for a preview.
    Qt::DropActions draggingSourceOperationMask() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void drawFocusRing(QPainter& painter, const QRect& rect);
    void drawHighlight(QPainter& painter);
    void drawNoImageHintString(QPainter& painter);
    bool isZoomBusy() const;

    int _index = -1;
    PLCardMergerWindowController* _controller = nullptr;
    int _cardImageType = kEmptySlot;
    QImage _imageRep;
    QRect _drawImageRect;
    bool _isHighlight = false;
    bool _draggingOut = false;
    QPoint _startPoint;
    PLMergeInfoPtr _mergeInfo;
    QPointer<QMenu> _menu;
    bool _pressed = false;
};
