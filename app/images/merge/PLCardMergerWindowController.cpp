#include "app/images/merge/PLCardMergerWindowController.h"

#include "app/core/ApplicationLookup.h"
#include "app/core/DiskUtilities.h"
#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "app/images/PLMergeHost.h"
#include "app/images/merge/PLMergeCardImageView.h"
#include "platform/appkit/ModalScope.h"
#include "platform/appkit/dialogs/ModalDialog.h"
#include "platform/foundation/FormatString.h"
#include "platform/foundation/Log.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>

#include <cmath>
#include <exception>

namespace {

constexpr int kSliderSteps = 100; // slider positions per unit of scale factor
constexpr char kHelpAnchor[] = "db_fusion.html";
const QString kCloseQuestion = QStringLiteral("IDS_MSG_CONFIRM_CLOSE_MERGE_CARD_WINDOW");
constexpr int kButtonYes = 2;
constexpr int kButtonNo = 3;

QString localized(const char* key)
{
    const QString text = getLocalString(QString::fromLatin1(key));
    return text.isNull() ? QString::fromLatin1(key) : text;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& title, const char* tooltipKey)
{
    auto* button = new QPushButton(title, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(localized(tooltipKey));
    // A button drawn with a sign only ("?") is announced by what its tool tip says.
    if (!title.isEmpty() && !title.front().isLetterOrNumber())
        button->setAccessibleName(button->toolTip());
    button->setAutoDefault(false);
    return button;
}

} // namespace

PLCardMergerWindowController::PLCardMergerWindowController(QWidget* parent)
    : QDialog(parent), m_model(nullptr)
{
    setObjectName(QStringLiteral("CardMergerWindow"));
    setWindowModality(Qt::ApplicationModal);
    _undoManager.setCardMergerWindowController(this);
    m_model.setMessageWindow(this);
    buildWindow();
}

PLCardMergerWindowController::~PLCardMergerWindowController()
{
    _undoManager.setCardMergerWindowController(nullptr);
}

void PLCardMergerWindowController::setMainWinController(PLMergeHost* host)
{
    if (!host)
        return;
    _mainWinController = host;
    m_model.setHost(host);
}

// Window ----------------------------------------------------------------------------------------

void PLCardMergerWindowController::buildWindow()
{
    setWindowTitle(localized("IDS_MERGECARD_WINDOW_TITLE"));
    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    outer->addLayout(left, 3);

    _scrollView = new QScrollArea(this);
    _scrollView->setAccessibleName(localized("IDS_MERGECARD_CANDIDATES"));
    _scrollView->setObjectName(QStringLiteral("_scrollView"));
    _scrollView->setWidgetResizable(false);
    _scrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    _scrollView->setMinimumSize(520, 330);
    m_documentView = new QWidget;
    m_documentView->setObjectName(QStringLiteral("documentView"));
    _scrollView->setWidget(m_documentView);
    left->addWidget(_scrollView, 1);

    _footerBox = new QFrame(this);
    _footerBox->setObjectName(QStringLiteral("_footerBox"));
    auto* bar = new QHBoxLayout(_footerBox);
    bar->setContentsMargins(0, 0, 0, 0);
    _firstPageButton = makeButton(_footerBox, "_firstPageButton", QStringLiteral("|<"), "IDS_MERGECARD_FIRST_PAGE_TOOLTIP");
    _previousPageButton = makeButton(_footerBox, "_previousPageButton", QStringLiteral("<"), "IDS_MERGECARD_PREV_PAGE_TOOLTIP");
    _pageInfoTextField = new QLabel(_footerBox);
    _pageInfoTextField->setObjectName(QStringLiteral("_pageInfoTextField"));
    _pageInfoTextField->setAlignment(Qt::AlignCenter);
    _nextPageButton = makeButton(_footerBox, "_nextPageButton", QStringLiteral(">"), "IDS_MERGECARD_NEXT_PAGE_TOOLTIP");
    _lastPageButton = makeButton(_footerBox, "_lastPageButton", QStringLiteral(">|"), "IDS_MERGECARD_LAST_PAGE_TOOLTIP");
    _zoomSlider = new QSlider(Qt::Horizontal, this);
    _zoomSlider->setObjectName(QStringLiteral("_zoomSlider"));
    _zoomSlider->setRange(int(kSliderMinimum * kSliderSteps), int(kSliderMaximum * kSliderSteps));
    _zoomSlider->setToolTip(localized("IDS_MERGECARD_ZOOM_SLIDER_TOOLTIP"));
    _zoomSlider->setAccessibleName(_zoomSlider->toolTip());
    _rotateButton = makeButton(_footerBox, "_rotateButton", localized("IDS_MERGECARD_ROTATE"), "IDS_MERGECARD_ROTATE_TOOLTIP");
    for (QWidget* w : {static_cast<QWidget*>(_firstPageButton), static_cast<QWidget*>(_previousPageButton),
                       static_cast<QWidget*>(_pageInfoTextField), static_cast<QWidget*>(_nextPageButton),
                       static_cast<QWidget*>(_lastPageButton), static_cast<QWidget*>(_rotateButton)})
        bar->addWidget(w);
    left->addWidget(_footerBox);
    left->addWidget(_zoomSlider);

    auto* right = new QVBoxLayout;
    outer->addLayout(right, 2);
    _noFaceImageHint = new QLabel(localized("IDS_MERGECARD_NO_FACE_HINT"), this);
    _noFaceImageHint->setObjectName(QStringLiteral("_noFaceImageHint"));
    _noFaceImageHint->hide();
    _noBackImageHint = new QLabel(localized("IDS_MERGECARD_NO_BACK_HINT"), this);
    _noBackImageHint->setObjectName(QStringLiteral("_noBackImageHint"));
    _noBackImageHint->hide();
    _faceImageView = new PLMergeCardImageView(this);
    _faceImageView->setObjectName(QStringLiteral("_faceImageView"));
    _faceImageView->setAccessibleName(localized("IDS_MERGECARD_FRONT_PREVIEW"));
    _faceImageView->setAccessibleDescription(_noFaceImageHint->text());
    _faceImageView->setMinimumSize(300, 160);
    _backImageView = new PLMergeCardImageView(this);
    _backImageView->setObjectName(QStringLiteral("_backImageView"));
    _backImageView->setAccessibleName(localized("IDS_MERGECARD_BACK_PREVIEW"));
    _backImageView->setAccessibleDescription(_noBackImageHint->text());
    _backImageView->setMinimumSize(300, 160);
    right->addWidget(_faceImageView, 1);
    right->addWidget(_backImageView, 1);

    auto* buttons = new QHBoxLayout;
    _cancelButton = makeButton(this, "_cancelButton", localized("IDS_MERGECARD_UNDO"), "IDS_MERGECARD_CANCEL_TOOLTIP");
    _mergeButton = makeButton(this, "_mergeButton", localized("IDS_MERGECARD_MERGE"), "IDS_MERGECARD_CREATE_TOOLTIP");
    buttons->addWidget(_cancelButton);
    buttons->addWidget(_mergeButton);
    right->addLayout(buttons);
    _willOpenNextTimeCheckBox = new QCheckBox(localized("IDS_MERGECARD_NOT_OPEN_NEXT_TIME"), this);
    _willOpenNextTimeCheckBox->setObjectName(QStringLiteral("_willOpenNextTimeCheckBox"));
    right->addWidget(_willOpenNextTimeCheckBox);
    auto* closeRow = new QHBoxLayout;
    m_helpButton = makeButton(this, "helpButton", QStringLiteral("?"), "IDS_MERGECARD_HELP");
    m_closeButton = makeButton(this, "closeButton", localized("IDS_MERGECARD_CLOSE"), "IDS_MERGECARD_CLOSE");
    closeRow->addWidget(m_helpButton);
    closeRow->addStretch();
    closeRow->addWidget(m_closeButton);
    right->addLayout(closeRow);
    // The merge and undo buttons sit beside the previews but are disabled with the footer's.
    _cancelButton->setProperty("footer", true);
    _mergeButton->setProperty("footer", true);

    _animationImageView = new PLMergeCardImageView(this);
    _animationImageView->setObjectName(QStringLiteral("_animationImageView"));
    _animationImageView->setAccessibleName(localized("IDS_MERGECARD_ZOOMED_CARD"));
    _animationImageView->hide();

    _menuOfPreviewCardFace = new QMenu(this);
    m_clearFaceAction = _menuOfPreviewCardFace->addAction(localized("IDS_MERGECARD_CLEAR_FACE"), this, &PLCardMergerWindowController::clearPreviewFace);
    _menuOfPreviewCardBack = new QMenu(this);
    m_clearBackAction = _menuOfPreviewCardBack->addAction(localized("IDS_MERGECARD_CLEAR_BACK"), this, &PLCardMergerWindowController::clearPreviewBack);
    _menuOfThumbnail = new QMenu(this);
    m_setFaceAction = _menuOfThumbnail->addAction(localized("IDS_MERGECARD_SET_FACE"), this, &PLCardMergerWindowController::setPreviewFace);
    m_setBackAction = _menuOfThumbnail->addAction(localized("IDS_MERGECARD_SET_BACK"), this, &PLCardMergerWindowController::setPreviewBack);
    m_rotateAction = _menuOfThumbnail->addAction(localized("IDS_MERGECARD_ROTATE"), this, &PLCardMergerWindowController::rotate);
    for (QMenu* menu : {_menuOfPreviewCardFace, _menuOfPreviewCardBack, _menuOfThumbnail})
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            for (QAction* action : menu->actions())
                action->setEnabled(validateMenuItem(action));
        });

    m_mergeAction = new QAction(localized("IDS_MERGECARD_MERGE"), this);
    m_mergeAction->setObjectName(QStringLiteral("mergeAction"));
    m_mergeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(m_mergeAction, &QAction::triggered, this, &PLCardMergerWindowController::merge);
    m_undoAction = new QAction(localized("IDS_MERGECARD_UNDO"), this);
    m_undoAction->setObjectName(QStringLiteral("undoAction"));
    m_undoAction->setShortcut(QKeySequence::Undo);
    connect(m_undoAction, &QAction::triggered, this, &PLCardMergerWindowController::undo);
    addAction(m_mergeAction);
    addAction(m_undoAction);

    connect(_firstPageButton, &QPushButton::clicked, this, &PLCardMergerWindowController::firstPage);
    connect(_previousPageButton, &QPushButton::clicked, this, &PLCardMergerWindowController::prevPage);
    connect(_nextPageButton, &QPushButton::clicked, this, &PLCardMergerWindowController::nextPage);
    connect(_lastPageButton, &QPushButton::clicked, this, &PLCardMergerWindowController::lastPage);
    connect(_zoomSlider, &QSlider::valueChanged, this, &PLCardMergerWindowController::setScaleFactor);
    connect(_rotateButton, &QPushButton::clicked, this, &PLCardMergerWindowController::rotate);
    connect(_mergeButton, &QPushButton::clicked, this, &PLCardMergerWindowController::merge);
    connect(_cancelButton, &QPushButton::clicked, this, &PLCardMergerWindowController::undo);
    connect(m_helpButton, &QPushButton::clicked, this, &PLCardMergerWindowController::showHelp);
    connect(m_closeButton, &QPushButton::clicked, this, &PLCardMergerWindowController::cancel);

    m_animation = new QPropertyAnimation(_animationImageView, "geometry", this);
    m_animation->setDuration(kZoomAnimationMs);
    m_animation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_animation, &QPropertyAnimation::finished, this, &PLCardMergerWindowController::animationDidEnd);
    resize(900, 480);
}

