// One cell of the CSV and text files: what a value turns into between its separators.
#include "app/export/PLExporter.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportCell, ValuesBecomeCellsOfEitherFile)
{
    struct Case {
        QString value;
        QString csv;
        QString text;
    };
    const Case cases[] = {
        {"plain", "plain", "plain"},
        {"a\r\nb", "a b", "a b"},
        {QString("a\r") + QChar(1) + "\nb", "a b", "a b"}, // a dropped character does not part CR LF
        {"a\r\rb\n\rc", "a  b  c", "a  b  c"},
        {QString("say \"hi\""), "\"say \"\"hi\"\"\"", "say \"hi\""},
        {"a,b", "\"a,b\"", "a,b"},
        {"a\tb", "a\tb", "a b"},
        {QString(" \t x\ty ") + QChar(0x3000) + QChar(0xA0), QString(" \t x\ty ") + QChar(0x3000) + QChar(0xA0), "x y"},
        {QString(QChar(0xD800)) + "x" + QChar(0xDC00), QString(QChar(0xFFFD)) + "x" + QChar(0xFFFD),
         QString(QChar(0xFFFD)) + "x" + QChar(0xFFFD)},
        {QString::fromUtf8("😀,\"") + QChar(0xFFFE) + QChar(7), QString::fromUtf8("\"😀,\"\"\""), QString::fromUtf8("😀,\"")},
        {"\n", " ", ""},
        {"", "", ""},
        // Longer values are looked at eight characters at a time: what needs a rule is found in the
        // first eight, in a later eight and among the last few.
        {"a,bcdefghijklmnop", "\"a,bcdefghijklmnop\"", "a,bcdefghijklmnop"},
        {"sixteen chars ok", "sixteen chars ok", "sixteen chars ok"},
        {"0123456789abcdef\n", "0123456789abcdef ", "0123456789abcdef"},
        {"twelve chars\"", "\"twelve chars\"\"\"", "twelve chars\""},
        {QString("01234567") + QChar(0xDC00) + QChar(0xFFFF), QString("01234567") + QChar(0xFFFD), QString("01234567") + QChar(0xFFFD)},
        {"a long value ", "a long value ", "a long value"},
        {QString::fromUtf8("  0123456789😀abc\r\ndefghijk\r "), QString::fromUtf8("  0123456789😀abc defghijk  "),
         QString::fromUtf8("0123456789😀abc defghijk")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        EXPECT_EQ(PLExporter::dealWithString(c.value, QLatin1Char(',')), c.csv);
        EXPECT_EQ(PLExporter::dealWithString(c.value, QLatin1Char('\t')), c.text);
    }
}

} // namespace
