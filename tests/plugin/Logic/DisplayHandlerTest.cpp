// Searches, labels and the duplicate check against the fake service, which evaluates the SOQL it
// receives: what a user types reaches the service as text, never as part of the query.
#include "plugin/Logic/DisplayHandler.h"
#include "tests/support/service/ServiceFixture.h"

namespace {

class DisplayHandlerTest : public ServiceFixture {
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        logIn();
    }

    QVariantMap search(const std::function<void(DisplayHandler&)>& start, const char* completion)
    {
        DisplayHandler handler(global);
        NotificationWaiter done(completion, &handler);
        start(handler);
        const auto notification = done.wait();
        return notification ? notification->userInfo : QVariantMap();
    }

    QStringList accountNames(const QString& text, int mode)
    {
        const QVariantMap info = search([&](DisplayHandler& h) { h.GetExistAccountsAsync(text, mode); }, kQDLEVENTLOGETACCOMPLETED);
        EXPECT_EQ(info.value(kQueryResultKey).value<QueryResultPtr>()->Code(), 0) << text.toStdString();
        QStringList names;
        for (const AccountInfo& row : info.value(kAccountRowsKey).value<AccountRows>())
            names.append(row.AccountName);
        return names;
    }

    std::shared_ptr<CardInfo> card(const QString& first, const QString& last, const QString& email)
    {
        auto c = std::make_shared<CardInfo>();
        c->FirstName = first;
        c->LastName = last;
        c->Email = email;
        return c;
    }
};

