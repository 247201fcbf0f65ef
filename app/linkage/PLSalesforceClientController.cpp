#include "app/linkage/PLSalesforceClientController.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/DiskUtilities.h"
#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/PLChecker.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/export/PLExporter.h"
#include "app/images/CardFieldKeys.h"
#include "app/images/CardImageFiles.h"
#include "app/images/CardPdfCheck.h"
#include "app/images/PLImageCreator.h"
#include "platform/appkit/ModalScope.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/StandardPaths.h"
#include "plugin/Entry/QuendrelEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>

namespace {

const QString kMaxNumLimitedKey = QStringLiteral("PLMaxNumLimitedForSalesforce");
const QString kIndicatorKey = QStringLiteral("IDS_INDICATOR_CLOUD_RUNNING");
const QString kLabelKey = QStringLiteral("IDS_MSG_LABEL_CLOUD_COMMUNICATION");
constexpr uint32_t kCardImageBit = 0x10000;

// Statuses of the upload that lead to a message.
constexpr int kStatusPlaceholderText = -9;
constexpr int kStatusPlaceholder = -8;
constexpr int kStatusException = -7;
constexpr int kStatusCardFile = -6;

constexpr int kMsgNoSpace = 11;
constexpr int kMsgPlaceholder = 6;
constexpr int kMsgDatabaseFolder = 48;
constexpr int kMsgPlaceholderText = 115;
constexpr int kMsgPlugInMissing = 117;
constexpr int kMsgException = 118;
constexpr int kMsgUploadFailed = 119;
constexpr int kMsgTooManyCards = 120;

QString& applicationFolderSetting()
{
    static QString folder;
    return folder;
}

// Messages of the upload go to the main window's sheet; the path-type report comes first when
// the database lies where that has its own message.
template <typename... Args>
void reportAfterPathType(int message, const Args&... args)
{
    if (!PLNetDBLockController::ShowErrorMessageByPathType())
        PLMessage::ShowPLErrorMessageBySheet(nullptr, message, args...);
}

QString label()
{
    return getLocalString(kLabelKey);
}

QString exceptionText(const std::exception_ptr& exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("unknown exception");
    }
}

} // namespace

QString PLSalesforceClientController::applicationFolder()
{
    if (applicationFolderSetting().isEmpty() && QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return applicationFolderSetting();
}

void PLSalesforceClientController::setApplicationFolder(const QString& folder)
{
    applicationFolderSetting() = folder;
}

void PLSalesforceClientController::setMainWinController(PLUploadHost* controller)
{
    if (controller)
        _mainController = controller;
}

void PLSalesforceClientController::setMainWinController(QWidget* sender)
{
    if (sender)
        _sender = sender;
}

QWidget* PLSalesforceClientController::parentWindow() const
{
    if (_mainController)
        return _mainController->window();
    return _sender ? _sender->window() : nullptr;
}

std::optional<PluginBundle> PLSalesforceClientController::bundleWithName(const QString& bundleName)
{
    if (bundleName.isEmpty())
        return std::nullopt;
    return PluginBundle::bundleWithPath(QDir(applicationFolder()).filePath(bundleName));
}

int PLSalesforceClientController::launchWithBundleName(const QString& bundleName, const QString& selector, const QVariantList& arguments)
{
    if (bundleName.isEmpty())
        return kLaunchBadArguments;
    std::optional<PluginBundle> bundle = bundleWithName(bundleName);
    if (!bundle)
        return kLaunchMissing;
    if (arguments.size() != 4)
        return kLaunchBadArguments;
    const bool settingsOnly = arguments[0].toBool();
    const QByteArray path = QFile::encodeName(arguments[1].toString());
    QObject* window = arguments[2].value<QObject*>();
    const bool outputCSV = arguments[3].toBool();
    if (bundle->principalClass().isEmpty())
        return kLaunchMissing;
    auto entry = reinterpret_cast<QuendrelStartQDLFunction>(bundle->symbol(selector.toLatin1().constData()));
    if (!entry)
        return kLaunchMissing;
    const int32_t result = entry(settingsOnly ? 1 : 0, path.constData(), static_cast<void*>(qobject_cast<QWidget*>(window)),
                                 outputCSV ? 1 : 0);
    PLNSLog(QStringLiteral("The plug-in returned %d"), result);
    return 0;
}

bool PLSalesforceClientController::cleanTempFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    return QFile::remove(path);
}

uint64_t PLSalesforceClientController::maxNumLimitedOfSelection()
{
    const PlistValue value = Bundle::main().objectForInfoDictionaryKey(kMaxNumLimitedKey);
    if (!value.isNumber())
        return kDefaultMaxNumLimited;
    return static_cast<uint64_t>(value.toInteger());
}

int PLSalesforceClientController::createPdfIfNotExists(const QList<CardDict>& cards)
{
    const QString database = _mainController->databaseFolder();
    const QString images = cardImagesFolder(database);
    for (const CardDict& card : cards) {
        const QString name = card.value(cardkey::kFaceImageFile).toString();
        if (PLChecker::isBlank(name) || CheckPDF(QDir(images).filePath(name)) != kPdfMissing)
            continue;
        const int code = PLImageCreator::writeCardImage(database, card);
        if (code != 0) {
            PLNSLog(QStringLiteral("Image Create failed. %@"), name);
            return code;
        }
    }
    return 0;
}

