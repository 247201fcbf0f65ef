// What the main window, the toolbar's customisation window and the preferences window show, read
// with the shipped string table: no menu, toolbar item, pull-down, control or tool tip shows a
// localisation key in place of its text.
#include "app/ui/PLMainWindowController.h"
#include "tests/app/ui/ShippedResourcesWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QRegularExpression kRawKey(QStringLiteral(R"re(\b(IDS_[A-Z0-9_]+|PL_(?:TEXT|MSG)_\w+|MSG\d{5}|LTL\d{5})\b)re"));

// Every text a user can see or hear of the application's widgets and their actions.
QStringList shownTexts()
{
    QStringList texts;
    auto add = [&texts](const QObject* owner, const QString& text) {
        if (!text.isEmpty())
            texts << owner->objectName() + QStringLiteral(": ") + text;
    };
    for (QWidget* widget : QApplication::allWidgets()) {
        add(widget, widget->toolTip());
        add(widget, widget->accessibleName());
        add(widget, widget->windowTitle());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            add(widget, button->text());
        if (auto* label = qobject_cast<QLabel*>(widget))
            add(widget, label->text());
        if (auto* box = qobject_cast<QGroupBox*>(widget))
            add(widget, box->title());
        if (auto* field = qobject_cast<QLineEdit*>(widget))
            add(widget, field->placeholderText());
        if (auto* menu = qobject_cast<QMenu*>(widget))
            add(widget, menu->title());
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                add(widget, combo->itemText(i));
        }
        if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model()) {
            for (int column = 0; column < view->model()->columnCount(); ++column)
                add(widget, view->model()->headerData(column, Qt::Horizontal).toString());
        }
        for (const QAction* action : widget->actions()) {
            add(action, action->text());
            add(action, action->iconText());
            add(action, action->toolTip());
        }
    }
    return texts;
}

QStringList menuTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text();
    }
    return texts;
}

} // namespace

using ShownTexts = ShippedResourcesWindow;

TEST_F(ShownTexts, NoWindowShowsALocalisationKey)
{
    window->showPreferencePanel();
    window->runToolbarCustomizationPalette();
    QApplication::processEvents();

    // The Address Book submenus of the Export menu and of the card list's menu.
    const auto* addressBook = window->exportMenu()->findChild<QMenu*>(QStringLiteral("addressBookMenu"));
    ASSERT_NE(addressBook, nullptr);
    EXPECT_EQ(addressBook->title(), QStringLiteral("Address Book"));
    EXPECT_EQ(menuTexts(addressBook), (QStringList{QStringLiteral("Add to Address Book"), QStringLiteral("Synchronise")}));
    const QMenu* contextual = nullptr;
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* menu = qobject_cast<QMenu*>(widget);
        if (menu && menu->menuAction()->objectName() == QLatin1String("_menuItemCardListContextualMenuAddressBook"))
            contextual = menu;
    }
    ASSERT_NE(contextual, nullptr);
    EXPECT_EQ(contextual->title(), QStringLiteral("Address Book"));
    EXPECT_EQ(menuTexts(contextual), menuTexts(addressBook));

    const QStringList raw = shownTexts().filter(kRawKey);
    EXPECT_TRUE(raw.isEmpty()) << raw.join(u'\n').toStdString();
}
