#include "app/ui/PLImageController.h"

#include "app/core/BundleImage.h"
#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLChecker.h"
#include "app/core/PLMainWindowHost.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/images/CardBitmapUtilities.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/CardPdfDecoding.h"
#include "app/images/PLImageCreator.h"
#include "app/ui/PLAttachmentController.h"
#include "app/ui/PLExportItemController.h"
#include "app/ui/logic/ImagePaneState.h"
#include "app/ui/logic/MainWindowLayout.h"
#include "app/ui/logic/ToolbarValidation.h"
#include "app/ui/views/PLImageView.h"
#include "app/ui/views/PLScrollView.h"
#include "app/ui/views/PLTextField.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/DatabaseLayout.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>

using namespace ToolbarValidation;
using namespace ImagePaneState;

PLImageController::PLImageController(const OpenDatabase& database, QObject* parent) : QObject(parent), m_database(database)
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QString::fromLatin1(kHideButtonNotification), [this](const Notification&) { hideButton(); });
    center.addObserver(this, QString::fromLatin1(kShowButtonNotification), [this](const Notification&) { showButton(); });
    center.addObserver(this, QString::fromLatin1(kSetButtonPosNotification), [this](const Notification&) { setButtonPos(); });
    center.addObserver(this, QString::fromLatin1(kShowAttachmentsNotification), [this](const Notification&) { showAttachmentsBy(); });
    m_cursorPosition = [] { return QCursor::pos(); };
}

PLImageController::~PLImageController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    Scheduler::shared().cancelPreviousPerformRequests(this);
}

void PLImageController::awakeFromNib()
{
    const PlistValue width = PreferenceDomain::standard().value(QString::fromLatin1(MainWindowLayout::kDetailViewWidth));
    if (width.isNumber())
        _hSplitViewWidth = std::max(MainWindowLayout::kDetailMinWidth, int(width.toReal()));
    if (_switchViewButton) {
        _switchViewButton->setIcon(bundleImage(QStringLiteral("Front_Back.tiff")));
        _switchViewButton->setIconSize(_switchViewButton->size() - QSize(12, 12));
        _switchViewButton->hide();
        connect(_switchViewButton, &QToolButton::clicked, this, &PLImageController::switchViewButtonAction);
    }
    if (_detailSideView && _detailSideView->layout())
        _margin = _detailSideView->layout()->contentsMargins().right();
    if (_switchBtn)
        connect(_switchBtn, &QToolButton::clicked, this, &PLImageController::showAttachOrDetailView);
    createViewMenu();
}

// --- the shown cards

QString PLImageController::imagesFolder() const
{
    const QString database = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly ? g_strCurReadOnlyDBPath : m_database.folder();
    return DatabaseLayout::imagesFolderPath(database);
}

QString PLImageController::frontPathOf(const CardDict& card) const
{
    QString name = card.value(QStringLiteral("face_Image_File")).toString();
    if (name.isEmpty()) {
        const QString cardID = card.value(QStringLiteral("cardID")).toString();
        if (cardID.isEmpty())
            return {};
        name = cardID + QStringLiteral("_N1.pdf");
    }
    return QDir(imagesFolder()).filePath(name);
}

QString PLImageController::backPathOf(const CardDict& card) const
{
    const QString name = card.value(QStringLiteral("back_Image_File")).toString();
    return PLChecker::isBlank(name) ? QString() : QDir(imagesFolder()).filePath(name);
}

void PLImageController::setCardData(const QList<CardDict>& cards, int mode)
{
    if (cards.isEmpty())
        clearPane();
    else {
        std::optional<CardDict> chosen;
        if (cards.size() >= 2 && m_currentSelected)
            chosen = m_currentSelected();
        _dicCardInfo = chosen.value_or(cards.first());
        switch (mode) {
        case kModeClearBoxes:
            clearBox();
            if (cards.size() >= 2)
                setToolBarState(someCardHasMail(cards) ? _toolBarState | kSomeMail : _toolBarState & ~kSomeMail);
            updateRecognizeBox();
            break;
        case kModeRedisplay:
            redisplayVisibleSide();
            break;
        case kModeNewImages:
            loadNewImages();
            break;
        case kModeSelected:
        case kModeReload:
            showSelectedCards(cards, mode);
            break;
        case kModeBackRemoved:
            backPageRemoved();
            break;
        default:
            if (mode >= kFirstFieldTag && mode <= kLastFieldTag && mode != kTagNoBox)
                showFieldBox(mode);
            break;
        }
    }
    // The common end: the toolbar validates, the editor shows the selected card.
    if (PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly)
        setEditorEnabled(false);
    if (_exportController)
        _exportController->reloadFields();
    emit toolBarStateChanged();
}

