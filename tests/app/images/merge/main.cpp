// The merge window's tests draw widgets and decode card PDFs: one application object for all.
#include "platform/appkit/dialogs/DialogServices.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/support/environment/TestEnvironment.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testenvironment::enter();
    QApplication app(argc, argv);
    installDialogServices();
    QTemporaryDir preferences;
    PreferenceDomain::setStandardDomain(QStringLiteral("com.orvane.zor.Pelmora"), preferences.path());
    // The real string table, so that each message number shows its own text.
    Bundle::setMain(QStringLiteral(PELMORA_RESOURCES));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
