// How objects hold their values: only the values that are set, texts met in many rows shared, a
// lighter fetch letting go of what an object read before, and a fetch's values kept by the fetch
// only while most of its objects are held.
#include "StoreTestSupport.h"

#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <numeric>

namespace {

class ObjectValues : public ::testing::Test {
protected:
    QString path() const { return dir.filePath("store.sqldb"); }
    std::unique_ptr<ManagedObjectContext> open() { return ManagedObjectContext::open(CardStore::currentModel(), path()); }
    static ManagedObjectList fetchCards(ManagedObjectContext& context, QStringList properties = {})
    {
        FetchRequest request{"Card", {}, {{"cardID", true}}};
        request.propertiesToFetch = std::move(properties);
        return context.executeFetchRequest(request);
    }
    // Cards with nine values each, two texts of their own.
    void writeCards(int count)
    {
        auto writer = open();
        for (int i = 0; i < count; ++i) {
            auto card = writer->insertNewObject("Card");
            card->setValue("cardID", QStringLiteral("4F1C2D3E-0000-4000-8000-%1").arg(i, 12, 10, QLatin1Char('0')));
            card->setValue("full_Name", QStringLiteral("Person Number %1").arg(i));
            card->setValue("company", QStringLiteral("Example Trading Company Ltd."));
            card->setValue("department", QStringLiteral("Sales Department"));
            card->setValue("address", QStringLiteral("1-2-3 Example Street, Chiyoda-ku, Tokyo"));
            card->setValue("folder_ID", QStringLiteral("B3D1F6A0-7C2E-4E59-9A41-0C7D2E8F5A13"));
            card->setValue("accept_Date", QDateTime::fromSecsSinceEpoch(1600000000 + i, QTimeZone::utc()));
            card->setValue("scanNow", 0);
            card->setValue("deletedFlag", 0);
        }
        ASSERT_EQ(writer->save(), 0);
    }
    QTemporaryDir dir;
};

// A distinct value of the attribute's own type for attribute `a`.
QVariant valueFor(const AttributeDescription& attribute, int a)
{
    switch (attribute.type) {
    case AttributeType::String: return QStringLiteral("text %1").arg(a);
    case AttributeType::Date: return QDateTime::fromSecsSinceEpoch(1600000000 + a * 1000, QTimeZone::utc());
    default: return qlonglong(100 + a);
    }
}

size_t heapInUse() { return mallinfo2().uordblks; }

} // namespace

TEST_F(ObjectValues, EveryAttributeKeepsItsOwnValueWhateverTheOrderOfSetting)
{
    const EntityDescription& entity = *CardStore::currentModel().entity("Card");
    std::vector<int> order(size_t(entity.attributeCount()));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), *QRandomGenerator::global());

    auto context = open();
    auto card = context->insertNewObject("Card");
    for (int a : order)
        card->setValue(a, valueFor(entity.attribute(a), a));
    // Every third value taken away again, one set to an empty text and one overwritten.
    for (int a : order)
        if (a % 3 == 0)
            card->setValue(a, QVariant());
    card->setValue("memo", QStringLiteral(""));
    card->setValue("company", QStringLiteral("changed"));
    auto expected = [&](int a) -> QVariant {
        if (entity.attribute(a).name == "memo")
            return QStringLiteral("");
        if (entity.attribute(a).name == "company")
            return QStringLiteral("changed");
        return a % 3 == 0 ? QVariant() : valueFor(entity.attribute(a), a);
    };
    for (int a = 0; a < entity.attributeCount(); ++a)
        EXPECT_EQ(card->value(a), expected(a)) << entity.attribute(a).name.toStdString();
    ASSERT_EQ(context->save(), 0);

    // Each value is in its own column, and read back into its own attribute.
    for (int a = 1; a < entity.attributeCount(); a += 7) {
        if (entity.attribute(a).type == AttributeType::Date)
            continue;
        const QString column = QString::fromLatin1(entity.attribute(a).column);
        const QString stored = scalar(path(), "select ifnull(" + column + ", 'NULL') from ZCARD");
        EXPECT_EQ(stored, expected(a).isValid() ? card->stringValue(entity.attribute(a).name) : "NULL")
            << column.toStdString();
    }
    auto reader = open();
    const ManagedObjectList cards = fetchCards(*reader);
    ASSERT_EQ(cards.size(), 1);
    for (int a = 0; a < entity.attributeCount(); ++a) {
        QVariant want = expected(a);
        if (entity.attribute(a).type == AttributeType::Date && want.isValid())
            want = want.toDateTime();
        EXPECT_EQ(cards[0]->value(a), want) << entity.attribute(a).name.toStdString();
    }
    EXPECT_TRUE(cards[0]->changedValues().isEmpty());
}

