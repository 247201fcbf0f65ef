// The upload card file read back by the plug-in's own reader: every field lands where the
// upload takes it from, the card image included.
#include "app/export/PLExporter.h"
#include "platform/foundation/PreferenceDomain.h"
#include "plugin/Common/XMLParser.h"
#include "tests/app/export/ExportFixture.h"

#include <QDir>

namespace {

using UploadRoundTrip = CardDatabaseTest;

TEST_F(UploadRoundTrip, ThePlugInReadsEveryCardAsItWasWritten)
{
    PreferenceDomain::standard().setValue(QStringLiteral("SalesForce connect check box items display"), 0x1FFFF);
    const QString outbox = path("out box");
    QDir().mkpath(outbox);
    CardDict awkward = cards::awkward();
    awkward.insert(QStringLiteral("face_Image_File"), QStringLiteral("CARD-LATIN_N1.pdf"));
    const QList<CardDict> selection{cards::latin(), cards::japaneseTwoSided(), awkward};
    int error = -1;
    QString images;
    const QString file = PLExporter::ExportToXmlForSalesforce(outbox, selection, &error, &images);
    ASSERT_EQ(error, 0);

    const std::optional<XMLParser::CardList> read = XMLParser().parseXMLFileAtPath(file);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->size(), selection.size());
    for (size_t i = 0; i < read->size(); ++i) {
        const CardInfo& card = *read->at(i);
        const CardDict& sent = selection[static_cast<qsizetype>(i)];
        const auto text = [&sent](const char* key) { return sent.value(QLatin1String(key)).toString(); };
        const struct {
            const char* key;
            QString value;
        } fields[] = {
            {"cardID", card.PersonID}, {"full_Name", card.FullName}, {"family_Name", card.LastName},
            {"middle_Name", card.MiddleName}, {"first_Name", card.FirstName}, {"company", card.OrganizationName},
            {"department", card.Department}, {"job_Title", card.JobTitle}, {"zip_PostalCode", card.ZipCode},
            {"country", card.Country}, {"state", card.Prefecture}, {"city", card.City}, {"street", card.Number},
            {"telephone_Number", card.Phone}, {"fax_Number", card.Fax}, {"mobile_Number", card.Mobile},
            {"e_Mail", card.Email}, {"web_Page_Address", card.WebSite}, {"memo", card.Extension},
        };
        for (const auto& field : fields)
            EXPECT_EQ(field.value.toStdString(), text(field.key).toStdString()) << i << " " << field.key;
        EXPECT_EQ(card.ImageFilePathN1, images + QLatin1Char('/') + text("face_Image_File")) << i;
    }
}

} // namespace
