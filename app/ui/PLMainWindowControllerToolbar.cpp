// The main window's toolbar: item templates by identifier, the stored item order and display
// mode, enabling by the card list's and the image pane's state, the export and recognise bars
// from the preferences, and the card tables' layout saved when the window closes.
//
// Items that show a view of the window hold it in a container with a caption; in the label-only
// mode the view gives way to a button with the label, which switches back to icon and label, but
// for the search field, which stays with its label.
// The toolbar's context menu chooses the display mode and opens the customisation window; the
// item order and display mode are stored as soon as the user changes them.
#include "app/core/ApplicationLookup.h"
#include "app/core/BundleImage.h"
#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/export/PLExporter.h"
#include "app/export/PhotoApplications.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLImageController.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/ToolbarCustomiseWindow.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/logic/ToolbarItems.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

using namespace ToolbarItems;

namespace {

constexpr const char* kToolbarConfigurationKey = "NSToolbar Configuration Pelmora Toolbar Identifier";
constexpr const char* kItemIdentifiersKey = "TB Item Identifiers";
constexpr const char* kDisplayModeKey = "TB Display Mode";
constexpr const char* kExportModeKey = "export mode";
constexpr const char* kRecognizeLanguageKey = "recognize language";
constexpr const char* kSynchronizationStateKey = "synchronization state";
constexpr const char* kRecognizeStateKey = "Pelmora userinfo key of preferences recognize state";
constexpr const char* kExportStateKey = "Pelmora userinfo key of preferences export state";
constexpr const char* kMenuFormProperty = "menuForm";
constexpr const char* kCaptionProperty = "caption";
constexpr const char* kViewProperty = "itemView";

QString localised(const char* key, bool proper = false)
{
    const QString name = QString::fromLatin1(key);
    return getLocalString(proper ? getProperKey(name) : name);
}

std::optional<qint64> numberPreference(const char* key)
{
    const PlistValue value = PreferenceDomain::standard().value(QString::fromLatin1(key));
    return value.isNumber() ? std::optional<qint64>(value.toInteger()) : std::nullopt;
}

} // namespace

