// The preferences window and the upload-items sheet: each control bound to its preference key with
// the key's type, the first start, values of the wrong type, and what a second opening shows.
#include "app/core/LocalString.h"
#include "app/core/PLMessage.h"
#include "app/export/PhotoApplications.h"
#include "app/linkage/prefs/PLPreferences.h"
#include "app/linkage/prefs/PLSalesforceWndCtrl.h"
#include "app/linkage/PLSalesforceClientController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/app/prefs/PrefsEnvironment.h"
#include "tests/support/appkit/AccessibleNames.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/workspace/FakeWorkspace.h"
#include "tests/support/workspace/SmallVolume.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListView>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PreferencesWindow : public ::testing::Test {
protected:
    QTemporaryDir temp;
    PrefsEnvironment environment{temp};
    ScriptedMessagePresenter presenter;

    static PreferenceDomain& prefs() { return PreferenceDomain::standard(); }
    // What a later start reads: the file as written.
    static PlistValue stored(const char* key)
    {
        PreferenceDomain fresh(prefs().domain(), QFileInfo(prefs().filePath()).absolutePath());
        return fresh.value(QString::fromLatin1(key));
    }
    template <typename T>
    static T* find(QWidget* window, const char* name)
    {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void choose(QComboBox* combo, int data)
    {
        const int index = combo->findData(data);
        ASSERT_GE(index, 0);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
};

TEST_F(PreferencesWindow, FirstStartShowsTheDefaults)
{
    PLPreferences preferences;
    preferences.showWindow();
    QWidget* w = preferences.window();
    EXPECT_TRUE(find<QCheckBox>(w, "_checkDisplay")->isChecked());
    EXPECT_TRUE(find<QCheckBox>(w, "_checkAutoRunMergeCardFunc")->isChecked());
    EXPECT_TRUE(find<QCheckBox>(w, "_deleteBackImageCheckBox")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(w, "_checkAutoAddressbookSynchronous")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(w, "_checkAutoiPhoneRegister")->isChecked());
    EXPECT_FALSE(find<QComboBox>(w, "_PhotosButton")->isEnabled());
    EXPECT_EQ(find<QComboBox>(w, "_exportButton")->currentData().toInt(), 1);
    EXPECT_FALSE(find<QCheckBox>(w, "_checkCompanyS")->isEnabled());
    QStringList on;
    for (QCheckBox* box : find<QWidget>(w, "_ExportItemView")->findChildren<QCheckBox*>())
        if (box->isChecked())
            on.append(box->objectName());
    on.sort();
    EXPECT_EQ(on, (QStringList{"_checkCompany", "_checkMail", "_checkName", "_checkTelephone"}));
}

TEST_F(PreferencesWindow, EveryControlStoresItsKeyWithItsTypeAndSurvivesARestart)
{
    QVariantMap userInfo;
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(kPreferencesClosedNotification),
                                                    [&](const Notification& n) { userInfo = n.userInfo; });
    {
        PLPreferences preferences;
        preferences.showWindow();
        QWidget* w = preferences.window();
        find<QCheckBox>(w, "_checkAutoAddressbookSynchronous")->setChecked(true);
        find<QCheckBox>(w, "_checkAutoiPhoneRegister")->click();
        choose(find<QComboBox>(w, "_PhotosButton"), 2);
        find<QCheckBox>(w, "_deleteBackImageCheckBox")->setChecked(false);
        choose(find<QComboBox>(w, "_connectButton"), 3);
        choose(find<QComboBox>(w, "_recognizeButton"), 5);
        choose(find<QComboBox>(w, "_exportButton"), 2);
        find<QCheckBox>(w, "_checkCompanyS")->setChecked(true);
        find<QCheckBox>(w, "_checkDate")->setChecked(true);
        find<QCheckBox>(w, "_checkMail")->setChecked(false);
        find<QCheckBox>(w, "_checkName")->setChecked(false);   // cannot be switched off
        preferences.closePreferencesWindow();
    }
    NotificationCenter::defaultCenter().removeObserver(this);
    EXPECT_EQ(userInfo.value(QString::fromLatin1(kPreferencesRecognizeStateKey)).toInt(), 5);
    EXPECT_EQ(userInfo.value(QString::fromLatin1(kPreferencesExportStateKey)).toInt(), 2);

    struct Case {
        const char* key;
        PlistValue value;
    } const cases[] = {
        {"General display items", PlistValue(true)},
        {"Auto addressbook synchronous items", PlistValue(true)},
        {"Auto iphone register items", PlistValue(true)},
        {"conncet to Photos state", PlistValue(2)},
        {"Auto run merge card function items", PlistValue(true)},
        {"Delete back image after merging operation items", PlistValue(false)},
        {"Export items", PlistValue(4613 - 0x1000 + 0x8 + 0x8000)},
        {"recognize language", PlistValue(1 << 5)},
        {"export mode", PlistValue(4)},
        {"conncet to addressBook state", PlistValue(3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(stored(c.key), c.value);
        EXPECT_EQ(stored(c.key).type(), c.value.type());
    }

    // The next start shows what was stored.
    prefs().reload();
    PLPreferences again;
    QWidget* w = again.window();
    EXPECT_TRUE(find<QCheckBox>(w, "_checkAutoAddressbookSynchronous")->isChecked());
    EXPECT_TRUE(find<QCheckBox>(w, "_checkAutoiPhoneRegister")->isChecked());
    EXPECT_EQ(find<QComboBox>(w, "_PhotosButton")->currentData().toInt(), 2);
    EXPECT_FALSE(find<QCheckBox>(w, "_deleteBackImageCheckBox")->isChecked());
    EXPECT_EQ(find<QComboBox>(w, "_connectButton")->currentData().toInt(), 3);
    EXPECT_EQ(find<QComboBox>(w, "_recognizeButton")->currentData().toInt(), 5);
    EXPECT_EQ(find<QComboBox>(w, "_exportButton")->currentData().toInt(), 2);
    EXPECT_TRUE(find<QCheckBox>(w, "_checkDate")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(w, "_checkMail")->isChecked());
}

TEST_F(PreferencesWindow, StoredValuesAreReadByTheirRules)
{
    struct Case {
        const char* name;
        PlistValue::Dictionary stored;
        int language;   // absent or unusable: the resources' language, English here
        int format;
        int connect;
        bool merge;
    } const cases[] = {
        {"two language bits: Auto is tested first", {{"recognize language", PlistValue(0x801)}}, 11, 1, 1, true},
        {"Japanese before English", {{"recognize language", PlistValue(0x3)}}, 0, 1, 1, true},
        {"the photo application as export format is kept", {{"export mode", PlistValue(1)}}, 1, 0, 1, true},
        {"ContactXML", {{"export mode", PlistValue(16)}}, 1, 4, 1, true},
        {"values of the wrong type",
         {{"recognize language", PlistValue("2")},
          {"export mode", PlistValue("4")},
          {"conncet to addressBook state", PlistValue("3")},
          {"Auto run merge card function items", PlistValue("NO")}},
         1, 1, 1, true},
        {"an unknown conflict rule", {{"conncet to addressBook state", PlistValue(7)}}, 1, 1, 1, true},
        {"merge off is kept", {{"Auto run merge card function items", PlistValue(false)}}, 1, 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prefs().reload();
        for (const QString& key : prefs().dictionary().keys())
            prefs().remove(key);
        prefs().setValue(QStringLiteral("check Photos install info"), 3);
        for (auto it = c.stored.begin(); it != c.stored.end(); ++it)
            prefs().setValue(it.key(), it.value());
        PLPreferences preferences;
        QWidget* w = preferences.window();
        EXPECT_EQ(find<QComboBox>(w, "_recognizeButton")->currentData().toInt(), c.language);
        EXPECT_EQ(find<QComboBox>(w, "_exportButton")->currentData().toInt(), c.format);
        EXPECT_EQ(find<QComboBox>(w, "_connectButton")->currentData().toInt(), c.connect);
        EXPECT_EQ(find<QCheckBox>(w, "_checkAutoRunMergeCardFunc")->isChecked(), c.merge);
    }
}

TEST_F(PreferencesWindow, DisplayOffStoresMergeOffAndNoPhotoApplicationStoresNone)
{
    prefs().setValue(QStringLiteral("check Photos install info"), 0);
    {
        PLPreferences preferences;
        preferences.showWindow();
        QWidget* w = preferences.window();
        EXPECT_FALSE(find<QCheckBox>(w, "_checkAutoiPhoneRegister")->isEnabled());
        find<QCheckBox>(w, "_checkDisplay")->click();
        EXPECT_FALSE(find<QCheckBox>(w, "_checkAutoRunMergeCardFunc")->isEnabled());
        preferences.closePreferencesWindow();
    }
    EXPECT_EQ(stored("General display items"), PlistValue(false));
    EXPECT_EQ(stored("Auto run merge card function items"), PlistValue(false));
    EXPECT_EQ(stored("Auto iphone register items"), PlistValue(false));
    EXPECT_EQ(stored("conncet to Photos state"), PlistValue(0));
}

TEST_F(PreferencesWindow, ThePhotoPullDownOffersTheInstalledApplicationWhenNothingIsStored)
{
    // The window has not yet stored what is installed: the pull-down asks the desktop itself.
    struct Case {
        const char* name;
        int installedType; // the photo application type whose desktop entry exists
        int offered;       // the pull-down's item left, by its data
        int hidden;
    };
    const Case cases[] = {{"type 2 only", 2, 1, 2}, {"type 1 only", 1, 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prefs().remove(QStringLiteral("check Photos install info"));
        FakeWorkspace workspace;
        workspace.applications.insert(photoApplicationIdentifier(c.installedType), ApplicationInfo{QStringLiteral("/usr/bin/true"), QString()});
        PLPreferences preferences;
        auto* photos = find<QComboBox>(preferences.window(), "_PhotosButton");
        auto* rows = qobject_cast<QListView*>(photos->view());
        ASSERT_NE(rows, nullptr);
        EXPECT_EQ(photos->currentData().toInt(), c.offered);
        EXPECT_FALSE(rows->isRowHidden(photos->findData(c.offered)));
        EXPECT_TRUE(rows->isRowHidden(photos->findData(c.hidden)));
    }
}

TEST_F(PreferencesWindow, TheUploadItemsSheetKeepsItsMask)
{
    const QString key = QStringLiteral("SalesForce connect check box items display");
    struct Case {
        const char* name;
        std::optional<PlistValue> preference;
        std::optional<PlistValue> administrator;
        uint32_t shown;
        bool enabled;
    } const cases[] = {
        {"nothing stored", std::nullopt, std::nullopt, 127973, true},
        {"images only lacks name and company", PlistValue(0x10000), std::nullopt, 127973, true},
        {"a string", PlistValue("5"), std::nullopt, 127973, true},
        {"bit 15 clear", PlistValue(127973 - 0x8000), std::nullopt, 127973 - 0x8000, true},
        {"the administrator's 5", PlistValue(127973), PlistValue(5), 5, false},
        {"the administrator's value too large", std::nullopt, PlistValue(131072), 127973, false},
        {"the administrator's negative value", std::nullopt, PlistValue(-1), 127973, false},
        {"the administrator's string is no value", PlistValue(0x15), PlistValue("5"), 0x15, true},
    };
    QWidget panel;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prefs().remove(key);
        if (c.preference)
            prefs().setValue(key, *c.preference);
        const QString administrator = temp.filePath(QStringLiteral("app/SalesforceItem.plist"));
        QFile::remove(administrator);
        if (c.administrator)
            writePlistFile(administrator, PlistValue::Dictionary{{key, *c.administrator}});
        PLSalesforceWndCtrl sheet(&panel);
        sheet.showWindow();
        EXPECT_EQ(sheet.mask(), c.shown);
        const QList<QCheckBox*> boxes = sheet.window()->findChildren<QCheckBox*>();
        ASSERT_EQ(boxes.size(), 14);
        for (QCheckBox* box : boxes)
            EXPECT_EQ(box->isEnabled(), c.enabled) << box->objectName().toStdString();
        EXPECT_EQ(find<QPushButton>(sheet.window(), "_btnSetSalesForceDefault")->isEnabled(), c.enabled);
        if (c.enabled)
            find<QCheckBox>(sheet.window(), "_cloudConnectCheckFax")->setChecked(true);
        find<QPushButton>(sheet.window(), "_btnCloseSheet")->click();
        const uint32_t expected = c.enabled ? (c.shown | 0x400) : c.shown;
        EXPECT_EQ(stored("SalesForce connect check box items display"), PlistValue(static_cast<int64_t>(expected)));
        PlistValue copy;
        const bool written = readPlistFile(temp.filePath(QStringLiteral("home/Documents/Pelmora/Preferences/SalesforceItem.plist")), copy);
        EXPECT_EQ(written, c.enabled);
        if (written) {
            EXPECT_EQ(copy.value(key), PlistValue(static_cast<int64_t>(expected)));
        }
        QFile::remove(temp.filePath(QStringLiteral("home/Documents/Pelmora/Preferences/SalesforceItem.plist")));
    }
}

TEST_F(PreferencesWindow, TheUploadItemsDefaultButtonRestoresTheDefault)
{
    const QString key = QStringLiteral("SalesForce connect check box items display");
    prefs().setValue(key, 5);
    QWidget panel;
    PLSalesforceWndCtrl sheet(&panel);
    sheet.showWindow();
    find<QPushButton>(sheet.window(), "_btnSetSalesForceDefault")->click();
    find<QPushButton>(sheet.window(), "_btnCloseSheet")->click();
    EXPECT_EQ(stored("SalesForce connect check box items display"), PlistValue(127973));
}

TEST_F(PreferencesWindow, EachPageTakesItsOwnSizeUnderTheSameTopEdge)
{
    PLPreferences preferences;
    preferences.showWindow();
    QWidget* w = preferences.window();
    auto* pages = find<QStackedWidget>(w, "");
    ASSERT_NE(pages, nullptr);
    const QPoint topLeft = w->geometry().topLeft();
    struct Case {
        const char* item;
        const char* page;
        const char* title;
    } const cases[] = {
        {"Pelmora Preferences Toolbar App List Identifier", "_viewAppListManage", "IDS_PREFERENCES_APP_LIST_ITEM"},
        {"Pelmora Toolbar ExportItem Identifier", "_ExportItemView", "IDS_PREFERENCES_EXPORT_ITEM"},
        {"Pelmora Toolbar General Identifier", "_GeneralView", "IDS_PREFERENCES_GENERAL_ITEM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        QWidget* page = find<QWidget>(w, c.page);
        find<QAction>(w, c.item)->trigger();
        EXPECT_EQ(pages->currentWidget(), page);
        EXPECT_EQ(pages->size(), page->sizeHint());
        EXPECT_EQ(w->geometry().topLeft(), topLeft);
        EXPECT_EQ(w->windowTitle(), getLocalString(QString::fromLatin1(c.title)));
    }
}

TEST_F(PreferencesWindow, HelpButtonsOpenTheirPages)
{
    FakeWorkspace workspace;
    PLPreferences preferences;
    preferences.showWindow();
    QWidget* w = preferences.window();
    struct Case {
        const char* button;
        const char* page;
    } const cases[] = {
        {"OnSettingGeneralHelp", "db_setting_general.html"},
        {"OnSettingFileHelp", "db_setting_file_mac.html"},
        {"onAppListViewHelpClicked", "db_setting_app.html"},
        {"onConfigCustomAppViewHelpClicked", "db_setting_add_app.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        workspace.openedUrls.clear();
        find<QPushButton>(w, c.button)->click();
        ASSERT_EQ(workspace.openedUrls.size(), 1);
        EXPECT_EQ(workspace.openedUrls.first().fileName(), QString::fromLatin1(c.page));
        EXPECT_TRUE(presenter.shown().isEmpty());
    }
    // No browser takes the page: message 3.
    workspace.openUrlSucceeds = false;
    find<QPushButton>(w, "OnSettingGeneralHelp")->click();
    EXPECT_EQ(presenter.texts(), QStringList{PLMessage::errorText(3)});
}

TEST_F(PreferencesWindow, ToolbarItemsAndLanguagesShowTheirImages)
{
    PLPreferences preferences;
    QWidget* w = preferences.window();
    for (const char* item : {"Pelmora Toolbar General Identifier", "Pelmora Toolbar ExportItem Identifier",
                             "Pelmora Preferences Toolbar App List Identifier"}) {
        EXPECT_FALSE(find<QAction>(w, item)->icon().isNull()) << item;
    }
    auto* languages = find<QComboBox>(w, "_recognizeButton");
    for (int tag = 0; tag <= 11; ++tag) {
        const int index = languages->findData(tag);
        ASSERT_GE(index, 0) << tag;
        EXPECT_FALSE(languages->itemIcon(index).isNull()) << tag;
    }
    auto* formats = find<QComboBox>(w, "_exportButton");
    EXPECT_FALSE(formats->itemIcon(formats->findData(4)).isNull()) << "ContactXML";
}

TEST_F(PreferencesWindow, EveryControlHasAName)
{
    PLPreferences preferences;
    preferences.showWindow();
    QWidget* w = preferences.window();
    for (const char* item : {"Pelmora Toolbar General Identifier", "Pelmora Toolbar ExportItem Identifier",
                             "Pelmora Preferences Toolbar App List Identifier"}) {
        SCOPED_TRACE(item);
        find<QAction>(w, item)->trigger();
        EXPECT_EQ(controlsWithoutName(w), QStringList());
    }
    // The custom-application sheet.
    QWidget* sheet = find<QWidget>(w, "_wndAppSetting");
    sheet->show();
    EXPECT_EQ(controlsWithoutName(sheet), QStringList());
    sheet->hide();
}

} // namespace

// A full disk under the preferences: closing the window says the settings were not saved, and the
// file keeps the settings it held, whole.
TEST_F(PreferencesWindow, AFullDiskKeepsTheStoredSettings)
{
    SmallVolume volume(1, QFileInfo(prefs().filePath()).absolutePath());
    SKIP_WITHOUT_VOLUME(volume);
    prefs().setValue(QStringLiteral("Auto addressbook synchronous items"), false);
    prefs().setValue(QStringLiteral("Padding"), QString(200000, QLatin1Char('p')));
    ASSERT_TRUE(prefs().synchronize());
    const QByteArray before = [&] {
        QFile file(prefs().filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    volume.fill(64 * 1024);
    {
        PLPreferences preferences;
        preferences.showWindow();
        find<QCheckBox>(preferences.window(), "_checkAutoAddressbookSynchronous")->setChecked(true);
        preferences.closePreferencesWindow();
    }
    EXPECT_EQ(presenter.texts(), QStringList{PLMessage::errorText(3)});
    QFile file(prefs().filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(stored("Auto addressbook synchronous items"), PlistValue(false));
    EXPECT_EQ(QDir(volume.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral(".filler"), QFileInfo(prefs().filePath()).fileName()}));
}
