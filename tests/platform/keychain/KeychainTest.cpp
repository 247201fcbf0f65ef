// The stored login in a real Secret Service: saved, read, replaced and deleted; items of unusual
// shapes read without harm; nothing of the password in clear under the home folder; and with no
// Secret Service, a reported failure and nothing saved.
#include "plugin/Common/QDLKeyChain.h"
#include "platform/keychain/GenericPasswordStore.h"

#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace {

LoginInfo loginOf(const QString& user, const QString& password, const QString& token)
{
    LoginInfo info;
    info.setUserName(user);
    info.setPassword(password);
    info.setSecurityToken(token);
    return info;
}

int storedItems()
{
    std::vector<GenericPasswordItem> items;
    GenericPasswordStore::find(kQDLKeychainLabel, items);
    return int(items.size());
}

// Files under the home folder that hold `secret` as it stands (UTF-8 or UTF-16).
QStringList filesHolding(const QString& secret)
{
    const QByteArray utf8 = secret.toUtf8();
    const QByteArray utf16(reinterpret_cast<const char*>(secret.utf16()), secret.size() * 2);
    QStringList found;
    QDirIterator it(qEnvironmentVariable("HOME"), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            if (bytes.contains(utf8) || bytes.contains(utf16))
                found.append(file.fileName());
        }
    }
    return found;
}

class Keychain : public ::testing::Test {
protected:
    void SetUp() override { QDLKeyChain::DeleteKeychain(); }
    void TearDown() override { QDLKeyChain::DeleteKeychain(); }
};

TEST_F(Keychain, ALoginIsSavedReadReplacedAndDeleted)
{
    ASSERT_EQ(QDLKeyChain::SaveToKeychain(loginOf("  ann@example.com ", " pw with blanks ", "TOKEN")), 0);
    GetLoginInfoResult read = QDLKeyChain::GetFromKeychain();
    EXPECT_EQ(read.code(), 0);
    ASSERT_TRUE(read.loginInfo());
    EXPECT_EQ(read.loginInfo()->userName(), QString("ann@example.com"));
    EXPECT_EQ(read.loginInfo()->password(), QString(" pw with blanks "));
    EXPECT_EQ(read.loginInfo()->securityToken(), QString("TOKEN"));

    ASSERT_EQ(QDLKeyChain::SaveToKeychain(loginOf("bob@example.com", "second", QString())), 0);
    ASSERT_EQ(QDLKeyChain::SaveToKeychain(loginOf("bob@example.com", "third", "")), 0);
    EXPECT_EQ(storedItems(), 1);
    read = QDLKeyChain::GetFromKeychain();
    ASSERT_TRUE(read.loginInfo());
    EXPECT_EQ(read.loginInfo()->userName(), QString("bob@example.com"));
    EXPECT_EQ(read.loginInfo()->password(), QString("third"));
    EXPECT_EQ(read.loginInfo()->securityToken(), QString(""));
    EXPECT_FALSE(read.loginInfo()->securityToken().isNull());

    QDLKeyChain::DeleteKeychain();
    read = QDLKeyChain::GetFromKeychain();
    EXPECT_EQ(read.code(), 0);
    EXPECT_FALSE(read.loginInfo());
}

TEST_F(Keychain, ATabInAPasswordOrTokenIsRefusedAndTheSavedLoginStays)
{
    ASSERT_EQ(QDLKeyChain::SaveToKeychain(loginOf("ann", QString(), "tok")), 0);
    EXPECT_EQ(QDLKeyChain::SaveToKeychain(loginOf("ann", "a\tb", "")), kQDLKeychainParam);
    EXPECT_EQ(QDLKeyChain::SaveToKeychain(loginOf("ann", "ab", "t\tk")), kQDLKeychainParam);
    const GetLoginInfoResult read = QDLKeyChain::GetFromKeychain();
    ASSERT_TRUE(read.loginInfo());
    EXPECT_EQ(read.loginInfo()->password(), QString(""));
    EXPECT_EQ(read.loginInfo()->securityToken(), QString("tok"));
}

TEST_F(Keychain, ItemsOfUnusualShapeAreReadWithoutHarm)
{
    struct Case {
        QString account;
        QByteArray data;
        QString user;
        QString password;  // null: none read
    } const cases[] = {
        {"ann20261209120000", "no tab here", "ann", QString()},
        {"short", "pw\ttok", "short", "pw"},
        {"20261209120000", "pw\ttok\textra", "", "pw"},
        {"bin20261209120000", QByteArray("\xff\xfe\x00\x01\t\x80", 6), "bin", QString()},
        {"nul20261209120000", QByteArray("p\0w\ttok", 7), "nul", QString::fromUtf8("p\0w", 3)},
    };
    for (const auto& c : cases) {
        QDLKeyChain::DeleteKeychain();
        ASSERT_EQ(GenericPasswordStore::add({kQDLKeychainLabel, c.account, c.data}), 0);
        const GetLoginInfoResult read = QDLKeyChain::GetFromKeychain();
        EXPECT_EQ(read.code(), 0);
        ASSERT_TRUE(read.loginInfo()) << c.account.toStdString();
        EXPECT_EQ(read.loginInfo()->userName(), c.user);
        EXPECT_EQ(read.loginInfo()->password(), c.password) << c.account.toStdString();
        EXPECT_EQ(read.loginInfo()->password().isNull(), c.password.isNull());
    }
}

TEST_F(Keychain, DeletingTheLoginLeavesOtherItemsAlone)
{
    ASSERT_EQ(GenericPasswordStore::add({"Other", "someone", "kept"}), 0);
    ASSERT_EQ(QDLKeyChain::SaveToKeychain(loginOf("ann", "pw", "")), 0);
    QDLKeyChain::DeleteKeychain();
    std::vector<GenericPasswordItem> others;
    EXPECT_EQ(GenericPasswordStore::find("Other", others), 0);
    ASSERT_EQ(others.size(), 1u);
    EXPECT_EQ(others[0].data, QByteArray("kept"));
    EXPECT_EQ(GenericPasswordStore::remove("Other"), 0);
}

TEST_F(Keychain, NothingOfThePasswordIsWrittenInClear)
{
    const QString password = QStringLiteral("Unmistakable-Pa55word-7f3c");
    const QString token = QStringLiteral("Distinct-Token-91ab");
    ASSERT_EQ(QDLKeyChain::SaveToKeychain(loginOf("ann", password, token)), 0);
    ASSERT_TRUE(QDLKeyChain::GetFromKeychain().loginInfo());
    EXPECT_EQ(filesHolding(password), QStringList());
    EXPECT_EQ(filesHolding(token), QStringList());
}

TEST(NoSecretService, TheFailureIsReportedAndNothingIsSaved)
{
    const QString password = QStringLiteral("Unmistakable-Pa55word-7f3c");
    EXPECT_EQ(QDLKeyChain::SaveToKeychain(loginOf("ann", password, "")), kKeychainNotAvailable);
    const GetLoginInfoResult read = QDLKeyChain::GetFromKeychain();
    EXPECT_EQ(read.code(), kKeychainNotAvailable);
    EXPECT_FALSE(read.loginInfo());
    QDLKeyChain::DeleteKeychain();
    EXPECT_EQ(filesHolding(password), QStringList());
}

}