void PLMainWindowController::createToolbar()
{
    m_toolbar = new QToolBar(m_window.get());
    m_toolbar->setObjectName(QString::fromLatin1(kToolbarIdentifier));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_window->addToolBar(m_toolbar);

    const QMap<QString, QWidget*> views = {
        {QStringLiteral("_exportBarView"), m_ui._exportBarView},     {QStringLiteral("_searchView"), m_ui._searchView},
        {QStringLiteral("_recognizeBarView"), m_ui._recognizeBarView}, {QStringLiteral("_imageOperationBarView"), m_ui._imageOperationBarView},
        {QStringLiteral("_imageEditBarView"), m_ui._imageEditBarView}, {QStringLiteral("_dataEditBarView"), m_ui._dataEditBarView},
        {QStringLiteral("_syncPopupView"), m_ui._syncPopupView},     {QStringLiteral("_viewIphoto"), m_ui._viewIphoto},
        {QStringLiteral("_viewApp"), m_ui._viewApp},
    };
    for (const Item& item : items()) {
        const QString identifier = QString::fromLatin1(item.identifier);
        const QString label = localised(item.labelKey, item.properKeys);
        QAction* action = nullptr;
        if (item.viewOutlet) {
            auto* widgetAction = new QWidgetAction(m_toolbar);
            auto* container = new QWidget(m_toolbar);
            container->setObjectName(identifier);
            auto* layout = new QVBoxLayout(container);
            layout->setContentsMargins(2, 0, 2, 0);
            layout->setSpacing(0);
            QWidget* view = views.value(QString::fromLatin1(item.viewOutlet));
            auto* caption = new QLabel(label, container);
            caption->setAlignment(Qt::AlignHCenter);
            auto* menuForm = new QToolButton(container);
            menuForm->setText(label);
            menuForm->setAutoRaise(true);
            menuForm->setAccessibleName(label);
            menuForm->hide();
            connect(menuForm, &QToolButton::clicked, this, &PLMainWindowController::onToolbarItemMenuItem);
            for (QToolButton* button : view->findChildren<QToolButton*>()) {
                button->setAutoRaise(true);
                button->setIconSize(m_toolbar->iconSize());
            }
            layout->addWidget(view, 0, Qt::AlignHCenter);
            layout->addWidget(caption);
            layout->addWidget(menuForm);
            container->setProperty(kViewProperty, QVariant::fromValue(static_cast<QObject*>(view)));
            container->setProperty(kCaptionProperty, QVariant::fromValue(static_cast<QObject*>(caption)));
            container->setProperty(kMenuFormProperty, QVariant::fromValue(static_cast<QObject*>(menuForm)));
            widgetAction->setDefaultWidget(container);
            action = widgetAction;
        } else {
            action = new QAction(bundleImage(QString::fromLatin1(item.image)), label, m_toolbar);
            connect(action, &QAction::triggered, this, [this, identifier] { emit toolbarItemTriggered(identifier); });
        }
        action->setObjectName(identifier);
        action->setText(label);
        action->setIconText(label);
        if (item.toolTipKey)
            action->setToolTip(localised(item.toolTipKey, item.properKeys));
        _toolbarItems.insert(identifier, action);
    }
    m_ui._displayDataEditViewMenuItem->setText(localised("IDS_SITE_BAR"));
    createToolbarMenu();

    // The stored order and display mode; a fresh user gets the defaults.
    const PlistValue stored = PreferenceDomain::standard().value(QString::fromLatin1(kToolbarConfigurationKey));
    m_toolbarIdentifiers.clear();
    const QStringList allowed = allowedItemIdentifiers();
    const QStringList retired{QString::fromLatin1(kSwap), QString::fromLatin1(kSynchronization), QString::fromLatin1(kCloudConnect)};
    for (const PlistValue& id : stored.value(QString::fromLatin1(kItemIdentifiersKey)).toArray()) {
        const QString identifier = id.toString();
        if (allowed.contains(identifier) || retired.contains(identifier))
            m_toolbarIdentifiers.append(identifier);
    }
    if (m_toolbarIdentifiers.isEmpty())
        m_toolbarIdentifiers = defaultItemIdentifiers();
    const int mode = int(stored.value(QString::fromLatin1(kDisplayModeKey)).toInteger(1));
    m_toolbarDisplayMode = mode >= 1 && mode <= 3 ? mode : 1;

    // The export and recognise pop-ups choose a format and a language.
    QMenu* formats = m_ui._exportBarPopUpButton->menu();
    for (int state = 1; state <= 4; ++state) {
        const ExportFormat& format = exportFormat(state);
        QAction* choice = formats->addAction(bundleImage(QString::fromLatin1(format.image)), localised(format.statusTextKey));
        connect(choice, &QAction::triggered, this, [this, state] { applyExportRow(state, false); });
    }
    QMenu* languages = m_ui._recognizeBarPopUpButton->menu();
    for (int state : kRecognizeMenuOrder) {
        const Language& row = language(state);
        QAction* choice = languages->addAction(bundleImage(QString::fromLatin1(row.image)), localised(row.languageTextKey));
        connect(choice, &QAction::triggered, this, [this, state] { applyRecognizeRow(state, QString::fromLatin1(language(state).languageTextKey)); });
    }

    // The pull-downs' commands, validated as the menus' items are when they open.
    const struct {
        QToolButton* button;
        int index;
        const char* action;
        void (PLMainWindowController::*slot)();
    } commands[] = {
        {m_ui._syncPopupBtn, 1, "connectAddOnly", &PLMainWindowController::connectAddOnly},
        {m_ui._syncPopupBtn, 2, "connectAddressBook", &PLMainWindowController::connectAddressBook},
        {m_ui._IphotoPopButton, 1, "exportPhotos", &PLMainWindowController::exportPhotos},
        {m_ui._IphotoPopButton, 2, "exportiPhoto", &PLMainWindowController::exportiPhoto},
    };
    for (const auto& command : commands) {
        QAction* item = pullDownItem(command.button, command.index);
        adoptMenuItem(item, QString::fromLatin1(command.action));
        connect(item, &QAction::triggered, this, command.slot);
    }
    for (QToolButton* button : {m_ui._syncPopupBtn, m_ui._IphotoPopButton, m_ui._popUpBtnApp}) {
        QMenu* menu = button->menu();
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { validateMenuItems(menu); });
    }

    rebuildToolbar();
    initailizeExportBar();
    initailizeRecognizeBar();
    addImageForToolBarItem();
}

