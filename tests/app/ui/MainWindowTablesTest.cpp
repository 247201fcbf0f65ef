// The small tables of the main window: the search menu, the photo applications and the link
// message mark-up.
#include "app/ui/logic/LinkMessageMarkup.h"
#include "app/ui/logic/PhotoApplications.h"
#include "app/ui/logic/SearchMenuItems.h"

#include <gtest/gtest.h>

TEST(SearchMenuItems, AllFirstThenOneItemPerShownColumn)
{
    auto tags = [](int mask) {
        QList<int> list;
        for (const auto& entry : SearchMenuItems::creatSearchMenu(mask))
            list.append(entry.tag);
        return list;
    };
    EXPECT_EQ(tags(0), QList<int>{16});
    EXPECT_EQ(tags(0xFFFF), (QList<int>{16, 17, 19, 18, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 15}));
    EXPECT_EQ(tags(0xFFF5), (QList<int>{16, 17, 18, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 15}));
    const auto entries = SearchMenuItems::creatSearchMenu(0x4000);
    EXPECT_TRUE(entries[0].checked);
    EXPECT_FALSE(entries[1].checked);
    EXPECT_STREQ(entries[1].titleKey, "IDS_MEMO");
}

TEST(PhotoApplications, DetectionTable)
{
    struct Case {
        bool flag;
        int state;
        bool photos, iphoto;
        PhotoApplications::Choice expected;
    };
    const Case cases[] = {
        {true, 0, false, false, {0, 0, false}},
        {false, 0, true, true, {3, 1, false}},
        {true, 0, true, true, {3, 2, true}},
        {true, 1, false, true, {1, 2, false}},
        {true, 2, true, false, {2, 1, false}},
        {false, 1, true, false, {2, 1, false}},
    };
    for (const Case& c : cases) {
        const auto choice = PhotoApplications::detect(c.flag, c.state, c.photos, c.iphoto);
        EXPECT_EQ(choice.installed, c.expected.installed) << c.flag << c.state << c.photos << c.iphoto;
        EXPECT_EQ(choice.state, c.expected.state) << c.flag << c.state << c.photos << c.iphoto;
        EXPECT_EQ(choice.autoRegister, c.expected.autoRegister) << c.flag << c.state << c.photos << c.iphoto;
    }
}

TEST(LinkMessageMarkup, ParsesLinksAndLeavesEverythingElseAsWritten)
{
    struct Case {
        const char* message;
        const char* text;
        QStringList keys;
        QStringList anchors;
    };
    const Case cases[] = {
        {"See <help anchor=\"db\">the manual</help> now.", "See the manual now.", {"4/10"}, {"db"}},
        {"<  help  \tanchor = \"a b\" >x< / help >", "x", {"0/1"}, {"a b"}},
        {"<helpanchor=\"db\">x</help>", "<helpanchor=\"db\">x</help>", {}, {}},
        {"1 < 2 and <help anchor=\"a\">x < y</help>!", "1 < 2 and x < y!", {"10/5"}, {"a"}},
        {"<help anchor=\"a\">no end", "<help anchor=\"a\">no end", {}, {}},
        {"<help anchor=\"a\"></help>", "<help anchor=\"a\"></help>", {}, {}},
        {"<help anchor=\"a\">one</help> and <help anchor=\"\">two</help>", "one and two", {"0/3", "8/3"}, {"a", ""}},
    };
    for (const Case& c : cases) {
        const auto parsed = LinkMessageMarkup::parseMessageString(QString::fromUtf8(c.message));
        EXPECT_EQ(parsed.text, QString::fromUtf8(c.text)) << c.message;
        QStringList keys, anchors;
        for (const auto& link : parsed.links) {
            keys << link.key();
            anchors << link.anchor;
        }
        EXPECT_EQ(keys, c.keys) << c.message;
        EXPECT_EQ(anchors, c.anchors) << c.message;
    }
}

TEST(LinkMessageMarkup, DefaultButtonFallsBackToTheFirst)
{
    EXPECT_EQ(LinkMessageMarkup::defaultButton(2, true, false), 0);
    EXPECT_EQ(LinkMessageMarkup::defaultButton(2, true, true), 2);
    EXPECT_EQ(LinkMessageMarkup::defaultButton(1, false, false), 0);
    EXPECT_EQ(LinkMessageMarkup::defaultButton(1, true, false), 1);
    EXPECT_EQ(LinkMessageMarkup::defaultButton(7, true, true), 0);
}
