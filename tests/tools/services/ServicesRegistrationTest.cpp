#include "tools/services/RegistrationSettings.h"
#include "tools/services/ServicesRegistration.h"

#include <QDateTime>
#include <QStringList>
#include <gtest/gtest.h>

#include <deque>

TEST(RegistrationSettings, OnlyNumbersInRangeCount)
{
    struct Case {
        PlistValue value;
        unsigned delay;
        unsigned retries;
    };
    const Case cases[] = {
        {PlistValue(), 5, 1},
        {PlistValue(0), 5, 0},
        {PlistValue(1), 1, 1},
        {PlistValue(100), 100, 100},
        {PlistValue(101), 5, 1},
        {PlistValue(-1), 5, 1},
        {PlistValue(int64_t{1} << 32), 5, 1},
        {PlistValue(2.9), 2, 2},
        {PlistValue(0.5), 5, 0},
        {PlistValue(100.5), 100, 100},
        {PlistValue(true), 1, 1},
        {PlistValue("3"), 5, 1},
        {PlistValue(QDateTime::fromSecsSinceEpoch(3)), 5, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(registDelay(c.value), c.delay) << static_cast<int>(c.value.type()) << " " << c.value.toReal();
        EXPECT_EQ(registRetryCount(c.value), c.retries) << static_cast<int>(c.value.type()) << " " << c.value.toReal();
    }
}

namespace {

// Records what the run asks of the system; the installer answers follow a script.
struct ScriptedSystem {
    std::deque<bool> installerAnswers;
    QStringList events;

    RegistrationHooks hooks()
    {
        return {
            [this](unsigned s) { events << QStringLiteral("sleep %1").arg(s); },
            [this] {
                events << QStringLiteral("probe");
                if (installerAnswers.empty())
                    return false;
                const bool running = installerAnswers.front();
                installerAnswers.pop_front();
                return running;
            },
            [this] { events << QStringLiteral("register"); },
        };
    }
};

} // namespace

TEST(ServicesRegistration, RegistersAfterEachRetryAndAfterTheInstaller)
{
    struct Case {
        const char* name;
        unsigned delay;
        unsigned retries;
        std::deque<bool> installer;
        QStringList events;
    };
    const Case cases[] = {
        {"defaults", kDefaultRegistDelay, kDefaultRegistRetryCount, {},
         {"register", "sleep 5", "register", "probe"}},
        {"no retry", 5, 0, {}, {"register", "probe"}},
        {"three retries", 2, 3, {},
         {"register", "sleep 2", "register", "sleep 2", "register", "sleep 2", "register", "probe"}},
        {"installer running, running, gone", 5, 1, {true, true, false},
         {"register", "sleep 5", "register", "probe", "probe", "sleep 1", "probe", "sleep 5", "register"}},
        {"installer gone at the second test", 7, 0, {true, false},
         {"register", "probe", "probe", "sleep 7", "register"}},
    };
    for (const Case& c : cases) {
        ScriptedSystem system{c.installer, {}};
        registerServices(c.delay, c.retries, system.hooks());
        EXPECT_EQ(system.events, c.events) << c.name;
    }
}