void PLCardMergerWindowController::awakeFromNib()
{
    initWindow();
    if (QWidget* screenOwner = parentWidget() ? parentWidget()->window() : nullptr)
        move(screenOwner->geometry().center() - rect().center());
}

void PLCardMergerWindowController::initWindow()
{
    if (!m_model.hasCandidateCards())
        return;
    _faceImageView->setCardImageType(PLMergeCardImageView::kFacePreview);
    _backImageView->setCardImageType(PLMergeCardImageView::kBackPreview);
    for (PLMergeCardImageView* preview : {_faceImageView, _backImageView}) {
        preview->setImageRep(QImage());
        preview->setMergeInfo(nullptr);
        preview->setController(this);
        preview->setAcceptDrops(true);
    }
    _animationImageView->hide();
    _animationImageView->setController(this);
    _animationImageView->setCardImageType(PLMergeCardImageView::kZoomView);

    PageInfo& page = m_model.pageInfo();
    const bool hadSelection = page.selectedIndex != -1;
    if (!hadSelection)
        page.selectedIndex = 0;

    m_model.readPreferences(kSliderMinimum, kSliderMaximum);
    {
        const QSignalBlocker block(_zoomSlider);
        _zoomSlider->setValue(int(std::lround(m_model.scaleFactor() * kSliderSteps)));
    }
    m_model.initPage();
    makeSubViews();
    changePage();
    _faceImageView->setMenu(_menuOfPreviewCardFace);
    _backImageView->setMenu(_menuOfPreviewCardBack);
    _animationImageView->setMenu(_menuOfThumbnail);

    if (!m_model.isFromScanData()) {
        if (hadSelection) {
            const PLMergeInfoPtr selected = m_model.arrangedCandidates().value(page.selectedIndex);
            if (PLMergeCardImageView* thumbnail = getImageViewWithInfo(selected))
                m_model.doDrop(selected, thumbnail->imageRep(), PLMergeInfo::kFacePreview);
            else if (selected)
                m_model.doDrop(selected, PLMergeModel::loadImageRepWith(selected->pdfFilePath()), PLMergeInfo::kFacePreview);
            updatePreviewImages();
        }
        _willOpenNextTimeCheckBox->hide();
    }
    updateMergeButtonStatus();
}

