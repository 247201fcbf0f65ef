// Text helpers, the plug-in's own string table and the file helpers.
#include "plugin/Common/CommonFuc.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char* input;
    const char* expected;
};

TEST(CommonFuc, SOQLLiteralsKeepTheTextAndLikePatternsMatchWildcardsAsThemselves)
{
    struct Case {
        const char* input;
        const char* literal;
        const char* like;
    } const cases[] = {
        {"O'Neil 100%", "O\\'Neil 100%", "O\\'Neil 100\\%"},
        {"\\", "\\\\", "\\\\"},
        {"\\'", "\\\\\\'", "\\\\\\'"},
        {"a_b", "a_b", "a\\_b"},
        {"line\nbreak\ttab", "line\\nbreak\\ttab", "line\\nbreak\\ttab"},
        {"plain", "plain", "plain"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommonFuc::ConvertSpecialCharInSOQL(QString::fromUtf8(c.input)), QString::fromUtf8(c.literal)) << c.input;
        EXPECT_EQ(CommonFuc::ConvertSpecialCharInSOQLLike(QString::fromUtf8(c.input)), QString::fromUtf8(c.like)) << c.input;
    }
}

TEST(CommonFuc, GetDomainTakesThePartAfterTheOnlyAt)
{
    const TextCase cases[] = {
        {"ann@example.com", "example.com"},
        {"ann@", ""},
        {"a@b@example.com", "a@b@example.com"},
        {"no address", "no address"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommonFuc::GetDomain(QString::fromUtf8(c.input)), QString::fromUtf8(c.expected)) << c.input;
}

TEST(CommonFuc, FirstNameTakesTheMiddleNameAfterABlank)
{
    CardInfo card;
    EXPECT_EQ(CommonFuc::GetFirstName(card), QString(""));
    card.MiddleName = "Q";
    EXPECT_EQ(CommonFuc::GetFirstName(card), QString("Q"));
    card.FirstName = "John";
    EXPECT_EQ(CommonFuc::GetFirstName(card), QString("John Q"));
    card.MiddleName.clear();
    EXPECT_EQ(CommonFuc::GetFirstName(card), QString("John"));
}

TEST(CommonFuc, StrCompareTreatsNullAndEmptyAlike)
{
    EXPECT_TRUE(CommonFuc::StrCompare(QString(), QString(""), false));
    EXPECT_FALSE(CommonFuc::StrCompare(QString(), QString("a"), true));
    EXPECT_TRUE(CommonFuc::StrCompare("Ann", "aNN", true));
    EXPECT_FALSE(CommonFuc::StrCompare("Ann", "aNN", false));
    EXPECT_EQ(CommonFuc::ConvertDoubleQuote("say \"hi\""), QString("say \"\"hi\"\""));
}

TEST(CommonFuc, StringsComeFromThePluginsOwnTable)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("en");
    QFile table(dir.filePath("en/Localizable.plist"));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    table.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                "<key>LTL99016</key><string>, </string><key>A</key><string>first</string>"
                "<key>B</key><string></string><key>C</key><string>third</string></dict></plist>");
    table.close();

    CommonFuc::setBundleResourcePath(dir.path());
    EXPECT_EQ(CommonFuc::GetLocalStringWithKey("A"), QString("first"));
    EXPECT_EQ(CommonFuc::GetLocalStringWithKey("MISSING"), QString("MISSING"));
    EXPECT_EQ(CommonFuc::SpliceWarnMsg({"A", "B", "C"}), QString("first, third"));
    EXPECT_EQ(CommonFuc::SpliceWarnMsg({}), QString(""));

    CommonFuc::setBundleResourcePath(dir.filePath("gone"));
    EXPECT_EQ(CommonFuc::GetLocalStringWithKey("A"), QString(""));
    CommonFuc::setBundleResourcePath(QString());
}

TEST(CommonFuc, DeleteFileAtPathRemovesAFolderButNotWhatALinkPointsTo)
{
    QTemporaryDir dir;
    const QString keep = dir.filePath("keep");
    const QString folder = dir.filePath("folder");
    ASSERT_TRUE(QDir().mkpath(keep));
    ASSERT_TRUE(QDir().mkpath(folder + "/inner"));
    QFile(keep + "/precious").open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(keep, folder + "/inner/link"));

    EXPECT_TRUE(CommonFuc::DeleteFileAtPath(folder));
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QFileInfo::exists(keep + "/precious"));
    EXPECT_TRUE(CommonFuc::DeleteFileAtPath(folder));
    EXPECT_TRUE(CommonFuc::DeleteFileAtPath(QString()));

    EXPECT_FALSE(CommonFuc::CreatePath(QString()));
    EXPECT_TRUE(CommonFuc::CreatePath(dir.filePath("a/b/c")));
    EXPECT_TRUE(QFileInfo(dir.filePath("a/b/c")).isDir());
}

TEST(CommonFuc, AlertShowsAMessageWithFormatSignsAsItStands)
{
    ScriptedMessagePresenter presenter;
    CommonFuc::ShowQDLAlertMSG("Error", "Field %@ at %i%% failed", nullptr);
    CommonFuc::ShowQDLAlertMSG("Error", QString(), nullptr);
    ASSERT_EQ(presenter.shown().size(), 1);
    EXPECT_EQ(presenter.shown()[0].request.title, QString("Pelmora"));
    EXPECT_EQ(presenter.shown()[0].request.informativeText, QString("Field %@ at %i%% failed"));
}

}
