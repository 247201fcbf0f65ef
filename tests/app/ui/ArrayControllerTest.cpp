#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/SelectionBridge.h"
#include "platform/store/CardStoreModel.h"

#include <QItemSelectionModel>
#include <QStandardItemModel>

#include <gtest/gtest.h>

namespace {

ManagedObjectList cards(const QStringList& names)
{
    const EntityDescription* entity = CardStore::currentModel().entity(QString::fromLatin1(CardStore::kEntityCard));
    ManagedObjectList list;
    for (const QString& name : names) {
        auto card = std::make_shared<ManagedObject>(*entity, nullptr);
        card->setValue(QStringLiteral("full_Name"), name);
        list.append(card);
    }
    return list;
}

QStringList names(const ManagedObjectList& objects)
{
    QStringList list;
    for (const ManagedObjectPtr& object : objects)
        list.append(object->stringValue(QStringLiteral("full_Name")));
    return list;
}

RowPredicate nameIn(const QStringList& allowed)
{
    return [allowed](const ListRow& o) { return allowed.contains(o.stringValue(QStringLiteral("full_Name"))); };
}

} // namespace

TEST(ArrayController, SortsFiltersAndKeepsTheSelectedObjectsThroughBoth)
{
    ArrayController controller;
    controller.setContent(cards({"c", "a", "d", "b"}));
    controller.setSortDescriptors({{QStringLiteral("full_Name"), false}});
    EXPECT_EQ(names(controller.arrangedObjects()), (QStringList{"d", "c", "b", "a"}));
    controller.setSelectionIndexes({3, 1, 1, 9});
    EXPECT_EQ(controller.selectionIndexes(), (QList<int>{1, 3})) << "rows out of range are dropped, the rest kept once in order";
    controller.setSortDescriptors({{QStringLiteral("full_Name"), true}});
    EXPECT_EQ(names(controller.selectedObjects()), (QStringList{"a", "c"}));
    controller.setFilterPredicate(nameIn({"b", "c"}));
    EXPECT_EQ(names(controller.selectedObjects()), QStringList{"c"});
}

TEST(PLArrayController, ARowStaysSelectedWhileRowsExist)
{
    PLArrayController controller;
    controller.setContent(cards({"a", "b", "c", "d"}));
    controller.setSelectionIndex(2);

    // Rearranging after the selected card left the list selects the same row again...
    auto content = controller.content();
    content.removeAt(2);
    controller.setContent(content);
    EXPECT_EQ(names(controller.selectedObjects()), QStringList{"d"});
    // ...or the first when that row is gone.
    controller.setSelectionIndex(2);
    content.removeAt(2);
    controller.setContent(content);
    EXPECT_EQ(names(controller.selectedObjects()), QStringList{"a"});

    // A filter that hides the selected card selects the first remaining one, not the same row.
    controller.setContent(cards({"a", "b", "c", "d"}));
    controller.setSelectionIndex(2);
    controller.setFilterPredicate(nameIn({"a", "b", "d"}));
    EXPECT_EQ(names(controller.selectedObjects()), QStringList{"a"});
    controller.setFilterPredicate(nameIn({}));
    EXPECT_TRUE(controller.selectionIndexes().isEmpty());
    EXPECT_EQ(controller.selectionIndex(), -1);
}

TEST(SelectionBridge, FollowsBothWaysAndTheSelectedRowIsTheLastOneSelected)
{
    PLArrayController controller;
    controller.setContent(cards({"a", "b", "c", "d"}));
    QStandardItemModel model(4, 2);
    QItemSelectionModel selection(&model);
    SelectionBridge bridge(controller, selection);

    EXPECT_TRUE(selection.isRowSelected(0)) << "the controller's first row, selected by its rule";
    controller.setSelectionIndexes({0, 2});
    EXPECT_TRUE(selection.isRowSelected(0) && selection.isRowSelected(2));
    EXPECT_EQ(SelectionBridge::selectedRow(selection), 2);

    // The user adds row 1 last: it is the selected row, although row 0 is lower.
    selection.setCurrentIndex(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(controller.selectionIndexes(), (QList<int>{0, 1, 2}));
    EXPECT_EQ(SelectionBridge::selectedRow(selection), 1);
    // Row 0 alone is a selection too.
    selection.setCurrentIndex(model.index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(SelectionBridge::selectedRow(selection), 0);
    selection.clearSelection();
    EXPECT_EQ(SelectionBridge::selectedRow(selection), -1);
    EXPECT_TRUE(controller.selectionIndexes().isEmpty());
}
