// The main window's menu bar: the database commands, the online update and quitting, each
// enabled by the application delegate's menu validation when its menu opens; the window's
// commands (preferences, upload, printing, search, the card, Export and View menus), each enabled
// by the main window's rule for its action.
#pragma once

#include "app/core/PLDatabaseCommands.h"

#include <QObject>

#include <memory>

class PLAppController;
class PLMainWindowController;

class PLMainMenu : public QObject {
public:
    PLMainMenu(PLMainWindowController& mainWindow, PLAppController& appController);

private:
    std::unique_ptr<PLDatabaseCommands> m_commands;
};
