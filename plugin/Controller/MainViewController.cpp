#include "plugin/Controller/MainViewController.h"

#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"
#include "platform/foundation/NotificationCenter.h"

MainViewController::~MainViewController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void MainViewController::Run(bool settingsOnly)
{
    LogManager::LogOutput(kLogInformation, QStringLiteral("MainViewController:Run start"));
    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QString::fromLatin1(kQDLEVENTCOSHOWCARDSVIEW), [this](const Notification&) { OnShowUploadedCardsView(); });
    center.addObserver(this, QString::fromLatin1(kQDLEVENTCOSHOWUPLOADVIEW), [this](const Notification&) { OnShowUploadView(); });
    if (settingsOnly) {
        if (m_accountSettings)
            m_accountSettings();
    } else if (m_immediateLogin) {
        m_immediateLogin();
        do {
            const auto step = m_steps.find(m_global.ViewCode());
            if (step == m_steps.end() || !step->second)
                m_global.setViewCode(kViewNone);
            else
                step->second();
        } while (m_global.ViewCode() != kViewNone);
    }
    center.removeObserver(this);
}

void MainViewController::OnShowUploadedCardsView()
{
    NotificationCenter::defaultCenter().removeObserver(this, QString::fromLatin1(kQDLEVENTCOSHOWCARDSVIEW));
    if (m_showUploadedCardsView)
        m_showUploadedCardsView();
}

void MainViewController::OnShowUploadView()
{
    NotificationCenter::defaultCenter().removeObserver(this, QString::fromLatin1(kQDLEVENTCOSHOWUPLOADVIEW));
    if (m_showUploadView)
        m_showUploadView();
}
