// The keyword and credential fields take one line of at most their maximum length, whatever is
// typed or pasted into them.
#include "plugin/Controller/QDLTextFiledMatter.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

TEST(TextFields, PastedTextKeepsItsFirstLineAndTheRoomLeft)
{
    const struct {
        QString before;
        QString pasted;
        QString after;
        int caret;
    } cases[] = {
        {"", QString(40, 'k'), QString(32, 'k'), 32},
        {QString(32, 'k'), "x", QString(32, 'k'), 32},
        {QString(30, 'k'), "xyz", QString(30, 'k') + "xy", 32},
        {"", "first line\nsecond line", "first line", 10},
        {"", "one\rtwo", "one", 3},
        {"", QString("a") + QChar(0x2028) + "b", "a", 1},
        {"", QString("a") + QChar(0x2028) + "b\nc", "a", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted.toStdString());
        QLineEdit field;
        QDLTextFiledMatter::apply(&field, 32);
        field.setText(c.before);
        field.end(false);
        field.insert(c.pasted);
        EXPECT_EQ(field.text(), c.after);
        EXPECT_EQ(field.cursorPosition(), c.caret);
    }
}

}
