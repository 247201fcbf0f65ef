// The main application's side of the upload: checks whether an upload may start, has the selected
// cards written as the upload card file, and hands it to the plug-in bundle beside the
// application through the bundle's C entry (plugin/Entry/QuendrelEntry.h). Also opens the
// plug-in's account settings. One client serves one command; main thread only.
#pragma once

#include "app/images/CardRecord.h"
#include "app/linkage/PluginBundle.h"
#include "app/linkage/PLUploadHost.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QWidget>

#include <cstdint>
#include <optional>

class PLSalesforceClientController {
public:
    static constexpr char kQuendrelBundle[] = "Bundles/Quendrel.bundle";
    static constexpr char kQuendrelBundleFileName[] = "Quendrel.bundle";
    static constexpr uint64_t kDefaultMaxNumLimited = 100;

    // Statuses of the loader.
    static constexpr int kLaunchBadArguments = -1;
    static constexpr int kLaunchMissing = -3;

    // The folder that holds the application (bundles are found relative to it); the program's own
    // folder unless set.
    static QString applicationFolder();
    static void setApplicationFolder(const QString& folder);

    PLSalesforceClientController() = default;

    // The upload's main window; ignored when null. Not owned.
    void setMainWinController(PLUploadHost* controller);
    // For the account settings: the button that was clicked, whose window parents the plug-in's.
    void setMainWinController(QWidget* sender);

    // The upload command.
    void quendrel();
    // The plug-in's account settings alone; reports its failures itself.
    void launchAccountSetting();

    // Loads the bundle at `bundleName` (relative to the application folder) and calls its entry
    // `selector` with the four arguments: a flag, the card file's path, the parent window (a
    // QObject*) and a flag. 0 called, -1 bad arguments, -3 bundle, class or entry missing.
    int launchWithBundleName(const QString& bundleName, const QString& selector, const QVariantList& arguments);
    static std::optional<PluginBundle> bundleWithName(const QString& bundleName);
    // True when a file (not a folder) was there and has been removed.
    static bool cleanTempFile(const QString& path);
    // Info.plist "PLMaxNumLimitedForSalesforce" as an unsigned number; 100 when absent or not a number.
    static uint64_t maxNumLimitedOfSelection();
    // Placeholder front images for the cards whose front image file is missing: 0, or the first
    // failure of the placeholder writer (the remaining cards are left alone).
    int createPdfIfNotExists(const QList<CardDict>& cards);
    void readPreferences();
    uint32_t exportItemCodeSalesforce() const { return _exportItemCodeSalesforce; }

private:
    QWidget* parentWindow() const;
    static void showStatusMessage(int status);

    PLUploadHost* _mainController = nullptr;
    QPointer<QWidget> _sender;
    uint32_t _exportItemCodeSalesforce = 0;
};
