#include "app/ui/ToolbarCustomiseWindow.h"

#include "app/core/LocalString.h"
#include "app/ui/logic/ToolbarItems.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString text(const char* key)
{
    return getLocalString(QString::fromLatin1(key));
}

QPushButton* button(const char* name, const char* key, QWidget* parent)
{
    auto* control = new QPushButton(text(key), parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setAccessibleName(control->text());
    return control;
}

QListWidget* list(const char* name, const char* key, QWidget* parent)
{
    auto* view = new QListWidget(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setAccessibleName(text(key));
    view->setIconSize(QSize(24, 24));
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setDragEnabled(true);
    view->setAcceptDrops(true);
    view->setDropIndicatorShown(true);
    view->setDragDropMode(QAbstractItemView::DragDrop);
    view->setMinimumSize(220, 320);
    return view;
}

} // namespace

ToolbarCustomiseWindow::ToolbarCustomiseWindow(const QStringList& identifiers, int displayMode, LookFunction look, QWidget* parent)
    : QDialog(parent), m_look(std::move(look))
{
    setObjectName(QStringLiteral("toolbarCustomiseWindow"));
    setWindowTitle(text("IDS_TOOLBAR_CUSTOMIZE_TITLE"));
    setAttribute(Qt::WA_DeleteOnClose);

    // Dragging from the items offered copies, so they stay offered while spaces can be used again;
    // an item dragged back out of the toolbar leaves it.
    m_available = list("availableItems", "IDS_TOOLBAR_AVAILABLE_ITEMS", this);
    m_available->setDefaultDropAction(Qt::CopyAction);
    m_items = list("toolbarItems", "IDS_TOOLBAR_CURRENT_ITEMS", this);
    m_items->setDefaultDropAction(Qt::MoveAction);
    // A drop changes the lists in several steps: they are read once it is complete.
    for (QListWidget* view : {m_available, m_items}) {
        QAbstractItemModel* model = view->model();
        for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(model, signal, this, [this] {
                if (!m_updating)
                    QMetaObject::invokeMethod(this, &ToolbarCustomiseWindow::itemsChanged, Qt::QueuedConnection);
            });
    }
    connect(m_items->model(), &QAbstractItemModel::rowsMoved, this, [this] {
        if (!m_updating)
            QMetaObject::invokeMethod(this, &ToolbarCustomiseWindow::itemsChanged, Qt::QueuedConnection);
    });

    QPushButton* add = button("addItemButton", "IDS_TOOLBAR_ADD_ITEM", this);
    QPushButton* remove = button("removeItemButton", "IDS_TOOLBAR_REMOVE_ITEM", this);
    QPushButton* up = button("moveItemUpButton", "IDS_TOOLBAR_MOVE_UP", this);
    QPushButton* down = button("moveItemDownButton", "IDS_TOOLBAR_MOVE_DOWN", this);
    connect(add, &QPushButton::clicked, this, &ToolbarCustomiseWindow::addSelected);
    connect(m_available, &QListWidget::itemDoubleClicked, this, &ToolbarCustomiseWindow::addSelected);
    connect(remove, &QPushButton::clicked, this, &ToolbarCustomiseWindow::removeSelected);
    connect(up, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveSelected(1); });
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    for (QPushButton* control : {add, remove, up, down})
        middle->addWidget(control);
    middle->addStretch(1);

    m_displayMode = new QComboBox(this);
    m_displayMode->setObjectName(QStringLiteral("displayModeButton"));
    m_displayMode->setAccessibleName(text("IDS_TOOLBAR_SHOW"));
    for (const char* key : {"IDS_TOOLBAR_MODE_ICON_AND_LABEL", "IDS_TOOLBAR_MODE_ICON_ONLY", "IDS_TOOLBAR_MODE_LABEL_ONLY"})
        m_displayMode->addItem(text(key));
    m_displayMode->setCurrentIndex(displayMode >= 1 && displayMode <= 3 ? displayMode - 1 : 0);
    connect(m_displayMode, &QComboBox::currentIndexChanged, this, &ToolbarCustomiseWindow::itemsChanged);
    auto* show = new QLabel(text("IDS_TOOLBAR_SHOW"), this);
    show->setBuddy(m_displayMode);

    QPushButton* defaults = button("restoreDefaultsButton", "IDS_TOOLBAR_RESTORE_DEFAULTS", this);
    connect(defaults, &QPushButton::clicked, this, [this] {
        setItems(ToolbarItems::defaultItemIdentifiers());
        itemsChanged();
    });
    QPushButton* done = button("doneButton", "IDS_TOOLBAR_DONE", this);
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(text("IDS_TOOLBAR_AVAILABLE_ITEMS"), this), 0, 0);
    grid->addWidget(new QLabel(text("IDS_TOOLBAR_CURRENT_ITEMS"), this), 0, 2);
    grid->addWidget(m_available, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_items, 1, 2);
    auto* foot = new QHBoxLayout;
    foot->addWidget(show);
    foot->addWidget(m_displayMode);
    foot->addStretch(1);
    foot->addWidget(defaults);
    foot->addWidget(done);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(foot);

    setItems(identifiers);
}