void PLImageController::clearPane()
{
    _dicCardInfo.clear();
    _cardId.clear();
    _toolBarState = 0;
    setEditorEnabled(false);
    if (_faceImageView)
        _faceImageView->setImage(QImage());
    if (_backImageView)
        _backImageView->setImage(QImage());
    if (_switchViewButton)
        _switchViewButton->hide();
    setAttachmentCard(QString());
    setBothMoveImage(false);
}

void PLImageController::showSelectedCards(const QList<CardDict>& cards, int mode)
{
    const bool several = cards.size() >= 2;
    const bool mail = !several || someCardHasMail(cards);
    setToolBarState(mail ? _toolBarState | kSomeMail : _toolBarState & ~kSomeMail);
    const QString cardID = _dicCardInfo.value(QStringLiteral("cardID")).toString();
    if (mode == kModeSelected && !_cardId.isEmpty() && _cardId == cardID) {
        if (several && !frontShown())
            switchViewButtonAction();
        UptateToolBarState(cards, _stateForCurPDF);
        if (several) {
            setAttachmentCard(QString());
            setEditorEnabled(false);
            setBothMoveImage(true);
            clearBox();
        } else {
            setAttachmentCard(_cardId);
            setEditorEnabled(_imageType == kImageOwnPdf || (_imageType == kImageScanner && frontShown()));
            if (_imageType == kImageScanner && _operatorState == 1) {
                setBothMoveImage(false);
                clearBox();
            }
        }
    } else {
        setEditorEnabled(!several);
        _cardId = cardID;
        setAttachmentCard(several ? QString() : _cardId);
        const QString front = frontPathOf(_dicCardInfo);
        int state = kStateNothing;
        if (front.isEmpty()) {
            _imageType = kImageMissing;
            setBothMoveImage(false);
        } else {
            _imageType = frontImageTypeWritingPlaceholder(front);
            setBothMoveImage(!(!several && _imageType != kImageOwnPdf && _operatorState != 0));
            state = pdfImageDisplay(front, backPathOf(_dicCardInfo));
        }
        UptateToolBarState(cards, state);
        showFront(true);
    }
    if (!(_toolBarState & kBackSide)) {
        if (_switchViewButton)
            _switchViewButton->hide();
    } else
        NotificationCenter::defaultCenter().post(QString::fromLatin1(kShowButtonNotification));
    if (mail)
        setToolBarState(_toolBarState | kSomeMail);
    updateRecognizeBox();
}

int PLImageController::frontImageTypeWritingPlaceholder(const QString& frontPath)
{
    const int type = CheckPDF(frontPath);
    if (type != kPdfMissing)
        return type;
    const int written = PLImageCreator::writeCardImage(m_database.folder(), _dicCardInfo);
    if (written == 0)
        return kImageOwnPdf;
    // A database that cannot take the placeholder would say so on every selection of the card.
    if (!m_placeholderReported.contains(_cardId)) {
        m_placeholderReported.insert(_cardId);
        if (written == 4)
            PLMessage::ShowPLErrorMessageBySheet(static_cast<QWidget*>(nullptr), kMsgPlaceholderText);
        else if (!PLNetDBLockController::ShowErrorMessageByPathType())
            PLMessage::ShowPLErrorMessageBySheet(static_cast<QWidget*>(nullptr), kMsgPlaceholderFailed);
    }
    return kImageMissing;
}

