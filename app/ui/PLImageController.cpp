#include "app/ui/PLImageController.h"

#include "app/ui/logic/MainWindowLayout.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QWidget>

PLImageController::PLImageController(QObject* parent) : QObject(parent) {}

void PLImageController::awakeFromNib()
{
    const PlistValue width = PreferenceDomain::standard().value(QString::fromLatin1(MainWindowLayout::kDetailViewWidth));
    if (width.isNumber())
        _hSplitViewWidth = std::max(MainWindowLayout::kDetailMinWidth, int(width.toReal()));
}

void PLImageController::setCardData(const QList<CardDict>& cards, int mode)
{
    if (mode == kModeSelected)
        m_cards = cards;
}

void PLImageController::setToolBarState(int state)
{
    if (state == _toolBarState)
        return;
    _toolBarState = state;
    emit toolBarStateChanged();
}

void PLImageController::SaveDetailViewWidth()
{
    PreferenceDomain& preferences = PreferenceDomain::standard();
    const bool shown = _detailSideView && _detailSideView->isVisibleTo(_detailSideView->window()) && _detailSideView->width() > 1;
    if (shown)
        _hSplitViewWidth = _detailSideView->width();
    else if (_detailSideView)
        _hSplitViewWidth = std::min(_hSplitViewWidth, _detailSideView->window()->width() - 352);
    preferences.setValue(QString::fromLatin1(MainWindowLayout::kShowDetailView), shown ? 1 : 0);
    preferences.setValue(QString::fromLatin1(MainWindowLayout::kDetailViewWidth), _hSplitViewWidth);
}

void PLImageController::SetDetailViewWidth()
{
    if (_detailSideView && _detailSideView->isVisibleTo(_detailSideView->window()) && _detailSideView->width() > 1)
        _hSplitViewWidth = _detailSideView->width();
}
