#include "plugin/Controller/BundleController.h"

#include "plugin/Common/CommonFuc.h"
#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/HandoffFolder.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Common/PluginPreferences.h"
#include "plugin/Common/XMLParser.h"
#include "plugin/Logic/LoginInfoHandler.h"
#include "plugin/SforceService/SforceServiceSvc.h"
#include "plugin/SforceService/SoapBinding.h"

#include <QFileInfo>

namespace {

void alert(const char* key)
{
    CommonFuc::ShowQDLAlertMSG(CommonFuc::GetLocalStringWithKey(QStringLiteral("LTL99001")),
        CommonFuc::GetLocalStringWithKey(QString::fromLatin1(key)), nullptr);
}

}

int BundleController::StartQDL(bool settingsOnly, const QString& pathOfXML, QWidget* inputWinObj, bool outputCSV)
{
    PluginPreferences::loadTimeOuts(m_global);
    SforceServiceSvc::applySettings(PluginPreferences::domain());
    if (!settingsOnly) {
        if (pathOfXML.isEmpty()) {
            LogManager::LogOutput(kLogError, QStringLiteral("Param error: OCR xml file not exist"));
            alert("MSG00002");
            return kReturnNoCardFilePath;
        }
        if (!QFileInfo::exists(pathOfXML)) {
            LogManager::LogOutput(kLogError, QStringLiteral("Param error: OCR xml file not found"));
            alert("MSG00001");
            return kReturnCardFileNotFound;
        }
        m_global.setXMLPath(pathOfXML);
        const auto cards = XMLParser().parseXMLFileAtPath(pathOfXML);
        if (!cards)
            LogManager::LogOutput(kLogError, QStringLiteral("Card file could not be read: ") + pathOfXML);
        m_global.setCardInfoListFromXML(cards);
        m_global.setOutPutCSV(outputCSV);
    }
    m_global.setReturnCode(kQDLSuccess);
    m_global.setWindows(inputWinObj);
    // Chosen while the card file is still there: the windows delete it once its cards are read.
    const QString handoffFolder = settingsOnly ? QString() : handoffFolderToDelete();
    m_windows = std::make_unique<PluginWindows>(m_global, _mainViewController);
    _mainViewController.Run(settingsOnly);
    m_windows.reset();

    if (!handoffFolder.isEmpty() && !CommonFuc::DeleteFileAtPath(handoffFolder))
        LogManager::LogOutput(kLogError, QStringLiteral("Failed to delete card image folder"));
    // The logout's answer must not replace the outcome of the run.
    const int returnCode = m_global.ReturnCode();
    if (m_global.isLoggedIn()) {
        LoginInfoHandler handler(m_global);
        if (handler.LogOut() != kQDLSuccess)
            LogManager::LogOutput(kLogError, QStringLiteral("Log Out Failed"));
    }
    // Nothing of this call may still run once the host may unload the plug-in.
    SoapBinding::cancelAsynchronousCallsAndWait();
    return returnCode;
}

QString BundleController::handoffFolderToDelete() const
{
    const auto& cards = m_global.CardInfoListFromXML();
    return cards ? HandoffFolder::folderToDelete(m_global.XMLPath(), *cards) : QString();
}