bool PLImageController::turnUpright(CardBitmap* side)
{
    if (side->image.isNull() || side->info.rotation == 0)
        return true;
    QImage turned;
    if (RotateBitmapImageRep(side->image, side->info.rotation, &turned) != 0)
        return false;
    side->image = turned;
    side->info.rotation = 0;
    return true;
}

int PLImageController::pdfImageDisplay(const QString& frontPath, const QString& backPath)
{
    if (frontPath.isEmpty())
        return kStateNothing;
    int state = kStateNothing;
    auto showWholePdf = [&](int shownState) {
        std::unique_ptr<PdfPageRenderer> pdf;
        if (AcquireCardImageFromAllPDF(frontPath, &pdf) != 0 || !pdf || pdf->pageCount() < 1)
            return false;
        _faceImageView->setTextPdfImage(std::shared_ptr<PdfPageRenderer>(std::move(pdf)));
        _backImageView->setImage(QImage());
        state = shownState;
        return true;
    };
    bool shown = false;
    if (_imageType == kImageOwnPdf)
        shown = showWholePdf(kStateOwnPdf);
    else if (_imageType == kImageScanner) {
        CardBitmap front, back;
        if (AcquireCardImages(frontPath, backPath, &front, &back) != 0)
            shown = showWholePdf(kStateScannerAsPdf);
        else {
            shown = true;
            // A failed turn shows what was turned so far, with nothing offered for it.
            if (turnUpright(&front) && turnUpright(&back))
                state = back.image.isNull() ? kStateScannerFront : kStateScannerFrontAndBack;
            _faceImageView->setImage(front.image);
            _backImageView->setImage(back.image);
        }
    }
    if (!shown) {
        _faceImageView->setImage(QImage());
        _backImageView->setImage(QImage());
        setEditorEnabled(false);
        state = kStateNothing;
    }
    _stateForCurPDF = state;
    return state;
}

void PLImageController::UptateToolBarState(const QList<CardDict>& cards, int state)
{
    const QDir images(imagesFolder());
    setToolBarState(ImagePaneState::UptateToolBarState(cards, state, [&](const QString& name) { return QFile::exists(images.filePath(name)); }));
}

int PLImageController::getToolBarState() const
{
    return maskedToolBarState(_toolBarState, _faceImageView && _faceImageView->getRedBoxState());
}

void PLImageController::setToolBarState(int state)
{
    if (state == _toolBarState)
        return;
    _toolBarState = state;
    emit toolBarStateChanged();
}

void PLImageController::redisplayVisibleSide()
{
    PLImageView* view = visibleView();
    const int step = view->currentRate();
    CardBitmap side;
    const bool front = view == _faceImageView;
    if (AcquireCardImages(frontPathOf(_dicCardInfo), backPathOf(_dicCardInfo), front ? &side : nullptr, front ? nullptr : &side) != 0
        || !turnUpright(&side))
        return;
    view->setImage(side.image);
    view->setCurrentRate(step);
    view->imageZoom();
}

void PLImageController::loadNewImages()
{
    CardBitmap front, back;
    if (AcquireCardImages(frontPathOf(_dicCardInfo), backPathOf(_dicCardInfo), &front, &back) != 0 || !turnUpright(&front)
        || !turnUpright(&back))
        return;
    _faceImageView->setImage(front.image);
    _backImageView->setImage(back.image);
    setToolBarState(_toolBarState & ~(kZoomedInFully | kZoomedOutFully));
    _stateForCurPDF = _toolBarState;
}

void PLImageController::backPageRemoved()
{
    if (!frontShown())
        showFront(true);
    setToolBarState((_toolBarState & ~kBackSide) | kBackAddable);
    _backImageView->setImage(QImage());
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kHideButtonNotification));
    faceButtonAction();
}

// --- field boxes

bool PLImageController::chineseInterface() const
{
    return isChineseInterface(getLocalString(QStringLiteral("IDS_RESOURCE_LANG_ID")));
}

QRectF PLImageController::getBoxFromCardInfo(int tag) const
{
    if (_dicCardInfo.isEmpty())
        return {};
    return ImagePaneState::getBoxFromCardInfo(_dicCardInfo, tag, chineseInterface());
}