void PLCardMergerWindowController::makeSubViews()
{
    if (!m_thumbnails.isEmpty())
        return;
    for (int i = 0; i < PLMergeModel::kCellsPerPage; ++i) {
        auto* view = new PLMergeCardImageView(m_documentView);
        view->setObjectName(QStringLiteral("thumbnail%1").arg(i));
        view->setAccessibleName(formatText(localized("IDS_MERGECARD_THUMBNAIL"), i + 1));
        view->setIndex(i);
        view->setGeometry(QRect());
        m_thumbnails.append(view);
    }
}

bool PLCardMergerWindowController::prepareWindow(int mode, const ManagedObjectList& data)
{
    if (m_model.prepareCandidates(mode, data) != 0)
        return false;
    awakeFromNib();
    return true;
}

int PLCardMergerWindowController::showModalWindow(int mode, const ManagedObjectList& data)
{
    try {
        if (prepareWindow(mode, data))
            execModal(*this);
    } catch (const std::exception& e) {
        PLNSLog(QStringLiteral("Exception: %@"), QString::fromUtf8(e.what()));
        PLMessage::ShowPLErrorMessageBySheet(nullptr, kExceptionMessage);
        m_closingConfirmed = true;
        close();
        done(_stopModalReturnCode);
    }
    return _stopModalReturnCode;
}

