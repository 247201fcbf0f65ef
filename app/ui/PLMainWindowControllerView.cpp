// The image pane's commands from the menus and the toolbar (zoom, what the mouse does, the
// detail editor) and the search command that puts the focus in the search field.
#include "app/ui/PLMainWindowController.h"

#include "app/core/LocalString.h"
#include "app/ui/PLImageController.h"
#include "app/ui/logic/ToolbarItems.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>

void PLMainWindowController::onZoomIn()
{
    endFolderNameEditing();
    // A shortcut can fire while the item's enabling is stale.
    if (validateMenuItem(QStringLiteral("onZoomIn")))
        _imageController->zoomIn();
}

void PLMainWindowController::onZoomOut()
{
    endFolderNameEditing();
    if (validateMenuItem(QStringLiteral("onZoomOut")))
        _imageController->zoomOut();
}

void PLMainWindowController::onImageOperationBar(int segment)
{
    endFolderNameEditing();
    if (!validateMenuItem(QStringLiteral("onImageOperationBar")) || (segment != 0 && segment != 1))
        return;
    // The bar's buttons stand in the other order: Select (a field box) first, then Move.
    if (QAbstractButton* button = m_ui._segImageOperator->button(1 - segment))
        button->setChecked(true);
    changeToolBarItemToolTip(getLocalString(segment == 1 ? QStringLiteral("IDS_IMAGEOPERATION_BAR_TOOLTIP_SELECT")
                                                         : QStringLiteral("IDS_IMAGEOPERATION_BAR_TOOLTIP_MOVE")),
                             QString::fromLatin1(ToolbarItems::kImageOperation));
    _imageController->moveImageOrDrawBox(segment);
}

void PLMainWindowController::onSideBar()
{
    if (validateMenuItem(QStringLiteral("onSideBar")))
        changeEditViewStatus(!menuItemValidation(QStringLiteral("onSideBar")).checked);
}

void PLMainWindowController::changeEditViewStatus(bool shown)
{
    setDetailViewShown(shown);
}

void PLMainWindowController::search()
{
    if (!validateMenuItem(QStringLiteral("search")))
        return;
    m_ui._searchFiled->setFocus(Qt::ShortcutFocusReason);
    m_ui._searchFiled->selectAll();
}

void PLMainWindowController::toggleFullScreen()
{
    if (!validateMenuItem(QStringLiteral("toggleFullScreen")))
        return;
    m_window->setWindowState(m_window->windowState() ^ Qt::WindowFullScreen);
}
