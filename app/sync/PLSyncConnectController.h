// Synchronisation of the open database's cards with the user's address book (a folder of vCard
// files, platform/addressbook).
//
// One controller per command, run once on the main thread: `connectAddressBook` pulls every
// person into a matching card (or a new card in the Inbox), pushes every live named card that
// no person matched as a new person, then saves the book; `connectAddOnly` adds the selected
// cards as persons. Nothing is deleted on either side.
//
// A card and the person written from it are one: the person's UID is the card's ID. A run pairs
// each person with the live card of its UID first, so an edit on either side (of the name, the
// company, the e-mail) changes that pair and makes no second one; a person of another program
// meets a card by first, middle and family name, company and work e-mail, afresh each run. The
// add command updates the person of a card that has one. A value the pair holds in a list of
// the person (numbers, e-mail, web page, address) follows the winning side: it replaces the
// entry it was read from, or the card takes that entry.
//
// Each command opens its own address book and drops it at the end, so person changes that a
// failed command left unsaved are never written by a later one. Card changes stay in the
// context for the main window to save.
#pragma once

#include "app/images/CardRecord.h"
#include "app/sync/PLSyncHost.h"
#include "platform/addressbook/AddressBook.h"
#include "platform/store/ManagedObject.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class PLSyncConnectController {
public:
    // Conflict modes: which side wins when both hold different values.
    static constexpr int kSelectNone = 0;
    static constexpr int kSelectCardWins = 2;
    static constexpr int kSelectAddressBookWins = 3;

    // Results of the commands and their steps.
    static constexpr int kMissingArgument = 3;
    static constexpr int kPullFailed = 105;
    static constexpr int kPushFailed = 106;
    static constexpr int kMergeFailed = 107;
    static constexpr int kSaveFailed = 108; // also: a new person could not be made
    static constexpr int kNewCardFailed = 109;
    static constexpr int kNewPersonFailed = 110;
    static constexpr int kAddressBookError = 130;
    static constexpr int kNoInbox = 202;

    PLSyncConnectController();

    void setMainController(PLSyncHost* mainController) { _mainWndController = mainController; }
    void setSelectStatus(int selectType) { _iSelectType = selectType; }
    // The address book's folder for the next command; addressBookFolder() until set.
    void setAddressBookFolder(const QString& folder) { m_folder = folder; }

    // The full run: 0, 105, 106, 108, or 130 (the address book cannot be opened or another run
    // holds it, or a failure was thrown, running out of memory included; logged).
    int connectAddressBook();
    // Adds the selected cards: 0, 106, 108 or 130.
    int connectAddOnly();

    // What the user is told after a command besides its result, localised: the files of the
    // book that could not be read, those left as another program wrote them during the run, or
    // that another run held the book; empty when there is nothing to tell. Each list names at most
    // kReportedFiles files, then how many more (all of them are logged).
    QString runReport() const;
    static constexpr int kReportedFiles = 20;
    QStringList unreadFiles() const { return m_unreadFiles; }
    QStringList filesChangedElsewhere() const { return m_changedElsewhere; }

    // Whether the last command failed for want of space where the address book lies.
    bool lackedDiskSpace() const { return m_lackedDiskSpace; }
    bool getIsShowMsg() const { return _bMessage; }
    bool hasDataAdded() const { return _didAddData; }
    const ManagedObjectList& addedData() const { return _arrAddedData; }

    // --- steps, in the order the commands call them

    int pullData();
    int pushData();
    int pushDataOnly(const ManagedObjectList& cards);
    bool saveAddressBook();

    QList<ABPerson*> getADData() const;
    ManagedObjectList getPLData();
    // The cards that match a person: live, equal in the three names and the company (an empty
    // value matching an empty or missing one), and with one of the work e-mails as `e_Mail` (or
    // an empty or missing one when there is none); in store order. A card that the person of its
    // UID holds is left out: it is that person's.
    ManagedObjectList getSameKeyManage(const QString& first, const QString& middle, const QString& family,
                                       const QString& company, const QStringList& emails);
    int mergeData(const ManagedObjectPtr& card, ABPerson* person);
    void mergeSingleValue(const QVariant& plValue, const QVariant& adValue, const ManagedObjectPtr& card, ABPerson* person,
                          const QString& plKey, ABProperty adKey, int preState);

    // --- the field maps between cards and persons

    // The person's values keyed by card attribute names; a key only for a value the person has,
    // cut to the length the card keeps. A number, e-mail or web page of no type stands for the
    // work one when the person has none.
    CardDict analysisABperson(const ABPerson* person) const;
    // The values of the person's work e-mail entries that are not empty, in order (of its e-mail
    // entries of no type when it has no work one).
    QStringList getEmailsOfAD(const ABPerson* person) const;
    // A new person from the card, whose UID is the card's `cardID`.
    int addDataToAD(const CardDict& card);
    // A new card from the person; `cardID` (when not empty) is its ID, so that it stays the person's pair.
    int addDataToPL(const CardDict& person, const QString& cardID = QString());
    // The contact's UID as the ID of a card made from it, when it is fit for one (a file name's
    // characters, no other card's ID); empty otherwise.
    QString cardIDForContact(const QString& uid);
    void setAddressFormat(ABAddress* address) const;

    static QString getAddingPercentString(const QVariant& value);
    static QString getReplacingPercentString(const QVariant& value);
    // "" for an invalid or null value, else its text untrimmed.
    static QString setStrNullToEmpty(const QVariant& value);
    // False as soon as one of `keys` that the dictionary holds has a value that is not empty.
    static bool checkSpecifyItemIsNull(const CardDict& dict, const QStringList& keys);
    // "prefix first middle family suffix", or "prefix family middle first suffix" for East Asian text.
    static QString composePLName(const QVariant& first, const QVariant& second, const QVariant& third,
                                 const QVariant& prefix, const QVariant& suffix);
    // Language 1: "family middle first"; else "first middle family".
    static QString composePLYomi(const QVariant& first, const QVariant& second, const QVariant& third, int language);
    // State, then city, then street, one a line; an empty city keeps its line when a street follows.
    static QString composePLAdress(const QVariant& street, const QVariant& city, const QVariant& state);