TEST_F(ObjectValues, ALighterFetchLetsGoOfWhatItDoesNotReadButKeepsChanges)
{
    {
        auto writer = open();
        for (const char* id : {"A", "B", "C"}) {
            auto card = writer->insertNewObject("Card");
            card->setValue("cardID", QString::fromLatin1(id));
            card->setValue("memo", QStringLiteral("memo ") + QString::fromLatin1(id));
        }
        ASSERT_EQ(writer->save(), 0);
    }
    auto context = open();
    const ManagedObjectList cards = fetchCards(*context);
    ASSERT_EQ(cards.size(), 3);
    cards[0]->setValue("memo", QStringLiteral("unsaved"));
    context->deleteObject(cards[2]);
    scalar(path(), "update ZCARD set ZMEMO = 'changed outside' where ZCARDID != 'A'");

    EXPECT_EQ(fetchCards(*context, {"cardID"}).size(), 2);
    EXPECT_EQ(cards[0]->stringValue("memo"), "unsaved");
    EXPECT_EQ(cards[1]->stringValue("memo"), "changed outside") << "read again from the store";
    EXPECT_EQ(cards[2]->stringValue("memo"), "memo C") << "an object on its way out keeps what it held";
    ASSERT_EQ(context->save(), 0);
    EXPECT_EQ(cards[2]->stringValue("memo"), "memo C");
    EXPECT_EQ(scalar(path(), "select group_concat(ZCARDID || ZMEMO, ',') from ZCARD"), "Aunsaved,Bchanged outside");
}

TEST_F(ObjectValues, ObjectsCostWhatTheirValuesTake)
{
    constexpr int kCards = 2000;
    writeCards(kCards);
    auto context = open();
    // A first fetch, let go at once, fills SQLite's page cache.
    fetchCards(*context);
    const size_t before = heapInUse();
    const ManagedObjectList cards = fetchCards(*context);
    ASSERT_EQ(cards.size(), kCards);
    const double whole = double(heapInUse() - before) / kCards;
    // Texts met in many rows are one copy.
    EXPECT_EQ(cards[0]->value("company").toString().constData(), cards[kCards - 1]->value("company").toString().constData());
    // Each card: the object, its nine values (kept by the fetch, nine bytes each but for texts),
    // the bytes of its two texts of its own and its entry in the context.
    EXPECT_LT(whole, 400.0);

    // A list that reads three attributes of cards read whole before holds those three.
    fetchCards(*context, {"cardID", "deletedFlag", "folder_ID"});
    const double listed = double(heapInUse() - before) / kCards;
    EXPECT_LT(listed, 350.0);
    EXPECT_EQ(cards[5]->stringValue("full_Name"), "Person Number 5");
}

TEST_F(ObjectValues, SavedObjectsLetGoLeaveNothingBehindInALongRun)
{
    auto context = open();
    auto saveBatch = [&] {
        for (int i = 0; i < 500; ++i)
            context->insertNewObject("CardBelong")->setValue("cardID", QStringLiteral("card %1").arg(i));
        return context->save();
    };
    ASSERT_EQ(saveBatch(), 0);
    ASSERT_EQ(saveBatch(), 0);
    const auto after = qint64(heapInUse());
    for (int batch = 0; batch < 20; ++batch)
        ASSERT_EQ(saveBatch(), 0);
    // 10,000 rows saved and never fetched: what grows is SQLite's page cache, not the objects.
    EXPECT_LT(qint64(heapInUse()) - after, 1024 * 1024);
}

TEST_F(ObjectValues, OneObjectAskedReadsItsRowASecondOneTheColumnForAll)
{
    {
        auto writer = open();
        for (const char* id : {"A", "B", "C"}) {
            auto card = writer->insertNewObject("Card");
            card->setValue("cardID", QString::fromLatin1(id));
            card->setValue("face_Image_File", QString::fromLatin1(id) + "_N1.pdf");
            card->setValue("memo", QStringLiteral("memo ") + QString::fromLatin1(id));
        }
        ASSERT_EQ(writer->save(), 0);
    }
    auto context = open();
    const ManagedObjectList cards = fetchCards(*context, {"cardID"});
    ASSERT_EQ(cards.size(), 3);
    auto later = [&](const char* column) { scalar(path(), QStringLiteral("update ZCARD set %1 = 'later'").arg(column)); };

    // A card shown: its whole row is read, and no other card's.
    EXPECT_EQ(cards[0]->stringValue("face_Image_File"), "A_N1.pdf");
    later("ZFACE_IMAGE_FILE");
    later("ZMEMO");
    EXPECT_EQ(cards[0]->stringValue("memo"), "memo A");
    EXPECT_EQ(cards[1]->stringValue("memo"), "later");
    // A second card asking for the same attribute: the column is read for every card lacking it.
    scalar(path(), "update ZCARD set ZMEMO = 'again'");
    EXPECT_EQ(cards[2]->stringValue("memo"), "again");
    EXPECT_EQ(cards[1]->stringValue("memo"), "later");
    EXPECT_EQ(cards[2]->stringValue("face_Image_File"), "later");
}

