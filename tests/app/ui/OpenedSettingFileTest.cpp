// A linked application's settings file opened with Pelmora ("Pelmora FILE"): one that is refused
// says why, in a sentence of the shipped table, before the application it started ends; one that
// is taken is installed without a word.
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/linkage/PLConfigExtAppList.h"
#include "app/ui/PLApplicationServices.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Dictionary = PlistValue::Dictionary;

class OpenedSettingFile : public ::testing::Test {
protected:
    QTemporaryDir temp;
    ScriptedMessagePresenter presenter;
    QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");

    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(temp.filePath(QStringLiteral("home"))));
        PreferenceDomain::setStandardDomain(QStringLiteral("test.opened.setting"), temp.filePath(QStringLiteral("prefs")));
        Bundle::setMain(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora"));
    }
    void TearDown() override
    {
        qputenv("XDG_DATA_HOME", savedDataHome);
        Bundle::setMain(temp.filePath(QStringLiteral("none")));
    }
    QString setting(const QString& name, const Dictionary& root)
    {
        const QString path = temp.filePath(name);
        EXPECT_TRUE(writePlistFile(path, PlistValue(root)));
        return path;
    }
};

} // namespace

TEST_F(OpenedSettingFile, ARefusedFileSaysWhyAndATakenOneIsInstalled)
{
    const Dictionary version1{{"Info", PlistValue(Dictionary{{"FileVersion", PlistValue(1)}})}};
    QFile truncated(temp.filePath(QStringLiteral("com.example.Cut.x.plist")));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write("<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict><key>Info</key><dict><key>FileVer");
    truncated.close();
    Dictionary longLabel = version1;
    longLabel.insert(QStringLiteral("Launch"), PlistValue(Dictionary{{"Label", PlistValue(QString(63, QLatin1Char('L')))}}));

    const struct {
        const char* name;
        QString path;
        QString reason; // the key of what the message says; empty: installed
    } cases[] = {
        {"version 0",
         setting(QStringLiteral("com.example.Zero.x.plist"), {{"Info", PlistValue(Dictionary{{"FileVersion", PlistValue(0)}})}}),
         QStringLiteral("IDS_EXTAPP_PLIST_OLD_VERSION")},
        {"no identifier in the name", setting(QStringLiteral("noname.plist"), version1), QStringLiteral("IDS_EXTAPP_PLIST_BAD_NAME")},
        {"not a whole property list", truncated.fileName(), QStringLiteral("IDS_EXTAPP_PLIST_UNREADABLE")},
        {"a label too long", setting(QStringLiteral("com.example.Long.x.plist"), longLabel), QStringLiteral("IDS_EXTAPP_PLIST_INVALID")},
        {"a good file", setting(QStringLiteral("com.example.Good.x.plist"), version1), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        presenter.clear();
        OpenDatabase database;
        PLMainWindowController window(database);
        window.setTerminate([] {});
        int terminated = 0;
        PLAppServices services = makeApplicationServices();
        services.terminate = [&terminated] { ++terminated; };
        PLAppController app(&window, database, services, Bundle::main());
        window.setAppController(&app);

        // The file starts the application, as "Pelmora FILE" does.
        app.applicationOpenFiles({c.path}, QStringLiteral("bash"));
        EXPECT_EQ(terminated, 1);
        const QString installed = PLConfigExtAppList::defaultExtAppExtensionFolder(true) + QFileInfo(c.path).fileName();
        if (c.reason.isEmpty()) {
            EXPECT_TRUE(presenter.texts().isEmpty()) << presenter.texts().join(u'|').toStdString();
            EXPECT_TRUE(QFile::exists(installed));
            continue;
        }
        const QString reason = Bundle::main().localizedString(c.reason);
        ASSERT_NE(reason, c.reason) << "the reason has a text";
        ASSERT_EQ(presenter.texts().size(), 1);
        const QString shown = presenter.texts().first();
        EXPECT_TRUE(shown.contains(QFileInfo(c.path).fileName())) << shown.toStdString();
        EXPECT_TRUE(shown.contains(reason)) << shown.toStdString();
        EXPECT_FALSE(QFile::exists(installed));
    }
}
