// Login and logout through the handler: the session kept, the token joined to the password, the
// codes of refused logins and the asynchronous login's completion.
#include "plugin/DataAccess/ProviderNotifications.h"
#include "plugin/Logic/LoginInfoHandler.h"
#include "tests/support/service/ServiceFixture.h"

namespace {

using LoginInfoHandlerTest = ServiceFixture;

TEST_F(LoginInfoHandlerTest, ALoginKeepsTheSessionItsServerAndTheLoginUsed)
{
    LoginInfoHandler handler(global);
    ASSERT_EQ(handler.Login(login()), 0);
    EXPECT_EQ(global.sessionId(), fake.sessionId());
    EXPECT_EQ(global.serverUrl(), fake.baseUrl() + fake.serverPath());
    EXPECT_EQ(global.UserFullName(), QString("Test User"));
    ASSERT_TRUE(global.UserLoginInfo());
    EXPECT_EQ(global.UserLoginInfo()->password(), QString("secret"));
    EXPECT_GE(global.loginCostTime(), 0.0);

    EXPECT_EQ(handler.LogOut(), 0);
    EXPECT_EQ(journal(), (QStringList{"login", "logout"}));
    EXPECT_EQ(global.ReturnCode(), 0);
}

TEST_F(LoginInfoHandlerTest, TheSecurityTokenFollowsThePasswordWhenThereIsOne)
{
    fake.setCredentials("user@example.com", "secretTOKEN");
    LoginInfoHandler handler(global);
    EXPECT_EQ(handler.Login(login("secret", "TOKEN")), 0);
    EXPECT_EQ(handler.Login(login("secretTOKEN", "")), 0);
    EXPECT_EQ(handler.Login(login("secretTOKEN", QString())), 0);
    EXPECT_EQ(handler.Login(login("secret", QString())), 10103);
    EXPECT_EQ(global.ReturnCode(), 20000);
}

TEST_F(LoginInfoHandlerTest, ARefusedLoginKeepsNoSessionAndAnExpiredPasswordStillLogsIn)
{
    LoginInfoHandler handler(global);
    EXPECT_EQ(handler.Login(login("wrong")), 10103);
    EXPECT_FALSE(global.isLoggedIn());
    EXPECT_FALSE(global.UserLoginInfo());

    fake.setPasswordExpired(true);
    EXPECT_EQ(handler.Login(login()), 10104);
    EXPECT_TRUE(global.isLoggedIn());
    EXPECT_EQ(global.ReturnCode(), 20000);
}

TEST_F(LoginInfoHandlerTest, TheAsynchronousLoginPostsItsCode)
{
    LoginInfoHandler handler(global);
    NotificationWaiter done(kQDLEVENTLOLOGINCOMPLETED, &handler);
    handler.LoginAsync(login());
    const auto notification = done.wait();
    ASSERT_TRUE(notification);
    EXPECT_EQ(notification->userInfo.value(kKEY_CODE).toString(), QString("0"));
    EXPECT_TRUE(global.isLoggedIn());

    NotificationWaiter refused(kQDLEVENTLOLOGINCOMPLETED, &handler);
    handler.LoginAsync(login("wrong"));
    ASSERT_TRUE(refused.wait());
    EXPECT_EQ(refused.wait()->userInfo.value(kKEY_CODE).toString(), QString("10103"));
    ASSERT_TRUE(global.UserLoginInfo());
    EXPECT_EQ(global.UserLoginInfo()->password(), QString("wrong")) << "kept whatever the outcome";
}

}
