// A main window as at start-up on an empty database, with the application's own string table and
// images: what a user sees.
#pragma once

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/app/ui/MainWindowStart.h"

#include <QDir>
#include <QTemporaryDir>

class ShippedResourcesWindow : public ::testing::Test {
protected:
    QTemporaryDir temp;
    OpenDatabase openDatabase;
    std::unique_ptr<PLMainWindowController> window;

    void SetUp() override
    {
        PreferenceDomain::setStandardDomain(QStringLiteral("test.shipped.resources"), temp.filePath(QStringLiteral("prefs")));
        Bundle::setMain(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora"));
        const QString database = temp.filePath(QStringLiteral("Cards.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        window = startMainWindow(openDatabase, database);
    }
    void TearDown() override
    {
        window.reset();
        Bundle::setMain(temp.filePath(QStringLiteral("none")));
    }
};
