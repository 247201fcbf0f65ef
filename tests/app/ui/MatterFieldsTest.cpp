// Formatters on real text fields: typing, pasting and the value taken when editing ends.
#include "app/ui/views/MatterAdapter.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void paste(QWidget* field, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

} // namespace

TEST(MatterFields, LineEditKeepsToTheMaximumAndOneLine)
{
    QLineEdit field;
    MatterAdapter::attach(&field, std::make_shared<PLMatter>(5));
    QTest::keyClicks(&field, QStringLiteral("abcdefg"));
    EXPECT_EQ(field.text(), QStringLiteral("abcde"));

    field.setText(QStringLiteral("abc"));
    field.setCursorPosition(1);
    paste(&field, QStringLiteral("XYZ"));
    EXPECT_EQ(field.text(), QStringLiteral("aXYbc"));
    EXPECT_EQ(field.cursorPosition(), 3);

    // Room for one unit: a character of two units does not go in by half.
    field.setText(QStringLiteral("abcd"));
    field.setCursorPosition(4);
    paste(&field, QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(field.text(), QStringLiteral("abcd"));

    QLineEdit password;
    MatterAdapter::attach(&password, std::make_shared<PLInputTextMatter>(16));
    paste(&password, QStringLiteral("first\nsecond"));
    EXPECT_EQ(password.text(), QStringLiteral("first"));
    QTest::keyClicks(&password, QStringLiteral("-more-than-sixteen"));
    EXPECT_EQ(password.text(), QStringLiteral("first-more-than-"));
}

TEST(MatterFields, PlainTextEditKeepsLineBreaksWithinTheMaximum)
{
    QPlainTextEdit memo;
    MatterAdapter::attach(&memo, std::make_shared<PLMatter>(PLMatter::initWithMaxLengthHasEnterKey(8)));
    QTest::keyClicks(&memo, QStringLiteral("ab"));
    QTest::keyClick(&memo, Qt::Key_Return);
    QTest::keyClicks(&memo, QStringLiteral("cdefghij"));
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("ab\ncdefg"));
    QTest::keyClick(&memo, Qt::Key_Backspace);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("ab\ncdef"));
}
