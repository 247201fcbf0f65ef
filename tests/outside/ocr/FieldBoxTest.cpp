// One field read from a box drawn round it: what the engine reads inside the box (the field's
// line, its printed label, a sliver of the line above or below cut by the box's edge) and the
// value stored for the field.
#include "outside/ocr/CardFields.h"
#include "platform/events/OcrProtocol.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Read {
    const char16_t* text;
    int height;
    int confidence;
};

std::vector<RecognizedLine> boxOf(std::initializer_list<Read> reads)
{
    std::vector<RecognizedLine> lines;
    int top = 5;
    for (const Read& r : reads) {
        lines.push_back({QString::fromUtf16(r.text), 10, top, 700, top + r.height - 1, r.confidence});
        top += r.height + 6;
    }
    return lines;
}

TEST(FieldBox, TheValueHasTheFieldsShape)
{
    const struct {
        int tag;
        std::initializer_list<Read> box;
        const char16_t* value;
    } cases[] = {
        // E-mail: the printed label and a sliver of the line above go.
        {27, {{u"a he, a AS", 11, 31}, {u"E-MAIL andrew@crestviewpartners.io", 30, 92}}, u"andrew@crestviewpartners.io"},
        {27, {{u"a he, a AS andrew@crestviewpartners.io", 30, 70}}, u"andrew@crestviewpartners.io"},
        {27, {{u"Mail: s. yamaguchi@hinode-foods.co. jp", 30, 88}}, u"s.yamaguchi@hinode-foods.co.jp"},
        // Web: a social network's address beside the web page is not taken for it.
        {29, {{u"linkedin.com/in/anna-lopez", 30, 90}, {u"Web www.acme-widgets.com", 30, 90}}, u"www.acme-widgets.com"},
        {29, {{u"URL: https://acme.io", 30, 90}, {u"~ ‘", 8, 20}}, u"https://acme.io"},
        // Numbers: the one of the box's kind, its label left out, its extension kept.
        {23, {{u"Tel: +1 217 555 0134", 30, 90}, {u"Fax: +1 217 555 0135", 30, 90}}, u"+1 217 555 0134"},
        {24, {{u"Tel: +1 217 555 0134", 30, 90}, {u"Fax: +1 217 555 0135", 30, 90}}, u"+1 217 555 0135"},
        {33, {{u"Senior Engin", 9, 40}, {u"Móvil 612 345 678", 30, 90}}, u"612 345 678"},
        {23, {{u"© 0161 496 0000 ext. 204", 30, 85}}, u"0161 496 0000 ext. 204"},
        {23, {{u"Mobile 07700 900123", 30, 90}}, u"07700 900123"},
        // Postal codes of the countries, with the town or address beside them left out.
        {25, {{u"〒100-0005 東京都千代田区丸の内1-1-1", 30, 90}}, u"100-0005"},
        {25, {{u"Sydney NSW 2000", 30, 90}}, u"2000"},
        {25, {{u"75008 Paris", 30, 90}}, u"75008"},
        {25, {{u"1000-001 Lisboa", 30, 90}}, u"1000-001"},
        {25, {{u"London SW1A 1AA", 30, 90}}, u"SW1A 1AA"},
        // Name, company, title, department: the largest line, the surest among lines of its size.
        {21, {{u"Anna Lopez", 60, 93}, {u"Senior Engineer", 30, 95}}, u"Anna Lopez"},
        {21, {{u"- ~ ,", 12, 20}, {u"Anna Lopez", 60, 93}}, u"Anna Lopez"},
        {30, {{u"Acme Widgets Inc.", 40, 90}, {u"Anna Lo", 14, 35}}, u"Acme Widgets Inc."},
        {22, {{u"Senior Engineer", 30, 70}, {u"Senior Engineer", 29, 95}}, u"Senior Engineer"},
        // The address keeps its lines, without its label and slivers.
        {26,
         {{u"Address: 1 Main Street", 30, 90}, {u"Springfield, IL 62701", 30, 90}, {u"‘ . ~", 10, 20}},
         u"1 Main Street\nSpringfield, IL 62701"},
        // Nothing of the field's shape: the box's main line as read.
        {27, {{u"andrew at crestview", 30, 60}}, u"andrew at crestview"},
        // A memo box keeps all it reads.
        {32, {{u"Met at the fair", 30, 90}, {u"call in May", 30, 90}}, u"Met at the fair call in May"},
    };
    for (const auto& c : cases) {
        const ResultSlots f = fieldTagSlots(boxOf(c.box), c.tag);
        const size_t slot = size_t(ocr::slotOfTag(c.tag));
        EXPECT_EQ(f[slot].text, QString::fromUtf16(c.value)) << c.tag << " " << QString::fromUtf16(c.box.begin()->text).toStdString();
        EXPECT_EQ(std::count_if(f.begin(), f.end(), [](const SlotFill& s) { return s.filled; }), 1) << "only the box's field";
    }
}

TEST(FieldBox, TheStoredBoxIsThatOfTheValuesLines)
{
    const auto mail = boxOf({{u"a he, a AS", 11, 31}, {u"E-MAIL andrew@crestviewpartners.io", 30, 92}});
    const SlotFill m = fieldTagSlots(mail, 27)[23];
    EXPECT_EQ(m.top, mail[1].top);
    EXPECT_EQ(m.bottom, mail[1].bottom);

    const auto address = boxOf({{u"1 Main Street", 30, 90}, {u"Springfield", 30, 90}, {u"‘ . ~", 10, 20}});
    const SlotFill a = fieldTagSlots(address, 26)[21];
    EXPECT_EQ(a.text, u"1 Main Street\nSpringfield"_s);
    EXPECT_EQ(a.top, address[0].top);
    EXPECT_EQ(a.bottom, address[1].bottom);

    EXPECT_FALSE(fieldTagSlots(address, 28)[0].filled);
    EXPECT_FALSE(fieldTagSlots({}, 27)[23].filled);
}

} // namespace
