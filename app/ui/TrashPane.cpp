#include "app/ui/TrashPane.h"

#include "app/core/BundleImage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/ui/MainWindowUi.h"
#include "app/ui/logic/PLArrayController.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QTableView>
#include <QToolButton>

namespace {

constexpr int kTrashIconSize = 16;

} // namespace

TrashPane::TrashPane(const MainWindowUi& ui, const PLArrayController& trash, QObject* parent) : QObject(parent), m_ui(ui), m_trash(trash)
{
    m_ui._trashIconView->setPixmap(bundleImage(QStringLiteral("Trash.tiff")).pixmap(kTrashIconSize, kTrashIconSize));
    m_ui._trashIconView->setToolTip(m_ui._trashIconView->accessibleName());
    connect(m_ui._switchBtn, &QToolButton::clicked, this, &TrashPane::showTrashTable);
    // A reload of the store's cards and every saved change to them reach the trash's content; a
    // search or a sort leaves the content, and so the icon, as it was.
    connect(&m_trash, &ArrayController::contentChanged, this, &TrashPane::showtrashIcon);
    showtrashIcon();
}

bool TrashPane::isShown() const
{
    return m_ui._trashTableView->isVisibleTo(m_ui._cardWindow);
}

void TrashPane::showTrashTable()
{
    setShown(!isShown());
}

void TrashPane::showTrash()
{
    const PlistValue stored = PreferenceDomain::standard().value(QString::fromLatin1(kShowTrashKey));
    setShown(!stored.isNumber() || stored.toInteger() == 1);
}

void TrashPane::setShown(bool shown)
{
    m_ui._clearBtn->setVisible(shown);
    m_ui._trashTableView->setVisible(shown);
    m_ui._switchBtn->setChecked(shown);
    m_ui._switchBtn->setIcon(bundleImage(shown ? QStringLiteral("Down.png") : QStringLiteral("Up.png")));
    PreferenceDomain::standard().setValue(QString::fromLatin1(kShowTrashKey), shown ? 1 : 0);
    if (shown)
        setClearBtnStatus();
    emit shownChanged();
}

void TrashPane::setClearBtnStatus()
{
    m_ui._clearBtn->setEnabled(PLNetDBLockController::dbOpenMode() != PLNetDBLockController::kOpenModeReadOnly);
}

void TrashPane::showtrashIcon()
{
    // Read from the rows: the store's every card need not become an object for the icon.
    const QString deletedFlag = QStringLiteral("deletedFlag");
    m_ui._trashIconView->setVisible(
        m_trash.anyContentRow([&deletedFlag](const ListRow& card) { return card.value(deletedFlag).toInt() == 1; }));
}
