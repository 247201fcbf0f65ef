// The image pane: the card's front and back images above the card list, the button that flips
// between them, the field boxes over the image, and the side pane with the detail editor above
// the attachments. Whatever changes the shown cards calls setCardData with the selected cards and
// a mode that says how much to redo; the main window's menus and toolbar read the tool bits.
#pragma once

#include "app/images/CardBitmap.h"
#include "app/images/CardDictionary.h"

#include <QList>
#include <QObject>
#include <QRectF>
#include <QSet>

#include <functional>
#include <optional>

class OpenDatabase;
class PLAttachmentController;
class PLExportItemController;
class PLImageView;
class PLMainWindowHost;
class PLScrollView;
class QAction;
class QMenu;
class QSplitter;
class QToolButton;
class QWidget;

inline constexpr const char* kShowAttach = "Show Attach";
inline constexpr const char* kShowAttachmentsNotification = "Pelmora show attachments view notification";

class PLImageController : public QObject {
    Q_OBJECT
public:
    // setCardData modes.
    static constexpr int kModeClearBoxes = 0;
    static constexpr int kModeRedisplay = 1;
    static constexpr int kModeNewImages = 2;
    static constexpr int kModeSelected = 3;
    static constexpr int kModeReload = 5;
    static constexpr int kModeBackRemoved = 6;

    // Classes of the front image file (CheckPDF).
    static constexpr int kImageMissing = 0;
    static constexpr int kImageUnusable = 1;
    static constexpr int kImageOwnPdf = 2;
    static constexpr int kImageScanner = 3;

    // collapseImageViewAtIndex.
    static constexpr int kCloseSidePane = 2;
    static constexpr int kOpenSidePane = 3;
    // The room the images keep beside an opened side pane.
    static constexpr int kImageRoomBesideSidePane = 352;

    // Messages when the placeholder front cannot be written.
    static constexpr int kMsgPlaceholderText = 115;
    static constexpr int kMsgPlaceholderFailed = 6;

    // `database` is the open database whose folder the image pane works in.
    explicit PLImageController(const OpenDatabase& database, QObject* parent = nullptr);
    ~PLImageController() override;

    // Outlets.
    void setScrollViews(PLScrollView* face, PLScrollView* back) { _faceScrollView = face; _backScrollView = back; }
    void setImageViews(PLImageView* face, PLImageView* back) { _faceImageView = face; _backImageView = back; }
    void setSwitchViewButton(QToolButton* button) { _switchViewButton = button; }
    void setSidePane(QSplitter* hSplitView, QWidget* side) { _hSplitView = hSplitView; _detailSideView = side; }
    // The side pane's parts: the editor, the bar with its button, the attachments.
    void setSidePaneParts(QWidget* editor, QWidget* bar, QToolButton* switchBtn, QWidget* attachments)
    {
        _detailCardView = editor;
        _barView = bar;
        _switchBtn = switchBtn;
        _attachTableScrollView = attachments;
    }
    void setExportController(PLExportItemController* editor) { _exportController = editor; }
    void setAttachmentController(PLAttachmentController* attachments) { _attachmentController = attachments; }
    void setMainWinController(PLMainWindowHost* mainWindow) { _mainWinController = mainWindow; }
    void awakeFromNib();

    // What the pane asks the main window: the card at the card list's selected row.
    void setCurrentSelected(std::function<std::optional<CardDict>()> currentSelected) { m_currentSelected = std::move(currentSelected); }

    void setCardData(const QList<CardDict>& cards, int mode);
    // The display state of the front (and back) file; also kept as the state of the shown card.
    int pdfImageDisplay(const QString& frontPath, const QString& backPath);
    void UptateToolBarState(const QList<CardDict>& cards, int state);
    int getToolBarState() const;
    int stateForCurPDF() const { return _stateForCurPDF; }
    int imageType() const { return _imageType; }
    const QString& cardId() const { return _cardId; }
    const CardDict& cardInfo() const { return _dicCardInfo; }

    bool getRedBoxState() const;
    QRectF getRecognizeBox() const;
    // 1 while the front is shown, 2 while the back is.
    int getCurrentDisplayPage() const;
    QRectF getBoxFromCardInfo(int tag) const;
    void showRecognationRect(const QRectF& rect);
    void clearBox();
    void updateRecognizeBox();
    // Type 0 from a row button of the detail editor (recognise the user's box into the field, or
    // show the stored box), type 1 when a row's field gains focus (show the stored box).
    void recogniseAreaOrGetArea(int tag, int type);