void PLImageController::showRecognationRect(const QRectF& rect)
{
    _faceImageView->setRecognizedBoxRect(rect);
}

void PLImageController::clearBox()
{
    _faceImageView->clearBox();
    _faceImageView->update();
}

void PLImageController::showFieldBox(int tag)
{
    showRecognationRect(getBoxFromCardInfo(tag));
}

void PLImageController::updateRecognizeBox()
{
    QWidget* window = _faceImageView ? _faceImageView->window() : nullptr;
    if (auto* field = window ? qobject_cast<PLTextField*>(window->focusWidget()) : nullptr)
        recogniseAreaOrGetArea(field->tag(), 1);
}

bool PLImageController::getRedBoxState() const
{
    return (_toolBarState & kImageOperationApplies) && _faceImageView->getRedBoxState();
}

QRectF PLImageController::getRecognizeBox() const
{
    return _faceImageView->getRedBoxRect();
}

void PLImageController::recogniseAreaOrGetArea(int tag, int type)
{
    if (type == 0) {
        if (_faceImageView->getRedBoxState())
            emit detailReg(_faceImageView->getRedBoxRect(), tag);
        else
            showFieldBox(tag);
        return;
    }
    const QRectF rect = getBoxFromCardInfo(tag);
    if (rect.width() != 0 && rect.height() != 0)
        showRecognationRect(rect);
    else
        clearBox();
}

// --- zoom and flipping

bool PLImageController::frontShown() const
{
    return !_faceScrollView || !_faceScrollView->isHidden();
}

PLImageView* PLImageController::visibleView() const
{
    return frontShown() ? _faceImageView : _backImageView;
}

int PLImageController::getCurrentDisplayPage() const
{
    return frontShown() ? 1 : 2;
}

void PLImageController::zoomIn()
{
    PLImageView* view = visibleView();
    view->zoomIn();
    setToolBarState(zoomBitsAfterZoomIn(_toolBarState, view->currentRate()));
    _stateForCurPDF = _toolBarState;
}

void PLImageController::zoomOut()
{
    PLImageView* view = visibleView();
    view->zoomOut();
    setToolBarState(zoomBitsAfterZoomOut(_toolBarState, view->currentRate()));
    _stateForCurPDF = _toolBarState;
}

void PLImageController::moveImageOrDrawBox(int flag)
{
    _operatorState = flag;
    setBothMoveImage(flag == 0);
}

void PLImageController::setBothMoveImage(bool move)
{
    for (PLImageView* view : {_faceImageView, _backImageView})
        if (view)
            view->setIsMoveImage(move);
}

void PLImageController::showFront(bool front)
{
    if (!_faceScrollView || !_backScrollView)
        return;
    _faceScrollView->setVisible(front);
    _backScrollView->setVisible(!front);
    (front ? _faceImageView : _backImageView)->updateViewFrame();
}

void PLImageController::switchViewButtonAction()
{
    if (!frontShown())
        faceButtonAction();
    else
        backButtonAction();
    _stateForCurPDF = _toolBarState;
}

void PLImageController::faceButtonAction()
{
    showFront(true);
    setToolBarState(zoomBitsForStep(_toolBarState, _faceImageView->currentRate()) | kRecognizable);
    setEditorEnabled(PLNetDBLockController::dbOpenMode() != PLNetDBLockController::kOpenModeReadOnly);
    _stateForCurPDF = _toolBarState;
    emit toolBarStateChanged();
}

void PLImageController::backButtonAction()
{
    showFront(false);
    setToolBarState(zoomBitsForStep(_toolBarState, _backImageView->currentRate()) & ~kRecognizable);
    setEditorEnabled(false);
    _stateForCurPDF = _toolBarState;
    emit toolBarStateChanged();
}

void PLImageController::setEditorEnabled(bool enabled)
{
    if (_exportController)
        _exportController->setControlEnabled(enabled);
}

void PLImageController::setAttachmentCard(const QString& cardID)
{
    if (_attachmentController)
        _attachmentController->setCardID(cardID);
}

// --- the flip button

void PLImageController::hideButton()
{
    if (_switchViewButton)
        _switchViewButton->hide();
}

