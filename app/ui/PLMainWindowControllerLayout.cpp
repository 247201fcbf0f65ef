// The main window's panes, geometry and status line: restoring and saving the frame and the split
// positions, showing and hiding the folder tree and the detail editor, the window resize, the
// status texts and the keyboard focus. The arithmetic is MainWindowLayout's; this applies it.
#include "app/ui/PLMainWindowController.h"

#include "app/core/PLMessage.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLImageController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/logic/MainWindowLayout.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/StatusTexts.h"
#include "app/ui/logic/ToolbarItems.h"
#include "app/ui/views/PLSplitView.h"
#include "app/ui/views/PLView.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

using namespace MainWindowLayout;

namespace {

constexpr QSize kBuiltWindowSize(1100, 720);
constexpr int kBuiltDetailWidth = 350;
constexpr int kBuiltFolderWidth = 200;

QRect availableScreen(const QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

bool paneShown(const QWidget* pane)
{
    return pane->isVisibleTo(pane->window()) && pane->width() > 1;
}

} // namespace

void PLMainWindowController::SetWindowsize()
{
    if (m_window->isVisible())
        return;
    const SavedLayout saved = readSavedLayout(PreferenceDomain::standard());
    const RestorePlan plan = planRestore(saved, kBuiltDetailWidth, kBuiltFolderWidth, availableScreen(m_window.get()));

    if (plan.frame) {
        m_window->setGeometry(*plan.frame);
    } else {
        const QRect screen = availableScreen(m_window.get());
        const QSize size = kBuiltWindowSize.boundedTo(screen.isEmpty() ? kBuiltWindowSize : screen.size());
        QRect frame(QPoint(), size);
        if (!screen.isEmpty())
            frame.moveCenter(screen.center());
        m_window->setGeometry(frame);
    }
    // The panes get their sizes once the window is laid out (applyLayout, again after showing).
    const int windowWidth = m_window->width();
    m_ui._detailSideView->setVisible(plan.detailWidth > 0);
    m_pendingSizes.clear();
    if (plan.detailWidth > 0)
        m_pendingSizes.append({m_ui._hSplitView, {windowWidth - plan.detailWidth - kDividerWidth, plan.detailWidth}});
    setSelectedSegment(m_ui._dataEditBarSegControl, plan.detailSegment);
    _editBarSegControlSeletedItem = plan.detailSegment;

    m_imageHeightFromList = !(plan.imageHeight && plan.listHeight);
    if (!m_imageHeightFromList)
        m_pendingSizes.append({m_ui._vSplitView, {*plan.imageHeight, *plan.listHeight}});

    _outlineViewController->setHiddenFolderListViewWidth(plan.hiddenFolderWidth);
    m_ui._folderListView->setVisible(plan.folderWidth > 0);
    if (plan.folderWidth > 0) {
        const int dataWidth = saved.dataWidth.value_or(windowWidth - plan.detailWidth);
        m_pendingSizes.append({m_ui._dataAreaSplitView, {plan.folderWidth, std::max(kCardAreaMinWidth, dataWidth - plan.folderWidth - kDividerWidth)}});
    }
    setSelectedSegment(m_ui._folderListViewSegControl, plan.folderSegment);
    applyLayout();
    _cardListContronller->showTrash();
    _imageController->showAttachView();
    m_layoutApplied = true;
}

void PLMainWindowController::applyLayout()
{
    for (const auto& [split, sizes] : std::as_const(m_pendingSizes))
        split->setSizes(sizes);
    // At a first start the card list keeps its rows and the card gets all the room above them.
    if (m_imageHeightFromList && m_window->isVisible()) {
        SetImgViewHeight(_cardListContronller->minimumListPaneHeight());
        m_imageHeightFromList = false;
    }
    _cardListContronller->changeSplitMaxHeight();
    _PreRightSplitWidth = paneShown(m_ui._detailSideView) ? m_ui._detailSideView->width() : 0;
}

void PLMainWindowController::SaveWindowsize()
{
    PreferenceDomain& preferences = PreferenceDomain::standard();
    const QRect frame = m_window->isMinimized() || m_window->isFullScreen() ? m_window->normalGeometry() : m_window->geometry();
    auto set = [&preferences](const char* key, int value) { preferences.setValue(QString::fromLatin1(key), value); };
    set(kMainWindowWidth, frame.width());
    set(kMainWindowHeight, frame.height());
    set(kMainWindowXPos, frame.x());
    set(kMainWindowYPos, frame.y());
    set(kImgViewWidth, m_ui._imageView->width());
    set(kImgViewHeight, m_ui._imageView->height());
    set(kDataViewWidth, m_ui._listView->width());
    set(kDataViewHeight, m_ui._listView->height());
    _imageController->SaveDetailViewWidth();
    const bool folderShown = selectedSegment(m_ui._folderListViewSegControl) == 1;
    set(kShowFolderListView, folderShown ? 1 : 0);
    set(kFolderListViewWidth, folderWidthToSave(!folderShown, _outlineViewController->getFolderListViewWidth(), m_ui._dataAreaSplitView->width()));
    if (!preferences.synchronize())
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), 3);
}

void PLMainWindowController::windowDidResize()
{
    if (m_layoutApplied && _PreRightSplitWidth != 0 && paneShown(m_ui._detailSideView)) {
        // The detail editor keeps its width; it narrows only when the left pane would fall under 350.
        if (const std::optional<int> detail = detailWidthAfterResize(_PreRightSplitWidth, m_ui._hSplitView->width())) {
            const int width = std::max(*detail, kDetailMinWidth);
            m_ui._hSplitView->setSizes({m_ui._hSplitView->width() - width - kDividerWidth, width});
        }
        _imageController->SetDetailViewWidth();
    }
    _cardListContronller->changeSplitMaxHeight();
    resetBottomFolderStatusLayout();
}

