// The merge window: the candidate cards as thumbnails, twelve to a page, and two previews, one
// for the front and one for the back. A thumbnail dragged (or sent by its menu) onto a preview
// fills it; the merge command adds the back card's page to the front card as its back page and,
// when the preference says so, moves the back card to the trash. Merges are undone newest first
// while the window is open. The window runs application-modal; its state lives in PLMergeModel.
#pragma once

#include "app/images/merge/PLMergeCardUndoManager.h"
#include "app/images/PLMergeModel.h"

#include <QDialog>

class PLMergeCardImageView;
class PLMergeHost;
class QAbstractButton;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QPropertyAnimation;
class QPushButton;
class QScrollArea;
class QSlider;

class PLCardMergerWindowController : public QDialog {
    Q_OBJECT
public:
    // The zoom slider runs over these factors of the base thumbnail size.
    static constexpr float kSliderMinimum = 1.0f;
    static constexpr float kSliderMaximum = 3.0f;
    static constexpr int kZoomAnimationMs = 100;
    static constexpr int kExceptionMessage = 113;

    explicit PLCardMergerWindowController(QWidget* parent = nullptr);
    ~PLCardMergerWindowController() override;

    // A null controller is ignored. Set before showing the window.
    void setMainWinController(PLMergeHost* host);
    // Runs the window modally over the candidates of the mode (0 search, 1 the new cards);
    // answers the code that ended the modal run, 0.
    int showModalWindow(int mode, const ManagedObjectList& data);
    // Builds the candidates and sets up the window without running it: true when it would run.
    bool prepareWindow(int mode, const ManagedObjectList& data);
    bool isSelectedCardBeChanged() const { return m_model.isSelectedCardBeChanged(); }

    PLMergeModel& model() { return m_model; }
    PLMergeCardUndoManager& windowWillReturnUndoManager() { return _undoManager; }

    // Actions of the controls and menus.
    void firstPage();
    void lastPage();
    void nextPage();
    void prevPage();
    void setScaleFactor();
    void merge();
    bool cancelMerge();
    void undo();
    void rotate();
    void cancel();
    void showHelp();
    void setPreviewFace();
    void setPreviewBack();
    void clearPreviewFace();
    void clearPreviewBack();

    // What the views ask of their controller.
    int displayStatus() const { return m_model.displayStatus(); }
    bool isSelected(int index) const { return index == m_model.pageInfo().focusCellIndex; }
    void doSelected(PLMergeCardImageView* view);
    void startAnimations(PLMergeCardImageView* view);
    bool moveArrowKey(int key);
    QMenu* menuOfThumbnail() const { return _menuOfThumbnail; }
    QString noImageHintString(int kind) const;
    bool isInPreviewRect(const QPoint& globalPoint) const;
    bool hasCandidateCards() const { return m_model.hasCandidateCards(); }
    void doDrop(PLMergeCardImageView* source, PLMergeCardImageView* destination);
    void swapImageViewContents(PLMergeCardImageView* source, PLMergeCardImageView* destination);
    void clearImageViewContents(PLMergeCardImageView* view);
    // A preview's card was dragged out of both previews and dropped: the preview is emptied.
    void previewDraggedOut(PLMergeCardImageView* view);
    void updateMergeButtonStatus();
    void updateRotateButtonStatus();
    bool doCheckBeforeCancel() { return m_model.doCheckBeforeCancel(); }
    bool validateMenuItem(const QAction* item) const;

    PLMergeCardImageView* getImageViewWith(int index) const;
    PLMergeCardImageView* getImageViewWithInfo(const PLMergeInfoPtr& info) const;
    PLMergeCardImageView* previewImageView(int flag) const;
    PLMergeCardImageView* animationImageView() const { return _animationImageView; }
    QAction* mergeAction() const { return m_mergeAction; }
    QAction* undoAction() const { return m_undoAction; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape closes through the same question as the close button.
    void reject() override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildWindow();
    void awakeFromNib();
    void initWindow();
    void makeSubViews();
    void changePage();
    void changeImages();
    void scaleImageView();
    void updatePageBarStatus();
    void updateResponderOrder();
    void imageDidChanged(PLMergeCardImageView* view);
    void updatePreviewImages();
    void setWindowEnable(bool enable);
    void zoomImageView(const QRect& from, const QRect& to);
    void animationDidEnd();
    void updateCandidateCardsDisplay(const PLMergeInfoPtr& select);
    bool pageCheck();
    bool windowShouldClose();
    void closeWindow();
    QRect thumbnailFrameInWindow(PLMergeCardImageView* view) const;

    PLMergeModel m_model;
    PLMergeCardUndoManager _undoManager;
    PLMergeHost* _mainWinController = nullptr;
    int _stopModalReturnCode = 0;
    bool m_closingConfirmed = false;
    bool m_questionShowing = false;

    QScrollArea* _scrollView = nullptr;
    QWidget* m_documentView = nullptr;
    QPushButton* _firstPageButton = nullptr;
    QPushButton* _lastPageButton = nullptr;
    QPushButton* _nextPageButton = nullptr;
    QPushButton* _previousPageButton = nullptr;
    QLabel* _pageInfoTextField = nullptr;
    QSlider* _zoomSlider = nullptr;
    QFrame* _footerBox = nullptr;
    QPushButton* _cancelButton = nullptr;
    QPushButton* _mergeButton = nullptr;
    QPushButton* _rotateButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    PLMergeCardImageView* _faceImageView = nullptr;
    PLMergeCardImageView* _backImageView = nullptr;
    PLMergeCardImageView* _animationImageView = nullptr;
    QLabel* _noFaceImageHint = nullptr;
    QLabel* _noBackImageHint = nullptr;
    QCheckBox* _willOpenNextTimeCheckBox = nullptr;
    QMenu* _menuOfPreviewCardFace = nullptr;
    QMenu* _menuOfPreviewCardBack = nullptr;
    QMenu* _menuOfThumbnail = nullptr;
    QAction* m_setFaceAction = nullptr;
    QAction* m_setBackAction = nullptr;
    QAction* m_rotateAction = nullptr;
    QAction* m_clearFaceAction = nullptr;
    QAction* m_clearBackAction = nullptr;
    QAction* m_mergeAction = nullptr;
    QAction* m_undoAction = nullptr;
    QList<PLMergeCardImageView*> m_thumbnails;
    QPropertyAnimation* m_animation = nullptr;
};
