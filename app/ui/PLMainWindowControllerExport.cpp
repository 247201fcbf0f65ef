// The export commands: the export bar, the format choices and the file exports of the selected
// cards, each writing where the user's panel says.
#include "app/ui/PLMainWindowController.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/DiskUtilities.h"
#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/Logging.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/export/PLExporter.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/ToolbarItems.h"
#include "platform/appkit/PanelService.h"
#include "platform/appkit/Scheduler.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QToolButton>

namespace {

struct CommandItem {
    const char* action;
    const char* titleKey;
    void (PLMainWindowController::*slot)();
};

// The export items, in menu order.
constexpr CommandItem kCommandItems[] = {
    {"onExport", "IDS_EXPORT_BAR", &PLMainWindowController::onExport},
    {"exportVCard", "IDS_FILE_EXPORT_TYPE_VCARD", &PLMainWindowController::exportVCard},
    {"exportCSV", "IDS_FILE_EXPORT_TYPE_CSV", &PLMainWindowController::exportCSV},
    {"exportText", "IDS_FILE_EXPORT_TYPE_TEXT", &PLMainWindowController::exportText},
};

// The Address Book submenu's items, titled in the newer wording where there is one.
constexpr CommandItem kAddressBookItems[] = {
    {"connectAddOnly", "IDS_MAINWINDOW_SUBMENU_ADDRESSBOOK_ADD", &PLMainWindowController::connectAddOnly},
    {"connectAddressBook", "IDS_MAINWINDOW_SUBMENU_ADDRESSBOOK_SYNC", &PLMainWindowController::connectAddressBook},
};

} // namespace

void PLMainWindowController::createExportAndAddressBookMenus()
{
    QMenu* menu = new QMenu(getLocalString(QStringLiteral("IDS_EXPORT_BAR")), m_window.get());
    m_exportMenu = menu;
    menu->setObjectName(QStringLiteral("exportMenu"));
    menu->setToolTipsVisible(true);
    for (const CommandItem& item : kCommandItems) {
        QAction* action = addMenuItem(menu, QString::fromLatin1(item.action), getLocalString(QString::fromLatin1(item.titleKey)));
        connect(action, &QAction::triggered, this, item.slot);
    }
    menu->addSeparator();
    QMenu* addressBook = addAddressBookMenu(menu);
    addressBook->setObjectName(QStringLiteral("addressBookMenu"));
    // The photo applications, each shown only when installed (the toolbar's decoration).
    m_photoMenu = menu->addMenu(getLocalString(QStringLiteral("IDS_FILE_EXPORT_TYPE_IPHOTO")));
    m_photoMenu->setToolTipsVisible(true);
    adoptMenuItem(m_photoMenu->menuAction(), QStringLiteral("exportPhotosMainMenu"));
    const std::pair<const char*, void (PLMainWindowController::*)()> photos[] = {
        {"exportPhotos", &PLMainWindowController::exportPhotos}, {"exportiPhoto", &PLMainWindowController::exportiPhoto}};
    for (const auto& [action, slot] : photos) {
        const QString name = QString::fromLatin1(action);
        const QString title = getLocalString(name == QLatin1String("exportPhotos") ? QStringLiteral("IDS_PHOTOS_BAR") : QStringLiteral("IDS_IPHOTO_BAR"));
        connect(addMenuItem(m_photoMenu, name, title), &QAction::triggered, this, slot);
    }
    // The linked applications, filled by updateAllExtAppLinageMenu.
    m_extAppMenu = addExtAppLinkageMenu(menu);
    m_extAppMenu->setObjectName(QStringLiteral("extAppLinkageMenu"));
    for (QMenu* validated : {menu, addressBook, m_photoMenu, m_extAppMenu})
        connect(validated, &QMenu::aboutToShow, this, [this, validated] { validateMenuItems(validated); });
    connect(m_ui._exportBarButton, &QToolButton::clicked, this, &PLMainWindowController::onExport);
}

QMenu* PLMainWindowController::addAddressBookMenu(QMenu* parent)
{
    QMenu* addressBook = parent->addMenu(getLocalString(getProperKey(QStringLiteral("IDS_CONNECT_APP_ADDRESSBOOK"))));
    for (const CommandItem& item : kAddressBookItems) {
        const QString title = getLocalString(getProperKey(QString::fromLatin1(item.titleKey)));
        connect(addMenuItem(addressBook, QString::fromLatin1(item.action), title), &QAction::triggered, this, item.slot);
    }
    return addressBook;
}