void PLMainWindowController::addImageForToolBarItem()
{
    struct Decoration {
        QToolButton* button;
        int index;
        const char* image;
        const char* toolTipKey;
        bool proper;
    };
    const Decoration decorations[] = {
        {m_ui._dataEditBarSegControl, 0, "TB_detail", nullptr, false},
        {m_ui._imageEditPopButton, 0, "image_sosa.png", nullptr, false},
        {m_ui._imageEditPopButton, 1, "Exchange.png", "IDS_SWAP_BAR_TOOLTIP", false},
        {m_ui._imageEditPopButton, 2, "ura_tuika.png", "IDS_IMAGEEDIT_ADD_IMAGE_TOOLTIP", false},
        {m_ui._imageEditPopButton, 3, "ura_sakujyo.png", "IDS_IMAGEEDIT_DEL_IMAGE_TOOLTIP", false},
        {m_ui._syncPopupBtn, 0, "address_renkei.png", nullptr, false},
        {m_ui._syncPopupBtn, 1, nullptr, "IDS_CONNECT_MENU_ADD_TOOLTIP", true},
        {m_ui._syncPopupBtn, 2, nullptr, "IDS_CONNECT_MENU_TOOLTIP", true},
        {m_ui._IphotoPopButton, 0, "toolbar_photo.png", nullptr, false},
    };
    for (const Decoration& d : decorations) {
        const QIcon icon = d.image ? bundleImage(QString::fromLatin1(d.image)) : QIcon();
        if (d.index == 0) {
            d.button->setIcon(icon);
            continue;
        }
        QAction* item = pullDownItem(d.button, d.index);
        if (d.image)
            item->setIcon(icon);
        if (d.toolTipKey)
            item->setToolTip(localised(d.toolTipKey, d.proper));
    }
    // The image-operation segments and the search field's menu show images of their own.
    const char* segments[] = {"TB_select", "TB_move"};
    for (int segment = 0; segment < 2; ++segment) {
        QAbstractButton* button = m_ui._segImageOperator->button(segment);
        button->setIcon(bundleImage(QString::fromLatin1(segments[segment])));
        button->setToolTip(button->text());
    }
    m_ui._searchMenuAction->setIcon(bundleImage(QStringLiteral("search")));
    // The photo pull-down offers the photo applications that are installed.
    const struct {
        int index;
        int installedBit;
        int appType;
        const char* toolTipKey;
    } photos[] = {{1, 2, PLExporter::kPhotoAppType2, "IDS_PHOTOS_BAR_TOOLTIP"}, {2, 1, PLExporter::kPhotoAppType1, "IDS_IPHOTO_BAR_TOOLTIP"}};
    for (const auto& photo : photos) {
        const bool installed = _iPhotosInstuallInfo & photo.installedBit;
        for (QAction* item : {pullDownItem(m_ui._IphotoPopButton, photo.index), m_photoMenu ? m_photoMenu->actions().value(photo.index - 1) : nullptr}) {
            if (!item)
                continue;
            item->setVisible(installed);
            if (installed) {
                item->setIcon(QIcon(getAppIconFrombundleID(photoApplicationIdentifier(photo.appType), QSize(16, 16))));
                item->setToolTip(localised(photo.toolTipKey));
            }
        }
    }
}

void PLMainWindowController::rebuildToolbar()
{
    const QList<QAction*> templates = _toolbarItems.values();
    for (QAction* action : m_toolbar->actions()) {
        m_toolbar->removeAction(action);
        // Spaces and separators are made again; templates stay for the next order.
        if (!templates.contains(action))
            delete action;
    }
    for (const QString& identifier : std::as_const(m_toolbarIdentifiers)) {
        if (QAction* item = _toolbarItems.value(identifier)) {
            m_toolbar->addAction(item);
        } else if (identifier == QLatin1String(kSeparator)) {
            m_toolbar->addSeparator();
        } else if (identifier == QLatin1String(kFlexibleSpace) || identifier == QLatin1String(kSpace)) {
            auto* space = new QWidget(m_toolbar);
            if (identifier == QLatin1String(kFlexibleSpace))
                space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            else
                space->setFixedWidth(16);
            m_toolbar->addWidget(space);
        }
    }
    setToolbarDisplayMode(m_toolbarDisplayMode);
    validateToolbarItems();
}