// Pages -----------------------------------------------------------------------------------------

bool PLCardMergerWindowController::pageCheck()
{
    if (m_model.checkDatabaseFolder() != 0) {
        m_model.showError(48);
        return false;
    }
    return true;
}

void PLCardMergerWindowController::firstPage()
{
    if (pageCheck()) {
        m_model.firstPage();
        changePage();
    }
}

void PLCardMergerWindowController::lastPage()
{
    if (pageCheck()) {
        m_model.lastPage();
        changePage();
    }
}

void PLCardMergerWindowController::nextPage()
{
    if (pageCheck()) {
        m_model.nextPage();
        changePage();
    }
}

void PLCardMergerWindowController::prevPage()
{
    if (pageCheck()) {
        m_model.prevPage();
        changePage();
    }
}

void PLCardMergerWindowController::changePage()
{
    changeImages();
    scaleImageView();
    updatePageBarStatus();
    updateRotateButtonStatus();
    if (PLMergeCardImageView* focused = getImageViewWith(m_model.pageInfo().focusCellIndex))
        if (focused->mergeInfo())
            doSelected(focused);
}

void PLCardMergerWindowController::changeImages()
{
    for (int i = 0; i < m_thumbnails.size(); ++i) {
        PLMergeCardImageView* view = m_thumbnails.at(i);
        const PLMergeInfoPtr candidate = m_model.candidateAtCell(i);
        if (candidate) {
            view->setImageRep(PLMergeModel::loadImageRepWith(candidate->pdfFilePath()));
            view->setCardImageType(PLMergeCardImageView::kThumbnail);
            view->setEnabled(true);
            view->setController(this);
            view->setMergeInfo(candidate);
            view->show();
        } else {
            view->setImageRep(QImage());
            view->setCardImageType(PLMergeCardImageView::kEmptySlot);
            view->setEnabled(false);
            view->setMergeInfo(nullptr);
            view->hide();
        }
        imageDidChanged(view);
    }
}

