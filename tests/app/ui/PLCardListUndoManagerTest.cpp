#include "app/ui/logic/PLCardListUndoManager.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(PLCardListUndoManager, OneLevelTheListDecidesAndARefusalKeepsTheRecord)
{
    PLCardListUndoManager manager;
    QStringList undone;
    manager.setLevelsOfUndo(1);
    manager.registerUndo(QStringLiteral("first"), [&] { undone << "first"; });
    manager.registerUndo(QStringLiteral("second"), [&] { undone << "second"; });
    EXPECT_FALSE(manager.canUndo()) << "without a controller nothing is offered";
    EXPECT_FALSE(manager.canRedo());

    bool focused = false;
    bool check = false;
    manager.setController({[&] { return focused; }, [&] { return check; }});
    EXPECT_FALSE(manager.canUndo());
    focused = true;
    EXPECT_TRUE(manager.canUndo());
    EXPECT_FALSE(manager.canRedo());

    EXPECT_FALSE(manager.undo());
    EXPECT_TRUE(manager.hasUndoRecords()) << "a refused undo keeps its record";
    check = true;
    EXPECT_TRUE(manager.undo());
    EXPECT_EQ(undone, QStringList{"second"}) << "one level: the first step was dropped";
    EXPECT_FALSE(manager.undo());
}
