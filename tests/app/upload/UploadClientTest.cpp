// The upload hand-off: the checks before it, the card file handed to a stand-in plug-in built
// with the tests, each failure's message, and nothing of the hand-off left in the temporary folder.
#include "app/core/DiskUtilities.h"
#include "app/core/Globals.h"
#include "app/core/OpenDatabase.h"
#include "app/linkage/PLSalesforceClientController.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/StandardPaths.h"
#include "tests/app/core/TestBundle.h"
#include "tests/app/upload/TestPluginBundle.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/pdf/TestPdf.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>

namespace {

const QString kUploadItems = QStringLiteral("SalesForce connect check box items display");

class FakeMainWindow : public PLUploadHost {
public:
    QWidget widget;
    QList<CardDict> cards;
    QString folder;
    bool indicatorStarts = true;
    int indicatorRuns = 0;
    int indicatorStops = 0;
    QString indicatorMessage;

    QWidget* window() const override { return const_cast<QWidget*>(&widget); }
    bool RunIndicator(const QString&, const QString& message) override
    {
        indicatorMessage = message;
        if (!indicatorStarts)
            return false;
        ++indicatorRuns;
        return true;
    }
    void StopIndicator() override { ++indicatorStops; }
    QList<CardDict> getSeleteRecords() override { return cards; }
    QString databaseFolder() const override { return folder; }
};

// How the stand-in plug-in was called, read from its record.
struct PlugInCall {
    int settingsOnly = -1;
    QString path;
    QString window;
    int outputCSV = -1;
    QByteArray cardFile;
};

class UploadClient : public ::testing::Test {
protected:
    QTemporaryDir temp;
    OpenDatabase openDatabase;
    ScriptedMessagePresenter presenter;
    std::optional<TestBundle> bundle;
    FakeMainWindow mainWindow;
    QByteArray savedTempDir;
    QString application;
    QString record;

    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        useBundle({});
        PreferenceDomain::setStandardDomain(QStringLiteral("test.upload"), temp.filePath(QStringLiteral("prefs")));
        savedTempDir = qgetenv("TMPDIR");
        QDir().mkpath(temp.filePath(QStringLiteral("tmp")));
        qputenv("TMPDIR", QFile::encodeName(temp.filePath(QStringLiteral("tmp"))));
        g_lDiskSize = kDefaultDiskSize;

        openDatabase.choose(temp.filePath(QStringLiteral("Cards.cxdb")));
        ASSERT_TRUE(QDir().mkpath(g_strCurDBPath + QStringLiteral("/Images")));
        QFile(g_strCurDBPath + QStringLiteral("/Pelmora1.sqldb")).open(QIODevice::WriteOnly);
        ASSERT_TRUE(testpdf::writePdf(g_strCurDBPath + QStringLiteral("/Images/CARD_N1.pdf"), testpdf::scannerDocument(1)));

        application = temp.filePath(QStringLiteral("app"));
        PLSalesforceClientController::setApplicationFolder(application);
        installBundle(QStringLiteral(RECORDING_PLUGIN_PATH));
        record = temp.filePath(QStringLiteral("record"));
        qputenv("PELMORA_TEST_PLUGIN_RECORD", QFile::encodeName(record));
        qunsetenv("PELMORA_TEST_PLUGIN_RETURN");
        mainWindow.cards = cards(2);
        mainWindow.folder = openDatabase.folder();
    }
    void TearDown() override
    {
        qputenv("TMPDIR", savedTempDir);
        qunsetenv("PELMORA_TEST_PLUGIN_RECORD");
        PLSalesforceClientController::setApplicationFolder(QString());
        PreferenceDomain::standard().reload();
    }

