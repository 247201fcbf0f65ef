#include "app/images/CardDictionary.h"
#include "app/images/ManagedCardRecord.h"
#include "platform/store/CardStoreModel.h"

#include <QDateTime>

#include <gtest/gtest.h>

TEST(CardDictionary, KeysAreTheCardAttributesOfEveryVersion)
{
    const QStringList keys = cardDictionaryKeys();
    EXPECT_EQ(keys.size(), 68);
    QStringList sortedKeys = keys, attributes = CardStore::cardAttributeNamesOfEveryVersion();
    sortedKeys.sort();
    attributes.sort();
    EXPECT_EQ(sortedKeys, attributes);
}

TEST(CardDictionary, DefaultsForAnEmptyCard)
{
    CardDict empty;
    const QDateTime before = QDateTime::currentDateTime();
    const CardDict dict = setDataDictToDict(CardDictRecord(empty));
    EXPECT_EQ(dict.size(), 68);
    EXPECT_FALSE(dict.contains("input_Type"));
    EXPECT_FALSE(dict.contains("previous_Creator"));
    EXPECT_EQ(dict.value("full_Name_XY"), QString(""));
    EXPECT_EQ(dict.value("other_Image_Page"), QString(""));
    EXPECT_EQ(dict.value("face_Image_Page").typeId(), QMetaType::Short);
    EXPECT_EQ(dict.value("face_Image_Page").toInt(), 0);
    EXPECT_EQ(dict.value("back_Image_page").typeId(), QMetaType::Short);
    const QDateTime accepted = dict.value("accept_Date").toDateTime();
    EXPECT_GE(accepted, before);
    EXPECT_LE(accepted, QDateTime::currentDateTime());
}

TEST(CardDictionary, ValuesOfAStoreCardPassThrough)
{
    ManagedObject object(*CardStore::currentModel().entity(CardStore::kEntityCard), nullptr);
    ManagedCardRecord card(&object);
    const QDateTime accepted = QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC);
    card.setValueForKey("full_Name", "Ada Lovelace");
    card.setValueForKey("accept_Date", accepted);
    card.setValueForKey("back_Image_page", 1);
    card.setValueForKey("input_Type", 3);
    const CardDict dict = setDataDictToDict(card);
    EXPECT_EQ(dict.value("full_Name"), "Ada Lovelace");
    EXPECT_EQ(dict.value("accept_Date").toDateTime(), accepted);
    EXPECT_EQ(dict.value("back_Image_page").toInt(), 1);
    EXPECT_FALSE(dict.contains("input_Type"));
}
