#include "plugin/Controller/PluginHelp.h"

#include "plugin/Common/CommonFuc.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Controller/ViewTexts.h"
#include "platform/workspace/HelpBook.h"

#include <QDir>
#include <QPushButton>

namespace PluginHelp {

QString hostResources()
{
    // <stage>/Bundles/Quendrel.bundle/Contents/Resources -> <stage>/Resources/Pelmora
    return QDir::cleanPath(CommonFuc::bundleResourcePath() + QStringLiteral("/../../../../Resources/Pelmora"));
}

int LocateHelpPageByAnchor(const QString& anchor)
{
    return HelpBook::openPage(hostResources(), anchor);
}

QPushButton* helpButton(QWidget* window, const char* anchor, const char* clickLine, const char* failureLine)
{
    auto* button = new QPushButton(QStringLiteral("?"), window);
    button->setObjectName(QStringLiteral("_helpBtn"));
    button->setAutoDefault(false);
    button->setToolTip(ViewTexts::text("LTL99060"));
    button->setAccessibleName(ViewTexts::text("LTL99060"));
    QObject::connect(button, &QPushButton::clicked, window, [anchor, clickLine, failureLine] {
        LogManager::LogOutput(kLogInformation, QString::fromLatin1(clickLine));
        if (LocateHelpPageByAnchor(QString::fromLatin1(anchor)) != 0)
            LogManager::LogOutput(kLogError, QString::fromLatin1(failureLine));
    });
    return button;
}

}
