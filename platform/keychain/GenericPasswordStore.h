// Generic-password items in the desktop's Secret Service (GNOME Keyring, KWallet, KeePassXC), which
// keeps them encrypted at rest. An item is found by its label and carries an account text and its
// data bytes. There is no fallback: when no Secret Service answers, every call fails with
// kKeychainNotAvailable and nothing is written anywhere.
//
// Statuses are the keychain's own numbers, so callers keep their log lines and checks.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

inline constexpr int kKeychainSuccess = 0;
inline constexpr int kKeychainItemNotFound = -25300;
inline constexpr int kKeychainNotAvailable = -25291;
// The service answered but refused (a locked collection, a dismissed prompt).
inline constexpr int kKeychainAuthFailed = -25293;

struct GenericPasswordItem {
    QString label;
    QString account;
    QByteArray data;
};

class GenericPasswordStore {
public:
    // Every item with `label`, in the service's order; kKeychainItemNotFound when there is none.
    static int find(const QString& label, std::vector<GenericPasswordItem>& items);
    // Stores the item in the default collection; an item with the same label and account is replaced.
    static int add(const GenericPasswordItem& item);
    // Removes the items with `label` (and `account` when it is not null); none found is success.
    static int remove(const QString& label, const QString& account = QString());
};
