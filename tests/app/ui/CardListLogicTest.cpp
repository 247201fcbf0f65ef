// The card list's filters, its column preferences, its sort cycle and its cells, on a small fixture of cards.
#include "app/core/VersionUtilities.h"
#include "app/ui/CardTableModel.h"
#include "app/ui/logic/ArrayController.h"
#include "app/ui/logic/CardListColumns.h"
#include "app/ui/logic/CardListMenus.h"
#include "app/ui/logic/CardListFilters.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObject.h"
#include "tests/app/core/TestBundle.h"

#include <QDateTime>
#include <QFont>
#include <QLocale>

#include <gtest/gtest.h>

using namespace CardListFilters;

namespace {

ManagedObjectList fixture()
{
    struct Row {
        const char* name;
        const char* company;
        const char* kana;
        const char* memo;
        QVariant folder;
        QVariant deleted;
    };
    const Row rows[] = {
        {"Ünal Yılmaz", "", "", "", "inbox", 0},
        {"山田 太郎", "", "", "", "clients", QVariant()}, // imported without a deleted flag
        {"ünal without folder", "", "", "", QVariant(), 0},
        {"Trashed ünal", "", "", "", "clients", 1},
        {"Bob", "ÜNAL GmbH", "", "100%_off .*\\", "clients", 0},
        {"Reading", "", "やまだ", "", "inbox", 0},
    };
    const EntityDescription* entity = CardStore::currentModel().entity(QString::fromLatin1(CardStore::kEntityCard));
    ManagedObjectList cards;
    for (const Row& row : rows) {
        auto card = std::make_shared<ManagedObject>(*entity, nullptr);
        card->setValue(QStringLiteral("full_Name"), QString::fromUtf8(row.name));
        card->setValue(QStringLiteral("company"), QString::fromUtf8(row.company));
        card->setValue(QStringLiteral("full_Name_Kana"), QString::fromUtf8(row.kana));
        card->setValue(QStringLiteral("memo"), QString::fromUtf8(row.memo));
        card->setValue(QStringLiteral("folder_ID"), row.folder);
        card->setValue(QStringLiteral("deletedFlag"), row.deleted);
        cards.append(card);
    }
    return cards;
}

QStringList matching(const ManagedObjectList& cards, const RowPredicate& predicate)
{
    QStringList names;
    for (const ManagedObjectPtr& card : cards) {
        if (predicate(ListRow(*card)))
            names.append(card->stringValue(QStringLiteral("full_Name")));
    }
    return names;
}

QStringList names(const char* list)
{
    return QString::fromUtf8(list).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

const Folder kNone{};
const Folder kRoot{true, 1, "root"};
const Folder kInbox{true, 2, "inbox"};
const Folder kClients{true, 3, "clients"};

} // namespace

TEST(CardListFilters, FolderFilterAndTrash)
{
    const ManagedObjectList cards = fixture();
    const char* const all = "Ünal Yılmaz|山田 太郎|ünal without folder|Bob|Reading";
    EXPECT_EQ(matching(cards, cardListFilter(kNone)), names(all));
    // The root's plain filter leaves out the cards without a folder.
    EXPECT_EQ(matching(cards, cardListFilter(kRoot)), names("Ünal Yılmaz|山田 太郎|Bob|Reading"));
    EXPECT_EQ(matching(cards, cardListFilter(kInbox)), names("Ünal Yılmaz|Reading"));
    EXPECT_EQ(matching(cards, cardListFilter(kClients)), names("山田 太郎|Bob"));
    EXPECT_EQ(matching(cards, trashFilter()), names("Trashed ünal"));
}

TEST(CardListFilters, SearchTableOverFoldersTextsAndScopes)
{
    struct Case {
        Folder folder;
        const char* text;
        int tag;
        int displayMode;
        const char* list;
        const char* trash;
    };
    const Case cases[] = {
        // The root's search takes every folder, the card without a folder too.
        {kRoot, "ünal", 16, kDisplayModeAllColumns, "Ünal Yılmaz|ünal without folder|Bob", "Trashed ünal"},
        {kNone, "ÜNAL", 16, kDisplayModeAllColumns, "Ünal Yılmaz|ünal without folder|Bob", "Trashed ünal"},
        // A folder narrows the list, never the trash.
        {kClients, "ünal", 16, kDisplayModeAllColumns, "Bob", "Trashed ünal"},
        {kInbox, "ünal", 17, kDisplayModeAllColumns, "Ünal Yılmaz", "Trashed ünal"},
        {kClients, "ünal", 17, kDisplayModeAllColumns, "", "Trashed ünal"},
        {kRoot, "山田", 17, kDisplayModeAllColumns, "山田 太郎", ""},
        {kRoot, "gmbh", 18, kDisplayModeAllColumns, "Bob", ""},
        {kRoot, "gmbh", 17, kDisplayModeAllColumns, "", ""},
        // The readings count for "all" only when the display mode shows them.
        {kRoot, "やまだ", 16, kDisplayModeAllColumns, "Reading", ""},
        {kRoot, "やまだ", 16, kDisplayModeWithoutReadings, "", ""},
        {kRoot, "やまだ", 19, kDisplayModeAllColumns, "Reading", ""},
        // Wildcards of SQL and regular expressions are plain characters.
        {kRoot, "%", 15, kDisplayModeAllColumns, "Bob", ""},
        {kRoot, "_", 16, kDisplayModeAllColumns, "Bob", ""},
        {kRoot, ".*", 16, kDisplayModeAllColumns, "Bob", ""},
        {kRoot, "\\", 15, kDisplayModeAllColumns, "Bob", ""},
        {kRoot, "a%b", 16, kDisplayModeAllColumns, "", ""},
        {kRoot, "ünal", 99, kDisplayModeAllColumns, "", ""},
    };
    const ManagedObjectList cards = fixture();
    for (const Case& c : cases) {
        const SearchFilters filters = searchFilters(c.folder, QString::fromUtf8(c.text), c.tag, c.displayMode);
        EXPECT_EQ(matching(cards, filters.cardList), names(c.list)) << c.text << " tag " << c.tag << " folder " << c.folder.folderType;
        EXPECT_EQ(matching(cards, filters.trash), names(c.trash)) << c.text << " tag " << c.tag;
    }
    const SearchFilters longText = searchFilters(kRoot, QString(10000, QLatin1Char('u')), 16, kDisplayModeAllColumns);
    EXPECT_TRUE(matching(cards, longText.cardList).isEmpty());
}

TEST(CardListFilters, ScopeTagsNameTheirAttributes)
{
    EXPECT_EQ(searchAttributes(15, 0), QStringList{"memo"});
    EXPECT_EQ(searchAttributes(22, 0), QStringList{"job_Title"});
    EXPECT_EQ(searchAttributes(30, 0), QStringList{"web_Page_Address"});
    EXPECT_EQ(searchAttributes(16, kDisplayModeAllColumns).size(), 15);
    EXPECT_FALSE(searchAttributes(16, kDisplayModeAllColumns).contains("register_Date"));
    EXPECT_EQ(searchAttributes(16, kDisplayModeWithoutReadings).size(), 13);
}

TEST(CardListColumns, StoredPreferenceParsing)
{
    using CardListColumns::Stored;
    auto entry = [](const char* identify, const PlistValue& size) {
        PlistValue::Dictionary d;
        d.insert(QStringLiteral("identify"), QString::fromLatin1(identify));
        d.insert(QStringLiteral("size"), size);
        return PlistValue(d);
    };
    const PlistValue stored = PlistValue::Array{entry("company", 150.0),     entry("ZFULLNAME", 120.0), entry("full_Name_Kana", 90.0),
                                                entry("full_Name", 5.0),     entry("memo", 1e9),        entry("e_Mail", QStringLiteral("wide")),
                                                entry("company", 300.0),     PlistValue(QStringLiteral("junk"))};
    EXPECT_EQ(CardListColumns::storedColumns(stored, kDisplayModeWithoutReadings),
              (QList<Stored>{{"company", 150.0}, {"full_Name", 80.0}, {"memo", 1000.0}, {"e_Mail", 100.0}}));
    const QList<Stored> withReadings = CardListColumns::storedColumns(stored, kDisplayModeAllColumns);
    EXPECT_EQ(withReadings.value(1), (Stored{"full_Name_Kana", 90.0}));

    const QList<Stored> defaults{{"full_Name", 100.0}, {"company", 100.0}, {"telephone_Number", 100.0}, {"e_Mail", 100.0}};
    EXPECT_EQ(CardListColumns::storedColumns(PlistValue(), kDisplayModeAllColumns), defaults);
    EXPECT_EQ(CardListColumns::storedColumns(PlistValue::Array{entry("nothing", 100.0)}, kDisplayModeAllColumns), defaults);
    EXPECT_EQ(CardListColumns::maskOf(defaults), 0x1205u);
    // What is written back reads the same.
    EXPECT_EQ(CardListColumns::storedColumns(CardListColumns::columnInfo(withReadings), kDisplayModeAllColumns), withReadings);
}

TEST(CardListColumns, HeaderClickCycleAndSortReset)
{
    struct Case {
        QList<SortDescriptor> before;
        const char* click;
        QList<SortDescriptor> after;
    };
    const QList<SortDescriptor> byDate{{"accept_Date", false}};
    const Case clicks[] = {
        {byDate, "full_Name", {{"full_Name", true}}},
        {{{"full_Name", true}}, "full_Name", {{"full_Name", false}}},
        {{{"full_Name", false}}, "full_Name", byDate},
        {{{"full_Name", false}}, "company", {{"company", true}}},
        {{}, "company", {{"company", true}}},
        {{{"company", true}, {"full_Name", false}}, "full_Name", {{"full_Name", true}}},
    };
    auto text = [](const QList<SortDescriptor>& sort) {
        QString s;
        for (const SortDescriptor& d : sort)
            s += d.key + (d.ascending ? "+ " : "- ");
        return s.toStdString();
    };
    for (const Case& c : clicks)
        EXPECT_EQ(text(CardListColumns::afterHeaderClick(c.before, QString::fromLatin1(c.click))), text(c.after)) << text(c.before) << c.click;

    const QList<SortDescriptor> byName{{"full_Name", true}};
    EXPECT_EQ(text(CardListColumns::afterColumnRemoved(byName, "full_Name")), text(byDate));
    EXPECT_EQ(text(CardListColumns::afterColumnRemoved(byName, "company")), text(byName));
    EXPECT_EQ(text(CardListColumns::afterColumnRemoved({}, "company")), text(byDate));
}

TEST(CardTableModel, PlaceholderShortDatesOneLineCellsAndBoldNewCards)
{
    TestBundle bundle;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ManagedObjectList cards = fixture().mid(0, 2);
    cards[0]->setValue(QStringLiteral("full_Name"), QString());
    cards[0]->setValue(QStringLiteral("scanNow"), 1);
    cards[0]->setValue(QStringLiteral("register_Date"), QDateTime(QDate(2024, 3, 9), QTime(12, 0)));
    cards[1]->setValue(QStringLiteral("address"), QStringLiteral("1-2 Main St\nFloor 3"));
    ArrayController controller;
    controller.setContent(cards);
    CardTableModel list(controller, true);
    CardTableModel trash(controller, false);
    for (CardTableModel* model : {&list, &trash})
        model->setColumns({"full_Name", "register_Date", "address"});
    EXPECT_EQ(list.index(0, 0).data().toString(), QStringLiteral("IDS_NO_NAME"));
    EXPECT_TRUE(list.index(0, 0).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(list.index(0, 1).data().toString(), QStringLiteral("09.03.24"));
    EXPECT_EQ(list.index(1, 1).data().toString(), QString());
    EXPECT_EQ(list.index(1, 2).data().toString(), QStringLiteral("1-2 Main St Floor 3"));
    EXPECT_TRUE(list.index(0, 2).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(list.index(1, 0).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(trash.index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(list.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("IDS_ADDRESS"));
    QLocale::setDefault(QLocale::c());
}

TEST(CardListMenus, EachItemByItsRule)
{
    using CardListMenus::Command;
    CardListMenus::State selected;
    selected.cardRowSelected = selected.trashRowSelected = selected.trashShown = true;
    CardListMenus::State focused = selected;
    focused.trashIsFirstResponder = true;
    CardListMenus::State readOnly = focused;
    readOnly.readOnly = true;
    CardListMenus::State sheet = focused;
    sheet.sheetAttached = true;
    CardListMenus::State nothing;
    CardListMenus::State columnShown;
    columnShown.columnShown = true;
    const struct {
        Command command;
        int tag;
        CardListMenus::State state;
        bool enabled, checked;
    } cases[] = {
        {Command::RemoveRecord, 0, selected, true, false},
        {Command::RemoveRecord, 0, nothing, false, false},
        {Command::RemoveRecord, 0, readOnly, false, false},
        {Command::RemoveRecordInTrash, 0, selected, true, false},
        {Command::RemoveRecordInTrash, 0, readOnly, false, false},
        // Restore from the main menu (tag 0) wants the trash to have the focus; the contextual one does not.
        {Command::ReturnRecord, 0, selected, false, false},
        {Command::ReturnRecord, 0, focused, true, false},
        {Command::ReturnRecord, 1, selected, true, false},
        {Command::ReturnRecord, 1, nothing, false, false},
        {Command::ReturnRecord, 1, readOnly, false, false},
        {Command::ShowTrashTable, 0, selected, true, true},
        {Command::ShowTrashTable, 0, readOnly, true, true},
        {Command::ShowTrashTable, 0, nothing, true, false},
        {Command::Column, 4, columnShown, true, true},
        {Command::Column, 4, nothing, true, false},
        {Command::Other, 0, readOnly, true, false},
    };
    for (const auto& c : cases) {
        const CardListMenus::Validation v = CardListMenus::validateMenuItem(c.command, c.tag, c.state);
        EXPECT_EQ(v.enabled, c.enabled) << int(c.command) << " tag " << c.tag;
        EXPECT_EQ(v.checked, c.checked) << int(c.command) << " tag " << c.tag;
    }
    for (Command command : {Command::RemoveRecord, Command::RemoveRecordInTrash, Command::ReturnRecord, Command::ShowTrashTable,
                            Command::Column, Command::Other})
        EXPECT_FALSE(CardListMenus::validateMenuItem(command, 1, sheet).enabled) << "a sheet turns off " << int(command);
}