void PLSalesforceClientController::readPreferences()
{
    _exportItemCodeSalesforce = PLExporter::uploadItemsMask();
}

void PLSalesforceClientController::launchAccountSetting()
{
    try {
        const QVariantList arguments{true, QString(), QVariant::fromValue<QObject*>(parentWindow()), false};
        if (launchWithBundleName(QString::fromLatin1(kQuendrelBundle), QString::fromLatin1(QUENDREL_ENTRY_SYMBOL), arguments) != 0)
            PLMessage::ShowPLErrorMessage(kMsgPlugInMissing, label(), QString::fromLatin1(kQuendrelBundleFileName));
    } catch (...) {
        PLNSLog(QStringLiteral("Exception: %@"), exceptionText(std::current_exception()));
        PLMessage::ShowPLErrorMessage(kMsgException, label());
    }
}

void PLSalesforceClientController::showStatusMessage(int status)
{
    switch (status) {
    case kStatusPlaceholderText:
        PLMessage::ShowPLErrorMessageBySheet(nullptr, kMsgPlaceholderText);
        break;
    case kStatusPlaceholder:
        reportAfterPathType(kMsgPlaceholder);
        break;
    case kStatusException:
        PLMessage::ShowPLErrorMessageBySheet(nullptr, kMsgException, label());
        break;
    case kLaunchMissing:
        PLMessage::ShowPLErrorMessageBySheet(nullptr, kMsgPlugInMissing, label(), QString::fromLatin1(kQuendrelBundleFileName));
        break;
    default:
        reportAfterPathType(kMsgUploadFailed, label());
        break;
    }
}

void PLSalesforceClientController::quendrel()
{
    if (!_mainController)
        return;
    const QList<CardDict> cards = _mainController->getSeleteRecords();
    if (cards.isEmpty())
        return;
    const uint64_t limit = maxNumLimitedOfSelection();
    if (static_cast<uint64_t>(cards.size()) > limit) {
        PLMessage::ShowPLErrorMessageBySheet(nullptr, kMsgTooManyCards, static_cast<qulonglong>(limit));
        return;
    }
    const QString temporary = privateTempDir();
    if (checkDiskSize(temporary, g_lDiskSize) != 0) {
        reportAfterPathType(kMsgNoSpace);
        return;
    }
    const int folderCheck = checkDBAttributes(_mainController->databaseFolder());
    if (folderCheck == kDBAttributesMissing || folderCheck == kDBAttributesUnreadable) {
        reportAfterPathType(kMsgDatabaseFolder);
        return;
    }

    int status = 0;
    bool indicator = false;
    QString cardFile;
    QString imageFolder;
    if (!bundleWithName(QString::fromLatin1(kQuendrelBundle))) {
        status = kLaunchMissing;
    } else {
        if (!_mainController->RunIndicator(QString(), getLocalString(kIndicatorKey))) {
            PLNSLog(QStringLiteral("The upload did not start: the processing sheet cannot be shown."));
            return;
        }
        indicator = true;
        try {
            readPreferences();
            if (_exportItemCodeSalesforce & kCardImageBit) {
                const int code = createPdfIfNotExists(cards);
                if (code != 0)
                    status = code == 4 ? kStatusPlaceholderText : kStatusPlaceholder;
            }
            if (status == 0) {
                int error = 0;
                cardFile = PLExporter::ExportToXmlForSalesforce(temporary, cards, &error, &imageFolder);
                if (error != 0) {
                    status = kStatusCardFile;
                } else if (!cardFile.isEmpty()) {
                    // The plug-in's windows wait for the user: no sheet of ours may stand in front
                    // of them, and the plug-in shows its own progress.
                    _mainController->StopIndicator();
                    indicator = false;
                    // Our delayed calls wait as in any modal run, so that none opens a window of ours
                    // over the plug-in's.
                    const ModalScope pluginRun;
                    const QVariantList arguments{false, cardFile, QVariant::fromValue<QObject*>(_mainController->window()), false};
                    status = launchWithBundleName(QString::fromLatin1(kQuendrelBundle), QString::fromLatin1(QUENDREL_ENTRY_SYMBOL),
                                                  arguments);
                }
            }
        } catch (...) {
            PLNSLog(QStringLiteral("Exception: %@"), exceptionText(std::current_exception()));
            status = kStatusException;
        }
    }

    if (indicator)
        _mainController->StopIndicator();
    if (status != 0)
        showStatusMessage(status);
    // The call is synchronous and the plug-in is done with the hand-off when it returns: the card
    // file (personal data) and whatever the plug-in left of the image folder go now.
    try {
        cleanTempFile(cardFile);
        if (!imageFolder.isEmpty() && QFileInfo(imageFolder).isDir())
            cleanFolder(imageFolder);
    } catch (...) {
        PLNSLog(QStringLiteral("Exception: %@"), exceptionText(std::current_exception()));
    }
}
