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
}