TEST_F(DisplayHandlerTest, SearchTextsAreMatchedAsTheyStand)
{
    for (const char* name : {"O'Neil & Sons", "100% Cotton", "back\\slash", "a_b", "aXb", "Select Name FROM Account", "Plain"})
        fake.addRecord("Account", {FakeCrmService::field("Name", QString::fromUtf8(name))});
    const QString contactOf = fake.addRecord("Account", {FakeCrmService::field("Name", "Mail Corp")});
    fake.addRecord("Contact", {FakeCrmService::field("LastName", "X"), FakeCrmService::field("Email", "x%y@mail.example"),
                                  FakeCrmService::field("AccountId", contactOf)});

    struct Case {
        const char* text;
        int mode;
        QStringList names;
    } const cases[] = {
        {"O'Neil", 2, {"O'Neil & Sons"}},
        {"100%", 0, {"100% Cotton"}},
        {"\\", 3, {"back\\slash"}},
        {"a_b", 2, {"a_b"}},
        {"') OR (Name LIKE '", 2, {}},
        {"FROM Account", 2, {"Select Name FROM Account"}},
        {"x%y@", 1, {"Mail Corp"}},
        {"", 2, {"O'Neil & Sons", "100% Cotton", "back\\slash", "a_b", "aXb", "Select Name FROM Account", "Plain", "Mail Corp"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(accountNames(QString::fromUtf8(c.text), c.mode), c.names) << c.text;
    EXPECT_EQ(fake.requests().back().queryString, QStringLiteral("SELECT Id,Name FROM Account WHERE (Name LIKE '%%')"));
}

TEST_F(DisplayHandlerTest, LabelsPicklistsAndCampaignColumnsComeFromDescribe)
{
    const auto display = DisplayHandler(global).GetDisplayItems();
    EXPECT_EQ(display->Code, 0);
    EXPECT_EQ(display->AccountLabelName, QString("Account"));
    EXPECT_EQ(display->LeadSource, (QStringList{"Web", "Phone Inquiry"}));
    EXPECT_EQ(display->LeadSourceDefault, 1);
    EXPECT_EQ(display->LeadStatusDefault, 0);
    EXPECT_EQ(display->LeadSourceLabelName, QString("Lead Source"));
    EXPECT_TRUE(display->isCampaignNameDisplay);
    EXPECT_TRUE(display->isCampaignStatusDisplay);
    EXPECT_EQ(display->CampaignTitleStartDate, QString("Start Date"));
    EXPECT_TRUE(display->isLeadObjectEnabled);
    EXPECT_EQ(fake.journal().mid(1), (QStringList{"describeSObjects", "describeSObjects", "describeSObjects"}));

    EXPECT_EQ(DisplayHandler::campaignQuery(QString(), DisplayInfo()), QString("SELECT Id FROM Campaign"));
    EXPECT_EQ(DisplayHandler::campaignQuery("Fair's", *display),
        QString("SELECT Id,Name,StartDate,EndDate,Type,Status FROM Campaign WHERE Name like '%Fair\\'s%'"));

    fake.addRecord("Campaign", {FakeCrmService::field("Name", "Spring Fair"), FakeCrmService::field("Status", "Planned")});
    fake.addRecord("Campaign", {FakeCrmService::field("Name", "Autumn"), FakeCrmService::field("Status", "Done")});
    global.setUserDisplayInfo(display);
    fake.setTypedQueryResults(true);
    const QVariantMap info = search([](DisplayHandler& h) { h.GetExistCampaignsAsync("fair"); }, kQDLEVENTLOGETCPCOMPLETED);
    const auto rows = info.value(kCampaignRowsKey).value<CampaignRows>();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Name, QString("Spring Fair"));
    EXPECT_EQ(rows[0].Status, QString("Planned"));
    EXPECT_EQ(rows[0].CampaignID, 0);
}

TEST_F(DisplayHandlerTest, AFailedSearchHandsBackItsCode)
{
    fake.queueReply(FakeCrmService::faultReply("QUERY_TIMEOUT", "too long"));
    const QVariantMap info = search([](DisplayHandler& h) { h.GetExistAccountsAsync("x", 2); }, kQDLEVENTLOGETACCOMPLETED);
    EXPECT_EQ(info.value(kQueryResultKey).value<QueryResultPtr>()->Code(), 1011);
    EXPECT_FALSE(info.contains(kAccountRowsKey));
}

TEST_F(DisplayHandlerTest, TheDuplicateCheckMarksCardsTheServiceHolds)
{
    fake.addRecord("Contact", {FakeCrmService::field("FirstName", "Anna Maria"), FakeCrmService::field("LastName", "Rossi"),
                                  FakeCrmService::field("Email", "ANNA@example.com")});
    fake.addRecord("Contact", {FakeCrmService::field("FirstName", "Bob"), FakeCrmService::field("LastName", "O'Hara"),
                                  FakeCrmService::field("Email", "bob%1@example.com")});
    fake.addRecord("Lead", {FakeCrmService::field("FirstName", "Carl"), FakeCrmService::field("LastName", "lower")});
    auto anna = card("Anna", "Rossi", "anna@example.com");
    anna->MiddleName = "Maria";
    const auto bob = card("Bob", "O'Hara", "bob%1@example.com");
    const auto carlCase = card("Carl", "Lower", "");
    const auto carl = card("Carl", "lower", "");
    const auto stranger = card("Dora", "Rossi", "anna@example.com");
    global.setCardInfoListFromXML(GlobalData::CardList{anna, bob, carlCase, carl, stranger});

    EXPECT_EQ(DisplayHandler(global).UpdateCardListUploadStatus(), 0);
    EXPECT_TRUE(anna->UploadedAsContact);
    EXPECT_TRUE(bob->UploadedAsContact) << "an e-mail with a percent sign is found";
    EXPECT_FALSE(carlCase->UploadedAsLead) << "names compare with their letter case";
    EXPECT_TRUE(carl->UploadedAsLead);
    EXPECT_FALSE(stranger->UploadedAsContact);

    auto display = std::make_shared<DisplayInfo>();
    display->isLeadObjectEnabled = false;
    global.setUserDisplayInfo(display);
    carl->UploadedAsLead = false;
    const int before = int(fake.requests().size());
    EXPECT_EQ(DisplayHandler(global).UpdateCardListUploadStatus(), 0);
    EXPECT_FALSE(carl->UploadedAsLead);
    EXPECT_EQ(fake.journal().mid(before), QStringList{"query Contact"});
}

TEST_F(DisplayHandlerTest, ManyCardsAreCheckedInChunksOfBoundedLength)
{
    GlobalData::CardList cards;
    for (int i = 0; i < 400; ++i)
        cards.push_back(card(QStringLiteral("First%1").arg(i), QString(40, QChar('a' + i % 26)), QStringLiteral("p%1@example.com").arg(i)));
    global.setCardInfoListFromXML(cards);
    DisplayHandler handler(global);
    const QStringList chunks = handler.GetSeparatedQueryCondition();
    ASSERT_GT(chunks.size(), 1);
    for (const QString& chunk : chunks)
        EXPECT_LE(chunk.size() + 50, 10000);
    EXPECT_EQ(chunks.join(" or ").count(" or "), 399);

    global.setCardInfoListFromXML(GlobalData::CardList{cards[0]});
    EXPECT_EQ(handler.GetSeparatedQueryCondition(),
        QStringList{"((FirstName='First0' and LastName='" + QString(40, 'a') + "') and Email='p0@example.com')"});

    global.setCardInfoListFromXML(cards);
    fake.addRecord("Contact", {FakeCrmService::field("FirstName", "First399"), FakeCrmService::field("LastName", QString(40, QChar('a' + 399 % 26))),
                                  FakeCrmService::field("Email", "p399@example.com")});
    EXPECT_EQ(handler.UpdateCardListUploadStatus(), 0);
    EXPECT_TRUE(cards[399]->UploadedAsContact);
    EXPECT_FALSE(cards[0]->UploadedAsContact);
    EXPECT_EQ(fake.journal().count("query Contact"), chunks.size());
}

}
