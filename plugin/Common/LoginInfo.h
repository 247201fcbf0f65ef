// The service login: user name, password and security token; a null text is an absent value.
#pragma once

#include <QString>

class LoginInfo {
public:
    QString userName() const { return m_userName; }
    QString password() const { return m_password; }
    QString securityToken() const { return m_securityToken; }
    void setUserName(const QString& name) { m_userName = name; }
    void setPassword(const QString& password) { m_password = password; }
    void setSecurityToken(const QString& token) { m_securityToken = token; }

private:
    QString m_userName;
    QString m_password;
    QString m_securityToken;
};