void PLCardMergerWindowController::scaleImageView()
{
    const int scrollerWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, _scrollView);
    const QSize viewport = _scrollView->maximumViewportSize();
    const PLMergeModel::Layout layout = PLMergeModel::layout(float(viewport.width()), float(viewport.height()),
                                                             float(scrollerWidth), m_model.scaleFactor(),
                                                             m_model.pageInfo().pageSize);
    m_model.setTableAttrs(layout.attrs);
    for (int i = 0; i < layout.frames.size() && i < m_thumbnails.size(); ++i)
        m_thumbnails.at(i)->setGeometry(layout.frames.at(i));
    m_documentView->resize(layout.documentSize);
    if (PLMergeCardImageView* focused = getImageViewWith(m_model.pageInfo().focusCellIndex))
        if (focused->isVisible())
            _scrollView->ensureWidgetVisible(focused, 0, 0);
    m_documentView->update();
}

void PLCardMergerWindowController::setScaleFactor()
{
    m_model.setScaleFactor(float(_zoomSlider->value()) / kSliderSteps);
    scaleImageView();
}

void PLCardMergerWindowController::updatePageBarStatus()
{
    const PageInfo& page = m_model.pageInfo();
    const bool paging = page.pageCount > 1;
    _firstPageButton->setEnabled(paging && page.pageIndex > 1);
    _previousPageButton->setEnabled(paging && page.pageIndex > 1);
    _nextPageButton->setEnabled(paging && page.pageIndex < page.pageCount);
    _lastPageButton->setEnabled(paging && page.pageIndex < page.pageCount);
    _zoomSlider->setEnabled(!m_model.arrangedCandidates().isEmpty());
    const QString unit = getLocalString(QStringLiteral("IDS_MSG_LABEL_UNIT"));
    const bool hasUnit = !unit.isNull() && unit != QLatin1String("IDS_MSG_LABEL_UNIT");
    _pageInfoTextField->setText(m_model.pageLabel(hasUnit ? unit : QString()));
}

// Focus and keys --------------------------------------------------------------------------------

void PLCardMergerWindowController::doSelected(PLMergeCardImageView* view)
{
    if (!view)
        return;
    view->setFocus(Qt::OtherFocusReason);
    PageInfo& page = m_model.pageInfo();
    if (view->cardImageType() == PLMergeCardImageView::kThumbnail && view->mergeInfo() && view->index() != page.focusCellIndex) {
        PLMergeCardImageView* previous = getImageViewWith(page.focusCellIndex);
        page.focusCellIndex = view->index();
        if (previous)
            previous->update();
        _scrollView->ensureWidgetVisible(view, 0, 0);
    }
    updateResponderOrder();
    view->update();
    updateRotateButtonStatus();
}

bool PLCardMergerWindowController::moveArrowKey(int key)
{
    PLMergeModel::Arrow arrow;
    switch (key) {
    case Qt::Key_Up: arrow = PLMergeModel::Arrow::Up; break;
    case Qt::Key_Down: arrow = PLMergeModel::Arrow::Down; break;
    case Qt::Key_Left: arrow = PLMergeModel::Arrow::Left; break;
    case Qt::Key_Right: arrow = PLMergeModel::Arrow::Right; break;
    default: return false;
    }
    const int target = m_model.arrowTarget(arrow, [this](int cell) {
        PLMergeCardImageView* view = getImageViewWith(cell);
        return view && view->isEnabled();
    });
    if (target < 0)
        return false;
    doSelected(getImageViewWith(target));
    return true;
}

void PLCardMergerWindowController::updateResponderOrder()
{
    QList<QWidget*> order;
    if (PLMergeCardImageView* focused = getImageViewWith(m_model.pageInfo().focusCellIndex))
        order.append(focused);
    order << _rotateButton << _firstPageButton << _previousPageButton << _nextPageButton << _lastPageButton << _zoomSlider;
    if (!_willOpenNextTimeCheckBox->isHidden())
        order << _willOpenNextTimeCheckBox;
    order << _cancelButton << _mergeButton;
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));
}

// Previews --------------------------------------------------------------------------------------

QString PLCardMergerWindowController::noImageHintString(int kind) const
{
    if (kind == PLMergeCardImageView::kFacePreview)
        return _noFaceImageHint->text();
    if (kind == PLMergeCardImageView::kBackPreview)
        return _noBackImageHint->text();
    return QString();
}

bool PLCardMergerWindowController::isInPreviewRect(const QPoint& globalPoint) const
{
    for (PLMergeCardImageView* preview : {_faceImageView, _backImageView})
        if (preview->rect().contains(preview->mapFromGlobal(globalPoint)))
            return true;
    return false;
}

