// The handlers against the fake service on loopback: the upload chain end to end, the searches,
// labels and the duplicate check. Completions arrive on the main thread; preferences are temporary.
#include "platform/appkit/dialogs/DialogServices.h"
#include "plugin/Common/CommonFuc.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    installDialogServices();
    CommonFuc::setBundleResourcePath(qEnvironmentVariable("PELMORA_SOURCE_DIR") + "/resources/Quendrel");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
