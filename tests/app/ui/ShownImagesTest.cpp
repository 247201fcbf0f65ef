// The main window with the delivered images: every toolbar item, pull-down and pull-down item,
// the folder tree's root and Inbox, the image pane's front/back button and the bars' show/hide
// buttons show an image.
#include "app/ui/PLMainWindowController.h"
#include "app/ui/logic/ToolbarItems.h"
#include "tests/app/ui/ShippedResourcesWindow.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

using ShownImages = ShippedResourcesWindow;

TEST_F(ShownImages, EveryToolbarItemAndControlOfTheWindowShowsAnImage)
{
    const MainWindowUi& ui = window->ui();

    for (const ToolbarItems::Item& item : ToolbarItems::items()) {
        if (item.image) {
            EXPECT_FALSE(window->toolbarItem(QString::fromLatin1(item.identifier))->icon().isNull()) << item.identifier;
        }
    }
    QStringList bare;
    const std::pair<const char*, const QAbstractButton*> buttons[] = {
        {"select", ui._segImageOperator->button(0)},
        {"move", ui._segImageOperator->button(1)},
        {"_imageEditPopButton", ui._imageEditPopButton},
        {"_recognizeBarButton", ui._recognizeBarButton},
        {"_exportBarButton", ui._exportBarButton},
        {"_IphotoPopButton", ui._IphotoPopButton},
        {"_syncPopupBtn", ui._syncPopupBtn},
        {"_dataEditBarSegControl", ui._dataEditBarSegControl},
        {"_popUpBtnApp", ui._popUpBtnApp},
        {"_switchViewButton", ui._switchViewButton},
        {"trash _switchBtn", ui._switchBtn},
        {"attachments _switchBtn", ui._attachSwitchBtn},
    };
    for (const auto& [name, button] : buttons) {
        if (button->icon().isNull())
            bare << QString::fromLatin1(name);
    }
    if (ui._searchMenuAction->icon().isNull())
        bare << ui._searchMenuAction->objectName();
    // The items of the pull-downs that choose a command, a language or a format.
    for (const QToolButton* pullDown : {ui._imageEditPopButton, ui._recognizeBarPopUpButton, ui._exportBarPopUpButton}) {
        for (const QAction* item : pullDown->menu()->actions()) {
            if (item->icon().isNull())
                bare << pullDown->objectName() + QStringLiteral(": ") + item->text();
        }
    }
    EXPECT_TRUE(bare.isEmpty()) << bare.join(u'\n').toStdString();

    // The folder tree's root and Inbox carry images of their own.
    const QAbstractItemModel* tree = ui._outlineView->model();
    const QModelIndex root = tree->index(0, 0);
    ASSERT_TRUE(root.isValid());
    EXPECT_FALSE(root.data(Qt::DecorationRole).value<QIcon>().isNull()) << "the root";
    EXPECT_FALSE(tree->index(0, 0, root).data(Qt::DecorationRole).value<QIcon>().isNull()) << "the Inbox";
}
