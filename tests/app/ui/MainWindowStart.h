// A main window as at start-up over `database`: built, its database chosen and opened, shown.
#pragma once

#include "app/core/OpenDatabase.h"
#include "app/ui/PLMainWindowController.h"

#include <gtest/gtest.h>

#include <memory>

inline std::unique_ptr<PLMainWindowController> startMainWindow(OpenDatabase& openDatabase, const QString& database)
{
    openDatabase.choose(database);
    auto window = std::make_unique<PLMainWindowController>(openDatabase);
    window->setTerminate([] {});
    window->showActiveWindow();
    EXPECT_NE(window->managedObjectContext(), nullptr);
    return window;
}
