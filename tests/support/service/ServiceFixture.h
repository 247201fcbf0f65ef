// A fake service on loopback and the state of one plug-in call pointed at it.
#pragma once

#include "plugin/Common/GlobalData.h"
#include "tests/support/crm/FakeCrmService.h"
#include "platform/foundation/NotificationCenter.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <optional>

class ServiceFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    LoginInfo login(const QString& password = "secret", const QString& token = QString()) const;
    // Logs in with the handler, as the windows do.
    void logIn();
    // The operations the fake received, in order ("login", "query", "queryMore", …).
    QStringList journal() const;
    QString contact(const QString& lastName);

    FakeCrmService fake;
    GlobalData global;
};

// Waits for one notification of `name` from `object`, posted on the main thread.
class NotificationWaiter {
public:
    NotificationWaiter(const char* name, const void* object);
    ~NotificationWaiter();
    // The notification; none when nothing came within the safety time-out.
    std::optional<Notification> wait();
    int count() const { return m_count; }

private:
    std::optional<Notification> m_notification;
    int m_count = 0;
};