void PLImageController::showButton()
{
    if (!_switchViewButton || !_faceScrollView || !(_toolBarState & kBackSide))
        return;
    const QWidget* host = _faceScrollView->parentWidget();
    const QPoint mouse = host ? host->mapFromGlobal(m_cursorPosition()) : QPoint();
    // Either side's scroll view fills the same place; the visible one holds the pointer.
    PLScrollView* shown = frontShown() ? _faceScrollView : _backScrollView;
    if (shown->geometry().contains(mouse)) {
        setButtonPos();
        _switchViewButton->show();
        _switchViewButton->raise();
    }
}

void PLImageController::setButtonPos()
{
    if (!_switchViewButton || !_faceScrollView)
        return;
    const PLScrollView* shown = frontShown() ? _faceScrollView : _backScrollView;
    const QRect frame = shown->geometry();
    _switchViewButton->resize(48, 48);
    _switchViewButton->move(frame.x() + frame.width() - 48 - 15, frame.y() + frame.height() - 48 - 15);
}

// --- side pane

bool PLImageController::sidePaneOpen() const
{
    return _detailSideView && _detailSideView->isVisibleTo(_detailSideView->window()) && _detailSideView->width() > 1;
}

void PLImageController::sideBar()
{
    if (!_detailSideView || !_hSplitView)
        return;
    if (sidePaneOpen()) {
        collapseImageViewAtIndex(kCloseSidePane);
        // A name being edited in the attachments is committed before its list goes away.
        const QWidget* focus = _detailSideView->window()->focusWidget();
        if (_attachTableScrollView && focus && focus != _attachTableScrollView && _attachTableScrollView->isAncestorOf(focus))
            _attachTableScrollView->setFocus(Qt::OtherFocusReason);
        _detailSideView->hide();
        Scheduler::shared().performAfterDelay(this, QStringLiteral("updateFirstResponder"), 0, [this] { emit firstResponderUpdateRequested(); });
    } else {
        _detailSideView->show();
        collapseImageViewAtIndex(kOpenSidePane);
        setRightGrayMarginSize();
    }
    _hSplitView->update();
}

void PLImageController::collapseImageViewAtIndex(int index)
{
    if (!_detailSideView || !_hSplitView)
        return;
    const int divider = _hSplitView->handleWidth();
    if (index == kOpenSidePane) {
        const int windowWidth = _detailSideView->window()->width();
        if (_hSplitViewWidth + kImageRoomBesideSidePane > windowWidth)
            _hSplitViewWidth = windowWidth - kImageRoomBesideSidePane;
        _hSplitView->setSizes({_hSplitView->width() - _hSplitViewWidth - divider, _hSplitViewWidth});
    } else if (index == kCloseSidePane) {
        if (_detailSideView->width() > 1)
            _hSplitViewWidth = _detailSideView->width();
        _hSplitView->setSizes({_hSplitView->width() - divider, 0});
    }
}

bool PLImageController::attachmentsShown() const
{
    return _attachTableScrollView && !_attachTableScrollView->isHidden();
}

void PLImageController::showAttachOrDetailView()
{
    if (!_attachTableScrollView)
        return;
    const bool show = !attachmentsShown();
    // The bar stays below the editor: at the pane's foot alone, on top of the list with it.
    _attachTableScrollView->setVisible(show);
    PreferenceDomain::standard().setValue(QString::fromLatin1(kShowAttach), show ? 1 : 0);
    if (_switchBtn)
        _switchBtn->setIcon(bundleImage(show ? QStringLiteral("Down.png") : QStringLiteral("Up.png")));
    if (_exportController)
        _exportController->setFrameRect(PLExportItemController::kFormHeight);
    if (_detailSideView)
        _detailSideView->update();
}

void PLImageController::showAttachmentsBy()
{
    if (!sidePaneOpen())
        emit editViewStatusRequested(true);
    if (!attachmentsShown())
        showAttachOrDetailView();
}

void PLImageController::setRightGrayMarginSize()
{
    if (!_detailSideView || !_detailCardView || !_detailSideView->layout())
        return;
    if (_detailSideView->width() - _detailCardView->width() != _margin)
        _detailSideView->layout()->activate();
}

