#include "app/ui/MainWindowUi.h"

#include "app/core/BundleImage.h"
#include "app/core/LocalString.h"
#include "app/ui/FolderTitleView.h"
#include "app/ui/logic/MainWindowLayout.h"
#include "app/ui/views/PLCardListTableView.h"
#include "app/ui/views/PLDatePicker.h"
#include "app/ui/views/PLImageView.h"
#include "app/ui/views/PLOutlineView.h"
#include "app/ui/views/PLScrollView.h"
#include "app/ui/views/PLSplitView.h"
#include "app/ui/views/PLTableView.h"
#include "app/ui/views/PLView.h"

#include <QAction>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

template <typename T, typename... Args>
T* make(const char* name, Args&&... args)
{
    T* widget = new T(std::forward<Args>(args)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString text(const char* key)
{
    return getLocalString(QString::fromLatin1(key));
}

QHBoxLayout* row(QWidget* parent)
{
    auto* layout = new QHBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QVBoxLayout* column(QWidget* parent)
{
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// A pull-down: the button is item 0, its menu holds the items from 1 on.
QToolButton* pullDown(const char* name, const char* accessibleKey, QWidget* parent)
{
    auto* button = make<QToolButton>(name, parent);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setMenu(new QMenu(button));
    button->setAccessibleName(text(accessibleKey));
    button->setToolTip(text(accessibleKey));
    return button;
}

QToolButton* toggle(const char* name, const char* accessibleKey, QWidget* parent)
{
    auto* button = make<QToolButton>(name, parent);
    button->setCheckable(true);
    button->setChecked(true);
    button->setText(text(accessibleKey));
    button->setAccessibleName(text(accessibleKey));
    button->setToolTip(text(accessibleKey));
    return button;
}

template <class View = QTableView>
View* table(const char* name, const char* accessibleKey, QWidget* parent)
{
    auto* view = make<View>(name, parent);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSortingEnabled(false);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->setAccessibleName(text(accessibleKey));
    // Tab leaves the table: the arrow keys move within it.
    view->setTabKeyNavigation(false);
    return view;
}

} // namespace

void MainWindowUi::build(QMainWindow* window)
{
    using namespace MainWindowLayout;
    _cardWindow = window;

    _hSplitView = make<PLSplitView>("_hSplitView", Qt::Horizontal, window);
    _vSplitView = make<PLSplitView>("_vSplitView", Qt::Vertical, _hSplitView);
    _vSplitView->setMinimumWidth(kLeftMinWidth);
    _detailSideView = make<QWidget>("_detailSideView", _hSplitView);
    _detailSideView->setMinimumWidth(kDetailMinWidth);
    _hSplitView->addWidget(_vSplitView);
    _hSplitView->addWidget(_detailSideView);
    _hSplitView->setStretchFactor(0, 1);
    _hSplitView->setStretchFactor(1, 0);
    window->setCentralWidget(_hSplitView);

    // The card image.
    _imageView = make<PLView>("_imageView", _vSplitView);
    QVBoxLayout* imageLayout = column(_imageView);
    _faceScrollView = make<PLScrollView>("_faceScrollView", _imageView);
    _backScrollView = make<PLScrollView>("_backScrollView", _imageView);
    _backScrollView->hide();
    imageLayout->addWidget(_faceScrollView);
    imageLayout->addWidget(_backScrollView);
    _faceImageView = make<PLImageView>("_faceImageView");
    _faceImageView->setScrollView(_faceScrollView);
    _backImageView = make<PLImageView>("_backImageView");
    _backImageView->setScrollView(_backScrollView);
    for (PLImageView* view : {_faceImageView, _backImageView})
        view->setAccessibleName(text("IDS_CARD_IMAGE"));
    _switchViewButton = make<QToolButton>("_switchViewButton", _imageView);
    _switchViewButton->setText(text("IDS_SWITCH_CARD_SIDE"));
    _switchViewButton->setToolTip(_switchViewButton->text());
    _switchViewButton->setAccessibleName(_switchViewButton->text());
    _switchViewButton->setFixedSize(48, 48);
    _switchViewButton->hide();

    // The folder tree beside the card list and the trash.
    _listView = make<PLView>("_listView", _vSplitView);
    _dataAreaSplitView = make<PLSplitView2>("_dataAreaSplitView", Qt::Horizontal, _listView);
    column(_listView)->addWidget(_dataAreaSplitView);
    _folderListView = make<QWidget>("_folderListView", _dataAreaSplitView);
    _folderListView->setMinimumWidth(kFolderMinWidth);
    _outlineView = make<PLOutlineView>("_outlineView", _folderListView);
    _outlineView->setHeaderHidden(true);
    _outlineView->setAccessibleName(text("IDS_FOLDER_LIST"));
    column(_folderListView)->addWidget(_outlineView);
    _cardAreaView = make<QWidget>("_cardAreaView", _dataAreaSplitView);
    _cardAreaView->setMinimumWidth(kCardAreaMinWidth);
    QVBoxLayout* cardLayout = column(_cardAreaView);
    _aboveFolderStatus = make<FolderTitleView>("_aboveFolderStatus", _cardAreaView);
    _tvList = table<PLCardListTableView>("_tvList", "IDS_CARD_LIST", _cardAreaView);
    _barView = make<QWidget>("_barView", _cardAreaView);
    QHBoxLayout* bar = row(_barView);
    _switchBtn = toggle("_switchBtn", "IDS_TRASH_SWITCH", _barView);
    _trashIconView = make<QLabel>("_trashIconView", _barView);
    _trashIconView->setAccessibleName(text("IDS_TRASH"));
    _clearBtn = make<QToolButton>("_clearBtn", _barView);
    _clearBtn->setText(text("IDS_TRASH_CLEAR"));
    _clearBtn->setAccessibleName(_clearBtn->text());
    bar->addWidget(_switchBtn);
    bar->addWidget(_trashIconView);
    bar->addWidget(_clearBtn);
    _trashTableView = table<PLCardListTableView>("_trashTableView", "IDS_TRASH", _cardAreaView);
    cardLayout->addWidget(_aboveFolderStatus);
    cardLayout->addWidget(_tvList, 3);
    cardLayout->addWidget(_barView);
    cardLayout->addWidget(_trashTableView, 1);
    _dataAreaSplitView->addWidget(_folderListView);
    _dataAreaSplitView->addWidget(_cardAreaView);
    _dataAreaSplitView->setStretchFactor(0, 0);
    _dataAreaSplitView->setStretchFactor(1, 1);
    _vSplitView->addWidget(_imageView);
    _vSplitView->addWidget(_listView);

    // The detail side pane: the detail editor above the attachments bar and the attachments.
    QVBoxLayout* side = column(_detailSideView);
    side->setContentsMargins(0, 0, kDetailGrayMargin, 0);
    _detailSideView->setAutoFillBackground(true);
    QPalette grey = _detailSideView->palette();
    grey.setColor(QPalette::Window, QColor::fromRgbF(0.4f, 0.4f, 0.4f));
    _detailSideView->setPalette(grey);
    _detailCardView = make<QWidget>("_detailCardView", _detailSideView);
    _attachBarView = make<QWidget>("_barView", _detailSideView);
    _attachBarView->setAutoFillBackground(true);
    _attachBarView->setPalette(window->palette());
    QHBoxLayout* attachBar = row(_attachBarView);
    _attachSwitchBtn = make<QToolButton>("_switchBtn", _attachBarView);
    _attachSwitchBtn->setIcon(bundleImage(QStringLiteral("Up.png")));
    _attachSwitchBtn->setToolTip(text("IDS_ATTACH_SWITCH"));
    _attachSwitchBtn->setAccessibleName(_attachSwitchBtn->toolTip());
    _iconView = make<QLabel>("_iconView", _attachBarView);
    _iconView->setAccessibleName(text("IDS_ATTACHMENTS"));
    _iconView->setToolTip(_iconView->accessibleName());
    attachBar->addWidget(_attachSwitchBtn);
    attachBar->addStretch(1);
    attachBar->addWidget(_iconView);
    _attachTableView = table<PLTableView>("_attachTableView", "IDS_ATTACHMENTS", _detailSideView);
    _attachTableView->hide();
    side->addWidget(_detailCardView, 3);
    side->addWidget(_attachBarView);
    side->addWidget(_attachTableView, 1);
    _detailEditor.build(_detailCardView);
    // Tab goes from the card list to the card's fields in the form's order, then to the
    // attachments and the trash.
    QList<QWidget*> walk{_tvList};
    for (const DetailEditorUi::Row& editorRow : std::as_const(_detailEditor.rows))
        walk.append(editorRow.fieldWidget());
    walk << _detailEditor._datePicker << _attachSwitchBtn << _attachTableView << _switchBtn << _clearBtn << _trashTableView;
    for (qsizetype i = 0; i + 1 < walk.size(); ++i)
        QWidget::setTabOrder(walk[i], walk[i + 1]);

    // Toolbar views; the toolbar takes them in as its items are made.
    _exportBarView = make<QWidget>("_exportBarView", window);
    _exportBarButton = make<QToolButton>("_exportBarButton", _exportBarView);
    _exportBarButton->setAccessibleName(text("IDS_EXPORT_BAR"));
    _exportBarPopUpButton = pullDown("_exportBarPopUpButton", "IDS_EXPORT_BAR", _exportBarView);
    row(_exportBarView)->addWidget(_exportBarButton);
    _exportBarView->layout()->addWidget(_exportBarPopUpButton);

    _recognizeBarView = make<QWidget>("_recognizeBarView", window);
    _recognizeBarButton = make<QToolButton>("_recognizeBarButton", _recognizeBarView);
    _recognizeBarButton->setAccessibleName(text("IDS_RECOGNIZE_ITEM"));
    _recognizeBarPopUpButton = pullDown("_recognizeBarPopUpButton", "IDS_RECOGNIZE_ITEM", _recognizeBarView);
    row(_recognizeBarView)->addWidget(_recognizeBarButton);
    _recognizeBarView->layout()->addWidget(_recognizeBarPopUpButton);

    _searchView = make<QWidget>("_searchView", window);
    _searchFiled = make<QLineEdit>("_searchFiled", _searchView);
    _searchFiled->setClearButtonEnabled(true);
    _searchFiled->setMinimumWidth(160);
    _searchFiled->setAccessibleName(text("IDS_SEARCH_BAR"));
    _searchMenuAction = _searchFiled->addAction(QIcon::fromTheme(QStringLiteral("edit-find")), QLineEdit::LeadingPosition);
    _searchMenuAction->setObjectName(QStringLiteral("_searchMenuAction"));
    _searchMenuAction->setToolTip(text("IDS_SEARCH_BAR_TOOLTIP"));
    row(_searchView)->addWidget(_searchFiled);

    _imageOperationBarView = make<QWidget>("_imageOperationBarView", window);
    _segImageOperator = new QButtonGroup(_imageOperationBarView);
    _segImageOperator->setObjectName(QStringLiteral("_segImageOperator"));
    QHBoxLayout* operations = row(_imageOperationBarView);
    for (const char* key : {"IDS_IMAGEOPERATION_SELECT", "IDS_IMAGEOPERATION_MOVE"}) {
        auto* segment = new QToolButton(_imageOperationBarView);
        segment->setCheckable(true);
        segment->setText(text(key));
        segment->setAccessibleName(segment->text());
        _segImageOperator->addButton(segment, _segImageOperator->buttons().size());
        operations->addWidget(segment);
    }
    _segImageOperator->button(0)->setChecked(true);

    _imageEditBarView = make<QWidget>("_imageEditBarView", window);
    _imageEditPopButton = pullDown("_imageEditPopButton", "IDS_IMAGEEDIT_BAR", _imageEditBarView);
    for (const char* key : {"IDS_SWAP_BAR", "IDS_IMAGEEDIT_ADD_IMAGE", "IDS_IMAGEEDIT_DEL_IMAGE"})
        _imageEditPopButton->menu()->addAction(text(key));
    row(_imageEditBarView)->addWidget(_imageEditPopButton);

    _dataEditBarView = make<QWidget>("_dataEditBarView", window);
    _dataEditBarSegControl = toggle("_dataEditBarSegControl", "IDS_SITE_BAR", _dataEditBarView);
    row(_dataEditBarView)->addWidget(_dataEditBarSegControl);
    _displayDataEditViewMenuItem = new QAction(text("IDS_MENU_DISPLAY_DATA_EDIT_VIEW"), window);
    _displayDataEditViewMenuItem->setObjectName(QStringLiteral("_displayDataEditViewMenuItem"));

    _syncPopupView = make<QWidget>("_syncPopupView", window);
    _syncPopupBtn = pullDown("_syncPopupBtn", "IDS_CONNECT_APP_ADDRESSBOOK", _syncPopupView);
    for (const char* key : {"IDS_MAINWINDOW_SUBMENU_ADDRESSBOOK_ADD", "IDS_MAINWINDOW_SUBMENU_ADDRESSBOOK_SYNC"})
        _syncPopupBtn->menu()->addAction(text(key));
    _synchronizationButton = _syncPopupBtn;
    row(_syncPopupView)->addWidget(_syncPopupBtn);

    _viewApp = make<QWidget>("_viewApp", window);
    _popUpBtnApp = pullDown("_popUpBtnApp", "IDS_APPLICATION_BAR", _viewApp);
    row(_viewApp)->addWidget(_popUpBtnApp);

    _viewIphoto = make<QWidget>("_viewIphoto", window);
    _IphotoPopButton = pullDown("_IphotoPopButton", "IDS_PHOTOS_BAR", _viewIphoto);
    for (const char* key : {"IDS_PHOTOS_BAR_TOOLTIP", "IDS_IPHOTO_BAR_TOOLTIP"})
        _IphotoPopButton->menu()->addAction(text(key));
    row(_viewIphoto)->addWidget(_IphotoPopButton);

    // The foot: the folder status and the two status texts are placed by hand (see the layout).
    _statusLineView = make<QWidget>("_statusLineView", window);
    _statusLineView->setMinimumHeight(24);
    _folderListViewSegControl = toggle("_folderListViewSegControl", "IDS_FOLDER_LIST", _statusLineView);
    auto label = [this](const char* name) {
        QLabel* field = make<QLabel>(name, _statusLineView);
        field->setTextFormat(Qt::PlainText);
        return field;
    };
    _bottomFolderStatusLabel = label("_bottomFolderStatusLabel");
    _bottomFolderStatusPath = label("_bottomFolderStatusPath");
    _recognizeLanguageText = label("_recognizeLanguageText");
    _fileExportTypeText = label("_fileExportTypeText");
    window->statusBar()->addWidget(_statusLineView, 1);
    for (QLabel** field : {&_selectCountText, &_currentSelectText, &_synchronizationStateText, &_selectCloudConnectText, &_dbPathField}) {
        *field = new QLabel(window);
        (*field)->setTextFormat(Qt::PlainText);
    }
    _selectCountText->setObjectName(QStringLiteral("_selectCountText"));
    _currentSelectText->setObjectName(QStringLiteral("_currentSelectText"));
    _synchronizationStateText->setObjectName(QStringLiteral("_synchronizationStateText"));
    _selectCloudConnectText->setObjectName(QStringLiteral("_selectCloudConnectText"));
    _dbPathField->setObjectName(QStringLiteral("_dbPathField"));
    _synchronizationStateText->hide();
    _selectCloudConnectText->hide();
    for (QLabel* field : {_selectCountText, _currentSelectText})
        window->statusBar()->addPermanentWidget(field);
    // The database path sits in the bar above the trash, cut to the room there (its tool tip is whole).
    _dbPathField->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    static_cast<QHBoxLayout*>(_barView->layout())->insertWidget(2, _dbPathField, 1);
}

QAction* pullDownItem(QToolButton* button, int index)
{
    if (!button || !button->menu() || index < 1)
        return nullptr;
    const QList<QAction*> actions = button->menu()->actions();
    return index <= actions.size() ? actions[index - 1] : nullptr;
}

int selectedSegment(const QToolButton* control)
{
    return control && control->isChecked() ? 1 : 0;
}

void setSelectedSegment(QToolButton* control, int segment)
{
    if (control)
        control->setChecked(segment == 1);
}
