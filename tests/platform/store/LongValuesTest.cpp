// A store from elsewhere may hold a card field of millions of characters: every way of reading
// it gives the field at most its length (names a few hundred characters, the memo a few
// thousand), cut between characters, and leaves fields without a bound whole.
#include "StoreTestSupport.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(LongValues, CardFieldsAreReadCutToTheirLengthsWhicheverWayTheyAreRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("store.sqldb"));
    const QString pairs = QStringLiteral("\U0001D49C").repeated(600); // each a surrogate pair
    const QVariantMap written = {
        {QStringLiteral("cardID"), QString(100, QLatin1Char('i'))},
        {QStringLiteral("first_Name"), QString(10'000'000, QLatin1Char('n'))},
        {QStringLiteral("company"), pairs},
        {QStringLiteral("job_Title"), QStringLiteral("Buyer")},
        {QStringLiteral("e_Mail"), QString(3000, QLatin1Char('e'))},
        {QStringLiteral("memo"), QString(10'000'000, QLatin1Char('m'))},
    };
    {
        auto writer = ManagedObjectContext::open(CardStore::currentModel(), path);
        auto card = writer->insertNewObject(QStringLiteral("Card"));
        for (auto it = written.begin(); it != written.end(); ++it)
            card->setValue(it.key(), it.value());
        ASSERT_EQ(writer->save(), 0);
    }
    const QMap<QString, qsizetype> expected = {{QStringLiteral("cardID"), 100},   {QStringLiteral("first_Name"), 512},
                                               {QStringLiteral("company"), 1024}, {QStringLiteral("job_Title"), 5},
                                               {QStringLiteral("e_Mail"), 2048},  {QStringLiteral("memo"), 16384}};
    auto check = [&](const QString& how, const std::function<QString(const QString&)>& read) {
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            const QString value = read(it.key());
            EXPECT_EQ(value.size(), it.value()) << how.toStdString() << " " << it.key().toStdString();
            EXPECT_EQ(value, written[it.key()].toString().left(it.value())) << how.toStdString() << " " << it.key().toStdString();
        }
    };

    auto reader = ManagedObjectContext::open(CardStore::currentModel(), path);
    const ManagedObjectList whole = reader->executeFetchRequest({QStringLiteral("Card"), {}, {}});
    ASSERT_EQ(whole.size(), 1);
    check(QStringLiteral("whole objects"), [&](const QString& key) { return whole.first()->stringValue(key); });

    auto lighter = ManagedObjectContext::open(CardStore::currentModel(), path);
    FetchRequest request{QStringLiteral("Card"), {}, {}};
    request.propertiesToFetch = expected.keys();
    const ManagedObjectList light = lighter->executeFetchRequest(request);
    ASSERT_EQ(light.size(), 1);
    check(QStringLiteral("a lighter fetch"), [&](const QString& key) { return light.first()->stringValue(key); });

    auto rowsReader = ManagedObjectContext::open(CardStore::currentModel(), path);
    const FetchedRowsPtr rows = rowsReader->fetchRows(request);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->count(), 1);
    check(QStringLiteral("rows"), [&](const QString& key) { return rows->value(0, rows->columnOf(key)).toString(); });
}

} // namespace