    void zoomIn();
    void zoomOut();
    // 1: the mouse draws a field box; 0: it moves the image.
    void moveImageOrDrawBox(int flag);
    int operatorState() const { return _operatorState; }
    void switchViewButtonAction();
    void faceButtonAction();
    void backButtonAction();

    // Side pane.
    // Opens a closed side pane, closes an open one.
    void sideBar();
    void collapseImageViewAtIndex(int index);
    // Shows the attachments below the editor when they are hidden, hides them when shown.
    void showAttachOrDetailView();
    bool attachmentsShown() const;
    void SaveDetailViewWidth();
    void SetDetailViewWidth();
    // The editor and the attachments keep the grey margin at the pane's right.
    void setRightGrayMarginSize();
    // Both views fit their frames to their scroll views again.
    void updateImgView();
    // At window set-up: the attachments as last left, the images fitted again.
    void showAttachView();

    // The View menu's items: front, back and the attachments.
    QMenu* viewMenu() const { return m_viewMenu; }
    // Enabling (and the check mark) of an item of the View menu, by its objectName.
    bool validateMenuItem(QAction* item) const;

    // Notification handlers.
    void hideButton();
    void showButton();
    void setButtonPos();
    void showAttachmentsBy();

    // Where the mouse is, in global coordinates (tests give their own).
    void setCursorPosition(std::function<QPoint()> position) { m_cursorPosition = std::move(position); }

    PLImageView* faceImageView() const { return _faceImageView; }
    PLImageView* backImageView() const { return _backImageView; }
    QToolButton* switchViewButton() const { return _switchViewButton; }

signals:
    // The tool bits or the shown cards changed: the toolbar validates again.
    void toolBarStateChanged();
    // The user's box (image pixels) is to be recognised into the field of `tag`.
    void detailReg(const QRectF& box, int tag);
    // The main window is to show (or hide) the side pane with its own control.
    void editViewStatusRequested(bool shown);
    // The main window is to move the focus out of a pane that went away.
    void firstResponderUpdateRequested();

private:
    void setToolBarState(int state);
    void setBothMoveImage(bool move);
    void clearPane();
    void showSelectedCards(const QList<CardDict>& cards, int mode);
    void loadNewImages();
    void redisplayVisibleSide();
    void backPageRemoved();
    void showFieldBox(int tag);
    // The front file, written as a placeholder when it is missing; the image class it ends with.
    int frontImageTypeWritingPlaceholder(const QString& frontPath);
    // Turns a decoded side upright by its rotation; false when the turn fails.
    static bool turnUpright(CardBitmap* side);
    void showFront(bool front);
    QString imagesFolder() const;
    QString frontPathOf(const CardDict& card) const;
    QString backPathOf(const CardDict& card) const;
    bool frontShown() const;
    PLImageView* visibleView() const;
    bool chineseInterface() const;
    void setEditorEnabled(bool enabled);
    void setAttachmentCard(const QString& cardID);
    bool sidePaneOpen() const;
    void createViewMenu();

    PLImageView* _faceImageView = nullptr;
    PLImageView* _backImageView = nullptr;
    PLScrollView* _faceScrollView = nullptr;
    PLScrollView* _backScrollView = nullptr;
    QToolButton* _switchViewButton = nullptr;
    QSplitter* _hSplitView = nullptr;
    QWidget* _detailSideView = nullptr;
    QWidget* _detailCardView = nullptr;
    QWidget* _barView = nullptr;
    QToolButton* _switchBtn = nullptr;
    QWidget* _attachTableScrollView = nullptr;
    PLExportItemController* _exportController = nullptr;
    PLAttachmentController* _attachmentController = nullptr;
    PLMainWindowHost* _mainWinController = nullptr;
    QMenu* m_viewMenu = nullptr;
    std::function<std::optional<CardDict>()> m_currentSelected;
    std::function<QPoint()> m_cursorPosition;

    int _imageType = kImageMissing;
    int _toolBarState = 0;
    int _stateForCurPDF = 0;
    int _operatorState = 1;
    CardDict _dicCardInfo;
    QString _cardId;
    int _hSplitViewWidth = 350;
    int _margin = 0;
    // Cards whose missing front could not be replaced, told once each.
    QSet<QString> m_placeholderReported;
    const OpenDatabase& m_database;
};
