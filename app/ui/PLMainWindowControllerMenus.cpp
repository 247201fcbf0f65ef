// The menus of the window's commands and their validation: the card menu (recognition and its
// language, the page operations, mail and web page), the image pane's items of the View menu,
// and the rule every item is enabled and checked by when its menu opens.
#include "app/ui/PLMainWindowController.h"

#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLNetDBLockController.h"
#include "app/ui/PLImageController.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/ToolbarItems.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QMainWindow>
#include <QMenu>

namespace {

constexpr const char* kTagProperty = "menuTag";
// Marks the items validated here; a menu may hold items of other controllers.
constexpr const char* kValidatedProperty = "mainWindowCommand";

struct CommandItem {
    const char* action; // null: a separator
    const char* titleKey;
    void (PLMainWindowController::*slot)();
    QKeySequence::StandardKey shortcut;
};

// The card menu, in menu order.
constexpr CommandItem kCardItems[] = {
    {"recognize", "IDS_RECOGNIZE_ITEM", &PLMainWindowController::recognize, QKeySequence::UnknownKey},
    {nullptr, nullptr, nullptr, QKeySequence::UnknownKey},
    {"onRotateBar", "IDS_RATATE_BAR", &PLMainWindowController::onRotateBar, QKeySequence::UnknownKey},
    {"onSwapBar", "IDS_SWAP_BAR", &PLMainWindowController::onSwapBar, QKeySequence::UnknownKey},
    {"onMergeBar", "IDS_IMAGEEDIT_ADD_IMAGE", &PLMainWindowController::onMergeBar, QKeySequence::UnknownKey},
    {"onRemoveBar", "IDS_IMAGEEDIT_DEL_IMAGE", &PLMainWindowController::onRemoveBar, QKeySequence::UnknownKey},
    {nullptr, nullptr, nullptr, QKeySequence::UnknownKey},
    {"onMail", "IDS_MAIL_BAR", &PLMainWindowController::onMail, QKeySequence::UnknownKey},
    {"onExplorer", "IDS_EXPLORER_BAR", &PLMainWindowController::onExplorer, QKeySequence::UnknownKey},
};

// The image pane's items of the View menu.
constexpr CommandItem kImageItems[] = {
    {"onZoomIn", "IDS_ZOOM_IN_BAR", &PLMainWindowController::onZoomIn, QKeySequence::ZoomIn},
    {"onZoomOut", "IDS_ZOOM_OUT_BAR", &PLMainWindowController::onZoomOut, QKeySequence::ZoomOut},
};

void addItems(PLMainWindowController* controller, QMenu* menu, const CommandItem* begin, const CommandItem* end)
{
    for (const CommandItem* it = begin; it != end; ++it) {
        if (!it->action) {
            menu->addSeparator();
            continue;
        }
        QAction* item = controller->addMenuItem(menu, QString::fromLatin1(it->action), getLocalString(QString::fromLatin1(it->titleKey)));
        if (it->shortcut != QKeySequence::UnknownKey)
            item->setShortcut(it->shortcut);
        QObject::connect(item, &QAction::triggered, controller, it->slot);
    }
}

} // namespace

QAction* PLMainWindowController::addMenuItem(QMenu* menu, const QString& action, const QString& title)
{
    QAction* item = menu->addAction(title);
    adoptMenuItem(item, action);
    return item;
}

void PLMainWindowController::adoptMenuItem(QAction* item, const QString& action)
{
    item->setObjectName(action);
    item->setCheckable(MenuValidation::isCheckable(action));
    item->setProperty(kValidatedProperty, true);
}

MenuValidation::State PLMainWindowController::menuState() const
{
    MenuValidation::State state;
    state.window = toolbarState();
    state.sheetAttached = hasAttachedSheet();
    state.recognizeLanguage = _iRecognizeButtonState;
    state.exportFormat = _iExportButtonState;
    state.detailShown = m_ui._detailSideView->isVisible() && m_ui._detailSideView->width() > 1;
    state.imageOperation = m_ui._segImageOperator->checkedId() == 1 ? 0 : 1;
    return state;
}

