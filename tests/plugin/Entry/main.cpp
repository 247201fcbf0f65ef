// A test host for the plug-in: one QApplication, offscreen, shared with the loaded module; the
// plug-in's preferences in a temporary configuration folder.
#include "platform/appkit/dialogs/DialogServices.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    // No keyring answers here: the stored login is never found.
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + config.path() + "/no-bus").toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    installDialogServices();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