private:
    // One item of a card kept in an entry of a person's list: a number, the e-mail, the web page.
    struct ListItem {
        const QString& key;
        ABProperty property;
        const QString& label;
        bool untypedToo; // an entry of no type stands for the label's when there is none
        const QString& syncKey;
    };
    bool mergeListItem(const ListItem& item, ABMultiValue* values, const ManagedObjectPtr& card, const CardDict& cd);
    // What the card holds of an entry's value (percent escapes replaced for a web page), cut.
    QString cardValueOfEntry(const ListItem& item, const QString& value) const;
    // The entry a card's item is read from: the first with `label`, else, where an entry of no
    // type stands for it (`untypedToo`), the first such; -1 when there is none.
    static int takenEntry(const ABMultiValue& values, const QString& label, bool untypedToo);
    // The value as the card keeps it: no longer than its field.
    static QString cutForCard(const QString& key, const QString& value);
    // Sets a card value, unless the command leaves the cards as they are.
    void takeIntoCard(const ManagedObjectPtr& card, const QString& key, const QVariant& value);

    bool readingsOn() const;
    bool openAddressBook();
    // Opens the book, runs `push` (and the pull before it) and saves; a thrown failure is logged
    // and answered with 130. The book is dropped at the end, saved or not.
    int runWithAddressBook(const std::function<int()>& push);
    void mergeAddress(const ManagedObjectPtr& card, ABPerson* person, const CardDict& cd, const CardDict& pd);
    // The persons of the book by the live card of their UID, each card taken once.
    void pairByUid();

    int _iSelectType = kSelectNone;
    PLSyncHost* _mainWndController = nullptr;
    QSet<QString> _arrMergedID;
    std::unique_ptr<AddressBook> _addressBook;
    bool _bMessage = false;
    int _flagSyncItems = 0;
    bool _didAddData = false;
    ManagedObjectList _arrAddedData;
    QString m_folder;
    QStringList m_unreadFiles;
    QStringList m_changedElsewhere;
    bool m_busy = false;
    bool m_lackedDiskSpace = false; // the last save failed for want of space
    bool m_cardsUntouched = false; // the add command changes persons only

    QHash<const ABPerson*, ManagedObjectPtr> m_pairedByUid;
    QSet<const ManagedObject*> m_cardsPairedByUid;
    std::optional<QSet<QString>> m_takenCardIDs; // every card's ID, read when first needed

    // The live cards as the run began, by their match keys, and each card's place in store order.
    ManagedObjectList m_liveCards;
    bool m_matchIndexBuilt = false;
    QHash<QStringList, ManagedObjectList> m_matchIndex;
    QHash<const ManagedObject*, int> m_storeOrder;
};
