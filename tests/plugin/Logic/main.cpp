// The handlers against the fake service on loopback: the upload chain end to end, the searches,
// labels and the duplicate check. Completions arrive on the main thread; preferences are temporary.
#include "platform/appkit/dialogs/DialogServices.h"
#include "plugin/Common/CommonFuc.h"
#include "tests/support/environment/TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testenvironment::enter();
    QApplication app(argc, argv);
    installDialogServices();
    CommonFuc::setBundleResourcePath(qEnvironmentVariable("PELMORA_SOURCE_DIR") + "/resources/Quendrel");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
