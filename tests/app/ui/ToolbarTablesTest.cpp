#include "app/ui/logic/ToolbarItems.h"
#include "app/ui/logic/ToolbarValidation.h"

#include <gtest/gtest.h>

using namespace ToolbarItems;
using namespace ToolbarValidation;

TEST(ToolbarItems, PreferenceMasksChooseTheirRowsInTheTestedOrder)
{
    EXPECT_EQ(recognizeStateFromMask(0x1 | 0x800), 11);
    EXPECT_EQ(recognizeStateFromMask(0x4 | 0x8), 3) << "0x8 is tested before 0x4";
    EXPECT_EQ(recognizeStateFromMask(0x1), 0);
    EXPECT_EQ(recognizeStateFromMask(0x200 | 0x400), 10);
    EXPECT_EQ(recognizeStateFromMask(0x1000), std::nullopt);
    EXPECT_EQ(recognizeStateFromMask(std::nullopt), std::nullopt);

    EXPECT_EQ(exportFormatFromMask(6).state, 1) << "0x2 is tested first";
    EXPECT_STREQ(exportFormatFromMask(6).statusTextKey, "IDS_FILE_EXPORT_TYPE_VCARD");
    EXPECT_EQ(exportFormatFromMask(0x10).state, 4);
    for (std::optional<qint64> none : {std::optional<qint64>(0), std::optional<qint64>()}) {
        EXPECT_EQ(exportFormatFromMask(none).state, 1);
        EXPECT_STREQ(exportFormatFromMask(none).statusTextKey, "IDS_FILE_EXPORT_TYPE_DEFAULT");
        EXPECT_STREQ(exportFormatFromMask(none).image, "VCard.tiff");
    }
    EXPECT_STREQ(exportFormat(7).statusTextKey, "IDS_FILE_EXPORT_TYPE_DEFAULT");

    EXPECT_EQ(recognizeStateFromLanguageID(QStringLiteral("11")), 0);
    EXPECT_EQ(recognizeStateFromLanguageID(QStringLiteral("33")), 3);
    EXPECT_EQ(recognizeStateFromLanguageID(QStringLiteral("0")), 1);
    EXPECT_EQ(recognizeStateFromLanguageID(QStringLiteral("5")), std::nullopt);
    EXPECT_EQ(recognizeStateFromLanguageID(QStringLiteral("IDS_RESOURCE_LANG_ID")), std::nullopt);
    EXPECT_STREQ(language(-1).image, "OCR_AUTO.png");
}

TEST(ToolbarItems, DefaultsAndPaletteKeepTheirOrders)
{
    const QStringList defaults = defaultItemIdentifiers();
    ASSERT_EQ(defaults.size(), 14);
    EXPECT_EQ(defaults.first(), QLatin1String(kZoomOut));
    EXPECT_EQ(defaults.last(), QLatin1String(kSearch));
    EXPECT_FALSE(defaults.contains(QLatin1String(kApplication)));
    EXPECT_TRUE(allowedItemIdentifiers().contains(QLatin1String(kApplication)));
    for (const QString& id : defaults)
        EXPECT_TRUE(item(id) || id == QLatin1String(kFlexibleSpace)) << id.toStdString();
}

TEST(ToolbarItems, CustomisationOffersWhatTheToolbarDoesNotHoldAndSpacesAlways)
{
    EXPECT_EQ(availableItemIdentifiers({}), allowedItemIdentifiers());
    const QStringList offered = availableItemIdentifiers(defaultItemIdentifiers());
    EXPECT_EQ(offered,
              (QStringList{QLatin1String(kApplication), QLatin1String(kSpace), QLatin1String(kFlexibleSpace), QLatin1String(kSeparator)}))
        << "a fresh toolbar leaves the linked-application item to be added";
    const QStringList withSpaces{QLatin1String(kSeparator), QLatin1String(kMail), QLatin1String(kSeparator)};
    EXPECT_TRUE(availableItemIdentifiers(withSpaces).contains(QLatin1String(kSeparator)));
    EXPECT_FALSE(availableItemIdentifiers(withSpaces).contains(QLatin1String(kMail)));
    for (const Item& entry : items())
        EXPECT_TRUE(entry.faceImage) << entry.identifier << " has an image for the customisation window";
}

TEST(ToolbarValidation, EnablingTable)
{
    const char* all[] = {kExport, kIphoto, kConnect, kApplication, kSearch, kRecognize, kZoomOut, kZoomIn,
                         kImageOperation, kRotate, kImageEdit, kSide, kMail, kExplorer};
    struct Case {
        const char* name;
        State state;
        std::vector<const char*> enabled;
    };
    State plain;
    plain.hasContext = true;
    State oneCard = plain;
    oneCard.selectionCount = 1;
    oneCard.singleEMail = QStringLiteral(" a@b.example ");
    oneCard.singleWebPage = QStringLiteral("example.org");
    oneCard.toolBits = kRecognizable | kImageShown | kImageOperationApplies | kRotatable | kBackSide | kZoomedInFully;
    oneCard.photosInstalled = 2;
    oneCard.applicationMenuItems = 2;
    State readOnly = oneCard;
    readOnly.readOnly = true;
    State blankMail = plain;
    blankMail.selectionCount = 1;
    blankMail.singleEMail = QStringLiteral(" \n\u2028");
    State twoNoMail = plain;
    twoNoMail.selectionCount = 2;
    State twoWithMail = twoNoMail;
    twoWithMail.toolBits = kSomeMail;
    State addBackOnRoot = plain;
    addBackOnRoot.toolBits = kBackAddable;
    addBackOnRoot.rootFolderSelected = true;
    State addBack = addBackOnRoot;
    addBack.rootFolderSelected = false;
    State noApps = oneCard;
    noApps.applicationMenuItems = 1;
    noApps.toolBits = kImageShown | kZoomedOutFully;
    const Case cases[] = {
        {"nothing selected", plain, {kConnect, kSearch, kSide}},
        {"one card", oneCard, {kExport, kIphoto, kConnect, kApplication, kSearch, kRecognize, kZoomOut, kImageOperation, kRotate, kImageEdit, kSide, kMail, kExplorer}},
        {"open mode 1", readOnly, {kExport, kSearch, kImageOperation, kSide, kMail, kExplorer}},
        {"blank e-mail", blankMail, {kExport, kConnect, kSearch, kSide}},
        {"two cards without mail", twoNoMail, {kExport, kConnect, kSearch, kSide}},
        {"two cards with mail", twoWithMail, {kExport, kConnect, kSearch, kSide, kMail}},
        {"back addable on the root", addBackOnRoot, {kConnect, kSearch, kSide}},
        {"back addable", addBack, {kConnect, kSearch, kSide, kImageEdit}},
        {"no linked application, zoomed out", noApps, {kExport, kIphoto, kConnect, kSearch, kZoomIn, kSide, kMail, kExplorer}},
    };
    for (const Case& c : cases) {
        for (const char* id : all) {
            const bool expected = std::find_if(c.enabled.begin(), c.enabled.end(), [id](const char* e) { return qstrcmp(e, id) == 0; }) != c.enabled.end();
            EXPECT_EQ(validateToolbarItem(QLatin1String(id), c.state), expected) << c.name << ": " << id;
        }
    }
    EXPECT_TRUE(validateToolbarItem(QLatin1String(kFlexibleSpace), readOnly));
    const ImageEditItems edit = imageEditItems(addBackOnRoot);
    EXPECT_FALSE(edit.addBack || edit.swapSides || edit.removeBack);
}