void PLCardMergerWindowController::updatePreviewImages()
{
    for (uint32_t kind : {1u, 2u}) {
        PLMergeCardImageView* preview = previewImageView(int(kind));
        const PLMergeInfoPtr candidate = m_model.previewCandidate(kind);
        preview->setMergeInfo(candidate);
        preview->setImageRep(candidate ? m_model.previewBitmap(kind) : QImage());
        preview->update();
    }
    if (m_model.displayStatus() == PLMergeModel::kDisplayNormal)
        for (PLMergeCardImageView* view : std::as_const(m_thumbnails))
            view->update();
}

void PLCardMergerWindowController::doDrop(PLMergeCardImageView* source, PLMergeCardImageView* destination)
{
    if (!source || !destination || !destination->isPreview() || !source->mergeInfo())
        return;
    m_model.doDrop(source->mergeInfo(), source->imageRep(), uint32_t(destination->cardImageType()));
    updatePreviewImages();
    updateMergeButtonStatus();
}

void PLCardMergerWindowController::swapImageViewContents(PLMergeCardImageView* source, PLMergeCardImageView* destination)
{
    if (!source || !destination || !source->isPreview() || !destination->isPreview() || source == destination)
        return;
    m_model.swapPreviews(uint32_t(source->cardImageType()), uint32_t(destination->cardImageType()));
    updatePreviewImages();
    updateMergeButtonStatus();
}

void PLCardMergerWindowController::clearImageViewContents(PLMergeCardImageView* view)
{
    if (!view || !view->isPreview() || !view->mergeInfo())
        return;
    m_model.clearPreview(uint32_t(view->cardImageType()), false);
    updatePreviewImages();
}

void PLCardMergerWindowController::previewDraggedOut(PLMergeCardImageView* view)
{
    if (!view || !view->isPreview() || !view->mergeInfo())
        return;
    m_model.clearPreview(uint32_t(view->cardImageType()), true);
    updatePreviewImages();
    updateMergeButtonStatus();
}

void PLCardMergerWindowController::setPreviewFace()
{
    const int status = m_model.displayStatus();
    PLMergeCardImageView* source = status == PLMergeModel::kDisplayNormal
                                       ? getImageViewWith(m_model.pageInfo().focusCellIndex) : _animationImageView;
    doDrop(source, _faceImageView);
}

void PLCardMergerWindowController::setPreviewBack()
{
    const int status = m_model.displayStatus();
    PLMergeCardImageView* source = status == PLMergeModel::kDisplayNormal
                                       ? getImageViewWith(m_model.pageInfo().focusCellIndex) : _animationImageView;
    doDrop(source, _backImageView);
}

void PLCardMergerWindowController::clearPreviewFace()
{
    if (m_model.previewCandidate(1)) {
        m_model.clearPreview(1, true);
        updatePreviewImages();
        updateMergeButtonStatus();
    }
}

void PLCardMergerWindowController::clearPreviewBack()
{
    if (m_model.previewCandidate(2)) {
        m_model.clearPreview(2, true);
        updatePreviewImages();
        updateMergeButtonStatus();
    }
}

void PLCardMergerWindowController::imageDidChanged(PLMergeCardImageView* view)
{
    if (!view || !view->mergeInfo())
        return;
    const PLMergeInfoPtr candidate = view->mergeInfo();
    if (!view->imageRep().isNull()) {
        if (candidate->isPreviewing()) {
            m_model.setPreviewBitmap(candidate->previewFlag(), view->imageRep());
            updatePreviewImages();
        }
        if (m_model.displayStatus() == PLMergeModel::kZoomed && isSelected(view->index())) {
            _animationImageView->setImageRep(view->imageRep());
            _animationImageView->update();
        }
    } else {
        if (candidate->isPreviewing() && m_model.previewCandidate(candidate->previewFlag()) == candidate) {
            m_model.clearPreview(candidate->previewFlag(), true);
            updatePreviewImages();
        }
        if (m_model.displayStatus() == PLMergeModel::kZoomed)
            startAnimations(_animationImageView);
    }
    view->update();
    updateRotateButtonStatus();
}

// Buttons and menus -----------------------------------------------------------------------------

void PLCardMergerWindowController::updateMergeButtonStatus()
{
    _mergeButton->setEnabled(m_model.canMerge());
    m_mergeAction->setEnabled(m_model.canMerge());
    _cancelButton->setEnabled(!m_model.undoRecords().isEmpty());
    m_undoAction->setEnabled(_undoManager.canUndo());
}

