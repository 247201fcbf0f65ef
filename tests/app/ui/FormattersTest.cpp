// The text formatters: typing checks, values and display texts, with surrogate pairs and
// every kind of line break.
#include "app/ui/logic/PLMatter.h"

#include <gtest/gtest.h>

namespace {

const QString kPair = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two UTF-16 units

struct Typing {
    const char* what;
    QString original;
    TextRange selected;
    QString inserted;  // typed or pasted over the selection
    bool valid;
    QString result;
    TextRange caret;
};

// Runs an insertion the way a text field proposes it.
template <class Matter>
void check(const Matter& matter, const Typing& t)
{
    QString partial = QString(t.original).replace(t.selected.location, t.selected.length, t.inserted);
    TextRange proposed{t.selected.location + int(t.inserted.size()), 0};
    const bool valid = matter.isPartialStringValid(&partial, &proposed, t.original, t.selected);
    EXPECT_EQ(valid, t.valid) << t.what;
    EXPECT_EQ(partial, t.result) << t.what;
    EXPECT_EQ(proposed, t.caret) << t.what;
}

} // namespace

TEST(PLMatter, TypingTable)
{
    const PLMatter five(5);
    const Typing cases[] = {
        {"fits", "ab", {2, 0}, "cd", true, "abcd", {4, 0}},
        {"paste longer than the room: what fits, caret behind it", "abc", {1, 0}, "XYZ", false, "aXYbc", {3, 0}},
        {"replacing a selection frees its room", "abcde", {1, 3}, "XYZ", true, "aXYZe", {4, 0}},
        {"full: nothing inserted", "abcde", {5, 0}, "x", false, "abcde", {5, 0}},
        {"a lone line break is refused", "ab", {1, 0}, "\n", false, "ab", {1, 0}},
        {"a lone U+2028 is refused", "ab", {1, 0}, QString(QChar(0x2028)), false, "ab", {1, 0}},
        {"a lone carriage return is refused", "ab", {2, 0}, "\r", false, "ab", {2, 0}},
        {"a pair is never split by the cut", "abc", {3, 0}, "x" + kPair, false, "abcx", {4, 0}},
        {"a pair that fits whole", "abc", {3, 0}, kPair, true, "abc" + kPair, {5, 0}},
    };
    for (const Typing& t : cases)
        check(five, t);

    // Deleting is always allowed, even in a value already longer than the maximum.
    QString partial = QStringLiteral("abcdef");
    TextRange caret{6, 0};
    EXPECT_TRUE(five.isPartialStringValid(&partial, &caret, QStringLiteral("abcdefg"), {7, 0}));
    EXPECT_EQ(partial, QStringLiteral("abcdef"));

    // Line breaks allowed, and no limit with a maximum of 0.
    check(PLMatter::initWithMaxLengthHasEnterKey(5), {"memo line break", "ab", {2, 0}, "\n", true, "ab\n", {3, 0}});
    check(PLMatter(), {"no limit", "", {0, 0}, QString(300, QLatin1Char('x')), true, QString(300, QLatin1Char('x')), {300, 0}});
}

TEST(PLInputTextMatter, TypedTextEndsBeforeItsFirstLineBreakOfAnyKind)
{
    const PLInputTextMatter sixteen(16);
    const Typing cases[] = {
        {"plain typing", "pw", {2, 0}, "d", true, "pwd", {3, 0}},
        {"two words and a line break: the first word", "", {0, 0}, "first\nsecond", false, "first", {5, 0}},
        {"carriage return before the line feed", "a", {1, 0}, "b\r\nc", false, "ab", {2, 0}},
        {"U+2028 before a later line feed", "", {0, 0}, QStringLiteral("x") + QChar(0x2028) + "y\nz", false, "x", {1, 0}},
        {"a lone line break inserts nothing", "ab", {1, 0}, "\n", false, "ab", {1, 0}},
        {"too long after the cut", "0123456789abcde", {15, 0}, "XY\nZ", false, "0123456789abcdeX", {16, 0}},
    };
    for (const Typing& t : cases)
        check(sixteen, t);
}

TEST(PLMatter, ValueAndDisplay)
{
    struct Case {
        QString string;
        bool valid;
        QString singleLine;
        QString multiLine;
    };
    const PLMatter single(8);
    const PLMatter multi = PLMatter::initWithMaxLengthHasEnterKey(8);
    const Case cases[] = {
        {"ab\ncd", true, "ab", "ab\ncd"},
        {"ab\rc\nd", true, "ab", "ab\rc\nd"},
        {QStringLiteral("a\nb") + QChar(0x2028), true, "a", QStringLiteral("a\nb") + QChar(0x2028)},
        {QStringLiteral("ab") + QChar(0x2028) + "c\nd", true, "ab", QStringLiteral("ab") + QChar(0x2028) + "c\nd"},
        {"123456789", false, {}, {}},
    };
    for (const Case& c : cases) {
        QString value = QStringLiteral("unchanged");
        EXPECT_EQ(single.getObjectValue(&value, c.string), c.valid) << c.string.toStdString();
        if (c.valid) {
            EXPECT_EQ(value, c.singleLine) << c.string.toStdString();
            ASSERT_TRUE(multi.getObjectValue(&value, c.string));
            EXPECT_EQ(value, c.multiLine);
        }
    }
    EXPECT_EQ(single.stringForObjectValue(QVariant()), QString());
    EXPECT_EQ(single.stringForObjectValue(42), QStringLiteral("42"));
    EXPECT_EQ(PLMatter(3).stringForObjectValue(QStringLiteral("ab") + kPair), QStringLiteral("ab"));
}

TEST(PLCardMatter, OneLineCutToTheMaximumWithoutSplittingAPair)
{
    struct Case {
        quint16 max;
        QVariant value;
        QString shown;
    };
    const Case cases[] = {
        {0, QVariant(), ""},
        {0, QStringLiteral("1-2 Main St\r\nFloor") + QChar(0x2028) + "3", "1-2 Main St  Floor 3"},
        {4, QStringLiteral("a\nbcdef"), "a bc"},
        {4, QStringLiteral("abc") + kPair, "abc"},
        {5, QStringLiteral("abc") + kPair, QStringLiteral("abc") + kPair},
        {0, 7, "7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PLCardMatter(c.max).stringForObjectValue(c.value), c.shown) << c.value.toString().toStdString();
}