void PLMainWindowController::setDetailViewShown(bool shown)
{
    if (shown == paneShown(m_ui._detailSideView))
        return;
    _imageController->sideBar();
    _PreRightSplitWidth = shown ? m_ui._detailSideView->width() : 0;
    setSelectedSegment(m_ui._dataEditBarSegControl, shown ? 1 : 0);
    _editBarSegControlSeletedItem = shown ? 1 : 0;
    updateFirstResponder();
}

void PLMainWindowController::setFolderListViewShown(bool shown)
{
    if (shown != m_ui._folderListView->isVisibleTo(m_window.get())) {
        if (shown) {
            const int width = _outlineViewController->shownFolderListViewWidth(m_ui._dataAreaSplitView->width(), kDividerWidth);
            m_ui._folderListView->show();
            m_ui._dataAreaSplitView->setSizes({width, m_ui._dataAreaSplitView->width() - width - kDividerWidth});
        } else {
            _outlineViewController->setHiddenFolderListViewWidth(m_ui._folderListView->width());
            m_ui._folderListView->hide();
        }
    }
    setSelectedSegment(m_ui._folderListViewSegControl, shown ? 1 : 0);
    updateFirstResponder();
}

void PLMainWindowController::SetSplitMaxHeight(int listHeight)
{
    // The split keeps its divider where the list pane is at least `listHeight` high.
    m_ui._listView->setMinimumHeight(listHeight);
}

int PLMainWindowController::splitMaxHeight() const
{
    return m_ui._vSplitView->height() - m_ui._listView->minimumHeight() - kDividerWidth;
}

void PLMainWindowController::SetImgViewHeight(int listHeight)
{
    m_ui._vSplitView->setSizes({m_ui._vSplitView->height() - listHeight - kDividerWidth, listHeight});
    _imageController->updateImgView();
    m_ui._vSplitView->update();
}

int PLMainWindowController::getCardListViewHeight() const
{
    return m_ui._listView->height();
}

void PLMainWindowController::refreshSplitView()
{
    m_ui._listView->update();
}

void PLMainWindowController::resetBottomFolderStatusLayout()
{
    QLabel* label = m_ui._bottomFolderStatusLabel;
    QLabel* path = m_ui._bottomFolderStatusPath;
    QLabel* language = m_ui._recognizeLanguageText;
    QLabel* exportType = m_ui._fileExportTypeText;
    const int height = m_ui._statusLineView->height();
    const QToolButton* control = m_ui._folderListViewSegControl;
    m_ui._folderListViewSegControl->setGeometry(0, 0, control->sizeHint().width(), height);
    const int labelX = control->sizeHint().width() + 6;
    label->setGeometry(labelX, 0, label->sizeHint().width(), height);
    StatusLineInput input;
    input.width = m_ui._statusLineView->width();
    input.labelX = labelX;
    input.labelWidth = label->sizeHint().width();
    input.pathWidth = path->fontMetrics().horizontalAdvance(path->text());
    input.languageWidth = language->sizeHint().width();
    input.exportWidth = exportType->sizeHint().width();
    const StatusLineLayout layout = layoutStatusLine(input);
    path->setGeometry(layout.pathX, 0, layout.pathWidth, height);
    path->setToolTip(layout.pathToolTip ? path->text() : QString());
    language->setGeometry(layout.languageX, 0, input.languageWidth, height);
    exportType->setGeometry(layout.exportX, 0, input.exportWidth, height);
}

void PLMainWindowController::updateSelectStatus()
{
    _imageController->setCardData(getSeleteRecords(), PLImageController::kModeSelected);
    updateSelectCountText(int(_acWndCard->selectionIndexes().size()));
    updateCurrentSelectText(_cardListContronller->currentSelected() + 1, _acWndCard->arrangedCount());
}

void PLMainWindowController::updateSelectCountText(int count)
{
    m_ui._selectCountText->setText(StatusTexts::selectCountText(count));
}

void PLMainWindowController::updateCurrentSelectText(int current, int total)
{
    m_ui._currentSelectText->setText(StatusTexts::currentSelectText(current, total));
}

void PLMainWindowController::updateFileExportTypeText(const QString& text)
{
    m_ui._fileExportTypeText->setText(StatusTexts::fileExportTypeText(text));
    resetBottomFolderStatusLayout();
}

void PLMainWindowController::updateRecognizeLanguageText(const QString& text)
{
    m_ui._recognizeLanguageText->setText(StatusTexts::recognizeLanguageText(text));
    resetBottomFolderStatusLayout();
}

void PLMainWindowController::updateFirstResponder()
{
    const bool searchShown =
        m_toolbar && m_toolbar->isVisibleTo(m_window.get()) && m_toolbarIdentifiers.contains(QString::fromLatin1(ToolbarItems::kSearch));
    QWidget* target = searchShown ? static_cast<QWidget*>(m_ui._searchFiled) : static_cast<QWidget*>(m_ui._tvList);
    QWidget* focus = m_window->focusWidget();
    if (!focus || focus == m_window.get()) {
        target->setFocus(Qt::OtherFocusReason);
    } else if (!paneShown(m_ui._detailSideView) && m_ui._detailSideView->isAncestorOf(focus)) {
        target->setFocus(Qt::OtherFocusReason);
    } else if (selectedSegment(m_ui._folderListViewSegControl) == 0 && m_ui._folderListView->isAncestorOf(focus)) {
        m_ui._folderListViewSegControl->setFocus(Qt::OtherFocusReason);
    }
}
