// Which person goes with which card, what becomes a new card or a new person, and a second run.
#include "SyncFixture.h"

namespace {

using Match = SyncFixture;

TEST_F(Match, PersonsMatchOnNamesCompanyAndWorkEmailOrBecomeNewCardsAndCardsBecomePersons)
{
    // Matched: names and company equal, no work e-mail on either side.
    addCard({{"first_Name", "Ann"}, {"family_Name", "Lee"}, {"company", "Acme"}, {"job_Title", "Engineer"}});
    addPerson("lee.vcf", "N:Lee;Ann;;;\r\nORG:Acme\r\n");
    // Matched: company only.
    addCard({{"company", "Solo Ltd"}, {"memo", "card memo"}});
    addPerson("solo.vcf", "ORG:Solo Ltd\r\n");
    // Matched: the card's e-mail is one of the person's work addresses.
    addCard({{"family_Name", "Kato"}, {"e_Mail", "k2@x.example"}});
    addPerson("kato.vcf", "N:Kato;;;;\r\nEMAIL;TYPE=WORK:k1@x.example\r\nEMAIL;TYPE=WORK:k2@x.example\r\n");
    // Not matched: the person's only e-mail is a home address, the card has it as its e-mail.
    addCard({{"family_Name", "Ono"}, {"e_Mail", "ono@home.example"}});
    addPerson("ono.vcf", "N:Ono;;;;\r\nEMAIL;TYPE=HOME:ono@home.example\r\n");
    // Skipped: neither names nor company.
    addPerson("nobody.vcf", "EMAIL;TYPE=WORK:x@y.example\r\nNOTE:just a note\r\n");
    // A card in the trash is neither matched nor pushed.
    addCard({{"family_Name", "Trash"}, {"deletedFlag", 1}});
    addPerson("trash.vcf", "N:Gone;;;;\r\n");
    // Two equal persons and one card: the second person becomes a new card.
    const ManagedObjectPtr twin = addCard({{"family_Name", "Twin"}});
    addPerson("twin1.vcf", "N:Twin;;;;\r\nNOTE:first\r\n");
    addPerson("twin2.vcf", "N:Twin;;;;\r\nNOTE:second\r\n");
    // Pushed: a named card that no person matches; not pushed: a card without name or company.
    addCard({{"family_Name", "Push"}, {"first_Name", "Only"}, {"telephone_Number", "03-1111"}});
    addCard({{"full_Name", "Nameless"}, {"memo", "no parts"}});

    PLSyncConnectController controller;
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectAddressBookWins, &controller), 0);

    EXPECT_EQ(cardNamed("Lee")->stringValue("cardID"), "C1");
    EXPECT_EQ(book()->people().size(), 8u + 2u); // the Ono card and the Push card became persons
    const auto b = book();
    EXPECT_EQ(personNamed(*b, "Lee")->valueForProperty(kABJobTitleProperty), "Engineer");
    EXPECT_EQ(personNamed(*b, "Solo Ltd")->valueForProperty(kABNoteProperty), "card memo");
    EXPECT_EQ(personNamed(*b, "Push")->multiValueForProperty(kABPhoneProperty).valueAtIndex(0), "03-1111");
    EXPECT_TRUE(personNamed(*b, "Trash") == nullptr);

    // New cards: Ono (from the home-address person), Gone, the second Twin; all in the Inbox.
    ASSERT_TRUE(controller.hasDataAdded());
    QStringList added;
    for (const ManagedObjectPtr& card : controller.addedData()) {
        added.append(card->stringValue("family_Name") + "/" + card->stringValue("memo"));
        EXPECT_EQ(card->stringValue("face_Image_File"), card->stringValue("cardID") + "_N1.pdf");
        EXPECT_EQ(card->stringValue("flag1"), "1");
        EXPECT_EQ(card->stringValue("folder_ID"), inboxID);
        EXPECT_FALSE(card->stringValue("sync_Phone_Fax").isEmpty());
        EXPECT_FALSE(card->stringValue("cardID").isEmpty());
    }
    EXPECT_EQ(added, QStringList({"Ono/", "Gone/", "Twin/second"})); // in file-name order
    const ManagedObjectList belongs =
        context->executeFetchRequest({QLatin1String(CardStore::kEntityCardBelong), {}, {}});
    ASSERT_EQ(belongs.size(), 3);
    for (const ManagedObjectPtr& belong : belongs) {
        EXPECT_EQ(belong->stringValue("folder_ID"), inboxID);
        EXPECT_TRUE(belong->relatedObject("ToCardRelation"));
    }
    EXPECT_EQ(twin->stringValue("memo"), "first");
}

TEST_F(Match, SecondRunChangesNothingInEitherMode)
{
    for (int mode : {PLSyncConnectController::kSelectCardWins, PLSyncConnectController::kSelectAddressBookWins}) {
        SCOPED_TRACE(mode);
        addCard({{"first_Name", QString("Ken%1").arg(mode)}, {"family_Name", "Sato"}, {"company", "Acme, Inc.; Tokyo"},
                 {"telephone_Number", "03-1"}, {"fax_Number", "03-2"}, {"street", "1-2 Chiyoda"}, {"state", "Tokyo"},
                 {"web_Page_Address", "http://acme.example/a b"}, {"job_Title", "Lead"}, {"memo", "line\nnext"}});
        addPerson(QString("p%1.vcf").arg(mode),
                  QString("N:Sato;Ken%1;;Dr.;\r\nORG:Acme\\, Inc.\\; Tokyo\r\nTITLE:Head\r\nTEL;TYPE=WORK:03-9\r\n"
                          "ADR;TYPE=WORK:;;9 Other St;Osaka;;;\r\nURL;TYPE=WORK:http://other.example/\r\n"
                          "X-PHONETIC-LAST-NAME:sato\r\n")
                      .arg(mode)
                      .toUtf8());
        addCard({{"family_Name", QString("New%1").arg(mode)}, {"mobile_Number", "090"}});
        addPerson(QString("q%1.vcf").arg(mode), QString("N:Fresh%1;;;;\r\nTEL;TYPE=CELL:080\r\n").arg(mode).toUtf8());

        ASSERT_EQ(synchronise(mode), 0);
        const QMap<QString, QString> stamps = bookStamps();
        QList<QVariantMap> before;
        for (const ManagedObjectPtr& c : cards())
            before.append(c->dictionary());

        ASSERT_EQ(synchronise(mode), 0);
        EXPECT_EQ(bookStamps(), stamps);
        QList<QVariantMap> after;
        for (const ManagedObjectPtr& c : cards())
            after.append(c->dictionary());
        EXPECT_EQ(after, before);
    }
}

} // namespace