void PLImageController::SaveDetailViewWidth()
{
    PreferenceDomain& preferences = PreferenceDomain::standard();
    const bool shown = sidePaneOpen();
    if (shown)
        _hSplitViewWidth = _detailSideView->width();
    else if (_detailSideView)
        _hSplitViewWidth = std::min(_hSplitViewWidth, _detailSideView->window()->width() - kImageRoomBesideSidePane);
    preferences.setValue(QString::fromLatin1(MainWindowLayout::kShowDetailView), shown ? 1 : 0);
    preferences.setValue(QString::fromLatin1(MainWindowLayout::kDetailViewWidth), _hSplitViewWidth);
}

void PLImageController::SetDetailViewWidth()
{
    if (sidePaneOpen())
        _hSplitViewWidth = _detailSideView->width();
}

void PLImageController::updateImgView()
{
    for (PLImageView* view : {_faceImageView, _backImageView})
        if (view)
            view->updateViewFrame();
}

void PLImageController::showAttachView()
{
    if (PreferenceDomain::standard().value(QString::fromLatin1(kShowAttach)).toInteger(0) == 1 && !attachmentsShown())
        showAttachOrDetailView();
    Scheduler::shared().performAfterDelay(this, QStringLiteral("framechanged:"), 0, [this] {
        for (PLScrollView* scroll : {_faceScrollView, _backScrollView})
            if (scroll)
                scroll->framechanged();
    });
    Scheduler::shared().performAfterDelay(this, QStringLiteral("setdetailviewpos"), 0, [this] {
        if (_exportController)
            _exportController->setdetailviewpos();
    });
    for (PLImageView* view : {_faceImageView, _backImageView}) {
        if (!view)
            continue;
        view->imageInitializationDisplay();
        view->updateViewFrame();
        view->update();
    }
}

// --- the View menu

void PLImageController::createViewMenu()
{
    QWidget* window = _faceScrollView ? _faceScrollView->window() : nullptr;
    if (!window)
        return;
    m_viewMenu = new QMenu(getLocalString(QStringLiteral("IDS_MENU_VIEW")), window);
    m_viewMenu->setObjectName(QStringLiteral("viewMenu"));
    struct Item {
        const char* action;
        const char* titleKey;
        void (PLImageController::*slot)();
    };
    const Item items[] = {
        {"faceButtonAction", "IDS_MENU_SHOW_FRONT", &PLImageController::faceButtonAction},
        {"backButtonAction", "IDS_MENU_SHOW_BACK", &PLImageController::backButtonAction},
        {"showAttachOrDetailView", "IDS_MENU_SHOW_ATTACHMENTS", &PLImageController::showAttachOrDetailView},
    };
    for (const Item& item : items) {
        QAction* action = m_viewMenu->addAction(getLocalString(QString::fromLatin1(item.titleKey)));
        action->setObjectName(QString::fromLatin1(item.action));
        const auto slot = item.slot;
        // A shortcut can fire while the item shows a stale state: the rule is checked again.
        connect(action, &QAction::triggered, this, [this, action, slot] {
            if (validateMenuItem(action))
                (this->*slot)();
        });
    }
    m_viewMenu->actions().last()->setCheckable(true);
    connect(m_viewMenu, &QMenu::aboutToShow, this, [this] {
        for (QAction* action : m_viewMenu->actions())
            action->setEnabled(validateMenuItem(action));
    });
}

bool PLImageController::validateMenuItem(QAction* item) const
{
    if (_mainWinController)
        _mainWinController->endFolderNameEditing();
    const QString action = item->objectName();
    if (action == QLatin1String("showAttachOrDetailView"))
        item->setChecked(attachmentsShown());
    if (_mainWinController && _mainWinController->hasAttachedSheet())
        return false;
    const bool backSide = _toolBarState & kBackSide;
    if (action == QLatin1String("faceButtonAction"))
        return backSide && !frontShown();
    if (action == QLatin1String("backButtonAction"))
        return backSide && frontShown();
    if (action == QLatin1String("showAttachOrDetailView"))
        return sidePaneOpen();
    return false;
}
