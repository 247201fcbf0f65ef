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

// The export items and the Address Book items, in menu order (a null action is a separator).
constexpr CommandItem kCommandItems[] = {
    {"onExport", "IDS_EXPORT_BAR", &PLMainWindowController::onExport},
    {"exportVCard", "IDS_FILE_EXPORT_TYPE_VCARD", &PLMainWindowController::exportVCard},
    {"exportCSV", "IDS_FILE_EXPORT_TYPE_CSV", &PLMainWindowController::exportCSV},
    {"exportText", "IDS_FILE_EXPORT_TYPE_TEXT", &PLMainWindowController::exportText},
    {nullptr, nullptr, nullptr},
    {"connectAddOnly", "IDS_MAINWINDOW_SUBMENU_ADDRESSBOOK_ADD", &PLMainWindowController::connectAddOnly},
    {"connectAddressBook", "IDS_MAINWINDOW_SUBMENU_ADDRESSBOOK_SYNC", &PLMainWindowController::connectAddressBook},
};

} // namespace

void PLMainWindowController::createExportAndAddressBookMenus()
{
    QMenu* menu = new QMenu(getLocalString(QStringLiteral("IDS_EXPORT_BAR")), m_window.get());
    m_exportMenu = menu;
    menu->setObjectName(QStringLiteral("exportMenu"));
    QList<QAction*> items;
    for (const CommandItem& item : kCommandItems) {
        if (!item.action) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(getLocalString(QString::fromLatin1(item.titleKey)));
        action->setObjectName(QString::fromLatin1(item.action));
        connect(action, &QAction::triggered, this, item.slot);
        items.append(action);
    }
    connect(menu, &QMenu::aboutToShow, this, [this, items] {
        for (QAction* action : items) {
            action->setEnabled(validateMenuItem(action->objectName()));
            action->setCheckable(action->objectName().startsWith(QStringLiteral("export")));
        }
        const int checkedState[] = {1, 2, 3};
        for (int i = 1; i <= 3; ++i)
            items[i]->setChecked(_iExportButtonState == checkedState[i - 1]);
    });
    connect(m_ui._exportBarButton, &QToolButton::clicked, this, &PLMainWindowController::onExport);
}

bool PLMainWindowController::validateMenuItem(const QString& action) const
{
    if (hasAttachedSheet())
        return false;
    const bool readOnly = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly;
    const bool selected = !_acWndCard->selectedObjects().isEmpty();
    if (action == QLatin1String("onExport") || action.startsWith(QLatin1String("export")) || action == QLatin1String("print"))
        return selected;
    if (action == QLatin1String("printPagesSetting"))
        return true;
    if (action == QLatin1String("onMail"))
        return validateToolbarItem(QString::fromLatin1(ToolbarItems::kMail));
    if (action == QLatin1String("onExplorer"))
        return validateToolbarItem(QString::fromLatin1(ToolbarItems::kExplorer));
    if (action == QLatin1String("connectAddOnly"))
        return !readOnly && selected;
    if (action == QLatin1String("recognize"))
        return !readOnly && (toolbarState().toolBits & ToolbarValidation::kRecognizable);
    if (action == QLatin1String("onRotateBar") || action == QLatin1String("onSwapBar") || action == QLatin1String("onRemoveBar")
        || action == QLatin1String("onMergeBar")) {
        const ToolbarValidation::State state = toolbarState();
        if (action == QLatin1String("onRotateBar"))
            return !readOnly && (state.toolBits & ToolbarValidation::kRotatable);
        if (action == QLatin1String("onMergeBar"))
            return !readOnly && (state.toolBits & ToolbarValidation::kBackAddable) && !state.rootFolderSelected;
        return !readOnly && (state.toolBits & ToolbarValidation::kBackSide);
    }
    if (action == QLatin1String("connectAddressBook"))
        return !readOnly && m_database.isOpen();
    return false;
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
    showExportResult(PLExporter::ExportToCSV(path, getSeleteRecords()), "ExportToCSV failed:%d\n");
}

void PLMainWindowController::doExportTEXT(const QString& path)
{
    showExportResult(PLExporter::ExportToText(path, getSeleteRecords()), "ExportToText failed:%d\n");
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
