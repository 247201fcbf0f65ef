// The image pane: the card's front and back images above the card list, and the side pane with
// the attachments and the detail editor. The main window asks it for its tool bits (what the
// toolbar may offer) and hands it the selected cards.
//
// This is the frame's image pane: the scroll views, the tool bits and the side pane's width.
// Drawing the card images, zoom, field boxes and the flip button grow here.
#pragma once

#include "app/images/CardDictionary.h"

#include <QList>
#include <QObject>

class PLScrollView;
class QWidget;

class PLImageController : public QObject {
    Q_OBJECT
public:
    static constexpr int kModeSelected = 3; // setCardData: show the selected cards

    explicit PLImageController(QObject* parent = nullptr);

    // Outlets.
    void setScrollViews(PLScrollView* face, PLScrollView* back) { _faceScrollView = face; _backScrollView = back; }
    void setSidePane(QWidget* side) { _detailSideView = side; }
    void awakeFromNib();

    // Shows `cards` (mode 3: the card list's selection).
    void setCardData(const QList<CardDict>& cards, int mode);
    const QList<CardDict>& shownCards() const { return m_cards; }
    // The tool bits of the shown cards (ToolbarValidation::ToolBit).
    int getToolBarState() const { return _toolBarState; }
    void setToolBarState(int state);

    // Writes "Show Detail View" and "Detail View Width" from the side pane.
    void SaveDetailViewWidth();
    // After a window resize: remembers the side pane's width while it is shown.
    void SetDetailViewWidth();
    void setRightGrayMarginSize() {}
    void updateImgView() {}
    void showAttachView() {}

signals:
    // The tool bits changed: the toolbar validates again.
    void toolBarStateChanged();

private:
    PLScrollView* _faceScrollView = nullptr;
    PLScrollView* _backScrollView = nullptr;
    QWidget* _detailSideView = nullptr;
    QList<CardDict> m_cards;
    int _toolBarState = 0;
    int _hSplitViewWidth = 350;
};