QStringList ToolbarCustomiseWindow::itemIdentifiers() const
{
    QStringList identifiers;
    for (int row = 0; row < m_items->count(); ++row)
        identifiers.append(m_items->item(row)->data(Qt::UserRole).toString());
    return identifiers;
}

int ToolbarCustomiseWindow::displayMode() const
{
    return m_displayMode->currentIndex() + 1;
}

QListWidgetItem* ToolbarCustomiseWindow::newItem(const QString& identifier) const
{
    const ItemLook look = m_look(identifier);
    QIcon image = look.image;
    if (image.isNull()) {
        // The spaces have no image: their names stay in line with the others'.
        QPixmap blank(m_items ? m_items->iconSize() : QSize(24, 24));
        blank.fill(Qt::transparent);
        image = QIcon(blank);
    }
    auto* item = new QListWidgetItem(image, look.label);
    item->setData(Qt::UserRole, identifier);
    item->setToolTip(look.label);
    return item;
}

void ToolbarCustomiseWindow::setItems(const QStringList& identifiers)
{
    m_updating = true;
    m_items->clear();
    for (const QString& identifier : identifiers)
        m_items->addItem(newItem(identifier));
    m_updating = false;
    refreshAvailable();
}

void ToolbarCustomiseWindow::refreshAvailable()
{
    m_updating = true;
    const QString selected = m_available->currentItem() ? m_available->currentItem()->data(Qt::UserRole).toString() : QString();
    m_available->clear();
    for (const QString& identifier : ToolbarItems::availableItemIdentifiers(itemIdentifiers())) {
        m_available->addItem(newItem(identifier));
        if (identifier == selected)
            m_available->setCurrentRow(m_available->count() - 1);
    }
    m_updating = false;
}

void ToolbarCustomiseWindow::addSelected()
{
    const QListWidgetItem* chosen = m_available->currentItem();
    if (!chosen)
        return;
    const int row = m_items->currentRow() >= 0 ? m_items->currentRow() + 1 : m_items->count();
    m_updating = true;
    m_items->insertItem(row, newItem(chosen->data(Qt::UserRole).toString()));
    m_items->setCurrentRow(row);
    m_updating = false;
    itemsChanged();
}

void ToolbarCustomiseWindow::removeSelected()
{
    const int row = m_items->currentRow();
    if (row < 0)
        return;
    m_updating = true;
    delete m_items->takeItem(row);
    m_updating = false;
    itemsChanged();
}

void ToolbarCustomiseWindow::moveSelected(int step)
{
    const int row = m_items->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_items->count())
        return;
    m_updating = true;
    QListWidgetItem* item = m_items->takeItem(row);
    m_items->insertItem(target, item);
    m_items->setCurrentRow(target);
    m_updating = false;
    itemsChanged();
}

void ToolbarCustomiseWindow::itemsChanged()
{
    refreshAvailable();
    emit configurationChanged(itemIdentifiers(), displayMode());
}
