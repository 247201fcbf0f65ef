// The linked-application controller: owns the user's linkage preference, merges the applications
// registered in the Extension folders and the upload plug-in's row into it, gives the rows the
// menus and the App List page show, launches applications with cards, and turns linkage status
// codes into messages. One per process.
#pragma once

#include "app/images/CardRecord.h"
#include "app/linkage/PLExtAppInfoForm.h"
#include "app/linkage/PLExtAppWindow.h"
#include "app/linkage/PLPreferenceExtApp.h"

#include <QList>

#include <memory>

inline const QString kExtAppLinkageErrorDomain = QStringLiteral("com.zor.Pelmora.ExtAppLinkage.ErrorDomain");

class PLExtAppController {
public:
    // Null when the preparation of the preference failed.
    static PLExtAppController* sharedController();
    // Drops the shared controller, so that the next use reads the preference again.
    static void resetSharedController();
    // By kind, then by name.
    static QList<PLExtAppInfoForm> defaultSortedExtAppInfoFormList(QList<PLExtAppInfoForm> forms);

    // Start-up: pending ".plist.bak" copies in the user's Extension folder replace the setting
    // plists of their application.
    static void cleanOldCfgFileIfNewOneExists();
    // Start-up: registered applications that can no longer be found lose their row and their
    // setting plists in the user's Extension folder. True when the preference was rewritten.
    static bool cleanCfgFileIfAppUnInstalled();
    // Installs a setting plist opened with the application into the user's Extension folder (as a
    // pending copy when the application has one already); the installed path, or empty, with
    // `refusal` (when given) saying why in words for the user.
    static QString installExtAppLnkConfigFile(const QString& path, QString* refusal = nullptr);
    // The names in the folder that match the pattern ("*" any run, "?" one character; all names
    // for an empty pattern) and end with `fileType`, compared without regard to case.
    static std::optional<QStringList> fileNamesUnder(const QString& folder, const QString& nameFormat, const QString& fileType);
    // 0, -1, -1002, -1004 or -1001; the destination is replaced only whole.
    static int copyFile(const QString& source, const QString& destination, bool isReplace);

    explicit PLExtAppController(bool recognize);

    int preparePreference();
    int reloadPreference();
    void setMainWindowController(PLExtAppWindow* window) { _mainWindowController = window; }
    PLPreferenceExtApp* preferenceExtAppObject() const { return _preferenceExtAppObject.get(); }

    void updateExtAppInfoFormList() { _extAppInfoFormList = newExtAppInfoFormList(); }
    void updateExtAppInfoFormListWith(const QList<PLExtAppInfoForm>& forms) { _extAppInfoFormList = forms; }
    QList<PLExtAppInfoForm> extAppInfoFormList() const { return _extAppInfoFormList; }
    // The rows of the preference; rows without a name or an icon are dropped from it.
    QList<PLExtAppInfoForm> newExtAppInfoFormList();
    // Adds or changes the user's own application of the form; a new row's identifier goes into it.
    int addOrUpdExtAppInfoWith(PLExtAppInfoForm* form);
    int delExtAppInfoWith(const PLExtAppInfoForm& form);
    // The forms' order becomes the stored order; each row's shown flag is taken from its form.
    int savePreferenceBy(const QList<PLExtAppInfoForm>& forms);
    // Shows the message for a linkage status; false when nothing was shown.
    bool handleError(int errorCode, bool isUsingSheet, QWidget* parentWindow, const QString& extAppOperation);

    // Exports the named cards as the application wants them and starts it with the files.
    int launchExtApp(const QString& appID, const QList<CardDict>& dataList);
    int launchExtAppSetting(const QString& appID);
    // The link test of the App List page: the application started with a sample card file.
    int launchExtAppForTesting(const PLExtAppInfoForm* form);

private:
    int addOrUpdConfigedApps();
    int addOrUpdQuendrelApp();
    int _launchExtAppCustomized(const PLPreferenceExtApp::Row& row, const QList<CardDict>& dataList);
    int _launchExtAppConfiged(const PLPreferenceExtApp::Row& row, const QList<CardDict>& dataList);
    int _launchExtAppSetting(const PLPreferenceExtApp::Row& row);
    // Checks the row's application and runs the processing sheet around `launch`.
    template <typename Launch>
    int underProcessingSheet(const PLPreferenceExtApp::Row& row, Launch launch);

    std::unique_ptr<PLPreferenceExtApp> _preferenceExtAppObject;
    bool _isRecognizeExtAppCfg = true;
    bool _isFirstPreparedInfo = false;
    PLExtAppWindow* _mainWindowController = nullptr;
    QList<PLExtAppInfoForm> _extAppInfoFormList;
};
