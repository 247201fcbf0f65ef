// Rows read as plain values: what they hold, the attributes read on first use, the objects made
// of them on request, and when a second read is answered with the rows already read.
#include "StoreTestSupport.h"

#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FetchedRowsTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath("store.sqldb"); }
    std::unique_ptr<ManagedObjectContext> open() { return ManagedObjectContext::open(CardStore::currentModel(), path()); }
    void exec(const QString& sql)
    {
        SqliteConnection connection;
        ASSERT_EQ(connection.open(path(), false), 0);
        QString error;
        ASSERT_EQ(rawExec(connection, sql, &error), 0) << error.toStdString();
    }
    void SetUp() override
    {
        auto writer = open();
        ASSERT_TRUE(writer);
        for (const char* name : {"Ann", "Bea", "Cem"}) {
            auto card = writer->insertNewObject("Card");
            card->setValue("full_Name", QString::fromLatin1(name));
            card->setValue("company", QStringLiteral("Co ") + QString::fromLatin1(name));
            card->setValue("deletedFlag", 0);
        }
        ASSERT_EQ(writer->save(), 0);
    }
    static FetchRequest cards(const QStringList& properties)
    {
        FetchRequest request{"Card", {}, {}};
        request.propertiesToFetch = properties;
        return request;
    }
    static QStringList texts(const FetchedRows& rows, const QString& attribute)
    {
        QStringList list;
        const int column = rows.columnOf(attribute);
        for (qsizetype row = 0; row < rows.count(); ++row)
            list.append(column < 0 ? QStringLiteral("<none>") : rows.value(row, column).toString());
        return list;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(FetchedRowsTest, ValuesOnFirstUseAndObjectsOnRequest)
{
    auto context = open();
    int rc = -1;
    const FetchedRowsPtr rows = context->fetchRows(cards({"full_Name", "no_such_attribute"}), &rc);
    ASSERT_EQ(rc, 0);
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->entityName(), "Card");
    EXPECT_EQ(texts(*rows, "full_Name"), (QStringList{"Ann", "Bea", "Cem"}));
    EXPECT_EQ(rows->columnOf("no_such_attribute"), -1);
    EXPECT_FALSE(context->fetchRows({"NoSuchEntity", {}, {}}, &rc));
    EXPECT_NE(rc, 0);

    // An attribute not read is read for every row when first asked for, as the store holds it then.
    exec("update ZCARD set ZCOMPANY = 'New Co' where ZFULL_NAME = 'Bea'");
    EXPECT_EQ(texts(*rows, "company"), (QStringList{"Co Ann", "New Co", "Co Cem"}));
    rows->readAttributes({"memo", "deletedFlag", "no_such_attribute"});
    EXPECT_EQ(rows->value(0, rows->columnOf("deletedFlag")).toInt(), 0);
    EXPECT_TRUE(rows->value(0, rows->columnOf("memo")).isNull());

    // A row's object is the context's one object of that row, read whole.
    const ManagedObjectPtr bea = rows->object(1);
    ASSERT_TRUE(bea);
    EXPECT_EQ(bea->stringValue("company"), "New Co");
    EXPECT_EQ(context->executeFetchRequest({"Card", keyEquals("full_Name", QStringLiteral("Bea")), {}}).value(0), bea);
    EXPECT_EQ(rows->rowWithPrimaryKey(bea->primaryKey()), 1);
    EXPECT_EQ(rows->rowWithPrimaryKey(999), -1);

    // A row removed elsewhere makes no object, and reads empty in a column read after.
    exec("delete from ZCARD where ZFULL_NAME = 'Cem'");
    EXPECT_FALSE(rows->object(2));
    EXPECT_TRUE(rows->value(2, rows->columnOf("job_Title")).isNull());
    EXPECT_EQ(texts(*rows, "full_Name").value(2), "Cem") << "what was read stays";

    // Rows outlive their context: they keep their values and make no objects.
    context.reset();
    EXPECT_EQ(rows->context(), nullptr);
    EXPECT_FALSE(rows->object(0));
    EXPECT_EQ(rows->columnOf("web_Page_Address"), -1);
    EXPECT_EQ(texts(*rows, "full_Name").value(0), "Ann");
}

TEST_F(FetchedRowsTest, ASecondReadIsSharedUntilTheStoreIsWritten)
{
    auto context = open();
    const FetchedRowsPtr first = context->fetchRows(cards({"full_Name", "company"}));
    EXPECT_EQ(context->fetchRows(cards({"company"})), first);
    EXPECT_NE(context->fetchRows(cards({"company", "memo"})), first) << "an attribute the rows lack reads them again";
    const FetchedRowsPtr wider = context->fetchRows(cards({"full_Name", "company", "memo"}));

    // Written by another connection: read again.
    exec("update ZCARD set ZFULL_NAME = 'Anne' where ZFULL_NAME = 'Ann'");
    const FetchedRowsPtr renamed = context->fetchRows(cards({"full_Name"}));
    EXPECT_NE(renamed, wider);
    EXPECT_EQ(texts(*renamed, "full_Name").value(0), "Anne");

    // Written by this context: read again, with the new row.
    context->insertNewObject("Card")->setValue("full_Name", QStringLiteral("Dan"));
    EXPECT_EQ(context->fetchRows(cards({"full_Name"})), renamed) << "unsaved inserts are no rows";
    ASSERT_EQ(context->save(), 0);
    EXPECT_EQ(texts(*context->fetchRows(cards({"full_Name"})), "full_Name"), (QStringList{"Anne", "Bea", "Cem", "Dan"}));

    // Rows nobody holds any longer are not kept for the next read.
    const std::weak_ptr<const FetchedRows> dropped = context->fetchRows(cards({"memo"}));
    EXPECT_TRUE(dropped.expired());
}

