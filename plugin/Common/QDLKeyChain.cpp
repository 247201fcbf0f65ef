#include "plugin/Common/QDLKeyChain.h"

#include "plugin/Common/LogManager.h"
#include "platform/keychain/GenericPasswordStore.h"

#include <QDateTime>

namespace {

constexpr int kStampLength = 14;

QString label()
{
    return QString::fromLatin1(kQDLKeychainLabel);
}

void logStatus(int level, const char* line, int status)
{
    LogManager::LogOutput(level, QString::fromLatin1(line).arg(status));
}

// The saving time at the end of an account text.
QString stampOf(const QString& account)
{
    return account.size() < kStampLength ? QString() : account.right(kStampLength);
}

LoginInfo loginOf(const GenericPasswordItem& item)
{
    LoginInfo info;
    info.setUserName(item.account.size() < kStampLength ? item.account : item.account.chopped(kStampLength));
    const QString data = QString::fromUtf8(item.data);
    if (data.toUtf8() != item.data) {
        LogManager::LogOutput(kLogError, QStringLiteral("[GetFromKeychain]:The item's data is not text"));
        return info;
    }
    const QStringList pieces = data.split(QLatin1Char('\t'));
    if (pieces.size() >= 2) {
        info.setPassword(pieces[0]);
        info.setSecurityToken(pieces[1]);
    }
    return info;
}

}

bool QDLKeyChain::isStorable(const LoginInfo& info)
{
    return !info.password().contains(QLatin1Char('\t')) && !info.securityToken().contains(QLatin1Char('\t'));
}

int QDLKeyChain::SaveToKeychain(const LoginInfo& info)
{
    if (!isStorable(info)) {
        logStatus(kLogError, "[SaveToKeychain]:A password or token holds a TAB. code = [%1]", kQDLKeychainParam);
        return kQDLKeychainParam;
    }
    GenericPasswordItem item;
    item.label = label();
    item.account = info.userName().trimmed() + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
    item.data = (info.password() + QLatin1Char('\t') + info.securityToken()).toUtf8();
    // The new item goes in first, so a failure leaves the earlier login in place.
    const int status = GenericPasswordStore::add(item);
    if (status != kKeychainSuccess) {
        logStatus(kLogError, "[SaveToKeychain]:SecKeychainItemCreateFromContent failed. code = [%1]", status);
        return status;
    }
    std::vector<GenericPasswordItem> stored;
    if (GenericPasswordStore::find(label(), stored) == kKeychainSuccess) {
        for (const GenericPasswordItem& old : stored) {
            if (old.account == item.account)
                continue;
            const int removed = GenericPasswordStore::remove(label(), old.account);
            if (removed != kKeychainSuccess)
                logStatus(kLogError, "[deleteKeychain]:SecKeychainItemDelete failed. code = [%1]", removed);
        }
    }
    return kKeychainSuccess;
}

GetLoginInfoResult QDLKeyChain::GetFromKeychain()
{
    GetLoginInfoResult result;
    std::vector<GenericPasswordItem> items;
    const int status = GenericPasswordStore::find(label(), items);
    if (status == kKeychainItemNotFound)
        return result;
    if (status != kKeychainSuccess) {
        logStatus(kLogError, "[GetFromKeychain]:SecKeychainSearchCopyNext failed. code = [%1]", status);
        result.setCode(status);
        return result;
    }
    // Only one item is kept; should another program have added more, the newest counts.
    const auto newest = std::max_element(items.begin(), items.end(),
        [](const GenericPasswordItem& a, const GenericPasswordItem& b) { return stampOf(a.account) < stampOf(b.account); });
    result.setLoginInfo(loginOf(*newest));
    return result;
}

void QDLKeyChain::DeleteKeychain()
{
    const int status = GenericPasswordStore::remove(label());
    if (status != kKeychainSuccess)
        logStatus(kLogError, "[deleteKeychain]:SecKeychainItemDelete failed. code = [%1]", status);
}