    void useBundle(const PlistValue::Dictionary& info)
    {
        bundle.reset();
        bundle.emplace(info, PlistValue::Dictionary{
                                 {QStringLiteral("IDS_MSG_LABEL_CLOUD_COMMUNICATION"), PlistValue("Upload")},
                                 {QStringLiteral("IDS_INDICATOR_CLOUD_RUNNING"), PlistValue("Uploading")},
                                 {QStringLiteral("IDS_MSG_IS_SKIP_NO_NAME_DATA"), PlistValue("Skip cards without a name?")},
                                 {QStringLiteral("IDS_MSG_ERR_0006"), PlistValue("E6")},
                                 {QStringLiteral("IDS_MSG_ERR_0011"), PlistValue("E11")},
                                 {QStringLiteral("IDS_MSG_ERR_0048"), PlistValue("E48")},
                                 {QStringLiteral("IDS_MSG_ERR_0115"), PlistValue("E115")},
                                 {QStringLiteral("IDS_MSG_ERR_0117"), PlistValue("E117 %@ %@")},
                                 {QStringLiteral("IDS_MSG_ERR_0118"), PlistValue("E118 %@")},
                                 {QStringLiteral("IDS_MSG_ERR_0119"), PlistValue("E119 %@")},
                                 {QStringLiteral("IDS_MSG_ERR_0120"), PlistValue("E120 %@")},
                             });
    }
    // The plug-in bundle beside the application, with `module` as its module.
    QString installBundle(const QString& module, const QString& executable = QStringLiteral("libQuendrel.so"))
    {
        return installTestPluginBundle(application, module, executable);
    }
    static QList<CardDict> cards(int count)
    {
        QList<CardDict> list;
        for (int i = 0; i < count; ++i)
            list.append(CardDict{{QStringLiteral("full_Name"), QStringLiteral("Person %1").arg(i)},
                                 {QStringLiteral("company"), QStringLiteral("Company")},
                                 {QStringLiteral("face_Image_File"), QStringLiteral("CARD_N1.pdf")}});
        return list;
    }
    std::optional<PlugInCall> plugInCall() const
    {
        QFile file(record);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        PlugInCall call;
        call.settingsOnly = file.readLine().trimmed().toInt();
        call.path = QFile::decodeName(file.readLine().trimmed());
        call.window = QString::fromLatin1(file.readLine().trimmed());
        call.outputCSV = file.readLine().trimmed().toInt();
        call.cardFile = file.readAll();
        return call;
    }
    static QString pointerText(const void* pointer) { return QString::asprintf("%p", pointer); }
    QStringList handOffLeftovers() const
    {
        return QDir(privateTempDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
    void upload()
    {
        PLSalesforceClientController client;
        client.setMainWinController(&mainWindow);
        client.quendrel();
    }
};

TEST_F(UploadClient, HandsTheCardFileToThePlugInAndLeavesNothingBehind)
{
    for (const char* returned : {"0", "1000002"}) {
        SCOPED_TRACE(returned);
        QFile::remove(record);
        qputenv("PELMORA_TEST_PLUGIN_RETURN", returned);
        upload();
        const std::optional<PlugInCall> call = plugInCall();
        ASSERT_TRUE(call);
        EXPECT_EQ(call->settingsOnly, 0);
        EXPECT_EQ(call->outputCSV, 0);
        EXPECT_EQ(call->window, pointerText(&mainWindow.widget));
        EXPECT_EQ(QFileInfo(call->path).absolutePath(), privateTempDir());
        EXPECT_TRUE(call->path.endsWith(QStringLiteral(".xml")));
        // The ContactXML card file in UTF-16, holding both cards.
        const QString xml = QString::fromUtf16(reinterpret_cast<const char16_t*>(call->cardFile.constData() + 2),
                                               (call->cardFile.size() - 2) / 2);
        EXPECT_TRUE(call->cardFile.startsWith("\xFF\xFE"));
        EXPECT_TRUE(xml.contains(QStringLiteral("Person 0")) && xml.contains(QStringLiteral("Person 1"))) << xml.toStdString();
        // A plug-in's own code is not looked at: no message from the host.
        EXPECT_TRUE(presenter.texts().isEmpty()) << presenter.texts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(mainWindow.indicatorMessage, QStringLiteral("Uploading"));
        EXPECT_TRUE(handOffLeftovers().isEmpty()) << handOffLeftovers().join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_EQ(mainWindow.indicatorRuns, 2);
    EXPECT_EQ(mainWindow.indicatorStops, 2);
}

TEST_F(UploadClient, TheSelectionLimitComesFromInfoPlist)
{
    struct Case {
        const char* name;
        std::optional<PlistValue> limit;
        int cards;
        bool handedOver;
        const char* message;
    } const cases[] = {
        {"no key: 100 cards go", std::nullopt, 100, true, nullptr},
        {"no key: 101 cards are refused", std::nullopt, 101, false, "E120 100"},
        {"a string is no limit: 100", PlistValue("5"), 101, false, "E120 100"},
        {"a limit of 0 refuses everything", PlistValue(0), 1, false, "E120 0"},
        {"a limit of 3", PlistValue(3), 3, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlistValue::Dictionary info;
        if (c.limit)
            info.insert(QStringLiteral("PLMaxNumLimitedForSalesforce"), *c.limit);
        useBundle(info);
        QFile::remove(record);
        presenter.clear();
        mainWindow.indicatorRuns = 0;
        mainWindow.cards = cards(c.cards);
        upload();
        EXPECT_EQ(plugInCall().has_value(), c.handedOver);
        EXPECT_EQ(presenter.texts(), c.message ? QStringList{QString::fromLatin1(c.message)} : QStringList{});
        if (!c.handedOver) {
            EXPECT_EQ(mainWindow.indicatorRuns, 0);
        }
        EXPECT_TRUE(handOffLeftovers().isEmpty());
    }
}

TEST_F(UploadClient, EachFailureShowsItsMessageAndRemovesTheHandOff)
{
    struct Case {
        const char* name;
        std::function<void()> arrange;
        const char* message;
        bool indicator;   // the processing sheet was shown (and taken down)
    } const cases[] = {
        {"no Bundles folder", [&] { QDir(application + QStringLiteral("/Bundles")).removeRecursively(); }, "E117 Upload Quendrel.bundle", false},
        {"a module without the entry", [&] { installBundle(QStringLiteral(NO_ENTRY_PLUGIN_PATH)); }, "E117 Upload Quendrel.bundle", true},
        {"a module that does not load",
         [&] {
             const QString contents = installBundle(QString());
             QFile garbage(contents + QStringLiteral("/Linux/libQuendrel.so"));
             garbage.open(QIODevice::WriteOnly);
             garbage.write("not a shared object");
         },
         "E117 Upload Quendrel.bundle", true},
        {"a module that is missing", [&] { installBundle(QString()); }, "E117 Upload Quendrel.bundle", true},
        {"a malformed Info.plist",
         [&] {
             QFile info(installBundle(QStringLiteral(RECORDING_PLUGIN_PATH)) + QStringLiteral("/Info.plist"));
             info.open(QIODevice::WriteOnly | QIODevice::Truncate);
             info.write("<plist><dict><key>CFBundleExecutable</key>");
         },
         "E117 Upload Quendrel.bundle", true},
        {"no principal class",
         [&] {
             const QString contents = installBundle(QStringLiteral(RECORDING_PLUGIN_PATH));
             writePlistFile(contents + QStringLiteral("/Info.plist"),
                            PlistValue::Dictionary{{QStringLiteral("CFBundleExecutable"), PlistValue("libQuendrel.so")}});
         },
         "E117 Upload Quendrel.bundle", true},
        {"a module named outside the bundle",
         [&] {
             installBundle(QString(), QStringLiteral("../../../outside.so"));
             QFile::copy(QStringLiteral(RECORDING_PLUGIN_PATH), application + QStringLiteral("/Bundles/outside.so"));
         },
         "E117 Upload Quendrel.bundle", true},
        {"a module linked to outside the bundle",
         [&] {
             const QString contents = installBundle(QString());
             QFile::copy(QStringLiteral(RECORDING_PLUGIN_PATH), temp.filePath(QStringLiteral("elsewhere.so")));
             QFile::link(temp.filePath(QStringLiteral("elsewhere.so")), contents + QStringLiteral("/Linux/libQuendrel.so"));
         },
         "E117 Upload Quendrel.bundle", true},
        {"the database folder is gone", [&] { QDir(g_strCurDBPath).removeRecursively(); }, "E48", false},
        {"no room in the temporary folder", [&] { g_lDiskSize = std::numeric_limits<uint64_t>::max() / 2; }, "E11", false},
        {"a card image that cannot be copied: the card file fails",
         [&] {
             PreferenceDomain::standard().setValue(kUploadItems, 0x5);
             mainWindow.cards[1].insert(QStringLiteral("face_Image_File"), QStringLiteral("GONE_N1.pdf"));
         },
         "E119 Upload", true},
        {"the placeholder for a missing front image fails",
         [&] { mainWindow.cards[0].insert(QStringLiteral("face_Image_File"), QStringLiteral("GONE_N1.pdf")); }, "E6", true},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A module stays loaded for the process: each case has an application folder of its own.
        application = temp.filePath(QStringLiteral("app-%1").arg(++index));
        PLSalesforceClientController::setApplicationFolder(application);
        useBundle({});
        installBundle(QStringLiteral(RECORDING_PLUGIN_PATH));
        PreferenceDomain::standard().remove(kUploadItems);
        mainWindow.cards = cards(2);
        mainWindow.folder = openDatabase.folder();
        g_lDiskSize = kDefaultDiskSize;
        c.arrange();
        presenter.clear();
        mainWindow.indicatorRuns = mainWindow.indicatorStops = 0;
        upload();
        EXPECT_FALSE(plugInCall().has_value());
        EXPECT_EQ(presenter.texts(), QStringList{QString::fromLatin1(c.message)});
        EXPECT_EQ(mainWindow.indicatorRuns, c.indicator ? 1 : 0);
        EXPECT_EQ(mainWindow.indicatorStops, mainWindow.indicatorRuns);
        EXPECT_TRUE(handOffLeftovers().isEmpty()) << handOffLeftovers().join(QLatin1Char(' ')).toStdString();
        if (!QFileInfo::exists(g_strCurDBPath)) {
            ASSERT_TRUE(QDir().mkpath(g_strCurDBPath + QStringLiteral("/Images")));
            QFile(g_strCurDBPath + QStringLiteral("/Pelmora1.sqldb")).open(QIODevice::WriteOnly);
            ASSERT_TRUE(testpdf::writePdf(g_strCurDBPath + QStringLiteral("/Images/CARD_N1.pdf"), testpdf::scannerDocument(1)));
        }
    }
}

TEST_F(UploadClient, APlaceholderIsMadeForAMissingFrontImage)
{
    // The images-only mask lacks name and company, so the default (with images) applies.
    PreferenceDomain::standard().setValue(kUploadItems, 0x10000);
    QFile::copy(qEnvironmentVariable("PELMORA_SOURCE_DIR") + QStringLiteral("/resources/Pelmora/Original.pdf"),
                bundle->dir.filePath(QStringLiteral("Original.pdf")));
    mainWindow.cards[0].insert(QStringLiteral("face_Image_File"), QStringLiteral("NEW_N1.pdf"));
    mainWindow.cards[1].insert(QStringLiteral("face_Image_File"), QString());   // no image: skipped
    upload();
    EXPECT_TRUE(QFileInfo::exists(g_strCurDBPath + QStringLiteral("/Images/NEW_N1.pdf")));
    EXPECT_FALSE(plugInCall().has_value() && presenter.texts().size() > 1);
}

TEST_F(UploadClient, ARefusedSkipQuestionEndsQuietly)
{
    mainWindow.cards[1].insert(QStringLiteral("full_Name"), QStringLiteral(" "));
    presenter.queueAnswer(kAlertSecondButtonReturn);
    upload();
    EXPECT_FALSE(plugInCall().has_value());
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("Skip cards without a name?")});
    EXPECT_EQ(mainWindow.indicatorStops, 1);
    EXPECT_TRUE(handOffLeftovers().isEmpty());
}

TEST_F(UploadClient, NoSelectionOrNoProcessingSheetDoesNothing)
{
    mainWindow.cards.clear();
    upload();
    mainWindow.cards = cards(1);
    mainWindow.indicatorStarts = false;
    upload();
    EXPECT_FALSE(plugInCall().has_value());
    EXPECT_TRUE(presenter.texts().isEmpty());
    EXPECT_TRUE(handOffLeftovers().isEmpty());
}

TEST_F(UploadClient, AccountSettingsCallTheEntryInSettingsMode)
{
    QWidget sheet;
    auto* button = new QPushButton(&sheet);
    PLSalesforceClientController client;
    client.setMainWinController(button);
    client.launchAccountSetting();
    const std::optional<PlugInCall> call = plugInCall();
    ASSERT_TRUE(call);
    EXPECT_EQ(call->settingsOnly, 1);
    EXPECT_EQ(call->path, QString());
    EXPECT_EQ(call->window, pointerText(&sheet));
    EXPECT_EQ(call->outputCSV, 0);

    QDir(application + QStringLiteral("/Bundles")).removeRecursively();
    client.launchAccountSetting();
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("E117 Upload Quendrel.bundle")});
}

TEST_F(UploadClient, TheLoaderWantsFourArguments)
{
    PLSalesforceClientController client;
    const QString bundleName = QStringLiteral("Bundles/Quendrel.bundle");
    EXPECT_EQ(client.launchWithBundleName(bundleName, QStringLiteral("StartQDL"), {false, QString(), false}), -1);
    EXPECT_EQ(client.launchWithBundleName(QString(), QStringLiteral("StartQDL"), {false, QString(), QVariant(), false}), -1);
    EXPECT_EQ(client.launchWithBundleName(QStringLiteral("Bundles/Other.bundle"), QStringLiteral("StartQDL"), {}), -3);
    EXPECT_EQ(client.launchWithBundleName(bundleName, QStringLiteral("NoSuchEntry"), {false, QString(), QVariant(), false}), -3);
    EXPECT_FALSE(plugInCall().has_value());
    EXPECT_EQ(client.launchWithBundleName(bundleName, QStringLiteral("StartQDL"), {false, QStringLiteral("/x.xml"), QVariant(), true}), 0);
    ASSERT_TRUE(plugInCall());
    EXPECT_EQ(plugInCall()->outputCSV, 1);
}

} // namespace
