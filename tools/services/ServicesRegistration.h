// The registration run: register the Services at once, again after each of `retries` pauses of
// `delay` seconds, and, when a package installation is running, once more after it has ended
// and one further pause. The system is reached only through the hooks, so tests script it.
#pragma once

#include <functional>

struct RegistrationHooks {
    std::function<void(unsigned seconds)> sleep;
    std::function<bool()> installerRunning;
    std::function<void()> updateDynamicServices;
};

// Seconds between two tests of a running installation.
inline constexpr unsigned kInstallerPollSeconds = 1;

void registerServices(unsigned delay, unsigned retries, const RegistrationHooks& hooks);
