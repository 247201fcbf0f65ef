// The rows of an upload batch: pre-checks and the booking of the service's answers.
#include "plugin/Common/GlobalData.h"
#include "plugin/Common/UploadManager.h"
#include "plugin/SforceService/SoapEnumerations.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<CardInfo> card(const QString& full, const QString& last, const QString& company, const QString& email = QString())
{
    auto c = std::make_shared<CardInfo>();
    c->FullName = full;
    c->LastName = last;
    c->OrganizationName = company;
    c->Email = email;
    return c;
}

std::shared_ptr<SforceServiceSvc_SaveResult> ok(const QString& id)
{
    auto result = std::make_shared<SforceServiceSvc_SaveResult>();
    result->setValueForKey("id", id);
    result->setValueForKey("success", SoapValue(USBoolean(true)));
    return result;
}

std::shared_ptr<SforceServiceSvc_SaveResult> refused(const char* status, const QString& message)
{
    auto error = std::make_shared<SforceServiceSvc_Error>();
    error->setValueForKey("statusCode", SoapValue(SforceServiceSvc_StatusCode_enumFromString(status)));
    error->setValueForKey("message", message);
    auto result = std::make_shared<SforceServiceSvc_SaveResult>();
    result->setValueForKey("success", SoapValue(USBoolean(false)));
    result->addErrors(error);
    return result;
}

TEST(UploadManager, PreChecksRefuseCardsTheServiceCouldNotTake)
{
    const QString longMail = QString(70, 'a') + "@example.com";
    struct Case {
        std::shared_ptr<CardInfo> card;
        bool existingAccount;
        int status;
        int code;
    } const cases[] = {
        {card("Ann Smith", "Smith", "Acme"), false, 0, 0},
        {card("Ann Smith", "", "Acme", longMail), false, 2, 10202},
        {card("Ann Smith", "Smith", "Acme", longMail), false, 2, 10302},
        {card("", "Smith", ""), false, 2, 10212},
        {card("Ann Smith", "Smith", ""), false, 2, 10201},
        {card("", "Smith", "Acme"), false, 2, 10303},
        {card("Ann Smith", "Smith", ""), true, 0, 0},
        {card("", "Smith", "Acme"), true, 2, 10303},
    };
    GlobalData global;
    auto account = std::make_shared<ens_Account>();
    account->setId("001EXISTING");
    for (const auto& c : cases) {
        UploadManager manager(global, {c.card}, c.existingAccount ? account : nullptr);
        const bool pending = manager.GetUnfinishedList().size() == 1;
        EXPECT_EQ(pending ? 0 : 2, c.status) << c.card->FullName.toStdString() << c.code;
        EXPECT_EQ(pending ? 0 : manager.GetResultList()[0]->Code, c.code);
    }
}

TEST(UploadManager, AnswersAreBookedInOrderAndMissingOnesFail)
{
    GlobalData global;
    UploadManager manager(global, {card("A", "A", "A"), card("B", "B", "B"), card("C", "C", "C")}, nullptr);
    ASSERT_EQ(manager.GetAccountList().size(), 3u);
    manager.SetAccountUploadResult({ok("001A"), ok("001B"), ok("001C")});
    ASSERT_EQ(manager.GetContactList().size(), 3u);
    manager.SetContactUploadResult({ok("003A"), refused("REQUIRED_FIELD_MISSING", "Required fields are missing")});
    const auto rows = manager.GetUnfinishedList();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(manager.GetRollbackAccountIdList(), (QStringList{"001B", "001C"}))
        << "a refused Contact and one the service never answered for";

    const auto all = manager.GetResultList();
    EXPECT_EQ(all[1]->Code, 1009);
    EXPECT_EQ(all[1]->ExceptionMessage, QString("Required fields are missing"));
    EXPECT_EQ(all[2]->Code, 9900);
}

TEST(UploadManager, AttachmentPairsAreBookedTogether)
{
    GlobalData global;
    UploadManager manager(global, {card("A", "A", "A"), card("B", "B", "B"), card("C", "C", "C"), card("D", "D", "D")}, nullptr);
    for (const auto& row : manager.GetUnfinishedList())
        row->AttachmentCount = 2;
    manager.SetAttachmentUploadResult({ok("00P1"), ok("00P2"), refused("STORAGE_LIMIT_EXCEEDED", "full"), ok("00P3"),
        ok("00P4"), refused("IMAGE_TOO_LARGE", "too large"), ok("00P5")});
    const auto rows = manager.GetResultList();
    EXPECT_EQ(rows[0]->Status, 1);
    EXPECT_EQ(rows[1]->Status, 4);
    EXPECT_EQ(rows[1]->Code, 1001);
    EXPECT_EQ(global.ReturnCode(), 2020400);
    EXPECT_EQ(rows[2]->Status, 4);
    EXPECT_EQ(rows[2]->Code, 10206);
    EXPECT_EQ(rows[3]->Status, 2);
    EXPECT_EQ(rows[3]->Code, 9900);
}

}