void PLCardMergerWindowController::updateRotateButtonStatus()
{
    const int status = m_model.displayStatus();
    PLMergeCardImageView* focused = getImageViewWith(m_model.pageInfo().focusCellIndex);
    _rotateButton->setEnabled((status == PLMergeModel::kDisplayNormal || status == PLMergeModel::kZoomed)
                              && m_model.pageInfo().pageCount > 0 && focused && !focused->imageRep().isNull()
                              && focused->mergeInfo());
}

bool PLCardMergerWindowController::validateMenuItem(const QAction* item) const
{
    if (ModalScope::isOpen() && ModalScope::depth() > 1)
        return false;
    if (item == m_clearFaceAction)
        return !_faceImageView->imageRep().isNull();
    if (item == m_clearBackAction)
        return !_backImageView->imageRep().isNull();
    if (item != m_setFaceAction && item != m_setBackAction && item != m_rotateAction)
        return true;
    if ((item == m_setFaceAction || item == m_setBackAction) && !m_model.hasCandidateCards())
        return false;
    PLMergeCardImageView* focused = getImageViewWith(m_model.pageInfo().focusCellIndex);
    const QImage& bitmap = m_model.displayStatus() != PLMergeModel::kDisplayNormal ? _animationImageView->imageRep()
                                                                                   : (focused ? focused->imageRep() : QImage());
    if (bitmap.isNull() || !focused || !focused->mergeInfo())
        return false;
    if (item == m_setFaceAction)
        return focused->mergeInfo()->previewFlag() != PLMergeInfo::kFacePreview;
    if (item == m_setBackAction)
        return focused->mergeInfo()->previewFlag() != PLMergeInfo::kBackPreview;
    return true;
}

// Merge, undo and turn --------------------------------------------------------------------------

void PLCardMergerWindowController::merge()
{
    if (!m_model.merge()) {
        updateMergeButtonStatus();
        return;
    }
    _undoManager.registerUndo(_mergeButton->text(), [this] { return cancelMerge(); });
    updateCandidateCardsDisplay(nullptr);
    updateMergeButtonStatus();
}

bool PLCardMergerWindowController::cancelMerge()
{
    if (m_model.displayStatus() == PLMergeModel::kZoomed)
        startAnimations(_animationImageView);
    const bool undone = m_model.cancelMerge();
    if (undone)
        updateCandidateCardsDisplay(m_model.previewCandidate(1));
    updateMergeButtonStatus();
    return undone;
}

void PLCardMergerWindowController::undo()
{
    _undoManager.undo();
    updateMergeButtonStatus();
}

void PLCardMergerWindowController::updateCandidateCardsDisplay(const PLMergeInfoPtr&)
{
    if (m_model.displayStatus() == PLMergeModel::kZoomed)
        startAnimations(_animationImageView);
    updatePreviewImages();
    changePage();
}

void PLCardMergerWindowController::rotate()
{
    PLMergeCardImageView* focused = getImageViewWith(m_model.pageInfo().focusCellIndex);
    if (!focused || !focused->mergeInfo() || focused->imageRep().isNull())
        return;
    if (m_model.rotate(focused->mergeInfo()) != 0)
        return;
    const QImage bitmap = PLMergeModel::loadImageRepWith(focused->mergeInfo()->pdfFilePath());
    if (bitmap.isNull())
        m_model.showError(82);
    focused->setImageRep(bitmap);
    imageDidChanged(focused);
}

// Zoom ------------------------------------------------------------------------------------------

QRect PLCardMergerWindowController::thumbnailFrameInWindow(PLMergeCardImageView* view) const
{
    return QRect(view->mapTo(this, QPoint(0, 0)), view->size());
}

void PLCardMergerWindowController::setWindowEnable(bool enable)
{
    for (PLMergeCardImageView* view : std::as_const(m_thumbnails))
        if (view->mergeInfo())
            view->setEnabled(enable);
    _zoomSlider->setEnabled(enable);
    for (QAbstractButton* button : _footerBox->findChildren<QAbstractButton*>())
        button->setEnabled(enable);
    _cancelButton->setEnabled(enable && !m_model.undoRecords().isEmpty());
    _mergeButton->setEnabled(enable && m_model.canMerge());
}

