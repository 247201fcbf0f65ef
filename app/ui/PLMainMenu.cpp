#include "app/ui/PLMainMenu.h"

#include "app/core/LocalString.h"
#include "app/core/PLAppController.h"
#include "app/linkage/PLSalesforceClientController.h"
#include "app/ui/PLEditMenu.h"
#include "app/ui/PLImageController.h"
#include "app/ui/PLMainWindowController.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

PLMainMenu::PLMainMenu(PLMainWindowController& mainWindow, PLAppController& appController)
    : QObject(mainWindow.window()), m_commands(std::make_unique<PLDatabaseCommands>(mainWindow.database(), mainWindow))
{
    QMenu* file = mainWindow.window()->menuBar()->addMenu(getLocalString(QStringLiteral("IDS_MENU_FILE")));
    mainWindow.window()->menuBar()->addMenu(mainWindow.editMenu()->menu());
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
    file->addSeparator();
    QAction* preferences = file->addAction(getLocalString(QStringLiteral("IDS_MENU_PREFERENCES")));
    preferences->setObjectName(QStringLiteral("showPreferencePanel"));
    preferences->setShortcut(QKeySequence::Preferences);
    connect(preferences, &QAction::triggered, this, [&mainWindow] { mainWindow.showPreferencePanel(); });
    QAction* upload = file->addAction(getLocalString(QStringLiteral("IDS_MENU_UPLOAD")));
    upload->setObjectName(QStringLiteral("onCloudConnect"));
    connect(upload, &QAction::triggered, this, [&mainWindow] { mainWindow.onCloudConnect(); });
    file->addSeparator();
    QList<QAction*> windowItems;
    const std::pair<const char*, const char*> printItems[] = {
        {"printPagesSetting", "IDS_MENU_PAGE_SETUP"}, {"print", "IDS_MENU_PRINT"}};
    for (const auto& [name, titleKey] : printItems) {
        QAction* action = file->addAction(getLocalString(QString::fromLatin1(titleKey)));
        action->setObjectName(QString::fromLatin1(name));
        windowItems.append(action);
    }
    windowItems.last()->setShortcut(QKeySequence::Print);
    connect(windowItems[0], &QAction::triggered, this, [&mainWindow] { mainWindow.printPagesSetting(); });
    connect(windowItems[1], &QAction::triggered, this, [&mainWindow] { mainWindow.print(); });
    file->addSeparator();
    mainWindow.window()->menuBar()->addMenu(mainWindow.exportMenu());
    mainWindow.window()->menuBar()->addMenu(mainWindow.imageController()->viewMenu());
    QAction* quit = file->addAction(getLocalString(QStringLiteral("IDS_MENU_QUIT")));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, mainWindow.window(), &QWidget::close);
    connect(file, &QMenu::aboutToShow, this, [validated, windowItems, &appController, &mainWindow] {
        for (const auto& [action, command] : validated)
            action->setEnabled(appController.validateMenuItem(command));
        for (QAction* action : windowItems)
            action->setEnabled(mainWindow.validateMenuItem(action->objectName()));
    });
}
