// The fake service answers the SOQL it receives as the live service would, and refuses what the
// live service refuses: the plug-in's queries are checked against that, not against a lenient stub.
#include "plugin/DataAccess/QueryProvider.h"
#include "tests/support/service/ServiceFixture.h"

namespace {

using FakeServiceQueryTest = ServiceFixture;

TEST_F(FakeServiceQueryTest, QueriesSelectFilterSortAndLimit)
{
    for (const char* name : {"Beta", "alpha", "Gamma", "O'Hare", "50% off"})
        fake.addRecord("Account", {FakeCrmService::field("Name", QString::fromUtf8(name)), FakeCrmService::field("Site", "HQ")});
    logIn();
    struct Case {
        const char* soql;
        int code;
        QStringList names;
    } const cases[] = {
        {"SELECT Name FROM Account WHERE Name != 'beta' ORDER BY Name DESC LIMIT 2", 0, {"O'Hare", "Gamma"}},
        {"SELECT Name FROM Account WHERE Name NOT IN ('Beta', 'alpha') AND (Name LIKE 'G%' OR Name = 'O\\'Hare')", 0, {"Gamma", "O'Hare"}},
        {"SELECT Name FROM Account WHERE Name LIKE '50\\% %'", 0, {"50% off"}},
        {"SELECT Name FROM Account WHERE Name LIKE '5_\\_%'", 0, {}},
        {"SELECT Name FROM Account WHERE Name = 'O'Hare'", 9901, {}},
        {"SELECT Name FROM Account WHERE Name = 'a\\qb'", 9901, {}},
        {"SELECT FROM Account", 9901, {}},
    };
    for (const auto& c : cases) {
        QueryProvider provider(global);
        const QueryResultPtr result = provider.Execute(QString::fromUtf8(c.soql));
        EXPECT_EQ(result->Code(), c.code) << c.soql;
        QStringList names;
        for (const auto& record : result->QueryResultList().value_or(QueryResult::Records())) {
            names.append(record->valueForKey("Name").text());
            EXPECT_TRUE(record->valueForKey("Site").isNone()) << "a field not asked for is not sent";
        }
        EXPECT_EQ(names, c.names) << c.soql;
    }
}

}
