// What reading the stored login gives: the login (none when nothing is stored) and the keychain
// status of the failing step (0 when the read went through).
#pragma once

#include "plugin/Common/LoginInfo.h"

#include <optional>

class GetLoginInfoResult {
public:
    const std::optional<LoginInfo>& loginInfo() const { return m_loginInfo; }
    void setLoginInfo(const std::optional<LoginInfo>& info) { m_loginInfo = info; }
    int code() const { return m_code; }
    void setCode(int code) { m_code = code; }

private:
    std::optional<LoginInfo> m_loginInfo;
    int m_code = 0;
};
