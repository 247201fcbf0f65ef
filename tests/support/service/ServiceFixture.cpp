#include "tests/support/service/ServiceFixture.h"

#include "plugin/Logic/LoginInfoHandler.h"
#include "plugin/SforceService/SforceServiceSvc.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

void ServiceFixture::SetUp()
{
    SforceServiceSvc::setLoginBaseUrl(fake.baseUrl());
    global.setSFTimeOut(10.0);
    global.setSFADDTimeOut(10.0);
}

void ServiceFixture::TearDown()
{
    SforceServiceSvc::setLoginBaseUrl(QString());
}

LoginInfo ServiceFixture::login(const QString& password, const QString& token) const
{
    LoginInfo info;
    info.setUserName("user@example.com");
    info.setPassword(password);
    info.setSecurityToken(token);
    return info;
}

void ServiceFixture::logIn()
{
    LoginInfoHandler handler(global);
    ASSERT_EQ(handler.Login(login()), 0);
}

QStringList ServiceFixture::journal() const
{
    QStringList operations;
    for (const FakeCrmRequest& request : fake.requests())
        operations.append(request.operation);
    return operations;
}

QString ServiceFixture::contact(const QString& lastName)
{
    return fake.addRecord("Contact", {FakeCrmService::field("LastName", lastName)});
}

NotificationWaiter::NotificationWaiter(const char* name, const void* object)
{
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(name),
        [this](const Notification& notification) {
            m_notification = notification;
            ++m_count;
        },
        object);
}

NotificationWaiter::~NotificationWaiter()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

std::optional<Notification> NotificationWaiter::wait()
{
    // A safety net only: the fake answers at once unless a test tells it otherwise.
    QDeadlineTimer deadline(30000);
    while (!m_notification && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    return m_notification;
}