void PLMainWindowController::removeUnsedToolBarItem(const QString& identifier)
{
    const qsizetype index = m_toolbarIdentifiers.indexOf(identifier);
    if (index < 0)
        return;
    m_toolbarIdentifiers.removeAt(index);
    rebuildToolbar();
}

QAction* PLMainWindowController::toolbarItem(const QString& identifier) const
{
    return _toolbarItems.value(identifier);
}

void PLMainWindowController::changeToolBarItemToolTip(const QString& toolTip, const QString& identifier)
{
    if (!m_toolbar)
        return;
    if (QAction* item = _toolbarItems.value(identifier)) {
        item->setToolTip(toolTip);
        if (auto* widgetAction = qobject_cast<QWidgetAction*>(item))
            widgetAction->defaultWidget()->setToolTip(toolTip);
    }
}

void PLMainWindowController::setToolbarDisplayMode(int mode)
{
    const bool changed = m_toolbarDisplayMode != mode;
    m_toolbarDisplayMode = mode;
    m_toolbar->setToolButtonStyle(mode == 3 ? Qt::ToolButtonTextOnly : mode == 2 ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
    for (QAction* item : std::as_const(_toolbarItems)) {
        auto* widgetAction = qobject_cast<QWidgetAction*>(item);
        if (!widgetAction)
            continue;
        QWidget* container = widgetAction->defaultWidget();
        // The search field is typed into in every mode; only its label follows the mode.
        const bool search = item->objectName() == QLatin1String(kSearch);
        const bool viewShown = mode != 3 || search;
        qobject_cast<QWidget*>(container->property(kViewProperty).value<QObject*>())->setVisible(viewShown);
        qobject_cast<QWidget*>(container->property(kCaptionProperty).value<QObject*>())->setVisible(mode == 1 || (mode == 3 && search));
        qobject_cast<QWidget*>(container->property(kMenuFormProperty).value<QObject*>())->setVisible(!viewShown);
    }
    if (changed)
        saveToolbarConfiguration();
}

void PLMainWindowController::createToolbarMenu()
{
    m_toolbarMenu = new QMenu(m_toolbar);
    m_toolbarMenu->setObjectName(QStringLiteral("toolbarMenu"));
    auto* modes = new QActionGroup(m_toolbarMenu);
    const char* modeKeys[] = {"IDS_TOOLBAR_MODE_ICON_AND_LABEL", "IDS_TOOLBAR_MODE_ICON_ONLY", "IDS_TOOLBAR_MODE_LABEL_ONLY"};
    for (int mode = 1; mode <= 3; ++mode) {
        QAction* choice = m_toolbarMenu->addAction(localised(modeKeys[mode - 1]));
        choice->setObjectName(QStringLiteral("toolbarDisplayMode%1").arg(mode));
        choice->setCheckable(true);
        modes->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, mode] { setToolbarDisplayMode(mode); });
    }
    m_toolbarMenu->addSeparator();
    QAction* customise = m_toolbarMenu->addAction(localised("IDS_TOOLBAR_CUSTOMIZE"));
    customise->setObjectName(QStringLiteral("runToolbarCustomizationPalette"));
    connect(customise, &QAction::triggered, this, &PLMainWindowController::runToolbarCustomizationPalette);
    connect(m_toolbarMenu, &QMenu::aboutToShow, this, [this, modes] { modes->actions().at(m_toolbarDisplayMode - 1)->setChecked(true); });
    m_toolbar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_toolbar, &QToolBar::customContextMenuRequested, this,
            [this](const QPoint& point) { m_toolbarMenu->popup(m_toolbar->mapToGlobal(point)); });
}

