#include "app/ui/PLCardListController.h"

#include "app/ui/CardTableModel.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/SelectionBridge.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

namespace {

const char* const kColumnKeys[] = {"full_Name", "full_Name_Kana", "company", "company_Kana", "department", "job_Title",
                                   "zip_PostalCode", "address", "country", "telephone_Number", "fax_Number", "mobile_Number",
                                   "e_Mail", "web_Page_Address", "memo", "register_Date"};

int columnBit(const QString& key)
{
    for (int bit = 0; bit < 16; ++bit) {
        if (key == QLatin1String(kColumnKeys[bit]))
            return 1 << bit;
    }
    return 0;
}

struct Column {
    QString key;
    double size;
};

// The stored columns; the four default ones when the preference holds no usable column.
QList<Column> storedColumns(const char* preferenceKey)
{
    QList<Column> columns;
    const PlistValue stored = PreferenceDomain::standard().value(QString::fromLatin1(preferenceKey));
    for (const PlistValue& entry : stored.toArray()) {
        const QString key = entry.value(QStringLiteral("identify")).toString();
        const double size = entry.value(QStringLiteral("size")).toReal(100.0);
        if (columnBit(key) && size > 0 && size < 10000)
            columns.append({key, size});
    }
    if (columns.isEmpty()) {
        for (const char* key : {"full_Name", "company", "telephone_Number", "e_Mail"})
            columns.append({QString::fromLatin1(key), 100.0});
    }
    return columns;
}

void applyColumns(QTableView* table, CardTableModel* model, const QList<Column>& columns)
{
    QStringList keys;
    for (const Column& column : columns)
        keys.append(column.key);
    model->setColumns(keys);
    for (int i = 0; i < columns.size(); ++i)
        table->setColumnWidth(i, int(columns[i].size));
}

PlistValue columnInfo(const QTableView* table, const CardTableModel* model)
{
    PlistValue::Array info;
    if (!table || !model)
        return info;
    const QHeaderView* header = table->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        PlistValue::Dictionary column;
        column.insert(QStringLiteral("identify"), model->columns().value(logical));
        column.insert(QStringLiteral("size"), double(header->sectionSize(logical)));
        info.append(column);
    }
    return info;
}

} // namespace

PLCardListController::PLCardListController(QObject* parent) : QObject(parent) {}

PLCardListController::~PLCardListController() = default;

void PLCardListController::awakeFromNib()
{
    if (!m_tableViewCard || !_trashTableView || !_acWndCard || !_acWndCardInTrash)
        return;
    m_cardModel = new CardTableModel(*_acWndCard, this);
    m_trashModel = new CardTableModel(*_acWndCardInTrash, this);
    m_tableViewCard->setModel(m_cardModel);
    _trashTableView->setModel(m_trashModel);
    applyColumns(m_tableViewCard, m_cardModel, storedColumns(kColumnInfoKey));
    applyColumns(_trashTableView, m_trashModel, storedColumns(kTrashColumnInfoKey));
    m_cardBridge = new SelectionBridge(*_acWndCard, *m_tableViewCard->selectionModel(), this);
    m_trashBridge = new SelectionBridge(*_acWndCardInTrash, *_trashTableView->selectionModel(), this);
    connect(_acWndCard, &ArrayController::selectionChanged, this, &PLCardListController::selectionDidChange);
    _acWndCardInTrash->setFilterPredicate(keyEquals(QStringLiteral("deletedFlag"), 1));
}

void PLCardListController::reloadCards(ManagedObjectContext* context)
{
    const ManagedObjectList cards = context ? context->executeFetchRequest({QString::fromLatin1(CardStore::kEntityCard), {}, {}}) : ManagedObjectList();
    if (_acWndCard)
        _acWndCard->setContent(cards);
    if (_acWndCardInTrash)
        _acWndCardInTrash->setContent(cards);
}

QString PLCardListController::selectedFolderFilterID() const
{
    const TreeNode* folder = _outlineViewController ? _outlineViewController->getSelectedItem() : nullptr;
    return folder && folder->folderType != 1 ? folder->folderID : QString();
}

void PLCardListController::setPredicate()
{
    setSearchPredicate(QString());
}

void PLCardListController::setSearchPredicate(const QString& text)
{
    if (!_acWndCard)
        return;
    const QString folderID = selectedFolderFilterID();
    _acWndCard->setFilterPredicate([folderID, text](const ManagedObject& card) {
        if (card.value(QStringLiteral("deletedFlag")).toInt() == 1)
            return false;
        const QString folder = card.stringValue(QStringLiteral("folder_ID"));
        if (folderID.isEmpty() ? folder.isEmpty() : folder != folderID)
            return false;
        return text.isEmpty() || card.stringValue(QStringLiteral("full_Name")).contains(text, Qt::CaseInsensitive)
            || card.stringValue(QStringLiteral("company")).contains(text, Qt::CaseInsensitive);
    });
}

int PLCardListController::currentSelected() const
{
    return m_tableViewCard && m_tableViewCard->selectionModel() ? SelectionBridge::selectedRow(*m_tableViewCard->selectionModel()) : -1;
}

bool PLCardListController::selectCardWithID(const QString& cardID)
{
    return selectCardsWithIDs({cardID}) == 1;
}

int PLCardListController::selectCardsWithIDs(const QStringList& cardIDs)
{
    if (!_acWndCard)
        return 0;
    const ManagedObjectList& cards = _acWndCard->arrangedObjects();
    QList<int> rows;
    for (const QString& cardID : cardIDs) {
        for (int row = 0; row < cards.size(); ++row) {
            if (!cardID.isEmpty() && cards[row]->stringValue(QStringLiteral("cardID")) == cardID)
                rows.append(row);
        }
    }
    if (rows.isEmpty())
        return 0;
    _acWndCard->setSelectionIndexes(rows);
    if (m_tableViewCard && m_cardModel)
        m_tableViewCard->scrollTo(m_cardModel->index(rows.last(), 0));
    return int(rows.size());
}

int PLCardListController::returnDisMenu() const
{
    int mask = 0;
    if (m_cardModel) {
        for (const QString& key : m_cardModel->columns())
            mask |= columnBit(key);
    }
    return mask;
}

PlistValue PLCardListController::returnTVColumnInfo() const
{
    return columnInfo(m_tableViewCard, m_cardModel);
}

PlistValue PLCardListController::returnTrashTVColumnInfo() const
{
    return columnInfo(_trashTableView, m_trashModel);
}

bool PLCardListController::validateUndoInTrashTable() const
{
    return m_tableViewCard && m_tableViewCard->window()->focusWidget() == m_tableViewCard && _undoManager && _undoManager->hasUndoRecords();
}

PLCardListUndoManager* PLCardListController::undoManagerForTableView(const QTableView* table)
{
    if (!table || table != m_tableViewCard)
        return nullptr;
    if (!_undoManager) {
        _undoManager = std::make_unique<PLCardListUndoManager>();
        _undoManager->setController({[this] { return validateUndoInTrashTable(); }, [this] { return doCheckBeforeUndo(); }});
        _undoManager->setLevelsOfUndo(1);
    }
    return _undoManager.get();
}