// The rows, an object read on its own and an object of a fetch (its values kept by the fetch) read
// every stored value alike.
TEST(FetchedRowsValues, EveryStoredValueReadsAsTheRowsObjectReadsIt)
{
    using T = AttributeType;
    const ManagedObjectModel model({EntityDescription(
        "Item", {attr("text"), attr("number", T::Integer16), attr("real", T::Double), attr("date", T::Date), attr("data", T::Binary)})});
    QTemporaryDir dir;
    const QString path = dir.filePath("items.sqldb");
    auto context = ManagedObjectContext::open(model, path);
    ASSERT_TRUE(context);
    // Each row holds one stored value in every column, of the attribute's type or not.
    const QStringList stored = {"NULL",        "0",       "-7",     "42",     "2.5",
                                "-0.125",      "1e300",   "''",     "'abc'",  "'12'",
                                "'Ünal 山田'", "x'00ff'", "'same'", "'same'", "'" + QString(60, QChar(0x5c71)) + "'"};
    {
        SqliteConnection connection;
        ASSERT_EQ(connection.open(path, false), 0);
        for (qsizetype i = 0; i < stored.size(); ++i) {
            const QString v =
                QString(stored[i]).replace("\\u00dc", QString(QChar(0xdc))).replace("\\u5c71\\u7530", QStringLiteral("\u5c71\u7530"));
            ASSERT_EQ(rawExec(connection,
                              QStringLiteral("insert into ZITEM (Z_PK, Z_OPT, ZTEXT, ZNUMBER, ZREAL, ZDATE, ZDATA) "
                                             "values (%1, 1, %2, %2, %2, %2, %2)")
                                  .arg(i + 1)
                                  .arg(v)),
                      0);
        }
    }
    FetchRequest request{"Item", {}, {}};
    request.propertiesToFetch = {"text", "number", "real", "date", "data"};
    const FetchedRowsPtr rows = context->fetchRows(request);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->count(), stored.size());
    auto fetching = ManagedObjectContext::open(model, path);
    const ManagedObjectList fetched = fetching->executeFetchRequest({"Item", {}, {}});
    ASSERT_EQ(fetched.size(), stored.size());
    for (qsizetype row = 0; row < rows->count(); ++row) {
        const ManagedObjectPtr object = rows->object(row);
        ASSERT_TRUE(object);
        ASSERT_EQ(fetched[row]->primaryKey(), object->primaryKey());
        for (const QString& name : request.propertiesToFetch) {
            const int column = rows->columnOf(name);
            EXPECT_EQ(rows->value(row, column), object->value(name)) << name.toStdString() << " holding " << stored[row].toStdString();
            EXPECT_EQ(rows->stringValue(row, column), object->stringValue(name))
                << name.toStdString() << " holding " << stored[row].toStdString();
            EXPECT_EQ(fetched[row]->value(name), object->value(name)) << name.toStdString() << " holding " << stored[row].toStdString();
            EXPECT_EQ(fetched[row]->stringValue(name), object->stringValue(name))
                << name.toStdString() << " holding " << stored[row].toStdString();
        }
    }
}

TEST_F(FetchedRowsTest, TextsAreSharedWhereTheyComeAgainAfterARunOfNewOnes)
{
    // A column of texts all new for long stretches, then the same few again and again.
    constexpr int kCards = 6000;
    {
        auto writer = open();
        for (int i = 0; i < kCards; ++i)
            writer->insertNewObject("Card")->setValue("company",
                                                      i < 4000 ? QStringLiteral("Company %1").arg(i) : QStringLiteral("Co %1").arg(i % 3));
        ASSERT_EQ(writer->save(), 0);
    }
    auto context = open();
    const FetchedRowsPtr rows = context->fetchRows(cards({"company"}));
    const int column = rows->columnOf("company");
    ASSERT_EQ(rows->count(), 3 + kCards);
    for (int i : {0, 1, 2, 1000, 3999, 4000, 4001, 5999})
        EXPECT_EQ(rows->stringValue(3 + i, column), i < 4000 ? QStringLiteral("Company %1").arg(i) : QStringLiteral("Co %1").arg(i % 3));
    EXPECT_EQ(rows->stringValue(3 + kCards - 3, column).constData(), rows->stringValue(3 + kCards - 6, column).constData())
        << "sharing resumed";
}