TEST_F(ObjectValues, AFetchKeepsItsValuesOnlyWhileMostOfItsObjectsAreHeld)
{
    constexpr int kCards = 2000;
    writeCards(kCards);
    auto context = open();
    // A predicate that keeps two cards: what the fetch read of the others goes with them.
    FetchRequest request{"Card", [](const ManagedObject& card) { return card.stringValue("full_Name").endsWith("999"); }, {}};
    fetchCards(*context);
    context->executeFetchRequest(request);
    const size_t before = heapInUse();
    auto heldBytes = [&] { return qint64(heapInUse()) - qint64(before); };
    ManagedObjectList kept = context->executeFetchRequest(request);
    ASSERT_EQ(kept.size(), 2);
    // Two objects and their values, not the 2,000 rows' (some 200 bytes each).
    EXPECT_LT(heldBytes(), 50 * 1024);

    // Every card held: a predicate's fetch keeps them as compact as a fetch of them all.
    ManagedObjectList cards = fetchCards(*context);
    const qint64 allHeld = heldBytes();
    ASSERT_EQ(context->executeFetchRequest(request).size(), 2);
    EXPECT_LT(heldBytes(), allHeld + kCards * 50);

    // All but two let go: the next fetch, of any entity, lets go of the rest's values.
    kept = {cards[5], cards[kCards - 1]};
    cards.clear();
    const qint64 pinned = heldBytes();
    context->executeFetchRequest({"Folder", {}, {}});
    EXPECT_LT(heldBytes(), pinned - kCards * 150);
    context.reset();
    EXPECT_EQ(kept[0]->stringValue("full_Name"), "Person Number 5");
    EXPECT_EQ(kept[1]->stringValue("cardID"), "4F1C2D3E-0000-4000-8000-000000001999");
    EXPECT_EQ(kept[1]->value("accept_Date"), QDateTime::fromSecsSinceEpoch(1600000000 + kCards - 1, QTimeZone::utc()));
}

TEST_F(ObjectValues, ChangesToFetchedValuesOutliveARefetchUntilSavedOrDiscarded)
{
    {
        auto writer = open();
        for (const char* id : {"A", "B"}) {
            auto card = writer->insertNewObject("Card");
            card->setValue("cardID", QString::fromLatin1(id));
            card->setValue("company", QStringLiteral("Co ") + QString::fromLatin1(id));
            card->setValue("memo", QStringLiteral("memo ") + QString::fromLatin1(id));
        }
        ASSERT_EQ(writer->save(), 0);
    }
    auto context = open();
    const ManagedObjectList cards = fetchCards(*context);
    ASSERT_EQ(cards.size(), 2);
    cards[0]->setValue("company", QVariant());
    cards[0]->setValue("memo", QStringLiteral("changed"));
    cards[1]->setValue("company", QVariant());
    EXPECT_FALSE(cards[0]->value("company").isValid());
    EXPECT_EQ(cards[0]->changedValues(), (QVariantMap{{"company", QVariant()}, {"memo", QStringLiteral("changed")}}));

    scalar(path(), "update ZCARD set ZCOMPANY = 'outside', ZMEMO = 'outside'");
    EXPECT_EQ(fetchCards(*context).size(), 2);
    EXPECT_FALSE(cards[0]->value("company").isValid());
    EXPECT_EQ(cards[0]->stringValue("memo"), "changed");
    EXPECT_EQ(cards[1]->stringValue("memo"), "outside");

    context->discardChanges(cards[0]);
    EXPECT_EQ(cards[0]->stringValue("company"), "outside");
    EXPECT_EQ(cards[0]->stringValue("memo"), "outside");
    ASSERT_EQ(context->save(), 0);
    EXPECT_EQ(scalar(path(), "select group_concat(ZCARDID || ifnull(ZCOMPANY, '-'), ',') from ZCARD"), "Aoutside,B-");
}

TEST_F(ObjectValues, ValuesTakenByIndexStayWhereTheyAreWhileTheCardIsRead)
{
    writeCards(3);
    auto context = open();
    const ManagedObjectList cards = fetchCards(*context);
    ASSERT_EQ(cards.size(), 3);
    const EntityDescription& entity = cards[1]->entity();
    // As an export reads a fetched card: every column's value taken by reference first, read after.
    std::vector<const QVariant*> values;
    for (int a = 0; a < entity.attributeCount(); ++a)
        values.push_back(&cards[1]->value(a));
    for (int a = 0; a < entity.attributeCount(); ++a)
        EXPECT_EQ(*values[size_t(a)], cards[1]->value(entity.attribute(a).name)) << entity.attribute(a).name.toStdString();
    EXPECT_EQ(*values[size_t(entity.indexOf("full_Name"))], QStringLiteral("Person Number 1"));
    EXPECT_EQ(*values[size_t(entity.indexOf("accept_Date"))], QDateTime::fromSecsSinceEpoch(1600000001, QTimeZone::utc()));
}
