#include "tools/services/ServicesRegistration.h"

void registerServices(unsigned delay, unsigned retries, const RegistrationHooks& hooks)
{
    hooks.updateDynamicServices();
    for (unsigned i = 0; i < retries; ++i) {
        hooks.sleep(delay);
        hooks.updateDynamicServices();
    }
    // What an installation puts in place is registered once it has finished.
    if (!hooks.installerRunning())
        return;
    while (hooks.installerRunning())
        hooks.sleep(kInstallerPollSeconds);
    hooks.sleep(delay);
    hooks.updateDynamicServices();
}