MenuValidation::Validation PLMainWindowController::menuItemValidation(const QString& action, int tag) const
{
    return MenuValidation::validateMenuItem(action, menuState(), tag);
}

bool PLMainWindowController::validateMenuItem(const QString& action) const
{
    return menuItemValidation(action).enabled;
}

void PLMainWindowController::validateMenuItems(QMenu* menu)
{
    endFolderNameEditing();
    const MenuValidation::State state = menuState();
    QList<QMenu*> menus{menu};
    // The submenus' items too, so that a menu's state is whole as soon as it opens.
    while (!menus.isEmpty()) {
        for (QAction* item : menus.takeFirst()->actions()) {
            if (item->menu())
                menus.append(item->menu());
            if (!item->property(kValidatedProperty).toBool())
                continue;
            const MenuValidation::Validation validation = MenuValidation::validateMenuItem(item->objectName(), state, item->property(kTagProperty).toInt());
            item->setEnabled(validation.enabled);
            if (item->isCheckable())
                item->setChecked(validation.checked);
        }
    }
}

void PLMainWindowController::createCommandMenu()
{
    m_commandMenu = new QMenu(getLocalString(QStringLiteral("IDS_MENU_CARD")), m_window.get());
    m_commandMenu->setObjectName(QStringLiteral("commandMenu"));
    addItems(this, m_commandMenu, std::begin(kCardItems), std::begin(kCardItems) + 1);
    QMenu* languages = m_commandMenu->addMenu(getLocalString(QStringLiteral("IDS_PREFERENCES_RECOGNIZE_LANGUAGE")));
    languages->setObjectName(QStringLiteral("recognizeLanguageMenu"));
    const std::pair<const char*, void (PLMainWindowController::*)()> choices[] = {
        {"recognizeInJapanese", &PLMainWindowController::recognizeInJapanese},
        {"recognizeInEnglish", &PLMainWindowController::recognizeInEnglish}};
    for (const auto& [action, slot] : choices) {
        const QString name = QString::fromLatin1(action);
        const int state = name == QLatin1String("recognizeInEnglish") ? 1 : 0;
        QAction* item = addMenuItem(languages, name, getLocalString(QString::fromLatin1(ToolbarItems::language(state).languageTextKey)));
        connect(item, &QAction::triggered, this, slot);
    }
    connect(languages, &QMenu::aboutToShow, this, [this, languages] { validateMenuItems(languages); });
    addItems(this, m_commandMenu, std::begin(kCardItems) + 1, std::end(kCardItems));
    connect(m_commandMenu, &QMenu::aboutToShow, this, [this] { validateMenuItems(m_commandMenu); });
}

void PLMainWindowController::addImageCommands(QMenu* viewMenu)
{
    viewMenu->addSeparator();
    addItems(this, viewMenu, std::begin(kImageItems), std::end(kImageItems));
    viewMenu->addSeparator();
    auto* operations = new QActionGroup(viewMenu);
    for (const auto& [segment, titleKey] : {std::pair{0, "IDS_IMAGEOPERATION_MOVE"}, std::pair{1, "IDS_IMAGEOPERATION_SELECT"}}) {
        QAction* item = addMenuItem(viewMenu, QStringLiteral("onImageOperationBar"), getLocalString(QString::fromLatin1(titleKey)));
        item->setProperty(kTagProperty, segment);
        operations->addAction(item);
        connect(item, &QAction::triggered, this, [this, segment] { onImageOperationBar(segment); });
    }
    viewMenu->addSeparator();
    QAction* side = m_ui._displayDataEditViewMenuItem;
    adoptMenuItem(side, QStringLiteral("onSideBar"));
    viewMenu->addAction(side);
    connect(side, &QAction::triggered, this, &PLMainWindowController::onSideBar);
    // After the pane's own validation of its items, which knows nothing of these.
    connect(viewMenu, &QMenu::aboutToShow, this, [this, viewMenu] { validateMenuItems(viewMenu); });
}
