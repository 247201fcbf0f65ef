// The image pane's decisions without widgets: stored boxes by field tag, the double underline
// of the name under a Chinese interface, and the tool bits of several selected cards.
#include "app/ui/logic/ImagePaneState.h"
#include "app/ui/logic/ToolbarValidation.h"

#include <gtest/gtest.h>

using namespace ImagePaneState;

TEST(ImagePaneState, StoredBoxByTag)
{
    const CardDict card{{QStringLiteral("full_Name_XY"), QStringLiteral("10/40/100/20")},
                        {QStringLiteral("e_Mail_XY"), QStringLiteral("5/6/7/8")},
                        {QStringLiteral("memo_XY"), QStringLiteral("")},
                        {QStringLiteral("company_XY"), QStringLiteral("1/2/3")}};
    const struct {
        int tag;
        bool chinese;
        QRectF box;
    } cases[] = {
        {21, false, {10, 40, 100, 20}},
        {21, true, {10, 35, 100, 1}},   // drawn as a double underline below the name
        {27, true, {5, 6, 7, 8}},       // only the name changes
        {28, false, {}}, {20, false, {}}, {34, false, {}},
        {32, false, {}},                // empty
        {30, false, {}},                // malformed
        {33, false, {}},                // missing
    };
    for (const auto& c : cases)
        EXPECT_EQ(getBoxFromCardInfo(card, c.tag, c.chinese), c.box) << c.tag << (c.chinese ? " chinese" : "");
    EXPECT_TRUE(isChineseInterface(QStringLiteral("19")));
    EXPECT_TRUE(isChineseInterface(QStringLiteral("33")));
    EXPECT_FALSE(isChineseInterface(QStringLiteral("11")));
}

TEST(ImagePaneState, ToolBitsOfSeveralCards)
{
    using namespace ToolbarValidation;
    const auto exists = [](const QString& name) { return name == QLatin1String("here.pdf"); };
    const CardDict present{{QStringLiteral("face_Image_File"), QStringLiteral("here.pdf")}};
    const CardDict gone{{QStringLiteral("face_Image_File"), QStringLiteral("gone.pdf")}};
    CardDict busy = present;
    busy.insert(QStringLiteral("status"), 1);
    const struct {
        QList<CardDict> cards;
        int state, bits;
    } cases[] = {
        {{present}, 287, 287},             // one card keeps the shown card's state
        {{}, 0, 0},
        {{gone, gone}, 271, kRecognizable}, // the shown card's front decides
        {{gone, present}, 0, kRecognizable},
        {{gone, gone}, 0, 0},
        {{busy, gone}, 0, 0},               // a card being recognised does not count
    };
    for (const auto& c : cases)
        EXPECT_EQ(UptateToolBarState(c.cards, c.state, exists), c.bits) << c.cards.size() << " " << c.state;
    EXPECT_TRUE(someCardHasMail({gone, {{QStringLiteral("e_Mail"), QStringLiteral("a@b.example")}}}));
    EXPECT_FALSE(someCardHasMail({gone, {{QStringLiteral("e_Mail"), QString::fromUtf16(u" \n\u2028\t")}}}));
    EXPECT_EQ(maskedToolBarState(kRecognizable | kImageShown, true), kImageShown);
    EXPECT_EQ(maskedToolBarState(kRecognizable, true), kRecognizable);
}