void PLCardMergerWindowController::startAnimations(PLMergeCardImageView*)
{
    PLMergeCardImageView* focused = getImageViewWith(m_model.pageInfo().focusCellIndex);
    if (!focused)
        return;
    const int direction = m_model.startZoom();
    if (direction == PLMergeModel::kZoomingIn) {
        setWindowEnable(false);
        updateRotateButtonStatus();
        _animationImageView->setImageRep(focused->imageRep());
        _animationImageView->setMergeInfo(focused->mergeInfo());
        _animationImageView->setGeometry(thumbnailFrameInWindow(focused));
        _animationImageView->show();
        _animationImageView->raise();
        zoomImageView(thumbnailFrameInWindow(focused), QRect(_scrollView->mapTo(this, QPoint(0, 0)), _scrollView->size()));
    } else if (direction == PLMergeModel::kZoomingOut) {
        updateRotateButtonStatus();
        zoomImageView(_animationImageView->geometry(), thumbnailFrameInWindow(focused));
    }
}

void PLCardMergerWindowController::zoomImageView(const QRect& from, const QRect& to)
{
    m_animation->stop();
    m_animation->setStartValue(from);
    m_animation->setEndValue(to);
    m_animation->start();
}

void PLCardMergerWindowController::animationDidEnd()
{
    const int before = m_model.displayStatus();
    m_model.zoomAnimationEnded();
    if (before == PLMergeModel::kZoomingIn) {
        updateRotateButtonStatus();
        _animationImageView->setFocus(Qt::OtherFocusReason);
    } else if (before == PLMergeModel::kZoomingOut) {
        setWindowEnable(true);
        if (PLMergeCardImageView* focused = getImageViewWith(m_model.pageInfo().focusCellIndex))
            doSelected(focused);
        updateRotateButtonStatus();
        updatePageBarStatus();
        _animationImageView->hide();
        _animationImageView->setMergeInfo(nullptr);
    }
}

// Views by index, card and kind -----------------------------------------------------------------

PLMergeCardImageView* PLCardMergerWindowController::getImageViewWith(int index) const
{
    return index >= 0 && index < m_thumbnails.size() ? m_thumbnails.at(index) : nullptr;
}

PLMergeCardImageView* PLCardMergerWindowController::getImageViewWithInfo(const PLMergeInfoPtr& info) const
{
    if (!info)
        return nullptr;
    for (PLMergeCardImageView* view : m_thumbnails)
        if (view->mergeInfo() && view->mergeInfo()->cardId() == info->cardId())
            return view;
    return nullptr;
}

PLMergeCardImageView* PLCardMergerWindowController::previewImageView(int flag) const
{
    return flag == 1 ? _faceImageView : flag == 2 ? _backImageView : nullptr;
}

// Closing and help ------------------------------------------------------------------------------

void PLCardMergerWindowController::cancel()
{
    close();
}

void PLCardMergerWindowController::showHelp()
{
    if (LocateHelpPageByAnchor(QString::fromLatin1(kHelpAnchor)) != 0)
        PLMessage::ShowPLErrorMessageBySheet(this, 3);
}

bool PLCardMergerWindowController::windowShouldClose()
{
    if (m_closingConfirmed)
        return true;
    if (m_model.isFromScanData() && m_model.arrangedCandidates().size() >= 2) {
        if (m_questionShowing)
            return false;
        m_questionShowing = true;
        const int shown = PLMessage::ShowPLInfoMessageAlertSheet(
            this,
            [this](int answer, void*) {
                m_questionShowing = false;
                if (answer == 1)
                    closeWindow();
            },
            [this](int, void*) { m_questionShowing = false; }, nullptr, kCloseQuestion, kButtonYes, kButtonNo, QString());
        if (shown == 0)
            return false;
        m_questionShowing = false;
    }
    m_model.savePreferences(_willOpenNextTimeCheckBox->isChecked());
    return true;
}

void PLCardMergerWindowController::closeWindow()
{
    m_model.savePreferences(_willOpenNextTimeCheckBox->isChecked());
    m_closingConfirmed = true;
    close();
}

void PLCardMergerWindowController::reject()
{
    close();
}

void PLCardMergerWindowController::closeEvent(QCloseEvent* event)
{
    if (!windowShouldClose()) {
        event->ignore();
        return;
    }
    m_animation->stop();
    event->accept();
    done(_stopModalReturnCode);
}

void PLCardMergerWindowController::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    scaleImageView();
    updateResponderOrder();
}

void PLCardMergerWindowController::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!m_thumbnails.isEmpty())
        scaleImageView();
}
