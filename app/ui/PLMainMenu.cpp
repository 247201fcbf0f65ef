#include "app/ui/PLMainMenu.h"

#include "app/core/LocalString.h"
#include "app/core/PLAppController.h"
#include "app/ui/PLAttachmentController.h"
#include "app/ui/PLEditMenu.h"
#include "app/ui/PLImageController.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "platform/appkit/QuitKeys.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QShortcut>

namespace {

// Alt and a letter open a menu: each title is marked at its first letter no title before it has.
void addMnemonics(QMenuBar* bar)
{
    QSet<QChar> taken;
    for (QAction* action : bar->actions()) {
        QMenu* menu = action->menu();
        if (!menu)
            continue;
        const QString title = menu->title();
        QString marked;
        bool done = false;
        for (const QChar c : title) {
            if (!done && c.isLetterOrNumber() && !taken.contains(c.toLower())) {
                taken.insert(c.toLower());
                marked += QLatin1Char('&');
                done = true;
            }
            // A title's own ampersand is shown as it stands.
            marked += c == QLatin1Char('&') ? QStringLiteral("&&") : QString(c);
        }
        menu->setTitle(marked);
    }
}

} // namespace

PLMainMenu::PLMainMenu(PLMainWindowController& mainWindow, PLAppController& appController)
    : QObject(mainWindow.window()), m_commands(std::make_unique<PLDatabaseCommands>(mainWindow.database(), mainWindow))
{
    QMenuBar* bar = mainWindow.window()->menuBar();
    QMenu* file = bar->addMenu(getLocalString(QStringLiteral("IDS_MENU_FILE")));
    bar->addMenu(mainWindow.editMenu()->menu());
    struct Item {
        const char* titleKey;
        PLAppCommand command;
        std::function<void()> action;
    };
    const Item items[] = {
        {"IDS_MENU_NEW_DATABASE", PLAppCommand::NewDatabase, [this] { m_commands->newDatabase(); }},
        {"IDS_MENU_OPEN_DATABASE", PLAppCommand::OpenDatabase, [this] { m_commands->openDatabase(); }},
        {"IDS_MENU_BACKUP_DATABASE", PLAppCommand::BackupDatabase, [this] { m_commands->backupDatabase(); }},
        {"IDS_MENU_ONLINE_UPDATE", PLAppCommand::OnlineUpdate, [&appController] { appController.onlineUpdate(); }},
    };
    QList<std::pair<QAction*, PLAppCommand>> validated;
    for (const Item& item : items) {
        QAction* action = file->addAction(getLocalString(QString::fromLatin1(item.titleKey)));
        connect(action, &QAction::triggered, this, item.action);
        validated.append({action, item.command});
    }
    // The window's own commands: each enabled by the window's rule for its action.
    struct WindowItem {
        const char* action;
        const char* titleKey;
        void (PLMainWindowController::*slot)();
        QKeySequence::StandardKey shortcut;
    };
    const auto addWindowItems = [&mainWindow, this](QMenu* menu, std::initializer_list<WindowItem> windowItems) {
        for (const WindowItem& item : windowItems) {
            QAction* action = mainWindow.addMenuItem(menu, QString::fromLatin1(item.action), getLocalString(QString::fromLatin1(item.titleKey)));
            if (item.shortcut != QKeySequence::UnknownKey)
                action->setShortcut(item.shortcut);
            connect(action, &QAction::triggered, &mainWindow, item.slot);
        }
    };
    // The folder tree's items, enabled by the tree's rule when their menu opens.
    PLOutlineViewController* folders = mainWindow.outlineViewController();
    file->addSeparator();
    QAction* newFolder = file->addAction(getLocalString(QStringLiteral("IDS_FOLDER_MENU_ADD")));
    newFolder->setObjectName(QStringLiteral("addFolderFromMainMenu"));
    connect(newFolder, &QAction::triggered, folders, &PLOutlineViewController::addFolderFromMainMenu);
    file->addSeparator();
    addWindowItems(file, {{"showPreferencePanel", "IDS_MENU_PREFERENCES", &PLMainWindowController::showPreferencePanel, QKeySequence::Preferences},
                          {"onCloudConnect", "IDS_MENU_UPLOAD", &PLMainWindowController::onCloudConnect, QKeySequence::UnknownKey}});
    file->addMenu(mainWindow.attachmentController()->attachmentMenu());
    file->addSeparator();
    addWindowItems(file, {{"printPagesSetting", "IDS_MENU_PAGE_SETUP", &PLMainWindowController::printPagesSetting, QKeySequence::UnknownKey},
                          {"print", "IDS_MENU_PRINT", &PLMainWindowController::print, QKeySequence::Print}});
    file->addSeparator();
    QAction* quit = file->addAction(getLocalString(QStringLiteral("IDS_MENU_QUIT")));
    quit->setShortcuts(quitKeys());
    connect(quit, &QAction::triggered, mainWindow.window(), &QWidget::close);
    connect(file, &QMenu::aboutToShow, this, [file, validated, &appController, &mainWindow, folders, newFolder] {
        for (const auto& [action, command] : validated)
            action->setEnabled(appController.validateMenuItem(command));
        mainWindow.validateMenuItems(file);
        newFolder->setEnabled(folders->validateMenuItem(newFolder->objectName()));
    });

    // Find, beside the Edit menu's own items, puts the focus in the search field.
    QMenu* edit = mainWindow.editMenu()->menu();
    edit->addSeparator();
    addWindowItems(edit, {{"search", "IDS_SEARCH_BAR", &PLMainWindowController::search, QKeySequence::Find}});
    connect(edit, &QMenu::aboutToShow, this, [edit, &mainWindow] { mainWindow.validateMenuItems(edit); });

    bar->addMenu(mainWindow.commandMenu());
    bar->addMenu(mainWindow.exportMenu());
    QMenu* view = mainWindow.imageController()->viewMenu();
    bar->addMenu(view);
    // Beside the detail editor's item, above the full-screen item and its separator.
    auto* folderList = new QAction(getLocalString(QStringLiteral("IDS_MENU_DISPLAY_FOLDER_LIST")), view);
    const QList<QAction*> viewItems = view->actions();
    const qsizetype fullScreen = viewItems.indexOf(mainWindow.fullScreenMenuItem());
    view->insertAction(fullScreen > 0 ? viewItems.at(fullScreen - 1) : nullptr, folderList);
    folderList->setObjectName(QStringLiteral("onListSideBar"));
    folderList->setCheckable(true);
    connect(folderList, &QAction::triggered, folders, &PLOutlineViewController::onListSideBar);
    connect(view, &QMenu::aboutToShow, this, [folders, folderList] {
        folders->commitFolderNameEdit();
        folderList->setEnabled(folders->validateMenuItem(folderList->objectName()));
        folderList->setChecked(folders->isFolderPaneShown());
    });

    addMnemonics(bar);
    // F10 opens the first menu, as the desktops do.
    auto* openMenuBar = new QShortcut(QKeySequence(Qt::Key_F10), mainWindow.window());
    openMenuBar->setObjectName(QStringLiteral("openMenuBar"));
    connect(openMenuBar, &QShortcut::activated, bar, [bar] {
        if (!bar->actions().isEmpty())
            bar->setActiveAction(bar->actions().first());
    });
}
