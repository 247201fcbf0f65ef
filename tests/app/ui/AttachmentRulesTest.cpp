// The attachment rules without a window: names a file may carry, the card's limit, the items of
// both attachment menus and the drops the list takes.
#include "app/ui/logic/AttachmentRules.h"

#include <gtest/gtest.h>

using namespace AttachmentRules;

TEST(AttachmentRules, NamesAndLimit)
{
    const std::pair<const char*, bool> names[] = {
        {"notes.txt", true}, {"a plan é.pdf", true}, {"report.final.pdf", true}, {"..", false},   {".hidden", false}, {"..name", false},
        {"a:b", false},      {"a/b", false},         {"trailing.", true},        {" lead", true},
    };
    for (const auto& [name, acceptable] : names)
        EXPECT_EQ(isAcceptableName(QString::fromUtf8(name)), acceptable) << name;

    EXPECT_TRUE(fitsBeside(98, 2));
    EXPECT_FALSE(fitsBeside(98, 3));
    EXPECT_TRUE(fitsBeside(0, 100));
    EXPECT_FALSE(fitsBeside(100, 1));
}

TEST(AttachmentRules, MenuItems)
{
    struct Case {
        const char* when;
        State state;
        std::array<bool, 4> contextual;
        std::array<bool, 3> mainMenu;
    };
    auto state = [](int selected, bool listVisible = true) {
        State s;
        s.cardShown = true;
        s.listVisible = listVisible;
        s.selectedRows = selected;
        return s;
    };
    auto with = [](State s, auto change) {
        change(s);
        return s;
    };
    const Case cases[] = {
        {"no card", with(state(0), [](State& s) { s.cardShown = false; }), {false, false, false, false}, {false, false, false}},
        {"a card, no row", state(0), {true, false, false, false}, {true, false, false}},
        {"one row", state(1), {true, true, true, true}, {true, true, true}},
        {"two rows", state(2), {true, true, false, false}, {true, true, false}},
        {"list hidden", state(1, false), {true, true, true, true}, {true, false, false}},
        {"list hidden, no card",
         with(state(0, false), [](State& s) { s.cardShown = false; }),
         {false, false, false, false},
         {false, false, false}},
        {"read-only database", with(state(1), [](State& s) { s.readOnly = true; }), {}, {}},
        {"a sheet", with(state(1), [](State& s) { s.sheetAttached = true; }), {}, {}},
        {"a modal window", with(state(1), [](State& s) { s.modalWindow = true; }), {true, true, true, true}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(contextualMenuItems(c.state), c.contextual) << c.when;
        EXPECT_EQ(mainMenuItems(c.state), c.mainMenu) << c.when;
    }
}

TEST(AttachmentRules, Drops)
{
    State shown;
    shown.cardShown = true;
    Drop files;
    files.hasFiles = true;
    files.listed = 99;
    EXPECT_TRUE(offersCopy(shown, files));

    struct Case {
        const char* when;
        void (*change)(State&, Drop&);
    };
    const Case refused[] = {
        {"read-only database", [](State& s, Drop&) { s.readOnly = true; }},
        {"from inside the application", [](State&, Drop& d) { d.fromInsideApplication = true; }},
        {"a modal window", [](State& s, Drop&) { s.modalWindow = true; }},
        {"a sheet", [](State& s, Drop&) { s.sheetAttached = true; }},
        {"no file names", [](State&, Drop& d) { d.hasFiles = false; }},
        {"100 attachments", [](State&, Drop& d) { d.listed = 100; }},
        {"no card", [](State& s, Drop&) { s.cardShown = false; }},
    };
    for (const Case& c : refused) {
        State s = shown;
        Drop d = files;
        c.change(s, d);
        EXPECT_FALSE(offersCopy(s, d)) << c.when;
    }
}
