// A test that runs its body in other system time zones: the C library and Qt read the zone given
// to use() at once, and the process's own zone is put back afterwards (unset if it was).
#pragma once

#include <QByteArray>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

class OtherZone : public ::testing::Test {
protected:
    QByteArray saved = qgetenv("TZ");

    void use(const char* zone)
    {
        setenv("TZ", zone, 1);
        tzset();
    }
    void TearDown() override
    {
        if (saved.isNull())
            unsetenv("TZ");
        else
            setenv("TZ", saved.constData(), 1);
        tzset();
    }
};