void PLMainWindowController::runToolbarCustomizationPalette()
{
    if (m_customiseWindow) {
        m_customiseWindow->raise();
        m_customiseWindow->activateWindow();
        return;
    }
    auto look = [](const QString& identifier) {
        const struct {
            const char* identifier;
            const char* labelKey;
        } standard[] = {
            {kSpace, "IDS_TOOLBAR_SPACE"}, {kFlexibleSpace, "IDS_TOOLBAR_FLEXIBLE_SPACE"}, {kSeparator, "IDS_TOOLBAR_SEPARATOR"}};
        for (const auto& entry : standard) {
            if (identifier == QLatin1String(entry.identifier))
                return ToolbarCustomiseWindow::ItemLook{localised(entry.labelKey), QIcon()};
        }
        const Item* found = item(identifier);
        if (!found)
            return ToolbarCustomiseWindow::ItemLook{identifier, QIcon()};
        return ToolbarCustomiseWindow::ItemLook{localised(found->labelKey, found->properKeys),
                                                bundleImage(QString::fromLatin1(found->faceImage))};
    };
    m_customiseWindow = new ToolbarCustomiseWindow(m_toolbarIdentifiers, m_toolbarDisplayMode, look, m_window.get());
    connect(m_customiseWindow, &ToolbarCustomiseWindow::configurationChanged, this, [this](const QStringList& identifiers, int mode) {
        m_toolbarIdentifiers = identifiers;
        m_toolbarDisplayMode = mode;
        rebuildToolbar();
        saveToolbarConfiguration();
    });
    m_customiseWindow->show();
}

ToolbarCustomiseWindow* PLMainWindowController::toolbarCustomiseWindow() const
{
    return m_customiseWindow;
}

void PLMainWindowController::storeToolbarConfiguration()
{
    PlistValue::Array identifiers;
    for (const QString& identifier : std::as_const(m_toolbarIdentifiers))
        identifiers.append(identifier);
    PlistValue::Dictionary configuration;
    configuration.insert(QString::fromLatin1(kItemIdentifiersKey), identifiers);
    configuration.insert(QString::fromLatin1(kDisplayModeKey), m_toolbarDisplayMode);
    PreferenceDomain::standard().setValue(QString::fromLatin1(kToolbarConfigurationKey), configuration);
}

void PLMainWindowController::saveToolbarConfiguration()
{
    // As the desktop keeps a customised toolbar: at once, without a word when it cannot.
    if (!m_toolbar)
        return;
    storeToolbarConfiguration();
    if (!PreferenceDomain::standard().synchronize())
        logLine(QStringLiteral("The toolbar's configuration could not be stored"));
}

void PLMainWindowController::onToolbarItemMenuItem()
{
    if (m_toolbarDisplayMode == 3)
        setToolbarDisplayMode(1);
}

ToolbarValidation::State PLMainWindowController::toolbarState() const
{
    ToolbarValidation::State state;
    state.readOnly = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly;
    state.hasContext = m_database.isOpen();
    const ManagedObjectList selected = _acWndCard->selectedObjects();
    state.selectionCount = int(selected.size());
    if (selected.size() == 1) {
        state.singleEMail = selected.first()->stringValue(QStringLiteral("e_Mail"));
        state.singleWebPage = selected.first()->stringValue(QStringLiteral("web_Page_Address"));
    }
    state.toolBits = _imageController->getToolBarState();
    state.photosInstalled = _iPhotosInstuallInfo;
    state.applicationMenuItems = 1 + int(m_ui._popUpBtnApp->menu()->actions().size());
    const TreeNode* folder = _outlineViewController->getSelectedItem();
    state.rootFolderSelected = folder && folder->folderType == 1;
    return state;
}

bool PLMainWindowController::validateToolbarItem(const QString& identifier) const
{
    return ToolbarValidation::validateToolbarItem(identifier, toolbarState());
}

void PLMainWindowController::validateToolbarItems()
{
    if (!m_toolbar)
        return;
    const ToolbarValidation::State state = toolbarState();
    for (auto it = _toolbarItems.cbegin(); it != _toolbarItems.cend(); ++it)
        it.value()->setEnabled(ToolbarValidation::validateToolbarItem(it.key(), state));
    const ToolbarValidation::ImageEditItems edit = ToolbarValidation::imageEditItems(state);
    const bool editItems[] = {edit.swapSides, edit.addBack, edit.removeBack};
    for (int i = 1; i <= 3; ++i) {
        if (QAction* item = pullDownItem(m_ui._imageEditPopButton, i))
            item->setEnabled(editItems[i - 1]);
    }
}