QMenu* PLMainWindowController::addExtAppLinkageMenu(QMenu* parent)
{
    // Filled by updateAllExtAppLinageMenu; off while it holds nothing.
    QMenu* linkage = parent->addMenu(getLocalString(QStringLiteral("IDS_APPLICATION_BAR")));
    linkage->setToolTipsVisible(true);
    linkage->menuAction()->setEnabled(false);
    return linkage;
}

void PLMainWindowController::createCardListContextualMenus()
{
    QMenu* contextual = _cardListContronller->cardTableMenu();
    contextual->addSeparator();
    QMenu* addressBook = addAddressBookMenu(contextual);
    addressBook->menuAction()->setObjectName(QStringLiteral("_menuItemCardListContextualMenuAddressBook"));
    _cardListContextualMenuExtAppLinage = addExtAppLinkageMenu(contextual);
    _cardListContextualMenuExtAppLinage->setObjectName(QStringLiteral("_cardListContextualMenuExtAppLinage"));
    for (QMenu* validated : {addressBook, _cardListContextualMenuExtAppLinage})
        connect(validated, &QMenu::aboutToShow, this, [this, validated] { validateMenuItems(validated); });
}

void PLMainWindowController::onExport()
{
    endFolderNameEditing();
    // A shortcut or the bar can fire while the menu's enabling is stale.
    if (!validateMenuItem(QStringLiteral("onExport")))
        return;
    PanelRequest request;
    request.window = m_window.get();
    request.prompt = getLocalString(QStringLiteral("IDS_SAVE_PROMPT"));
    if (_iExportButtonState == 1) {
        request.title = getLocalString(QStringLiteral("IDS_SAVE_VCARD"));
        request.chooseDirectories = true;
        const QStringList folders = PanelService::current().runOpenPanel(request);
        if (!folders.isEmpty())
            performLater([this, folder = folders.first()] { doExportVcard(folder); });
        return;
    }
    struct SaveRow {
        const char* titleKey;
        const char* type;
        void (PLMainWindowController::*write)(const QString&);
    };
    static const SaveRow rows[] = {
        {"IDS_SAVE_CSV", "csv", &PLMainWindowController::doExportCSV},
        {"IDS_SAVE_TEXT", "txt", &PLMainWindowController::doExportTEXT},
        {"IDS_SAVE_XML", "xml", &PLMainWindowController::doExportXML},
    };
    if (_iExportButtonState < 2 || _iExportButtonState > 4)
        return;
    const SaveRow& row = rows[_iExportButtonState - 2];
    request.title = getLocalString(QString::fromLatin1(row.titleKey));
    request.allowedTypes = {QString::fromLatin1(row.type)};
    const QString path = PanelService::current().runSavePanel(request);
    if (!path.isEmpty())
        performLater([this, path, write = row.write] { (this->*write)(path); });
}

void PLMainWindowController::showExportResult(int result, const char* logFormat)
{
    if (result == 0)
        return;
    PLprintf(QString::fromLatin1(logFormat), result);
    if (!PLNetDBLockController::ShowErrorMessageAlertSheetByPathType(m_window.get()))
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), result);
}

void PLMainWindowController::doExportVcard(const QString& path)
{
    showExportResult(PLExporter::ExportToVCard(path, getSeleteRecords()), "ExportToVCard failed:%d\n");
}

void PLMainWindowController::doExportCSV(const QString& path)
{
    showExportResult(PLExporter::ExportToCSV(path, _acWndCard->selectedObjects()), "ExportToCSV failed:%d\n");
}

void PLMainWindowController::doExportTEXT(const QString& path)
{
    showExportResult(PLExporter::ExportToText(path, _acWndCard->selectedObjects()), "ExportToText failed:%d\n");
}

void PLMainWindowController::doExportXML(const QString& path)
{
    showExportResult(PLExporter::ExportToXML(path, getSeleteRecords()), "ExportToXML failed:%d\n");
}

void PLMainWindowController::exportVCard()
{
    applyExportRow(1, false);
}

void PLMainWindowController::exportCSV()
{
    applyExportRow(2, false);
}

void PLMainWindowController::exportText()
{
    applyExportRow(3, false);
}

bool PLMainWindowController::passesWriteGuards()
{
    return passesFolderGuard() && passesSpaceGuard(m_database.folder());
}

void PLMainWindowController::performLater(std::function<void()> call)
{
    Scheduler::performOnMainThread([window = QPointer<PLMainWindowController>(this), call = std::move(call)] {
        if (window)
            call();
    });
}
