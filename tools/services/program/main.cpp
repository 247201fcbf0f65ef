// Tolbeck: registers the main application's Services. No window, no arguments, exit status 0.
// It merges its Services status entry into the user's status file, then registers the Services
// at once, after each retry pause, and once more after a running package installation.
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ServicesStatus.h"
#include "tools/services/DesktopEntryServices.h"
#include "tools/services/InstallerProbe.h"
#include "tools/services/RegistrationSettings.h"
#include "tools/services/ServicesRegistration.h"
#include "tools/services/ServicesStatusMerge.h"

#include <QCoreApplication>

#include <chrono>
#include <exception>
#include <thread>

namespace {
constexpr char kStatusFileName[] = "pbs.plist";
constexpr char kMainApplicationName[] = "Pelmora";
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tolbeck"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("com.orvane.zor"));

    Bundle& bundle = Bundle::main();
    // A failed merge must not keep the Services from being registered.
    try {
        mergeServicesStatus(bundle.resourcePath() + QLatin1Char('/') + QLatin1String(kStatusFileName), servicesStatusFilePath());
    } catch (const std::exception& e) {
        logLine(QString::fromUtf8(e.what()));
    }

    const unsigned delay = registDelay(bundle.objectForInfoDictionaryKey(QLatin1String(kRegistDelayKey)));
    const unsigned retries = registRetryCount(bundle.objectForInfoDictionaryKey(QLatin1String(kRegistRetryCountKey)));
    const QString pelmoraPath = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kMainApplicationName);

    RegistrationHooks hooks;
    hooks.sleep = [](unsigned seconds) { std::this_thread::sleep_for(std::chrono::seconds(seconds)); };
    hooks.installerRunning = isPackageInstallerRunning;
    hooks.updateDynamicServices = [&pelmoraPath] { updateDynamicServices(pelmoraPath); };
    registerServices(delay, retries, hooks);
    return 0;
}
