// The photo hand-off that follows an import, as the preferences "Auto iphone register items"
// and "conncet to Photos state" ask for it.
#pragma once

#include "app/images/CardRecord.h"
#include "platform/appkit/WindowHandle.h"

#include <QList>
#include <QString>

struct PhotoHandOffResult {
    int status = 0;    // 0, -50 (declined, nothing shown) or the message number already shown
    int appType = 0;   // the photo application type the cards went to; 0 when none
};

// Nothing for an empty list or with the hand-off switched off. A missing application is logged
// and its message (47 or 244) shown; a failed hand-off shows its own number.
PhotoHandOffResult handOffImportedCards(const QList<CardDict>& cards, WindowHandle window);
// The "flag2" of a card after it was sent to `appType`: "1" or "2" from nothing, "3" once sent
// to both; other values stay.
QString sentFlagAfterHandOff(const QString& flag2, int appType);
