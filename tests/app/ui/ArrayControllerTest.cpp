#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/SelectionBridge.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QItemSelectionModel>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <sqlite3.h>

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

TEST(ArrayController, RowsOfALightFetchSortFilterAndBecomeObjectsOnlyWhenAsked)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("store.sqldb"));
    auto context = ManagedObjectContext::open(CardStore::currentModel(), path);
    ASSERT_TRUE(context);
    for (const char* name : {"c", "a", "d", "b"})
        context->insertNewObject(QStringLiteral("Card"))->setValue(QStringLiteral("full_Name"), QString::fromLatin1(name));
    ASSERT_EQ(context->save(), 0);
    auto storeWrite = [&path](const char* sql) {
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    };
    FetchRequest request{QStringLiteral("Card"), {}, {}};
    request.propertiesToFetch = {QStringLiteral("full_Name")};
    const FetchedRowsPtr rows = context->fetchRows(request);
    const ManagedObjectPtr unsaved = context->insertNewObject(QStringLiteral("Card"));
    unsaved->setValue(QStringLiteral("full_Name"), QStringLiteral("e"));

    PLArrayController controller;
    controller.setSortDescriptors({{QStringLiteral("full_Name"), true}});
    controller.setContent(rows, context->insertedObjects());
    auto arranged = [&controller] {
        QStringList list;
        for (int row = 0; row < controller.arrangedCount(); ++row)
            list.append(controller.arrangedRow(row).stringValue(QStringLiteral("full_Name")));
        return list;
    };
    EXPECT_EQ(arranged(), (QStringList{"a", "b", "c", "d", "e"})) << "the unsaved card is listed too";
    EXPECT_EQ(names(controller.selectedObjects()), QStringList{"a"});

    // A row becomes an object when asked for, read from the store as it is then.
    storeWrite("update ZCARD set ZFULL_NAME = 'bb' where ZFULL_NAME = 'b'");
    EXPECT_EQ(controller.arrangedRow(1).stringValue(QStringLiteral("full_Name")), "b");
    const ManagedObjectPtr b = controller.arrangedObject(1);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->stringValue(QStringLiteral("full_Name")), "bb");
    EXPECT_EQ(controller.arrangedRow(1).stringValue(QStringLiteral("full_Name")), "bb") << "a row with its object reads it";

    // An object changed elsewhere is adopted by its row; a rearrangement shows the change.
    controller.setSelectionIndex(3);
    const ManagedObjectPtr d = context->executeFetchRequest({QStringLiteral("Card"), keyEquals(QStringLiteral("full_Name"), QStringLiteral("d")), {}}).value(0);
    ASSERT_TRUE(d);
    d->setValue(QStringLiteral("full_Name"), QStringLiteral("0d"));
    controller.adoptObjects({d});
    controller.rearrangeObjects();
    EXPECT_EQ(arranged(), (QStringList{"0d", "a", "bb", "c", "e"}));
    EXPECT_EQ(controller.selectedObjects(), ManagedObjectList{d}) << "the selection follows its row";

    // A reload of the same store keeps the selection and the changed objects; an unchanged object
    // made before is made again as the same one while somebody holds it.
    controller.setFilterPredicate([](const ListRow& row) { return row.stringValue(QStringLiteral("full_Name")) != QStringLiteral("c"); });
    controller.setContent(context->fetchRows(request), {unsaved});
    EXPECT_EQ(arranged(), (QStringList{"0d", "a", "bb", "e"}));
    EXPECT_EQ(controller.selectedObjects(), ManagedObjectList{d});
    EXPECT_EQ(controller.arrangedObject(2), b);

    // A deleted object leaves the list.
    context->deleteObject(b);
    controller.rearrangeObjects();
    EXPECT_EQ(arranged(), (QStringList{"0d", "a", "e"}));

    // A question over the whole content sees rows the filter hides and unsaved cards, not deleted ones.
    auto anyNamed = [&controller](const char* name) {
        return controller.anyContentRow(
            [name](const ListRow& row) { return row.stringValue(QStringLiteral("full_Name")) == QLatin1String(name); });
    };
    EXPECT_TRUE(anyNamed("c")) << "hidden by the filter";
    EXPECT_TRUE(anyNamed("e")) << "not saved yet";
    EXPECT_FALSE(anyNamed("bb")) << "deleted";
    EXPECT_FALSE(anyNamed("b")) << "the row reads its deleted object";
}

TEST(ArrayController, RowsSortAndFilterAsObjectsDoWhetherTheirTextsAreSharedOrNot)
{
    // Company: all different for a long stretch (not shared), then the same few (shared again).
    QTemporaryDir dir;
    auto context = ManagedObjectContext::open(CardStore::currentModel(), dir.filePath(QStringLiteral("store.sqldb")));
    ASSERT_TRUE(context);
    constexpr int kCards = 5000;
    for (int i = 0; i < kCards; ++i) {
        const ManagedObjectPtr card = context->insertNewObject(QStringLiteral("Card"));
        card->setValue(QStringLiteral("full_Name"), QStringLiteral("Name %1").arg((i * 7919) % kCards));
        card->setValue(QStringLiteral("company"),
                       i < 3000 ? QStringLiteral("Firm %1").arg(i % 2500) : QStringLiteral("Firm %1").arg(i % 3));
    }
    ASSERT_EQ(context->save(), 0);

    FetchRequest request{QStringLiteral("Card"), {}, {}};
    request.propertiesToFetch = {QStringLiteral("company"), QStringLiteral("full_Name")};
    ArrayController ofRows, ofObjects;
    ofRows.setContent(context->fetchRows(request));
    ofObjects.setContent(context->executeFetchRequest({QStringLiteral("Card"), {}, {}}));
    auto arranged = [](const ArrayController& controller) {
        QStringList list;
        for (int row = 0; row < controller.arrangedCount(); ++row)
            list.append(controller.arrangedRow(row).stringValue(QStringLiteral("full_Name")));
        return list;
    };
    for (ArrayController* controller : {&ofRows, &ofObjects}) {
        controller->setSortDescriptors({{QStringLiteral("company"), false}, {QStringLiteral("full_Name"), true}});
        controller->setFilterPredicate([](const ListRow& row) {
            return row.stringValue(QStringLiteral("company")).contains(QStringLiteral("FIRM 1"), Qt::CaseInsensitive);
        });
    }
    ASSERT_GT(ofRows.arrangedCount(), 500);
    EXPECT_EQ(arranged(ofRows), arranged(ofObjects));

    // A filter that leaves few rows sorts only those, in the order the whole sorted list has them.
    auto narrow = [](const ListRow& row) { return row.stringValue(QStringLiteral("full_Name")).endsWith(QStringLiteral("7")); };
    ofRows.setFilterPredicate(narrow);
    ofRows.setSortDescriptors({{QStringLiteral("company"), true}, {QStringLiteral("full_Name"), false}});
    ofObjects.setFilterPredicate({});
    ofObjects.setSortDescriptors(ofRows.sortDescriptors());
    QStringList expected;
    for (int row = 0; row < ofObjects.arrangedCount(); ++row) {
        if (narrow(ofObjects.arrangedRow(row)))
            expected.append(ofObjects.arrangedRow(row).stringValue(QStringLiteral("full_Name")));
    }
    ASSERT_EQ(expected.size(), kCards / 10);
    EXPECT_EQ(arranged(ofRows), expected);
}
