// The stored service login: one item labelled "Quendrel" in the desktop's Secret Service. Its
// account is the user name followed by the time of saving ("%Y%m%d%H%M%S"); its data is the
// password, a TAB and the security token, as UTF-8. Without a Secret Service nothing is saved.
#pragma once

#include "plugin/Common/GetLoginInfoResult.h"

inline constexpr const char* kQDLKeychainLabel = "Quendrel";
// A password or token with a TAB cannot be stored: it would split into the wrong fields.
inline constexpr int kQDLKeychainParam = -50;

class QDLKeyChain {
public:
    // 0 when saved; otherwise the status of the failing step, and the earlier item stays.
    static int SaveToKeychain(const LoginInfo& info);
    // Code 0 with the login, code 0 without one when nothing is stored, or the failing status.
    static GetLoginInfoResult GetFromKeychain();
    static void DeleteKeychain();
    // Passwords and tokens may not hold a TAB.
    static bool isStorable(const LoginInfo& info);
};