void PLMainWindowController::applyExportRow(int state, bool defaultRow)
{
    const ExportFormat& row = defaultRow ? exportFormatFromMask(std::nullopt) : exportFormat(state);
    _iExportButtonState = row.state;
    m_ui._exportBarButton->setIcon(bundleImage(QString::fromLatin1(row.image)));
    m_ui._exportBarButton->setText(localised(row.statusTextKey));
    updateFileExportTypeText(localised(row.statusTextKey));
    changeToolBarItemToolTip(localised(row.toolTipKey), QString::fromLatin1(kExport));
}

void PLMainWindowController::applyRecognizeRow(int state, const QString& languageTextKey)
{
    const Language& row = language(state);
    _iRecognizeButtonState = row.state;
    updateRecognizingToolBarItemToolTip(QString::fromLatin1(row.toolTipKey), QString::fromLatin1(row.image), languageTextKey);
}

void PLMainWindowController::initailizeExportBar()
{
    const ExportFormat& row = exportFormatFromMask(numberPreference(kExportModeKey));
    applyExportRow(row.state, row.bit == 0);
}

void PLMainWindowController::initailizeRecognizeBar()
{
    if (const std::optional<int> state = recognizeStateFromMask(numberPreference(kRecognizeLanguageKey)))
        applyRecognizeRow(*state, QString::fromLatin1(language(*state).languageTextKey));
    else
        setRecognizeBarByDefault();
}

void PLMainWindowController::setRecognizeBarByDefault()
{
    const QString key = QStringLiteral("IDS_RESOURCE_LANG_ID");
    const QString languageID = getLocalString(key);
    const std::optional<int> state = !languageID.isEmpty() && languageID != key ? recognizeStateFromLanguageID(languageID) : std::nullopt;
    if (state)
        applyRecognizeRow(*state, QString::fromLatin1(language(*state).languageTextKey));
    else
        applyRecognizeRow(kAutomaticLanguage, QString::fromLatin1(kDefaultLanguageTextKey));
}

void PLMainWindowController::updateRecognizingToolBarItemToolTip(const QString& toolTipKey, const QString& image, const QString& languageTextKey)
{
    if (toolTipKey.isEmpty() || image.isEmpty() || languageTextKey.isEmpty())
        return;
    changeToolBarItemToolTip(getLocalString(toolTipKey), QString::fromLatin1(kRecognize));
    m_ui._recognizeBarButton->setIcon(bundleImage(image));
    m_ui._recognizeBarButton->setText(getLocalString(languageTextKey));
    updateRecognizeLanguageText(getLocalString(languageTextKey));
}

void PLMainWindowController::responseToPreferencesWindowClosed(const Notification& notification)
{
    const int recognize = notification.userInfo.value(QString::fromLatin1(kRecognizeStateKey)).toInt();
    const int state = recognize >= 0 && recognize <= kAutomaticLanguage ? recognize : kAutomaticLanguage;
    applyRecognizeRow(state, QString::fromLatin1(language(state).languageTextKey));
    const int exportState = notification.userInfo.value(QString::fromLatin1(kExportStateKey)).toInt();
    applyExportRow(exportState, exportState < 1 || exportState > 4);
    updateAllExtAppLinageMenu();
}

void PLMainWindowController::saveUIConifguration()
{
    PreferenceDomain& preferences = PreferenceDomain::standard();
    preferences.setValue(QString::fromLatin1(kSynchronizationStateKey), _bIsSynchronous);
    preferences.setValue(QString::fromLatin1(PLCardListController::kColumnInfoKey), _cardListContronller->returnTVColumnInfo());
    preferences.setValue(QString::fromLatin1(PLCardListController::kTrashColumnInfoKey), _cardListContronller->returnTrashTVColumnInfo());
    preferences.setValue(QStringLiteral("tableView Sort Descriptors"), returnTVSortr(*_acWndCard));
    preferences.setValue(QStringLiteral("trash tableView Sort Descriptors"), returnTVSortr(*_acWndCardInTrash));
    storeToolbarConfiguration();
    if (!preferences.synchronize())
        PLMessage::ShowPLErrorMessageBySheet(nullptr, 3);
}
